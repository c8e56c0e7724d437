// The table as an HTML "table" element: legacy attributes in the classic flavour, CSS
// styles when the export writes styles (the CSS flavour, or the classic one with its
// styles option), each cell's document written by the export's body writer.
#include <string>
#include <vector>

#include "platform/base/Numbers.h"
#include "richtext/model/RPExportContexts.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPHtmlHelpers.h"
#include "richtext/model/RPPictureHtml.h"
#include "richtext/model/RPStringHelpers.h"
#include "richtext/table/RPTableItem.h"

namespace {

AnsiString Num(int32_t value) { return std::to_string(value); }

// Options of the HTML export read here (beside those of RPHtmlHelpers.h).
constexpr uint32_t HeadOnly = 0x0002;
constexpr uint32_t BodyOnly = 0x0004;
constexpr uint32_t EndOnly = 0x0008;

// Builds " name=value" attributes: a value is written only when it is not empty and
// differs from the attribute's default; quoted under XHTML, and always when it holds
// characters that HTML allows in no unquoted value (a colour's "#", a "%").
class THtmlAttributes {
public:
  explicit THtmlAttributes(uint32_t options) : FOptions(options) {}
  AnsiString operator()(const char* name, const AnsiString& value, const char* defaultValue = "") const {
    if (value.empty() || value == defaultValue) return {};
    const bool plain = value.find_first_not_of("0123456789abcdefghijklmnopqrstuvwxyz") == AnsiString::npos;
    return AnsiString(" ") + name + "=" + (plain ? QuoteHtmlValue(value, FOptions) : "\"" + value + "\"");
  }

private:
  uint32_t FOptions;
};

// A preferred width as HTML: pixels, or the percentage with "%"; empty for none.
AnsiString HtmlLength(TRPHTMLLength length) {
  if (length > 0) return Num(length);
  if (length < 0) return Num(-length) + "%";
  return {};
}

// A length as CSS: pixels or percent.
AnsiString CssLength(TRPHTMLLength length) { return length < 0 ? Num(-length) + "%" : Num(length) + "px"; }

AnsiString Html(TColor color) { return ColorToHtmlColor(color); }

// "border-top: none;" and the like for each hidden side.
AnsiString HiddenSidesCss(const TRPBooleanRect& visible) {
  AnsiString css;
  if (!visible.Top) css = AppendWithSpace(css, "border-top: none;");
  if (!visible.Right) css = AppendWithSpace(css, "border-right: none;");
  if (!visible.Bottom) css = AppendWithSpace(css, "border-bottom: none;");
  if (!visible.Left) css = AppendWithSpace(css, "border-left: none;");
  return css;
}

const char* VAlignName(TRPCellVAlign vAlign) {
  switch (vAlign) {
    case rpcTop:
      return "top";
    case rpcMiddle:
      return "middle";
    case rpcBottom:
      return "bottom";
    case rpcVDefault:
      break;
  }
  return "";
}

bool IsPlacedBackground(TRPItemBackgroundStyle style) { return style == rpbsStretched || style == rpbsCentered; }

}  // namespace

AnsiString TRPTableItemInfo::HtmlBackgroundLocation(TRPHTMLSaveContext& context, const TRPTableCellData* cell,
                                                    TColor backColor) const {
  const AnsiString& ownFile = cell ? cell->BackgroundImageFileName : BackgroundImageFileName;
  const TGraphic* image = cell ? cell->GetBackgroundImage() : GetBackgroundImage();
  IRPHtmlImageContext& images = context.Images;
  AnsiString location;
  if ((context.Options & rphtmlUseImageFileName) && !ownFile.empty()) {
    location = images.RelativeToDocument(ownFile);
  } else {
    const bool byDefault = cell ? (!context.Writer || context.Writer->BackgroundImageHook(
                                                          *const_cast<TRPTableCellData*>(cell), backColor, location))
                                : images.HtmlImageHook(*this, location);
    if (byDefault) {
      location.clear();
      if (image && !image->Empty()) location = images.SavePictureForExport(*image, backColor);
    }
  }
  return location.empty() ? location : MakeHtmlPath(location, context.Options, images.CodePage());
}

void TRPTableItemInfo::SaveToHTML(TStream& stream, TRPHTMLSaveContext& context, const AnsiString&, int32_t) const {
  const uint32_t options = context.Options;
  const bool css = context.UseCss;
  const bool styled = css || (options & rphtmlUseCss);
  const bool xhtml = (options & rphtmlQuotedAttributes) != 0;
  const THtmlAttributes attr(options);
  const int32_t cellSpacing = static_cast<int32_t>(Round((GetCellVSpacing() + GetCellHSpacing()) / 2.0));
  const TColor tableColor = GetColor();
  const AnsiString tableBackground = GetBackgroundImage() ? HtmlBackgroundLocation(context, nullptr, tableColor) : "";

  // The table's style.
  AnsiString tableCss;
  if (styled) {
    if (GetBorderWidth() > 0) {
      switch (GetBorderStyle()) {
        case rptbLowered:
          tableCss = "border-style: inset;";
          break;
        case rptbRaisedColor:
          tableCss = "border-color: " + Html(GetBorderLightColor()) + " " + Html(GetBorderColor()) + " " +
                     Html(GetBorderColor()) + " " + Html(GetBorderLightColor()) + "; border-style: solid;";
          break;
        case rptbLoweredColor:
          tableCss = "border-color: " + Html(GetBorderColor()) + " " + Html(GetBorderLightColor()) + " " +
                     Html(GetBorderLightColor()) + " " + Html(GetBorderColor()) + "; border-style: solid;";
          break;
        case rptbColor:
          if (css) tableCss = "border-color: " + Html(GetBorderColor()) + "; border-style: solid;";
          break;
        case rptbRaised:
          break;
      }
    }
    if (IsPlacedBackground(GetBackgroundStyle()))
      tableCss = AppendWithSpace(tableCss, "background-position: center center; background-repeat: no-repeat;");
    if (css && !tableBackground.empty())
      tableCss = AppendWithSpace(tableCss, "background-image: url('" + tableBackground + "');");
    if (css && tableColor != clNone)
      tableCss = AppendWithSpace(tableCss, "background-color: " + Html(tableColor) + ";");
    if (cellSpacing < 0) tableCss = AppendWithSpace(tableCss, "border-collapse: collapse;");
    if (GetBorderWidth() > 0) tableCss = AppendWithSpace(tableCss, HiddenSidesCss(VisibleBorders));
  }
  // A table without a border of its own but with cell borders keeps the cells' borders
  // through border=1 and a table border width of 0 (in the one style attribute).
  AnsiString border = " border=" + FormatHtmlInt(GetBorderWidth(), options);
  if (styled && GetBorderWidth() <= 0 && GetCellBorderWidth() != 0) {
    border = " border=" + FormatHtmlInt(1, options);
    tableCss = AppendWithSpace("border-width : 0px;", tableCss);
  }

  AnsiString out =
      "<table" + attr("width", HtmlLength(GetBestWidth())) + border + attr("cellpadding", Num(GetCellPadding()), "1");
  if (!css) {
    if (GetBorderStyle() == rptbColor) out += attr("bordercolor", Html(GetBorderColor()));
    if (GetBorderStyle() == rptbRaisedColor)
      out += attr("bordercolorlight", Html(GetBorderLightColor())) + attr("bordercolordark", Html(GetBorderColor()));
    if (GetBorderStyle() == rptbLoweredColor)
      out += attr("bordercolorlight", Html(GetBorderColor())) + attr("bordercolordark", Html(GetBorderLightColor()));
  }
  out += attr("cellspacing", Num(std::max(cellSpacing, 0)), "2");
  if (!css) {
    if (tableColor != clNone) out += attr("bgcolor", Html(tableColor));
    if (!tableBackground.empty()) out += " background=\"" + tableBackground + "\"";
  }
  if (!tableCss.empty()) out += " style=\"" + tableCss + "\"";
  RPFWriteLine(stream, out + ">");

  // The border part of the cells' style, the same for every cell that has no border
  // colours of its own.
  const auto cellBorderCss = [&](TColor color, TColor lightColor) {
    AnsiString part;
    const int32_t cellWidth = GetCellBorderWidth(), tableWidth = GetBorderWidth();
    if (!((tableWidth == cellWidth && tableWidth <= 1) || (cellWidth == 1 && tableWidth > 1)))
      part = "border-width : " + Num(cellWidth) + "px;";
    if (cellWidth <= 0) return part;
    const bool sameAsTable = color == GetBorderColor() && lightColor == GetBorderLightColor() &&
                             (GetBorderStyle() == rptbRaisedColor || GetBorderStyle() == rptbLoweredColor);
    switch (GetCellBorderStyle()) {
      case rptbRaised:
        return AppendWithSpace(part, "border-style: outset;");
      case rptbLowered:
        return AppendWithSpace(part, "border-style: inset;");
      case rptbColor:
        return AppendWithSpace(part, "border-color: " + Html(color) + "; border-style: solid;");
      case rptbRaisedColor:
        if (sameAsTable) return part;
        return AppendWithSpace(part, "border-color : " + Html(lightColor) + " " + Html(color) + " " + Html(color) +
                                         " " + Html(lightColor) + "; border-style: solid;");
      case rptbLoweredColor:
        if (sameAsTable) return part;
        return AppendWithSpace(part, "border-color : " + Html(color) + " " + Html(lightColor) + " " + Html(lightColor) +
                                         " " + Html(color) + "; border-style: solid;");
    }
    return part;
  };
  const AnsiString tableCellBorderCss = styled ? cellBorderCss(GetCellBorderColor(), GetCellBorderLightColor()) : "";

  const uint32_t cellOptions = (options & ~(HeadOnly | EndOnly)) | BodyOnly;
  const TRPTableRows& rows = Rows();
  for (int32_t r = 0; r < rows.GetRowCount(); ++r) {
    const TRPTableRow& row = *rows.GetRow(r);
    RPFWriteLine(stream, "<tr" + attr("valign", VAlignName(row.VAlign)) + ">");
    for (int32_t c = 0; c < rows.GetColCount(); ++c) {
      TRPTableCellData* cell = row.GetItem(c);
      if (!cell) continue;
      const TColor cellColor = GetEffectiveCellColor(*cell);
      const AnsiString cellBackground =
          cell->GetBackgroundImage() ? HtmlBackgroundLocation(context, cell, cellColor) : "";
      AnsiString cellCss;
      if (styled) {
        cellCss =
            cell->BorderColor == clNone && cell->BorderLightColor == clNone
                ? tableCellBorderCss
                : cellBorderCss(cell->BorderColor != clNone ? cell->BorderColor : GetCellBorderColor(),
                                cell->BorderLightColor != clNone ? cell->BorderLightColor : GetCellBorderLightColor());
        if (IsPlacedBackground(cell->GetBackgroundStyle()))
          cellCss = AppendWithSpace(cellCss, "background-position: center center; background-repeat: no-repeat;");
        else if (IsPlacedBackground(GetBackgroundStyle()))
          cellCss = AppendWithSpace(cellCss, "background-position: left top; background-repeat: repeat;");
        if (css && !cellBackground.empty())
          cellCss = AppendWithSpace(cellCss, "background-image: url('" + cellBackground + "');");
        if (GetCellBorderWidth() > 0) cellCss = AppendWithSpace(cellCss, HiddenSidesCss(cell->VisibleBorders));
        if (cell->GetCellColor() != clNone && cell->GetCellColor() != tableColor)
          cellCss = AppendWithSpace(cellCss, "background-color: " + Html(cell->GetCellColor()) + ";");
        if (css && xhtml) {
          if (cell->BestWidth != 0) cellCss = AppendWithSpace(cellCss, "width: " + CssLength(cell->BestWidth) + ";");
          if (cell->BestHeight != 0) cellCss = AppendWithSpace(cellCss, "height: " + CssLength(cell->BestHeight) + ";");
        }
      }
      AnsiString td =
          "<td" + attr("colspan", Num(cell->GetColSpan()), "1") + attr("rowspan", Num(cell->GetRowSpan()), "1");
      if (!(css && xhtml))
        td += attr("width", HtmlLength(cell->BestWidth)) + attr("height", HtmlLength(cell->BestHeight));
      td += attr("valign", VAlignName(cell->VAlign));
      if (!css) {
        if (cell->GetCellColor() != clNone && cell->GetCellColor() != tableColor)
          td += attr("bgcolor", Html(cell->GetCellColor()));
        if (!cellBackground.empty()) td += " background=\"" + cellBackground + "\"";
      }
      if (!cellCss.empty()) td += " style=\"" + cellCss + "\"";
      RPFWrite(stream, td + ">");
      if (!cell->HasContent(false))
        RPFWrite(stream, "<br" + GetXhtmlEmptyTagEnd(options) + ">");
      else if (context.Writer)
        context.Writer->SaveSubDocumentBody(stream, *cell->GetRPData(), cellOptions, cellColor);
      RPFWriteLine(stream, "</td>");
    }
    RPFWriteLine(stream, "</tr>");
  }
  RPFWriteLine(stream, "</table>");
}
