// Visual order of the draw items of a finished line.
#include <algorithm>
#include <numeric>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/base/StringTypes.h"
#include "platform/graphics/TextLayout.h"
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

// Stands for a non-text draw item in a line's text: a neutral object.
constexpr WideChar ObjectChar = 0xFFFC;

// Calls f with each UTF-16 unit of a text draw item's characters: the stored units of a
// Unicode item, the decoded characters of an 8-bit one. Stops when f returns true; true
// then.
template <typename F>
bool AnyUnitOf(const TCustomRPFormattedData& data, const TRPDrawLineInfo& d, F f) {
  const AnsiStringView raw = data.GetItemTextRaw(d.ItemNo);
  if (data.GetItem(d.ItemNo)->IsUnicode()) {
    for (size_t i = 2 * static_cast<size_t>(d.Offs - 1), end = i + 2 * static_cast<size_t>(d.Length); i < end; i += 2)
      if (f(static_cast<WideChar>(static_cast<uint8_t>(raw[i]) | (static_cast<uint8_t>(raw[i + 1]) << 8)))) return true;
    return false;
  }
  const WideString decoded = AnsiToWide(raw.substr(static_cast<size_t>(d.Offs - 1), static_cast<size_t>(d.Length)),
                                        data.GetStyleCodePage(data.GetItemStyle(d.ItemNo)));
  return std::any_of(decoded.begin(), decoded.end(), f);
}

}  // namespace

void TRPLineBreaker::PlaceInVisualOrder(int32_t lineStart, const std::vector<int32_t>& visual) {
  // Each draw item keeps the gap it had to its logical predecessor.
  const size_t count = visual.size();
  std::vector<int32_t> gaps(count, 0);
  for (size_t j = 1; j < count; ++j) {
    const TRPDrawLineInfo& prev = *FDrawItems[lineStart + static_cast<int32_t>(j) - 1];
    gaps[j] = FDrawItems[lineStart + static_cast<int32_t>(j)]->Left - (prev.Left + prev.Width);
  }
  int32_t x = FDrawItems[lineStart]->Left;
  for (const int32_t j : visual) {
    TRPDrawLineInfo& d = *FDrawItems[lineStart + j];
    d.Left = x;
    x += d.Width + gaps[static_cast<size_t>(j)];
  }
}

/* A paragraph without a direction draws the text of each draw item in that text's own
   visual order, from the draw item's Left. A line that holds one draw item, or only
   left-to-right text, is right as it stands. When right-to-left text shares a line with
   other draw items (every word of a justified line is one), the draw items follow the
   visual order of the whole line's text, read left to right as the painter reads it:
   each goes where its characters stand on average, so the line reads as the same line
   drawn whole. */
void TRPLineBreaker::ReorderMixedLine(int32_t lineStart) {
  const int32_t count = FDrawCount - lineStart;
  if (count <= 1) return;
  const auto isText = [&](int32_t j) { return FData.IsTextItem(FDrawItems[lineStart + j]->ItemNo); };
  bool rightToLeft = false;
  for (int32_t j = 0; j < count && !rightToLeft; ++j)
    rightToLeft =
        isText(j) && AnyUnitOf(FData, *FDrawItems[lineStart + j], [](WideChar c) { return IsRightToLeftUnit(c); });
  if (!rightToLeft) return;

  WideString text;
  std::vector<size_t> starts(static_cast<size_t>(count) + 1, 0);
  for (int32_t j = 0; j < count; ++j) {
    starts[static_cast<size_t>(j)] = text.size();
    if (!isText(j))
      text += ObjectChar;
    else
      AnyUnitOf(FData, *FDrawItems[lineStart + j], [&](WideChar c) {
        text += c;
        return false;
      });
  }
  starts[static_cast<size_t>(count)] = text.size();

  std::vector<int32_t> visualToLogical;
  std::vector<uint8_t> levels;
  VisualOrder(text, false, visualToLogical, levels);
  std::vector<int64_t> visualAt(text.size(), 0);
  for (size_t v = 0; v < visualToLogical.size(); ++v)
    visualAt[static_cast<size_t>(visualToLogical[v])] = static_cast<int64_t>(v);
  // Each draw item's sum of visual positions over its units; one without text stays
  // right after its logical predecessor.
  struct TPlace {
    int64_t Sum = -1;
    int64_t Units = 1;
  };
  std::vector<TPlace> places(static_cast<size_t>(count));
  for (size_t j = 0; j < places.size(); ++j) {
    const size_t from = starts[j], to = starts[j + 1];
    if (from == to) {
      if (j > 0) places[j] = places[j - 1];
      continue;
    }
    places[j] = TPlace{std::accumulate(visualAt.begin() + static_cast<std::ptrdiff_t>(from),
                                       visualAt.begin() + static_cast<std::ptrdiff_t>(to), int64_t{0}),
                       static_cast<int64_t>(to - from)};
  }
  std::vector<int32_t> visual(static_cast<size_t>(count));
  std::iota(visual.begin(), visual.end(), 0);
  std::stable_sort(visual.begin(), visual.end(), [&](int32_t a, int32_t b) {
    const TPlace& pa = places[static_cast<size_t>(a)];
    const TPlace& pb = places[static_cast<size_t>(b)];
    return pa.Sum * pb.Units < pb.Sum * pa.Units;
  });
  PlaceInVisualOrder(lineStart, visual);
}

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
  if (paraMode == rpbdUnspecified) return ReorderMixedLine(lineStart);
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

  // Visual order as logical indexes.
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
  PlaceInVisualOrder(lineStart, visual);
}
