// Painting a formatted document: paragraph backgrounds and borders, text runs in their
// styles, non-text items through their own painting, page-break and checkpoint marks.
#include <algorithm>

#include "richtext/layout/RPBackground.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/layout/RPLayoutItems.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPControlItems.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/model/RPUnicodeCanvas.h"

namespace {

// Draw states of non-text items beside rpidsSelected and rpidsFocused.
constexpr uint32_t DrawStateInnerSelection = 2;
constexpr uint32_t DrawStateHover = 4;
constexpr uint32_t DrawStateRightToLeft = 256;
constexpr uint32_t DrawStateSpecialCharacters = 512;

}  // namespace

void TCustomRPFormattedData::DrawBackground(TCanvas& canvas, const TRect& rect) {
  if (const TRPBackground* background = GetBackground())
    background->Draw(canvas, rect, GetHOffs(), GetVOffs(), 0, 0, GetWidth(), GetHeight(), GetColor(), false);
}

int32_t TCustomRPFormattedData::AreaRight(int32_t rightIndent) const {
  if ((GetOptions() & rpoClientTextWidth) != 0 || GetMaxTextWidth() < 1)
    return GetWidth() - ScaleX(GetRightMargin()) - ScaleX(rightIndent);
  return ScaleX(GetLeftMargin()) + ScaleX(GetMaxTextWidth()) - ScaleX(rightIndent);
}

void TCustomRPFormattedData::PaintParaBackgrounds(TCanvas& canvas, int32_t first, int32_t last, int32_t xs,
                                                  int32_t ys) {
  TRPStyle& style = *GetStyleSheet();
  for (int32_t start = first; start <= last;) {
    // The paragraph's draw items: to the next one that starts a paragraph.
    int32_t paraFirst = 0, end = 0;
    GetParaDrawItems(start, paraFirst, end);
    const int32_t paraNo = GetItemPara(DrawItems[start]->ItemNo);
    const TParaInfo& para = *style.ParaStyles()[paraNo];
    if (para.Border.Style != rpbNone || para.Background.Color != clNone || style.OnDrawParaBack) {
      TRect r{ScaleX(GetLeftMargin()) + ScaleX(para.LeftIndent) + std::min(ScaleX(para.FirstIndent), 0), 0,
              AreaRight(para.RightIndent), 0};
      r.Top = DrawItems[start]->Top;
      r.Bottom = r.Top;
      for (int32_t j = start; j <= end; ++j) {
        const TRPDrawLineInfo& d = *DrawItems[j];
        r.Right = std::max(r.Right, d.Left + d.Width);
        r.Top = std::min(r.Top, d.Top);
        r.Bottom = std::max(r.Bottom, d.Top + d.Height + d.LineSpacingExtra);
      }
      const TRect shifted{r.Left - xs, r.Top - ys, r.Right - xs, r.Bottom - ys};
      TRect back = shifted;
      para.Background.PrepareRect(back);
      style.DrawParaBack(canvas, paraNo, back, false, rpcmColor);
      para.Border.Draw(shifted, canvas);
    }
    start = end + 1;
  }
}

namespace {

// The run starts (ends) its draw item, and maybe its item.
void AddRunEdgeStates(TRPTextDrawStates& states, bool drawItemStart, bool drawItemEnd, bool itemStart, bool itemEnd) {
  if (drawItemStart) {
    states.Include(rptsDrawItemStart);
    if (itemStart) states.Include(rptsItemStart);
  }
  if (drawItemEnd) {
    states.Include(rptsDrawItemEnd);
    if (itemEnd) states.Include(rptsItemEnd);
  }
}

}  // namespace

bool TCustomRPFormattedData::IsDrawItemHovered(int32_t drawNo) const {
  const int32_t itemNo = DrawItems[drawNo]->ItemNo;
  // The root keeps the hovered hyperlink: the numbers of all hyperlinks are its own, those
  // in sub-documents (cells) too. A document that takes the mouse itself (the editor of a
  // cell, its hyperlinks numbered among the root's) keeps the one under the mouse there.
  const int32_t own = GetHoverJumpNo();
  const int32_t hovered = own >= 0 ? own : Root().GetHoverJumpNo();
  return hovered >= 0 && GetItem(itemNo)->JumpID == hovered &&
         GetItem(itemNo)->GetBoolValueEx(rpibqxJump, GetStyleSheet());
}

TRPLineBand TCustomRPFormattedData::GetLineBand(int32_t lineStart) const {
  int32_t first = 0, last = 0;
  GetLineDrawItems(lineStart, first, last);
  TRPLineBand band{GetLineTop(first), DrawItems[first]->Top};
  for (int32_t j = first; j <= last; ++j) {
    const TRPDrawLineInfo& d = *DrawItems[j];
    band.Bottom = std::max(band.Bottom, d.Top + d.Height + d.LineSpacingExtra);
  }
  if (IsParaStartDrawItem(first)) band.Top -= ScaleY(GetParaStyle(DrawItems[first]->ItemNo).SpaceBefore);
  if (IsParaEndDrawItem(last)) band.Bottom += ScaleY(GetParaStyle(DrawItems[last]->ItemNo).SpaceAfter);
  return band;
}

void TCustomRPFormattedData::FillLineBand(TCanvas& canvas, const TRPLineBand& band, int32_t left, int32_t right,
                                          int32_t ys) {
  const TRPStyle& style = *GetStyleSheet();
  const TColor color = IsFocused() ? style.SelColor : style.InactiveSelColor;
  if (color == clNone) return;
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(color);
  canvas.FillRect(TRect{left, band.Top - ys, right, band.Bottom - ys});
  canvas.Brush().SetStyle(bsClear);
}

void TCustomRPFormattedData::PaintTextDrawItem(TCanvas& canvas, int32_t drawNo, int32_t xs, int32_t ys,
                                               int32_t& appliedStyle, TRPTextDrawStates states,
                                               const TRPLineBand* band) {
  TRPStyle& style = *GetStyleSheet();
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  const TCustomRPItemInfo& item = *GetItem(d.ItemNo);
  const int32_t textStyle = GetItemStyle(d.ItemNo);
  const TRPBiDiMode biDi = GetParaBiDiMode(item.ParaNo);
  if (appliedStyle != textStyle) {
    style.ApplyStyle(canvas, textStyle, biDi, HasFlag(rpdfUseCollectionPPI));
    appliedStyle = textStyle;
  }
  AnsiString shown;
  DrawItems.GetSubString(drawNo, *this, shown);
  const bool lineEnd = drawNo + 1 >= DrawItems.Count() || DrawItems[drawNo + 1]->StartsLine();
  const bool special = (GetOptions() & rpoShowSpecialCharacters) != 0;
  shown = PrepareDisplayText(shown, item.ItemOptions, style.TextStyles()[textStyle]->StyleEx.Contains(rpfsAllCaps),
                             lineEnd, false, special && GetRPVisibleSpecialCharacters().Contains(rpscSoftHyphen));
  // The space dropped where the line wraps shows as a space marker.
  if (special && IsLineWrappedAfter(drawNo) && d.Offs + d.Length <= GetItemLength(d.ItemNo) &&
      ItemCharAt(d.ItemNo, d.Offs + d.Length - 1) == ' ')
    shown += item.IsUnicode() ? AnsiString(" \0", 2) : AnsiString(" ");
  if (IsDrawItemHovered(drawNo)) states.Include(rptsHover);
  // A handler of the style text learns where the run stands in its draw item and item.
  const bool marksEdges = static_cast<bool>(style.OnDrawStyleText);
  const bool itemStart = d.Offs == 1, itemEnd = d.Offs + d.Length - 1 >= GetItemLength(d.ItemNo);
  // The selected characters of the draw item: caret offsets from .. to.
  int32_t startNo = 0, endNo = 0, startOffs = 0, endOffs = 0;
  GetDrawSelectionBounds(startNo, endNo, startOffs, endOffs, true);
  int32_t from = 0, to = 0;
  if (startNo >= 0 && startNo <= drawNo && drawNo <= endNo) {
    from = drawNo == startNo ? startOffs : 1;
    to = drawNo == endNo ? endOffs : d.Length + 1;
  }
  TRPTextDrawStates runStates = states;
  if (marksEdges) AddRunEdgeStates(runStates, true, true, itemStart, itemEnd);
  if (from < to && from <= 1 && to >= d.Length + 1) {
    runStates.Include(rptsSelected);
    if (band) FillLineBand(canvas, *band, d.Left - xs - 1, d.Left + d.Width - xs + 1, ys);
  }
  style.ApplyStyleColor(canvas, textStyle, runStates, false, rpcmColor);
  // Justified words carry their extra before the text, so they are drawn at the right x.
  style.DrawStyleText(shown, canvas, d.ItemNo, d.Offs, textStyle, this, d.JustifyExtra, d.Left - xs,
                      d.Top + d.FallbackAscent - ys, d.Width, d.Height - d.FallbackAscent, runStates, false, false,
                      rpcmColor, biDi);
  if (from < to && !runStates.Contains(rptsSelected)) {
    if (marksEdges) AddRunEdgeStates(states, from == 1, to == d.Length + 1, itemStart, itemEnd);
    PaintSelectedPart(canvas, drawNo, xs, ys, from, to, states, band);
  }
}

void TCustomRPFormattedData::PaintSelectedPart(TCanvas& canvas, int32_t drawNo, int32_t xs, int32_t ys, int32_t from,
                                               int32_t to, TRPTextDrawStates states, const TRPLineBand* band) {
  TRPStyle& style = *GetStyleSheet();
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  const TCustomRPItemInfo& item = *GetItem(d.ItemNo);
  const int32_t textStyle = GetItemStyle(d.ItemNo);
  const TRPBiDiMode biDi = GetParaBiDiMode(item.ParaNo);
  AnsiString shown;
  DrawItems.GetSubString(drawNo, *this, shown);
  shown = PrepareDisplayText(shown, item.ItemOptions, style.TextStyles()[textStyle]->StyleEx.Contains(rpfsAllCaps),
                             false, false, false);
  const size_t unit = item.IsUnicode() ? 2 : 1;
  const AnsiStringView text(shown);
  const int32_t before =
      GetItemTextWidth(text.substr(0, static_cast<size_t>(from - 1) * unit), &canvas, item.ItemOptions);
  const AnsiString part(text.substr(static_cast<size_t>(from - 1) * unit, static_cast<size_t>(to - from) * unit));
  const int32_t width = GetItemTextWidth(part, &canvas, item.ItemOptions);
  const int32_t extra = from == 1 ? d.JustifyExtra : 0;
  const int32_t left = d.Left - xs + (from == 1 ? 0 : d.JustifyExtra + before);
  states.Include(rptsSelected);
  if (band) FillLineBand(canvas, *band, left - 1, left + width + extra + 1, ys);
  style.ApplyStyleColor(canvas, textStyle, states, false, rpcmColor);
  style.DrawStyleText(part, canvas, d.ItemNo, d.Offs + from - 1, textStyle, this, extra, left,
                      d.Top + d.FallbackAscent - ys, width + extra, d.Height - d.FallbackAscent, states, false, false,
                      rpcmColor, biDi);
}

void TCustomRPFormattedData::PaintNonTextDrawItem(TCanvas& canvas, int32_t drawNo, int32_t xs, int32_t ys,
                                                  const TRPLineBand* band) {
  TRPStyle& style = *GetStyleSheet();
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  TCustomRPItemInfo& item = *GetItem(d.ItemNo);
  const bool special = (GetOptions() & rpoShowSpecialCharacters) != 0;
  uint32_t drawState = 0;
  const bool selected = IsDrawPosInSelection(drawNo, 0, true) && IsDrawPosInSelection(drawNo, 1, true);
  if (selected) drawState |= rpidsSelected;
  if (&item == FInnerSelectionItem) drawState |= DrawStateInnerSelection;
  if (IsDrawItemHovered(drawNo)) drawState |= DrawStateHover;
  if (IsFocused()) drawState |= rpidsFocused;
  if (GetParaBiDiMode(item.ParaNo) == rpbdRightToLeft) drawState |= DrawStateRightToLeft;
  if (special) drawState |= DrawStateSpecialCharacters;
  if (const auto* brk = dynamic_cast<const TRPBreakItemInfo*>(&item)) {
    int32_t right = GetWidth();
    if (GetMaxTextWidth() > 0)
      right = std::min(right, ScaleX(GetLeftMargin()) + ScaleX(GetMaxTextWidth()) + ScaleX(GetRightMargin()));
    brk->PaintFullWidth(d.Left - xs, right - ScaleX(GetRightMargin()) - xs, d.Top - ys, canvas, drawState, style);
    return;
  }
  if (band && selected && item.StyleNo != rpkindListMarker)
    FillLineBand(canvas, *band, d.Left - xs, d.Left + d.Width - xs, ys);
  if (const auto* tab = dynamic_cast<const TRPTabItemInfo*>(&item)) {
    TRPTextDrawStates states;
    if (IsFocused()) states.Include(rptsControlFocused);
    if (special) states.Include(rptsSpecialCharacters);
    if (selected) states.Include(rptsSelected);
    tab->DrawTab(canvas, d.Left - xs, d.Top - ys, d.Width, d.Height, style, states, false, rpcmColor,
                 (drawState & DrawStateRightToLeft) != 0);
  } else if (const auto* picture = dynamic_cast<const TRPGraphicItemInfo*>(&item)) {
    picture->Paint(d.Left - xs, d.Top - ys, canvas, drawState, style);
  } else if (const auto* bullet = dynamic_cast<const TRPBulletItemInfo*>(&item)) {
    bullet->Paint(d.Left - xs, d.Top - ys, canvas, drawState, style);
  } else if (const auto* control = dynamic_cast<const TRPControlItemInfo*>(&item)) {
    control->Paint(d.Left - xs, d.Top - ys, canvas, drawState, style);
  } else if (const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(&item)) {
    marker->Paint(d.Left - xs, d.Top - ys, canvas, &style);
  } else if (auto* layout = dynamic_cast<IRPLayoutItem*>(&item)) {
    layout->Paint(d.Left - xs, d.Top - ys, canvas, drawState, *this, d);
  }
}

void TCustomRPFormattedData::PaintWordMarks(TCanvas& canvas, int32_t drawNo, int32_t xs, int32_t ys) {
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  const TCustomRPItemInfo& item = *GetItem(d.ItemNo);
  const int32_t textStyle = GetItemStyle(d.ItemNo);
  if (!item.WordPainters || !IsTextItem(d.ItemNo)) return;
  TRPStyle& style = *GetStyleSheet();
  style.ApplyStyle(canvas, textStyle, GetParaBiDiMode(item.ParaNo), HasFlag(rpdfUseCollectionPPI));
  AnsiString shown;
  DrawItems.GetSubString(drawNo, *this, shown);
  shown = PrepareDisplayText(shown, item.ItemOptions, false, false, false, false);
  const size_t unit = item.IsUnicode() ? 2 : 1;
  for (int32_t i = 0; i < item.WordPainters->Count(); ++i) {
    const TRPWordPainter& painter = *item.WordPainters->Items(i);
    const int32_t from = std::max(painter.StartOffs, d.Offs);
    const int32_t to = std::min(painter.StartOffs + painter.Length, d.Offs + d.Length);
    if (from >= to) continue;
    const AnsiStringView text(shown);
    const int32_t x1 =
        GetItemTextWidth(text.substr(0, static_cast<size_t>(from - d.Offs) * unit), &canvas, item.ItemOptions);
    const int32_t x2 =
        GetItemTextWidth(text.substr(0, static_cast<size_t>(to - d.Offs) * unit), &canvas, item.ItemOptions);
    const int32_t left = d.Left + d.JustifyExtra - xs;
    painter.Draw(canvas, TRect{left + x1, d.Top - ys, left + x2, d.Top + d.Height - ys}, style);
  }
}

void TCustomRPFormattedData::DrawRect(TCanvas& canvas, const TRect& rect) {
  TRPStyle* style = GetStyleSheet();
  if (!style) return;
  const int32_t xs = GetHOffs() + rect.Left, ys = GetVOffs() + rect.Top;
  const int32_t docTop = ys, docBottom = GetVOffs() + rect.Bottom;
  const bool special = (GetOptions() & rpoShowSpecialCharacters) != 0;
  const bool checkpoints = (GetOptions() & rpoShowCheckpoints) != 0;
  canvas.Brush().SetStyle(bsClear);
  TRPTextDrawStates common;
  if (IsFocused()) common.Include(rptsControlFocused);
  if (special) common.Include(rptsSpecialCharacters);
  const bool paragraphMarks = special && GetRPVisibleSpecialCharacters().Contains(rpscParagraph);
  const bool lineBands = style->SelectionStyle == rpssLines && SelectionExists(false);
  // From the first draw item of the paragraph at the top (a line whose top lies above the
  // rectangle may reach into it) to the last line that starts inside the rectangle.
  int32_t first = 0, last = -1;
  if (DrawItems.Count() > 0) {
    int32_t paraLast = 0;
    GetParaDrawItems(FindDrawItemByY(docTop, 1), first, paraLast);
    last = DrawItems.Count() - 1;
    for (int32_t i = first; i < DrawItems.Count(); ++i)
      if (DrawItems[i]->StartsLine() && DrawItems[i]->Top > docBottom) {
        last = i - 1;
        break;
      }
    PaintParaBackgrounds(canvas, first, last, xs, ys);
    if (style->OnDrawTextBack)
      for (int32_t i = first; i <= last; ++i) {
        const TRPDrawLineInfo& d = *DrawItems[i];
        if (!IsTextItem(d.ItemNo)) continue;
        TRPTextDrawStates hover;
        if (IsDrawItemHovered(i)) hover.Include(rptsHover);
        style->DrawTextBack(canvas, d.ItemNo, GetItem(d.ItemNo)->StyleNo, this, d.Left - xs, d.Top - ys, d.Width,
                            d.Height, hover);
      }
    PaintSoftPageBreaks(canvas, first, last, xs, ys);
  }
  int32_t appliedStyle = -1;
  TRPLineBand band;
  for (int32_t i = first; i <= last; ++i) {
    const TRPDrawLineInfo& d = *DrawItems[i];
    TCustomRPItemInfo& item = *GetItem(d.ItemNo);
    if (lineBands && d.StartsLine()) band = GetLineBand(i);
    const bool itemStart = IsItemStartDrawItem(i);
    if (itemStart && (GetOptions() & rpoShowPageBreaks) != 0 && GetPageBreakBefore(d.ItemNo))
      style->DrawPageBreak(canvas, GetLineTop(i) - 1 - ys, xs, rppbPageBreak, nullptr, GetWidth());
    if (itemStart && checkpoints && item.Checkpoint)
      style->DrawCheckpoint(canvas, d.Left - xs, d.Top - ys, 0, GetWidth(), this, d.ItemNo, xs,
                            item.Checkpoint->RaiseEvent, nullptr);
    if (IsTextItem(d.ItemNo)) {
      PaintTextDrawItem(canvas, i, xs, ys, appliedStyle, common, lineBands ? &band : nullptr);
      PaintWordMarks(canvas, i, xs, ys);
      if (item.WordPainters) appliedStyle = -1;
    } else {
      PaintNonTextDrawItem(canvas, i, xs, ys, lineBands ? &band : nullptr);
      appliedStyle = -1;  // items select their own fonts
    }
    if (paragraphMarks && !item.GetBoolValue(rpibqWholeLine) &&
        (i + 1 == DrawItems.Count() || IsLineStartItem(i + 1))) {
      PaintParagraphMark(canvas, i, xs, ys);
      appliedStyle = -1;
    }
  }
  if (checkpoints)
    if (const TRPCPInfo* end = GetPendingCheckpoint())
      style->DrawCheckpoint(canvas, 0, DocumentHeight - ys, 0, GetWidth(), this, -1, xs, end->RaiseEvent, nullptr);
  DrawResizeHandles(canvas, xs, ys, first, last);
}
