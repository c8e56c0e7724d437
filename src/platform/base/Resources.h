// Resources embedded into the program at build time (cmake/QfResources.cmake) and looked
// up by type and name, in the layouts Windows gives them.
//
// A type or a name is an ordinal (16-bit) or a text; texts compare without regard to case
// and "#123" stands for the ordinal 123. A string table is stored in blocks of 16
// entries: block ordinal (id shr 4) + 1 holds the ids with the same id shr 4, entry
// (id and 15) of it is a 16-bit length followed by that many UTF-16 units, little-endian.
// A version resource (ordinal 1) is a VS_VERSIONINFO block holding a VS_FIXEDFILEINFO.
//
// Each generated table registers itself through a function-local registry while the
// program starts, so the resources are found from the start of main() on (not from the
// constructors of other static objects). This layer has one module: every module handle
// names the program.
#pragma once

#include <bit>
#include <cstdint>
#include <span>

#include "platform/base/Module.h"
#include "platform/base/Types.h"

constexpr uint16_t RT_CURSOR = 1;
constexpr uint16_t RT_BITMAP = 2;
constexpr uint16_t RT_STRING = 6;
constexpr uint16_t RT_RCDATA = 10;
constexpr uint16_t RT_VERSION = 16;
constexpr uint16_t VS_VERSION_INFO = 1;

// A resource type or name as the Windows calls take it: an ordinal, or a text.
class TResName {
public:
  TResName(uint16_t ordinal) : FOrdinal(ordinal) {}  // NOLINT: ordinals convert, as in the Windows calls
  // A pointer whose value is below 0x10000 carries an ordinal (MAKEINTRESOURCEW).
  TResName(const WideChar* name);  // NOLINT
  TResName(WideStringView name);   // NOLINT

  bool IsOrdinal() const { return FName.empty(); }
  uint16_t Ordinal() const { return FOrdinal; }
  // The text, upper-cased; empty for an ordinal.
  const WideString& Name() const { return FName; }

private:
  uint16_t FOrdinal = 0;
  WideString FName;
};

// A pointer that carries an ordinal, for the calls that take names as pointers.
inline const WideChar* MAKEINTRESOURCEW(uint16_t ordinal) {
  return reinterpret_cast<const WideChar*>(static_cast<uintptr_t>(ordinal));
}
inline bool IS_INTRESOURCE(const void* name) { return (reinterpret_cast<uintptr_t>(name) >> 16) == 0; }

// One embedded resource; a null TypeName / Name means the ordinal is used. Names are
// stored upper-cased.
struct TResourceEntry {
  uint16_t TypeOrdinal;
  const char16_t* TypeName;
  uint16_t NameOrdinal;
  const char16_t* Name;
  const uint8_t* Data;
  uint32_t Size;
};

// Adds a generated table; the entries must live as long as the program.
void RegisterResourceTable(std::span<const TResourceEntry> entries);

using HRSRC = const TResourceEntry*;
using HGLOBAL = const void*;

// The resource, or nullptr with ERROR_RESOURCE_TYPE_NOT_FOUND (no resource of that type)
// or ERROR_RESOURCE_NAME_NOT_FOUND.
HRSRC FindResourceW(HMODULE module, TResName name, TResName type);
// The resource's bytes (never moved, never freed) and their count.
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
const void* LockResource(HGLOBAL data);
uint32_t SizeofResource(HMODULE module, HRSRC resource);
// Both: the bytes of a resource, empty when there is none (last error as FindResourceW).
std::span<const uint8_t> ResourceBytes(TResName name, TResName type);

// Loads the string `id` from the string tables: copies at most size - 1 units and a
// terminator and returns the units copied; with a size of 0 or no buffer returns the
// string's length. 0 with ERROR_RESOURCE_NAME_NOT_FOUND when the block is missing (a
// missing entry of a present block is an empty string).
int32_t LoadStringW(HMODULE module, uint32_t id, WideChar* buffer, int32_t size);

// VS_FIXEDFILEINFO, the fixed part of a version resource.
struct VS_FIXEDFILEINFO {
  uint32_t dwSignature;  // 0xFEEF04BD
  uint32_t dwStrucVersion;
  uint32_t dwFileVersionMS;  // major shl 16 or minor
  uint32_t dwFileVersionLS;  // release shl 16 or build
  uint32_t dwProductVersionMS;
  uint32_t dwProductVersionLS;
  uint32_t dwFileFlagsMask;
  uint32_t dwFileFlags;
  uint32_t dwFileOS;
  uint32_t dwFileType;
  uint32_t dwFileSubtype;
  uint32_t dwFileDateMS;
  uint32_t dwFileDateLS;
};
constexpr uint32_t VS_FFI_SIGNATURE = 0xFEEF04BD;
constexpr uint32_t VsFixedFileInfoBytes = 52;
// The resource holds it little-endian, which callers read in place.
static_assert(sizeof(VS_FIXEDFILEINFO) == VsFixedFileInfoBytes && std::endian::native == std::endian::little);

// The version information of a file: only the program's own file has any (its embedded
// version resource). Size 0 for other files (ERROR_RESOURCE_DATA_NOT_FOUND, or the file
// error when the file cannot be read); `handle` (may be nullptr) is set to 0. The A forms
// take 8-bit names in the ANSI code page.
uint32_t GetFileVersionInfoSizeW(const WideChar* fileName, uint32_t* handle);
uint32_t GetFileVersionInfoSizeA(const char* fileName, uint32_t* handle);
// Copies at most `length` bytes of the version information into `data`.
bool GetFileVersionInfoW(const WideChar* fileName, uint32_t handle, uint32_t length, void* data);
bool GetFileVersionInfoA(const char* fileName, uint32_t handle, uint32_t length, void* data);
// For the sub-block "\" points *buffer at the VS_FIXEDFILEINFO inside `block` and sets
// *length to its size. Other sub-blocks are not kept: false.
bool VerQueryValueW(const void* block, const WideChar* subBlock, void** buffer, uint32_t* length);
bool VerQueryValueA(const void* block, const char* subBlock, void** buffer, uint32_t* length);
