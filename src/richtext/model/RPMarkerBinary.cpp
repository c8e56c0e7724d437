// The marker list's record block: what a document fragment keeps of the markers before
// it, so that a list can be continued.
#include <algorithm>
#include <vector>

#include "platform/base/LittleEndian.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPMarker.h"

namespace {

// The block's layout: an optional byte size, a zero, the count, then the records.
constexpr int32_t HeadBytes = 8;     // int32 0, int32 count
constexpr int32_t RecordBytes = 17;  // ListNo 4, Level 4, Reset 1, StartFrom 4, Counter 4
constexpr int32_t ListNoAt = 0, LevelAt = 4, ResetAt = 8, StartFromAt = 9, CounterAt = 13;
static_assert(CounterAt + 4 == RecordBytes);

void WriteInt32(TStream& stream, int32_t value) {
  uint8_t bytes[4];
  StoreLE32(bytes, static_cast<uint32_t>(value));
  stream.WriteBuffer(bytes, 4);
}

int32_t ReadInt32(TStream& stream) {
  uint8_t bytes[4];
  stream.ReadBuffer(bytes, 4);
  return static_cast<int32_t>(LoadLE32(bytes));
}

int32_t Int32At(const uint8_t* record, int32_t at) { return static_cast<int32_t>(LoadLE32(record + at)); }

}  // namespace

void TRPMarkerList::WriteMarkersBinary(TStream& stream, int32_t count, bool withSize) const {
  count = std::clamp(count, 0, Count());
  if (withSize) WriteInt32(stream, RecordBytes * count + HeadBytes);
  WriteInt32(stream, 0);
  WriteInt32(stream, count);
  for (int32_t i = 0; i < count; ++i) {
    const TRPMarkerItemInfo& marker = *Items(i);
    uint8_t record[RecordBytes];
    StoreLE32(record + ListNoAt, static_cast<uint32_t>(marker.ListNo));
    StoreLE32(record + LevelAt, static_cast<uint32_t>(marker.Level));
    record[ResetAt] = marker.Reset ? 1 : 0;
    StoreLE32(record + StartFromAt, static_cast<uint32_t>(marker.StartFrom));
    StoreLE32(record + CounterAt, static_cast<uint32_t>(marker.Counter));
    stream.WriteBuffer(record, RecordBytes);
  }
}

void TRPMarkerList::ReadMarkersBinary(TStream& stream, TCustomRPData* rpData, bool withSize) {
  Clear();
  if (withSize) ReadInt32(stream);  // the size says nothing the count does not
  ReadInt32(stream);                // always 0
  const int32_t count = ReadInt32(stream);
  // Markers are made as their records arrive, so a count larger than the block costs no
  // more than the block; the list takes them only when all have come.
  std::vector<std::unique_ptr<TRPMarkerItemInfo>> read;
  for (int32_t i = 0; i < count; ++i) {
    uint8_t record[RecordBytes];
    stream.ReadBuffer(record, RecordBytes);
    auto marker = TRPMarkerItemInfo::CreateEx(rpData, Int32At(record, ListNoAt), Int32At(record, LevelAt),
                                              Int32At(record, StartFromAt), record[ResetAt] != 0);
    marker->Counter = Int32At(record, CounterAt);
    read.push_back(std::move(marker));
  }
  for (auto& marker : read) {
    marker->CachedListIndex = Count();
    FItems.push_back(marker.get());
    FOwned.push_back(std::move(marker));
  }
  Changed();
}

void TRPMarkerList::LoadMarkersFromBinaryString(AnsiStringView bytes, TCustomRPData* rpData) {
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  stream.SetPosition(0);
  ReadMarkersBinary(stream, rpData, false);
}

bool TRPMarkerList::LoadMarkersFromHexString(AnsiStringView hex, TCustomRPData* rpData) {
  TMemoryStream stream;
  if (!RPFHexToStream(hex, stream)) {
    Clear();
    return false;
  }
  stream.SetPosition(0);
  ReadMarkersBinary(stream, rpData, false);
  return true;
}

void TRPMarkerList::WriteMarkersHexLine(TStream& stream, int32_t count) const {
  TMemoryStream block;
  WriteMarkersBinary(block, count, false);
  RPFWriteLine(stream, RPFStreamToHex(block));
}
