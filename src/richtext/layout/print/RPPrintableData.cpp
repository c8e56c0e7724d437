// The answers of printable documents: pages of the page collection, device margins,
// the stored resolution record.
#include "richtext/layout/print/RPPrintableData.h"

#include "richtext/layout/print/RPPrintItems.h"
#include "richtext/model/RPException.h"

std::unique_ptr<TRPDrawLineInfo> TCustomPrintableRPData::CreateDrawItem(int32_t itemNo) {
  return CreateLayoutDrawItem(*this, itemNo, Resolution());
}

void TCustomPrintableRPData::GetPageDrawItems(int32_t, int32_t& firstDrawNo, int32_t& firstPart,
                                              int32_t& lastDrawNo) const {
  firstDrawNo = 0;
  firstPart = -1;
  lastDrawNo = DrawItems.Count() - 1;
}

int32_t TCustomMainPtblRPData::GetPageTop(int32_t pageNo) const {
  return Pages.GetItem(pageNo - 1).TopY - AreaTop - TopMarginDevice;
}

int32_t TCustomMainPtblRPData::GetPageTopForPart(int32_t pageNo) const {
  return Pages.GetItem(pageNo - 1).ContinuedTopY - AreaTop - TopMarginDevice;
}

TCanvas* TCustomMainPtblRPData::GetCanvas() { return LayoutCanvas ? LayoutCanvas : TRichPaneRPData::GetCanvas(); }

TColor TCustomMainPtblRPData::GetColor() const {
  return TransparentBackground ? clNone : TCustomPrintableRPData::GetColor();
}

void TCustomMainPtblRPData::CheckPageNo(int32_t pageNo) const {
  if (pageNo < 1 || pageNo > Pages.Count()) throw ERichPaneError("Invalid page number is specified for printing");
}

void TCustomMainPtblRPData::GetPageDrawItems(int32_t pageNo, int32_t& firstDrawNo, int32_t& firstPart,
                                             int32_t& lastDrawNo) const {
  const TRPPageInfo& page = Pages.GetItem(pageNo - 1);
  firstDrawNo = page.FirstDrawItem;
  firstPart = page.FirstPart - 1;
  if (pageNo == Pages.Count()) {
    lastDrawNo = DrawItems.Count() - 1;
    return;
  }
  // The next page may continue a draw item that this page begins or continues.
  const TRPPageInfo& next = Pages.GetItem(pageNo);
  lastDrawNo = next.FirstDrawItem - 1 + (next.FirstPart > 1 ? 1 : 0);
}

void TCustomMainPtblRPData::DrawPage(int32_t pageNo, TCanvas& canvas, bool preview, bool correction) {
  if (pageNo < 1 || pageNo > Pages.Count()) return;
  TCustomPrintableRPData::DrawPage(pageNo, canvas, preview, correction);
}

TCustomMainPtblRPData::~TCustomMainPtblRPData() {
  if (auto* list = dynamic_cast<TRPMarkerList*>(TCustomPrintableRPData::GetMarkers(false)))
    list->SetPrevMarkerList(nullptr);
}

void TCustomMainPtblRPData::SetContinuedList(bool continues, int32_t listNo, int32_t level) {
  FContinuesList = continues;
  FContinuedListNo = continues ? listNo : -1;
  FContinuedLevel = continues ? level : -1;
}

bool TCustomMainPtblRPData::GetContinuedListMarker(int32_t& listNo, int32_t& level) const {
  if (!FContinuesList) return TCustomPrintableRPData::GetContinuedListMarker(listNo, level);
  listNo = FContinuedListNo;
  level = FContinuedLevel;
  return listNo >= 0;
}

TRPMarkerList& TCustomMainPtblRPData::GetPrevMarkers() {
  if (!FPrevMarkers) FPrevMarkers = std::make_unique<TRPMarkerList>();
  if (auto* markers = dynamic_cast<TRPMarkerList*>(TCustomPrintableRPData::GetMarkers(false)))
    markers->SetPrevMarkerList(FPrevMarkers.get());
  return *FPrevMarkers;
}

IRPMarkerList* TCustomMainPtblRPData::GetMarkers(bool create) {
  IRPMarkerList* markers = TCustomPrintableRPData::GetMarkers(create);
  if (auto* list = dynamic_cast<TRPMarkerList*>(markers)) list->SetPrevMarkerList(FPrevMarkers.get());
  return markers;
}

void TCustomMainPtblRPData::Clear() {
  TCustomPrintableRPData::Clear();
  SetContinuedList(false, -1, -1);
  if (auto* list = dynamic_cast<TRPMarkerList*>(TCustomPrintableRPData::GetMarkers(false)))
    list->SetPrevMarkerList(nullptr);
  FPrevMarkers.reset();
}
