// The marker list: markers in document order, their numbering and their texts.
#include "richtext/model/RPMarkerList.h"

#include <algorithm>
#include <array>
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
  return index;
}

void TRPMarkerList::Delete(int32_t index) {
  TRPMarkerItemInfo* marker = Items(index);
  FItems.erase(FItems.begin() + index);
  marker->CachedListIndex = -1;
  std::erase_if(FOwned, [marker](const std::unique_ptr<TRPMarkerItemInfo>& owned) { return owned.get() == marker; });
}

void TRPMarkerList::Clear() {
  FItems.clear();
  FOwned.clear();
}

bool TRPMarkerList::FindParentMarker(int32_t index, const TRPMarkerItemInfo* marker, int32_t& parentIndex,
                                     const TRPMarkerList*& parentList) const {
  const TRPMarkerItemInfo* self = index >= 0 && index < Count() ? Items(index) : nullptr;
  if (!marker) marker = self;
  auto found = [&](const TRPMarkerList* list, int32_t j) {
    parentIndex = j;
    parentList = list;
    if (list && marker == self) {
      marker->CachedParentList = list;
      marker->CachedParentIndex = j;
      marker->CachedParent = list->Items(j);
    } else if (marker == self) {
      marker->CachedParent = nullptr;
    }
    return list != nullptr;
  };
  // Whether the parent a sibling found at (list, j) last still stands there: the cached
  // list is this one or one before it (never a list that may be gone), and holds the
  // same marker at that index, of the list style and a lower level.
  auto cachedParent = [&](const TRPMarkerItemInfo& sibling, const TRPMarkerList* list, int32_t j) {
    const TRPMarkerList* cached = sibling.CachedParentList;
    if (!sibling.CachedParent || !cached) return false;
    const TRPMarkerList* reach = list;
    while (reach && reach != cached) reach = reach->PrevMarkerList;
    if (!reach) return false;
    const int32_t at = sibling.CachedParentIndex;
    if (at < 0 || at >= cached->Count() || (cached == list && at >= j)) return false;
    const TRPMarkerItemInfo* parent = cached->Items(at);
    return parent == sibling.CachedParent && parent->ListNo == marker->ListNo && parent->Level < marker->Level;
  };
  const TRPMarkerList* list = this;
  int32_t from = index;
  while (list) {
    for (int32_t j = std::min(from, list->Count()) - 1; j >= 0; --j) {
      ++FParentSearchSteps;
      const TRPMarkerItemInfo& candidate = *list->Items(j);
      if (candidate.ListNo != marker->ListNo) continue;
      if (candidate.Level < marker->Level) return found(list, j);
      if (candidate.Level == marker->Level && cachedParent(candidate, list, j))
        return found(candidate.CachedParentList, candidate.CachedParentIndex);
    }
    list = list->PrevMarkerList;
    if (list) from = list->Count();
  }
  found(nullptr, -1);
  return false;
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
