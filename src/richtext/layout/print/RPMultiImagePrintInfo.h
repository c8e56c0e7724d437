// The printing draw item of a picture that may be split over pages: its parts, each
// showing a run of picture rows, and a copy of the print resolution. The split rules
// themselves depend only on the item and live beside the picture (RPImagePrintParts.h).
#pragma once

#include <cstdint>

#include "richtext/layout/RPMultiDrawItemInfo.h"
#include "richtext/model/RPImagePrintParts.h"

class TRPImagePrintPart : public TRPMultiDrawItemPart {
public:
  int32_t ImgTop = 0;     // first picture row shown (screen pixels)
  int32_t ImgHeight = 0;  // picture rows shown
  int32_t GetImageTop() const override { return ImgTop; }
};

class TRPMultiImagePrintInfo : public TRPMultiDrawItemInfo, private IRPImagePrintParts {
public:
  // The draw item of item, sized width x height device pixels (the size never changes
  // afterwards: the picture's size is the item's).
  TRPMultiImagePrintInfo(const TRPRectItemInfo& item, const TRPResolution& resolution, int32_t width, int32_t height);

  const TRPRectItemInfo& Item;
  const TRPResolution Resolution;

  TRPImagePrintPart& Part(int32_t index) const { return static_cast<TRPImagePrintPart&>(*PartsList.Part(index)); }
  void SetSize(int32_t, int32_t) override {}
  bool StartParts() override;
  bool CanStartOnPage(int32_t room) override;
  bool SplitLastPart(int32_t room) override;

private:
  int32_t PartCount() const override { return PartsList.Count(); }
  int32_t PartImgTop(int32_t index) const override { return Part(index).ImgTop; }
  int32_t PartImgHeight(int32_t index) const override { return Part(index).ImgHeight; }
  void SetLastPart(int32_t imgHeight, int32_t height) override;
  void AddPart(int32_t imgTop, int32_t imgHeight, int32_t height) override;
};
