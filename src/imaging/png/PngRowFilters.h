// The five row filters of the format, and the row sizes they work on.
//
// A filtered row is one filter-type byte followed by RowBytes bytes; each byte is
// predicted from the byte PixelBytes to its left (a), the byte above (b) and the byte
// above-left (c), all 0 outside the row or before the first row of an image or pass.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes of one row of width pixels without its filter byte.
int64_t PngRowBytes(uint8_t colorType, uint8_t bitDepth, int64_t width);
// The filters' distance a: the bytes of one pixel, at least 1.
int32_t PngPixelBytes(uint8_t colorType, uint8_t bitDepth);

// Undoes filter on row in place (prior: the unfiltered row above). Filter types beyond
// Paeth leave the row as stored.
void UnfilterRow(uint8_t filter, uint8_t* row, const uint8_t* prior, size_t rowBytes, size_t pixelBytes);
// Writes raw filtered by filter (1 to 4) into out.
void FilterRow(uint8_t filter, const uint8_t* raw, const uint8_t* prior, uint8_t* out, size_t rowBytes,
               size_t pixelBytes);
