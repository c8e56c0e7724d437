// Measuring the tails of one text, line after line.
//
// Line breaking asks, line after line, which units of the rest of a paragraph (its tail
// text[from, end)) fit a width. The answer needs the advances of only the tail's first
// units, but exactly as ShapeText gives them for the whole tail: the clusters of a
// shaped run are rounded along the whole run (from its far end when it runs right to
// left), and whether a run is shaped at all may depend on a character far ahead. So a
// front piece measured alone can move a break, and measuring every whole tail costs the
// square of the text's length.
//
// TTextTails shapes the whole text once and answers each tail from that, shaping anew
// only the tail's first units:
// - A tail walks its faces and scripts from the selected face, the whole text from its
//   own start: the two walks meet once they stand alike after a unit, at the latest at
//   the tail's first character of a script (before it the tail's opening neutrals take
//   that script). After the meeting the runs are the same.
// - From the first join point at or after the meeting, and at least ten units into the
//   tail (so that the shaper sees the same five characters of context around every run
//   it shapes), the whole text's shaping holds for the tail. A join point is a run
//   boundary; a character start inside a run the tail does not shape; or a cluster start
//   inside a shaped run that the shaper marks safe to break both in the whole text and
//   in the tail's shaping carried on 32 units past it (HarfBuzz's unsafe-to-break flag
//   clear: text broken there and shaped as two pieces shapes as it does whole; the
//   shaper's rules look a few characters around a point, far fewer than 32).
// - The tail's units before the join point are shaped anew, its later units take the
//   whole text's advances; in the run that the join point splits, a cluster's edges are
//   moved by the difference between the two shapings' pens at the join point before
//   they are rounded. A tail without a join point is shaped whole.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/base/Types.h"
#include "platform/graphics/DeviceContext.h"

class TTextTails {
public:
  // Shapes text (which must outlive this) once, with the font selected into dc and the
  // context's character extra.
  TTextTails(HDC dc, WideStringView text);
  ~TTextTails();
  TTextTails(const TTextTails&) = delete;
  TTextTails& operator=(const TTextTails&) = delete;

  // True when dc measures with the font and character extra the text was shaped with.
  bool MeasuresWith(HDC dc) const;
  size_t Length() const;

  // The advances of units [0, count) of the tail text[from, end) (count at most
  // end - from) into advances[0..count): as ShapeText of the tail alone gives them.
  void TailAdvances(size_t from, size_t count, int32_t* advances) const;
  // Those units' right edges into dx[0..count), and fit: how many leading units end
  // within maxExtent, as GetTextExtentExPointW of the whole tail counts them while they
  // are fewer than count.
  void TailExtents(size_t from, size_t count, int32_t maxExtent, int32_t* dx, int32_t& fit) const;

  // The whole text's shaping (TextTails.cpp).
  struct TWhole;

private:
  std::unique_ptr<TWhole> FWhole;
};
