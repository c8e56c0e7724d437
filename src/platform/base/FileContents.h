// Reading a file or the rest of a stream whole, the one way every loader of this system
// takes in a file (private profiles, ini files, string lists, language files, memory
// streams).
//
// Only a regular file is read: a folder, FIFO, device or socket named as a file is
// refused before a byte is read (the open never waits for a FIFO's writer). The size a
// file or stream reports is only a hint: files under /proc report 0 and a pipe cannot
// tell, so reading goes on to the real end, and stops with a failure once more than
// the limit (FileLimits.h) has come, so /dev/zero-like input never fills the memory.
#pragma once

#include <cstdint>
#include <string>

#include "platform/base/FileLimits.h"
#include "platform/base/Streams.h"
#include "platform/base/Types.h"

// Messages of the failures (the file's name comes first in the open error around them).
inline constexpr char SStreamTooLong[] = "Stream is longer than the %d bytes that can be loaded";

// The whole of the regular file `fileSystemName` in `bytes`. False with the last error
// set, `bytes` untouched: the open's error (ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND,
// ...), ERROR_ACCESS_DENIED for a folder, ERROR_BAD_FILE_TYPE for a FIFO, device or
// socket, ERROR_FILE_TOO_LARGE for more than `maxBytes` bytes, or a read error.
bool ReadRegularFile(const std::string& fileSystemName, std::string& bytes,
                     int64_t maxBytes = FileLimits().MaxLoadedBytes);

// The bytes from the stream's position to its end, read until the stream gives no more.
// Raises EReadError "Stream is longer than the %d bytes that can be loaded" past
// `maxBytes`, and the stream's own errors.
AnsiString ReadStreamRest(TStream& stream, int64_t maxBytes = FileLimits().MaxLoadedBytes);
