#include "platform/base/FileSystemNames.h"

#include <sys/stat.h>
#include <cerrno>

#include "platform/base/CodePages.h"
#include "platform/base/LastError.h"
#include "platform/base/Surrogates.h"
#include "platform/base/Utf8.h"

namespace {

constexpr char16_t EscapeBase = 0xDC00;  // U+DC80..U+DCFF stand for the bytes 80..FF

}  // namespace

bool WideToFileSystemName(WideStringView name, std::string& bytes) {
  bytes.clear();
  bytes.reserve(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    uint32_t value = name[i];
    if (const uint32_t pair = SurrogatePairAt(name, i); pair != 0) {
      value = pair;
      ++i;
    } else if (value >= EscapeBase + 0x80 && value <= EscapeBase + 0xFF) {
      bytes.push_back(static_cast<char>(value - EscapeBase));
      continue;
    } else if (value == 0 || IsSurrogate(value)) {
      SetLastError(ERROR_INVALID_NAME);
      return false;
    }
    AppendUtf8(bytes, value);
  }
  return true;
}

WideString FileSystemNameToWide(std::string_view bytes) {
  WideString name;
  name.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    uint32_t value = 0;
    size_t consumed = 0;
    if (DecodeUtf8Sequence(bytes, i, value, consumed)) {
      AppendUtf16(name, value);
      i += consumed;
    } else {
      // Only the first byte is escaped: the next may start a well-formed sequence.
      name.push_back(static_cast<char16_t>(EscapeBase + static_cast<uint8_t>(bytes[i])));
      ++i;
    }
  }
  return name;
}

bool AnsiToWideName(AnsiStringView name, WideString& wide) {
  wide.clear();
  if (name.empty()) return true;
  if (name.size() > static_cast<size_t>(INT32_MAX)) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  const auto bytes = static_cast<int32_t>(name.size());
  const int32_t length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name.data(), bytes, nullptr, 0);
  if (length == 0) return false;
  wide.resize(static_cast<size_t>(length));
  return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name.data(), bytes, wide.data(), length) == length;
}

bool AnsiToFileSystemName(AnsiStringView name, std::string& bytes) {
  WideString wide;
  return AnsiToWideName(name, wide) && WideToFileSystemName(wide, bytes);
}

uint32_t SetLastErrorForPath(int errnoValue, const std::string& path) {
  uint32_t code = ErrorFromErrno(errnoValue);
  if (errnoValue == ENOTDIR || path.empty()) {
    code = ERROR_PATH_NOT_FOUND;
  } else if (errnoValue == ENOENT) {
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    const size_t slash = folder.rfind('/');
    if (slash != std::string::npos) {
      folder.resize(slash == 0 ? 1 : slash);
      struct stat info {};
      if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) code = ERROR_PATH_NOT_FOUND;
    }
  }
  SetLastError(code);
  return code;
}

bool NameBytes(const WideChar* name, std::string& bytes) {
  if (name == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  return WideToFileSystemName(name, bytes);
}

bool NameBytes(const char* name, std::string& bytes) {
  if (name == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  return AnsiToFileSystemName(name, bytes);
}
