// Documents written by LibreOffice and pandoc, imported and checked against their
// sources: the fonts, sizes, colours, alignment, indents, spacing, borders, tabs, links,
// pictures and headers the source holds are the styles and items of the document; the
// grids of tables with merged cells and nesting are the grids html5lib reads from the
// same tables in HTML.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <sstream>

#include "imaging/png/PngCodec.h"
#include "platform/graphics/JpegImage.h"
#include "richtext/interchange/RPRTFImportFixture.h"
#include "richtext/interchange/RPRTFPeers.h"

namespace {

// --- The tables: one description, written as flat ODT for LibreOffice and as HTML ------

struct TCellShape;
// Rows of cells in reading order; a cell spanned over takes no place in the rows below
// or beside it (as in HTML).
struct TTableShape {
  std::vector<std::vector<TCellShape>> Rows;
};
struct TCellShape {
  TCellShape(std::string text, int32_t rowSpan = 1, int32_t colSpan = 1, std::vector<TTableShape> nested = {},
             std::string tail = {});
  std::string Text;
  int32_t RowSpan = 1;
  int32_t ColSpan = 1;
  std::vector<TTableShape> Nested;  // tables inside the cell, after its text
  std::string Tail;                 // text after the tables
};

TCellShape::TCellShape(std::string text, int32_t rowSpan, int32_t colSpan, std::vector<TTableShape> nested,
                       std::string tail)
    : Text(std::move(text)), RowSpan(rowSpan), ColSpan(colSpan), Nested(std::move(nested)), Tail(std::move(tail)) {}

// The slots of a table by the HTML table model: for each row, the column of each cell
// and the covered slots.
struct TSlots {
  int32_t Cols = 0;
  std::vector<std::vector<int32_t>> CellAt;  // [row][col]: index of the cell in its row, -1 covered
};

TSlots SlotsOf(const TTableShape& shape) {
  TSlots slots;
  const int32_t rowCount = static_cast<int32_t>(shape.Rows.size());
  std::vector<std::vector<bool>> taken(static_cast<size_t>(rowCount));
  std::vector<std::vector<std::pair<int32_t, int32_t>>> placed(static_cast<size_t>(rowCount));
  for (int32_t r = 0; r < rowCount; ++r) {
    int32_t c = 0;
    for (int32_t k = 0; k < static_cast<int32_t>(shape.Rows[static_cast<size_t>(r)].size()); ++k) {
      const TCellShape& cell = shape.Rows[static_cast<size_t>(r)][static_cast<size_t>(k)];
      auto isTaken = [&](int32_t row, int32_t col) {
        const auto& line = taken[static_cast<size_t>(row)];
        return col < static_cast<int32_t>(line.size()) && line[static_cast<size_t>(col)];
      };
      while (isTaken(r, c)) ++c;
      placed[static_cast<size_t>(r)].push_back({c, k});
      for (int32_t rr = r; rr < std::min(r + cell.RowSpan, rowCount); ++rr)
        for (int32_t cc = c; cc < c + cell.ColSpan; ++cc) {
          auto& line = taken[static_cast<size_t>(rr)];
          if (static_cast<int32_t>(line.size()) <= cc) line.resize(static_cast<size_t>(cc) + 1, false);
          line[static_cast<size_t>(cc)] = true;
        }
      c += cell.ColSpan;
      slots.Cols = std::max(slots.Cols, c);
    }
  }
  slots.CellAt.assign(static_cast<size_t>(rowCount), std::vector<int32_t>(static_cast<size_t>(slots.Cols), -1));
  for (int32_t r = 0; r < rowCount; ++r)
    for (const auto& [col, k] : placed[static_cast<size_t>(r)])
      slots.CellAt[static_cast<size_t>(r)][static_cast<size_t>(col)] = k;
  return slots;
}

std::string TableHtml(const TTableShape& shape) {
  std::string html = "<table border=\"1\">\n";
  for (const auto& row : shape.Rows) {
    html += "<tr>";
    for (const TCellShape& cell : row) {
      html += "<td";
      if (cell.RowSpan > 1) html += " rowspan=\"" + std::to_string(cell.RowSpan) + "\"";
      if (cell.ColSpan > 1) html += " colspan=\"" + std::to_string(cell.ColSpan) + "\"";
      html += ">" + cell.Text;
      for (const TTableShape& nested : cell.Nested) html += TableHtml(nested);
      html += cell.Tail + "</td>";
    }
    html += "</tr>\n";
  }
  return html + "</table>\n";
}

std::string TableOdt(const TTableShape& shape, int32_t& counter) {
  const TSlots slots = SlotsOf(shape);
  std::string odt = "<table:table table:name=\"T" + std::to_string(++counter) +
                    "\"><table:table-column table:number-columns-repeated=\"" + std::to_string(slots.Cols) + "\"/>\n";
  for (size_t r = 0; r < shape.Rows.size(); ++r) {
    odt += "<table:table-row>";
    for (int32_t c = 0; c < slots.Cols; ++c) {
      const int32_t k = slots.CellAt[r][static_cast<size_t>(c)];
      if (k < 0) {
        odt += "<table:covered-table-cell/>";
        continue;
      }
      const TCellShape& cell = shape.Rows[r][static_cast<size_t>(k)];
      odt += "<table:table-cell";
      if (cell.RowSpan > 1) odt += " table:number-rows-spanned=\"" + std::to_string(cell.RowSpan) + "\"";
      if (cell.ColSpan > 1) odt += " table:number-columns-spanned=\"" + std::to_string(cell.ColSpan) + "\"";
      odt += "><text:p>" + cell.Text + "</text:p>";
      for (const TTableShape& nested : cell.Nested) odt += TableOdt(nested, counter);
      if (!cell.Tail.empty()) odt += "<text:p>" + cell.Tail + "</text:p>";
      odt += "</table:table-cell>";
    }
    odt += "</table:table-row>\n";
  }
  return odt + "</table:table>\n";
}

// Merges of every kind and tables inside cells. A table inside a cell has text after it,
// stands in the last cell of a row that is not the table's last, and holds no table
// itself: LibreOffice's RTF loses the end of the row otherwise, or writes a cell too
// many (the import's own tests take those shapes).
std::vector<TTableShape> PeerTables() {
  TTableShape inner{{{{"N1"}, {"N2"}}, {{"N3", 1, 2}}}};
  TTableShape middle{{{{"M1", 2, 1}, {"M2"}}, {{"M3"}}, {{"M4"}, {"M5"}}}};
  return {
      // Horizontal and vertical merges, and a cell that spans both ways.
      TTableShape{{{{"A1"}, {"B1", 1, 2}, {"D1"}},
                   {{"A2", 2, 1}, {"B2"}, {"C2"}, {"D2", 3, 1}},
                   {{"B3", 1, 2}},
                   {{"A4"}, {"B4", 2, 2}},
                   {{"A5"}, {"D5"}}}},
      // A table inside a cell, and a table inside a table inside a cell.
      TTableShape{
          {{{"X1"}, {"X2", 1, 1, {inner}, "after N"}}, {{"Y1"}, {"Y2", 1, 1, {middle}, "after M"}}, {{"Z1"}, {"Z2"}}}},
      // A whole row merged.
      TTableShape{{{{"P1"}, {"P2"}, {"P3"}}, {{"Q", 1, 3}}, {{"R1"}, {"R2"}, {"R3"}}}},
  };
}

// --- The sources --------------------------------------------------------------------------

const char kOdtFonts[] = R"(<office:font-face-decls>
 <style:font-face style:name="Liberation Serif" svg:font-family="'Liberation Serif'"/>
 <style:font-face style:name="Liberation Sans" svg:font-family="'Liberation Sans'"/>
 <style:font-face style:name="DejaVu Sans Mono" svg:font-family="'DejaVu Sans Mono'"/>
</office:font-face-decls>
)";

const char kRichStyles[] = R"(<office:automatic-styles>
 <style:style style:name="Big" style:family="text"><style:text-properties fo:font-weight="bold" fo:color="#ff0000"
  fo:font-size="16pt" style:font-name="Liberation Sans"/></style:style>
 <style:style style:name="Mono" style:family="text"><style:text-properties fo:font-style="italic" fo:color="#0000ff"
  fo:font-size="9pt" style:font-name="DejaVu Sans Mono"/></style:style>
 <style:style style:name="Marked" style:family="text"><style:text-properties fo:background-color="#ffff00"
  style:text-underline-style="solid" style:text-underline-width="auto" style:text-underline-color="font-color"/>
 </style:style>
 <style:style style:name="Centred" style:family="paragraph"><style:paragraph-properties fo:text-align="center"
  fo:margin-top="0.25in" fo:margin-bottom="0.125in"/></style:style>
 <style:style style:name="Right" style:family="paragraph"><style:paragraph-properties fo:text-align="end"/>
 </style:style>
 <style:style style:name="Indented" style:family="paragraph"><style:paragraph-properties fo:margin-left="1in"
  fo:margin-right="0.5in" fo:text-indent="-0.25in" fo:line-height="150%" fo:keep-with-next="always"/></style:style>
 <style:style style:name="Boxed" style:family="paragraph"><style:paragraph-properties
  fo:border-bottom="1.5pt solid #0000ff" fo:padding-bottom="0.05in" fo:background-color="#e0e0e0"/></style:style>
 <style:style style:name="Tabbed" style:family="paragraph"><style:paragraph-properties><style:tab-stops>
  <style:tab-stop style:position="2in" style:type="right" style:leader-style="dotted" style:leader-text="."/>
  <style:tab-stop style:position="3in" style:type="center"/></style:tab-stops></style:paragraph-properties>
 </style:style>
 <style:page-layout style:name="Page"><style:page-layout-properties fo:page-width="8.5in" fo:page-height="11in"
  fo:margin-top="0.5in"/>
  <style:header-style><style:header-footer-properties fo:min-height="0in" fo:margin-bottom="0.2in"/>
  </style:header-style><style:footer-style/></style:page-layout>
</office:automatic-styles>
<office:master-styles><style:master-page style:name="Standard" style:page-layout-name="Page">
 <style:header><text:p>Running head</text:p></style:header><style:footer><text:p>Page foot</text:p></style:footer>
</style:master-page></office:master-styles>
)";

const char kRichBody[] = R"(
<text:p>Plain <text:span text:style-name="Big">big red</text:span> and <text:span text:style-name="Mono">small
 blue</text:span> and <text:span text:style-name="Marked">marked</text:span>.</text:p>
<text:p text:style-name="Centred">Centred text</text:p>
<text:p text:style-name="Right">Right text</text:p>
<text:p text:style-name="Indented">Indented text</text:p>
<text:p text:style-name="Boxed">Boxed text</text:p>
<text:p text:style-name="Tabbed">Left<text:tab/>Right<text:tab/>Centre</text:p>
<text:p>See <text:a xlink:type="simple" xlink:href="https://example.org/page">a link</text:a> here.</text:p>
<text:p>Pictures <draw:frame draw:name="png" text:anchor-type="as-char" svg:width="0.24in" svg:height="0.18in"><draw:image><office:binary-data>@PNG@</office:binary-data></draw:image></draw:frame> and <draw:frame draw:name="jpeg" text:anchor-type="as-char" svg:width="0.33in" svg:height="0.25in"><draw:image><office:binary-data>@JPEG@</office:binary-data></draw:image></draw:frame> end.</text:p>
)";

const char kListStyles[] = R"odt(<office:automatic-styles>
 <text:list-style style:name="Bullets">
  <text:list-level-style-bullet text:level="1" text:bullet-char="•"><style:list-level-properties
   text:space-before="0.25in" text:min-label-width="0.25in"/></text:list-level-style-bullet>
  <text:list-level-style-bullet text:level="2" text:bullet-char="◦"><style:list-level-properties
   text:space-before="0.5in" text:min-label-width="0.25in"/></text:list-level-style-bullet>
 </text:list-style>
 <text:list-style style:name="Multi">
  <text:list-level-style-number text:level="1" style:num-suffix="." style:num-format="1"><style:list-level-properties
   text:space-before="0.25in" text:min-label-width="0.25in"/></text:list-level-style-number>
  <text:list-level-style-number text:level="2" style:num-suffix="." style:num-format="1" text:display-levels="2">
   <style:list-level-properties text:space-before="0.5in" text:min-label-width="0.4in"/></text:list-level-style-number>
  <text:list-level-style-number text:level="3" style:num-suffix=")" style:num-format="a"><style:list-level-properties
   text:space-before="0.9in" text:min-label-width="0.3in"/></text:list-level-style-number>
 </text:list-style>
 <text:list-style style:name="Roman">
  <text:list-level-style-number text:level="1" style:num-prefix="(" style:num-suffix=")" style:num-format="I">
   <style:list-level-properties text:space-before="0.25in" text:min-label-width="0.5in"/></text:list-level-style-number>
 </text:list-style>
 <text:list-style style:name="Letters">
  <text:list-level-style-number text:level="1" style:num-suffix="." style:num-format="A" text:start-value="3">
   <style:list-level-properties text:space-before="0.25in" text:min-label-width="0.3in"/></text:list-level-style-number>
 </text:list-style>
</office:automatic-styles>
)odt";

const char kListBody[] = R"odt(
<text:list text:style-name="Bullets"><text:list-item><text:p>Apple</text:p>
 <text:list><text:list-item><text:p>Green</text:p></text:list-item><text:list-item><text:p>Red</text:p></text:list-item>
 </text:list></text:list-item><text:list-item><text:p>Pear</text:p></text:list-item></text:list>
<text:p>Between.</text:p>
<text:list text:style-name="Multi"><text:list-item><text:p>One</text:p>
 <text:list><text:list-item><text:p>One.one</text:p></text:list-item><text:list-item><text:p>One.two</text:p>
  <text:list><text:list-item><text:p>Deep a</text:p></text:list-item><text:list-item><text:p>Deep b</text:p></text:list-item>
  </text:list></text:list-item></text:list></text:list-item>
 <text:list-item><text:p>Two</text:p><text:list><text:list-item><text:p>Two.one</text:p></text:list-item></text:list>
 </text:list-item></text:list>
<text:list text:style-name="Roman"><text:list-item><text:p>First</text:p></text:list-item><text:list-item>
 <text:p>Second</text:p></text:list-item><text:list-item><text:p>Third</text:p></text:list-item><text:list-item>
 <text:p>Fourth</text:p></text:list-item></text:list>
<text:list text:style-name="Letters"><text:list-item><text:p>Cee</text:p></text:list-item><text:list-item>
 <text:p>Dee</text:p></text:list-item></text:list>
<text:p>The end.</text:p>
)odt";

std::string OdtDocument(const std::string& styles, const std::string& body) {
  return std::string(kFlatOdtStart) + kOdtFonts + styles + "<office:body><office:text>\n" + body +
         "</office:text></office:body></office:document>\n";
}

std::vector<std::pair<std::string, std::string>> ImportPeerSources(const std::string& pngBase64,
                                                                   const std::string& jpegBase64) {
  using RtfPeerDetail::Replace;
  std::string tablesOdt = "<text:p>Tables follow.</text:p>\n";
  std::string tablesHtml = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>t</title></head><body>\n";
  int32_t counter = 0;
  for (const TTableShape& table : PeerTables()) {
    tablesOdt += TableOdt(table, counter) + "<text:p>Between.</text:p>\n";
    tablesHtml += TableHtml(table) + "<p>Between.</p>\n";
  }
  tablesHtml += "</body></html>\n";
  const std::string markdown =
      "# Title\n\nSome *emphasis* and **strong** and `code` text.\n\n"
      "A [link](https://example.org/x) here.\n\n"
      "Привет, мир.\n\n"
      "| Left | Right |\n|------|-------|\n| a1   | b1    |\n| a2   | b2    |\n";
  return {
      {"import-rich.fodt",
       OdtDocument(kRichStyles, Replace(Replace(kRichBody, "@PNG@", pngBase64), "@JPEG@", jpegBase64))},
      {"import-tables.fodt", OdtDocument("", tablesOdt)},
      {"import-tables.html", tablesHtml},
      {"import-pandoc.md", markdown},
      {"import-lists.fodt", OdtDocument(kListStyles, kListBody)},
  };
}

const TRtfPeerFiles& ImportPeerFiles() {
  static const TRtfPeerFiles files =
      MakeRtfPeerFiles("rtf-import-peer-cache", &ImportPeerSources, {}, {"import-lists"});
  return files;
}

// --- The tests ------------------------------------------------------------------------------

class RPRTFImportPeers : public ::testing::Test {
protected:
  RPRTFImportPeers() {
    F.Props.UnicodeMode = rpruMixed;
    F.Props.TextStyleMode = rprsAddIfNeeded;
    F.Props.ParaStyleMode = rprsAddIfNeeded;
    F.Props.SetHeaderFooters(&F.Header, &F.Footer);
    F.Helper.RichPane().Options |= rpoTagsArePChars;
  }

  void Import(const std::string& name) {
    const TRtfPeerFiles& files = ImportPeerFiles();
    ASSERT_TRUE(files.Error.empty()) << files.Error;
    const std::vector<uint8_t> bytes = ReadBytesOf(files.Rtf(name).string());
    ASSERT_FALSE(bytes.empty()) << files.Rtf(name);
    ASSERT_EQ(F.Import(std::string(bytes.begin(), bytes.end())), rtf_ec_OK);
  }

  TReportRPData& Data() { return F.Data(); }

  // The first text item whose text is text.
  int32_t ItemOf(const std::string& text) {
    for (int32_t i = 0; i < Data().GetItemCount(); ++i)
      if (Data().GetItemStyle(i) >= 0 && TImportFixture::ItemText(Data(), i) == text) return i;
    ADD_FAILURE() << "no item '" << text << "' in\n" << TImportFixture::Dump(Data());
    return 0;
  }
  const TFontInfo& TextStyleOf(const std::string& text) {
    return *F.Style.TextStyles()[Data().GetItemStyle(ItemOf(text))];
  }
  const TParaInfo& ParaStyleOf(const std::string& text) {
    return *F.Style.ParaStyles()[Data().GetItemPara(ItemOf(text))];
  }

  TImportFixture F;
};

TEST_F(RPRTFImportPeers, LibreOfficeTextStylesAreTheSourcesFormatting) {
  Import("import-rich");
  const struct {
    const char* Text;
    const char* Font;
    int32_t Size;
    TFontStyles Style;
    TColor Color;
    TColor BackColor;
  } runs[] = {
      {"Plain ", "Liberation Serif", 12, {}, clWindowText, clNone},
      {"big red", "Liberation Sans", 16, {fsBold}, 0x0000FF, clNone},
      {"small blue", "DejaVu Sans Mono", 9, {fsItalic}, 0xFF0000, clNone},
      {"marked", "Liberation Serif", 12, {fsUnderline}, clWindowText, 0x00FFFF},
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(run.Text);
    const TFontInfo& style = TextStyleOf(run.Text);
    EXPECT_EQ(style.FontName, run.Font);
    EXPECT_EQ(style.Size, run.Size);
    EXPECT_EQ(style.Style, run.Style);
    EXPECT_EQ(style.Color, run.Color);
    EXPECT_EQ(style.BackColor, run.BackColor);
    EXPECT_FALSE(style.Jump);
  }
}

TEST_F(RPRTFImportPeers, LibreOfficeParagraphStylesAreTheSourcesParagraphs) {
  Import("import-rich");
  EXPECT_EQ(ParaStyleOf("Centred text").Alignment, rpaCenter);
  EXPECT_EQ(ParaStyleOf("Centred text").SpaceBefore, 24);  // 0.25 inch
  EXPECT_EQ(ParaStyleOf("Centred text").SpaceAfter, 12);
  EXPECT_EQ(ParaStyleOf("Right text").Alignment, rpaRight);
  const TParaInfo& indented = ParaStyleOf("Indented text");
  EXPECT_EQ(indented.LeftIndent, 96);
  EXPECT_EQ(indented.RightIndent, 48);
  EXPECT_EQ(indented.FirstIndent, -24);
  EXPECT_EQ(indented.LineSpacing, 150);
  EXPECT_TRUE(indented.Options.Contains(rppaoKeepWithNext));
  const TParaInfo& boxed = ParaStyleOf("Boxed text");
  EXPECT_EQ(boxed.Border.Style, rpbSingle);
  EXPECT_EQ(boxed.Border.Width, 2);  // 1.5 points
  EXPECT_EQ(boxed.Border.Color, 0xFF0000);
  EXPECT_TRUE(boxed.Border.VisibleBorders.IsEqualToValues(false, false, false, true));
  EXPECT_EQ(boxed.Border.BorderOffsets.Bottom, 5);  // 0.05 inch
  EXPECT_EQ(boxed.SpaceAfter, 5 + 5 - 1);           // room for the padding and the lines
  EXPECT_EQ(boxed.Background.Color, 0xE0E0E0);
  const TParaInfo& tabbed = ParaStyleOf("Left");
  ASSERT_EQ(tabbed.Tabs.Count(), 2);
  EXPECT_EQ(tabbed.Tabs.Tab(0)->Position(), 192);
  EXPECT_EQ(tabbed.Tabs.Tab(0)->Align, rptaRight);
  EXPECT_EQ(tabbed.Tabs.Tab(0)->Leader, ".");
  EXPECT_EQ(tabbed.Tabs.Tab(1)->Position(), 288);
  EXPECT_EQ(tabbed.Tabs.Tab(1)->Align, rptaCenter);
  EXPECT_EQ(Data().GetItem(ItemOf("Left") + 1)->StyleNo, rpkindTab);
}

TEST_F(RPRTFImportPeers, LibreOfficeLinksPicturesHeadersAndFooters) {
  Import("import-rich");
  const int32_t link = ItemOf("a link");
  EXPECT_TRUE(F.Style.TextStyles()[Data().GetItemStyle(link)]->Jump);
  EXPECT_EQ(Data().GetItem(link)->Tag.Text(), "https://example.org/page");

  const int32_t pictures = ItemOf("Pictures ");
  const auto* png = dynamic_cast<const TRPGraphicItemInfo*>(Data().GetItem(pictures + 1));
  const auto* jpeg = dynamic_cast<const TRPGraphicItemInfo*>(Data().GetItem(pictures + 3));
  ASSERT_NE(png, nullptr);
  ASSERT_NE(jpeg, nullptr);
  EXPECT_NE(dynamic_cast<const TPNGObject*>(png->Image.get()), nullptr);
  EXPECT_EQ(png->GetImageWidth(nullptr), 23);  // its own size
  EXPECT_EQ(png->GetImageHeight(nullptr), 17);
  EXPECT_NE(dynamic_cast<const TJPEGImage*>(jpeg->Image.get()), nullptr);
  EXPECT_EQ(jpeg->Image->Width(), 32);
  EXPECT_EQ(jpeg->GetImageWidth(nullptr), 31);  // scaled to 98% of its 32-pixel goal
  EXPECT_EQ(jpeg->GetImageHeight(nullptr), 24);

  EXPECT_EQ(TImportFixture::PlainText(F.Header), "Running head");
  EXPECT_EQ(TImportFixture::PlainText(F.Footer), "Page foot");
  EXPECT_EQ(F.Props.HeaderY(), 13);  // the page's top margin, 0.5 inch: 12.7 millimetres
  EXPECT_EQ(F.Props.FooterY(), 20);  // the bottom margin, 2 centimetres
}

TEST_F(RPRTFImportPeers, LibreOfficeParagraphsAreTheSourcesParagraphs) {
  Import("import-rich");
  EXPECT_EQ(TImportFixture::PlainText(Data()),
            "Plain big red and small blue and marked.\nCentred text\nRight text\nIndented text\nBoxed text\n"
            "Left\tRight\tCentre\nSee a link here.\nPictures  and  end.");
}

TEST_F(RPRTFImportPeers, AddIfNeededTwiceAddsEachStyleOnce) {
  Import("import-rich");
  const int32_t textStyles = F.Style.TextStyles().Count();
  const int32_t paraStyles = F.Style.ParaStyles().Count();
  const int32_t items = Data().GetItemCount();
  Import("import-rich");
  EXPECT_EQ(F.Style.TextStyles().Count(), textStyles);
  EXPECT_EQ(F.Style.ParaStyles().Count(), paraStyles);
  ASSERT_EQ(Data().GetItemCount(), 2 * items);
  for (int32_t i = 0; i < items; ++i) {
    EXPECT_EQ(Data().GetItem(i)->StyleNo, Data().GetItem(items + i)->StyleNo) << i;
    EXPECT_EQ(Data().GetItemPara(i), Data().GetItemPara(items + i)) << i;
  }
}

TEST_F(RPRTFImportPeers, ClosestStylesOfAPreparedStyleSheet) {
  // The style sheet already holds the source's looks: nothing is added and each run
  // finds its own.
  F.Props.TextStyleMode = rprsUseClosest;
  TFontInfo& big = *F.Style.TextStyles().Add();
  big.FontName = "Liberation Sans";
  big.Size = 16;
  big.Style = {fsBold};
  big.Color = 0x0000FF;
  TFontInfo& mono = *F.Style.TextStyles().Add();
  mono.FontName = "DejaVu Sans Mono";
  mono.Size = 9;
  mono.Style = {fsItalic};
  mono.Color = 0xFF0000;
  Import("import-rich");
  EXPECT_EQ(F.Style.TextStyles().Count(), 8);
  EXPECT_EQ(Data().GetItemStyle(ItemOf("big red")), 6);
  EXPECT_EQ(Data().GetItemStyle(ItemOf("small blue")), 7);
  EXPECT_TRUE(F.Style.TextStyles()[Data().GetItemStyle(ItemOf("a link"))]->Jump);
}

TEST_F(RPRTFImportPeers, PandocDocuments) {
  Import("import-pandoc");
  const TFontInfo& title = TextStyleOf("Title");
  EXPECT_EQ(title.FontName, "Helvetica");
  EXPECT_EQ(title.Size, 18);
  EXPECT_TRUE(title.Style.Contains(fsBold));
  EXPECT_TRUE(TextStyleOf("emphasis").Style.Contains(fsItalic));
  EXPECT_TRUE(TextStyleOf("strong").Style.Contains(fsBold));
  EXPECT_EQ(TextStyleOf("code").FontName, "Courier");
  EXPECT_EQ(ParaStyleOf("Title").SpaceAfter, 12);  // \sa180
  const int32_t link = ItemOf("link");
  EXPECT_TRUE(F.Style.TextStyles()[Data().GetItemStyle(link)]->Jump);
  EXPECT_EQ(Data().GetItem(link)->Tag.Text(), "https://example.org/x");
  EXPECT_TRUE(TextStyleOf("Привет").Unicode);  // UTF-16 runs between 8-bit ones
  EXPECT_NE(TImportFixture::PlainText(Data()).find("\nПривет, мир.\n"), std::string::npos);
  // The table: two columns of three rows, the heading row with a bottom border.
  int32_t tableNo = -1;
  for (int32_t i = 0; i < Data().GetItemCount(); ++i)
    if (dynamic_cast<TRPTableItemInfo*>(Data().GetItem(i))) tableNo = i;
  ASSERT_GE(tableNo, 0);
  auto& table = dynamic_cast<TRPTableItemInfo&>(*Data().GetItem(tableNo));
  ASSERT_EQ(table.Rows().GetRowCount(), 3);
  ASSERT_EQ(table.Rows().GetColCount(), 2);
  EXPECT_EQ(TImportFixture::PlainText(*table.GetCell(2, 1)), "b2");
  EXPECT_TRUE(table.GetCell(0, 0)->VisibleBorders.IsEqualToValues(false, false, false, true));
  EXPECT_TRUE(table.GetCell(1, 0)->VisibleBorders.IsAllEqual(false));
  EXPECT_EQ(table.GetCell(0, 0)->BestWidth, 288);  // 4320 twips, no widths given
}

// The grids of the imported tables, written as the table peer writes them.
void DumpGrids(const TRPTableItemInfo& table, int32_t depth, std::string& out) {
  const TRPTableRows& rows = table.Rows();
  out += "table " + std::to_string(depth) + " " + std::to_string(rows.GetRowCount()) + "x" +
         std::to_string(rows.GetColCount()) + "\n";
  std::vector<const TRPTableItemInfo*> nested;
  for (int32_t r = 0; r < rows.GetRowCount(); ++r)
    for (int32_t c = 0; c < rows.GetColCount(); ++c) {
      const TRPTableCellData* cell = rows.GetCell(r, c);
      if (!cell) continue;
      std::string text;
      for (int32_t i = 0; i < cell->GetItemCount(); ++i) {
        if (const auto* inner = dynamic_cast<const TRPTableItemInfo*>(cell->GetItem(i))) nested.push_back(inner);
        if (cell->GetItemStyle(i) < 0) continue;
        const std::string part = TImportFixture::ItemText(*cell, i);
        if (part.empty()) continue;
        if (!text.empty()) text += " ";
        text += part;
      }
      out += "cell " + std::to_string(r) + "," + std::to_string(c) + " " + std::to_string(cell->GetRowSpan()) + "x" +
             std::to_string(cell->GetColSpan()) + " " + text + "\n";
    }
  for (const TRPTableItemInfo* inner : nested) DumpGrids(*inner, depth + 1, out);
}

TEST_F(RPRTFImportPeers, TableGridsAreTheGridsHtml5libReads) {
  const TRtfPeerFiles& files = ImportPeerFiles();
  ASSERT_TRUE(files.Error.empty()) << files.Error;
  const std::string grids = (files.Dir / "tables.grids").string();
  const std::string command = std::string(kRtfPeerPython) +
                              " '" QF_TEST_SOURCE_DIR "/richtext/interchange/rtf_table_peer.py' '" +
                              files.Source("import-tables.html").string() + "' '" + grids + "' 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command << " (it needs python3-html5lib; run scripts/setup.sh)";
  const std::vector<uint8_t> expected = ReadBytesOf(grids);

  Import("import-tables");
  std::string actual;
  for (int32_t i = 0; i < Data().GetItemCount(); ++i)
    if (const auto* table = dynamic_cast<const TRPTableItemInfo*>(Data().GetItem(i))) DumpGrids(*table, 0, actual);
  EXPECT_EQ(actual, std::string(expected.begin(), expected.end()));
}

// The paragraphs of a document as LibreOffice writes them as text: each list paragraph
// begins with its marker's label and a blank.
std::string LabelledText(const TCustomRPData& data, const TRPStyle& style) {
  std::string text;
  for (int32_t i = 0; i < data.GetItemCount(); ++i) {
    const TCustomRPItemInfo& item = *data.GetItem(i);
    if (i > 0 && !item.GetContinuesLine()) text += "\n";
    if (const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(&item)) {
      const TRPListLevel* level = marker->GetLevelInfo(&style);
      EXPECT_NE(level, nullptr) << "marker " << i;
      if (!level) continue;
      text += WideToUtf8Text(level->ListType == rplstUnicodeBullet ? level->FormatStringW
                                                                   : Utf8ToWideText(marker->DisplayString)) +
              " ";
    } else if (item.StyleNo >= 0) {
      text += TImportFixture::ItemText(data, i);
    }
  }
  return text;
}

TEST_F(RPRTFImportPeers, ListLabelsAreTheLabelsOfLibreOfficesText) {
  const TRtfPeerFiles& files = ImportPeerFiles();
  ASSERT_TRUE(files.Error.empty()) << files.Error;
  std::vector<uint8_t> bytes = ReadBytesOf(files.Text("import-lists").string());
  std::string expected(bytes.begin(), bytes.end());
  if (expected.starts_with("\xEF\xBB\xBF")) expected.erase(0, 3);  // the byte-order mark
  // Lines without their indentation and the line ends, as the document's paragraphs.
  std::string lines;
  std::istringstream in(expected);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line.erase(0, line.find_first_not_of(' '));
    if (!lines.empty()) lines += "\n";
    lines += line;
  }
  Import("import-lists");
  EXPECT_EQ(LabelledText(Data(), F.Style), lines);
  // Bullets, three numbered levels, Roman numbers, letters from C, and a list of
  // LibreOffice's own that numbers nothing: five lists, five list styles.
  ASSERT_EQ(F.Style.ListStyles().Count(), 5);
  const TRPListInfo& multi = *F.Style.ListStyles()[1];
  EXPECT_EQ(multi.Levels()[1]->FormatString, "%0:s.%1:s.");
  EXPECT_EQ(multi.Levels()[2]->ListType, rplstLowerAlpha);
  EXPECT_EQ(F.Style.ListStyles()[0]->Levels()[0]->ListType, rplstUnicodeBullet);
  EXPECT_EQ(F.Style.ListStyles()[3]->Levels()[0]->StartFrom, 3);
}

TEST_F(RPRTFImportPeers, ListStylesOfAListImportedTwiceAreReused) {
  Import("import-lists");
  const int32_t listStyles = F.Style.ListStyles().Count();
  const int32_t items = Data().GetItemCount();
  Import("import-lists");
  EXPECT_EQ(F.Style.ListStyles().Count(), listStyles);
  // The second copy's lists go on from the first's numbers: they are the same lists.
  const auto* first = dynamic_cast<const TRPMarkerItemInfo*>(Data().GetItem(items + 0));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->ListNo, dynamic_cast<const TRPMarkerItemInfo&>(*Data().GetItem(0)).ListNo);
}

// Laid out on report pages: every imported document fills pages, and every item of it
// has its place on one.
TEST_F(RPRTFImportPeers, ImportedDocumentsFillReportPages) {
  for (const char* name : {"import-rich", "import-tables", "import-pandoc", "import-lists"}) {
    SCOPED_TRACE(name);
    TImportFixture f;
    f.Props.UnicodeMode = rpruMixed;
    f.Props.TextStyleMode = rprsAddIfNeeded;
    f.Props.ParaStyleMode = rprsAddIfNeeded;
    const TRtfPeerFiles& files = ImportPeerFiles();
    ASSERT_TRUE(files.Error.empty()) << files.Error;
    const std::vector<uint8_t> bytes = ReadBytesOf(files.Rtf(name).string());
    ASSERT_EQ(f.Import(std::string(bytes.begin(), bytes.end())), rtf_ec_OK);
    TBitmap page;
    page.SetPixelFormat(pf24bit);
    page.SetSize(300, 200);
    f.Helper.BeginLayout(*page.Canvas(), 300);
    for (int32_t calls = 0; f.Helper.LayoutNextPage(200); ++calls) ASSERT_LT(calls, 1000);
    const int32_t pages = f.Helper.GetPagesCount();
    EXPECT_GE(pages, 1);
    std::vector<bool> placed(static_cast<size_t>(f.Data().GetItemCount()), false);
    for (int32_t i = 0; i < f.Data().DrawItems.Count(); ++i)
      placed[static_cast<size_t>(f.Data().DrawItems[i]->ItemNo)] = true;
    for (size_t i = 0; i < placed.size(); ++i) EXPECT_TRUE(placed[i]) << "item " << i;
    for (int32_t p = 1; p <= pages; ++p) f.Helper.PaintPage(p, *page.Canvas(), false, 200);
  }
}

}  // namespace
