// Selecting with the mouse: by characters, words, paragraphs and whole lines.
#include <memory>
#include <tuple>

#include "richtext/layout/RPFormattedData.h"
#include "richtext/model/RPStyle.h"

namespace {

bool IsBefore(int32_t aNo, int32_t aOffs, int32_t bNo, int32_t bOffs) {
  return std::make_pair(aNo, aOffs) < std::make_pair(bNo, bOffs);
}

}  // namespace

bool TCustomRPFormattedData::IsInWord(int32_t drawNo, int32_t offs) const {
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  if (!IsTextItem(d.ItemNo) || offs <= 1 || offs >= d.Length + 1) return false;
  const int32_t after = d.Offs + offs - 1;  // 1-based item position of the character after the caret
  return !IsDelimiterAt(d.ItemNo, after - 1) && !IsDelimiterAt(d.ItemNo, after);
}

void TCustomRPFormattedData::GetWordBounds(int32_t drawNo, int32_t offs, int32_t& wordStart, int32_t& wordEnd) const {
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  if (!IsTextItem(d.ItemNo)) {
    wordStart = 0;
    wordEnd = 1;
    return;
  }
  wordStart = offs;
  while (wordStart > 1 && !IsDelimiterAt(d.ItemNo, d.Offs + wordStart - 2)) --wordStart;
  wordEnd = offs;
  while (wordEnd <= d.Length && !IsDelimiterAt(d.ItemNo, d.Offs + wordEnd - 1)) ++wordEnd;
}

int32_t TCustomRPFormattedData::WordEdgeBehind(int32_t drawNo, int32_t offs, bool forward) const {
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  if (!IsTextItem(d.ItemNo)) return offs;
  if (forward) {
    while (offs > 1 && IsDelimiterAt(d.ItemNo, d.Offs + offs - 2)) --offs;
  } else {
    while (offs <= d.Length && IsDelimiterAt(d.ItemNo, d.Offs + offs - 1)) ++offs;
  }
  return offs;
}

void TCustomRPFormattedData::BeginMouseSelection(int32_t x, int32_t y, bool extend, bool lines) {
  FSelecting.reset();
  int32_t drawNo = -1, drawOffs = -1;
  FindDrawItemAtPos(x, y, drawNo, drawOffs, false);
  if (drawNo < 0) return;
  if (lines) {
    if (!extend || FSelStartNo < 0) {
      int32_t first = 0, last = 0;
      GetLineDrawItems(drawNo, first, last);
      StoreSelection(first, GetDrawItemStartOffset(first), last, GetDrawItemEndOffset(last));
    }
    SelectLinesToPoint(x, y);
    return;
  }
  if (extend && FSelStartNo >= 0)
    StoreSelection(FSelStartNo, FSelStartOffs, drawNo, drawOffs);
  else
    StoreSelection(drawNo, drawOffs, drawNo, drawOffs);
  const TRPSelectionMode mode = GetStyleSheet() ? GetStyleSheet()->SelectionMode : rpsmChar;
  if (mode == rpsmChar) return;
  FSelecting = std::make_unique<TRPSelectingInfo>();
  TRPSelectingInfo& s = *FSelecting;
  s.StartNo = FSelStartNo;
  s.StartOffs = FSelStartOffs;
  s.EndNo = FSelEndNo;
  s.EndOffs = FSelEndOffs;
  s.EndWordState = OutsideWord;
  if (mode == rpsmParagraph) {
    s.StartWordState = s.EndWordState = ParaMode;
    return;
  }
  if (IsInWord(s.StartNo, s.StartOffs)) {
    GetWordBounds(s.StartNo, s.StartOffs, s.StartWordStartOffs, s.StartWordEndOffs);
    s.StartWordState = InWord;
  } else {
    s.StartWordState = FreeMode;
  }
}

/* Word mode. The start: while the mouse stays in the word pressed in (InWord), the
   selection is the plain caret range. Once it leaves, the start snaps to that word's far
   edge (OutsideWord); coming back into the word selects characters from the press on
   (FreeMode) from then on. The end snaps to the word under the mouse, its end when it
   lies after the start and its start when before, until the mouse moves back inside that
   same word (FreeMode for it); another word snaps again. */
bool TCustomRPFormattedData::SelectToPoint(int32_t x, int32_t y) {
  int32_t drawNo = -1, drawOffs = -1;
  FindDrawItemAtPos(x, y, drawNo, drawOffs, false);
  if (drawNo < 0) return false;
  if (!FSelecting) {
    if (FSelStartNo < 0) return StoreSelection(drawNo, drawOffs, drawNo, drawOffs);
    return StoreSelection(FSelStartNo, FSelStartOffs, drawNo, drawOffs);
  }
  TRPSelectingInfo& s = *FSelecting;
  const bool forward = !IsBefore(drawNo, drawOffs, s.StartNo, s.StartOffs);
  const bool movedBack =
      forward ? IsBefore(drawNo, drawOffs, s.EndNo, s.EndOffs) : IsBefore(s.EndNo, s.EndOffs, drawNo, drawOffs);
  const int32_t oldEndNo = s.EndNo;
  s.EndNo = drawNo;
  s.EndOffs = drawOffs;
  if (s.StartWordState == ParaMode) {
    StoreSelection(s.StartNo, s.StartOffs, drawNo, drawOffs);
    const auto old = std::make_tuple(FSelStartNo, FSelStartOffs, FSelEndNo, FSelEndOffs);
    ExpandSelectionToParagraphs(false);
    return old != std::make_tuple(FSelStartNo, FSelStartOffs, FSelEndNo, FSelEndOffs);
  }
  const bool inStartWord = s.StartWordState != FreeMode && drawNo == s.StartNo && drawOffs >= s.StartWordStartOffs &&
                           drawOffs <= s.StartWordEndOffs;
  if (s.StartWordState == InWord && inStartWord) return StoreSelection(s.StartNo, s.StartOffs, drawNo, drawOffs);
  if (s.StartWordState == InWord)
    s.StartWordState = OutsideWord;
  else if (s.StartWordState == OutsideWord && inStartWord)
    s.StartWordState = FreeMode;
  int32_t startOffs = s.StartOffs;
  if (s.StartWordState == OutsideWord) startOffs = forward ? s.StartWordStartOffs : s.StartWordEndOffs;
  int32_t endOffs = drawOffs;
  if (IsInWord(drawNo, drawOffs)) {
    int32_t wordStart = 0, wordEnd = 0;
    GetWordBounds(drawNo, drawOffs, wordStart, wordEnd);
    const bool sameWord = s.EndWordState != OutsideWord && drawNo == oldEndNo && wordStart == s.EndWordStartOffs;
    if (!sameWord) {
      s.EndWordState = InWord;
      s.EndWordStartOffs = wordStart;
      s.EndWordEndOffs = wordEnd;
    } else if (movedBack) {
      s.EndWordState = FreeMode;
    }
    if (s.EndWordState != FreeMode) endOffs = forward ? wordEnd : wordStart;
  } else {
    s.EndWordState = OutsideWord;
    // Between words the end of a selection whose start snapped to a word keeps to the last
    // word it passed: a selection of whole words takes none of the spaces after them
    // (before them, backwards), as a double click takes none; typing over it leaves them.
    const int32_t edge = WordEdgeBehind(drawNo, drawOffs, forward);
    const bool crossesStart = drawNo == s.StartNo && (forward ? edge <= startOffs : edge >= startOffs);
    if (s.StartWordState == OutsideWord && !crossesStart) endOffs = edge;
  }
  return StoreSelection(s.StartNo, startOffs, drawNo, endOffs);
}

bool TCustomRPFormattedData::SelectLinesToPoint(int32_t x, int32_t y) {
  int32_t drawNo = -1, drawOffs = -1;
  FindDrawItemAtPos(x, y, drawNo, drawOffs, false);
  if (drawNo < 0) return false;
  const int32_t anchor = FSelStartNo >= 0 ? FSelStartNo : drawNo;
  int32_t startFirst = 0, startLast = 0, endFirst = 0, endLast = 0;
  GetLineDrawItems(anchor, startFirst, startLast);
  GetLineDrawItems(drawNo, endFirst, endLast);
  if (drawNo >= startFirst)
    return StoreSelection(startFirst, GetDrawItemStartOffset(startFirst), endLast, GetDrawItemEndOffset(endLast));
  return StoreSelection(startLast, GetDrawItemEndOffset(startLast), endFirst, GetDrawItemStartOffset(endFirst));
}
