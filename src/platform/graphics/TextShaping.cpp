#include "platform/graphics/TextShaping.h"

#include <algorithm>

#include "platform/base/Surrogates.h"
#include "platform/graphics/FontFace.h"
#include "platform/graphics/TextShapingRuns.h"

int64_t PlainAdvances(HDC dc, WideStringView text, int32_t* advances) {
  TSizedFont& face = dc->SelectedFont().Sized();
  const int32_t extra = dc->State.CharExtra;
  int64_t total = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t c = CharAt(text, i);
    int32_t advance = face.PlainAdvance(c);
    if (advance < 0) {
      CountUnitsMeasured(i + 1);
      return -1;
    }
    if (!IsZeroWidthChar(c)) advance += extra;
    advances[i] = advance;
    total += advance;
    if (c > 0xFFFF) advances[++i] = 0;
  }
  CountUnitsMeasured(text.size());
  return total;
}

TShapedText ShapeText(HDC dc, WideStringView text) {
  TSizedFont& selected = dc->SelectedFont().Sized();
  const int32_t extra = dc->State.CharExtra;
  const size_t n = text.size();
  TShapedText out;
  out.Advances.assign(n, 0);
  out.Faces.assign(n, nullptr);
  out.Ascent = selected.Metrics().Ascent;
  out.Descent = selected.Metrics().Descent;
  out.Width = PlainAdvances(dc, text, out.Advances.data());
  if (out.Width >= 0) {
    for (size_t i = 0; i < n; ++i) {
      out.Faces[i] = &selected;
      if (CharAt(text, i) > 0xFFFF) ++i;  // a pair's second unit draws nothing
    }
    return out;
  }
  // The plain measuring may have filled a first part before it stopped.
  out.Advances.assign(n, 0);
  out.Width = 0;
  CountUnitsMeasured(n);

  std::vector<hb_script_t> scripts(n, HB_SCRIPT_COMMON);
  std::vector<TSizedFont*> fallbacks(n);
  TFaceWalk walk{&selected};
  const size_t firstStrong =
      AssignFaces(selected, text, 0, n, walk, TFaceAssignment{out.Faces.data(), scripts.data(), fallbacks.data()});
  // Neutral characters that open the text take the script after them.
  for (size_t i = 0; i < firstStrong && firstStrong < n; ++i) scripts[i] = scripts[firstStrong];

  TTaggedGlyphs glyphs;
  for (const TShapingRun& run : SplitRuns(selected, text, n, out.Faces.data(), scripts.data())) {
    out.Ascent = std::max(out.Ascent, run.Face->Metrics().Ascent);
    out.Descent = std::max(out.Descent, run.Face->Metrics().Descent);
    AdvanceRun(text, run, extra, out.Advances.data(), &glyphs, nullptr);
    if (run.Shaped)
      std::fill(out.Faces.begin() + static_cast<ptrdiff_t>(run.Begin),
                out.Faces.begin() + static_cast<ptrdiff_t>(run.End), nullptr);
  }
  for (int32_t advance : out.Advances) out.Width += advance;
  if (glyphs.empty()) return out;
  // Right-to-left runs give their glyphs in visual order; the rest are in logical order.
  const auto byUnit = [](const auto& a, const auto& b) { return a.first < b.first; };
  if (!std::is_sorted(glyphs.begin(), glyphs.end(), byUnit)) std::stable_sort(glyphs.begin(), glyphs.end(), byUnit);
  out.GlyphStart.assign(n + 1, 0);
  out.Glyphs.reserve(glyphs.size());
  for (const auto& [unit, glyph] : glyphs) {
    ++out.GlyphStart[unit + 1];
    out.Glyphs.push_back(glyph);
  }
  for (size_t i = 0; i < n; ++i) out.GlyphStart[i + 1] += out.GlyphStart[i];
  return out;
}

std::vector<TPlacedGlyph> PlaceGlyphs(const TShapedText& shaped, WideStringView text,
                                      const std::vector<int32_t>& visualToLogical, const int32_t* advances) {
  std::vector<TPlacedGlyph> out;
  out.reserve(text.size());
  int64_t penX = 0;
  for (int32_t logical : visualToLogical) {
    const size_t i = static_cast<size_t>(logical);
    const int32_t pen = static_cast<int32_t>(penX);
    penX += advances[i];
    const auto unit = static_cast<uint32_t>(i);
    if (!shaped.GlyphStart.empty())
      for (uint32_t g = shaped.GlyphStart[i]; g < shaped.GlyphStart[i + 1]; ++g) {
        const TShapedGlyph& glyph = shaped.Glyphs[g];
        out.push_back(TPlacedGlyph{glyph.Font, 0, glyph.Glyph, pen + glyph.X, glyph.Y, unit});
      }
    if (!shaped.Faces[i]) continue;
    char32_t c = text[i];
    if (uint32_t pair = SurrogatePairAt(text, i))
      c = pair;
    else if (IsSurrogate(text[i]))
      c = IsHighSurrogate(text[i]) ? 0xFFFD : 0;  // a second unit draws nothing
    if (c != 0 && !IsZeroWidthChar(c)) out.push_back(TPlacedGlyph{shaped.Faces[i], c, 0, pen, 0, unit});
  }
  return out;
}
