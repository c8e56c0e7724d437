#include "app/uOutputFolder.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"
#include "unicode/UniSysUtils.h"

bool CanWriteToFolder(const WideString& folder, WideString& reason) {
  std::string probe;
  if (!WideToFileSystemName(WideIncludeTrailingBackslash(folder), probe)) {
    reason = SystemErrorMessage(GetLastError());
    return false;
  }
  probe += ".~qfXXXXXX";
  const int handle = mkostemp(probe.data(), O_CLOEXEC);
  if (handle < 0) {
    reason = SystemErrorMessage(SetLastErrorForPath(errno, probe));
    return false;
  }
  close(handle);
  unlink(probe.c_str());
  return true;
}
