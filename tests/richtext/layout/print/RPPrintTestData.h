// Documents for the page-breaking and page-painting tests: blocks of exact heights (so a
// page break can be worked out by hand), blocks that split over pages, and a report
// helper laid out on a 24-bit page.
#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "richtext/layout/RPMultiDrawItemInfo.h"
#include "richtext/layout/print/RPPrintItems.h"
#include "richtext/layout/print/RPReportHelper.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"

// A rectangle of a given size in one colour, sitting on the baseline with no descent.
class TBlockItem : public TRPRectItemInfo, public IRPPrintableItem {
public:
  explicit TBlockItem(TCustomRPData* rpData) : TRPRectItemInfo(rpData) {
    StyleNo = rpkindPicture;
    Spacing = 0;
  }
  TBlockItem(TCustomRPData* rpData, int32_t width, int32_t height, TColor color) : TBlockItem(rpData) {
    BlockWidth = width;
    BlockHeight = height;
    Color = color;
  }
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }
  int32_t BlockWidth = 10, BlockHeight = 10;
  TColor Color = clBlack;
  int32_t GetWidth() const override { return BlockWidth; }
  int32_t GetHeight() const override { return BlockHeight; }
  int32_t GetImageWidth(const IRPStyleSheet*) const override { return BlockWidth; }
  int32_t GetImageHeight(const IRPStyleSheet*) const override { return BlockHeight; }

  std::unique_ptr<TRPDrawLineInfo> CreatePrintingDrawItem(TCustomRPFormattedData&, const TRPResolution&) override {
    return std::make_unique<TRPDrawLineInfo>();
  }
  // The whole bitmap (or a part of it) in the block's colour.
  bool PrintToBitmap(TBitmap& bitmap, bool, TRPColorMode, int32_t, TRPDrawLineInfo&, TCustomRPFormattedData&) override {
    bitmap.Canvas()->Brush().SetStyle(bsSolid);
    bitmap.Canvas()->Brush().SetColor(Color);
    bitmap.Canvas()->FillRect(TRect{0, 0, bitmap.Width(), bitmap.Height()});
    return true;
  }
  void Print(TCanvas&, int32_t, int32_t, int32_t, TCustomRPFormattedData&, TRPColorMode, int32_t, TRPDrawLineInfo&,
             const TRPResolution&, bool, bool) override {}
};
inline const TRPItemClassInfo TBlockItem::ClassInfo{"TBlockItem", &CreateRPItem<TBlockItem>};

// The draw item of a splittable block: parts of at least MinPart device pixels.
class TSplitDrawItem : public TRPMultiDrawItemInfo {
public:
  int32_t MinPart = 0;
  bool StartParts() override {
    PartsList.Clear();
    auto part = std::make_unique<TRPMultiDrawItemPart>();
    part->Height = Height;
    PartsList.AddPart(std::move(part));
    return true;
  }
  bool CanStartOnPage(int32_t room) override { return room >= MinPart && (Height - room >= MinPart || Height < room); }
  bool SplitLastPart(int32_t room) override {
    TRPMultiDrawItemPart& last = *PartsList.Part(PartsList.Count() - 1);
    const int32_t rest = last.Height - room;
    if (rest < MinPart || room < MinPart) return false;
    last.Height = room;
    auto part = std::make_unique<TRPMultiDrawItemPart>();
    part->Height = rest;
    PartsList.AddPart(std::move(part));
    return true;
  }
};

// A block that may be split over pages; each part is painted in its own colour
// (Colors[part index]).
class TSplitBlockItem : public TBlockItem {
public:
  using TBlockItem::TBlockItem;
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }
  int32_t MinPart = 20;
  std::vector<TColor> Colors{clRed, clLime, clBlue, clYellow};
  std::unique_ptr<TRPDrawLineInfo> CreatePrintingDrawItem(TCustomRPFormattedData&, const TRPResolution&) override {
    auto d = std::make_unique<TSplitDrawItem>();
    d->MinPart = MinPart;
    return d;
  }
  bool PrintToBitmap(TBitmap& bitmap, bool, TRPColorMode, int32_t part, TRPDrawLineInfo&,
                     TCustomRPFormattedData&) override {
    bitmap.Canvas()->Brush().SetStyle(bsSolid);
    bitmap.Canvas()->Brush().SetColor(Colors[static_cast<size_t>(std::max(part, 0)) % Colors.size()]);
    bitmap.Canvas()->FillRect(TRect{0, 0, bitmap.Width(), bitmap.Height()});
    return true;
  }
};
inline const TRPItemClassInfo TSplitBlockItem::ClassInfo{"TSplitBlockItem", &CreateRPItem<TSplitBlockItem>};

// A report helper with a style sheet (Arial in text style 0), no margins, laid out on a
// 24-bit page of the given width.
struct TReportFixture {
  explicit TReportFixture(int32_t width = 200) : PageWidth(width) {
    Style.TextStyles()[0]->FontName = "Arial";
    Pane().SetStyle(&Style);
    Pane().LeftMargin = Pane().RightMargin = Pane().TopMargin = Pane().BottomMargin = 0;
    Page.SetPixelFormat(pf24bit);
    Page.SetSize(width, 10);
  }
  TRPStyle Style{nullptr};
  TRPReportHelper Helper{nullptr};
  TBitmap Page;
  int32_t PageWidth;

  TReportRichPane& Pane() { return Helper.RichPane(); }
  TReportRPData& Data() { return Helper.ReportData(); }
  int32_t AddParaStyle() {
    Style.ParaStyles().Add();
    return Style.ParaStyles().Count() - 1;
  }
  TParaInfo& Para(int32_t i) { return *Style.ParaStyles()[i]; }
  // A paragraph of blocks, one per line, each as wide as the page.
  void AddBlocks(int32_t paraNo, std::initializer_list<int32_t> heights, TColor color = clBlack) {
    bool first = true;
    for (int32_t h : heights) {
      auto block = std::make_unique<TBlockItem>(&Data(), PageWidth, h, color);
      block->ParaNo = paraNo;
      if (!first) block->SetLineBreakBefore(true);
      Data().AddItemAsIs("", std::move(block));
      first = false;
    }
  }
  TSplitBlockItem& AddSplitBlock(int32_t paraNo, int32_t height, int32_t minPart) {
    auto block = std::make_unique<TSplitBlockItem>(&Data(), PageWidth, height, clRed);
    block->ParaNo = paraNo;
    block->MinPart = minPart;
    TSplitBlockItem& ref = *block;
    Data().AddItemAsIs("", std::move(block));
    return ref;
  }
  // Lays out pages of the given heights (the last repeated) until none is left.
  int32_t Paginate(std::vector<int32_t> heights) {
    Helper.BeginLayout(*Page.Canvas(), PageWidth);
    int32_t calls = 0;
    while (Helper.LayoutNextPage(heights[std::min<size_t>(static_cast<size_t>(calls), heights.size() - 1)])) ++calls;
    return calls;
  }
  // The draw items and page records, one per line.
  std::string Dump() {
    std::ostringstream out;
    TReportRPData& data = Data();
    for (int32_t i = 0; i < data.DrawItems.Count(); ++i) {
      const TRPDrawLineInfo& d = *data.DrawItems[i];
      out << "draw " << i << ": item " << d.ItemNo << " para " << data.GetItemPara(d.ItemNo) << " top " << d.Top
          << " height " << d.Height << (d.StartsLine() ? " line" : "") << "\n";
    }
    for (int32_t p = 1; p <= Helper.GetPagesCount(); ++p) {
      const TRPPageInfo& page = data.Pages.GetItem(p - 1);
      int32_t first = 0, part = 0, last = 0;
      data.GetPageDrawItems(p, first, part, last);
      out << "page " << p << ": top " << page.TopY << " first " << page.FirstDrawItem << " part " << page.FirstPart
          << " continued " << page.ContinuedTopY << " draws " << first << ".." << last << "\n";
    }
    return out.str();
  }
};
