// The reversible steps of the grid's structural operations, each beside the step that
// takes it back. Rows and cells that a step takes out go to a holder (an undo record)
// with their objects intact, so that the reverse step puts the same objects back.
#include "richtext/table/RPTableRows.h"

TRPTableCellHolder::~TRPTableCellHolder() = default;
TRPTableRowsHolder::~TRPTableRowsHolder() = default;
TRPTableCellsHolder::~TRPTableCellsHolder() = default;
TRPTableMergeHolder::~TRPTableMergeHolder() = default;

// --- Taking entries out -----------------------------------------------------------------

std::unique_ptr<TRPTableCellData> TRPTableRow::TakeCell(int32_t index) {
  std::unique_ptr<TRPTableCellData> cell = ExtractEntry(index);
  TList::Insert(index, nullptr);
  return cell;
}

std::unique_ptr<TRPTableCellData> TRPTableRow::ExtractEntry(int32_t index) {
  if (!GetItem(index)) {
    TList::Delete(index);
    return nullptr;
  }
  return std::unique_ptr<TRPTableCellData>(static_cast<TRPTableCellData*>(Detach(index).release()));
}

std::unique_ptr<TRPTableRow> TRPTableRows::TakeRow(int32_t index) {
  return std::unique_ptr<TRPTableRow>(static_cast<TRPTableRow*>(Detach(index).release()));
}

// --- Rows and single cells --------------------------------------------------------------

void TRPTableRows::InsertRowsRaw(int32_t index, int32_t count) {
  const int32_t colCount = GetColCount();
  for (int32_t k = 0; k < count; ++k) InsertRow(index + k, colCount);
}

void TRPTableRows::DeleteRowsRaw(int32_t index, int32_t count) {
  for (int32_t k = 0; k < count; ++k) Delete(index);
}

void TRPTableRows::InsertCellRaw(int32_t row, int32_t col) { GetRow(row)->InsertCell(col); }

void TRPTableRows::DeleteCellRaw(int32_t row, int32_t col) { GetRow(row)->Delete(col); }

// --- Spans ------------------------------------------------------------------------------

void TRPTableRows::SpreadOverEmptyCells(int32_t row, int32_t col, int32_t colSpan) {
  TRPTableRow& cells = *GetRow(row);
  cells.GetItem(col)->SetColSpan(colSpan);
  for (int32_t c = col + 1; c < col + colSpan; ++c) cells.PutCell(c, nullptr);
}

void TRPTableRows::UnspreadOverEmptyCells(int32_t row, int32_t col, int32_t colSpan) {
  TRPTableRow& cells = *GetRow(row);
  cells.GetItem(col)->SetColSpan(1);
  for (int32_t c = col + 1; c < col + colSpan; ++c) cells.PutCell(c, std::make_unique<TRPTableCellData>(&cells));
}

void TRPTableRows::SetSpan(int32_t row, int32_t col, int32_t value, bool isColSpan) {
  TRPTableCellData& cell = *GetCell(row, col);
  const int32_t old = isColSpan ? cell.GetColSpan() : cell.GetRowSpan();
  if (old == value) return;
  if (IRPTableGridNotes* notes = Notes()) notes->Span(row, col, isColSpan, old);
  if (isColSpan)
    cell.SetColSpan(value);
  else
    cell.SetRowSpan(value);
}

// --- Areas ------------------------------------------------------------------------------

void TRPTableRows::FreeCellsInArea(int32_t row, int32_t col, int32_t colCount, int32_t rowCount) {
  for (int32_t r = row; r < row + rowCount; ++r)
    for (int32_t c = col; c < col + colCount; ++c) GetRow(r)->PutCell(c, nullptr);
}

void TRPTableRows::CreateCellsInArea(int32_t row, int32_t col, int32_t colCount, int32_t rowCount) {
  for (int32_t r = row; r < row + rowCount; ++r) {
    TRPTableRow& cells = *GetRow(r);
    for (int32_t c = col; c < col + colCount; ++c) cells.PutCell(c, std::make_unique<TRPTableCellData>(&cells));
  }
}

void TRPTableRows::InsertEmptyInArea(int32_t row, int32_t col, int32_t count, int32_t rowCount) {
  for (int32_t r = row; r < row + rowCount; ++r)
    for (int32_t k = 0; k < count; ++k) GetRow(r)->InsertEmpty(col);
}

void TRPTableRows::DeleteEntriesInArea(int32_t row, int32_t col, int32_t count, int32_t rowCount) {
  for (int32_t r = row; r < row + rowCount; ++r)
    for (int32_t k = 0; k < count; ++k) GetRow(r)->Delete(col);
}

// --- Splitting --------------------------------------------------------------------------

void TRPTableRows::UnsplitCellHorz(int32_t row, int32_t col, int32_t atRow, int32_t oldBestHeight) {
  TRPTableCellData& upper = *GetCell(row, col);
  upper.BestHeight = oldBestHeight;
  upper.SetRowSpan(upper.GetRowSpan() + GetCell(atRow, col)->GetRowSpan());
  GetRow(atRow)->PutCell(col, nullptr);
}

void TRPTableRows::UnsplitCellVert(int32_t row, int32_t col, int32_t atCol, int32_t oldBestWidth) {
  TRPTableCellData& left = *GetCell(row, col);
  left.BestWidth = oldBestWidth;
  left.SetColSpan(left.GetColSpan() + GetCell(row, atCol)->GetColSpan());
  GetRow(row)->PutCell(atCol, nullptr);
}

// --- Rows and columns taken out and put back ----------------------------------------------

void TRPTableRows::DetachCells(int32_t row, int32_t col, int32_t colCount, int32_t rowCount,
                               TRPTableCellHolder& holder) {
  for (int32_t r = row; r < row + rowCount; ++r)
    for (int32_t c = col; c < col + colCount; ++c)
      if (TRPTableCellData* cell = GetCell(r, c)) cell->DetachItems(holder);
}

void TRPTableRows::AttachCells(int32_t row, int32_t col, int32_t colCount, int32_t rowCount) {
  for (int32_t r = row; r < row + rowCount; ++r) {
    TRPTableRow* cells = GetRow(r);
    for (int32_t c = col; c < col + colCount; ++c)
      if (TRPTableCellData* cell = cells->GetItem(c)) {
        cell->SetRow(cells);
        cell->AttachItems();
      }
  }
}

void TRPTableRows::RemoveRows(int32_t index, int32_t count, TRPTableRowsHolder* holder) {
  if (!holder) {
    DeleteRowsRaw(index, count);
    return;
  }
  DetachCells(index, 0, GetColCount(), count, *holder);
  for (int32_t k = 0; k < count; ++k) {
    std::unique_ptr<TRPTableRow> row = TakeRow(index);
    row->SetRows(nullptr);
    holder->Rows.push_back(std::move(row));
  }
}

void TRPTableRows::RestoreRows(int32_t index, TRPTableRowList& list) {
  const auto count = static_cast<int32_t>(list.size());
  for (int32_t k = count - 1; k >= 0; --k) InsertRowObject(index, std::move(list[static_cast<size_t>(k)]));
  list.clear();
  AttachCells(index, 0, GetColCount(), count);
}

void TRPTableRows::RemoveCols(int32_t index, int32_t count, TRPTableCellsHolder* holder) {
  if (!holder) {
    DeleteEntriesInArea(0, index, count, GetRowCount());
    return;
  }
  DetachCells(0, index, count, GetRowCount(), *holder);
  for (int32_t r = 0; r < GetRowCount(); ++r)
    for (int32_t c = index + count - 1; c >= index; --c) holder->Cells.push_back(GetRow(r)->ExtractEntry(c));
}

void TRPTableRows::RestoreCols(int32_t index, TRPTableCellList& list) {
  const int32_t rowCount = GetRowCount();
  if (rowCount == 0) return;
  const auto count = static_cast<int32_t>(list.size()) / rowCount;
  // Each row's entries were taken from the last column to the first: inserting them in
  // that order at index puts the first one in front.
  for (int32_t r = 0; r < rowCount; ++r)
    for (int32_t k = 0; k < count; ++k)
      GetRow(r)->InsertCellObject(index, std::move(list[static_cast<size_t>(r * count + k)]));
  list.clear();
  AttachCells(0, index, count, rowCount);
}

// --- Clearing ---------------------------------------------------------------------------

void TRPTableRows::ClearCells(TRPTableCellsHolder* holder, const TRPIntegerList& rows, const TRPIntegerList& cols) {
  for (int32_t i = 0; i < rows.Count(); ++i) {
    TRPTableRow& cells = *GetRow(rows[i]);
    const int32_t col = cols[i];
    if (!holder) {
      TRPTableCellData& cell = *cells.GetItem(col);
      cell.Clear();
      cell.AddRawText(AnsiString(), 0, 0);
      continue;
    }
    std::unique_ptr<TRPTableCellData> old = cells.TakeCell(col);
    old->Deselect(false);
    auto fresh = std::make_unique<TRPTableCellData>(&cells);
    fresh->AssignAttributes(*old, true, 1, 1);
    fresh->CopyGeometry(*old);
    fresh->SetSpans(old->GetRowSpan(), old->GetColSpan());
    old->DetachItems(*holder);
    holder->Cells.push_back(std::move(old));
    cells.PutCell(col, std::move(fresh));
  }
}

void TRPTableRows::RestoreClearedCells(TRPTableCellList& list, const TRPIntegerList& rows, const TRPIntegerList& cols) {
  for (int32_t i = 0; i < rows.Count() && i < static_cast<int32_t>(list.size()); ++i) {
    TRPTableRow& cells = *GetRow(rows[i]);
    TRPTableCellData* cell = list[static_cast<size_t>(i)].get();
    cells.PutCell(cols[i], std::move(list[static_cast<size_t>(i)]));
    cell->AttachItems();
  }
  list.clear();
}

// --- Merging ----------------------------------------------------------------------------

void TRPTableRows::DoMergeCells(int32_t topRow, int32_t leftCol, int32_t colCount, int32_t rowCount, bool setBestWidth,
                                TRPTableMergeHolder* holder) {
  TRPTableCellData* target = GetCell(topRow, leftCol);
  if (setBestWidth) target->BestWidth = GetBestWidthOfArea(topRow, leftCol, colCount, rowCount);
  for (int32_t r = topRow; r < topRow + rowCount; ++r)
    for (int32_t c = leftCol; c < leftCol + colCount; ++c) {
      TRPTableCellData* cell = GetCell(r, c);
      if (!cell || cell == target) continue;
      const int32_t before = target->GetItemCount();
      if (cell->HasContent(false)) target->AppendItemsFrom(cell);
      std::unique_ptr<TRPTableCellData> taken = GetRow(r)->TakeCell(c);
      if (!holder) continue;
      taken->Selected = false;
      taken->DetachItems(*holder);
      holder->Items.push_back(TRPTableMergeItem{r, c, std::move(taken), target->GetItemCount() - before});
    }
  target->SetSpans(rowCount, colCount);
}

void TRPTableRows::UnmergeCells(int32_t row, int32_t col, int32_t oldColSpan, int32_t oldRowSpan,
                                TRPHTMLLength oldBestWidth, std::vector<TRPTableMergeItem>& items) {
  TRPTableCellData& target = *GetCell(row, col);
  target.BestWidth = oldBestWidth;
  for (auto item = items.rbegin(); item != items.rend(); ++item) {
    TRPTableCellData* cell = item->Cell.get();
    GetRow(item->Row)->PutCell(item->Col, std::move(item->Cell));
    cell->AttachItems();
    // The cell's items are the last ItemCount ones of the merged cell, in their order.
    const int32_t first = target.GetItemCount() - item->ItemCount;
    for (int32_t k = 0; k < item->ItemCount; ++k) {
      AnsiString text;
      std::unique_ptr<TCustomRPItemInfo> moved = target.DetachItem(first, text);
      cell->AddItemAsIs(std::move(text), std::move(moved));
    }
  }
  items.clear();
  target.SetSpans(oldRowSpan, oldColSpan);
}
