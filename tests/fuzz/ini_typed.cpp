// Settings and scheme files are edited by hand, and their values are read as numbers,
// flags, dates, times and hexadecimal bytes: any value must convert or give the default,
// never crash. The bytes load as an in-memory ini file; every key of every section is
// read in every type. What a typed write stores reads back as the same value: the
// integer and the bytes exactly, a date and time to the second.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/base/Streams.h"
#include "unicode/UniWideStrings.h"
#include "unicode/ini/UniIniFiles.h"

namespace {

constexpr double MaxDateTime = 2958466.0;  // 12/31/9999 + 1
constexpr double SecondOfDay = 1.0 / 86400;

bool SameBytes(TMemoryStream& a, TMemoryStream& b) {
  return a.Size() == b.Size() &&
         (a.Size() == 0 || std::memcmp(a.Memory(), b.Memory(), static_cast<size_t>(a.Size())) == 0);
}

void ReadEveryType(TUniMemIniFile& ini, const WideString& section, const WideString& key) {
  const int32_t integer = ini.ReadInteger(section, key, -1);
  ini.ReadBool(section, key, true);
  ini.ReadFloat(section, key, 0);
  ini.ReadDate(section, key, 0);
  ini.ReadTime(section, key, 0);
  const TDateTime dateTime = ini.ReadDateTime(section, key, NAN);

  TMemoryStream bytes;
  const int32_t count = ini.ReadBinaryStream(section, key, bytes);
  if (count != bytes.Size()) std::abort();
  TStringStream other(AnsiString{});
  if (ini.ReadBinaryStream(section, key, other) != count) std::abort();
  if (other.DataString().size() != static_cast<size_t>(count) ||
      (count > 0 && std::memcmp(other.DataString().data(), bytes.Memory(), static_cast<size_t>(count)) != 0))
    std::abort();
  TMemoryStream inside;
  inside.WriteBuffer("abc", 3);
  inside.SetPosition(1);
  ini.ReadBinaryStream(section, key, inside);

  ini.WriteInteger(u"Fuzz", u"Integer", integer);
  if (ini.ReadInteger(u"Fuzz", u"Integer", 0) != integer) std::abort();
  bytes.SetPosition(0);
  ini.WriteBinaryStream(u"Fuzz", u"Bytes", bytes);
  TMemoryStream again;
  ini.ReadBinaryStream(u"Fuzz", u"Bytes", again);
  if (!SameBytes(bytes, again)) std::abort();
  if (std::isfinite(dateTime) && dateTime >= 0 && dateTime < MaxDateTime) {
    ini.WriteDateTime(u"Fuzz", u"DateTime", dateTime);
    if (std::fabs(ini.ReadDateTime(u"Fuzz", u"DateTime", NAN) - dateTime) > 1.001 * SecondOfDay) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1 << 16)) return 0;
  TStringStream stream(AnsiString(reinterpret_cast<const char*>(data), size));
  TUniStringList lines;
  lines.LoadFromStream(stream);
  TUniMemIniFile ini(WideString{});
  ini.SetStrings(lines);

  TUniStringList sections;
  ini.ReadSections(sections);
  for (int32_t s = 0; s < sections.Count(); ++s) {
    TUniStringList keys;
    ini.ReadSection(sections.Strings(s), keys);
    for (int32_t k = 0; k < keys.Count(); ++k) ReadEveryType(ini, sections.Strings(s), keys.Strings(k));
  }
  return 0;
}
