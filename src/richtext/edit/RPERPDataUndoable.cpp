// The recorded steps: items taken out and put in, text cut and inserted, styles,
// paragraph numbers, line, paragraph and page breaks, joining text items, tags,
// checkpoints and published properties.
#include <algorithm>

#include "platform/base/PublishedProperties.h"
#include "richtext/edit/RPERPData.h"
#include "richtext/edit/RPERPDataEditing.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"

namespace {

// Bytes a character takes in an item's stored text.
size_t CharBytes(const TCustomRPItemInfo& item) { return item.IsUnicode() ? 2 : 1; }

}  // namespace

bool TRPEditRPData::WidthCrossing(int32_t oldWidth, int32_t newWidth) const {
  return oldWidth != newWidth && (newWidth > MinDocWidth || oldWidth >= MinDocWidth);
}

int32_t TRPEditRPData::RangeMinWidth(int32_t first, int32_t last) {
  TCanvas* canvas = GetCanvas();
  if (!canvas || !GetStyleSheet() || first < 0 || last < first || last >= GetItemCount()) return 0;
  return CalculateMinRangeWidth(first, last, *canvas);
}

int32_t TRPEditRPData::LastItemOfParagraph(int32_t itemNo) const {
  while (itemNo + 1 < GetItemCount() && !StartsParagraph(itemNo + 1)) ++itemNo;
  return itemNo;
}

// --- Items out ------------------------------------------------------------------------------

void TRPEditRPData::MoveItemToUndoList(int32_t itemNo) {
  TCustomRPItemInfo* item = GetItem(itemNo);
  item->MovingToUndoList(itemNo, this);
  AnsiString text = GetItemTextRaw(itemNo);
  ItemAction(rpiaMovingToUndoList, item, text);
  if (item->StyleNo == rpkindControl) ControlAction(rpcaMoveToUndoList, itemNo, item);
}

void TRPEditRPData::DeleteItemUndoable(int32_t itemNo, bool& fullReformat) {
  fullReformat = GetStyleSheet() && GetCanvas() && GetParaMinWidth(itemNo) == MinDocWidth;
  if (GetItem(itemNo)->Checkpoint) DeleteCheckpointUndoable(itemNo);
  if (TRPUndoList* list = GetActiveUndoList()) {
    auto record = std::make_unique<TRPUndoDeleteItemInfo>();
    record->ItemNo = itemNo;
    record->FullReformat = fullReformat;
    TRPUndoDeleteItemInfo& kept = *record;
    list->AddInfo(std::move(record));
    MoveItemToUndoList(itemNo);
    kept.Item = DetachItem(itemNo, kept.S);
  } else {
    DeleteItems(itemNo, 1);
  }
}

void TRPEditRPData::DeleteItemsUndoable(int32_t first, int32_t last, bool& fullReformat) {
  first = std::max(first, 0);
  last = std::min(last, GetItemCount() - 1);
  if (last < first) return;
  fullReformat = GetStyleSheet() && GetCanvas() && RangeMinWidth(first, last) == MinDocWidth;
  for (int32_t i = last; i >= first; --i)
    if (GetItem(i)->Checkpoint) DeleteCheckpointUndoable(i);
  if (TRPUndoList* list = GetActiveUndoList()) {
    auto record = std::make_unique<TRPUndoDeleteItemsInfo>();
    record->StartItemNo = first;
    record->EndItemNo = last;
    record->FullReformat = fullReformat;
    TRPUndoDeleteItemsInfo& kept = *record;
    list->AddInfo(std::move(record));
    for (int32_t i = last; i >= first; --i) {
      MoveItemToUndoList(i);
      TRPKeptItem entry;
      entry.Item = DetachItem(i, entry.Text);
      kept.List.push_back(std::move(entry));
    }
  } else {
    for (int32_t i = last; i >= first; --i) DeleteItems(i, 1);
  }
}

// --- Text -----------------------------------------------------------------------------------

void TRPEditRPData::DeleteSubstringUndoable(int32_t itemNo, int32_t index, int32_t count) {
  const int32_t length = GetItemLength(itemNo);
  if (count < 0) count = length - index + 1;
  count = std::min(count, length - index + 1);
  if (count <= 0 || index < 1) return;
  TCustomRPItemInfo& item = *GetItem(itemNo);
  const size_t bytes = CharBytes(item);
  AnsiString text = GetItemTextRaw(itemNo);
  const size_t at = static_cast<size_t>(index - 1) * bytes, size = static_cast<size_t>(count) * bytes;
  if (TRPUndoList* list = GetActiveUndoList()) {
    auto record = std::make_unique<TRPUndoDeleteSubstringInfo>();
    record->ItemNo = itemNo;
    record->Position = index;
    record->S = text.substr(at, size);
    list->AddInfo(std::move(record));
  }
  text.erase(at, size);
  ItemAction(rpiaTextModifying, &item, text);
  SetItemTextRaw(itemNo, text);
}

void TRPEditRPData::InsertSubstringUndoable(int32_t itemNo, int32_t index, const AnsiString& s) {
  if (s.empty()) return;
  if (itemNo < 0 || itemNo >= GetItemCount() || !IsTextItem(itemNo)) throw Exception(errRPUndoError);
  TCustomRPItemInfo& item = *GetItem(itemNo);
  const size_t bytes = CharBytes(item);
  AnsiString text = GetItemTextRaw(itemNo);
  index = std::clamp(index, 1, GetItemLength(itemNo) + 1);
  if (TRPUndoList* list = GetActiveUndoList()) {
    auto record = std::make_unique<TRPUndoInsertSubstringInfo>();
    record->ItemNo = itemNo;
    record->Index = index;
    record->Length = static_cast<int32_t>(s.size() / bytes);
    list->AddInfo(std::move(record));
  }
  text.insert(static_cast<size_t>(index - 1) * bytes, s);
  ItemAction(rpiaTextModifying, &item, text);
  SetItemTextRaw(itemNo, text);
}

void TRPEditRPData::ChangeTextUndoable(int32_t itemNo, const AnsiString& s) {
  if (s == GetItemTextRaw(itemNo)) return;
  if (TRPUndoList* list = GetActiveUndoList()) {
    auto record = std::make_unique<TRPUndoChangeTextInfo>();
    record->ItemNo = itemNo;
    record->S = GetItemTextRaw(itemNo);
    list->AddInfo(std::move(record));
  }
  AnsiString text = s;
  ItemAction(rpiaTextModifying, GetItem(itemNo), text);
  SetItemTextRaw(itemNo, text);
}

// --- Items in --------------------------------------------------------------------------------

void TRPEditRPData::PutItem(int32_t itemNo, AnsiString& text, std::unique_ptr<TCustomRPItemInfo> item, bool fromUndo) {
  TCustomRPItemInfo& inserted = *item;
  // The model's insertion: the item's hooks and the marker list.
  TCustomRPData::InsertItem(itemNo, text, std::move(item));
  if (fromUndo) {
    inserted.MovingFromUndoList(itemNo, this);
    if (inserted.StyleNo == rpkindControl) ControlAction(rpcaMoveFromUndoList, itemNo, &inserted);
  }
  inserted.UpdatePaletteInfo(GetDoInPaletteMode(), false, GetRPPalette(), GetRPLogPalette());
}

void TRPEditRPData::InsertItemUndoable(int32_t itemNo, AnsiString& text, bool& fullReformat, bool fromUndo,
                                       std::unique_ptr<TCustomRPItemInfo> item) {
  fullReformat = false;
  itemNo = std::clamp(itemNo, 0, GetItemCount());
  std::unique_ptr<TRPCPInfo> checkpoint = std::move(item->Checkpoint);
  // A paragraph the item starts takes the continuing items it comes before.
  int32_t lastAffected = -1;
  if (item->StartsParagraph() && itemNo < GetItemCount() && !StartsParagraph(itemNo))
    lastAffected = LastItemOfParagraph(itemNo) + 1;
  if (TRPUndoList* list = GetActiveUndoList()) {
    auto record = std::make_unique<TRPUndoInsertItemInfo>();
    record->ItemNo = itemNo;
    record->LastAffectedItemNo = lastAffected;
    list->AddInfo(std::move(record));
  }
  const int32_t paraNo = item->ParaNo;
  PutItem(itemNo, text, std::move(item), fromUndo);
  if (lastAffected >= 0) {
    bool paraReformat = false;
    SetParaRangeUndoable(itemNo + 1, lastAffected, paraReformat, paraNo);
    fullReformat = paraReformat;
  }
  if (GetStyleSheet() && GetCanvas()) fullReformat = fullReformat || GetParaMinWidth(itemNo) > MinDocWidth;
  if (checkpoint) AddCheckpointUndoable(itemNo, std::move(checkpoint));
}

TRPUndoInsertItemsInfo* TRPEditRPData::AddInsertItemsRecord(int32_t itemNo, int32_t count) {
  TRPUndoList* list = GetActiveUndoList();
  if (count == 0 || !list) return nullptr;
  auto record = std::make_unique<TRPUndoInsertItemsInfo>();
  record->ItemNo = itemNo;
  record->Count = count;
  TRPUndoInsertItemsInfo* result = record.get();
  list->AddInfo(std::move(record));
  return result;
}

void TRPEditRPData::AfterInsertItems(int32_t itemNo, int32_t count, bool& fullReformat,
                                     TRPUndoInsertItemsInfo* record) {
  fullReformat = false;
  if (count <= 0) return;
  const int32_t after = itemNo + count;
  int32_t lastAffected = -1;
  if (after < GetItemCount() && !StartsParagraph(after)) {
    lastAffected = LastItemOfParagraph(after);
    SetParaRangeUndoable(after, lastAffected, fullReformat, GetItemPara(after - 1));
  }
  if (record) {
    record->LastAffectedItemNo = lastAffected;
    record->FullReformat = fullReformat;
  }
  for (int32_t i = itemNo; i < after; ++i)
    if (GetItem(i)->Checkpoint) {
      // A checkpoint that came with its item was never in the chain: it joins it recorded.
      std::unique_ptr<TRPCPInfo> checkpoint = std::move(GetItem(i)->Checkpoint);
      AddCheckpointUndoable(i, std::move(checkpoint));
    }
  if (GetStyleSheet() && GetCanvas()) fullReformat = fullReformat || RangeMinWidth(itemNo, after - 1) > MinDocWidth;
  if (record) record->FullReformat = fullReformat;
}

void TRPEditRPData::InsertItemsUndoable(int32_t itemNo, TRPKeptItems& list, bool& fullReformat, bool fromUndo) {
  itemNo = std::clamp(itemNo, 0, GetItemCount());
  const int32_t count = static_cast<int32_t>(list.size());
  TRPUndoInsertItemsInfo* record = AddInsertItemsRecord(itemNo, count);
  for (int32_t i = 0; i < count; ++i) {
    TRPKeptItem& entry = list[static_cast<size_t>(i)];
    // The checkpoint waits off the chain until AfterInsertItems attaches it.
    std::unique_ptr<TRPCPInfo> checkpoint = std::move(entry.Item->Checkpoint);
    TCustomRPItemInfo& item = *entry.Item;
    PutItem(itemNo + i, entry.Text, std::move(entry.Item), fromUndo);
    item.Checkpoint = std::move(checkpoint);
  }
  list.clear();
  AfterInsertItems(itemNo, count, fullReformat, record);
}

// --- Styles -----------------------------------------------------------------------------------

void TRPEditRPData::ChangeStyleNoUndoable(int32_t itemNo, int32_t newStyle) {
  TCustomRPItemInfo& item = *GetItem(itemNo);
  if (item.StyleNo < 0 || item.StyleNo == newStyle) return;
  if (TRPUndoList* list = GetActiveUndoList()) {
    auto record = std::make_unique<TRPUndoStyleNoInfo>();
    record->ItemNo = itemNo;
    record->OldStyleNo = item.StyleNo;
    list->AddInfo(std::move(record));
  }
  // The spelling walk reads the item's text in the form its style gives it.
  const TEditSpellingPause pause(*this);
  LiveSpellingResetFrom(*this, itemNo, 0);
  if (const IRPStyleSheet* sheet = GetRPStyle()) {
    const bool wasUnicode = sheet->IsTextStyleUnicode(ResolveItemStyle(item));
    const bool unicode = sheet->IsTextStyleUnicode(ResolveStyleNo(newStyle, item.ParaNo));
    if (wasUnicode && !unicode) item.ItemOptions &= ~rpioUnicode;
    if (!wasUnicode && unicode) item.ItemOptions |= rpioUnicode;
  }
  item.StyleNo = newStyle;
}

void TRPEditRPData::ChangeAssociatedStyleNoUndoable(int32_t itemNo, int32_t newStyle) {
  TCustomRPItemInfo& item = *GetItem(itemNo);
  if (item.StyleNo >= 0 || item.GetAssociatedTextStyleNo() == newStyle) return;
  if (TRPUndoList* list = GetActiveUndoList()) {
    auto record = std::make_unique<TRPUndoAssociatedTextStyleNoInfo>();
    record->ItemNo = itemNo;
    record->OldStyleNo = item.GetAssociatedTextStyleNo();
    list->AddInfo(std::move(record));
  }
  const TEditSpellingPause pause(*this);
  item.SetAssociatedTextStyleNo(newStyle);
}

// --- Paragraph numbers and breaks ---------------------------------------------------------------

void TRPEditRPData::SetParaRangeUndoable(int32_t first, int32_t last, bool& fullReformat, int32_t paraNo) {
  fullReformat = false;
  if (last < first) return;
  if (TRPUndoList* list = GetActiveUndoList()) {
    auto record = std::make_unique<TRPUndoParaListInfo>();
    record->StartItemNo = first;
    for (int32_t i = first; i <= last; ++i) record->List.Add(GetItemPara(i));
    TRPUndoParaListInfo& kept = *record;
    list->AddInfo(std::move(record));
    AssignParaRange(first, last, fullReformat, paraNo);
    kept.FullReformat = fullReformat;
    return;
  }
  AssignParaRange(first, last, fullReformat, paraNo);
}

void TRPEditRPData::AssignParaRange(int32_t first, int32_t last, bool& fullReformat, int32_t paraNo) {
  const int32_t before = RangeMinWidth(first, last);
  const TRPStyle* style = GetStyleSheet();
  bool changed = false;
  for (int32_t i = first; i <= last; ++i) {
    TCustomRPItemInfo& item = *GetItem(i);
    if (item.ParaNo == paraNo) continue;
    const bool isProtected = style && item.ParaNo >= 0 && item.ParaNo < style->ParaStyles().Count() &&
                             style->ParaStyles()[item.ParaNo]->Options.Contains(rppaoStyleProtect);
    const bool continuesAfterParaNo =
        i > 0 && (item.GetContinuesLine() || item.GetLineBreakBefore()) && GetItemPara(i - 1) == paraNo;
    if (isProtected && !continuesAfterParaNo) continue;
    item.ParaNo = paraNo;
    changed = true;
  }
  fullReformat = changed && WidthCrossing(before, RangeMinWidth(first, last));
}

void TRPEditRPData::RestoreParasUndoable(int32_t itemNo, const TRPIntegerList& list, bool& fullReformat) {
  fullReformat = false;
  const int32_t count = std::min(list.Count(), GetItemCount() - itemNo);
  if (count <= 0 || itemNo < 0) return;
  const int32_t last = itemNo + count - 1;
  if (TRPUndoList* undo = GetActiveUndoList()) {
    // One number when every item has it; a paragraph range of several styles keeps each.
    bool uniform = true;
    for (int32_t i = itemNo + 1; i <= last; ++i) uniform = uniform && GetItemPara(i) == GetItemPara(itemNo);
    if (uniform) {
      auto record = std::make_unique<TRPUndoParaInfo>();
      record->ItemNo = itemNo;
      record->Count = count;
      record->ParaNo = GetItemPara(itemNo);
      for (int32_t i = itemNo; i <= last; ++i)
        if (!GetItem(i)->GetBoolValue(rpibqWholeLine)) {
          record->ParaNo = GetItemPara(i);
          break;
        }
      undo->AddInfo(std::move(record));
    } else {
      auto record = std::make_unique<TRPUndoParaListInfo>();
      record->StartItemNo = itemNo;
      for (int32_t i = itemNo; i <= last; ++i) record->List.Add(GetItemPara(i));
      undo->AddInfo(std::move(record));
    }
  }
  const int32_t before = RangeMinWidth(itemNo, last);
  for (int32_t i = 0; i < count; ++i) GetItem(itemNo + i)->ParaNo = list[i];
  fullReformat = WidthCrossing(before, RangeMinWidth(itemNo, last));
}

void TRPEditRPData::SetContinuesLineUndoable(int32_t itemNo, bool value, bool& fullReformat, int32_t paraNo) {
  fullReformat = false;
  TCustomRPItemInfo& item = *GetItem(itemNo);
  if (item.GetBoolValue(rpibqWholeLine)) return;
  if (!value && !item.GetContinuesLine()) return;
  if (value) {
    bool lineReformat = false;
    SetLineBreakUndoable(itemNo, false, lineReformat);
    if (item.GetPageBreakBefore()) SetPageBreakUndoable(itemNo, false);
  }
  // The items after it up to the next paragraph go with it, those after a line break too.
  const int32_t lastAffected =
      itemNo + 1 < GetItemCount() && !StartsParagraph(itemNo + 1) ? LastItemOfParagraph(itemNo + 1) : -1;
  TRPUndoNewLineInfo* kept = nullptr;
  if (TRPUndoList* list = GetActiveUndoList()) {
    auto record = std::make_unique<TRPUndoNewLineInfo>();
    record->ItemNo = itemNo;
    record->WasContinuesLine = item.GetContinuesLine();
    record->OldParaNo = item.ParaNo;
    record->LastAffectedItemNo = lastAffected;
    kept = record.get();
    list->AddInfo(std::move(record));
  }
  const int32_t last = lastAffected >= 0 ? lastAffected : itemNo;
  if (value) {
    // The item joins the paragraph before it first, so that a protected paragraph style
    // gives way too: one paragraph never keeps two styles.
    item.SetContinuesLine(true);
    if (itemNo > 0) SetParaRangeUndoable(itemNo, last, fullReformat, GetItemPara(itemNo - 1));
  } else {
    if (paraNo != -1) SetParaRangeUndoable(itemNo, last, fullReformat, paraNo);
    item.SetContinuesLine(false);
  }
  if (kept) kept->FullReformat = fullReformat;
}

bool TRPEditRPData::SetLineBreakUndoable(int32_t itemNo, bool value, bool& fullReformat) {
  fullReformat = false;
  TCustomRPItemInfo& item = *GetItem(itemNo);
  // A continuing item already stands in its line; it is a line start only by the flag.
  const bool current = item.GetContinuesLine() || item.GetLineBreakBefore();
  if (current == value) return false;
  const int32_t before = GetStyleSheet() && GetCanvas() ? GetParaMinWidth(itemNo) : 0;
  if (TRPUndoList* list = GetActiveUndoList()) {
    auto record = std::make_unique<TRPUndoBRInfo>();
    record->ItemNo = itemNo;
    record->OldLineBreak = item.GetLineBreakBefore();
    list->AddInfo(std::move(record));
  }
  item.SetLineBreakBefore(value);
  const int32_t after = GetStyleSheet() && GetCanvas() ? GetParaMinWidth(itemNo) : 0;
  fullReformat = WidthCrossing(before, after);
  return true;
}

void TRPEditRPData::SetPageBreakUndoable(int32_t itemNo, bool value) {
  if (itemNo > 0 && GetItem(itemNo - 1)->StyleNo == rpkindListMarker) --itemNo;
  TCustomRPItemInfo& item = *GetItem(itemNo);
  if (item.GetPageBreakBefore() == value) return;
  if (TRPUndoList* list = GetActiveUndoList()) {
    auto record = std::make_unique<TRPUndoPageBreakInfo>();
    record->ItemNo = itemNo;
    record->OldPageBreak = item.GetPageBreakBefore();
    list->AddInfo(std::move(record));
  }
  item.SetPageBreakBefore(value);
}

// --- Joining ------------------------------------------------------------------------------------

void TRPEditRPData::JoinItems(int32_t itemNo) {
  TCustomRPItemInfo& first = *GetItem(itemNo);
  TCustomRPItemInfo& second = *GetItem(itemNo + 1);
  bool fullReformat = false;
  if (first.IsUnicode() != second.IsUnicode() && !GetItemTextRaw(itemNo + 1).empty()) {
    // The (empty) first item gives its place in the line to the second.
    const bool firstContinues = first.GetContinuesLine(), firstLineBreak = first.GetLineBreakBefore();
    if (!firstContinues) SetContinuesLineUndoable(itemNo + 1, false, fullReformat, first.ParaNo);
    if (firstLineBreak) SetLineBreakUndoable(itemNo + 1, true, fullReformat);
    if (first.Checkpoint && !second.Checkpoint) AddCheckpointUndoable(itemNo + 1, first.Checkpoint->CreateCopy());
    DeleteItemUndoable(itemNo, fullReformat);
    return;
  }
  int32_t rememberedStyle = -1;
  if (GetItemTextRaw(itemNo).empty()) {
    rememberedStyle = second.StyleNo;
    SetTagUndoable(itemNo, second.Tag);
  }
  InsertSubstringUndoable(itemNo, GetItemLength(itemNo) + 1, GetItemTextRaw(itemNo + 1));
  if (second.Checkpoint && !first.Checkpoint) AddCheckpointUndoable(itemNo, second.Checkpoint->CreateCopy());
  DeleteItemUndoable(itemNo + 1, fullReformat);
  if (rememberedStyle >= 0) ChangeStyleNoUndoable(itemNo, rememberedStyle);
}

// --- Tags and checkpoints -----------------------------------------------------------------------

void TRPEditRPData::SetTagUndoable(int32_t itemNo, const TRPTag& tag) {
  TCustomRPItemInfo& item = *GetItem(itemNo);
  if (item.Tag == tag) return;
  if (TRPUndoList* list = GetActiveUndoList()) {
    auto record = std::make_unique<TRPUndoTagInfo>();
    record->ItemNo = itemNo;
    record->OldTag = item.Tag;
    record->TagsArePChars = TagsArePChars();
    list->AddInfo(std::move(record));
  }
  item.Tag = tag;
}

void TRPEditRPData::AddCheckpointUndoable(int32_t itemNo, std::unique_ptr<TRPCPInfo> checkpoint) {
  if (!checkpoint) return;
  const bool occupied = itemNo < 0 ? GetPendingCheckpoint() != nullptr : GetItem(itemNo)->Checkpoint != nullptr;
  if (occupied) throw ERichPaneError(errRPCheckpoint);
  if (TRPUndoList* list = GetActiveUndoList()) {
    auto record = std::make_unique<TRPUndoAddCPInfo>();
    record->ItemNo = itemNo;
    list->AddInfo(std::move(record));
  }
  AttachCheckpoint(itemNo, std::move(checkpoint));
}

void TRPEditRPData::DeleteCheckpointUndoable(int32_t itemNo) {
  const bool present = itemNo < 0 ? GetPendingCheckpoint() != nullptr : GetItem(itemNo)->Checkpoint != nullptr;
  if (!present) throw ERichPaneError(errRPCheckpoint);
  std::unique_ptr<TRPCPInfo> checkpoint = DetachCheckpoint(itemNo);
  if (TRPUndoList* list = GetActiveUndoList()) {
    auto record = std::make_unique<TRPUndoDeleteCPInfo>();
    record->ItemNo = itemNo;
    record->TagsArePChars = TagsArePChars();
    record->Checkpoint = std::move(checkpoint);
    list->AddInfo(std::move(record));
  }
}

// --- Published properties -----------------------------------------------------------------------

namespace {

// The ordinal property of that name, or nullptr (unknown, not ordinal, not writable).
const TPropInfo* FindOrdinalProp(const TPersistent& target, const AnsiString& name) {
  const TPropInfo* prop = FindPublishedProp(target, name);
  if (!prop || !prop->HasGetter() || !prop->HasSetter()) return nullptr;
  if (prop->Kind != tkInteger && prop->Kind != tkBoolean && prop->Kind != tkWChar) return nullptr;
  return prop;
}

int32_t OrdinalValue(const TPropInfo& prop, const TPersistent& target) {
  const TPropValue value = prop.Get(target);
  return static_cast<int32_t>(std::get<int64_t>(value));
}

}  // namespace

TRPUndoModifyItemIntProperty* TRPEditRPData::ModifyItemIntProperty(int32_t itemNo, TPersistent* target,
                                                                   const AnsiString& propName, int32_t value,
                                                                   bool affectsSize, bool affectsWidth,
                                                                   TRPUndoModifyItemProps::TClass undoClass) {
  TCustomRPItemInfo& item = *GetItem(itemNo);
  TPersistent& object = target ? *target : static_cast<TPersistent&>(item);
  const TPropInfo* prop = FindOrdinalProp(object, propName);
  if (!prop) return nullptr;
  const int32_t oldValue = OrdinalValue(*prop, object);
  if (oldValue == value) return nullptr;
  auto* record = AddModifyItemRecord<TRPUndoModifyItemIntProperty>(GetActiveUndoList(), undoClass, itemNo, target,
                                                                   affectsSize, affectsWidth);
  if (record) {
    record->PropName = propName;
    record->OldValue = oldValue;
  }
  WriteItemProperties(item, [&] { prop->Set(object, TPropValue(static_cast<int64_t>(value))); });
  return record;
}

TRPUndoModifyItemIntProperties* TRPEditRPData::ModifyItemIntProperties(
    int32_t itemNo, TPersistent* target, bool affectsSize, bool affectsWidth,
    const std::vector<std::pair<AnsiString, int32_t>>& values, TRPUndoModifyItemProps::TClass undoClass) {
  TCustomRPItemInfo& item = *GetItem(itemNo);
  TPersistent& object = target ? *target : static_cast<TPersistent&>(item);
  // The changes, walked from the list's end.
  std::vector<std::pair<const TPropInfo*, int32_t>> changes;
  std::vector<std::pair<AnsiString, int32_t>> oldValues;
  for (auto it = values.rbegin(); it != values.rend(); ++it) {
    const TPropInfo* prop = FindOrdinalProp(object, it->first);
    if (!prop) continue;
    const int32_t oldValue = OrdinalValue(*prop, object);
    if (oldValue == it->second) continue;
    changes.emplace_back(prop, it->second);
    oldValues.emplace_back(it->first, oldValue);
  }
  if (changes.empty()) return nullptr;
  auto* record = AddModifyItemRecord<TRPUndoModifyItemIntProperties>(GetActiveUndoList(), undoClass, itemNo, target,
                                                                     affectsSize, affectsWidth);
  if (record) record->PropList = std::move(oldValues);
  WriteItemProperties(item, [&] {
    for (const auto& [prop, value] : changes) prop->Set(object, TPropValue(static_cast<int64_t>(value)));
  });
  return record;
}
