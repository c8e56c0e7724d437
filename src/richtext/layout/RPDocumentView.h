// The window that shows a formatted document, as painting and the mouse handling ask it
// to repaint, change the cursor, show a hint, copy or drag. A document without one (a
// page being laid out, a cell's data) repaints nothing. The services past the first four
// have defaults that a window without them (a test's) keeps: no canvas of its own, no
// cursor, focus, hint, clipboard or drag.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/base/Types.h"
#include "platform/base/UserInput.h"
#include "platform/graphics/Geometry.h"
#include "richtext/layout/RPClipboard.h"

class TCanvas;

class IRPDocumentView {
public:
  virtual ~IRPDocumentView() = default;
  // Marks a rectangle of the window (client coordinates) for repainting.
  virtual void InvalidateRect(const TRect& rect) = 0;
  // Marks the whole window.
  virtual void Invalidate() = 0;
  // Repaints the whole window now.
  virtual void Refresh() = 0;
  // Paints what is marked now.
  virtual void Update() = 0;

  // The canvas on the window's pixels: what is drawn on it shows at once (XOR figures,
  // focus rectangles, painting); nullptr when the window has none.
  virtual TCanvas* WindowCanvas() { return nullptr; }
  // The mouse cursor shown over the window.
  virtual void SetCursor(TCursor) {}
  virtual TCursor GetCursor() const { return crDefault; }
  // Gives the window the keyboard focus.
  virtual void SetFocus() {}
  // A point of the client area in screen coordinates.
  virtual TPoint ClientToScreen(const TPoint& point) const { return point; }
  // Where the mouse is (client coordinates), and the modifier keys and mouse buttons held
  // now.
  virtual TPoint GetMousePos() const { return TPoint{0, 0}; }
  virtual TShiftState GetShiftState() const { return 0; }
  // Shows text as the hint at the mouse; an empty text hides the hint.
  virtual void ActivateHint(const WideString& /*text*/) {}
  // Runs call once the event being handled is done (a posted message).
  virtual void PostCall(std::function<void()> call) { call(); }
  // The system clipboard as a sink for copying; nullptr when there is none.
  virtual IRPClipboard* Clipboard() { return nullptr; }
  // Drags data out of the window: fill puts the formats into the drag's data; answers
  // the effect of the drop (DROPEFFECT_NONE when nothing was dropped).
  virtual int32_t DoDragDrop(const std::function<void(IRPClipboard&)>& /*fill*/, int32_t /*allowedEffects*/) {
    return DROPEFFECT_NONE;
  }
};
