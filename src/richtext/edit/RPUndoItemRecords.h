// Records of item property changes beside those of RPUndoRecords.h: an item's extra
// integer property (its GetIntProperty codes) and a published string property changed by
// name. Both reverse their step through the editable document data, which records the
// opposite step.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/base/ScopeExit.h"
#include "richtext/edit/RPUndoRecords.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPItemInfo.h"

// An extra integer property (Prop, a GetIntProperty code) set on the item; the width rule
// of RPUndoRecords.h after undoing.
class TRPUndoExtraIntProperty : public TRPUndoItemNoInfo {
public:
  TRPUndoExtraIntProperty() { Kind = rprkModifyItem; }
  int32_t OldWidth = 0;
  int32_t OldValue = 0;
  uint8_t Prop = 0;
  void Undo(TRPEditRPData& rpData) override;
  bool NeedsFullFormatAfter(TRPEditRPData& rpData) override;
};

// A published string property changed by name.
class TRPUndoModifyItemStrProperty : public TRPUndoModifyItemProps {
public:
  static std::unique_ptr<TRPUndoModifyItemProps> Create() { return std::make_unique<TRPUndoModifyItemStrProperty>(); }
  AnsiString PropName;
  AnsiString OldValue;
  void Undo(TRPEditRPData& rpData) override;
  TClass GetOppositeClass() const override { return &Create; }
};

// Adds to list a new record of undoClass for a change of the item's (or its sub-object's)
// properties: its item, sub-object and flags set. Raises ERichPaneError (the model's
// invalid item class message) when the class makes no T. nullptr without a list.
template <typename T>
T* AddModifyItemRecord(TRPUndoList* list, TRPUndoModifyItemProps::TClass undoClass, int32_t itemNo, TPersistent* target,
                       bool affectsSize, bool affectsWidth) {
  if (!list) return nullptr;
  std::unique_ptr<TRPUndoModifyItemProps> made = undoClass();
  auto* record = dynamic_cast<T*>(made.get());
  if (!record) throw ERichPaneError(errRPInvalidItemClass);
  made.release();
  record->ItemNo = itemNo;
  record->SubObject = target;
  record->AffectsSize = affectsSize;
  record->AffectsWidth = affectsWidth;
  list->AddInfo(std::unique_ptr<TRPUndoInfo>(record));
  return record;
}

// Runs write between the item's property-change hooks (the closing one also when write
// raises).
template <typename F>
void WriteItemProperties(TCustomRPItemInfo& item, F write) {
  item.BeforePropertyChange();
  const TScopeExit after([&item] { item.AfterPropertyChange(); });
  write();
}
