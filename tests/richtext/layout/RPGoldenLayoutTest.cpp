// Small documents formatted for a width and compared with golden dumps of their draw
// items (tests/data/richtext/layout/*.txt). Each golden file was checked once by hand
// against the line-breaking rules with the advances of Liberation Sans and Liberation
// Serif from their own tables; the comment of each case says what its file shows.
// QF_REGENERATE_GOLDEN=1 rewrites the files (to be checked again by hand).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>

#include "RPLayoutTestData.h"
#include "richtext/model/RPTextItems.h"

namespace {

struct TGoldenCase {
  const char* Name;  // the golden file's name without ".txt"
  int32_t Width;
  int32_t MaxTextWidth;  // 0: the document's width
  std::function<void(TTestFormattedData&)> Build;
};

const TGoldenCase GoldenCases[] = {
    // The first line "aa bbb cc dddd" is 89 of 96 pixels: its 7 free pixels are dealt
    // over its 3 gaps from the first on as 2, 2, 3, each word after the first carrying
    // its space; the paragraph's last line keeps its natural widths.
    {"justified", 96, 0,
     [](TTestFormattedData& d) {
       d.Para(0).Alignment = rpaJustify;
       d.AddAnsiText("aa bbb cc dddd e ff ggg hh i", 0, TRPTag(), 0);
     }},
    // Each line shifted right by half its free space (rounded down).
    {"centred", 90, 0,
     [](TTestFormattedData& d) {
       d.Para(0).Alignment = rpaCenter;
       d.AddAnsiText("aaa bbb ccc ddd eee", 0, TRPTag(), 0);
     }},
    // Text 40 pixels wide (MaxTextWidth) in a wider document: each line ends at 40; the
    // word with no break opportunity is cut into lines of what fits (4 of 9 pixels each).
    {"right_aligned", 100, 40,
     [](TTestFormattedData& d) {
       d.Para(0).Alignment = rpaRight;
       d.AddAnsiText("aa bb", 0, TRPTag(), 0);
       d.AddAnsiText("wwwwwwwwww", 0, TRPTag(), 0);
     }},
    // LeftIndent 20 and FirstIndent -12: the first line starts at 8, later lines at 20;
    // RightIndent 6 narrows every line.
    {"indented", 100, 0,
     [](TTestFormattedData& d) {
       d.Para(0).LeftIndent = 20;
       d.Para(0).FirstIndent = -12;
       d.Para(0).RightIndent = 6;
       d.AddAnsiText("aaa bbb ccc ddd eee fff ggg", 0, TRPTag(), 0);
     }},
    // A 16-pt bold serif run raises the line: the 10-pt text before it moves down to
    // the common baseline, and the line's descent is the larger one.
    {"mixed_fonts", 200, 0,
     [](TTestFormattedData& d) {
       const int32_t big = d.AddTextStyle();
       d.Font(big).FontName = "Times New Roman";
       d.Font(big).Size = 16;
       d.Font(big).Style = TFontStyles{fsBold};
       d.AddAnsiText("small ", 0, TRPTag(), 0);
       d.AddAnsiText("Big", big, TRPTag(), -1);
       d.AddAnsiText(" small", 0, TRPTag(), -1);
     }},
    // 150 percent adds 7 pixels (15 x 50 / 100) below each line of the first paragraph;
    // 80 percent pulls each line of the second up by 3 (15 x -20 / 100).
    {"line_spacing", 50, 0,
     [](TTestFormattedData& d) {
       d.Para(0).LineSpacing = 150;
       const int32_t tight = d.AddParaStyle();
       d.Para(tight).LineSpacing = 80;
       d.AddAnsiText("aaa bbb ccc", 0, TRPTag(), 0);
       d.AddAnsiText("ddd eee fff", 0, TRPTag(), tight);
     }},
    // Cyrillic UTF-16 with soft hyphens: the lines break after a soft hyphen, whose
    // draw item then grows by a hyphen's width (4); a soft hyphen inside a line takes
    // none. "при-мер-ный" (67) would fit in 70, but the break search starts at the space
    // after it, which is no opportunity in the pair table, so the line ends at the last
    // soft hyphen.
    {"cyrillic_soft_hyphens", 70, 0,
     [](TTestFormattedData& d) { d.AddW(u"при\u00ADмер\u00ADный пе\u00ADре\u00ADнос", 0, 0); }},
    // A break between two paragraphs: SpaceAfter of the first and SpaceBefore of style
    // 0 (twice: its own paragraph is style 0 too) above it, 11 pixels high and as wide
    // as the text.
    {"break_item", 80, 0,
     [](TTestFormattedData& d) {
       d.Para(0).SpaceBefore = 4;
       d.Para(0).SpaceAfter = 2;
       d.AddAnsiText("above", 0, TRPTag(), 0);
       d.AddItem("", CreateItemByStyleNo(rpkindBreak, &d));
       d.AddAnsiText("below", 0, TRPTag(), 0);
     }},
    // A paragraph with no break opportunity, wider than the 30-pixel page: the document
    // (and so the text) widens to the paragraph's minimal width and it stays one line.
    {"no_break_opportunity", 30, 0, [](TTestFormattedData& d) { d.AddAnsiText("abcdefghijklmnop", 0, TRPTag(), 0); }},
};

std::string GoldenPath(const char* name) { return std::string(QF_TEST_DATA_DIR) + "/richtext/layout/" + name + ".txt"; }

TEST(RPGoldenLayoutTest, SmallDocumentsMatchTheirGoldenDumps) {
  const bool update = std::getenv("QF_REGENERATE_GOLDEN") != nullptr;
  for (const TGoldenCase& c : GoldenCases) {
    SCOPED_TRACE(c.Name);
    TTestFormattedData data;
    data.Width = c.Width;
    data.MaxTextWidth = c.MaxTextWidth;
    c.Build(data);
    data.FormatAll();
    const std::string dump = DumpDrawLines(data);
    if (update) {
      std::ofstream(GoldenPath(c.Name), std::ios::binary) << dump;
      continue;
    }
    std::ifstream in(GoldenPath(c.Name), std::ios::binary);
    ASSERT_TRUE(in) << GoldenPath(c.Name);
    const std::string golden{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(dump, golden);
  }
}

}  // namespace
