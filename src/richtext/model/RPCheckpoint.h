// A checkpoint: a named mark on one item of a document (a section title for the table
// of contents, a target of internal links). The document chains its checkpoints in
// document order; the item it marks owns it.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/base/Object.h"
#include "platform/base/Types.h"
#include "richtext/model/RPTag.h"

class TCustomRPItemInfo;

class TRPCPInfo : public TObject {
public:
  AnsiString Name;
  TRPCPInfo* Next = nullptr;
  TRPCPInfo* Prev = nullptr;
  bool RaiseEvent = false;
  bool Persistent = false;
  TCustomRPItemInfo* ItemInfo = nullptr;
  // The item's index, refreshed on demand by the document (RefreshCheckpointIndexes).
  int32_t ItemNo = -1;
  TRPTag Tag;

  // Name, flags and tag of source; the chain and the item are left alone. Tags are
  // copied with their string, whichever kind they are.
  void CopyFrom(const TRPCPInfo& source);
  std::unique_ptr<TRPCPInfo> CreateCopy() const;
};
