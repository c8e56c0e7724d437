#include "platform/base/FileContents.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include <algorithm>

#include "platform/base/Exception.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/Format.h"
#include "platform/base/LastError.h"

namespace {

constexpr size_t kChunkBytes = 1 << 16;

// Closes the descriptor whatever way the read ends.
struct TDescriptor {
  int Value;
  ~TDescriptor() {
    if (Value >= 0) close(Value);
  }
};

bool Fail(uint32_t code) {
  SetLastError(code);
  return false;
}

}  // namespace

TFileLimits& FileLimits() {
  static TFileLimits limits;
  return limits;
}

bool ReadRegularFile(const std::string& fileSystemName, std::string& bytes, int64_t maxBytes) {
  // O_NONBLOCK: a FIFO without writer must not hold the open; it is refused below.
  const TDescriptor file{open(fileSystemName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  if (file.Value < 0) {
    SetLastErrorForPath(errno, fileSystemName);
    return false;
  }
  struct stat info {};
  if (fstat(file.Value, &info) != 0) return Fail(SetLastErrorFromErrno());
  if (S_ISDIR(info.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  if (!S_ISREG(info.st_mode)) return Fail(ERROR_BAD_FILE_TYPE);
  if (info.st_size > maxBytes) return Fail(ERROR_FILE_TOO_LARGE);
  std::string read;
  read.reserve(static_cast<size_t>(info.st_size));
  char chunk[kChunkBytes];
  for (;;) {
    const ssize_t n = ::read(file.Value, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Fail(SetLastErrorFromErrno());
    if (n == 0) break;
    if (static_cast<int64_t>(read.size()) + n > maxBytes) return Fail(ERROR_FILE_TOO_LARGE);
    read.append(chunk, static_cast<size_t>(n));
  }
  bytes.swap(read);
  SetLastError(ERROR_SUCCESS);
  return true;
}

AnsiString ReadStreamRest(TStream& stream, int64_t maxBytes) {
  const int64_t position = stream.Position();
  const int64_t size = position < 0 ? -1 : stream.Size();
  AnsiString bytes;
  // The reported size only sizes the first allocation, never beyond the limit.
  if (size > position) bytes.reserve(static_cast<size_t>(std::min(size - position, maxBytes)));
  char chunk[kChunkBytes];
  for (;;) {
    const int32_t n = stream.Read(chunk, static_cast<int32_t>(sizeof chunk));
    if (n <= 0) break;
    if (static_cast<int64_t>(bytes.size()) + n > maxBytes) throw EReadError(Format(SStreamTooLong, {maxBytes}));
    bytes.append(chunk, static_cast<size_t>(n));
  }
  return bytes;
}
