// The records of the native document format (RPF) beside the item records.
//
// A stream is a sequence of records. Each begins with a header line of blank-separated
// fields ended by CR LF:
//   1 style number: a text style (0 or more; a quoted style name with rpfoUseStyleNames),
//     an item kind (negative), or one of the record kinds below
//   2 line count: the lines (or binary blocks) after the header that belong to the record
//   3 paragraph number (-1: the item continues the previous item's paragraph; a quoted
//     style name with rpfoUseStyleNames)
//   4 item options, bits 0-3 (present from version 1.2 on)
//   5 reading mode: 0 plain lines (hexadecimal data for document records), 2 binary
//     blocks, 3 hexadecimal lines (UTF-16 text in the text form)
//   6 tag: a number, or a quoted string when tags are strings (quoted from version 1.3)
//   7 what the kind adds: a subkind (document data), style and colour (background), the
//     raise-event and persistent flags (checkpoint), an optional quoted hint (text), the
//     header extra of an item.
// The version record is the exception: "-8 1 3", version 1, subversion 3.
#pragma once

#include <cstdint>

inline constexpr int32_t rpfrkCheckpoint = -2;
inline constexpr int32_t rpfrkBackground = -7;
inline constexpr int32_t rpfrkVersion = -8;
inline constexpr int32_t rpfrkDocData = -9;

// The version this writer writes.
inline constexpr int32_t RPFVersion = 1;
inline constexpr int32_t RPFSubVersion = 3;

// Subkinds of document data (the seventh field of a -9 header).
enum TRPFDocDataKind : int32_t {
  rpfdkTextStyles = 1,
  rpfdkParaStyles = 2,
  rpfdkLayout = 3,
  rpfdkListStyles = 4,
  rpfdkDocProperties = 5,
  rpfdkMarkers = 6,
};

// The line of a -9 record that holds its data (line 0 holds a name, or nothing).
inline constexpr int32_t RPFDocDataLine = 1;

// The first byte of a collection in the component stream (vaCollection).
inline constexpr uint8_t RPFCollectionMarker = 14;
