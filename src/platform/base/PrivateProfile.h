// The private-profile calls: ini files read and written one value at a time.
//
// The file is read afresh by every call and written back by every write at once (there
// is no cache, so the flush call has nothing to do). Its rules:
// - A line "[name]" (blanks around it allowed) starts a section; the name runs to the
//   first "]" (or the line's end) and is trimmed. A line "key=value" in a section is a
//   key: the key is the part before the first "=", the value the rest, both trimmed of
//   blanks (characters up to U+0020); a value trimmed to "..." or '...' loses that one
//   pair of quotes. Lines starting with ";" and lines without "=" are no keys; they and
//   the lines before the first section are kept as they are when the file is rewritten.
// - Sections and keys match without regard to case (CompareString.h's rule, after
//   trimming the names asked for); the first section of a name and its first key of a
//   name are the ones read and written.
// - Encoding: a file starting with FF FE is UTF-16LE, FE FF UTF-16BE, EF BB BF UTF-8;
//   any other file is 8-bit text in the ANSI code page. A rewritten file keeps its
//   encoding and its line breaks, except that an 8-bit file that could not hold a
//   character of its new text becomes UTF-16LE. Lines of an 8-bit file with bytes its
//   code page does not define (read as U+FFFD) keep those bytes while a write leaves
//   them unchanged. A file created here is UTF-16LE with FF
//   FE and CR LF line breaks, so no text is lost.
// - A written value that would not read back as written (blanks at either end, or a
//   pair of quotes around it) is written in double quotes. A text that no line can hold
//   is refused with ERROR_INVALID_PARAMETER: a line break anywhere, "]" in a section
//   name, "=" in a key, a key starting with "[" or ";".
// - Only a regular file is read (ReadRegularFile, FileContents.h): a folder, FIFO or
//   device named as the file reads as a failure at once, never blocks or fills memory.
// - A file is replaced only once its new contents are complete (written beside it under
//   a temporary name and renamed over it); a read-only file is not written
//   (ERROR_ACCESS_DENIED).
//
// The 8-bit forms take and give text in the ANSI code page; buffer sizes are in bytes.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/base/Types.h"

// With `appName` and `keyName`: copies the key's value, or `defaultValue` (null: empty)
// when the file, section or key is missing, into `returnedString` (at most size - 1
// characters and a terminator) and returns the characters copied.
// With `appName` null: the section names; with `keyName` null: the section's key names;
// each name is followed by a zero and the list by a second zero. A list that does not
// fit is cut, ends with two zeros, and the result is size - 2. Empty names are left out,
// as the list could not hold them.
uint32_t GetPrivateProfileStringW(const WideChar* appName, const WideChar* keyName, const WideChar* defaultValue,
                                  WideChar* returnedString, uint32_t size, const WideChar* fileName);
uint32_t GetPrivateProfileStringA(const char* appName, const char* keyName, const char* defaultValue,
                                  char* returnedString, uint32_t size, const char* fileName);

// Sets the key's value (the section is appended when missing, the key after the
// section's last line when missing; a missing file is created). With `string` null:
// removes the key's lines from the section. With `keyName` null: removes every section
// of that name. With all three null: flushes, which has nothing to write and fails only
// for a name no file can have (ERROR_INVALID_NAME). Removing what is not there succeeds without touching the file.
// False with the last error set when the file cannot be read or written, or a text is refused (see above).
bool WritePrivateProfileStringW(const WideChar* appName, const WideChar* keyName, const WideChar* string,
                                const WideChar* fileName);
bool WritePrivateProfileStringA(const char* appName, const char* keyName, const char* string, const char* fileName);

// Whole results of the reads above, however long, from one reading of the file: a key's
// value (`appName` and `keyName` given), or the list of names (the sections with
// `appName` null, else the section's keys).
WideString GetPrivateProfileValueW(const WideChar* appName, const WideChar* keyName, const WideChar* defaultValue,
                                   const WideChar* fileName);
AnsiString GetPrivateProfileValueA(const char* appName, const char* keyName, const char* defaultValue,
                                   const char* fileName);
std::vector<WideString> GetPrivateProfileNamesW(const WideChar* appName, const WideChar* fileName);
std::vector<AnsiString> GetPrivateProfileNamesA(const char* appName, const char* fileName);
// The lines "key=value" of a section from one reading of the file: one for every key
// the names above list, with the value the read above gives for that name, so a key the
// section holds twice gives its first value both times. Nothing for a missing section.
std::vector<WideString> GetPrivateProfileLinesW(const WideChar* appName, const WideChar* fileName);
std::vector<AnsiString> GetPrivateProfileLinesA(const char* appName, const char* fileName);

// A section of a profile file: its name and its keys with their values, as the reads
// above give them, in the file's order.
struct TProfileSection {
  WideString Name;
  std::vector<std::pair<WideString, WideString>> Keys;
};

// Every section of the file from one reading (a missing file: none), sections and keys
// of one name as often as the file holds them; lines that are no keys are left out.
std::vector<TProfileSection> ReadPrivateProfileSectionsW(const WideChar* fileName);
// Replaces what the file holds by the sections (the file keeps its encoding and line
// breaks; a missing one is created as above). False with the last error set when a text
// is refused (as by WritePrivateProfileStringW) or the file cannot be written; the file
// is then unchanged.
bool WritePrivateProfileSectionsW(const std::vector<TProfileSection>& sections, const WideChar* fileName);
