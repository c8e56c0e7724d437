// The pass over the items: each to its own formatting, the draw items and jump areas it
// makes.
#include "richtext/layout/RPLineBreaker.h"

#include "richtext/model/RPStyle.h"

TRPLineBreaker::TRPLineBreaker(TCustomRPFormattedData& data, TCanvas& canvas, TRPFontInfoCache& cache, bool itemFlag1,
                               bool itemFlag2, int32_t firstDrawNo, int32_t y)
    : FData(data),
      FDrawItems(data.DrawItems),
      FStyle(data.GetStyleSheet()),
      FCanvas(&canvas),
      FCache(&cache),
      FItemFlag1(itemFlag1),
      FItemFlag2(itemFlag2),
      FDrawCount(firstDrawNo),
      FY(y) {}

void TRPLineBreaker::Run(int32_t first, int32_t last) {
  FormatItems(first, last);
  ResolveTab();
  FinishLine(true);
}

void TRPLineBreaker::FormatItems(int32_t first, int32_t last) {
  for (int32_t i = first; i <= last; ++i) {
    if (GetItem(i)->StyleNo < 0)
      FormatNonTextItem(i);
    else if (GetParaStyle(i).Alignment == rpaJustify)
      FormatJustifiedText(i);
    else {
      LoadItemText(i);
      FormatText(i, 1, FText.Length, false);
    }
  }
}

void TRPLineBreaker::InsertDrawItem(std::unique_ptr<TRPDrawLineInfo> d) {
  FDrawItems.InsertItem(FDrawCount, std::move(d));
  ++FDrawCount;
}

void TRPLineBreaker::AddJump(int32_t itemNo, const TRPDrawLineInfo& d, int32_t drawNo, int16_t cursor) {
  std::vector<std::unique_ptr<TRPJumpInfo>>& jumps = FData.Jumps;
  // One jump number per item: a later draw item of the same item shares it.
  const bool sameItem = !jumps.empty() && FDrawItems[jumps.back()->DrawItemNo]->ItemNo == itemNo;
  auto jump = std::make_unique<TRPJumpInfo>();
  jump->Left = d.Left;
  jump->Top = d.Top;
  jump->Width = d.Width;
  jump->Height = d.Height;
  jump->JumpNo = sameItem ? jumps.back()->JumpNo : FData.FNextJumpNo++;
  jump->RPData = &FData;
  jump->DrawItemNo = drawNo;
  jump->HolderDrawNo = drawNo;
  jump->Cursor = cursor;
  GetItem(itemNo)->JumpID = jump->JumpNo;
  jumps.push_back(std::move(jump));
}
