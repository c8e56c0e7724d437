#include "richtext/model/RPItemInfo.h"

#include <array>
#include <cstdint>
#include <vector>

#include "platform/base/Format.h"
#include "platform/base/Numbers.h"
#include "platform/base/TextUtils.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPFontInfo.h"
#include "richtext/model/RPItemStreaming.h"
#include "richtext/model/RPStyleSheetQueries.h"

namespace {

// Property names by code (index 0: the unknown code).
constexpr std::array<AnsiStringView, 15> IntPropertyNames = {
    "",           "vshift",    "vshiftabs",       "width",   "height",    "transparent",
    "tmode",      "tcolor",    "minheightonpage", "spacing", "resizable", "unremovable",
    "nohtmlsize", "ainterval", "visible"};
constexpr std::array<AnsiStringView, 4> StrPropertyNames = {"", "hint", "alt", "filename"};

template <size_t N>
AnsiStringView NameOf(const std::array<AnsiStringView, N>& names, int32_t code) {
  return code > 0 && static_cast<size_t>(code) < N ? names[static_cast<size_t>(code)] : AnsiStringView();
}

template <size_t N>
int32_t CodeOf(const std::array<AnsiStringView, N>& names, AnsiStringView name) {
  for (size_t code = 1; code < N; ++code)
    if (names[code] == name) return static_cast<int32_t>(code);
  return 0;
}

struct TItemTypeRecord {
  int32_t StyleNo;
  TRPItemClass ItemClass;
};

// The registered kinds, in registration order.
std::vector<TItemTypeRecord>& ItemTypeRegistry() {
  static std::vector<TItemTypeRecord> registry;
  return registry;
}

constexpr std::array<int32_t, 8> BuiltInKinds = {rpkindBreak,  rpkindPicture,    rpkindHotspot,    rpkindControl,
                                                 rpkindBullet, rpkindHotPicture, rpkindListMarker, rpkindTab};

std::array<TRPItemClass, BuiltInKinds.size()>& BuiltInClasses() {
  static std::array<TRPItemClass, BuiltInKinds.size()> classes{};
  return classes;
}

int32_t BuiltInSlot(int32_t styleNo) {
  for (size_t i = 0; i < BuiltInKinds.size(); ++i)
    if (BuiltInKinds[i] == styleNo) return static_cast<int32_t>(i);
  return -1;
}

TRPItemClass& TextItemClass() {
  static TRPItemClass textClass = nullptr;
  return textClass;
}

}  // namespace

AnsiStringView RPIntPropertyName(int32_t code) { return NameOf(IntPropertyNames, code); }
AnsiStringView RPStrPropertyName(int32_t code) { return NameOf(StrPropertyNames, code); }
int32_t RPIntPropertyCode(AnsiStringView name) { return CodeOf(IntPropertyNames, name); }
int32_t RPStrPropertyCode(AnsiStringView name) { return CodeOf(StrPropertyNames, name); }

AnsiString GetHTMLAlign(TRPVAlign vAlign, uint32_t htmlOptions) {
  static constexpr const char* Names[] = {"", "middle", "abstop", "absbottom", "absmiddle"};
  const size_t index = static_cast<size_t>(vAlign);
  if (index == 0 || index >= std::size(Names)) return {};
  const AnsiString value = Names[index];
  return " align=" + ((htmlOptions & rphtmlQuotedAttributes) ? "\"" + value + "\"" : value);
}

void WriteRPFIntPropertyLine(TStream& stream, int32_t code, int32_t value) {
  RPFWriteLine(stream, AnsiString(RPIntPropertyName(code)) + "=" + std::to_string(value));
}

void WriteRPFStrPropertyLine(TStream& stream, int32_t code, const AnsiString& value) {
  RPFWriteLine(stream, AnsiString(RPStrPropertyName(code)) + "=" + value);
}

// --- TCustomRPItemInfo ---------------------------------------------------------------

TCustomRPItemInfo::TCustomRPItemInfo(TCustomRPData*) {}

TCustomRPItemInfo::~TCustomRPItemInfo() = default;

int32_t TCustomRPItemInfo::GetMinWidth(const TRPResolution* resolution, TCanvas*, TCustomRPData*) const {
  constexpr int32_t MinWidthPx = 20;
  return resolution ? ScreenToDeviceX(MinWidthPx, *resolution) : MinWidthPx;
}

bool TCustomRPItemInfo::GetBoolValue(TRPItemBoolQuery query) const {
  switch (query) {
    case rpibqHasContent:
    case rpibqRPFBody:
      return true;
    default:
      return query >= rpibqSwitchesTextStyle;
  }
}

bool TCustomRPItemInfo::GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet*) const {
  return query == rpibqxPrintAsBitmap;
}

void TCustomRPItemInfo::Inserting(TCustomRPData* rpData, AnsiString& text, bool) {
  if (rpData) rpData->ItemAction(rpiaInserting, this, text);
}

void TCustomRPItemInfo::Inserted(TCustomRPData* rpData, int32_t) {
  UpdateAnimator(rpData);
  if (rpData) {
    AnsiString empty;
    rpData->ItemAction(rpiaInserted, this, empty);
  }
}

void TCustomRPItemInfo::GetRPFHeaderExtra(TCustomRPData*, AnsiString& s) const { s.clear(); }

bool TCustomRPItemInfo::ReadRPFHeaderExtra(AnsiStringView&, IRPFStreaming&) { return true; }

bool TCustomRPItemInfo::ReadRPFLine(const AnsiString& s, IRPFStreaming&, TRPFBodyMode, int32_t, int32_t, AnsiString&,
                                    TRPFLineMode&, TRPFReadState&) {
  ReadRPFPropertyLine(s);
  return true;
}

void TCustomRPItemInfo::SaveRPF(TStream&, IRPFStreaming&, int32_t, int32_t, const AnsiString&,
                                const TRPMultiDrawItemPart*, bool) const {}

int32_t TCustomRPItemInfo::GetHyperlinkCursor(const IRPStyleSheet* rpStyle) const {
  return rpStyle ? rpStyle->GetJumpCursor() : crJump;
}

int32_t TCustomRPItemInfo::GetRPFPropertyCount() const { return Hint.empty() ? 0 : 1; }

void TCustomRPItemInfo::SaveRPFProperties(TStream& stream) const {
  if (!Hint.empty()) WriteRPFStrPropertyLine(stream, rpspHint, Hint);
}

void TCustomRPItemInfo::ReadRPFPropertyLine(AnsiStringView s) {
  const size_t equals = s.find('=');
  if (equals == AnsiStringView::npos) return;
  const AnsiString name(s.substr(0, equals));
  const AnsiString value(s.substr(equals + 1));
  if (const int32_t code = RPIntPropertyCode(name)) {
    SetIntProperty(code, StrToIntDef(value, 0));
  } else if (const int32_t strCode = RPStrPropertyCode(name)) {
    SetStrProperty(strCode, value);
  } else {
    SetCustomProperty(name, value);
  }
}

AnsiString TCustomRPItemInfo::AsPlainText(int32_t, TCustomRPData*, bool& textIsUnicode) const {
  textIsUnicode = false;
  return {};
}

void TCustomRPItemInfo::CopyPropertiesFrom(const TCustomRPItemInfo& source) {
  StyleNo = source.StyleNo;
  ParaNo = source.ParaNo;
  ItemOptions = source.ItemOptions;
  Hint = source.Hint;
}

void TCustomRPItemInfo::ApplyStyleConversion(TCustomRPData*, int32_t, int32_t userData, int32_t mode) {
  ApplyStyleConversionToSubRPData(userData, mode);
}

void TCustomRPItemInfo::MarkStylesInUse(TRPStyleUsage& usage) const {
  if (ParaNo >= 0 && ParaNo < usage.ParaStyles.Count()) usage.ParaStyles.SetItem(ParaNo, 1);
}

void TCustomRPItemInfo::RenumberStyles(const TRPStyleUsage& usage) {
  if (ParaNo >= 0 && ParaNo < usage.ParaStyles.Count()) ParaNo = ParaNo + 1 - usage.ParaStyles[ParaNo];
}

bool TCustomRPItemInfo::SetStrProperty(int32_t code, const AnsiString& value) {
  if (code != rpspHint) return false;
  Hint = value;
  return true;
}

bool TCustomRPItemInfo::GetStrProperty(int32_t code, AnsiString& value) const {
  if (code != rpspHint) return false;
  value = Hint;
  return true;
}

TCustomRPData* TCustomRPItemInfo::GetSubRPData(std::unique_ptr<TRPStoreSubRPData>& location, TRPSubRPDataPosition) {
  location.reset();
  return nullptr;
}

void TCustomRPItemInfo::MovingToUndoList(int32_t itemNo, TCustomRPData* rpData) {
  if (rpData) {
    AnsiString text = rpData->GetItemTextRaw(itemNo);
    rpData->ItemAction(rpiaMovingToUndoList, this, text);
  }
  ResetSpellCheck(0);
}

void TCustomRPItemInfo::SetContinuesLine(bool value) {
  ItemOptions = value ? SetContinuesLineInOptions(ItemOptions, true) : ItemOptions & ~rpioContinuesLine;
}

void TCustomRPItemInfo::SetPageBreakBefore(bool value) {
  if (value)
    ItemOptions = (ItemOptions & ~(rpioContinuesLine | rpioLineBreakBefore)) | rpioPageBreakBefore;
  else
    ItemOptions &= ~rpioPageBreakBefore;
}

void TCustomRPItemInfo::SetLineBreakBefore(bool value) {
  if (!value || GetBoolValue(rpibqWholeLine))
    ItemOptions &= ~rpioLineBreakBefore;
  else
    ItemOptions = (ItemOptions & ~rpioContinuesLine) | rpioLineBreakBefore;
}

int32_t TCustomRPItemInfo::ResolveStyleNo(const IRPStyleSheet* rpStyle) const {
  return ResolveTextStyleNo(StyleNo, ParaNo, rpStyle);
}

int32_t ResolveTextStyleNo(int32_t styleNo, int32_t paraNo, const IRPStyleSheet* rpStyle) {
  if (styleNo != rpDefaultTextStyle) return styleNo;
  const int32_t defStyleNo = rpStyle ? rpStyle->GetParaDefStyleNo(paraNo) : 0;
  return defStyleNo < 0 ? 0 : defStyleNo;
}

TRPItemOptions SetContinuesLineInOptions(TRPItemOptions options, bool flag) {
  return flag
             ? static_cast<TRPItemOptions>((options & ~(rpioPageBreakBefore | rpioLineBreakBefore)) | rpioContinuesLine)
             : options;
}

// --- Live-spelling painters ----------------------------------------------------------

void TCustomRPItemInfo::FreeEmptyWordPainters() {
  if (WordPainters && WordPainters->Count() == 0) WordPainters.reset();
}

void TCustomRPItemInfo::AddMisspelling(int32_t startOffs, int32_t length) {
  if (!WordPainters) WordPainters = std::make_unique<TRPWordPainterList>();
  WordPainters->Add(std::make_unique<TRPWordMisspellPainter>(startOffs, length));
}

void TCustomRPItemInfo::RemoveMisspellings() {
  ItemState &= ~rpisSpellChecked;
  if (!WordPainters) return;
  for (int32_t i = WordPainters->Count() - 1; i >= 0; --i)
    if (WordPainters->Items(i)->IsMisspelling()) WordPainters->Delete(i);
  FreeEmptyWordPainters();
}

void TCustomRPItemInfo::ResetSpellCheck(int32_t offset) {
  ItemState &= ~rpisSpellChecked;
  if (!WordPainters) return;
  if (offset <= 1) {
    WordPainters.reset();
    return;
  }
  for (int32_t i = WordPainters->Count() - 1; i >= 0; --i) {
    const TRPWordPainter* painter = WordPainters->Items(i);
    if (painter->StartOffs + painter->Length > offset) WordPainters->Delete(i);
  }
  FreeEmptyWordPainters();
}

bool TCustomRPItemInfo::AdjustWordPaintersForInsert(int32_t offset, WideChar ch, TCustomRPData* rpData) {
  const bool delimiter = rpData && rpData->IsDelimiterW(ch);
  const int32_t d = delimiter ? 0 : 1;
  bool touched = delimiter;
  if (!WordPainters) return touched;
  for (int32_t i = WordPainters->Count() - 1; i >= 0; --i) {
    TRPWordPainter* painter = WordPainters->Items(i);
    if (offset < painter->StartOffs + painter->Length + d) {
      if (painter->StartOffs < offset + d) {
        WordPainters->Delete(i);
        touched = true;
      } else {
        ++painter->StartOffs;
      }
    }
  }
  FreeEmptyWordPainters();
  return touched;
}

bool TCustomRPItemInfo::AdjustWordPaintersForDelete(int32_t offset, int32_t count) {
  bool touched = false;
  if (!WordPainters) return touched;
  for (int32_t i = WordPainters->Count() - 1; i >= 0; --i) {
    TRPWordPainter* painter = WordPainters->Items(i);
    if (offset + count - 1 < painter->StartOffs + painter->Length + 1) {
      if (offset + 1 < painter->StartOffs) {
        painter->StartOffs -= count;
      } else {
        WordPainters->Delete(i);
        touched = true;
      }
    }
  }
  FreeEmptyWordPainters();
  return touched;
}

bool TCustomRPItemInfo::FindWordPainterAt(int32_t offset, int32_t& start, int32_t& length) const {
  if (!WordPainters) return false;
  for (int32_t i = WordPainters->Count() - 1; i >= 0; --i) {
    const TRPWordPainter* painter = WordPainters->Items(i);
    if (painter->StartOffs <= offset && offset <= painter->StartOffs + painter->Length) {
      start = painter->StartOffs;
      length = painter->Length;
      return true;
    }
  }
  return false;
}

bool TCustomRPItemInfo::IsInPaintedWord(int32_t offset) const {
  if (!WordPainters) return false;
  for (int32_t i = 0; i < WordPainters->Count(); ++i) {
    const TRPWordPainter* painter = WordPainters->Items(i);
    if (painter->StartOffs <= offset && offset < painter->StartOffs + painter->Length) return true;
  }
  return false;
}

// --- TRPNonTextItemInfo, TRPFullLineItemInfo, TRPRectItemInfo ------------------------

void TRPNonTextItemInfo::CopyPropertiesFrom(const TCustomRPItemInfo& source) {
  if (auto* nonText = dynamic_cast<const TRPNonTextItemInfo*>(&source)) Unremovable = nonText->Unremovable;
  TCustomRPItemInfo::CopyPropertiesFrom(source);
}

int32_t TRPNonTextItemInfo::GetRPFPropertyCount() const {
  return TCustomRPItemInfo::GetRPFPropertyCount() + (Unremovable ? 1 : 0);
}

void TRPNonTextItemInfo::SaveRPFProperties(TStream& stream) const {
  TCustomRPItemInfo::SaveRPFProperties(stream);
  if (Unremovable) WriteRPFIntPropertyLine(stream, rpipUnremovable, 1);
}

bool TRPNonTextItemInfo::SetIntProperty(int32_t code, int32_t value) {
  if (code != rpipUnremovable) return TCustomRPItemInfo::SetIntProperty(code, value);
  Unremovable = value != 0;
  return true;
}

bool TRPNonTextItemInfo::GetIntProperty(int32_t code, int32_t& value) const {
  if (code != rpipUnremovable) return TCustomRPItemInfo::GetIntProperty(code, value);
  value = Unremovable ? 1 : 0;
  return true;
}

bool TRPFullLineItemInfo::GetBoolValue(TRPItemBoolQuery query) const {
  return query == rpibqWholeLine || TRPNonTextItemInfo::GetBoolValue(query);
}

void TRPRectItemInfo::CopyPropertiesFrom(const TCustomRPItemInfo& source) {
  if (auto* rect = dynamic_cast<const TRPRectItemInfo*>(&source)) {
    MinHeightOnPage = rect->MinHeightOnPage;
    VAlign = rect->VAlign;
    VShift = rect->VShift;
    VShiftAbs = rect->VShiftAbs;
    Spacing = rect->Spacing;
  }
  TRPNonTextItemInfo::CopyPropertiesFrom(source);
}

void TRPRectItemInfo::GetRPFHeaderExtra(TCustomRPData*, AnsiString& s) const { s = std::to_string(VAlign); }

bool TRPRectItemInfo::ReadRPFHeaderExtra(AnsiStringView& rest, IRPFStreaming&) {
  AnsiStringView at = rest;
  RPFSkipBlanks(at);
  if (at.empty() || at[0] == '\0' || at[0] == '\r' || at[0] == '\n') {
    VAlign = rpvaBaseline;
    return true;
  }
  int32_t value = 0;
  if (!RPFReadInteger(at, value)) return false;
  VAlign = static_cast<TRPVAlign>(value);
  rest = at;
  return true;
}

AnsiString TRPRectItemInfo::GetVShiftCSS(const IRPStyleSheet* rpStyle) const {
  const int32_t height = GetImageHeight(rpStyle);
  if (VShift == 0 || height == 0 || VAlign != rpvaBaseline) return {};
  return "vertical-align : " + std::to_string(VShiftAbs ? VShift : MulDiv(height, VShift, 100));
}

int32_t TRPRectItemInfo::GetRPFPropertyCount() const {
  return TRPNonTextItemInfo::GetRPFPropertyCount() + (VShift != 0 ? 1 : 0) + (VShiftAbs ? 1 : 0) +
         (Spacing != 1 ? 1 : 0);
}

void TRPRectItemInfo::SaveRPFProperties(TStream& stream) const {
  TRPNonTextItemInfo::SaveRPFProperties(stream);
  if (VShift != 0) WriteRPFIntPropertyLine(stream, rpipVShift, VShift);
  if (VShiftAbs) WriteRPFIntPropertyLine(stream, rpipVShiftAbs, 1);
  if (Spacing != 1) WriteRPFIntPropertyLine(stream, rpipSpacing, Spacing);
}

bool TRPRectItemInfo::SetIntProperty(int32_t code, int32_t value) {
  switch (code) {
    case rpipVShift:
      VShift = value;
      return true;
    case rpipVShiftAbs:
      VShiftAbs = value != 0;
      return true;
    case rpipSpacing:
      Spacing = value < 0 ? 0 : value;
      return true;
    default:
      return TRPNonTextItemInfo::SetIntProperty(code, value);
  }
}

bool TRPRectItemInfo::GetIntProperty(int32_t code, int32_t& value) const {
  switch (code) {
    case rpipVShift:
      value = VShift;
      return true;
    case rpipVShiftAbs:
      value = VShiftAbs ? 1 : 0;
      return true;
    case rpipSpacing:
      value = Spacing;
      return true;
    default:
      return TRPNonTextItemInfo::GetIntProperty(code, value);
  }
}

// --- Registry ------------------------------------------------------------------------

void RegisterItemClass(int32_t styleNo, TRPItemClass itemClass) {
  if (styleNo >= -9) throw ERichPaneError(errRPRegisterItemType);
  auto& registry = ItemTypeRegistry();
  for (const TItemTypeRecord& record : registry) {
    if (record.StyleNo != styleNo) continue;
    if (record.ItemClass != itemClass) throw ERichPaneError(errRPRegisterItemType);
    return;
  }
  registry.push_back({styleNo, itemClass});
}

void SetBuiltInItemClass(int32_t styleNo, TRPItemClass itemClass) {
  const int32_t slot = BuiltInSlot(styleNo);
  if (slot < 0) throw ERichPaneError(errRPRegisterItemType);
  BuiltInClasses()[static_cast<size_t>(slot)] = itemClass;
}

TRPItemClass GetBuiltInItemClass(int32_t styleNo) {
  const int32_t slot = BuiltInSlot(styleNo);
  return slot < 0 ? nullptr : BuiltInClasses()[static_cast<size_t>(slot)];
}

void SetTextItemClass(TRPItemClass itemClass) { TextItemClass() = itemClass; }

TRPItemClass GetTextItemClass() { return TextItemClass(); }

std::unique_ptr<TCustomRPItemInfo> CreateItemByStyleNo(int32_t styleNo, TCustomRPData* rpData) {
  TRPItemClass itemClass = nullptr;
  if (styleNo >= 0) {
    itemClass = TextItemClass();
  } else if (BuiltInSlot(styleNo) >= 0) {
    itemClass = GetBuiltInItemClass(styleNo);
  } else {
    for (const TItemTypeRecord& record : ItemTypeRegistry())
      if (record.StyleNo == styleNo) {
        itemClass = record.ItemClass;
        break;
      }
  }
  if (!itemClass) return nullptr;
  std::unique_ptr<TCustomRPItemInfo> item = itemClass->Create(rpData);
  item->StyleNo = styleNo;
  return item;
}

std::unique_ptr<TCustomRPItemInfo> CreateItemCopy(const TCustomRPItemInfo& source, TCustomRPData* rpData,
                                                  bool copyCheckpoint) {
  std::unique_ptr<TCustomRPItemInfo> item = source.ItemClass()->Create(rpData);
  item->StyleNo = source.StyleNo;
  item->CopyPropertiesFrom(source);
  if (copyCheckpoint && source.Checkpoint) {
    item->Checkpoint = source.Checkpoint->CreateCopy();
    item->Checkpoint->ItemInfo = item.get();
  }
  item->Tag = source.Tag;
  return item;
}
