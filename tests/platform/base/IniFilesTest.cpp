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

// A section's lines, read at once, say for each key what reading that key says: the first
// value of a name the section repeats, blanks and one pair of quotes trimmed, long values
// whole; lines that are no keys and a later section of the name count for nothing.
TEST(TIniFile, ASectionsLinesGiveWhatEachKeyReads) {
  TempFolder folder;
  const std::string name = folder / "lines.ini";
  const std::string longValue(5000, 'x');
  std::ofstream(name, std::ios::binary) << "[S]\r\n a = 1 \r\nA=second\r\nq=\" quoted \"\r\nlong=" << longValue
                                        << "\r\nempty=\r\n;note=x\r\nno key\r\n[s]\r\nlater=1\r\n";
  TIniFile ini(name);
  TStringList lines;
  ini.ReadSectionValues("s", lines);
  EXPECT_EQ(lines.Text(), "a=1\r\nA=1\r\nq= quoted \r\nlong=" + longValue + "\r\nempty=\r\n");
  TStringList keys;
  ini.ReadSection("S", keys);
  ASSERT_EQ(keys.Count(), lines.Count());
  for (int32_t i = 0; i < keys.Count(); ++i)
    EXPECT_EQ(lines.Strings(i), keys.Strings(i) + "=" + ini.ReadString("S", keys.Strings(i), "default"));
  ini.ReadSectionValues("missing", lines);
  EXPECT_EQ(lines.Count(), 0);
}

// Erasing a section or a key leaves the others in their order; a section written again
// after its erasure comes last.
TEST(TMemIniFile, ErasingKeepsTheOrderOfTheRest) {
  TempFolder folder;
  TMemIniFile memory(folder / "order.ini");
  for (const char* section : {"A", "B", "C"})
    for (const char* key : {"k1", "k2", "k3"}) memory.WriteString(section, key, section);
  memory.EraseSection("b");
  memory.DeleteKey("A", "K2");
  memory.WriteString("B", "k", "again");
  memory.WriteString("A", "k2", "back");
  TStringList list;
  memory.ReadSections(list);
  EXPECT_EQ(list.Text(), "A\r\nC\r\nB\r\n");
  memory.ReadSectionValues("A", list);
  EXPECT_EQ(list.Text(), "k1=A\r\nk3=A\r\nk2=back\r\n");
  EXPECT_EQ(memory.ReadString("C", "k3", ""), "C");
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
