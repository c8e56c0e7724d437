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
#include "platform/graphics/JpegImage.h"
#include "platform/graphics/PixelAccess.h"

namespace {

[[noreturn]] void InvalidBitmap() { throw EInvalidGraphic(SInvalidBitmap); }
[[noreturn]] void InvalidMetafile() { throw EInvalidGraphic(SInvalidMetafile); }

// Information-header sizes.
constexpr uint32_t kCoreHeaderBytes = 12;  // BITMAPCOREHEADER
constexpr uint32_t kInfoHeaderBytes = 40;  // BITMAPINFOHEADER
constexpr uint32_t kOs2HeaderBytes = 64;   // OS/2 2.x
constexpr uint32_t kV2HeaderBytes = 52;    // with the three colour masks
constexpr uint32_t kV3HeaderBytes = 56;    // with the alpha mask too
constexpr uint32_t kV4HeaderBytes = 108;   // BITMAPV4HEADER
constexpr uint32_t kV5HeaderBytes = 124;   // BITMAPV5HEADER
static_assert(kInfoHeaderBytes == 4 + 4 + 4 + 2 + 2 + 4 + 4 + 4 + 4 + 4 + 4, "BITMAPINFOHEADER fields");
static_assert(kV2HeaderBytes == kInfoHeaderBytes + 3 * 4 && kV3HeaderBytes == kV2HeaderBytes + 4, "mask fields");
constexpr uint32_t kFileHeaderBytes = RTFBitmapFileHeaderBytes;
static_assert(kFileHeaderBytes == 2 + 4 + 2 + 2 + 4, "type, size, two reserved words, pixel offset");

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr uint32_t BI_ALPHABITFIELDS = 6;

uint32_t Read16(std::span<const uint8_t> data, size_t at) {
  if (at + 2 > data.size()) InvalidBitmap();
  return LoadLE16(data.data() + at);
}
uint32_t Read32(std::span<const uint8_t> data, size_t at) {
  if (at + 4 > data.size()) InvalidBitmap();
  return LoadLE32(data.data() + at);
}

// What the header of a device-independent bitmap says.
struct TDibLayout {
  int64_t Width = 0;
  int64_t Height = 0;  // rows, always positive
  bool TopDown = false;
  uint32_t Bits = 0;
  uint32_t Compression = BI_RGB;
  std::array<uint32_t, 3> Masks{};  // red, green, blue of 16- and 32-bit pixels
  std::vector<TPaletteEntry> Colors;
  uint32_t BitsOffset = 0;  // from the start of the information header
};

TDibLayout ReadDibLayout(std::span<const uint8_t> dib) {
  TDibLayout layout;
  const uint32_t headerBytes = Read32(dib, 0);
  const bool core = headerBytes == kCoreHeaderBytes;
  if (!core && headerBytes != kInfoHeaderBytes && headerBytes != kV2HeaderBytes && headerBytes != kV3HeaderBytes &&
      headerBytes != kOs2HeaderBytes && headerBytes != kV4HeaderBytes && headerBytes != kV5HeaderBytes)
    InvalidBitmap();
  if (dib.size() < headerBytes) InvalidBitmap();
  int64_t rawHeight = 0;
  uint32_t colorsUsed = 0;
  if (core) {
    layout.Width = Read16(dib, 4);
    rawHeight = static_cast<int16_t>(Read16(dib, 6));
    layout.Bits = Read16(dib, 10);
  } else {
    layout.Width = static_cast<int32_t>(Read32(dib, 4));
    rawHeight = static_cast<int32_t>(Read32(dib, 8));
    layout.Bits = Read16(dib, 14);
    layout.Compression = Read32(dib, 16);
    colorsUsed = Read32(dib, 32);
  }
  layout.TopDown = rawHeight < 0;
  layout.Height = rawHeight < 0 ? -rawHeight : rawHeight;
  if (layout.Width <= 0 || layout.Height <= 0 || layout.Width > MaxBmpSidePx || layout.Height > MaxBmpSidePx)
    InvalidBitmap();
  switch (layout.Bits) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      InvalidBitmap();
  }
  if (BytesPerScanLineOf(layout.Width, static_cast<int32_t>(layout.Bits)) * layout.Height > MaxBitmapBytes)
    InvalidBitmap();

  uint32_t offset = headerBytes;
  switch (layout.Compression) {
    case BI_RGB:
      if (layout.Bits == 16)
        layout.Masks = {0x7C00, 0x03E0, 0x001F};
      else if (layout.Bits == 32)
        layout.Masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
      break;
    case BI_RLE8:
      if (layout.Bits != 8 || layout.TopDown) InvalidBitmap();
      break;
    case BI_RLE4:
      if (layout.Bits != 4 || layout.TopDown) InvalidBitmap();
      break;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS: {
      if (layout.Bits != 16 && layout.Bits != 32) InvalidBitmap();
      // The masks follow a 40-byte header and lie inside the longer ones.
      const uint32_t at = kInfoHeaderBytes;
      for (size_t i = 0; i < 3; ++i) layout.Masks[i] = Read32(dib, at + 4 * i);
      if (headerBytes == kInfoHeaderBytes) offset += layout.Compression == BI_ALPHABITFIELDS ? 16 : 12;
      break;
    }
    default:
      InvalidBitmap();
  }

  // The colour table: biClrUsed entries when given, else all the format can index;
  // formats above 8 bits may carry biClrUsed entries that no pixel uses.
  const uint32_t entryBytes = core ? 3 : 4;
  uint32_t entries = 0;
  if (layout.Bits <= 8) {
    entries = (colorsUsed == 0 || core) ? (1u << layout.Bits) : colorsUsed;
    if (entries > 256) InvalidBitmap();
  } else {
    entries = colorsUsed;
  }
  if (static_cast<uint64_t>(entries) * entryBytes > dib.size()) InvalidBitmap();
  if (layout.Bits <= 8) {
    for (uint32_t i = 0; i < entries && i < (1u << layout.Bits); ++i) {
      const size_t at = offset + size_t{i} * entryBytes;
      if (at + 3 > dib.size()) InvalidBitmap();
      layout.Colors.push_back(TPaletteEntry{dib[at + 2], dib[at + 1], dib[at], 0});
    }
  }
  layout.BitsOffset = offset + entries * entryBytes;
  if (layout.BitsOffset > dib.size()) InvalidBitmap();
  return layout;
}

// The position of the lowest set bit and the width of a mask, to scale a channel to 8 bits.
struct TChannel {
  uint32_t Mask = 0;
  uint32_t Shift = 0;
  uint32_t Max = 0;
  explicit TChannel(uint32_t mask) : Mask(mask) {
    if (mask == 0) return;
    while (!((mask >> Shift) & 1u)) ++Shift;
    Max = mask >> Shift;
  }
  uint8_t Of(uint32_t pixel) const {
    if (Max == 0) return 0;
    return static_cast<uint8_t>(((pixel & Mask) >> Shift) * 255u / Max);
  }
};

// Walks run-length encoded rows (bottom row first): put(x, row, index) for each pixel
// the data codes inside the raster, row counted from the bottom. Raises for a run that
// the data cuts short.
template <class Put>
void WalkRle(std::span<const uint8_t> data, const TDibLayout& layout, Put&& put) {
  const auto width = static_cast<int32_t>(layout.Width);
  const auto height = static_cast<int32_t>(layout.Height);
  const int32_t bits = static_cast<int32_t>(layout.Bits);
  int32_t x = 0;
  int32_t row = 0;
  size_t at = 0;
  auto emit = [&](uint32_t index) {
    if (x < width && row < height) put(x, row, index);
    ++x;
  };
  while (at + 2 <= data.size() && row < height) {
    const uint8_t count = data[at];
    const uint8_t value = data[at + 1];
    at += 2;
    if (count > 0) {
      for (int32_t i = 0; i < count; ++i) emit(bits == 8 ? value : ((i & 1) ? (value & 0x0F) : (value >> 4)));
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++row;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // delta
      if (at + 2 > data.size()) InvalidBitmap();
      x += data[at];
      row += data[at + 1];
      at += 2;
    } else {  // absolute run of value pixels, padded to a word
      const size_t bytes = bits == 8 ? value : (value + 1u) / 2u;
      if (at + bytes > data.size()) InvalidBitmap();
      for (int32_t i = 0; i < value; ++i)
        emit(bits == 8 ? data[at + i] : ((i & 1) ? (data[at + i / 2] & 0x0F) : (data[at + i / 2] >> 4)));
      at += (bytes + 1) & ~size_t{1};
    }
  }
}

// The pixels that run-length data codes inside the raster (a skipped pixel stays 0).
int64_t RlePixelsCoded(std::span<const uint8_t> data, const TDibLayout& layout) {
  int64_t coded = 0;
  WalkRle(data, layout, [&](int32_t, int32_t, uint32_t) { ++coded; });
  return coded;
}

void DecodeRle(std::span<const uint8_t> data, const TDibLayout& layout, TBitmap& bitmap) {
  const auto height = static_cast<int32_t>(layout.Height);
  const int32_t bits = static_cast<int32_t>(layout.Bits);
  WalkRle(data, layout, [&](int32_t x, int32_t row, uint32_t index) {
    SetPixelIndex(bitmap.ScanLine(height - 1 - row), x, bits, index);
  });
}

void Admit(const TRPRTFRasterAdmit& admit, int64_t declaredPx, int64_t fillablePx) {
  if (admit) admit(declaredPx, std::min(fillablePx, declaredPx));
}

}  // namespace

uint32_t DibBitsOffset(std::span<const uint8_t> dib) { return ReadDibLayout(dib).BitsOffset; }

std::unique_ptr<TBitmap> LoadDibBitmap(std::span<const uint8_t> dib, int64_t bitsOffset,
                                       const TRPRTFRasterAdmit& admit) {
  TDibLayout layout = ReadDibLayout(dib);
  // A file header's offset of the rows wins when it points past the colour table.
  if (bitsOffset > layout.BitsOffset) {
    if (bitsOffset > static_cast<int64_t>(dib.size())) InvalidBitmap();
    layout.BitsOffset = static_cast<uint32_t>(bitsOffset);
  }
  const auto width = static_cast<int32_t>(layout.Width);
  const auto height = static_cast<int32_t>(layout.Height);
  const std::span<const uint8_t> rows = dib.subspan(layout.BitsOffset);
  const int64_t stride = BytesPerScanLineOf(layout.Width, static_cast<int32_t>(layout.Bits));
  const bool rle = layout.Compression == BI_RLE4 || layout.Compression == BI_RLE8;
  // The rows must be there before anything is allocated for them.
  if (!rle && static_cast<int64_t>(rows.size()) < stride * layout.Height) InvalidBitmap();
  const int64_t declaredPx = layout.Width * layout.Height;
  Admit(admit, declaredPx, rle ? RlePixelsCoded(rows, layout) : declaredPx);

  auto bitmap = std::make_unique<TBitmap>();
  if (layout.Bits <= 8) {
    bitmap->SetPixelFormat(layout.Bits == 1 ? pf1bit : layout.Bits == 4 ? pf4bit : pf8bit);
    bitmap->SetColorTable(layout.Colors);
    bitmap->SetSize(width, height);
    if (rle) {
      for (int32_t y = 0; y < height; ++y) std::memset(bitmap->ScanLine(y), 0, static_cast<size_t>(stride));
      DecodeRle(rows, layout, *bitmap);
    } else {
      for (int32_t r = 0; r < height; ++r) {
        const int32_t y = layout.TopDown ? r : height - 1 - r;
        std::memcpy(bitmap->ScanLine(y), rows.data() + r * stride, static_cast<size_t>(stride));
      }
    }
    return bitmap;
  }
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(width, height);
  const TChannel red(layout.Masks[0]);
  const TChannel green(layout.Masks[1]);
  const TChannel blue(layout.Masks[2]);
  for (int32_t r = 0; r < height; ++r) {
    const uint8_t* source = rows.data() + r * stride;
    uint8_t* target = bitmap->ScanLine(layout.TopDown ? r : height - 1 - r);
    for (int32_t x = 0; x < width; ++x) {
      if (layout.Bits == 24) {
        std::memcpy(target + 3 * x, source + 3 * x, 3);
        continue;
      }
      const uint32_t pixel = layout.Bits == 16 ? LoadLE16(source + 2 * x) : LoadLE32(source + 4 * x);
      target[3 * x] = blue.Of(pixel);
      target[3 * x + 1] = green.Of(pixel);
      target[3 * x + 2] = red.Of(pixel);
    }
  }
  return bitmap;
}

std::unique_ptr<TBitmap> LoadDdbBitmap(std::span<const uint8_t> bits, int32_t width, int32_t height, int32_t widthBytes,
                                       int32_t planes, int32_t bitsPerPixel, const TRPRTFRasterAdmit& admit) {
  if (planes != 1) throw EInvalidGraphic(SInvalidPixelFormat);
  if (width <= 0 || height <= 0 || width > MaxBmpSidePx || height > MaxBmpSidePx) InvalidBitmap();
  const int64_t wordRow = (int64_t{width} * bitsPerPixel + 15) / 16 * 2;
  const int64_t stride = widthBytes > 0 ? widthBytes : wordRow;
  if (stride < (int64_t{width} * bitsPerPixel + 7) / 8) InvalidBitmap();
  if (static_cast<int64_t>(bits.size()) < stride * height) InvalidBitmap();
  Admit(admit, int64_t{width} * height, int64_t{width} * height);
  auto bitmap = std::make_unique<TBitmap>();
  switch (bitsPerPixel) {
    case 1: {
      bitmap->SetPixelFormat(pf1bit);
      // A monochrome device bitmap draws 0 in black and 1 in white.
      const TPaletteEntry colors[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
      bitmap->SetColorTable(colors);
      break;
    }
    case 4: {
      bitmap->SetPixelFormat(pf4bit);
      // The sixteen colours of the standard palette.
      static const uint8_t vga[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                         {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                         {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                         {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
      std::vector<TPaletteEntry> colors;
      for (const auto& c : vga) colors.push_back(TPaletteEntry{c[0], c[1], c[2], 0});
      bitmap->SetColorTable(colors);
      break;
    }
    case 16:
    case 24:
    case 32:
      bitmap->SetPixelFormat(pf24bit);
      break;
    default:
      throw EInvalidGraphic(SInvalidPixelFormat);
  }
  bitmap->SetSize(width, height);
  const TChannel red(0x7C00);
  const TChannel green(0x03E0);
  const TChannel blue(0x001F);
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* source = bits.data() + y * stride;
    uint8_t* target = bitmap->ScanLine(y);
    if (bitsPerPixel <= 4) {
      std::memcpy(target, source, static_cast<size_t>((int64_t{width} * bitsPerPixel + 7) / 8));
      continue;
    }
    for (int32_t x = 0; x < width; ++x) {
      if (bitsPerPixel == 16) {
        const uint32_t pixel = LoadLE16(source + 2 * x);
        target[3 * x] = blue.Of(pixel);
        target[3 * x + 1] = green.Of(pixel);
        target[3 * x + 2] = red.Of(pixel);
      } else {
        std::memcpy(target + 3 * x, source + (bitsPerPixel / 8) * x, 3);
      }
    }
  }
  return bitmap;
}

namespace {

constexpr size_t kMetaHeaderBytes = 18;

}  // namespace

std::span<const uint8_t> WindowsMetafileRecords(std::span<const uint8_t> wmf) {
  // A placeable header may come first.
  constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
  constexpr size_t kPlaceableBytes = 22;
  if (wmf.size() >= 4 && LoadLE32(wmf.data()) == kPlaceableKey)
    wmf = wmf.subspan(std::min(wmf.size(), kPlaceableBytes));
  if (wmf.size() < kMetaHeaderBytes) InvalidMetafile();
  const uint32_t type = LoadLE16(wmf.data());
  const uint32_t headerWords = LoadLE16(wmf.data() + 2);
  const uint32_t version = LoadLE16(wmf.data() + 4);
  if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300)) InvalidMetafile();
  return wmf;
}

std::unique_ptr<TBitmap> ExtractMetafileBitmap(std::span<const uint8_t> data, const TRPRTFRasterAdmit& admit) {
  const std::span<const uint8_t> wmf = WindowsMetafileRecords(data);

  // Record functions that only set state around the drawing.
  static constexpr uint16_t stateRecords[] = {
      0x020C, 0x020B, 0x020E, 0x020D,  // window and viewport extents and origins
      0x0103, 0x0107,                  // map mode, stretch mode
      0x0209, 0x0201,                  // text and background colour
      0x001E, 0x0127,                  // save, restore
      0x012D, 0x0234,                  // select object, select palette
      0x0626,                          // escape (comments)
      0x012C, 0x0416, 0x0415, 0x0220,  // clipping
  };
  // Record functions that draw a device-independent bitmap, with the offset of the
  // bitmap inside the record.
  static constexpr struct {
    uint16_t Function;
    size_t BitmapOffset;
  } dibRecords[] = {
      {0x0940, 6 + 4 + 6 * 2},          // DIBBITBLT: raster operation, source y/x, height, width, dest y/x
      {0x0B41, 6 + 4 + 8 * 2},          // DIBSTRETCHBLT: raster operation, 8 coordinates
      {0x0F43, 6 + 4 + 2 + 8 * 2},      // STRETCHDIB: raster operation, colour usage, 8 coordinates
      {0x0D33, 6 + 2 + 2 + 2 + 6 * 2},  // SETDIBTODEV: colour usage, scan count, start, 6 coordinates
  };
  std::span<const uint8_t> dib;
  int32_t dibCount = 0;
  size_t at = kMetaHeaderBytes;
  while (at + 6 <= wmf.size()) {
    const uint64_t recordBytes = uint64_t{LoadLE32(wmf.data() + at)} * 2;
    const uint16_t function = LoadLE16(wmf.data() + at + 4);
    if (recordBytes < 6 || recordBytes > wmf.size() - at) InvalidMetafile();
    if (function == 0) break;  // end of the records
    const auto record = wmf.subspan(at, static_cast<size_t>(recordBytes));
    at += static_cast<size_t>(recordBytes);
    if (std::find(std::begin(stateRecords), std::end(stateRecords), function) != std::end(stateRecords)) continue;
    const auto found = std::find_if(std::begin(dibRecords), std::end(dibRecords),
                                    [&](const auto& r) { return r.Function == function; });
    if (found == std::end(dibRecords) || record.size() <= found->BitmapOffset + 4) return nullptr;
    if (++dibCount > 1) return nullptr;
    dib = record.subspan(found->BitmapOffset);
  }
  if (dibCount != 1) return nullptr;
  return LoadDibBitmap(dib, 0, admit);
}

void CheckEnhancedMetafile(std::span<const uint8_t> emf) {
  constexpr uint32_t kEmrHeader = 1;
  constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
  constexpr size_t kSignatureOffset = 40;
  if (emf.size() < kSignatureOffset + 4 || LoadLE32(emf.data()) != kEmrHeader ||
      LoadLE32(emf.data() + kSignatureOffset) != kEmfSignature)
    InvalidMetafile();
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
      return LoadDibBitmap(dib, 0, admit);
    }
    case rtf_pict_DDB:
      return LoadDdbBitmap(BytesOf(data), picture.PicW, picture.PicH, picture.WBMWidthBytes, picture.WBMPlanes,
                           picture.WBMBitsPixel, admit);
    case rtf_pict_WMF:
      if (extractMetafileBitmaps) return ExtractMetafileBitmap(BytesOf(data), admit);
      WindowsMetafileRecords(BytesOf(data));
      return nullptr;
    case rtf_pict_EMF:
      CheckEnhancedMetafile(BytesOf(data));
      return nullptr;
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
    return LoadDibBitmap(bytes.subspan(kFileHeaderBytes),
                         static_cast<int64_t>(LoadLE32(bytes.data() + 10)) - kFileHeaderBytes, admit);
  return nullptr;
}
