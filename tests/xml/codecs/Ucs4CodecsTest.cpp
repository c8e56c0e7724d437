#include <gtest/gtest.h>

#include <random>

#include "xml/codecs/CodecTestSupport.h"
#include "xml/codecs/Ucs4Codecs.h"

namespace {

// U+1F600 in each byte order.
TEST(Ucs4CodecsTest, EachByteOrderReadsAndWritesItsOwnLayout) {
  struct TCase {
    std::unique_ptr<TCustomUnicodeCodec> Codec;
    TBytes Bytes;
  };
  TCase cases[] = {
      {std::make_unique<TUCS4BECodec>(), {0x00, 0x01, 0xF6, 0x00}},
      {std::make_unique<TUCS4LECodec>(), {0x00, 0xF6, 0x01, 0x00}},
      {std::make_unique<TUCS4_2143Codec>(), {0x01, 0x00, 0x00, 0xF6}},
      {std::make_unique<TUCS4_3412Codec>(), {0xF6, 0x00, 0x00, 0x01}},
  };
  for (TCase& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.Bytes));
    EXPECT_EQ(ReadAllChars(*c.Codec, c.Bytes), (std::vector<std::pair<UCS4Char, int32_t>>{{0x1F600, 4}}));
    EXPECT_EQ(DecodeAll(*c.Codec, c.Bytes), u"\U0001F600");
    EXPECT_EQ(BytesOf(c.Codec->EncodeFromWideString(u"\U0001F600")), c.Bytes);
  }
}

// Random values around the edges of Unicode, sometimes with stray final bytes.
TEST(Ucs4CodecsTest, AgreesWithGlibcOnRandomInput) {
  std::mt19937 random(20261209);
  const UCS4Char interesting[] = {0x41, 0x9C, 0xD7FF, 0xD800, 0xDFFF, 0xE000, 0xFFFF, 0x10000, 0x10FFFF, 0x110000};
  std::vector<TBytes> inputs(5000);
  for (TBytes& bytes : inputs) {
    for (size_t i = 1 + random() % 4; i > 0; --i) {
      const UCS4Char value =
          random() % 4 == 0 ? static_cast<UCS4Char>(random()) : interesting[random() % std::size(interesting)];
      for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<uint8_t>(value >> shift));
    }
    if (random() % 8 == 0) bytes.push_back(0);
  }
  EXPECT_GT(ExpectSameDecodingAsGlibc(CodecClassOf<TUCS4BECodec>(), "UTF-32BE", inputs), 500);
}

TEST(Ucs4CodecsTest, ReadCharRefusesSurrogatesAndValuesAboveUnicode) {
  const std::pair<TBytes, const char*> cases[] = {
      {{0x00, 0x00, 0xD8, 0x00},
       "Surrogate value $D800 found in UCS-4BE. Values between $D800 and $DFFF are reserved for use with UTF-16"},
      {{0x00, 0x11, 0x00, 0x00}, "$110000 is not a valid UCS-4BE code point"},
      {{0x00, 0x11, 0x00, 0x9C}, "$11009C is not a valid UCS-4BE code point"},
  };
  for (const auto& [bytes, message] : cases) {
    TUCS4BECodec codec;
    ExpectReadCharFails(codec, bytes, message);
  }
}

TEST(Ucs4CodecsTest, DecodeBufferHandsValuesOutsideUnicodeToTheFailureMode) {
  TUCS4BECodec codec;
  ExpectDecodeFailureModes(
      codec, {0x00, 0x00, 0x00, 0x41, 0x00, 0x11, 0x00, 0x00, 0x00, 0x00, 0x00, 0x42},
      {"Cannot convert $00110000 to UTF-16", 4, u"A", WideString{u'A', 0x0011, 0x0000, u'B'}, u"AB", u"A\uFFFDB"});

  TUCS4LECodec le;  // the little-endian order passes the low half first
  le.SetFailureMode(cfPassThrough);
  EXPECT_EQ(DecodeAll(le, {0x00, 0xD8, 0x00, 0x00}), (WideString{0xD800, 0x0000}));
  le.SetFailureMode(cfRaise);
  EXPECT_EQ(CatchCodecException([&] {
              DecodeAll(le, {0x00, 0xD8, 0x00, 0x00});
            }).Message(),
            "Surrogate value $D800 found in UCS-4. Values between $D800 and $DFFF are reserved for use with UTF-16");
}

TEST(Ucs4CodecsTest, TrailingBytesAreLeftForTheNextCallOrMalformedAtTheEnd) {
  TUCS4BECodec codec;
  const uint8_t bytes[] = {0x00, 0x00, 0x00, 0x41, 0x00, 0x00};
  WideChar out[4];
  int32_t produced = 0;
  int32_t consumed = 0;
  codec.DecodeBuffer(bytes, 6, produced, consumed, sizeof(out), out);
  EXPECT_EQ(produced, 1);
  EXPECT_EQ(consumed, 4);
  const EUnicodeCodecException e = CatchCodecException([&] { DecodeAll(codec, TBytes(bytes, bytes + 6)); });
  EXPECT_EQ(e.Message(), "Invalid UCS-4BE encoding");
  EXPECT_EQ(e.Position(), 4);
}

TEST(Ucs4CodecsTest, EncodeBufferJoinsPairsAndRaisesForLoneSurrogates) {
  TUCS4LECodec codec;
  EXPECT_EQ(BytesOf(codec.EncodeFromWideString(WideString{0xD83D, 0xDE00})), (TBytes{0x00, 0xF6, 0x01, 0x00}));
  EXPECT_EQ(BytesOf(codec.EncodeFromWideString(WideString{0xD83D, 0xDFFF})), (TBytes{0xFF, 0xF7, 0x01, 0x00}));
  codec.SetFailureMode(cfSkip);  // not consulted
  ExpectConvertError([&] { codec.EncodeFromWideString(WideString{0xDC00}); }, "High surrogate not found");
  ExpectConvertError([&] { codec.EncodeFromWideString(WideString{0xD83D, u'A'}); }, "Low surrogate not found");
}

TEST(Ucs4CodecsTest, LineBreaksAreWrittenInTheCodecsEncoding) {
  TUCS4BECodec codec;
  codec.SetWriteLineBreaks(wlAsCRLF);
  EXPECT_EQ(BytesWritten(codec, 10, &TCustomUnicodeCodec::WriteCharWithLineBreaks),
            (TBytes{0, 0, 0, 0x0D, 0, 0, 0, 0x0A}));
}

}  // namespace
