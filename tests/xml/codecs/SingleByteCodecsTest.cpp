// The 46 single-byte code pages against glibc: every byte decoded, every mapped
// character encoded, and the codecs' deliberate differences listed in one table.
#include <gtest/gtest.h>
#include <iconv.h>

#include <map>
#include <optional>
#include <string>

#include "xml/codecs/SingleByteCodecs.h"

namespace {

struct TPage {
  TUnicodeCodecClass Class;
  const char* Name;      // the codec's name in messages
  const char* PeerName;  // the glibc iconv converter
};

// Names the page in test listings instead of dumping its bytes.
void PrintTo(const TPage& page, std::ostream* out) { *out << page.Name; }

const TPage Pages[] = {
    {CodecClassOf<TISO8859_1Codec>(), "ISO-8859-1", "ISO-8859-1"},
    {CodecClassOf<TISO8859_2Codec>(), "ISO-8859-2", "ISO-8859-2"},
    {CodecClassOf<TISO8859_3Codec>(), "ISO-8859-3", "ISO-8859-3"},
    {CodecClassOf<TISO8859_4Codec>(), "ISO-8859-4", "ISO-8859-4"},
    {CodecClassOf<TISO8859_5Codec>(), "ISO-8859-5", "ISO-8859-5"},
    {CodecClassOf<TISO8859_6Codec>(), "ISO-8859-6", "ISO-8859-6"},
    {CodecClassOf<TISO8859_7Codec>(), "ISO-8859-7", "ISO-8859-7"},
    {CodecClassOf<TISO8859_8Codec>(), "ISO-8859-8", "ISO-8859-8"},
    {CodecClassOf<TISO8859_9Codec>(), "ISO-8859-9", "ISO-8859-9"},
    {CodecClassOf<TISO8859_10Codec>(), "ISO-8859-10", "ISO-8859-10"},
    {CodecClassOf<TISO8859_13Codec>(), "ISO-8859-13", "ISO-8859-13"},
    {CodecClassOf<TISO8859_14Codec>(), "ISO-8859-14", "ISO-8859-14"},
    {CodecClassOf<TISO8859_15Codec>(), "ISO-8859-15", "ISO-8859-15"},
    {CodecClassOf<TWindows1250Codec>(), "Windows-1250", "CP1250"},
    {CodecClassOf<TWindows1251Codec>(), "Windows-1251", "CP1251"},
    {CodecClassOf<TWindows1252Codec>(), "Windows-1252", "CP1252"},
    {CodecClassOf<TWindows1253Codec>(), "Windows-1253", "CP1253"},
    {CodecClassOf<TWindows1254Codec>(), "Windows-1254", "CP1254"},
    {CodecClassOf<TWindows1255Codec>(), "Windows-1255", "CP1255"},
    {CodecClassOf<TWindows1256Codec>(), "Windows-1256", "CP1256"},
    {CodecClassOf<TWindows1257Codec>(), "Windows-1257", "CP1257"},
    {CodecClassOf<TWindows1258Codec>(), "Windows-1258", "CP1258"},
    {CodecClassOf<TIBM037Codec>(), "IBM037", "IBM037"},
    {CodecClassOf<TIBM424Codec>(), "IBM424", "IBM424"},
    {CodecClassOf<TIBM437Codec>(), "IBM437", "IBM437"},
    {CodecClassOf<TIBM500Codec>(), "IBM500", "IBM500"},
    {CodecClassOf<TIBM850Codec>(), "IBM850", "IBM850"},
    {CodecClassOf<TIBM852Codec>(), "IBM852", "IBM852"},
    {CodecClassOf<TIBM855Codec>(), "IBM855", "IBM855"},
    {CodecClassOf<TIBM857Codec>(), "IBM857", "IBM857"},
    {CodecClassOf<TIBM860Codec>(), "IBM860", "IBM860"},
    {CodecClassOf<TIBM861Codec>(), "IBM861", "IBM861"},
    {CodecClassOf<TIBM862Codec>(), "IBM862", "IBM862"},
    {CodecClassOf<TIBM863Codec>(), "IBM863", "IBM863"},
    {CodecClassOf<TIBM864Codec>(), "IBM864", "IBM864"},
    {CodecClassOf<TIBM865Codec>(), "IBM865", "IBM865"},
    {CodecClassOf<TIBM866Codec>(), "IBM866", "IBM866"},
    {CodecClassOf<TIBM869Codec>(), "IBM869", "IBM869"},
    {CodecClassOf<TIBM1026Codec>(), "IBM1026", "IBM1026"},
    {CodecClassOf<TMacLatin2Codec>(), "MacLatin2", "MAC-CENTRALEUROPE"},
    {CodecClassOf<TMacRomanCodec>(), "MacRoman", "MACINTOSH"},
    {CodecClassOf<TMacCyrillicCodec>(), "MacCyrillic", "MAC-CYRILLIC"},
    {CodecClassOf<TUSASCIICodec>(), "US-ASCII", "ANSI_X3.4-1968"},
    {CodecClassOf<TEBCDIC_USCodec>(), "EBCDIC-US", "EBCDIC-US"},
    {CodecClassOf<TKOI8_RCodec>(), "KOI8-R", "KOI8-R"},
    // glibc has no JIS X 0201 converter; Shift_JIS holds it as its one-byte half.
    {CodecClassOf<TJIS_X0201Codec>(), "JIS_X0201", "SJIS"},
};

constexpr char16_t Undefined = 0xFFFF;

// Every byte the codecs decode otherwise than glibc: bytes First..Last decode to
// FirstChar, FirstChar + 1, ... (or all to Undefined). glibc's own value is not kept:
// the codec's is the one documents rely on.
struct TDifference {
  const char* Page;
  uint8_t First;
  uint8_t Last;
  char16_t FirstChar;
};

const TDifference Differences[] = {
    // the 1987 edition: Greek signs where later editions put the euro and drachma signs
    {"ISO-8859-7", 0xA4, 0xA5, 0x0374},
    {"ISO-8859-7", 0xAE, 0xAE, 0x037E},
    // the 1988 edition: overline, and no direction marks
    {"ISO-8859-8", 0xAF, 0xAF, 0x203E},
    {"ISO-8859-8", 0xFD, 0xFE, Undefined},
    {"ISO-8859-10", 0xBD, 0xBD, 0x2014},  // em dash, not the horizontal bar
    // Windows pages: positions the reference tables leave undefined, decoded as Windows does
    {"Windows-1250", 0x81, 0x81, 0x0081},
    {"Windows-1250", 0x83, 0x83, 0x0083},
    {"Windows-1250", 0x88, 0x88, 0x0088},
    {"Windows-1250", 0x90, 0x90, 0x0090},
    {"Windows-1250", 0x98, 0x98, 0x0098},
    {"Windows-1251", 0x98, 0x98, 0x0098},
    {"Windows-1252", 0x81, 0x81, 0x0081},
    {"Windows-1252", 0x8D, 0x8D, 0x008D},
    {"Windows-1252", 0x8F, 0x90, 0x008F},
    {"Windows-1252", 0x9D, 0x9D, 0x009D},
    {"Windows-1253", 0x81, 0x81, 0x0081},
    {"Windows-1253", 0x88, 0x88, 0x0088},
    {"Windows-1253", 0x8A, 0x8A, 0x008A},
    {"Windows-1253", 0x8C, 0x90, 0x008C},
    {"Windows-1253", 0x98, 0x98, 0x0098},
    {"Windows-1253", 0x9A, 0x9A, 0x009A},
    {"Windows-1253", 0x9C, 0x9F, 0x009C},
    {"Windows-1253", 0xAA, 0xAA, 0xF8F9},
    {"Windows-1253", 0xD2, 0xD2, 0xF8FA},
    {"Windows-1253", 0xFF, 0xFF, 0xF8FB},
    {"Windows-1254", 0x81, 0x81, 0x0081},
    {"Windows-1254", 0x8D, 0x90, 0x008D},
    {"Windows-1254", 0x9D, 0x9E, 0x009D},
    {"Windows-1255", 0x81, 0x81, 0x0081},
    {"Windows-1255", 0x8A, 0x8A, 0x008A},
    {"Windows-1255", 0x8C, 0x90, 0x008C},
    {"Windows-1255", 0x9A, 0x9A, 0x009A},
    {"Windows-1255", 0x9C, 0x9F, 0x009C},
    {"Windows-1255", 0xCA, 0xCA, 0x05BA},
    {"Windows-1255", 0xD9, 0xDF, 0xF88D},
    {"Windows-1255", 0xFB, 0xFC, 0xF894},
    {"Windows-1255", 0xFF, 0xFF, 0xF896},
    {"Windows-1257", 0x81, 0x81, 0x0081},
    {"Windows-1257", 0x83, 0x83, 0x0083},
    {"Windows-1257", 0x88, 0x88, 0x0088},
    {"Windows-1257", 0x8A, 0x8A, 0x008A},
    {"Windows-1257", 0x8C, 0x8C, 0x008C},
    {"Windows-1257", 0x90, 0x90, 0x0090},
    {"Windows-1257", 0x98, 0x98, 0x0098},
    {"Windows-1257", 0x9A, 0x9A, 0x009A},
    {"Windows-1257", 0x9C, 0x9C, 0x009C},
    {"Windows-1257", 0x9F, 0x9F, 0x009F},
    {"Windows-1257", 0xA1, 0xA1, 0xF8FC},
    {"Windows-1257", 0xA5, 0xA5, 0xF8FD},
    {"Windows-1258", 0x81, 0x81, 0x0081},
    {"Windows-1258", 0x8A, 0x8A, 0x008A},
    {"Windows-1258", 0x8D, 0x90, 0x008D},
    {"Windows-1258", 0x9A, 0x9A, 0x009A},
    {"Windows-1258", 0x9D, 0x9E, 0x009D},
    {"IBM424", 0xBC, 0xBC, 0x203E},  // overline, not the macron
    // IBM864: the Arabic percent sign and five letter forms are left undefined
    {"IBM864", 0x25, 0x25, Undefined},
    {"IBM864", 0xC1, 0xC4, Undefined},
    {"IBM864", 0xC6, 0xC6, Undefined},
    // Mac OS Roman before the euro; glibc also takes the Greek capital delta for 0xC6
    {"MacRoman", 0xBD, 0xBD, 0x2126},
    {"MacRoman", 0xC6, 0xC6, 0x2206},
    {"MacRoman", 0xDB, 0xDB, 0x00A4},
    {"MacRoman", 0xF0, 0xF0, Undefined},
    // Mac OS Cyrillic before the Ukrainian revision
    {"MacCyrillic", 0xA2, 0xA2, 0x00A2},
    {"MacCyrillic", 0xB6, 0xB6, 0x2202},
    // the invariant EBCDIC set and JIS X 0201 have no controls
    {"EBCDIC-US", 0x00, 0x3F, Undefined},
    {"EBCDIC-US", 0xFF, 0xFF, Undefined},
    {"JIS_X0201", 0x00, 0x1F, Undefined},
    {"JIS_X0201", 0x7F, 0x7F, Undefined},
};

std::optional<char32_t> PeerDecode(const char* converter, uint8_t byte) {
  iconv_t cd = iconv_open("UTF-32LE", converter);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  char in[1] = {static_cast<char>(byte)};
  unsigned char out[8] = {};
  char* inPtr = in;
  char* outPtr = reinterpret_cast<char*>(out);
  size_t inLeft = 1;
  size_t outLeft = sizeof(out);
  // CP1255 and CP1258 hold a letter back for a combining mark that may follow: flush it.
  size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  if (rc != static_cast<size_t>(-1)) rc = iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1) || sizeof(out) - outLeft != 4) return std::nullopt;
  return char32_t(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24);
}

std::optional<uint8_t> PeerEncode(const char* converter, char32_t ch) {
  iconv_t cd = iconv_open(converter, "UTF-32LE");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  char in[4] = {static_cast<char>(ch & 0xFF), static_cast<char>(ch >> 8 & 0xFF), static_cast<char>(ch >> 16 & 0xFF), 0};
  char out[8] = {};
  char* inPtr = in;
  char* outPtr = out;
  size_t inLeft = 4;
  size_t outLeft = sizeof(out);
  const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1) || sizeof(out) - outLeft != 1) return std::nullopt;
  return static_cast<uint8_t>(out[0]);
}

class SingleByteCodecsTest : public testing::TestWithParam<TPage> {};

std::optional<char16_t> ListedDifference(const char* page, uint8_t byte) {
  for (const TDifference& d : Differences) {
    if (std::string(d.Page) != page || byte < d.First || byte > d.Last) continue;
    return d.FirstChar == Undefined ? Undefined : char16_t(d.FirstChar + (byte - d.First));
  }
  return std::nullopt;
}

TEST_P(SingleByteCodecsTest, DecodesEveryByteAsGlibcDoesExceptListedDifferences) {
  const TPage& page = GetParam();
  auto codec = page.Class->Create();
  auto& singleByte = dynamic_cast<TCustomSingleByteCodec&>(*codec);
  EXPECT_STREQ(codec->CodecName(), page.Name);
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<uint8_t>(b);
    const std::optional<char32_t> peer = PeerDecode(page.PeerName, byte);
    char16_t ours = Undefined;
    try {
      ours = singleByte.DecodeByte(byte);
    } catch (const EConvertError&) {
      ASSERT_EQ(std::string(page.Name), "US-ASCII");
    }
    const char16_t expected = ListedDifference(page.Name, byte).value_or(peer ? char16_t(*peer) : Undefined);
    if (ours != expected) {
      ADD_FAILURE() << page.Name << std::hex << " byte 0x" << b << ": codec U+" << unsigned(ours) << ", glibc "
                    << (peer ? unsigned(*peer) : 0xFFFFu);
    }
  }
}

TEST_P(SingleByteCodecsTest, EncodesEveryMappedCharacterToItsFirstByte) {
  const TPage& page = GetParam();
  auto codec = page.Class->Create();
  auto& singleByte = dynamic_cast<TCustomSingleByteCodec&>(*codec);
  std::map<char16_t, uint8_t> firstByte;
  for (int b = 255; b >= 0; --b) {
    try {
      const char16_t ch = singleByte.DecodeByte(static_cast<uint8_t>(b));
      if (ch != Undefined) firstByte[ch] = static_cast<uint8_t>(b);
    } catch (const EConvertError&) {
    }
  }
  for (const auto& [ch, byte] : firstByte) {
    EXPECT_EQ(singleByte.EncodeChar(ch), byte) << page.Name << std::hex << " U+" << unsigned(ch);
    if (ListedDifference(page.Name, byte)) continue;
    const auto peer = PeerEncode(page.PeerName, ch);
    if (!peer || *peer != byte)
      ADD_FAILURE() << page.Name << std::hex << " U+" << unsigned(ch) << ": codec 0x" << unsigned(byte) << ", glibc "
                    << (peer ? int(*peer) : -1);
  }
}

INSTANTIATE_TEST_SUITE_P(AllPages, SingleByteCodecsTest, testing::ValuesIn(Pages),
                         [](const testing::TestParamInfo<TPage>& param) {
                           std::string name = param.param.Name;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
