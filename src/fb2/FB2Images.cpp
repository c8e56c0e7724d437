#include "fb2/FB2Images.h"

#include <algorithm>
#include <array>
#include <memory>

#include "fb2/FB2TagNames.h"
#include "imaging/png/PngCodec.h"
#include "imaging/png/PngDefs.h"
#include "imaging/uReduceColors.h"
#include "imaging/uResample.h"
#include "platform/base/CompareString.h"
#include "platform/base/Numbers.h"
#include "platform/graphics/JpegImage.h"

namespace {

// ReduceColors' reductions and its Stucki engine.
constexpr int32_t ReductionFourGrays = 2;
constexpr int32_t ReductionBlackAndWhite = 3;
constexpr int32_t DitherStucki = 2;

// A JPEG stream starts with its SOI marker.
constexpr std::array<uint8_t, 2> JpegStartOfImage{0xFF, 0xD8};

}  // namespace

TBookImageKind BookImageKind(TStream& stream, WideStringView contentType) {
  std::array<uint8_t, PngSignature.size()> head{};
  stream.SetPosition(0);
  const int32_t read = stream.Read(head.data(), static_cast<int32_t>(head.size()));
  if (read == static_cast<int32_t>(head.size()) && head == PngSignature) return TBookImageKind::Png;
  if (read >= 2 && head[0] == JpegStartOfImage[0] && head[1] == JpegStartOfImage[1]) return TBookImageKind::Jpeg;
  if (CompareWideStrings(contentType, ContentTypeJpeg, true) == 0) return TBookImageKind::Jpeg;
  if (CompareWideStrings(contentType, ContentTypePng, true) == 0) return TBookImageKind::Png;
  return TBookImageKind::None;
}

bool DecodeBookImage(TStream& stream, WideStringView contentType, const TFB2Limits& limits, TBitmap& bitmap) {
  std::unique_ptr<TGraphic> image;
  switch (BookImageKind(stream, contentType)) {
    case TBookImageKind::Jpeg: {
      auto jpeg = std::make_unique<TJPEGImage>();
      jpeg->Limits = limits.Jpeg;
      image = std::move(jpeg);
      break;
    }
    case TBookImageKind::Png: {
      auto png = std::make_unique<TPNGObject>();
      png->Limits = limits.Png;
      image = std::move(png);
      break;
    }
    case TBookImageKind::None:
      return false;
  }
  stream.SetPosition(0);
  image->LoadFromStream(stream);
  bitmap.Assign(*image);
  return true;
}

std::optional<TSize> FittedImageSize(int32_t width, int32_t height, int32_t maxWidth, int32_t maxHeight, bool enlarge) {
  if (maxWidth <= 0 || maxHeight <= 0 || width <= 1 || height <= 1) return std::nullopt;
  if (!(maxWidth < width || height > maxHeight || enlarge)) return std::nullopt;
  TSize size;
  if (double(maxWidth) / double(maxHeight) >= double(width) / double(height)) {
    size.cy = maxHeight;
    size.cx = MulDiv(width, maxHeight, height);
  } else {
    size.cx = maxWidth;
    size.cy = MulDiv(height, maxWidth, width);
  }
  // A very long image rounds its short side to nothing; it keeps one pixel.
  size.cx = std::max(size.cx, 1);
  size.cy = std::max(size.cy, 1);
  return size;
}

void FitImageToBox(TBitmap& bitmap, int32_t maxWidth, int32_t maxHeight, bool enlarge) {
  const std::optional<TSize> size = FittedImageSize(bitmap.Width(), bitmap.Height(), maxWidth, maxHeight, enlarge);
  if (!size) return;
  TBitmap fitted;
  fitted.SetPixelFormat(pf24bit);
  fitted.SetSize(size->cx, size->cy);
  ResampleBitmap(bitmap, fitted, Lanczos3Filter, 3.0f);
  bitmap.Assign(fitted);
}

void ReduceImageDepth(TBitmap& bitmap, int32_t depth) {
  if (depth != 1 && depth != 2) return;
  std::unique_ptr<TBitmap> reduced =
      ReduceColors(bitmap, depth == 1 ? ReductionBlackAndWhite : ReductionFourGrays, DitherStucki);
  reduced->SetPixelFormat(depth == 1 ? pf1bit : pf24bit);
  bitmap.Assign(*reduced);
}
