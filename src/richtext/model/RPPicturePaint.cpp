// Drawing a picture on the screen and into the page painter's bitmap.
#include <optional>

#include "platform/graphics/CanvasBlit.h"
#include "platform/graphics/CanvasShapes.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPScaling.h"
#include "richtext/model/RPStyle.h"

namespace {
// A frame of pen width 1 in color around (x1, y1, x2, y2), nothing for clNone.
void DrawItemFrame(TCanvas& canvas, TColor color, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (color == clNone) return;
  canvas.Pen().SetColor(color);
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetStyle(psSolid);
  canvas.Brush().SetStyle(bsClear);
  canvas.Rectangle(x1, y1, x2, y2);
}
}  // namespace

void DrawItemStateFrames(TCanvas& canvas, int32_t x, int32_t y, int32_t width, int32_t height, int32_t spacing,
                         uint32_t drawState, const TRPStyle& rpStyle) {
  const int32_t w = width, h = height, s = spacing;
  if (drawState & rpidsCurrent)
    DrawItemFrame(canvas, rpStyle.CurrentItemColor, x - 1, y - 1, x + w + 2 * s + 1, y + h + 2 * s + 1);
  if (drawState & rpidsSelected)
    DrawItemFrame(canvas, (drawState & rpidsFocused) ? rpStyle.SelColor : rpStyle.InactiveSelColor, x, y, x + w + 2 * s,
                  y + h + 2 * s);
}

void TRPGraphicItemInfo::DrawGraphic(TCanvas& canvas, const TGraphic& graphic, const TRect& box) const {
  // A graphic that cannot be drawn leaves its place empty rather than failing the page.
  try {
    if (IsStretched())
      canvas.StretchDraw(box, &graphic);
    else
      canvas.Draw(box.Left, box.Top, &graphic);
  } catch (const Exception&) {
  }
}

void TRPGraphicItemInfo::Paint(int32_t x, int32_t y, TCanvas& canvas, uint32_t drawState,
                               const TRPStyle& rpStyle) const {
  const int32_t w = GetImageWidth(nullptr), h = GetImageHeight(nullptr), s = Spacing;
  const TRect box = Bounds(x + s, y + s, w, h);
  if (Animator) {
    Animator->Draw(canvas, x + s, y + s);
  } else if (const auto* copy = dynamic_cast<const TBitmap*>(ImageCopy.get())) {
    // The palette copy is blitted as it is (SRCCOPY): no transparency.
    if (!copy->Empty()) {
      const TRect dest = IsStretched() ? box : Bounds(x + s, y + s, copy->Width(), copy->Height());
      canvas.Changing();
      DrawBitmapPixels(*canvas.Handle(), dest, *copy, Rect(0, 0, copy->Width(), copy->Height()), std::nullopt);
      canvas.Changed();
    }
  } else if (ImageCopy) {
    DrawGraphic(canvas, *ImageCopy, box);
  } else if (Image) {
    DrawGraphic(canvas, *Image, box);
  }
  DrawItemStateFrames(canvas, x, y, w, h, s, drawState, rpStyle);
}

void TRPGraphicItemInfo::Print(TCanvas& canvas, int32_t x, int32_t y, const TRPResolution& resolution) const {
  if (!Image) return;
  HDC dc = canvas.Handle();
  const int32_t saved = SaveDC(dc);
  const TRect box =
      Bounds(x + ScreenToDeviceX(Spacing, resolution), y + ScreenToDeviceY(Spacing, resolution),
             ScreenToDeviceX(GetImageWidth(nullptr), resolution), ScreenToDeviceY(GetImageHeight(nullptr), resolution));
  IntersectClipRect(dc, box.Left, box.Top, box.Right, box.Bottom);
  try {
    canvas.StretchDraw(box, Image.get());
  } catch (const Exception&) {
    // a picture that raises while drawing is skipped
  }
  RestoreDC(dc, saved);
  canvas.Refresh();
}

bool TRPGraphicItemInfo::PrintToBitmap(TBitmap& bitmap, bool preview, int32_t partIndex, int32_t imageTop) const {
  if (!Image) return true;
  const int32_t offset = partIndex >= 0 ? -imageTop : 0;
  TCanvas& canvas = *bitmap.Canvas();
  const TGraphic* shown = preview && ImageCopy ? ImageCopy.get() : Image.get();
  // The whole (stretched) picture with its top at offset, so a part shows its own rows.
  const TRect whole = Bounds(0, offset, bitmap.Width(), GetImageHeight(nullptr));
  if (!IsStretched()) {
    canvas.Draw(0, offset, shown);
    return true;
  }
  if (preview && ImageCopy) {
    canvas.StretchDraw(whole, ImageCopy.get());
    return true;
  }
  const bool ownWidth = ImageWidth <= 0 || ImageWidth == Image->Width();
  const bool ownHeight = ImageHeight <= 0 || ImageHeight == Image->Height();
  if (ownWidth && ownHeight) {
    canvas.StretchDraw(whole, Image.get());
    return true;
  }
  // Drawn at its own size; the painter stretches the bitmap onto the page.
  std::optional<TBitmap> below;
  if (Image->Transparent()) below.emplace().Assign(&bitmap);
  bitmap.SetWidth(Image->Width());
  if (partIndex < 0) bitmap.SetHeight(Image->Height());
  if (below) canvas.StretchDraw(Rect(0, 0, bitmap.Width(), bitmap.Height()), &*below);
  canvas.Draw(0, offset, Image.get());
  return true;
}
