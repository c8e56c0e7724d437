// The editable document data applying styles: text style conversions over the selection
// (partly selected text items are split, neighbours joined again), paragraph styles, and
// the current styles kept right when unused styles leave the style sheet.
#include <algorithm>
#include <memory>

#include "platform/base/ScopeExit.h"
#include "richtext/edit/RPERPData.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"

namespace {

bool TextStyleHas(const TRPStyle* style, int32_t styleNo, TRPProtectOption option) {
  return style && styleNo >= 0 && styleNo < style->TextStyles().Count() &&
         style->TextStyles()[styleNo]->Protection.Contains(option);
}

// count characters (-1: all) of the item's stored text from character index on.
AnsiString StoredPart(const TRPEditRPData& data, int32_t itemNo, int32_t index, int32_t count) {
  const size_t unit = data.GetItem(itemNo)->IsUnicode() ? 2 : 1;
  const AnsiString& raw = data.GetItemTextRaw(itemNo);
  const size_t from = static_cast<size_t>(index - 1) * unit;
  if (from >= raw.size()) return {};
  return raw.substr(from, count < 0 ? AnsiString::npos : static_cast<size_t>(count) * unit);
}

// Stored text of style fromStyle in the stored form of style toStyle: to UTF-16 with the
// old style's code page, to 8 bits with the new style's.
AnsiString StoredTextFor(const TRPEditRPData& data, const AnsiString& raw, int32_t fromStyle, int32_t toStyle) {
  const IRPStyleSheet* sheet = data.GetRPStyle();
  if (!sheet) return raw;
  const bool fromUnicode = sheet->IsTextStyleUnicode(fromStyle);
  const bool toUnicode = sheet->IsTextStyleUnicode(toStyle);
  if (fromUnicode == toUnicode) return raw;
  return toUnicode ? AnsiToRawUnicode(data.GetStyleCodePage(fromStyle), raw)
                   : RawUnicodeToAnsi(data.GetStyleCodePage(toStyle), raw);
}

}  // namespace

int32_t TRPEditRPData::ConvertedTextStyle(int32_t styleNo, bool appliedToText, int32_t userData, int32_t paraNo) {
  int32_t result = styleNo;
  if (IRPEditorControl* editor = Editor()) editor->ConvertTextStyle(styleNo, appliedToText, result, userData, paraNo);
  return result;
}

void TRPEditRPData::ConvertAssociatedStyle(int32_t& styleNo, bool appliedToText, int32_t userData, int32_t paraNo,
                                           int32_t itemNo) {
  IRPEditorControl* editor = Editor();
  int32_t newStyle = styleNo;
  if (!editor || !editor->ConvertTextStyle(styleNo, appliedToText, newStyle, userData, paraNo)) return;
  if (newStyle == styleNo) return;
  ChangeAssociatedStyleNoUndoable(itemNo, newStyle);
  styleNo = newStyle;
}

// The draw items may name items that are gone: the caret is not looked for in them; the
// caller puts the caret and the selection back.
void TRPEditRPData::FormatAfterItemsChanged() {
  CaretDrawItemNo = -1;
  CaretIndex = -1;
  CaretPositions.Clear();
  ReformatKeepingView();
}

// --- Text styles ----------------------------------------------------------------------------------

namespace {

// The selection while a conversion splits and joins its items (item positions).
struct TStyleRange {
  int32_t StartNo, StartOffs, EndNo, EndOffs;
};

// What the conversion of one call shares.
class TTextStyleConversion {
public:
  TTextStyleConversion(TRPEditRPData& data, int32_t userData, int32_t mode)
      : FData(data),
        FUserData(userData),
        FMode(mode),
        FClearTag((data.GetEditorOptions() & rpoClearTagOnStyleApp) != 0) {}
  int32_t AddedItems = 0;

  // The new style of a text item; -1 when it keeps its style.
  int32_t NewStyleOf(int32_t itemNo) {
    const int32_t old = FData.GetItemStyle(itemNo);
    const int32_t result = FData.ConvertedTextStyle(old, true, FUserData, FData.GetItemPara(itemNo));
    return result == old ? -1 : result;
  }

  void ConvertWhole(int32_t itemNo) {
    if (!FData.IsTextItem(itemNo)) {
      FData.GetItem(itemNo)->ApplyStyleConversion(&FData, itemNo, FUserData, FMode);
      return;
    }
    const int32_t newStyle = NewStyleOf(itemNo);
    if (newStyle < 0) return;
    if (FClearTag) FData.SetTagUndoable(itemNo, TRPTag());
    const AnsiString text = StoredTextFor(FData, FData.GetItemTextRaw(itemNo), FData.GetItemStyle(itemNo), newStyle);
    // The text never stands in UTF-16 form with an odd length: to 8 bits the item leaves
    // its Unicode form first, to UTF-16 it takes it last (and undoing goes back the same
    // way).
    if (FData.GetItem(itemNo)->IsUnicode()) {
      FData.ChangeStyleNoUndoable(itemNo, newStyle);
      FData.ChangeTextUndoable(itemNo, text);
    } else {
      FData.ChangeTextUndoable(itemNo, text);
      FData.ChangeStyleNoUndoable(itemNo, newStyle);
    }
  }

  // The characters before endOffs take the new style as an item of their own before.
  void ConvertHead(int32_t itemNo, int32_t endOffs, TStyleRange& range) {
    const int32_t newStyle = NewStyleOf(itemNo);
    if (newStyle < 0) return;
    const AnsiString head = StoredPart(FData, itemNo, 1, endOffs - 1);
    FData.DeleteSubstringUndoable(itemNo, 1, endOffs - 1);
    if (head.empty()) return;
    InsertPiece(itemNo, itemNo, head, newStyle, true);
    range.EndNo = itemNo;
    range.EndOffs = FData.GetItemLength(itemNo) + 1;
  }

  // The characters from startOffs take the new style as an item of their own after.
  void ConvertTail(int32_t itemNo, int32_t startOffs, TStyleRange& range) {
    const int32_t newStyle = NewStyleOf(itemNo);
    if (newStyle < 0) return;
    const AnsiString tail = StoredPart(FData, itemNo, startOffs, -1);
    FData.DeleteSubstringUndoable(itemNo, startOffs, -1);
    if (tail.empty()) return;
    InsertPiece(itemNo, itemNo + 1, tail, newStyle, false);
    range.StartNo = itemNo;
    range.StartOffs = startOffs;
    if (range.EndNo == itemNo) {
      range.EndNo = itemNo + 1;
      range.EndOffs = range.EndOffs - startOffs + 1;
    } else {
      ++range.EndNo;
    }
  }

  // startOffs .. endOffs of one item take the new style; head and tail keep the old one.
  void ConvertMiddle(int32_t itemNo, int32_t startOffs, int32_t endOffs, TStyleRange& range) {
    if (NewStyleOf(itemNo) < 0) return;
    const int32_t oldStyle = FData.GetItem(itemNo)->StyleNo;
    const AnsiString head = StoredPart(FData, itemNo, 1, startOffs - 1);
    const AnsiString middle = StoredPart(FData, itemNo, startOffs, endOffs - startOffs);
    const AnsiString tail = StoredPart(FData, itemNo, endOffs, -1);
    FData.ChangeTextUndoable(itemNo, middle);
    if (!tail.empty()) InsertPiece(itemNo, itemNo + 1, tail, oldStyle, false, false);
    if (!head.empty()) {
      InsertPiece(itemNo, itemNo, head, oldStyle, true, false);
      ++itemNo;
    }
    if (FClearTag) FData.SetTagUndoable(itemNo, TRPTag());
    ConvertWhole(itemNo);
    range = {itemNo, 1, itemNo, FData.GetItemLength(itemNo) + 1};
  }

private:
  // A text item of style with the stored text raw (in the form of the source item's
  // resolved style) goes in at `at`, made like source: before it (taking its paragraph
  // start, line break, page break and checkpoint; source then continues its line) or
  // after it (continuing the line).
  void InsertPiece(int32_t source, int32_t at, const AnsiString& raw, int32_t style, bool before,
                   bool clearTag = true) {
    const TCustomRPItemInfo& from = *FData.GetItem(source);
    std::unique_ptr<TCustomRPItemInfo> item = GetTextItemClass()->Create(&FData);
    item->StyleNo = style;
    item->ParaNo = from.ParaNo;
    item->Tag = clearTag && FClearTag ? TRPTag() : from.Tag;
    item->Hint = from.Hint;
    const int32_t resolved = FData.ResolveStyleNo(style, from.ParaNo);
    const IRPStyleSheet* sheet = FData.GetRPStyle();
    item->ItemOptions = before ? from.ItemOptions : SetContinuesLineInOptions(from.ItemOptions, true);
    item->ItemOptions &= ~rpioUnicode;
    if (sheet && sheet->IsTextStyleUnicode(resolved)) item->ItemOptions |= rpioUnicode;
    AnsiString text = StoredTextFor(FData, raw, FData.GetItemStyle(source), resolved);
    bool fullReformat = false;
    FData.InsertItemUndoable(at, text, fullReformat, false, std::move(item));
    ++AddedItems;
    if (!before) return;
    // source is at + 1 now.
    FData.MoveCheckpointUndoable(at + 1, at);
    if (!FData.GetItem(at + 1)->GetContinuesLine()) FData.SetContinuesLineUndoable(at + 1, true, fullReformat, -1);
  }

  TRPEditRPData& FData;
  int32_t FUserData, FMode;
  bool FClearTag;
};

}  // namespace

void TRPEditRPData::ApplyTextStyleConversion(int32_t userData, int32_t mode, bool wholeParagraphs) {
  if (InplaceEditedItem) {
    InplaceEditedItem->ApplyStyleConversion(this, FindItemIndex(InplaceEditedItem), userData, mode);
    return;
  }
  const TRPStyle* style = GetStyleSheet();
  const int32_t resolvedCurrent = ResolveStyleNo(CurTextStyleNo, CurParaStyleNo);
  if (!TextStyleHas(style, resolvedCurrent, rpprDoNotAutoSwitch)) PrevTextStyleNo = resolvedCurrent;
  const int32_t newCurrent = ConvertedTextStyle(resolvedCurrent, false, userData, CurParaStyleNo);
  TTextStyleConversion conversion(*this, userData, mode);

  if (!wholeParagraphs && !SelectionExists(false)) {
    const int32_t caretItem = GetCaretItemNo();
    if (caretItem >= 0 && IsTextItem(caretItem) && GetItemTextRaw(caretItem).empty()) {
      BeginUndoGroup(rpukTextStyle, true);
      conversion.ConvertWhole(caretItem);
      ReformatKeepCaret(false, false, false, caretItem, false);
      SetCurTextStyle(newCurrent);
      UpdateCaret(false, false, true);
      NotifyChange();
    }
    SetCurTextStyle(newCurrent);
    return;
  }

  BeginUndoGroup(rpukTextStyle, true);
  TStyleRange range{};
  GetSelectionRangeOrCaret(range.StartNo, range.StartOffs, range.EndNo, range.EndOffs);
  const bool backward = !SelectionIsForward();
  if (wholeParagraphs) {
    range.StartNo = GetParaStartItem(range.StartNo);
    range.EndNo = LastItemOfParagraph(range.EndNo);
    range.StartOffs = GetItemStartOffset(range.StartNo);
    range.EndOffs = GetItemEndOffset(range.EndNo);
  }
  int32_t firstPara = GetParaStartItem(range.StartNo), lastPara = LastItemOfParagraph(range.EndNo);
  const int32_t oldWidth = RangeMinWidth(firstPara, lastPara);
  int32_t firstDraw = GetItemFirstDrawItem(firstPara);
  int32_t lastDraw = lastPara + 1 < GetItemCount() ? GetItemFirstDrawItem(lastPara + 1) - 1 : DrawItems.Count() - 1;

  const auto splitProtected = [&](int32_t itemNo) {
    return TextStyleHas(style, GetItemStyle(itemNo), rpprStyleSplitProtect);
  };
  if (range.StartNo != range.EndNo) {
    const int32_t last = range.EndNo, first = range.StartNo;
    if (!IsTextItem(last)) {
      if (range.EndOffs >= GetItemEndOffset(last)) conversion.ConvertWhole(last);
    } else if (splitProtected(last) || range.EndOffs >= GetItemEndOffset(last)) {
      conversion.ConvertWhole(last);
    } else if (range.EndOffs > 1) {
      conversion.ConvertHead(last, range.EndOffs, range);
    }
    for (int32_t i = last - 1; i > first; --i) conversion.ConvertWhole(i);
    if (!IsTextItem(first)) {
      if (range.StartOffs <= GetItemStartOffset(first)) conversion.ConvertWhole(first);
    } else if (splitProtected(first) || range.StartOffs <= 1) {
      conversion.ConvertWhole(first);
    } else if (range.StartOffs <= GetItemLength(first)) {
      conversion.ConvertTail(first, range.StartOffs, range);
    }
  } else {
    const int32_t item = range.StartNo;
    const bool fromStart = range.StartOffs <= GetItemStartOffset(item);
    const bool toEnd = range.EndOffs >= GetItemEndOffset(item);
    if (!IsTextItem(item) || splitProtected(item) || (fromStart && toEnd))
      conversion.ConvertWhole(item);
    else if (!fromStart && !toEnd)
      conversion.ConvertMiddle(item, range.StartOffs, range.EndOffs, range);
    else if (!fromStart)
      conversion.ConvertTail(item, range.StartOffs, range);
    else
      conversion.ConvertHead(item, range.EndOffs, range);
  }

  // Neighbours that may be joined are joined, from one past the range back to its second
  // item. A join can make one word of two: live spelling goes back to the item before
  // the range, which is checked again.
  if (GetItemCount() > 0) {
    const int32_t before = std::max(range.StartNo - 1, 0);
    ResetSpellCheckFrom(before, GetItemStartOffset(before), true);
  }
  for (int32_t i = std::min(range.EndNo + 1, GetItemCount() - 1); i > range.StartNo && i > 0; --i) {
    if (!IsTextItem(i - 1) || !IsTextItem(i) || !CanMergeItems(i - 1, false)) continue;
    const int32_t shift = GetItemLength(i - 1);
    JoinItems(i - 1);
    --conversion.AddedItems;
    if (range.EndNo == i) {
      range.EndNo = i - 1;
      range.EndOffs += shift;
    } else if (range.EndNo > i) {
      --range.EndNo;
    }
    if (range.StartNo == i) {
      range.StartNo = i - 1;
      range.StartOffs += shift;
    }
  }

  // The layout.
  SetStateFlag(rpstApplyingStyles, true);
  {
    const TScopeExit done([this] { SetStateFlag(rpstApplyingStyles, false); });
    lastPara = LastItemOfParagraph(range.EndNo);
    const bool full = DrawItems.Count() == 0 || firstDraw < 0 ||
                      WidthCrossing(oldWidth, RangeMinWidth(GetParaStartItem(range.StartNo), lastPara));
    if (full) {
      FormatAfterItemsChanged();
    } else {
      GetReformatRange(firstDraw, lastDraw, firstDraw, lastDraw);
      ReformatParagraphs(firstDraw, lastDraw, false, conversion.AddedItems);
    }
  }
  if (backward)
    SetSelectionBounds(range.EndNo, range.EndOffs, range.StartNo, range.StartOffs);
  else
    SetSelectionBounds(range.StartNo, range.StartOffs, range.EndNo, range.EndOffs);
  SetCaretAtItemPos(range.EndNo, range.EndOffs);
  SetCurTextStyle(newCurrent);
  UpdateCaret(false, false, true);
  InvalidateControl();
  NotifyChange();
}

// --- Paragraph styles ---------------------------------------------------------------------------

void TRPEditRPData::ApplyParaStyleConversion(int32_t value, int32_t mode) {
  if (InplaceEditedItem) {
    InplaceEditedItem->ApplyParaStyleConversion(value, mode);
    return;
  }
  if (GetItemCount() == 0) return;
  int32_t startNo = 0, startOffs = 0, endNo = 0, endOffs = 0;
  GetSelectionRangeOrCaret(startNo, startOffs, endNo, endOffs);
  if (startNo < 0 || endNo < 0) return;
  const bool selected = SelectionExists(false);
  int32_t selStart = -1, selStartOffs = 0, selEnd = -1, selEndOffs = 0;
  if (selected) GetSelectionBounds(selStart, selEnd, selStartOffs, selEndOffs, false);
  const int32_t caretItem = GetCaretItemNo(), caretOffs = GetCaretOffset();

  const int32_t first = GetParaStartItem(startNo), last = LastItemOfParagraph(endNo);
  int32_t contentFirst = startNo, contentLast = endNo;
  if (startNo < endNo && startOffs >= GetItemEndOffset(startNo)) ++contentFirst;
  if (endNo > startNo && endOffs <= GetItemStartOffset(endNo)) --contentLast;

  TRPIntegerList before;
  for (int32_t i = first; i <= last; ++i) before.Add(GetItemPara(i));
  int32_t firstDraw = DrawItems.Count() > 0 ? GetItemFirstDrawItem(first) : -1;
  int32_t lastDraw = last + 1 < GetItemCount() ? GetItemFirstDrawItem(last + 1) - 1 : DrawItems.Count() - 1;
  bool fullReformat = false;
  if (mode == 0) {
    SetParaRangeUndoable(first, last, fullReformat, value);
  } else {
    TRPIntegerList answers;
    IRPEditorControl* editor = Editor();
    for (int32_t i = first; i <= last; ++i) {
      int32_t paraNo = GetItemPara(i);
      if (editor) editor->ConvertParaStyle(GetItemPara(i), value, paraNo);
      answers.Add(paraNo);
    }
    RestoreParasUndoable(first, answers, fullReformat);
  }
  for (int32_t i = contentFirst; i <= contentLast; ++i) GetItem(i)->ApplyParaStyleConversion(value, mode);

  bool changed = false;
  for (int32_t i = first; i <= last && !changed; ++i) changed = GetItemPara(i) != before[i - first];
  if (changed && DrawItems.Count() > 0) {
    SetStateFlag(rpstApplyingStyles, true);
    {
      const TScopeExit done([this] { SetStateFlag(rpstApplyingStyles, false); });
      if (fullReformat || firstDraw < 0) {
        FormatAfterItemsChanged();
      } else {
        GetReformatRange(firstDraw, lastDraw, firstDraw, lastDraw);
        ReformatParagraphs(firstDraw, lastDraw, false, 0);
      }
    }
    if (selected) SetSelectionBounds(selStart, selStartOffs, selEnd, selEndOffs);
    InvalidateControl();
    SetCaretAtItemPos(caretItem, caretOffs);
  }
  UpdateCaret(true, false, false);
  NotifyChange();
}

// --- Current styles through style deletion ------------------------------------------------------

void TRPEditRPData::MarkItemStylesInUse(TRPStyleUsage& usage) const {
  TRichPaneRPData::MarkItemStylesInUse(usage);
  MarkedCurTextStyleNo = CurTextStyleNo == -1 ? -1 : ResolveStyleNo(CurTextStyleNo, CurParaStyleNo);
  if (MarkedCurTextStyleNo >= 0 && MarkedCurTextStyleNo < usage.TextStyles.Count())
    usage.TextStyles.SetItem(MarkedCurTextStyleNo, 1);
  if (CurParaStyleNo >= 0 && CurParaStyleNo < usage.ParaStyles.Count()) usage.ParaStyles.SetItem(CurParaStyleNo, 1);
}

void TRPEditRPData::RenumberItemStyles(const TRPStyleUsage& usage) {
  if (IRPEditorControl* editor = Editor()) editor->BeforeStylesRenumbered();
  const auto map = [](const TRPIntegerList& list, int32_t n) {
    return n >= 0 && n < list.Count() ? n + 1 - list[n] : n;
  };
  if (CurTextStyleNo != -1)
    CurTextStyleNo = map(usage.TextStyles, MarkedCurTextStyleNo >= 0 ? MarkedCurTextStyleNo : CurTextStyleNo);
  MarkedCurTextStyleNo = -1;
  if (PrevTextStyleNo >= 0 && PrevTextStyleNo < usage.TextStyles.Count())
    PrevTextStyleNo = usage.TextStyles[PrevTextStyleNo] <= 0 ? 0 : map(usage.TextStyles, PrevTextStyleNo);
  if (CurParaStyleNo != -1) CurParaStyleNo = map(usage.ParaStyles, CurParaStyleNo);
  if (!InplaceEditedItem && !Control().GetInplaceEditor()) {
    SetStateFlag(rpstNoStyleEvents, true);
    const TScopeExit done([this] { SetStateFlag(rpstNoStyleEvents, false); });
    SetCurTextStyle(CurTextStyleNo);
    SetCurParaStyle(CurParaStyleNo);
  }
  TRichPaneRPData::RenumberItemStyles(usage);
}
