// Graphics of RTF pictures by their kind, and of picture files by their signature.
//
// Every loader reads borrowed bytes, checks each size against the data before it
// allocates, and raises EInvalidGraphic for data that does not hold what its kind says.
// This platform draws no metafiles: a Windows metafile gives a graphic only when it just
// draws one bitmap (that bitmap), an enhanced metafile gives none.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/DibDecode.h"
#include "platform/graphics/Graphic.h"
#include "richtext/interchange/RPRTFProperties.h"

inline constexpr char SInvalidMetafile[] = "Invalid metafile";

// The graphic of a finished picture, or nullptr when its kind gives none (metafiles,
// Macintosh and OS/2 pictures, PNG data when no PNG graphic class is registered). For
// a device-independent bitmap, dibHeaderOffset is where the data reserved the 14-byte
// file header, which is filled here ("BM", the size, the offset of the bits).
std::unique_ptr<TGraphic> LoadRTFPictureGraphic(TRPRTFPicture& picture, int64_t dibHeaderOffset,
                                                bool extractMetafileBitmaps, int32_t pixelsPerInch);

// The one bitmap a Windows metafile draws, when its records are that drawing and only
// state records around it (header, window and viewport extents and origins, map mode,
// stretch mode, text and background colours, save and restore, object and palette
// selection, comments, clipping, end); nullptr otherwise. Data that is no metafile
// raises EInvalidGraphic "Invalid metafile".
std::unique_ptr<TBitmap> ExtractMetafileBitmap(std::span<const uint8_t> wmf);
// The data of a Windows metafile from its header on (past a placeable header); raises
// EInvalidGraphic "Invalid metafile" unless a metafile header starts it.
std::span<const uint8_t> WindowsMetafileRecords(std::span<const uint8_t> wmf);
// Raises EInvalidGraphic "Invalid metafile" unless the data starts with an enhanced
// metafile header.
void CheckEnhancedMetafile(std::span<const uint8_t> emf);

// A picture file by its first bytes: PNG (when its graphic class is registered), JPEG or
// a bitmap file; nullptr for anything else.
std::unique_ptr<TGraphic> LoadPictureFileGraphic(std::span<const uint8_t> bytes);
