#include "archive/ArGzTyp.h"

#include <algorithm>

#include "archive/ArDfDec.h"
#include "archive/ArDfEnc.h"
#include "archive/ArUtils.h"
#include "platform/base/LittleEndian.h"

using namespace ArGz;

namespace {

// Header bytes as they are read, for FHCRC.
class THeaderReader {
public:
  THeaderReader(TStream& stream, int32_t maxTextBytes) : FStream(stream), FMaxTextBytes(maxTextBytes) {}
  void Read(uint8_t* into, size_t count) {
    if (FStream.Read(into, static_cast<int32_t>(count)) != static_cast<int32_t>(count)) throw EArGzipInvalid();
    FCrc = UpdateCrc32(FCrc, std::span<const uint8_t>(into, count));
  }
  // A zero-terminated text, without its zero.
  AnsiString Text() {
    AnsiString text;
    for (uint8_t c;;) {
      Read(&c, 1);
      if (c == 0) return text;
      if (static_cast<int32_t>(text.size()) >= FMaxTextBytes) throw EArGzipInvalid();
      text.push_back(static_cast<char>(c));
    }
  }
  uint16_t Crc16() const { return static_cast<uint16_t>(~FCrc); }

private:
  TStream& FStream;
  int32_t FMaxTextBytes;
  uint32_t FCrc = 0xFFFFFFFF;
};

void WriteText(TStream& stream, const AnsiString& text, uint32_t& crc) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.c_str());
  stream.WriteBuffer(bytes, static_cast<int32_t>(text.size() + 1));
  crc = UpdateCrc32(crc, std::span<const uint8_t>(bytes, text.size() + 1));
}

}  // namespace

TArGzipItem::TArGzipItem() { Fixed = {Id1, Id2, MethodDeflate, 0, 0, 0, 0, 0, 2, 0}; }

uint32_t TArGzipItem::MTime() const { return LoadLE32(Fixed.data() + OffsetMTime); }

void TArGzipItem::SetMTime(uint32_t seconds) {
  for (uint32_t i = 0; i < 4; ++i) Fixed[OffsetMTime + i] = static_cast<uint8_t>(seconds >> (8 * i));
}

void TArGzipItem::SetFileName(const AnsiString& value) {
  TArArchiveItem::SetFileName(value);
  if (value.empty())
    Fixed[OffsetFlags] &= static_cast<uint8_t>(~FName);
  else
    Fixed[OffsetFlags] |= FName;
}

uint16_t TArGzipItem::LastModFileDate() const {
  return static_cast<uint16_t>(UnixTimeToLocalDosDateTime(MTime()) >> 16);
}

uint16_t TArGzipItem::LastModFileTime() const { return static_cast<uint16_t>(UnixTimeToLocalDosDateTime(MTime())); }

void ReadGzipHeader(TStream& stream, TArGzipItem& item, int32_t maxTextBytes) {
  THeaderReader reader(stream, maxTextBytes);
  TArGzipItem read;
  reader.Read(read.Fixed.data(), FixedBytes);
  if (read.Fixed[0] != Id1 || read.Fixed[1] != Id2 || read.Fixed[2] != MethodDeflate) throw EArGzipInvalid();
  uint8_t flags = read.Fixed[OffsetFlags];
  if (flags & FExtra) {
    uint8_t length[2];
    reader.Read(length, 2);
    uint32_t bytes = uint32_t{length[0]} | uint32_t{length[1]} << 8;
    if (stream.Size() - stream.Position() < bytes) throw EArGzipInvalid();
    read.ExtraField.resize(bytes);
    if (bytes > 0) reader.Read(read.ExtraField.data(), bytes);
  }
  read.TArArchiveItem::SetFileName((flags & FName) ? reader.Text() : AnsiString("unknown"));
  if (flags & FComment) read.Comment = reader.Text();
  read.IsText = (flags & FText) != 0;
  if (flags & FHCrc) {
    read.HeaderCrc = true;
    uint16_t expected = reader.Crc16();
    uint8_t stored[2];
    reader.Read(stored, 2);
    if ((uint32_t{stored[0]} | uint32_t{stored[1]} << 8) != expected) throw EArGzipInvalid();
  }
  read.DiskFileName = read.FileName();
  item = std::move(read);
}

void WriteGzipHeader(TStream& stream, const TArGzipItem& item) {
  std::array<uint8_t, FixedBytes> fixed = item.Fixed;
  fixed[0] = Id1;
  fixed[1] = Id2;
  fixed[2] = MethodDeflate;
  uint8_t flags = 0;
  if (item.HeaderCrc) flags |= FHCrc;
  if (item.IsText) flags |= FText;
  if (!item.ExtraField.empty()) flags |= FExtra;
  if (!item.FileName().empty()) flags |= FName;
  if (!item.Comment.empty()) flags |= FComment;
  fixed[OffsetFlags] = flags;
  uint32_t crc = UpdateCrc32(0xFFFFFFFF, fixed);
  stream.WriteBuffer(fixed.data(), FixedBytes);
  if (flags & FExtra) {
    // The field's length is 16 bits: a longer extra field is cut to fit.
    uint16_t bytes = static_cast<uint16_t>(std::min<size_t>(item.ExtraField.size(), 0xFFFF));
    uint8_t length[2] = {static_cast<uint8_t>(bytes), static_cast<uint8_t>(bytes >> 8)};
    stream.WriteBuffer(length, 2);
    stream.WriteBuffer(item.ExtraField.data(), bytes);
    crc = UpdateCrc32(crc, length);
    crc = UpdateCrc32(crc, std::span<const uint8_t>(item.ExtraField.data(), bytes));
  }
  if (flags & FName) WriteText(stream, item.FileName(), crc);
  if (flags & FComment) WriteText(stream, item.Comment, crc);
  if (flags & FHCrc) {
    uint8_t crc16[2] = {static_cast<uint8_t>(~crc), static_cast<uint8_t>(~crc >> 8)};
    stream.WriteBuffer(crc16, 2);
  }
}

void WriteGzipMember(TStream& source, TStream& destination, TArGzipItem& item) {
  WriteGzipHeader(destination, item);
  TArDeflateHelper helper;
  int64_t dataStart = destination.Position();
  uint32_t crc = DeflateStream(source, destination, &helper);
  item.SetCrc32(crc);
  item.SetUncompressedSize(helper.NormalSize);
  item.SetCompressedSize(destination.Position() - dataStart);
  uint8_t trailer[TrailerBytes];
  StoreLE32(trailer, crc);
  StoreLE32(trailer + 4, static_cast<uint32_t>(helper.NormalSize));
  destination.WriteBuffer(trailer, TrailerBytes);
}

TArArchiveType CheckGzipContent(TStream& stream) {
  int64_t position = stream.Position();
  TArArchiveType result = atUnknown;
  try {
    stream.SetPosition(0);
    TArGzipItem item;
    ReadGzipHeader(stream, item, 65535);
    result = atGzip;
    TArDeflateHelper helper;
    helper.PartSize = ArTar::BlockBytes;
    TMemoryStream start;
    start.SetCapacity(1024);
    InflateStream(stream, &start, &helper);
    start.SetPosition(0);
    if (CheckTarContent(start) == atTar) result = atGzippedTar;
  } catch (const std::exception&) {
    // Not gzip, or data that does not inflate far enough to hold a tar header.
  }
  stream.SetPosition(position);
  return result;
}

void TArGzipArchive::ReadArchive() {
  TStream& stream = Stream();
  if (stream.Size() == 0) return;
  if (TarView()) {
    FTarStream.SetSize(0);
    stream.SetPosition(0);
    TArGzipItem header;
    ReadGzipHeader(stream, header, Limits.MaxNameBytes);
    TArDeflateHelper helper;
    helper.MaxNormalSize = Limits.MaxExpandedBytes;
    InflateStream(stream, &FTarStream, &helper);
    ReadTarDirectory(FTarStream);
    return;
  }
  stream.SetPosition(0);
  uint8_t magic[3] = {};
  if (stream.Read(magic, 3) != 3 || magic[0] != Id1 || magic[1] != Id2 || magic[2] != MethodDeflate) return;
  stream.SetPosition(0);
  auto item = std::make_unique<TArGzipItem>();
  ReadGzipHeader(stream, *item, Limits.MaxNameBytes);
  int64_t dataStart = stream.Position();
  if (stream.Size() - dataStart < TrailerBytes) throw EArGzipInvalid();
  stream.SetPosition(stream.Size() - TrailerBytes);
  uint8_t trailer[TrailerBytes];
  stream.ReadBuffer(trailer, TrailerBytes);
  item->SetCrc32(LoadLE32(trailer));
  item->SetUncompressedSize(LoadLE32(trailer + 4));
  item->SetCompressedSize(stream.Size() - dataStart - TrailerBytes);
  FItemList.Add(std::move(item));
  bool abort = false;
  FireArchiveProgress(100, abort);
  if (abort) {
    SetStatus(asInvalid);
    throw EArUserAbort();
  }
}

void TArGzipArchive::InflateMember(TStream* target) {
  TStream& stream = Stream();
  stream.SetPosition(0);
  TArGzipItem header;
  ReadGzipHeader(stream, header, Limits.MaxNameBytes);
  TArDeflateHelper helper;
  helper.MaxNormalSize = Limits.MaxExpandedBytes;
  uint32_t crc = InflateStream(stream, target, &helper);
  uint8_t trailer[TrailerBytes];
  if (stream.Read(trailer, TrailerBytes) != static_cast<int32_t>(TrailerBytes)) throw EArGzipInvalid();
  if (crc != LoadLE32(trailer)) throw EArGzipBadCRC();
  // ISIZE is the size modulo 2^32.
  if (static_cast<uint32_t>(helper.NormalSize) != LoadLE32(trailer + 4)) throw EArGzipBadFileSize();
}

void TArGzipArchive::ExtractEntryToStream(int32_t index, TStream& stream) {
  if (TarView()) {
    CopyTarEntry(FTarStream, index, stream);
    return;
  }
  // The one item: any index means it.
  InflateMember(&stream);
}

void TArGzipArchive::TestEntry(int32_t index) {
  if (TarView()) {
    TestTarEntry(FTarStream, index);
    return;
  }
  int64_t position = Stream().Position();
  if (CheckGzipContent(Stream()) == atUnknown) throw EArGzipInvalid();
  InflateMember(nullptr);
  Stream().SetPosition(position);
}
