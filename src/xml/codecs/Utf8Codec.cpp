#include "xml/codecs/Utf8Codec.h"

#include "platform/base/Format.h"
#include "platform/base/Surrogates.h"
#include "platform/base/Utf8.h"
#include "xml/codecs/CodecMessages.h"

namespace {

// What a lead byte allows: the sequence length (0: not a lead byte) and the range of
// the second byte, which rules out overlong forms, surrogates and values above U+10FFFF
// (the well-formed byte sequences of the Unicode standard, table 3-7).
struct TUtf8Lead {
  int32_t Length;
  uint8_t SecondMin;
  uint8_t SecondMax;
};

constexpr TUtf8Lead Utf8LeadOf(uint8_t lead) {
  if (lead < 0x80) return {1, 0, 0};
  if (lead < 0xC2) return {0, 0, 0};
  if (lead < 0xE0) return {2, 0x80, 0xBF};
  if (lead == 0xE0) return {3, 0xA0, 0xBF};
  if (lead == 0xED) return {3, 0x80, 0x9F};
  if (lead < 0xF0) return {3, 0x80, 0xBF};
  if (lead == 0xF0) return {4, 0x90, 0xBF};
  if (lead < 0xF4) return {4, 0x80, 0xBF};
  if (lead == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

constexpr uint8_t LeadValueMask[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};

bool IsFollowByte(const TUtf8Lead& lead, int32_t index, uint8_t byte) {
  if (index == 1) return byte >= lead.SecondMin && byte <= lead.SecondMax;
  return (byte & 0xC0) == 0x80;
}

}  // namespace

void TUTF8Codec::ReadChar(UCS4Char& ch, int32_t& byteCount) {
  uint8_t byte = 0;
  if (!ReadBytes(&byte, 1)) {
    ch = UCS4EndOfInput;
    byteCount = 0;
    return;
  }
  const TUtf8Lead lead = Utf8LeadOf(byte);
  if (lead.Length == 0) throw EConvertError(InvalidEncodingMessage());
  UCS4Char value = byte & LeadValueMask[lead.Length];
  for (int32_t i = 1; i < lead.Length; ++i) {
    if (!ReadBytes(&byte, 1) || !IsFollowByte(lead, i, byte)) throw EConvertError(InvalidEncodingMessage());
    value = (value << 6) | (byte & 0x3Fu);
  }
  ch = value;
  byteCount = lead.Length;
}

void TUTF8Codec::WriteChar(UCS4Char ch, int32_t& byteCount) {
  if (ch > UCS4MaxChar || IsSurrogate(ch))
    throw EConvertError(Format(SCodecInvalidCodePoint, {uint32_t(ch), "Unicode"}));
  AnsiString bytes;
  AppendUtf8(bytes, ch);
  byteCount = static_cast<int32_t>(bytes.size());
  WriteBytes(reinterpret_cast<const uint8_t*>(bytes.data()), byteCount);
}

void TUTF8Codec::DecodeUnits(const uint8_t* bytes, int32_t byteCount, int32_t& unitsProduced, int32_t& bytesConsumed,
                             int32_t capacityUnits, WideChar* output, bool inputEnds) {
  int32_t produced = 0;
  int32_t consumed = 0;
  while (consumed < byteCount) {
    const uint8_t first = bytes[consumed];
    if (first < 0x80) {  // the common case first
      if (produced >= capacityUnits) break;
      output[produced++] = first;
      ++consumed;
      continue;
    }
    const TUtf8Lead lead = Utf8LeadOf(first);
    // Length of the well-formed prefix; a shorter one than the lead asks for is malformed.
    int32_t wellFormed = 1;
    bool cutOff = false;
    if (lead.Length != 0) {
      while (wellFormed < lead.Length) {
        if (consumed + wellFormed >= byteCount) {
          cutOff = true;
          break;
        }
        if (!IsFollowByte(lead, wellFormed, bytes[consumed + wellFormed])) break;
        ++wellFormed;
      }
    }
    if (cutOff && !inputEnds) break;  // more bytes may come with the next call
    if (lead.Length != 0 && wellFormed == lead.Length) {
      UCS4Char value = first & LeadValueMask[lead.Length];
      for (int32_t i = 1; i < lead.Length; ++i) value = (value << 6) | (bytes[consumed + i] & 0x3Fu);
      if (value < 0x10000) {
        if (produced >= capacityUnits) break;
        output[produced++] = static_cast<WideChar>(value);
      } else {
        if (capacityUnits - produced < 2) break;
        output[produced++] = HighSurrogateOf(value);
        output[produced++] = LowSurrogateOf(value);
      }
      consumed += lead.Length;
      continue;
    }
    if (!ResolveMalformedBytes(bytes + consumed, wellFormed, consumed, output, produced, capacityUnits)) break;
    consumed += wellFormed;
  }
  unitsProduced = produced;
  bytesConsumed = consumed;
}

void TUTF8Codec::EncodeUnits(const WideChar* units, int32_t unitCount, AnsiString& result, int32_t& unitsConsumed) {
  result.reserve(static_cast<size_t>(unitCount) * 3);
  for (int32_t i = 0; i < unitCount; ++i) {
    const WideChar unit = units[i];
    if (!IsSurrogate(unit)) {
      AppendUtf8(result, unit);
      continue;
    }
    if (IsHighSurrogate(unit) && i + 1 < unitCount && IsLowSurrogate(units[i + 1])) {
      AppendUtf8(result, SurrogatePairToUCS4(unit, units[i + 1]));
      ++i;
      continue;
    }
    const auto message = [unit] {
      return AnsiString(IsHighSurrogate(unit) ? SCodecLowSurrogateNotFound : SCodecHighSurrogateNotFound);
    };
    if (!ResolveEncodeFailure(message, i, unit, DecodeSubstitute(), [&result](WideChar u) { AppendUtf8(result, u); })) {
      unitsConsumed = i;
      return;
    }
  }
  unitsConsumed = unitCount;
}
