#include "richtext/layout/print/RPModelItemPrinting.h"

#include "richtext/layout/print/RPMultiImagePrintInfo.h"
#include "richtext/layout/print/RPReportHelper.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPControlItems.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPPictureItems.h"

namespace {

// The image a control prints as: the print component's, else the control drawn.
std::unique_ptr<TBitmap> PrintedControlImage(IRPItemControl& control, TCustomRPFormattedData& data) {
  std::unique_ptr<TBitmap> image;
  const auto* root = dynamic_cast<const TRichPaneRPData*>(data.GetAbsoluteRootData());
  const auto* printable = root ? dynamic_cast<const TCustomPrintableRP*>(&root->Control()) : nullptr;
  TCustomRPPrint* print = printable ? printable->RPPrint : nullptr;
  if (print && print->OnPrintComponent) {
    print->OnPrintComponent(print, &control.Component(), image);
    return image;
  }
  return CreateControlImage(control);
}

}  // namespace

std::unique_ptr<TRPDrawLineInfo> CreateModelItemPrintingDrawItem(const TCustomRPItemInfo& item,
                                                                 const TRPResolution& resolution) {
  if (const auto* control = dynamic_cast<const TRPControlItemInfo*>(&item)) {
    if (!control->PrintsInParts() || !control->GetBoolValueEx(rpibqxPrintAsBitmap, nullptr))
      return std::make_unique<TRPDrawLineInfo>();
    return std::make_unique<TRPMultiImagePrintInfo>(*control, resolution,
                                                    ScreenToDeviceX(control->GetWidth(), resolution),
                                                    ScreenToDeviceY(control->GetHeight(), resolution));
  }
  const auto* picture = dynamic_cast<const TRPGraphicItemInfo*>(&item);
  if (!picture) return nullptr;
  if (!picture->PrintsInParts()) return std::make_unique<TRPDrawLineInfo>();
  return std::make_unique<TRPMultiImagePrintInfo>(*picture, resolution,
                                                  ScreenToDeviceX(picture->GetWidth(), resolution),
                                                  ScreenToDeviceY(picture->GetHeight(), resolution));
}

bool IsModelBitmapItem(const TCustomRPItemInfo& item) {
  return dynamic_cast<const TRPGraphicItemInfo*>(&item) || dynamic_cast<const TRPBulletItemInfo*>(&item) ||
         dynamic_cast<const TRPControlItemInfo*>(&item) || dynamic_cast<const TRPMarkerItemInfo*>(&item);
}

bool PrintModelItem(const TCustomRPItemInfo& item, TCanvas& canvas, int32_t x, int32_t y, TRPColorMode colorMode,
                    const IRPStyleSheet* rpStyle, const TRPResolution& resolution) {
  if (const auto* picture = dynamic_cast<const TRPGraphicItemInfo*>(&item)) {
    picture->Print(canvas, x, y, resolution);
    return true;
  }
  const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(&item);
  if (!marker) return false;
  marker->Print(canvas, x, y, colorMode, rpStyle);
  return true;
}

bool PrintModelItemToBitmap(const TCustomRPItemInfo& item, TBitmap& bitmap, bool preview, int32_t part,
                            const TRPDrawLineInfo& drawItem, TRPColorMode colorMode, const IRPStyleSheet* rpStyle,
                            TCustomRPFormattedData& data) {
  if (const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(&item))
    return marker->PrintToBitmap(bitmap, colorMode, rpStyle);
  if (const auto* control = dynamic_cast<const TRPControlItemInfo*>(&item)) {
    if (!control->Control || !control->Visible) return false;
    const std::unique_ptr<TBitmap> image = PrintedControlImage(*control->Control, data);
    const auto* multi = dynamic_cast<const TRPMultiImagePrintInfo*>(&drawItem);
    const int32_t imageTop = part >= 0 && multi ? multi->Part(part).ImgTop : 0;
    return control->PrintToBitmap(bitmap, image.get(), part, imageTop);
  }
  if (const auto* picture = dynamic_cast<const TRPGraphicItemInfo*>(&item)) {
    const auto* multi = dynamic_cast<const TRPMultiImagePrintInfo*>(&drawItem);
    const int32_t imageTop = part >= 0 && multi ? multi->Part(part).ImgTop : 0;
    return picture->PrintToBitmap(bitmap, preview, part, imageTop);
  }
  if (const auto* bullet = dynamic_cast<const TRPBulletItemInfo*>(&item)) return bullet->PrintToBitmap(bitmap);
  return false;
}
