#include "richtext/model/RPLayoutInfo.h"

#include "platform/base/Exception.h"
#include "platform/base/LittleEndian.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPFStreamHelpers.h"

using namespace RPLayoutBlock;

namespace {

void PutLE32(AnsiString& bytes, int32_t offset, int32_t value) {
  StoreLE32(reinterpret_cast<uint8_t*>(&bytes[static_cast<size_t>(offset)]), static_cast<uint32_t>(value));
}

int32_t GetLE32(const uint8_t* block, int32_t offset) { return static_cast<int32_t>(LoadLE32(block + offset)); }

// Bytes left between the stream's position and its end.
int64_t Remaining(TStream& stream) { return stream.Size() - stream.Position(); }

}  // namespace

AnsiString TRPLayoutInfo::BlockBytes() const {
  const bool extended = FirstParaCut || LastParaCut;
  const int32_t length = extended ? ExtendedLength : BaseLength;
  AnsiString block(static_cast<size_t>(HeadBytes + length), '\0');
  PutLE32(block, ReservedOffset, 0);
  PutLE32(block, LengthOffset, length);
  PutLE32(block, LeftMarginOffset, LeftMargin);
  PutLE32(block, RightMarginOffset, RightMargin);
  PutLE32(block, TopMarginOffset, TopMargin);
  PutLE32(block, BottomMarginOffset, BottomMargin);
  PutLE32(block, MinTextWidthOffset, MinTextWidth);
  PutLE32(block, MaxTextWidthOffset, MaxTextWidth);
  block[BiDiModeOffset] = static_cast<char>(BiDiMode);
  if (extended) {
    PutLE32(block, FirstParaCutOffset, FirstParaCut ? 1 : 0);
    PutLE32(block, LastParaCutOffset, LastParaCut ? 1 : 0);
    PutLE32(block, MarkerListNoOffset, FirstMarkerListNo);
    PutLE32(block, MarkerLevelOffset, FirstMarkerLevel);
  }
  return block;
}

void TRPLayoutInfo::SaveToStream(TStream& stream, bool withSize) const {
  const AnsiString block = BlockBytes();
  if (withSize) {
    uint8_t size[4];
    StoreLE32(size, static_cast<uint32_t>(block.size()));
    stream.WriteBuffer(size, 4);
  }
  stream.WriteBuffer(block.data(), static_cast<int32_t>(block.size()));
}

AnsiString TRPLayoutInfo::SaveToHexLine() const { return RPFStrToHex(BlockBytes()); }

void TRPLayoutInfo::LoadFromStream(TStream& stream, bool withSize) {
  int64_t end = stream.Size();
  if (withSize) {
    uint8_t size[4];
    stream.ReadBuffer(size, 4);
    const uint32_t total = LoadLE32(size);
    if (total > Remaining(stream)) throw EReadError(SReadError);
    end = stream.Position() + total;
  }
  uint8_t block[HeadBytes + ExtendedLength] = {};
  stream.ReadBuffer(block, HeadBytes);
  const int32_t length = GetLE32(block, LengthOffset);
  if (length < BaseLength) throw ERichPaneError(errRPInvalidRPFFormat);
  // The announced length comes from the input: checked against what is left (and, with
  // a total size, against the block it gives) before anything is read for it.
  if (length > Remaining(stream) || stream.Position() + length > end) throw EReadError(SReadError);
  const int32_t known = length >= ExtendedLength ? ExtendedLength : BaseLength;
  stream.ReadBuffer(block + HeadBytes, known);
  LeftMargin = GetLE32(block, LeftMarginOffset);
  RightMargin = GetLE32(block, RightMarginOffset);
  TopMargin = GetLE32(block, TopMarginOffset);
  BottomMargin = GetLE32(block, BottomMarginOffset);
  MinTextWidth = GetLE32(block, MinTextWidthOffset);
  MaxTextWidth = GetLE32(block, MaxTextWidthOffset);
  const uint8_t biDi = block[BiDiModeOffset];
  BiDiMode = biDi <= rpbdRightToLeft ? static_cast<TRPBiDiMode>(biDi) : rpbdUnspecified;
  if (known == ExtendedLength) {
    FirstParaCut = GetLE32(block, FirstParaCutOffset) != 0;
    LastParaCut = GetLE32(block, LastParaCutOffset) != 0;
    FirstMarkerListNo = GetLE32(block, MarkerListNoOffset);
    FirstMarkerLevel = GetLE32(block, MarkerLevelOffset);
  }
  stream.Seek(withSize ? end : stream.Position() + (length - known), soBeginning);
  Loaded = true;
}

bool TRPLayoutInfo::LoadFromHexText(AnsiStringView hex) {
  TMemoryStream bytes;
  if (!RPFHexToStream(hex, bytes)) return false;
  LoadFromStream(bytes, false);
  return true;
}

void TRPLayoutInfo::LoadFromBinaryString(AnsiStringView bytes) {
  TStringStream stream{AnsiString(bytes)};
  LoadFromStream(stream, false);
}
