// The rich view control's input: what its window host hands on from the mouse, the
// keyboard, the focus and the timers, turned into the document's handling.
#include "richtext/layout/view/RichPane.h"
#include "richtext/model/RPStyle.h"

namespace {

constexpr uint32_t ScrollTimerInterval = 100;
constexpr uint32_t SlowScrollTimerInterval = 300;

}  // namespace

void TCustomRichPane::StartScrollTimer(bool slow) {
  if (Host()) Host()->SetTimer(RPScrollTimerId, slow ? SlowScrollTimerInterval : ScrollTimerInterval);
}

void TCustomRichPane::StopScrollTimer() {
  if (Host()) Host()->KillTimer(RPScrollTimerId);
}

void TCustomRichPane::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  FData->MouseDown(button, shift, x, y);
  if (button == mbLeft && (shift & ssDouble) == 0) StartScrollTimer(false);
}

void TCustomRichPane::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  RecordAutoScroll(x, y);
  FData->MouseMove(shift, x, y);
}

void TCustomRichPane::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (button == mbLeft) StopScrollTimer();
  FData->MouseUp(button, shift, x, y);
}

void TCustomRichPane::DblClick() { FData->DblClick(); }

void TCustomRichPane::MouseLeave() { FData->MouseLeave(); }

void TCustomRichPane::GenerateMouseMove() {
  if (!Host()) return;
  const TPoint point = Host()->GetMousePos();
  MouseMove(Host()->GetShiftState(), point.X, point.Y);
}

void TCustomRichPane::TimerTick(uint32_t id) {
  if (id == RPAnimationTimerId) {
    AnimationTick();
    return;
  }
  if (id != RPScrollTimerId) return;
  AutoScrollTick();
  GenerateMouseMove();
}

bool TCustomRichPane::IsCopyShortcut(uint16_t key, TShiftState shift) {
  return (shift & (ssCtrl | ssAlt)) == ssCtrl && (key == 'C' || key == VK_INSERT);
}

bool TCustomRichPane::WantsTabs() const { return FData->TabNavigation != rptnNone; }

bool TCustomRichPane::KeyDown(uint16_t key, TShiftState shift) {
  // The shortcut of a shown smart popup button clicks it (before the keys scroll).
  if (IRPSmartPopupButton* button = FData->SmartPopupButton();
      button && FSmartPopupProperties && RPShortCutOf(key, shift) == FSmartPopupProperties->ShortCut()) {
    button->Click();
    return true;
  }
  if (ScrollKeyDown(key, shift)) return true;
  if (IsCopyShortcut(key, shift)) {
    CopySelection();
    return true;
  }
  if (key == VK_TAB && (shift & ssAlt) == 0) {
    const bool ctrl = (shift & ssCtrl) != 0;
    const TRPTabNavigationType navigation = FData->TabNavigation;
    if ((navigation == rptnTab && !ctrl) || (navigation == rptnCtrlTab && ctrl)) {
      const bool backward = (shift & ssShift) != 0;
      TCanvas* canvas = Host() ? Host()->WindowCanvas() : nullptr;
      if (!FData->DoTabNavigation(backward, canvas) && Host()) Host()->FocusNextControl(backward);
      return true;
    }
  }
  if (key == VK_RETURN && FData->FocusedItemData && FData->FocusedItemNo >= 0) {
    FData->ExecuteFocusedItem();
    return true;
  }
  return false;
}

namespace {

// Whether the style sheet shows a selection of an unfocused view in other colours.
bool InactiveColorsDiffer(const TRPStyle* style) {
  return style && (style->InactiveSelColor != style->SelColor || style->InactiveSelTextColor != style->SelTextColor);
}

}  // namespace

void TCustomRichPane::FocusEnter(bool byKeyboard, bool backward) {
  if (byKeyboard && FData->TabNavigation != rptnNone) {
    TCanvas* canvas = Host() ? Host()->WindowCanvas() : nullptr;
    if (canvas && FData->IsFocusRectangleShown()) FData->DrawFocusRectangle(*canvas);
    FData->UnfocusItem();
    // A document without focusable items keeps the focus (its keys scroll it).
    FData->DoTabNavigation(backward, canvas);
  }
  if (InactiveColorsDiffer(FStyle)) Repaint();
}

void TCustomRichPane::FocusExit() {
  if (InactiveColorsDiffer(FStyle)) Repaint();
}

bool TCustomRichPane::CopySelection() { return FData->Copy(EffectiveColor(), FBackground.get()); }
