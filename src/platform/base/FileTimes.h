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
bool GetFileTime(THandle handle, FILETIME* creationTime, FILETIME* lastAccessTime,
                 FILETIME* lastWriteTime);
// UTC to local time, with the time zone's offset at that moment.
bool FileTimeToLocalFileTime(const FILETIME* fileTime, FILETIME* localFileTime);
// Fails with ERROR_INVALID_PARAMETER outside 1980..2107.
bool FileTimeToDosDateTime(const FILETIME* fileTime, uint16_t* fatDate, uint16_t* fatTime);
