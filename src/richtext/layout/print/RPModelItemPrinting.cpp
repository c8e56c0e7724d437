#include "richtext/layout/print/RPModelItemPrinting.h"

#include "richtext/layout/print/RPMultiImagePrintInfo.h"
#include "richtext/model/RPBulletItems.h"
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
  return dynamic_cast<const TRPGraphicItemInfo*>(&item) || dynamic_cast<const TRPBulletItemInfo*>(&item);
}

bool PrintModelItemToBitmap(const TCustomRPItemInfo& item, TBitmap& bitmap, bool preview, int32_t part,
                            const TRPDrawLineInfo& drawItem) {
  if (const auto* picture = dynamic_cast<const TRPGraphicItemInfo*>(&item)) {
    const auto* multi = dynamic_cast<const TRPMultiImagePrintInfo*>(&drawItem);
    const int32_t imageTop = part >= 0 && multi ? multi->Part(part).ImgTop : 0;
    return picture->PrintToBitmap(bitmap, preview, part, imageTop);
  }
  if (const auto* bullet = dynamic_cast<const TRPBulletItemInfo*>(&item)) return bullet->PrintToBitmap(bitmap);
  return false;
}
