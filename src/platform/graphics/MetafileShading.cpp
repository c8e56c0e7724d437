// Metafile drawing that shades each target pixel from where it lies in a figure: the
// parallelogram blit and the gradient fills.
//
// A figure is an origin and two edges in target space; a pixel's centre is solved for
// its coordinates (a, b) along the edges, which are affine and so the same whatever the
// world, page and output mappings did to the figure. The shade then reads the source
// pixel or mixes the vertex colours at (a, b) (the loop is MetafilePixels.cpp's).
#include <algorithm>

#include "platform/graphics/MetafileFormat.h"
#include "platform/graphics/MetafilePlayer.h"
#include "platform/graphics/MetafileRecorder.h"

namespace {

TPointD Minus(TPointD p, TPointD q) { return TPointD{p.X - q.X, p.Y - q.Y}; }

}  // namespace

void TMetafilePlayer::PaintShaded(TPointD origin, TPointD u, TPointD v, bool triangle, const TShade& shade) {
  if (FDc.Recorder) FDc.Recorder->Refused = true;
  if (!FDc.Bitmap()) return;
  auto paint = [&] { ShadePixels(origin, u, v, triangle, shade); };
  if (!EachPiece(paint, 1)) paint();
}

void TMetafilePlayer::PlgBlt(std::span<const uint8_t> dib, std::span<const uint8_t> bits,
                             const std::array<TPointD, 3>& corners, TRect source, const TBitmap* mask,
                             TPoint maskOrigin) {
  if (!FDc.Bitmap() && !FDc.Recorder) return;
  const std::unique_ptr<TBitmap> bitmap = LoadBitmap(dib, bits);
  if (!bitmap) return SkipForBitmap();
  if (source.Width() == 0 || source.Height() == 0) return;
  const TPointD o = ToTarget(corners[0]);
  PaintShaded(o, Minus(ToTarget(corners[1]), o), Minus(ToTarget(corners[2]), o), false,
              TBitmapShade{bitmap.get(), source, mask, maskOrigin});
}

void TMetafilePlayer::GradientFill(std::span<const TGradientVertex> vertices, std::span<const uint32_t> indexes,
                                   uint32_t mode) {
  if (!FDc.Bitmap() && !FDc.Recorder) return;
  if (mode == emf::GRADIENT_FILL_TRIANGLE) {
    for (size_t i = 0; i + 2 < indexes.size(); i += 3) {
      const TGradientVertex &a = vertices[indexes[i]], &b = vertices[indexes[i + 1]], &c = vertices[indexes[i + 2]];
      const TPointD o = ToTarget(a.At);
      PaintShaded(o, Minus(ToTarget(b.At), o), Minus(ToTarget(c.At), o), true, TTriangleShade{a, b, c});
      if (OutOfWork()) return;
    }
    return;
  }
  const bool horizontal = mode == emf::GRADIENT_FILL_RECT_H;
  for (size_t i = 0; i + 1 < indexes.size(); i += 2) {
    // The left (top) side takes the colour of the vertex on it, whichever of the two
    // names the upper-left corner.
    TGradientVertex a = vertices[indexes[i]], b = vertices[indexes[i + 1]];
    if (horizontal ? a.At.X > b.At.X : a.At.Y > b.At.Y) std::swap(a, b);
    const double left = std::min(a.At.X, b.At.X), right = std::max(a.At.X, b.At.X);
    const double top = std::min(a.At.Y, b.At.Y), bottom = std::max(a.At.Y, b.At.Y);
    const TPointD o = ToTarget(left, top);
    PaintShaded(o, Minus(ToTarget(right, top), o), Minus(ToTarget(left, bottom), o), false,
                TRampShade{a, b, horizontal});
    if (OutOfWork()) return;
  }
}
