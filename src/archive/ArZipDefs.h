// The byte layout of zip records (PKWARE's application note): local file header,
// central directory file header, end of central directory record.
//
// All integers are little-endian, read byte by byte with LoadLE16/LoadLE32. Each
// record's fixed part is followed by its variable fields (name, extra field, comment) in
// the order given. No zip64 record or extra field is interpreted.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/base/LittleEndian.h"

inline constexpr uint32_t ZipLocalSignature = 0x04034B50;       // "PK\3\4"
inline constexpr uint32_t ZipCentralSignature = 0x02014B50;     // "PK\1\2"
inline constexpr uint32_t ZipEndSignature = 0x06054B50;         // "PK\5\6"
inline constexpr uint32_t ZipSpannedMarker = 0x08074B50;        // first volume of a spanned set
inline constexpr uint32_t ZipOneVolumeSpanMarker = 0x30304B50;  // a spanned set that fitted on one volume
inline constexpr uint16_t ZipFileMagic = 0x4B50;                // "PK"
inline constexpr uint16_t ExecutableMagic = 0x5A4D;             // "MZ"

// General purpose bits the reader looks at.
inline constexpr uint16_t ZipFlagEncrypted = 0x0001;
inline constexpr uint16_t ZipFlagImplode8K = 0x0002;       // imploded: 8 KB dictionary
inline constexpr uint16_t ZipFlagImplode3Trees = 0x0004;   // imploded: literal tree present
inline constexpr uint16_t ZipFlagDataDescriptor = 0x0008;  // sizes and CRC follow the data

// Compression methods (the headers' method field) this reader knows.
inline constexpr uint16_t ZipMethodStored = 0;
inline constexpr uint16_t ZipMethodShrunk = 1;    // LZW with partial clearing
inline constexpr uint16_t ZipMethodReduced1 = 2;  // reduced with compression factor 1
inline constexpr uint16_t ZipMethodReduced2 = 3;
inline constexpr uint16_t ZipMethodReduced3 = 4;
inline constexpr uint16_t ZipMethodReduced4 = 5;
inline constexpr uint16_t ZipMethodImploded = 6;
inline constexpr uint16_t ZipMethodDeflated = 8;
inline constexpr uint16_t ZipMethodDeflate64 = 9;  // deflate with a 64 KB window

// --- Local file header (30 bytes, then name and extra field) -------------------------
inline constexpr size_t ZipLocalBytes = 30;
inline constexpr size_t ZipLocSignature = 0;      // u32 0x04034B50
inline constexpr size_t ZipLocVersionNeeded = 4;  // u16
inline constexpr size_t ZipLocFlags = 6;          // u16 general purpose bits
inline constexpr size_t ZipLocMethod = 8;         // u16 compression method
inline constexpr size_t ZipLocTime = 10;          // u16 DOS time
inline constexpr size_t ZipLocDate = 12;          // u16 DOS date
inline constexpr size_t ZipLocCrc = 14;           // u32 CRC-32 of the plain data
inline constexpr size_t ZipLocCompressed = 18;    // u32 compressed size
inline constexpr size_t ZipLocUncompressed = 22;  // u32 uncompressed size
inline constexpr size_t ZipLocNameBytes = 26;     // u16 name length
inline constexpr size_t ZipLocExtraBytes = 28;    // u16 extra field length

// --- Central directory file header (46 bytes, then name, extra field, comment) -------
inline constexpr size_t ZipCentralBytes = 46;
inline constexpr size_t ZipCenSignature = 0;       // u32 0x02014B50
inline constexpr size_t ZipCenVersionMadeBy = 4;   // u16 high byte host (0 = MS-DOS), low byte version
inline constexpr size_t ZipCenVersionNeeded = 6;   // u16
inline constexpr size_t ZipCenFlags = 8;           // u16
inline constexpr size_t ZipCenMethod = 10;         // u16
inline constexpr size_t ZipCenTime = 12;           // u16
inline constexpr size_t ZipCenDate = 14;           // u16
inline constexpr size_t ZipCenCrc = 16;            // u32
inline constexpr size_t ZipCenCompressed = 20;     // u32
inline constexpr size_t ZipCenUncompressed = 24;   // u32
inline constexpr size_t ZipCenNameBytes = 28;      // u16
inline constexpr size_t ZipCenExtraBytes = 30;     // u16
inline constexpr size_t ZipCenCommentBytes = 32;   // u16
inline constexpr size_t ZipCenDiskStart = 34;      // u16 volume of the local header
inline constexpr size_t ZipCenInternalAttrs = 36;  // u16
inline constexpr size_t ZipCenExternalAttrs = 38;  // u32
inline constexpr size_t ZipCenLocalOffset = 42;    // u32 local header offset within its volume

// --- End of central directory record (22 bytes, then comment) ------------------------
inline constexpr size_t ZipEndBytes = 22;
inline constexpr size_t ZipEndSignatureAt = 0;       // u32 0x06054B50
inline constexpr size_t ZipEndDisk = 4;              // u16 number of this volume
inline constexpr size_t ZipEndDirectoryDisk = 6;     // u16 volume where the directory starts
inline constexpr size_t ZipEndEntriesHere = 8;       // u16 directory entries on this volume
inline constexpr size_t ZipEndEntriesTotal = 10;     // u16 directory entries in all
inline constexpr size_t ZipEndDirectoryBytes = 12;   // u32 directory size
inline constexpr size_t ZipEndDirectoryOffset = 16;  // u32 directory start on its volume
inline constexpr size_t ZipEndCommentBytes = 20;     // u16 archive comment length

namespace ZipLayoutCheck {
struct Field {
  size_t Offset, Bytes;
};
// Fields in record order, ending with the record's size: each starts where the one
// before ends.
constexpr bool Contiguous(std::span<const Field> fields) {
  for (size_t i = 1; i < fields.size(); ++i)
    if (fields[i - 1].Offset + fields[i - 1].Bytes != fields[i].Offset) return false;
  return true;
}
inline constexpr std::array<Field, 12> Local{{{ZipLocSignature, 4},
                                              {ZipLocVersionNeeded, 2},
                                              {ZipLocFlags, 2},
                                              {ZipLocMethod, 2},
                                              {ZipLocTime, 2},
                                              {ZipLocDate, 2},
                                              {ZipLocCrc, 4},
                                              {ZipLocCompressed, 4},
                                              {ZipLocUncompressed, 4},
                                              {ZipLocNameBytes, 2},
                                              {ZipLocExtraBytes, 2},
                                              {ZipLocalBytes, 0}}};
inline constexpr std::array<Field, 18> Central{{{ZipCenSignature, 4},
                                                {ZipCenVersionMadeBy, 2},
                                                {ZipCenVersionNeeded, 2},
                                                {ZipCenFlags, 2},
                                                {ZipCenMethod, 2},
                                                {ZipCenTime, 2},
                                                {ZipCenDate, 2},
                                                {ZipCenCrc, 4},
                                                {ZipCenCompressed, 4},
                                                {ZipCenUncompressed, 4},
                                                {ZipCenNameBytes, 2},
                                                {ZipCenExtraBytes, 2},
                                                {ZipCenCommentBytes, 2},
                                                {ZipCenDiskStart, 2},
                                                {ZipCenInternalAttrs, 2},
                                                {ZipCenExternalAttrs, 4},
                                                {ZipCenLocalOffset, 4},
                                                {ZipCentralBytes, 0}}};
inline constexpr std::array<Field, 9> End{{{ZipEndSignatureAt, 4},
                                           {ZipEndDisk, 2},
                                           {ZipEndDirectoryDisk, 2},
                                           {ZipEndEntriesHere, 2},
                                           {ZipEndEntriesTotal, 2},
                                           {ZipEndDirectoryBytes, 4},
                                           {ZipEndDirectoryOffset, 4},
                                           {ZipEndCommentBytes, 2},
                                           {ZipEndBytes, 0}}};
}  // namespace ZipLayoutCheck
static_assert(ZipLayoutCheck::Contiguous(ZipLayoutCheck::Local), "local header fields add up to 30 bytes");
static_assert(ZipLayoutCheck::Contiguous(ZipLayoutCheck::Central), "central header fields add up to 46 bytes");
static_assert(ZipLayoutCheck::Contiguous(ZipLayoutCheck::End), "end record fields add up to 22 bytes");
