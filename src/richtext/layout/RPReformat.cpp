// Reformatting a few paragraphs in place after an edit: their draw items are replaced
// through the pending deletion range, and the rest of the document only moves.
#include <algorithm>
#include <vector>

#include "richtext/layout/RPFormattedData.h"
#include "richtext/layout/RPLineBreaker.h"
#include "richtext/model/RPStyle.h"

namespace {

int32_t Bottom(const TRPDrawLineInfo& d) { return d.Top + d.Height + d.LineSpacingExtra; }

}  // namespace

void TCustomRPFormattedData::GetReformatRange(int32_t startDrawNo, int32_t endDrawNo, int32_t& firstDrawNo,
                                              int32_t& lastDrawNo) const {
  int32_t last = 0;
  GetParaDrawItems(startDrawNo, firstDrawNo, last);
  if (firstDrawNo > 0) GetParaDrawItems(firstDrawNo - 1, firstDrawNo, last);
  int32_t first = 0;
  GetParaDrawItems(endDrawNo, first, lastDrawNo);
  if (lastDrawNo + 1 < DrawItems.Count()) GetParaDrawItems(lastDrawNo + 1, first, lastDrawNo);
}

void TCustomRPFormattedData::ReformatParagraphs(int32_t firstDrawNo, int32_t lastDrawNo, bool flag, int32_t itemDelta) {
  if (!GetStyleSheet() || DrawItems.Count() == 0) return;
  // Back to the start of the first paragraph (draw items and items).
  while (firstDrawNo > 0 && DrawItems[firstDrawNo - 1]->ItemNo == DrawItems[firstDrawNo]->ItemNo) --firstDrawNo;
  int32_t firstItem = DrawItems[firstDrawNo]->ItemNo;
  while (firstItem > 0 && !StartsParagraph(firstItem)) {
    --firstItem;
    while (firstDrawNo > 0 && DrawItems[firstDrawNo - 1]->ItemNo >= firstItem) --firstDrawNo;
  }
  // Forward over the end item's draw items and the old items that continue its paragraph.
  const int32_t oldLastItem = DrawItems[lastDrawNo]->ItemNo;
  while (lastDrawNo + 1 < DrawItems.Count() && DrawItems[lastDrawNo + 1]->ItemNo == oldLastItem) ++lastDrawNo;
  while (lastDrawNo + 1 < DrawItems.Count()) {
    const int32_t next = DrawItems[lastDrawNo + 1]->ItemNo + itemDelta;
    if (next >= GetItemCount() || StartsParagraph(next)) break;
    ++lastDrawNo;
  }
  int32_t lastItem = DrawItems[lastDrawNo]->ItemNo + itemDelta;
  lastItem = std::clamp(lastItem, firstItem, GetItemCount() - 1);
  while (lastItem + 1 < GetItemCount() && !StartsParagraph(lastItem + 1)) ++lastItem;
  ReformatDrawItems(firstDrawNo, lastDrawNo, firstItem, lastItem, itemDelta, flag);
}

void TCustomRPFormattedData::ReformatDrawItems(int32_t firstDrawNo, int32_t lastDrawNo, int32_t firstItemNo,
                                               int32_t lastItemNo, int32_t itemDelta, bool flag) {
  TCanvas* canvas = GetCanvas();
  if (!canvas || !GetStyleSheet()) return;
  const int32_t oldCount = DrawItems.Count();
  // The top of the line after the range: the smallest top of its draw items (its first
  // may stand lower, a list marker or a small item on the baseline).
  const int32_t oldNextTop = lastDrawNo + 1 < oldCount ? GetLineTop(lastDrawNo + 1) : 0;
  int32_t y = GetTopMargin();
  if (firstDrawNo > 0) {
    int32_t lineFirst = 0, lineLast = 0;
    GetLineDrawItems(firstDrawNo - 1, lineFirst, lineLast);
    y = Bottom(*DrawItems[lineFirst]);
    for (int32_t j = lineFirst + 1; j <= lineLast; ++j) y = std::max(y, Bottom(*DrawItems[j]));
  }
  // Jump areas of the range go; those after it wait aside while the range is laid out.
  std::vector<std::unique_ptr<TRPJumpInfo>> laterJumps;
  std::erase_if(Jumps, [&](std::unique_ptr<TRPJumpInfo>& jump) {
    if (jump->HolderDrawNo < firstDrawNo) return false;
    if (jump->HolderDrawNo > lastDrawNo) laterJumps.push_back(std::move(jump));
    return true;
  });
  DrawItems.DeleteRange(firstDrawNo, lastDrawNo);
  int32_t lastBottom = 0;
  int32_t after = 0;  // the first draw item after the range
  WithFontCache(*canvas, [&](TRPFontInfoCache& cache) {
    TRPLineBreaker breaker(*this, *canvas, cache, flag, false, firstDrawNo, y);
    breaker.Run(firstItemNo, lastItemNo);
    lastBottom = breaker.Bottom();
    after = breaker.DrawCount();
  });
  DrawItems.RemovePendingRange();
  int32_t newBottom = lastBottom + ScaleY(GetParaStyle(lastItemNo).SpaceAfter);
  const int32_t nextItem = lastItemNo + 1;
  if (nextItem < GetItemCount() && StartsParagraph(nextItem)) newBottom += ScaleY(GetParaStyle(nextItem).SpaceBefore);
  if (after < DrawItems.Count()) {
    const int32_t shift = newBottom - oldNextTop;
    if (itemDelta != 0 || DrawItems.Count() != oldCount || shift != 0)
      for (int32_t j = after; j < DrawItems.Count(); ++j) {
        DrawItems[j]->Top += shift;
        DrawItems[j]->ItemNo += itemDelta;
      }
    DocumentHeight += shift;
  } else {
    DocumentHeight = GetBottomMargin() + lastBottom + ScaleY(GetParaStyle(lastItemNo).SpaceAfter);
  }
  for (auto& jump : laterJumps) {
    jump->HolderDrawNo += DrawItems.Count() - oldCount;
    if (jump->RPData == this) jump->DrawItemNo = jump->HolderDrawNo;
    Jumps.push_back(std::move(jump));
  }
  UpdateJumpsCoords();
  AdjustVSmallStep();
  UpdateScrollRanges(ScaleX(GetLeftMargin()) + DocumentWidth + ScaleX(GetRightMargin()), DocumentHeight);
  PlaceControls();
  LastFormattedItemNo = GetItemCount() - 1;
  AfterFormat(firstItemNo, lastItemNo);
}
