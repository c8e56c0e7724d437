// Limits of the XML library on what untrusted input (and the sizes callers pass) may
// make it allocate or loop over. One process-wide record; each default is generous
// enough that no real book is refused. Tests may change a field and restore it.
#pragma once

#include <cstdint>

struct TXmlLimits {
  // Largest read-ahead block of a character reader; larger requests are cut to it,
  // so a caller's buffer size cannot make the reader allocate without bound.
  int32_t MaxInputBufferBytes = 16 * 1024 * 1024;
};

inline TXmlLimits XmlLimits;
