// The Wolf writer's file structure: header, description, cover, book body and pages.
// The catalog section is written in cWolfWriterCatalog.cpp, the page table in
// cWolfWriterPageTable.cpp.
#include "wolf/cWolfWriter.h"

#include <algorithm>
#include <cassert>
#include <string>

#include "platform/base/Format.h"
#include "platform/base/Streams.h"
#include "platform/graphics/Bitmap.h"
#include "unicode/WideException.h"
#include "wolf/WolfResStrings.h"
#include "wolf/uLZSS32.h"
#include "wolf/uWolfImages.h"

TWolfWriter::TWolfWriter(TStream& stream)
    : FStream(stream),
      FDescription(std::make_unique<TWolfDescription>()),
      FTOC(std::make_unique<TWolfTOCList>()),
      FPageTable(std::make_unique<TWolfPageTable>(1)),
      FCompressor(std::make_unique<TLZSSCompressor>()) {
  std::copy(WolfSignature.begin(), WolfSignature.end(), FHeader.begin() + WolfHdrSignature);
  PutWolfU16(FHeader, WolfHdrMark, WolfHeaderMarkValue);
  PutWolfU16(FHeader, WolfHdrOne, 1);
  WriteHeader();
}

TWolfWriter::~TWolfWriter() = default;

void TWolfWriter::WriteText(AnsiStringView s) { WriteBytes(reinterpret_cast<const uint8_t*>(s.data()), s.size()); }

void TWolfWriter::WriteBytes(const uint8_t* bytes, size_t count) {
  FStream.WriteBuffer(bytes, static_cast<int32_t>(count));
}

void TWolfWriter::WriteU32(uint32_t value) {
  std::array<uint8_t, 4> bytes;
  PutWolfU32(bytes, 0, value);
  WriteBytes(bytes.data(), bytes.size());
}

uint32_t TWolfWriter::FilePosition() {
  const int64_t position = FStream.Position();
  if (position < 0 || position > int64_t{UINT32_MAX}) throw EWolfWriterError(SWolfFileTooLarge);
  return static_cast<uint32_t>(position);
}

void TWolfWriter::WriteHeader() {
  FStream.SetPosition(0);
  WriteBytes(FHeader.data(), FHeader.size());
}

void TWolfWriter::WriteDescription() {
  const AnsiString text = FDescription->DescriptionText();
  WriteText(text);
  PutWolfU16(FHeader, WolfHdrDescriptionBytes, static_cast<uint16_t>(text.size()));
}

void TWolfWriter::WriteCover(const TBitmap& bitmap, int32_t bitCount) {
  std::array<uint8_t, WolfCoverRecordBytes> record{};
  PutWolfU16(record, WolfCoverOne, 1);
  PutWolfU16(record, WolfCoverWidth, static_cast<uint16_t>(bitmap.Width()));
  PutWolfU16(record, WolfCoverBitCount, static_cast<uint16_t>(bitCount));
  // Rounded down, unlike the encoded rows: devices read the field so.
  PutWolfU16(record, WolfCoverRowBytes, static_cast<uint16_t>((bitCount * bitmap.Width()) >> 3));
  PutWolfU16(record, WolfCoverHeight, static_cast<uint16_t>(bitmap.Height()));
  WriteBytes(record.data(), record.size());
  const int32_t length = EncodeWolfImage(FStream, bitmap, bitCount, *FCompressor);
  if (length == 0) throw WideException(&SErrBadInputImage);
  PutWolfU32(FHeader, WolfHdrCoverBytes, static_cast<uint32_t>(WolfCoverRecordBytes) + static_cast<uint32_t>(length));
}

void TWolfWriter::BeginBook() {
  FBookStart = FilePosition();
  FBookEnded = false;
  WriteText(WolfBookOpen);
}

void TWolfWriter::BeginPage() {
  FPageTable->AddPosition(FilePosition());
  WriteText(WolfCatalogOpen);
  FPageState = psOpen;
}

void TWolfWriter::EndPage() {
  if (FPageState != psNone) WriteText(WolfCatalogClose);
  FPageState = psNone;
}

void TWolfWriter::NewPage() {
  if (FPageState != psOpen) EndPage();
  BeginPage();
}

void TWolfWriter::AddPageImage(const TBitmap& bitmap, int32_t bitCount) {
  // Encoded aside first: its length goes into the block's tag, and a bitmap the encoder
  // does not take must not leave an empty block behind.
  TMemoryStream image;
  const int32_t length = EncodeWolfImage(image, bitmap, bitCount, *FCompressor);
  AddEncodedPageImage(
      bitmap.Width(), bitmap.Height(), bitCount,
      std::span<const uint8_t>(static_cast<const uint8_t*>(image.Memory()), static_cast<size_t>(length)));
}

void TWolfWriter::AddEncodedPageImage(int32_t width, int32_t height, int32_t bitCount,
                                      std::span<const uint8_t> encoded) {
  if (encoded.empty()) throw WideException(&SErrBadInputImage);
  if (FPageState == psNone)
    BeginPage();
  else if (FPageState == psHasImage)
    FPageTable->AddPosition(FilePosition());
  FPageState = psHasImage;
  FHasPages = true;
  WriteText("<img bitcount=" + std::to_string(bitCount) + " compact=1 width=" + std::to_string(width) +
            " height=" + std::to_string(height) + " length=" + std::to_string(encoded.size()) + ">");
  WriteBytes(encoded.data(), encoded.size());
  WriteText(WolfImageClose);
}

void TWolfWriter::EndBook() {
  EndPage();
  WriteText(WolfBookClose);
  PutWolfU32(FHeader, WolfHdrBodyBytes, FilePosition() - FBookStart);
  FBookEnded = true;
}

void TWolfWriter::CheckComplete() const {
  if (!FBookEnded) throw EWolfWriterError(SWolfBookNotEnded);
  if (!FHasPages) throw EWolfWriterError(SWolfNoPages);
  const TWolfPageTableGroup& pages = FPageTable->GetGroup(0);
  for (int32_t i = 0; i < FTOC->Count(); ++i) {
    const TWolfTOCItem& item = FTOC->GetItem(i);
    if (!pages.HasPosition(item.Position())) throw EWolfWriterError(Format(SWolfUnboundTOCEntry, {item.Name()}));
  }
}

void TWolfWriter::Finish() {
  assert(!FFinished);
  CheckComplete();
  WriteCatalog();
  WritePageTable();
  WriteHeader();
  FFinished = true;
}
