#include "richtext/model/RPScaling.h"

#include <gtest/gtest.h>

#include "platform/graphics/Bitmap.h"

namespace {

TEST(RPScalingTest, ScreenAndDeviceLengths) {
  const TRPResolution printer{96, 96, 600, 300};
  EXPECT_EQ(ScreenToDeviceX(96, printer), 600);
  EXPECT_EQ(ScreenToDeviceY(96, printer), 300);
  EXPECT_EQ(DeviceToScreenX(600, printer), 96);
  EXPECT_EQ(DeviceToScreenY(600, printer), 192);
  // MulDiv rounds halves away from zero: 1 * 600 / 96 = 6.25, 5 * 300 / 96 = 15.625.
  EXPECT_EQ(ScreenToDeviceX(1, printer), 6);
  EXPECT_EQ(ScreenToDeviceY(5, printer), 16);
  EXPECT_EQ(ScreenToDeviceX(-5, TRPResolution{96, 96, 120, 120}), -6);  // -6.25
  const TRect screen = DeviceToScreenRect(TRect{600, 300, 1200, 600}, printer);
  EXPECT_EQ(screen, (TRect{96, 96, 192, 192}));
}

TEST(RPScalingTest, ResolutionOfACanvasAndTheScreenOverride) {
  TBitmap bitmap;
  bitmap.SetSize(4, 4);
  TRPResolution resolution{1, 1, 1, 1, 17, 23};
  GetScreenAndDeviceResolution(resolution, *bitmap.Canvas());
  EXPECT_EQ(resolution.DevicePpiX, 96);
  EXPECT_EQ(resolution.DevicePpiY, 96);
  EXPECT_EQ(resolution.ScreenPpiX, 96);
  EXPECT_EQ(resolution.ScreenPpiY, 96);
  EXPECT_EQ(resolution.LeftMargin, 17);  // left as they are
  EXPECT_EQ(resolution.Reserved, 23);
  EXPECT_EQ(GetScreenPixelsPerInch(), 96);

  SetScreenResolutionOverride(120);
  GetScreenAndDeviceResolution(resolution, *bitmap.Canvas());
  EXPECT_EQ(resolution.ScreenPpiX, 120);  // the override replaces both screen values
  EXPECT_EQ(resolution.ScreenPpiY, 120);
  EXPECT_EQ(resolution.DevicePpiX, 96);
  EXPECT_EQ(GetScreenPixelsPerInch(), 120);
  SetScreenResolutionOverride(0);
  EXPECT_EQ(GetScreenPixelsPerInch(), 96);
}

TEST(RPScalingTest, PointInBoundsIncludesLeftAndTopOnly) {
  EXPECT_TRUE(PointInBounds(10, 20, 10, 20, 5, 5));
  EXPECT_TRUE(PointInBounds(14, 24, 10, 20, 5, 5));
  EXPECT_FALSE(PointInBounds(15, 24, 10, 20, 5, 5));
  EXPECT_FALSE(PointInBounds(14, 25, 10, 20, 5, 5));
  EXPECT_FALSE(PointInBounds(9, 20, 10, 20, 5, 5));
}

}  // namespace
