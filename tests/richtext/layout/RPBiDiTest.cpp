// Lines of paragraphs with a direction: their draw items laid out in visual order, and
// the first indent of a right-to-left paragraph on the right.
#include <gtest/gtest.h>

#include "RPLayoutPeer.h"
#include "RPLayoutTestData.h"

namespace {

constexpr char16_t HebrewAB[] = u"\u05D0\u05D1";
constexpr char16_t HebrewGD[] = u"\u05D2\u05D3";

struct TBiDiCase {
  const char* Name;
  TRPBiDiMode ParaMode;
  std::vector<std::u16string> Items;  // one line, one draw item each
  std::vector<int> Visual;            // logical indexes from left to right
};

// Strong first and last characters decide each draw item's directions; a boundary
// between two draw items of one direction joins them into a run.
TEST(RPBiDiTest, LinesAreLaidOutInVisualOrder) {
  const TBiDiCase cases[] = {
      {"right-to-left runs reverse", rpbdRightToLeft, {HebrewAB, HebrewGD, u"\u05D4"}, {2, 1, 0}},
      {"left-to-right text keeps its order", rpbdLeftToRight, {u"ab", u"cd", u"ef"}, {0, 1, 2}},
      // A left-to-right run inside a right-to-left paragraph stays in reading order.
      {"a left-to-right run in a right-to-left line",
       rpbdRightToLeft,
       {HebrewAB, u"ab", u"cd", HebrewGD},
       {3, 1, 2, 0}},
      // A run of two right-to-left draw items inside a left-to-right line is reversed
      // where it stands; what follows it comes after the whole run.
      {"a right-to-left run in a left-to-right line",
       rpbdLeftToRight,
       {u"ab", HebrewAB, HebrewGD, u"cd"},
       {0, 2, 1, 3}},
      // A draw item that begins and ends with neutral characters takes the paragraph's
      // direction.
      {"neutrals take the paragraph's direction", rpbdRightToLeft, {u"ab", u"12", HebrewAB}, {2, 1, 0}},
  };
  for (const TBiDiCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TTestFormattedData data;
    data.Width = 400;
    data.Para(0).BiDiMode = c.ParaMode;
    const TPeerText peer = PeerText(u"Arial", 10, c.Items);
    for (size_t i = 0; i < c.Items.size(); ++i) data.AddW(c.Items[i], 0, i == 0 ? 0 : -1);
    data.FormatAll();
    ASSERT_EQ(data.DrawItems.Count(), static_cast<int32_t>(c.Items.size()));
    int x = 0;
    for (const int logical : c.Visual) {
      SCOPED_TRACE(logical);
      EXPECT_EQ(data.DrawItems[logical]->Left, x);
      x += peer.Extents[static_cast<size_t>(logical)];
    }
  }
}

// The first line of a right-to-left paragraph keeps its first indent on the right: a
// right-aligned line ends that far from the right edge; the next line does not.
TEST(RPBiDiTest, TheFirstIndentOfARightToLeftParagraphIsOnTheRight) {
  const TPeerText peer = PeerText(u"Arial", 10, {u"\u05D0\u05D1\u05D2", u"\u05D3\u05D4\u05D5", u"\u05D0\u05D1\u05D2 "});
  TTestFormattedData data;
  data.Width = peer.Extents[2] + 12;
  data.Para(0).BiDiMode = rpbdRightToLeft;
  data.Para(0).Alignment = rpaRight;
  data.Para(0).FirstIndent = 10;
  data.AddW(u"\u05D0\u05D1\u05D2 \u05D3\u05D4\u05D5", 0, 0);
  data.FormatAll();
  ASSERT_EQ(data.DrawItems.Count(), 2);
  EXPECT_EQ(data.DrawItems[0]->Width, peer.Extents[0]);  // the space at the wrap is dropped
  EXPECT_EQ(data.DrawItems[0]->Left + peer.Extents[0], data.Width - 10);
  EXPECT_EQ(data.DrawItems[1]->Left + peer.Extents[1], data.Width);
}

}  // namespace
