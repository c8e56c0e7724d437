// The bit bucket: what it keeps of a long write, where it lets a reader go, and its
// errors with their texts.
#include <gtest/gtest.h>

#include "archive/ArBitBkt.h"
#include "archive/ArExcept.h"
#include "archive/ArchiveTestSupport.h"

namespace {

TEST(BitBucketStream, KeepsTheLastBytesOfItsRingPlus1024) {
  struct TCase {
    int32_t Requested;
    int64_t Kept;
  };
  const TCase cases[] = {{4096, 5120}, {8192, 9216}, {32768, 33792}, {1000, 33792}};
  Bytes data = RandomBytes(100000, 11);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Requested);
    TArBitBucketStream bucket(c.Requested);
    for (size_t at = 0; at < data.size(); at += 4000)
      bucket.WriteBuffer(data.data() + at, static_cast<int32_t>(std::min<size_t>(4000, data.size() - at)));
    EXPECT_EQ(bucket.Size(), 100000);
    EXPECT_EQ(bucket.Position(), 100000);
    EXPECT_EQ(bucket.Seek(-c.Kept, soEnd), 100000 - c.Kept);
    Bytes back(static_cast<size_t>(c.Kept));
    EXPECT_EQ(bucket.Read(back.data(), static_cast<int32_t>(c.Kept)), c.Kept);
    EXPECT_EQ(back, Bytes(data.end() - c.Kept, data.end()));
    EXPECT_THROW(bucket.Seek(-c.Kept - 1, soEnd), EArBBSSeekOutsideBuffer);
    EXPECT_THROW(bucket.Seek(1, soEnd), EArBBSSeekOutsideBuffer);
  }
}

TEST(BitBucketStream, RefusesTooMuchAtOnceAndUnknownOrigins) {
  TArBitBucketStream bucket(4096);
  Bytes big(5121);
  try {
    bucket.Write(big.data(), 5121);
    FAIL();
  } catch (const EArBBSWriteTooManyBytes& e) {
    EXPECT_EQ(e.Message(), "BBS: request to write too many bytes [5121]");
    EXPECT_EQ(e.ErrorCode(), 43);
  }
  try {
    bucket.Read(big.data(), 5121);
    FAIL();
  } catch (const EArBBSReadTooManyBytes& e) {
    EXPECT_EQ(e.Message(), "BBS: request to read too many bytes [5121]");
  }
  try {
    bucket.Seek(0, static_cast<TSeekOrigin>(7));
    FAIL();
  } catch (const EArBBSInvalidOrigin& e) {
    EXPECT_EQ(e.Message(), "BBS: Invalid Origin value");
  }
  try {
    bucket.Seek(1, soBeginning);
    FAIL();
  } catch (const EArBBSSeekOutsideBuffer& e) {
    EXPECT_EQ(e.Message(), "BBS: New position is outside the buffer");
  }
  // Reading stops at the size; writing after a seek back overwrites in place.
  bucket.WriteBuffer("abcdef", 6);
  bucket.Seek(2, soBeginning);
  bucket.WriteBuffer("XY", 2);
  bucket.Seek(0, soBeginning);
  char back[16] = {};
  EXPECT_EQ(bucket.Read(back, 16), 6);
  EXPECT_STREQ(back, "abXYef");
}

}  // namespace
