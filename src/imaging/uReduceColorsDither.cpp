// The error-diffusion engines of the colour reduction (the per-pixel hot loop).
#include <algorithm>
#include <cassert>

#include "imaging/uReduceColors.h"

namespace {

uint8_t ClampChannel(int32_t value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

}  // namespace

uint8_t TDitherEngine::Dither(uint8_t red, uint8_t green, uint8_t blue, TRgb& chosen) {
  const uint8_t index = FLookup.Lookup(red, green, blue, chosen);
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

uint8_t TFloydSteinbergDitherer::Dither(uint8_t red, uint8_t green, uint8_t blue, TRgb& chosen) {
  assert(FColumn >= 0 && FColumn < FWidth);
  const uint8_t in[3] = {red, green, blue};
  uint8_t adjusted[3];
  for (int c = 0; c < 3; ++c) {
    TChannel& ch = FChannels[c];
    ch.Current = ClampChannel(in[c] + (ch.Cells[FPointer] + ch.Current + 8) / 16);
    adjusted[c] = static_cast<uint8_t>(ch.Current);
  }
  const uint8_t index = FLookup.Lookup(adjusted[0], adjusted[1], adjusted[2], chosen);
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

template <typename TKernel>
TKernelDitherer<TKernel>::TKernelDitherer(int32_t width, TColorLookup& lookup)
    : TDitherEngine(width, lookup),
      FCellsPerRow(width + 2 * TKernel::Margin),
      FCells(static_cast<size_t>(TKernel::Rows) * 3 * static_cast<size_t>(width + 2 * TKernel::Margin), 0),
      FPointer(TKernel::Margin) {
  for (int32_t r = 0; r < TKernel::Rows; ++r) FRow[r] = FCells.data() + static_cast<size_t>(r) * 3 * FCellsPerRow;
}

template <typename TKernel>
uint8_t TKernelDitherer<TKernel>::Dither(uint8_t red, uint8_t green, uint8_t blue, TRgb& chosen) {
  assert(FColumn >= 0 && FColumn < FWidth);
  const int32_t* cell = FRow[0] + 3 * FPointer;
  constexpr int32_t half = TKernel::Divisor / 2;
  const uint8_t adjusted[3] = {ClampChannel(red + (cell[0] + half) / TKernel::Divisor),
                               ClampChannel(green + (cell[1] + half) / TKernel::Divisor),
                               ClampChannel(blue + (cell[2] + half) / TKernel::Divisor)};
  const uint8_t index = FLookup.Lookup(adjusted[0], adjusted[1], adjusted[2], chosen);
  const int32_t error[3] = {adjusted[0] - chosen.R, adjusted[1] - chosen.G, adjusted[2] - chosen.B};
  if ((error[0] | error[1] | error[2]) != 0) {
    if (FDirection > 0)
      Spread<1>(error);
    else
      Spread<-1>(error);
  }
  FPointer += FDirection;
  FColumn += FDirection;
  return index;
}

template <typename TKernel>
template <int32_t Direction>
void TKernelDitherer<TKernel>::Spread(const int32_t (&error)[3]) {
  for (const TDiffusionWeight& w : TKernel::Weights) {
    int32_t* cell = FRow[w.Row] + 3 * (FPointer + Direction * w.Offset);
    cell[0] += error[0] * w.Weight;
    cell[1] += error[1] * w.Weight;
    cell[2] += error[2] * w.Weight;
  }
}

template <typename TKernel>
void TKernelDitherer<TKernel>::NextLine() {
  std::fill_n(FRow[0], 3 * FCellsPerRow, 0);
  std::rotate(FRow, FRow + 1, FRow + TKernel::Rows);  // the cleared row becomes the last
  TDitherEngine::NextLine();
  FPointer = FDirection > 0 ? TKernel::Margin : FWidth + TKernel::Margin - 1;
}

template class TKernelDitherer<TStuckiKernel>;
template class TKernelDitherer<TSierraKernel>;
template class TKernelDitherer<TJaJuNiKernel>;
template class TKernelDitherer<TSteveArcheKernel>;
template class TKernelDitherer<TBurkesKernel>;
