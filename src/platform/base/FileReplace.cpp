#include "platform/base/FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>

#include "platform/base/CodePages.h"
#include "platform/base/Exception.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/Format.h"
#include "platform/base/LastError.h"

namespace {

// The file a link points to, so that replacing it keeps the link; the name itself when
// nothing exists there yet.
std::string ResolvedTarget(const std::string& name) {
  char resolved[PATH_MAX];
  return realpath(name.c_str(), resolved) ? std::string(resolved) : name;
}

// The folder (device and node) and the name in it of an existing file, links followed.
struct TFileEntry {
  dev_t Device = 0;
  ino_t Node = 0;
  std::string Name;
};

std::optional<TFileEntry> EntryOf(const std::string& name) {
  char resolved[PATH_MAX];
  if (!realpath(name.c_str(), resolved)) return std::nullopt;
  const std::string path(resolved);
  const size_t slash = path.rfind('/');
  const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
  struct stat status {};
  if (stat(folder.c_str(), &status) != 0) return std::nullopt;
  return TFileEntry{status.st_dev, status.st_ino, path.substr(slash + 1)};
}

[[noreturn]] void RaiseCreateError(const std::string& name) {
  const AnsiString reason = WideToAnsi(SystemErrorMessage(GetLastError()));
  throw EFCreateError(Format(SFCreateErrorEx, {name, reason}));
}

mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// The temporary file's name template in the target's folder: short, so that a target
// whose name is as long as a name may be still has room beside it.
std::string TemporaryTemplate(const std::string& target) {
  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  return folder + ".~qf" + "XXXXXX";
}

// Makes the rename itself durable; a folder that cannot be synced is no failure of the
// file, whose data is already on the disk.
void SyncFolderOf(const std::string& target) {
  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
  const int handle = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (handle < 0) return;
  fsync(handle);
  close(handle);
}

}  // namespace

TFileReplaceStream::TFileReplaceStream(std::string fileSystemName)
    : THandleStream(INVALID_HANDLE_VALUE), FTarget(ResolvedTarget(fileSystemName)) {
  struct stat info {};
  mode_t mode = NewFileMode();
  const bool exists = stat(FTarget.c_str(), &info) == 0;
  if (exists) {
    if (!S_ISREG(info.st_mode) || (info.st_mode & S_IWUSR) == 0) {
      SetLastError(ERROR_ACCESS_DENIED);
      RaiseCreateError(fileSystemName);
    }
    mode = info.st_mode & 07777;
  }
  FTemporary = TemporaryTemplate(FTarget);
  FHandle = mkostemp(FTemporary.data(), O_CLOEXEC);
  if (FHandle >= 0 && exists && fchown(FHandle, info.st_uid, info.st_gid) != 0) {
    // Keeping the owner takes privileges that a user mostly lacks; the group often works.
    [[maybe_unused]] const int groupKept = fchown(FHandle, static_cast<uid_t>(-1), info.st_gid);
  }
  if (FHandle < 0 || fchmod(FHandle, mode) != 0) {
    SetLastErrorForPath(errno, FTemporary);
    // Without a handle the name mkostemp tried last is not ours: it may be another file's.
    if (FHandle < 0) FTemporary.clear();
    Discard();
    RaiseCreateError(fileSystemName);
  }
}

TFileReplaceStream::~TFileReplaceStream() { Discard(); }

bool TFileReplaceStream::Commit() {
  // The data reaches the disk before the name does, so a crash leaves the old file or
  // the whole new one.
  const bool synced = fsync(FHandle) == 0;
  const bool closed = close(FHandle) == 0;
  FHandle = INVALID_HANDLE_VALUE;
  if (!synced || !closed || rename(FTemporary.c_str(), FTarget.c_str()) != 0) {
    SetLastErrorFromErrno();
    Discard();
    return false;
  }
  FTemporary.clear();
  SyncFolderOf(FTarget);
  return true;
}

void TFileReplaceStream::Discard() noexcept {
  if (FHandle >= 0) close(FHandle);
  FHandle = INVALID_HANDLE_VALUE;
  if (!FTemporary.empty()) unlink(FTemporary.c_str());
  FTemporary.clear();
}

bool ReplacesFile(const std::string& target, const std::string& other) {
  const std::optional<TFileEntry> a = EntryOf(target);
  const std::optional<TFileEntry> b = EntryOf(other);
  return a && b && a->Device == b->Device && a->Node == b->Node && a->Name == b->Name;
}

bool ReplaceFileContents(const std::string& fileSystemName, std::string_view bytes) {
  try {
    TFileReplaceStream stream(fileSystemName);
    stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    return stream.Commit();
  } catch (const EFCreateError&) {
    return false;  // the last error says why
  } catch (const EWriteError&) {
    return false;  // the failed write set the last error
  }
}
