// The inflate engine against zlib, and against malformed streams built bit by bit.
#include <gtest/gtest.h>

#include "archive/ArDfDec.h"
#include "archive/ArExcept.h"
#include "archive/ArchiveTestSupport.h"

namespace {

struct TInflated {
  Bytes Data;
  uint32_t Checksum;
  int64_t CompressedSize;
};

TInflated Inflate(const Bytes& stream, uint32_t options = 15, uint32_t partSize = 0, int64_t maxSize = -1) {
  TMemoryStream source, target;
  LoadBytes(source, stream);
  TArDeflateHelper helper;
  helper.SetOptions(options);
  helper.PartSize = partSize;
  helper.MaxNormalSize = maxSize;
  uint32_t checksum = InflateStream(source, &target, &helper);
  EXPECT_EQ(helper.NormalSize, target.Size());
  return {StreamBytes(target), checksum, helper.CompressedSize};
}

TEST(InflateStream, MatchesZlibAtEveryLevelAndStrategy) {
  const Bytes inputs[] = {BookLikeText(200000, 1), RandomBytes(70000, 2), RandomBytes(150000, 3, 4), Bytes{},
                          Bytes(100000, 'x')};
  const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};
  for (const Bytes& input : inputs)
    for (int level = 0; level <= 9; ++level)
      for (int strategy : strategies) {
        SCOPED_TRACE(testing::Message() << "size " << input.size() << " level " << level << " strategy " << strategy);
        Bytes compressed = ZlibDeflate(input, level, strategy);
        TInflated out = Inflate(compressed);
        ASSERT_EQ(out.Data, input);
        EXPECT_EQ(out.Checksum, ZlibCrc(input));
        EXPECT_EQ(out.CompressedSize, static_cast<int64_t>(compressed.size()));
      }
}

TEST(InflateStream, MatchesZlibForEveryWindowAndMemoryLevel) {
  Bytes input = BookLikeText(300000, 7);
  for (int windowBits = 9; windowBits <= 15; ++windowBits)
    for (int memLevel : {1, 5, 9}) {
      SCOPED_TRACE(testing::Message() << "window " << windowBits << " memLevel " << memLevel);
      TInflated out = Inflate(ZlibDeflate(input, 6, Z_DEFAULT_STRATEGY, windowBits, memLevel));
      ASSERT_EQ(out.Data, input);
    }
}

TEST(InflateStream, LeavesTheSourceRightAfterTheCompressedData) {
  Bytes input = BookLikeText(5000, 3);
  Bytes stream = ZlibDeflate(input, 9);
  size_t compressedBytes = stream.size();
  stream.insert(stream.end(), {'T', 'A', 'I', 'L'});
  TMemoryStream source, target;
  LoadBytes(source, stream);
  InflateStream(source, &target, nullptr);
  EXPECT_EQ(source.Position(), static_cast<int64_t>(compressedBytes));
}

TEST(InflateStream, EmptyFinalStoredBlockGivesTheChecksumOfNothing) {
  TBitWriter w;
  w.StoredHeader(true, 0, 0xFFFF);  // final, LEN 0, NLEN 0xFFFF
  ASSERT_TRUE(ZlibAccepts(w.Data()));
  TInflated out = Inflate(w.Data());
  EXPECT_TRUE(out.Data.empty());
  EXPECT_EQ(out.Checksum, 0u);
}

TEST(InflateStream, AdlerOptionGivesTheAdler32OfTheOutput) {
  Bytes abc{'a', 'b', 'c'};
  EXPECT_EQ(Inflate(ZlibDeflate(abc, 6), 15 | dfc_UseAdler32).Checksum, 0x024D0127u);
}

TEST(InflateStream, PartSizeStopsQuietlyAfterThePartWithResultZero) {
  Bytes input = BookLikeText(100000, 4);
  TInflated out = Inflate(ZlibDeflate(input, 6), 15, 512);
  EXPECT_EQ(out.Checksum, 0u);
  ASSERT_GE(out.Data.size(), 512u);
  EXPECT_LT(out.Data.size(), 512u + 258u);
  EXPECT_TRUE(std::equal(out.Data.begin(), out.Data.end(), input.begin()));
}

TEST(InflateStream, TestOnlyCountsWithoutWriting) {
  Bytes input = BookLikeText(70000, 5);
  TMemoryStream source, target;
  LoadBytes(source, ZlibDeflate(input, 6));
  TArDeflateHelper helper;
  helper.SetOptions(15 | dfc_TestOnly);
  EXPECT_EQ(InflateStream(source, &target, &helper), ZlibCrc(input));
  EXPECT_EQ(helper.NormalSize, 70000);
  EXPECT_EQ(target.Size(), 0);
}

// Deflate64: a literal, then length symbol 285 with 16 extra bits of 65535 (length
// 65538) at distance 1.
TEST(InflateStream, Deflate64LengthSymbol285Copies65538Bytes) {
  TBitWriter w;
  w.Bits(1, 1);         // BFINAL
  w.Bits(1, 2);         // BTYPE fixed Huffman
  w.FixedLiteral('a');  // literal 'a'
  w.FixedLiteral(285);  // length symbol 285
  w.Bits(0xFFFF, 16);   // its 16 extra bits: length 3 + 65535
  w.FixedDistance(0);   // distance code 0: distance 1
  w.FixedLiteral(256);  // end of block
  TInflated out = Inflate(w.Data(), 15 | dfc_UseDeflate64);
  EXPECT_EQ(out.Data, Bytes(65539, 'a'));
}

// Deflate64: three matches of 65538 in a row reach past the write point by more than one
// slice; the window must make room for each (a crash the fuzzer found).
TEST(InflateStream, Deflate64LongMatchesInARowStayInTheWindow) {
  TBitWriter w;
  w.Bits(1, 1);  // BFINAL
  w.Bits(1, 2);  // BTYPE fixed Huffman
  w.FixedLiteral('a');
  for (int i = 0; i < 3; ++i) {
    w.FixedLiteral(285);  // length symbol 285
    w.Bits(0xFFFF, 16);   // length 65538
    w.FixedDistance(0);   // distance 1
  }
  w.FixedLiteral(256);
  EXPECT_EQ(Inflate(w.Data(), 15 | dfc_UseDeflate64).Data, Bytes(1 + 3 * 65538, 'a'));
}

// Deflate64: distance codes 30 and 31 reach up to 64 KB back.
TEST(InflateStream, Deflate64DistanceCode31ReachesBeyond32K) {
  Bytes prefix = RandomBytes(60000, 9);
  TBitWriter w;
  w.StoredHeader(false, 60000, ~60000u & 0xFFFF);  // not final, LEN 60000, its NLEN
  for (uint8_t b : prefix) w.Byte(b);
  w.Bits(1, 1);               // BFINAL
  w.Bits(1, 2);               // fixed Huffman
  w.FixedLiteral(265);        // length 11 + 1 extra bit
  w.Bits(0, 1);               // extra 0: length 11
  w.FixedDistance(31);        // distance base 49153, 14 extra bits
  w.Bits(59999 - 49153, 14);  // extra: distance 59999
  w.FixedLiteral(256);
  Bytes expected = prefix;
  size_t distance = 49153 + (59999 - 49153);
  for (int i = 0; i < 11; ++i) expected.push_back(expected[expected.size() - distance]);
  EXPECT_EQ(Inflate(w.Data(), 15 | dfc_UseDeflate64).Data, expected);
}

TEST(InflateStream, OutputBeyondTheAnnouncedSizeIsCorrupt) {
  Bytes input = BookLikeText(100000, 6);
  Bytes stream = ZlibDeflate(input, 6);
  EXPECT_EQ(Inflate(stream, 15, 0, 100000).Data, input);
  TMemoryStream source, target;
  LoadBytes(source, stream);
  TArDeflateHelper helper;
  helper.MaxNormalSize = 99999;
  try {
    InflateStream(source, &target, &helper);
    FAIL() << "no error";
  } catch (const EArInflateError& e) {
    EXPECT_EQ(e.Fault(), TArInflateFault::OutputTooLong);
    EXPECT_STREQ(e.what(),
                 "Archiver inflate error, possibly a corrupted compressed stream. (Internal cause: decoded more bytes "
                 "than announced [DecodeData])");
  }
  // Nothing past the announced size reaches the target.
  EXPECT_EQ(target.Size(), 99999);
}

TEST(InflateStream, TruncatedStreamKeepsWhatWasDecodedAndNamesTheBitReader) {
  Bytes input = BookLikeText(50000, 8);
  Bytes stream = ZlibDeflate(input, 6);
  stream.resize(stream.size() / 2);
  EXPECT_FALSE(ZlibAccepts(stream));
  TMemoryStream source, target;
  LoadBytes(source, stream);
  try {
    InflateStream(source, &target, nullptr);
    FAIL() << "no error";
  } catch (const EArInflateError& e) {
    EXPECT_EQ(e.Fault(), TArInflateFault::InputEndDiscard);
    EXPECT_TRUE(std::string(e.what()).ends_with("no more compressed data in stream [TArDfInBitStream.DiscardBits])"));
    EXPECT_EQ(e.Position(), target.Size());
  }
  Bytes kept = StreamBytes(target);
  ASSERT_GT(kept.size(), 0u);
  EXPECT_TRUE(std::equal(kept.begin(), kept.end(), input.begin()));
}

// --- Malformed streams, each written field by field and refused by zlib too ---------

struct TMalformed {
  const char* Name;
  Bytes Stream;
  TArInflateFault Fault;
  const char* Cause;
  uint32_t Options = 15;
};

// A dynamic block header with the given counts and code-length code lengths (in the
// header's order), before any literal/length code lengths.
void DynamicHeader(TBitWriter& w, uint32_t hlit, uint32_t hdist, std::initializer_list<uint32_t> clLengths) {
  w.Bits(1, 1);                                            // BFINAL
  w.Bits(2, 2);                                            // BTYPE dynamic
  w.Bits(hlit - 257, 5);                                   // HLIT
  w.Bits(hdist - 1, 5);                                    // HDIST
  w.Bits(static_cast<uint32_t>(clLengths.size()) - 4, 4);  // HCLEN
  for (uint32_t length : clLengths) w.Bits(length, 3);     // code-length code lengths, order 16 17 18 0 8 ...
}

std::vector<TMalformed> MalformedStreams() {
  std::vector<TMalformed> cases;
  {
    TBitWriter w;
    w.Bits(1, 1);  // BFINAL
    w.Bits(3, 2);  // BTYPE 3: reserved
    w.Bits(0, 5);  // padding
    cases.push_back({"reserved block type", w.Data(), TArInflateFault::BlockType,
                     "starting new block, but invalid block type [Inflate]"});
  }
  {
    TBitWriter w;
    w.StoredHeader(true, 5, 0xFFFF);  // final, LEN 5, NLEN 0xFFFF where 0xFFFA belongs
    for (int i = 0; i < 5; ++i) w.Byte('z');
    cases.push_back({"stored NLEN mismatch", w.Data(), TArInflateFault::StoredLength,
                     "invalid stored block (length and NOT length do not match) [InflateStoredBlock]"});
  }
  {
    TBitWriter w;
    DynamicHeader(w, 287, 1, {0, 0, 0, 1});  // HLIT 287: above 286
    w.Bits(0, 16);
    cases.push_back({"HLIT above 286", w.Data(), TArInflateFault::LiteralCount,
                     "count of literal codes in dynamic block is greater than 286 [InflateDynamicBlock]"});
  }
  {
    TBitWriter w;
    DynamicHeader(w, 257, 31, {0, 0, 0, 1});  // HDIST 31: above 30 in deflate
    w.Bits(0, 16);
    cases.push_back({"HDIST above 30", w.Data(), TArInflateFault::DistanceCount,
                     "count of distance codes in dynamic block is greater than 30 [InflateDynamicBlock]"});
  }
  {
    TBitWriter w;
    // Code-length code: symbols 16 and 0 with 1 bit each (0 -> "0", 16 -> "1": symbol order).
    DynamicHeader(w, 257, 1, {1, 0, 0, 1});
    w.Code(1, 1);  // symbol 16: repeat the previous length, but there is none
    w.Bits(0, 2);  // repeat 3
    w.Bits(0, 16);
    cases.push_back({"repeat before any length", w.Data(), TArInflateFault::RepeatWithoutLength,
                     "repeated a code length before any was given {ReadLitDistCodeLengths}"});
  }
  {
    TBitWriter w;
    // Code-length code: 18 and 0 with 1 bit each (0 -> "0", 18 -> "1": symbol order).
    DynamicHeader(w, 257, 1, {0, 0, 1, 1});
    for (int i = 0; i < 2; ++i) {
      w.Code(1, 1);    // symbol 18: zeros
      w.Bits(127, 7);  // 138 of them
    }
    // 276 zeros written; 258 codes in all, so the second run went past the count.
    w.Bits(0, 8);
    cases.push_back({"zero run past the codes", w.Data(), TArInflateFault::CodeLengthOverflow,
                     "code lengths run past the count of codes {ReadLitDistCodeLengths}"});
  }
  {
    TBitWriter w;
    // Code-length code with three 1-bit codes (symbols 18, 0, 8): more than 1 bit allows.
    DynamicHeader(w, 257, 1, {0, 0, 1, 1, 1});
    w.Bits(0, 16);
    cases.push_back({"oversubscribed code-length code", w.Data(), TArInflateFault::OversubscribedCode,
                     "code lengths describe more codes than bits allow [BuildHuffmanTree]"});
  }
  {
    TBitWriter w;
    // Code-length code: only symbol 1 with a 1-bit code "0"; the bit "1" matches nothing.
    DynamicHeader(w, 257, 1, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1});
    w.Code(1, 1);  // no code starts with 1
    w.Bits(0, 16);
    cases.push_back({"bits matching no code-length code", w.Data(), TArInflateFault::CodeLength,
                     "decoded a code length out of range {ReadLitDistCodeLengths}"});
  }
  {
    TBitWriter w;
    w.Bits(1, 1);         // BFINAL
    w.Bits(1, 2);         // fixed
    w.FixedLiteral('a');  // one byte of output
    w.FixedLiteral(257);  // length 3
    w.FixedDistance(1);   // distance 2: before the first byte
    w.FixedLiteral(256);
    cases.push_back({"distance before the output", w.Data(), TArInflateFault::DistanceTooFar,
                     "distance reaches before the start of the output [DecodeData]"});
  }
  {
    TBitWriter w;
    w.Bits(1, 1);         // BFINAL
    w.Bits(1, 2);         // fixed
    w.FixedLiteral(286);  // length symbol 286: outside the alphabet in use
    w.FixedLiteral(256);
    cases.push_back({"length symbol 286", w.Data(), TArInflateFault::LengthSymbol,
                     "decoded an invalid length symbol: greater than 285 [DecodeData]"});
  }
  {
    TBitWriter w;
    w.Bits(1, 1);  // BFINAL
    w.Bits(1, 2);  // fixed
    w.FixedLiteral('a');
    w.FixedLiteral(257);  // length 3
    w.FixedDistance(30);  // distance code 30: deflate64 only
    w.Bits(0, 14);
    w.FixedLiteral(256);
    cases.push_back({"distance code 30", w.Data(), TArInflateFault::DistanceSymbol,
                     "decoded an invalid distance symbol: greater than 29 [DecodeData]"});
  }
  {
    TBitWriter w;
    w.Bits(0, 1);  // BFINAL no
    w.Bits(1, 2);  // fixed
    w.FixedLiteral('a');
    w.FixedLiteral(256);  // end of block; the stream ends without a final block
    cases.push_back({"no final block", w.Data(), TArInflateFault::InputEndBits,
                     "no more compressed data in stream [TArDfInBitStream.ReadBits]"});
  }
  {
    TBitWriter w;
    w.StoredHeader(true, 10, ~10u & 0xFFFF);  // final, LEN 10, its NLEN
    for (int i = 0; i < 4; ++i) w.Byte('z');  // only 4 of the 10 bytes
    cases.push_back({"stored block cut short", w.Data(), TArInflateFault::InputEndBuffer,
                     "no more compressed data in stream [TArDfInBitStream.ReadBuffer]"});
  }
  return cases;
}

TEST(InflateStream, RejectsMalformedStreamsThatZlibRejects) {
  for (const TMalformed& c : MalformedStreams()) {
    SCOPED_TRACE(c.Name);
    EXPECT_FALSE(ZlibAccepts(c.Stream));
    TMemoryStream source, target;
    LoadBytes(source, c.Stream);
    TArDeflateHelper helper;
    helper.SetOptions(c.Options);
    try {
      InflateStream(source, &target, &helper);
      ADD_FAILURE() << "accepted";
    } catch (const EArInflateError& e) {
      EXPECT_EQ(e.Fault(), c.Fault);
      EXPECT_EQ(std::string(e.what()),
                std::string("Archiver inflate error, possibly a corrupted compressed stream. (Internal cause: ") +
                    c.Cause + ")");
    }
  }
}

TEST(InflateStream, Deflate64AcceptsThe32DistanceCodesThatDeflateRefuses) {
  TBitWriter w;
  DynamicHeader(w, 257, 31, {0, 0, 0, 1});
  w.Bits(0, 16);
  TMemoryStream source, target;
  LoadBytes(source, w.Data());
  TArDeflateHelper helper;
  helper.SetOptions(15 | dfc_UseDeflate64);
  try {
    InflateStream(source, &target, &helper);
    FAIL();
  } catch (const EArInflateError& e) {
    // Past the count check: the code-length code of one symbol cannot be completed.
    EXPECT_NE(e.Fault(), TArInflateFault::DistanceCount);
  }
}

}  // namespace
