#include "imaging/png/PngCodec.h"

#include <algorithm>
#include <cstring>

#include "platform/graphics/PixelAccess.h"
#include "unicode/UniSystem.h"

namespace {

std::unique_ptr<TGraphic> CreatePngObject() { return std::make_unique<TPNGObject>(); }

}  // namespace

const TGraphicClassInfo TPNGObject::ClassInfo{"TPNGObject", &CreatePngObject, "png"};

EPNGZLIBError::EPNGZLIBError(const char* zlibMessage)
    : EPngError(LoadWideResString(&EPNGZLIBErrorText) + Utf8ToWide(zlibMessage)) {}

TPNGObject::TPNGObject() { ResetGamma(); }
TPNGObject::~TPNGObject() = default;

void TPNGObject::ResetGamma() {
  for (size_t i = 0; i < 256; ++i) GammaCurve[i] = InverseGammaCurve[i] = static_cast<uint8_t>(i);
}

void TPNGObject::ClearChunks() {
  ResetGamma();
  FChunkList.clear();
}

TChunk& TPNGObject::AddChunk(std::unique_ptr<TChunk> chunk) {
  FChunkList.push_back(std::move(chunk));
  return *FChunkList.back();
}

TChunkIHDR& TPNGObject::HeaderChunk() const {
  auto* header = FChunkList.empty() ? nullptr : dynamic_cast<TChunkIHDR*>(FChunkList.front().get());
  if (header == nullptr) throw EPNGHeaderNotPresent();
  return *header;
}

int32_t TPNGObject::Width() const {
  auto* header = FChunkList.empty() ? nullptr : dynamic_cast<TChunkIHDR*>(FChunkList.front().get());
  return header ? static_cast<int32_t>(header->Width) : 0;
}

int32_t TPNGObject::Height() const {
  auto* header = FChunkList.empty() ? nullptr : dynamic_cast<TChunkIHDR*>(FChunkList.front().get());
  return header ? static_cast<int32_t>(header->Height) : 0;
}

uint8_t* TPNGObject::RowPointer(int32_t y) const { return HeaderChunk().Raster.ScanLine(y); }

uint8_t* TPNGObject::AlphaRow(int32_t y) const {
  TChunkIHDR& header = HeaderChunk();
  return header.AlphaPlane.empty() ? nullptr : header.AlphaPlane.data() + int64_t{y} * header.Width;
}

uint8_t* TPNGObject::LowByteRow(int32_t y) const {
  TChunkIHDR& header = HeaderChunk();
  return header.LowBytePlane.empty() ? nullptr : header.LowBytePlane.data() + int64_t{y} * header.RowStride;
}

void TPNGObject::TakeOver(TPNGObject& other) noexcept {
  FChunkList = std::move(other.FChunkList);
  other.FChunkList.clear();
  for (auto& chunk : FChunkList) chunk->FOwner = this;
  GammaCurve = other.GammaCurve;
  InverseGammaCurve = other.InverseGammaCurve;
  InterlaceMode = other.InterlaceMode;
}

// --- Loading and saving -----------------------------------------------------------------------

void TPNGObject::LoadFromStream(TStream& stream) {
  TPNGObject image;
  image.Limits = Limits;
  image.ReadChunks(stream);
  TakeOver(image);
}

void TPNGObject::ReadChunks(TStream& stream) {
  uint8_t signature[PngSignature.size()];
  if (stream.Read(signature, sizeof signature) != sizeof signature ||
      !std::equal(PngSignature.begin(), PngSignature.end(), signature))
    throw EPNGInvalidFileHeader();
  constexpr TChunkType ihdr = ChunkTypeOf("IHDR"), idat = ChunkTypeOf("IDAT"), iend = ChunkTypeOf("IEND"),
                       chrm = ChunkTypeOf("cHRM");
  bool imageDataRead = false;
  uint32_t chunksSeen = 0;
  for (;;) {
    uint8_t head[PngChunkLengthBytes + PngChunkTypeBytes];
    ReadPngBytes(stream, head, sizeof head);
    const uint32_t length = LoadBE32(head);
    TChunkType type;
    std::copy_n(head + PngChunkLengthBytes, PngChunkTypeBytes, type.begin());
    if (FChunkList.empty() && type != ihdr) throw EPNGIHDRNotFirst();
    if (!FChunkList.empty() && type == ihdr) throw EPngInvalidIHDR();  // one header only
    if (++chunksSeen > Limits.MaxChunkCount) throw EPNGOutMemory();
    CheckChunkLength(stream, length);
    if (type == chrm || (type == idat && imageDataRead)) {
      stream.SetPosition(stream.Position() + int64_t{length} + int64_t{PngChunkCrcBytes});
      continue;
    }
    bool known = false;
    auto chunk = CreateChunkForType(*this, type, known);
    if (!known && IsCriticalChunk(type)) throw EPNGUnknownCriticalChunk();
    if (type != idat && length > Limits.MaxChunkBytes) throw EPNGOutMemory();
    const bool keepReading = AddChunk(std::move(chunk)).ReadChunk(stream, type, length);
    if (type == idat) imageDataRead = true;
    if (!keepReading || type == iend) break;
  }
  if (!imageDataRead) throw EPNGNoImageData();
}

void TPNGObject::SaveToStream(TStream& stream) const {
  stream.WriteBuffer(PngSignature.data(), static_cast<int32_t>(PngSignature.size()));
  for (const auto& chunk : FChunkList) chunk->WriteChunk(stream);
}

// --- Copies -----------------------------------------------------------------------------------

void TPNGObject::Assign(const TPersistent& source) {
  if (&source == this) return;
  if (const auto* png = dynamic_cast<const TPNGObject*>(&source)) {
    TPNGObject image;
    image.GammaCurve = png->GammaCurve;
    image.InverseGammaCurve = png->InverseGammaCurve;
    image.InterlaceMode = png->InterlaceMode;
    for (const auto& chunk : png->FChunkList) image.AddChunk(chunk->NewLike(image)).Assign(*chunk);
    TakeOver(image);
    RowFilterSet = png->RowFilterSet;
    DeflateLevel = png->DeflateLevel;
    FIdatLimit = png->FIdatLimit;
    Limits = png->Limits;
  } else if (const auto* bitmap = dynamic_cast<const TBitmap*>(&source)) {
    BuildFromBitmap(*bitmap, bitmap->Transparent(), bitmap->TransparentColor());
  } else {
    TGraphic::Assign(source);
  }
}

void TPNGObject::AssignTo(TPersistent& dest) const {
  auto* header = FChunkList.empty() ? nullptr : dynamic_cast<TChunkIHDR*>(FChunkList.front().get());
  if (auto* png = dynamic_cast<TPNGObject*>(&dest)) {
    png->Assign(*this);
  } else if (auto* bitmap = dynamic_cast<TBitmap*>(&dest); bitmap && header) {
    AssignToBitmap(*bitmap);
  } else {
    TGraphic::AssignTo(dest);
  }
}

void TPNGObject::SaveToClipboardFormat(uint16_t& format, std::unique_ptr<TBitmap>& data, HPALETTE& palette) const {
  auto bitmap = std::make_unique<TBitmap>();
  AssignTo(*bitmap);
  format = CF_BITMAP;
  data = std::move(bitmap);
  palette = {};
}

void TPNGObject::LoadFromClipboardFormat(uint16_t format, const TBitmap& data, HPALETTE) {
  if (format != CF_BITMAP) throw EInvalidGraphic(SUnknownClipboardFormat);
  BuildFromBitmap(data, data.Transparent(), data.TransparentColor());
}

// --- Palette and size -------------------------------------------------------------------------

HPALETTE TPNGObject::Palette() const {
  auto* header = FChunkList.empty() ? nullptr : dynamic_cast<TChunkIHDR*>(FChunkList.front().get());
  return header && header->UsesPalette ? header->Raster.Palette() : HPALETTE{};
}

void TPNGObject::SetPalette(HPALETTE palette) {
  TChunkIHDR& header = HeaderChunk();
  if (!header.UsesPalette || !palette) return;
  std::vector<TPaletteEntry> entries(std::min<size_t>(palette->palPalEntry.size(), MaxPaletteEntries));
  std::copy_n(palette->palPalEntry.begin(), entries.size(), entries.begin());
  header.Raster.SetColorTable(entries);
}

void TPNGObject::Resize(int32_t width, int32_t height) {
  if (width < 1 || height < 1) throw EPNGInvalidNewSize();
  TChunkIHDR& header = HeaderChunk();
  TChunkIHDR resized(*this);
  resized.Width = static_cast<uint32_t>(width);
  resized.Height = static_cast<uint32_t>(height);
  resized.BitDepth = header.BitDepth;
  resized.ColorType = header.ColorType;
  resized.PrepareImageData();
  resized.Raster.SetColorTable(header.Raster.ColorTable());
  const int32_t keepWidth = std::min<int32_t>(width, static_cast<int32_t>(header.Width));
  const int32_t keepHeight = std::min<int32_t>(height, static_cast<int32_t>(header.Height));
  const int32_t bits = header.RasterBits();
  for (int32_t y = 0; y < keepHeight; ++y) {
    if (bits < 8) {
      for (int32_t x = 0; x < keepWidth; ++x)
        SetPixelIndex(resized.Raster.ScanLine(y), x, bits, GetPixelIndex(header.Raster.ScanLine(y), x, bits));
    } else {
      std::memcpy(resized.Raster.ScanLine(y), header.Raster.ScanLine(y),
                  static_cast<size_t>(keepWidth) * static_cast<size_t>(bits / 8));
    }
    if (!header.LowBytePlane.empty())
      std::memcpy(resized.LowBytePlane.data() + int64_t{y} * resized.RowStride,
                  header.LowBytePlane.data() + int64_t{y} * header.RowStride,
                  static_cast<size_t>(keepWidth) * static_cast<size_t>(bits / 8));
    if (!header.AlphaPlane.empty())
      std::memcpy(resized.AlphaPlane.data() + int64_t{y} * width, header.AlphaPlane.data() + int64_t{y} * header.Width,
                  static_cast<size_t>(keepWidth));
  }
  header.Width = resized.Width;
  header.Height = resized.Height;
  header.Raster.Assign(resized.Raster);
  header.RowStride = resized.RowStride;
  header.AlphaPlane = std::move(resized.AlphaPlane);
  header.LowBytePlane = std::move(resized.LowBytePlane);
}
