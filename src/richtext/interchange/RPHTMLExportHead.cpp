// The frame of an HTML export: the head of either flavour with its page background, the
// end, the pictures the export saves, and the entry points.
#include <string>

#include "platform/base/CodePages.h"
#include "richtext/interchange/RPHTMLWriter.h"
#include "richtext/layout/RPBackground.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPHtmlEntities.h"
#include "richtext/model/RPHtmlHelpers.h"
#include "richtext/model/RPStringHelpers.h"
#include "richtext/model/RPUnicode.h"
#include "unicode/UniSysUtils.h"

bool RPHTMLClassicParagraphsAsDiv = false;

namespace {

AnsiString Num(int32_t value) { return std::to_string(value); }

// The charset name of a Windows code page, for pages whose text style 0 names no charset.
AnsiString CodePageCharsetName(uint32_t codePage) {
  switch (codePage) {
    case 874:
      return "Windows-874";
    case 932:
      return "shift_jis";
    case 936:
      return "gb2312";
    case 949:
      return "EUC-KR";
    case 950:
      return "big5";
    default:
      if (codePage >= 1250 && codePage <= 1258) return "Windows-" + std::to_string(codePage);
      return {};
  }
}

// How a page background style repeats, scrolls and stands (CSS).
struct TCssBackground {
  const char* Repeat;
  const char* Attachment;
  const char* Position;  // nullptr: none
};

TCssBackground CssBackgroundOf(TBackgroundStyle style) {
  switch (style) {
    case bsStretched:
    case bsCentered:
      return {"no-repeat", "fixed", "center center"};
    case bsTiled:
      return {"repeat", "fixed", nullptr};
    case bsTiledAndScrolled:
      return {"repeat", "scroll", nullptr};
    case bsTopLeft:
      return {"no-repeat", "fixed", "top left"};
    case bsTopRight:
      return {"no-repeat", "fixed", "top right"};
    case bsBottomLeft:
      return {"no-repeat", "fixed", "bottom left"};
    case bsBottomRight:
      return {"no-repeat", "fixed", "bottom right"};
    case bsNoBitmap:
      break;
  }
  return {"repeat", "scroll", nullptr};
}

}  // namespace

TRPHTMLWriter::TRPHTMLWriter(TCustomRPData& root, TStream& stream, const TRPStyle& style,
                             const TRPHTMLExportParams& params, bool css)
    : FRoot(root),
      FStream(stream),
      FStyle(style),
      FParams(params),
      FCss(css),
      FCodePage(style.DefCodePage != 0 ? style.DefCodePage : GetACP()),
      FBullets(params.Bullets) {
  if (!FBullets) {
    FOwnBullets = std::make_unique<TRPHTMLBulletInfoList>();
    FBullets = FOwnBullets.get();
  }
}

void TRPHTMLWriter::Write(AnsiStringView text) const { RPFWrite(FStream, text); }
void TRPHTMLWriter::WriteLine(AnsiStringView text) const { RPFWriteLine(FStream, text); }

AnsiString TRPHTMLWriter::Out(const AnsiString& text) const {
  return (FParams.Options & rphtmlUtf8) ? CodePageTextToUtf8(FCodePage, text) : text;
}

AnsiString TRPHTMLWriter::AttributeValue(const AnsiString& text) const { return Out(HtmlAttributeText(text)); }

AnsiString TRPHTMLWriter::CharsetName() const {
  if (FParams.Options & rphtmlUtf8) return "UTF-8";
  const AnsiString name = CharsetToHtmlCharset(FStyle.TextStyles()[0]->Charset);
  // Text style 0 of the default charset is text in the document's code page: named so
  // that readers (and XML parsers of the XHTML form) decode its 8-bit text right.
  return name.empty() ? CodePageCharsetName(FCodePage) : name;
}

// --- Pictures -----------------------------------------------------------------------------

bool TRPHTMLWriter::HtmlImageHook(const TCustomRPItemInfo& item, AnsiString& location) {
  TCustomRPData& data = FCurrentData ? *FCurrentData : FRoot;
  return data.HTMLSaveImage(data, data.IndexOfItem(&item), FParams.Path, FCurrentBackground, location);
}

bool TRPHTMLWriter::BackgroundImageHook(TCustomRPData& document, TColor backColor, AnsiString& location) {
  return document.HTMLSaveImage(document, -1, FParams.Path, backColor, location);
}

AnsiString TRPHTMLWriter::SavePictureForExport(const TGraphic& graphic, TColor background) {
  TCustomRPData& data = FCurrentData ? *FCurrentData : FRoot;
  const WideString fileName =
      data.SavePictureForExport(rpsfHTML, FParams.Path, FParams.ImagesPrefix, graphic, FImgSaveNo,
                                (FParams.Options & rphtmlOverrideImages) != 0, background);
  return WideToAnsi(fileName, FCodePage);
}

AnsiString TRPHTMLWriter::RelativeToDocument(const AnsiString& fileName) const {
  const AnsiString folder = WideToAnsi(WideExtractFilePath(FParams.Path), FCodePage);
  if (!folder.empty() && fileName.starts_with(folder)) return fileName.substr(folder.size());
  return fileName;
}

AnsiString TRPHTMLWriter::SavePageBackground() {
  const TRPBackground* background = FParams.Background;
  if (!background || background->Style == bsNoBitmap || !background->GetImage() || background->GetImage()->Empty())
    return {};
  AnsiString location;
  if (FRoot.HTMLSaveImage(FRoot, -1, FParams.Path, FParams.Color, location))
    location = SavePictureForExport(*background->GetImage(), FParams.Color);
  return location.empty() ? location : MakeHtmlPath(location, FParams.Options, FCodePage);
}

// --- Head and end -------------------------------------------------------------------------

void TRPHTMLWriter::WriteClassicHead() {
  const uint32_t options = FParams.Options;
  const bool xhtml = (options & rphtmlQuotedAttributes) != 0;
  const AnsiString charset = CharsetName();
  const AnsiString emptyEnd = GetXhtmlEmptyTagEnd(options);
  if (xhtml) WriteLine("<?xml version=\"1.0\"" + (charset.empty() ? "" : " encoding=\"" + charset + "\"") + "?>");
  WriteLine("<html><head><title>" + Out(EscapeHtmlText(FParams.Title, false)) + "</title>");
  if (!charset.empty())
    WriteLine("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + charset + "\"" + emptyEnd + ">");
  Write(FRoot.SaveHTMLExtra(rp_thms_Head, false));
  WriteLine("</head>");
  AnsiString body = "<body";
  if (FParams.Color != clNone) body += " bgcolor=" + ColorToHtmlColor(FParams.Color, true);
  if (const AnsiString picture = SavePageBackground(); !picture.empty()) {
    body += " background=\"" + AttributeValue(picture) + "\"";
    if (FParams.Background->Style != bsTiledAndScrolled) body += " bgproperties=" + QuoteHtmlValue("fixed", options);
  }
  if (const AnsiString extra = FRoot.SaveHTMLExtra(rp_thms_BodyAttribute, false); !extra.empty()) body += " " + extra;
  body += " leftmargin=" + FormatHtmlInt(FParams.LeftMargin, options) +
          " topmargin=" + FormatHtmlInt(FParams.TopMargin, options) +
          " rightmargin=" + FormatHtmlInt(FParams.RightMargin, options) +
          " bottommargin=" + FormatHtmlInt(FParams.BottomMargin, options) + ">";
  WriteLine(body);
  Write(FRoot.SaveHTMLExtra(rp_thms_Body, false));
}

void TRPHTMLWriter::WriteBodyCss() {
  WriteLine("body {");
  WriteLine("  margin: " + Num(FParams.TopMargin) + "px " + Num(FParams.RightMargin) + "px " +
            Num(FParams.BottomMargin) + "px " + Num(FParams.LeftMargin) + "px;");
  if (FParams.Color != clNone) WriteLine("  background-color: " + ColorToHtmlColor(FParams.Color) + ";");
  if (const AnsiString picture = SavePageBackground(); !picture.empty()) {
    const TCssBackground css = CssBackgroundOf(FParams.Background->Style);
    AnsiString url;
    for (char c : picture) url += c == '"' ? AnsiString("%22") : AnsiString(1, c);
    if (FParams.Options & rphtmlQuotedAttributes) url = ReplaceAllForward(url, "&", "&amp;");
    WriteLine("  background-image: url(\"" + url + "\");");
    WriteLine(AnsiString("  background-repeat: ") + css.Repeat + ";");
    WriteLine(AnsiString("  background-attachment: ") + css.Attachment + ";");
    if (css.Position) WriteLine(AnsiString("  background-position: ") + css.Position + ";");
  }
  WriteLine("}");
}

void TRPHTMLWriter::WriteCssHead() {
  const uint32_t options = FParams.Options;
  const bool xhtml = (options & rphtmlQuotedAttributes) != 0;
  const AnsiString charset = CharsetName();
  const AnsiString emptyEnd = GetXhtmlEmptyTagEnd(options);
  if (xhtml) {
    WriteLine("<?xml version=\"1.0\"" + (charset.empty() ? "" : " encoding=\"" + charset + "\"") + "?>");
    WriteLine("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.1//EN\" \"http://www.w3.org/TR/xhtml11/DTD/xhtml11.dtd\">");
    WriteLine("<html xmlns=\"http://www.w3.org/1999/xhtml\">");
  } else {
    WriteLine("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">");
    WriteLine("<html>");
  }
  WriteLine("<head><title>" + Out(EscapeHtmlText(FParams.Title, false)) + "</title>");
  if (!charset.empty())
    WriteLine("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + charset + "\"" + emptyEnd + ">");
  WriteLine("<meta http-equiv=\"Content-Style-Type\" content=\"text/css\"" + emptyEnd + ">");
  WriteLine("<style type=\"text/css\">");
  if (!xhtml) WriteLine("<!--");
  WriteBodyCss();
  if (!(options & rphtmlInlineCss) && FParams.CssFileName.empty()) {
    TMemoryStream css;
    FStyle.WriteCSS(css, ((options & rphtmlDefaultCssClasses) ? rpcssNoDefaultElements : 0) |
                             ((options & rphtmlUtf8) ? rpcssUtf8 : 0));
    AnsiString text(static_cast<const char*>(css.Memory()), static_cast<size_t>(css.Size()));
    // In XHTML the style element holds parsed character data: "&" and "<" (in names
    // written into comments and strings) as entities.
    if (xhtml) text = ReplaceAllRepeated(ReplaceAllForward(text, "&", "&amp;"), "<", "&lt;");
    Write(text);
  }
  if (!FParams.ExtraCss.empty()) WriteLine(FParams.ExtraCss);
  if (!xhtml) WriteLine("-->");
  WriteLine("</style>");
  if (!FParams.CssFileName.empty() && !(options & rphtmlInlineCss))
    WriteLine("<link type=\"text/css\" href=\"" +
              AttributeValue(MakeHtmlPath(FParams.CssFileName, options & ~rphtmlUtf8, FCodePage)) +
              "\" rel=\"stylesheet\"" + emptyEnd + ">");
  Write(FRoot.SaveHTMLExtra(rp_thms_Head, true));
  WriteLine("</head>");
  AnsiString body = "<body";
  if (const AnsiString extra = FRoot.SaveHTMLExtra(rp_thms_BodyAttribute, true); !extra.empty()) body += " " + extra;
  WriteLine(body + ">");
  Write(FRoot.SaveHTMLExtra(rp_thms_Body, true));
}

void TRPHTMLWriter::WriteHead() {
  if (FCss)
    WriteCssHead();
  else
    WriteClassicHead();
}

void TRPHTMLWriter::WriteEnd() {
  if (FCss) Write("\r\n");
  Write(FRoot.SaveHTMLExtra(rp_thms_End, FCss));
  Write("</body></html>");
}

// --- Entry points ---------------------------------------------------------------------------

namespace {

bool SaveHtml(TCustomRPData& data, TStream& stream, const TRPHTMLExportParams& params, bool css) {
  const auto* style = dynamic_cast<const TRPStyle*>(data.GetRPStyle());
  if (!style) return false;
  try {
    const uint32_t options = params.Options;
    const bool head = !(options & (rphtmlOnlyBody | rphtmlOnlyEnd));
    const bool body = !(options & (rphtmlOnlyHead | rphtmlOnlyEnd));
    const bool end = !(options & (rphtmlOnlyHead | rphtmlOnlyBody));
    // XHTML names its characters by number (HtmlNamedToNumericReferences): the
    // writer's output is collected and turned so before it goes out.
    const bool xhtml = (options & rphtmlQuotedAttributes) != 0;
    TMemoryStream collected;
    TRPHTMLWriter writer(data, xhtml ? collected : stream, *style, params, css);
    if (head) writer.WriteHead();
    if (body) writer.WriteBody(data, options, params.Color, params.SelectionOnly);
    if (end) writer.WriteEnd();
    if (xhtml) {
      const AnsiString out = HtmlNamedToNumericReferences(
          AnsiStringView(static_cast<const char*>(collected.Memory()), static_cast<size_t>(collected.Size())));
      if (!out.empty()) stream.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
    }
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

bool SaveHTMLToStream(TCustomRPData& data, TStream& stream, const TRPHTMLExportParams& params) {
  return SaveHtml(data, stream, params, false);
}

bool SaveHTMLCSSToStream(TCustomRPData& data, TStream& stream, const TRPHTMLExportParams& params) {
  return SaveHtml(data, stream, params, true);
}
