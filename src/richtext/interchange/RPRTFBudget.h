// What one parse may build of its input: table cells and grid positions, decoded picture
// pixels, and text styles added to the style sheet. Each budget is an allowance plus a share per input byte, never
// above its ceiling (the fields and reasons are in RPRTFLimits.h), so a document costs what its size says however its
// bytes are arranged. Spending reports whether the amount fitted. Once a spend of table cells fails that budget stays
// spent, and the caller ends the parse; a picture that does not fit takes nothing and is left out, and the pictures
// after it may still fit.
#pragma once

#include <cstdint>

#include "richtext/interchange/RPRTFLimits.h"

class TRPRTFBudget {
public:
  // Fills the budgets for an input of inputBytes (negative: a stream that cannot tell its
  // size, which gets the allowances only).
  void Start(const TRPRTFLimits& limits, int64_t inputBytes);
  // Takes count table cells or grid positions; false when they do not fit.
  bool SpendTableCells(int64_t count);
  // Takes the pixels of one decoded raster; false, taking nothing, when they do not fit.
  bool SpendPicturePixels(int64_t count);
  // Gives back pixels taken for a picture that was then left out.
  void ReturnPicturePixels(int64_t count);
  // Takes one added text style; false, taking nothing, when none is left.
  bool SpendAddedTextStyle();
  int64_t TableCellsLeft() const { return FTableCellsLeft; }
  int64_t PicturePixelsLeft() const { return FPicturePixelsLeft; }
  int64_t AddedTextStylesLeft() const { return FAddedTextStylesLeft; }

private:
  int64_t FTableCellsLeft = 0;
  int64_t FPicturePixelsLeft = 0;
  int64_t FAddedTextStylesLeft = 0;
};
