// The program `quirefold-batch`. Until the main window exists it sets up the runtime and
// the translations, then says who it is.
#include <cstdio>

#include "app/ProgramResStrings.h"
#include "l10n/uLangRes.h"
#include "unicode/UniRuntimeSetup.h"

int main() {
  InstallResStringTranslation();
  for (const auto& table : ProgramResStringTables) RegisterResStrings(table);
  SetupUnicodeEnvironment();
  std::printf("Quirefold Batch %s\n", QF_VERSION);
  return 0;
}
