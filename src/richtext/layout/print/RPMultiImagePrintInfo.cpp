#include "richtext/layout/print/RPMultiImagePrintInfo.h"

TRPMultiImagePrintInfo::TRPMultiImagePrintInfo(const TRPRectItemInfo& item, const TRPResolution& resolution,
                                               int32_t width, int32_t height)
    : Item(item), Resolution(resolution) {
  Width = width;
  Height = height;
}

bool TRPMultiImagePrintInfo::StartParts() { return StartImagePrintParts(Item, Resolution, *this); }

bool TRPMultiImagePrintInfo::CanStartOnPage(int32_t room) { return CanImageStartOnPage(Item, Resolution, room); }

bool TRPMultiImagePrintInfo::SplitLastPart(int32_t room) {
  return SplitLastImagePrintPart(Item, Resolution, *this, room);
}

void TRPMultiImagePrintInfo::SetLastPart(int32_t imgHeight, int32_t height) {
  TRPImagePrintPart& last = Part(PartsList.Count() - 1);
  last.ImgHeight = imgHeight;
  last.Height = height;
}

void TRPMultiImagePrintInfo::AddPart(int32_t imgTop, int32_t imgHeight, int32_t height) {
  auto part = std::make_unique<TRPImagePrintPart>();
  part->ImgTop = imgTop;
  part->ImgHeight = imgHeight;
  part->Height = height;
  PartsList.AddPart(std::move(part));
}
