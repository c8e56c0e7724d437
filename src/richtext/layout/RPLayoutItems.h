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

#include "platform/base/UserInput.h"
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

// An item with mouse handling of its own (a table: cells, borders). Points are document
// coordinates of the document that holds the item. Answers whether the item handled the
// event; the document's own handling then stays out.
class IRPMouseItem {
public:
  virtual ~IRPMouseItem() = default;
  virtual bool MouseMove(TCustomRPFormattedData& data, int32_t itemNo, TShiftState shift, int32_t x, int32_t y) = 0;
  virtual bool MouseDown(TCustomRPFormattedData& data, int32_t itemNo, TMouseButton button, TShiftState shift,
                         int32_t x, int32_t y) = 0;
  virtual bool MouseUp(TCustomRPFormattedData& data, int32_t itemNo, TMouseButton button, TShiftState shift, int32_t x,
                       int32_t y) = 0;
};

// An item whose own documents hold items that take the keyboard focus (a table: its
// cells' hyperlinks).
class IRPFocusItem {
public:
  virtual ~IRPFocusItem() = default;
  // Whether one of its documents holds an item that takes the focus.
  virtual bool HasFocusableItems() const = 0;
  // Moves the focus to the next (backward: previous) such item after the one focused in
  // it now (the first or last when none is); data and itemNo receive it. False (and no
  // focus in the item) when none is left.
  virtual bool MoveFocus(bool forward, TCustomRPFormattedData*& data, int32_t& itemNo) = 0;
  // No item of its documents holds the focus any longer.
  virtual void ClearFocus() = 0;
};
