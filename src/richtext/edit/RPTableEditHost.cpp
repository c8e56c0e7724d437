#include "richtext/edit/RPTableEditHost.h"

#include "platform/base/Sound.h"
#include "richtext/edit/RPERPData.h"
#include "richtext/edit/RPTableTemporalEditor.h"
#include "richtext/edit/RPTableUndoRecords.h"
#include "richtext/table/RPTableItem.h"

void RegisterTableEditing() {
  TRPTableHooks& hooks = RPTableHooks();
  if (!hooks.FindEditHost)
    hooks.FindEditHost = [](TCustomRPData& data) -> IRPTableEditHost* {
      auto* editData = dynamic_cast<TRPEditRPData*>(&data);
      return editData ? &editData->TableEditHost() : nullptr;
    };
  if (!hooks.Beep) hooks.Beep = [] { MessageBeep(0); };
}

// --- Properties ------------------------------------------------------------------------------

void TRPTableEditHost::ModifyItemIntProperty(int32_t itemNo, TPersistent& object, const AnsiString& name, int32_t value,
                                             bool affectsSize, bool affectsWidth, int32_t row, int32_t col) {
  FData.BeginUndoGroup(rpukModifyItem, true);
  if (row < 0) {
    FData.ModifyItemIntProperty(itemNo, nullptr, name, value, affectsSize, affectsWidth,
                                &TRPUndoModifyItemIntProperty::Create);
  } else if (auto* record = static_cast<TRPUndoModifyCellIntProperty*>(FData.ModifyItemIntProperty(
                 itemNo, &object, name, value, affectsSize, affectsWidth, &TRPUndoModifyCellIntProperty::Create))) {
    record->Row = row;
    record->Col = col;
  }
  FData.UndoList->RemoveEmptyLastGroup();
  FData.InvalidateControl();
}

void TRPTableEditHost::ModifyItemStrProperty(int32_t itemNo, TPersistent& object, const AnsiString& name,
                                             const AnsiString& value, int32_t row, int32_t col) {
  FData.BeginUndoGroup(rpukModifyItem, true);
  if (row < 0) {
    FData.ModifyItemStrProperty(itemNo, nullptr, name, value, false, false, &TRPUndoModifyItemStrProperty::Create);
  } else if (auto* record = static_cast<TRPUndoModifyCellStrProperty*>(FData.ModifyItemStrProperty(
                 itemNo, &object, name, value, false, false, &TRPUndoModifyCellStrProperty::Create))) {
    record->Row = row;
    record->Col = col;
  }
  FData.UndoList->RemoveEmptyLastGroup();
  FData.InvalidateControl();
}

void TRPTableEditHost::ModifyItemIntProperties(int32_t itemNo, TPersistent& object, bool affectsSize, bool affectsWidth,
                                               const std::vector<std::pair<AnsiString, int32_t>>& values, int32_t row,
                                               int32_t col) {
  FData.BeginUndoGroup(rpukModifyItem, true);
  if (row < 0) {
    FData.ModifyItemIntProperties(itemNo, nullptr, affectsSize, affectsWidth, values,
                                  &TRPUndoModifyItemIntProperties::Create);
  } else if (auto* record = static_cast<TRPUndoModifyCellIntProperties*>(FData.ModifyItemIntProperties(
                 itemNo, &object, affectsSize, affectsWidth, values, &TRPUndoModifyCellIntProperties::Create))) {
    record->Row = row;
    record->Col = col;
  }
  FData.UndoList->RemoveEmptyLastGroup();
  FData.InvalidateControl();
}

void TRPTableEditHost::NoteVisibleBorders(int32_t itemNo, int32_t row, int32_t col, bool left, bool top, bool right,
                                          bool bottom) {
  FData.BeginUndoGroup(rpukModifyItem, true);
  if (auto* record = AddTableUndoRecord<TRPUndoModifyVisibleBorders>(FData, itemNo, false, false)) {
    record->Row = row;
    record->Col = col;
    record->Left = left;
    record->Top = top;
    record->Right = right;
    record->Bottom = bottom;
  }
}

void TRPTableEditHost::NoteBackgroundImage(int32_t itemNo, int32_t row, int32_t col, std::unique_ptr<TGraphic>& old) {
  FData.BeginUndoGroup(rpukModifyItem, true);
  if (auto* record = AddTableUndoRecord<TRPUndoModifyBackgroundImage>(FData, itemNo, false, false)) {
    record->Row = row;
    record->Col = col;
    record->Image = std::move(old);
  }
}

// --- Around a table operation ------------------------------------------------------------------

IRPTableGridNotes* TRPTableEditHost::GetGridNotes(int32_t itemNo) {
  if (itemNo < 0 || !FData.GetActiveUndoList()) return nullptr;
  FItemNo = itemNo;
  return this;
}

bool TRPTableEditHost::CanChange() { return FData.CanChange(); }

bool TRPTableEditHost::IsUndoRecorded() const { return FData.UndoList && FData.UndoList->Limit != 0; }

void TRPTableEditHost::BeginUpdateGroup() {
  FData.BeginUndoGroup(rpukModifyItem, true);
  FData.SetUndoGroupMode(true);
}

void TRPTableEditHost::EndUpdateGroup() {
  FData.SetUndoGroupMode(false);
  FData.UndoList->RemoveEmptyLastGroup();
}

void TRPTableEditHost::NotifyChange() { FData.NotifyChange(); }

int32_t TRPTableEditHost::PrepareChange(int32_t itemNo) {
  int32_t width = 0;
  if (FData.GetCanvas() && FData.GetStyleSheet()) FData.PrepareItemChange(itemNo, width);
  return width;
}

void TRPTableEditHost::CompleteChange(int32_t itemNo, int32_t saved) {
  if (FData.GetCanvas() && FData.GetStyleSheet()) FData.CompleteItemChange(itemNo, saved);
}

std::unique_ptr<IRPTableTemporalEditor> TRPTableEditHost::CreateTemporalEditor(TRPTableItemInfo& table) {
  TRPUndoMultiCellsModify* record = nullptr;
  if (const int32_t itemNo = table.GetItemNo(); itemNo >= 0) {
    record = AddTableUndoRecord<TRPUndoMultiCellsModify>(FData, itemNo, true, true);
    if (record) record->List = std::make_unique<TRPUndoList>(&FData);
  }
  return std::make_unique<TRPTableTemporalEditor>(FData, record);
}

// --- Notes -----------------------------------------------------------------------------------

void TRPTableEditHost::BeginOperation() { FData.AddModifyItemTerminator(FItemNo, true); }

void TRPTableEditHost::EndOperation() { FData.AddModifyItemTerminator(FItemNo, false); }

void TRPTableEditHost::InsertTableRows(int32_t row, int32_t count) {
  if (auto* record = AddTableUndoRecord<TRPUndoInsertTableRows>(FData, FItemNo, true, true)) {
    record->Row = row;
    record->Count = count;
  }
}

void TRPTableEditHost::InsertTableCell(int32_t row, int32_t col) {
  if (auto* record = AddTableUndoRecord<TRPUndoInsertTableCell>(FData, FItemNo, true, true)) {
    record->Row = row;
    record->Col = col;
  }
}

void TRPTableEditHost::SpreadOverEmptyCells(int32_t row, int32_t col, int32_t colSpan) {
  if (auto* record = AddTableUndoRecord<TRPUndoSpreadOverEmptyCells>(FData, FItemNo, true, true)) {
    record->Row = row;
    record->Col = col;
    record->ColSpan = colSpan;
  }
}

void TRPTableEditHost::Span(int32_t row, int32_t col, bool isColSpan, int32_t oldSpan) {
  if (auto* record = AddTableUndoRecord<TRPUndoSpan>(FData, FItemNo, true, true)) {
    record->Row = row;
    record->Col = col;
    record->IsColSpan = isColSpan;
    record->OldSpan = oldSpan;
  }
}

void TRPTableEditHost::FreeEmptyCell(int32_t row, int32_t col, int32_t colCount, int32_t rowCount) {
  if (auto* record = AddTableUndoRecord<TRPUndoFreeEmptyCell>(FData, FItemNo, true, true)) {
    record->Row = row;
    record->Col = col;
    record->ColSpan = colCount;
    record->RowSpan = rowCount;
  }
}

void TRPTableEditHost::InsertEmptyCell(int32_t row, int32_t col, int32_t count, int32_t rowCount) {
  if (auto* record = AddTableUndoRecord<TRPUndoInsertEmptyCell>(FData, FItemNo, true, true)) {
    record->Row = row;
    record->Col = col;
    record->ColCount = count;
    record->RowCount = rowCount;
  }
}

void TRPTableEditHost::CellSplitHorz(int32_t row, int32_t col, int32_t atRow, int32_t oldBestHeight, bool divideSize) {
  if (auto* record = AddTableUndoRecord<TRPUndoCellSpitHorz>(FData, FItemNo, false, true)) {
    record->Row = row;
    record->Col = col;
    record->AtRow = atRow;
    record->OldBestHeight = oldBestHeight;
    record->DivideSize = divideSize;
  }
}

void TRPTableEditHost::CellSplitVert(int32_t row, int32_t col, int32_t atCol, int32_t oldBestWidth, bool divideSize) {
  if (auto* record = AddTableUndoRecord<TRPUndoCellSpitVert>(FData, FItemNo, true, true)) {
    record->Row = row;
    record->Col = col;
    record->AtCol = atCol;
    record->OldBestWidth = oldBestWidth;
    record->DivideSize = divideSize;
  }
}

TRPTableRowsHolder* TRPTableEditHost::DeleteRows(int32_t row, int32_t count) {
  auto* record = AddTableUndoRecord<TRPUndoDeleteRows>(FData, FItemNo, true, true);
  if (!record) return nullptr;
  record->Row = row;
  record->Count = count;
  return record;
}

TRPTableCellsHolder* TRPTableEditHost::DeleteCols(int32_t col, int32_t count) {
  auto* record = AddTableUndoRecord<TRPUndoDeleteCols>(FData, FItemNo, true, true);
  if (!record) return nullptr;
  record->Col = col;
  record->Count = count;
  return record;
}

TRPTableCellsHolder* TRPTableEditHost::CellsClear(const TRPIntegerList& rows, const TRPIntegerList& cols) {
  auto* record = AddTableUndoRecord<TRPUndoCellsClear>(FData, FItemNo, true, true);
  if (!record) return nullptr;
  record->RowList.Assign(rows);
  record->ColList.Assign(cols);
  return record;
}

TRPTableMergeHolder* TRPTableEditHost::Merge(int32_t row, int32_t col, int32_t colCount, int32_t rowCount,
                                             int32_t oldColSpan, int32_t oldRowSpan, TRPHTMLLength oldBestWidth) {
  auto* record = AddTableUndoRecord<TRPUndoMerge>(FData, FItemNo, true, true);
  if (!record) return nullptr;
  record->Row = row;
  record->Col = col;
  record->NewColSpan = colCount;
  record->NewRowSpan = rowCount;
  record->OldColSpan = oldColSpan;
  record->OldRowSpan = oldRowSpan;
  record->OldBestWidth = oldBestWidth;
  return record;
}
