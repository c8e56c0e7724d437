#include "richtext/layout/print/RPRectPrintableData.h"

#include "richtext/model/RPStyle.h"

TRectPtblRPData::TRectPtblRPData(TCustomRichPane& control, TCustomPrintableRPData& parent, TCustomRPData& source)
    : TCustomPrintableRPData(control), FParent(parent), FSource(source) {
  UseItemListOf(source);
  NoFill = true;
}

TRPDocumentFlags TRectPtblRPData::GetDocumentFlags() const {
  return static_cast<TRPDocumentFlags>(TCustomPrintableRPData::GetDocumentFlags() & ~rpdfRootDocument);
}

void TRectPtblRPData::FillBelowItem(int32_t x, int32_t y, const TRPResolution& resolution, TBitmap& bitmap) {
  if (CurrentParaColor() != clNone || !Transparent) {
    TCustomPrintableRPData::FillBelowItem(x, y, resolution, bitmap);
    return;
  }
  // The parent's area lies elsewhere on the page: the same place in its coordinates.
  FParent.FillItemBackground(x + DeviceToScreenX(GetAreaLeft(0) - FParent.GetAreaLeft(0), resolution),
                             y + DeviceToScreenY(GetAreaTop() - FParent.GetAreaTop(), resolution), false,
                             ParentItemBackground, resolution, bitmap);
}
