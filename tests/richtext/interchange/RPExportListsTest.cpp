// Lists in the exports: the RTF list and override tables, level texts and numbers, the
// paragraphs of list items; HTML lists, nested in their items, and markers written inline.
#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <set>
#include <string>

#include "platform/base/Random.h"
#include "richtext/interchange/RPExportTestData.h"

namespace {

// The "{\listlevel" groups of the RTF.
std::vector<std::string> ListLevels(const std::string& rtf) {
  std::vector<std::string> levels;
  for (size_t at = rtf.find("{\\listlevel"); at != std::string::npos; at = rtf.find("{\\listlevel", at + 1))
    levels.push_back(rtf.substr(at, rtf.find("}\r\n", at) + 1 - at));
  return levels;
}

TEST(RPExportListsTest, ListTablesWriteOneOrNineLevels) {
  TExportView view;
  view.AddList({rplstDecimal, rplstLowerAlpha, rplstUpperRoman});
  view.AddList({rplstBullet});
  view.AddMarker(0, 0, u"a");
  const std::string rtf = view.Rtf();
  const std::vector<std::string> levels = ListLevels(rtf);
  // A list of three levels writes nine, the last repeated; one of one level writes one
  // and says it is simple.
  ASSERT_EQ(levels.size(), 10u);
  EXPECT_EQ(levels[8], levels[2]);
  EXPECT_EQ(CountOf(rtf, "\\listsimple1"), 1);
  EXPECT_NE(rtf.find("\\listsimple1\r\n{\\listlevel\\levelnfc23"), std::string::npos);
}

TEST(RPExportListsTest, LevelWords) {
  TExportView view;
  TRPListInfo& list = view.AddList({rplstUpperRoman, rplstBullet, rplstLowerAlpha});
  TRPListLevel& first = *list.Levels()[0];
  first.StartFrom = 3;
  first.MarkerAlignment = rpmaRight;
  first.Options = TRPListLevelOptions{rploLegalStyleNumbering};
  first.GetFont().SetColor(clRed);
  first.GetFont().SetStyle(TFontStyles{fsBold});
  list.Levels()[1]->MarkerAlignment = rpmaCenter;
  view.AddMarker(0, 0, u"a");
  const std::vector<std::string> levels = ListLevels(view.Rtf());
  ASSERT_EQ(levels.size(), 9u);
  // Left indent 20, marker at 5, text at 20: twips; legal numbering, no restart.
  EXPECT_EQ(levels[0],
            "{\\listlevel\\levelnfc1\\leveljc2\\li300\\fi-225\\jclisttab\\tx300\\levelstartat3\\levellegal1"
            "\\levelnorestart1{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}\\f0\\b\\fs16\\cf6}");
  // A bullet has no start.
  EXPECT_EQ(levels[1],
            "{\\listlevel\\levelnfc23\\leveljc1\\li600\\fi-225\\jclisttab\\tx600{\\leveltext\\'01\\'b7;}"
            "{\\levelnumbers;}\\f0\\fs16}");
  EXPECT_NE(levels[2].find("\\levelnfc4\\leveljc0"), std::string::npos);
}

TEST(RPExportListsTest, LevelTextsByKind) {
  struct TCase {
    TRPListType Type;
    std::string Format;
    std::u16string Wide;
    std::string Texts;
  } cases[] = {
      {rplstDecimal, "%0:s.%1:s)", u"", "{\\leveltext\\'04\\'00.\\'01);}{\\levelnumbers\\'01\\'03;}"},
      {rplstDecimal, "{%1:s}", u"", "{\\leveltext\\'03\\{\\'01\\};}{\\levelnumbers\\'02;}"},
      {rplstDecimal, "%x", u"", "{\\leveltext\\'02%x;}{\\levelnumbers;}"},  // refused by Format: text
      {rplstBullet, "\x95", u"", "{\\leveltext\\'01\\'95;}{\\levelnumbers;}"},
      {rplstUnicodeBullet, "", u"\u25CF", "{\\leveltext\\'01\\u9679 ?;}{\\levelnumbers;}"},
      {rplstPicture, "", u"", "{\\leveltext\\'00;}{\\levelnumbers;}"},
      // The length stands in one byte: longer texts are cut to 255 characters, and a
      // pair of surrogates stays whole.
      {rplstDecimal, "%0:s" + std::string(300, 'y'), u"",
       "{\\leveltext\\'ff\\'00" + std::string(254, 'y') + ";}{\\levelnumbers\\'01;}"},
      {rplstBullet, std::string(300, 'x'), u"", "{\\leveltext\\'ff" + std::string(255, 'x') + ";}{\\levelnumbers;}"},
      {rplstUnicodeBullet, "", std::u16string(254, u'z') + u"\U0001F600",
       "{\\leveltext\\'fe" + std::string(254, 'z') + ";}{\\levelnumbers;}"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Texts);
    TExportView view;
    TRPListInfo& list = view.AddList({c.Type, c.Type});
    list.Levels()[1]->FormatString = c.Format;
    list.Levels()[1]->FormatStringW = c.Wide;
    view.AddMarker(0, 0, u"a");
    const std::vector<std::string> levels = ListLevels(view.Rtf());
    ASSERT_GE(levels.size(), 2u);
    EXPECT_NE(levels[1].find(c.Texts), std::string::npos) << levels[1];
  }
}

TEST(RPExportListsTest, IdsComeFromTheSeededGeneratorAndNeverRepeat) {
  TExportView view;
  for (int i = 0; i < 5; ++i) view.AddList({rplstDecimal});
  view.AddMarker(0, 0, u"a");
  SetRandSeed(7);
  const std::string first = view.Rtf();
  SetRandSeed(7);
  EXPECT_EQ(view.Rtf(), first);
  std::set<std::string> ids;
  for (const char* word : {"\\listtemplateid", "\\listid"})
    for (size_t at = first.find(word); at != std::string::npos && at < first.find("listoverridetable");
         at = first.find(word, at + 1))
      ids.insert(first.substr(at + std::strlen(word),
                              first.find_first_not_of("0123456789", at + std::strlen(word)) - at - std::strlen(word)));
  EXPECT_EQ(ids.size(), 10u);  // five template ids and five list ids, all different
}

TEST(RPExportListsTest, OverridesOfRestartingMarkers) {
  TExportView view;
  view.AddList({rplstDecimal, rplstDecimal});
  view.AddList({rplstBullet});
  view.AddMarker(0, 0, u"one");
  view.AddMarker(0, 1, u"restart deep", true, 7);
  view.AddMarker(1, 0, u"bullet");
  view.AddMarker(0, 0, u"restart", true, 5);
  SetRandSeed(1);
  const std::string rtf = view.Rtf();
  const size_t table = rtf.find("{\\*\\listoverridetable");
  const std::string overrides = rtf.substr(table, rtf.find("}\r\n\r\n", table) - table);
  const std::regex entry("\\\\listid(\\d+)\\\\listoverridecount(\\d)(.*?)\\\\ls(\\d)\\}");
  std::vector<std::string> got;
  for (auto it = std::sregex_iterator(overrides.begin(), overrides.end(), entry); it != std::sregex_iterator(); ++it)
    got.push_back((*it)[2].str() + (*it)[3].str() + " ls" + (*it)[4].str());
  EXPECT_EQ(got, (std::vector<std::string>{"0 ls1", "2{\\lfolevel}{\\lfolevel\\listoverridestartat\\levelstartat7} ls2",
                                           "1{\\lfolevel\\listoverridestartat\\levelstartat5} ls3", "0 ls4"}))
      << overrides;
  // The markers take the same numbers in the same order.
  const std::string body = RtfBody(rtf);
  std::vector<std::string> used;
  const std::regex word("\\\\ls(\\d)\\\\ilvl(\\d)");
  for (auto it = std::sregex_iterator(body.begin(), body.end(), word); it != std::sregex_iterator(); ++it)
    used.push_back((*it)[0].str());
  EXPECT_EQ(used, (std::vector<std::string>{"\\ls1\\ilvl0", "\\ls2\\ilvl1", "\\ls4\\ilvl0", "\\ls3\\ilvl0"}));
}

TEST(RPExportListsTest, ListParagraphs) {
  TExportView view;
  view.AddList({rplstDecimal});
  view.AddMarker(0, 0, u"one");
  view.AddMarker(0, 0, u"two");
  view.Pane.AddTextNL("after", 0, 0, 0);
  EXPECT_EQ(RtfBody(view.Rtf()),
            // The level's indents; the next item of the same list, level and style keeps
            // the paragraph's formatting; "\plain" before the mark after a list item, and
            // the next run states its formatting again.
            "\\pard\\li300\\fi-225\\jclisttab\\tx300\\ql\\ri0\\sb0\\sa0\\itap0 {\\listtext\\pard\\plain\\f0\\fs16 1."
            "\\tab}\\ls1\\ilvl0 \\plain \\f0\\fs20 one\r\n"
            "\\plain\\par {\\listtext\\pard\\plain\\f0\\fs16 2.\\tab}\\ls1\\ilvl0 \\plain \\f0\\fs20 two\r\n"
            "\\plain\\par \\pard\\fi0\\li0\\ql\\ri0\\sb0\\sa0\\itap0 \\plain \\f0\\fs20 after}");
}

TEST(RPExportListsTest, ASelectionInAListItemStartsWithItsMarker) {
  TExportView view;
  view.AddList({rplstDecimal});
  view.AddMarker(0, 0, u"one");
  view.AddMarker(0, 0, u"two words");
  view.Pane.Format();
  view.Pane.SetSelectionBounds(3, 5, 3, 10);  // "words"
  const std::string body = RtfBody(view.Rtf(true));
  EXPECT_EQ(body,
            "\\pard\\li300\\fi-225\\jclisttab\\tx300\\ql\\ri0\\sb0\\sa0\\itap0 {\\listtext\\pard\\plain\\f0\\fs16 2."
            "\\tab}\\ls1\\ilvl0 \\plain \\f0\\fs20 words}");
}

TEST(RPExportListsTest, HtmlListsNestInTheirItems) {
  TExportView view;
  view.AddList({rplstDecimal, rplstLowerAlpha, rplstBullet});
  view.AddMarker(0, 0, u"one");
  view.AddMarker(0, 1, u"one.a");
  view.AddMarker(0, 0, u"two");
  view.AddMarker(0, 2, u"jump");  // two levels deeper at once
  view.Pane.AddTextNL("after", 0, 0, 0);
  EXPECT_EQ(view.HtmlBody(rphtmlNoBodyFontTags, false),
            "<ol>\r\n<li value=1>one\r\n"
            "<ol type=a>\r\n<li value=1>one.a\r\n</li>\r\n</ol>\r\n</li>\r\n"
            "<li value=2>two\r\n"
            "<ol type=a>\r\n<li style=\"list-style-type: none\"><ul>\r\n<li>jump\r\n</li>\r\n</ul>\r\n</li>\r\n"
            "</ol>\r\n</li>\r\n</ol>\r\n"
            "<p>after</p>\r\n");
  const std::string xhtml = view.HtmlBody(rphtmlQuotedAttributes, true);
  EXPECT_NE(xhtml.find("<li value=\"1\">one.a\r\n</li>"), std::string::npos) << xhtml;
  EXPECT_NE(xhtml.find("<ol type=\"a\" style=\"text-indent: 0px; margin-left: 20px; list-style-position: outside;\">"),
            std::string::npos);
}

TEST(RPExportListsTest, AnotherListClosesTheOpenOne) {
  TExportView view;
  view.AddList({rplstDecimal});
  view.AddList({rplstBullet});
  view.AddMarker(0, 0, u"n");
  view.AddMarker(1, 0, u"b");
  EXPECT_EQ(view.HtmlBody(rphtmlNoBodyFontTags, false),
            "<ol>\r\n<li value=1>n\r\n</li>\r\n</ol>\r\n<ul>\r\n<li>b\r\n</li>\r\n</ul>\r\n");
}

TEST(RPExportListsTest, MarkersWrittenInline) {
  TExportView view;
  view.AddList({rplstDecimal});
  view.AddMarker(0, 0, u"one");
  EXPECT_EQ(view.HtmlBody(rphtmlListMarkersInline | rphtmlNoBodyFontTags, false),
            "<p><font size=1>1.</font>\r\none</p>\r\n");
  // The CSS flavour gives the paragraph the level's indents.
  EXPECT_EQ(view.HtmlBody(rphtmlListMarkersInline, true),
            "\r\n<p style=\"text-indent: -15px; padding-left: 15px; margin-left: 5px;\"><span style=\"font-size: 8pt; "
            "font-family: 'Arial'; color: #000000;\">1.</span>\r\none</p>\r\n");
}

}  // namespace
