#include "xml/codecs/CodecAliases.h"

#include <initializer_list>
#include <iterator>

#include "platform/base/CodePages.h"
#include "platform/base/CompareString.h"
#include "xml/codecs/CharsetRegistry.h"
#include "xml/codecs/SingleByteCodecs.h"
#include "xml/codecs/Ucs4Codecs.h"
#include "xml/codecs/Utf16Codecs.h"
#include "xml/codecs/Utf8Codec.h"

namespace {

struct TCodecAliasRow {
  std::initializer_list<const char*> Labels;
  TUnicodeCodecClass CodecClass;
};

// Searched in this order, labels in row order.
const TCodecAliasRow CodecAliases[] = {
    {{"ASCII", "US-ASCII", "us", "ANSI_X3.4-1968", "ANSI_X3.4-1986", "iso-ir-6", "ISO_646.irv:1991", "ISO_646.irv",
      "ISO_646", "ISO-646", "ISO646", "ISO646-US", "IBM367", "cp367", "csASCII", "IBM891", "IBM903"},
     CodecClassOf<TUSASCIICodec>()},
    {{"ISO-8859-1", "ISO_8859-1:1987", "ISO_8859-1", "iso-ir-100", "latin1", "l1", "IBM819", "cp819"},
     CodecClassOf<TISO8859_1Codec>()},
    {{"ISO-8859-2", "ISO_8859-2:1987", "ISO_8859-2", "iso-ir-101", "latin2", "l2"}, CodecClassOf<TISO8859_2Codec>()},
    {{"ISO-8859-3", "ISO_8859-3:1988", "ISO_8859-3", "iso-ir-109", "latin3", "l3"}, CodecClassOf<TISO8859_3Codec>()},
    {{"ISO-8859-4", "ISO_8859-4:1988", "ISO_8859-4", "iso-ir-110", "latin4", "l4"}, CodecClassOf<TISO8859_4Codec>()},
    {{"ISO-8859-5", "ISO_8859-5:1988", "ISO_8859-5", "iso-ir-144", "cyrillic"}, CodecClassOf<TISO8859_5Codec>()},
    {{"ISO-8859-6", "ISO_8859-6:1987", "ISO_8859-6", "iso-ir-127", "ECMA-114", "ASMO-708", "arabic"},
     CodecClassOf<TISO8859_6Codec>()},
    {{"ISO-8859-7", "ISO_8859-7:1987", "ISO_8859-7", "iso-ir-126", "ELOT_928", "ECMA-118", "greek", "greek8"},
     CodecClassOf<TISO8859_7Codec>()},
    {{"ISO-8859-8", "ISO_8859-8:1988", "ISO_8859-8", "iso-ir-138", "hebrew"}, CodecClassOf<TISO8859_8Codec>()},
    {{"ISO-8859-9", "ISO_8859-9:1989", "ISO_8859-9", "iso-ir-148", "latin5", "l5"}, CodecClassOf<TISO8859_9Codec>()},
    {{"ISO-8859-10", "ISO_8859-10:1992", "ISO_8859-10", "iso-ir-157", "latin6", "l6"},
     CodecClassOf<TISO8859_10Codec>()},
    {{"ISO-8859-13", "ISO_8859-13", "latin7", "l7"}, CodecClassOf<TISO8859_13Codec>()},
    {{"ISO-8859-14", "ISO_8859-14:1998", "ISO_8859-14", "iso-ir-199", "latin8", "l8", "iso-celtic"},
     CodecClassOf<TISO8859_14Codec>()},
    {{"ISO-8859-15", "ISO_8859-15", "latin9", "l9", "latin0", "l0"}, CodecClassOf<TISO8859_15Codec>()},
    {{"KOI8-R"}, CodecClassOf<TKOI8_RCodec>()},
    {{"MacLatin2", "Mac", "Macintosh"}, CodecClassOf<TMacLatin2Codec>()},
    {{"MacRoman"}, CodecClassOf<TMacRomanCodec>()},
    {{"MacCyrillic"}, CodecClassOf<TMacCyrillicCodec>()},
    {{"IBM437", "cp437", "DOSLatinUS"}, CodecClassOf<TIBM437Codec>()},
    {{"windows-1250", "cp1250", "WinLatin2"}, CodecClassOf<TWindows1250Codec>()},
    {{"windows-1251", "cp1251", "WinCyrillic"}, CodecClassOf<TWindows1251Codec>()},
    {{"windows-1252", "cp1252", "WinLatin1"}, CodecClassOf<TWindows1252Codec>()},
    {{"ebcdic-us", "ebcdic"}, CodecClassOf<TEBCDIC_USCodec>()},
    {{"UTF-8", "utf8"}, CodecClassOf<TUTF8Codec>()},
    {{"UTF-16BE", "utf16be"}, CodecClassOf<TUTF16BECodec>()},
    {{"UTF-16LE", "utf16le"}, CodecClassOf<TUTF16LECodec>()},
};
static_assert(std::size(CodecAliases) == 26);

struct TMIBenumCodec {
  int32_t MIBenum;
  TUnicodeCodecClass CodecClass;
};

const TMIBenumCodec MIBenumCodecs[] = {
    {3, CodecClassOf<TUSASCIICodec>()},        {4, CodecClassOf<TISO8859_1Codec>()},
    {5, CodecClassOf<TISO8859_2Codec>()},      {6, CodecClassOf<TISO8859_3Codec>()},
    {7, CodecClassOf<TISO8859_4Codec>()},      {8, CodecClassOf<TISO8859_5Codec>()},
    {9, CodecClassOf<TISO8859_6Codec>()},      {10, CodecClassOf<TISO8859_7Codec>()},
    {11, CodecClassOf<TISO8859_8Codec>()},     {12, CodecClassOf<TISO8859_9Codec>()},
    {13, CodecClassOf<TISO8859_10Codec>()},    {15, CodecClassOf<TJIS_X0201Codec>()},
    {106, CodecClassOf<TUTF8Codec>()},         {109, CodecClassOf<TISO8859_13Codec>()},
    {110, CodecClassOf<TISO8859_14Codec>()},   {111, CodecClassOf<TISO8859_15Codec>()},
    {1000, CodecClassOf<TUCS2Codec>()},        {1013, CodecClassOf<TUTF16BECodec>()},
    {1014, CodecClassOf<TUTF16LECodec>()},     {2009, CodecClassOf<TIBM850Codec>()},
    {2010, CodecClassOf<TIBM852Codec>()},      {2011, CodecClassOf<TIBM437Codec>()},
    {2013, CodecClassOf<TIBM862Codec>()},      {2028, CodecClassOf<TIBM037Codec>()},
    {2043, CodecClassOf<TIBM424Codec>()},      {2044, CodecClassOf<TIBM500Codec>()},
    {2046, CodecClassOf<TIBM855Codec>()},      {2047, CodecClassOf<TIBM857Codec>()},
    {2048, CodecClassOf<TIBM860Codec>()},      {2049, CodecClassOf<TIBM861Codec>()},
    {2050, CodecClassOf<TIBM863Codec>()},      {2051, CodecClassOf<TIBM864Codec>()},
    {2052, CodecClassOf<TIBM865Codec>()},      {2054, CodecClassOf<TIBM869Codec>()},
    {2063, CodecClassOf<TIBM1026Codec>()},     {2084, CodecClassOf<TKOI8_RCodec>()},
    {2086, CodecClassOf<TIBM866Codec>()},      {2250, CodecClassOf<TWindows1250Codec>()},
    {2251, CodecClassOf<TWindows1251Codec>()}, {2252, CodecClassOf<TWindows1252Codec>()},
    {2253, CodecClassOf<TWindows1253Codec>()}, {2254, CodecClassOf<TWindows1254Codec>()},
    {2255, CodecClassOf<TWindows1255Codec>()}, {2256, CodecClassOf<TWindows1256Codec>()},
    {2257, CodecClassOf<TWindows1257Codec>()}, {2258, CodecClassOf<TWindows1258Codec>()},
};
static_assert(std::size(MIBenumCodecs) == 46);

WideString WidenAscii(const char* label) {
  WideString result;
  for (const char* p = label; *p != '\0'; ++p) result.push_back(static_cast<WideChar>(static_cast<unsigned char>(*p)));
  return result;
}

}  // namespace

TUnicodeCodecClass FindCodecClassByAlias(AnsiStringView label) {
  const WideString wideLabel = AnsiToWide(label);
  for (const TCodecAliasRow& row : CodecAliases)
    for (const char* alias : row.Labels)
      if (CompareWideStrings(wideLabel, WidenAscii(alias), true) == 0) return row.CodecClass;
  return nullptr;
}

AnsiString GetCodecAlias(TUnicodeCodecClass codecClass) {
  for (const TCodecAliasRow& row : CodecAliases)
    if (row.CodecClass == codecClass) return *row.Labels.begin();
  return AnsiString();
}

AnsiString EncodeWithCodecClass(TUnicodeCodecClass codecClass, WideStringView text) {
  if (codecClass == nullptr) return AnsiString();
  return codecClass->Create()->EncodeFromWideString(text);
}

TUnicodeCodecClass CodecClassOfMIBenum(int32_t mibEnum) {
  for (const TMIBenumCodec& entry : MIBenumCodecs)
    if (entry.MIBenum == mibEnum) return entry.CodecClass;
  return nullptr;
}

TUnicodeCodecClass ResolveCodecClass(AnsiStringView label) {
  if (TUnicodeCodecClass found = FindCodecClassByAlias(label)) return found;
  TCSMIB registry(nullptr);
  if (!registry.FindName(label)) return nullptr;
  return CodecClassOfMIBenum(registry.Enum());
}
