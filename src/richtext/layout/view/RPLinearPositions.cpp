// The flat text view of a document with sub-documents, and the conversions between its
// positions and caret positions.
//
// Lengths (L = RPLinearLineBreakLength; sep(i) = 0 when item i continues the line of
// the item before it, else L, the first item of a document included):
//   text item                      sep + its characters
//   item without sub-documents     sep + 1
//   item with sub-documents        sep + the lengths of its sub-documents + L
// A sub-document's own first separator is the line break in front of its text. Linear
// positions of the control leave out the root document's first separator, so that
// position 0 lies before the first character.
#include <algorithm>
#include <functional>

#include "richtext/layout/view/RichPane.h"
#include "richtext/model/RPUnicode.h"

int32_t RPLinearLineBreakLength = 1;

namespace {

int32_t Separator(const TCustomRPData& data, int32_t i) {
  return data.GetItem(i)->GetContinuesLine() ? 0 : RPLinearLineBreakLength;
}

// proc for the content of each sub-document of item (the document holding its items now:
// an edited cell's editor's) while it answers true; false when it stopped.
bool ForEachSubContent(TCustomRPItemInfo& item, const std::function<bool(TCustomRPData&)>& proc) {
  return TCustomRPData::ForEachSubDocument(item, [&proc](TCustomRPData& sub) { return proc(*sub.GetRPData()); });
}

bool HasSubDocuments(TCustomRPItemInfo& item) {
  std::unique_ptr<TRPStoreSubRPData> location;
  return item.GetSubRPData(location, rpsdFirst) != nullptr;
}

int32_t DocumentLength(const TCustomRPData& data);

int32_t ItemLength(const TCustomRPData& data, int32_t i) {
  const int32_t separator = Separator(data, i);
  if (data.IsTextItem(i)) return separator + data.GetItemLength(i);
  int32_t subs = 0;
  bool any = false;
  ForEachSubContent(*data.GetItem(i), [&](TCustomRPData& sub) {
    any = true;
    subs += DocumentLength(sub);
    return true;
  });
  return any ? separator + subs + RPLinearLineBreakLength : separator + 1;
}

int32_t DocumentLength(const TCustomRPData& data) {
  int32_t length = 0;
  for (int32_t i = 0; i < data.GetItemCount(); ++i) length += ItemLength(data, i);
  return length;
}

// Characters taken from the flat text: start characters skipped, then length collected
// (all that follow when length is negative).
struct TTextCollector {
  int32_t Skip;
  int32_t Left;
  WideString Text;

  bool Done() const { return Left == 0; }
  void Put(WideStringView chars) {
    for (const WideChar ch : chars) {
      if (Skip > 0) {
        --Skip;
        continue;
      }
      if (Left == 0) return;
      Text += ch;
      if (Left > 0) --Left;
    }
  }
};

const WideString& LineBreakText() {
  static const WideString cr = u"\r", crlf = u"\r\n";
  return RPLinearLineBreakLength == 1 ? cr : crlf;
}

// The flat text of data; the root leaves out its first separator.
void CollectText(TCustomRPData& data, TTextCollector& out, bool root) {
  for (int32_t i = 0; i < data.GetItemCount() && !out.Done(); ++i) {
    if (Separator(data, i) != 0 && !(root && i == 0)) out.Put(LineBreakText());
    TCustomRPItemInfo& item = *data.GetItem(i);
    if (data.IsTextItem(i)) {
      out.Put(data.GetItemTextW(i));
    } else if (HasSubDocuments(item)) {
      ForEachSubContent(item, [&](TCustomRPData& sub) {
        CollectText(sub, out, false);
        return !out.Done();
      });
      out.Put(LineBreakText());
    } else {
      out.Put(item.StyleNo == rpkindTab ? u"\t" : u" ");
    }
  }
}

bool HasSelection(const TCustomRPFormattedData& data) {
  int32_t startItem = -1, endItem = -1, startOffs = 0, endOffs = 0;
  data.GetSelectionBounds(startItem, endItem, startOffs, endOffs, false);
  return data.GetInnerSelectionItem() || (startItem >= 0 && endItem >= 0);
}

// The document that holds the selection: from root down through the items holding an
// inner selection to the sub-document that has one.
TCustomRPFormattedData& SelectionHolder(TCustomRPFormattedData& root) {
  TCustomRPFormattedData* data = &root;
  while (TCustomRPItemInfo* item = data->GetInnerSelectionItem()) {
    TCustomRPFormattedData* next = nullptr;
    ForEachSubContent(*item, [&](TCustomRPData& sub) {
      auto* formatted = dynamic_cast<TCustomRPFormattedData*>(&sub);
      if (formatted && HasSelection(*formatted)) next = formatted;
      return next == nullptr;
    });
    if (!next) break;
    data = next;
  }
  return *data;
}

bool PositionIn(TCustomRPData& data, const TCustomRPData* target, int32_t& pos, int32_t itemOffset, int32_t itemNo) {
  if (&data == target) {
    for (int32_t i = 0; i < itemNo; ++i) pos += ItemLength(data, i);
    if (data.IsTextItem(itemNo))
      pos += Separator(data, itemNo) + itemOffset - 1;
    else
      pos += itemOffset > 0 ? ItemLength(data, itemNo) : Separator(data, itemNo);
    return true;
  }
  for (int32_t i = 0; i < data.GetItemCount(); ++i) {
    TCustomRPItemInfo& item = *data.GetItem(i);
    if (!HasSubDocuments(item)) {
      pos += ItemLength(data, i);
      continue;
    }
    pos += Separator(data, i);
    const bool found =
        !ForEachSubContent(item, [&](TCustomRPData& sub) { return !PositionIn(sub, target, pos, itemOffset, itemNo); });
    if (found) return true;
    pos += RPLinearLineBreakLength;
  }
  return false;
}

}  // namespace

bool TCustomRichPane::GetLinearPosition(TCustomRPData& rpData, const TCustomRPData* targetRPData, int32_t& pos,
                                        int32_t itemOffset, int32_t itemNo) {
  pos = 0;
  return PositionIn(rpData, targetRPData, pos, itemOffset, itemNo);
}

bool TCustomRichPane::LinearToCaret(TCustomRPData& rpData, int32_t& pos, int32_t& offset, int32_t& itemNo,
                                    TCustomRPData*& foundRPData) {
  const int32_t breakLength = RPLinearLineBreakLength;
  for (int32_t i = 0; i < rpData.GetItemCount(); ++i) {
    TCustomRPItemInfo& item = *rpData.GetItem(i);
    const bool newLine = i > 0 && !item.GetContinuesLine();
    auto answer = [&](int32_t itemOffset) {
      foundRPData = &rpData;
      itemNo = i;
      offset = itemOffset;
      return true;
    };
    if (HasSubDocuments(item)) {
      if (newLine) pos -= breakLength;
      if (pos == 0) return answer(0);
      const bool found = !ForEachSubContent(item, [&](TCustomRPData& sub) {
        pos -= breakLength;
        return !LinearToCaret(sub, pos, offset, itemNo, foundRPData);
      });
      if (found) return true;
      pos -= breakLength;
      if (pos == 0) return answer(1);
      continue;
    }
    // The first item's separator lies before the document's first position.
    const int32_t length = ItemLength(rpData, i) - (i == 0 ? Separator(rpData, i) : 0);
    if (length < pos) {
      pos -= length;
      continue;
    }
    if (newLine) pos -= breakLength;
    const int32_t at = pos + (rpData.IsTextItem(i) ? 1 : 0);
    return answer(std::clamp(at, rpData.GetItemStartOffset(i), rpData.GetItemEndOffset(i)));
  }
  return false;
}

void TCustomRichPane::GetLinearSelection(int32_t& start, int32_t& length) {
  start = length = 0;
  TCustomRPFormattedData& holder = SelectionHolder(RPData());
  int32_t startItem = -1, endItem = -1, startOffs = 0, endOffs = 0;
  holder.GetSelectionBounds(startItem, endItem, startOffs, endOffs, false);
  if (startItem < 0 || endItem < 0) return;
  int32_t from = 0, to = 0;
  if (!GetLinearPosition(RPData(), &holder, from, startOffs, startItem) ||
      !GetLinearPosition(RPData(), &holder, to, endOffs, endItem))
    return;
  start = from - RPLinearLineBreakLength;
  length = to - from;
}

void TCustomRichPane::SetLinearSelection(int32_t start, int32_t length) {
  int32_t from = start, to = start + length;
  int32_t fromOffset = 0, fromItem = 0, toOffset = 0, toItem = 0;
  TCustomRPData* fromData = nullptr;
  TCustomRPData* toData = nullptr;
  if (!LinearToCaret(RPData(), from, fromOffset, fromItem, fromData) ||
      !LinearToCaret(RPData(), to, toOffset, toItem, toData) || fromData != toData)
    return;
  auto* data = dynamic_cast<TCustomRPFormattedData*>(fromData);
  if (!data) return;
  // Selections elsewhere (in other cells) go first.
  RPData().Deselect(false);
  data->SetSelectionBounds(fromItem, fromOffset, toItem, toOffset);
  RPData().InvalidateControl();
}

WideString TCustomRichPane::GetLinearText(int32_t start, int32_t length) {
  if (length == 0) return WideString();
  TTextCollector out{start, length < 1 ? -1 : length, WideString()};
  CollectText(RPData(), out, true);
  return out.Text;
}

int32_t TCustomRichPane::GetLinearTextLength() {
  TRichPaneRPData& data = RPData();
  const int32_t last = data.GetItemCount() - 1;
  if (last < 0) return 0;
  int32_t pos = 0;
  GetLinearPosition(data, &data, pos, data.GetItemEndOffset(last), last);
  return std::max(pos - RPLinearLineBreakLength, 0);
}
