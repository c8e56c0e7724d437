#include "platform/base/FileReplace.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

[[noreturn]] void RaiseCreateError(const std::string& name) {
  const AnsiString reason = WideToAnsi(SystemErrorMessage(GetLastError()));
  throw EFCreateError(Format(SFCreateErrorEx, {name, reason}));
}

mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

TFileReplaceStream::TFileReplaceStream(std::string fileSystemName)
    : THandleStream(INVALID_HANDLE_VALUE), FTarget(ResolvedTarget(fileSystemName)) {
  struct stat info {};
  mode_t mode = NewFileMode();
  if (stat(FTarget.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode) || (info.st_mode & S_IWUSR) == 0) {
      SetLastError(ERROR_ACCESS_DENIED);
      RaiseCreateError(fileSystemName);
    }
    mode = info.st_mode & 07777;
  }
  FTemporary = FTarget + ".~XXXXXX";
  FHandle = mkostemp(FTemporary.data(), O_CLOEXEC);
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
  const bool closed = close(FHandle) == 0;
  FHandle = INVALID_HANDLE_VALUE;
  if (!closed || rename(FTemporary.c_str(), FTarget.c_str()) != 0) {
    SetLastErrorFromErrno();
    Discard();
    return false;
  }
  FTemporary.clear();
  return true;
}

void TFileReplaceStream::Discard() noexcept {
  if (FHandle >= 0) close(FHandle);
  FHandle = INVALID_HANDLE_VALUE;
  if (!FTemporary.empty()) unlink(FTemporary.c_str());
  FTemporary.clear();
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
