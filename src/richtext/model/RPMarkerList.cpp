// The marker list: markers in document order, their numbering and their texts.
#include "richtext/model/RPMarkerList.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <limits>
#include <vector>

#include "platform/base/Exception.h"
#include "platform/base/Format.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPMarker.h"

namespace {

TRPMarkerListFactory& MarkerListFactory() {
  static TRPMarkerListFactory factory = nullptr;
  return factory;
}

// counter + 1 without passing MaxInt (a start value read from a file may be MaxInt).
int32_t NextCounter(int32_t counter) { return counter == std::numeric_limits<int32_t>::max() ? counter : counter + 1; }

// The stamps of marker lists: one counter for the process, so that no two changes of any
// lists share a stamp.
uint64_t NewMarkerListStamp() {
  static std::atomic<uint64_t> last{0};
  return ++last;
}

}  // namespace

void SetMarkerListFactory(TRPMarkerListFactory factory) { MarkerListFactory() = factory; }

TRPMarkerListFactory GetMarkerListFactory() { return MarkerListFactory(); }

// --- The marker's place and text ------------------------------------------------------

int32_t TRPMarkerItemInfo::GetIndexInList(const TRPMarkerList* list) const {
  if (!list) return -1;
  if (CachedListIndex < 0 || CachedListIndex >= list->Count() || list->Items(CachedListIndex) != this)
    CachedListIndex = list->IndexOf(this);
  return CachedListIndex;
}

/* The number texts of a marker M at level L and of its parents: argument I is the text
   of the counter of the marker C standing at level I (M first), in C's level's numbering
   type (decimal for the levels above L when M's level numbers legal-style); the levels
   between C and its parent P (the nearest earlier marker of the list at a lower level)
   that have no marker of their own show their level's StartFrom. The chain ends at level
   0 or when no parent is left. Arguments past the array stay unset: a level number read
   from a file may be any number, but a format string names at most 256 arguments. */
void TRPMarkerItemInfo::UpdateDisplayString(const IRPStyleSheet* rpStyle, const TRPMarkerList& list, int32_t index) {
  DisplayString.clear();
  const TRPListLevel* level = GetLevelInfo(rpStyle);
  if (!level) return;
  switch (level->ListType) {
    case rplstBullet:
      DisplayString = level->FormatString;
      return;
    case rplstDecimal:
    case rplstLowerAlpha:
    case rplstUpperAlpha:
    case rplstLowerRoman:
    case rplstUpperRoman:
      break;
    default:
      return;
  }
  constexpr int32_t argCount = 256;
  std::array<AnsiString, argCount> texts;
  const bool legal = level->Options.Contains(rploLegalStyleNumbering);
  auto numberText = [&](int32_t number, const TRPListLevel* of, int32_t i) {
    if (!of) return AnsiString();
    TRPListType type = of->ListType;
    if (i < Level && legal && type >= rplstLowerAlpha && type <= rplstUpperRoman) type = rplstDecimal;
    return GetNumberText(number, type);
  };
  const TRPMarkerItemInfo* current = this;
  const TRPMarkerList* currentList = &list;
  int32_t currentIndex = index;
  int32_t i = Level;
  while (true) {
    if (i < argCount) texts[static_cast<size_t>(i)] = numberText(current->Counter, current->GetLevelInfo(rpStyle), i);
    if (i == 0) break;
    int32_t parentIndex = -1;
    const TRPMarkerList* parentList = nullptr;
    const bool found = currentList->FindParentMarker(currentIndex, current, parentIndex, parentList);
    const int32_t p = found ? parentList->Items(parentIndex)->Level : -1;
    // A parent of a negative level (one read from a file) ends the chain like none.
    for (int32_t k = std::min(i - 1, argCount - 1); k > p && k >= 0; --k) {
      const TRPListLevel* levelK = GetLevelInfoAt(rpStyle, k);
      texts[static_cast<size_t>(k)] = levelK ? numberText(levelK->StartFrom, levelK, k) : AnsiString();
    }
    if (p < 0) break;
    current = parentList->Items(parentIndex);
    currentList = parentList;
    currentIndex = parentIndex;
    i = p;
  }
  std::vector<TVarRec> args;
  args.reserve(texts.size());
  for (const AnsiString& text : texts) args.emplace_back(text);
  try {
    DisplayString = Format(level->FormatString, std::span<const TVarRec>(args));
  } catch (const EConvertError&) {
    // A pattern Format refuses (a wrong type letter, an argument past 255) shows as it is.
    DisplayString = level->FormatString;
  }
}

// --- The list -------------------------------------------------------------------------

TRPMarkerList::~TRPMarkerList() = default;

int32_t TRPMarkerList::IndexOf(const TRPMarkerItemInfo* marker) const {
  const auto it = std::find(FItems.begin(), FItems.end(), marker);
  return it == FItems.end() ? -1 : static_cast<int32_t>(it - FItems.begin());
}

int32_t TRPMarkerList::InsertMarkerAfter(TRPMarkerItemInfo& marker, const TRPMarkerItemInfo* after) {
  int32_t index = 0;
  if (after) {
    const int32_t afterIndex = after->GetIndexInList(this);
    index = afterIndex < 0 ? Count() : afterIndex + 1;
  }
  FItems.insert(FItems.begin() + index, &marker);
  marker.CachedListIndex = index;
  Changed();
  return index;
}

void TRPMarkerList::Delete(int32_t index) {
  TRPMarkerItemInfo* marker = Items(index);
  FItems.erase(FItems.begin() + index);
  marker->CachedListIndex = -1;
  Changed();
  std::erase_if(FOwned, [marker](const std::unique_ptr<TRPMarkerItemInfo>& owned) { return owned.get() == marker; });
}

void TRPMarkerList::Clear() {
  FItems.clear();
  FOwned.clear();
  Changed();
}

void TRPMarkerList::Changed() { FMarkersStamp = NewMarkerListStamp(); }

void TRPMarkerList::SetPrevMarkerList(TRPMarkerList* list) {
  if (list == FPrevMarkerList) return;
  FPrevMarkerList = list;
  FLinkStamp = NewMarkerListStamp();
}

// Stamps only grow, so the largest of the chain's stamps changes with any change in it.
uint64_t TRPMarkerList::ChainStamp() const {
  uint64_t stamp = FLinkStamp;
  for (const TRPMarkerList* list = FPrevMarkerList; list; list = list->FPrevMarkerList)
    stamp = std::max({stamp, list->FMarkersStamp, list->FLinkStamp});
  return stamp;
}

/* An answer kept by the marker at (list, index) holds when it was found in the lists
   before `list` as they stand (its chain stamp), and a parent it names still stands where
   it stood: in `list` before index or in a list before `list` (never a list that may be
   gone), a marker of the list style at a lower level. Changes within `list` before index
   cleared it (RecalcCounters). */
bool TRPMarkerList::ParentAnswerHolds(const TRPMarkerParentCache& answer, const TRPMarkerList& list, int32_t index,
                                      uint64_t listChain) {
  if (answer.State == TRPMarkerParentCache::Unknown || answer.Chain != listChain) return false;
  if (answer.State == TRPMarkerParentCache::None) return true;
  const TRPMarkerList* reach = &list;
  while (reach && reach != answer.List) reach = reach->FPrevMarkerList;
  if (!reach) return false;
  const int32_t at = answer.Index;
  if (at < 0 || at >= reach->Count() || (reach == &list && at >= index)) return false;
  const TRPMarkerItemInfo* parent = reach->Items(at);
  const TRPMarkerItemInfo* marker = list.Items(index);
  return parent == answer.Parent && parent->ListNo == marker->ListNo && parent->Level < marker->Level;
}

bool TRPMarkerList::FindParentMarker(int32_t index, const TRPMarkerItemInfo* marker, int32_t& parentIndex,
                                     const TRPMarkerList*& parentList) const {
  const TRPMarkerItemInfo* self = index >= 0 && index < Count() ? Items(index) : nullptr;
  if (!marker) marker = self;
  parentIndex = -1;
  parentList = nullptr;
  const TRPMarkerList* list = this;
  uint64_t listChain = ChainStamp();
  int32_t j = std::min(index, Count()) - 1;
  while (list) {
    if (j < 0) {
      list = list->FPrevMarkerList;
      if (!list) break;
      listChain = list->ChainStamp();
      j = list->Count() - 1;
      continue;
    }
    ++FParentSearchSteps;
    const TRPMarkerItemInfo& candidate = *list->Items(j);
    if (candidate.ListNo == marker->ListNo) {
      if (candidate.Level < marker->Level) {
        parentIndex = j;
        parentList = list;
        break;
      }
      // No marker between the candidate and its parent is lower than the candidate, so
      // none is lower than this marker either.
      const TRPMarkerParentCache& answer = candidate.ParentCache;
      if (ParentAnswerHolds(answer, *list, j, listChain)) {
        if (answer.State == TRPMarkerParentCache::None) break;
        if (answer.List != list) listChain = answer.List->ChainStamp();
        list = answer.List;
        j = answer.Index;
        continue;
      }
    }
    --j;
  }
  if (self && marker == self) {
    TRPMarkerParentCache& kept = self->ParentCache;
    kept.Chain = ChainStamp();
    kept.State = parentList ? TRPMarkerParentCache::Found : TRPMarkerParentCache::None;
    kept.List = parentList;
    kept.Index = parentIndex;
    kept.Parent = parentList ? parentList->Items(parentIndex) : nullptr;
  }
  return parentList != nullptr;
}

/* Counters of list N from fromIndex on. A restarting marker takes its own StartFrom.
   Any other marker M starts at its level's StartFrom V and looks back over the markers
   of N: one at M's level gives the next number; with the level's rploLevelReset, one at
   a lower level ends the look (M stays at V); one at a deeper level means a level was
   skipped into, so M is at least V + 1, and the look goes on. */
void TRPMarkerList::RecalcCounters(int32_t fromIndex, const IRPStyleSheet* rpStyle) {
  if (fromIndex < 0 || fromIndex >= Count()) return;
  const int32_t listNo = Items(fromIndex)->ListNo;
  if (listNo < 0) return;
  for (int32_t m = fromIndex; m < Count(); ++m) {
    TRPMarkerItemInfo& marker = *Items(m);
    if (marker.ListNo != listNo) continue;
    marker.ParentCache = {};
    if (marker.Reset) {
      marker.Counter = marker.StartFrom;
    } else {
      const TRPListLevel* level = marker.GetLevelInfo(rpStyle);
      const int32_t start = level ? level->StartFrom : 1;
      const bool levelReset = level && level->Options.Contains(rploLevelReset);
      marker.Counter = start;
      for (int32_t j = m - 1; j >= 0; --j) {
        const TRPMarkerItemInfo& before = *Items(j);
        if (before.ListNo != listNo) continue;
        if (before.Level == marker.Level) {
          marker.Counter = NextCounter(before.Counter);
          break;
        }
        if (before.Level < marker.Level) {
          if (levelReset) {
            marker.Counter = start;
            break;
          }
        } else {
          marker.Counter = NextCounter(start);
        }
      }
    }
    marker.UpdateDisplayString(rpStyle, *this, m);
  }
}

void TRPMarkerList::AddMarker(TCustomRPData& data, int32_t itemNo) {
  auto* marker = dynamic_cast<TRPMarkerItemInfo*>(data.GetItem(itemNo));
  if (!marker || marker->GetIndexInList(this) >= 0) return;
  const auto* previous = dynamic_cast<const TRPMarkerItemInfo*>(data.FindPrevMarker(itemNo));
  RecalcCounters(InsertMarkerAfter(*marker, previous), data.GetRPStyle());
}

void TRPMarkerList::RemoveMarker(TCustomRPData& data, TCustomRPItemInfo& item, bool clearing) {
  auto* marker = dynamic_cast<TRPMarkerItemInfo*>(&item);
  const int32_t index = marker ? marker->GetIndexInList(this) : -1;
  if (index < 0) return;
  const int32_t listNo = marker->ListNo;
  Delete(index);
  if (clearing || listNo < 0) return;
  // The list of the marker that went, from its next marker on.
  for (int32_t j = index; j < Count(); ++j)
    if (Items(j)->ListNo == listNo) return RecalcCounters(j, data.GetRPStyle());
}

void TRPMarkerList::UpdateCountersFrom(TCustomRPData& data, TCustomRPItemInfo& item) {
  const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(&item);
  if (const int32_t index = marker ? marker->GetIndexInList(this) : -1; index >= 0)
    RecalcCounters(index, data.GetRPStyle());
}

int32_t TRPMarkerList::FindLastOfLists(int32_t index, const TRPIntegerList& listNos) const {
  for (int32_t j = Count() - 1; j > index && j >= 0; --j)
    if (listNos.IndexOf(Items(j)->ListNo) >= 0) return j;
  return -1;
}
