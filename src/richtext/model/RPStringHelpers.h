// Small string routines shared by the document, the items and the style sheet: tabs,
// replacing substrings, byte sets, and the tests that tell a hyperlink target.
#pragma once

#include <bitset>
#include <cstdint>
#include <functional>

#include "platform/base/Types.h"

// Every tab becomes n spaces; the second form works on stored UTF-16 (two bytes a unit).
AnsiString ReplaceTabsWithSpaces(AnsiStringView text, int32_t n);
AnsiString ReplaceTabsWithSpacesW(AnsiStringView raw, int32_t n);
// Replaces the first occurrence and searches again from the start until none is left
// (for replacements that cannot hold the pattern).
AnsiString ReplaceAllRepeated(AnsiString text, AnsiStringView pattern, AnsiStringView replacement);
// Replaces each occurrence, going on after the inserted replacement.
AnsiString ReplaceAllForward(AnsiString text, AnsiStringView pattern, AnsiStringView replacement);
// 1-based position of the byte among the first length bytes; 0 when absent or buffer
// is null.
int32_t FindByteInBuffer(const char* buffer, char byte, int32_t length);
// Every zero byte becomes "?".
AnsiString ReplaceZeroChars(AnsiString text);
// text + separator + addition; the addition alone for an empty text; text alone for an
// empty addition.
AnsiString AppendWithSeparator(const AnsiString& text, const AnsiString& addition, const AnsiString& separator);
AnsiString AppendWithSpace(const AnsiString& text, const AnsiString& addition);

using TRPByteSet = std::bitset<256>;
// Each byte of the set replaced by ch / preceded by ch.
AnsiString ReplaceCharsInSet(AnsiStringView text, char ch, const TRPByteSet& set);
AnsiString PrefixCharsInSet(AnsiStringView text, char ch, const TRPByteSet& set);
// "%" with two hexadecimal digits becomes the byte they give; other "%" signs stay.
AnsiString DecodePercentEscapes(AnsiStringView text);

// A hook that may accept a text as a URL first (unset: none).
using TRPUrlTest = std::function<bool(const AnsiString& text)>;
void SetLooksLikeUrlHook(TRPUrlTest hook);
// The lower-cased text starts with a known scheme or "www." / "ftp." and is longer.
bool LooksLikeUrl(const AnsiString& text);
// The text holds "@" and its last "." comes after the first "@".
bool LooksLikeEmailAddress(const AnsiString& text);
