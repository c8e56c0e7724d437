// The item resizer's handles, hit tests and drag geometry.
#include "richtext/edit/RPItemResizer.h"

#include "platform/base/Numbers.h"
#include "richtext/layout/RPDrawLines.h"
#include "richtext/model/RPItemInfo.h"

bool RPResizeCornersProportionally = true;

namespace {

// Items narrower or lower than this show their handles outside.
constexpr int32_t SmallItemSize = 12;

// The sides each handle moves: left, top, right, bottom.
struct TMovedSides {
  bool Left, Top, Right, Bottom;
};
constexpr TMovedSides MovedSides[TRPItemResizer::HandleCount] = {
    {true, true, false, false},  {false, true, true, false},  {false, false, true, true},  {true, false, false, true},
    {false, true, false, false}, {false, false, true, false}, {false, false, false, true}, {true, false, false, false}};

constexpr TCursor HandleCursors[TRPItemResizer::HandleCount] = {crSizeNWSE, crSizeNESW, crSizeNWSE, crSizeNESW,
                                                                crSizeNS,   crSizeWE,   crSizeNS,   crSizeWE};

// Gives the sides low .. high the length t: both move by half the difference when
// symmetric, else the low side when it was dragged, else the high one.
void KeepProportion(int32_t& low, int32_t& high, int32_t t, bool symmetric, bool lowMoved) {
  const int32_t u = t - (high - low);
  if (symmetric) {
    low -= u / 2;
    high += u / 2;
  } else if (lowMoved) {
    low -= u;
  } else {
    high = low + t;
  }
}

}  // namespace

TRPItemResizer::TRPItemResizer(TRPDrawLineInfo& drawItem, int32_t drawItemNo, TCustomRPItemInfo* item)
    : Width(drawItem.Width),
      Height(drawItem.Height),
      DrawItem(&drawItem),
      DrawItemNo(drawItemNo),
      ItemNo(drawItem.ItemNo),
      Item(item) {}

TPoint TRPItemResizer::HandlePoint(int32_t index) const {
  switch (index) {
    case 0:
      return {0, 0};
    case 1:
      return {Width, 0};
    case 2:
      return {Width, Height};
    case 3:
      return {0, Height};
    case 4:
      return {Width / 2, 0};
    case 5:
      return {Width, Height / 2};
    case 6:
      return {Width / 2, Height};
    default:
      return {0, Height / 2};
  }
}

TPoint TRPItemResizer::DisplayedPoint(int32_t index) const {
  const int32_t d = HandlesOutside || Width < SmallItemSize || Height < SmallItemSize ? -HandleOffset : HandleOffset;
  TPoint point = HandlePoint(index);
  if (index == 0 || index == 3 || index == 7) point.X += d;
  if (index == 1 || index == 2 || index == 5) point.X -= d;
  if (index == 0 || index == 1 || index == 4) point.Y += d;
  if (index == 2 || index == 3 || index == 6) point.Y -= d;
  return point;
}

void TRPItemResizer::DrawHandles(TCanvas& canvas, int32_t hOffs, int32_t vOffs) const {
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetColor(clBlack);
  canvas.Pen().SetStyle(psSolid);
  canvas.Brush().SetStyle(bsClear);
  for (int32_t i = 0; i < HandleCount; ++i) {
    const TPoint point = DisplayedPoint(i);
    const int32_t x = DrawItem->Left + point.X - hOffs;
    const int32_t y = DrawItem->Top + point.Y - vOffs;
    canvas.Pen().SetMode(pmCopy);
    canvas.Rectangle(x - 3, y - 3, x + 3, y + 3);
    canvas.Pen().SetMode(pmNot);
    canvas.Rectangle(x - 2, y - 2, x + 2, y + 2);
    canvas.Rectangle(x - 1, y - 1, x + 1, y + 1);
  }
  canvas.Pen().SetMode(pmCopy);
}

bool TRPItemResizer::HandleAt(int32_t x, int32_t y, int32_t vOffs, int32_t hOffs, int32_t& index) const {
  const int32_t docX = x + hOffs - DrawItem->Left;
  const int32_t docY = y + vOffs - DrawItem->Top;
  for (int32_t i = 0; i < HandleCount; ++i) {
    const TPoint point = DisplayedPoint(i);
    if (point.X - HandleHitSize <= docX && docX <= point.X + HandleHitSize && point.Y - HandleHitSize <= docY &&
        docY <= point.Y + HandleHitSize) {
      index = i;
      return true;
    }
  }
  return false;
}

TCursor TRPItemResizer::GetCursor(int32_t index) {
  return index >= 0 && index < HandleCount ? HandleCursors[index] : crDefault;
}

bool TRPItemResizer::StartDrag(int32_t x, int32_t y, int32_t vOffs, int32_t hOffs) {
  int32_t index = 0;
  if (!HandleAt(x, y, vOffs, hOffs, index)) return false;
  Dragging = true;
  Handle = static_cast<uint8_t>(index);
  const TPoint point = HandlePoint(index);
  GrabOffsetX = x + hOffs - DrawItem->Left - point.X;
  GrabOffsetY = y + vOffs - DrawItem->Top - point.Y;
  FrameLeft = 0;
  FrameTop = 0;
  FrameRight = DrawItem->Width;
  FrameBottom = DrawItem->Height;
  Cancelled = false;
  return true;
}

int32_t TRPItemResizer::BorderSpacing() const {
  const auto* rect = dynamic_cast<const TRPRectItemInfo*>(Item);
  return rect ? rect->Spacing * 2 : 0;
}

void TRPItemResizer::DragTo(TShiftState shift, int32_t x, int32_t y, int32_t vOffs, int32_t hOffs) {
  FrameLeft = 0;
  FrameTop = 0;
  FrameRight = DrawItem->Width;
  FrameBottom = DrawItem->Height;
  const int32_t itemX = x + hOffs - DrawItem->Left - GrabOffsetX;
  const int32_t itemY = y + vOffs - DrawItem->Top - GrabOffsetY;
  const TMovedSides moved = MovedSides[Handle];
  if (moved.Left) FrameLeft = itemX;
  if (moved.Right) FrameRight = itemX;
  if (moved.Top) FrameTop = itemY;
  if (moved.Bottom) FrameBottom = itemY;
  // At least 2 pixels each way.
  if (FrameLeft >= FrameRight - 1) {
    if (moved.Left) FrameLeft = FrameRight - 2;
    if (moved.Right) FrameRight = FrameLeft + 2;
  }
  if (FrameTop >= FrameBottom - 1) {
    if (moved.Top) FrameTop = FrameBottom - 2;
    if (moved.Bottom) FrameBottom = FrameTop + 2;
  }
  const bool symmetric = (shift & ssCtrl) != 0;
  if (symmetric) {
    if (moved.Left) FrameRight = DrawItem->Width - FrameLeft;
    if (moved.Top) FrameBottom = DrawItem->Height - FrameTop;
    if (moved.Right) FrameLeft = DrawItem->Width - FrameRight;
    if (moved.Bottom) FrameTop = DrawItem->Height - FrameBottom;
  }
  const bool corner = Handle < 4;
  if ((shift & ssShift) == 0 && !(RPResizeCornersProportionally && corner)) return;
  const int32_t w = DrawItem->Width - BorderSpacing();
  const int32_t h = DrawItem->Height - BorderSpacing();
  if (w < 1 || h < 1) return;
  const double sx = static_cast<double>(FrameRight - FrameLeft) / w;
  const double sy = static_cast<double>(FrameBottom - FrameTop) / h;
  if (sx > sy)
    KeepProportion(FrameTop, FrameBottom, static_cast<int32_t>(Round(sx * h)), symmetric, moved.Top);
  else
    KeepProportion(FrameLeft, FrameRight, static_cast<int32_t>(Round(sy * w)), symmetric, moved.Left);
}

void TRPItemResizer::XorDrawFrame(TCanvas& canvas, int32_t hOffs, int32_t vOffs) const {
  canvas.Pen().SetMode(pmNot);
  canvas.Pen().SetWidth(1);
  canvas.Brush().SetStyle(bsClear);
  canvas.Pen().SetStyle(psDot);
  canvas.Rectangle(DrawItem->Left + FrameLeft - hOffs, DrawItem->Top + FrameTop - vOffs,
                   DrawItem->Left + FrameRight - hOffs, DrawItem->Top + FrameBottom - vOffs);
  canvas.Pen().SetMode(pmCopy);
}

void TRPItemResizer::EndDrag() {
  if (!Cancelled) {
    Width = FrameRight - FrameLeft;
    Height = FrameBottom - FrameTop;
  }
  Dragging = false;
  Cancelled = false;
}

void TRPItemResizer::Cancel() {
  Dragging = false;
  Cancelled = true;
}
