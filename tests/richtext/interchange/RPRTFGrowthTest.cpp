// Reads whose work grows with their input no faster than n log n: each case is run
// at n and at 10 n, and the work it did (counted, never timed) may grow at most 14
// times.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>

#include "platform/base/IniFiles.h"
#include "platform/base/TempFolder.h"
#include "platform/base/WorkGrowth.h"
#include "richtext/interchange/RPRTFImportFixture.h"
#include "richtext/model/RPStyleTemplates.h"
#include "xml/XmlAllocationMeter.h"

namespace {

// A list of two numbered levels: one item at level 0, then count items at level 1.
std::string LongSubList(int count) {
  std::string rtf =
      "{\\rtf1{\\*\\listtable{\\list\\listtemplateid1"
      "{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext \\'02\\'00.;}{\\levelnumbers\\'01;}}"
      "{\\listlevel\\levelnfc4\\levelstartat1{\\leveltext \\'02\\'01);}{\\levelnumbers\\'01;}}"
      "\\listid7}}{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}}"
      "\\pard\\ls1\\ilvl0 top\\par";
  for (int i = 0; i < count; ++i) rtf += "\\pard\\ls1\\ilvl1 item\\par";
  return rtf + "}";
}

int64_t ParentSearchSteps(int count) {
  TImportFixture fixture;
  EXPECT_EQ(fixture.Import(LongSubList(count)), rtf_ec_OK);
  const auto* markers = dynamic_cast<const TRPMarkerList*>(fixture.Data().GetMarkers(false));
  return markers ? markers->ParentSearchSteps() : 0;
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
  const struct {
    const char* Name;
    int Count;
    std::function<int64_t(int)> Work;
  } cases[] = {
      {"list numbering: markers looked at for parents", 300, ParentSearchSteps},
      {"text after a table's last row: allocations", 300, TrailingItems},
      {"tables nested past the limit: allocations", 200, DeepTables},
      {"a style sheet from an ini file: allocations", 40, StyleIni},
      {"a chain of style templates: allocations", 300, TemplateChain},
      {"runs matched with text styles: styles compared", 90, StyleMatching},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    ExpectWorkGrowsAtMostFourteenFold(c.Work, c.Count);
  }
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
