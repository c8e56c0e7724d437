#include <gtest/gtest.h>

#include "archive/ArDfCryS.h"
#include "archive/ArchiveTestSupport.h"
#include "platform/base/LittleEndian.h"

namespace {

TEST(TArZipKeys, AnEmptyPasswordLeavesTheInitialKeys) {
  TArZipKeys keys("");
  EXPECT_EQ(keys.Keys(), (std::array<uint32_t, 3>{0x12345678, 0x23456789, 0x34567890}));
  EXPECT_NE(TArZipKeys("a").Keys(), keys.Keys());
}

// The header of the first entry of an archive that Debian's zip encrypted: the check
// passes with its password and fails, rewinding the source, with another.
TEST(TArDfDecryptStream, ChecksTheHeaderAndRewindsAfterAFailure) {
  TTempFolder folder;
  WriteFileBytes(folder / "a.txt", BookLikeText(100, 1));
  RunIn(folder, "zip -X -0 -P secret out.zip a.txt");
  Bytes zip = ReadFileBytes(folder / "out.zip");
  constexpr size_t DataStart = 30 + 5;  // local header and the name "a.txt"
  // zip writes the sizes after the data here (flag bit 3): the header checks against the
  // DOS time of the local header.
  ASSERT_TRUE(zip[6] & 8);
  uint32_t crc = static_cast<uint32_t>(LoadLE16(&zip[10])) << 16;
  TMemoryStream source;
  LoadBytes(source, zip);
  source.SetPosition(DataStart);
  // A wrong password passes the one-byte check once in 256 tries (zip's header bytes
  // are random): of five, at least one fails, and each failure rewinds.
  int failed = 0;
  for (const char* guess : {"guess", "Secret", "secret1", "x", "pass"}) {
    source.SetPosition(DataStart);
    TArDfDecryptStream wrong(source, guess, crc);
    if (wrong.CheckHeader()) continue;
    ++failed;
    EXPECT_EQ(source.Position(), static_cast<int64_t>(DataStart));
  }
  EXPECT_GT(failed, 0);
  TArDfDecryptStream right(source, "secret", crc);
  source.SetPosition(DataStart);
  ASSERT_TRUE(right.CheckHeader());
  Bytes plain(100);
  ASSERT_EQ(right.Read(plain.data(), 100), 100);
  EXPECT_EQ(plain, BookLikeText(100, 1));
}

}  // namespace
