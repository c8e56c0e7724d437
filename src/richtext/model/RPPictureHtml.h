// Pictures and bullets as HTML images: what they need of the document that writes them,
// and the saving of bullet images (each image of a list saved once per background).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/graphics/Graphic.h"
#include "platform/graphics/ImageList.h"
#include "platform/graphics/PenBrush.h"
#include "richtext/model/RPItemInfo.h"

// HTML save options read by pictures and bullets (beside those of RPHtmlHelpers.h).
inline constexpr uint32_t rphtmlImageBorder0 = 0x20;        // "border=0" on images
inline constexpr uint32_t rphtmlImageSize = 0x40;           // width and height of images
inline constexpr uint32_t rphtmlUseCss = 0x80;              // CSS
inline constexpr uint32_t rphtmlUseImageFileName = 0x1000;  // a picture's own file as its location

// What the HTML writer of a document offers to the pictures and bullets it writes.
class IRPHtmlImageContext {
public:
  virtual ~IRPHtmlImageContext() = default;
  // The document's HTML-image hook for an item: may give a location; answers whether the
  // default saving still runs.
  virtual bool HtmlImageHook(const TCustomRPItemInfo& item, AnsiString& location) = 0;
  // Saves a graphic for the export over a background colour; answers its location.
  virtual AnsiString SavePictureForExport(const TGraphic& graphic, TColor background) = 0;
  // A file name relative to the folder of the document being written.
  virtual AnsiString RelativeToDocument(const AnsiString& fileName) const = 0;
  // The code page of 8-bit text (for the UTF-8 option).
  virtual uint32_t CodePage() const = 0;
};

// A bullet image already saved: its source (list and index, or graphic), background and
// location.
struct TRPHTMLBulletInfo {
  AnsiString FileName;
  TColor BackColor;
  const TCustomImageList* ImageList;
  int32_t ImageIndex;
  const TGraphic* Graphic;
};
using TRPHTMLBulletInfoList = std::vector<TRPHTMLBulletInfo>;

// The location of image index of the list, or of the graphic (list null), saved once
// for each background: a bitmap of the image's size filled with backColor (white for
// clNone) with the image drawn on it, saved by the document; the location as an HTML
// path, remembered in saved.
AnsiString SaveBulletImage(const TCustomImageList* imageList, int32_t index, const TGraphic* graphic,
                           TRPHTMLBulletInfoList& saved, uint32_t options, TColor backColor,
                           IRPHtmlImageContext& context);
