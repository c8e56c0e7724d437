// Reads and writes whose work grows with their input no faster than n log n
// (RPGrowthCases.h).
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/base/CodePages.h"
#include "platform/base/IniFiles.h"
#include "platform/base/StringLists.h"
#include "platform/base/TempFolder.h"
#include "richtext/interchange/RPFTestData.h"
#include "richtext/interchange/RPGrowthCases.h"
#include "richtext/interchange/RPRTFImportFixture.h"
#include "richtext/model/RPStyleTemplates.h"
#include "unicode/UniSystem.h"
#include "unicode/ini/UniIniFiles.h"
#include "xml/XmlAllocationMeter.h"

namespace {

// A list of two numbered levels: one item at level 0 (with top), then count items at
// level 1.
std::string LongSubList(int count, bool top) {
  std::string rtf =
      "{\\rtf1{\\*\\listtable{\\list\\listtemplateid1"
      "{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext \\'02\\'00.;}{\\levelnumbers\\'01;}}"
      "{\\listlevel\\levelnfc4\\levelstartat1{\\leveltext \\'02\\'01);}{\\levelnumbers\\'01;}}"
      "\\listid7}}{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}}";
  if (top) rtf += "\\pard\\ls1\\ilvl0 top\\par";
  for (int i = 0; i < count; ++i) rtf += "\\pard\\ls1\\ilvl1 item\\par";
  return rtf + "}";
}

int64_t ParentSearchStepsOf(const TCustomRPData& data) {
  const auto* markers = dynamic_cast<const TRPMarkerList*>(const_cast<TCustomRPData&>(data).GetMarkers(false));
  return markers ? markers->ParentSearchSteps() : 0;
}

int64_t ImportedListSearches(int count, bool top) {
  TImportFixture fixture;
  EXPECT_EQ(fixture.Import(LongSubList(count, top)), rtf_ec_OK);
  return ParentSearchStepsOf(fixture.Data());
}

// count level-1 markers with no level-0 one, written in the native format and loaded.
int64_t LoadedListSearches(int count) {
  TRPFPane source(rpfoSaveTextStyles | rpfoSaveParaStyles);
  TRPListInfo& list = *source.Style.ListStyles().Add();
  list.Levels().Add()->ListType = rplstDecimal;
  list.Levels().Add()->ListType = rplstLowerAlpha;
  for (int i = 0; i < count; ++i) {
    auto marker = TRPMarkerItemInfo::CreateEx(&source.Data(), 0, 1, 1, false);
    marker->ParaNo = 0;
    source.Data().AddItem({}, std::move(marker));
    source.Data().AddAnsiText("item", 0, TRPTag(), -1);
  }
  const AnsiString bytes = source.Save();
  TRPFPane target;
  target.Style.ListStyles().Add()->Assign(list);
  EXPECT_TRUE(target.Load(bytes));
  EXPECT_EQ(target.Data().GetItemCount(), 2 * count);
  return ParentSearchStepsOf(target.Data());
}

// The allocations an import of rtf makes.
int64_t ImportAllocations(const std::string& rtf) {
  TImportFixture fixture;
  TAllocationMeter meter;
  EXPECT_EQ(fixture.Import(rtf), rtf_ec_OK);
  return meter.Allocations();
}

// Text left in a table after its last row.
int64_t TrailingItems(int count) {
  std::string rtf = "{\\rtf1\\trowd\\cellx1000\\intbl a\\cell\\row\\intbl";
  for (int i = 0; i < count; ++i) rtf += " text\\par";
  return ImportAllocations(rtf + "}");
}

// count rows of one cell whose boundary moves by two twips a row, so that each adds a
// column: a grid of count x count positions, which the budget refuses past the input's
// size.
int64_t ShiftedRows(int count) {
  std::string rtf = "{\\rtf1";
  for (int r = 0; r < count; ++r) rtf += "\\trowd\\cellx" + std::to_string(1000 + 2 * r) + "\\intbl x\\cell\\row";
  TImportFixture fixture;
  TAllocationMeter meter;
  EXPECT_EQ(fixture.Import(rtf + "}"), rtf_ec_BadTable);
  return meter.Allocations();
}

// A cell nested count levels deep, far past the nesting limit, closed level by level.
int64_t DeepTables(int count) {
  std::string rtf = "{\\rtf1 ";
  for (int i = 1; i <= count; ++i) rtf += "\\pard\\intbl\\itap" + std::to_string(i) + " x";
  for (int i = count; i >= 2; --i)
    rtf += "\\nestcell{\\*\\nesttableprops\\trowd\\cellx100\\nestrow}\\pard\\intbl\\itap" + std::to_string(i - 1) + " ";
  return ImportAllocations(rtf + "\\cell\\trowd\\cellx100\\row\\pard}");
}

// A style sheet of count text styles loaded from a file.
int64_t StyleIni(int count) {
  TempFolder folder;
  const std::string name = folder / "styles.ini";
  {
    std::ofstream file(name, std::ios::binary);
    file << "[S]\r\nTextStyleCount=" << count << "\r\n";
    for (int i = 0; i < count; ++i) file << "[S.Text" << i << "]\r\nStyleName=s" << i << "\r\nSize=12\r\n";
  }
  TRPStyle style(nullptr);
  TIniFile ini(name);
  TAllocationMeter meter;
  style.LoadFromINI(ini, "S");
  EXPECT_EQ(style.TextStyles().Count(), count);
  return meter.Allocations();
}

// A style sheet of count text styles saved into an in-memory ini that holds it already:
// the sections and keys that the ini changed.
int64_t StyleSheetSavedAgain(int count) {
  TempFolder folder;
  TRPStyle style(nullptr);
  for (int i = 0; i < count; ++i) style.TextStyles().Add()->Size = 8 + i % 50;
  TMemIniFile ini(folder / "styles.ini");
  style.SaveToINI(ini, "S");
  const int64_t before = ini.ChangeSteps();
  style.SaveToINI(ini, "S");
  // The standard six styles come first.
  EXPECT_EQ(ini.ReadInteger("S.Text" + std::to_string(5 + count), "Size", 0), 8 + (count - 1) % 50);
  return ini.ChangeSteps() - before;
}

// The lines of a section of count keys read from an ini file: 8-bit or wide.
std::string SectionOfKeys(int count) {
  std::string text = "[S]\r\n";
  for (int i = 0; i < count; ++i) text += "key" + std::to_string(i) + "=value " + std::to_string(i) + "\r\n";
  return text;
}

int64_t SectionLines(int count) {
  TempFolder folder;
  const std::string name = folder / "section.ini";
  std::ofstream(name, std::ios::binary) << SectionOfKeys(count);
  TIniFile ini(name);
  TStringList lines;
  TAllocationMeter meter;
  ini.ReadSectionValues("S", lines);
  EXPECT_EQ(lines.Count(), count);
  return meter.Allocations();
}

int64_t WideSectionLines(int count) {
  TempFolder folder;
  const std::string name = folder / "section.ini";
  std::ofstream(name, std::ios::binary) << SectionOfKeys(count);
  TUniIniFile ini(AnsiToWideWithCodePage(name, CP_UTF8));
  TUniStringList lines;
  TAllocationMeter meter;
  ini.ReadSectionValues(u"S", lines);
  EXPECT_EQ(lines.Count(), count);
  return meter.Allocations();
}

// A chain of count templates, each the parent of the next, made and linked.
int64_t TemplateChain(int count) {
  TRPStyle style(nullptr);
  TAllocationMeter meter;
  TRPStyleTemplate* previous = nullptr;
  for (int i = 0; i < count; ++i) {
    TRPStyleTemplate* t = style.StyleTemplates().Add();
    if (previous) t->SetParentId(previous->GetId());
    previous = t;
  }
  EXPECT_EQ(previous->Parent() != nullptr, count > 1);
  return meter.Allocations();
}

// Runs of count sizes, each twice, into a sheet that adds the styles it lacks.
int64_t StyleMatching(int count) {
  std::string rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 ";
  for (int pass = 0; pass < 2; ++pass)
    for (int i = 0; i < count; ++i) rtf += "\\fs" + std::to_string(2 * i + 2) + " run ";
  TImportFixture fixture;
  fixture.Props.TextStyleMode = rprsAddIfNeeded;
  EXPECT_EQ(fixture.Import(rtf + "}"), rtf_ec_OK);
  return fixture.Props.TextStylesCompared();
}

TEST(RPRTFGrowth, TenTimesTheInputCostsAtMostFourteenTimesTheWork) {
  ExpectWorkAtMostLinear({
      {"list numbering: markers looked at for parents", 300, [](int n) { return ImportedListSearches(n, true); }},
      {"list numbering without a parent: markers looked at", 300, [](int n) { return ImportedListSearches(n, false); }},
      {"a loaded list without a parent: markers looked at", 300, LoadedListSearches},
      {"text after a table's last row: allocations", 300, TrailingItems},
      {"tables nested past the limit: allocations", 200, DeepTables},
      {"rows of shifted boundaries: allocations", 1000, ShiftedRows},
      {"a style sheet from an ini file: allocations", 40, StyleIni},
      {"a style sheet saved over itself in memory: sections and keys changed", 60, StyleSheetSavedAgain},
      {"an ini section's lines: allocations", 100, SectionLines},
      {"a wide ini section's lines: allocations", 100, WideSectionLines},
      {"a chain of style templates: allocations", 300, TemplateChain},
      {"runs matched with text styles: styles compared", 90, StyleMatching},
  });
}

// A count with no styles behind it reads nothing.
TEST(RPRTFGrowth, AStyleCountWithNothingBehindItCostsNothing) {
  TempFolder folder;
  const std::string name = folder / "count.ini";
  std::ofstream(name, std::ios::binary) << "[S]\r\nTextStyleCount=65536\r\nParaStyleCount=65536\r\n";
  TRPStyle style(nullptr);
  TIniFile ini(name);
  TAllocationMeter meter;
  style.LoadFromINI(ini, "S");
  EXPECT_EQ(style.TextStyles().Count(), 0);
  EXPECT_LT(meter.Allocations(), 2000);
}

}  // namespace
