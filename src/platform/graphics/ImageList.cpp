#include "platform/graphics/ImageList.h"

#include <algorithm>

#include "platform/graphics/CanvasBlit.h"
#include "platform/graphics/Colors.h"
#include "platform/graphics/PenBrush.h"

namespace {
uint8_t BlendChannel(uint8_t image, uint8_t color) { return static_cast<uint8_t>((3 * image + color + 2) / 4); }

TColor Blend(TColor image, TColor color) {
  const auto i = static_cast<COLORREF>(image), c = static_cast<COLORREF>(color);
  return static_cast<TColor>(RGB(BlendChannel(GetRValue(i), GetRValue(c)), BlendChannel(GetGValue(i), GetGValue(c)),
                                 BlendChannel(GetBValue(i), GetBValue(c))));
}
}  // namespace

TCustomImageList::TCustomImageList(TComponent* owner, int32_t width, int32_t height)
    : TComponent(owner), FWidth(std::max(width, 1)), FHeight(std::max(height, 1)) {}

int32_t TCustomImageList::AddMasked(const TBitmap& bitmap, TColor maskColor) {
  const int32_t count = bitmap.Width() / FWidth;
  if (count == 0) return -1;
  const int32_t first = Count();
  const int32_t rows = std::min(bitmap.Height(), FHeight);
  for (int32_t n = 0; n < count; ++n) {
    TImage image;
    image.Pixels.assign(static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight), clNone);
    for (int32_t y = 0; y < rows; ++y)
      for (int32_t x = 0; x < FWidth; ++x) {
        const TColor c = bitmap.PixelColor(n * FWidth + x, y);
        if (maskColor == clNone || c != maskColor)
          image.Pixels[static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x)] = c;
      }
    FImages.push_back(std::move(image));
  }
  return first;
}

std::optional<TColor> TCustomImageList::PixelOf(int32_t index, int32_t x, int32_t y) const {
  if (index < 0 || index >= Count() || x < 0 || y < 0 || x >= FWidth || y >= FHeight) return std::nullopt;
  const TColor c = FImages[static_cast<size_t>(index)]
                       .Pixels[static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x)];
  if (c == clNone) return std::nullopt;
  return c;
}

void TCustomImageList::Draw(TCanvas& canvas, int32_t x, int32_t y, int32_t index) const {
  DrawImage(canvas, x, y, index, std::nullopt);
}

void TCustomImageList::DrawBlended(TCanvas& canvas, int32_t x, int32_t y, int32_t index, TColor blendColor) const {
  DrawImage(canvas, x, y, index, ColorToRGB(blendColor));
}

void TCustomImageList::DrawImage(TCanvas& canvas, int32_t x, int32_t y, int32_t index,
                                 std::optional<TColor> blendColor) const {
  if (index < 0 || index >= Count() || !canvas.Bitmap()) return;
  TBitmap work;
  work.SetPixelFormat(pf24bit);
  work.SetSize(FWidth, FHeight);
  HDC target = canvas.Handle();
  BitBlt(work.Canvas()->Handle(), 0, 0, FWidth, FHeight, target, x, y, SRCCOPY);
  for (int32_t row = 0; row < FHeight; ++row)
    for (int32_t col = 0; col < FWidth; ++col)
      if (const std::optional<TColor> c = PixelOf(index, col, row))
        work.SetPixelColor(col, row, blendColor ? Blend(*c, *blendColor) : *c);
  canvas.Changing();
  BitBlt(target, x, y, FWidth, FHeight, work.Canvas()->Handle(), 0, 0, SRCCOPY);
  canvas.Changed();
}
