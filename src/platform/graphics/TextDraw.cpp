#include "platform/graphics/TextDraw.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/graphics/CanvasRaster.h"
#include "platform/graphics/FontFace.h"
#include "platform/graphics/MetafileRecorder.h"
#include "platform/graphics/TextLayout.h"
#include "platform/graphics/TextMetrics.h"
#include "platform/graphics/TextShaping.h"
#include "platform/graphics/TextTurned.h"

namespace {

void DrawGlyph(TRasterTarget& target, const TGlyphImage& glyph, int32_t originX, int32_t baseline, COLORREF color) {
  const int32_t left = originX + glyph.Left;
  const int32_t top = baseline - glyph.Top;
  const TRect& clip = target.Clip();
  const int32_t y0 = std::max(top, clip.Top), y1 = std::min(top + glyph.Height, clip.Bottom);
  for (int32_t y = y0; y < y1; ++y) {
    const uint8_t* row = glyph.Coverage.data() + static_cast<size_t>(y - top) * static_cast<size_t>(glyph.Width);
    target.BlendRow(y, left, left + glyph.Width, color, row);
  }
}

}  // namespace

namespace {

// Writes a text call into the context's recorder (placed at its left baseline point);
// text the recorder cannot write goes in as the pixels it drew, once drawn.
class TRecordedText {
public:
  TRecordedText(TDeviceContext& dc, TPoint origin, uint32_t options, const std::optional<TRect>& rect,
                WideStringView text, std::span<const int32_t> advances, const TRect& cell)
      : FDc(dc) {
    if (!dc.Recorder) return;
    TMfState state = TMetafileRecorder::StateOf(dc);
    state.TextAlign = TA_BASELINE | (state.TextAlign & TA_RTLREADING);
    dc.Recorder->Refused = false;
    dc.Recorder->Text(state, origin, options, rect ? &*rect : nullptr, text, advances);
    if (!dc.Recorder->Refused) return;
    FPixels = cell;
    if ((options & ETO_OPAQUE) && rect)
      FPixels = TRect{std::min(FPixels.Left, rect->Left), std::min(FPixels.Top, rect->Top),
                      std::max(FPixels.Right, rect->Right), std::max(FPixels.Bottom, rect->Bottom)};
    if ((options & ETO_CLIPPED) && rect) IntersectRect(&FPixels, FPixels, *rect);
    FRecorder = dc.Recorder;
  }
  ~TRecordedText() {
    if (!FRecorder || !FDc.Bitmap()) return;
    TRect part;
    IntersectRect(&part, FPixels, FDc.DeviceClip());
    FRecorder->Pixels(*FDc.Bitmap(), part, part);
  }
  TRecordedText(const TRecordedText&) = delete;
  TRecordedText& operator=(const TRecordedText&) = delete;

private:
  TDeviceContext& FDc;
  TMetafileRecorder* FRecorder = nullptr;
  TRect FPixels;
};

}  // namespace

namespace {

// The glyphs of a line in visual order (right-to-left runs turned round).
std::vector<TPlacedGlyph> VisualGlyphs(const TShapedText& shaped, WideStringView view, bool rightToLeft,
                                       const std::vector<int32_t>& advances) {
  std::vector<int32_t> order;
  std::vector<uint8_t> levels;
  if (rightToLeft || HasRightToLeft(view)) {
    VisualOrder(view, rightToLeft, order, levels);
  } else {
    order.resize(view.size());
    for (size_t i = 0; i < view.size(); ++i) order[i] = static_cast<int32_t>(i);
  }
  return PlaceGlyphs(shaped, view, order, advances.data());
}

const TGlyphImage& ImageOf(const TPlacedGlyph& glyph, bool mono) {
  return glyph.Char ? glyph.Font->Glyph(glyph.Char, mono) : glyph.Font->GlyphById(glyph.Glyph, mono);
}

// A line along a baseline turned by the font's escapement: the reference point is the
// device point `reference`; `along` and `across` put the line's left baseline end from it.
// `asked` is the text as the caller gave it, `view` as the faces draw it (FaceText).
void DrawTurnedLine(TDeviceContext& dc, TTurnedTextFrame& frame, TPoint reference, int32_t along, int32_t across,
                    uint32_t options, const std::optional<TRect>& clipRect, WideStringView asked, WideStringView view,
                    const TShapedText& shaped, const std::vector<int32_t>& advances, int32_t width) {
  TFontObject& font = dc.SelectedFont();
  const TFontMetrics& metrics = font.Sized().Metrics();
  const double originX = reference.X + frame.OffsetX(along, across),
               originY = reference.Y + frame.OffsetY(along, across);
  frame.SetOrigin(originX, originY);
  const TDeviceState& state = dc.State;
  const TRecordedText recorded(
      dc, TPoint{static_cast<int32_t>(std::lround(originX)), static_cast<int32_t>(std::lround(originY))}, options,
      clipRect, asked, advances, frame.DeviceBounds(0, -metrics.Ascent, width, metrics.Descent));
  if (!dc.Bitmap()) return;
  const bool clipped = (options & ETO_CLIPPED) && clipRect;
  if ((options & ETO_OPAQUE) && clipRect) {
    TRasterTarget(dc).Fill(*clipRect, state.BkColor);
  } else if (state.BkMode == OPAQUE && !view.empty()) {
    TRasterTarget background(dc, clipped ? &*clipRect : nullptr);
    frame.Fill(background, 0, -metrics.Ascent, width, metrics.Descent, state.BkColor);
  }
  TRasterTarget target(dc, clipped ? &*clipRect : nullptr);
  if (target.Empty() || view.empty()) return;
  const bool mono = target.Monochrome() || font.LogFont().lfQuality == NONANTIALIASED_QUALITY;
  const bool rightToLeft = (state.TextAlign & TA_RTLREADING) || (options & ETO_RTLREADING);
  for (const TPlacedGlyph& glyph : VisualGlyphs(shaped, view, rightToLeft, advances)) {
    const TGlyphImage& image = ImageOf(glyph, mono);
    frame.Glyph(target, image, glyph.X, -glyph.Y, mono, state.TextColor);
  }
  const LOGFONTW& lf = font.LogFont();
  if (lf.lfUnderline)
    frame.Fill(target, 0, -metrics.UnderscorePosition, width, -metrics.UnderscorePosition + metrics.UnderscoreSize,
               state.TextColor);
  if (lf.lfStrikeOut)
    frame.Fill(target, 0, -metrics.StrikeoutPosition, width, -metrics.StrikeoutPosition + metrics.StrikeoutSize,
               state.TextColor);
}

}  // namespace

bool ExtTextOutW(HDC dc, int32_t x, int32_t y, uint32_t options, const TRect* rect, const WideChar* text,
                 uint32_t count, const int32_t* dx) {
  if (!dc || (count > 0 && !text)) return false;
  // What was asked goes to a recorder; the faces draw the text as they look it up.
  const WideStringView asked(text ? text : u"", count);
  WideString faceText;
  const WideStringView view = FaceText(dc, asked, faceText);
  const size_t n = view.size();
  const TShapedText shaped = ShapeText(dc, view);
  std::vector<int32_t> advances(shaped.Advances);
  if (dx) std::copy_n(dx, n, advances.begin());
  int64_t total = 0;
  for (int32_t a : advances) total += a;
  const int32_t width = static_cast<int32_t>(total);

  TDeviceState& state = dc->State;
  const uint32_t align = state.TextAlign;
  if (align & TA_UPDATECP) {
    x = state.PenPos.X;
    y = state.PenPos.Y;
  }
  TFontObject& font = dc->SelectedFont();
  const TFontMetrics& metrics = font.Sized().Metrics();
  // The line's left baseline end from the reference point, along and across the baseline,
  // and how far the current position moves along it.
  const uint32_t horizontal = align & TA_CENTER, vertical = align & TA_BASELINE;
  const int32_t along = horizontal == TA_RIGHT ? -width : horizontal == TA_CENTER ? -width / 2 : 0;
  const int32_t across = vertical == TA_BASELINE ? 0 : vertical == TA_BOTTOM ? -metrics.Descent : metrics.Ascent;
  const int32_t travel = horizontal == TA_RIGHT ? -width : horizontal == TA_CENTER ? 0 : width;
  std::optional<TRect> clipRect;
  if (rect) clipRect = dc->ToDevice(*rect);

  TTurnedTextFrame frame(font.LogFont().lfEscapement);
  if (!frame.Level()) {
    if (align & TA_UPDATECP) {
      state.PenPos.X = x + static_cast<int32_t>(std::lround(frame.OffsetX(travel, 0)));
      state.PenPos.Y = y + static_cast<int32_t>(std::lround(frame.OffsetY(travel, 0)));
    }
    DrawTurnedLine(*dc, frame, dc->ToDevice(x, y), along, across, options, clipRect, asked, view, shaped, advances,
                   width);
    return true;
  }

  if (align & TA_UPDATECP) state.PenPos.X = x + travel;
  const TPoint origin = dc->ToDevice(x + along, y + across);
  const TRecordedText recorded(
      *dc, origin, options, clipRect, asked, advances,
      TRect{origin.X, origin.Y - metrics.Ascent, origin.X + width, origin.Y + metrics.Descent});
  if (!dc->Bitmap()) return true;

  if ((options & ETO_OPAQUE) && rect) {
    TRasterTarget(*dc).Fill(*clipRect, state.BkColor);
  } else if (state.BkMode == OPAQUE && n > 0) {
    TRect cell{origin.X, origin.Y - metrics.Ascent, origin.X + width, origin.Y + metrics.Descent};
    TRasterTarget(*dc, (options & ETO_CLIPPED) && rect ? &*clipRect : nullptr).Fill(cell, state.BkColor);
  }
  TRasterTarget target(*dc, (options & ETO_CLIPPED) && rect ? &*clipRect : nullptr);
  if (target.Empty() || n == 0) return true;

  const bool mono = target.Monochrome() || font.LogFont().lfQuality == NONANTIALIASED_QUALITY;
  const bool rightToLeft = (align & TA_RTLREADING) || (options & ETO_RTLREADING);
  for (const TPlacedGlyph& glyph : VisualGlyphs(shaped, view, rightToLeft, advances)) {
    const TGlyphImage& image = ImageOf(glyph, mono);
    DrawGlyph(target, image, origin.X + glyph.X, origin.Y - glyph.Y, state.TextColor);
  }
  const LOGFONTW& lf = font.LogFont();
  if (lf.lfUnderline)
    target.Fill(TRect{origin.X, origin.Y - metrics.UnderscorePosition, origin.X + width,
                      origin.Y - metrics.UnderscorePosition + metrics.UnderscoreSize},
                state.TextColor);
  if (lf.lfStrikeOut)
    target.Fill(TRect{origin.X, origin.Y - metrics.StrikeoutPosition, origin.X + width,
                      origin.Y - metrics.StrikeoutPosition + metrics.StrikeoutSize},
                state.TextColor);
  return true;
}

bool ExtTextOutA(HDC dc, int32_t x, int32_t y, uint32_t options, const TRect* rect, const char* text, uint32_t count,
                 const int32_t* dx) {
  if (!dc || (count > 0 && !text)) return false;
  TAnsiText wide = DecodeAnsiForFont(dc, text, static_cast<int32_t>(count));
  std::vector<int32_t> unitDx;
  if (dx) {
    unitDx.assign(wide.Text.size(), 0);
    int32_t pending = 0;
    for (uint32_t i = 0; i < count; ++i) {
      pending += dx[i];
      int32_t unit = wide.ByteUnit[i];
      if (unit < 0) continue;
      unitDx[static_cast<size_t>(unit)] += pending;
      pending = 0;
    }
  }
  return ExtTextOutW(dc, x, y, options, rect, wide.Text.data(), static_cast<uint32_t>(wide.Text.size()),
                     dx ? unitDx.data() : nullptr);
}

bool TextOutW(HDC dc, int32_t x, int32_t y, const WideChar* text, int32_t count) {
  if (count < 0) return false;
  return ExtTextOutW(dc, x, y, 0, nullptr, text, static_cast<uint32_t>(count), nullptr);
}

bool TextOutA(HDC dc, int32_t x, int32_t y, const char* text, int32_t count) {
  if (count < 0) return false;
  return ExtTextOutA(dc, x, y, 0, nullptr, text, static_cast<uint32_t>(count), nullptr);
}
