// Page-break dumps of small documents, one per rule, compared with files checked by
// hand. Blocks are as wide as the page and as high as given, so every line's top and
// every break can be worked out on paper; pages are 100 pixels high.
#include <gtest/gtest.h>

#include <functional>

#include "RPGolden.h"
#include "RPPrintTestData.h"

namespace {

struct TGoldenCase {
  const char* Name;
  std::function<void(TReportFixture&)> Build;
};

const TGoldenCase GoldenCases[] = {
    // SpaceAfter 20 is needed below every line, even mid-paragraph: the third line
    // (bottom 90) does not fit 100 - 20.
    {"space_after_every_line",
     [](TReportFixture& f) {
       f.Para(0).SpaceAfter = 20;
       f.AddBlocks(0, {30, 30, 30, 30});
     }},
    // A page that starts inside a paragraph with SpaceBefore 10 still starts 10 above
    // its first line: page 2 has top 100 - 10.
    {"space_before_every_page_start",
     [](TReportFixture& f) {
       f.Para(0).SpaceBefore = 10;
       f.AddBlocks(0, {30, 30, 30, 30});
     }},
    // B keeps its lines together and fits the next page: the page ends before B.
    {"keep_lines_together_moves_whole",
     [](TReportFixture& f) {
       const int32_t keep = f.AddParaStyle();
       f.Para(keep).Options.Include(rppaoKeepLinesTogether);
       f.AddBlocks(0, {30, 30});
       f.AddBlocks(keep, {30, 30, 30});
     }},
    // A kept-together paragraph longer than the page breaks at the line that does not fit.
    {"keep_lines_together_longer_than_page",
     [](TReportFixture& f) {
       f.Para(0).Options.Include(rppaoKeepLinesTogether);
       f.AddBlocks(0, {30, 30, 30, 30, 30});
     }},
    // A keeps with next and B's first line does not fit: the page ends before A's last
    // line.
    {"keep_with_next",
     [](TReportFixture& f) {
       const int32_t next = f.AddParaStyle();
       f.Para(next).Options.Include(rppaoKeepWithNext);
       f.AddBlocks(next, {30, 30, 30});
       f.AddBlocks(0, {30, 30});
     }},
    // A keeps with next and its lines together: the page ends before A's first line.
    {"keep_with_next_and_lines",
     [](TReportFixture& f) {
       const int32_t both = f.AddParaStyle();
       f.Para(both).Options.Include(rppaoKeepWithNext);
       f.Para(both).Options.Include(rppaoKeepLinesTogether);
       f.AddBlocks(0, {30});
       f.AddBlocks(both, {30, 30});
       f.AddBlocks(0, {30, 30});
     }},
    // The same A at the top of the page: moving it would empty the page, so the page
    // ends before B (the fallback).
    {"keep_with_next_fallback",
     [](TReportFixture& f) {
       const int32_t both = f.AddParaStyle();
       f.Para(both).Options.Include(rppaoKeepWithNext);
       f.Para(both).Options.Include(rppaoKeepLinesTogether);
       f.AddBlocks(both, {30, 30, 30});
       f.AddBlocks(0, {30, 30});
     }},
    // A page break before an item mid-page starts a page there; one before the item
    // that begins a page (item 4, which starts page 3 through its own break) adds no
    // further, empty page.
    {"page_break_before",
     [](TReportFixture& f) {
       f.AddBlocks(0, {30});
       f.AddBlocks(0, {30});
       f.Data().GetItem(1)->SetPageBreakBefore(true);
       f.AddBlocks(0, {30, 30});
       f.AddBlocks(0, {30});
       f.Data().GetItem(4)->SetPageBreakBefore(true);
       f.AddBlocks(0, {30});
     }},
    // A block 230 high that may be split in parts of at least 20 after a 30-pixel line:
    // parts 70, 100 and 60; the line after it fits below the last part.
    {"split_item",
     [](TReportFixture& f) {
       f.AddBlocks(0, {30});
       f.AddSplitBlock(0, 230, 20);
       f.AddBlocks(0, {30});
     }},
    // A line taller than the page stays whole and overflows; the next page starts at the
    // next line.
    {"line_taller_than_page",
     [](TReportFixture& f) {
       f.AddBlocks(0, {30, 150, 30});
     }},
};

void PrintTo(const TGoldenCase& c, std::ostream* os) { *os << c.Name; }

class RPPageGoldenTest : public testing::TestWithParam<TGoldenCase> {};

TEST_P(RPPageGoldenTest, PageBreaksMatchTheCheckedDump) {
  TReportFixture f;
  GetParam().Build(f);
  f.Paginate({100});
  const std::string name = std::string(GetParam().Name) + ".txt";
  if (RegeneratingGoldens()) WriteGolden(name, f.Dump());
  EXPECT_EQ(f.Dump(), ReadGolden(name));
}

INSTANTIATE_TEST_SUITE_P(Rules, RPPageGoldenTest, testing::ValuesIn(GoldenCases),
                         [](const testing::TestParamInfo<TGoldenCase>& param) {
                           return std::string(param.param.Name);
                         });

}  // namespace
