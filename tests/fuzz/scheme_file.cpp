// Scheme files are edited by hand and passed around: any bytes, as a ".gws" scheme or as
// an old ".ini" one, must list, load and migrate without a crash. A loaded scheme
// written and loaded again writes the same file again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzScratchFolder.h"
#include "convert/cVoDaziScheme.h"
#include "platform/base/FileSystemNames.h"
#include "unicode/ProgramDir.h"
#include "unicode/UniWideStrings.h"
#include "unicode/ini/UniIniFiles.h"

namespace {

WideString SavedText(const TVoDaziScheme& scheme) {
  TUniMemIniFile ini(WideString{});
  scheme.SchemeSaveToIni(ini);
  TUniStringList lines;
  ini.GetStrings(lines);
  return lines.Text();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const TFuzzScratchFolder folder;
  folder.Write("fuzz.gws", bytes);
  folder.Write("old.ini", bytes);
  SetProgramDir(FileSystemNameToWide(folder.Path()));

  MigrateOldSchemes();
  TUniStringList names;
  ListSchemes(names);

  TVoDaziScheme scheme;
  scheme.LoadSchemeFile(u"fuzz");
  const WideString written = SavedText(scheme);
  {
    TUniMemIniFile ini(FileSystemNameToWide(folder.Path() + "/again.gws"));
    scheme.SchemeSaveToIni(ini);
    ini.UpdateFile();
  }
  TVoDaziScheme again;
  again.LoadSchemeFile(u"again");
  if (SavedText(again) != written) std::abort();
  return 0;
}
