#include "platform/base/FileSearch.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>
#include <mutex>
#include <type_traits>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/base/FileAttributes.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"
#include "platform/base/UnicodeCase.h"

namespace {

// One entry found, in the wide record's terms.
struct TFoundEntry {
  WideString Name;
  uint32_t Attributes = 0;
  FILETIME LastAccess{};
  FILETIME LastWrite{};
  uint64_t Size = 0;
};

struct TSearch {
  std::vector<TFoundEntry> Entries;
  size_t Next = 0;
};

// Open searches by handle; handles are never reused.
struct TSearchTable {
  std::mutex Lock;
  std::map<THandle, std::unique_ptr<TSearch>> Searches;
  THandle LastHandle = 0;
};

TSearchTable& Searches() {
  static TSearchTable table;
  return table;
}

// Names compare by their upper-case units, as Windows file systems compare them.
char16_t FoldCase(char16_t unit) { return SimpleUpperCase(unit); }

bool HasWildcards(WideStringView mask) { return mask.find_first_of(u"*?") != WideStringView::npos; }

// Order: ".", "..", then by upper-cased name.
bool ComesBefore(const TFoundEntry& a, const TFoundEntry& b) {
  const auto rank = [](const WideString& name) { return name == u"." ? 0 : name == u".." ? 1 : 2; };
  if (rank(a.Name) != rank(b.Name)) return rank(a.Name) < rank(b.Name);
  return std::lexicographical_compare(a.Name.begin(), a.Name.end(), b.Name.begin(), b.Name.end(),
                                      [](char16_t x, char16_t y) { return FoldCase(x) < FoldCase(y); });
}

bool EntryOf(int folderHandle, const std::string& name, TFoundEntry& entry) {
  struct stat info {};
  if (!StatusForAttributes(folderHandle, name.c_str(), info)) return false;
  entry.Name = FileSystemNameToWide(name);
  entry.Attributes = AttributesFromStatus(info, name);
  entry.LastAccess = FileTimeFromUnixTime(info.st_atim);
  entry.LastWrite = FileTimeFromUnixTime(info.st_mtim);
  entry.Size = S_ISREG(info.st_mode) ? static_cast<uint64_t>(info.st_size) : 0;
  return true;
}

// Collects the entries of `folder` that match `mask`; false with the last error set.
bool Collect(const std::string& folder, const WideString& mask, std::vector<TFoundEntry>& found) {
  const int folderHandle = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderHandle < 0) {
    SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
    return false;
  }
  if (!HasWildcards(mask)) {
    std::string name;
    TFoundEntry entry;
    if (WideToFileSystemName(mask, name) && EntryOf(folderHandle, name, entry)) found.push_back(std::move(entry));
    close(folderHandle);
    return true;
  }
  DIR* listing = fdopendir(folderHandle);
  if (listing == nullptr) {
    SetLastErrorFromErrno();
    close(folderHandle);
    return false;
  }
  while (const dirent* item = readdir(listing)) {
    TFoundEntry entry;
    // An entry removed since it was listed is simply not found.
    if (MatchesFileMask(FileSystemNameToWide(item->d_name), mask) && EntryOf(dirfd(listing), item->d_name, entry))
      found.push_back(std::move(entry));
  }
  closedir(listing);
  std::sort(found.begin(), found.end(), ComesBefore);
  return true;
}

// Fills the record of an entry; false when its name does not fit.
template <typename TChar>
bool FillRecord(const TFoundEntry& entry, TWin32FindData<TChar>& data) {
  std::basic_string<TChar> name;
  if constexpr (std::is_same_v<TChar, WideChar>)
    name = entry.Name;
  else
    name = WideToAnsi(entry.Name);
  if (name.size() >= MAX_PATH) return false;
  data = {};
  data.dwFileAttributes = entry.Attributes;
  data.ftCreationTime = entry.LastWrite;
  data.ftLastAccessTime = entry.LastAccess;
  data.ftLastWriteTime = entry.LastWrite;
  data.nFileSizeHigh = static_cast<uint32_t>(entry.Size >> 32);
  data.nFileSizeLow = static_cast<uint32_t>(entry.Size & 0xFFFFFFFFu);
  std::copy(name.begin(), name.end(), data.cFileName);
  return true;
}

// Hands out the next entry that fits the record; false with ERROR_NO_MORE_FILES at the end.
template <typename TRecord>
bool Advance(TSearch& search, TRecord& data) {
  while (search.Next < search.Entries.size())
    if (FillRecord(search.Entries[search.Next++], data)) {
      SetLastError(ERROR_SUCCESS);
      return true;
    }
  SetLastError(ERROR_NO_MORE_FILES);
  return false;
}

template <typename TRecord>
THandle FindFirst(const WideString& fileName, TRecord* data) {
  if (data == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  if (fileName.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  const size_t slash = fileName.rfind(u'/');
  const WideString folderName = slash == WideString::npos ? WideString(u".")
                                : slash == 0              ? WideString(u"/")
                                                          : fileName.substr(0, slash);
  const WideString mask = slash == WideString::npos ? fileName : fileName.substr(slash + 1);
  std::string folder;
  auto search = std::make_unique<TSearch>();
  if (!WideToFileSystemName(folderName, folder) || !Collect(folder, mask, search->Entries)) return INVALID_HANDLE_VALUE;
  if (!Advance(*search, *data)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  TSearchTable& table = Searches();
  const std::lock_guard<std::mutex> guard(table.Lock);
  const THandle handle = ++table.LastHandle;
  table.Searches.emplace(handle, std::move(search));
  return handle;
}

template <typename TRecord>
bool FindNext(THandle findHandle, TRecord* data) {
  TSearchTable& table = Searches();
  const std::lock_guard<std::mutex> guard(table.Lock);
  const auto found = table.Searches.find(findHandle);
  if (found == table.Searches.end() || data == nullptr) {
    SetLastError(data == nullptr ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return false;
  }
  return Advance(*found->second, *data);
}

}  // namespace

bool MatchesFileMask(WideStringView name, WideStringView mask) {
  if (mask == u"*.*") mask = u"*";
  // Greedy matching that backtracks to the last "*" seen.
  size_t n = 0, m = 0, starMask = WideStringView::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == u'*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() && (mask[m] == u'?' || FoldCase(mask[m]) == FoldCase(name[n]))) {
      ++m, ++n;
    } else if (starMask != WideStringView::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == u'*') ++m;
  return m == mask.size();
}

THandle FindFirstFileW(const WideChar* fileName, WIN32_FIND_DATAW* findData) {
  if (fileName == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  return FindFirst(WideString(fileName), findData);
}

THandle FindFirstFileA(const char* fileName, WIN32_FIND_DATAA* findData) {
  if (fileName == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  WideString wide;
  return AnsiToWideName(fileName, wide) ? FindFirst(wide, findData) : INVALID_HANDLE_VALUE;
}

bool FindNextFileW(THandle findHandle, WIN32_FIND_DATAW* findData) { return FindNext(findHandle, findData); }

bool FindNextFileA(THandle findHandle, WIN32_FIND_DATAA* findData) { return FindNext(findHandle, findData); }

bool FindClose(THandle findHandle) {
  TSearchTable& table = Searches();
  const std::lock_guard<std::mutex> guard(table.Lock);
  if (table.Searches.erase(findHandle) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  return true;
}
