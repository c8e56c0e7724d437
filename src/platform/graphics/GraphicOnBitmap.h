// A graphic drawn onto a bitmap: how graphics that are no raster of their own (icons with
// their masks, metafiles) are assigned to a bitmap, and how a picture is drawn onto a
// bitmap of its size for export. A bitmap made of a metafile takes the size its data
// admits (TMetafile::RasterSize), so a stated size of a few bytes costs no gigabyte.
#pragma once

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Graphic.h"

// The size a bitmap of the graphic takes: a metafile's RasterSize, any other graphic's
// Width x Height.
TSize RasterSizeOf(const TGraphic& graphic);
// Draws the graphic at (0, 0) of the canvas at RasterSizeOf: as TCanvas::Draw does when
// that is its own size, stretched into it otherwise.
void DrawAtRasterSize(TCanvas& canvas, const TGraphic& graphic);
// The bitmap becomes RasterSizeOf the graphic, white, with the graphic drawn on it.
void DrawOnWhiteBitmap(const TGraphic& graphic, TBitmap& bitmap);
