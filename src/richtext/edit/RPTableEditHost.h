// The editor's side of the tables lying in its document: by-name property changes of a
// table and its cells as undoable steps, the notes of the grid's structural steps turned
// into undo records (RPTableUndoRecords.h), the update group around a table operation,
// the reformatting after it, and the hidden editor for commands on cells.
#pragma once

#include <cstdint>
#include <memory>

#include "richtext/table/RPTableGridNotes.h"
#include "richtext/table/RPTableHooks.h"

class TRPEditRPData;

class TRPTableEditHost : public IRPTableEditHost, public IRPTableGridNotes {
public:
  explicit TRPTableEditHost(TRPEditRPData& rpData) : FData(rpData) {}

  // --- The table's requests --------------------------------------------------------------
  // Each property change is a step of an undo group of kind rpukModifyItem (joining the
  // open group in group mode); a cell's record takes the cell's row and column.
  void ModifyItemIntProperty(int32_t itemNo, TPersistent& object, const AnsiString& name, int32_t value,
                             bool affectsSize, bool affectsWidth, int32_t row, int32_t col) override;
  void ModifyItemStrProperty(int32_t itemNo, TPersistent& object, const AnsiString& name, const AnsiString& value,
                             int32_t row, int32_t col) override;
  void ModifyItemIntProperties(int32_t itemNo, TPersistent& object, bool affectsSize, bool affectsWidth,
                               const std::vector<std::pair<AnsiString, int32_t>>& values, int32_t row,
                               int32_t col) override;
  // Itself, noting for the table at itemNo, while a list records; nullptr otherwise.
  IRPTableGridNotes* GetGridNotes(int32_t itemNo) override;
  bool CanChange() override;
  bool IsUndoRecorded() const override;
  void BeginUpdateGroup() override;
  void EndUpdateGroup() override;
  void NotifyChange() override;
  int32_t PrepareChange(int32_t itemNo) override;
  void CompleteChange(int32_t itemNo, int32_t saved) override;
  void NoteVisibleBorders(int32_t itemNo, int32_t row, int32_t col, bool left, bool top, bool right,
                          bool bottom) override;
  void NoteBackgroundImage(int32_t itemNo, int32_t row, int32_t col, std::unique_ptr<TGraphic>& old) override;
  std::unique_ptr<IRPTableTemporalEditor> CreateTemporalEditor(TRPTableItemInfo& table) override;

  // --- Notes of the grid's steps: each a record of RPTableUndoRecords.h ----------------------
  // The bracket: an opening and a closing item terminator.
  void BeginOperation() override;
  void EndOperation() override;
  void InsertTableRows(int32_t row, int32_t count) override;
  void InsertTableCell(int32_t row, int32_t col) override;
  void SpreadOverEmptyCells(int32_t row, int32_t col, int32_t colSpan) override;
  void Span(int32_t row, int32_t col, bool isColSpan, int32_t oldSpan) override;
  void FreeEmptyCell(int32_t row, int32_t col, int32_t colCount, int32_t rowCount) override;
  void InsertEmptyCell(int32_t row, int32_t col, int32_t count, int32_t rowCount) override;
  void CellSplitHorz(int32_t row, int32_t col, int32_t atRow, int32_t oldBestHeight, bool divideSize) override;
  void CellSplitVert(int32_t row, int32_t col, int32_t atCol, int32_t oldBestWidth, bool divideSize) override;
  TRPTableRowsHolder* DeleteRows(int32_t row, int32_t count) override;
  TRPTableCellsHolder* DeleteCols(int32_t col, int32_t count) override;
  TRPTableCellsHolder* CellsClear(const TRPIntegerList& rows, const TRPIntegerList& cols) override;
  TRPTableMergeHolder* Merge(int32_t row, int32_t col, int32_t colCount, int32_t rowCount, int32_t oldColSpan,
                             int32_t oldRowSpan, TRPHTMLLength oldBestWidth) override;

private:
  TRPEditRPData& FData;
  // The table the notes are for.
  int32_t FItemNo = -1;
};

// The tables find the editor host of their document through the table hooks, and a
// refused table operation sounds the platform's beep; installed once, by the first
// editable document data made.
void RegisterTableEditing();
