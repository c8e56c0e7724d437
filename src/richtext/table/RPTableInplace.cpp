// Cells as the active documents of their table's document, and the editor in place.
//
// The chosen cell is the one that holds the caret or the inner selection: the document
// holding the table selects the table item alone and keeps the cell as its active child
// (AttachChildEditor). In an editor's document a chosen cell is edited in place: an
// editor control made by the editing subsystem (RPTableHooks.h) stands over the cell, the
// cell's items move into its document while it edits and come back when it goes.
#include <algorithm>

#include "platform/base/ScopeExit.h"
#include "richtext/table/RPTableCells.h"
#include "richtext/table/RPTableHooks.h"
#include "richtext/table/RPTableItem.h"

namespace {
// The tallest an editor in place is made; a taller cell scrolls inside it.
constexpr int32_t MaxEditorHeight = 10000;
}  // namespace

ERPTableInplaceError::ERPTableInplaceError(const AnsiString& message) : ERichPaneError(message) {}

// --- The cell's side ------------------------------------------------------------------------

TCustomRPFormattedData* TRPTableCellData::GetEditorData() const {
  const TRPTableItemInfo* table = GetTable();
  if (!table || !table->GetInplaceEditor()) return nullptr;
  if (table->GetCell(table->GetEditedRow(), table->GetEditedCol()) != this) return nullptr;
  return &table->GetInplaceEditor()->Data();
}

TCustomRPData* TRPTableCellData::GetRPData() {
  if (TCustomRPFormattedData* editor = GetEditorData()) return editor;
  return this;
}

const TCustomRPData& TRPTableCellData::GetContent() const {
  if (const TCustomRPFormattedData* editor = GetEditorData()) return *editor;
  return *this;
}

void TRPTableCellData::AttachChildEditor(TCustomRPFormattedData* editor, TCustomRPItemInfo* ownerItem) {
  if (TRPTableItemInfo* table = GetTable()) {
    int32_t row = -1, col = -1;
    table->GetCellPosition(this, row, col);
    if (row >= 0) table->ChooseCell(row, col);
  }
  TRPItemFormattedData::AttachChildEditor(editor, ownerItem);
  if (FChildEditor && FChildEditor != editor) DetachChildEditor(FChildEditor);
  FChildEditor = editor;
  FChildOwnerItem = ownerItem;
}

void TRPTableCellData::DetachChildEditor(TCustomRPFormattedData* editor) {
  TRPItemFormattedData::DetachChildEditor(editor);
  if (FDetachingChild) return;
  FDetachingChild = true;
  const TScopeExit done([this] { FDetachingChild = false; });
  if (!editor || editor != FChildEditor) return;
  TCustomRPItemInfo* owner = FChildOwnerItem;
  FChildEditor = nullptr;
  FChildOwnerItem = nullptr;
  editor->Deselect(nullptr, false);
  if (auto* table = dynamic_cast<TRPTableItemInfo*>(owner)) table->ForgetChosenCell();
}

void TRPTableCellData::Deselect(TCustomRPItemInfo* exceptItem, bool notify) {
  TRPItemFormattedData::Deselect(exceptItem, notify);
  if (FUndoHolder || FDeselectingCell) return;
  FDeselectingCell = true;
  const TScopeExit done([this] { FDeselectingCell = false; });
  if (auto* parent = dynamic_cast<TCustomRPFormattedData*>(GetParentData())) parent->DetachChildEditor(this);
}

void TRPTableCellData::BeforeInvalidateDrawItem(int32_t drawNo) {
  TRPItemFormattedData::BeforeInvalidateDrawItem(drawNo);
  TRPTableItemInfo* table = GetTable();
  auto* parent = dynamic_cast<TCustomRPFormattedData*>(GetParentData());
  if (!table || !parent) return;
  const int32_t itemNo = table->GetItemNo();
  if (itemNo >= 0) parent->BeforeInvalidateDrawItem(parent->GetItemFirstDrawItem(itemNo));
  table->UpdatePosition();
}

// --- Choosing and activating cells -------------------------------------------------------------

void TRPTableItemInfo::ChooseSubRPData(const TRPStoreSubRPData& location) {
  if (const auto* at = dynamic_cast<const TRPTableStoreSubRPData*>(&location)) ChooseCell(at->Row, at->Col);
}

void TRPTableItemInfo::ChooseCell(int32_t row, int32_t col) {
  if (row == FChosenRow && col == FChosenCol) return;
  TRPTableCellData* cell = GetCell(row, col);
  TCustomRPFormattedData* data = GetFormattedDocument();
  const int32_t itemNo = GetItemNo();
  if (!cell || !data || itemNo < 0) return;
  int32_t startItem = -1, endItem = -1, startOffs = 0, endOffs = 0;
  cell->GetSelectionBounds(startItem, endItem, startOffs, endOffs, false);
  data->SetSelectionBounds(itemNo, 1, itemNo, 1);
  data->AttachChildEditor(cell, this);
  FChosenRow = row;
  FChosenCol = col;
  if ((FStates & rptsInEditor) != 0) ActivateCell(row, col, false);
  if (cell->GetRPData() == cell && startItem >= 0) cell->SetSelectionBounds(startItem, startOffs, endItem, endOffs);
  data->InvalidateControl();
}

void TRPTableItemInfo::ActivateCell(int32_t row, int32_t col, bool force) {
  TCustomRPFormattedData* data = GetFormattedDocument();
  TRPTableCellData* cell = GetCell(row, col);
  if ((FStates & rptsInDocument) == 0 || !data || !cell) return;
  if ((FStates & rptsInEditor) == 0) {
    data->AttachChildEditor(cell, this);
    return;
  }
  if (!force && (Options & rptoEditing) == 0) return;
  if (auto* outerCell = dynamic_cast<TRPTableCellData*>(data)) {
    TRPTableItemInfo* outer = outerCell->GetTable();
    int32_t outerRow = -1, outerCol = -1;
    if (outer) outer->GetCellPosition(outerCell, outerRow, outerCol);
    if (outerRow < 0) throw ERichPaneError("Internal error");
    outer->ActivateCell(outerRow, outerCol, force);
    return;
  }
  if (!(FInplaceEditor && FEditedRow == row && FEditedCol == col))
    CreateInplaceEditor(-1, row, col, true, false, false, true);
}

bool TRPTableItemInfo::EnterTable(int32_t how, int32_t x) {
  if (FRows->IsEmpty() || (Options & rptoEditing) == 0) return true;
  const int32_t lastRow = FRows->GetRowCount() - 1, lastCol = FRows->GetColCount() - 1;
  int32_t row = 0, col = 0;
  switch (how) {
    case 0:
      break;
    case 1:
      FRows->GetMainCell(lastRow, lastCol, row, col);
      break;
    default: {
      const TRPTableItemFormattingInfo& info = *FFormatting;
      const int32_t tx = x - FPosition.X;
      int32_t found = -1;
      for (int32_t c = 0; c < info.ColStarts.Count(); ++c) {
        const int32_t right = c + 1 < info.ColStarts.Count() ? info.ColStarts[c + 1] : info.Width;
        if (tx >= info.ColStarts[c] && tx < right) found = c;
      }
      if (found < 0) return false;
      FRows->GetMainCell(how == 2 ? 0 : lastRow, found, row, col);
      break;
    }
  }
  const bool toEnd = how == 1 || how == 3;
  CreateInplaceEditor(-1, row, col, true, toEnd, !toEnd, true);
  return true;
}

bool TRPTableItemInfo::ChosenCellHasSelection() {
  if (FChosenRow >= FRows->GetRowCount() || FChosenCol >= FRows->GetColCount()) FChosenRow = FChosenCol = -1;
  if (FChosenRow < 0) return false;
  TRPTableCellData* cell = GetCell(FChosenRow, FChosenCol);
  if (!cell) return false;
  auto* data = dynamic_cast<TCustomRPFormattedData*>(cell->GetRPData());
  return data && data->SelectionExists(false, true);
}

bool TRPTableItemInfo::FindControl(const TComponent* control, TCustomRPFormattedData*& data, int32_t& itemNo) {
  for (int32_t r = 0; r < FRows->GetRowCount(); ++r)
    for (int32_t c = 0; c < FRows->GetColCount(); ++c) {
      TRPTableCellData* cell = GetCell(r, c);
      if (!cell) continue;
      for (int32_t i = 0; i < cell->GetItemCount(); ++i)
        if (cell->GetItem(i)->OwnsControl(control)) {
          FFocusedRow = r;
          FFocusedCol = c;
          if (cell->GetItem(i)->GetBoolValueEx(rpibqxFocusable, cell->GetRPStyle())) {
            data = cell;
            itemNo = i;
          }
          return true;
        }
    }
  return false;
}

void TRPTableItemInfo::DropChosenCell() {
  if (TRPTableCellData* cell = FChosenRow >= 0 ? GetCell(FChosenRow, FChosenCol) : nullptr)
    cell->Deselect(nullptr, false);
  FChosenRow = FChosenCol = -1;
  DestroyInplaceEditor();
}

void TRPTableItemInfo::DetachChosenEditor() {
  TCustomRPFormattedData* data = GetFormattedDocument();
  if (TRPTableCellData* cell = FChosenRow >= 0 ? GetCell(FChosenRow, FChosenCol) : nullptr; cell && data)
    data->DetachChildEditor(cell);
  FChosenRow = FChosenCol = -1;
}

void TRPTableItemInfo::ForgetChosenCell() { FChosenRow = FChosenCol = -1; }

// --- The editor in place -------------------------------------------------------------------------

TRect TRPTableItemInfo::CellClientRect(int32_t row, int32_t col) const {
  const TRPTableCellData* cell = GetCell(row, col);
  if (!cell) return TRect{};
  const int32_t left = FPosition.X + cell->Left;
  const int32_t top = FPosition.Y + cell->Top;
  return TRect{left, top, left + cell->Width, top + cell->Height};
}

void TRPTableItemInfo::PlaceEditor(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (!FInplaceEditor) return;
  IRPTableInplaceEditor& editor = *FInplaceEditor;
  const bool cut = height > MaxEditorHeight;
  if (cut) height = MaxEditorHeight;
  editor.SetVScrollAllowed(cut);
  if ((FStates & rptsPaddingChanged) != 0) {
    editor.SetPadding(FCellPadding);
    editor.Reformat();
  }
  editor.SetBounds(left, top, width, height);
  editor.SetContentClipped(editor.Data().DocumentHeight > height);
  FStates = static_cast<TRPTableStates>(FStates & ~rptsPaddingChanged);
}

bool TRPTableItemInfo::CreateInplaceEditor(int32_t itemNo, int32_t row, int32_t col, bool automatic, bool caretToEnd,
                                           bool caretToStart, bool takeFocus) {
  TCustomRPFormattedData* data = GetFormattedDocument();
  TRPTableCellData* cell = GetCell(row, col);
  if ((FStates & rptsInEditor) == 0 || !data || !cell || !RPTableHooks().CreateInplaceEditor) return false;
  if (!automatic && !CanEditCell(row, col, automatic)) return false;
  if (itemNo < 0) itemNo = GetItemNo();
  if (itemNo < 0) return false;
  DestroyInplaceEditor();
  if ((FStates & rptsCellSelected) != 0) RemoveCellSelection();
  data->Deselect(this, false);
  data->SetInnerSelectionItem(this);
  std::unique_ptr<IRPTableInplaceEditor> made = RPTableHooks().CreateInplaceEditor(*this, *data);
  if (!made) return false;
  FInplaceEditor = std::move(made);
  FEditedRow = row;
  FEditedCol = col;
  IRPTableInplaceEditor& editor = *FInplaceEditor;
  editor.SetEditColor(GetEffectiveCellColor(*cell), IsCellColorNone(*cell));
  UpdatePosition();
  editor.AttachToCell(row, col, FCellPadding, *this);
  // The cell's content moves into the editor's document and is laid out there.
  editor.Data().Clear();
  editor.Data().AppendItemsFrom(cell);
  cell->ClearFormatting();
  FStates = static_cast<TRPTableStates>(FStates & ~rptsPaddingChanged);
  const TRect rect = CellClientRect(row, col);
  PlaceEditor(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
  editor.Reformat();
  PlaceEditor(rect.Left, rect.Top + cell->GetVAlignOffset(), rect.Right - rect.Left,
              rect.Bottom - rect.Top - cell->GetVAlignOffset());
  if (caretToEnd)
    editor.MoveCaretToEnd();
  else if (caretToStart)
    editor.MoveCaretToStart();
  FChosenRow = row;
  FChosenCol = col;
  FRecentRow = row;
  FRecentCol = col;
  data->AttachChildEditor(cell, this);
  editor.ShowEditor(takeFocus);
  data->InvalidateControl();
  return true;
}

void TRPTableItemInfo::DestroyInplaceEditor(bool clearing) {
  if (!FInplaceEditor || FDestroyingEditor) return;
  FDestroyingEditor = true;
  const TScopeExit done([this] { FDestroyingEditor = false; });
  std::unique_ptr<IRPTableInplaceEditor> editor = std::move(FInplaceEditor);
  const int32_t row = FEditedRow, col = FEditedCol;
  FEditedRow = FEditedCol = -1;
  const bool quiet = clearing || (FStates & rptsInDocument) == 0;
  if (quiet) editor->SetQuietDestroy();
  editor->HandOverUndo(true);
  TCustomRPFormattedData& editorData = editor->Data();
  int32_t startItem = -1, endItem = -1, startOffs = 0, endOffs = 0;
  editorData.GetSelectionBounds(startItem, endItem, startOffs, endOffs, false);
  TRPTableCellData* cell = row >= 0 ? GetCell(row, col) : nullptr;
  if (cell) {
    cell->Clear();
    cell->AppendItemsFrom(&editorData);
  }
  editorData.ClearFormatting();
  editor.reset();
  if (!quiet && cell) {
    // The cell was measured by its editor: the next layout measures it again.
    Changed();
    UpdatePosition();
    cell->FormatSubDocument(false);
    if (startItem >= 0 && startItem < cell->GetItemCount() && endItem < cell->GetItemCount())
      cell->SetSelectionBounds(startItem, startOffs, endItem, endOffs);
    if (TCustomRPFormattedData* data = GetFormattedDocument()) data->InvalidateControl();
  }
  if (OnCellEndEdit && row >= 0) OnCellEndEdit(*this, row, col, clearing);
}

void TRPTableItemInfo::HandOverInplaceUndo() {
  if (FInplaceEditor) FInplaceEditor->HandOverUndo(false);
}

void TRPTableItemInfo::SaveAndDestroyInplaceEditor() {
  if (!FInplaceEditor) return;
  if (FInplaceEditor->IsBusy()) throw ERPTableInplaceError("Cannot destroy cell inplace editor at this time");
  FSavedEditing.Active = true;
  FSavedEditing.Row = FEditedRow;
  FSavedEditing.Col = FEditedCol;
  FInplaceEditor->Data().GetSelectionBounds(FSavedEditing.StartItemNo, FSavedEditing.EndItemNo, FSavedEditing.StartOffs,
                                            FSavedEditing.EndOffs, false);
  DestroyInplaceEditor();
}

void TRPTableItemInfo::ReopenInplaceEditor() {
  if (!FSavedEditing.Active) return;
  const TSavedEditing saved = FSavedEditing;
  FSavedEditing = TSavedEditing{};
  int32_t row = 0, col = 0;
  if (saved.Row < 0 || saved.Row >= FRows->GetRowCount() || saved.Col >= FRows->GetColCount() ||
      !FRows->GetMainCell(saved.Row, saved.Col, row, col))
    return;
  if (!CreateInplaceEditor(-1, row, col, true, false, false, true)) return;
  TCustomRPFormattedData& data = FInplaceEditor->Data();
  if (row == saved.Row && col == saved.Col && saved.StartItemNo >= 0 && saved.EndItemNo < data.GetItemCount())
    data.SetSelectionBounds(saved.StartItemNo, saved.StartOffs, saved.EndItemNo, saved.EndOffs);
}

void TRPTableItemInfo::AdjustControlPlacement(int32_t left, int32_t top, bool) {
  FPosition = TPoint{left, top};
  if (FInplaceEditor && FEditedRow >= 0)
    if (TRPTableCellData* cell = GetCell(FEditedRow, FEditedCol)) {
      const int32_t offset = cell->GetVAlignOffset();
      PlaceEditor(left + cell->Left, top + cell->Top + offset, cell->Width, cell->Height - offset);
      FInplaceEditor->Invalidate();
    }
  for (int32_t r = 0; r < FRows->GetRowCount(); ++r)
    for (int32_t c = 0; c < FRows->GetColCount(); ++c)
      if (TRPTableCellData* cell = GetCell(r, c)) cell->PlaceControls();
}

bool TRPTableItemInfo::OwnsInplaceEditor(const TComponent* editor) const {
  return editor && FInplaceEditor && &FInplaceEditor->Control() == editor;
}

void TRPTableItemInfo::FreeInplaceEditor(TRPScroller& editor) {
  if (FInplaceEditor && &FInplaceEditor->Control() == &editor) DestroyInplaceEditor();
}

void TRPTableItemInfo::InplaceEditorCleared(TRPScroller&) {}

void TRPTableItemInfo::DrawBackgroundUnderCell(TCanvas& canvas, const TRect& rect, int32_t row, int32_t col) {
  const TRPTableCellData* cell = GetCell(row, col);
  if (!cell) return;
  const int32_t padding = ScaleX(FCellPadding);
  const int32_t dx = cell->Left + padding, dy = cell->Top + padding + cell->GetVAlignOffset();
  if (const TRPBackground* picture = FBackground.Get(); picture && picture->HasVisibleImage()) {
    const TColor color = GetTableColor(false);
    picture->Draw(canvas, rect, dx, dy, 0, 0, FFormatting->Width, FFormatting->Height, color, false);
    return;
  }
  const TColor color = GetTableColor(false);
  if (color == clNone) return;
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(color);
  canvas.FillRect(rect);
}
