// Metafiles written from a bitmap, and the placeable header.
#include "platform/graphics/MetafileWrite.h"

#include <algorithm>

#include "platform/base/LittleEndian.h"
#include "platform/base/Numbers.h"
#include "platform/graphics/DibBits.h"
#include "platform/graphics/MetafileFormat.h"

namespace {

constexpr uint32_t kSrcCopy = 0x00CC0020;
constexpr uint32_t kDibHeaderBytes = 40;

// The bitmap as a 24-bit bottom-up DIB: information header, then the rows.
std::vector<uint8_t> Dib24(const TBitmap& bitmap) {
  const int32_t width = bitmap.Width(), height = bitmap.Height();
  const uint32_t rowBytes = DibRowBytes(width, 24);
  std::vector<uint8_t> dib(kDibHeaderBytes + size_t{rowBytes} * static_cast<size_t>(height));
  StoreLE32(dib.data(), kDibHeaderBytes);
  StoreLE32(dib.data() + 4, static_cast<uint32_t>(width));
  StoreLE32(dib.data() + 8, static_cast<uint32_t>(height));
  StoreLE16(dib.data() + 12, 1);   // planes
  StoreLE16(dib.data() + 14, 24);  // bits per pixel
  StoreLE32(dib.data() + 20, rowBytes * static_cast<uint32_t>(height));
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = dib.data() + kDibHeaderBytes + size_t{rowBytes} * static_cast<size_t>(height - 1 - y);
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t c = static_cast<uint32_t>(bitmap.PixelColor(x, y));
      row[3 * x] = static_cast<uint8_t>(c >> 16);
      row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(c);
    }
  }
  return dib;
}

template <typename TInt>
void Put32(std::vector<uint8_t>& out, TInt value) {
  AppendLE32(out, static_cast<uint32_t>(value));
}
template <typename TInt>
void Put16(std::vector<uint8_t>& out, TInt value) {
  AppendLE16(out, static_cast<uint16_t>(value));
}

}  // namespace

std::vector<uint8_t> PlaceableHeader(int32_t mmWidth, int32_t mmHeight, uint16_t inch) {
  auto units = [&](int32_t mm) { return std::clamp(MulDiv(mm, inch, 2540), 0, 32767); };
  std::vector<uint8_t> header;
  Put32(header, wmf::PlaceableKey);
  Put16(header, 0);  // handle
  Put16(header, 0);  // box: left, top, right, bottom
  Put16(header, 0);
  Put16(header, units(mmWidth));
  Put16(header, units(mmHeight));
  Put16(header, inch);
  Put32(header, 0);  // reserved
  uint16_t checksum = 0;
  for (size_t i = 0; i < wmf::PlaceableChecksumOffset; i += 2) checksum ^= LoadLE16(header.data() + i);
  Put16(header, checksum);
  return header;
}

std::vector<uint8_t> EnhancedBitmapMetafile(const TBitmap& bitmap, int32_t mmWidth, int32_t mmHeight) {
  const std::vector<uint8_t> dib = Dib24(bitmap);
  const int32_t width = bitmap.Width(), height = bitmap.Height();
  const uint32_t bitsBytes = static_cast<uint32_t>(dib.size() - kDibHeaderBytes);
  const uint32_t blitBytes = emf::StretchDIBitsBytes + static_cast<uint32_t>(dib.size());
  constexpr uint32_t kEofBytes = 20;
  const uint32_t total = emf::HeaderMinBytes + blitBytes + kEofBytes;
  std::vector<uint8_t> out;
  out.reserve(total);
  // Header: a reference device of 9600 x 9600 pixels on 2540 x 2540 mm, 96 per inch.
  Put32(out, emf::HEADER);
  Put32(out, emf::HeaderMinBytes);
  for (int32_t v : {0, 0, std::max(0, width - 1), std::max(0, height - 1)}) Put32(out, v);  // bounds
  for (int32_t v : {0, 0, mmWidth, mmHeight}) Put32(out, v);                                // frame
  Put32(out, emf::Signature);
  Put32(out, 0x10000);  // version
  Put32(out, total);
  Put32(out, 3);  // records
  Put16(out, 1);  // handles (slot 0 is reserved)
  Put16(out, 0);
  Put32(out, 0);  // description length, offset
  Put32(out, 0);
  Put32(out, 0);                                             // palette entries
  for (int32_t v : {9600, 9600, 2540, 2540}) Put32(out, v);  // device pixels, millimetres
  // STRETCHDIBITS: bounds, destination, source, bitmap offsets, usage, operation, size.
  Put32(out, emf::STRETCHDIBITS);
  Put32(out, blitBytes);
  for (int32_t v : {0, 0, std::max(0, width - 1), std::max(0, height - 1)}) Put32(out, v);
  for (int32_t v : {0, 0, 0, 0, width, height}) Put32(out, v);
  Put32(out, emf::StretchDIBitsBytes);
  Put32(out, kDibHeaderBytes);
  Put32(out, emf::StretchDIBitsBytes + kDibHeaderBytes);
  Put32(out, bitsBytes);
  Put32(out, 0);  // DIB_RGB_COLORS
  Put32(out, kSrcCopy);
  Put32(out, width);
  Put32(out, height);
  out.insert(out.end(), dib.begin(), dib.end());
  // EOF: palette entries, their offset, and the record's size again.
  for (uint32_t v : {uint32_t{emf::EOF_}, kEofBytes, 0u, 16u, kEofBytes}) Put32(out, v);
  return out;
}

std::vector<uint8_t> WindowsBitmapMetafile(const TBitmap& bitmap) {
  const std::vector<uint8_t> dib = Dib24(bitmap);
  const int16_t width = static_cast<int16_t>(std::min(bitmap.Width(), 32767));
  const int16_t height = static_cast<int16_t>(std::min(bitmap.Height(), 32767));
  std::vector<uint8_t> out(wmf::HeaderBytes);
  auto record = [&](uint16_t function, std::initializer_list<int32_t> words, const std::vector<uint8_t>* tail) {
    const size_t bytes = wmf::RecordHeaderBytes + 2 * words.size() + (tail ? tail->size() : 0);
    Put32(out, bytes / 2);
    Put16(out, function);
    for (int32_t w : words) Put16(out, w);
    if (tail) out.insert(out.end(), tail->begin(), tail->end());
    return static_cast<uint32_t>(bytes / 2);
  };
  uint32_t largest = record(wmf::SETMAPMODE, {8}, nullptr);
  largest = std::max(largest, record(wmf::SETWINDOWORG, {0, 0}, nullptr));
  largest = std::max(largest, record(wmf::SETWINDOWEXT, {height, width}, nullptr));
  // STRETCHDIB: operation (low, high), usage, source height, width, y, x, destination
  // height, width, y, x, then the DIB.
  largest = std::max(
      largest,
      record(wmf::STRETCHDIB,
             {int32_t(kSrcCopy & 0xFFFF), int32_t(kSrcCopy >> 16), 0, height, width, 0, 0, height, width, 0, 0}, &dib));
  record(wmf::EOF_, {}, nullptr);
  StoreLE16(out.data(), 1);  // in memory
  StoreLE16(out.data() + 2, wmf::HeaderWords);
  StoreLE16(out.data() + 4, 0x0300);
  StoreLE32(out.data() + wmf::HeaderSizeWordsOffset, static_cast<uint32_t>(out.size() / 2));
  StoreLE16(out.data() + wmf::HeaderObjectsOffset, 0);
  StoreLE32(out.data() + wmf::HeaderMaxRecordOffset, largest);
  return out;
}
