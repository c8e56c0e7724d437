#include "richtext/model/RPCheckpoint.h"

#include <memory>

void TRPCPInfo::CopyFrom(const TRPCPInfo& source) {
  Name = source.Name;
  RaiseEvent = source.RaiseEvent;
  Persistent = source.Persistent;
  Tag = source.Tag;
}

std::unique_ptr<TRPCPInfo> TRPCPInfo::CreateCopy() const {
  auto copy = std::make_unique<TRPCPInfo>();
  copy->CopyFrom(*this);
  return copy;
}
