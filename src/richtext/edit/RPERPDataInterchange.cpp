// Native-format and RTF documents inserted at the caret, and the spelling restart.
//
// RTF is first read into a document of its own (sharing the style sheet) and goes in
// through the native format: a damaged RTF stream, which the import takes back item by
// item, never touches the editor's items, so the undo records stay true. Inserted RTF
// never reads local files through INCLUDEPICTURE or IMPORT fields.
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/base/Streams.h"
#include "richtext/edit/RPERPData.h"
#include "richtext/edit/RPERPDataEditing.h"
#include "richtext/interchange/RPRTFProps.h"
#include "richtext/model/RPStyle.h"

namespace {

// The item index where a document goes in at the caret: after a text item the caret
// stands at the end of, or after a non-text item.
int32_t CaretInsertionIndex(TRPEditRPData& data) {
  const int32_t itemNo = data.GetCaretItemNo();
  if (itemNo < 0) return data.GetItemCount();
  const int32_t offset = data.GetCaretOffset();
  if (offset >= data.GetItemEndOffset(itemNo) && (!data.IsTextItem(itemNo) || data.GetItemLength(itemNo) > 0))
    return itemNo + 1;
  return itemNo;
}

}  // namespace

TRPFFirstItemFate TRPEditRPData::InsertFirstRPFItem(int32_t& index, AnsiString text,
                                                    std::unique_ptr<TCustomRPItemInfo> item) {
  if (!FInsertingAtCaret) return TRichPaneRPData::InsertFirstRPFItem(index, std::move(text), std::move(item));
  int32_t itemNo = -1, lastAffected = -1;
  bool full = false;
  if (!InsertItem(itemNo, text, lastAffected, full, true, item)) return rpffRefused;
  FInsertFullReformat = FInsertFullReformat || full;
  if (itemNo < 0) return rpffDropped;
  FFirstInserted = itemNo;
  index = itemNo + 1;
  // The reader gives the items that follow the inserted ones in their paragraph the
  // paragraph style of what now stands before them, and makes the one after a whole-line
  // item start a paragraph; what they are now is kept so that those changes can be
  // recorded.
  FFollowing.clear();
  for (int32_t i = index; i < GetItemCount() && (i == index || !StartsParagraph(i)); ++i)
    FFollowing.push_back(
        {GetItem(i), GetItem(i)->ParaNo, GetItem(i)->GetContinuesLine(), GetItem(i)->GetLineBreakBefore()});
  return rpffInserted;
}

bool TRPEditRPData::InsertRPFFromStream(TStream& stream) {
  if (GetCaretItemNo() < 0 && GetItemCount() > 0) return false;
  int32_t firstDraw = -1, lastDraw = -1;
  CaretReformatRange(*this, firstDraw, lastDraw);
  int32_t index = CaretInsertionIndex(*this);
  const int32_t countBefore = GetItemCount();
  BeginUndoGroup(rpukInsert, true);
  InsertedThroughEditing = false;
  FInsertingAtCaret = true;
  FFirstInserted = -1;
  FFollowing.clear();
  FInsertFullReformat = false;
  TColor color = Control().Color;
  TRPFReadRequest request;
  request.Insert = true;
  bool ok = false;
  try {
    ok = ReadRPFFromStream(stream, index, request, color);
  } catch (...) {
    FInsertingAtCaret = false;
    throw;
  }
  FInsertingAtCaret = false;
  if (!ok) {
    FormatDocument();
    InvalidateControl();
    Beep();
    return false;
  }
  if (!InsertedThroughEditing || FFirstInserted < 0) return true;
  Control().Color = color;
  int32_t first = FFirstInserted;
  int32_t last = index - 1;
  int32_t added = GetItemCount() - countBefore;
  bool full = FInsertFullReformat;
  // The stream's items that continue the paragraph the first one went into take its
  // paragraph style (they are new: the record of their insertion takes them back).
  for (int32_t i = first + 1; i <= last && !StartsParagraph(i); ++i) GetItem(i)->ParaNo = GetItem(first)->ParaNo;
  TRPUndoInsertItemsInfo* record = nullptr;
  // The items after the first went in without records: one record takes them back.
  if (last > first) record = AddInsertItemsRecord(first + 1, last - first);
  const int32_t after = last + 1;
  if (after < GetItemCount())
    for (const TFollowingItem& f : FFollowing)
      if (f.Item == GetItem(after)) {
        // Made to start a paragraph after a whole-line item: MergeInsertedBoundaries does
        // it again, recorded.
        GetItem(after)->SetContinuesLine(f.ContinuesLine);
        GetItem(after)->SetLineBreakBefore(f.LineBreak);
      }
  if (after < GetItemCount() && !StartsParagraph(after)) {
    int32_t lastOfPara = after;
    while (lastOfPara + 1 < GetItemCount() && !StartsParagraph(lastOfPara + 1)) ++lastOfPara;
    int32_t paraStart = after;
    while (paraStart > 0 && !StartsParagraph(paraStart)) --paraStart;
    const int32_t paraNo = GetItem(paraStart)->ParaNo;
    for (const TFollowingItem& f : FFollowing) {
      const int32_t i = FindItemIndex(f.Item);
      if (i >= after && i <= lastOfPara) GetItem(i)->ParaNo = f.ParaNo;
    }
    bool paraFull = false;
    SetParaRangeUndoable(after, lastOfPara, paraFull, paraNo);
    full = full || paraFull;
    if (record) record->LastAffectedItemNo = lastOfPara;
  }
  if (record) record->FullReformat = true;
  int32_t caretOffset = GetItemEndOffset(last);
  MergeInsertedBoundaries(first, last, caretOffset, added);
  if (GetStyleSheet() && GetCanvas() && first <= last)
    full = full || CalculateMinRangeWidth(first, last, *GetCanvas()) > MinDocWidth;
  ReformatAfterEdit(full, firstDraw, lastDraw, added);
  last = ClampItemIndex(last);
  PlaceCaretAfterEdit(last, std::min(caretOffset, GetItemEndOffset(last)), true);
  if (!full) RenumberListsInRange(ClampItemIndex(first), last);
  return true;
}

bool TRPEditRPData::InsertRTFFromStream(TStream& stream) {
  if (stream.Position() >= stream.Size()) return true;
  auto* props = dynamic_cast<TRPRTFReaderProperties*>(Control().GetRTFReadProperties());
  TRPStyle* style = Control().Style();
  if (!props || !style) return false;
  TCustomRichPane reading(nullptr);
  reading.SetStyle(style);
  reading.SetDoInPaletteMode(Control().DoInPaletteMode);
  // The hyperlinks and the pictures named by the inserted RTF are this document's to ask
  // its program for, as a loaded document's are.
  reading.OnReadHyperlink = [this](TCustomRichPane*, const AnsiString& target, const AnsiString& extras,
                                   TRPLoadFormat format, int32_t& styleNo, TRPTag& tag, AnsiString& itemName) {
    ReadHyperlink(target, extras, format, styleNo, tag, itemName);
  };
  reading.OnImportPicture = [this](TCustomRichPane*, const AnsiString& location, std::unique_ptr<TGraphic>& graphic) {
    graphic = ImportPicture(location);
  };
  int32_t position = 0;
  // Inserted RTF (a paste, a drop, a file) never reads local files through its fields.
  const bool allowFiles = props->AllowFieldPictureFiles;
  props->AllowFieldPictureFiles = false;
  TRPRTFErrorCode code = rtf_ec_OK;
  try {
    code = props->ReadRTFFromStream(stream, reading.RPData(), position);
  } catch (...) {
    props->AllowFieldPictureFiles = allowFiles;
    throw;
  }
  props->AllowFieldPictureFiles = allowFiles;
  if (code != rtf_ec_OK) {
    Beep();
    return false;
  }
  if (reading.GetItemCount() == 0) return true;
  TMemoryStream native;
  reading.RPFOptions = rpfoSavePicturesBody | rpfoSaveControlsBody | rpfoSaveBinary;
  if (!reading.SaveRPFToStream(native, rpfsmDocument)) {
    Beep();
    return false;
  }
  native.SetPosition(0);
  return InsertRPFFromStream(native);
}

void TRPEditRPData::MergeInsertedBoundaries(int32_t& first, int32_t& last, int32_t& caretOffset, int32_t& added) {
  if (first < 0 || last < first || last >= GetItemCount()) return;
  bool full = false;
  // The last inserted item and the one after it.
  if (last + 1 < GetItemCount()) {
    if (CanMergeItems(last, false)) {
      JoinItems(last);
      --added;
    } else if (GetItem(last)->GetBoolValue(rpibqWholeLine) && !StartsParagraph(last + 1)) {
      SetContinuesLineUndoable(last + 1, false, full, -1);
    }
  }
  // Among the inserted items, from the last down.
  bool chained = true;
  for (int32_t i = last; i > first; --i) {
    NormalizeSubDocuments(i);
    if (!CanMergeItems(i - 1, false)) {
      chained = false;
      continue;
    }
    const int32_t length = GetItemLength(i - 1);
    JoinItems(i - 1);
    if (chained) caretOffset += length;
    --last;
    --added;
  }
  NormalizeSubDocuments(first);
  // The first inserted item and the one before it.
  if (first > 0 && CanMergeItems(first - 1, false)) {
    const int32_t length = GetItemLength(first - 1);
    JoinItems(first - 1);
    if (chained && first == last) caretOffset += length;
    --first;
    --last;
    --added;
  } else if (first < last && IsTextItem(first) && GetItemLength(first) == 0 && GetItem(first)->GetContinuesLine() &&
             !(first > 0 && GetItemStyle(first - 1) == rpkindListMarker)) {
    DeleteItemUndoable(first, full);
    --last;
    --added;
  }
}
