#include "richtext/model/RPHtmlHelpers.h"

#include <gtest/gtest.h>

#include "platform/graphics/Bitmap.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPFontInfo.h"

namespace {

TEST(RPHtmlHelpersTest, Colours) {
  EXPECT_EQ(ColorToHtmlColor(0x0A0B0C), "#0c0b0a");
  EXPECT_EQ(ColorToHtmlColor(clWindowText), "#000000");
  EXPECT_EQ(ColorToHtmlColor(clWindow, true), "\"#ffffff\"");
  EXPECT_EQ(ColorToHtmlColor(clNone), "");
  EXPECT_EQ(ColorToHtmlColorOrTransparent(clNone), "transparent");
  EXPECT_EQ(ColorToHtmlColorOrTransparent(clRed), "#ff0000");
}

TEST(RPHtmlHelpersTest, FontSizes) {
  const std::pair<int32_t, int32_t> cases[] = {{1, 1},  {8, 1},  {9, 2},  {10, 2}, {11, 3}, {12, 3}, {13, 4},
                                               {14, 4}, {15, 5}, {18, 5}, {19, 6}, {24, 6}, {25, 7}, {72, 7}};
  for (auto [points, size] : cases) EXPECT_EQ(PointSizeToHtmlFontSize(points), size) << points;
}

TEST(RPHtmlHelpersTest, PlainAndXhtmlAttributes) {
  EXPECT_EQ(FormatHtmlInt(5, 0), "5");
  EXPECT_EQ(FormatHtmlInt(5, rphtmlQuotedAttributes), "\"5\"");
  EXPECT_EQ(QuoteHtmlValue("a", 0), "a");
  EXPECT_EQ(QuoteHtmlValue("a", rphtmlQuotedAttributes), "\"a\"");
  EXPECT_EQ(QuoteHtmlValue("\"a\"", rphtmlQuotedAttributes), "\"a\"");
  EXPECT_EQ(HtmlBooleanAttribute("noshade", 0), "noshade");
  EXPECT_EQ(HtmlBooleanAttribute("noshade", rphtmlQuotedAttributes), "noshade=\"noshade\"");
  EXPECT_EQ(GetXhtmlEmptyTagEnd(0), "");
  EXPECT_EQ(GetXhtmlEmptyTagEnd(rphtmlQuotedAttributes), " /");
  EXPECT_EQ(MakeHtmlPath("img\\a b.png", 0, 1251), "img/a b.png");
  EXPECT_EQ(MakeHtmlPath("\xC0\\x", rphtmlUtf8, 1251), "\xD0\x90/x");
}

// The test vectors of RFC 4648, section 10, and a byte of every value of a digit.
TEST(RPHtmlHelpersTest, Base64TextAndPictureDataUris) {
  const std::pair<std::string, std::string> vectors[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      {"\xFB\xFF\xBF", "+/+/"},
  };
  for (const auto& [bytes, text] : vectors) {
    SCOPED_TRACE(bytes);
    EXPECT_EQ(Base64Text({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}), text);
  }
  const uint8_t jpeg[] = {0xFF, 0xD8, 0xFF};
  EXPECT_EQ(PictureDataUri("jpg", jpeg), "data:image/jpeg;base64,/9j/");
  EXPECT_EQ(PictureDataUri("PNG", jpeg), "data:image/png;base64,/9j/");
  EXPECT_EQ(PictureDataUri("bmp", {}), "data:image/bmp;base64,");
  EXPECT_EQ(PictureDataUri("ico", {}), "data:image/x-icon;base64,");
  EXPECT_EQ(PictureDataUri("webp", {}), "data:image/webp;base64,");
}

TEST(RPHtmlHelpersTest, HintsAndText) {
  EXPECT_EQ(MakeHintAttribute(rphkHtml, ""), "");
  EXPECT_EQ(MakeHintAttribute(rphkHtml, "say \"hi\""), "title=\"say 'hi'\"");
  EXPECT_EQ(MakeHintAttribute(rphkRtf, "a{b}\xE9"), "\\o \"a_b_\\'e9\"");
  EXPECT_EQ(EscapeHtmlText("a<b>&c", false), "a&lt;b&gt;&amp;c");
  EXPECT_EQ(EscapeHtmlText("a   b", false), "a&nbsp;&nbsp; b");  // n spaces: n - 1 entities and a space
  EXPECT_EQ(EscapeHtmlText("a<b", true), "a<b");
  EXPECT_EQ(CharsetToHtmlCharset(204), "Windows-1251");
  EXPECT_EQ(CharsetToHtmlCharset(255), "ascii");
  EXPECT_EQ(CharsetToHtmlCharset(0), "");
}

TEST(RPHtmlHelpersTest, FontTagsOfAStyle) {
  TFontInfo style(nullptr), base(nullptr);
  style.Style = {fsBold, fsUnderline};
  style.VShift = 5;
  style.Color = clRed;
  EXPECT_EQ(GetHtmlOpenFontTags(style, nullptr, 0), "<font size=2 color=\"#ff0000\" face=\"Arial\"><b><u><sup>");
  // A name cannot end the attribute or start markup.
  TCustomRPFontInfo odd(nullptr);
  odd.FontName = "A\"B&<C>";
  EXPECT_EQ(GetHtmlOpenFontTags(odd, nullptr, 0), "<font size=2 color=\"#000000\" face=\"A&quot;B&amp;&lt;C&gt;\">");
  EXPECT_EQ(HtmlAttributeText("x=\"1\" & <y>"), "x=&quot;1&quot; &amp; &lt;y&gt;");
  EXPECT_EQ(GetHtmlCloseFontTags(style, nullptr), "</sup></u></b></font>");
  // Relative to a base: only what differs.
  base.Style = {fsItalic, fsUnderline};
  base.Color = clRed;
  base.FontName = "arial";
  EXPECT_EQ(GetHtmlOpenFontTags(style, &base, rphtmlQuotedAttributes), "</i><b><sup>");
  EXPECT_EQ(GetHtmlCloseFontTags(style, &base), "</sup></b><i>");
  base.Size = 20;
  EXPECT_EQ(GetHtmlOpenFontTags(style, &base, rphtmlQuotedAttributes), "<font size=\"2\"></i><b><sup>");
  EXPECT_EQ(GetHtmlCloseFontTags(style, &base), "</sup></b><i></font>");
  style.VShift = -1;
  EXPECT_EQ(GetHtmlCloseFontTags(style, nullptr).substr(0, 6), "</sub>");
}

TEST(RPHtmlHelpersTest, FontTagsOfAListMarkersFont) {
  TFont font;
  font.SetName("Courier New");
  font.SetSize(12);
  font.SetColor(clBlue);
  font.SetStyle(TFontStyles{fsBold});
  EXPECT_EQ(GetMarkerFontOpenTags(font, nullptr, true, 0), "<font size=3 color=\"#0000ff\" face=\"Courier New\"><b>");
  EXPECT_EQ(GetMarkerFontCloseTags(font, nullptr, true), "</b></font>");
  // Without comparing faces no face is written (a symbol font's text goes out as
  // entities).
  EXPECT_EQ(GetMarkerFontOpenTags(font, nullptr, false, 0), "<font size=3 color=\"#0000ff\"><b>");
  // Inside superscript italic text of size 12 in blue: the base's shift is closed before
  // and reopened after, its italics too, and only the face differs.
  TFontInfo base(nullptr);
  base.Size = 12;
  base.Color = clBlue;
  base.Style = {fsItalic};
  base.VShift = 30;
  EXPECT_EQ(GetMarkerFontOpenTags(font, &base, true, rphtmlQuotedAttributes),
            "</sup><font face=\"Courier New\"></i><b>");
  EXPECT_EQ(GetMarkerFontCloseTags(font, &base, true), "</b><i></font><sup>");
  EXPECT_EQ(GetMarkerFontOpenTags(font, &base, false, 0), "</sup></i><b>");
  EXPECT_EQ(GetMarkerFontCloseTags(font, &base, false), "</b><i><sup>");
  base.VShift = -30;
  font.SetSize(8);
  EXPECT_EQ(GetMarkerFontOpenTags(font, &base, false, rphtmlQuotedAttributes), "</sub><font size=\"1\"></i><b>");
  EXPECT_EQ(GetMarkerFontCloseTags(font, &base, false), "</b><i></font><sub>");
}

TEST(RPHtmlHelpersTest, SymbolFontText) {
  EXPECT_EQ(SymbolTextToHtml("a("), "&alpha;(");
  EXPECT_EQ(SymbolTextToHtml("\"$'@\\^`"), "&forall;&exist;?&cong;&there4;&perp;-");
  EXPECT_EQ(SymbolTextToHtml("fjvJ"), "&#981;&phi;&#982;&#977;");
  EXPECT_EQ(SymbolTextToHtml("\xA5\xB0\xF0\xFE\xFF\x1F\x80\xA0"), "&infin;\xB0&euro;/");
  // U+F061 (the symbol fonts' private area) folds to "a".
  EXPECT_EQ(SymbolTextToHtmlW(AnsiString("\x61\xF0\x57\x00", 4)), "&alpha;&Omega;");
  try {
    SymbolTextToHtmlW(AnsiString("abc", 3));
    FAIL() << "no exception";
  } catch (const ERichPaneError& e) {
    EXPECT_STREQ(e.what(), "Can't perform Unicode operation");
  }
}

}  // namespace

namespace {

TEST(RPHtmlHelpersTest, MarkerFontCss) {
  TFont font;
  font.SetName("Times New Roman");
  font.SetSize(12);
  font.SetColor(clRed);
  font.SetStyle({fsBold, fsUnderline, fsStrikeOut});
  EXPECT_EQ(GetMarkerFontCss(font, true),
            "font-weight: bold; font-size: 12pt; font-family: 'Times New Roman'; text-decoration: underline "
            "line-through; color: #ff0000;");
  font.SetStyle({fsItalic});
  font.SetName("Wingdings");
  EXPECT_EQ(GetMarkerFontCss(font, true),
            "font-style: italic; font-size: 12pt; font-family: 'Arial Unicode MS', 'Lucida Sans Unicode', 'Arial'; "
            "color: #ff0000;");
  // Any other name as a CSS string that also fits a double-quoted attribute.
  font.SetName("O'Neil \"Sans\"");
  EXPECT_EQ(GetMarkerFontCss(font, true),
            "font-style: italic; font-size: 12pt; font-family: 'O\\'Neil \\&quot;Sans\\&quot;'; color: #ff0000;");
  font.SetStyle({});
  font.SetHeight(20);  // a cell height: the size in points is negative
  EXPECT_EQ(GetMarkerFontCss(font, false), "font-size: 20px; color: #ff0000;");
}

TEST(RPHtmlHelpersTest, GraphicClassesKeptForHtml) {
  TBitmap bitmap;
  EXPECT_FALSE(IsGraphicClassKeptForHTML(bitmap));
  KeepGraphicClassForHTML(&TBitmap::ClassInfo);
  KeepGraphicClassForHTML(&TBitmap::ClassInfo);
  EXPECT_TRUE(IsGraphicClassKeptForHTML(bitmap));
  ForgetGraphicClassKeptForHTML(&TBitmap::ClassInfo);
  EXPECT_FALSE(IsGraphicClassKeptForHTML(bitmap));
}

}  // namespace
