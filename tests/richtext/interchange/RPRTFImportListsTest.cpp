// Numbered and bulleted paragraphs imported as list styles and markers: old-style \pn
// numbering (its level map, bullets, number formats and indents, existing list styles
// reused) and the list table (\ls, \ilvl: Symbol and Wingdings bullets, format strings,
// indents from tab positions, level reset, legal numbering, the overrides' starts, the
// levels adjusted to their paragraphs).
#include <gtest/gtest.h>

#include "richtext/interchange/RPRTFImportFixture.h"

namespace {

std::string ListDoc(const std::string& body) {
  return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\ftech\\fcharset2 Symbol;}"
         "{\\f2\\fnil\\fcharset2 Wingdings;}}" +
         body + "}";
}

// A list table of one list (id 7) with the given levels, and override 1 of it (with
// overrideLevels inside).
std::string ListTable(const std::string& levels, const std::string& overrideLevels = "") {
  return "{\\*\\listtable{\\list\\listtemplateid1" + levels +
         "\\listid7}}{\\*\\listoverridetable{\\listoverride\\listid7" +
         (overrideLevels.empty() ? "\\listoverridecount0" : "\\listoverridecount1" + overrideLevels) + "\\ls1}}";
}

// A level that starts at 1 unless words say otherwise (writers always give the start).
std::string Level(const std::string& words, const std::string& text) {
  return "{\\listlevel\\levelstartat1" + words + "{\\leveltext " + text + ";}{\\levelnumbers;}}";
}

// The level's own font (every imported level has one).
const TRPMarkerFont& FontOf(const TRPListLevel& level) {
  static const TRPMarkerFont none;
  EXPECT_NE(level.FindFont(), nullptr);
  return level.FindFont() ? *level.FindFont() : none;
}

class RPRTFImportLists : public ::testing::Test {
protected:
  TImportFixture F;
  TReportRPData& Data() { return F.Data(); }
  const TRPMarkerItemInfo& Marker(int32_t itemNo) {
    auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(Data().GetItem(itemNo));
    EXPECT_NE(marker, nullptr) << TImportFixture::Dump(Data());
    static const TRPMarkerItemInfo none(nullptr);
    return marker ? *marker : none;
  }
  const TRPListLevel& Level0(int32_t listNo) { return *F.Style.ListStyles()[listNo]->Levels()[0]; }
  // Every marker's text and the text after it, one paragraph per line.
  std::string Labels() {
    std::string text;
    for (int32_t i = 0; i < Data().GetItemCount(); ++i) {
      const TCustomRPItemInfo& item = *Data().GetItem(i);
      if (i > 0 && !item.GetContinuesLine()) text += "\n";
      if (const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(&item)) {
        const TRPListLevel* level = marker->GetLevelInfo(&F.Style);
        text += "[" +
                (level && level->ListType == rplstUnicodeBullet ? WideToUtf8Text(level->FormatStringW)
                                                                : marker->DisplayString) +
                "]";
      } else if (item.StyleNo >= 0) {
        text += TImportFixture::ItemText(Data(), i);
      }
    }
    return text;
  }
};

// --- Old-style numbering -----------------------------------------------------------------------

TEST_F(RPRTFImportLists, OldStyleBulletsShareOneListStyle) {
  const std::string item = "{\\*\\pn\\pnlvlblt\\pnf1\\pnfs20\\pnindent360{\\pntxtb\\'b7}}\\fi-360\\li720 ";
  ASSERT_EQ(F.Import(ListDoc("\\pard" + item + "one\\par\\pard" + item + "two\\par\\pard plain\\par")), rtf_ec_OK);
  EXPECT_EQ(TImportFixture::Dump(Data()),
            "marker p=0 N\ntext s=0 p=0 C 'one'\nmarker p=0 N\ntext s=0 p=0 C 'two'\n"
            "text s=0 p=0 N 'plain'\n");
  ASSERT_EQ(F.Style.ListStyles().Count(), 1);
  EXPECT_EQ(Marker(0).ListNo, 0);
  EXPECT_EQ(Marker(2).ListNo, 0);
  const TRPListLevel& level = Level0(0);
  EXPECT_EQ(level.ListType, rplstBullet);
  EXPECT_EQ(level.FormatString, "\xB7");
  EXPECT_EQ(FontOf(level).Name(), "Symbol");
  EXPECT_EQ(FontOf(level).Size(), 10);
  // Left indent 48, first line -24, indent 24: the marker at 24, the text at 48.
  EXPECT_EQ(level.LeftIndent, 48);
  EXPECT_EQ(level.MarkerIndent, 24);
  EXPECT_EQ(level.FirstIndent, 0);
  EXPECT_EQ(Labels(), "[\xB7]one\n[\xB7]two\nplain");
}

TEST_F(RPRTFImportLists, OldStyleNumbersCountFromTheirStart) {
  const std::string item = "{\\*\\pn\\pnlvlbody\\pndec\\pnstart3\\pnhang\\pnindent360\\pnsp120{\\pntxta .}}\\li360 ";
  ASSERT_EQ(F.Import(ListDoc("\\pard" + item + "three\\par\\pard" + item + "four\\par")), rtf_ec_OK);
  EXPECT_EQ(Labels(), "[3.]three\n[4.]four");
  const TRPListLevel& level = Level0(Marker(0).ListNo);
  EXPECT_EQ(level.ListType, rplstDecimal);
  EXPECT_EQ(level.FormatString, "%s.");
  EXPECT_EQ(level.StartFrom, 3);
  EXPECT_EQ(level.FirstIndent, 24);  // hanging: max(space 8, first 0 + indent 24)
}

TEST_F(RPRTFImportLists, OldStyleLevelsKeepTheirOwnListStyles) {
  const std::string one = "{\\*\\pn\\pnlvl1\\pnucrm\\pnstart1{\\pntxta )}}";
  const std::string two = "{\\*\\pn\\pnlvl2\\pnlcltr\\pnstart1{\\pntxta )}}\\li720";
  ASSERT_EQ(F.Import(ListDoc("\\pard" + one + "a\\par\\pard" + two + " b\\par\\pard" + two + " c\\par\\pard" + one +
                             "d\\par")),
            rtf_ec_OK);
  EXPECT_EQ(F.Style.ListStyles().Count(), 2);
  EXPECT_EQ(Labels(), "[I)]a\n[a)]b\n[b)]c\n[II)]d");
}

TEST_F(RPRTFImportLists, OldStyleNumberingReusesAnEqualListStyle) {
  TRPListLevel& level = *F.Style.ListStyles().Add()->Levels().Add();
  level.ListType = rplstDecimal;
  level.FormatString = "%0:s.";  // the second form of the format
  level.FirstIndent = 0;
  level.GetFont().SetName("Arial");
  level.GetFont().SetSize(12);
  ASSERT_EQ(F.Import(ListDoc("\\pard{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta .}}x\\par")), rtf_ec_OK);
  EXPECT_EQ(F.Style.ListStyles().Count(), 1);
  EXPECT_EQ(Marker(0).ListNo, 0);
  EXPECT_EQ(Labels(), "[1.]x");
}

// --- The list table --------------------------------------------------------------------------------

TEST_F(RPRTFImportLists, SymbolAndWingdingsBulletsBecomeTheirEightBitCharacters) {
  const std::string levels = Level("\\levelnfc23\\f1", "\\'01\\u-3913 ?") +
                             Level("\\levelnfc23\\f2", "\\'01\\u-3929 ?") + Level("\\levelnfc23\\f0", "\\'01\\u8226 ?");
  ASSERT_EQ(F.Import(ListDoc(ListTable(levels) +
                             "\\pard\\ls1\\ilvl0 a\\par\\pard\\ls1\\ilvl1 b\\par\\pard\\ls1\\ilvl2 c\\par")),
            rtf_ec_OK);
  ASSERT_EQ(F.Style.ListStyles().Count(), 1);
  const TRPListInfo& style = *F.Style.ListStyles()[0];
  ASSERT_EQ(style.Levels().Count(), 3);
  EXPECT_EQ(style.Levels()[0]->ListType, rplstBullet);
  EXPECT_EQ(style.Levels()[0]->FormatString, "\xB7");
  EXPECT_EQ(FontOf(*style.Levels()[0]).Name(), "Symbol");
  EXPECT_EQ(style.Levels()[1]->ListType, rplstBullet);
  EXPECT_EQ(style.Levels()[1]->FormatString, "\xA7");
  EXPECT_EQ(style.Levels()[2]->ListType, rplstUnicodeBullet);
  EXPECT_EQ(style.Levels()[2]->FormatStringW, u"\u2022");
  EXPECT_EQ(Marker(0).Level, 0);
  EXPECT_EQ(Marker(2).Level, 1);
  EXPECT_EQ(Marker(4).Level, 2);
}

TEST_F(RPRTFImportLists, FormatStringsLegalNumberingAndLevelReset) {
  const std::string levels = Level("\\levelnfc4", "\\'02\\'00)") +                                // a)
                             Level("\\levelnfc2\\levellegal", "\\'04\\'00.\\'01.") +              // 1.i. legal: 1.1.
                             Level("\\levelnfc0\\levelnorestart\\levelstartat5", "\\'02%\\'02");  // %5
  ASSERT_EQ(F.Import(ListDoc(ListTable(levels) +
                             "\\pard\\ls1\\ilvl0 a\\par\\pard\\ls1\\ilvl1 b\\par\\pard\\ls1\\ilvl2 c\\par"
                             "\\pard\\ls1\\ilvl0 d\\par\\pard\\ls1\\ilvl1 e\\par\\pard\\ls1\\ilvl2 f\\par")),
            rtf_ec_OK);
  const TRPListInfo& style = *F.Style.ListStyles()[0];
  EXPECT_EQ(style.Levels()[0]->FormatString, "%0:s)");
  EXPECT_EQ(style.Levels()[1]->FormatString, "%0:s.%1:s.");
  EXPECT_TRUE(style.Levels()[1]->Options.Contains(rploLegalStyleNumbering));
  EXPECT_EQ(style.Levels()[2]->FormatString, "%%%2:s");
  EXPECT_FALSE(style.Levels()[2]->Options.Contains(rploLevelReset));
  EXPECT_TRUE(style.Levels()[0]->Options.Contains(rploLevelReset));
  // The third level does not restart under "d": it goes on from 5.
  EXPECT_EQ(Labels(), "[a)]a\n[1.i.]b\n[%5]c\n[b)]d\n[2.i.]e\n[%6]f");
}

TEST_F(RPRTFImportLists, IndentsComeFromTheLevelAndItsTabPosition) {
  const std::string levels = Level("\\levelnfc0\\levelfollow0\\jclisttab\\tx1080\\fi-360\\li720", "\\'02\\'00.") +
                             Level("\\levelnfc0\\levelfollow0\\fi-360\\li1440", "\\'02\\'01.");
  ASSERT_EQ(F.Import(ListDoc(ListTable(levels) +
                             "\\pard\\ls1\\ilvl0\\fi-360\\li720 a\\par\\pard\\ls1\\ilvl1\\fi-360\\li1440 b\\par")),
            rtf_ec_OK);
  const TRPListInfo& style = *F.Style.ListStyles()[0];
  EXPECT_EQ(style.Levels()[0]->LeftIndent, 48);
  EXPECT_EQ(style.Levels()[0]->MarkerIndent, 24);
  EXPECT_EQ(style.Levels()[0]->FirstIndent, 24);  // the tab at 72 pixels
  // Without a tab position the text starts at the left indent.
  EXPECT_EQ(style.Levels()[1]->LeftIndent, 96);
  EXPECT_EQ(style.Levels()[1]->MarkerIndent, 72);
  EXPECT_EQ(style.Levels()[1]->FirstIndent, 0);
}

TEST_F(RPRTFImportLists, AddedLevelsTakeTheirFirstParagraphsIndentsAndTextSize) {
  const std::string levels =
      Level("\\levelnfc0\\fi-360\\li720", "\\'02\\'00.") + Level("\\levelnfc0\\fs16", "\\'02\\'01.");
  ASSERT_EQ(
      F.Import(ListDoc(ListTable(levels) + "\\pard\\ls1\\ilvl0\\fi-720\\li1440\\fs20 a\\par"
                                           "\\pard\\ls1\\ilvl0\\li0\\fs40 b\\par\\pard\\ls1\\ilvl1\\fs20 c\\par")),
      rtf_ec_OK);
  const TRPListLevel& first = *F.Style.ListStyles()[0]->Levels()[0];
  EXPECT_EQ(first.LeftIndent, 96);    // the first paragraph's, not the level's 48
  EXPECT_EQ(first.MarkerIndent, 48);  // 1440 - 720 twips
  EXPECT_EQ(first.LeftIndent + first.FirstIndent - first.MarkerIndent, 24);  // the room kept
  EXPECT_EQ(FontOf(first).Size(), 10);                                 // the text's size, from the first paragraph only
  EXPECT_EQ(FontOf(*F.Style.ListStyles()[0]->Levels()[1]).Size(), 8);  // its own size
}

TEST_F(RPRTFImportLists, AnOverridesStartRestartsItsFirstParagraph) {
  const std::string levels = Level("\\levelnfc0", "\\'02\\'00.");
  ASSERT_EQ(F.Import(ListDoc(ListTable(levels, "{\\lfolevel\\listoverridestartat\\levelstartat5}") +
                             "\\pard\\ls1 a\\par\\pard\\ls1 b\\par\\pard\\ls1 c\\par")),
            rtf_ec_OK);
  EXPECT_EQ(Labels(), "[5.]a\n[6.]b\n[7.]c");
  EXPECT_TRUE(Marker(0).Reset);
  EXPECT_FALSE(Marker(2).Reset);
}

TEST_F(RPRTFImportLists, TwoListsThatLookAlikeNumberApart) {
  const std::string list = "{\\list\\listtemplateid1" + Level("\\levelnfc0", "\\'02\\'00.");
  const std::string tables = "{\\*\\listtable" + list + "\\listid1}" + list +
                             "\\listid2}}{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}"
                             "{\\listoverride\\listid2\\listoverridecount0\\ls2}}";
  ASSERT_EQ(F.Import(ListDoc(tables + "\\pard\\ls1 a\\par\\pard\\ls1 b\\par\\pard\\ls2 c\\par")), rtf_ec_OK);
  EXPECT_EQ(F.Style.ListStyles().Count(), 2);
  EXPECT_EQ(Labels(), "[1.]a\n[2.]b\n[1.]c");
  // A second import reuses the two list styles, each for one list.
  ASSERT_EQ(F.Import(ListDoc(tables + "\\pard\\ls2 d\\par")), rtf_ec_OK);
  EXPECT_EQ(F.Style.ListStyles().Count(), 2);
  EXPECT_EQ(Labels(), "[1.]a\n[2.]b\n[1.]c\n[2.]d");
}

TEST_F(RPRTFImportLists, AListTableAfterTheFirstListParagraphIsMappedAgain) {
  // A second list table, of more lists than the first, replaces the first after a
  // numbered paragraph: its lists get list styles of their own when their paragraphs come.
  const std::string first = "{\\*\\listtable{\\list\\listtemplateid1" + Level("\\levelnfc0", "\\'02\\'00.") +
                            "\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}}";
  const std::string second = "{\\*\\listtable{\\list\\listtemplateid2" + Level("\\levelnfc4", "\\'03(\\'00)") +
                             "\\listid2}{\\list\\listtemplateid3" + Level("\\levelnfc1", "\\'02\\'00)") +
                             "\\listid3}}{\\*\\listoverridetable{\\listoverride\\listid2\\listoverridecount0\\ls2}"
                             "{\\listoverride\\listid3\\listoverridecount0\\ls3}}";
  ASSERT_EQ(F.Import(ListDoc(first + "\\pard\\ls1 a\\par" + second + "\\pard\\ls3 b\\par\\pard\\ls2 c\\par")),
            rtf_ec_OK);
  EXPECT_EQ(F.Style.ListStyles().Count(), 3);
  EXPECT_EQ(Labels(), "[1.]a\n[I)]b\n[(a)]c");
}

TEST_F(RPRTFImportLists, ListsInsideTableCellsAreNumberedInDocumentOrder) {
  const std::string levels = Level("\\levelnfc0", "\\'02\\'00.");
  ASSERT_EQ(F.Import(ListDoc(ListTable(levels) + "\\pard\\ls1 a\\par\\trowd\\cellx2000\\pard\\intbl\\ls1 b\\cell\\row"
                                                 "\\pard\\ls1 c\\par")),
            rtf_ec_OK);
  EXPECT_EQ(Marker(0).DisplayString, "1.");
  auto& table = dynamic_cast<TRPTableItemInfo&>(*Data().GetItem(2));
  const auto* inCell = dynamic_cast<const TRPMarkerItemInfo*>(table.GetCell(0, 0)->GetItem(0));
  ASSERT_NE(inCell, nullptr);
  EXPECT_EQ(inCell->DisplayString, "2.");
  EXPECT_EQ(Marker(3).DisplayString, "3.");
}

TEST_F(RPRTFImportLists, AFailedImportTakesItsListStylesBack) {
  const std::string rtf =
      ListDoc(ListTable(Level("\\levelnfc0", "\\'02\\'00.")) + "\\pard\\ls1 a\\par{\\*\\pn\\pnlvlblt} b");
  EXPECT_EQ(F.Import(rtf.substr(0, rtf.size() - 1)), rtf_ec_UnmatchedBrace);
  EXPECT_EQ(F.Style.ListStyles().Count(), 0);
  EXPECT_EQ(Data().GetItemCount(), 0);
}

TEST_F(RPRTFImportLists, AFailedImportInsideATableForgetsTheMarkersOfItsCells) {
  // The reading fails inside a table whose finished and unfinished rows hold numbered
  // paragraphs: the cells go, and with them their markers, before the paragraphs the
  // import put into the document are taken out.
  Data().AddTextW(u"kept", 0, TRPTag(), 0);
  const std::string levels = Level("\\levelnfc0", "\\'02\\'00.");
  const std::string rtf = ListDoc(ListTable(levels) +
                                  "\\pard\\ls1 a\\par\\trowd\\cellx2000\\pard\\intbl\\ls1 b\\cell\\row"
                                  "\\trowd\\cellx2000\\pard\\intbl\\ls1 c\\par\\ls1 d\\par\\pard\\intbl\\itap2\\ls1 e"
                                  "\\nestcell{\\*\\nesttableprops\\trowd\\cellx500\\nestrow}\\ls1 f");
  EXPECT_EQ(F.Import(rtf.substr(0, rtf.size() - 1)), rtf_ec_UnmatchedBrace);
  EXPECT_EQ(TImportFixture::Dump(Data()), "text s=0 p=0 N 'kept'\n");
  EXPECT_EQ(F.Style.ListStyles().Count(), 0);
  // Numbered paragraphs after it count from 1.
  ASSERT_EQ(F.Import(ListDoc(ListTable(levels) + "\\pard\\ls1 e\\par\\pard\\ls1 f\\par")), rtf_ec_OK);
  EXPECT_EQ(Labels(), "kept\n[1.]e\n[2.]f");
}

TEST_F(RPRTFImportLists, NumberedParagraphsOfCellsWithoutWidthStayInTheirTable) {
  // Every boundary of the row is its left edge: the table still has a column, and the
  // cells' numbered paragraphs are in it.
  const std::string row =
      "\\trowd\\trleft500\\cellx500\\cellx500\\pard\\intbl\\ls1 a\\cell\\pard\\intbl\\ls1 b\\cell\\row";
  ASSERT_EQ(F.Import(ListDoc(ListTable(Level("\\levelnfc0", "\\'02\\'00.")) + row + "\\pard\\ls1 c\\par")), rtf_ec_OK);
  EXPECT_EQ(TImportFixture::Dump(Data()),
            "table 1x1 p=0 N\n  cell 0,0 span 1x1\n    marker p=0 N\n    text s=0 p=0 C 'a'\n"
            "    marker p=0 N\n    text s=0 p=0 C 'b'\nmarker p=0 N\ntext s=0 p=0 C 'c'\n");
  EXPECT_EQ(Marker(1).DisplayString, "3.");
}

}  // namespace
