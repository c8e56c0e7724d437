// Limits on what language files may ask of the program. Files are loaded whole; the
// defaults are far above any real translation, and tests may lower them.
#pragma once

#include <cstdint>

struct TLangLimits {
  // A language file is read into memory at once: larger files are refused.
  int64_t MaxFileBytes = 64 * 1024 * 1024;
};

TLangLimits& LangLimits();
