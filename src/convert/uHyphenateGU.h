// Soft hyphenation of Russian and Latin text by letter classes, without a dictionary.
#pragma once

#include "platform/base/Types.h"

inline constexpr WideChar SoftHyphen = 0x00AD;

// The text with soft hyphens inserted into its words (runs that start with a letter and
// go on with letters and "-"); every other character is copied unchanged and in order.
WideString Hyphenate(WideStringView text);
