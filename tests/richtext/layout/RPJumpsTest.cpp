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

}  // namespace
