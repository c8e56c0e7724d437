#include <gtest/gtest.h>

#include "platform/base/Streams.h"
#include "xml/XmlLimits.h"
#include "xml/codecs/InputStreams.h"
#include "xml/codecs/SingleByteCodecs.h"
#include "xml/codecs/Ucs4Codecs.h"
#include "xml/codecs/Utf16Codecs.h"
#include "xml/codecs/Utf8Codec.h"

using namespace std::string_literals;

namespace {

struct TMarkCase {
  AnsiString Bytes;
  TUnicodeCodecClass Class;
  int32_t Size;
};

TEST(InputStreamsTest, DetectsEveryByteOrderMark) {
  const TMarkCase cases[] = {
      {"\x00\x00\xFE\xFF<"s, CodecClassOf<TUCS4BECodec>(), 4},
      {"\x00\x00\xFF\xFE"s, CodecClassOf<TUCS4_2143Codec>(), 4},
      {"\xEF\xBB\xBF<"s, CodecClassOf<TUTF8Codec>(), 3},
      {"\xFE\xFF\x00\x00"s, CodecClassOf<TUCS4_3412Codec>(), 4},
      {"\xFE\xFF\x00<"s, CodecClassOf<TUTF16BECodec>(), 2},
      {"\xFE\xFF\x00"s, CodecClassOf<TUTF16BECodec>(), 2},
      {"\xFE\xFF"s, CodecClassOf<TUTF16BECodec>(), 2},
      {"\xFF\xFE\x00\x00"s, CodecClassOf<TUCS4LECodec>(), 4},
      {"\xFF\xFE<\x00"s, CodecClassOf<TUTF16LECodec>(), 2},
      {"\xFF\xFE"s, CodecClassOf<TUTF16LECodec>(), 2},
      {"\xEF\xBB"s, nullptr, 0},
      {"\x00\x00\xFE"s, nullptr, 0},
      {"\x00<\x00?"s, nullptr, 0},
      {"<?xml"s, nullptr, 0},
      {""s, nullptr, 0},
  };
  for (const TMarkCase& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.Bytes));
    TStringStream stream(c.Bytes);
    const TByteOrderMark mark = DetectByteOrderMark(stream);
    EXPECT_EQ(mark.CodecClass, c.Class);
    EXPECT_EQ(mark.SignatureSize, c.Size);
  }
}

struct TRequestCase {
  AnsiString Bytes;
  TUnicodeCodecClass Requested;
  TUnicodeCodecClass Settled;
  int32_t SignatureSize;
};

TEST(InputStreamsTest, SettlesTheCodecFromTheRequestAndTheMark) {
  const TRequestCase cases[] = {
      {"\xEF\xBB\xBF"
       "a"s,
       nullptr, CodecClassOf<TUTF8Codec>(), 3},
      {"a"s, nullptr, nullptr, 0},
      {"\xFE\xFF\x00a"s, CodecClassOf<TUTF16BECodec>(), CodecClassOf<TUTF16BECodec>(), 2},
      {"\xFE\xFF\x00a"s, CodecClassOf<TUCS2Codec>(), CodecClassOf<TUCS2Codec>(), 2},
      {"\xEF\xBB\xBF"s, CodecClassOf<TUTF16BECodec>(), CodecClassOf<TUTF16BECodec>(), 0},
      {"\xEF\xBB\xBF"
       "a"s,
       CodecClassOf<TISO8859_1Codec>(), CodecClassOf<TISO8859_1Codec>(), 0},
      {"a"s, CodecClassOf<TWindows1251Codec>(), CodecClassOf<TWindows1251Codec>(), 0},
  };
  for (const TRequestCase& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.Bytes));
    TStringStream stream(c.Bytes);
    TUtilsAutodetectInputStream input(&stream, c.Requested, 1024);
    EXPECT_EQ(input.CodecClass(), c.Settled);
    EXPECT_EQ(input.SignatureSize(), c.SignatureSize);
    EXPECT_EQ(input.HasSignature(), c.SignatureSize != 0);
    EXPECT_EQ(stream.Position(), c.SignatureSize);
    EXPECT_EQ(input.GetPosition(), 0);
  }
}

TEST(InputStreamsTest, ARequestContradictingTheMarkRaisesWithTheStreamRewound) {
  const std::pair<AnsiString, TUnicodeCodecClass> cases[] = {
      {"\xFF\xFE<\x00"s, CodecClassOf<TUTF16BECodec>()},
      {"\xFF\xFE<\x00"s, CodecClassOf<TUCS2Codec>()},
      {"\xFE\xFF\x00<"s, CodecClassOf<TUTF16LECodec>()},
  };
  for (const auto& [bytes, requested] : cases) {
    TStringStream stream(bytes);
    try {
      TUtilsAutodetectInputStream input(&stream, requested, 1024);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "Specified input encoding does not match byte order mark.");
    }
    EXPECT_EQ(stream.Position(), 0);
  }
}

TEST(InputStreamsTest, NoStreamIsAnError) {
  try {
    TUtilsCustomInputStream input(nullptr, 1024);
    ADD_FAILURE();
  } catch (const EParserUtilsException& e) {
    EXPECT_EQ(e.Message(), "Stream not specified.");
  }
}

TEST(InputStreamsTest, ReadsAcrossBufferRefillsAndGivesUnreadBytesBack) {
  TStringStream stream("..0123456789"s);
  stream.SetPosition(2);  // positions count from here
  {
    TUtilsCustomInputStream input(&stream, 3);
    uint8_t out[8] = {};
    EXPECT_EQ(input.ReadBuffer(out, 2), 2);
    EXPECT_EQ(AnsiString(out, out + 2), "01");
    EXPECT_EQ(input.GetPosition(), 2);
    EXPECT_EQ(input.ReadBuffer(out, 2), 2);  // one buffered byte, one from a refill
    EXPECT_EQ(AnsiString(out, out + 2), "23");
    EXPECT_EQ(input.ReadBuffer(out, 5), 5);  // larger than the buffer: partly straight from the stream
    EXPECT_EQ(AnsiString(out, out + 5), "45678");
    EXPECT_EQ(input.GetPosition(), 9);
    input.SetPosition(1);
    EXPECT_EQ(input.ReadBuffer(out, 1), 1);
    EXPECT_EQ(out[0], '1');
    EXPECT_EQ(input.GetPosition(), 2);
  }
  EXPECT_EQ(stream.Position(), 4);  // just after the last byte handed out
}

TEST(InputStreamsTest, AShortReadAtTheEndDeliversWhatThereIs) {
  TStringStream stream("abc"s);
  TUtilsCustomInputStream input(&stream, 2);
  uint8_t out[4] = {};
  EXPECT_EQ(input.ReadBuffer(out, 2), 2);
  EXPECT_EQ(input.ReadBuffer(out, 2), 1);
  EXPECT_EQ(out[0], 'c');
  EXPECT_EQ(input.ReadBuffer(out, 2), 0);
}

TEST(InputStreamsTest, TheBufferSizeIsKeptWithinTheLimit) {
  TXmlLimits limits;
  limits.MaxInputBufferBytes = 8;
  const TXmlLimitsOverride scope(limits);
  TStringStream stream("abc"s);
  EXPECT_EQ(TUtilsCustomInputStream(&stream, 1 << 30).BufferSize(), 8);
  EXPECT_EQ(TUtilsCustomInputStream(&stream, 0).BufferSize(), 1);
}

}  // namespace
