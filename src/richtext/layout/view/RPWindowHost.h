// What a rich view asks of the window that shows it. The document side (scroll state,
// formatting, painting into any canvas, the mouse and keyboard handling) needs no
// display; a control without a host is the report's invisible control, for which
// creating a window, showing or hiding scroll bars and repainting are no-ops. The
// on-screen view attaches a host, which is also the view that the control's document
// asks to repaint, for a cursor, a hint or the clipboard (IRPDocumentView).
#pragma once

#include <cstdint>

#include <memory>

#include "richtext/layout/RPDocumentView.h"
#include "richtext/layout/view/RPPopup.h"
#include "richtext/model/RPControlItems.h"

enum TRPScrollBarKind : uint8_t { rpsbHorizontal, rpsbVertical };

class IRPWindowHost : public IRPDocumentView {
public:
  // Shows a bar with the range 0 .. max - 1, a page and a position; hides it when not
  // visible.
  virtual void SetScrollBar(TRPScrollBarKind bar, int32_t max, int32_t page, int32_t position, bool visible) = 0;
  // Shifts the client area's pixels by (dx, dy), invalidating the uncovered part.
  virtual void ScrollContent(int32_t dx, int32_t dy) = 0;
  // Whether the window has the keyboard focus.
  virtual bool Focused() const = 0;

  // A timer that calls the control's TimerTick(id) every interval milliseconds until it
  // is killed; setting an id again restarts it. None by default.
  virtual void SetTimer(uint32_t /*id*/, uint32_t /*interval*/) {}
  virtual void KillTimer(uint32_t /*id*/) {}
  // The keyboard focus leaves the view for the next (backward: previous) control of its
  // form.
  virtual void FocusNextControl(bool /*backward*/) {}

  // The text caret: one bar per window, width x height pixels, its top-left corner at a
  // client point, blinking while shown. Created hidden; ShowCaret and HideCaret nest as
  // the platform's caret calls do (a caret hidden twice needs two ShowCaret calls).
  // None by default.
  virtual void CreateCaret(int32_t /*width*/, int32_t /*height*/) {}
  virtual void DestroyCaret() {}
  virtual void SetCaretPos(int32_t /*x*/, int32_t /*y*/) {}
  virtual void ShowCaret() {}
  virtual void HideCaret() {}

  // The window that the controls of the document's control items stand in; none by
  // default (they stay hidden, as in a document without a window).
  virtual IRPControlParent* ControlParent() { return nullptr; }
  // A new smart popup button in the window, shown with the settings (the caller owns
  // it); none by default.
  virtual std::unique_ptr<IRPSmartPopupButton> CreateSmartPopupButton(TRPSmartPopupProperties&) { return nullptr; }
};
