// Searching a folder for names that match a mask.
//
// FindFirstFileW takes "<folder>/<mask>": "*" matches any run of characters and "?" any
// one, compared without regard to case ("*.*" matches every name, as "*" does). A last
// part without "*" or "?" is a plain name and must match exactly, so that a search
// agrees with opening the name. The folder's entries, "." and ".." included, come in the
// order "." , "..", then by upper-cased name. There are no short names:
// cAlternateFileName is always empty.
#pragma once

#include <cstdint>

#include "platform/base/FileSystem.h"
#include "platform/base/FileTimes.h"
#include "platform/base/Types.h"

// The found-entry record; the 8-bit form holds the name in the ANSI code page ("?" for
// characters it lacks), and an entry whose 8-bit name does not fit cFileName is left out.
template <typename TChar>
struct TWin32FindData {
  uint32_t dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  uint32_t nFileSizeHigh;
  uint32_t nFileSizeLow;
  uint32_t dwReserved0;
  uint32_t dwReserved1;
  TChar cFileName[MAX_PATH];
  TChar cAlternateFileName[14];
};
using WIN32_FIND_DATAW = TWin32FindData<WideChar>;
using WIN32_FIND_DATAA = TWin32FindData<char>;

// Starts a search and fills `findData` with the first entry. INVALID_HANDLE_VALUE on
// failure: ERROR_FILE_NOT_FOUND when nothing matches, ERROR_PATH_NOT_FOUND when the
// folder is missing.
THandle FindFirstFileW(const WideChar* fileName, WIN32_FIND_DATAW* findData);
THandle FindFirstFileA(const char* fileName, WIN32_FIND_DATAA* findData);
// The next entry; false with ERROR_NO_MORE_FILES after the last.
bool FindNextFileW(THandle findHandle, WIN32_FIND_DATAW* findData);
bool FindNextFileA(THandle findHandle, WIN32_FIND_DATAA* findData);
bool FindClose(THandle findHandle);

// Whether a name matches a mask by the rules above ("*", "?", case-insensitive).
bool MatchesFileMask(WideStringView name, WideStringView mask);
