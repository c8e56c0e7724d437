#include "richtext/model/RPStyleCss.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/base/Streams.h"
#include "platform/base/TempFolder.h"
#include "richtext/model/RPStyle.h"

namespace {

std::string SheetCss(const TRPStyle& sheet, uint32_t options) {
  TMemoryStream stream;
  sheet.WriteCSS(stream, options);
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

// The lines joined with CR LF after each.
std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

// Runs tinycss2 over the style sheet: one line per declaration, "selector TAB property TAB
// value" (strings as <text>). A missing tinycss2 or a parse error fails the test.
std::vector<std::string> ParsedByTinycss2(const std::string& css) {
  TempFolder folder;
  const std::string file = folder / "sheet.css";
  WriteBytes(file, css);
  const std::string command =
      "/usr/bin/python3 '" QF_TEST_SOURCE_DIR "/richtext/model/css_peer.py' '" + file + "' 2>&1";
  std::vector<std::string> lines;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    ADD_FAILURE() << "cannot run " << command;
    return lines;
  }
  std::string out;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
  const int status = pclose(pipe);
  if (status != 0) {
    ADD_FAILURE() << "the CSS peer refused the style sheet (it needs python3-tinycss2; run scripts/setup.sh):\n"
                  << out << "\n--- the style sheet:\n"
                  << css;
    return lines;
  }
  for (size_t start = 0, end; start < out.size(); start = end + 1) {
    end = out.find('\n', start);
    if (end == std::string::npos) end = out.size();
    lines.push_back(out.substr(start, end - start));
  }
  return lines;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  for (const auto& l : lines)
    if (l == line) return true;
  return false;
}

const std::vector<std::string> TextBanner = {"/* ========== Text Styles ========== */", "hr { color: #000000}"};
const std::vector<std::string> ParaBanner = {"/* ========== Para Styles ========== */"};

// Text style 0 as the body, and paragraph style 0 as the paragraphs, when they hold
// the defaults.
const std::vector<std::string> NormalRule = {
    "body, table /* Normal text */",
    "{",
    " font-size: 10pt;",
    " font-family: 'Arial';",
    " font-style: normal;",
    " font-weight: normal;",
    " color: #000000;",
    " text-decoration: none;",
    "}",
};
const std::vector<std::string> DefaultParaRule = {
    "p,ul,ol /* Paragraph Style */", "{", " text-align: left;", " text-indent: 0px;", " padding: 0px 0px 0px 0px;",
    " margin: 0px 0px 0px 0px;",     "}",
};

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(RPStyleCssTest, AFreshSheet) {
  TRPStyle sheet(nullptr);
  const std::vector<std::string> expected = Join({
      TextBanner,
      NormalRule,
      {"span.rpts1 /* Heading */", "{", " font-weight: bold;", " color: #0000ff;", "}"},
      {"span.rpts2 /* Subheading */", "{", " font-weight: bold;", " color: #000080;", "}"},
      {"span.rpts3 /* Keywords */", "{", " font-style: italic;", " color: #800000;", "}"},
      {"a.rpts4, span.rpts4 /* Jump 1 */", "{", " color: #008000;", " text-decoration: underline;", "}"},
      {"a.rpts5, span.rpts5 /* Jump 2 */", "{", " color: #008000;", " text-decoration: underline;", "}"},
      ParaBanner,
      DefaultParaRule,
      {".rpps1 /* Centered */", "{", " text-align: center;", "}"},
  });
  const std::string css = SheetCss(sheet, 0);
  EXPECT_EQ(css, Lines(expected));
  EXPECT_EQ(ParsedByTinycss2(css).size(), 22u);  // one line per declaration

  // Without default left alignment, and without default elements.
  const std::string noLeft = SheetCss(sheet, rpcssNoDefaultLeftAlign);
  EXPECT_EQ(noLeft.find(" text-align: left;"), std::string::npos);
  const std::string noDefaults = SheetCss(sheet, rpcssNoDefaultElements);
  EXPECT_NE(noDefaults.find("span.rpts0 /* Normal text */\r\n"), std::string::npos);
  EXPECT_NE(noDefaults.find(".rpps0 /* Paragraph Style */\r\n"), std::string::npos);
  EXPECT_NE(noDefaults.find("span.rpts1 /* Heading */\r\n{\r\n font-size: 10pt;\r\n"), std::string::npos);
  EXPECT_EQ(noDefaults.find("body"), std::string::npos);

  // A paragraph style identical to paragraph style 0 has an empty rule.
  sheet.ParaStyles().Add()->Assign(*sheet.ParaStyles()[0]);
  const std::string more = SheetCss(sheet, 0);
  EXPECT_TRUE(more.ends_with("}\r\n.rpps2 /* Paragraph Style */\r\n{\r\n}\r\n")) << more;
}

// A sheet that uses every property: text style 1 all of them, text style 2 the Symbol
// font and a lowered run, based on style 1; paragraph style 1 every paragraph property,
// paragraph style 2 spacing between lines, based on paragraph style 1.
class RPStyleCssEveryPropertyTest : public ::testing::Test {
protected:
  void SetUp() override {
    sheet.TextStyles().Clear();
    sheet.TextStyles().Add()->StyleName = "Normal text";
    TFontInfo& fancy = *sheet.TextStyles().Add();
    fancy.StyleName = "Fancy";
    fancy.Size = 14;
    fancy.BiDiMode = rpbdRightToLeft;
    fancy.FontName = "Face; with } and 'quotes'";
    fancy.Style = {fsBold, fsItalic, fsUnderline, fsStrikeOut};
    fancy.StyleEx = {rpfsOverline, rpfsAllCaps};
    fancy.Color = 0x336699;
    fancy.CharSpacing = 2;
    fancy.BackColor = clYellow;
    fancy.VShift = 5;
    fancy.Jump = true;
    fancy.HoverColor = clRed;
    fancy.HoverBackColor = clSilver;
    TFontInfo& symbols = *sheet.TextStyles().Add();
    symbols.StyleName = "Symbols";
    symbols.Standard = false;
    symbols.FontName = "Symbol";
    symbols.VShift = -3;
    symbols.BaseStyleNo = 1;
    sheet.TextStyles().Add()->StyleName = "Name */ </style>";

    sheet.ParaStyles().Clear();
    sheet.ParaStyles().Add();
    TParaInfo& boxed = *sheet.ParaStyles().Add();
    boxed.StyleName = "Boxed";
    boxed.Alignment = rpaJustify;
    boxed.BiDiMode = rpbdLeftToRight;
    boxed.FirstIndent = 15;
    boxed.LeftIndent = 40;
    boxed.RightIndent = 10;
    boxed.SpaceBefore = 12;
    boxed.SpaceAfter = 6;
    boxed.LineSpacing = 150;
    boxed.Options = {rppaoNoWrap, rppaoKeepLinesTogether, rppaoKeepWithNext};
    boxed.Border.Style = rpbDouble;
    boxed.Border.Color = clNavy;
    boxed.Border.Width = 2;
    boxed.Border.InternalWidth = 1;
    boxed.Border.VisibleBorders.SetValues(true, false, true, false);
    boxed.Border.BorderOffsets.Left = 3;
    boxed.Border.BorderOffsets.Top = 4;
    boxed.Border.BorderOffsets.Right = 5;
    boxed.Border.BorderOffsets.Bottom = 6;
    boxed.Background.Color = clSilver;
    boxed.Background.BorderOffsets.SetAll(5);
    boxed.Tabs.AddTab(100);  // tabs have no CSS
    TParaInfo& spaced = *sheet.ParaStyles().Add();
    spaced.StyleName = "Spaced";
    spaced.LineSpacingType = rplsSpaceBetween;
    spaced.LineSpacing = 4;
    spaced.BaseStyleNo = 1;
  }

  TRPStyle sheet{nullptr};
};

const std::vector<std::string> FancyRule = {
    "a.rpts1, span.rpts1 /* Fancy */",
    "{",
    " font-size: 14pt;",
    " direction: rtl;",
    " font-family: 'Face\\3B  with \\7D  and \\'quotes\\'';",
    " font-style: italic;",
    " font-weight: bold;",
    " color: #996633;",
    " letter-spacing: 2px;",
    " text-transform: uppercase;",
    " background-color: #ffff00;",
    " vertical-align: super;",
    " text-decoration: underline line-through overline;",
    "}",
    "a.rpts1:hover { color: #ff0000; background-color: #c0c0c0; }",
};

const std::vector<std::string> BoxedRule = {
    ".rpps1 /* Boxed */",
    "{",
    " text-align: justify;",
    " direction: ltr;",
    " text-indent: 15px;",
    " line-height: 1.50;",
    " white-space: nowrap;",
    " page-break-inside: avoid;",
    " page-break-after: avoid;",
    " border-color: #000080;",
    " border-style: double;",
    " border-width: 3px;",
    " border-top: none;",
    " border-bottom: none;",
    " background: #c0c0c0;",
    // the border's offsets raised to the background's
    " padding: 5px 5px 6px 5px;",
    " margin: 7px 5px 0px 35px;",
    "}",
};

TEST_F(RPStyleCssEveryPropertyTest, RulesAgainstTheDefaultElements) {
  const std::string css = SheetCss(sheet, 0);
  const std::vector<std::string> expected = Join({
      TextBanner,
      NormalRule,
      FancyRule,
      {"span.rpts2", "{", " font-family: 'Arial Unicode MS', 'Lucida Sans Unicode', 'Arial';", " vertical-align: sub;",
       "}"},
      {"span.rpts3 /* Name * / < /style> */", "{", "}"},
      ParaBanner,
      DefaultParaRule,
      BoxedRule,
      {".rpps2 /* Spaced */", "{", "}"},
  });
  EXPECT_EQ(css, Lines(expected));

  const std::vector<std::string> parsed = ParsedByTinycss2(css);
  EXPECT_TRUE(Contains(parsed, "a.rpts1, span.rpts1\tfont-family\t<Face; with } and 'quotes'>"));
  EXPECT_TRUE(Contains(parsed, "a.rpts1:hover\tbackground-color\t#c0c0c0"));
  EXPECT_TRUE(Contains(parsed, "span.rpts2\tfont-family\t<Arial Unicode MS>, <Lucida Sans Unicode>, <Arial>"));
  EXPECT_TRUE(Contains(parsed, "span.rpts3\t\t"));  // the name did not end its comment
  EXPECT_TRUE(Contains(parsed, ".rpps1\tmargin\t7px 5px 0px 35px"));
  EXPECT_TRUE(Contains(parsed, ".rpps2\t\t"));
}

TEST_F(RPStyleCssEveryPropertyTest, RulesAgainstTheirBaseStyles) {
  const std::string css = SheetCss(sheet, rpcssBaseStyles);
  const std::vector<std::string> expected = Join({
      TextBanner,
      NormalRule,
      FancyRule,
      {"span.rpts2", "{", " font-size: 10pt;", " direction: inherit;",
       " font-family: 'Arial Unicode MS', 'Lucida Sans Unicode', 'Arial';", " font-style: normal;",
       " font-weight: normal;", " color: #000000;", " letter-spacing: 0px;", " text-transform: none;",
       " background-color: transparent;", " vertical-align: sub;", " text-decoration: none;", "}"},
      {"span.rpts3 /* Name * / < /style> */", "{", "}"},
      ParaBanner,
      DefaultParaRule,
      BoxedRule,
      {".rpps2 /* Spaced */", "{", " text-align: left;", " direction: inherit;", " text-indent: 0px;",
       " line-height: normal;", " white-space: normal;", " page-break-inside: auto;", " page-break-after: auto;",
       " border: none;", " background: transparent;", " padding: 0px 0px 0px 0px;", " margin: 0px 0px 0px 0px;", "}"},
  });
  EXPECT_EQ(css, Lines(expected));
  const std::vector<std::string> parsed = ParsedByTinycss2(css);
  EXPECT_TRUE(Contains(parsed, ".rpps2\tline-height\tnormal"));
  EXPECT_TRUE(Contains(parsed, "span.rpts2\tvertical-align\tsub"));
}

TEST_F(RPStyleCssEveryPropertyTest, NamesInUtf8) {
  sheet.DefCodePage = 1251;
  sheet.TextStyles()[1]->FontName = "\xC6\xF3\xF0\xED\xE0\xEB";   // "Журнал" in code page 1251
  sheet.TextStyles()[1]->StyleName = "\xCA\xF3\xF0\xF1\xE8\xE2";  // "Курсив"
  const std::string css = SheetCss(sheet, rpcssUtf8);
  EXPECT_NE(css.find("a.rpts1, span.rpts1 /* \xD0\x9A\xD1\x83\xD1\x80\xD1\x81\xD0\xB8\xD0\xB2 */"), std::string::npos);
  const std::vector<std::string> parsed = ParsedByTinycss2(css);
  EXPECT_TRUE(Contains(parsed, "a.rpts1, span.rpts1\tfont-family\t<\xD0\x96\xD1\x83\xD1\x80\xD0\xBD\xD0\xB0\xD0\xBB>"));
}

TEST_F(RPStyleCssEveryPropertyTest, ShiftsAndSpacingInTheirOtherForms) {
  // A shifted base against an unshifted style goes back to the baseline; one-line
  // declarations name a background even when there is none.
  sheet.TextStyles()[2]->VShift = 0;
  EXPECT_NE(SheetCss(sheet, rpcssBaseStyles).find(" vertical-align: baseline;"), std::string::npos);
  TMemoryStream stream;
  TFontInfo plain(nullptr);
  plain.WriteCSS(stream, nullptr, false, false);
  EXPECT_EQ(std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size())),
            " font-size: 10pt; font-family: 'Arial'; font-style: normal; font-weight: normal; color: #000000;"
            " background-color: transparent; text-decoration: none;");
  const struct {
    int32_t Percent;
    const char* Value;
  } heights[] = {{150, "1.50"}, {105, "1.05"}, {200, "2.00"}, {99, "0.99"}, {-150, "-1.50"}};
  for (const auto& h : heights) {
    SCOPED_TRACE(h.Percent);
    TParaInfo para(nullptr);
    para.LineSpacing = h.Percent;
    TMemoryStream out;
    para.WriteCSS(out, nullptr, true, true, true);
    const std::string text(static_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
    EXPECT_NE(text.find(std::string(" line-height: ") + h.Value + ";\r\n"), std::string::npos);
    // Left indents ignored: three margins, no text-indent.
    EXPECT_EQ(text.find("text-indent"), std::string::npos);
    EXPECT_NE(text.find(" margin-top: 0px;\r\n margin-right: 0px;\r\n margin-bottom: 0px;\r\n"), std::string::npos);
  }
}

TEST(RPStyleCssTest, TheBorderWidthOfEachStyle) {
  const struct {
    TRPBorderStyle Style;
    const char* Kind;
    int32_t Width;
  } borders[] = {
      {rpbSingle, "solid", 3},       {rpbDouble, "double", 5},       {rpbTriple, "double", 7},
      {rpbThickInside, "double", 6}, {rpbThickOutside, "double", 6},
  };
  for (const auto& b : borders) {
    SCOPED_TRACE(b.Kind);
    TParaInfo para(nullptr);
    para.Border.Style = b.Style;
    para.Border.Width = 3;
    para.Border.InternalWidth = 2;
    TMemoryStream out;
    para.WriteCSS(out, nullptr, false, false, false);
    const std::string text(static_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
    EXPECT_NE(text.find(std::string(" border-style: ") + b.Kind + "; border-width: " + std::to_string(b.Width) + "px;"),
              std::string::npos);
  }
  // A border without colour is no border.
  TParaInfo none(nullptr);
  none.Border.Style = rpbSingle;
  none.Border.Color = clNone;
  TMemoryStream out;
  none.WriteCSS(out, nullptr, false, false, false);
  EXPECT_EQ(std::string(static_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size())).find("border"),
            std::string::npos);
}

TEST(RPStyleCssTest, StringsAndCommentsCannotBreakOut) {
  EXPECT_EQ(CssQuotedString("Arial"), "'Arial'");
  EXPECT_EQ(CssQuotedString("a'b\"c\\d"), "'a\\'b\\\"c\\\\d'");
  EXPECT_EQ(CssQuotedString("x;y{z}<w>"), "'x\\3B y\\7B z\\7D \\3C w\\3E '");
  EXPECT_EQ(CssQuotedString(std::string("a\nb\x7F", 4)), "'a\\A b\\7F '");
  EXPECT_EQ(CssQuotedString(std::string("\0", 1)), "'\\FFFD '");
  EXPECT_EQ(CssQuotedString("\xC6"), "'\xC6'");  // 8-bit text stays as it is
  EXPECT_EQ(CssCommentText("a */ b </style> <!-- c\td"), "a * / b < /style> < !-- c d");
  // Every byte value in a face name still parses as the one string it was.
  std::string all;
  for (int c = 1; c < 0x80; ++c) all += static_cast<char>(c);
  const std::vector<std::string> parsed = ParsedByTinycss2("p { font-family: " + CssQuotedString(all) + "; }\r\n");
  std::string expected = "p\tfont-family\t<";
  for (int c = 1; c < 0x80; ++c) {
    char shown[8];
    std::snprintf(shown, sizeof shown, "\\x%02x", c);
    expected += c == '\\' ? "\\\\" : c < 0x20 || c == 0x7F ? std::string(shown) : std::string(1, static_cast<char>(c));
  }
  EXPECT_EQ(parsed, std::vector<std::string>{expected + ">"});
}

TEST(RPStyleCssTest, StreamWriters) {
  TMemoryStream stream;
  WriteStringToStream(stream, "a");
  WriteLineToStream(stream, "b");
  WriteStringToStreamEx(stream, "c", false);
  WriteStringToStreamEx(stream, "d", true);
  EXPECT_EQ(std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size())), "ab\r\ncd\r\n");
}

}  // namespace
