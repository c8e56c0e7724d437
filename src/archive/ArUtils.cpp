#include "archive/ArUtils.h"

#include "platform/base/FileSystem.h"

uint32_t UpdateCrc32(uint32_t crcRegister, std::span<const uint8_t> bytes) {
  for (uint8_t b : bytes) crcRegister = Crc32Byte(crcRegister, b);
  return crcRegister;
}

int32_t Percentage(int64_t part, int64_t total) {
  if (total > 16384000) {
    part = (part + 128) >> 8;
    total = (total + 128) >> 8;
  }
  if (total <= 0) return 0;
  if (part >= total) return 100;
  return static_cast<int32_t>(part * 100 / total);
}

int32_t PathKind(AnsiStringView path) {
  if (!path.empty() && path.front() == '/') return 2;
  return path.find('/') != AnsiStringView::npos ? 1 : 0;
}

AnsiString AddBackslash(AnsiStringView path) {
  AnsiString result(path);
  if (!result.empty() && result.back() != '/') result += '/';
  return result;
}

int32_t FindNthSlash(AnsiStringView path, int32_t n) {
  int32_t seen = 0;
  for (size_t i = 0; i < path.size(); ++i)
    if (path[i] == '/' && ++seen == n) return static_cast<int32_t>(i);
  return static_cast<int32_t>(path.size());
}

void RemoveLeadingDotDots(AnsiString& path) {
  while (path.starts_with("../")) path.erase(0, 3);
}

bool DirectoryExists(const AnsiString& path) {
  if (path.find_first_of("*?") != AnsiString::npos) return false;
  uint32_t attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CreateDirectoryPath(const AnsiString& path) {
  if (DirectoryExists(path)) return true;
  // Each prefix ending before a "/" (after the root's own) and then the whole path.
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != '/') continue;
    AnsiString part = path.substr(0, i);
    if (!DirectoryExists(part) && !CreateDirectoryA(part.c_str())) return false;
  }
  return true;
}
