// Scheme files are edited by hand and passed around: any bytes, as a ".gws" scheme or as
// an old ".ini" one, must list, load and migrate without a crash. A loaded scheme
// written and loaded again writes the same file again (each written text is checked
// once).
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <unordered_set>

#include "FuzzScratchFolder.h"
#include "convert/cVoDaziScheme.h"
#include "platform/base/FileSystemNames.h"
#include "unicode/ProgramDir.h"
#include "unicode/UniWideStrings.h"
#include "unicode/ini/UniIniFiles.h"

namespace {

WideString TextOf(TUniMemIniFile& ini) {
  TUniStringList lines;
  ini.GetStrings(lines);
  return lines.Text();
}

WideString SavedText(const TVoDaziScheme& scheme) {
  TUniMemIniFile ini(WideString{});
  scheme.SchemeSaveToIni(ini);
  return TextOf(ini);
}

// The round trip writes the text to a file and reads it back, so its outcome depends on
// that text alone: each text is checked once. Most inputs load a scheme that an input
// before them wrote already (the defaults above all), and the round trip is half of an
// input's work.
bool CheckedBefore(const WideString& written) {
  static std::unordered_set<size_t> checked;
  if (checked.size() > 1000000) checked.clear();
  return !checked.insert(std::hash<WideString>{}(written)).second;
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
  TUniMemIniFile ini(FileSystemNameToWide(folder.Path() + "/again.gws"));
  scheme.SchemeSaveToIni(ini);
  const WideString written = TextOf(ini);
  if (CheckedBefore(written)) return 0;
  ini.UpdateFile();
  TVoDaziScheme again;
  again.LoadSchemeFile(u"again");
  if (SavedText(again) != written) std::abort();
  return 0;
}
