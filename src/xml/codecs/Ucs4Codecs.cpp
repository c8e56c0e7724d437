#include "xml/codecs/Ucs4Codecs.h"

#include "platform/base/Format.h"
#include "platform/base/Surrogates.h"
#include "xml/codecs/CodecMessages.h"

namespace {

// Shift of the value's bits carried by each byte on the wire, per order.
constexpr int WireShift[4][4] = {
    {24, 16, 8, 0},  // 1234
    {0, 8, 16, 24},  // 4321
    {16, 24, 0, 8},  // 2143
    {8, 0, 24, 16},  // 3412
};

template <TUCS4ByteOrder Order>
UCS4Char ValueAt(const uint8_t* p) {
  UCS4Char value = 0;
  for (int i = 0; i < 4; ++i) value |= UCS4Char(p[i]) << WireShift[Order][i];
  return value;
}

template <TUCS4ByteOrder Order>
void PutValue(uint8_t* p, UCS4Char value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> WireShift[Order][i]);
}

}  // namespace

template <class TDerived, TUCS4ByteOrder Order>
void TCustomUCS4Codec<TDerived, Order>::CheckChar(UCS4Char ch) const {
  if (IsSurrogate(ch)) throw EConvertError(Format(SCodecSurrogateValue, {uint32_t(ch), this->CodecName()}));
  if (ch > UCS4MaxChar) throw EConvertError(Format(SCodecInvalidCodePoint, {uint32_t(ch), this->CodecName()}));
}

template <class TDerived, TUCS4ByteOrder Order>
void TCustomUCS4Codec<TDerived, Order>::ReadChar(UCS4Char& ch, int32_t& byteCount) {
  uint8_t bytes[4];
  if (!this->ReadBytes(bytes, 4)) {
    ch = UCS4EndOfInput;
    byteCount = 0;
    return;
  }
  const UCS4Char value = ValueAt<Order>(bytes);
  CheckChar(value);
  ch = value;
  byteCount = 4;
}

template <class TDerived, TUCS4ByteOrder Order>
void TCustomUCS4Codec<TDerived, Order>::WriteChar(UCS4Char ch, int32_t& byteCount) {
  CheckChar(ch);
  uint8_t bytes[4];
  PutValue<Order>(bytes, ch);
  byteCount = 4;
  this->WriteBytes(bytes, 4);
}

template <class TDerived, TUCS4ByteOrder Order>
void TCustomUCS4Codec<TDerived, Order>::DecodeUnits(const uint8_t* bytes, int32_t byteCount, int32_t& unitsProduced,
                                                    int32_t& bytesConsumed, int32_t capacityUnits, WideChar* output,
                                                    bool inputEnds) {
  int32_t produced = 0;
  int32_t consumed = 0;
  while (byteCount - consumed >= 4) {
    const uint8_t* p = bytes + consumed;
    const UCS4Char value = ValueAt<Order>(p);
    if (value < 0x10000 && !IsSurrogate(value)) {
      if (produced >= capacityUnits) break;
      output[produced++] = static_cast<WideChar>(value);
    } else if (value >= 0x10000 && value <= UCS4MaxChar) {
      if (capacityUnits - produced < 2) break;
      output[produced++] = HighSurrogateOf(value);
      output[produced++] = LowSurrogateOf(value);
    } else {
      // Pass-through keeps each 2-byte half of the input as one unit, in input order.
      const WideChar halves[2] = {static_cast<WideChar>(value >> (WireShift[Order][1] & 16)),
                                  static_cast<WideChar>(value >> (WireShift[Order][3] & 16))};
      const auto message = [value] {
        return IsSurrogate(value) ? Format(SCodecSurrogateValue, {uint32_t(value), "UCS-4"})
                                  : Format(SCodecCannotConvert, {uint32_t(value), "UTF-16"});
      };
      if (!this->ResolveDecodeFailure(message, consumed, halves, 2, output, produced, capacityUnits)) break;
    }
    consumed += 4;
  }
  const int32_t tail = byteCount - consumed;
  if (inputEnds && tail > 0 && tail < 4 &&
      this->ResolveMalformedBytes(bytes + consumed, tail, consumed, output, produced, capacityUnits))
    consumed += tail;
  unitsProduced = produced;
  bytesConsumed = consumed;
}

template <class TDerived, TUCS4ByteOrder Order>
void TCustomUCS4Codec<TDerived, Order>::EncodeUnits(const WideChar* units, int32_t unitCount, AnsiString& result,
                                                    int32_t& unitsConsumed) {
  result.resize(static_cast<size_t>(unitCount) * 4);
  auto* out = reinterpret_cast<uint8_t*>(result.data());
  int32_t written = 0;
  for (int32_t i = 0; i < unitCount; ++i) {
    UCS4Char value = units[i];
    if (IsHighSurrogate(value)) {
      if (i + 1 >= unitCount || !IsLowSurrogate(units[i + 1])) throw EConvertError(SCodecLowSurrogateNotFound);
      value = SurrogatePairToUCS4(units[i], units[i + 1]);
      ++i;
    } else if (IsLowSurrogate(value)) {
      throw EConvertError(SCodecHighSurrogateNotFound);
    }
    PutValue<Order>(out + 4 * written, value);
    ++written;
  }
  result.resize(static_cast<size_t>(written) * 4);
  unitsConsumed = unitCount;
}

template class TCustomUCS4Codec<TUCS4BECodec, uo1234>;
template class TCustomUCS4Codec<TUCS4LECodec, uo4321>;
template class TCustomUCS4Codec<TUCS4_2143Codec, uo2143>;
template class TCustomUCS4Codec<TUCS4_3412Codec, uo3412>;
