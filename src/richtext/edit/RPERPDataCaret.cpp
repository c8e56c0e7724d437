// The caret: the stops of the caret's line, showing the window's caret, the caret
// queries and the selection's glue to the caret.
//
// The stops of a line, in line order: a leading stop before the line's first draw item
// (none before an empty text item: its one stop is its end), a stop after every whole
// character of text draw items but the last, and a trailing stop after every draw item
// (which is also the place before the next one). Text with a direction takes its stops'
// x from character placement instead, a stop per character boundary.
#include <algorithm>
#include <vector>

#include "platform/base/StringTypes.h"
#include "richtext/edit/RPERPData.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/model/RPUnicodeCanvas.h"

namespace {

// Marks a caret index that BuildCaretLine has not found yet.
constexpr int32_t CaretNotFound = 100000;

}  // namespace

AnsiString TRPEditRPData::PrepareDrawText(int32_t drawNo) {
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  const TCustomRPItemInfo& item = *GetItem(d.ItemNo);
  const int32_t textStyle = GetItemStyle(d.ItemNo);
  TRPStyle& style = *GetStyleSheet();
  if (TCanvas* canvas = GetCanvas())
    style.ApplyStyle(*canvas, textStyle, GetParaBiDiMode(item.ParaNo), HasFlag(rpdfUseCollectionPPI));
  AnsiString shown;
  DrawItems.GetSubString(drawNo, *this, shown);
  return PrepareDisplayText(shown, item.ItemOptions, style.TextStyles()[textStyle]->StyleEx.Contains(rpfsAllCaps),
                            false, false, false);
}

void TRPEditRPData::AddPlainStops(int32_t drawNo, int32_t firstOfLine, int32_t hint) {
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  const TCustomRPItemInfo& item = *GetItem(d.ItemNo);
  const bool text = IsTextItem(d.ItemNo);
  const bool rightToLeft = GetEffectiveParaBiDiMode(d.ItemNo) == rpbdRightToLeft;
  const bool caretHere = drawNo == CaretDrawItemNo;
  const auto add = [&](int32_t offset, int32_t x, int32_t shift) {
    TRPCharPos& pos = CaretPositions.AddPos();
    pos.DrawItemNo = drawNo;
    pos.Offset = offset;
    pos.X = x;
    pos.CaretShift = shift;
    return CaretPositions.Count() - 1;
  };

  if (drawNo == firstOfLine && !(text && d.Length == 0)) {
    const int32_t index = !text && rightToLeft ? add(0, d.Left + d.Width, 2) : add(text ? 1 : 0, d.Left, 1);
    if (caretHere && hint < 0) CaretIndex = index;
  }

  int32_t fit = 0;
  bool trailingWanted = false;
  TCanvas* canvas = GetCanvas();
  if (text && d.Length > 0 && canvas) {
    const AnsiString shown = PrepareDrawText(drawNo);
    std::vector<int32_t> extents(static_cast<size_t>(d.Length), 0);
    TSize size{};
    MeasureTextFit(canvas, shown, d.Length, size, item.ItemOptions, extents.data(), fit, 10 * d.Width);
    const int32_t base = d.Left + d.JustifyExtra;
    const auto extentAt = [&](int32_t i) {
      return base + extents[static_cast<size_t>(std::clamp(i, 0, d.Length - 1))];
    };
    if (item.IsUnicode()) {
      // Whole characters: a stop after each character's first unit, moved to the
      // character's end when the next character starts more than one unit later.
      const WideString wide = RawUnicodeToWide(shown);
      const WideChar* start = wide.c_str();
      const WideChar* end = start + wide.size();
      int32_t prevStart = -1, prevIndex = -1;
      for (const WideChar* p = start; p < end;) {
        const int32_t o = static_cast<int32_t>(p - start);
        if (prevIndex >= 0 && o - prevStart > 1) {
          CaretPositions[prevIndex].Offset = o + 1;
          CaretPositions[prevIndex].X = extentAt(o - 1);
        }
        const int32_t index = add(o + 2, extentAt(o), 1);
        if (caretHere) {
          if (hint == o)
            CaretIndex = index;
          else if (prevIndex >= 0 && hint > prevStart && hint < o)
            CaretIndex = prevIndex;
        }
        prevStart = o;
        prevIndex = index;
        const WideChar* next = CharNextW(p);
        p = next > p ? next : p + 1;  // an embedded zero is a character of its own
      }
      // The stop after the last character is the trailing stop, added below.
      if (prevIndex >= 0) {
        if (caretHere && (CaretIndex == prevIndex || hint > prevStart)) trailingWanted = true;
        if (CaretIndex == prevIndex) CaretIndex = CaretNotFound;
        CaretPositions.Delete(prevIndex);
      }
      fit = std::min(fit, prevStart + 1);
    } else {
      for (int32_t i = 0; i <= fit - 2; ++i) {
        const int32_t index = add(i + 2, extentAt(i), 1);
        if (caretHere && hint == i) CaretIndex = index;
      }
    }
  }

  const int32_t endOffset = text ? d.Length + 1 : 1;
  const int32_t index =
      !text && rightToLeft ? add(endOffset, d.Left, 1) : add(endOffset, d.Left + d.Width, text ? 1 : 2);
  if ((drawNo + 1 == CaretDrawItemNo && hint < 0) || (caretHere && (hint > fit - 2 || trailingWanted)))
    CaretIndex = index;
}

bool TRPEditRPData::AddBiDiStops(int32_t drawNo, int32_t firstOfLine, int32_t hint) {
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  TCanvas* canvas = GetCanvas();
  if (d.Length == 0 || !canvas) return false;
  const TCustomRPItemInfo& item = *GetItem(d.ItemNo);
  const AnsiString shown = PrepareDrawText(drawNo);
  std::vector<int32_t> positions(static_cast<size_t>(d.Length) + 1, 0);
  if (!GetCaretPositionsBiDi(canvas, shown, positions.data(), d.Width - d.JustifyExtra, item.ItemOptions)) return false;
  // The boundaries: every position, or only those between whole characters.
  std::vector<int32_t> boundaries;
  if (item.IsUnicode()) {
    const WideString wide = RawUnicodeToWide(shown);
    const WideChar* start = wide.c_str();
    for (const WideChar* p = start; p < start + wide.size();) {
      boundaries.push_back(static_cast<int32_t>(p - start));
      const WideChar* next = CharNextW(p);
      p = next > p ? next : p + 1;
    }
    boundaries.push_back(d.Length);
  } else {
    for (int32_t k = 0; k <= d.Length; ++k) boundaries.push_back(k);
  }
  const bool caretHere = drawNo == CaretDrawItemNo;
  const int32_t base = d.Left + d.JustifyExtra;
  int32_t prev = -1;
  for (const int32_t k : boundaries) {
    if (k == 0 && drawNo != firstOfLine) {
      prev = k;
      continue;
    }
    TRPCharPos& pos = CaretPositions.AddPos();
    pos.DrawItemNo = drawNo;
    pos.Offset = k + 1;
    pos.X = base + positions[static_cast<size_t>(k)];
    pos.CaretShift = 0;
    const int32_t index = CaretPositions.Count() - 1;
    const int32_t wanted = hint + 1;  // the wanted boundary
    if (caretHere && (wanted == k || (k == 0 && hint < 0) || (prev >= 0 && wanted > prev && wanted < k) ||
                      (k == d.Length && wanted > d.Length)))
      CaretIndex = index;
    if (k == d.Length && drawNo + 1 == CaretDrawItemNo && hint < 0) CaretIndex = index;
    prev = k;
  }
  return true;
}

void TRPEditRPData::BuildCaretLine(int32_t hint) {
  CaretPositions.Clear();
  if (CaretDrawItemNo < 0 || DrawItems.Count() == 0) {
    CaretIndex = -1;
    return;
  }
  CaretDrawItemNo = std::min(CaretDrawItemNo, DrawItems.Count() - 1);
  CaretIndex = CaretNotFound;
  int32_t first = 0, last = 0;
  GetLineDrawItems(CaretDrawItemNo, first, last);
  // A list marker that starts the line has no stop.
  if (first < last && GetItem(DrawItems[first]->ItemNo)->StyleNo == rpkindListMarker) {
    if (CaretDrawItemNo == first) {
      CaretDrawItemNo = first + 1;
      hint = GetDrawItemStartOffset(first + 1) - 2;
    }
    ++first;
  }
  for (int32_t drawNo = first; drawNo <= last; ++drawNo) {
    const int32_t itemNo = DrawItems[drawNo]->ItemNo;
    const bool biDi = IsTextItem(itemNo) && GetItemBiDiMode(itemNo) != rpbdUnspecified;
    if (!biDi || !AddBiDiStops(drawNo, first, hint)) AddPlainStops(drawNo, first, hint);
  }
}

void TRPEditRPData::UpdateCaret(bool scrollToCaret, bool checkResizerFirst, bool keepCurrentStyles) {
  if ((GetState() & rpstNoCaretUpdate) != 0) return;
  if (checkResizerFirst) CheckResizer();
  IRPWindowHost* host = Control().Host();
  const bool focused = host && host->Focused();
  if (InplaceEditedItem || Control().GetInplaceEditor() || (GetState() & rpstCaretHidden) != 0) {
    if (host && CaretHeight != 0) host->HideCaret();
    DoCaretMove();
    return;
  }

  // The caret's place and height.
  int32_t height = 0, caretX = 0, caretTop = 0;
  if (CaretDrawItemNo >= DrawItems.Count()) CaretDrawItemNo = -1;
  if (CaretDrawItemNo >= 0) {
    if (CaretIndex < 0 || CaretIndex >= CaretPositions.Count()) {
      // The document stays usable: the caret goes to its start before the report.
      CaretDrawItemNo = 0;
      CaretIndex = 0;
      SkipListMarker(true);
      BuildCaretLine(GetDrawItemStartOffset(CaretDrawItemNo) - 2);
      throw ERichPaneError(errRPInvalidCaretPosition);
    }
    const TRPCharPos& pos = CaretPositions[CaretIndex];
    CaretDrawItemNo = pos.DrawItemNo;
    const TRPDrawLineInfo& d = *DrawItems[CaretDrawItemNo];
    height = std::min(d.Height + 2, RPMaxCaretHeight);
    caretX = pos.X + pos.CaretShift - 1;
    caretTop = d.Top - 1;
  }

  // Over a picture with its resizer no caret shows (and nothing scrolls to one).
  if (Resizer) height = 0;

  // The window's caret: the old one goes, a new one shows where it is now.
  if (CaretHeight != 0 && focused) {
    host->HideCaret();
    host->DestroyCaret();
    CaretHeight = 0;
  }
  if (height != 0 && !GetDragDropCaretInfo() && (!IsReadOnly() || (GetEditorOptions() & rpoHideReadOnlyCaret) == 0) &&
      focused) {
    const TRPDrawLineInfo& d = *DrawItems[CaretDrawItemNo];
    host->CreateCaret(RPCaretWidth, height + 2 * RPCaretExtraHeight);
    host->SetCaretPos(caretX - GetHOffs() - RPCaretWidth / 2,
                      d.Top + d.Height - GetVOffs() - RPCaretExtraHeight - height);
    host->ShowCaret();
    CaretHeight = height;
  }

  // What follows the caret item.
  if (CaretDrawItemNo >= 0) {
    int32_t itemNo = DrawItems[CaretDrawItemNo]->ItemNo;
    if (!keepCurrentStyles) SetCurParaStyle(GetItemPara(itemNo));
    TCustomRPItemInfo& item = *GetItem(itemNo);
    if (item.GetBoolValue(rpibqSelectAsObject)) {
      if (FocusedItemData != this || FocusedItemNo != itemNo) {
        SetFocusedItem(itemNo, this, itemNo);
        InvalidateControl();
      }
    } else if (FocusedItemData) {
      FocusedItemData = nullptr;
      FocusedItemNo = -1;
      InvalidateControl();
    }
    // A backward selection ending at a draw item's end takes the look of what follows.
    int32_t startNo = 0, endNo = 0, startOffs = 0, endOffs = 0;
    TCustomRPFormattedData::GetDrawSelectionBounds(startNo, endNo, startOffs, endOffs, false);
    if (endNo >= 0 && !SelectionIsForward() && endNo + 1 < DrawItems.Count() &&
        endOffs == GetDrawItemEndOffset(endNo) && !DrawItems[endNo + 1]->StartsLine())
      itemNo = DrawItems[endNo + 1]->ItemNo;
    TCustomRPItemInfo& styleItem = *GetItem(itemNo);
    const TRPStyle* style = GetStyleSheet();
    if (!keepCurrentStyles && style) {
      int32_t textStyle = -1;
      if (IsTextItem(itemNo))
        textStyle = GetItemStyle(itemNo);
      else if (styleItem.GetBoolValue(rpibqSwitchesTextStyle))
        textStyle = ResolveStyleNo(styleItem.GetAssociatedTextStyleNo(), styleItem.ParaNo);
      const auto noAutoSwitch = [&](int32_t s) {
        return s >= 0 && s < style->TextStyles().Count() &&
               style->TextStyles()[s]->Protection.Contains(rpprDoNotAutoSwitch);
      };
      if (textStyle >= 0 && textStyle < style->TextStyles().Count()) {
        if (noAutoSwitch(textStyle)) {
          if (!noAutoSwitch(PrevTextStyleNo)) SetCurTextStyle(PrevTextStyleNo);
        } else {
          SetCurTextStyle(textStyle);
          PrevTextStyleNo = textStyle;
        }
      }
    }
    if (style && styleItem.GetBoolValueEx(rpibqxJump, style) && (GetEditorOptions() & rpoNoCaretHighlightJumps) == 0) {
      if (GetHoverJumpNo() != styleItem.JumpID || (GetState() & rpstJumpHighlighted) == 0) {
        SetHoverJumpNo(styleItem.JumpID);
        SetStateFlag(rpstJumpHighlighted, true);
        InvalidateControl();
      }
    } else if ((GetState() & rpstJumpHighlighted) != 0) {
      SetHoverJumpNo(-1);
      SetStateFlag(rpstJumpHighlighted, false);
      InvalidateControl();
    }
  }

  if (scrollToCaret && height != 0 && !GetMouseCaptureItem()) {
    constexpr int32_t Margin = 5;
    ShowRectangle(caretX - Margin, caretTop - Margin, RPCaretWidth + 2 * Margin, height + 2 * Margin);
  }
  DoCaretMove();
}

// --- Queries ---------------------------------------------------------------------------------

int32_t TRPEditRPData::FindItemIndex(const TCustomRPItemInfo* item) const {
  if (CaretDrawItemNo >= 0 && CaretDrawItemNo < DrawItems.Count()) {
    const int32_t caretItem = DrawItems[CaretDrawItemNo]->ItemNo;
    if (caretItem < GetItemCount() && GetItem(caretItem) == item) return caretItem;
  }
  return IndexOfItem(item);
}

int32_t TRPEditRPData::GetCaretItemNo() {
  EnsureNotEmpty();
  if (InplaceEditedItem) return FindItemIndex(InplaceEditedItem);
  if (TCustomRPItemInfo* inner = GetInnerSelectionItem()) return FindItemIndex(inner);
  if (CaretDrawItemNo < 0 || CaretDrawItemNo >= DrawItems.Count()) return -1;
  if (CaretIndex >= 0 && CaretIndex < CaretPositions.Count())
    return DrawItems[CaretPositions[CaretIndex].DrawItemNo]->ItemNo;
  return DrawItems[CaretDrawItemNo]->ItemNo;
}

int32_t TRPEditRPData::GetCaretOffset() const {
  if (InplaceEditedItem) return 1;
  if (CaretDrawItemNo < 0 || CaretIndex < 0 || CaretIndex >= CaretPositions.Count()) return -1;
  const TRPCharPos& pos = CaretPositions[CaretIndex];
  const TRPDrawLineInfo& d = *DrawItems[pos.DrawItemNo];
  if (!IsTextItem(d.ItemNo)) return pos.Offset;
  return d.Offs + pos.Offset - 1;
}

void TRPEditRPData::GetCaretClientPoint(TPoint& point) const {
  if (CaretDrawItemNo < 0 || CaretIndex < 0 || CaretIndex >= CaretPositions.Count()) {
    point = TPoint{0, 0};
    return;
  }
  const TRPCharPos& pos = CaretPositions[CaretIndex];
  point.X = pos.X + pos.CaretShift - GetHOffs() - 1;
  point.Y = DrawItems[pos.DrawItemNo]->Top - GetVOffs() - 1;
}

void TRPEditRPData::SetCaretAtItemPos(int32_t itemNo, int32_t offset) {
  if (itemNo < 0 || itemNo >= GetItemCount() || DrawItems.Count() == 0) return;
  offset = std::clamp(offset, GetItemStartOffset(itemNo), GetItemEndOffset(itemNo));
  int32_t drawNo = -1, drawOffs = 0;
  ItemToDrawItemPos(itemNo, offset, drawNo, drawOffs);
  if (drawNo < 0) return;
  CaretDrawItemNo = drawNo;
  BuildCaretLine(drawOffs - 2);
}

void TRPEditRPData::MoveCaretTo(int32_t itemNo, int32_t offset) {
  SetCaretAtItemPos(itemNo, offset);
  UpdateCaret(true, false, false);
}

bool TRPEditRPData::IsCaretOnLastLine() const {
  return CaretPositions.Count() > 0 && CaretPositions[CaretPositions.Count() - 1].DrawItemNo == DrawItems.Count() - 1;
}

// --- Selection glue --------------------------------------------------------------------------

void TRPEditRPData::StoreDrawSelection(int32_t startNo, int32_t startOffs, int32_t endNo, int32_t endOffs) {
  StoreSelection(startNo, startOffs, endNo, endOffs);
}

void TRPEditRPData::GetSelectionStartDrawPos(int32_t& drawNo, int32_t& drawOffs) {
  if (SelectionExists(true, false)) {
    TRichPaneRPData::GetSelectionStartDrawPos(drawNo, drawOffs);
    return;
  }
  const bool caret = CaretDrawItemNo >= 0 && CaretIndex >= 0 && CaretIndex < CaretPositions.Count();
  drawNo = caret ? CaretPositions[CaretIndex].DrawItemNo : -1;
  drawOffs = caret ? CaretPositions[CaretIndex].Offset : -1;
}

void TRPEditRPData::GetSelectionRangeOrCaret(int32_t& startItemNo, int32_t& startOffs, int32_t& endItemNo,
                                             int32_t& endOffs) const {
  GetSelectionRange(startItemNo, startOffs, endItemNo, endOffs);
  const bool selected = startItemNo >= 0 && endItemNo >= 0 && (startItemNo != endItemNo || startOffs != endOffs);
  if (selected) return;
  if (CaretDrawItemNo < 0 || CaretIndex < 0 || CaretIndex >= CaretPositions.Count()) {
    startItemNo = endItemNo = -1;
    startOffs = endOffs = -1;
    return;
  }
  const TRPCharPos& pos = CaretPositions[CaretIndex];
  DrawItemToItemPos(pos.DrawItemNo, pos.Offset, startItemNo, startOffs);
  endItemNo = startItemNo;
  endOffs = startOffs;
}

void TRPEditRPData::GetDrawSelectionBounds(int32_t& startNo, int32_t& endNo, int32_t& startOffs, int32_t& endOffs,
                                           bool normalize) const {
  TRichPaneRPData::GetDrawSelectionBounds(startNo, endNo, startOffs, endOffs, normalize);
  if (startNo != -1 && endNo != -1) return;
  const bool caret = CaretDrawItemNo >= 0 && CaretIndex >= 0 && CaretIndex < CaretPositions.Count();
  startNo = endNo = caret ? CaretPositions[CaretIndex].DrawItemNo : CaretDrawItemNo;
  startOffs = endOffs = caret ? CaretPositions[CaretIndex].Offset : -1;
}

void TRPEditRPData::CollapseSelectionToCaret() {
  if (SelectionExists(false)) return;
  if (CaretDrawItemNo < 0 || CaretIndex < 0 || CaretIndex >= CaretPositions.Count()) return;
  const TRPCharPos& pos = CaretPositions[CaretIndex];
  StoreSelection(pos.DrawItemNo, pos.Offset, pos.DrawItemNo, pos.Offset);
}

void TRPEditRPData::ExtendSelectionToCaret() {
  if (CaretDrawItemNo < 0 || CaretIndex < 0 || CaretIndex >= CaretPositions.Count()) return;
  const TRPCharPos& pos = CaretPositions[CaretIndex];
  int32_t startNo = 0, endNo = 0, startOffs = 0, endOffs = 0;
  TCustomRPFormattedData::GetDrawSelectionBounds(startNo, endNo, startOffs, endOffs, false);
  if (startNo < 0) {
    startNo = pos.DrawItemNo;
    startOffs = pos.Offset;
  }
  StoreSelection(startNo, startOffs, pos.DrawItemNo, pos.Offset);
  if (const TRPStyle* style = GetStyleSheet(); style && style->SelectionMode == rpsmParagraph)
    ExpandSelectionToParagraphs(true);
  AfterSelectionChange(true);
}

void TRPEditRPData::AfterSelectionChange(bool scrollToCaret) {
  SelectionChanged();
  int32_t startNo = 0, endNo = 0, startOffs = 0, endOffs = 0;
  TCustomRPFormattedData::GetDrawSelectionBounds(startNo, endNo, startOffs, endOffs, false);
  if (endNo >= 0) {
    if (GetItem(DrawItems[endNo]->ItemNo)->StyleNo == rpkindListMarker && endNo + 1 < DrawItems.Count()) {
      ++endNo;
      endOffs = GetDrawItemStartOffset(endNo);
      StoreSelection(startNo, startOffs, endNo, endOffs);
    }
    CaretDrawItemNo = endNo;
    BuildCaretLine(endOffs - 2);
  }
  UpdateResizer();
  UpdateCaret(scrollToCaret, true, false);
}

void TRPEditRPData::SelectRange(int32_t itemNo, int32_t offset, int32_t length, bool backward) {
  Deselect(false);
  ReleaseSubItems(nullptr);
  int32_t startNo = -1, startOffs = 0, endNo = -1, endOffs = 0;
  ItemToDrawItemPos(itemNo, offset, startNo, startOffs);
  ItemToDrawItemPos(itemNo, offset + length, endNo, endOffs);
  if (backward)
    StoreSelection(endNo, endOffs, startNo, startOffs);
  else
    StoreSelection(startNo, startOffs, endNo, endOffs);
  InvalidateControl();
  AfterSelectionChange(true);
}

void TRPEditRPData::GetAdjacentPosition(bool forward, bool toDocumentEdge, int32_t& itemNo, int32_t& offset) {
  if (toDocumentEdge) {
    if (forward) {
      itemNo = 0;
      offset = GetItemCount() > 0 ? GetItemStartOffset(0) : 0;
    } else {
      itemNo = GetItemCount() - 1;
      offset = itemNo >= 0 ? GetItemEndOffset(itemNo) + 1 : 0;
    }
    return;
  }
  itemNo = GetCaretItemNo();
  offset = GetCaretOffset();
  if (itemNo < 0) return;
  if (forward && offset >= GetItemEndOffset(itemNo)) {
    ++itemNo;
    if (itemNo < GetItemCount()) offset = GetItemStartOffset(itemNo);
  } else if (!forward && offset <= GetItemStartOffset(itemNo)) {
    --itemNo;
    if (itemNo >= 0) offset = GetItemEndOffset(itemNo);
  }
}
