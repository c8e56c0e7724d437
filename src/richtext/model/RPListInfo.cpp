#include "richtext/model/RPListInfo.h"

#include <algorithm>
#include <cstring>

#include "platform/base/Format.h"
#include "platform/base/Random.h"
#include "platform/base/TextUtils.h"
#include "richtext/model/RPGraphicHelpers.h"
#include "richtext/model/RPHtmlHelpers.h"
#include "richtext/model/RPPictureItems.h"

namespace {

void WriteText(TStream& stream, const AnsiString& text) {
  stream.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
}

// The bytes a graphic saves.
AnsiString SavedBytes(const TGraphic& graphic) {
  TMemoryStream stream;
  graphic.SaveToStream(stream);
  return AnsiString(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

bool SamePicture(const TGraphic* a, const TGraphic* b) {
  const bool emptyA = !a || a->Empty(), emptyB = !b || b->Empty();
  if (emptyA || emptyB) return emptyA && emptyB;
  return a->ClassType() == b->ClassType() && a->Width() == b->Width() && a->Height() == b->Height() &&
         SavedBytes(*a) == SavedBytes(*b);
}

bool SameFont(const TRPMarkerFont* a, const TRPMarkerFont* b) {
  const bool defaultA = !a || a->HasDefaultLook(), defaultB = !b || b->HasDefaultLook();
  if (defaultA && defaultB) return true;
  return a && b && a->Height() == b->Height() && a->Style() == b->Style() && a->Color() == b->Color() &&
         a->Charset() == b->Charset() && SameText(a->Name(), b->Name());
}

constexpr const char* ListTypeNames[RPListTypeCount] = {
    "bullet",   "pic",      "image-list",         "1,2,3",         "a,b,c", "A,B,C",
    "i,ii,iii", "I,II,III", "image-list counter", "unicode bullet"};

}  // namespace

// --- Marker font ------------------------------------------------------------------------

TRPMarkerFont::TRPMarkerFont() {
  SetName("Arial");
  SetSize(8);
  // The class library's fonts start in the window text colour.
  SetColor(clWindowText);
}

void TRPMarkerFont::Assign(const TPersistent& source) {
  if (const auto* font = dynamic_cast<const TRPMarkerFont*>(&source)) {
    TFont::Assign(*font);
    return;
  }
  TPersistent::Assign(source);
}

bool TRPMarkerFont::HasDefaultLook() const {
  return Size() == 8 && Color() == clWindowText && Charset() == DEFAULT_CHARSET && Style() == TFontStyles{} &&
         SameText(Name(), "Arial");
}

// --- Level ------------------------------------------------------------------------------

TRPListLevel::TRPListLevel(TCollection* collection) : TCollectionItem(collection) {}

TRPListLevel::~TRPListLevel() = default;

void TRPListLevel::SetPicture(const TGraphic* picture) {
  if (!picture || picture->Empty()) {
    FPicture.reset();
    return;
  }
  if (picture == FPicture.get()) return;
  FPicture = CopyRPGraphic(*picture);
  FPicture->SetTransparent(true);
}

TRPMarkerFont& TRPListLevel::GetFont() {
  if (!FFont) FFont = std::make_unique<TRPMarkerFont>();
  return *FFont;
}

void TRPListLevel::SetFont(const TFont* font) {
  if (!font) {
    FFont.reset();
    return;
  }
  if (font == FFont.get()) return;
  GetFont().Assign(*font);
}

bool TRPListLevel::HasTextMarker() const {
  return ListType == rplstBullet || (ListType >= rplstDecimal && ListType <= rplstUpperRoman) ||
         ListType == rplstUnicodeBullet;
}

bool TRPListLevel::HasNumbering() const { return ListType >= rplstDecimal && ListType <= rplstImageListCounter; }

bool TRPListLevel::HasTextNumbering() const { return ListType >= rplstDecimal && ListType <= rplstUpperRoman; }

AnsiString TRPListLevel::GetIndentCSS() const {
  const int32_t m = MarkerIndent, l = LeftIndent;
  if (m < l) return Format("text-indent: %dpx; padding-left: %dpx; margin-left: %dpx;", {m - l, l - m, m});
  return Format("text-indent: %dpx; margin-left: %dpx;", {m - l, l});
}

const TRPListLevel* TRPListLevel::PreviousLevel() const {
  const int32_t index = Index();
  if (index <= 0) return nullptr;
  return static_cast<const TRPListLevel*>(Collection()->Items(index - 1));
}

void TRPListLevel::HTMLOpenTag(TStream& stream, bool useCss, uint32_t htmlOptions) const {
  AnsiString styleAttribute;
  if (useCss) {
    const TRPListLevel* previous = PreviousLevel();
    const int32_t p = previous ? previous->LeftIndent : 0;
    const AnsiString css = MarkerIndent < LeftIndent
                               ? Format("text-indent: %dpx; margin-left: %dpx; list-style-position: outside;",
                                        {FirstIndent, LeftIndent - p})
                               : Format("text-indent: %dpx; margin-left: %dpx; list-style-position: inside;",
                                        {MarkerIndent - LeftIndent, LeftIndent - p});
    styleAttribute = " style=\"" + css + "\"";
  }
  if (HasNumbering()) {
    AnsiString type;
    switch (ListType) {
      case rplstLowerAlpha:
        type = " type=" + QuoteHtmlValue("a", htmlOptions);
        break;
      case rplstUpperAlpha:
        type = " type=" + QuoteHtmlValue("A", htmlOptions);
        break;
      case rplstLowerRoman:
        type = " type=" + QuoteHtmlValue("i", htmlOptions);
        break;
      case rplstUpperRoman:
        type = " type=" + QuoteHtmlValue("I", htmlOptions);
        break;
      default:
        break;
    }
    WriteText(stream, "<ol" + type + styleAttribute + ">");
  } else {
    WriteText(stream, "<ul" + styleAttribute + ">");
  }
}

void TRPListLevel::HTMLCloseTag(TStream& stream) const { WriteText(stream, HasNumbering() ? "</ol>" : "</ul>"); }

AnsiString TRPListLevel::DisplayName() const {
  return Format("%s %d/%d/%d", {ListTypeNames[ListType], LeftIndent, MarkerIndent, FirstIndent});
}

void TRPListLevel::Assign(const TPersistent& source) {
  const auto* level = dynamic_cast<const TRPListLevel*>(&source);
  if (!level) return TCollectionItem::Assign(source);
  if (level == this) return;
  ListType = level->ListType;
  StartFrom = level->StartFrom;
  ImageList = level->ImageList;
  ImageIndex = level->ImageIndex;
  FormatString = level->FormatString;
  FormatStringW = level->FormatStringW;
  LeftIndent = level->LeftIndent;
  FirstIndent = level->FirstIndent;
  MarkerIndent = level->MarkerIndent;
  MarkerAlignment = level->MarkerAlignment;
  Options = level->Options;
  SetPicture(level->GetPicture());
  SetFont(level->FindFont());
}

bool TRPListLevel::IsSimpleEqual(const TRPListLevel& value) const {
  return ListType == value.ListType && StartFrom == value.StartFrom && ImageList == value.ImageList &&
         ImageIndex == value.ImageIndex && FormatString == value.FormatString && FormatStringW == value.FormatStringW &&
         LeftIndent == value.LeftIndent && FirstIndent == value.FirstIndent && MarkerIndent == value.MarkerIndent &&
         MarkerAlignment == value.MarkerAlignment && SameFont(FindFont(), value.FindFont()) &&
         Options == value.Options && SamePicture(GetPicture(), value.GetPicture());
}

int32_t TRPListLevel::SimilarityValue(const TRPListLevel& value) const {
  int32_t result = 0;
  if (ListType == value.ListType) result += 5000;
  if (FirstIndent == value.FirstIndent) result += 200;
  const bool sameOthers[] = {StartFrom == value.StartFrom,
                             ImageList == value.ImageList,
                             ImageIndex == value.ImageIndex,
                             FormatString == value.FormatString,
                             FormatStringW == value.FormatStringW,
                             LeftIndent == value.LeftIndent,
                             MarkerIndent == value.MarkerIndent,
                             MarkerAlignment == value.MarkerAlignment,
                             Options == value.Options,
                             SameFont(FindFont(), value.FindFont()),
                             SamePicture(GetPicture(), value.GetPicture())};
  for (bool same : sameOthers)
    if (same) result += 100;
  return result;
}

TRPListLevelCollection::TRPListLevelCollection(TPersistent* owner)
    : TOwnedCollection(owner, CollectionItemClassOf<TRPListLevel>()) {}

// --- List style ---------------------------------------------------------------------------

TRPListInfo::TRPListInfo(TCollection* collection)
    : TCustomRPInfo(collection), FLevels(std::make_unique<TRPListLevelCollection>(this)) {
  StyleName = "List Style";
}

TRPListInfo::~TRPListInfo() = default;

void TRPListInfo::SetLevels(const TRPListLevelCollection& levels) {
  if (&levels != FLevels.get()) FLevels->Assign(levels);
}

int32_t TRPListInfo::GetListID() const {
  while (FListID == 0) FListID = Random(0x7FFFFFFF);
  return FListID;
}

bool TRPListInfo::HasNumbering() const {
  for (int32_t i = 0; i < FLevels->Count(); ++i)
    if (FLevels->Items(i)->HasNumbering()) return true;
  return false;
}

bool TRPListInfo::HasTextNumbering() const {
  for (int32_t i = 0; i < FLevels->Count(); ++i)
    if (FLevels->Items(i)->HasTextNumbering()) return true;
  return false;
}

void TRPListInfo::Assign(const TPersistent& source) {
  if (const auto* list = dynamic_cast<const TRPListInfo*>(&source)) {
    OneLevelPreview = list->OneLevelPreview;
    SetLevels(list->Levels());
  }
  TCustomRPInfo::Assign(source);
}

std::unique_ptr<TCustomRPInfo> TRPListInfo::CloneDetached() const {
  auto copy = std::make_unique<TRPListInfo>(nullptr);
  copy->Assign(*this);
  copy->SetListID(FListID);
  return copy;
}

void TRPListInfo::RestoreFrom(const TCustomRPInfo& backup) {
  Assign(backup);
  if (const auto* list = dynamic_cast<const TRPListInfo*>(&backup)) FListID = list->FListID;
}

void TRPListInfo::AssignMerged(const TCustomRPInfo& source) {
  Assign(source);
  if (const auto* list = dynamic_cast<const TRPListInfo*>(&source)) FListID = list->GetListID();
}

bool TRPListInfo::IsSimpleEqual(const TCustomRPInfo& value, bool, bool ignoreId) const {
  const auto* list = dynamic_cast<const TRPListInfo*>(&value);
  if (!list || OneLevelPreview != list->OneLevelPreview || FLevels->Count() != list->FLevels->Count()) return false;
  if (!ignoreId && GetListID() != list->GetListID()) return false;
  for (int32_t i = 0; i < FLevels->Count(); ++i)
    if (!FLevels->Items(i)->IsSimpleEqual(*list->FLevels->Items(i))) return false;
  return true;
}

bool TRPListInfo::IsSimpleEqualEx(TCustomRPInfo& value, const TRPIntegerList&) const {
  return IsSimpleEqual(value, true, false);
}

int32_t TRPListInfo::SimilarityValue(const TCustomRPInfo& value) const {
  const auto* list = dynamic_cast<const TRPListInfo*>(&value);
  if (!list) return 0;
  int32_t result = 0;
  if (GetListID() == list->GetListID()) result += 50;
  if (OneLevelPreview == list->OneLevelPreview) result += 100;
  const int32_t both = std::min(FLevels->Count(), list->FLevels->Count());
  for (int32_t i = 0; i < both; ++i) result += FLevels->Items(i)->SimilarityValue(*list->FLevels->Items(i));
  return result - 100 * std::abs(FLevels->Count() - list->FLevels->Count());
}

// --- Collection ---------------------------------------------------------------------------

TRPListInfos::TRPListInfos(TPersistent* owner, TRPListInfoClass itemClass)
    : TCustomRPInfos(owner, [itemClass](TCollection& collection) -> TCollectionItem* {
        // The style joined the collection, which frees it from now on.
        return itemClass(&collection).release();
      }) {}

void TRPListInfos::RemoveImageList(const TComponent* imageList) {
  if (!imageList) return;
  for (int32_t i = 0; i < Count(); ++i) {
    TRPListLevelCollection& levels = Items(i)->Levels();
    for (int32_t j = 0; j < levels.Count(); ++j)
      if (levels[j]->ImageList && static_cast<const TComponent*>(levels[j]->ImageList) == imageList)
        levels[j]->ImageList = nullptr;
  }
}

const TRPListLevel* TRPListInfos::GetLevel(int32_t listNo, int32_t level) const {
  if (listNo < 0 || listNo >= Count() || level < 0) return nullptr;
  const TRPListLevelCollection& levels = Items(listNo)->Levels();
  if (levels.Count() == 0) return nullptr;
  return levels[std::min(level, levels.Count() - 1)];
}
