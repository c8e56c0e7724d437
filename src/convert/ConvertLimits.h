// The limits of the book builder: what one book may ask of it. Defaults take any real
// book; a test narrows one builder alone through its Limits field.
#pragma once

#include <cstdint>

struct TConvertLimits {
  // The deepest nesting of block and inline elements the builder follows; its handlers
  // recurse once per level, so a hostile book nested thousands deep would exhaust the
  // stack. Real books nest a few dozen levels.
  int32_t MaxNesting = 1000;
};

// The message of the error raised when a book nests its elements deeper than MaxNesting
// (the limit follows it).
inline constexpr char SErrNestedTooDeep[] = "The book nests its elements more levels deep than ";
