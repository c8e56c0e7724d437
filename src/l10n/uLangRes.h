// The registry that gives the program's resource strings their constant names, so that
// the language manager's constants of the same names can replace their texts.
#pragma once

#include <span>

#include "platform/base/ResString.h"
#include "platform/base/Types.h"

// Registers each record under its own name; a name registered again takes the later
// record.
void RegisterResStrings(std::span<const PResStringRec> records);

// The translation hook: the current language's text of a registered record. False for
// the default language, an unregistered record or an empty translation, so that the
// built-in text is used. A registered name that the manager lacks falls back to the
// built-in text too.
bool TranslateResString(PResStringRec record, WideString& text);

// Installs TranslateResString as the resource-string hook; before any registration.
void InstallResStringTranslation();
void UninstallResStringTranslation();
