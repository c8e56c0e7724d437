#include <cstdlib>
#include <ctime>

#include <gtest/gtest.h>

#include "platform/base/FileSystem.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/FileTimes.h"
#include "platform/base/LastError.h"
#include "platform/base/TempFolder.h"

TEST(FileTimes, UnixTimesCountFrom1601InTenthsOfMicroseconds) {
  EXPECT_EQ(FileTimeValue(FileTimeFromUnixTime({0, 0})), 116444736000000000ull);
  EXPECT_EQ(FileTimeValue(FileTimeFromUnixTime({1, 500})), 116444736010000005ull);
  EXPECT_EQ(FileTimeValue(FileTimeFromUnixTime({-11644473601, 0})), 0ull);
}

TEST(FileTimes, DosDatesPackTheFileTimeAsItIs) {
  // 2024-02-29 13:45:59 UTC.
  const FILETIME time = FileTimeFromUnixTime({1709214359, 0});
  uint16_t date = 0, clock = 0;
  ASSERT_TRUE(FileTimeToDosDateTime(&time, &date, &clock));
  EXPECT_EQ(date, (44 << 9) | (2 << 5) | 29);
  EXPECT_EQ(clock, (13 << 11) | (45 << 5) | 29);
  const FILETIME before1980 = FileTimeFromUnixTime({0, 0});
  EXPECT_FALSE(FileTimeToDosDateTime(&before1980, &date, &clock));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  FILETIME back{};
  ASSERT_TRUE(DosDateTimeToFileTime(date, clock, &back));
  EXPECT_EQ(FileTimeValue(back), FileTimeValue(FileTimeFromUnixTime({1709214358, 0})));  // two-second steps
  EXPECT_FALSE(DosDateTimeToFileTime((45 << 9) | (2 << 5) | 29, 0, &back));              // 2025-02-29
  EXPECT_FALSE(DosDateTimeToFileTime((44 << 9) | (13 << 5) | 1, 0, &back));              // month 13
  EXPECT_FALSE(DosDateTimeToFileTime((44 << 9) | (1 << 5) | 1, 24 << 11, &back));        // hour 24
}

TEST(FileTimes, LocalTimeAddsTheZoneOffset) {
  const char* saved = std::getenv("TZ");
  const std::string savedValue = saved != nullptr ? saved : "";
  setenv("TZ", "UTC-3", 1);  // three hours east of UTC
  tzset();
  const FILETIME utc = FileTimeFromUnixTime({1709214359, 0});
  FILETIME local{};
  ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
  EXPECT_EQ(FileTimeValue(local) - FileTimeValue(utc), 3ull * 3600 * 10'000'000);
  FILETIME back{};
  ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
  EXPECT_EQ(FileTimeValue(back), FileTimeValue(utc));
  if (saved != nullptr)
    setenv("TZ", savedValue.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

TEST(FileTimes, AnOpenFileReportsItsLastWrite) {
  TempFolder folder;
  const THandle handle = FileCreate(FileSystemNameToWide(folder / "t.bin"));
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  const timespec times[2] = {{1000000000, 0}, {1709214359, 250}};
  ASSERT_EQ(futimens(handle, times), 0);
  FILETIME access{}, write{};
  ASSERT_TRUE(GetFileTime(handle, nullptr, &access, &write));
  EXPECT_EQ(FileTimeValue(write), FileTimeValue(FileTimeFromUnixTime(times[1])));
  EXPECT_EQ(FileTimeValue(access), FileTimeValue(FileTimeFromUnixTime(times[0])));
  const FILETIME later = FileTimeFromUnixTime({1709300000, 0});
  ASSERT_TRUE(SetFileTime(handle, nullptr, nullptr, &later));
  ASSERT_TRUE(GetFileTime(handle, nullptr, &access, &write));
  EXPECT_EQ(FileTimeValue(write), FileTimeValue(later));
  EXPECT_EQ(FileTimeValue(access), FileTimeValue(FileTimeFromUnixTime(times[0])));  // kept
  EXPECT_TRUE(FlushFileBuffers(handle));
  FileClose(handle);
  EXPECT_FALSE(GetFileTime(INVALID_HANDLE_VALUE, nullptr, nullptr, &write));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}
