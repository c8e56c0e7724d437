// What a document's styles forbid: read-only paragraphs, protected items and items that
// stick together.
#include "richtext/layout/RPFormattedData.h"
#include "richtext/model/RPStyle.h"

namespace {

// Protection options by number (the order of TRPProtectOption).
constexpr int32_t ModifyProtect = rpprModifyProtect;
constexpr int32_t DeleteProtect = rpprDeleteProtect;
constexpr int32_t Sticking = rpprSticking;
constexpr int32_t StickToTop = rpprStickToTop;
constexpr int32_t StickToBottom = rpprStickToBottom;

}  // namespace

bool TCustomRPFormattedData::IsParaOptionSet(int32_t paraNo, int32_t option) const {
  const TRPStyle* style = GetStyleSheet();
  if (!style || option < 0 || option > 7) return false;
  return (style->ParaStyles()[paraNo]->Options.Ordinals() & (uint64_t{1} << option)) != 0;
}

bool TCustomRPFormattedData::IsItemProtected(int32_t itemNo, int32_t option) const {
  const TRPStyle* style = GetStyleSheet();
  if (!style || option < 0 || option > 15) return false;
  const TCustomRPItemInfo& item = *GetItem(itemNo);
  int32_t textStyle = -1;
  if (IsTextItem(itemNo)) {
    textStyle = GetItemStyle(itemNo);
  } else {
    if (option == DeleteProtect)
      if (const auto* nonText = dynamic_cast<const TRPNonTextItemInfo*>(&item); nonText && nonText->Unremovable)
        return true;
    textStyle = item.GetAssociatedTextStyleNo();
    if (textStyle < 0) return false;
  }
  return (style->TextStyles()[textStyle]->Protection.Ordinals() & (uint64_t{1} << option)) != 0;
}

bool TCustomRPFormattedData::IsItemParaReadOnly(int32_t itemNo) const {
  return IsParaOptionSet(GetItem(itemNo)->ParaNo, rppaoReadOnly);
}

bool TCustomRPFormattedData::IsInsertionBlocked(int32_t afterItemNo, bool silent) {
  const int32_t count = GetItemCount();
  bool blocked = false;
  if (count > 0) {
    if (afterItemNo < 0)
      blocked = IsItemProtected(0, StickToTop);
    else if (afterItemNo >= count - 1)
      blocked = IsItemProtected(count - 1, StickToBottom);
    else
      blocked = IsItemProtected(afterItemNo, Sticking) && IsItemProtected(afterItemNo + 1, Sticking);
  }
  if (blocked && !silent) InsertionBlocked();
  return blocked;
}

bool TCustomRPFormattedData::CanInsertAt(int32_t itemNo, int32_t offs) {
  if (itemNo < 0 || itemNo >= GetItemCount() || IsItemParaReadOnly(itemNo)) return false;
  if (offs > GetItemStartOffset(itemNo) && offs < GetItemEndOffset(itemNo))
    return !IsItemProtected(itemNo, ModifyProtect);
  return !IsInsertionBlocked(offs <= GetItemStartOffset(itemNo) ? itemNo - 1 : itemNo, true);
}
