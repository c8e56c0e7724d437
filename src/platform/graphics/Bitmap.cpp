#include "platform/graphics/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/graphics/Canvas.h"
#include "platform/graphics/PixelAccess.h"

namespace {

std::unique_ptr<TGraphic> CreateBitmap() { return std::make_unique<TBitmap>(); }

}  // namespace

const TGraphicClassInfo TBitmap::ClassInfo{"TBitmap", &CreateBitmap, "bmp"};

TBitmap::TBitmap() = default;
TBitmap::~TBitmap() = default;

int32_t TBitmap::BitsOf(TPixelFormat format) {
  switch (format) {
    case pf1bit:
      return 1;
    case pf4bit:
      return 4;
    case pf8bit:
      return 8;
    case pf24bit:
      return 24;
    case pfDevice:
    case pf32bit:
      return 32;
    default:
      throw EInvalidGraphic(SInvalidPixelFormat);
  }
}

std::vector<uint8_t> TBitmap::NewImage(int32_t width, int32_t height, TPixelFormat format) {
  const int32_t bits = BitsOf(format);
  const int64_t stride = BytesPerScanLineOf(width, bits);
  if (stride * height > MaxBitmapBytes) throw EOutOfMemory(SOutOfMemory);
  // One white row, padding bits 0 as in a fresh device-independent bitmap.
  std::vector<uint8_t> whiteRow(static_cast<size_t>(stride), 0);
  if (bits <= 8) {
    const uint32_t white = NearestPaletteIndex(FColors, 0xFF, 0xFF, 0xFF);
    for (int32_t x = 0; x < width; ++x) SetPixelIndex(whiteRow.data(), x, bits, white);
  } else {
    for (int32_t x = 0; x < width; ++x) WritePixelRgb(whiteRow.data(), x, bits, TRgb{0xFF, 0xFF, 0xFF});
  }
  std::vector<uint8_t> pixels(static_cast<size_t>(stride * height));
  if (stride > 0)
    for (int32_t y = 0; y < height; ++y) std::memcpy(pixels.data() + y * stride, whiteRow.data(), whiteRow.size());
  FBits.swap(pixels);
  FWidth = width;
  FHeight = height;
  FStride = static_cast<int32_t>(stride);
  FPixelFormat = format;
  return pixels;
}

void TBitmap::SetSize(int32_t width, int32_t height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == FWidth && height == FHeight) return;
  const int32_t oldStride = FStride;
  const int32_t keepWidth = std::min(width, FWidth);
  const int32_t keepHeight = std::min(height, FHeight);
  const std::vector<uint8_t> oldBits = NewImage(width, height, FPixelFormat);
  const int32_t bits = BitsPerPixel();
  const int32_t wholeBytes = keepWidth * bits / 8;
  const int32_t firstPartial = wholeBytes * 8 / bits;
  for (int32_t y = 0; y < keepHeight; ++y) {
    const uint8_t* from = oldBits.data() + static_cast<size_t>(y) * static_cast<size_t>(oldStride);
    uint8_t* to = FBits.data() + static_cast<size_t>(y) * static_cast<size_t>(FStride);
    if (wholeBytes > 0) std::memcpy(to, from, static_cast<size_t>(wholeBytes));
    for (int32_t x = firstPartial; x < keepWidth; ++x) SetPixelIndex(to, x, bits, GetPixelIndex(from, x, bits));
  }
}

void TBitmap::SetMonochrome(bool value) {
  if (value)
    SetPixelFormat(pf1bit);
  else if (FPixelFormat == pf1bit)
    SetPixelFormat(pfDevice);
}

uint8_t* TBitmap::ScanLine(int32_t row) { return const_cast<uint8_t*>(std::as_const(*this).ScanLine(row)); }

const uint8_t* TBitmap::ScanLine(int32_t row) const {
  if (row < 0 || row >= FHeight) throw EInvalidGraphicOperation(SScanLine);
  // The rows of a bitmap 0 pixels wide hold no bytes; they still point somewhere, as
  // callers pass them to memcpy and the like.
  static constexpr uint8_t kNoPixels = 0;
  if (FBits.empty()) return &kNoPixels;
  return FBits.data() + static_cast<size_t>(row) * static_cast<size_t>(FStride);
}

void TBitmap::SetColorTable(std::span<const TPaletteEntry> colors) {
  FColors.assign(colors.begin(), colors.begin() + static_cast<ptrdiff_t>(std::min<size_t>(colors.size(), 256)));
  FPaletteHandle.reset();
}

HPALETTE TBitmap::Palette() const {
  if (!FPaletteHandle && !FColors.empty()) FPaletteHandle = CreatePalette(TLogPalette{0x300, FColors});
  return FPaletteHandle;
}

void TBitmap::SetPalette(HPALETTE palette) {
  if (!palette) {
    if (BitsPerPixel() > 8) SetColorTable({});
    return;
  }
  SetColorTable(palette->palPalEntry);
  FPaletteHandle = std::move(palette);
}

TColor TBitmap::PixelColor(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return -1;
  const TRgb c = ReadPixelRgb(ScanLine(y), x, BitsPerPixel(), FColors);
  return static_cast<TColor>(RGB(c.R, c.G, c.B));
}

void TBitmap::SetPixelColor(int32_t x, int32_t y, TColor color) {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
  const auto rgb = static_cast<COLORREF>(color);
  const TRgb c{GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)};
  const int32_t bits = BitsPerPixel();
  if (bits <= 8)
    SetPixelIndex(ScanLine(y), x, bits, NearestPaletteIndex(FColors, c.R, c.G, c.B));
  else
    WritePixelRgb(ScanLine(y), x, bits, c);
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentMode == tmFixed) return FTransparentColor;
  if (Empty()) return clDefault;
  return PixelColor(0, FHeight - 1);
}

void TBitmap::SetTransparentColor(TColor value) {
  FTransparentColor = value;
  FTransparentMode = tmFixed;
}

void TBitmap::Clear() { NewImage(0, 0, FPixelFormat); }

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) const { canvas.StretchDraw(rect, this); }

void TBitmap::SaveToClipboardFormat(uint16_t& format, std::unique_ptr<TBitmap>& data, HPALETTE& palette) const {
  data = std::make_unique<TBitmap>();
  data->Assign(*this);
  format = CF_BITMAP;
  palette = {};
}

void TBitmap::LoadFromClipboardFormat(uint16_t format, const TBitmap& data, HPALETTE) {
  if (format != CF_BITMAP) throw EInvalidGraphic(SUnknownClipboardFormat);
  Assign(data);
}

void TBitmap::Assign(const TPersistent& source) {
  if (&source == this) return;
  const auto* bitmap = dynamic_cast<const TBitmap*>(&source);
  if (bitmap == nullptr) {
    TGraphic::Assign(source);
    return;
  }
  FBits = bitmap->FBits;
  FWidth = bitmap->FWidth;
  FHeight = bitmap->FHeight;
  FStride = bitmap->FStride;
  FPixelFormat = bitmap->FPixelFormat;
  FColors = bitmap->FColors;
  FPaletteHandle = bitmap->FPaletteHandle;
  FTransparentMode = bitmap->FTransparentMode;
  FTransparentColor = bitmap->FTransparentColor;
  SetTransparent(bitmap->Transparent());
}
