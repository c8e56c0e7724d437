// Live spelling: a thread of low priority that walks the rich view's document item by
// item and word by word, asks the view's OnSpellingCheck whether each word is misspelled,
// and has misspelled words marked (a misspelling painter on the item) and repainted.
//
// The two threads and the document:
// - The worker only reads the document (items, texts, styles, marks), and only while it
//   runs (State 0). It stops at safe points of its own, between two steps of its walk:
//   a pause request (State 1) is answered there with State 2, and the worker then waits
//   until it is resumed. It is never stopped from outside, so it never stands still in
//   the middle of reading or while it holds a lock.
// - Everything the walk changes in the document (marks added or removed, an item flagged
//   as checked, repainting) runs on the main thread through TThread::Synchronize while
//   the worker waits for it; the main thread runs those calls even while it waits for a
//   pause, so neither thread can block the other.
// - The main thread changes the document only while the worker stands still: the
//   document's own changes are bracketed by the view's PauseLiveSpelling and
//   ResumeLiveSpelling (RPData.h), which call Stop and ResumeDelayed. The positions of
//   the walk (CurrentData, pending positions) are changed by the main thread only then.
// - Finish ends the worker and joins it; the view does so before its document goes.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/base/Threads.h"
#include "platform/base/Types.h"

class TCustomRichPane;
class TCustomRPData;
class TRPStoreSubRPData;

class TRPWordEnumThread : public TThread {
public:
  // The states of the walk.
  static constexpr int32_t rpwsRunning = 0, rpwsPauseRequested = 1, rpwsPaused = 2, rpwsFinished = 3;
  // The quiet delay after an edit before the walk goes on, in milliseconds.
  static constexpr uint32_t QuietDelayMs = 50;

  // Not started (Resume starts it), at the lowest priority.
  TRPWordEnumThread();
  // Finish.
  ~TRPWordEnumThread() override;

  // The view whose document is checked; the document (the main one or a sub-document)
  // and the item being walked.
  TCustomRichPane* OwnerView = nullptr;
  TCustomRPData* CurrentData = nullptr;
  int32_t CurrentItem = 0;
  // The current item's text has been fetched and the scan is inside it. ItemText is what
  // the scan reads, one character for each of the item's: for a Unicode item (whose text
  // ItemTextW holds) each character outside ASCII stands as a letter or a space.
  bool ItemStarted = false;
  AnsiString ItemText;
  WideString ItemTextW;
  bool ItemUnicode = false;
  // 0-based indexes into ItemText: where the scan started and where it stands.
  size_t ScanStart = 0;
  size_t ScanPos = 0;
  // The word being checked: 1-based character offset in the item, and its length.
  int32_t WordStart = 0;
  int32_t WordLength = 0;
  // Items flagged as checked are walked again, skipping words already marked.
  bool RecheckUnmarked = false;
  // The sub-document being walked went away: the next position change starts over.
  bool RestartPending = false;
  // A word was edited after the walk passed it.
  bool WordModified = false;
  // A position to go on from (PendingItem -1: none).
  TCustomRPData* PendingData = nullptr;
  int32_t PendingItem = -1;
  int32_t PendingOffset = 0;
  // The delay after an edit: the walk waits while edits keep coming.
  std::atomic<bool> QuietWait{false};
  std::atomic<bool> EditedDuringWait{false};
  std::atomic<int32_t> State{rpwsRunning};

  // Binds the walk to view's document, from its first item, nothing pending.
  void Reset(TCustomRichPane* view);
  // Starts the thread, or lets it go on when it waits for work.
  void Resume();
  // Returns once the worker stands still (or waits for work, or has ended); with
  // clearPending the pending position is dropped and the current item's marks go.
  void Stop(bool clearPending);
  // Applies the pending position and lets the worker go on after the quiet delay.
  void ResumeDelayed();
  // Ends the worker and joins it.
  void Finish();
  // A position to go on from, kept when it lies before the one pending.
  void RequestRecheckFrom(TCustomRPData* data, int32_t itemNo, int32_t offset);
  // After an edit of a word the walk had passed: that item is checked again.
  void RecheckModifiedWord(TCustomRPData* data, int32_t itemNo);
  // The sub-document cell goes away.
  void NotifyCellDeleted(TCustomRPData* cell);
  // Whether the walk has reached or passed item itemNo of data.
  bool HasPassed(TCustomRPData* data, int32_t itemNo);
  // Moves the walk to the pending position when that lies before it (or starts over).
  void ApplyPending();
  // Whether the worker waits for work (it reached the end of the document).
  bool WaitsForWork();

protected:
  void Execute() override;

private:
  // One step of the walk (an item entered or left, or one word checked).
  void Step();
  // Stands still until resumed (answering each pause request).
  void Park();
  // Waits for work (the end of the document reached, or nothing to walk) until resumed
  // or ended; at once when a pause was asked meanwhile.
  void WaitForWork();
  // The form of a Unicode item's text that the scan reads: ASCII as it is, spaces and
  // punctuation outside ASCII as spaces, every other character as a letter.
  static AnsiString ScanFormOf(const WideString& text);
  // The next word of ItemText into WordStart and WordLength; false at the end of the
  // text.
  bool NextWord();
  bool IsWordSeparator(char ch) const;
  // The walk's position against (data, itemNo): negative when that lies after it, 0 at
  // the same item, positive before it. Throws when they share no document.
  int32_t CompareWithCurrent(TCustomRPData* data, int32_t itemNo) const;
  // Runs call on the main thread unless the worker is asked to end.
  void OnMainThread(const std::function<void()>& call);
  // The documents around CurrentData, found again on the main thread after the walk
  // moved there (so the worker never asks a document where it stands, which may fill
  // caches); false when CurrentData is in none of the view's documents.
  bool RebuildNesting();

  // Where the walk entered each sub-document around CurrentData, outermost first: the
  // document holding the item, the item, and the sub-document's place in the item.
  struct TNestingStep {
    TCustomRPData* Parent = nullptr;
    int32_t OwnerItem = -1;
    std::unique_ptr<TRPStoreSubRPData> Location;
  };
  std::vector<TNestingStep> FNesting;

  std::mutex FLock;
  std::condition_variable FWake;
  // The worker waits for work (guarded by FLock).
  bool FSuspended = false;
  bool FStarted = false;
};
