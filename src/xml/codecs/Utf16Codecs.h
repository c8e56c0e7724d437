// UTF-16 in either byte order, and UCS-2 (big-endian UTF-16 without surrogates).
#pragma once

#include "xml/codecs/UnicodeCodec.h"

enum TUTF16ByteOrder { boBigEndian, boLittleEndian };

// ReadChar joins a surrogate pair into one character; a lone surrogate, or input that
// ends inside a unit, is "Invalid <name> encoding". DecodeBuffer hands lone
// surrogates and a cut-off final unit to the failure mode (pass-through copies the
// unit, or the odd byte as a unit). EncodeBuffer writes every unit as it is.
template <class TDerived, TUTF16ByteOrder Order>
class TCustomUTF16Codec : public TCodecClassImpl<TDerived, TCustomUnicodeCodec> {
public:
  void ReadChar(UCS4Char& ch, int32_t& byteCount) override;
  // Raises EConvertError for a surrogate ("$%x is not a valid UCS-4 code point") and
  // for a value above U+10FFFF ("Cannot convert $%8.8X to <name>").
  void WriteChar(UCS4Char ch, int32_t& byteCount) override;

protected:
  void DecodeUnits(const uint8_t* bytes, int32_t byteCount, int32_t& unitsProduced, int32_t& bytesConsumed,
                   int32_t capacityUnits, WideChar* output, bool inputEnds) override;
  void EncodeUnits(const WideChar* units, int32_t unitCount, AnsiString& result, int32_t& unitsConsumed) override;
};

class TUTF16BECodec final : public TCustomUTF16Codec<TUTF16BECodec, boBigEndian> {
public:
  const char* CodecName() const override { return "UTF-16BE"; }
};

class TUTF16LECodec final : public TCustomUTF16Codec<TUTF16LECodec, boLittleEndian> {
public:
  const char* CodecName() const override { return "UTF-16LE"; }
};

// Big-endian; surrogate units are refused ("Surrogate value $%x found in UCS-2. ...").
class TUCS2Codec final : public TCodecClassImpl<TUCS2Codec, TCustomUnicodeCodec> {
public:
  const char* CodecName() const override { return "UCS-2"; }
  void ReadChar(UCS4Char& ch, int32_t& byteCount) override;
  // Values above U+FFFF raise "UCS-2 encoding out of range".
  void WriteChar(UCS4Char ch, int32_t& byteCount) override;

protected:
  // Surrogate units, and an odd final byte, go through the failure mode; the
  // exception's position is a byte offset.
  void DecodeUnits(const uint8_t* bytes, int32_t byteCount, int32_t& unitsProduced, int32_t& bytesConsumed,
                   int32_t capacityUnits, WideChar* output, bool inputEnds) override;
  // Surrogate units go through the failure mode (cfReplace writes DecodeSubstitute);
  // the exception's position counts units.
  void EncodeUnits(const WideChar* units, int32_t unitCount, AnsiString& result, int32_t& unitsConsumed) override;
};
