// The report helper: the component through which a document becomes pages. The caller
// fills the owned report control's document, starts the layout for a canvas and a page
// width, lays out pages until none is left, and paints any page onto a canvas.
//
//   TRPReportHelper helper(nullptr);
//   helper.RichPane().SetStyle(&style);  ... fill helper.RichPane() ...
//   helper.BeginLayout(pageCanvas, pageWidth);
//   while (helper.LayoutNextPage(pageHeight)) {}
//   for (int p = 1; p <= helper.GetPagesCount(); ++p) helper.PaintPageAt(0, top, p, canvas, false, pageHeight);
#pragma once

#include <functional>
#include <memory>

#include "platform/graphics/Bitmap.h"
#include "richtext/layout/print/RPPrintableRP.h"

class TCustomRPPrint : public TComponent {
public:
  explicit TCustomRPPrint(TComponent* owner);

  // Passed to every page painting.
  bool PreviewCorrection = true;
  // The picture of a control (the component behind a control item) printed on a page:
  // the handler may give one (componentImage); none: the control is drawn as it looks.
  std::function<void(TCustomRPPrint* sender, TComponent* printMe, std::unique_ptr<TBitmap>& componentImage)>
      OnPrintComponent;

  // Kept in the control's document.
  TRPColorMode GetColorMode() const;
  void SetColorMode(TRPColorMode mode);
  bool GetTransparentBackground() const;
  void SetTransparentBackground(bool value);
  // Pages laid out so far.
  int32_t GetPagesCount() const;
  // Empties the control's document.
  void Clear();

protected:
  // The control, created by the descendant and owned through this component.
  void SetPrintableRP(TCustomPrintableRP* control);
  TCustomPrintableRP& PrintableRP() const { return *FControl; }
  TCustomMainPtblRPData& MainData() const { return static_cast<TCustomMainPtblRPData&>(FControl->RPData()); }

private:
  TCustomPrintableRP* FControl = nullptr;
};

class TRPReportHelper : public TCustomRPPrint {
public:
  explicit TRPReportHelper(TComponent* owner);

  std::function<void(TRPReportHelper* sender, TCustomRPData* rpData, int32_t itemNo, const TRect& rect)>
      OnDrawHyperlink;
  std::function<void(TRPReportHelper* sender, TCustomRPData* rpData, int32_t itemNo, int32_t x, int32_t y)>
      OnDrawCheckpoint;

  TReportRichPane& RichPane() const { return static_cast<TReportRichPane&>(PrintableRP()); }
  // After streaming: the control's background is applied again.
  void Loaded() override;
  TReportRPData& ReportData() const { return RichPane().ReportData(); }

  // Formats the document on canvas for a page width in device pixels; any earlier
  // pages are discarded.
  void BeginLayout(TCanvas& canvas, int32_t width) { ReportData().BeginLayout(canvas, width); }
  // Lays out the next page of a page height in device pixels; false when every draw
  // item was on a page already.
  bool LayoutNextPage(int32_t height) { return ReportData().LayoutNextPage(height); }
  // Paints page pageNo (1-based); pageHeight becomes the document's height meanwhile.
  void PaintPage(int32_t pageNo, TCanvas& canvas, bool preview, int32_t pageHeight);
  // The same with the page's top-left corner at (x, y) of the canvas: the canvas's
  // window origin moves and comes back on every exit.
  void PaintPageAt(int32_t x, int32_t y, int32_t pageNo, TCanvas& canvas, bool preview, int32_t pageHeight);
};
