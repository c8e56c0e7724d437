// The engine's clipboard formats and its binding of the visual-theme service.
#include <gtest/gtest.h>

#include <string>

#include "platform/base/ClipboardFormats.h"
#include "richtext/model/RPClipboardFormats.h"
#include "richtext/model/RPThemes.h"

namespace {

TEST(RPClipboardFormatsTest, TheNamesAreRegisteredOnce) {
  const TRPClipboardFormats& formats = RPClipboardFormats();
  EXPECT_EQ(GetClipboardFormatName(formats.RichPane), "RichPane Format");
  EXPECT_EQ(GetClipboardFormatName(formats.RTF), "Rich Text Format");
  EXPECT_EQ(GetClipboardFormatName(formats.URL), "UniformResourceLocator");
  EXPECT_EQ(GetClipboardFormatName(formats.HTML), "HTML Format");
  EXPECT_EQ(GetClipboardFormatName(formats.FileGroupDescriptor), "FileGroupDescriptor");
  EXPECT_EQ(&RPClipboardFormats(), &formats);
  // Whoever registers a name again gets the engine's number.
  EXPECT_EQ(RegisterClipboardFormatA("rich text format"), formats.RTF);
}

// The document bytes of a native block: its length, cut to what the block holds.
TEST(RPClipboardFormatsTest, NativeBlockDocument) {
  struct TCase {
    std::string Block;
    std::string Document;
  } cases[] = {
      {std::string("\x02\0\0\0abc", 7), "ab"},
      {std::string("\x09\0\0\0abc", 7), "abc"},
      {std::string("\xFF\xFF\xFF\xFF", 4), ""},
      {std::string("\x01\0\0", 3), ""},
  };
  for (const TCase& c : cases) EXPECT_EQ(RPNativeBlockDocument(c.Block), c.Document) << c.Block.size();
}

// The first name of a file descriptor block: 4 bytes of count, the name at 76 of the
// first descriptor.
TEST(RPClipboardFormatsTest, FileGroupDescriptorName) {
  std::string block(4 + 592, '\0');
  block[0] = 1;
  block.replace(4 + 72, 12, "Example.url");
  EXPECT_EQ(RPFileGroupDescriptorName(block), "Example.url");
  block[0] = 0;
  EXPECT_EQ(RPFileGroupDescriptorName(block), "");
  EXPECT_EQ(RPFileGroupDescriptorName(block.substr(0, 3)), "");
  // A name cut by the end of the block.
  block[0] = 1;
  EXPECT_EQ(RPFileGroupDescriptorName(block.substr(0, 4 + 72 + 3)), "Exa");
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
