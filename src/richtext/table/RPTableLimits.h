// What a table read from a stream (its component form inside the native format) may make
// the engine allocate. The grid is built whole from the row and column counts the stream
// announces before its cells are read, and one merged cell may cover all of it, so the
// bytes of the stream do not bound it. Each read takes its copy from
// DefaultRPTableLimits(); tests narrow them for one scope with TRPTableLimitsOverride.
#pragma once

#include <cstdint>

struct TRPTableLimits {
  // Rows times columns of a grid read from a stream; every position is a cell (a document
  // of its own) until the merges are read. Word processors stop at 63 columns; a table of
  // a book has a few hundred rows.
  int64_t MaxCellPositions = int64_t{1} << 17;
};

namespace RPTableLimitsDetail {
inline const TRPTableLimits* CurrentDefault = nullptr;
}

inline const TRPTableLimits& DefaultRPTableLimits() {
  static const TRPTableLimits builtIn;
  return RPTableLimitsDetail::CurrentDefault ? *RPTableLimitsDetail::CurrentDefault : builtIn;
}

// For tests: reads started while it lives take `limits`; overrides nest.
class TRPTableLimitsOverride {
public:
  explicit TRPTableLimitsOverride(const TRPTableLimits& limits)
      : FLimits(limits), FPrevious(RPTableLimitsDetail::CurrentDefault) {
    RPTableLimitsDetail::CurrentDefault = &FLimits;
  }
  ~TRPTableLimitsOverride() { RPTableLimitsDetail::CurrentDefault = FPrevious; }
  TRPTableLimitsOverride(const TRPTableLimitsOverride&) = delete;
  TRPTableLimitsOverride& operator=(const TRPTableLimitsOverride&) = delete;

private:
  TRPTableLimits FLimits;
  const TRPTableLimits* FPrevious;
};
