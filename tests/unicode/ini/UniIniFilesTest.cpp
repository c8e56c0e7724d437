#include "unicode/ini/UniIniFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/base/Exception.h"
#include "platform/base/FileSizeLimit.h"
#include "platform/base/LastError.h"
#include "unicode/Peers.h"
#include "unicode/PlatformFamily.h"
#include "unicode/StringListLines.h"
#include "unicode/TestFiles.h"
#include "unicode/UniClasses.h"
#include "unicode/UniSysUtils.h"

namespace {

std::string Utf16LeWithMark(WideStringView text) { return "\xFF\xFE" + Utf16LeBytes(text); }

class IniFileTest : public testing::Test {
protected:
  std::string Path(const std::string& name = "test.ini") const { return FFolder / name; }
  WideString Name(const std::string& name = "test.ini") const { return WideName(Path(name)); }
  // A copy of the hand-edited fixture (8-bit text in code page 1251).
  WideString HandEdited() const {
    WriteBytes(Path(), ReadBytes(DataPath("ini/hand-edited.ini")));
    return Name();
  }

  TempFolder FFolder;
};

// ---- TUniMemIniFile ----

using TUniMemIniFileTest = IniFileTest;

TEST_F(TUniMemIniFileTest, ReadsAHandEditedFile) {
  TUniMemIniFile ini(HandEdited());
  // Two sections of one name: reads reach the last, which hides the first one's keys.
  EXPECT_EQ(ini.ReadInteger(u"Scheme", u"PageWidth", 0), 800);
  EXPECT_EQ(ini.ReadString(u"SCHEME", u"name", u"hidden"), u"hidden");
  EXPECT_EQ(ini.ReadString(u"Style", u"Font", u""), u"Times New Roman");
  EXPECT_EQ(ini.ReadString(u"Scheme", u"Hidden", u"none"), u"none");  // a comment
  EXPECT_EQ(ini.ReadString(u"Missing", u"Name", u"default"), u"default");

  TUniStringList list;
  ini.ReadSections(list);
  EXPECT_EQ(Lines(list), (std::vector<WideString>{u"Scheme", u"Style", u"scheme"}));
  ini.ReadSection(u"Style", list);
  EXPECT_EQ(Lines(list), (std::vector<WideString>{u"Font"}));
  EXPECT_TRUE(ini.SectionExists(u"style"));
  EXPECT_FALSE(ini.SectionExists(u"Orphan"));
}

TEST_F(TUniMemIniFileTest, TrimsKeysAndKeepsLeadingBlanksOfValues) {
  WriteBytes(Path(), "[S]\r\n  key =  value  \r\n");
  TUniMemIniFile ini(Name());
  EXPECT_EQ(ini.ReadString(u"s", u"KEY", u""), u"  value");
}

TEST_F(TUniMemIniFileTest, LineWithoutEqualsSignIsKeptAsALine) {
  WriteBytes(Path(), "[S]\r\njust a note\r\nk=v\r\n");
  TUniMemIniFile ini(Name());
  TUniStringList list;
  ini.ReadSection(u"S", list);
  EXPECT_EQ(Lines(list), (std::vector<WideString>{u"", u"k"}));  // its name is empty
  ini.ReadSectionValues(u"S", list);
  EXPECT_EQ(Lines(list), (std::vector<WideString>{u"just a note", u"k=v"}));
  EXPECT_EQ(ini.ReadString(u"S", u"just a note", u"default"), u"default");
}

TEST_F(TUniMemIniFileTest, UpdateFileWritesUtf16WithMark) {
  TUniMemIniFile empty(Name("empty.ini"));
  empty.UpdateFile();
  EXPECT_EQ(ReadBytes(Path("empty.ini")), "\xFF\xFE");

  TUniMemIniFile ini(Name());
  ini.WriteString(u"S", u"k", u"v");
  EXPECT_FALSE(WideFileExists(Name()));  // nothing reaches the disk before UpdateFile
  ini.UpdateFile();
  EXPECT_EQ(ReadBytes(Path()), Utf16LeWithMark(u"[S]\r\nk=v\r\n\r\n"));
}

// Kept on purpose: the lines before the first section, comments and blank lines are not
// parsed into sections, so UpdateFile does not write them back.
TEST_F(TUniMemIniFileTest, UpdatingDropsLinesOutsideSectionsAndComments) {
  TUniMemIniFile ini(HandEdited());
  ini.WriteInteger(u"Style", u"Size", 12);
  ini.UpdateFile();
  EXPECT_EQ(ReadBytes(Path()),
            Utf16LeWithMark(u"[Scheme]\r\nName=  \x041D\x043E\x0447\x044C\r\nPageWidth=600\r\njust a note\r\n\r\n"
                            u"[Style]\r\nFont=Times New Roman\r\nSize=12\r\n\r\n"
                            u"[scheme]\r\nPageWidth=800\r\n\r\n"));
}

TEST_F(TUniMemIniFileTest, WritesEveryTextAndReloadsItWithoutLoss) {
  const WideString value = u" \x4E2D\xD83D\xDE00\xDC80 = ; [x]";  // outside code page 1251 too
  {
    TUniMemIniFile ini(Name());
    ini.WriteString(u"\x0421\x0445\x0435\x043C\x0430", u"\x041A\x043B\x044E\x0447", u"old");
    ini.WriteString(u"\x0441\x0445\x0435\x043C\x0430", u"\x043A\x043B\x044E\x0447", value);  // same names, other case
    ini.WriteBool(u"Flags", u"On", true);
    ini.WriteString(u"Gone", u"k", u"v");
    ini.EraseSection(u"GONE");
    ini.WriteString(u"Flags", u"Off", u"1");
    ini.DeleteKey(u"flags", u"OFF");
    ini.UpdateFile();
  }
  TUniMemIniFile reloaded(Name());
  EXPECT_EQ(reloaded.ReadString(u"\x0421\x0445\x0435\x043C\x0430", u"\x041A\x043B\x044E\x0447", u""), value);
  EXPECT_TRUE(reloaded.ReadBool(u"Flags", u"On", false));
  EXPECT_EQ(reloaded.ReadString(u"Flags", u"Off", u"deleted"), u"deleted");
  TUniStringList sections;
  reloaded.ReadSections(sections);
  EXPECT_EQ(Lines(sections), (std::vector<WideString>{u"\x0421\x0445\x0435\x043C\x0430", u"Flags"}));
}

// Kept on purpose: loading trims every line, so blanks at the end of a value do not
// survive a reload.
TEST_F(TUniMemIniFileTest, TrailingBlanksOfAValueAreLostOnReload) {
  {
    TUniMemIniFile ini(Name());
    ini.WriteString(u"S", u"k", u"v  ");
    EXPECT_EQ(ini.ReadString(u"S", u"k", u""), u"v  ");
    ini.UpdateFile();
  }
  TUniMemIniFile reloaded(Name());
  EXPECT_EQ(reloaded.ReadString(u"S", u"k", u""), u"v");
}

TEST_F(TUniMemIniFileTest, FileEditedByHandBetweenRuns) {
  {
    TUniMemIniFile ini(Name());
    ini.WriteString(u"Main", u"Width", u"640");
    ini.UpdateFile();
  }
  // Edited in a text editor that keeps the encoding: a changed value, a new key.
  WriteBytes(Path(), Utf16LeWithMark(u"[Main]\r\nWidth = 800\r\nHeight=480\r\n"));
  TUniMemIniFile ini(Name());
  EXPECT_EQ(ini.ReadInteger(u"Main", u"Width", 0), 800);
  EXPECT_EQ(ini.ReadInteger(u"Main", u"Height", 0), 480);
}

TEST_F(TUniMemIniFileTest, RenameReloadsOnRequest) {
  WriteBytes(Path("other.ini"), "[S]\r\nk=other\r\n");
  TUniMemIniFile ini(Name());
  ini.WriteString(u"S", u"k", u"mine");
  ini.Rename(Name("other.ini"), false);
  EXPECT_EQ(ini.ReadString(u"S", u"k", u""), u"mine");
  ini.Rename(Name("other.ini"), true);
  EXPECT_EQ(ini.ReadString(u"S", u"k", u""), u"other");
  EXPECT_EQ(ini.FileName(), Name("other.ini"));
}

// A name that is seen to exist but is gone when it is opened (here a link whose target
// is missing): the open error of the file stream, as for any file that cannot be opened.
TEST_F(TUniMemIniFileTest, FileThatVanishesBeforeItIsReadRaisesOpenError) {
  ASSERT_EQ(symlink(Path("gone.ini").c_str(), Path().c_str()), 0);
  ASSERT_TRUE(WideFileExists(Name()));
  try {
    TUniMemIniFile ini(Name());
    ADD_FAILURE() << "no EWideFOpenError";
  } catch (const EWideFOpenError& e) {
    EXPECT_EQ(e.WideMessage(), u"Cannot open file \"" + Name() + u"\". " + WideSysErrorMessage(ERROR_FILE_NOT_FOUND));
  }
}

TEST_F(TUniMemIniFileTest, UpdatingIntoAMissingFolderRaisesCreateError) {
  const WideString name = Name("none/test.ini");
  TUniMemIniFile ini(name);
  try {
    ini.UpdateFile();
    ADD_FAILURE() << "no EWideFCreateError";
  } catch (const EWideFCreateError& e) {
    EXPECT_EQ(e.WideMessage(), u"Cannot create file \"" + name + u"\". " + WideSysErrorMessage(ERROR_PATH_NOT_FOUND));
  }
}

TEST_F(TUniMemIniFileTest, AFailedUpdateLeavesTheFileWhole) {
  const std::string before = Utf16LeWithMark(u"[Scheme]\r\nPageWidth=600\r\n");
  WriteBytes(Path(), before);
  chmod(Path().c_str(), 0444);
  TUniMemIniFile ini(Name());
  ini.WriteString(u"Scheme", u"PageWidth", u"800");
  EXPECT_THROW(ini.UpdateFile(), EWideFCreateError);
  EXPECT_EQ(ReadBytes(Path()), before);
}

TEST_F(TUniMemIniFileTest, AFifoNamedAsTheFileIsRefusedAndAFailedReloadChangesNothing) {
  ASSERT_EQ(mkfifo(Path("fifo.ini").c_str(), 0600), 0);
  try {
    TUniMemIniFile ini(Name("fifo.ini"));
    ADD_FAILURE() << "no EWideFOpenError";
  } catch (const EWideFOpenError& e) {
    EXPECT_EQ(e.WideMessage(),
              u"Cannot open file \"" + Name("fifo.ini") + u"\". " + WideSysErrorMessage(ERROR_BAD_FILE_TYPE));
  }
  WriteBytes(Path(), "[S]\r\nk=kept\r\n");
  WriteBytes(Path("good.ini"), "[S]\r\nk=good\r\n");
  TUniMemIniFile ini(Name());
  EXPECT_THROW(ini.Rename(Name("fifo.ini"), true), EWideFOpenError);
  EXPECT_EQ(ini.FileName(), Name());
  EXPECT_EQ(ini.ReadString(u"S", u"k", u""), u"kept");
  ini.Rename(Name("good.ini"), true);  // the same object loads a good file
  EXPECT_EQ(ini.ReadString(u"S", u"k", u""), u"good");
}

TEST_F(TUniMemIniFileTest, AnUpdateStoppedByTheFileSizeLimitLeavesTheFileWholeAndSaysWhy) {
  const std::string before = Utf16LeWithMark(u"[Scheme]\r\nPageWidth=600\r\n");
  WriteBytes(Path(), before);
  const std::string shown = RunWithFileSizeLimit(before.size(), [&] {
    TUniMemIniFile ini(Name());
    ini.WriteString(u"Scheme", u"Title", u"a title that makes the file longer");
    try {
      ini.UpdateFile();
      return std::string("updated");
    } catch (const EWideFCreateError& e) {
      return Utf16LeBytes(e.WideMessage());
    }
  });
  EXPECT_EQ(shown,
            Utf16LeBytes(u"Cannot create file \"" + Name() + u"\". " + WideSysErrorMessage(ERROR_FILE_TOO_LARGE)));
  EXPECT_EQ(ReadBytes(Path()), before);
}

// ---- Typed values (shared by both ini files) ----

TEST_F(TUniMemIniFileTest, SectionsAndKeysMatchAsTheirListsCompare) {
  TUniMemIniFile ini(Name());
  ini.WriteString(u"\u212A", u"\u2126", u"value");  // KELVIN SIGN, OHM SIGN
  EXPECT_EQ(ini.ReadString(u"k", u"\u03C9", u""), u"value");
  ini.WriteString(u"K", u"\u03A9", u"changed");
  TUniStringList sections;
  ini.ReadSections(sections);
  EXPECT_EQ(Lines(sections), std::vector<WideString>{u"\u212A"});
  EXPECT_EQ(ini.ReadString(u"\u212A", u"\u2126", u""), u"changed");
}

TEST_F(TUniMemIniFileTest, IntegersAndBooleans) {
  TUniMemIniFile ini(Name());
  struct Case {
    const WideChar* Text;
    int32_t Expected;
  };
  const Case cases[] = {{u"0x1F", 31}, {u"0X10", 16}, {u"0x", -1}, {u"12abc", -1},
                        {u"-5", -5},   {u"$ff", 255}, {u"", -1},   {u"2147483648", -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    ini.WriteString(u"N", u"v", c.Text);
    EXPECT_EQ(ini.ReadInteger(u"N", u"v", -1), c.Expected);
  }
  EXPECT_TRUE(ini.ReadBool(u"N", u"missing", true));
  ini.WriteString(u"N", u"b", u"2");
  EXPECT_TRUE(ini.ReadBool(u"N", u"b", false));
  ini.WriteBool(u"N", u"b", false);
  EXPECT_EQ(ini.ReadString(u"N", u"b", u""), u"0");
  EXPECT_FALSE(ini.ReadBool(u"N", u"b", true));
  ini.WriteInteger(u"N", u"i", -42);
  EXPECT_EQ(ini.ReadString(u"N", u"i", u""), u"-42");
}

TEST_F(TUniMemIniFileTest, DatesTimesAndFloats) {
  TUniMemIniFile ini(Name());
  const TDateTime moment = 46000.75;  // 2025-12-09 18:00
  ini.WriteDate(u"D", u"date", moment);
  ini.WriteTime(u"D", u"time", moment);
  ini.WriteDateTime(u"D", u"both", moment);
  ini.WriteFloat(u"D", u"float", 2.5);
  EXPECT_EQ(ini.ReadString(u"D", u"date", u""), u"12/9/2025");
  EXPECT_EQ(ini.ReadString(u"D", u"time", u""), u"6:00:00 PM");
  EXPECT_EQ(ini.ReadString(u"D", u"both", u""), u"12/9/2025 6:00:00 PM");
  EXPECT_EQ(ini.ReadDate(u"D", u"date", 0), 46000.0);
  EXPECT_DOUBLE_EQ(ini.ReadTime(u"D", u"time", 0), 0.75);
  EXPECT_DOUBLE_EQ(ini.ReadDateTime(u"D", u"both", 0), moment);
  EXPECT_EQ(ini.ReadFloat(u"D", u"float", 0), 2.5);
  ini.WriteString(u"D", u"bad", u"not a date");
  EXPECT_EQ(ini.ReadDate(u"D", u"bad", 7), 7);
  EXPECT_EQ(ini.ReadFloat(u"D", u"bad", 1.5), 1.5);
  EXPECT_EQ(ini.ReadTime(u"D", u"missing", 0.5), 0.5);
}

TEST_F(TUniMemIniFileTest, BinaryStreamsAsHexadecimalPairs) {
  TUniMemIniFile ini(Name());
  TUniMemoryStream source;
  source.WriteBuffer("\x00\x01\xAB\xFF", 4);
  source.SetPosition(1);
  ini.WriteBinaryStream(u"B", u"bytes", source);
  EXPECT_EQ(ini.ReadString(u"B", u"bytes", u""), u"01ABFF");
  EXPECT_EQ(source.Position(), 1);  // a memory stream is not moved

  TUniMemoryStream target;
  target.WriteBuffer("xyz", 3);
  target.SetPosition(1);
  // A memory stream grows by the byte count: 3 + 3 bytes, 5 of them from the position on.
  EXPECT_EQ(ini.ReadBinaryStream(u"B", u"bytes", target), 5);
  EXPECT_EQ(target.Position(), 1);
  EXPECT_EQ(target.Size(), 6);
  EXPECT_EQ(std::string(static_cast<const char*>(target.Memory()), 6), std::string("x\x01\xAB\xFF\0\0", 6));

  TStringStream other;  // any other stream receives the bytes at its position
  EXPECT_EQ(ini.ReadBinaryStream(u"B", u"bytes", other), 3);
  EXPECT_EQ(other.DataString(), "\x01\xAB\xFF");
  TStringStream input("hi");
  ini.WriteBinaryStream(u"B", u"text", input);
  EXPECT_EQ(ini.ReadString(u"B", u"text", u""), u"6869");

  // A 10-byte stream at position 2 given 3 bytes: 13 bytes, the 5 after them kept.
  ini.WriteString(u"B", u"three", u"AB00FF");
  TUniMemoryStream ten;
  ten.WriteBuffer("0123456789", 10);
  ten.SetPosition(2);
  EXPECT_EQ(ini.ReadBinaryStream(u"B", u"three", ten), 11);
  EXPECT_EQ(ten.Position(), 2);
  EXPECT_EQ(std::string(static_cast<const char*>(ten.Memory()), static_cast<size_t>(ten.Size())),
            std::string("01\xAB\x00\xFF"
                        "56789\0\0\0",
                        13));

  ini.WriteString(u"B", u"broken", u"01zz02");  // decoding stops at the first bad pair
  TUniMemoryStream broken;
  EXPECT_EQ(ini.ReadBinaryStream(u"B", u"broken", broken), 3);
  EXPECT_EQ(std::string(static_cast<const char*>(broken.Memory()), 3), std::string("\x01\0\0", 3));
  EXPECT_EQ(ini.ReadBinaryStream(u"B", u"missing", broken), 0);
}

// ---- TUniHashedStringList ----

TEST(TUniHashedStringList, FindsTheLastOfEqualKeysAndFollowsChanges) {
  TUniHashedStringList list;
  list.SetText(u"a=1\r\nB=2\r\nA=3\r\nplain");
  EXPECT_EQ(list.IndexOfName(u"a"), 2);
  EXPECT_EQ(list.IndexOf(u"PLAIN"), 3);
  EXPECT_EQ(list.IndexOf(u"b"), -1);
  list.Delete(2);
  EXPECT_EQ(list.IndexOfName(u"a"), 0);
  list.SetString(0, u"c=1");
  EXPECT_EQ(list.IndexOfName(u"a"), -1);
  EXPECT_EQ(list.IndexOfName(u"C"), 0);
  list.SetCaseSensitive(true);
  list.Add(u"x");  // any change rebuilds the hashes
  EXPECT_EQ(list.IndexOfName(u"C"), -1);
  EXPECT_EQ(list.IndexOf(u"plain"), 2);
}

TEST(TUniHashedStringList, FindsWhatThePlainListFindsIgnoringCase) {
  const struct {
    const char16_t* Stored;
    const char16_t* Sought;
    bool Equal;  // by simple case folding
  } cases[] = {
      {u"\u212A", u"k", true},         // KELVIN SIGN folds to "k", though its upper case is itself
      {u"\u2126m", u"\u03C9M", true},  // OHM SIGN folds to omega
      {u"\u212B", u"\u00E5", true},    // ANGSTROM SIGN folds to a with ring
      {u"\u1E9E", u"\u00DF", true},    // capital sharp s folds to sharp s
      {u"\u017F", u"S", true},         // long s
      {u"\u0401\u0436", u"\u0451\u0416", true},
      {u"\u00DF", u"ss", false},  // no full folding
      {u"\u0130", u"i", false},   // dotted capital I has no simple folding
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    const WideString stored = c.Stored;
    TUniStringList plain;
    TUniHashedStringList hashed;
    for (TUniStringList* list : {&plain, static_cast<TUniStringList*>(&hashed)}) {
      list->Add(u"other");
      list->Add(stored);
      list->Add(stored + u"=value");
    }
    const int32_t expected = c.Equal ? 1 : -1;
    EXPECT_EQ(plain.IndexOf(c.Sought), expected);
    EXPECT_EQ(hashed.IndexOf(c.Sought), expected);
    EXPECT_EQ(plain.IndexOfName(c.Sought), c.Equal ? 2 : -1);
    EXPECT_EQ(hashed.IndexOfName(c.Sought), c.Equal ? 2 : -1);
  }
}

// The hashes answer as a scan from the end would, whatever changes the list between
// lookups: appends and same-name replacements update them, everything else rebuilds.
TEST(TUniHashedStringList, AnswersAsAScanFromTheEndAfterEveryChange) {
  TUniHashedStringList list;
  auto lastOf = [&](const WideString& s) {
    for (int32_t i = list.Count() - 1; i >= 0; --i)
      if (list.CompareStrings(list.Strings(i), s) == 0) return i;
    return -1;
  };
  auto lastNamed = [&](const WideString& name) {
    for (int32_t i = list.Count() - 1; i >= 0; --i)
      if (list.Strings(i).find(list.NameValueSeparator()) != WideString::npos &&
          list.CompareStrings(list.Names(i), name) == 0)
        return i;
    return -1;
  };
  const std::vector<WideString> sought = {u"a", u"A", u"b", u"a=1", u"A=2", u"b:3", u"plain", u"c"};
  const struct {
    const char* What;
    std::function<void()> Change;
  } steps[] = {
      {"append", [&] { list.Add(u"a=1"); }},
      {"append another name", [&] { list.Add(u"b=2"); }},
      {"append an equal name", [&] { list.Add(u"A=2"); }},
      {"append a line without separator", [&] { list.Add(u"plain"); }},
      {"same name, new value", [&] { list.SetString(2, u"a=3"); }},
      {"same line without separator", [&] { list.SetString(3, u"PLAIN"); }},
      {"another name", [&] { list.SetString(2, u"c=4"); }},
      {"a separator taken away", [&] { list.SetString(0, u"a"); }},
      {"insert at the front", [&] { list.Insert(0, u"b=0"); }},
      {"append after an insert", [&] { list.Add(u"a=5"); }},
      {"delete", [&] { list.Delete(1); }},
      {"exchange", [&] { list.Exchange(0, 1); }},
      {"case sensitive", [&] { list.SetCaseSensitive(true); }},
      {"append case sensitive", [&] { list.Add(u"A=6"); }},
      {"another separator", [&] { list.SetNameValueSeparator(u':'); }},
      {"append with it", [&] { list.Add(u"b:3"); }},
      {"case insensitive again", [&] { list.SetCaseSensitive(false); }},
      {"clear", [&] { list.Clear(); }},
      {"append after clear", [&] { list.Add(u"c:1"); }},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.What);
    step.Change();
    for (const WideString& s : sought) {
      EXPECT_EQ(list.IndexOf(s), lastOf(s)) << WideToAnsi(s);
      EXPECT_EQ(list.IndexOfName(s), lastNamed(s)) << WideToAnsi(s);
    }
  }
  // A refused change leaves the hashes as they were.
  list.SetSorted(true);
  EXPECT_ANY_THROW(list.SetString(0, u"c:2"));
  list.SetSorted(false);
  EXPECT_EQ(list.IndexOfName(u"c"), 0);
}

// A repeated section name reaches its last section; erasing that one uncovers the one
// before, and a reload replaces both, however the name was looked up just before.
TEST(TUniMemIniFile, ARepeatedSectionIsReachedThroughItsLastOneAfterEveryChange) {
  TUniMemIniFile ini(WideString{});
  TUniStringList text;
  text.SetText(u"[A]\nk=1\n[B]\nk=b\n[a]\nk=2");
  ini.SetStrings(text);
  EXPECT_EQ(ini.ReadString(u"A", u"k", u""), u"2");
  ini.WriteString(u"A", u"j", u"x");
  ini.EraseSection(u"A");
  EXPECT_EQ(ini.ReadString(u"A", u"k", u""), u"1");
  EXPECT_EQ(ini.ReadString(u"A", u"j", u"none"), u"none");
  ini.EraseSection(u"A");
  EXPECT_EQ(ini.ReadString(u"A", u"k", u"none"), u"none");
  ini.WriteString(u"A", u"k", u"3");  // a new section
  text.SetText(u"[A]\nk=4");
  ini.SetStrings(text);
  EXPECT_EQ(ini.ReadString(u"A", u"k", u""), u"4");
  EXPECT_EQ(ini.ReadString(u"B", u"k", u"none"), u"none");
  ini.Clear();
  EXPECT_EQ(ini.ReadString(u"A", u"k", u"none"), u"none");
}

// Writing keys one by one (each write looks its key up first) builds each hash once, so
// the work grows with the number of keys, not with its square.
TEST(TUniMemIniFile, WritingKeysBuildsEachHashOnce) {
  for (const int32_t keys : {10, 2000}) {
    SCOPED_TRACE(keys);
    TUniMemIniFile ini(WideString{});
    const std::vector<WideString> sections = {u"One", u"Two", u"Three"};
    for (const WideString& section : sections)
      for (int32_t k = 0; k < keys; ++k) ini.WriteInteger(section, u"Key" + AnsiToWide(std::to_string(k)), k);
    // The section list once, then each section's names once.
    EXPECT_EQ(ini.HashBuilds(), 1 + static_cast<int64_t>(sections.size()));
    // Writing every key again replaces values under their names: no build at all.
    for (const WideString& section : sections)
      for (int32_t k = 0; k < keys; ++k) ini.WriteInteger(section, u"key" + AnsiToWide(std::to_string(k)), -k);
    EXPECT_EQ(ini.HashBuilds(), 1 + static_cast<int64_t>(sections.size()));
    EXPECT_EQ(ini.ReadInteger(u"two", u"KEY7", 0), -7);
    TUniStringList lines;
    ini.ReadSection(u"Three", lines);
    EXPECT_EQ(lines.Count(), keys);
  }
}

TEST(TUniStringHash, KeepsEqualKeysAndFindsTheNewest) {
  TUniStringHash hash;
  hash.Add(u"key", 1);
  hash.Add(u"key", 2);
  hash.Add(u"other", 3);
  EXPECT_EQ(hash.ValueOf(u"key"), 2);
  EXPECT_EQ(hash.ValueOf(u"KEY"), -1);
  hash.Clear();
  EXPECT_EQ(hash.ValueOf(u"other"), -1);
  // Far more keys than buckets: the table grows and still finds the newest of equal keys.
  TUniStringHash small(4);
  for (int32_t i = 0; i < 3000; ++i) small.Add(AnsiToWide(std::to_string(i % 1000)), i);
  for (int32_t i = 0; i < 1000; ++i) EXPECT_EQ(small.ValueOf(AnsiToWide(std::to_string(i))), 2000 + i);
  EXPECT_EQ(small.ValueOf(u"1000"), -1);
}

// ---- TUniIniFile ----

using TUniIniFileTest = IniFileTest;

TEST_F(TUniIniFileTest, EveryWriteReachesANewLosslessFileAtOnce) {
  TUniIniFile ini(Name());
  ini.WriteString(u"QuirefoldBatch", u"DestinationDir", u"/home/\x4E2D\xD83D\xDE00");
  EXPECT_EQ(ReadBytes(Path()), Utf16LeWithMark(u"[QuirefoldBatch]\r\nDestinationDir=/home/\x4E2D\xD83D\xDE00\r\n"));
  ini.WriteInteger(u"QuirefoldBatch", u"FormXPos", 10);
  TUniIniFile other(Name());
  EXPECT_EQ(other.ReadInteger(u"quirefoldbatch", u"formxpos", 0), 10);
  EXPECT_EQ(other.ReadString(u"QuirefoldBatch", u"DestinationDir", u""), u"/home/\x4E2D\xD83D\xDE00");
  EXPECT_EQ(other.ReadString(u"QuirefoldBatch", u"Missing", u"default"), u"default");
  EXPECT_EQ(other.ReadInteger(u"Missing", u"FormXPos", -1), -1);
}

TEST_F(TUniIniFileTest, ReadsAHandEditedFileAndKeepsItsOtherLines) {
  TUniIniFile ini(HandEdited());
  EXPECT_EQ(ini.ReadString(u"scheme", u"NAME", u""), u"\x041D\x043E\x0447\x044C");  // blanks trimmed
  EXPECT_EQ(ini.ReadInteger(u"Scheme", u"PageWidth", 0), 600);                      // the first section of a name
  TUniStringList list;
  ini.ReadSections(list);
  EXPECT_EQ(Lines(list), (std::vector<WideString>{u"Scheme", u"Style", u"scheme"}));
  ini.ReadSection(u"Scheme", list);
  EXPECT_EQ(Lines(list), (std::vector<WideString>{u"Name", u"PageWidth"}));  // no note, no comment
  ini.ReadSectionValues(u"Scheme", list);
  EXPECT_EQ(Lines(list), (std::vector<WideString>{u"Name=\x041D\x043E\x0447\x044C", u"PageWidth=600"}));
  EXPECT_TRUE(ini.SectionExists(u"Style"));
  EXPECT_FALSE(ini.SectionExists(u"Nothing"));

  ini.WriteInteger(u"Style", u"Size", 12);
  std::string expected = ReadBytes(DataPath("ini/hand-edited.ini"));
  expected.insert(expected.find("[scheme]"), "Size=12\r\n");
  EXPECT_EQ(ReadBytes(Path()), expected);  // still 8-bit: the text fits code page 1251
}

TEST_F(TUniIniFileTest, FileEditedByHandBetweenRuns) {
  {
    TUniIniFile ini(Name());
    ini.WriteString(u"Main", u"Width", u"640");
  }
  WriteBytes(Path(), Utf16LeWithMark(u"; tuned by hand\r\n[Main]\r\nWidth = 800\r\n"));
  TUniIniFile ini(Name());
  EXPECT_EQ(ini.ReadInteger(u"Main", u"Width", 0), 800);
  ini.WriteString(u"Main", u"Height", u"480");
  EXPECT_EQ(ReadBytes(Path()), Utf16LeWithMark(u"; tuned by hand\r\n[Main]\r\nWidth = 800\r\nHeight=480\r\n"));
}

TEST_F(TUniIniFileTest, ErasesSectionsAndDeletesKeys) {
  TUniIniFile ini(Name());
  ini.WriteString(u"A", u"k", u"1");
  ini.WriteString(u"A", u"m", u"2");
  ini.WriteString(u"B", u"k", u"3");
  ini.DeleteKey(u"a", u"K");
  ini.DeleteKey(u"None", u"k");  // nothing to delete: no error
  EXPECT_EQ(ini.ReadString(u"A", u"k", u"gone"), u"gone");
  ini.EraseSection(u"b");
  TUniStringList sections;
  ini.ReadSections(sections);
  EXPECT_EQ(Lines(sections), (std::vector<WideString>{u"A"}));
  ini.UpdateFile();
  EXPECT_EQ(ReadBytes(Path()), Utf16LeWithMark(u"[A]\r\nm=2\r\n"));
}

TEST_F(TUniIniFileTest, LongValuesAreReadWhole) {
  TUniIniFile ini(Name());
  const WideString value(5000, u'\x0436');
  ini.WriteString(u"S", u"long", value);
  EXPECT_EQ(ini.ReadString(u"S", u"long", u""), value);
}

// A section's lines, read at once, say for each key what reading that key says (the
// first value of a repeated name, trimmed, whole), in both the wide and the 8-bit form.
TEST_F(TUniIniFileTest, ASectionsLinesGiveWhatEachKeyReads) {
  const WideString longValue(3000, u'\x0436');
  WriteBytes(Path(), Utf16LeWithMark(u"[\x0421]\r\n k = 1 \r\nK=second\r\nlong=" + longValue +
                                     u"\r\nq=' quoted '\r\n[\x0441]\r\nlater=1\r\n"));
  for (const bool eightBit : {false, true}) {
    SCOPED_TRACE(eightBit);
    std::unique_ptr<TEightBitPlatformScope> scope;
    if (eightBit) scope = std::make_unique<TEightBitPlatformScope>();
    TUniIniFile ini(Name());
    TUniStringList lines;
    ini.ReadSectionValues(u"\x0441", lines);
    EXPECT_EQ(Lines(lines), (std::vector<WideString>{u"k=1", u"K=1", u"long=" + longValue, u"q= quoted "}));
    TUniStringList keys;
    ini.ReadSection(u"\x0421", keys);
    ASSERT_EQ(keys.Count(), lines.Count());
    for (int32_t i = 0; i < keys.Count(); ++i)
      EXPECT_EQ(lines.Strings(i), keys.Strings(i) + u"=" + ini.ReadString(u"\x0421", keys.Strings(i), u"default"));
  }
}

TEST_F(TUniIniFileTest, WriteFailuresRaise) {
  WriteBytes(Path(), "[S]\r\nk=v\r\n");
  ASSERT_EQ(chmod(Path().c_str(), 0444), 0);
  TUniIniFile ini(Name());
  const std::string message = "Unable to write to " + Path();
  for (int i = 0; i < 2; ++i) {
    try {
      if (i == 0)
        ini.WriteString(u"S", u"k", u"w");
      else
        ini.EraseSection(u"S");
      ADD_FAILURE() << "no EIniFileException";
    } catch (const EIniFileException& e) {
      EXPECT_EQ(e.Message(), message);
    }
  }
  ini.DeleteKey(u"S", u"k");  // ignored
  EXPECT_EQ(ini.ReadString(u"S", u"k", u""), u"v");
}

TEST_F(TUniIniFileTest, ValueWithALineBreakIsRefused) {
  TUniIniFile ini(Name());
  EXPECT_THROW(ini.WriteString(u"S", u"k", u"two\r\n[lines]"), EIniFileException);
  EXPECT_FALSE(WideFileExists(Name()));
}

TEST_F(TUniIniFileTest, EightBitPlatformsGoThroughTheAnsiIniFile) {
  const TEightBitPlatformScope eightBit;
  TUniIniFile ini(Name());
  ini.WriteString(u"\x0421", u"k", u"\x0416\x4E2D");  // 中 has no place in code page 1251
  EXPECT_EQ(ini.ReadString(u"\x0441", u"K", u""), u"\x0416?");
  TUniStringList list;
  ini.ReadSectionValues(u"\x0421", list);
  EXPECT_EQ(Lines(list), (std::vector<WideString>{u"k=\x0416?"}));
  ini.ReadSections(list);
  EXPECT_EQ(Lines(list), (std::vector<WideString>{u"\x0421"}));
  ini.ReadSection(u"\x0421", list);
  EXPECT_EQ(Lines(list), (std::vector<WideString>{u"k"}));
  ini.DeleteKey(u"\x0421", u"k");
  ini.EraseSection(u"\x0421");
  ini.ReadSections(list);
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(TUniIniFileTest, AFifoNamedAsTheSettingsFileGivesDefaultsAtOnce) {
  ASSERT_EQ(mkfifo(Path().c_str(), 0600), 0);
  TUniIniFile ini(Name());
  EXPECT_EQ(ini.ReadString(u"S", u"k", u"default"), u"default");
  EXPECT_THROW(ini.WriteString(u"S", u"k", u"v"), EIniFileException);
}

// "中文" has no place in code page 1251: every call fails with ERROR_INVALID_NAME rather
// than reaching a file named "??.ini".
TEST_F(TUniIniFileTest, OnEightBitPlatformsANameTheCodePageCannotHoldFails) {
  const TEightBitPlatformScope eightBit;
  const WideString name = WideName(FFolder.Path()) + u"/\u4E2D\u6587.ini";
  {
    TUniIniFile ini(name);
    EXPECT_EQ(ini.ReadString(u"S", u"k", u"default"), u"default");
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
    EXPECT_THROW(ini.WriteString(u"S", u"k", u"v"), EIniFileException);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
    EXPECT_THROW(ini.EraseSection(u"S"), EIniFileException);
    TUniStringList list;
    list.Add(u"old");
    ini.ReadSections(list);
    EXPECT_EQ(list.Count(), 0);
    testing::internal::CaptureStderr();
  }
  // Destruction flushes; its failure reaches the exception display instead of ending the program.
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unable to write to " + FFolder.Path() + "/??.ini\n");
  EXPECT_FALSE(WideFileExists(WideName(FFolder.Path()) + u"/??.ini"));
  EXPECT_FALSE(WideFileExists(name));
}

TEST_F(TUniIniFileTest, OnEightBitPlatformsANameTheCodePageHoldsWorks) {
  const TEightBitPlatformScope eightBit;
  const WideString name = WideName(FFolder.Path()) + u"/\u0424.ini";
  TUniIniFile ini(name);
  ini.WriteString(u"S", u"k", u"v");
  EXPECT_EQ(ini.ReadString(u"S", u"k", u""), u"v");
  EXPECT_TRUE(WideFileExists(name));
}

}  // namespace
