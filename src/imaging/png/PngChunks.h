// The chunks of a PNG image: the base class with the common reading and writing (length,
// type, data, CRC), the classes of the chunks this codec understands, and the registry
// that picks a class for a type read from a file.
//
// A chunk belongs to one `TPNGObject` (its owner), which keeps its chunks in file order.
// Unknown ancillary chunks are kept as plain `TChunk`s and written back unchanged.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <typeinfo>
#include <vector>

#include "imaging/png/PngDefs.h"
#include "imaging/png/PngErrors.h"
#include "platform/base/Object.h"
#include "platform/base/Streams.h"
#include "platform/graphics/Bitmap.h"

class TPNGObject;
class TChunkIHDR;

class TChunk : public TObject {
public:
  explicit TChunk(TPNGObject& owner);
  ~TChunk() override;
  TChunk(const TChunk&) = delete;
  TChunk& operator=(const TChunk&) = delete;

  TPNGObject& Owner() const noexcept { return *FOwner; }
  // The chunk type as stored in the file; a class of a known type sets its own.
  TChunkType ChunkType{};
  // The data bytes as read, or as built by the last write.
  std::vector<uint8_t> Data;
  uint32_t DataSize() const noexcept { return static_cast<uint32_t>(Data.size()); }
  void ResizeData(uint32_t size) { Data.resize(size); }

  // Reads `length` data bytes and the CRC after them (the length and type are already
  // read). Raises EPngUnexpectedEnd when the stream ends first and EPngInvalidCRC when
  // the CRC does not match; the classes then check and take their fields. False stops
  // the loading of the image.
  virtual bool ReadChunk(TStream& stream, const TChunkType& type, uint32_t length);
  // Writes length, type, data and CRC; classes with fields rebuild `Data` first. False
  // when nothing could be written.
  virtual bool WriteChunk(TStream& stream);
  // Copies the type and data; classes with fields take only a source of their own class
  // (EPngError "The chunks must be compatible to be assigned." otherwise).
  virtual void Assign(const TChunk& source);
  // An empty chunk of the same class for another owner (copying an image).
  virtual std::unique_ptr<TChunk> NewLike(TPNGObject& owner) const;

  // The owner's header chunk; EPNGHeaderNotPresent without one.
  TChunkIHDR& GetHeader() const;

protected:
  // Checks that source is of this chunk's class, then copies type and data.
  template <typename TClass>
  const TClass& AssignSameClass(const TChunk& source);
  // Length, type, data and the CRC over type and data.
  void WriteFraming(TStream& stream, const std::vector<uint8_t>& data) const;

private:
  friend class TPNGObject;  // re-points the chunks of a swapped-in image
  TPNGObject* FOwner;
};

// Reads exactly count bytes or raises EPngUnexpectedEnd.
void ReadPngBytes(TStream& stream, void* buffer, int64_t count);
// Raises EPngUnexpectedEnd for a chunk length above the format's maximum or beyond the
// end of the stream (when the stream knows its size).
void CheckChunkLength(TStream& stream, uint32_t length);
// The CRC-32 of the format over type and data.
uint32_t ChunkCrc(const TChunkType& type, const uint8_t* data, size_t size);

template <typename TClass>
const TClass& TChunk::AssignSameClass(const TChunk& source) {
  const auto* same = dynamic_cast<const TClass*>(&source);
  if (same == nullptr || typeid(*same) != typeid(*this)) throw EPngError(&EPNGCannotAssignChunkText);
  TChunk::Assign(source);
  return *same;
}

// --- The chunk classes ------------------------------------------------------------------

class TChunkIEND : public TChunk {
public:
  explicit TChunkIEND(TPNGObject& owner);
  std::unique_ptr<TChunk> NewLike(TPNGObject& owner) const override;
};

// The image header, and the raster of the image that it owns.
//
// Raster: a bitmap of the platform layer, rows top-down. Colour types 0, 3 and 4 use a
// palette format (1, 4 or 8 bits; 2-bit images are held at 4 bits, 16-bit gray at 8);
// colour types 2 and 6 use 24 bits (blue, green, red). `AlphaPlane` holds one byte per
// pixel, rows top-down, for colour types 4 and 6; `LowBytePlane` the low bytes of 16-bit
// samples in the raster's own layout (RowStride bytes a row).
class TChunkIHDR : public TChunk {
public:
  explicit TChunkIHDR(TPNGObject& owner);
  std::unique_ptr<TChunk> NewLike(TPNGObject& owner) const override;

  uint32_t Width = 0;
  uint32_t Height = 0;
  uint8_t BitDepth = 0;
  uint8_t ColorType = 0;
  uint8_t CompressionMethod = 0;
  uint8_t FilterMethod = 0;
  uint8_t InterlaceMethod = 0;

  TBitmap Raster;
  int32_t RowStride = 0;
  bool UsesPalette = false;
  std::vector<uint8_t> AlphaPlane;
  std::vector<uint8_t> LowBytePlane;

  // Raises EPngInvalidIHDR (short data, zero size, a colour type and bit depth that do
  // not go together), EPNGSizeExceeds (a side or the raster beyond the owner's limits),
  // EPNGUnknownCompression, EPNGUnknownInterlace; then prepares the raster.
  bool ReadChunk(TStream& stream, const TChunkType& type, uint32_t length) override;
  bool WriteChunk(TStream& stream) override;
  void Assign(const TChunk& source) override;

  // A zeroed raster and planes for the header's fields; the gray types get their gray
  // palette. Raises EPNGSizeExceeds when it would pass the owner's limits.
  void PrepareImageData();
  // The raster's bits per pixel for the header's colour type and bit depth.
  int32_t RasterBits() const;
  // The bit depth of the rows written (2-bit images are written at 4 bits).
  uint8_t StoredBitDepth() const { return BitDepth == 2 ? uint8_t{4} : BitDepth; }
  // Replaces the colour table with 2^RasterBits grays through the owner's gamma curve.
  void SetGrayPalette();
};

// The image data: decoded when read (PngDecode.cpp), encoded when written (PngEncode.cpp).
class TChunkIDAT : public TChunk {
public:
  explicit TChunkIDAT(TPNGObject& owner);
  std::unique_ptr<TChunk> NewLike(TPNGObject& owner) const override;
  // Inflates this and the IDAT chunks directly after it into the header's raster.
  bool ReadChunk(TStream& stream, const TChunkType& type, uint32_t length) override;
  // Writes the whole image as IDAT chunks of at most the owner's IdatLimit bytes.
  bool WriteChunk(TStream& stream) override;
};

class TChunkPLTE : public TChunk {
public:
  explicit TChunkPLTE(TPNGObject& owner);
  std::unique_ptr<TChunk> NewLike(TPNGObject& owner) const override;
  uint32_t EntryCount = 0;
  bool ReadChunk(TStream& stream, const TChunkType& type, uint32_t length) override;
  bool WriteChunk(TStream& stream) override;
  void Assign(const TChunk& source) override;
  // The raster's colour-table entry; EPngError "There is no such palette entry." for an
  // index not below EntryCount.
  TPaletteEntry GetPaletteEntry(uint32_t index) const;
};

class TChunkgAMA : public TChunk {
public:
  explicit TChunkgAMA(TPNGObject& owner);
  std::unique_ptr<TChunk> NewLike(TPNGObject& owner) const override;
  uint32_t Gamma() const { return LoadBE32(Data.data()); }
  void SetGamma(uint32_t value) { StoreBE32(Data.data(), value); }
  bool ReadChunk(TStream& stream, const TChunkType& type, uint32_t length) override;
  void Assign(const TChunk& source) override;
};

class TChunktRNS : public TChunk {
public:
  explicit TChunktRNS(TPNGObject& owner);
  std::unique_ptr<TChunk> NewLike(TPNGObject& owner) const override;
  std::array<uint8_t, MaxTransparencyBytes> TransparencyTable{};
  // One colour is transparent: gray and RGB images always; palette images when exactly
  // one entry is below 255 and that entry is 0.
  bool SingleColour = false;
  bool ReadChunk(TStream& stream, const TChunkType& type, uint32_t length) override;
  bool WriteChunk(TStream& stream) override;
  void Assign(const TChunk& source) override;
  // The colour whose pixels are transparent (Data must hold the key).
  TColor TransparentColour() const;
  // Makes colour the single transparent colour of the image.
  void SetTransparentColour(TColor colour);
  // The 16-bit key of gray and RGB images: sample index 0 gray or red, 1 green, 2 blue.
  uint16_t KeySample(int index) const { return LoadBE16(Data.data() + 2 * index); }

private:
  void TakeSingleColour();
};

class TChunkpHYs : public TChunk {
public:
  explicit TChunkpHYs(TPNGObject& owner);
  std::unique_ptr<TChunk> NewLike(TPNGObject& owner) const override;
  uint32_t PPUnitX = 0;
  uint32_t PPUnitY = 0;
  uint8_t UnitType = 0;
  bool ReadChunk(TStream& stream, const TChunkType& type, uint32_t length) override;
  bool WriteChunk(TStream& stream) override;
  void Assign(const TChunk& source) override;
};

class TChunktIME : public TChunk {
public:
  explicit TChunktIME(TPNGObject& owner);
  std::unique_ptr<TChunk> NewLike(TPNGObject& owner) const override;
  uint16_t Year = 0;
  uint8_t Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
  bool ReadChunk(TStream& stream, const TChunkType& type, uint32_t length) override;
  bool WriteChunk(TStream& stream) override;
  void Assign(const TChunk& source) override;
};

class TChunktEXt : public TChunk {
public:
  explicit TChunktEXt(TPNGObject& owner);
  std::unique_ptr<TChunk> NewLike(TPNGObject& owner) const override;
  AnsiString Keyword;
  AnsiString Text;
  bool ReadChunk(TStream& stream, const TChunkType& type, uint32_t length) override;
  bool WriteChunk(TStream& stream) override;
  void Assign(const TChunk& source) override;
};

class TChunkzTXt : public TChunktEXt {
public:
  explicit TChunkzTXt(TPNGObject& owner);
  std::unique_ptr<TChunk> NewLike(TPNGObject& owner) const override;
  // Inflated text beyond the owner's Limits.MaxTextBytes counts as a decompression error.
  bool ReadChunk(TStream& stream, const TChunkType& type, uint32_t length) override;
  bool WriteChunk(TStream& stream) override;
};

// The colour of a palette entry.
TColor ColourOf(const TPaletteEntry& entry);

// A new chunk for a type read from a file: the registered class of that type, or a plain
// TChunk (known false) for any other type.
std::unique_ptr<TChunk> CreateChunkForType(TPNGObject& owner, const TChunkType& type, bool& known);
