// The cell selection: an anchor cell and an extent from it in columns and rows. The
// selected block is the rectangle of the cells covering the anchor and the anchor plus
// the extent, each widened by its spans; a cell is selected when its area overlaps the
// block. Selected cells carry their Selected flag, which their document's painting reads.
#include <algorithm>

#include "richtext/model/RPStyle.h"
#include "richtext/table/RPTableItem.h"

bool TRPTableItemInfo::SelectCell(int32_t row, int32_t col) {
  TCustomRPFormattedData* data = GetFormattedDocument();
  if (!data || (data->GetOptions() & rpoAllowSelection) == 0 || (Options & rptoNoCellSelect) != 0) return false;
  FSelAnchorRow = row;
  FSelAnchorCol = col;
  FSelColExtent = FSelRowExtent = 0;
  FStates = static_cast<TRPTableStates>(FStates & ~rptsCellSelected);
  data->Deselect(this, false);
  data->SetInnerSelectionItem(this);
  UpdatePosition();
  FMousePosition = GetPosition();
  UpdateSelectedFlags();
  FMouseSelecting = true;
  return true;
}

void TRPTableItemInfo::Select(int32_t anchorRow, int32_t anchorCol, int32_t colExtent, int32_t rowExtent) {
  TCustomRPFormattedData* data = GetFormattedDocument();
  if (!data || (data->GetOptions() & rpoAllowSelection) == 0 || FRows->IsEmpty()) return;
  DestroyInplaceEditor();
  data->Deselect(this, false);
  data->SetInnerSelectionItem(this);
  FStates |= rptsCellSelected;
  FSelAnchorRow = anchorRow;
  FSelAnchorCol = anchorCol;
  FSelColExtent = colExtent;
  FSelRowExtent = rowExtent;
  UpdateSelectedFlags();
  data->InvalidateControl();
  data->SelectionChanged();
}

void TRPTableItemInfo::SelectRows(int32_t row, int32_t count) { Select(row, 0, FRows->GetColCount() - 1, count - 1); }

void TRPTableItemInfo::SelectCols(int32_t col, int32_t count) { Select(0, col, count - 1, FRows->GetRowCount() - 1); }

bool TRPTableItemInfo::GetSelectionBounds(int32_t& topRow, int32_t& leftCol, int32_t& rowCount, int32_t& colCount,
                                          bool includeEdited) {
  if ((FStates & rptsCellSelected) != 0 && (FSelAnchorRow < 0 || FSelAnchorCol < 0)) RemoveCellSelection();
  int32_t r1 = 0, c1 = 0, r2 = 0, c2 = 0;
  if ((FStates & rptsCellSelected) != 0) {
    const int32_t lastRow = FRows->GetRowCount() - 1, lastCol = FRows->GetColCount() - 1;
    const int32_t ar = std::min(FSelAnchorRow, lastRow), ac = std::min(FSelAnchorCol, lastCol);
    const int32_t er = std::clamp(ar + FSelRowExtent, 0, lastRow), ec = std::clamp(ac + FSelColExtent, 0, lastCol);
    int32_t mr1 = 0, mc1 = 0, mr2 = 0, mc2 = 0;
    const TRPTableCellData* a = FRows->GetMainCell(ar, ac, mr1, mc1);
    const TRPTableCellData* e = FRows->GetMainCell(er, ec, mr2, mc2);
    if (!a || !e) return false;
    r1 = std::min(mr1, mr2);
    c1 = std::min(mc1, mc2);
    r2 = std::max(mr1 + a->GetRowSpan(), mr2 + e->GetRowSpan()) - 1;
    c2 = std::max(mc1 + a->GetColSpan(), mc2 + e->GetColSpan()) - 1;
  } else if (includeEdited && FInplaceEditor && FEditedRow >= 0) {
    const TRPTableCellData* cell = GetCell(FEditedRow, FEditedCol);
    if (!cell) return false;
    r1 = FEditedRow;
    c1 = FEditedCol;
    r2 = r1 + cell->GetRowSpan() - 1;
    c2 = c1 + cell->GetColSpan() - 1;
  } else {
    return false;
  }
  topRow = r1;
  leftCol = c1;
  rowCount = r2 - r1 + 1;
  colCount = c2 - c1 + 1;
  return true;
}

bool TRPTableItemInfo::IsCellSelected(int32_t row, int32_t col) {
  if ((FStates & rptsCellSelected) == 0) return false;
  const TRPTableCellData* cell = GetCell(row, col);
  int32_t top = 0, left = 0, rowCount = 0, colCount = 0;
  if (!cell || !GetSelectionBounds(top, left, rowCount, colCount, false)) return false;
  return row < top + rowCount && row + cell->GetRowSpan() > top && col < left + colCount &&
         col + cell->GetColSpan() > left;
}

void TRPTableItemInfo::UpdateSelectedFlags() {
  for (int32_t r = 0; r < FRows->GetRowCount(); ++r)
    for (int32_t c = 0; c < FRows->GetColCount(); ++c) {
      TRPTableCellData* cell = GetCell(r, c);
      if (!cell) continue;
      if (IsCellSelected(r, c)) {
        cell->Selected = true;
      } else if (r != FSelAnchorRow || c != FSelAnchorCol) {
        if (cell->GetRPData() == cell) cell->Deselect(nullptr, false);
        cell->Selected = false;
      } else {
        cell->Selected = false;
      }
    }
  if (FInplaceEditor && FEditedRow >= 0) FInplaceEditor->SetCellSelected(IsCellSelected(FEditedRow, FEditedCol));
  if (TCustomRPFormattedData* data = GetFormattedDocument()) data->InvalidateControl();
}

void TRPTableItemInfo::RemoveCellSelection() {
  DestroyInplaceEditor();
  FStates = static_cast<TRPTableStates>(FStates & ~rptsCellSelected);
  FSelAnchorRow = FSelAnchorCol = -1;
  FSelColExtent = FSelRowExtent = 0;
  FMouseSelecting = false;
  UpdateSelectedFlags();
}

TColor TRPTableItemInfo::GetCellSelectionColor() const {
  const TCustomRPFormattedData* data = GetFormattedDocument();
  const TRPStyle* style = data ? data->GetStyleSheet() : nullptr;
  if (!style) return clHighlight;
  return data->IsFocused() ? style->SelColor : style->InactiveSelColor;
}
