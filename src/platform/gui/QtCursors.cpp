// The screen's cursors as Qt cursors: the platform shapes are Qt's own, cursor images
// become bitmap cursors.
#include "platform/gui/QtCursors.h"

#include <QBitmap>
#include <QImage>

#include "platform/base/Cursors.h"

namespace {

struct TShapeOf {
  TCursor Cursor;
  Qt::CursorShape Shape;
};
constexpr TShapeOf Shapes[] = {
    {crDefault, Qt::ArrowCursor},      {crNone, Qt::BlankCursor},         {crArrow, Qt::ArrowCursor},
    {crCross, Qt::CrossCursor},        {crIBeam, Qt::IBeamCursor},        {crSizeNESW, Qt::SizeBDiagCursor},
    {crSizeNS, Qt::SizeVerCursor},     {crSizeNWSE, Qt::SizeFDiagCursor}, {crSizeWE, Qt::SizeHorCursor},
    {crUpArrow, Qt::UpArrowCursor},    {crHourGlass, Qt::WaitCursor},     {crDrag, Qt::DragCopyCursor},
    {crNoDrop, Qt::ForbiddenCursor},   {crHSplit, Qt::SplitHCursor},      {crVSplit, Qt::SplitVCursor},
    {crMultiDrag, Qt::DragCopyCursor}, {crSQLWait, Qt::WaitCursor},       {crNo, Qt::ForbiddenCursor},
    {crAppStart, Qt::BusyCursor},      {crHelp, Qt::WhatsThisCursor},     {crHandPoint, Qt::PointingHandCursor},
    {crSizeAll, Qt::SizeAllCursor},
};

// Qt's bitmap cursors: where the mask is clear the screen shows through; where it is set
// the bitmap's set bits are black and its clear bits white.
QCursor ImageCursor(const TCursorImage& image) {
  QImage bitmap(image.Width, image.Height, QImage::Format_Mono);
  QImage mask(image.Width, image.Height, QImage::Format_Mono);
  bitmap.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  mask.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  for (int32_t y = 0; y < image.Height; ++y)
    for (int32_t x = 0; x < image.Width; ++x) {
      const bool through = image.AndBit(x, y), white = image.XorBit(x, y);
      // The screen inverted (AND and XOR set) shows as black over a clear mask, which
      // X draws inverted.
      bitmap.setPixel(x, y, (!through && !white) || (through && white) ? 1 : 0);
      mask.setPixel(x, y, through ? 0 : 1);
    }
  return QCursor(QBitmap::fromImage(bitmap), QBitmap::fromImage(mask), image.HotX, image.HotY);
}

QCursor ShapeCursor(TCursor cursor) {
  for (const TShapeOf& shape : Shapes)
    if (shape.Cursor == cursor) return QCursor(shape.Shape);
  return QCursor(Qt::ArrowCursor);
}

}  // namespace

QCursor ScreenCursorToQt(TCursor cursor) {
  if (cursor <= 0) return ShapeCursor(cursor);
  const TScreenCursor* registered = FindScreenCursor(cursor);
  if (!registered) return QCursor(Qt::ArrowCursor);
  return registered->Image ? ImageCursor(*registered->Image) : ShapeCursor(registered->Shape);
}
