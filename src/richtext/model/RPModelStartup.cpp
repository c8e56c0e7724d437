#include "richtext/model/RPModelStartup.h"

#include <mutex>

#include "imaging/png/PngCodec.h"
#include "platform/base/LibraryStartup.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/JpegImage.h"
#include "platform/graphics/Metafile.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPHtmlHelpers.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPTextItems.h"

void StartRichTextModel() {
  static std::once_flag started;
  std::call_once(started, [] {
    for (TGraphicClass graphicClass : {&TBitmap::ClassInfo, &TIcon::ClassInfo, &TMetafile::ClassInfo,
                                       &TJPEGImage::ClassInfo, &TPNGObject::ClassInfo})
      RegisterGraphicClass(graphicClass);
    // PNG pictures leave as PNG: RTF's \pngblip, .png files beside HTML (an e-book media
    // type that keeps transparency).
    SetRPPngGraphicClass(&TPNGObject::ClassInfo);
    KeepGraphicClassForHTML(&TPNGObject::ClassInfo);
    RegisterTextItemClasses();
    RegisterPictureItemClasses();
    RegisterBulletItemClasses();
    RegisterMarkerItemClasses();
  });
}

QF_LIBRARY_STARTUP(QfRichTextModelStartup, StartRichTextModel)
