// Line boundaries of the formatting pass: starting and finishing lines, alignment,
// justification, line spacing, tabs, and the placing of non-text items.
#include <algorithm>

#include "platform/base/Numbers.h"
#include "richtext/layout/RPFormatCursor.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/layout/RPLayoutItems.h"
#include "richtext/layout/RPMultiDrawItemInfo.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/model/RPUnicodeCanvas.h"

namespace {

constexpr WideChar SpaceChar = 0x20;
constexpr WideChar SoftHyphen = 0x00AD;

}  // namespace

const TParaInfo& TCustomRPFormattedData::GetParaStyle(int32_t itemNo) const {
  return *GetStyleSheet()->ParaStyles()[GetItemPara(itemNo)];
}

WideChar TCustomRPFormattedData::ItemCharAt(int32_t itemNo, int32_t index) const {
  const AnsiString& raw = GetItemTextRaw(itemNo);
  if (!GetItem(itemNo)->IsUnicode()) return static_cast<uint8_t>(raw[static_cast<size_t>(index)]);
  const size_t at = static_cast<size_t>(index) * 2;
  return static_cast<WideChar>(static_cast<uint8_t>(raw[at]) | (static_cast<uint8_t>(raw[at + 1]) << 8));
}

void TCustomRPFormattedData::FormatItems(int32_t first, int32_t last, TRPFormatCursor& c) {
  for (int32_t i = first; i <= last; ++i) {
    if (GetItem(i)->StyleNo < 0)
      FormatNonTextItem(i, c);
    else if (GetParaStyle(i).Alignment == rpaJustify)
      FormatJustifiedText(i, c);
    else {
      LoadItemText(i, c);
      FormatText(i, 1, c.Text.Length, false, c);
    }
  }
}

void TCustomRPFormattedData::InsertDrawItem(std::unique_ptr<TRPDrawLineInfo> d, TRPFormatCursor& c) {
  DrawItems.InsertItem(c.DrawCount, std::move(d));
  ++c.DrawCount;
}

void TCustomRPFormattedData::GetParaIndents(int32_t itemNo, bool firstLine, int32_t& left, int32_t& right) const {
  const TParaInfo& para = GetParaStyle(itemNo);
  left = para.LeftIndent + (firstLine ? para.FirstIndent : 0);
  right = para.RightIndent;
  const int32_t paraStart = GetParaStartItem(itemNo);
  const auto* marker = GetItem(paraStart)->StyleNo == rpkindListMarker
                           ? dynamic_cast<const IRPListMarkerLevel*>(GetItem(paraStart))
                           : nullptr;
  int32_t levelLeft = 0, levelFirst = 0, markerIndent = 0;
  if (!marker || !marker->GetLevelIndents(levelLeft, levelFirst, markerIndent)) return;
  const int32_t levelSide = itemNo == paraStart ? markerIndent : levelLeft;
  if (para.BiDiMode == rpbdRightToLeft) {
    left = para.LeftIndent;
    right = levelSide;
  } else {
    left = levelSide;
  }
}

void TCustomRPFormattedData::StartNewLine(int32_t itemNo, bool soft, TRPFormatCursor& c) {
  if (c.LineHasItems()) {
    if (soft) TrimLineEnd(c);
    ResolveTab(c);
    FinishLine(!soft, c);
  }
  const TCustomRPItemInfo& item = *GetItem(itemNo);
  const bool wholeLine = item.GetBoolValue(rpibqWholeLine);
  const bool firstLine = c.NewPara && !item.GetLineBreakBefore() && !wholeLine;
  if (c.NewPara && !item.GetLineBreakBefore()) {
    if (itemNo > 0) c.Below += ScaleY(GetParaStyle(itemNo - 1).SpaceAfter);
    c.Below += ScaleY(GetParaStyle(itemNo).SpaceBefore);
  }
  int32_t left = 0, right = 0;
  GetParaIndents(itemNo, firstLine, left, right);
  const bool noWrap = GetParaStyle(itemNo).Options.Contains(rppaoNoWrap);
  c.LineWidth = (noWrap ? DocumentWidth : TextWidth) - ScaleX(right) - ScaleX(left);
  c.LineLeft = ScaleX(GetLeftMargin()) + ScaleX(left);
  c.X = 0;
  c.CharsOnLine = 0;
  c.HasAbsItems = false;
  c.LineStart = c.DrawCount;
  c.LastTabOnLine = -1;
  c.NewPara = false;
}

void TCustomRPFormattedData::TrimLineEnd(TRPFormatCursor& c) {
  const int32_t lastNo = c.DrawCount - 1;
  TRPDrawLineInfo* d = DrawItems[lastNo];
  if (!IsTextItem(d->ItemNo) || d->Length == 0) return;
  const TCustomRPItemInfo& item = *GetItem(d->ItemNo);
  const int32_t textStyle = GetItemStyle(d->ItemNo);
  const WideChar lastChar = ItemCharAt(d->ItemNo, d->Offs + d->Length - 2);
  const TRPBiDiMode biDi = GetParaBiDiMode(item.ParaNo);
  if (HasFlag(rpdfTrimSpaces) && !c.SpaceSkipped && lastChar == SpaceChar) {
    const bool alone = d->Length == 1 && !d->StartsLine() && lastNo > 0 && DrawItems[lastNo - 1]->ItemNo == d->ItemNo;
    if (alone) {
      DrawItems.DeleteItem(lastNo);
      --c.DrawCount;
    } else {
      --d->Length;
      c.Cache->Select(textStyle, biDi);
      AnsiString shown;
      DrawItems.GetSubString(lastNo, *this, shown);
      d->Width =
          GetItemTextWidth(PrepareDisplayText(shown, item.ItemOptions,
                                              GetStyleSheet()->TextStyles()[textStyle]->StyleEx.Contains(rpfsAllCaps),
                                              false, false, false),
                           c.Canvas, item.ItemOptions);
      if (c.StyleNo >= 0) c.Cache->Select(c.StyleNo, biDi);
    }
    c.SpaceSkipped = true;
    return;
  }
  const bool hyphensShown =
      (GetOptions() & rpoShowSpecialCharacters) != 0 && GetRPVisibleSpecialCharacters().Contains(rpscSoftHyphen);
  if (item.IsUnicode() && lastChar == SoftHyphen && !hyphensShown) {
    d->Width += c.Cache->Select(textStyle, biDi).HyphenWidth;
    if (c.StyleNo >= 0) c.Cache->Select(c.StyleNo, biDi);
  }
}

void TCustomRPFormattedData::ForgetCanvasStyle(TRPFormatCursor& c) {
  c.Cache->Forget();
  c.StyleNo = -1;
}

void TCustomRPFormattedData::RaiseLine(int32_t ascent, TRPFormatCursor& c) {
  if (ascent <= c.Ascent) return;
  const int32_t diff = ascent - c.Ascent;
  for (int32_t j = c.LineStart; j < c.DrawCount; ++j) DrawItems[j]->Top += diff;
  c.Y += diff;
  c.Ascent = ascent;
}

void TCustomRPFormattedData::ResolveTab(TRPFormatCursor& c) {
  if (c.PendingTab < 0) return;
  TRPDrawLineInfo& tab = *DrawItems[c.PendingTab];
  const TRPDrawLineInfo& last = *DrawItems[c.DrawCount - 1];
  const int32_t position = std::min(c.PendingTabPosition, c.LineLeft + c.LineWidth);
  const int32_t lastRight = last.Left + last.Width;
  int32_t shift =
      c.PendingTabAlign == rptaRight ? position - lastRight : (2 * position - (tab.Left + tab.Width) - lastRight) / 2;
  shift = std::max(shift, 0);
  tab.Width += shift;
  for (int32_t j = c.PendingTab + 1; j < c.DrawCount; ++j) DrawItems[j]->Left += shift;
  c.X += shift;
  c.PendingTab = -1;
}

void TCustomRPFormattedData::FinishLine(bool paraEnd, TRPFormatCursor& c) {
  if (!c.LineHasItems()) return;
  const int32_t lineStart = c.LineStart;
  const TRPDrawLineInfo& last = *DrawItems[c.DrawCount - 1];
  if (GetItem(last.ItemNo)->GetBoolValue(rpibqWholeLine)) return;
  const TParaInfo& para = GetParaStyle(last.ItemNo);
  TRPAlignment align = para.Alignment;
  if (align == rpaJustify && GetEffectiveParaBiDiMode(last.ItemNo) != rpbdUnspecified) align = rpaLeft;
  const int32_t free = c.LineLeft + c.LineWidth - (last.Left + last.Width);
  int32_t extraBelow = 0;
  if (c.HasAbsItems) PlaceLineAlignedItems(lineStart, extraBelow, c);
  int32_t extra = 0;
  if (para.LineSpacingType == rplsSpaceBetween && para.LineSpacing >= 0) {
    extra = ScaleY(para.LineSpacing);
  } else if (para.LineSpacingType == rplsPercent && para.LineSpacing >= 50) {
    bool any = false;
    int32_t top = 0, bottom = 0;
    for (int32_t j = lineStart; j < c.DrawCount; ++j) {
      const TRPDrawLineInfo& d = *DrawItems[j];
      if (!IsTextItem(d.ItemNo)) continue;
      top = any ? std::min(top, d.Top) : d.Top;
      bottom = any ? std::max(bottom, d.Top + d.Height) : d.Top + d.Height;
      any = true;
    }
    if (any) extra = (bottom - top) * (para.LineSpacing - 100) / 100;
  }
  for (int32_t j = lineStart; j < c.DrawCount; ++j) DrawItems[j]->LineSpacingExtra = extra;
  c.LineExtra = extra + extraBelow;
  if (align == rpaJustify && !paraEnd) {
    JustifyLine(lineStart, free, c);
  } else {
    int32_t shift = 0;
    if (align == rpaRight) shift = free;
    if (align == rpaCenter) shift = std::max(free / 2, 0);
    if (shift != 0)
      for (int32_t j = lineStart; j < c.DrawCount; ++j) DrawItems[j]->Left += shift;
  }
  ReorderBiDiLine(lineStart, c);
}

void TCustomRPFormattedData::JustifyLine(int32_t lineStart, int32_t free, TRPFormatCursor& c) {
  const int32_t stop = std::max(lineStart, c.LastTabOnLine);
  int32_t gaps = 0;
  for (int32_t j = c.DrawCount - 1; j > stop; --j) {
    const TRPDrawLineInfo& d = *DrawItems[j];
    if (IsTextItem(d.ItemNo) && d.Length > 0 && ItemCharAt(d.ItemNo, d.Offs - 1) == SpaceChar) ++gaps;
  }
  if (gaps > 0 && free > 0) {
    // Each gap takes its share of what is left: 10 pixels over 3 gaps are 3, 3, 4.
    int32_t left = free;
    int32_t count = gaps;
    for (int32_t j = stop + 1; j < c.DrawCount; ++j) {
      TRPDrawLineInfo& d = *DrawItems[j];
      if (!IsTextItem(d.ItemNo) || d.Length == 0 || ItemCharAt(d.ItemNo, d.Offs - 1) != SpaceChar) continue;
      const int32_t share = left / count;
      d.Width += share;
      d.JustifyExtra = share;
      left -= share;
      --count;
    }
  }
  for (int32_t j = lineStart + 1; j < c.DrawCount; ++j)
    DrawItems[j]->Left = DrawItems[j - 1]->Left + DrawItems[j - 1]->Width;
}

void TCustomRPFormattedData::PlaceLineAlignedItems(int32_t lineStart, int32_t& extraBelow, TRPFormatCursor& c) {
  const auto vAlignOf = [&](const TRPDrawLineInfo& d) {
    const auto* rect = dynamic_cast<const TRPRectItemInfo*>(GetItem(d.ItemNo));
    return rect ? rect->VAlign : rpvaBaseline;
  };
  int32_t top = c.Y - c.Ascent, bottom = c.Y + c.Below;
  for (int32_t j = lineStart; j < c.DrawCount; ++j) {
    const TRPDrawLineInfo& d = *DrawItems[j];
    if (vAlignOf(d) >= rpvaAbsTop) continue;
    top = std::min(top, d.Top);
    bottom = std::max(bottom, d.Top + d.Height);
  }
  int32_t highest = top, lowest = bottom;
  for (int32_t j = lineStart; j < c.DrawCount; ++j) {
    TRPDrawLineInfo& d = *DrawItems[j];
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
    for (int32_t j = lineStart; j < c.DrawCount; ++j) DrawItems[j]->Top += diff;
    c.Y += diff;
    lowest += diff;
    bottom += diff;
  }
  extraBelow = std::max(lowest - bottom, 0);
}

void TCustomRPFormattedData::FormatNonTextItem(int32_t itemNo, TRPFormatCursor& c) {
  if (GetItem(itemNo)->GetBoolValue(rpibqWholeLine))
    FormatFullLineItem(itemNo, c);
  else
    FormatRectItem(itemNo, c);
}

void TCustomRPFormattedData::FormatFullLineItem(int32_t itemNo, TRPFormatCursor& c) {
  if (c.LineHasItems()) {
    ResolveTab(c);
    FinishLine(true, c);
  }
  c.Y += c.LineExtra;
  c.LineExtra = 0;
  TCustomRPItemInfo& item = *GetItem(itemNo);
  const TParaInfo& para = GetParaStyle(itemNo);
  if (itemNo > 0) c.Below += ScaleY(GetParaStyle(itemNo - 1).SpaceAfter);
  c.Below += ScaleY(para.SpaceBefore);
  auto d = CreateDrawItem(itemNo);
  d->ItemNo = itemNo;
  d->FromNewLine = 255;
  if (item.StyleNo == rpkindBreak) {
    c.Below += ScaleY(GetStyleSheet()->ParaStyles()[0]->SpaceBefore);
    const int32_t half = MulDiv(5, FResolution.DevicePpiY, FResolution.ScreenPpiY);
    d->Left = ScaleX(GetLeftMargin());
    d->Top = c.Y + c.Below;
    d->Width = TextWidth;
    d->Height = 2 * half + 1;
    c.Y += half + c.Below + 1;
    c.Below = half;
    c.Ascent = half;
  } else {
    const int32_t avail = TextWidth - ScaleX(para.LeftIndent + para.RightIndent);
    int32_t offset = 0;
    if (auto* layout = dynamic_cast<IRPLayoutItem*>(&item)) {
      layout->FormatForWidth(avail, *c.Canvas, *this, c.ItemFlag1, c.ItemFlag2, offset);
      ForgetCanvasStyle(c);
    }
    const auto* sized = dynamic_cast<const TRPNonTextItemInfo*>(&item);
    // A printing draw item that sizes itself from the item's own layout keeps its size.
    d->SetSize(sized ? ScaleX(sized->GetWidth()) : 0, sized ? ScaleY(sized->GetHeight()) : 0);
    int32_t left = ScaleX(para.LeftIndent) + ScaleX(GetLeftMargin());
    if (para.Alignment == rpaRight) left += avail - d->Width;
    if (para.Alignment == rpaCenter) left += std::max((avail - d->Width) / 2, 0);
    d->Left = left + offset;
    d->Top = c.Y + c.Below;
    c.Y += c.Below + d->Height;
    c.Ascent = d->Height;
    c.Below = 0;
  }
  c.LineStart = c.DrawCount;
  c.X = 0;
  c.CharsOnLine = 0;
  c.NewPara = true;
  const int32_t drawNo = c.DrawCount;
  InsertDrawItem(std::move(d), c);
  if (HasFlag(rpdfUseJumps))
    if (auto* areas = dynamic_cast<IRPJumpAreasItem*>(&item)) {
      const size_t from = Jumps.size();
      areas->AddJumpAreas(*this, drawNo, FNextJumpNo, Jumps);
      for (size_t j = from; j < Jumps.size(); ++j) Jumps[j]->HolderDrawNo = drawNo;
    }
}

void TCustomRPFormattedData::FormatRectItem(int32_t itemNo, TRPFormatCursor& c) {
  TCustomRPItemInfo& item = *GetItem(itemNo);
  const auto* rect = dynamic_cast<const TRPRectItemInfo*>(&item);
  auto* tab = dynamic_cast<TRPTabItemInfo*>(&item);
  const TParaInfo& para = GetParaStyle(itemNo);
  TRPStyle& style = *GetStyleSheet();
  TRPResolution tabResolution = FResolution;
  tabResolution.LeftMargin = ScaleX(GetLeftMargin());
  const int32_t tabAreaLeft = ScaleX(para.LeftIndent);
  const int32_t tabAreaRight = TextWidth - ScaleX(para.RightIndent);
  const TRPBiDiMode biDi = GetParaBiDiMode(item.ParaNo);
  int32_t width = 0, height = 0, descent = 0, offset = 0;
  int32_t tabPosition = 0;
  AnsiString leader;
  TRPTabAlign tabAlign = rptaLeft;
  if (tab) {
    ResolveTab(c);
    tab->UpdateSizeForWidth(*c.Canvas, style, height, descent);
    ForgetCanvasStyle(c);
    const int32_t current = c.LineLeft + c.X;
    const int32_t lineRight = c.LineLeft + c.LineWidth;
    style.GetNextTab(item.ParaNo, current, tabResolution, tabPosition, leader, tabAlign, biDi, tabAreaLeft,
                     tabAreaRight);
    if (tabAlign == rptaLeft || tabPosition > lineRight)
      width = tabPosition - current;
    else
      width = tabAlign == rptaRight ? 0 : std::max(2 * tabPosition - current - lineRight, 0);
  } else {
    if (auto* layout = dynamic_cast<IRPLayoutItem*>(&item)) {
      layout->FormatForWidth(TextWidth - ScaleX(para.LeftIndent + para.RightIndent + para.FirstIndent), *c.Canvas,
                             *this, c.ItemFlag1, c.ItemFlag2, offset);
      ForgetCanvasStyle(c);
    }
    if (const auto* sized = dynamic_cast<const TRPNonTextItemInfo*>(&item)) {
      width = ScaleX(sized->GetWidth());
      height = ScaleY(sized->GetHeight());
    }
    descent = rect ? ScaleY(rect->GetDescent()) : 0;
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

  auto d = CreateDrawItem(itemNo);
  d->ItemNo = itemNo;
  d->Height = height;
  const int32_t maxLength = GetMaxLength();
  const bool afterMarker = itemNo > 0 && GetItem(itemNo - 1)->StyleNo == rpkindListMarker;
  // A draw item that may be split over pages always starts a line.
  const bool continues =
      item.GetContinuesLine() && c.LineStart >= 0 && !dynamic_cast<const TRPMultiDrawItemInfo*>(d.get());
  const bool fits = (c.X + width <= c.LineWidth && (maxLength <= 0 || c.CharsOnLine != maxLength)) ||
                    para.Options.Contains(rppaoNoWrap) || afterMarker;
  if (continues && fits) {
    RaiseLine(above + shift, c);
    d->Top = c.Y - above - shift;
    if (!lineAligned) c.Below = std::max(c.Below, height - above - shift);
    ++c.CharsOnLine;
  } else {
    if (!continues) c.NewPara = true;
    StartNewLine(itemNo, !c.NewPara, c);
    d->FromNewLine = 255;
    c.Y += c.LineExtra;
    c.LineExtra = 0;
    d->Top = c.Y + c.Below;
    c.Ascent = above + shift;
    c.Y += c.Below + c.Ascent;
    c.Below = lineAligned ? 0 : height - c.Ascent;
    c.CharsOnLine = 1;
  }
  if (lineAligned) c.HasAbsItems = true;
  d->Left = c.LineLeft + c.X + offset;
  if (tab) {
    const int32_t lineRight = c.LineLeft + c.LineWidth;
    style.GetNextTab(item.ParaNo, d->Left, tabResolution, tabPosition, leader, tabAlign, biDi, tabAreaLeft,
                     tabAreaRight);
    tab->Leader = leader;
    width = tabAlign == rptaLeft    ? tabPosition - d->Left
            : tabAlign == rptaRight ? 0
                                    : std::max(2 * tabPosition - d->Left - lineRight, 0);
    if (tabAlign != rptaLeft) {
      c.PendingTab = c.DrawCount;
      c.PendingTabAlign = tabAlign;
      c.PendingTabPosition = tabPosition;
    }
    c.LastTabOnLine = c.DrawCount;
  }
  d->Width = width;
  c.X = d->Left - c.LineLeft + width;
  const int32_t drawNo = c.DrawCount;
  const TRPDrawLineInfo& placed = *d;
  InsertDrawItem(std::move(d), c);
  if (HasFlag(rpdfUseJumps) && item.GetBoolValueEx(rpibqxJump, &style))
    AddJump(itemNo, placed, drawNo, static_cast<int16_t>(style.JumpCursor), c);
}
