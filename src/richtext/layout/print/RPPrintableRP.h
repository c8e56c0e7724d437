// Rich view controls that are never shown: the printable control paints the pages of
// its document; the report control is the one the report helper owns.
#pragma once

#include "richtext/layout/print/RPReportData.h"
#include "richtext/layout/view/RichPane.h"

class TCustomRPPrint;

class TCustomPrintableRP : public TCustomRichPane {
public:
  // The print component that owns the control (not owned).
  TCustomRPPrint* RPPrint = nullptr;

  TCustomPrintableRPData& PrintableData() const { return static_cast<TCustomPrintableRPData&>(RPData()); }
  // Text styles are applied with the font heights of the screen.
  bool UsesStylePixelsPerInch() const override { return false; }
  void DrawPage(int32_t pageNo, TCanvas& canvas, bool preview, bool correction) {
    PrintableData().DrawPage(pageNo, canvas, preview, correction);
  }
  // A loaded layout gives the control its margins and widths, and a document that is a
  // fragment its continued list: the list and level of the marker that heads its cut
  // first paragraph.
  void ApplyLayoutInfo(const TRPLayoutInfo& layout) override;

protected:
  // Invisible, flags 0x0166, no vertical margins, no border; createData makes a
  // printable document.
  TCustomPrintableRP(TComponent* owner, TDataFactory createData);
};

class TReportRichPane : public TCustomPrintableRP {
public:
  // Named "RichPane", flags 0x0562, with a TReportRPData document.
  explicit TReportRichPane(TComponent* owner);

  TReportRPData& ReportData() const { return static_cast<TReportRPData&>(RPData()); }
  // Text styles use the style sheet's own pixels per inch when it has one.
  bool UsesStylePixelsPerInch() const override { return true; }
};
