// Graphics of RTF pictures by their kind, and of picture files by their signature.
//
// Every loader reads borrowed bytes, checks each size against the data before it
// allocates, and raises EInvalidGraphic for data that does not hold what its kind says.
// This platform draws no metafiles: a Windows metafile gives a graphic only when it just
// draws one bitmap (that bitmap), an enhanced metafile gives none.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Graphic.h"
#include "richtext/interchange/RPRTFProperties.h"

inline constexpr char SInvalidMetafile[] = "Invalid metafile";

// Called for each raster a loader is about to decode, before anything is allocated for
// it: the pixels its header declares and the most of them its data can code (a PNG's
// compressed data inflated at deflate's largest ratio, the runs of run-length data). It
// raises to refuse the raster. An empty function admits everything.
using TRPRTFRasterAdmit = std::function<void(int64_t declaredPx, int64_t fillablePx)>;

// The graphic of a finished picture, or nullptr when its kind gives none (metafiles,
// Macintosh and OS/2 pictures, PNG data when no PNG graphic class is registered). For
// a device-independent bitmap, dibHeaderOffset is where the data reserved the 14-byte
// file header, which is filled here ("BM", the size, the offset of the bits).
// Every raster it decodes goes through admit first.
std::unique_ptr<TGraphic> LoadRTFPictureGraphic(TRPRTFPicture& picture, int64_t dibHeaderOffset,
                                                bool extractMetafileBitmaps, int32_t pixelsPerInch,
                                                const TRPRTFRasterAdmit& admit = {});

// A device-independent bitmap (an information header of 12, 40, 52, 56, 64, 108 or 124
// bytes, bit-field masks, a colour table of biClrUsed entries, then the rows; 1, 4, 8,
// 16, 24 or 32 bits per pixel, uncompressed or run-length encoded) as a bitmap: palette
// formats keep their colour table, the others become 24 bits per pixel.
// bitsOffset (from the information header) places the rows further on when it is larger
// than what the header and colour table take.
// Run-length rows are walked once before the bitmap is allocated.
std::unique_ptr<TBitmap> LoadDibBitmap(std::span<const uint8_t> dib, int64_t bitsOffset = 0,
                                       const TRPRTFRasterAdmit& admit = {});
// The byte offset of the rows in a device-independent bitmap (header, masks and colour
// table), as a file header's pixel offset counts it without the file header.
uint32_t DibBitsOffset(std::span<const uint8_t> dib);

// Device-dependent bitmap bits: rows top-down, widthBytes each (0: word-aligned rows),
// one plane of 1, 4, 16, 24 or 32 bits per pixel.
std::unique_ptr<TBitmap> LoadDdbBitmap(std::span<const uint8_t> bits, int32_t width, int32_t height, int32_t widthBytes,
                                       int32_t planes, int32_t bitsPerPixel, const TRPRTFRasterAdmit& admit = {});

// The one bitmap a Windows metafile draws, when its records are that drawing and only
// state records around it (header, window and viewport extents and origins, map mode,
// stretch mode, text and background colours, save and restore, object and palette
// selection, comments, clipping, end); nullptr otherwise. Data that is no metafile
// raises EInvalidGraphic "Invalid metafile".
std::unique_ptr<TBitmap> ExtractMetafileBitmap(std::span<const uint8_t> wmf, const TRPRTFRasterAdmit& admit = {});
// The data of a Windows metafile from its header on (past a placeable header); raises
// EInvalidGraphic "Invalid metafile" unless a metafile header starts it.
std::span<const uint8_t> WindowsMetafileRecords(std::span<const uint8_t> wmf);
// Raises EInvalidGraphic "Invalid metafile" unless the data starts with an enhanced
// metafile header.
void CheckEnhancedMetafile(std::span<const uint8_t> emf);

// A picture file by its first bytes: PNG (when its graphic class is registered), JPEG or
// a bitmap file; nullptr for anything else.
std::unique_ptr<TGraphic> LoadPictureFileGraphic(std::span<const uint8_t> bytes, const TRPRTFRasterAdmit& admit = {});
