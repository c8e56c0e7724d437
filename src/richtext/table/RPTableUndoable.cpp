// The table and the editor around it: the editor's answers and brackets the table's
// operations use, the undoable cell attributes and pictures, the commands run on the
// cells through a hidden editor, and clearing selected cells.
#include <memory>

#include "platform/base/ScopeExit.h"
#include "richtext/table/RPTableItem.h"

// --- The editor's answers -------------------------------------------------------------------

bool TRPTableItemInfo::CanEditorChange() const {
  IRPTableEditHost* host = FindEditHost();
  return !host || host->CanChange();
}

bool TRPTableItemInfo::IsUndoRecorded() const {
  IRPTableEditHost* host = FindEditHost();
  return host && host->IsUndoRecorded();
}

void TRPTableItemInfo::BeginUpdateGroup() const {
  if (IRPTableEditHost* host = FindEditHost()) host->BeginUpdateGroup();
}

void TRPTableItemInfo::EndUpdateGroup() const {
  if (IRPTableEditHost* host = FindEditHost()) host->EndUpdateGroup();
}

void TRPTableItemInfo::NotifyChange() const {
  if (IRPTableEditHost* host = FindEditHost()) host->NotifyChange();
}

int32_t TRPTableItemInfo::PrepareChange(int32_t itemNo) const {
  IRPTableEditHost* host = FindEditHost();
  return host && itemNo >= 0 ? host->PrepareChange(itemNo) : 0;
}

void TRPTableItemInfo::CompleteChange(int32_t itemNo, int32_t saved) const {
  if (IRPTableEditHost* host = FindEditHost(); host && itemNo >= 0) host->CompleteChange(itemNo, saved);
}

void TRPTableItemInfo::RestartSpelling() {
  TCustomRPData* data = FRows->MainRPData;
  if (const int32_t itemNo = GetItemNo(); data && itemNo >= 0) data->LiveSpellingResetFrom(*data, itemNo, 0);
}

std::unique_ptr<IRPTableTemporalEditor> TRPTableItemInfo::CreateTemporalEditor() {
  IRPTableEditHost* host = FindEditHost();
  return host ? host->CreateTemporalEditor(*this) : nullptr;
}

bool TRPTableItemInfo::CanEditCell(int32_t row, int32_t col, bool automatic) {
  bool allowEdit = true;
  if (OnCellEditing) OnCellEditing(*this, row, col, automatic, allowEdit);
  return allowEdit;
}

void TRPTableItemInfo::BeforePropertyChange() {
  if (FPropertyChanges++ > 0) return;
  FWasInDocument = (FStates & rptsInDocument) != 0;
  FStates = static_cast<TRPTableStates>(FStates & ~rptsInDocument);
}

void TRPTableItemInfo::AfterPropertyChange() {
  if (--FPropertyChanges > 0) return;
  if (FWasInDocument) FStates = static_cast<TRPTableStates>(FStates | rptsInDocument);
  Changed();
}

// --- Undoable cell attributes -----------------------------------------------------------------

void TRPTableItemInfo::SetCellBestWidthEx(int32_t itemNo, TRPHTMLLength value, int32_t row, int32_t col) {
  SetCellIntPropertyByName(itemNo, "BestWidth", value, row, col, true, true);
}

void TRPTableItemInfo::SetCellBestHeightEx(int32_t itemNo, int32_t value, int32_t row, int32_t col) {
  SetCellIntPropertyByName(itemNo, "BestHeight", value, row, col, true, false);
}

void TRPTableItemInfo::SetCellBackgroundImageFileNameEx(int32_t itemNo, const AnsiString& value, int32_t row,
                                                        int32_t col) {
  SetCellStrPropertyByName(itemNo, "BackgroundImageFileName", value, row, col);
}

void TRPTableItemInfo::SetCellHintEx(int32_t itemNo, const AnsiString& value, int32_t row, int32_t col) {
  SetCellStrPropertyByName(itemNo, "Hint", value, row, col);
}

void TRPTableItemInfo::SetCellVisibleBorders(bool left, bool top, bool right, bool bottom, int32_t row, int32_t col) {
  SetCellVisibleBordersEx(-1, left, top, right, bottom, row, col);
}

void TRPTableItemInfo::SetCellVisibleBordersEx(int32_t itemNo, bool left, bool top, bool right, bool bottom,
                                               int32_t row, int32_t col) {
  TRPBooleanRect& borders = GetCell(row, col)->VisibleBorders;
  if (borders.IsEqualToValues(left, top, right, bottom)) return;
  if (IRPTableEditHost* host = FindEditHost())
    host->NoteVisibleBorders(itemNo < 0 ? GetItemNo() : itemNo, row, col, borders.Left, borders.Top, borders.Right,
                             borders.Bottom);
  borders.SetValues(left, top, right, bottom);
  Changed();
}

void TRPTableItemInfo::SetCellBackgroundImage(const TGraphic* graphic, int32_t row, int32_t col) {
  TRPTableCellData& cell = *GetCell(row, col);
  if (graphic == cell.GetBackgroundImage()) return;
  if (IRPTableEditHost* host = FindEditHost()) {
    HandOverInplaceUndo();
    std::unique_ptr<TGraphic> old = cell.TakeBackgroundImage();
    host->NoteBackgroundImage(GetItemNo(), row, col, old);
    // Without a record the old picture is simply replaced.
    if (old) cell.PutBackgroundImage(std::move(old));
  }
  cell.SetBackgroundImage(graphic);
  Changed();
}

void TRPTableItemInfo::SetBackgroundImage(const TGraphic* graphic) {
  if (graphic == GetBackgroundImage()) return;
  if (IRPTableEditHost* host = FindEditHost()) {
    HandOverInplaceUndo();
    std::unique_ptr<TGraphic> old = TakeBackgroundImage();
    host->NoteBackgroundImage(GetItemNo(), -1, -1, old);
    if (old) PutBackgroundImage(std::move(old));
  }
  FBackground.SetImage(graphic);
  Changed();
}

// --- Commands on cells ------------------------------------------------------------------------

bool TRPTableItemInfo::HasSelectedCells() const {
  for (int32_t r = 0; r < FRows->GetRowCount(); ++r)
    for (int32_t c = 0; c < FRows->GetColCount(); ++c)
      if (const TRPTableCellData* cell = GetCell(r, c); cell && cell->Selected) return true;
  return false;
}

void TRPTableItemInfo::ApplyToCells(int32_t command, int32_t parameter, bool selectedOnly) {
  if ((Options & rptoEditing) == 0) return;
  if (selectedOnly && (!HasSelectedCells() || !CanEditorChange())) return;
  // The cell edited in place gets its content back for the command, and is edited again after.
  SaveAndDestroyInplaceEditor();
  const TScopeExit reopen([this] { ReopenInplaceEditor(); });
  const int32_t itemNo = GetItemNo();
  const int32_t saved = selectedOnly ? PrepareChange(itemNo) : 0;
  // The cells' steps form one undo step of their own also when the caller opened none
  // (joining the caller's group when it has one open).
  BeginUpdateGroup();
  bool changed = false;
  {
    const TScopeExit leaveGroup([this] { EndUpdateGroup(); });
    if (std::unique_ptr<IRPTableTemporalEditor> editor = CreateTemporalEditor())
      for (int32_t r = 0; r < FRows->GetRowCount(); ++r)
        for (int32_t c = 0; c < FRows->GetColCount(); ++c) {
          TRPTableCellData* cell = GetCell(r, c);
          if (!cell || (selectedOnly && !cell->Selected) || !CanEditCell(r, c, true)) continue;
          if (editor->ApplyToCell(*cell, r, c, command, parameter)) changed = true;
        }
  }
  if (changed) Changed();
  if (command == 1 || command == 3 || command == 5) RestartSpelling();
  if (!selectedOnly) return;
  if (changed) CompleteChange(itemNo, saved);
  NotifyChange();
}

bool TRPTableItemInfo::CanClearSelectedCells() const {
  if ((Options & rptoEditing) == 0) return false;
  if (!IsInEditor()) return true;
  for (int32_t r = 0; r < FRows->GetRowCount(); ++r)
    for (int32_t c = 0; c < FRows->GetColCount(); ++c)
      if (const TRPTableCellData* cell = GetCell(r, c); cell && cell->Selected && !cell->HasNoDeleteProtection())
        return false;
  return true;
}

void TRPTableItemInfo::ClearSelectedCells() {
  if (!HasSelectedCells() || !CanEditorChange()) return;
  TRPIntegerList rows, cols;
  for (int32_t r = 0; r < FRows->GetRowCount(); ++r)
    for (int32_t c = 0; c < FRows->GetColCount(); ++c)
      if (const TRPTableCellData* cell = GetCell(r, c); cell && cell->Selected && CanEditCell(r, c, true)) {
        rows.Add(r);
        cols.Add(c);
      }
  if (rows.Count() == 0) return;
  SaveAndDestroyInplaceEditor();
  const int32_t itemNo = GetItemNo();
  const int32_t saved = PrepareChange(itemNo);
  BeginUpdateGroup();
  {
    const TScopeExit leaveGroup([this] { EndUpdateGroup(); });
    const TSpellingBracket spelling(*this);
    IRPTableGridNotes* notes = GetGridNotes();
    const TRPTableNotesBracket bracket(notes);
    FRows->ClearCells(notes ? notes->CellsClear(rows, cols) : nullptr, rows, cols);
    Changed();
  }
  CompleteChange(itemNo, saved);
  RestartSpelling();
  NotifyChange();
  ReopenInplaceEditor();
}
