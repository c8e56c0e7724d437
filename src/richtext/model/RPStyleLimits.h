// What styles read from settings files may make the engine allocate or loop over. The
// readers take these defaults, each far beyond any style sheet a program writes; tests
// narrow them for one scope with TRPStyleLimitsOverride. A count past its limit, or a
// long string cut into pieces that WriteLongString never writes, is refused with
// ERichPaneError and the style (or the style sheet) stays as it was.
#pragma once

#include <cstdint>

struct TRPStyleLimits {
  // Styles of one kind in a style sheet, and style templates; style sheets hold dozens.
  int32_t MaxStyles = 65536;
  // Tab stops of one paragraph style; word processors stop at a few dozen.
  int32_t MaxTabs = 4096;
  // Levels of one list style; lists nest a handful of levels.
  int32_t MaxListLevels = 256;
  // Pieces of one long string (500 characters each): 128 MB of hexadecimal picture text.
  int32_t MaxLongStringPieces = 1 << 18;
};

namespace RPStyleLimitsDetail {
inline const TRPStyleLimits* Current = nullptr;
}

inline const TRPStyleLimits& RPStyleLimits() {
  static const TRPStyleLimits builtIn;
  return RPStyleLimitsDetail::Current ? *RPStyleLimitsDetail::Current : builtIn;
}

// For tests: while it lives, readers take `limits`; overrides nest.
class TRPStyleLimitsOverride {
public:
  explicit TRPStyleLimitsOverride(const TRPStyleLimits& limits)
      : FLimits(limits), FPrevious(RPStyleLimitsDetail::Current) {
    RPStyleLimitsDetail::Current = &FLimits;
  }
  ~TRPStyleLimitsOverride() { RPStyleLimitsDetail::Current = FPrevious; }
  TRPStyleLimitsOverride(const TRPStyleLimitsOverride&) = delete;
  TRPStyleLimitsOverride& operator=(const TRPStyleLimitsOverride&) = delete;

private:
  TRPStyleLimits FLimits;
  const TRPStyleLimits* FPrevious;
};
