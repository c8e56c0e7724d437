// The translatable messages of the Wolf writer, and their table for the resource-string
// registry.
#pragma once

#include <array>

#include "platform/base/ResString.h"

inline constexpr TResStringRec SErrBadInputImage{"SErrBadInputImage", "Bad input image!"};

inline constexpr std::array<PResStringRec, 1> WolfResStrings{&SErrBadInputImage};
