// The raster bitmap of the platform layer: pixels in memory, read and written through
// scan lines, with a colour table for the palette formats.
//
// Storage: rows top-down (ScanLine(0) is the top row and ScanLine(1) follows it), each
// row padded to a multiple of 4 bytes as rows of device-independent bitmaps are. Pixel
// layout as PixelAccess.h gives it. pfDevice is the screen's format: 32 bits per pixel.
// pf15bit, pf16bit and pfCustom are not supported and raise EInvalidGraphic "Invalid
// pixel format".
//
// The colour table (palette) is kept in every format: it gives the pixel values of the
// 1-, 4- and 8-bit formats, and a bitmap turned to 24 bits keeps it, so that turning it
// back to its palette format restores the same indices.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/graphics/Colors.h"
#include "platform/graphics/Graphic.h"
#include "platform/graphics/Palette.h"

class TCanvas;
// Frees a bitmap's canvas (Canvas.cpp), so the canvas type may stay incomplete here.
struct TCanvasDeleter {
  void operator()(TCanvas* canvas) const noexcept;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
public:
  static const TGraphicClassInfo ClassInfo;

  TBitmap();
  ~TBitmap() override;

  TGraphicClass ClassType() const override { return &ClassInfo; }

  // True when the bitmap has no pixels (width or height 0).
  bool Empty() const override { return FWidth == 0 || FHeight == 0; }
  int32_t Width() const override { return FWidth; }
  int32_t Height() const override { return FHeight; }
  // Resizing keeps the pixels of the common top-left area; new pixels are white (the
  // nearest colour-table entry to white in the palette formats). Negative sizes count
  // as 0; a size whose pixels would exceed MaxBitmapBytes raises EOutOfMemory.
  void SetWidth(int32_t value) override { SetSize(value, FHeight); }
  void SetHeight(int32_t value) override { SetSize(FWidth, value); }
  void SetSize(int32_t width, int32_t height);

  TPixelFormat PixelFormat() const { return FPixelFormat; }
  // Converts the pixels. To a palette format: every pixel takes the colour-table index
  // nearest to its colour (squared RGB distance, lowest index on ties), against the
  // bitmap's own palette when it has one that fits the format, else against the
  // format's standard table (2 colours, 16 colours, the 20 system colours).
  void SetPixelFormat(TPixelFormat value);
  int32_t BitsPerPixel() const { return BitsOf(FPixelFormat); }
  // 1 bit per pixel; setting false turns a 1-bit bitmap into the device format.
  bool Monochrome() const { return FPixelFormat == pf1bit; }
  void SetMonochrome(bool value);

  // Raises EInvalidGraphicOperation "Scan line index out of range" for a row outside
  // 0..Height-1.
  uint8_t* ScanLine(int32_t row);
  const uint8_t* ScanLine(int32_t row) const;
  int32_t BytesPerScanLine() const { return FStride; }

  // The colour table; its order is the pixels' index order.
  std::span<const TPaletteEntry> ColorTable() const { return FColors; }
  // Replaces the colour table (at most 256 entries); pixel indices stay as they are.
  void SetColorTable(std::span<const TPaletteEntry> colors);
  // The palette handle of the colour table (empty without one); the same handle until
  // the table changes, and the one given to SetPalette.
  HPALETTE Palette() const override;
  void SetPalette(HPALETTE palette) override;

  // The colour of a pixel, or -1 outside the bitmap; setting outside does nothing. In the
  // palette formats a set colour takes the nearest colour-table index.
  TColor PixelColor(int32_t x, int32_t y) const;
  void SetPixelColor(int32_t x, int32_t y, TColor color);

  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode value) { FTransparentMode = value; }
  // tmAuto: the colour of the bottom-left pixel (clDefault for an empty bitmap);
  // tmFixed: the colour set. Setting a colour selects tmFixed.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor value);

  // A bitmap is copied whole (format, size, pixels, palette, transparency); other
  // sources assign themselves (AssignTo) or raise the assignment error.
  void Assign(const TPersistent& source) override;
  // On the clipboard a bitmap is itself (CF_BITMAP), copied.
  void SaveToClipboardFormat(uint16_t& format, std::unique_ptr<TBitmap>& data, HPALETTE& palette) const override;
  void LoadFromClipboardFormat(uint16_t format, const TBitmap& data, HPALETTE palette) override;
  using TGraphic::Assign;
  // Straight through the canvas's bitmap drawing, with no copy.
  void Draw(TCanvas& canvas, const TRect& rect) const override;
  // An empty bitmap of the same pixel format.
  void Clear() override;

  // A bitmap-file image ("BM"), read from the stream's position (BmpFormat.cpp).
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // The program's bitmap resource of that name (a bitmap-file image without its file
  // header, Resources.h); raises EResNotFound "Resource %s not found" when there is none,
  // and what LoadFromStream raises for a bad image.
  void LoadFromResourceName(WideStringView name);

  static int32_t BitsOf(TPixelFormat format);

  // The canvas that draws on this bitmap, made on first use and owned by the bitmap.
  TCanvas* Canvas();

private:
  // Replaces the pixels with a white image of the given shape and returns the old ones;
  // raises before changing anything when the image cannot be made.
  std::vector<uint8_t> NewImage(int32_t width, int32_t height, TPixelFormat format);

  int32_t FWidth = 0;
  int32_t FHeight = 0;
  TPixelFormat FPixelFormat = pfDevice;
  int32_t FStride = 0;
  std::vector<uint8_t> FBits;
  std::vector<TPaletteEntry> FColors;
  mutable HPALETTE FPaletteHandle;  // made on demand from FColors
  TTransparentMode FTransparentMode = tmAuto;
  TColor FTransparentColor = clDefault;
  std::unique_ptr<TCanvas, TCanvasDeleter> FCanvas;
};

// The largest pixel buffer a bitmap takes (1 GiB).
inline constexpr int64_t MaxBitmapBytes = int64_t{1} << 30;
// The longest side of a bitmap-file image that LoadFromStream takes; far beyond any page
// or book image, and it keeps a zero-width image from announcing billions of rows.
inline constexpr int64_t MaxBmpSidePx = int64_t{1} << 20;

// Bytes in one row of width pixels at bitsPerPixel, padded to 4 bytes.
constexpr int64_t BytesPerScanLineOf(int64_t width, int32_t bitsPerPixel) {
  return ((width * bitsPerPixel + 31) / 32) * 4;
}
