// Files, folders and searches of UniSysUtils, through the wrappers of UniWindows.
#include <iterator>

#include "platform/base/LastError.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniWideStrUtils.h"
#include "unicode/UniWindows.h"

namespace {

constexpr uint32_t kSearchedAttributes = faHidden | faSysFile | faVolumeID | faDirectory;

// Skips entries with an excluded attribute, then fills the record from the entry.
int32_t FindMatchingFile(TWideSearchRec& searchRec) {
  while ((searchRec.FindData.dwFileAttributes & static_cast<uint32_t>(searchRec.ExcludeAttr)) != 0)
    if (!WideFindNextFile(searchRec.FindHandle, &searchRec.FindData)) return static_cast<int32_t>(GetLastError());
  const WIN32_FIND_DATAW& data = searchRec.FindData;
  FILETIME localTime;
  uint16_t fatDate = 0;
  uint16_t fatTime = 0;
  const bool packed = FileTimeToLocalFileTime(&data.ftLastWriteTime, &localTime) &&
                      FileTimeToDosDateTime(&localTime, &fatDate, &fatTime);
  searchRec.Time = packed ? static_cast<int32_t>((uint32_t{fatDate} << 16) | fatTime) : -1;
  searchRec.Size = static_cast<int64_t>((uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow);
  searchRec.Attr = static_cast<int32_t>(data.dwFileAttributes);
  searchRec.Name = WideStrFromBuffer(data.cFileName, -1);
  return 0;
}

}  // namespace

THandle WideFileCreate(const WideString& fileName) {
  return WideCreateFile(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
}

THandle WideFileOpen(const WideString& fileName, uint32_t mode) {
  static constexpr uint32_t kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
  static constexpr uint32_t kShare[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
  const uint32_t access = mode & 3;
  const uint32_t share = (mode & 0xF0) >> 4;
  if (access >= std::size(kAccess) || share >= std::size(kShare)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  return WideCreateFile(fileName.c_str(), kAccess[access], kShare[share], OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
}

bool WideFileExists(const WideString& fileName) {
  // The attributes of the name itself: a search would read "*" and "?" in it as a mask.
  const uint32_t attributes = WideGetFileAttributes(fileName.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool WideDirectoryExists(const WideString& path) {
  const uint32_t attributes = WideGetFileAttributes(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

int32_t WideFileGetAttr(const WideString& fileName) {
  return static_cast<int32_t>(WideGetFileAttributes(fileName.c_str()));
}

bool WideForceDirectories(const WideString& path) {
  if (path.empty()) throw EUniGeneralError("Unable to create directory");
  // Every trailing "/" goes, so that "a//" is created as "a"; nothing left means the
  // root, which always exists.
  WideString dir = path;
  while (WideLastChar(dir) == u'/') dir.pop_back();
  if (dir.empty() || WideDirectoryExists(dir)) return true;
  // A file of that name: no folder can be made there, nor below it.
  if (WideFileExists(dir)) {
    SetLastError(ERROR_DIRECTORY);
    return false;
  }
  const WideString parent = WideExtractFilePath(dir);
  return (parent.empty() || WideForceDirectories(parent)) && WideCreateDirectory(dir.c_str());
}

bool WideRenameFile(const WideString& oldName, const WideString& newName) {
  return WideMoveFile(oldName.c_str(), newName.c_str());
}

bool WideDeleteFile(const WideString& fileName) { return WideDeleteFileApi(fileName.c_str()); }

int32_t WideFindFirst(const WideString& path, int32_t attr, TWideSearchRec& searchRec) {
  searchRec.ExcludeAttr = static_cast<int32_t>(~static_cast<uint32_t>(attr) & kSearchedAttributes);
  searchRec.FindHandle = WideFindFirstFile(path.c_str(), &searchRec.FindData);
  if (searchRec.FindHandle == INVALID_HANDLE_VALUE) return static_cast<int32_t>(GetLastError());
  const int32_t result = FindMatchingFile(searchRec);
  if (result != 0) WideFindClose(searchRec);
  return result;
}

int32_t WideFindNext(TWideSearchRec& searchRec) {
  if (!WideFindNextFile(searchRec.FindHandle, &searchRec.FindData)) return static_cast<int32_t>(GetLastError());
  return FindMatchingFile(searchRec);
}

void WideFindClose(TWideSearchRec& searchRec) {
  if (searchRec.FindHandle == INVALID_HANDLE_VALUE) return;
  FindClose(searchRec.FindHandle);
  searchRec.FindHandle = INVALID_HANDLE_VALUE;
}
