// The internal links of a book being built: the places links point to (targets, named
// by their ids) and the items that hold the links' page references (sources). During
// pagination each target learns its page, and the sources whose target moved are
// rewritten, until no target moves.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/base/Object.h"
#include "platform/base/Types.h"
#include "unicode/UniWideStrings.h"

class TCustomRPData;

// A target.
class TDstLinkItem : public TObject {
public:
  int32_t Page = 0;
  int32_t Key = -1;  // the main-document item where the target begins; -1 while only links name it
  bool Changed = false;
};

// The targets by id: a sorted string list compared without regard to case, each id once,
// owning its target records. An index from Key to targets serves SetPageForKey.
class TDstLinkList {
public:
  TDstLinkList();
  ~TDstLinkList();
  TDstLinkList(const TDstLinkList&) = delete;
  TDstLinkList& operator=(const TDstLinkList&) = delete;

  int32_t Count() const { return FIds.GetCount(); }
  WideString Id(int32_t index) const { return FIds.GetString(index); }
  TDstLinkItem& Target(int32_t index) const { return *static_cast<TDstLinkItem*>(FIds.GetObject(index)); }
  // The target of the id (any case), nullptr when none.
  TDstLinkItem* Find(const WideString& id) const;
  // The target of the id, added with Key -1 when there is none.
  TDstLinkItem& FindOrAdd(const WideString& id);
  // Gives the target another Key, keeping the index in step.
  void SetKey(TDstLinkItem& target, int32_t key);
  void Delete(int32_t index);
  void Clear();

  // Every target whose Key equals key gets that Page; one whose Page differs from
  // before is marked Changed.
  void SetPageForKey(int32_t key, int32_t page);
  bool AnyChanged() const;
  void ResetChanged();

private:
  void Unindex(TDstLinkItem& target);

  TUniStringList FIds;  // id -> owned TDstLinkItem
  std::unordered_map<int32_t, std::vector<TDstLinkItem*>> FByKey;
};

// A source: the item holding a page reference, in its document (nullptr for the main
// document; a table cell or a note table is a document of its own).
struct TSrcLinkItem {
  TDstLinkItem* Target;
  int32_t Key;
  TCustomRPData* Document;
};

// The sources in the order they were added.
using TSrcLinkList = std::vector<TSrcLinkItem>;

class TInternalLinks {
public:
  void Clear();
  // Appends a source referring to the target of the id, which is added (Key -1) when
  // there is none.
  void AddSource(const WideString& id, int32_t sourceKey, TCustomRPData* document = nullptr);
  // The target of the id gets the key (a later call for the same id wins), or is added
  // with it.
  void SetTarget(const WideString& id, int32_t key);
  // At least one source and at least one target.
  bool HasLinks() const;
  // Deletes every target that no source refers to; every remaining target is left
  // with Changed false.
  void RemoveUnreferenced();

  TSrcLinkList Sources;
  TDstLinkList Targets;
};
