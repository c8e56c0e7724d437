// What a rich view asks of the window that shows it. The document side (scroll state,
// formatting, painting into any canvas) needs no display; a control without a host is
// the report's invisible control, for which creating a window, showing or hiding scroll
// bars and repainting are no-ops. The on-screen editor attaches a host, which is also
// the view that the control's document asks to repaint (IRPDocumentView).
#pragma once

#include <cstdint>

#include "richtext/layout/RPDocumentView.h"

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
};
