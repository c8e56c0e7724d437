#include "xml/codecs/SingleByteCodecs.h"

#include "platform/base/Format.h"
#include "xml/codecs/CodecMessages.h"

uint8_t TISO8859_1Codec::EncodeChar(WideChar unit) const {
  if (unit > 0xFF) RaiseNoEquivalent(unit);
  return static_cast<uint8_t>(unit);
}

uint8_t TISO8859_7Codec::EncodeChar(WideChar unit) const {
  switch (unit) {
    case 0x2018:
      return 0xA1;
    case 0x2019:
      return 0xA2;
    case 0x2015:
      return 0xAF;
    default:
      break;
  }
  // The whole Greek stretch maps arithmetically, also units whose byte decodes otherwise.
  if (unit >= 0x0374 && unit <= 0x03CE) return static_cast<uint8_t>(unit - 0x2D0);
  if (unit <= 0xFF && DecodeByte(static_cast<uint8_t>(unit)) == unit) return static_cast<uint8_t>(unit);
  RaiseNoEquivalent(unit);
}

uint8_t TISO8859_9Codec::EncodeChar(WideChar unit) const {
  if (unit <= 0xFF) return static_cast<uint8_t>(unit);
  return EncodeByTable(CodePageISO8859_9, unit);
}

uint8_t TISO8859_15Codec::EncodeChar(WideChar unit) const {
  if (unit <= 0xFF) return static_cast<uint8_t>(unit);
  return EncodeByTable(CodePageISO8859_15, unit);
}

uint8_t TWindows1252Codec::EncodeChar(WideChar unit) const {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<uint8_t>(unit);
  return EncodeByTable(CodePageWindows1252High, unit);
}

WideChar TIBM1026Codec::DecodeByte(uint8_t byte) const {
  if (byte == 0x9D) return 0x02DB;
  if (byte == 0xBC) return 0x2014;
  return TTableSingleByteCodec::DecodeByte(byte);
}

uint8_t TIBM1026Codec::EncodeChar(WideChar unit) const {
  if (unit == 0x02DB) return 0x9D;
  if (unit == 0x2014) return 0xBC;
  return TTableSingleByteCodec::EncodeChar(unit);
}

WideChar TUSASCIICodec::DecodeByte(uint8_t byte) const {
  if (byte >= 0x80) throw EConvertError(Format(SCodecInvalidCodePoint, {uint32_t(byte), CodecName()}));
  return byte;
}

uint8_t TUSASCIICodec::EncodeChar(WideChar unit) const {
  if (unit >= 0x80) RaiseNoEquivalent(unit);
  return static_cast<uint8_t>(unit);
}
