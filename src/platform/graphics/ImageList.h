// `TCustomImageList`: a list of images of one size, each with a mask (pixels outside the
// mask are never drawn), as the image lists of the class library keep toolbar and bullet
// pictures.
//
// Images are stored as 24-bit pixels. Drawing reads the pixels under the image from the
// target, puts the image's masked pixels over them (blended with a colour when asked)
// and copies the result back, so the target's window origin and clip apply as to any
// other blit.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/base/Components.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

class TCustomImageList : public TComponent {
public:
  // Images of width x height pixels (each at least 1).
  TCustomImageList(TComponent* owner, int32_t width, int32_t height);

  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  int32_t Count() const { return static_cast<int32_t>(FImages.size()); }

  // Cuts the bitmap into images of the list's width from the left (a narrower rest is
  // dropped; rows below the list's height too, missing rows stay outside the mask);
  // pixels of maskColor are outside the mask, clNone keeps every pixel. Answers the
  // index of the first image added, -1 when none was.
  int32_t AddMasked(const TBitmap& bitmap, TColor maskColor);

  // Draws image index with its top-left at (x, y); nothing for an index out of range.
  void Draw(TCanvas& canvas, int32_t x, int32_t y, int32_t index) const;
  // The same, each drawn pixel blended 25% with blendColor (75% image, 25% colour, each
  // channel rounded half up), as a selected image is shown.
  void DrawBlended(TCanvas& canvas, int32_t x, int32_t y, int32_t index, TColor blendColor) const;
  // The colour of a pixel of an image, empty outside the mask or the list.
  std::optional<TColor> PixelOf(int32_t index, int32_t x, int32_t y) const;

private:
  struct TImage {
    std::vector<TColor> Pixels;  // row by row, clNone outside the mask
  };
  void DrawImage(TCanvas& canvas, int32_t x, int32_t y, int32_t index, std::optional<TColor> blendColor) const;

  int32_t FWidth;
  int32_t FHeight;
  std::vector<TImage> FImages;
};
