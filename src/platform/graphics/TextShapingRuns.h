// The steps of shaping that ShapeText (TextShaping.h) and the shaping of a text's tails
// (TextTails.h) share: each unit's face and script, the runs they make, and the advances
// of one run. Used inside the graphics library only: it names HarfBuzz types.
#pragma once

#include <hb.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/base/Types.h"
#include "platform/graphics/TextShaping.h"

class TSizedFont;

// Adds to the count that TextUnitsMeasured reports.
void CountUnitsMeasured(size_t units) noexcept;

// The character that starts at unit i: a surrogate pair's code point, else the unit.
char32_t CharAt(WideStringView text, size_t i);
// The advance of a character that its face draws glyph by glyph.
int32_t CharAdvance(TSizedFont& face, char32_t c, int32_t extra);

// Faces are assigned walking forward: a neutral character (space, digit, punctuation,
// mark) stays in the face and script of the character before it when that face maps it.
// Any other character the selected face maps takes the selected face. One it lacks takes
// the face that fallback chose for the nearest such character before it, or else the one
// fallback gives the nearest such character after it, when that face maps it; only then
// a face of its own (TSizedFont::FaceFor of the selected face). So punctuation between
// Latin letters and Han characters comes from the Han characters' face, not from
// whatever face fallback ranks first for it. The walk carries the face and script of the
// character before, and the face of the nearest character before that the selected face
// lacks.
struct TFaceWalk {
  TSizedFont* Face = nullptr;  // the selected face at the start
  hb_script_t Script = HB_SCRIPT_COMMON;
  TSizedFont* Fallback = nullptr;
  bool operator==(const TFaceWalk&) const = default;
};

// The faces and scripts the walk assigns, a unit each: a surrogate pair's second unit
// gets no face, and the pair's script and fallback.
struct TFaceAssignment {
  TSizedFont** Faces;
  hb_script_t* Scripts;
  TSizedFont** Fallbacks;  // the walk's fallback face after the unit
};

// Assigns the characters that start in units [begin, end) of text their face and script,
// walking on from `walk` (a pair's second unit too, even past end); the text after end
// is looked at for the face of the next character the selected face lacks. Returns the
// first of those units whose character's own script is not neutral, or end.
size_t AssignFaces(TSizedFont& selected, WideStringView text, size_t begin, size_t end, TFaceWalk& walk,
                   const TFaceAssignment& out);

// The walk as it stands after unit u, read back from the faces, scripts and fallbacks
// assigned.
inline TFaceWalk WalkAfter(TSizedFont* const* faces, const hb_script_t* scripts, TSizedFont* const* fallbacks,
                           size_t u) {
  return TFaceWalk{faces[u] ? faces[u] : faces[u - 1], scripts[u], fallbacks[u]};
}

// A run: units of one face and script, shaped as a whole or advancing character by
// character.
struct TShapingRun {
  size_t Begin = 0;
  size_t End = 0;
  TSizedFont* Face = nullptr;
  hb_script_t Script = HB_SCRIPT_COMMON;
  bool Shaped = false;
};

// The runs of units [0, count): the longest spans of one face and script (a pair's
// second unit goes with its first); a run is shaped when its face is not the selected
// one (so that its clusters stand where the shaper puts them) or a character of it needs
// shaping. A run that text continues past count is cut there.
std::vector<TShapingRun> SplitRuns(TSizedFont& selected, WideStringView text, size_t count, TSizedFont* const* faces,
                                   const hb_script_t* scripts);

// A shaped cluster as its first unit records it: its edges in font units from the
// run's visual left (the order the shaper gives glyphs in), and the shaper's mark that
// text broken before it and shaped as two pieces may shape otherwise than whole.
struct TClusterEdges {
  int64_t Left = 0;
  int64_t Right = 0;
  bool Starts = false;  // a cluster starts at this unit
  bool UnsafeToBreak = false;
  bool RightToLeft = false;  // the run is laid out from its logical end
};

// Glyphs of shaped clusters, tagged with the unit their cluster starts at.
using TTaggedGlyphs = std::vector<std::pair<size_t, TShapedGlyph>>;

// The advance of a shaped cluster whose edges lie at left and right font units.
int32_t ClusterAdvance(const TSizedFont& face, int64_t left, int64_t right, int32_t extra);

// The advances of a run's units into advances[run.Begin .. run.End) (added: each starts
// at 0), text beyond the run being its context. A shaped run's glyphs go to `glyphs`
// and its clusters' edges to `edges` (each when given, indexed as text).
void AdvanceRun(WideStringView text, const TShapingRun& run, int32_t extra, int32_t* advances, TTaggedGlyphs* glyphs,
                TClusterEdges* edges);
