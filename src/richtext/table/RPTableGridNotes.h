// What a structural change of a table's grid tells an editor that records undo, and
// the holders that keep rows and cells taken out of the grid.
//
// Each structural operation of the grid (inserting, deleting, merging, clearing) is a
// sequence of reversible steps (RPTableRows.h). Before each step the grid writes a note
// naming the step and what its reverse needs; an editor's undo record made from the note
// replays the reverse step later. Steps that take rows or cells out of the grid hand
// them to the holder that the note answers, so that the reverse step can put the same
// objects back; without a holder they are freed. Without notes (no editor, or an editor
// that records no undo) the grid changes silently.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "richtext/table/RPTableTypes.h"

class TCustomRPData;
class TRPIntegerList;
class TRPTableCellData;
class TRPTableRow;

using TRPTableRowList = std::vector<std::unique_ptr<TRPTableRow>>;
// Entries may be nullptr (a covered position taken out with its row or column).
using TRPTableCellList = std::vector<std::unique_ptr<TRPTableCellData>>;

// What holds cells taken out of their grid (an undo record). A held cell has no row and
// no table; it answers the document questions from the holder's document.
class TRPTableCellHolder {
public:
  virtual ~TRPTableCellHolder();
  // The document of the undo list that holds the record; may be nullptr.
  TCustomRPData* RPData = nullptr;
};

// Rows taken out of the grid, in grid order, their cells held.
class TRPTableRowsHolder : public TRPTableCellHolder {
public:
  ~TRPTableRowsHolder() override;
  TRPTableRowList Rows;
};

// Positions taken out of the grid (deleted columns, cleared cells), their cells held.
class TRPTableCellsHolder : public TRPTableCellHolder {
public:
  ~TRPTableCellsHolder() override;
  TRPTableCellList Cells;
};

// One cell absorbed by a merge: where it stood, the cell, and how many items it brought
// to the merged cell (0 when it had no content).
struct TRPTableMergeItem {
  int32_t Row = 0;
  int32_t Col = 0;
  std::unique_ptr<TRPTableCellData> Cell;
  int32_t ItemCount = 0;
};

class TRPTableMergeHolder : public TRPTableCellHolder {
public:
  ~TRPTableMergeHolder() override;
  std::vector<TRPTableMergeItem> Items;
};

// The notes of structural steps, one per step, written before the grid changes. Areas
// are given as first row, first column, column count, row count.
class IRPTableGridNotes {
public:
  virtual ~IRPTableGridNotes() = default;
  // Bracket one structural operation; the closing call comes also when it raises.
  virtual void BeginOperation() = 0;
  virtual void EndOperation() = 0;
  // InsertRowsRaw(row, count); reverse DeleteRowsRaw.
  virtual void InsertTableRows(int32_t row, int32_t count) = 0;
  // InsertCellRaw(row, col); reverse DeleteCellRaw.
  virtual void InsertTableCell(int32_t row, int32_t col) = 0;
  // SpreadOverEmptyCells(row, col, colSpan); reverse UnspreadOverEmptyCells.
  virtual void SpreadOverEmptyCells(int32_t row, int32_t col, int32_t colSpan) = 0;
  // SetSpan; reverse: the span set back to oldSpan.
  virtual void Span(int32_t row, int32_t col, bool isColSpan, int32_t oldSpan) = 0;
  // FreeCellsInArea; reverse CreateCellsInArea.
  virtual void FreeEmptyCell(int32_t row, int32_t col, int32_t colCount, int32_t rowCount) = 0;
  // InsertEmptyInArea(row, col, count, rowCount); reverse DeleteEntriesInArea.
  virtual void InsertEmptyCell(int32_t row, int32_t col, int32_t count, int32_t rowCount) = 0;
  // SplitCellHorz / SplitCellVert; reverse UnsplitCellHorz / UnsplitCellVert with the
  // preferred size the cell had before.
  virtual void CellSplitHorz(int32_t row, int32_t col, int32_t atRow, int32_t oldBestHeight, bool divideSize) = 0;
  virtual void CellSplitVert(int32_t row, int32_t col, int32_t atCol, int32_t oldBestWidth, bool divideSize) = 0;
  // RemoveRows / RemoveCols / ClearCells / DoMergeCells; the answer receives what the
  // step takes out (nullptr: it is freed); reverse RestoreRows / RestoreCols /
  // RestoreClearedCells / UnmergeCells.
  virtual TRPTableRowsHolder* DeleteRows(int32_t row, int32_t count) = 0;
  virtual TRPTableCellsHolder* DeleteCols(int32_t col, int32_t count) = 0;
  virtual TRPTableCellsHolder* CellsClear(const TRPIntegerList& rows, const TRPIntegerList& cols) = 0;
  virtual TRPTableMergeHolder* Merge(int32_t row, int32_t col, int32_t colCount, int32_t rowCount, int32_t oldColSpan,
                                     int32_t oldRowSpan, TRPHTMLLength oldBestWidth) = 0;
};

// Opens the notes' bracket around one structural operation (when there are notes) and
// closes it on every way out.
class TRPTableNotesBracket {
public:
  explicit TRPTableNotesBracket(IRPTableGridNotes* notes) : FNotes(notes) {
    if (FNotes) FNotes->BeginOperation();
  }
  ~TRPTableNotesBracket() {
    if (FNotes) FNotes->EndOperation();
  }
  TRPTableNotesBracket(const TRPTableNotesBracket&) = delete;
  TRPTableNotesBracket& operator=(const TRPTableNotesBracket&) = delete;

private:
  IRPTableGridNotes* FNotes;
};
