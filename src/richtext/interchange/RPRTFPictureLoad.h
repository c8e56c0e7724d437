// Graphics of RTF pictures by their kind, and of picture files by their signature.
//
// Every loader reads borrowed bytes, checks each size against the data before it
// allocates, and raises EInvalidGraphic for data that does not hold what its kind says.
// Metafiles become TMetafile graphics; a Windows metafile that just draws one bitmap can
// give that bitmap instead (ExtractMetafileBitmaps).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/DibDecode.h"
#include "platform/graphics/Graphic.h"
#include "platform/graphics/Metafile.h"
#include "richtext/interchange/RPRTFProperties.h"

// Called for each raster a loader is about to decode, before anything is allocated for
// it: the pixels its header declares and the most of them its data can code (a PNG's
// compressed data inflated at deflate's largest ratio, the runs of run-length data). It
// raises to refuse the raster. An empty function admits everything.
using TRPRTFRasterAdmit = std::function<void(int64_t declaredPx, int64_t fillablePx)>;

// The graphic of a finished picture, or nullptr when its kind gives none (Macintosh and
// OS/2 pictures, PNG data when no PNG graphic class is registered). For
// a device-independent bitmap, dibHeaderOffset is where the data reserved the 14-byte
// file header, which is filled here ("BM", the size, the offset of the bits).
// Every raster it decodes goes through admit first.
std::unique_ptr<TGraphic> LoadRTFPictureGraphic(TRPRTFPicture& picture, int64_t dibHeaderOffset,
                                                bool extractMetafileBitmaps, int32_t pixelsPerInch,
                                                const TRPRTFRasterAdmit& admit = {});

// The one bitmap a Windows metafile draws, when its records are that drawing and only
// state records around it (header, window and viewport extents and origins, map mode,
// stretch mode, text and background colours, save and restore, object and palette
// selection, comments, clipping, end); nullptr otherwise. Data that is no metafile
// raises EInvalidGraphic "Invalid metafile".
std::unique_ptr<TBitmap> ExtractMetafileBitmap(std::span<const uint8_t> wmf, const TRPRTFRasterAdmit& admit = {});
// The data of a Windows metafile from its header on (past a placeable header); raises
// EInvalidGraphic "Invalid metafile" unless a metafile header starts it.
std::span<const uint8_t> WindowsMetafileRecords(std::span<const uint8_t> wmf);
// A picture file by its first bytes: PNG (when its graphic class is registered), JPEG or
// a bitmap file; nullptr for anything else.
std::unique_ptr<TGraphic> LoadPictureFileGraphic(std::span<const uint8_t> bytes, const TRPRTFRasterAdmit& admit = {});
