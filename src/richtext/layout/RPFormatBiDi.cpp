// Visual order of the draw items of a finished line in a paragraph with a direction.
#include <vector>

#include "platform/base/StringTypes.h"
#include "richtext/layout/RPLineBreaker.h"
#include "richtext/model/RPStyle.h"

namespace {

struct TRPDrawDirections {
  TRPBiDiMode Start = rpbdUnspecified;
  TRPBiDiMode End = rpbdUnspecified;
};

TRPBiDiMode DirectionOfType(uint16_t type, TRPBiDiMode otherwise) {
  if (type == C2_LEFTTORIGHT) return rpbdLeftToRight;
  if (type == C2_RIGHTTOLEFT) return rpbdRightToLeft;
  return otherwise;
}

}  // namespace

/* The directions of each draw item: the paragraph's, or its text style's when that has
   one; then the character types of its first and last characters, where they are
   strong. The sequence is built in logical order with an insertion point. A boundary
   between two draw items has the direction they share (the previous one's end equals
   this one's start), else the paragraph's. A boundary in the paragraph's own direction
   begins another run on the paragraph's far side: after everything in a left-to-right
   paragraph, before everything (position 0) in a right-to-left one. A boundary against
   the paragraph's direction continues the run: right-to-left runs insert at the same
   point (so they come out reversed), left-to-right runs one place on. */
void TRPLineBreaker::ReorderBiDiLine(int32_t lineStart) {
  const int32_t lineEnd = FDrawCount;  // one past the line's last draw item
  const TRPDrawLineInfo& first = *FDrawItems[lineStart];
  const TRPBiDiMode paraMode = FData.GetEffectiveParaBiDiMode(first.ItemNo);
  if (paraMode == rpbdUnspecified) return;
  if (paraMode == rpbdRightToLeft && FData.IsItemStartDrawItem(lineStart) && FData.StartsParagraph(first.ItemNo)) {
    const TCustomRPItemInfo& item = *GetItem(first.ItemNo);
    int32_t shift = -ScaleX(GetParaStyle(first.ItemNo).FirstIndent);
    if (item.StyleNo == rpkindListMarker)
      if (const auto* marker = dynamic_cast<const TRPNonTextItemInfo*>(&item))
        shift = ScaleX(marker->GetLeftOverhang());
    for (int32_t j = lineStart; j < lineEnd; ++j) FDrawItems[j]->Left += shift;
  }
  const int32_t count = lineEnd - lineStart;
  if (count <= 1) return;

  std::vector<TRPDrawDirections> directions(static_cast<size_t>(count));
  for (int32_t j = 0; j < count; ++j) {
    const TRPDrawLineInfo& d = *FDrawItems[lineStart + j];
    TRPDrawDirections& dir = directions[static_cast<size_t>(j)];
    dir.Start = dir.End = paraMode;
    if (!FData.IsTextItem(d.ItemNo)) continue;
    const int32_t styleNo = FData.GetItemStyle(d.ItemNo);
    if (const TRPBiDiMode styleMode = FData.GetStyleSheet()->TextStyles()[styleNo]->BiDiMode;
        styleMode != rpbdUnspecified)
      dir.Start = dir.End = styleMode;
    if (d.Length == 0) continue;
    const LCID locale = FData.GetStyleLocale(styleNo);
    uint16_t types[2] = {C2_NOTAPPLICABLE, C2_NOTAPPLICABLE};
    if (GetItem(d.ItemNo)->IsUnicode()) {
      const WideChar chars[2] = {FData.ItemCharAt(d.ItemNo, d.Offs - 1),
                                 FData.ItemCharAt(d.ItemNo, d.Offs + d.Length - 2)};
      GetStringTypeExW(locale, CT_CTYPE2, chars, 2, types);
    } else {
      const AnsiString& raw = FData.GetItemTextRaw(d.ItemNo);
      const char chars[2] = {raw[static_cast<size_t>(d.Offs - 1)], raw[static_cast<size_t>(d.Offs + d.Length - 2)]};
      GetStringTypeExA(locale, CT_CTYPE2, chars, 2, types);
    }
    dir.Start = DirectionOfType(types[0], dir.Start);
    dir.End = DirectionOfType(types[1], dir.End);
  }

  // Visual order as logical indexes, and each draw item's gap to its logical predecessor.
  std::vector<int32_t> visual;
  visual.reserve(static_cast<size_t>(count));
  size_t point = 0;
  for (int32_t j = 0; j < count; ++j) {
    const TRPDrawDirections& dir = directions[static_cast<size_t>(j)];
    const TRPBiDiMode boundary =
        j > 0 && directions[static_cast<size_t>(j - 1)].End == dir.Start ? dir.Start : paraMode;
    if (boundary == paraMode)
      point = paraMode == rpbdLeftToRight ? visual.size() : 0;
    else if (boundary == rpbdLeftToRight)
      point = std::min(point + 1, visual.size());
    visual.insert(visual.begin() + static_cast<std::ptrdiff_t>(point), j);
  }
  std::vector<int32_t> gaps(static_cast<size_t>(count), 0);
  for (int32_t j = 1; j < count; ++j) {
    const TRPDrawLineInfo& prev = *FDrawItems[lineStart + j - 1];
    gaps[static_cast<size_t>(j)] = FDrawItems[lineStart + j]->Left - (prev.Left + prev.Width);
  }
  int32_t x = first.Left;
  for (const int32_t j : visual) {
    TRPDrawLineInfo& d = *FDrawItems[lineStart + j];
    d.Left = x;
    x += d.Width + gaps[static_cast<size_t>(j)];
  }
}
