// What the archive reader accepts from untrusted files. Each limit is a member of the
// archive (and of the component that opens one), defaulted from here; tests set smaller
// values on the object they exercise.
#pragma once

#include <cstdint>

struct TArLimits {
  // A zip without zip64 records names at most 65535 entries in its end record; a
  // directory that holds more is damaged.
  int32_t MaxEntries = 65535;
  // Stored names are 16-bit counted; no real book needs more than a path's worth.
  int32_t MaxNameBytes = 4096;
  // An entry is extracted whole into memory: no book is larger, a bomb is.
  int64_t MaxExpandedBytes = int64_t{512} << 20;
  // Deflate cannot exceed 1032:1; text compresses about 4:1. A higher claimed ratio is a
  // bomb (deflate64 entries included: real encoders stay far below it).
  int64_t MaxRatio = 1100;
  // Entries up to this size are never refused by the ratio: tiny compressed runs of one
  // byte are ordinary.
  int64_t RatioFreeBytes = int64_t{1} << 20;
};
