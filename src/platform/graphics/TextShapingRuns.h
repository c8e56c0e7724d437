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

// Faces are assigned walking forward: a character of a script gets the face that maps it
// (TSizedFont::FaceFor of the selected face); a neutral one (space, digit, punctuation,
// mark) stays in the face and script of the character before it when that face maps it.
// The walk carries the face and script of the character before.
struct TFaceWalk {
  TSizedFont* Face = nullptr;  // the selected face at the start
  hb_script_t Script = HB_SCRIPT_COMMON;
  bool operator==(const TFaceWalk&) const = default;
};

// Assigns the characters that start in units [begin, end) of text their face and
// script, walking on from `walk` (a surrogate pair's second unit gets no face and the
// pair's script, even past end). Returns the first of those units whose character's
// own script is not neutral, or end.
size_t AssignFaces(TSizedFont& selected, WideStringView text, size_t begin, size_t end, TFaceWalk& walk,
                   TSizedFont** faces, hb_script_t* scripts);

// The walk as it stands after unit u, read back from the faces and scripts assigned.
inline TFaceWalk WalkAfter(TSizedFont* const* faces, const hb_script_t* scripts, size_t u) {
  return TFaceWalk{faces[u] ? faces[u] : faces[u - 1], scripts[u]};
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
