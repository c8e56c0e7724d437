// Pictures on devices: which graphics may be transparent, palettes given to graphics,
// drawing a graphic scaled from screen to device pixels, a bitmap drawn as a DIB, and
// the replaceable hooks through which readers create graphics.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Graphic.h"
#include "platform/graphics/Palette.h"
#include "richtext/model/RPScaling.h"

// A bitmap answers its Transparent property, a JPEG image false, any other graphic true.
bool GraphicMayBeTransparent(const TGraphic& graphic);
// Gives the graphic a palette made from logPalette; nothing without one.
void ApplyPaletteToGraphic(TGraphic& graphic, const TLogPalette* logPalette);
// Draws graphic at (x, y) of the canvas at its size (negative width or height: the
// graphic's own) scaled from screen to device pixels: stretched when asked, else only a
// bitmap, through DrawBitmapAsDIB (other graphics are then not drawn).
void DrawGraphicOnDevice(TCanvas& canvas, int32_t x, int32_t y, bool stretch, const TGraphic& graphic,
                         const TRPResolution& resolution, int32_t height, int32_t width);
// The bitmap read as a 24-bit DIB and drawn into (x, y, width, height) of the context.
void DrawBitmapAsDIB(HDC dc, int32_t x, int32_t y, const TBitmap& bitmap, int32_t height, int32_t width);

// Makes a graphic of a class (default: the class's own constructor); called by the
// native-format and RTF readers.
using TRPGraphicCreator = std::function<std::unique_ptr<TGraphic>(TGraphicClass graphicClass)>;
// Told after a graphic was imported (default: nothing).
using TRPGraphicImported = std::function<void(TGraphic& graphic)>;
void SetRPGraphicCreator(TRPGraphicCreator creator);
void SetRPGraphicImported(TRPGraphicImported imported);
std::unique_ptr<TGraphic> RPCreateGraphic(TGraphicClass graphicClass);
void RPAfterGraphicImport(TGraphic& graphic);
