// Exports read back by this engine's own RTF import: the document it builds holds the
// exported text and its tables, and exporting that document again gives the same bytes.
#include <gtest/gtest.h>

#include <string>

#include "platform/base/Random.h"
#include "platform/base/Streams.h"
#include "richtext/interchange/RPExportTestData.h"
#include "richtext/interchange/RPRTFImportFixture.h"
#include "richtext/interchange/RPRTFProps.h"

namespace {

std::string RtfOf(TExportView& view) {
  SetRandSeed(5);
  return view.Rtf();
}

std::string TextOf(TExportView& view) {
  TMemoryStream stream;
  EXPECT_TRUE(view.Pane.SaveTextToStreamW(stream, 80));
  return TExportView::Bytes(stream);
}

// The first trip keeps the text; what RTF cannot tell apart comes back in the form the
// import gives it (a line as an empty paragraph with a bottom border, raised table borders
// as plain ones, the fonts of the text's charset as fonts of their own), so the second
// export may differ from the first. From then on export and import are each other's
// inverse: the third export is the second's bytes.
TEST(RPExportRoundTripTest, TheSmallDocumentReachesAFixedPoint) {
  TExportView source;
  BuildSmallExportDocument(source);
  const std::string exported = RtfOf(source);
  // Imported with the styles the formatting needs added, every text as Unicode text.
  TImportedView once(exported, rpruOnlyUnicode);
  ASSERT_EQ(once.Result, rtf_ec_OK);
  std::string text = TextOf(source);
  std::string line;
  for (int i = 0; i < 80; ++i) line += std::string("-\0", 2);
  ASSERT_NE(text.find(line), std::string::npos);
  text.erase(text.find(line), line.size());
  EXPECT_EQ(TextOf(once), text);
  const std::string again = RtfOf(once);
  TImportedView twice(again, rpruOnlyUnicode);
  ASSERT_EQ(twice.Result, rtf_ec_OK);
  EXPECT_EQ(TextOf(twice), text);
  EXPECT_EQ(RtfOf(twice), again);
  EXPECT_EQ(twice.Data().GetItemCount(), once.Data().GetItemCount());
}

// The tables and texts of a document, one per line, indented by their depth in cells:
// what an RTF trip must keep of adjacent tables.
std::string TablesAndTexts(const TCustomRPData& data, const std::string& indent = "") {
  std::string out;
  for (int32_t i = 0; i < data.GetItemCount(); ++i) {
    const TCustomRPItemInfo& item = *data.GetItem(i);
    if (const auto* table = dynamic_cast<const TRPTableItemInfo*>(&item)) {
      const TRPTableRows& rows = table->Rows();
      out += indent + "table " + std::to_string(rows.GetRowCount()) + "x" + std::to_string(rows.GetColCount()) + "\n";
      for (int32_t r = 0; r < rows.GetRowCount(); ++r)
        for (int32_t c = 0; c < rows.GetColCount(); ++c)
          if (const TRPTableCellData* cell = rows.GetCell(r, c)) out += TablesAndTexts(*cell, indent + "  ");
    } else {
      out += indent + "'" + TImportFixture::ItemText(data, i) + "'\n";
    }
  }
  return out;
}

// A table of 1 x 3 and one of 1 x 1 with only a hidden paragraph between them (whose
// text the import drops), as a word processor wrote them.
constexpr char kHiddenParagraphBetweenTables[] =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
    "\\trowd\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl w1\\cell w2\\cell w3\\cell\\row "
    "\\pard\\v\\par\\v0 "
    "\\trowd\\cellx3000\\pard\\intbl single\\cell\\row "
    "\\pard After the tables.\\par}";

}  // namespace

// Tables one right after another (in a document and in a cell) are as many tables after
// an RTF trip, with no paragraph come between them: each export keeps each pair apart by
// one hidden paragraph, and no more come with more trips.
TEST(RPExportRoundTripTest, AdjacentTablesStayApartWithoutAParagraphBetween) {
  TExportView built;
  TRPTableItemInfo& wide = built.AddTable(1, 3);
  for (int c = 0; c < 3; ++c) TExportView::SetCell(wide, 0, c, std::string("w") + char('1' + c));
  TExportView::SetCell(built.AddTable(1, 1), 0, 0, "single");
  TRPTableItemInfo& host = built.AddTable(1, 1);
  TRPTableCellData& cell = *host.GetCell(0, 0);
  cell.Clear();
  TExportView::SetCell(TExportView::AddNestedTable(cell, 1, 2), 0, 0, "n1");
  TExportView::SetCell(TExportView::AddNestedTable(cell, 1, 1), 0, 0, "n2");
  built.Data().AddTextW(u"After the tables.", 0, TRPTag(), 0);
  const struct {
    const char* Name;
    std::string Rtf;
    std::string Expected;
    size_t Adjacent;  // pairs of tables one right after the other
  } cases[] = {
      {"a hidden paragraph between them", kHiddenParagraphBetweenTables,
       "table 1x3\n  'w1'\n  'w2'\n  'w3'\ntable 1x1\n  'single'\n'After the tables.'\n", 1},
      {"built one after another", RtfOf(built),
       "table 1x3\n  'w1'\n  'w2'\n  'w3'\ntable 1x1\n  'single'\ntable 1x1\n  table 1x2\n    'n1'\n    ''\n"
       "  table 1x1\n    'n2'\n'After the tables.'\n",
       3},
  };
  // The hidden paragraphs the exports write between tables.
  const auto hiddenParagraphs = [](const std::string& rtf) {
    size_t count = 0;
    for (size_t at = rtf.find("\\v\\par}"); at != std::string::npos; at = rtf.find("\\v\\par}", at + 1)) ++count;
    return count;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TImportedView once(c.Rtf);
    ASSERT_EQ(once.Result, rtf_ec_OK);
    EXPECT_EQ(TablesAndTexts(once.Data()), c.Expected);
    const std::string exported = RtfOf(once);
    EXPECT_EQ(hiddenParagraphs(exported), c.Adjacent) << exported;
    TImportedView twice(exported);
    ASSERT_EQ(twice.Result, rtf_ec_OK);
    EXPECT_EQ(TablesAndTexts(twice.Data()), c.Expected) << exported;
    EXPECT_EQ(hiddenParagraphs(RtfOf(twice)), c.Adjacent);
  }
}
