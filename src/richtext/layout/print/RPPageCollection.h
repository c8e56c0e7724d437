// Page records of a document laid out into pages, page 1 first. A page is a window onto
// the document's Y axis that begins at a draw item; lengths are device pixels.
#pragma once

#include <cstdint>
#include <vector>

struct TRPPageInfo {
  // Document Y shown at the top of the page's drawing area; for a page that begins with
  // a part of a split draw item, minus the SpaceBefore of that item's paragraph.
  int32_t TopY = 0;
  int32_t FirstDrawItem = 0;
  // 0: the page begins with a whole draw item; else the 1-based part of FirstDrawItem
  // at its top (1: the item's first part, 2 and more: a continuation).
  int32_t FirstPart = 0;
  // For a page that begins with a part: the document Y at the page top for the draw
  // items that follow that part.
  int32_t ContinuedTopY = 0;

  // Copies TopY and FirstDrawItem only.
  void Assign(const TRPPageInfo& source) {
    TopY = source.TopY;
    FirstDrawItem = source.FirstDrawItem;
  }
};

class TRPPageCollection {
public:
  int32_t Count() const { return static_cast<int32_t>(FPages.size()); }
  // index 0 .. Count - 1 (page numbers are 1-based: page n is GetItem(n - 1)).
  TRPPageInfo& GetItem(int32_t index) { return FPages[static_cast<size_t>(index)]; }
  const TRPPageInfo& GetItem(int32_t index) const { return FPages[static_cast<size_t>(index)]; }
  TRPPageInfo& Last() { return FPages.back(); }
  TRPPageInfo& Add(int32_t topY, int32_t firstDrawItem, int32_t firstPart) {
    return FPages.emplace_back(TRPPageInfo{topY, firstDrawItem, firstPart, 0});
  }
  void Clear() { FPages.clear(); }

private:
  std::vector<TRPPageInfo> FPages;
};
