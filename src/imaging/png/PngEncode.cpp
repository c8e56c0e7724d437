// Writing the image data: rows taken from the raster, filtered with the filter chosen
// for each row, deflated and cut into IDAT chunks; and building an image from a bitmap.
#include <zlib.h>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "imaging/png/PngCodec.h"
#include "imaging/png/PngPixelRows.h"
#include "imaging/png/PngRowFilters.h"

namespace {

// Deflates what it is fed into IDAT chunks of at most the buffer's size.
class TIdatWriter {
public:
  TIdatWriter(TStream& stream, int level, uint32_t chunkBytes) : FStream(stream), FOutput(chunkBytes) {
    if (deflateInit(&FZ, level) != Z_OK) throw EPNGOutMemory();
    Restart();
  }
  ~TIdatWriter() { deflateEnd(&FZ); }
  TIdatWriter(const TIdatWriter&) = delete;
  TIdatWriter& operator=(const TIdatWriter&) = delete;

  void Feed(const uint8_t* data, size_t size) {
    FZ.next_in = const_cast<Bytef*>(data);
    FZ.avail_in = static_cast<uInt>(size);
    while (FZ.avail_in > 0) {
      Deflate(Z_NO_FLUSH);
      if (FZ.avail_out == 0) Emit();
    }
  }

  void Finish() {
    int result = Z_OK;
    while (result != Z_STREAM_END) {
      result = Deflate(Z_FINISH);
      if (FZ.avail_out == 0 || result == Z_STREAM_END) Emit();
    }
  }

private:
  int Deflate(int flush) {
    const int result = deflate(&FZ, flush);
    if (result == Z_STREAM_ERROR) throw EPNGZLIBError(FZ.msg ? FZ.msg : zError(result));
    return result;
  }

  void Restart() {
    FZ.next_out = FOutput.data();
    FZ.avail_out = static_cast<uInt>(FOutput.size());
  }

  // One IDAT chunk of the output so far.
  void Emit() {
    const auto size = static_cast<uint32_t>(FOutput.size() - FZ.avail_out);
    constexpr TChunkType idat = ChunkTypeOf("IDAT");
    uint8_t head[PngChunkLengthBytes + PngChunkTypeBytes];
    StoreBE32(head, size);
    std::copy(idat.begin(), idat.end(), head + PngChunkLengthBytes);
    FStream.WriteBuffer(head, sizeof head);
    FStream.WriteBuffer(FOutput.data(), static_cast<int32_t>(size));
    uint8_t crc[PngChunkCrcBytes];
    StoreBE32(crc, ChunkCrc(idat, FOutput.data(), size));
    FStream.WriteBuffer(crc, sizeof crc);
    Restart();
  }

  TStream& FStream;
  z_stream FZ{};
  std::vector<uint8_t> FOutput;
};

// Positions from 2 on where a filtered byte repeats one of the two before it: runs that
// deflate packs well.
int32_t RepeatScore(const uint8_t* row, size_t size) {
  int32_t score = 0;
  for (size_t j = 2; j < size; ++j)
    if (row[j] == row[j - 1] || row[j] == row[j - 2]) ++score;
  return score;
}

// The filter for a row: None for an empty set or None alone, the one filter of a set
// of one, else the best score in the order None, Sub, Up, Average, Paeth (an earlier
// filter keeps a tie; None when nothing scores).
uint8_t ChooseFilter(TFilterSet set, const std::array<std::vector<uint8_t>, PngFilterCount>& filtered,
                     size_t rowBytes) {
  if ((set & ~pfNone) == 0) return PngFilterNone;
  if ((set & (set - 1)) == 0) return static_cast<uint8_t>(__builtin_ctz(set));
  uint8_t best = PngFilterNone;
  int32_t bestScore = 0;
  for (uint8_t f = 0; f < PngFilterCount; ++f) {
    if ((set & (1u << f)) == 0) continue;
    const int32_t score = RepeatScore(filtered[f].data() + 1, rowBytes);
    if (score > bestScore) {
      best = f;
      bestScore = score;
    }
  }
  return best;
}

void EncodePass(const TPNGObject& image, const TChunkIHDR& header, TIdatWriter& writer, const TAdam7Pass& pass) {
  const uint8_t depth = header.StoredBitDepth();
  const int64_t passWidth = (int64_t{header.Width} + pass.ColumnStep - pass.StartColumn - 1) / pass.ColumnStep;
  const int64_t rowBytes = PngRowBytes(header.ColorType, depth, passWidth);
  if (passWidth <= 0 || rowBytes <= 0 || pass.StartRow >= static_cast<int64_t>(header.Height)) return;
  const auto size = static_cast<size_t>(rowBytes);
  const auto pixelBytes = static_cast<size_t>(PngPixelBytes(header.ColorType, depth));
  std::vector<uint8_t> raw(size), previous(size, 0);
  std::array<std::vector<uint8_t>, PngFilterCount> filtered;
  for (uint8_t f = 0; f < PngFilterCount; ++f) {
    filtered[f].assign(size + 1, f);
  }
  for (int64_t y = pass.StartRow; y < header.Height; y += pass.RowStep) {
    LoadPngRow(header, image.InverseGammaCurve, raw.data(), static_cast<int32_t>(y), pass.StartColumn, pass.ColumnStep,
               static_cast<int32_t>(passWidth));
    std::copy(raw.begin(), raw.end(), filtered[PngFilterNone].begin() + 1);
    for (uint8_t f = PngFilterSub; f < PngFilterCount; ++f)
      if (image.RowFilterSet & (1u << f))
        FilterRow(f, raw.data(), previous.data(), filtered[f].data() + 1, size, pixelBytes);
    writer.Feed(filtered[ChooseFilter(image.RowFilterSet, filtered, size)].data(), size + 1);
    std::swap(raw, previous);
  }
}

}  // namespace

bool TChunkIDAT::WriteChunk(TStream& stream) {
  const TChunkIHDR& header = GetHeader();
  const TPNGObject& image = Owner();
  TIdatWriter writer(stream, image.DeflateLevel, image.IdatLimit());
  if (image.InterlaceMode == 1) {
    for (const TAdam7Pass& pass : Adam7Passes) EncodePass(image, header, writer, pass);
  } else {
    EncodePass(image, header, writer, TAdam7Pass{0, 0, 1, 1});
  }
  writer.Finish();
  return true;
}

void TPNGObject::BuildFromBitmap(const TBitmap& bitmap, bool transparent, TColor transparentColour) {
  TPNGObject image;
  image.InterlaceMode = 0;
  auto header = std::make_unique<TChunkIHDR>(image);
  const int32_t bits = bitmap.BitsPerPixel();
  header->Width = static_cast<uint32_t>(bitmap.Width());
  header->Height = static_cast<uint32_t>(bitmap.Height());
  header->ColorType = bits < 16 ? PngColorPalette : PngColorRGB;
  header->BitDepth = static_cast<uint8_t>(bits < 16 ? bits : 8);
  TChunkIHDR& added = static_cast<TChunkIHDR&>(image.AddChunk(std::move(header)));
  added.PrepareImageData();
  // The bitmap's pixels in the raster's format; a palette raster keeps the bitmap's table.
  TBitmap pixels;
  pixels.Assign(bitmap);
  pixels.SetPixelFormat(added.Raster.PixelFormat());
  added.Raster.Assign(pixels);
  if (added.UsesPalette) {
    std::vector<TPaletteEntry> colors(pixels.ColorTable().begin(), pixels.ColorTable().end());
    colors.resize(size_t{1} << bits);
    added.Raster.SetColorTable(colors);
    auto palette = std::make_unique<TChunkPLTE>(image);
    palette->EntryCount = static_cast<uint32_t>(colors.size());
    image.AddChunk(std::move(palette));
  }
  if (transparent) {
    auto trns = std::make_unique<TChunktRNS>(image);
    TChunktRNS& key = static_cast<TChunktRNS&>(image.AddChunk(std::move(trns)));
    key.SetTransparentColour(transparentColour);
  }
  image.AddChunk(std::make_unique<TChunkIDAT>(image));
  image.AddChunk(std::make_unique<TChunkIEND>(image));
  TakeOver(image);
}
