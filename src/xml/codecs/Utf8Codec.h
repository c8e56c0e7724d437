// UTF-8 as the Unicode standard defines it: one to four bytes per character, U+0000
// to U+10FFFF. Overlong forms, encoded surrogates, values above U+10FFFF and the old
// five- and six-byte forms are malformed: ReadChar raises "Invalid UTF-8 encoding" for
// them, the buffer operations hand each maximal malformed stretch to the failure mode
// (pass-through writes each of its bytes as U+0080-U+00FF).
#pragma once

#include "xml/codecs/UnicodeCodec.h"

class TUTF8Codec final : public TCodecClassImpl<TUTF8Codec, TCustomUnicodeCodec> {
public:
  const char* CodecName() const override { return "UTF-8"; }
  void ReadChar(UCS4Char& ch, int32_t& byteCount) override;
  // Raises EConvertError "$%x is not a valid Unicode code point" for a surrogate or a
  // value above U+10FFFF.
  void WriteChar(UCS4Char ch, int32_t& byteCount) override;

protected:
  void DecodeUnits(const uint8_t* bytes, int32_t byteCount, int32_t& unitsProduced, int32_t& bytesConsumed,
                   int32_t capacityUnits, WideChar* output, bool inputEnds) override;
  // A surrogate pair becomes one four-byte sequence; a lone surrogate is unencodable
  // ("Low surrogate not found" / "High surrogate not found"): pass-through writes its
  // three-byte form, cfReplace the encoded DecodeSubstitute.
  void EncodeUnits(const WideChar* units, int32_t unitCount, AnsiString& result, int32_t& unitsConsumed) override;
};
