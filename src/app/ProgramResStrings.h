// Every table of translatable resource strings in the program, in the order of start-up.
// The program registers them with the translations when it starts, and the build writes
// their names and built-in texts into the embedded "LANG_CONSTS" from this same list, so
// each message is declared once, in its own subsystem.
#pragma once

#include <span>

#include "convert/ConvertResStrings.h"
#include "imaging/ImagingStrings.h"
#include "platform/base/ResString.h"
#include "wolf/WolfResStrings.h"

inline const std::span<const PResStringRec> ProgramResStringTables[] = {
    ImagingResStrings,
    WolfResStrings,
    ConvertResStrings,
};
