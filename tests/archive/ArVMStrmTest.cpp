// The paged stream: contents against a plain byte vector, the swap file's life, limits.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "archive/ArExcept.h"
#include "archive/ArVMStrm.h"
#include "archive/ArchiveTestSupport.h"

namespace {

bool FileExists(const std::string& name) {
  struct stat info {};
  return stat(name.c_str(), &info) == 0;
}

Bytes ReadAll(TArVirtualMemoryStream& stream) {
  Bytes out(static_cast<size_t>(stream.Size()));
  stream.SetPosition(0);
  if (!out.empty()) stream.ReadBuffer(out.data(), static_cast<int32_t>(out.size()));
  return out;
}

TEST(VirtualMemoryStream, LargeContentsGoThroughASwapFileThatIsDeletedAfterwards) {
  TTempFolder folder;
  Bytes data = RandomBytes(300000, 1);
  std::string swap;
  {
    TArVirtualMemoryStream stream;
    stream.SwapFileDirectory = folder.Path();
    EXPECT_EQ(stream.MemoryLimit(), 102400);
    stream.WriteBuffer(data.data(), static_cast<int32_t>(data.size()));
    EXPECT_EQ(stream.Size(), 300000);
    EXPECT_EQ(stream.PagesInMemory(), 25);
    swap = stream.SwapFileName();
    ASSERT_FALSE(swap.empty());
    EXPECT_EQ(swap.substr(0, folder.Path().size() + 4), folder.Path() + "/VMS");
    EXPECT_TRUE(FileExists(swap));
    EXPECT_EQ(ReadAll(stream), data);
  }
  EXPECT_FALSE(FileExists(swap));
}

TEST(VirtualMemoryStream, MatchesAByteVectorUnderScatteredReadsAndWrites) {
  TArVirtualMemoryStream stream;
  stream.SetMemoryLimit(3 * 4096);
  Bytes model;
  uint32_t x = 7;
  for (int step = 0; step < 400; ++step) {
    x = x * 1103515245u + 12345u;
    int64_t at = (x >> 8) % 60000;
    size_t length = (x >> 20) % 9000;
    Bytes chunk = RandomBytes(length, x);
    stream.SetPosition(at);
    stream.WriteBuffer(chunk.data(), static_cast<int32_t>(chunk.size()));
    if (model.size() < at + length) model.resize(at + length, 0);
    std::copy(chunk.begin(), chunk.end(), model.begin() + at);
    if (step % 50 == 0) {
      SCOPED_TRACE(step);
      ASSERT_EQ(ReadAll(stream), model);
    }
  }
  EXPECT_EQ(ReadAll(stream), model);
  EXPECT_LE(stream.PagesInMemory(), 3);
}

TEST(VirtualMemoryStream, WritingPastTheEndLeavesZerosBetween) {
  TArVirtualMemoryStream stream;
  stream.WriteBuffer("abc", 3);
  EXPECT_EQ(stream.Seek(10000, soEnd), 10003);  // no clamping
  uint8_t one = 0x55;
  stream.WriteBuffer(&one, 1);
  EXPECT_EQ(stream.Size(), 3 + 10001);
  Bytes all = ReadAll(stream);
  EXPECT_EQ(all[0], 'a');
  EXPECT_TRUE(std::all_of(all.begin() + 3, all.end() - 1, [](uint8_t b) { return b == 0; }));
  EXPECT_EQ(all.back(), 0x55);
  // Reading stops at the size.
  stream.SetPosition(10000);
  uint8_t buffer[100];
  EXPECT_EQ(stream.Read(buffer, 100), 4);
}

TEST(VirtualMemoryStream, ShrinkingForgetsTheBytesPastTheNewSize) {
  TTempFolder folder;
  TArVirtualMemoryStream stream;
  stream.SwapFileDirectory = folder.Path();
  stream.SetMemoryLimit(1);  // one page: everything else is in the swap file
  Bytes data(50000, 0xAB);
  stream.WriteBuffer(data.data(), 50000);
  stream.SetSize(5000);
  EXPECT_EQ(stream.Position(), 5000);
  EXPECT_EQ(stream.Size(), 5000);
  stream.SetSize(20000);
  Bytes all = ReadAll(stream);
  EXPECT_TRUE(std::all_of(all.begin(), all.begin() + 5000, [](uint8_t b) { return b == 0xAB; }));
  EXPECT_TRUE(std::all_of(all.begin() + 5000, all.end(), [](uint8_t b) { return b == 0; }));
}

TEST(VirtualMemoryStream, MemoryLimitIsWholePagesUpTo256) {
  struct TCase {
    int32_t Bytes;
    int32_t Limit;
  } cases[] = {{5000, 8192}, {4096, 4096}, {1, 4096}, {2000000, 256 * 4096}};
  for (const TCase& c : cases) {
    TArVirtualMemoryStream stream;
    stream.SetMemoryLimit(c.Bytes);
    EXPECT_EQ(stream.MemoryLimit(), c.Limit);
  }
}

TEST(VirtualMemoryStream, AnUnknownOriginIsRefused) {
  TArVirtualMemoryStream stream;
  try {
    stream.Seek(0, static_cast<TSeekOrigin>(7));
    FAIL() << "no exception";
  } catch (const EArVMSInvalidOrigin& e) {
    EXPECT_EQ(e.ErrorCode(), 201);
    EXPECT_STREQ(e.what(), "VMS: invalid origin 7, should be 0, 1, 2");
  }
}

}  // namespace
