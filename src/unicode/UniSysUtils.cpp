#include "unicode/UniSysUtils.h"

#include <algorithm>

#include "platform/base/LastError.h"
#include "platform/base/System.h"
#include "unicode/UniFormatStrUtils.h"
#include "unicode/UniSystem.h"

// ---- Exceptions ----------------------------------------------------------------------

void WideRaiseLastOSError() {
  const uint32_t code = GetLastError();
  if (code != 0) throw EWideOSError(WideSysErrorMessage(code), code);
  throw EWideOSError(DefaultAnsiToWide(SUnkOSError), 0);
}

int32_t CheckWin32Result(int32_t result) {
  if (result == 0) RaiseLastOSError();
  return result;
}

const void* CheckWin32Result(const void* result) {
  if (result == nullptr) RaiseLastOSError();
  return result;
}

// ---- Formatting ------------------------------------------------------------------------

WideString WideFormat(const WideString& format, std::span<const TVarRec> args, const TFormatSettings* settings) {
  const WideString canonical = GetCanonicalFormatStr(format, args, settings);
  return settings != nullptr ? Format(canonical, args, *settings) : Format(canonical, args);
}

uint32_t WideFormatBuf(WideChar* buffer, uint32_t capacity, const WideString& format, std::span<const TVarRec> args,
                       const TFormatSettings* settings) {
  const WideString text = WideFormat(format, args, settings);
  const auto count = static_cast<uint32_t>(std::min<size_t>(text.size(), capacity));
  std::copy_n(text.data(), count, buffer);
  return count;
}

// ---- Platform flags --------------------------------------------------------------------

namespace {

struct TPlatformVersion {
  uint32_t PlatformId;
  uint32_t Major;
  uint32_t Minor;
};

TPlatformVersion SystemVersion() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  GetVersionExW(&info);  // cannot fail: the record's size is right
  return TPlatformVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

TPlatformVersion& Platform() {
  static TPlatformVersion platform = SystemVersion();
  return platform;
}

}  // namespace

bool PlatformIsUnicode() { return Platform().PlatformId == 2; }

bool PlatformIsXP() {
  const auto& p = Platform();
  return (p.Major == 5 && p.Minor > 0) || p.Major > 5;
}

bool PlatformIs2003() {
  const auto& p = Platform();
  return (p.Major == 5 && p.Minor > 1) || p.Major > 5;
}

bool PlatformIsVista() { return Platform().Major > 5; }

void SetPlatformVersion(uint32_t platformId, uint32_t major, uint32_t minor) {
  Platform() = TPlatformVersion{platformId, major, minor};
}
