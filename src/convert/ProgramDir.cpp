#include "convert/ProgramDir.h"

#include "platform/base/Module.h"

WideString& ProgramDir() {
  static WideString dir = ProgramDirectory();
  return dir;
}
