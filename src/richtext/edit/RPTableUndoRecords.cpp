// The table records' reverse steps: each makes its opposite record first, then changes
// the table.
#include "richtext/edit/RPTableUndoRecords.h"

#include "platform/base/ScopeExit.h"
#include "richtext/edit/RPTableTemporalEditor.h"
#include "richtext/model/RPException.h"
#include "richtext/table/RPTableItem.h"

TRPTableItemInfo& RecordTable(TRPEditRPData& rpData, int32_t itemNo) {
  auto* table =
      itemNo >= 0 && itemNo < rpData.GetItemCount() ? dynamic_cast<TRPTableItemInfo*>(rpData.GetItem(itemNo)) : nullptr;
  if (!table) throw ERichPaneError(errRPInvalidItemClass);
  return *table;
}

namespace {

// The opposite record of record's own kind and flags.
template <typename T>
T* Opposite(const T& record, TRPEditRPData& rpData) {
  return AddTableUndoRecord<T>(rpData, record.ItemNo, record.AffectsWidth, record.AffectsSize);
}

// The opposite of a step whose reverse takes the same parameters: a copy of the record
// (in the list that the copy lies in) with the direction turned.
template <typename T>
T* ReversedCopy(const T& record, TRPEditRPData& rpData) {
  T* opposite = Opposite(record, rpData);
  if (!opposite) return nullptr;
  TRPUndoList* owner = opposite->Owner;
  *opposite = record;
  opposite->Owner = owner;
  opposite->Forward = !record.Forward;
  return opposite;
}

TRPTableCellData& CellAt(TRPTableItemInfo& table, int32_t row, int32_t col) {
  TRPTableCellData* cell = row >= 0 && row < table.Rows().GetRowCount() && col >= 0 && col < table.Rows().GetColCount()
                               ? table.GetCell(row, col)
                               : nullptr;
  if (!cell) throw ERichPaneError(errRPInvalidItemClass);
  return *cell;
}

// Cells may go: the live-spelling walk stands still and leaves the table's cells while a
// step runs; it goes on from where the document sends it after the group.
class TSpellingPause {
public:
  TSpellingPause(TRPEditRPData& rpData, TRPTableItemInfo& table) : FData(rpData) {
    FData.PauseLiveSpelling();
    // Row by row as the grid holds them now: between two steps the rows may differ in
    // length, so the cells are not walked in reading order.
    const TRPTableRows& rows = table.Rows();
    for (int32_t r = 0; r < rows.GetRowCount(); ++r) {
      const TRPTableRow& row = *rows.GetRow(r);
      for (int32_t c = 0; c < row.Count(); ++c)
        if (TRPTableCellData* cell = row.GetItem(c)) {
          for (int32_t i = 0; i < cell->GetItemCount(); ++i) FData.LiveSpellingItemFreed(*cell->GetItem(i));
          FData.LiveSpellingCellFreed(*cell);
        }
    }
  }
  ~TSpellingPause() { FData.ResumeLiveSpelling(); }
  TSpellingPause(const TSpellingPause&) = delete;
  TSpellingPause& operator=(const TSpellingPause&) = delete;

private:
  TRPEditRPData& FData;
};

}  // namespace

// --- Properties of cells -----------------------------------------------------------------

TRPTableCellData& RecordCell(TRPEditRPData& rpData, int32_t itemNo, int32_t row, int32_t col) {
  return CellAt(RecordTable(rpData, itemNo), row, col);
}

void TRPUndoModifyVisibleBorders::Undo(TRPEditRPData& rpData) {
  TRPTableItemInfo& table = RecordTable(rpData, ItemNo);
  TRPBooleanRect& borders = Row < 0 ? table.VisibleBorders : CellAt(table, Row, Col).VisibleBorders;
  if (auto* opposite = Opposite(*this, rpData)) {
    opposite->Row = Row;
    opposite->Col = Col;
    opposite->Left = borders.Left;
    opposite->Top = borders.Top;
    opposite->Right = borders.Right;
    opposite->Bottom = borders.Bottom;
  }
  borders.SetValues(Left, Top, Right, Bottom);
  table.Changed();
}

TRPUndoModifyBackgroundImage::~TRPUndoModifyBackgroundImage() = default;

void TRPUndoModifyBackgroundImage::Undo(TRPEditRPData& rpData) {
  TRPTableItemInfo& table = RecordTable(rpData, ItemNo);
  TRPTableCellData* cell = Row < 0 ? nullptr : &CellAt(table, Row, Col);
  std::unique_ptr<TGraphic> current = cell ? cell->TakeBackgroundImage() : table.TakeBackgroundImage();
  if (auto* opposite = Opposite(*this, rpData)) {
    opposite->Row = Row;
    opposite->Col = Col;
    opposite->Image = std::move(current);
  }
  if (cell)
    cell->PutBackgroundImage(std::move(Image));
  else
    table.PutBackgroundImage(std::move(Image));
  table.Changed();
}

// --- Steps of the grid ---------------------------------------------------------------------

void TRPUndoInsertTableRows::Undo(TRPEditRPData& rpData) {
  TRPTableItemInfo& table = RecordTable(rpData, ItemNo);
  ReversedCopy(*this, rpData);
  const TSpellingPause spelling(rpData, table);
  if (Forward)
    table.Rows().InsertRowsRaw(Row, Count);
  else
    table.Rows().DeleteRowsRaw(Row, Count);
  table.Changed();
}

void TRPUndoInsertTableCell::Undo(TRPEditRPData& rpData) {
  TRPTableItemInfo& table = RecordTable(rpData, ItemNo);
  ReversedCopy(*this, rpData);
  const TSpellingPause spelling(rpData, table);
  if (Forward)
    table.Rows().InsertCellRaw(Row, Col);
  else
    table.Rows().DeleteCellRaw(Row, Col);
  table.Changed();
}

void TRPUndoSpreadOverEmptyCells::Undo(TRPEditRPData& rpData) {
  TRPTableItemInfo& table = RecordTable(rpData, ItemNo);
  ReversedCopy(*this, rpData);
  const TSpellingPause spelling(rpData, table);
  if (Forward)
    table.Rows().SpreadOverEmptyCells(Row, Col, ColSpan);
  else
    table.Rows().UnspreadOverEmptyCells(Row, Col, ColSpan);
  table.Changed();
}

void TRPUndoSpan::Undo(TRPEditRPData& rpData) {
  TRPTableItemInfo& table = RecordTable(rpData, ItemNo);
  TRPTableCellData& cell = CellAt(table, Row, Col);
  if (auto* opposite = Opposite(*this, rpData)) {
    opposite->Row = Row;
    opposite->Col = Col;
    opposite->IsColSpan = IsColSpan;
    opposite->OldSpan = IsColSpan ? cell.GetColSpan() : cell.GetRowSpan();
  }
  // Straight to the cell: the grid's SetSpan would note the change once more.
  if (IsColSpan)
    cell.SetColSpan(OldSpan);
  else
    cell.SetRowSpan(OldSpan);
  table.Changed();
}

void TRPUndoFreeEmptyCell::Undo(TRPEditRPData& rpData) {
  TRPTableItemInfo& table = RecordTable(rpData, ItemNo);
  ReversedCopy(*this, rpData);
  const TSpellingPause spelling(rpData, table);
  if (Forward)
    table.Rows().FreeCellsInArea(Row, Col, ColSpan, RowSpan);
  else
    table.Rows().CreateCellsInArea(Row, Col, ColSpan, RowSpan);
  table.Changed();
}

void TRPUndoInsertEmptyCell::Undo(TRPEditRPData& rpData) {
  TRPTableItemInfo& table = RecordTable(rpData, ItemNo);
  ReversedCopy(*this, rpData);
  const TSpellingPause spelling(rpData, table);
  if (Forward)
    table.Rows().InsertEmptyInArea(Row, Col, ColCount, RowCount);
  else
    table.Rows().DeleteEntriesInArea(Row, Col, ColCount, RowCount);
  table.Changed();
}

void TRPUndoCellSpitHorz::Undo(TRPEditRPData& rpData) {
  TRPTableItemInfo& table = RecordTable(rpData, ItemNo);
  // Joining back after this split needs the height the cell has before it.
  if (auto* opposite = ReversedCopy(*this, rpData); opposite && Forward)
    opposite->OldBestHeight = CellAt(table, Row, Col).BestHeight;
  const TSpellingPause spelling(rpData, table);
  if (Forward)
    table.Rows().SplitCellHorz(Row, Col, AtRow, DivideSize);
  else
    table.Rows().UnsplitCellHorz(Row, Col, AtRow, OldBestHeight);
  table.Changed();
}

void TRPUndoCellSpitVert::Undo(TRPEditRPData& rpData) {
  TRPTableItemInfo& table = RecordTable(rpData, ItemNo);
  if (auto* opposite = ReversedCopy(*this, rpData); opposite && Forward)
    opposite->OldBestWidth = CellAt(table, Row, Col).BestWidth;
  const TSpellingPause spelling(rpData, table);
  if (Forward)
    table.Rows().SplitCellVert(Row, Col, AtCol, DivideSize);
  else
    table.Rows().UnsplitCellVert(Row, Col, AtCol, OldBestWidth);
  table.Changed();
}

void TRPUndoDeleteRows::Undo(TRPEditRPData& rpData) {
  TRPTableItemInfo& table = RecordTable(rpData, ItemNo);
  TRPUndoDeleteRows* opposite = Opposite(*this, rpData);
  if (opposite) {
    opposite->Row = Row;
    opposite->Count = Count;
    opposite->Forward = !Forward;
  }
  const TSpellingPause spelling(rpData, table);
  if (Forward)
    table.Rows().RemoveRows(Row, Count, opposite);
  else
    table.Rows().RestoreRows(Row, Rows);
  table.Changed();
}

void TRPUndoDeleteCols::Undo(TRPEditRPData& rpData) {
  TRPTableItemInfo& table = RecordTable(rpData, ItemNo);
  TRPUndoDeleteCols* opposite = Opposite(*this, rpData);
  if (opposite) {
    opposite->Col = Col;
    opposite->Count = Count;
    opposite->Forward = !Forward;
  }
  const TSpellingPause spelling(rpData, table);
  if (Forward)
    table.Rows().RemoveCols(Col, Count, opposite);
  else
    table.Rows().RestoreCols(Col, Cells);
  table.Changed();
}

void TRPUndoCellsClear::Undo(TRPEditRPData& rpData) {
  TRPTableItemInfo& table = RecordTable(rpData, ItemNo);
  TRPUndoCellsClear* opposite = Opposite(*this, rpData);
  if (opposite) {
    opposite->RowList.Assign(RowList);
    opposite->ColList.Assign(ColList);
    opposite->Forward = !Forward;
  }
  const TSpellingPause spelling(rpData, table);
  if (Forward)
    table.Rows().ClearCells(opposite, RowList, ColList);
  else
    table.Rows().RestoreClearedCells(Cells, RowList, ColList);
  table.Changed();
}

void TRPUndoMerge::Undo(TRPEditRPData& rpData) {
  TRPTableItemInfo& table = RecordTable(rpData, ItemNo);
  TRPUndoMerge* opposite = Opposite(*this, rpData);
  if (opposite) {
    opposite->Row = Row;
    opposite->Col = Col;
    opposite->NewRowSpan = NewRowSpan;
    opposite->NewColSpan = NewColSpan;
    opposite->OldRowSpan = OldRowSpan;
    opposite->OldColSpan = OldColSpan;
    opposite->OldBestWidth = OldBestWidth;
    opposite->Forward = !Forward;
    if (Forward) {
      // Unmerging after this merge gives the cell what it has before it.
      const TRPTableCellData& target = CellAt(table, Row, Col);
      opposite->OldRowSpan = target.GetRowSpan();
      opposite->OldColSpan = target.GetColSpan();
      opposite->OldBestWidth = target.BestWidth;
    }
  }
  const TSpellingPause spelling(rpData, table);
  if (Forward)
    table.Rows().DoMergeCells(Row, Col, NewColSpan, NewRowSpan, true, opposite);
  else
    table.Rows().UnmergeCells(Row, Col, OldColSpan, OldRowSpan, OldBestWidth, Items);
  table.Changed();
}

// --- Changes made inside cells -----------------------------------------------------------------

namespace {

// The document of the editor that has the cell (row, col) of the table at itemNo open,
// when no editor is open inside that one; else nullptr.
TRPEditRPData* OpenCellDocument(TRPEditRPData& rpData, int32_t itemNo, int32_t row, int32_t col) {
  auto* table =
      itemNo >= 0 && itemNo < rpData.GetItemCount() ? dynamic_cast<TRPTableItemInfo*>(rpData.GetItem(itemNo)) : nullptr;
  IRPTableInplaceEditor* editor = table ? table->GetInplaceEditor() : nullptr;
  if (!editor || table->GetEditedRow() != row || table->GetEditedCol() != col || editor->Control().GetInplaceEditor())
    return nullptr;
  return dynamic_cast<TRPEditRPData*>(&editor->Data());
}

// Plays the groups on the open cell's document; its own lists stand aside meanwhile.
void PlayOnOpenCell(TRPEditRPData& cellData, TRPUndoList& list, bool redo, TRPUndoList* collect) {
  std::unique_ptr<TRPUndoList> ownUndo = std::move(cellData.UndoList);
  std::unique_ptr<TRPRedoList> ownRedo = std::move(cellData.RedoList);
  const TScopeExit restore([&] {
    cellData.UndoList = std::move(ownUndo);
    cellData.RedoList = std::move(ownRedo);
  });
  cellData.UndoList = std::make_unique<TRPUndoList>(&cellData);
  cellData.RedoList = std::make_unique<TRPRedoList>(&cellData);
  cellData.UndoList->Limit = ownUndo->Limit;
  cellData.RedoList->Limit = ownRedo->Limit;
  PlayRecordedGroups(cellData, list, list.Count(), redo, collect);
}

}  // namespace

bool TRPUndoCellModify::KeepsInplaceEditor(TRPEditRPData& rpData) const {
  return OpenCellDocument(rpData, ItemNo, Row, Col) != nullptr;
}

void TRPUndoCellModify::Undo(TRPEditRPData& rpData) {
  TRPTableItemInfo& table = RecordTable(rpData, ItemNo);
  TRPTableCellData& cell = CellAt(table, Row, Col);
  TRPUndoCellModify* opposite = AddTableUndoRecord<TRPUndoCellModify>(rpData, ItemNo, true, true);
  if (opposite) {
    opposite->Row = Row;
    opposite->Col = Col;
    opposite->IsRedo = !IsRedo;
    opposite->CaretItemNo = CaretItemNo;
    opposite->CaretOffs = CaretOffs;
    opposite->List = std::make_unique<TRPUndoList>(&rpData);
  }
  if (TRPEditRPData* open = List ? OpenCellDocument(rpData, ItemNo, Row, Col) : nullptr) {
    PlayOnOpenCell(*open, *List, IsRedo, opposite ? opposite->List.get() : nullptr);
  } else if (List) {
    TRPTableTemporalEditor editor(rpData, nullptr);
    editor.PlayOnCell(cell, *List, List->Count(), IsRedo, opposite ? opposite->List.get() : nullptr);
  }
  table.Changed();
}

bool TRPUndoMultiCellsModify::NeedsFullFormatBefore(TRPEditRPData& rpData) {
  const auto* table = ItemNo >= 0 && ItemNo < rpData.GetItemCount()
                          ? dynamic_cast<const TRPTableItemInfo*>(rpData.GetItem(ItemNo))
                          : nullptr;
  OldWidth = table ? table->GetWidth() : 0;
  return OldWidth >= rpData.DocumentWidth;
}

bool TRPUndoMultiCellsModify::NeedsFullFormatAfter(TRPEditRPData& rpData) {
  const auto* table = ItemNo >= 0 && ItemNo < rpData.GetItemCount()
                          ? dynamic_cast<const TRPTableItemInfo*>(rpData.GetItem(ItemNo))
                          : nullptr;
  const int32_t width = table ? table->GetWidth() : 0;
  return width != OldWidth && width > rpData.DocumentWidth;
}

void TRPUndoMultiCellsModify::Undo(TRPEditRPData& rpData) {
  TRPTableItemInfo& table = RecordTable(rpData, ItemNo);
  TRPUndoMultiCellsModify* opposite = AddTableUndoRecord<TRPUndoMultiCellsModify>(rpData, ItemNo, true, true);
  if (opposite) {
    opposite->IsRedo = !IsRedo;
    opposite->List = std::make_unique<TRPUndoList>(&rpData);
  }
  TRPTableTemporalEditor editor(rpData, nullptr);
  while (RowList.Count() > 0 && ColList.Count() > 0 && CountList.Count() > 0) {
    const int32_t row = RowList[0], col = ColList[0], count = CountList[0];
    TRPTableCellData& cell = CellAt(table, row, col);
    if (List) {
      const int32_t made = editor.PlayOnCell(cell, *List, count, IsRedo, opposite ? opposite->List.get() : nullptr);
      if (opposite) {
        opposite->RowList.Add(row);
        opposite->ColList.Add(col);
        opposite->CountList.Add(made);
      }
    }
    RowList.Delete(0);
    ColList.Delete(0);
    CountList.Delete(0);
  }
  table.Changed();
}

// --- Handing a cell editor's lists over --------------------------------------------------------

void HandOverCellUndo(TRPEditRPData& host, int32_t itemNo, int32_t row, int32_t col, TRPEditRPData& editor) {
  for (const bool redo : {false, true}) {
    std::unique_ptr<TRPUndoList> editorList =
        redo ? std::unique_ptr<TRPUndoList>(std::move(editor.RedoList)) : std::move(editor.UndoList);
    // The editor goes on with an empty list of the same limit.
    if (redo)
      editor.RedoList = std::make_unique<TRPRedoList>(&editor);
    else
      editor.UndoList = std::make_unique<TRPUndoList>(&editor);
    (redo ? static_cast<TRPUndoList&>(*editor.RedoList) : *editor.UndoList).Limit = editorList->Limit;
    TRPUndoList& hostList = redo ? static_cast<TRPUndoList&>(*host.RedoList) : *host.UndoList;
    if (editorList->Count() == 0 || !hostList.BeginGroup(rpukModifyItem, {}, 0, itemNo)) {
      hostList.RemoveEmptyLastGroup();
      continue;
    }
    auto record = std::make_unique<TRPUndoCellModify>();
    record->ItemNo = itemNo;
    record->Row = row;
    record->Col = col;
    record->IsRedo = redo;
    record->CaretItemNo = editor.GetItemCount() > 0 ? editor.GetCaretItemNo() : 0;
    record->CaretOffs = editor.GetItemCount() > 0 ? editor.GetCaretOffset() : 0;
    // The groups answer to the host's document from now on.
    editorList->RPData = &host;
    record->List = std::move(editorList);
    hostList.AddInfo(std::move(record));
  }
}
