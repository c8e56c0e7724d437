// Laid-out pages of lists compared with dumps checked by hand: a bulleted and a numbered
// list of three levels with their markers aligned left, centred and right (the painted
// pages are among the expected images of RPPageImageTest).
#include <gtest/gtest.h>

#include "RPGolden.h"
#include "RPListPageData.h"

namespace {

struct TListCase {
  const char* Name;
  TRPMarkerAlignment Alignment;
};

const TListCase ListCases[] = {{"list_left", rpmaLeft}, {"list_centre", rpmaCenter}, {"list_right", rpmaRight}};

void PrintTo(const TListCase& c, std::ostream* os) { *os << c.Name; }

class RPPageGoldenListsTest : public testing::TestWithParam<TListCase> {};

TEST_P(RPPageGoldenListsTest, ListPagesMatchTheCheckedDump) {
  TReportFixture f;
  BuildListPage(f, GetParam().Alignment);
  f.Paginate({280});
  const std::string name = std::string(GetParam().Name) + ".txt";
  if (RegeneratingGoldens()) WriteGolden(name, DumpListPages(f));
  EXPECT_EQ(DumpListPages(f), ReadGolden(name));
}

INSTANTIATE_TEST_SUITE_P(Lists, RPPageGoldenListsTest, testing::ValuesIn(ListCases),
                         [](const testing::TestParamInfo<TListCase>& param) { return std::string(param.param.Name); });

}  // namespace
