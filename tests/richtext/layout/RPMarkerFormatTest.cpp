// List markers laid out against positions worked out from the font's own metrics
// (fontTools): the marker font Arial 8 pt is 11 pixels per em, ascent 10, descent 2;
// the text, Arial 10 pt, ascent 12, descent 3.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "RPLayoutPeer.h"
#include "RPLayoutTestData.h"
#include "richtext/model/RPMarker.h"

namespace {

class TListFormattedData : public TTestFormattedData {
public:
  bool Continues = false;
  bool GetContinuedListMarker(int32_t& listNo, int32_t& level) const override {
    if (!Continues) return TTestFormattedData::GetContinuedListMarker(listNo, level);
    listNo = 0;
    level = 0;
    return true;
  }
};

class RPMarkerFormatTest : public testing::Test {
protected:
  RPMarkerFormatTest() {
    TRPListLevel& level = *Data.Style.ListStyles().Add()->Levels().Add();
    level.ListType = rplstDecimal;
    level.FormatString = "%0:s.";
    level.MarkerIndent = 30;
    level.LeftIndent = 60;
    level.FirstIndent = 0;
  }
  ~RPMarkerFormatTest() override { Data.Clear(); }
  TRPListLevel& Level() { return *Data.Style.ListStyles()[0]->Levels()[0]; }
  void AddListParagraph(const AnsiString& text) {
    Data.AddItem({}, TRPMarkerItemInfo::CreateEx(&Data, 0, 0, 1, false));
    Data.AddAnsiText(text, 0, TRPTag(), -1);
  }
  TListFormattedData Data;
};

TEST_F(RPMarkerFormatTest, MarkersAlignAtTheMarkerIndent) {
  const TPeerText marker = PeerText(u"Arial", 8, {u"1.", u"xxxxxxxx1"});
  ASSERT_EQ(marker.Height, 12);
  ASSERT_EQ(marker.Descent, 2);
  const int32_t narrow = marker.Extents[0], wide = marker.Extents[1];
  ASSERT_LT(narrow, 30);  // less than LeftIndent - MarkerIndent
  ASSERT_GT(wide, 30);
  struct TCase {
    const char* Name;
    TRPMarkerAlignment Alignment;
    const char* Format;
    int32_t MarkerLeft, MarkerWidth, TextLeft;
  };
  const TCase cases[] = {
      // The marker starts at MarkerIndent; the text at LeftIndent + FirstIndent.
      {"left", rpmaLeft, "%0:s.", 30, 30, 60},
      // The marker ends at MarkerIndent: its box starts the marker's width before it.
      {"right", rpmaRight, "%0:s.", 30 - narrow, narrow + 30, 60},
      // Centred on MarkerIndent, the odd pixel before it.
      {"centre", rpmaCenter, "%0:s.", 30 - (narrow - narrow / 2), narrow - narrow / 2 + 30, 60},
      // A marker wider than the room pushes the text on.
      {"wide left", rpmaLeft, "xxxxxxxx%0:s", 30, wide, 30 + wide},
      {"wide centre", rpmaCenter, "xxxxxxxx%0:s", 30 - (wide - wide / 2), wide - wide / 2 + std::max(wide / 2, 30),
       30 + std::max(wide / 2, 30)},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Data.Clear();
    Level().MarkerAlignment = c.Alignment;
    Level().FormatString = c.Format;
    AddListParagraph("aaa");
    Data.FormatAll();
    SCOPED_TRACE(DumpDrawLines(Data));
    ASSERT_EQ(Data.DrawItems.Count(), 2);
    const TRPDrawLineInfo& m = *Data.DrawItems[0];
    const TRPDrawLineInfo& t = *Data.DrawItems[1];
    EXPECT_EQ(m.Left, c.MarkerLeft);
    EXPECT_EQ(m.Width, c.MarkerWidth);
    EXPECT_EQ(m.Height, 12);
    // On the text's baseline (12 below the line's top): the marker's ascent is 10.
    EXPECT_EQ(m.Top, 2);
    EXPECT_EQ(t.Left, c.TextLeft);
    EXPECT_EQ(t.Top, 0);
    EXPECT_FALSE(t.StartsLine());
  }
}

TEST_F(RPMarkerFormatTest, ContinuationLinesStartAtTheLeftIndent) {
  const TPeerText text = PeerText(u"Arial", 10, {u"aaa bbb", u"aaa bbb ccc"});
  Data.Width = 60 + text.Extents[0] + 2;  // "aaa bbb" fits after the marker, "ccc" does not
  ASSERT_GT(60 + text.Extents[1], Data.Width);
  Level().FirstIndent = 10;
  Level().LeftIndent = 50;
  AddListParagraph("aaa bbb ccc");
  Data.FormatAll();
  SCOPED_TRACE(DumpDrawLines(Data));
  ASSERT_EQ(Data.DrawItems.Count(), 3);
  EXPECT_EQ(Data.DrawItems[0]->Left, 30);  // MarkerIndent
  EXPECT_EQ(Data.DrawItems[1]->Left, 60);  // LeftIndent + FirstIndent
  EXPECT_EQ(Data.DrawItems[2]->Left, 50);  // LeftIndent
  EXPECT_TRUE(Data.DrawItems[2]->StartsLine());
}

TEST_F(RPMarkerFormatTest, AContinuedListIndentsTheFirstParagraph) {
  Data.Continues = true;
  Data.AddAnsiText("first", 0, TRPTag(), 0);
  Data.AddAnsiText("second", 0, TRPTag(), 0);
  Data.FormatAll();
  ASSERT_EQ(Data.DrawItems.Count(), 2);
  EXPECT_EQ(Data.DrawItems[0]->Left, 60);  // the level's continuation lines
  EXPECT_EQ(Data.DrawItems[1]->Left, 0);
  Data.Continues = false;
  Data.FormatAll();
  EXPECT_EQ(Data.DrawItems[0]->Left, 0);
}

TEST_F(RPMarkerFormatTest, MinimalWidthCountsThePartAfterTheMarkerIndent) {
  const TPeerText marker = PeerText(u"Arial", 8, {u"1.", u"xxxxxxxx1"});
  AddListParagraph("a");
  auto& item = dynamic_cast<TRPMarkerItemInfo&>(*Data.GetItem(0));
  EXPECT_EQ(item.GetMinWidth(nullptr, &Data.Canvas, &Data), 30);
  Level().FormatString = "xxxxxxxx%0:s";
  Data.UpdateMarkerCountersFrom(0);
  EXPECT_EQ(item.GetMinWidth(nullptr, &Data.Canvas, &Data), marker.Extents[1]);
  Level().MarkerAlignment = rpmaRight;
  EXPECT_EQ(item.GetMinWidth(nullptr, &Data.Canvas, &Data), 30);
}

TEST_F(RPMarkerFormatTest, RightToLeftMarkersHangOverTheFarSide) {
  const TPeerText marker = PeerText(u"Arial", 8, {u"1."});
  Data.Para(0).BiDiMode = rpbdRightToLeft;
  Level().MarkerAlignment = rpmaRight;
  AddListParagraph("abc");
  Data.FormatAll();
  const auto& item = dynamic_cast<const TRPMarkerItemInfo&>(*Data.GetItem(0));
  EXPECT_EQ(item.Overhang, marker.Extents[0]);  // the part before MarkerIndent
  EXPECT_EQ(item.Width, marker.Extents[0] + 30);
}

}  // namespace
