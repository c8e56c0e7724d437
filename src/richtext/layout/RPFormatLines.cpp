// Line boundaries of the formatting pass: starting and finishing lines, alignment,
// justification, line spacing, tabs, and the placing of non-text items.
#include <algorithm>

#include "platform/base/Numbers.h"
#include "richtext/layout/RPLayoutItems.h"
#include "richtext/layout/RPLineBreaker.h"
#include "richtext/layout/RPMultiDrawItemInfo.h"
#include "richtext/model/RPControlItems.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/model/RPUnicodeCanvas.h"

namespace {

constexpr WideChar SpaceChar = 0x20;
constexpr WideChar SoftHyphen = 0x00AD;

}  // namespace

void TRPLineBreaker::StartNewLine(int32_t itemNo, bool soft) {
  if (LineHasItems()) {
    if (soft) TrimLineEnd();
    ResolveTab();
    FinishLine(!soft);
  }
  const TCustomRPItemInfo& item = *GetItem(itemNo);
  const bool wholeLine = item.GetBoolValue(rpibqWholeLine);
  const bool firstLine = FNewPara && !item.GetLineBreakBefore() && !wholeLine;
  if (FNewPara && !item.GetLineBreakBefore()) {
    if (itemNo > 0) FBelow += ScaleY(GetParaStyle(itemNo - 1).SpaceAfter);
    FBelow += ScaleY(GetParaStyle(itemNo).SpaceBefore);
  }
  int32_t left = 0, right = 0;
  FData.GetParaIndents(itemNo, firstLine, left, right);
  const bool noWrap = GetParaStyle(itemNo).Options.Contains(rppaoNoWrap);
  FLineWidth = (noWrap ? FData.DocumentWidth : FData.TextWidth) - ScaleX(right) - ScaleX(left);
  FLineLeft = ScaleX(FData.GetLeftMargin()) + ScaleX(left);
  FX = 0;
  FCharsOnLine = 0;
  FHasAbsItems = false;
  FLineStart = FDrawCount;
  FLastTabOnLine = -1;
  FNewPara = false;
}

void TRPLineBreaker::TrimLineEnd() {
  const int32_t lastNo = FDrawCount - 1;
  TRPDrawLineInfo* d = FDrawItems[lastNo];
  if (!FData.IsTextItem(d->ItemNo) || d->Length == 0) return;
  const TCustomRPItemInfo& item = *GetItem(d->ItemNo);
  const int32_t textStyle = FData.GetItemStyle(d->ItemNo);
  const WideChar lastChar = FData.ItemCharAt(d->ItemNo, d->Offs + d->Length - 2);
  const TRPBiDiMode biDi = FData.GetParaBiDiMode(item.ParaNo);
  if (HasFlag(rpdfTrimSpaces) && !FSpaceSkipped && lastChar == SpaceChar) {
    const bool alone = d->Length == 1 && !d->StartsLine() && lastNo > 0 && FDrawItems[lastNo - 1]->ItemNo == d->ItemNo;
    if (alone) {
      FDrawItems.DeleteItem(lastNo);
      --FDrawCount;
    } else {
      --d->Length;
      FCache->Select(textStyle, biDi);
      AnsiString shown;
      FDrawItems.GetSubString(lastNo, FData, shown);
      d->Width = GetItemTextWidth(
          PrepareDisplayText(shown, item.ItemOptions,
                             FData.GetStyleSheet()->TextStyles()[textStyle]->StyleEx.Contains(rpfsAllCaps), false,
                             false, false),
          FCanvas, item.ItemOptions);
      if (FStyleNo >= 0) FCache->Select(FStyleNo, biDi);
    }
    FSpaceSkipped = true;
    return;
  }
  const bool hyphensShown =
      (FData.GetOptions() & rpoShowSpecialCharacters) != 0 && GetRPVisibleSpecialCharacters().Contains(rpscSoftHyphen);
  if (item.IsUnicode() && lastChar == SoftHyphen && !hyphensShown) {
    d->Width += FCache->Select(textStyle, biDi).HyphenWidth;
    if (FStyleNo >= 0) FCache->Select(FStyleNo, biDi);
  }
}

void TRPLineBreaker::ForgetCanvasStyle() {
  FCache->Forget();
  FStyleNo = -1;
}

void TRPLineBreaker::RaiseLine(int32_t ascent) {
  if (ascent <= FAscent) return;
  const int32_t diff = ascent - FAscent;
  for (int32_t j = FLineStart; j < FDrawCount; ++j) FDrawItems[j]->Top += diff;
  FY += diff;
  FAscent = ascent;
}

void TRPLineBreaker::ResolveTab() {
  if (FPendingTab < 0) return;
  TRPDrawLineInfo& tab = *FDrawItems[FPendingTab];
  const TRPDrawLineInfo& last = *FDrawItems[FDrawCount - 1];
  const int32_t position = std::min(FPendingTabPosition, FLineLeft + FLineWidth);
  const int32_t lastRight = last.Left + last.Width;
  int32_t shift =
      FPendingTabAlign == rptaRight ? position - lastRight : (2 * position - (tab.Left + tab.Width) - lastRight) / 2;
  shift = std::max(shift, 0);
  tab.Width += shift;
  for (int32_t j = FPendingTab + 1; j < FDrawCount; ++j) FDrawItems[j]->Left += shift;
  FX += shift;
  FPendingTab = -1;
}

void TRPLineBreaker::FinishLine(bool paraEnd) {
  if (!LineHasItems()) return;
  const int32_t lineStart = FLineStart;
  const TRPDrawLineInfo& last = *FDrawItems[FDrawCount - 1];
  if (GetItem(last.ItemNo)->GetBoolValue(rpibqWholeLine)) return;
  const TParaInfo& para = GetParaStyle(last.ItemNo);
  TRPAlignment align = para.Alignment;
  if (align == rpaJustify && FData.GetEffectiveParaBiDiMode(last.ItemNo) != rpbdUnspecified) align = rpaLeft;
  const int32_t free = FLineLeft + FLineWidth - (last.Left + last.Width);
  int32_t extraBelow = 0;
  if (FHasAbsItems) PlaceLineAlignedItems(lineStart, extraBelow);
  int32_t extra = 0;
  if (para.LineSpacingType == rplsSpaceBetween && para.LineSpacing >= 0) {
    extra = ScaleY(para.LineSpacing);
  } else if (para.LineSpacingType == rplsPercent && para.LineSpacing >= 50) {
    bool any = false;
    int32_t top = 0, bottom = 0;
    for (int32_t j = lineStart; j < FDrawCount; ++j) {
      const TRPDrawLineInfo& d = *FDrawItems[j];
      if (!FData.IsTextItem(d.ItemNo)) continue;
      top = any ? std::min(top, d.Top) : d.Top;
      bottom = any ? std::max(bottom, d.Top + d.Height) : d.Top + d.Height;
      any = true;
    }
    if (any) extra = (bottom - top) * (para.LineSpacing - 100) / 100;
  }
  for (int32_t j = lineStart; j < FDrawCount; ++j) FDrawItems[j]->LineSpacingExtra = extra;
  FLineExtra = extra + extraBelow;
  if (align == rpaJustify && !paraEnd) {
    JustifyLine(lineStart, free);
  } else {
    int32_t shift = 0;
    if (align == rpaRight) shift = free;
    if (align == rpaCenter) shift = std::max(free / 2, 0);
    if (shift != 0)
      for (int32_t j = lineStart; j < FDrawCount; ++j) FDrawItems[j]->Left += shift;
  }
  ReorderBiDiLine(lineStart);
}

void TRPLineBreaker::JustifyLine(int32_t lineStart, int32_t free) {
  const int32_t stop = std::max(lineStart, FLastTabOnLine);
  int32_t gaps = 0;
  for (int32_t j = FDrawCount - 1; j > stop; --j) {
    const TRPDrawLineInfo& d = *FDrawItems[j];
    if (FData.IsTextItem(d.ItemNo) && d.Length > 0 && FData.ItemCharAt(d.ItemNo, d.Offs - 1) == SpaceChar) ++gaps;
  }
  if (gaps > 0 && free > 0) {
    // Each gap takes its share of what is left: 10 pixels over 3 gaps are 3, 3, 4.
    int32_t left = free;
    int32_t count = gaps;
    for (int32_t j = stop + 1; j < FDrawCount; ++j) {
      TRPDrawLineInfo& d = *FDrawItems[j];
      if (!FData.IsTextItem(d.ItemNo) || d.Length == 0 || FData.ItemCharAt(d.ItemNo, d.Offs - 1) != SpaceChar) continue;
      const int32_t share = left / count;
      d.Width += share;
      d.JustifyExtra = share;
      left -= share;
      --count;
    }
  }
  for (int32_t j = lineStart + 1; j < FDrawCount; ++j)
    FDrawItems[j]->Left = FDrawItems[j - 1]->Left + FDrawItems[j - 1]->Width;
}

void TRPLineBreaker::PlaceLineAlignedItems(int32_t lineStart, int32_t& extraBelow) {
  const auto vAlignOf = [&](const TRPDrawLineInfo& d) {
    const auto* rect = dynamic_cast<const TRPRectItemInfo*>(GetItem(d.ItemNo));
    return rect ? rect->VAlign : rpvaBaseline;
  };
  int32_t top = FY - FAscent, bottom = FY + FBelow;
  for (int32_t j = lineStart; j < FDrawCount; ++j) {
    const TRPDrawLineInfo& d = *FDrawItems[j];
    if (vAlignOf(d) >= rpvaAbsTop) continue;
    top = std::min(top, d.Top);
    bottom = std::max(bottom, d.Top + d.Height);
  }
  int32_t highest = top, lowest = bottom;
  for (int32_t j = lineStart; j < FDrawCount; ++j) {
    TRPDrawLineInfo& d = *FDrawItems[j];
    switch (vAlignOf(d)) {
      case rpvaAbsTop:
        d.Top = top;
        break;
      case rpvaAbsBottom:
        d.Top = bottom - d.Height;
        break;
      case rpvaAbsMiddle:
        d.Top = (top + bottom - d.Height) / 2;
        break;
      default:
        continue;
    }
    highest = std::min(highest, d.Top);
    lowest = std::max(lowest, d.Top + d.Height);
  }
  if (highest < top) {
    const int32_t diff = top - highest;
    for (int32_t j = lineStart; j < FDrawCount; ++j) FDrawItems[j]->Top += diff;
    FY += diff;
    lowest += diff;
    bottom += diff;
  }
  extraBelow = std::max(lowest - bottom, 0);
}

void TRPLineBreaker::FormatNonTextItem(int32_t itemNo) {
  if (GetItem(itemNo)->GetBoolValue(rpibqWholeLine))
    FormatFullLineItem(itemNo);
  else
    FormatRectItem(itemNo);
}

void TRPLineBreaker::FormatFullLineItem(int32_t itemNo) {
  if (LineHasItems()) {
    ResolveTab();
    FinishLine(true);
  }
  FY += FLineExtra;
  FLineExtra = 0;
  TCustomRPItemInfo& item = *GetItem(itemNo);
  const TParaInfo& para = GetParaStyle(itemNo);
  if (itemNo > 0) FBelow += ScaleY(GetParaStyle(itemNo - 1).SpaceAfter);
  FBelow += ScaleY(para.SpaceBefore);
  auto d = FData.CreateDrawItem(itemNo);
  d->ItemNo = itemNo;
  d->FromNewLine = 255;
  if (item.StyleNo == rpkindBreak) {
    FBelow += ScaleY(FData.GetStyleSheet()->ParaStyles()[0]->SpaceBefore);
    const int32_t half = MulDiv(5, FData.Resolution().DevicePpiY, FData.Resolution().ScreenPpiY);
    d->Left = ScaleX(FData.GetLeftMargin());
    d->Top = FY + FBelow;
    d->Width = FData.TextWidth;
    d->Height = 2 * half + 1;
    FY += half + FBelow + 1;
    FBelow = half;
    FAscent = half;
  } else {
    const int32_t avail = FData.TextWidth - ScaleX(para.LeftIndent + para.RightIndent);
    int32_t offset = 0;
    if (auto* layout = dynamic_cast<IRPLayoutItem*>(&item)) {
      layout->FormatForWidth(avail, *FCanvas, FData, FItemFlag1, FItemFlag2, offset);
      ForgetCanvasStyle();
    }
    const auto* sized = dynamic_cast<const TRPNonTextItemInfo*>(&item);
    // A printing draw item that sizes itself from the item's own layout keeps its size.
    d->SetSize(sized ? ScaleX(sized->GetWidth()) : 0, sized ? ScaleY(sized->GetHeight()) : 0);
    int32_t left = ScaleX(para.LeftIndent) + ScaleX(FData.GetLeftMargin());
    if (para.Alignment == rpaRight) left += avail - d->Width;
    if (para.Alignment == rpaCenter) left += std::max((avail - d->Width) / 2, 0);
    d->Left = left + offset;
    d->Top = FY + FBelow;
    FY += FBelow + d->Height;
    FAscent = d->Height;
    FBelow = 0;
  }
  FLineStart = FDrawCount;
  FX = 0;
  FCharsOnLine = 0;
  FNewPara = true;
  const int32_t drawNo = FDrawCount;
  InsertDrawItem(std::move(d));
  if (HasFlag(rpdfUseJumps))
    if (auto* areas = dynamic_cast<IRPJumpAreasItem*>(&item)) {
      const size_t from = FData.Jumps.size();
      areas->AddJumpAreas(FData, drawNo, FData.FNextJumpNo, FData.Jumps);
      for (size_t j = from; j < FData.Jumps.size(); ++j) FData.Jumps[j]->HolderDrawNo = drawNo;
    }
}

void TRPLineBreaker::FormatRectItem(int32_t itemNo) {
  TCustomRPItemInfo& item = *GetItem(itemNo);
  const auto* rect = dynamic_cast<const TRPRectItemInfo*>(&item);
  auto* tab = dynamic_cast<TRPTabItemInfo*>(&item);
  const TParaInfo& para = GetParaStyle(itemNo);
  TRPStyle& style = *FData.GetStyleSheet();
  TRPResolution tabResolution = FData.Resolution();
  tabResolution.LeftMargin = ScaleX(FData.GetLeftMargin());
  const int32_t tabAreaLeft = ScaleX(para.LeftIndent);
  const int32_t tabAreaRight = FData.TextWidth - ScaleX(para.RightIndent);
  const TRPBiDiMode biDi = FData.GetParaBiDiMode(item.ParaNo);
  int32_t width = 0, height = 0, descent = 0, offset = 0;
  int32_t tabPosition = 0;
  AnsiString leader;
  TRPTabAlign tabAlign = rptaLeft;
  if (tab) {
    ResolveTab();
    tab->UpdateSizeForWidth(*FCanvas, style, height, descent);
    ForgetCanvasStyle();
    const int32_t current = FLineLeft + FX;
    const int32_t lineRight = FLineLeft + FLineWidth;
    style.GetNextTab(item.ParaNo, current, tabResolution, tabPosition, leader, tabAlign, biDi, tabAreaLeft,
                     tabAreaRight);
    if (tabAlign == rptaLeft || tabPosition > lineRight)
      width = tabPosition - current;
    else
      width = tabAlign == rptaRight ? 0 : std::max(2 * tabPosition - current - lineRight, 0);
  } else if (auto* marker = dynamic_cast<TRPMarkerItemInfo*>(&item)) {
    // Measured on the formatting canvas: device pixels already; the offset moves the
    // marker's box left of the line position by the part of it before MarkerIndent.
    const TRPResolution resolution = FData.Resolution();
    marker->UpdateSizeForWidth(*FCanvas, FData, &resolution, width, height, descent, offset);
    ForgetCanvasStyle();
  } else {
    if (auto* layout = dynamic_cast<IRPLayoutItem*>(&item)) {
      layout->FormatForWidth(FData.TextWidth - ScaleX(para.LeftIndent + para.RightIndent + para.FirstIndent), *FCanvas,
                             FData, FItemFlag1, FItemFlag2, offset);
      ForgetCanvasStyle();
    }
    if (const auto* sized = dynamic_cast<const TRPNonTextItemInfo*>(&item)) {
      width = ScaleX(sized->GetWidth());
      height = ScaleY(sized->GetHeight());
    }
    descent = rect ? ScaleY(rect->GetDescent()) : 0;
    // A control with a percent width takes its share of the paragraph's width.
    if (const auto* control = dynamic_cast<const TRPControlItemInfo*>(&item); control && control->HasPercentWidth()) {
      const int32_t avail = FData.TextWidth - ScaleX(para.LeftIndent + para.RightIndent + para.FirstIndent);
      control->UpdateSizeForWidth(avail, false, &FData.Resolution(), width, height, descent, offset);
    }
  }
  int32_t shift = 0;
  const int32_t associated = item.GetAssociatedTextStyleNo();
  if (associated >= 0)
    shift = height * style.TextStyles()[ResolveTextStyleNo(associated, item.ParaNo, &style)]->VShift / 100;
  else if (rect)
    shift = rect->VShiftAbs ? ScaleY(rect->VShift) : height * rect->VShift / 100;
  const TRPVAlign vAlign = rect ? rect->VAlign : rpvaBaseline;
  const bool lineAligned = vAlign >= rpvaAbsTop;
  const int32_t above = vAlign == rpvaBaseline ? height - descent : vAlign == rpvaMiddle ? height / 2 : 0;

  auto d = FData.CreateDrawItem(itemNo);
  d->ItemNo = itemNo;
  d->Height = height;
  const int32_t maxLength = FData.GetMaxLength();
  const bool afterMarker = itemNo > 0 && GetItem(itemNo - 1)->StyleNo == rpkindListMarker;
  // A draw item that may be split over pages always starts a line.
  const bool continues =
      item.GetContinuesLine() && FLineStart >= 0 && !dynamic_cast<const TRPMultiDrawItemInfo*>(d.get());
  const bool fits = (FX + width <= FLineWidth && (maxLength <= 0 || FCharsOnLine != maxLength)) ||
                    para.Options.Contains(rppaoNoWrap) || afterMarker;
  if (continues && fits) {
    RaiseLine(above + shift);
    d->Top = FY - above - shift;
    if (!lineAligned) FBelow = std::max(FBelow, height - above - shift);
    ++FCharsOnLine;
  } else {
    if (!continues) FNewPara = true;
    StartNewLine(itemNo, !FNewPara);
    d->FromNewLine = 255;
    FY += FLineExtra;
    FLineExtra = 0;
    d->Top = FY + FBelow;
    FAscent = above + shift;
    FY += FBelow + FAscent;
    FBelow = lineAligned ? 0 : height - FAscent;
    FCharsOnLine = 1;
  }
  if (lineAligned) FHasAbsItems = true;
  d->Left = FLineLeft + FX + offset;
  if (tab) {
    const int32_t lineRight = FLineLeft + FLineWidth;
    style.GetNextTab(item.ParaNo, d->Left, tabResolution, tabPosition, leader, tabAlign, biDi, tabAreaLeft,
                     tabAreaRight);
    tab->Leader = leader;
    width = tabAlign == rptaLeft    ? tabPosition - d->Left
            : tabAlign == rptaRight ? 0
                                    : std::max(2 * tabPosition - d->Left - lineRight, 0);
    if (tabAlign != rptaLeft) {
      FPendingTab = FDrawCount;
      FPendingTabAlign = tabAlign;
      FPendingTabPosition = tabPosition;
    }
    FLastTabOnLine = FDrawCount;
  }
  d->Width = width;
  FX = d->Left - FLineLeft + width;
  const int32_t drawNo = FDrawCount;
  const TRPDrawLineInfo& placed = *d;
  InsertDrawItem(std::move(d));
  if (HasFlag(rpdfUseJumps) && item.GetBoolValueEx(rpibqxJump, &style))
    AddJump(itemNo, placed, drawNo, static_cast<int16_t>(style.JumpCursor));
}
