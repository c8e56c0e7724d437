#include "richtext/model/RPStyleUsage.h"

#include <gtest/gtest.h>

#include <vector>

#include "richtext/model/RPData.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPStyledData.h"
#include "richtext/model/RPTextItems.h"

namespace {

class RPStyleUsageTest : public ::testing::Test {
protected:
  RPStyleUsageTest() {
    // Text styles 6 .. 11 and paragraph styles 2 .. 4 are not standard.
    for (int i = 0; i < 6; ++i) Sheet.TextStyles().Add()->Standard = false;
    for (int i = 0; i < 3; ++i) Sheet.ParaStyles().Add()->Standard = false;
    Data.Sheet = &Sheet;
  }
  ~RPStyleUsageTest() override { Data.Clear(); }
  TRPStyle Sheet{nullptr};
  TStyledData Data;
};

TEST_F(RPStyleUsageTest, PreparedFromTheSheet) {
  TRPStyleUsage usage;
  usage.TrackTextStyles = true;
  Sheet.DefUnicodeStyle = 9;
  InitStyleUsage(usage, Sheet);
  EXPECT_EQ(Values(usage.TextStyles), (std::vector<int32_t>{1, 1, 1, 1, 1, 1, 0, 0, 0, 1, 0, 0}));
  EXPECT_EQ(Values(usage.ParaStyles), (std::vector<int32_t>{1, 1, 1, 1, 1}));  // not tracked: all used
  EXPECT_TRUE(usage.Initialized);
  Sheet.DefUnicodeStyle = 40;
  InitStyleUsage(usage, Sheet);  // initialised already: nothing
  EXPECT_EQ(Sheet.DefUnicodeStyle, 40);
  TRPStyleUsage again;
  again.TrackTextStyles = true;
  InitStyleUsage(again, Sheet);
  EXPECT_EQ(Sheet.DefUnicodeStyle, -1);  // out of range: reset
  EXPECT_EQ(again.TextStyles[9], 0);
}

TEST_F(RPStyleUsageTest, ItemsAndReferencesMarkWhatIsUsed) {
  Sheet.TextStyles()[7]->NextStyleNo = 8;
  Sheet.TextStyles()[8]->BaseStyleNo = 9;
  Sheet.TextStyles()[9]->NextStyleNo = 7;   // a cycle ends as each style is visited once
  Sheet.TextStyles()[10]->BaseStyleNo = 6;  // 10 itself is unused, so 6 stays unused
  Sheet.TextStyles()[9]->BaseStyleNo = 99;  // outside: reset when met
  Sheet.ParaStyles()[3]->NextParaNo = 4;
  Sheet.ParaStyles()[4]->DefStyleNo = 11;
  Data.AddRawText("a", 7, 3);
  TRPStyleUsage usage;
  usage.TrackTextStyles = usage.TrackParaStyles = true;
  MarkStylesInUse(Data, Sheet, usage);
  EXPECT_EQ(Values(usage.ParaStyles), (std::vector<int32_t>{1, 1, 0, 1, 1}));
  EXPECT_EQ(Values(usage.TextStyles), (std::vector<int32_t>{1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 0, 1}));
  EXPECT_EQ(Sheet.TextStyles()[9]->BaseStyleNo, -1);
  EXPECT_EQ(Sheet.TextStyles()[10]->BaseStyleNo, 6);  // never met
}

}  // namespace
