// Page layout and page painting of the item kinds whose classes stand in the model, below
// this folder: pictures (and hot pictures), bullets (and hotspots), list markers and
// controls. The model cannot see page layout, so their printing draw items and bitmaps
// are made here, beside the IRPPrintableItem path that items of later folders (tables)
// implement themselves.
#pragma once

#include <cstdint>
#include <memory>

#include "richtext/layout/RPDrawLines.h"
#include "richtext/model/RPColorModes.h"
#include "richtext/model/RPScaling.h"

class TBitmap;
class TCanvas;
class IRPStyleSheet;
class TCustomRPItemInfo;
class TCustomRPFormattedData;

// The printing draw item of a picture or a control: a TRPMultiImagePrintInfo sized to
// the item in device pixels when it prints in parts, else a plain one; nullptr for any
// other class.
std::unique_ptr<TRPDrawLineInfo> CreateModelItemPrintingDrawItem(const TCustomRPItemInfo& item,
                                                                 const TRPResolution& resolution);
// Whether item is a picture, a bullet, a list marker or a control, which
// PrintModelItemToBitmap paints.
bool IsModelBitmapItem(const TCustomRPItemInfo& item);
// Paints a picture or a control (part `part` of its split draw item, -1: whole), a
// bullet or a list marker of a picture or image level into the page painter's bitmap. A
// control prints the image that the print component's OnPrintComponent gives for it,
// else an image of the control drawn without its window (the document data holding the
// item tells which print component). True when the bitmap is to be drawn on the page.
bool PrintModelItemToBitmap(const TCustomRPItemInfo& item, TBitmap& bitmap, bool preview, int32_t part,
                            const TRPDrawLineInfo& drawItem, TRPColorMode colorMode, const IRPStyleSheet* rpStyle,
                            TCustomRPFormattedData& data);
// Paints a model item that draws itself on the page (a list marker's text, a metafile
// picture) at (x, y) of the page canvas; false for any other item.
bool PrintModelItem(const TCustomRPItemInfo& item, TCanvas& canvas, int32_t x, int32_t y, TRPColorMode colorMode,
                    const IRPStyleSheet* rpStyle, const TRPResolution& resolution);
