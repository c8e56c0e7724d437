#include "unicode/ProgramDir.h"

#include "platform/base/Module.h"
#include "unicode/UniSysUtils.h"

namespace {

WideString& ProgramDirOverride() {
  static WideString dir;
  return dir;
}

}  // namespace

const WideString& ProgramDir() {
  static const WideString programFolder = ProgramDirectory();
  const WideString& chosen = ProgramDirOverride();
  return chosen.empty() ? programFolder : chosen;
}

void SetProgramDir(const WideString& dir) {
  ProgramDirOverride() = dir.empty() ? dir : WideIncludeTrailingBackslash(dir);
}
