// The keyboard focus among a document's items: which items take it, and the walk from
// the focused item to the next one, into the documents of items (table cells) and out.
#include <vector>

#include "richtext/layout/RPFormattedData.h"
#include "richtext/layout/RPLayoutItems.h"
#include "richtext/model/RPStyle.h"

namespace {

// The formatted documents of an item, in their order.
std::vector<TCustomRPFormattedData*> SubDocuments(TCustomRPItemInfo& item) {
  std::vector<TCustomRPFormattedData*> documents;
  std::unique_ptr<TRPStoreSubRPData> location;
  for (TCustomRPData* d = item.GetSubRPData(location, rpsdFirst); d; d = item.GetSubRPData(location, rpsdNext))
    if (auto* formatted = dynamic_cast<TCustomRPFormattedData*>(d)) documents.push_back(formatted);
  return documents;
}

}  // namespace

int32_t TCustomRPFormattedData::FindHolderItem(const TCustomRPData* inner) const {
  for (const TCustomRPData* d = inner; d; d = d->GetParentData()) {
    if (d->GetParentData() != this) continue;
    std::unique_ptr<TRPStoreSubRPData> location;
    const int32_t itemNo = d->GetParentInfo(location);
    if (itemNo >= 0 && itemNo < GetItemCount()) return itemNo;
    // A document that does not know its place: the item that lists it.
    for (int32_t i = 0; i < GetItemCount(); ++i)
      for (const TCustomRPFormattedData* sub : SubDocuments(*GetItem(i)))
        if (sub == d) return i;
    return -1;
  }
  return -1;
}

bool TCustomRPFormattedData::HasFocusableSubItems(TCustomRPItemInfo& item) {
  if (auto* holder = dynamic_cast<IRPFocusItem*>(&item)) return holder->HasFocusableItems();
  for (const TCustomRPFormattedData* document : SubDocuments(item))
    if (document->FindNextFocusableItem(-1, true) >= 0) return true;
  return false;
}

int32_t TCustomRPFormattedData::FindNextFocusableItem(int32_t fromItemNo, bool forward) const {
  const TRPStyle* style = GetStyleSheet();
  const int32_t step = forward ? 1 : -1;
  for (int32_t i = fromItemNo + step; i >= 0 && i < GetItemCount(); i += step) {
    if (GetItemFirstDrawItem(i) < 0) continue;
    TCustomRPItemInfo& item = *GetItem(i);
    if (item.GetBoolValueEx(rpibqxFocusable, style) || HasFocusableSubItems(item)) return i;
  }
  return -1;
}

bool TCustomRPFormattedData::FindNextFocus(int32_t fromItemNo, bool forward, TCustomRPFormattedData*& data,
                                           int32_t& itemNo) {
  // The focus lies inside the documents of item fromItemNo: they go on first.
  if (data && data != this && fromItemNo >= 0 && fromItemNo < GetItemCount() &&
      MoveFocusInItem(*GetItem(fromItemNo), forward, data, itemNo))
    return true;
  const TRPStyle* style = GetStyleSheet();
  for (int32_t i = FindNextFocusableItem(fromItemNo, forward); i >= 0; i = FindNextFocusableItem(i, forward)) {
    TCustomRPItemInfo& item = *GetItem(i);
    if (item.GetBoolValueEx(rpibqxFocusable, style)) {
      data = this;
      itemNo = i;
      return true;
    }
    data = nullptr;
    itemNo = -1;
    if (MoveFocusInItem(item, forward, data, itemNo)) return true;
  }
  data = nullptr;
  itemNo = -1;
  return false;
}

bool TCustomRPFormattedData::MoveFocusInItem(TCustomRPItemInfo& item, bool forward, TCustomRPFormattedData*& data,
                                             int32_t& itemNo) {
  if (auto* holder = dynamic_cast<IRPFocusItem*>(&item)) return holder->MoveFocus(forward, data, itemNo);
  const std::vector<TCustomRPFormattedData*> documents = SubDocuments(item);
  const int32_t count = static_cast<int32_t>(documents.size());
  int32_t k = -1, from = 0;
  for (int32_t i = 0; i < count && data; ++i) {
    TCustomRPFormattedData* document = documents[static_cast<size_t>(i)];
    const int32_t holder = data == document ? itemNo : document->FindHolderItem(data);
    if (holder < 0) continue;
    k = i;
    from = holder;
    break;
  }
  if (k < 0) {
    if (count == 0) return false;
    k = forward ? 0 : count - 1;
    data = nullptr;
    from = forward ? -1 : documents[static_cast<size_t>(k)]->GetItemCount();
  }
  for (;;) {
    TCustomRPFormattedData* document = documents[static_cast<size_t>(k)];
    if (document->FindNextFocus(from, forward, data, itemNo)) return true;
    k += forward ? 1 : -1;
    if (k < 0 || k >= count) break;
    data = nullptr;
    from = forward ? -1 : documents[static_cast<size_t>(k)]->GetItemCount();
  }
  data = nullptr;
  itemNo = -1;
  return false;
}

void TCustomRPFormattedData::SetFocusedItem(int32_t itemNo, TCustomRPFormattedData* focusedData,
                                            int32_t focusedItemNo) {
  if (TCustomRPFormattedData& root = Root(); &root != this) root.SetFocusedItem(itemNo, focusedData, focusedItemNo);
}
