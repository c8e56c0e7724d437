// The process-wide ANSI and OEM code pages and conversions between 8-bit text and UTF-16.
//
// The ANSI code page is 1251 and the OEM code page 866 unless the program or a test sets
// another; the setting is process-wide and meant to be changed at start-up only. Code
// pages other than UTF-8 convert through glibc iconv ("CP1251", "CP866", "ISO-8859-5",
// ...); a code page iconv lacks is invalid. UTF-7 (65000) is not converted here.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

constexpr uint32_t CP_ACP = 0;
constexpr uint32_t CP_OEMCP = 1;
constexpr uint32_t CP_MACCP = 2;       // converts as Mac Roman (10000)
constexpr uint32_t CP_THREAD_ACP = 3;  // the same as CP_ACP: there is one setting
constexpr uint32_t CP_UTF7 = 65000;
constexpr uint32_t CP_UTF8 = 65001;

// MultiByteToWideChar flag: fail on bytes the code page does not define.
constexpr uint32_t MB_ERR_INVALID_CHARS = 0x08;
// WideCharToMultiByte flag: fail on characters the code page cannot represent.
constexpr uint32_t WC_ERR_INVALID_CHARS = 0x80;

uint32_t GetACP() noexcept;
uint32_t GetOEMCP() noexcept;
// Both return false (and change nothing) for a code page that cannot be converted.
bool SetAnsiCodePage(uint32_t codePage);
bool SetOemCodePage(uint32_t codePage);

// True for the UTF-8 code page and every code page iconv converts; CP_ACP, CP_OEMCP and
// CP_THREAD_ACP are valid.
bool IsValidCodePage(uint32_t codePage);

// Converts `sourceBytes` bytes (-1: up to and including the terminating zero) of
// `source` in `codePage` to UTF-16. With `destChars` 0 returns the length needed;
// otherwise writes at most `destChars` characters and returns the count written.
// A byte sequence the code page does not define becomes U+FFFD (with
// MB_ERR_INVALID_CHARS the call fails with ERROR_NO_UNICODE_TRANSLATION instead).
// Failures return 0 with the last error set: ERROR_INVALID_PARAMETER for an invalid
// code page or arguments, ERROR_INSUFFICIENT_BUFFER for a short buffer.
int32_t MultiByteToWideChar(uint32_t codePage, uint32_t flags, const char* source, int32_t sourceBytes, WideChar* dest,
                            int32_t destChars);

// Converts `sourceChars` UTF-16 units (-1: up to and including the terminating zero) to
// `codePage`. A character the code page lacks becomes the first byte of `defaultChar`
// (nullptr: "?") and
// sets *usedDefaultChar when given; for UTF-8 a lone surrogate becomes U+FFFD and both
// `defaultChar` and `usedDefaultChar` must be nullptr. Lengths and failures as for
// MultiByteToWideChar.
int32_t WideCharToMultiByte(uint32_t codePage, uint32_t flags, const WideChar* source, int32_t sourceChars, char* dest,
                            int32_t destBytes, const char* defaultChar, bool* usedDefaultChar);

// Whole-string forms of the two calls above (no flags, default character "?"). An
// invalid code page gives an empty result with the last error ERROR_INVALID_PARAMETER.
WideString AnsiToWide(AnsiStringView text, uint32_t codePage = CP_ACP);
AnsiString WideToAnsi(WideStringView text, uint32_t codePage = CP_ACP);
// As WideToAnsi; *usedDefaultChar tells whether a character had no mapping.
AnsiString WideToAnsi(WideStringView text, uint32_t codePage, bool* usedDefaultChar);
