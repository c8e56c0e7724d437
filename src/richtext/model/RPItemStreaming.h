// What the native-format (RPF) writer and reader offer to the items that write and read
// themselves, and the item header line every non-text item writes first.
//
// The document-level writer and reader, and the picture, tag and style-name helpers they
// use, stand outside these items; an item reaches them only through IRPFStreaming.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/base/Streams.h"
#include "platform/base/Types.h"
#include "platform/graphics/Graphic.h"
#include "platform/graphics/ImageList.h"
#include "richtext/model/RPItemInfo.h"
#include "richtext/model/RPTag.h"

// RPF options read by items.
inline constexpr uint32_t rpfoSavePicturesBody = 0x01;
inline constexpr uint32_t rpfoIgnoreUnknownPicFmt = 0x04;
inline constexpr uint32_t rpfoConvLargeImageIdxToZero = 0x20;
inline constexpr uint32_t rpfoSaveBinary = 0x40;
// RPF warnings set by items while reading.
inline constexpr uint32_t rpfwUnknownPicFmt = 0x01;
inline constexpr uint32_t rpfwBadImageIndex = 0x08;
inline constexpr uint32_t rpfwInvalidPicture = 0x40;

// Body modes of an item header: hexadecimal lines, no body, a binary block.
enum TRPFBodyMode : int32_t { rpfbmHex = 0, rpfbmNone = 1, rpfbmBinary = 2 };
// How the reader reads an item's next line; what an item answers after a line.
enum TRPFLineMode : int32_t { rpflmText, rpflmBinaryBlock };
enum TRPFReadState : int32_t { rpfrsReading = 0, rpfrsItemDone = 2 };

class IRPFStreaming {
public:
  virtual ~IRPFStreaming() = default;
  // The document's RPF options (rpfo...).
  virtual uint32_t Options() const = 0;
  // Or's a warning (rpfw...) into the reader's set.
  virtual void AddWarning(uint32_t warning) = 0;

  // Writing: the header's paragraph field (-1, or its style name, as the options say),
  // the tag as text, a picture as one hex text, a picture as a length-prefixed block.
  virtual AnsiString ParaNoText(int32_t paraNo, bool forceMinusOne) const = 0;
  virtual AnsiString TagText(const TRPTag& tag) const = 0;
  virtual AnsiString PictureToHex(const TGraphic& graphic) const = 0;
  virtual void SavePictureBinary(TStream& stream, const TGraphic& graphic) const = 0;

  // Reading: a picture from hex text (false for an odd length or a bad digit; raises
  // what the graphic raises) or from the bytes of a binary block; the document's
  // picture-needed and image-list requests; the style sheet's picture for invalid data.
  virtual bool LoadPictureFromHex(const AnsiString& hex, TGraphic& graphic) const = 0;
  virtual void LoadPictureFromBinary(const AnsiString& bytes, TGraphic& graphic) const = 0;
  virtual std::unique_ptr<TGraphic> RequestPicture(const AnsiString& name, const TRPTag& tag) = 0;
  virtual TCustomImageList* FindImageList(int32_t tag) = 0;
  virtual const TGraphic* InvalidPicture() const = 0;
};

// "StyleNo LineCount Para Options Mode Tag Extra" CR LF: the options' stored bits (as the
// continuation of a line when forceSameAsPrev, with paragraph -1), the header extra of
// the item.
void WriteRPFItemHeader(TStream& stream, const TCustomRPItemInfo& item, int32_t lineCount, int32_t paraNo,
                        bool forceSameAsPrev, TRPFBodyMode mode, const IRPFStreaming& streaming);
// The line followed by CR LF.
void WriteRPFLine(TStream& stream, const AnsiString& line);
