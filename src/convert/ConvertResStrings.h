// The translatable messages of the conversion, and their table for the resource-string
// registry.
#pragma once

#include <array>

#include "platform/base/ResString.h"

// Registered for translation; no conversion raises it (unconvertible characters are
// skipped).
inline constexpr TResStringRec SErrBadWin1251Char{
    "SErrBadWin1251Char",
    "You are entered a symbol (code 0x%4.4x), which\r\ncannot be represented in Windows-1251 code page!"};

inline constexpr std::array<PResStringRec, 1> ConvertResStrings{&SErrBadWin1251Char};
