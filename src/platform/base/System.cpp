#include "platform/base/System.h"

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"

namespace {

template <typename TChar>
bool FillVersion(TOsVersionInfo<TChar>* info) {
  if (info == nullptr || info->dwOSVersionInfoSize != sizeof(TOsVersionInfo<TChar>)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  *info = {};
  info->dwOSVersionInfoSize = sizeof(TOsVersionInfo<TChar>);
  info->dwMajorVersion = 6;
  info->dwMinorVersion = 1;
  info->dwBuildNumber = 7601;
  info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  return true;
}

WideString ReadCommandLine() {
  std::ifstream file("/proc/self/cmdline", std::ios::binary);
  const std::string all{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  WideString line;
  size_t start = 0;
  while (start < all.size()) {
    size_t end = all.find('\0', start);
    if (end == std::string::npos) end = all.size();
    const WideString argument = FileSystemNameToWide(std::string_view(all).substr(start, end - start));
    bool quote = argument.empty();
    for (WideChar c : argument) quote = quote || c <= u' ';
    if (!line.empty()) line += u' ';
    line += quote ? u"\"" + argument + u"\"" : argument;
    start = end + 1;
  }
  return line;
}

}  // namespace

bool GetVersionExW(OSVERSIONINFOW* info) { return FillVersion(info); }

bool GetVersionExA(OSVERSIONINFOA* info) { return FillVersion(info); }

const WideChar* GetCommandLineW() {
  static const WideString line = ReadCommandLine();
  return line.c_str();
}

void Sleep(uint32_t milliseconds) {
  if (milliseconds == 0)
    std::this_thread::yield();
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
