// The smart popup button of a rich view on screen: a small window in the view's client
// area painted with the view's smart popup settings (face and frame colours, brighter
// under the mouse, the image of the settings' image list, an arrow for a drop-down
// button, dots for a dialog button). A click, or the settings' shortcut in the view,
// raises the view's OnSmartPopupClick, and a drop-down button then shows the settings'
// menu below itself.
#pragma once

#include "platform/gui/CustomControl.h"
#include "richtext/layout/view/RPPopup.h"

class TRPWindow;

class TRPSmartPopupButton : public TCustomControl, public IRPSmartPopupButton {
public:
  // A child of window, shown with settings (both outlive it).
  TRPSmartPopupButton(TRPWindow& window, TRPSmartPopupProperties& settings);

  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override {
    TCustomControl::SetBounds(left, top, width, height);
  }
  int32_t Left() const override { return TControl::Left(); }
  int32_t Top() const override { return TControl::Top(); }
  void Repaint() override { Invalidate(); }
  void SetHint(const AnsiString& hint) override;
  void Click() override;
  bool Hovered() const { return FHovered; }

  void Paint(const TRect& clip) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void MouseLeave() override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;

private:
  TRPWindow& FWindow;
  TRPSmartPopupProperties& FSettings;
  bool FHovered = false;
};
