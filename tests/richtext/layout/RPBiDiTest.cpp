// Lines of paragraphs with a direction: their draw items laid out in visual order, and
// the first indent of a right-to-left paragraph on the right.
#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "RPLayoutPeer.h"
#include "RPLayoutTestData.h"
#include "platform/graphics/TextMetrics.h"

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

// The words of a one-item paragraph (runs between spaces, by their first character),
// line by line in the order the painter shows them from left to right: each draw item's
// text is placed in its own visual order (the platform's character placement) from Left
// plus its justification extra.
std::vector<std::vector<size_t>> VisualWordsOfLines(TTestFormattedData& data, const std::u16string& text) {
  data.Style.ApplyStyle(data.Canvas, 0, rpbdUnspecified, false);
  struct TPlacedWord {
    size_t Start;
    int32_t Line;
    int32_t X;
  };
  std::vector<TPlacedWord> words;
  int32_t line = -1;
  for (int32_t i = 0; i < data.DrawItems.Count(); ++i) {
    const TRPDrawLineInfo& d = *data.DrawItems[i];
    if (d.StartsLine()) ++line;
    const std::u16string shown = text.substr(static_cast<size_t>(d.Offs - 1), static_cast<size_t>(d.Length));
    const auto n = static_cast<int32_t>(shown.size());
    std::vector<uint32_t> order(shown.size());
    std::vector<int32_t> dx(shown.size());
    GCP_RESULTSW results;
    results.lpOrder = order.data();
    results.lpDx = dx.data();
    EXPECT_NE(GetCharacterPlacementW(data.Canvas.Handle(), shown.data(), n, 0, &results, GCP_REORDER), 0u);
    std::vector<int32_t> leftOf(shown.size());  // by visual position
    for (size_t v = 1; v < shown.size(); ++v) leftOf[v] = leftOf[v - 1] + dx[v - 1];
    for (size_t start = 0; start < shown.size();) {
      if (shown[start] == u' ') {
        ++start;
        continue;
      }
      const size_t end = std::min(shown.find(u' ', start), shown.size());
      int32_t x = leftOf[order[start]];
      for (size_t k = start; k < end; ++k) x = std::min(x, leftOf[order[k]]);
      words.push_back({static_cast<size_t>(d.Offs - 1) + start, line, d.Left + d.JustifyExtra + x});
      start = end;
    }
  }
  std::stable_sort(words.begin(), words.end(), [](const TPlacedWord& a, const TPlacedWord& b) {
    return a.Line != b.Line ? a.Line < b.Line : a.X < b.X;
  });
  std::vector<std::vector<size_t>> lines(static_cast<size_t>(line + 1));
  for (const TPlacedWord& w : words) lines[static_cast<size_t>(w.Line)].push_back(w.Start);
  return lines;
}

// A paragraph without a direction is drawn the same way round whatever its alignment:
// a justified line, whose words are draw items of their own, reads as the left-aligned
// line drawn whole. The Hebrew words of the first line read right to left.
TEST(RPBiDiTest, EveryAlignmentShowsTheWordsOfAMixedParagraphInOneOrder) {
  const std::u16string text =
      u"Alpha \u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD beta gamma delta epsilon zeta "
      u"\u05D0\u05D7\u05EA \u05E9\u05EA\u05D9\u05D9\u05DD 12 \u05E9\u05DC\u05D5\u05E9 eta theta iota kappa "
      u"lambda mu";
  std::vector<std::vector<size_t>> reference;
  for (const TRPAlignment alignment : {rpaLeft, rpaRight, rpaCenter, rpaJustify}) {
    SCOPED_TRACE(static_cast<int>(alignment));
    TTestFormattedData data;
    data.Width = 200;
    data.Para(0).Alignment = alignment;
    data.AddW(text, 0, 0);
    data.FormatAll();
    const std::vector<std::vector<size_t>> lines = VisualWordsOfLines(data, text);
    ASSERT_GE(lines.size(), 3u);
    if (alignment == rpaLeft) {
      reference = lines;
      // "Alpha", then the second Hebrew word left of the first, then "beta".
      ASSERT_GE(lines[0].size(), 4u);
      EXPECT_EQ(lines[0][0], text.find(u"Alpha"));
      EXPECT_EQ(lines[0][1], text.find(u"\u05E2"));
      EXPECT_EQ(lines[0][2], text.find(u"\u05E9"));
      EXPECT_EQ(lines[0][3], text.find(u"beta"));
    }
    EXPECT_EQ(lines, reference);
  }
}

// A justified line without right-to-left text keeps its words in logical order, each
// right after the one before.
TEST(RPBiDiTest, AJustifiedLineOfLeftToRightTextKeepsItsOrder) {
  TTestFormattedData data;
  data.Width = 120;
  data.Para(0).Alignment = rpaJustify;
  data.AddW(u"one two three four five six seven eight nine ten", 0, 0);
  data.FormatAll();
  ASSERT_GT(data.DrawItems.Count(), 3);
  for (int32_t i = 1; i < data.DrawItems.Count(); ++i) {
    const TRPDrawLineInfo& d = *data.DrawItems[i];
    if (d.StartsLine()) continue;
    const TRPDrawLineInfo& prev = *data.DrawItems[i - 1];
    EXPECT_EQ(d.Left, prev.Left + prev.Width) << i;
  }
}

}  // namespace
