// Painting one page: the page background, then each draw item the page shows (whole,
// or one part of a split item) with paragraph decoration, hyperlink and checkpoint
// notifications, in the document's colour mode. Canvas Y = document Y - PageTop; a page
// that begins with a continued part places the draw items after it with the second page
// top.
#include <algorithm>

#include "platform/base/ScopeExit.h"
#include "richtext/layout/RPBackground.h"
#include "richtext/layout/RPMultiDrawItemInfo.h"
#include "richtext/layout/print/RPModelItemPrinting.h"
#include "richtext/layout/print/RPPrintItems.h"
#include "richtext/layout/print/RPPrintableData.h"
#include "richtext/layout/view/RichPane.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPGraphicHelpers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/model/RPUnicode.h"

int32_t TCustomPrintableRPData::DecorationBottom(int32_t j, int32_t lastDrawNo) const {
  const TRPDrawLineInfo& d = *DrawItems[j];
  const auto* multi = dynamic_cast<const TRPMultiDrawItemInfo*>(&d);
  // The page's last draw item, split, shows only its first part.
  if (j == lastDrawNo && multi && multi->PartsList.Count() > 0) return d.Top + multi->PartsList.Part(0)->Height;
  return d.Top + d.Height + d.LineSpacingExtra;
}

void TCustomPrintableRPData::PaintPageBackground(TCanvas& canvas, int32_t pageNo, const TRPResolution& resolution,
                                                 bool preview, bool correction) {
  const int32_t w = DeviceToScreenX(GetWidth(), resolution), h = DeviceToScreenY(GetHeight(), resolution);
  TRPBackground* background = GetPageBackground();
  if (background && background->Style != bsNoBitmap && background->GetImage() && !background->GetImage()->Empty()) {
    // A page does not scroll: a background that scrolls with the text is tiled.
    if (background->Style == bsTiledAndScrolled) background->Style = bsTiled;
    FPageBackground = std::make_unique<TBitmap>();
    FPageBackground->SetPixelFormat(pf24bit);
    FPageBackground->SetSize(w, h);
    background->Draw(*FPageBackground->Canvas(), TRect{0, 0, w, h}, 0, 0, 0, 0, w, h, GetColor(), false);
    DrawGraphicOnDevice(canvas, GetAreaLeft(pageNo), GetAreaTop(), false, *FPageBackground, resolution, -1, -1);
  } else if (!NoFill && GetColor() != clNone) {
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(ApplyColorModeToBackColor(GetColor(), GetColorMode()));
    canvas.Pen().SetStyle(psClear);
    canvas.FillRect(Bounds(GetAreaLeft(pageNo), GetAreaTop(), GetWidth(), GetHeight()));
    canvas.Pen().SetStyle(psSolid);
    canvas.Brush().SetStyle(bsClear);
  }
  AfterPageBackground(canvas, pageNo, preview, correction);
}

void TCustomPrintableRPData::PaintParagraphDecoration(TCanvas& canvas, int32_t i, int32_t firstDrawNo,
                                                      int32_t lastDrawNo, int32_t part, int32_t pageTop,
                                                      int32_t areaLeft, const TRPResolution& resolution) {
  TRPStyle& style = *GetStyleSheet();
  const int32_t paraNo = GetItemPara(DrawItems[i]->ItemNo);
  const TParaInfo& para = *style.ParaStyles()[paraNo];
  if (para.Border.Style == rpbNone && para.Background.Color == clNone && !style.OnDrawParaBack) return;
  TRect r;
  r.Left = areaLeft + ScreenToDeviceX(GetLeftMargin() + para.LeftIndent, resolution);
  if (para.FirstIndent < 0) r.Left += ScreenToDeviceX(para.FirstIndent, resolution);
  r.Right = areaLeft + GetWidth() - ScreenToDeviceX(GetRightMargin() + para.RightIndent, resolution);
  const TRPDrawLineInfo& d = *DrawItems[i];
  if (i == firstDrawNo && part >= 0) {
    r.Top = 0;
    r.Bottom = static_cast<const TRPMultiDrawItemInfo&>(d).PartsList.Part(part)->Height;
  } else {
    r.Top = d.Top;
    r.Bottom = DecorationBottom(i, lastDrawNo);
  }
  // Grown over the paragraph's following draw items on the page.
  for (int32_t j = i + 1; j <= lastDrawNo; ++j) {
    const TRPDrawLineInfo& next = *DrawItems[j];
    if (next.ItemNo != DrawItems[j - 1]->ItemNo && StartsParagraph(next.ItemNo)) break;
    r.Top = std::min(r.Top, next.Top);
    r.Bottom = std::max(r.Bottom, DecorationBottom(j, lastDrawNo));
  }
  r.Top -= pageTop;
  r.Bottom -= pageTop;
  TRect back = r;
  para.Background.PrepareRectOnDevice(back, resolution);
  style.DrawParaBack(canvas, paraNo, back, true, GetColorMode());
  para.Border.DrawOnDevice(r, canvas, resolution, GetColorMode());
}

void TCustomPrintableRPData::PaintPageText(TCanvas& canvas, int32_t i, int32_t pageTop, int32_t areaLeft,
                                           const TRPResolution& resolution, bool preview, bool correction) {
  TRPStyle& style = *GetStyleSheet();
  const TRPDrawLineInfo& d = *DrawItems[i];
  const TCustomRPItemInfo& item = *GetItem(d.ItemNo);
  const int32_t textStyle = GetItemStyle(d.ItemNo);
  const TFontInfo& font = *style.TextStyles()[textStyle];
  const TRPBiDiMode biDi = GetParaBiDiMode(item.ParaNo);
  style.ApplyStyleColor(canvas, textStyle, TRPTextDrawStates{}, true, GetColorMode());
  style.ApplyStyle(canvas, textStyle, biDi, Control().UsesStylePixelsPerInch());
  if (font.BiDiMode == rpbdUnspecified && biDi == rpbdUnspecified && font.CharSpacing != 0)
    SetTextCharacterExtra(canvas.Handle(), ScreenToDeviceX(font.CharSpacing, resolution));
  const int32_t left = d.Left + areaLeft, top = d.Top - pageTop;
  if (style.OnDrawTextBack)
    style.DrawTextBack(canvas, d.ItemNo, textStyle, this, left, top, d.Width, d.Height, TRPTextDrawStates{});
  AnsiString shown;
  DrawItems.GetSubString(i, *this, shown);
  // Where the line wraps after the draw item, its last soft hyphen is drawn as a hyphen
  // (formatting widened the draw item for it).
  shown = PrepareDisplayText(shown, item.ItemOptions, font.StyleEx.Contains(rpfsAllCaps), IsLineWrappedAfter(i), false,
                             false);
  style.DrawStyleText(shown, canvas, d.ItemNo, d.Offs, textStyle, this, d.JustifyExtra, left, top + d.FallbackAscent,
                      d.Width, d.Height - d.FallbackAscent, TRPTextDrawStates{}, true, preview && correction,
                      GetColorMode(), biDi);
}

void TCustomPrintableRPData::PaintPageItem(TCanvas& canvas, int32_t i, int32_t part, int32_t firstDrawNo,
                                           int32_t pageTop, int32_t areaLeft, const TRPResolution& resolution,
                                           bool preview, bool correction) {
  TRPStyle& style = *GetStyleSheet();
  TRPDrawLineInfo& d = *DrawItems[i];
  TCustomRPItemInfo& item = *GetItem(d.ItemNo);
  CurrentY = part > 0 || (part == 0 && i == firstDrawNo) ? -pageTop : d.Top - pageTop;
  const int32_t areaRight = GetWidth() + areaLeft - ScreenToDeviceX(GetRightMargin(), resolution);
  auto* printable = dynamic_cast<IRPPrintableItem*>(&item);
  if (item.GetBoolValueEx(rpibqxPrintAsBitmap, &style)) {
    if (!printable && !IsModelBitmapItem(item)) return;
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    const int32_t height =
        part >= 0 ? DeviceToScreenY(static_cast<TRPMultiDrawItemInfo&>(d).PartsList.Part(part)->Height, resolution)
                  : item.GetImageHeight(&style);
    const int32_t width =
        item.GetBoolValue(rpibqWholeLine)
            ? DeviceToScreenX(GetWidth() - ScreenToDeviceX(GetRightMargin(), resolution) - d.Left, resolution)
            : item.GetImageWidth(&style);
    bitmap.SetSize(width, height);
    FillItemBackground(DeviceToScreenX(d.Left, resolution) + item.GetBorderWidth(),
                       DeviceToScreenY(CurrentY - GetAreaTop(), resolution) + item.GetBorderHeight(), false, -1,
                       resolution, bitmap);
    if (printable ? printable->PrintToBitmap(bitmap, preview, GetColorMode(), part, d, *this)
                  : PrintModelItemToBitmap(item, bitmap, preview, part, d, GetColorMode(), &style, *this))
      DrawGraphicOnDevice(canvas, d.Left + areaLeft + ScreenToDeviceX(item.GetBorderWidth(), resolution),
                          CurrentY + ScreenToDeviceY(item.GetBorderHeight(), resolution), false, bitmap, resolution, -1,
                          -1);
  } else if (const auto* brk = dynamic_cast<const TRPBreakItemInfo*>(&item)) {
    brk->Print(canvas, d.Left + areaLeft, areaRight, CurrentY, resolution, GetColorMode(), style);
  } else if (const auto* tab = dynamic_cast<const TRPTabItemInfo*>(&item)) {
    tab->DrawTab(canvas, d.Left + areaLeft, CurrentY, d.Width, d.Height, style, TRPTextDrawStates{}, true,
                 GetColorMode(), GetParaBiDiMode(item.ParaNo) == rpbdRightToLeft);
  } else if (printable) {
    printable->Print(canvas, d.Left + areaLeft, CurrentY, item.GetBoolValue(rpibqWholeLine) ? areaRight : areaLeft,
                     *this, GetColorMode(), part, d, resolution, preview, correction);
  } else {
    PrintModelItem(item, canvas, d.Left + areaLeft, CurrentY, GetColorMode(), &style, resolution);
  }
}

void TCustomPrintableRPData::FillItemBackground(int32_t x, int32_t y, bool useOffsets, int32_t itemBackground,
                                                const TRPResolution& resolution, TBitmap& bitmap) {
  if (useOffsets && CurrentDrawItem) {
    x += DeviceToScreenX(CurrentDrawItem->Left, resolution);
    y += DeviceToScreenY(CurrentY - GetAreaTop(), resolution);
  }
  FillBelowItem(x, y, resolution, bitmap);
  FillCurrentItemBackground(x, y, itemBackground, resolution, bitmap);
}

TColor TCustomPrintableRPData::CurrentParaColor() const {
  return CurrentDrawItem ? GetParaStyle(CurrentDrawItem->ItemNo).Background.Color : static_cast<TColor>(clNone);
}

void TCustomPrintableRPData::FillBelowItem(int32_t x, int32_t y, const TRPResolution&, TBitmap& bitmap) {
  const TColor paraColor = CurrentParaColor();
  TCanvas& target = *bitmap.Canvas();
  const TRect all{0, 0, bitmap.Width(), bitmap.Height()};
  if (paraColor == clNone && FPageBackground) {
    target.CopyRect(all, FPageBackground->Canvas(), Bounds(x, y, bitmap.Width(), bitmap.Height()));
  } else {
    TColor color = paraColor != clNone ? paraColor : GetColor();
    if (color == clNone) color = clWhite;
    target.Brush().SetStyle(bsSolid);
    target.Brush().SetColor(color);
    target.FillRect(all);
  }
}

void TCustomPrintableRPData::FillCurrentItemBackground(int32_t x, int32_t y, int32_t itemBackground,
                                                       const TRPResolution& resolution, TBitmap& bitmap) {
  if (itemBackground == 0 || !CurrentDrawItem) return;
  TCanvas& target = *bitmap.Canvas();
  const TRect all{0, 0, bitmap.Width(), bitmap.Height()};
  auto* item = dynamic_cast<IRPPrintableItem*>(GetItem(CurrentDrawItem->ItemNo));
  if (!item) return;
  // The draw item's box relative to (x, y), in the bitmap's screen pixels.
  const TRect area = Bounds(
      DeviceToScreenX(CurrentDrawItem->Left, resolution) - x, DeviceToScreenY(CurrentY - GetAreaTop(), resolution) - y,
      DeviceToScreenX(CurrentDrawItem->Width, resolution), DeviceToScreenY(CurrentDrawItem->Height, resolution));
  item->DrawBackground(target, all, itemBackground, GetColorMode(), area);
}

void TCustomPrintableRPData::DrawPage(int32_t pageNo, TCanvas& canvas, bool preview, bool correction) {
  CurrentPageNo = pageNo;
  const TScopeExit clearPaintingState([this] {
    FPageBackground.reset();
    CurrentDrawItem = nullptr;
  });
  TRPStyle* style = GetStyleSheet();
  if (!style) throw ERichPaneError("Style of printable TRichPane component is not assigned");
  const TRPResolution resolution = GetResolutions(canvas);
  int32_t firstDrawNo = 0, part = -1, lastDrawNo = -1;
  GetPageDrawItems(pageNo, firstDrawNo, part, lastDrawNo);
  int32_t pageTop = GetPageTop(pageNo);
  const int32_t areaLeft = GetAreaLeft(pageNo);
  canvas.Brush().SetStyle(bsClear);
  PaintPageBackground(canvas, pageNo, resolution, preview, correction);
  for (int32_t i = firstDrawNo; i <= lastDrawNo; ++i) {
    TRPDrawLineInfo& d = *DrawItems[i];
    CurrentDrawItem = &d;
    TCustomRPItemInfo& item = *GetItem(d.ItemNo);
    const auto* multi = dynamic_cast<const TRPMultiDrawItemInfo*>(&d);
    if (i == lastDrawNo && lastDrawNo != firstDrawNo && multi && multi->PartsList.Count() > 0) part = 0;
    const bool paraStart = i == firstDrawNo || (d.ItemNo != DrawItems[i - 1]->ItemNo && StartsParagraph(d.ItemNo));
    if (paraStart && item.StyleNo != rpkindBreak)
      PaintParagraphDecoration(canvas, i, firstDrawNo, lastDrawNo, part, pageTop, areaLeft, resolution);
    if (item.GetBoolValueEx(rpibqxJump, style))
      DoDrawHyperlink(GetSourceRPData(), d.ItemNo, Bounds(d.Left + areaLeft, d.Top - pageTop, d.Width, d.Height));
    if (item.Checkpoint && IsItemStartDrawItem(i) && part <= 0) {
      CurrentY = part == 0 && i == firstDrawNo ? -pageTop : d.Top - pageTop;
      DoDrawCheckpoint(GetSourceRPData(), d.ItemNo, d.Left + areaLeft, CurrentY);
      if ((GetOptions() & rpoShowCheckpoints) != 0)
        style->DrawCheckpoint(canvas, d.Left + areaLeft, CurrentY, areaLeft, GetWidth(), this, d.ItemNo, 0,
                              item.Checkpoint->RaiseEvent, nullptr);
    }
    if (IsTextItem(d.ItemNo)) {
      PaintPageText(canvas, i, pageTop, areaLeft, resolution, preview, correction);
      continue;
    }
    PaintPageItem(canvas, i, part, firstDrawNo, pageTop, areaLeft, resolution, preview, correction);
    if (part != -1) {
      if (i == firstDrawNo) pageTop = GetPageTopForPart(pageNo);
      part = -1;
    }
  }
  AfterPageContents(canvas, pageNo, preview);
}
