// UTF-16 wrappers of the operating-system calls that take or return text. With
// PlatformIsUnicode each calls the wide form directly; otherwise it converts its text
// arguments by the default conversion (UserCodePage), calls the 8-bit form and converts
// text results back. Wrappers return what the call returns (0, -1, an invalid handle)
// and leave its last error as it was set.
#pragma once

#include <cstdint>

#include "platform/base/FileSearch.h"
#include "platform/base/FileSystem.h"
#include "platform/base/Module.h"
#include "platform/base/Resources.h"
#include "platform/base/StringTypes.h"
#include "platform/base/Types.h"
#include "platform/graphics/DeviceContext.h"

// How AnsiResultToWideBuffer treats a result that does not fit.
enum TAnsiResultMode : uint32_t {
  armFitTerminated = 1,  // exactly `size` characters: size - 1 copied and terminated
  armClear = 2,          // the buffer's first character set to 0
  armModuleName = 4,     // `size` characters copied without terminator; returns size
  armPathPrefix = 8,     // the leading part up to the last "/" that fits, terminated
};

// Copies an 8-bit call's text result, converted to UTF-16 (n characters), into a buffer
// of `size` characters. Returns n when it fits with its terminator; otherwise per `mode`
// (n + 1, the size needed with the terminator, except for armModuleName).
uint32_t AnsiResultToWideBuffer(uint32_t size, WideChar* dest, AnsiStringView result, TAnsiResultMode mode);

// True when the name pointer is an ordinal identifier (its high 16 bits are 0).
bool IsIntResource(const void* name);

uint32_t WideGetFullPathName(const WideChar* name, uint32_t bufferChars, WideChar* buffer, WideChar** filePart);
THandle WideCreateFile(const WideChar* name, uint32_t desiredAccess, uint32_t shareMode, uint32_t creationDisposition,
                       uint32_t flagsAndAttributes);
uint32_t WideGetFileAttributes(const WideChar* name);
bool WideSetFileAttributes(const WideChar* name, uint32_t attributes);
bool WideCreateDirectory(const WideChar* name);
bool WideMoveFile(const WideChar* existingName, const WideChar* newName);
bool WideDeleteFileApi(const WideChar* name);
// On 8-bit platforms the 8-bit record is converted: attributes, times, sizes and reserved
// words copied, the names converted and cut to the record's fields.
THandle WideFindFirstFile(const WideChar* fileName, WIN32_FIND_DATAW* findData);
bool WideFindNextFile(THandle findHandle, WIN32_FIND_DATAW* findData);
// On 8-bit platforms the name is copied with AnsiResultToWideBuffer(armModuleName).
uint32_t WideGetModuleFileNameApi(HMODULE module, WideChar* buffer, uint32_t size);

// Upper-cases one character; on 8-bit platforms only characters that the user code page
// represents change, through the 8-bit upper-casing.
WideChar WideCharUpper(WideChar c);
// Upper-cases a zero-terminated text in place; returns it.
WideChar* WideCharUpper(WideChar* text);
// Upper-cases `length` characters in place; returns the length.
uint32_t WideCharUpperBuff(WideChar* buffer, uint32_t length);

// The character types of `count` characters (-1: up to the terminator). On 8-bit
// platforms the characters are converted and typed by the 8-bit query.
bool WideGetStringTypeEx(LCID locale, uint32_t infoType, const WideChar* text, int32_t count, uint16_t* charTypes);

// Formatted text in a rectangle (DrawTextW). On 8-bit platforms the first `count`
// characters (all when count is -1) are converted and drawn by DrawTextA with length -1.
int32_t WideDrawText(HDC dc, const WideChar* text, int32_t count, uint32_t format, TRect* rect);

// Loads string `identifier` of the module's string tables (LoadStringW; on 8-bit
// platforms LoadStringFromTable).
int32_t WideLoadString(HMODULE module, uint32_t identifier, WideChar* buffer, int32_t size);
// Reads a string from the module's string-table blocks: an identifier whose high 16 bits
// are all ones is negated first; block (identifier shr 4) + 1, entry identifier and 15.
// Without a buffer or with a size of 0 or less returns the entry's length; otherwise
// copies min(size - 1, length) characters and a terminator and returns the count copied.
// 0 when the block is missing or too short for the entry.
int32_t LoadStringFromTable(HMODULE module, uint32_t identifier, WideChar* buffer, int32_t size);

// Version information of a file: size 0 when the file has none; the query of "\" gives
// its VS_FIXEDFILEINFO. On 8-bit platforms the names are converted and the A calls used;
// their version blocks hold only the fixed information, so no string value is converted.
uint32_t WideGetFileVersionInfoSize(const WideChar* fileName, uint32_t* handle);
bool WideGetFileVersionInfo(const WideChar* fileName, uint32_t handle, uint32_t length, void* data);
bool WideVerQueryValue(const void* block, const WideChar* subBlock, void** buffer, uint32_t* length);

// Loads a shared library by name (LoadLibraryW; on 8-bit platforms the name converted
// and LoadLibraryA). 0 with the last error set when it cannot be loaded.
HMODULE WideLoadLibrary(const WideChar* fileName);
