// Bounded reads of a metafile record's fields, for the players of both formats.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/graphics/Geometry.h"

// Bounded reads of a record's fields: a read past the record's end sets Short, answers
// 0, and the caller's record is then skipped.
class TRecordReader {
public:
  explicit TRecordReader(std::span<const uint8_t> record) : FRecord(record) {}
  bool Short = false;
  uint32_t U32(size_t at);
  int32_t I32(size_t at) { return static_cast<int32_t>(U32(at)); }
  uint16_t U16(size_t at);
  int16_t I16(size_t at) { return static_cast<int16_t>(U16(at)); }
  uint8_t U8(size_t at);
  float F32(size_t at);
  // count bytes from at, or an empty span (and Short) past the end.
  std::span<const uint8_t> Bytes(size_t at, uint64_t count);
  size_t Size() const noexcept { return FRecord.size(); }

private:
  std::span<const uint8_t> FRecord;
};

// A source rectangle of a blit record: far-out values (the format allows any 32-bit
// ones) are held where the rectangle's arithmetic cannot overflow.
inline TRect RecordBounds(int64_t left, int64_t top, int64_t width, int64_t height) {
  static constexpr int64_t kFar = int64_t{1} << 28;
  auto held = [](int64_t v) { return static_cast<int32_t>(std::clamp(v, -kFar, kFar)); };
  return TRect{held(left), held(top), held(left) + held(width), held(top) + held(height)};
}
