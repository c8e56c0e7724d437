// The constants stream is embedded in the program, and older versions of it come from
// files anyone may edit: any bytes must load or raise the library's own exception, never
// crash. Versions 0 and 1 hold 8-bit values, decoded here in a single-byte code page
// (Russian), a multi-byte one (Japanese) and the default language's. A loaded list
// written in the current version and loaded again gives the same constants.
#include <cstdint>
#include <cstdlib>

#include "l10n/LangConstants.h"
#include "platform/base/Exception.h"
#include "platform/base/Streams.h"
#include "unicode/UniWideStrings.h"

namespace {

bool SameConstants(const TLang_Constants& a, const TLang_Constants& b) {
  if (a.Count() != b.Count() || a.AutoSaveLangSource() != b.AutoSaveLangSource()) return false;
  for (int32_t i = 0; i < a.Count(); ++i)
    if (a.Items(i).Name != b.Items(i).Name || a.Items(i).Value != b.Items(i).Value) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1 << 20)) return 0;
  TMemoryStream input;
  input.WriteBuffer(data, static_cast<int32_t>(size));
  for (const uint16_t langID : {uint16_t{1033}, uint16_t{1049}, uint16_t{1041}}) {
    input.SetPosition(0);
    TLang_Constants constants([langID] { return langID; });
    try {
      constants.LoadFromStream(input);
    } catch (const Exception&) {
      continue;
    }
    for (int32_t i = 0; i < constants.Count(); ++i)
      if (constants.IndexOf(constants.Items(i).Name) != i) std::abort();

    TMemoryStream written;
    constants.SaveToStream(written);
    written.SetPosition(0);
    TLang_Constants again([] { return uint16_t{1033}; });
    again.LoadFromStream(written);
    if (!SameConstants(constants, again)) std::abort();

    TUniStringList lines;
    again.SaveToStrings(lines, 0);
    if (lines.Count() != again.Count()) std::abort();
  }
  return 0;
}
