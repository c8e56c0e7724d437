// UCS-4 in its four byte orders. For a value whose bytes from most to least
// significant are B1 B2 B3 B4: 1234 sends B1 B2 B3 B4, 4321 B4 B3 B2 B1, 2143
// B2 B1 B4 B3, 3412 B3 B4 B1 B2.
#pragma once

#include "xml/codecs/UnicodeCodec.h"

enum TUCS4ByteOrder { uo1234, uo4321, uo2143, uo3412 };

// ReadChar refuses surrogates ("Surrogate value $%x found in <name>. ...") and values
// above U+10FFFF ("$%x is not a valid <name> code point"); input ending inside a unit
// is "Invalid <name> encoding". DecodeBuffer gives such values, and a cut-off final
// unit, to the failure mode. EncodeBuffer joins surrogate pairs and raises
// EConvertError for a lone surrogate whatever the failure mode.
template <class TDerived, TUCS4ByteOrder Order>
class TCustomUCS4Codec : public TCodecClassImpl<TDerived, TCustomUnicodeCodec> {
public:
  void ReadChar(UCS4Char& ch, int32_t& byteCount) override;
  // Refuses surrogates and values above U+10FFFF as ReadChar does.
  void WriteChar(UCS4Char ch, int32_t& byteCount) override;

protected:
  void DecodeUnits(const uint8_t* bytes, int32_t byteCount, int32_t& unitsProduced, int32_t& bytesConsumed,
                   int32_t capacityUnits, WideChar* output, bool inputEnds) override;
  void EncodeUnits(const WideChar* units, int32_t unitCount, AnsiString& result, int32_t& unitsConsumed) override;

private:
  void CheckChar(UCS4Char ch) const;
};

class TUCS4BECodec final : public TCustomUCS4Codec<TUCS4BECodec, uo1234> {
public:
  const char* CodecName() const override { return "UCS-4BE"; }
};

class TUCS4LECodec final : public TCustomUCS4Codec<TUCS4LECodec, uo4321> {
public:
  const char* CodecName() const override { return "UCS-4LE"; }
};

class TUCS4_2143Codec final : public TCustomUCS4Codec<TUCS4_2143Codec, uo2143> {
public:
  const char* CodecName() const override { return "UCS-4"; }
};

class TUCS4_3412Codec final : public TCustomUCS4Codec<TUCS4_3412Codec, uo3412> {
public:
  const char* CodecName() const override { return "UCS-4"; }
};
