#include "platform/graphics/TextShapingRuns.h"

#include <algorithm>
#include <atomic>
#include <memory>

#include "platform/base/Surrogates.h"
#include "platform/graphics/FontFace.h"
#include "platform/graphics/TextScripts.h"

namespace {

std::atomic<uint64_t> UnitsMeasured{0};

struct THbBufferDeleter {
  void operator()(hb_buffer_t* buffer) const noexcept { hb_buffer_destroy(buffer); }
};

// Shapes units [begin, end) of the text (the rest is their context) in one face and
// script; each cluster's advance goes to advances[cluster].
void ShapeRun(WideStringView text, const TShapingRun& run, int32_t extra, int32_t* advances, TTaggedGlyphs* glyphs,
              TClusterEdges* edges) {
  // One buffer per thread, kept between calls: shaping runs often, in short pieces.
  thread_local const std::unique_ptr<hb_buffer_t, THbBufferDeleter> kept(hb_buffer_create());
  hb_buffer_t* buffer = kept.get();
  TSizedFont& face = *run.Face;
  hb_buffer_clear_contents(buffer);
  hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t*>(text.data()), static_cast<int>(text.size()),
                      static_cast<unsigned>(run.Begin), static_cast<int>(run.End - run.Begin));
  if (!IsNeutralScript(run.Script)) {
    hb_buffer_set_script(buffer, run.Script);
    hb_buffer_set_direction(buffer, hb_script_get_horizontal_direction(run.Script));
  }
  hb_buffer_guess_segment_properties(buffer);
  hb_shape(face.Face().ShapingFont(), buffer, nullptr, 0);
  const bool rightToLeft = HB_DIRECTION_IS_BACKWARD(hb_buffer_get_direction(buffer));
  unsigned count = 0;
  const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
  const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, &count);
  int64_t pen = 0;  // font units from the run's left edge
  for (unsigned g = 0; g < count;) {
    const uint32_t cluster = infos[g].cluster;
    const int64_t left = pen;
    const int32_t leftPx = face.ScaleX(left);
    bool unsafe = false;
    for (; g < count && infos[g].cluster == cluster; ++g) {
      if (glyphs)
        glyphs->emplace_back(cluster,
                             TShapedGlyph{&face, infos[g].codepoint, face.ScaleX(pen + positions[g].x_offset) - leftPx,
                                          face.ScaleY(positions[g].y_offset)});
      unsafe = unsafe || (hb_glyph_info_get_glyph_flags(&infos[g]) & HB_GLYPH_FLAG_UNSAFE_TO_BREAK) != 0;
      pen += positions[g].x_advance;
    }
    advances[cluster] += ClusterAdvance(face, left, pen, extra);
    if (edges) edges[cluster] = TClusterEdges{left, pen, true, unsafe, rightToLeft};
  }
}

}  // namespace

void CountUnitsMeasured(size_t units) noexcept { UnitsMeasured.fetch_add(units, std::memory_order_relaxed); }

uint64_t TextUnitsMeasured() noexcept { return UnitsMeasured.load(std::memory_order_relaxed); }

char32_t CharAt(WideStringView text, size_t i) {
  const uint32_t pair = SurrogatePairAt(text, i);
  return pair ? pair : text[i];
}

int32_t CharAdvance(TSizedFont& face, char32_t c, int32_t extra) {
  return IsZeroWidthChar(c) ? 0 : face.Advance(c) + extra;
}

namespace {

// The face for character i of the text, which the selected face lacks: the walk's
// fallback face, else the face fallback gives the nearest character after it that the
// selected face lacks, when that face maps character i; else its own fallback face (the
// selected face when no installed face maps it).
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

size_t AssignFaces(TSizedFont& selected, WideStringView text, size_t begin, size_t end, TFaceWalk& walk,
                   const TFaceAssignment& out) {
  size_t firstStrong = end;
  for (size_t i = begin; i < end; ++i) {
    const char32_t c = CharAt(text, i);
    hb_script_t script = ScriptOf(c);
    TSizedFont* face = nullptr;
    if (IsNeutralScript(script)) {
      script = walk.Script;
      if (walk.Face->Maps(c)) face = walk.Face;
    } else {
      firstStrong = std::min(firstStrong, i);
    }
    if (!face) face = selected.Maps(c) ? &selected : FaceBesideFallbacks(selected, text, i, walk.Fallback);
    if (face != &selected && !selected.Maps(c)) walk.Fallback = face;
    out.Faces[i] = walk.Face = face;
    out.Scripts[i] = walk.Script = script;
    out.Fallbacks[i] = walk.Fallback;
    if (c > 0xFFFF) {
      out.Faces[++i] = nullptr;
      out.Scripts[i] = script;
      out.Fallbacks[i] = walk.Fallback;
    }
  }
  return firstStrong;
}

std::vector<TShapingRun> SplitRuns(TSizedFont& selected, WideStringView text, size_t count, TSizedFont* const* faces,
                                   const hb_script_t* scripts) {
  std::vector<TShapingRun> runs;
  for (size_t begin = 0; begin < count;) {
    TSizedFont* face = faces[begin];
    size_t end = begin + 1;
    while (end < count && (!faces[end] || (faces[end] == face && scripts[end] == scripts[begin]))) ++end;
    // A fallback face's run is shaped too, so that its clusters stand where the shaper
    // puts them along the whole run.
    bool shape = face != &selected;
    for (size_t i = begin; i < end && !shape; ++i) shape = faces[i] && NeedsShaping(CharAt(text, i));
    runs.push_back(TShapingRun{begin, end, face, scripts[begin], shape});
    begin = end;
  }
  return runs;
}

int32_t ClusterAdvance(const TSizedFont& face, int64_t left, int64_t right, int32_t extra) {
  int32_t width = face.ScaleX(right) - face.ScaleX(left);
  if (width > 0 && face.SyntheticBold()) ++width;
  return width + extra;
}

void AdvanceRun(WideStringView text, const TShapingRun& run, int32_t extra, int32_t* advances, TTaggedGlyphs* glyphs,
                TClusterEdges* edges) {
  if (run.Shaped) {
    ShapeRun(text, run, extra, advances, glyphs, edges);
    return;
  }
  for (size_t i = run.Begin; i < run.End; ++i)
    if (i == run.Begin || !IsLowSurrogate(text[i]) || !IsHighSurrogate(text[i - 1]))
      advances[i] = CharAdvance(*run.Face, CharAt(text, i), extra);
}
