#include "richtext/model/RPStyleInfo.h"

#include <vector>

#include "platform/base/StringLists.h"

void TCustomRPInfo::Assign(const TPersistent& source) {
  if (const auto* info = dynamic_cast<const TCustomRPInfo*>(&source)) {
    if (!HasInfoFields() || !info->HasInfoFields()) return;
    BaseStyleNo = info->BaseStyleNo;
    StyleName = info->StyleName;
    Standard = info->Standard;
    StyleTemplateId = info->StyleTemplateId;
    return;
  }
  TCollectionItem::Assign(source);
}

void TCustomRPInfo::MapMergedReferences(const TRPIntegerList& map, const TRPIntegerList*) {
  MapReference(BaseStyleNo, &map);
}

bool TCustomRPInfo::MappedReferenceMatches(int32_t& valueRef, int32_t selfRef, const TRPIntegerList& map) {
  if (valueRef < 0) return true;
  if (valueRef < map.Count()) return map[valueRef] == selfRef;
  valueRef = -1;
  return true;
}

void TCustomRPInfo::MapReference(int32_t& reference, const TRPIntegerList* map) {
  if (map && reference >= 0 && reference < map->Count()) reference = (*map)[reference];
}

void TCustomRPInfos::AssignTo(TPersistent& dest) const {
  if (auto* strings = dynamic_cast<TStrings*>(&dest)) {
    strings->Clear();
    for (int32_t i = 0; i < Count(); ++i) strings->Add(Style(i)->StyleName);
    return;
  }
  TOwnedCollection::AssignTo(dest);
}

int32_t TCustomRPInfos::BestScored(const TCustomRPInfo& s,
                                   bool (*candidate)(const TCustomRPInfo& s, const TCustomRPInfo& item)) const {
  int32_t best = -1, bestScore = 0;
  for (int32_t i = 0; i < Count(); ++i) {
    if (candidate && !candidate(s, *Style(i))) continue;
    const int32_t score = s.SimilarityValue(*Style(i));
    if (best < 0 || score > bestScore) {
      best = i;
      bestScore = score;
    }
  }
  return best;
}

int32_t TCustomRPInfos::FindClosestStyle(const TCustomRPInfo& s) const { return BestScored(s, nullptr); }

void TCustomRPInfos::MergeStyles(TCustomRPInfos& source, TRPMergeMode mode, TRPIntegerList& map,
                                 const TRPIntegerList* textStyleMap) {
  map.Clear();
  const int32_t oldCount = Count();
  auto addCopy = [this](const TCustomRPInfo& s) {
    Add()->Assign(s);
    return Count() - 1;
  };
  // Targets taken by a source style that merges into one target only.
  std::vector<bool> taken;
  auto free = [&taken](int32_t j) { return j >= static_cast<int32_t>(taken.size()) || !taken[static_cast<size_t>(j)]; };
  for (int32_t i = 0; i < source.Count(); ++i) {
    TCustomRPInfo& s = *source.Style(i);
    int32_t target = -1;
    switch (mode) {
      case rpmmMerge:
        if (i < Count() && free(i) && s.IsSimpleEqualEx(*Style(i), map)) target = i;
        for (int32_t j = 0; target < 0 && j < Count(); ++j)
          if (free(j) && s.IsSimpleEqualEx(*Style(j), map)) target = j;
        if (target < 0) {
          static_cast<TCustomRPInfo*>(Add())->AssignMerged(s);
          target = Count() - 1;
        }
        if (s.MergesIntoOneTarget()) {
          if (static_cast<size_t>(target) >= taken.size()) taken.resize(static_cast<size_t>(target) + 1);
          taken[static_cast<size_t>(target)] = true;
        }
        break;
      case rpmmClosest:
        target = FindClosestStyle(s);
        break;
      case rpmmAddNew:
        target = addCopy(s);
        break;
    }
    map.Add(target);
  }
  for (int32_t i = oldCount; i < Count(); ++i) {
    Style(i)->Standard = false;
    Style(i)->MapMergedReferences(map, textStyleMap);
  }
}
