// Limits on what this layer reads into memory whole: settings, scheme, string-list and
// language files, and memory streams loaded from files or streams. The default is far
// above any such file; tests may lower it.
#pragma once

#include <cstdint>

struct TFileLimits {
  // A file or stream loaded whole; a larger one (or a device that never ends) is refused.
  int64_t MaxLoadedBytes = int64_t{256} << 20;
};

TFileLimits& FileLimits();
