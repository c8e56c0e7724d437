// TMetafile: loading, sizes, saving, drawing and copies.
#include "platform/graphics/Metafile.h"

#include <algorithm>
#include <cmath>

#include "platform/base/LittleEndian.h"
#include "platform/base/Numbers.h"
#include "platform/graphics/GraphicOnBitmap.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/MetafileFormat.h"
#include "platform/graphics/MetafilePlayer.h"
#include "platform/graphics/MetafileWrite.h"

namespace {

[[noreturn]] void InvalidMetafile() { throw EInvalidGraphic(SInvalidMetafile); }

std::unique_ptr<TGraphic> CreateMetafile() { return std::make_unique<TMetafile>(); }

// The class is known by name from start-up on, like the bitmap class.
const bool MetafileClassesRegistered = (RegisterMetafileGraphicClasses(), true);

constexpr int32_t kHundredthsMmPerInch = 2540;

int32_t PixelsOfMm(int32_t hundredthsMm) { return MulDiv(hundredthsMm, ScreenPixelsPerInch, kHundredthsMmPerInch); }
int32_t MmOfPixels(int32_t pixels) { return MulDiv(pixels, kHundredthsMmPerInch, ScreenPixelsPerInch); }

// The first window extent of a Windows metafile without a placeable header: its size
// in pixels.
TSize FirstWindowExtent(std::span<const uint8_t> records) {
  size_t at = wmf::HeaderBytes;
  while (records.size() - at >= wmf::RecordHeaderBytes) {
    const size_t bytes = static_cast<size_t>(LoadLE32(records.data() + at)) * 2;
    const uint16_t function = LoadLE16(records.data() + at + 4);
    if (function == wmf::EOF_ || bytes < wmf::RecordHeaderBytes || bytes > records.size() - at) break;
    if (function == wmf::SETWINDOWEXT && bytes >= 10)
      return TSize{std::abs(static_cast<int16_t>(LoadLE16(records.data() + at + 8))),
                   std::abs(static_cast<int16_t>(LoadLE16(records.data() + at + 6)))};
    at += bytes;
  }
  return TSize{};
}

struct TPlaceableBox {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  uint16_t Inch = 0;
};
TPlaceableBox ReadPlaceable(std::span<const uint8_t> placeable) {
  const uint8_t* p = placeable.data() + wmf::PlaceableBoxOffset;
  return TPlaceableBox{static_cast<int16_t>(LoadLE16(p)), static_cast<int16_t>(LoadLE16(p + 2)),
                       static_cast<int16_t>(LoadLE16(p + 4)), static_cast<int16_t>(LoadLE16(p + 6)),
                       LoadLE16(placeable.data() + wmf::PlaceableInchOffset)};
}

}  // namespace

const TGraphicClassInfo TMetafile::ClassInfo{"TMetafile", &CreateMetafile, "emf"};

TMetafile::TMetafile() = default;
TMetafile::~TMetafile() = default;

int32_t TMetafile::Width() const { return PixelsOfMm(FMMWidth); }
int32_t TMetafile::Height() const { return PixelsOfMm(FMMHeight); }
void TMetafile::SetWidth(int32_t value) { SetMMWidth(MmOfPixels(value)); }
void TMetafile::SetHeight(int32_t value) { SetMMHeight(MmOfPixels(value)); }

void TMetafile::SetMMWidth(int32_t value) {
  if (value == FMMWidth) return;
  FMMWidth = value;
  FPlaceable.clear();
}
void TMetafile::SetMMHeight(int32_t value) {
  if (value == FMMHeight) return;
  FMMHeight = value;
  FPlaceable.clear();
}
void TMetafile::SetInch(uint16_t value) {
  if (value == FInch) return;
  FInch = value;
  FPlaceable.clear();
}

void TMetafile::Clear() {
  FData.clear();
  FPlaceable.clear();
  FEnhanced = true;
  FMMWidth = FMMHeight = 0;
  FInch = 0;
}

void TMetafile::Adopt(std::vector<uint8_t> records, bool enhanced, std::vector<uint8_t> placeable, int32_t mmWidth,
                      int32_t mmHeight, uint16_t inch) {
  FData = std::move(records);
  FEnhanced = enhanced;
  FPlaceable = std::move(placeable);
  FMMWidth = mmWidth;
  FMMHeight = mmHeight;
  FInch = inch;
}

void TMetafile::LoadFromBytes(std::span<const uint8_t> bytes) {
  if (static_cast<int64_t>(bytes.size()) > Limits.MaxFileBytes || bytes.size() < 4) InvalidMetafile();
  if (LoadLE32(bytes.data()) == emf::HEADER) {
    CheckEnhancedMetafile(bytes, Limits);
    const uint8_t* frame = bytes.data() + emf::FrameOffset;
    const int64_t w = int64_t{static_cast<int32_t>(LoadLE32(frame + 8))} - static_cast<int32_t>(LoadLE32(frame));
    const int64_t h = int64_t{static_cast<int32_t>(LoadLE32(frame + 12))} - static_cast<int32_t>(LoadLE32(frame + 4));
    if (w < 0 || h < 0 || w > INT32_MAX || h > INT32_MAX) InvalidMetafile();
    Adopt({bytes.begin(), bytes.end()}, true, {}, static_cast<int32_t>(w), static_cast<int32_t>(h), 0);
    return;
  }
  std::vector<uint8_t> placeable;
  std::span<const uint8_t> records = bytes;
  if (LoadLE32(bytes.data()) == wmf::PlaceableKey) {
    if (bytes.size() < wmf::PlaceableBytes) InvalidMetafile();
    placeable.assign(bytes.begin(), bytes.begin() + wmf::PlaceableBytes);
    records = bytes.subspan(wmf::PlaceableBytes);
  }
  CheckWindowsMetafile(records, Limits);
  if (placeable.empty()) {
    const TSize extent = FirstWindowExtent(records);
    Adopt({records.begin(), records.end()}, false, {}, MmOfPixels(extent.cx), MmOfPixels(extent.cy), 0);
    return;
  }
  const TPlaceableBox box = ReadPlaceable(placeable);
  if (box.Inch == 0) InvalidMetafile();
  const int32_t mmWidth = MulDiv(std::abs(box.Right - box.Left), kHundredthsMmPerInch, box.Inch);
  const int32_t mmHeight = MulDiv(std::abs(box.Bottom - box.Top), kHundredthsMmPerInch, box.Inch);
  Adopt({records.begin(), records.end()}, false, std::move(placeable), mmWidth, mmHeight, box.Inch);
}

void TMetafile::LoadFromStream(TStream& stream) {
  std::vector<uint8_t> bytes;
  constexpr int32_t kPieceBytes = 64 * 1024;
  for (;;) {
    const size_t at = bytes.size();
    bytes.resize(at + kPieceBytes);
    const int32_t got = stream.Read(bytes.data() + at, kPieceBytes);
    bytes.resize(at + static_cast<size_t>(std::max(got, 0)));
    if (static_cast<int64_t>(bytes.size()) > Limits.MaxFileBytes) InvalidMetafile();
    if (got <= 0) break;
  }
  LoadFromBytes(bytes);
}

void TMetafile::LoadFromFile(const WideString& fileName) {
  const AnsiString bytes = LoadFileBytes(fileName);
  LoadFromBytes({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

std::vector<uint8_t> TMetafile::SavedBytes() const {
  if (FData.empty()) return {};
  if (FEnhanced) return FData;
  std::vector<uint8_t> bytes =
      FPlaceable.empty() ? PlaceableHeader(FMMWidth, FMMHeight, FInch ? FInch : 1440) : FPlaceable;
  bytes.insert(bytes.end(), FData.begin(), FData.end());
  return bytes;
}

void TMetafile::SaveToStream(TStream& stream) const {
  const std::vector<uint8_t> bytes = SavedBytes();
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
}

void TMetafile::SaveToFile(const WideString& fileName) const {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}

void TMetafile::Draw(TCanvas& canvas, const TRect& rect) const {
  FSkippedRecords = 0;
  if (FData.empty() || IsRectEmpty(rect)) return;
  canvas.Changing();
  HDC dc = canvas.Handle();
  const double destW = rect.Width(), destH = rect.Height();
  if (FEnhanced) {
    // The frame (0.01 mm) in reference-device units, put onto the rectangle.
    auto at = [&](uint32_t offset) { return static_cast<int32_t>(LoadLE32(FData.data() + offset)); };
    double pxPerMmX = 96 / 25.4, pxPerMmY = 96 / 25.4;
    if (at(emf::MillimetersOffset) > 0 && at(emf::DeviceOffset) > 0)
      pxPerMmX = double(at(emf::DeviceOffset)) / at(emf::MillimetersOffset);
    if (at(emf::MillimetersOffset + 4) > 0 && at(emf::DeviceOffset + 4) > 0)
      pxPerMmY = double(at(emf::DeviceOffset + 4)) / at(emf::MillimetersOffset + 4);
    double fx0 = at(emf::FrameOffset) * pxPerMmX / 100, fy0 = at(emf::FrameOffset + 4) * pxPerMmY / 100;
    double fw = FMMWidth * pxPerMmX / 100, fh = FMMHeight * pxPerMmY / 100;
    if (fw <= 0 || fh <= 0) {  // no frame: the bounds, in device units
      fx0 = at(emf::BoundsOffset), fy0 = at(emf::BoundsOffset + 4);
      fw = at(emf::BoundsOffset + 8) - fx0 + 1, fh = at(emf::BoundsOffset + 12) - fy0 + 1;
    }
    if (fw <= 0 || fh <= 0) return canvas.Changed();
    const double sx = destW / fw, sy = destH / fh;
    const TXForm output{sx, 0, 0, sy, rect.Left - fx0 * sx, rect.Top - fy0 * sy};
    TMetafilePlayer player(*dc, output, pxPerMmX, Limits);
    PlayEnhancedMetafile(player, FData);
    FSkippedRecords = player.Skipped;
  } else {
    // The caller's mapping: the picture's box as the window, the rectangle as the viewport.
    TMetafilePlayer player(*dc, TXForm{1, 0, 0, 1, double(rect.Left), double(rect.Top)},
                           FMMWidth > 0 ? destW * 100 / FMMWidth : 0, Limits);
    player.State.MapMode = MM_ANISOTROPIC;
    if (!FPlaceable.empty()) {
      const TPlaceableBox box = ReadPlaceable(FPlaceable);
      player.State.WindowOrg = TPointD{double(box.Left), double(box.Top)};
      player.State.WindowExt = TPointD{double(box.Right - box.Left), double(box.Bottom - box.Top)};
    } else {
      player.State.WindowExt = TPointD{double(std::max(1, Width())), double(std::max(1, Height()))};
    }
    player.State.ViewportExt = TPointD{destW, destH};
    PlayWindowsMetafile(player, FData);
    FSkippedRecords = player.Skipped;
  }
  canvas.Refresh();
  canvas.Changed();
}

void TMetafile::Assign(const TPersistent& source) {
  if (const auto* other = dynamic_cast<const TMetafile*>(&source)) {
    if (other == this) return;
    FData = other->FData;
    FPlaceable = other->FPlaceable;
    FEnhanced = other->FEnhanced;
    FMMWidth = other->FMMWidth;
    FMMHeight = other->FMMHeight;
    FInch = other->FInch;
    return;
  }
  TGraphic::Assign(source);
}

void TMetafile::AssignTo(TPersistent& dest) const {
  if (auto* bitmap = dynamic_cast<TBitmap*>(&dest)) {
    DrawOnWhiteBitmap(*this, *bitmap);
    return;
  }
  TGraphic::AssignTo(dest);
}

void TMetafile::SetEnhanced(bool value) {
  if (value == FEnhanced || FData.empty()) {
    FEnhanced = FData.empty() ? value : FEnhanced;
    return;
  }
  Assign(*ConvertedMetafile(*this));
}

std::unique_ptr<TMetafile> ConvertedMetafile(const TMetafile& source) {
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  source.AssignTo(picture);
  auto converted = std::make_unique<TMetafile>();
  if (source.Enhanced())
    converted->Adopt(WindowsBitmapMetafile(picture), false, {}, source.MMWidth(), source.MMHeight(),
                     source.Inch() ? source.Inch() : 1440);
  else
    converted->Adopt(EnhancedBitmapMetafile(picture, source.MMWidth(), source.MMHeight()), true, {}, source.MMWidth(),
                     source.MMHeight(), 0);
  return converted;
}

// ---- metafile canvas ----

TMetafileCanvas::TMetafileCanvas(TMetafile& metafile, int32_t widthPx, int32_t heightPx)
    : TMetafileSurface(widthPx, heightPx), TCanvas(FSurface.get()), FMetafile(metafile) {}

TMetafileCanvas::~TMetafileCanvas() = default;

void TMetafileCanvas::Close() {
  if (FClosed) return;
  FClosed = true;
  const int32_t mmWidth = MmOfPixels(FSurface->Width()), mmHeight = MmOfPixels(FSurface->Height());
  if (FMetafile.Enhanced() || FMetafile.Empty())
    FMetafile.Adopt(EnhancedBitmapMetafile(*FSurface, mmWidth, mmHeight), true, {}, mmWidth, mmHeight, 0);
  else
    FMetafile.Adopt(WindowsBitmapMetafile(*FSurface), false, {}, mmWidth, mmHeight,
                    FMetafile.Inch() ? FMetafile.Inch() : 1440);
}

TMetafileSurface::TMetafileSurface(int32_t widthPx, int32_t heightPx) : FSurface(std::make_unique<TBitmap>()) {
  FSurface->SetPixelFormat(pf24bit);
  FSurface->SetSize(widthPx, heightPx);
}

void RegisterMetafileGraphicClasses() {
  RegisterGraphicClass(&TMetafile::ClassInfo);
  RegisterIconGraphicClass();
}
