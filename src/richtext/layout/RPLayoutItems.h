// What formatting and painting ask of item kinds whose own units stand outside this
// folder (tables, pictures, controls, list markers; a list marker's level indents come
// through IRPListMarkerLevel of RPMarkerList.h). Such an item class implements the
// interface to take part; an item without it is measured by its TRPNonTextItemInfo
// sizes and paints nothing. Minimal widths and control placement go through the item
// base's own GetMinWidth and AdjustControlPlacement.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "richtext/model/RPMarkerList.h"

class TCanvas;
class TCustomRPFormattedData;
class TRPDrawLineInfo;
struct TRPJumpInfo;

class IRPLayoutItem {
public:
  virtual ~IRPLayoutItem() = default;
  // Lays the item out for availWidth device pixels before it is placed; its
  // GetWidth/GetHeight/GetDescent (screen pixels) then give its size. horzOffset
  // receives a shift to the right in device pixels. flag1 and flag2 are the Format call's
  // item flags (RPFormattedData.h says what they ask).
  virtual void FormatForWidth(int32_t availWidth, TCanvas& canvas, TCustomRPFormattedData& data, bool flag1, bool flag2,
                              int32_t& horzOffset) = 0;
  // Paints the item with its box's top-left corner at (x, y) of the canvas.
  virtual void Paint(int32_t x, int32_t y, TCanvas& canvas, uint32_t drawState, TCustomRPFormattedData& data,
                     const TRPDrawLineInfo& drawItem) = 0;
};

// An item that holds a selection of its own (a table with selected cells).
class IRPInnerSelectionItem {
public:
  virtual ~IRPInnerSelectionItem() = default;
  // Drops that selection.
  virtual void ReleaseInnerSelection() = 0;
};

// A full-line item with hyperlink areas of its own (a table: its cells' hyperlinks).
class IRPJumpAreasItem {
public:
  virtual ~IRPJumpAreasItem() = default;
  // Appends the item's areas, numbered from jumpNo on (jumpNo moves past the numbers
  // used). Each area names the document that owns it and its draw item there; its box is
  // set from them when the pass ends.
  virtual void AddJumpAreas(TCustomRPFormattedData& data, int32_t drawNo, int32_t& jumpNo,
                            std::vector<std::unique_ptr<TRPJumpInfo>>& list) = 0;
};
