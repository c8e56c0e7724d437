// The utilities of the writing road: names of files to add, their search, and times.
#include <cmath>
#include <ctime>

#include "archive/ArExcept.h"
#include "archive/ArUtils.h"
#include "platform/base/FileSearch.h"
#include "platform/base/FileSystem.h"
#include "platform/base/FileTimes.h"
#include "platform/base/LastError.h"
#include "platform/base/TextUtils.h"

namespace {

constexpr int64_t SecondsPerDay = 86400;
// 1970-01-01 on the date-time scale.
constexpr double UnixDateBase = 25569.0;

bool IsFile(const AnsiString& path) {
  uint32_t attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The entries of folder matching mask ("*" for all), "." and ".." left out.
std::vector<WIN32_FIND_DATAA> FolderEntries(const AnsiString& folder, const AnsiString& mask) {
  std::vector<WIN32_FIND_DATAA> found;
  WIN32_FIND_DATAA data;
  AnsiString search = (folder.empty() ? AnsiString(".") : folder) + "/" + mask;
  THandle handle = FindFirstFileA(search.c_str(), &data);
  if (handle == INVALID_HANDLE_VALUE) return found;
  do {
    AnsiStringView name = data.cFileName;
    if (name != "." && name != "..") found.push_back(data);
  } while (FindNextFileA(handle, &data));
  FindClose(handle);
  return found;
}

}  // namespace

AnsiString ExpandPath(const AnsiString& path) {
  if (path.empty()) return path;
  char buffer[MAX_PATH];
  uint32_t length = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
  return length > 0 && length < MAX_PATH ? AnsiString(buffer, length) : path;
}

void SplitPath(AnsiStringView path, AnsiString& directory, AnsiString& name) {
  size_t slash = path.rfind('/');
  if (slash == AnsiStringView::npos) {
    directory.clear();
    name = AnsiString(path);
    return;
  }
  directory = AnsiString(path.substr(0, slash == 0 ? 1 : slash));
  name = AnsiString(path.substr(slash + 1));
}

AnsiString ShortPath(const AnsiString& path) {
  AnsiString directory, name;
  SplitPath(path, directory, name);
  // Each folder from the first below the root on.
  for (size_t i = 1; i <= directory.size(); ++i) {
    if (i < directory.size() && directory[i] != '/') continue;
    if (!DirectoryExists(directory.substr(0, i))) throw EArException("Path not found", 0);
  }
  if (!IsFile(path)) throw EArFileNotFound();
  return path;
}

void FindFiles(const AnsiString& mask, std::vector<AnsiString>& list, bool recurse) {
  AnsiString folder, pattern;
  SplitPath(mask, folder, pattern);
  AnsiString upperPattern = AnsiUpperCase(pattern);
  AnsiString prefix = folder.empty() ? AnsiString() : AddBackslash(folder);
  std::vector<WIN32_FIND_DATAA> entries = FolderEntries(folder, "*");
  for (const WIN32_FIND_DATAA& entry : entries) {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (PatternMatch(AnsiUpperCase(entry.cFileName), 0, upperPattern, 0)) list.push_back(prefix + entry.cFileName);
  }
  if (!recurse) return;
  for (const WIN32_FIND_DATAA& entry : entries)
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      FindFiles(prefix + entry.cFileName + "/" + pattern, list, true);
}

double UnixTimeToDateTime(int64_t seconds) {
  int64_t days = seconds / SecondsPerDay, rest = seconds % SecondsPerDay;
  if (rest < 0) {
    rest += SecondsPerDay;
    --days;
  }
  return static_cast<double>(days) + UnixDateBase + static_cast<double>(rest) / SecondsPerDay;
}

int64_t DateTimeToUnixTime(double dateTime) {
  double days = std::floor(dateTime) - UnixDateBase;
  if (days < 0) return 0;
  double timeOfDay = dateTime - std::floor(dateTime);
  return static_cast<int64_t>(days) * SecondsPerDay + std::llround(timeOfDay * SecondsPerDay);
}

uint32_t FileLocalDosDateTime(THandle handle) {
  FILETIME written, local;
  uint16_t date = 0, time = 0;
  if (!GetFileTime(handle, nullptr, nullptr, &written) || !FileTimeToLocalFileTime(&written, &local) ||
      !FileTimeToDosDateTime(&local, &date, &time))
    RaiseLastOSError();
  return uint32_t{date} << 16 | time;
}

int64_t LocalUnixTimeNow() {
  time_t now = std::time(nullptr);
  struct tm local {};
  localtime_r(&now, &local);
  return static_cast<int64_t>(now) + local.tm_gmtoff;
}
