#include "imaging/uRotateBitmap.h"

#include <gtest/gtest.h>

#include "platform/base/TempFolder.h"
#include "platform/graphics/BitmapTestImages.h"
#include "platform/graphics/PilPeer.h"

TEST(RotateBitmap, TurnsPixelsAsPilDoesBothWays) {
  QF_REQUIRE_PIL();
  TempFolder folder;
  const auto source = NoiseBitmap(pf24bit, 7, 5, 21);
  const auto before = RgbBytes(*source);
  WriteRawImage(folder / "in.raw", TRawImage{7, 5, before});
  ASSERT_TRUE(RunPeerScript("imaging/rotate_peer.py", {folder / "in.raw", folder / "cw.raw", folder / "ccw.raw"}));
  for (bool clockwise : {true, false}) {
    SCOPED_TRACE(clockwise);
    const TRawImage expected = ReadRawImage(folder / (clockwise ? "cw.raw" : "ccw.raw"));
    TBitmap target;
    RotateBitmap(*source, target, clockwise);
    EXPECT_EQ(target.Width(), 5);
    EXPECT_EQ(target.Height(), 7);
    EXPECT_EQ(target.PixelFormat(), pf24bit);
    EXPECT_EQ(RgbBytes(target), expected.Bytes);
  }
  EXPECT_EQ(RgbBytes(*source), before);
}

TEST(RotateBitmap, APageTurnsItsTopLeftCornerToTheRightPlace) {
  TBitmap page;
  page.SetPixelFormat(pf24bit);
  page.SetSize(600, 800);
  page.SetPixelColor(0, 0, clRed);
  TBitmap target;
  RotateBitmap(page, target, true);
  EXPECT_EQ(target.Width(), 800);
  EXPECT_EQ(target.Height(), 600);
  EXPECT_EQ(target.PixelColor(799, 0), clRed);
  RotateBitmap(page, target, false);
  EXPECT_EQ(target.PixelColor(0, 599), clRed);
}

TEST(RotateBitmap, KeepsThePixelFormatAndPalette) {
  for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf32bit}) {
    SCOPED_TRACE(format);
    const auto source = NoiseBitmap(format, 9, 4, 5);
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    RotateBitmap(*source, target, true);
    EXPECT_EQ(target.PixelFormat(), format);
    EXPECT_TRUE(std::equal(source->ColorTable().begin(), source->ColorTable().end(), target.ColorTable().begin(),
                           target.ColorTable().end()));
    for (int32_t y = 0; y < 4; ++y)
      for (int32_t x = 0; x < 9; ++x) ASSERT_EQ(target.PixelColor(3 - y, x), source->PixelColor(x, y));
  }
}

TEST(RotateBitmap, AnEmptySourceGivesAnEmptyTarget) {
  TBitmap source;
  source.SetPixelFormat(pf1bit);
  source.SetSize(0, 3);
  TBitmap target;
  target.SetSize(4, 4);
  RotateBitmap(source, target, false);
  EXPECT_EQ(target.Width(), 3);
  EXPECT_EQ(target.Height(), 0);
  EXPECT_EQ(target.PixelFormat(), pf1bit);
}
