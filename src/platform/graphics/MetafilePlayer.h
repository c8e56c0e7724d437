// Playing metafile records onto a device context.
//
// State: the drawing state of the metafile's own device (objects, colours, modes,
// mapping, world transform, current position, path, clip), saved and restored as a
// whole. A logical point goes through the world transform, then the page mapping
// (window origin and extent onto viewport origin and extent, or the fixed scale of a
// metric mapping mode), then the output mapping that puts the picture's frame onto the
// destination rectangle; the result is a point of the target context's logical space,
// kept as a double until a primitive is drawn.
//
// Figures are filled by our own scan conversion (cells whose centres lie inside, the
// alternate or winding rule), so poly-polygons keep their holes and every brush kind
// (solid, hatched, pattern) fills alike; outlines are drawn by the context with a pen of
// the transformed width. A clip of more than one rectangle is kept as its disjoint
// pieces, and each drawing runs once per piece with the context clipped to it.
//
// A play has a budget of work in proportion to the metafile's bytes (MetafileBudget.h):
// the per-pixel loops and the drawings a clip of pieces repeats pay from it as they go,
// and once it is spent the remaining records are skipped and counted.
//
// The player's files, one concern each: MetafilePlayer.cpp (its life, saved states and
// budget), MetafileTransform.cpp (mapping), MetafileObjects.cpp (object table),
// MetafileClipping.cpp, MetafileFigures.cpp (shapes and paths), MetafileFill.cpp,
// MetafileStroke.cpp, MetafileText.cpp, MetafileBitmaps.cpp, MetafileShading.cpp, and
// MetafilePixels.cpp (the per-pixel loops of fills, blits and shading); the records of
// each format are read in MetafileWmfPlay.cpp and MetafileEmfPlay.cpp.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <variant>
#include <vector>

#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/GdiDefs.h"
#include "platform/graphics/Metafile.h"
#include "platform/graphics/MetafileBudget.h"

struct TPointD {
  double X = 0;
  double Y = 0;
};

// An affine transform: x' = x * M11 + y * M21 + Dx, y' = x * M12 + y * M22 + Dy.
struct TXForm {
  double M11 = 1, M12 = 0, M21 = 0, M22 = 1, Dx = 0, Dy = 0;
  TPointD Apply(TPointD p) const noexcept { return {p.X * M11 + p.Y * M21 + Dx, p.X * M12 + p.Y * M22 + Dy}; }
  // this, then next.
  TXForm Then(const TXForm& next) const noexcept;
  double Determinant() const noexcept { return M11 * M22 - M12 * M21; }
};

// Objects of the metafile's object table.
struct TMfPen {
  int32_t Style = 0;  // PS_ style (low byte)
  double Width = 0;   // logical; 0 is one device pixel
  COLORREF Color = 0;
};
struct TMfBrush {
  int32_t Style = 0;  // BS_SOLID, BS_NULL, BS_HATCHED, pattern
  COLORREF Color = 0;
  int32_t Hatch = 0;
  std::shared_ptr<const TBitmap> Pattern;
};
struct TMfFont {
  LOGFONTW LogFont;
};
struct TMfRegion {
  std::vector<TRect> Rects;  // logical (Windows metafile regions)
};
struct TMfPalette {};
using TMfObject = std::variant<std::monostate, TMfPen, TMfBrush, TMfFont, TMfRegion, TMfPalette>;

struct TMfState {
  TMfPen Pen{PS_SOLID, 0, 0};
  TMfBrush Brush{BS_SOLID, 0xFFFFFF, 0, nullptr};
  TMfFont Font;
  COLORREF TextColor = 0;
  COLORREF BkColor = 0xFFFFFF;
  int32_t BkMode = OPAQUE;
  uint32_t TextAlign = 0;
  int32_t CharExtra = 0;
  int32_t Rop2 = R2_COPYPEN;
  int32_t PolyFillMode = ALTERNATE;
  int32_t MapMode = MM_TEXT;
  TPointD WindowOrg, WindowExt{1, 1}, ViewportOrg, ViewportExt{1, 1};
  TXForm World;
  TPointD Position;           // logical
  std::optional<TRect> Clip;  // target device pixels; none: the play's own clip
  // A clip of more than one rectangle: its disjoint pieces (device pixels), Clip their
  // bounds.
  std::vector<TRect> ClipPieces;
  bool ArcClockwise = false;
};

// One figure of a path or shape: points in target logical space.
struct TFigure {
  std::vector<TPointD> Points;
  bool Closed = false;
};

// What a blend, a masked or a transparent blit adds to a plain one.
struct TBlitOptions {
  int32_t SourceAlpha = -1;             // a blend's constant alpha (0..255), or none
  std::optional<COLORREF> Transparent;  // source pixels of this colour are left out
  // A monochrome mask over the source: its pixel MaskOrigin lies on the source
  // rectangle's top-left; where a bit is 1 the blit's operation applies, where it is 0
  // BackRop does (a raster operation code, index in bits 16..23).
  const TBitmap* Mask = nullptr;
  TPoint MaskOrigin;
  uint32_t BackRop = 0;
};

// Whether the mask's pixel is set: its colour is nearer white than black (as a mask's
// colour table turns into bits, whatever its order); a pixel outside the mask is not.
bool MaskBitSet(const TBitmap& mask, int64_t x, int64_t y);

// A vertex of a gradient fill: a logical point and its colour.
struct TGradientVertex {
  TPointD At;
  double R = 0, G = 0, B = 0;  // 0..255
};

// How a shaded figure colours its pixels from where they lie in it, at (a, b) along its
// edges (MetafilePixels.cpp): a ramp from one vertex's colour to the other's along a or
// b; the three vertices' colours mixed by the barycentric weights 1 - a - b, a and b; the
// source pixel at (a, b) of a bitmap's rectangle, where the mask (if any) has its bit set.
struct TRampShade {
  TGradientVertex From, To;
  bool AlongA = true;
};
struct TTriangleShade {
  TGradientVertex A, B, C;
};
struct TBitmapShade {
  const TBitmap* Bitmap = nullptr;
  TRect Source;
  const TBitmap* Mask = nullptr;
  TPoint MaskOrigin;
};
using TShade = std::variant<TRampShade, TTriangleShade, TBitmapShade>;

// An edge of a figure being filled, in device pixels, from its upper end (Y0 < Y1); Dir
// is +1 for an edge drawn downwards, -1 for one drawn upwards (the winding rule's count).
struct TFillEdge {
  double X0, Y0, X1, Y1;
  int Dir;
};

class TMetafilePlayer {
public:
  // output: metafile page-device units onto the target's logical space. unitsPerMm:
  // page-device units per millimetre (for the metric mapping modes). metafileBytes: the
  // size of what is played, which the work budget is in proportion to.
  TMetafilePlayer(TDeviceContext& dc, const TXForm& output, double unitsPerMm, const TMetafileLimits& limits,
                  int64_t metafileBytes);
  ~TMetafilePlayer();

  TMfState State;
  int64_t Skipped = 0;

  // Whether the work budget is spent: the remaining records are then skipped (and
  // counted). The units of work done so far.
  bool OutOfWork() const noexcept { return FWork.Exhausted(); }
  int64_t WorkDone() const noexcept { return FWork.Done(); }

  // Object table.
  void CreateObject(TMfObject object);                    // the lowest free slot (Windows metafile)
  void CreateObjectAt(uint32_t index, TMfObject object);  // enhanced metafile
  void SelectObject(uint32_t index);
  void SelectStockObject(uint32_t stockIndex);
  void DeleteObject(uint32_t index);
  void SetObjectTableSize(int64_t slots);

  // Mapping.
  TPointD ToTarget(TPointD logical) const noexcept;
  TPointD ToTarget(double x, double y) const noexcept { return ToTarget(TPointD{x, y}); }
  // Device units (an enhanced metafile's regions and bounds) onto the target.
  TPointD DeviceToTarget(TPointD device) const noexcept { return FOutput.Apply(device); }
  void SetMapMode(int32_t mode);
  void FixIsotropic();
  // A font's escapement (tenths of a degree, counter-clockwise as seen) on the target,
  // turned further by a world transform that turns the logical axes.
  int32_t TargetEscapement(int32_t escapement) const noexcept;
  // Logical length along x / y in target pixels.
  double ScaleX() const noexcept;
  double ScaleY() const noexcept;

  void SaveState();
  void RestoreState(int32_t relative);

  // Drawing (points are logical).
  void MoveTo(TPointD p) { State.Position = p; }
  void LineTo(TPointD p);
  void Polyline(std::span<const TPointD> points, bool fromCurrent, bool updateCurrent);
  void PolyBezier(std::span<const TPointD> points, bool fromCurrent);
  void PolyPolygon(std::span<const TPointD> points, std::span<const uint32_t> counts, bool closed);
  void Rectangle(TPointD a, TPointD b);
  void RoundRect(TPointD a, TPointD b, double cornerW, double cornerH);
  void Ellipse(TPointD a, TPointD b);
  enum TArcKind { akArc, akChord, akPie, akArcTo };
  void Arc(TPointD a, TPointD b, TPointD start, TPointD end, TArcKind kind);
  void SetPixel(TPointD p, COLORREF color);
  // Text: reference point, options, clip/opaque rectangle (logical), dx per character.
  void TextOut(TPointD p, uint32_t options, const TPointD* rect, const WideString& text, std::span<const int32_t> dx,
               bool dxHasY);
  // A bitmap (a DIB's bytes, info header first) drawn from its source rectangle into a
  // logical destination rectangle with a ternary raster operation. Empty dib: pattern
  // and destination only.
  void Blit(std::span<const uint8_t> dib, std::span<const uint8_t> bits, TPointD destA, TPointD destSize, TRect source,
            uint32_t rop, const TBlitOptions& options = {});
  // The bitmap's source rectangle onto the parallelogram of three logical points (where
  // the source's top-left, top-right and bottom-left corners land), through a mask when
  // there is one (source pixels of bit 0 are left out); each target pixel takes the
  // source pixel its centre maps back to.
  void PlgBlt(std::span<const uint8_t> dib, std::span<const uint8_t> bits, const std::array<TPointD, 3>& corners,
              TRect source, const TBitmap* mask, TPoint maskOrigin);
  // Rectangles (two vertex indexes each: a ramp across x for GRADIENT_FILL_RECT_H, across
  // y for _V) or triangles (three indexes: colours mixed by the barycentric weights) of
  // the vertices. The indexes are within the vertices.
  void GradientFill(std::span<const TGradientVertex> vertices, std::span<const uint32_t> indexes, uint32_t mode);

  // Paths.
  void BeginPath();
  void EndPath() { FPathOpen = false; }
  void AbortPath();
  void CloseFigure();
  void FillPath(bool fill, bool stroke);
  void ClipToPath();

  // Clipping (logical rectangles; device rectangles of regions).
  void IntersectClip(TPointD a, TPointD b);
  void ExcludeClip(TPointD a, TPointD b);
  // A rectangle of the target's logical space as the clip, or with intersect narrowing
  // it; null: no clip beyond the play's own.
  void SelectClipDevice(const TRect* targetRect, bool intersect = false);
  // A region (rectangles of the target's logical space) combined with the clip by a
  // region mode (RGN_AND ... RGN_COPY).
  void SelectClipRegion(const std::vector<TRect>& targetRects, uint32_t mode);

  // A DIB as a bitmap, its pixels checked against the limits and paid from the work
  // budget before anything is decoded; null for data that is no bitmap, that codes
  // fewer than one in BitmapFillDivisor of the pixels it declares, or that the budget
  // cannot pay for.
  std::unique_ptr<TBitmap> LoadBitmap(std::span<const uint8_t> dib, std::span<const uint8_t> bits);
  // Counts the record as skipped for a bitmap LoadBitmap refused, unless the budget's
  // running out counted it already.
  void SkipForBitmap() noexcept {
    if (!OutOfWork()) ++Skipped;
  }

  const TMetafileLimits& Limits() const noexcept { return FLimits; }

private:
  // The state as a recorder takes it (pen width and clip in device pixels), and figures
  // in device pixels.
  TMfState RecordedState() const;
  std::vector<TFigure> DeviceFigures(const std::vector<TFigure>& figures) const;
  bool RecordShape(bool ellipse, TPointD a, TPointD b);
  void BlitBitmap(const TBitmap* bitmap, TPointD destA, TPointD destSize, const TRect& source, uint32_t rop,
                  const TBlitOptions& options);
  void RecordBlit(const TBitmap* bitmap, const TRect& source, const TRect& dest, uint32_t rop,
                  const TBlitOptions& options);
  // Paints the target pixels whose centres lie in the parallelogram (or, with triangle,
  // the triangle) spanned from origin by the edges u and v (target logical space): each
  // takes the shade's colour for its centre at origin + a u + b v (MetafilePixels.cpp).
  // No recorder takes this: one present is refused.
  void PaintShaded(TPointD origin, TPointD u, TPointD v, bool triangle, const TShade& shade);
  // The per-pixel loops (MetafilePixels.cpp), each paying for its work as it goes and
  // stopping when the budget cannot: the rows of a figure's edges filled with the brush
  // within the clip's pieces; a bitmap's source rectangle (or the pattern alone) onto the
  // device box x0..x1, y0..y1, mirrored as asked; a shaded figure within the clip.
  void FillEdges(std::vector<TFillEdge> edges, double top, double bottom);
  void BlitPixels(const TBitmap* bitmap, double x0, double x1, double y0, double y1, bool mirrorX, bool mirrorY,
                  const TRect& source, uint32_t rop, const TBlitOptions& options);
  void ShadePixels(TPointD origin, TPointD u, TPointD v, bool triangle, const TShade& shade);
  // Takes units of work; false when the budget cannot pay, the record being played then
  // counted as skipped (once).
  bool Afford(int64_t units);
  void DrawFigures(const std::vector<TFigure>& figures, bool fill, bool stroke);
  void Fill(const std::vector<TFigure>& figures);
  void Stroke(const std::vector<TFigure>& figures);
  void AddToPathOrDraw(std::vector<TFigure> figures, bool fill, bool stroke);
  std::vector<TPointD> ArcPoints(TPointD a, TPointD b, double startAngle, double endAngle, bool full) const;
  double AngleOf(TPointD a, TPointD b, TPointD p) const;
  void ApplyClip();
  // The clip as pieces (a clip everywhere when there is none), and a new clip of pieces.
  std::vector<TRect> ClipNow() const;
  void SetClipPieces(std::vector<TRect> pieces, bool combined);
  // Runs a drawing once for each piece of a clip of pieces, the context clipped to it,
  // paying workPerPiece for each; false (nothing done) for a clip of one rectangle.
  template <typename TDraw>
  bool EachPiece(TDraw&& draw, int64_t workPerPiece);
  // The clip's pieces (or its one rectangle) within a device rectangle, in device pixels.
  std::vector<TRect> PiecesWithin(const TRect& box) const;
  TXForm PageTransform() const noexcept;
  size_t ClipLimit() const noexcept { return static_cast<size_t>(std::max(FLimits.MaxClipRects, 0)); }
  bool CheckPoints(size_t count);

  TDeviceContext& FDc;
  TXForm FOutput;
  double FUnitsPerMm;
  const TMetafileLimits& FLimits;
  TMetafileWork FWork;
  std::optional<TRect> FBaseClip;  // the target's clip when play started
  std::vector<TMfObject> FObjects;
  std::vector<TMfState> FSaved;
  std::vector<TFigure> FPath;
  bool FPathOpen = false;
  bool FInPiece = false;
  int32_t FSavedDc = 0;
};

template <typename TDraw>
bool TMetafilePlayer::EachPiece(TDraw&& draw, int64_t workPerPiece) {
  if (State.ClipPieces.empty() || FInPiece) return false;
  FInPiece = true;
  for (const TRect& piece : State.ClipPieces) {
    TRect r = piece;
    if (FBaseClip) IntersectRect(&r, r, *FBaseClip);
    if (IsRectEmpty(r)) continue;
    if (!Afford(workPerPiece)) break;
    FDc.State.Clip = r;
    draw();
  }
  FInPiece = false;
  ApplyClip();
  return true;
}

// One record of each format played by a player (MetafileWmfPlay.cpp, MetafileEmfPlay.cpp).
void PlayWindowsRecord(TMetafilePlayer& player, std::span<const uint8_t> record, uint16_t function);
void PlayEnhancedRecord(TMetafilePlayer& player, std::span<const uint8_t> record, uint32_t type);

// Checks the frame of each format: header, every record's size, the end record; raises
// EInvalidGraphic "Invalid metafile". Returns the object-table size the header gives.
int64_t CheckWindowsMetafile(std::span<const uint8_t> records, const TMetafileLimits& limits);
int64_t CheckEnhancedMetafile(std::span<const uint8_t> records, const TMetafileLimits& limits);
