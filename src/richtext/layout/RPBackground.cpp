#include "richtext/layout/RPBackground.h"

#include <algorithm>

#include "platform/graphics/CanvasBlit.h"
#include "platform/graphics/DeviceContext.h"
#include "richtext/model/RPGraphicHelpers.h"

namespace {

// Saves the context and restores it when the scope ends, also on an exception; the
// canvas then selects its own objects again.
class TSavedDC {
public:
  explicit TSavedDC(TCanvas& canvas) : FCanvas(canvas), FDc(canvas.Handle()), FSaved(SaveDC(FDc)) {}
  ~TSavedDC() {
    RestoreDC(FDc, FSaved);
    FCanvas.Refresh();
  }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;

private:
  TCanvas& FCanvas;
  HDC FDc;
  int32_t FSaved;
};

std::unique_ptr<TGraphic> NewGraphicLike(const TGraphic& graphic) { return graphic.ClassType()->Create(); }

bool IsJpeg(const TGraphic& graphic) { return AnsiStringView(graphic.ClassType()->ClassName) == "TJPEGImage"; }

}  // namespace

TRPBackground::TRPBackground(bool createImage) {
  if (createImage) FImage = std::make_unique<TBitmap>();
}

void TRPBackground::SetImage(std::unique_ptr<TGraphic> graphic, TRPPaletteAction paletteAction,
                             const TLogPalette* logPalette) {
  if (graphic.get() == FImage.get()) return;
  FImageCopy.reset();
  FImage = std::move(graphic);
  UpdatePaletted(paletteAction, logPalette);
}

void TRPBackground::SetImageCopy(const TGraphic& graphic, TRPPaletteAction paletteAction,
                                 const TLogPalette* logPalette) {
  if (&graphic == FImage.get()) return;
  auto copy = NewGraphicLike(graphic);
  copy->Assign(&graphic);
  SetImage(std::move(copy), paletteAction, logPalette);
}

void TRPBackground::FreeImage() {
  FImage.reset();
  FImageCopy.reset();
}

std::unique_ptr<TGraphic> TRPBackground::TakeImage() {
  FImageCopy.reset();
  return std::move(FImage);
}

void TRPBackground::UpdatePaletted(TRPPaletteAction paletteAction, const TLogPalette* logPalette) {
  FImageCopy.reset();
  if (!FImage) return;
  switch (paletteAction) {
    case rppaAssignPalette:
      if (logPalette && !FImage->Empty()) ApplyPaletteToGraphic(*FImage, logPalette);
      break;
    case rppaCreateCopies:
    case rppaCreateCopiesEx:
      FImageCopy = paletteAction == rppaCreateCopiesEx && IsJpeg(*FImage) ? std::make_unique<TBitmap>()
                                                                          : NewGraphicLike(*FImage);
      FImageCopy->Assign(FImage.get());
      ApplyPaletteToGraphic(*FImageCopy, logPalette);
      break;
    case rppaDoNothing:
      break;
  }
}

TRPItemBackgroundStyle TRPBackground::GetItemBackgroundStyle() const {
  switch (Style) {
    case bsNoBitmap:
      return rpbsColor;
    case bsStretched:
      return rpbsStretched;
    case bsTiled:
    case bsTiledAndScrolled:
      return rpbsTiled;
    default:
      return rpbsCentered;
  }
}

void TRPBackground::SetItemBackgroundStyle(TRPItemBackgroundStyle value) {
  static constexpr TBackgroundStyle Styles[] = {bsNoBitmap, bsStretched, bsTiled, bsCentered};
  Style = Styles[value];
}

bool TRPBackground::PictureEmpty() const { return !FImage || FImage->Empty(); }

bool TRPBackground::IsEmpty() const { return Style == bsNoBitmap && PictureEmpty(); }

bool TRPBackground::HasVisibleImage() const { return Style != bsNoBitmap && !PictureEmpty(); }

bool TRPBackground::ScrollRequiresFullRedraw() const {
  return !PictureEmpty() && Style != bsNoBitmap && Style != bsTiledAndScrolled;
}

bool TRPBackground::NeedsColorFill() const {
  return !PictureEmpty() && (GraphicMayBeTransparent(*FImage) || PositionedStyle());
}

void TRPBackground::Draw(TCanvas& canvas, const TRect& rect, int32_t scrollX, int32_t scrollY, int32_t shiftX,
                         int32_t shiftY, int32_t clientWidth, int32_t clientHeight, TColor color, bool clip) const {
  const TGraphic* picture = Picture();
  TSavedDC saved(canvas);
  if (clip) {
    HDC dc = canvas.Handle();
    IntersectClipRect(dc, rect.Left, rect.Top, rect.Right, rect.Bottom);
    SetWindowOrgEx(dc, -rect.Left, -rect.Top, nullptr);
  }
  const TRect r{rect.Left - shiftX, rect.Top - shiftY, rect.Right - shiftX, rect.Bottom - shiftY};
  const bool empty = !picture || picture->Empty();
  if (color != clNone && (empty || GraphicMayBeTransparent(*picture) || Style == bsNoBitmap || PositionedStyle())) {
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    canvas.FillRect(r);
    canvas.Brush().SetStyle(bsClear);
  }
  if (empty || Style == bsNoBitmap) return;
  const int32_t w = picture->Width(), h = picture->Height();
  const int32_t left = r.Left, top = r.Top;
  const auto* bitmap = dynamic_cast<const TBitmap*>(picture);
  const auto put = [&](int32_t x, int32_t y) {
    if (bitmap)
      BitBlt(canvas.Handle(), x, y, w, h, const_cast<TBitmap*>(bitmap)->Canvas()->Handle(), 0, 0, SRCCOPY);
    else
      canvas.Draw(x, y, picture);
  };
  // Tiles whose grid starts at (originX, originY) of the area, covering r.
  const auto tile = [&](int32_t originX, int32_t originY) {
    for (int32_t row = (originY + r.Top) / h; row <= (originY + r.Bottom) / h; ++row)
      for (int32_t col = (originX + r.Left) / w; col <= (originX + r.Right) / w; ++col)
        put(col * w - originX - left, row * h - originY - top);
  };
  switch (Style) {
    case bsStretched:
      canvas.StretchDraw(TRect{0, 0, clientWidth, clientHeight}, picture);
      break;
    case bsTiled:
      tile(0, 0);
      break;
    case bsTiledAndScrolled:
      tile(scrollX, scrollY);
      break;
    case bsCentered:
      put((clientWidth - w) / 2 - left, (clientHeight - h) / 2 - top);
      break;
    case bsTopLeft:
      put(-left, -top);
      break;
    case bsTopRight:
      put(clientWidth - w - left, -top);
      break;
    case bsBottomLeft:
      put(-left, clientHeight - h - top);
      break;
    case bsBottomRight:
      put(clientWidth - w - left, clientHeight - h - top);
      break;
    case bsNoBitmap:
      break;
  }
}

void TRPBackground::Print(TCanvas& canvas, const TRect& rect, const TRect& fullRect, const TRPResolution& resolution,
                          TColor color, bool useStretchDraw, const TLogPalette* logPalette, IRPBackgroundFiller* filler,
                          bool itemBackground) const {
  const TGraphic* picture = Picture();
  TSavedDC saved(canvas);
  SetWindowOrgEx(canvas.Handle(), -rect.Left, -rect.Top, nullptr);
  const TRect local{0, 0, rect.Right - rect.Left, rect.Bottom - rect.Top};
  const bool empty = !picture || picture->Empty();
  if (color != clNone && (empty || Style == bsNoBitmap || PositionedStyle())) {
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    canvas.FillRect(local);
    canvas.Brush().SetStyle(bsClear);
  }
  if (empty || Style == bsNoBitmap) return;
  const bool seeThrough = GraphicMayBeTransparent(*picture) && color == clNone;
  // The picture at its own size, on its colour.
  TBitmap source;
  source.SetPixelFormat(pf24bit);
  source.SetSize(picture->Width(), picture->Height());
  if (logPalette) source.SetPalette(CreatePalette(*logPalette));
  if (color != clNone) {
    source.Canvas()->Brush().SetColor(color);
    source.Canvas()->FillRect(TRect{0, 0, source.Width(), source.Height()});
  }
  if (!seeThrough) source.Canvas()->Draw(0, 0, picture);
  const TGraphic* top = seeThrough ? picture : &source;
  const int32_t sw = picture->Width(), sh = picture->Height();
  const int32_t tw = ScreenToDeviceX(picture->Width(), resolution);
  const int32_t th = ScreenToDeviceY(picture->Height(), resolution);
  if (tw <= 0 || th <= 0) return;
  // One placed picture or tile at (x, y) of the page, cut to rect.
  // The tile's bitmap is screenW x screenH screen pixels; over it goes (stretched
  // to it): overlay, on what lies beneath when the picture shows through.
  const auto place = [&](int32_t x, int32_t y, int32_t w, int32_t h, int32_t screenW, int32_t screenH,
                         const TGraphic* overlay) {
    const TRect visible{std::max(x, rect.Left), std::max(y, rect.Top), std::min(x + w, rect.Right),
                        std::min(y + h, rect.Bottom)};
    if (visible.Left >= visible.Right || visible.Top >= visible.Bottom) return;
    // The tile in screen pixels, with what lies beneath first when it shows through.
    TBitmap tileBitmap;
    tileBitmap.SetPixelFormat(pf24bit);
    tileBitmap.SetSize(screenW, screenH);
    if (seeThrough && filler) filler->FillItemBackground(tileBitmap, x, y, itemBackground);
    tileBitmap.Canvas()->StretchDraw(TRect{0, 0, screenW, screenH}, overlay);
    if (visible.Left == x && visible.Top == y && visible.Right == x + w && visible.Bottom == y + h) {
      DrawGraphicOnDevice(canvas, x - rect.Left, y - rect.Top, useStretchDraw, tileBitmap, resolution, -1, -1);
      return;
    }
    const TRect part =
        DeviceToScreenRect(TRect{visible.Left - x, visible.Top - y, visible.Right - x, visible.Bottom - y}, resolution);
    TBitmap cut;
    cut.SetPixelFormat(pf24bit);
    cut.SetSize(std::max(part.Right - part.Left, 1), std::max(part.Bottom - part.Top, 1));
    cut.Canvas()->CopyRect(TRect{0, 0, cut.Width(), cut.Height()}, tileBitmap.Canvas(), part);
    DrawGraphicOnDevice(canvas, visible.Left - rect.Left, visible.Top - rect.Top, useStretchDraw, cut, resolution, -1,
                        -1);
  };
  const int32_t fw = fullRect.Right - fullRect.Left, fh = fullRect.Bottom - fullRect.Top;
  switch (Style) {
    case bsStretched:
      place(fullRect.Left, fullRect.Top, fw, fh, DeviceToScreenX(fw, resolution), DeviceToScreenY(fh, resolution), top);
      break;
    case bsTiled:
    case bsTiledAndScrolled:
      for (int32_t row = rect.Top / th; row <= rect.Bottom / th; ++row)
        for (int32_t col = rect.Left / tw; col <= rect.Right / tw; ++col)
          place(col * tw, row * th, tw, th, sw, sh, top);
      break;
    case bsCentered:
      place(fullRect.Left + (fw - tw) / 2, fullRect.Top + (fh - th) / 2, tw, th, sw, sh, top);
      break;
    case bsTopLeft:
      place(fullRect.Left, fullRect.Top, tw, th, sw, sh, top);
      break;
    case bsTopRight:
      place(fullRect.Right - tw, fullRect.Top, tw, th, sw, sh, top);
      break;
    case bsBottomLeft:
      place(fullRect.Left, fullRect.Bottom - th, tw, th, sw, sh, top);
      break;
    case bsBottomRight:
      place(fullRect.Right - tw, fullRect.Bottom - th, tw, th, sw, sh, top);
      break;
    case bsNoBitmap:
      break;
  }
}
