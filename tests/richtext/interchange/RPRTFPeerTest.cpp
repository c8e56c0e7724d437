// The reader on RTF written by LibreOffice and pandoc from sources written here: its
// event trace is checked against what each source holds, and its body text against
// `unrtf --text` of the same file.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "imaging/png/PngCodec.h"
#include "richtext/interchange/RPRTFPeers.h"
#include "richtext/interchange/RPRTFTestProbe.h"

namespace {

const char kOdtHead[] = R"(<office:font-face-decls>
 <style:font-face style:name="Liberation Serif" svg:font-family="'Liberation Serif'"/>
 <style:font-face style:name="DejaVu Sans Mono" svg:font-family="'DejaVu Sans Mono'"/>
</office:font-face-decls>
<office:automatic-styles>
 <style:style style:name="Bold" style:family="text"><style:text-properties fo:font-weight="bold"
  fo:color="#ff0000" fo:font-size="14pt" style:font-name="Liberation Serif"/></style:style>
 <style:style style:name="Mono" style:family="text"><style:text-properties fo:font-style="italic"
  fo:color="#0000ff" fo:font-size="10pt" style:font-name="DejaVu Sans Mono"/></style:style>
 <style:style style:name="Under" style:family="text"><style:text-properties style:text-underline-style="solid"
  style:text-underline-width="auto" style:text-underline-color="font-color"/></style:style>
 <style:style style:name="Struck" style:family="text"><style:text-properties
  style:text-line-through-style="solid"/></style:style>
 <style:style style:name="Centred" style:family="paragraph"><style:paragraph-properties
  fo:text-align="center"/></style:style>
 <text:list-style style:name="Bullets"><text:list-level-style-bullet text:level="1" text:bullet-char="&#x2022;">
  <style:list-level-properties text:space-before="0.25in" text:min-label-width="0.25in"/>
 </text:list-level-style-bullet></text:list-style>
 <text:list-style style:name="Numbers"><text:list-level-style-number text:level="1" style:num-suffix="."
  style:num-format="1"><style:list-level-properties text:space-before="0.25in" text:min-label-width="0.25in"/>
 </text:list-level-style-number></text:list-style>
 <style:page-layout style:name="Page"><style:page-layout-properties fo:page-width="8.5in" fo:page-height="11in"/>
  <style:header-style/><style:footer-style/></style:page-layout>
</office:automatic-styles>
)";

}  // namespace

std::string FlatOdt(const std::string& body, bool headerFooter) {
  std::string odt = std::string(kFlatOdtStart) + kOdtHead;
  odt += "<office:master-styles><style:master-page style:name=\"Standard\" style:page-layout-name=\"Page\">";
  if (headerFooter)
    odt +=
        "<style:header><text:p>Header text</text:p></style:header>"
        "<style:footer><text:p>Footer text</text:p></style:footer>";
  odt += "</style:master-page></office:master-styles>\n<office:body><office:text>\n" + body +
         "\n</office:text></office:body></office:document>\n";
  return odt;
}

std::vector<std::pair<std::string, std::string>> RtfPeerSources(const std::string& pngBase64,
                                                                const std::string& jpegBase64) {
  const std::string rich = R"(
<text:p>Plain <text:span text:style-name="Bold">bold red</text:span> and <text:span
 text:style-name="Mono">mono blue</text:span>, <text:span text:style-name="Under">underlined</text:span> and
 <text:span text:style-name="Struck">struck</text:span>.</text:p>
<text:p text:style-name="Centred">Кириллица Ελληνικά Příliš žluťoučký kůň 漢字かな</text:p>
<text:p>Left<text:tab/>Middle<text:tab/>Right</text:p>
<text:p>See <text:a xlink:type="simple" xlink:href="https://example.org/page">a link</text:a> here.</text:p>
<text:list text:style-name="Bullets"><text:list-item><text:p>First bullet</text:p></text:list-item>
 <text:list-item><text:p>Second bullet</text:p></text:list-item></text:list>
<text:list text:style-name="Numbers"><text:list-item><text:p>First number</text:p></text:list-item>
 <text:list-item><text:p>Second number</text:p></text:list-item></text:list>
<text:p>Pictures <draw:frame draw:name="png" text:anchor-type="as-char" svg:width="0.24in" svg:height="0.18in"><draw:image><office:binary-data>@PNG@</office:binary-data></draw:image></draw:frame> and <draw:frame draw:name="jpeg" text:anchor-type="as-char" svg:width="0.33in" svg:height="0.25in"><draw:image><office:binary-data>@JPEG@</office:binary-data></draw:image></draw:frame> end.</text:p>
<table:table table:name="Outer"><table:table-column table:number-columns-repeated="3"/>
 <table:table-row><table:table-cell><text:p>A1</text:p></table:table-cell><table:table-cell
  table:number-columns-spanned="2"><text:p>B1 wide</text:p></table:table-cell><table:covered-table-cell/>
 </table:table-row>
 <table:table-row><table:table-cell table:number-rows-spanned="2"><text:p>A2 tall</text:p></table:table-cell>
  <table:table-cell><text:p>B2</text:p></table:table-cell><table:table-cell><text:p>C2</text:p></table:table-cell>
 </table:table-row>
 <table:table-row><table:covered-table-cell/><table:table-cell><text:p>B3</text:p></table:table-cell>
  <table:table-cell><table:table table:name="Inner"><table:table-column table:number-columns-repeated="2"/>
  <table:table-row><table:table-cell><text:p>N1</text:p></table:table-cell><table:table-cell><text:p>N2</text:p>
  </table:table-cell></table:table-row></table:table></table:table-cell></table:table-row>
</table:table>
<text:p>After table.</text:p>)";
  const std::string prose = R"(
<text:p>The first paragraph has <text:span text:style-name="Bold">bold words</text:span> and
 <text:span text:style-name="Mono">italic ones</text:span>.</text:p>
<text:p>Second paragraph:<text:tab/>a tab, then <text:span text:style-name="Under">more</text:span> text.</text:p>
<text:p>Third and last paragraph.</text:p>)";
  const std::string richMarkdown =
      "# Title\n\nSome *emphasis* and **strong** text.\n\n- one\n- two\n\n"
      "Привет, мир. Ελληνικά.\n\nA [link](https://example.org/x) here.\n\n"
      "| Left | Right |\n|------|-------|\n| a1   | b1    |\n| a2   | b2    |\n";
  const std::string proseMarkdown =
      "The first paragraph has **bold words** and *italic ones*.\n\n"
      "Second paragraph, then more text.\n\nThird and last paragraph.\n";
  using RtfPeerDetail::Replace;
  return {{"rich.fodt", FlatOdt(Replace(Replace(rich, "@PNG@", pngBase64), "@JPEG@", jpegBase64), true)},
          {"prose.fodt", FlatOdt(prose, false)},
          {"pandoc-rich.md", richMarkdown},
          {"pandoc-prose.md", proseMarkdown}};
}

std::vector<std::string> RtfPeerUnrtfNames() { return {"prose", "pandoc-prose"}; }

namespace {

// The converted file parsed by a probe that reads headers, footers and Unicode text.
class RPRTFPeers : public ::testing::Test {
protected:
  void Parse(const std::string& name) {
    const TRtfPeerFiles& files = RtfPeerFiles();
    ASSERT_TRUE(files.Error.empty()) << files.Error;
    Probe.AcceptHeadersAndFooters();
    const std::vector<uint8_t> bytes = ReadBytesOf(files.Rtf(name).string());
    ASSERT_FALSE(bytes.empty()) << files.Rtf(name);
    ASSERT_EQ(Probe.Parse(std::string(bytes.begin(), bytes.end())), rtf_ec_OK);
  }

  // The run whose text is text; fails when there is none.
  const TProbeRun& Run(const std::string& text) {
    for (const auto& run : Probe.Runs)
      if (run.Text == text) return run;
    ADD_FAILURE() << "no run '" << text << "'";
    static const TProbeRun none;
    return none;
  }

  // The paragraphs of the main text (runs joined, "\n" between paragraphs).
  std::vector<std::string> Paragraphs(TRPRTFHeaderFooterType part = rtf_hf_MainText) {
    std::vector<std::string> paragraphs;
    std::istringstream text(Probe.PlainText(part));
    for (std::string line; std::getline(text, line);) paragraphs.push_back(line);
    return paragraphs;
  }

  // The paragraph properties of the first run of the paragraph that reads text.
  const TProbeRun& ParagraphStart(const std::string& text) {
    std::string paragraph;
    const TProbeRun* start = nullptr;
    for (const auto& run : Probe.Runs) {
      if (run.Position == rtf_ts_NewPara) {
        if (start && paragraph == text) return *start;
        paragraph.clear();
        start = &run;
      }
      paragraph += run.Text;
    }
    if (start && paragraph == text) return *start;
    ADD_FAILURE() << "no paragraph '" << text << "'";
    static const TProbeRun none;
    return none;
  }

  TReaderProbe Probe;
};

TEST_F(RPRTFPeers, LibreOfficeCharacterFormattingMatchesTheSource) {
  Parse("rich");
  const TProbeRun& bold = Run("bold red");
  EXPECT_TRUE(bold.Char.Style.Contains(fsBold));
  EXPECT_EQ(bold.Char.Color, 0x0000FF);
  EXPECT_EQ(bold.Char.Size, 14);
  EXPECT_EQ(bold.FontName, "Liberation Serif");
  const TProbeRun& mono = Run("mono blue");
  EXPECT_TRUE(mono.Char.Style.Contains(fsItalic));
  EXPECT_FALSE(mono.Char.Style.Contains(fsBold));
  EXPECT_EQ(mono.Char.Color, 0xFF0000);
  EXPECT_EQ(mono.Char.Size, 10);
  EXPECT_EQ(mono.FontName, "DejaVu Sans Mono");
  EXPECT_TRUE(Run("underlined").Char.Style.Contains(fsUnderline));
  EXPECT_TRUE(Run("struck").Char.Style.Contains(fsStrikeOut));
  EXPECT_EQ(ParagraphStart("Plain bold red and mono blue, underlined and struck.").Position, rtf_ts_NewPara);
}

TEST_F(RPRTFPeers, LibreOfficeParagraphsTextInSeveralScriptsTabsAndLinks) {
  Parse("rich");
  const TProbeRun& scripts = ParagraphStart("Кириллица Ελληνικά Příliš žluťoučký kůň 漢字かな");
  EXPECT_EQ(scripts.Para.Alignment, 2);
  EXPECT_TRUE(scripts.Unicode);
  ParagraphStart("Left\tMiddle\tRight");
  const TProbeRun& link = Run("a link");
  EXPECT_NE(link.Field.find("HYPERLINK \"https://example.org/page\""), std::string::npos) << link.Field;
  EXPECT_EQ(Run("See ").Field, "");
  EXPECT_EQ(Paragraphs(rtf_hf_Header), std::vector<std::string>({"Header text"}));
  EXPECT_EQ(Paragraphs(rtf_hf_Footer), std::vector<std::string>({"Footer text"}));
}

TEST_F(RPRTFPeers, LibreOfficeListsComeAsListTableParagraphs) {
  Parse("rich");
  const struct {
    const char* Text;
    uint8_t ListType;
  } items[] = {{"First bullet", 6}, {"Second bullet", 6}, {"First number", 1}, {"Second number", 1}};
  for (const auto& item : items) {
    SCOPED_TRACE(item.Text);
    const TProbeRun& run = ParagraphStart(item.Text);  // the marker text (\listtext) is not read
    const int32_t index = run.Para.ListOverrideIndex;
    ASSERT_GE(index, 0);
    ASSERT_LT(index, Probe.Reader.ListOverrideTable().Count());
    const TRPRTFListOverride97& lo = *Probe.Reader.ListOverrideTable().Items(index);
    ASSERT_GE(lo.ListIndex, 0);
    const TRPRTFList97& list = *Probe.Reader.ListTable().Items(lo.ListIndex);
    ASSERT_GT(list.Count(), run.Para.ListLevel);
    EXPECT_EQ(list.Items(run.Para.ListLevel)->ListType, item.ListType);
  }
}

TEST_F(RPRTFPeers, LibreOfficePicturesMatchTheSourceImages) {
  Parse("rich");
  const TRtfPeerFiles& files = RtfPeerFiles();
  // Each picture comes once: the shape picture, its metafile alternative skipped.
  ASSERT_EQ(Probe.Pictures.size(), 2u);
  const TProbePicture& png = Probe.Pictures[0];
  const TProbePicture& jpeg = Probe.Pictures[1];
  EXPECT_EQ(png.Kind, rtf_pict_PNG);
  EXPECT_EQ(jpeg.Kind, rtf_pict_JPEG);
  ASSERT_NE(png.Graphic, nullptr);
  ASSERT_NE(jpeg.Graphic, nullptr);
  const std::string scratch = (files.Dir / "pixels").string();
  TBitmap pngPixels;
  pngPixels.Assign(*png.Graphic);
  EXPECT_EQ(MaxChannelDifference(BitmapPixels(pngPixels), PeerPixels(files.Source("picture.png").string(), scratch)),
            0);
  TBitmap jpegPixels;
  jpegPixels.Assign(*jpeg.Graphic);
  EXPECT_LE(MaxChannelDifference(BitmapPixels(jpegPixels), PeerPixels(files.Source("photo.jpg").string(), scratch)), 2);
  const auto pictures = std::count_if(Probe.Trace.begin(), Probe.Trace.end(),
                                      [](const std::string& line) { return line.rfind("pict", 0) == 0; });
  EXPECT_EQ(pictures, 2);
}

TEST_F(RPRTFPeers, LibreOfficeTablesMergedAndNested) {
  Parse("rich");
  // The cells' paragraphs in order with the table level they were read at.
  std::vector<std::string> cells;
  for (const auto& run : Probe.Runs)
    if (run.TableLevel > 0 && !run.Text.empty()) cells.push_back(run.Text + "@" + std::to_string(run.TableLevel));
  EXPECT_EQ(cells,
            std::vector<std::string>({"A1@1", "B1 wide@1", "A2 tall@1", "B2@1", "C2@1", "B3@1", "N1@2", "N2@2"}));
  const auto count = [&](const std::string& line) { return std::count(Probe.Trace.begin(), Probe.Trace.end(), line); };
  EXPECT_EQ(count("table start"), 2);
  EXPECT_EQ(count("table end"), 2);
  // The first two rows and the nested one: the file ends the last outer row with neither
  // \cell nor \row after its nested table, so that row ends with the table.
  EXPECT_EQ(count("table row"), 3);
  EXPECT_EQ(ParagraphStart("After table.").TableLevel, 0);
}

TEST_F(RPRTFPeers, LibreOfficeRowDefinitionsCarryTheMerges) {
  std::vector<std::unique_ptr<TRPRTFRowProperties>> rows;
  // The rows as each \row ends them; the last outer row has no \row (see above), its
  // definition is still the current one when the table ends.
  Probe.Reader.OnTable = [&](TRPRTFReader* r, TRPRTFTableEventKind kind) {
    if ((kind == rpf_tbl_RowEnd && r->TableLevel() == 1) || (kind == rpf_tbl_TableEnd && r->TableLevel() == 0))
      rows.push_back(std::make_unique<TRPRTFRowProperties>(*r->RTFState().GetRowProps()));
  };
  Parse("rich");
  ASSERT_EQ(rows.size(), 3u);
  ASSERT_EQ(rows[0]->Cells.Count(), 2);  // B1 spans two columns: one wide cell
  ASSERT_EQ(rows[1]->Cells.Count(), 3);
  ASSERT_TRUE(rows[2]->HasSpareCell);  // never finished by a \row
  ASSERT_EQ(rows[2]->Cells.Count(), 3 + 1);
  EXPECT_EQ(rows[0]->Cells.Items(1)->RightBoundary, rows[1]->Cells.Items(2)->RightBoundary);
  EXPECT_EQ(rows[1]->Cells.Items(0)->VMerge, 1);
  EXPECT_EQ(rows[2]->Cells.Items(0)->VMerge, 2);
}

TEST_F(RPRTFPeers, PandocDocument) {
  Parse("pandoc-rich");
  EXPECT_TRUE(Run("Title").Char.Style.Contains(fsBold));
  EXPECT_EQ(Run("Title").Char.Size, 18);
  EXPECT_TRUE(Run("emphasis").Char.Style.Contains(fsItalic));
  EXPECT_TRUE(Run("strong").Char.Style.Contains(fsBold));
  EXPECT_FALSE(Run("Some ").Char.Style.Contains(fsBold));
  ParagraphStart("Привет, мир. Ελληνικά.");
  EXPECT_NE(Run("link").Field.find("HYPERLINK \"https://example.org/x\""), std::string::npos);
  const std::vector<std::string> paragraphs = Paragraphs();
  EXPECT_NE(std::find(paragraphs.begin(), paragraphs.end(), "\xE2\x80\xA2\tone"), paragraphs.end());
  std::vector<std::string> cells;
  for (const auto& run : Probe.Runs)
    if (run.TableLevel > 0 && !run.Text.empty()) cells.push_back(run.Text);
  EXPECT_EQ(cells, std::vector<std::string>({"Left", "Right", "a1", "b1", "a2", "b2"}));
  EXPECT_EQ(std::count(Probe.Trace.begin(), Probe.Trace.end(), "table row"), 3);
}

// Runs of white space as one blank, none at the ends.
std::string NormalizeSpace(const std::string& text) {
  std::string out;
  for (char c : text) {
    const bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v';
    if (blank) {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += c;
    }
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// unrtf's text without its "###" notes and the rule under them.
std::string UnrtfBody(const std::string& output) {
  std::istringstream lines(output);
  std::string body;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("###", 0) == 0 || line.rfind("-----------------", 0) == 0) continue;
    body += line + "\n";
  }
  return body;
}

TEST_F(RPRTFPeers, BodyTextAgreesWithUnrtf) {
  for (const std::string& name : RtfPeerUnrtfNames()) {
    SCOPED_TRACE(name);
    TReaderProbe probe;
    const TRtfPeerFiles& files = RtfPeerFiles();
    ASSERT_TRUE(files.Error.empty()) << files.Error;
    const std::vector<uint8_t> rtf = ReadBytesOf(files.Rtf(name).string());
    ASSERT_EQ(probe.Parse(std::string(rtf.begin(), rtf.end())), rtf_ec_OK);
    const std::vector<uint8_t> unrtf = ReadBytesOf(files.UnrtfText(name).string());
    const std::string theirs = NormalizeSpace(UnrtfBody(std::string(unrtf.begin(), unrtf.end())));
    ASSERT_FALSE(theirs.empty());
    EXPECT_EQ(NormalizeSpace(probe.PlainText()), theirs);
  }
}

}  // namespace
