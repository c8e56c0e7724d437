// A report document that continues a list begun before it: its first paragraph takes the
// level's continuation indent, and its markers find their parents among the markers read
// with the part before it.
#include <gtest/gtest.h>

#include "RPListPageData.h"

namespace {

class RPContinuedListTest : public testing::Test {
protected:
  RPContinuedListTest() {
    BuildListPage(Fixture, rpmaLeft);  // list 1: decimal, lower alpha, legal lower roman
    Fixture.Data().Clear();
  }
  ~RPContinuedListTest() override { Fixture.Data().Clear(); }
  TReportFixture Fixture;
};

TEST_F(RPContinuedListTest, TheFirstParagraphContinuesTheList) {
  TReportRPData& data = Fixture.Data();
  int32_t listNo = 9, level = 9;
  EXPECT_FALSE(data.GetContinuedListMarker(listNo, level));
  data.SetContinuedList(true, 1, 2);
  ASSERT_TRUE(data.GetContinuedListMarker(listNo, level));
  EXPECT_EQ(listNo, 1);
  EXPECT_EQ(level, 2);
  data.AddAnsiText("rest of an item", 0, TRPTag(), 0);
  data.AddAnsiText("after", 0, TRPTag(), 0);
  Fixture.Paginate({100});
  ASSERT_EQ(data.DrawItems.Count(), 2);
  EXPECT_EQ(data.DrawItems[0]->Left, 84 + 32);  // level 2's LeftIndent
  EXPECT_EQ(data.DrawItems[1]->Left, 0);
  data.SetContinuedList(true, -1, 0);
  EXPECT_FALSE(data.GetContinuedListMarker(listNo, level));  // a negative list number
  data.SetContinuedList(true, 1, 2);
  data.Clear();
  EXPECT_FALSE(data.GetContinuedListMarker(listNo, level));
}

TEST_F(RPContinuedListTest, MarkersFindTheirParentsBeforeTheDocument) {
  TReportRPData& data = Fixture.Data();
  // The part before: list 1 at level 0 with counter 3, then level 1 with counter 2.
  TRPMarkerList before;
  TRPMarkerItemInfo first(&data, 1, 0, 1, false), second(&data, 1, 1, 1, false);
  first.Counter = 3;
  second.Counter = 2;
  before.InsertMarkerAfter(first, nullptr);
  before.InsertMarkerAfter(second, &first);
  TMemoryStream records;
  before.WriteMarkersBinary(records, 2, false);
  data.GetPrevMarkers().LoadMarkersFromBinaryString(
      AnsiString(static_cast<const char*>(records.Memory()), static_cast<size_t>(records.Size())), &data);
  data.AddItem({}, TRPMarkerItemInfo::CreateEx(&data, 1, 2, 1, false));
  data.AddAnsiText("deep", 0, TRPTag(), -1);
  const auto& marker = dynamic_cast<const TRPMarkerItemInfo&>(*data.GetItem(0));
  EXPECT_EQ(marker.DisplayString, "3.2.i");  // legal style: the parents' numbers in decimal
  data.Clear();
  data.AddItem({}, TRPMarkerItemInfo::CreateEx(&data, 1, 2, 1, false));
  EXPECT_EQ(dynamic_cast<const TRPMarkerItemInfo&>(*data.GetItem(0)).DisplayString, "1.1.i");  // forgotten
}

}  // namespace
