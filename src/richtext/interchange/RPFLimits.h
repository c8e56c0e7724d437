// What the native-format reader accepts from untrusted input beyond what the bytes of
// the stream bound by themselves. Every count and length a stream announces (line
// counts, binary blocks, hexadecimal lines, picture and control bodies, style and marker
// counts) is checked against the bytes that remain before anything is allocated for it;
// the limits here bound what the bytes cannot.
//
// Each read takes its copy from DefaultRPFLimits() when it starts; tests narrow them for
// one scope with TRPFLimitsOverride. Going past a limit ends the read as a damaged
// stream does: it answers false and the document is left as it was.
#pragma once

#include <cstdint>

struct TRPFLimits {
  // Tables nest through the cells' data, each level a read inside the read of the table
  // that holds it; word processors nest a few levels. Deeper nesting would let a small
  // hostile stream exhaust the stack.
  int32_t MaxTableNesting = 64;
  // Styles of one collection the stream carries; documents use a few hundred at most.
  // Merging compares every style read with every style of the style sheet, so a stream
  // of more is refused instead.
  int32_t MaxStylesPerCollection = 4096;
};

namespace RPFLimitsDetail {
inline const TRPFLimits* CurrentDefault = nullptr;
}

// The limits that reads started now take.
inline const TRPFLimits& DefaultRPFLimits() {
  static const TRPFLimits builtIn;
  return RPFLimitsDetail::CurrentDefault ? *RPFLimitsDetail::CurrentDefault : builtIn;
}

// For tests: reads started while it lives take `limits`; the previous defaults come back
// when it goes. Overrides nest.
class TRPFLimitsOverride {
public:
  explicit TRPFLimitsOverride(const TRPFLimits& limits) : FLimits(limits), FPrevious(RPFLimitsDetail::CurrentDefault) {
    RPFLimitsDetail::CurrentDefault = &FLimits;
  }
  ~TRPFLimitsOverride() { RPFLimitsDetail::CurrentDefault = FPrevious; }
  TRPFLimitsOverride(const TRPFLimitsOverride&) = delete;
  TRPFLimitsOverride& operator=(const TRPFLimitsOverride&) = delete;

private:
  TRPFLimits FLimits;
  const TRPFLimits* FPrevious;
};
