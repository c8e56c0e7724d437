// File names between the API (UTF-16) and the disk (UTF-8 bytes).
//
// A byte of a name on disk that is not part of well-formed UTF-8 becomes the lone
// surrogate U+DC80..U+DCFF (U+DC00 + byte) and turns back into that byte, so every name
// found on disk can be opened, renamed and deleted through the UTF-16 API. (Escapes that
// together spell well-formed UTF-8 name the same file as the character they spell; such
// names never come from the disk.)
#pragma once

#include <string>

#include "platform/base/Types.h"

// The UTF-8 bytes of a UTF-16 name. False (with ERROR_INVALID_NAME as the last error)
// when the name holds a lone surrogate outside U+DC80..U+DCFF or a zero character,
// which no name on disk can hold.
bool WideToFileSystemName(WideStringView name, std::string& bytes);
// The UTF-16 form of a name's bytes; never fails.
WideString FileSystemNameToWide(std::string_view bytes);

// The UTF-16 form of an 8-bit name in the ANSI code page. A byte the code page does not
// define fails (ERROR_NO_UNICODE_TRANSLATION) rather than naming another file.
bool AnsiToWideName(AnsiStringView name, WideString& wide);
// The UTF-8 bytes of an 8-bit name; false as AnsiToWideName and WideToFileSystemName.
bool AnsiToFileSystemName(AnsiStringView name, std::string& bytes);

// Sets the last error for a failed POSIX call on `path` from `errnoValue`, as Windows
// reports it: a missing name in an existing folder is ERROR_FILE_NOT_FOUND, a missing or
// non-folder folder part is ERROR_PATH_NOT_FOUND. Returns the code set.
uint32_t SetLastErrorForPath(int errnoValue, const std::string& path);

// The bytes of a zero-terminated name given to a W call (UTF-16) or an A call (ANSI code
// page); false with the last error set for nullptr (ERROR_INVALID_PARAMETER) or a name
// that cannot be on disk.
bool NameBytes(const WideChar* name, std::string& bytes);
bool NameBytes(const char* name, std::string& bytes);
