// The selection kept on draw-item positions, and the hit test that maps a point to one.
#include <algorithm>
#include <tuple>
#include <vector>

#include "platform/base/ScopeExit.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/layout/RPLayoutItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/model/RPUnicodeCanvas.h"

int32_t TCustomRPFormattedData::GetDrawItemEndOffset(int32_t drawNo) const {
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  return IsTextItem(d.ItemNo) ? d.Length + 1 : 1;
}

void TCustomRPFormattedData::GetDrawSelectionBounds(int32_t& startNo, int32_t& endNo, int32_t& startOffs,
                                                    int32_t& endOffs, bool normalize) const {
  startNo = FSelStartNo;
  endNo = FSelEndNo;
  startOffs = FSelStartOffs;
  endOffs = FSelEndOffs;
  if (normalize && (startNo > endNo || (startNo == endNo && startOffs > endOffs))) {
    std::swap(startNo, endNo);
    std::swap(startOffs, endOffs);
  }
}

void TCustomRPFormattedData::GetSelectionBounds(int32_t& startItemNo, int32_t& endItemNo, int32_t& startOffs,
                                                int32_t& endOffs, bool normalize) const {
  int32_t startNo = 0, endNo = 0, startDrawOffs = 0, endDrawOffs = 0;
  GetDrawSelectionBounds(startNo, endNo, startDrawOffs, endDrawOffs, normalize);
  DrawItemToItemPos(startNo, startDrawOffs, startItemNo, startOffs);
  DrawItemToItemPos(endNo, endDrawOffs, endItemNo, endOffs);
}

void TCustomRPFormattedData::GetSelectionRange(int32_t& startItemNo, int32_t& startOffs, int32_t& endItemNo,
                                               int32_t& endOffs) const {
  GetSelectionBounds(startItemNo, endItemNo, startOffs, endOffs, true);
}

void TCustomRPFormattedData::GetSelectionRangeOrCaret(int32_t& startItemNo, int32_t& startOffs, int32_t& endItemNo,
                                                      int32_t& endOffs) const {
  GetSelectionRange(startItemNo, startOffs, endItemNo, endOffs);
}

void TCustomRPFormattedData::NormalizeSelection() {
  if (FSelStartNo >= 0)
    FSelStartOffs = std::clamp(FSelStartOffs, GetDrawItemStartOffset(FSelStartNo), GetDrawItemEndOffset(FSelStartNo));
  if (FSelEndNo >= 0)
    FSelEndOffs = std::clamp(FSelEndOffs, GetDrawItemStartOffset(FSelEndNo), GetDrawItemEndOffset(FSelEndNo));
}

bool TCustomRPFormattedData::StoreSelection(int32_t startNo, int32_t startOffs, int32_t endNo, int32_t endOffs) {
  const auto old = std::make_tuple(FSelStartNo, FSelStartOffs, FSelEndNo, FSelEndOffs);
  FSelStartNo = startNo;
  FSelStartOffs = startOffs;
  FSelEndNo = endNo;
  FSelEndOffs = endOffs;
  if (FSelStartNo < 0 || FSelEndNo < 0) {
    FSelStartNo = FSelEndNo = -1;
    FSelStartOffs = FSelEndOffs = 0;
  }
  NormalizeSelection();
  return old != std::make_tuple(FSelStartNo, FSelStartOffs, FSelEndNo, FSelEndOffs);
}

void TCustomRPFormattedData::ReleaseSubItems(TCustomRPItemInfo* exceptItem) {
  for (int32_t i = 0; i < GetItemCount(); ++i) {
    TCustomRPItemInfo* item = GetItem(i);
    if (item == exceptItem) continue;
    if (auto* holder = dynamic_cast<IRPInnerSelectionItem*>(item)) holder->ReleaseInnerSelection();
  }
  if (FInnerSelectionItem != exceptItem) FInnerSelectionItem = nullptr;
}

void TCustomRPFormattedData::AttachChildEditor(TCustomRPFormattedData*, TCustomRPItemInfo* ownerItem) {
  FInnerSelectionItem = ownerItem;
}

void TCustomRPFormattedData::SetSelectionBounds(int32_t startItemNo, int32_t startOffs, int32_t endItemNo,
                                                int32_t endOffs) {
  // Climbing to the root: each parent keeps only the item that holds this document.
  TCustomRPData* child = this;
  std::unique_ptr<TRPStoreSubRPData> location;
  for (auto* parent = dynamic_cast<TCustomRPFormattedData*>(GetParentData()); parent;
       parent = dynamic_cast<TCustomRPFormattedData*>(parent->GetParentData())) {
    const int32_t holder = child->GetParentInfo(location);
    if (holder < 0 || holder >= parent->GetItemCount()) break;
    parent->Deselect(parent->GetItem(holder), false);
    parent->SetInnerSelectionItem(parent->GetItem(holder));
    child = parent;
  }
  ReleaseSubItems(nullptr);
  ReleaseInplaceEditor();
  int32_t startNo = -1, startDrawOffs = 0, endNo = -1, endDrawOffs = 0;
  if (startItemNo >= 0 && endItemNo >= 0) {
    ItemToDrawItemPos(startItemNo, startOffs, startNo, startDrawOffs);
    ItemToDrawItemPos(endItemNo, endOffs, endNo, endDrawOffs);
  }
  StoreSelection(startNo, startDrawOffs, endNo, endDrawOffs);
  SelectionChanged();
  InvalidateControl();
}

bool TCustomRPFormattedData::SelectionExists(bool clearEmpty, bool countInnerSelection) {
  if (auto* standIn = dynamic_cast<TCustomRPFormattedData*>(GetRPData()); standIn && standIn != this)
    return standIn->SelectionExists(clearEmpty, countInnerSelection);
  if (countInnerSelection && FInnerSelectionItem) return true;
  const bool none = FSelStartNo < 0 || FSelEndNo < 0;
  const bool empty = none || (FSelStartNo == FSelEndNo && FSelStartOffs == FSelEndOffs);
  if (empty && !none && clearEmpty) {
    if (auto* holder = dynamic_cast<IRPInnerSelectionItem*>(FInnerSelectionItem)) holder->ReleaseInnerSelection();
    Deselect(false);
  }
  return !empty;
}

void TCustomRPFormattedData::GetSelectionStartDrawPos(int32_t& drawNo, int32_t& drawOffs) {
  SelectionExists(true, false);
  drawNo = FSelStartNo;
  drawOffs = FSelStartOffs;
}

void TCustomRPFormattedData::Deselect(TCustomRPItemInfo* exceptItem, bool notify) {
  if (FDeselecting) return;
  FDeselecting = true;
  TScopeExit done([&] { FDeselecting = false; });
  StoreSelection(-1, 0, -1, 0);
  UnfocusItem();
  ReleaseSubItems(exceptItem);
  if (notify) SelectionChanged();
}

void TCustomRPFormattedData::SelectAll() {
  if (GetItemCount() == 0 || DrawItems.Count() == 0) return;
  ReleaseSubItems(nullptr);
  ReleaseInplaceEditor();
  const int32_t last = DrawItems.Count() - 1;
  StoreSelection(0, GetDrawItemStartOffset(0), last, GetDrawItemEndOffset(last));
  InvalidateControl();
  SelectionChanged();
}

bool TCustomRPFormattedData::IsDrawPosInSelection(int32_t drawNo, int32_t offs, bool includeEdges) const {
  int32_t startNo = 0, endNo = 0, startOffs = 0, endOffs = 0;
  GetDrawSelectionBounds(startNo, endNo, startOffs, endOffs, true);
  if (startNo < 0 || (startNo == endNo && startOffs == endOffs)) return false;
  const auto before = [](int32_t aNo, int32_t aOffs, int32_t bNo, int32_t bOffs) {
    return aNo < bNo || (aNo == bNo && aOffs < bOffs);
  };
  if (includeEdges) return !before(drawNo, offs, startNo, startOffs) && !before(endNo, endOffs, drawNo, offs);
  return before(startNo, startOffs, drawNo, offs) && before(drawNo, offs, endNo, endOffs);
}

bool TCustomRPFormattedData::IsPosInSelection(int32_t itemNo, int32_t offs, bool includeEdges) const {
  int32_t drawNo = 0, drawOffs = 0;
  ItemToDrawItemPos(itemNo, offs, drawNo, drawOffs);
  if (drawNo >= 0 && IsDrawPosInSelection(drawNo, drawOffs, includeEdges)) return true;
  // A sub-document lies in the selection when the item holding it does.
  const auto* parent = dynamic_cast<const TCustomRPFormattedData*>(GetParentData());
  if (!parent) return false;
  std::unique_ptr<TRPStoreSubRPData> location;
  const int32_t holder = GetParentInfo(location);
  return holder >= 0 && parent->IsPosInSelection(holder, 0, true) && parent->IsPosInSelection(holder, 1, true);
}

std::vector<int32_t> TCustomRPFormattedData::GetCaretXs(int32_t drawNo) {
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  std::vector<int32_t> positions(static_cast<size_t>(std::max(d.Length, 0)) + 1, 0);
  TCanvas* canvas = GetCanvas();
  if (d.Length == 0 || !canvas) return positions;
  const TCustomRPItemInfo& item = *GetItem(d.ItemNo);
  const int32_t textStyle = GetItemStyle(d.ItemNo);
  TRPStyle& style = *GetStyleSheet();
  style.ApplyStyle(*canvas, textStyle, GetParaBiDiMode(item.ParaNo), HasFlag(rpdfUseCollectionPPI));
  AnsiString shown;
  DrawItems.GetSubString(drawNo, *this, shown);
  shown = PrepareDisplayText(shown, item.ItemOptions, style.TextStyles()[textStyle]->StyleEx.Contains(rpfsAllCaps),
                             false, false, false);
  // By character placement in a paragraph with a direction, else the right edges of the
  // characters.
  const bool biDi = GetEffectiveParaBiDiMode(d.ItemNo) != rpbdUnspecified;
  if (!biDi || !GetCaretPositionsBiDi(canvas, shown, positions.data(), d.Width - d.JustifyExtra, item.ItemOptions)) {
    TSize size{};
    int32_t fit = 0;
    MeasureTextFit(canvas, shown, d.Length, size, item.ItemOptions, positions.data() + 1, fit, 10 * d.Width);
    positions[0] = 0;
  }
  return positions;
}

int32_t TCustomRPFormattedData::TextOffsetAtX(int32_t drawNo, int32_t x) {
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  if (d.Length == 0 || !GetCanvas()) return 1;
  const std::vector<int32_t> positions = GetCaretXs(drawNo);
  // The nearest caret position wins; of two equally near, the later in reading order.
  const int32_t left = d.Left + d.JustifyExtra;
  int32_t best = 0, bestDistance = std::abs(x - (left + positions[0]));
  for (int32_t i = 1; i <= d.Length; ++i) {
    const int32_t distance = std::abs(x - (left + positions[static_cast<size_t>(i)]));
    if (distance <= bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return std::clamp(best + 1, 1, d.Length + 1);
}

void TCustomRPFormattedData::FindDrawItemAtPos(int32_t x, int32_t y, int32_t& drawNo, int32_t& drawOffs, bool strict) {
  drawNo = -1;
  drawOffs = -1;
  const int32_t n = DrawItems.Count();
  if (n == 0) return;
  // The line: draw item 0's when y lies above its bottom, else the line of the last draw
  // item whose top is at or above y, and the following lines that reach up to y.
  int32_t found = 0;
  if (y >= DrawItems[0]->Top + DrawItems[0]->Height) {
    int32_t lo = 0, hi = n - 1;
    while (lo < hi) {
      const int32_t mid = lo + (hi - lo + 1) / 2;
      if (DrawItems[mid]->Top <= y)
        lo = mid;
      else
        hi = mid - 1;
    }
    found = lo;
  }
  int32_t first = 0, last = 0;
  GetLineDrawItems(found, first, last);
  int32_t nextFirst = 0, nextLast = 0;
  while (last + 1 < n) {
    GetLineDrawItems(last + 1, nextFirst, nextLast);
    bool reaches = false;
    for (int32_t j = nextFirst; j <= nextLast; ++j) reaches = reaches || DrawItems[j]->Top <= y;
    if (!reaches) break;
    last = nextLast;
  }
  // Visiting order: by Left (right to left in a right-to-left paragraph). A line that
  // holds right-to-left text stands in visual order, whatever its paragraph's direction;
  // the others are in logical order already.
  std::vector<int32_t> order;
  for (int32_t j = first; j <= last; ++j) order.push_back(j);
  const TRPBiDiMode biDi = GetEffectiveParaBiDiMode(DrawItems[first]->ItemNo);
  std::stable_sort(order.begin(), order.end(),
                   [&](int32_t a, int32_t b) { return DrawItems[a]->Left < DrawItems[b]->Left; });
  const bool rightToLeft = biDi == rpbdRightToLeft;
  if (rightToLeft) std::reverse(order.begin(), order.end());
  for (size_t k = 0; k < order.size() && drawNo < 0; ++k) {
    const TRPDrawLineInfo& d = *DrawItems[order[k]];
    if (strict) {
      if (x >= d.Left && x <= d.Left + d.Width && y >= d.Top && y <= d.Top + d.Height) drawNo = order[k];
      continue;
    }
    // The span from this draw item's Left to the next one's in visiting order; the ends
    // of the line belong to its outer draw items.
    const bool lastVisited = k + 1 == order.size();
    const int32_t nextLeft = lastVisited ? 0 : DrawItems[order[k + 1]]->Left;
    const bool inSpan = rightToLeft ? (x >= d.Left || lastVisited) && (k == 0 || x < DrawItems[order[k - 1]]->Left)
                                    : (x >= d.Left || k == 0) && (lastVisited || x < nextLeft);
    if (inSpan) drawNo = order[k];
  }
  if (drawNo < 0) return;
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  if (IsTextItem(d.ItemNo))
    drawOffs = TextOffsetAtX(drawNo, x);
  else
    drawOffs = (x < d.Left + d.Width / 2) != rightToLeft ? 0 : 1;
  // A list marker gives the start of what follows it.
  if (!strict && GetItem(d.ItemNo)->StyleNo == rpkindListMarker && drawNo + 1 < n) {
    ++drawNo;
    drawOffs = GetDrawItemStartOffset(drawNo);
  }
}

bool TCustomRPFormattedData::IsItemStartDrawItem(int32_t drawNo) const {
  return drawNo == 0 || DrawItems[drawNo - 1]->ItemNo != DrawItems[drawNo]->ItemNo;
}

bool TCustomRPFormattedData::IsParaStartDrawItem(int32_t drawNo) const {
  return drawNo == 0 || (IsItemStartDrawItem(drawNo) && StartsParagraph(DrawItems[drawNo]->ItemNo));
}

bool TCustomRPFormattedData::IsLineStartItem(int32_t drawNo) const {
  return IsItemStartDrawItem(drawNo) && StartsNewLine(DrawItems[drawNo]->ItemNo);
}

bool TCustomRPFormattedData::IsParaEndDrawItem(int32_t drawNo) const {
  return drawNo + 1 >= DrawItems.Count() || IsParaStartDrawItem(drawNo + 1);
}

bool TCustomRPFormattedData::IsLineWrappedAfter(int32_t drawNo) const {
  return drawNo + 1 < DrawItems.Count() && DrawItems[drawNo + 1]->StartsLine() && !IsLineStartItem(drawNo + 1);
}

bool TCustomRPFormattedData::GetItemCoords(int32_t itemNo, int32_t& left, int32_t& top) const {
  const int32_t drawNo = GetItemFirstDrawItem(itemNo);
  if (drawNo < 0) return false;
  left = DrawItems[drawNo]->Left;
  top = DrawItems[drawNo]->Top;
  return true;
}

int32_t TCustomRPFormattedData::GetFirstItemVisible() const {
  if (DrawItems.Count() == 0) return -1;
  return DrawItems[FindDrawItemByY(GetVOffs(), 1)]->ItemNo;
}

int32_t TCustomRPFormattedData::GetLastItemVisible() const {
  if (DrawItems.Count() == 0) return -1;
  return DrawItems[FindDrawItemByY(GetVOffs() + GetHeight(), 3)]->ItemNo;
}

bool TCustomRPFormattedData::IsLineStartAfterMarker(int32_t drawNo) const {
  if (DrawItems[drawNo]->StartsLine()) return true;
  const TRPDrawLineInfo& prev = *DrawItems[drawNo - 1];
  return prev.ItemNo != DrawItems[drawNo]->ItemNo && GetItem(prev.ItemNo)->StyleNo == rpkindListMarker;
}

bool TCustomRPFormattedData::EndsItemTextBeforeEnd(int32_t drawNo) const {
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  if (!IsTextItem(d.ItemNo)) return false;
  const int32_t after = d.Offs + d.Length;  // the first character not shown
  if (drawNo + 1 < DrawItems.Count() && DrawItems[drawNo + 1]->ItemNo == d.ItemNo)
    return DrawItems[drawNo + 1]->Offs != after;
  return after <= GetItemLength(d.ItemNo);
}

void TCustomRPFormattedData::GetParaDrawItems(int32_t drawNo, int32_t& first, int32_t& last) const {
  first = drawNo;
  while (!IsParaStartDrawItem(first)) --first;
  last = drawNo;
  while (!IsParaEndDrawItem(last)) ++last;
}

bool TCustomRPFormattedData::GetItemClientCoords(int32_t itemNo, int32_t& left, int32_t& top) const {
  if (!GetItemCoords(itemNo, left, top)) return false;
  left -= GetHOffs();
  top -= GetVOffs();
  return true;
}

int32_t TCustomRPFormattedData::GetDrawItemAtPos(int32_t x, int32_t y) const {
  // Draw items lie in order of their tops line by line; a box that holds y starts at or
  // above it.
  for (int32_t i = 0; i < DrawItems.Count(); ++i) {
    const TRPDrawLineInfo& d = *DrawItems[i];
    if (d.StartsLine() && d.Top > y) break;
    if (x >= d.Left && x < d.Left + d.Width && y >= d.Top && y < d.Top + d.Height) return i;
  }
  return -1;
}

bool TCustomRPFormattedData::SelectionIsForward() const {
  return FSelStartNo < FSelEndNo || (FSelStartNo == FSelEndNo && FSelStartOffs <= FSelEndOffs);
}

bool TCustomRPFormattedData::SelectionSpansParagraphs() const {
  int32_t startNo = 0, endNo = 0, startOffs = 0, endOffs = 0;
  GetDrawSelectionBounds(startNo, endNo, startOffs, endOffs, true);
  if (startNo < 0) return false;
  for (int32_t i = startNo + 1; i <= endNo; ++i)
    if (IsParaStartDrawItem(i)) return true;
  return false;
}

void TCustomRPFormattedData::ExpandSelectionToParagraphs(bool onlyIfSeveral) {
  if (FSelStartNo < 0 || (onlyIfSeveral && !SelectionSpansParagraphs())) return;
  const bool forward = SelectionIsForward();
  int32_t startNo = 0, endNo = 0, startOffs = 0, endOffs = 0, first = 0, last = 0;
  GetDrawSelectionBounds(startNo, endNo, startOffs, endOffs, true);
  GetParaDrawItems(startNo, first, last);
  startNo = first;
  GetParaDrawItems(endNo, first, last);
  endNo = last;
  startOffs = GetDrawItemStartOffset(startNo);
  endOffs = GetDrawItemEndOffset(endNo);
  if (forward)
    StoreSelection(startNo, startOffs, endNo, endOffs);
  else
    StoreSelection(endNo, endOffs, startNo, startOffs);
}

void TCustomRPFormattedData::ExpandSelectionToLines(bool startOnly) {
  if (FSelStartNo < 0) return;
  const bool forward = SelectionIsForward();
  int32_t startNo = 0, endNo = 0, startOffs = 0, endOffs = 0, first = 0, last = 0;
  GetDrawSelectionBounds(startNo, endNo, startOffs, endOffs, true);
  GetLineDrawItems(startNo, first, last);
  startNo = first;
  startOffs = GetDrawItemStartOffset(startNo);
  if (!startOnly) {
    GetLineDrawItems(endNo, first, last);
    endNo = last;
    endOffs = GetDrawItemEndOffset(endNo);
  }
  if (forward)
    StoreSelection(startNo, startOffs, endNo, endOffs);
  else
    StoreSelection(endNo, endOffs, startNo, startOffs);
}
