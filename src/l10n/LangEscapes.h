// The escapes of language-file values.
//
// In a value, "\\" is a backslash, "\n" a line break (CR LF), "\t" a tab, and a
// backslash followed by two decimal digits the character with that code. Any other
// backslash is copied unchanged, so a backslash before one digit and a letter stays.
#pragma once

#include "platform/base/Types.h"

WideString UnescapeLangText(WideStringView text);

// The reverse, for writing a language source: tab → "\t"; CR, LF, CR LF or LF CR → "\n";
// backslash → "\\"; other characters below 32 → a backslash and their two-digit code.
WideString EscapeLangText(WideStringView text);
