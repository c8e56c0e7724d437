// The editable document data: item properties, checkpoints moved between items, the
// reformatting around changes made to items, the change notification, resizing and the
// renumbering of numbered lists after an edit.
#include <algorithm>
#include <memory>

#include "platform/base/PublishedProperties.h"
#include "richtext/edit/RPERPData.h"
#include "richtext/edit/RPERPDataEditing.h"
#include "richtext/model/RPControlItems.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPListInfo.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPStyle.h"

// --- Item properties ----------------------------------------------------------------------------

void TRPEditRPData::SetExtraIntPropertyUndoable(int32_t itemNo, int32_t prop, int32_t value) {
  TCustomRPItemInfo& item = *GetItem(itemNo);
  int32_t oldValue = 0;
  if (!item.GetIntProperty(prop, oldValue) || oldValue == value) return;
  if (TRPUndoList* list = GetActiveUndoList()) {
    auto record = std::make_unique<TRPUndoExtraIntProperty>();
    record->ItemNo = itemNo;
    record->OldValue = oldValue;
    record->Prop = static_cast<uint8_t>(prop);
    list->AddInfo(std::move(record));
  }
  item.SetIntProperty(prop, value);
}

TRPUndoModifyItemStrProperty* TRPEditRPData::ModifyItemStrProperty(int32_t itemNo, TPersistent* target,
                                                                   const AnsiString& propName, const AnsiString& value,
                                                                   bool affectsSize, bool affectsWidth,
                                                                   TRPUndoModifyItemProps::TClass undoClass) {
  TCustomRPItemInfo& item = *GetItem(itemNo);
  TPersistent& object = target ? *target : static_cast<TPersistent&>(item);
  const TPropInfo* prop = FindPublishedProp(object, propName);
  if (!prop || !prop->HasGetter() || !prop->HasSetter() || prop->Kind != tkLString) return nullptr;
  const AnsiString oldValue = std::get<AnsiString>(prop->Get(object));
  if (oldValue == value) return nullptr;
  auto* record = AddModifyItemRecord<TRPUndoModifyItemStrProperty>(GetActiveUndoList(), undoClass, itemNo, target,
                                                                   affectsSize, affectsWidth);
  if (record) {
    record->PropName = propName;
    record->OldValue = oldValue;
  }
  WriteItemProperties(item, [&] { prop->Set(object, TPropValue(value)); });
  return record;
}

// --- Checkpoints ----------------------------------------------------------------------------------

void TRPEditRPData::MoveCheckpointUndoable(int32_t fromItem, int32_t toItem) {
  const TRPCPInfo* checkpoint = GetItemCheckpoint(fromItem);
  if (!checkpoint) return;
  if (GetItemCheckpoint(toItem)) DeleteCheckpointUndoable(toItem);
  AddCheckpointUndoable(toItem, checkpoint->CreateCopy());
  DeleteCheckpointUndoable(fromItem);
}

bool TRPEditRPData::MoveCheckpointOffItem(int32_t itemNo, bool preferBackward) {
  const TRPCPInfo* checkpoint = GetItemCheckpoint(itemNo);
  if (!checkpoint || !checkpoint->Persistent) return true;
  const bool nextFree = itemNo + 1 < GetItemCount() && !StartsParagraph(itemNo + 1) && !GetItemCheckpoint(itemNo + 1);
  if (nextFree && !preferBackward) {
    MoveCheckpointUndoable(itemNo, itemNo + 1);
    return true;
  }
  if (itemNo > 0 && !StartsParagraph(itemNo) && !GetItemCheckpoint(itemNo - 1)) {
    MoveCheckpointUndoable(itemNo, itemNo - 1);
    return true;
  }
  if (nextFree) {
    MoveCheckpointUndoable(itemNo, itemNo + 1);
    return true;
  }
  return false;
}

// --- Reformatting around item changes -----------------------------------------------------------

void TRPEditRPData::PrepareItemChange(int32_t itemNo, int32_t& width) { width = GetParaMinWidth(itemNo); }

void TRPEditRPData::CompleteItemChange(int32_t itemNo, int32_t oldWidth) {
  const int32_t newWidth = GetParaMinWidth(itemNo);
  const bool full = newWidth != oldWidth && (oldWidth >= MinDocWidth || newWidth > MinDocWidth);
  ReformatKeepCaret(full, true, true, itemNo, false);
}

void TRPEditRPData::ReformatKeepCaret(bool full, bool keepSelection, bool caretScroll, int32_t itemNo,
                                      bool formatFlag) {
  const int32_t caretItem = GetCaretItemNo();
  const int32_t caretOffs = GetCaretOffset();
  if (full || DrawItems.Count() == 0) {
    Format(false, true, keepSelection, 0, GetCanvas(), false, formatFlag, false);
    InvalidateControl();
  } else {
    int32_t drawNo = itemNo == caretItem ? CaretDrawItemNo : GetItemFirstDrawItem(itemNo);
    if (drawNo < 0) drawNo = GetItemFirstDrawItem(itemNo);
    if (drawNo >= 0) ReformatParagraphs(drawNo, drawNo, formatFlag, 0);
    InvalidateControl();
  }
  if (caretItem >= 0 && caretItem < GetItemCount()) SetCaretAtItemPos(caretItem, caretOffs);
  if (!keepSelection) CollapseSelectionToCaret();
  UpdateCaret(caretScroll, caretScroll, true);
}

void TRPEditRPData::AfterControlResize(int32_t itemNo, int32_t oldWidth, int32_t newWidth) {
  const int32_t paraWidth = GetParaMinWidth(itemNo);
  const bool full = oldWidth != newWidth && (paraWidth + oldWidth - newWidth >= MinDocWidth || MinDocWidth < paraWidth);
  ReformatKeepCaret(full, true, true, itemNo, false);
  InvalidateControl();
}

void TRPEditRPData::ResizeItemUndoable(int32_t itemNo, int32_t width, int32_t height) {
  TCustomRPItemInfo& item = *GetItem(itemNo);
  if (const auto* rect = dynamic_cast<const TRPRectItemInfo*>(&item)) {
    width -= rect->Spacing * 2;
    height -= rect->Spacing * 2;
  }
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (!CanChange()) return;
  BeginUndoGroup(rpukModifyItem, true);
  SetUndoGroupMode(true);
  {
    const TScopeExit leave([this] { SetUndoGroupMode(false); });
    if (dynamic_cast<const TRPControlItemInfo*>(&item)) {
      ResizeControlUndoable(itemNo, width, height);
    } else {
      int32_t oldWidth = 0;
      PrepareItemChange(itemNo, oldWidth);
      if (dynamic_cast<const TRPRectItemInfo*>(&item)) {
        SetExtraIntPropertyUndoable(itemNo, rpipHeight, height);
        SetExtraIntPropertyUndoable(itemNo, rpipWidth, width);
      }
      CompleteItemChange(itemNo, oldWidth);
    }
  }
  NotifyChange();
}

void TRPEditRPData::ResizeControlUndoable(int32_t itemNo, int32_t width, int32_t height, bool reformat) {
  auto* item = dynamic_cast<TRPControlItemInfo*>(GetItem(itemNo));
  if (!item) ThrowInvalidItemClass();
  if (!item->Control || (item->Control->Width() == width && item->Control->Height() == height)) return;
  if (TRPUndoList* list = GetActiveUndoList()) {
    auto record = std::make_unique<TRPUndoResizeInfo>();
    record->ItemNo = itemNo;
    record->Width = item->Control->Width();
    record->Height = item->Control->Height();
    list->AddInfo(std::move(record));
  }
  ResizeControl(itemNo, width, height, reformat);
}

void TRPEditRPData::ResizeControl(int32_t itemNo, int32_t width, int32_t height, bool reformat) {
  auto* item = dynamic_cast<TRPControlItemInfo*>(GetItem(itemNo));
  if (!item) ThrowInvalidItemClass();
  if (!item->Control) return;
  IRPItemControl& control = *item->Control;
  const int32_t oldWidth = control.Width();
  {
    ResizingControl = &control;
    const TScopeExit done([this] { ResizingControl = nullptr; });
    control.SetSize(width, height);
  }
  if (reformat) AfterControlResize(itemNo, oldWidth, width);
}

// --- Numbered lists -------------------------------------------------------------------------------

bool TRPEditRPData::CollectNumberedLists(int32_t first, int32_t last, TRPIntegerList& lists, int32_t& markerIndex,
                                         int32_t& lastItem, bool takeFirst) {
  lists.Clear();
  markerIndex = -1;
  lastItem = -1;
  auto* markers = dynamic_cast<TRPMarkerList*>(GetAbsoluteRootData()->GetMarkers(false));
  if (!markers || GetItemCount() == 0) return false;
  first = std::clamp(first, 0, GetItemCount() - 1);
  last = std::clamp(last, first, GetItemCount() - 1);
  ExpandToParagraphs(first, last);
  lastItem = last;
  const TRPStyle* style = GetStyleSheet();
  for (int32_t i = first; i <= last; ++i) {
    const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(GetItem(i));
    if (!marker || !style || marker->ListNo < 0 || marker->ListNo >= style->ListStyles().Count()) continue;
    if (!style->ListStyles().Items(marker->ListNo)->HasNumbering()) continue;
    if (lists.IndexOf(marker->ListNo) < 0) lists.Add(marker->ListNo);
    if (!takeFirst || markerIndex < 0) markerIndex = markers->IndexOf(marker);
  }
  if (takeFirst && markerIndex >= 0) --markerIndex;
  return true;
}

void TRPEditRPData::RenumberLists(int32_t firstItem, int32_t markerIndex, int32_t listNo, TRPIntegerList& lists) {
  if (lists.Count() == 0) {
    if (listNo < 0) return;
    lists.Add(listNo);
  }
  auto* markers = dynamic_cast<TRPMarkerList*>(GetAbsoluteRootData()->GetMarkers(false));
  if (!markers) return;
  const int32_t lastIndex = markers->FindLastOfLists(markerIndex, lists);
  if (lastIndex < 0) return;
  const int32_t markerItem = IndexOfItem(markers->Items(lastIndex));
  if (markerItem < 0) {
    if (auto* root = dynamic_cast<TCustomRPFormattedData*>(GetAbsoluteRootData())) root->ReformatKeepingView();
    AddReformatRange(-1, -1, true);
    return;
  }
  if (DrawItems.Count() == 0) return;
  firstItem = std::clamp(firstItem, 0, GetItemCount() - 1);
  int32_t from = firstItem, to = std::max(markerItem, firstItem);
  ExpandToParagraphs(from, to);
  const int32_t firstDraw = GetItemFirstDrawItem(from);
  int32_t lastDraw = to + 1 < GetItemCount() ? GetItemFirstDrawItem(to + 1) - 1 : DrawItems.Count() - 1;
  if (firstDraw < 0 || lastDraw < firstDraw) return;
  // The range is recorded as items: a played group lays out the items its records name.
  AddReformatRange(from, to, false);
  ReformatParagraphs(firstDraw, lastDraw, false, 0);
}

void TRPEditRPData::RenumberListsInRange(int32_t first, int32_t last) {
  TRPIntegerList lists;
  int32_t markerIndex = -1, lastItem = -1;
  if (!CollectNumberedLists(first, last, lists, markerIndex, lastItem, false) || lists.Count() == 0) return;
  RenumberLists(first, markerIndex, -1, lists);
}

bool TRPEditRPData::CopyParaMarker(int32_t itemNo, int32_t at, bool recorded, bool& fullReformat) {
  fullReformat = false;
  if (itemNo < 0 || itemNo >= GetItemCount()) return false;
  const int32_t start = GetParaStartItem(itemNo);
  const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(GetItem(start));
  if (!marker) return false;
  std::unique_ptr<TCustomRPItemInfo> copy = CopyListMarker(*this, start);
  std::unique_ptr<TRPCPInfo> checkpoint = marker->Checkpoint ? marker->Checkpoint->CreateCopy() : nullptr;
  static_cast<TRPMarkerItemInfo&>(*copy).StartFrom = 1;
  AnsiString text;
  if (recorded) {
    copy->Checkpoint = std::move(checkpoint);
    InsertItemUndoable(at, text, fullReformat, false, std::move(copy));
  } else {
    TCustomRPData::InsertItem(at, text, std::move(copy));
    if (checkpoint) AttachCheckpoint(at, std::move(checkpoint));
  }
  return true;
}
