// Insertion at the caret: one item, plain text cut into paragraphs, lines and tabs, the
// contents of a text file, and typed characters. Every change goes through the recorded
// steps; each operation ends with the touched paragraphs (or the whole document) laid out
// again and the caret placed.
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/base/FileSystem.h"
#include "platform/base/Streams.h"
#include "richtext/edit/RPERPData.h"
#include "richtext/edit/RPERPDataEditing.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"

namespace {

bool IsMarker(const TCustomRPData& data, int32_t i) {
  return i >= 0 && i < data.GetItemCount() && data.GetItem(i)->StyleNo == rpkindListMarker;
}

bool IsFullLine(const TCustomRPItemInfo& item) { return item.GetBoolValue(rpibqWholeLine); }

// An item starts a line: the item's start is taken over by one put before it.
void TakeOverLineStart(TCustomRPItemInfo& item, const TCustomRPItemInfo& from, bool copyLineBreak, int32_t& requested) {
  item.SetContinuesLine(false);
  const bool lineBreak = copyLineBreak && from.GetLineBreakBefore();
  item.SetLineBreakBefore(lineBreak);
  if (lineBreak) requested = -1;
  if (from.GetPageBreakBefore()) item.SetPageBreakBefore(true);
}

// A piece of plain text: how it begins, and a tab item instead of text.
enum class TPieceStart { Continue, NewLine, NewParagraph };
struct TTextPiece {
  AnsiString Text;  // stored form of the current text style
  TPieceStart Start = TPieceStart::Continue;
  bool PageBreak = false;
  bool Tab = false;
};

}  // namespace

// --- Small services ----------------------------------------------------------------------------

bool HasPersistentCheckpoint(const TCustomRPItemInfo& item) { return item.Checkpoint && item.Checkpoint->Persistent; }

bool TRPEditRPData::HasPersistentCheckpointInPara(int32_t itemNo) const {
  if (itemNo < 0 || itemNo >= GetItemCount()) return false;
  const int32_t first = GetParaStartItem(itemNo);
  for (int32_t i = first; i < GetItemCount() && (i == first || !StartsParagraph(i)); ++i)
    if (HasPersistentCheckpoint(*GetItem(i))) return true;
  return false;
}

void TRPEditRPData::RememberCaretTag() {
  RememberedCaretTag = TRPTag();
  if (CaretDrawItemNo < 0 || CaretDrawItemNo >= DrawItems.Count()) return;
  const int32_t itemNo = DrawItems[CaretDrawItemNo]->ItemNo;
  if (GetItem(itemNo)->StyleNo == CurTextStyleNo) RememberedCaretTag = GetItemTag(itemNo);
}

void TRPEditRPData::ForgetCaretTag() { RememberedCaretTag = TRPTag(); }

bool TRPEditRPData::CanChange() {
  IRPEditorControl* editor = Editor();
  return !editor || editor->CanChange();
}

void TRPEditRPData::NotifyChange() {
  if (IRPEditorControl* editor = Editor()) {
    editor->SetModified(true);
    editor->Change();
  }
  if ((GetState() & rpstKeepCaretTag) == 0) ForgetCaretTag();
  SetStateFlag(rpstKeepCaretTag, false);
}

int32_t ItemsMinWidth(TRPEditRPData& data, int32_t first, int32_t last) {
  TCanvas* canvas = data.GetCanvas();
  if (!canvas || !data.GetStyleSheet() || first < 0 || last < first || last >= data.GetItemCount()) return 0;
  return data.CalculateMinRangeWidth(first, last, *canvas);
}

int32_t CaretStopItemPos(TRPEditRPData& data, int32_t& drawNo, int32_t& offset) {
  drawNo = -1;
  offset = 0;
  if (data.DrawItems.Count() == 0 || data.CaretDrawItemNo < 0 || data.CaretIndex < 0 ||
      data.CaretIndex >= data.CaretPositions.Count())
    return -1;
  const TRPCharPos& pos = data.CaretPos();
  drawNo = pos.DrawItemNo;
  int32_t itemNo = -1;
  data.DrawItemToItemPos(drawNo, pos.Offset, itemNo, offset);
  return itemNo;
}

void CaretReformatRange(TRPEditRPData& data, int32_t& firstDraw, int32_t& lastDraw) {
  firstDraw = lastDraw = -1;
  if (data.DrawItems.Count() == 0 || data.CaretPositions.Count() == 0) return;
  firstDraw = data.CaretPositions[0].DrawItemNo;
  lastDraw = data.CaretPositions[data.CaretPositions.Count() - 1].DrawItemNo;
  data.GetReformatRange(firstDraw, lastDraw, firstDraw, lastDraw);
}

std::unique_ptr<TCustomRPItemInfo> CopyListMarker(TRPEditRPData& data, int32_t markerNo) {
  const auto& source = static_cast<const TRPMarkerItemInfo&>(*data.GetItem(markerNo));
  auto copy = TRPMarkerItemInfo::CreateEx(&data, source.ListNo, source.Level, source.StartFrom, false);
  copy->CopyPropertiesFrom(source);
  copy->Reset = false;
  copy->ItemOptions &= ~rpioPageBreakBefore;
  copy->Tag = source.Tag;
  return copy;
}

// --- Text item factories ---------------------------------------------------------------------

std::unique_ptr<TCustomRPItemInfo> TRPEditRPData::CreateTextItem(int32_t paraNo, bool lineBreak, bool continuesLine,
                                                                 int32_t styleNo) {
  auto item = CreateItemByStyleNo(styleNo, this);
  item->StyleNo = styleNo;
  item->ParaNo = paraNo;
  const TRPStyle* style = GetStyleSheet();
  const int32_t resolved = ResolveStyleNo(styleNo, paraNo);
  if (style && resolved >= 0 && resolved < style->TextStyles().Count() && style->TextStyles()[resolved]->Unicode)
    item->ItemOptions |= rpioUnicode;
  if (continuesLine)
    item->SetContinuesLine(true);
  else
    item->SetLineBreakBefore(lineBreak);
  return item;
}

std::unique_ptr<TCustomRPItemInfo> TRPEditRPData::CreateTextItemFrom(const TCustomRPItemInfo& source, bool lineBreak,
                                                                     bool continuesLine) {
  auto item = CreateItemByStyleNo(source.StyleNo, this);
  item->CopyPropertiesFrom(source);
  item->ItemOptions = source.ItemOptions & rpioUnicode;
  if (continuesLine)
    item->SetContinuesLine(true);
  else
    item->SetLineBreakBefore(lineBreak);
  return item;
}

std::unique_ptr<TCustomRPItemInfo> TRPEditRPData::CreateTextItemLike(const TCustomRPItemInfo& source) {
  auto item = CreateItemByStyleNo(source.StyleNo, this);
  item->CopyPropertiesFrom(source);
  item->ItemOptions = source.ItemOptions & rpioUnicode;
  if (source.GetContinuesLine()) item->SetContinuesLine(true);
  item->Tag = source.Tag;
  return item;
}

void TRPEditRPData::InsertNewTextItem(int32_t itemNo, AnsiString text, int32_t paraNo, bool lineBreak,
                                      bool continuesLine, int32_t styleNo, bool& fullReformat) {
  InsertItemUndoable(itemNo, text, fullReformat, false, CreateTextItem(paraNo, lineBreak, continuesLine, styleNo));
}

void TRPEditRPData::InsertTextItemFrom(int32_t itemNo, AnsiString text, const TCustomRPItemInfo& source, bool lineBreak,
                                       bool continuesLine, bool& fullReformat) {
  InsertItemUndoable(itemNo, text, fullReformat, false, CreateTextItemFrom(source, lineBreak, continuesLine));
}

void TRPEditRPData::InsertEmptyTextItem(int32_t itemNo, const TRPTag& tag, bool lineBreak, bool continuesLine,
                                        int32_t styleNo, int32_t paraNo, bool& fullReformat) {
  auto item = CreateTextItem(paraNo, lineBreak, continuesLine, styleNo);
  item->Tag = tag;
  AnsiString text;
  InsertItemUndoable(itemNo, text, fullReformat, false, std::move(item));
}

// --- One item at the caret -----------------------------------------------------------------------

bool TRPEditRPData::InsertItemAtCaretCore(std::unique_ptr<TCustomRPItemInfo>& item, AnsiString& text,
                                          int32_t& lastAffected, bool& fullReformat, int32_t& itemsAdded,
                                          int32_t& index) {
  lastAffected = -1;
  fullReformat = false;
  itemsAdded = 1;
  index = -1;
  const TRPStyle* style = GetStyleSheet();
  int32_t requested = -1;
  if (item->StartsParagraph() && style && item->ParaNo >= 0 && item->ParaNo < style->ParaStyles().Count())
    requested = item->ParaNo;
  const bool newFullLine = IsFullLine(*item);
  const bool newPersistent = HasPersistentCheckpoint(*item);
  const bool newMarker = item->StyleNo == rpkindListMarker;
  const bool newText = item->StyleNo >= 0;
  const auto refuse = [&] {
    item.reset();
    return false;
  };
  const auto drop = [&] {
    item.reset();
    return true;
  };

  int32_t drawNo = -1, offs = 0;
  const int32_t caretItem = CaretStopItemPos(*this, drawNo, offs);
  if (caretItem < 0 || newFullLine || newPersistent || newMarker) {
    item->SetContinuesLine(false);
    item->SetLineBreakBefore(false);
    item->ParaNo = CurParaStyleNo;
  } else {
    item->SetContinuesLine(true);
    item->ParaNo = GetItemPara(caretItem);
  }
  if (IsParaOptionSet(item->ParaNo, rppaoReadOnly)) return refuse();
  if (newText && item->Tag == TRPTag() && item->StyleNo == CurTextStyleNo) item->Tag = RememberedCaretTag;

  bool full = false;
  if (caretItem < 0) {
    index = GetItemCount();
  } else {
    const int32_t i = caretItem;
    TCustomRPItemInfo& existing = *GetItem(i);
    if (!IsTextItem(i)) {
      if (newMarker) return drop();
      if (offs != 0) {
        index = i + 1;
        requested = -1;
        if (IsFullLine(existing)) item->SetContinuesLine(false);
      } else {
        index = i;
        if (existing.GetContinuesLine()) {
          requested = -1;
          if (IsMarker(*this, i - 1) && (newFullLine || (newPersistent && HasPersistentCheckpoint(*GetItem(i - 1))))) {
            InsertEmptyTextItem(i, RememberedCaretTag, false, true, CurTextStyleNo, existing.ParaNo, full);
            fullReformat = fullReformat || full;
            ++index;
            ++itemsAdded;
          }
        } else {
          TakeOverLineStart(*item, existing, true, requested);
          SetContinuesLineUndoable(i, true, full, -1);
          fullReformat = fullReformat || full;
        }
      }
    } else if (GetItemLength(i) == 0) {
      if (IsInsertionBlocked(i - 1, false) || IsInsertionBlocked(i, false)) return refuse();
      if (IsMarker(*this, i - 1) && (newFullLine || (newPersistent && HasPersistentCheckpointInPara(i)))) {
        index = i + 1;
      } else {
        if (newMarker) {
          // A numbered list continues the list of the previous paragraph's marker when
          // both list styles are alike.
          auto& marker = static_cast<TRPMarkerItemInfo&>(*item);
          const int32_t paraStart = GetParaStartItem(i);
          if (style && marker.ListNo >= 0 && marker.ListNo < style->ListStyles().Count() &&
              style->ListStyles()[marker.ListNo]->HasNumbering() && paraStart > 0) {
            const int32_t previous = GetParaStartItem(paraStart - 1);
            if (IsMarker(*this, previous)) {
              const auto& before = static_cast<const TRPMarkerItemInfo&>(*GetItem(previous));
              if (before.ListNo >= 0 && before.ListNo < style->ListStyles().Count() &&
                  style->ListStyles()[before.ListNo]->IsSimpleEqual(*style->ListStyles()[marker.ListNo], true, true))
                marker.ListNo = before.ListNo;
            }
          }
        }
        if (StartsNewLine(i)) {
          TakeOverLineStart(*item, existing, !newMarker, requested);
          item->ParaNo = CurParaStyleNo;
        } else {
          item->SetContinuesLine(true);
          item->ParaNo = existing.ParaNo;
        }
        DeleteItemUndoable(i, full);
        fullReformat = fullReformat || full;
        index = i;
        --itemsAdded;
        if (newMarker && IsMarker(*this, index - 1)) {
          DeleteItemUndoable(index - 1, full);
          fullReformat = fullReformat || full;
          --index;
          --itemsAdded;
        }
      }
    } else {
      if (newMarker) return drop();
      const int32_t length = GetItemLength(i);
      const bool afterMarker = offs == 1 && IsMarker(*this, i - 1) &&
                               (newFullLine || (newPersistent && HasPersistentCheckpoint(*GetItem(i - 1))));
      if (offs > 1 || afterMarker) {
        if (offs == length + 1) {
          if (IsInsertionBlocked(i, false)) return refuse();
          index = i + 1;
          requested = -1;
          if (newText && item->Tag == TRPTag() && item->StyleNo == existing.StyleNo) item->Tag = existing.Tag;
        } else {
          if (IsItemProtected(i, rpprModifyProtect)) return refuse();
          AnsiString tail = CopyItemText(GetItemTextRaw(i), offs, length - offs + 1, existing.ItemOptions);
          auto like = CreateTextItemLike(existing);
          like->SetContinuesLine(true);
          DeleteSubstringUndoable(i, offs, -1);
          InsertItemUndoable(i + 1, tail, full, false, std::move(like));
          fullReformat = fullReformat || full;
          ResetSpellCheckFrom(i, offs, true);
          index = i + 1;
          ++itemsAdded;
        }
      } else {
        index = i;
        if (IsInsertionBlocked(i - 1, false)) return refuse();
        if (newFullLine || existing.GetContinuesLine()) requested = -1;
        if (StartsNewLine(i)) {
          TakeOverLineStart(*item, existing, true, requested);
          SetContinuesLineUndoable(i, true, full, -1);
          fullReformat = fullReformat || full;
        }
      }
    }
  }

  if (IsMarker(*this, index - 1)) item->SetContinuesLine(true);
  if (newFullLine && index < GetItemCount()) {
    if (!StartsParagraph(index)) SetContinuesLineUndoable(index, false, full, -1);
    fullReformat = fullReformat || full;
    SetLineBreakUndoable(index, false, full);
    fullReformat = fullReformat || full;
  }
  if (item->StyleNo == rpkindBreak) item->ParaNo = 0;
  const bool isBreak = item->StyleNo == rpkindBreak;
  InsertItemUndoable(index, text, full, false, std::move(item));
  fullReformat = fullReformat || full;
  if (index + 1 < GetItemCount() && HasPersistentCheckpoint(*GetItem(index + 1)))
    MoveCheckpointOffItem(index + 1, false);
  if (requested >= 0 && requested != GetItemPara(index) && !isBreak) {
    int32_t first = GetParaStartItem(index), last = LastItemOfParagraph(index);
    SetParaRangeUndoable(first, last, full, requested);
    fullReformat = fullReformat || full;
  }
  if (index + 1 < GetItemCount() && GetItem(index + 1)->GetContinuesLine() &&
      HasPersistentCheckpoint(*GetItem(index + 1))) {
    SetContinuesLineUndoable(index + 1, false, full, -1);
    fullReformat = fullReformat || full;
  }
  ResetSpellCheckFrom(index, GetItemStartOffset(index), true);
  lastAffected = std::max(lastAffected, index + std::max(itemsAdded, 0));
  return true;
}

bool TRPEditRPData::InsertItemAtCaret(std::unique_ptr<TCustomRPItemInfo> item, AnsiString& text,
                                      bool caretAtItemStart) {
  if (Control().GetInplaceEditor()) {
    Beep();
    return false;
  }
  if (item->StyleNo != rpkindBreak && !HasPersistentCheckpoint(*item)) item->ParaNo = CurParaStyleNo;
  int32_t firstDraw = -1, lastDraw = -1;
  CaretReformatRange(*this, firstDraw, lastDraw);
  const bool isText = item->StyleNo >= 0;
  int32_t lastAffected = -1, itemsAdded = 0, index = -1;
  bool fullReformat = false;
  if (!InsertItemAtCaretCore(item, text, lastAffected, fullReformat, itemsAdded, index)) {
    Beep();
    return false;
  }
  if (index < 0 && itemsAdded == 1) return true;  // dropped
  const bool wider = GetStyleSheet() && GetCanvas() && GetParaMinWidth(index) > MinDocWidth;
  ReformatAfterEdit(fullReformat || wider, firstDraw, lastDraw, itemsAdded);
  const int32_t length = GetItemLength(index);
  const int32_t offset = caretAtItemStart ? (isText ? 1 : 0) : (isText ? length + 1 : 1);
  PlaceCaretAfterEdit(index, offset, true);
  return true;
}

bool TRPEditRPData::InsertTextAsItem(AnsiString& text, int32_t styleNo, bool caretAtItemStart) {
  auto item = CreateTextItem(CurParaStyleNo, false, false, styleNo);
  return InsertItemAtCaret(std::move(item), text, caretAtItemStart);
}

bool TRPEditRPData::InsertItem(int32_t& itemNo, AnsiString& text, int32_t& lastAffected, bool& fullReformat,
                               bool atCaret, std::unique_ptr<TCustomRPItemInfo>& item) {
  lastAffected = -1;
  fullReformat = false;
  if (!atCaret) {
    const bool inserted = TCustomRPData::InsertItem(itemNo, text, std::move(item));
    lastAffected = itemNo;
    return inserted;
  }
  int32_t itemsAdded = 0;
  const bool inserted = InsertItemAtCaretCore(item, text, lastAffected, fullReformat, itemsAdded, itemNo);
  InsertedThroughEditing = true;
  if (!inserted) Beep();
  return inserted;
}

// --- Layout after an edit ---------------------------------------------------------------------

bool TRPEditRPData::ReformatAfterEdit(bool checkDocWidth, int32_t firstDraw, int32_t lastDraw, int32_t itemDelta) {
  TCanvas* canvas = GetCanvas();
  bool whole = firstDraw < 0 || lastDraw < firstDraw || DrawItems.Count() == 0 || !canvas || GetItemCount() == 0;
  if (!whole && checkDocWidth) whole = CalculateMinDocWidth(nullptr, *canvas) != MinDocWidth;
  if (whole) {
    FormatDocument();
    InvalidateControl();
    return true;
  }
  ReformatParagraphs(firstDraw, lastDraw, false, itemDelta);
  InvalidateControl();
  return false;
}

// --- Plain text ------------------------------------------------------------------------------

namespace {

// Cuts text (8-bit or UTF-16 units widened) into pieces.
std::vector<TTextPiece> CutText(const std::u16string& units, bool unicode, bool tabsAsItems, int32_t spacesInTab,
                                bool pageBreaks) {
  std::vector<TTextPiece> pieces(1);
  std::u16string current;
  std::vector<std::u16string> texts;
  const auto close = [&](TPieceStart next, bool pageBreak, bool tab) {
    texts.push_back(current);
    current.clear();
    TTextPiece piece;
    piece.Start = next;
    piece.PageBreak = pageBreak;
    piece.Tab = tab;
    pieces.push_back(piece);
  };
  for (size_t at = 0; at < units.size(); ++at) {
    const char16_t c = units[at];
    const auto pairWith = [&](char16_t other) {
      if (at + 1 < units.size() && units[at + 1] == other) ++at;
    };
    if (c == 9) {
      if (!tabsAsItems) {
        current.append(static_cast<size_t>(spacesInTab), u' ');
        continue;
      }
      close(TPieceStart::Continue, false, true);
      close(TPieceStart::Continue, false, false);
    } else if (c == 13) {
      pairWith(10);
      close(TPieceStart::NewParagraph, false, false);
    } else if (c == 10) {
      pairWith(13);
      close(TPieceStart::NewParagraph, false, false);
    } else if (c == 12) {
      close(TPieceStart::NewParagraph, pageBreaks, false);
    } else if (unicode && (c == 11 || c == 0x2028)) {
      close(TPieceStart::NewLine, false, false);
    } else if (unicode && c == 0x2029) {
      close(TPieceStart::NewParagraph, false, false);
    } else {
      current.push_back(c);
    }
  }
  texts.push_back(current);
  for (size_t k = 0; k < pieces.size(); ++k) pieces[k].Text = WideToRawUnicode(texts[k]);
  return pieces;
}

// The last step of a text insertion: the pieces after the first recorded as one step,
// the ends joined to their neighbours, the layout and the caret.
void FinishTextInsertion(TRPEditRPData& data, int32_t first, int32_t last, bool caretAtStart, bool fullReformat,
                         int32_t firstDraw, int32_t lastDraw, int32_t added) {
  bool full = false;
  if (last > first) {
    TRPUndoInsertItemsInfo* record = data.AddInsertItemsRecord(first + 1, last - first);
    data.AfterInsertItems(first + 1, last - first, full, record);
    fullReformat = fullReformat || full;
  }
  added += last - first;
  int32_t offset = caretAtStart ? data.GetItemStartOffset(first) : data.GetItemEndOffset(last);
  int32_t caretItem = caretAtStart ? first : last;
  if (last + 1 < data.GetItemCount() && data.CanMergeItems(last, false)) {
    data.JoinItems(last);
    --added;
  }
  if (first > 0 && data.CanMergeItems(first - 1, false)) {
    const int32_t previousLength = data.GetItemLength(first - 1);
    const bool single = first == last;
    data.JoinItems(first - 1);
    --added;
    if (caretAtStart || single) offset += previousLength;
    if (caretItem >= first) --caretItem;
    --first;
    --last;
  }
  caretItem = data.ClampItemIndex(caretItem);
  const bool wider = data.GetStyleSheet() && data.GetCanvas() &&
                     ItemsMinWidth(data, data.ClampItemIndex(first), data.ClampItemIndex(last)) > data.MinDocWidth;
  data.ReformatAfterEdit(fullReformat || wider, firstDraw, lastDraw, added);
  // Paragraphs added to a numbered list move the numbers of its later paragraphs.
  first = data.ClampItemIndex(first);
  if (IsMarker(data, data.GetParaStartItem(first))) data.RenumberListsInRange(first, data.ClampItemIndex(last));
  data.PlaceCaretAfterEdit(caretItem, offset, true);
}

// The pieces put in as items: the first at the caret with its own record, the rest
// directly after it with one record for them all, then joined to their neighbours.
void InsertTextPieces(TRPEditRPData& data, std::vector<TTextPiece> pieces, bool caretAtStart) {
  const int32_t styleNo = data.CurTextStyleNo;
  const TRPStyle* style = data.GetStyleSheet();
  const bool unicode =
      style && styleNo >= 0 && styleNo < style->TextStyles().Count() && style->TextStyles()[styleNo]->Unicode;
  const uint32_t codePage = data.GetStyleCodePage(styleNo);
  int32_t firstDraw = -1, lastDraw = -1;
  CaretReformatRange(data, firstDraw, lastDraw);
  int32_t first = -1, at = -1, listMarker = -1, added = 0;
  bool fullReformat = false;
  for (TTextPiece& piece : pieces) {
    std::unique_ptr<TCustomRPItemInfo> item;
    AnsiString text;
    if (piece.Tab) {
      item = CreateItemByStyleNo(rpkindTab, &data);
      item->SetAssociatedTextStyleNo(styleNo);
      item->ParaNo = data.CurParaStyleNo;
    } else {
      item = data.CreateTextItem(data.CurParaStyleNo, false, false, styleNo);
      text = unicode ? piece.Text : RawUnicodeToAnsi(codePage, piece.Text);
    }
    if (first < 0) {
      if (piece.PageBreak) item->SetPageBreakBefore(true);
      int32_t lastAffected = -1, itemsAdded = 0;
      bool full = false;
      if (!data.InsertItemAtCaretCore(item, text, lastAffected, full, itemsAdded, first)) {
        data.Beep();
        return;
      }
      fullReformat = fullReformat || full;
      added += itemsAdded;
      const int32_t start = data.GetParaStartItem(first);
      if (IsMarker(data, start)) listMarker = start;
      at = first + 1;
      continue;
    }
    if (piece.Start == TPieceStart::NewParagraph) {
      if (listMarker >= 0) {
        auto marker = CopyListMarker(data, listMarker);
        marker->ParaNo = data.CurParaStyleNo;
        if (piece.PageBreak) marker->SetPageBreakBefore(true);
        AnsiString none;
        data.TCustomRPData::InsertItem(at++, none, std::move(marker));
        item->SetContinuesLine(true);
      } else if (piece.PageBreak) {
        item->SetPageBreakBefore(true);
      }
    } else if (piece.Start == TPieceStart::NewLine) {
      item->SetLineBreakBefore(true);
    } else {
      item->SetContinuesLine(true);
    }
    data.TCustomRPData::InsertItem(at++, text, std::move(item));
  }
  FinishTextInsertion(data, first, at - 1, caretAtStart, fullReformat, firstDraw, lastDraw, added);
}

}  // namespace

void TRPEditRPData::InsertAnsiText(const AnsiString& text, bool caretAtStart) {
  if (text.empty()) {
    InvalidateControl();
    return;
  }
  const WideString wide = [&] {
    const uint32_t codePage = GetStyleCodePage(CurTextStyleNo);
    return RawUnicodeToWide(AnsiToRawUnicode(codePage, text));
  }();
  // 8-bit text keeps VT as a character: the cut treats VT as a line only for UTF-16.
  const TRPStyle* style = GetStyleSheet();
  const int32_t spaces = style ? style->SpacesInTab : 0;
  InsertTextPieces(*this, CutText(wide, false, spaces < 1, spaces, AcceptsPageBreaks()), caretAtStart);
}

void TRPEditRPData::InsertUnicodeText(const AnsiString& rawText, bool caretAtStart) {
  CheckUnicodeByteLength(rawText.size());
  if (rawText.empty()) {
    InvalidateControl();
    return;
  }
  WideString wide = RawUnicodeToWide(rawText);
  const WideChar* start = SkipByteOrderMark(wide.data(), static_cast<int32_t>(wide.size()));
  wide.erase(0, static_cast<size_t>(start - wide.data()));
  const TRPStyle* style = GetStyleSheet();
  const int32_t spaces = style ? style->SpacesInTab : 0;
  InsertTextPieces(*this, CutText(wide, true, spaces < 1, spaces, AcceptsPageBreaks()), caretAtStart);
}

// --- Files and streams -------------------------------------------------------------------------

bool TRPEditRPData::InsertTextFromStream(TStream& stream, bool fromOEM, bool caretAtStart) {
  const int64_t rest = stream.Size() - stream.Position();
  if (rest <= 0) return true;
  AnsiString text(static_cast<size_t>(rest), '\0');
  const int32_t read = stream.Read(text.data(), static_cast<int32_t>(rest));
  text.resize(static_cast<size_t>(std::max(read, 0)));
  std::replace(text.begin(), text.end(), '\0', '?');
  if (fromOEM && !text.empty()) {
    const int32_t size = static_cast<int32_t>(text.size());
    WideString wide(static_cast<size_t>(size), u'\0');
    const int32_t units = MultiByteToWideChar(CP_OEMCP, 0, text.data(), size, wide.data(), size);
    wide.resize(static_cast<size_t>(units));
    AnsiString converted(static_cast<size_t>(units) * 4 + 1, '\0');
    const int32_t bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), units, converted.data(),
                                              static_cast<int32_t>(converted.size()), nullptr, nullptr);
    converted.resize(static_cast<size_t>(std::max(bytes, 0)));
    text = converted;
  }
  try {
    InsertAnsiText(text, caretAtStart);
  } catch (const Exception&) {
    return false;
  }
  return true;
}

bool TRPEditRPData::InsertTextFromFile(const WideString& fileName, bool fromOEM, bool caretAtStart) {
  std::unique_ptr<TFileStream> stream;
  try {
    stream = std::make_unique<TFileStream>(fileName, fmOpenRead | fmShareDenyWrite);
  } catch (const Exception&) {
    return false;
  }
  return InsertTextFromStream(*stream, fromOEM, caretAtStart);
}

// --- Typing -----------------------------------------------------------------------------------

void TRPEditRPData::TypeText(const AnsiString& text, uint16_t /*keyCode*/) {
  const TRPStyle* style = GetStyleSheet();
  if (!style || Control().GetInplaceEditor() || !CanDeleteSelection() || text.empty()) {
    Beep();
    return;
  }
  const bool unicode = CurTextStyleNo >= 0 && CurTextStyleNo < style->TextStyles().Count() &&
                       style->TextStyles()[CurTextStyleNo]->Unicode;
  const int32_t length = static_cast<int32_t>(unicode ? text.size() / 2 : text.size());
  int32_t drawNo = -1, offs = 0;
  int32_t itemNo = CaretStopItemPos(*this, drawNo, offs);
  if (itemNo < 0 || IsItemParaReadOnly(itemNo)) {
    Beep();
    return;
  }
  // The target: the caret item in the current style, or the next item of the line at its
  // start; else a new item.
  int32_t target = -1, position = 0;
  if (IsTextItem(itemNo) && GetItem(itemNo)->StyleNo == CurTextStyleNo) {
    target = itemNo;
    position = offs;
  } else if (offs == GetItemEndOffset(itemNo) && drawNo + 1 < DrawItems.Count()) {
    const int32_t next = DrawItems[drawNo + 1]->ItemNo;
    if (next != itemNo && GetItem(next)->GetContinuesLine() && IsTextItem(next) &&
        GetItem(next)->StyleNo == CurTextStyleNo) {
      target = next;
      position = 1;
    }
  }
  if (target >= 0) {
    if (IsItemProtected(target, rpprConcateProtect)) {
      target = -1;
    } else if (IsItemProtected(target, rpprModifyProtect)) {
      if (position > 1 && position < GetItemEndOffset(target)) {
        Beep();
        return;
      }
      target = -1;
    }
  }
  if (target < 0) {
    if (!CanChange()) return;
    BeginUndoGroup(rpukInsert, true);
    AnsiString copy = text;
    InsertTextAsItem(copy, CurTextStyleNo, false);
    InvalidateControl();
    NotifyChange();
    return;
  }
  int32_t firstDraw = -1, lastDraw = -1;
  CaretReformatRange(*this, firstDraw, lastDraw);
  TCustomRPItemInfo& item = *GetItem(target);
  if (length == 1) {
    UndoList->AddTyping(target, position, item.IsUnicode());
    AnsiString stored = GetItemTextRaw(target);
    InsertItemText(text, stored, position, item.ItemOptions);
    const WideChar typed = unicode ? RawUnicodeToWide(text)[0] : static_cast<WideChar>(static_cast<uint8_t>(text[0]));
    const TEditSpellingPause pause(*this);
    ItemAction(rpiaTextModifying, &item, stored);
    SetItemTextKeepingMarks(target, std::move(stored));
    AdjustSpellingOnInsert(*this, target, position, typed);
  } else {
    BeginUndoGroup(rpukNewParagraph, true);
    InsertSubstringUndoable(target, position, text);
  }
  const bool wider = GetCanvas() && GetParaMinWidth(target) > MinDocWidth;
  ReformatAfterEdit(wider, firstDraw, lastDraw, 0);
  PlaceCaretAfterEdit(target, position + length, false);
  NotifyChange();
}

void TRPEditRPData::TypeAnsiChar(char key) {
  const TRPStyle* style = GetStyleSheet();
  if (!style || Control().GetInplaceEditor() || !CanDeleteSelection()) {
    Beep();
    return;
  }
  const bool unicode = CurTextStyleNo >= 0 && CurTextStyleNo < style->TextStyles().Count() &&
                       style->TextStyles()[CurTextStyleNo]->Unicode;
  if (!unicode) {
    TypeText(AnsiString(1, key), static_cast<uint8_t>(key));
    return;
  }
  const AnsiString typed = KeyboardAnsiToRawUnicode(AnsiString(1, key));
  if (!typed.empty()) TypeText(typed, static_cast<uint8_t>(key));
}
