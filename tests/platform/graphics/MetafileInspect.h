// Looking into metafiles in the tests: the kinds of records a metafile holds, and how far
// two renderings differ.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <map>

#include "platform/base/LittleEndian.h"
#include "platform/graphics/Metafile.h"

// Record type (enhanced) or function (Windows) -> how many records of it.
inline std::map<uint32_t, int> RecordKinds(const TMetafile& metafile) {
  std::map<uint32_t, int> kinds;
  const auto data = metafile.Records();
  const bool enhanced = metafile.Enhanced();
  size_t at = enhanced ? 0 : 18;
  while (data.size() - at >= (enhanced ? 8u : 6u)) {
    const uint32_t type = enhanced ? LoadLE32(data.data() + at) : LoadLE16(data.data() + at + 4);
    const size_t bytes = enhanced ? LoadLE32(data.data() + at + 4) : size_t{LoadLE32(data.data() + at)} * 2;
    ++kinds[type];
    if (bytes == 0) break;
    at += bytes;
  }
  return kinds;
}

// Records of the kinds listed for the metafile's format.
inline int RecordsOf(const TMetafile& metafile, std::initializer_list<uint32_t> enhanced,
                     std::initializer_list<uint32_t> windows) {
  const auto kinds = RecordKinds(metafile);
  int count = 0;
  for (uint32_t type : metafile.Enhanced() ? enhanced : windows)
    if (const auto it = kinds.find(type); it != kinds.end()) count += it->second;
  return count;
}
// Bitmap records: StretchDIBits, BitBlt, StretchBlt, SetDIBitsToDevice, AlphaBlend;
// DIBBitBlt, DIBStretchBlt, StretchDIB, SetDIBToDev.
inline int BitmapRecords(const TMetafile& metafile) {
  return RecordsOf(metafile, {81, 76, 77, 80, 114}, {0x0940, 0x0B41, 0x0F43, 0x0D33});
}
// Figure records: Polygon, PolyPolygon, Polyline, Rectangle, Ellipse.
inline int FigureRecords(const TMetafile& metafile) {
  return RecordsOf(metafile, {3, 8, 4, 43, 42}, {0x0324, 0x0538, 0x0325, 0x041B, 0x0418});
}

struct TPixelDifference {
  int64_t Inked = 0;      // pixels not white in either
  int64_t Differing = 0;  // of them, those more than 64 apart in a channel
};
// reach: a pixel of a also matches a pixel of b up to that many pixels away (glyphs placed
// at whole pixels may land on the next one when their reference point rounds otherwise).
inline TPixelDifference DifferingPixels(const TBitmap& a, const TBitmap& b, int32_t reach = 0) {
  auto near = [](uint32_t p, uint32_t q) {
    for (int shift = 0; shift < 24; shift += 8)
      if (std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)) > 64) return false;
    return true;
  };
  auto matched = [&](int32_t x, int32_t y, uint32_t p) {
    for (int32_t dy = -reach; dy <= reach; ++dy)
      for (int32_t dx = -reach; dx <= reach; ++dx) {
        const int32_t bx = x + dx, by = y + dy;
        if (bx >= 0 && by >= 0 && bx < b.Width() && by < b.Height() &&
            near(p, static_cast<uint32_t>(b.PixelColor(bx, by))))
          return true;
      }
    return false;
  };
  TPixelDifference d;
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x) {
      const uint32_t p = static_cast<uint32_t>(a.PixelColor(x, y)), q = static_cast<uint32_t>(b.PixelColor(x, y));
      if (p == 0xFFFFFF && q == 0xFFFFFF) continue;
      ++d.Inked;
      if (!matched(x, y, p)) ++d.Differing;
    }
  return d;
}
