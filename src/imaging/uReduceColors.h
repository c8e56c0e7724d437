// Colour reduction with error diffusion: a bitmap brought to a small fixed palette
// (the system's 20 colours, four grays or black and white), each pixel's index chosen by
// one of seven dithering engines that walk the image in serpentine order (row 0 left to
// right, row 1 right to left, ...).
//
// Error diffusion state: every engine but the plain one keeps, per colour channel, rows
// of accumulated error cells around the current scan row; the cell under the row
// pointer belongs to the current pixel. An engine adds the accumulated error to the
// incoming channel, clamps to 0..255, looks the colour up, and spreads the difference
// between the adjusted and the chosen value over later cells with its weights; the
// accumulated error is divided (truncating toward zero) only when it is read. At the end
// of a scan row the rows rotate and the direction flips.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Palette.h"
#include "platform/graphics/PixelAccess.h"

class EReduceColorsError : public EInvalidGraphic {
public:
  using EInvalidGraphic::EInvalidGraphic;
};

inline constexpr char SInvalidImageDimensions[] = "Invalid image dimensions";
inline constexpr char SReductionDIBAllocation[] = "Failed to allocate memory for the reduction DIB";

// ---- Colour lookups ------------------------------------------------------------------

class TColorLookup {
public:
  explicit TColorLookup(int32_t colors) : FColors(colors) {}
  virtual ~TColorLookup() = default;
  TColorLookup(const TColorLookup&) = delete;
  TColorLookup& operator=(const TColorLookup&) = delete;

  int32_t Colors() const { return FColors; }
  // The palette index for a colour; chosen receives that entry's colour.
  virtual uint8_t Lookup(uint8_t red, uint8_t green, uint8_t blue, TRgb& chosen) = 0;

private:
  int32_t FColors;
};

// Nearest entry by the sum of the channel differences, remembered per cache slot of
// 5 bits per channel: colours that share a slot share the index found first.
class TFastColorLookup : public TColorLookup {
public:
  explicit TFastColorLookup(const HPALETTE& palette);
  uint8_t Lookup(uint8_t red, uint8_t green, uint8_t blue, TRgb& chosen) override;

  static uint32_t CacheSlot(uint8_t red, uint8_t green, uint8_t blue) {
    return (red >> 3) | ((green >> 3) << 5) | ((blue >> 3) << 10);
  }

private:
  explicit TFastColorLookup(std::vector<TPaletteEntry> entries);

  std::vector<TPaletteEntry> FEntries;
  std::vector<int16_t> FCache;  // 32768 slots, -1 when not yet known
};

// Black (index 0) when red × 77 + green × 150 + blue × 29 ≤ 32512, else white (1).
class TMonochromeLookup : public TColorLookup {
public:
  TMonochromeLookup() : TColorLookup(2) {}
  uint8_t Lookup(uint8_t red, uint8_t green, uint8_t blue, TRgb& chosen) override;
};

// ---- Dithering engines ---------------------------------------------------------------

// The plain engine: nearest colour, nothing diffused.
class TDitherEngine {
public:
  TDitherEngine(int32_t width, TColorLookup& lookup) : FLookup(lookup), FWidth(width) {}
  virtual ~TDitherEngine() = default;
  TDitherEngine(const TDitherEngine&) = delete;
  TDitherEngine& operator=(const TDitherEngine&) = delete;

  // Adds the accumulated error, looks the colour up, spreads the error and moves to the
  // next column; returns the palette index, chosen receives its colour. Called only
  // while Column() lies inside 0..Width − 1.
  virtual uint8_t Dither(uint8_t red, uint8_t green, uint8_t blue, TRgb& chosen);
  // Flips the direction; the column becomes 0 (left to right) or width − 1.
  virtual void NextLine();

  int32_t Direction() const { return FDirection; }
  int32_t Column() const { return FColumn; }
  int32_t Width() const { return FWidth; }

protected:
  int32_t FDirection = 1;
  int32_t FColumn = 0;
  TColorLookup& FLookup;
  int32_t FWidth;
};

class TFloydSteinbergDitherer : public TDitherEngine {
public:
  TFloydSteinbergDitherer(int32_t width, TColorLookup& lookup);
  uint8_t Dither(uint8_t red, uint8_t green, uint8_t blue, TRgb& chosen) override;
  void NextLine() override;

private:
  // Per channel: one row of width + 2 cells and the running terms.
  struct TChannel {
    std::vector<int32_t> Cells;
    int32_t Current = 0;
    int32_t Below = 0;
    int32_t BelowPrevious = 0;
  };
  TChannel FChannels[3];  // red, green, blue
  int32_t FPointer = 0;
};

// One weight of a diffusion kernel: the cell `Offset` steps ahead (in the scanning
// direction) in row `Row` (0: the current row) receives error × `Weight`.
struct TDiffusionWeight {
  int32_t Row;
  int32_t Offset;
  int32_t Weight;
};

// Engines whose error rows span several scan rows, with a margin of cells on both sides
// of the image; the adjusted value is channel + (accumulated + divisor div 2) div
// divisor. A kernel type gives Rows, Margin, Divisor and Weights as constants, so the
// per-pixel division and spreading compile to fixed arithmetic.
template <typename TKernel>
class TKernelDitherer : public TDitherEngine {
public:
  TKernelDitherer(int32_t width, TColorLookup& lookup);
  uint8_t Dither(uint8_t red, uint8_t green, uint8_t blue, TRgb& chosen) override;
  void NextLine() override;

private:
  template <int32_t Direction>
  void Spread(const int32_t (&error)[3]);

  int32_t FCellsPerRow;
  std::vector<int32_t> FCells;   // rows of cells, three channels per cell
  int32_t* FRow[TKernel::Rows];  // row 0 (current), 1, ... in FCells
  int32_t FPointer;
};

struct TStuckiKernel {
  static constexpr int32_t Rows = 3, Margin = 2, Divisor = 42;
  static constexpr TDiffusionWeight Weights[] = {{0, 1, 8}, {0, 2, 4},  {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4},
                                                 {1, 2, 2}, {2, -2, 1}, {2, -1, 2}, {2, 0, 4},  {2, 1, 2}, {2, 2, 1}};
};
struct TSierraKernel {
  static constexpr int32_t Rows = 3, Margin = 2, Divisor = 32;
  static constexpr TDiffusionWeight Weights[] = {{0, 1, 5}, {0, 2, 3}, {1, -2, 2}, {1, -1, 4}, {1, 0, 5},
                                                 {1, 1, 4}, {1, 2, 2}, {2, -1, 2}, {2, 0, 3},  {2, 1, 2}};
};
struct TJaJuNiKernel {
  static constexpr int32_t Rows = 3, Margin = 2, Divisor = 48;
  static constexpr TDiffusionWeight Weights[] = {{0, 1, 7}, {0, 2, 5},  {1, -2, 3}, {1, -1, 5}, {1, 0, 7}, {1, 1, 5},
                                                 {1, 2, 3}, {2, -2, 1}, {2, -1, 3}, {2, 0, 5},  {2, 1, 3}, {2, 2, 1}};
};
struct TSteveArcheKernel {
  static constexpr int32_t Rows = 4, Margin = 3, Divisor = 200;
  static constexpr TDiffusionWeight Weights[] = {{0, 2, 32}, {1, -3, 12}, {1, -1, 26}, {1, 1, 30},
                                                 {1, 3, 16}, {2, -2, 12}, {2, 0, 26},  {2, 2, 12},
                                                 {3, -3, 5}, {3, -1, 12}, {3, 1, 12},  {3, 3, 5}};
};
struct TBurkesKernel {
  static constexpr int32_t Rows = 2, Margin = 2, Divisor = 32;
  static constexpr TDiffusionWeight Weights[] = {{0, 1, 8}, {0, 2, 4}, {1, -2, 2}, {1, -1, 4},
                                                 {1, 0, 8}, {1, 1, 4}, {1, 2, 2}};
};

// The 5 × 3 kernels: three scan rows, two cells on either side.
template <typename TKernel>
class T5by3Ditherer : public TKernelDitherer<TKernel> {
  static_assert(TKernel::Rows == 3 && TKernel::Margin == 2);

public:
  using TKernelDitherer<TKernel>::TKernelDitherer;
};

class TStuckiDitherer : public T5by3Ditherer<TStuckiKernel> {
public:
  using T5by3Ditherer::T5by3Ditherer;
};
class TSierraDitherer : public T5by3Ditherer<TSierraKernel> {
public:
  using T5by3Ditherer::T5by3Ditherer;
};
class TJaJuNiDitherer : public T5by3Ditherer<TJaJuNiKernel> {
public:
  using T5by3Ditherer::T5by3Ditherer;
};
class TSteveArcheDitherer : public TKernelDitherer<TSteveArcheKernel> {
public:
  using TKernelDitherer::TKernelDitherer;
};
class TBurkesDitherer : public TKernelDitherer<TBurkesKernel> {
public:
  using TKernelDitherer::TKernelDitherer;
};

// ---- Device-independent bitmaps of the reduction -------------------------------------

class TDIB {
public:
  virtual ~TDIB() = default;
  // The pixels of a row, rows counted from the top.
  virtual uint8_t* GetScanline(int32_t row) = 0;
};

// The source, turned to 24 bits per pixel (blue, green, red).
class TDIBReader : public TDIB {
public:
  explicit TDIBReader(TBitmap& bitmap);
  uint8_t* GetScanline(int32_t row) override { return FBitmap.ScanLine(row); }

private:
  TBitmap& FBitmap;
};

// An 8-bit palette-indexed image whose colour table is the palette's colours, then black
// up to 256 entries. A width or height of 0 raises EReduceColorsError "Invalid image
// dimensions".
class TDIBWriter : public TDIB {
public:
  TDIBWriter(int32_t width, int32_t height, const HPALETTE& palette);
  // Raises EInvalidGraphicOperation "Scan line index out of range" outside the rows.
  uint8_t* GetScanline(int32_t row) override { return FBitmap.ScanLine(row); }
  // Loads the finished image into bitmap.
  void LoadInto(TBitmap& bitmap) const { bitmap.Assign(FBitmap); }

private:
  TBitmap FBitmap;
};

// ---- The reduction -------------------------------------------------------------------

// Reductions: 0 none (a 24-bit copy), 1 the stock 20-colour palette, 2 four grays
// (0x00, 0x80, 0xC0, 0xFF), 3 black and white. Dither modes: 0 none, 1 Floyd-Steinberg,
// 2 Stucki, 3 Sierra, 4 JaJuNi, 5 Steve Arche, 6 Burkes. Returns a new bitmap, empty for
// a reduction or mode outside these; a palette reduction gives an 8-bit bitmap with a
// 256-entry colour table (the palette first, the rest black) and turns the source to
// 24 bits per pixel. Raises EReduceColorsError for a source without pixels.
std::unique_ptr<TBitmap> ReduceColors(TBitmap& bitmap, int32_t reduction, int32_t ditherMode);
