// The error-diffusion engines of the colour reduction (the per-pixel hot loop).
#include <algorithm>

#include "imaging/uReduceColors.h"

namespace {

uint8_t ClampChannel(int32_t value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

}  // namespace

uint8_t TDitherEngine::Dither(TRgb color, TRgb& chosen) {
  const uint8_t index = FLookup.Lookup(color, chosen);
  FColumn += FDirection;
  return index;
}

void TDitherEngine::NextLine() {
  FDirection = -FDirection;
  FColumn = FDirection > 0 ? 0 : FWidth - 1;
}

// ---- Floyd-Steinberg -----------------------------------------------------------------
//
// The cell under the pointer is read as this pixel's error and, when the pixel has an
// error, overwritten with the error for the row below; the running terms carry the
// errors of the pixel below, below-behind and ahead.

TFloydSteinbergDitherer::TFloydSteinbergDitherer(int32_t width, TColorLookup& lookup) : TDitherEngine(width, lookup) {
  for (auto& channel : FChannels) channel.Cells.assign(static_cast<size_t>(width) + 2, 0);
}

uint8_t TFloydSteinbergDitherer::Dither(TRgb color, TRgb& chosen) {
  const uint8_t in[3] = {color.R, color.G, color.B};
  TRgb adjusted;
  uint8_t* out[3] = {&adjusted.R, &adjusted.G, &adjusted.B};
  for (int c = 0; c < 3; ++c) {
    TChannel& ch = FChannels[c];
    ch.Current = ClampChannel(in[c] + (ch.Cells[FPointer] + ch.Current + 8) / 16);
    *out[c] = static_cast<uint8_t>(ch.Current);
  }
  const uint8_t index = FLookup.Lookup(adjusted, chosen);
  const uint8_t picked[3] = {chosen.R, chosen.G, chosen.B};
  for (int c = 0; c < 3; ++c) {
    TChannel& ch = FChannels[c];
    const int32_t error = ch.Current - picked[c];
    ch.Current = error;
    if (error != 0) {
      ch.Cells[FPointer] = ch.BelowPrevious + 3 * error;
      ch.BelowPrevious = ch.Below + 5 * error;
      ch.Below = error;
      ch.Current = 7 * error;
    }
  }
  FPointer += FDirection;
  FColumn += FDirection;
  return index;
}

void TFloydSteinbergDitherer::NextLine() {
  for (auto& ch : FChannels) {
    ch.Cells[FPointer] = ch.BelowPrevious;
    ch.Current = ch.Below = ch.BelowPrevious = 0;
  }
  TDitherEngine::NextLine();
  FPointer = FDirection > 0 ? 0 : FWidth + 1;
}

// ---- Kernels over several rows -------------------------------------------------------

TKernelDitherer::TKernelDitherer(int32_t width, TColorLookup& lookup, int32_t rows, int32_t margin, int32_t divisor,
                                 std::vector<TDiffusionWeight> weights)
    : TDitherEngine(width, lookup),
      FRows(rows),
      FMargin(margin),
      FDivisor(divisor),
      FCellsPerRow(width + 2 * margin),
      FWeights(std::move(weights)),
      FCells(static_cast<size_t>(3) * rows * (width + 2 * margin), 0),
      FRowOrder(static_cast<size_t>(rows)),
      FPointer(margin) {
  for (int32_t r = 0; r < rows; ++r) FRowOrder[r] = r;
}

uint8_t TKernelDitherer::Dither(TRgb color, TRgb& chosen) {
  const uint8_t in[3] = {color.R, color.G, color.B};
  int32_t adjusted[3];
  for (int c = 0; c < 3; ++c) adjusted[c] = ClampChannel(in[c] + (Row(c, 0)[FPointer] + FDivisor / 2) / FDivisor);
  const uint8_t index = FLookup.Lookup(
      TRgb{static_cast<uint8_t>(adjusted[0]), static_cast<uint8_t>(adjusted[1]), static_cast<uint8_t>(adjusted[2])}, chosen);
  const uint8_t picked[3] = {chosen.R, chosen.G, chosen.B};
  for (int c = 0; c < 3; ++c) {
    const int32_t error = adjusted[c] - picked[c];
    if (error == 0) continue;
    for (const TDiffusionWeight& w : FWeights) Row(c, w.Row)[FPointer + w.Offset * FDirection] += error * w.Weight;
  }
  FPointer += FDirection;
  FColumn += FDirection;
  return index;
}

void TKernelDitherer::NextLine() {
  for (int c = 0; c < 3; ++c) std::fill_n(Row(c, 0), FCellsPerRow, 0);
  std::rotate(FRowOrder.begin(), FRowOrder.begin() + 1, FRowOrder.end());
  TDitherEngine::NextLine();
  FPointer = FDirection > 0 ? FMargin : FWidth + FMargin - 1;
}

TStuckiDitherer::TStuckiDitherer(int32_t width, TColorLookup& lookup)
    : T5by3Ditherer(width, lookup, 42,
                    {{0, 1, 8}, {0, 2, 4},
                     {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4}, {1, 2, 2},
                     {2, -2, 1}, {2, -1, 2}, {2, 0, 4}, {2, 1, 2}, {2, 2, 1}}) {}

TSierraDitherer::TSierraDitherer(int32_t width, TColorLookup& lookup)
    : T5by3Ditherer(width, lookup, 32,
                    {{0, 1, 5}, {0, 2, 3},
                     {1, -2, 2}, {1, -1, 4}, {1, 0, 5}, {1, 1, 4}, {1, 2, 2},
                     {2, -1, 2}, {2, 0, 3}, {2, 1, 2}}) {}

TJaJuNiDitherer::TJaJuNiDitherer(int32_t width, TColorLookup& lookup)
    : T5by3Ditherer(width, lookup, 48,
                    {{0, 1, 7}, {0, 2, 5},
                     {1, -2, 3}, {1, -1, 5}, {1, 0, 7}, {1, 1, 5}, {1, 2, 3},
                     {2, -2, 1}, {2, -1, 3}, {2, 0, 5}, {2, 1, 3}, {2, 2, 1}}) {}

TSteveArcheDitherer::TSteveArcheDitherer(int32_t width, TColorLookup& lookup)
    : TKernelDitherer(width, lookup, 4, 3, 200,
                      {{0, 2, 32},
                       {1, -3, 12}, {1, -1, 26}, {1, 1, 30}, {1, 3, 16},
                       {2, -2, 12}, {2, 0, 26}, {2, 2, 12},
                       {3, -3, 5}, {3, -1, 12}, {3, 1, 12}, {3, 3, 5}}) {}

TBurkesDitherer::TBurkesDitherer(int32_t width, TColorLookup& lookup)
    : TKernelDitherer(width, lookup, 2, 2, 32,
                      {{0, 1, 8}, {0, 2, 4},
                       {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4}, {1, 2, 2}}) {}
