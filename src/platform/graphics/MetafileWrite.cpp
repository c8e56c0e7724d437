// The placeable header and bitmaps as the metafile records hold them.
#include "platform/graphics/MetafileWrite.h"

#include <algorithm>

#include "platform/base/LittleEndian.h"
#include "platform/base/Numbers.h"
#include "platform/graphics/DibBits.h"
#include "platform/graphics/MetafileFormat.h"

namespace {

constexpr uint32_t kDibHeaderBytes = 40;

template <typename TInt>
void Put32(std::vector<uint8_t>& out, TInt value) {
  AppendLE32(out, static_cast<uint32_t>(value));
}
template <typename TInt>
void Put16(std::vector<uint8_t>& out, TInt value) {
  AppendLE16(out, static_cast<uint16_t>(value));
}

}  // namespace

std::vector<uint8_t> Dib24(const TBitmap& bitmap, const TRect& part) {
  const int32_t width = part.Width(), height = part.Height();
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
      const uint32_t c = static_cast<uint32_t>(bitmap.PixelColor(part.Left + x, part.Top + y));
      row[3 * x] = static_cast<uint8_t>(c >> 16);
      row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(c);
    }
  }
  return dib;
}

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
