#include "richtext/interchange/RPRTFBudget.h"

#include <algorithm>

#include "platform/base/CheckedMath.h"

namespace {

// allowance + bytes * share, within [0, ceiling]; a sum too large for 64 bits is the ceiling.
int64_t BudgetOf(int64_t allowance, int64_t bytes, int64_t share, int64_t ceiling) {
  const std::optional<int64_t> proportional = CheckedMul(std::max<int64_t>(bytes, 0), std::max<int64_t>(share, 0));
  const std::optional<int64_t> total =
      proportional ? CheckedAdd(std::max<int64_t>(allowance, 0), *proportional) : std::nullopt;
  return std::clamp<int64_t>(total.value_or(ceiling), 0, std::max<int64_t>(ceiling, 0));
}

}  // namespace

void TRPRTFBudget::Start(const TRPRTFLimits& limits, int64_t inputBytes) {
  const int64_t bytesPerCell = std::max(limits.InputBytesPerTableCell, 1);
  FTableCellsLeft = BudgetOf(limits.TableCellAllowance, std::max<int64_t>(inputBytes, 0) / bytesPerCell, 1,
                             limits.MaxImportTableCells);
  FPicturePixelsLeft = BudgetOf(limits.PicturePixelAllowance, inputBytes, limits.PicturePixelsPerInputByte,
                                limits.MaxImportPicturePixels);
  FAddedTextStylesLeft = BudgetOf(limits.AddedTextStyleAllowance,
                                  std::max<int64_t>(inputBytes, 0) / std::max(limits.InputBytesPerAddedTextStyle, 1), 1,
                                  limits.MaxAddedTextStyles);
}

bool TRPRTFBudget::SpendAddedTextStyle() {
  if (FAddedTextStylesLeft <= 0) return false;
  --FAddedTextStylesLeft;
  return true;
}

bool TRPRTFBudget::SpendPicturePixels(int64_t count) {
  if (count < 0 || count > FPicturePixelsLeft) return false;
  FPicturePixelsLeft -= count;
  return true;
}

void TRPRTFBudget::ReturnPicturePixels(int64_t count) { FPicturePixelsLeft += std::max<int64_t>(count, 0); }

bool TRPRTFBudget::SpendTableCells(int64_t count) {
  if (count < 0 || count > FTableCellsLeft) {
    FTableCellsLeft = -1;
    return false;
  }
  FTableCellsLeft -= count;
  return true;
}
