#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "xml/codecs/CodecTestSupport.h"
#include "xml/codecs/Utf8Codec.h"

namespace {

// Random short byte strings drawn mostly from lead and continuation bytes: the codec
// accepts exactly what glibc accepts, and decodes it alike.
TEST(Utf8CodecTest, AgreesWithGlibcOnRandomInput) {
  std::mt19937 random(20261209);
  const uint8_t interesting[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1, 0xC2, 0xDF, 0xE0,
                                 0xE1, 0xEC, 0xED, 0xEE, 0xEF, 0xF0, 0xF3, 0xF4, 0xF5, 0xF8, 0xFC, 0xFE, 0xFF};
  std::vector<TBytes> inputs(20000);
  for (TBytes& bytes : inputs) {
    bytes.resize(1 + random() % 6);
    for (uint8_t& b : bytes)
      b = random() % 4 == 0 ? static_cast<uint8_t>(random()) : interesting[random() % std::size(interesting)];
  }
  EXPECT_GT(ExpectSameDecodingAsGlibc(CodecClassOf<TUTF8Codec>(), "UTF-8", inputs), 1000);
}

TEST(Utf8CodecTest, ReadCharDecodesOneToFourByteSequences) {
  TUTF8Codec codec;
  const auto chars =
      ReadAllChars(codec, {0x41, 0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80, 0xF4, 0x8F, 0xBF, 0xBF});
  const std::vector<std::pair<UCS4Char, int32_t>> expected = {
      {0x41, 1}, {0xE9, 2}, {0x20AC, 3}, {0x1F600, 4}, {0x10FFFF, 4}};
  EXPECT_EQ(chars, expected);
}

TEST(Utf8CodecTest, ReadCharDeliversC1ControlsAsCharactersNotAsMarkers) {
  TUTF8Codec codec;
  const auto chars = ReadAllChars(codec, {0xC2, 0x98, 0x78, 0xC2, 0x9C, 0x79});
  const std::vector<std::pair<UCS4Char, int32_t>> expected = {{0x98, 2}, {0x78, 1}, {0x9C, 2}, {0x79, 1}};
  EXPECT_EQ(chars, expected);
}

TEST(Utf8CodecTest, ReadCharRefusesMalformedSequences) {
  const TBytes malformed[] = {
      {0x80},                                // continuation byte as lead
      {0xC0, 0x80},                          // overlong NUL
      {0xC1, 0xBF},                          // overlong 2-byte
      {0xE0, 0x80, 0x80},                    // overlong 3-byte
      {0xF0, 0x80, 0x80, 0x80},              // overlong 4-byte
      {0xED, 0xA0, 0x80},                    // U+D800
      {0xED, 0xBF, 0xBF},                    // U+DFFF
      {0xF4, 0x90, 0x80, 0x80},              // U+110000
      {0xF5, 0x80, 0x80, 0x80},              // lead above U+10FFFF
      {0xF8, 0x88, 0x80, 0x80, 0x80},        // old 5-byte form
      {0xFC, 0x84, 0x80, 0x80, 0x80, 0x80},  // old 6-byte form
      {0xFE},
      {0xFF},
      {0xC3},        // lead byte, then the end
      {0xE2, 0x82},  // cut short by the end
      {0xE2, 0x41},  // continuation missing
  };
  for (const TBytes& bytes : malformed) {
    SCOPED_TRACE(::testing::PrintToString(bytes));
    TUTF8Codec codec;
    ExpectReadCharFails(codec, bytes, "Invalid UTF-8 encoding");
  }
}

// One malformed stretch between "A" and "B", and what each failure mode makes of it.
struct TMalformedCase {
  const char* Name;
  TBytes Bytes;
  WideString PassedThrough;  // each byte of each maximal malformed stretch as a unit
  int32_t Stretches;         // substitutes written under cfReplace
};

const TMalformedCase MalformedCases[] = {
    {"overlong 2-byte", {0xC0, 0x80}, u"\u00C0\u0080", 2},
    {"overlong 3-byte", {0xE0, 0x80, 0xAF}, u"\u00E0\u0080\u00AF", 3},
    {"overlong 4-byte", {0xF0, 0x8F, 0xBF, 0xBF}, u"\u00F0\u008F\u00BF\u00BF", 4},
    {"surrogate", {0xED, 0xA0, 0x80}, u"\u00ED\u00A0\u0080", 3},
    {"truncated 3-byte", {0xE2, 0x82}, u"\u00E2\u0082", 1},
    {"truncated 4-byte", {0xF0, 0x9F, 0x98}, u"\u00F0\u009F\u0098", 1},
    {"5-byte form", {0xF8, 0x88, 0x80, 0x80, 0x80}, u"\u00F8\u0088\u0080\u0080\u0080", 5},
    {"6-byte form", {0xFC, 0x84, 0x80, 0x80, 0x80, 0x80}, u"\u00FC\u0084\u0080\u0080\u0080\u0080", 6},
    {"above U+10FFFF", {0xF4, 0x90, 0x80, 0x80}, u"\u00F4\u0090\u0080\u0080", 4},
    {"stray continuation", {0xBF}, u"\u00BF", 1},
};

TEST(Utf8CodecTest, MalformedSequencesGoThroughEveryFailureMode) {
  for (const TMalformedCase& c : MalformedCases) {
    SCOPED_TRACE(c.Name);
    TBytes input(c.Bytes.begin(), c.Bytes.end());
    input.insert(input.begin(), 'A');
    input.push_back('B');
    TUTF8Codec codec;
    ExpectDecodeFailureModes(codec, input,
                             {"Invalid UTF-8 encoding", 1, u"A", u"A" + c.PassedThrough + u"B", u"AB",
                              u"A" + WideString(static_cast<size_t>(c.Stretches), u'\uFFFD') + u"B"});
  }
}

TEST(Utf8CodecTest, SequenceCutOffByTheWholeInputIsMalformed) {
  TUTF8Codec codec;
  const EUnicodeCodecException e = CatchCodecException([&] { DecodeAll(codec, {0x41, 0xE2, 0x82}); });
  EXPECT_EQ(e.Message(), "Invalid UTF-8 encoding");
  EXPECT_EQ(e.Position(), 1);
  codec.SetFailureMode(cfReplace);
  EXPECT_EQ(DecodeAll(codec, {0x41, 0xE2, 0x82}), u"A\uFFFD");
}

TEST(Utf8CodecTest, DecodeBufferLeavesASequenceCutOffByTheBufferForTheNextCall) {
  TUTF8Codec codec;
  const uint8_t bytes[] = {0x41, 0xE2, 0x82};
  WideChar out[8];
  int32_t produced = 0;
  int32_t consumed = 0;
  codec.DecodeBuffer(bytes, 3, produced, consumed, sizeof(out), out);
  EXPECT_EQ(produced, 1);
  EXPECT_EQ(consumed, 1);
  EXPECT_EQ(out[0], u'A');
}

TEST(Utf8CodecTest, DecodeBufferGivesSurrogatePairsAndStopsWhenThePairHasNoRoom) {
  TUTF8Codec codec;
  const uint8_t bytes[] = {0x41, 0xF0, 0x9F, 0x98, 0x80};
  WideChar out[3];
  int32_t produced = 0;
  int32_t consumed = 0;
  codec.DecodeBuffer(bytes, 5, produced, consumed, 2 * 3, out);
  EXPECT_EQ(WideString(out, static_cast<size_t>(produced)), u"A\U0001F600");
  EXPECT_EQ(consumed, 5);
  codec.DecodeBuffer(bytes, 5, produced, consumed, 2 * 2, out);
  EXPECT_EQ(produced, 1);
  EXPECT_EQ(consumed, 1);
}

TEST(Utf8CodecTest, EncodeBufferWritesPairsAsFourBytesAndLoneSurrogatesByFailureMode) {
  TUTF8Codec codec;
  EXPECT_EQ(codec.EncodeFromWideString(u"A\u00E9\u20AC\U0001F600"), "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  const WideString lone = {u'A', 0xD800, u'B', 0xDC00};
  const EUnicodeCodecException e = CatchCodecException([&] { codec.EncodeFromWideString(lone); });
  EXPECT_EQ(e.Message(), "Low surrogate not found");
  EXPECT_EQ(e.Position(), 1);
  const EUnicodeCodecException e2 = CatchCodecException([&] { codec.EncodeFromWideString(WideString{0xDC00}); });
  EXPECT_EQ(e2.Message(), "High surrogate not found");
  EXPECT_EQ(e2.Position(), 0);
  codec.SetFailureMode(cfStop);
  EXPECT_EQ(codec.EncodeFromWideString(lone), "A");
  codec.SetFailureMode(cfPassThrough);
  EXPECT_EQ(codec.EncodeFromWideString(lone),
            "A\xED\xA0\x80"
            "B\xED\xB0\x80");
  codec.SetFailureMode(cfSkip);
  EXPECT_EQ(codec.EncodeFromWideString(lone), "AB");
  codec.SetFailureMode(cfReplace);
  EXPECT_EQ(codec.EncodeFromWideString(lone),
            "A\xEF\xBF\xBD"
            "B\xEF\xBF\xBD");
}

TEST(Utf8CodecTest, WriteCharRefusesSurrogatesAndValuesAboveUnicode) {
  TUTF8Codec codec;
  EXPECT_EQ(BytesWritten(codec, 0x1F600), (TBytes{0xF0, 0x9F, 0x98, 0x80}));
  int32_t count = 0;
  ExpectConvertError([&] { codec.WriteChar(0xD800, count); }, "$D800 is not a valid Unicode code point");
  ExpectConvertError([&] { codec.WriteChar(0x110000, count); }, "$110000 is not a valid Unicode code point");
}

}  // namespace
