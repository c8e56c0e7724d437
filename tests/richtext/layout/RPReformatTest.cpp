// Minimal widths and reformatting in place.
#include <gtest/gtest.h>

#include "RPLayoutPeer.h"
#include "RPLayoutTestData.h"

namespace {

// Draw items as comparable tuples.
std::vector<std::array<int32_t, 8>> Geometry(const TCustomRPFormattedData& data) {
  std::vector<std::array<int32_t, 8>> out;
  for (int32_t i = 0; i < data.DrawItems.Count(); ++i) {
    const TRPDrawLineInfo& d = *data.DrawItems[i];
    out.push_back({d.ItemNo, d.Offs, d.Length, d.Left, d.Top, d.Width, d.Height, d.FromNewLine});
  }
  return out;
}

// A wrapping paragraph needs its widest word; a no-wrap one all its text side by side;
// both with their indents (a negative first indent counts as 0).
TEST(RPMinWidthsTest, WidestWordOrWholeNoWrapParagraph) {
  const TPeerText peer = PeerText(u"Arial", 10, {u"Съешь", u"мягких", u"Съешь мягких"});
  TTestFormattedData data;
  const int32_t noWrap = data.AddParaStyle();
  data.Para(noWrap).Options.Include(rppaoNoWrap);
  data.Para(noWrap).LeftIndent = 3;
  data.Para(0).LeftIndent = 5;
  data.Para(0).RightIndent = 7;
  data.Para(0).FirstIndent = -4;
  data.AddW(u"Съешь мягких", 0, 0);
  EXPECT_EQ(data.CalculateMinDocWidth(nullptr, data.Canvas), 5 + 7 + peer.Extents[1]);
  data.AddW(u"Съешь мягких", 0, noWrap);
  EXPECT_EQ(data.CalculateMinDocWidth(nullptr, data.Canvas), 3 + peer.Extents[2]);
  EXPECT_EQ(data.CalculateParaMinWidthDef(0, data.Canvas), 5 + 7 + peer.Extents[1]);
  // On the document's own canvas.
  EXPECT_EQ(data.GetParaMinWidth(0), 5 + 7 + peer.Extents[1]);
  EXPECT_EQ(data.GetParaMinWidth(1), 3 + peer.Extents[2]);
  // At twice the screen resolution indents double; text is measured on the canvas.
  TRPResolution device;
  device.DevicePpiX = device.DevicePpiY = 192;
  EXPECT_EQ(data.CalculateMinItemsWidthDef(0, 0, &device, data.Canvas), 24 + peer.Extents[1]);
}

// A document narrower than its widest word is laid out at that word's width.
TEST(RPMinWidthsTest, TheDocumentIsNeverNarrowerThanItsMinimum) {
  const TPeerText peer = PeerText(u"Arial", 10, {u"Превосходно"});
  TTestFormattedData data;
  data.Width = 10;
  data.AddW(u"Превосходно", 0, 0);
  data.FormatAll();
  EXPECT_EQ(data.DocumentWidth, peer.Extents[0]);
  ASSERT_EQ(data.DrawItems.Count(), 1);
  EXPECT_EQ(data.DrawItems[0]->Width, peer.Extents[0]);
}

// The middle of three paragraphs grows from one line to two: reformatting its range
// gives what a whole pass gives, and the last paragraph moves down by a line.
TEST(RPReformatTest, AnEditedParagraphReflowsAndLaterOnesMove) {
  TTestFormattedData data;
  data.Width = 60;
  data.Para(0).SpaceAfter = 2;
  data.AddW(u"Один", 0, 0);
  data.AddW(u"Два", 0, 0);
  data.AddW(u"Три", 0, 0);
  data.FormatAll();
  const TRPDrawLineInfo* lastBefore = data.DrawItems[2];
  const int32_t oldHeight = data.DocumentHeight;
  data.SetItemTextW(1, u"Два слова тут");
  int32_t first = 0, last = 0;
  data.GetReformatRange(1, 1, first, last);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, 2);
  data.ReformatParagraphs(1, 1, false, 0);
  const auto reformatted = Geometry(data);
  ASSERT_GT(data.DrawItems.Count(), 3);
  EXPECT_EQ(data.DrawItems[data.DrawItems.Count() - 1], lastBefore);  // moved, not made again
  const int32_t height = data.DocumentHeight;
  data.FormatAll();
  EXPECT_EQ(reformatted, Geometry(data));
  EXPECT_EQ(height, data.DocumentHeight);
  EXPECT_EQ(height - oldHeight, 15 * (data.DrawItems.Count() - 3));
}

// Reformatting into as many draw items keeps every slot: the draw items after the
// paragraph stay the same objects at the same places.
TEST(RPReformatTest, AnEditOfTheSameSizeMovesNothing) {
  TTestFormattedData data;
  data.AddW(u"Один", 0, 0);
  data.AddW(u"Два", 0, 0);
  data.AddW(u"Три", 0, 0);
  data.FormatAll();
  const auto before = Geometry(data);
  const TRPDrawLineInfo* third = data.DrawItems[2];
  data.SetItemTextW(0, u"Раз");
  data.ReformatParagraphs(0, 0, false, 0);
  EXPECT_EQ(data.DrawItems[2], third);
  auto after = Geometry(data);
  after[0][2] = before[0][2];  // only the edited word's length and width changed
  after[0][5] = before[0][5];
  EXPECT_EQ(after, before);
}

// A paragraph item deleted after the edit: the later draw items take item numbers one
// lower.
TEST(RPReformatTest, DeletedItemsShiftTheLaterItemNumbers) {
  TTestFormattedData data;
  data.AddW(u"Один", 0, 0);
  data.AddW(u"и", 0, -1);
  data.AddW(u"Три", 0, 0);
  data.FormatAll();
  ASSERT_EQ(data.DrawItems.Count(), 3);
  data.DeleteItems(1, 1);
  data.ReformatParagraphs(0, 1, false, -1);
  ASSERT_EQ(data.DrawItems.Count(), 2);
  EXPECT_EQ(data.DrawItems[1]->ItemNo, 1);
  const auto reformatted = Geometry(data);
  data.FormatAll();
  EXPECT_EQ(reformatted, Geometry(data));
}

// The line after the range begins with an item smaller than its text (a small picture
// on the baseline stands lower than the text's top): the later lines move by the change
// of height measured from that line's top, not from its first draw item's.
TEST(RPReformatTest, LaterLinesMoveFromTheTopOfTheirLine) {
  TTestFormattedData data;
  data.Width = 300;
  data.AddW(u"first paragraph", 0, 0);
  data.AddPicture("small", MarkedPicture(), 0, rpvaBaseline);
  data.AddW(u" after a small picture", 0, -1);
  data.AddW(u"last", 0, 0);
  data.FormatAll();
  const auto whole = Geometry(data);
  ASSERT_GT(data.DrawItems[1]->Top, data.DrawItems[2]->Top);
  for (int32_t drawNo = 0; drawNo < data.DrawItems.Count(); ++drawNo) {
    SCOPED_TRACE(drawNo);
    data.FormatAll();
    data.ReformatParagraphs(0, 0, false, 0);
    EXPECT_EQ(Geometry(data), whole);
  }
}

}  // namespace
