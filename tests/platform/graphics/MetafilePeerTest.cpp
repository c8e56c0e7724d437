// Metafiles played by TMetafile against LibreOffice Draw's rendering of the same files:
// drawings LibreOffice wrote as Windows and enhanced metafiles (lines, fills, level and
// turned text, a bitmap), and hand-made files for what it cannot be made to write (mapping modes, clip
// rectangles, world transforms).
//
// The measure: LibreOffice antialiases and our player does not, and glyphs differ in
// their edges, so pixels whose 3 x 3 neighbourhood in the peer's rendering is not of
// one colour (edges, within 40 per channel) are left out, and so is the white space
// around what either drew. Of the rest, at most 2 % may differ by more than 64 in a
// channel. LibreOffice centres the picture on an A4 page;
// the comparison takes the best placement within 3 pixels of the centre.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>

#include "MetafileBuilder.h"
#include "MetafileInspect.h"
#include "PilPeer.h"
#include "platform/base/BesideTestProgram.h"
#include "platform/graphics/Metafile.h"

namespace fs = std::filesystem;

namespace {

bool HasSoffice() { return std::system("command -v soffice >/dev/null 2>&1") == 0; }

std::vector<uint8_t> AnisotropicWmf() {
  TWmfBuilder wmf;
  wmf.Objects = 2;
  wmf.Rec(0x0103, {8});                     // SETMAPMODE anisotropic
  wmf.Rec(0x020B, {0, 0});                  // SETWINDOWORG
  wmf.Rec(0x020C, {800, 1000});             // SETWINDOWEXT y, x
  wmf.Rec(0x02FC, {0, 0xCC00, 0x0000, 0});  // CREATEBRUSHINDIRECT solid 0x00CC00 (green)
  wmf.Rec(0x012D, {0});
  wmf.Rec(0x02FA, {0, 30, 0, 0x0080, 0x00});  // CREATEPENINDIRECT solid, width 30, dark red
  wmf.Rec(0x012D, {1});
  wmf.Rec(0x041B, {600, 500, 100, 100});  // RECTANGLE bottom, right, top, left
  wmf.Rec(0x0418, {700, 950, 100, 550});  // ELLIPSE
  return wmf.Bytes(true, 1000, 800, 1000);
}

TEmfBuilder BrushEmf(uint32_t color) {
  TEmfBuilder emf;
  emf.Handles = 2;
  emf.Rec(39, {1, 0, color, 0});  // CREATEBRUSHINDIRECT
  emf.Rec(37, {1});
  return emf;
}

std::vector<uint8_t> LoMetricEmf() {
  return BrushEmf(0xFF0000)
      .Rec(17, {2})                   // SETMAPMODE low metric
      .Rec(12, {0, 95})               // SETVIEWPORTORGEX: y upwards from the bottom
      .Rec(43, {50, 50, 200, 150})    // RECTANGLE in 0.1 mm
      .Rec(42, {120, 100, 240, 220})  // ELLIPSE
      .Bytes();
}

std::vector<uint8_t> ClipEmf() { return BrushEmf(0x0000FF).Rec(30, {10, 10, 60, 60}).Rec(42, {0, 0, 96, 96}).Bytes(); }

std::vector<uint8_t> WorldEmf() {
  const float c = static_cast<float>(std::cos(std::numbers::pi / 6)),
              s = static_cast<float>(std::sin(std::numbers::pi / 6));
  return BrushEmf(0x008000)
      .Rec(35, {TEmfBuilder::Float(c), TEmfBuilder::Float(s), TEmfBuilder::Float(-s), TEmfBuilder::Float(c),
                TEmfBuilder::Float(40), TEmfBuilder::Float(10)})
      .Rec(43, {0, 0, 50, 30})
      .Bytes();
}

struct TComparison {
  int64_t Compared = 0;
  int64_t Differing = 0;
  int64_t Inked = 0;  // pixels of ours that are not white
};

// Our rendering against the peer's page with the picture's top-left at (ox, oy), over
// the box of what either drew (and 3 pixels around it), so white space does not count.
TComparison Compare(const TBitmap& ours, const TRawImage& page, int32_t ox, int32_t oy) {
  TComparison result;
  auto peer = [&](int32_t x, int32_t y, int c) {
    return page.Bytes[(static_cast<size_t>(y) * page.Width + x) * 3 + c];
  };
  auto inside = [&](int32_t px, int32_t py) {
    return px >= 1 && py >= 1 && px + 1 < page.Width && py + 1 < page.Height;
  };
  TRect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (int32_t y = 0; y < ours.Height(); ++y)
    for (int32_t x = 0; x < ours.Width(); ++x) {
      const bool peerInk = inside(x + ox, y + oy) && (peer(x + ox, y + oy, 0) < 250 || peer(x + ox, y + oy, 1) < 250 ||
                                                      peer(x + ox, y + oy, 2) < 250);
      if (peerInk || static_cast<uint32_t>(ours.PixelColor(x, y)) != 0xFFFFFF)
        box =
            TRect{std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1), std::max(box.Bottom, y + 1)};
    }
  InflateRect(&box, 3, 3);
  for (int32_t y = std::max(1, box.Top); y + 1 < std::min(ours.Height(), box.Bottom); ++y)
    for (int32_t x = std::max(1, box.Left); x + 1 < std::min(ours.Width(), box.Right); ++x) {
      const int32_t px = x + ox, py = y + oy;
      if (!inside(px, py)) continue;
      const uint32_t mine = static_cast<uint32_t>(ours.PixelColor(x, y));
      if (mine != 0xFFFFFF) ++result.Inked;
      bool flat = true;
      for (int c = 0; c < 3 && flat; ++c) {
        int lo = 255, hi = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            lo = std::min<int>(lo, peer(px + dx, py + dy, c));
            hi = std::max<int>(hi, peer(px + dx, py + dy, c));
          }
        flat = hi - lo <= 40;
      }
      if (!flat) continue;
      ++result.Compared;
      const int channels[3] = {int(mine & 0xFF), int((mine >> 8) & 0xFF), int((mine >> 16) & 0xFF)};
      for (int c = 0; c < 3; ++c)
        if (std::abs(channels[c] - peer(px, py, c)) > 64) {
          ++result.Differing;
          break;
        }
    }
  return result;
}

// The peer's files, made once for the tests below: LibreOffice's drawings as made/*.wmf
// and made/*.emf, the hand-made ones in hand/, and LibreOffice's rendering of each as
// raw/<name>.raw. Empty when the peer failed.
const fs::path& PeerFiles() {
  static const fs::path made = [] {
    const fs::path dir = BesideTestProgram("metafile_peer");
    fs::remove_all(dir);
    fs::create_directories(dir / "hand");
    const struct {
      const char* File;
      std::vector<uint8_t> Bytes;
    } hand[] = {{"anisotropic.wmf", AnisotropicWmf()},
                {"lometric.emf", LoMetricEmf()},
                {"clip.emf", ClipEmf()},
                {"world.emf", WorldEmf()}};
    for (const auto& h : hand) WriteFileBytes((dir / "hand" / h.File).string(), h.Bytes);
    return RunPeerScript("platform/graphics/metafile_peer.py", {dir.string()}) ? dir : fs::path{};
  }();
  return made;
}

const char* const PeerCases[] = {
    "made/shapes.wmf",      "made/shapes.emf",      "made/text.wmf",        "made/text.emf",   "made/turned-text.wmf",
    "made/turned-text.emf", "made/symbol-text.wmf", "made/symbol-text.emf", "made/bitmap.wmf", "made/bitmap.emf",
    "hand/anisotropic.wmf", "hand/lometric.emf",    "hand/clip.emf",        "hand/world.emf"};

// A white 24-bit bitmap of the metafile's size with the metafile drawn over it.
std::unique_ptr<TBitmap> Rendered(const TMetafile& metafile, int32_t scale = 1) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(metafile.Width() * scale, metafile.Height() * scale);
  bitmap->Canvas()->StretchDraw(Rect(0, 0, bitmap->Width(), bitmap->Height()), &metafile);
  return bitmap;
}

// The peers are there and the files were made (a fatal failure otherwise).
class MetafilePeerTest : public ::testing::Test {
protected:
  void SetUp() override {
    QF_REQUIRE_PIL();
    if (!HasSoffice()) GTEST_FAIL() << "soffice is missing: install libreoffice-draw-nogui (scripts/setup.sh)";
    ASSERT_FALSE(PeerFiles().empty()) << "the peer script failed";
  }
};

}  // namespace

TEST_F(MetafilePeerTest, PlayingAgreesWithLibreOfficeRendering) {
  const fs::path& dir = PeerFiles();
  for (const char* name : PeerCases) {
    SCOPED_TRACE(name);
    const fs::path file = dir / name;
    TMetafile metafile;
    const std::vector<uint8_t> bytes = ReadFileBytes(file.string());
    ASSERT_NO_THROW(metafile.LoadFromBytes(bytes));
    const auto rendered = Rendered(metafile);
    const TBitmap& ours = *rendered;
    const TRawImage page =
        ReadRawImage((dir / "raw" / (file.stem().string() + file.extension().string() + ".raw")).string());
    ASSERT_GT(page.Width, ours.Width());
    TComparison best;
    best.Differing = INT64_MAX;
    const int32_t cx = (page.Width - ours.Width()) / 2, cy = (page.Height - ours.Height()) / 2;
    for (int32_t dy = -3; dy <= 3; ++dy)
      for (int32_t dx = -3; dx <= 3; ++dx) {
        const TComparison c = Compare(ours, page, cx + dx, cy + dy);
        if (c.Differing < best.Differing) best = c;
      }
    EXPECT_GT(best.Inked, 0) << "nothing drawn";
    EXPECT_GT(best.Compared, 500);
    EXPECT_LE(best.Differing * 50, best.Compared) << best.Differing << " of " << best.Compared << " pixels differ";
    std::printf("%s: %lld of %lld pixels differ\n", name, static_cast<long long>(best.Differing),
                static_cast<long long>(best.Compared));
    EXPECT_EQ(metafile.SkippedRecords(), 0);
  }
}

// Each file converted to the other format and back draws as the file does, at its size
// and twice it, through drawing records: text stays text (its reference point may round
// to the next pixel), the bitmap records are the file's own, and nothing is skipped.
TEST_F(MetafilePeerTest, ConvertedCopiesDrawTheSameThroughDrawingRecords) {
  const fs::path& dir = PeerFiles();
  for (const char* name : PeerCases) {
    SCOPED_TRACE(name);
    TMetafile original;
    ASSERT_NO_THROW(original.LoadFromBytes(ReadFileBytes((dir / name).string())));
    const auto converted = ConvertedMetafile(original);
    TMetafile reloaded;
    ASSERT_NO_THROW(reloaded.LoadFromBytes(converted->SavedBytes()));
    const auto back = ConvertedMetafile(reloaded);
    EXPECT_NE(reloaded.Enhanced(), original.Enhanced());
    EXPECT_EQ(back->Enhanced(), original.Enhanced());
    const bool hasText = std::string(name).find("text") != std::string::npos;
    for (const TMetafile* copy : {&reloaded, back.get()}) {
      SCOPED_TRACE(copy->Enhanced() ? "enhanced" : "windows");
      // A Windows metafile's size is whole units of its box.
      EXPECT_NEAR(copy->MMWidth(), original.MMWidth(), 1);
      EXPECT_NEAR(copy->MMHeight(), original.MMHeight(), 1);
      EXPECT_LE(BitmapRecords(*copy), BitmapRecords(original));
      const auto kinds = RecordKinds(*copy);
      const uint32_t text = copy->Enhanced() ? 84 : 0x0A32;
      EXPECT_EQ(kinds.contains(text), hasText);
      EXPECT_EQ(FigureRecords(*copy) > 0, FigureRecords(original) > 0);
      for (int32_t scale : {1, 2}) {
        const auto a = Rendered(original, scale), b = Rendered(*copy, scale);
        const TPixelDifference d = DifferingPixels(*a, *b, hasText ? 1 : 0);
        EXPECT_GT(d.Inked, 0);
        EXPECT_LE(d.Differing * 50, d.Inked) << d.Differing << " of " << d.Inked << " pixels differ at x" << scale;
        std::printf("%s as %s, x%d: %lld of %lld pixels differ\n", name, copy->Enhanced() ? "emf" : "wmf", scale,
                    static_cast<long long>(d.Differing), static_cast<long long>(d.Inked));
        EXPECT_EQ(copy->SkippedRecords(), 0);
      }
    }
  }
}
