// The optimised compressor against the plain encoder of ReferenceLZSS.cpp, byte for
// byte, on inputs that reach every path of the search: alphabets of 2 to 256 symbols,
// long runs (white and black pages), periodic strings that make deep trees and splays,
// every size up to 100, sizes around the block length, and the benchmark's pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "wolf/LZSSPageImages.h"
#include "wolf/LZSSTestSupport.h"
#include "wolf/ReferenceLZSS.h"
#include "wolf/uLZSS32.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Reports the first differing byte rather than two dumps of kilobytes.
void ExpectSameAsReference(TLZSSCompressor& compressor, const Bytes& input, size_t chunkBytes = LZSSBlockBytes) {
  const Bytes expected = ReferenceLZSSCompress(input);
  const Bytes actual = CompressLZSS(compressor, input, nullptr, chunkBytes);
  const auto [e, a] = std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
  EXPECT_TRUE(e == expected.end() && a == actual.end())
      << "first difference at output byte " << (e - expected.begin()) << " of " << expected.size() << " expected, "
      << actual.size() << " produced";
}

Bytes RandomBytes(std::mt19937& random, size_t size, uint32_t symbols) {
  Bytes bytes(size);
  // Spread the symbols over the byte range, so that small alphabets are not all low bytes.
  for (uint8_t& b : bytes) b = static_cast<uint8_t>((random() % symbols) * (256 / symbols));
  return bytes;
}

// Runs of one byte of random lengths (up to a few thousand) between stretches of noise
// from a small alphabet, like the rows of a page.
Bytes Mixture(std::mt19937& random, size_t size) {
  Bytes bytes;
  while (bytes.size() < size) {
    const uint8_t value = random() % 3 == 0 ? static_cast<uint8_t>(random()) : uint8_t{0xFF};
    bytes.insert(bytes.end(), 1 + random() % (random() % 4 == 0 ? 5000 : 60), value);
    const Bytes noise = RandomBytes(random, random() % 200, 1u << (1 + random() % 3));
    bytes.insert(bytes.end(), noise.begin(), noise.end());
  }
  bytes.resize(size);
  return bytes;
}

// Strings repeated with a period, each period perturbed now and then: most searches
// run long and equal-length ties are everywhere.
Bytes Periodic(std::mt19937& random, size_t size, size_t period) {
  const Bytes unit = RandomBytes(random, period, 4);
  Bytes bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = random() % 997 == 0 ? static_cast<uint8_t>(random()) : unit[i % period];
  return bytes;
}

// Words drawn from a small vocabulary, separated by runs of blanks.
Bytes Words(std::mt19937& random, size_t size) {
  std::vector<Bytes> vocabulary(50);
  for (Bytes& word : vocabulary) word = RandomBytes(random, 2 + random() % 12, 16);
  Bytes bytes;
  while (bytes.size() < size) {
    const Bytes& word = vocabulary[random() % vocabulary.size()];
    bytes.insert(bytes.end(), word.begin(), word.end());
    bytes.insert(bytes.end(), 1 + random() % 40, uint8_t{0xFF});
  }
  bytes.resize(size);
  return bytes;
}

// The reference itself agrees with the independent Python transcription's golden files.
TEST(LZSSCompressDifferential, ReferenceReproducesTheGoldenFiles) {
  for (const char* name : {"lzss_page", "lzss_mixed", "lzss_chains"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(ReferenceLZSSCompress(ReadLZSSFixture(std::string(name) + ".in")),
              ReadLZSSFixture(std::string(name) + ".out"));
  }
}

TEST(LZSSCompressDifferential, MatchesTheReferenceOnRandomBytesOfEveryAlphabetSize) {
  std::mt19937 random(101);
  TLZSSCompressor compressor;
  for (const uint32_t symbols : {2u, 4u, 16u, 256u}) {
    SCOPED_TRACE(symbols);
    ExpectSameAsReference(compressor, RandomBytes(random, 70000, symbols));
  }
}

TEST(LZSSCompressDifferential, MatchesTheReferenceOnRunsOfEqualBytes) {
  TLZSSCompressor compressor;
  // 0x00 equals the zeroed ring before the input, 0xFF is a white 2-bit page.
  for (const uint8_t value : {uint8_t{0xFF}, uint8_t{0x00}, uint8_t{0x55}}) {
    SCOPED_TRACE(static_cast<int>(value));
    ExpectSameAsReference(compressor, Bytes(120000, value));
  }
  std::mt19937 random(102);
  ExpectSameAsReference(compressor, Mixture(random, 200000));
}

TEST(LZSSCompressDifferential, MatchesTheReferenceOnDeepTreesAndTies) {
  std::mt19937 random(103);
  TLZSSCompressor compressor;
  for (const size_t period : {size_t{2}, size_t{3}, size_t{7}, size_t{17}, size_t{18}, size_t{19}, size_t{40},
                              size_t{1000}, size_t{4095}, size_t{4096}, size_t{4097}}) {
    SCOPED_TRACE(period);
    ExpectSameAsReference(compressor, Periodic(random, 30000, period));
  }
  ExpectSameAsReference(compressor, Words(random, 150000));
}

TEST(LZSSCompressDifferential, MatchesTheReferenceOnEverySizeUpTo100) {
  std::mt19937 random(104);
  TLZSSCompressor compressor;
  for (size_t size = 0; size <= 100; ++size) {
    SCOPED_TRACE(size);
    ExpectSameAsReference(compressor, RandomBytes(random, size, 2));
    ExpectSameAsReference(compressor, RandomBytes(random, size, 256));
    ExpectSameAsReference(compressor, Mixture(random, size));
  }
}

TEST(LZSSCompressDifferential, MatchesTheReferenceAroundTheBlockLength) {
  std::mt19937 random(105);
  TLZSSCompressor compressor;
  for (const size_t size : {size_t{LZSSBlockBytes - 1}, size_t{LZSSBlockBytes}, size_t{LZSSBlockBytes + 1},
                            size_t{2 * LZSSBlockBytes + 17}}) {
    SCOPED_TRACE(size);
    ExpectSameAsReference(compressor, Mixture(random, size));
  }
  // Incompressible input makes more than a block of output.
  ExpectSameAsReference(compressor, RandomBytes(random, 300000, 256));
  // Read blocks shorter than the buffer and of odd lengths.
  ExpectSameAsReference(compressor, Words(random, 100000), 4099);
}

TEST(LZSSCompressDifferential, MatchesTheReferenceOnPageImages) {
  TLZSSCompressor compressor;
  {
    SCOPED_TRACE("text page");
    ExpectSameAsReference(compressor, LZSSTextPage());
  }
  {
    SCOPED_TRACE("dithered photo");
    ExpectSameAsReference(compressor, LZSSPhotoPage());
  }
}

}  // namespace
