#include "unicode/UniWindows.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/base/LastError.h"
#include "platform/base/Library.h"
#include "platform/base/UnicodeCase.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"
#include "unicode/UniWideStrUtils.h"

namespace {

// The buffer the 8-bit full-path call starts with.
constexpr uint32_t kAnsiPathBytes = 520;

// The 8-bit form of a name, or false with ERROR_INVALID_NAME when the user code page
// cannot represent it: a substituted "?" would name another file here.
bool ToAnsiName(const WideChar* name, AnsiString& ansi) {
  if (TryDefaultWideToAnsi(name, ansi)) return true;
  SetLastError(ERROR_INVALID_NAME);
  return false;
}

}  // namespace

uint32_t AnsiResultToWideBuffer(uint32_t size, WideChar* dest, AnsiStringView result, TAnsiResultMode mode) {
  const WideString wide = DefaultAnsiToWide(result);
  const auto n = static_cast<uint32_t>(wide.size());
  if (n < size) {
    std::copy_n(wide.data(), n, dest);
    dest[n] = 0;
    return n;
  }
  if (mode == armModuleName) {
    std::copy_n(wide.data(), size, dest);
    return size;
  }
  if (mode == armFitTerminated && n == size && size != 0) {
    std::copy_n(wide.data(), size - 1, dest);
    dest[size - 1] = 0;
    return n + 1;
  }
  if (size != 0) {
    if (mode == armClear) dest[0] = 0;
    if (mode == armPathPrefix) {
      // Up to and including the last "/" that leaves room for the terminator.
      const size_t delimiter = WideStringView(wide).substr(0, size - 1).rfind(u'/');
      const size_t count = delimiter == WideStringView::npos ? 0 : delimiter + 1;
      std::copy_n(wide.data(), count, dest);
      dest[count] = 0;
    }
  }
  return n + 1;
}

bool IsIntResource(const void* name) { return (reinterpret_cast<uintptr_t>(name) >> 16) == 0; }

uint32_t WideGetFullPathName(const WideChar* name, uint32_t bufferChars, WideChar* buffer, WideChar** filePart) {
  if (PlatformIsUnicode()) return GetFullPathNameW(name, bufferChars, buffer, filePart);
  AnsiString ansiName;
  if (!ToAnsiName(name, ansiName)) return 0;
  // A path longer than the first buffer is fetched whole rather than cut.
  AnsiString path(kAnsiPathBytes, '\0');
  char* ansiPart = nullptr;
  uint32_t length = GetFullPathNameA(ansiName.c_str(), static_cast<uint32_t>(path.size()), path.data(), &ansiPart);
  if (length >= path.size()) {
    path.assign(length, '\0');
    length = GetFullPathNameA(ansiName.c_str(), static_cast<uint32_t>(path.size()), path.data(), &ansiPart);
  }
  if (filePart != nullptr) *filePart = nullptr;
  if (length == 0 || length >= path.size()) return 0;
  path.resize(length);
  const uint32_t result = AnsiResultToWideBuffer(bufferChars, buffer, path, armClear);
  if (filePart != nullptr && ansiPart != nullptr && result < bufferChars) {
    const AnsiStringView prefix(path.data(), static_cast<size_t>(ansiPart - path.data()));
    *filePart = buffer + DefaultAnsiToWide(prefix).size();
  }
  return result;
}

THandle WideCreateFile(const WideChar* name, uint32_t desiredAccess, uint32_t shareMode, uint32_t creationDisposition,
                       uint32_t flagsAndAttributes) {
  if (PlatformIsUnicode()) return CreateFileW(name, desiredAccess, shareMode, creationDisposition, flagsAndAttributes);
  AnsiString ansiName;
  if (!ToAnsiName(name, ansiName)) return INVALID_HANDLE_VALUE;
  return CreateFileA(ansiName.c_str(), desiredAccess, shareMode, creationDisposition, flagsAndAttributes);
}

uint32_t WideGetFileAttributes(const WideChar* name) {
  if (PlatformIsUnicode()) return GetFileAttributesW(name);
  AnsiString ansiName;
  return ToAnsiName(name, ansiName) ? GetFileAttributesA(ansiName.c_str()) : INVALID_FILE_ATTRIBUTES;
}

bool WideSetFileAttributes(const WideChar* name, uint32_t attributes) {
  if (PlatformIsUnicode()) return SetFileAttributesW(name, attributes);
  AnsiString ansiName;
  return ToAnsiName(name, ansiName) && SetFileAttributesA(ansiName.c_str(), attributes);
}

bool WideCreateDirectory(const WideChar* name) {
  if (PlatformIsUnicode()) return CreateDirectoryW(name);
  AnsiString ansiName;
  return ToAnsiName(name, ansiName) && CreateDirectoryA(ansiName.c_str());
}

bool WideMoveFile(const WideChar* existingName, const WideChar* newName) {
  if (PlatformIsUnicode()) return MoveFileW(existingName, newName);
  AnsiString ansiExisting, ansiNew;
  return ToAnsiName(existingName, ansiExisting) && ToAnsiName(newName, ansiNew) &&
         MoveFileA(ansiExisting.c_str(), ansiNew.c_str());
}

bool WideDeleteFileApi(const WideChar* name) {
  if (PlatformIsUnicode()) return DeleteFileW(name);
  AnsiString ansiName;
  return ToAnsiName(name, ansiName) && DeleteFileA(ansiName.c_str());
}

namespace {

// Copies a converted name into a fixed field, cut to the field and terminated.
template <size_t N>
void CopyConvertedName(WideChar (&field)[N], const char* ansi) {
  const WideString wide = DefaultAnsiToWide(ansi);
  const size_t count = std::min(wide.size(), N - 1);
  std::copy_n(wide.data(), count, field);
  field[count] = 0;
}

void ConvertFindData(const WIN32_FIND_DATAA& ansi, WIN32_FIND_DATAW* wide) {
  wide->dwFileAttributes = ansi.dwFileAttributes;
  wide->ftCreationTime = ansi.ftCreationTime;
  wide->ftLastAccessTime = ansi.ftLastAccessTime;
  wide->ftLastWriteTime = ansi.ftLastWriteTime;
  wide->nFileSizeHigh = ansi.nFileSizeHigh;
  wide->nFileSizeLow = ansi.nFileSizeLow;
  wide->dwReserved0 = ansi.dwReserved0;
  wide->dwReserved1 = ansi.dwReserved1;
  CopyConvertedName(wide->cFileName, ansi.cFileName);
  CopyConvertedName(wide->cAlternateFileName, ansi.cAlternateFileName);
}

}  // namespace

THandle WideFindFirstFile(const WideChar* fileName, WIN32_FIND_DATAW* findData) {
  if (PlatformIsUnicode()) return FindFirstFileW(fileName, findData);
  AnsiString ansiName;
  if (!ToAnsiName(fileName, ansiName)) return INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAA ansiData;
  const THandle handle = FindFirstFileA(ansiName.c_str(), &ansiData);
  if (handle != INVALID_HANDLE_VALUE) ConvertFindData(ansiData, findData);
  return handle;
}

bool WideFindNextFile(THandle findHandle, WIN32_FIND_DATAW* findData) {
  if (PlatformIsUnicode()) return FindNextFileW(findHandle, findData);
  WIN32_FIND_DATAA ansiData;
  if (!FindNextFileA(findHandle, &ansiData)) return false;
  ConvertFindData(ansiData, findData);
  return true;
}

uint32_t WideGetModuleFileNameApi(HMODULE module, WideChar* buffer, uint32_t size) {
  if (PlatformIsUnicode()) return GetModuleFileNameW(module, buffer, size);
  // The 8-bit name is read whole, however long, before it is fitted to the caller's buffer.
  AnsiString name(MAX_PATH, '\0');
  uint32_t length;
  while ((length = GetModuleFileNameA(module, name.data(), static_cast<uint32_t>(name.size()))) >= name.size())
    name.resize(name.size() * 2);
  if (length == 0) return 0;
  name.resize(length);
  return AnsiResultToWideBuffer(size, buffer, name, armModuleName);
}

// ---- Upper case ------------------------------------------------------------------------

namespace {

// The 8-bit platforms' upper-casing of one character of the user code page: the
// character's upper case when the code page has it too, else the character.
WideChar AnsiCharUpper(WideChar c) {
  AnsiString ansi;
  if (!TryDefaultWideToAnsi(WideStringView(&c, 1), ansi)) return c;
  AnsiString upperAnsi;
  const WideChar upper = SimpleUpperCase(c);
  if (!TryDefaultWideToAnsi(WideStringView(&upper, 1), upperAnsi)) upperAnsi = ansi;
  const WideString back = DefaultAnsiToWide(upperAnsi);
  return back.size() == 1 ? back[0] : c;
}

}  // namespace

WideChar WideCharUpper(WideChar c) {
  if (PlatformIsUnicode()) return SimpleUpperCase(c);
  return AnsiCharUpper(c);
}

WideChar* WideCharUpper(WideChar* text) {
  WideCharUpperBuff(text, WideStrLen(text));
  return text;
}

uint32_t WideCharUpperBuff(WideChar* buffer, uint32_t length) {
  if (PlatformIsUnicode()) return CharUpperBuffW(buffer, length);
  for (uint32_t i = 0; i < length; ++i) buffer[i] = AnsiCharUpper(buffer[i]);
  return length;
}

bool WideGetStringTypeEx(LCID locale, uint32_t infoType, const WideChar* text, int32_t count, uint16_t* charTypes) {
  if (PlatformIsUnicode()) return GetStringTypeExW(locale, infoType, text, count, charTypes);
  if (text == nullptr || charTypes == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  const WideStringView chars = count < 0 ? WideStringView(text) : WideStringView(text, static_cast<size_t>(count));
  const AnsiString ansi = DefaultWideToAnsi(chars);
  // The 8-bit query types each byte; a double-byte character has two, so it writes
  // into a buffer of its own and the caller gets one type per character it passed.
  std::vector<uint16_t> ansiTypes(ansi.size() + 1);
  if (!GetStringTypeExA(locale, infoType, ansi.c_str(), -1, ansiTypes.data())) return false;
  std::copy_n(ansiTypes.begin(), std::min(chars.size(), ansi.size()), charTypes);
  std::fill(charTypes + std::min(chars.size(), ansi.size()), charTypes + chars.size(), uint16_t{0});
  return true;
}

// ---- String tables -----------------------------------------------------------------------

int32_t WideLoadString(HMODULE module, uint32_t identifier, WideChar* buffer, int32_t size) {
  if (PlatformIsUnicode()) return LoadStringW(module, identifier, buffer, size);
  return LoadStringFromTable(module, identifier, buffer, size);
}

int32_t LoadStringFromTable(HMODULE module, uint32_t identifier, WideChar* buffer, int32_t size) {
  if ((identifier >> 16) == 0xFFFF) identifier = 0u - identifier;
  constexpr uint32_t kEntriesPerBlock = 16;
  const uint32_t blockOrdinal = identifier / kEntriesPerBlock + 1;
  if (blockOrdinal > 0xFFFF) return 0;
  const HRSRC resource = FindResourceW(module, static_cast<uint16_t>(blockOrdinal), RT_STRING);
  if (resource == nullptr) return 0;
  const auto* block = static_cast<const uint8_t*>(LockResource(LoadResource(module, resource)));
  const uint32_t blockBytes = SizeofResource(module, resource);
  // Each entry: a 16-bit length, then that many UTF-16 units, little-endian; a block
  // too short for the entry reads as missing rather than past its end.
  uint32_t at = 0;
  uint32_t length = 0;
  for (uint32_t entry = 0;; ++entry) {
    if (at + 2 > blockBytes) return 0;
    length = block[at] | (uint32_t{block[at + 1]} << 8);
    at += 2;
    if (entry == identifier % kEntriesPerBlock) break;
    at += 2 * length;
  }
  if (at + 2 * length > blockBytes) return 0;
  if (buffer == nullptr || size <= 0) return static_cast<int32_t>(length);
  const uint32_t count = std::min(static_cast<uint32_t>(size) - 1, length);
  for (uint32_t i = 0; i < count; ++i)
    buffer[i] = static_cast<WideChar>(block[at + 2 * i] | (block[at + 2 * i + 1] << 8));
  buffer[count] = 0;
  return static_cast<int32_t>(count);
}

// ---- Version information -----------------------------------------------------------------

uint32_t WideGetFileVersionInfoSize(const WideChar* fileName, uint32_t* handle) {
  if (PlatformIsUnicode()) return GetFileVersionInfoSizeW(fileName, handle);
  AnsiString ansiName;
  return ToAnsiName(fileName, ansiName) ? GetFileVersionInfoSizeA(ansiName.c_str(), handle) : 0;
}

bool WideGetFileVersionInfo(const WideChar* fileName, uint32_t handle, uint32_t length, void* data) {
  if (PlatformIsUnicode()) return GetFileVersionInfoW(fileName, handle, length, data);
  AnsiString ansiName;
  return ToAnsiName(fileName, ansiName) && GetFileVersionInfoA(ansiName.c_str(), handle, length, data);
}

bool WideVerQueryValue(const void* block, const WideChar* subBlock, void** buffer, uint32_t* length) {
  if (PlatformIsUnicode()) return VerQueryValueW(block, subBlock, buffer, length);
  AnsiString ansiSubBlock;
  return subBlock != nullptr && TryDefaultWideToAnsi(subBlock, ansiSubBlock) &&
         VerQueryValueA(block, ansiSubBlock.c_str(), buffer, length);
}

// ---- Libraries -----------------------------------------------------------------------------

HMODULE WideLoadLibrary(const WideChar* fileName) {
  if (PlatformIsUnicode()) return LoadLibraryW(fileName);
  AnsiString ansiName;
  return ToAnsiName(fileName, ansiName) ? LoadLibraryA(ansiName.c_str()) : 0;
}
