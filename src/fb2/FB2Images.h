// The steps that turn a book's picture into a bitmap ready for an e-ink page: decoding
// by content type, fitting into a box with the aspect ratio kept, and reduction to the
// page's gray levels. `TFictionBook2::LoadBinaryImage` runs them in this order.
#pragma once

#include <cstdint>
#include <optional>

#include "fb2/FB2Limits.h"
#include "platform/base/Streams.h"
#include "platform/base/Types.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Geometry.h"

// The decoder for a picture: by the signature its bytes (from the stream's start) begin
// with, the PNG signature or a JPEG SOI marker, since books often declare the wrong one
// of the two types; only bytes without either signature go by the declared content type,
// compared ignoring case ("image/jpeg", "image/png"). None when neither tells.
enum class TBookImageKind : uint8_t { None, Jpeg, Png };
TBookImageKind BookImageKind(TStream& stream, WideStringView contentType);

// Decodes the stream (from its start) into bitmap with the decoder BookImageKind
// chooses: JPEG through the JPEG graphic class (a 24-bit bitmap), PNG through the PNG
// codec (the bitmap takes the PNG raster's own pixel format). False when it chooses none,
// with bitmap unchanged. Data that the decoder refuses raises its exception (EJPEG, the
// EPngError family); bitmap is then unchanged too.
bool DecodeBookImage(TStream& stream, WideStringView contentType, const TFB2Limits& limits, TBitmap& bitmap);

// The size an image of width x height takes in a box of maxWidth x maxHeight, or none
// when it keeps its size: fitting needs a box (both sides above 0), an image of more
// than one pixel each way, and an image larger than the box either way or `enlarge`.
// The side that meets the box takes the box's size and the other is scaled with MulDiv
// (halves away from zero), at least 1 pixel.
std::optional<TSize> FittedImageSize(int32_t width, int32_t height, int32_t maxWidth, int32_t maxHeight, bool enlarge);

// Resamples bitmap to FittedImageSize (Lanczos3, support 3.0, 24 bits per pixel); an
// image that keeps its size is not touched.
void FitImageToBox(TBitmap& bitmap, int32_t maxWidth, int32_t maxHeight, bool enlarge);

// Depth 1: black and white with Stucki error diffusion, 1 bit per pixel. Depth 2: the
// four gray levels with Stucki error diffusion, kept as 24-bit colours. Any other depth:
// no change.
void ReduceImageDepth(TBitmap& bitmap, int32_t depth);
