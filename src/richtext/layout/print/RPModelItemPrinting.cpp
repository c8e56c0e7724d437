#include "richtext/layout/print/RPModelItemPrinting.h"

#include "richtext/layout/print/RPMultiImagePrintInfo.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPPictureItems.h"

std::unique_ptr<TRPDrawLineInfo> CreateModelItemPrintingDrawItem(const TCustomRPItemInfo& item,
                                                                 const TRPResolution& resolution) {
  const auto* picture = dynamic_cast<const TRPGraphicItemInfo*>(&item);
  if (!picture) return nullptr;
  if (!picture->PrintsInParts()) return std::make_unique<TRPDrawLineInfo>();
  return std::make_unique<TRPMultiImagePrintInfo>(*picture, resolution,
                                                  ScreenToDeviceX(picture->GetWidth(), resolution),
                                                  ScreenToDeviceY(picture->GetHeight(), resolution));
}

bool IsModelBitmapItem(const TCustomRPItemInfo& item) {
  return dynamic_cast<const TRPGraphicItemInfo*>(&item) || dynamic_cast<const TRPBulletItemInfo*>(&item) ||
         dynamic_cast<const TRPMarkerItemInfo*>(&item);
}

bool PrintModelItem(const TCustomRPItemInfo& item, TCanvas& canvas, int32_t x, int32_t y, TRPColorMode colorMode,
                    const IRPStyleSheet* rpStyle) {
  const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(&item);
  if (!marker) return false;
  marker->Print(canvas, x, y, colorMode, rpStyle);
  return true;
}

bool PrintModelItemToBitmap(const TCustomRPItemInfo& item, TBitmap& bitmap, bool preview, int32_t part,
                            const TRPDrawLineInfo& drawItem, TRPColorMode colorMode, const IRPStyleSheet* rpStyle) {
  if (const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(&item))
    return marker->PrintToBitmap(bitmap, colorMode, rpStyle);
  if (const auto* picture = dynamic_cast<const TRPGraphicItemInfo*>(&item)) {
    const auto* multi = dynamic_cast<const TRPMultiImagePrintInfo*>(&drawItem);
    const int32_t imageTop = part >= 0 && multi ? multi->Part(part).ImgTop : 0;
    return picture->PrintToBitmap(bitmap, preview, part, imageTop);
  }
  if (const auto* bullet = dynamic_cast<const TRPBulletItemInfo*>(&item)) return bullet->PrintToBitmap(bitmap);
  return false;
}
