// The mouse over a table on the screen: which cell or border lies under it and the cursor
// that shows it, the cell selection made by dragging over cells, the rows and columns
// selected from the outer borders, resizing by dragging an inner border, and the presses
// that open a cell's editor in place.
//
// The document hands the events over in its own coordinates; the table works in its own
// (relative to its top-left corner) from the position of its draw item. While a border
// is dragged the table holds the document's mouse capture and an XOR guide line follows
// the pointer; the release sets the preferred sizes of the cells around the border.
#include <algorithm>
#include <cmath>

#include "platform/base/ScopeExit.h"
#include "richtext/table/RPTableHooks.h"
#include "richtext/table/RPTableItem.h"

namespace {
// Whether v lies within max(band div 2, 2) pixels of the band's middle line.
bool InBand(int32_t v, int32_t middle, int32_t band) { return std::abs(v - middle) <= std::max(band / 2, 2); }

// The window of the document's root.
IRPDocumentView* RootView(TCustomRPFormattedData& data) {
  auto* root = dynamic_cast<TCustomRPFormattedData*>(data.GetAbsoluteRootData());
  return root ? root->GetDocumentView() : nullptr;
}

// The item's draw item position in its document.
bool TableOrigin(TCustomRPFormattedData& data, int32_t itemNo, int32_t& left, int32_t& top) {
  return itemNo >= 0 && data.GetItemCoords(itemNo, left, top);
}
}  // namespace

TRPTableItemInfo::THitTest TRPTableItemInfo::HitTest(int32_t x, int32_t y) {
  THitTest hit;
  const TRPTableItemFormattingInfo& info = *FFormatting;
  if (FRows->IsEmpty() || info.RowStarts.Count() != FRows->GetRowCount() ||
      info.ColStarts.Count() != FRows->GetColCount())
    return hit;
  auto inside = [&](const TRPTableCellData& cell) {
    return x >= cell.Left + 1 && x < cell.Left + cell.Width - 1 && y >= cell.Top + 1 && y < cell.Top + cell.Height - 1;
  };
  if (FLastHitRow >= 0 && FLastHitRow < FRows->GetRowCount() && FLastHitCol >= 0 && FLastHitCol < FRows->GetColCount())
    if (const TRPTableCellData* cell = GetCell(FLastHitRow, FLastHitCol); cell && inside(*cell)) {
      hit.Row = FLastHitRow;
      hit.Col = FLastHitCol;
      return hit;
    }
  int32_t row = 0, col = 0;
  while (row + 1 < info.RowStarts.Count() && info.RowStarts[row + 1] <= y) ++row;
  while (col + 1 < info.ColStarts.Count() && info.ColStarts[col + 1] <= x) ++col;
  int32_t mainRow = 0, mainCol = 0;
  if (const TRPTableCellData* cell = FRows->GetMainCell(row, col, mainRow, mainCol); cell && inside(*cell)) {
    hit.Row = FLastHitRow = mainRow;
    hit.Col = FLastHitCol = mainCol;
    return hit;
  }
  const int32_t innerH = ScaleX(2 * FCellBorderWidth + FCellHSpacing);
  const int32_t innerV = ScaleY(2 * FCellBorderWidth + FCellVSpacing);
  for (int32_t c = 1; c < info.ColStarts.Count(); ++c)
    if (InBand(x, info.ColStarts[c] - (innerH + 1) / 2, innerH)) {
      hit.ColBorder = c;
      break;
    }
  for (int32_t r = 1; r < info.RowStarts.Count(); ++r)
    if (InBand(y, info.RowStarts[r] - (innerV + 1) / 2, innerV)) {
      hit.RowBorder = r;
      break;
    }
  const int32_t outerH = ScaleX(FBorderWidth + FBorderHSpacing + FCellBorderWidth);
  const int32_t outerV = ScaleY(FBorderWidth + FBorderVSpacing + FCellBorderWidth);
  hit.LeftEdge = InBand(x, outerH / 2, outerH);
  hit.TopEdge = InBand(y, outerV / 2, outerV);
  return hit;
}

TCursor TRPTableItemInfo::GetCursorAt(int32_t x, int32_t y) {
  const THitTest hit = HitTest(x, y);
  const TCustomRPFormattedData* data = GetFormattedDocument();
  const bool editable = IsEditable();
  const bool selectable = data && (data->GetOptions() & rpoAllowSelection) != 0;
  if (hit.LeftEdge && (Options & rptoRowSelect) != 0 && selectable) return crRPTableSelectRow;
  if (hit.ColBorder > 0 && editable && (Options & rptoColSizing) != 0) return crHSplit;
  if (hit.TopEdge && (Options & rptoColSelect) != 0 && selectable) return crRPTableSelectCol;
  if (hit.RowBorder > 0 && editable && (Options & rptoRowSizing) != 0) return crVSplit;
  return crArrow;
}

bool TRPTableItemInfo::IsEditable() const {
  if (!FindEditHost()) return false;
  const auto& readOnly = RPTableHooks().IsEditorReadOnly;
  return !readOnly || !readOnly(*FRows->MainRPData);
}

bool TRPTableItemInfo::MouseMove(TCustomRPFormattedData& data, int32_t itemNo, TShiftState shift, int32_t x,
                                 int32_t y) {
  if (FRows->IsEmpty() || FBusy > 0) return true;
  if (FResizeIndex > 0) return true;  // the guide follows the document's XOR figure
  if (data.IsXorDrawn() && !data.IsXorDrawHandler(this)) return true;
  int32_t left = 0, top = 0;
  if (!TableOrigin(data, itemNo, left, top)) return false;
  if (FInplaceEditor) {
    IRPTableInplaceEditor& editor = *FInplaceEditor;
    if (editor.PassMouseMove(shift, x - data.GetHOffs() - editor.GetLeft(), y - data.GetVOffs() - editor.GetTop()))
      return true;
  }
  const int32_t tx = x - left, ty = y - top;
  const THitTest hit = HitTest(tx, ty);
  if (hit.Row >= 0) {
    if (FMouseSelecting && (shift & ssLeft) != 0) {
      const int32_t colExtent = hit.Col - FSelAnchorCol, rowExtent = hit.Row - FSelAnchorRow;
      const bool wasSelected = (FStates & rptsCellSelected) != 0;
      if (colExtent != FSelColExtent || rowExtent != FSelRowExtent || !wasSelected) {
        FSelColExtent = colExtent;
        FSelRowExtent = rowExtent;
        if (colExtent != 0 || rowExtent != 0)
          FStates |= rptsCellSelected;
        else
          FStates = static_cast<TRPTableStates>(FStates & ~rptsCellSelected);
        if (wasSelected != ((FStates & rptsCellSelected) != 0) || wasSelected) UpdateSelectedFlags();
      }
    }
    if (!FMouseSelecting || (FStates & rptsCellSelected) == 0) {
      TRPTableCellData& cell = *GetCell(hit.Row, hit.Col);
      const int32_t pad = ScaleX(FCellPadding);
      if (!FInplaceEditor && tx >= cell.Left + pad && tx < cell.Left + cell.Width - pad && ty >= cell.Top + pad &&
          ty < cell.Top + cell.Height - pad) {
        cell.MouseMove(shift, x - data.GetHOffs(), y - data.GetVOffs());
        return true;
      }
    }
  }
  if (IRPDocumentView* view = RootView(data)) view->SetCursor(GetCursorAt(tx, ty));
  return true;
}

bool TRPTableItemInfo::MouseDown(TCustomRPFormattedData& data, int32_t itemNo, TMouseButton button, TShiftState shift,
                                 int32_t x, int32_t y) {
  if (FRows->IsEmpty() || FBusy > 0) return true;
  int32_t left = 0, top = 0;
  if (!TableOrigin(data, itemNo, left, top)) return false;
  const int32_t tx = x - left, ty = y - top;
  const THitTest hit = HitTest(tx, ty);
  const bool editable = IsEditable();
  if (hit.Row >= 0 && editable && (Options & rptoEditing) != 0 && (button == mbLeft || button == mbRight)) {
    if (button == mbRight && IsCellSelected(hit.Row, hit.Col)) return true;
    CreateInplaceEditor(itemNo, hit.Row, hit.Col, false, false, false, (shift & ssCtrl) != 0);
    if (FInplaceEditor && FEditedRow == hit.Row && FEditedCol == hit.Col) {
      IRPTableInplaceEditor& editor = *FInplaceEditor;
      editor.PassMouseDown(button, shift, x - data.GetHOffs() - editor.GetLeft(),
                           y - data.GetVOffs() - editor.GetTop());
    }
    return true;
  }
  if (hit.Row >= 0) {
    DestroyInplaceEditor();
    TRPTableCellData& cell = *GetCell(hit.Row, hit.Col);
    if (button == mbLeft) {
      ChooseCell(hit.Row, hit.Col);
      FRecentRow = hit.Row;
      FRecentCol = hit.Col;
    }
    const int32_t pad = ScaleX(FCellPadding);
    if (tx >= cell.Left + pad && tx < cell.Left + cell.Width - pad && ty >= cell.Top + pad &&
        ty < cell.Top + cell.Height - pad)
      cell.MouseDown(button, shift, x - data.GetHOffs(), y - data.GetVOffs());
    if (button == mbLeft) SelectCell(hit.Row, hit.Col);
    return true;
  }
  const TRPTableOptions frameOptions = rptoRowSizing | rptoColSizing | rptoRowSelect | rptoColSelect;
  if (button == mbLeft && (Options & frameOptions) != 0) {
    const bool colResize = hit.ColBorder > 0 && editable && (Options & rptoColSizing) != 0;
    const bool rowResize = !colResize && hit.RowBorder > 0 && editable && (Options & rptoRowSizing) != 0;
    if (colResize || rowResize) {
      SaveAndDestroyInplaceEditor();
      const TRPTableItemFormattingInfo& info = *FFormatting;
      if (colResize) {
        const int32_t inner = ScaleX(2 * FCellBorderWidth + FCellHSpacing);
        FResizeIndex = hit.ColBorder;
        FResizeStart = tx;
        FResizeOffset = tx - (info.ColStarts[hit.ColBorder] - (inner + 1) / 2);
        FStates |= rptsResizingColumn;
        if ((shift & ssShift) != 0)
          FStates |= rptsKeepNeighbour;
        else
          FStates = static_cast<TRPTableStates>(FStates & ~rptsKeepNeighbour);
      } else {
        const int32_t inner = ScaleY(2 * FCellBorderWidth + FCellVSpacing);
        FResizeIndex = hit.RowBorder;
        FResizeStart = ty;
        FResizeOffset = ty - (info.RowStarts[hit.RowBorder] - (inner + 1) / 2);
        FStates = static_cast<TRPTableStates>(FStates & ~(rptsResizingColumn | rptsKeepNeighbour));
      }
      FMousePosition = TPoint{left - data.GetHOffs(), top - data.GetVOffs()};
      int32_t captureLeft = 0, captureTop = 0;
      data.SetMouseCapture(this, captureLeft, captureTop);
      data.SetXorDrawHandler(this, [this](TCanvas& canvas, int32_t gx, int32_t gy) {
        FResizeGuide = (FStates & rptsResizingColumn) != 0 ? gx : gy;
        DrawResizeGuide(canvas, gx, gy);
      });
      data.MoveXorDrawing(x - data.GetHOffs(), y - data.GetVOffs());
      return true;
    }
    if (hit.TopEdge && (Options & rptoColSelect) != 0 && tx >= 0) {
      int32_t col = 0;
      while (col + 1 < FFormatting->ColStarts.Count() && FFormatting->ColStarts[col + 1] <= tx) ++col;
      SelectCols(col, 1);
      return true;
    }
    if (hit.LeftEdge && (Options & rptoRowSelect) != 0 && ty >= 0) {
      int32_t row = 0;
      while (row + 1 < FFormatting->RowStarts.Count() && FFormatting->RowStarts[row + 1] <= ty) ++row;
      SelectRows(row, 1);
      return true;
    }
  }
  DestroyInplaceEditor();
  return true;
}

void TRPTableItemInfo::DrawResizeGuide(TCanvas& canvas, int32_t x, int32_t y) {
  const TCustomRPFormattedData* data = GetFormattedDocument();
  if (!data) return;
  canvas.Pen().SetMode(pmNot);
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetStyle(psSolid);
  if ((FStates & rptsResizingColumn) != 0) {
    canvas.MoveTo(x, 0);
    canvas.LineTo(x, data->GetHeight());
  } else {
    canvas.MoveTo(0, y);
    canvas.LineTo(data->GetWidth(), y);
  }
  canvas.Pen().SetMode(pmCopy);
}

bool TRPTableItemInfo::MouseUp(TCustomRPFormattedData& data, int32_t itemNo, TMouseButton button, TShiftState shift,
                               int32_t x, int32_t y) {
  if (FRows->IsEmpty() || FBusy > 0) return true;
  int32_t left = 0, top = 0;
  if (!TableOrigin(data, itemNo, left, top)) {
    data.ReleaseMouseCapture(this);
    return false;
  }
  if (FInplaceEditor && FResizeIndex <= 0) {
    IRPTableInplaceEditor& editor = *FInplaceEditor;
    if (editor.PassMouseUp(button, shift, x - data.GetHOffs() - editor.GetLeft(),
                           y - data.GetVOffs() - editor.GetTop())) {
      if (button == mbLeft) FMouseSelecting = false;
      return true;
    }
  }
  const int32_t tx = x - left, ty = y - top;
  if (button == mbLeft && FResizeIndex > 0) {
    data.EraseXorDrawing();
    data.RemoveXorDrawHandler(this);
    data.ReleaseMouseCapture(this);
    const int32_t position = (FStates & rptsResizingColumn) != 0 ? tx : ty;
    if (position != FResizeStart) ApplyResize(position - FResizeOffset);
    FResizeIndex = 0;
    UpdatePosition();
    ReopenInplaceEditor();
    return true;
  }
  const THitTest hit = HitTest(tx, ty);
  TRPTableCellData* cell = hit.Row >= 0 ? GetCell(hit.Row, hit.Col) : nullptr;
  const int32_t pad = ScaleX(FCellPadding);
  const bool inContent = cell && tx >= cell->Left + pad && tx < cell->Left + cell->Width - pad &&
                         ty >= cell->Top + pad && ty < cell->Top + cell->Height - pad;
  if (button == mbLeft) {
    FMouseSelecting = false;
    if (cell && !FInplaceEditor) cell->MouseUp(button, shift, x - data.GetHOffs(), y - data.GetVOffs());
    data.SelectionChanged();
    return true;
  }
  if (inContent && !FInplaceEditor) cell->MouseUp(button, shift, x - data.GetHOffs(), y - data.GetVOffs());
  if (button == mbRight && cell && (data.GetOptions() & rpoRClickDeselects) != 0 && !IsCellSelected(hit.Row, hit.Col) &&
      !(hit.Row == FRecentRow && hit.Col == FRecentCol))
    data.SetSelectionBounds(itemNo, 0, itemNo, 1);
  return true;
}

// --- Resizing ------------------------------------------------------------------------------

void TRPTableItemInfo::ApplyResize(int32_t position) {
  const TRPTableItemFormattingInfo& info = *FFormatting;
  const int32_t index = FResizeIndex;
  const int32_t padding = 2 * FCellPadding;
  BeginUpdateGroup();
  {
    const TScopeExit endGroup([this] { EndUpdateGroup(); });
    if ((FStates & rptsResizingColumn) != 0) {
      const int32_t col = index - 1;
      const int32_t colCount = FRows->GetColCount();
      const int32_t overhead =
          (colCount - 1) * FCellHSpacing + 2 * (FBorderWidth + FBorderHSpacing) + 2 * colCount * FCellBorderWidth;
      const int32_t width =
          std::max(position - info.ColStarts[col] - padding - (FCellHSpacing / 2 + FCellBorderWidth), 1);
      const int32_t delta = width - info.ColWidths[col];
      SetColumnWidth(col, width, FRows->HasPercentWidth(col), overhead);
      if (index < colCount && (FStates & rptsKeepNeighbour) == 0 && !FRows->HasPercentWidth(index))
        SetColumnWidth(index, std::max(info.ColWidths[index] - delta, 1), false, overhead);
    } else {
      const int32_t row = index - 1;
      SetRowHeight(row, position - info.RowStarts[row] - padding - (FCellVSpacing / 2 + FCellBorderWidth));
    }
  }
  Changed();
  if (auto* root = dynamic_cast<TCustomRPFormattedData*>(FRows->MainRPData ? FRows->MainRPData->GetAbsoluteRootData()
                                                                           : nullptr)) {
    root->FormatDocument();
    root->InvalidateControl();
  }
}

void TRPTableItemInfo::SetColumnWidth(int32_t col, int32_t width, bool percent, int32_t overhead) {
  const TRPTableItemFormattingInfo& info = *FFormatting;
  const int32_t area = info.Width - overhead;
  auto value = [&](int32_t contentWidth) -> int32_t {
    if (!percent || area <= 0) return std::max(contentWidth, 1);
    return std::min(-static_cast<int32_t>(std::lround((contentWidth + 2.0 * FCellPadding) * 100.0 / area)), -1);
  };
  bool hasSingle = false;
  for (int32_t r = 0; r < FRows->GetRowCount(); ++r)
    if (const TRPTableCellData* cell = GetCell(r, col); cell && cell->GetColSpan() == 1) hasSingle = true;
  const int32_t right = info.ColStarts[col] + width;
  for (int32_t r = 0; r < FRows->GetRowCount(); ++r) {
    int32_t mainRow = 0, mainCol = 0;
    const TRPTableCellData* cell = FRows->GetMainCell(r, col, mainRow, mainCol);
    if (!cell || mainRow != r) continue;
    if (cell->GetColSpan() == 1) {
      if (cell->BestWidth != value(width)) SetCellBestWidth(value(width), r, mainCol);
    } else if (mainCol + cell->GetColSpan() - 1 == col) {
      const int32_t merged = hasSingle ? 0 : value(right - info.ColStarts[mainCol]);
      if (cell->BestWidth != merged) SetCellBestWidth(merged, r, mainCol);
    }
  }
}

void TRPTableItemInfo::SetRowHeight(int32_t row, int32_t height) {
  const TRPTableItemFormattingInfo& info = *FFormatting;
  height = std::max(height, 0);
  bool hasSingle = false;
  for (int32_t c = 0; c < FRows->GetColCount(); ++c)
    if (const TRPTableCellData* cell = GetCell(row, c); cell && cell->GetRowSpan() == 1) hasSingle = true;
  const int32_t bottom = info.RowStarts[row] + height;
  for (int32_t c = 0; c < FRows->GetColCount(); ++c) {
    int32_t mainRow = 0, mainCol = 0;
    const TRPTableCellData* cell = FRows->GetMainCell(row, c, mainRow, mainCol);
    if (!cell || mainCol != c) continue;
    if (cell->GetRowSpan() == 1) {
      if (cell->BestHeight != height) SetCellBestHeight(height, row, c);
    } else if (mainRow + cell->GetRowSpan() - 1 == row) {
      const int32_t merged = hasSingle ? 0 : std::max(bottom - info.RowStarts[mainRow], 0);
      if (cell->BestHeight != merged) SetCellBestHeight(merged, mainRow, c);
    }
  }
}
