#include "richtext/model/RPStyle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RPStyledData.h"
#include "RPTestCanvas.h"
#include "RPTestItems.h"
#include "platform/base/StringLists.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/model/RPData.h"

namespace {

// --- The standard sheet ---------------------------------------------------------------------

TEST(RPStyleTest, AFreshSheetHoldsTheStandardStyles) {
  TRPStyle sheet(nullptr);
  ASSERT_EQ(sheet.TextStyles().Count(), 6);
  ASSERT_EQ(sheet.ParaStyles().Count(), 2);
  const struct {
    const char* Name;
    TFontStyles Style;
    TColor Color;
    bool Jump;
  } text[] = {
      {"Normal text", {}, clWindowText, false}, {"Heading", {fsBold}, clBlue, false},
      {"Subheading", {fsBold}, clNavy, false},  {"Keywords", {fsItalic}, clMaroon, false},
      {"Jump 1", {fsUnderline}, clGreen, true}, {"Jump 2", {fsUnderline}, clGreen, true},
  };
  for (int32_t i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    const TFontInfo& f = *sheet.TextStyles()[i];
    EXPECT_EQ(f.StyleName, text[i].Name);
    EXPECT_EQ(f.Style, text[i].Style);
    EXPECT_EQ(f.Color, text[i].Color);
    EXPECT_EQ(f.Jump, text[i].Jump);
    EXPECT_EQ(f.JumpCursor, 101);
    EXPECT_EQ(f.FontName, "Arial");
    EXPECT_EQ(f.Size, 10);
  }
  EXPECT_EQ(sheet.ParaStyles()[0]->StyleName, "Paragraph Style");
  EXPECT_EQ(sheet.ParaStyles()[0]->Alignment, rpaLeft);
  EXPECT_EQ(sheet.ParaStyles()[1]->StyleName, "Centered");
  EXPECT_EQ(sheet.ParaStyles()[1]->Alignment, rpaCenter);
  EXPECT_EQ(sheet.Color, clWindow);
  EXPECT_EQ(sheet.SelColor, clHighlight);
  EXPECT_EQ(sheet.PageBreakColor, clBtnShadow);
  EXPECT_EQ(sheet.DefTabWidth, 48);
  EXPECT_EQ(sheet.SpacesInTab, 0);
  EXPECT_EQ(sheet.DefUnicodeStyle, -1);
  EXPECT_EQ(sheet.SelectionMode, rpsmWord);
  EXPECT_TRUE(sheet.UseSound);
}

TEST(RPStyleTest, FallbackStylesAreMadeOnceFromStyleZero) {
  TRPStyle sheet(nullptr);
  sheet.TextStyles()[0]->Size = 14;
  TFontInfo* fallback = sheet.TextStyles()[-1];
  EXPECT_EQ(fallback, sheet.TextStyles()[-1]);
  EXPECT_EQ(fallback, sheet.TextStyles()[6]);
  EXPECT_EQ(fallback->Size, 14);
  EXPECT_EQ(fallback->Color, clWhite);
  EXPECT_EQ(fallback->BackColor, clRed);
  sheet.TextStyles()[0]->Size = 20;  // not followed later
  EXPECT_EQ(sheet.TextStyles()[-1]->Size, 14);
  const TParaInfo& para = *sheet.ParaStyles()[2];
  EXPECT_EQ(para.SpaceBefore, 1);
  EXPECT_EQ(para.RightIndent, 1);
  EXPECT_EQ(para.Border.Style, rpbSingle);
  EXPECT_EQ(para.Border.Color, clRed);
  EXPECT_EQ(para.Border.Width, 2);
  EXPECT_EQ(para.Border.BorderOffsets.Bottom, 1);
  EXPECT_EQ(para.Collection(), nullptr);  // outside the collection
  // An empty collection's fallback is the class defaults, white on red.
  sheet.TextStyles().Clear();
  TRPStyle other(nullptr);
  other.TextStyles().Clear();
  EXPECT_EQ(other.TextStyles()[0]->FontName, "Arial");
  EXPECT_EQ(other.TextStyles()[0]->BackColor, clRed);
}

// --- Finding styles ---------------------------------------------------------------------------

class RPFindStyleTest : public ::testing::Test {
protected:
  RPFindStyleTest() {
    for (int i = 0; i < 4; ++i) Sheet.TextStyles().Add()->Size = 30 + i;  // 6 .. 9
  }
  TRPStyle Sheet{nullptr};
};

TEST_F(RPFindStyleTest, BaseStyleFirstThenTheFirstEqual) {
  TFontInfo wanted(nullptr);
  wanted.Size = 31;
  EXPECT_EQ(Sheet.TextStyles().FindMatchingStyle(0, wanted, RPAllFontInfoProperties), 7);
  Sheet.TextStyles()[9]->Size = 31;  // now at 7 and 9
  EXPECT_EQ(Sheet.TextStyles().FindMatchingStyle(9, wanted, RPAllFontInfoProperties), 9);
  EXPECT_EQ(Sheet.TextStyles().FindMatchingStyle(0, wanted, RPAllFontInfoProperties), 7);
  wanted.Size = 99;
  EXPECT_EQ(Sheet.TextStyles().FindMatchingStyle(0, wanted, RPAllFontInfoProperties), -1);
  TFontInfo normal(nullptr);
  normal.StyleName = "Normal text";
  EXPECT_EQ(Sheet.TextStyles().FindMatchingStyle(0, normal, RPAllFontInfoProperties), 0);
}

TEST_F(RPFindStyleTest, AnOutOfRangeBaseMatchesOnlyTheFallback) {
  TFontInfo likeFallback(nullptr);
  likeFallback.Assign(*Sheet.TextStyles()[-1]);
  EXPECT_EQ(Sheet.TextStyles().FindMatchingStyle(50, likeFallback, RPAllFontInfoProperties), 50);
  TFontInfo normal(nullptr);
  EXPECT_EQ(Sheet.TextStyles().FindMatchingStyle(-3, normal, RPAllFontInfoProperties), 0);
}

TEST_F(RPFindStyleTest, AnEmptyMaskMatchesOnTemplateAndModifiedPropertiesAlone) {
  TFontInfo anything(nullptr);
  anything.Size = 70;
  anything.FontName = "Courier New";
  EXPECT_EQ(Sheet.TextStyles().FindMatchingStyle(3, anything, {}), 3);
  anything.StyleTemplateId = 4;
  EXPECT_EQ(Sheet.TextStyles().FindMatchingStyle(3, anything, {}), -1);
  TParaInfo para(nullptr);
  para.LeftIndent = 40;
  EXPECT_EQ(Sheet.ParaStyles().FindMatchingStyle(1, para, {}), 1);
  para.ModifiedProperties1 = {rppiLeftIndent};
  EXPECT_EQ(Sheet.ParaStyles().FindMatchingStyle(1, para, {}), -1);
}

TEST_F(RPFindStyleTest, FindOrAddAsTheBuilderDoes) {
  auto findOrAdd = [this](const TFontInfo& wanted) {
    int32_t i = Sheet.TextStyles().FindMatchingStyle(0, wanted, RPAllFontInfoProperties);
    if (i < 0) {
      Sheet.TextStyles().Add()->Assign(wanted);
      i = Sheet.TextStyles().Count() - 1;
    }
    return i;
  };
  TFontInfo heading(nullptr);
  heading.Size = 16;
  heading.Style = {fsBold};
  const int32_t first = findOrAdd(heading);
  EXPECT_EQ(first, 10);
  EXPECT_EQ(findOrAdd(heading), 10);
  heading.Unicode = true;
  EXPECT_EQ(findOrAdd(heading), 11);
}

TEST_F(RPFindStyleTest, StyleWithCharset) {
  TFontInfos& styles = Sheet.TextStyles();
  EXPECT_EQ(styles.FindStyleWithCharset(0, DEFAULT_CHARSET), 0);
  EXPECT_EQ(styles.FindStyleWithCharset(0, RUSSIAN_CHARSET), -1);
  TFontInfo& russian = *styles.Add();  // 10
  russian.Charset = RUSSIAN_CHARSET;
  russian.Unicode = true;  // a Unicode style is never taken
  EXPECT_EQ(styles.FindStyleWithCharset(0, RUSSIAN_CHARSET), -1);
  TFontInfo& russian8 = *styles.Add();  // 11
  russian8.Charset = RUSSIAN_CHARSET;
  EXPECT_EQ(styles.FindStyleWithCharset(0, RUSSIAN_CHARSET), 11);
  EXPECT_EQ(styles.FindStyleWithCharset(11, RUSSIAN_CHARSET), 11);
  EXPECT_EQ(styles.FindStyleWithCharset(1, RUSSIAN_CHARSET), -1);  // bold blue is no plain style
}

// --- Merging -----------------------------------------------------------------------------------

TEST(RPMergeStylesTest, MergeTakesEqualStylesAndAddsTheOthers) {
  TRPStyle target(nullptr), source(nullptr);
  source.TextStyles().Clear();
  TFontInfo& same = *source.TextStyles().Add();  // equals target's 0
  TFontInfo& keywords = *source.TextStyles().Add();
  keywords.Assign(*target.TextStyles()[3]);  // equals target's 3, found by search
  TFontInfo& fresh = *source.TextStyles().Add();
  fresh.Size = 40;
  fresh.NextStyleNo = 1;  // keywords, mapped to 3
  fresh.BaseStyleNo = 0;
  (void)same;
  TRPIntegerList map;
  target.TextStyles().MergeStyles(source.TextStyles(), rpmmMerge, map);
  EXPECT_EQ(Values(map), (std::vector<int32_t>{0, 3, 6}));
  ASSERT_EQ(target.TextStyles().Count(), 7);
  const TFontInfo& added = *target.TextStyles()[6];
  EXPECT_EQ(added.Size, 40);
  EXPECT_FALSE(added.Standard);
  EXPECT_EQ(added.NextStyleNo, 3);
  EXPECT_EQ(added.BaseStyleNo, 0);
  EXPECT_TRUE(target.TextStyles()[3]->Standard);
}

TEST(RPMergeStylesTest, AddNewCopiesEveryStyle) {
  TRPStyle target(nullptr), source(nullptr);
  TRPIntegerList map;
  target.ParaStyles().MergeStyles(source.ParaStyles(), rpmmAddNew, map);
  EXPECT_EQ(Values(map), (std::vector<int32_t>{2, 3}));
  EXPECT_EQ(target.ParaStyles()[3]->Alignment, rpaCenter);
  EXPECT_FALSE(target.ParaStyles()[3]->Standard);
}

TEST(RPMergeStylesTest, ClosestPrefersTheSameJumpAndUnicode) {
  TRPStyle target(nullptr), source(nullptr);
  source.TextStyles().Clear();
  TFontInfo& link = *source.TextStyles().Add();
  link.Jump = true;
  link.Color = clGreen;
  link.Style = {fsUnderline};
  link.Size = 11;
  TFontInfo& plainUnicode = *source.TextStyles().Add();
  plainUnicode.Unicode = true;
  plainUnicode.Style = {fsBold};
  plainUnicode.Color = clBlue;
  TRPIntegerList map;
  target.TextStyles().MergeStyles(source.TextStyles(), rpmmClosest, map);
  // The link maps among the two hyperlinks (the first on a tie); the Unicode style has
  // no match with both flags, then the styles without Jump: Heading is closest.
  EXPECT_EQ(Values(map), (std::vector<int32_t>{4, 1}));
  EXPECT_EQ(target.TextStyles().Count(), 6);
  TRPStyle empty(nullptr);
  empty.TextStyles().Clear();
  empty.TextStyles().MergeStyles(source.TextStyles(), rpmmClosest, map);
  EXPECT_EQ(Values(map), (std::vector<int32_t>{-1, -1}));
}

TEST(RPMergeStylesTest, ParagraphStylesMapTheirDefaultTextStyle) {
  TRPStyle target(nullptr), source(nullptr);
  TParaInfo& p = *source.ParaStyles()[1];
  p.DefStyleNo = 2;
  p.NextParaNo = 0;
  TRPIntegerList textMap;
  for (int32_t v : {0, 1, 5}) textMap.Add(v);
  TRPIntegerList map;
  target.ParaStyles()[1]->LeftIndent = 3;  // so source 1 is new
  target.ParaStyles().MergeStyles(source.ParaStyles(), rpmmMerge, map, &textMap);
  EXPECT_EQ(Values(map), (std::vector<int32_t>{0, 2}));
  EXPECT_EQ(target.ParaStyles()[2]->DefStyleNo, 5);
  EXPECT_EQ(target.ParaStyles()[2]->NextParaNo, 0);
}

TEST(RPMergeStylesTest, StyleNamesIntoAStringList) {
  TRPStyle sheet(nullptr);
  TStringList names;
  names.Add("old");
  names.Assign(sheet.ParaStyles());
  ASSERT_EQ(names.Count(), 2);
  EXPECT_EQ(names.Strings(0), "Paragraph Style");
  EXPECT_EQ(names.Strings(1), "Centered");
}

// --- Events and drawing hooks ------------------------------------------------------------------

TEST(RPStyleTest, HoverSensitivity) {
  TRPStyle sheet(nullptr);
  EXPECT_FALSE(sheet.IsHoverSensitive(4));
  sheet.HoverColor = clRed;
  EXPECT_TRUE(sheet.IsHoverSensitive(4));
  EXPECT_EQ(sheet.GetHoverColor(4), clRed);
  sheet.HoverColor = clNone;
  sheet.TextStyles()[4]->HoverBackColor = clYellow;
  EXPECT_TRUE(sheet.IsHoverSensitive(4));
  sheet.OnStyleHoverSensitive = [](const TRPStyle*, int32_t styleNo, bool& sensitive) {
    sensitive = sensitive && styleNo != 4;
  };
  EXPECT_FALSE(sheet.IsHoverSensitive(4));
}

TEST(RPStyleTest, HandlersThatClearDoDefaultReplaceTheDefault) {
  TBitmap page;
  page.SetSize(10, 10);
  TRPStyle sheet(nullptr);
  std::vector<std::string> calls;
  sheet.OnApplyStyle = [&](TRPStyle*, TCanvas&, int32_t styleNo, bool& doDefault) {
    calls.push_back("apply " + std::to_string(styleNo));
    doDefault = styleNo != 1;
  };
  sheet.OnDrawStyleText = [&](TRPStyle* s, const AnsiString& text, TCanvas&, int32_t, int32_t, int32_t, int32_t,
                              int32_t, int32_t, TRPTextDrawStates, bool& doDefault) {
    calls.push_back("draw " + text + " item " + std::to_string(s->ItemNo) + " at " + std::to_string(s->OffsetInItem));
    doDefault = false;
  };
  sheet.ApplyStyle(*page.Canvas(), 1, rpbdUnspecified, false);
  EXPECT_NE(page.Canvas()->Font().Name(), "Arial");  // the handler did it
  sheet.ApplyStyle(*page.Canvas(), 3, rpbdUnspecified, false);
  EXPECT_EQ(page.Canvas()->Font().Name(), "Arial");
  EXPECT_EQ(page.Canvas()->Font().Style(), TFontStyles{fsItalic});
  sheet.DrawStyleText("xy", *page.Canvas(), 7, 3, 0, nullptr, 0, 0, 0, 10, 10, {}, false, false, rpcmColor,
                      rpbdUnspecified);
  EXPECT_EQ(calls, (std::vector<std::string>{"apply 1", "apply 3", "draw xy item 7 at 3"}));
}

TEST(RPStyleTest, PageBreakIsALineEndingInATriangle) {
  TRPStyle sheet(nullptr);
  sheet.PageBreakColor = clBlack;
  auto page = WhitePage(16, 12);
  sheet.DrawPageBreak(*page->Canvas(), 1, 0, rppbPageBreak, nullptr, 16);
  // The triangle is filled with the window colour (white here) inside its outline.
  EXPECT_EQ(Art(*page, clBlack), (std::vector<std::string>{
                                     "................",
                                     "#########.......",
                                     "........##......",
                                     "........#.#.....",
                                     "........#..#....",
                                     "........#...#...",
                                     "........#....#..",
                                     "........#.....#.",
                                     "........#......#",
                                     "........########",
                                     "................",
                                     "................",
                                 }));
  EXPECT_EQ(page->Canvas()->Brush().Style(), bsClear);
}

TEST(RPStyleTest, CheckpointMarkAndDottedLine) {
  TRPStyle sheet(nullptr);
  sheet.CheckpointColor = clBlack;
  auto page = WhitePage(12, 7);
  sheet.DrawCheckpoint(*page->Canvas(), 3, 3, 0, 12, nullptr, 0, 0, false, nullptr);
  const std::vector<std::string> art = Art(*page, clBlack);
  EXPECT_EQ(art[3].substr(6), "###...");   // the dotted line, 3 on and 3 off
  EXPECT_EQ(art[1].substr(1, 4), ".##.");  // the mark from (1, 1) to (5, 5)
  auto unmarked = WhitePage(12, 7);
  sheet.DrawCheckpoint(*unmarked->Canvas(), 3, 3, 0, 12, nullptr, -1, 0, false, nullptr);
  EXPECT_EQ(Art(*unmarked, clBlack)[1], "............");
}

TEST(RPStyleTest, ParagraphBackgroundThroughTheStyle) {
  TRPStyle sheet(nullptr);
  sheet.ParaStyles()[1]->Background.Color = clBlack;
  auto page = WhitePage(6, 4);
  sheet.DrawParaBack(*page->Canvas(), 1, TRect{1, 1, 3, 3}, false, rpcmColor);
  EXPECT_EQ(Art(*page, clBlack), (std::vector<std::string>{"......", ".##...", ".##...", "......"}));
  bool called = false;
  sheet.OnDrawParaBack = [&](TRPStyle*, TCanvas&, int32_t paraNo, const TRect&, bool& doDefault) {
    called = paraNo == 1;
    doDefault = false;
  };
  auto untouched = WhitePage(6, 4);
  sheet.DrawParaBack(*untouched->Canvas(), 1, TRect{1, 1, 3, 3}, false, rpcmColor);
  EXPECT_TRUE(called);
  EXPECT_EQ(Art(*untouched, clBlack)[1], "......");
}

// --- Tab stops ---------------------------------------------------------------------------------

struct TNextTab {
  int32_t Position;
  TRPTabAlign Align;
  AnsiString Leader;
};

TNextTab NextTab(const TRPStyle& sheet, int32_t paraNo, int32_t x, const TRPResolution& r, TRPBiDiMode mode,
                 int32_t posA, int32_t posB) {
  TNextTab t{-1, rptaCenter, "?"};
  sheet.GetNextTab(paraNo, x, r, t.Position, t.Leader, t.Align, mode, posA, posB);
  return t;
}

TEST(RPStyleTest, NextTabOnTheDefaultGrid) {
  TRPStyle sheet(nullptr);
  const TRPResolution screen;
  for (auto [x, expected] : {std::pair{48, 96}, {47, 48}, {0, 48}, {100, 144}}) {
    const TNextTab t = NextTab(sheet, 0, x, screen, rpbdUnspecified, 0, 500);
    EXPECT_EQ(t.Position, expected) << x;
    EXPECT_EQ(t.Align, rptaLeft);
    EXPECT_EQ(t.Leader, "");
  }
  // On a device of twice the resolution, with the page's left offset.
  const TRPResolution device{96, 96, 192, 192, 10};
  EXPECT_EQ(NextTab(sheet, 0, 10 + 95, device, rpbdUnspecified, 0, 500).Position, 10 + 96);
  EXPECT_EQ(NextTab(sheet, 0, 10 + 96, device, rpbdUnspecified, 0, 500).Position, 10 + 192);
  sheet.DefTabWidth = 0;  // taken as 1
  EXPECT_EQ(NextTab(sheet, 0, 5, screen, rpbdUnspecified, 0, 500).Position, 6);
}

TEST(RPStyleTest, NextTabAtTheParagraphsStops) {
  TRPStyle sheet(nullptr);
  TParaInfo& p = *sheet.ParaStyles()[0];
  p.Tabs.AddTab(100, rptaRight, ".");
  p.Tabs.AddTab(60, rptaCenter, "-");
  const TRPResolution screen;
  TNextTab t = NextTab(sheet, 0, 10, screen, rpbdUnspecified, 0, 500);
  EXPECT_EQ(t.Position, 60);
  EXPECT_EQ(t.Align, rptaCenter);
  EXPECT_EQ(t.Leader, "-");
  t = NextTab(sheet, 0, 60, screen, rpbdUnspecified, 0, 500);
  EXPECT_EQ(t.Position, 100);
  EXPECT_EQ(t.Align, rptaRight);
  EXPECT_EQ(NextTab(sheet, 0, 100, screen, rpbdUnspecified, 0, 500).Position, 144);  // past the stops: the grid
  // The indent (posA) comes first when it lies before the next stop.
  t = NextTab(sheet, 0, 10, screen, rpbdUnspecified, 30, 500);
  EXPECT_EQ(t.Position, 30);
  EXPECT_EQ(t.Align, rptaLeft);
  EXPECT_EQ(t.Leader, "");
  // Stops on a device are scaled.
  EXPECT_EQ(NextTab(sheet, 0, 10, TRPResolution{96, 96, 192, 192}, rpbdUnspecified, 0, 500).Position, 120);
}

TEST(RPStyleTest, NextTabRightToLeft) {
  TRPStyle sheet(nullptr);
  const TRPResolution screen;
  // x is measured from posB: 10 + 200 - 0 = 210 -> grid 240, mapped back by posA - posB.
  EXPECT_EQ(NextTab(sheet, 0, 10, screen, rpbdRightToLeft, 0, 200).Position, 40);
  sheet.ParaStyles()[0]->BiDiMode = rpbdRightToLeft;
  EXPECT_EQ(NextTab(sheet, 0, 10, screen, rpbdUnspecified, 0, 200).Position, 40);
  sheet.ParaStyles()[0]->Tabs.AddTab(230);
  EXPECT_EQ(NextTab(sheet, 0, 10, screen, rpbdUnspecified, 0, 200).Position, 30);
}

// --- As a document's style sheet ------------------------------------------------------------

TEST(RPStyleTest, DocumentsReadTheirStylesFromTheSheet) {
  TRPStyle sheet(nullptr);
  TFontInfo& unicode = *sheet.TextStyles().Add();  // 6
  unicode.Unicode = true;
  sheet.ParaStyles()[1]->DefStyleNo = 6;
  sheet.TextStyles()[0]->Protection = {rpprConcateProtect};
  TFakeItemClasses classes;
  TStyledData data;
  data.Sheet = &sheet;
  data.AddTextW(u"\u0416", -1, TRPTag(), 1);  // the default style of paragraph 1
  EXPECT_EQ(data.GetItemStyle(0), 6);
  EXPECT_EQ(data.GetItemTextRaw(0), AnsiString("\x16\x04", 2));
  data.AddRawText("a", 0, 0);
  data.AddRawText("b", 0, -1);
  EXPECT_FALSE(data.CanMergeItems(1, false));  // style 0 is protected against joining
  data.Clear();
}

}  // namespace

namespace {

TEST(RPStyleTest, DirectionsAndHtmlWritabilityForDocuments) {
  TRPStyle sheet(nullptr);
  sheet.TextStyles()[2]->BiDiMode = rpbdRightToLeft;
  sheet.ParaStyles()[1]->BiDiMode = rpbdLeftToRight;
  EXPECT_EQ(sheet.GetTextStyleBiDiMode(2), rpbdRightToLeft);
  EXPECT_EQ(sheet.GetParaStyleBiDiMode(1), rpbdLeftToRight);
  const struct {
    TRPTextOptions Options;
    bool Writable;
  } cases[] = {{{}, true}, {{rpteoHTMLCode}, true}, {{rpteoRTFCode}, false}, {{rpteoRTFCode, rpteoHTMLCode}, true}};
  for (const auto& c : cases) {
    sheet.TextStyles()[0]->Options = c.Options;
    EXPECT_EQ(sheet.IsTextStyleHTMLWritable(0), c.Writable);
  }
}

}  // namespace

namespace {

TEST(RPStyleTest, TheInvalidPictureIsTheProgramsBitmapResource) {
  TRPStyle sheet(nullptr);
  const TGraphic* invalid = sheet.GetInvalidPicture();
  ASSERT_NE(invalid, nullptr);
  EXPECT_EQ(invalid->Width(), 16);  // the embedded "RP_BAD_PICTURE"
  EXPECT_EQ(invalid->Height(), 16);
  EXPECT_EQ(sheet.GetInvalidPicture(), invalid);  // made once
  const TBitmap& bad = dynamic_cast<const TBitmap&>(*invalid);
  EXPECT_EQ(bad.PixelColor(0, 0), RGB(128, 128, 128));  // its frame
  EXPECT_EQ(bad.PixelColor(3, 3), clRed);               // its cross

  TBitmap own;
  own.SetPixelFormat(pf24bit);
  own.SetSize(2, 1);
  sheet.SetInvalidPicture(&own);  // a copy is kept
  own.SetSize(5, 5);
  EXPECT_EQ(sheet.GetInvalidPicture()->Width(), 2);
  sheet.SetInvalidPicture(nullptr);  // freed: the resource again
  EXPECT_EQ(sheet.GetInvalidPicture()->Width(), 16);
}

}  // namespace
