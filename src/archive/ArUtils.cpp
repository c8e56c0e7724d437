#include "archive/ArUtils.h"

#include <algorithm>

#include "platform/base/FileSystem.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/FileTimes.h"
#include "platform/base/LastError.h"
#include "platform/base/LittleEndian.h"

namespace {

// Slicing by 8: Slices[k][n] is the register step of byte n followed by k zero bytes, so
// eight bytes cost eight independent look-ups.
constexpr std::array<std::array<uint32_t, 256>, 8> Slices = [] {
  std::array<std::array<uint32_t, 256>, 8> t{};
  t[0] = ArCrc32Table;
  for (size_t k = 1; k < 8; ++k)
    for (size_t n = 0; n < 256; ++n) t[k][n] = (t[k - 1][n] >> 8) ^ ArCrc32Table[t[k - 1][n] & 0xFF];
  return t;
}();

}  // namespace

uint32_t UpdateCrc32(uint32_t crcRegister, std::span<const uint8_t> bytes) {
  const uint8_t* p = bytes.data();
  size_t n = bytes.size();
  for (; n >= 8; n -= 8, p += 8) {
    uint32_t low = crcRegister ^ LoadLE32(p);
    uint32_t high = LoadLE32(p + 4);
    crcRegister = Slices[7][low & 0xFF] ^ Slices[6][(low >> 8) & 0xFF] ^ Slices[5][(low >> 16) & 0xFF] ^
                  Slices[4][low >> 24] ^ Slices[3][high & 0xFF] ^ Slices[2][(high >> 8) & 0xFF] ^
                  Slices[1][(high >> 16) & 0xFF] ^ Slices[0][high >> 24];
  }
  for (; n > 0; --n) crcRegister = Crc32Byte(crcRegister, *p++);
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

void WriteZeros(TStream& stream, int64_t count) {
  static const std::array<uint8_t, 512> zeros{};
  while (count > 0) {
    int32_t part = static_cast<int32_t>(std::min<int64_t>(count, zeros.size()));
    stream.WriteBuffer(zeros.data(), part);
    count -= part;
  }
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

uint32_t UnixTimeToLocalDosDateTime(int64_t seconds) {
  struct timespec time {};
  time.tv_sec = static_cast<time_t>(seconds);
  FILETIME utc = FileTimeFromUnixTime(time), local;
  uint16_t date = 0, dosTime = 0;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToDosDateTime(&local, &date, &dosTime)) return 0;
  return uint32_t{date} << 16 | dosTime;
}

uint32_t SetFileDate(const std::string& fileSystemName, uint16_t dosDate, uint16_t dosTime) {
  FILETIME local, utc;
  if (!DosDateTimeToFileTime(dosDate, dosTime, &local) || !LocalFileTimeToFileTime(&local, &utc)) return GetLastError();
  THandle handle = FileOpen(FileSystemNameToWide(fileSystemName), fmOpenWrite);
  if (handle == INVALID_HANDLE_VALUE) return GetLastError();
  uint32_t result = SetFileTime(handle, nullptr, nullptr, &utc) ? 0 : GetLastError();
  FileClose(handle);
  return result;
}

AnsiString TempFileName(const AnsiString& directory, bool create) {
  AnsiString folder = directory;
  if (folder.empty() || !DirectoryExists(folder)) {
    char temp[MAX_PATH];
    if (GetTempPathA(MAX_PATH, temp) == 0) return AnsiString();
    folder = temp;
  }
  char name[MAX_PATH];
  if (GetTempFileNameA(folder.c_str(), "VMS", create ? 0 : 1, name) == 0) return AnsiString();
  return name;
}

uint32_t UnixModeFromAttributes(uint32_t attributes) { return (attributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0744; }

uint32_t AttributesFromUnixMode(uint32_t mode) {
  uint32_t attributes = 0;
  switch (mode & 0170000) {
    case 0040000:
      attributes = FILE_ATTRIBUTE_DIRECTORY;
      break;
    case 0100000:
    case 0:  // old archives leave the type out of regular files
      break;
    default:
      attributes = FILE_ATTRIBUTE_SYSTEM;
  }
  if ((mode & 0200) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
  return attributes;
}

bool PatternMatch(AnsiStringView text, size_t textPosition, AnsiStringView pattern, size_t patternPosition) {
  if (patternPosition == 0 && (pattern == "*.*" || pattern == "*")) return true;
  // Backtracking over the last "*" only: a later star makes earlier choices final.
  size_t t = textPosition, p = patternPosition;
  size_t starAt = AnsiStringView::npos, resumeText = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
      ++t;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starAt = p++;
      resumeText = t;
    } else if (starAt != AnsiStringView::npos) {
      p = starAt + 1;
      t = ++resumeText;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}
