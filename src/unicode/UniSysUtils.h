// The UTF-16 system utilities: the runtime's exceptions (WideException, their base, has a
// header of its own), UTF-16 formatting, the platform flags, and UTF-16 forms of the
// file-name, file, folder, search, locale and error-message routines. Every routine that
// touches the operating system goes through the wide-or-8-bit calls of UniWindows.
//
// Positions in strings count from 1 (0: none), as callers of these routines expect.
// File names use "/" as the only delimiter; ":" is an ordinary character.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

#include "platform/base/DateTimeText.h"
#include "platform/base/Exception.h"
#include "platform/base/FileSearch.h"
#include "platform/base/FileSystem.h"
#include "platform/base/Format.h"
#include "platform/base/Module.h"
#include "platform/base/ResString.h"
#include "platform/base/Types.h"
#include "unicode/WideException.h"

// ---- Exceptions ----------------------------------------------------------------------

// A failed operating-system call with its error code.
class EWideOSError : public WideException {
public:
  EWideOSError(WideString message, uint32_t errorCode) : WideException(std::move(message)), FErrorCode(errorCode) {}
  uint32_t ErrorCode() const noexcept { return FErrorCode; }

private:
  uint32_t FErrorCode;
};

class EWideFileStreamError : public WideException {
public:
  using WideException::WideException;
};
class EWideFCreateError : public EWideFileStreamError {
public:
  using EWideFileStreamError::EWideFileStreamError;
};
class EWideFOpenError : public EWideFileStreamError {
public:
  using EWideFileStreamError::EWideFileStreamError;
};

// Failures of this runtime with fixed 8-bit messages.
class EUniGeneralError : public Exception {
public:
  using Exception::Exception;
};
class EUniInternalError : public Exception {
public:
  using Exception::Exception;
};
class EFormatSpecError : public EUniGeneralError {
public:
  using EUniGeneralError::EUniGeneralError;
};

// Raises EWideOSError for the last error code: its system message, or "A call to an OS
// function failed" when the code is 0.
[[noreturn]] void WideRaiseLastOSError();
// Returns `result` unless it is 0 (null), in which case the last error is raised.
int32_t CheckWin32Result(int32_t result);
const void* CheckWin32Result(const void* result);

// ---- Formatting ------------------------------------------------------------------------

// Formats UTF-16 text: the format is made canonical (GetCanonicalFormatStr: explicit
// indexes, floats formatted by the 8-bit formatter) and handed to the platform's UTF-16
// Format. Returns the whole text however long. A malformed specifier raises
// EFormatSpecError; an argument of the wrong kind or a missing one EConvertError.
WideString WideFormat(const WideString& format, std::span<const TVarRec> args,
                      const TFormatSettings* settings = nullptr);
inline WideString WideFormat(const WideString& format, std::initializer_list<TVarRec> args,
                             const TFormatSettings* settings = nullptr) {
  return WideFormat(format, std::span<const TVarRec>(args.begin(), args.size()), settings);
}
// As WideFormat into a buffer of `capacity` characters (no terminator); returns the
// number of characters written, the text being cut at the capacity.
uint32_t WideFormatBuf(WideChar* buffer, uint32_t capacity, const WideString& format, std::span<const TVarRec> args,
                       const TFormatSettings* settings = nullptr);

// ---- Platform flags --------------------------------------------------------------------

// Set from the system's version (GetVersionExW: the NT family, platform identifier 2,
// version 6.1), so every wide-or-8-bit choice takes the wide form. Tests select the
// 8-bit paths with SetPlatformVersion(1, 4, 10) and restore the system's values with
// SetPlatformVersion(2, 6, 1).
bool PlatformIsUnicode();  // platform identifier 2
bool PlatformIsXP();       // version 5.1 or later
bool PlatformIs2003();     // version 5.2 or later
bool PlatformIsVista();    // major version 6 or later
void SetPlatformVersion(uint32_t platformId, uint32_t major, uint32_t minor);

// ---- File names --------------------------------------------------------------------

// The position of the last character of `text` that is one of `delimiters` (a zero
// character never counts); 0 when none.
int32_t WideLastDelimiter(WideStringView delimiters, WideStringView text);
bool WideIsDelimiter(WideStringView delimiters, WideStringView text, int32_t position);
bool WideIsPathDelimiter(WideStringView text, int32_t position);
// Appends "/" unless the path already ends with it (so "" gives "/").
WideString WideIncludeTrailingBackslash(WideStringView path);
// Removes one trailing "/".
WideString WideExcludeTrailingBackslash(WideStringView path);
// Replaces the extension (the part from the last "." after the last "/") by
// `extension`, which carries its own dot; an empty extension removes the old one.
WideString WideChangeFileExt(WideStringView fileName, WideStringView extension);
// Up to and including the last "/"; the rest after it.
WideString WideExtractFilePath(WideStringView fileName);
WideString WideExtractFileName(WideStringView fileName);
// As WideExtractFilePath without the final "/", unless that "/" is the first character
// or follows another "/" ("/" gives "/", "/x/y" gives "/x").
WideString WideExtractFileDir(WideStringView fileName);
// From the last "." (included) when it follows the last "/"; else empty.
WideString WideExtractFileExt(WideStringView fileName);
// The full path: relative names from the current folder, "." and ".." resolved.
WideString WideExpandFileName(const WideString& fileName);
// The last character; 0 for an empty string.
WideChar WideLastChar(WideStringView text);

// ---- Strings ---------------------------------------------------------------------------

// An upper-cased copy by the platform's character upper-casing.
WideString WideCharUpperCase(WideStringView text);
// The position of `pattern` in `text`, both upper-cased; 0 when absent or empty.
int32_t WideTextPos(WideStringView pattern, WideStringView text);
// Equal without regard to case (the locale's comparison: simple case folding) / equal
// as written.
bool WideSameText(WideStringView a, WideStringView b);
bool WideSameStr(WideStringView a, WideStringView b);

constexpr uint32_t wrfReplaceAll = 1;
constexpr uint32_t wrfIgnoreCase = 2;
// Replaces the first (with wrfReplaceAll every) occurrence of `oldPattern`; with
// `wholeWord` only occurrences bounded on both sides by the text's ends, blanks or
// punctuation of the thread locale.
WideString WideStringReplace(WideStringView text, WideStringView oldPattern, WideStringView newPattern, uint32_t flags,
                             bool wholeWord);
// The text from `cursor` up to `delimiter`; the cursor moves past the delimiter, or to
// the terminating zero when there is none.
WideString NextWideToken(const WideChar*& cursor, WideChar delimiter);
// The tokens of `text` in order, stopping at the first empty token (so two adjacent
// delimiters end the list: "a;b;;c" gives a and b).
std::vector<WideString> SplitWideTokens(const WideString& text, WideChar delimiter);

// ---- Files and folders -----------------------------------------------------------------

// Handles of CreateFile, INVALID_HANDLE_VALUE (-1) on failure. WideFileCreate creates or
// empties a file for reading and writing; WideFileOpen opens an existing one with a
// FileOpen mode (access in the low two bits, sharing in bits 4 to 7; an access of 3 or a
// sharing above fmShareDenyNone fails with ERROR_INVALID_PARAMETER).
THandle WideFileCreate(const WideString& fileName);
THandle WideFileOpen(const WideString& fileName, uint32_t mode);
// True when the name exists and is not a folder (false on any failure). The name is
// taken as written: "*" and "?" are ordinary characters of names here.
bool WideFileExists(const WideString& fileName);
// True when the attributes can be read and have the folder bit (0x10).
bool WideDirectoryExists(const WideString& path);
// The attributes, -1 on failure.
int32_t WideFileGetAttr(const WideString& fileName);
// Creates the folder with all missing parents; true when it exists afterwards. False
// leaves the system's reason as the last error (ERROR_DIRECTORY where a file stands in
// the way). An empty path raises EUniGeneralError "Unable to create directory"; "/" is
// true at once.
bool WideForceDirectories(const WideString& path);
// Moves a file; never replaces an existing one.
bool WideRenameFile(const WideString& oldName, const WideString& newName);
bool WideDeleteFile(const WideString& fileName);

// A search record. `Time` is the last write in local time packed as a file date
// (date << 16 | time; -1 outside 1980..2107); `FindHandle` is INVALID_HANDLE_VALUE
// while no search is open.
struct TWideSearchRec {
  int32_t Time = 0;
  int64_t Size = 0;
  int32_t Attr = 0;
  WideString Name;
  int32_t ExcludeAttr = 0;
  THandle FindHandle = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAW FindData{};
};

constexpr int32_t faReadOnly = 0x01;
constexpr int32_t faHidden = 0x02;
constexpr int32_t faSysFile = 0x04;
constexpr int32_t faVolumeID = 0x08;
constexpr int32_t faDirectory = 0x10;
constexpr int32_t faArchive = 0x20;
constexpr int32_t faAnyFile = 0x3F;

// Starts a search of "<folder>/<mask>" for entries whose hidden, system, volume and
// folder bits are all in `attr`; returns 0 with the first entry filled in, or the
// system's error code (the search then is closed).
int32_t WideFindFirst(const WideString& path, int32_t attr, TWideSearchRec& searchRec);
// The next matching entry: 0, or the error code (ERROR_NO_MORE_FILES after the last).
int32_t WideFindNext(TWideSearchRec& searchRec);
void WideFindClose(TWideSearchRec& searchRec);

// ---- Locale, modules and messages ----------------------------------------------------

// A locale item; `defaultValue` when it cannot be read.
WideString WideGetLocaleStr(uint32_t locale, uint32_t item, const WideString& defaultValue);
// The module's file name; raises the last OS error when it cannot be read.
WideString WideGetModuleFileName(HMODULE module);
// The system's message for an error code.
WideString WideSysErrorMessage(uint32_t errorCode);
// The message for a code, trimmed; "Unspecified error (<code>) from <source>." when the
// system has none.
WideString WideGetMessageFromModule(const WideString& sourceName, HMODULE module, uint32_t errorCode);

// Character classes of the thread locale; a failing type query raises the last OS error.
bool IsWideCharSpace(WideChar c);
bool IsWideCharPunct(WideChar c);
// True when the character converts to UserCodePage without the default character.
bool IsWideCharMappableToAnsi(WideChar c);

// ---- Dates and times -------------------------------------------------------------------

// Parse a date and/or time, a date, or a time in the thread locale's forms (see
// VariantDateParser.h). Raise EConvertError "'<text>' is not a valid date and time" /
// "... date" / "... time", followed by CR LF and the parser's reason.
TDateTime WideStrToDateTime(const WideString& text);
TDateTime WideStrToDate(const WideString& text);
TDateTime WideStrToTime(const WideString& text);
