// Picture loaders of the RTF reader: device-independent and device-dependent bitmaps,
// the bitmap inside a metafile, PNG and JPEG data.
#include "richtext/interchange/RPRTFPictureLoad.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#include "imaging/png/PngCodec.h"
#include "imaging/png/PngDefs.h"
#include "platform/base/LittleEndian.h"
#include "platform/graphics/DibDecode.h"
#include "platform/graphics/JpegImage.h"
#include "platform/graphics/Metafile.h"
#include "platform/graphics/MetafileFormat.h"

namespace {

[[noreturn]] void InvalidBitmap() { throw EInvalidGraphic(SInvalidBitmap); }
[[noreturn]] void InvalidMetafile() { throw EInvalidGraphic(SInvalidMetafile); }

constexpr uint32_t kFileHeaderBytes = RTFBitmapFileHeaderBytes;
static_assert(kFileHeaderBytes == 2 + 4 + 2 + 2 + 4, "type, size, two reserved words, pixel offset");

void Admit(const TRPRTFRasterAdmit& admit, int64_t declaredPx, int64_t fillablePx) {
  if (admit) admit(declaredPx, std::min(fillablePx, declaredPx));
}

// A device-independent bitmap, admitted before anything is allocated for it.
std::unique_ptr<TBitmap> LoadAdmittedDib(std::span<const uint8_t> dib, int64_t bitsOffset,
                                         const TRPRTFRasterAdmit& admit) {
  if (admit) {
    const TDibRaster raster = DibRaster(dib, bitsOffset);
    Admit(admit, raster.DeclaredPx, raster.CodedPx);
  }
  return LoadDibBitmap(dib, bitsOffset);
}

// A metafile kept as one: the bitmap of its size that printing and export play it into,
// and each bitmap its records hold, admitted before any of them is decoded. A bitmap
// record that is no bitmap is left to the player, which skips it.
void AdmitMetafile(const TMetafile& metafile, const TRPRTFRasterAdmit& admit) {
  if (!admit) return;
  const int64_t pixels = int64_t{metafile.Width()} * metafile.Height();
  Admit(admit, pixels, pixels);
  metafile.EachRecordBitmap([&](std::span<const uint8_t> dib, int64_t bitsOffset) {
    TDibRaster raster;
    try {
      raster = DibRaster(dib, bitsOffset);
    } catch (const EInvalidGraphic&) {
      return;
    }
    Admit(admit, raster.DeclaredPx, raster.CodedPx);
  });
}

}  // namespace

std::span<const uint8_t> WindowsMetafileRecords(std::span<const uint8_t> wmf) {
  // A placeable header may come first.
  if (wmf.size() >= 4 && LoadLE32(wmf.data()) == wmf::PlaceableKey)
    wmf = wmf.subspan(std::min<size_t>(wmf.size(), wmf::PlaceableBytes));
  if (!wmf::StartsWithHeader(wmf)) InvalidMetafile();
  return wmf;
}

std::unique_ptr<TBitmap> ExtractMetafileBitmap(std::span<const uint8_t> data, const TRPRTFRasterAdmit& admit) {
  const std::span<const uint8_t> records = WindowsMetafileRecords(data);

  // Record functions that only set state around the drawing.
  static constexpr uint16_t stateRecords[] = {
      wmf::SETWINDOWEXT,     wmf::SETWINDOWORG,      wmf::SETVIEWPORTEXT,  wmf::SETVIEWPORTORG,
      wmf::SETMAPMODE,       wmf::SETSTRETCHBLTMODE, wmf::SETTEXTCOLOR,    wmf::SETBKCOLOR,
      wmf::SAVEDC,           wmf::RESTOREDC,         wmf::SELECTOBJECT,    wmf::SELECTPALETTE,
      wmf::ESCAPE,  // comments
      wmf::SELECTCLIPREGION, wmf::INTERSECTCLIPRECT, wmf::EXCLUDECLIPRECT, wmf::OFFSETCLIPRGN,
  };
  // Record functions that draw a device-independent bitmap.
  static constexpr uint16_t dibRecords[] = {wmf::DIBBITBLT, wmf::DIBSTRETCHBLT, wmf::STRETCHDIB, wmf::SETDIBTODEV};
  std::span<const uint8_t> dib;
  int32_t dibCount = 0;
  size_t at = wmf::HeaderBytes;
  while (at + wmf::RecordHeaderBytes <= records.size()) {
    const uint64_t recordBytes = uint64_t{LoadLE32(records.data() + at)} * 2;
    const uint16_t function = LoadLE16(records.data() + at + 4);
    if (recordBytes < wmf::RecordHeaderBytes || recordBytes > records.size() - at) InvalidMetafile();
    if (function == wmf::EOF_) break;
    const auto record = records.subspan(at, static_cast<size_t>(recordBytes));
    at += static_cast<size_t>(recordBytes);
    if (std::find(std::begin(stateRecords), std::end(stateRecords), function) != std::end(stateRecords)) continue;
    if (std::find(std::begin(dibRecords), std::end(dibRecords), function) == std::end(dibRecords)) return nullptr;
    const size_t bitmapAt = wmf::DibOffset(function, static_cast<uint32_t>(record.size() / 2));
    if (bitmapAt == 0 || record.size() <= bitmapAt + 4) return nullptr;
    if (++dibCount > 1) return nullptr;
    dib = record.subspan(bitmapAt);
  }
  if (dibCount != 1) return nullptr;
  return LoadAdmittedDib(dib, 0, admit);
}

namespace {

// Deflate codes at most 258 bytes in a 2-bit code after the first: no stream inflates
// to more than 1032 times its size.
constexpr int64_t kDeflateMaxRatio = 1032;

// The raster a PNG header declares, and the pixels its data could inflate to.
void AdmitPng(std::span<const uint8_t> png, const TRPRTFRasterAdmit& admit) {
  constexpr size_t kSignatureBytes = 8;
  constexpr size_t kIhdrAt = kSignatureBytes + 4 + 4;       // chunk length, chunk type
  constexpr size_t kIhdrBytes = 4 + 4 + 1 + 1;              // width, height, bit depth, colour type
  if (!admit || png.size() < kIhdrAt + kIhdrBytes) return;  // the decoder refuses it
  // Sides past 2^31 - 1 are no PNG's; held there, their product fits 64 bits.
  constexpr int64_t kMaxSidePx = INT32_MAX;
  const int64_t width = std::min<int64_t>(LoadBE32(png.data() + kIhdrAt), kMaxSidePx);
  const int64_t height = std::min<int64_t>(LoadBE32(png.data() + kIhdrAt + 4), kMaxSidePx);
  const int64_t depth = png[kIhdrAt + 8];
  const uint8_t colorType = png[kIhdrAt + 9];
  const int64_t channels = colorType == 2 ? 3 : colorType == 4 ? 2 : colorType == 6 ? 4 : 1;
  // Each row: a filter byte and its pixels.
  const double rawBytes =
      static_cast<double>(height) * (1.0 + std::ceil(static_cast<double>(width) * depth * channels / 8));
  const double inflatable = static_cast<double>(png.size()) * kDeflateMaxRatio;
  const int64_t declaredPx = width * height;
  const int64_t fillablePx = rawBytes <= inflatable
                                 ? declaredPx
                                 : static_cast<int64_t>(static_cast<double>(declaredPx) * inflatable / rawBytes);
  Admit(admit, declaredPx, fillablePx);
}

// The raster of a JPEG's frame header (a huge blank frame codes in a few bytes, so all
// of it counts as fillable).
void AdmitJpeg(std::span<const uint8_t> jpeg, const TRPRTFRasterAdmit& admit) {
  if (!admit) return;
  size_t at = 2;  // past the start of image
  while (at + 4 <= jpeg.size()) {
    if (jpeg[at] != 0xFF) return;  // the decoder refuses it
    const uint8_t marker = jpeg[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD9)) {  // markers without a segment
      at += 2;
      continue;
    }
    const size_t segmentBytes = LoadBE16(jpeg.data() + at + 2);
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame && at + 9 <= jpeg.size()) {
      // Segment length, sample precision, then the number of lines and of samples per line.
      const int64_t pixels = int64_t{LoadBE16(jpeg.data() + at + 5)} * LoadBE16(jpeg.data() + at + 7);
      Admit(admit, pixels, pixels);
      return;
    }
    at += 2 + segmentBytes;
  }
}

std::unique_ptr<TGraphic> LoadPng(TStream& stream) {
  TGraphicClass pngClass = FindGraphicClass(TPNGObject::ClassInfo.ClassName);
  if (!pngClass) return nullptr;
  std::unique_ptr<TGraphic> graphic = pngClass->Create();
  graphic->LoadFromStream(stream);
  return graphic;
}

std::unique_ptr<TGraphic> LoadJpeg(TStream& stream) {
  auto jpeg = std::make_unique<TJPEGImage>();
  jpeg->LoadFromStream(stream);
  return jpeg;
}

std::span<const uint8_t> BytesOf(TMemoryStream& stream) {
  return {static_cast<const uint8_t*>(stream.Memory()), static_cast<size_t>(stream.Size())};
}

// \wmetafile data: the records of a Windows metafile, sized as the mapping mode says.
// In the isotropic and anisotropic modes (7, 8) positive extents are the size in 0.01 mm;
// otherwise the metafile keeps its own size, or with none the extents as pixels.
std::unique_ptr<TGraphic> LoadWindowsMetafile(const TRPRTFPicture& picture, std::span<const uint8_t> data,
                                              bool extractMetafileBitmaps, const TRPRTFRasterAdmit& admit) {
  auto metafile = std::make_unique<TMetafile>();
  metafile->LoadFromBytes(data);
  if (extractMetafileBitmaps)
    if (std::unique_ptr<TBitmap> bitmap = ExtractMetafileBitmap(data, admit)) return bitmap;
  const int32_t mapMode = picture.MetafileMapMode >= MM_LOMETRIC && picture.MetafileMapMode <= MM_ANISOTROPIC
                              ? picture.MetafileMapMode
                              : MM_TEXT;
  if ((mapMode == MM_ISOTROPIC || mapMode == MM_ANISOTROPIC) && picture.PicW > 0 && picture.PicH > 0) {
    metafile->SetMMWidth(picture.PicW);
    metafile->SetMMHeight(picture.PicH);
  } else if (metafile->Width() == 0 && metafile->Height() == 0 && picture.PicW > 0 && picture.PicH > 0) {
    metafile->SetWidth(picture.PicW);
    metafile->SetHeight(picture.PicH);
  }
  AdmitMetafile(*metafile, admit);
  return metafile;
}

}  // namespace

std::unique_ptr<TGraphic> LoadRTFPictureGraphic(TRPRTFPicture& picture, int64_t dibHeaderOffset,
                                                bool extractMetafileBitmaps, int32_t pixelsPerInch,
                                                const TRPRTFRasterAdmit& admit) {
  (void)pixelsPerInch;  // sizes of metafiles matter only where they are drawn
  TMemoryStream& data = picture.Data;
  data.SetPosition(0);
  switch (picture.PicType) {
    case rtf_pict_PNG:
      AdmitPng(BytesOf(data), admit);
      return LoadPng(data);
    case rtf_pict_JPEG:
      AdmitJpeg(BytesOf(data), admit);
      return LoadJpeg(data);
    case rtf_pict_DIB: {
      if (dibHeaderOffset < 0 || dibHeaderOffset + kFileHeaderBytes > data.Size()) InvalidBitmap();
      const auto all = BytesOf(data);
      const auto dib = all.subspan(static_cast<size_t>(dibHeaderOffset) + kFileHeaderBytes);
      const uint32_t bitsOffset = DibBitsOffset(dib) + kFileHeaderBytes;
      // The file header, so that the data is a whole bitmap file for whoever reads it.
      uint8_t header[kFileHeaderBytes] = {'B', 'M'};
      StoreLE32(header + 2, static_cast<uint32_t>(all.size() - static_cast<size_t>(dibHeaderOffset)));
      StoreLE32(header + 10, bitsOffset);
      std::memcpy(static_cast<uint8_t*>(data.Memory()) + dibHeaderOffset, header, sizeof header);
      return LoadAdmittedDib(dib, 0, admit);
    }
    case rtf_pict_DDB:
      Admit(admit, int64_t{picture.PicW} * picture.PicH, int64_t{picture.PicW} * picture.PicH);
      return LoadDdbBitmap(BytesOf(data), picture.PicW, picture.PicH, picture.WBMWidthBytes, picture.WBMPlanes,
                           picture.WBMBitsPixel);
    case rtf_pict_WMF:
      return LoadWindowsMetafile(picture, BytesOf(data), extractMetafileBitmaps, admit);
    case rtf_pict_EMF: {
      auto metafile = std::make_unique<TMetafile>();
      metafile->LoadFromBytes(BytesOf(data));
      AdmitMetafile(*metafile, admit);
      return metafile;
    }
    default:
      return nullptr;
  }
}

std::unique_ptr<TGraphic> LoadPictureFileGraphic(std::span<const uint8_t> bytes, const TRPRTFRasterAdmit& admit) {
  static const uint8_t png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  stream.SetPosition(0);
  if (bytes.size() >= sizeof png && std::equal(std::begin(png), std::end(png), bytes.begin())) {
    AdmitPng(bytes, admit);
    return LoadPng(stream);
  }
  if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) {
    AdmitJpeg(bytes, admit);
    return LoadJpeg(stream);
  }
  if (bytes.size() >= kFileHeaderBytes && bytes[0] == 'B' && bytes[1] == 'M')
    return LoadAdmittedDib(bytes.subspan(kFileHeaderBytes),
                           static_cast<int64_t>(LoadLE32(bytes.data() + 10)) - kFileHeaderBytes, admit);
  return nullptr;
}
