// The deflate engine: its output inflated by zlib and by our inflate, byte for byte.
#include <gtest/gtest.h>

#include <numeric>

#include "archive/ArDfCryS.h"
#include "archive/ArDfDec.h"
#include "archive/ArDfEnc.h"
#include "archive/ArDfPkMg.h"
#include "archive/ArExcept.h"
#include "archive/ArchiveTestSupport.h"

namespace {

struct TDeflated {
  Bytes Data;
  uint32_t Checksum;
  TArDeflateHelper Helper;
};

TDeflated Deflate(const Bytes& input, const TArDeflateHelper& options) {
  TMemoryStream source, target;
  LoadBytes(source, input);
  TDeflated result;
  result.Helper.Assign(options);
  result.Checksum = DeflateStream(source, target, &result.Helper);
  result.Data = StreamBytes(target);
  return result;
}

TArDeflateHelper Options(uint32_t options, int32_t ample = 8, int32_t chain = 32, int32_t lazy = 16) {
  TArDeflateHelper helper;
  helper.SetOptions(options);
  helper.SetAmpleLength(ample);
  helper.SetChainLength(chain);
  helper.SetMaxLazyLength(lazy);
  return helper;
}

Bytes OurInflate(const Bytes& stream, uint32_t options) {
  TMemoryStream source, target;
  LoadBytes(source, stream);
  TArDeflateHelper helper;
  helper.SetOptions(options);
  InflateStream(source, &target, &helper);
  return StreamBytes(target);
}

// A grey-scale picture: smooth gradients with noise, rows of 640 bytes.
Bytes ImageLikeBytes(size_t rows) {
  Bytes noise = RandomBytes(rows * 640, 9, 6);
  Bytes out(rows * 640);
  for (size_t y = 0; y < rows; ++y)
    for (size_t x = 0; x < 640; ++x) out[y * 640 + x] = static_cast<uint8_t>((x / 3 + y / 2) + noise[y * 640 + x]);
  return out;
}

struct TInput {
  const char* Name;
  Bytes Data;
};

std::vector<TInput> Inputs() {
  return {{"book text", BookLikeText(300000, 4)},
          {"random bytes", RandomBytes(100000, 5)},
          {"four-symbol noise", RandomBytes(120000, 6, 4)},
          {"image", ImageLikeBytes(200)},
          {"one long run", Bytes(200000, 'x')},
          {"one byte", Bytes{'q'}},
          {"two bytes", Bytes{'q', 'r'}},
          {"empty", Bytes{}}};
}

struct TSetting {
  const char* Name;
  TArDeflateHelper Helper;
};

// Every method, with and without lazy matching, and the search limits from fast to
// exhaustive (-1 for unbounded).
std::vector<TSetting> Settings() {
  return {{"stored", Options(dfc_Stored)},
          {"fixed, lazy", Options(dfc_FixedHuffman | dfc_UseLazyMatch)},
          {"fixed, greedy", Options(dfc_FixedHuffman)},
          {"dynamic, lazy", Options(dfc_DynamicHuffman | dfc_UseLazyMatch)},
          {"dynamic, greedy", Options(dfc_DynamicHuffman)},
          {"smallest, defaults", TArDeflateHelper()},
          {"smallest, fastest", Options(7, 4, 4, 4)},
          {"smallest, thorough", Options(15, 258, 4096, 258)},
          {"smallest, unbounded", Options(15, -1, -1, -1)},
          {"smallest, greedy", Options(7)}};
}

TEST(DeflateStream, ZlibAndOurInflateGiveBackTheInputForEveryMethodAndInput) {
  for (const TInput& input : Inputs()) {
    for (const TSetting& setting : Settings()) {
      SCOPED_TRACE(std::string(input.Name) + ", " + setting.Name);
      TDeflated out = Deflate(input.Data, setting.Helper);
      EXPECT_EQ(out.Checksum, ZlibCrc(input.Data));
      EXPECT_EQ(out.Helper.NormalSize, static_cast<int64_t>(input.Data.size()));
      EXPECT_EQ(out.Helper.CompressedSize, static_cast<int64_t>(out.Data.size()));
      if (input.Data.empty() && setting.Helper.Options() == dfc_Stored) {
        EXPECT_TRUE(out.Data.empty());  // nothing at all for an empty source
        continue;
      }
      EXPECT_EQ(ZlibInflateAll(out.Data), input.Data);
      EXPECT_EQ(OurInflate(out.Data, 15), input.Data);
    }
  }
}

TEST(DeflateStream, CompressesAboutAsWellAsZlib) {
  // The default search (a chain of 32, doubled to 64 on text) is shorter than zlib's at
  // level 6 (128): within 15 % of it; a thorough search within 3 % of zlib's level 9;
  // random data never grows by more than the stored blocks' headers.
  struct TCase {
    const char* Name;
    Bytes Data;
    TArDeflateHelper Options;
    int ZlibLevel;
    double Slack;
  } cases[] = {{"book text", BookLikeText(300000, 7), TArDeflateHelper(), 6, 1.15},
               {"image", ImageLikeBytes(200), TArDeflateHelper(), 6, 1.15},
               {"book text, thorough", BookLikeText(300000, 7), Options(15, 258, 4096, 258), 9, 1.03},
               {"image, thorough", ImageLikeBytes(200), Options(15, 258, 4096, 258), 9, 1.03},
               {"random bytes", RandomBytes(100000, 8), TArDeflateHelper(), 6, 1.001}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    size_t ours = Deflate(c.Data, c.Options).Data.size();
    size_t zlib = ZlibDeflate(c.Data, c.ZlibLevel).size();
    EXPECT_LE(static_cast<double>(ours), static_cast<double>(zlib) * c.Slack) << ours << " vs " << zlib;
  }
}

TEST(DeflateStream, EmptySourceGivesOneFixedBlockWithOnlyEndOfBlock) {
  // 1 (final) + 01 (fixed) + seven zero bits of end-of-block, padded.
  for (uint32_t method : {dfc_FixedHuffman, dfc_DynamicHuffman, 7u}) {
    SCOPED_TRACE(method);
    Bytes out = Deflate({}, Options(method)).Data;
    if (method == dfc_DynamicHuffman) {
      EXPECT_EQ(out[0] & 7, 5);  // final, dynamic
      EXPECT_TRUE(ZlibInflateAll(out).empty());
    } else {
      EXPECT_EQ(out, (Bytes{0x03, 0x00}));
    }
  }
}

TEST(DeflateStream, RandomDataIsWrittenAsStoredBlocksWhenSizesAreCompared) {
  Bytes input = RandomBytes(40000, 11);
  Bytes out = Deflate(input, TArDeflateHelper()).Data;
  EXPECT_EQ(out[0] & 6, 0);  // block type 0
  // Blocks end at 32767 tokens: two stored blocks of 5 header bytes each.
  EXPECT_EQ(out.size(), input.size() + 2 * 5);
  EXPECT_EQ(ZlibInflateAll(out), input);
}

TEST(DeflateStream, StoredMethodWritesPiecesOf65535Bytes) {
  Bytes input = BookLikeText(140000, 12);
  Bytes out = Deflate(input, Options(dfc_Stored)).Data;
  ASSERT_EQ(out.size(), input.size() + 3 * 5);
  // first piece: not final, LEN 65535, NLEN 0
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 5), (Bytes{0x00, 0xFF, 0xFF, 0x00, 0x00}));
  EXPECT_EQ(out[65540], 0x00);
  EXPECT_EQ(out[2 * 65540], 0x01);  // the last piece is final
  EXPECT_EQ(ZlibInflateAll(out), input);
}

TEST(DeflateStream, AdlerOptionGivesTheAdler32OfTheSource) {
  Bytes input = BookLikeText(50000, 13);
  for (uint32_t method : {dfc_Stored, 15u}) {
    TDeflated out = Deflate(input, Options(method | dfc_UseAdler32));
    EXPECT_EQ(out.Checksum, adler32(1, input.data(), static_cast<uInt>(input.size())));
  }
}

TEST(DeflateStream, Deflate64UsesMatchesBeyond258BytesAnd32KBack) {
  // 40 KB of noise repeated: the repeat is one match 40 KB back, which only deflate64
  // can express; plain deflate must make do with 258-byte matches.
  Bytes noise = RandomBytes(40000, 14);
  Bytes input = noise;
  input.insert(input.end(), noise.begin(), noise.end());
  TArDeflateHelper options = Options(15 | dfc_UseDeflate64);
  options.WindowSize = 65536;
  Bytes out64 = Deflate(input, options).Data;
  EXPECT_EQ(OurInflate(out64, 15 | dfc_UseDeflate64), input);
  EXPECT_LT(out64.size(), noise.size() + 1000);
  Bytes out = Deflate(input, TArDeflateHelper()).Data;
  EXPECT_GT(out.size(), input.size() - 100);  // 32 KB window: the repeat is out of reach
  EXPECT_EQ(ZlibInflateAll(out), input);
  // A long run makes 65536-byte matches, coded with symbol 285 and 16 extra bits.
  Bytes run(300000, 'z');
  Bytes runOut = Deflate(run, options).Data;
  EXPECT_EQ(OurInflate(runOut, 15 | dfc_UseDeflate64), run);
  EXPECT_LT(runOut.size(), 60u);
}

TEST(DeflateStream, PassphraseEncryptsTheOutputBehindAHeader) {
  Bytes input = BookLikeText(30000, 15);
  TArDeflateHelper options;
  options.Passphrase = "secret";
  options.CheckValue = ZlibCrc(input);
  TDeflated out = Deflate(input, options);
  Bytes plain = Deflate(input, TArDeflateHelper()).Data;
  EXPECT_EQ(out.Data.size(), plain.size() + 12);
  EXPECT_EQ(out.Helper.CompressedSize, static_cast<int64_t>(plain.size() + 12));

  TMemoryStream source, target;
  LoadBytes(source, out.Data);
  TArDeflateHelper inflate;
  inflate.Passphrase = "secret";
  inflate.CheckValue = options.CheckValue;
  EXPECT_EQ(InflateStream(source, &target, &inflate), ZlibCrc(input));
  EXPECT_EQ(StreamBytes(target), input);
  // The decrypted bytes after the header are the plain deflate stream.
  TMemoryStream cipher;
  LoadBytes(cipher, out.Data);
  TArDfDecryptStream decrypt(cipher, "secret", options.CheckValue);
  ASSERT_TRUE(decrypt.CheckHeader());
  Bytes decrypted(plain.size());
  decrypt.ReadBuffer(decrypted.data(), static_cast<int32_t>(decrypted.size()));
  EXPECT_EQ(decrypted, plain);
}

TEST(DeflateStream, ProgressReachesTheEndAndAnAbortGivesZero) {
  Bytes input = BookLikeText(100000, 16);
  std::vector<int32_t> seen;
  TArDeflateHelper options;
  options.StreamSize = -1;
  options.ProgressStep = [&](int32_t percent) { seen.push_back(percent); };
  EXPECT_EQ(Deflate(input, options).Checksum, ZlibCrc(input));
  ASSERT_FALSE(seen.empty());
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_EQ(seen.back(), 98);  // the last 4096-byte mark before 100000

  options.ProgressStep = [](int32_t percent) {
    if (percent >= 50) throw EArAbortProgress("stop");
  };
  EXPECT_EQ(Deflate(input, options).Checksum, 0u);
}

// A destination that takes nothing.
class TFullStream : public TStream {
public:
  int32_t Read(void*, int32_t) override { return 0; }
  int32_t Write(const void*, int32_t) override { return 0; }
  int64_t Seek(int64_t, TSeekOrigin) override { return 0; }
};

TEST(DeflateStream, AFailedWriteRaisesTheDeflateError) {
  TMemoryStream source;
  LoadBytes(source, BookLikeText(100000, 17));
  TFullStream full;
  try {
    DeflateStream(source, full, nullptr);
    FAIL() << "no exception";
  } catch (const EArDeflateError& e) {
    EXPECT_STREQ(e.what(),
                 "Archiver deflate error. (Internal cause: could not write to the output stream "
                 "[TArDfInBitStream.obsEmptyBuffer])");
  }
}

// Kraft's sum of the lengths in units of 2^-limit.
uint64_t KraftSum(const std::vector<uint8_t>& lengths, int limit) {
  uint64_t sum = 0;
  for (uint8_t l : lengths)
    if (l) sum += uint64_t{1} << (limit - l);
  return sum;
}

TEST(PackageMerge, GivesCompleteCodesWithinTheLimit) {
  struct TCase {
    std::vector<uint32_t> Frequencies;
    int Limit;
    std::vector<uint8_t> Expected;  // empty: only complete and within the limit
  } cases[] = {
      {{1, 1, 2, 4}, 15, {3, 3, 2, 1}},                // plain Huffman
      {{1, 1, 2, 4}, 2, {2, 2, 2, 2}},                 // the limit flattens it
      {{0, 0, 7, 0}, 15, {0, 0, 1, 0}},                // one symbol: one bit
      {{0, 0, 0}, 7, {1, 0, 0}},                       // none: the first gets one bit
      {{5, 0, 5}, 7, {1, 0, 1}},        {{}, 15, {}},  // Fibonacci weights, filled below
  };
  // Fibonacci weights make an unlimited code 25 bits deep.
  cases[5].Frequencies.resize(26);
  cases[5].Frequencies[0] = cases[5].Frequencies[1] = 1;
  for (size_t i = 2; i < 26; ++i) cases[5].Frequencies[i] = cases[5].Frequencies[i - 1] + cases[5].Frequencies[i - 2];
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Frequencies.size());
    std::vector<uint8_t> lengths(c.Frequencies.size());
    PackageMergeLengths(c.Frequencies, c.Limit, lengths);
    if (!c.Expected.empty()) {
      EXPECT_EQ(lengths, c.Expected);
    }
    EXPECT_LE(*std::max_element(lengths.begin(), lengths.end()), c.Limit);
    size_t used = static_cast<size_t>(std::count_if(lengths.begin(), lengths.end(), [](uint8_t l) { return l; }));
    if (used >= 2) {
      EXPECT_EQ(KraftSum(lengths, c.Limit), uint64_t{1} << c.Limit);
    }
  }
}

TEST(DfEncryptStream, HeaderPassesTheOneAndTwoByteChecks) {
  const uint32_t check = 0xA1B2C3D4;
  TMemoryStream target;
  uint8_t next = 0;
  TArDfEncryptStream encrypt(target, "pass", check, [&] { return next++; });
  const char text[] = "attack at dawn";
  encrypt.WriteBuffer(text, sizeof text);
  EXPECT_EQ(target.Size(), 12 + static_cast<int64_t>(sizeof text));
  // Decrypting the header by hand shows both check bytes.
  Bytes written = StreamBytes(target);
  TArZipKeys keys("pass");
  Bytes header(12);
  for (size_t i = 0; i < 12; ++i) header[i] = keys.Decrypt(written[i]);
  EXPECT_EQ(header[10], 0xB2);
  EXPECT_EQ(header[11], 0xA1);
  target.SetPosition(0);
  TArDfDecryptStream decrypt(target, "pass", check);
  ASSERT_TRUE(decrypt.CheckHeader());
  char back[sizeof text];
  decrypt.ReadBuffer(back, sizeof back);
  EXPECT_STREQ(back, text);
  // Another password fails the check (this one by its last byte) and rewinds.
  target.SetPosition(0);
  TArDfDecryptStream wrong(target, "Pass", check);
  EXPECT_FALSE(wrong.CheckHeader());
  EXPECT_EQ(target.Position(), 0);
}

}  // namespace
