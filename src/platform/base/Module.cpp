#include "platform/base/Module.h"

#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"

namespace {

// The program's file name; false with the last error set when it cannot be read.
bool ProgramFileName(WideString& name) {
  std::vector<char> bytes(256);
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", bytes.data(), bytes.size());
    if (length < 0) {
      SetLastErrorFromErrno();
      return false;
    }
    if (static_cast<size_t>(length) < bytes.size()) {
      name = FileSystemNameToWide(std::string_view(bytes.data(), static_cast<size_t>(length)));
      return true;
    }
    bytes.resize(bytes.size() * 2);
  }
}

template <typename TChar>
uint32_t CopyTruncating(const std::basic_string<TChar>& text, TChar* buffer, uint32_t size) {
  if (buffer == nullptr || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (text.size() < size) {
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = 0;
    SetLastError(ERROR_SUCCESS);
    return static_cast<uint32_t>(text.size());
  }
  std::copy_n(text.begin(), size - 1, buffer);
  buffer[size - 1] = 0;
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return size;
}

}  // namespace

uint32_t GetModuleFileNameW(HMODULE, WideChar* buffer, uint32_t size) {
  WideString name;
  return ProgramFileName(name) ? CopyTruncating(name, buffer, size) : 0;
}

uint32_t GetModuleFileNameA(HMODULE, char* buffer, uint32_t size) {
  WideString name;
  return ProgramFileName(name) ? CopyTruncating(WideToAnsi(name), buffer, size) : 0;
}

WideString ProgramDirectory() {
  WideString name;
  if (!ProgramFileName(name)) return {};
  return name.substr(0, name.rfind(u'/') + 1);
}
