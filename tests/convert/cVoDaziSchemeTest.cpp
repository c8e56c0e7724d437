#include "convert/cVoDaziScheme.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "SchemeTestFolder.h"
#include "platform/base/Exception.h"
#include "platform/base/FileLimits.h"
#include "unicode/Peers.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"
#include "unicode/UniWideStrings.h"
#include "unicode/ini/UniIniFiles.h"

namespace {

// The default scheme's section as the file holds it, key by key in the file's order.
const std::vector<std::string> DefaultSchemeLines = {"PageWidth=600",
                                                     "PageHeight=800",
                                                     "PageRotate=0",
                                                     "RotateCover=1",
                                                     "MarginLeft=0",
                                                     "MarginRight=0",
                                                     "MarginTop=0",
                                                     "MarginBottom=0",
                                                     "CoverPage=2",
                                                     "EnlargeCover=1",
                                                     "CoverLeft=0",
                                                     "CoverRight=0",
                                                     "CoverTop=0",
                                                     "CoverBottom=0",
                                                     "BookColors=2",
                                                     "UseClearType=1",
                                                     "TOCLevels=3",
                                                     "InternalLinksMode=2",
                                                     "InternalLinksText= (стр.%P)",
                                                     "CopyHRefLink=1",
                                                     "EnlargeImages=1",
                                                     "ShowHeader=1",
                                                     "HeaderDiffEvenPages=1",
                                                     "HeaderLeftOddText=%T",
                                                     "HeaderLeftEvenText=%A",
                                                     "HeaderRightOddText=%P/%C",
                                                     "HeaderRightEvenText=%P/%C",
                                                     "HeaderLineSize=1",
                                                     "HeaderOnFirstPage=0",
                                                     "ShowFooter=0",
                                                     "FooterDiffEvenPages=0",
                                                     "FooterLeftOddText=",
                                                     "FooterLeftEvenText=",
                                                     "FooterRightOddText=%P/%C",
                                                     "FooterRightEvenText=",
                                                     "FooterLineSize=0",
                                                     "FooterOnFirstPage=0"};
// Every default style section: the two block spacings stand after-before.
const std::vector<std::string> DefaultStyleLines = {"BaseFontName=Arial", "BaseFontSize=18",
                                                    "BaseFontBold=0",     "BaseFontItalic=0",
                                                    "Alignment=0",        "Hyphenation=0",
                                                    "SpaceBefore=0",      "SpaceAfter=0",
                                                    "LineSpacing=100",    "SpaceAftBlock=0",
                                                    "SpaceBefBlock=0",    "LeftIndent=0",
                                                    "RightIndent=0",      "FirstIndent=0",
                                                    "KeepLines=0",        "KeepNext=0",
                                                    "PageBreak=0",        "SubSize=80",
                                                    "SubOffset=20",       "SupSize=80",
                                                    "SupOffset=20",       "CodeFontName=Courier New",
                                                    "CodeFontSize=18",    "CodeFontBold=0",
                                                    "CodeFontItalic=0",   "ApplyEmphasis=1",
                                                    "ApplyStrong=1",      "ApplyStrike=1"};
const std::vector<std::string> StyleSections = {"SectionText", "BookTitle", "Section",    "SectionTitle", "Subtitle",
                                                "Epigraph",    "Cite",      "Annotation", "Poem",         "PoemTitle",
                                                "Stanza",      "Verse",     "Date",       "TextAuthor",   "TableHead",
                                                "TableText",   "Footnote",  "Header",     "Footer"};

// The whole default file as Python's configparser reads it: "[section]" then "key=value"
// lines, each value trimmed by the parser.
std::string DefaultFileAsParsed() {
  auto trimmed = [](const std::string& line) {
    const size_t eq = line.find('=');
    const size_t start = line.find_first_not_of(' ', eq + 1);
    return line.substr(0, eq + 1) + (start == std::string::npos ? "" : line.substr(start));
  };
  std::string text = "[VoDaziScheme]\n";
  for (const std::string& line : DefaultSchemeLines) text += trimmed(line) + "\n";
  for (const std::string& section : StyleSections) {
    text += "[" + section + "]\n";
    for (const std::string& line : DefaultStyleLines) text += line + "\n";
  }
  return text;
}

void SaveScheme(const TVoDaziScheme& scheme, const WideString& fileName) {
  TUniMemIniFile ini(fileName);
  ini.Clear();
  scheme.SchemeSaveToIni(ini);
  ini.UpdateFile();
}

// A scheme whose every field differs from its default and from its neighbours.
TVoDaziScheme OddScheme() {
  TVoDaziScheme s;
  s.PageWidth = 758, s.PageHeight = 1024, s.PageRotate = 2, s.RotateCover = false, s.MarginLeft = 1;
  s.MarginRight = 2, s.MarginTop = 3, s.MarginBottom = 4, s.CoverPage = 0, s.EnlargeCover = false;
  s.CoverLeft = 5, s.CoverRight = 6, s.CoverTop = 7, s.CoverBottom = 8, s.BookColors = 1;
  s.UseClearType = false, s.TOCLevels = 0, s.InternalLinksMode = 0, s.InternalLinksText = u"  [%P]";
  s.CopyHRefLink = false, s.EnlargeImages = false, s.ShowHeader = false, s.HeaderDiffEvenPages = false;
  s.HeaderLeftOddText = u"a", s.HeaderLeftEvenText = u"b", s.HeaderRightOddText = u"c";
  s.HeaderRightEvenText = u"d", s.HeaderLineSize = 9, s.HeaderOnFirstPage = true, s.ShowFooter = true;
  s.FooterDiffEvenPages = true, s.FooterLeftOddText = u"e", s.FooterLeftEvenText = u"f";
  s.FooterRightOddText = u"g", s.FooterRightEvenText = u"h", s.FooterLineSize = 10;
  s.FooterOnFirstPage = true;
  for (int32_t i = 0; i < VoDaziStyleCount; ++i) {
    TVoDaziStyle& t = s.Styles(i);
    t.BaseFontName = u"Serif" + Utf8ToWide(std::to_string(i)), t.BaseFontSize = 100 + i;
    t.BaseFontBold = true, t.BaseFontItalic = true, t.Alignment = rpaJustify, t.Hyphenation = true;
    t.SpaceBefore = 200 + i, t.SpaceAfter = 300 + i, t.LineSpacing = 400 + i, t.SpaceBefBlock = 500 + i;
    t.SpaceAftBlock = 600 + i, t.LeftIndent = 700 + i, t.RightIndent = 800 + i, t.FirstIndent = -i - 1;
    t.KeepLines = true, t.KeepNext = true, t.PageBreak = true, t.SubSize = 1, t.SubOffset = 2;
    t.SupSize = 3, t.SupOffset = 4, t.CodeFontName = u"Mono", t.CodeFontSize = 5, t.CodeFontBold = true;
    t.CodeFontItalic = true, t.ApplyEmphasis = false, t.ApplyStrong = false, t.ApplyStrike = false;
  }
  return s;
}

// Field-by-field equality through the file's own text: both schemes written, the texts
// compared, and the names.
void ExpectSameScheme(const TVoDaziScheme& expected, const TVoDaziScheme& actual) {
  TUniMemIniFile a(WideString{}), b(WideString{});
  expected.SchemeSaveToIni(a);
  actual.SchemeSaveToIni(b);
  TUniStringList la, lb;
  a.GetStrings(la);
  b.GetStrings(lb);
  EXPECT_EQ(WideToUtf8(la.Text()), WideToUtf8(lb.Text()));
  EXPECT_EQ(WideToUtf8(expected.Name), WideToUtf8(actual.Name));
  for (int32_t i = 0; i < VoDaziStyleCount; ++i) EXPECT_EQ(actual.Styles(i).Index, i);
}

TEST(VoDaziScheme, DefaultsAreTheDocumentedOnes) {
  const TVoDaziScheme scheme;
  EXPECT_EQ(WideToUtf8(scheme.Name), "(unnamed)");
  EXPECT_EQ(scheme.PageWidth, 600);
  EXPECT_EQ(scheme.PageHeight, 800);
  EXPECT_EQ(scheme.CoverPage, 2);
  EXPECT_EQ(WideToUtf8(scheme.InternalLinksText), " (стр.%P)");
  EXPECT_EQ(WideToUtf8(scheme.FooterRightOddText), "%P/%C");
  EXPECT_TRUE(scheme.FooterRightEvenText.empty());
  for (int32_t i = 0; i < VoDaziStyleCount; ++i) {
    SCOPED_TRACE(i);
    const TVoDaziStyle& style = scheme.Styles(i);
    EXPECT_EQ(style.Index, i);
    EXPECT_EQ(WideToUtf8(VoDaziStyleSection(style.Index)), StyleSections[static_cast<size_t>(i)]);
    EXPECT_EQ(WideToUtf8(style.BaseFontName), "Arial");
    EXPECT_EQ(style.BaseFontSize, 18);
    EXPECT_EQ(style.LineSpacing, 100);
    EXPECT_EQ(style.SubSize, 80);
    EXPECT_EQ(style.SupOffset, 20);
    EXPECT_EQ(WideToUtf8(style.CodeFontName), "Courier New");
    EXPECT_TRUE(style.ApplyEmphasis && style.ApplyStrong && style.ApplyStrike);
    EXPECT_FALSE(style.Hyphenation || style.KeepLines || style.KeepNext || style.PageBreak);
  }
}

// The default scheme written to disk, read by Python's configparser: every section and
// key in the file's order, every default value. configparser trims values, so the
// leading blank of the links text is checked on the raw bytes.
TEST(VoDaziScheme, DefaultFileReadByConfigparser) {
  const TSchemeTestFolder folder;
  SaveScheme(TVoDaziScheme(), folder.Wide("default.gws"));
  const std::string bytes = folder.Read("default.gws");
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_NE(bytes.find(Utf16LeBytes(u"\r\nInternalLinksText= (стр.%P)\r\n")), std::string::npos);

  const std::string script =
      "import configparser,sys\n"
      "p=configparser.ConfigParser(interpolation=None)\n"
      "p.optionxform=str\n"
      "p.read(sys.argv[1],encoding='utf-16')\n"
      "for s in p.sections():\n"
      "  print('['+s+']')\n"
      "  for k,v in p.items(s): print(k+'='+v)\n";
  std::string parsed;
  ASSERT_TRUE(RunPeer("/usr/bin/python3 - " + folder / "default.gws", script, parsed));
  EXPECT_EQ(parsed, DefaultFileAsParsed());
}

// A file with every key, most away from their defaults, loads and is written back byte
// for byte (tests/data/convert/make_full_gws.py made it).
TEST(VoDaziScheme, FullFileIsWrittenBackByteForByte) {
  const TSchemeTestFolder folder;
  const std::string original = ReadBytes(std::string(QF_TEST_DATA_DIR) + "/convert/full.gws");
  folder.Write("full.gws", original);
  TVoDaziScheme scheme;
  scheme.LoadSchemeFile(u"full");
  EXPECT_EQ(WideToUtf8(scheme.Name), "full");
  EXPECT_EQ(scheme.PageWidth, 758);
  EXPECT_EQ(scheme.PageRotate, 1);
  EXPECT_FALSE(scheme.RotateCover);
  EXPECT_EQ(WideToUtf8(scheme.InternalLinksText), " [с.%P]");
  EXPECT_EQ(WideToUtf8(scheme.FooterRightOddText), "%P из %C");
  EXPECT_EQ(WideToUtf8(scheme.FooterRightEvenText), "%%");
  for (int32_t i = 0; i < VoDaziStyleCount; ++i) {
    SCOPED_TRACE(i);
    const TVoDaziStyle& style = scheme.Styles(i);
    EXPECT_EQ(style.BaseFontSize, 10 + i);
    EXPECT_EQ(style.Alignment, i % 4);
    EXPECT_EQ(style.SpaceAftBlock, 20 + i);
    EXPECT_EQ(style.SpaceBefBlock, 40 + i);
    EXPECT_EQ(style.FirstIndent, -i);
    EXPECT_EQ(style.PageBreak, i == 2);
    EXPECT_EQ(WideToUtf8(style.CodeFontName), "Liberation Mono");
  }
  SaveScheme(scheme, folder.Wide("again.gws"));
  EXPECT_EQ(folder.Read("again.gws"), original);
}

TEST(VoDaziScheme, WrittenAndReadBackGivesEqualFields) {
  const TSchemeTestFolder folder;
  TVoDaziScheme written = OddScheme();
  written.Name = u"odd";
  SaveScheme(written, folder.Wide("odd.gws"));
  TVoDaziScheme read;
  read.LoadSchemeFile(u"odd");
  ExpectSameScheme(written, read);
  EXPECT_EQ(read.Styles(vsFooter).SpaceBefBlock, 518);
  EXPECT_EQ(read.Styles(vsFooter).SpaceAftBlock, 618);
  EXPECT_EQ(WideToUtf8(read.InternalLinksText), "  [%P]");
}

// Saving looks every key up before writing it: each section's names are hashed once,
// not once a key, so a scheme of any size saves in time linear in its keys.
TEST(VoDaziScheme, SavingHashesEachSectionOnce) {
  TUniMemIniFile ini(WideString{});
  OddScheme().SchemeSaveToIni(ini);
  const int64_t sections = 1 + VoDaziStyleCount;
  EXPECT_EQ(ini.HashBuilds(), 1 + sections);  // the section list, then each section
  OddScheme().SchemeSaveToIni(ini);           // over its own keys: no build at all
  EXPECT_EQ(ini.HashBuilds(), 1 + sections);
}

// A missing key takes its default, never the value the object had before.
TEST(VoDaziScheme, MissingKeysTakeTheirDefaults) {
  const TSchemeTestFolder folder;
  folder.Write("part.gws", Utf16File("[VoDaziScheme]\r\nPageWidth=480\r\n[Verse]\r\nBaseFontSize=14\r\n"));
  TVoDaziScheme scheme = OddScheme();
  scheme.LoadSchemeFile(u"part");
  TVoDaziScheme expected;
  expected.Name = u"part";
  expected.PageWidth = 480;
  expected.Styles(vsVerse).BaseFontSize = 14;
  ExpectSameScheme(expected, scheme);
}

TEST(VoDaziScheme, EmptyOrMissingFileLoadsTheDefaultsUnderTheName) {
  const TSchemeTestFolder folder;
  folder.Write("empty.gws", "");
  for (const WideString name : {u"empty", u"missing"}) {
    SCOPED_TRACE(WideToUtf8(name));
    TVoDaziScheme scheme = OddScheme();
    scheme.LoadSchemeFile(name);
    TVoDaziScheme expected;
    expected.Name = name;
    ExpectSameScheme(expected, scheme);
  }
  EXPECT_FALSE(folder.Exists("missing.gws"));  // loading never writes
}

// An 8-bit file (no byte-order mark) is read in the ANSI code page, Windows-1251.
TEST(VoDaziScheme, FileWithoutByteOrderMarkIsAnsi) {
  const TSchemeTestFolder folder;
  folder.Write(
      "ansi.gws",
      "[VoDaziScheme]\r\nInternalLinksText= (\xF1\xF2\xF0.%P)\r\n[Header]\r\nBaseFontName=\xD8\xF0\xE8\xF4\r\n");
  TVoDaziScheme scheme;
  scheme.LoadSchemeFile(u"ansi");
  EXPECT_EQ(WideToUtf8(scheme.InternalLinksText), " (стр.%P)");
  EXPECT_EQ(WideToUtf8(scheme.Styles(vsHeader).BaseFontName), "Шриф");
}

// A file that cannot be read (a FIFO, one past the load limit) raises and leaves the
// scheme as it was; the same object then loads a good file.
TEST(VoDaziScheme, FailedLoadLeavesTheSchemeThenAGoodOneLoads) {
  const TSchemeTestFolder folder;
  ASSERT_EQ(mkfifo((folder / "fifo.gws").c_str(), 0600), 0);
  folder.Write("huge.gws", Utf16File("[VoDaziScheme]\r\nPageWidth=1\r\n" + std::string(100, ';') + "\r\n"));
  folder.Write("good.gws", Utf16File("[VoDaziScheme]\r\nPageHeight=900\r\n"));
  const int64_t savedLimit = FileLimits().MaxLoadedBytes;
  FileLimits().MaxLoadedBytes = 200;
  for (const WideString bad : {u"fifo", u"huge"}) {
    SCOPED_TRACE(WideToUtf8(bad));
    TVoDaziScheme scheme = OddScheme();
    scheme.Name = u"before";
    const TVoDaziScheme before = scheme;
    EXPECT_THROW(scheme.LoadSchemeFile(bad), EWideFOpenError);
    ExpectSameScheme(before, scheme);
    scheme.LoadSchemeFile(u"good");
    TVoDaziScheme expected;
    expected.Name = u"good";
    expected.PageHeight = 900;
    ExpectSameScheme(expected, scheme);
  }
  FileLimits().MaxLoadedBytes = savedLimit;
}

TEST(VoDaziScheme, LoadingNeverWritesTheFile) {
  const TSchemeTestFolder folder;
  const std::string partial = Utf16File("[VoDaziScheme]\r\nPageWidth=480\r\n");
  folder.Write("part.gws", partial);
  TVoDaziScheme scheme;
  scheme.LoadSchemeFile(u"part");
  EXPECT_EQ(folder.Read("part.gws"), partial);
}

// The listing matches "*.gws" in any case and names each scheme by its file name less
// the last extension; loading by that name finds the file whatever its case, and a
// dotted name keeps its dot ("a.b" loads a.b.gws, not a.gws).
TEST(VoDaziScheme, ListedNamesLoadTheirOwnFiles) {
  const TSchemeTestFolder folder;
  folder.Write("Big.GWS", Utf16File("[VoDaziScheme]\r\nPageWidth=1\r\n"));
  folder.Write("a.b.gws", Utf16File("[VoDaziScheme]\r\nPageWidth=2\r\n"));
  folder.Write("a.gws", Utf16File("[VoDaziScheme]\r\nPageWidth=3\r\n"));
  folder.Write("empty.gws", "");
  folder.Write("other.gws", Utf16File("[Other]\r\nPageWidth=4\r\n"));
  folder.Write("note.txt", Utf16File("[VoDaziScheme]\r\nPageWidth=5\r\n"));
  ASSERT_EQ(mkdir((folder / "dir.gws").c_str(), 0700), 0);
  ASSERT_EQ(mkfifo((folder / "fifo.gws").c_str(), 0600), 0);
  TUniStringList list;
  list.Add(u"stale");
  ListSchemes(list);
  // The folder search's order: by upper-cased name ("A.B.GWS" < "A.GWS" < "BIG.GWS").
  EXPECT_EQ(WideToUtf8(list.Text()), "a.b\r\na\r\nBig\r\n");

  const std::vector<std::pair<WideString, int32_t>> loads = {{u"a.b", 2}, {u"a", 3}, {u"Big", 1}, {u"BIG", 1}};
  for (const auto& [name, width] : loads) {
    SCOPED_TRACE(WideToUtf8(name));
    TVoDaziScheme scheme;
    scheme.LoadSchemeFile(name);
    EXPECT_EQ(scheme.PageWidth, width);
    EXPECT_EQ(WideToUtf8(scheme.Name), WideToUtf8(name));
  }
}

TEST(VoDaziScheme, ExactNameWinsOverOtherCases) {
  const TSchemeTestFolder folder;
  folder.Write("Mix.GWS", Utf16File("[VoDaziScheme]\r\nPageWidth=1\r\n"));
  folder.Write("Mix.gws", Utf16File("[VoDaziScheme]\r\nPageWidth=2\r\n"));
  TVoDaziScheme scheme;
  scheme.LoadSchemeFile(u"Mix");
  EXPECT_EQ(scheme.PageWidth, 2);
}

TEST(VoDaziScheme, AssignCopiesStylesAndRefusesOtherClasses) {
  TVoDaziScheme source = OddScheme();
  source.Name = u"src";
  TVoDaziScheme target;
  target.Assign(source);
  ExpectSameScheme(source, target);

  TVoDaziStyle style(vsVerse);
  style.Assign(source.Styles(vsCite));
  EXPECT_EQ(style.Index, vsCite);  // Index is copied too
  EXPECT_EQ(style.SpaceBefore, 206);

  try {
    style.Assign(source);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TVoDaziScheme to a TVoDaziStyle");
  }
  EXPECT_THROW(target.Assign(style), EConvertError);
}

TEST(VoDaziScheme, ResetRestoresDefaultsAndKeepsStyleIndexes) {
  TVoDaziScheme scheme = OddScheme();
  scheme.Name = u"x";
  scheme.SchemeReset();
  ExpectSameScheme(TVoDaziScheme(), scheme);
  TVoDaziStyle style = OddScheme().Styles(vsDate);
  style.StyleReset();
  EXPECT_EQ(style.Index, vsDate);
  EXPECT_EQ(style.SpaceBefore, 0);
}

}  // namespace
