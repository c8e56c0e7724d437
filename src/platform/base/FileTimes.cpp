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

struct timespec UnixTime(const FILETIME& time) {
  struct timespec result {};
  result.tv_sec = static_cast<time_t>(UnixSeconds(time));
  result.tv_nsec = static_cast<long>(FileTimeValue(time) % TicksPerSecond) * 100;
  return result;
}

bool Invalid() {
  SetLastError(ERROR_INVALID_PARAMETER);
  return false;
}

// The zone's offset from UTC at a moment given in UTC seconds, or false.
bool ZoneOffsetSeconds(int64_t utcSeconds, int64_t& offset) {
  const auto seconds = static_cast<time_t>(utcSeconds);
  struct tm local {};
  if (localtime_r(&seconds, &local) == nullptr) return false;
  offset = local.tm_gmtoff;
  return true;
}

// `time` moved by `seconds`, or false when that leaves the FILETIME range.
bool Shifted(const FILETIME& time, int64_t seconds, FILETIME& result) {
  const int64_t value = static_cast<int64_t>(FileTimeValue(time)) + seconds * TicksPerSecond;
  if (value < 0) return false;
  result = FromValue(static_cast<uint64_t>(value));
  return true;
}

}  // namespace

uint64_t FileTimeValue(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME FileTimeFromUnixTime(const struct timespec& time) {
  const int64_t seconds = static_cast<int64_t>(time.tv_sec) + EpochDifferenceSeconds;
  if (seconds < 0) return {0, 0};
  return FromValue(static_cast<uint64_t>(seconds) * TicksPerSecond + static_cast<uint64_t>(time.tv_nsec / 100));
}

bool GetFileTime(THandle handle, FILETIME* creationTime, FILETIME* lastAccessTime, FILETIME* lastWriteTime) {
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

bool SetFileTime(THandle handle, const FILETIME*, const FILETIME* lastAccessTime, const FILETIME* lastWriteTime) {
  struct timespec times[2];
  times[0] = lastAccessTime != nullptr ? UnixTime(*lastAccessTime) : timespec{0, UTIME_OMIT};
  times[1] = lastWriteTime != nullptr ? UnixTime(*lastWriteTime) : timespec{0, UTIME_OMIT};
  if (futimens(handle, times) != 0) {
    SetLastErrorFromErrno();
    return false;
  }
  return true;
}

bool FileTimeToLocalFileTime(const FILETIME* fileTime, FILETIME* localFileTime) {
  int64_t offset = 0;
  if (fileTime == nullptr || localFileTime == nullptr || !ZoneOffsetSeconds(UnixSeconds(*fileTime), offset) ||
      !Shifted(*fileTime, offset, *localFileTime))
    return Invalid();
  return true;
}

bool LocalFileTimeToFileTime(const FILETIME* localFileTime, FILETIME* fileTime) {
  // The offset at the local reading taken as UTC, corrected once with the offset found
  // there, so that times near a change of offset come out right.
  int64_t offset = 0, corrected = 0;
  if (localFileTime == nullptr || fileTime == nullptr || !ZoneOffsetSeconds(UnixSeconds(*localFileTime), offset) ||
      !ZoneOffsetSeconds(UnixSeconds(*localFileTime) - offset, corrected) ||
      !Shifted(*localFileTime, -corrected, *fileTime))
    return Invalid();
  return true;
}

bool FileTimeToDosDateTime(const FILETIME* fileTime, uint16_t* fatDate, uint16_t* fatTime) {
  if (fileTime == nullptr || fatDate == nullptr || fatTime == nullptr) return Invalid();
  const time_t seconds = static_cast<time_t>(UnixSeconds(*fileTime));
  struct tm parts {};
  // The FILETIME is taken as it is (UTC or already local): no zone is applied.
  if (gmtime_r(&seconds, &parts) == nullptr || parts.tm_year < 80 || parts.tm_year > 207) return Invalid();
  *fatDate = static_cast<uint16_t>(((parts.tm_year - 80) << 9) | ((parts.tm_mon + 1) << 5) | parts.tm_mday);
  *fatTime = static_cast<uint16_t>((parts.tm_hour << 11) | (parts.tm_min << 5) | (parts.tm_sec / 2));
  return true;
}

bool DosDateTimeToFileTime(uint16_t fatDate, uint16_t fatTime, FILETIME* fileTime) {
  struct tm parts {};
  parts.tm_year = 80 + (fatDate >> 9);
  parts.tm_mon = ((fatDate >> 5) & 15) - 1;
  parts.tm_mday = fatDate & 31;
  parts.tm_hour = fatTime >> 11;
  parts.tm_min = (fatTime >> 5) & 63;
  parts.tm_sec = (fatTime & 31) * 2;
  if (fileTime == nullptr || parts.tm_mon < 0 || parts.tm_mon > 11 || parts.tm_mday < 1 || parts.tm_hour > 23 ||
      parts.tm_min > 59 || parts.tm_sec > 59)
    return Invalid();
  const time_t seconds = timegm(&parts);
  // timegm carries a day past the month's end over; such a date is invalid.
  if (parts.tm_mday != (fatDate & 31)) return Invalid();
  *fileTime = FileTimeFromUnixTime({seconds, 0});
  return true;
}
