// Imports whose work grows with their input no faster than n log n: each case is
// imported at n and at 10 n, and the work it did (counted, never timed) may grow at
// most 14 times.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "richtext/interchange/RPRTFImportFixture.h"

namespace {

// A list of two numbered levels: one item at level 0, then count items at level 1.
std::string LongSubList(int count) {
  std::string rtf =
      "{\\rtf1{\\*\\listtable{\\list\\listtemplateid1"
      "{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext \\'02\\'00.;}{\\levelnumbers\\'01;}}"
      "{\\listlevel\\levelnfc4\\levelstartat1{\\leveltext \\'02\\'01);}{\\levelnumbers\\'01;}}"
      "\\listid7}}{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}}"
      "\\pard\\ls1\\ilvl0 top\\par";
  for (int i = 0; i < count; ++i) rtf += "\\pard\\ls1\\ilvl1 item\\par";
  return rtf + "}";
}

int64_t ParentSearchSteps(TImportFixture& fixture) {
  const auto* markers = dynamic_cast<const TRPMarkerList*>(fixture.Data().GetMarkers(false));
  return markers ? markers->ParentSearchSteps() : 0;
}

TEST(RPRTFGrowth, TenTimesTheInputCostsAtMostFourteenTimesTheWork) {
  const struct {
    const char* Name;
    int Count;
    std::function<std::string(int)> Make;
    std::function<int64_t(TImportFixture&)> Work;
  } cases[] = {
      {"list numbering: markers looked at for parents", 300, LongSubList, ParentSearchSteps},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    int64_t work[2] = {};
    for (int k = 0; k < 2; ++k) {
      TImportFixture fixture;
      ASSERT_EQ(fixture.Import(c.Make(k == 0 ? c.Count : 10 * c.Count)), rtf_ec_OK);
      work[k] = c.Work(fixture);
    }
    ASSERT_GT(work[0], 0);
    EXPECT_LE(work[1], 14 * work[0]) << work[0] << " at n, " << work[1] << " at 10 n";
  }
}

}  // namespace
