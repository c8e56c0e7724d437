// The formatting pass against layouts worked out from the font's own metrics (fontTools):
// Liberation Sans for "Arial" at 10 pt is 13 pixels per em, ascent 12, descent 3.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "RPLayoutPeer.h"
#include "RPLayoutTestData.h"
#include "richtext/layout/RPLayoutItems.h"

namespace {

struct TDraw {
  int32_t ItemNo, Offs, Length, Left, Top, Width, Height;
  bool NewLine;
};

void ExpectDrawItems(const TCustomRPFormattedData& data, const std::vector<TDraw>& expected) {
  SCOPED_TRACE(DumpDrawLines(data));
  ASSERT_EQ(data.DrawItems.Count(), static_cast<int32_t>(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("draw item " + std::to_string(i));
    const TRPDrawLineInfo& d = *data.DrawItems[static_cast<int32_t>(i)];
    const TDraw& e = expected[i];
    EXPECT_EQ(d.ItemNo, e.ItemNo);
    EXPECT_EQ(d.Offs, e.Offs);
    EXPECT_EQ(d.Length, e.Length);
    EXPECT_EQ(d.Left, e.Left);
    EXPECT_EQ(d.Top, e.Top);
    EXPECT_EQ(d.Width, e.Width);
    EXPECT_EQ(d.Height, e.Height);
    EXPECT_EQ(d.StartsLine(), e.NewLine);
  }
}

// A picture-like item of a fixed size in screen pixels.
class TFixedRectItem : public TRPRectItemInfo {
public:
  TFixedRectItem(TCustomRPData* data, int32_t width, int32_t height)
      : TRPRectItemInfo(data), FWidth(width), FHeight(height) {
    StyleNo = rpkindPicture;
  }
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }
  int32_t GetWidth() const override { return FWidth; }
  int32_t GetHeight() const override { return FHeight; }

private:
  int32_t FWidth, FHeight;
};
const TRPItemClassInfo TFixedRectItem::ClassInfo{"TFixedRectItem", nullptr};

// A full-line item that lays itself out for the width it is offered (as tables do).
class TFullLineFake : public TRPFullLineItemInfo, public IRPLayoutItem {
public:
  explicit TFullLineFake(TCustomRPData* data) : TRPFullLineItemInfo(data) { StyleNo = -60; }
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }
  int32_t OfferedWidth = -1;
  void FormatForWidth(int32_t availWidth, TCanvas& canvas, TCustomRPFormattedData&, bool, bool,
                      int32_t& offset) override {
    OfferedWidth = availWidth;
    offset = 2;
    canvas.Font().SetSize(30);  // as a table laying out its cells on the same canvas
  }
  void Paint(int32_t, int32_t, TCanvas&, uint32_t, TCustomRPFormattedData&, const TRPDrawLineInfo&) override {}
  int32_t GetWidth() const override { return 40; }
  int32_t GetHeight() const override { return 25; }
};
const TRPItemClassInfo TFullLineFake::ClassInfo{"TFullLineFake", nullptr};

TEST(RPFormatTest, AnEmptyDocumentIsAsHighAsItsMargins) {
  TTestFormattedData data;
  data.TopMargin = 5;
  data.BottomMargin = 7;
  data.FormatAll();
  EXPECT_EQ(data.DrawItems.Count(), 0);
  EXPECT_EQ(data.DocumentHeight, 12);
  EXPECT_EQ(data.DocumentWidth, 200);
  EXPECT_EQ(data.TextWidth, 200);
}

// One paragraph of three words wrapped after the second: the space at the break belongs
// to neither line, and the second line starts one line height lower.
TEST(RPFormatTest, WrapsAtTheLastSpaceThatFitsAndDropsIt) {
  struct TCase {
    const char* Name;
    std::u16string Text;
    bool Unicode;
    TRPDocumentFlags Flags;
  };
  const TCase cases[] = {
      {"Latin, 8-bit, fit by extents", u"aaa bbb ccc", false, rpdfReportDefaults},
      {"Latin, 8-bit, fit by interpolation", u"aaa bbb ccc", false, rpdfReportDefaults & ~rpdfFitByExtents},
      {"Cyrillic, UTF-16, fit by extents", u"Жук ест мёд", true, rpdfReportDefaults},
      {"Cyrillic, UTF-16, fit by interpolation", u"Жук ест мёд", true, rpdfReportDefaults & ~rpdfFitByExtents},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::u16string first = c.Text.substr(0, 7), last = c.Text.substr(8);
    const TPeerText peer = PeerText(u"Arial", 10, {first, c.Text.substr(0, 9), last});
    ASSERT_EQ(peer.Height, 15);
    TTestFormattedData data;
    data.Flags = c.Flags;
    data.Width = peer.Extents[0] + 2;
    ASSERT_GT(peer.Extents[1], data.Width);  // the third word's first letter does not fit
    if (c.Unicode)
      data.AddW(c.Text, 0, 0);
    else
      data.AddAnsiText(WideToAnsi(c.Text, 1252), 0, TRPTag(), 0);
    data.FormatAll();
    ExpectDrawItems(data, {{0, 1, 7, 0, 0, peer.Extents[0], 15, true}, {0, 9, 3, 0, 15, peer.Extents[2], 15, true}});
    EXPECT_EQ(data.DocumentHeight, 30);
  }
}

TEST(RPFormatTest, ALongWordIsCutOnAnEmptyLineAndMovedWholeFromAFullOne) {
  const TPeerText peer = PeerText(u"Arial", 10, {u"xx", u"abcde", u"abcdef", u"fghij", u"xx abcde"});
  TTestFormattedData data;
  data.Width = peer.Extents[1] + 1;
  data.AddAnsiText("xx abcdefghij", 0, TRPTag(), 0);
  // The paragraph needs at least its widest word, so the document is made wider: keep
  // the wrapping width at the line by a narrower maximal text width.
  data.MaxTextWidth = data.Width;
  ASSERT_GT(peer.Extents[2], data.Width);
  data.FormatAll();
  ExpectDrawItems(data, {{0, 1, 2, 0, 0, peer.Extents[0], 15, true},
                         {0, 4, 5, 0, 15, peer.Extents[1], 15, true},
                         {0, 9, 5, 0, 30, peer.Extents[3], 15, true}});
}

// Justified lines deal the free pixels over the spaces, each taking its share of what is
// left; the paragraph's last line stays as it is.
TEST(RPFormatTest, JustificationDealsFreePixelsFromTheFirstGapOn) {
  struct TCase {
    int Free;
    std::vector<int> Shares;
  };
  for (const TCase& c : {TCase{10, {3, 3, 4}}, TCase{11, {3, 4, 4}}}) {
    SCOPED_TRACE(c.Free);
    const TPeerText peer = PeerText(u"Arial", 10, {u"aa", u" bb", u" cc", u" dd", u"ee", u"aa bb cc dd", u" e"});
    TTestFormattedData data;
    data.Style.ParaStyles()[0]->Alignment = rpaJustify;
    data.Width = peer.Extents[5] + c.Free;
    ASSERT_GT(peer.Extents[6], c.Free - 1);
    data.AddAnsiText("aa bb cc dd ee", 0, TRPTag(), 0);
    data.FormatAll();
    const int l1 = peer.Extents[0];
    const int w1 = peer.Extents[1] + c.Shares[0], w2 = peer.Extents[2] + c.Shares[1],
              w3 = peer.Extents[3] + c.Shares[2];
    ExpectDrawItems(data, {{0, 1, 2, 0, 0, l1, 15, true},
                           {0, 3, 3, l1, 0, w1, 15, false},
                           {0, 6, 3, l1 + w1, 0, w2, 15, false},
                           {0, 9, 3, l1 + w1 + w2, 0, w3, 15, false},
                           {0, 13, 2, 0, 15, peer.Extents[4], 15, true}});
    EXPECT_EQ(data.DrawItems[3]->Left + data.DrawItems[3]->Width, data.Width);
    EXPECT_EQ(data.DrawItems[1]->JustifyExtra, c.Shares[0]);
    EXPECT_EQ(data.DrawItems[3]->JustifyExtra, c.Shares[2]);
    EXPECT_EQ(data.DrawItems[4]->JustifyExtra, 0);
  }
}

TEST(RPFormatTest, AlignmentShiftsTheLineCentringNeverLeftOfItsIndent) {
  const TPeerText peer = PeerText(u"Arial", 10, {u"aaa"});
  const int free = 100 - peer.Extents[0];
  struct TCase {
    TRPAlignment Align;
    int TextLeft;
    int WideItemLeft;  // a 150-pixel item in the 100-pixel line
  };
  for (const TCase& c : {TCase{rpaLeft, 0, 0}, TCase{rpaCenter, free / 2, 0}, TCase{rpaRight, free, -50}}) {
    SCOPED_TRACE(static_cast<int>(c.Align));
    TTestFormattedData data;
    data.Width = 100;
    data.Style.ParaStyles()[0]->Alignment = c.Align;
    data.AddAnsiText("aaa", 0, TRPTag(), 0);
    auto wide = std::make_unique<TFixedRectItem>(&data, 150, 20);
    wide->ParaNo = 0;
    data.AddItem("", std::move(wide));
    data.FormatAll();
    // The wide item: ascent 20 - descent (its spacing, 1), so Top 0 and Below 1.
    ExpectDrawItems(
        data, {{0, 1, 3, c.TextLeft, 0, peer.Extents[0], 15, true}, {1, 0, 0, c.WideItemLeft, 15, 150, 20, true}});
    EXPECT_EQ(data.DocumentHeight, 35);
  }
}

// Left indent 20 with a first line of -10 and right indent 5 in 100 pixels: the first
// line runs from 10 to 95, the others from 20 to 95.
TEST(RPFormatTest, IndentsWithANegativeFirstLine) {
  const TPeerText peer = PeerText(u"Arial", 10, {u"aaa bbb ccc", u"aaa bbb ccc ddd", u"ddd eee fff"});
  ASSERT_LE(peer.Extents[0], 85);
  ASSERT_GT(peer.Extents[1], 85);
  ASSERT_LE(peer.Extents[2], 75);
  TTestFormattedData data;
  data.Width = 100;
  TParaInfo& para = *data.Style.ParaStyles()[0];
  para.LeftIndent = 20;
  para.FirstIndent = -10;
  para.RightIndent = 5;
  data.AddAnsiText("aaa bbb ccc ddd eee fff", 0, TRPTag(), 0);
  data.FormatAll();
  ExpectDrawItems(data, {{0, 1, 11, 10, 0, peer.Extents[0], 15, true}, {0, 13, 11, 20, 15, peer.Extents[2], 15, true}});
}

TEST(RPFormatTest, ParagraphGapsAddUpAndMarginsFrameTheDocument) {
  TTestFormattedData data;
  data.TopMargin = 3;
  data.BottomMargin = 4;
  data.LeftMargin = 6;
  const int32_t first = data.AddParaStyle(), second = data.AddParaStyle();
  data.Para(first).SpaceAfter = 5;
  data.Para(second).SpaceBefore = 7;
  data.AddAnsiText("aaa", 0, TRPTag(), first);
  data.AddAnsiText("bbb", 0, TRPTag(), second);
  data.FormatAll();
  const TPeerText peer = PeerText(u"Arial", 10, {u"aaa", u"bbb"});
  ExpectDrawItems(
      data, {{0, 1, 3, 6, 3, peer.Extents[0], 15, true}, {1, 1, 3, 6, 3 + 15 + 5 + 7, peer.Extents[1], 15, true}});
  EXPECT_EQ(data.DocumentHeight, 3 + 15 + 12 + 15 + 4);
  EXPECT_EQ(data.DocumentWidth, 200 - 6);
}

// Two lines of one paragraph 15 pixels high: percent spacing adds (or takes) its part
// of the line's text height below each line; 49 % and less adds nothing.
TEST(RPFormatTest, LineSpacing) {
  struct TCase {
    TRPLineSpacingType Type;
    int Value;
    int Extra;
  };
  const TCase cases[] = {{rplsPercent, 100, 0},    {rplsPercent, 150, 7}, {rplsPercent, 200, 15},
                         {rplsPercent, 80, -3},    {rplsPercent, 49, 0},  {rplsSpaceBetween, 4, 4},
                         {rplsSpaceBetween, -1, 0}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Type) + " " + std::to_string(c.Value));
    TTestFormattedData data;
    data.Width = 30;
    data.Style.ParaStyles()[0]->LineSpacingType = c.Type;
    data.Style.ParaStyles()[0]->LineSpacing = c.Value;
    data.AddAnsiText("aaa bbb", 0, TRPTag(), 0);
    data.FormatAll();
    SCOPED_TRACE(DumpDrawLines(data));
    ASSERT_EQ(data.DrawItems.Count(), 2);
    EXPECT_EQ(data.DrawItems[1]->Top, 15 + c.Extra);
    EXPECT_EQ(data.DrawItems[0]->LineSpacingExtra, c.Extra);
    EXPECT_EQ(data.DrawItems[1]->LineSpacingExtra, c.Extra);
    EXPECT_EQ(data.DocumentHeight, 30 + 2 * c.Extra);
  }
}

// A break is 2 x 5 + 1 pixels high across the text width; paragraph style 0's space
// before is added above it besides the usual gap.
TEST(RPFormatTest, ABreakSpansTheTextWidth) {
  TTestFormattedData data;
  data.Style.ParaStyles()[0]->SpaceBefore = 4;
  const int32_t breakPara = data.AddParaStyle();
  data.Para(breakPara).SpaceBefore = 2;
  data.AddAnsiText("aaa", 0, TRPTag(), 0);
  auto brk = CreateItemByStyleNo(rpkindBreak, &data);
  brk->ParaNo = breakPara;
  data.AddItem("", std::move(brk));
  data.AddAnsiText("bbb", 0, TRPTag(), 0);
  data.FormatAll();
  const TPeerText peer = PeerText(u"Arial", 10, {u"aaa", u"bbb"});
  // "aaa": top 4 (style 0's space before), baseline 16, below 3; break: below 3 + 2 + 4.
  ExpectDrawItems(data, {{0, 1, 3, 0, 4, peer.Extents[0], 15, true},
                         {1, 0, 0, 0, 25, 200, 11, true},
                         {2, 1, 3, 0, 25 + 11 + 4, peer.Extents[1], 15, true}});
  EXPECT_EQ(data.DocumentHeight, 55);
}

TEST(RPFormatTest, AFullLineItemIsOfferedTheWidthInsideItsIndents) {
  TTestFormattedData data;
  data.Style.ParaStyles()[0]->LeftIndent = 10;
  data.Style.ParaStyles()[0]->RightIndent = 20;
  data.Style.ParaStyles()[0]->Alignment = rpaCenter;
  auto table = std::make_unique<TFullLineFake>(&data);
  TFullLineFake* fake = table.get();
  data.AddItem("", std::move(table));
  data.FormatAll();
  EXPECT_EQ(fake->OfferedWidth, 170);
  // Left: indent 10 + (170 - 40) / 2 + the item's own offset 2.
  ExpectDrawItems(data, {{0, 0, 0, 10 + 65 + 2, 0, 40, 25, true}});
  EXPECT_EQ(data.DocumentHeight, 25);
}

// The hooks around a pass: before the layout (skipped when a resize changed no width)
// and after it with the item range.
TEST(RPFormatTest, HooksSurroundEachPass) {
  class THookedData : public TTestFormattedData {
  public:
    std::vector<std::string> Calls;
    void BeforeFormat() override { Calls.push_back("before"); }
    void AfterFormat(int32_t first, int32_t last) override {
      Calls.push_back("after " + std::to_string(first) + ".." + std::to_string(last));
    }
  };
  THookedData data;
  data.AddAnsiText("a", 0, TRPTag(), 0);
  data.AddAnsiText("b", 0, TRPTag(), 0);
  data.FormatAll();
  data.Format(true, false, true, 0, nullptr, false, false, false);  // same width: no layout
  const std::vector<std::string> expected = {"before", "after 0..1", "after 0..1"};
  EXPECT_EQ(data.Calls, expected);
}

// Text after an item that laid itself out on the formatting canvas is measured in its
// own style again.
TEST(RPFormatTest, TextAfterASelfSizingItemIsMeasuredInItsStyle) {
  const TPeerText peer = PeerText(u"Arial", 10, {u"aa"});
  TTestFormattedData data;
  data.AddAnsiText("aa", 0, TRPTag(), 0);
  data.AddItem("", std::make_unique<TFullLineFake>(&data));
  data.AddAnsiText("aa", 0, TRPTag(), 0);
  data.FormatAll();
  ASSERT_EQ(data.DrawItems.Count(), 3);
  EXPECT_EQ(data.DrawItems[2]->Width, peer.Extents[0]);
  EXPECT_EQ(data.DrawItems[2]->Height, 15);
}

// A cell laid out by its table during the root's pass, on the root's canvas and style
// sheet: it shares the root's font cache and lays out as it would alone.
TEST(RPFormatTest, SubDocumentsShareTheRootsFontCache) {
  class TCell : public TTestFormattedData {
  public:
    explicit TCell(TTestFormattedData& root) : Root(root) {}
    TTestFormattedData& Root;
    TCustomRPData* GetRootData() override { return &Root; }
    const IRPStyleSheet* GetRPStyle() const override { return &Root.Style; }
    TRPStyle* GetStyleSheet() const override { return &Root.Style; }
    TCanvas* GetCanvas() override { return &Root.Canvas; }
  };
  class TTable : public TFullLineFake {
  public:
    TTable(TCustomRPData* data, TCell& cell) : TFullLineFake(data), Cell(cell) {}
    TCell& Cell;
    bool SawRootCache = false;
    void FormatForWidth(int32_t width, TCanvas& canvas, TCustomRPFormattedData& data, bool f1, bool f2,
                        int32_t& offset) override {
      TFullLineFake::FormatForWidth(width, canvas, data, f1, f2, offset);
      SawRootCache = data.GetActiveFontCache() != nullptr;
      Cell.FormatSubDocument(false);
    }
  };
  TTestFormattedData root;
  const int32_t big = root.AddTextStyle();
  root.Font(big).Size = 16;
  TCell cell(root);
  cell.Width = 60;
  cell.AddAnsiText("aaa bbb ccc", 0, TRPTag(), 0);
  cell.AddAnsiText("ddd", big, TRPTag(), -1);
  root.AddAnsiText("aa", big, TRPTag(), 0);
  auto table = std::make_unique<TTable>(&root, cell);
  TTable& tableRef = *table;
  root.AddItem("", std::move(table));
  root.FormatAll();
  EXPECT_TRUE(tableRef.SawRootCache);
  EXPECT_EQ(root.GetActiveFontCache(), nullptr);
  const std::string shared = DumpDrawLines(cell);
  cell.FormatAll();  // alone, with a cache of its own
  EXPECT_EQ(shared, DumpDrawLines(cell));
}

// A soft hyphen shows only where the line breaks after it: the draw item then widens by
// a hyphen; the displayed U+200B takes no width.
TEST(RPFormatTest, CyrillicBreaksAfterASoftHyphenAndShowsIt) {
  const TPeerText peer = PeerText(u"Arial", 10, {u"Пере", u"\u00AD", u"-", u"ход", u"Пере\u00ADх"});
  TTestFormattedData data;
  data.Width = peer.Extents[0] + peer.Extents[1] + peer.Extents[2];
  data.MaxTextWidth = data.Width;
  ASSERT_GT(peer.Extents[4], data.Width);
  data.AddW(u"Пере\u00ADход", 0, 0);
  data.FormatAll();
  ExpectDrawItems(data, {{0, 1, 5, 0, 0, peer.Extents[0] + peer.Extents[2], 15, true},
                         {0, 6, 3, 0, 15, peer.Extents[3], 15, true}});

  TTestFormattedData wide;  // no break: the hyphen stays hidden
  wide.AddW(u"Пере\u00ADход", 0, 0);
  wide.FormatAll();
  const TPeerText whole = PeerText(u"Arial", 10, {u"Пере\u200Bход"});
  ExpectDrawItems(wide, {{0, 1, 8, 0, 0, whole.Extents[0], 15, true}});
}

// A 10-pt run followed by a 20-pt run on one line: the line is raised to the larger
// ascent and both stand on one baseline.
TEST(RPFormatTest, MixedSizesShareTheBaseline) {
  TTestFormattedData data;
  const int32_t big = data.AddTextStyle();
  data.Font(big).FontName = "Times New Roman";
  data.Font(big).Size = 20;
  data.AddAnsiText("aaa", 0, TRPTag(), 0);
  data.AddAnsiText("Bbb", big, TRPTag(), -1);
  data.FormatAll();
  const TPeerText small = PeerText(u"Arial", 10, {u"aaa"});
  const TPeerText large = PeerText(u"Times New Roman", 20, {u"Bbb"});
  ExpectDrawItems(data, {{0, 1, 3, 0, large.Ascent - small.Ascent, small.Extents[0], 15, true},
                         {1, 1, 3, small.Extents[0], 0, large.Extents[0], large.Height, false}});
  EXPECT_EQ(data.DocumentHeight, large.Ascent + std::max(large.Descent, small.Descent));
}

// Text the style's face lacks is drawn with the face fallback finds: its line is as tall
// as that face's own ascent and descent need, and the next line starts below it. A line
// the style's face draws alone, or with a face no taller, keeps the style's height.
TEST(RPFormatTest, ALineIsAsTallAsTheFacesThatDrawIt) {
  struct TCase {
    const char* Name;
    std::u16string Text;
    char32_t Lacking;  // a character the style's face lacks; 0: it lacks none
    bool Taller;       // the face fallback finds for it reaches higher or lower
  };
  // The faces: Droid Sans Fallback (CJK: higher), Noto Sans Devanagari (lower), Noto
  // Sans Thai (both), DejaVu Sans (Arabic: as tall as Liberation Sans).
  const TCase cases[] = {
      {"Latin", u"Latin only", 0, false},
      {"Cjk", u"Latin 日本語 中文 Latin", U'日', true},
      {"Devanagari", u"Latin हिन्दी Latin", U'ह', true},
      {"Thai", u"Latin ภาษาไทย Latin", U'ภ', true},
      {"Arabic", u"Latin العربية Latin", U'ع', false},
  };
  const TPeerText style = PeerText(u"Arial", 10, {});
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TPeerText face = style;
    if (c.Lacking) {
      face = PeerFallbackText(u"Arial", 10, c.Lacking);
      ASSERT_GT(face.Height, 0) << "no installed face maps the script (scripts/setup.sh installs "
                                   "fonts-droid-fallback and fonts-noto-core)";
    }
    const int ascent = std::max(style.Ascent, face.Ascent), descent = std::max(style.Descent, face.Descent);
    EXPECT_EQ(ascent + descent > style.Height, c.Taller);
    TTestFormattedData data;
    data.Width = 400;
    data.AddW(c.Text, 0, 0);
    data.AddW(u"Latin", 0, 0);
    data.FormatAll();
    SCOPED_TRACE(DumpDrawLines(data));
    ASSERT_EQ(data.DrawItems.Count(), 2);
    const TRPDrawLineInfo& mixed = *data.DrawItems[0];
    const TRPDrawLineInfo& next = *data.DrawItems[1];
    EXPECT_EQ(mixed.Top, 0);
    EXPECT_EQ(mixed.Height, ascent + descent);
    EXPECT_EQ(mixed.FallbackAscent, ascent - style.Ascent);
    EXPECT_EQ(next.Top, ascent + descent);
    EXPECT_EQ(next.Height, style.Height);
    EXPECT_EQ(next.FallbackAscent, 0);
    EXPECT_EQ(data.DocumentHeight, ascent + descent + style.Height);
  }
}

// Screen lengths are converted to the canvas's device pixels: a 192-pixel-per-inch
// device doubles indents, spacing and the break's height.
TEST(RPFormatTest, StyleLengthsAreScaledToTheDevice) {
  class TDeviceData : public TTestFormattedData {
  public:
    TRPResolution GetResolutions(TCanvas&) const override {
      TRPResolution r;
      r.DevicePpiX = r.DevicePpiY = 192;
      return r;
    }
  };
  TDeviceData data;
  data.Style.ParaStyles()[0]->LeftIndent = 10;
  data.Style.ParaStyles()[0]->SpaceAfter = 3;
  data.LeftMargin = 5;
  data.AddItem("", CreateItemByStyleNo(rpkindBreak, &data));
  data.FormatAll();
  // Left: margin 10 (the indent is not used by breaks); height 2 x 10 + 1; the width is
  // the area less both margins.
  ExpectDrawItems(data, {{0, 0, 0, 10, 0, 190, 21, true}});
  EXPECT_EQ(data.DocumentHeight, 21 + 6);
}

}  // namespace

namespace {

// A right tab at 100 pixels: the text after it ends at the stop, the tab widening to
// fill the gap.
TEST(RPFormatTest, ARightTabAlignsTheTextAfterIt) {
  const TPeerText peer = PeerText(u"Arial", 10, {u"a", u"bb"});
  TTestFormattedData data;
  data.Para(0).Tabs.AddTab(100, rptaRight);
  data.AddAnsiText("a", 0, TRPTag(), 0);
  auto tab = CreateItemByStyleNo(rpkindTab, &data);
  tab->ParaNo = -1;
  data.AddItem("", std::move(tab));
  data.AddAnsiText("bb", 0, TRPTag(), -1);
  data.FormatAll();
  const int a = peer.Extents[0], bb = peer.Extents[1];
  ExpectDrawItems(
      data,
      {{0, 1, 1, 0, 0, a, 15, true}, {1, 0, 0, a, 0, 100 - a - bb, 15, false}, {2, 1, 2, 100 - bb, 0, bb, 15, false}});
}

// Hyperlink runs get one jump number per item, shared by its draw items.
TEST(RPFormatTest, JumpAreasShareOneNumberPerItem) {
  TTestFormattedData data;
  data.Flags = rpdfReportDefaults | rpdfUseJumps;
  data.Width = 30;
  data.Font(0).Jump = true;
  data.AddAnsiText("aaa bbb", 0, TRPTag(), 0);
  data.AddAnsiText("ccc", 0, TRPTag(), 0);
  data.FormatAll();
  ASSERT_EQ(data.DrawItems.Count(), 3);
  ASSERT_EQ(data.Jumps.size(), 3u);
  EXPECT_EQ(data.Jumps[0]->JumpNo, 0);
  EXPECT_EQ(data.Jumps[1]->JumpNo, 0);
  EXPECT_EQ(data.Jumps[2]->JumpNo, 1);
  EXPECT_EQ(data.Jumps[1]->Top, data.DrawItems[1]->Top);
  EXPECT_EQ(data.Jumps[2]->Cursor, crJump);
  data.Flags = rpdfReportDefaults;  // the conversion collects none
  data.FormatAll();
  EXPECT_TRUE(data.Jumps.empty());
}

// Appending paragraphs and formatting only the tail gives what a whole pass gives.
TEST(RPFormatTest, FormattingOnlyTheTailAppends) {
  TTestFormattedData data;
  data.Para(0).SpaceAfter = 3;
  data.Para(0).SpaceBefore = 2;
  data.AddAnsiText("aaa", 0, TRPTag(), 0);
  data.FormatAll();
  data.AddAnsiText("bbb", 0, TRPTag(), 0);
  data.Format(false, true, false, 0, nullptr, true, false, false);
  ASSERT_EQ(data.DrawItems.Count(), 2);
  const int32_t secondTop = data.DrawItems[1]->Top, height = data.DocumentHeight;
  data.FormatAll();
  EXPECT_EQ(secondTop, data.DrawItems[1]->Top);
  EXPECT_EQ(height, data.DocumentHeight);
  EXPECT_EQ(secondTop, 2 + 15 + 3 + 2);
}

}  // namespace

namespace {

// The interpolation search multiplies the free width by the characters left: 100,000
// pixels by 30,000 characters does not fit 32 bits (the sanitizers would report it).
TEST(RPFormatTest, TheInterpolationSearchCountsInSixtyFourBits) {
  const TPeerText peer = PeerText(u"Arial", 10, {u"a"});
  TTestFormattedData data;
  data.Flags = rpdfReportDefaults & ~rpdfFitByExtents;
  data.Width = 100000;
  data.MaxTextWidth = 100000;
  data.AddAnsiText(AnsiString(30000, 'a'), 0, TRPTag(), 0);
  data.FormatAll();
  ASSERT_GE(data.DrawItems.Count(), 2);
  EXPECT_EQ(data.DrawItems[0]->Length, 100000 / peer.Extents[0]);
  EXPECT_EQ(data.DrawItems[0]->Width, 100000 / peer.Extents[0] * peer.Extents[0]);
}

}  // namespace

namespace {

// Text styles outside the sheet read its fallback style (a copy of style 0), every time.
TEST(RPFormatTest, StylesOutsideTheSheetUseTheFallback) {
  TTestFormattedData data;
  data.AddAnsiText("aaa", 99, TRPTag(), 0);
  data.AddAnsiText("bbb", 0, TRPTag(), 0);
  data.AddAnsiText("ccc", 77, TRPTag(), 0);
  data.FormatAll();
  ASSERT_EQ(data.DrawItems.Count(), 3);
  EXPECT_EQ(data.DrawItems[2]->Top, 30);
  EXPECT_EQ(data.DocumentHeight, 45);
}

}  // namespace

namespace {

// A control item records where the document moves its control.
class TControlFake : public TRPRectItemInfo {
public:
  explicit TControlFake(TCustomRPData* data) : TRPRectItemInfo(data) { StyleNo = rpkindControl; }
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }
  int32_t GetWidth() const override { return 10; }
  int32_t GetHeight() const override { return 10; }
  void AdjustControlPlacement(int32_t left, int32_t top, bool) override { Placed.emplace_back(left, top); }
  std::vector<std::pair<int32_t, int32_t>> Placed;
};
const TRPItemClassInfo TControlFake::ClassInfo{"TControlFake", nullptr};

TEST(RPFormatTest, ControlsArePlacedUnlessPrinting) {
  for (TRPDocumentFlags flags : {rpdfReportDefaults, rpdfPrintableDefaults}) {
    SCOPED_TRACE(flags);
    TTestFormattedData data;
    data.Flags = flags;
    data.LeftMargin = 4;
    data.TopMargin = 3;
    auto control = std::make_unique<TControlFake>(&data);
    TControlFake* fake = control.get();
    data.AddItem("", std::move(control));
    data.FormatAll();
    if ((flags & rpdfPrinting) != 0)
      EXPECT_TRUE(fake->Placed.empty());
    else
      EXPECT_EQ(fake->Placed, (std::vector<std::pair<int32_t, int32_t>>{{4, 3}}));
  }
}

}  // namespace
