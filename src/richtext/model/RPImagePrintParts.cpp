#include "richtext/model/RPImagePrintParts.h"

#include "richtext/model/RPException.h"

bool StartImagePrintParts(const TRPRectItemInfo& item, const TRPResolution& resolution, IRPImagePrintParts& parts) {
  if (item.MinHeightOnPage == 0) return false;
  const int32_t imageHeight = item.GetImageHeight(nullptr);
  parts.AddPart(0, imageHeight, ScreenToDeviceY(imageHeight, resolution));
  return true;
}

bool CanImageStartOnPage(const TRPRectItemInfo& item, const TRPResolution& resolution, int32_t room) {
  const int32_t y = DeviceToScreenY(room, resolution);
  const int32_t minHeight = item.MinHeightOnPage;
  if (y <= 0 || !item.GetBoolValueEx(rpibqxPrintAsBitmap, nullptr) || minHeight <= 0 || y < minHeight) return false;
  const int32_t imageHeight = item.GetImageHeight(nullptr);
  return imageHeight - y >= minHeight || imageHeight < y;
}

bool SplitLastImagePrintPart(const TRPRectItemInfo& item, const TRPResolution& resolution, IRPImagePrintParts& parts,
                             int32_t room) {
  const int32_t minHeight = item.MinHeightOnPage;
  if (minHeight <= 0) return false;
  if (parts.PartCount() == 0) throw ERichPaneError(errRPInternalPrinting);
  const int32_t last = parts.PartCount() - 1;
  const int32_t lastTop = parts.PartImgTop(last), lastHeight = parts.PartImgHeight(last);
  if (minHeight >= lastHeight) return false;
  const int32_t y = DeviceToScreenY(room, resolution);
  const int32_t rest = lastHeight - y;
  if (rest < minHeight || y < minHeight) return false;
  parts.SetLastPart(y, ScreenToDeviceY(y, resolution));
  parts.AddPart(lastTop + y, rest, ScreenToDeviceY(rest, resolution));
  return true;
}
