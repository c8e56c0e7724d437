// What the view asks of a table's cells: the cell at a point, and the keyboard focus
// among their items (which cell holds it, the walk from cell to cell in reading order).
#include "richtext/layout/RPLayoutItems.h"
#include "richtext/table/RPTableCell.h"
#include "richtext/table/RPTableItem.h"

TCustomRPData* TRPTableItemInfo::GetSubRPDataAt(int32_t x, int32_t y) {
  for (int32_t r = 0; r < FRows->GetRowCount(); ++r)
    for (int32_t c = 0; c < FRows->GetColCount(); ++c) {
      TRPTableCellData* cell = FRows->GetCell(r, c);
      if (cell && x >= cell->Left && x < cell->Left + cell->Width && y >= cell->Top && y < cell->Top + cell->Height)
        return cell;
    }
  return nullptr;
}

bool TRPTableItemInfo::HasFocusableItems() const {
  for (int32_t r = 0; r < FRows->GetRowCount(); ++r)
    for (int32_t c = 0; c < FRows->GetColCount(); ++c)
      if (const TRPTableCellData* cell = FRows->GetCell(r, c); cell && cell->FindNextFocusableItem(-1, true) >= 0)
        return true;
  return false;
}

bool TRPTableItemInfo::MoveFocus(bool forward, TCustomRPFormattedData*& data, int32_t& itemNo) {
  const TRPTableRows& rows = *FRows;
  if (rows.IsEmpty()) return false;
  // A focused cell outside the grid (rows or columns went) is none.
  if (FFocusedRow >= rows.GetRowCount() || FFocusedCol >= rows.GetColCount() ||
      (FFocusedRow >= 0 && !rows.GetCell(FFocusedRow, FFocusedCol)))
    FFocusedRow = FFocusedCol = -1;
  int32_t row = FFocusedRow, col = FFocusedCol, from = -1;
  TRPTableCellData* cell = row >= 0 ? rows.GetCell(row, col) : nullptr;
  const int32_t holder = cell && data && data != cell ? cell->FindHolderItem(data) : -1;
  if (cell && data == cell) {
    from = itemNo;
  } else if (holder >= 0) {
    from = holder;
  } else {
    // From the first cell, or the cell that covers the last position.
    row = forward ? 0 : rows.GetRowCount() - 1;
    col = forward ? 0 : rows.GetColCount() - 1;
    int32_t mainRow = row, mainCol = col;
    cell = rows.GetMainCell(row, col, mainRow, mainCol);
    row = mainRow;
    col = mainCol;
    data = nullptr;
    from = forward ? -1 : (cell ? cell->GetItemCount() : 0);
  }
  while (cell) {
    if (cell->FindNextFocus(from, forward, data, itemNo)) {
      FFocusedRow = row;
      FFocusedCol = col;
      return true;
    }
    int32_t nextRow = 0, nextCol = 0;
    if (!GetNeighbourCell(row, col, forward ? 6 : 7, nextRow, nextCol, true)) break;
    row = nextRow;
    col = nextCol;
    cell = rows.GetCell(row, col);
    data = nullptr;
    from = forward ? -1 : (cell ? cell->GetItemCount() : 0);
  }
  FFocusedRow = FFocusedCol = -1;
  data = nullptr;
  itemNo = -1;
  return false;
}

void TRPTableItemInfo::ClearFocus() {
  TRPTableCellData* cell = FFocusedRow >= 0 && FFocusedRow < FRows->GetRowCount() && FFocusedCol < FRows->GetColCount()
                               ? FRows->GetCell(FFocusedRow, FFocusedCol)
                               : nullptr;
  FFocusedRow = FFocusedCol = -1;
  if (!cell) return;
  for (int32_t i = 0; i < cell->GetItemCount(); ++i)
    if (auto* inner = dynamic_cast<IRPFocusItem*>(cell->GetItem(i))) inner->ClearFocus();
  cell->UnfocusItem();
}

void TRPTableItemInfo::SetFocusedCell(int32_t row, int32_t col, TCustomRPFormattedData* data, int32_t itemNo) {
  FFocusedRow = row;
  FFocusedCol = col;
  TCustomRPFormattedData* document = GetFormattedDocument();
  const int32_t tableNo = GetItemNo();
  if (document && tableNo >= 0) document->SetFocusedItem(tableNo, data, itemNo);
}

void TRPTableCellData::SetFocusedItem(int32_t itemNo, TCustomRPFormattedData* focusedData, int32_t focusedItemNo) {
  TRPItemFormattedData::SetFocusedItem(itemNo, focusedData, focusedItemNo);
  TRPTableItemInfo* table = GetTable();
  if (!table) return;
  int32_t row = -1, col = -1;
  table->GetCellPosition(this, row, col);
  if (row >= 0) table->SetFocusedCell(row, col, focusedData, focusedItemNo);
}
