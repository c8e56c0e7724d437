#include "richtext/model/RPTextItems.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RPItemOutput.h"
#include "RPTestCanvas.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/TextMetrics.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPHtmlHelpers.h"
#include "richtext/model/RPStyle.h"

namespace {

class TJumpRecordingData : public TCustomRPData {
public:
  const IRPStyleSheet* GetRPStyle() const override { return Sheet; }
  void ExecuteItemJump(int32_t jumpId) override { Jumps.push_back(jumpId); }
  const TRPStyle* Sheet = nullptr;
  std::vector<int32_t> Jumps;
};

class RPTextItemsTest : public ::testing::Test {
protected:
  TRPStyle Sheet{nullptr};
};

TEST_F(RPTextItemsTest, ClassesByStyleNumber) {
  EXPECT_NE(dynamic_cast<TRPBreakItemInfo*>(CreateItemByStyleNo(rpkindBreak, nullptr).get()), nullptr);
  EXPECT_NE(dynamic_cast<TRPTabItemInfo*>(CreateItemByStyleNo(rpkindTab, nullptr).get()), nullptr);
  auto text = CreateItemByStyleNo(3, nullptr);
  ASSERT_NE(dynamic_cast<TRPTextItemInfo*>(text.get()), nullptr);
  EXPECT_EQ(text->StyleNo, 3);
  TRPBreakItemInfo source(nullptr);
  source.LineWidth = 4;
  source.Style = rpbrDashed;
  source.Color = clRed;
  auto copy = CreateItemCopy(source, nullptr, false);
  auto* breakCopy = dynamic_cast<TRPBreakItemInfo*>(copy.get());
  ASSERT_NE(breakCopy, nullptr);
  EXPECT_EQ(breakCopy->LineWidth, 4);
  EXPECT_EQ(breakCopy->Style, rpbrDashed);
  EXPECT_EQ(breakCopy->Color, clRed);
}

TEST_F(RPTextItemsTest, TextHyperlinkQueriesFollowTheResolvedStyle) {
  TRPTextItemInfo item(nullptr);
  item.StyleNo = 4;  // "Jump 1"
  for (TRPItemBoolQueryEx q : {rpibqxJump, rpibqxFocusable, rpibqxJumpCursor})
    EXPECT_TRUE(item.GetBoolValueEx(q, &Sheet));
  EXPECT_FALSE(item.GetBoolValueEx(rpibqxHoverRepaint, &Sheet));  // looks the same under the mouse
  Sheet.HoverColor = clRed;
  EXPECT_TRUE(item.GetBoolValueEx(rpibqxHoverRepaint, &Sheet));
  EXPECT_TRUE(item.GetBoolValueEx(rpibqxPrintAsBitmap, &Sheet));
  item.StyleNo = rpDefaultTextStyle;  // the paragraph's default style
  item.ParaNo = 1;
  EXPECT_FALSE(item.GetBoolValueEx(rpibqxJump, &Sheet));
  Sheet.ParaStyles()[1]->DefStyleNo = 5;
  EXPECT_TRUE(item.GetBoolValueEx(rpibqxJump, &Sheet));
  EXPECT_FALSE(item.GetBoolValueEx(rpibqxJump, nullptr));
}

TEST_F(RPTextItemsTest, AHyperlinkTellsItsDocument) {
  TJumpRecordingData data;
  data.Sheet = &Sheet;
  TRPTextItemInfo link(&data), plain(&data);
  link.StyleNo = 5;
  link.JumpID = 7;
  plain.JumpID = 8;
  link.ExecuteJump(&data);
  plain.ExecuteJump(&data);
  EXPECT_EQ(data.Jumps, std::vector<int32_t>{7});
}

TEST_F(RPTextItemsTest, TextHeaderExtraIsAQuotedHint) {
  const struct {
    const char* Rest;
    bool Ok;
    const char* Hint;
  } cases[] = {{"", true, "old"},  {"\r\n", true, "old"},    {" \"say \"\"hi\"\"\"", true, "say \"hi\""},
               {"\"\"", true, ""}, {"\"open", false, "old"}, {"x", false, "old"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Rest);
    TRPTextItemInfo item(nullptr);
    item.Hint = "old";
    AnsiStringView rest = c.Rest;
    TFakeRPFStreaming reader;
    EXPECT_EQ(item.ReadRPFHeaderExtra(rest, reader), c.Ok);
    EXPECT_EQ(item.Hint, c.Hint);
  }
}

TEST_F(RPTextItemsTest, StylesInUse) {
  TRPStyleUsage usage;
  usage.TextStyles = TRPIntegerList::CreateFilled(6, 0);
  usage.ParaStyles = TRPIntegerList::CreateFilled(2, 0);
  TRPTextItemInfo text(nullptr);
  text.StyleNo = 3;
  text.ParaNo = 1;
  TRPTabItemInfo tab(nullptr);
  tab.TextStyleNo = 5;
  TRPTextItemInfo byDefault(nullptr);
  byDefault.StyleNo = rpDefaultTextStyle;
  for (const TCustomRPItemInfo* item : std::initializer_list<const TCustomRPItemInfo*>{&text, &tab, &byDefault})
    item->MarkStylesInUse(usage);
  EXPECT_EQ(usage.TextStyles[3], 1);
  EXPECT_EQ(usage.TextStyles[5], 1);
  EXPECT_EQ(usage.TextStyles[0], 0);
  EXPECT_EQ(usage.ParaStyles[1], 1);
  // Renumbering with cumulative counts of removed styles (three removed before 5).
  TRPStyleUsage counts;
  for (int32_t v : {1, 1, 1, 2, 3, 4}) counts.TextStyles.Add(v);
  for (int32_t v : {1, 1}) counts.ParaStyles.Add(v);
  tab.RenumberStyles(counts);
  text.RenumberStyles(counts);
  byDefault.RenumberStyles(counts);
  EXPECT_EQ(tab.TextStyleNo, 2);
  EXPECT_EQ(text.StyleNo, 2);
  EXPECT_EQ(byDefault.StyleNo, rpDefaultTextStyle);
}

// --- Breaks -----------------------------------------------------------------------------------

TEST_F(RPTextItemsTest, BreakQueriesAndPlainText) {
  TRPBreakItemInfo item(nullptr);
  EXPECT_TRUE(item.GetBoolValue(rpibqWholeLine));
  EXPECT_FALSE(item.GetBoolValueEx(rpibqxPrintAsBitmap, &Sheet));
  bool unicode = true;
  EXPECT_EQ(item.AsPlainText(5, nullptr, unicode), "-----");
  EXPECT_FALSE(unicode);
  EXPECT_EQ(item.AsPlainText(0, nullptr, unicode), "-");
  item.LineWidth = 2;
  EXPECT_EQ(item.AsPlainText(5, nullptr, unicode), "=====");
}

TEST_F(RPTextItemsTest, BreakLinesOnScreen) {
  Sheet.TextStyles()[0]->Color = clBlack;
  const struct {
    const char* Name;
    TRPBreakStyle Style;
    uint8_t Width;
    std::vector<std::string> Rows;  // rows 4 .. 7 of a 20-pixel line from x 5 to 15
  } cases[] = {
      {"line",
       rpbrLine,
       1,
       {"....................", ".....##########.....", "....................", "...................."}},
      {"thick line",
       rpbrLine,
       2,
       {".....##########.....", ".....##########.....", "....................", "...................."}},
      // Squares while x + w is below x2: at 5 and 9, not at 13.
      {"dotted squares",
       rpbrDotted,
       2,
       {".....##..##.........", ".....##..##.........", "....................", "...................."}},
      // Bars of 2w every 3w, the last cut at x2.
      {"dashed",
       rpbrDashed,
       1,
       {"....................", ".....##.##.##.#.....", "....................", "...................."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    auto page = WhitePage(20, 12);
    TRPBreakItemInfo item(nullptr);
    item.Style = c.Style;
    item.LineWidth = c.Width;
    item.PaintFullWidth(0, 20, 0, *page->Canvas(), 0, Sheet);
    const std::vector<std::string> art = Art(*page, clBlack);
    EXPECT_EQ(std::vector<std::string>(art.begin() + 4, art.begin() + 8), c.Rows);
    EXPECT_EQ(page->Canvas()->Brush().Style(), bsClear);
  }
}

TEST_F(RPTextItemsTest, DottedBreaksOfWidthThreeAreCircles) {
  auto page = WhitePage(24, 12);
  TRPBreakItemInfo item(nullptr);
  item.Style = rpbrDotted;
  item.LineWidth = 3;
  item.Color = clBlack;
  item.PaintFullWidth(0, 24, 0, *page->Canvas(), 0, Sheet);
  const std::vector<std::string> art = Art(*page, clBlack);
  // Circles in cells of 4 from x 5 and 11 (top 4): corners left out, unlike squares.
  EXPECT_EQ(art[4].substr(5, 4), ".##.");
  EXPECT_EQ(art[5].substr(5, 4), "####");
  EXPECT_EQ(art[4].substr(11, 4), ".##.");
  EXPECT_EQ(art[5].substr(17, 4), "....");  // 17 + 3 is not below 19
}

TEST_F(RPTextItemsTest, SelectedBreakGetsAFrameUnlessTheColourIsNone) {
  Sheet.SelColor = clRed;
  Sheet.InactiveSelColor = clNone;
  auto page = WhitePage(20, 10);
  TRPBreakItemInfo item(nullptr);
  item.Color = clBlack;
  item.PaintFullWidth(0, 20, 0, *page->Canvas(), rpidsSelected | rpidsFocused, Sheet);
  std::vector<std::string> art = Art(*page, clBlack, clRed);
  EXPECT_EQ(art[4], ".....oooooooooo.....");
  EXPECT_EQ(art[5], ".....o########o.....");
  EXPECT_EQ(art[6], ".....oooooooooo.....");
  auto inactive = WhitePage(20, 10);
  item.PaintFullWidth(0, 20, 0, *inactive->Canvas(), rpidsSelected, Sheet);
  EXPECT_EQ(Art(*inactive, clBlack, clRed)[4], "....................");
}

TEST_F(RPTextItemsTest, Sunken3DBreak) {
  auto page = WhitePage(14, 10);
  TRPBreakItemInfo item(nullptr);
  item.Style = rpbr3D;
  item.LineWidth = 3;
  item.PaintFullWidth(0, 14, 0, *page->Canvas(), 0, Sheet);
  // The frame (5, 4, 8, 6): shadow on the left and top, face on the right and bottom
  // (each polyline leaves out its last point).
  const std::vector<std::string> art = Art(*page, 0x808080, 0xC0C0C0);
  EXPECT_EQ(art[4], ".....###o.....");
  EXPECT_EQ(art[5], ".....#..o.....");
  EXPECT_EQ(art[6], ".....oooo.....");
}

TEST_F(RPTextItemsTest, BreakPrintedOnADevice) {
  auto page = WhitePage(40, 20);
  TRPBreakItemInfo item(nullptr);
  item.Color = clRed;
  item.LineWidth = 1;
  // Twice the resolution: offsets 10, the line 2 thick at y 10 - 1; black and white.
  item.Print(*page->Canvas(), 0, 40, 0, TRPResolution{96, 96, 192, 192}, rpcmBlackAndWhite, Sheet);
  const std::vector<std::string> art = Art(*page, clBlack);
  EXPECT_EQ(art[9], "..........####################..........");
  EXPECT_EQ(art[10], "..........####################..........");
  EXPECT_EQ(art[11], "........................................");
}

TEST_F(RPTextItemsTest, BreakAsHtmlAndRtf) {
  TFakeHtmlWriter writer;
  writer.CodePageValue = 1251;
  TRPBreakItemInfo item(nullptr);
  item.LineWidth = 2;
  EXPECT_EQ(HtmlOf(item, writer, 0, false, clNone, nullptr), "<hr noshade size=2>");
  item.Hint = "a \"b\"";
  EXPECT_EQ(HtmlOf(item, writer, rphtmlQuotedAttributes, false, clNone, nullptr),
            "<hr noshade=\"noshade\" title=\"a 'b'\" size=\"2\" />");
  item.Hint.clear();
  item.Color = clRed;
  EXPECT_EQ(HtmlOf(item, writer, 0, false, clNone, nullptr), "<hr noshade size=2 color=#ff0000>");
  EXPECT_EQ(HtmlOf(item, writer, rphtmlQuotedAttributes, false, clNone, nullptr),
            "<hr noshade=\"noshade\" size=\"2\" color=\"#ff0000\" />");
  item.Style = rpbrDotted;
  EXPECT_EQ(HtmlOf(item, writer, 0, true, clNone, nullptr),
            "<hr noshade size=2 style=\"color : #ff0000; border-style: dotted\">");
  item.Color = clNone;
  EXPECT_EQ(HtmlOf(item, writer, 0x80, false, clNone, nullptr), "<hr noshade size=2 style=\"border-style: dotted\">");
  item.Style = rpbrLine;
  EXPECT_EQ(HtmlOf(item, writer, 0x80, false, clNone, nullptr), "<hr noshade size=2>");  // no style text

  TRPColorList colors;
  colors.AddUniqueColor(clBlue);
  TRPIntegerList overrides;
  item.FillRTFTables(colors, overrides, nullptr);  // clNone adds nothing
  EXPECT_EQ(colors.Count(), 1);
  EXPECT_EQ(RtfOf(item, 0, colors, 0, 15), "\\pard\\plain\\fs6\\brdrb\\brdrs\\brdrw30\\brdrcf0\\par\\pard");
  item.Color = clGreen;
  item.FillRTFTables(colors, overrides, nullptr);
  EXPECT_EQ(RtfOf(item, 0, colors, 1, 15),
            "\\pard\\intbl\\itap1\\plain\\fs6\\brdrb\\brdrs\\brdrw30\\brdrcf1\\par\\pard\\intbl\\itap1");
  EXPECT_EQ(RtfOf(item, 0, colors, 3, 7.5).substr(0, 12), "\\pard\\itap3\\");
}

TEST_F(RPTextItemsTest, BreakHeaderExtra) {
  TRPBreakItemInfo item(nullptr);
  item.Color = 255;
  item.Style = rpbrDashed;
  item.LineWidth = 3;
  AnsiString extra;
  item.GetRPFHeaderExtra(nullptr, extra);
  EXPECT_EQ(extra, "255 4 3");
  TFakeRPFStreaming reader;
  TRPBreakItemInfo read(nullptr);
  AnsiStringView rest = extra;
  ASSERT_TRUE(read.ReadRPFHeaderExtra(rest, reader));
  EXPECT_EQ(read.Color, 255);
  EXPECT_EQ(read.Style, rpbrDashed);
  EXPECT_EQ(read.LineWidth, 3);
  AnsiStringView empty = "\r\n";
  ASSERT_TRUE(read.ReadRPFHeaderExtra(empty, reader));
  EXPECT_EQ(read.Color, clNone);
  EXPECT_EQ(read.Style, rpbrLine);
  EXPECT_EQ(read.LineWidth, 1);
  AnsiStringView missing = "5 1";
  EXPECT_FALSE(read.ReadRPFHeaderExtra(missing, reader));
}

TEST(RPFrame3DTest, RingsShrinkInward) {
  auto page = WhitePage(8, 8);
  DrawFrame3D(*page->Canvas(), TRect{1, 1, 6, 6}, clBlack, 2, clRed);
  const std::vector<std::string> art = Art(*page, clBlack, clRed);
  EXPECT_EQ(art, (std::vector<std::string>{
                     "........",
                     ".#####o.",
                     ".####oo.",
                     ".##..oo.",
                     ".##..oo.",
                     ".#ooooo.",
                     ".oooooo.",
                     "........",
                 }));
}

// --- Tabs ---------------------------------------------------------------------------------------

TEST_F(RPTextItemsTest, TabQueriesAndText) {
  TRPTabItemInfo tab(nullptr);
  for (TRPItemBoolQuery q : {rpibqResetsFontCache, rpibqTab, rpibqSwitchesTextStyle}) EXPECT_TRUE(tab.GetBoolValue(q));
  EXPECT_FALSE(tab.GetBoolValue(rpibqWholeLine));
  EXPECT_FALSE(tab.GetBoolValueEx(rpibqxPrintAsBitmap, &Sheet));
  EXPECT_TRUE(tab.GetBoolValueEx(rpibqxSizeForWidth, &Sheet));
  tab.SetAssociatedTextStyleNo(3);
  EXPECT_EQ(tab.GetAssociatedTextStyleNo(), 3);
  bool unicode = true;
  EXPECT_EQ(tab.AsPlainText(10, nullptr, unicode), "\t");
  EXPECT_EQ(RtfOf(tab, 0), "\\tab ");
  tab.TextStyleNo = rpDefaultTextStyle;
  tab.ParaNo = 1;
  EXPECT_EQ(tab.ResolveTextStyleNo(&Sheet), 0);
  Sheet.ParaStyles()[1]->DefStyleNo = 2;
  EXPECT_EQ(tab.ResolveTextStyleNo(&Sheet), 2);
}

TEST_F(RPTextItemsTest, TabAsHtml) {
  TFakeHtmlWriter writer;
  TRPTabItemInfo tab(nullptr);
  EXPECT_EQ(HtmlOf(tab, writer, 0, false, clNone, &Sheet),
            " &nbsp; &nbsp; &nbsp; &nbsp;");  // SpacesInTab 0: 8, in pieces of 2
  tab.Leader = ".";
  EXPECT_EQ(HtmlOf(tab, writer, 0, false, clNone, &Sheet), "........");
  tab.Leader = "<";
  Sheet.SpacesInTab = 3;
  EXPECT_EQ(HtmlOf(tab, writer, 0, false, clNone, &Sheet),
            "&lt;");  // the escaped piece counts its own length: (3 + 4 - 1) div 4
}

TEST_F(RPTextItemsTest, TabHeaderExtra) {
  TRPTabItemInfo tab(nullptr);
  tab.TextStyleNo = 7;
  AnsiString extra;
  tab.GetRPFHeaderExtra(nullptr, extra);
  EXPECT_EQ(extra, "7");
  TFakeRPFStreaming reader;
  AnsiStringView empty = "";
  tab.TextStyleNo = 4;
  ASSERT_TRUE(tab.ReadRPFHeaderExtra(empty, reader));
  EXPECT_EQ(tab.TextStyleNo, 4);  // kept
  AnsiStringView number = " 9";
  ASSERT_TRUE(tab.ReadRPFHeaderExtra(number, reader));
  EXPECT_EQ(tab.TextStyleNo, 9);
  AnsiStringView bad = "x";
  EXPECT_FALSE(tab.ReadRPFHeaderExtra(bad, reader));
}

TEST_F(RPTextItemsTest, TabSizeIsTheTextStylesLine) {
  auto page = WhitePage(10, 10);
  TRPTabItemInfo tab(nullptr);
  tab.TextStyleNo = 1;
  Sheet.TextStyles()[1]->Size = 20;
  int32_t height = 0, descent = 0;
  tab.UpdateSizeForWidth(*page->Canvas(), Sheet, height, descent);
  TEXTMETRICA tm;
  TBitmap reference;
  reference.Canvas()->Font().SetName("Arial");
  reference.Canvas()->Font().SetSize(20);
  reference.Canvas()->Font().SetStyle({fsBold});
  GetTextMetricsA(reference.Canvas()->Handle(), &tm);
  EXPECT_EQ(height, tm.tmHeight);
  EXPECT_EQ(descent, tm.tmDescent);
  EXPECT_GT(height, 20);
}

TEST_F(RPTextItemsTest, TabGapWithLeaderAndArrow) {
  Sheet.TextStyles()[0]->Color = clBlack;
  Sheet.TextStyles()[0]->BackColor = clYellow;
  auto page = WhitePage(60, 20);
  TRPTabItemInfo tab(nullptr);
  tab.Leader = "-";
  tab.DrawTab(*page->Canvas(), 2, 1, 50, 16, Sheet, {}, false, rpcmColor, false);
  EXPECT_EQ(page->PixelColor(2, 1), clYellow);  // the gap is filled
  EXPECT_EQ(page->PixelColor(51, 16), clYellow);
  EXPECT_EQ(page->PixelColor(52, 16), clWhite);
  // Leaders stand at x + w, x + 2w, ... while they end before x + width - w.
  auto reference = WhitePage(60, 20);
  TCanvas& r = *reference->Canvas();
  Sheet.ApplyStyleColor(r, 0, {}, false, rpcmColor);
  Sheet.ApplyStyle(r, 0, rpbdUnspecified, false);
  r.FillRect(TRect{2, 1, 52, 17});
  r.Brush().SetStyle(bsClear);
  const int32_t w = r.TextWidth("-");
  for (int32_t x = 2 + w; x + w <= 52 - w; x += w) r.TextOut(x, 1, "-");
  for (int32_t y = 0; y < 20; ++y)
    for (int32_t x = 0; x < 60; ++x) ASSERT_EQ(page->PixelColor(x, y), reference->PixelColor(x, y)) << x << "," << y;
}

TEST(RPTabArrowTest, ArrowHeads) {
  auto page = WhitePage(12, 9);
  page->Canvas()->Font().SetColor(clBlack);
  DrawTabArrow(*page->Canvas(), TRect{0, 0, 10, 8}, false);
  // a = 10, cx = 10, cy = 4: the shaft from x 10 back to -1 (excluded), the head
  // strokes at 9 (rows 3-5) and 8, 7 (rows 2-6).
  EXPECT_EQ(Art(*page, clBlack), (std::vector<std::string>{
                                     "............",
                                     "............",
                                     ".......##...",
                                     ".......###..",
                                     "###########.",
                                     ".......###..",
                                     ".......##...",
                                     "............",
                                     "............",
                                 }));
}

}  // namespace
