#include "xml/codecs/Utf16Codecs.h"

#include "platform/base/Format.h"
#include "platform/base/Surrogates.h"
#include "xml/codecs/CodecMessages.h"

namespace {

template <TUTF16ByteOrder Order>
WideChar UnitAt(const uint8_t* p) {
  return Order == boBigEndian ? WideChar(p[0] << 8 | p[1]) : WideChar(p[1] << 8 | p[0]);
}

template <TUTF16ByteOrder Order>
void PutUnit(uint8_t* p, WideChar unit) {
  const auto high = static_cast<uint8_t>(unit >> 8);
  const auto low = static_cast<uint8_t>(unit & 0xFF);
  p[0] = Order == boBigEndian ? high : low;
  p[1] = Order == boBigEndian ? low : high;
}

AnsiString SurrogateMessage(unsigned unit, const char* name) { return Format(SCodecSurrogateValue, {unit, name}); }

}  // namespace

template <class TDerived, TUTF16ByteOrder Order>
void TCustomUTF16Codec<TDerived, Order>::ReadChar(UCS4Char& ch, int32_t& byteCount) {
  uint8_t bytes[2];
  if (!this->ReadBytes(bytes, 2)) {
    ch = UCS4EndOfInput;
    byteCount = 0;
    return;
  }
  const WideChar unit = UnitAt<Order>(bytes);
  if (IsHighSurrogate(unit)) {
    if (!this->ReadBytes(bytes, 2)) throw EConvertError(this->InvalidEncodingMessage());
    const WideChar low = UnitAt<Order>(bytes);
    if (!IsLowSurrogate(low)) throw EConvertError(this->InvalidEncodingMessage());
    ch = SurrogatePairToUCS4(unit, low);
    byteCount = 4;
    return;
  }
  if (IsLowSurrogate(unit)) throw EConvertError(this->InvalidEncodingMessage());
  ch = unit;
  byteCount = 2;
}

template <class TDerived, TUTF16ByteOrder Order>
void TCustomUTF16Codec<TDerived, Order>::WriteChar(UCS4Char ch, int32_t& byteCount) {
  if (IsSurrogate(ch)) throw EConvertError(Format(SCodecInvalidCodePoint, {uint32_t(ch), "UCS-4"}));
  if (ch > UCS4MaxChar) throw EConvertError(Format(SCodecCannotConvert, {uint32_t(ch), this->CodecName()}));
  uint8_t bytes[4];
  if (ch >= 0x10000) {
    PutUnit<Order>(bytes, HighSurrogateOf(ch));
    PutUnit<Order>(bytes + 2, LowSurrogateOf(ch));
    byteCount = 4;
  } else {
    PutUnit<Order>(bytes, static_cast<WideChar>(ch));
    byteCount = 2;
  }
  this->WriteBytes(bytes, byteCount);
}

template <class TDerived, TUTF16ByteOrder Order>
void TCustomUTF16Codec<TDerived, Order>::DecodeUnits(const uint8_t* bytes, int32_t byteCount, int32_t& unitsProduced,
                                                     int32_t& bytesConsumed, int32_t capacityUnits, WideChar* output,
                                                     bool inputEnds) {
  int32_t produced = 0;
  int32_t consumed = 0;
  const auto invalid = [this] { return this->InvalidEncodingMessage(); };
  while (byteCount - consumed >= 2) {
    const WideChar unit = UnitAt<Order>(bytes + consumed);
    if (!IsSurrogate(unit)) {
      if (produced >= capacityUnits) break;
      output[produced++] = unit;
      consumed += 2;
      continue;
    }
    if (IsHighSurrogate(unit)) {
      if (byteCount - consumed < 4 && !inputEnds) break;  // its partner may come with the next call
      if (byteCount - consumed >= 4 && IsLowSurrogate(UnitAt<Order>(bytes + consumed + 2))) {
        if (capacityUnits - produced < 2) break;
        output[produced++] = unit;
        output[produced++] = UnitAt<Order>(bytes + consumed + 2);
        consumed += 4;
        continue;
      }
    }
    if (!this->ResolveDecodeFailure(invalid, consumed, &unit, 1, output, produced, capacityUnits)) break;
    consumed += 2;
  }
  if (inputEnds && byteCount - consumed == 1 &&
      this->ResolveMalformedBytes(bytes + consumed, 1, consumed, output, produced, capacityUnits))
    ++consumed;
  unitsProduced = produced;
  bytesConsumed = consumed;
}

template <class TDerived, TUTF16ByteOrder Order>
void TCustomUTF16Codec<TDerived, Order>::EncodeUnits(const WideChar* units, int32_t unitCount, AnsiString& result,
                                                     int32_t& unitsConsumed) {
  result.resize(static_cast<size_t>(unitCount) * 2);
  auto* out = reinterpret_cast<uint8_t*>(result.data());
  for (int32_t i = 0; i < unitCount; ++i) PutUnit<Order>(out + 2 * i, units[i]);
  unitsConsumed = unitCount;
}

template class TCustomUTF16Codec<TUTF16BECodec, boBigEndian>;
template class TCustomUTF16Codec<TUTF16LECodec, boLittleEndian>;

void TUCS2Codec::ReadChar(UCS4Char& ch, int32_t& byteCount) {
  uint8_t bytes[2];
  if (!ReadBytes(bytes, 2)) {
    ch = UCS4EndOfInput;
    byteCount = 0;
    return;
  }
  const WideChar unit = UnitAt<boBigEndian>(bytes);
  if (IsSurrogate(unit)) throw EConvertError(SurrogateMessage(unit, CodecName()));
  ch = unit;
  byteCount = 2;
}

void TUCS2Codec::WriteChar(UCS4Char ch, int32_t& byteCount) {
  if (ch > 0xFFFF) throw EConvertError(Format(SCodecOutOfRange, {CodecName()}));
  uint8_t bytes[2];
  PutUnit<boBigEndian>(bytes, static_cast<WideChar>(ch));
  byteCount = 2;
  WriteBytes(bytes, byteCount);
}

void TUCS2Codec::DecodeUnits(const uint8_t* bytes, int32_t byteCount, int32_t& unitsProduced, int32_t& bytesConsumed,
                             int32_t capacityUnits, WideChar* output, bool inputEnds) {
  int32_t produced = 0;
  int32_t consumed = 0;
  while (byteCount - consumed >= 2) {
    const WideChar unit = UnitAt<boBigEndian>(bytes + consumed);
    if (!IsSurrogate(unit)) {
      if (produced >= capacityUnits) break;
      output[produced++] = unit;
    } else if (!ResolveDecodeFailure([&] { return SurrogateMessage(unit, CodecName()); }, consumed, &unit, 1, output,
                                     produced, capacityUnits)) {
      break;
    }
    consumed += 2;
  }
  if (inputEnds && byteCount - consumed == 1 &&
      ResolveMalformedBytes(bytes + consumed, 1, consumed, output, produced, capacityUnits))
    ++consumed;
  unitsProduced = produced;
  bytesConsumed = consumed;
}

void TUCS2Codec::EncodeUnits(const WideChar* units, int32_t unitCount, AnsiString& result, int32_t& unitsConsumed) {
  result.reserve(static_cast<size_t>(unitCount) * 2);
  const auto append = [&result](WideChar unit) {
    result.push_back(static_cast<char>(unit >> 8));
    result.push_back(static_cast<char>(unit & 0xFF));
  };
  for (int32_t i = 0; i < unitCount; ++i) {
    const WideChar unit = units[i];
    if (!IsSurrogate(unit)) {
      append(unit);
      continue;
    }
    if (!ResolveEncodeFailure([&] { return SurrogateMessage(unit, CodecName()); }, i, unit, DecodeSubstitute(),
                              append)) {
      unitsConsumed = i;
      return;
    }
  }
  unitsConsumed = unitCount;
}
