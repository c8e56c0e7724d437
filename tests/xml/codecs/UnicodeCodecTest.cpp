// The behaviour every codec shares (string operations, line breaks, the failure modes
// of the single-byte pages) and the single-byte pages' particular rules.
#include <gtest/gtest.h>

#include "xml/codecs/CodecTestSupport.h"
#include "xml/codecs/SingleByteCodecs.h"
#include "xml/codecs/Ucs4Codecs.h"
#include "xml/codecs/Utf16Codecs.h"
#include "xml/codecs/Utf8Codec.h"

using namespace std::string_literals;

namespace {

TEST(UnicodeCodecTest, CreatedThroughItsClassWithTheDefaults) {
  const TUnicodeCodecClass codecClass = CodecClassOf<TWindows1251Codec>();
  auto codec = codecClass->Create();
  EXPECT_EQ(codec->ClassType(), codecClass);
  EXPECT_EQ(codec->FailureMode(), cfRaise);
  EXPECT_EQ(codec->DecodeSubstitute(), 0xFFFD);
  EXPECT_EQ(codec->ReadLineBreaks(), rlKeep);
  EXPECT_EQ(codec->WriteLineBreaks(), wlAsLF);
  EXPECT_EQ(dynamic_cast<TCustomSingleByteCodec&>(*codec).EncodeSubstitute(), 0x20);
  EXPECT_NE(CodecClassOf<TWindows1251Codec>(), CodecClassOf<TWindows1252Codec>());
}

TEST(UnicodeCodecTest, EveryCodecReadsTheEndMarkerAtTheEnd) {
  const TUnicodeCodecClass classes[] = {CodecClassOf<TWindows1251Codec>(), CodecClassOf<TUSASCIICodec>(),
                                        CodecClassOf<TUTF8Codec>(),        CodecClassOf<TUTF16LECodec>(),
                                        CodecClassOf<TUCS2Codec>(),        CodecClassOf<TUCS4_2143Codec>()};
  for (const TUnicodeCodecClass codecClass : classes) {
    auto codec = codecClass->Create();
    SCOPED_TRACE(codec->CodecName());
    TTestByteSource source({});
    codec->SetByteSource(&source);
    UCS4Char ch = 0;
    int32_t count = -1;
    codec->ReadChar(ch, count);
    EXPECT_EQ(ch, UCS4EndOfInput);
    EXPECT_EQ(count, 0);
  }
}

TEST(UnicodeCodecTest, EmptyInputGivesEmptyOutput) {
  TWindows1251Codec codec;
  EXPECT_EQ(codec.DecodeToWideString(nullptr, 5), u"");
  const uint8_t byte = 0x41;
  EXPECT_EQ(codec.DecodeToWideString(&byte, 0), u"");
  EXPECT_EQ(codec.EncodeFromWideString(u""), "");
}

TEST(UnicodeCodecTest, Windows1251EncodingUnderEachFailureMode) {
  TWindows1251Codec codec;
  const WideString text = u"Ab\u20AC\u4E00";
  const EUnicodeCodecException e = CatchCodecException([&] { codec.EncodeFromWideString(text); });
  EXPECT_EQ(e.Message(), "Unicode code point $4E00 has no equivalent in Windows-1251");
  EXPECT_EQ(e.Position(), 3);
  codec.SetFailureMode(cfStop);
  EXPECT_EQ(codec.EncodeFromWideString(text), "Ab\x88");
  codec.SetFailureMode(cfPassThrough);
  EXPECT_EQ(codec.EncodeFromWideString(text), "Ab\x88\x00"s);
  codec.SetFailureMode(cfSkip);
  EXPECT_EQ(codec.EncodeFromWideString(text), "Ab\x88");
  codec.SetFailureMode(cfReplace);
  EXPECT_EQ(codec.EncodeFromWideString(text), "Ab\x88 ");
}

TEST(UnicodeCodecTest, Windows1251RoundTripsItsC1Position) {
  TWindows1251Codec codec;
  EXPECT_EQ(codec.DecodeByte(0x98), 0x0098);
  EXPECT_EQ(codec.EncodeChar(0x0098), 0x98);
  const TBytes bytes = {0xE9, 0x98, 0xC0};
  EXPECT_EQ(DecodeAll(codec, bytes), u"\u0439\u0098\u0410");
  TISO8859_1Codec latin1;
  EXPECT_EQ(DecodeAll(latin1, bytes), u"\u00E9\u0098\u00C0");
}

TEST(UnicodeCodecTest, UsAsciiDecodingUnderEachFailureMode) {
  TUSASCIICodec codec;
  ExpectDecodeFailureModes(codec, {0x41, 0x80, 0x42},
                           {"$80 is not a valid US-ASCII code point", 1, u"A", u"A\u0080B", u"AB", u"A\uFFFDB"});
}

TEST(UnicodeCodecTest, UndefinedBytesDecodeToFFFFUnderEveryFailureMode) {
  TISO8859_8Codec codec;
  for (TCodecFailureMode mode : {cfRaise, cfStop, cfPassThrough, cfSkip, cfReplace}) {
    codec.SetFailureMode(mode);
    EXPECT_EQ(DecodeAll(codec, {0x41, 0xC0}), u"A\uFFFF");
  }
  EXPECT_THROW(codec.EncodeChar(0xFFFF), EConvertError);
}

TEST(UnicodeCodecTest, ComputedAndTablePagesSpotChecks) {
  struct TCase {
    TUnicodeCodecClass Class;
    uint8_t Byte;
    WideChar Char;
  };
  const TCase cases[] = {
      {CodecClassOf<TISO8859_13Codec>(), 0xDD, 0x017B}, {CodecClassOf<TISO8859_13Codec>(), 0xFD, 0x017C},
      {CodecClassOf<TISO8859_15Codec>(), 0xA6, 0x0160}, {CodecClassOf<TISO8859_6Codec>(), 0xC7, 0x0627},
      {CodecClassOf<TISO8859_8Codec>(), 0xE0, 0x05D0},  {CodecClassOf<TISO8859_7Codec>(), 0xA3, 0x00A3},
      {CodecClassOf<TIBM1026Codec>(), 0x9D, 0x02DB},    {CodecClassOf<TIBM1026Codec>(), 0xBC, 0x2014},
      {CodecClassOf<TJIS_X0201Codec>(), 0x5C, 0x00A5},  {CodecClassOf<TJIS_X0201Codec>(), 0xDF, 0xFF9F},
      {CodecClassOf<TEBCDIC_USCodec>(), 0xC1, u'A'},    {CodecClassOf<TEBCDIC_USCodec>(), 0xE0, u'\\'},
  };
  for (const TCase& c : cases) {
    auto codec = c.Class->Create();
    auto& page = dynamic_cast<TCustomSingleByteCodec&>(*codec);
    SCOPED_TRACE(codec->CodecName());
    EXPECT_EQ(page.DecodeByte(c.Byte), c.Char);
    EXPECT_EQ(page.EncodeChar(c.Char), c.Byte);
  }
}

// Encodings that are no inverse of decoding, kept because stored documents rely on them.
TEST(UnicodeCodecTest, PagesWhoseEncodingGoesBeyondTheirDecoding) {
  TISO8859_9Codec iso9;
  EXPECT_EQ(iso9.DecodeByte(0xD0), 0x011E);
  EXPECT_EQ(iso9.EncodeChar(0x00D0), 0xD0);  // every unit up to U+00FF passes through
  EXPECT_EQ(iso9.EncodeChar(0x011E), 0xD0);
  TISO8859_15Codec iso15;
  EXPECT_EQ(iso15.EncodeChar(0x00A4), 0xA4);
  EXPECT_EQ(iso15.EncodeChar(0x20AC), 0xA4);
  TISO8859_7Codec iso7;
  EXPECT_EQ(iso7.EncodeChar(0x0376), 0xA6);  // the whole Greek stretch maps arithmetically
  EXPECT_EQ(iso7.DecodeByte(0xA6), 0x00A6);
  EXPECT_EQ(iso7.EncodeChar(0x03A2), 0xD2);
  EXPECT_EQ(iso7.EncodeChar(0x2015), 0xAF);
  EXPECT_THROW(iso7.EncodeChar(0x00A4), EConvertError);
  TIBM1026Codec ibm1026;
  EXPECT_EQ(ibm1026.EncodeChar(0x00B8), 0x9D);  // the table's own character at 0x9D still encodes
  TEBCDIC_USCodec ebcdic;
  EXPECT_THROW(ebcdic.EncodeChar(u'['), EConvertError);
}

TEST(UnicodeCodecTest, EncodeUCS4CharRefusesValuesBeyondTheBasicPlane) {
  TWindows1251Codec codec;
  EXPECT_EQ(codec.EncodeUCS4Char(0x0410), 0xC0);
  ExpectConvertError([&] { codec.EncodeUCS4Char(0x10000); }, "$10000 is not a valid  code point");
}

TEST(UnicodeCodecTest, ReadCharNormalisedTurnsCrLfAndLoneCrIntoLf) {
  TISO8859_1Codec codec;
  codec.SetReadLineBreaks(rlToLF);
  const std::vector<std::pair<UCS4Char, int32_t>> expected = {{10, 2}, {10, 1}, {0x78, 1}, {10, 1}};
  EXPECT_EQ(ReadAllChars(codec, {13, 10, 13, 0x78, 13}), expected);
  codec.SetReadLineBreaks(rlKeep);
  EXPECT_EQ(ReadAllChars(codec, {13, 10}), (std::vector<std::pair<UCS4Char, int32_t>>{{13, 1}, {10, 1}}));
}

TEST(UnicodeCodecTest, ANewByteSourceDropsTheHeldCharacter) {
  TUTF8Codec codec;
  codec.SetReadLineBreaks(rlToLF);
  TTestByteSource first({13, 0x61});
  TTestByteSource second({0x62});
  codec.SetByteSource(&first);
  UCS4Char ch = 0;
  int32_t count = 0;
  codec.ReadCharNormalised(ch, count);
  EXPECT_EQ(ch, 10u);
  codec.SetByteSource(&first);  // the same source keeps the held "a"
  codec.ReadCharNormalised(ch, count);
  EXPECT_EQ(ch, 0x61u);
  TTestByteSource third({13, 0x61});
  codec.SetByteSource(&third);
  codec.ReadCharNormalised(ch, count);
  codec.SetByteSource(&second);
  codec.ReadCharNormalised(ch, count);
  EXPECT_EQ(ch, 0x62u);
}

TEST(UnicodeCodecTest, WriteCharWithLineBreaksWritesLfAsConfigured) {
  const std::pair<TCodecWriteLineBreaks, TBytes> cases[] = {{wlAsLF, {10}}, {wlAsCR, {13}}, {wlAsCRLF, {13, 10}}};
  for (const auto& [mode, bytes] : cases) {
    TUTF8Codec codec;
    codec.SetWriteLineBreaks(mode);
    EXPECT_EQ(BytesWritten(codec, 10, &TCustomUnicodeCodec::WriteCharWithLineBreaks), bytes);
    EXPECT_EQ(BytesWritten(codec, 0x41, &TCustomUnicodeCodec::WriteCharWithLineBreaks), TBytes{0x41});
  }
}

TEST(UnicodeCodecTest, WithoutASinkWrittenBytesGoNowhere) {
  TWindows1251Codec codec;
  int32_t count = 0;
  codec.WriteChar(0x0410, count);
  EXPECT_EQ(count, 1);
  EXPECT_THROW(codec.WriteChar(0x4E00, count), EConvertError);
}

}  // namespace
