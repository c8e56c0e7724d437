// Inserting and deleting rows and columns of the grid, keeping its invariants: cells
// that span the place of an insertion grow over the new positions; cells that span a
// deleted block shrink, and those that start inside it and reach out are split first.
#include <algorithm>
#include <vector>

#include "richtext/model/RPException.h"
#include "richtext/table/RPTableRows.h"

namespace {
constexpr char errRPInvalidRowCol[] = "Invalid row or column index";

[[noreturn]] void ThrowInvalidRowCol() { throw ERichPaneError(errRPInvalidRowCol); }

// Validates a deletion of count at index of size; cuts a count past the end.
void CheckDeletion(int32_t index, int32_t& count, int32_t size) {
  if (index < 0 || index >= size || count < 1 || (index == 0 && count > size)) ThrowInvalidRowCol();
  count = std::min(count, size - index);
}
}  // namespace

void TRPTableRows::InsertRows(int32_t index, int32_t count, int32_t copyIndex, bool divideSize) {
  if (index < 0 || index > GetRowCount() || copyIndex < -1 || copyIndex >= GetRowCount()) ThrowInvalidRowCol();
  if (count < 1) return;
  const int32_t colCount = GetColCount();
  std::vector<bool> widened(static_cast<size_t>(colCount), false);
  if (index < GetRowCount())
    for (int32_t c = colCount - 1; c >= 0;) {
      int32_t mr = 0, mc = 0;
      TRPTableCellData* cell = GetMainCell(index, c, mr, mc);
      if (mr < index) {
        for (int32_t k = mc; k < mc + cell->GetColSpan(); ++k) widened[static_cast<size_t>(k)] = true;
        cell->SetRowSpan(cell->GetRowSpan() + count);
      }
      c = mc - 1;
    }
  if (copyIndex >= index) copyIndex += count;
  for (int32_t k = 0; k < count; ++k) InsertRow(index + k, colCount);
  for (int32_t c = 0; c < colCount;) {
    if (widened[static_cast<size_t>(c)]) {
      for (int32_t k = 0; k < count; ++k) GetRow(index + k)->PutCell(c, nullptr);
      ++c;
      continue;
    }
    TRPTableCellData* source = copyIndex >= 0 ? GetCell(copyIndex, c) : nullptr;
    if (!source) {
      ++c;
      continue;
    }
    if (divideSize)
      source->BestHeight =
          static_cast<int32_t>(int64_t(source->BestHeight) * source->GetRowSpan() / (count + source->GetRowSpan()));
    const int32_t span = source->GetColSpan();
    for (int32_t k = 0; k < count; ++k) {
      TRPTableRow& row = *GetRow(index + k);
      row.GetItem(c)->AssignAttributes(*source, true, 1, source->GetRowSpan());
      row.GetItem(c)->SetColSpan(span);
      for (int32_t j = c + 1; j < c + span; ++j) row.PutCell(j, nullptr);
    }
    c += span;
  }
}

void TRPTableRows::InsertCols(int32_t index, int32_t count, int32_t copyIndex, bool divideSize) {
  const int32_t colCount = GetColCount();
  if (index < 0 || index > colCount || copyIndex < -1 || copyIndex >= colCount) ThrowInvalidRowCol();
  if (count < 1) return;
  const int32_t rowCount = GetRowCount();
  std::vector<bool> widened(static_cast<size_t>(rowCount), false);
  if (index < colCount)
    for (int32_t r = rowCount - 1; r >= 0;) {
      int32_t mr = 0, mc = 0;
      TRPTableCellData* cell = GetMainCell(r, index, mr, mc);
      if (mc < index) {
        for (int32_t k = mr; k < mr + cell->GetRowSpan(); ++k) widened[static_cast<size_t>(k)] = true;
        cell->SetColSpan(cell->GetColSpan() + count);
      }
      r = mr - 1;
    }
  for (int32_t r = 0; r < rowCount;) {
    TRPTableRow& row = *GetRow(r);
    if (widened[static_cast<size_t>(r)]) {
      for (int32_t k = 0; k < count; ++k) row.InsertEmpty(index);
      ++r;
      continue;
    }
    TRPTableCellData* source = copyIndex >= 0 ? row.GetItem(copyIndex) : nullptr;
    if (source && divideSize)
      source->BestWidth =
          static_cast<int32_t>(int64_t(source->BestWidth) * source->GetColSpan() / (count + source->GetColSpan()));
    for (int32_t k = 0; k < count; ++k) {
      TRPTableCellData* cell = row.InsertCell(index);
      if (!source) continue;
      cell->AssignAttributes(*source, true, source->GetColSpan(), 1);
      cell->SetRowSpan(source->GetRowSpan());
    }
    const int32_t span = source ? source->GetRowSpan() : 1;
    for (int32_t k = r + 1; k < r + span; ++k)
      for (int32_t j = 0; j < count; ++j) GetRow(k)->InsertEmpty(index);
    r += span;
  }
}

// Deleting along one axis: positions are (along, across), where along runs over the rows
// (byRows) or the columns being deleted.
void TRPTableRows::DeleteAlong(bool byRows, int32_t index, int32_t count, bool divideSize) {
  CheckDeletion(index, count, byRows ? GetRowCount() : GetColCount());
  const int32_t last = index + count - 1;
  const int32_t acrossCount = byRows ? GetColCount() : GetRowCount();
  auto mainCell = [&](int32_t along, int32_t across, int32_t& mainAlong, int32_t& mainAcross) {
    return byRows ? GetMainCell(along, across, mainAlong, mainAcross)
                  : GetMainCell(across, along, mainAcross, mainAlong);
  };
  auto span = [&](const TRPTableCellData& cell) { return byRows ? cell.GetRowSpan() : cell.GetColSpan(); };
  for (int32_t x = acrossCount - 1; x >= 0;) {
    int32_t ma = 0, mx = 0;
    const TRPTableCellData* cell = mainCell(last, x, ma, mx);
    if (ma >= index && ma + span(*cell) - 1 > last)
      SplitCell(byRows, byRows ? ma : mx, byRows ? mx : ma, index + count, divideSize);
    x = mx - 1;
  }
  for (int32_t x = acrossCount - 1; x >= 0;) {
    int32_t ma = 0, mx = 0;
    TRPTableCellData* cell = mainCell(index, x, ma, mx);
    if (ma < index) {
      const int32_t old = span(*cell);
      const int32_t kept = ma + old - 1 > last ? old - count : index - ma;
      int32_t& size = byRows ? cell->BestHeight : cell->BestWidth;
      if (divideSize) size = static_cast<int32_t>(int64_t(kept) * size / old);
      if (byRows)
        cell->SetRowSpan(kept);
      else
        cell->SetColSpan(kept);
    }
    x = mx - 1;
  }
  for (int32_t k = 0; k < count; ++k) {
    if (byRows)
      Delete(index);
    else
      for (int32_t r = 0; r < GetRowCount(); ++r) GetRow(r)->Delete(index);
  }
}

// What lies of the cell at (row, col) from row (column) at on becomes a new cell with
// the same attributes and its share of the preferred size.
void TRPTableRows::SplitCell(bool byRows, int32_t row, int32_t col, int32_t at, bool divideSize) {
  TRPTableCellData& old = *GetCell(row, col);
  const int32_t span = byRows ? old.GetRowSpan() : old.GetColSpan();
  const int32_t newSpan = (byRows ? row : col) + span - at;
  auto rest = std::make_unique<TRPTableCellData>(GetRow(byRows ? at : row));
  rest->AssignAttributes(old, true, 1, 1);
  int32_t& oldSize = byRows ? old.BestHeight : old.BestWidth;
  int32_t& restSize = byRows ? rest->BestHeight : rest->BestWidth;
  restSize = static_cast<int32_t>(int64_t(newSpan) * oldSize / span);
  if (divideSize) oldSize = static_cast<int32_t>(int64_t(span - newSpan) * oldSize / span);
  if (byRows) {
    rest->SetSpans(newSpan, old.GetColSpan());
    old.SetRowSpan(span - newSpan);
    GetRow(at)->PutCell(col, std::move(rest));
  } else {
    rest->SetSpans(old.GetRowSpan(), newSpan);
    old.SetColSpan(span - newSpan);
    GetRow(row)->PutCell(at, std::move(rest));
  }
}
