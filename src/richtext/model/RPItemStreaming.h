// What the native-format (RPF) writer and reader offer to the items that write and read
// themselves, and the item header line every non-text item writes first.
//
// An item reaches the document it is written from or read into only through
// IRPFStreaming: its options and warnings, the forms of its header fields, its pictures,
// and what the document's host supplies while reading (pictures and image lists named in
// the stream). TRPFStreaming (RPFStreaming.h) is the document's implementation.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/base/Streams.h"
#include "platform/base/Types.h"
#include "platform/graphics/Graphic.h"
#include "platform/graphics/ImageList.h"
#include "richtext/model/RPItemInfo.h"
#include "richtext/model/RPTag.h"

class IRPItemControl;
class IRPControlParent;

// RPF options (TRPFOptions); the items read the first ones, the document writer and reader
// the rest.
inline constexpr uint32_t rpfoSavePicturesBody = 0x0001;
inline constexpr uint32_t rpfoSaveControlsBody = 0x0002;
inline constexpr uint32_t rpfoIgnoreUnknownPicFmt = 0x0004;
inline constexpr uint32_t rpfoIgnoreUnknownCtrls = 0x0008;
inline constexpr uint32_t rpfoConvUnknownStylesToZero = 0x0010;
inline constexpr uint32_t rpfoConvLargeImageIdxToZero = 0x0020;
inline constexpr uint32_t rpfoSaveBinary = 0x0040;
inline constexpr uint32_t rpfoUseStyleNames = 0x0080;
inline constexpr uint32_t rpfoSaveBack = 0x0100;
inline constexpr uint32_t rpfoLoadBack = 0x0200;
inline constexpr uint32_t rpfoSaveTextStyles = 0x0400;
inline constexpr uint32_t rpfoSaveParaStyles = 0x0800;
inline constexpr uint32_t rpfoSaveLayout = 0x1000;
inline constexpr uint32_t rpfoLoadLayout = 0x2000;
inline constexpr uint32_t rpfoSaveDocProperties = 0x4000;
inline constexpr uint32_t rpfoLoadDocProperties = 0x8000;
// The set of the sixteen options, bit n the option of value 1 << n; a document keeps it
// in a wider integer, of which only these bits mean anything.
using TRPFOptions = uint16_t;
static_assert(rpfoLoadDocProperties == 1u << 15 && (rpfoLoadDocProperties << 1) - 1 == 0xFFFF,
              "the options fill a 16-bit set");
// RPF warnings set while reading (TRPFWarnings).
inline constexpr uint32_t rpfwUnknownPicFmt = 0x01;
inline constexpr uint32_t rpfwUnknownCtrls = 0x02;
inline constexpr uint32_t rpfwConvUnknownStyles = 0x04;
inline constexpr uint32_t rpfwBadImageIndex = 0x08;
inline constexpr uint32_t rpfwConvToUnicode = 0x10;
inline constexpr uint32_t rpfwConvFromUnicode = 0x20;
inline constexpr uint32_t rpfwInvalidPicture = 0x40;
inline constexpr uint32_t rpfwUnknownStyleProperties = 0x80;

// How a native-format read takes the style collections a stream carries: skipped (numbers
// taken as they stand), mapped to equal styles, or merged in.
enum TRPFReaderStyleMode : uint8_t { rpf_sIgnore, rpf_sInsertMap, rpf_sInsertMerge };

// The reading mode of a record header. Items with a body: hexadecimal lines, no body, a
// binary block. Text records: plain lines (0), Unicode lines of the binary form (2),
// hexadecimal lines of stored UTF-16 (3).
enum TRPFBodyMode : int32_t { rpfbmHex = 0, rpfbmNone = 1, rpfbmBinary = 2, rpfbmHexText = 3 };
// How the reader reads an item's next line; what an item answers after a line.
enum TRPFLineMode : int32_t { rpflmText, rpflmBinaryBlock };
enum TRPFReadState : int32_t { rpfrsReading = 0, rpfrsItemDone = 2 };

class IRPFStreaming {
public:
  virtual ~IRPFStreaming() = default;
  // The document's RPF options (rpfo...).
  virtual uint32_t Options() const = 0;
  // Or's a warning (rpfw...) into the document's set.
  virtual void AddWarning(uint32_t warning) = 0;

  // Writing: the header's paragraph field (-1, or its style name, as the options say),
  // its text style field, the tag as text, a picture as one hex text, a picture as a
  // length-prefixed block.
  virtual AnsiString ParaNoText(int32_t paraNo, bool forceMinusOne) const = 0;
  virtual AnsiString TextStyleNoText(int32_t styleNo) const = 0;
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

  // Controls of control items: the document written or read (its control actions and
  // host; none by default), the control the document's host supplies for an item written
  // without its body (none by default), and the window the controls read go into (none by
  // default).
  virtual TCustomRPData* Document() const { return nullptr; }
  virtual std::unique_ptr<IRPItemControl> RequestControl(const AnsiString& /*name*/, const TRPTag& /*tag*/);
  virtual IRPControlParent* ControlParent() const { return nullptr; }
};

// "StyleNo LineCount Para Options Mode Tag Extra" CR LF: the options' stored bits (as the
// continuation of a line when forceSameAsPrev, with paragraph -1), the header extra of
// the item.
void WriteRPFItemHeader(TStream& stream, const TCustomRPItemInfo& item, int32_t lineCount, int32_t paraNo,
                        bool forceSameAsPrev, TRPFBodyMode mode, const IRPFStreaming& streaming);
