// Inserting and deleting rows and columns of the grid, keeping its invariants: cells
// that span the place of an insertion grow over the new positions; cells that span a
// deleted block shrink, and those that start inside it and reach out are split first.
//
// Each operation is a sequence of the reversible steps of RPTableGridSteps.cpp, each
// noted before it is taken when the table's editor records undo; preferred sizes and
// copied attributes change through the table's named cell properties, which the editor
// records itself.
#include <algorithm>
#include <vector>

#include "richtext/model/RPException.h"
#include "richtext/table/RPTableItem.h"
#include "richtext/table/RPTableRows.h"

namespace {
constexpr char errRPInvalidRowCol[] = "Invalid row or column index";

[[noreturn]] void ThrowInvalidRowCol() { throw ERichPaneError(errRPInvalidRowCol); }

// Validates a deletion of count at index of size; cuts a count past the end.
void CheckDeletion(int32_t index, int32_t& count, int32_t size) {
  if (index < 0 || index >= size || count < 1 || (index == 0 && count > size)) ThrowInvalidRowCol();
  count = std::min(count, size - index);
}

int32_t Scaled(int32_t size, int32_t numerator, int32_t denominator) {
  return static_cast<int32_t>(int64_t(size) * numerator / denominator);
}
}  // namespace

IRPTableGridNotes* TRPTableRows::Notes() const { return Table ? Table->GetGridNotes() : nullptr; }

void TRPTableRows::SetCellSize(int32_t row, int32_t col, bool width, int32_t value) {
  if (Table) {
    Table->SetCellIntPropertyByName(-1, width ? "BestWidth" : "BestHeight", value, row, col, true, width);
    return;
  }
  TRPTableCellData& cell = *GetCell(row, col);
  (width ? cell.BestWidth : cell.BestHeight) = value;
}

void TRPTableRows::CopyCellAttributes(int32_t row, int32_t col, const TRPTableCellData& source, int32_t colDivisor,
                                      int32_t rowDivisor) {
  if (Table)
    Table->CopyCellAttributes(-1, row, col, source, true, colDivisor, rowDivisor);
  else
    GetCell(row, col)->AssignAttributes(source, true, colDivisor, rowDivisor);
}

// A copy of a cell of the copied row spreads over the columns it spans, but never over
// a column under a cell that grew over the new rows: that position is the grown cell's.
void TRPTableRows::InsertRows(int32_t index, int32_t count, int32_t copyIndex, bool divideSize) {
  if (index < 0 || index > GetRowCount() || copyIndex < -1 || copyIndex >= GetRowCount()) ThrowInvalidRowCol();
  if (count < 1) return;
  IRPTableGridNotes* notes = Notes();
  const TRPTableNotesBracket bracket(notes);
  const int32_t colCount = GetColCount();
  std::vector<bool> widened(static_cast<size_t>(colCount), false);
  if (index < GetRowCount())
    for (int32_t c = colCount - 1; c >= 0;) {
      int32_t mr = 0, mc = 0;
      const TRPTableCellData* cell = GetMainCell(index, c, mr, mc);
      if (mr < index) {
        for (int32_t k = mc; k < mc + cell->GetColSpan(); ++k) widened[static_cast<size_t>(k)] = true;
        SetSpan(mr, mc, cell->GetRowSpan() + count, false);
      }
      c = mc - 1;
    }
  if (copyIndex >= index) copyIndex += count;
  if (notes) notes->InsertTableRows(index, count);
  InsertRowsRaw(index, count);
  for (int32_t c = 0; c < colCount;) {
    if (widened[static_cast<size_t>(c)]) {
      if (notes) notes->FreeEmptyCell(index, c, 1, count);
      FreeCellsInArea(index, c, 1, count);
      ++c;
      continue;
    }
    const TRPTableCellData* source = copyIndex >= 0 ? GetCell(copyIndex, c) : nullptr;
    if (!source) {
      ++c;
      continue;
    }
    int32_t span = 1;
    while (span < source->GetColSpan() && !widened[static_cast<size_t>(c + span)]) ++span;
    if (divideSize)
      SetCellSize(copyIndex, c, false, Scaled(source->BestHeight, source->GetRowSpan(), count + source->GetRowSpan()));
    for (int32_t k = 0; k < count; ++k) {
      CopyCellAttributes(index + k, c, *source, 1, source->GetRowSpan());
      if (span == 1) continue;
      if (notes) notes->SpreadOverEmptyCells(index + k, c, span);
      SpreadOverEmptyCells(index + k, c, span);
    }
    c += span;
  }
}

// The copies of a cell of the copied column take its row span, but never down into a
// row under a cell that grew over the new columns.
void TRPTableRows::InsertCols(int32_t index, int32_t count, int32_t copyIndex, bool divideSize) {
  const int32_t colCount = GetColCount();
  if (index < 0 || index > colCount || copyIndex < -1 || copyIndex >= colCount) ThrowInvalidRowCol();
  if (count < 1) return;
  IRPTableGridNotes* notes = Notes();
  const TRPTableNotesBracket bracket(notes);
  const int32_t rowCount = GetRowCount();
  std::vector<bool> widened(static_cast<size_t>(rowCount), false);
  if (index < colCount)
    for (int32_t r = rowCount - 1; r >= 0;) {
      int32_t mr = 0, mc = 0;
      const TRPTableCellData* cell = GetMainCell(r, index, mr, mc);
      if (mc < index) {
        for (int32_t k = mr; k < mr + cell->GetRowSpan(); ++k) widened[static_cast<size_t>(k)] = true;
        SetSpan(mr, mc, cell->GetColSpan() + count, true);
      }
      r = mr - 1;
    }
  for (int32_t r = 0; r < rowCount;) {
    if (widened[static_cast<size_t>(r)]) {
      if (notes) notes->InsertEmptyCell(r, index, count, 1);
      InsertEmptyInArea(r, index, count, 1);
      ++r;
      continue;
    }
    const TRPTableCellData* source = copyIndex >= 0 ? GetCell(r, copyIndex) : nullptr;
    int32_t span = 1;
    if (source)
      while (span < source->GetRowSpan() && !widened[static_cast<size_t>(r + span)]) ++span;
    if (source && divideSize)
      SetCellSize(r, copyIndex, true, Scaled(source->BestWidth, source->GetColSpan(), count + source->GetColSpan()));
    for (int32_t k = 0; k < count; ++k) {
      if (notes) notes->InsertTableCell(r, index);
      InsertCellRaw(r, index);
      if (!source) continue;
      CopyCellAttributes(r, index, *source, source->GetColSpan(), 1);
      SetSpan(r, index, span, false);
    }
    if (span > 1) {
      if (notes) notes->InsertEmptyCell(r + 1, index, count, span - 1);
      InsertEmptyInArea(r + 1, index, count, span - 1);
    }
    r += span;
  }
}

// Deleting along one axis: positions are (along, across), where along runs over the rows
// (byRows) or the columns being deleted.
void TRPTableRows::DeleteAlong(bool byRows, int32_t index, int32_t count, bool divideSize) {
  CheckDeletion(index, count, byRows ? GetRowCount() : GetColCount());
  IRPTableGridNotes* notes = Notes();
  const TRPTableNotesBracket bracket(notes);
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
    if (ma >= index && ma + span(*cell) - 1 > last) {
      const int32_t row = byRows ? ma : mx, col = byRows ? mx : ma;
      if (notes && byRows) notes->CellSplitHorz(row, col, index + count, cell->BestHeight, divideSize);
      if (notes && !byRows) notes->CellSplitVert(row, col, index + count, cell->BestWidth, divideSize);
      SplitCell(byRows, row, col, index + count, divideSize);
    }
    x = mx - 1;
  }
  for (int32_t x = acrossCount - 1; x >= 0;) {
    int32_t ma = 0, mx = 0;
    const TRPTableCellData* cell = mainCell(index, x, ma, mx);
    if (ma < index) {
      const int32_t row = byRows ? ma : mx, col = byRows ? mx : ma;
      const int32_t old = span(*cell);
      const int32_t kept = ma + old - 1 > last ? old - count : index - ma;
      if (divideSize) SetCellSize(row, col, !byRows, Scaled(byRows ? cell->BestHeight : cell->BestWidth, kept, old));
      SetSpan(row, col, kept, !byRows);
    }
    x = mx - 1;
  }
  if (byRows)
    RemoveRows(index, count, notes ? notes->DeleteRows(index, count) : nullptr);
  else
    RemoveCols(index, count, notes ? notes->DeleteCols(index, count) : nullptr);
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
  restSize = Scaled(oldSize, newSpan, span);
  if (divideSize) oldSize = Scaled(oldSize, span - newSpan, span);
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
