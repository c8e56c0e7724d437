// The byte layout of a cabinet's directory: the fixed header, its optional parts, the
// folder records and the file records. All numbers are little-endian.
#pragma once

#include <array>
#include <cstdint>

namespace CabLayout {

struct Field {
  uint32_t Offset;
  uint32_t Width;
};

// The fixed header at the cabinet's start.
inline constexpr Field Signature{0, 4};  // "MSCF"
inline constexpr Field Reserved1{4, 4};
inline constexpr Field CabinetBytes{8, 4};  // the whole cabinet file
inline constexpr Field Reserved2{12, 4};
inline constexpr Field FilesOffset{16, 4};  // the first file record
inline constexpr Field Reserved3{20, 4};
inline constexpr Field VersionMinor{24, 1};
inline constexpr Field VersionMajor{25, 1};
inline constexpr Field FolderCount{26, 2};
inline constexpr Field FileCount{28, 2};
inline constexpr Field Flags{30, 2};
inline constexpr Field SetId{32, 2};
inline constexpr Field CabinetIndex{34, 2};  // the cabinet's number in its set, from 0
inline constexpr uint32_t HeaderBytes = 36;
inline constexpr std::array<Field, 13> HeaderLayout{Signature, Reserved1,    CabinetBytes, Reserved2,   FilesOffset,
                                                    Reserved3, VersionMinor, VersionMajor, FolderCount, FileCount,
                                                    Flags,     SetId,        CabinetIndex};

// Header flags and what follows the fixed header when they are set, in this order.
inline constexpr uint16_t FlagPrevious = 0x0001;  // previous cabinet's and disk's names
inline constexpr uint16_t FlagNext = 0x0002;      // next cabinet's and disk's names
inline constexpr uint16_t FlagReserve = 0x0004;   // reserve sizes and the header's reserve
// With FlagReserve: header reserve bytes (16-bit), then per-folder and per-data-block
// reserve bytes (8-bit each).
inline constexpr uint32_t ReserveSizesBytes = 4;
inline constexpr uint32_t MaxHeaderReserveBytes = 60000;

// A folder record (8 bytes, then the per-folder reserve).
inline constexpr Field FolderDataOffset{0, 4};  // its first data block
inline constexpr Field FolderBlockCount{4, 2};
inline constexpr Field FolderCompression{6, 2};
inline constexpr uint32_t FolderBytes = 8;
inline constexpr std::array<Field, 3> FolderLayout{FolderDataOffset, FolderBlockCount, FolderCompression};

// A file record (16 bytes, then the zero-terminated name).
inline constexpr Field FileSize{0, 4};
inline constexpr Field FileFolderOffset{4, 4};  // where the file starts in its folder's data
inline constexpr Field FileFolder{8, 2};        // folder index, or one of the three below
inline constexpr Field FileDate{10, 2};
inline constexpr Field FileTime{12, 2};
inline constexpr Field FileAttributes{14, 2};
inline constexpr uint32_t FileBytes = 16;
inline constexpr std::array<Field, 6> FileLayout{FileSize, FileFolderOffset, FileFolder,
                                                 FileDate, FileTime,         FileAttributes};

// Folder indexes of files that a cabinet set splits.
inline constexpr uint16_t ContinuedFromPrevious = 0xFFFD;
inline constexpr uint16_t ContinuedToNext = 0xFFFE;
inline constexpr uint16_t ContinuedBoth = 0xFFFF;

// The longest name of a file or cabinet, terminator excluded.
inline constexpr uint32_t MaxNameBytes = 255;

template <size_t N>
constexpr bool Contiguous(const std::array<Field, N>& layout, uint32_t total) {
  uint32_t at = 0;
  for (const Field& f : layout) {
    if (f.Offset != at) return false;
    at += f.Width;
  }
  return at == total;
}
static_assert(Contiguous(HeaderLayout, HeaderBytes));
static_assert(Contiguous(FolderLayout, FolderBytes));
static_assert(Contiguous(FileLayout, FileBytes));

}  // namespace CabLayout
