// The window of a rich view on screen: the control of the GUI layer that shows a rich
// view control's document (RichPane.h of the layout) and is its window host. It paints
// the document through the document's buffered painting into its client area, shows the
// scroll bars the control asks for and turns their commands, the mouse, the wheel, the
// keyboard, the focus and the timers into the control's calls; it gives the document the
// mouse cursor, the hints, the clipboard and drags.
//
// The control is not owned; it must outlive the window or be told of its end through
// the window's destruction (the window leaves the control without a host).
#pragma once

#include <cstdint>
#include <functional>

#include "platform/gui/Clipbrd.h"
#include "platform/gui/CustomControl.h"
#include "richtext/layout/view/RPWindowHost.h"

class TCustomRichPane;

// Copying into the system clipboard: opened and emptied, then closed.
class TRPClipboardSink : public IRPClipboard {
public:
  void Open() override;
  void Close() override;
  void SetText(const AnsiString& text) override { Clipboard().SetTextBuf(text); }
  void SetUnicodeText(const WideString& text) override { Clipboard().SetUnicodeText(text); }
  void SetGraphic(const TGraphic& graphic) override { Clipboard().Assign(graphic); }
  void SetData(uint32_t format, const AnsiString& bytes) override { Clipboard().SetBuffer(format, bytes); }
};

// The data of a drag, gathered before it starts.
class TRPDragDataSink : public IRPClipboard {
public:
  void SetText(const AnsiString& text) override { Data.SetTextBuf(text); }
  void SetUnicodeText(const WideString& text) override { Data.SetUnicodeText(text); }
  void SetGraphic(const TGraphic& graphic) override { Data.Assign(graphic); }
  void SetData(uint32_t format, const AnsiString& bytes) override { Data.SetBuffer(format, bytes); }
  TDataObject Data;
};

class TRPWindow : public TCustomControl, public IRPWindowHost, public IRPControlParent {
public:
  TRPWindow(TComponent* owner, TCustomRichPane& pane);
  ~TRPWindow() override;

  TCustomRichPane& Pane() const { return FPane; }

  // --- The host of the control (RPWindowHost.h) ------------------------------------------
  void InvalidateRect(const TRect& rect) override { TCustomControl::InvalidateRect(rect); }
  void Invalidate() override { TCustomControl::Invalidate(); }
  void Refresh() override { TCustomControl::Refresh(); }
  void Update() override { TCustomControl::Update(); }
  TCanvas* WindowCanvas() override { return &Canvas(); }
  void SetCursor(TCursor cursor) override { TCustomControl::SetCursor(cursor); }
  TCursor GetCursor() const override { return Cursor(); }
  void SetFocus() override { TWinControl::SetFocus(); }
  TPoint ClientToScreen(const TPoint& point) const override { return TCustomControl::ClientToScreen(point); }
  TPoint GetMousePos() const override { return MousePos(); }
  TShiftState GetShiftState() const override { return ShiftState(); }
  void ActivateHint(const WideString& text) override { TCustomControl::ActivateHint(text); }
  void PostCall(std::function<void()> call) override { TCustomControl::PostCall(std::move(call)); }
  IRPClipboard* Clipboard() override { return &FClipboard; }
  int32_t DoDragDrop(const std::function<void(IRPClipboard&)>& fill, int32_t allowedEffects) override;
  // A bar over the document's units 0 .. max - 1.
  void SetScrollBar(TRPScrollBarKind bar, int32_t max, int32_t page, int32_t position, bool visible) override;
  void ScrollContent(int32_t dx, int32_t dy) override { ScrollWindow(dx, dy); }
  bool Focused() const override { return TWinControl::Focused(); }
  void SetTimer(uint32_t id, uint32_t interval) override { TCustomControl::SetTimer(id, interval); }
  void KillTimer(uint32_t id) override { TCustomControl::KillTimer(id); }
  void FocusNextControl(bool backward) override { TCustomControl::FocusNextControl(backward); }
  // The control's caret, drawn over the document's pixels.
  void CreateCaret(int32_t width, int32_t height) override { TCustomControl::CreateCaret(width, height); }
  void DestroyCaret() override { TCustomControl::DestroyCaret(); }
  void SetCaretPos(int32_t x, int32_t y) override { TCustomControl::SetCaretPos(x, y); }
  void ShowCaret() override { TCustomControl::ShowCaret(); }
  void HideCaret() override { TCustomControl::HideCaret(); }
  // The controls of control items stand in the window.
  IRPControlParent* ControlParent() override { return this; }
  // A TRPSmartPopupButton in the window.
  std::unique_ptr<IRPSmartPopupButton> CreateSmartPopupButton(TRPSmartPopupProperties& settings) override;

  // --- What the window hands on -------------------------------------------------------
  void Paint(const TRect& clip) override;
  void Resize() override;
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  // A left press (not the second of a double click) released inside the client area is
  // a click: Click runs before the pane hears the release.
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void DblClick() override;
  void MouseLeave() override;
  bool MouseWheel(TShiftState shift, int32_t notches) override;
  bool KeyDown(uint16_t key, TShiftState shift) override;
  bool KeyText(const WideString& text, TShiftState shift) override;
  void KeyUp(uint16_t key, TShiftState shift) override;
  void DoEnter(TFocusArrival arrival) override;
  void DoExit() override;
  void Timer(uint32_t id) override;
  void ScrollBarCommand(TScrollBarKind kind, TScrollCode code, int32_t thumbPos) override;
  // Tab keys come to the view while it navigates by tab.
  bool TakesTabs() const override;

protected:
  // The control's theme data opens with the widget and closes before it goes.
  void InitWidget() override;
  void SaveWidgetState() override;

private:
  TCustomRichPane& FPane;
  TRPClipboardSink FClipboard;
  // A left press not yet released.
  bool FClickPending = false;
};
