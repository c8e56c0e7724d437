// The identifier under which a window's language controller lists a component's text,
// as a translator reads it from the window's language source.
#pragma once

#include <cstdint>

#include "l10n/LangController.h"

// The identifier of the component's property at path, searched below entry; 0 when the
// controller does not list it.
inline uint32_t LangIdOf(TLang_CompEntry& entry, const TComponent* component, const char* path) {
  if (entry.Component == component && entry.PropEntries)
    if (TLang_PropEntry* prop = entry.FindProp(path)) return prop->Id;
  for (auto& child : entry.Children)
    if (uint32_t id = LangIdOf(*child, component, path)) return id;
  return 0;
}
