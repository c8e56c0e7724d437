// Device-independent and device-dependent bitmap data as bitmaps: the pixels that
// bitmap files, metafile records, icons and RTF pictures carry.
#include "platform/graphics/DibDecode.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "platform/base/LittleEndian.h"
#include "platform/graphics/PixelAccess.h"

namespace {

[[noreturn]] void InvalidBitmap() { throw EInvalidGraphic(SInvalidBitmap); }

using dib::BI_ALPHABITFIELDS;
using dib::BI_BITFIELDS;
using dib::BI_RGB;
using dib::BI_RLE4;
using dib::BI_RLE8;

uint32_t Read16(std::span<const uint8_t> data, size_t at) {
  if (at + 2 > data.size()) InvalidBitmap();
  return LoadLE16(data.data() + at);
}
uint32_t Read32(std::span<const uint8_t> data, size_t at) {
  if (at + 4 > data.size()) InvalidBitmap();
  return LoadLE32(data.data() + at);
}

// What the header of a device-independent bitmap says.
struct TDibLayout {
  int64_t Width = 0;
  int64_t Height = 0;  // rows, always positive
  bool TopDown = false;
  uint32_t Bits = 0;
  uint32_t Compression = BI_RGB;
  std::array<uint32_t, 3> Masks{};  // red, green, blue of 16- and 32-bit pixels
  std::vector<TPaletteEntry> Colors;
  uint32_t BitsOffset = 0;  // from the start of the information header
};

TDibLayout ReadDibLayout(std::span<const uint8_t> dib) {
  TDibLayout layout;
  const TDibHeader header = ReadDibHeader(dib);
  const uint32_t headerBytes = header.HeaderBytes;
  const bool core = header.Core;
  layout.Width = header.Width;
  layout.Bits = header.BitCount;
  layout.Compression = header.Compression;
  const uint32_t colorsUsed = header.ColorsUsed;
  layout.TopDown = header.Height < 0;
  layout.Height = header.Height < 0 ? -header.Height : header.Height;
  if (layout.Width <= 0 || layout.Height <= 0 || layout.Width > MaxBmpSidePx || layout.Height > MaxBmpSidePx)
    InvalidBitmap();
  switch (layout.Bits) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      InvalidBitmap();
  }
  if (BytesPerScanLineOf(layout.Width, static_cast<int32_t>(layout.Bits)) * layout.Height > MaxBitmapBytes)
    InvalidBitmap();

  uint32_t offset = headerBytes;
  switch (layout.Compression) {
    case BI_RGB:
      if (layout.Bits == 16)
        layout.Masks = {0x7C00, 0x03E0, 0x001F};
      else if (layout.Bits == 32)
        layout.Masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
      break;
    case BI_RLE8:
      if (layout.Bits != 8 || layout.TopDown) InvalidBitmap();
      break;
    case BI_RLE4:
      if (layout.Bits != 4 || layout.TopDown) InvalidBitmap();
      break;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS: {
      if (layout.Bits != 16 && layout.Bits != 32) InvalidBitmap();
      // The masks follow a 40-byte header and lie inside the longer ones.
      const uint32_t at = dib::InfoHeaderBytes;
      for (size_t i = 0; i < 3; ++i) layout.Masks[i] = Read32(dib, at + 4 * i);
      if (headerBytes == dib::InfoHeaderBytes) offset += layout.Compression == BI_ALPHABITFIELDS ? 16 : 12;
      break;
    }
    default:
      InvalidBitmap();
  }

  // The colour table: biClrUsed entries when given, else all the format can index;
  // formats above 8 bits may carry biClrUsed entries that no pixel uses.
  const uint32_t entryBytes = core ? 3 : 4;
  uint32_t entries = 0;
  if (layout.Bits <= 8) {
    entries = (colorsUsed == 0 || core) ? (1u << layout.Bits) : colorsUsed;
    if (entries > 256) InvalidBitmap();
  } else {
    entries = colorsUsed;
  }
  if (static_cast<uint64_t>(entries) * entryBytes > dib.size()) InvalidBitmap();
  if (layout.Bits <= 8) {
    for (uint32_t i = 0; i < entries && i < (1u << layout.Bits); ++i) {
      const size_t at = offset + size_t{i} * entryBytes;
      if (at + 3 > dib.size()) InvalidBitmap();
      layout.Colors.push_back(TPaletteEntry{dib[at + 2], dib[at + 1], dib[at], 0});
    }
  }
  layout.BitsOffset = offset + entries * entryBytes;
  if (layout.BitsOffset > dib.size()) InvalidBitmap();
  return layout;
}

// The position of the lowest set bit and the width of a mask, to scale a channel to 8 bits.
struct TChannel {
  uint32_t Mask = 0;
  uint32_t Shift = 0;
  uint32_t Max = 0;
  explicit TChannel(uint32_t mask) : Mask(mask) {
    if (mask == 0) return;
    while (!((mask >> Shift) & 1u)) ++Shift;
    Max = mask >> Shift;
  }
  uint8_t Of(uint32_t pixel) const {
    if (Max == 0) return 0;
    return static_cast<uint8_t>(((pixel & Mask) >> Shift) * 255u / Max);
  }
};

// Walks run-length encoded rows (bottom row first): put(x, row, index) for each pixel
// the data codes inside the raster, row counted from the bottom. Raises for a run that
// the data cuts short.
template <class Put>
void WalkRle(std::span<const uint8_t> data, const TDibLayout& layout, Put&& put) {
  const auto width = static_cast<int32_t>(layout.Width);
  const auto height = static_cast<int32_t>(layout.Height);
  const int32_t bits = static_cast<int32_t>(layout.Bits);
  int32_t x = 0;
  int32_t row = 0;
  size_t at = 0;
  auto emit = [&](uint32_t index) {
    if (x < width && row < height) put(x, row, index);
    ++x;
  };
  while (at + 2 <= data.size() && row < height) {
    const uint8_t count = data[at];
    const uint8_t value = data[at + 1];
    at += 2;
    if (count > 0) {
      for (int32_t i = 0; i < count; ++i) emit(bits == 8 ? value : ((i & 1) ? (value & 0x0F) : (value >> 4)));
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++row;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // delta
      if (at + 2 > data.size()) InvalidBitmap();
      x += data[at];
      row += data[at + 1];
      at += 2;
    } else {  // absolute run of value pixels, padded to a word
      const size_t bytes = bits == 8 ? value : (value + 1u) / 2u;
      if (at + bytes > data.size()) InvalidBitmap();
      for (size_t i = 0; i < value; ++i)
        emit(bits == 8 ? data[at + i] : ((i & 1) ? (data[at + i / 2] & 0x0F) : (data[at + i / 2] >> 4)));
      at += (bytes + 1) & ~size_t{1};
    }
  }
}

void DecodeRle(std::span<const uint8_t> data, const TDibLayout& layout, TBitmap& bitmap) {
  const auto height = static_cast<int32_t>(layout.Height);
  const int32_t bits = static_cast<int32_t>(layout.Bits);
  WalkRle(data, layout, [&](int32_t x, int32_t row, uint32_t index) {
    SetPixelIndex(bitmap.ScanLine(height - 1 - row), x, bits, index);
  });
}

bool IsRle(const TDibLayout& layout) { return layout.Compression == BI_RLE4 || layout.Compression == BI_RLE8; }

// The layout with a file header's offset of the rows, which wins when it points past
// the colour table.
TDibLayout ReadDibLayoutAt(std::span<const uint8_t> dib, int64_t bitsOffset) {
  TDibLayout layout = ReadDibLayout(dib);
  if (bitsOffset > layout.BitsOffset) {
    if (bitsOffset > static_cast<int64_t>(dib.size())) InvalidBitmap();
    layout.BitsOffset = static_cast<uint32_t>(bitsOffset);
  }
  return layout;
}

}  // namespace

TDibHeader ReadDibHeader(std::span<const uint8_t> info) {
  TDibHeader header;
  header.HeaderBytes = Read32(info, 0);
  header.Core = header.HeaderBytes == dib::CoreHeaderBytes;
  switch (header.HeaderBytes) {
    case dib::CoreHeaderBytes:
    case dib::InfoHeaderBytes:
    case dib::V2HeaderBytes:
    case dib::V3HeaderBytes:
    case dib::Os2HeaderBytes:
    case dib::V4HeaderBytes:
    case dib::V5HeaderBytes:
      break;
    default:
      InvalidBitmap();
  }
  if (info.size() < header.HeaderBytes) InvalidBitmap();
  if (header.Core) {
    header.Width = Read16(info, dib::CoreWidthOffset);
    header.Height = Read16(info, dib::CoreHeightOffset);  // unsigned: core rows are bottom-up
    header.BitCount = Read16(info, dib::CoreBitCountOffset);
    return header;
  }
  header.Width = static_cast<int32_t>(Read32(info, dib::WidthOffset));
  header.Height = static_cast<int32_t>(Read32(info, dib::HeightOffset));
  header.BitCount = Read16(info, dib::BitCountOffset);
  header.Compression = Read32(info, dib::CompressionOffset);
  header.ColorsUsed = Read32(info, dib::ColorsUsedOffset);
  return header;
}

uint32_t DibBitsOffset(std::span<const uint8_t> dib) { return ReadDibLayout(dib).BitsOffset; }

TDibRaster DibRaster(std::span<const uint8_t> dib, int64_t bitsOffset) {
  const TDibLayout layout = ReadDibLayoutAt(dib, bitsOffset);
  const int64_t declared = layout.Width * layout.Height;
  if (!IsRle(layout)) return {declared, declared};
  int64_t coded = 0;
  WalkRle(dib.subspan(layout.BitsOffset), layout, [&](int32_t, int32_t, uint32_t) { ++coded; });
  return {declared, coded};
}

std::unique_ptr<TBitmap> LoadDibBitmap(std::span<const uint8_t> dib, int64_t bitsOffset) {
  const TDibLayout layout = ReadDibLayoutAt(dib, bitsOffset);
  const auto width = static_cast<int32_t>(layout.Width);
  const auto height = static_cast<int32_t>(layout.Height);
  const std::span<const uint8_t> rows = dib.subspan(layout.BitsOffset);
  const int64_t stride = BytesPerScanLineOf(layout.Width, static_cast<int32_t>(layout.Bits));
  const bool rle = IsRle(layout);
  // The rows must be there before anything is allocated for them.
  if (!rle && static_cast<int64_t>(rows.size()) < stride * layout.Height) InvalidBitmap();

  auto bitmap = std::make_unique<TBitmap>();
  if (layout.Bits <= 8) {
    bitmap->SetPixelFormat(layout.Bits == 1 ? pf1bit : layout.Bits == 4 ? pf4bit : pf8bit);
    bitmap->SetColorTable(layout.Colors);
    bitmap->SetSize(width, height);
    if (rle) {
      for (int32_t y = 0; y < height; ++y) std::memset(bitmap->ScanLine(y), 0, static_cast<size_t>(stride));
      DecodeRle(rows, layout, *bitmap);
    } else {
      for (int32_t r = 0; r < height; ++r) {
        const int32_t y = layout.TopDown ? r : height - 1 - r;
        std::memcpy(bitmap->ScanLine(y), rows.data() + r * stride, static_cast<size_t>(stride));
      }
    }
    return bitmap;
  }
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(width, height);
  const TChannel red(layout.Masks[0]);
  const TChannel green(layout.Masks[1]);
  const TChannel blue(layout.Masks[2]);
  for (int32_t r = 0; r < height; ++r) {
    const uint8_t* source = rows.data() + r * stride;
    uint8_t* target = bitmap->ScanLine(layout.TopDown ? r : height - 1 - r);
    for (int32_t x = 0; x < width; ++x) {
      if (layout.Bits == 24) {
        std::memcpy(target + 3 * x, source + 3 * x, 3);
        continue;
      }
      const uint32_t pixel = layout.Bits == 16 ? LoadLE16(source + 2 * x) : LoadLE32(source + 4 * x);
      target[3 * x] = blue.Of(pixel);
      target[3 * x + 1] = green.Of(pixel);
      target[3 * x + 2] = red.Of(pixel);
    }
  }
  return bitmap;
}

std::unique_ptr<TBitmap> LoadDdbBitmap(std::span<const uint8_t> bits, int32_t width, int32_t height, int32_t widthBytes,
                                       int32_t planes, int32_t bitsPerPixel) {
  if (planes != 1) throw EInvalidGraphic(SInvalidPixelFormat);
  if (width <= 0 || height <= 0 || width > MaxBmpSidePx || height > MaxBmpSidePx) InvalidBitmap();
  const int64_t wordRow = (int64_t{width} * bitsPerPixel + 15) / 16 * 2;
  const int64_t stride = widthBytes > 0 ? widthBytes : wordRow;
  if (stride < (int64_t{width} * bitsPerPixel + 7) / 8) InvalidBitmap();
  if (static_cast<int64_t>(bits.size()) < stride * height) InvalidBitmap();
  auto bitmap = std::make_unique<TBitmap>();
  switch (bitsPerPixel) {
    case 1: {
      bitmap->SetPixelFormat(pf1bit);
      // A monochrome device bitmap draws 0 in black and 1 in white.
      const TPaletteEntry colors[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
      bitmap->SetColorTable(colors);
      break;
    }
    case 4: {
      bitmap->SetPixelFormat(pf4bit);
      // The sixteen colours of the standard palette.
      static const uint8_t vga[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                         {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                         {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                         {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
      std::vector<TPaletteEntry> colors;
      for (const auto& c : vga) colors.push_back(TPaletteEntry{c[0], c[1], c[2], 0});
      bitmap->SetColorTable(colors);
      break;
    }
    case 16:
    case 24:
    case 32:
      bitmap->SetPixelFormat(pf24bit);
      break;
    default:
      throw EInvalidGraphic(SInvalidPixelFormat);
  }
  bitmap->SetSize(width, height);
  const TChannel red(0x7C00);
  const TChannel green(0x03E0);
  const TChannel blue(0x001F);
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* source = bits.data() + y * stride;
    uint8_t* target = bitmap->ScanLine(y);
    if (bitsPerPixel <= 4) {
      std::memcpy(target, source, static_cast<size_t>((int64_t{width} * bitsPerPixel + 7) / 8));
      continue;
    }
    for (int32_t x = 0; x < width; ++x) {
      if (bitsPerPixel == 16) {
        const uint32_t pixel = LoadLE16(source + 2 * x);
        target[3 * x] = blue.Of(pixel);
        target[3 * x + 1] = green.Of(pixel);
        target[3 * x + 2] = red.Of(pixel);
      } else {
        std::memcpy(target + 3 * x, source + (bitsPerPixel / 8) * x, 3);
      }
    }
  }
  return bitmap;
}
