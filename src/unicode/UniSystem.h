// The bottom of the Unicode runtime: resource strings as UTF-16 text through a
// replaceable hook, the code page of every default 8-bit conversion, UTF-7 and UTF-8,
// code-page conversion, the code page of a locale, the UTF-16 command line, and the
// switches that make the runtime's own routines UTF-16-aware.
#pragma once

#include <cstdint>
#include <exception>

#include "platform/base/ResString.h"
#include "platform/base/Types.h"

// The code page of default conversions (CP_THREAD_ACP at start-up, CP_ACP once
// InstallUnicodeRuntimePatches has run with flag 2). Set during start-up only.
extern uint32_t UserCodePage;

// Asked first by every resource-string load: returns true with `text` set when it
// handles the record. Installed and cleared by the localization layer.
using TResStringLoadHook = bool (*)(PResStringRec record, WideString& text);
extern TResStringLoadHook ResStringLoadHook;

// A resource string as UTF-16: the hook's answer when it has one; empty for a null
// record; otherwise the record's built-in text, decoded as UTF-8 when it is longer than
// the three bytes EF BB BF and starts with them, else by the default conversion.
WideString LoadWideResString(PResStringRec record);
// A string of the program's string table by numeric identifier (at most 4096
// characters); empty when the table has no such entry.
WideString LoadWideResString(uint32_t identifier);

// Conversions in a given code page: CP_UTF7 and CP_UTF8 by the codecs below, any other
// by the platform's code-page conversion (unmappable characters become "?", undefined
// bytes U+FFFD).
WideString AnsiToWideWithCodePage(AnsiStringView text, uint32_t codePage);
AnsiString WideToAnsiWithCodePage(WideStringView text, uint32_t codePage);

// The default conversions of 8-bit text (in UserCodePage once flag 1 or 2 is switched
// on, in the ANSI code page before). With flag 1, the first conversion to UTF-16 on a
// thread after LoadAnsiResString returns the string's UTF-16 original when it converts
// that same 8-bit text, so translations survive the 8-bit round trip.
WideString DefaultAnsiToWide(AnsiStringView text);
AnsiString DefaultWideToAnsi(WideStringView text);
// The default conversion to 8-bit text; false when a character has no mapping in the
// code page (it then stands as "?" in `ansi`).
bool TryDefaultWideToAnsi(WideStringView text, AnsiString& ansi);
bool TryWideToAnsiWithCodePage(WideStringView text, uint32_t codePage, AnsiString& ansi);
// A resource string as the 8-bit text the class library's messages use: with flag 1
// loaded through LoadWideResString (so translations apply) and converted by default;
// without it the record's built-in text unchanged.
AnsiString LoadAnsiResString(PResStringRec record);

// Standard UTF-8: a 4-byte sequence becomes a surrogate pair and a pair one 4-byte
// sequence; each malformed part of the input becomes U+FFFD, and a lone surrogate is
// encoded as U+FFFD (EF BF BD). Nothing else is lost or raised.
AnsiString WideToUtf8(WideStringView text);
WideString Utf8ToWide(AnsiStringView text);

// UTF-7 (RFC 2152) with the optionally direct characters written directly. "+" is
// written "+-"; a base64 run ends with zero bits to the next digit and a "-" only when
// the next character would otherwise be read as part of the run (never at the end).
// Decoding raises EUniGeneralError "Invalid UTF7" for a byte above 127 outside a run,
// a run that yields no character, or non-zero bits left when a run ends.
AnsiString WideToUtf7(WideStringView text);
WideString Utf7ToWide(AnsiStringView text);

// The default ANSI code page of a locale; the system's ANSI code page when the locale
// gives no number.
uint32_t CodePageFromLocale(uint32_t locale);
// The code page of the keyboard's input language.
uint32_t KeyboardCodePage();
// A key's character: codes of 256 and more unchanged, smaller ones as one byte in
// KeyboardCodePage (control codes as their glyph characters).
WideChar KeyboardCharToWide(uint32_t code);

// Swaps the bytes of every character in place up to the first zero character.
void SwapUtf16ByteOrder(WideChar* text);

// The UTF-16 command line the tokenizer reads: the process's own (GetCommandLineW), or
// the text given to SetWideCommandLine (an empty text restores the process's).
void SetWideCommandLine(WideString commandLine);
const WideChar* WideCommandLine();
// Takes one token from `cursor`: skips characters U+0001..U+0020 and empty pairs of
// double quotes, then reads up to the next character at or below U+0020 outside double
// quotes; the quotes are removed (an unclosed one runs to the end). Returns the position
// after the token.
const WideChar* NextWideParam(const WideChar* cursor, WideString& token);
// Index 0: the program's file name; otherwise the index-th token after the program's
// own, or empty (an empty token ends the search).
WideString WideParamStr(int32_t index);

// The switches of InstallUnicodeRuntimePatches. Flags 4 and 8 are recorded and change
// nothing more here: joining two WideStrings already allocates once, and the system's
// UTF-16 text is formatted with WideFormat directly.
enum TUnicodeRuntimePatch : uint32_t {
  urpResStrings = 1,    // LoadAnsiResString through LoadWideResString; default conversions in UserCodePage
  urpUserCodePage = 2,  // default conversions in UserCodePage, and UserCodePage := CP_ACP
  urpWideConcat = 4,    // joining UTF-16 strings allocates once
  urpWideFormat = 8,    // UTF-16 formatting is WideFormat
  urpExceptions = 16,   // ShowException shows UTF-16 text; RaiseLastOSError raises EWideOSError
                        // (WideRaiseLastOSError as the class library's RaiseLastOSErrorHook)
  urpAll = 31
};

// Switches the given patches on (each at most once). UninstallUnicodeRuntimePatches
// switches all of them off and restores UserCodePage's initial value.
void InstallUnicodeRuntimePatches(uint32_t flags);
void UninstallUnicodeRuntimePatches();
bool UnicodeRuntimePatchInstalled(TUnicodeRuntimePatch patch);

// The application's exception display: with urpExceptions the UTF-16 display
// (ShowUnicodeException), otherwise the exception's 8-bit message on standard error.
void ShowException(const std::exception& e);
