// A style sheet loaded from any bytes as an ini file. A load either takes the whole
// sheet or raises ERichPaneError and leaves the sheet as it was; a sheet it took saves
// into another file and loads back with the same styles. The bytes are read once (an
// in-memory ini file), so even a file of a huge count costs what its size says.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/base/IniFiles.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPStyleTemplates.h"
#include "FuzzScratchFolder.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

struct TCounts {
  int32_t Text, Para, List, Templates;
  bool operator==(const TCounts&) const = default;
};

TCounts CountsOf(const TRPStyle& style) {
  return {style.TextStyles().Count(), style.ParaStyles().Count(), style.ListStyles().Count(),
          style.StyleTemplates().Count()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TFuzzScratchFolder folder;
  const std::string name = folder.Write("styles.ini", std::string(reinterpret_cast<const char*>(data), size));
  TRPStyle style(nullptr);
  const TCounts before = CountsOf(style);
  TMemIniFile ini(name);
  try {
    style.LoadFromINI(ini, "Styles");
  } catch (const ERichPaneError&) {
    Check(CountsOf(style) == before);
    return 0;
  }
  // Parents never loop once linked.
  for (int32_t i = 0; i < style.StyleTemplates().Count(); ++i) {
    int32_t steps = 0;
    for (const TRPStyleTemplate* t = style.StyleTemplates().Template(i); t; t = t->Parent())
      Check(++steps <= style.StyleTemplates().Count());
  }
  TMemIniFile saved(folder.Path() + "/saved.ini");
  style.SaveToINI(saved, "Styles");
  TRPStyle again(nullptr);
  again.LoadFromINI(saved, "Styles");
  Check(CountsOf(again) == CountsOf(style));
  return 0;
}
