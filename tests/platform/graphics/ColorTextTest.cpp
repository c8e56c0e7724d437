#include "platform/graphics/ColorText.h"

#include <gtest/gtest.h>

#include "platform/base/Exception.h"

namespace {

TEST(ColorText, NamesForNamedColoursHexForTheRest) {
  const struct {
    TColor Color;
    const char* Text;
  } cases[] = {
      {clRed, "clRed"},
      {clWindowText, "clWindowText"},
      {clNone, "clNone"},
      {clDefault, "clDefault"},
      {static_cast<TColor>(0xFF000001), "clBackground"},
      {0xC0DCC0, "clMoneyGreen"},
      {0x123456, "$00123456"},
      {static_cast<TColor>(0xFF0000FF), "$FF0000FF"},  // a system colour without a name
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(ColorToString(c.Color), c.Text);
    EXPECT_EQ(StringToColor(c.Text), c.Color);
  }
  EXPECT_EQ(StringToColor("CLRED"), clRed);
  EXPECT_EQ(StringToColor("255"), clRed);
  EXPECT_EQ(StringToColor("-16777208"), clWindowText);
  try {
    StringToColor("clPink");
    ADD_FAILURE() << "no EConvertError";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'clPink' is not a valid integer value");
  }
}

}  // namespace
