#include "platform/base/Streams.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/base/CodePages.h"
#include "platform/base/Exception.h"
#include "platform/base/TempFolder.h"

namespace {

void Fill(TMemoryStream& stream, const AnsiString& bytes) {
  stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
}

AnsiString Contents(TCustomMemoryStream& stream) {
  return AnsiString(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

}  // namespace

TEST(Streams, ReadBufferRaisesWhenTheStreamEndsEarly) {
  TMemoryStream stream;
  Fill(stream, "abc");
  stream.SetPosition(1);
  char buffer[4];
  try {
    stream.ReadBuffer(buffer, 3);
    FAIL() << "no exception";
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Stream read error");
  }
  stream.SetPosition(0);
  stream.ReadBuffer(buffer, 0);  // nothing asked, nothing raised
  EXPECT_EQ(stream.Position(), 0);
}

TEST(Streams, WriteBufferRaisesWhenTheStreamRefuses) {
  TMemoryStream stream;
  stream.SetPosition(-1);  // a memory stream writes nothing before its start
  try {
    stream.WriteBuffer("x", 1);
    FAIL() << "no exception";
  } catch (const EWriteError& e) {
    EXPECT_STREQ(e.what(), "Stream write error");
  }
}

TEST(Streams, CopyFromWithCountZeroCopiesTheWholeSourceFromItsStart) {
  TMemoryStream source;
  Fill(source, "0123456789");
  source.SetPosition(7);
  TMemoryStream target;
  EXPECT_EQ(target.CopyFrom(source, 0), 10);
  EXPECT_EQ(Contents(target), "0123456789");
  EXPECT_EQ(source.Position(), 10);
}

TEST(Streams, CopyFromCopiesCountBytesFromThePositionAndRaisesBeyondTheEnd) {
  TMemoryStream source;
  Fill(source, "0123456789");
  source.SetPosition(2);
  TMemoryStream target;
  EXPECT_EQ(target.CopyFrom(source, 3), 3);
  EXPECT_EQ(Contents(target), "234");
  EXPECT_THROW(target.CopyFrom(source, 6), EReadError);
}

TEST(Streams, CopyFromMovesLargeSourcesInChunks) {
  TMemoryStream source;
  AnsiString big(200000, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  Fill(source, big);
  TMemoryStream target;
  EXPECT_EQ(target.CopyFrom(source, 0), 200000);
  EXPECT_EQ(Contents(target), big);
}

TEST(Streams, MemoryStreamGrowsInBlocksAndZeroFillsGaps) {
  TMemoryStream stream;
  EXPECT_EQ(stream.Capacity(), 0);
  Fill(stream, "ab");
  EXPECT_EQ(stream.Capacity(), 0x2000);
  stream.SetPosition(10);
  Fill(stream, "z");
  EXPECT_EQ(Contents(stream), AnsiString("ab\0\0\0\0\0\0\0\0z", 11));
  AnsiString more(0x2000, 'm');
  Fill(stream, more);
  EXPECT_EQ(stream.Size(), 11 + 0x2000);
  EXPECT_GE(stream.Capacity(), stream.Size());
  EXPECT_EQ(stream.Capacity() % 0x2000, 0);
}

TEST(Streams, MemoryStreamSetSizeKeepsPositionWithinTheNewEnd) {
  TMemoryStream stream;
  Fill(stream, "abcdef");
  stream.SetSize(3);
  EXPECT_EQ(stream.Position(), 3);
  EXPECT_EQ(Contents(stream), "abc");
  stream.SetPosition(1);
  stream.SetSize(5);  // bytes uncovered again read as zero
  EXPECT_EQ(stream.Position(), 1);
  EXPECT_EQ(Contents(stream), AnsiString("abc\0\0", 5));
  stream.Clear();
  EXPECT_EQ(stream.Size(), 0);
  EXPECT_EQ(stream.Position(), 0);
  EXPECT_EQ(stream.Memory(), nullptr);
}

TEST(Streams, MemoryStreamReadsNothingBeyondItsEnd) {
  TMemoryStream stream;
  Fill(stream, "abc");
  EXPECT_EQ(stream.Seek(2, soEnd), 5);
  char c;
  EXPECT_EQ(stream.Read(&c, 1), 0);
  EXPECT_EQ(stream.Seek(-1, soEnd), 2);
  EXPECT_EQ(stream.Read(&c, 1), 1);
  EXPECT_EQ(c, 'c');
}

TEST(Streams, MemoryStreamLoadsAndSavesWholeStreams) {
  TStringStream source("hello");
  source.SetPosition(3);
  TMemoryStream memory;
  memory.LoadFromStream(source);
  EXPECT_EQ(Contents(memory), "hello");
  TStringStream target;
  memory.SaveToStream(target);
  EXPECT_EQ(target.DataString(), "hello");
}

TEST(Streams, StringStreamOverwritesExtendsAndClampsSeeks) {
  TStringStream stream("abcdef");
  stream.SetPosition(2);
  stream.WriteString("XY");
  EXPECT_EQ(stream.DataString(), "abXYef");
  stream.Seek(-1, soEnd);
  stream.WriteString("123");
  EXPECT_EQ(stream.DataString(), "abXYe123");
  EXPECT_EQ(stream.Seek(5, soEnd), 8);
  EXPECT_EQ(stream.Seek(-20, soCurrent), 0);
  EXPECT_EQ(stream.ReadString(3), "abX");
  EXPECT_EQ(stream.ReadString(100), "Ye123");
  stream.SetSize(2);
  EXPECT_EQ(stream.DataString(), "ab");
  EXPECT_EQ(stream.Position(), 2);
}

TEST(Streams, FileStreamRoundTripsAndReopens) {
  TempFolder folder;
  const WideString name = AnsiToWide(folder.Path() + "/") + u"\u0414\u0430\u043D\u043D\u044B\u0435.bin";
  {
    TFileStream stream(name, fmCreate);
    stream.WriteBuffer("hello world", 11);
    EXPECT_EQ(stream.Size(), 11);
    stream.SetSize(5);
    EXPECT_EQ(stream.Position(), 5);
  }
  TFileStream stream(name, fmOpenReadWrite | fmShareDenyWrite);
  TMemoryStream memory;
  memory.CopyFrom(stream, 0);
  EXPECT_EQ(Contents(memory), "hello");
  memory.SaveToFile(folder / "copy.bin");
  TMemoryStream loaded;
  loaded.LoadFromFile(folder / "copy.bin");
  EXPECT_EQ(Contents(loaded), "hello");
}

TEST(Streams, FileStreamRaisesWithTheFullPathAndTheSystemMessage) {
  TempFolder folder;
  try {
    TFileStream stream(folder / "missing.txt", fmOpenRead | fmShareDenyWrite);
    FAIL() << "no exception";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(),
              "Cannot open file \"" + (folder / "missing.txt") + "\". The system cannot find the file specified.");
  }
  try {
    TFileStream stream(folder / "no/such/folder.txt", fmCreate);
    FAIL() << "no exception";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(), "Cannot create file \"" + (folder / "no/such/folder.txt") +
                               "\". The system cannot find the path specified.");
  }
}
