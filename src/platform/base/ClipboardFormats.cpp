#include "platform/base/ClipboardFormats.h"

#include <mutex>
#include <vector>

#include "platform/base/TextUtils.h"

namespace {

struct TFormatRegistry {
  std::mutex Lock;
  // The name of format FirstRegisteredClipboardFormat + i, as first registered.
  std::vector<AnsiString> Names;
};

TFormatRegistry& Registry() {
  static TFormatRegistry registry;
  return registry;
}

}  // namespace

uint32_t RegisterClipboardFormatA(AnsiStringView name) {
  if (name.empty()) return 0;
  TFormatRegistry& registry = Registry();
  const std::lock_guard<std::mutex> guard(registry.Lock);
  for (size_t i = 0; i < registry.Names.size(); ++i)
    if (SameText(registry.Names[i], name)) return FirstRegisteredClipboardFormat + static_cast<uint32_t>(i);
  registry.Names.emplace_back(name);
  return FirstRegisteredClipboardFormat + static_cast<uint32_t>(registry.Names.size() - 1);
}

AnsiString GetClipboardFormatName(uint32_t format) {
  TFormatRegistry& registry = Registry();
  const std::lock_guard<std::mutex> guard(registry.Lock);
  if (format < FirstRegisteredClipboardFormat) return {};
  const size_t index = format - FirstRegisteredClipboardFormat;
  return index < registry.Names.size() ? registry.Names[index] : AnsiString();
}
