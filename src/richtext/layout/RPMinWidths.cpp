// The smallest widths a document, a range of items or a paragraph needs: formatting
// never lays a document out narrower, and tables ask it for their cells.
#include <algorithm>

#include "richtext/layout/RPFormattedData.h"
#include "richtext/layout/RPLayoutItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/model/RPUnicodeCanvas.h"

namespace {

bool SameResolutions(const TRPResolution& r) { return r.ScreenPpiX == r.DevicePpiX && r.ScreenPpiY == r.DevicePpiY; }

}  // namespace

int32_t TCustomRPFormattedData::ItemMinWidth(int32_t itemNo, bool wholeText, const TRPResolution* resolution,
                                             TCanvas& canvas) {
  const TCustomRPItemInfo& item = *GetItem(itemNo);
  const int32_t textStyle = GetItemStyle(itemNo);
  if (item.StyleNo < 0) return item.GetMinWidth(resolution, &canvas, this);
  TRPStyle& style = *GetStyleSheet();
  style.ApplyStyle(canvas, textStyle, GetParaBiDiMode(item.ParaNo), HasFlag(rpdfUseCollectionPPI));
  const AnsiString shown =
      PrepareDisplayText(GetItemTextRaw(itemNo), item.ItemOptions,
                         style.TextStyles()[textStyle]->StyleEx.Contains(rpfsAllCaps), false, false, false);
  if (wholeText) return GetItemTextWidth(shown, &canvas, item.ItemOptions);
  // The widest word: the text cut at its spaces.
  const size_t unit = item.IsUnicode() ? 2 : 1;
  const int32_t length = GetItemTextLength(shown, item.ItemOptions);
  int32_t widest = 0, start = 0;
  for (int32_t i = 0; i <= length; ++i) {
    if (i < length && ItemCharAt(itemNo, i) != 0x20) continue;
    if (i > start) {
      const AnsiStringView word =
          AnsiStringView(shown).substr(static_cast<size_t>(start) * unit, static_cast<size_t>(i - start) * unit);
      widest = std::max(widest, GetItemTextWidth(word, &canvas, item.ItemOptions));
    }
    start = i + 1;
  }
  return widest;
}

int32_t TCustomRPFormattedData::ParaMinWidth(int32_t first, int32_t last, const TRPResolution* resolution,
                                             TCanvas& canvas) {
  const TParaInfo& para = GetParaStyle(first);
  const bool noWrap = para.Options.Contains(rppaoNoWrap);
  int32_t indents = para.LeftIndent + para.RightIndent + std::max(para.FirstIndent, 0);
  const int32_t paraStart = GetParaStartItem(first);
  if (const auto* marker = GetItem(paraStart)->StyleNo == rpkindListMarker
                               ? dynamic_cast<const IRPListMarkerLevel*>(GetItem(paraStart))
                               : nullptr) {
    int32_t levelLeft = 0, levelFirst = 0, markerIndent = 0;
    if (marker->GetLevelIndents(GetRPStyle(), levelLeft, levelFirst, markerIndent))
      indents =
          levelLeft + std::max(levelFirst, 0) + (para.BiDiMode == rpbdRightToLeft ? para.LeftIndent : para.RightIndent);
  }
  const int32_t indentPx =
      resolution && !SameResolutions(*resolution) ? ScreenToDeviceX(indents, *resolution) : indents;
  int32_t best = 0, line = 0, markerWidth = 0;
  for (int32_t i = first; i <= last; ++i) {
    if (i > first && GetItem(i)->GetLineBreakBefore()) line = 0;
    const int32_t w = ItemMinWidth(i, noWrap, resolution, canvas);
    if (GetItem(i)->StyleNo == rpkindListMarker) {
      markerWidth = w;
      continue;
    }
    if (noWrap) {
      line += markerWidth + w;
      best = std::max(best, indentPx + line);
    } else {
      best = std::max(best, indentPx + markerWidth + w);
    }
    markerWidth = 0;
  }
  return std::max(best, markerWidth > 0 ? indentPx + markerWidth : 0);
}

int32_t TCustomRPFormattedData::CalculateMinItemsWidthDef(int32_t first, int32_t last, const TRPResolution* resolution,
                                                          TCanvas& canvas) {
  if (!GetStyleSheet()) return 0;
  int32_t best = 0;
  for (int32_t start = first; start <= last;) {
    int32_t end = start;
    while (end < last && !GetItem(end + 1)->StartsParagraph()) ++end;
    best = std::max(best, ParaMinWidth(start, end, resolution, canvas));
    start = end + 1;
  }
  return best;
}

int32_t TCustomRPFormattedData::CalculateMinDocWidth(const TRPResolution* resolution, TCanvas& canvas) {
  return CalculateMinItemsWidthDef(0, GetItemCount() - 1, resolution, canvas);
}

int32_t TCustomRPFormattedData::CalculateMinRangeWidth(int32_t first, int32_t last, TCanvas& canvas) {
  return CalculateMinItemsWidthDef(std::max(first, 0), std::min(last, GetItemCount() - 1), nullptr, canvas);
}

int32_t TCustomRPFormattedData::CalculateParaMinWidthDef(int32_t itemNo, TCanvas& canvas) {
  int32_t first = itemNo, last = itemNo;
  ExpandToParagraphs(first, last);
  return CalculateMinItemsWidthDef(first, last, nullptr, canvas);
}

int32_t TCustomRPFormattedData::GetParaMinWidth(int32_t itemNo) {
  TCanvas* canvas = GetCanvas();
  return canvas ? CalculateParaMinWidthDef(itemNo, *canvas) : 0;
}
