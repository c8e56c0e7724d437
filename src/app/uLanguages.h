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

// Switches the program to the language (every window and every translatable message);
// a LANGID without a registered file shows the built-in language. A language whose file
// cannot be loaded raises WideException SMsgLanguageFailed with the language's name and
// the reason, and the program stays in the language it showed.
void SwitchLanguage(uint16_t langID);

// Registers every language file of the program's folder (not of its subfolders) with
// the language manager, in the order the folder lists them, and switches to the stored
// language when one was chosen (Settings.LanguageId > 0; one without a file shows the
// built-in language). A stored language that cannot be loaded leaves the built-in one
// (the stored choice is kept) and its message goes to failure; failure is empty when
// the switch succeeded or was not asked for. Returns the number of files registered.
// Runs before the language dialog is created, which lists what was registered.
int32_t RegisterLanguageFiles(WideString& failure);
int32_t RegisterLanguageFiles();

// The Language button: shows the dialog with the stored language selected; when it is
// confirmed, switches the program to the chosen language and then stores its LANGID. A
// language that cannot be loaded raises as SwitchLanguage, and the stored choice stays.
// False when the dialog was cancelled.
bool ChooseLanguage(TfrmSelectLanguage& dialog);
