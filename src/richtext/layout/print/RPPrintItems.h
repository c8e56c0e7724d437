// What laying a document out into pages and painting its pages ask of item kinds whose
// units stand outside this folder (pictures, controls, tables, list markers). An item
// class implements the interface to take part; an item without it gets a plain draw
// item and is not painted on pages (text, breaks and tabs are painted by the page
// painter itself).
#pragma once

#include <cstdint>
#include <memory>

#include "platform/graphics/Geometry.h"
#include "richtext/layout/RPDrawLines.h"
#include "richtext/model/RPColorModes.h"
#include "richtext/model/RPScaling.h"

class TBitmap;
class TCanvas;
class TCustomRPFormattedData;

class IRPPrintableItem {
public:
  virtual ~IRPPrintableItem() = default;
  // The item's draw item in a document laid out for pages (resolution: the layout's):
  // a TRPMultiDrawItemInfo when the item may be split over pages, else a plain one.
  virtual std::unique_ptr<TRPDrawLineInfo> CreatePrintingDrawItem(TCustomRPFormattedData& data,
                                                                  const TRPResolution& resolution) = 0;
  // For items that print through a bitmap (GetBoolValueEx rpibqxPrintAsBitmap): paints
  // the item, or part `part` (0-based; -1: the whole item) of its split draw item, into
  // bitmap, which the page painter sized in screen pixels and filled with what lies
  // beneath. True when the bitmap is to be drawn on the page.
  virtual bool PrintToBitmap(TBitmap& bitmap, bool preview, TRPColorMode colorMode, int32_t part,
                             TRPDrawLineInfo& drawItem, TCustomRPFormattedData& data) = 0;
  // For the other items: paints directly on the page canvas at (x, y) in device pixels;
  // right is the area's right edge for an item that takes a whole line.
  virtual void Print(TCanvas& canvas, int32_t x, int32_t y, int32_t right, TCustomRPFormattedData& data,
                     TRPColorMode colorMode, int32_t part, TRPDrawLineInfo& drawItem, const TRPResolution& resolution,
                     bool preview, bool correction) = 0;
  // Paints what the item shows behind items that lie on it (a table: its own and the
  // painted cell's colour or picture) into rect of a page or of an item's bitmap, aligned
  // to area (the item's rectangle there). mode 0 asks for nothing; the page painter
  // asks with -1. Nothing in this class.
  virtual void DrawBackground(TCanvas&, const TRect&, int32_t, TRPColorMode, const TRect&) {}
};

// The draw item formatting makes for item itemNo of data: the item's printing draw item
// when data is laid out for pages and the item prints itself, else a plain one.
std::unique_ptr<TRPDrawLineInfo> CreateLayoutDrawItem(TCustomRPFormattedData& data, int32_t itemNo,
                                                      const TRPResolution& resolution);
