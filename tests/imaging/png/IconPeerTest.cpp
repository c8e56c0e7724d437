// TIcon against icotool (icoutils): an icon file it made from drawings of every depth
// (1, 4, 8, 24 and 32 bits per pixel, one entry stored as PNG) is read entry by entry
// and each entry's pixels and transparency equal icotool's own decode of it; the entry
// chosen for a size; drawing over what the canvas holds; saving back; damaged files.
#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/png/PngCodec.h"
#include "platform/base/BesideTestProgram.h"
#include "platform/base/LittleEndian.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/PilPeer.h"

namespace fs = std::filesystem;

namespace {

std::unique_ptr<TIcon> LoadedIcon(const std::vector<uint8_t>& bytes) {
  auto icon = std::make_unique<TIcon>();
  icon->LoadFromBytes(bytes);
  return icon;
}

}  // namespace

TEST(IconPeerTest, EntriesChoiceDrawingAndSavingAgreeWithIcotool) {
  QF_REQUIRE_PIL();
  if (std::system("command -v icotool >/dev/null 2>&1") != 0)
    GTEST_FAIL() << "icotool is missing: install icoutils (scripts/setup.sh)";
  // PNG entries are read through the PNG class found by name, which a program's
  // rich-text start-up registers; this program has none.
  RegisterGraphicClass(&TPNGObject::ClassInfo);
  const fs::path dir = BesideTestProgram("icon_peer");
  fs::remove_all(dir);
  ASSERT_TRUE(RunPeerScript("imaging/png/icon_peer.py", {dir.string()}));
  const std::vector<uint8_t> bytes = ReadFileBytes((dir / "icons.ico").string());
  const auto icon = LoadedIcon(bytes);
  ASSERT_EQ(icon->Entries().size(), 6u);

  const struct {
    int32_t BitCount;
    bool Png;
  } expected[] = {{1, false}, {4, false}, {8, false}, {24, false}, {32, false}, {32, true}};
  for (size_t i = 0; i < 6; ++i) {
    SCOPED_TRACE("entry " + std::to_string(i + 1));
    const TIconEntry& e = icon->Entries()[i];
    EXPECT_EQ(e.BitCount, expected[i].BitCount);
    EXPECT_EQ(e.Png, expected[i].Png);
    const TRawImage peer = ReadRawImage((dir / ("entry" + std::to_string(i + 1) + ".raw")).string());
    ASSERT_EQ(e.Width, peer.Width);
    ASSERT_EQ(e.Height, peer.Height);
    // PNG entries come through drawing on black and on white: alpha within 1, colours
    // of mostly opaque pixels within 3. Bitmap entries are exact.
    const int alphaSlack = e.Png ? 1 : 0, colourSlack = e.Png ? 3 : 0;
    int64_t wrong = 0;
    for (int32_t y = 0; y < e.Height; ++y)
      for (int32_t x = 0; x < e.Width; ++x) {
        const uint8_t* p = &peer.Bytes[(static_cast<size_t>(y) * peer.Width + x) * 4];
        const int alpha = e.Alpha[static_cast<size_t>(y) * e.Width + x];
        bool ok = std::abs(alpha - p[3]) <= alphaSlack;
        if (p[3] >= 128) {
          const uint32_t c = static_cast<uint32_t>(e.Image->PixelColor(x, y));
          ok = ok && std::abs(int(c & 0xFF) - p[0]) <= colourSlack &&
               std::abs(int((c >> 8) & 0xFF) - p[1]) <= colourSlack &&
               std::abs(int((c >> 16) & 0xFF) - p[2]) <= colourSlack;
        }
        wrong += ok ? 0 : 1;
      }
    EXPECT_EQ(wrong, 0);
  }

  // The entry for a size: exact with the most colours, else the smallest larger, else
  // the largest.
  const struct {
    int32_t Size;
    int32_t Entry;
  } choices[] = {{16, 1}, {32, 2}, {48, 3}, {64, 4}, {256, 5}, {20, 2}, {1, 1}, {300, 5}};
  for (const auto& c : choices) {
    SCOPED_TRACE(c.Size);
    icon->SetSize(c.Size, c.Size);
    EXPECT_EQ(icon->CurrentEntry(), c.Entry);
  }

  // Drawn over green: transparent pixels keep it, opaque ones show the entry.
  icon->SetSize(16, 16);
  TBitmap canvas;
  canvas.SetPixelFormat(pf24bit);
  canvas.SetSize(16, 16);
  canvas.Canvas()->Brush().SetColor(clLime);
  canvas.Canvas()->FillRect(Rect(0, 0, 16, 16));
  canvas.Canvas()->Draw(0, 0, icon.get());
  const TIconEntry& shown = icon->Entries()[1];
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x) {
      const bool opaque = shown.Alpha[static_cast<size_t>(y) * 16 + x] == 255;
      EXPECT_EQ(canvas.PixelColor(x, y), opaque ? shown.Image->PixelColor(x, y) : clLime) << x << "," << y;
    }

  TMemoryStream saved;
  icon->SaveToStream(saved);
  EXPECT_EQ(std::vector<uint8_t>(static_cast<const uint8_t*>(saved.Memory()),
                                 static_cast<const uint8_t*>(saved.Memory()) + saved.Size()),
            bytes);

  // Damaged copies fail with the icon's message and leave the icon as it was.
  auto patched = [&](size_t at, std::initializer_list<uint8_t> with) {
    std::vector<uint8_t> copy = bytes;
    std::copy(with.begin(), with.end(), copy.begin() + static_cast<std::ptrdiff_t>(at));
    return copy;
  };
  const struct {
    const char* Name;
    std::vector<uint8_t> Bytes;
  } damaged[] = {
      {"cut inside the directory", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 30)},
      {"cut inside an image", std::vector<uint8_t>(bytes.begin(), bytes.end() - 100)},
      {"no entries", patched(4, {0, 0})},
      {"an entry past the end", patched(6 + 12, {0xFF, 0xFF, 0xFF, 0x7F})},
      {"a bitmap taller than its data", patched(LoadLE32(bytes.data() + 6 + 12) + 8, {0, 0, 0, 0x10})},
      {"a bitmap of 0 bits per pixel", patched(LoadLE32(bytes.data() + 6 + 12) + 14, {0, 0})},
      {"a damaged PNG entry", patched(LoadLE32(bytes.data() + 6 + 5 * 16 + 12) + 40, {0xDE, 0xAD, 0xBE, 0xEF})},
  };
  for (const auto& d : damaged) {
    SCOPED_TRACE(d.Name);
    try {
      icon->LoadFromBytes(d.Bytes);
      ADD_FAILURE() << "loaded";
    } catch (const EInvalidGraphic& e) {
      EXPECT_STREQ(e.what(), "Icon image is not valid");
    }
    EXPECT_EQ(icon->Entries().size(), 6u);
  }
}
