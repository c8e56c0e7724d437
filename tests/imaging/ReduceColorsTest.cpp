#include "imaging/uReduceColors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/TempFolder.h"
#include "platform/graphics/BitmapTestImages.h"
#include "platform/graphics/PilPeer.h"

namespace {

std::unique_ptr<TBitmap> GrayRow(const std::vector<uint8_t>& levels) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(static_cast<int32_t>(levels.size()), 1);
  for (size_t x = 0; x < levels.size(); ++x)
    bitmap->SetPixelColor(static_cast<int32_t>(x), 0, static_cast<TColor>(RGB(levels[x], levels[x], levels[x])));
  return bitmap;
}

// The palette indices of an 8-bit result, rows from the top.
std::vector<uint8_t> Indices(const TBitmap& reduced) {
  std::vector<uint8_t> out;
  for (int32_t y = 0; y < reduced.Height(); ++y)
    out.insert(out.end(), reduced.ScanLine(y), reduced.ScanLine(y) + reduced.Width());
  return out;
}

std::vector<uint8_t> Reduce(const TBitmap& image, int32_t reduction, int32_t mode) {
  TBitmap source;
  source.Assign(image);
  return Indices(*ReduceColors(source, reduction, mode));
}

// A gray ramp with a coloured stripe, so that errors of every size are diffused.
std::unique_ptr<TBitmap> Ramp(int32_t width, int32_t height) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      const auto level = static_cast<uint8_t>((x * 255) / (width - 1));
      bitmap->SetPixelColor(x, y, static_cast<TColor>(y == 2 ? RGB(level, 40, 255 - level) : RGB(level, level, level)));
    }
  return bitmap;
}

}  // namespace

TEST(ReduceColors, EveryReductionAndModeMatchesTheReferenceOfItsRules) {
  TempFolder folder;
  const std::unique_ptr<TBitmap> images[] = {NoiseBitmap(pf24bit, 9, 6, 3), Ramp(11, 5), NoiseBitmap(pf24bit, 1, 7, 8)};
  for (const auto& image : images) {
    SCOPED_TRACE(testing::Message() << image->Width() << "x" << image->Height());
    WriteRawImage(folder / "in.raw", TRawImage{image->Width(), image->Height(), RgbBytes(*image)});
    ASSERT_TRUE(RunPeerScript("imaging/dither_reference.py", {folder / "in.raw", folder / "out.bin"}));
    const std::vector<uint8_t> expected = ReadFileBytes(folder / "out.bin");
    const size_t pixels = static_cast<size_t>(image->Width() * image->Height());
    ASSERT_EQ(expected.size(), 21 * pixels);
    size_t at = 0;
    for (int32_t reduction = 1; reduction <= 3; ++reduction)
      for (int32_t mode = 0; mode <= 6; ++mode, at += pixels) {
        SCOPED_TRACE(testing::Message() << "reduction " << reduction << ", mode " << mode);
        EXPECT_EQ(Reduce(*image, reduction, mode),
                  std::vector<uint8_t>(expected.begin() + static_cast<ptrdiff_t>(at),
                                       expected.begin() + static_cast<ptrdiff_t>(at + pixels)));
      }
  }
}

TEST(ReduceColors, FloydSteinbergOnAGrayRowByHand) {
  // Black and white, gray 100 everywhere:
  //   x0: 100 + (0 + 0 + 8) div 16 = 100 -> black, error 100, ahead 700
  //   x1: 100 + (0 + 700 + 8) div 16 = 144 -> white, error -111, ahead -777
  //   x2: 100 + (0 - 777 + 8) div 16 = 52 -> black (the division truncates: -48)
  //   x3: 100 + (0 + 364 + 8) div 16 = 123 -> black (123 × 256 ≤ 32512)
  EXPECT_EQ(Reduce(*GrayRow({100, 100, 100, 100}), 3, 1), (std::vector<uint8_t>{0, 1, 0, 0}));
}

TEST(ReduceColors, StuckiOnAGrayRowByHand) {
  //   x0: 100 + (0 + 21) div 42 = 100 -> black; +1 gets 800, +2 gets 400
  //   x1: 100 + (800 + 21) div 42 = 119 -> black; +1 gets 952 (1352), +2 gets 476
  //   x2: 100 + (1352 + 21) div 42 = 132 -> white, error -123; +1 gets -984 (-508)
  //   x3: 100 + (-508 + 21) div 42 = 89 -> black (the division truncates: -11)
  EXPECT_EQ(Reduce(*GrayRow({100, 100, 100, 100}), 3, 2), (std::vector<uint8_t>{0, 0, 1, 0}));
}

TEST(ReduceColors, TheMonochromeThresholdLiesBetween127And128) {
  // 127 × 256 = 32512 is black; 128 × 256 = 32768 is white.
  EXPECT_EQ(Reduce(*GrayRow({127, 128}), 3, 0), (std::vector<uint8_t>{0, 1}));
}

TEST(ReduceColors, FourGraysTakeTheNearestBySumOfDifferences) {
  // 0x60: 96 from 0x80 against 288 from black; 0xA0 ties (96, 96): the first; 0xE0:
  // 93 from white against 96.
  EXPECT_EQ(Reduce(*GrayRow({0x60, 0x00, 0xA0, 0xC0, 0xE0, 0xFF}), 2, 0), (std::vector<uint8_t>{1, 0, 1, 2, 3, 3}));
}

TEST(ReduceColors, ColoursSharingACacheSlotShareTheFirstIndexFound) {
  TLogPalette log;
  for (uint8_t level : {0x00, 0x80, 0xC0, 0xFF}) log.palPalEntry.push_back({level, level, level, PC_NOCOLLAPSE});
  TFastColorLookup lookup(CreatePalette(log));
  EXPECT_EQ(lookup.Colors(), 4);
  TRgb chosen;
  EXPECT_EQ(lookup.Lookup(0x40, 0x40, 0x40, chosen), 0);  // 192 against 192: the first entry
  EXPECT_EQ(chosen, (TRgb{0, 0, 0}));
  EXPECT_EQ(lookup.Lookup(0x47, 0x47, 0x47, chosen), 0);  // same slot, though 0x80 is nearer
  TFastColorLookup fresh(CreatePalette(log));
  EXPECT_EQ(fresh.Lookup(0x47, 0x47, 0x47, chosen), 1);
  EXPECT_EQ(chosen, (TRgb{0x80, 0x80, 0x80}));
}

TEST(ReduceColors, TheResultIsAnEightBitImageWithTheWholeColourTable) {
  TBitmap source;
  source.Assign(*GrayRow({0, 0x80, 0xFF}));
  source.SetPixelFormat(pf4bit);
  const auto reduced = ReduceColors(source, 2, 2);
  EXPECT_EQ(source.PixelFormat(), pf24bit);  // the source was turned to 24 bits
  EXPECT_EQ(reduced->PixelFormat(), pf8bit);
  ASSERT_EQ(reduced->ColorTable().size(), 256u);
  EXPECT_EQ(reduced->ColorTable()[2], (TPaletteEntry{0xC0, 0xC0, 0xC0, 0}));
  EXPECT_EQ(reduced->ColorTable()[4], (TPaletteEntry{0, 0, 0, 0}));
  EXPECT_EQ(Indices(*reduced), (std::vector<uint8_t>{0, 1, 3}));
  reduced->SetPixelFormat(pf24bit);
  EXPECT_EQ(reduced->PixelColor(1, 0), clGray);
}

TEST(ReduceColors, TwoLevelsTurnIntoAOneBitImageWithoutLoss) {
  TBitmap source;
  source.Assign(*GrayRow({10, 250, 10, 250}));
  const auto reduced = ReduceColors(source, 3, 2);
  reduced->SetPixelFormat(pf1bit);
  EXPECT_EQ(reduced->ScanLine(0)[0], 0x50);  // 0 1 0 1 in the high bits
}

TEST(ReduceColors, NoReductionGivesATwentyFourBitCopy) {
  TBitmap source;
  source.Assign(*GrayRow({1, 2}));
  source.SetPixelFormat(pf8bit);
  const auto copy = ReduceColors(source, 0, 99);
  EXPECT_EQ(copy->PixelFormat(), pf24bit);
  EXPECT_EQ(copy->Width(), 2);
  EXPECT_EQ(source.PixelFormat(), pf8bit);
}

TEST(ReduceColors, UnknownReductionsAndModesGiveAnEmptyBitmap) {
  const auto image = GrayRow({1, 2, 3});
  for (auto [reduction, mode] : {std::pair{4, 2}, std::pair{-1, 2}, std::pair{2, 7}, std::pair{3, -1}}) {
    SCOPED_TRACE(testing::Message() << reduction << " " << mode);
    TBitmap source;
    source.Assign(*image);
    EXPECT_TRUE(ReduceColors(source, reduction, mode)->Empty());
  }
}

TEST(ReduceColors, AnImageWithoutPixelsRaises) {
  for (auto [width, height] : {std::pair{0, 3}, std::pair{3, 0}, std::pair{0, 0}}) {
    SCOPED_TRACE(testing::Message() << width << "x" << height);
    TBitmap source;
    source.SetPixelFormat(pf24bit);
    source.SetSize(width, height);
    try {
      ReduceColors(source, 2, 2);
      FAIL() << "no exception";
    } catch (const EReduceColorsError& e) {
      EXPECT_STREQ(e.what(), "Invalid image dimensions");
    }
  }
}

TEST(ReduceColors, EnginesAlternateTheirDirectionAlsoOnOnePixelRows) {
  TMonochromeLookup lookup;
  TStuckiDitherer engine(1, lookup);
  TRgb chosen;
  EXPECT_EQ(engine.Direction(), 1);
  EXPECT_EQ(engine.Column(), 0);
  engine.Dither(100, 100, 100, chosen);
  EXPECT_EQ(engine.Column(), 1);
  engine.NextLine();
  EXPECT_EQ(engine.Direction(), -1);
  EXPECT_EQ(engine.Column(), 0);
  engine.Dither(100, 100, 100, chosen);
  EXPECT_EQ(engine.Column(), -1);
  engine.NextLine();
  EXPECT_EQ(engine.Direction(), 1);
}

TEST(ReduceColors, TheWriterRefusesRowsOutsideTheImage) {
  TDIBWriter writer(3, 2, DefaultPalette());
  EXPECT_NO_THROW(writer.GetScanline(1));
  try {
    writer.GetScanline(2);
    FAIL() << "no exception";
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_STREQ(e.what(), "Scan line index out of range");
  }
}
