#include <cerrno>
#include <thread>

#include <gtest/gtest.h>

#include "platform/base/LastError.h"

TEST(LastError, IsKeptPerThread) {
  SetLastError(ERROR_ACCESS_DENIED);
  uint32_t other = 1;
  std::thread([&] {
    other = GetLastError();
    SetLastError(ERROR_FILE_NOT_FOUND);
  }).join();
  EXPECT_EQ(other, ERROR_SUCCESS);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST(LastError, ErrnoValuesMapToWindowsCodes) {
  const struct {
    int Errno;
    uint32_t Code;
  } cases[] = {{ENOENT, ERROR_FILE_NOT_FOUND}, {EACCES, ERROR_ACCESS_DENIED},
               {EEXIST, ERROR_ALREADY_EXISTS}, {ENOTEMPTY, ERROR_DIR_NOT_EMPTY},
               {EBADF, ERROR_INVALID_HANDLE},  {ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE},
               {ENOSPC, ERROR_DISK_FULL},      {EXDEV, ERROR_NOT_SAME_DEVICE}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Errno);
    errno = c.Errno;
    EXPECT_EQ(SetLastErrorFromErrno(), c.Code);
    EXPECT_EQ(GetLastError(), c.Code);
  }
}

TEST(LastError, SystemMessagesAreTheSystemTexts) {
  EXPECT_EQ(SystemErrorMessage(ERROR_FILE_NOT_FOUND), u"The system cannot find the file specified.");
  EXPECT_EQ(SystemErrorMessage(ERROR_PATH_NOT_FOUND), u"The system cannot find the path specified.");
  EXPECT_EQ(SystemErrorMessage(ERROR_ACCESS_DENIED), u"Access is denied.");
  EXPECT_EQ(SystemErrorMessage(ERROR_ALREADY_EXISTS), u"Cannot create a file when that file already exists.");
  EXPECT_EQ(SystemErrorMessage(987654), u"");
}

TEST(LastError, FormatMessageGivesTheSystemLine) {
  WideChar buffer[256];
  const uint32_t flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY;
  const uint32_t length = FormatMessageW(flags, nullptr, ERROR_FILE_NOT_FOUND, 0, buffer, 256, nullptr);
  EXPECT_EQ(WideString(buffer, length), u"The system cannot find the file specified.\r\n");
  EXPECT_EQ(FormatMessageW(flags, nullptr, 987654, 0, buffer, 256, nullptr), 0u);
  EXPECT_EQ(GetLastError(), ERROR_MR_MID_NOT_FOUND);
  EXPECT_EQ(FormatMessageW(flags, nullptr, ERROR_FILE_NOT_FOUND, 0, buffer, 10, nullptr), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(FormatMessageW(0x100 | flags, nullptr, ERROR_FILE_NOT_FOUND, 0, buffer, 256, nullptr), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}
