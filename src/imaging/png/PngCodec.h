// `TPNGObject`: a graphic class for PNG images (registered under its class name).
//
// The image is its list of chunks in file order plus the raster that the header chunk
// owns (PngChunks.h gives its layout). Loading checks the chunk sequence and decodes the
// image data into the raster; drawing copies the raster onto a canvas, leaving out the
// transparent colour or blending by alpha; assigning to a TBitmap gives a plain bitmap.
// A bitmap assigned to the object is encoded when the object is saved.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/png/PngChunks.h"
#include "imaging/png/PngErrors.h"
#include "imaging/png/PngLimits.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Colors.h"
#include "platform/graphics/Geometry.h"

// Row filters that encoding may try: bit n for filter type n (PngDefs.h).
using TFilterSet = uint8_t;
inline constexpr TFilterSet pfNone = 1u << PngFilterNone;
inline constexpr TFilterSet pfSub = 1u << PngFilterSub;
inline constexpr TFilterSet pfUp = 1u << PngFilterUp;
inline constexpr TFilterSet pfAverage = 1u << PngFilterAverage;
inline constexpr TFilterSet pfPaeth = 1u << PngFilterPaeth;

// What `TransparencyKind` answers.
inline constexpr int32_t ptmNone = 0;
inline constexpr int32_t ptmBit = 1;
inline constexpr int32_t ptmPartial = 2;

class TPNGObject : public TGraphic {
public:
  static const TGraphicClassInfo ClassInfo;

  TPNGObject();
  ~TPNGObject() override;

  TGraphicClass ClassType() const override { return &ClassInfo; }

  bool Empty() const override { return FChunkList.empty(); }
  // The header's size; 0 without a header chunk.
  int32_t Width() const override;
  int32_t Height() const override;
  void SetWidth(int32_t value) override { Resize(value, Height()); }
  void SetHeight(int32_t value) override { Resize(Width(), value); }
  void Clear() override { ClearChunks(); }
  // True when the image has a colour key or alpha (`TransparencyKind` not ptmNone).
  bool Transparent() const override;

  // Reads a PNG image from the stream's position. On any failure the exception of the
  // EPngError family (or the stream's own) passes and the object keeps the image it had.
  void LoadFromStream(TStream& stream) override;
  // The signature and every chunk in order.
  void SaveToStream(TStream& stream) const override;

  // The raster's palette (empty without one); a new palette is copied into the colour
  // table of a palette raster and ignored otherwise.
  HPALETTE Palette() const override;
  void SetPalette(HPALETTE palette) override;

  // Null clears; a TPNGObject is copied chunk by chunk with its settings; a TBitmap is
  // encoded (BuildFromBitmap with its transparency).
  void Assign(const TPersistent& source) override;
  using TGraphic::Assign;
  // On the clipboard the image is a bitmap (CF_BITMAP): the image drawn on one (as
  // AssignTo gives it), and read back from one as from any bitmap.
  void SaveToClipboardFormat(uint16_t& format, std::unique_ptr<TBitmap>& data, HPALETTE& palette) const override;
  void LoadFromClipboardFormat(uint16_t format, const TBitmap& data, HPALETTE palette) override;

  // Paints the image into rect of the canvas (nearest pixel when the sizes differ),
  // leaving out the transparent colour or blending by alpha over what the canvas holds.
  void Draw(TCanvas& canvas, const TRect& rect) const override;

  // The colour of a pixel (0 outside the image); setting outside does nothing. Palette
  // and gray images take the nearest entry of their colour table.
  virtual TColor GetPixel(int32_t x, int32_t y) const;
  virtual void SetPixel(int32_t x, int32_t y, TColor colour);

  // The chunks in file order (the list owns them).
  const std::vector<std::unique_ptr<TChunk>>& ChunkList() const noexcept { return FChunkList; }
  // Appends a chunk made for this object.
  TChunk& AddChunk(std::unique_ptr<TChunk> chunk);
  // The first chunk of a class, or null.
  template <typename TClass>
  TClass* ItemFromClass() const {
    for (const auto& chunk : FChunkList)
      if (auto* found = dynamic_cast<TClass*>(chunk.get())) return found;
    return nullptr;
  }
  // The first chunk when it is a header; EPNGHeaderNotPresent otherwise.
  TChunkIHDR& HeaderChunk() const;
  // ptmNone, ptmBit (one colour transparent) or ptmPartial (alpha).
  int32_t TransparencyKind() const;
  // The transparent colour of ptmBit images; 0 without tRNS.
  TColor TransparentKey() const;
  // Opacity of a pixel inside the image, 0 (transparent) to 255 (opaque).
  uint8_t PixelAlpha(int32_t x, int32_t y) const;

  uint8_t* RowPointer(int32_t y) const;
  // Null for images without an alpha plane / without 16-bit samples.
  uint8_t* AlphaRow(int32_t y) const;
  uint8_t* LowByteRow(int32_t y) const;
  // A canvas that draws into the raster.
  TCanvas* Canvas() const { return HeaderChunk().Raster.Canvas(); }

  // Identity after construction and after ClearChunks; a gAMA chunk fills them.
  std::array<uint8_t, 256> GammaCurve{};
  std::array<uint8_t, 256> InverseGammaCurve{};
  // 0 none, 1 Adam7: from the header when loading, used when saving.
  uint8_t InterlaceMode = 0;
  TFilterSet RowFilterSet = pfSub;
  uint8_t DeflateLevel = 7;
  uint32_t IdatLimit() const noexcept { return FIdatLimit; }
  // Values below 65535 store 65535.
  void SetIdatLimit(uint32_t value) noexcept { FIdatLimit = value < 65535 ? 65535 : value; }
  TPngLimits Limits;

  // Either side below 1 raises EPNGInvalidNewSize; keeps the common top-left pixels.
  void Resize(int32_t width, int32_t height);
  // Resets the gamma tables and drops every chunk.
  void ClearChunks();
  // Replaces the image with the bitmap: palette formats (below 16 bits) as a palette
  // image of that depth, others as 8-bit RGB; with transparent, a tRNS chunk for colour.
  void BuildFromBitmap(const TBitmap& bitmap, bool transparent, TColor transparentColour);

protected:
  // A TPNGObject is assigned from this one, a TBitmap receives the image; anything else
  // (and any image without a header) raises the assignment error.
  void AssignTo(TPersistent& dest) const override;

private:
  void ResetGamma();
  void AssignToBitmap(TBitmap& bitmap) const;
  // Reads the chunks into this (fresh) object.
  void ReadChunks(TStream& stream);
  void TakeOver(TPNGObject& other) noexcept;

  std::vector<std::unique_ptr<TChunk>> FChunkList;
  uint32_t FIdatLimit = 65535;
};
