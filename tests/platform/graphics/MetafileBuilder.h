// Hand-made metafiles for the tests: records written field by field.
#pragma once

#include <cstdint>
#include <initializer_list>
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

// An enhanced metafile: records of 32-bit fields, with the header (frame in 0.01 mm, a
// 96 pixels-per-inch reference device) and the end record added by Bytes.
struct TEmfBuilder {
  std::vector<uint8_t> Records;
  uint16_t Handles = 1;
  int32_t RecordCount = 2;

  static void Dword(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  TEmfBuilder& Rec(uint32_t type, std::initializer_list<int64_t> fields, const std::vector<uint8_t>& tail = {}) {
    Dword(Records, type);
    Dword(Records, static_cast<uint32_t>(8 + 4 * fields.size() + tail.size()));
    for (int64_t f : fields) Dword(Records, static_cast<uint32_t>(f));
    Records.insert(Records.end(), tail.begin(), tail.end());
    ++RecordCount;
    return *this;
  }
  static uint32_t Float(float f) {
    uint32_t v;
    __builtin_memcpy(&v, &f, 4);
    return v;
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
