// The line breaking of one formatting pass: a document's items turned into draw items,
// line by line. The document keeps the pass's frame (widths, start, end, reruns;
// RPFormattedData.cpp) and makes one breaker per pass.
//
// Files: RPLineBreaker.cpp (the pass over the items, draw items and jump areas),
// RPFormatText.cpp (word wrap of text items), RPFormatLines.cpp (starting and finishing
// lines, non-text items), RPFormatBiDi.cpp (visual order of a finished line).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/Types.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/TextTails.h"
#include "richtext/layout/RPDrawLines.h"
#include "richtext/layout/RPFontInfoCache.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/model/RPParaInfo.h"

class TCanvas;
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

// How line breaking measures the rest of a UTF-16 text item: a rest of up to Current()
// units is measured whole on each line; a longer one is measured line by line from one
// shaping of the text (TTextTails), which finds the same fits in time that grows with
// the text, not with its square. Tests set it, for one scope, to measure every rest whole
// or none, and compare.
class TRPWholeRestUnits {
public:
  static int32_t Current() { return FCurrent; }
  explicit TRPWholeRestUnits(int32_t units) : FPrevious(FCurrent) { FCurrent = units; }
  ~TRPWholeRestUnits() { FCurrent = FPrevious; }
  TRPWholeRestUnits(const TRPWholeRestUnits&) = delete;
  TRPWholeRestUnits& operator=(const TRPWholeRestUnits&) = delete;

private:
  static inline int32_t FCurrent = 256;
  int32_t FPrevious;
};

/* Line breaking walks the items once, in document order, with no recursion; all that
   it knows lives in the breaker.

   Vertical: FY is the baseline of the current line. A line's first draw item moves FY
   down by FLineExtra (what the previous line's spacing asked for), then by FBelow (the
   previous line's deepest descent plus any paragraph gap waiting), then by its own
   ascent. Later draw items that reach higher raise the whole line (RaiseLine), and
   deeper ones grow FBelow. FAscent is the line's height above FY.

   Horizontal: a line starts at FLineLeft (margin plus indent) and may hold FLineWidth
   pixels; FX is the used part. The draw items of the current line are those from
   FLineStart to FDrawCount - 1. A line ends (StartNewLine, or the end of the pass) by
   trimming a trailing space at a soft break, resolving a pending right or centre tab,
   and aligning: shifted, or justified by dealing out the free pixels over the spaces.

   FNewPara tells that the next line begins a paragraph (the gap SpaceAfter +
   SpaceBefore goes into FBelow); FSpaceSkipped that the space at the last soft break
   was dropped already, so the next line does not lose another. */
class TRPLineBreaker {
public:
  // A pass over data's items on canvas with the pass's font cache. The draw items it
  // makes are inserted from firstDrawNo on (into the slots a reformatting freed first);
  // y is the baseline the first line starts from. The item flags are the Format call's.
  TRPLineBreaker(TCustomRPFormattedData& data, TCanvas& canvas, TRPFontInfoCache& cache, bool itemFlag1, bool itemFlag2,
                 int32_t firstDrawNo, int32_t y);
  TRPLineBreaker(const TRPLineBreaker&) = delete;
  TRPLineBreaker& operator=(const TRPLineBreaker&) = delete;

  // Lays out items first .. last and finishes the last line (the last of its paragraph).
  void Run(int32_t first, int32_t last);
  // The bottom of what was laid out: the last baseline, the depth below it and the extra
  // space the last line's spacing asked for.
  int32_t Bottom() const { return FY + FBelow + FLineExtra; }
  // One past the last draw item made.
  int32_t DrawCount() const { return FDrawCount; }

private:
  // The pass over the items (RPLineBreaker.cpp).
  void FormatItems(int32_t first, int32_t last);
  void InsertDrawItem(std::unique_ptr<TRPDrawLineInfo> d);
  void AddJump(int32_t itemNo, const TRPDrawLineInfo& d, int32_t drawNo, int16_t cursor);
  // Text items (RPFormatText.cpp).
  void LoadItemText(int32_t itemNo);
  void FormatJustifiedText(int32_t itemNo);
  // Characters offs (1-based) .. offs + count - 1 of a text item; continuation: a later
  // piece of a justified item.
  void FormatText(int32_t itemNo, int32_t offs, int32_t count, bool continuation);
  int32_t MeasureFit(int32_t pos, int32_t remaining, int32_t avail);
  // The fit of the UTF-16 characters pos .. pos + remaining - 1 within avail, and their
  // extents up to the first that does not fit.
  void MeasureWideFit(int32_t pos, int32_t remaining, int32_t avail, std::vector<int32_t>& extents, int32_t& fit);
  // The displayed characters pos .. pos + count - 1 (0-based), measured.
  AnsiStringView DisplayText(int32_t pos, int32_t count) const;
  int32_t MeasureDisplayWidth(int32_t pos, int32_t count) const;
  TSize MeasureDisplaySize(int32_t pos, int32_t count) const;
  void MeasureFaceExtent(int32_t pos, int32_t count, int32_t& ascent, int32_t& descent) const;
  void SwitchTextStyle(int32_t itemNo);
  void AddTextDrawItem(int32_t itemNo, int32_t pos, int32_t take, bool firstPiece);
  // Lines and non-text items (RPFormatLines.cpp).
  void FormatNonTextItem(int32_t itemNo);
  void FormatFullLineItem(int32_t itemNo);
  void FormatRectItem(int32_t itemNo);
  void StartNewLine(int32_t itemNo, bool soft);
  void RaiseLine(int32_t ascent);
  // An item that sized itself may have changed the canvas's font: the next text style is
  // applied again.
  void ForgetCanvasStyle();
  void ResolveTab();
  void FinishLine(bool paraEnd);
  void JustifyLine(int32_t lineStart, int32_t free);
  void PlaceLineAlignedItems(int32_t lineStart, int32_t& extraBelow);
  void TrimLineEnd();
  // Lays the draw items of the line from lineStart out in visual order (RPFormatBiDi.cpp):
  // by the paragraph's direction, or, in a paragraph without one, by the line's text.
  void ReorderBiDiLine(int32_t lineStart);
  void ReorderMixedLine(int32_t lineStart);
  // Lays the line's draw items out from its first one's Left in the order visual gives
  // (logical indexes from the line's start), each keeping its gap to its predecessor.
  void PlaceInVisualOrder(int32_t lineStart, const std::vector<int32_t>& visual);

  bool LineHasItems() const { return FLineStart >= 0 && FDrawCount > FLineStart; }
  // The document's own answers, by the names it gives them.
  TCustomRPItemInfo* GetItem(int32_t itemNo) const { return FData.GetItem(itemNo); }
  const TParaInfo& GetParaStyle(int32_t itemNo) const { return FData.GetParaStyle(itemNo); }
  int32_t ScaleX(int32_t v) const { return FData.ScaleX(v); }
  int32_t ScaleY(int32_t v) const { return FData.ScaleY(v); }
  bool HasFlag(TRPDocumentFlags flag) const { return FData.HasFlag(flag); }

  // Per pass: the document and its draw items, the style sheet, the canvas that measures,
  // the font cache, the Format call's item flags, and the count of draw items so far
  // (the index the next one gets).
  TCustomRPFormattedData& FData;
  TRPDrawLines& FDrawItems;
  TRPStyle* FStyle;
  TCanvas* FCanvas;
  TRPFontInfoCache* FCache;
  bool FItemFlag1;
  bool FItemFlag2;
  int32_t FDrawCount;

  // Per line: its left edge and usable width, the used width, its first draw item (-1
  // before the pass's first line), its characters (non-text items count 1), its height
  // above the baseline, whether it holds items aligned to the line, the pending right or
  // centre tab (-1: none) with its alignment and position, and the last tab of any
  // alignment (justification stops there).
  int32_t FLineLeft = 0;
  int32_t FLineWidth = 0;
  int32_t FX = 0;
  int32_t FLineStart = -1;
  int32_t FCharsOnLine = 0;
  int32_t FAscent = 0;
  bool FHasAbsItems = false;
  int32_t FPendingTab = -1;
  TRPTabAlign FPendingTabAlign = rptaLeft;
  int32_t FPendingTabPosition = 0;
  int32_t FLastTabOnLine = -1;

  // Carried from line to line: the baseline, the depth below it still to come, the extra
  // space the previous line's spacing asked for, whether the next line begins a
  // paragraph, and whether the space at the last soft break was dropped.
  int32_t FY;
  int32_t FBelow = 0;
  int32_t FLineExtra = 0;
  bool FNewPara = true;
  bool FSpaceSkipped = false;

  // The current text style and item: the style's number (-1: none selected) and
  // metrics, the width of a visible hyphen, and the item's text.
  int32_t FStyleNo = -1;
  int32_t FTextAscent = 0;
  int32_t FTextDescent = 0;
  int32_t FTextHeight = 0;
  int32_t FExternalLeading = 0;
  int32_t FVerticalShift = 0;
  int32_t FHyphenWidth = 0;
  TRPItemText FText;
  // The characters FormatText places (FTextEnd: one past the last, 0-based), and their
  // tails, shaped once when a line first measures a long rest of them.
  int32_t FTextStart = 0;
  int32_t FTextEnd = 0;
  std::unique_ptr<TTextTails> FTails;
};
