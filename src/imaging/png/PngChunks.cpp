#include "imaging/png/PngChunks.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "imaging/png/PngCodec.h"
#include "platform/base/FuzzChecksums.h"
#include "platform/base/Numbers.h"

// --- Common reading and writing -------------------------------------------------------------

void ReadPngBytes(TStream& stream, void* buffer, int64_t count) {
  auto* at = static_cast<uint8_t*>(buffer);
  while (count > 0) {
    const int32_t part = static_cast<int32_t>(std::min<int64_t>(count, 1 << 30));
    const int32_t got = stream.Read(at, part);
    if (got <= 0) throw EPngUnexpectedEnd();
    at += got;
    count -= got;
  }
}

void CheckChunkLength(TStream& stream, uint32_t length) {
  if (length > PngMaxChunkLength) throw EPngUnexpectedEnd();
  const int64_t size = stream.Size();
  // The data and its CRC must still be there.
  if (size >= 0 && int64_t{length} + int64_t{PngChunkCrcBytes} > size - stream.Position()) throw EPngUnexpectedEnd();
}

uint32_t ChunkCrc(const TChunkType& type, const uint8_t* data, size_t size) {
  uLong crc = crc32(0L, type.data(), static_cast<uInt>(type.size()));
  while (size > 0) {
    const uInt part = static_cast<uInt>(std::min<size_t>(size, 1u << 30));
    crc = crc32(crc, data, part);
    data += part;
    size -= part;
  }
  return static_cast<uint32_t>(crc);
}

TChunk::TChunk(TPNGObject& owner) : FOwner(&owner) {}
TChunk::~TChunk() = default;

bool TChunk::ReadChunk(TStream& stream, const TChunkType& type, uint32_t length) {
  ChunkType = type;
  Data.resize(length);
  ReadPngBytes(stream, Data.data(), length);
  uint8_t stored[PngChunkCrcBytes];
  ReadPngBytes(stream, stored, sizeof stored);
  if (LoadBE32(stored) != ChunkCrc(type, Data.data(), Data.size()) && !ChecksumsSkipped()) throw EPngInvalidCRC();
  return true;
}

void TChunk::WriteFraming(TStream& stream, const std::vector<uint8_t>& data) const {
  uint8_t head[PngChunkLengthBytes + PngChunkTypeBytes];
  StoreBE32(head, static_cast<uint32_t>(data.size()));
  std::memcpy(head + PngChunkLengthBytes, ChunkType.data(), PngChunkTypeBytes);
  stream.WriteBuffer(head, sizeof head);
  if (!data.empty()) stream.WriteBuffer(data.data(), static_cast<int32_t>(data.size()));
  uint8_t crc[PngChunkCrcBytes];
  StoreBE32(crc, ChunkCrc(ChunkType, data.data(), data.size()));
  stream.WriteBuffer(crc, sizeof crc);
}

bool TChunk::WriteChunk(TStream& stream) {
  WriteFraming(stream, Data);
  return true;
}

void TChunk::Assign(const TChunk& source) {
  ChunkType = source.ChunkType;
  Data = source.Data;
}

std::unique_ptr<TChunk> TChunk::NewLike(TPNGObject& owner) const { return std::make_unique<TChunk>(owner); }

TChunkIHDR& TChunk::GetHeader() const { return FOwner->HeaderChunk(); }

// Each class names its type and makes its own kind for copies.
#define QF_PNG_CHUNK_BASICS(Class, Base, Type)                                     \
  Class::Class(TPNGObject& owner) : Base(owner) { ChunkType = ChunkTypeOf(Type); } \
  std::unique_ptr<TChunk> Class::NewLike(TPNGObject& owner) const { return std::make_unique<Class>(owner); }
QF_PNG_CHUNK_BASICS(TChunkIEND, TChunk, "IEND")
QF_PNG_CHUNK_BASICS(TChunkIHDR, TChunk, "IHDR")
QF_PNG_CHUNK_BASICS(TChunkIDAT, TChunk, "IDAT")
QF_PNG_CHUNK_BASICS(TChunkPLTE, TChunk, "PLTE")
QF_PNG_CHUNK_BASICS(TChunktRNS, TChunk, "tRNS")
QF_PNG_CHUNK_BASICS(TChunkpHYs, TChunk, "pHYs")
QF_PNG_CHUNK_BASICS(TChunktIME, TChunk, "tIME")
QF_PNG_CHUNK_BASICS(TChunktEXt, TChunk, "tEXt")
#undef QF_PNG_CHUNK_BASICS

TChunkgAMA::TChunkgAMA(TPNGObject& owner) : TChunk(owner) {
  ChunkType = ChunkTypeOf("gAMA");
  Data.assign(GamaBytes, 0);
  SetGamma(1);
}
std::unique_ptr<TChunk> TChunkgAMA::NewLike(TPNGObject& owner) const { return std::make_unique<TChunkgAMA>(owner); }

TChunkzTXt::TChunkzTXt(TPNGObject& owner) : TChunktEXt(owner) { ChunkType = ChunkTypeOf("zTXt"); }
std::unique_ptr<TChunk> TChunkzTXt::NewLike(TPNGObject& owner) const { return std::make_unique<TChunkzTXt>(owner); }

TColor ColourOf(const TPaletteEntry& entry) {
  return static_cast<TColor>(RGB(entry.peRed, entry.peGreen, entry.peBlue));
}

// --- Registry ---------------------------------------------------------------------------------

namespace {

template <typename TClass>
std::unique_ptr<TChunk> MakeChunk(TPNGObject& owner) {
  return std::make_unique<TClass>(owner);
}

struct TChunkClassEntry {
  TChunkType Type;
  std::unique_ptr<TChunk> (*Create)(TPNGObject& owner);
};

// In the order the classes are looked up.
constexpr std::array<TChunkClassEntry, 10> ChunkClasses{{
    {ChunkTypeOf("IEND"), &MakeChunk<TChunkIEND>},
    {ChunkTypeOf("IHDR"), &MakeChunk<TChunkIHDR>},
    {ChunkTypeOf("IDAT"), &MakeChunk<TChunkIDAT>},
    {ChunkTypeOf("PLTE"), &MakeChunk<TChunkPLTE>},
    {ChunkTypeOf("gAMA"), &MakeChunk<TChunkgAMA>},
    {ChunkTypeOf("tRNS"), &MakeChunk<TChunktRNS>},
    {ChunkTypeOf("pHYs"), &MakeChunk<TChunkpHYs>},
    {ChunkTypeOf("tIME"), &MakeChunk<TChunktIME>},
    {ChunkTypeOf("tEXt"), &MakeChunk<TChunktEXt>},
    {ChunkTypeOf("zTXt"), &MakeChunk<TChunkzTXt>},
}};

}  // namespace

std::unique_ptr<TChunk> CreateChunkForType(TPNGObject& owner, const TChunkType& type, bool& known) {
  for (const TChunkClassEntry& entry : ChunkClasses)
    if (entry.Type == type) {
      known = true;
      return entry.Create(owner);
    }
  known = false;
  auto chunk = std::make_unique<TChunk>(owner);
  chunk->ChunkType = type;
  return chunk;
}

// --- PLTE -------------------------------------------------------------------------------------

bool TChunkPLTE::ReadChunk(TStream& stream, const TChunkType& type, uint32_t length) {
  TChunk::ReadChunk(stream, type, length);
  if (length % PaletteEntryBytes != 0 || length / PaletteEntryBytes > MaxPaletteEntries) throw EPNGInvalidPalette();
  EntryCount = static_cast<uint32_t>(length / PaletteEntryBytes);
  const auto& gamma = Owner().GammaCurve;
  TLogPalette palette;
  for (uint32_t i = 0; i < EntryCount; ++i) {
    const uint8_t* e = Data.data() + i * PaletteEntryBytes;
    palette.palPalEntry.push_back(TPaletteEntry{gamma[e[0]], gamma[e[1]], gamma[e[2]], 0});
  }
  Owner().SetPalette(CreatePalette(palette));
  return true;
}

bool TChunkPLTE::WriteChunk(TStream& stream) {
  const auto colors = GetHeader().Raster.ColorTable();
  const uint32_t count = EntryCount != 0 ? std::min<uint32_t>(EntryCount, static_cast<uint32_t>(colors.size()))
                                         : static_cast<uint32_t>(colors.size());
  const auto& inverse = Owner().InverseGammaCurve;
  Data.resize(count * PaletteEntryBytes);
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t* e = Data.data() + i * PaletteEntryBytes;
    e[0] = inverse[colors[i].peRed];
    e[1] = inverse[colors[i].peGreen];
    e[2] = inverse[colors[i].peBlue];
  }
  return TChunk::WriteChunk(stream);
}

void TChunkPLTE::Assign(const TChunk& source) { EntryCount = AssignSameClass<TChunkPLTE>(source).EntryCount; }

TPaletteEntry TChunkPLTE::GetPaletteEntry(uint32_t index) const {
  const auto colors = GetHeader().Raster.ColorTable();
  if (index >= EntryCount || index >= colors.size()) throw EPngError(&EPNGNotExistsText);
  return colors[index];
}

// --- gAMA -------------------------------------------------------------------------------------

bool TChunkgAMA::ReadChunk(TStream& stream, const TChunkType& type, uint32_t length) {
  TChunk::ReadChunk(stream, type, length);
  if (Data.size() != GamaBytes) {
    Data.assign(GamaBytes, 0);
    SetGamma(1);
  }
  // The value is gamma × 100000 and must be positive; others are ignored.
  const uint32_t value = Gamma();
  if (value == 0 || value > 0x7FFFFFFF) return true;
  auto& curve = Owner().GammaCurve;
  auto& inverse = Owner().InverseGammaCurve;
  const double exponent = 1.0 / (value / 100000.0 * 2.2);
  for (size_t i = 0; i < 256; ++i) {
    curve[i] = static_cast<uint8_t>(Round(255.0 * std::pow(static_cast<double>(i) / 255.0, exponent)));
    inverse[curve[i]] = static_cast<uint8_t>(i);
  }
  return true;
}

void TChunkgAMA::Assign(const TChunk& source) { AssignSameClass<TChunkgAMA>(source); }

// --- tRNS -------------------------------------------------------------------------------------

bool TChunktRNS::ReadChunk(TStream& stream, const TChunkType& type, uint32_t length) {
  TChunk::ReadChunk(stream, type, length);
  if (length > MaxTransparencyBytes) throw EPNGInvalidPalette();
  TakeSingleColour();
  return true;
}

void TChunktRNS::TakeSingleColour() {
  TransparencyTable.fill(255);
  std::copy(Data.begin(), Data.end(), TransparencyTable.begin());
  switch (GetHeader().ColorType) {
    // A key too short to hold its samples makes nothing transparent.
    case PngColorGray:
      SingleColour = Data.size() >= 2;
      break;
    case PngColorRGB:
      SingleColour = Data.size() >= 6;
      break;
    case PngColorPalette: {
      const auto below = std::count_if(Data.begin(), Data.end(), [](uint8_t v) { return v != 255; });
      const bool oneClear = std::find(Data.begin(), Data.end(), uint8_t{0}) != Data.end();
      SingleColour = below == 1 && oneClear;
      break;
    }
    default:
      SingleColour = false;
      break;
  }
}

TColor TChunktRNS::TransparentColour() const {
  const TChunkIHDR& header = GetHeader();
  const auto colors = header.Raster.ColorTable();
  auto entryColour = [&](uint32_t index) -> TColor { return index < colors.size() ? ColourOf(colors[index]) : 0; };
  switch (header.ColorType) {
    case PngColorGray: {
      if (!SingleColour) return 0;
      const uint16_t key = KeySample(0);
      if (header.BitDepth == 16) return entryColour(key >> 8);
      return entryColour(header.BitDepth == 2 ? key * 5u : key & 0xFFu);
    }
    case PngColorRGB: {
      if (!SingleColour) return 0;
      const auto& gamma = Owner().GammaCurve;
      auto sample = [&](int i) { return gamma[header.BitDepth == 16 ? KeySample(i) >> 8 : KeySample(i) & 0xFF]; };
      return static_cast<TColor>(RGB(sample(0), sample(1), sample(2)));
    }
    case PngColorPalette:
      for (uint32_t i = 0; i < Data.size(); ++i)
        if (TransparencyTable[i] == 0) return entryColour(i);
      return 0;
    default:
      return 0;
  }
}

void TChunktRNS::SetTransparentColour(TColor colour) {
  const TChunkIHDR& header = GetHeader();
  const auto value = static_cast<COLORREF>(colour);
  const uint8_t red = GetRValue(value), green = GetGValue(value), blue = GetBValue(value);
  switch (header.ColorType) {
    case PngColorGray:
      Data.assign(2, 0);
      StoreBE16(Data.data(), red);
      break;
    case PngColorRGB:
      Data.assign(6, 0);
      StoreBE16(Data.data(), red);
      StoreBE16(Data.data() + 2, green);
      StoreBE16(Data.data() + 4, blue);
      break;
    case PngColorPalette: {
      const auto colors = header.Raster.ColorTable();
      size_t found = 0;
      while (found < colors.size() && ColourOf(colors[found]) != (colour & 0xFFFFFF)) ++found;
      if (found == colors.size()) found = 0;  // not in the palette: the first entry stands for it
      Data.assign(found + 1, 255);
      Data[found] = 0;
      break;
    }
    default:
      Data.clear();
      break;
  }
  TakeSingleColour();
}

bool TChunktRNS::WriteChunk(TStream& stream) {
  if (Data.size() <= MaxTransparencyBytes) std::copy_n(TransparencyTable.begin(), Data.size(), Data.begin());
  const TChunkIHDR& header = GetHeader();
  if (header.ColorType != PngColorGray || header.BitDepth != 2 || Data.size() < 2) return TChunk::WriteChunk(stream);
  // 2-bit gray images are written at 4 bits: the key follows its samples (v becomes v × 5).
  std::vector<uint8_t> written = Data;
  StoreBE16(written.data(), static_cast<uint16_t>(KeySample(0) * 5));
  WriteFraming(stream, written);
  return true;
}

void TChunktRNS::Assign(const TChunk& source) {
  const auto& same = AssignSameClass<TChunktRNS>(source);
  TransparencyTable = same.TransparencyTable;
  SingleColour = same.SingleColour;
}

// --- pHYs and tIME ------------------------------------------------------------------------------

bool TChunkpHYs::ReadChunk(TStream& stream, const TChunkType& type, uint32_t length) {
  TChunk::ReadChunk(stream, type, length);
  if (length == PhysBytes) {
    PPUnitX = LoadBE32(Data.data() + PhysX);
    PPUnitY = LoadBE32(Data.data() + PhysY);
    UnitType = Data[PhysUnit];
  }
  return true;
}

bool TChunkpHYs::WriteChunk(TStream& stream) {
  Data.assign(PhysBytes, 0);
  StoreBE32(Data.data() + PhysX, PPUnitX);
  StoreBE32(Data.data() + PhysY, PPUnitY);
  Data[PhysUnit] = UnitType;
  return TChunk::WriteChunk(stream);
}

void TChunkpHYs::Assign(const TChunk& source) {
  const auto& same = AssignSameClass<TChunkpHYs>(source);
  PPUnitX = same.PPUnitX;
  PPUnitY = same.PPUnitY;
  UnitType = same.UnitType;
}

bool TChunktIME::ReadChunk(TStream& stream, const TChunkType& type, uint32_t length) {
  TChunk::ReadChunk(stream, type, length);
  if (length == TimeBytes) {
    Year = LoadBE16(Data.data() + TimeYear);
    Month = Data[TimeMonth];
    Day = Data[TimeMonth + 1];
    Hour = Data[TimeMonth + 2];
    Minute = Data[TimeMonth + 3];
    Second = Data[TimeMonth + 4];
  }
  return true;
}

bool TChunktIME::WriteChunk(TStream& stream) {
  Data.assign(TimeBytes, 0);
  StoreBE16(Data.data() + TimeYear, Year);
  const uint8_t rest[] = {Month, Day, Hour, Minute, Second};
  std::copy(std::begin(rest), std::end(rest), Data.begin() + TimeMonth);
  return TChunk::WriteChunk(stream);
}

void TChunktIME::Assign(const TChunk& source) {
  const auto& same = AssignSameClass<TChunktIME>(source);
  Year = same.Year;
  Month = same.Month;
  Day = same.Day;
  Hour = same.Hour;
  Minute = same.Minute;
  Second = same.Second;
}

// --- tEXt and zTXt ------------------------------------------------------------------------------

bool TChunktEXt::ReadChunk(TStream& stream, const TChunkType& type, uint32_t length) {
  TChunk::ReadChunk(stream, type, length);
  if (length > 2) {
    const auto zero = std::find(Data.begin(), Data.end(), uint8_t{0});
    Keyword.assign(Data.begin(), zero);
    Text.assign(zero == Data.end() ? zero : zero + 1, Data.end());
  }
  return true;
}

bool TChunktEXt::WriteChunk(TStream& stream) {
  Data.assign(Keyword.begin(), Keyword.end());
  Data.push_back(0);
  Data.insert(Data.end(), Text.begin(), Text.end());
  return TChunk::WriteChunk(stream);
}

void TChunktEXt::Assign(const TChunk& source) {
  const auto& same = AssignSameClass<TChunktEXt>(source);
  Keyword = same.Keyword;
  Text = same.Text;
}

namespace {

// The inflated bytes, or nothing when the data is not a whole zlib stream or inflates
// to more than limit bytes.
bool InflateText(const uint8_t* data, size_t size, uint32_t limit, AnsiString& text) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  z.next_in = const_cast<Bytef*>(data);
  z.avail_in = static_cast<uInt>(size);
  std::string out;
  char buffer[16384];
  int result = Z_OK;
  while (result == Z_OK) {
    z.next_out = reinterpret_cast<Bytef*>(buffer);
    z.avail_out = sizeof buffer;
    result = inflate(&z, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - z.avail_out);
    if (out.size() > limit) result = Z_MEM_ERROR;
  }
  inflateEnd(&z);
  if (result != Z_STREAM_END) return false;
  text = std::move(out);
  return true;
}

}  // namespace

bool TChunkzTXt::ReadChunk(TStream& stream, const TChunkType& type, uint32_t length) {
  TChunktEXt::ReadChunk(stream, type, length);
  if (length > 3) {
    // After the keyword: its 0 byte, the compression method (not examined), the text.
    const size_t start = std::min(Keyword.size() + 2, Data.size());
    AnsiString inflated;
    Text = InflateText(Data.data() + start, Data.size() - start, Owner().Limits.MaxTextBytes, inflated)
               ? std::move(inflated)
               : AnsiString();
  }
  return true;
}

bool TChunkzTXt::WriteChunk(TStream& stream) {
  if (Text.empty()) Text = " ";
  uLongf packedBytes = compressBound(static_cast<uLong>(Text.size()));
  std::vector<uint8_t> packed(packedBytes);
  if (compress2(packed.data(), &packedBytes, reinterpret_cast<const Bytef*>(Text.data()),
                static_cast<uLong>(Text.size()), Owner().DeflateLevel) != Z_OK)
    return false;
  Data.assign(Keyword.begin(), Keyword.end());
  Data.push_back(0);
  Data.push_back(0);  // compression method: deflate
  Data.insert(Data.end(), packed.begin(), packed.begin() + static_cast<ptrdiff_t>(packedBytes));
  return TChunk::WriteChunk(stream);
}
