// The table as RTF rows: row and cell properties, borders, merges, and each cell's
// document written by the export's writer one nesting level deeper. Nested tables close
// their cells with "\nestcell" and write each row's properties after its cells in a
// "\*\nesttableprops" group ended by "\nestrow"; the engine's own words "\richpanetbw", "\richpanecbw" and
// "\richpanecbh" carry the preferred widths and height as they are, for its own reader.
#include <string>

#include "platform/base/Numbers.h"
#include "platform/graphics/Canvas.h"
#include "richtext/model/RPExportContexts.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/table/RPTableItem.h"

bool RPTableRTFAllowAutofit = false;

namespace {

AnsiString Num(int32_t value) { return std::to_string(value); }

// The width the table is laid out for when it has never been.
constexpr int32_t UnformattedTableWidth = 600;

struct TRtfLengths {
  double TwipsPerPixel;
  int32_t operator()(int32_t pixels) const { return static_cast<int32_t>(Round(pixels * TwipsPerPixel)); }
  // Half of a length in twips (rounded first, then halved toward zero).
  int32_t Half(int32_t pixels) const { return (*this)(pixels) / 2; }
};

// The border words of one table or cell: "\<prefix>brdrl..." for each visible side,
// only when the width is positive.
AnsiString RtfBorders(const char* prefix, TRPTableBorderStyle style, int32_t widthTwips, TColor color,
                      TColor lightColor, const TRPBooleanRect& visible, const TRPColorList& colors) {
  if (widthTwips <= 0) return {};
  const auto colorIndex = [&](TColor c) { return std::max(colors.IndexOf(c), 0); };
  // leftOrTop: the colour of the left and top sides (the pair styles mirror them).
  const auto description = [&](bool leftOrTop) -> AnsiString {
    switch (style) {
      case rptbRaised:
        return "\\brdroutset\\brdrw" + Num(widthTwips);
      case rptbLowered:
        return "\\brdrinset\\brdrw" + Num(widthTwips);
      case rptbColor:
        return "\\brdrs\\brdrw" + Num(widthTwips) + "\\brdrcf" + Num(colorIndex(color));
      case rptbRaisedColor:
        return "\\brdrs\\brdrw" + Num(widthTwips) + "\\brdrcf" + Num(colorIndex(leftOrTop ? lightColor : color));
      case rptbLoweredColor:
        return "\\brdrs\\brdrw" + Num(widthTwips) + "\\brdrcf" + Num(colorIndex(leftOrTop ? color : lightColor));
    }
    return {};
  };
  AnsiString out;
  const AnsiString p = AnsiString("\\") + prefix;
  if (visible.Left) out += p + "brdrl" + description(true);
  if (visible.Top) out += p + "brdrt" + description(true);
  if (visible.Right) out += p + "brdrr" + description(false);
  if (visible.Bottom) out += p + "brdrb" + description(false);
  return out;
}

bool EndsWithTable(const TCustomRPData& cell) {
  const int32_t count = cell.GetItemCount();
  return count > 0 && dynamic_cast<const TRPTableItemInfo*>(cell.GetItem(count - 1)) != nullptr;
}

}  // namespace

void TRPTableItemInfo::SaveRTF(TStream& stream, TRPRTFSaveContext& context, const AnsiString&, int32_t) const {
  auto& self = const_cast<TRPTableItemInfo&>(*this);
  TRPTableItemFormattingInfo& layout = self.FormattingInfo();
  if (layout.Width == 0) {
    TCanvas canvas;
    self.CalculateLayout(UnformattedTableWidth, layout, true, canvas);
  }
  const TRtfLengths twips{context.TwipsPerPixel};
  const int32_t level = context.NestingLevel;
  const bool nested = level > 0;
  TCustomRPData* data = context.RPData;
  const auto* style = data ? dynamic_cast<const TRPStyle*>(data->GetRPStyle()) : nullptr;
  const TRPAlignment alignment = style ? style->ParaStyles()[ParaNo]->Alignment : rpaLeft;
  const TRPTableRows& rows = Rows();
  const int32_t rowCount = rows.GetRowCount(), colCount = rows.GetColCount();
  const AnsiString itap = "\\itap" + Num(level + 1);

  // The row's properties that do not change from row to row.
  AnsiString tableWords = "\\trgaph" +
                          Num(twips((GetCellPadding() + GetCellBorderWidth()) * 2 + GetCellHSpacing()) / 2) +
                          "\\trleft0" + itap;
  if (alignment == rpaRight) tableWords = "\\trqr" + tableWords;
  if (alignment == rpaCenter) tableWords = "\\trqc" + tableWords;

  for (int32_t r = 0; r < rowCount; ++r) {
    const TRPTableRow& row = *rows.GetRow(r);
    AnsiString out = "\\trowd" + tableWords;
    if (r < GetHeadingRowCount()) out += "\\trhdr";
    if (const int32_t height = row.GetMaxBestHeight(); height > 0) out += "\\trrh" + Num(twips(height));
    const AnsiString padding = Num(twips(GetCellPadding()));
    out += "\\trpaddl" + padding + "\\trpaddt" + padding + "\\trpaddr" + padding + "\\trpaddb" + padding +
           "\\trpaddfl3\\trpaddft3\\trpaddfr3\\trpaddfb3";
    const AnsiString hSpacing = Num(twips.Half(GetCellHSpacing()));
    out += "\\trspdl" + hSpacing + "\\trspdr" + hSpacing + "\\trspdfl3\\trspdfr3";
    out += "\\trspdt" + Num(twips.Half(r == 0 ? GetBorderVSpacing() : GetCellVSpacing())) + "\\trspdft3";
    out += "\\trspdb" + Num(twips.Half(r == rowCount - 1 ? GetBorderVSpacing() : GetCellVSpacing())) + "\\trspdfb3";
    if (GetBestWidth() > 0) {
      out += "\\trwWidth" + Num(twips(GetBestWidth() + 2 * GetBorderWidth())) + "\\trftsWidth3";
    } else if (GetBestWidth() < 0) {
      out += "\\trwWidth" + Num(-GetBestWidth() * 50) + "\\trftsWidth2";
    } else {
      out += "\\trftsWidth1";
      if (RPTableRTFAllowAutofit || (Options & rptoRTFAllowAutofit)) out += "\\trautofit1";
    }
    if (!(PrintOptions & rptoRowsSplit)) out += "\\trkeep\\trkeepfollow";
    out += "\\richpanetbw" + Num(GetBestWidth());
    out += RtfBorders("tr", GetBorderStyle(), twips(GetBorderWidth()), GetBorderColor(), GetBorderLightColor(),
                      VisibleBorders, context.Colors);
    if (data) out += data->SaveRTFExtra(rp_rtfs_RowProps, const_cast<TRPTableRow*>(&row), r, -1, false);

    // The positions of the row that a cell stands at or covers from above.
    struct TPosition {
      TRPTableCellData* Cell;
      bool StartsHere;
    };
    std::vector<TPosition> positions;
    for (int32_t c = 0; c < colCount; ++c) {
      int32_t mainRow = -1, mainCol = -1;
      TRPTableCellData* cell = rows.GetMainCell(r, c, mainRow, mainCol);
      if (!cell || mainCol < c) continue;
      const bool startsHere = mainRow == r;
      positions.push_back({cell, startsHere});
      if (startsHere && cell->GetRowSpan() > 1) out += "\\clvmgf";
      if (!startsHere) out += "\\clvmrg";
      if (startsHere) {
        if (cell->BestWidth < 0)
          out += "\\clwWidth" + Num(-cell->BestWidth * 50) + "\\clftsWidth2";
        else if (cell->BestWidth == 0)
          out += "\\clftsWidth1";
        else if (Options & rptoRTFSaveCellPixelBestWidth)
          out += "\\clwWidth" + Num(twips(cell->BestWidth)) + "\\clftsWidth3";
        else
          out += "\\clwWidth0";
        out += "\\richpanecbw" + Num(cell->BestWidth) + "\\richpanecbh" + Num(cell->BestHeight);
      }
      out += RtfBorders("cl", GetCellBorderStyle(), twips(GetCellBorderWidth()),
                        cell->BorderColor != clNone ? cell->BorderColor : GetCellBorderColor(),
                        cell->BorderLightColor != clNone ? cell->BorderLightColor : GetCellBorderLightColor(),
                        cell->VisibleBorders, context.Colors);
      if (const TColor color = GetEffectiveCellColor(*cell); color != clNone)
        if (const int32_t index = context.Colors.IndexOf(color); index >= 0) out += "\\clcbpat" + Num(index);
      const TRPCellVAlign vAlign = cell->GetEffectiveVAlign();
      if (vAlign == rpcMiddle) out += "\\clvertalc";
      if (vAlign == rpcBottom) out += "\\clvertalb";
      if (data) out += data->SaveRTFExtra(rp_rtfs_CellProps, cell, r, c, false);
      const int32_t lastCol = std::min(mainCol + cell->GetColSpan(), layout.ColStarts.Count()) - 1;
      const int32_t right = lastCol >= 0 ? layout.ColStarts[lastCol] + layout.ColWidths[lastCol] : 0;
      out += "\\cellx" + Num(twips(right) + twips.Half(GetCellHSpacing()));
    }
    // A row of the main document: its properties, then its cells. A nested row: its
    // cells, then its properties in their own ignorable group, so that a reader that
    // knows no nesting still reads the cells' text, and one that does keeps their
    // formatting; a paragraph mark for the former follows.
    if (!nested) RPFWrite(stream, "{" + out);
    RPFWrite(stream, "\\pard\\intbl" + itap + "{");
    for (const TPosition& position : positions) {
      RPFWrite(stream, "{");
      TCustomRPData& content = *position.Cell->GetRPData();
      if (position.StartsHere && context.Writer) context.Writer->SaveSubDocument(stream, content, level + 1);
      // The cell mark ends a paragraph of the cell's own level: after a nested table,
      // whose rows leave their deeper level behind, one is opened for it.
      if (position.StartsHere && EndsWithTable(content)) RPFWrite(stream, "\\pard\\intbl" + itap + " ");
      RPFWrite(stream, nested ? "\\nestcell}" : "\\cell}");
    }
    if (nested)
      RPFWrite(stream, "}{\\*\\nesttableprops" + out + "\\nestrow}{\\nonesttables\\par}");
    else
      RPFWrite(stream, "}\\pard\\intbl" + itap + "\\row}");
  }
  if (context.Writer) context.Writer->ParagraphClosed();
}
