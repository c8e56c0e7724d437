// Pictures and bullets as RTF picture groups.
#include <functional>
#include <memory>
#include <string>

#include "platform/base/Format.h"
#include "platform/base/Numbers.h"
#include "platform/base/Streams.h"
#include "platform/graphics/JpegImage.h"
#include "platform/graphics/Metafile.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPPictureItems.h"

namespace {
// The bitmap file header that RTF's \dibitmap leaves out, in hex digits.
constexpr size_t BitmapFileHeaderHexChars = 28;
// The placeable header that RTF's \wmetafile leaves out, in hex digits.
constexpr size_t PlaceableHeaderHexChars = 44;

TGraphicClass& PngGraphicClass() {
  static TGraphicClass pngClass = nullptr;
  return pngClass;
}

// \picscalex / \picscaley: the stretched size in percent of the natural one.
AnsiString ScaleWord(const char* word, int32_t stretched, int32_t natural) {
  if (stretched <= 0 || natural <= 0) return {};
  return word + std::to_string(Round(stretched * 100.0 / natural));
}

// A bitmap of any graphic: assigned, or, when the graphic cannot become one, the graphic
// drawn on white.
std::unique_ptr<TBitmap> AsBitmap(const TGraphic& graphic) {
  auto bitmap = std::make_unique<TBitmap>();
  try {
    bitmap->Assign(&graphic);
    return bitmap;
  } catch (const Exception&) {
  }
  bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(graphic.Width(), graphic.Height());
  TCanvas& canvas = *bitmap->Canvas();
  canvas.Brush().SetColor(clWhite);
  canvas.FillRect(Rect(0, 0, bitmap->Width(), bitmap->Height()));
  try {
    canvas.Draw(0, 0, &graphic);
  } catch (const Exception&) {
  }
  return bitmap;
}
}  // namespace

void SetRPPngGraphicClass(TGraphicClass graphicClass) { PngGraphicClass() = graphicClass; }
TGraphicClass GetRPPngGraphicClass() { return PngGraphicClass(); }

AnsiString RtfBitmapPicture(const TBitmap& bitmap, const AnsiString& scaling) {
  const AnsiString hex = RPFSavePictureToHex(bitmap);
  return "{\\pict" + scaling +
         Format(
             "\\dibitmap0\\wbmwidthbytes%d\\picw%d\\pich%d\\picwgoal%d\\pichgoal%d ",
             {bitmap.BytesPerScanLine(), bitmap.Width(), bitmap.Height(), bitmap.Width() * 15, bitmap.Height() * 15}) +
         hex.substr(std::min(hex.size(), BitmapFileHeaderHexChars)) + "}";
}

void TRPGraphicItemInfo::SaveRTF(TStream& stream, TRPRTFSaveContext& context, const AnsiString&, int32_t) const {
  if (Image) RPFWrite(stream, RtfPicture(context.Options));
}

namespace {
// A metafile as it is when enhanced (unless the options ask for Windows metafiles), else
// a Windows metafile (a converted copy of an enhanced one) without its placeable header;
// both with the sizes in 0.01 mm.
AnsiString RtfMetafilePicture(const TMetafile& metafile, const AnsiString& scaling, uint32_t rtfOptions) {
  const AnsiString sizes = Format("\\picw%d\\pich%d ", {metafile.MMWidth(), metafile.MMHeight()});
  if (metafile.Enhanced() && !(rtfOptions & rprtfSaveEMFAsWMF))
    return "{\\pict" + scaling + "\\emfblip" + sizes + RPFSavePictureToHex(metafile) + "}";
  std::unique_ptr<TMetafile> converted;
  if (metafile.Enhanced()) converted = ConvertedMetafile(metafile);
  const AnsiString hex = RPFSavePictureToHex(converted ? *converted : metafile);
  return "{\\pict" + scaling + "\\wmetafile8" + sizes + hex.substr(std::min(hex.size(), PlaceableHeaderHexChars)) + "}";
}

// A picture of widthPx x heightPx drawn by draw into a new metafile (a drawing that
// raises leaves it empty): enhanced, with the millimetre sizes, or a Windows metafile
// with the pixel sizes and without its placeable header.
AnsiString RtfDrawnMetafilePicture(int32_t widthPx, int32_t heightPx, const std::function<void(TCanvas&)>& draw,
                                   const AnsiString& scaling, bool enhanced) {
  TMetafile metafile;
  metafile.SetEnhanced(enhanced);
  {
    TMetafileCanvas canvas(metafile, widthPx, heightPx);
    try {
      draw(canvas);
    } catch (const Exception&) {
    }
    canvas.Close();
  }
  const AnsiString hex = RPFSavePictureToHex(metafile);
  if (enhanced)
    return "{\\pict" + scaling + Format("\\emfblip\\picw%d\\pich%d ", {metafile.MMWidth(), metafile.MMHeight()}) + hex +
           "}";
  return "{\\pict" + scaling + Format("\\wmetafile1\\picw%d\\pich%d ", {widthPx, heightPx}) +
         hex.substr(std::min(hex.size(), PlaceableHeaderHexChars)) + "}";
}
}  // namespace

AnsiString RtfGraphicPicture(const TGraphic& graphic, const AnsiString& scaling, uint32_t rtfOptions) {
  const int32_t width = graphic.Width(), height = graphic.Height();
  const bool jpeg = dynamic_cast<const TJPEGImage*>(&graphic) != nullptr;
  const bool png = PngGraphicClass() && graphic.ClassType() == PngGraphicClass();
  if ((jpeg && (rtfOptions & rprtfSaveJpegAsJpeg)) || png)
    return "{\\pict" + scaling +
           Format(jpeg ? "\\jpegblip\\picw%d\\pich%d " : "\\pngblip\\picw%d\\pich%d ", {width, height}) +
           RPFSavePictureToHex(graphic) + "}";
  if (const auto* bitmap = dynamic_cast<const TBitmap*>(&graphic)) return RtfBitmapPicture(*bitmap, scaling);
  if (const auto* metafile = dynamic_cast<const TMetafile*>(&graphic))
    return RtfMetafilePicture(*metafile, scaling, rtfOptions);
  if (rtfOptions & rprtfSaveBitmapDefault) return RtfBitmapPicture(*AsBitmap(graphic), scaling);
  return RtfDrawnMetafilePicture(
      width, height, [&](TCanvas& canvas) { canvas.Draw(0, 0, &graphic); }, scaling,
      (rtfOptions & rprtfSaveEMFDefault) != 0);
}

AnsiString RtfImageListPicture(const TCustomImageList& imageList, int32_t index, uint32_t rtfOptions) {
  if (!(rtfOptions & rprtfSaveBitmapDefault))
    return RtfDrawnMetafilePicture(
        imageList.Width(), imageList.Height(), [&](TCanvas& canvas) { imageList.Draw(canvas, 0, 0, index); }, {},
        /*enhanced=*/false);
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(imageList.Width(), imageList.Height());
  bitmap.Canvas()->Brush().SetColor(clWhite);
  bitmap.Canvas()->FillRect(Rect(0, 0, bitmap.Width(), bitmap.Height()));
  imageList.Draw(*bitmap.Canvas(), 0, 0, index);
  return RtfBitmapPicture(bitmap, {});
}

AnsiString TRPGraphicItemInfo::RtfPicture(uint32_t rtfOptions) const {
  const AnsiString scaling =
      ScaleWord("\\picscalex", ImageWidth, Image->Width()) + ScaleWord("\\picscaley", ImageHeight, Image->Height());
  return RtfGraphicPicture(*Image, scaling, rtfOptions);
}

void TRPBulletItemInfo::SaveRTF(TStream& stream, TRPRTFSaveContext& context, const AnsiString&, int32_t) const {
  if (!ImageList || ImageIndex < 0 || ImageIndex >= ImageList->Count()) return;
  RPFWrite(stream, RtfImageListPicture(*ImageList, ImageIndex, context.Options));
}
