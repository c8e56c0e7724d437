// The table's cells as sub-documents of its document: locations, reading order,
// neighbours, and what the document asks of every cell (styles in use, insertion).
#include "richtext/table/RPTableCells.h"

#include "richtext/table/RPTableItem.h"

int32_t TRPTableStoreSubRPData::Compare(const TRPStoreSubRPData& other) const {
  const auto& o = static_cast<const TRPTableStoreSubRPData&>(other);
  return Row != o.Row ? Row - o.Row : Col - o.Col;
}

namespace {
// The next (forward) or previous position holding a cell of its own, in reading order.
bool StepReadingOrder(const TRPTableRows& rows, int32_t& row, int32_t& col, bool forward) {
  const int32_t colCount = rows.GetColCount();
  int32_t r = row, c = col;
  while (true) {
    c += forward ? 1 : -1;
    if (c >= colCount) {
      c = 0;
      ++r;
    } else if (c < 0) {
      c = colCount - 1;
      --r;
    }
    if (r < 0 || r >= rows.GetRowCount()) return false;
    if (rows.GetCell(r, c)) {
      row = r;
      col = c;
      return true;
    }
  }
}
}  // namespace

bool TRPTableItemInfo::GetNeighbourCell(int32_t row, int32_t col, int32_t direction, int32_t& newRow, int32_t& newCol,
                                        bool silent) const {
  const TRPTableRows& rows = *FRows;
  if (rows.IsEmpty()) return false;
  int32_t mainRow = 0, mainCol = 0;
  const TRPTableCellData* cell = rows.GetMainCell(row, col, mainRow, mainCol);
  if (!cell) return false;
  const int32_t lastRow = rows.GetRowCount() - 1;
  const int32_t lastCol = rows.GetColCount() - 1;
  auto cover = [&](int32_t r, int32_t c) { return rows.GetMainCell(r, c, newRow, newCol) != nullptr; };
  switch (direction) {
    case 0:
      if (row == 0 && col == 0) return false;
      if (col == 0) return GetNeighbourCell(row, col, 7, newRow, newCol, true);
      return cover(row, col - 1);
    case 1:
      return row > 0 && cover(row - 1, col);
    case 2: {
      const bool endsRight = mainCol + cell->GetColSpan() - 1 >= lastCol;
      if (endsRight && mainRow + cell->GetRowSpan() - 1 >= lastRow) return false;
      if (endsRight) return GetNeighbourCell(row, col, 6, newRow, newCol, true);
      return cover(row, mainCol + cell->GetColSpan());
    }
    case 3:
      return mainRow + cell->GetRowSpan() <= lastRow && cover(mainRow + cell->GetRowSpan(), col);
    case 6:
    case 7:
      newRow = mainRow;
      newCol = mainCol;
      if (StepReadingOrder(rows, newRow, newCol, direction == 6)) return true;
      if (!silent) rows.Beep();
      return false;
    default:
      return false;
  }
}

int32_t TRPTableItemInfo::GetRowTop(int32_t row) const {
  return row < FFormatting->RowStarts.Count() ? FFormatting->RowStarts[row] : FFormatting->Height;
}

TCustomRPData* TRPTableItemInfo::GetSubRPData(std::unique_ptr<TRPStoreSubRPData>& location,
                                              TRPSubRPDataPosition position) {
  const TRPTableRows& rows = *FRows;
  if (rows.IsEmpty()) return nullptr;
  int32_t row = 0, col = 0;
  switch (position) {
    case rpsdFirst:
      break;
    case rpsdLast:
      row = rows.GetRowCount() - 1;
      col = rows.GetColCount() - 1;
      if (!rows.GetCell(row, col) && !StepReadingOrder(rows, row, col, false)) return nullptr;
      break;
    case rpsdNext:
    case rpsdPrevious: {
      const auto* at = dynamic_cast<const TRPTableStoreSubRPData*>(location.get());
      if (!at) return nullptr;
      row = at->Row;
      col = at->Col;
      if (!StepReadingOrder(rows, row, col, position == rpsdNext)) return nullptr;
      break;
    }
    default:
      return nullptr;
  }
  location = std::make_unique<TRPTableStoreSubRPData>(row, col);
  return rows.GetCell(row, col);
}

void TRPTableItemInfo::MarkStylesInUse(TRPStyleUsage& usage) const {
  TRPFullLineItemInfo::MarkStylesInUse(usage);
  for (int32_t r = 0; r < FRows->GetRowCount(); ++r)
    for (int32_t c = 0; c < FRows->GetColCount(); ++c)
      if (const TRPTableCellData* cell = FRows->GetCell(r, c)) cell->GetContent().MarkItemStylesInUse(usage);
}

void TRPTableItemInfo::RenumberStyles(const TRPStyleUsage& usage) {
  TRPFullLineItemInfo::RenumberStyles(usage);
  for (int32_t r = 0; r < FRows->GetRowCount(); ++r)
    for (int32_t c = 0; c < FRows->GetColCount(); ++c)
      if (TRPTableCellData* cell = FRows->GetCell(r, c)) cell->GetRPData()->RenumberItemStyles(usage);
}

void TRPTableItemInfo::Inserted(TCustomRPData* rpData, int32_t itemNo) {
  TRPFullLineItemInfo::Inserted(rpData, itemNo);
  if ((FStates & rptsFresh) == 0) return;
  for (int32_t r = 0; r < FRows->GetRowCount(); ++r)
    for (int32_t c = 0; c < FRows->GetColCount(); ++c)
      if (TRPTableCellData* cell = FRows->GetCell(r, c))
        for (int32_t i = 0; i < cell->GetItemCount(); ++i) cell->GetItem(i)->Inserted(cell, i);
  FStates = static_cast<TRPTableStates>(FStates & ~rptsFresh);
}
