#include "richtext/model/RPParaInfo.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "RPTestCanvas.h"
#include "platform/graphics/Bitmap.h"

namespace {

struct TParaCase {
  const char* Name;
  TRPParaInfoProperty Property;
  std::function<void(TParaInfo&)> Change;
};

const TParaCase ParaCases[] = {
    {"alignment", rppiAlignment, [](TParaInfo& p) { p.Alignment = rpaJustify; }},
    {"first indent", rppiFirstIndent, [](TParaInfo& p) { p.FirstIndent = 10; }},
    {"left indent", rppiLeftIndent, [](TParaInfo& p) { p.LeftIndent = 10; }},
    {"right indent", rppiRightIndent, [](TParaInfo& p) { p.RightIndent = 10; }},
    {"space before", rppiSpaceBefore, [](TParaInfo& p) { p.SpaceBefore = 10; }},
    {"space after", rppiSpaceAfter, [](TParaInfo& p) { p.SpaceAfter = 10; }},
    {"line spacing", rppiLineSpacing, [](TParaInfo& p) { p.LineSpacing = 150; }},
    {"line spacing type", rppiLineSpacingType, [](TParaInfo& p) { p.LineSpacingType = rplsSpaceBetween; }},
    {"no wrap", rppiNoWrap, [](TParaInfo& p) { p.Options = {rppaoNoWrap}; }},
    {"read-only", rppiReadOnly, [](TParaInfo& p) { p.Options = {rppaoReadOnly}; }},
    {"style protect", rppiStyleProtect, [](TParaInfo& p) { p.Options = {rppaoStyleProtect}; }},
    {"no returns", rppiDoNotWantReturns, [](TParaInfo& p) { p.Options = {rppaoDoNotWantReturns}; }},
    {"keep lines", rppiKeepLinesTogether, [](TParaInfo& p) { p.Options = {rppaoKeepLinesTogether}; }},
    {"keep with next", rppiKeepWithNext, [](TParaInfo& p) { p.Options = {rppaoKeepWithNext}; }},
    {"direction", rppiBiDiMode, [](TParaInfo& p) { p.BiDiMode = rpbdLeftToRight; }},
    {"tabs", rppiTabs, [](TParaInfo& p) { p.Tabs.AddTab(40); }},
    {"background colour", rppiBackground_Color, [](TParaInfo& p) { p.Background.Color = clYellow; }},
    {"background left", rppiBackground_BO_Left, [](TParaInfo& p) { p.Background.BorderOffsets.Left = 2; }},
    {"background top", rppiBackground_BO_Top, [](TParaInfo& p) { p.Background.BorderOffsets.Top = 2; }},
    {"background right", rppiBackground_BO_Right, [](TParaInfo& p) { p.Background.BorderOffsets.Right = 2; }},
    {"background bottom", rppiBackground_BO_Bottom, [](TParaInfo& p) { p.Background.BorderOffsets.Bottom = 2; }},
    {"border style", rppiBorder_Style, [](TParaInfo& p) { p.Border.Style = rpbDouble; }},
    {"border colour", rppiBorder_Color, [](TParaInfo& p) { p.Border.Color = clRed; }},
    {"border width", rppiBorder_Width, [](TParaInfo& p) { p.Border.Width = 3; }},
    {"border gap", rppiBorder_InternalWidth, [](TParaInfo& p) { p.Border.InternalWidth = 3; }},
    {"border left", rppiBorder_BO_Left, [](TParaInfo& p) { p.Border.BorderOffsets.Left = 2; }},
    {"border top", rppiBorder_BO_Top, [](TParaInfo& p) { p.Border.BorderOffsets.Top = 2; }},
    {"border right", rppiBorder_BO_Right, [](TParaInfo& p) { p.Border.BorderOffsets.Right = 2; }},
    {"border bottom", rppiBorder_BO_Bottom, [](TParaInfo& p) { p.Border.BorderOffsets.Bottom = 2; }},
    {"visible left", rppiBorder_Vis_Left, [](TParaInfo& p) { p.Border.VisibleBorders.Left = false; }},
    {"visible top", rppiBorder_Vis_Top, [](TParaInfo& p) { p.Border.VisibleBorders.Top = false; }},
    {"visible right", rppiBorder_Vis_Right, [](TParaInfo& p) { p.Border.VisibleBorders.Right = false; }},
    {"visible bottom", rppiBorder_Vis_Bottom, [](TParaInfo& p) { p.Border.VisibleBorders.Bottom = false; }},
    {"next paragraph", rppiNextParaNo, [](TParaInfo& p) { p.NextParaNo = 1; }},
    {"default text style", rppiDefStyleNo, [](TParaInfo& p) { p.DefStyleNo = 2; }},
};

TEST(RPParaInfoTest, Defaults) {
  TParaInfo p(nullptr);
  EXPECT_EQ(p.StyleName, "Paragraph Style");
  EXPECT_EQ(p.LineSpacing, 100);
  EXPECT_EQ(p.LineSpacingType, rplsPercent);
  EXPECT_EQ(p.Border.Width, 1);
  EXPECT_EQ(p.Border.InternalWidth, 1);
  EXPECT_EQ(p.Border.Color, clWindowText);
  EXPECT_EQ(p.Border.Style, rpbNone);
  EXPECT_TRUE(p.Border.VisibleBorders.IsAllEqual(true));
  EXPECT_EQ(p.Background.Color, clNone);
  EXPECT_EQ(p.DefStyleNo, -1);
  EXPECT_EQ(p.NextParaNo, -1);
  EXPECT_EQ(p.Tabs.Count(), 0);
}

TEST(RPParaInfoTest, EveryComparedPropertyDiffersUnlessIgnored) {
  const TParaInfo stored(nullptr);
  for (const TParaCase& c : ParaCases) {
    SCOPED_TRACE(c.Name);
    TParaInfo wanted(nullptr);
    c.Change(wanted);
    EXPECT_FALSE(wanted.IsEqual(stored, {}));
    EXPECT_TRUE(wanted.IsEqual(stored, {c.Property}));
  }
  TParaInfo named(nullptr);
  named.StyleName = "Other";
  named.BaseStyleNo = 3;  // neither is compared
  EXPECT_TRUE(named.IsEqual(stored, {}));
  named.ModifiedProperties2 = {rppiTabs};
  EXPECT_FALSE(named.IsEqual(stored, RPAllParaInfoProperties));
}

TEST(RPParaInfoTest, TabsCompareByPositionAlignAndLeader) {
  TParaInfo a(nullptr), b(nullptr);
  a.Tabs.AddTab(40, rptaRight, ".");
  b.Tabs.AddTab(40, rptaRight, ".");
  EXPECT_TRUE(a.IsEqual(b, {}));
  b.Tabs.Tab(0)->Leader = "-";
  EXPECT_FALSE(a.IsEqual(b, {}));
  b.Tabs.Tab(0)->Leader = ".";
  b.Tabs.Tab(0)->Align = rptaCenter;
  EXPECT_FALSE(a.IsEqual(b, {}));
}

TEST(RPParaInfoTest, TabsStayInPositionOrder) {
  TRPTabInfos tabs;
  tabs.AddTab(10);
  tabs.AddTab(100);
  tabs.Tab(0)->SetPosition(200);  // moves to the end
  EXPECT_EQ(tabs.Tab(0)->Position(), 100);
  EXPECT_EQ(tabs.Tab(1)->Position(), 200);
  // Equal positions keep their order.
  TRPTabInfos equal;
  equal.AddTab(50, rptaLeft);
  equal.AddTab(50, rptaRight);
  equal.AddTab(50, rptaCenter);
  equal.AddTab(20);
  EXPECT_EQ(equal.Tab(0)->Position(), 20);
  EXPECT_EQ(equal.Tab(1)->Align, rptaLeft);
  EXPECT_EQ(equal.Tab(2)->Align, rptaRight);
  EXPECT_EQ(equal.Tab(3)->Align, rptaCenter);
  EXPECT_EQ(equal.Tab(1)->DisplayName(), "left at 50");
  equal.Tab(3)->Leader = "-.";
  EXPECT_EQ(equal.Tab(3)->DisplayName(), "center at 50 (-.-.-.-.-.-.)");
}

TEST(RPParaInfoTest, ExtraLineSpacing) {
  const struct {
    TRPLineSpacingType Type;
    int32_t Spacing;
    bool Extra;
  } cases[] = {{rplsPercent, 100, false},    {rplsPercent, 150, true},    {rplsPercent, 90, true},
               {rplsSpaceBetween, 0, false}, {rplsSpaceBetween, 3, true}, {rplsSpaceBetween, -2, false}};
  for (const auto& c : cases) {
    TParaInfo p(nullptr);
    p.LineSpacingType = c.Type;
    p.LineSpacing = c.Spacing;
    EXPECT_EQ(p.ExtraLineSpacing(), c.Extra) << c.Type << " " << c.Spacing;
  }
}

TEST(RPParaInfoTest, SimilarityOfAStyleWithItself) {
  TParaInfo p(nullptr);
  // By hand: five indents and spaces 5000, background none with none 80000 and offsets
  // 400, no tabs, no border lines: 4 * 20000, alignment 50000, direction 10000, options
  // 113000, line spacing 5000.
  EXPECT_EQ(p.SimilarityValue(p), 343400);
  TParaInfo bordered(nullptr);
  bordered.Border.Style = rpbSingle;
  bordered.Border.VisibleBorders.Left = false;
  // Three sides with a line on one side only, one with neither.
  EXPECT_EQ(p.SimilarityValue(bordered), 343400 - 4 * 20000 + 20000 - 3 * 20000);
  TParaInfo tabbed(nullptr);
  tabbed.Tabs.AddTab(40);
  tabbed.Tabs.AddTab(80);
  EXPECT_EQ(p.SimilarityValue(tabbed), 343400 - 800);
  for (const TParaCase& c : ParaCases) {
    SCOPED_TRACE(c.Name);
    TParaInfo other(nullptr);
    c.Change(other);
    if (c.Property == rppiNextParaNo || c.Property == rppiDefStyleNo || c.Property == rppiBorder_Color ||
        c.Property == rppiBorder_Width || c.Property == rppiBorder_InternalWidth ||
        (c.Property >= rppiBorder_BO_Left && c.Property <= rppiBorder_BO_Bottom) ||
        (c.Property >= rppiBorder_Vis_Left && c.Property <= rppiBorder_Vis_Bottom))
      continue;  // not scored, or scored only where both have a line
    EXPECT_LT(p.SimilarityValue(other), p.SimilarityValue(p));
  }
}

TEST(RPParaInfoTest, AssignAndValidProperties) {
  TParaInfo source(nullptr);
  for (const TParaCase& c : ParaCases) c.Change(source);
  TParaInfo copy(nullptr);
  copy.Assign(source);
  EXPECT_TRUE(copy.IsEqual(source, {}));
  TParaInfo partial(nullptr);
  partial.AssignValidProperties(
      source, {rppiLeftIndent, rppiBorder_Vis_Top, rppiKeepWithNext, rppiTabs, rppiNextParaNo, rppiDefStyleNo});
  TParaInfo expected(nullptr);
  expected.LeftIndent = 10;
  expected.Border.VisibleBorders.Top = false;
  expected.Options = {rppaoKeepWithNext};
  expected.Tabs.AddTab(40);
  EXPECT_TRUE(partial.IsEqual(expected, {}));  // NextParaNo and DefStyleNo are never copied so
}

TEST(RPParaInfoTest, SimpleEqualityThroughAMap) {
  TRPIntegerList map;
  map.Add(4);
  TParaInfo self(nullptr), value(nullptr);
  self.NextParaNo = 4;
  value.NextParaNo = 0;
  value.DefStyleNo = 9;  // a reference: ignored
  EXPECT_TRUE(self.IsSimpleEqualEx(value, map));
  EXPECT_FALSE(self.IsSimpleEqual(value, false, false));
  value.NextParaNo = 5;
  EXPECT_TRUE(self.IsSimpleEqualEx(value, map));
  EXPECT_EQ(value.NextParaNo, -1);
}

TEST(RPBorderTest, TotalWidths) {
  const struct {
    TRPBorderStyle Style;
    int32_t Width;
  } cases[] = {{rpbNone, 0},
               {rpbSingle, 2},
               {rpbDouble, 2 * 2 + 3},
               {rpbTriple, 2 * 3 + 2 * 3},
               {rpbThickInside, 3 * 2 + 3},
               {rpbThickOutside, 3 * 2 + 3}};
  for (const auto& c : cases) {
    TRPBorder b;
    b.Width = 2;
    b.InternalWidth = 3;
    b.Style = c.Style;
    EXPECT_EQ(b.GetTotalWidth(), c.Width) << c.Style;
  }
}

TEST(RPBorderTest, DoubleBorderDrawsTwoFramesTwoPixelsApart) {
  auto page = WhitePage(12, 10);
  TRPBorder border;
  border.Style = rpbDouble;
  border.Color = clBlack;
  border.Draw(TRect{3, 3, 8, 6}, *page->Canvas());
  EXPECT_EQ(Art(*page, clBlack), (std::vector<std::string>{
                                     "............",
                                     ".##########.",
                                     ".#........#.",
                                     ".#.######.#.",
                                     ".#.#....#.#.",
                                     ".#.#....#.#.",
                                     ".#.######.#.",
                                     ".#........#.",
                                     ".##########.",
                                     "............",
                                 }));
}

TEST(RPBorderTest, ThickOutsideDrawsItsOuterLineTwiceAsWide) {
  auto page = WhitePage(14, 12);
  TRPBorder border;
  border.Style = rpbThickOutside;
  border.Color = clBlack;
  border.VisibleBorders.SetValues(false, true, false, false);  // the top side alone
  border.Draw(TRect{5, 5, 8, 8}, *page->Canvas());
  // Inner pass: 1 pixel at y 5 from x 5 to 8; the rectangle then grows by 2, and by 1
  // more to the right and bottom, the line being 1 wide: (3, 3, 11, 11). The outer pass
  // draws a 2-pixel band, which a wide pen lays from one pixel before its line: y 2 and 3.
  std::vector<std::string> art = Art(*page, clBlack);
  EXPECT_EQ(art[5], ".....####.....");
  EXPECT_EQ(art[4], "..............");
  EXPECT_EQ(art[3], "...#########..");
  EXPECT_EQ(art[2], "...#########..");
  EXPECT_EQ(art[1], "..............");
}

TEST(RPBorderTest, NoneDrawsNothingAndOffsetsWidenTheFrame) {
  auto page = WhitePage(10, 10);
  TRPBorder border;
  border.Color = clBlack;
  border.Draw(TRect{2, 2, 6, 6}, *page->Canvas());
  for (const std::string& row : Art(*page, clBlack)) EXPECT_EQ(row, "..........");
  border.Style = rpbSingle;
  border.BorderOffsets.SetAll(1);
  border.Draw(TRect{3, 3, 6, 6}, *page->Canvas());
  // Each side is painted from end to end: (2, 2) to (7, 7).
  EXPECT_EQ(Art(*page, clBlack)[2], "..######..");
  EXPECT_EQ(Art(*page, clBlack)[7], "..######..");
  EXPECT_EQ(Art(*page, clBlack)[5], "..#....#..");
}

TEST(RPBorderTest, OnADeviceWidthsAndOffsetsAreScaled) {
  auto page = WhitePage(20, 12);
  TRPBorder border;
  border.Style = rpbSingle;
  border.Color = clBtnShadow;
  border.BorderOffsets.Left = 2;
  border.VisibleBorders.SetValues(true, false, false, false);
  // Twice the screen resolution: the offset 2 becomes 4 (the line at x 6), the width 2
  // (a band from one pixel before the line); the shadow colour resolved for a printer.
  border.DrawOnDevice(TRect{10, 2, 15, 8}, *page->Canvas(), TRPResolution{96, 96, 192, 192}, rpcmPrinterColor);
  const std::vector<std::string> art = Art(*page, 0x808080);
  EXPECT_EQ(art[5], ".....##.............");
}

TEST(RPBackgroundModelTest, FillsItsRectangleUnlessNoneOrBlackAndWhite) {
  for (TRPColorMode mode : {rpcmColor, rpcmBlackAndWhite, rpcmBlackOnWhite}) {
    auto page = WhitePage(8, 6);
    TRPBackgroundRect back;
    back.Color = clBlack;
    back.BorderOffsets.Left = 1;
    TRect r{3, 1, 6, 4};
    back.PrepareRect(r);
    back.Draw(r, *page->Canvas(), false, mode);
    const std::vector<std::string> art = Art(*page, clBlack);
    if (mode == rpcmColor) {
      EXPECT_EQ(art,
                (std::vector<std::string>{"........", "..####..", "..####..", "..####..", "........", "........"}));
      EXPECT_EQ(page->Canvas()->Brush().Style(), bsClear);
    } else {
      for (const std::string& row : art) EXPECT_EQ(row, "........");
    }
  }
  auto page = WhitePage(4, 4);
  TRPBackgroundRect none;
  none.Draw(TRect{0, 0, 4, 4}, *page->Canvas(), false, rpcmColor);
  for (const std::string& row : Art(*page, clBlack)) EXPECT_EQ(row, "....");
}

TEST(RPBackgroundModelTest, PreparedOnADevice) {
  TRPBackgroundRect back;
  back.BorderOffsets.Left = 1;
  back.BorderOffsets.Top = 2;
  back.BorderOffsets.Right = 3;
  back.BorderOffsets.Bottom = 4;
  TRect r{100, 100, 200, 200};
  back.PrepareRectOnDevice(r, TRPResolution{96, 96, 192, 288});
  EXPECT_EQ(r, (TRect{98, 94, 206, 212}));
}

}  // namespace
