#include "wolf/uLZSS32.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "wolf/LZSSTestSupport.h"
#include "wolf/WolfFileReader.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Compress(const Bytes& input) {
  TLZSSCompressor compressor;
  return CompressLZSS(compressor, input);
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

struct Vector {
  const char* Name;
  Bytes Input;
  Bytes Output;
};

TEST(LZSSCompress, ProducesTheFormatsExampleVectors) {
  const std::vector<Vector> vectors = {
      {"empty input writes nothing", {}, {}},
      {"abc", Text("abc"), {0x07, 0x61, 0x62, 0x63}},
      // a match of 6 bytes at ring position 4078 (0xFEE): EE, (0xF << 4) | (6 - 3)
      {"abc three times", Text("abcabcabc"), {0x07, 0x61, 0x62, 0x63, 0xEE, 0xF3}},
      // one literal, then an overlapping match of 9 at the previous position
      {"ten letters a", Text("aaaaaaaaaa"), {0x01, 0x61, 0xEE, 0xF6}},
      // eight literals fill a group; the final group is empty but still written
      {"eight literals", Text("abcdefgh"), {0xFF, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x00}},
  };
  for (const Vector& v : vectors) {
    SCOPED_TRACE(v.Name);
    EXPECT_EQ(Compress(v.Input), v.Output);
  }
}

TEST(LZSSCompress, LongMatchesNeverExceed18BytesAndWrapTheRing) {
  // 4100 equal bytes: after the first literal every item is a full 18-byte match at the
  // position just behind r, so the match positions walk round the ring.
  const Bytes input(4100, 'x');
  const Bytes out = Compress(input);
  EXPECT_EQ(out[0], 0x01);
  EXPECT_EQ(out[1], 'x');
  EXPECT_EQ(out[2], 0xEE);  // position 4078
  EXPECT_EQ(out[3], 0xFF);  // (0xF << 4) | (18 - 3)
  EXPECT_EQ(DecodeWolfLZSS(out, input.size(), 0), input);
}

TEST(LZSSCompress, OutputReachesWriteBlockInFullBlocksAndOneFinalPartialBlock) {
  std::mt19937 random(7);
  Bytes input(300000);
  for (uint8_t& b : input) b = static_cast<uint8_t>(random());
  TLZSSCompressor compressor;
  std::vector<int32_t> blocks;
  const Bytes out = CompressLZSS(compressor, input, &blocks);
  ASSERT_GT(out.size(), static_cast<size_t>(LZSSBlockBytes));
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[0], LZSSBlockBytes);
  EXPECT_EQ(static_cast<size_t>(blocks[1]), out.size() - LZSSBlockBytes);
  EXPECT_EQ(DecodeWolfLZSS(out, input.size(), 0), input);
}

TEST(LZSSCompress, OutputDoesNotDependOnHowTheInputIsChunkedOrOnEarlierRuns) {
  // Runs of white with text-like noise: the trees degenerate and get splayed.
  std::mt19937 random(11);
  Bytes input;
  for (int row = 0; row < 400; ++row)
    for (int x = 0; x < 150; ++x)
      input.push_back(row % 20 < 12 && random() % 7 == 0 ? static_cast<uint8_t>(random() % 4 * 0x55) : 0xFF);
  TLZSSCompressor compressor;
  const Bytes whole = CompressLZSS(compressor, input);
  EXPECT_EQ(CompressLZSS(compressor, Text("unrelated earlier image data")),
            Compress(Text("unrelated earlier image data")));
  EXPECT_EQ(CompressLZSS(compressor, input, nullptr, 1000), whole);
  EXPECT_EQ(CompressLZSS(compressor, input, nullptr, 1), whole);
  for (const uint8_t fill : {uint8_t{0}, uint8_t{0x20}, uint8_t{'a'}}) {
    SCOPED_TRACE(fill);
    EXPECT_EQ(DecodeWolfLZSS(whole, input.size(), fill), input);
  }
}

// The golden outputs come from the plain reference encoder of make_lzss_golden.py; the
// chains input makes searches deep enough to splay.
TEST(LZSSCompress, MatchesTheReferenceEncoderByteForByte) {
  TLZSSCompressor compressor;
  for (const char* name : {"lzss_page", "lzss_mixed", "lzss_chains"}) {
    SCOPED_TRACE(name);
    const Bytes input = ReadLZSSFixture(std::string(name) + ".in");
    ASSERT_FALSE(input.empty());
    EXPECT_EQ(CompressLZSS(compressor, input), ReadLZSSFixture(std::string(name) + ".out"));
  }
}

TEST(LZSSCompress, RoundTripsMixedData) {
  std::mt19937 random(3);
  for (const size_t size : {size_t{1}, size_t{2}, size_t{17}, size_t{18}, size_t{19}, size_t{4095}, size_t{4096},
                            size_t{4097}, size_t{70000}}) {
    SCOPED_TRACE(size);
    Bytes input(size);
    for (size_t i = 0; i < size; ++i)
      input[i] = (i / 64) % 3 == 0 ? static_cast<uint8_t>(random() % 3) : static_cast<uint8_t>(i % 251);
    EXPECT_EQ(DecodeWolfLZSS(Compress(input), size, 0), input);
  }
}

}  // namespace
