// The start-up of the UTF-16 environment and the application's UTF-16 exception display.
//
// The display shows a message box once the GUI layer has installed one through
// ExceptionMessageHook; until then it writes the text to standard error.
#pragma once

#include <exception>

#include "platform/base/Types.h"

// Shows an exception's text to the user (the GUI's message box with the error icon,
// captioned with the application's title).
using TExceptionMessageHook = void (*)(const WideString& text);
extern TExceptionMessageHook ExceptionMessageHook;

// Switches on every runtime patch (InstallUnicodeRuntimePatches(urpAll)), so that
// UserCodePage is CP_ACP and resource strings, conversions, formatting, exception display
// and the raising of the last OS error are UTF-16-aware. Called once at start-up.
void SetupUnicodeEnvironment();

// The text the display shows: a WideException's UTF-16 message, or else the 8-bit
// message widened, with "." appended when the text is not empty and its last character
// has a code above that of ".".
WideString ExceptionDisplayText(const std::exception& e);
// Shows ExceptionDisplayText through ExceptionMessageHook, or on standard error. Raises
// nothing.
void ShowUnicodeException(const std::exception& e) noexcept;
// Writes a text as one UTF-8 line to standard error.
void WriteExceptionText(const WideString& text) noexcept;
