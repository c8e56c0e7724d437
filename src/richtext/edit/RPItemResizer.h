// The item resizer: the eight square handles drawn around the picture or control at the
// editor's caret, and the geometry of dragging one of them. The editable document data
// (RPERPData.h) makes it for the item, forwards painting and the mouse to it, and applies
// the size it ends with (ResizeItemUndoable).
//
// Handles, with their points on the item's rectangle (width w, height h) and cursors:
// 0 top-left (0, 0), 1 top-right (w, 0), 2 bottom-right (w, h), 3 bottom-left (0, h)
// (the corners, diagonal cursors), 4 top-middle (w div 2, 0), 6 bottom-middle
// (w div 2, h) (vertical), 5 right-middle (w, h div 2), 7 left-middle (0, h div 2)
// (horizontal). A handle is shown 3 pixels inside the rectangle from its point, or 3
// pixels outside when the item is narrower or lower than 12 pixels or asks for it.
//
// The frame is relative to the draw item's top-left; a drag moves the sides of its
// handle, keeps the frame at least 2 pixels each way, mirrors the moved sides with Ctrl
// and keeps the item's proportions with Shift, or for a corner while
// RPResizeCornersProportionally is set.
#pragma once

#include <cstdint>

#include "platform/base/UserInput.h"
#include "platform/graphics/Canvas.h"

class TCustomRPItemInfo;
class TRPDrawLineInfo;

// Corner handles keep the item's proportions.
extern bool RPResizeCornersProportionally;

class TRPItemResizer {
public:
  static constexpr int32_t HandleCount = 8;
  // The displayed handle lies this many pixels inside (or, negated, outside) its point.
  static constexpr int32_t HandleOffset = 3;
  // A point hits a handle within this many pixels on both axes.
  static constexpr int32_t HandleHitSize = 3;

  TRPItemResizer(TRPDrawLineInfo& drawItem, int32_t drawItemNo, TCustomRPItemInfo* item);

  // The item's size as drawn; after a drag ends, the frame's.
  int32_t Width = 0;
  int32_t Height = 0;
  TRPDrawLineInfo* DrawItem = nullptr;
  int32_t DrawItemNo = -1;
  int32_t ItemNo = -1;
  bool Dragging = false;
  bool Cancelled = false;
  uint8_t Handle = 0;
  int32_t GrabOffsetX = 0;
  int32_t GrabOffsetY = 0;
  int32_t FrameLeft = 0;
  int32_t FrameTop = 0;
  int32_t FrameRight = 0;
  int32_t FrameBottom = 0;
  TCustomRPItemInfo* Item = nullptr;
  bool HandlesOutside = false;

  // The handle's exact point on the item's rectangle, and where it is shown (both
  // relative to the draw item's top-left).
  TPoint HandlePoint(int32_t index) const;
  TPoint DisplayedPoint(int32_t index) const;
  // The eight handles at their displayed points less the scroll offsets; the pen ends in
  // copy mode.
  void DrawHandles(TCanvas& canvas, int32_t hOffs, int32_t vOffs) const;
  // The first handle within HandleHitSize pixels of the client point (x, y) scrolled by
  // the offsets.
  bool HandleAt(int32_t x, int32_t y, int32_t vOffs, int32_t hOffs, int32_t& index) const;
  static TCursor GetCursor(int32_t index);
  // Starts dragging the handle under the point; false when none is there.
  bool StartDrag(int32_t x, int32_t y, int32_t vOffs, int32_t hOffs);
  // The frame follows the mouse (see the file's head).
  void DragTo(TShiftState shift, int32_t x, int32_t y, int32_t vOffs, int32_t hOffs);
  // The dotted frame in inverting mode: drawing it twice erases it.
  void XorDrawFrame(TCanvas& canvas, int32_t hOffs, int32_t vOffs) const;
  // Unless cancelled, the frame's size becomes the size; the drag ends.
  void EndDrag();
  void Cancel();

private:
  // Twice the item's spacing for rectangular items, else 0.
  int32_t BorderSpacing() const;
};
