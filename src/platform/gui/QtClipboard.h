// Gathered formats (Clipbrd.h) as Qt's MIME data, for the clipboard and for drags.
#pragma once

#include <QImage>
#include <QMimeData>

#include "platform/gui/Clipbrd.h"

class TBitmap;

// A new MIME data object; the caller owns it.
QMimeData* ToMimeData(const TDataObject& data);
// A bitmap as a Qt image, and a Qt image into a 24-bit bitmap.
QImage ToQImage(const TBitmap& bitmap);
void FromQImage(const QImage& source, TBitmap& bitmap);
