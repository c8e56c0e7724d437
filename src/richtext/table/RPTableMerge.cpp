// Merging cells of the grid: the checks that keep the grid's invariants and the move of
// the merged cells' content into the top-left cell.
#include <algorithm>

#include "richtext/model/RPException.h"
#include "richtext/model/RPStyle.h"
#include "richtext/table/RPTableHooks.h"
#include "richtext/table/RPTableRows.h"

namespace {
constexpr char errRPMergeParameters[] = "Parameters for cell merging are not correct";

// Combines two row values: a percentage (negative) beats pixels; of two percentages the
// larger share wins, of two pixel values the wider.
TRPHTMLLength CombineBestWidths(TRPHTMLLength a, TRPHTMLLength b) {
  if ((a < 0) != (b < 0)) return a < 0 ? a : b;
  return a < 0 ? std::min(a, b) : std::max(a, b);
}
}  // namespace

bool TRPTableRows::ClampMergeArea(int32_t topRow, int32_t leftCol, int32_t& colCount, int32_t& rowCount) const {
  if (topRow + rowCount > GetRowCount()) rowCount = GetRowCount() - topRow;
  if (leftCol + colCount > GetRow(topRow)->Count()) colCount = GetRow(topRow)->Count() - leftCol;
  if (colCount <= 1 && rowCount <= 1) return false;
  if (colCount < 1 || rowCount < 1) throw ERichPaneError(errRPMergeParameters);
  const TRPTableCellData* cell = GetCell(topRow, leftCol);
  return cell && (cell->GetRowSpan() < rowCount || cell->GetColSpan() < colCount);
}

bool TRPTableRows::CanMergeCells(int32_t topRow, int32_t leftCol, int32_t colCount, int32_t rowCount,
                                 bool allowCoveredLines) const {
  if (!ClampMergeArea(topRow, leftCol, colCount, rowCount)) return false;
  const int32_t bottomRow = topRow + rowCount - 1;
  const int32_t rightCol = leftCol + colCount - 1;
  int32_t mr = 0, mc = 0;
  const TRPTableCellData* topLeft = GetMainCell(topRow, leftCol, mr, mc);
  bool differs = false;
  for (int32_t r = topRow; r <= bottomRow; ++r)
    for (int32_t c = leftCol; c <= rightCol; ++c) {
      const TRPTableCellData* cell = GetMainCell(r, c, mr, mc);
      if (!cell || mr < topRow || mc < leftCol || mr + cell->GetRowSpan() - 1 > bottomRow ||
          mc + cell->GetColSpan() - 1 > rightCol)
        return false;
      differs = differs || cell != topLeft;
    }
  if (allowCoveredLines) return differs;
  // A merge may not leave a whole column or row made of covered positions.
  for (int32_t c = leftCol + 1; c <= rightCol; ++c) {
    bool ownCell = false;
    for (int32_t r = 0; r < GetRowCount() && !ownCell; ++r) ownCell = (r < topRow || r > bottomRow) && GetCell(r, c);
    if (!ownCell) return false;
  }
  for (int32_t r = topRow + 1; r <= bottomRow; ++r) {
    bool ownCell = false;
    for (int32_t c = 0; c < GetRow(r)->Count() && !ownCell; ++c)
      ownCell = (c < leftCol || c > rightCol) && GetCell(r, c);
    if (!ownCell) return false;
  }
  return true;
}

void TRPTableRows::Beep() const {
  const auto* style = MainRPData ? dynamic_cast<const TRPStyle*>(MainRPData->GetRPStyle()) : nullptr;
  if (style && style->UseSound && RPTableHooks().Beep) RPTableHooks().Beep();
}

bool TRPTableRows::MergeCells(int32_t topRow, int32_t leftCol, int32_t colSpan, int32_t rowSpan, bool allowCoveredLines,
                              bool setBestWidth) {
  if (!ClampMergeArea(topRow, leftCol, colSpan, rowSpan)) return false;
  if (!CanMergeCells(topRow, leftCol, colSpan, rowSpan, allowCoveredLines)) {
    Beep();
    return false;
  }
  IRPTableGridNotes* notes = Notes();
  const TRPTableNotesBracket bracket(notes);
  const TRPTableCellData& target = *GetCell(topRow, leftCol);
  TRPTableMergeHolder* holder = notes ? notes->Merge(topRow, leftCol, colSpan, rowSpan, target.GetColSpan(),
                                                     target.GetRowSpan(), target.BestWidth)
                                      : nullptr;
  DoMergeCells(topRow, leftCol, colSpan, rowSpan, setBestWidth, holder);
  return true;
}

TRPHTMLLength TRPTableRows::GetBestWidthOfArea(int32_t topRow, int32_t leftCol, int32_t colCount,
                                               int32_t rowCount) const {
  TRPHTMLLength result = 0;
  for (int32_t r = topRow; r < topRow + rowCount; ++r) {
    TRPHTMLLength rowValue = 0;
    for (int32_t c = leftCol; c < leftCol + colCount; ++c) {
      const TRPTableCellData* cell = GetCell(r, c);
      if (!cell) continue;
      if (cell->BestWidth > 0 && rowValue >= 0)
        rowValue += cell->BestWidth;
      else if (cell->BestWidth < 0)
        rowValue = std::min(rowValue, 0) + cell->BestWidth;
    }
    result = r == topRow ? rowValue : CombineBestWidths(result, rowValue);
  }
  return result;
}
