// List markers inside table cells: one marker list for the document and its cells, in
// document order.
#include <gtest/gtest.h>

#include "RPTableTestData.h"
#include "richtext/model/RPMarker.h"

namespace {

class RPTableMarkersTest : public testing::Test {
protected:
  RPTableMarkersTest() {
    TRPListLevel& level = *Data.Style.ListStyles().Add()->Levels().Add();
    level.ListType = rplstDecimal;
    level.FormatString = "%0:s.";
  }
  ~RPTableMarkersTest() override { Data.Clear(); }
  static void AddListParagraph(TCustomRPData& data) {
    data.AddItem({}, TRPMarkerItemInfo::CreateEx(&data, 0, 0, 1, false));
    data.AddRawText("item", 0, -1);
  }
  // The texts of the document's markers, in the marker list's order.
  std::vector<std::string> Texts() {
    std::vector<std::string> out;
    auto* list = dynamic_cast<TRPMarkerList*>(Data.GetMarkers(false));
    for (int32_t i = 0; list && i < list->Count(); ++i) out.push_back((*list)[i]->DisplayString);
    return out;
  }
  TTestFormattedData Data;
};

TEST_F(RPTableMarkersTest, CellsShareTheDocumentsList) {
  auto item = std::make_unique<TRPTableItemInfo>(1, 2, &Data);
  TRPTableItemInfo& table = *item;
  Data.AddItem("", std::move(item));
  TRPTableCellData& left = *table.GetCell(0, 0);
  left.Clear();
  AddListParagraph(left);
  AddListParagraph(left);
  EXPECT_EQ(left.GetMarkers(false), Data.GetMarkers(false));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1.", "2."}));
  EXPECT_EQ(dynamic_cast<TRPMarkerItemInfo*>(left.GetItem(2))->DisplayString, "2.");
  // The table goes with its markers: the list forgets them.
  Data.DeleteItems(0, 1);
  EXPECT_EQ(Data.GetMarkers(false), nullptr);
}

TEST_F(RPTableMarkersTest, MarkersOfCellsAndDocumentAreNumberedInDocumentOrder) {
  AddListParagraph(Data);
  auto item = std::make_unique<TRPTableItemInfo>(1, 2, &Data);
  TRPTableItemInfo& table = *item;
  Data.AddItem("", std::move(item));
  AddListParagraph(Data);
  TRPTableCellData& left = *table.GetCell(0, 0);
  TRPTableCellData& right = *table.GetCell(0, 1);
  right.Clear();
  AddListParagraph(right);
  left.Clear();
  AddListParagraph(left);  // added later, but it comes before the right cell
  AddListParagraph(left);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1.", "2.", "3.", "4.", "5."}));
  EXPECT_EQ(dynamic_cast<TRPMarkerItemInfo*>(left.GetItem(0))->DisplayString, "2.");
  EXPECT_EQ(dynamic_cast<TRPMarkerItemInfo*>(left.GetItem(2))->DisplayString, "3.");
  EXPECT_EQ(dynamic_cast<TRPMarkerItemInfo*>(right.GetItem(0))->DisplayString, "4.");
  EXPECT_EQ(dynamic_cast<TRPMarkerItemInfo*>(Data.GetItem(Data.GetItemCount() - 2))->DisplayString, "5.");
  // The table goes with its markers: the list forgets them and renumbers.
  Data.DeleteItems(2, 1);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1.", "2."}));
}

TEST_F(RPTableMarkersTest, CellsFilledBeforeTheTableJoinsAreNumberedWhenItJoins) {
  AddListParagraph(Data);
  auto item = std::make_unique<TRPTableItemInfo>(1, 1, &Data);
  TRPTableCellData& cell = *item->GetCell(0, 0);
  cell.Clear();
  AddListParagraph(cell);
  EXPECT_EQ(cell.GetMarkers(true), nullptr);  // not in a document yet
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1."}));
  Data.AddItem("", std::move(item));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1.", "2."}));
  EXPECT_EQ(cell.GetMarkers(false), Data.GetMarkers(false));
  Data.Clear();
  EXPECT_EQ(Data.GetMarkers(false), nullptr);
}

}  // namespace
