// The background of a document area, a page or a table cell: a colour (passed by the
// caller) and an optional picture in one of nine styles, drawn on a screen canvas with
// scrolling, or printed on a device tile by tile.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Graphic.h"
#include "platform/graphics/Palette.h"
#include "richtext/model/RPPaletteAction.h"
#include "richtext/model/RPScaling.h"

class TCustomRPData;

enum TBackgroundStyle : uint8_t {
  bsNoBitmap,
  bsStretched,
  bsTiled,
  bsTiledAndScrolled,
  bsCentered,
  bsTopLeft,
  bsTopRight,
  bsBottomLeft,
  bsBottomRight,
};
// The simplified style that items and tables see.
enum TRPItemBackgroundStyle : uint8_t { rpbsColor, rpbsStretched, rpbsTiled, rpbsCentered };

// What printing a possibly transparent picture without a colour asks of the printable
// document: to paint what lies beneath a tile at (x, y) of the page (device pixels) into
// the tile's bitmap.
class IRPBackgroundFiller {
public:
  virtual ~IRPBackgroundFiller() = default;
  virtual void FillItemBackground(TBitmap& bitmap, int32_t x, int32_t y, bool itemBackground) = 0;
};

class TRPBackground {
public:
  // With createImage the picture starts as an empty bitmap.
  explicit TRPBackground(bool createImage);

  TBackgroundStyle Style = bsNoBitmap;

  TGraphic* GetImage() const { return FImage.get(); }
  // Nothing when graphic is the picture already. With copy, a picture of graphic's class
  // takes its content; else the background takes graphic over. The palette copy is then
  // rebuilt.
  void SetImage(std::unique_ptr<TGraphic> graphic, TRPPaletteAction paletteAction, const TLogPalette* logPalette);
  void SetImageCopy(const TGraphic& graphic, TRPPaletteAction paletteAction, const TLogPalette* logPalette);
  void FreeImage();
  // The picture handed to the caller (nullptr without one); the background keeps none.
  std::unique_ptr<TGraphic> TakeImage();
  void UpdatePaletted(TRPPaletteAction paletteAction, const TLogPalette* logPalette);

  TRPItemBackgroundStyle GetItemBackgroundStyle() const;
  void SetItemBackgroundStyle(TRPItemBackgroundStyle value);
  bool IsEmpty() const;
  bool HasVisibleImage() const;
  bool ScrollRequiresFullRedraw() const;
  bool NeedsColorFill() const;

  // Screen drawing into rect; the picture is placed relative to the area
  // (clientWidth x clientHeight) scrolled by (scrollX, scrollY); shiftX/Y move the
  // working rectangle. With clip the canvas is clipped to rect, whose top-left becomes
  // the origin; the canvas state comes back on every path.
  void Draw(TCanvas& canvas, const TRect& rect, int32_t scrollX, int32_t scrollY, int32_t shiftX, int32_t shiftY,
            int32_t clientWidth, int32_t clientHeight, TColor color, bool clip) const;
  // Device drawing of the part rect of the area fullRect (device pixels), the picture
  // scaled from screen to device resolution, tile by tile.
  void Print(TCanvas& canvas, const TRect& rect, const TRect& fullRect, const TRPResolution& resolution, TColor color,
             bool useStretchDraw, const TLogPalette* logPalette, IRPBackgroundFiller* filler,
             bool itemBackground) const;

private:
  const TGraphic* Picture() const { return FImageCopy ? FImageCopy.get() : FImage.get(); }
  bool PictureEmpty() const;
  bool PositionedStyle() const { return Style >= bsCentered; }

  std::unique_ptr<TGraphic> FImage;
  std::unique_ptr<TGraphic> FImageCopy;
};
