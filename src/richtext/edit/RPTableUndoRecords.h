// The undo records of tables lying in an editor's document: the properties and pictures
// of the table and its cells, each reversible step of the grid's structural operations
// (RPTableRows.h), and the changes made inside cells by an editor of their own.
//
// Every record names its table by its item index in the record's document. Undoing a
// record first makes the opposite record through AddTableUndoRecord (nothing is made
// while no list records), giving it what the step is about to overwrite or the same
// parameters with Forward inverted; then the step runs and the table is flagged for a
// new layout. Rows and cells that a step takes out go to the opposite record (it holds
// them as the grid's holders do) or are freed without one. A record that still holds
// rows, cells or a picture when it goes frees them.
#pragma once

#include <cstdint>
#include <memory>

#include <type_traits>

#include "richtext/edit/RPERPData.h"
#include "richtext/edit/RPUndoItemRecords.h"
#include "richtext/edit/RPUndoRecords.h"
#include "richtext/table/RPTableGridNotes.h"

class TGraphic;
class TRPTableCellData;
class TRPTableItemInfo;

// A record of kind T for the table at itemNo, appended to the list that records now
// (its two format flags set: whether the step may change the table's width, and its
// size); nullptr, and nothing kept, when no list records. A record that holds rows or
// cells answers the document questions of the cells it holds from rpData.
template <typename T>
T* AddTableUndoRecord(TRPEditRPData& rpData, int32_t itemNo, bool affectsWidth, bool affectsSize) {
  TRPUndoList* list = rpData.GetActiveUndoList();
  if (!list) return nullptr;
  auto record = std::make_unique<T>();
  record->ItemNo = itemNo;
  if constexpr (std::is_base_of_v<TRPUndoModifyItemProps, T>) {
    record->AffectsWidth = affectsWidth;
    record->AffectsSize = affectsSize;
  }
  if constexpr (std::is_base_of_v<TRPTableCellHolder, T>) record->RPData = &rpData;
  T* result = record.get();
  list->AddInfo(std::move(record));
  return result;
}

// The table a record names; raises ERichPaneError (the model's invalid item class
// message) when the item there is no table.
TRPTableItemInfo& RecordTable(TRPEditRPData& rpData, int32_t itemNo);

// --- Properties of cells -----------------------------------------------------------------

// The cell a record names (the model's invalid item class message when there is none).
TRPTableCellData& RecordCell(TRPEditRPData& rpData, int32_t itemNo, int32_t row, int32_t col);

// A property record of an item (Base) made a record of the cell at (Row, Col) of the
// table at the record's item: undoing finds the cell first; the opposite record takes
// the same cell.
template <typename Base>
class TRPUndoCellPropertyOf : public Base {
public:
  int32_t Row = 0;
  int32_t Col = 0;
  void Undo(TRPEditRPData& rpData) override {
    this->SubObject = &RecordCell(rpData, this->ItemNo, Row, Col);
    Base::Undo(rpData);
  }
  void InitOpposite(TRPUndoModifyItemProps& opposite) override {
    auto& cellRecord = static_cast<TRPUndoCellPropertyOf&>(opposite);
    cellRecord.Row = Row;
    cellRecord.Col = Col;
  }
};

// A published ordinal property of the cell changed by name.
class TRPUndoModifyCellIntProperty : public TRPUndoCellPropertyOf<TRPUndoModifyItemIntProperty> {
public:
  static std::unique_ptr<TRPUndoModifyItemProps> Create() { return std::make_unique<TRPUndoModifyCellIntProperty>(); }
  TClass GetOppositeClass() const override { return &Create; }
};

// A published string property of the cell changed by name.
class TRPUndoModifyCellStrProperty : public TRPUndoCellPropertyOf<TRPUndoModifyItemStrProperty> {
public:
  static std::unique_ptr<TRPUndoModifyItemProps> Create() { return std::make_unique<TRPUndoModifyCellStrProperty>(); }
  TClass GetOppositeClass() const override { return &Create; }
};

// Several published ordinal properties of the cell changed at once.
class TRPUndoModifyCellIntProperties : public TRPUndoCellPropertyOf<TRPUndoModifyItemIntProperties> {
public:
  static std::unique_ptr<TRPUndoModifyItemProps> Create() { return std::make_unique<TRPUndoModifyCellIntProperties>(); }
  TClass GetOppositeClass() const override { return &Create; }
};

// The visible border sides of the table (Row -1) or of a cell: undoing sets these.
class TRPUndoModifyVisibleBorders : public TRPUndoModifyItemProps {
public:
  int32_t Row = -1;
  int32_t Col = -1;
  bool Left = true;
  bool Right = true;
  bool Top = true;
  bool Bottom = true;
  void Undo(TRPEditRPData& rpData) override;
};

// The background picture of the table (Row -1) or of a cell (nullptr: none): undoing
// gives it back, the record no longer holding it.
class TRPUndoModifyBackgroundImage : public TRPUndoModifyItemProps {
public:
  ~TRPUndoModifyBackgroundImage() override;
  int32_t Row = -1;
  int32_t Col = -1;
  std::unique_ptr<TGraphic> Image;
  void Undo(TRPEditRPData& rpData) override;
};

// --- Steps of the grid -----------------------------------------------------------------------
// Forward true performs the step named first, false its reverse.

// InsertRowsRaw / DeleteRowsRaw (Row, Count).
class TRPUndoInsertTableRows : public TRPUndoModifyItemProps {
public:
  int32_t Row = 0;
  int32_t Count = 0;
  bool Forward = false;
  void Undo(TRPEditRPData& rpData) override;
};

// InsertCellRaw / DeleteCellRaw (Row, Col).
class TRPUndoInsertTableCell : public TRPUndoModifyItemProps {
public:
  int32_t Row = 0;
  int32_t Col = 0;
  bool Forward = false;
  void Undo(TRPEditRPData& rpData) override;
};

// SpreadOverEmptyCells / UnspreadOverEmptyCells (Row, Col, ColSpan).
class TRPUndoSpreadOverEmptyCells : public TRPUndoModifyItemProps {
public:
  int32_t Row = 0;
  int32_t Col = 0;
  int32_t ColSpan = 1;
  bool Forward = false;
  void Undo(TRPEditRPData& rpData) override;
};

// The cell's ColSpan (IsColSpan) or RowSpan set back to OldSpan.
class TRPUndoSpan : public TRPUndoModifyItemProps {
public:
  int32_t Row = 0;
  int32_t Col = 0;
  bool IsColSpan = false;
  int32_t OldSpan = 1;
  void Undo(TRPEditRPData& rpData) override;
};

// FreeCellsInArea / CreateCellsInArea over RowSpan rows and ColSpan columns from
// (Row, Col).
class TRPUndoFreeEmptyCell : public TRPUndoModifyItemProps {
public:
  int32_t Row = 0;
  int32_t Col = 0;
  int32_t ColSpan = 1;
  int32_t RowSpan = 1;
  bool Forward = false;
  void Undo(TRPEditRPData& rpData) override;
};

// InsertEmptyInArea / DeleteEntriesInArea: ColCount positions at Col in RowCount rows
// from Row.
class TRPUndoInsertEmptyCell : public TRPUndoModifyItemProps {
public:
  int32_t Row = 0;
  int32_t Col = 0;
  int32_t ColCount = 0;
  int32_t RowCount = 0;
  bool Forward = false;
  void Undo(TRPEditRPData& rpData) override;
};

// SplitCellHorz at AtRow / UnsplitCellHorz with the cell's old BestHeight.
class TRPUndoCellSpitHorz : public TRPUndoModifyItemProps {
public:
  int32_t Row = 0;
  int32_t Col = 0;
  int32_t AtRow = 0;
  int32_t OldBestHeight = 0;
  bool DivideSize = false;
  bool Forward = false;
  void Undo(TRPEditRPData& rpData) override;
};

// SplitCellVert at AtCol / UnsplitCellVert with the cell's old BestWidth.
class TRPUndoCellSpitVert : public TRPUndoModifyItemProps {
public:
  int32_t Row = 0;
  int32_t Col = 0;
  int32_t AtCol = 0;
  int32_t OldBestWidth = 0;
  bool DivideSize = false;
  bool Forward = false;
  void Undo(TRPEditRPData& rpData) override;
};

// RemoveRows of Count rows at Row / RestoreRows of the held rows (Rows).
class TRPUndoDeleteRows : public TRPUndoModifyItemProps, public TRPTableRowsHolder {
public:
  int32_t Row = 0;
  int32_t Count = 0;
  bool Forward = false;
  void Undo(TRPEditRPData& rpData) override;
};

// Records holding cells taken out of the grid (Cells).
class TCustomRPUndoWithCells : public TRPUndoModifyItemProps, public TRPTableCellsHolder {};

// RemoveCols of Count columns at Col / RestoreCols of the held positions.
class TRPUndoDeleteCols : public TCustomRPUndoWithCells {
public:
  int32_t Col = 0;
  int32_t Count = 0;
  bool Forward = false;
  void Undo(TRPEditRPData& rpData) override;
};

// ClearCells of the listed positions / RestoreClearedCells of the held cells.
class TRPUndoCellsClear : public TCustomRPUndoWithCells {
public:
  TRPIntegerList RowList;
  TRPIntegerList ColList;
  bool Forward = false;
  void Undo(TRPEditRPData& rpData) override;
};

// One cell absorbed by a merge: where it stood, the cell, how many items it brought.
using TRPUndoMergeItem = TRPTableMergeItem;

// DoMergeCells of NewRowSpan rows and NewColSpan columns from (Row, Col) / UnmergeCells
// with the old spans and BestWidth and the held merge items (Items).
class TRPUndoMerge : public TRPUndoModifyItemProps, public TRPTableMergeHolder {
public:
  int32_t Row = 0;
  int32_t Col = 0;
  int32_t NewRowSpan = 1;
  int32_t NewColSpan = 1;
  int32_t OldRowSpan = 1;
  int32_t OldColSpan = 1;
  TRPHTMLLength OldBestWidth = 0;
  bool Forward = false;
  void Undo(TRPEditRPData& rpData) override;
};

// --- Changes made inside cells -----------------------------------------------------------------

// What one cell's editor recorded while the cell was edited in it, as one step of the
// document's list: the editor's whole undo list (IsRedo: its redo list), and where its
// caret was. Undoing plays the groups on the cell's content (a hidden editor takes it
// for the play; while the cell is open in its editor, that editor's document, its own
// lists set aside); the groups that play makes form the opposite record.
class TRPUndoCellModify : public TRPCompositeUndo {
public:
  int32_t Row = 0;
  int32_t Col = 0;
  bool IsRedo = false;
  int32_t CaretItemNo = 0;
  int32_t CaretOffs = 0;
  bool RequiresFormat() const override { return true; }
  bool NeedsFullFormatAfter(TRPEditRPData&) override { return true; }
  // The cell is open in its editor (with no editor open inside that one).
  bool KeepsInplaceEditor(TRPEditRPData& rpData) const override;
  void Undo(TRPEditRPData& rpData) override;
};

// Hands the undo and then the redo list of an editor that edited the cell at (row, col)
// of the table at itemNo to the host's lists: a list that holds groups becomes one
// TRPUndoCellModify in a new group of kind rpukModifyItem of the host's undo (redo) list,
// and the editor goes on with a new empty list of the same limit; an empty list only
// takes an empty last group off the host's list. The host's group puts the caret on the
// table.
void HandOverCellUndo(TRPEditRPData& host, int32_t itemNo, int32_t row, int32_t col, TRPEditRPData& editor);

// Changes of several cells made at once (an editor command run on selected cells):
// for each cell in turn its row, column and the number of groups of List that belong to
// it. Undoing plays each cell's groups on its content in a hidden editor, first cell
// first; the groups that play makes form the opposite record.
class TRPUndoMultiCellsModify : public TRPCompositeUndo {
public:
  bool IsRedo = false;
  TRPIntegerList RowList;
  TRPIntegerList ColList;
  TRPIntegerList CountList;
  // The table's width before the step.
  int32_t OldWidth = 0;
  bool NeedsFullFormatBefore(TRPEditRPData& rpData) override;
  bool NeedsFullFormatAfter(TRPEditRPData& rpData) override;
  bool RequiresFormat() const override { return true; }
  void Undo(TRPEditRPData& rpData) override;
};
