#include "richtext/screen/RPSmartPopupButton.h"

#include "platform/base/CodePages.h"
#include "platform/gui/Menus.h"
#include "richtext/layout/view/RichPane.h"
#include "richtext/screen/RPWindow.h"

TRPSmartPopupButton::TRPSmartPopupButton(TRPWindow& window, TRPSmartPopupProperties& settings)
    : TCustomControl(nullptr), FWindow(window), FSettings(settings) {
  TCustomControl::SetBounds(0, 0, settings.ButtonWidth(), settings.ButtonHeight());
  TControl::SetHint(AnsiToWide(settings.Hint()));
  SetParent(&window);
}

void TRPSmartPopupButton::SetHint(const AnsiString& hint) { TControl::SetHint(AnsiToWide(hint)); }

void TRPSmartPopupButton::Click() {
  TCustomRichPane& pane = FWindow.Pane();
  if (pane.OnSmartPopupClick) pane.OnSmartPopupClick(&pane, this);
  if (FSettings.ButtonType() == rpsptDropDown && FSettings.Menu()) {
    const TPoint below = FWindow.ClientToScreen(TPoint{Left(), Top() + Height()});
    FSettings.Menu()->Popup(below.X, below.Y);
  }
}

void TRPSmartPopupButton::Paint(const TRect&) {
  TCanvas& canvas = Canvas();
  const int32_t width = ClientWidth(), height = ClientHeight();
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(FHovered ? FSettings.HoverColor() : FSettings.Color());
  canvas.Pen().SetStyle(psSolid);
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetColor(FHovered ? FSettings.HoverLineColor() : FSettings.LineColor());
  canvas.Rectangle(0, 0, width, height);
  if (const TCustomImageList* images = FSettings.ImageList()) images->Draw(canvas, 2, 2, FSettings.ImageIndex());
  // The arrow or the dots stand in the part right of the image.
  const int32_t part = width - 8;
  canvas.Pen().SetColor(clBlack);
  if (FSettings.ButtonType() == rpsptDropDown) {
    const int32_t top = height / 2 - 1;
    for (int32_t row = 0; row < 3; ++row) {
      canvas.MoveTo(part + 1 + row, top + row);
      canvas.LineTo(part + 6 - row, top + row);
    }
  } else if (FSettings.ButtonType() == rpsptShowDialog) {
    for (int32_t dot = 0; dot < 3; ++dot) {
      canvas.MoveTo(part + 1 + 2 * dot, height - 4);
      canvas.LineTo(part + 2 + 2 * dot, height - 4);
    }
  }
}

void TRPSmartPopupButton::MouseMove(TShiftState, int32_t, int32_t) {
  if (FHovered) return;
  FHovered = true;
  Invalidate();
}

void TRPSmartPopupButton::MouseLeave() {
  FHovered = false;
  Invalidate();
}

void TRPSmartPopupButton::MouseUp(TMouseButton button, TShiftState, int32_t x, int32_t y) {
  if (button == mbLeft && x >= 0 && y >= 0 && x < Width() && y < Height()) Click();
}
