#include "richtext/table/RPTableRows.h"

#include <algorithm>

// --- TRPTableRow ------------------------------------------------------------------------

TRPTableRow::TRPTableRow(int32_t colCount, TRPTableRows* rows) : FRows(rows) {
  SetCapacity(colCount);
  for (int32_t i = 0; i < colCount; ++i) AddCell();
}

TCustomRPData* TRPTableRow::GetParentRPData() const { return FRows ? FRows->MainRPData : nullptr; }

TRPTableCellData* TRPTableRow::AddCell() {
  auto cell = std::make_unique<TRPTableCellData>(this);
  TRPTableCellData* result = cell.get();
  Add(std::move(cell));
  return result;
}

TRPTableCellData* TRPTableRow::InsertCell(int32_t index) {
  auto cell = std::make_unique<TRPTableCellData>(this);
  TRPTableCellData* result = cell.get();
  Insert(index, std::move(cell));
  return result;
}

void TRPTableRow::PutCell(int32_t index, std::unique_ptr<TRPTableCellData> cell) {
  if (cell) cell->SetRow(this);
  Put(index, cell.release());
}

void TRPTableRow::InsertCellObject(int32_t index, std::unique_ptr<TRPTableCellData> cell) {
  if (cell) cell->SetRow(this);
  TList::Insert(index, cell.release());
}

int32_t TRPTableRow::GetMaxBestHeight() const {
  int32_t result = 0;
  for (int32_t i = 0; i < Count(); ++i)
    if (const TRPTableCellData* cell = GetItem(i); cell && cell->GetRowSpan() <= 1)
      result = std::max(result, cell->BestHeight);
  return result;
}

int32_t TRPTableRow::GetMaxCellHeight(bool useBestHeight) const {
  int32_t result = 0;
  for (int32_t i = 0; i < Count(); ++i)
    if (const TRPTableCellData* cell = GetItem(i); cell && cell->GetRowSpan() <= 1)
      result = std::max(result, cell->GetContentHeight(useBestHeight));
  return result == 0 ? 10 : result;
}

bool TRPTableRow::HasCellEndingWithin(int32_t rowIndex, int32_t firstRow, int32_t count) const {
  if (rowIndex < firstRow) return false;
  for (int32_t i = 0; i < Count(); ++i)
    if (const TRPTableCellData* cell = GetItem(i); cell && rowIndex + cell->GetRowSpan() - 1 <= firstRow + count - 1)
      return true;
  return false;
}

// --- TRPTableRows -----------------------------------------------------------------------

TRPTableRows::TRPTableRows(int32_t rowCount, int32_t colCount, TCustomRPData* mainRPData, TRPTableItemInfo* table)
    : MainRPData(mainRPData), Table(table) {
  Reset(rowCount, colCount);
}

void TRPTableRows::Reset(int32_t rowCount, int32_t colCount) {
  Clear();
  SetCapacity(rowCount);
  for (int32_t i = 0; i < rowCount; ++i) AddRow(colCount);
}

void TRPTableRows::ResetPositions(int32_t rowCount, int32_t colCount) {
  Clear();
  SetCapacity(rowCount);
  for (int32_t i = 0; i < rowCount; ++i) {
    TRPTableRow& row = *AddRow(0);
    row.SetCapacity(colCount);
    for (int32_t c = 0; c < colCount; ++c) row.InsertEmpty(c);
  }
}

TRPTableRow* TRPTableRows::AddRow(int32_t colCount) {
  auto row = std::make_unique<TRPTableRow>(colCount, this);
  TRPTableRow* result = row.get();
  Add(std::move(row));
  return result;
}

TRPTableRow* TRPTableRows::InsertRow(int32_t index, int32_t colCount) {
  auto row = std::make_unique<TRPTableRow>(colCount, this);
  TRPTableRow* result = row.get();
  Insert(index, std::move(row));
  return result;
}

void TRPTableRows::InsertRowObject(int32_t index, std::unique_ptr<TRPTableRow> row) {
  row->SetRows(this);
  Insert(index, std::move(row));
}

// Walks up from (row, col): in each row leftwards over covered positions, then tests the
// cell found there for covering the position.
TRPTableCellData* TRPTableRows::GetMainCell(int32_t row, int32_t col, int32_t& mainRow, int32_t& mainCol) const {
  if (TRPTableCellData* cell = GetCell(row, col)) {
    mainRow = row;
    mainCol = col;
    return cell;
  }
  for (int32_t r = row; r >= 0; --r) {
    int32_t c = col;
    while (c > 0 && !GetCell(r, c)) --c;
    TRPTableCellData* cell = GetCell(r, c);
    if (cell && col - c < cell->GetColSpan() && row - r < cell->GetRowSpan()) {
      mainRow = r;
      mainCol = c;
      return cell;
    }
  }
  mainRow = -1;
  mainCol = -1;
  return nullptr;
}

// --- Column queries ---------------------------------------------------------------------

int32_t TRPTableRows::GetMinColWidth(int32_t col, const TRPResolution* scale, TCanvas& canvas) const {
  int32_t result = 0;
  for (int32_t r = 0; r < Count(); ++r)
    if (TRPTableCellData* cell = GetCell(r, col); cell && cell->GetColSpan() <= 1)
      result = std::max(result, cell->GetMinWidth(scale, canvas));
  return result;
}

int32_t TRPTableRows::GetPixelColWidth(int32_t col) const {
  int32_t result = 0;
  for (int32_t r = 0; r < Count(); ++r)
    if (const TRPTableCellData* cell = GetCell(r, col); cell && cell->GetColSpan() <= 1) {
      if (cell->BestWidth < 0) return 0;
      result = std::max(result, cell->BestWidth);
    }
  return result;
}

int32_t TRPTableRows::GetPercentColWidth(int32_t col, int32_t tableWidth) const {
  int32_t result = 0;
  for (int32_t r = 0; r < Count(); ++r)
    if (const TRPTableCellData* cell = GetCell(r, col); cell && cell->GetColSpan() <= 1 && cell->BestWidth < 0)
      result = std::max(result, static_cast<int32_t>(int64_t(tableWidth) * -cell->BestWidth / 100));
  return result;
}

bool TRPTableRows::HasPercentWidth(int32_t col) const {
  const int32_t colCount = GetColCount();
  for (int32_t r = 0; r < Count(); ++r) {
    if (const TRPTableCellData* cell = GetCell(r, col)) {
      if (cell->GetColSpan() <= 1 && cell->BestWidth < 0) return true;
      continue;
    }
    int32_t mainRow = 0, mainCol = 0;
    const TRPTableCellData* main = GetMainCell(r, col, mainRow, mainCol);
    if (!main || main->BestWidth >= 0) continue;
    if (col + 1 >= colCount || GetCell(r, col + 1)) return true;
    int32_t nextRow = 0, nextCol = 0;
    if (GetMainCell(r, col + 1, nextRow, nextCol) != main) return true;
  }
  return false;
}

// --- TRPTableItemFormattingInfo ---------------------------------------------------------

TRPTableItemFormattingInfo::TRPTableItemFormattingInfo(bool createRows) {
  if (createRows) Rows = std::make_unique<TRPList>();
}

void TRPTableItemFormattingInfo::Clear() {
  ColWidths.Clear();
  RowHeights.Clear();
  ColStarts.Clear();
  RowStarts.Clear();
}
