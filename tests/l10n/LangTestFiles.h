// Language files for the tests, written in the three encodings a language file may have.
#pragma once

#include <filesystem>
#include <string>

#include "platform/base/Types.h"

enum class TLangFileEncoding { Utf16LE, Utf8, Ansi1251 };

// Writes the text (lines joined by CR LF) in the encoding, with its byte-order mark for
// the Unicode forms; returns the file's name.
WideString WriteLangFile(const std::filesystem::path& path, const WideString& text, TLangFileEncoding encoding);
