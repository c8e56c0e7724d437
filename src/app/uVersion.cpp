#include "app/uVersion.h"

#include <cstdint>
#include <vector>

#include "platform/base/Resources.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniWindows.h"

bool GetFileVersion(const WideString& fileName, WideString& shortVersion, WideString& longVersion) {
  shortVersion.clear();
  longVersion.clear();
  uint32_t handle = 0;
  const uint32_t size = WideGetFileVersionInfoSize(fileName.c_str(), &handle);
  if (size == 0) return false;
  std::vector<uint8_t> block(size);
  if (!WideGetFileVersionInfo(fileName.c_str(), handle, size, block.data())) return false;
  void* fixed = nullptr;
  uint32_t fixedBytes = 0;
  if (!WideVerQueryValue(block.data(), u"\\", &fixed, &fixedBytes) || fixed == nullptr ||
      fixedBytes < VsFixedFileInfoBytes)
    return false;
  const auto& info = *static_cast<const VS_FIXEDFILEINFO*>(fixed);
  const int32_t major = static_cast<int32_t>(info.dwFileVersionMS >> 16);
  const int32_t minor = static_cast<int32_t>(info.dwFileVersionMS & 0xFFFF);
  const int32_t release = static_cast<int32_t>(info.dwFileVersionLS >> 16);
  shortVersion = WideFormat(u"%d.%d", {major, minor});
  longVersion = WideFormat(u"%d.%d.%2.2d", {major, minor, release});
  return true;
}

WideString VersionCaption(const WideString& fileName) {
  WideString shortVersion, longVersion;
  if (!GetFileVersion(fileName, shortVersion, longVersion)) longVersion = u"?";
  return WideFormat(u"Quirefold Batch v.%s", {longVersion});
}
