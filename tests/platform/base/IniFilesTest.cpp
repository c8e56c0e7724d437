#include "platform/base/IniFiles.h"

#include <gtest/gtest.h>

#include "platform/base/Exception.h"
#include "platform/base/StringLists.h"
#include "platform/base/TempFolder.h"

namespace {

TEST(TIniFile, ReadsAndWritesThroughTheProfileCalls) {
  TempFolder folder;
  TStringList list;
  {
    TIniFile ini(folder / "test.ini");
    ini.WriteString("Main", "Name", "\xC6");  // Ж in code page 1251
    ini.WriteString("Main", "Size", "12");
    ini.WriteString("Gone", "k", "v");
    EXPECT_EQ(ini.ReadString("MAIN", "name", ""), "\xC6");
    EXPECT_EQ(ini.ReadString("Main", "Missing", "default"), "default");
    ini.ReadSectionValues("Main", list);
    EXPECT_EQ(list.Text(), "Name=\xC6\r\nSize=12\r\n");
    ini.DeleteKey("Main", "Size");
    ini.EraseSection("Gone");
    ini.ReadSections(list);
    EXPECT_EQ(list.Text(), "Main\r\n");
    ini.ReadSection("Main", list);
    EXPECT_EQ(list.Text(), "Name\r\n");
  }
  TIniFile inMissingFolder(folder / "none/test.ini");
  try {
    inMissingFolder.WriteString("S", "k", "v");
    ADD_FAILURE() << "no EIniFileException";
  } catch (const EIniFileException& e) {
    EXPECT_EQ(e.Message(), "Unable to write to " + folder / "none/test.ini");
  }
}

TEST(TIniFile, IntegersAsTheClassLibraryReadsThem) {
  TempFolder folder;
  TIniFile ini(folder / "numbers.ini");
  TCustomIniFile& custom = ini;
  custom.WriteInteger("N", "Negative", -16777208);
  EXPECT_EQ(ini.ReadString("N", "Negative", ""), "-16777208");
  const struct {
    const char* Text;
    int32_t Expected;
  } cases[] = {
      {"42", 42},    {"-7", -7}, {"$1F", 31}, {"0x1F", 31},       {"0X1f", 31},
      {"12abc", 99}, {"", 99},   {"0x", 99},  {"2147483648", 99}, {"$FFFFFFFF", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    ini.WriteString("N", "Value", c.Text);
    EXPECT_EQ(custom.ReadInteger("N", "Value", 99), c.Expected);
  }
  EXPECT_EQ(custom.ReadInteger("N", "Missing", 5), 5);
}

}  // namespace
