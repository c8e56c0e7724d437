#include "imaging/uReduceColors.h"

#include <cstdlib>
#include <new>

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

// The size limit counts the headers and colour table of a bitmap file as well, as the
// writer's image always has.
constexpr int64_t kBitmapFileOverhead = 14 + 40 + 256 * 4;

}  // namespace

TDIBReader::TDIBReader(TBitmap& bitmap) : FBitmap(bitmap) { FBitmap.SetPixelFormat(pf24bit); }

TDIBWriter::TDIBWriter(int32_t width, int32_t height, const HPALETTE& palette) {
  if (width <= 0 || height <= 0) throw EReduceColorsError(SInvalidImageDimensions);
  if (kBitmapFileOverhead + BytesPerScanLineOf(width, 8) * height > MaxBitmapBytes)
    throw EOutOfMemory(SReductionDIBAllocation);
  std::vector<TPaletteEntry> table(kMaxPaletteColors, TPaletteEntry{0, 0, 0, 0});
  const std::vector<TPaletteEntry> entries = PaletteEntries(palette);
  for (size_t i = 0; i < entries.size(); ++i)
    table[i] = TPaletteEntry{entries[i].peRed, entries[i].peGreen, entries[i].peBlue, 0};
  FBitmap.SetPixelFormat(pf8bit);
  FBitmap.SetColorTable(table);
  try {
    FBitmap.SetSize(width, height);
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory(SReductionDIBAllocation);
  }
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
    case 0:
      return std::make_unique<TDitherEngine>(width, lookup);
    case 1:
      return std::make_unique<TFloydSteinbergDitherer>(width, lookup);
    case 2:
      return std::make_unique<TStuckiDitherer>(width, lookup);
    case 3:
      return std::make_unique<TSierraDitherer>(width, lookup);
    case 4:
      return std::make_unique<TJaJuNiDitherer>(width, lookup);
    case 5:
      return std::make_unique<TSteveArcheDitherer>(width, lookup);
    case 6:
      return std::make_unique<TBurkesDitherer>(width, lookup);
    default:
      return nullptr;
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
