#include "richtext/layout/RPDrawLines.h"

#include <algorithm>

#include "platform/base/Exception.h"
#include "platform/base/Format.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPUnicode.h"

TRPDrawLineInfo::TRPDrawLineInfo(int32_t left, int32_t top, int32_t width, int32_t height, int32_t itemNo,
                                 bool fromNewLine) {
  SetData(left, top, itemNo, fromNewLine);
  SetSize(width, height);
}

void TRPDrawLineInfo::SetData(int32_t left, int32_t top, int32_t itemNo, bool fromNewLine) {
  Left = left;
  Top = top;
  ItemNo = itemNo;
  FromNewLine = fromNewLine ? 255 : 0;
}

void TRPDrawLineInfo::SetSize(int32_t width, int32_t height) {
  Width = width;
  Height = height;
}

TRPDrawLineInfo* TRPDrawLines::GetItem(int32_t index) const {
  if (index < 0 || index >= Count()) throw EListError(Format(SListIndexError, {index}));
  return FItems[static_cast<size_t>(index)].get();
}

void TRPDrawLines::Clear() {
  FItems.clear();
  FPendingFirst = -1;
  FPendingCount = 0;
}

void TRPDrawLines::DeleteRange(int32_t first, int32_t last) {
  for (int32_t i = first; i <= last; ++i) FItems[static_cast<size_t>(i)].reset();
  FPendingFirst = first;
  FPendingCount = last - first + 1;
}

void TRPDrawLines::InsertItem(int32_t index, std::unique_ptr<TRPDrawLineInfo> item) {
  if (FPendingCount == 0) {
    FItems.insert(FItems.begin() + index, std::move(item));
    return;
  }
  FItems[static_cast<size_t>(index)] = std::move(item);
  ++FPendingFirst;
  --FPendingCount;
  if (FPendingCount == 0) FPendingFirst = -1;
}

void TRPDrawLines::DeleteItem(int32_t index) {
  if (FPendingCount == 0) {
    FItems.erase(FItems.begin() + index);
    return;
  }
  FItems[static_cast<size_t>(index)].reset();
  --FPendingFirst;
  ++FPendingCount;
}

void TRPDrawLines::RemovePendingRange() {
  if (FPendingCount > 0) {
    const auto first = FItems.begin() + FPendingFirst;
    FItems.erase(first, first + FPendingCount);
  }
  FPendingFirst = -1;
  FPendingCount = 0;
}

void TRPDrawLines::GetSubString(int32_t drawNo, const TCustomRPData& data, AnsiString& s) const {
  const TRPDrawLineInfo& d = *GetItem(drawNo);
  GetSubStringRange(drawNo, data, 1, d.Length, s);
}

void TRPDrawLines::GetSubStringRange(int32_t drawNo, const TCustomRPData& data, int32_t from, int32_t count,
                                     AnsiString& s) const {
  const TRPDrawLineInfo& d = *GetItem(drawNo);
  s.clear();
  if (d.Length == 0 || !data.IsTextItem(d.ItemNo)) return;
  if (d.Length + 1 < count + from) count = d.Length - from + 1;
  if (count <= 0) return;
  const int32_t unit = data.GetItem(d.ItemNo)->IsUnicode() ? 2 : 1;
  const AnsiString& text = data.GetItemTextRaw(d.ItemNo);
  const size_t start = static_cast<size_t>(d.Offs + from - 2) * static_cast<size_t>(unit);
  if (start >= text.size()) return;
  s = text.substr(start, static_cast<size_t>(count) * static_cast<size_t>(unit));
}
