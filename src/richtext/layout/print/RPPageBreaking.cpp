// Page breaking: one page per call.
//
// A page is a window onto the document's Y axis that starts at a draw item; no draw item
// is moved. State between calls: PageStartY (the current page's top), NextDrawItem (the
// first draw item not yet placed), SplittingItem with SplitRoom (the draw item at
// NextDrawItem is a split item being continued, its next part must fit SplitRoom).
// A draw item fits when its bottom plus its paragraph's SpaceAfter lies within the page,
// for every line of the paragraph. A page that ends early begins the next at a line
// start found by the break search, which honours keep-lines-together and keep-with-next
// and never leaves a page empty. Split items (TRPMultiDrawItemInfo) are cut into parts
// through their split protocol.
#include "richtext/layout/RPMultiDrawItemInfo.h"
#include "richtext/layout/print/RPReportData.h"
#include "richtext/model/RPException.h"

int32_t TReportRPData::SpaceBefore(int32_t drawNo) const {
  return ScreenToDeviceY(GetParaStyle(DrawItems[drawNo]->ItemNo).SpaceBefore, PrintResolution);
}

int32_t TReportRPData::SpaceAfter(int32_t drawNo) const {
  return ScreenToDeviceY(GetParaStyle(DrawItems[drawNo]->ItemNo).SpaceAfter, PrintResolution);
}

int32_t TReportRPData::PageBound() const { return DrawItems.Count() + FSplitParts + 1; }

void TReportRPData::AddPage(int32_t topY, int32_t firstDrawItem, int32_t firstPart) {
  if (Pages.Count() >= PageBound()) throw ERichPaneError(errRPPageBound);
  Pages.Add(topY, firstDrawItem, firstPart);
}

void TReportRPData::AddSplitPage(int32_t drawNo, int32_t firstPart, int32_t height) {
  AddPage(-SpaceBefore(drawNo), drawNo, firstPart);
  PageStartY = 0;
  SplitRoom = height - SpaceBefore(drawNo) - SpaceAfter(drawNo);
}

bool TReportRPData::ContinueSplitItem(int32_t height) {
  const int32_t d = NextDrawItem;
  auto& item = static_cast<TRPMultiDrawItemInfo&>(*DrawItems[d]);
  const int32_t bottom = item.Top + item.Height;
  const int32_t partsBefore = item.PartsList.Count();
  const bool continues = item.SplitLastPart(SplitRoom);
  FSplitParts += item.PartsList.Count() - partsBefore;
  if (continues) {
    const int32_t count = item.PartsList.Count();
    if (Pages.Last().FirstDrawItem == d && count >= 2)
      Pages.Last().ContinuedTopY = bottom - item.PartsList.Part(count - 2)->Height - SpaceBefore(d);
    AddSplitPage(d, count, height);
    return true;
  }
  if (Pages.Last().FirstDrawItem == d && item.PartsList.Count() > 0) {
    PageStartY = bottom - item.PartsList.Part(item.PartsList.Count() - 1)->Height - SpaceBefore(d);
    Pages.Last().ContinuedTopY = PageStartY;
  }
  ++NextDrawItem;
  SplittingItem = false;
  return false;
}

bool TReportRPData::FindPageBreak(bool splitItem) {
  const int32_t a = NextDrawItem;
  const int32_t count = DrawItems.Count();
  const int32_t first = Pages.Last().FirstDrawItem;
  int32_t c = a, fallback = -1, b = a;
  const TParaInfo* governing = &GetParaStyle(DrawItems[a]->ItemNo);
  for (;;) {
    // The nearest line start at or before c; with keep-lines-together the first line
    // start that begins a paragraph.
    int32_t nearest = -1;
    b = c;
    const bool keepLines = governing->Options.Contains(rppaoKeepLinesTogether);
    for (int32_t j = c; j >= 0; --j) {
      if (!DrawItems[j]->StartsLine()) continue;
      if (nearest < 0) nearest = j;
      if (!keepLines || IsParaStartDrawItem(j)) {
        b = j;
        break;
      }
    }
    if (nearest >= 0 && b <= first) {
      if (fallback >= 0) {
        b = fallback;
        break;
      }
      b = nearest;  // a paragraph kept together but longer than the page breaks at the line
    }
    if (b > first && b >= 1) {
      governing = &GetParaStyle(DrawItems[b - 1]->ItemNo);
      if (IsParaStartDrawItem(b) && governing->Options.Contains(rppaoKeepWithNext)) {
        if (fallback < 0) fallback = b;
        c = b - 1;
        continue;
      }
    }
    break;
  }
  if (b <= first) {
    // The page takes at least its first line, even one taller than the page.
    int32_t next = b + 1;
    while (next < count && !DrawItems[next]->StartsLine()) ++next;
    b = next;
  }
  const int32_t old = NextDrawItem;
  if (b == count) {
    NextDrawItem = b;
  } else if (!(splitItem && b == a)) {
    PageStartY = GetLineTop(b) - SpaceBefore(b);
    AddPage(PageStartY, b, 0);
    NextDrawItem = b;
  }
  return NextDrawItem != old;
}

void TReportRPData::BreakPage(int32_t height) {
  if (Pages.Count() == 0) {
    AddPage(0, 0, 0);
    PageStartY = 0;
    NextDrawItem = 0;
    SplittingItem = false;
  }
  if (SplittingItem && ContinueSplitItem(height)) return;
  while (NextDrawItem < DrawItems.Count()) {
    const int32_t d = NextDrawItem;
    TRPDrawLineInfo& drawItem = *DrawItems[d];
    TRPPageInfo& cur = Pages.Last();
    const bool forced = d > 0 && drawItem.ItemNo != DrawItems[d - 1]->ItemNo && GetPageBreakBefore(drawItem.ItemNo) &&
                        cur.FirstDrawItem != d;
    auto* multi = dynamic_cast<TRPMultiDrawItemInfo*>(&drawItem);
    if (multi) {
      // A split item met again (a break search moved the page's start back over it, as
      // keep-with-next does) starts afresh: no page shows the parts of its first start.
      FSplitParts -= multi->PartsList.Count();
      multi->PartsList.Clear();
    }
    const bool starts = multi && multi->StartParts();
    if (multi) FSplitParts += multi->PartsList.Count();
    if (starts) {
      if (cur.FirstDrawItem == d) {
        cur.FirstPart = 1;
        cur.TopY = -SpaceBefore(d);
      }
      SplitRoom = PageStartY + height - drawItem.Top - SpaceAfter(d);
      if (!forced && (cur.FirstDrawItem == d || multi->CanStartOnPage(SplitRoom))) {
        SplittingItem = true;
        ContinueSplitItem(height);
        return;
      }
      if (!forced && FindPageBreak(true)) return;
      AddSplitPage(d, 1, height);
      SplittingItem = true;
      return;
    }
    if (forced || drawItem.Top + drawItem.Height + SpaceAfter(d) > PageStartY + height) {
      FindPageBreak(false);
      return;
    }
    ++NextDrawItem;
  }
}

void TReportRPData::ResetPages() {
  Pages.Clear();
  FSplitParts = 0;
  NextDrawItem = 0;
  SplittingItem = false;
  for (int32_t i = 0; i < DrawItems.Count(); ++i)
    if (auto* multi = dynamic_cast<TRPMultiDrawItemInfo*>(DrawItems[i])) multi->PartsList.Clear();
}

bool TReportRPData::AllPagesDone() const { return DrawItems.Count() == 0 || NextDrawItem >= DrawItems.Count(); }
