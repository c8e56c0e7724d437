// Hand-made metafiles for the tests: records written field by field.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// A Windows metafile: records of 16-bit words (parameters in the format's reverse order,
// as the caller lists them), the 18-byte header and an end record added by Bytes.
struct TWmfBuilder {
  std::vector<uint8_t> Records;
  uint16_t Objects = 0;

  void Word(std::vector<uint8_t>& out, uint32_t w) const {
    out.push_back(static_cast<uint8_t>(w));
    out.push_back(static_cast<uint8_t>(w >> 8));
  }
  TWmfBuilder& Rec(uint16_t function, std::initializer_list<int32_t> words, const std::vector<uint8_t>& tail = {}) {
    const uint32_t size = static_cast<uint32_t>(3 + words.size() + tail.size() / 2);
    Word(Records, size & 0xFFFF);
    Word(Records, size >> 16);
    Word(Records, function);
    for (int32_t w : words) Word(Records, static_cast<uint32_t>(w) & 0xFFFF);
    Records.insert(Records.end(), tail.begin(), tail.end());
    return *this;
  }
  // CREATEFONTINDIRECT: height, width, escapement, orientation, weight, italic and
  // underline, strike-out and charset, the precisions, quality and pitch; the face name
  // padded to 32 bytes.
  TWmfBuilder& CreateFont(int32_t height, uint8_t charset, const std::string& face) {
    std::vector<uint8_t> name(face.begin(), face.end());
    name.resize(32, 0);
    return Rec(0x02FB, {height, 0, 0, 0, 400, 0, charset << 8, 0, 0}, name);
  }
  // EXTTEXTOUT of 8-bit text at (x, y) without options: y, x, count, options; the bytes
  // padded to a whole word.
  TWmfBuilder& ExtTextOut(int32_t x, int32_t y, const std::string& text) {
    std::vector<uint8_t> bytes(text.begin(), text.end());
    if (bytes.size() % 2) bytes.push_back(0);
    return Rec(0x0A32, {y, x, static_cast<int32_t>(text.size()), 0}, bytes);
  }
  // With a placeable header of box (0, 0, right, bottom) at inch units per inch.
  std::vector<uint8_t> Bytes(bool placeable = true, int16_t right = 100, int16_t bottom = 100,
                             uint16_t inch = 96) const {
    std::vector<uint8_t> out;
    if (placeable) {
      for (uint32_t w : {0xCDD7u, 0x9AC6u, 0u, 0u, 0u, uint32_t(uint16_t(right)), uint32_t(uint16_t(bottom)),
                         uint32_t(inch), 0u, 0u})
        Word(out, w);
      uint16_t sum = 0;
      for (size_t i = 0; i < 20; i += 2) sum ^= static_cast<uint16_t>(out[i] | out[i + 1] << 8);
      Word(out, sum);
    }
    const uint32_t words = 9 + static_cast<uint32_t>(Records.size() / 2) + 3;
    for (uint32_t w : {1u, 9u, 0x0300u, words & 0xFFFF, words >> 16, uint32_t(Objects), 0u, 0u, 0u}) Word(out, w);
    out.insert(out.end(), Records.begin(), Records.end());
    for (uint32_t w : {3u, 0u, 0u}) Word(out, w);  // end record
    return out;
  }
};

// A bitmap as blit records hold it: the information header (and colour table), and the
// rows, bottom-up and padded to 4 bytes.
struct TDib {
  std::vector<uint8_t> Info, Bits;
};
inline void PutDword(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
// Pixels (0x00BBGGRR) given row by row from the top, at 24 bits per pixel.
inline TDib Dib24(int32_t width, const std::vector<uint32_t>& pixels) {
  const int32_t height = static_cast<int32_t>(pixels.size()) / width;
  TDib dib;
  // size, width, height, planes 1 and 24 bits, no compression, image bytes, resolution, colours
  for (uint32_t v : {40u, uint32_t(width), uint32_t(height), 0x00180001u, 0u, 0u, 0u, 0u, 0u, 0u})
    PutDword(dib.Info, v);
  for (int32_t y = height - 1; y >= 0; --y) {
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t c = pixels[static_cast<size_t>(y * width + x)];
      for (int shift : {16, 8, 0}) dib.Bits.push_back(static_cast<uint8_t>(c >> shift));  // blue, green, red
    }
    while (dib.Bits.size() % 4) dib.Bits.push_back(0);
  }
  return dib;
}
// Bits (0 or 1) given row by row from the top, at 1 bit per pixel; colour 0 black, 1 white
// (or, whiteFirst, the other way round).
inline TDib Dib1(int32_t width, const std::vector<int>& bits, bool whiteFirst = false) {
  const int32_t height = static_cast<int32_t>(bits.size()) / width;
  TDib dib;
  const uint32_t first = whiteFirst ? 0xFFFFFFu : 0u;
  for (uint32_t v :
       {40u, uint32_t(width), uint32_t(height), 0x00010001u, 0u, 0u, 0u, 0u, 2u, 0u, first, first ^ 0xFFFFFFu})
    PutDword(dib.Info, v);
  for (int32_t y = height - 1; y >= 0; --y) {
    const size_t start = dib.Bits.size();
    for (int32_t x = 0; x < width; ++x) {
      if (x % 8 == 0) dib.Bits.push_back(0);
      if (bits[static_cast<size_t>(y * width + x)]) dib.Bits.back() |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    while ((dib.Bits.size() - start) % 4) dib.Bits.push_back(0);
  }
  return dib;
}

// A vertex of a gradient fill: point and 16-bit channels.
struct TTriVertex {
  int32_t X, Y;
  uint16_t Red, Green, Blue;
};

// An enhanced metafile: records of 32-bit fields, with the header (frame in 0.01 mm, a
// 96 pixels-per-inch reference device) and the end record added by Bytes.
struct TEmfBuilder {
  std::vector<uint8_t> Records;
  uint16_t Handles = 1;
  int32_t RecordCount = 2;

  static void Dword(std::vector<uint8_t>& out, uint32_t v) { PutDword(out, v); }
  TEmfBuilder& Rec(uint32_t type, std::initializer_list<int64_t> fields, const std::vector<uint8_t>& tail = {}) {
    return Rec(type, std::vector<int64_t>(fields), tail);
  }
  TEmfBuilder& Rec(uint32_t type, const std::vector<int64_t>& fields, const std::vector<uint8_t>& tail = {}) {
    Dword(Records, type);
    Dword(Records, static_cast<uint32_t>(8 + 4 * fields.size() + tail.size()));
    for (int64_t f : fields) Dword(Records, static_cast<uint32_t>(f));
    Records.insert(Records.end(), tail.begin(), tail.end());
    ++RecordCount;
    return *this;
  }
  static uint32_t Float(float f) { return std::bit_cast<uint32_t>(f); }

  // The fields of bitmaps placed after a record's fixed fields (fixedBytes with its type
  // and size): offsets and sizes of header and rows each (zeros for a bitmap left out),
  // appended to fields, and the bytes they take appended to tail.
  static void PlaceDibs(std::vector<int64_t>& fields, std::vector<uint8_t>& tail, uint32_t fixedBytes,
                        std::initializer_list<const TDib*> dibs) {
    for (const TDib* dib : dibs) {
      if (!dib) {
        fields.insert(fields.end(), {0, 0, 0, 0});
        continue;
      }
      const int64_t info = fixedBytes + int64_t(tail.size());
      const int64_t bits = info + int64_t(dib->Info.size());
      fields.insert(fields.end(), {info, int64_t(dib->Info.size()), bits, int64_t(dib->Bits.size())});
      tail.insert(tail.end(), dib->Info.begin(), dib->Info.end());
      tail.insert(tail.end(), dib->Bits.begin(), dib->Bits.end());
    }
  }
  // The source fields of the blit records: transform (none), background colour, usage,
  // the bitmap; returns the bytes to append.
  static std::vector<uint8_t> SourceFields(std::vector<int64_t>& fields, uint32_t fixedBytes, const TDib& dib) {
    fields.insert(fields.end(), {Float(1), 0, 0, Float(1), 0, 0, 0, 0});
    std::vector<uint8_t> tail;
    PlaceDibs(fields, tail, fixedBytes, {&dib});
    return tail;
  }
  // Those, then the mask's x, y, usage and bitmap.
  static std::vector<uint8_t> MaskedSourceFields(std::vector<int64_t>& fields, uint32_t fixedBytes, const TDib& dib,
                                                 int32_t mx, int32_t my, const TDib* mask) {
    std::vector<uint8_t> tail = SourceFields(fields, fixedBytes, dib);
    fields.insert(fields.end(), {mx, my, 0});
    PlaceDibs(fields, tail, fixedBytes, {mask});
    return tail;
  }

  // The bounds field of a drawing record: the inclusive box of the points (x, y pairs)
  // it reaches to, the far edges one in.
  static std::vector<int64_t> Bounds(const std::vector<int32_t>& xy) {
    int32_t l = INT32_MAX, t = INT32_MAX, r = INT32_MIN, b = INT32_MIN;
    for (size_t i = 0; i + 1 < xy.size(); i += 2) {
      l = std::min(l, xy[i]), r = std::max(r, xy[i]);
      t = std::min(t, xy[i + 1]), b = std::max(b, xy[i + 1]);
    }
    if (l > r) return {0, 0, -1, -1};
    return {l, t, r - 1, b - 1};
  }
  // MASKBLT: bounds, destination x, y, width, height, quaternary operation, source x, y,
  // transform, background colour, usage, source bitmap, mask x, y, mask usage, mask bitmap.
  TEmfBuilder& MaskBlt(std::array<int32_t, 4> dest, uint32_t rop4, int32_t sx, int32_t sy, const TDib& source,
                       int32_t mx, int32_t my, const TDib* mask) {
    std::vector<int64_t> fields = Bounds({dest[0], dest[1], dest[0] + dest[2], dest[1] + dest[3]});
    fields.insert(fields.end(), {dest[0], dest[1], dest[2], dest[3], rop4, sx, sy});
    const std::vector<uint8_t> tail = MaskedSourceFields(fields, 128, source, mx, my, mask);
    return Rec(78, fields, tail);
  }
  // PLGBLT: bounds, upper-left, upper-right and lower-left destination points, source x,
  // y, width, height, transform, background colour, usage, source bitmap, mask x, y, mask
  // usage, mask bitmap.
  TEmfBuilder& PlgBlt(std::array<int32_t, 6> points, std::array<int32_t, 4> source, const TDib& dib, int32_t mx,
                      int32_t my, const TDib* mask) {
    const int32_t fourthX = points[2] + points[4] - points[0], fourthY = points[3] + points[5] - points[1];
    std::vector<int64_t> fields =
        Bounds({points[0], points[1], points[2], points[3], points[4], points[5], fourthX, fourthY});
    fields.insert(fields.end(), points.begin(), points.end());
    fields.insert(fields.end(), source.begin(), source.end());
    const std::vector<uint8_t> tail = MaskedSourceFields(fields, 140, dib, mx, my, mask);
    return Rec(79, fields, tail);
  }
  // TRANSPARENTBLT: bounds, destination x, y, width, height, transparent colour, source x,
  // y, transform, background colour, usage, bitmap, source width, height.
  TEmfBuilder& TransparentBlt(std::array<int32_t, 4> dest, uint32_t transparent, std::array<int32_t, 4> source,
                              const TDib& dib) {
    std::vector<int64_t> fields = Bounds({dest[0], dest[1], dest[0] + dest[2], dest[1] + dest[3]});
    fields.insert(fields.end(), {dest[0], dest[1], dest[2], dest[3], transparent, source[0], source[1]});
    const std::vector<uint8_t> tail = SourceFields(fields, 108, dib);
    fields.insert(fields.end(), {source[2], source[3]});
    return Rec(116, fields, tail);
  }
  // GRADIENTFILL: bounds, vertex count, part count, mode, vertices (x, y, red and green,
  // blue and alpha), then the parts' vertex indexes (2 or 3 per part by the mode).
  TEmfBuilder& GradientFill(const std::vector<TTriVertex>& vertices, const std::vector<uint32_t>& indexes,
                            uint32_t mode) {
    const size_t perPart = mode == 2 ? 3 : 2;
    std::vector<int32_t> corners;
    for (const TTriVertex& v : vertices) corners.insert(corners.end(), {v.X, v.Y});
    std::vector<int64_t> fields = Bounds(corners);
    fields.insert(fields.end(), {int64_t(vertices.size()), int64_t(indexes.size() / perPart), mode});
    for (const TTriVertex& v : vertices)
      fields.insert(fields.end(), {v.X, v.Y, v.Red | int64_t{v.Green} << 16, v.Blue});
    fields.insert(fields.end(), indexes.begin(), indexes.end());
    return Rec(118, fields);
  }
  std::vector<uint8_t> Bytes(int32_t frameRight = 2540, int32_t frameBottom = 2540) const {
    std::vector<uint8_t> out;
    const uint32_t total = 88 + static_cast<uint32_t>(Records.size()) + 20;
    for (uint32_t v : {1u,
                       88u,
                       0u,
                       0u,
                       95u,
                       95u,
                       0u,
                       0u,
                       uint32_t(frameRight),
                       uint32_t(frameBottom),
                       0x464D4520u,
                       0x10000u,
                       total,
                       uint32_t(RecordCount),
                       uint32_t(Handles),
                       0u,
                       0u,
                       0u,
                       9600u,
                       9600u,
                       2540u,
                       2540u})
      Dword(out, v);
    out.insert(out.end(), Records.begin(), Records.end());
    for (uint32_t v : {14u, 20u, 0u, 16u, 20u}) Dword(out, v);
    return out;
  }
};

// Clip regions of two rectangles and a hole, over a red square of 96 x 96 pixels.
// Enhanced: the region (10, 10)-(40, 40) and (50, 50)-(90, 90) in device units, then
// (20, 20)-(30, 30) excluded. Windows (a 100-unit box at 96 per inch): a region of two
// scans, (10, 10)-(30, 40) and (60, 10)-(90, 40), then (20, 60)-(80, 90).
inline std::vector<uint8_t> RegionClipEmf() {
  TEmfBuilder emf;
  emf.Handles = 2;
  emf.Rec(39, {1, 0, 0x0000FF, 0});  // CREATEBRUSHINDIRECT red
  emf.Rec(37, {1});
  emf.Rec(37, {0x80000000 | 8});  // NULL_PEN
  // EXTSELECTCLIPRGN: data bytes, copy; header: size, type, count, bytes, bounds; rectangles
  emf.Rec(75, {64, 5, 32, 1, 2, 32, 10, 10, 90, 90, 10, 10, 40, 40, 50, 50, 90, 90});
  emf.Rec(29, {20, 20, 30, 30});  // EXCLUDECLIPRECT
  emf.Rec(43, {0, 0, 96, 96});
  return emf.Bytes();
}
inline std::vector<uint8_t> RegionClipWmf() {
  TWmfBuilder wmf;
  wmf.Objects = 2;
  wmf.Rec(0x02FC, {0, 0x00FF, 0x0000, 0});  // CREATEBRUSHINDIRECT red
  wmf.Rec(0x012D, {0});
  wmf.Rec(0x02FA, {5, 0, 0, 0, 0});  // CREATEPENINDIRECT null
  wmf.Rec(0x012D, {1});
  wmf.Rec(0x01F0, {1});  // DELETEOBJECT: the pen stays selected, its slot is free
  // CREATEREGION: next, type, count (2 words), size, scans, largest scan, bounds, scans
  wmf.Rec(0x06FF, {0, 6, 0, 0, 50, 2, 4, 10, 10, 90, 90, 4, 10, 40, 10, 30, 60, 90, 4, 2, 60, 90, 20, 80, 2});
  wmf.Rec(0x012C, {1});               // SELECTCLIPREGION
  wmf.Rec(0x041B, {100, 100, 0, 0});  // RECTANGLE
  return wmf.Bytes(true, 100, 100, 96);
}
