// The program `quirefold-batch`. Until the main window exists it sets up the runtime and
// the translations, then says who it is: the main window's caption, with the version of
// the program's own file.
#include <cstdio>

#include "app/ProgramResStrings.h"
#include "app/uVersion.h"
#include "l10n/uLangRes.h"
#include "platform/base/Module.h"
#include "unicode/UniRuntimeSetup.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"

int main() {
  InstallResStringTranslation();
  for (const auto& table : ProgramResStringTables) RegisterResStrings(table);
  SetupUnicodeEnvironment();
  std::printf("%s\n", WideToUtf8(VersionCaption(WideGetModuleFileName(HInstance))).c_str());
  return 0;
}
