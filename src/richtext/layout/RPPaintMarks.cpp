// Marks painted over a document: soft page breaks and paragraph marks.
#include "platform/base/TextUtils.h"
#include "platform/graphics/TextDraw.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicodeCanvas.h"

namespace {

constexpr WideChar PilcrowChar = 0x00B6;
// The carriage-return arrow that the symbol font shows at 0xBF, from a face that has it.
constexpr WideChar LineBreakMarkChar = 0x21B5;
constexpr char LineBreakMarkFont[] = "DejaVu Sans";

bool IsSymbolFont(const TFont& font) {
  return font.Charset() == SYMBOL_CHARSET || CompareText(font.Name(), "Symbol") == 0 ||
         CompareText(font.Name(), "Wingdings") == 0;
}

}  // namespace

void TCustomRPFormattedData::PaintSoftPageBreaks(TCanvas& canvas, int32_t first, int32_t last, int32_t xs, int32_t ys) {
  if ((GetOptions() & rpoShowPageBreaks) == 0 || !FSoftPageBreaks) return;
  const int32_t firstItem = DrawItems[first]->ItemNo;
  for (const TRPSoftPageBreakInfo& pageBreak : *FSoftPageBreaks) {
    // After the first painted item; a row of that item itself too.
    const bool inFirst = pageBreak.ItemNo == firstItem && pageBreak.Row >= 0;
    if ((pageBreak.ItemNo <= firstItem && !inFirst) || pageBreak.ItemNo >= GetItemCount()) continue;
    int32_t drawNo = -1, drawOffs = 0;
    ItemToDrawItemPos(pageBreak.ItemNo, pageBreak.Offset, drawNo, drawOffs);
    if (drawNo < 0 || drawNo > last) continue;
    int32_t top = 0;
    if (pageBreak.Row >= 0) {
      top = GetItem(pageBreak.ItemNo)->GetSplitPoint(pageBreak.Row) + DrawItems[drawNo]->Top;
    } else {
      top = GetLineTop(drawNo);
    }
    GetStyleSheet()->DrawPageBreak(canvas, top - 1 - ys, xs, rppbSoftPageBreak, nullptr, GetWidth());
  }
}

void TCustomRPFormattedData::PaintParagraphMark(TCanvas& canvas, int32_t drawNo, int32_t xs, int32_t ys) {
  TRPStyle& style = *GetStyleSheet();
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  const TCustomRPItemInfo& item = *GetItem(d.ItemNo);
  int32_t textStyle = item.GetAssociatedTextStyleNo();
  if (IsTextItem(d.ItemNo))
    textStyle = GetItemStyle(d.ItemNo);
  else
    textStyle = ResolveTextStyleNo(textStyle >= 0 ? textStyle : rpDefaultTextStyle, item.ParaNo, &style);
  const TRPBiDiMode biDi = GetParaBiDiMode(item.ParaNo);
  style.ApplyStyle(canvas, textStyle, biDi, HasFlag(rpdfUseCollectionPPI));
  style.ApplyStyleColor(canvas, textStyle, TRPTextDrawStates{}, false, rpcmColor);
  TFont& font = canvas.Font();
  if (IsSymbolFont(font)) {
    font.SetName("Arial");
    font.SetCharset(DEFAULT_CHARSET);
  }
  // A paragraph's (or the document's) end, or a line break inside a paragraph.
  const bool paraEnd = drawNo + 1 == DrawItems.Count() || IsParaStartDrawItem(drawNo + 1);
  WideChar mark = PilcrowChar;
  if (!paraEnd) {
    font.SetName(LineBreakMarkFont);
    font.SetCharset(DEFAULT_CHARSET);
    mark = LineBreakMarkChar;
  }
  const TSize size = MeasureWideText(&canvas, &mark, 1);
  const int32_t x = biDi == rpbdRightToLeft ? d.Left - size.cx : d.Left + d.Width;
  canvas.Brush().SetStyle(bsClear);
  ExtTextOutW(canvas.Handle(), x - xs, d.Top + d.Height - size.cy - ys, 0, nullptr, &mark, 1, nullptr);
}
