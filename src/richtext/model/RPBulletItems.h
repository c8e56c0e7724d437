// Bullets and hotspots: an item that shows one image of an image list it does not own,
// and a bullet that is a hyperlink and may show another image while the mouse is over it.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/ImageList.h"
#include "richtext/model/RPExportContexts.h"
#include "richtext/model/RPItemInfo.h"
#include "richtext/model/RPItemStreaming.h"
#include "richtext/model/RPPictureHtml.h"
#include "richtext/model/RPPictureItems.h"

// Registers the classes of these kinds (bullet, hotspot); the model's start-up does it
// (RPModelStartup.h).
void RegisterBulletItemClasses();

class TRPBulletItemInfo : public TRPRectItemInfo {
public:
  explicit TRPBulletItemInfo(TCustomRPData* rpData) : TRPRectItemInfo(rpData) { StyleNo = rpkindBullet; }
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }

  TCustomImageList* ImageList = nullptr;  // not owned
  int32_t ImageIndex = 0;
  bool NoHTMLImageSize = false;
  AnsiString Alt;

  // The image shown: ImageIndex (a hotspot shows HotImageIndex under the mouse).
  virtual int32_t GetImageIndex(bool hot) const;

  // The list's image size (0 without a list).
  int32_t GetImageWidth(const IRPStyleSheet* rpStyle) const override;
  int32_t GetImageHeight(const IRPStyleSheet* rpStyle) const override;
  // The image size with Spacing on both sides.
  int32_t GetWidth() const override;
  int32_t GetHeight() const override;
  int32_t GetMinWidth(const TRPResolution* resolution, TCanvas* canvas, TCustomRPData* rpData) const override;
  // Has content with a list; selected as an object.
  bool GetBoolValue(TRPItemBoolQuery query) const override;
  void CopyPropertiesFrom(const TCustomRPItemInfo& source) override;
  // 12 NoHTMLImageSize; 2 Alt.
  bool SetIntProperty(int32_t code, int32_t value) override;
  bool GetIntProperty(int32_t code, int32_t& value) const override;
  bool SetStrProperty(int32_t code, const AnsiString& value) override;
  bool GetStrProperty(int32_t code, AnsiString& value) const override;
  int32_t GetRPFPropertyCount() const override;
  void SaveRPFProperties(TStream& stream) const override;
  // "ListTag ImageIndex".
  void GetRPFHeaderExtra(TCustomRPData* rpData, AnsiString& s) const override;
  // Two integers: the list's tag, looked up through the reader, and the index. An index
  // beyond the list found sets rpfwBadImageIndex and is read as 0 with
  // rpfoConvLargeImageIdxToZero, else refused. False when a number is missing or the
  // index is refused; the item is then left as it was.
  bool ReadRPFHeaderExtra(AnsiStringView& rest, IRPFStreaming& streaming) override;
  // The header (no body), the name line and the property lines.
  void SaveRPF(TStream& stream, IRPFStreaming& streaming, int32_t itemNo, int32_t paraNo, const AnsiString& name,
               const TRPMultiDrawItemPart* part, bool forceSameAsPrev) const override;
  // Line 0 is the item's name, the others property lines; done after the last.
  bool ReadRPFLine(const AnsiString& s, IRPFStreaming& streaming, TRPFBodyMode readType, int32_t lineNo,
                   int32_t lineCount, AnsiString& name, TRPFLineMode& readMode, TRPFReadState& readState) override;

  // Screen drawing with the item's box at (x, y): the image (the hot one with
  // rpidsHover) inside Spacing, blended with the selection colour when selected, and a
  // frame in CurrentItemColor for the current item.
  void Paint(int32_t x, int32_t y, TCanvas& canvas, uint32_t drawState, const TRPStyle& rpStyle) const;
  // "<img ...>" with the location the document's hook gives or the saved image (once per
  // list, index and background, in the context's saved bullets); nothing without a
  // location.
  void SaveToHTML(TStream& stream, TRPHTMLSaveContext& context, const AnsiString& text, int32_t itemNo) const override;
  // The image on white as an RTF bitmap picture; nothing without a list or with an index
  // out of its range.
  void SaveRTF(TStream& stream, TRPRTFSaveContext& context, const AnsiString& text, int32_t itemNo) const override;
  // Printing: ImageIndex at (0, 0) of the page painter's bitmap. True.
  bool PrintToBitmap(TBitmap& bitmap) const;

protected:
  // An index read for a list: false (refused) when it is out of range and large
  // indexes are not converted.
  static bool CheckReadIndex(const TCustomImageList* list, int32_t& index, IRPFStreaming& streaming);
  // The list's tag and the index, the list looked up through the reader and the index
  // checked against it; the item itself is left alone.
  static bool ReadListAndIndex(AnsiStringView& rest, IRPFStreaming& streaming, TCustomImageList*& list, int32_t& index);
};

class TRPHotspotItemInfo : public TRPBulletItemInfo {
public:
  explicit TRPHotspotItemInfo(TCustomRPData* rpData) : TRPBulletItemInfo(rpData) { StyleNo = rpkindHotspot; }
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }

  int32_t HotImageIndex = 0;

  int32_t GetImageIndex(bool hot) const override { return hot ? HotImageIndex : ImageIndex; }
  // A hyperlink (jump, focusable, jump cursor) that repaints on hover when its hot image
  // differs.
  bool GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet* rpStyle) const override;
  void ExecuteJump(TCustomRPData* rpData) override;
  void CopyPropertiesFrom(const TCustomRPItemInfo& source) override;
  // "ListTag ImageIndex HotImageIndex"; a missing third number reads as ImageIndex.
  void GetRPFHeaderExtra(TCustomRPData* rpData, AnsiString& s) const override;
  bool ReadRPFHeaderExtra(AnsiStringView& rest, IRPFStreaming& streaming) override;
};
