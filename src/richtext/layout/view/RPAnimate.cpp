#include "richtext/layout/view/RPAnimate.h"

#include <algorithm>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/layout/view/RPControlData.h"
#include "richtext/layout/view/RichPane.h"

namespace {

// The control-bound document at the root of data's nesting, or nullptr.
TRichPaneRPData* RootControlData(TCustomRPData& data) {
  return dynamic_cast<TRichPaneRPData*>(data.GetAbsoluteRootData());
}

}  // namespace

// --- Animator ------------------------------------------------------------------------------

TRPAnimator::TRPAnimator(TCustomRPFormattedData* data, TRPGraphicItemInfo& item) { Update(data, item); }

TRPAnimator::~TRPAnimator() {
  if (List) List->Remove(*this);
}

void TRPAnimator::Update(TCustomRPFormattedData* data, TRPGraphicItemInfo& item) {
  if (data) Data = data;
  Item = &item;
}

void TRPAnimator::AdvanceFrame() {
  ++Frame;
  if (Frame >= GetFrameCount()) Frame = 0;
}

bool TRPAnimator::Placement(int32_t& drawNo, TCustomRichPane*& control) const {
  if (!Data || !Item) return false;
  const int32_t itemNo = Data->IndexOfItem(Item);
  drawNo = itemNo >= 0 ? Data->GetItemFirstDrawItem(itemNo) : -1;
  if (drawNo < 0 || drawNo >= Data->DrawItems.Count()) return false;
  TRichPaneRPData* root = RootControlData(*Data);
  control = root ? &root->Control() : nullptr;
  return control != nullptr;
}

bool TRPAnimator::IsInView() const {
  int32_t drawNo = -1;
  TCustomRichPane* control = nullptr;
  if (!Placement(drawNo, control)) return false;
  const int32_t y = Data->DrawItems[drawNo]->Top + Data->GetOrigin().Y - control->VScrollPos() * control->VSmallStep();
  if (y >= control->ClientHeight()) return false;
  return y + Item->GetHeight() > 0;
}

void TRPAnimator::PaintCurrentFrame() {
  int32_t drawNo = -1;
  TCustomRichPane* control = nullptr;
  if (!Placement(drawNo, control) || !control->Host()) return;
  TCanvas* canvas = control->Host()->WindowCanvas();
  if (!canvas) return;
  const TRPDrawLineInfo& d = *Data->DrawItems[drawNo];
  const TPoint origin = Data->GetOrigin();
  const int32_t x = d.Left + origin.X - control->HScrollPos() + Item->GetBorderWidth();
  const int32_t y = d.Top + origin.Y - control->VScrollPos() * control->VSmallStep() + Item->GetBorderHeight();
  Draw(*canvas, x, y);
  control->Host()->InvalidateRect(TRect{x, y, x + Item->GetImageWidth(nullptr), y + Item->GetImageHeight(nullptr)});
}

// --- Bitmap strip ---------------------------------------------------------------------------

const TBitmap* TRPBitmapAnimator::Strip() const {
  if (!Item) return nullptr;
  if (const auto* copy = dynamic_cast<const TBitmap*>(Item->ImageCopy.get())) return copy;
  return dynamic_cast<const TBitmap*>(Item->Image.get());
}

int32_t TRPBitmapAnimator::GetFrameCount() const {
  const TBitmap* strip = Strip();
  const int32_t cellWidth = Item ? Item->GetImageWidth(nullptr) : 0;
  const int32_t cellHeight = Item ? Item->GetImageHeight(nullptr) : 0;
  if (!strip || cellWidth <= 0 || cellHeight <= 0) return 0;
  return (strip->Width() / cellWidth) * (strip->Height() / cellHeight);
}

void TRPBitmapAnimator::Reset() {
  Interval = Item ? Item->Interval * 10 : 0;
  Frame = 0;
}

void TRPBitmapAnimator::ChangeFrame() {
  Interval = Item ? Item->Interval * 10 : 0;
  AdvanceFrame();
}

void TRPBitmapAnimator::Draw(TCanvas& canvas, int32_t x, int32_t y) {
  const TBitmap* strip = Strip();
  const int32_t cellWidth = Item ? Item->GetImageWidth(nullptr) : 0;
  const int32_t cellHeight = Item ? Item->GetImageHeight(nullptr) : 0;
  if (!strip || cellWidth <= 0 || cellHeight <= 0) return;
  const int32_t columns = strip->Width() / cellWidth;
  if (columns <= 0) return;
  const int32_t left = (Frame % columns) * cellWidth, top = (Frame / columns) * cellHeight;
  canvas.CopyRect(TRect{x, y, x + cellWidth, y + cellHeight}, const_cast<TBitmap*>(strip)->Canvas(),
                  TRect{left, top, left + cellWidth, top + cellHeight});
}

// --- The list -------------------------------------------------------------------------------

void TRPAnimatorList::AddAnimator(std::unique_ptr<IRPPictureAnimator>& animator) {
  auto* added = dynamic_cast<TRPAnimator*>(animator.get());
  if (!added) return;
  if (Count() >= MaxAnimators) {
    animator.reset();
    return;
  }
  added->Reset();
  MinInterval = std::min(MinInterval, added->Interval);
  FItems.push_back(added);
  added->List = this;
}

void TRPAnimatorList::Remove(TRPAnimator& animator) {
  FItems.erase(std::remove(FItems.begin(), FItems.end(), &animator), FItems.end());
  animator.List = nullptr;
  if (FItems.empty()) Active = false;
}

void TRPAnimatorList::Clear() {
  for (TRPAnimator* animator : FItems) animator->List = nullptr;
  FItems.clear();
  Active = false;
}

void TRPAnimatorList::FreeAnimators() {
  std::vector<TRPAnimator*> animators;
  animators.swap(FItems);
  for (TRPAnimator* animator : animators) {
    animator->List = nullptr;
    // The picture owns its animator: clearing its reference frees it.
    if (animator->Item && animator->Item->Animator.get() == animator) animator->Item->Animator.reset();
  }
  Active = false;
}

void TRPAnimatorList::SuspendAnimators() {
  for (TRPAnimator* animator : FItems) animator->Suspend();
}

void TRPAnimatorList::TimerStep() {
  const int32_t elapsed = MinInterval;
  int32_t next = std::numeric_limits<int32_t>::max();
  // Painting may not change the list, but a copy keeps the walk safe all the same.
  const std::vector<TRPAnimator*> animators = FItems;
  for (TRPAnimator* animator : animators) {
    animator->Interval -= elapsed;
    if (animator->Interval < 1) {
      animator->ChangeFrame();
      if (animator->IsInView())
        animator->PaintCurrentFrame();
      else
        animator->Suspend();
    }
    next = std::min(next, animator->Interval);
  }
  MinInterval = next;
}

// --- The factory ------------------------------------------------------------------------------

void CreateStripAnimator(TRPGraphicItemInfo& item, TCustomRPData& rpData) {
  auto* data = dynamic_cast<TCustomRPFormattedData*>(&rpData);
  TRichPaneRPData* root = data ? RootControlData(*data) : nullptr;
  const auto* bitmap = dynamic_cast<const TBitmap*>(item.Image.get());
  const int32_t cellWidth = item.GetImageWidth(nullptr), cellHeight = item.GetImageHeight(nullptr);
  const bool strip = bitmap && item.Interval > 0 && cellWidth > 0 && cellHeight > 0 &&
                     (bitmap->Width() / cellWidth) * (bitmap->Height() / cellHeight) > 1;
  if (!root || !root->AnimationAllowed() || !strip) {
    item.Animator.reset();
    return;
  }
  auto* existing = dynamic_cast<TRPBitmapAnimator*>(item.Animator.get());
  if (item.Animator && !existing) item.Animator.reset();
  if (existing) {
    existing->Update(data, item);
    existing->Reset();
    return;
  }
  item.Animator = std::make_unique<TRPBitmapAnimator>(data, item);
  root->InsertAnimator(item.Animator);
}

void RegisterRPAnimation() { SetRPAnimatorUpdater(&CreateStripAnimator); }
