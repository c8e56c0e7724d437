#include "richtext/layout/print/RPReportHelper.h"

#include "platform/base/ScopeExit.h"
#include "platform/graphics/DeviceContext.h"

TCustomRPPrint::TCustomRPPrint(TComponent* owner) : TComponent(owner) {}

void TCustomRPPrint::SetPrintableRP(TCustomPrintableRP* control) {
  FControl = control;
  FControl->RPPrint = this;
  SetColorMode(rpcmPrinterColor);
}

TRPColorMode TCustomRPPrint::GetColorMode() const { return MainData().ColorMode; }
void TCustomRPPrint::SetColorMode(TRPColorMode mode) { MainData().ColorMode = mode; }
bool TCustomRPPrint::GetTransparentBackground() const { return MainData().TransparentBackground; }
void TCustomRPPrint::SetTransparentBackground(bool value) { MainData().TransparentBackground = value; }
int32_t TCustomRPPrint::GetPagesCount() const { return MainData().Pages.Count(); }
void TCustomRPPrint::Clear() { FControl->Clear(); }

TRPReportHelper::TRPReportHelper(TComponent* owner) : TCustomRPPrint(owner) {
  SetPrintableRP(CreateOwned<TReportRichPane>(*this));
  SetColorMode(rpcmColor);
}

void TRPReportHelper::Loaded() {
  TCustomRPPrint::Loaded();
  RichPane().SetBackgroundStyle(RichPane().BackgroundStyle());
}

void TRPReportHelper::PaintPage(int32_t pageNo, TCanvas& canvas, bool preview, int32_t pageHeight) {
  ReportData().PaintHeight = pageHeight;
  RichPane().DrawPage(pageNo, canvas, preview, PreviewCorrection);
}

void TRPReportHelper::PaintPageAt(int32_t x, int32_t y, int32_t pageNo, TCanvas& canvas, bool preview,
                                  int32_t pageHeight) {
  TPoint old;
  SetWindowOrgEx(canvas.Handle(), -x, -y, &old);
  const TScopeExit restoreOrigin([&] { SetWindowOrgEx(canvas.Handle(), old.X, old.Y, nullptr); });
  PaintPage(pageNo, canvas, preview, pageHeight);
}
