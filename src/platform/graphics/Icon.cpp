// TIcon: the icon directory, its entries' pixels and masks, choosing and drawing one.
#include "platform/graphics/Icon.h"

#include <algorithm>

#include "platform/base/LittleEndian.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/CanvasRaster.h"
#include "platform/graphics/DibDecode.h"
#include "platform/graphics/GraphicOnBitmap.h"

namespace {

[[noreturn]] void InvalidIcon() { throw EInvalidGraphic(SInvalidIcon); }

std::unique_ptr<TGraphic> CreateIcon() { return std::make_unique<TIcon>(); }

// Directory: reserved, type (1 icons, 2 cursors), count; then 16-byte entries: width,
// height (0 is 256), colours, reserved, planes, bits per pixel, bytes, offset.
constexpr size_t kDirBytes = 6;
constexpr size_t kDirEntryBytes = 16;
static_assert(kDirEntryBytes == 1 + 1 + 1 + 1 + 2 + 2 + 4 + 4, "directory entry fields");

const uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool CheckedSide(int64_t side) { return side >= 1 && side <= MaxIconSidePx; }

// A device-independent bitmap entry: the image over twice its height (colour rows, then
// the 1-bit AND mask, both bottom-up).
TIconEntry DecodeBitmapEntry(std::span<const uint8_t> data) {
  TDibHeader header;
  try {
    header = ReadDibHeader(data);
  } catch (const EInvalidGraphic&) {
    InvalidIcon();
  }
  const int64_t width = header.Width;
  const int64_t doubled = header.Height;  // the colour rows and the mask's
  const auto bits = static_cast<int32_t>(header.BitCount);
  const uint32_t compression = header.Compression;
  if (header.Core || doubled <= 0 || doubled % 2 != 0) InvalidIcon();
  const int64_t height = doubled / 2;
  if (!CheckedSide(width) || !CheckedSide(height) || compression > 3) InvalidIcon();
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) InvalidIcon();
  uint32_t bitsOffset = 0;
  try {
    bitsOffset = DibBitsOffset(data);
  } catch (const EInvalidGraphic&) {
    InvalidIcon();
  }
  const size_t colourBytes = static_cast<size_t>(BytesPerScanLineOf(width, bits) * height);
  const size_t maskRowBytes = static_cast<size_t>(BytesPerScanLineOf(width, 1));
  if (bitsOffset > data.size() || data.size() - bitsOffset < colourBytes) InvalidIcon();
  const bool hasMask = data.size() - bitsOffset - colourBytes >= maskRowBytes * static_cast<size_t>(height);
  if (!hasMask && bits != 32) InvalidIcon();

  // The colour image alone: the same header with the real height.
  std::vector<uint8_t> colour(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(bitsOffset + colourBytes));
  StoreLE32(colour.data() + dib::HeightOffset, static_cast<uint32_t>(height));
  StoreLE32(colour.data() + dib::SizeImageOffset, 0);
  TIconEntry entry;
  try {
    entry.Image = LoadDibBitmap(colour);
  } catch (const EInvalidGraphic&) {
    InvalidIcon();
  }
  entry.Image->SetPixelFormat(pf24bit);
  entry.Width = static_cast<int32_t>(width);
  entry.Height = static_cast<int32_t>(height);
  entry.BitCount = bits;
  entry.Alpha.assign(static_cast<size_t>(width * height), 255);
  bool ownAlpha = false;
  if (bits == 32 && compression == 0) {
    for (int64_t y = 0; y < height; ++y) {
      const uint8_t* row =
          data.data() + bitsOffset + static_cast<size_t>(BytesPerScanLineOf(width, 32) * (height - 1 - y));
      for (int64_t x = 0; x < width; ++x) {
        entry.Alpha[static_cast<size_t>(y * width + x)] = row[4 * x + 3];
        ownAlpha = ownAlpha || row[4 * x + 3] != 0;
      }
    }
  }
  if (!ownAlpha) {
    std::fill(entry.Alpha.begin(), entry.Alpha.end(), uint8_t{255});
    if (hasMask)
      for (int64_t y = 0; y < height; ++y) {
        const uint8_t* row =
            data.data() + bitsOffset + colourBytes + maskRowBytes * static_cast<size_t>(height - 1 - y);
        for (int64_t x = 0; x < width; ++x)
          if ((row[x >> 3] >> (7 - (x & 7))) & 1) entry.Alpha[static_cast<size_t>(y * width + x)] = 0;
      }
  }
  return entry;
}

// A PNG entry, through the registered PNG graphic class: drawn once on black and once
// on white, which gives each pixel's alpha (the difference) and colour.
TIconEntry DecodePngEntry(std::span<const uint8_t> data) {
  if (data.size() < 24) InvalidIcon();
  auto be32 = [&](size_t at) {
    return uint32_t{data[at]} << 24 | uint32_t{data[at + 1]} << 16 | uint32_t{data[at + 2]} << 8 | data[at + 3];
  };
  const int64_t width = be32(16), height = be32(20);
  if (!CheckedSide(width) || !CheckedSide(height)) InvalidIcon();
  TGraphicClass pngClass = FindGraphicClass("TPNGObject");
  if (!pngClass) InvalidIcon();
  std::unique_ptr<TGraphic> png = pngClass->Create();
  TMemoryStream stream;
  stream.WriteBuffer(data.data(), static_cast<int32_t>(data.size()));
  stream.SetPosition(0);
  try {
    png->LoadFromStream(stream);
  } catch (const Exception&) {
    InvalidIcon();
  }
  if (png->Width() != width || png->Height() != height) InvalidIcon();
  TBitmap onBlack, onWhite;
  for (TBitmap* b : {&onBlack, &onWhite}) {
    b->SetPixelFormat(pf24bit);
    b->SetSize(static_cast<int32_t>(width), static_cast<int32_t>(height));
    b->Canvas()->Brush().SetColor(b == &onBlack ? clBlack : clWhite);
    b->Canvas()->FillRect(Rect(0, 0, b->Width(), b->Height()));
    b->Canvas()->Draw(0, 0, png.get());
  }
  TIconEntry entry;
  entry.Width = static_cast<int32_t>(width);
  entry.Height = static_cast<int32_t>(height);
  entry.BitCount = 32;
  entry.Png = true;
  entry.Image = std::make_shared<TBitmap>();
  entry.Image->SetPixelFormat(pf24bit);
  entry.Image->SetSize(entry.Width, entry.Height);
  entry.Alpha.resize(static_cast<size_t>(width * height));
  for (int32_t y = 0; y < entry.Height; ++y)
    for (int32_t x = 0; x < entry.Width; ++x) {
      const uint32_t b = static_cast<uint32_t>(onBlack.PixelColor(x, y));
      const uint32_t w = static_cast<uint32_t>(onWhite.PixelColor(x, y));
      // alpha = 255 - (white - black), per channel; the green channel's is used.
      const int32_t alpha = 255 - (int32_t((w >> 8) & 0xFF) - int32_t((b >> 8) & 0xFF));
      const uint8_t a = static_cast<uint8_t>(std::clamp(alpha, 0, 255));
      entry.Alpha[static_cast<size_t>(y) * static_cast<size_t>(entry.Width) + static_cast<size_t>(x)] = a;
      auto un = [&](uint32_t c) {
        return a ? static_cast<uint8_t>(std::min<uint32_t>(255, (c * 255 + a / 2) / a)) : 0;
      };
      entry.Image->SetPixelColor(
          x, y, static_cast<TColor>(un(b & 0xFF) | un((b >> 8) & 0xFF) << 8 | un((b >> 16) & 0xFF) << 16));
    }
  return entry;
}

}  // namespace

const TGraphicClassInfo TIcon::ClassInfo{"TIcon", &CreateIcon, "ico"};

TIcon::TIcon() = default;
TIcon::~TIcon() = default;

int32_t TIcon::Width() const { return FCurrent < 0 ? 0 : FEntries[static_cast<size_t>(FCurrent)].Width; }
int32_t TIcon::Height() const { return FCurrent < 0 ? 0 : FEntries[static_cast<size_t>(FCurrent)].Height; }

void TIcon::SetSize(int32_t width, int32_t height) {
  FAskedWidth = width;
  FAskedHeight = height;
  Choose();
}

void TIcon::Choose() {
  FCurrent = -1;
  int32_t exact = -1, larger = -1, largest = -1;
  for (size_t i = 0; i < FEntries.size(); ++i) {
    const TIconEntry& e = FEntries[i];
    const int32_t index = static_cast<int32_t>(i);
    auto area = [&](int32_t k) { return int64_t{FEntries[size_t(k)].Width} * FEntries[size_t(k)].Height; };
    if (e.Width == FAskedWidth && e.Height == FAskedHeight) {
      if (exact < 0 || e.BitCount > FEntries[size_t(exact)].BitCount) exact = index;
    } else if (e.Width >= FAskedWidth && e.Height >= FAskedHeight) {
      if (larger < 0 || int64_t{e.Width} * e.Height < area(larger) ||
          (int64_t{e.Width} * e.Height == area(larger) && e.BitCount > FEntries[size_t(larger)].BitCount))
        larger = index;
    }
    if (largest < 0 || int64_t{e.Width} * e.Height > area(largest) ||
        (int64_t{e.Width} * e.Height == area(largest) && e.BitCount > FEntries[size_t(largest)].BitCount))
      largest = index;
  }
  FCurrent = exact >= 0 ? exact : larger >= 0 ? larger : largest;
}

void TIcon::Clear() {
  FData.clear();
  FEntries.clear();
  FCurrent = -1;
}

void TIcon::LoadFromBytes(std::span<const uint8_t> bytes) {
  if (bytes.size() < kDirBytes || LoadLE16(bytes.data()) != 0) InvalidIcon();
  const uint16_t type = LoadLE16(bytes.data() + 2);
  const size_t count = LoadLE16(bytes.data() + 4);
  if ((type != 1 && type != 2) || count == 0 || (bytes.size() - kDirBytes) / kDirEntryBytes < count) InvalidIcon();
  std::vector<TIconEntry> entries;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* dir = bytes.data() + kDirBytes + i * kDirEntryBytes;
    const uint64_t size = LoadLE32(dir + 8), offset = LoadLE32(dir + 12);
    if (offset > bytes.size() || size > bytes.size() - offset || size < 8) InvalidIcon();
    const auto data = bytes.subspan(static_cast<size_t>(offset), static_cast<size_t>(size));
    const bool png = std::equal(std::begin(kPngSignature), std::end(kPngSignature), data.begin());
    entries.push_back(png ? DecodePngEntry(data) : DecodeBitmapEntry(data));
  }
  FData.assign(bytes.begin(), bytes.end());
  FEntries = std::move(entries);
  Choose();
}

void TIcon::LoadFromStream(TStream& stream) {
  std::vector<uint8_t> bytes;
  constexpr int32_t kPieceBytes = 64 * 1024;
  // Far more than 256 entries of 1024 x 1024 pixels at 32 bits.
  constexpr size_t kMaxFileBytes = size_t{1} << 30;
  for (;;) {
    const size_t at = bytes.size();
    bytes.resize(at + kPieceBytes);
    const int32_t got = stream.Read(bytes.data() + at, kPieceBytes);
    bytes.resize(at + static_cast<size_t>(std::max(got, 0)));
    if (bytes.size() > kMaxFileBytes) InvalidIcon();
    if (got <= 0) break;
  }
  LoadFromBytes(bytes);
}

void TIcon::SaveToStream(TStream& stream) const {
  if (!FData.empty()) stream.WriteBuffer(FData.data(), static_cast<int32_t>(FData.size()));
}

void TIcon::Draw(TCanvas& canvas, const TRect& rect) const {
  if (FCurrent < 0 || IsRectEmpty(rect) || !canvas.Bitmap()) return;
  const TIconEntry& e = FEntries[static_cast<size_t>(FCurrent)];
  canvas.Changing();
  TDeviceContext& dc = *canvas.Handle();
  TRasterTarget target(dc);
  const TRect device = dc.ToDevice(rect);
  TRect visible;
  IntersectRect(&visible, device, target.Clip());
  const TBitmap& dest = *canvas.Bitmap();
  for (int32_t y = visible.Top; y < visible.Bottom; ++y) {
    const int32_t sy = static_cast<int32_t>(int64_t{y - device.Top} * e.Height / device.Height());
    for (int32_t x = visible.Left; x < visible.Right; ++x) {
      const int32_t sx = static_cast<int32_t>(int64_t{x - device.Left} * e.Width / device.Width());
      const uint32_t a = e.Alpha[static_cast<size_t>(sy) * static_cast<size_t>(e.Width) + static_cast<size_t>(sx)];
      if (a == 0) continue;
      const uint32_t s = static_cast<uint32_t>(e.Image->PixelColor(sx, sy));
      const uint32_t d = a == 255 ? 0 : static_cast<uint32_t>(dest.PixelColor(x, y));
      auto mix = [&](int shift) {
        return static_cast<uint8_t>((((s >> shift) & 0xFF) * a + ((d >> shift) & 0xFF) * (255 - a) + 127) / 255);
      };
      target.Put(x, y, TRgb{mix(0), mix(8), mix(16)});
    }
  }
  canvas.Changed();
}

void TIcon::Assign(const TPersistent& source) {
  if (const auto* other = dynamic_cast<const TIcon*>(&source)) {
    if (other == this) return;
    FData = other->FData;
    FEntries = other->FEntries;
    FAskedWidth = other->FAskedWidth;
    FAskedHeight = other->FAskedHeight;
    FCurrent = other->FCurrent;
    return;
  }
  TGraphic::Assign(source);
}

void TIcon::AssignTo(TPersistent& dest) const {
  if (auto* bitmap = dynamic_cast<TBitmap*>(&dest)) {
    DrawOnWhiteBitmap(*this, *bitmap);
    return;
  }
  TGraphic::AssignTo(dest);
}
