#include "convert/cInternalLinks.h"

#include <algorithm>
#include <memory>

TDstLinkList::TDstLinkList() {
  FIds.SetSorted(true);  // case-insensitive by default
}

TDstLinkList::~TDstLinkList() { Clear(); }

TDstLinkItem* TDstLinkList::Find(const WideString& id) const {
  int32_t index = 0;
  return FIds.Find(id, index) ? &Target(index) : nullptr;
}

TDstLinkItem& TDstLinkList::FindOrAdd(const WideString& id) {
  if (TDstLinkItem* found = Find(id)) return *found;
  auto target = std::make_unique<TDstLinkItem>();
  FIds.AddObject(id, target.get());
  TDstLinkItem& added = *target.release();  // the list owns it now
  FByKey[added.Key].push_back(&added);
  return added;
}

void TDstLinkList::SetKey(TDstLinkItem& target, int32_t key) {
  if (target.Key == key) return;
  Unindex(target);
  target.Key = key;
  FByKey[key].push_back(&target);
}

void TDstLinkList::Unindex(TDstLinkItem& target) {
  const auto bucket = FByKey.find(target.Key);
  if (bucket == FByKey.end()) return;
  std::erase(bucket->second, &target);
  if (bucket->second.empty()) FByKey.erase(bucket);
}

void TDstLinkList::Delete(int32_t index) {
  const std::unique_ptr<TDstLinkItem> target(&Target(index));
  Unindex(*target);
  FIds.Delete(index);
}

void TDstLinkList::Clear() {
  for (int32_t i = Count() - 1; i >= 0; --i) Delete(i);
}

void TDstLinkList::SetPageForKey(int32_t key, int32_t page) {
  const auto bucket = FByKey.find(key);
  if (bucket == FByKey.end()) return;
  for (TDstLinkItem* target : bucket->second) {
    if (target->Page != page) target->Changed = true;
    target->Page = page;
  }
}

bool TDstLinkList::AnyChanged() const {
  for (int32_t i = 0; i < Count(); ++i)
    if (Target(i).Changed) return true;
  return false;
}

void TDstLinkList::ResetChanged() {
  for (int32_t i = 0; i < Count(); ++i) Target(i).Changed = false;
}

void TInternalLinks::Clear() {
  Sources.clear();
  Targets.Clear();
}

void TInternalLinks::AddSource(const WideString& id, int32_t sourceKey, TCustomRPData* document) {
  Sources.push_back({&Targets.FindOrAdd(id), sourceKey, document});
}

void TInternalLinks::SetTarget(const WideString& id, int32_t key) { Targets.SetKey(Targets.FindOrAdd(id), key); }

bool TInternalLinks::HasLinks() const { return !Sources.empty() && Targets.Count() > 0; }

void TInternalLinks::RemoveUnreferenced() {
  for (int32_t i = 0; i < Targets.Count(); ++i) Targets.Target(i).Changed = true;  // scratch mark
  for (const TSrcLinkItem& source : Sources) source.Target->Changed = false;
  for (int32_t i = Targets.Count() - 1; i >= 0; --i)
    if (Targets.Target(i).Changed) Targets.Delete(i);
}
