#include "xml/codecs/UnicodeCodec.h"

#include "platform/base/Format.h"
#include "xml/codecs/CodecMessages.h"

namespace {
constexpr UCS4Char CharLF = 10;
constexpr UCS4Char CharCR = 13;
}  // namespace

void TCustomUnicodeCodec::WriteCharWithLineBreaks(UCS4Char ch, int32_t& byteCount) {
  byteCount = 0;
  if (ch != CharLF) {
    WriteChar(ch, byteCount);
    return;
  }
  int32_t count = 0;
  switch (FWriteLineBreaks) {
    case wlAsLF:
      WriteChar(CharLF, byteCount);
      break;
    case wlAsCR:
      WriteChar(CharCR, byteCount);
      break;
    case wlAsCRLF:
      WriteChar(CharCR, count);
      byteCount = count;
      WriteChar(CharLF, count);
      byteCount += count;
      break;
  }
}

void TCustomUnicodeCodec::DecodeBuffer(const uint8_t* bytes, int32_t byteCount, int32_t& unitsProduced,
                                       int32_t& bytesConsumed, int32_t outputCapacityBytes, WideChar* output) {
  unitsProduced = 0;
  bytesConsumed = 0;
  const int32_t capacityUnits = outputCapacityBytes / 2;
  if (bytes == nullptr || output == nullptr || byteCount <= 0 || capacityUnits <= 0) return;
  DecodeUnits(bytes, byteCount, unitsProduced, bytesConsumed, capacityUnits, output, false);
}

void TCustomUnicodeCodec::EncodeBuffer(const WideChar* units, int32_t unitCount, AnsiString& result,
                                       int32_t& unitsConsumed) {
  result.clear();
  unitsConsumed = 0;
  if (units == nullptr || unitCount <= 0) return;
  EncodeUnits(units, unitCount, result, unitsConsumed);
}

WideString TCustomUnicodeCodec::DecodeToWideString(const uint8_t* bytes, int32_t byteCount) {
  WideString result;
  if (bytes == nullptr || byteCount <= 0) return result;
  // Sized once for one unit per byte; a pass that fills it gets room for as many more.
  int32_t produced = 0;
  int32_t remaining = byteCount;
  const uint8_t* p = bytes;
  for (;;) {
    result.resize(static_cast<size_t>(produced) + static_cast<size_t>(byteCount));
    int32_t units = 0;
    int32_t used = 0;
    DecodeUnits(p, remaining, units, used, byteCount, result.data() + produced, true);
    p += used;
    remaining -= used;
    produced += units;
    if (remaining <= 0 || used == 0) break;
  }
  result.resize(static_cast<size_t>(produced));
  return result;
}

AnsiString TCustomUnicodeCodec::EncodeFromWideString(WideStringView text) {
  AnsiString result;
  int32_t consumed = 0;
  EncodeBuffer(text.data(), static_cast<int32_t>(text.size()), result, consumed);
  return result;
}

void TCustomUnicodeCodec::ReadCharNormalised(UCS4Char& ch, int32_t& byteCount) {
  if (FHasHeldChar) {
    ch = FHeldChar;
    byteCount = FHeldByteCount;
    FHasHeldChar = false;
  } else {
    ReadChar(ch, byteCount);
  }
  if (ch != CharCR || FReadLineBreaks != rlToLF) return;
  ReadChar(FHeldChar, FHeldByteCount);
  if (FHeldChar == CharLF)
    byteCount += FHeldByteCount;
  else
    FHasHeldChar = true;
  ch = CharLF;
}

void TCustomUnicodeCodec::SetByteSource(ICodecByteSource* source) {
  if (source == FByteSource) return;
  DropHeldChar();
  FByteSource = source;
}

bool TCustomUnicodeCodec::ReadBytes(uint8_t* buffer, int32_t count) {
  return FByteSource != nullptr && FByteSource->ReadCodecBytes(*this, buffer, count);
}

void TCustomUnicodeCodec::WriteBytes(const uint8_t* buffer, int32_t count) {
  if (FByteSink != nullptr) FByteSink->WriteCodecBytes(*this, buffer, count);
}

AnsiString TCustomUnicodeCodec::InvalidEncodingMessage() const { return Format(SCodecInvalidEncoding, {CodecName()}); }

bool TCustomUnicodeCodec::ResolveMalformedBytes(const uint8_t* malformed, int32_t count, int32_t position,
                                                WideChar* output, int32_t& produced, int32_t capacityUnits) const {
  WideChar raw[4];
  for (int32_t i = 0; i < count; ++i) raw[i] = malformed[i];
  return ResolveDecodeFailure([this] { return InvalidEncodingMessage(); }, position, raw, count, output, produced,
                              capacityUnits);
}

void TCustomUnicodeCodec::RaiseCodecFailure(const AnsiString& message, int32_t position) {
  throw EUnicodeCodecException(message, position);
}
