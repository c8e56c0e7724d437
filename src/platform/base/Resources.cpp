#include "platform/base/Resources.h"

#include <sys/stat.h>
#include <algorithm>
#include <cerrno>
#include <mutex>
#include <vector>

#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"
#include "platform/base/LittleEndian.h"
#include "platform/base/UnicodeCase.h"

namespace {

struct TRegistry {
  std::mutex Lock;
  std::vector<std::span<const TResourceEntry>> Tables;
};

TRegistry& Registry() {
  static TRegistry registry;
  return registry;
}

bool Matches(uint16_t ordinal, const char16_t* name, const TResName& wanted) {
  return wanted.IsOrdinal() ? name == nullptr && ordinal == wanted.Ordinal() : name != nullptr && wanted.Name() == name;
}

// The program's file status, to know a file name that names it.
bool IsProgramFile(const std::string& path, bool& readable) {
  struct stat file {
  }, program{};
  readable = stat(path.c_str(), &file) == 0;
  if (!readable) SetLastErrorForPath(errno, path);
  return readable && stat("/proc/self/exe", &program) == 0 && file.st_dev == program.st_dev &&
         file.st_ino == program.st_ino;
}

// The version resource of the file (a wide or an 8-bit name), or empty with the last
// error set.
template <typename Char>
std::span<const uint8_t> VersionOf(const Char* fileName) {
  std::string path;
  bool readable = false;
  if (!NameBytes(fileName, path)) return {};
  if (!IsProgramFile(path, readable)) {
    if (readable) SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return {};
  }
  return ResourceBytes(VS_VERSION_INFO, RT_VERSION);
}

}  // namespace

TResName::TResName(const WideChar* name) {
  if (IS_INTRESOURCE(name)) {
    FOrdinal = static_cast<uint16_t>(reinterpret_cast<uintptr_t>(name));
    return;
  }
  *this = TResName(WideStringView(name));
}

TResName::TResName(WideStringView name) {
  // "#123" is the ordinal 123, as Windows reads it.
  if (name.size() > 1 && name[0] == u'#' &&
      std::all_of(name.begin() + 1, name.end(), [](WideChar c) { return c >= u'0' && c <= u'9'; })) {
    uint32_t value = 0;
    for (WideChar c : name.substr(1)) value = std::min<uint32_t>(value * 10 + (c - u'0'), 0x10000);
    if (value <= 0xFFFF) {
      FOrdinal = static_cast<uint16_t>(value);
      return;
    }
  }
  FName.reserve(name.size());
  for (WideChar c : name) FName += SimpleUpperCase(c);
  if (FName.empty()) FName.assign(1, u'\0');  // an empty text names no resource, and is no ordinal
}

void RegisterResourceTable(std::span<const TResourceEntry> entries) {
  TRegistry& registry = Registry();
  const std::lock_guard<std::mutex> guard(registry.Lock);
  registry.Tables.push_back(entries);
}

HRSRC FindResourceW(HMODULE, TResName name, TResName type) {
  TRegistry& registry = Registry();
  const std::lock_guard<std::mutex> guard(registry.Lock);
  bool typeFound = false;
  for (const auto& table : registry.Tables)
    for (const TResourceEntry& entry : table) {
      if (!Matches(entry.TypeOrdinal, entry.TypeName, type)) continue;
      typeFound = true;
      if (Matches(entry.NameOrdinal, entry.Name, name)) return &entry;
    }
  SetLastError(typeFound ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
  return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
  if (resource == nullptr) SetLastError(ERROR_INVALID_HANDLE);
  return resource != nullptr ? resource->Data : nullptr;
}

const void* LockResource(HGLOBAL data) { return data; }

uint32_t SizeofResource(HMODULE, HRSRC resource) { return resource != nullptr ? resource->Size : 0; }

std::span<const uint8_t> ResourceBytes(TResName name, TResName type) {
  const HRSRC resource = FindResourceW(HInstance, std::move(name), std::move(type));
  if (resource == nullptr) return {};
  return {resource->Data, resource->Size};
}

int32_t LoadStringW(HMODULE, uint32_t id, WideChar* buffer, int32_t size) {
  const std::span<const uint8_t> block = ResourceBytes(static_cast<uint16_t>(((id >> 4) & 0xFFF) + 1), RT_STRING);
  if (block.empty()) return 0;
  size_t at = 0;
  for (uint32_t skip = id & 15; skip > 0 && at + 2 <= block.size(); --skip) at += 2 + 2 * size_t{LoadLE16(&block[at])};
  uint32_t length = 0;
  if (at + 2 <= block.size()) {
    length = LoadLE16(&block[at]);
    at += 2;
  }
  // A block cut short (never generated so) yields what it holds.
  length = static_cast<uint32_t>(std::min<size_t>(length, (block.size() - std::min(at, block.size())) / 2));
  SetLastError(ERROR_SUCCESS);
  if (buffer == nullptr || size <= 0) return static_cast<int32_t>(length);
  const uint32_t copied = std::min(length, static_cast<uint32_t>(size - 1));
  for (uint32_t i = 0; i < copied; ++i) buffer[i] = static_cast<WideChar>(LoadLE16(&block[at + 2 * i]));
  buffer[copied] = 0;
  return static_cast<int32_t>(copied);
}

namespace {

template <typename Char>
uint32_t VersionInfoSize(const Char* fileName, uint32_t* handle) {
  if (handle != nullptr) *handle = 0;
  return static_cast<uint32_t>(VersionOf(fileName).size());
}

template <typename Char>
bool CopyVersionInfo(const Char* fileName, uint32_t length, void* data) {
  const std::span<const uint8_t> version = VersionOf(fileName);
  if (version.empty()) return false;
  if (data == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  std::copy_n(version.begin(), std::min<size_t>(length, version.size()), static_cast<uint8_t*>(data));
  return true;
}

}  // namespace

uint32_t GetFileVersionInfoSizeW(const WideChar* fileName, uint32_t* handle) {
  return VersionInfoSize(fileName, handle);
}

uint32_t GetFileVersionInfoSizeA(const char* fileName, uint32_t* handle) { return VersionInfoSize(fileName, handle); }

bool GetFileVersionInfoW(const WideChar* fileName, uint32_t, uint32_t length, void* data) {
  return CopyVersionInfo(fileName, length, data);
}

bool GetFileVersionInfoA(const char* fileName, uint32_t, uint32_t length, void* data) {
  return CopyVersionInfo(fileName, length, data);
}

bool VerQueryValueW(const void* block, const WideChar* subBlock, void** buffer, uint32_t* length) {
  if (block == nullptr || subBlock == nullptr || buffer == nullptr || length == nullptr ||
      WideStringView(subBlock) != u"\\") {
    return false;
  }
  // VS_VERSIONINFO: wLength, wValueLength, wType, then the key "VS_VERSION_INFO" and its
  // terminator, padded to 32 bits; the value follows.
  const auto* bytes = static_cast<const uint8_t*>(block);
  const uint16_t totalBytes = LoadLE16(bytes);
  const uint16_t valueBytes = LoadLE16(bytes + 2);
  size_t at = 6;
  while (at + 2 <= totalBytes && LoadLE16(bytes + at) != 0) at += 2;
  at = (at + 2 + 3) & ~size_t{3};
  if (valueBytes < VsFixedFileInfoBytes || at + valueBytes > totalBytes) return false;
  *buffer = const_cast<uint8_t*>(bytes + at);  // the caller's block, handed back as Windows does
  *length = valueBytes;
  return true;
}

bool VerQueryValueA(const void* block, const char* subBlock, void** buffer, uint32_t* length) {
  if (subBlock == nullptr || std::string_view(subBlock) != "\\") return false;
  return VerQueryValueW(block, u"\\", buffer, length);
}
