// The state of one formatting pass, shared by every step of the line breaking.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"
#include "richtext/layout/RPFontInfoCache.h"
#include "richtext/model/RPParaInfo.h"

class TRPStyle;

// The text of the item being placed: stored, as UTF-16 units (Unicode items) and as
// displayed (PrepareDisplayText; the same length).
struct TRPItemText {
  int32_t ItemNo = -1;
  bool Unicode = false;
  int32_t Length = 0;  // characters
  AnsiStringView Raw;
  WideString Wide;  // Unicode items only
  AnsiString Display;
  // Character i (0-based) as a code unit (8-bit text zero-extended).
  WideChar At(int32_t i) const {
    return Unicode ? Wide[static_cast<size_t>(i)]
                   : static_cast<WideChar>(static_cast<uint8_t>(Raw[static_cast<size_t>(i)]));
  }
  size_t Bytes(int32_t chars) const { return static_cast<size_t>(chars) * (Unicode ? 2u : 1u); }
};

/* Line breaking walks the items once, in document order, with no recursion; all that
   it knows lives here.

   Vertical: Y is the baseline of the current line. A line's first draw item moves Y
   down by LineExtra (what the previous line's spacing asked for), then by Below (the
   previous line's deepest descent plus any paragraph gap waiting), then by its own
   ascent. Later draw items that reach higher raise the whole line (RaiseLine), and
   deeper ones grow Below. Ascent is the line's height above Y.

   Horizontal: a line starts at LineLeft (margin plus indent) and may hold LineWidth
   pixels; X is the used part. The draw items of the current line are those from
   LineStart to DrawCount - 1. A line ends (StartNewLine, or the end of the pass) by
   trimming a trailing space at a soft break, resolving a pending right or centre tab,
   and aligning: shifted, or justified by dealing out the free pixels over the spaces.

   NewPara tells that the next line begins a paragraph (the gap SpaceAfter +
   SpaceBefore goes into Below); SpaceSkipped that the space at the last soft break was
   dropped already, so the next line does not lose another. */
struct TRPFormatCursor {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Below = 0;
  int32_t Ascent = 0;
  bool NewPara = true;
  int32_t LineLeft = 0;
  int32_t LineWidth = 0;
  int32_t DrawCount = 0;
  int32_t CharsOnLine = 0;
  bool SpaceSkipped = false;
  bool HasAbsItems = false;
  // The first draw item of the current line; -1 before the pass's first line.
  int32_t LineStart = -1;
  // The last right or centre tab of the line (-1: none), its alignment and position.
  int32_t PendingTab = -1;
  TRPTabAlign PendingTabAlign = rptaLeft;
  int32_t PendingTabPosition = 0;
  // The last tab of the line of any alignment: justification stops there.
  int32_t LastTabOnLine = -1;
  // Metrics of the text style in use (StyleNo -1: none selected).
  int32_t StyleNo = -1;
  int32_t TextAscent = 0;
  int32_t TextDescent = 0;
  int32_t TextHeight = 0;
  int32_t ExternalLeading = 0;
  int32_t VerticalShift = 0;
  int32_t HyphenWidth = 0;
  int32_t LineExtra = 0;
  TRPItemText Text;

  TRPFontInfoCache* Cache = nullptr;
  TRPStyle* Style = nullptr;
  TCanvas* Canvas = nullptr;
  // The Format call's flags, handed to items that size themselves.
  bool ItemFlag1 = false;
  bool ItemFlag2 = false;

  bool LineHasItems() const { return LineStart >= 0 && DrawCount > LineStart; }
};
