// The platform family the wrappers take their path by (UniSysUtils' platform flags):
// tests run on the NT family and switch to the 8-bit family where they test its path.
#pragma once

#include "unicode/UniSysUtils.h"

inline void UseEightBitPlatform() { SetPlatformVersion(1, 4, 10); }
inline void UseUnicodePlatform() { SetPlatformVersion(2, 6, 1); }

// The 8-bit family for the scope's life; the NT family again when it ends, even when the
// test body raises, so that a failure does not move the tests after it.
class TEightBitPlatformScope {
public:
  TEightBitPlatformScope() { UseEightBitPlatform(); }
  ~TEightBitPlatformScope() { UseUnicodePlatform(); }
  TEightBitPlatformScope(const TEightBitPlatformScope&) = delete;
  TEightBitPlatformScope& operator=(const TEightBitPlatformScope&) = delete;
};
