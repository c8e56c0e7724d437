#include "archive/ArMediaPrompts.h"

#include <atomic>

namespace {
std::atomic<IArMediaPrompts*> Installed{nullptr};
}  // namespace

void SetArMediaPrompts(IArMediaPrompts* prompts) { Installed.store(prompts); }

IArMediaPrompts* ArMediaPrompts() { return Installed.load(); }

bool ConfirmArMedia(const AnsiString& text, const AnsiString& caption) {
  IArMediaPrompts* prompts = Installed.load();
  return prompts && prompts->ConfirmMedia(text, caption);
}
