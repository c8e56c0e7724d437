// Item text on a canvas: measuring with fit counts, caret positions and drawing of
// bidirectional text, through the canvas's own measuring and character placement, so
// that the engine's metrics are the platform's.
//
// The zero-width characters (U+200B, U+200D, U+2060) get no width whatever the font
// reports. Text is stored item text (RPUnicode.h); options decide its form.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/Types.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/TextTails.h"
#include "richtext/model/RPItemInfo.h"

// Width of the whole text in pixels.
int32_t GetItemTextWidth(AnsiStringView text, TCanvas* canvas, TRPItemOptions options);
// Width and height of the whole text: the height is the font's, or that of a taller face
// fallback draws some of the text with.
TSize GetItemTextSize(AnsiStringView text, TCanvas* canvas, TRPItemOptions options);
// Ascent and descent of the faces that draw the text (the font's, or more where a face
// fallback takes reaches higher or lower).
void GetItemTextFaceExtent(AnsiStringView text, TCanvas* canvas, TRPItemOptions options, int32_t& ascent,
                           int32_t& descent);
// Size of count UTF-16 units, less the width the font gives each zero-width character.
TSize MeasureWideText(TCanvas* canvas, const WideChar* text, int32_t count);

// extents (optional, count entries) receive the right edge of each character; fit the
// number of leading characters whose right edge is within maxExtent.
void MeasureTextFit(TCanvas* canvas, AnsiStringView text, int32_t count, TSize& size, TRPItemOptions options,
                    int32_t* extents, int32_t& fit, int32_t maxExtent);
// MeasureTextFit of count UTF-16 units.
void MeasureWideTextFit(TCanvas* canvas, const WideChar* units, int32_t count, TSize& size, int32_t* extents,
                        int32_t& fit, int32_t maxExtent);
// MeasureWideTextFit of a whole tail of the text that tails were made of (text: its
// units), from unit from: the same fit, and the extents of the first units up to and
// including the first that does not fit (all of them when the whole tail fits). Only
// as much of the tail is measured as finding the fit takes.
void MeasureTailFit(const TTextTails& tails, const WideChar* text, size_t from, int32_t maxExtent,
                    std::vector<int32_t>& extents, int32_t& fit);
void MeasureItemTextFit(TCanvas* canvas, AnsiStringView text, int32_t maxExtent, TRPItemOptions options,
                        int32_t* extents, int32_t& fit);
// Takes the width a font gave zero-width characters out of the extents of count UTF-16
// units. When anything was removed, fit grows while the next extent is strictly below
// maxExtent (the layouts of stored books depend on this; the canvas's own fit count
// admits equality). Returns whether anything was removed.
bool RemoveZeroWidthExtents(const WideChar* text, int32_t count, int32_t* extents, int32_t& fit, int32_t maxExtent);

// The x of every caret position (count + 1 entries) of a bidirectional text laid out
// in visual order; false when the placement failed (its width is not expectedWidth
// within 1 pixel).
bool GetCaretPositionsBiDi(TCanvas* canvas, AnsiStringView text, int32_t* positions, int32_t expectedWidth,
                           TRPItemOptions options);
// Left and right x of characters first .. first + count - 1 (1-based), left <= right.
bool GetCharRangeXBiDi(TCanvas* canvas, AnsiStringView text, int32_t first, int32_t count, TRPItemOptions options,
                       int32_t expectedWidth, int32_t& left, int32_t& right);
// Draws characters first .. last (1-based) of the text at their visual positions, the
// text starting at (x, y), each run clipped to its own cells of the given height; false
// when the placement failed (the caller then draws the plain way).
bool DrawTextRangeBiDi(int32_t x, int32_t y, int32_t expectedWidth, TRPItemOptions options, int32_t last, int32_t first,
                       TCanvas* canvas, AnsiStringView text, int32_t height);
// DrawTextRangeBiDi when needsBiDi, else false.
bool TryDrawTextRangeBiDi(int32_t x, int32_t y, int32_t expectedWidth, TRPItemOptions options, int32_t last,
                          int32_t first, TCanvas* canvas, AnsiStringView text, int32_t height, bool needsBiDi);
