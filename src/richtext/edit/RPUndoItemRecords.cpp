// The reverse steps of the item property records.
#include "richtext/edit/RPUndoItemRecords.h"

#include "richtext/edit/RPERPData.h"

void TRPUndoExtraIntProperty::Undo(TRPEditRPData& rpData) {
  OldWidth = ItemNo < rpData.GetItemCount() ? rpData.GetParaMinWidth(ItemNo) : 0;
  rpData.SetExtraIntPropertyUndoable(ItemNo, Prop, OldValue);
}

bool TRPUndoExtraIntProperty::NeedsFullFormatAfter(TRPEditRPData& rpData) {
  const int32_t newWidth = ItemNo < rpData.GetItemCount() ? rpData.GetParaMinWidth(ItemNo) : 0;
  return newWidth != OldWidth && (OldWidth >= rpData.DocumentWidth || newWidth > rpData.DocumentWidth);
}

void TRPUndoModifyItemStrProperty::Undo(TRPEditRPData& rpData) {
  if (TRPUndoModifyItemStrProperty* opposite = rpData.ModifyItemStrProperty(
          ItemNo, SubObject, PropName, OldValue, AffectsSize, AffectsWidth, GetOppositeClass()))
    InitOpposite(*opposite);
}
