// Bitmap-file images ("BM"): what TBitmap reads and writes through streams.
//
// Read: the 14-byte file header, an information header of 12 (core), 40, 52, 56, 108 or
// 124 bytes, the colour table of the 1-, 4- and 8-bit formats, then the rows, bottom row
// first unless the height is negative. Uncompressed data of 1, 4, 8, 24 and 32 bits per
// pixel is taken (32 bits also with the standard bit-field masks). Written: the file
// header, a 40-byte header, the colour table of the palette formats, rows bottom first.
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/base/Exception.h"
#include "platform/base/Format.h"
#include "platform/base/LittleEndian.h"
#include "platform/base/Resources.h"
#include "platform/base/Streams.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/DibDecode.h"

namespace {

constexpr int32_t kFileHeaderBytes = 14;
constexpr int32_t kInfoHeaderBytes = dib::InfoHeaderBytes;
constexpr uint16_t kBitmapSignature = 0x4D42;  // "BM"
using dib::BI_BITFIELDS;
using dib::BI_RGB;
static_assert(kFileHeaderBytes == 2 + 4 + 2 + 2 + 4, "type, size, two reserved words, pixel offset");

[[noreturn]] void Invalid() { throw EInvalidGraphic(SInvalidBitmap); }

TPixelFormat FormatOfBits(uint32_t bits) {
  switch (bits) {
    case 1:
      return pf1bit;
    case 4:
      return pf4bit;
    case 8:
      return pf8bit;
    case 24:
      return pf24bit;
    case 32:
      return pf32bit;
    case 16:
      throw EInvalidGraphic(SInvalidPixelFormat);
    default:
      Invalid();
  }
}

// Bytes from the stream's position to its end; -1 when the stream cannot tell (a pipe).
int64_t BytesLeft(TStream& stream) {
  const int64_t position = stream.Position();
  if (position < 0) return -1;
  const int64_t size = stream.Size();
  return size < position ? -1 : size - position;
}

void ReadBytes(TStream& stream, std::vector<uint8_t>& into, int64_t count) {
  const size_t at = into.size();
  into.resize(at + static_cast<size_t>(count));
  stream.ReadBuffer(into.data() + at, static_cast<int32_t>(count));
}

}  // namespace

void TBitmap::LoadFromStream(TStream& stream) {
  const int64_t fileBytes = BytesLeft(stream);
  std::vector<uint8_t> head;
  ReadBytes(stream, head, kFileHeaderBytes + 4);
  if (LoadLE16(head.data()) != kBitmapSignature) Invalid();
  const uint32_t pixelOffset = LoadLE32(head.data() + 10);
  // The information header of any size but the OS/2 one, read whole.
  const uint32_t headerBytes = LoadLE32(head.data() + kFileHeaderBytes);
  if (headerBytes == dib::Os2HeaderBytes || headerBytes < dib::CoreHeaderBytes || headerBytes > dib::V5HeaderBytes)
    Invalid();
  ReadBytes(stream, head, headerBytes - 4);
  const uint8_t* info = head.data() + kFileHeaderBytes;
  const TDibHeader header = ReadDibHeader({info, headerBytes});
  const bool core = header.Core;
  const int64_t width = header.Width;
  const int64_t rawHeight = header.Height;
  const uint32_t bits = header.BitCount;
  const uint32_t compression = header.Compression;
  const uint32_t colorsUsed = header.ColorsUsed;
  const TPixelFormat format = FormatOfBits(bits);
  const bool topDown = rawHeight < 0;
  const int64_t height = topDown ? -rawHeight : rawHeight;
  if (width < 0 || width > MaxBmpSidePx || height > MaxBmpSidePx) Invalid();
  const int64_t stride = BytesPerScanLineOf(width, static_cast<int32_t>(bits));
  if (stride * height > MaxBitmapBytes) Invalid();

  int64_t consumed = kFileHeaderBytes + headerBytes;
  if (compression == BI_BITFIELDS) {
    // Only the masks of plain blue-green-red 32-bit pixels are taken; they follow a
    // 40-byte header and lie inside the longer ones.
    if (bits != 32) Invalid();
    std::vector<uint8_t> masks;
    if (headerBytes == kInfoHeaderBytes) {
      ReadBytes(stream, masks, 12);
      consumed += 12;
    } else {
      masks.assign(info + dib::InfoHeaderBytes, info + dib::V2HeaderBytes);
    }
    if (LoadLE32(masks.data()) != 0x00FF0000 || LoadLE32(masks.data() + 4) != 0x0000FF00 ||
        LoadLE32(masks.data() + 8) != 0x000000FF)
      Invalid();
  } else if (compression != BI_RGB) {
    Invalid();
  }

  std::vector<TPaletteEntry> colors;
  if (bits <= 8) {
    const uint32_t capacity = 1u << bits;
    const uint32_t stored = (colorsUsed == 0 || core) ? capacity : colorsUsed;
    if (stored > 256) Invalid();
    const uint32_t entryBytes = core ? 3 : 4;
    std::vector<uint8_t> table;
    ReadBytes(stream, table, int64_t{stored} * entryBytes);
    consumed += int64_t{stored} * entryBytes;
    for (uint32_t i = 0; i < std::min(stored, capacity); ++i) {
      const uint8_t* e = table.data() + i * entryBytes;
      colors.push_back(TPaletteEntry{e[2], e[1], e[0], 0});
    }
  }
  // The rows must be there before anything is allocated for them: a short file that
  // claims a huge image is refused here, not after a gigabyte was taken (so is a file
  // merely cut short).
  const int64_t rowsOffset = std::max<int64_t>(pixelOffset, consumed);
  const int64_t rowBytes = stride * height;
  if (fileBytes >= 0 && (rowsOffset > fileBytes || rowBytes > fileBytes - rowsOffset)) Invalid();
  if (pixelOffset > consumed) {
    if (pixelOffset - consumed > MaxBitmapBytes) Invalid();
    std::vector<uint8_t> gap;
    ReadBytes(stream, gap, pixelOffset - consumed);
  }
  // A stream that cannot tell its size gives its rows first, so only bytes that came are
  // ever held.
  std::vector<uint8_t> rows;
  if (fileBytes < 0)
    for (int64_t row = 0; row < height; ++row) ReadBytes(stream, rows, stride);

  TBitmap image;
  image.FColors = std::move(colors);
  image.NewImage(static_cast<int32_t>(width), static_cast<int32_t>(height), format);
  for (int32_t row = 0; row < image.FHeight && image.FStride > 0; ++row) {
    const int32_t y = topDown ? row : image.FHeight - 1 - row;
    if (fileBytes < 0)
      std::memcpy(image.ScanLine(y), rows.data() + static_cast<size_t>(row) * static_cast<size_t>(image.FStride),
                  static_cast<size_t>(image.FStride));
    else
      stream.ReadBuffer(image.ScanLine(y), image.FStride);
  }
  Assign(image);
}

void TBitmap::SaveToStream(TStream& stream) const {
  const int32_t bits = BitsPerPixel();
  const uint32_t tableEntries = bits <= 8 ? static_cast<uint32_t>(FColors.size()) : 0;
  const uint32_t pixelOffset = kFileHeaderBytes + kInfoHeaderBytes + tableEntries * 4;
  const uint32_t imageBytes = static_cast<uint32_t>(FStride) * static_cast<uint32_t>(FHeight);
  std::vector<uint8_t> out;
  out.reserve(pixelOffset + imageBytes);
  AppendLE16(out, kBitmapSignature);
  AppendLE32(out, pixelOffset + imageBytes);  // file size
  AppendLE16(out, 0);                         // reserved
  AppendLE16(out, 0);                         // reserved
  AppendLE32(out, pixelOffset);               // offset of the rows
  AppendLE32(out, kInfoHeaderBytes);          // header size
  AppendLE32(out, static_cast<uint32_t>(FWidth));
  AppendLE32(out, static_cast<uint32_t>(FHeight));  // positive: bottom row first
  AppendLE16(out, 1);                               // planes
  AppendLE16(out, static_cast<uint16_t>(bits));     // bits per pixel
  AppendLE32(out, BI_RGB);                          // compression
  AppendLE32(out, imageBytes);                      // image size
  AppendLE32(out, 0);                               // horizontal resolution
  AppendLE32(out, 0);                               // vertical resolution
  AppendLE32(out, tableEntries);                    // colours used
  AppendLE32(out, 0);                               // important colours: all
  for (uint32_t i = 0; i < tableEntries; ++i) {
    out.push_back(FColors[i].peBlue);
    out.push_back(FColors[i].peGreen);
    out.push_back(FColors[i].peRed);
    out.push_back(0);
  }
  for (int32_t y = FHeight - 1; y >= 0; --y) {
    const uint8_t* row = ScanLine(y);
    out.insert(out.end(), row, row + FStride);
  }
  stream.WriteBuffer(out.data(), static_cast<int32_t>(out.size()));
}

void TBitmap::LoadFromResourceName(WideStringView name) {
  const std::span<const uint8_t> dib = ResourceBytes(TResName(name), RT_BITMAP);
  if (dib.empty()) throw EResNotFound(Format(SResNotFound, {WideToAnsi(name)}));
  // A bitmap resource is the file without its 14-byte header: the header is put back in
  // front. Its pixel offset 0 lets the rows follow the colour table, where they stand.
  uint8_t header[kFileHeaderBytes] = {};
  StoreLE16(header, kBitmapSignature);
  StoreLE32(header + 2, static_cast<uint32_t>(kFileHeaderBytes + dib.size()));
  TMemoryStream stream;
  stream.WriteBuffer(header, kFileHeaderBytes);
  stream.WriteBuffer(dib.data(), static_cast<int32_t>(dib.size()));
  stream.SetPosition(0);
  LoadFromStream(stream);
}
