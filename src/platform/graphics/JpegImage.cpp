#include "platform/graphics/JpegImage.h"

namespace {

std::unique_ptr<TGraphic> CreateJpegImage() { return std::make_unique<TJPEGImage>(); }

// The stream from its position to its end, read in pieces (its size is not trusted).
std::vector<uint8_t> ReadRest(TStream& stream, int64_t maxBytes) {
  constexpr int32_t PieceBytes = 64 * 1024;
  std::vector<uint8_t> bytes;
  for (;;) {
    const size_t at = bytes.size();
    bytes.resize(at + PieceBytes);
    const int32_t got = stream.Read(bytes.data() + at, PieceBytes);
    bytes.resize(at + static_cast<size_t>(got > 0 ? got : 0));
    if (static_cast<int64_t>(bytes.size()) > maxBytes) throw EJPEG(SJPEGFileTooLarge);
    if (got <= 0) return bytes;
  }
}

}  // namespace

const TGraphicClassInfo TJPEGImage::ClassInfo{"TJPEGImage", &CreateJpegImage, "jpg"};

TJPEGImage::TJPEGImage() : FBitmap(std::make_unique<TBitmap>()) { FBitmap->SetPixelFormat(pf24bit); }

TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::SetWidth(int32_t) { throw EInvalidGraphicOperation(SChangeJPEGSize); }
void TJPEGImage::SetHeight(int32_t) { throw EInvalidGraphicOperation(SChangeJPEGSize); }

void TJPEGImage::Clear() {
  FData.clear();
  FBitmap = std::make_unique<TBitmap>();
  FBitmap->SetPixelFormat(pf24bit);
}

void TJPEGImage::LoadFromStream(TStream& stream) {
  std::vector<uint8_t> data = ReadRest(stream, Limits.MaxFileBytes);
  std::unique_ptr<TBitmap> bitmap = DecodeJpeg(data, Limits);
  FData = std::move(data);
  FBitmap = std::move(bitmap);
}

void TJPEGImage::Compress(const TBitmap& bitmap, int32_t quality) {
  std::vector<uint8_t> data = EncodeJpeg(bitmap, quality);
  FBitmap = DecodeJpeg(data, Limits);
  FData = std::move(data);
}

void TJPEGImage::SaveToStream(TStream& stream) const {
  if (!FData.empty()) stream.WriteBuffer(FData.data(), static_cast<int32_t>(FData.size()));
}

void TJPEGImage::Assign(const TPersistent& source) {
  const auto* jpeg = dynamic_cast<const TJPEGImage*>(&source);
  if (jpeg == nullptr) {
    TGraphic::Assign(source);
    return;
  }
  if (jpeg == this) return;
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->Assign(*jpeg->FBitmap);
  FData = jpeg->FData;
  FBitmap = std::move(bitmap);
}

void TJPEGImage::AssignTo(TPersistent& dest) const {
  if (auto* bitmap = dynamic_cast<TBitmap*>(&dest))
    bitmap->Assign(*FBitmap);
  else
    TGraphic::AssignTo(dest);
}
