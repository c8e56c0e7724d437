#include "platform/base/FileTimes.h"

#include <sys/stat.h>

#include "platform/base/LastError.h"

namespace {

constexpr int64_t TicksPerSecond = 10'000'000;
// Seconds from 1601-01-01 to 1970-01-01.
constexpr int64_t EpochDifferenceSeconds = 11'644'473'600;

FILETIME FromValue(uint64_t value) {
  return {static_cast<uint32_t>(value & 0xFFFFFFFFu), static_cast<uint32_t>(value >> 32)};
}

int64_t UnixSeconds(const FILETIME& time) {
  return static_cast<int64_t>(FileTimeValue(time) / TicksPerSecond) - EpochDifferenceSeconds;
}

}  // namespace

uint64_t FileTimeValue(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME FileTimeFromUnixTime(const struct timespec& time) {
  const int64_t seconds = static_cast<int64_t>(time.tv_sec) + EpochDifferenceSeconds;
  if (seconds < 0) return {0, 0};
  return FromValue(static_cast<uint64_t>(seconds) * TicksPerSecond +
                   static_cast<uint64_t>(time.tv_nsec / 100));
}

bool GetFileTime(THandle handle, FILETIME* creationTime, FILETIME* lastAccessTime,
                 FILETIME* lastWriteTime) {
  struct stat info {};
  if (fstat(handle, &info) != 0) {
    SetLastErrorFromErrno();
    return false;
  }
  if (creationTime != nullptr) *creationTime = FileTimeFromUnixTime(info.st_mtim);
  if (lastAccessTime != nullptr) *lastAccessTime = FileTimeFromUnixTime(info.st_atim);
  if (lastWriteTime != nullptr) *lastWriteTime = FileTimeFromUnixTime(info.st_mtim);
  return true;
}

bool FileTimeToLocalFileTime(const FILETIME* fileTime, FILETIME* localFileTime) {
  if (fileTime == nullptr || localFileTime == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  const time_t seconds = static_cast<time_t>(UnixSeconds(*fileTime));
  struct tm local {};
  if (localtime_r(&seconds, &local) == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  const int64_t value = static_cast<int64_t>(FileTimeValue(*fileTime)) + local.tm_gmtoff * TicksPerSecond;
  if (value < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  *localFileTime = FromValue(static_cast<uint64_t>(value));
  return true;
}

bool FileTimeToDosDateTime(const FILETIME* fileTime, uint16_t* fatDate, uint16_t* fatTime) {
  if (fileTime == nullptr || fatDate == nullptr || fatTime == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  const time_t seconds = static_cast<time_t>(UnixSeconds(*fileTime));
  struct tm parts {};
  // The FILETIME is taken as it is (UTC or already local): no zone is applied.
  if (gmtime_r(&seconds, &parts) == nullptr || parts.tm_year < 80 || parts.tm_year > 207) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  *fatDate = static_cast<uint16_t>(((parts.tm_year - 80) << 9) | ((parts.tm_mon + 1) << 5) | parts.tm_mday);
  *fatTime = static_cast<uint16_t>((parts.tm_hour << 11) | (parts.tm_min << 5) | (parts.tm_sec / 2));
  return true;
}
