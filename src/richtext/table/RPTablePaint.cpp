// Table painting: background, rules between columns and rows, the table's border, and
// each cell's fill, content and border, on the screen (all rows from the first in view)
// or for one printed part of rows with the heading rows repeated above it.
//
// Rows of a printed part are moved up so that the part's first row follows the heading
// rows (or the table's top space) directly: RowShift gives each painted row's offset.
#include <algorithm>

#include "platform/base/ScopeExit.h"
#include "platform/graphics/DeviceContext.h"
#include "richtext/layout/RPDrawLines.h"
#include "richtext/model/RPColorModes.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/table/RPTableItem.h"
#include "richtext/table/RPTablePrint.h"

namespace {
// The dotted grid that shows invisible borders on the screen; psClear hides it.
TPenStyle GridPenStyle = psDot;

bool Intersects(const TRect& a, const TRect& b) {
  TRect r;
  return IntersectRect(&r, a, b);
}

void FillBand(TCanvas& canvas, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (right > left && bottom > top) canvas.FillRect(Rect(left, top, right, bottom));
}

// The three-dimensional styles' colours of the top-left and the bottom-right sides.
void Style3DColors(TRPTableBorderStyle style, TColor lightColor, TColor color, TColor backgroundColor, TColor& topLeft,
                   TColor& bottomRight) {
  const TColor highlight = backgroundColor == clBtnHighlight ? clBtnFace : clBtnHighlight;
  switch (style) {
    case rptbRaised:
      topLeft = highlight;
      bottomRight = clBtnShadow;
      break;
    case rptbLowered:
      topLeft = clBtnShadow;
      bottomRight = highlight;
      break;
    case rptbRaisedColor:
      topLeft = lightColor;
      bottomRight = color;
      break;
    default:
      topLeft = color;
      bottomRight = lightColor;
      break;
  }
}
}  // namespace

void TRPTableItemInfo::Paint(int32_t x, int32_t y, TCanvas& canvas, uint32_t drawState, TCustomRPFormattedData&,
                             const TRPDrawLineInfo&) {
  // The cells' offsets in the client area follow the table where it is shown now.
  UpdatePosition();
  FPaintState = drawState;
  const TScopeExit clearState([this] { FPaintState = 0; });
  PaintTable(canvas, x, y, canvas.ClipRect(), false, 0, -1, false, *FFormatting, rpcmColor);
}

void TRPTableItemInfo::PaintTable(TCanvas& canvas, int32_t x, int32_t y, const TRect& clipRect, bool printing,
                                  int32_t startRow, int32_t rowCount, bool repeatHeading,
                                  const TRPTableItemFormattingInfo& info, TRPColorMode colorMode) {
  FColorMode = colorMode;
  if (FRows->IsEmpty() || info.RowHeights.Count() != FRows->GetRowCount()) return;
  const int32_t lastRow = FRows->GetRowCount() - 1;
  int32_t firstRow = startRow;
  int32_t endRow = rowCount < 0 ? lastRow : std::min(startRow + rowCount - 1, lastRow);
  if (!printing) {
    // The last row whose start lies above the clip's top.
    const int32_t limit = clipRect.Top - y - ScaleY(FBorderWidth);
    firstRow = 0;
    while (firstRow < lastRow && info.RowStarts[firstRow + 1] < limit) ++firstRow;
    endRow = lastRow;
  }
  const int32_t headingCount = printing && repeatHeading ? std::min(FHeadingRowCount, firstRow) : 0;
  // How far a row of the part moves up: its rows follow the heading rows, or the top.
  const int32_t partShift =
      printing ? (headingCount > 0 ? info.RowStarts[headingCount] : info.RowStarts[0]) - info.RowStarts[firstRow] : 0;
  auto rowShift = [&](int32_t row) { return row < headingCount ? 0 : partShift; };
  const int32_t bottomSpace = info.Height - info.RowStarts[lastRow] - info.RowHeights[lastRow];
  TRect tableRect = Rect(x, y, x + info.Width, y + info.Height);
  if (printing) {
    // A part whose bottom cuts inside its last row shows the row's piece.
    const int32_t endHeight =
        FPrintInfo ? FPrintInfo->RowHeightInPart(FPrintInfo->PrintedPart, endRow) : info.RowHeights[endRow];
    tableRect.Bottom = y + info.RowStarts[endRow] + endHeight + partShift + bottomSpace;
  }

  FPaintOrigin = TPoint{x, y};
  if (!printing) {
    if (Intersects(tableRect, clipRect)) FillArea(canvas, tableRect, FColor, FBackground.Get());
  } else if (TRect fill; IntersectRect(&fill, tableRect, clipRect)) {
    DrawBackground(canvas, fill, 1, colorMode, tableRect);
  }
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetStyle(psSolid);
  canvas.Pen().SetMode(pmCopy);

  const bool vRules = FVRuleWidth != 0 && FVRuleColor != clNone;
  const bool hRules = FHRuleWidth != 0 && FHRuleColor != clNone;
  canvas.Brush().SetStyle(bsSolid);
  if (vRules) {
    canvas.Brush().SetColor(ApplyColorModeToTextColor(FVRuleColor, FColorMode));
    const int32_t w = ScaleX(FVRuleWidth);
    const int32_t shorten = hRules && FHOutermostRule ? ScaleY(FBorderWidth + FBorderVSpacing / 2) : 0;
    auto rule = [&](int32_t pos) {
      FillBand(canvas, pos - w / 2, tableRect.Top + shorten, pos - w / 2 + w, tableRect.Bottom - shorten);
    };
    if (FVOutermostRule) {
      const int32_t inset = ScaleX(FBorderWidth + FBorderHSpacing / 2);
      rule(tableRect.Left + inset);
      rule(tableRect.Right - inset - (w % 2 != 0 ? 1 : 0));
    }
    const int32_t gap = (ScaleX(FCellHSpacing + 2 * FCellBorderWidth) + 1) / 2;
    for (int32_t c = 1; c < info.ColStarts.Count(); ++c) {
      const int32_t pos = x + info.ColStarts[c] - gap;
      if (pos - w > clipRect.Right) break;
      rule(pos);
    }
  }
  if (hRules) {
    canvas.Brush().SetColor(ApplyColorModeToTextColor(FHRuleColor, FColorMode));
    const int32_t w = ScaleY(FHRuleWidth);
    const int32_t shorten = vRules && FVOutermostRule ? ScaleX(FBorderWidth + FBorderHSpacing / 2) : 0;
    auto rule = [&](int32_t pos) {
      FillBand(canvas, tableRect.Left + shorten, pos - w / 2, tableRect.Right - shorten, pos - w / 2 + w);
    };
    const int32_t inset = ScaleY(FBorderWidth + FBorderVSpacing / 2);
    if (FHOutermostRule && (printing || firstRow <= 1)) rule(tableRect.Top + inset);
    const int32_t gap = (ScaleY(FCellVSpacing + 2 * FCellBorderWidth) + 1) / 2;
    for (int32_t r = 1; r < headingCount; ++r) rule(y + info.RowStarts[r] - gap);
    for (int32_t r = firstRow + 1; r <= endRow; ++r) rule(y + info.RowStarts[r] + rowShift(r) - gap);
    if (headingCount > 0) rule(y + info.RowStarts[firstRow] + partShift - gap);
    if (FHOutermostRule) rule(tableRect.Bottom - inset - 1 + (w % 2 == 0 ? 1 : 0));
  }

  DrawBorder(canvas, tableRect, FBorderWidth, FBorderLightColor, FBorderColor, GetTableColor(true), FBorderStyle,
             printing, VisibleBorders, -1, -1, clipRect);

  auto paintRow = [&](int32_t r) {
    if (clipRect.Bottom < y + info.RowStarts[r] + rowShift(r) - ScaleY(FCellBorderWidth)) return false;
    for (int32_t c = 0; c < FRows->GetColCount(); ++c) {
      if (clipRect.Right < x + info.ColStarts[c] - ScaleX(FCellBorderWidth)) break;
      if (TRPTableCellData* cell = GetCell(r, c))
        PaintCell(canvas, *cell, r, c, x, y + rowShift(r), clipRect, printing, info);
    }
    if (!printing && r > 0 && FRows->GetRow(r)->PageBreakBefore) DrawRowPageBreak(canvas, y + info.RowStarts[r]);
    return true;
  };
  if (firstRow > 0)
    // Cells that reach into the first painted row from above: on the screen their rows are
    // out of view, on a page the part before cut them (they show their piece here).
    for (int32_t c = FRows->GetColCount() - 1; c >= 0;) {
      int32_t mr = 0, mc = 0;
      TRPTableCellData* cell = FRows->GetMainCell(firstRow, c, mr, mc);
      if (!cell) break;
      if (mr < firstRow) PaintCell(canvas, *cell, mr, mc, x, y + rowShift(firstRow), clipRect, printing, info);
      c = mc - 1;
    }
  for (int32_t r = 0; r < headingCount; ++r)
    if (!paintRow(r)) break;
  for (int32_t r = firstRow; r <= endRow; ++r)
    if (!paintRow(r)) break;
  canvas.Pen().SetWidth(1);
}

// The document's page-break line across its width at y, when the document shows them.
void TRPTableItemInfo::DrawRowPageBreak(TCanvas& canvas, int32_t y) const {
  TCustomRPFormattedData* data = GetFormattedDocument();
  if (!data || !data->GetStyleSheet() || (data->GetOptions() & rpoShowPageBreaks) == 0) return;
  data->GetStyleSheet()->DrawPageBreak(canvas, y, 0, rppbPageBreak, nullptr, data->GetWidth());
}

// The area in its colour, or its background picture aligned to the area (over the colour
// where the picture leaves some of it).
void TRPTableItemInfo::FillArea(TCanvas& canvas, const TRect& area, TColor color, const TRPBackground* picture) const {
  color = ApplyColorModeToBackColor(color, FColorMode);
  if (picture && picture->HasVisibleImage()) {
    picture->Draw(canvas, area, 0, 0, area.Left, area.Top, area.Width(), area.Height(), color, true);
    return;
  }
  if (color == clNone) return;
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(color);
  canvas.FillRect(area);
}

void TRPTableItemInfo::PaintCell(TCanvas& canvas, TRPTableCellData& cell, int32_t row, int32_t col, int32_t x,
                                 int32_t y, const TRect& clipRect, bool printing,
                                 const TRPTableItemFormattingInfo& info) {
  // A cell that the printed part cuts shows its piece: its rows in the part, its content
  // from the piece's top.
  TRPTablePrintInfo::TCellPiece piece;
  const bool cut = printing && FPrintInfo && FPrintInfo->GetCellPiece(FPrintInfo->PrintedPart, row, col, piece);
  const int32_t padX = ScaleX(FCellPadding), padY = ScaleY(FCellPadding);
  const int32_t left = x + info.ColStarts[col];
  const int32_t top = y + info.RowStarts[cut ? piece.FirstRow : row];
  const int32_t width = printing ? SpanWidth(info, col, cell.GetColSpan()) : cell.Width;
  const int32_t height = cut        ? piece.RowsHeight + 2 * padY
                         : printing ? SpanHeight(info, row, cell.GetRowSpan())
                                    : cell.Height;
  const TRect cellRect = Rect(left, top, left + width, top + height);
  // The selection colour: every cell of a table painted as selected, else the cells of
  // the cell selection (never on a page); the cell's own colour where that leaves none.
  const bool wholeSelected = !printing && (FPaintState & rpidsSelected) != 0;
  const bool selectedCell = wholeSelected || (!printing && IsCellSelected(row, col));
  TColor color = selectedCell ? GetCellSelectionColor() : static_cast<TColor>(clNone);
  const bool selectionColour = color != clNone;
  if (!selectionColour) color = cell.GetCellColor();
  const bool edited = !printing && FInplaceEditor && row == FEditedRow && col == FEditedCol;
  if (edited && color == clNone) color = clWindow;
  const TRPBackground* picture = selectionColour ? nullptr : cell.GetCellBackground();
  const bool wasSelected = cell.Selected;
  if (wholeSelected) cell.Selected = true;
  const TScopeExit restoreSelected([&cell, wasSelected] { cell.Selected = wasSelected; });
  if (color != clNone || (picture && picture->HasVisibleImage())) {
    TRect fill = cellRect;
    if ((Options & rptoCellBelowBorders) != 0) {
      const int32_t bx = ScaleX(FCellBorderWidth), by = ScaleY(FCellBorderWidth);
      fill = Rect(fill.Left - bx, fill.Top - by, fill.Right + bx, fill.Bottom + by);
    }
    if (edited) {
      FillArea(canvas, fill, color, nullptr);
      DrawHatch(canvas, fill, FCellBorderColor);
    } else if (!printing) {
      FillArea(canvas, fill, color, picture);
    } else if (TRect visible; IntersectRect(&visible, fill, clipRect)) {
      PrintCellFill(canvas, visible, cellRect, cell);  // aligned to the cell on the page
    }
  }
  // While its content is painted on a page, the cell is the one DrawBackground shows.
  if (printing) {
    FPaintedCell = &cell;
    FPaintedCellBounds = Rect(cellRect.Left - FPaintOrigin.X, cellRect.Top - FPaintOrigin.Y,
                              cellRect.Right - FPaintOrigin.X, cellRect.Bottom - FPaintOrigin.Y);
  }
  const TScopeExit forgetPaintedCell([this] { FPaintedCell = nullptr; });
  // The content, clipped to the cell; the cell's document is laid out in its own
  // coordinates from the padding's inner corner (the rectangle given to it cancels the
  // offsets that place it in its document's client area).
  // The cell edited in place shows its content in the editor over it. On a page the
  // cell's printable copy paints it, as the page paints its own document.
  TCellPtblRPData* copy = printing && FPrintInfo ? FPrintInfo->CellPrintData(row, col) : nullptr;
  if (!edited && Intersects(cellRect, clipRect) && (copy ? copy->DrawItems.Count() : cell.DrawItems.Count()) > 0) {
    const int32_t contentHeight = copy ? copy->DocumentHeight : cell.DocumentHeight;
    const int32_t free = height - 2 * padY - contentHeight;
    const TRPCellVAlign align = cut ? rpcTop : cell.GetEffectiveVAlign();
    const int32_t vOffset = align == rpcMiddle ? free / 2 : align == rpcBottom ? free : 0;
    // Content Y shown at the content's top, and where the content shown ends.
    const int32_t shownTop = cut ? piece.ContentTop : 0;
    const int32_t shownBottom = cut ? piece.ContentBottom : contentHeight;
    HDC dc = canvas.Handle();
    const int32_t saved = SaveDC(dc);
    // A piece shows its content between the paddings only: a picture taller than a page
    // goes on in the next piece from where this one's content area ends.
    IntersectClipRect(dc, cellRect.Left, cut ? top + padY : cellRect.Top, cellRect.Right,
                      cut ? top + padY + piece.RowsHeight : cellRect.Bottom);
    if (copy) {
      copy->Left = left + padX;
      copy->Top = top + padY + vOffset;
      copy->Height = shownBottom - shownTop;
      if (cut)
        copy->ShowPiece(piece.FirstDrawItem, piece.LastDrawItem, piece.ContentTop);
      else
        copy->ShowAll();
      copy->DrawPage(copy->Parent().CurrentPageNo, canvas, FPrintInfo->Preview, FPrintInfo->Correction);
    } else {
      OffsetViewportOrgEx(dc, left + padX, top + padY + vOffset - shownTop, nullptr);
      const int32_t hOffs = cell.GetHOffs(), vOffs = cell.GetVOffs();
      cell.DrawRect(canvas, Rect(-hOffs, shownTop - vOffs, width - 2 * padX - hOffs, shownBottom - vOffs));
    }
    RestoreDC(dc, saved);
    canvas.Refresh();
  }
  const TColor borderColor = cell.BorderColor != clNone ? cell.BorderColor : FCellBorderColor;
  const TColor lightColor = cell.BorderLightColor != clNone ? cell.BorderLightColor : FCellBorderLightColor;
  const int32_t bx = ScaleX(FCellBorderWidth), by = ScaleY(FCellBorderWidth);
  DrawBorder(canvas, Rect(cellRect.Left - bx, cellRect.Top - by, cellRect.Right + bx, cellRect.Bottom + by),
             FCellBorderWidth, lightColor, borderColor, FColor, FCellBorderStyle, printing, cell.VisibleBorders, row,
             col, clipRect);
}

// A hidden side of a cell needs no grid line where a visible border lies over it: the
// neighbouring cell's opposite side when cells overlap (negative spacing), or the table's
// own border at its edge when the cells reach into it.
bool TRPTableItemInfo::NeighbourBorderCovers(int32_t row, int32_t col, TBorderSide side) const {
  if (row < 0) return false;
  const TRPTableCellData* cell = FRows->GetCell(row, col);
  const bool horizontal = side == bsdLeft || side == bsdRight;
  const int32_t nr = side == bsdTop ? row - 1 : side == bsdBottom ? row + cell->GetRowSpan() : row;
  const int32_t nc = side == bsdLeft ? col - 1 : side == bsdRight ? col + cell->GetColSpan() : col;
  if (nr < 0 || nc < 0 || nr >= FRows->GetRowCount() || nc >= FRows->GetColCount()) {
    const bool tableSide = side == bsdLeft    ? VisibleBorders.Left
                           : side == bsdTop   ? VisibleBorders.Top
                           : side == bsdRight ? VisibleBorders.Right
                                              : VisibleBorders.Bottom;
    return (horizontal ? FBorderHSpacing : FBorderVSpacing) < 0 && FBorderWidth > 0 && tableSide;
  }
  if ((horizontal ? FCellHSpacing : FCellVSpacing) >= 0) return false;
  int32_t mr = 0, mc = 0;
  const TRPTableCellData* neighbour = FRows->GetMainCell(nr, nc, mr, mc);
  if (!neighbour) return false;
  const TRPBooleanRect& v = neighbour->VisibleBorders;
  return side == bsdLeft ? v.Right : side == bsdRight ? v.Left : side == bsdTop ? v.Bottom : v.Top;
}

void TRPTableItemInfo::DrawBorder(TCanvas& canvas, const TRect& rect, int32_t width, TColor lightColor, TColor color,
                                  TColor backgroundColor, TRPTableBorderStyle style, bool printing,
                                  const TRPBooleanRect& visibleBorders, int32_t row, int32_t col,
                                  const TRect& clipRect) {
  if (!Intersects(rect, clipRect)) return;
  if (OnDrawBorder) {
    bool doDefault = true;
    OnDrawBorder(*this, canvas, rect, width, lightColor, color, backgroundColor, style, printing, visibleBorders, row,
                 col, doDefault);
    if (!doDefault) return;
  }
  int32_t left = rect.Left, top = rect.Top, right = rect.Right, bottom = rect.Bottom;
  const bool showGrid = (Options & rptoHideGridLines) == 0 && !printing && GridPenStyle != psClear;
  canvas.Brush().SetStyle(bsSolid);
  if (showGrid && (width == 0 || !visibleBorders.IsAllEqual(true))) {
    canvas.Pen().SetStyle(GridPenStyle);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(clBtnShadow);
    auto line = [&](bool hidden, TBorderSide side, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
      if (width > 0 && (!hidden || NeighbourBorderCovers(row, col, side))) return;
      canvas.MoveTo(x1, y1);
      canvas.LineTo(x2, y2);
    };
    line(!visibleBorders.Top, bsdTop, left, top, right - 1, top);
    line(!visibleBorders.Right, bsdRight, right - 1, top, right - 1, bottom - 1);
    line(!visibleBorders.Bottom, bsdBottom, right - 1, bottom - 1, left, bottom - 1);
    line(!visibleBorders.Left, bsdLeft, left, bottom - 1, left, top);
    canvas.Pen().SetStyle(psSolid);
  }
  if (width <= 0) return;
  // Printed halftone borders: one line per side along the middle of the border band. On
  // a device finer than the screen the line is one pixel wider than the band and the
  // rectangle moves up and left by one; otherwise the three-dimensional styles keep a
  // one-pixel line and the flat style draws the band's width.
  const bool halftone = printing && (PrintOptions & rptoHalftoneBorders) != 0;
  const bool finer = FResolution && FResolution->DevicePpiY > FResolution->ScreenPpiY;
  auto halftoneSides = [&](TColor topLeft, TColor bottomRight, int32_t band, int32_t plainPen) {
    const int32_t pen = finer ? band + 1 : plainPen;
    const int32_t shift = finer ? 1 : 0;
    const int32_t l = left - shift + band / 2, t = top - shift + band / 2;
    const int32_t r = right - shift - band / 2 - 1, b = bottom - shift - band / 2 - 1;
    const int32_t from = -(pen / 2);
    auto side = [&](bool visible, TColor c, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
      if (!visible || c == clNone) return;
      canvas.Brush().SetColor(ApplyColorModeToTextColor(c, FColorMode));
      FillBand(canvas, x1, y1, x2, y2);
    };
    side(visibleBorders.Top, topLeft, l + from, t + from, r + from + pen, t + from + pen);
    side(visibleBorders.Left, topLeft, l + from, t + from, l + from + pen, b + from + pen);
    side(visibleBorders.Bottom, bottomRight, l + from, b + from, r + from + pen, b + from + pen);
    side(visibleBorders.Right, bottomRight, r + from, t + from, r + from + pen, b + from + pen);
  };
  if (style == rptbColor) {
    if (color == clNone) return;
    const int32_t wx = ScaleX(width), wy = ScaleY(width);
    canvas.Brush().SetColor(ApplyColorModeToTextColor(color, FColorMode));
    if (halftone && visibleBorders.IsAllEqual(true) && finer) {
      // The inside-frame rectangle one pixel wider, moved up and left by one.
      const int32_t w = wy + 1;
      FillBand(canvas, left - 1, top - 1, right - 1, top - 1 + w);
      FillBand(canvas, left - 1, bottom - 1 - w, right - 1, bottom - 1);
      FillBand(canvas, left - 1, top - 1, left - 1 + w, bottom - 1);
      FillBand(canvas, right - 1 - w, top - 1, right - 1, bottom - 1);
      return;
    }
    if (halftone && !visibleBorders.IsAllEqual(true)) {
      halftoneSides(color, color, wy, wy);
      return;
    }
    if (visibleBorders.IsAllEqual(true) || (Options & rptoOverlappingCorners) != 0) {
      // Full-length sides: what an inside-frame pen of the border's width draws.
      if (visibleBorders.Top) FillBand(canvas, left, top, right, top + wy);
      if (visibleBorders.Bottom) FillBand(canvas, left, bottom - wy, right, bottom);
      if (visibleBorders.Left) FillBand(canvas, left, top, left + wx, bottom);
      if (visibleBorders.Right) FillBand(canvas, right - wx, top, right, bottom);
      return;
    }
    // The sides step inward together, meeting in mitred corners.
    for (int32_t i = 0; i < std::max(wx, wy); ++i) {
      if (visibleBorders.Top && i < wy) FillBand(canvas, left + i, top + i, right - i, top + i + 1);
      if (visibleBorders.Bottom && i < wy) FillBand(canvas, left + i, bottom - i - 1, right - i, bottom - i);
      if (visibleBorders.Left && i < wx) FillBand(canvas, left + i, top + i, left + i + 1, bottom - i);
      if (visibleBorders.Right && i < wx) FillBand(canvas, right - i - 1, top + i, right - i, bottom - i);
    }
    return;
  }
  TColor topLeft = clNone, bottomRight = clNone;
  Style3DColors(style, lightColor, color, backgroundColor, topLeft, bottomRight);
  if (halftone) {
    halftoneSides(topLeft, bottomRight, ScaleY(width), 1);
    return;
  }
  --right;
  --bottom;
  const int32_t w = ScaleY(width);
  // Top and left first, each line one pixel longer at its end; then bottom and right.
  for (int32_t i = 0; i < w; ++i) {
    if (topLeft != clNone) {
      canvas.Brush().SetColor(ApplyColorModeToTextColor(topLeft, FColorMode));
      if (visibleBorders.Top) FillBand(canvas, left + i, top + i, right - i + 1, top + i + 1);
      if (visibleBorders.Left) FillBand(canvas, left + i, top + i, left + i + 1, bottom - i + 1);
    }
    if (bottomRight != clNone) {
      canvas.Brush().SetColor(ApplyColorModeToTextColor(bottomRight, FColorMode));
      if (visibleBorders.Bottom) FillBand(canvas, left + i, bottom - i, right - i + 1, bottom - i + 1);
      if (visibleBorders.Right) FillBand(canvas, right - i, top + i, right - i + 1, bottom - i + 1);
    }
  }
}

// Forward-diagonal hatch lines (down to the right) every 8 pixels of the canvas, one
// pixel wide, over rect.
void TRPTableItemInfo::DrawHatch(TCanvas& canvas, const TRect& rect, TColor color) const {
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(ApplyColorModeToTextColor(color, FColorMode));
  for (int32_t y = rect.Top; y < rect.Bottom; ++y) {
    const int32_t first = rect.Left + (((y - rect.Left) % 8) + 8) % 8;
    for (int32_t x = first; x < rect.Right; x += 8) canvas.FillRect(Rect(x, y, x + 1, y + 1));
  }
}

// --- Dotted grid lines ------------------------------------------------------------------

void TRPTableItemInfo::DrawDottedVLine(TCanvas& canvas, int32_t x, int32_t top, int32_t bottom) {
  for (int32_t y = top; y < bottom; y += 8)
    for (int32_t i = 0; i < 3; ++i) {
      canvas.MoveTo(x, y + 2 * i);
      canvas.LineTo(x, y + 2 * i + 1);
    }
}

void TRPTableItemInfo::DrawDottedHLine(TCanvas& canvas, int32_t left, int32_t right, int32_t y) {
  for (int32_t x = left; x < right; x += 8)
    for (int32_t i = 0; i < 3; ++i) {
      canvas.MoveTo(x + 2 * i, y);
      canvas.LineTo(x + 2 * i + 1, y);
    }
}
