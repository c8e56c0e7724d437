// The 46 single-byte code pages. Each class is created through its class reference
// (CodecClassOf) or directly; names in messages are those of CodecName().
//
// Deliberate mapping choices, kept because stored documents rely on them:
// - The Windows pages decode the positions their reference tables leave undefined as
//   Windows itself does (C1 controls in 0x80-0x9F, a few private-use characters) and
//   encode those characters back.
// - ISO-8859-7 is the 1987 edition, ISO-8859-8 the 1988 edition, MacRoman and
//   MacCyrillic the editions before the euro; ISO-8859-10 has the em dash at 0xBD;
//   IBM424, IBM864 and IBM1026 differ from their published tables at a few positions.
// - Encoding ISO-8859-9 and ISO-8859-15 passes every unit up to U+00FF through; ISO-8859-7
//   encodes every unit U+0374-U+03CE as unit - 0x2D0.
// - An undefined byte decodes to U+FFFF without a failure, except in US-ASCII, whose
//   bytes from 0x80 up raise "$%x is not a valid US-ASCII code point".
#pragma once

#include "xml/codecs/CodePageTables.h"
#include "xml/codecs/ComputedCodePages.h"
#include "xml/codecs/SingleByteCodec.h"

class TISO8859_1Codec final : public TNonFailingSingleByteCodec<TISO8859_1Codec> {
public:
  const char* CodecName() const override { return "ISO-8859-1"; }
  WideChar DecodeByte(uint8_t byte) const override { return byte; }
  uint8_t EncodeChar(WideChar unit) const override;
};

class TISO8859_2Codec final : public TTableSingleByteCodec<TISO8859_2Codec, CodePageISO8859_2> {};
class TISO8859_3Codec final : public TTableSingleByteCodec<TISO8859_3Codec, CodePageISO8859_3> {};
class TISO8859_4Codec final : public TTableSingleByteCodec<TISO8859_4Codec, CodePageISO8859_4> {};
class TISO8859_5Codec final : public TTableSingleByteCodec<TISO8859_5Codec, CodePageISO8859_5> {};
class TISO8859_6Codec final : public TTableSingleByteCodec<TISO8859_6Codec, CodePageISO8859_6> {};

class TISO8859_7Codec final : public TTableSingleByteCodec<TISO8859_7Codec, CodePageISO8859_7> {
public:
  uint8_t EncodeChar(WideChar unit) const override;
};

class TISO8859_8Codec final : public TTableSingleByteCodec<TISO8859_8Codec, CodePageISO8859_8> {};

class TISO8859_9Codec final : public TTableSingleByteCodec<TISO8859_9Codec, CodePageISO8859_9> {
public:
  uint8_t EncodeChar(WideChar unit) const override;
};

class TISO8859_10Codec final : public TTableSingleByteCodec<TISO8859_10Codec, CodePageISO8859_10> {};
class TISO8859_13Codec final : public TTableSingleByteCodec<TISO8859_13Codec, CodePageISO8859_13> {};
class TISO8859_14Codec final : public TTableSingleByteCodec<TISO8859_14Codec, CodePageISO8859_14> {};

class TISO8859_15Codec final : public TTableSingleByteCodec<TISO8859_15Codec, CodePageISO8859_15> {
public:
  uint8_t EncodeChar(WideChar unit) const override;
};

class TWindows1250Codec final : public TTableSingleByteCodec<TWindows1250Codec, CodePageWindows1250> {};
class TWindows1251Codec final : public TTableSingleByteCodec<TWindows1251Codec, CodePageWindows1251> {};

// 0x80-0x9F by table, every other byte stands for itself.
class TWindows1252Codec final : public TNonFailingSingleByteCodec<TWindows1252Codec> {
public:
  const char* CodecName() const override { return CodePageWindows1252High.Name; }
  WideChar DecodeByte(uint8_t byte) const override {
    return (byte & 0xE0) == 0x80 ? WideChar(CodePageWindows1252High.Chars[byte - 0x80]) : WideChar(byte);
  }
  uint8_t EncodeChar(WideChar unit) const override;
};

class TWindows1253Codec final : public TTableSingleByteCodec<TWindows1253Codec, CodePageWindows1253> {};
class TWindows1254Codec final : public TTableSingleByteCodec<TWindows1254Codec, CodePageWindows1254> {};
class TWindows1255Codec final : public TTableSingleByteCodec<TWindows1255Codec, CodePageWindows1255> {};
class TWindows1256Codec final : public TTableSingleByteCodec<TWindows1256Codec, CodePageWindows1256> {};
class TWindows1257Codec final : public TTableSingleByteCodec<TWindows1257Codec, CodePageWindows1257> {};
class TWindows1258Codec final : public TTableSingleByteCodec<TWindows1258Codec, CodePageWindows1258> {};

class TIBM037Codec final : public TTableSingleByteCodec<TIBM037Codec, CodePageIBM037> {};
class TIBM424Codec final : public TTableSingleByteCodec<TIBM424Codec, CodePageIBM424> {};
class TIBM437Codec final : public TTableSingleByteCodec<TIBM437Codec, CodePageIBM437> {};
class TIBM500Codec final : public TTableSingleByteCodec<TIBM500Codec, CodePageIBM500> {};
class TIBM850Codec final : public TTableSingleByteCodec<TIBM850Codec, CodePageIBM850> {};
class TIBM852Codec final : public TTableSingleByteCodec<TIBM852Codec, CodePageIBM852> {};
class TIBM855Codec final : public TTableSingleByteCodec<TIBM855Codec, CodePageIBM855> {};
class TIBM857Codec final : public TTableSingleByteCodec<TIBM857Codec, CodePageIBM857> {};
class TIBM860Codec final : public TTableSingleByteCodec<TIBM860Codec, CodePageIBM860> {};
class TIBM861Codec final : public TTableSingleByteCodec<TIBM861Codec, CodePageIBM861> {};
class TIBM862Codec final : public TTableSingleByteCodec<TIBM862Codec, CodePageIBM862> {};
class TIBM863Codec final : public TTableSingleByteCodec<TIBM863Codec, CodePageIBM863> {};
class TIBM864Codec final : public TTableSingleByteCodec<TIBM864Codec, CodePageIBM864> {};
class TIBM865Codec final : public TTableSingleByteCodec<TIBM865Codec, CodePageIBM865> {};
class TIBM866Codec final : public TTableSingleByteCodec<TIBM866Codec, CodePageIBM866> {};
class TIBM869Codec final : public TTableSingleByteCodec<TIBM869Codec, CodePageIBM869> {};

// 0x9D and 0xBC decode to U+02DB and U+2014 whatever the table holds; those two
// characters encode to them before the table is searched.
class TIBM1026Codec final : public TTableSingleByteCodec<TIBM1026Codec, CodePageIBM1026> {
public:
  WideChar DecodeByte(uint8_t byte) const override;
  uint8_t EncodeChar(WideChar unit) const override;
};

class TMacLatin2Codec final : public TTableSingleByteCodec<TMacLatin2Codec, CodePageMacLatin2> {};
class TMacRomanCodec final : public TTableSingleByteCodec<TMacRomanCodec, CodePageMacRoman> {};
class TMacCyrillicCodec final : public TTableSingleByteCodec<TMacCyrillicCodec, CodePageMacCyrillic> {};

// 0x00-0x7F; a byte from 0x80 up raises EConvertError (so the failure mode applies).
class TUSASCIICodec final : public TCodecClassImpl<TUSASCIICodec, TCustomSingleByteCodec> {
public:
  const char* CodecName() const override { return "US-ASCII"; }
  WideChar DecodeByte(uint8_t byte) const override;
  uint8_t EncodeChar(WideChar unit) const override;
};

class TEBCDIC_USCodec final : public TTableSingleByteCodec<TEBCDIC_USCodec, CodePageEBCDIC_US> {};
class TKOI8_RCodec final : public TTableSingleByteCodec<TKOI8_RCodec, CodePageKOI8_R> {};
class TJIS_X0201Codec final : public TTableSingleByteCodec<TJIS_X0201Codec, CodePageJIS_X0201> {};
