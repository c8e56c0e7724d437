#include "platform/graphics/VisualThemes.h"

#include <gtest/gtest.h>

namespace {

TEST(VisualThemesTest, NoThemeIsEverActive) {
  EXPECT_FALSE(IsThemeActive());
  EXPECT_FALSE(IsAppThemed());
  const HTHEME theme = OpenThemeData(nullptr, u"Edit");
  EXPECT_EQ(theme, nullptr);
  EXPECT_EQ(CloseThemeData(theme), S_OK);
  TRect rect{0, 0, 10, 10};
  EXPECT_EQ(DrawThemeBackground(theme, nullptr, 1, 1, &rect, nullptr), E_FAIL);
  EXPECT_EQ(DrawThemeEdge(theme, nullptr, 1, 1, &rect, 0, 0, nullptr), E_FAIL);
  EXPECT_EQ(DrawThemeText(theme, nullptr, 1, 1, u"x", 1, 0, 0, &rect), E_FAIL);
  EXPECT_EQ(DrawThemeParentBackground(nullptr, nullptr, &rect), E_FAIL);
  EXPECT_FALSE(IsThemeBackgroundPartiallyTransparent(theme, 1, 1));
}

}  // namespace
