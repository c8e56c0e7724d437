// Reading the image data: inflating the consecutive IDAT chunks, undoing the row filters
// and storing the rows into the raster, pass by pass for interlaced images.
#include <zlib.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "imaging/png/PngCodec.h"
#include "imaging/png/PngPixelRows.h"
#include "imaging/png/PngRowFilters.h"
#include "platform/base/FuzzChecksums.h"

namespace {

constexpr uint32_t kInputBytes = 65535;

// The zlib input side over a run of IDAT chunks.
//
// State: FChunkLeft data bytes of the current chunk are still in the stream; FCrc runs
// over its type and the data read so far; FZ holds input read but not yet inflated
// (avail_in). The next chunk is entered only when both are used up, after the CRC of the
// current one was checked. FEnded: the zlib stream is complete, or the file ended inside
// the image data; no more rows come.
class TIdatReader {
public:
  TIdatReader(TStream& stream, const TChunkType& type, uint32_t length)
      : FStream(stream), FInput(kInputBytes), FChunkLeft(length), FCrc(ChunkCrc(type, nullptr, 0)) {
    if (inflateInit(&FZ) != Z_OK) throw EPNGOutMemory();
  }
  ~TIdatReader() { inflateEnd(&FZ); }
  TIdatReader(const TIdatReader&) = delete;
  TIdatReader& operator=(const TIdatReader&) = delete;

  // Fills out with up to count inflated bytes; fewer only when the data ends.
  size_t Fill(uint8_t* out, size_t count) {
    FZ.next_out = out;
    FZ.avail_out = static_cast<uInt>(count);
    while (FZ.avail_out > 0 && !FEnded) {
      if (FZ.avail_in == 0) {
        if (FChunkLeft == 0) NextChunk();
        const int32_t got = FStream.Read(FInput.data(), static_cast<int32_t>(std::min(FChunkLeft, kInputBytes)));
        if (got <= 0) {
          FEnded = true;  // the file ends inside the image data: keep the rows decoded
          break;
        }
        FCrc = static_cast<uint32_t>(crc32(FCrc, FInput.data(), static_cast<uInt>(got)));
        FChunkLeft -= static_cast<uint32_t>(got);
        FZ.next_in = FInput.data();
        FZ.avail_in = static_cast<uInt>(got);
      }
      const int result = inflate(&FZ, Z_NO_FLUSH);
      if (result == Z_STREAM_END) FEnded = true;
      // A preset dictionary (Z_NEED_DICT) is never part of image data and would stall.
      else if (result < 0 || result == Z_NEED_DICT)
        throw EPNGZLIBError(FZ.msg ? FZ.msg : zError(result));
    }
    return count - FZ.avail_out;
  }

  // After the last row: the rest of the current chunk joins its CRC, which is checked.
  void Finish() {
    while (FChunkLeft > 0) {
      const uint32_t part = std::min(FChunkLeft, kInputBytes);
      ReadPngBytes(FStream, FInput.data(), part);
      FCrc = static_cast<uint32_t>(crc32(FCrc, FInput.data(), part));
      FChunkLeft -= part;
    }
    CheckCrc();
  }

private:
  void CheckCrc() {
    uint8_t stored[PngChunkCrcBytes];
    ReadPngBytes(FStream, stored, sizeof stored);
    if (LoadBE32(stored) != FCrc && !ChecksumsSkipped()) throw EPngInvalidCRC();
  }

  void NextChunk() {
    CheckCrc();
    uint8_t head[PngChunkLengthBytes + PngChunkTypeBytes];
    ReadPngBytes(FStream, head, sizeof head);
    TChunkType type;
    std::copy_n(head + PngChunkLengthBytes, PngChunkTypeBytes, type.begin());
    if (type != ChunkTypeOf("IDAT")) throw EPNGMissingMultipleIDAT();
    FChunkLeft = LoadBE32(head);
    CheckChunkLength(FStream, FChunkLeft);
    FCrc = ChunkCrc(type, nullptr, 0);
  }

  TStream& FStream;
  z_stream FZ{};
  std::vector<uint8_t> FInput;
  uint32_t FChunkLeft;
  uint32_t FCrc;
  bool FEnded = false;
};

// Decodes the rows of one pass (the whole image: start 0, steps 1); false when the data
// ended before its last row.
bool DecodePass(TChunkIHDR& header, const TGammaTable& gamma, TIdatReader& reader, const TAdam7Pass& pass) {
  const int64_t width = header.Width, height = header.Height;
  const int64_t passWidth = (width + pass.ColumnStep - pass.StartColumn - 1) / pass.ColumnStep;
  const int64_t rowBytes = PngRowBytes(header.ColorType, header.BitDepth, passWidth);
  if (passWidth <= 0 || rowBytes <= 0) return true;
  const auto pixelBytes = static_cast<size_t>(PngPixelBytes(header.ColorType, header.BitDepth));
  const auto filtered = static_cast<size_t>(rowBytes) + 1;
  std::vector<uint8_t> current(filtered), previous(filtered, 0);
  for (int64_t y = pass.StartRow; y < height; y += pass.RowStep) {
    if (reader.Fill(current.data(), filtered) < filtered) return false;
    UnfilterRow(current[0], current.data() + 1, previous.data() + 1, filtered - 1, pixelBytes);
    StorePngRow(header, gamma, current.data() + 1, static_cast<int32_t>(y), pass.StartColumn, pass.ColumnStep,
                static_cast<int32_t>(passWidth));
    std::swap(current, previous);
  }
  return true;
}

}  // namespace

bool TChunkIDAT::ReadChunk(TStream& stream, const TChunkType& type, uint32_t length) {
  ChunkType = type;
  TChunkIHDR& header = GetHeader();
  if (header.ColorType == PngColorGray || header.ColorType == PngColorGrayAlpha) header.SetGrayPalette();
  TIdatReader reader(stream, type, length);
  constexpr TAdam7Pass whole{0, 0, 1, 1};
  if (header.InterlaceMethod == 0) {
    DecodePass(header, Owner().GammaCurve, reader, whole);
  } else {
    for (const TAdam7Pass& pass : Adam7Passes)
      if (!DecodePass(header, Owner().GammaCurve, reader, pass)) break;
  }
  reader.Finish();
  return true;
}
