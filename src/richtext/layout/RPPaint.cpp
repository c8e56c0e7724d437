// Painting a formatted document: paragraph backgrounds and borders, text runs in their
// styles, non-text items through their own painting, page-break and checkpoint marks.
#include <algorithm>

#include "richtext/layout/RPBackground.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/layout/RPLayoutItems.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/model/RPUnicodeCanvas.h"

namespace {

constexpr uint32_t DrawStateSpecialCharacters = 512;
constexpr uint32_t DrawStateRightToLeft = 256;

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
    int32_t end = start;
    while (end + 1 < DrawItems.Count() && !(DrawItems[end + 1]->ItemNo != DrawItems[end]->ItemNo &&
                                            StartsParagraph(DrawItems[end + 1]->ItemNo)))
      ++end;
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

void TCustomRPFormattedData::PaintTextDrawItem(TCanvas& canvas, int32_t drawNo, int32_t xs, int32_t ys,
                                               int32_t& appliedStyle, TRPTextDrawStates states) {
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
  if (d.Offs == 1) states.Include(rptsItemStart);
  if (d.Offs + d.Length - 1 >= GetItemLength(d.ItemNo)) states.Include(rptsItemEnd);
  // The selected characters of the draw item: caret offsets from .. to.
  int32_t startNo = 0, endNo = 0, startOffs = 0, endOffs = 0;
  GetDrawSelectionBounds(startNo, endNo, startOffs, endOffs, true);
  int32_t from = 0, to = 0;
  if (startNo >= 0 && startNo <= drawNo && drawNo <= endNo) {
    from = drawNo == startNo ? startOffs : 1;
    to = drawNo == endNo ? endOffs : d.Length + 1;
  }
  TRPTextDrawStates runStates = states;
  if (from < to && from <= 1 && to >= d.Length + 1) runStates.Include(rptsSelected);
  style.ApplyStyleColor(canvas, textStyle, runStates, false, rpcmColor);
  // Justified words carry their extra before the text, so they are drawn at the right x.
  style.DrawStyleText(shown, canvas, d.ItemNo, d.Offs, textStyle, this, d.JustifyExtra, d.Left - xs, d.Top - ys,
                      d.Width, d.Height, runStates, false, false, rpcmColor, biDi);
  if (from < to && !runStates.Contains(rptsSelected)) PaintSelectedPart(canvas, drawNo, xs, ys, from, to, states);
}

void TCustomRPFormattedData::PaintSelectedPart(TCanvas& canvas, int32_t drawNo, int32_t xs, int32_t ys, int32_t from,
                                               int32_t to, TRPTextDrawStates states) {
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
  const int32_t before = GetItemTextWidth(text.substr(0, static_cast<size_t>(from - 1) * unit), &canvas, item.ItemOptions);
  const AnsiString part(text.substr(static_cast<size_t>(from - 1) * unit, static_cast<size_t>(to - from) * unit));
  const int32_t width = GetItemTextWidth(part, &canvas, item.ItemOptions);
  const int32_t extra = from == 1 ? d.JustifyExtra : 0;
  const int32_t left = d.Left - xs + (from == 1 ? 0 : d.JustifyExtra + before);
  states.Include(rptsSelected);
  style.ApplyStyleColor(canvas, textStyle, states, false, rpcmColor);
  style.DrawStyleText(part, canvas, d.ItemNo, d.Offs + from - 1, textStyle, this, extra, left, d.Top - ys,
                      width + extra, d.Height, states, false, false, rpcmColor, biDi);
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
    const int32_t x1 = GetItemTextWidth(text.substr(0, static_cast<size_t>(from - d.Offs) * unit), &canvas,
                                        item.ItemOptions);
    const int32_t x2 = GetItemTextWidth(text.substr(0, static_cast<size_t>(to - d.Offs) * unit), &canvas,
                                        item.ItemOptions);
    const int32_t left = d.Left + d.JustifyExtra - xs;
    painter.Draw(canvas, TRect{left + x1, d.Top - ys, left + x2, d.Top + d.Height - ys}, style);
  }
}

void TCustomRPFormattedData::DrawRect(TCanvas& canvas, const TRect& rect) {
  TRPStyle* style = GetStyleSheet();
  if (!style || DrawItems.Count() == 0) return;
  const int32_t xs = GetHOffs() + rect.Left, ys = GetVOffs() + rect.Top;
  const int32_t docTop = ys, docBottom = GetVOffs() + rect.Bottom;
  canvas.Brush().SetStyle(bsClear);
  TRPTextDrawStates common;
  if (IsFocused()) common.Include(rptsControlFocused);
  const bool special = (GetOptions() & rpoShowSpecialCharacters) != 0;
  if (special) common.Include(rptsSpecialCharacters);
  // From the first draw item of the paragraph at the top to the last line that starts
  // inside the rectangle.
  int32_t first = FindDrawItemByY(docTop, 0);
  while (first > 0 && !(DrawItems[first]->StartsLine() && StartsParagraph(DrawItems[first]->ItemNo) &&
                        (first == 0 || DrawItems[first - 1]->ItemNo != DrawItems[first]->ItemNo)))
    --first;
  int32_t last = DrawItems.Count() - 1;
  for (int32_t i = first; i < DrawItems.Count(); ++i)
    if (DrawItems[i]->StartsLine() && DrawItems[i]->Top > docBottom) {
      last = i - 1;
      break;
    }
  PaintParaBackgrounds(canvas, first, last, xs, ys);
  if (style->OnDrawTextBack)
    for (int32_t i = first; i <= last; ++i) {
      const TRPDrawLineInfo& d = *DrawItems[i];
      if (IsTextItem(d.ItemNo))
        style->DrawTextBack(canvas, d.ItemNo, GetItem(d.ItemNo)->StyleNo, this, d.Left - xs, d.Top - ys, d.Width,
                            d.Height, common);
    }
  int32_t appliedStyle = -1;
  for (int32_t i = first; i <= last; ++i) {
    const TRPDrawLineInfo& d = *DrawItems[i];
    TCustomRPItemInfo& item = *GetItem(d.ItemNo);
    const bool itemStart = i == 0 || DrawItems[i - 1]->ItemNo != d.ItemNo;
    if (itemStart && (GetOptions() & rpoShowPageBreaks) != 0 && GetPageBreakBefore(d.ItemNo))
      style->DrawPageBreak(canvas, d.Top - 1 - ys, xs, rppbPageBreak, nullptr, GetWidth());
    if (itemStart && (GetOptions() & rpoShowCheckpoints) != 0 && item.Checkpoint)
      style->DrawCheckpoint(canvas, d.Left - xs, d.Top - ys, 0, GetWidth(), this, d.ItemNo, xs,
                            item.Checkpoint->RaiseEvent, nullptr);
    if (IsTextItem(d.ItemNo)) {
      PaintTextDrawItem(canvas, i, xs, ys, appliedStyle, common);
      PaintWordMarks(canvas, i, xs, ys);
      if (item.WordPainters) appliedStyle = -1;
      continue;
    }
    uint32_t drawState = 0;
    if (IsFocused()) drawState |= rpidsFocused;
    if (IsDrawPosInSelection(i, 0, true) && IsDrawPosInSelection(i, 1, true)) drawState |= rpidsSelected;
    if (GetParaBiDiMode(item.ParaNo) == rpbdRightToLeft) drawState |= DrawStateRightToLeft;
    if (special) drawState |= DrawStateSpecialCharacters;
    appliedStyle = -1;  // items select their own fonts
    if (const auto* brk = dynamic_cast<const TRPBreakItemInfo*>(&item)) {
      int32_t right = GetWidth();
      if (GetMaxTextWidth() > 0)
        right = std::min(right, ScaleX(GetLeftMargin()) + ScaleX(GetMaxTextWidth()) + ScaleX(GetRightMargin()));
      brk->PaintFullWidth(d.Left - xs, right - ScaleX(GetRightMargin()) - xs, d.Top - ys, canvas, drawState, *style);
    } else if (const auto* tab = dynamic_cast<const TRPTabItemInfo*>(&item)) {
      tab->DrawTab(canvas, d.Left - xs, d.Top - ys, d.Width, d.Height, *style, common, false, rpcmColor,
                   (drawState & DrawStateRightToLeft) != 0);
    } else if (const auto* picture = dynamic_cast<const TRPGraphicItemInfo*>(&item)) {
      picture->Paint(d.Left - xs, d.Top - ys, canvas, drawState, *style);
    } else if (const auto* bullet = dynamic_cast<const TRPBulletItemInfo*>(&item)) {
      bullet->Paint(d.Left - xs, d.Top - ys, canvas, drawState, *style);
    } else if (auto* layout = dynamic_cast<IRPLayoutItem*>(&item)) {
      layout->Paint(d.Left - xs, d.Top - ys, canvas, drawState, *this, d);
    }
  }
  DrawResizeHandles(canvas, xs, ys, first, last);
}
