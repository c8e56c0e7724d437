// A small book that uses every element handler, built with the default scheme (with a
// few block spacings and a page break set) and dumped: items, paragraph and text styles,
// page breaks, checkpoints, tables and note tables. The expected dump was checked by
// hand; QF_REGENERATE_GOLDEN=1 rewrites it (check it again after that).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "BuilderTestData.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The small book with the scheme of the dump.
void BuildSmallBook(TBuilderFixture& f) {
  const std::string folder = std::string(QF_TEST_DATA_DIR) + "/convert/builder/";
  f.Scheme.Styles(vsSection).SpaceBefBlock = 10;
  f.Scheme.Styles(vsSection).PageBreak = true;
  f.Scheme.Styles(vsPoem).SpaceAftBlock = 6;
  f.Scheme.Styles(vsPoem).LeftIndent = 20;
  f.Scheme.Styles(vsSectionTitle).Alignment = rpaCenter;
  f.Scheme.Styles(vsSectionTitle).BaseFontBold = true;
  f.Scheme.Styles(vsSectionText).FirstIndent = 15;
  f.Scheme.Styles(vsSectionText).Alignment = rpaJustify;
  f.Scheme.PageWidth = 100;
  f.Scheme.PageHeight = 120;
  f.Build(ReadFile(folder + "small_book.fb2"));
}

TEST(FB2RPConvertorGoldenTest, SmallBookDump) {
  const std::string folder = std::string(QF_TEST_DATA_DIR) + "/convert/builder/";
  TBuilderFixture f;
  BuildSmallBook(f);
  std::string dump = f.Dump();
  dump += "links:";
  for (const TSrcLinkItem& source : f.Links.Sources)
    dump += " source " + std::to_string(source.Key) + " -> " + std::to_string(source.Target->Key);
  dump += "\n";
  if (std::getenv("QF_REGENERATE_GOLDEN")) std::ofstream(folder + "small_book.txt", std::ios::binary) << dump;
  EXPECT_EQ(dump, ReadFile(folder + "small_book.txt"));
}

// The built document goes through page layout and painting whole: pictures, tables and
// note tables included; every item with a page break starts a page.
TEST(FB2RPConvertorGoldenTest, SmallBookIsPaginatedAndPainted) {
  TBuilderFixture f;
  BuildSmallBook(f);
  TBitmap page;
  page.SetPixelFormat(pf24bit);
  page.SetSize(100, 120);
  f.Helper.BeginLayout(*page.Canvas(), 100);
  while (f.Helper.LayoutNextPage(120)) {
  }
  const int32_t pages = f.Helper.GetPagesCount();
  ASSERT_GE(pages, 3);
  TReportRPData& data = f.Helper.ReportData();
  std::vector<int32_t> pageStartItems;
  for (int32_t p = 1; p <= pages; ++p) {
    int32_t first = 0, part = 0, last = 0;
    data.GetPageDrawItems(p, first, part, last);
    pageStartItems.push_back(data.DrawItems[first]->ItemNo);
    f.Helper.PaintPage(p, *page.Canvas(), false, 120);
  }
  for (int32_t i = 0; i < f.Main().GetItemCount(); ++i)
    if (f.Main().GetPageBreakBefore(i)) {
      SCOPED_TRACE(i);
      EXPECT_NE(std::find(pageStartItems.begin(), pageStartItems.end(), i), pageStartItems.end());
    }
}

}  // namespace
