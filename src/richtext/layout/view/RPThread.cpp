#include "richtext/layout/view/RPThread.h"

#include <chrono>

#include "platform/base/CodePages.h"
#include "platform/base/Exception.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/layout/view/RichPane.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPStringHelpers.h"

namespace {

constexpr int32_t SymbolCharset = 2;
constexpr char Apostrophe = '\'';

}  // namespace

TRPWordEnumThread::TRPWordEnumThread() { SetPriority(tpLowest); }

TRPWordEnumThread::~TRPWordEnumThread() { Finish(); }

void TRPWordEnumThread::Reset(TCustomRichPane* view) {
  OwnerView = view;
  if (!view) return;
  FNesting.clear();
  CurrentData = &view->RPData();
  CurrentItem = 0;
  ItemStarted = false;
  RestartPending = false;
  RecheckUnmarked = false;
  WordModified = false;
  PendingData = nullptr;
  PendingItem = -1;
}

void TRPWordEnumThread::Resume() {
  if (!FStarted) {
    FStarted = true;
    Start();
    return;
  }
  {
    const std::lock_guard lock(FLock);
    FSuspended = false;
  }
  FWake.notify_all();
}

bool TRPWordEnumThread::WaitsForWork() {
  const std::lock_guard lock(FLock);
  return FSuspended;
}

void TRPWordEnumThread::Stop(bool clearPending) {
  if (State.load() == rpwsFinished) return;
  if (clearPending) {
    PendingData = nullptr;
    PendingItem = -1;
  }
  bool wait = false;
  {
    const std::lock_guard lock(FLock);
    if (FStarted && !FSuspended && State.load() == rpwsRunning) {
      State.store(rpwsPauseRequested);
      wait = true;
    }
  }
  if (wait) {
    FWake.notify_all();
    if (!QuietWait.load()) SetPriority(tpNormal);
    // The worker may wait for a call of its own on this thread: those run meanwhile.
    SynchronizeUntil([this] { return State.load() != rpwsPauseRequested; });
  }
  if (clearPending && CurrentData && CurrentItem >= 0 && CurrentItem < CurrentData->GetItemCount())
    CurrentData->GetItem(CurrentItem)->RemoveMisspellings();
  ItemStarted = false;
  SetPriority(tpLowest);
}

void TRPWordEnumThread::ResumeDelayed() {
  ApplyPending();
  EditedDuringWait.store(true);
  QuietWait.store(true);
  {
    const std::lock_guard lock(FLock);
    if (State.load() != rpwsFinished) State.store(rpwsRunning);
    FSuspended = false;
  }
  FWake.notify_all();
  if (!FStarted && OwnerView) Resume();
}

void TRPWordEnumThread::Finish() {
  if (FStarted && State.load() != rpwsFinished) {
    SetPriority(tpNormal);
    {
      const std::lock_guard lock(FLock);
      Terminate();
      FSuspended = false;
    }
    FWake.notify_all();
    SynchronizeUntil([this] { return State.load() == rpwsFinished; });
  }
  Terminate();
  WaitFor();
}

void TRPWordEnumThread::RequestRecheckFrom(TCustomRPData* data, int32_t itemNo, int32_t offset) {
  if (!data) return;
  if (data != PendingData || PendingItem < 0 || itemNo < PendingItem ||
      (itemNo == PendingItem && offset < PendingOffset)) {
    PendingData = data;
    PendingItem = itemNo;
    PendingOffset = offset;
  }
}

int32_t TRPWordEnumThread::CompareWithCurrent(TCustomRPData* data, int32_t itemNo) const {
  return CurrentData->ComparePositions(CurrentItem, data, itemNo);
}

void TRPWordEnumThread::RecheckModifiedWord(TCustomRPData* data, int32_t itemNo) {
  if (!WordModified || !data) return;
  WordModified = false;
  if (!RestartPending && CurrentData) {
    int32_t order = 0;
    try {
      order = CompareWithCurrent(data, itemNo);
    } catch (const ERichPaneError&) {
      return;
    }
    if (order < 0) return;
    if (order > 0 && itemNo >= 0 && itemNo < data->GetItemCount()) data->GetItem(itemNo)->RemoveMisspellings();
  }
  PendingData = data;
  PendingItem = itemNo;
  PendingOffset = 0;
  RecheckUnmarked = false;
  ApplyPending();
}

void TRPWordEnumThread::NotifyCellDeleted(TCustomRPData* cell) {
  if (cell == CurrentData) RestartPending = true;
  // A position pending in the cell would point nowhere.
  if (cell == PendingData) {
    PendingData = nullptr;
    PendingItem = -1;
  }
}

bool TRPWordEnumThread::HasPassed(TCustomRPData* data, int32_t itemNo) {
  if (RestartPending || !CurrentData || !data) return false;
  try {
    return CompareWithCurrent(data, itemNo) >= 0;
  } catch (const ERichPaneError&) {
    return false;
  }
}

void TRPWordEnumThread::ApplyPending() {
  if (PendingItem < 0 || !PendingData) {
    PendingItem = -1;
    if (RestartPending) Reset(OwnerView);
    return;
  }
  TCustomRPData* data = PendingData;
  const int32_t itemNo = PendingItem, offset = PendingOffset;
  PendingData = nullptr;
  PendingItem = -1;
  int32_t order = 1;
  if (!RestartPending && CurrentData) {
    try {
      order = CompareWithCurrent(data, itemNo);
    } catch (const ERichPaneError&) {
      // No common document: the walk starts over rather than stay somewhere unknown.
      RestartPending = false;
      Reset(OwnerView);
      return;
    }
  }
  if (order >= 0) {
    CurrentData = data;
    CurrentItem = itemNo;
    if (!RebuildNesting()) {
      Reset(OwnerView);
      return;
    }
  }
  const bool validItem = itemNo >= 0 && itemNo < data->GetItemCount();
  if (order > 0) {
    ItemStarted = offset > 1 && validItem && data->IsTextItem(itemNo);
    if (ItemStarted) {
      ItemText = data->GetItemTextA(itemNo);
      ScanStart = 0;
      ScanPos = std::min(static_cast<size_t>(offset - 1), ItemText.size());
      // Back to the start of the word that holds the offset.
      while (ScanPos > 0 && !data->IsDelimiterA(ItemText[ScanPos - 1])) --ScanPos;
    }
  } else if (order == 0) {
    if (!RecheckUnmarked && validItem) data->GetItem(itemNo)->RemoveMisspellings();
    ItemStarted = false;
  }
  RestartPending = false;
}

bool TRPWordEnumThread::RebuildNesting() {
  FNesting.clear();
  if (!OwnerView) return false;
  TCustomRPData* main = &OwnerView->RPData();
  for (TCustomRPData* data = CurrentData; data != main;) {
    std::unique_ptr<TRPStoreSubRPData> location;
    const int32_t ownerNo = data ? data->GetParentInfo(location) : -1;
    TCustomRPData* parent = data ? data->GetAbsoluteParentData() : nullptr;
    if (!parent || ownerNo < 0) return false;
    FNesting.insert(FNesting.begin(), TNestingStep{parent, ownerNo, std::move(location)});
    data = parent;
  }
  return true;
}

void TRPWordEnumThread::OnMainThread(const std::function<void()>& call) {
  if (!Terminated()) TThread::Synchronize(call);
}

void TRPWordEnumThread::Park() {
  std::unique_lock lock(FLock);
  for (;;) {
    const int32_t state = State.load();
    if (state == rpwsRunning || Terminated()) return;
    // A pause asked again while the worker stood still (resumed, then paused before it
    // woke) is acknowledged again.
    if (state == rpwsPauseRequested) {
      State.store(rpwsPaused);
      lock.unlock();
      SignalMainThread();
      lock.lock();
      continue;
    }
    FWake.wait(lock);
  }
}

void TRPWordEnumThread::WaitForWork() {
  std::unique_lock lock(FLock);
  if (State.load() != rpwsRunning || Terminated()) return;
  FSuspended = true;
  lock.unlock();
  SignalMainThread();
  lock.lock();
  FWake.wait(lock, [this] { return !FSuspended || Terminated(); });
}

void TRPWordEnumThread::Execute() {
  while (!Terminated()) {
    if (State.load() != rpwsRunning) {
      Park();
      continue;
    }
    if (QuietWait.load()) {
      EditedDuringWait.store(false);
      {
        std::unique_lock lock(FLock);
        FWake.wait_for(lock, std::chrono::milliseconds(QuietDelayMs),
                       [this] { return Terminated() || State.load() != rpwsRunning; });
      }
      // Checking goes on only after a whole delay without an edit.
      if (State.load() == rpwsRunning && !Terminated()) QuietWait.store(EditedDuringWait.load());
      continue;
    }
    Step();
  }
  State.store(rpwsFinished);
  SignalMainThread();
}

bool TRPWordEnumThread::IsWordSeparator(char ch) const { return ch == Apostrophe || CurrentData->IsDelimiterA(ch); }

AnsiString TRPWordEnumThread::ScanFormOf(const WideString& text) {
  AnsiString form(text.size(), 'a');
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t ch = text[i];
    if (ch < 0x80)
      form[i] = static_cast<char>(ch);
    else if (ch == 0x00A0 || ch == 0x00AB || ch == 0x00BB || (ch >= 0x2000 && ch <= 0x206F) ||
             (ch >= 0x3000 && ch <= 0x303F) || ch == 0xFEFF)
      form[i] = ' ';  // spaces, dashes, quotes and other punctuation part words
  }
  return form;
}

bool TRPWordEnumThread::NextWord() {
  const size_t length = ItemText.size();
  const TCustomRPItemInfo& item = *CurrentData->GetItem(CurrentItem);
  for (;;) {
    while (ScanPos < length && IsWordSeparator(ItemText[ScanPos])) ++ScanPos;
    if (ScanPos >= length) break;
    const size_t start = ScanPos;
    // Apostrophes inside a word belong to it; those at its end do not.
    size_t end = start;
    while (end < length && !CurrentData->IsDelimiterA(ItemText[end])) ++end;
    size_t wordEnd = end;
    while (wordEnd > start && ItemText[wordEnd - 1] == Apostrophe) --wordEnd;
    ScanPos = end;
    if (RecheckUnmarked && item.IsInPaintedWord(static_cast<int32_t>(start) + 1)) continue;
    WordStart = static_cast<int32_t>(start) + 1;
    WordLength = static_cast<int32_t>(wordEnd - start);
    return true;
  }
  RecheckUnmarked = false;
  return false;
}

void TRPWordEnumThread::Step() {
  if (!OwnerView || !CurrentData) {
    WaitForWork();
    return;
  }
  TCustomRPData* data = CurrentData;
  if (CurrentItem >= data->GetItemCount()) {
    if (data == &OwnerView->RPData()) {
      // What the main thread still has to do for the walk is done before it rests.
      OnMainThread([] {});
      WaitForWork();
      return;
    }
    // Out of a sub-document: into the next one of the same item, or on after the item.
    if (FNesting.empty()) {
      Reset(OwnerView);
      CurrentItem = CurrentData->GetItemCount();
      return;
    }
    TNestingStep& step = FNesting.back();
    // The item hands out the next place; the step keeps it for the sub-document after.
    TCustomRPData* next = step.OwnerItem < step.Parent->GetItemCount()
                              ? step.Parent->GetItem(step.OwnerItem)->GetSubRPData(step.Location, rpsdNext)
                              : nullptr;
    if (next) {
      CurrentData = next;
      CurrentItem = 0;
    } else {
      CurrentData = step.Parent;
      CurrentItem = step.OwnerItem + 1;
      FNesting.pop_back();
    }
    ItemStarted = false;
    return;
  }
  TCustomRPItemInfo& item = *data->GetItem(CurrentItem);
  if (item.StyleNo < 0) {
    std::unique_ptr<TRPStoreSubRPData> location;
    if (TCustomRPData* sub = item.GetSubRPData(location, rpsdFirst)) {
      FNesting.push_back(TNestingStep{data, CurrentItem, std::move(location)});
      CurrentData = sub;
      CurrentItem = 0;
    } else {
      ++CurrentItem;
    }
    ItemStarted = false;
    return;
  }
  if (!RecheckUnmarked && (item.ItemState & rpisSpellChecked)) {
    ++CurrentItem;
    ItemStarted = false;
    return;
  }
  const int32_t itemNo = CurrentItem;
  if (!ItemStarted) {
    ItemText = data->GetItemTextA(itemNo);
    const int32_t styleNo = data->GetItemStyle(itemNo);
    const IRPStyleSheet* sheet = data->GetRPStyle();
    const bool link =
        sheet && sheet->IsTextStyleJump(styleNo) && (LooksLikeUrl(ItemText) || LooksLikeEmailAddress(ItemText));
    const bool symbols = sheet && sheet->GetTextStyleCharset(styleNo) == SymbolCharset;
    if (link || symbols) ItemText.clear();
    // Only the main thread changes the item; an item without marks needs no call.
    const bool marked = item.WordPainters || (item.ItemState & rpisSpellChecked) != 0;
    if (marked && (link || symbols || !RecheckUnmarked)) OnMainThread([&item] { item.RemoveMisspellings(); });
    ItemUnicode = (item.ItemOptions & rpioUnicode) != 0 && !ItemText.empty();
    ItemTextW = ItemUnicode ? data->GetItemTextW(itemNo) : WideString();
    if (ItemUnicode) ItemText = ScanFormOf(ItemTextW);
    ScanStart = ScanPos = 0;
    ItemStarted = true;
  }
  if (!NextWord()) {
    OnMainThread([&item] { item.ItemState |= rpisSpellChecked; });
    ++CurrentItem;
    ItemStarted = false;
    return;
  }
  const auto handler = OwnerView->OnSpellingCheck;
  const auto handlerW = OwnerView->OnSpellingCheckW;
  if (!handler && !handlerW) return;
  bool misspelled = false;
  const int32_t styleNo = data->GetItemStyle(itemNo);
  const auto from = static_cast<size_t>(WordStart) - 1, count = static_cast<size_t>(WordLength);
  if (ItemUnicode && handlerW) {
    handlerW(OwnerView, ItemTextW.substr(from, count), styleNo, misspelled);
  } else if (ItemUnicode) {
    // A word the style's code page cannot hold would reach the 8-bit question as question
    // marks and be marked although it is right: it is not asked.
    const WideString word = ItemTextW.substr(from, count);
    const uint32_t codePage = data->GetStyleCodePage(styleNo);
    const AnsiString narrow = WideToAnsi(word, codePage);
    if (AnsiToWide(narrow, codePage) != word) return;
    handler(OwnerView, narrow, styleNo, misspelled);
  } else if (handler) {
    handler(OwnerView, ItemText.substr(from, count), styleNo, misspelled);
  } else {
    handlerW(OwnerView, AnsiToWide(ItemText.substr(from, count), data->GetStyleCodePage(styleNo)), styleNo, misspelled);
  }
  if (!misspelled) return;
  const int32_t start = WordStart, length = WordLength;
  OnMainThread([data, itemNo, start, length] {
    data->GetItem(itemNo)->AddMisspelling(start, length);
    auto* formatted = dynamic_cast<TCustomRPFormattedData*>(data);
    if (!formatted || formatted->DrawItems.Count() == 0) return;
    int32_t firstNo = -1, lastNo = -1, offs = 0;
    formatted->ItemToDrawItemPos(itemNo, start, firstNo, offs);
    formatted->ItemToDrawItemPos(itemNo, start + length, lastNo, offs);
    if (firstNo < 0 || lastNo < firstNo) return;
    for (int32_t drawNo = firstNo; drawNo <= lastNo; ++drawNo) formatted->InvalidateDrawItem(drawNo, 3);
  });
}
