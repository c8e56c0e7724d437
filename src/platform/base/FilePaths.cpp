// Full paths, the current folder and temporary file names.
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/base/FileSystem.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"
#include "platform/base/PathBuffers.h"

namespace {

// The current folder; false with the last error set when it cannot be read (removed).
bool CurrentFolder(WideString& folder) {
  std::vector<char> bytes(256);
  while (getcwd(bytes.data(), bytes.size()) == nullptr) {
    if (errno != ERANGE) {
      SetLastErrorFromErrno();
      return false;
    }
    bytes.resize(bytes.size() * 2);
  }
  folder = FileSystemNameToWide(bytes.data());
  return true;
}

// `name` made absolute and "." and ".." parts and repeated "/" removed; a trailing "/"
// stays. ".." at the root stays at the root.
bool FullPath(WideStringView name, WideString& full) {
  if (name.empty()) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  WideString joined;
  if (name[0] != u'/') {
    if (!CurrentFolder(joined)) return false;
    joined += u'/';
  }
  joined += name;
  std::vector<WideStringView> parts;
  const WideStringView all(joined);
  for (size_t start = 0; start <= all.size();) {
    size_t end = all.find(u'/', start);
    if (end == WideStringView::npos) end = all.size();
    const WideStringView part = all.substr(start, end - start);
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  full.clear();
  for (const WideStringView part : parts) (full += u'/') += part;
  if (full.empty() || name.back() == u'/') full += u'/';
  return true;
}

WideString TempFolder() {
  const char* variable = std::getenv("TMPDIR");
  WideString folder = FileSystemNameToWide(variable != nullptr && *variable != 0 ? variable : "/tmp");
  if (folder.back() != u'/') folder += u'/';
  return folder;
}

// "<path>/<prefix's first three characters><four hex digits>.TMP".
WideString TempName(WideStringView path, WideStringView prefix, uint32_t unique) {
  static constexpr char16_t Hex[] = u"0123456789ABCDEF";
  WideString name(path);
  if (!name.empty() && name.back() != u'/') name += u'/';
  name += prefix.substr(0, 3);
  for (int shift = 12; shift >= 0; shift -= 4) name += Hex[(unique >> shift) & 0xF];
  return name + u".TMP";
}

// Hands the name to `deliver` (false when the caller's buffer cannot take it) and, with
// `unique` 0, then creates its file, so a name the caller cannot take leaves no file.
template <typename Deliver>
uint32_t TempFileName(const WideString& path, const WideString& prefix, uint32_t unique, Deliver deliver) {
  if (unique != 0) return deliver(TempName(path, prefix, unique & 0xFFFF)) ? unique : 0;
  // Numbers are tried from a start that differs between processes and moments.
  const auto start = static_cast<uint32_t>(getpid() ^ time(nullptr));
  for (uint32_t step = 0; step < 0xFFFF; ++step) {
    const uint32_t candidate = (start + step) % 0xFFFF + 1;
    const WideString name = TempName(path, prefix, candidate);
    if (!deliver(name)) return 0;
    const THandle handle = CreateFileW(name.c_str(), GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
    if (handle != INVALID_HANDLE_VALUE) {
      FileClose(handle);
      SetLastError(ERROR_SUCCESS);
      return candidate;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) return 0;
  }
  return 0;
}

}  // namespace

uint32_t GetFullPathNameW(const WideChar* name, uint32_t bufferChars, WideChar* buffer, WideChar** filePart) {
  WideString full;
  if (name == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!FullPath(name, full)) return 0;
  return DeliverPath(full, bufferChars, buffer, filePart);
}

uint32_t GetFullPathNameA(const char* name, uint32_t bufferBytes, char* buffer, char** filePart) {
  WideString wide, full;
  if (name == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!AnsiToWideName(name, wide) || !FullPath(wide, full)) return 0;
  return DeliverPath(WideToAnsi(full), bufferBytes, buffer, filePart);
}

uint32_t GetCurrentDirectoryW(uint32_t bufferChars, WideChar* buffer) {
  WideString folder;
  return CurrentFolder(folder) ? DeliverPath(folder, bufferChars, buffer) : 0;
}

uint32_t GetCurrentDirectoryA(uint32_t bufferBytes, char* buffer) {
  WideString folder;
  return CurrentFolder(folder) ? DeliverPath(WideToAnsi(folder), bufferBytes, buffer) : 0;
}

uint32_t GetTempPathW(uint32_t bufferChars, WideChar* buffer) { return DeliverPath(TempFolder(), bufferChars, buffer); }

uint32_t GetTempPathA(uint32_t bufferBytes, char* buffer) {
  return DeliverPath(WideToAnsi(TempFolder()), bufferBytes, buffer);
}

uint32_t GetTempFileNameW(const WideChar* pathName, const WideChar* prefix, uint32_t unique, WideChar* tempFileName) {
  if (pathName == nullptr || prefix == nullptr || tempFileName == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return TempFileName(pathName, prefix, unique,
                      [&](const WideString& name) { return DeliverName(name, tempFileName); });
}

uint32_t GetTempFileNameA(const char* pathName, const char* prefix, uint32_t unique, char* tempFileName) {
  if (pathName == nullptr || prefix == nullptr || tempFileName == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WideString path, prefixWide;
  if (!AnsiToWideName(pathName, path) || !AnsiToWideName(prefix, prefixWide)) return 0;
  return TempFileName(path, prefixWide, unique,
                      [&](const WideString& name) { return DeliverName(WideToAnsi(name), tempFileName); });
}
