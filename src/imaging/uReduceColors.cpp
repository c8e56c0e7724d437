#include "imaging/uReduceColors.h"

#include <cstdlib>
#include <new>

#include "platform/base/Streams.h"

// ---- Colour lookups ------------------------------------------------------------------

namespace {

constexpr size_t kCacheSlots = 32768;
constexpr int32_t kMaxPaletteColors = 256;

std::vector<TPaletteEntry> PaletteEntries(const HPALETTE& palette) {
  std::vector<TPaletteEntry> entries(kMaxPaletteColors);
  entries.resize(GetPaletteEntries(palette, 0, kMaxPaletteColors, entries.data()));
  return entries;
}

}  // namespace

TFastColorLookup::TFastColorLookup(const HPALETTE& palette) : TFastColorLookup(PaletteEntries(palette)) {}

TFastColorLookup::TFastColorLookup(std::vector<TPaletteEntry> entries)
    : TColorLookup(static_cast<int32_t>(entries.size())), FEntries(std::move(entries)), FCache(kCacheSlots, -1) {
  // Each entry claims its own slot; the first entry wins a shared one.
  for (size_t i = 0; i < FEntries.size(); ++i) {
    int16_t& slot = FCache[CacheSlot(FEntries[i].peRed, FEntries[i].peGreen, FEntries[i].peBlue)];
    if (slot == -1) slot = static_cast<int16_t>(i);
  }
}

uint8_t TFastColorLookup::Lookup(uint8_t red, uint8_t green, uint8_t blue, TRgb& chosen) {
  int16_t& slot = FCache[CacheSlot(red, green, blue)];
  if (slot == -1) {
    int32_t best = 0x30000;
    for (size_t i = 0; i < FEntries.size(); ++i) {
      const int32_t distance = std::abs(FEntries[i].peRed - red) + std::abs(FEntries[i].peGreen - green) +
                               std::abs(FEntries[i].peBlue - blue);
      if (distance < best) {
        best = distance;
        slot = static_cast<int16_t>(i);
      }
    }
  }
  const TPaletteEntry& e = FEntries[static_cast<size_t>(slot)];
  chosen = TRgb{e.peRed, e.peGreen, e.peBlue};
  return static_cast<uint8_t>(slot);
}

uint8_t TMonochromeLookup::Lookup(uint8_t red, uint8_t green, uint8_t blue, TRgb& chosen) {
  if (red * 77 + green * 150 + blue * 29 <= 32512) {
    chosen = TRgb{0, 0, 0};
    return 0;
  }
  chosen = TRgb{255, 255, 255};
  return 1;
}

// ---- Device-independent bitmaps ------------------------------------------------------

namespace {

constexpr int32_t kFileHeaderBytes = 14;
constexpr int32_t kInfoHeaderBytes = 40;
constexpr int32_t kColorTableBytes = 256 * 4;
constexpr int32_t kRowsOffset = kFileHeaderBytes + kInfoHeaderBytes + kColorTableBytes;

void Put16(uint8_t* at, uint32_t v) {
  at[0] = static_cast<uint8_t>(v);
  at[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* at, uint32_t v) {
  Put16(at, v & 0xFFFF);
  Put16(at + 2, v >> 16);
}

}  // namespace

TDIBReader::TDIBReader(TBitmap& bitmap) : FBitmap(bitmap) { FBitmap.SetPixelFormat(pf24bit); }

TDIBWriter::TDIBWriter(int32_t width, int32_t height, const HPALETTE& palette)
    : FHeight(height), FStride(static_cast<int32_t>(BytesPerScanLineOf(width, 8))) {
  if (width <= 0 || height <= 0) throw EReduceColorsError(SInvalidImageDimensions);
  const int64_t imageBytes = int64_t{kRowsOffset} + int64_t{FStride} * height;
  if (imageBytes > MaxBitmapBytes) throw EOutOfMemory(SReductionDIBAllocation);
  try {
    FImage.assign(static_cast<size_t>(imageBytes), 0);
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory(SReductionDIBAllocation);
  }
  const std::vector<TPaletteEntry> entries = PaletteEntries(palette);
  uint8_t* file = FImage.data();
  Put16(file, 0x4D42);                                   // "BM"
  Put32(file + 2, static_cast<uint32_t>(imageBytes));    // total size
  Put32(file + 10, kRowsOffset);                         // offset of the rows
  uint8_t* info = file + kFileHeaderBytes;
  Put32(info, kInfoHeaderBytes);                         // header size
  Put32(info + 4, static_cast<uint32_t>(width));
  Put32(info + 8, static_cast<uint32_t>(height));        // positive: bottom row first
  Put16(info + 12, 1);                                   // planes
  Put16(info + 14, 8);                                   // bits per pixel
  Put32(info + 16, 0);                                   // no compression
  Put32(info + 32, 256);                                 // colours used
  Put32(info + 36, static_cast<uint32_t>(entries.size()));  // important colours
  uint8_t* table = info + kInfoHeaderBytes;
  for (size_t i = 0; i < entries.size(); ++i) {
    table[4 * i] = entries[i].peBlue;
    table[4 * i + 1] = entries[i].peGreen;
    table[4 * i + 2] = entries[i].peRed;
  }
}

uint8_t* TDIBWriter::GetScanline(int32_t row) {
  if (row < 0 || row >= FHeight) throw EInvalidGraphicOperation(SScanLine);
  return FImage.data() + kRowsOffset + static_cast<size_t>(FHeight - 1 - row) * FStride;
}

void TDIBWriter::LoadInto(TBitmap& bitmap) {
  TMemoryStream stream;
  stream.WriteBuffer(FImage.data(), static_cast<int32_t>(FImage.size()));
  stream.SetPosition(0);
  bitmap.LoadFromStream(stream);
}

// ---- The reduction -------------------------------------------------------------------

namespace {

HPALETTE GrayPalette(std::initializer_list<uint8_t> levels, uint8_t flags) {
  TLogPalette log;
  for (uint8_t level : levels) log.palPalEntry.push_back(TPaletteEntry{level, level, level, flags});
  return CreatePalette(log);
}

std::unique_ptr<TDitherEngine> CreateEngine(int32_t ditherMode, int32_t width, TColorLookup& lookup) {
  switch (ditherMode) {
    case 0: return std::make_unique<TDitherEngine>(width, lookup);
    case 1: return std::make_unique<TFloydSteinbergDitherer>(width, lookup);
    case 2: return std::make_unique<TStuckiDitherer>(width, lookup);
    case 3: return std::make_unique<TSierraDitherer>(width, lookup);
    case 4: return std::make_unique<TJaJuNiDitherer>(width, lookup);
    case 5: return std::make_unique<TSteveArcheDitherer>(width, lookup);
    case 6: return std::make_unique<TBurkesDitherer>(width, lookup);
    default: return nullptr;
  }
}

}  // namespace

std::unique_ptr<TBitmap> ReduceColors(TBitmap& bitmap, int32_t reduction, int32_t ditherMode) {
  auto result = std::make_unique<TBitmap>();
  if (reduction == 0) {
    result->Assign(bitmap);
    result->SetPixelFormat(pf24bit);
    return result;
  }
  if (reduction < 1 || reduction > 3) return result;

  TDIBReader reader(bitmap);
  HPALETTE palette;
  std::unique_ptr<TColorLookup> lookup;
  switch (reduction) {
    case 1:
      palette = DefaultPalette();
      lookup = std::make_unique<TFastColorLookup>(palette);
      break;
    case 2:
      palette = GrayPalette({0x00, 0x80, 0xC0, 0xFF}, PC_NOCOLLAPSE);
      lookup = std::make_unique<TFastColorLookup>(palette);
      break;
    default:
      palette = GrayPalette({0x00, 0xFF}, 0);
      lookup = std::make_unique<TMonochromeLookup>();
      break;
  }
  if (lookup->Colors() == 0) return result;
  const int32_t width = bitmap.Width();
  const std::unique_ptr<TDitherEngine> engine = CreateEngine(ditherMode, width, *lookup);
  if (!engine) return result;

  TDIBWriter writer(width, bitmap.Height(), palette);
  TRgb chosen;
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* source = reader.GetScanline(y);
    uint8_t* target = writer.GetScanline(y);
    for (int32_t x = engine->Column(); x >= 0 && x < width; x = engine->Column())
      target[x] = engine->Dither(source[3 * x + 2], source[3 * x + 1], source[3 * x], chosen);
    engine->NextLine();
  }
  writer.LoadInto(*result);
  return result;
}
