// The layout of the control that hosts a document, stored with native-format documents
// (the layout record) and carried by drag and drop: margins, text widths, direction, and
// for a dragged selection whether its first and last paragraphs were cut and which list
// marker heads the first one.
//
// The layout block, little-endian, every field written byte by byte:
//
//   offset size  field
//        0    4  0, reserved (ignored on reading)
//        4    4  length of what follows: 25, or 41 with the extension
//        8    4  left margin          12  4  right margin
//       16    4  top margin           20  4  bottom margin
//       24    4  minimal text width   28  4  maximal text width
//       32    1  BiDi mode
//       33    4  first-paragraph-cut flag (extension)
//       37    4  last-paragraph-cut flag (extension)
//       41    4  list number of the first paragraph's marker (extension)
//       45    4  level of that marker (extension)
//
// The extension is written when either cut flag is set. In the binary form of the native
// format the block is preceded by its own 4-byte total size (length + 8).
#pragma once

#include <cstdint>

#include "platform/base/Streams.h"
#include "platform/base/Types.h"
#include "richtext/model/RPStyleSheetQueries.h"

namespace RPLayoutBlock {
inline constexpr int32_t ReservedOffset = 0;
inline constexpr int32_t LengthOffset = 4;
inline constexpr int32_t HeadBytes = 8;  // what the length does not count
inline constexpr int32_t LeftMarginOffset = 8;
inline constexpr int32_t RightMarginOffset = 12;
inline constexpr int32_t TopMarginOffset = 16;
inline constexpr int32_t BottomMarginOffset = 20;
inline constexpr int32_t MinTextWidthOffset = 24;
inline constexpr int32_t MaxTextWidthOffset = 28;
inline constexpr int32_t BiDiModeOffset = 32;
inline constexpr int32_t FirstParaCutOffset = 33;
inline constexpr int32_t LastParaCutOffset = 37;
inline constexpr int32_t MarkerListNoOffset = 41;
inline constexpr int32_t MarkerLevelOffset = 45;
inline constexpr int32_t BaseLength = 25;       // margins, widths, BiDi mode
inline constexpr int32_t ExtensionLength = 16;  // cut flags and the marker
inline constexpr int32_t ExtendedLength = BaseLength + ExtensionLength;
static_assert(HeadBytes == LengthOffset + 4 && LeftMarginOffset == HeadBytes);
static_assert(BiDiModeOffset == MaxTextWidthOffset + 4 && FirstParaCutOffset == BiDiModeOffset + 1);
static_assert(HeadBytes + BaseLength == FirstParaCutOffset);
static_assert(HeadBytes + ExtendedLength == MarkerLevelOffset + 4);
}  // namespace RPLayoutBlock

class TRPLayoutInfo {
public:
  // Set when the object was filled from a block.
  bool Loaded = false;
  int32_t LeftMargin = 0;
  int32_t RightMargin = 0;
  int32_t TopMargin = 0;
  int32_t BottomMargin = 0;
  int32_t MinTextWidth = 0;
  int32_t MaxTextWidth = 0;
  TRPBiDiMode BiDiMode = rpbdUnspecified;
  bool LastParaCut = false;
  bool FirstParaCut = false;
  // The list marker that heads the first (cut) paragraph: its list number (-1: none) and
  // its level.
  int32_t FirstMarkerListNo = -1;
  int32_t FirstMarkerLevel = 0;

  // The block (33 or 49 bytes); with withSize the 4-byte total size first.
  void SaveToStream(TStream& stream, bool withSize) const;
  // The block without size as one line of hexadecimal digits (no line end).
  AnsiString SaveToHexLine() const;

  // Reads a block (with withSize: its total size first) at the stream's position and
  // leaves the stream after it. Raises ERichPaneError "Invalid RPF format" for a length
  // below 25; EReadError "Stream read error" when a size or length passes the end of the
  // stream, before anything is read for it. The extension is read when at least 16 more
  // bytes are announced; what else the length announces is passed over.
  void LoadFromStream(TStream& stream, bool withSize);
  // The block without size from the hexadecimal digits of a record line / from the bytes
  // of a binary block; false for digits that are no hexadecimal text (nothing changes).
  // Raise as LoadFromStream for a block that is cut short or too short.
  bool LoadFromHexText(AnsiStringView hex);
  void LoadFromBinaryString(AnsiStringView bytes);

private:
  AnsiString BlockBytes() const;
};

inline constexpr char errRPInvalidRPFFormat[] = "Invalid RPF format";
