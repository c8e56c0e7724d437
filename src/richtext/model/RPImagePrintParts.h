// Printing a tall picture (or control) in parts over pages.
//
// Page breaking asks the printing draw item of such an item to start its parts, whether
// its first part may begin with a given room left on the page, and to cut its last part
// to a page's room. The draw item keeps the parts (each with its height on the page in
// device pixels, and the first row and row count of the picture it shows, in screen
// pixels) and a copy of the print resolution; the rules, which depend only on the item,
// are here. Rooms are device pixels; they are compared with the item's MinHeightOnPage
// in screen pixels (MulDiv with the Y pair).
#pragma once

#include <cstdint>

#include "richtext/model/RPItemInfo.h"
#include "richtext/model/RPScaling.h"

class IRPStyleSheet;

// Raised (ERichPaneError) when a split is asked of an item whose parts were never started.
inline constexpr char errRPInternalPrinting[] = "Internal printing error";

// The parts list of a printing draw item, as the split rules change it.
class IRPImagePrintParts {
public:
  virtual ~IRPImagePrintParts() = default;
  virtual int32_t PartCount() const = 0;
  // The first picture row and the row count of part index (screen pixels).
  virtual int32_t PartImgTop(int32_t index) const = 0;
  virtual int32_t PartImgHeight(int32_t index) const = 0;
  // Cuts the last part to imgHeight rows, height device pixels on its page.
  virtual void SetLastPart(int32_t imgHeight, int32_t height) = 0;
  virtual void AddPart(int32_t imgTop, int32_t imgHeight, int32_t height) = 0;
};

// With a MinHeightOnPage, the first part (the whole picture) is added and the answer is
// true; without one nothing is added and the answer is false.
bool StartImagePrintParts(const TRPRectItemInfo& item, const TRPResolution& resolution, IRPImagePrintParts& parts);
// Whether the item's first part may begin on a page with room left: only for an item
// printed through a bitmap, with room for MinHeightOnPage, that either fits whole or
// leaves at least MinHeightOnPage for the next page.
bool CanImageStartOnPage(const TRPRectItemInfo& item, const TRPResolution& resolution, int32_t room);
// Cuts the last part at room and appends the rest as a new part; false (nothing changed)
// when the rest fits, or either piece would be lower than MinHeightOnPage. Raises
// ERichPaneError "Internal printing error" for an item with MinHeightOnPage whose parts
// were never started.
bool SplitLastImagePrintPart(const TRPRectItemInfo& item, const TRPResolution& resolution, IRPImagePrintParts& parts,
                             int32_t room);
