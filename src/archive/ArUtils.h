// Shared routines of the archive library: CRC-32, the percentage rule of every progress
// report, and the path handling of extraction.
//
// Paths use "/" as separator and a full path starts with "/"; ":" and "\" are ordinary
// characters of a name.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/base/FileSystem.h"
#include "platform/base/Streams.h"
#include "platform/base/Types.h"

// The reflected CRC-32 of ISO 3309 (polynomial 0xEDB88320), as zip uses it.
inline constexpr std::array<uint32_t, 256> ArCrc32Table = [] {
  std::array<uint32_t, 256> table{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}();
static_assert(ArCrc32Table[1] == 0x77073096 && ArCrc32Table[255] == 0x2D02EF8D);

// One step of the CRC register; callers apply the initial and final inversion.
constexpr uint32_t Crc32Byte(uint32_t crcRegister, uint8_t b) {
  return ArCrc32Table[(crcRegister ^ b) & 0xFF] ^ (crcRegister >> 8);
}
uint32_t UpdateCrc32(uint32_t crcRegister, std::span<const uint8_t> bytes);

// 0 to 100: part of total, both first reduced as (value + 128) >> 8 when total is above
// 16384000; 0 for a total of 0 or less, 100 once part reaches total.
int32_t Percentage(int64_t part, int64_t total);

// Writes count zero bytes (none for count 0 or less).
void WriteZeros(TStream& stream, int64_t count);

// 0 a bare name, 1 a relative path (contains "/"), 2 a full path (starts with "/").
int32_t PathKind(AnsiStringView path);
// The path with "/" appended unless it is empty or ends in "/".
AnsiString AddBackslash(AnsiStringView path);
// The length of the part before the n-th "/" (1-based), or the path's length when it
// has fewer.
int32_t FindNthSlash(AnsiStringView path, int32_t n);
// Every leading "../" removed.
void RemoveLeadingDotDots(AnsiString& path);
// Whether the path is an existing directory; false for paths holding "*" or "?".
bool DirectoryExists(const AnsiString& path);
// Creates every missing directory of the path; false when one cannot be made.
bool CreateDirectoryPath(const AnsiString& path);

// Unix time (seconds since 1970-01-01 UTC) as local DOS date (high 16 bits) and time
// (low 16 bits); 0 when the local time lies outside the DOS range (1980-2107).
uint32_t UnixTimeToLocalDosDateTime(int64_t seconds);
// Sets the last-write time of a file (by its file-system name) from a local DOS date and
// time; 0, or the platform's error code.
uint32_t SetFileDate(const std::string& fileSystemName, uint16_t dosDate, uint16_t dosTime);

// A name for a temporary file with the prefix "VMS" in directory when it exists, else in
// the system's temporary folder. With create a free name is picked and the empty file
// made; without it the number 1 is used and nothing is created. Empty on failure.
AnsiString TempFileName(const AnsiString& directory, bool create);

// Read-only gives 0444 (r--r--r--), anything else 0744 (rwxr--r--).
uint32_t UnixModeFromAttributes(uint32_t attributes);
// The file type of a POSIX mode as attributes (a directory, nothing for a regular file,
// system for the other types), read-only when the owner's write bit is clear.
uint32_t AttributesFromUnixMode(uint32_t mode);
// Wildcard match of text from textPosition against pattern from patternPosition
// (0-based): "*" or "*.*" at the pattern's start match everything, "?" one character,
// "*" any run; other characters themselves (callers upper-case both sides).
bool PatternMatch(AnsiStringView text, size_t textPosition, AnsiStringView pattern, size_t patternPosition);

// --- Used by the writing road -----------------------------------------------------

// The full path of a name (relative names below the current folder), or the name itself
// when it cannot be expanded.
AnsiString ExpandPath(const AnsiString& path);
// Splits a path at its last "/": directory is what comes before it ("/" for a name in
// the root, empty without a "/"), name what follows.
void SplitPath(AnsiStringView path, AnsiString& directory, AnsiString& name);
// The path with every folder and the file as the file system finds them. The platform
// keeps no short aliases, so this is the path itself once every part is found: a
// missing folder raises EArException "Path not found", a missing file EArFileNotFound.
AnsiString ShortPath(const AnsiString& path);
// Appends to list every file (not folder) of the mask's folder whose upper-cased name
// matches the mask's upper-cased last part (PatternMatch), as folder + "/" + name; with
// recurse the same in every subfolder, depth first.
void FindFiles(const AnsiString& mask, std::vector<AnsiString>& list, bool recurse);

// Seconds since 1970-01-01 00:00:00 and the date-time scale (days since 1899-12-30):
// whole days and the time of day, no time zone involved. Dates before 1970 give 0.
double UnixTimeToDateTime(int64_t seconds);
int64_t DateTimeToUnixTime(double dateTime);
// Now in local time, in seconds since 1970-01-01 00:00:00 local.
int64_t LocalUnixTimeNow();
// The last-write time of an open file as local DOS date (high 16 bits) and time (low 16
// bits); raises the platform's last error when it cannot be read or has no DOS form.
uint32_t FileLocalDosDateTime(THandle handle);
