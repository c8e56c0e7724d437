// Packing and compression of page and cover images for Wolf files.
//
// An encoded image is the LZSS stream (uLZSS32.h) of the packed rows, top row first, then
// one 0x00 byte. Each row is packed on its own:
// - bit count 1, from a 1-bit bitmap: the row's ceil(width / 8) bytes inverted, so that a
//   stored 1 is black with the standard two-colour table; the filler bits after the last
//   pixel are the source row's filler, inverted;
// - bit count 2: four pixels per byte, leftmost in bits 7-6, ceil(width / 4) bytes, the
//   unused low pairs of the last byte 0 (a 4-bit row of odd width contributes the two
//   high bits of its filler nibble). A pixel's level (0 darkest .. 3 lightest) is the two
//   high bits of its 4-bit palette index, or QuantizeGray of the first (blue) byte of a
//   24-bit pixel.
#pragma once

#include <cstdint>

class TStream;
class TBitmap;
class TLZSSCompressor;

// Writes the encoded bitmap to stream at its position and returns the number of bytes
// written (compressed bytes + 1). Supported: bit count 1 with a 1-bit bitmap, bit count 2
// with a 4-bit or 24-bit bitmap; anything else returns 0 and writes nothing. Stream errors
// propagate. The compressor's buffers are reused; the three-argument form makes its own.
int32_t EncodeWolfImage(TStream& stream, const TBitmap& bitmap, int32_t bitCount, TLZSSCompressor& compressor);
int32_t EncodeWolfImage(TStream& stream, const TBitmap& bitmap, int32_t bitCount);

// The 2-bit level of an 8-bit intensity: above 224 3, above 160 2, above 64 1, else 0.
uint8_t QuantizeGray(uint8_t value);
