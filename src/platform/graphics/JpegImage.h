// `TJPEGImage`: a graphic class for JPEG images over libjpeg-turbo (registered under its
// class name).
//
// Loading reads the rest of the stream, keeps the compressed bytes and decodes them at
// once into a 24-bit bitmap (gray images too), so a damaged file fails while loading and
// never later. Saving writes the compressed bytes as they were read or compressed; the
// image cannot be resized, and is built from pixels only by compressing them.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/graphics/Bitmap.h"

// Data that libjpeg refuses, a file cut short, or an image beyond the limits. The
// message is libjpeg's own text ("Not a JPEG file: starts with 0x%02x 0x%02x", "Premature
// end of JPEG file", ...) or one of the limit messages below.
class EJPEG : public EInvalidGraphic {
public:
  using EInvalidGraphic::EInvalidGraphic;
};

inline constexpr char SJPEGImageTooLarge[] = "JPEG image is too large";
inline constexpr char SJPEGFileTooLarge[] = "JPEG file is too large";
inline constexpr char SJPEGTooManyScans[] = "JPEG image has too many scans";
inline constexpr char SChangeJPEGSize[] = "Cannot change the size of a JPEG image";

// The limits of the JPEG reader, a field of every image (`Limits`), so a test narrows one
// object alone. The defaults take any image a book may hold.
struct TJpegLimits {
  // The format allows 65535 pixels a side.
  int32_t MaxWidthPx = 65535;
  int32_t MaxHeightPx = 65535;
  // The decoded 24-bit raster; far above a full-page photo.
  int64_t MaxImageBytes = int64_t{512} << 20;
  // What libjpeg may allocate while decoding (a progressive image holds all its
  // coefficients, about twice the raster).
  int64_t MaxDecoderBytes = int64_t{1} << 30;
  // Compressed bytes read from the stream.
  int64_t MaxFileBytes = int64_t{256} << 20;
  // Scans of a progressive image: each one revisits the whole image, so a file of
  // endless tiny scans would take hours.
  int32_t MaxScans = 1000;
};

class TJPEGImage : public TGraphic {
public:
  static const TGraphicClassInfo ClassInfo;

  TJPEGImage();
  ~TJPEGImage() override;

  TGraphicClass ClassType() const override { return &ClassInfo; }

  bool Empty() const override { return FBitmap->Empty(); }
  int32_t Width() const override { return FBitmap->Width(); }
  int32_t Height() const override { return FBitmap->Height(); }
  // Raise EInvalidGraphicOperation "Cannot change the size of a JPEG image".
  void SetWidth(int32_t value) override;
  void SetHeight(int32_t value) override;
  void Clear() override;

  // Reads a JPEG file from the stream's position to its end and decodes it. Raises EJPEG
  // (or the stream's own exception); the image then stays as it was.
  void LoadFromStream(TStream& stream) override;
  // The compressed bytes as loaded or compressed; nothing for an empty image.
  void SaveToStream(TStream& stream) const override;
  // The image of the bitmap's pixels, compressed at the quality (EncodeJpeg) and decoded
  // again, so that the pixels are what the file holds.
  void Compress(const TBitmap& bitmap, int32_t quality);

  // A TJPEGImage is copied (bytes and pixels); anything else raises the assignment error.
  void Assign(const TPersistent& source) override;
  using TGraphic::Assign;

  // The decoded pixels: 24 bits per pixel, empty for an empty image.
  const TBitmap& Bitmap() const { return *FBitmap; }
  std::span<const uint8_t> Data() const { return FData; }

  TJpegLimits Limits;

protected:
  // A TBitmap receives a copy of the decoded pixels; anything else raises the
  // assignment error.
  void AssignTo(TPersistent& dest) const override;

private:
  std::vector<uint8_t> FData;
  std::unique_ptr<TBitmap> FBitmap;
};

// Decodes a whole JPEG file into a new 24-bit bitmap; raises EJPEG.
std::unique_ptr<TBitmap> DecodeJpeg(std::span<const uint8_t> data, const TJpegLimits& limits);
// Encodes the bitmap's pixels (any format, as 24 bits) as a baseline JPEG file of the
// quality (1 .. 100) without colour subsampling; raises EJPEG for an empty bitmap.
std::vector<uint8_t> EncodeJpeg(const TBitmap& bitmap, int32_t quality);
