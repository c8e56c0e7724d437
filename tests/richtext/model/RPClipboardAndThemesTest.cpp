// The engine's clipboard formats and its binding of the visual-theme service.
#include <gtest/gtest.h>

#include "platform/base/ClipboardFormats.h"
#include "richtext/model/RPClipboardFormats.h"
#include "richtext/model/RPThemes.h"

namespace {

TEST(RPClipboardFormatsTest, TheFourNamesAreRegisteredOnce) {
  const TRPClipboardFormats& formats = RPClipboardFormats();
  EXPECT_EQ(GetClipboardFormatName(formats.RichPane), "RichPane Format");
  EXPECT_EQ(GetClipboardFormatName(formats.RTF), "Rich Text Format");
  EXPECT_EQ(GetClipboardFormatName(formats.URL), "UniformResourceLocator");
  EXPECT_EQ(GetClipboardFormatName(formats.HTML), "HTML Format");
  EXPECT_EQ(&RPClipboardFormats(), &formats);
  // Whoever registers a name again gets the engine's number.
  EXPECT_EQ(RegisterClipboardFormatA("rich text format"), formats.RTF);
}

TEST(RPThemesTest, BoundBetweenStartupAndShutdownAndNeverActive) {
  EXPECT_EQ(RPThemes().IsThemeActive, nullptr);
  EXPECT_FALSE(RPThemesActive());
  RPThemesStartup();
  RPThemesStartup();
  const TRPThemeBinding& themes = RPThemes();
  ASSERT_NE(themes.IsThemeActive, nullptr);
  ASSERT_NE(themes.OpenThemeData, nullptr);
  ASSERT_NE(themes.IsThemeBackgroundPartiallyTransparent, nullptr);
  EXPECT_FALSE(themes.IsThemeActive());
  EXPECT_FALSE(themes.IsAppThemed());
  EXPECT_EQ(themes.OpenThemeData(nullptr, u"Edit"), nullptr);  // callers draw their plain way
  EXPECT_FALSE(RPThemesActive());
  RPThemesShutdown();
  EXPECT_NE(RPThemes().IsThemeActive, nullptr);  // the first start-up is still paired
  RPThemesShutdown();
  EXPECT_EQ(RPThemes().IsThemeActive, nullptr);
  EXPECT_EQ(RPThemes().DrawThemeBackground, nullptr);
  RPThemesShutdown();  // unpaired: nothing
  EXPECT_EQ(RPThemes().IsAppThemed, nullptr);
}

}  // namespace
