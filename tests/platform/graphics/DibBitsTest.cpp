// Reading and drawing device-independent bitmaps.
#include "platform/graphics/DibBits.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/CanvasBlit.h"

namespace {

// A 3 x 2 bitmap: top row red, green, blue; bottom row white, black, grey.
std::unique_ptr<TBitmap> Sample() {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(3, 2);
  const TColor colors[2][3] = {{clRed, clLime, clBlue}, {clWhite, clBlack, 0x808080}};
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x) bitmap->SetPixelColor(x, y, colors[y][x]);
  return bitmap;
}

TEST(DibBitsTest, RowsArePaddedToWholeWords) {
  EXPECT_EQ(DibRowBytes(3, 24), 12u);  // 9 bytes, padded
  EXPECT_EQ(DibRowBytes(4, 24), 12u);
  EXPECT_EQ(DibRowBytes(3, 32), 12u);
  EXPECT_EQ(DibRowBytes(1, 8), 4u);
  EXPECT_EQ(DibRowBytes(0, 24), 0u);
}

TEST(DibBitsTest, ReadsABitmapBottomUpInBlueGreenRedOrder) {
  auto bitmap = Sample();
  BITMAPINFO info;
  info.bmiHeader.biBitCount = 24;
  ASSERT_EQ(GetDIBits(ScreenDC(), bitmap.get(), 0, 2, nullptr, &info, DIB_RGB_COLORS), 1);
  EXPECT_EQ(info.bmiHeader.biWidth, 3);
  EXPECT_EQ(info.bmiHeader.biHeight, 2);
  EXPECT_EQ(info.bmiHeader.biSizeImage, 24u);
  std::vector<uint8_t> bits(info.bmiHeader.biSizeImage, 0xEE);
  ASSERT_EQ(GetDIBits(ScreenDC(), bitmap.get(), 0, 2, bits.data(), &info, DIB_RGB_COLORS), 2);
  const std::vector<uint8_t> expected = {
      // first stored row: the bottom image row, white, black, grey, 3 padding bytes
      0xFF,
      0xFF,
      0xFF,
      0x00,
      0x00,
      0x00,
      0x80,
      0x80,
      0x80,
      0,
      0,
      0,
      // then the top row: red, green, blue as blue-green-red triples
      0x00,
      0x00,
      0xFF,
      0x00,
      0xFF,
      0x00,
      0xFF,
      0x00,
      0x00,
      0,
      0,
      0,
  };
  EXPECT_EQ(bits, expected);
  // Top-down, 32 bits, the second stored row alone.
  BITMAPINFO topDown;
  topDown.bmiHeader.biWidth = 3;
  topDown.bmiHeader.biHeight = -2;
  topDown.bmiHeader.biBitCount = 32;
  std::vector<uint8_t> row(12);
  ASSERT_EQ(GetDIBits(ScreenDC(), bitmap.get(), 1, 5, row.data(), &topDown, DIB_RGB_COLORS), 1);
  EXPECT_EQ(row, (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0x80, 0x80, 0x80, 0}));
}

TEST(DibBitsTest, RefusesWhatItDoesNotRead) {
  auto bitmap = Sample();
  BITMAPINFO eight;
  eight.bmiHeader.biBitCount = 8;
  EXPECT_EQ(GetDIBits(ScreenDC(), bitmap.get(), 0, 2, nullptr, &eight, DIB_RGB_COLORS), 0);
  BITMAPINFO wrongWidth;
  wrongWidth.bmiHeader.biBitCount = 24;
  wrongWidth.bmiHeader.biWidth = 4;
  EXPECT_EQ(GetDIBits(ScreenDC(), bitmap.get(), 0, 2, nullptr, &wrongWidth, DIB_RGB_COLORS), 0);
  EXPECT_EQ(GetDIBits(ScreenDC(), nullptr, 0, 2, nullptr, &wrongWidth, DIB_RGB_COLORS), 0);
}

TEST(DibBitsTest, DrawsTheDibBackStretched) {
  auto source = Sample();
  BITMAPINFO info;
  info.bmiHeader.biBitCount = 24;
  GetDIBits(ScreenDC(), source.get(), 0, 2, nullptr, &info, DIB_RGB_COLORS);
  std::vector<uint8_t> bits(info.bmiHeader.biSizeImage);
  GetDIBits(ScreenDC(), source.get(), 0, 2, bits.data(), &info, DIB_RGB_COLORS);
  TBitmap target;
  target.SetPixelFormat(pf24bit);
  target.SetSize(8, 5);
  // Twice the size at (1, 1).
  ASSERT_EQ(
      StretchDIBits(target.Canvas()->Handle(), 1, 1, 6, 4, 0, 0, 3, 2, bits.data(), &info, DIB_RGB_COLORS, SRCCOPY), 2);
  EXPECT_EQ(target.PixelColor(0, 0), clWhite);
  EXPECT_EQ(target.PixelColor(1, 1), clRed);
  EXPECT_EQ(target.PixelColor(2, 2), clRed);
  EXPECT_EQ(target.PixelColor(3, 1), clLime);
  EXPECT_EQ(target.PixelColor(6, 2), clBlue);
  EXPECT_EQ(target.PixelColor(1, 3), clWhite);
  EXPECT_EQ(target.PixelColor(4, 4), clBlack);
  EXPECT_EQ(target.PixelColor(6, 4), 0x808080);
  EXPECT_EQ(target.PixelColor(7, 4), clWhite);
  // A part of the source, unscaled.
  TBitmap part;
  part.SetPixelFormat(pf24bit);
  part.SetSize(2, 1);
  StretchDIBits(part.Canvas()->Handle(), 0, 0, 2, 1, 1, 1, 2, 1, bits.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(part.PixelColor(0, 0), clBlack);
  EXPECT_EQ(part.PixelColor(1, 0), 0x808080);
  EXPECT_EQ(StretchDIBits(part.Canvas()->Handle(), 0, 0, 2, 1, 0, 0, 2, 1, bits.data(), &info, DIB_RGB_COLORS, 0), 0);
}

}  // namespace
