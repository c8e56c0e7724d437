#include <gtest/gtest.h>

#include "platform/base/PublishedProperties.h"
#include "richtext/table/RPTableItem.h"
#include "richtext/table/RPTableTestData.h"

namespace {

TEST(RPTablePropsTest, ANewTablePublishesItsPropertiesWithTheirDefaults) {
  TTestFormattedData data;
  TRPTableItemInfo table(2, 3, &data);
  const std::vector<const TPropInfo*> props = PublishedPropList(table);
  std::vector<std::string> names;
  for (const TPropInfo* p : props) names.push_back(p->Name);
  const std::vector<std::string> expected = {
      "Options",         "PrintOptions",         "BestWidth",        "Color",
      "BackgroundStyle", "HeadingRowCount",      "TextRowSeparator", "TextColSeparator",
      "BorderWidth",     "BorderColor",          "BorderLightColor", "BorderStyle",
      "BorderVSpacing",  "BorderHSpacing",       "VisibleBorders",   "CellBorderWidth",
      "CellBorderColor", "CellBorderLightColor", "CellPadding",      "CellBorderStyle",
      "VRuleWidth",      "VRuleColor",           "HRuleWidth",       "HRuleColor",
      "CellVSpacing",    "CellHSpacing",         "VOutermostRule",   "HOutermostRule",
      "OnCellEditing",   "OnCellEndEdit",        "OnDrawBorder"};
  EXPECT_EQ(names, expected);
  EXPECT_EQ(names.size(), 31u);
  // The visible sides are stored only when one is hidden.
  const TPropInfo* borders = FindPublishedProp(table, "VisibleBorders");
  ASSERT_NE(borders, nullptr);
  EXPECT_FALSE(borders->IsStored(table));
  table.VisibleBorders.Bottom = false;
  EXPECT_TRUE(borders->IsStored(table));
  TRPTableCellData& cell = *table.GetCell(0, 0);
  FindPublishedProp(cell, "VisibleBorders")->Set(cell, TPropValue(static_cast<TPersistent*>(&table.VisibleBorders)));
  EXPECT_FALSE(cell.VisibleBorders.Bottom);
  // Every ordinal property reads back its declared default.
  for (const TPropInfo* p : props) {
    if (!p->Default) continue;
    SCOPED_TRACE(p->Name);
    EXPECT_EQ(std::get<int64_t>(p->Get(table)), *p->Default);
  }
  EXPECT_EQ(table.Options, 31);
  EXPECT_EQ(table.PrintOptions, 3);
  EXPECT_EQ(table.GetColor(), static_cast<TColor>(0xFF000005));
  EXPECT_EQ(table.GetBorderColor(), static_cast<TColor>(0xFF000008));
  EXPECT_EQ(table.GetCellBorderLightColor(), static_cast<TColor>(0xFF000014));
  EXPECT_EQ(table.TextRowSeparator, "\r\n");
  EXPECT_EQ(table.StyleNo, -60);
  EXPECT_EQ(table.Rows().GetRowCount(), 2);
  EXPECT_EQ(table.Rows().GetColCount(), 3);
  EXPECT_NE(table.GetStates() & rptsFresh, 0);
}

TEST(RPTablePropsTest, ANewCellIsOneEmptyParagraphWithDefaults) {
  TTestFormattedData data;
  TRPTableItemInfo table(1, 1, &data);
  const TRPTableCellData& cell = *table.GetCell(0, 0);
  EXPECT_EQ(cell.GetItemCount(), 1);
  EXPECT_FALSE(cell.HasContent(true));
  EXPECT_FALSE(cell.HasContent(false));
  EXPECT_EQ(cell.GetCellColor(), clNone);
  EXPECT_EQ(cell.BorderColor, clNone);
  EXPECT_EQ(cell.VAlign, rpcVDefault);
  EXPECT_TRUE(cell.VisibleBorders.IsAllEqual(true));
  EXPECT_EQ(cell.GetRowSpan(), 1);
  EXPECT_EQ(cell.GetColSpan(), 1);
}

TEST(RPTablePropsTest, ByNameSettersStoreAndFlagTheTableChanged) {
  TTableInDocument t(1, 1);
  ASSERT_NE(t.Table->GetStates() & rptsInDocument, 0);
  t.UseConversionSettings();
  EXPECT_EQ(t.Table->GetCellHSpacing(), -1);
  EXPECT_EQ(t.Table->GetCellPadding(), 2);
  EXPECT_EQ(t.Table->GetBestWidth(), -100);
  EXPECT_EQ(t.Table->GetBorderStyle(), rptbColor);
  EXPECT_TRUE(t.Table->IsChanged());
  // The in-document bit comes back after each change.
  EXPECT_NE(t.Table->GetStates() & rptsInDocument, 0);
  t.Table->SetHeadingRowCount(5);
  EXPECT_EQ(t.Table->GetHeadingRowCount(), 5);
  EXPECT_EQ(t.Table->GetHeadingRowCountLimited(), 1);
  t.Table->SetCellBestWidth(-40, 0, 0);
  EXPECT_EQ(t.Cell(0, 0).BestWidth, -40);
  t.Table->SetCellStrPropertyByName(-1, "Hint", "note", 0, 0);
  EXPECT_EQ(t.Cell(0, 0).Hint, "note");
}

// An editor host that records the steps it is given.
class TRecordingEditHost : public IRPTableEditHost {
public:
  struct TStep {
    int32_t ItemNo;
    std::string Name;
    int32_t Value;
    bool AffectsSize, AffectsWidth;
    int32_t Row, Col;
  };
  std::vector<TStep> Steps;

  void ModifyItemIntProperty(int32_t itemNo, TPersistent& object, const AnsiString& name, int32_t value,
                             bool affectsSize, bool affectsWidth, int32_t row, int32_t col) override {
    const TPropInfo* prop = FindPublishedProp(object, name);
    if (std::get<int64_t>(prop->Get(object)) == value) return;
    Steps.push_back({itemNo, name, value, affectsSize, affectsWidth, row, col});
    prop->Set(object, TPropValue(int64_t(value)));
  }
  void ModifyItemStrProperty(int32_t itemNo, TPersistent& object, const AnsiString& name, const AnsiString& value,
                             int32_t row, int32_t col) override {
    Steps.push_back({itemNo, name, 0, false, false, row, col});
    FindPublishedProp(object, name)->Set(object, TPropValue(value));
  }
};

TEST(RPTablePropsTest, InAnEditorEachChangeIsAStepOfTheHostWithItsFlags) {
  TRecordingEditHost host;
  RPTableHooks().FindEditHost = [&](TCustomRPData&) { return &host; };
  TTableInDocument t(2, 2);
  RPTableHooks().FindEditHost = nullptr;  // the table found its host while inserted
  ASSERT_NE(t.Table->GetStates() & rptsInEditor, 0);
  RPTableHooks().FindEditHost = [&](TCustomRPData&) { return &host; };
  t.Table->SetCellVSpacing(5);
  t.Table->SetColor(clWhite);
  t.Table->SetCellPadding(1);  // unchanged: the host records nothing
  t.Table->SetCellBestHeight(30, 1, 0);
  RPTableHooks().FindEditHost = nullptr;
  ASSERT_EQ(host.Steps.size(), 3u);
  EXPECT_EQ(host.Steps[0].Name, "CellVSpacing");
  EXPECT_TRUE(host.Steps[0].AffectsSize);
  EXPECT_FALSE(host.Steps[0].AffectsWidth);
  EXPECT_EQ(host.Steps[1].Name, "Color");
  EXPECT_FALSE(host.Steps[1].AffectsSize || host.Steps[1].AffectsWidth);
  EXPECT_EQ(host.Steps[2].Name, "BestHeight");
  EXPECT_EQ(host.Steps[2].Row, 1);
  EXPECT_EQ(host.Steps[2].ItemNo, 0);
  EXPECT_EQ(t.Table->GetCellVSpacing(), 5);
  EXPECT_EQ(t.Cell(1, 0).BestHeight, 30);
}

TEST(RPTablePropsTest, CopiedCellAttributesArePlainOrStepsOfTheHost) {
  TTableInDocument t(1, 2);
  TRPTableCellData& source = t.Cell(0, 0);
  source.SetCellColor(clWhite);
  source.BestWidth = 90;
  source.BestHeight = 40;
  source.VisibleBorders.Top = false;
  source.Hint = "h";
  t.Table->CopyCellAttributes(-1, 0, 1, source, true, 3, 2);
  EXPECT_EQ(t.Cell(0, 1).GetCellColor(), clWhite);
  EXPECT_EQ(t.Cell(0, 1).BestWidth, 30);
  EXPECT_EQ(t.Cell(0, 1).BestHeight, 20);
  EXPECT_FALSE(t.Cell(0, 1).VisibleBorders.Top);
  EXPECT_EQ(t.Cell(0, 1).Hint, "h");

  TRecordingEditHost host;
  RPTableHooks().FindEditHost = [&](TCustomRPData&) { return &host; };
  TTableInDocument e(1, 2);
  e.Cell(0, 0).SetCellColor(clWhite);
  e.Cell(0, 0).BestWidth = 90;
  e.Table->CopyCellAttributes(-1, 0, 1, e.Cell(0, 0), false, 1, 1);
  RPTableHooks().FindEditHost = nullptr;
  std::vector<std::string> names;
  for (const auto& step : host.Steps) names.push_back(step.Name);
  // Unchanged ordinals make no step; without the size the best sizes are left alone.
  const std::vector<std::string> expected = {"BackgroundImageFileName", "Hint", "Color"};
  EXPECT_EQ(names, expected);
  EXPECT_EQ(e.Cell(0, 1).GetCellColor(), clWhite);
  EXPECT_EQ(e.Cell(0, 1).BestWidth, 0);
}

TEST(RPTablePropsTest, CellAlignmentFallsBackToTheRowThenToTheMiddle) {
  TTableInDocument t(1, 1);
  TRPTableCellData& cell = t.Cell(0, 0);
  TRPTableRow& row = *t.Table->Rows().GetRow(0);
  row.VAlign = rpcVDefault;
  EXPECT_EQ(cell.GetEffectiveVAlign(), rpcMiddle);
  row.VAlign = rpcBottom;
  EXPECT_EQ(cell.GetEffectiveVAlign(), rpcBottom);
  cell.VAlign = rpcTop;
  EXPECT_EQ(cell.GetEffectiveVAlign(), rpcTop);
  // Free height 7 or -7 (padding 1 on both sides of an empty, unformatted document).
  cell.VAlign = rpcMiddle;
  cell.Height = 9;
  EXPECT_EQ(cell.GetVAlignOffset(), 3);
  cell.Height = -5;
  EXPECT_EQ(cell.GetVAlignOffset(), -3);
  cell.VAlign = rpcBottom;
  EXPECT_EQ(cell.GetVAlignOffset(), -7);
}

TEST(RPTablePropsTest, CellBackgroundExistsOnlyWhileNotEmpty) {
  TTableInDocument t(1, 1);
  TRPTableCellData& cell = t.Cell(0, 0);
  cell.SetBackgroundStyle(rpbsTiled);
  EXPECT_NE(cell.GetCellBackground(), nullptr);
  cell.SetBackgroundStyle(rpbsColor);
  EXPECT_EQ(cell.GetCellBackground(), nullptr);
}

TEST(RPTablePropsTest, CellColoursFallBackToTheTableThenTheDocument) {
  TTableInDocument t(1, 1);
  TRPTableCellData& cell = t.Cell(0, 0);
  t.Table->SetColor(clNone);
  EXPECT_TRUE(t.Table->IsCellColorNone(cell));
  EXPECT_EQ(t.Table->GetEffectiveCellColor(cell), t.Data.GetColor());
  t.Table->SetColor(0x123456);
  EXPECT_EQ(t.Table->GetEffectiveCellColor(cell), 0x123456);
  cell.SetCellColor(0x654321);
  EXPECT_EQ(cell.GetColor(), 0x654321);
}

TEST(RPTablePropsTest, ACellIsDeleteProtectedByItsTextStyles) {
  TTableInDocument t(1, 1);
  const int32_t locked = t.Data.AddTextStyle();
  t.Data.Font(locked).Protection.Include(rpprDeleteProtect);
  TRPTableCellData& cell = t.Cell(0, 0);
  EXPECT_TRUE(cell.HasNoDeleteProtection());
  cell.AddRawText("kept", locked, 0);
  EXPECT_FALSE(cell.HasNoDeleteProtection());
}

TEST(RPTablePropsTest, HasContentLooksAtASingleItemAsTheFlagSays) {
  TTableInDocument t(1, 1);
  TRPTableCellData& cell = t.Cell(0, 0);
  cell.Clear();
  cell.AddRawText("", 1, 0);  // empty, but not the default style
  EXPECT_TRUE(cell.HasContent(true));
  EXPECT_FALSE(cell.HasContent(false));
  t.SetText(0, 0, "x");
  EXPECT_TRUE(cell.HasContent(true));
  EXPECT_TRUE(cell.HasContent(false));
}

}  // namespace
