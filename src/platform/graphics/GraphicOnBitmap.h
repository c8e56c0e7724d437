// A graphic drawn onto a bitmap of its own size over white: how graphics that are no
// raster of their own (icons with their masks, metafiles) are assigned to a bitmap.
#pragma once

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Graphic.h"

void DrawOnWhiteBitmap(const TGraphic& graphic, TBitmap& bitmap);
