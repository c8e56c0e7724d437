#include "platform/base/FileContents.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <memory>

#include <gtest/gtest.h>

#include "FileSizeLimit.h"
#include "TempFolder.h"
#include "platform/base/Exception.h"
#include "platform/base/LastError.h"
#include "platform/base/StringLists.h"

namespace {

// Lowers the loaders' limit for one test.
struct TScopedLoadLimit {
  explicit TScopedLoadLimit(int64_t bytes) : Saved(FileLimits().MaxLoadedBytes) { FileLimits().MaxLoadedBytes = bytes; }
  ~TScopedLoadLimit() { FileLimits().MaxLoadedBytes = Saved; }
  int64_t Saved;
};

// A pipe's reading end as a stream that cannot tell its size.
struct TPipeStream {
  explicit TPipeStream(const std::string& bytes) {
    if (pipe(Ends) != 0) ADD_FAILURE() << "no pipe";
    if (write(Ends[1], bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) ADD_FAILURE() << "short";
    close(Ends[1]);
    Stream = std::make_unique<THandleStream>(Ends[0]);
  }
  ~TPipeStream() { close(Ends[0]); }
  THandleStream& Get() { return *Stream; }
  int Ends[2];
  std::unique_ptr<THandleStream> Stream;
};

}  // namespace

TEST(FileContents, ReadsARegularFileWhole) {
  TempFolder folder;
  const std::string text(200000, 'q');
  WriteBytes(folder / "big.txt", text);
  std::string bytes = "left over";
  ASSERT_TRUE(ReadRegularFile(folder / "big.txt", bytes));
  EXPECT_EQ(bytes, text);
}

// Each is refused at once: no wait for a FIFO's writer, no endless read of a device.
TEST(FileContents, RefusesWhatIsNoRegularFileBeforeReadingIt) {
  TempFolder folder;
  ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
  struct TCase {
    std::string Path;
    uint32_t Error;
  };
  const TCase cases[] = {
      {folder / "fifo", ERROR_BAD_FILE_TYPE},       {"/dev/zero", ERROR_BAD_FILE_TYPE},
      {folder.Path(), ERROR_ACCESS_DENIED},         {folder / "missing", ERROR_FILE_NOT_FOUND},
      {folder / "missing/x", ERROR_PATH_NOT_FOUND},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Path);
    std::string bytes = "kept";
    EXPECT_FALSE(ReadRegularFile(c.Path, bytes));
    EXPECT_EQ(GetLastError(), c.Error);
    EXPECT_EQ(bytes, "kept");
  }
}

TEST(FileContents, ReadsPastASizeOfZeroAndStopsAtTheLimit) {
  std::string status;
  ASSERT_TRUE(ReadRegularFile("/proc/self/status", status));  // it reports a size of 0
  EXPECT_NE(status.find("Name:"), std::string::npos);

  TempFolder folder;
  WriteBytes(folder / "nine.txt", "123456789");
  std::string bytes = "kept";
  EXPECT_FALSE(ReadRegularFile(folder / "nine.txt", bytes, 8));
  EXPECT_EQ(GetLastError(), ERROR_FILE_TOO_LARGE);
  EXPECT_EQ(bytes, "kept");
  EXPECT_FALSE(ReadRegularFile("/proc/self/status", bytes, 8));
  EXPECT_EQ(GetLastError(), ERROR_FILE_TOO_LARGE);
  EXPECT_TRUE(ReadRegularFile(folder / "nine.txt", bytes, 9));
}

TEST(FileContents, ReadsTheRestOfAStreamThatCannotTellItsSize) {
  TPipeStream pipe("from a pipe");
  THandleStream& stream = pipe.Get();
  ASSERT_LT(stream.Size(), 0);
  EXPECT_EQ(ReadStreamRest(stream), "from a pipe");

  TStringStream text("0123456789");
  text.SetPosition(4);
  try {
    ReadStreamRest(text, 5);
    ADD_FAILURE() << "no EReadError";
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Stream is longer than the 5 bytes that can be loaded");
  }
  text.SetPosition(4);
  EXPECT_EQ(ReadStreamRest(text, 6), "456789");
}

TEST(FileContents, LoadFileBytesNamesTheFileAndTheCause) {
  TempFolder folder;
  ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
  try {
    LoadFileBytes(AnsiString(folder / "fifo"));
    ADD_FAILURE() << "no EFOpenError";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot open file \"" + folder / "fifo" + "\". The file type being saved or retrieved has been blocked.");
  }
}

// ---- Loaders ----

TEST(FileContents, MemoryStreamsLoadWhatTheSizeDoesNotTellAndKeepAllOnFailure) {
  TMemoryStream memory;
  memory.LoadFromFile(WideString(u"/proc/self/status"));
  ASSERT_GT(memory.Size(), 0);
  EXPECT_EQ(std::string(static_cast<const char*>(memory.Memory()), 5), "Name:");

  TPipeStream pipe("piped");
  memory.LoadFromStream(pipe.Get());
  EXPECT_EQ(std::string(static_cast<const char*>(memory.Memory()), static_cast<size_t>(memory.Size())), "piped");

  TempFolder folder;
  WriteBytes(folder / "big.bin", std::string(64, 'b'));
  {
    TScopedLoadLimit limit(16);
    EXPECT_THROW(memory.LoadFromFile(WideString(u"/dev/zero")), EFOpenError);
    EXPECT_THROW(memory.LoadFromFile(AnsiString(folder / "big.bin")), EFOpenError);
    TStringStream tooLong(std::string(17, 'x'));
    EXPECT_THROW(memory.LoadFromStream(tooLong), EReadError);
  }
  EXPECT_EQ(std::string(static_cast<const char*>(memory.Memory()), static_cast<size_t>(memory.Size())), "piped");
  memory.LoadFromFile(AnsiString(folder / "big.bin"));  // the same object loads a good file
  EXPECT_EQ(memory.Size(), 64);
}

TEST(FileContents, StringListsLoadOnlyRegularFilesAndKeepTheirLinesOnFailure) {
  TempFolder folder;
  ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
  WriteBytes(folder / "good.txt", "one\r\ntwo\r\n");
  TStringList list;
  list.Add("kept");
  EXPECT_THROW(list.LoadFromFile(AnsiString(folder / "fifo")), EFOpenError);
  EXPECT_THROW(list.LoadFromFile(AnsiString(folder.Path())), EFOpenError);
  EXPECT_EQ(list.Text(), "kept\r\n");
  list.LoadFromFile(AnsiString(folder / "good.txt"));
  EXPECT_EQ(list.Count(), 2);
}

// ---- Saving through a complete copy ----

TEST(FileContents, AWriteThatFailsLeavesTheOldFileWholeAndSaysWhy) {
  TempFolder folder;
  const std::string name = folder / "list.txt";
  WriteBytes(name, "old line\r\n");
  const std::string message = RunWithFileSizeLimit(64, [&] {
    TStringList list;
    list.Add(std::string(100, 'x'));
    try {
      list.SaveToFile(AnsiString(name));
      return std::string("saved");
    } catch (const Exception& e) {
      return std::string(e.what());
    }
  });
  EXPECT_EQ(message,
            "Cannot create file \"" + name + "\". The file size exceeds the limit allowed and cannot be saved.");
  EXPECT_EQ(ReadBytes(name), "old line\r\n");
  EXPECT_EQ(EntryCount(folder.Path()), 1u);  // no temporary file is left

  const std::string memoryMessage = RunWithFileSizeLimit(64, [&] {
    TMemoryStream memory;
    memory.WriteBuffer(std::string(100, 'm').data(), 100);
    try {
      memory.SaveToFile(AnsiString(name));
      return std::string("saved");
    } catch (const EFCreateError& e) {
      return std::string(e.what());
    }
  });
  EXPECT_NE(memoryMessage.find(name), std::string::npos);
  EXPECT_EQ(ReadBytes(name), "old line\r\n");
}

TEST(FileContents, ANameAsLongAsANameMayBeIsStillSaved) {
  TempFolder folder;
  const std::string name = folder / (std::string(246, 'n') + ".txt");  // 250 bytes
  WriteBytes(name, "old");
  TStringList list;
  list.Add("new");
  list.SaveToFile(AnsiString(name));
  EXPECT_EQ(ReadBytes(name), "new\r\n");
  EXPECT_EQ(EntryCount(folder.Path()), 1u);
}

// The name gets a new file: another hard link keeps the old contents. The owner and group
// stay where the system allows it (root may give the file to anyone).
TEST(FileContents, SavingGivesTheNameANewFileWithTheOldOwner) {
  TempFolder folder;
  const std::string name = folder / "settings.txt";
  WriteBytes(name, "old");
  ASSERT_EQ(link(name.c_str(), (folder / "other-link.txt").c_str()), 0);
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(chown(name.c_str(), 4321, 8765), 0);
  }
  TStringList list;
  list.Add("new");
  list.SaveToFile(AnsiString(name));
  EXPECT_EQ(ReadBytes(name), "new\r\n");
  EXPECT_EQ(ReadBytes(folder / "other-link.txt"), "old");
  struct stat info {};
  ASSERT_EQ(stat(name.c_str(), &info), 0);
  EXPECT_EQ(info.st_nlink, 1u);
  if (root) {
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 8765u);
  } else {
    EXPECT_EQ(info.st_uid, geteuid());
  }
}

TEST(FileContents, StringListsReadAStreamToItsRealEnd) {
  TPipeStream pipe("a\r\nb\r\n");
  TStringList list;
  list.LoadFromStream(pipe.Get());
  EXPECT_EQ(list.Count(), 2);
}
