// TMetafile: loading, sizes, saving, drawing and copies.
#include "platform/graphics/Metafile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "platform/base/LittleEndian.h"
#include "platform/base/Numbers.h"
#include "platform/graphics/GraphicOnBitmap.h"
#include "platform/graphics/MetafileBudget.h"
#include "platform/graphics/MetafileFormat.h"
#include "platform/graphics/MetafilePlayer.h"
#include "platform/graphics/MetafileRecorder.h"
#include "platform/graphics/MetafileWrite.h"

namespace {

[[noreturn]] void InvalidMetafile() { throw EInvalidGraphic(SInvalidMetafile); }

std::unique_ptr<TGraphic> CreateMetafile() { return std::make_unique<TMetafile>(); }

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

std::unique_ptr<TMetafilePlayer> TMetafile::NewPlayer(TDeviceContext& dc, const TRect& rect) const {
  if (FData.empty() || IsRectEmpty(rect)) return nullptr;
  const double destW = rect.Width(), destH = rect.Height();
  std::unique_ptr<TMetafilePlayer> player;
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
    if (fw <= 0 || fh <= 0) return nullptr;
    const double sx = destW / fw, sy = destH / fh;
    const TXForm output{sx, 0, 0, sy, rect.Left - fx0 * sx, rect.Top - fy0 * sy};
    player = std::make_unique<TMetafilePlayer>(dc, output, pxPerMmX, Limits, static_cast<int64_t>(FData.size()));
    player->SetObjectTableSize(LoadLE16(FData.data() + emf::HandlesOffset));
    return player;
  }
  // The caller's mapping: the picture's box as the window, the rectangle as the viewport.
  player = std::make_unique<TMetafilePlayer>(dc, TXForm{1, 0, 0, 1, double(rect.Left), double(rect.Top)},
                                             FMMWidth > 0 ? destW * 100 / FMMWidth : 0, Limits,
                                             static_cast<int64_t>(FData.size()));
  player->State.MapMode = MM_ANISOTROPIC;
  if (!FPlaceable.empty()) {
    const TPlaceableBox box = ReadPlaceable(FPlaceable);
    player->State.WindowOrg = TPointD{double(box.Left), double(box.Top)};
    player->State.WindowExt = TPointD{double(box.Right - box.Left), double(box.Bottom - box.Top)};
  } else {
    player->State.WindowExt = TPointD{double(std::max(1, Width())), double(std::max(1, Height()))};
  }
  player->State.ViewportExt = TPointD{destW, destH};
  player->SetObjectTableSize(LoadLE16(FData.data() + wmf::HeaderObjectsOffset));
  return player;
}

void TMetafile::PlayRecord(TMetafilePlayer& player, std::span<const uint8_t> record, uint32_t type) const {
  if (player.OutOfWork()) {
    ++player.Skipped;  // past the budget every record is skipped
    return;
  }
  if (FEnhanced)
    PlayEnhancedRecord(player, record, type);
  else
    PlayWindowsRecord(player, record, static_cast<uint16_t>(type));
}

// The frame was checked on loading: every record's size lies within the data.
template <typename TVisit>
void TMetafile::VisitRecords(TVisit&& visit) const {
  const std::span<const uint8_t> data = FData;
  size_t at = FEnhanced ? 0 : wmf::HeaderBytes;
  const size_t headerBytes = FEnhanced ? emf::RecordHeaderBytes : wmf::RecordHeaderBytes;
  while (data.size() - at >= headerBytes) {
    const uint8_t* p = data.data() + at;
    const uint32_t type = FEnhanced ? LoadLE32(p) : LoadLE16(p + 4);
    const size_t bytes = FEnhanced ? size_t{LoadLE32(p + 4)} : size_t{LoadLE32(p)} * 2;
    if (type == (FEnhanced ? uint32_t{emf::EOF_} : uint32_t{wmf::EOF_})) return;
    if (!visit(data.subspan(at, bytes), type)) return;
    at += bytes;
  }
}

void TMetafile::EachRecordBitmap(const std::function<void(std::span<const uint8_t>, int64_t)>& visit) const {
  VisitRecords([&](std::span<const uint8_t> record, uint32_t type) {
    if (FEnhanced) {
      // Where each record keeps the offsets of its bitmaps' headers and rows (a masked
      // blit's mask is a bitmap too).
      std::array<size_t, 2> fields{};
      if (type == emf::BITBLT || type == emf::STRETCHBLT || type == emf::ALPHABLEND || type == emf::TRANSPARENTBLT)
        fields = {emf::BltBitmapOffset};
      else if (type == emf::MASKBLT)
        fields = {emf::BltBitmapOffset, emf::MaskBltMaskBitmapOffset};
      else if (type == emf::PLGBLT)
        fields = {emf::PlgBltBitmapOffset, emf::PlgBltMaskBitmapOffset};
      else if (type == emf::STRETCHDIBITS || type == emf::SETDIBITSTODEVICE)
        fields = {emf::DibBitmapOffset};
      else if (type == emf::CREATEDIBPATTERNBRUSHPT || type == emf::CREATEMONOBRUSH)
        fields = {emf::PatternBrushBitmapOffset};
      for (const size_t at : fields) {
        if (at == 0 || record.size() < at + 16) continue;
        const uint32_t offBmi = LoadLE32(record.data() + at), cbBmi = LoadLE32(record.data() + at + 4);
        const uint32_t offBits = LoadLE32(record.data() + at + 8);
        if (cbBmi == 0 || offBmi >= record.size()) continue;
        visit(record.subspan(offBmi), int64_t{offBits} - offBmi);
      }
      return true;
    }
    // A Windows metafile's bitmap fills the record from its fixed words on.
    const size_t at = wmf::DibOffset(static_cast<uint16_t>(type), static_cast<uint32_t>(record.size() / 2));
    if (at != 0 && at < record.size()) visit(record.subspan(at), 0);
    return true;
  });
}

void TMetafile::Draw(TCanvas& canvas, const TRect& rect) const {
  FSkippedRecords = 0;
  FPlayedWork = 0;
  if (FData.empty() || IsRectEmpty(rect)) return;
  canvas.Changing();
  TDeviceContext& dc = *canvas.Handle();
  if (const auto player = NewPlayer(dc, rect)) {
    bool refused = false;
    VisitRecords([&](std::span<const uint8_t> record, uint32_t type) {
      if (dc.Recorder) dc.Recorder->Refused = false;
      PlayRecord(*player, record, type);
      refused |= dc.Recorder && dc.Recorder->Refused;
      return true;
    });
    FSkippedRecords = player->Skipped;
    FPlayedWork = player->WorkDone();
    // Drawn into a recording context, what the recorder could not take is only in the
    // context's pixels: the picture's rectangle goes in as them, once, over its records.
    if (refused && dc.Bitmap()) {
      TRect part;
      IntersectRect(&part, dc.ToDevice(rect), dc.DeviceClip());
      dc.Recorder->Pixels(*dc.Bitmap(), part, part);
    }
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

TSize TMetafile::RasterSize() const {
  const int64_t width = std::max(Width(), 0), height = std::max(Height(), 0);
  const int64_t admitted = BudgetForBytes(Limits.RasterPixelAllowance, Limits.RasterPixelsPerByte,
                                          static_cast<int64_t>(FData.size()), Limits.MaxBitmapPixels);
  if (width * height <= admitted) return TSize{static_cast<int32_t>(width), static_cast<int32_t>(height)};
  if (admitted <= 0) return TSize{};
  // Both sides shrink by one factor; a side does not go below a pixel, and then the other
  // takes what the admitted pixels leave it.
  const double scale = std::sqrt(static_cast<double>(admitted) / static_cast<double>(width * height));
  const auto side = [scale](int64_t px) { return std::max<int64_t>(1, static_cast<int64_t>(double(px) * scale)); };
  int64_t shrunkWidth = side(width), shrunkHeight = side(height);
  if (shrunkWidth == 1) shrunkHeight = std::min(shrunkHeight, admitted);
  if (shrunkHeight == 1) shrunkWidth = std::min(shrunkWidth, admitted);
  return TSize{static_cast<int32_t>(shrunkWidth), static_cast<int32_t>(shrunkHeight)};
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

namespace {

// Units per inch of a converted metafile: twips, or for a Windows metafile as many as
// keep the picture within 16000 units (its coordinates are 16-bit), and 0.01 mm for an
// enhanced one.
uint16_t ConversionInch(bool enhanced, int32_t mmWidth, int32_t mmHeight) {
  if (enhanced) return kHundredthsMmPerInch;
  const int64_t largest = std::max({mmWidth, mmHeight, 1});
  return static_cast<uint16_t>(std::clamp<int64_t>(int64_t{16000} * kHundredthsMmPerInch / largest, 1, 1440));
}

// The picture as a conversion paints it for what the recorder refuses: at its size in
// pixels, within the pixels the conversion may write and no side longer than a metre's
// width at 96 per inch, so no stroke across it costs more than one across a page-sized
// play.
TSize PaintedSize(const TMetafile& source, int64_t pixelBudget) {
  constexpr double kLongestSide = 4096;
  const int32_t width = std::max(1, source.Width()), height = std::max(1, source.Height());
  const double scale = std::min(
      {1.0, std::sqrt(double(pixelBudget) / (double(width) * height)), kLongestSide / std::max(width, height)});
  return TSize{std::max(1, int32_t(width * scale)), std::max(1, int32_t(height * scale))};
}

}  // namespace

// The records of the source that the recorder refuses, played onto a bitmap of the
// picture that starts at the first refusal (brought up to it by the records before) and
// then follows every record. Each refused record's pixels go into the recorder as the
// box of the bitmap that record touched, while the boxes fit the conversion's pixels;
// past them, the boxes of the rest are united and go in as one bitmap at the end, over
// everything (the painted bitmap holds what every record drew there).
class TRefusedPixels {
public:
  TRefusedPixels(const TMetafile& source, TMetafileRecorder& recorder, TSize units)
      : FSource(source),
        FRecorder(recorder),
        FUnits(units),
        FPixelsLeft(BudgetForBytes(source.Limits.ConvertedPixelAllowance, source.Limits.ConvertedPixelsPerByte,
                                   static_cast<int64_t>(source.Records().size()), source.Limits.MaxBitmapPixels)) {}

  // After the recorder's player played the record of this index.
  template <typename TPlay>
  void Follow(int64_t index, std::span<const uint8_t> record, uint32_t type, TPlay&& play) {
    if (!FPainter && !FRecorder.Refused) return;
    if (!FPainter) Start(index, play);
    TRect touched{};
    FPaintedDc->Touched = FRecorder.Refused ? &touched : nullptr;
    play(*FPainter, record, type);
    FPaintedDc->Touched = nullptr;
    if (IsRectEmpty(touched)) return;
    const int64_t area = int64_t{touched.Width()} * touched.Height();
    if (IsRectEmpty(FOverflow) && area <= FPixelsLeft) {
      FPixelsLeft -= area;
      Record(touched);
    } else {
      UnionRect(&FOverflow, FOverflow, touched);
    }
  }
  // Writes the united boxes past the budget, once.
  void Finish() {
    if (!IsRectEmpty(FOverflow)) Record(FOverflow);
  }

private:
  template <typename TPlay>
  void Start(int64_t index, TPlay& play) {
    const TSize size = PaintedSize(FSource, FPixelsLeft);
    FPainted.SetPixelFormat(pf24bit);
    FPainted.SetSize(size.cx, size.cy);
    FPainted.Canvas()->Brush().SetColor(clWhite);
    FPainted.Canvas()->FillRect(TRect{0, 0, size.cx, size.cy});
    FPaintedDc = std::make_unique<TDeviceContext>(&FPainted);
    FPainter = FSource.NewPlayer(*FPaintedDc, TRect{0, 0, size.cx, size.cy});
    int64_t replayed = 0;
    FSource.VisitRecords([&](std::span<const uint8_t> record, uint32_t type) {
      if (replayed++ == index) return false;
      play(*FPainter, record, type);
      return true;
    });
  }
  void Record(const TRect& box) {
    const int32_t w = FPainted.Width(), h = FPainted.Height();
    FRecorder.Pixels(FPainted, box,
                     TRect{MulDiv(box.Left, FUnits.cx, w), MulDiv(box.Top, FUnits.cy, h),
                           MulDiv(box.Right, FUnits.cx, w), MulDiv(box.Bottom, FUnits.cy, h)});
  }

  const TMetafile& FSource;
  TMetafileRecorder& FRecorder;
  TSize FUnits;
  int64_t FPixelsLeft;
  TBitmap FPainted;
  std::unique_ptr<TDeviceContext> FPaintedDc;
  std::unique_ptr<TMetafilePlayer> FPainter;
  TRect FOverflow{};
};

std::unique_ptr<TMetafile> ConvertedMetafile(const TMetafile& source) {
  auto converted = std::make_unique<TMetafile>();
  converted->Limits = source.Limits;
  const bool enhanced = !source.Enhanced();
  const int32_t mmWidth = source.MMWidth(), mmHeight = source.MMHeight();
  const uint16_t inch = ConversionInch(enhanced, mmWidth, mmHeight);
  const TSize units{MulDiv(mmWidth, inch, kHundredthsMmPerInch), MulDiv(mmHeight, inch, kHundredthsMmPerInch)};
  TMetafileRecorder recorder(enhanced, units);
  {
    TDeviceContext tracker;
    tracker.Recorder = &recorder;
    const auto player = source.NewPlayer(tracker, TRect{0, 0, units.cx, units.cy});
    TRefusedPixels refused(source, recorder, units);
    auto play = [&](TMetafilePlayer& p, std::span<const uint8_t> record, uint32_t type) {
      source.PlayRecord(p, record, type);
    };
    int64_t index = 0;
    if (player)
      source.VisitRecords([&](std::span<const uint8_t> record, uint32_t type) {
        recorder.Refused = false;
        play(*player, record, type);
        refused.Follow(index++, record, type, play);
        return true;
      });
    refused.Finish();
  }
  if (enhanced)
    converted->Adopt(recorder.Finish(mmWidth, mmHeight), true, {}, mmWidth, mmHeight, 0);
  else
    converted->Adopt(recorder.Finish(mmWidth, mmHeight), false, PlaceableHeader(mmWidth, mmHeight, inch), mmWidth,
                     mmHeight, inch);
  return converted;
}

// ---- metafile canvas ----

TMetafileCanvas::TMetafileCanvas(TMetafile& metafile, int32_t widthPx, int32_t heightPx)
    : TMetafileSurface(metafile.Enhanced(), widthPx, heightPx), TCanvas(FSurface.get()), FMetafile(metafile) {
  Handle()->Recorder = FRecorder.get();
}

TMetafileCanvas::~TMetafileCanvas() { Handle()->Recorder = nullptr; }

void TMetafileCanvas::Close() {
  if (FClosed) return;
  FClosed = true;
  Handle()->Recorder = nullptr;
  const int32_t mmWidth = MmOfPixels(FSurface->Width()), mmHeight = MmOfPixels(FSurface->Height());
  std::vector<uint8_t> records = FRecorder->Finish(mmWidth, mmHeight);
  if (FRecorder->Enhanced())
    FMetafile.Adopt(std::move(records), true, {}, mmWidth, mmHeight, 0);
  else
    FMetafile.Adopt(std::move(records), false, PlaceableHeader(mmWidth, mmHeight, ScreenPixelsPerInch), mmWidth,
                    mmHeight, ScreenPixelsPerInch);
}

TMetafileSurface::TMetafileSurface(bool enhanced, int32_t widthPx, int32_t heightPx)
    : FSurface(std::make_unique<TBitmap>()),
      FRecorder(std::make_unique<TMetafileRecorder>(enhanced, TSize{widthPx, heightPx})) {
  FSurface->SetPixelFormat(pf24bit);
  FSurface->SetSize(widthPx, heightPx);
  FSurface->Canvas()->Brush().SetColor(clWhite);
  FSurface->Canvas()->FillRect(TRect{0, 0, widthPx, heightPx});
}

TMetafileSurface::~TMetafileSurface() = default;
