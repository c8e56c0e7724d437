// A small book that uses every element handler, built with the default scheme (with a
// few block spacings and a page break set) and dumped: items, paragraph and text styles,
// page breaks, checkpoints, tables and note tables. The expected dump was checked by
// hand; QF_REGENERATE_GOLDEN=1 rewrites it (check it again after that).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "BuilderTestData.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(FB2RPConvertorGoldenTest, SmallBookDump) {
  const std::string folder = std::string(QF_TEST_DATA_DIR) + "/convert/builder/";
  TBuilderFixture f;
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
  std::string dump = f.Dump();
  dump += "links:";
  for (const TSrcLinkItem& source : f.Links.Sources)
    dump += " source " + std::to_string(source.Key) + " -> " + std::to_string(source.Target->Key);
  dump += "\n";
  if (std::getenv("QF_REGENERATE_GOLDEN")) std::ofstream(folder + "small_book.txt", std::ios::binary) << dump;
  EXPECT_EQ(dump, ReadFile(folder + "small_book.txt"));
}

}  // namespace
