#include <gtest/gtest.h>

#include <array>
#include <random>

#include "platform/base/Streams.h"
#include "xml/codecs/CodecTestSupport.h"
#include "xml/codecs/SingleByteCodecs.h"
#include "xml/codecs/UCS4Reader.h"
#include "xml/codecs/Ucs4Codecs.h"
#include "xml/codecs/Utf16Codecs.h"
#include "xml/codecs/Utf8Codec.h"

using namespace std::string_literals;

namespace {

// A reader over bytes held by the fixture, starting at line 1, column 0.
struct TReaderOver {
  explicit TReaderOver(AnsiString bytes, TUnicodeCodecClass codecClass = nullptr, int32_t bufferSize = 1024)
      : Stream(std::move(bytes)), Reader(&Stream, codecClass, bufferSize, 0, 0, 0, 0, 1) {}
  TStringStream Stream;
  TUtilsUCS4Reader Reader;
};

std::vector<UCS4Char> ReadToEnd(TUtilsUCS4Reader& reader) {
  std::vector<UCS4Char> chars;
  for (reader.Next(); !reader.AtEnd(); reader.Next()) chars.push_back(reader.CurrentPos().Char);
  return chars;
}

TEST(UCS4ReaderTest, SkipsAUtf8SignatureAndCountsFromAfterIt) {
  TReaderOver r("\xEF\xBB\xBFxy"s);
  EXPECT_EQ(r.Reader.GetCodecClass(), CodecClassOf<TUTF8Codec>());
  EXPECT_TRUE(r.Reader.HasSignature());
  EXPECT_EQ(r.Reader.CurrentPos().Char, UCS4StartOfInput);
  r.Reader.Next();
  EXPECT_EQ(r.Reader.CurrentPos().Char, u'x');
  EXPECT_EQ(r.Reader.GetStreamPosition(), 2);  // "x" and the look-ahead "y" are read
}

TEST(UCS4ReaderTest, PicksTheCodecOfTheSignatureOrTheRequest) {
  struct TCase {
    AnsiString Bytes;
    TUnicodeCodecClass Requested;
    TUnicodeCodecClass Settled;
    std::vector<UCS4Char> Chars;
  };
  const TCase cases[] = {
      {"\xFF\xFE"
       "A\x00"s,
       nullptr,
       CodecClassOf<TUTF16LECodec>(),
       {u'A'}},
      {"\xFF\xFE\x00\x00"
       "A\x00\x00\x00"s,
       nullptr,
       CodecClassOf<TUCS4LECodec>(),
       {u'A'}},
      {"\xFE\xFF\x00"
       "A"s,
       CodecClassOf<TUCS2Codec>(),
       CodecClassOf<TUCS2Codec>(),
       {u'A'}},
      {"\xEF\xBB\xBF"
       "A"s,
       CodecClassOf<TISO8859_1Codec>(),
       CodecClassOf<TISO8859_1Codec>(),
       {0xEF, 0xBB, 0xBF, u'A'}},
      {"A"s, nullptr, CodecClassOf<TUTF8Codec>(), {u'A'}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.Bytes));
    TReaderOver r(c.Bytes, c.Requested);
    EXPECT_EQ(r.Reader.GetCodecClass(), c.Settled);
    EXPECT_EQ(ReadToEnd(r.Reader), c.Chars);
  }
  TStringStream stream(
      "\xFF\xFE"
      "A\x00"s);
  EXPECT_THROW(TUtilsUCS4Reader(&stream, CodecClassOf<TUTF16BECodec>(), 1024, 0, 0, 0, 0, 1), EConvertError);
}

TEST(UCS4ReaderTest, KeepsLineColumnTabAndBytePositions) {
  TReaderOver r("a\tb\r\nc"s);
  struct TExpected {
    UCS4Char Char;
    int64_t Line, Column, Tabs, ByteNumber;
    int32_t ByteCount;
  };
  const TExpected expected[] = {
      {u'a', 1, 1, 0, 1, 1},  {u'\t', 1, 2, 1, 2, 1}, {u'b', 1, 3, 1, 3, 1},
      {u'\n', 2, 0, 0, 5, 2}, {u'c', 2, 1, 0, 6, 1},  {UCS4EndOfInput, 2, 2, 0, 6, 0},
  };
  int64_t charNumber = 0;
  for (const TExpected& e : expected) {
    r.Reader.Next();
    const TUtilsCharPosition& p = r.Reader.CurrentPos();
    SCOPED_TRACE(p.Char);
    EXPECT_EQ(p.Char, e.Char);
    EXPECT_EQ(p.Line, e.Line);
    EXPECT_EQ(p.Column, e.Column);
    EXPECT_EQ(p.TabsInLine, e.Tabs);
    EXPECT_EQ(p.ByteNumber, e.ByteNumber);
    EXPECT_EQ(p.ByteCount, e.ByteCount);
    EXPECT_EQ(p.CharNumber, ++charNumber);
  }
  r.Reader.Next();
  EXPECT_TRUE(r.Reader.AtEnd());
  EXPECT_EQ(r.Reader.CurrentPos().CharNumber, charNumber);
  EXPECT_EQ(r.Reader.PreviousPos().Char, u'c');  // the end is sticky: nothing moves
}

// U+0098 and U+009C are ordinary characters: only the markers outside Unicode end the input.
TEST(UCS4ReaderTest, ReadsC1ControlsWholeInEveryEncoding) {
  const std::pair<AnsiString, TUnicodeCodecClass> cases[] = {
      {"a\x9C"
       "b\x98"
       "c"s,
       CodecClassOf<TISO8859_1Codec>()},
      {"a\xC2\x9C"
       "b\xC2\x98"
       "c"s,
       nullptr},
      {"a\x00\x9C\x00"
       "b\x00\x98\x00"
       "c\x00"s,
       CodecClassOf<TUTF16LECodec>()},
  };
  for (const auto& [bytes, codecClass] : cases) {
    TReaderOver r(bytes, codecClass);
    EXPECT_EQ(ReadToEnd(r.Reader), (std::vector<UCS4Char>{u'a', 0x9C, u'b', 0x98, u'c'}));
  }
}

TEST(UCS4ReaderTest, AnEmptyStreamIsAtTheEndAfterOneStep) {
  TReaderOver r(""s);
  EXPECT_EQ(r.Reader.NextPos().Char, UCS4EndOfInput);
  EXPECT_FALSE(r.Reader.AtEnd());
  r.Reader.Next();
  EXPECT_TRUE(r.Reader.AtEnd());
}

TEST(UCS4ReaderTest, MatchStopsAtTheFirstDifference) {
  TReaderOver r("<?xm!"s);
  EXPECT_FALSE(r.Reader.Match(u"<?xml"));
  EXPECT_EQ(r.Reader.CurrentPos().Char, u'!');
  TReaderOver r2("<?xml"s);
  EXPECT_TRUE(r2.Reader.Match(u""));
  EXPECT_EQ(r2.Reader.CurrentPos().Char, UCS4StartOfInput);
  EXPECT_TRUE(r2.Reader.Match(u"<?xml"));
}

TEST(UCS4ReaderTest, SkipCharsCountsLongRunsAndStopsOnTheFirstOther) {
  const int64_t run = 200000;
  TReaderOver r(AnsiString(static_cast<size_t>(run), ' ') + "\t x"s);
  EXPECT_EQ(r.Reader.SkipChars(u" \t"), run + 2);
  EXPECT_EQ(r.Reader.CurrentPos().Char, u'x');
  EXPECT_EQ(r.Reader.SkipChars(u"x"), 0);
  EXPECT_TRUE(r.Reader.AtEnd());
}

TEST(UCS4ReaderTest, ResetRestartsAtTheStartOffsetWithNothingHeldOver) {
  TReaderOver r("\r<a\rb"s);
  const std::vector<UCS4Char> first = ReadToEnd(r.Reader);
  EXPECT_EQ(first, (std::vector<UCS4Char>{u'\n', u'<', u'a', u'\n', u'b'}));
  TReaderOver r2("\r<a\rb"s);
  r2.Reader.Next();  // the lone CR: its follower is held by the codec
  r2.Reader.Reset();
  EXPECT_EQ(ReadToEnd(r2.Reader), first);
  r2.Reader.SetStartOffset(3);
  r2.Reader.Reset();
  EXPECT_EQ(ReadToEnd(r2.Reader), (std::vector<UCS4Char>{u'\n', u'b'}));
}

TEST(UCS4ReaderTest, ANewCodecGoesOnWithTheNextUnreadByte) {
  TReaderOver r("x\xE9y"s);
  r.Reader.SetCodecClass(CodecClassOf<TISO8859_1Codec>());  // "x" is already read ahead
  EXPECT_EQ(ReadToEnd(r.Reader), (std::vector<UCS4Char>{u'x', 0xE9, u'y'}));
}

TEST(UCS4ReaderTest, InputEndingInsideAUnitIsAnEncodingError) {
  TReaderOver r(
      "a\x00"
      "b"s,
      CodecClassOf<TUTF16LECodec>());
  ExpectConvertError([&] { r.Reader.Next(); }, "Invalid UTF-16LE encoding");  // the look-ahead meets the cut unit
}

TEST(UCS4ReaderTest, UndecodableInputRaisesOutOfNext) {
  TReaderOver r(
      "a\xFF"
      "b"s);
  EXPECT_THROW(r.Reader.Next(), EConvertError);  // the look-ahead meets the bad byte
}

}  // namespace

// The look-ahead meets the bad byte while the reader steps onto "b": that step fails
// with nothing moved, and the next one delivers "b", then "z" counted behind the bad byte.
TEST(UCS4ReaderTest, AFailedStepMovesNoPositionAndTheNextGoesOn) {
  TReaderOver r("ab\xFFz"s);
  r.Reader.Next();
  EXPECT_EQ(r.Reader.CurrentPos().Char, u'a');
  EXPECT_THROW(r.Reader.Next(), EConvertError);
  EXPECT_EQ(r.Reader.CurrentPos().Char, u'a');
  EXPECT_EQ(r.Reader.NextPos().Char, u'b');
  EXPECT_EQ(r.Reader.NextPos().ByteNumber, 2);

  r.Reader.Next();
  EXPECT_EQ(r.Reader.PreviousPos().Char, u'a');
  EXPECT_EQ(r.Reader.CurrentPos().Char, u'b');
  EXPECT_EQ(r.Reader.CurrentPos().CharNumber, 2);
  EXPECT_EQ(r.Reader.CurrentPos().Column, 2);
  r.Reader.Next();
  EXPECT_EQ(r.Reader.CurrentPos().Char, u'z');
  EXPECT_EQ(r.Reader.CurrentPos().CharNumber, 3);
  EXPECT_EQ(r.Reader.CurrentPos().Column, 3);
  EXPECT_EQ(r.Reader.CurrentPos().ByteNumber, 4);  // the bad byte is counted
  EXPECT_EQ(r.Reader.CurrentPos().ByteCount, 1);
  r.Reader.Next();
  EXPECT_TRUE(r.Reader.AtEnd());
}

namespace {

// Every position a reader passes through, and whether it ended on undecodable bytes.
struct TWalk {
  std::vector<std::array<int64_t, 7>> Positions;
  bool Failed = false;
  bool operator==(const TWalk&) const = default;
};

TWalk Walk(const AnsiString& bytes, int32_t bufferSize) {
  TWalk walk;
  try {
    TReaderOver r(bytes, CodecClassOf<TUTF8Codec>(), bufferSize);  // reads the first character
    for (r.Reader.Next(); !r.Reader.AtEnd(); r.Reader.Next()) {
      const TUtilsCharPosition& p = r.Reader.CurrentPos();
      walk.Positions.push_back({p.ByteNumber, p.CharNumber, p.Column, p.Char, p.Line, p.ByteCount, p.TabsInLine});
    }
  } catch (const EConvertError&) {
    walk.Failed = true;
  }
  return walk;
}

// UTF-8 sequences that lie whole in the buffer are decoded by the reader itself; with a
// one-byte buffer every sequence longer than a byte goes through the codec. Both ways
// must give the same characters, positions and failures.
TEST(UCS4ReaderTest, DecodingFromTheBufferAgreesWithTheCodec) {
  const char* pieces[] = {"a",
                          "\t",
                          "\n",
                          "\r",
                          "\r\n",
                          "\xD1\x8F",
                          "\xE2\x80\x94",
                          "\xF0\x9F\x98\x80",
                          "\xC0\x80",
                          "\xED\xA0\x80",
                          "\xF4\x90\x80\x80",
                          "\x80",
                          "\xE2\x80",
                          "\xFF",
                          " "};
  std::mt19937 random(12345);
  for (int i = 0; i < 2000; ++i) {
    AnsiString bytes;
    for (int n = std::uniform_int_distribution<int>(1, 12)(random); n > 0; --n)
      bytes += pieces[std::uniform_int_distribution<int>(0, 14)(random)];
    SCOPED_TRACE(bytes);
    const TWalk direct = Walk(bytes, 4096);
    EXPECT_EQ(direct, Walk(bytes, 1));
    EXPECT_EQ(direct, Walk(bytes, 3));  // sequences cut by the buffer's end
  }
}

}  // namespace

namespace {

// A stream over bytes that counts the moves it is asked for: on a file each is a system
// call.
class TSeekCountingStream : public TStringStream {
public:
  using TStringStream::TStringStream;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override {
    ++Seeks;
    return TStringStream::Seek(offset, origin);
  }
  int Seeks = 0;
};

}  // namespace

// The positions of the characters are counted from the buffer, not asked of the
// stream: an 8-bit or UTF-16 text is read with a handful of moves, whatever its length.
TEST(UCS4ReaderTest, ReadsThroughItsBufferWithoutMovingTheStreamPerCharacter) {
  constexpr int Chars = 100000;
  const struct {
    const char* Name;
    TUnicodeCodecClass Codec;
    std::string Unit;  // the bytes of one character
  } cases[] = {
      {"windows-1251", CodecClassOf<TWindows1251Codec>(), "\xE0"},
      {"UTF-16LE", CodecClassOf<TUTF16LECodec>(), "\x30\x04"},
      {"UTF-8", CodecClassOf<TUTF8Codec>(), "\xD0\xB0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::string bytes;
    for (int i = 0; i < Chars; ++i) bytes += c.Unit;
    TSeekCountingStream stream(bytes);
    TUtilsUCS4Reader reader(&stream, c.Codec, 8192, 0, 0, 0, 0, 1);
    const std::vector<UCS4Char> chars = ReadToEnd(reader);
    ASSERT_EQ(chars.size(), size_t(Chars));
    EXPECT_EQ(chars.back(), 0x430u);
    EXPECT_EQ(reader.PreviousPos().ByteNumber, int64_t(bytes.size()));
    EXPECT_LT(stream.Seeks, 10);
  }
}
