// What a rich view asks of the window that shows it. The document side (scroll state,
// formatting, painting into any canvas) needs no display; a control without a host is
// the report's invisible control, for which creating a window, showing or hiding scroll
// bars and repainting are no-ops. The on-screen editor attaches a host.
#pragma once

#include <cstdint>

enum TRPScrollBarKind : uint8_t { rpsbHorizontal, rpsbVertical };

class IRPWindowHost {
public:
  virtual ~IRPWindowHost() = default;
  // Shows a bar with the range 0 .. max - 1, a page and a position; hides it when not
  // visible.
  virtual void SetScrollBar(TRPScrollBarKind bar, int32_t max, int32_t page, int32_t position, bool visible) = 0;
  // Shifts the client area's pixels by (dx, dy), invalidating the uncovered part.
  virtual void ScrollContent(int32_t dx, int32_t dy) = 0;
  // Asks for the whole client area to be painted again.
  virtual void Invalidate() = 0;
  // Whether the window has the keyboard focus.
  virtual bool Focused() const = 0;
};
