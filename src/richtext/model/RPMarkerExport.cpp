// The list marker in the native format, RTF and HTML.
#include <string>

#include "platform/base/Format.h"
#include "platform/base/Surrogates.h"
#include "platform/base/TextUtils.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPHtmlHelpers.h"
#include "richtext/model/RPItemStreaming.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPRtfHelpers.h"
#include "richtext/model/RPStringHelpers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"

namespace {

bool IsImageListType(TRPListType type) { return type == rplstImageList || type == rplstImageListCounter; }

const TFont& LevelFont(const TRPListLevel& level) {
  static const TRPMarkerFont defaults;
  const TRPMarkerFont* font = level.FindFont();
  return font ? *font : defaults;
}

// The room between MarkerIndent and the text: LeftIndent + FirstIndent - MarkerIndent.
int32_t MarkerRoom(const TRPListLevel& level) { return level.LeftIndent + level.FirstIndent - level.MarkerIndent; }

// Each character of a UTF-16 text as "&#N;" (a surrogate pair as one character).
AnsiString CharacterReferences(WideStringView text) {
  AnsiString out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = SurrogatePairAt(text, i);
    if (c)
      ++i;
    else
      c = text[i];
    out += "&#" + std::to_string(c) + ";";
  }
  return out;
}

}  // namespace

// --- Native format ---------------------------------------------------------------------

bool TRPMarkerItemInfo::ReadRPFHeaderExtra(AnsiStringView& rest, IRPFStreaming&) {
  AnsiStringView cursor = rest;
  int32_t values[4] = {};
  for (int32_t& value : values) {
    RPFSkipBlanks(cursor);
    if (!RPFReadInteger(cursor, value)) return false;
  }
  ListNo = values[0];
  Level = values[1];
  StartFrom = values[2];
  Reset = values[3] != 0;
  rest = cursor;
  return true;
}

void TRPMarkerItemInfo::SaveRPF(TStream& stream, IRPFStreaming& streaming, int32_t, int32_t paraNo, const AnsiString&,
                                const TRPMultiDrawItemPart*, bool forceSameAsPrev) const {
  WriteRPFItemHeader(stream, *this, GetRPFPropertyCount(), paraNo, forceSameAsPrev, rpfbmHex, streaming);
  SaveRPFProperties(stream);
}

// --- RTF --------------------------------------------------------------------------------

void TRPMarkerItemInfo::FillRTFTables(TRPColorList&, TRPIntegerList& listOverrideCounts, TCustomRPData* rpData) const {
  const TRPListLevel* level = GetLevelInfo(rpData ? rpData->GetRPStyle() : nullptr);
  if (!Reset || !level || !level->HasNumbering() || level->ListType == rplstImageListCounter) return;
  if (ListNo < listOverrideCounts.Count()) listOverrideCounts.SetItem(ListNo, listOverrideCounts[ListNo] + 1);
}

void TRPMarkerItemInfo::SaveRTF(TStream& stream, TRPRTFSaveContext& context, const AnsiString&, int32_t) const {
  const IRPStyleSheet* rpStyle = context.RPData ? context.RPData->GetRPStyle() : nullptr;
  const TRPListLevel* level = GetLevelInfo(rpStyle);
  if (!level) return;
  if (level->ListType == rplstPicture) {
    if (level->HasPicture()) RPFWrite(stream, RtfGraphicPicture(*level->GetPicture(), {}, context.Options));
    return;
  }
  if (IsImageListType(level->ListType)) {
    if (const int32_t index = ShownImageIndex(*level); index >= 0)
      RPFWrite(stream, RtfImageListPicture(*level->ImageList, index, context.Options));
    return;
  }
  RPFWrite(stream, "{\\listtext\\pard\\plain");
  WriteRTFFontFormatting(stream, LevelFont(*level), context.Colors, rpStyle, context.FontTable);
  RPFWrite(stream, " ");
  if (level->ListType == rplstUnicodeBullet)
    WriteRtfUnicodeText(stream, WideToRawUnicode(level->FormatStringW),
                        context.RPData ? context.RPData->GetDefaultCodePage() : 0, false,
                        (context.Options & rprtfDuplicateUnicode) != 0);
  else
    RPFWrite(stream, RtfEscapeText(DisplayString, false, true));
  RPFWrite(stream, "\\tab}");
  // The list's override: its base one, or for a restarting counted marker the next one.
  TRPIntegerList* bases = context.ListOverrideBases;
  TRPIntegerList* counters = context.ListOverrideCounters;
  if (!bases || ListNo >= bases->Count()) return;
  int32_t override = (*bases)[ListNo];
  if (Reset && level->HasNumbering() && counters && ListNo < counters->Count()) {
    counters->SetItem(ListNo, (*counters)[ListNo] + 1);
    override = (*counters)[ListNo];
  }
  RPFWrite(stream, Format("\\ls%d\\ilvl%d ", {override, Level}));
}

// --- HTML -------------------------------------------------------------------------------

AnsiString TRPMarkerItemInfo::SaveHtmlImage(TRPHTMLSaveContext& context, const TRPListLevel& level) const {
  AnsiString location;
  if (!context.Images.HtmlImageHook(*this, location)) return location;
  if (level.ListType == rplstPicture) {
    if (level.HasPicture())
      location = SaveBulletImage(nullptr, 0, level.GetPicture(), context.SavedBullets, context.Options,
                                 context.Background, context.Images);
  } else if (const int32_t index = ShownImageIndex(level); index >= 0) {
    location = SaveBulletImage(level.ImageList, index, nullptr, context.SavedBullets, context.Options,
                               context.Background, context.Images);
  }
  return location;
}

void TRPMarkerItemInfo::SaveToHTML(TStream& stream, TRPHTMLSaveContext& context, const AnsiString&, int32_t) const {
  const uint32_t options = context.Options;
  if (!(options & rphtmlListMarkersInline)) return;
  const TRPListLevel* level = GetLevelInfo(context.RPStyle);
  if (!level) return;
  const bool css = context.UseCss || (options & rphtmlUseCss);
  const bool room = level->MarkerIndent >= level->LeftIndent;
  if (level->ListType == rplstPicture || IsImageListType(level->ListType)) {
    const AnsiString location = SaveHtmlImage(context, *level);
    if (location.empty()) return;
    AnsiString sizes = (options & rphtmlImageBorder0) ? " border=0 " : " ";
    const int32_t width = GetImageWidth(context.RPStyle), height = GetImageHeight(context.RPStyle);
    if ((options & rphtmlImageSize) && !NoHTMLImageSize && (width > 0 || height > 0))
      sizes += Format("width=%d height=%d ", {width, height});
    const bool span = css && IsImageListType(level->ListType) && room;
    if (span) RPFWrite(stream, Format("<span style=\"width:%dpx\">", {MarkerRoom(*level)}));
    RPFWrite(stream, Format("<img%ssrc=\"%s\"%s>", {sizes, location, GetXhtmlEmptyTagEnd(options)}));
    if (span) RPFWrite(stream, "</span>");
    RPFWriteLine(stream, "");
    return;
  }
  const TFont& font = LevelFont(*level);
  const bool wingdings = SameText(font.Name(), "Wingdings");
  const bool symbol = SameText(font.Name(), "Symbol");
  const auto* sheet = dynamic_cast<const TRPStyle*>(context.RPStyle);
  const TFontInfo* base = sheet ? sheet->TextStyles()[0] : nullptr;
  if (css) {
    AnsiString style = GetMarkerFontCss(font, true);
    if (options & rphtmlUtf8) style = CodePageTextToUtf8(context.Images.CodePage(), style);
    if (room) style += Format(" width: %dpx;", {MarkerRoom(*level)});
    RPFWrite(stream, "<span style=\"" + style + "\">");
  } else {
    RPFWrite(stream, GetMarkerFontOpenTags(font, base, !wingdings && !symbol, options));
  }
  if (level->ListType == rplstUnicodeBullet) {
    RPFWrite(stream, CharacterReferences(level->FormatStringW));
  } else if (wingdings) {
    for (char c : DisplayString)
      RPFWrite(stream, "&#" + std::to_string(GetWingdingsCodePoint(static_cast<uint8_t>(c))) + ";");
  } else if (symbol) {
    RPFWrite(stream, SymbolTextToHtml(DisplayString));
  } else {
    // Escaped: a number pattern read from a file must not turn into markup.
    RPFWrite(stream, EscapeHtmlText(DisplayString, false));
  }
  RPFWrite(stream, css ? AnsiString("</span>") : GetMarkerFontCloseTags(font, base, !wingdings && !symbol));
  RPFWriteLine(stream, "");
}

AnsiString TRPMarkerItemInfo::GetHtmlLiStyle(TRPHTMLSaveContext& context) const {
  AnsiString style;
  if (const TRPListLevel* level = GetLevelInfo(context.RPStyle);
      level && (level->ListType == rplstPicture || IsImageListType(level->ListType)))
    if (const AnsiString location = SaveHtmlImage(context, *level); !location.empty())
      style = "list-style-image: url('" + location + "')";
  if (const auto* sheet = dynamic_cast<const TRPStyle*>(context.RPStyle);
      sheet && sheet->ParaStyles()[ParaNo]->LeftIndent != 0)
    style = AppendWithSeparator(style, "margin-left: 0", "; ");
  return style.empty() ? AnsiString() : " style=\"{ " + style + " }\"";
}
