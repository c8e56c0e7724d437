#include "richtext/model/RPPictureItems.h"

#include <utility>

#include "platform/graphics/JpegImage.h"
#include "platform/graphics/Metafile.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPGraphicHelpers.h"
#include "richtext/model/RPHtmlHelpers.h"

namespace {
TRPAnimatorUpdater& AnimatorUpdater() {
  static TRPAnimatorUpdater updater;
  return updater;
}
}  // namespace

std::unique_ptr<TGraphic> CopyRPGraphic(const TGraphic& source) {
  std::unique_ptr<TGraphic> copy = RPCreateGraphic(source.ClassType());
  copy->Assign(&source);
  return copy;
}

void SetRPAnimatorUpdater(TRPAnimatorUpdater updater) { AnimatorUpdater() = std::move(updater); }

const TRPItemClassInfo TRPGraphicItemInfo::ClassInfo{"TRPGraphicItemInfo", &CreateRPItem<TRPGraphicItemInfo>};
const TRPItemClassInfo TRPHotGraphicItemInfo::ClassInfo{"TRPHotGraphicItemInfo", &CreateRPItem<TRPHotGraphicItemInfo>};

void RegisterPictureItemClasses() {
  SetBuiltInItemClass(rpkindPicture, &TRPGraphicItemInfo::ClassInfo);
  SetBuiltInItemClass(rpkindHotPicture, &TRPHotGraphicItemInfo::ClassInfo);
}

// --- Picture ------------------------------------------------------------------------------

TRPGraphicItemInfo::TRPGraphicItemInfo(TCustomRPData* rpData, std::unique_ptr<TGraphic> graphic, TRPVAlign vAlign)
    : TRPGraphicItemInfo(rpData) {
  Image = std::move(graphic);
  VAlign = vAlign;
}

TRPGraphicItemInfo::~TRPGraphicItemInfo() = default;

int32_t TRPGraphicItemInfo::GetImageWidth(const IRPStyleSheet*) const {
  if (ImageWidth > 0) return ImageWidth;
  return Image ? Image->Width() : 0;
}

int32_t TRPGraphicItemInfo::GetImageHeight(const IRPStyleSheet*) const {
  if (ImageHeight > 0) return ImageHeight;
  return Image ? Image->Height() : 0;
}

int32_t TRPGraphicItemInfo::GetWidth() const { return GetImageWidth(nullptr) + 2 * Spacing; }
int32_t TRPGraphicItemInfo::GetHeight() const { return GetImageHeight(nullptr) + 2 * Spacing; }

int32_t TRPGraphicItemInfo::GetMinWidth(const TRPResolution* resolution, TCanvas*, TCustomRPData*) const {
  return resolution ? ScreenToDeviceX(GetWidth(), *resolution) : GetWidth();
}

bool TRPGraphicItemInfo::GetBoolValue(TRPItemBoolQuery query) const {
  switch (query) {
    case rpibqHasContent:
      return Image != nullptr;
    case rpibqSelectAsObject:
    case rpibqResetsFontCache:
      return true;
    case rpibqResizable:
      return Image != nullptr && Resizable;
    case rpibqLive:
      return Animator != nullptr;
    default:
      return TRPRectItemInfo::GetBoolValue(query);
  }
}

bool TRPGraphicItemInfo::GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet* rpStyle) const {
  if (query == rpibqxPrintAsBitmap) return dynamic_cast<const TMetafile*>(Image.get()) == nullptr;
  return TRPRectItemInfo::GetBoolValueEx(query, rpStyle);
}

void TRPGraphicItemInfo::CopyPropertiesFrom(const TCustomRPItemInfo& source) {
  if (auto* picture = dynamic_cast<const TRPGraphicItemInfo*>(&source)) {
    Alt = picture->Alt;
    Resizable = picture->Resizable;
    ImageFileName = picture->ImageFileName;
    ImageWidth = picture->ImageWidth;
    ImageHeight = picture->ImageHeight;
    NoHTMLImageSize = picture->NoHTMLImageSize;
    // Copies made before the old graphics go, so copying from itself keeps them.
    std::unique_ptr<TGraphic> image = picture->Image ? CopyRPGraphic(*picture->Image) : nullptr;
    std::unique_ptr<TGraphic> imageCopy = picture->ImageCopy ? CopyRPGraphic(*picture->ImageCopy) : nullptr;
    Image = std::move(image);
    ImageCopy = std::move(imageCopy);
  }
  TRPRectItemInfo::CopyPropertiesFrom(source);
}

void TRPGraphicItemInfo::TakeOverAnimator(TCustomRPItemInfo& source, TCustomRPData* rpData) {
  auto* picture = dynamic_cast<TRPGraphicItemInfo*>(&source);
  if (Animator || !picture || picture == this) return;
  Animator = std::move(picture->Animator);
  if (Animator) Animator->Rebind(*this);
  UpdateAnimator(rpData);
}

void TRPGraphicItemInfo::UpdateAnimator(TCustomRPData* rpData) {
  if (!rpData) return;
  if (AnimatorUpdater())
    AnimatorUpdater()(*this, *rpData);
  else
    Animator.reset();
}

void TRPGraphicItemInfo::MovingToUndoList(int32_t itemNo, TCustomRPData* rpData) {
  ImageCopy.reset();
  Animator.reset();
  TRPRectItemInfo::MovingToUndoList(itemNo, rpData);
}

void TRPGraphicItemInfo::UpdatePaletteInfo(TRPPaletteAction action, bool forceRecreate, HPALETTE,
                                           const TLogPalette* logPalette) {
  const bool copies = action == rppaCreateCopies || action == rppaCreateCopiesEx;
  if (!copies || forceRecreate || !logPalette) ImageCopy.reset();
  if (!logPalette || !Image) return;
  if (action == rppaAssignPalette) {
    ApplyPaletteToGraphic(*Image, logPalette);
  } else if (copies && !ImageCopy) {
    std::unique_ptr<TGraphic> copy;
    if (action == rppaCreateCopiesEx && dynamic_cast<const TJPEGImage*>(Image.get()))
      copy = std::make_unique<TBitmap>();
    else
      copy = RPCreateGraphic(Image->ClassType());
    copy->Assign(Image.get());
    ApplyPaletteToGraphic(*copy, logPalette);
    ImageCopy = std::move(copy);
  }
}

bool TRPGraphicItemInfo::SetIntProperty(int32_t code, int32_t value) {
  auto* bitmap = dynamic_cast<TBitmap*>(Image.get());
  switch (code) {
    case rpipWidth:
      ImageWidth = value;
      return true;
    case rpipHeight:
      ImageHeight = value;
      return true;
    case rpipTransparent:
      if (!bitmap) return false;
      bitmap->SetTransparent(value != 0);
      return true;
    case rpipTransparentMode:
      if (!bitmap) return false;
      bitmap->SetTransparentMode(value == 0 ? tmAuto : tmFixed);
      return true;
    case rpipTransparentColor:
      if (!bitmap) return false;
      bitmap->SetTransparentColor(static_cast<TColor>(value));
      return true;
    case rpipMinHeightOnPage:
      MinHeightOnPage = value;
      return true;
    case rpipResizable:
      Resizable = value != 0;
      return true;
    case rpipNoHTMLImageSize:
      NoHTMLImageSize = value != 0;
      return true;
    case rpipAnimationInterval:
      Interval = value;
      return true;
    default:
      return TRPRectItemInfo::SetIntProperty(code, value);
  }
}

bool TRPGraphicItemInfo::GetIntProperty(int32_t code, int32_t& value) const {
  const auto* bitmap = dynamic_cast<const TBitmap*>(Image.get());
  switch (code) {
    case rpipWidth:
      value = ImageWidth;
      return true;
    case rpipHeight:
      value = ImageHeight;
      return true;
    case rpipTransparent:
      if (!bitmap) return false;
      value = bitmap->Transparent() ? 1 : 0;
      return true;
    case rpipTransparentMode:
      if (!bitmap) return false;
      value = static_cast<int32_t>(bitmap->TransparentMode());
      return true;
    case rpipTransparentColor:
      if (!bitmap) return false;
      value = static_cast<int32_t>(bitmap->TransparentColor());
      return true;
    case rpipMinHeightOnPage:
      value = MinHeightOnPage;
      return true;
    case rpipResizable:
      value = Resizable ? 1 : 0;
      return true;
    case rpipNoHTMLImageSize:
      value = NoHTMLImageSize ? 1 : 0;
      return true;
    case rpipAnimationInterval:
      value = Interval;
      return true;
    default:
      return TRPRectItemInfo::GetIntProperty(code, value);
  }
}

bool TRPGraphicItemInfo::SetStrProperty(int32_t code, const AnsiString& value) {
  switch (code) {
    case rpspAlt:
      Alt = value;
      return true;
    case rpspFileName:
      ImageFileName = value;
      return true;
    default:
      return TRPRectItemInfo::SetStrProperty(code, value);
  }
}

bool TRPGraphicItemInfo::GetStrProperty(int32_t code, AnsiString& value) const {
  switch (code) {
    case rpspAlt:
      value = Alt;
      return true;
    case rpspFileName:
      value = ImageFileName;
      return true;
    default:
      return TRPRectItemInfo::GetStrProperty(code, value);
  }
}

namespace {
// The property lines of a picture after the inherited ones, in the order they are
// written; count only (stream null) or written.
int32_t PictureProperties(const TRPGraphicItemInfo& item, TStream* stream) {
  int32_t count = 0;
  auto intLine = [&](int32_t code, int32_t value) {
    if (stream) WriteRPFIntPropertyLine(*stream, code, value);
    ++count;
  };
  auto strLine = [&](int32_t code, const AnsiString& value) {
    if (stream) WriteRPFStrPropertyLine(*stream, code, value);
    ++count;
  };
  if (!item.Resizable) intLine(rpipResizable, 0);
  if (item.ImageWidth > 0) intLine(rpipWidth, item.ImageWidth);
  if (item.ImageHeight > 0) intLine(rpipHeight, item.ImageHeight);
  if (item.MinHeightOnPage > 0) intLine(rpipMinHeightOnPage, item.MinHeightOnPage);
  if (item.NoHTMLImageSize) intLine(rpipNoHTMLImageSize, 1);
  if (item.Interval > 0) intLine(rpipAnimationInterval, item.Interval);
  if (const auto* bitmap = dynamic_cast<const TBitmap*>(item.Image.get()); bitmap && bitmap->Transparent()) {
    intLine(rpipTransparent, 1);
    intLine(rpipTransparentMode, static_cast<int32_t>(bitmap->TransparentMode()));
    if (bitmap->TransparentMode() == tmFixed)
      intLine(rpipTransparentColor, static_cast<int32_t>(bitmap->TransparentColor()));
  }
  if (!item.ImageFileName.empty()) strLine(rpspFileName, item.ImageFileName);
  if (!item.Alt.empty()) strLine(rpspAlt, item.Alt);
  return count;
}
}  // namespace

int32_t TRPGraphicItemInfo::GetRPFPropertyCount() const {
  return TRPRectItemInfo::GetRPFPropertyCount() + PictureProperties(*this, nullptr);
}

void TRPGraphicItemInfo::SaveRPFProperties(TStream& stream) const {
  TRPRectItemInfo::SaveRPFProperties(stream);
  PictureProperties(*this, &stream);
}

bool TRPGraphicItemInfo::PrintsInParts() const {
  if (!GetBoolValueEx(rpibqxPrintAsBitmap, nullptr) || MinHeightOnPage == 0) return false;
  return !(ImageHeight > 0 && Image && ImageHeight != Image->Height());
}

// --- Hot picture --------------------------------------------------------------------------

TRPHotGraphicItemInfo::TRPHotGraphicItemInfo(TCustomRPData* rpData, std::unique_ptr<TGraphic> graphic, TRPVAlign vAlign)
    : TRPGraphicItemInfo(rpData, std::move(graphic), vAlign) {
  StyleNo = rpkindHotPicture;
}

bool TRPHotGraphicItemInfo::GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet* rpStyle) const {
  switch (query) {
    case rpibqxJump:
    case rpibqxFocusable:
    case rpibqxJumpCursor:
      return true;
    default:
      return TRPGraphicItemInfo::GetBoolValueEx(query, rpStyle);
  }
}

void TRPHotGraphicItemInfo::ExecuteJump(TCustomRPData* rpData) {
  if (rpData) rpData->ExecuteItemJump(JumpID);
}
