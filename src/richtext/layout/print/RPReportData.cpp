// The report's layout: formatting for a page width, then one page per call.
#include "richtext/layout/print/RPReportData.h"

#include "platform/base/ScopeExit.h"
#include "richtext/layout/print/RPReportHelper.h"

namespace {

// Runs body with the control's vertical margins zeroed, putting them back on every exit.
template <typename F>
void WithVertMarginsSaved(TReportRPData& data, F&& body) {
  data.SaveVertMargins();
  const TScopeExit restore([&] { data.RestoreVertMargins(); });
  body();
}

}  // namespace

void TReportRPData::SaveVertMargins() {
  SavedTopMargin = Control().TopMargin;
  SavedBottomMargin = Control().BottomMargin;
  Control().TopMargin = 0;
  Control().BottomMargin = 0;
}

void TReportRPData::RestoreVertMargins() {
  Control().TopMargin = SavedTopMargin;
  Control().BottomMargin = SavedBottomMargin;
}

void TReportRPData::BeginLayout(TCanvas& canvas, int32_t width) {
  ResetPages();
  LayoutCanvas = &canvas;
  AreaLeft = 0;
  AreaTop = 0;
  WithVertMarginsSaved(*this, [&] {
    GetScreenAndDeviceResolution(PrintResolution, canvas);
    TopMarginDevice = ScreenToDeviceY(SavedTopMargin, PrintResolution);
    BottomMarginDevice = ScreenToDeviceY(SavedBottomMargin, PrintResolution);
    // The invisible control has no window and no scroll bars; only its width matters (the
    // page height comes with each page, the document's height with each painting).
    Control().SetHScrollVisible(false);
    Control().SetVScrollVisible(false);
    Control().SetClientWidth(width);
    Control().MaxTextWidth = DeviceToScreenX(width, PrintResolution) - Control().LeftMargin - Control().RightMargin;
    FormatDocument(&canvas);
  });
}

bool TReportRPData::LayoutNextPage(int32_t height) {
  if (AllPagesDone()) return false;
  if (SplittingItem) SplitRoom = SplitRoom - PrevLayoutHeight + height;
  PrevLayoutHeight = height;
  WithVertMarginsSaved(*this, [&] { BreakPage(height - TopMarginDevice - BottomMarginDevice); });
  return true;
}

namespace {

TRPReportHelper* ReportHelperOf(const TCustomRichPane& control) {
  return dynamic_cast<TRPReportHelper*>(static_cast<const TCustomPrintableRP&>(control).RPPrint);
}

}  // namespace

void TReportRPData::DoDrawHyperlink(TCustomRPData* rpData, int32_t itemNo, const TRect& rect) {
  TRPReportHelper* helper = ReportHelperOf(Control());
  if (helper && helper->OnDrawHyperlink) helper->OnDrawHyperlink(helper, rpData, itemNo, rect);
}

void TReportRPData::DoDrawCheckpoint(TCustomRPData* rpData, int32_t itemNo, int32_t x, int32_t y) {
  TRPReportHelper* helper = ReportHelperOf(Control());
  if (helper && helper->OnDrawCheckpoint) helper->OnDrawCheckpoint(helper, rpData, itemNo, x, y);
}
