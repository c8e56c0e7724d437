// Removing content at the caret and breaking paragraphs: whether the selection may be
// deleted, deleting it, the Backspace and Delete keys, and Enter. Each key opens its own
// undo group; a refused key beeps and changes nothing.
#include <algorithm>
#include <memory>
#include <utility>

#include "richtext/edit/RPERPData.h"
#include "richtext/edit/RPERPDataEditing.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"

namespace {

bool IsMarker(const TCustomRPData& data, int32_t i) {
  return i >= 0 && i < data.GetItemCount() && data.GetItem(i)->StyleNo == rpkindListMarker;
}
bool IsFullLine(const TCustomRPData& data, int32_t i) {
  return i >= 0 && i < data.GetItemCount() && data.GetItem(i)->GetBoolValue(rpibqWholeLine);
}
bool IsEmptyText(const TCustomRPData& data, int32_t i) {
  return i >= 0 && i < data.GetItemCount() && data.IsTextItem(i) && data.GetItemLength(i) == 0;
}
bool Continues(const TCustomRPData& data, int32_t i) {
  return i >= 0 && i < data.GetItemCount() && data.GetItem(i)->GetContinuesLine();
}
int32_t ParagraphEnd(const TCustomRPData& data, int32_t i) {
  while (i + 1 < data.GetItemCount() && !data.StartsParagraph(i + 1)) ++i;
  return i;
}

// Whether part from .. to of item i may go: an empty part or one outside the item always;
// a non-text item or a whole text item unless delete-protected; a part of a text item
// unless modify-protected.
bool PartDeletable(TCustomRPFormattedData& data, int32_t i, int32_t from, int32_t to) {
  const int32_t start = data.GetItemStartOffset(i), end = data.GetItemEndOffset(i);
  if (from >= to || to <= start || from >= end) return true;
  if (!data.IsTextItem(i)) return !data.IsItemProtected(i, rpprDeleteProtect);
  if (from <= start && to >= end) return !data.IsItemProtected(i, rpprDeleteProtect);
  return !data.IsItemProtected(i, rpprModifyProtect);
}

// Moves the checkpoint of item from to item to (which has none), recorded.
void MoveCheckpoint(TRPEditRPData& data, int32_t from, int32_t to) {
  if (!data.GetItemCheckpoint(from) || data.GetItemCheckpoint(to)) return;
  std::unique_ptr<TRPCPInfo> copy = data.GetItemCheckpoint(from)->CreateCopy();
  data.DeleteCheckpointUndoable(from);
  data.AddCheckpointUndoable(to, std::move(copy));
}

}  // namespace

void TRPEditRPData::PlaceCaretAfterEdit(int32_t itemNo, int32_t offset, bool restartSpelling) {
  if (GetItemCount() == 0) return;
  itemNo = ClampItemIndex(itemNo);
  offset = std::clamp(offset, GetItemStartOffset(itemNo), GetItemEndOffset(itemNo));
  if (restartSpelling) {
    const int32_t first = GetParaStartItem(itemNo);
    ResetSpellCheckFrom(first, GetItemStartOffset(first), false);
  }
  if (IsMarker(*this, itemNo)) SkipMarkerPosition(itemNo, offset, true);
  if (DrawItems.Count() == 0) return;
  SetCaretAtItemPos(itemNo, offset);
  CollapseSelectionToCaret();
  UpdateCaret(true, false, false);
}

// --- The selection -------------------------------------------------------------------------------

bool TRPEditRPData::CanDeleteSelection() {
  if (!SelectionExists(false)) return !InplaceEditedItem || InplaceEditedItem->CanDeleteInplaceSelection();
  // A document standing in for this one (a cell holding the selection) answers itself.
  if (TCustomRPData* standIn = GetRPData(); standIn != this) {
    auto* editable = dynamic_cast<TRPEditRPData*>(standIn);
    return editable && editable->CanDeleteSelection();
  }
  int32_t s = -1, e = -1, so = 0, eo = 0;
  GetSelectionBounds(s, e, so, eo, true);
  if (s < 0 || e < 0) return true;
  for (int32_t i = s + 1; i < e; ++i)
    if (IsItemProtected(i, rpprDeleteProtect)) return false;
  if (s == e) {
    if (!PartDeletable(*this, s, so, eo)) return false;
  } else if (!PartDeletable(*this, s, so, GetItemEndOffset(s)) || !PartDeletable(*this, e, GetItemStartOffset(e), eo)) {
    return false;
  }
  if (IsItemParaReadOnly(s)) {
    if ((s > 0 && !StartsParagraph(s)) || so > GetItemStartOffset(s)) return false;
    if (s == e && so == eo) return false;
  }
  if (IsItemParaReadOnly(e)) {
    if (eo < GetItemEndOffset(e)) return false;
    if (e + 1 < GetItemCount() && !StartsParagraph(e + 1)) return false;
  }
  if (IsParaOptionSet(CurParaStyleNo, rppaoReadOnly)) return false;
  // Persistent checkpoints from the first paragraph start inside the selection on.
  int32_t first = -1;
  if ((s == 0 || StartsParagraph(s)) && so <= GetItemStartOffset(s)) first = s;
  for (int32_t i = s + 1; first < 0 && i <= e; ++i)
    if (StartsParagraph(i)) first = i;
  if (first >= 0)
    for (int32_t i = first; i <= ParagraphEnd(*this, e); ++i)
      if (HasPersistentCheckpoint(*GetItem(i))) return false;
  return true;
}

bool TRPEditRPData::DeleteSelection() {
  if (!SelectionExists(false)) {
    // An item edited in place deletes the selection of its editor when it may.
    if (InplaceEditedItem) {
      if (InplaceEditedItem->CanDeleteInplaceSelection())
        InplaceEditedItem->DeleteInplaceSelection();
      else
        Beep();
    }
    return true;
  }
  if (!CanDeleteSelection() || GetInnerSelectionItem()) {
    Beep();
    return false;
  }
  int32_t s = -1, e = -1, so = 0, eo = 0;
  GetSelectionBounds(s, e, so, eo, true);
  if (const TRPDragDropCaretInfo* drop = GetDragDropCaretInfo();
      drop && drop->Data == this && IsPosInSelection(drop->ItemNo, drop->ItemOffs, true)) {
    Beep();
    return false;
  }
  BeginUndoGroup(rpukDelete, true);
  int32_t firstDraw = -1, lastDraw = -1, drawStartOffs = 0, drawEndOffs = 0;
  GetDrawSelectionBounds(firstDraw, lastDraw, drawStartOffs, drawEndOffs, true);
  if (firstDraw >= 0 && lastDraw >= 0) GetReformatRange(firstDraw, lastDraw, firstDraw, lastDraw);
  // The tag of the end the selection was extended to, for an item that is left empty.
  int32_t endNo = -1, endOffs = 0, startNo = -1, startOffs = 0;
  GetSelectionBounds(startNo, endNo, startOffs, endOffs, false);
  TRPTag keptTag;
  if (endNo >= 0 && GetItem(endNo)->StyleNo == CurTextStyleNo) keptTag = GetItemTag(endNo);
  Deselect(false);
  const int32_t countBefore = GetItemCount();

  if (s < e && so <= GetItemStartOffset(s) && Continues(*this, s) && !IsMarker(*this, s - 1)) {
    --s;
    so = GetItemEndOffset(s);
  }
  if (IsMarker(*this, s) && s < e) {
    ++s;
    so = GetItemStartOffset(s);
  }
  if (IsMarker(*this, e) && e > s) {
    --e;
    eo = GetItemEndOffset(e);
  }
  // The numbered lists whose later numbers the deletion may move.
  TRPIntegerList lists;
  int32_t markerIndex = -1, lastListItem = -1;
  CollectNumberedLists(s, e, lists, markerIndex, lastListItem, true);
  // A persistent checkpoint of the first paragraph that goes with the selection stays at
  // the start item.
  if (s < e && so < GetItemEndOffset(s) && !GetItemCheckpoint(s))
    for (int32_t i = s + 1; i <= e && !StartsParagraph(i); ++i)
      if (HasPersistentCheckpoint(*GetItem(i)) && (i < e || eo >= GetItemEndOffset(e))) {
        MoveCheckpoint(*this, i, s);
        break;
      }

  bool full = false, fullReformat = false;
  bool newLineAfter = false, endKept = false;
  if (s == e) {
    newLineAfter = !Continues(*this, e + 1);
  } else {
    if (eo < GetItemEndOffset(e)) {
      endKept = true;
      if (IsTextItem(e)) DeleteSubstringUndoable(e, 1, eo - 1);
    } else {
      newLineAfter = !Continues(*this, e + 1);
      DeleteItemUndoable(e, full);
      fullReformat = fullReformat || full;
    }
    if (e - 1 >= s + 1) {
      DeleteItemsUndoable(s + 1, e - 1, full);
      fullReformat = fullReformat || full;
    }
  }
  int32_t caretItem = s, caretOffs = so;
  const bool wholeStart = so <= GetItemStartOffset(s) && (s != e || eo >= GetItemEndOffset(s));
  if (wholeStart) {
    TCustomRPItemInfo& start = *GetItem(s);
    const bool replace = newLineAfter && (!start.GetContinuesLine() || IsMarker(*this, s - 1));
    const bool continued = start.GetContinuesLine(), lineBreak = start.GetLineBreakBefore();
    const bool pageBreak = start.GetPageBreakBefore();
    const int32_t paraNo = start.ParaNo;
    if (!replace) {
      MoveCheckpointOffItem(s, false);
      DeleteItemUndoable(s, full);
      fullReformat = fullReformat || full;
      if (continued || s >= GetItemCount()) {
        caretItem = s - 1;
        caretOffs = GetItemEndOffset(caretItem);
        if (endKept && s < GetItemCount() && !Continues(*this, s)) {
          SetContinuesLineUndoable(s, true, full, -1);
          fullReformat = fullReformat || full;
        }
      } else {
        if (!(IsItemProtected(s, rpprParaStartProtect) && s > 0) && Continues(*this, s)) {
          SetContinuesLineUndoable(s, false, full, paraNo);
          fullReformat = fullReformat || full;
          if (lineBreak) SetLineBreakUndoable(s, true, full);
          if (pageBreak) SetPageBreakUndoable(s, true);
        }
        caretItem = s;
        caretOffs = GetItemStartOffset(s);
      }
    } else {
      std::unique_ptr<TRPCPInfo> checkpoint;
      if (HasPersistentCheckpoint(start)) checkpoint = start.Checkpoint->CreateCopy();
      DeleteItemUndoable(s, full);
      fullReformat = fullReformat || full;
      InsertEmptyTextItem(s, keptTag, lineBreak, continued, CurTextStyleNo, paraNo, full);
      fullReformat = fullReformat || full;
      if (pageBreak) SetPageBreakUndoable(s, true);
      if (checkpoint) AddCheckpointUndoable(s, std::move(checkpoint));
      caretItem = s;
      caretOffs = 1;
    }
  } else {
    if (IsTextItem(s)) DeleteSubstringUndoable(s, so, (s == e ? eo : GetItemEndOffset(s)) - so);
    if (endKept && !Continues(*this, s + 1)) {
      SetContinuesLineUndoable(s + 1, true, full, -1);
      fullReformat = fullReformat || full;
    }
  }
  caretItem = ClampItemIndex(caretItem);
  if (caretItem + 1 < GetItemCount() && CanMergeItems(caretItem, false)) JoinItems(caretItem);
  // The joined paragraph takes the paragraph style of the caret's item.
  const int32_t paraStart = GetParaStartItem(caretItem), paraEnd = ParagraphEnd(*this, caretItem);
  for (int32_t i = paraStart; i <= paraEnd; ++i)
    if (GetItemPara(i) != GetItemPara(caretItem) && GetItem(i)->StyleNo != rpkindBreak) {
      SetParaRangeUndoable(paraStart, paraEnd, full, GetItemPara(caretItem));
      fullReformat = fullReformat || full;
      break;
    }
  ReformatAfterEdit(fullReformat, firstDraw, lastDraw, GetItemCount() - countBefore);
  if (lists.Count() > 0 && GetItemCount() > 0)
    RenumberLists(GetParaStartItem(std::min(caretItem, ClampItemIndex(s))), markerIndex, -1, lists);
  PlaceCaretAfterEdit(caretItem, caretOffs, true);
  NotifyChange();
  return true;
}

// --- Backspace -----------------------------------------------------------------------------------

namespace {

// Backspace at the start of item i, which starts a paragraph (or a line) or follows a
// list marker; false when refused.
bool BackspaceAtParagraphStart(TRPEditRPData& data, int32_t i, int32_t& caretItem, int32_t& caretOffs, bool& full) {
  bool step = false;
  const auto refusedFor = [&](int32_t a, int32_t b) {
    return data.IsItemParaReadOnly(a) || data.IsItemParaReadOnly(b) || data.IsItemProtected(b, rpprParaStartProtect) ||
           data.HasPersistentCheckpointInPara(b);
  };
  if (data.GetPageBreakBefore(i) && data.StartsParagraph(IsMarker(data, i - 1) ? i - 1 : i)) {
    if (!data.CanChange()) return true;
    data.SetPageBreakUndoable(i, false);
    data.InvalidateControl();
    data.NotifyChange();
    caretItem = -2;
    return true;
  }
  if (IsMarker(data, i - 1)) {
    caretItem = -2;
    data.DeleteWholeItem(i - 1);  // a refusal beeps there
    return true;
  }
  if (IsEmptyText(data, i)) {
    if (data.IsItemProtected(i, rpprDeleteProtect) || data.IsItemParaReadOnly(i) ||
        HasPersistentCheckpoint(*data.GetItem(i)))
      return false;
    const int32_t previousPara = data.GetItemPara(i - 1);
    data.DeleteItemUndoable(i, step);
    full = full || step;
    if (Continues(data, i)) {
      data.SetParaRangeUndoable(i, ParagraphEnd(data, i), step, previousPara);
      full = full || step;
    }
    caretItem = i - 1;
    caretOffs = data.GetItemEndOffset(i - 1);
    return true;
  }
  if (IsEmptyText(data, i - 1) && data.StartsNewLine(i - 1)) {
    if (data.IsItemProtected(i - 1, rpprDeleteProtect) || data.IsItemParaReadOnly(i - 1) ||
        data.IsItemParaReadOnly(i) || data.HasPersistentCheckpointInPara(i - 1) ||
        (IsMarker(data, i - 2) && data.HasPersistentCheckpointInPara(i)))
      return false;
    if (!data.GetItem(i - 1)->GetLineBreakBefore()) {
      data.SetLineBreakUndoable(i, false, step);
      full = full || step;
    }
    if (IsMarker(data, i - 2)) {
      data.SetContinuesLineUndoable(i, true, step, -1);
      full = full || step;
    }
    data.DeleteItemUndoable(i - 1, step);
    full = full || step;
    caretItem = i - 1;
    caretOffs = data.GetItemStartOffset(i - 1);
    return true;
  }
  if (refusedFor(i - 1, i)) return false;
  data.SetContinuesLineUndoable(i, true, step, -1);
  full = full || step;
  caretItem = i;
  caretOffs = data.GetItemStartOffset(i);
  if (data.CanMergeItems(i - 1, false)) {
    caretOffs = data.GetItemEndOffset(i - 1);
    data.JoinItems(i - 1);
    caretItem = i - 1;
  }
  return true;
}

// The number of code units Backspace takes before position k of text item i.
int32_t CountBack(TRPEditRPData& data, int32_t i, int32_t k, bool byWord, bool wholeChar) {
  if (k <= 1) return 0;
  if (byWord) {
    const AnsiString& text = data.GetItemTextRaw(i);
    const TRPItemOptions options = data.GetItem(i)->ItemOptions;
    int32_t start = 1;
    for (int32_t p = k - 1; p >= 2; --p) {
      const bool before = data.IsDelimiterAt(i, p - 1), here = data.IsDelimiterAt(i, p);
      if ((before && !here) || (!before && !IsItemTextSpaceAt(text, p - 1, options) && here)) {
        start = p;
        break;
      }
    }
    return k - start;
  }
  const int32_t previous = data.GetPrevCharPos(i, k);
  if (wholeChar) return k - previous;
  // A surrogate pair is never cut in two.
  if (data.GetItem(i)->IsUnicode() && k - previous == 2) {
    const WideString text = data.GetItemTextW(i);
    const WideChar unit = text[static_cast<size_t>(k - 2)];
    if (unit >= 0xDC00 && unit <= 0xDFFF) return 2;
  }
  return 1;
}

}  // namespace

bool TRPEditRPData::DeleteWholeItem(int32_t itemNo) {
  if (IsItemParaReadOnly(itemNo) || IsItemProtected(itemNo, rpprDeleteProtect) ||
      !MoveCheckpointOffItem(itemNo, false)) {
    Beep();
    return false;
  }
  int32_t firstDraw = -1, lastDraw = -1;
  CaretReformatRange(*this, firstDraw, lastDraw);
  const TCustomRPItemInfo& item = *GetItem(itemNo);
  const bool continued = item.GetContinuesLine(), lineBreak = item.GetLineBreakBefore();
  const bool pageBreak = item.GetPageBreakBefore();
  const int32_t paraNo = item.ParaNo;
  TRPIntegerList lists;
  int32_t markerIndex = -1, lastListItem = -1;
  CollectNumberedLists(itemNo, itemNo, lists, markerIndex, lastListItem, true);
  bool full = false, step = false;
  DeleteItemUndoable(itemNo, full);
  int32_t caretItem = itemNo, caretOffs = 0;
  int32_t delta = -1;
  if (Continues(*this, itemNo)) {
    if (continued) {
      caretOffs = GetItemStartOffset(itemNo);
      if (itemNo > 0 && CanMergeItems(itemNo - 1, false)) {
        caretOffs = GetItemEndOffset(itemNo - 1);
        JoinItems(itemNo - 1);
        caretItem = itemNo - 1;
        --delta;
      }
    } else {
      SetContinuesLineUndoable(itemNo, false, step, paraNo);
      full = full || step;
      if (lineBreak) SetLineBreakUndoable(itemNo, true, step);
      if (pageBreak) SetPageBreakUndoable(itemNo, true);
      caretOffs = GetItemStartOffset(itemNo);
    }
  } else if (itemNo > 0) {
    caretItem = itemNo - 1;
    caretOffs = GetItemEndOffset(caretItem);
  } else if (GetItemCount() > 0) {
    caretOffs = GetItemStartOffset(0);
  }
  ReformatAfterEdit(full, firstDraw, lastDraw, delta);
  if (lists.Count() > 0 && GetItemCount() > 0)
    RenumberLists(GetParaStartItem(ClampItemIndex(caretItem)), markerIndex, -1, lists);
  PlaceCaretAfterEdit(caretItem, caretOffs, true);
  NotifyChange();
  return true;
}

void TRPEditRPData::DeleteCharBackward(bool byWord, bool wholeChar, bool fromNextLine) {
  int32_t drawNo = -1, k = 0;
  int32_t i = CaretStopItemPos(*this, drawNo, k);
  if (i < 0) return;
  if (fromNextLine && drawNo + 1 < DrawItems.Count() && DrawItems[drawNo + 1]->ItemNo != i) k = GetItemEndOffset(i);
  if (IsItemParaReadOnly(i)) {
    Beep();
    return;
  }
  const bool atStart = k <= GetItemStartOffset(i);
  if (atStart && IsCaretAtLineStart()) {
    if (i == 0) return;
    if (IsFullLine(*this, i) || (IsFullLine(*this, i - 1) && !IsEmptyText(*this, i))) {
      MoveCaretLeft(false, false);
      return;
    }
  }
  if (atStart && Continues(*this, i) && !IsMarker(*this, i - 1)) {
    // At the start of a continuing item: the key acts at the end of the item before.
    SetCaretAtItemPos(i - 1, GetItemEndOffset(i - 1));
    DeleteCharBackward(byWord, wholeChar, true);
    return;
  }
  BeginUndoGroup(rpukDelete, true);
  int32_t firstDraw = -1, lastDraw = -1;
  CaretReformatRange(*this, firstDraw, lastDraw);
  const int32_t countBefore = GetItemCount();
  bool full = false;
  if (atStart) {
    int32_t caretItem = i, caretOffs = k;
    if (!BackspaceAtParagraphStart(*this, i, caretItem, caretOffs, full)) {
      Beep();
      return;
    }
    if (caretItem == -2) return;  // done and laid out by the step itself
    ReformatAfterEdit(full, firstDraw, lastDraw, GetItemCount() - countBefore);
    PlaceCaretAfterEdit(caretItem, caretOffs, true);
    NotifyChange();
    return;
  }
  const int32_t count = IsTextItem(i) ? CountBack(*this, i, k, byWord, wholeChar) : 1;
  const bool whole = IsTextItem(i) ? count >= GetItemLength(i) : true;
  if (whole) {
    TCustomRPItemInfo& item = *GetItem(i);
    if ((StartsNewLine(i) || IsMarker(*this, i - 1)) && !Continues(*this, i + 1)) {
      if (IsItemParaReadOnly(i) || IsItemProtected(i, rpprDeleteProtect)) {
        Beep();
        return;
      }
      const bool lineBreak = item.GetLineBreakBefore(), continued = item.GetContinuesLine();
      const bool pageBreak = item.GetPageBreakBefore();
      const TRPTag tag = item.StyleNo == CurTextStyleNo ? item.Tag : TRPTag();
      std::unique_ptr<TRPCPInfo> checkpoint = item.Checkpoint ? item.Checkpoint->CreateCopy() : nullptr;
      DeleteItemUndoable(i, full);
      bool step = false;
      InsertEmptyTextItem(i, tag, lineBreak, continued, CurTextStyleNo, CurParaStyleNo, step);
      if (pageBreak) SetPageBreakUndoable(i, true);
      if (checkpoint) AddCheckpointUndoable(i, std::move(checkpoint));
      ReformatAfterEdit(full || step, firstDraw, lastDraw, 0);
      PlaceCaretAfterEdit(i, 1, true);
      NotifyChange();
    } else {
      DeleteWholeItem(i);
    }
    return;
  }
  SetStateFlag(rpstBackspaceAsking, true);
  const bool canChange = CanChange();
  SetStateFlag(rpstBackspaceAsking, false);
  if (!canChange) return;
  if (IsItemProtected(i, rpprModifyProtect)) {
    Beep();
    return;
  }
  {
    // The word marks follow the text rather than vanish with the change.
    const TEditSpellingPause pause(*this);
    std::unique_ptr<TRPWordPainterList> marks = std::move(GetItem(i)->WordPainters);
    DeleteSubstringUndoable(i, k - count, count);
    GetItem(i)->WordPainters = std::move(marks);
    AdjustSpellingOnDelete(*this, i, k - count, count);
  }
  ReformatAfterEdit(GetCanvas() && GetParaMinWidth(i) >= MinDocWidth, firstDraw, lastDraw, 0);
  PlaceCaretAfterEdit(i, k - count, true);
  NotifyChange();
}

// --- Delete --------------------------------------------------------------------------------------

void TRPEditRPData::DeleteCharForward(bool /*byWord*/, bool /*fromPrevious*/) {
  int32_t drawNo = -1, k = 0;
  int32_t i = CaretStopItemPos(*this, drawNo, k);
  if (i < 0) return;
  if (IsItemParaReadOnly(i)) {
    Beep();
    return;
  }
  const bool atEnd = k >= GetItemEndOffset(i);
  if (atEnd && IsCaretAtLineEnd()) {
    if (IsFullLine(*this, i) || (IsFullLine(*this, i + 1) && !IsEmptyText(*this, i))) {
      MoveCaretRight(false, false);
      return;
    }
    if (i == GetItemCount() - 1 && IsEmptyText(*this, i)) {
      DeleteCharBackward(false, false, false);
      return;
    }
  }
  if (atEnd && Continues(*this, i + 1)) {
    // The line goes on with the next item: the key takes its first character.
    i = i + 1;
    k = GetItemStartOffset(i);
  }
  if (k < GetItemEndOffset(i)) {
    const int32_t next = IsTextItem(i) ? GetNextCharPos(i, k) : 1;
    SetCaretAtItemPos(i, next);
    // The stop must stand after the character in this item.
    if (CaretStopItemPos(*this, drawNo, k) != i) {
      int32_t d = -1, o = 0;
      ItemToDrawItemPos(i, next, d, o);
      CaretDrawItemNo = d;
      BuildCaretLine(o - 2);
    }
    DeleteCharBackward(false, true, false);
    return;
  }
  if (i + 1 >= GetItemCount()) return;
  if (!CanChange()) return;
  BeginUndoGroup(rpukDelete, true);
  int32_t firstDraw = -1, lastDraw = -1;
  CaretReformatRange(*this, firstDraw, lastDraw);
  if (lastDraw >= 0) {
    // The next paragraph is laid out again too.
    int32_t a = -1, b = -1;
    const int32_t nextDraw = GetItemFirstDrawItem(i + 1);
    if (nextDraw >= 0) {
      GetReformatRange(nextDraw, nextDraw, a, b);
      lastDraw = std::max(lastDraw, b);
    }
  }
  const int32_t countBefore = GetItemCount();
  bool full = false, step = false;
  int32_t caretItem = i, caretOffs = k;
  const int32_t next = i + 1;
  // A list marker taken away here moves the later numbers of its list.
  TRPIntegerList lists;
  int32_t markerIndex = -1, lastListItem = -1;
  CollectNumberedLists(i, next, lists, markerIndex, lastListItem, true);
  if (IsEmptyText(*this, i)) {
    if (IsItemProtected(i, rpprDeleteProtect) || HasPersistentCheckpoint(*GetItem(i))) {
      Beep();
      return;
    }
    if (IsMarker(*this, i - 1)) {
      if (IsItemProtected(i - 1, rpprDeleteProtect)) {
        Beep();
        return;
      }
      DeleteItemsUndoable(i - 1, i, full);
      caretItem = i - 1;
    } else {
      DeleteItemUndoable(i, full);
    }
    caretOffs = GetItemStartOffset(ClampItemIndex(caretItem));
  } else if (IsEmptyText(*this, next) && !Continues(*this, next + 1) && !IsMarker(*this, next - 1)) {
    if (IsItemProtected(next, rpprDeleteProtect) || IsItemParaReadOnly(next) ||
        HasPersistentCheckpoint(*GetItem(next))) {
      Beep();
      return;
    }
    DeleteItemUndoable(next, full);
  } else {
    if (IsItemParaReadOnly(next) || IsItemProtected(next, rpprParaStartProtect) ||
        HasPersistentCheckpointInPara(next)) {
      Beep();
      return;
    }
    if (IsMarker(*this, next)) {
      const int32_t paraNo = GetItemPara(i);
      DeleteItemUndoable(next, full);
      if (Continues(*this, next)) {
        SetParaRangeUndoable(next, ParagraphEnd(*this, next), step, paraNo);
        full = full || step;
      } else if (next < GetItemCount() && !StartsParagraph(next)) {
        // A line break after the marker: the line now continues this one.
        SetContinuesLineUndoable(next, true, step, -1);
        full = full || step;
      } else if (next < GetItemCount()) {
        SetContinuesLineUndoable(next, true, step, -1);
        full = full || step;
      }
    } else {
      SetContinuesLineUndoable(next, true, step, -1);
      full = full || step;
    }
    if (next < GetItemCount() && CanMergeItems(i, false)) JoinItems(i);
  }
  ReformatAfterEdit(full, firstDraw, lastDraw, GetItemCount() - countBefore);
  if (lists.Count() > 0 && GetItemCount() > 0)
    RenumberLists(GetParaStartItem(ClampItemIndex(std::min(caretItem, i))), markerIndex, -1, lists);
  PlaceCaretAfterEdit(caretItem, caretOffs, true);
  NotifyChange();
}

// --- Enter ---------------------------------------------------------------------------------------

bool RPKeepEmptyListItemsOnEnter = false;

namespace {

// Enter where the paragraph starts or ends: a new empty paragraph (or line).
bool NewEmptyParagraph(TRPEditRPData& data, int32_t i, int32_t k, bool softBreak, bool nested, bool atLineEnd) {
  if (data.IsItemProtected(i, rpprParaStartProtect)) {
    data.Beep();
    return false;
  }
  if (!softBreak && !nested && !RPKeepEmptyListItemsOnEnter && IsEmptyText(data, i) && IsMarker(data, i - 1)) {
    // Enter in an empty list item: the marker goes, then Enter again.
    data.BeginUndoGroup(rpukDelete, true);
    if (!data.DeleteWholeItem(i - 1)) return false;
    return data.InsertParagraphBreak(false, true);
  }
  TRPStyle* style = data.GetStyleSheet();
  const TCustomRPItemInfo& item = *data.GetItem(i);
  // A whole-line item (a table, a break) shares no line with another: beside one a soft
  // break starts a paragraph.
  if (item.GetBoolValue(rpibqWholeLine)) softBreak = false;
  if (style && atLineEnd && data.IsTextItem(i) && item.StyleNo == data.CurTextStyleNo &&
      style->TextStyles()[item.StyleNo]->NextStyleNo != -1)
    data.SetCurTextStyle(style->TextStyles()[item.StyleNo]->NextStyleNo);
  if (style && !softBreak && !(i + 1 < data.GetItemCount() && data.GetItem(i + 1)->GetLineBreakBefore())) {
    const int32_t next = style->ParaStyles()[item.ParaNo]->NextParaNo;
    if (data.IsItemParaReadOnly(i) || (atLineEnd && next != -1)) data.SetCurParaStyle(next < 0 ? 0 : next);
  }
  int32_t styleNo = data.CurTextStyleNo;
  if (style && (styleNo < 0 || styleNo >= style->TextStyles().Count() ||
                style->TextStyles()[styleNo]->Protection.Contains(rpprModifyProtect)))
    styleNo = 0;
  auto created = data.CreateTextItem(data.CurParaStyleNo, false, false, styleNo);
  const bool firstStop = data.IsCaretAtLineStart() && data.CaretPositions.Count() > 1;
  bool full = false, step = false;
  if (softBreak) {
    created->ParaNo = item.ParaNo;
    if (atLineEnd || !firstStop) {
      created->SetLineBreakBefore(true);
    } else {
      created->SetLineBreakBefore(item.GetLineBreakBefore());
    }
  }
  if (created->StyleNo == item.StyleNo) created->Tag = item.Tag;
  // The copy of a list marker (-1: none), whose list numbers move on.
  int32_t at = i, caretItem = i, added = 1, copiedMarker = -1;
  if (atLineEnd) {
    at = i + 1;
    if (!softBreak && created->ParaNo == item.ParaNo && data.CopyParaMarker(i, at, true, step)) {
      full = full || step;
      created->SetContinuesLine(true);
      copiedMarker = at;
      ++at;
      ++added;
    }
    caretItem = at;
  } else if (IsMarker(data, i - 1)) {
    created->SetContinuesLine(true);
    created->ParaNo = item.ParaNo;
  } else if (softBreak && !(atLineEnd || !firstStop)) {
    data.SetLineBreakUndoable(i, true, step);
    full = full || step;
  }
  const bool before = !atLineEnd;
  const bool afterMarker = before && IsMarker(data, i - 1);
  AnsiString none;
  data.InsertItemUndoable(at, none, step, false, std::move(created));
  full = full || step;
  if (before) {
    caretItem = at + 1;
    if (afterMarker) {
      if (!softBreak) {
        if (data.CopyParaMarker(at, caretItem, true, step)) {
          copiedMarker = caretItem;
          ++caretItem;
          ++added;
        }
        full = full || step;
      } else {
        data.SetContinuesLineUndoable(caretItem, false, step, -1);
        data.SetLineBreakUndoable(caretItem, true, step);
        full = full || step;
      }
    }
    if (data.GetItemCheckpoint(caretItem)) MoveCheckpoint(data, caretItem, at);
  }
  int32_t firstDraw = -1, lastDraw = -1;
  CaretReformatRange(data, firstDraw, lastDraw);
  data.ReformatAfterEdit(full, firstDraw, lastDraw, added);
  if (copiedMarker >= 0) data.RenumberListsInRange(copiedMarker, copiedMarker);
  data.PlaceCaretAfterEdit(caretItem, data.GetItemStartOffset(caretItem), true);
  data.NotifyChange();
  (void)k;
  return true;
}

}  // namespace

bool TRPEditRPData::InsertParagraphBreak(bool softBreak, bool nested) {
  int32_t drawNo = -1, k = 0;
  const int32_t i = CaretStopItemPos(*this, drawNo, k);
  if (i < 0) return false;
  if (IsParaOptionSet(GetItemPara(i), rppaoDoNotWantReturns)) {
    Beep();
    return false;
  }
  BeginUndoGroup(rpukNewParagraph, true);
  const bool atStart = k <= GetItemStartOffset(i);
  const bool atParaStart = atStart && IsCaretAtLineStart() && (i == 0 || StartsParagraph(i) || IsMarker(*this, i - 1));
  const bool atParaEnd = IsCaretAtLineEnd() && k >= GetItemEndOffset(i) && !Continues(*this, i + 1);
  if (atParaStart || atParaEnd) return NewEmptyParagraph(*this, i, k, softBreak, nested, atParaEnd);
  if (IsItemParaReadOnly(i)) {
    Beep();
    return false;
  }
  const bool noWrap = IsParaOptionSet(GetItemPara(i), rppaoNoWrap);
  const int32_t width = GetCanvas() ? GetParaMinWidth(i) : 0;
  int32_t firstDraw = -1, lastDraw = -1;
  CaretReformatRange(*this, firstDraw, lastDraw);
  bool full = false, step = false;
  int32_t caretItem = -1, added = 0, copiedMarker = -1;
  if (IsTextItem(i) && k > GetItemStartOffset(i) && k < GetItemEndOffset(i)) {
    if (IsItemProtected(i, rpprParaStartProtect) || IsItemProtected(i, rpprModifyProtect)) {
      Beep();
      return false;
    }
    const TCustomRPItemInfo& item = *GetItem(i);
    AnsiString tail = CopyItemText(GetItemTextRaw(i), k, GetItemLength(i) - k + 1, item.ItemOptions);
    auto like = CreateTextItemLike(item);
    like->SetContinuesLine(false);
    like->SetLineBreakBefore(softBreak);
    DeleteSubstringUndoable(i, k, -1);
    int32_t at = i + 1;
    if (!softBreak && CopyParaMarker(i, at, true, step)) {
      full = full || step;
      like->SetContinuesLine(true);
      copiedMarker = at;
      ++at;
      ++added;
    }
    InsertItemUndoable(at, tail, step, false, std::move(like));
    full = full || step;
    ++added;
    caretItem = at;
  } else {
    int32_t j = atStart ? i : i + 1;
    if (IsItemProtected(j, rpprParaStartProtect)) {
      Beep();
      return false;
    }
    if (softBreak) {
      SetContinuesLineUndoable(j, false, step, -1);
      full = full || step;
      SetLineBreakUndoable(j, true, step);
      full = full || step;
    } else if (CopyParaMarker(j, j, true, step)) {
      full = full || step;
      copiedMarker = j;
      ++j;
      ++added;
    } else {
      SetContinuesLineUndoable(j, false, step, -1);
      full = full || step;
    }
    full = full || (noWrap && width >= MinDocWidth);
    caretItem = j;
  }
  ReformatAfterEdit(full, firstDraw, lastDraw, added);
  if (copiedMarker >= 0) RenumberListsInRange(copiedMarker, copiedMarker);
  PlaceCaretAfterEdit(caretItem, GetItemStartOffset(caretItem), true);
  NotifyChange();
  return true;
}
