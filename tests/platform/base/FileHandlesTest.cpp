#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/base/FileSystem.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"
#include "platform/base/TempFolder.h"

namespace {

bool Exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

void WriteRaw(const std::string& path, const std::string& content) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, content.data(), content.size()), static_cast<ssize_t>(content.size()));
  close(fd);
}

}  // namespace

TEST(FileHandles, CreateWriteSeekAndReadBack) {
  TempFolder folder;
  const THandle handle = FileCreate(FileSystemNameToWide(folder / "data.bin"));
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  EXPECT_EQ(FileWrite(handle, "abcdef", 6), 6);
  EXPECT_EQ(FileSeek(handle, -4, 2), 2);
  char buffer[8] = {};
  EXPECT_EQ(FileRead(handle, buffer, 8), 4);
  EXPECT_EQ(std::string(buffer, 4), "cdef");
  EXPECT_EQ(FileSeek(handle, 0, 1), 6);
  EXPECT_EQ(FileRead(handle, buffer, 8), 0);
  FileClose(handle);
}

TEST(FileHandles, CreateEmptiesAnExistingFile) {
  TempFolder folder;
  WriteRaw(folder / "old.txt", "old content");
  const THandle handle = FileCreate(AnsiString(folder / "old.txt"));
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  EXPECT_EQ(FileSeek(handle, 0, 2), 0);
  FileClose(handle);
}

TEST(FileHandles, TruncateAndSetEndOfFileCutTheFile) {
  TempFolder folder;
  const THandle handle = FileCreate(FileSystemNameToWide(folder / "cut.bin"));
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  FileWrite(handle, "0123456789", 10);
  EXPECT_TRUE(FileTruncate(handle, 7));
  EXPECT_EQ(FileSeek(handle, 0, 2), 7);
  FileSeek(handle, 3, 0);
  EXPECT_TRUE(SetEndOfFile(handle));
  EXPECT_EQ(FileSeek(handle, 0, 2), 3);
  FileClose(handle);
}

TEST(FileHandles, SeekBeforeTheStartFails) {
  TempFolder folder;
  const THandle handle = FileCreate(FileSystemNameToWide(folder / "seek.bin"));
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  EXPECT_EQ(FileSeek(handle, -1, 0), -1);
  EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
  EXPECT_EQ(FileSeek(handle, 0, 3), -1);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  FileClose(handle);
}

TEST(FileHandles, OpenFailuresSetTheWindowsCodes) {
  TempFolder folder;
  WriteRaw(folder / "locked.txt", "x");
  chmod((folder / "locked.txt").c_str(), 0444);
  mkfifo((folder / "pipe").c_str(), 0644);
  const struct {
    std::string Name;
    uint32_t Mode;
    uint32_t Error;
  } cases[] = {
      {folder / "missing.txt", fmOpenRead, ERROR_FILE_NOT_FOUND},
      {folder / "no-folder/missing.txt", fmOpenRead, ERROR_PATH_NOT_FOUND},
      {folder / "locked.txt/below", fmOpenRead, ERROR_PATH_NOT_FOUND},
      {"", fmOpenRead, ERROR_PATH_NOT_FOUND},
      {folder.Path(), fmOpenRead, ERROR_ACCESS_DENIED},
      {folder / "pipe", fmOpenRead, ERROR_ACCESS_DENIED},  // refused, never waited on
      {folder / "locked.txt", fmOpenWrite, ERROR_ACCESS_DENIED},
      {folder / "locked.txt", fmOpenReadWrite | fmShareDenyNone, ERROR_ACCESS_DENIED},
      {folder / "locked.txt", 3, ERROR_INVALID_PARAMETER},
      {folder / "locked.txt", fmOpenRead | 0x50, ERROR_INVALID_PARAMETER},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name + " mode " + std::to_string(c.Mode));
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(FileOpen(FileSystemNameToWide(c.Name), c.Mode), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), c.Error);
  }
  const THandle reader = FileOpen(FileSystemNameToWide(folder / "locked.txt"), fmOpenRead | fmShareDenyWrite);
  EXPECT_NE(reader, INVALID_HANDLE_VALUE);
  FileClose(reader);
}

TEST(FileHandles, CreateFileDispositionsReportWhatExisted) {
  TempFolder folder;
  const std::string name = folder / "d.txt";
  const struct {
    uint32_t Disposition;
    bool Opens;
    uint32_t Error;
  } steps[] = {
      {OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND},
      {TRUNCATE_EXISTING, false, ERROR_FILE_NOT_FOUND},
      {CREATE_NEW, true, ERROR_SUCCESS},
      {CREATE_NEW, false, ERROR_FILE_EXISTS},
      {OPEN_ALWAYS, true, ERROR_ALREADY_EXISTS},
      {CREATE_ALWAYS, true, ERROR_ALREADY_EXISTS},
      {OPEN_EXISTING, true, ERROR_SUCCESS},
      {TRUNCATE_EXISTING, true, ERROR_SUCCESS},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.Disposition);
    const THandle handle = CreateFileW(FileSystemNameToWide(name).c_str(), GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ, step.Disposition, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(handle != INVALID_HANDLE_VALUE, step.Opens);
    EXPECT_EQ(GetLastError(), step.Error);
    FileClose(handle);
  }
  const THandle readOnly =
      CreateFileA((folder / "ro.txt").c_str(), GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_READONLY);
  ASSERT_NE(readOnly, INVALID_HANDLE_VALUE);
  FileClose(readOnly);
  struct stat info {};
  ASSERT_EQ(stat((folder / "ro.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & S_IWUSR, 0u);
}

TEST(FileHandles, AnsiNamesAreInTheAnsiCodePage) {
  TempFolder folder;
  // "Книга" in Windows-1251.
  const AnsiString name = folder.Path() + "/\xCA\xED\xE8\xE3\xE0.txt";
  const THandle handle = FileCreate(name);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  FileClose(handle);
  EXPECT_TRUE(Exists(folder / "\xD0\x9A\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0.txt"));
}

TEST(FileHandles, AnsiNamesWithBytesTheCodePageLacksNameNoFile) {
  TempFolder folder;
  // 0x98 is not defined in Windows-1251: no file gets a stand-in name.
  EXPECT_EQ(FileCreate(AnsiString(folder / "a\x98.txt")), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 0);
}

TEST(FileHandles, NamesWithBytesThatAreNotUtf8RoundTrip) {
  TempFolder folder;
  const std::string raw = folder / "bad\xFF\xC3name.txt";
  WriteRaw(raw, "payload");
  const WideString wide = FileSystemNameToWide(raw);
  EXPECT_NE(wide.find(u"bad\xDCFF\xDCC3name"), WideString::npos);
  const THandle handle = FileOpen(wide, fmOpenRead);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  char buffer[7];
  EXPECT_EQ(FileRead(handle, buffer, 7), 7);
  FileClose(handle);
}

TEST(FileHandles, NamesThatCannotBeOnDiskAreRefused) {
  const WideString loneHigh = u"/tmp/a\xD800.txt";
  EXPECT_EQ(FileCreate(loneHigh), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
}

TEST(FileHandles, WorkOnAnInvalidHandleFails) {
  char byte = 0;
  EXPECT_EQ(FileRead(INVALID_HANDLE_VALUE, &byte, 1), -1);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(FileWrite(INVALID_HANDLE_VALUE, &byte, 1), -1);
  FileClose(INVALID_HANDLE_VALUE);
}
