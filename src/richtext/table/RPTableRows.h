// The cell grid of a table: a list of rows, each a list of cells, one entry per column.
//
// Merged cells live in the grid itself: the cell at the top-left position of a merged
// area carries its RowSpan and ColSpan, and every other position of the area holds
// nullptr. Invariants: every row has ColCount entries; every nullptr position is covered
// by exactly one cell above-left of it; spans never reach outside the grid.
#pragma once

#include <cstdint>
#include <memory>

#include "richtext/layout/view/RPItemFormattedData.h"
#include "richtext/model/RPLists.h"
#include "richtext/table/RPTableCell.h"
#include "richtext/table/RPTableGridNotes.h"

class TRPTableRows;
class TCanvas;

// One row: owns its cells; a covered position is nullptr.
class TRPTableRow : public TRPDataList {
public:
  // colCount new cells.
  TRPTableRow(int32_t colCount, TRPTableRows* rows);

  TRPCellVAlign VAlign = rpcTop;
  bool PageBreakBefore = false;

  TRPTableRows* GetRows() const { return FRows; }
  void SetRows(TRPTableRows* rows) { FRows = rows; }
  // The document holding the table.
  TCustomRPData* GetParentRPData() const override;

  TRPTableCellData* GetItem(int32_t index) const { return static_cast<TRPTableCellData*>(Get(index)); }
  TRPTableCellData* AddCell();
  TRPTableCellData* InsertCell(int32_t index);
  void InsertEmpty(int32_t index) { TList::Insert(index, nullptr); }
  // Stores an existing cell (or nullptr), freeing what the position held; the cell's row
  // becomes this row.
  void PutCell(int32_t index, std::unique_ptr<TRPTableCellData> cell);
  void InsertCellObject(int32_t index, std::unique_ptr<TRPTableCellData> cell);
  // Takes the cell out, leaving nullptr in its place (nullptr for a covered position).
  std::unique_ptr<TRPTableCellData> TakeCell(int32_t index);
  // Takes the entry out with its position.
  std::unique_ptr<TRPTableCellData> ExtractEntry(int32_t index);

  // Largest BestHeight among the cells spanning one row; 0 without such cells.
  int32_t GetMaxBestHeight() const;
  // Largest GetContentHeight among the cells spanning one row; 10 when that is 0.
  int32_t GetMaxCellHeight(bool useBestHeight) const;
  // False when rowIndex < firstRow; else whether some cell of this row (rowIndex) ends at
  // or before row firstRow + count - 1.
  bool HasCellEndingWithin(int32_t rowIndex, int32_t firstRow, int32_t count) const;

private:
  TRPTableRows* FRows;
};

// The grid: owns its rows.
class TRPTableRows : public TRPList {
public:
  TRPTableRows(int32_t rowCount, int32_t colCount, TCustomRPData* mainRPData, TRPTableItemInfo* table);

  TCustomRPData* MainRPData;
  TRPTableItemInfo* Table;

  // Frees every row, then adds rowCount rows of colCount new cells.
  void Reset(int32_t rowCount, int32_t colCount);
  // Frees every row, then adds rowCount rows of colCount empty positions (nullptr), for
  // a builder that puts every cell itself: the grid is whole again once it has.
  void ResetPositions(int32_t rowCount, int32_t colCount);
  TRPTableRow* AddRow(int32_t colCount);
  TRPTableRow* InsertRow(int32_t index, int32_t colCount);
  // Inserts an existing row; it and its cells belong to this grid afterwards.
  void InsertRowObject(int32_t index, std::unique_ptr<TRPTableRow> row);
  // Takes the row out of the grid (it keeps its cells).
  std::unique_ptr<TRPTableRow> TakeRow(int32_t index);
  TRPTableRow* GetRow(int32_t index) const { return static_cast<TRPTableRow*>(Get(index)); }
  int32_t GetRowCount() const { return Count(); }
  // The entries of row 0; 0 without rows.
  int32_t GetColCount() const { return Count() == 0 ? 0 : GetRow(0)->Count(); }
  bool IsEmpty() const { return Count() == 0 || GetRow(0)->Count() == 0; }
  TRPTableCellData* GetCell(int32_t row, int32_t col) const { return GetRow(row)->GetItem(col); }

  // The cell that stands at or covers (row, col), with its own position; nullptr (and
  // -1, -1) when the grid breaks its invariant there.
  TRPTableCellData* GetMainCell(int32_t row, int32_t col, int32_t& mainRow, int32_t& mainCol) const;

  // --- Column queries of layout ---------------------------------------------------------
  int32_t GetMinColWidth(int32_t col, const TRPResolution* scale, TCanvas& canvas) const;
  int32_t GetPixelColWidth(int32_t col) const;
  int32_t GetPercentColWidth(int32_t col, int32_t tableWidth) const;
  bool HasPercentWidth(int32_t col) const;

  // The document's beep, when its style sheet asks for sounds.
  void Beep() const;

  // --- Merging ---------------------------------------------------------------------------
  // Clamps the counts to the grid; false when nothing is to merge. Raises ERichPaneError
  // "Parameters for cell merging are not correct" when one count is < 1 and the other > 1.
  bool ClampMergeArea(int32_t topRow, int32_t leftCol, int32_t& colCount, int32_t& rowCount) const;
  bool CanMergeCells(int32_t topRow, int32_t leftCol, int32_t colCount, int32_t rowCount, bool allowCoveredLines) const;
  // Merges the area into its top-left cell; a refused merge changes nothing and beeps.
  // Returns whether the grid changed.
  bool MergeCells(int32_t topRow, int32_t leftCol, int32_t colSpan, int32_t rowSpan, bool allowCoveredLines,
                  bool setBestWidth);
  // The combined best width of the cells standing in an area.
  TRPHTMLLength GetBestWidthOfArea(int32_t topRow, int32_t leftCol, int32_t colCount, int32_t rowCount) const;

  // --- Inserting and deleting (RPTableGridEdit.cpp) ----------------------------------
  // Rows (columns) are inserted at index (0 .. count); cells spanning the place grow
  // over the new ones. With copyIndex (-1: none) the new cells take the attributes and
  // spans of that row's (column's) cells; with divideSize a copied cell's preferred size
  // is shared with its copies. Deleting shrinks the cells spanning the deleted block and
  // splits those that start inside it and reach out. All raise ERichPaneError "Invalid
  // row or column index" for an index or copy index out of range, a delete count below 1
  // or, at index 0, above the grid; a count past the end at a later index is cut.
  void InsertRows(int32_t index, int32_t count, int32_t copyIndex, bool divideSize);
  void InsertCols(int32_t index, int32_t count, int32_t copyIndex, bool divideSize);
  void DeleteRows(int32_t index, int32_t count, bool divideSize) { DeleteAlong(true, index, count, divideSize); }
  void DeleteCols(int32_t index, int32_t count, bool divideSize) { DeleteAlong(false, index, count, divideSize); }
  // Cuts the cell at (row, col) at row atRow (column atCol): the lower (right) share is a
  // new cell with the same attributes.
  void SplitCellHorz(int32_t row, int32_t col, int32_t atRow, bool divideSize) {
    SplitCell(true, row, col, atRow, divideSize);
  }
  void SplitCellVert(int32_t row, int32_t col, int32_t atCol, bool divideSize) {
    SplitCell(false, row, col, atCol, divideSize);
  }

  // --- Reversible steps (RPTableGridSteps.cpp) -------------------------------------------
  // The steps the operations above are made of, each with the step that takes it back;
  // the undo records of an editor replay them (RPTableGridNotes.h). A step alone may
  // leave the grid's invariants broken: only whole operations keep them. Areas are first
  // row, first column, column count, row count; a "new cell" has spans 1, no colours and
  // one empty text item.
  // count rows of ColCount new cells at index / count rows at index deleted and freed.
  void InsertRowsRaw(int32_t index, int32_t count);
  void DeleteRowsRaw(int32_t index, int32_t count);
  // A new cell inserted at position col of row / the entry there deleted (freed).
  void InsertCellRaw(int32_t row, int32_t col);
  void DeleteCellRaw(int32_t row, int32_t col);
  // The cell's ColSpan becomes colSpan and the cells right of it in its row under the
  // span are freed / ColSpan 1 and new cells in those positions.
  void SpreadOverEmptyCells(int32_t row, int32_t col, int32_t colSpan);
  void UnspreadOverEmptyCells(int32_t row, int32_t col, int32_t colSpan);
  // The cell's ColSpan (isColSpan) or RowSpan becomes value; nothing when it is that
  // already; noted first. Its reverse is the same step with the old value.
  void SetSpan(int32_t row, int32_t col, int32_t value, bool isColSpan);
  // Every cell of the area freed (positions nullptr) / a new cell at every position.
  void FreeCellsInArea(int32_t row, int32_t col, int32_t colCount, int32_t rowCount);
  void CreateCellsInArea(int32_t row, int32_t col, int32_t colCount, int32_t rowCount);
  // count nullptr positions inserted at col in rowCount rows from row / count positions
  // at col deleted (cells freed) in those rows.
  void InsertEmptyInArea(int32_t row, int32_t col, int32_t count, int32_t rowCount);
  void DeleteEntriesInArea(int32_t row, int32_t col, int32_t count, int32_t rowCount);
  // Joins the cell that SplitCellHorz (SplitCellVert) made at atRow (atCol) back into
  // the cell at (row, col), which takes back its spans and its old preferred size.
  void UnsplitCellHorz(int32_t row, int32_t col, int32_t atRow, int32_t oldBestHeight);
  void UnsplitCellVert(int32_t row, int32_t col, int32_t atCol, int32_t oldBestWidth);
  // count rows at index taken out: with a holder they go to its Rows, their cells held
  // by it; without they are freed. RestoreRows puts the rows of list back at index in
  // their order, gives their cells back and empties list.
  void RemoveRows(int32_t index, int32_t count, TRPTableRowsHolder* holder);
  void RestoreRows(int32_t index, TRPTableRowList& list);
  // count positions at index of every row taken out: with a holder they go to its Cells,
  // row by row, each row's from the last removed column to the first, the cells held by
  // it; without they are freed. RestoreCols puts them back (list holds count entries
  // per row), gives the cells back and empties list.
  void RemoveCols(int32_t index, int32_t count, TRPTableCellsHolder* holder);
  void RestoreCols(int32_t index, TRPTableCellList& list);
  // Empties the cells at the listed positions (rows[i], cols[i]): without a holder in
  // place (one empty text item of style 0, paragraph 0 left); with one each cell goes
  // to the holder's Cells and a new cell with its attributes, geometry and spans takes
  // its place. RestoreClearedCells frees those new cells, puts the cells of list back
  // and empties list.
  void ClearCells(TRPTableCellsHolder* holder, const TRPIntegerList& rows, const TRPIntegerList& cols);
  void RestoreClearedCells(TRPTableCellList& list, const TRPIntegerList& rows, const TRPIntegerList& cols);
  // Merges the area into its top-left cell (with setBestWidth its BestWidth combined
  // from the area): the other cells' content is appended to it in reading order; the
  // other cells go to the holder's Items (freed without one). UnmergeCells puts the
  // items back, last first, each taking back its share of the merged cell's items
  // from the end, and gives the merged cell its old spans and BestWidth.
  void DoMergeCells(int32_t topRow, int32_t leftCol, int32_t colCount, int32_t rowCount, bool setBestWidth,
                    TRPTableMergeHolder* holder);
  void UnmergeCells(int32_t row, int32_t col, int32_t oldColSpan, int32_t oldRowSpan, TRPHTMLLength oldBestWidth,
                    std::vector<TRPTableMergeItem>& items);
  // The cells of the area handed to holder / given back to their rows.
  void DetachCells(int32_t row, int32_t col, int32_t colCount, int32_t rowCount, TRPTableCellHolder& holder);
  void AttachCells(int32_t row, int32_t col, int32_t colCount, int32_t rowCount);

private:
  void DeleteAlong(bool byRows, int32_t index, int32_t count, bool divideSize);
  void SplitCell(bool byRows, int32_t row, int32_t col, int32_t at, bool divideSize);
  // The notes of the table's editor; nullptr when no undo is recorded.
  IRPTableGridNotes* Notes() const;
  // A preferred size of a cell changed as a named property of the table's cell (an
  // undoable step in an editor).
  void SetCellSize(int32_t row, int32_t col, bool width, int32_t value);
  void CopyCellAttributes(int32_t row, int32_t col, const TRPTableCellData& source, int32_t colDivisor,
                          int32_t rowDivisor);
};

// The result of one table layout: column and row sizes and starts, the table's size and,
// for a printing layout, the printable copy of each cell.
class TRPTableItemFormattingInfo : public TObject {
public:
  explicit TRPTableItemFormattingInfo(bool createRows);

  TRPIntegerList ColWidths;
  TRPIntegerList RowHeights;
  TRPIntegerList ColStarts;
  TRPIntegerList RowStarts;
  int32_t Width = 0;
  int32_t Height = 0;
  // Printing only: one entry per grid position, row-major; nullptr without a copy.
  std::unique_ptr<TRPList> Rows;

  // Counts 0; the lists keep their capacity for the next layout.
  void Clear();
};
