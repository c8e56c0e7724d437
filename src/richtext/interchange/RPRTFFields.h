// Reading field instructions: the first argument of a field (a file name, a hyperlink
// target) and the argument of a switch. Shared by the reader's picture and symbol fields
// and the import's hyperlinks.
#pragma once

#include "platform/base/Types.h"

// The instruction trimmed, without a leading backslash.
AnsiString NormalizeRTFFieldInstruction(AnsiStringView instruction);
// True when the instruction starts with keyword (any case).
bool RTFFieldIs(AnsiStringView instruction, AnsiStringView keyword);
// The first argument of the text after a field's keyword: a quoted text without its
// quotes, else the word up to the next blank; doubled backslashes become one.
AnsiString RTFFieldArgument(AnsiStringView text);
// The argument after the switch "\<name>" (a quoted text or a word), empty when the
// switch is absent.
AnsiString RTFFieldSwitchArgument(AnsiStringView instruction, char name);
// A decimal number with "." as the separator whatever the locale; false when the text
// does not start with one.
bool ParseRTFFieldNumber(AnsiStringView text, double& value);
