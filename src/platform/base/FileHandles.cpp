// File handles: opening, creating, reading, writing, seeking and cutting files.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>

#include "platform/base/FileSystem.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"

namespace {

constexpr mode_t CreatedFileMode = 0666;  // less the umask, as every POSIX program

THandle Fail(uint32_t code) {
  SetLastError(code);
  return INVALID_HANDLE_VALUE;
}

THandle FailForPath(int errnoValue, const std::string& path) {
  SetLastErrorForPath(errnoValue, path);
  return INVALID_HANDLE_VALUE;
}

// Opens `path`; the checks POSIX leaves out (folders, read-only files written to) are
// made on the open descriptor, so they concern the file that was opened.
THandle OpenBytes(const std::string& path, uint32_t access, uint32_t disposition, uint32_t attributes) {
  const bool wantRead = (access & GENERIC_READ) != 0;
  const bool wantWrite = (access & GENERIC_WRITE) != 0;
  if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING || (disposition == TRUNCATE_EXISTING && !wantWrite))
    return Fail(ERROR_INVALID_PARAMETER);
  const int accessFlags = wantWrite ? (wantRead ? O_RDWR : O_WRONLY) : O_RDONLY;
  const bool mayCreate = disposition == CREATE_NEW || disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
  const bool truncate = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
  const mode_t createMode = (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? CreatedFileMode & ~0222 : CreatedFileMode;

  if (mayCreate) {
    const int created = open(path.c_str(), accessFlags | O_CREAT | O_EXCL | O_CLOEXEC, createMode);
    if (created >= 0) {
      SetLastError(ERROR_SUCCESS);
      return created;
    }
    if (errno != EEXIST) return FailForPath(errno, path);
    if (disposition == CREATE_NEW) return Fail(ERROR_FILE_EXISTS);
  }
  // O_NONBLOCK keeps a pipe without writer from blocking the open; pipes are refused below.
  const int handle = open(path.c_str(), accessFlags | O_CLOEXEC | O_NONBLOCK);
  if (handle < 0) return FailForPath(errno, path);
  struct stat info {};
  if (fstat(handle, &info) != 0) {
    const int error = errno;
    close(handle);
    return FailForPath(error, path);
  }
  const bool readOnly = (info.st_mode & S_IWUSR) == 0;
  // Folders, pipes and sockets are no files to read or write, as on Windows.
  const bool notAFile = S_ISDIR(info.st_mode) || S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode);
  if (notAFile || ((wantWrite || truncate) && readOnly) ||
      fcntl(handle, F_SETFL, fcntl(handle, F_GETFL) & ~O_NONBLOCK) != 0) {
    close(handle);
    return Fail(ERROR_ACCESS_DENIED);
  }
  if (truncate && S_ISREG(info.st_mode) && ftruncate(handle, 0) != 0) {
    const int error = errno;
    close(handle);
    return Fail(ErrorFromErrno(error));
  }
  SetLastError(mayCreate ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

uint32_t AccessOfMode(uint32_t mode) {
  switch (mode & 3) {
    case fmOpenRead:
      return GENERIC_READ;
    case fmOpenWrite:
      return GENERIC_WRITE;
    case fmOpenReadWrite:
      return GENERIC_READ | GENERIC_WRITE;
    default:
      return 0;
  }
}

THandle OpenWithMode(const std::string& path, uint32_t mode) {
  if ((mode & 3) == 3 || (mode & 0xF0) > fmShareDenyNone || (mode & ~0xF3u) != 0) return Fail(ERROR_INVALID_PARAMETER);
  return OpenBytes(path, AccessOfMode(mode), OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
}

template <typename TName>
THandle OpenByName(const TName& name, uint32_t mode) {
  std::string bytes;
  return NameBytes(name.c_str(), bytes) ? OpenWithMode(bytes, mode) : INVALID_HANDLE_VALUE;
}

template <typename TName>
THandle CreateByName(const TName& name) {
  std::string bytes;
  if (!NameBytes(name.c_str(), bytes)) return INVALID_HANDLE_VALUE;
  return OpenBytes(bytes, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
}

}  // namespace

THandle FileOpen(const WideString& name, uint32_t mode) { return OpenByName(name, mode); }

THandle FileOpen(const AnsiString& name, uint32_t mode) { return OpenByName(name, mode); }

THandle FileCreate(const WideString& name) { return CreateByName(name); }

THandle FileCreate(const AnsiString& name) { return CreateByName(name); }

THandle CreateFileW(const WideChar* name, uint32_t desiredAccess, uint32_t /*shareMode*/, uint32_t creationDisposition,
                    uint32_t flagsAndAttributes) {
  std::string bytes;
  if (!NameBytes(name, bytes)) return INVALID_HANDLE_VALUE;
  return OpenBytes(bytes, desiredAccess, creationDisposition, flagsAndAttributes);
}

THandle CreateFileA(const char* name, uint32_t desiredAccess, uint32_t /*shareMode*/, uint32_t creationDisposition,
                    uint32_t flagsAndAttributes) {
  std::string bytes;
  if (!NameBytes(name, bytes)) return INVALID_HANDLE_VALUE;
  return OpenBytes(bytes, desiredAccess, creationDisposition, flagsAndAttributes);
}

int32_t FileRead(THandle handle, void* buffer, uint32_t count) {
  if (count > INT32_MAX) count = INT32_MAX;
  auto* at = static_cast<char*>(buffer);
  uint32_t done = 0;
  while (done < count) {
    const ssize_t got = read(handle, at + done, count - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      SetLastErrorFromErrno();
      return -1;
    }
    if (got == 0) break;
    done += static_cast<uint32_t>(got);
  }
  return static_cast<int32_t>(done);
}

int32_t FileWrite(THandle handle, const void* buffer, uint32_t count) {
  if (count > INT32_MAX) count = INT32_MAX;
  const auto* at = static_cast<const char*>(buffer);
  uint32_t done = 0;
  while (done < count) {
    const ssize_t put = write(handle, at + done, count - done);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) {
      SetLastErrorFromErrno();
      return -1;
    }
    done += static_cast<uint32_t>(put);
  }
  return static_cast<int32_t>(done);
}

int64_t FileSeek(THandle handle, int64_t offset, int origin) {
  static constexpr int Whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  if (origin < 0 || origin > 2) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  const off_t position = lseek(handle, static_cast<off_t>(offset), Whence[origin]);
  if (position < 0) {
    // lseek refuses a position before the start with EINVAL.
    SetLastError(errno == EINVAL ? ERROR_NEGATIVE_SEEK : ErrorFromErrno(errno));
    return -1;
  }
  return position;
}

void FileClose(THandle handle) {
  if (handle >= 0) close(handle);
}

bool FileTruncate(THandle handle, int64_t size) {
  if (size < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  if (ftruncate(handle, static_cast<off_t>(size)) != 0) {
    SetLastErrorFromErrno();
    return false;
  }
  return true;
}

bool SetEndOfFile(THandle handle) {
  const int64_t position = FileSeek(handle, 0, 1);
  return position >= 0 && FileTruncate(handle, position);
}

bool FlushFileBuffers(THandle handle) {
  if (fsync(handle) != 0) {
    SetLastErrorFromErrno();
    return false;
  }
  return true;
}
