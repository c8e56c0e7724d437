// The window of a rich view on screen.
#include "richtext/screen/RPWindow.h"

#include "richtext/layout/view/RichPane.h"
#include "richtext/model/RPThemes.h"
#include "richtext/screen/RPSmartPopupButton.h"

namespace {

// The rich view's scroll commands of the window's, in the order of TScrollCode.
constexpr TRPScrollCode ScrollCodes[] = {rpscLineBack,      rpscLineForward, rpscPageBack, rpscPageForward,
                                         rpscThumbPosition, rpscThumbTrack,  rpscStart,    rpscEnd};
static_assert(sizeof ScrollCodes / sizeof ScrollCodes[0] == scBottom + 1);

}  // namespace

void TRPClipboardSink::Open() {
  ::Clipboard().Open();
  ::Clipboard().Clear();
}

void TRPClipboardSink::Close() { ::Clipboard().Close(); }

TRPWindow::TRPWindow(TComponent* owner, TCustomRichPane& pane) : TCustomControl(owner), FPane(pane) {
  RPThemesStartup();
  SetBorderSingle(pane.BorderStyle == bsSingle);
  SetBounds(0, 0, pane.Width(), pane.Height());
  FPane.SetHost(this);
}

TRPWindow::~TRPWindow() {
  // The widget's last events (the focus leaving) still reach the control.
  DestroyHandle();
  if (FPane.Host() == this) FPane.SetHost(nullptr);
  RPThemesShutdown();
}

void TRPWindow::InitWidget() {
  TCustomControl::InitWidget();
  FPane.CreateThemeHandle();
}

void TRPWindow::SaveWidgetState() {
  FPane.CloseThemeHandle();
  TCustomControl::SaveWidgetState();
}

int32_t TRPWindow::DoDragDrop(const std::function<void(IRPClipboard&)>& fill, int32_t allowedEffects) {
  TRPDragDataSink sink;
  fill(sink);
  return TCustomControl::DoDragDrop(sink.Data, allowedEffects);
}

std::unique_ptr<IRPSmartPopupButton> TRPWindow::CreateSmartPopupButton(TRPSmartPopupProperties& settings) {
  return std::make_unique<TRPSmartPopupButton>(*this, settings);
}

void TRPWindow::SetScrollBar(TRPScrollBarKind bar, int32_t max, int32_t page, int32_t position, bool visible) {
  TCustomControl::SetScrollBar(bar == rpsbVertical ? sbVertical : sbHorizontal, 0, max - 1, page, position, visible,
                               bar == rpsbVertical && FPane.VScrollDisableNoScroll);
}

void TRPWindow::Paint(const TRect& clip) { FPane.Paint(Canvas(), clip); }

void TRPWindow::Resize() { FPane.ClientResized(ClientWidth(), ClientHeight()); }

void TRPWindow::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (button == mbLeft) FClickPending = (shift & ssDouble) == 0;
  FPane.MouseDown(button, shift, x, y);
}

void TRPWindow::MouseMove(TShiftState shift, int32_t x, int32_t y) { FPane.MouseMove(shift, x, y); }

void TRPWindow::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (button == mbLeft && FClickPending) {
    FClickPending = false;
    if (x >= 0 && y >= 0 && x < ClientWidth() && y < ClientHeight()) Click();
  }
  FPane.MouseUp(button, shift, x, y);
}

void TRPWindow::DblClick() { FPane.DblClick(); }

void TRPWindow::MouseLeave() { FPane.MouseLeave(); }

bool TRPWindow::MouseWheel(TShiftState, int32_t notches) { return FPane.MouseWheel(notches, WheelScrollLines()); }

bool TRPWindow::KeyDown(uint16_t key, TShiftState shift) { return FPane.KeyDown(key, shift); }

bool TRPWindow::KeyText(const WideString& text, TShiftState shift) { return FPane.KeyText(text, shift); }

void TRPWindow::KeyUp(uint16_t key, TShiftState shift) { FPane.KeyUp(key, shift); }

void TRPWindow::DoEnter(TFocusArrival arrival) {
  FPane.FocusEnter(arrival == faTab || arrival == faBacktab, arrival == faBacktab);
}

void TRPWindow::DoExit() { FPane.FocusExit(); }

void TRPWindow::Timer(uint32_t id) { FPane.TimerTick(id); }

void TRPWindow::ScrollBarCommand(TScrollBarKind kind, TScrollCode code, int32_t thumbPos) {
  if (kind == sbVertical)
    FPane.VScrollCommand(ScrollCodes[code], thumbPos);
  else
    FPane.HScrollCommand(ScrollCodes[code], thumbPos);
}

bool TRPWindow::TakesTabs() const { return FPane.WantsTabs(); }
