#include "richtext/model/RPColorModes.h"

#include <gtest/gtest.h>

namespace {

TEST(RPColorModesTest, LuminanceAndGray) {
  EXPECT_EQ(ColorLuminance(clWhite), 255);
  EXPECT_EQ(ColorLuminance(clBlack), 0);
  EXPECT_EQ(ColorLuminance(clRed), 76);    // 76.5 rounds to the even neighbour
  EXPECT_EQ(ColorLuminance(clLime), 150);  // 150.45
  EXPECT_EQ(ColorLuminance(clBlue), 28);   // 28.05
  EXPECT_EQ(ColorToGray(clWhite), 0xFFFFFF);
  EXPECT_EQ(ColorToGray(clNone), clNone);
  EXPECT_EQ(ColorToGray(clLime), 0x969696);
  EXPECT_EQ(ColorToGray(clWindowText), 0);
}

TEST(RPColorModesTest, SystemColoursForPrinting) {
  const struct {
    TColor In, Out;
  } cases[] = {
      {clScrollBar, 0xC0C0C0}, {clBtnFace, 0xC0C0C0},   {clWindow, 0xFFFFFF},       {clBtnHighlight, 0xFFFFFF},
      {clWindowText, 0},       {clBtnShadow, 0x808080}, {clHighlight, clHighlight}, {0x123456, 0x123456},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolveSystemColorForPrinting(c.In), c.Out) << std::hex << c.In;
}

TEST(RPColorModesTest, ModesOnTextAndBackColours) {
  const struct {
    TColor Color;
    TRPColorMode Mode;
    TColor Text, Back;
  } cases[] = {
      {clNone, rpcmBlackAndWhite, clNone, clNone},
      {clBtnFace, rpcmColor, clBtnFace, clBtnFace},
      {clBtnFace, rpcmPrinterColor, 0xC0C0C0, 0xC0C0C0},
      {clRed, rpcmGrayScale, 0x4C4C4C, 0x4C4C4C},
      {clWhite, rpcmBlackAndWhite, clWhite, clWhite},
      {0xFFFFFE, rpcmBlackOnWhite, clBlack, clWhite},
      {clWhite, rpcmBlackOnWhite, clWhite, clWhite},
      {clWindow, rpcmBlackAndWhite, clBlack, clWhite},  // white only as a plain colour
      {clNavy, rpcmBlackAndWhite, clBlack, clWhite},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.Color << " mode " << c.Mode);
    EXPECT_EQ(ApplyColorModeToTextColor(c.Color, c.Mode), c.Text);
    EXPECT_EQ(ApplyColorModeToBackColor(c.Color, c.Mode), c.Back);
  }
}

}  // namespace
