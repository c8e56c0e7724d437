// The header chunk: its fields, their checks, and the raster it prepares for the image.
#include <cstring>

#include "imaging/png/PngCodec.h"
#include "platform/base/CheckedMath.h"
#include "platform/base/Numbers.h"

bool TChunkIHDR::ReadChunk(TStream& stream, const TChunkType& type, uint32_t length) {
  TChunk::ReadChunk(stream, type, length);
  if (Data.size() < IhdrBytes) throw EPngInvalidIHDR();
  Width = LoadBE32(Data.data() + IhdrWidth);
  Height = LoadBE32(Data.data() + IhdrHeight);
  BitDepth = Data[IhdrBitDepth];
  ColorType = Data[IhdrColorType];
  CompressionMethod = Data[IhdrCompression];
  FilterMethod = Data[IhdrFilter];  // kept, not checked: 0 is the only method there is
  InterlaceMethod = Data[IhdrInterlace];
  if (Width == 0 || Height == 0) throw EPngInvalidIHDR();
  const TPngLimits& limits = Owner().Limits;
  if (Width > limits.MaxWidthPx || Height > limits.MaxHeightPx) throw EPNGSizeExceeds();
  if (CompressionMethod != 0) throw EPNGUnknownCompression();
  if (InterlaceMethod > 1) throw EPNGUnknownInterlace();
  if (!IsValidColorAndDepth(ColorType, BitDepth)) throw EPngInvalidIHDR();
  Owner().InterlaceMode = InterlaceMethod;
  PrepareImageData();
  return true;
}

bool TChunkIHDR::WriteChunk(TStream& stream) {
  Data.assign(IhdrBytes, 0);
  StoreBE32(Data.data() + IhdrWidth, Width);
  StoreBE32(Data.data() + IhdrHeight, Height);
  Data[IhdrBitDepth] = StoredBitDepth();
  Data[IhdrColorType] = ColorType;
  Data[IhdrCompression] = CompressionMethod;
  Data[IhdrFilter] = FilterMethod;
  Data[IhdrInterlace] = Owner().InterlaceMode;
  return TChunk::WriteChunk(stream);
}

void TChunkIHDR::Assign(const TChunk& source) {
  const auto& same = AssignSameClass<TChunkIHDR>(source);
  Width = same.Width;
  Height = same.Height;
  BitDepth = same.BitDepth;
  ColorType = same.ColorType;
  CompressionMethod = same.CompressionMethod;
  FilterMethod = same.FilterMethod;
  InterlaceMethod = same.InterlaceMethod;
  Raster.Assign(same.Raster);
  RowStride = same.RowStride;
  UsesPalette = same.UsesPalette;
  AlphaPlane = same.AlphaPlane;
  LowBytePlane = same.LowBytePlane;
}

int32_t TChunkIHDR::RasterBits() const {
  if (ColorType == PngColorRGB || ColorType == PngColorRGBAlpha) return 24;
  switch (BitDepth) {
    case 1:
      return 1;
    case 2:
    case 4:
      return 4;
    default:
      return 8;
  }
}

void TChunkIHDR::PrepareImageData() {
  const int32_t bits = RasterBits();
  const bool alpha = ColorType == PngColorGrayAlpha || ColorType == PngColorRGBAlpha;
  const bool lowBytes = BitDepth == 16;
  const int64_t stride = BytesPerScanLineOf(Width, bits);
  const auto rasterBytes = CheckedMul(stride, Height);
  const auto pixels = CheckedMul(Width, Height);
  const auto total =
      rasterBytes && pixels ? CheckedAdd(*rasterBytes * (lowBytes ? 2 : 1), alpha ? *pixels : 0) : std::nullopt;
  if (!total || *total > Owner().Limits.MaxImageBytes) throw EPNGSizeExceeds();

  Raster.Clear();
  Raster.SetPixelFormat(bits == 1 ? pf1bit : bits == 4 ? pf4bit : bits == 8 ? pf8bit : pf24bit);
  Raster.SetSize(static_cast<int32_t>(Width), static_cast<int32_t>(Height));
  std::memset(Raster.ScanLine(0), 0, static_cast<size_t>(*rasterBytes));
  RowStride = static_cast<int32_t>(stride);
  UsesPalette = bits <= 8;
  AlphaPlane.assign(alpha ? static_cast<size_t>(*pixels) : 0, 0);
  LowBytePlane.assign(lowBytes ? static_cast<size_t>(*rasterBytes) : 0, 0);
  if (ColorType == PngColorGray || ColorType == PngColorGrayAlpha) SetGrayPalette();
}

void TChunkIHDR::SetGrayPalette() {
  const int32_t count = 1 << RasterBits();
  const auto& gamma = Owner().GammaCurve;
  std::vector<TPaletteEntry> grays(static_cast<size_t>(count));
  for (int32_t k = 0; k < count; ++k) {
    const uint8_t level = gamma[static_cast<uint8_t>(MulDiv(k, 255, count - 1))];
    grays[static_cast<size_t>(k)] = TPaletteEntry{level, level, level, 0};
  }
  Raster.SetColorTable(grays);
}
