#include "platform/graphics/TextTails.h"

#include <algorithm>
#include <vector>

#include "platform/base/Surrogates.h"
#include "platform/graphics/FontFace.h"
#include "platform/graphics/TextLayout.h"
#include "platform/graphics/TextScripts.h"
#include "platform/graphics/TextShapingRuns.h"

namespace {

// How far into a tail its shaping may join the whole text's at the earliest: the shaper
// gives a run five characters of context on each side, and ten units hold at least five
// characters.
constexpr size_t JoinContextUnits = 10;
// How far past a join point inside a shaped run the tail is shaped at least, so that the
// shaper's mark at the join point knows what follows it.
constexpr size_t JoinLookaheadUnits = 32;

// A pair's second unit: no character starts there.
bool InsidePair(WideStringView text, size_t u) {
  return u > 0 && IsLowSurrogate(text[u]) && IsHighSurrogate(text[u - 1]);
}

}  // namespace

// The whole text as ShapeText shapes it, and what a tail needs to find where it joins.
struct TTextTails::TWhole {
  WideStringView Text;
  TSizedFont* Selected = nullptr;
  int32_t Extra = 0;
  // Every character is drawn glyph by glyph in the selected face: so is every tail's,
  // and its advances are its characters' own.
  bool Plain = false;
  // Per unit (left empty for plain text):
  std::vector<TSizedFont*> Faces;      // as the walk assigns them
  std::vector<hb_script_t> Scripts;    // as the walk assigns them (the opening neutrals not given the next script)
  std::vector<TSizedFont*> Fallbacks;  // as the walk assigns them
  std::vector<int32_t> Advances;       // as ShapeText of the whole text gives them
  std::vector<TClusterEdges> Edges;    // of the clusters of shaped runs
  std::vector<size_t> RunEnd;          // the end of the unit's run
  std::vector<size_t> NextStrong;      // the first unit from here whose character's script is not neutral (or the end)
  std::vector<size_t> NextShaping;     // the first unit from here whose character needs shaping (or the end)
};

namespace {

// A tail's own shaping of its first units, and where it joins the whole text's.
//
// State: units [0, Assigned) of the tail have their faces and scripts (the walk stands
// after Assigned - 1); units [0, ShapedUnits) are shaped into Shaped (their advances) and
// Edges. Meeting is the first unit before which the tail's walk stands as the whole
// text's (0 until found), and Join the join point; both count from the tail's start.
class TTailPiece {
public:
  TTailPiece(const TTextTails::TWhole& whole, size_t from)
      : W(whole),
        From(from),
        Tail(whole.Text.substr(from)),
        Walk{whole.Selected},
        Strong(whole.NextStrong.empty() ? Tail.size() : whole.NextStrong[from] - from) {}

  // Finds the join point and shapes the units before it (and some past it inside a
  // shaped run), or shapes the whole tail when it has none.
  void FindJoin();
  // The tail's advances of units [0, count).
  void Advances(size_t count, int32_t* out) const;

private:
  bool Meet();
  void AssignTo(size_t units);
  // Shapes units [0, units) of the tail; a run that the tail continues past them is
  // shaped as the tail shapes it (the walks have met before its end).
  void ShapeTo(size_t units);
  // The face of the character that unit u is part of.
  TSizedFont* FaceOf(size_t u) const { return Faces[u] ? Faces[u] : Faces[u - 1]; }
  // Whether the tail shapes its run from unit begin to the end of the whole text's run
  // that holds unit last (the walks have met before last).
  bool TailShapes(size_t begin, size_t last) const {
    return FaceOf(last) != W.Selected || W.NextShaping[From + begin] < W.RunEnd[From + last];
  }
  // The tail's run holding unit u, from its first unit (the walks have met before u).
  size_t RunStart(size_t u) const;
  // The script a tail unit's run has: the opening neutrals take the first strong one's.
  hb_script_t RunScript(size_t u) const;

  const TTextTails::TWhole& W;
  const size_t From;
  const WideStringView Tail;
  TFaceWalk Walk;
  size_t Strong;  // the tail's first unit whose character's script is not neutral (its length: none)
  std::vector<TSizedFont*> Faces;
  std::vector<hb_script_t> Scripts;
  std::vector<TSizedFont*> Fallbacks;
  std::vector<int32_t> Shaped;
  std::vector<TClusterEdges> Edges;
  size_t Assigned = 0;
  size_t ShapedUnits = 0;
  size_t Meeting = 0;
  size_t Join = 0;
  // How the run that Join splits goes on: taken character by character in the tail
  // (Unshaped), or as the whole text shaped it with its edges moved by Offset (Spliced);
  // Boundary: Join starts a run.
  enum class TJoinKind { Whole, Boundary, Unshaped, Spliced } Kind = TJoinKind::Whole;
  size_t RunEnd = 0;  // the end of the run that Join splits, from the tail's start
  int64_t Offset = 0;
};

void TTailPiece::AssignTo(size_t units) {
  if (units <= Assigned) return;
  // A pair that ends the range takes its second unit too.
  Faces.resize(units + 1);
  Scripts.resize(units + 1);
  Fallbacks.resize(units + 1);
  const size_t strong = AssignFaces(*W.Selected, Tail, Assigned, units, Walk,
                                    TFaceAssignment{Faces.data(), Scripts.data(), Fallbacks.data()});
  if (strong < units) Strong = std::min(Strong, strong);
  CountUnitsMeasured(units - Assigned);
  Assigned = InsidePair(Tail, units) ? units + 1 : units;
}

hb_script_t TTailPiece::RunScript(size_t u) const {
  return u < Strong && Strong < Assigned ? Scripts[Strong] : Scripts[u];
}

size_t TTailPiece::RunStart(size_t u) const {
  const TSizedFont* face = FaceOf(u);
  const hb_script_t script = RunScript(u);
  while (u > 0 && (!Faces[u] || FaceOf(u - 1) == face) && RunScript(u - 1) == script) --u;
  return u;
}

bool TTailPiece::Meet() {
  // Not before the tail's first strong character, whose script its opening neutrals
  // take, and not closer to its start than the context the shaper looks at.
  const size_t length = Tail.size();
  size_t earliest = JoinContextUnits;
  if (Strong < length) earliest = std::max(earliest, Strong + 1);
  for (size_t u = earliest - 1; u + 1 < length; ++u) {
    AssignTo(std::min(length, std::max(u + 1, 2 * Assigned)));
    if (WalkAfter(Faces.data(), Scripts.data(), Fallbacks.data(), u) ==
        WalkAfter(W.Faces.data(), W.Scripts.data(), W.Fallbacks.data(), From + u)) {
      Meeting = u + 1;
      return true;
    }
  }
  return false;
}

void TTailPiece::ShapeTo(size_t units) {
  AssignTo(units);
  std::vector<hb_script_t> scripts(Scripts.begin(), Scripts.begin() + static_cast<ptrdiff_t>(units));
  for (size_t u = 0; u < units; ++u) scripts[u] = RunScript(u);
  std::vector<TShapingRun> runs = SplitRuns(*W.Selected, Tail, units, Faces.data(), scripts.data());
  TShapingRun& last = runs.back();
  if (units < Tail.size() && W.RunEnd[From + units - 1] > From + units) last.Shaped = TailShapes(last.Begin, units - 1);
  Shaped.assign(units, 0);
  Edges.assign(units, TClusterEdges{});
  for (const TShapingRun& run : runs) AdvanceRun(Tail, run, W.Extra, Shaped.data(), nullptr, Edges.data());
  CountUnitsMeasured(units);
  ShapedUnits = units;
}

void TTailPiece::FindJoin() {
  const size_t length = Tail.size();
  if (InsidePair(W.Text, From) || !Meet()) {
    ShapeTo(length);
    return;
  }
  RunEnd = W.RunEnd[From + Meeting - 1] - From;
  if (RunEnd == Meeting) {
    Kind = TJoinKind::Boundary;
    Join = Meeting;
    ShapeTo(Join);
    return;
  }
  const size_t runStart = RunStart(Meeting - 1);
  if (!TailShapes(runStart, Meeting - 1)) {
    Kind = TJoinKind::Unshaped;
    Join = InsidePair(Tail, Meeting) ? Meeting + 1 : Meeting;
    ShapeTo(Join);
    return;
  }
  // A cluster start inside the shaped run that both shapings mark safe; else the run's
  // end, also when that is nearer than the shaping past a cluster start would reach.
  const bool lastRun = From + RunEnd == W.Text.size();
  for (size_t q = Meeting; q < RunEnd && (lastRun || RunEnd > Meeting + JoinLookaheadUnits); ++q) {
    const TClusterEdges& whole = W.Edges[From + q];
    if (!whole.Starts || whole.UnsafeToBreak) continue;
    if (q + JoinLookaheadUnits > ShapedUnits)
      ShapeTo(std::min(length, std::max(q + JoinLookaheadUnits, 2 * ShapedUnits)));
    if (ShapedUnits == length) return;
    if (!Edges[q].Starts || Edges[q].UnsafeToBreak) continue;
    Kind = TJoinKind::Spliced;
    Join = q;
    // The pens of the two shapings differ by this much where they join: on the run's
    // left (its start) when it runs left to right, else on its right, past the join.
    Offset = whole.RightToLeft ? whole.Right - Edges[q].Right : Edges[q].Left - whole.Left;
    return;
  }
  if (lastRun) {
    ShapeTo(length);
    return;
  }
  Kind = TJoinKind::Boundary;
  Join = RunEnd;
  ShapeTo(Join);
}

void TTailPiece::Advances(size_t count, int32_t* out) const {
  const size_t own = std::min(count, Kind == TJoinKind::Whole ? ShapedUnits : Join);
  std::copy_n(Shaped.begin(), own, out);
  CountUnitsMeasured(count);
  if (Kind == TJoinKind::Spliced && W.Edges[From + Join].RightToLeft) {
    // The tail's clusters before the join stand to the right of the whole text's part.
    TSizedFont& face = *FaceOf(Join - 1);
    for (size_t u = RunStart(Join - 1); u < own; ++u)
      if (Edges[u].Starts) out[u] = ClusterAdvance(face, Edges[u].Left + Offset, Edges[u].Right + Offset, W.Extra);
  }
  for (size_t u = own; u < count; ++u) {
    const size_t at = From + u;
    if (u >= RunEnd || Kind == TJoinKind::Boundary) {
      out[u] = W.Advances[at];
    } else if (Kind == TJoinKind::Unshaped) {
      out[u] = InsidePair(W.Text, at) ? 0 : CharAdvance(*W.Faces[at], CharAt(W.Text, at), W.Extra);
    } else if (W.Edges[at].RightToLeft) {
      out[u] = W.Advances[at];
    } else {
      const TClusterEdges& e = W.Edges[at];
      out[u] = e.Starts ? ClusterAdvance(*W.Faces[at], e.Left + Offset, e.Right + Offset, W.Extra) : 0;
    }
  }
}

}  // namespace

TTextTails::TTextTails(HDC dc, WideStringView text) : FWhole(std::make_unique<TWhole>()) {
  TWhole& w = *FWhole;
  w.Text = text;
  w.Selected = &dc->SelectedFont().Sized();
  w.Extra = dc->State.CharExtra;
  const size_t n = text.size();
  w.Advances.resize(n);
  w.Plain = PlainAdvances(dc, text, w.Advances.data()) >= 0;
  if (w.Plain) {
    w.Advances.clear();
    return;
  }
  CountUnitsMeasured(n);
  w.Faces.resize(n + 1);
  w.Scripts.resize(n + 1);
  w.Fallbacks.resize(n + 1);
  TFaceWalk walk{w.Selected};
  const size_t firstStrong =
      AssignFaces(*w.Selected, text, 0, n, walk, TFaceAssignment{w.Faces.data(), w.Scripts.data(), w.Fallbacks.data()});
  std::vector<hb_script_t> scripts(w.Scripts.begin(), w.Scripts.begin() + static_cast<ptrdiff_t>(n));
  // Neutral characters that open the text take the script after them.
  for (size_t i = 0; i < firstStrong && firstStrong < n; ++i) scripts[i] = scripts[firstStrong];
  w.Advances.assign(n, 0);
  w.Edges.assign(n, TClusterEdges{});
  w.RunEnd.resize(n);
  for (const TShapingRun& run : SplitRuns(*w.Selected, text, n, w.Faces.data(), scripts.data())) {
    AdvanceRun(text, run, w.Extra, w.Advances.data(), nullptr, w.Edges.data());
    std::fill(w.RunEnd.begin() + static_cast<ptrdiff_t>(run.Begin), w.RunEnd.begin() + static_cast<ptrdiff_t>(run.End),
              run.End);
  }
  w.NextStrong.resize(n + 1);
  w.NextShaping.resize(n + 1);
  w.NextStrong[n] = w.NextShaping[n] = n;
  for (size_t u = n; u-- > 0;) {
    w.NextStrong[u] = w.NextStrong[u + 1];
    w.NextShaping[u] = w.NextShaping[u + 1];
    if (!w.Faces[u]) continue;
    const char32_t c = CharAt(text, u);
    if (!IsNeutralScript(ScriptOf(c))) w.NextStrong[u] = u;
    if (NeedsShaping(c)) w.NextShaping[u] = u;
  }
}

TTextTails::~TTextTails() = default;

bool TTextTails::MeasuresWith(HDC dc) const {
  return &dc->SelectedFont().Sized() == FWhole->Selected && dc->State.CharExtra == FWhole->Extra;
}

size_t TTextTails::Length() const { return FWhole->Text.size(); }

void TTextTails::TailAdvances(size_t from, size_t count, int32_t* advances) const {
  const TWhole& w = *FWhole;
  if (count == 0) return;
  if (w.Plain && !InsidePair(w.Text, from)) {
    for (size_t u = 0; u < count; ++u)
      advances[u] = InsidePair(w.Text, from + u) ? 0 : CharAdvance(*w.Selected, CharAt(w.Text, from + u), w.Extra);
    CountUnitsMeasured(count);
    return;
  }
  if (from == 0) {
    std::copy_n(w.Advances.begin(), count, advances);
    CountUnitsMeasured(count);
    return;
  }
  TTailPiece piece(w, from);
  piece.FindJoin();
  piece.Advances(count, advances);
}

void TTextTails::TailExtents(size_t from, size_t count, int32_t maxExtent, int32_t* dx, int32_t& fit) const {
  std::vector<int32_t> advances(count);
  TailAdvances(from, count, advances.data());
  ExtentsOfAdvances(advances.data(), count, maxExtent, dx, &fit);
}
