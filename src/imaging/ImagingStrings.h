// The resource strings of the imaging folder: built-in texts, translatable by name.
#pragma once

#include "platform/base/ResString.h"

inline constexpr TResStringRec SErrSourceImageTooSmall{"SErrSourceImageTooSmall", "Source bitmap too small"};

// Every resource string of the folder, for registration with the translations.
inline constexpr PResStringRec ImagingResStrings[] = {&SErrSourceImageTooSmall};
