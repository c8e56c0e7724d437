// The filter loops: the hot path of decoding and encoding.
#include "imaging/png/PngRowFilters.h"

#include <cstdlib>
#include <cstring>

#include "imaging/png/PngDefs.h"

int64_t PngRowBytes(uint8_t colorType, uint8_t bitDepth, int64_t width) {
  switch (colorType) {
    case PngColorRGB:
      return width * bitDepth * 3 / 8;
    case PngColorGrayAlpha:
      return width * bitDepth * 2 / 8;
    case PngColorRGBAlpha:
      return width * bitDepth * 4 / 8;
    default:
      return (width * bitDepth + 7) / 8;
  }
}

int32_t PngPixelBytes(uint8_t colorType, uint8_t bitDepth) {
  switch (colorType) {
    case PngColorGray:
      return bitDepth == 16 ? 2 : 1;
    case PngColorRGB:
      return bitDepth * 3 / 8;
    case PngColorGrayAlpha:
      return bitDepth / 4;
    case PngColorRGBAlpha:
      return bitDepth / 2;
    default:
      return 1;
  }
}

namespace {

inline uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
  return static_cast<uint8_t>(pb <= pc ? b : c);
}

}  // namespace

void UnfilterRow(uint8_t filter, uint8_t* row, const uint8_t* prior, size_t rowBytes, size_t pixelBytes) {
  const size_t lead = pixelBytes < rowBytes ? pixelBytes : rowBytes;
  switch (filter) {
    case PngFilterSub:
      for (size_t i = pixelBytes; i < rowBytes; ++i) row[i] = static_cast<uint8_t>(row[i] + row[i - pixelBytes]);
      break;
    case PngFilterUp:
      for (size_t i = 0; i < rowBytes; ++i) row[i] = static_cast<uint8_t>(row[i] + prior[i]);
      break;
    case PngFilterAverage:
      for (size_t i = 0; i < lead; ++i) row[i] = static_cast<uint8_t>(row[i] + (prior[i] >> 1));
      for (size_t i = lead; i < rowBytes; ++i)
        row[i] = static_cast<uint8_t>(row[i] + ((row[i - pixelBytes] + prior[i]) >> 1));
      break;
    case PngFilterPaeth:
      for (size_t i = 0; i < lead; ++i) row[i] = static_cast<uint8_t>(row[i] + prior[i]);
      for (size_t i = lead; i < rowBytes; ++i)
        row[i] = static_cast<uint8_t>(row[i] + Paeth(row[i - pixelBytes], prior[i], prior[i - pixelBytes]));
      break;
    default:
      break;  // None, and unknown types: the row stays as stored
  }
}

void FilterRow(uint8_t filter, const uint8_t* raw, const uint8_t* prior, uint8_t* out, size_t rowBytes,
               size_t pixelBytes) {
  for (size_t i = 0; i < rowBytes; ++i) {
    const int a = i >= pixelBytes ? raw[i - pixelBytes] : 0;
    const int b = prior[i];
    const int c = i >= pixelBytes ? prior[i - pixelBytes] : 0;
    int predicted = 0;
    switch (filter) {
      case PngFilterSub:
        predicted = a;
        break;
      case PngFilterUp:
        predicted = b;
        break;
      case PngFilterAverage:
        predicted = (a + b) >> 1;
        break;
      case PngFilterPaeth:
        predicted = Paeth(a, b, c);
        break;
      default:
        break;
    }
    out[i] = static_cast<uint8_t>(raw[i] - predicted);
  }
}
