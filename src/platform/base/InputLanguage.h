// The keyboard's input language: the language the user types in. The GUI layer sets it
// whenever the user switches input languages; until it does (and without a GUI at all)
// the input language is the language of the process's ANSI code page, so 8-bit text
// typed in it converts with that code page.
#pragma once

#include "platform/base/Locale.h"

// The language set last, or the ANSI code page's language (CodePageLanguage) when none
// is set.
LANGID GetInputLanguage() noexcept;
// 0 clears the setting.
void SetInputLanguage(LANGID language) noexcept;
