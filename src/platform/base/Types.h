// Text and integer types shared by every layer.
//
// WideString holds UTF-16 text (book text, DOM, file names, messages); AnsiString holds
// 8-bit text in a named code page (the Wolf file's Windows-1251 text, resource strings).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

using WideChar = char16_t;
using WideString = std::u16string;
using WideStringView = std::u16string_view;
using AnsiChar = char;
using AnsiString = std::string;
using AnsiStringView = std::string_view;
