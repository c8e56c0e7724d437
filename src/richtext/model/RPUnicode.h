// Item text in either stored form, and conversions between code pages and UTF-16.
//
// An item's text is a byte string: 8-bit text in the code page of the item's text
// style, or, when the item's options hold rpioUnicode, UTF-16LE code units, two bytes
// each. Every routine that takes an item text also takes the item's options and
// decides by that bit alone. Positions and lengths are in characters (code units for
// UTF-16) and 1-based where noted.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"
#include "richtext/model/RPItemInfo.h"

// --- Stored-text primitives (1-based positions) --------------------------------------

int32_t GetItemTextLength(AnsiStringView text, TRPItemOptions options);
// Characters from .. from + count - 1 (clipped to the text).
AnsiString CopyItemText(AnsiStringView text, int32_t from, int32_t count, TRPItemOptions options);
void DeleteItemText(AnsiString& text, int32_t from, int32_t count, TRPItemOptions options);
// Inserts before the character at position (length + 1 appends).
void InsertItemText(AnsiStringView substring, AnsiString& text, int32_t position, TRPItemOptions options);
bool IsItemTextSpaceAt(AnsiStringView text, int32_t position, TRPItemOptions options);
// The byte offset of a 1-based character position: position - 1, doubled for UTF-16.
size_t ItemTextByteOffset(int32_t position, TRPItemOptions options);
// Raises ERichPaneError "Can't perform Unicode operation" for an odd byte length.
void CheckUnicodeByteLength(size_t byteLength);

// --- Conversions ---------------------------------------------------------------------

// The stored UTF-16 as a string of the same code units; raises for an odd length.
WideString RawUnicodeToWide(AnsiStringView raw);
AnsiString WideToRawUnicode(WideStringView text);
// 8-bit text in codePage to stored UTF-16; a code page the system lacks converts with
// the ANSI code page; when that fails too, every byte becomes "?".
AnsiString AnsiToRawUnicode(uint32_t codePage, AnsiStringView text);
// Stored UTF-16 to 8-bit text in codePage; characters the code page lacks become "?",
// a code page the system lacks converts with the ANSI code page; raises for an odd
// length.
AnsiString RawUnicodeToAnsi(uint32_t codePage, AnsiStringView raw);
// UTF-8 of 8-bit text in codePage.
AnsiString CodePageTextToUtf8(uint32_t codePage, AnsiStringView text);
// Always false, so that text read from RTF stays Unicode.
bool CanConvertRawUnicodeToCodePage(AnsiStringView raw, uint32_t codePage);

// Windows code page of a font character set (0: the system ANSI code page).
uint32_t CharsetToCodePage(int32_t charset);
// Language identifier of a font character set (0: none).
uint16_t CharsetToLanguageId(int32_t charset);
// The language with sublanguage bit 10 set, sort 0.
uint32_t MakeDefaultLocale(uint16_t languageId);

// The keyboard: its input language is the platform's setting (InputLanguage.h; the ANSI
// code page's language until the GUI layer sets one). Its ANSI code page, read from the
// language's locale as a decimal number (the process's ANSI code page when that fails;
// 0, the ANSI code page too, for a language without one); its language identifier, read
// from the locale as hexadecimal digits; 8-bit text typed on it as stored UTF-16.
uint32_t GetKeyboardCodePage();
uint16_t GetKeyboardLanguageId();
AnsiString KeyboardAnsiToRawUnicode(AnsiStringView text);

// --- UTF-16 buffers ------------------------------------------------------------------

// Past a leading U+FEFF; a leading U+FFFE is skipped too and the remaining count - 1
// units are byte-swapped in place. Returns the first unit after the mark.
WideChar* SkipByteOrderMark(WideChar* text, int32_t count);
// Swaps the bytes of count units; returns the position after the last.
WideChar* SwapByteOrder(WideChar* buffer, int32_t count);
// First occurrence of ch among count units, nullptr when absent or count is 0.
const WideChar* FindWideChar(const WideChar* buffer, WideChar ch, int32_t count);

// --- HTML escaping of stored UTF-16 --------------------------------------------------

// "&amp;", "&lt;", "&gt;", "&nbsp;" for "&", "<", ">", U+00A0; empty otherwise.
AnsiString HtmlEntityOfChar(WideChar ch);
// ASCII HTML: other characters above 127 as "&#N;"; spaces that a browser would fold
// (the first, the second of two, the last) as "&nbsp;". raw: only non-ASCII escaped.
AnsiString RawUnicodeToHtmlEntities(AnsiStringView raw, bool rawText);
// UTF-8 HTML with the same treatment of spaces and the four entities; raw: plain UTF-8.
AnsiString RawUnicodeToHtmlUtf8(AnsiStringView raw, bool rawText);

// --- Text as drawn -------------------------------------------------------------------

// The text as painting shows it: upper-cased when allCaps; in UTF-16 text each soft
// hyphen becomes U+200B, or U+00AC when showSoftHyphens (a soft hyphen that ends a line
// stays and is drawn as a hyphen); with removeZeroWidth every U+200B, U+200D and U+2060
// is dropped. The stored text is never changed.
AnsiString PrepareDisplayText(AnsiStringView text, TRPItemOptions options, bool allCaps, bool atLineEnd,
                              bool removeZeroWidth, bool showSoftHyphens);

// The characters that take no width whatever the font says.
inline constexpr WideChar ZeroWidthChars[] = {0x200B, 0x200D, 0x2060};
bool IsZeroWidthChar(WideChar ch) noexcept;
