// The records' answers and reverse steps.
#include "richtext/edit/RPUndoRecords.h"

#include <algorithm>

#include "richtext/edit/RPERPData.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPItemInfo.h"

namespace {

// The paragraph minimal width of an item, 0 for an index outside the document.
int32_t ParaWidth(TRPEditRPData& rpData, int32_t itemNo) {
  return itemNo >= 0 && itemNo < rpData.GetItemCount() ? rpData.GetParaMinWidth(itemNo) : 0;
}

// The width rule (RPUndoRecords.h): after the step, whether the paragraph's new minimal
// width differs from the old one and either reached the document's formatted width.
bool WidthRuleAfter(TRPEditRPData& rpData, int32_t itemNo, int32_t oldWidth) {
  const int32_t newWidth = ParaWidth(rpData, itemNo);
  return newWidth != oldWidth && (oldWidth >= rpData.DocumentWidth || newWidth > rpData.DocumentWidth);
}

// Frees an item a record kept: the document hears of it going (and of its control),
// then its checkpoint and the item go.
void FreeKeptItem(TRPEditRPData* rpData, AnsiString& text, std::unique_ptr<TCustomRPItemInfo> item) {
  if (!item) return;
  if (rpData) {
    rpData->ItemAction(rpiaDestroying, item.get(), text);
    if (item->StyleNo == rpkindControl) rpData->ControlAction(rpcaDestroy, -1, item.get());
  }
  item->Tag = TRPTag();
  item->Checkpoint.reset();
  item.reset();
}

}  // namespace

void TRPUndoItemNoInfo::GetAffectedItems(int32_t& first, int32_t& last, TRPEditRPData&) const {
  if (ItemNo < 0) return;
  first = ItemNo;
  last = LastAffectedItemNo >= 0 ? LastAffectedItemNo : ItemNo;
}

void TRPUndoReformateRange::Undo(TRPEditRPData& rpData) {
  rpData.AddReformatRange(ItemNo, LastAffectedItemNo, FullReformat);
}

void TRPUndoResizeInfo::Undo(TRPEditRPData& rpData) {
  OldWidth = ParaWidth(rpData, ItemNo);
  rpData.ResizeControlUndoable(ItemNo, Width, Height, false);
}

bool TRPUndoResizeInfo::NeedsFullFormatAfter(TRPEditRPData& rpData) { return WidthRuleAfter(rpData, ItemNo, OldWidth); }

void TRPUndoChangeTextInfo::Undo(TRPEditRPData& rpData) {
  OldWidth = ParaWidth(rpData, ItemNo);
  rpData.ChangeTextUndoable(ItemNo, S);
}

bool TRPUndoChangeTextInfo::NeedsFullFormatAfter(TRPEditRPData& rpData) {
  return WidthRuleAfter(rpData, ItemNo, OldWidth);
}

TRPUndoItemInfo::~TRPUndoItemInfo() { FreeKeptItem(GetRPData(), S, std::move(Item)); }

void TRPUndoDeleteItemInfo::Undo(TRPEditRPData& rpData) {
  if (!Item) return;
  AnsiString text = S;
  bool fullReformat = false;
  rpData.InsertItemUndoable(ItemNo, text, fullReformat, true, std::move(Item));
  FullReformat = FullReformat || fullReformat;
}

bool TRPUndoDeleteItemInfo::NeedsFullFormatAfter(TRPEditRPData& rpData) {
  return FullReformat || ParaWidth(rpData, ItemNo) > rpData.DocumentWidth;
}

TRPUndoStringItemListInfo::~TRPUndoStringItemListInfo() {
  for (TRPKeptItem& kept : List) FreeKeptItem(GetRPData(), kept.Text, std::move(kept.Item));
}

void TRPUndoItemRangeInfo::GetAffectedItems(int32_t& first, int32_t& last, TRPEditRPData&) const {
  first = StartItemNo;
  last = LastAffectedItemNo >= 0 ? LastAffectedItemNo : StartItemNo + static_cast<int32_t>(List.size());
}

void TRPUndoDeleteItemsInfo::Undo(TRPEditRPData& rpData) {
  if (List.empty()) return;
  // Kept last item first; they go back in document order.
  TRPKeptItems items;
  for (auto it = List.rbegin(); it != List.rend(); ++it) items.push_back(std::move(*it));
  List.clear();
  const int32_t count = static_cast<int32_t>(items.size());
  bool fullReformat = false;
  rpData.InsertItemsUndoable(StartItemNo, items, fullReformat, true);
  EndItemNo = StartItemNo + count - 1;
  FullReformat = FullReformat || fullReformat;
}

bool TRPUndoDeleteItemsInfo::NeedsFullFormatAfter(TRPEditRPData& rpData) {
  if (FullReformat) return true;
  TCanvas* canvas = rpData.GetCanvas();
  if (!canvas || StartItemNo < 0 || EndItemNo >= rpData.GetItemCount() || EndItemNo < StartItemNo) return false;
  return rpData.CalculateMinRangeWidth(StartItemNo, EndItemNo, *canvas) > rpData.DocumentWidth;
}

void TRPUndoParaListInfo::Undo(TRPEditRPData& rpData) {
  bool fullReformat = false;
  rpData.RestoreParasUndoable(StartItemNo, List, fullReformat);
  FullReformat = FullReformat || fullReformat;
}

void TRPUndoParaListInfo::GetAffectedItems(int32_t& first, int32_t& last, TRPEditRPData&) const {
  first = StartItemNo;
  last = StartItemNo + List.Count();
}

void TRPUndoParaInfo::Undo(TRPEditRPData& rpData) {
  // Every item gets the number back, a protected paragraph style too: the step being
  // reversed may have given it.
  bool fullReformat = false;
  rpData.RestoreParasUndoable(ItemNo, TRPIntegerList::CreateFilled(Count, ParaNo), fullReformat);
  FullReformat = FullReformat || fullReformat;
}

void TRPUndoParaInfo::GetAffectedItems(int32_t& first, int32_t& last, TRPEditRPData&) const {
  first = ItemNo;
  last = ItemNo + Count;
}

void TRPUndoStyleNoInfo::Undo(TRPEditRPData& rpData) {
  OldWidth = ParaWidth(rpData, ItemNo);
  rpData.ChangeStyleNoUndoable(ItemNo, OldStyleNo);
}

bool TRPUndoStyleNoInfo::NeedsFullFormatAfter(TRPEditRPData& rpData) {
  return WidthRuleAfter(rpData, ItemNo, OldWidth);
}

void TRPUndoAssociatedTextStyleNoInfo::Undo(TRPEditRPData& rpData) {
  OldWidth = ParaWidth(rpData, ItemNo);
  rpData.ChangeAssociatedStyleNoUndoable(ItemNo, OldStyleNo);
}

void TRPUndoNewLineInfo::Undo(TRPEditRPData& rpData) {
  bool fullReformat = false;
  rpData.SetContinuesLineUndoable(ItemNo, WasContinuesLine, fullReformat, OldParaNo);
  FullReformat = FullReformat || fullReformat;
}

void TRPUndoBRInfo::Undo(TRPEditRPData& rpData) {
  bool fullReformat = false;
  rpData.SetLineBreakUndoable(ItemNo, OldLineBreak, fullReformat);
}

void TRPUndoPageBreakInfo::Undo(TRPEditRPData& rpData) { rpData.SetPageBreakUndoable(ItemNo, OldPageBreak); }

void TRPUndoDeleteSubstringInfo::Undo(TRPEditRPData& rpData) {
  OldWidth = ParaWidth(rpData, ItemNo);
  rpData.InsertSubstringUndoable(ItemNo, Position, S);
}

bool TRPUndoDeleteSubstringInfo::NeedsFullFormatAfter(TRPEditRPData& rpData) {
  return WidthRuleAfter(rpData, ItemNo, OldWidth);
}

void TRPUndoInsertSubstringInfo::Undo(TRPEditRPData& rpData) {
  OldWidth = ParaWidth(rpData, ItemNo);
  rpData.DeleteSubstringUndoable(ItemNo, Index, Length);
}

bool TRPUndoInsertSubstringInfo::NeedsFullFormatAfter(TRPEditRPData& rpData) {
  return WidthRuleAfter(rpData, ItemNo, OldWidth);
}

void TRPUndoTypingInfo::Undo(TRPEditRPData& rpData) {
  if (Length <= 0) return;
  OldWidth = ParaWidth(rpData, ItemNo);
  AnsiString text = rpData.GetItemTextRaw(ItemNo);
  AnsiString character;
  if (Unicode) {
    if (text.size() % 2 != 0) throw ERichPaneError(errRPUnicode);
    // The last typed character: bytes 2 (index + length) - 3 and - 2, counted from 1.
    const size_t at = static_cast<size_t>(2 * (Index + Length) - 4);
    character = text.substr(at, 2);
    text.erase(at, 2);
  } else {
    const size_t at = static_cast<size_t>(Index + Length - 2);
    character = text.substr(at, 1);
    text.erase(at, 1);
  }
  --Length;
  rpData.SetItemTextRaw(ItemNo, text);
  rpData.RedoList->AddUntyping(character, ItemNo, Index + Length + 1);
}

void TRPRedoTypingInfo::Undo(TRPEditRPData& rpData) {
  if (S.empty()) return;
  OldWidth = ParaWidth(rpData, ItemNo);
  AnsiString text = rpData.GetItemTextRaw(ItemNo);
  const int32_t held = CharCount();
  AnsiString character;
  size_t at = 0;
  if (Unicode) {
    if (text.size() % 2 != 0 || S.size() % 2 != 0) throw ERichPaneError(errRPUnicode);
    character = S.substr(S.size() - 2);
    // Byte position 2 position - 2n - 1, counted from 1.
    at = static_cast<size_t>(2 * Position - 2 * held - 2);
  } else {
    character = S.substr(S.size() - 1);
    at = static_cast<size_t>(Position - held - 1);
  }
  at = std::min(at, text.size());
  text.insert(at, character);
  S.erase(S.size() - character.size());
  rpData.SetItemTextRaw(ItemNo, text);
  rpData.UndoList->AddTyping(ItemNo, Position - held, Unicode);
}

bool TRPRedoTypingInfo::NeedsFullFormatAfter(TRPEditRPData& rpData) { return WidthRuleAfter(rpData, ItemNo, OldWidth); }

void TRPUndoInsertItemsInfo::Undo(TRPEditRPData& rpData) {
  if (Count <= 0) return;
  bool fullReformat = false;
  rpData.DeleteItemsUndoable(ItemNo, ItemNo + Count - 1, fullReformat);
}

bool TRPUndoInsertItemsInfo::NeedsFullFormatBefore(TRPEditRPData& rpData) {
  TCanvas* canvas = rpData.GetCanvas();
  if (!canvas || Count <= 0 || ItemNo < 0 || ItemNo + Count > rpData.GetItemCount()) return false;
  return rpData.CalculateMinRangeWidth(ItemNo, ItemNo + Count - 1, *canvas) >= rpData.DocumentWidth;
}

void TRPUndoInsertItemInfo::Undo(TRPEditRPData& rpData) {
  bool fullReformat = false;
  rpData.DeleteItemUndoable(ItemNo, fullReformat);
}

bool TRPUndoInsertItemInfo::NeedsFullFormatBefore(TRPEditRPData& rpData) {
  return ParaWidth(rpData, ItemNo) >= rpData.DocumentWidth;
}

void TRPUndoTagInfo::Undo(TRPEditRPData& rpData) { rpData.SetTagUndoable(ItemNo, OldTag); }

void TRPUndoAddCPInfo::Undo(TRPEditRPData& rpData) { rpData.DeleteCheckpointUndoable(ItemNo); }

void TRPUndoDeleteCPInfo::Undo(TRPEditRPData& rpData) { rpData.AddCheckpointUndoable(ItemNo, std::move(Checkpoint)); }

bool TRPUndoModifyItemProps::NeedsFullFormatBefore(TRPEditRPData& rpData) {
  if (!AffectsWidth || !AffectsSize) return false;
  OldWidth = ParaWidth(rpData, ItemNo);
  return OldWidth >= rpData.DocumentWidth;
}

bool TRPUndoModifyItemProps::NeedsFullFormatAfter(TRPEditRPData& rpData) {
  if (!AffectsWidth || !AffectsSize) return false;
  const int32_t newWidth = ParaWidth(rpData, ItemNo);
  return newWidth != OldWidth && newWidth > rpData.DocumentWidth;
}

void TRPUndoModifyItemTerminator::Undo(TRPEditRPData& rpData) { rpData.AddModifyItemTerminator(ItemNo, !Opening); }

void TRPUndoModifyItemIntProperty::Undo(TRPEditRPData& rpData) {
  if (TRPUndoModifyItemIntProperty* opposite = rpData.ModifyItemIntProperty(
          ItemNo, SubObject, PropName, OldValue, AffectsSize, AffectsWidth, GetOppositeClass()))
    InitOpposite(*opposite);
}

void TRPUndoModifyItemIntProperties::Undo(TRPEditRPData& rpData) {
  if (TRPUndoModifyItemIntProperties* opposite =
          rpData.ModifyItemIntProperties(ItemNo, SubObject, AffectsSize, AffectsWidth, PropList, GetOppositeClass()))
    InitOpposite(*opposite);
}

void TRPCompositeUndo::GetAffectedItems(int32_t& first, int32_t& last, TRPEditRPData&) const {
  first = ItemNo;
  last = ItemNo;
}

void TRPCompositeUndo::Undo(TRPEditRPData& rpData) {
  if (!List || List->Count() == 0) return;
  TRPUndoInfos* group = List->LastGroup();
  group->Perform(rpData, List->ReformatLock <= 0);
  if (group->IsUsedUp()) List->Delete(List->Count() - 1);
}
