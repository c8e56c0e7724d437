#include "imaging/png/PngPixelRows.h"

#include <cstring>

#include "imaging/png/PngChunks.h"
#include "imaging/png/PngRowFilters.h"
#include "platform/graphics/PixelAccess.h"

namespace {

inline uint32_t PackedSample(const uint8_t* row, int32_t k, int32_t bits) {
  const int32_t bit = k * bits;
  return (row[bit >> 3] >> (8 - bits - (bit & 7))) & ((1u << bits) - 1);
}

inline void PutPackedSample(uint8_t* row, int32_t k, int32_t bits, uint32_t value) {
  const int32_t bit = k * bits;
  const int32_t shift = 8 - bits - (bit & 7);
  const uint32_t mask = ((1u << bits) - 1) << shift;
  row[bit >> 3] = static_cast<uint8_t>((row[bit >> 3] & ~mask) | ((value << shift) & mask));
}

}  // namespace

void StorePngRow(TChunkIHDR& header, const TGammaTable& g, const uint8_t* row, int32_t y, int32_t x0, int32_t dx,
                 int32_t count) {
  uint8_t* raster = header.Raster.ScanLine(y);
  uint8_t* low = header.LowBytePlane.empty() ? nullptr : header.LowBytePlane.data() + int64_t{y} * header.RowStride;
  uint8_t* alpha = header.AlphaPlane.empty() ? nullptr : header.AlphaPlane.data() + int64_t{y} * header.Width;
  const int32_t depth = header.BitDepth;
  switch (header.ColorType) {
    case PngColorGray:
    case PngColorPalette:
      if (depth == 16) {
        for (int32_t k = 0, x = x0; k < count; ++k, x += dx) {
          raster[x] = row[2 * k];
          low[x] = row[2 * k + 1];
        }
      } else if (depth == 2) {
        const uint32_t scale = header.ColorType == PngColorGray ? 5 : 1;
        for (int32_t k = 0, x = x0; k < count; ++k, x += dx)
          SetPixelIndex(raster, x, 4, PackedSample(row, k, 2) * scale);
      } else if (dx == 1) {
        std::memcpy(raster, row, static_cast<size_t>((int64_t{count} * depth + 7) / 8));
      } else {
        for (int32_t k = 0, x = x0; k < count; ++k, x += dx)
          SetPixelIndex(raster, x, depth, PackedSample(row, k, depth));
      }
      break;
    case PngColorRGB:
    case PngColorRGBAlpha: {
      const int32_t sampleBytes = depth / 8;
      const int32_t step = PngPixelBytes(header.ColorType, static_cast<uint8_t>(depth));
      for (int32_t k = 0, x = x0; k < count; ++k, x += dx) {
        const uint8_t* p = row + int64_t{k} * step;
        uint8_t* q = raster + int64_t{x} * 3;
        q[0] = g[p[2 * sampleBytes]];
        q[1] = g[p[sampleBytes]];
        q[2] = g[p[0]];
        if (depth == 16) {
          uint8_t* l = low + int64_t{x} * 3;
          l[0] = g[p[5]];
          l[1] = g[p[3]];
          l[2] = g[p[1]];
        }
        if (alpha) alpha[x] = p[3 * sampleBytes];
      }
      break;
    }
    case PngColorGrayAlpha: {
      const int32_t sampleBytes = depth / 8;
      const int32_t step = PngPixelBytes(header.ColorType, static_cast<uint8_t>(depth));
      for (int32_t k = 0, x = x0; k < count; ++k, x += dx) {
        const uint8_t* p = row + int64_t{k} * step;
        raster[x] = p[0];
        if (depth == 16) low[x] = p[1];
        alpha[x] = p[sampleBytes];
      }
      break;
    }
    default:
      break;
  }
}

void LoadPngRow(const TChunkIHDR& header, const TGammaTable& inv, uint8_t* row, int32_t y, int32_t x0, int32_t dx,
                int32_t count) {
  const uint8_t* raster = header.Raster.ScanLine(y);
  const uint8_t* low =
      header.LowBytePlane.empty() ? nullptr : header.LowBytePlane.data() + int64_t{y} * header.RowStride;
  const uint8_t* alpha = header.AlphaPlane.empty() ? nullptr : header.AlphaPlane.data() + int64_t{y} * header.Width;
  const int32_t depth = header.StoredBitDepth();
  switch (header.ColorType) {
    case PngColorGray:
    case PngColorPalette:
      if (depth == 16) {
        for (int32_t k = 0, x = x0; k < count; ++k, x += dx) {
          row[2 * k] = raster[x];
          row[2 * k + 1] = low[x];
        }
      } else if (dx == 1) {
        std::memcpy(row, raster, static_cast<size_t>((int64_t{count} * depth + 7) / 8));
      } else {
        std::memset(row, 0, static_cast<size_t>((int64_t{count} * depth + 7) / 8));
        for (int32_t k = 0, x = x0; k < count; ++k, x += dx)
          PutPackedSample(row, k, depth, GetPixelIndex(raster, x, depth));
      }
      break;
    case PngColorRGB:
    case PngColorRGBAlpha: {
      const int32_t sampleBytes = depth / 8;
      const int32_t step = PngPixelBytes(header.ColorType, static_cast<uint8_t>(depth));
      for (int32_t k = 0, x = x0; k < count; ++k, x += dx) {
        uint8_t* p = row + int64_t{k} * step;
        const uint8_t* q = raster + int64_t{x} * 3;
        p[0] = inv[q[2]];
        p[sampleBytes] = inv[q[1]];
        p[2 * sampleBytes] = inv[q[0]];
        if (depth == 16) {
          const uint8_t* l = low + int64_t{x} * 3;
          p[1] = inv[l[2]];
          p[3] = inv[l[1]];
          p[5] = inv[l[0]];
        }
        if (alpha) {
          p[3 * sampleBytes] = alpha[x];
          if (depth == 16) p[7] = alpha[x];
        }
      }
      break;
    }
    case PngColorGrayAlpha: {
      const int32_t sampleBytes = depth / 8;
      const int32_t step = PngPixelBytes(header.ColorType, static_cast<uint8_t>(depth));
      for (int32_t k = 0, x = x0; k < count; ++k, x += dx) {
        uint8_t* p = row + int64_t{k} * step;
        p[0] = raster[x];
        if (depth == 16) {
          p[1] = low[x];
          p[3] = alpha[x];
        }
        p[sampleBytes] = alpha[x];
      }
      break;
    }
    default:
      break;
  }
}
