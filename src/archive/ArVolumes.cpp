#include "archive/ArVolumes.h"

#include <cstdio>
#include <limits>

#include "archive/ArUtils.h"
#include "platform/base/DiskQueries.h"
#include "platform/base/FileSearch.h"
#include "platform/base/FileSystem.h"
#include "platform/base/TextUtils.h"

namespace {

bool IsFile(const AnsiString& name) {
  uint32_t attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool IsRemovableDrive(const AnsiString& path) {
  return PathKind(path) == 2 && GetDriveTypeA(path.c_str()) == DRIVE_REMOVABLE;
}

int32_t FreeSpace(const AnsiString& path) {
  constexpr int32_t Unknown = -1;
  if (PathKind(path) != 2) return Unknown;
  uint64_t available = 0;
  if (!GetDiskFreeSpaceExA(path.c_str(), &available, nullptr, nullptr)) return Unknown;
  constexpr auto Largest = static_cast<uint64_t>(std::numeric_limits<int32_t>::max());
  return static_cast<int32_t>(available > Largest ? Largest : available);
}

AnsiString SpanVolumeName(const AnsiString& archiveName, int32_t number) {
  if (number < 1 || number > 99) return AnsiString();
  size_t slash = archiveName.rfind('/');
  size_t nameStart = slash == AnsiString::npos ? 0 : slash + 1;
  size_t dot = archiveName.rfind('.');
  AnsiString stem = dot == AnsiString::npos || dot < nameStart ? archiveName : archiveName.substr(0, dot);
  char extension[8];
  std::snprintf(extension, sizeof extension, ".z%02d", static_cast<int>(number));
  return stem + extension;
}

AnsiString FindFileIgnoringCase(const AnsiString& fileName) {
  if (fileName.empty()) return AnsiString();
  if (IsFile(fileName)) return fileName;
  size_t slash = fileName.rfind('/');
  AnsiString folder = slash == AnsiString::npos ? AnsiString() : fileName.substr(0, slash + 1);
  AnsiString name = fileName.substr(folder.size());
  if (name.empty()) return AnsiString();
  // A "?" in place of the last character makes the search a mask, which matches without
  // regard to case; the exact comparison below picks the one name.
  AnsiString mask = folder + name.substr(0, name.size() - 1) + "?";
  WIN32_FIND_DATAA found{};
  THandle search = FindFirstFileA(mask.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return AnsiString();
  AnsiString result;
  do {
    if (SameText(AnsiStringView(found.cFileName), name) && IsFile(folder + found.cFileName))
      result = folder + found.cFileName;
  } while (result.empty() && FindNextFileA(search, &found));
  FindClose(search);
  return result;
}
