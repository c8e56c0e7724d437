// What lies behind a table's content: the table's and the painted cell's colour or
// picture on a page (DrawBackground and the page fills of painting), and the layers
// under one item of a cell (the cell's GetItemBackground).
//
// Layers under a cell's item, from the top: the item's paragraph colour; the selection
// colour when the cell or the whole table is selected; the cell (colour, picture, or a
// picture that shows through onto what lies below); the table (the same, the table's
// paragraph colour standing in for a missing table colour); and what the table's
// document shows under the table item.
#include <algorithm>

#include "platform/base/ScopeExit.h"
#include "platform/graphics/DeviceContext.h"
#include "richtext/model/RPColorModes.h"
#include "richtext/model/RPStyle.h"
#include "richtext/table/RPTableItem.h"

namespace {

// A tile of a picture that shows through takes what the canvas already holds at its
// place. Tiles come in the printing's own coordinates, whose origin the canvas's
// window origin moves to local's top-left corner while they are drawn.
class TCanvasBeneath : public IRPBackgroundFiller {
public:
  TCanvasBeneath(TCanvas& canvas, const TRect& local, const TRPResolution& resolution)
      : FCanvas(canvas), FLocal(local), FResolution(resolution) {}
  void FillItemBackground(TBitmap& bitmap, int32_t x, int32_t y, bool) override {
    TCanvas& target = *bitmap.Canvas();
    const TRect all{0, 0, bitmap.Width(), bitmap.Height()};
    target.Brush().SetStyle(bsSolid);
    target.Brush().SetColor(clWhite);
    target.FillRect(all);
    target.CopyRect(all, &FCanvas,
                    Bounds(x - FLocal.Left, y - FLocal.Top, ScreenToDeviceX(bitmap.Width(), FResolution),
                           ScreenToDeviceY(bitmap.Height(), FResolution)));
  }

private:
  TCanvas& FCanvas;
  TRect FLocal;
  TRPResolution FResolution;
};

bool HasPicture(const TRPBackground* background) { return background && background->HasVisibleImage(); }

// A picture drawn into a bitmap (screen pixels) for an area whose top-left corner
// stands at (left, top) of the bitmap.
void DrawPictureInArea(TCanvas& canvas, const TRPBackground& picture, int32_t left, int32_t top, int32_t width,
                       int32_t height) {
  picture.Draw(canvas, Bounds(left, top, width, height), 0, 0, left, top, width, height, clNone, true);
}

}  // namespace

// --- Pages ------------------------------------------------------------------------------

// With rptoWhiteBackground a page shows no background pictures, and white where a
// colour or a cell's picture would be.
void TRPTableItemInfo::PrintTableFill(TCanvas& canvas, const TRect& rect, const TRect& area) const {
  if ((PrintOptions & rptoWhiteBackground) != 0)
    PrintArea(canvas, rect, area, FColor == clNone ? clNone : clWhite, nullptr);
  else
    PrintArea(canvas, rect, area, ApplyColorModeToBackColor(FColor, FColorMode), FBackground.Get());
}

void TRPTableItemInfo::PrintCellFill(TCanvas& canvas, const TRect& rect, const TRect& area,
                                     const TRPTableCellData& cell) const {
  const TColor color = cell.GetCellColor();
  const TRPBackground* picture = cell.GetCellBackground();
  if (color == clNone && !HasPicture(picture)) return;
  if ((PrintOptions & rptoWhiteBackground) != 0)
    PrintArea(canvas, rect, area, clWhite, nullptr);
  else
    PrintArea(canvas, rect, area, ApplyColorModeToBackColor(color, FColorMode), picture);
}

void TRPTableItemInfo::PrintArea(TCanvas& canvas, const TRect& rect, const TRect& area, TColor color,
                                 const TRPBackground* picture) const {
  if (rect.Left >= rect.Right || rect.Top >= rect.Bottom) return;
  if (!HasPicture(picture)) {
    if (color == clNone) return;
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    canvas.FillRect(rect);
    return;
  }
  const TRPResolution resolution = FResolution ? *FResolution : TRPResolution{};
  // The printing places its tiles from its own origin: the area's top-left corner.
  HDC dc = canvas.Handle();
  const int32_t saved = SaveDC(dc);
  const TScopeExit restore([&canvas, dc, saved] {
    RestoreDC(dc, saved);
    canvas.Refresh();
  });
  OffsetViewportOrgEx(dc, area.Left, area.Top, nullptr);
  const TRect local{rect.Left - area.Left, rect.Top - area.Top, rect.Right - area.Left, rect.Bottom - area.Top};
  TCanvasBeneath beneath(canvas, local, resolution);
  picture->Print(canvas, local, TRect{0, 0, area.Width(), area.Height()}, resolution, color, false, nullptr, &beneath,
                 false);
}

void TRPTableItemInfo::DrawBackground(TCanvas& canvas, const TRect& rect, int32_t mode, TRPColorMode colorMode,
                                      const TRect& area) {
  if (mode == 0) return;
  const TRPColorMode savedMode = FColorMode;
  FColorMode = colorMode;
  PrintTableFill(canvas, rect, area);
  if (mode != 1 && FPaintedCell) {
    const TRect cellArea{area.Left + FPaintedCellBounds.Left, area.Top + FPaintedCellBounds.Top,
                         area.Left + FPaintedCellBounds.Right, area.Top + FPaintedCellBounds.Bottom};
    if (TRect cellRect; IntersectRect(&cellRect, rect, cellArea))
      PrintCellFill(canvas, cellRect, cellArea, *FPaintedCell);
  }
  FColorMode = savedMode;
}

// --- Under a cell's item ----------------------------------------------------------------

void TRPTableCellData::GetItemBackground(int32_t itemNo, const TRect& rect, bool useItemRect, TColor& color,
                                         std::unique_ptr<TBitmap>& bitmap, bool& useBitmap) {
  useBitmap = false;
  color = clNone;
  const TRPStyle* style = GetStyleSheet();
  if (style) {
    color = GetParaStyle(itemNo).Background.Color;
    if (color != clNone) return;
  }
  TRPTableItemInfo* table = GetTable();
  if (Selected || (table && table->IsWhollySelected())) {
    color = style ? style->SelColor : static_cast<TColor>(clNone);
    if (color != clNone) return;
  }
  color = FColor;
  TRect r = rect;
  if (useItemRect) {
    const int32_t drawNo = GetItemFirstDrawItem(itemNo);
    const int32_t padding = GetPadding();
    if (drawNo >= 0) {
      const TRPDrawLineInfo& d = *DrawItems[drawNo];
      r = Bounds(d.Left + padding, d.Top + padding + GetVAlignOffset(), d.Width, d.Height);
    }
  }
  const int32_t w = r.Right - r.Left, h = r.Bottom - r.Top;
  auto prepare = [&] {
    useBitmap = true;
    if (!bitmap) bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(w, h);
    TCanvas& canvas = *bitmap->Canvas();
    canvas.Brush().SetStyle(bsSolid);
    if (color == clNone) return;
    canvas.Brush().SetColor(color);
    canvas.FillRect(TRect{0, 0, w, h});
  };
  // The cell's picture over its box, the table's over the table.
  auto drawCellPicture = [&] {
    DrawPictureInArea(*bitmap->Canvas(), *FBackground.Get(), -r.Left, -r.Top, Width, Height);
  };
  auto drawTablePicture = [&] {
    DrawPictureInArea(*bitmap->Canvas(), *table->GetTableBackground(), -Left - r.Left, -Top - r.Top, table->GetWidth(),
                      table->GetHeight());
  };
  enum TLayer { lyNothing, lyColor, lyPicture, lyPictureOverBelow };
  const TRPBackground* cellPicture = FBackground.Get();
  const TLayer cellLayer = HasPicture(cellPicture)
                               ? (FColor == clNone && cellPicture->NeedsColorFill() ? lyPictureOverBelow : lyPicture)
                           : FColor != clNone ? lyColor
                                              : lyNothing;
  if (cellLayer == lyColor) return;
  if (cellLayer == lyPicture) {
    prepare();
    drawCellPicture();
    return;
  }
  if (!table) {
    if (cellLayer == lyPictureOverBelow) {
      prepare();
      drawCellPicture();
    }
    return;
  }
  TCustomRPFormattedData* data = table->GetFormattedDocument();
  const int32_t tableItemNo = table->GetItemNo();
  const TColor paraColor = data && tableItemNo >= 0 && data->GetStyleSheet()
                               ? data->GetParaStyle(tableItemNo).Background.Color
                               : static_cast<TColor>(clNone);
  const TRPBackground* tablePicture = table->GetTableBackground();
  const bool noColor = table->GetColor() == clNone && paraColor == clNone;
  const TLayer tableLayer = HasPicture(tablePicture)
                                ? (noColor && tablePicture->NeedsColorFill() ? lyPictureOverBelow : lyPicture)
                            : noColor ? lyNothing
                                      : lyColor;
  if (tableLayer == lyColor || tableLayer == lyPicture) {
    color = table->GetColor() != clNone ? table->GetColor() : paraColor;
    if (tableLayer == lyColor && cellLayer == lyNothing) return;
    prepare();
    if (tableLayer == lyPicture) drawTablePicture();
    if (cellLayer != lyNothing) drawCellPicture();
    return;
  }
  // What the document shows under the table item, at the place of r.
  if (data && tableItemNo >= 0) {
    int32_t tableLeft = 0, tableTop = 0;
    data->GetItemCoords(tableItemNo, tableLeft, tableTop);
    const int32_t dx = tableLeft + Left, dy = tableTop + Top;
    data->GetItemBackground(tableItemNo, TRect{r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy}, false, color,
                            bitmap, useBitmap);
  }
  if (tableLayer == lyPictureOverBelow) {
    if (!useBitmap) prepare();
    drawTablePicture();
  }
  if (cellLayer != lyPictureOverBelow) return;
  if (!useBitmap) prepare();
  drawCellPicture();
}
