// Every table of translatable resource strings in the program, in the order of start-up.
// The program registers them with the translations when it starts, and the build writes
// their names and built-in texts into the embedded "LANG_CONSTS" from this same list, so
// each message is declared once, in its own subsystem. The message dialog's texts come
// last, so that a language file can translate them as well.
#pragma once

#include <span>

#include "app/AppResStrings.h"
#include "convert/ConvertResStrings.h"
#include "fb2/uFB2Genres.h"
#include "imaging/ImagingStrings.h"
#include "platform/base/ResString.h"
#include "platform/gui/Consts.h"
#include "wolf/WolfResStrings.h"

inline const std::span<const PResStringRec> ProgramResStringTables[] = {
    ImagingResStrings, WolfResStrings, FB2GenreResStrings, AppResStrings, DialogResStrings, ConvertResStrings,
};
