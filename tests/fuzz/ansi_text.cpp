// The 8-bit paths: string lists loaded from files, their comma, delimited and name=value
// forms, the 8-bit ini file and the private-profile calls with buffers of every size,
// and the wide ini file on the 8-bit platform family. Any bytes must load, split and
// answer, never crash or write past a buffer. The list's text, comma text and delimited
// text give the same strings again; a value written through the 8-bit ini file reads
// back unchanged; the in-memory ini file answers every key as the file does.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzScratchFolder.h"
#include "platform/base/Exception.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/IniFiles.h"
#include "platform/base/PrivateProfile.h"
#include "platform/base/Streams.h"
#include "platform/base/StringLists.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniWideStrings.h"
#include "unicode/ini/UniIniFiles.h"

namespace {

bool SameStrings(const TStrings& a, const TStrings& b) {
  if (a.Count() != b.Count()) return false;
  for (int32_t i = 0; i < a.Count(); ++i)
    if (a.Strings(i) != b.Strings(i)) return false;
  return true;
}

void CheckListForms(const TStringList& list) {
  TStringList again;
  again.SetText(list.Text());
  if (!SameStrings(list, again)) std::abort();
  again.SetCommaText(list.CommaText());
  if (!SameStrings(list, again)) std::abort();
  TStringList delimited;
  delimited.Assign(list);  // takes the list's delimiter and quote too
  delimited.SetDelimiter(';');
  delimited.SetQuoteChar('\'');
  again.SetDelimiter(';');
  again.SetQuoteChar('\'');
  again.SetDelimitedText(delimited.DelimitedText());
  if (!SameStrings(list, again)) std::abort();

  for (int32_t i = 0; i < list.Count(); ++i) {
    const AnsiString name = list.Names(i);
    if (!name.empty() && list.IndexOfName(name) > i) std::abort();
    list.ValueFromIndex(i);
  }
  TStringList sorted;
  sorted.Assign(list);
  sorted.SetDuplicates(dupAccept);
  sorted.SetSorted(true);
  int32_t index = 0;
  for (int32_t i = 0; i < list.Count(); ++i)
    if (!sorted.Find(list.Strings(i), index)) std::abort();
}

// The profile calls with buffers of exactly the size given, so that a write past one
// is caught.
void ReadWithSmallBuffers(const char* section, const char* key, const char* fileName) {
  for (const uint32_t size : {1u, 2u, 3u, 8u}) {
    std::vector<char> buffer(size);
    const uint32_t copied = GetPrivateProfileStringA(section, key, "default", buffer.data(), size, fileName);
    if (copied >= size) std::abort();
  }
}

void ReadAnsiIni(const std::string& fileName) {
  TIniFile ini(fileName);
  TMemIniFile memory(fileName);
  TStringList sections;
  ini.ReadSections(sections);
  ReadWithSmallBuffers(nullptr, nullptr, fileName.c_str());
  for (int32_t s = 0; s < sections.Count() && s < 8; ++s) {
    const AnsiString section = sections.Strings(s);
    TStringList keys;
    TStringList values;
    ini.ReadSection(section, keys);
    ini.ReadSectionValues(section, values);
    if (memory.SectionExists(section) != (keys.Count() > 0)) std::abort();
    for (int32_t k = 0; k < keys.Count() && k < 8; ++k)
      if (ini.ReadString(section, keys.Strings(k), "\x01") != memory.ReadString(section, keys.Strings(k), "\x01"))
        std::abort();
  }
  // Every profile call reads the whole file: the small buffers try the first section only.
  if (sections.Count() > 0) {
    const AnsiString section = sections.Strings(0);
    ReadWithSmallBuffers(section.c_str(), nullptr, fileName.c_str());
    TStringList keys;
    ini.ReadSection(section, keys);
    if (keys.Count() > 0) ReadWithSmallBuffers(section.c_str(), keys.Strings(0).c_str(), fileName.c_str());
  }
  try {
    ini.WriteString("Fuzz", "Key", " fuzzed ");
  } catch (const Exception&) {
    return;
  }
  if (ini.ReadString("Fuzz", "Key", AnsiString{}) != " fuzzed ") std::abort();
}

// The wide ini file as the 8-bit platform family runs it: through the 8-bit ini file.
void ReadWideIniOnEightBitPlatform(const std::string& fileName) {
  SetPlatformVersion(1, 4, 10);
  try {
    TUniIniFile ini(FileSystemNameToWide(fileName));
    TUniStringList sections;
    ini.ReadSections(sections);
    for (int32_t s = 0; s < sections.Count() && s < 8; ++s) {
      TUniStringList values;
      ini.ReadSectionValues(sections.Strings(s), values);
    }
    ini.WriteString(u"Fuzz", u"Wide", u"w\u00e9rt");
    ini.ReadString(u"Fuzz", u"Wide", WideString{});
  } catch (const Exception&) {
  }
  SetPlatformVersion(2, 6, 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1 << 16)) return 0;
  const AnsiString bytes(reinterpret_cast<const char*>(data), size);
  TStringStream stream(bytes);
  TStringList list;
  list.LoadFromStream(stream);
  CheckListForms(list);

  const TFuzzScratchFolder folder;
  const std::string fileName = folder.Write("fuzz.ini", bytes);
  TStringList loaded;
  loaded.LoadFromFile(fileName);
  if (!SameStrings(list, loaded)) std::abort();
  ReadAnsiIni(fileName);
  ReadWideIniOnEightBitPlatform(folder.Write("wide.ini", bytes));
  return 0;
}
