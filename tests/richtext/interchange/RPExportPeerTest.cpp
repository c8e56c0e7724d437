// The exports of documents as real programs read them: LibreOffice converts the RTF to
// ODT, whose text, runs and table grids must be the document's; unrtf gives the same text;
// tidy finds nothing in the classic HTML but the legacy attributes it is made of; xmllint
// validates the XHTML against the XHTML 1.1 DTD but for what that DTD refuses on purpose;
// html5lib reads the text and the table grids of both HTML flavours.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "imaging/png/PngCodec.h"
#include "platform/base/Random.h"
#include "platform/base/TempFolder.h"
#include "richtext/interchange/RPExportPeers.h"
#include "richtext/interchange/RPExportTestData.h"
#include "richtext/model/RPHtmlHelpers.h"
#include "richtext/model/RPUnicode.h"
#include "unicode/UniSystem.h"

namespace {

// --- What a document holds, in the readers' terms -------------------------------------------------

// Whitespace runs (no-break spaces included) as one space, none at the ends.
std::string Normalized(const std::string& text) {
  std::string out;
  bool space = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const bool nbsp = c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xA0;
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || nbsp) {
      space = true;
      if (nbsp) ++i;
      continue;
    }
    if (space && !out.empty()) out += ' ';
    space = false;
    out += static_cast<char>(c);
  }
  return out;
}

std::string Utf8OfItem(TCustomRPData& data, int32_t i) {
  const WideString text = data.GetItemTextW(i);
  return WideToUtf8(text);
}

struct TModelView {
  std::vector<std::string> Paragraphs;
  std::vector<int> Depths;                                // of each paragraph: the tables around it
  std::vector<std::string> Tables;                        // "T", "C" and "CT" lines
  std::vector<std::pair<std::string, std::string>> Runs;  // text, properties
  // The list items: the label a reader shows and the paragraph's text (filled at the end).
  std::vector<std::pair<std::string, size_t>> LabelParagraphs;
  std::vector<std::pair<std::string, std::string>> Labels;
};

// The properties as export_peer.py writes them.
std::string RunProperties(const TFontInfo& style) {
  std::vector<std::string> words;
  if (style.Style.Contains(fsBold)) words.push_back("b");
  if (style.Style.Contains(fsItalic)) words.push_back("i");
  if (style.Style.Contains(fsUnderline)) words.push_back("u");
  if (style.Style.Contains(fsStrikeOut)) words.push_back("s");
  if (style.VShift > 0) words.push_back("^");
  if (style.VShift < 0) words.push_back("_");
  // A shifted run is written at twice its size (readers shrink it).
  words.push_back("p" + std::to_string(style.VShift != 0 ? 2 * style.Size : style.Size));
  if (style.Color != clWindowText) words.push_back(ColorToHtmlColor(style.Color));
  std::string out;
  for (const std::string& w : words) out += (out.empty() ? "" : " ") + w;
  return out;
}

void Walk(TCustomRPData& data, const TRPStyle& style, TModelView& view, int depth) {
  bool open = false;
  for (int32_t i = 0; i < data.GetItemCount(); ++i) {
    TCustomRPItemInfo& item = *data.GetItem(i);
    if (auto* table = dynamic_cast<TRPTableItemInfo*>(&item)) {
      open = false;
      const TRPTableRows& rows = table->Rows();
      view.Tables.push_back("T\t" + std::to_string(rows.GetRowCount()) + "\t" + std::to_string(rows.GetColCount()));
      for (int32_t r = 0; r < rows.GetRowCount(); ++r)
        for (int32_t c = 0; c < rows.GetColCount(); ++c)
          if (TRPTableCellData* cell = table->GetCell(r, c)) {
            const std::string at = std::to_string(r) + "\t" + std::to_string(c);
            view.Tables.push_back("C\t" + at + "\t" + std::to_string(cell->GetRowSpan()) + "\t" +
                                  std::to_string(cell->GetColSpan()));
            const size_t start = view.Paragraphs.size();
            Walk(*cell, style, view, depth + 1);
            std::string text;
            for (size_t p = start; p < view.Paragraphs.size(); ++p) text += view.Paragraphs[p] + "\n";
            view.Tables.push_back("CT\t" + at + "\t" + Normalized(text));
          }
      continue;
    }
    if (!open || item.StartsParagraph()) {
      view.Paragraphs.emplace_back();
      view.Depths.push_back(depth);
    }
    open = true;
    std::string& paragraph = view.Paragraphs.back();
    if (item.GetLineBreakBefore()) paragraph += "\n";
    if (data.IsTextItem(i)) {
      const std::string text = Utf8OfItem(data, i);
      paragraph += text;
      if (!Normalized(text).empty())
        view.Runs.emplace_back(Normalized(text), RunProperties(*style.TextStyles()[data.GetItemStyle(i)]));
    } else if (item.StyleNo == rpkindTab) {
      paragraph += "\t";
    } else if (const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(&item)) {
      if (const TRPListLevel* level = marker->GetLevelInfo(&style); level && level->HasTextMarker())
        view.LabelParagraphs.emplace_back(
            level->ListType == rplstUnicodeBullet
                ? WideToUtf8(level->FormatStringW)
                : WideToUtf8(RawUnicodeToWide(AnsiToRawUnicode(style.DefCodePage, marker->DisplayString))),
            view.Paragraphs.size() - 1);
    }
  }
}

TModelView ModelViewOf(TExportView& view) {
  TModelView model;
  Walk(view.Data(), view.Style, model, 0);
  for (const auto& [label, paragraph] : model.LabelParagraphs)
    model.Labels.emplace_back(label, Normalized(model.Paragraphs[paragraph]));
  return model;
}

std::string ModelText(const TModelView& model) {
  std::string text;
  for (const std::string& p : model.Paragraphs) text += p + "\n";
  return Normalized(text);
}

// --- What a reader answered ---------------------------------------------------------------------

std::string Unescaped(const std::string& field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 1 < field.size()) {
      const char next = field[++i];
      out += next == 'n' ? '\n' : next == 't' ? '\t' : next;
    } else {
      out += field[i];
    }
  }
  return out;
}

struct TReaderView {
  std::string Text;
  std::vector<std::string> Tables;
  std::vector<std::pair<std::string, std::string>> Runs;
  std::vector<std::pair<std::string, std::string>> Labels;
};

TReaderView ReaderViewOf(const std::string& answer) {
  TReaderView view;
  std::istringstream in(answer);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> fields;
    std::istringstream parts(line);
    std::string field;
    while (std::getline(parts, field, '\t')) fields.push_back(field);
    if (fields.empty()) continue;
    if (fields[0] == "X" && fields.size() > 1) view.Text = Normalized(Unescaped(fields[1]));
    if (fields[0] == "R" && fields.size() > 1)
      view.Runs.emplace_back(Normalized(Unescaped(fields[1])), fields.size() > 2 ? fields[2] : "");
    if (fields[0] == "T" || fields[0] == "C") view.Tables.push_back(line);
    if (fields[0] == "L" && fields.size() > 2)
      view.Labels.emplace_back(Unescaped(fields[1]), Normalized(Unescaped(fields[2])));
    if (fields[0] == "CT")
      view.Tables.push_back("CT\t" + fields[1] + "\t" + fields[2] + "\t" +
                            Normalized(Unescaped(fields.size() > 3 ? fields[3] : "")));
  }
  return view;
}

// unrtf's text without its banner lines.
std::string UnrtfText(const std::string& answer) {
  std::istringstream in(answer);
  std::string line, text;
  while (std::getline(in, line))
    if (line.rfind("###", 0) != 0 && line != "-----------------") text += line + "\n";
  return Normalized(text);
}

// The lines of a report that match none of the patterns.
std::vector<std::string> Unexpected(const std::string& report, const std::vector<std::string>& patterns) {
  std::vector<std::string> left;
  std::istringstream in(report);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    bool known = false;
    for (const std::string& pattern : patterns) known = known || std::regex_search(line, std::regex(pattern));
    if (!known) left.push_back(line);
  }
  return left;
}

// --- The documents ------------------------------------------------------------------------------

using TBuilder = void (*)(TExportView&);

void BuildStyledText(TExportView& v) {
  TRichPaneRPData& data = v.Data();
  const int32_t bold = v.AddTextStyle([](TFontInfo& s) { s.Style = TFontStyles{fsBold}; });
  const int32_t italic = v.AddTextStyle([](TFontInfo& s) { s.Style = TFontStyles{fsItalic}; });
  const int32_t both = v.AddTextStyle([](TFontInfo& s) { s.Style = TFontStyles{fsBold, fsItalic}; });
  const int32_t under = v.AddTextStyle([](TFontInfo& s) { s.Style = TFontStyles{fsUnderline}; });
  const int32_t struck = v.AddTextStyle([](TFontInfo& s) { s.Style = TFontStyles{fsStrikeOut}; });
  const int32_t big = v.AddTextStyle([](TFontInfo& s) {
    s.Size = 18;
    s.Color = clRed;
  });
  const int32_t small = v.AddTextStyle([](TFontInfo& s) {
    s.Size = 8;
    s.Color = clNavy;
    s.FontName = "Times New Roman";
  });
  const int32_t custom = v.AddTextStyle([](TFontInfo& s) { s.Color = 0x996633; });
  const int32_t raised = v.AddTextStyle([](TFontInfo& s) { s.VShift = 40; });
  const int32_t unicode = v.AddTextStyle([](TFontInfo& s) {
    s.Unicode = true;
    s.Style = TFontStyles{fsItalic};
  });
  const int32_t link = v.AddTextStyle([](TFontInfo& s) {
    s.Jump = true;
    s.Color = clBlue;
    s.Style = TFontStyles{fsUnderline};
  });
  data.AddTextW(u"Plain text ", 0, TRPTag(), 0);
  data.AddTextW(u"bold words", bold, TRPTag(), -1);
  data.AddTextW(u" then italic words", italic, TRPTag(), -1);
  data.AddTextW(u" bold italic words", both, TRPTag(), -1);
  data.AddTextW(u" underlined words", under, TRPTag(), -1);
  data.AddTextW(u" struck words.", struck, TRPTag(), -1);
  data.AddTextW(u"Big red ", big, TRPTag(), 1);
  data.AddTextW(u"small navy ", small, TRPTag(), -1);
  data.AddTextW(u"custom colour", custom, TRPTag(), -1);
  data.AddTextW(u" raised", raised, TRPTag(), -1);
  data.AddTextW(
      u"\u041A\u0438\u0440\u0438\u043B\u043B\u0438\u0446\u0430 \u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA"
      u"\u03AC P\u0159\u00EDli\u0161 \u017Elu\u0165ou\u010Dk\u00FD \u6F22\u5B57\u304B\u306A",
      unicode, TRPTag(), 0);
  // 8-bit text of the document's code page (1251).
  data.AddAnsiText(
      "\xD1\xFA\xE5\xF8\xFC \xE6\xE5 \xE5\xF9\xB8 \xFD\xF2\xE8\xF5 \xEC\xFF\xE3\xEA\xE8\xF5 "
      "\xF4\xF0\xE0\xED\xF6\xF3\xE7\xF1\xEA\xE8\xF5 \xE1\xF3\xEB\xEE\xEA",
      0, TRPTag(), 0);
  data.AddTextW(u"Braces {a} and \\ backslash; \u201Cquoted\u201D \u2014 dash", unicode, TRPTag(), 0);
  data.AddTextW(u"line one", 0, TRPTag(), 0);
  data.SetAddParagraphs(false);
  data.AddTextW(u"line two", 0, TRPTag(), 0);
  data.SetAddParagraphs(true);
  data.AddTextW(u"left", 0, TRPTag(), 0);
  auto tab = std::make_unique<TRPTabItemInfo>(&data);
  tab->ParaNo = -1;
  data.AddItem("", std::move(tab));
  data.AddTextW(u"right", 0, TRPTag(), -1);
  v.Pane.AddNamedCheckpoint("Section one", false, TRPTag());
  data.AddTextW(u"See ", 0, TRPTag(), 0);
  data.AddTextW(u"the link", link, TRPTag(), -1);
  data.AddTextW(u" here.", 0, TRPTag(), -1);
  data.AddItem("", std::make_unique<TRPBreakItemInfo>(&data));
  data.AddTextW(u"After the page break", 0, TRPTag(), 0);
  data.SetPageBreakBefore(data.GetItemCount() - 1, true);
  v.Pane.OnWriteHyperlink = [](TCustomRichPane*, int32_t, TCustomRPData&, int32_t, TRPSaveFormat, AnsiString& target,
                               AnsiString&) { target = "https://example.org/a?b=1&c=2"; };
}

// A table of one row: a cell of text, and a cell with a paragraph for a nested table to
// follow (the cell is answered).
TRPTableCellData& AddHostTable(TExportView& v, const char* left, const char16_t* above) {
  TRPTableItemInfo& outer = v.AddTable(1, 2);
  outer.SetCellBorderWidth(1);
  TExportView::SetCell(outer, 0, 0, left);
  TRPTableCellData& cell = *outer.GetCell(0, 1);
  cell.Clear();
  cell.AddTextW(above, 0, TRPTag(), 0);
  return cell;
}

void BuildTables(TExportView& v) {
  TRichPaneRPData& data = v.Data();
  data.AddTextW(u"Before the table.", 0, TRPTag(), 0);
  TRPTableItemInfo& grid = v.AddTable(3, 3);
  grid.SetBorderWidth(1);
  grid.SetCellBorderWidth(1);
  ASSERT_TRUE(grid.MergeCells(0, 0, 2, 1, true));
  ASSERT_TRUE(grid.MergeCells(1, 2, 1, 2, true));
  for (const auto& [r, c, text] : std::vector<std::tuple<int, int, const char*>>{
           {0, 0, "A1 wide"}, {0, 2, "C1"}, {1, 0, "A2"}, {1, 1, "B2"}, {1, 2, "C2 tall"}, {2, 0, "A3"}, {2, 1, "B3"}})
    TExportView::SetCell(grid, r, c, text);
  data.AddTextW(u"Between the tables.", 0, TRPTag(), 0);
  TRPTableCellData& cell = AddHostTable(v, "Outer cell", u"Cell text");
  TRPTableItemInfo& nested = TExportView::AddNestedTable(cell, 2, 2);
  TExportView::SetCell(nested, 0, 0, "n11");
  TExportView::SetCell(nested, 0, 1, "n12");
  TExportView::SetCell(nested, 1, 0, "n21");
  TExportView::SetCell(nested, 1, 1, "n22");
  cell.AddTextW(u"Below nested", 0, TRPTag(), 0);
  data.AddTextW(u"After the tables.", 0, TRPTag(), 0);
}

// Tables one right after another, as a source leaves them that had only a hidden
// paragraph between them: a table of 1 x 3 and one of 1 x 1, and two such tables in a cell.
void BuildAdjacentTables(TExportView& v) {
  TRichPaneRPData& data = v.Data();
  data.AddTextW(u"Two tables:", 0, TRPTag(), 0);
  TRPTableItemInfo& wide = v.AddTable(1, 3);
  for (int c = 0; c < 3; ++c) TExportView::SetCell(wide, 0, c, std::string("w") + char('1' + c));
  TExportView::SetCell(v.AddTable(1, 1), 0, 0, "single");
  TRPTableCellData& cell = AddHostTable(v, "Outer cell", u"Two nested tables:");
  TRPTableItemInfo& nestedWide = TExportView::AddNestedTable(cell, 1, 2);
  TExportView::SetCell(nestedWide, 0, 0, "n1");
  TExportView::SetCell(nestedWide, 0, 1, "n2");
  TExportView::SetCell(TExportView::AddNestedTable(cell, 1, 1), 0, 0, "n3");
  data.AddTextW(u"After the tables.", 0, TRPTag(), 0);
}

void BuildLists(TExportView& v) {
  TRichPaneRPData& data = v.Data();
  TRPListInfo& numbered = v.AddList({rplstDecimal, rplstLowerAlpha, rplstUpperRoman});
  numbered.Levels()[1]->FormatString = "%0:s.%1:s)";
  TRPListInfo& bullets = v.AddList({rplstBullet, rplstUnicodeBullet});
  bullets.Levels()[1]->FormatStringW = u"\u25CF";
  v.AddList({rplstUpperAlpha});
  data.AddTextW(u"A numbered list:", 0, TRPTag(), 0);
  v.AddMarker(0, 0, u"first");
  v.AddMarker(0, 1, u"first, part one");
  v.AddMarker(0, 1, u"first, part two");
  v.AddMarker(0, 2, u"deeper still");
  v.AddMarker(0, 0, u"second");
  data.AddTextW(u"Bullets:", 0, TRPTag(), 0);
  v.AddMarker(1, 0, u"a bullet");
  v.AddMarker(1, 1, u"a round bullet");
  v.AddMarker(1, 0, u"another bullet");
  data.AddTextW(u"Letters, then numbers again from five:", 0, TRPTag(), 0);
  v.AddMarker(2, 0, u"letter A");
  v.AddMarker(2, 0, u"letter B");
  v.AddMarker(0, 0, u"five", true, 5);
  v.AddMarker(0, 0, u"six");
  data.AddTextW(u"The end.", 0, TRPTag(), 0);
}

// Double-byte text whose second bytes are a backslash and braces, a PNG picture, and a
// cell that ends with a nested table.
void BuildInterchange(TExportView& v) {
  TRichPaneRPData& data = v.Data();
  const int32_t japanese = v.AddTextStyle([](TFontInfo& s) {
    s.Unicode = true;
    s.Charset = SHIFTJIS_CHARSET;
  });
  data.AddTextW(u"Japanese:", 0, TRPTag(), 0);
  data.AddTextW(u"\u30BDso \u30DC\u30DE\u8868", japanese, TRPTag(), 0);  // 83 5C, 83 7B, 83 7D, 95 5C
  TBitmap pixels;
  pixels.SetPixelFormat(pf24bit);
  pixels.SetSize(4, 3);
  auto png = std::make_unique<TPNGObject>();
  png->BuildFromBitmap(pixels, false, clNone);
  data.AddPicture("picture", std::move(png), 0, rpvaBaseline);
  data.AddTextW(u"Below the picture.", 0, TRPTag(), 0);
  TRPTableCellData& cell = AddHostTable(v, "Left cell", u"Above nested");
  TRPTableItemInfo& nested = TExportView::AddNestedTable(cell, 1, 2);
  TExportView::SetCell(nested, 0, 0, "m1");
  TExportView::SetCell(nested, 0, 1, "m2");
  data.AddTextW(u"After the table.", 0, TRPTag(), 0);
}

// Two spaces, and Greek letters in the Symbol font: readers of RTF keep the font's bytes
// (LibreOffice shows them as private-use characters), readers of the CSS flavour get the
// letters.
void BuildSymbolText(TExportView& v) {
  TRichPaneRPData& data = v.Data();
  const int32_t symbol = v.AddTextStyle([](TFontInfo& s) {
    s.FontName = "Symbol";
    s.Charset = SYMBOL_CHARSET;
  });
  data.AddTextW(u"Greek  letters:", 0, TRPTag(), 0);
  data.AddAnsiText("abgdW", symbol, TRPTag(), 0);
  for (const char16_t* text : {u"One.", u"Two.", u"Three.", u"Four.", u"Five."}) data.AddTextW(text, 0, TRPTag(), 0);
}

struct TPeerBuilder {
  std::string Name;
  TBuilder Build;
  // Readers show the model's text (not so for Symbol-font text).
  bool ReadersShowModelText = true;
};

const std::vector<TPeerBuilder>& PeerBuilders() {
  static const std::vector<TPeerBuilder> builders = {
      {"styled", BuildStyledText}, {"tables", BuildTables},           {"adjacent-tables", BuildAdjacentTables},
      {"lists", BuildLists},       {"interchange", BuildInterchange}, {"symbol", BuildSymbolText, false}};
  return builders;
}

struct TPeerDocument {
  TModelView Model;
  TPeerAnswers Answers;
};

// Every document built, exported, read by the peers once for the suite.
class RPExportPeers : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    Documents().clear();
    std::vector<TPeerExports> exports;
    // Pictures go into a folder of their own: an export names its picture files after the
    // first free number there, so the exports (the cache's key) are the same every run.
    const TempFolder pictures;
    for (const auto& [name, build, htmlText] : PeerBuilders()) {
      TExportView view;
      SetRandSeed(2024);  // the lists' identifiers
      build(view);
      TPeerExports e;
      e.Name = name;
      e.Rtf = view.Rtf();
      TRPHTMLExportParams params;
      params.Title = "Peer " + name;
      params.Path = Utf8ToWide(pictures / (name + ".html"));
      e.Classic = view.Html(0, false, params);
      e.Css = view.Html(rphtmlQuotedAttributes | rphtmlUtf8, true, params);
      exports.push_back(e);
      Documents().push_back({ModelViewOf(view), {}});
    }
    const TPeerRun run = RunExportPeers(exports);
    Error() = run.Error;
    for (size_t i = 0; i < run.Answers.size() && i < Documents().size(); ++i) Documents()[i].Answers = run.Answers[i];
  }
  void SetUp() override { ASSERT_TRUE(Error().empty()) << Error(); }

  static std::vector<TPeerDocument>& Documents() {
    static std::vector<TPeerDocument> documents;
    return documents;
  }
  static std::string& Error() {
    static std::string error;
    return error;
  }
  static const std::string& Name(size_t i) { return PeerBuilders()[i].Name; }
};

TEST_F(RPExportPeers, LibreOfficeReadsTheTextListsAndTables) {
  for (size_t i = 0; i < Documents().size(); ++i) {
    SCOPED_TRACE(Name(i));
    const TPeerDocument& d = Documents()[i];
    const TReaderView odt = ReaderViewOf(d.Answers.Odt);
    if (PeerBuilders()[i].ReadersShowModelText) EXPECT_EQ(odt.Text, ModelText(d.Model)) << d.Answers.Odt;
    EXPECT_EQ(odt.Tables, d.Model.Tables);
    EXPECT_EQ(odt.Labels, d.Model.Labels);
  }
}

// Tables one right after another are as many tables to LibreOffice (the test above), and
// what keeps them apart is a paragraph it hides: one empty hidden paragraph per pair.
TEST_F(RPExportPeers, LibreOfficeHidesWhatKeepsAdjacentTablesApart) {
  const auto adjacent = std::find_if(PeerBuilders().begin(), PeerBuilders().end(),
                                     [](const TPeerBuilder& b) { return b.Name == "adjacent-tables"; });
  ASSERT_NE(adjacent, PeerBuilders().end());
  const std::string& odt = Documents()[static_cast<size_t>(adjacent - PeerBuilders().begin())].Answers.Odt;
  std::vector<std::string> hidden;
  std::istringstream in(odt);
  for (std::string line; std::getline(in, line);)
    if (line.rfind("H\t", 0) == 0) hidden.push_back(line);
  EXPECT_EQ(hidden, std::vector<std::string>(3, "H\t")) << odt;
}

TEST_F(RPExportPeers, LibreOfficeKeepsTheRunsFormatting) {
  for (size_t i = 0; i < Documents().size(); ++i) {
    SCOPED_TRACE(Name(i));
    if (!PeerBuilders()[i].ReadersShowModelText) continue;
    const TPeerDocument& d = Documents()[i];
    const TReaderView odt = ReaderViewOf(d.Answers.Odt);
    for (const auto& [text, properties] : d.Model.Runs) {
      SCOPED_TRACE(text);
      auto found = std::find_if(odt.Runs.begin(), odt.Runs.end(),
                                [&](const auto& run) { return run.first.find(text) != std::string::npos; });
      ASSERT_NE(found, odt.Runs.end()) << d.Answers.Odt;
      // A run in the automatic colour may or may not say black.
      std::string got = found->second;
      if (properties.find('#') == std::string::npos) got = std::regex_replace(got, std::regex(" #000000$"), "");
      EXPECT_EQ(got, properties);
    }
  }
}

TEST_F(RPExportPeers, UnrtfReadsTheText) {
  // unrtf's text output shows ASCII only, and it passes over the row-properties groups in
  // which nested tables are written: every other paragraph is there, in order.
  for (size_t i = 0; i < Documents().size(); ++i) {
    SCOPED_TRACE(Name(i));
    const TPeerDocument& d = Documents()[i];
    const std::string text = UnrtfText(d.Answers.Unrtf);
    size_t at = 0;
    int checked = 0;
    for (size_t p = 0; p < d.Model.Paragraphs.size(); ++p) {
      const std::string paragraph = Normalized(d.Model.Paragraphs[p]);
      const bool ascii = std::all_of(paragraph.begin(), paragraph.end(), [](char c) { return c > 0; });
      if (paragraph.empty() || !ascii || d.Model.Depths[p] > 1) continue;
      const size_t found = text.find(paragraph, at);
      EXPECT_NE(found, std::string::npos) << paragraph << "\n" << d.Answers.Unrtf;
      if (found != std::string::npos) at = found + paragraph.size();
      ++checked;
    }
    EXPECT_GE(checked, 5);
  }
}

TEST_F(RPExportPeers, TidyFindsOnlyTheLegacyMarkupOfTheClassicFlavour) {
  // The classic flavour is written without a document type, with the margins and
  // background attributes of the body that browsers of its kind read, and with the
  // border colours of tables.
  const std::vector<std::string> intended = {
      "missing <!DOCTYPE> declaration",
      "<body> proprietary attribute \"(leftmargin|topmargin|rightmargin|bottommargin|bgproperties)\"",
      "<table> proprietary attribute \"(bordercolor|bordercolorlight|bordercolordark|background)\"",
      "<td> proprietary attribute \"background\"",
  };
  for (size_t i = 0; i < Documents().size(); ++i) {
    SCOPED_TRACE(Name(i));
    EXPECT_EQ(Unexpected(Documents()[i].Answers.TidyClassic, intended), std::vector<std::string>());
  }
}

TEST_F(RPExportPeers, TheXhtmlIsValidButForWhatItsDtdRefusesOnPurpose) {
  // XHTML 1.1 has no name attribute on anchors, no value on list items, no numbering type
  // on lists and no shading or size on lines; the anchors of checkpoints keep their names,
  // numbered list items their numbers, lists their kind of numbers and lines their look.
  const std::vector<std::string> intended = {
      "validity error : No declaration for attribute name of element a",
      "validity error : No declaration for attribute value of element li",
      "validity error : No declaration for attribute type of element ol",
      "validity error : No declaration for attribute (noshade|size) of element hr",
  };
  for (size_t i = 0; i < Documents().size(); ++i) {
    SCOPED_TRACE(Name(i));
    // xmllint's messages (each followed by the line it refers to and a caret).
    std::string messages;
    std::istringstream in(Documents()[i].Answers.XmllintCss);
    for (std::string line; std::getline(in, line);)
      if (line.find(" error") != std::string::npos || line.find(" warning") != std::string::npos)
        messages += line + "\n";
    EXPECT_EQ(Unexpected(messages, intended), std::vector<std::string>());
  }
}

TEST_F(RPExportPeers, AnXmlParserWithoutTheDtdTakesTheXhtml) {
  // The XHTML names characters by number: the entities of the XHTML DTD are unknown to a
  // parser that does not read it.
  for (size_t i = 0; i < Documents().size(); ++i) {
    SCOPED_TRACE(Name(i));
    EXPECT_EQ(Documents()[i].Answers.XmlCss, "well-formed\n");
  }
}

TEST_F(RPExportPeers, HtmlShowsTheLettersOfSymbolText) {
  const auto symbol = std::find_if(PeerBuilders().begin(), PeerBuilders().end(),
                                   [](const TPeerBuilder& b) { return b.Name == "symbol"; });
  ASSERT_NE(symbol, PeerBuilders().end());
  const TPeerDocument& d = Documents()[static_cast<size_t>(symbol - PeerBuilders().begin())];
  EXPECT_EQ(ReaderViewOf(d.Answers.Html5Css).Text,
            "Greek letters: \u03B1\u03B2\u03B3\u03B4\u03A9 One. Two. Three. Four. Five.")
      << d.Answers.Html5Css;
}

TEST_F(RPExportPeers, Html5libReadsTheTextAndTablesOfBothFlavours) {
  for (size_t i = 0; i < Documents().size(); ++i) {
    SCOPED_TRACE(Name(i));
    const TPeerDocument& d = Documents()[i];
    for (const std::string* answer : {&d.Answers.Html5Classic, &d.Answers.Html5Css}) {
      const TReaderView html = ReaderViewOf(*answer);
      if (PeerBuilders()[i].ReadersShowModelText) EXPECT_EQ(html.Text, ModelText(d.Model)) << *answer;
      EXPECT_EQ(html.Tables, d.Model.Tables);
    }
  }
}

}  // namespace
