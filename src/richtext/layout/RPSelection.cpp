// The selection kept on draw-item positions, and the hit test that maps a point to one.
#include <algorithm>
#include <vector>

#include "richtext/layout/RPFormattedData.h"
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

void TCustomRPFormattedData::NormalizeSelection() {
  if (FSelStartNo >= 0)
    FSelStartOffs = std::clamp(FSelStartOffs, GetDrawItemStartOffset(FSelStartNo), GetDrawItemEndOffset(FSelStartNo));
  if (FSelEndNo >= 0)
    FSelEndOffs = std::clamp(FSelEndOffs, GetDrawItemStartOffset(FSelEndNo), GetDrawItemEndOffset(FSelEndNo));
}

void TCustomRPFormattedData::SetSelectionBounds(int32_t startItemNo, int32_t startOffs, int32_t endItemNo,
                                                int32_t endOffs) {
  if (startItemNo >= 0 && endItemNo >= 0) {
    ItemToDrawItemPos(startItemNo, startOffs, FSelStartNo, FSelStartOffs);
    ItemToDrawItemPos(endItemNo, endOffs, FSelEndNo, FSelEndOffs);
  } else {
    FSelStartNo = FSelEndNo = -1;
    FSelStartOffs = FSelEndOffs = 0;
  }
  NormalizeSelection();
  SelectionChanged();
}

bool TCustomRPFormattedData::SelectionExists(bool clearEmpty) {
  if (FSelStartNo < 0 || FSelEndNo < 0) return false;
  const bool empty = FSelStartNo == FSelEndNo && FSelStartOffs == FSelEndOffs;
  if (empty && clearEmpty) Deselect(false);
  return !empty;
}

void TCustomRPFormattedData::Deselect(bool notify) {
  FSelStartNo = FSelEndNo = -1;
  FSelStartOffs = FSelEndOffs = 0;
  if (notify) SelectionChanged();
}

void TCustomRPFormattedData::SelectAll() {
  if (GetItemCount() == 0 || DrawItems.Count() == 0) return;
  FSelStartNo = 0;
  FSelStartOffs = GetDrawItemStartOffset(0);
  FSelEndNo = DrawItems.Count() - 1;
  FSelEndOffs = GetDrawItemEndOffset(FSelEndNo);
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
  return drawNo >= 0 && IsDrawPosInSelection(drawNo, drawOffs, includeEdges);
}

int32_t TCustomRPFormattedData::TextOffsetAtX(int32_t drawNo, int32_t x) {
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  if (d.Length == 0) return 1;
  const TCustomRPItemInfo& item = *GetItem(d.ItemNo);
  const int32_t textStyle = GetItemStyle(d.ItemNo);
  TRPStyle& style = *GetStyleSheet();
  TCanvas* canvas = GetCanvas();
  if (!canvas) return 1;
  style.ApplyStyle(*canvas, textStyle, GetParaBiDiMode(item.ParaNo), HasFlag(rpdfUseCollectionPPI));
  AnsiString shown;
  DrawItems.GetSubString(drawNo, *this, shown);
  shown = PrepareDisplayText(shown, item.ItemOptions, style.TextStyles()[textStyle]->StyleEx.Contains(rpfsAllCaps),
                             false, false, false);
  std::vector<int32_t> extents(static_cast<size_t>(d.Length) + 1, 0);
  TSize size{};
  int32_t fit = 0;
  MeasureTextFit(canvas, shown, d.Length, size, item.ItemOptions, extents.data(), fit, 10 * d.Width);
  // Caret position i stands after i characters; the nearest wins, ties to the later one.
  const int32_t left = d.Left + d.JustifyExtra;
  int32_t best = 0, bestDistance = std::abs(x - left);
  for (int32_t i = 1; i <= d.Length; ++i) {
    const int32_t distance = std::abs(x - (left + extents[static_cast<size_t>(i - 1)]));
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
  for (int32_t j = first; j <= last; ++j) {
    const TRPDrawLineInfo& d = *DrawItems[j];
    const bool inside = x >= d.Left && x <= d.Left + d.Width && y >= d.Top && y <= d.Top + d.Height;
    const bool inSpan = (j == first && x < d.Left) || (x >= d.Left && (j == last || x < DrawItems[j + 1]->Left));
    if (strict ? inside : inSpan) {
      drawNo = j;
      break;
    }
  }
  if (drawNo < 0) return;
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  if (IsTextItem(d.ItemNo))
    drawOffs = TextOffsetAtX(drawNo, x);
  else
    drawOffs = x < d.Left + d.Width / 2 ? 0 : 1;
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
