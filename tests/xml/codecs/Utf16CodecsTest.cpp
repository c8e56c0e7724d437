#include <gtest/gtest.h>

#include <random>

#include "xml/codecs/CodecTestSupport.h"
#include "xml/codecs/Utf16Codecs.h"

namespace {

TEST(Utf16CodecsTest, ReadCharJoinsSurrogatePairsInEitherByteOrder) {
  TUTF16BECodec be;
  TUTF16LECodec le;
  const std::vector<std::pair<UCS4Char, int32_t>> expected = {{0x41, 2}, {0x1F600, 4}, {0x9C, 2}};
  EXPECT_EQ(ReadAllChars(be, {0x00, 0x41, 0xD8, 0x3D, 0xDE, 0x00, 0x00, 0x9C}), expected);
  EXPECT_EQ(ReadAllChars(le, {0x41, 0x00, 0x3D, 0xD8, 0x00, 0xDE, 0x9C, 0x00}), expected);
}

TEST(Utf16CodecsTest, ReadCharRefusesLoneSurrogates) {
  const TBytes cases[] = {
      {0xD8, 0x3D, 0x00, 0x41},  // high surrogate, then a letter
      {0xD8, 0x3D},              // high surrogate, then the end
      {0xDE, 0x00, 0x00, 0x41},  // low surrogate alone
  };
  for (const TBytes& bytes : cases) {
    SCOPED_TRACE(::testing::PrintToString(bytes));
    TUTF16BECodec codec;
    ExpectReadCharFails(codec, bytes, "Invalid UTF-16BE encoding");
  }
}

TEST(Utf16CodecsTest, DecodeBufferConvertsWholeUnitsOnly) {
  TUTF16BECodec be;
  TUTF16LECodec le;
  const uint8_t beBytes[] = {0x00, 0x41, 0x00, 0x42, 0x00};
  const uint8_t leBytes[] = {0x41, 0x00, 0x42, 0x00, 0x43};
  WideChar out[4];
  int32_t produced = 0;
  int32_t consumed = 0;
  be.DecodeBuffer(beBytes, 5, produced, consumed, sizeof(out), out);
  EXPECT_EQ(WideString(out, static_cast<size_t>(produced)), u"AB");
  EXPECT_EQ(consumed, 4);
  le.DecodeBuffer(leBytes, 5, produced, consumed, sizeof(out), out);
  EXPECT_EQ(WideString(out, static_cast<size_t>(produced)), u"AB");
  EXPECT_EQ(consumed, 4);
}

TEST(Utf16CodecsTest, DecodeBufferLeavesAHighSurrogateAtTheBufferEndForTheNextCall) {
  TUTF16LECodec codec;
  const uint8_t bytes[] = {0x41, 0x00, 0x3D, 0xD8};
  WideChar out[4];
  int32_t produced = 0;
  int32_t consumed = 0;
  codec.DecodeBuffer(bytes, 4, produced, consumed, sizeof(out), out);
  EXPECT_EQ(produced, 1);
  EXPECT_EQ(consumed, 2);
}

// A lone surrogate between "A" and "B" (UTF-16LE), and at the end of the whole input.
TEST(Utf16CodecsTest, LoneSurrogatesGoThroughEveryFailureMode) {
  const TBytes inputs[] = {
      {0x41, 0x00, 0x3D, 0xD8, 0x42, 0x00},  // high surrogate followed by a letter
      {0x41, 0x00, 0x00, 0xDE, 0x42, 0x00},  // low surrogate alone
  };
  const WideChar loneUnits[] = {0xD83D, 0xDE00};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    TUTF16LECodec codec;
    ExpectDecodeFailureModes(
        codec, inputs[i],
        {"Invalid UTF-16LE encoding", 2, u"A", WideString{u'A', loneUnits[i], u'B'}, u"AB", u"A\uFFFDB"});
  }
  TUTF16LECodec codec;
  const TBytes highAtEnd = {0x41, 0x00, 0x3D, 0xD8};
  EXPECT_EQ(CatchCodecException([&] { DecodeAll(codec, highAtEnd); }).Position(), 2);
  codec.SetFailureMode(cfPassThrough);
  EXPECT_EQ(DecodeAll(codec, highAtEnd), (WideString{u'A', 0xD83D}));
  EXPECT_EQ(DecodeAll(codec, {0x41, 0x00, 0x42}), u"AB");  // the odd final byte passes as a unit
}

// Random unit strings rich in surrogates, sometimes with an odd final byte: the codec
// accepts exactly what glibc accepts, and decodes it alike.
TEST(Utf16CodecsTest, AgreesWithGlibcOnRandomInput) {
  std::mt19937 random(20261209);
  const WideChar interesting[] = {0x0041, 0x0000, 0x009C, 0xD800, 0xD83D, 0xDBFF, 0xDC00, 0xDE00, 0xDFFF, 0xFFFF};
  std::vector<TBytes> inputs(5000);
  for (TBytes& bytes : inputs) {
    for (size_t i = 1 + random() % 5; i > 0; --i) {
      const WideChar unit = interesting[random() % std::size(interesting)];
      bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
      bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    if (random() % 8 == 0) bytes.push_back(0x41);
  }
  EXPECT_GT(ExpectSameDecodingAsGlibc(CodecClassOf<TUTF16LECodec>(), "UTF-16LE", inputs), 500);
}

TEST(Utf16CodecsTest, WriteCharWritesPairsAndRefusesSurrogatesAndValuesAboveUnicode) {
  TUTF16BECodec codec;
  EXPECT_EQ(BytesWritten(codec, 0x1F600), (TBytes{0xD8, 0x3D, 0xDE, 0x00}));
  int32_t count = 0;
  ExpectConvertError([&] { codec.WriteChar(0xDC00, count); }, "$DC00 is not a valid UCS-4 code point");
  ExpectConvertError([&] { codec.WriteChar(0x110000, count); }, "Cannot convert $00110000 to UTF-16BE");
}

TEST(Utf16CodecsTest, EncodeBufferWritesEveryUnitInItsByteOrder) {
  TUTF16LECodec le;
  TUTF16BECodec be;
  const WideString text = {u'A', 0xD83D, 0xDE00, 0xDC00};
  EXPECT_EQ(le.EncodeFromWideString(text), AnsiString("A\0\x3D\xD8\x00\xDE\x00\xDC", 8));
  EXPECT_EQ(be.EncodeFromWideString(text), AnsiString("\0A\xD8\x3D\xDE\x00\xDC\x00", 8));
}

TEST(Utf16CodecsTest, LineBreaksAreWrittenInTheCodecsEncoding) {
  TUTF16LECodec codec;
  codec.SetWriteLineBreaks(wlAsCRLF);
  EXPECT_EQ(BytesWritten(codec, 10, &TCustomUnicodeCodec::WriteCharWithLineBreaks), (TBytes{0x0D, 0x00, 0x0A, 0x00}));
}

TEST(Ucs2CodecTest, SurrogateUnitsAreRefusedOrHandledByFailureMode) {
  TUCS2Codec codec;
  const TBytes bytes = {0x00, 0x41, 0xD8, 0x00, 0x00, 0x42};
  const EUnicodeCodecException e = CatchCodecException([&] { DecodeAll(codec, bytes); });
  EXPECT_EQ(e.Message(),
            "Surrogate value $D800 found in UCS-2. Values between $D800 and $DFFF are reserved for use with UTF-16");
  EXPECT_EQ(e.Position(), 2);  // a byte offset, as every decoding position is
  codec.SetFailureMode(cfSkip);
  EXPECT_EQ(DecodeAll(codec, bytes), u"AB");
  codec.SetFailureMode(cfReplace);
  EXPECT_EQ(DecodeAll(codec, bytes), u"A\uFFFDB");

  codec.SetFailureMode(cfRaise);
  const WideString text = {u'A', 0xD800};
  const EUnicodeCodecException e2 = CatchCodecException([&] { codec.EncodeFromWideString(text); });
  EXPECT_EQ(e2.Position(), 1);  // a count of units, as every encoding position is
  codec.SetFailureMode(cfReplace);
  EXPECT_EQ(codec.EncodeFromWideString(text), AnsiString("\0A\xFF\xFD", 4));

  ExpectReadCharFails(
      codec, {0xDC, 0x00},
      "Surrogate value $DC00 found in UCS-2. Values between $D800 and $DFFF are reserved for use with UTF-16");
}

TEST(Ucs2CodecTest, WriteCharRefusesValuesAboveTheBasicPlane) {
  TUCS2Codec codec;
  int32_t count = 0;
  ExpectConvertError([&] { codec.WriteChar(0x10000, count); }, "UCS-2 encoding out of range");
}

}  // namespace
