#include "richtext/model/RPStyleIni.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "RPStyleTestSupport.h"
#include "platform/base/TempFolder.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPStyleLimits.h"

namespace {

using TKeys = std::vector<std::pair<std::string, std::string>>;

// --- The keys as they are written ------------------------------------------------------------

TEST(RPStyleIniTest, ADefaultTextStyleWritesItsNameFontAndJumpOnly) {
  TMapIniFile ini;
  TFontInfo style(nullptr);
  style.SaveToINI(ini, "S", "%s");
  EXPECT_EQ(ini.Section("S"), (TKeys{{"StyleName", "Font Style"}, {"Name", "Arial"}, {"Jump", "No"}}));
  TParaInfo para(nullptr);
  para.SaveToINI(ini, "P", "%s");
  EXPECT_EQ(ini.Section("P"), (TKeys{{"StyleName", "Paragraph Style"}}));
}

TEST(RPStyleIniTest, EveryTextKeyInWritingOrder) {
  TMapIniFile ini;
  TFontInfo style(nullptr);
  FillTextStyle(style, 1);
  style.SaveToINI(ini, "S", "Text%s");
  const TKeys expected = {
      {"TextStyleName", "Style 1"},
      {"TextBaseStyleNo", "1"},
      {"TextStandard", "0"},
      {"TextStyleTemplateId", "1001"},
      {"TextName", "Times New Roman"},
      {"TextJump", "Yes"},
      {"TextSize", "13"},
      {"TextColor", std::to_string(0x123457)},
      {"TextBackColor", std::to_string(clYellow)},
      {"TextHoverBackColor", std::to_string(clAqua)},
      {"TextHoverColor", std::to_string(clFuchsia)},
      {"TextJumpCursor", "251"},
      {"TextCharset", "204"},
      {"TextCharScale", "80"},
      {"TextCharSpacing", "3"},
      {"TextBiDiMode", "2"},
      {"TextBold", "Yes"},
      {"TextUnderline", "Yes"},
      {"TextStrikeOut", "Yes"},
      {"TextItalic", "Yes"},
      {"TextOverline", "Yes"},
      {"TextCaps", "Yes"},
      {"TextProtection", std::to_string(1 | 8 | 256 | 1024)},
      {"TextRTFCode", "Yes"},
      {"TextHTMLCode", "Yes"},
      {"TextVShift", "-30"},
      {"TextNextStyleNo", "2"},
      {"TextUnicode", "Yes"},
      {"TextModifiedProperties", std::to_string((1 << rpfiSize) | (1 << rpfiColor) | (1 << rpfiCustom))},
  };
  EXPECT_EQ(ini.Section("S"), expected);
}

TEST(RPStyleIniTest, EveryParagraphKeyInWritingOrder) {
  TMapIniFile ini;
  TParaInfo style(nullptr);
  FillParaStyle(style, 0);
  style.SaveToINI(ini, "S", "%s");
  const TKeys expected = {
      {"StyleName", "Para 0"},
      {"BaseStyleNo", "0"},
      {"Standard", "0"},
      {"StyleTemplateId", "2000"},
      {"SpaceBefore", "4"},
      {"SpaceAfter", "8"},
      {"LeftIndent", "24"},
      {"RightIndent", "6"},
      {"FirstIndent", "-12"},
      {"LineSpacing", "150"},
      {"LSType", "1"},
      {"Alignment", "3"},
      {"BiDiMode", "1"},
      {"NoWrap", "Yes"},
      {"ReadOnly", "Yes"},
      {"StyleProtect", "Yes"},
      {"DoNotWantReturns", "Yes"},
      {"KeepLinesTogether", "Yes"},
      {"KeepWithNext", "Yes"},
      {"BorderWidth", "2"},
      {"BorderStyle", "4"},
      {"BorderColor", std::to_string(clNavy)},
      {"BorderInternalWidth", "3"},
      {"BorderOffsetsLeft", "1"},
      {"BorderOffsetsRight", "3"},
      {"BorderOffsetsTop", "2"},
      {"BorderOffsetsBottom", "4"},
      {"BorderVisibleLeft", "No"},
      {"BorderVisibleRight", "No"},
      {"BackgroundColor", std::to_string(clSilver)},
      {"BackgroundOffsetsLeft", "5"},
      {"BackgroundOffsetsRight", "5"},
      {"BackgroundOffsetsTop", "5"},
      {"BackgroundOffsetsBottom", "7"},
      {"TabTabCount", "2"},
      {"TabTabPos0", "40"},
      {"TabTabAlign0", "2"},
      {"TabTabPos1", "100"},
      {"TabTabAlign1", "1"},
      {"TabTabLeader1", "-."},
      {"NextParaNo", "1"},
      {"DefStyleNo", "2"},
      {"ModifiedProperties1", std::to_string((1 << rppiLeftIndent) | (1 << rppiBorder_Vis_Bottom))},
      // ordinals 27 and 35 stored from 24
      {"ModifiedProperties2", std::to_string((1 << 3) | (1 << 11))},
  };
  EXPECT_EQ(ini.Section("S"), expected);
}

TEST(RPStyleIniTest, SavingOverAnOlderSaveLeavesNoStaleValue) {
  TMapIniFile ini;
  TParaInfo rich(nullptr);
  FillParaStyle(rich, 0);
  rich.SaveToINI(ini, "S", "%s");
  TParaInfo plain(nullptr);
  plain.SaveToINI(ini, "S", "%s");
  EXPECT_EQ(ini.Section("S"), (TKeys{{"StyleName", "Paragraph Style"}}));
  TParaInfo loaded(nullptr);
  FillParaStyle(loaded, 3);
  loaded.LoadFromINI(ini, "S", "%s");
  ExpectSameParaStyle(loaded, plain);
}

// --- Reading ------------------------------------------------------------------------------------

TEST(RPStyleIniTest, SaveThenLoadGivesEveryFieldBack) {
  TMapIniFile ini;
  TFontInfo text(nullptr);
  FillTextStyle(text, 2);
  text.SaveToINI(ini, "T", "%s");
  TFontInfo textBack(nullptr);
  textBack.LoadFromINI(ini, "T", "%s");
  ExpectSameTextStyle(textBack, text);

  TParaInfo para(nullptr);
  FillParaStyle(para, 2);
  para.SaveToINI(ini, "P", "Para%s");
  TParaInfo paraBack(nullptr);
  paraBack.LoadFromINI(ini, "P", "Para%s");
  ExpectSameParaStyle(paraBack, para);

  // A template's own descriptions have no base fields and store none.
  TRPStyle sheet(nullptr);
  TRPStyleTemplate& t = *sheet.StyleTemplates().Add();
  FillTextStyle(static_cast<TCustomRPFontInfo&>(t.TextStyle()), 4);
  t.TextStyle().SaveToINI(ini, "ST", "%s");
  EXPECT_EQ(ini.Keys("ST").front(), "Name");
  TRPStyleTemplate& u = *sheet.StyleTemplates().Add();
  u.TextStyle().LoadFromINI(ini, "ST", "%s");
  ExpectSameTextStyle(u.TextStyle(), t.TextStyle());
}

TEST(RPStyleIniTest, AFileWrittenByHandLoadsAsTheKeysSay) {
  TIniFile ini(QF_TEST_DATA_DIR "/richtext/model/styles_by_hand.ini");
  TFontInfo heading(nullptr);
  heading.LoadFromINI(ini, "Heading", "%s");
  EXPECT_EQ(heading.StyleName, "Big heading");
  EXPECT_EQ(heading.BaseStyleNo, 0);
  EXPECT_FALSE(heading.Standard);
  EXPECT_EQ(heading.FontName, "Courier New");
  EXPECT_TRUE(heading.Jump);
  EXPECT_EQ(heading.JumpCursor, 106);
  EXPECT_EQ(heading.Size, 18);
  EXPECT_EQ(heading.Color, clRed);  // $0000FF
  EXPECT_EQ(heading.BackColor, clNone);
  EXPECT_EQ(heading.HoverBackColor, clLime);
  EXPECT_EQ(heading.HoverColor, clHighlight);
  EXPECT_EQ(heading.Charset, 204);
  EXPECT_EQ(heading.CharScale, 120);
  EXPECT_EQ(heading.CharSpacing, 2);
  EXPECT_EQ(heading.BiDiMode, rpbdRightToLeft);
  EXPECT_EQ(heading.Style, (TFontStyles{fsBold, fsItalic, fsStrikeOut}));
  EXPECT_EQ(heading.StyleEx, (TRPFontStyles{rpfsOverline, rpfsAllCaps}));
  EXPECT_EQ(heading.Protection, (TRPProtectOptions{rpprStyleProtect, rpprModifyProtect, rpprStickToBottom}));
  EXPECT_EQ(heading.Options, TRPTextOptions{rpteoRTFCode});
  EXPECT_EQ(heading.VShift, -5);
  EXPECT_EQ(heading.NextStyleNo, 3);
  EXPECT_TRUE(heading.Unicode);

  // Without "Jump" the caller's hyperlink values apply; "SingleSymbols" protects.
  TFontInfo symbols(nullptr);
  symbols.LoadFromINI(ini, "OldSymbols", "%s", TRPIniDefaults{true, 777});
  EXPECT_EQ(symbols.StyleName, "Font Style");
  EXPECT_EQ(symbols.FontName, "Symbol");
  EXPECT_TRUE(symbols.Jump);
  EXPECT_EQ(symbols.JumpCursor, 777);
  EXPECT_EQ(symbols.Protection, (TRPProtectOptions{rpprStyleProtect, rpprDoNotAutoSwitch}));

  TParaInfo quote(nullptr);
  quote.Tabs.AddTab(7);             // replaced
  quote.Options = {rppaoReadOnly};  // cleared first
  quote.LoadFromINI(ini, "Quote", "%s");
  EXPECT_EQ(quote.StyleName, "Quote");
  EXPECT_EQ(quote.SpaceBefore, 10);
  EXPECT_EQ(quote.SpaceAfter, 12);
  EXPECT_EQ(quote.LeftIndent, 30);
  EXPECT_EQ(quote.RightIndent, 20);
  EXPECT_EQ(quote.FirstIndent, -10);
  EXPECT_EQ(quote.LineSpacing, 120);
  EXPECT_EQ(quote.LineSpacingType, rplsPercent);
  EXPECT_EQ(quote.Alignment, rpaJustify);
  EXPECT_EQ(quote.BiDiMode, rpbdLeftToRight);
  EXPECT_EQ(quote.Options, (TRPParaOptions{rppaoNoWrap, rppaoKeepWithNext}));
  EXPECT_EQ(quote.Border.Width, 2);
  EXPECT_EQ(quote.Border.Style, rpbDouble);
  EXPECT_EQ(quote.Border.Color, clGray);
  EXPECT_EQ(quote.Border.InternalWidth, 3);
  EXPECT_EQ(quote.Border.BorderOffsets.Left, 4);
  EXPECT_EQ(quote.Border.BorderOffsets.Top, 5);
  EXPECT_EQ(quote.Border.BorderOffsets.Right, 0);
  EXPECT_TRUE(quote.Border.VisibleBorders.IsEqualToValues(true, false, true, false));
  EXPECT_EQ(quote.Background.Color, clSilver);
  EXPECT_EQ(quote.Background.BorderOffsets.Right, 6);
  ASSERT_EQ(quote.Tabs.Count(), 2);  // kept in position order
  EXPECT_EQ(quote.Tabs.Tab(0)->Position(), 50);
  EXPECT_EQ(quote.Tabs.Tab(0)->Align, rptaCenter);
  EXPECT_EQ(quote.Tabs.Tab(1)->Position(), 200);
  EXPECT_EQ(quote.Tabs.Tab(1)->Align, rptaRight);
  EXPECT_EQ(quote.Tabs.Tab(1)->Leader, ".");
  EXPECT_EQ(quote.NextParaNo, 0);
  EXPECT_EQ(quote.DefStyleNo, 1);
}

TEST(RPStyleIniTest, ValuesOutsideTheirRangeReadAsTheDefault) {
  TIniFile ini(QF_TEST_DATA_DIR "/richtext/model/styles_by_hand.ini");
  TParaInfo para(nullptr);
  para.LoadFromINI(ini, "Damaged", "%s");
  EXPECT_EQ(para.Alignment, rpaLeft);
  EXPECT_EQ(para.LineSpacingType, rplsPercent);
  EXPECT_EQ(para.BiDiMode, rpbdUnspecified);
  EXPECT_EQ(para.Border.Style, rpbNone);
  ASSERT_EQ(para.Tabs.Count(), 1);
  EXPECT_EQ(para.Tabs.Tab(0)->Align, rptaLeft);
  TFontInfo text(nullptr);
  text.LoadFromINI(ini, "Damaged", "%s");
  EXPECT_EQ(text.Charset, DEFAULT_CHARSET);
  EXPECT_EQ(text.BiDiMode, rpbdUnspecified);
}

TEST(RPStyleIniTest, FlagsAreYesOrAnythingElse) {
  TMapIniFile ini;
  const struct {
    const char* Value;
    bool Expected;
  } cases[] = {{"Yes", true}, {"yes", true}, {"YES", true}, {"No", false}, {"1", false}, {"True", false}, {"", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Value);
    ini.WriteString("S", "Flag", c.Value);
    EXPECT_EQ(IniReadBool(ini, "S", "Flag", true), c.Expected);
  }
  EXPECT_TRUE(IniReadBool(ini, "S", "Missing", true));
  EXPECT_FALSE(IniReadBool(ini, "S", "Missing", false));
}

// --- Long strings -------------------------------------------------------------------------------

TEST(RPStyleIniTest, LongStringsAreCutIntoPiecesOf500) {
  const struct {
    size_t Length;
    std::vector<std::string> Keys;
  } cases[] = {
      {1200, {"Pic_0", "Pic_1", "Pic_2"}},
      {500, {"Pic_0"}},
      {1, {"Pic_0"}},
      {0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Length);
    TMapIniFile ini;
    std::string value;
    for (size_t i = 0; i < c.Length; ++i) value += static_cast<char>('A' + i % 26);
    WriteLongString(ini, "S", "Pic", value);
    EXPECT_EQ(ini.Keys("S"), c.Keys);
    if (c.Length == 1200) {
      EXPECT_EQ(ini.ReadString("S", "Pic_2", "").size(), 200u);
    }
    EXPECT_EQ(ReadLongString(ini, "S", "Pic"), value);
  }
}

TEST(RPStyleIniTest, AShorterLongStringRemovesThePiecesOfTheLongerOne) {
  TMapIniFile ini;
  WriteLongString(ini, "S", "Pic", std::string(1500, 'x'));
  WriteLongString(ini, "S", "Pic", std::string(500, 'y'));
  EXPECT_EQ(ini.Keys("S"), std::vector<std::string>{"Pic_0"});
  EXPECT_EQ(ReadLongString(ini, "S", "Pic"), std::string(500, 'y'));
  WriteLongString(ini, "S", "Pic", "");
  EXPECT_TRUE(ini.Keys("S").empty());
}

TEST(RPStyleIniTest, LongStringPiecesAreCheckedBeforeTheyAreJoined) {
  TMapIniFile ini;
  ini.WriteString("S", "Long_0", std::string(501, 'x'));  // longer than a piece
  ExpectRichPaneError([&] { ReadLongString(ini, "S", "Long"); }, "Invalid long string value Long");
  ini.WriteString("S", "Gap_0", "short");  // a short piece with another after it
  ini.WriteString("S", "Gap_1", "more");
  ExpectRichPaneError([&] { ReadLongString(ini, "S", "Gap"); }, "Invalid long string value Gap");
  for (int i = 0; i < 3; ++i) ini.WriteString("S", "Many_" + std::to_string(i), std::string(500, 'm'));
  TRPStyleLimits limits;
  limits.MaxLongStringPieces = 2;
  const TRPStyleLimitsOverride narrow(limits);
  ExpectRichPaneError([&] { ReadLongString(ini, "S", "Many"); }, "Invalid long string value Many");
  // Reading stops at the first missing or empty piece.
  ini.WriteString("S", "Stop_0", std::string(500, 'a'));
  ini.WriteString("S", "Stop_2", "after the gap");
  EXPECT_EQ(ReadLongString(ini, "S", "Stop"), std::string(500, 'a'));
}

// --- Failures leave the style as it was --------------------------------------------------------

TEST(RPStyleIniTest, AFailedLoadLeavesTheStyleAsItWas) {
  TMapIniFile ini;
  TParaInfo source(nullptr);
  FillParaStyle(source, 1);
  source.SaveToINI(ini, "S", "%s");
  TParaInfo style(nullptr);
  FillParaStyle(style, 5);
  TParaInfo before(nullptr);
  before.Assign(style);

  ini.FailOnKey = "DefStyleNo";  // the last key read
  EXPECT_THROW(style.LoadFromINI(ini, "S", "%s"), EIniFileException);
  ExpectSameParaStyle(style, before);

  ini.FailOnKey.clear();
  ini.WriteString("S", "TabTabCount", "5000");
  TRPStyleLimits limits;
  limits.MaxTabs = 4999;
  const TRPStyleLimitsOverride narrow(limits);
  ExpectRichPaneError([&] { style.LoadFromINI(ini, "S", "%s"); }, "Too many tab stops in S");
  ExpectSameParaStyle(style, before);
}

// --- List styles ---------------------------------------------------------------------------------

TEST(RPStyleIniTest, EveryListKeyInWritingOrder) {
  TMapIniFile ini;
  TRPListInfo list(nullptr);
  FillListStyle(list, 1);
  list.SaveToINI(ini, "L", "%s");
  std::vector<std::string> keys = ini.Keys("L");
  EXPECT_EQ(keys, (std::vector<std::string>{
                      "StyleName",      "ListID",           "LevelsCount",      "OneLevelPreview",
                      "LvlListType0",   "LvlStartFrom0",    "LvlImageIndex0",   "LvlFormatString0",
                      "LvlLeftIndent0", "LvlFirstIndent0",  "LvlMarkerIndent0", "LvlMarkerAlignment0",
                      "LvlFont0",       "LvlContinuous0",   "LvlLevelReset0",   "LvlLegalStyleNumbering0",
                      "LvlListType1",   "LvlFormatString1", "LvlGraphicClass1", "LvlPicture1_0",
                      "LvlListType2",   "LvlFormatString2", "LvlFont2",         "LvlFormatStringW2",
                  }));
  const struct {
    const char* Key;
    std::string Value;
  } values[] = {
      {"ListID", "5001"},
      {"LevelsCount", "3"},
      {"OneLevelPreview", "Yes"},
      {"LvlListType0", "7"},
      {"LvlStartFrom0", "4"},
      {"LvlFirstIndent0", "-12"},
      {"LvlMarkerAlignment0", "1"},
      {"LvlFont0", "Times New Roman,-16,BIUS,0,clMaroon,204"},
      {"LvlContinuous0", "No"},
      {"LvlLegalStyleNumbering0", "Yes"},
      {"LvlFormatString1", "\xB7"},
      {"LvlGraphicClass1", "TBitmap"},
      {"LvlFont2", "Symbol, Bold,-11,,0,clWindowText,1"},
      {"LvlFormatStringW2", "2220B6007800"},  // UTF-16 low byte first
  };
  for (const auto& v : values) EXPECT_EQ(ini.ReadString("L", v.Key, "(none)"), v.Value) << v.Key;
  EXPECT_EQ(ini.ReadString("L", "LvlPicture1_0", "").substr(0, 4), "424D");  // a BMP file in hexadecimal

  TRPListInfo back(nullptr);
  back.LoadFromINI(ini, "L", "%s");
  ExpectSameListStyle(back, list);
  // Fewer levels saved over more leave no key of the others.
  TRPListInfo shorter(nullptr);
  shorter.SetListID(1);
  shorter.Levels().Add();
  shorter.SaveToINI(ini, "L", "%s");
  EXPECT_EQ(ini.Keys("L"), (std::vector<std::string>{"StyleName", "ListID", "LevelsCount", "LvlFormatString0"}));
}

TEST(RPStyleIniTest, AListWrittenByHandLoadsAsTheKeysSay) {
  TIniFile ini(QF_TEST_DATA_DIR "/richtext/model/styles_by_hand.ini");
  TRPListInfo list(nullptr);
  list.LoadFromINI(ini, "List", "%s");
  EXPECT_EQ(list.StyleName, "Bullets");
  EXPECT_TRUE(list.OneLevelPreview);
  EXPECT_EQ(list.StoredListID(), 0);  // drawn when first asked for
  ASSERT_EQ(list.Levels().Count(), 3);
  const TRPListLevel& decimal = *list.Levels()[0];
  EXPECT_EQ(decimal.ListType, rplstDecimal);
  EXPECT_EQ(decimal.FormatString, "%0:s)");
  EXPECT_EQ(decimal.Options, TRPListLevelOptions{rploLevelReset});
  ASSERT_NE(decimal.FindFont(), nullptr);
  EXPECT_EQ(decimal.FindFont()->Name(), "Courier New");
  EXPECT_EQ(decimal.FindFont()->Height(), -13);
  EXPECT_EQ(decimal.FindFont()->Style(), (TFontStyles{fsBold, fsItalic}));
  EXPECT_EQ(decimal.FindFont()->Color(), clNavy);
  EXPECT_EQ(decimal.FindFont()->Charset(), 0);
  // A class that is not registered, and bytes that are no picture, leave no picture.
  EXPECT_FALSE(list.Levels()[1]->HasPicture());
  const TRPListLevel& unicode = *list.Levels()[2];
  EXPECT_FALSE(unicode.HasPicture());
  EXPECT_EQ(unicode.FormatString, "\xB7");
  EXPECT_EQ(unicode.FormatStringW, u"\u2022");
  ASSERT_NE(unicode.FindFont(), nullptr);
  EXPECT_EQ(unicode.FindFont()->Name(), "Wingdings");
  EXPECT_EQ(unicode.FindFont()->Size(), 8);  // the fields that are missing keep the defaults
}

TEST(RPStyleIniTest, AListThatCannotBeReadStaysAsItWas) {
  TMapIniFile ini;
  TRPListInfo source(nullptr);
  FillListStyle(source, 0);
  source.SaveToINI(ini, "L", "%s");
  TRPListInfo list(nullptr);
  FillListStyle(list, 9);
  list.StyleName = "Mine";
  TRPListInfo before(nullptr);
  before.Assign(list);
  before.SetListID(list.StoredListID());

  ini.WriteString("L", "LvlPicture1_1", "00");  // a piece after a short one
  ExpectRichPaneError([&] { list.LoadFromINI(ini, "L", "%s"); }, "Invalid long string value LvlPicture1");
  ExpectSameListStyle(list, before);

  ini.DeleteKey("L", "LvlPicture1_1");
  ini.WriteString("L", "LevelsCount", "300");
  ExpectRichPaneError([&] { list.LoadFromINI(ini, "L", "%s"); }, "Too many list levels in L");
  ExpectSameListStyle(list, before);
}

// --- The whole style sheet ----------------------------------------------------------------------

TEST(RPStyleIniTest, ASheetSavedAndLoadedIsTheSameAndSavesToTheSameText) {
  TRPStyle sheet(nullptr);
  FillSheet(sheet);
  TMapIniFile first;
  sheet.SaveToINI(first, "Styles");
  TRPStyle loaded(nullptr);
  loaded.LoadFromINI(first, "Styles");
  ExpectSameSheet(loaded, sheet);
  EXPECT_EQ(loaded.StyleTemplates().Template(2)->Parent(), loaded.StyleTemplates().Template(1));
  EXPECT_EQ(loaded.StyleTemplates().Template(1)->Parent(), loaded.StyleTemplates().Template(0));
  TMapIniFile second;
  loaded.SaveToINI(second, "Styles");
  EXPECT_GT(first.Text().size(), 4000u);
  EXPECT_EQ(second.Text(), first.Text());

  // Saving a smaller sheet over it leaves no section or key of the larger one.
  TRPStyle fresh(nullptr);
  fresh.SaveToINI(first, "Styles");
  TMapIniFile third;
  fresh.SaveToINI(third, "Styles");
  EXPECT_EQ(first.Text(), third.Text());
}

TEST(RPStyleIniTest, ASheetInAFileOnDiskSavesToTheSameBytesAgain) {
  TempFolder folder;
  TRPStyle sheet(nullptr);
  sheet.TextStyles()[0]->FontName = "Face; with } and 'quotes'";
  sheet.ParaStyles()[1]->Tabs.AddTab(30, rptaRight, "_");
  TRPStyleTemplate& normal = *sheet.StyleTemplates().Add();
  normal.SetName("Normal");
  normal.ValidTextProperties = {rpfiSize};
  normal.TextStyle().Size = 11;
  sheet.StyleTemplates().Add()->SetParentId(normal.GetId());
  {
    TIniFile ini(folder / "first.ini");
    sheet.SaveToINI(ini, "Styles");
  }
  TRPStyle loaded(nullptr);
  {
    TIniFile ini(folder / "first.ini");
    loaded.LoadFromINI(ini, "Styles");
  }
  ExpectSameSheet(loaded, sheet);
  {
    TIniFile ini(folder / "second.ini");
    loaded.SaveToINI(ini, "Styles");
  }
  EXPECT_EQ(ReadBytes(folder / "second.ini"), ReadBytes(folder / "first.ini"));
}

TEST(RPStyleIniTest, ASheetThatCannotBeReadStaysAsItWas) {
  TMapIniFile ini;
  TRPStyle saved(nullptr);
  FillSheet(saved);
  saved.SaveToINI(ini, "Styles");
  TRPStyle sheet(nullptr);
  sheet.StyleTemplates().Add()->SetName("Mine");
  sheet.StyleTemplates().Template(0)->GetId();
  sheet.StyleTemplates().Template(0)->ListStyle().GetListID();
  TRPStyle untouched(nullptr);
  untouched.StyleTemplates().AssignStyleTemplates(sheet.StyleTemplates(), true);

  ini.FailOnKey = "ValidParaProperties2";  // read by the last template, before the sheet changes
  EXPECT_THROW(sheet.LoadFromINI(ini, "Styles"), EIniFileException);
  ExpectSameSheet(sheet, untouched);

  ini.FailOnKey.clear();
  ini.WriteString("Styles", "ParaStyleCount", "70000");
  ExpectRichPaneError([&] { sheet.LoadFromINI(ini, "Styles"); }, "Too many styles in Styles");
  ExpectSameSheet(sheet, untouched);
}

TEST(RPStyleIniTest, ALoopOfParentsInAFileIsCut) {
  TMapIniFile ini;
  TRPStyle saved(nullptr);
  saved.StyleTemplates().Add();
  saved.StyleTemplates().Add();
  saved.SaveToINI(ini, "Styles");
  ini.WriteString("Styles.Template0", "Id", "11");
  ini.WriteString("Styles.Template1", "Id", "22");
  ini.WriteString("Styles.Template0", "ParentId", "22");
  ini.WriteString("Styles.Template1", "ParentId", "11");
  TRPStyle sheet(nullptr);
  sheet.LoadFromINI(ini, "Styles");
  const TRPStyleTemplateCollection& t = sheet.StyleTemplates();
  EXPECT_EQ(t.Template(0)->Parent(), t.Template(1));
  EXPECT_EQ(t.Template(1)->Parent(), nullptr);
  EXPECT_EQ(t.Template(1)->ParentId(), -1);
  // A parent id that names no template is kept and resolves to none.
  ini.WriteString("Styles.Template1", "ParentId", "99");
  sheet.LoadFromINI(ini, "Styles");
  EXPECT_EQ(sheet.StyleTemplates().Template(1)->ParentId(), 99);
  EXPECT_EQ(sheet.StyleTemplates().Template(1)->Parent(), nullptr);
}

}  // namespace
