// File times as Windows keeps them: FILETIME counts 100-nanosecond intervals since
// 1601-01-01 00:00 UTC (or local time after FileTimeToLocalFileTime); DOS dates and times
// pack a date from 1980 to 2107 and a time to two seconds into 16 bits each.
#pragma once

#include <cstdint>
#include <ctime>

#include "platform/base/FileSystem.h"

struct FILETIME {
  uint32_t dwLowDateTime;
  uint32_t dwHighDateTime;
};

// A POSIX time as FILETIME (times before 1601 give 0).
FILETIME FileTimeFromUnixTime(const struct timespec& time);
uint64_t FileTimeValue(const FILETIME& time);

// The times of an open file; POSIX keeps no creation time, so creation is the last
// write. Any pointer may be nullptr.
bool GetFileTime(THandle handle, FILETIME* creationTime, FILETIME* lastAccessTime, FILETIME* lastWriteTime);
// Sets the times of a file open for writing; a nullptr time stays as it is (POSIX keeps
// no creation time: it is ignored).
bool SetFileTime(THandle handle, const FILETIME* creationTime, const FILETIME* lastAccessTime,
                 const FILETIME* lastWriteTime);
// UTC to local time and back, with the time zone's offset at that moment.
bool FileTimeToLocalFileTime(const FILETIME* fileTime, FILETIME* localFileTime);
bool LocalFileTimeToFileTime(const FILETIME* localFileTime, FILETIME* fileTime);
// FILETIME to DOS date and time and back; the time zone is not touched. Fails with
// ERROR_INVALID_PARAMETER outside 1980..2107 / for a month, day, hour, minute or second
// out of range.
bool FileTimeToDosDateTime(const FILETIME* fileTime, uint16_t* fatDate, uint16_t* fatTime);
bool DosDateTimeToFileTime(uint16_t fatDate, uint16_t fatTime, FILETIME* fileTime);
