#include "platform/base/InputLanguage.h"

#include <atomic>

#include "platform/base/CodePages.h"

namespace {

std::atomic<LANGID> InputLanguage{0};

}  // namespace

LANGID GetInputLanguage() noexcept {
  const LANGID language = InputLanguage.load();
  return language != 0 ? language : CodePageLanguage(GetACP());
}

void SetInputLanguage(LANGID language) noexcept { InputLanguage.store(language); }
