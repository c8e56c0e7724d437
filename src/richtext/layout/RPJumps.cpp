// Hyperlink areas of a formatted document: rebuilding, clearing and repainting them.
#include "richtext/layout/RPDocumentView.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/layout/RPLayoutItems.h"
#include "richtext/model/RPStyle.h"

namespace {

constexpr int32_t JumpRepaintMargin = 5;

}  // namespace

void TCustomRPFormattedData::CollectJumps(int32_t& firstJumpNo, std::vector<std::unique_ptr<TRPJumpInfo>>* list) {
  if (!list) {
    ClearJumps();
    list = &Jumps;
  }
  const TRPStyle* style = GetStyleSheet();
  int32_t count = 0, lastItem = -1;
  for (int32_t i = 0; i < DrawItems.Count(); ++i) {
    const TRPDrawLineInfo& d = *DrawItems[i];
    TCustomRPItemInfo& item = *GetItem(d.ItemNo);
    if (item.GetBoolValueEx(rpibqxJump, style)) {
      if (d.ItemNo != lastItem) ++count;  // one number per item, not per draw item
      lastItem = d.ItemNo;
      auto area = std::make_unique<TRPJumpInfo>();
      area->Left = d.Left;
      area->Top = d.Top;
      area->Width = d.Width;
      area->Height = d.Height;
      area->JumpNo = firstJumpNo + count - 1;
      area->RPData = this;
      area->DrawItemNo = i;
      area->HolderDrawNo = i;
      const int32_t cursor = IsTextItem(d.ItemNo) ? style->TextStyles()[GetItemStyle(d.ItemNo)]->JumpCursor
                                                  : item.GetHyperlinkCursor(style);
      area->Cursor = static_cast<int16_t>(cursor);
      item.JumpID = area->JumpNo;
      list->push_back(std::move(area));
    } else if (auto* areas = dynamic_cast<IRPJumpAreasItem*>(&item)) {
      int32_t next = firstJumpNo + count;
      const size_t from = list->size();
      areas->AddJumpAreas(*this, i, next, *list);
      for (size_t j = from; j < list->size(); ++j) (*list)[j]->HolderDrawNo = i;
      count = next - firstJumpNo;
    }
  }
  firstJumpNo += count;
  if (list == &Jumps) {
    FNextJumpNo = firstJumpNo;
    UpdateJumpsCoords();
  }
}

void TCustomRPFormattedData::ClearJumps() {
  Jumps.clear();
  ClearHover();
}

void TCustomRPFormattedData::ClearHover() {
  FHoverJumpNo = -1;
  HoverJumpChanged(-1);
}

void TCustomRPFormattedData::InvalidateJumpRect(int32_t jumpNo) {
  IRPDocumentView* view = GetDocumentView();
  if (!view) return;
  if (GetStyleSheet() && GetStyleSheet()->FullRedraw) {
    view->Invalidate();
    return;
  }
  for (const auto& area : Jumps) {
    if (area->JumpNo != jumpNo) continue;
    const int32_t left = area->Left - GetHOffs(), top = area->Top - GetVOffs();
    view->InvalidateRect(TRect{left - JumpRepaintMargin, top - JumpRepaintMargin,
                               left + area->Width + JumpRepaintMargin, top + area->Height + JumpRepaintMargin});
  }
}
