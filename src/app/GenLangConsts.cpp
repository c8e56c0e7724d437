// Build tool: writes the program's "LANG_CONSTS" resource, the default texts of every
// translatable constant, from the program's resource-string tables.
//
// Usage: gen-lang-consts <output-file>
#include <cstdio>

#include "app/ProgramResStrings.h"
#include "l10n/LangConstants.h"
#include "platform/base/CodePages.h"
#include "unicode/UniClasses.h"
#include "unicode/UniSystem.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output-file>\n", argv[0]);
    return 2;
  }
  try {
    TLang_Constants constants([] { return uint16_t{1033}; });
    for (const auto& table : ProgramResStringTables)
      for (PResStringRec record : table) constants.AddConstant(record->Name, LoadWideResString(record), 0);
    TUniFileStream output(AnsiToWideWithCodePage(argv[1], CP_UTF8), fmCreate);
    constants.SaveToStream(output);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gen-lang-consts: %s\n", e.what());
    return 1;
  }
  return 0;
}
