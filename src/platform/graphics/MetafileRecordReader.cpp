// Bounded reads of a metafile record's fields.
#include "platform/graphics/MetafileRecordReader.h"

#include <bit>
#include <cmath>

#include "platform/base/LittleEndian.h"

uint32_t TRecordReader::U32(size_t at) {
  if (at > FRecord.size() || FRecord.size() - at < 4) return Short = true, 0;
  return LoadLE32(FRecord.data() + at);
}
uint16_t TRecordReader::U16(size_t at) {
  if (at > FRecord.size() || FRecord.size() - at < 2) return Short = true, 0;
  return LoadLE16(FRecord.data() + at);
}
uint8_t TRecordReader::U8(size_t at) {
  if (at >= FRecord.size()) return Short = true, 0;
  return FRecord[at];
}
float TRecordReader::F32(size_t at) {
  const float value = std::bit_cast<float>(U32(at));
  return std::isfinite(value) ? value : 0.0f;
}
std::span<const uint8_t> TRecordReader::Bytes(size_t at, uint64_t count) {
  if (at > FRecord.size() || FRecord.size() - at < count) return Short = true, std::span<const uint8_t>{};
  return FRecord.subspan(at, static_cast<size_t>(count));
}
