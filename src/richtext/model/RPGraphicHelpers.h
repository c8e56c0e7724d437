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
void SetRPGraphicCreator(TRPGraphicCreator creator);
std::unique_ptr<TGraphic> RPCreateGraphic(TGraphicClass graphicClass);

// The engine's hook for imported graphics: the RTF reader calls it with every graphic it
// makes or loads, before the graphic is reported. It does nothing until a program
// replaces it (an empty hook is the same).
using TRPImportedGraphicHook = std::function<void(TGraphic& graphic)>;
extern TRPImportedGraphicHook ImportedGraphicHook;
// Calls ImportedGraphicHook when it is set.
void RPAfterGraphicImport(TGraphic& graphic);
