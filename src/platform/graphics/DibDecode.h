// Bitmap data as bitmaps: device-independent bitmaps (what bitmap files, metafile
// records, icons and RTF pictures hold) and device-dependent bitmap bits.
//
// Every loader reads borrowed bytes, checks each size against the data before it
// allocates, and raises EInvalidGraphic "Bitmap image is not valid" for data that does
// not hold what its header says.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/GdiDefs.h"

// What a device-independent bitmap's information header says (GdiDefs.h's dib layout),
// read without looking further: EInvalidGraphic "Bitmap image is not valid" for a header
// of a size no bitmap has or shorter than its size field says.
struct TDibHeader {
  uint32_t HeaderBytes = 0;
  bool Core = false;  // the 12-byte header: 16-bit sides, no compression or colour count
  int64_t Width = 0;
  int64_t Height = 0;  // as stored: negative for rows top-down
  uint32_t BitCount = 0;
  uint32_t Compression = dib::BI_RGB;
  uint32_t ColorsUsed = 0;
};
TDibHeader ReadDibHeader(std::span<const uint8_t> info);

// A device-independent bitmap (an information header of 12, 40, 52, 56, 64, 108 or 124
// bytes, bit-field masks, a colour table of biClrUsed entries, then the rows; 1, 4, 8,
// 16, 24 or 32 bits per pixel, uncompressed or run-length encoded) as a bitmap: palette
// formats keep their colour table, the others become 24 bits per pixel.
// bitsOffset (from the information header) places the rows further on when it is larger
// than what the header and colour table take.
std::unique_ptr<TBitmap> LoadDibBitmap(std::span<const uint8_t> dib, int64_t bitsOffset = 0);
// The pixels a device-independent bitmap declares, and those its data codes: all of them
// for uncompressed rows (which must be there whole), those the runs reach for run-length
// rows. Reads the header and walks the runs, allocating nothing.
struct TDibRaster {
  int64_t DeclaredPx = 0;
  int64_t CodedPx = 0;
};
TDibRaster DibRaster(std::span<const uint8_t> dib, int64_t bitsOffset = 0);
// The byte offset of the rows in a device-independent bitmap (header, masks and colour
// table), as a file header's pixel offset counts it without the file header.
uint32_t DibBitsOffset(std::span<const uint8_t> dib);

// Device-dependent bitmap bits: rows top-down, widthBytes each (0: word-aligned rows),
// one plane of 1, 4, 16, 24 or 32 bits per pixel.
std::unique_ptr<TBitmap> LoadDdbBitmap(std::span<const uint8_t> bits, int32_t width, int32_t height, int32_t widthBytes,
                                       int32_t planes, int32_t bitsPerPixel);
