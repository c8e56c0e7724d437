// Ini and text files are edited by hand: any bytes must load as lines (whatever their
// byte-order mark says), parse as an ini file and be answered by the private-profile
// calls, never crash. Parsing what an in-memory ini file writes gives the same lines
// again, a section's lines read at once say for every key what reading that key alone
// says, and a value written through the profile calls reads back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzScratchFolder.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/PrivateProfile.h"
#include "platform/base/Streams.h"
#include "unicode/UniWideStrings.h"
#include "unicode/ini/UniIniFiles.h"

namespace {

WideString IniFileText(TUniMemIniFile& ini) {
  TUniStringList lines;
  ini.GetStrings(lines);
  return lines.Text();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  TStringStream stream(bytes);
  TUniStringList lines;
  lines.LoadFromStream(stream);

  TUniMemIniFile ini(WideString{});
  ini.SetStrings(lines);
  const WideString written = IniFileText(ini);
  TUniStringList again;
  again.SetText(written);
  ini.SetStrings(again);
  if (IniFileText(ini) != written) std::abort();

  const TFuzzScratchFolder folder;
  const WideString name = FileSystemNameToWide(folder.Write("fuzz.ini", bytes));
  for (const WideString& section : GetPrivateProfileNamesW(nullptr, name.c_str()))
    for (const WideString& key : GetPrivateProfileNamesW(section.c_str(), name.c_str()))
      GetPrivateProfileValueW(section.c_str(), key.c_str(), nullptr, name.c_str());
  {
    TUniIniFile file(name);
    TUniStringList sections;
    file.ReadSections(sections);
    for (int32_t s = 0; s < sections.Count(); ++s) {
      const WideString section = sections.Strings(s);
      TUniStringList keys, values;
      file.ReadSection(section, keys);
      file.ReadSectionValues(section, values);
      if (values.Count() != keys.Count()) std::abort();
      for (int32_t k = 0; k < keys.Count(); ++k)
        if (values.Strings(k) != keys.Strings(k) + u"=" + file.ReadString(section, keys.Strings(k), WideString()))
          std::abort();
    }
  }
  const WideString value = u" fuzzed \x4E2D ";
  if (WritePrivateProfileStringW(u"Fuzz", u"Key", value.c_str(), name.c_str()) &&
      GetPrivateProfileValueW(u"Fuzz", u"Key", nullptr, name.c_str()) != value)
    std::abort();
  return 0;
}
