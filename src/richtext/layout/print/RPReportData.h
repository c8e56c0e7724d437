// The document of the report control: laid out for a canvas and a page width, then cut
// into pages one call at a time (RPPageBreaking.cpp).
#pragma once

#include <cstdint>

#include "richtext/layout/print/RPPrintableData.h"

// Raised when page breaking makes more pages than it can need (draw items + split parts
// + 1): a fault in a split item, never a valid document.
inline constexpr char errRPPageBound[] = "Page layout exceeded its bound: more pages than draw items and split parts";

class TReportRPData : public TCustomMainPtblRPData {
public:
  using TCustomMainPtblRPData::TCustomMainPtblRPData;

  // Paging state between calls: the current page's top (document Y), the room for the
  // next part of the split item, the first draw item not yet on a page, and whether the
  // draw item there has been started on a page and continues.
  int32_t PageStartY = 0;
  int32_t SplitRoom = 0;
  int32_t NextDrawItem = 0;
  bool SplittingItem = false;
  // The page height of the last painting: the document's height.
  int32_t PaintHeight = 0;
  // The height of the previous LayoutNextPage.
  int32_t PrevLayoutHeight = 0;

  int32_t GetHeight() const override { return PaintHeight; }
  // Passed to the report helper's OnDrawHyperlink and OnDrawCheckpoint.
  void DoDrawHyperlink(TCustomRPData* rpData, int32_t itemNo, const TRect& rect) override;
  void DoDrawCheckpoint(TCustomRPData* rpData, int32_t itemNo, int32_t x, int32_t y) override;

  // Clears the pages and the paging state and empties every split item's parts.
  void ResetPages();
  // Formats the whole document on canvas for a page width in device pixels.
  void BeginLayout(TCanvas& canvas, int32_t width);
  // True when the document has no draw items or every draw item is on a page.
  bool AllPagesDone() const;
  // Lays out the next page of height device pixels; false (and nothing done) when every
  // draw item is on a page already. Raises ERichPaneError errRPPageBound when the page
  // count passes its bound.
  bool LayoutNextPage(int32_t height);
  // The control's vertical margins into SavedTopMargin/SavedBottomMargin, zeroed in the
  // control; and back.
  void SaveVertMargins();
  void RestoreVertMargins();

private:
  // One page of the available height (page height less the device margins).
  void BreakPage(int32_t height);
  // The split item at NextDrawItem continues: true when it goes on past this page (a
  // page was added and the call ends).
  bool ContinueSplitItem(int32_t height);
  // Finds the draw item that begins the next page when NextDrawItem does not fit or
  // must begin a page; true when NextDrawItem moved.
  bool FindPageBreak(bool splitItem);
  void AddPage(int32_t topY, int32_t firstDrawItem, int32_t firstPart);
  // A page that begins with part firstPart of the split item drawNo, with the room its
  // next part has on a page of height.
  void AddSplitPage(int32_t drawNo, int32_t firstPart, int32_t height);
  int32_t SpaceBefore(int32_t drawNo) const;
  int32_t SpaceAfter(int32_t drawNo) const;
  // Draw items + split parts + 1: more pages than that means a fault.
  int32_t PageBound() const;
  // Parts that the split items hold (kept as they change).
  int32_t FSplitParts = 0;
};
