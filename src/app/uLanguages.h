// The program's languages: the language files beside the program, and the switch to the
// language the user chose.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

class TfrmSelectLanguage;

inline constexpr char16_t LanguageFileMask[] = u"QuirefoldB_*.lng";

// The LANGID that a stored LanguageId names; 0 (the built-in language) for a value no
// LANGID can have.
uint16_t LanguageIdToLangID(int32_t languageId);

// Registers every language file of the program's folder (not of its subfolders) with
// the language manager, in the order the folder lists them, and switches to the stored
// language when one was chosen (Settings.LanguageId > 0; one without a file shows the
// built-in language). Returns the number of files registered. Runs before the language
// dialog is created, which lists what was registered.
int32_t RegisterLanguageFiles();

// The Language button: shows the dialog with the stored language selected; when it is
// confirmed, stores the chosen LANGID and switches the program to it (every window and
// every translatable message). False when the dialog was cancelled.
bool ChooseLanguage(TfrmSelectLanguage& dialog);
