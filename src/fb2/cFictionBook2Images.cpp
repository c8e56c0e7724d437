// The book's pictures: a binary decoded, fitted and reduced into a bitmap, and the cover.
#include "fb2/FB2Images.h"
#include "fb2/cFictionBook2.h"
#include "unicode/UniClasses.h"

bool TFictionBook2::LoadBinaryImage(WideStringView id, TBitmap& bitmap, int32_t maxWidth, int32_t maxHeight,
                                    bool enlarge, int32_t depth) const {
  TUniMemoryStream data;
  WideString contentType;
  if (!GetBinaryData(id, data, contentType)) return false;
  // Everything happens on a bitmap of our own, so a failure leaves the caller's as it was.
  TBitmap image;
  if (!DecodeBookImage(data, contentType, Limits, image)) return false;
  FitImageToBox(image, maxWidth, maxHeight, enlarge);
  ReduceImageDepth(image, depth);
  bitmap.Assign(image);
  return true;
}

bool TFictionBook2::LoadCoverImage(TBitmap& bitmap, int32_t maxWidth, int32_t maxHeight, bool enlarge,
                                   int32_t depth) const {
  const TDomNode* image = FindElementByPath(Root(), u"description/title-info/coverpage/image");
  if (image == nullptr) return false;
  return LoadBinaryImage(GetLocalHref(image), bitmap, maxWidth, maxHeight, enlarge, depth);
}
