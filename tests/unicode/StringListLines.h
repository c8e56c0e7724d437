// The strings of a list, for comparing a list with what a test expects.
#pragma once

#include <vector>

#include "unicode/UniWideStrings.h"

inline std::vector<WideString> Lines(const TWideStrings& list) {
  std::vector<WideString> lines;
  for (int32_t i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
  return lines;
}
