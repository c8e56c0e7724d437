// Scheme files are edited by hand and passed around: any bytes, as a ".gws" scheme or as
// an old ".ini" one, must list, load and migrate without a crash. A loaded scheme
// written and loaded again writes the same file again (each written text is checked
// once).
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

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
//
// The texts' hashes fill a table made once: an input that allocated memory it keeps would
// make libFuzzer look for a leak after it.
bool CheckedBefore(const WideString& written) {
  constexpr size_t Slots = size_t{1} << 20;
  static std::vector<size_t> table(Slots, 0);
  static size_t used = 0;
  if (used > Slots / 2) {
    std::fill(table.begin(), table.end(), 0);
    used = 0;
  }
  const size_t hash = std::hash<WideString>{}(written) | 1;  // 0 marks a free slot
  for (size_t slot = hash % Slots;; slot = (slot + 1) % Slots) {
    if (table[slot] == hash) return true;
    if (table[slot] == 0) {
      table[slot] = hash;
      ++used;
      return false;
    }
  }
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
