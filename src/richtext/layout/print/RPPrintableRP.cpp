#include "richtext/layout/print/RPPrintableRP.h"

namespace {

std::unique_ptr<TRichPaneRPData> CreateReportData(TCustomRichPane& control) {
  return std::make_unique<TReportRPData>(control);
}

}  // namespace

TCustomPrintableRP::TCustomPrintableRP(TComponent* owner, TDataFactory createData)
    : TCustomRichPane(owner, createData) {
  Visible = false;
  DocumentFlags = rpdfPrintableDefaults;
  TopMargin = 0;
  BottomMargin = 0;
  BorderStyle = bsNone;
  SetBounds(Width(), Height());
}

TReportRichPane::TReportRichPane(TComponent* owner) : TCustomPrintableRP(owner, &CreateReportData) {
  DocumentFlags = rpdfReportDefaults;
  SetName("RichPane");
}

void TCustomPrintableRP::ApplyLayoutInfo(const TRPLayoutInfo& layout) {
  TCustomRichPane::ApplyLayoutInfo(layout);
  if (auto* data = dynamic_cast<TCustomMainPtblRPData*>(&RPData()))
    data->SetContinuedList(layout.FirstParaCut, layout.FirstMarkerListNo, layout.FirstMarkerLevel);
}
