#include "richtext/model/RPBulletItems.h"

#include <string>

#include "richtext/model/RPData.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPStyle.h"

const TRPItemClassInfo TRPBulletItemInfo::ClassInfo{"TRPBulletItemInfo", &CreateRPItem<TRPBulletItemInfo>};
const TRPItemClassInfo TRPHotspotItemInfo::ClassInfo{"TRPHotspotItemInfo", &CreateRPItem<TRPHotspotItemInfo>};

void RegisterBulletItemClasses() {
  SetBuiltInItemClass(rpkindBullet, &TRPBulletItemInfo::ClassInfo);
  SetBuiltInItemClass(rpkindHotspot, &TRPHotspotItemInfo::ClassInfo);
}

// --- Bullet -------------------------------------------------------------------------------

int32_t TRPBulletItemInfo::GetImageIndex(bool) const { return ImageIndex; }

int32_t TRPBulletItemInfo::GetImageWidth(const IRPStyleSheet*) const { return ImageList ? ImageList->Width() : 0; }
int32_t TRPBulletItemInfo::GetImageHeight(const IRPStyleSheet*) const { return ImageList ? ImageList->Height() : 0; }
int32_t TRPBulletItemInfo::GetWidth() const { return GetImageWidth(nullptr) + 2 * Spacing; }
int32_t TRPBulletItemInfo::GetHeight() const { return GetImageHeight(nullptr) + 2 * Spacing; }

int32_t TRPBulletItemInfo::GetMinWidth(const TRPResolution* resolution, TCanvas*, TCustomRPData*) const {
  return resolution ? ScreenToDeviceX(GetWidth(), *resolution) : GetWidth();
}

bool TRPBulletItemInfo::GetBoolValue(TRPItemBoolQuery query) const {
  switch (query) {
    case rpibqHasContent:
      return ImageList != nullptr;
    case rpibqSelectAsObject:
      return true;
    default:
      return TRPRectItemInfo::GetBoolValue(query);
  }
}

void TRPBulletItemInfo::CopyPropertiesFrom(const TCustomRPItemInfo& source) {
  if (auto* bullet = dynamic_cast<const TRPBulletItemInfo*>(&source)) {
    ImageList = bullet->ImageList;
    ImageIndex = bullet->ImageIndex;
    NoHTMLImageSize = bullet->NoHTMLImageSize;
  }
  TRPRectItemInfo::CopyPropertiesFrom(source);
}

bool TRPBulletItemInfo::SetIntProperty(int32_t code, int32_t value) {
  if (code != rpipNoHTMLImageSize) return TRPRectItemInfo::SetIntProperty(code, value);
  NoHTMLImageSize = value != 0;
  return true;
}

bool TRPBulletItemInfo::GetIntProperty(int32_t code, int32_t& value) const {
  if (code != rpipNoHTMLImageSize) return TRPRectItemInfo::GetIntProperty(code, value);
  value = NoHTMLImageSize ? 1 : 0;
  return true;
}

bool TRPBulletItemInfo::SetStrProperty(int32_t code, const AnsiString& value) {
  if (code != rpspAlt) return TRPRectItemInfo::SetStrProperty(code, value);
  Alt = value;
  return true;
}

bool TRPBulletItemInfo::GetStrProperty(int32_t code, AnsiString& value) const {
  if (code != rpspAlt) return TRPRectItemInfo::GetStrProperty(code, value);
  value = Alt;
  return true;
}

int32_t TRPBulletItemInfo::GetRPFPropertyCount() const {
  return TRPRectItemInfo::GetRPFPropertyCount() + (NoHTMLImageSize ? 1 : 0) + (Alt.empty() ? 0 : 1);
}

void TRPBulletItemInfo::SaveRPFProperties(TStream& stream) const {
  TRPRectItemInfo::SaveRPFProperties(stream);
  if (NoHTMLImageSize) WriteRPFIntPropertyLine(stream, rpipNoHTMLImageSize, 1);
  if (!Alt.empty()) WriteRPFStrPropertyLine(stream, rpspAlt, Alt);
}

void TRPBulletItemInfo::GetRPFHeaderExtra(TCustomRPData*, AnsiString& s) const {
  s = std::to_string(ImageList ? ImageList->Tag() : 0) + " " + std::to_string(ImageIndex);
}

bool TRPBulletItemInfo::CheckReadIndex(const TCustomImageList* list, int32_t& index, IRPFStreaming& streaming) {
  if (!list || index < list->Count()) return true;
  streaming.AddWarning(rpfwBadImageIndex);
  if (!(streaming.Options() & rpfoConvLargeImageIdxToZero)) return false;
  index = 0;
  return true;
}

bool TRPBulletItemInfo::ReadListAndIndex(AnsiStringView& rest, IRPFStreaming& streaming, TCustomImageList*& list,
                                         int32_t& index) {
  int32_t tag = 0;
  index = 0;
  RPFSkipBlanks(rest);
  if (!RPFReadInteger(rest, tag)) return false;
  RPFSkipBlanks(rest);
  if (!RPFReadInteger(rest, index)) return false;
  list = streaming.FindImageList(tag);
  return CheckReadIndex(list, index, streaming);
}

bool TRPBulletItemInfo::ReadRPFHeaderExtra(AnsiStringView& rest, IRPFStreaming& streaming) {
  TCustomImageList* list = nullptr;
  int32_t index = 0;
  if (!ReadListAndIndex(rest, streaming, list, index)) return false;
  ImageList = list;
  ImageIndex = index;
  return true;
}

void TRPBulletItemInfo::SaveRPF(TStream& stream, IRPFStreaming& streaming, int32_t, int32_t paraNo,
                                const AnsiString& name, const TRPMultiDrawItemPart*, bool forceSameAsPrev) const {
  WriteRPFItemHeader(stream, *this, GetRPFPropertyCount() + 1, paraNo, forceSameAsPrev, rpfbmHex, streaming);
  RPFWriteLine(stream, name);
  SaveRPFProperties(stream);
}

bool TRPBulletItemInfo::ReadRPFLine(const AnsiString& s, IRPFStreaming&, TRPFBodyMode, int32_t lineNo,
                                    int32_t lineCount, AnsiString& name, TRPFLineMode& readMode,
                                    TRPFReadState& readState) {
  readMode = rpflmText;
  if (lineNo == 0)
    name = s;
  else
    ReadRPFPropertyLine(s);
  if (lineNo + 1 >= lineCount) readState = rpfrsItemDone;
  return true;
}

void TRPBulletItemInfo::Paint(int32_t x, int32_t y, TCanvas& canvas, uint32_t drawState,
                              const TRPStyle& rpStyle) const {
  const int32_t s = Spacing;
  if (ImageList) {
    const int32_t index = GetImageIndex((drawState & rpidsHover) != 0);
    const TColor selection = (drawState & rpidsFocused) ? rpStyle.SelColor : rpStyle.InactiveSelColor;
    if ((drawState & rpidsSelected) && selection != clNone)
      ImageList->DrawBlended(canvas, x + s, y + s, index, selection);
    else
      ImageList->Draw(canvas, x + s, y + s, index);
  }
  if ((drawState & rpidsCurrent) && rpStyle.CurrentItemColor != clNone) {
    canvas.Pen().SetColor(rpStyle.CurrentItemColor);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetStyle(psSolid);
    canvas.Brush().SetStyle(bsClear);
    canvas.Rectangle(x, y, x + GetImageWidth(nullptr) + 2 * s, y + GetImageHeight(nullptr) + 2 * s);
  }
}

bool TRPBulletItemInfo::PrintToBitmap(TBitmap& bitmap) const {
  if (ImageList) ImageList->Draw(*bitmap.Canvas(), 0, 0, ImageIndex);
  return true;
}

// --- Hotspot ------------------------------------------------------------------------------

bool TRPHotspotItemInfo::GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet* rpStyle) const {
  switch (query) {
    case rpibqxJump:
    case rpibqxFocusable:
    case rpibqxJumpCursor:
      return true;
    case rpibqxHoverRepaint:
      return HotImageIndex != ImageIndex;
    default:
      return TRPBulletItemInfo::GetBoolValueEx(query, rpStyle);
  }
}

void TRPHotspotItemInfo::ExecuteJump(TCustomRPData* rpData) {
  if (rpData) rpData->ExecuteItemJump(JumpID);
}

void TRPHotspotItemInfo::CopyPropertiesFrom(const TCustomRPItemInfo& source) {
  if (auto* hotspot = dynamic_cast<const TRPHotspotItemInfo*>(&source)) HotImageIndex = hotspot->HotImageIndex;
  TRPBulletItemInfo::CopyPropertiesFrom(source);
}

void TRPHotspotItemInfo::GetRPFHeaderExtra(TCustomRPData* rpData, AnsiString& s) const {
  TRPBulletItemInfo::GetRPFHeaderExtra(rpData, s);
  s += " " + std::to_string(HotImageIndex);
}

bool TRPHotspotItemInfo::ReadRPFHeaderExtra(AnsiStringView& rest, IRPFStreaming& streaming) {
  TCustomImageList* list = nullptr;
  int32_t index = 0;
  if (!ReadListAndIndex(rest, streaming, list, index)) return false;
  RPFSkipBlanks(rest);
  int32_t hot = index;
  const bool lineEnds = rest.empty() || rest[0] == '\0' || rest[0] == '\r' || rest[0] == '\n';
  if (!lineEnds && (!RPFReadInteger(rest, hot) || !CheckReadIndex(list, hot, streaming))) return false;
  ImageList = list;
  ImageIndex = index;
  HotImageIndex = hot;
  return true;
}
