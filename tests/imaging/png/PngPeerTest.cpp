// Images of every colour type, bit depth, row filter and interlacing, written by libpng
// in the tests themselves (the shapes of the PngSuite's basic, size, filter and
// transparency images), decoded by the codec and compared pixel for pixel with libpng's
// decoding; then encoded by the codec and read back by libpng and pngcheck.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "LibpngPeer.h"
#include "PngTestFiles.h"

namespace {

struct TCase {
  int ColorType, BitDepth;
  uint32_t Width, Height;
  bool Interlaced;
  int Filters;
};

std::string Describe(const TPeerImageShape& shape) {
  return "type " + std::to_string(shape.ColorType) + " depth " + std::to_string(shape.BitDepth) + " " +
         std::to_string(shape.Width) + "x" + std::to_string(shape.Height) + (shape.Interlaced ? " interlaced" : "") +
         " filters " + std::to_string(shape.Filters);
}

TPeerImageShape ShapeOf(const TCase& c, uint32_t seed) {
  TPeerImageShape shape;
  shape.Width = c.Width;
  shape.Height = c.Height;
  shape.ColorType = c.ColorType;
  shape.BitDepth = c.BitDepth;
  shape.Interlaced = c.Interlaced;
  shape.Filters = c.Filters;
  if (c.ColorType == 3) shape.Palette = RampPalette(c.BitDepth);
  FillRandomRows(shape, seed);
  return shape;
}

// Every pixel's colour and opacity as libpng gives them with all expansions.
void ExpectSamePixels(const TPNGObject& image, const TPeerRgba& peer) {
  ASSERT_EQ(peer.Error, "");
  ASSERT_EQ(image.Width(), static_cast<int32_t>(peer.Width));
  ASSERT_EQ(image.Height(), static_cast<int32_t>(peer.Height));
  int mismatches = 0;
  for (uint32_t y = 0; y < peer.Height; ++y)
    for (uint32_t x = 0; x < peer.Width; ++x) {
      const uint8_t* p = peer.Pixels.data() + (size_t{y} * peer.Width + x) * 4;
      const TColor expected = static_cast<TColor>(RGB(p[0], p[1], p[2]));
      const TColor got = image.GetPixel(static_cast<int32_t>(x), static_cast<int32_t>(y));
      const uint8_t alpha = image.PixelAlpha(static_cast<int32_t>(x), static_cast<int32_t>(y));
      if ((got != expected || alpha != p[3]) && ++mismatches <= 5)
        ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << got << " alpha " << int(alpha) << ", libpng "
                      << expected << " alpha " << int(p[3]);
    }
  EXPECT_EQ(mismatches, 0);
}

// What the codec writes is read by libpng as the same image; lossless layouts give the
// same samples, 2-bit images (written at 4 bits) and 16-bit alpha (kept at 8 bits) the
// same pixels.
void ExpectRoundTrip(const TPNGObject& image, const TBytes& original, const TPeerImageShape& shape) {
  const TBytes written = SavePng(image);
  const TPeerRgba before = LibpngReadRgba(original), after = LibpngReadRgba(written);
  ASSERT_EQ(after.Error, "");
  EXPECT_EQ(after.Pixels, before.Pixels);
  const bool lossless =
      shape.BitDepth != 2 && !(shape.BitDepth == 16 && (shape.ColorType == 4 || shape.ColorType == 6));
  if (lossless) {
    const TPeerRaw raw = LibpngReadRaw(written), source = LibpngReadRaw(original);
    ASSERT_EQ(raw.Error, "");
    EXPECT_EQ(raw.Rows, source.Rows);
    EXPECT_EQ(raw.BitDepth, shape.BitDepth);
    EXPECT_EQ(raw.ColorType, shape.ColorType);
  }
}

std::vector<TCase> BasicCases() {
  const int combos[][2] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                           {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
  std::vector<TCase> cases;
  for (const auto& combo : combos)
    for (bool interlaced : {false, true}) cases.push_back({combo[0], combo[1], 32, 32, interlaced, 0});
  // Odd sizes, each interlace pass empty or short in turn.
  for (uint32_t side = 1; side <= 10; ++side)
    for (bool interlaced : {false, true}) {
      cases.push_back({3, 1, side, side, interlaced, 0});
      cases.push_back({2, 8, side, side + 2, interlaced, 0});
      cases.push_back({0, 2, side + 3, side, interlaced, 0});
    }
  // Every row filter alone, and libpng's own mix.
  const int filters[] = {0x08 /* None */, 0x10 /* Sub */, 0x20 /* Up */, 0x40 /* Average */, 0x80 /* Paeth */, 0xF8};
  for (int f : filters) {
    cases.push_back({0, 8, 32, 32, false, f});
    cases.push_back({2, 8, 33, 17, false, f});
    cases.push_back({6, 16, 13, 9, true, f});
    cases.push_back({4, 8, 7, 31, true, f});
  }
  return cases;
}

}  // namespace

TEST(PngPeer, DecodesEveryColourTypeDepthFilterAndInterlacingAsLibpngDoes) {
  uint32_t seed = 1;
  for (const TCase& c : BasicCases()) {
    const TPeerImageShape shape = ShapeOf(c, seed++);
    SCOPED_TRACE(Describe(shape));
    const TBytes file = LibpngWrite(shape);
    ASSERT_FALSE(file.empty());
    TPNGObject image;
    LoadPng(image, file);
    EXPECT_EQ(image.InterlaceMode, c.Interlaced ? 1 : 0);
    ExpectSamePixels(image, LibpngReadRgba(file));
    ExpectRoundTrip(image, file, shape);
  }
}

TEST(PngPeer, KeepsTheLowBytesOfSixteenBitSamples) {
  for (int colorType : {0, 2, 4, 6}) {
    SCOPED_TRACE(colorType);
    const TPeerImageShape shape = ShapeOf({colorType, 16, 5, 3, false, 0}, 77);
    TPNGObject image;
    LoadPng(image, LibpngWrite(shape));
    const TPeerRaw raw = LibpngReadRaw(LibpngWrite(shape));
    const int channels = colorType == 0 ? 1 : colorType == 2 ? 3 : colorType == 4 ? 2 : 4;
    const int colours = colorType == 0 || colorType == 4 ? 1 : 3;
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t x = 0; x < 5; ++x)
        for (int c = 0; c < colours; ++c) {
          const uint8_t* sample = raw.Rows.data() + static_cast<size_t>(y) * raw.RowBytes + (x * channels + c) * 2;
          const int32_t at = colours == 1 ? x : x * 3 + (2 - c);  // blue, green, red in the raster
          EXPECT_EQ(image.RowPointer(y)[at], sample[0]);
          EXPECT_EQ(image.LowByteRow(y)[at], sample[1]);
        }
  }
}

TEST(PngPeer, TransparencyOfKeysAndPaletteTablesIsLibpngsAlpha) {
  struct TKeyCase {
    int ColorType, BitDepth;
  } keyCases[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}};
  uint32_t seed = 500;
  for (const auto& k : keyCases)
    for (bool interlaced : {false, true}) {
      TPeerImageShape shape = ShapeOf({k.ColorType, k.BitDepth, 19, 11, interlaced, 0}, seed++);
      // The key is the first pixel's value, so some pixels match it.
      const uint8_t* first = shape.Rows.data();
      if (k.ColorType == 0) {
        const uint16_t gray = k.BitDepth == 16  ? static_cast<uint16_t>(first[0] << 8 | first[1])
                              : k.BitDepth == 8 ? first[0]
                                                : static_cast<uint16_t>(first[0] >> (8 - k.BitDepth));
        shape.Key = {gray, 0, 0};
      } else {
        const int bytes = k.BitDepth / 8;
        auto sample = [&](int i) {
          return static_cast<uint16_t>(bytes == 2 ? first[2 * i] << 8 | first[2 * i + 1] : first[i]);
        };
        shape.Key = {sample(0), sample(1), sample(2)};
      }
      SCOPED_TRACE(Describe(shape));
      const TBytes file = LibpngWrite(shape);
      TPNGObject image;
      LoadPng(image, file);
      EXPECT_EQ(image.TransparencyKind(), ptmBit);
      ExpectSamePixels(image, LibpngReadRgba(file));
      ExpectRoundTrip(image, file, shape);
    }
  for (int depth : {1, 2, 4, 8}) {
    TPeerImageShape shape = ShapeOf({3, depth, 21, 6, depth == 4, 0}, seed++);
    shape.PaletteAlpha = {0, 128, 255, 17};
    shape.PaletteAlpha.resize(std::min<size_t>(shape.PaletteAlpha.size(), shape.Palette.size()));
    SCOPED_TRACE(Describe(shape));
    const TBytes file = LibpngWrite(shape);
    TPNGObject image;
    LoadPng(image, file);
    EXPECT_EQ(image.TransparencyKind(), ptmPartial);  // 0 and 128: alpha
    ExpectSamePixels(image, LibpngReadRgba(file));
  }
}

TEST(PngPeer, EncodedImagesPassPngcheck) {
  if (std::system("command -v pngcheck >/dev/null") != 0)
    GTEST_FAIL() << "pngcheck is not installed: scripts/setup.sh installs it";
  const auto folder = std::filesystem::temp_directory_path() / ("qf_png_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  uint32_t seed = 900;
  for (const TCase& c : {TCase{0, 1, 9, 9, true, 0}, TCase{0, 16, 9, 9, false, 0}, TCase{2, 8, 40, 30, true, 0},
                         TCase{3, 4, 17, 5, false, 0}, TCase{4, 16, 8, 8, true, 0}, TCase{6, 8, 64, 64, false, 0}}) {
    const TPeerImageShape shape = ShapeOf(c, seed++);
    SCOPED_TRACE(Describe(shape));
    TPNGObject image;
    LoadPng(image, LibpngWrite(shape));
    image.RowFilterSet = pfNone | pfSub | pfUp | pfAverage | pfPaeth;
    const TBytes written = SavePng(image);
    const auto path = folder / "image.png";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(written.data()), static_cast<std::streamsize>(written.size()));
    EXPECT_EQ(std::system(("pngcheck -q " + path.string() + " >/dev/null").c_str()), 0);
  }
  std::filesystem::remove_all(folder);
}
