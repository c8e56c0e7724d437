// Tables in an editor's document: what their operations record, the edge cases of the
// row and column operations, property changes undone and redone, OnCellEditing
// refusing changes, commands on selected cells, and the changes of a cell's own editor
// handed to the document.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "RPEditTestData.h"
#include "platform/base/Threads.h"
#include "richtext/edit/RPTableEditHost.h"
#include "richtext/edit/RPTableUndoRecords.h"
#include "richtext/model/RPException.h"
#include "richtext/table/RPTableTestData.h"

namespace {

class RPTableUndoTest : public TEditFixture {
protected:
  RPTableUndoTest() {
    AddA("before");
    auto table = std::make_unique<TRPTableItemInfo>(3, 3, &Data());
    Table = table.get();
    for (int32_t r = 0; r < 3; ++r)
      for (int32_t c = 0; c < 3; ++c) {
        Table->GetCell(r, c)->Clear();
        Table->GetCell(r, c)->AddRawText(Text(r, c), 0, 0);
      }
    Data().AddItem("", std::move(table));
    AddA("after");
    Format();
  }

  static std::string Text(int32_t row, int32_t col) { return "r" + std::to_string(row) + "c" + std::to_string(col); }
  std::string Grid() const { return DumpGrid(Table->Rows()); }
  int32_t Groups() const { return Data().UndoList->Count(); }
  TRPEditRPData& Data() const { return Pane.Edit(); }
  TRPUndoInfos& LastGroup() const { return *Data().UndoList->LastGroup(); }
  template <typename T>
  int32_t CountRecords(const TRPUndoInfos& group) const {
    int32_t count = 0;
    for (int32_t i = 0; i < group.Count(); ++i) count += dynamic_cast<const T*>(group.Info(i)) ? 1 : 0;
    return count;
  }
  void Undo() {
    Data().UndoList->Undo(Data());
    ASSERT_NO_FATAL_FAILURE(ExpectGridInvariants(Table->Rows()));
  }
  void Redo() {
    Data().RedoList->Redo(Data());
    ASSERT_NO_FATAL_FAILURE(ExpectGridInvariants(Table->Rows()));
  }
  void Select(std::initializer_list<std::pair<int32_t, int32_t>> cells) {
    for (const auto& [r, c] : cells) Table->GetCell(r, c)->Selected = true;
  }

  TRPTableItemInfo* Table = nullptr;
};

TEST_F(RPTableUndoTest, TheTableFindsItsEditorAndRecordsUndo) {
  EXPECT_TRUE(Table->IsInEditor());
  EXPECT_TRUE(Table->IsUndoRecorded());
  EXPECT_EQ(Table->GetUndoItemNo(), 1);
  EXPECT_TRUE(Table->CanEditorChange());
  Data().UndoList->Limit = 0;
  EXPECT_FALSE(Table->IsUndoRecorded());
  EXPECT_EQ(Table->GetUndoItemNo(), -1);
}

TEST_F(RPTableUndoTest, ARowAppendedAtTheEndIsOneGroupUndoneAndRedone) {
  const std::string before = Grid();
  Table->InsertRows(3, 1, -1);
  ASSERT_EQ(Table->Rows().GetRowCount(), 4);
  for (int32_t c = 0; c < 3; ++c) EXPECT_FALSE(Table->GetCell(3, c)->HasContent(false));
  ASSERT_EQ(Groups(), 1);
  EXPECT_EQ(LastGroup().UndoKind, rpukModifyItem);
  EXPECT_EQ(CountRecords<TRPUndoInsertTableRows>(LastGroup()), 1);
  EXPECT_EQ(CountRecords<TRPUndoModifyItemTerminator>(LastGroup()), 2);
  const std::string after = Grid();
  Undo();
  EXPECT_EQ(Grid(), before);
  Redo();
  EXPECT_EQ(Grid(), after);
}

TEST_F(RPTableUndoTest, RowsCopyingAnotherTakeItsAttributesInOneStepPerCell) {
  Table->GetCell(0, 1)->SetCellColor(clRed);
  Table->GetCell(0, 1)->BestHeight = 20;
  const std::unique_ptr<TBitmap> tile = ColorTile(clBlue);
  Table->GetCell(0, 2)->SetBackgroundImage(tile.get());
  Table->InsertRows(1, 2, 0);
  ASSERT_EQ(Groups(), 1);
  int32_t multiple = 0;
  for (int32_t i = 0; i < LastGroup().Count(); ++i)
    if (const auto* record = dynamic_cast<const TRPUndoModifyCellIntProperties*>(LastGroup().Info(i))) {
      ++multiple;
      EXPECT_TRUE(record->Row == 1 || record->Row == 2);
      EXPECT_EQ(record->Col, 1);
    }
  EXPECT_EQ(multiple, 2) << "the colour and the height of the two copies of cell (0, 1)";
  EXPECT_EQ(Table->GetCell(2, 1)->GetCellColor(), clRed);
  EXPECT_NE(Table->GetCell(2, 2)->GetBackgroundImage(), nullptr);
  const std::string after = Grid();
  Undo();
  Redo();
  EXPECT_EQ(Grid(), after) << "the copied pictures come back too";
}

TEST_F(RPTableUndoTest, InvalidRowAndColumnOperationsFailAndRecordNothing) {
  const std::string before = Grid();
  EXPECT_THROW(Table->InsertRows(4, 1, -1), ERichPaneError);
  EXPECT_THROW(Table->InsertCols(0, 1, 3), ERichPaneError);
  EXPECT_THROW(Table->DeleteRows(0, 4, false), ERichPaneError);
  EXPECT_THROW(Table->DeleteCols(3, 1, false), ERichPaneError);
  EXPECT_THROW(Table->DeleteRows(0, 0, false), ERichPaneError);
  EXPECT_EQ(Grid(), before);
  EXPECT_EQ(Groups(), 0);
  EXPECT_EQ(Data().UndoList->GroupModeCount, 0);
}

TEST_F(RPTableUndoTest, DeletingOnAnEmptyGridDoesNothing) {
  Table->DeleteRows(0, 3, false);
  ASSERT_TRUE(Table->Rows().IsEmpty());
  ASSERT_EQ(Groups(), 1);
  Table->DeleteRows(0, 1, false);
  Table->DeleteCols(0, 1, false);
  EXPECT_EQ(Groups(), 1);
  // The deleted rows come back as they were, the same cell objects in them.
  Undo();
  EXPECT_EQ(Table->Rows().GetRowCount(), 3);
  EXPECT_EQ(Table->GetCell(2, 1)->GetItemTextRaw(0), Text(2, 1));
}

TEST_F(RPTableUndoTest, AMergeUndoneGivesTheCellsTheirItemsBackAndRedoneMergesThemAgain) {
  Table->GetCell(1, 1)->AddRawText("more", 0, 1);
  const TRPTableCellData* absorbed = Table->GetCell(1, 1);
  const std::string before = Grid();
  ASSERT_TRUE(Table->MergeCells(0, 0, 2, 2, false));
  const std::string merged = Grid();
  EXPECT_EQ(Table->GetCell(0, 0)->GetItemCount(), 5);  // r0c0 r0c1 r1c0 r1c1 more
  ASSERT_EQ(Groups(), 1);
  EXPECT_EQ(CountRecords<TRPUndoMerge>(LastGroup()), 1);
  Undo();
  EXPECT_EQ(Grid(), before);
  EXPECT_EQ(Table->GetCell(1, 1), absorbed);
  EXPECT_EQ(Table->GetCell(1, 1)->GetItemTextRaw(1), "more");
  Redo();
  EXPECT_EQ(Grid(), merged);
  EXPECT_EQ(Table->GetCell(1, 1), nullptr);
}

TEST_F(RPTableUndoTest, DeletingRowsThroughAMergedCellSplitsItAndUndoJoinsIt) {
  ASSERT_TRUE(Table->MergeCells(0, 0, 1, 3, true));
  Table->DeleteRows(0, 1, true);
  ASSERT_EQ(Groups(), 2);
  const TRPUndoInfos& group = LastGroup();
  EXPECT_EQ(CountRecords<TRPUndoDeleteRows>(group), 1);
  // A split across rows may change the table's height, never its width.
  for (int32_t i = 0; i < group.Count(); ++i)
    if (const auto* split = dynamic_cast<const TRPUndoCellSpitHorz*>(group.Info(i))) {
      EXPECT_FALSE(split->AffectsWidth);
      EXPECT_TRUE(split->AffectsSize);
    }
  const std::string deleted = Grid();
  Undo();
  EXPECT_EQ(Table->GetCell(0, 0)->GetRowSpan(), 3);
  Redo();
  EXPECT_EQ(Grid(), deleted);
}

TEST_F(RPTableUndoTest, RowsLeftWithoutCellsOfTheirOwnGoInOneStep) {
  ASSERT_TRUE(Table->MergeCells(0, 0, 3, 3, true));
  const std::string merged = Grid();
  Table->DeleteEmptyRows();
  EXPECT_EQ(Table->Rows().GetRowCount(), 1);
  EXPECT_EQ(Table->GetCell(0, 0)->GetRowSpan(), 1);
  ASSERT_EQ(Groups(), 2);
  Undo();
  EXPECT_EQ(Grid(), merged);
  Table->DeleteEmptyRows();
  Table->DeleteEmptyRows();
  EXPECT_EQ(Groups(), 2) << "nothing left to delete records nothing";
}

TEST_F(RPTableUndoTest, ATablePropertyChangedThroughTheEditorIsUndoneAndRedone) {
  Table->SetBorderWidth(1);
  Data().UndoList->Clear();
  Table->SetBorderWidth(4);
  ASSERT_EQ(Groups(), 1);
  EXPECT_EQ(LastGroup().UndoKind, rpukModifyItem);
  EXPECT_EQ(CountRecords<TRPUndoModifyItemIntProperty>(LastGroup()), 1);
  Table->SetBorderWidth(4);
  EXPECT_EQ(Groups(), 1) << "an unchanged value records nothing";
  Undo();
  EXPECT_EQ(Table->GetBorderWidth(), 1);
  EXPECT_TRUE((Table->GetStates() & rptsInDocument) != 0);
  EXPECT_EQ(Groups(), 0);
  Redo();
  EXPECT_EQ(Table->GetBorderWidth(), 4);
  EXPECT_EQ(Groups(), 1);
}

TEST_F(RPTableUndoTest, WithoutUndoPropertiesAndTheGridChangeAndNothingIsKept) {
  Data().UndoList->Limit = 0;
  Table->SetCellPadding(7);
  Table->SetCellBestWidth(40, 0, 0);
  Table->InsertCols(1, 1, 0);
  Table->MergeCells(0, 0, 2, 1, true);
  EXPECT_EQ(Table->GetCellPadding(), 7);
  EXPECT_EQ(Table->Rows().GetColCount(), 4);
  EXPECT_EQ(Groups(), 0);
  ExpectGridInvariants(Table->Rows());
}

TEST_F(RPTableUndoTest, CellAttributesAreRecordedWithTheirCell) {
  Table->SetCellBestHeightEx(-1, 30, 2, 1);
  Table->SetCellBackgroundImageFileNameEx(-1, "back.png", 2, 1);
  Table->SetCellVisibleBordersEx(-1, false, true, false, true, 2, 1);
  Table->SetCellVisibleBorders(false, true, false, true, 2, 1);
  const std::unique_ptr<TBitmap> tile = ColorTile(clRed);
  Table->SetCellBackgroundImage(tile.get(), 2, 1);
  Table->SetCellBackgroundImage(Table->GetCell(2, 1)->GetBackgroundImage(), 2, 1);
  ASSERT_EQ(Groups(), 4) << "unchanged borders and the same picture record nothing";
  const TRPUndoInfos& borders = *Data().UndoList->Group(2);
  ASSERT_EQ(borders.Count(), 1);
  const auto* record = dynamic_cast<const TRPUndoModifyVisibleBorders*>(borders.Info(0));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->Row, 2);
  EXPECT_EQ(record->Col, 1);
  EXPECT_TRUE(record->Left && record->Top && record->Right && record->Bottom);
  EXPECT_FALSE(record->AffectsWidth || record->AffectsSize);
  const auto* picture = dynamic_cast<const TRPUndoModifyBackgroundImage*>(LastGroup().Info(0));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Image, nullptr);
  for (int32_t k = 0; k < 4; ++k) Undo();
  const TRPTableCellData& cell = *Table->GetCell(2, 1);
  EXPECT_EQ(cell.BestHeight, 0);
  EXPECT_EQ(cell.BackgroundImageFileName, "");
  EXPECT_TRUE(cell.VisibleBorders.IsAllEqual(true));
  EXPECT_EQ(cell.GetBackgroundImage(), nullptr);
  for (int32_t k = 0; k < 4; ++k) Redo();
  EXPECT_EQ(cell.BestHeight, 30);
  EXPECT_EQ(cell.BackgroundImageFileName, "back.png");
  EXPECT_TRUE(cell.VisibleBorders.IsEqualToValues(false, true, false, true));
  ASSERT_NE(cell.GetBackgroundImage(), nullptr);
  EXPECT_EQ(cell.GetBackgroundImage()->Width(), 4);
}

TEST_F(RPTableUndoTest, TheTablePictureGoesToItsRecordAndComesBack) {
  const std::unique_ptr<TBitmap> red = ColorTile(clRed, 3), blue = ColorTile(clBlue, 5);
  Table->SetBackgroundImage(red.get());
  TGraphic* first = Table->GetBackgroundImage();
  Table->SetBackgroundImage(blue.get());
  ASSERT_EQ(Groups(), 2);
  Undo();
  EXPECT_EQ(Table->GetBackgroundImage(), first) << "the same picture object is given back";
  Undo();
  EXPECT_EQ(Table->GetBackgroundImage(), nullptr);
  Redo();
  Redo();
  ASSERT_NE(Table->GetBackgroundImage(), nullptr);
  EXPECT_EQ(Table->GetBackgroundImage()->Width(), 5);
}

TEST_F(RPTableUndoTest, TheTablesOwnBordersAreRecordedWithRowMinusOne) {
  Data().TableEditHost().NoteVisibleBorders(Table->GetItemNo(), -1, -1, true, true, true, true);
  Table->VisibleBorders.SetValues(false, false, true, false);
  ASSERT_EQ(Groups(), 1);
  Undo();
  EXPECT_TRUE(Table->VisibleBorders.IsAllEqual(true));
  Redo();
  EXPECT_TRUE(Table->VisibleBorders.IsEqualToValues(false, false, true, false));
}

TEST_F(RPTableUndoTest, OnCellEditingRefusingEveryCellLeavesTheTableAsItWas) {
  int32_t asked = 0;
  Table->OnCellEditing = [&](TRPTableItemInfo&, int32_t, int32_t, bool automatic, bool& allowEdit) {
    ++asked;
    EXPECT_TRUE(automatic);
    allowEdit = false;
  };
  Select({{0, 0}, {1, 2}});
  const std::string before = Grid();
  Table->ClearSelectedCells();
  Table->ApplyToCells(1, BoldStyle, true);
  EXPECT_EQ(asked, 4);
  EXPECT_EQ(Grid(), before);
  EXPECT_EQ(Groups(), 0);
}

TEST_F(RPTableUndoTest, ClearingSelectedCellsSkipsTheRefusedOnesAndIsOneStep) {
  Table->OnCellEditing = [](TRPTableItemInfo&, int32_t row, int32_t col, bool, bool& allowEdit) {
    allowEdit = !(row == 0 && col == 0);
  };
  Table->GetCell(1, 2)->SetCellColor(clRed);
  Select({{0, 0}, {1, 2}, {2, 0}});
  const std::string before = Grid();
  const TRPTableCellData* cleared = Table->GetCell(1, 2);
  EXPECT_TRUE(Table->CanClearSelectedCells());
  Table->ClearSelectedCells();
  EXPECT_EQ(Table->GetCell(0, 0)->GetItemTextRaw(0), Text(0, 0));
  EXPECT_FALSE(Table->GetCell(1, 2)->HasContent(false));
  EXPECT_EQ(Table->GetCell(1, 2)->GetCellColor(), clRed);
  EXPECT_FALSE(Table->GetCell(2, 0)->HasContent(false));
  ASSERT_EQ(Groups(), 1);
  const auto* record = dynamic_cast<const TRPUndoCellsClear*>(LastGroup().Info(1));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->RowList.Count(), 2);
  Undo();
  EXPECT_EQ(Table->GetCell(1, 2), cleared);
  for (int32_t r = 0; r < 3; ++r)
    for (int32_t c = 0; c < 3; ++c) Table->GetCell(r, c)->Selected = false;
  Select({{0, 0}, {1, 2}, {2, 0}});
  EXPECT_EQ(Grid(), before);
}

TEST_F(RPTableUndoTest, CellsHoldingAnUndeletableTextCannotBeCleared) {
  EXPECT_TRUE(Table->CanClearSelectedCells()) << "no selected cell";
  Style.TextStyles()[SerifStyle]->Protection.Include(rpprDeleteProtect);
  Table->GetCell(1, 1)->AddTextW(u"kept", SerifStyle, TRPTag(), 0);
  Select({{1, 1}});
  EXPECT_FALSE(Table->CanClearSelectedCells());
  Table->Options = static_cast<TRPTableOptions>(Table->Options & ~rptoEditing);
  EXPECT_FALSE(Table->CanClearSelectedCells());
}

TEST_F(RPTableUndoTest, ATextStyleAppliedToSelectedCellsIsOneRecordNamingTheChangedCells) {
  Table->ApplyToCells(1, BoldStyle, true);
  EXPECT_EQ(Groups(), 0) << "no selected cell";
  Select({{0, 1}, {2, 2}});
  const std::string before = Grid();
  Table->ApplyToCells(1, BoldStyle, true);
  ASSERT_EQ(Groups(), 1);
  ASSERT_EQ(LastGroup().Count(), 1);
  const auto* record = dynamic_cast<const TRPUndoMultiCellsModify*>(LastGroup().Info(0));
  ASSERT_NE(record, nullptr);
  ASSERT_EQ(record->RowList.Count(), 2);
  EXPECT_EQ(record->RowList[0], 0);
  EXPECT_EQ(record->ColList[0], 1);
  EXPECT_EQ(record->RowList[1], 2);
  EXPECT_EQ(record->ColList[1], 2);
  EXPECT_EQ(record->List->Count(), record->CountList[0] + record->CountList[1]);
  EXPECT_EQ(Table->GetCell(0, 1)->GetItemStyle(0), BoldStyle);
  EXPECT_EQ(Table->GetCell(0, 0)->GetItemStyle(0), 0);
  const std::string after = Grid();
  Undo();
  EXPECT_EQ(Grid(), before);
  Redo();
  EXPECT_EQ(Grid(), after);
  Undo();
  EXPECT_EQ(Grid(), before);
}

TEST_F(RPTableUndoTest, AStyleAppliedToEveryCellIsAStepOfItsOwn) {
  Table->SetCellPadding(4);
  const std::string padded = Grid();
  Table->ApplyToCells(0, 1, false);
  ASSERT_EQ(Groups(), 2);
  EXPECT_EQ(Table->GetCell(2, 2)->GetItemPara(0), 1);
  Undo();
  EXPECT_EQ(Table->GetCellPadding(), 4) << "the property's step stays";
  EXPECT_EQ(Grid(), padded);
}

TEST_F(RPTableUndoTest, WhatACellsOwnEditorRecordedIsHandedToTheDocumentAsOneStep) {
  // A second editor takes the cell's content, as an editor of the cell does.
  TTestEditPane cellPane;
  cellPane.SetStyle(&Style);
  cellPane.ClientResized(200, 100);
  TRPEditRPData& cellData = cellPane.Edit();
  TRPTableCellData& cell = *Table->GetCell(1, 0);
  const std::string before = Grid();
  cellData.Clear();
  cellData.AppendItemsFrom(&cell);
  cellPane.Format();
  cellData.SetCaretAtItemPos(0, 3);
  cellData.TypeText("xy", 0);
  cellData.InsertParagraphBreak(false, false);
  ASSERT_GE(cellData.UndoList->Count(), 2);
  HandOverCellUndo(Data(), Table->GetItemNo(), 1, 0, cellData);
  EXPECT_EQ(cellData.UndoList->Count(), 0);
  EXPECT_EQ(cellData.UndoList->Limit, -1);
  cell.Clear();
  cell.AppendItemsFrom(&cellData);
  const std::string edited = Grid();
  ASSERT_EQ(Groups(), 1);
  ASSERT_NE(dynamic_cast<const TRPUndoCellModify*>(LastGroup().Info(0)), nullptr);
  Undo();
  EXPECT_EQ(Grid(), before);
  Redo();
  EXPECT_EQ(Grid(), edited);
}

TEST_F(RPTableUndoTest, UndoingAndRedoingWhileTheSpellingWalkRunsFinishesWithEveryCellChecked) {
  Pane.OnSpellingCheck = [](TCustomRichPane*, const AnsiString& word, int32_t, bool& misspelled) {
    std::this_thread::sleep_for(std::chrono::microseconds(300));
    misspelled = word.substr(0, 3) == "bad";
  };
  for (int32_t r = 0; r < 3; ++r)
    for (int32_t c = 0; c < 3; ++c) Table->GetCell(r, c)->AddRawText("some words badword more", 0, 0);
  Format();
  Pane.StartLiveSpelling();
  Table->InsertRows(1, 2, 0);
  Table->DeleteCols(0, 2, false);
  Table->MergeCells(0, 0, 1, 3, true);
  Select({{4, 0}});
  Table->ClearSelectedCells();
  const int32_t groups = Groups();
  for (int32_t k = 0; k < groups; ++k) Undo();
  for (int32_t k = 0; k < groups; ++k) Redo();
  for (int32_t k = 0; k < groups; ++k) Undo();
  Format();
  TRPWordEnumThread* thread = Pane.LiveSpellingThread();
  SynchronizeUntil([thread] { return thread->WaitsForWork(); });
  Pane.StopLiveSpelling();
  for (int32_t r = 0; r < 3; ++r)
    for (int32_t c = 0; c < 3; ++c) {
      const TCustomRPItemInfo& item = *Table->GetCell(r, c)->GetItem(1);
      EXPECT_NE(item.WordPainters, nullptr) << r << " " << c;
    }
}

TEST_F(RPTableUndoTest, ATableInsideACellRecordsNothing) {
  auto inner = std::make_unique<TRPTableItemInfo>(2, 2, Table->GetCell(0, 0));
  TRPTableItemInfo& nested = *inner;
  Table->GetCell(0, 0)->AddItem("", std::move(inner));
  EXPECT_FALSE(nested.IsInEditor());
  EXPECT_EQ(nested.GetGridNotes(), nullptr);
  nested.InsertRows(0, 1, -1);
  nested.SetBorderWidth(3);
  EXPECT_EQ(nested.Rows().GetRowCount(), 3);
  EXPECT_EQ(nested.GetBorderWidth(), 3);
  EXPECT_EQ(Groups(), 0);
}

}  // namespace
