#include "platform/graphics/TextShaping.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/base/Surrogates.h"
#include "platform/graphics/FontFace.h"
#include "platform/graphics/TextScripts.h"

namespace {

struct THbBufferDeleter {
  void operator()(hb_buffer_t* buffer) const noexcept { hb_buffer_destroy(buffer); }
};

// The character that starts at unit i: a surrogate pair's code point, else the unit.
char32_t CharAt(WideStringView text, size_t i) {
  const uint32_t pair = SurrogatePairAt(text, i);
  return pair ? pair : text[i];
}

int32_t CharAdvance(TSizedFont& face, char32_t c, int32_t extra) {
  return IsZeroWidthChar(c) ? 0 : face.Advance(c) + extra;
}

// Glyphs of shaped clusters, tagged with the unit their cluster starts at.
using TTaggedGlyphs = std::vector<std::pair<size_t, TShapedGlyph>>;

// Shapes units [begin, end) of the text (the rest is their context) in one face and
// script; the clusters' advances go to out.Advances, their glyphs to `glyphs`.
void ShapeRun(hb_buffer_t* buffer, WideStringView text, size_t begin, size_t end, TSizedFont& face, hb_script_t script,
              int32_t extra, TShapedText& out, TTaggedGlyphs& glyphs) {
  hb_buffer_clear_contents(buffer);
  hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t*>(text.data()), static_cast<int>(text.size()),
                      static_cast<unsigned>(begin), static_cast<int>(end - begin));
  if (!IsNeutralScript(script)) {
    hb_buffer_set_script(buffer, script);
    hb_buffer_set_direction(buffer, hb_script_get_horizontal_direction(script));
  }
  hb_buffer_guess_segment_properties(buffer);
  hb_shape(face.Face().ShapingFont(), buffer, nullptr, 0);
  unsigned count = 0;
  const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
  const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, &count);
  int64_t pen = 0;  // font units from the run's left edge
  for (unsigned g = 0; g < count;) {
    const uint32_t cluster = infos[g].cluster;
    const int32_t left = face.ScaleX(pen);
    for (; g < count && infos[g].cluster == cluster; ++g) {
      glyphs.emplace_back(cluster,
                          TShapedGlyph{&face, infos[g].codepoint, face.ScaleX(pen + positions[g].x_offset) - left,
                                       face.ScaleY(positions[g].y_offset)});
      pen += positions[g].x_advance;
    }
    int32_t width = face.ScaleX(pen) - left;
    if (width > 0 && face.SyntheticBold()) ++width;
    out.Advances[cluster] += width + extra;
  }
}

// The face for character i of the text, which the selected face lacks: the face of the
// nearest character before it that the selected face lacks (before), else the face
// fallback gives the nearest such character after it, when that face maps character i;
// else its own fallback face (the selected face when no installed face maps it).
TSizedFont* FaceBesideFallbacks(TSizedFont& selected, WideStringView text, size_t i, TSizedFont* before) {
  const char32_t c = CharAt(text, i);
  if (before && before->Maps(c)) return before;
  for (size_t j = i + (c > 0xFFFF ? 2 : 1); j < text.size(); ++j) {
    const char32_t next = CharAt(text, j);
    if (selected.Maps(next)) {
      if (next > 0xFFFF) ++j;
      continue;
    }
    TSizedFont& after = selected.FaceFor(next);
    if (&after != &selected && after.Maps(c)) return &after;
    break;
  }
  return &selected.FaceFor(c);
}

}  // namespace

int64_t PlainAdvances(HDC dc, WideStringView text, int32_t* advances) {
  TSizedFont& face = dc->SelectedFont().Sized();
  const int32_t extra = dc->State.CharExtra;
  int64_t total = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t c = CharAt(text, i);
    int32_t advance = face.PlainAdvance(c);
    if (advance < 0) return -1;
    if (!IsZeroWidthChar(c)) advance += extra;
    advances[i] = advance;
    total += advance;
    if (c > 0xFFFF) advances[++i] = 0;
  }
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
  // The quick road stopped part way: what it wrote is no shaped run's start.
  out.Width = 0;
  std::fill(out.Advances.begin(), out.Advances.end(), 0);

  // Each character's face and script: a neutral one (space, digit, punctuation, mark)
  // stays in the face and script of the character before it when that face maps it.
  // Any other character the selected face lacks takes the face that fallback chose for
  // the nearest such character before it, or else after it, when that face maps it; only
  // then a face of its own. So punctuation between Latin letters and Han characters
  // comes from the Han characters' face, not from whatever face fallback ranks first.
  std::vector<hb_script_t> scripts(n, HB_SCRIPT_COMMON);
  TSizedFont* previousFace = &selected;
  TSizedFont* lastFallback = nullptr;  // the face of the nearest character before that selected lacks
  hb_script_t previousScript = HB_SCRIPT_COMMON;
  size_t firstStrong = n;
  for (size_t i = 0; i < n; ++i) {
    const char32_t c = CharAt(text, i);
    hb_script_t script = ScriptOf(c);
    TSizedFont* face = nullptr;
    if (IsNeutralScript(script)) {
      script = previousScript;
      if (previousFace->Maps(c)) face = previousFace;
    } else {
      firstStrong = std::min(firstStrong, i);
    }
    if (!face) face = selected.Maps(c) ? &selected : FaceBesideFallbacks(selected, text, i, lastFallback);
    if (face != &selected && !selected.Maps(c)) lastFallback = face;
    out.Faces[i] = previousFace = face;
    scripts[i] = previousScript = script;
    if (c > 0xFFFF) scripts[++i] = script;
  }
  // Neutral characters that open the text take the script after them.
  for (size_t i = 0; i < firstStrong && firstStrong < n; ++i) scripts[i] = scripts[firstStrong];

  // One buffer per thread, kept between calls: shaping runs often, in short pieces.
  thread_local const std::unique_ptr<hb_buffer_t, THbBufferDeleter> buffer(hb_buffer_create());
  TTaggedGlyphs glyphs;
  for (size_t begin = 0; begin < n;) {
    TSizedFont* face = out.Faces[begin];
    size_t end = begin + 1;
    while (end < n && (!out.Faces[end] || (out.Faces[end] == face && scripts[end] == scripts[begin]))) ++end;
    out.Ascent = std::max(out.Ascent, face->Metrics().Ascent);
    out.Descent = std::max(out.Descent, face->Metrics().Descent);
    // A fallback face's run is shaped too, so that its clusters stand where the shaper
    // puts them along the whole run.
    bool shape = face != &selected;
    for (size_t i = begin; i < end && !shape; ++i) shape = out.Faces[i] && NeedsShaping(CharAt(text, i));
    if (shape) {
      ShapeRun(buffer.get(), text, begin, end, *face, scripts[begin], extra, out, glyphs);
      std::fill(out.Faces.begin() + static_cast<ptrdiff_t>(begin), out.Faces.begin() + static_cast<ptrdiff_t>(end),
                nullptr);
    } else {
      for (size_t i = begin; i < end; ++i)
        if (out.Faces[i]) out.Advances[i] = CharAdvance(*face, CharAt(text, i), extra);
    }
    begin = end;
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
