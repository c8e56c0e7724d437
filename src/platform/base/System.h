// The operating system's identity, the process's command line and waiting.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

constexpr uint32_t VER_PLATFORM_WIN32_NT = 2;

// What GetVersionEx reports: the NT platform, version 6.1 build 7601, so every check
// for an NT-class, XP-or-later or Vista-or-later system holds.
template <typename TChar>
struct TOsVersionInfo {
  uint32_t dwOSVersionInfoSize;  // set by the caller to sizeof the record
  uint32_t dwMajorVersion;
  uint32_t dwMinorVersion;
  uint32_t dwBuildNumber;
  uint32_t dwPlatformId;
  TChar szCSDVersion[128];
};
using OSVERSIONINFOW = TOsVersionInfo<WideChar>;
using OSVERSIONINFOA = TOsVersionInfo<char>;

// Both fail with ERROR_INVALID_PARAMETER (false) when dwOSVersionInfoSize is not the
// record's size.
bool GetVersionExW(OSVERSIONINFOW* info);
bool GetVersionExA(OSVERSIONINFOA* info);

// The process's command line as one text: the arguments of /proc/self/cmdline, the
// program first, separated by spaces; an argument that is empty or holds a character at
// or below U+0020 is put in double quotes (a double quote inside an argument cannot be
// written so that the command-line tokenizer gives it back). Arguments are decoded as
// file names are (bytes that are not UTF-8 become U+DC80..U+DCFF). Valid for the whole run.
const WideChar* GetCommandLineW();

// Waits `milliseconds`; 0 gives up the rest of the time slice.
void Sleep(uint32_t milliseconds);
