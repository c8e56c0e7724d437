// The rich view control's live spelling, animation and smart popup.
#include <algorithm>

#include "richtext/layout/view/RichPane.h"

// --- Live spelling ---------------------------------------------------------------------

void TCustomRichPane::StartLiveSpelling() {
  if (FSpellingThread) {
    PauseLiveSpelling();
    FSpellingThread->Reset(this);
    ResumeLiveSpelling();
    return;
  }
  FSpellingPauses = 0;
  FSpellingThread = std::make_unique<TRPWordEnumThread>();
  FSpellingThread->Reset(this);
  FSpellingThread->Resume();
}

void TCustomRichPane::StopLiveSpelling() {
  if (!FSpellingThread) return;
  // Released only once it has ended: a queued call of the thread may still refer to it.
  std::unique_ptr<TRPWordEnumThread> thread = std::move(FSpellingThread);
  thread->Finish();
  FSpellingPauses = 0;
}

void TCustomRichPane::PauseLiveSpelling() {
  if (FSpellingThread && FSpellingPauses++ == 0) FSpellingThread->Stop(false);
}

void TCustomRichPane::ResumeLiveSpelling() {
  if (!FSpellingThread || FSpellingPauses == 0) return;
  if (--FSpellingPauses == 0) FSpellingThread->ResumeDelayed();
}

void TCustomRichPane::LiveSpellingResetFrom(TCustomRPData& rpData, int32_t itemNo, int32_t offset) {
  if (!FSpellingThread) return;
  PauseLiveSpelling();
  FSpellingThread->RequestRecheckFrom(&rpData, itemNo, offset);
  ResumeLiveSpelling();
}

void TCustomRichPane::AdjustSpellingOnInsert(TCustomRPData& rpData, int32_t itemNo, int32_t offset, WideChar ch) {
  PauseLiveSpelling();
  WordMarksAdjusted(rpData, itemNo, rpData.GetItem(itemNo)->AdjustWordPaintersForInsert(offset, ch, &rpData));
  ResumeLiveSpelling();
}

void TCustomRichPane::AdjustSpellingOnDelete(TCustomRPData& rpData, int32_t itemNo, int32_t offset, int32_t count) {
  PauseLiveSpelling();
  WordMarksAdjusted(rpData, itemNo, rpData.GetItem(itemNo)->AdjustWordPaintersForDelete(offset, count));
  ResumeLiveSpelling();
}

void TCustomRichPane::WordMarksAdjusted(TCustomRPData& rpData, int32_t itemNo, bool markDropped) {
  if (!FSpellingThread || !FSpellingThread->HasPassed(&rpData, itemNo)) return;
  if (markDropped) {
    FSpellingThread->WordModified = false;
    FSpellingThread->RecheckUnmarked = true;
    FSpellingThread->RequestRecheckFrom(&rpData, itemNo, 0);
  } else {
    FSpellingThread->WordModified = true;
  }
}

void TCustomRichPane::RecheckModifiedWord(TCustomRPData& rpData, int32_t itemNo) {
  if (!FSpellingThread || !FSpellingThread->WordModified) return;
  PauseLiveSpelling();
  FSpellingThread->RecheckModifiedWord(&rpData, itemNo);
  ResumeLiveSpelling();
}

void TCustomRichPane::LiveSpellingCellFreed(TCustomRPData& cell) {
  if (!FSpellingThread) return;
  PauseLiveSpelling();
  FSpellingThread->NotifyCellDeleted(&cell);
  ResumeLiveSpelling();
}

// --- Animation ---------------------------------------------------------------------------

void TCustomRichPane::SetAnimationMode(TRPAnimationMode mode) {
  FAnimationMode = mode;
  if (mode == rpaniDisabled) StopAnimation();
}

void TCustomRichPane::StartAnimation() {
  if (FAnimationMode == rpaniDisabled) return;
  FData->SetAnimationAllowed(true);
  FData->EnumItems([](TCustomRPData& data, int32_t itemNo, bool&) { data.GetItem(itemNo)->UpdateAnimator(&data); });
  if (const TRPAnimatorList* animators = FData->Animators(); animators && !animators->Active) StartAnimationTimer();
}

void TCustomRichPane::StopAnimation() {
  StopAnimationTimer();
  FData->SetAnimationAllowed(false);
  if (TRPAnimatorList* animators = FData->Animators()) animators->FreeAnimators();
}

void TCustomRichPane::StartAnimationTimer() {
  TRPAnimatorList* animators = FData->Animators();
  if (!animators || animators->Count() == 0) return;
  if (Host()) Host()->SetTimer(RPAnimationTimerId, static_cast<uint32_t>(std::max(animators->MinInterval, 1)));
  animators->Active = true;
  animators->LastMinInterval = animators->MinInterval;
}

void TCustomRichPane::StopAnimationTimer() {
  TRPAnimatorList* animators = FData->Animators();
  if (!animators || !animators->Active) return;
  if (Host()) Host()->KillTimer(RPAnimationTimerId);
  animators->Active = false;
}

void TCustomRichPane::AnimationTick() {
  TRPAnimatorList* animators = FData->Animators();
  if (animators && animators->Count() > 0) animators->TimerStep();
  if (!animators || animators->Count() == 0) {
    if (Host()) Host()->KillTimer(RPAnimationTimerId);
    if (animators) animators->Active = false;
    return;
  }
  if (animators->MinInterval != animators->LastMinInterval) {
    if (Host()) Host()->SetTimer(RPAnimationTimerId, static_cast<uint32_t>(std::max(animators->MinInterval, 1)));
    animators->LastMinInterval = animators->MinInterval;
  }
}

// --- Smart popup ---------------------------------------------------------------------------

TRPSmartPopupProperties& TCustomRichPane::SmartPopupProperties() {
  if (!FSmartPopupProperties) FSmartPopupProperties = std::make_unique<TRPSmartPopupProperties>(this);
  return *FSmartPopupProperties;
}

void TCustomRichPane::ShowSmartPopup(TCustomRPFormattedData& rpData, int32_t itemNo) {
  FData->SetSmartPopupTarget(&rpData, itemNo >= 0 && itemNo < rpData.GetItemCount() ? rpData.GetItem(itemNo) : nullptr);
}

void TCustomRichPane::DoVScrolled() {
  FData->PlaceSmartPopupButton();
  TRPScroller::DoVScrolled();
}

void TCustomRichPane::DoHScrolled() {
  FData->PlaceSmartPopupButton();
  TRPScroller::DoHScrolled();
}
