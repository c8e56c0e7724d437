// Repainting requests to the window that shows a document, and the background under an
// item that draws transparently.
#include "platform/graphics/Bitmap.h"
#include "richtext/layout/RPBackground.h"
#include "richtext/layout/RPDocumentView.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/model/RPStyle.h"

void TCustomRPFormattedData::InvalidateDrawItem(int32_t drawNo, int32_t margin) {
  BeforeInvalidateDrawItem(drawNo);
  IRPDocumentView* view = GetDocumentView();
  if (!view) return;
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  const int32_t left = d.Left - GetHOffs(), top = d.Top - GetVOffs();
  view->InvalidateRect(TRect{left - margin, top - margin, left + d.Width + margin, top + d.Height + margin});
}

void TCustomRPFormattedData::InvalidateControl() {
  if (IRPDocumentView* view = GetDocumentView()) view->Invalidate();
}

void TCustomRPFormattedData::RefreshControl() {
  if (IRPDocumentView* view = GetDocumentView()) view->Refresh();
}

void TCustomRPFormattedData::UpdateControl() {
  if (IRPDocumentView* view = GetDocumentView()) view->Update();
}

void TCustomRPFormattedData::GetItemBackground(int32_t itemNo, const TRect& rect, bool useItemRect, TColor& color,
                                               std::unique_ptr<TBitmap>& bitmap, bool& useBitmap) {
  useBitmap = false;
  color = GetParaStyle(itemNo).Background.Color;
  if (color != clNone) return;
  color = GetColor();
  const TRPBackground* background = GetBackground();
  const int32_t drawNo = GetItemFirstDrawItem(itemNo);
  if (!background || background->Style == bsNoBitmap || drawNo < 0) return;
  useBitmap = true;
  TRect r = rect;
  if (useItemRect) {
    const TRPDrawLineInfo& d = *DrawItems[drawNo];
    r = TRect{d.Left, d.Top, d.Left + d.Width, d.Top + d.Height};
  }
  if (!bitmap) bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(r.Right - r.Left, r.Bottom - r.Top);
  TCanvas& canvas = *bitmap->Canvas();
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(color);
  canvas.FillRect(TRect{0, 0, r.Right - r.Left, r.Bottom - r.Top});
  // The part of the window's background at that place.
  const TRect client{r.Left - GetHOffs(), r.Top - GetVOffs(), r.Right - GetHOffs(), r.Bottom - GetVOffs()};
  background->Draw(canvas, client, GetHOffs(), GetVOffs(), 0, 0, GetWidth(), GetHeight(), clNone, false);
}
