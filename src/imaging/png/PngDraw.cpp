// Transparency, pixels, drawing onto a canvas and assigning to a bitmap.
#include <algorithm>

#include "imaging/png/PngCodec.h"
#include "platform/base/Format.h"
#include "platform/graphics/PixelAccess.h"

namespace {

TColor ColourOf(TRgb c) { return static_cast<TColor>(RGB(c.R, c.G, c.B)); }

// Whether the pixel holds the 16-bit key of a gray or RGB image: whole samples are
// compared, the low-byte plane included for 16-bit images.
bool MatchesKey(const TPNGObject& image, const TChunkIHDR& header, const TChunktRNS& key, int32_t x, int32_t y) {
  const uint8_t* raster = header.Raster.ScanLine(y);
  const uint8_t* low = image.LowByteRow(y);
  if (header.ColorType == PngColorGray) {
    const uint32_t sample = key.KeySample(0);
    switch (header.BitDepth) {
      case 16:
        return raster[x] == (sample >> 8) && low[x] == (sample & 0xFF);
      case 2:
        return GetPixelIndex(raster, x, 4) == sample * 5;
      default:
        return GetPixelIndex(raster, x, header.RasterBits()) == sample;
    }
  }
  const auto& gamma = image.GammaCurve;
  for (int i = 0; i < 3; ++i) {
    const uint32_t sample = key.KeySample(i);
    const int32_t at = x * 3 + (2 - i);  // the raster holds blue, green, red
    if (header.BitDepth == 16) {
      if (raster[at] != gamma[sample >> 8] || low[at] != gamma[sample & 0xFF]) return false;
    } else if (sample > 255 || raster[at] != gamma[sample]) {
      return false;
    }
  }
  return true;
}

// The opacity of a pixel from the alpha plane, the palette's table or the key.
uint8_t AlphaAt(const TPNGObject& image, const TChunkIHDR& header, const TChunktRNS* key, int32_t x, int32_t y) {
  if (!header.AlphaPlane.empty()) return header.AlphaPlane[static_cast<size_t>(int64_t{y} * header.Width + x)];
  if (key == nullptr) return 255;
  // Palette images: the table entry of the pixel's own index, never a colour match.
  if (header.ColorType == PngColorPalette)
    return key->TransparencyTable[GetPixelIndex(header.Raster.ScanLine(y), x, header.RasterBits())];
  return key->SingleColour && MatchesKey(image, header, *key, x, y) ? 0 : 255;
}

}  // namespace

int32_t TPNGObject::TransparencyKind() const {
  if (Empty()) return ptmNone;
  const TChunkIHDR& header = HeaderChunk();
  if (header.ColorType == PngColorGrayAlpha || header.ColorType == PngColorRGBAlpha) return ptmPartial;
  const TChunktRNS* key = ItemFromClass<TChunktRNS>();
  if (key == nullptr) return ptmNone;
  if (header.ColorType == PngColorPalette) return key->SingleColour ? ptmBit : ptmPartial;
  return key->SingleColour ? ptmBit : ptmNone;
}

bool TPNGObject::Transparent() const { return TransparencyKind() != ptmNone; }

TColor TPNGObject::TransparentKey() const {
  const TChunktRNS* key = Empty() ? nullptr : ItemFromClass<TChunktRNS>();
  return key ? key->TransparentColour() : 0;
}

uint8_t TPNGObject::PixelAlpha(int32_t x, int32_t y) const {
  return AlphaAt(*this, HeaderChunk(), ItemFromClass<TChunktRNS>(), x, y);
}

TColor TPNGObject::GetPixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
  const TChunkIHDR& header = HeaderChunk();
  return ColourOf(ReadPixelRgb(header.Raster.ScanLine(y), x, header.RasterBits(), header.Raster.ColorTable()));
}

void TPNGObject::SetPixel(int32_t x, int32_t y, TColor colour) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  TChunkIHDR& header = HeaderChunk();
  const auto value = static_cast<COLORREF>(colour);
  const TRgb rgb{GetRValue(value), GetGValue(value), GetBValue(value)};
  uint8_t* row = header.Raster.ScanLine(y);
  if (header.UsesPalette)
    SetPixelIndex(row, x, header.RasterBits(), NearestPaletteIndex(header.Raster.ColorTable(), rgb.R, rgb.G, rgb.B));
  else
    WritePixelRgb(row, x, 24, rgb);
}

void TPNGObject::Draw(TCanvas& canvas, const TRect& rect) const {
  if (Empty()) return;
  const TChunkIHDR& header = HeaderChunk();
  if (TransparencyKind() == ptmNone) {
    canvas.StretchDraw(rect, &header.Raster);
    return;
  }
  const int32_t width = rect.Width(), height = rect.Height();
  if (width <= 0 || height <= 0) return;
  // The canvas under rect, blended with the image (nearest source pixel) and put back:
  // each component (S × A + D × (255 − A) + 255) >> 8, which keeps D at A = 0 and gives S
  // at A = 255.
  TBitmap under;
  under.SetPixelFormat(pf24bit);
  under.SetSize(width, height);
  under.Canvas()->CopyRect(Rect(0, 0, width, height), &canvas, rect);
  const int32_t bits = header.RasterBits();
  const auto colors = header.Raster.ColorTable();
  const TChunktRNS* key = ItemFromClass<TChunktRNS>();
  for (int32_t ty = 0; ty < height; ++ty) {
    const auto sy = static_cast<int32_t>(int64_t{ty} * header.Height / height);
    const uint8_t* source = header.Raster.ScanLine(sy);
    uint8_t* target = under.ScanLine(ty);
    for (int32_t tx = 0; tx < width; ++tx) {
      const auto sx = static_cast<int32_t>(int64_t{tx} * header.Width / width);
      const uint32_t a = AlphaAt(*this, header, key, sx, sy);
      if (a == 0) continue;
      const TRgb s = ReadPixelRgb(source, sx, bits, colors);
      const TRgb d = ReadPixelRgb(target, tx, 24, {});
      auto mix = [a](uint8_t sc, uint8_t dc) { return static_cast<uint8_t>((sc * a + dc * (255 - a) + 255) >> 8); };
      WritePixelRgb(target, tx, 24, TRgb{mix(s.R, d.R), mix(s.G, d.G), mix(s.B, d.B)});
    }
  }
  canvas.Draw(rect.Left, rect.Top, &under);
}

void TPNGObject::AssignToBitmap(TBitmap& bitmap) const {
  const TChunkIHDR& header = HeaderChunk();
  const int32_t kind = TransparencyKind();
  TPixelFormat format;
  if (kind == ptmPartial) {
    format = pf24bit;
  } else {
    switch (header.BitDepth) {
      case 1:
        format = pf1bit;
        break;
      case 2:
      case 4:
        format = pf4bit;
        break;
      case 8:
      case 16:
        format = header.ColorType == PngColorPalette ? pf8bit : pf24bit;
        break;
      default:
        throw EConvertError(Format(SAssignError, {ClassName(), bitmap.ClassName()}));
    }
  }
  bitmap.SetSize(0, 0);  // fresh white pixels under the image
  bitmap.SetPixelFormat(format);
  // A palette bitmap takes the image's colour table, so every index keeps its colour.
  if (format != pf24bit) bitmap.SetColorTable(header.Raster.ColorTable());
  bitmap.SetSize(Width(), Height());
  Draw(*bitmap.Canvas(), Rect(0, 0, Width(), Height()));
  if (kind == ptmBit) {
    bitmap.SetTransparentColor(TransparentKey());
    bitmap.SetTransparent(true);
  }
}
