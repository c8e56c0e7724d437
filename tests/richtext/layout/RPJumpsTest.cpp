// Hyperlink areas collected while formatting: a full-line item's own areas (a table's
// cells') in the root's coordinates, numbered among the document's, and kept apart from
// the document's draw items when paragraphs are reformatted in place.
#include <gtest/gtest.h>

#include "RPLayoutTestData.h"
#include "richtext/layout/RPLayoutItems.h"

namespace {

// A cell standing at a fixed place of the root document.
class TCellData : public TTestFormattedData {
public:
  TPoint GetOrigin() const override { return TPoint{7, 20}; }
};

// A table-like full-line item whose cell holds one hyperlink area.
class TTableFake : public TRPFullLineItemInfo, public IRPJumpAreasItem {
public:
  TTableFake(TCustomRPData* data, TCellData& cell) : TRPFullLineItemInfo(data), FCell(cell) { StyleNo = -60; }
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }
  int32_t GetWidth() const override { return 40; }
  int32_t GetHeight() const override { return 30; }
  void AddJumpAreas(TCustomRPFormattedData&, int32_t, int32_t& jumpNo,
                    std::vector<std::unique_ptr<TRPJumpInfo>>& list) override {
    auto area = std::make_unique<TRPJumpInfo>();
    area->RPData = &FCell;
    area->DrawItemNo = 0;
    area->JumpNo = jumpNo++;
    list.push_back(std::move(area));
  }

private:
  TCellData& FCell;
};
const TRPItemClassInfo TTableFake::ClassInfo{"TTableFake", nullptr};

TEST(RPJumpsTest, AFullLineItemAddsItsOwnAreas) {
  TCellData cell;
  cell.AddAnsiText("cell", 0, TRPTag(), 0);
  cell.FormatAll();
  TTestFormattedData data;
  data.Flags |= rpdfUseJumps;
  const int32_t link = data.AddTextStyle();
  data.Font(link).Jump = true;
  data.AddAnsiText("a", 0, TRPTag(), 0);
  data.AddItem("", std::make_unique<TTableFake>(&data, cell));
  data.AddAnsiText("x", link, TRPTag(), 0);
  data.FormatAll();
  ASSERT_EQ(data.DrawItems.Count(), 3);
  ASSERT_EQ(data.Jumps.size(), 2u);
  const TRPJumpInfo& area = *data.Jumps[0];
  const TRPDrawLineInfo& cellItem = *cell.DrawItems[0];
  EXPECT_EQ(area.JumpNo, 0);
  EXPECT_EQ(area.HolderDrawNo, 1);
  EXPECT_EQ(std::make_tuple(area.Left, area.Top, area.Width, area.Height),
            std::make_tuple(7 + cellItem.Left, 20 + cellItem.Top, cellItem.Width, cellItem.Height));
  EXPECT_EQ(data.Jumps[1]->JumpNo, 1);  // the next hyperlink is numbered after the cell's
  EXPECT_EQ(data.Jumps[1]->DrawItemNo, 2);

  // The first paragraph grows to several lines: the cell's area keeps its draw item in
  // the cell and follows its table; the link's area follows its draw item.
  data.SetItemTextRaw(0, "aaa bbb ccc ddd eee fff ggg hhh iii jjj kkk lll mmm nnn ooo ppp qqq");
  data.ReformatParagraphs(0, 0, false, 0);
  const int32_t grown = data.DrawItems.Count() - 3;
  ASSERT_GT(grown, 0);
  ASSERT_EQ(data.Jumps.size(), 2u);
  EXPECT_EQ(data.Jumps[0]->DrawItemNo, 0);
  EXPECT_EQ(data.Jumps[0]->HolderDrawNo, 1 + grown);
  EXPECT_EQ(data.Jumps[1]->DrawItemNo, 2 + grown);
  EXPECT_EQ(data.Jumps[1]->Top, data.DrawItems[2 + grown]->Top);
}

// Rebuilding the areas numbers hyperlink items (not draw items) from the first number
// given, a table's cell areas among them, and stores each item's number.
TEST(RPJumpsTest, CollectingRebuildsTheAreasInDocumentOrder) {
  TCellData cell;
  cell.AddAnsiText("cell", 0, TRPTag(), 0);
  cell.FormatAll();
  TTestFormattedData data;
  data.Width = 60;
  const int32_t link = data.AddTextStyle();
  data.Font(link).Jump = true;
  data.Font(link).JumpCursor = 77;
  data.AddAnsiText("a", 0, TRPTag(), 0);
  data.AddAnsiText("link text here", link, TRPTag(), 0);  // two lines
  data.AddItem("", std::make_unique<TTableFake>(&data, cell));
  data.AddAnsiText("x", link, TRPTag(), 0);
  data.FormatAll();  // no areas: the report flags collect none
  ASSERT_TRUE(data.Jumps.empty());
  ASSERT_EQ(data.DrawItems.Count(), 5);

  std::vector<std::unique_ptr<TRPJumpInfo>> elsewhere;
  int32_t first = 10;
  data.CollectJumps(first, &elsewhere);
  EXPECT_EQ(first, 13);
  EXPECT_TRUE(data.Jumps.empty());  // another list was filled

  first = 10;
  data.CollectJumps(first, nullptr);
  ASSERT_EQ(data.Jumps.size(), 4u);
  const std::tuple<int32_t, int32_t, TCustomRPData*, int16_t> expected[] = {
      {10, 1, &data, 77}, {10, 2, &data, 77}, {11, 0, &cell, 0}, {12, 4, &data, 77}};
  for (size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const TRPJumpInfo& area = *data.Jumps[i];
    EXPECT_EQ(std::make_tuple(area.JumpNo, area.DrawItemNo, area.RPData, area.Cursor), expected[i]);
  }
  EXPECT_EQ(data.Jumps[1]->Top, data.DrawItems[2]->Top);
  EXPECT_EQ(data.Jumps[2]->Left, 7 + cell.DrawItems[0]->Left);
  EXPECT_EQ(data.GetItem(1)->JumpID, 10);
  EXPECT_EQ(data.GetItem(3)->JumpID, 12);
}

// A document shown lower in a taller area (its origin moved down by its vertical
// alignment) keeps its areas in document coordinates.
TEST(RPJumpsTest, AreasLeaveOutTheVerticalAlignment) {
  class TAlignedData : public TTestFormattedData {
  public:
    TPoint GetOrigin() const override { return TPoint{0, 6}; }
    int32_t GetDocumentVAlignOffset() const override { return 6; }
  };
  TAlignedData data;
  data.Flags |= rpdfUseJumps;
  data.Font(0).Jump = true;
  data.AddAnsiText("a", 0, TRPTag(), 0);
  data.AddAnsiText("link", 0, TRPTag(), 0);
  data.FormatAll();
  ASSERT_EQ(data.Jumps.size(), 2u);
  EXPECT_EQ(data.Jumps[1]->Top, data.DrawItems[1]->Top);
  EXPECT_EQ(data.Jumps[1]->Left, data.DrawItems[1]->Left);
}

// Clearing the areas clears the hover and says so.
TEST(RPJumpsTest, ClearingTheAreasClearsTheHover) {
  class THoverData : public TTestFormattedData {
  public:
    std::vector<int32_t> Reported;
    void HoverJumpChanged(int32_t jumpNo) override { Reported.push_back(jumpNo); }
  };
  THoverData data;
  data.Flags |= rpdfUseJumps;
  data.Font(0).Jump = true;
  data.AddAnsiText("link", 0, TRPTag(), 0);
  data.FormatAll();
  ASSERT_EQ(data.Jumps.size(), 1u);
  data.SetHoverJumpNo(0);
  data.Reported.clear();
  data.ClearJumps();
  EXPECT_TRUE(data.Jumps.empty());
  EXPECT_EQ(data.GetHoverJumpNo(), -1);
  EXPECT_EQ(data.Reported, std::vector<int32_t>{-1});
}

}  // namespace
