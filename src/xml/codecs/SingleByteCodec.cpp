#include "xml/codecs/SingleByteCodec.h"

#include "platform/base/Format.h"
#include "xml/codecs/CodecMessages.h"

uint8_t TCustomSingleByteCodec::EncodeUCS4Char(UCS4Char ch) const {
  if (ch >= 0x10000) throw EConvertError(Format(SCodecInvalidCodePoint, {uint32_t(ch), ""}));
  return EncodeChar(static_cast<WideChar>(ch));
}

void TCustomSingleByteCodec::ReadChar(UCS4Char& ch, int32_t& byteCount) {
  uint8_t byte = 0;
  if (!ReadBytes(&byte, 1)) {
    ch = UCS4EndOfInput;
    byteCount = 0;
    return;
  }
  ch = DecodeByte(byte);
  byteCount = 1;
}

void TCustomSingleByteCodec::WriteChar(UCS4Char ch, int32_t& byteCount) {
  const uint8_t byte = EncodeUCS4Char(ch);
  WriteBytes(&byte, 1);
  byteCount = 1;
}

void TCustomSingleByteCodec::DecodeUnits(const uint8_t* bytes, int32_t byteCount, int32_t& unitsProduced,
                                         int32_t& bytesConsumed, int32_t capacityUnits, WideChar* output, bool) {
  int32_t produced = 0;
  int32_t consumed = 0;
  while (consumed < byteCount && produced < capacityUnits) {
    const uint8_t byte = bytes[consumed];
    try {
      output[produced] = DecodeByte(byte);
      ++produced;
    } catch (const Exception& e) {
      const WideChar raw = byte;
      if (!ResolveDecodeFailure([&e] { return e.Message(); }, consumed, &raw, 1, output, produced, capacityUnits))
        break;
    }
    ++consumed;
  }
  unitsProduced = produced;
  bytesConsumed = consumed;
}

void TCustomSingleByteCodec::EncodeUnits(const WideChar* units, int32_t unitCount, AnsiString& result,
                                         int32_t& unitsConsumed) {
  result.reserve(static_cast<size_t>(unitCount));
  for (int32_t i = 0; i < unitCount; ++i) {
    try {
      result.push_back(static_cast<char>(EncodeChar(units[i])));
    } catch (const Exception& e) {
      const auto raw = static_cast<uint8_t>(units[i] & 0xFF);
      const auto append = [&result](uint8_t byte) { result.push_back(static_cast<char>(byte)); };
      if (!ResolveEncodeFailure([&e] { return e.Message(); }, i, raw, FEncodeSubstitute, append)) {
        unitsConsumed = i;
        return;
      }
    }
  }
  unitsConsumed = unitCount;
}

void TCustomSingleByteCodec::RaiseNoEquivalent(WideChar unit) const {
  throw EConvertError(Format(SCodecNoEquivalent, {uint32_t(unit), CodecName()}));
}

uint8_t TCustomSingleByteCodec::EncodeByTable(const TCodePageTable& table, WideChar unit) const {
  if (unit != TCodePageTable::Undefined) {
    const int count = table.LastByte - table.FirstByte + 1;
    for (int i = 0; i < count; ++i)
      if (table.Chars[i] == unit) return static_cast<uint8_t>(table.FirstByte + i);
  }
  RaiseNoEquivalent(unit);
}
