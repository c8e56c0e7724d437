#include "platform/base/IniFiles.h"

#include <gtest/gtest.h>

#include <fstream>

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

// What the file says, read from memory: the same answers as the profile calls give.
TEST(TMemIniFile, AnswersAsTheProfileCallsDo) {
  TempFolder folder;
  const std::string name = folder / "memory.ini";
  std::ofstream(name, std::ios::binary) << "; comment\r\n[Main]\r\n Name = \xC6 \r\nQuoted=\" a \"\r\nname=second\r\n"
                                           "no key line\r\n[main]\r\nLater=1\r\n[Other]\r\nk='v'\r\n[Empty]\r\n";
  TIniFile file(name);
  TMemIniFile memory(name);
  const struct {
    const char* Section;
    const char* Key;
  } cases[] = {{"Main", "Name"}, {" MAIN ", "name"}, {"Main", "Quoted"}, {"Main", "Later"},
               {"Other", "K"},   {"Other", "x"},     {"None", "k"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Section) + "/" + c.Key);
    EXPECT_EQ(memory.ReadString(c.Section, c.Key, "default"), file.ReadString(c.Section, c.Key, "default"));
  }
  // A name is taken as far as a C string holds it.
  const AnsiString withZero("Main\0x", 6);
  EXPECT_EQ(memory.ReadString(withZero, "Name", "default"), file.ReadString(withZero, "Name", "default"));
  // Names the file repeats are listed once, with the value a read gives.
  TStringList list;
  memory.ReadSectionValues("Main", list);
  EXPECT_EQ(list.Text(), "Name=\xC6\r\nQuoted= a \r\n");
  memory.ReadSections(list);
  EXPECT_EQ(list.Text(), "Main\r\nOther\r\nEmpty\r\n");
  for (const char* section : {"Main", "Other", "Empty", "None"}) {
    SCOPED_TRACE(section);
    EXPECT_EQ(memory.SectionExists(section), file.SectionExists(section));
  }
}

TEST(TMemIniFile, WritesReachTheFileOnlyOnUpdate) {
  TempFolder folder;
  const std::string name = folder / "written.ini";
  TMemIniFile memory(name);
  memory.WriteString("Main", "Name", " padded ");
  memory.WriteString("Main", "Size", "12");
  memory.WriteString("Gone", "k", "v");
  memory.WriteInteger("MAIN", "size", 14);
  memory.DeleteKey("Main", "Name");
  memory.EraseSection("Gone");
  memory.WriteString("Last", "Name", "\xC6");
  TIniFile file(name);
  EXPECT_EQ(file.ReadString("Main", "Size", "missing"), "missing");
  memory.UpdateFile();
  TStringList list;
  file.ReadSections(list);
  EXPECT_EQ(list.Text(), "Main\r\nLast\r\n");
  EXPECT_EQ(file.ReadString("Main", "Size", ""), "14");
  EXPECT_EQ(file.ReadString("Last", "Name", ""), "\xC6");
  memory.WriteString("Main", "Name", " padded ");
  memory.UpdateFile();
  EXPECT_EQ(TMemIniFile(name).ReadString("Main", "Name", ""), " padded ");

  TMemIniFile inMissingFolder(folder / "none/test.ini");
  inMissingFolder.WriteString("S", "k", "v");
  EXPECT_THROW(inMissingFolder.UpdateFile(), EIniFileException);
}

}  // namespace
