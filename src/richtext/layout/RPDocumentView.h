// The window that shows a formatted document, as painting asks it to repaint. A
// document without one (a page being laid out, a cell's data) repaints nothing.
#pragma once

#include "platform/graphics/Geometry.h"

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
};
