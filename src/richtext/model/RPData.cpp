#include "richtext/model/RPData.h"

#include <algorithm>

#include "platform/base/CodePages.h"
#include "platform/base/FileSystem.h"
#include "platform/base/ScopeExit.h"
#include "platform/base/Sound.h"
#include "platform/base/Surrogates.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/GraphicOnBitmap.h"
#include "platform/graphics/JpegImage.h"
#include "richtext/model/RPControlItems.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPHtmlHelpers.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStringHelpers.h"
#include "richtext/model/RPStyleSheetQueries.h"
#include "richtext/model/RPUnicode.h"
#include "unicode/UniSysUtils.h"

namespace {

constexpr int32_t DefaultSpacesInTab = 8;
// Pictures saved as JPEG files for HTML: photographs stay sharp, diagrams keep their
// lines.
constexpr int32_t kPictureFileJpegQuality = 90;

// The live-spelling thread stands still while the items change, and goes on from item
// itemNo of the document afterwards.
class TSpellingPause {
public:
  TSpellingPause(TCustomRPData& data, int32_t itemNo) : FData(data), FItemNo(itemNo) { data.PauseLiveSpelling(); }
  ~TSpellingPause() {
    FData.LiveSpellingResetFrom(FData, FItemNo, 0);
    FData.ResumeLiveSpelling();
  }
  TSpellingPause(const TSpellingPause&) = delete;
  TSpellingPause& operator=(const TSpellingPause&) = delete;

private:
  TCustomRPData& FData;
  int32_t FItemNo;
};

}  // namespace

void ThrowInvalidItemClass() { throw ERichPaneError(errRPInvalidItemClass); }

TCustomRPData::TCustomRPData() = default;

TCustomRPData::~TCustomRPData() {
  // Only the document's own items go with it; a list it used belongs to its owner.
  FItems = &FOwnItems;
  Clear();
}

// --- Answers of the nesting ----------------------------------------------------------

TRPOptions TCustomRPData::GetOptions() const {
  auto* self = const_cast<TCustomRPData*>(this);
  TCustomRPData* root = self->GetRootData();
  return root == this ? FOptions : root->GetOptions();
}

void TCustomRPData::SetOptions(TRPOptions options) {
  TCustomRPData* root = GetRootData();
  if (root == this)
    FOptions = options;
  else
    root->SetOptions(options);
}

// Each answer of the nesting below is the root's; the root of this class keeps its own.
#define QF_ROOT_VALUE(Type, Getter, Setter, Field)                               \
  Type TCustomRPData::Getter() const {                                           \
    const TCustomRPData* root = const_cast<TCustomRPData*>(this)->GetRootData(); \
    return root == this ? Field : root->Getter();                                \
  }                                                                              \
  void TCustomRPData::Setter(Type value) {                                       \
    TCustomRPData* root = GetRootData();                                         \
    if (root == this)                                                            \
      Field = value;                                                             \
    else                                                                         \
      root->Setter(value);                                                       \
  }
QF_ROOT_VALUE(uint32_t, GetRPFOptions, SetRPFOptions, FRPFOptions)
QF_ROOT_VALUE(uint32_t, GetRTFOptions, SetRTFOptions, FRTFOptions)
QF_ROOT_VALUE(uint32_t, GetRPFWarnings, SetRPFWarnings, FRPFWarnings)
#undef QF_ROOT_VALUE

TRPFReaderStyleMode TCustomRPData::GetRPFTextStylesReadMode() const {
  const TCustomRPData* root = const_cast<TCustomRPData*>(this)->GetRootData();
  return root == this ? rpf_sInsertMerge : root->GetRPFTextStylesReadMode();
}

TRPFReaderStyleMode TCustomRPData::GetRPFParaStylesReadMode() const {
  const TCustomRPData* root = const_cast<TCustomRPData*>(this)->GetRootData();
  return root == this ? rpf_sInsertMerge : root->GetRPFParaStylesReadMode();
}

HPALETTE TCustomRPData::GetRPPalette() const {
  const TCustomRPData* root = const_cast<TCustomRPData*>(this)->GetRootData();
  return root == this ? HPALETTE() : root->GetRPPalette();
}

const TLogPalette* TCustomRPData::GetRPLogPalette() const {
  const TCustomRPData* root = const_cast<TCustomRPData*>(this)->GetRootData();
  return root == this ? nullptr : root->GetRPLogPalette();
}

TRPPaletteAction TCustomRPData::GetDoInPaletteMode() const {
  const TCustomRPData* root = const_cast<TCustomRPData*>(this)->GetRootData();
  return root == this ? rppaDoNothing : root->GetDoInPaletteMode();
}

void TCustomRPData::UpdateItemsPalette() {
  if (ItemsShared()) return;
  const TRPPaletteAction action = GetDoInPaletteMode();
  const HPALETTE palette = GetRPPalette();
  const TLogPalette* logPalette = GetRPLogPalette();
  for (TItemEntry& entry : *FItems)
    if (entry.Item) entry.Item->UpdatePaletteInfo(action, false, palette, logPalette);
}

std::unique_ptr<TGraphic> TCustomRPData::RPFPictureNeeded(const AnsiString& name, const TRPTag& tag) {
  TCustomRPData* root = GetAbsoluteRootData();
  return root == this ? nullptr : root->RPFPictureNeeded(name, tag);
}

TCustomImageList* TCustomRPData::RPFImageListNeeded(int32_t tag) {
  TCustomRPData* root = GetAbsoluteRootData();
  return root == this ? nullptr : root->RPFImageListNeeded(tag);
}

void TCustomRPData::Beep() const {
  const IRPStyleSheet* sheet = GetRPStyle();
  if (sheet && sheet->GetUseSound()) MessageBeep(0);
}

// --- Item sharing ----------------------------------------------------------------------

void TCustomRPData::ShareItemsFrom(TCustomRPData& source) {
  if (!ItemsShared()) return;
  Clear();
  FItems = source.FItems;
}

void TCustomRPData::UseItemListOf(TCustomRPData& source) { FItems = source.FItems; }

void TCustomRPData::NotifyItemsAdding(TCustomRPData* rpData, bool safe) {
  for (TItemEntry& entry : *FItems)
    if (entry.Item) entry.Item->Inserting(rpData, entry.Text, safe);
}

const IRPStyleSheet* TCustomRPData::GetRPStyle() const {
  const TCustomRPData* parent = GetParentData();
  return parent ? parent->GetRPStyle() : nullptr;
}

AnsiString TCustomRPData::GetDelimiters() const {
  auto* self = const_cast<TCustomRPData*>(this);
  TCustomRPData* root = self->GetRootData();
  return root == this ? AnsiString() : root->GetDelimiters();
}

int32_t TCustomRPData::GetParentInfo(std::unique_ptr<TRPStoreSubRPData>& location) const {
  location.reset();
  return -1;
}

void TCustomRPData::ItemAction(TRPItemAction, TCustomRPItemInfo*, AnsiString&) {}

void TCustomRPData::ControlAction(TRPControlAction, int32_t, TCustomRPItemInfo*) {}

void TCustomRPData::NotifyControlAction(TRPControlAction action, int32_t itemNo, TCustomRPItemInfo* item) {
  if (item && item->StyleNo == rpkindControl) ControlAction(action, itemNo, item);
}

IRPControlParent* TCustomRPData::GetParentControl() {
  TCustomRPData* root = GetAbsoluteRootData();
  return root == this ? nullptr : root->GetParentControl();
}

// --- Live spelling ---------------------------------------------------------------------

// Parent by parent, not straight to the root: a cell edited in place belongs to its
// editor's view, whose thread walks it, not to the view that holds the table.

void TCustomRPData::PauseLiveSpelling() {
  if (TCustomRPData* parent = GetAbsoluteParentData()) parent->PauseLiveSpelling();
}

void TCustomRPData::ResumeLiveSpelling() {
  if (TCustomRPData* parent = GetAbsoluteParentData()) parent->ResumeLiveSpelling();
}

void TCustomRPData::LiveSpellingResetFrom(TCustomRPData& rpData, int32_t itemNo, int32_t offset) {
  if (TCustomRPData* parent = GetAbsoluteParentData()) parent->LiveSpellingResetFrom(rpData, itemNo, offset);
}

void TCustomRPData::AdjustSpellingOnInsert(TCustomRPData& rpData, int32_t itemNo, int32_t offset, WideChar ch) {
  if (TCustomRPData* parent = GetAbsoluteParentData())
    parent->AdjustSpellingOnInsert(rpData, itemNo, offset, ch);
  else
    rpData.GetItem(itemNo)->AdjustWordPaintersForInsert(offset, ch, &rpData);
}

void TCustomRPData::AdjustSpellingOnDelete(TCustomRPData& rpData, int32_t itemNo, int32_t offset, int32_t count) {
  if (TCustomRPData* parent = GetAbsoluteParentData())
    parent->AdjustSpellingOnDelete(rpData, itemNo, offset, count);
  else
    rpData.GetItem(itemNo)->AdjustWordPaintersForDelete(offset, count);
}

void TCustomRPData::LiveSpellingCellFreed(TCustomRPData& cell) {
  if (TCustomRPData* parent = GetAbsoluteParentData()) parent->LiveSpellingCellFreed(cell);
}

void TCustomRPData::LiveSpellingItemFreed(TCustomRPItemInfo& item) {
  ForEachSubDocument(item, [this](TCustomRPData& sub) {
    for (int32_t i = 0; i < sub.GetItemCount(); ++i) sub.LiveSpellingItemFreed(*sub.GetItem(i));
    LiveSpellingCellFreed(sub);
    return true;
  });
}

IRPMarkerList* TCustomRPData::GetMarkers(bool create) {
  TCustomRPData* root = GetAbsoluteRootData();
  if (root != this) return root->GetMarkers(create);
  if (!FMarkers && create)
    if (TRPMarkerListFactory factory = GetMarkerListFactory()) FMarkers = factory();
  return FMarkers.get();
}

void TCustomRPData::DestroyMarkers() {
  TCustomRPData* root = GetAbsoluteRootData();
  if (root != this)
    root->DestroyMarkers();
  else
    FMarkers.reset();
}

void TCustomRPData::AddMarkerToList(int32_t itemNo) {
  if (IRPMarkerList* markers = GetMarkers(true)) markers->AddMarker(*this, itemNo);
}

void TCustomRPData::RemoveMarkerFromList(TCustomRPItemInfo& marker) {
  if (IRPMarkerList* markers = GetMarkers(false)) {
    markers->RemoveMarker(*this, marker, (GetState() & rpstClearing) != 0);
    if (markers->Count() == 0) DestroyMarkers();
  }
}

void TCustomRPData::UpdateMarkerCountersFrom(int32_t itemNo) {
  if (IRPMarkerList* markers = GetMarkers(false)) markers->UpdateCountersFrom(*this, *GetItem(itemNo));
}

int32_t TCustomRPData::FindLastMarkerOfLists(int32_t index, const TRPIntegerList& listNos) {
  IRPMarkerList* markers = GetMarkers(false);
  return markers ? markers->FindLastOfLists(index, listNos) : -1;
}

TCustomRPItemInfo* TCustomRPData::FindLastMarkerInSubDocuments(TCustomRPItemInfo& item, const TCustomRPData* stop) {
  TCustomRPItemInfo* found = nullptr;
  std::unique_ptr<TRPStoreSubRPData> location;
  for (TCustomRPData* sub = item.GetSubRPData(location, rpsdFirst); sub; sub = item.GetSubRPData(location, rpsdNext)) {
    if (sub == stop || sub->GetSourceRPData() == stop) break;
    if (TCustomRPItemInfo* last = sub->FindLastMarkerBefore(-1)) found = last;
  }
  return found;
}

TCustomRPItemInfo* TCustomRPData::FindLastMarkerBefore(int32_t before) {
  for (int32_t i = (before < 0 ? GetItemCount() : before) - 1; i >= 0; --i) {
    TCustomRPItemInfo& item = *GetItem(i);
    if (item.StyleNo == rpkindListMarker) return &item;
    if (TCustomRPItemInfo* inside = FindLastMarkerInSubDocuments(item, nullptr)) return inside;
  }
  return nullptr;
}

TCustomRPItemInfo* TCustomRPData::FindPrevMarker(int32_t itemNo) {
  if (TCustomRPItemInfo* here = FindLastMarkerBefore(itemNo)) return here;
  // The holding item's earlier sub-documents (earlier cells of a table) come before this
  // one in document order, then what comes before the holding item.
  std::unique_ptr<TRPStoreSubRPData> location;
  const int32_t holder = GetParentInfo(location);
  TCustomRPData* parent = GetAbsoluteParentData();
  if (holder < 0 || !parent) return nullptr;
  parent = parent->GetSourceRPData();
  if (TCustomRPItemInfo* earlier = FindLastMarkerInSubDocuments(*parent->GetItem(holder), GetSourceRPData()))
    return earlier;
  return parent->FindPrevMarker(holder);
}

// --- Items ---------------------------------------------------------------------------

void TCustomRPData::CheckItemIndex(int32_t i) const {
  if (i < 0 || i >= GetItemCount()) throw ERichPaneError(errRPItemIndexOutOfBounds);
}

int32_t TCustomRPData::IndexOfItem(const TCustomRPItemInfo* item) const {
  for (size_t i = 0; i < FItems->size(); ++i)
    if ((*FItems)[i].Item.get() == item) return static_cast<int32_t>(i);
  return -1;
}

int32_t TCustomRPData::ResolveItemStyle(const TCustomRPItemInfo& item) const {
  return item.ResolveStyleNo(GetRPStyle());
}

int32_t TCustomRPData::ResolveStyleNo(int32_t styleNo, int32_t paraNo) const {
  return ResolveTextStyleNo(styleNo, paraNo, GetRPStyle());
}

bool TCustomRPData::GetPageBreakBefore(int32_t i) const {
  CheckItemIndex(i);
  if (i > 0 && GetItem(i - 1)->StyleNo == rpkindListMarker) return GetItem(i - 1)->GetPageBreakBefore();
  return GetItem(i)->GetPageBreakBefore();
}

void TCustomRPData::SetPageBreakBefore(int32_t i, bool value) {
  CheckItemIndex(i);
  GetItem(i)->SetPageBreakBefore(value);
}

int32_t TCustomRPData::FindControlItem(const TComponent* control) const {
  for (int32_t i = 0; i < GetItemCount(); ++i)
    if (GetItem(i)->OwnsControl(control)) return i;
  return -1;
}

bool TCustomRPData::GetItemIntProperty(int32_t i, int32_t code, int32_t& value) const {
  return GetItem(i)->GetIntProperty(code, value);
}

// --- Text ----------------------------------------------------------------------------

void TCustomRPData::SetItemTextRaw(int32_t i, AnsiString text) {
  const TSpellingPause pause(*this, i);
  (*FItems)[static_cast<size_t>(i)].Text = std::move(text);
  GetItem(i)->RemoveMisspellings();
}

void TCustomRPData::SetItemTextKeepingMarks(int32_t i, AnsiString text) {
  PauseLiveSpelling();
  (*FItems)[static_cast<size_t>(i)].Text = std::move(text);
  ResumeLiveSpelling();
}

AnsiString TCustomRPData::GetItemTextA(int32_t i) const {
  const AnsiString& raw = GetItemTextRaw(i);
  if (!IsTextItem(i) || !GetItem(i)->IsUnicode()) return raw;
  return RawUnicodeToAnsi(GetStyleCodePage(GetItemStyle(i)), raw);
}

WideString TCustomRPData::GetItemTextW(int32_t i) const {
  const AnsiString& raw = GetItemTextRaw(i);
  if (GetItem(i)->IsUnicode()) return RawUnicodeToWide(raw);
  return RawUnicodeToWide(AnsiToRawUnicode(GetStyleCodePage(GetItemStyle(i)), raw));
}

AnsiString TCustomRPData::WideToItemText(int32_t i, WideStringView text) const {
  const AnsiString raw = WideToRawUnicode(text);
  if (IsTextItem(i) && GetItem(i)->IsUnicode()) return raw;
  return RawUnicodeToAnsi(GetStyleCodePage(GetItemStyle(i)), raw);
}

int32_t TCustomRPData::GetItemLength(int32_t i) const {
  return IsTextItem(i) ? GetItemTextLength(GetItemTextRaw(i), GetItemOptions(i)) : 1;
}

int32_t TCustomRPData::GetNextCharPos(int32_t i, int32_t position) const {
  if (IsTextItem(i) && GetItem(i)->IsUnicode() && position >= 1 && position < GetItemLength(i)) {
    const WideString text = RawUnicodeToWide(GetItemTextRaw(i));
    const size_t at = static_cast<size_t>(position - 1);
    if (IsHighSurrogate(text[at]) && IsLowSurrogate(text[at + 1])) return position + 2;
  }
  return position + 1;
}

int32_t TCustomRPData::GetPrevCharPos(int32_t i, int32_t position) const {
  if (IsTextItem(i) && GetItem(i)->IsUnicode() && position >= 3 && position <= GetItemLength(i) + 1) {
    const WideString text = RawUnicodeToWide(GetItemTextRaw(i));
    const size_t before = static_cast<size_t>(position - 2);
    if (IsLowSurrogate(text[before]) && IsHighSurrogate(text[before - 1])) return position - 2;
  }
  return position - 1;
}

bool TCustomRPData::IsDelimiterA(char ch) const { return GetDelimiters().find(ch) != AnsiString::npos; }

bool TCustomRPData::IsDelimiterW(WideChar ch) const {
  return ch <= 255 && IsDelimiterA(static_cast<char>(static_cast<uint8_t>(ch)));
}

bool TCustomRPData::IsDelimiterAt(int32_t i, int32_t position) const {
  const AnsiString& raw = GetItemTextRaw(i);
  const size_t at = ItemTextByteOffset(position, GetItemOptions(i));
  if (!GetItem(i)->IsUnicode()) return at < raw.size() && IsDelimiterA(raw[at]);
  if (at + 1 >= raw.size()) return false;
  return IsDelimiterW(static_cast<WideChar>(static_cast<uint8_t>(raw[at]) | (static_cast<uint8_t>(raw[at + 1]) << 8)));
}

uint32_t TCustomRPData::GetDefaultCodePage() const {
  const IRPStyleSheet* sheet = GetRPStyle();
  return sheet ? sheet->GetDefCodePage() : CP_ACP;
}

uint32_t TCustomRPData::GetStyleCodePage(int32_t styleNo) const {
  const IRPStyleSheet* sheet = GetRPStyle();
  if (!sheet) return CP_ACP;
  if (styleNo < 0) return sheet->GetDefCodePage();
  const int32_t charset = sheet->GetTextStyleCharset(styleNo);
  return charset == DEFAULT_CHARSET ? sheet->GetDefCodePage() : CharsetToCodePage(charset);
}

TRPBiDiMode TCustomRPData::GetBiDiMode() const {
  const TCustomRPData* root = const_cast<TCustomRPData*>(this)->GetRootData();
  return root == this ? rpbdUnspecified : root->GetBiDiMode();
}

TRPBiDiMode TCustomRPData::GetParaBiDiMode(int32_t paraNo) const {
  const IRPStyleSheet* sheet = GetRPStyle();
  const TRPBiDiMode mode = sheet ? sheet->GetParaStyleBiDiMode(paraNo) : rpbdUnspecified;
  return mode != rpbdUnspecified ? mode : GetBiDiMode();
}

TRPBiDiMode TCustomRPData::GetItemBiDiMode(int32_t i) const {
  const IRPStyleSheet* sheet = GetRPStyle();
  if (sheet && IsTextItem(i))
    if (const TRPBiDiMode mode = sheet->GetTextStyleBiDiMode(GetItemStyle(i)); mode != rpbdUnspecified) return mode;
  return GetParaBiDiMode(GetItemPara(i));
}

bool TCustomRPData::IsStyleHTMLWritable(int32_t styleNo) const {
  const IRPStyleSheet* sheet = GetRPStyle();
  return !sheet || sheet->IsTextStyleHTMLWritable(styleNo);
}

uint32_t TCustomRPData::GetStyleLocale(int32_t styleNo) const {
  const IRPStyleSheet* sheet = GetRPStyle();
  if (!sheet || styleNo < 0) return MakeDefaultLocale(0);
  return MakeDefaultLocale(CharsetToLanguageId(sheet->GetTextStyleCharset(styleNo)));
}

// --- Adding --------------------------------------------------------------------------

void TCustomRPData::AddItem(AnsiString text, std::unique_ptr<TCustomRPItemInfo> item) {
  const bool wholeLine = item->GetBoolValue(rpibqWholeLine);
  if (item->ParaNo == -1 && !FItems->empty() && !FItems->back().Item->GetBoolValue(rpibqWholeLine)) {
    item->SetContinuesLine(true);
    item->ParaNo = FItems->back().Item->ParaNo;
  } else {
    // A list marker is never followed directly by a new paragraph.
    if (!FItems->empty() && FItems->back().Item->StyleNo == rpkindListMarker) AddRawText({}, 0, -1);
    const bool lineBreak = !wholeLine && (item->GetLineBreakBefore() || !FAddParagraphs);
    item->ItemOptions &= ~(rpioContinuesLine | rpioLineBreakBefore);
    if (lineBreak) item->ItemOptions |= rpioLineBreakBefore;
    if (item->ParaNo == -1) item->ParaNo = 0;
  }
  AddItemAsIs(std::move(text), std::move(item));
}

void TCustomRPData::AddItemAsIs(AnsiString text, std::unique_ptr<TCustomRPItemInfo> item) {
  if (item->Checkpoint) {
    // The document links a checkpoint of its own; the one the item brought is freed.
    AddCheckpoint(item->Checkpoint->Name, item->Checkpoint->RaiseEvent, item->Checkpoint->Tag);
    item->Checkpoint.reset();
  }
  LinkPendingCheckpoint(*item, FLastCP);
  item->UpdatePaletteInfo(GetDoInPaletteMode(), false, GetRPPalette(), GetRPLogPalette());
  InsertEntry(GetItemCount(), std::move(text), std::move(item));
}

void TCustomRPData::AddPictureTag(AnsiString name, std::unique_ptr<TGraphic> graphic, int32_t paraNo, TRPVAlign vAlign,
                                  TRPTag tag) {
  auto picture = std::make_unique<TRPGraphicItemInfo>(this, std::move(graphic), vAlign);
  picture->ParaNo = paraNo;
  picture->Tag = std::move(tag);
  AddItem(std::move(name), std::move(picture));
}

void TCustomRPData::AddPicture(AnsiString name, std::unique_ptr<TGraphic> graphic, int32_t paraNo, TRPVAlign vAlign) {
  AddPictureTag(std::move(name), std::move(graphic), paraNo, vAlign, TRPTag());
}

AnsiString TCustomRPData::ReplaceTabs(AnsiString text, bool unicode) const {
  const IRPStyleSheet* sheet = GetRPStyle();
  const int32_t spaces = sheet ? sheet->GetSpacesInTab() : DefaultSpacesInTab;
  return unicode ? ReplaceTabsWithSpacesW(text, spaces) : ReplaceTabsWithSpaces(text, spaces);
}

int32_t TCustomRPData::ResolveStyleForAdding(int32_t styleNo, int32_t paraNo) const {
  // Paragraph -1 joins the last item's paragraph unless that item takes a whole line;
  // the style resolves in the paragraph the item will have, so that its stored form is
  // the one its style asks for when it is read back.
  if (paraNo == -1)
    paraNo = !FItems->empty() && !FItems->back().Item->GetBoolValue(rpibqWholeLine) ? FItems->back().Item->ParaNo : 0;
  return ResolveStyleNo(styleNo < 0 ? rpDefaultTextStyle : styleNo, paraNo);
}

void TCustomRPData::AddTextItem(AnsiString text, int32_t styleNo, TRPTag tag, int32_t paraNo, bool expandTabs) {
  if (styleNo < 0) styleNo = rpDefaultTextStyle;
  const IRPStyleSheet* sheet = GetRPStyle();
  const bool unicode = sheet && sheet->IsTextStyleUnicode(ResolveStyleForAdding(styleNo, paraNo));
  TRPItemClass textClass = GetTextItemClass();
  if (!textClass) throw ERichPaneError(errRPNoTextItemClass);
  std::unique_ptr<TCustomRPItemInfo> item = textClass->Create(this);
  item->StyleNo = styleNo;
  item->ParaNo = paraNo;
  item->Tag = std::move(tag);
  if (unicode) item->ItemOptions |= rpioUnicode;
  if (expandTabs) text = ReplaceTabs(std::move(text), unicode);
  AddItem(std::move(text), std::move(item));
}

void TCustomRPData::AddTextKeepTabs(AnsiString text, int32_t styleNo, TRPTag tag, int32_t paraNo) {
  AddTextItem(std::move(text), styleNo, std::move(tag), paraNo, false);
}

void TCustomRPData::AddTextExpandTabs(AnsiString text, int32_t styleNo, TRPTag tag, int32_t paraNo) {
  AddTextItem(std::move(text), styleNo, std::move(tag), paraNo, true);
}

void TCustomRPData::AddRawText(AnsiString text, int32_t styleNo, int32_t paraNo) {
  AddTextExpandTabs(std::move(text), styleNo, TRPTag(), paraNo);
}

AnsiString TCustomRPData::ConvertTextForStyle(AnsiStringView text, bool textIsUnicode, int32_t resolvedStyle) const {
  const IRPStyleSheet* sheet = GetRPStyle();
  const bool styleIsUnicode = sheet && sheet->IsTextStyleUnicode(resolvedStyle);
  if (styleIsUnicode == textIsUnicode) return AnsiString(text);
  const uint32_t codePage = GetStyleCodePage(resolvedStyle);
  return textIsUnicode ? RawUnicodeToAnsi(codePage, text) : AnsiToRawUnicode(codePage, text);
}

void TCustomRPData::AddAnsiTextKeepTabs(AnsiStringView text, int32_t styleNo, TRPTag tag, int32_t paraNo) {
  const int32_t resolved = ResolveStyleForAdding(styleNo, paraNo);
  AddTextKeepTabs(ConvertTextForStyle(text, false, resolved), styleNo, std::move(tag), paraNo);
}

void TCustomRPData::AddAnsiText(AnsiStringView text, int32_t styleNo, TRPTag tag, int32_t paraNo) {
  const int32_t resolved = ResolveStyleForAdding(styleNo, paraNo);
  AddTextExpandTabs(ConvertTextForStyle(text, false, resolved), styleNo, std::move(tag), paraNo);
}

void TCustomRPData::AddRawUnicodeText(AnsiStringView raw, int32_t styleNo, TRPTag tag, int32_t paraNo) {
  // Converted whenever the style is not Unicode, with or without a style sheet: an item
  // without the Unicode bit must not hold UTF-16.
  AddTextExpandTabs(ConvertTextForStyle(raw, true, ResolveStyleForAdding(styleNo, paraNo)), styleNo, std::move(tag),
                    paraNo);
}

void TCustomRPData::AddTextW(WideStringView text, int32_t styleNo, TRPTag tag, int32_t paraNo) {
  AddRawUnicodeText(WideToRawUnicode(text), styleNo, std::move(tag), paraNo);
}

bool TCustomRPData::AddMultilineText(AnsiStringView text, int32_t styleNo, const TRPTag& tag, int32_t paraNo,
                                     int32_t firstParaNo) {
  const bool savedAddParagraphs = FAddParagraphs;
  const TScopeExit restore([&] { FAddParagraphs = savedAddParagraphs; });
  const IRPStyleSheet* sheet = GetRPStyle();
  const bool tabsAsItems = sheet && sheet->GetSpacesInTab() < 1;
  bool ok = true;
  try {
    int32_t pendingPara = firstParaNo;  // -1: the next piece continues the line
    bool pageBreakPending = false;
    const auto afterAdd = [&] {
      if (pageBreakPending && AcceptsPageBreaks()) SetPageBreakBefore(GetItemCount() - 1, true);
      pageBreakPending = false;
      pendingPara = -1;
    };
    const auto addPiece = [&](size_t from, size_t to) {
      if (from == to && pendingPara == -1) return;
      const AnsiStringView piece = text.substr(from, to - from);
      if (tabsAsItems)
        AddAnsiTextKeepTabs(piece, styleNo, tag, pendingPara);
      else
        AddAnsiText(piece, styleNo, tag, pendingPara);
      afterAdd();
    };
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      const char ch = text[i];
      if (ch == '\t' && tabsAsItems) {
        addPiece(start, i);
        std::unique_ptr<TCustomRPItemInfo> tab = CreateItemByStyleNo(rpkindTab, this);
        if (!tab) throw ERichPaneError(errRPNoItemClass);
        tab->SetAssociatedTextStyleNo(styleNo);
        tab->ParaNo = pendingPara;
        AddItem({}, std::move(tab));
        afterAdd();
        start = i + 1;
      } else if (ch == '\n' || ch == '\f' || ch == '\r') {
        addPiece(start, i);
        if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        if (ch == '\n' && i + 1 < text.size() && text[i + 1] == '\r') ++i;
        if (ch == '\f') pageBreakPending = true;
        pendingPara = paraNo;
        start = i + 1;
      }
    }
    addPiece(start, text.size());
  } catch (const std::exception&) {
    ok = false;
  }
  return ok;
}

int32_t TCustomRPData::AddCheckpoint(const AnsiString& name, bool raiseEvent, const TRPTag& tag) {
  if (FNotAddedCP) return FCPCount - 1;
  FNotAddedCP = std::make_unique<TRPCPInfo>();
  FNotAddedCP->Name = name;
  FNotAddedCP->RaiseEvent = raiseEvent;
  FNotAddedCP->Tag = tag;
  return FCPCount++;
}

bool TCustomRPData::InsertItem(int32_t index, AnsiString text, std::unique_ptr<TCustomRPItemInfo> item) {
  InsertEntry(index, std::move(text), std::move(item));
  return true;
}

void TCustomRPData::InsertEntry(int32_t index, AnsiString text, std::unique_ptr<TCustomRPItemInfo> item) {
  TCustomRPItemInfo& inserted = *item;
  index = std::clamp(index, 0, GetItemCount());
  const TSpellingPause pause(*this, index);
  inserted.Inserting(this, text, false);
  FItems->insert(FItems->begin() + index, {std::move(text), std::move(item)});
  inserted.Inserted(this, index);
  if (inserted.StyleNo == rpkindListMarker)
    AddMarkerToList(index);
  else
    AddMarkersInside(inserted);
}

void TCustomRPData::AddMarkersInside(TCustomRPItemInfo& item) {
  ForEachSubDocument(item, [](TCustomRPData& sub) {
    for (int32_t j = 0; j < sub.GetItemCount(); ++j)
      if (sub.GetItem(j)->StyleNo == rpkindListMarker)
        sub.AddMarkerToList(j);
      else
        sub.AddMarkersInside(*sub.GetItem(j));
    return true;
  });
}

void TCustomRPData::ForgetMarkers(TCustomRPItemInfo& item, bool clearing) {
  IRPMarkerList* markers = GetMarkers(false);
  if (!markers) return;
  if (item.StyleNo == rpkindListMarker) {
    markers->RemoveMarker(*this, item, clearing);
  } else {
    // Markers inside sub-documents, while the documents still reach the list.
    std::function<bool(TCustomRPData&)> forget = [&](TCustomRPData& sub) {
      for (int32_t j = 0; j < sub.GetItemCount(); ++j)
        if (sub.GetItem(j)->StyleNo == rpkindListMarker)
          markers->RemoveMarker(sub, *sub.GetItem(j), clearing);
        else
          ForEachSubDocument(*sub.GetItem(j), forget);
      return true;
    };
    ForEachSubDocument(item, forget);
  }
  if (markers->Count() == 0) DestroyMarkers();
}

void TCustomRPData::AppendItemsFrom(TCustomRPData* source) {
  if (!source) return;
  if (source->TagsArePChars() != TagsArePChars()) throw ERichPaneError(errRPTagsTypesMismatch);
  // The source may belong to another view (a cell and the editor that edits it in place):
  // its walk stands still while the items leave, and forgets the cells that leave with
  // them. Adding pauses this document's walk item by item.
  source->PauseLiveSpelling();
  const TScopeExit resumeSource([source] { source->ResumeLiveSpelling(); });
  for (int32_t i = 0; i < source->GetItemCount(); ++i) source->LiveSpellingItemFreed(*source->GetItem(i));
  // The source's chain goes with its items: its checkpoints are re-made here.
  TItemList moved = std::move(*source->FItems);
  source->FItems->clear();
  source->FFirstCP = source->FLastCP = nullptr;
  std::unique_ptr<TRPCPInfo> sourcePending = std::move(source->FNotAddedCP);
  source->FCPCount = 0;
  for (TItemEntry& entry : moved) {
    source->ForgetMarkers(*entry.Item, true);
    if (entry.Item->GetContinuesLine()) entry.Item->ParaNo = -1;
    if (entry.Item->Checkpoint) {
      entry.Item->Checkpoint->Next = entry.Item->Checkpoint->Prev = nullptr;
      entry.Item->Checkpoint->ItemInfo = nullptr;
    }
    AddItem(std::move(entry.Text), std::move(entry.Item));
  }
  if (!FNotAddedCP && sourcePending) {
    FNotAddedCP = std::move(sourcePending);
    ++FCPCount;
  }
  source->Clear();
}

// --- Ranges and paragraphs -----------------------------------------------------------

int32_t TCustomRPData::GetParaStartItem(int32_t i) const {
  while (i > 0 && !StartsParagraph(i)) --i;
  return i;
}

int32_t TCustomRPData::GetLineStartItem(int32_t i) const {
  while (i > 0 && !StartsNewLine(i)) --i;
  return i;
}

void TCustomRPData::ExpandToParagraphs(int32_t& first, int32_t& last) const {
  first = GetParaStartItem(first);
  while (last + 1 < GetItemCount() && !StartsParagraph(last + 1)) ++last;
}

void TCustomRPData::ExpandToLines(int32_t& first, int32_t& last) const {
  first = GetLineStartItem(first);
  while (last + 1 < GetItemCount() && !StartsNewLine(last + 1)) ++last;
}

int32_t TCustomRPData::ClampItemIndex(int32_t i) const { return std::clamp(i, 0, std::max(GetItemCount() - 1, 0)); }

void TCustomRPData::UnifyParagraphStyle(int32_t i) {
  if (FItems->empty()) return;
  if (i >= GetItemCount()) i = GetItemCount() - 1;
  int32_t first = i, last = i;
  ExpandToParagraphs(first, last);
  for (int32_t j = first + 1; j <= last; ++j) GetItem(j)->ParaNo = GetItem(first)->ParaNo;
}

bool TCustomRPData::ForEachSubDocument(TCustomRPItemInfo& item, const std::function<bool(TCustomRPData&)>& proc) {
  std::unique_ptr<TRPStoreSubRPData> location;
  for (TCustomRPData* sub = item.GetSubRPData(location, rpsdFirst); sub; sub = item.GetSubRPData(location, rpsdNext))
    if (!proc(*sub)) return false;
  return true;
}

bool TCustomRPData::EnumItems(const TRPEnumItemsProc& proc) {
  bool goOn = true;
  for (int32_t i = 0; i < GetItemCount() && goOn; ++i) {
    proc(*this, i, goOn);
    if (goOn)
      goOn = ForEachSubDocument(*GetItem(i), [&](TCustomRPData& sub) { return sub.GetRPData()->EnumItems(proc); });
  }
  return goOn;
}

int32_t TCustomRPData::IndexOfItemDeep(int32_t start, const TCustomRPItemInfo* item) {
  for (int32_t i = std::max(start, 0); i < GetItemCount(); ++i) {
    if (GetItem(i) == item) return i;
    const bool holds =
        !ForEachSubDocument(*GetItem(i), [&](TCustomRPData& sub) { return sub.IndexOfItemDeep(0, item) < 0; });
    if (holds) return i;
  }
  return -1;
}

namespace {

// A position while it climbs to the documents that hold it.
struct TClimbingPosition {
  TCustomRPData* Data;
  int32_t ItemNo;
  std::unique_ptr<TRPStoreSubRPData> Location;

  // One level up; false at the top.
  bool Climb() {
    std::unique_ptr<TRPStoreSubRPData> location;
    const int32_t parentItemNo = Data->GetParentInfo(location);
    if (parentItemNo < 0) return false;
    ItemNo = parentItemNo;
    Location = std::move(location);
    Data = Data->GetAbsoluteParentData()->GetSourceRPData();
    return true;
  }
};

}  // namespace

int32_t TCustomRPData::ComparePositions(int32_t itemNo, TCustomRPData* other, int32_t otherItemNo) {
  TClimbingPosition a{GetSourceRPData(), itemNo, nullptr};
  TCustomRPData* const otherSource = other->GetSourceRPData();
  TClimbingPosition b{otherSource, otherItemNo, nullptr};
  while (a.Data != b.Data) {
    if (b.Climb()) continue;
    if (!a.Climb()) throw ERichPaneError(errRPComparePositions);
    b = TClimbingPosition{otherSource, otherItemNo, nullptr};
  }
  if (a.ItemNo != b.ItemNo) return a.ItemNo - b.ItemNo;
  if (a.Location && b.Location) return a.Location->Compare(*b.Location);
  return a.Location ? 1 : b.Location ? -1 : 0;
}

// --- Checkpoints ---------------------------------------------------------------------

void TCustomRPData::LinkPendingCheckpoint(TCustomRPItemInfo& item, TRPCPInfo* after) {
  if (!FNotAddedCP) return;
  item.Checkpoint = std::move(FNotAddedCP);
  TRPCPInfo* cp = item.Checkpoint.get();
  cp->ItemInfo = &item;
  cp->Prev = after;
  if (after) {
    cp->Next = after->Next;
    after->Next = cp;
  } else {
    cp->Next = FFirstCP;
    FFirstCP = cp;
  }
  if (cp->Next) cp->Next->Prev = cp;
  if (after == FLastCP) FLastCP = cp;
}

void TCustomRPData::UnlinkCheckpoint(TRPCPInfo& checkpoint, bool decrementCount) {
  checkpoint.ItemInfo = nullptr;
  if (FFirstCP == &checkpoint) FFirstCP = checkpoint.Next;
  if (FLastCP == &checkpoint) FLastCP = checkpoint.Prev;
  if (checkpoint.Prev) checkpoint.Prev->Next = checkpoint.Next;
  if (checkpoint.Next) checkpoint.Next->Prev = checkpoint.Prev;
  checkpoint.Prev = checkpoint.Next = nullptr;
  if (decrementCount) --FCPCount;
}

void TCustomRPData::FreeCheckpoint(TCustomRPItemInfo& item, bool unlink, bool decrementCount) {
  if (!item.Checkpoint) return;
  if (unlink) UnlinkCheckpoint(*item.Checkpoint, false);
  item.Checkpoint.reset();
  if (decrementCount) --FCPCount;
}

void TCustomRPData::RefreshCheckpointIndexes() {
  if (FCPCount == 0 || !FLastCP) return;
  for (int32_t i = 0; i < GetItemCount(); ++i) {
    TRPCPInfo* cp = GetItemCheckpoint(i);
    if (!cp) continue;
    cp->ItemNo = i;
    if (cp == FLastCP) break;
  }
}

TRPCPInfo* TCustomRPData::FindCheckpointBefore(int32_t i) {
  RefreshCheckpointIndexes();
  if (!FFirstCP || FFirstCP->ItemNo >= i) return nullptr;
  TRPCPInfo* cp = FFirstCP;
  while (cp->Next && cp->Next->ItemNo < i) cp = cp->Next;
  return cp;
}

void TCustomRPData::LinkCheckpointInOrder(TRPCPInfo& checkpoint, int32_t itemNo) {
  if (itemNo == -1) return;
  TRPCPInfo* after = FindCheckpointBefore(itemNo);
  checkpoint.ItemNo = itemNo;
  checkpoint.Prev = after;
  if (after) {
    checkpoint.Next = after->Next;
    after->Next = &checkpoint;
  } else {
    checkpoint.Next = FFirstCP;
    FFirstCP = &checkpoint;
  }
  if (checkpoint.Next) checkpoint.Next->Prev = &checkpoint;
  if (after == FLastCP) FLastCP = &checkpoint;
}

void TCustomRPData::AttachCheckpoint(int32_t itemNo, std::unique_ptr<TRPCPInfo> checkpoint) {
  if (!checkpoint) return;
  if (itemNo < 0) {
    SetPendingCheckpoint(std::move(checkpoint));
    return;
  }
  checkpoint->Next = checkpoint->Prev = nullptr;
  GetItem(itemNo)->Checkpoint = std::move(checkpoint);
  LinkItemCheckpoint(itemNo);
}

std::unique_ptr<TRPCPInfo> TCustomRPData::DetachCheckpoint(int32_t itemNo) {
  if (itemNo < 0) return TakePendingCheckpoint();
  TCustomRPItemInfo& item = *GetItem(itemNo);
  if (!item.Checkpoint) return nullptr;
  UnlinkCheckpoint(*item.Checkpoint, true);
  return std::move(item.Checkpoint);
}

// --- Deleting ------------------------------------------------------------------------

void TCustomRPData::FreeItem(std::unique_ptr<TCustomRPItemInfo> item, bool clearing) {
  if (!item) return;
  ForgetMarkers(*item, clearing);
  FreeCheckpoint(*item, true, true);
}

void TCustomRPData::FreeItemAt(int32_t i, bool clearing) {
  const TSpellingPause pause(*this, i);
  TItemEntry& entry = (*FItems)[static_cast<size_t>(i)];
  ItemAction(rpiaDestroying, entry.Item.get(), entry.Text);
  NotifyControlAction(rpcaDestroy, i, entry.Item.get());
  LiveSpellingItemFreed(*entry.Item);
  FreeItem(std::move(entry.Item), clearing);
}

std::unique_ptr<TCustomRPItemInfo> TCustomRPData::DetachItem(int32_t i, AnsiString& text) {
  if (ItemsShared() || i < 0 || i >= GetItemCount()) return nullptr;
  const TSpellingPause pause(*this, i);
  if (TCustomRPItemInfo* item = GetItem(i)) {
    LiveSpellingItemFreed(*item);
    // Its markers (those of a table's cells too) go while the document still reaches them.
    ForgetMarkers(*item, false);
  }
  TItemEntry entry = std::move((*FItems)[static_cast<size_t>(i)]);
  FItems->erase(FItems->begin() + i);
  if (entry.Item && entry.Item->Checkpoint) {
    UnlinkCheckpoint(*entry.Item->Checkpoint, true);
    entry.Item->Checkpoint->ItemInfo = entry.Item.get();
  }
  text = std::move(entry.Text);
  return std::move(entry.Item);
}

void TCustomRPData::DeleteItems(int32_t index, int32_t count) {
  if (ItemsShared() || index < 0 || index >= GetItemCount() || count <= 0) return;
  count = std::min(count, GetItemCount() - index);
  const TSpellingPause pause(*this, index);
  for (int32_t i = index; i < index + count; ++i) FreeItemAt(i, false);
  FItems->erase(FItems->begin() + index, FItems->begin() + index + count);
}

void TCustomRPData::Clear() {
  const uint32_t savedClearing = FState & rpstClearing;
  FState |= rpstClearing;
  const TScopeExit restore([&] { FState = (FState & ~rpstClearing) | savedClearing; });
  const TSpellingPause pause(*this, 0);
  if (!ItemsShared()) {
    for (int32_t i = 0; i < GetItemCount(); ++i)
      if ((*FItems)[static_cast<size_t>(i)].Item) FreeItemAt(i, true);
    FItems->clear();
  }
  if (FNotAddedCP) {
    FNotAddedCP.reset();
    --FCPCount;
  }
  FFirstCP = FLastCP = nullptr;
}

// --- Joining text items --------------------------------------------------------------

bool TCustomRPData::CanMergeItems(int32_t i, bool force) const {
  if (i < 0 || i + 1 >= GetItemCount()) return false;
  const TCustomRPItemInfo& item = *GetItem(i);
  const TCustomRPItemInfo& next = *GetItem(i + 1);
  if (item.StyleNo < 0 || next.StyleNo < 0) return false;
  const bool continues = next.GetContinuesLine();
  if (GetItemTextRaw(i).empty() || GetItemTextRaw(i + 1).empty())
    return (force || continues) && !(item.Checkpoint && next.Checkpoint);  // never lose a checkpoint
  if (!force && !continues) return false;
  const IRPStyleSheet* sheet = GetRPStyle();
  const int32_t style = ResolveItemStyle(item);
  const bool unicode = sheet && sheet->IsTextStyleUnicode(style);
  const bool nextUnicode = sheet && sheet->IsTextStyleUnicode(ResolveItemStyle(next));
  return item.StyleNo == next.StyleNo && unicode == nextUnicode && item.Hint == next.Hint && item.Tag == next.Tag &&
         !next.Checkpoint && !(sheet && sheet->IsTextStyleMergeProtected(style));
}

void TCustomRPData::MergeItems(int32_t i) {
  const TSpellingPause pause(*this, i);
  TItemEntry& entry = (*FItems)[static_cast<size_t>(i)];
  TItemEntry& next = (*FItems)[static_cast<size_t>(i) + 1];
  if (entry.Text.empty() && !next.Text.empty()) {
    // The item with the text survives in the empty one's place, so that an empty item of
    // another style or stored form never reinterprets the text it would take.
    constexpr TRPItemOptions placeBits = rpioContinuesLine | rpioPageBreakBefore | rpioLineBreakBefore;
    next.Item->ItemOptions =
        static_cast<TRPItemOptions>((next.Item->ItemOptions & ~placeBits) | (entry.Item->ItemOptions & placeBits));
    next.Item->ParaNo = entry.Item->ParaNo;
    std::swap(entry, next);
  } else {
    entry.Text += next.Text;
  }
  // An empty item's checkpoint moves to the survivor rather than being lost.
  if (next.Item->Checkpoint && !entry.Item->Checkpoint) {
    entry.Item->Checkpoint = std::move(next.Item->Checkpoint);
    entry.Item->Checkpoint->ItemInfo = entry.Item.get();
  }
  FreeItem(std::move(next.Item), false);
  FItems->erase(FItems->begin() + i + 1);
  entry.Item->RemoveMisspellings();
}

void TCustomRPData::NormalizeItems(int32_t first, int32_t last) {
  first = std::max(first, 0);
  last = std::min(last, GetItemCount() - 1);
  for (int32_t i = last; i > first; --i) {
    NormalizeSubDocuments(i);
    if (CanMergeItems(i - 1, false)) MergeItems(i - 1);
  }
  if (first <= last) NormalizeSubDocuments(first);
}

void TCustomRPData::NormalizeSubDocuments(int32_t i) {
  ForEachSubDocument(*GetItem(i), [](TCustomRPData& sub) {
    sub.NormalizeItems(0, sub.GetItemCount() - 1);
    return true;
  });
}

// --- Styles in use -------------------------------------------------------------------

void TCustomRPData::MarkItemStylesInUse(TRPStyleUsage& usage) const {
  for (const TItemEntry& entry : *FItems) entry.Item->MarkStylesInUse(usage);
}

void TCustomRPData::RenumberItemStyles(const TRPStyleUsage& usage) {
  for (TItemEntry& entry : *FItems) entry.Item->RenumberStyles(usage);
}

// --- Plain text ----------------------------------------------------------------------

bool TCustomRPData::SaveTextToStream(const WideString& path, TStream& stream, int32_t lineWidth, bool selectionOnly,
                                     bool unicode, bool withByteOrderMark, bool pageBreaks) {
  try {
    int32_t startNo = -1, startOffs = 0, endNo = -1, endOffs = 0;
    if (!UseSelectionOnly(selectionOnly, startNo, startOffs, endNo, endOffs)) return true;
    AnsiString out;
    if (unicode && withByteOrderMark) out += WideToRawUnicode(u"\uFEFF");
    const uint32_t defaultCodePage = GetDefaultCodePage();
    const auto append = [&](AnsiStringView piece, bool pieceIsUnicode, uint32_t codePage) {
      if (pieceIsUnicode == unicode)
        out += piece;
      else
        out += unicode ? AnsiToRawUnicode(codePage, piece) : RawUnicodeToAnsi(defaultCodePage, piece);
    };
    const auto appendItem = [&](int32_t i) {
      AnsiString text;
      if (SaveItemToFile(path, *this, i, rpsfText, unicode, text)) {
        append(text, unicode, defaultCodePage);
        return;
      }
      bool pieceIsUnicode = false;
      const AnsiString piece = GetItem(i)->AsPlainText(lineWidth, this, pieceIsUnicode);
      append(piece, pieceIsUnicode, defaultCodePage);
    };
    // A selection that starts inside a list paragraph keeps the paragraph's marker.
    const int32_t paraStart = GetParaStartItem(startNo);
    if (selectionOnly && paraStart < startNo && GetItem(paraStart)->StyleNo == rpkindListMarker) appendItem(paraStart);
    for (int32_t i = startNo; i <= endNo; ++i) {
      if (i > startNo) {
        if (pageBreaks && GetItem(i)->GetPageBreakBefore())
          append("\f", false, defaultCodePage);
        else if (StartsNewLine(i))
          append("\r\n", false, defaultCodePage);
      }
      if (IsTextItem(i)) {
        // The selected characters of the items at the ends: offsets are 1-based positions
        // before characters.
        const TRPItemOptions options = GetItemOptions(i);
        const int32_t from = i == startNo ? startOffs : 1;
        const int32_t to = i == endNo ? endOffs : GetItemLength(i) + 1;
        const AnsiString text = CopyItemText(GetItemTextRaw(i), from, std::max(to - from, 0), options);
        append(text, GetItem(i)->IsUnicode(), GetStyleCodePage(GetItemStyle(i)));
      } else if ((i != startNo || startOffs == 0) && (i != endNo || endOffs == 1)) {
        appendItem(i);
      }
    }
    stream.WriteBuffer(out.data(), static_cast<int32_t>(out.size()));
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

// --- Exports -------------------------------------------------------------------------

void TCustomRPData::GetSelectionBounds(int32_t& startItemNo, int32_t& endItemNo, int32_t& startOffs, int32_t& endOffs,
                                       bool) const {
  startItemNo = GetItemCount() > 0 ? 0 : -1;
  endItemNo = GetItemCount() - 1;
  startOffs = startItemNo >= 0 ? GetItemStartOffset(startItemNo) : 0;
  endOffs = endItemNo >= 0 ? GetItemEndOffset(endItemNo) : 0;
}

bool TCustomRPData::UseSelectionOnly(bool selectionOnly, int32_t& startItemNo, int32_t& startOffs, int32_t& endItemNo,
                                     int32_t& endOffs) const {
  if (selectionOnly) {
    GetSelectionBounds(startItemNo, endItemNo, startOffs, endOffs, true);
  } else {
    TCustomRPData::GetSelectionBounds(startItemNo, endItemNo, startOffs, endOffs, true);
  }
  if (startItemNo < 0 || endItemNo < startItemNo || endItemNo >= GetItemCount()) return false;
  return startItemNo != endItemNo || startOffs < endOffs;
}

bool TCustomRPData::SaveItemToFile(const WideString& path, TCustomRPData& rpData, int32_t itemNo, TRPSaveFormat format,
                                   bool unicode, AnsiString& text) {
  TCustomRPData* root = GetAbsoluteRootData();
  return root != this && root->SaveItemToFile(path, rpData, itemNo, format, unicode, text);
}

AnsiString TCustomRPData::SaveComponentToFile(const WideString& path, TComponent* component, TRPSaveFormat format) {
  TCustomRPData* root = GetAbsoluteRootData();
  return root == this ? AnsiString() : root->SaveComponentToFile(path, component, format);
}

void TCustomRPData::WriteHyperlink(int32_t jumpNo, TCustomRPData& rpData, int32_t itemNo, TRPSaveFormat format,
                                   AnsiString& target, AnsiString& extra) {
  target.clear();
  extra.clear();
  TCustomRPData* root = GetAbsoluteRootData();
  if (root != this) root->WriteHyperlink(jumpNo, rpData, itemNo, format, target, extra);
}

WideString TCustomRPData::MakePictureFileName(const WideString& path, const WideString& imagesPrefix,
                                              const WideString& extension, int32_t& imgSaveNo, bool overwrite) {
  const WideString prefix =
      !imagesPrefix.empty() && imagesPrefix[0] == u'/' ? imagesPrefix : WideExtractFilePath(path) + imagesPrefix;
  for (;; ++imgSaveNo) {
    const WideString name = prefix + AnsiToWide(std::to_string(imgSaveNo)) + extension;
    const uint32_t attributes = GetFileAttributesW(name.c_str());
    const bool taken =
        attributes != INVALID_FILE_ATTRIBUTES && (!overwrite || (attributes & FILE_ATTRIBUTE_READONLY) != 0);
    if (!taken) return name;
  }
}

namespace {

// The file a picture of an HTML export becomes: a JPEG image, or a picture of a class
// kept for HTML, as it is; any other picture drawn on the background and made JPEG (a
// bitmap when it has no pixels, which JPEG cannot hold). Answers the file's extension.
AnsiString EncodeHtmlPicture(const TGraphic& graphic, TColor backColor, TMemoryStream& stream) {
  const bool asItIs = dynamic_cast<const TJPEGImage*>(&graphic) != nullptr || IsGraphicClassKeptForHTML(graphic);
  const bool asJpeg = !asItIs && graphic.Width() > 0 && graphic.Height() > 0;
  if (asItIs) {
    graphic.SaveToStream(stream);
  } else {
    // At the size its data admits (a metafile's stated size may be more than that).
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    const TSize size = RasterSizeOf(graphic);
    bitmap.SetSize(size.cx, size.cy);
    TCanvas& canvas = *bitmap.Canvas();
    canvas.Brush().SetColor(backColor == clNone ? clWhite : backColor);
    canvas.FillRect(TRect{0, 0, bitmap.Width(), bitmap.Height()});
    DrawAtRasterSize(canvas, graphic);
    if (asJpeg) {
      TJPEGImage jpeg;
      jpeg.Compress(bitmap, kPictureFileJpegQuality);
      jpeg.SaveToStream(stream);
    } else {
      bitmap.SaveToStream(stream);
    }
  }
  return asItIs ? AnsiString(graphic.ClassType()->DefaultExtension) : AnsiString(asJpeg ? "jpg" : "bmp");
}

}  // namespace

WideString TCustomRPData::SavePictureFile(const WideString& path, const WideString& imagesPrefix,
                                          const TGraphic& graphic, int32_t& imgSaveNo, bool overwrite,
                                          TColor backColor) {
  TMemoryStream stream;
  const AnsiString extension = EncodeHtmlPicture(graphic, backColor, stream);
  // Without a file to stand beside (a copy to the clipboard, a page written to a stream)
  // the picture goes into the page itself, so that nothing lands in the working folder
  // and the page's reader has it; a full prefix still names where files go.
  if (path.empty() && (imagesPrefix.empty() || imagesPrefix[0] != u'/')) {
    const auto* bytes = static_cast<const uint8_t*>(stream.Memory());
    return AnsiToWide(PictureDataUri(extension, {bytes, static_cast<size_t>(stream.Size())}));
  }
  const WideString fileName =
      MakePictureFileName(path, imagesPrefix, u"." + AnsiToWide(extension), imgSaveNo, overwrite);
  stream.SaveToFile(fileName);
  return WideExtractFilePath(imagesPrefix) + WideExtractFileName(fileName);
}

bool TCustomRPData::HostSavesPicture(TRPSaveFormat format, const WideString& path, const TGraphic& graphic,
                                     TColor backColor, WideString& fileName) {
  TCustomRPData* root = GetAbsoluteRootData();
  return root != this && root->HostSavesPicture(format, path, graphic, backColor, fileName);
}

AnsiString TCustomRPData::SaveRTFExtra(TRPRTFSaveArea area, TObject* object, int32_t row, int32_t col,
                                       bool inStyleSheet) {
  TCustomRPData* root = GetAbsoluteRootData();
  return root == this ? AnsiString() : root->SaveRTFExtra(area, object, row, col, inStyleSheet);
}

AnsiString TCustomRPData::SaveHTMLExtra(TRPHTMLSaveArea area, bool cssVersion) {
  TCustomRPData* root = GetAbsoluteRootData();
  return root == this ? AnsiString() : root->SaveHTMLExtra(area, cssVersion);
}

AnsiString TCustomRPData::SaveParaToHTML(TCustomRPData& rpData, int32_t itemNo, bool paraStart, bool cssVersion) {
  TCustomRPData* root = GetAbsoluteRootData();
  return root == this ? AnsiString() : root->SaveParaToHTML(rpData, itemNo, paraStart, cssVersion);
}

bool TCustomRPData::HTMLSaveImage(TCustomRPData& rpData, int32_t itemNo, const WideString& path, TColor backColor,
                                  AnsiString& location) {
  TCustomRPData* root = GetAbsoluteRootData();
  return root == this || root->HTMLSaveImage(rpData, itemNo, path, backColor, location);
}

WideString TCustomRPData::SavePictureForExport(TRPSaveFormat format, const WideString& path,
                                               const WideString& imagesPrefix, const TGraphic& graphic,
                                               int32_t& imgSaveNo, bool overwrite, TColor backColor) {
  WideString fileName;
  if (HostSavesPicture(format, path, graphic, backColor, fileName)) return fileName;
  // The pictures of a cell's document are saved as the whole document's are.
  return GetAbsoluteRootData()->SavePictureFile(path, imagesPrefix, graphic, imgSaveNo, overwrite, backColor);
}

bool TCustomRPData::InsertFirstImportedItem(int32_t& index, AnsiString text, std::unique_ptr<TCustomRPItemInfo> item,
                                            bool& joined) {
  joined = false;
  index = std::clamp(index, 0, GetItemCount());
  InsertItem(index, std::move(text), std::move(item));
  ++index;
  return true;
}

bool TCustomRPData::HasProgressHandler() {
  TCustomRPData* root = GetAbsoluteRootData();
  return root != this && root->HasProgressHandler();
}

void TCustomRPData::ReportProgress(TRPLongOperation operation, TRPProgressStage stage, int32_t percentDone) {
  TCustomRPData* root = GetAbsoluteRootData();
  if (root != this) root->ReportProgress(operation, stage, percentDone);
}

AnsiString TCustomRPData::GetURL(int32_t id) {
  TCustomRPData* root = GetAbsoluteRootData();
  return root == this ? AnsiString() : root->GetURL(id);
}

std::unique_ptr<TGraphic> TCustomRPData::ImportPicture(const AnsiString& location) {
  TCustomRPData* root = GetAbsoluteRootData();
  return root == this ? nullptr : root->ImportPicture(location);
}

void TCustomRPData::ReadHyperlink(const AnsiString& target, const AnsiString& extras, TRPLoadFormat format,
                                  int32_t& styleNo, TRPTag& tag, AnsiString& itemName) {
  TCustomRPData* root = GetAbsoluteRootData();
  if (root != this) root->ReadHyperlink(target, extras, format, styleNo, tag, itemName);
}
