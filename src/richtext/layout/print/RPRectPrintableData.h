// A printable sub-document painted into a rectangle of a page (a table cell's content on
// a printed page): it shares the item list of its source document, is laid out at the
// output's resolution on its parent's canvas, and is painted by the page painting of
// TCustomPrintableRPData, so the parent's colour mode, the printing fit of text, the
// printing of non-text items and the hyperlink and checkpoint notifications apply to it.
#pragma once

#include "richtext/layout/print/RPPrintableData.h"

class TRectPtblRPData : public TCustomPrintableRPData {
public:
  // Bound to the printing control; parent is the printable document the rectangle lies
  // on, source the document whose items this one shows (neither owned).
  TRectPtblRPData(TCustomRichPane& control, TCustomPrintableRPData& parent, TCustomRPData& source);

  TCustomRPData& Source() const { return FSource; }
  TCustomPrintableRPData& Parent() const { return FParent; }

  // The rectangle on the page (device pixels), the content's offset inside it, and its
  // size; the colour behind the content; Transparent: what lies under a picture comes
  // from the parent's page rather than from Color.
  int32_t Left = 0, Top = 0, DX = 0, DY = 0, Width = 0, Height = 0;
  bool Transparent = false;
  TColor Color = clNone;
  // The background mode the parent's current item (the one that holds this document)
  // paints under a transparent rectangle's pictures; 0: none of it.
  int32_t ParentItemBackground = 0;

  bool ItemsShared() const override { return true; }

  int32_t GetAreaLeft(int32_t) const override { return Left + DX; }
  int32_t GetAreaTop() const override { return Top + DY; }
  int32_t GetPageTop(int32_t) const override { return -(Top + DY); }
  int32_t GetWidth() const override { return Width; }
  int32_t GetHeight() const override { return Height; }
  int32_t GetLeftMargin() const override { return 0; }
  int32_t GetRightMargin() const override { return 0; }
  int32_t GetTopMargin() const override { return 0; }
  int32_t GetBottomMargin() const override { return 0; }
  int32_t GetMinTextWidth() const override { return 0; }
  int32_t GetMaxTextWidth() const override { return 0; }
  int32_t GetHOffs() const override { return 0; }
  int32_t GetVOffs() const override { return 0; }
  int32_t GetDocumentVAlignOffset() const override { return 0; }
  TColor GetColor() const override { return Color; }
  TRPBackground* GetBackground() const override { return nullptr; }
  // The parent's resolution record, colour mode and canvas.
  TRPResolution GetResolutions(TCanvas& canvas) const override { return FParent.GetResolutions(canvas); }
  TRPColorMode GetColorMode() const override { return FParent.GetColorMode(); }
  TCanvas* GetCanvas() override { return FParent.GetCanvas(); }
  // The control's flags without the root document's bit: a sub-document asks its root.
  TRPDocumentFlags GetDocumentFlags() const override;
  // List markers are numbered in the source document.
  IRPMarkerList* GetMarkers(bool create) override { return FSource.GetMarkers(create); }
  // A rectangle of a page neither scrolls nor moves the control's scroll bars.
  void ScrollTo(int32_t) override {}
  void HScrollTo(int32_t) override {}
  void ShowRectangle(int32_t, int32_t, int32_t, int32_t) override {}
  void UpdateScrollRanges(int32_t, int32_t) override {}
  void AdjustVSmallStep() override {}

  // Notifications go to the parent, naming the source document.
  void DoDrawHyperlink(TCustomRPData* rpData, int32_t itemNo, const TRect& rect) override {
    FParent.DoDrawHyperlink(rpData, itemNo, rect);
  }
  void DoDrawCheckpoint(TCustomRPData* rpData, int32_t itemNo, int32_t x, int32_t y) override {
    FParent.DoDrawCheckpoint(rpData, itemNo, x, y);
  }
  TCustomRPData* GetSourceRPData() override { return &FSource; }
  TCustomRPData* GetParentData() const override { return &FParent; }
  TCustomRPData* GetRootData() override { return FParent.GetRootData(); }

  // Lays the source's items out for Width device pixels.
  void LayOut() { FormatSubDocument(true); }

protected:
  // Without a paragraph colour, a transparent rectangle takes what lies there on the
  // parent's page (with the parent's current item's background of mode
  // ParentItemBackground); else the inherited filling (Color).
  void FillBelowItem(int32_t x, int32_t y, const TRPResolution& resolution, TBitmap& bitmap) override;

private:
  TCustomPrintableRPData& FParent;
  TCustomRPData& FSource;
};
