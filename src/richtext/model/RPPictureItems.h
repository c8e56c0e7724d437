// Inline pictures of a document: the picture item, which owns a graphic of any graphic
// class (bitmap, JPEG, PNG), and the hot picture, a picture that is also a hyperlink.
// Their sizes, screen drawing, printing through a bitmap (a tall picture may print in
// parts over pages, RPImagePrintParts.h), palette copies and item properties.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Graphic.h"
#include "platform/graphics/Palette.h"
#include "richtext/model/RPExportContexts.h"
#include "richtext/model/RPItemInfo.h"
#include "richtext/model/RPItemStreaming.h"
#include "richtext/model/RPPaletteAction.h"
#include "richtext/model/RPScaling.h"
#include "richtext/model/RPTextItems.h"

class TRPGraphicItemInfo;
class IRPHtmlImageContext;

// Draw states of pictures and bullets beside rpidsSelected and rpidsFocused: the item is
// the editor's current item; the mouse is over it.
inline constexpr uint32_t rpidsCurrent = 0x02;
inline constexpr uint32_t rpidsHover = 0x04;

// The frames of an item's draw states around a box of width x height at (x, y) with
// spacing around it: the current item's in CurrentItemColor, one pixel outside, and the
// selection's in SelColor (focused) or InactiveSelColor (none drawn for clNone).
void DrawItemStateFrames(TCanvas& canvas, int32_t x, int32_t y, int32_t width, int32_t height, int32_t spacing,
                         uint32_t drawState, const TRPStyle& rpStyle);

// What a picture asks of the animation that plays its frames (the image animation of the
// control). The picture owns its animator.
class IRPPictureAnimator {
public:
  virtual ~IRPPictureAnimator() = default;
  // Draws the current frame with its top-left at (x, y).
  virtual void Draw(TCanvas& canvas, int32_t x, int32_t y) = 0;
  // The animator now plays another picture (taken over by a copy of its item).
  virtual void Rebind(TRPGraphicItemInfo& item) = 0;
};

// Creates, renews or frees a picture's Animator for a document (the control's animation
// decides whether the document animates). While none is set, UpdateAnimator frees the
// animator.
using TRPAnimatorUpdater = std::function<void(TRPGraphicItemInfo& item, TCustomRPData& rpData)>;
void SetRPAnimatorUpdater(TRPAnimatorUpdater updater);

// The graphic class written to RTF as PNG (the model's start-up sets the PNG class);
// none before.
void SetRPPngGraphicClass(TGraphicClass graphicClass);
TGraphicClass GetRPPngGraphicClass();

// "{\pict" with the \dibitmap0 form of a bitmap: its size words, then the hex digits of
// its stream without the file header, and "}".
AnsiString RtfBitmapPicture(const TBitmap& bitmap, const AnsiString& scaling);
// Any graphic as an RTF picture group: a JPEG image (with rprtfSaveJpegAsJpeg) or a PNG
// image in its own format, anything else as a bitmap (drawn on white when it cannot
// become one); scaling is put after "\pict".
AnsiString RtfGraphicPicture(const TGraphic& graphic, const AnsiString& scaling, uint32_t rtfOptions);
// Image index of imageList as an RTF picture: with rprtfSaveBitmapDefault a bitmap of
// the list's image size with the image drawn on white, else the image drawn into a
// Windows metafile of that size (\wmetafile1, sizes in pixels).
AnsiString RtfImageListPicture(const TCustomImageList& imageList, int32_t index, uint32_t rtfOptions);

// A new graphic of source's class (through RPCreateGraphic) holding a copy of it.
std::unique_ptr<TGraphic> CopyRPGraphic(const TGraphic& source);

// Registers the classes of these kinds (picture, hot picture); the model's start-up does it
// (RPModelStartup.h).
void RegisterPictureItemClasses();

class TRPGraphicItemInfo : public TRPRectItemInfo {
public:
  explicit TRPGraphicItemInfo(TCustomRPData* rpData) : TRPRectItemInfo(rpData) { StyleNo = rpkindPicture; }
  // The item that shows graphic (owned from now on), aligned vertically by vAlign.
  TRPGraphicItemInfo(TCustomRPData* rpData, std::unique_ptr<TGraphic> graphic, TRPVAlign vAlign);
  ~TRPGraphicItemInfo() override;
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }

  std::unique_ptr<IRPPictureAnimator> Animator;
  bool Resizable = true;
  std::unique_ptr<TGraphic> Image;
  // A palette-adjusted copy drawn in place of Image.
  std::unique_ptr<TGraphic> ImageCopy;
  // The stretched size in screen pixels; 0 or less: the image's own.
  int32_t ImageWidth = 0;
  int32_t ImageHeight = 0;
  int32_t Interval = 0;  // animation interval; 0 for none
  bool NoHTMLImageSize = false;
  AnsiString Alt;
  AnsiString ImageFileName;

  // ImageWidth or ImageHeight is not 0.
  bool IsStretched() const { return ImageWidth != 0 || ImageHeight != 0; }
  const TGraphic* GetGraphic() const { return Image.get(); }

  // The stretched size, or the image's own (0 without an image).
  int32_t GetImageWidth(const IRPStyleSheet* rpStyle) const override;
  int32_t GetImageHeight(const IRPStyleSheet* rpStyle) const override;
  // The image size with Spacing on both sides.
  int32_t GetWidth() const override;
  int32_t GetHeight() const override;
  // The width, scaled to the device when a resolution is given.
  int32_t GetMinWidth(const TRPResolution* resolution, TCanvas* canvas, TCustomRPData* rpData) const override;
  // Has content with an image; selected as an object; resizable with an image and
  // Resizable; live with an animator. Prints through a bitmap unless the image is a
  // metafile (which Print draws on the page at the device's resolution).
  bool GetBoolValue(TRPItemBoolQuery query) const override;
  bool GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet* rpStyle) const override;

  // From a picture: Alt, Resizable, ImageFileName, the stretched size, NoHTMLImageSize,
  // and new copies of Image and ImageCopy of their classes (not Interval).
  void CopyPropertiesFrom(const TCustomRPItemInfo& source) override;
  // Takes a picture source's animator when this item has none.
  void TakeOverAnimator(TCustomRPItemInfo& source, TCustomRPData* rpData) override;
  void UpdateAnimator(TCustomRPData* rpData) override;
  // Frees ImageCopy and the animator first.
  void MovingToUndoList(int32_t itemNo, TCustomRPData* rpData) override;
  // Frees ImageCopy (unless copies are asked for with a palette and no forced renewal);
  // gives Image the palette, or makes a palette copy (a bitmap for a JPEG image with
  // rppaCreateCopiesEx).
  void UpdatePaletteInfo(TRPPaletteAction action, bool forceRecreate, HPALETTE palette,
                         const TLogPalette* logPalette) override;

  // 3 width, 4 height, 5-7 transparency of a bitmap, 8 MinHeightOnPage, 10 Resizable,
  // 12 NoHTMLImageSize, 13 Interval; 2 Alt and 3 ImageFileName.
  bool SetIntProperty(int32_t code, int32_t value) override;
  bool GetIntProperty(int32_t code, int32_t& value) const override;
  bool SetStrProperty(int32_t code, const AnsiString& value) override;
  bool GetStrProperty(int32_t code, AnsiString& value) const override;
  int32_t GetRPFPropertyCount() const override;
  void SaveRPFProperties(TStream& stream) const override;

  // Screen drawing with the item's box at (x, y): the animator's frame, the copy or the
  // image inside Spacing, then the current-item and selection frames. A graphic that
  // raises while drawing is skipped.
  void Paint(int32_t x, int32_t y, TCanvas& canvas, uint32_t drawState, const TRPStyle& rpStyle) const;
  // Printing: the picture into the page painter's bitmap. partIndex is the part of the
  // split picture being printed (-1: the whole picture) and imageTop the first picture
  // row of that part (0 when the picture is not split). A stretched picture is drawn at
  // its own size and the bitmap resized to it (the painter stretches the bitmap onto the
  // page); a transparent one keeps what the bitmap showed below it. True.
  bool PrintToBitmap(TBitmap& bitmap, bool preview, int32_t partIndex, int32_t imageTop) const;
  // Printing a metafile: stretched into the image's box inside Spacing at (x, y) of the
  // page canvas, sizes scaled to the device, clipped to that box; the canvas's drawing
  // state is as it was afterwards.
  void Print(TCanvas& canvas, int32_t x, int32_t y, const TRPResolution& resolution) const;
  // The header, the name line, then with rpfoSavePicturesBody (and an image) the class
  // name, the property lines and the picture as one hex line or, with rpfoSaveBinary, a
  // binary block; without a body the name and property lines only.
  void SaveRPF(TStream& stream, IRPFStreaming& streaming, int32_t itemNo, int32_t paraNo, const AnsiString& name,
               const TRPMultiDrawItemPart* part, bool forceSameAsPrev) const override;
  // Line lineNo of the item's lineCount lines in body mode readType. Without a body: line
  // 0 is the name, and the picture is asked of the document by name (or by a file name
  // read later while there is none). With a body: the name, the graphic class (unknown:
  // rpfwUnknownPicFmt, and false unless rpfoIgnoreUnknownPicFmt), property lines, and the
  // data in the last line (false for bad hex; data that does not load gives the style
  // sheet's invalid picture and rpfwInvalidPicture). readMode asks for the data line as
  // a binary block; readState is rpfrsItemDone after the last line.
  bool ReadRPFLine(const AnsiString& s, IRPFStreaming& streaming, TRPFBodyMode readType, int32_t lineNo,
                   int32_t lineCount, AnsiString& name, TRPFLineMode& readMode, TRPFReadState& readState) override;
  // "<img ...>" with the picture's location: its own file (option 0x1000), what the
  // document's hook gives, or the picture saved by the document; nothing without one.
  void SaveToHTML(TStream& stream, TRPHTMLSaveContext& context, const AnsiString& text, int32_t itemNo) const override;
  // The picture as an RTF picture group, scaled by percentages of its natural size when
  // stretched: JPEG (with rprtfSaveJpegAsJpeg) and PNG images in their own format,
  // metafiles as enhanced (\emfblip) or Windows (\wmetafile8) metafiles by the options,
  // every other graphic as a bitmap. Nothing without an image.
  void SaveRTF(TStream& stream, TRPRTFSaveContext& context, const AnsiString& text, int32_t itemNo) const override;
  // Whether printing needs a draw item that can split the picture over pages: it prints
  // through a bitmap, has a MinHeightOnPage, and is not stretched vertically.
  bool PrintsInParts() const;

private:
  void DrawGraphic(TCanvas& canvas, const TGraphic& graphic, const TRect& box) const;
  // The RTF picture group of Image (there is one) under the RTF options.
  AnsiString RtfPicture(uint32_t rtfOptions) const;
};

class TRPHotGraphicItemInfo : public TRPGraphicItemInfo {
public:
  explicit TRPHotGraphicItemInfo(TCustomRPData* rpData) : TRPGraphicItemInfo(rpData) { StyleNo = rpkindHotPicture; }
  TRPHotGraphicItemInfo(TCustomRPData* rpData, std::unique_ptr<TGraphic> graphic, TRPVAlign vAlign);
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }

  // A hyperlink: jump, focusable, jump cursor.
  bool GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet* rpStyle) const override;
  // Tells its document to follow the link (a formatted document does).
  void ExecuteJump(TCustomRPData* rpData) override;
};
