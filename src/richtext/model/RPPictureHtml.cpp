#include "richtext/model/RPPictureHtml.h"

#include <string>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/GraphicOnBitmap.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPExportContexts.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPHtmlHelpers.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStringHelpers.h"
#include "richtext/model/RPUnicode.h"

namespace {
// The attribute list of an image: joined by spaces, one space on each side (a single
// space when empty).
AnsiString WrapAttributes(const AnsiString& list) { return list.empty() ? " " : " " + list + " "; }

AnsiString ToOutput(const AnsiString& text, uint32_t options, const IRPHtmlImageContext& context) {
  return (options & rphtmlUtf8) ? CodePageTextToUtf8(context.CodePage(), text) : text;
}

// The attributes that pictures and bullets share, in the order pictures write them
// after their border and size: alt (always: readers of HTML need it, empty for a picture
// that says nothing), spacing, hint, CSS shift. XHTML has no spacing attributes: there the
// spacing is a margin in the style.
struct TSharedAttributes {
  AnsiString Alt, Spacing, Hint, Style;
};

TSharedAttributes SharedAttributes(const TRPRectItemInfo& item, const AnsiString& alt, uint32_t options, bool css,
                                   const IRPStyleSheet* rpStyle, const IRPHtmlImageContext& context) {
  TSharedAttributes a;
  // A double quote would end the attribute early; it is written as an entity.
  AnsiString value;
  for (char c : alt) value += c == '"' ? AnsiString("&quot;") : AnsiString(1, c);
  a.Alt = "alt=\"" + ToOutput(value, options, context) + "\"";
  const bool xhtml = (options & rphtmlQuotedAttributes) != 0;
  AnsiString declarations;
  if (item.Spacing > 0) {
    if (xhtml)
      declarations = "margin: " + std::to_string(item.Spacing) + "px;";
    else
      a.Spacing = "hspace=" + FormatHtmlInt(item.Spacing, options) + " vspace=" + FormatHtmlInt(item.Spacing, options);
  }
  a.Hint = ToOutput(MakeHintAttribute(rphkHtml, item.Hint), options, context);
  if (css) declarations = AppendWithSeparator(declarations, item.GetVShiftCSS(rpStyle), " ");
  if (!declarations.empty()) a.Style = "style=\"" + declarations + "\"";
  return a;
}
}  // namespace

AnsiString SaveBulletImage(const TCustomImageList* imageList, int32_t index, const TGraphic* graphic,
                           TRPHTMLBulletInfoList& saved, uint32_t options, TColor backColor,
                           IRPHtmlImageContext& context) {
  for (const TRPHTMLBulletInfo& info : saved)
    if (info.ImageList == imageList && info.ImageIndex == index && info.Graphic == graphic &&
        info.BackColor == backColor)
      return info.FileName;
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  if (imageList) {
    bitmap.SetSize(imageList->Width(), imageList->Height());
  } else if (graphic) {
    const TSize size = RasterSizeOf(*graphic);  // a metafile's stated size as its data admits
    bitmap.SetSize(size.cx, size.cy);
  }
  TCanvas& canvas = *bitmap.Canvas();
  canvas.Brush().SetColor(backColor == clNone ? clWhite : backColor);
  canvas.Pen().SetColor(backColor == clNone ? clWhite : backColor);
  canvas.FillRect(Rect(0, 0, bitmap.Width(), bitmap.Height()));
  if (imageList)
    imageList->Draw(canvas, 0, 0, index);
  else if (graphic)
    DrawAtRasterSize(canvas, *graphic);
  const AnsiString location =
      MakeHtmlPath(context.SavePictureForExport(bitmap, backColor), options, context.CodePage());
  saved.push_back({location, backColor, imageList, index, graphic});
  return location;
}

void TRPGraphicItemInfo::SaveToHTML(TStream& stream, TRPHTMLSaveContext& save, const AnsiString&, int32_t) const {
  IRPHtmlImageContext& context = save.Images;
  const uint32_t options = save.Options;
  const IRPStyleSheet* rpStyle = save.RPStyle;
  const AnsiString ownFile = !ImageFileName.empty() && (options & rphtmlUseImageFileName)
                                 ? context.RelativeToDocument(ImageFileName)
                                 : AnsiString();
  AnsiString location = ownFile;
  if (context.HtmlImageHook(*this, location)) {
    location = ownFile;
    if (location.empty() && Image) location = context.SavePictureForExport(*Image, save.Background);
  }
  if (location.empty()) return;
  const bool css = save.UseCss || (options & rphtmlUseCss);
  AnsiString list;
  if (options & rphtmlImageBorder0) list = "border=" + FormatHtmlInt(0, options);
  if (((options & rphtmlImageSize) && !NoHTMLImageSize) || IsStretched())
    list = AppendWithSeparator(list,
                               "width=" + FormatHtmlInt(GetImageWidth(rpStyle), options) +
                                   " height=" + FormatHtmlInt(GetImageHeight(rpStyle), options),
                               " ");
  const TSharedAttributes shared = SharedAttributes(*this, Alt, options, css, rpStyle, context);
  for (const AnsiString* attribute : {&shared.Alt, &shared.Spacing, &shared.Hint, &shared.Style})
    list = AppendWithSeparator(list, *attribute, " ");
  RPFWrite(stream, "<img" + GetHTMLAlign(VAlign, options) + WrapAttributes(list) + "src=\"" +
                       MakeHtmlPath(location, options, context.CodePage()) + "\"" + GetXhtmlEmptyTagEnd(options) + ">");
}

void TRPBulletItemInfo::SaveToHTML(TStream& stream, TRPHTMLSaveContext& save, const AnsiString&, int32_t) const {
  IRPHtmlImageContext& context = save.Images;
  const uint32_t options = save.Options;
  const IRPStyleSheet* rpStyle = save.RPStyle;
  AnsiString location;
  if (context.HtmlImageHook(*this, location) && ImageList && ImageIndex >= 0 && ImageIndex < ImageList->Count())
    location = SaveBulletImage(ImageList, ImageIndex, nullptr, save.SavedBullets, options, save.Background, context);
  if (location.empty()) return;
  const bool css = save.UseCss || (options & rphtmlUseCss);
  AnsiString sizes = (options & rphtmlImageBorder0) ? " border=0 " : " ";
  if ((options & rphtmlImageSize) && !NoHTMLImageSize)
    sizes +=
        "width=" + std::to_string(GetImageWidth(rpStyle)) + " height=" + std::to_string(GetImageHeight(rpStyle)) + " ";
  const TSharedAttributes shared = SharedAttributes(*this, Alt, options, css, rpStyle, context);
  AnsiString list;
  for (const AnsiString* attribute : {&shared.Style, &shared.Alt, &shared.Hint, &shared.Spacing})
    list = AppendWithSeparator(list, *attribute, " ");
  RPFWrite(stream,
           "<img" + sizes + WrapAttributes(list) + "src=\"" + location + "\"" + GetXhtmlEmptyTagEnd(options) + ">");
}
