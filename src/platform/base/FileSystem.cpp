// Attributes, folders, renaming and deleting.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>

#include "platform/base/FileAttributes.h"
#include "platform/base/FileMoves.h"
#include "platform/base/FileSystem.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"

namespace {

bool FailForPath(int errnoValue, const std::string& path) {
  SetLastErrorForPath(errnoValue, path);
  return false;
}

bool Succeed() {
  SetLastError(ERROR_SUCCESS);
  return true;
}

std::string_view LastPart(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

uint32_t AttributesOf(const std::string& path) {
  struct stat info {};
  if (!StatusForAttributes(AT_FDCWD, path.c_str(), info)) {
    SetLastErrorForPath(errno, path);
    return INVALID_FILE_ATTRIBUTES;
  }
  SetLastError(ERROR_SUCCESS);
  return AttributesFromStatus(info, LastPart(path));
}

bool SetAttributesOf(const std::string& path, uint32_t attributes) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return FailForPath(errno, path);
  const mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? info.st_mode & ~S_IWUSR : info.st_mode | S_IWUSR;
  if (mode != info.st_mode && chmod(path.c_str(), mode & 07777) != 0) return FailForPath(errno, path);
  return Succeed();
}

bool CreateDirectoryOf(const std::string& path) {
  if (mkdir(path.c_str(), 0777) == 0) return Succeed();
  // A file standing where a parent folder should be: the name cannot be a folder's.
  if (errno == ENOTDIR) {
    SetLastError(ERROR_DIRECTORY);
    return false;
  }
  return FailForPath(errno, path);
}

bool RemoveDirectoryOf(const std::string& path) {
  if (rmdir(path.c_str()) == 0) return Succeed();
  const int error = errno;
  struct stat info {};
  if (error == ENOTDIR && stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) {
    SetLastError(ERROR_DIRECTORY);
    return false;
  }
  // rmdir says EEXIST or ENOTEMPTY for a folder with entries.
  return FailForPath(error == EEXIST ? ENOTEMPTY : error, path);
}

bool MoveOf(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return Succeed();
  // File systems without RENAME_NOREPLACE refuse the flag.
  if (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) return MoveByLinking(from, to);
  const int error = errno;
  struct stat info {};
  // The source's status tells which name was missing.
  return FailForPath(error, error == ENOENT && lstat(from.c_str(), &info) == 0 ? to : from);
}

bool DeleteOf(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return FailForPath(errno, path);
  // Windows refuses to delete a folder or a read-only file.
  if (S_ISDIR(info.st_mode) || (S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) == 0)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  if (unlink(path.c_str()) != 0) return FailForPath(errno, path);
  return Succeed();
}

// Runs `call` on the bytes of one or two names given in either form.
template <typename TChar, typename TCall>
auto WithName(const TChar* name, TCall call, decltype(call(std::string())) failed) {
  std::string bytes;
  return NameBytes(name, bytes) ? call(bytes) : failed;
}

template <typename TChar>
bool MoveByNames(const TChar* from, const TChar* to) {
  std::string fromBytes, toBytes;
  return NameBytes(from, fromBytes) && NameBytes(to, toBytes) && MoveOf(fromBytes, toBytes);
}

}  // namespace

bool MoveByLinking(const std::string& from, const std::string& to) {
  struct stat info {};
  if (lstat(from.c_str(), &info) != 0) return FailForPath(errno, from);
  if (!S_ISDIR(info.st_mode)) {
    if (link(from.c_str(), to.c_str()) != 0) return FailForPath(errno, errno == EEXIST ? to : from);
    if (unlink(from.c_str()) != 0) {
      const int error = errno;
      unlink(to.c_str());
      return FailForPath(error, from);
    }
    return Succeed();
  }
  // A folder cannot be linked: its target is checked, then it is renamed.
  if (lstat(to.c_str(), &info) == 0) return FailForPath(EEXIST, to);
  if (rename(from.c_str(), to.c_str()) != 0) return FailForPath(errno, from);
  return Succeed();
}

bool StatusForAttributes(int folderHandle, const char* path, struct stat& info) {
  if (fstatat(folderHandle, path, &info, 0) == 0) return true;
  const int error = errno;
  if (fstatat(folderHandle, path, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode)) return true;
  errno = error;
  return false;
}

uint32_t AttributesFromStatus(const struct stat& info, std::string_view name) {
  uint32_t attributes = 0;
  if (S_ISDIR(info.st_mode))
    attributes |= FILE_ATTRIBUTE_DIRECTORY;
  else if (S_ISREG(info.st_mode))
    attributes |= FILE_ATTRIBUTE_ARCHIVE;
  else
    attributes |= FILE_ATTRIBUTE_SYSTEM;
  if ((info.st_mode & S_IWUSR) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
  if (name.size() > 1 && name[0] == '.' && name != "..") attributes |= FILE_ATTRIBUTE_HIDDEN;
  return attributes;
}

uint32_t GetFileAttributesW(const WideChar* name) { return WithName(name, AttributesOf, INVALID_FILE_ATTRIBUTES); }
uint32_t GetFileAttributesA(const char* name) { return WithName(name, AttributesOf, INVALID_FILE_ATTRIBUTES); }

bool SetFileAttributesW(const WideChar* name, uint32_t attributes) {
  return WithName(
      name, [&](const std::string& path) { return SetAttributesOf(path, attributes); }, false);
}
bool SetFileAttributesA(const char* name, uint32_t attributes) {
  return WithName(
      name, [&](const std::string& path) { return SetAttributesOf(path, attributes); }, false);
}

bool CreateDirectoryW(const WideChar* name) { return WithName(name, CreateDirectoryOf, false); }
bool CreateDirectoryA(const char* name) { return WithName(name, CreateDirectoryOf, false); }

bool RemoveDirectoryW(const WideChar* name) { return WithName(name, RemoveDirectoryOf, false); }
bool RemoveDirectoryA(const char* name) { return WithName(name, RemoveDirectoryOf, false); }

bool MoveFileW(const WideChar* existingName, const WideChar* newName) { return MoveByNames(existingName, newName); }
bool MoveFileA(const char* existingName, const char* newName) { return MoveByNames(existingName, newName); }

bool DeleteFileW(const WideChar* name) { return WithName(name, DeleteOf, false); }
bool DeleteFileA(const char* name) { return WithName(name, DeleteOf, false); }
