// The caret's moves: by stop, by word, by line, by page, to the ends of lines,
// paragraphs and the document; list markers are stepped over.
#include <algorithm>

#include "richtext/edit/RPERPData.h"
#include "richtext/model/RPStyle.h"

namespace {

// Whether the character at a 1-based position of a text item is a space; false outside.
bool IsSpaceAt(const TCustomRPData& data, int32_t itemNo, int32_t position) {
  if (position < 1 || position > data.GetItemLength(itemNo)) return false;
  const AnsiString& raw = data.GetItemTextRaw(itemNo);
  if (data.GetItem(itemNo)->IsUnicode()) {
    const size_t at = static_cast<size_t>(2 * (position - 1));
    return raw[at] == ' ' && raw[at + 1] == 0;
  }
  return raw[static_cast<size_t>(position - 1)] == ' ';
}

bool IsDelimiter(const TCustomRPData& data, int32_t itemNo, int32_t position) {
  return position >= 1 && position <= data.GetItemLength(itemNo) && data.IsDelimiterAt(itemNo, position);
}

// Going back, a word starts before character position where a delimiter is followed by a
// non-delimiter, or a non-delimiter that is not a space by a delimiter.
bool IsWordStartBackward(const TCustomRPData& data, int32_t itemNo, int32_t position) {
  const bool before = IsDelimiter(data, itemNo, position - 1), at = IsDelimiter(data, itemNo, position);
  return (before && !at) || (!before && !IsSpaceAt(data, itemNo, position - 1) && at);
}

// Going forward, the count ends before a character where a space is followed by a
// non-space, a delimiter by a non-delimiter, or a non-delimiter non-space by a delimiter.
bool IsWordStartForward(const TCustomRPData& data, int32_t itemNo, int32_t position) {
  if (position <= 1) return true;
  const bool spaceBefore = IsSpaceAt(data, itemNo, position - 1), spaceAt = IsSpaceAt(data, itemNo, position);
  const bool before = IsDelimiter(data, itemNo, position - 1), at = IsDelimiter(data, itemNo, position);
  return (spaceBefore && !spaceAt) || (before && !at) || (!before && !spaceBefore && at);
}

}  // namespace

// --- List markers ----------------------------------------------------------------------------

void TRPEditRPData::SkipListMarker(bool forward) {
  if (CaretDrawItemNo < 0 || CaretDrawItemNo >= DrawItems.Count()) return;
  if (GetItem(DrawItems[CaretDrawItemNo]->ItemNo)->StyleNo != rpkindListMarker) return;
  if ((forward || CaretDrawItemNo == 0) && CaretDrawItemNo + 1 < DrawItems.Count()) {
    ++CaretDrawItemNo;
    BuildCaretLine(GetDrawItemStartOffset(CaretDrawItemNo) - 2);
  } else if (CaretDrawItemNo > 0) {
    --CaretDrawItemNo;
    BuildCaretLine(GetDrawItemEndOffset(CaretDrawItemNo) - 2);
  }
}

void TRPEditRPData::SkipMarkerPosition(int32_t& itemNo, int32_t& offset, bool forceForward) const {
  if (itemNo < 0 || itemNo >= GetItemCount() || GetItem(itemNo)->StyleNo != rpkindListMarker) return;
  if ((itemNo == 0 || forceForward || offset == 1) && itemNo + 1 < GetItemCount()) {
    ++itemNo;
    offset = GetItemStartOffset(itemNo);
  } else if (itemNo > 0) {
    --itemNo;
    offset = GetItemEndOffset(itemNo);
  }
}

// --- Helpers ---------------------------------------------------------------------------------

void TRPEditRPData::MoveCaretToItemOffset(int32_t itemNo, int32_t offset) {
  // A stop of the line when the position is on it, else the item position's draw item.
  for (int32_t i = 0; i < CaretPositions.Count(); ++i) {
    const TRPCharPos& pos = CaretPositions[i];
    int32_t stopItem = -1, stopOffs = 0;
    DrawItemToItemPos(pos.DrawItemNo, pos.Offset, stopItem, stopOffs);
    if (stopItem == itemNo && stopOffs == offset) {
      CaretIndex = i;
      return;
    }
  }
  SetCaretAtItemPos(itemNo, offset);
}

void TRPEditRPData::PlaceCaretAtPoint(int32_t x, int32_t y, int32_t& drawNo, int32_t& drawOffs) {
  FindDrawItemAtPos(x, y, drawNo, drawOffs, false);
}

// --- Moves -----------------------------------------------------------------------------------

void TRPEditRPData::MoveCaretHome(bool toDocumentStart) {
  if (CaretDrawItemNo < 0 || CaretPositions.Count() == 0) return;
  if (toDocumentStart) {
    CaretDrawItemNo = 0;
    BuildCaretLine(GetDrawItemStartOffset(0) - 2);
  }
  CaretIndex = 0;
  CaretDrawItemNo = CaretPositions[0].DrawItemNo;
  UpdateCaret(true, false, false);
}

void TRPEditRPData::MoveCaretEnd(bool toDocumentEnd) {
  if (CaretDrawItemNo < 0 || CaretPositions.Count() == 0) return;
  if (toDocumentEnd) {
    CaretDrawItemNo = DrawItems.Count() - 1;
    BuildCaretLine(GetDrawItemEndOffset(CaretDrawItemNo) - 2);
  }
  CaretIndex = CaretPositions.Count() - 1;
  CaretDrawItemNo = CaretPositions[CaretIndex].DrawItemNo;
  UpdateCaret(true, false, false);
}

void TRPEditRPData::MoveCaretParaUp() {
  if (CaretDrawItemNo < 0 || CaretPositions.Count() == 0) return;
  int32_t drawNo = CaretPositions[CaretIndex].DrawItemNo;
  while (!IsParaStartDrawItem(drawNo)) --drawNo;
  if (drawNo > 0) --drawNo;
  while (!IsParaStartDrawItem(drawNo)) --drawNo;
  CaretDrawItemNo = drawNo;
  BuildCaretLine(GetDrawItemStartOffset(drawNo) - 2);
  UpdateCaret(true, false, false);
}

void TRPEditRPData::MoveCaretParaDown() {
  if (CaretDrawItemNo < 0 || CaretPositions.Count() == 0) return;
  const int32_t lastDraw = DrawItems.Count() - 1;
  int32_t drawNo = CaretPositions[CaretIndex].DrawItemNo;
  while (drawNo < lastDraw && !IsParaEndDrawItem(drawNo)) ++drawNo;
  if (drawNo < lastDraw) ++drawNo;
  while (drawNo < lastDraw && !IsParaEndDrawItem(drawNo)) ++drawNo;
  CaretDrawItemNo = drawNo;
  BuildCaretLine(GetDrawItemEndOffset(drawNo) - 2);
  UpdateCaret(true, false, false);
}

bool TRPEditRPData::MoveCaretLeft(bool selecting, bool byWord) {
  if (CaretDrawItemNo < 0 || CaretPositions.Count() == 0) return true;
  const TRPStyle* style = GetStyleSheet();
  if (selecting && style && style->SelectionMode == rpsmParagraph && SelectionSpansParagraphs()) {
    MoveCaretParaUp();
    return false;
  }
  const TRPCharPos& pos = CaretPositions[CaretIndex];
  int32_t itemNo = -1, itemOffs = 0;
  DrawItemToItemPos(pos.DrawItemNo, pos.Offset, itemNo, itemOffs);
  const bool text = IsTextItem(itemNo);
  if (!byWord || !text || itemOffs <= 1) {
    if (CaretIndex == 0) {
      const int32_t first = pos.DrawItemNo;
      if (first == 0 || (first == 1 && GetItem(DrawItems[0]->ItemNo)->StyleNo == rpkindListMarker)) return true;
      int32_t drawNo = first - 1;
      if (drawNo > 0 && GetItem(DrawItems[drawNo]->ItemNo)->StyleNo == rpkindListMarker) --drawNo;
      CaretDrawItemNo = drawNo;
      BuildCaretLine(GetDrawItemEndOffset(drawNo) - 2);
    } else {
      // An item under the caret may take it inside (a table: its last cell).
      if (!selecting && !byWord && !text && GetItem(itemNo)->EnterItem(1, 0)) return false;
      --CaretIndex;
    }
  } else {
    int32_t position = itemOffs;
    do {
      position = GetPrevCharPos(itemNo, position);
    } while (position > 1 && !IsWordStartBackward(*this, itemNo, position));
    MoveCaretToItemOffset(itemNo, position);
  }
  UpdateCaret(true, false, false);
  return false;
}

bool TRPEditRPData::MoveCaretRight(bool selecting, bool byWord) {
  if (CaretDrawItemNo < 0 || CaretPositions.Count() == 0) return true;
  const TRPStyle* style = GetStyleSheet();
  if (selecting && style && style->SelectionMode == rpsmParagraph && SelectionSpansParagraphs()) {
    MoveCaretParaDown();
    return false;
  }
  const int32_t lastDraw = DrawItems.Count() - 1;
  if (CaretIndex == CaretPositions.Count() - 1) {
    // The end of the line: the next line's start.
    const int32_t drawNo = CaretPositions[CaretIndex].DrawItemNo;
    if (drawNo >= lastDraw) return true;
    CaretDrawItemNo = drawNo + 1;
    if (GetItem(DrawItems[CaretDrawItemNo]->ItemNo)->StyleNo == rpkindListMarker && CaretDrawItemNo < lastDraw)
      ++CaretDrawItemNo;
    BuildCaretLine(GetDrawItemStartOffset(CaretDrawItemNo) - 2);
  } else {
    const TRPCharPos& next = CaretPositions[CaretIndex + 1];
    const int32_t nextItem = DrawItems[next.DrawItemNo]->ItemNo;
    if (!selecting && !byWord && !IsTextItem(nextItem) && GetItem(nextItem)->EnterItem(0, 0)) return false;
    ++CaretIndex;
  }
  if (byWord) {
    const TRPCharPos& pos = CaretPositions[CaretIndex];
    int32_t itemNo = -1, position = 0;
    DrawItemToItemPos(pos.DrawItemNo, pos.Offset, itemNo, position);
    if (IsTextItem(itemNo)) {
      const int32_t length = GetItemLength(itemNo);
      while (position <= length && !IsWordStartForward(*this, itemNo, position))
        position = GetNextCharPos(itemNo, position);
      MoveCaretToItemOffset(itemNo, std::min(position, length + 1));
    }
  }
  UpdateCaret(true, false, false);
  return false;
}

bool TRPEditRPData::MoveCaretUp(bool selecting, bool byWord) {
  if (CaretDrawItemNo < 0 || CaretPositions.Count() == 0) return true;
  const TRPStyle* style = GetStyleSheet();
  if (selecting && style && style->SelectionMode == rpsmParagraph && SelectionSpansParagraphs()) {
    MoveCaretParaUp();
    return false;
  }
  int32_t lineFirst = 0, lineLast = 0;
  GetLineDrawItems(CaretPositions[0].DrawItemNo, lineFirst, lineLast);
  if (lineFirst == 0) {
    if (!selecting || CaretIndex == 0) {
      ScrollTo(0);
    } else {
      CaretIndex = 0;
      UpdateCaret(true, false, false);
    }
    return true;
  }
  int32_t above = lineFirst - 1;
  if (above > 0 && GetItem(DrawItems[above]->ItemNo)->StyleNo == rpkindListMarker) --above;
  const int32_t x = CaretPositions[CaretIndex].X, y = DrawItems[above]->Top + 1;
  int32_t drawNo = -1, drawOffs = 0;
  PlaceCaretAtPoint(x, y, drawNo, drawOffs);
  if (drawNo < 0) return false;
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  if (!selecting && !byWord && x >= d.Left && x <= d.Left + d.Width && GetItem(d.ItemNo)->EnterItem(3, x - d.Left))
    return false;
  CaretDrawItemNo = drawNo;
  BuildCaretLine(drawOffs - 2);
  UpdateCaret(true, false, false);
  return false;
}

bool TRPEditRPData::MoveCaretDown(bool selecting, bool byWord) {
  if (CaretDrawItemNo < 0 || CaretPositions.Count() == 0) return true;
  const TRPStyle* style = GetStyleSheet();
  if (selecting && style && style->SelectionMode == rpsmParagraph && SelectionSpansParagraphs()) {
    MoveCaretParaDown();
    return false;
  }
  if (IsCaretOnLastLine()) {
    if (!selecting || IsCaretAtLineEnd()) {
      ScrollTo(DocumentHeight);
    } else {
      CaretIndex = CaretPositions.Count() - 1;
      UpdateCaret(true, false, false);
    }
    return true;
  }
  const int32_t below = CaretPositions[CaretPositions.Count() - 1].DrawItemNo + 1;
  int32_t lineFirst = 0, lineLast = 0;
  GetLineDrawItems(below - 1, lineFirst, lineLast);
  const int32_t x = CaretPositions[CaretIndex].X, y = DrawItems[lineLast + 1]->Top + 1;
  int32_t drawNo = -1, drawOffs = 0;
  PlaceCaretAtPoint(x, y, drawNo, drawOffs);
  if (drawNo < 0) return false;
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  if (!selecting && !byWord && x >= d.Left && x <= d.Left + d.Width && GetItem(d.ItemNo)->EnterItem(2, x - d.Left))
    return false;
  CaretDrawItemNo = drawNo;
  BuildCaretLine(drawOffs - 2);
  UpdateCaret(true, false, false);
  return false;
}

void TRPEditRPData::MoveCaretPageUp() {
  if (CaretDrawItemNo < 0 || CaretPositions.Count() == 0) return;
  const int32_t height = GetHeight();
  const int32_t x = CaretPositions[CaretIndex].X, caretDraw = CaretPositions[CaretIndex].DrawItemNo;
  for (int32_t y = GetVOffs() - height * 3 / 4; y > 0; y -= std::max(height / 2, 1)) {
    int32_t drawNo = -1, drawOffs = 0;
    PlaceCaretAtPoint(x, y, drawNo, drawOffs);
    if (drawNo >= 0 && drawNo < caretDraw) {
      CaretDrawItemNo = drawNo;
      BuildCaretLine(drawOffs - 2);
      UpdateCaret(true, false, false);
      return;
    }
  }
  MoveCaretHome(true);
}

void TRPEditRPData::MoveCaretPageDown() {
  if (CaretDrawItemNo < 0 || CaretPositions.Count() == 0) return;
  const int32_t height = GetHeight();
  const int32_t x = CaretPositions[CaretIndex].X, caretDraw = CaretPositions[CaretIndex].DrawItemNo;
  for (int32_t y = GetVOffs() + height * 3 / 4; y < DocumentHeight; y += std::max(height / 2, 1)) {
    int32_t drawNo = -1, drawOffs = 0;
    PlaceCaretAtPoint(x, y, drawNo, drawOffs);
    if (drawNo > caretDraw) {
      CaretDrawItemNo = drawNo;
      BuildCaretLine(drawOffs - 2);
      // The caret's line goes to the top of the view; the window's caret follows it.
      ScrollTo(DrawItems[CaretPositions[CaretIndex].DrawItemNo]->Top);
      UpdateCaret(false, false, false);
      return;
    }
  }
  MoveCaretEnd(true);
}
