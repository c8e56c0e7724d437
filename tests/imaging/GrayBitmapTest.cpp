#include "imaging/uGrayBitmap.h"

#include <gtest/gtest.h>

#include "platform/base/TempFolder.h"
#include "platform/graphics/BitmapTestImages.h"
#include "platform/graphics/PilPeer.h"

TEST(GrayBitmap, WeighsTheChannelsByTheLumaWeights) {
  const struct {
    uint8_t R, G, B, Gray;
  } cases[] = {
      {255, 0, 0, 76},                                           // 76.2195
      {0, 0, 255, 29},                                           // 29.07
      {0, 255, 0, 150},                                          // 149.685
      {255, 255, 255, 255}, {0, 0, 0, 0}, {128, 128, 128, 128},  // 127.9872
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.R) << "," << int(c.G) << "," << int(c.B));
    EXPECT_EQ(GrayValue(c.R, c.G, c.B), c.Gray);
  }
}

TEST(GrayBitmap, MatchesExtendedPrecisionArithmeticExactly) {
  // Every level of each channel alone, the grays, a few near-ties (0.114 × 250 = 28.5 in
  // decimal) and pseudo-random colours, against an exact model of the arithmetic.
  std::vector<uint8_t> rgb;
  for (int v = 0; v < 256; ++v) {
    const auto b = static_cast<uint8_t>(v);
    rgb.insert(rgb.end(), {b, 0, 0, 0, b, 0, 0, 0, b, b, b, b});
  }
  rgb.insert(rgb.end(), {0, 0, 250, 250, 0, 250, 10, 20, 30});
  uint32_t seed = 11;
  while (rgb.size() < 3 * 2048) {
    seed = seed * 1103515245u + 12345u;
    rgb.push_back(static_cast<uint8_t>(seed >> 16));
  }
  const int32_t pixels = static_cast<int32_t>(rgb.size() / 3);
  TempFolder folder;
  WriteRawImage(folder / "in.raw", TRawImage{pixels, 1, rgb});
  ASSERT_TRUE(RunPeerScript("imaging/gray_reference.py", {folder / "in.raw", folder / "out.raw"}));
  const TRawImage expected = ReadRawImage(folder / "out.raw");
  ASSERT_EQ(expected.Bytes.size(), static_cast<size_t>(pixels));

  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(pixels, 1);
  for (int32_t x = 0; x < pixels; ++x) {
    bitmap.SetPixelColor(x, 0, static_cast<TColor>(RGB(rgb[3 * x], rgb[3 * x + 1], rgb[3 * x + 2])));
    EXPECT_EQ(GrayValue(rgb[3 * x], rgb[3 * x + 1], rgb[3 * x + 2]), expected.Bytes[static_cast<size_t>(x)]) << x;
  }
  GrayscaleBitmap(bitmap);
  for (int32_t x = 0; x < pixels; ++x) {
    const uint8_t* p = bitmap.ScanLine(0) + 3 * x;
    const uint8_t gray = expected.Bytes[static_cast<size_t>(x)];
    ASSERT_TRUE(p[0] == gray && p[1] == gray && p[2] == gray) << x;
  }
}

TEST(GrayBitmap, OtherPixelFormatsRaiseAndStayUnchanged) {
  for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf32bit, pfDevice}) {
    SCOPED_TRACE(format);
    const auto bitmap = NoiseBitmap(format, 5, 3, 2);
    const auto before = RgbBytes(*bitmap);
    try {
      GrayscaleBitmap(*bitmap);
      FAIL() << "no exception";
    } catch (const EInvalidGraphic& e) {
      EXPECT_STREQ(e.what(), "Invalid pixel format");
    }
    EXPECT_EQ(RgbBytes(*bitmap), before);
  }
}

TEST(GrayBitmap, AnEmptyBitmapIsLeftAlone) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(0, 4);
  EXPECT_NO_THROW(GrayscaleBitmap(bitmap));
}
