// Documents painted page by page. TCustomPrintableRPData paints one page (its draw
// items whole or one part of a split item) with the page background, paragraph
// decoration, hyperlink and checkpoint notifications, in a colour mode
// (RPPagePainting.cpp). TCustomMainPtblRPData is the document of a printable control:
// it keeps the layout canvas, the resolution record, the device margins and the page
// collection, and paints the pages of that collection.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/graphics/Bitmap.h"
#include "richtext/layout/print/RPPageCollection.h"
#include "richtext/layout/view/RPControlData.h"
#include "richtext/model/RPColorModes.h"
#include "richtext/model/RPMarker.h"

class TCustomPrintableRPData : public TRichPaneRPData {
public:
  using TRichPaneRPData::TRichPaneRPData;

  // Painting state: the draw item being painted (nullptr outside painting), the canvas Y
  // of the non-text item being painted, the page, and whether the area is left unfilled.
  TRPDrawLineInfo* CurrentDrawItem = nullptr;
  int32_t CurrentY = 0;
  int32_t CurrentPageNo = 0;
  bool NoFill = false;

  bool IsPrintable() const override { return true; }
  // The item's printing draw item when it prints itself (CreateLayoutDrawItem).
  std::unique_ptr<TRPDrawLineInfo> CreateDrawItem(int32_t itemNo) override;

  virtual TRPBackground* GetPageBackground() const { return nullptr; }
  // Document Y minus canvas Y of the drawing area's top for the page (for the draw items
  // after a continued part with the second).
  virtual int32_t GetPageTop(int32_t) const { return 0; }
  virtual int32_t GetPageTopForPart(int32_t) const { return 0; }
  virtual int32_t GetAreaTop() const { return 0; }
  virtual int32_t GetAreaLeft(int32_t) const { return 0; }
  virtual void AfterPageBackground(TCanvas&, int32_t, bool, bool) {}
  virtual void AfterPageContents(TCanvas&, int32_t, bool) {}
  // The draw items page pageNo shows: firstPart -1 for a whole first item, else the
  // 0-based part; all draw items in this class.
  virtual void GetPageDrawItems(int32_t pageNo, int32_t& firstDrawNo, int32_t& firstPart, int32_t& lastDrawNo) const;
  virtual void CheckPageNo(int32_t) const {}
  virtual TRPColorMode GetColorMode() const { return rpcmPrinterColor; }
  // Told of each hyperlink painted (its rectangle on the canvas) and each checkpoint met,
  // with the document they belong to (GetSourceRPData).
  virtual void DoDrawHyperlink(TCustomRPData*, int32_t, const TRect&) {}
  virtual void DoDrawCheckpoint(TCustomRPData*, int32_t, int32_t, int32_t) {}
  // Paints page pageNo (1-based). Raises ERichPaneError "Style of printable TRichPane
  // component is not assigned" without a style sheet. The painting state is cleared and
  // the bitmaps freed on every exit.
  virtual void DrawPage(int32_t pageNo, TCanvas& canvas, bool preview, bool correction);
  // Fills bitmap (screen pixels) with what lies under a picture at (x, y) of the area
  // (screen pixels; with useOffsets relative to the current draw item): the page
  // background's part there when the paragraph has no colour, else the paragraph's,
  // the document's or white. Unless itemBackground is 0, the current draw item's own
  // background (IRPPrintableItem::DrawBackground, with itemBackground as its mode) is
  // painted over that, aligned to the draw item.
  virtual void FillItemBackground(int32_t x, int32_t y, bool useOffsets, int32_t itemBackground,
                                  const TRPResolution& resolution, TBitmap& bitmap);

protected:
  // The paragraph colour of the current draw item; clNone outside painting.
  TColor CurrentParaColor() const;
  // What lies under a picture at (x, y) of the area: the page background's part there
  // when the paragraph has no colour, else the paragraph's, the document's or white.
  virtual void FillBelowItem(int32_t x, int32_t y, const TRPResolution& resolution, TBitmap& bitmap);
  // The current draw item's own background painted into bitmap (filled for (x, y) of the
  // area, screen pixels), unless itemBackground is 0.
  void FillCurrentItemBackground(int32_t x, int32_t y, int32_t itemBackground, const TRPResolution& resolution,
                                 TBitmap& bitmap);
  // The page background rendered for the page being painted (only while painting and
  // only when the background has a picture).
  std::unique_ptr<TBitmap> FPageBackground;

private:
  void PaintPageBackground(TCanvas& canvas, int32_t pageNo, const TRPResolution& resolution, bool preview,
                           bool correction);
  void PaintParagraphDecoration(TCanvas& canvas, int32_t i, int32_t firstDrawNo, int32_t lastDrawNo, int32_t part,
                                int32_t pageTop, int32_t areaLeft, const TRPResolution& resolution);
  void PaintPageText(TCanvas& canvas, int32_t i, int32_t pageTop, int32_t areaLeft, const TRPResolution& resolution,
                     bool preview, bool correction);
  void PaintPageItem(TCanvas& canvas, int32_t i, int32_t part, int32_t firstDrawNo, int32_t pageTop, int32_t areaLeft,
                     const TRPResolution& resolution, bool preview, bool correction);
  // The bottom of draw item j in its paragraph's decoration on a page ending at lastDrawNo.
  int32_t DecorationBottom(int32_t j, int32_t lastDrawNo) const;
};

class TCustomMainPtblRPData : public TCustomPrintableRPData {
public:
  using TCustomPrintableRPData::TCustomPrintableRPData;
  // The document's marker list no longer looks into the markers before it.
  ~TCustomMainPtblRPData() override;

  int32_t TopMarginDevice = 0, BottomMarginDevice = 0;
  TCanvas* LayoutCanvas = nullptr;  // not owned
  TRPResolution PrintResolution;
  TRPPageCollection Pages;
  int32_t SavedTopMargin = 0, SavedBottomMargin = 0;
  bool TransparentBackground = false;
  int32_t AreaLeft = 0, AreaTop = 0;
  TRPColorMode ColorMode = rpcmPrinterColor;

  TRPBackground* GetPageBackground() const override { return GetBackground(); }
  int32_t GetPageTop(int32_t pageNo) const override;
  int32_t GetPageTopForPart(int32_t pageNo) const override;
  int32_t GetAreaTop() const override { return AreaTop; }
  int32_t GetAreaLeft(int32_t) const override { return AreaLeft; }
  TRPColorMode GetColorMode() const override { return ColorMode; }
  // The stored record of the layout.
  TRPResolution GetResolutions(TCanvas&) const override { return PrintResolution; }
  TCanvas* GetCanvas() override;
  // clNone with a transparent background.
  TColor GetColor() const override;
  // Raises ERichPaneError "Invalid page number is specified for printing" outside
  // 1 .. page count.
  void CheckPageNo(int32_t pageNo) const override;
  void GetPageDrawItems(int32_t pageNo, int32_t& firstDrawNo, int32_t& firstPart, int32_t& lastDrawNo) const override;
  // Paints nothing outside 1 .. page count.
  void DrawPage(int32_t pageNo, TCanvas& canvas, bool preview, bool correction) override;

  // A document that begins inside a list paragraph (a fragment of a longer document):
  // with continues, its first paragraph takes the continuation lines of level `level` of
  // list style listNo; otherwise none (-1, -1). What the fragment's layout says when it
  // is loaded.
  void SetContinuedList(bool continues, int32_t listNo, int32_t level);
  // The stored list and level while the document continues a list (true when the list
  // number is not negative); else the inherited answer.
  bool GetContinuedListMarker(int32_t& listNo, int32_t& level) const override;
  // The markers of the document part before this one (read with a fragment's layout),
  // made on first request and owned; the parents of this document's markers are looked
  // for there too.
  TRPMarkerList& GetPrevMarkers();
  TRPMarkerList* GetPrevMarkerList() override { return &GetPrevMarkers(); }
  IRPMarkerList* GetMarkers(bool create) override;
  // Also forgets the continued list and the markers before the document.
  void Clear() override;

private:
  std::unique_ptr<TRPMarkerList> FPrevMarkers;
  bool FContinuesList = false;
  int32_t FContinuedListNo = -1;
  int32_t FContinuedLevel = -1;
};
