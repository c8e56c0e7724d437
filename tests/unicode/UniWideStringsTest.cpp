#include "unicode/UniWideStrings.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "Peers.h"
#include "StringListLines.h"
#include "TestFiles.h"
#include "platform/base/CodePages.h"
#include "platform/base/CompareString.h"
#include "platform/base/Exception.h"
#include "platform/base/FileSizeLimit.h"
#include "platform/base/LastError.h"
#include "unicode/UniClasses.h"
#include "unicode/UniSysUtils.h"

namespace {

// Records the change events of a list.
struct EventLog {
  explicit EventLog(TUniStringList& list) {
    list.SetOnChanging([this](TObject*) { Events += "<"; });
    list.SetOnChange([this](TObject*) { Events += ">"; });
  }
  std::string Events;
};

template <typename Action>
void ExpectListError(Action action, const std::string& message) {
  try {
    action();
    ADD_FAILURE() << "no EStringListError";
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

// ---- Text ----

TEST(TWideStringsText, SplitsAtCrLfCrLfAndLineSeparator) {
  struct Case {
    WideString Text;
    std::vector<WideString> Expected;
  };
  const Case cases[] = {
      {u"a\r\nb\r\n", {u"a", u"b"}},
      {u"a\n\rb", {u"a", u"", u"b"}},  // LF CR is two breaks
      {u"a\x2028"
       u"b",
       {u"a", u"b"}},
      {u"a\rb\nc", {u"a", u"b", u"c"}},
      {u"a\r\n\r\n", {u"a", u""}},  // a final break adds no empty line
      {u"", {}},
      {WideString(u"a\r\nb\0c\r\nd", 9), {u"a", u"b"}},  // the text ends at a zero character
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    TUniStringList list;
    list.Add(u"old");
    list.SetText(c.Text);
    EXPECT_EQ(Lines(list), c.Expected);
  }
}

TEST(TWideStringsText, JoinsEveryLineWithCrLf) {
  TUniStringList list;
  EXPECT_EQ(list.Text(), u"");
  list.SetText(u"a\nb");
  EXPECT_EQ(list.Text(), u"a\r\nb\r\n");
  EXPECT_EQ(WideStrFromBuffer(list.GetTextBuffer().get(), -1), u"a\r\nb\r\n");
  list.SetTextBuffer(u"x\ny");
  EXPECT_EQ(Lines(list), (std::vector<WideString>{u"x", u"y"}));
}

// ---- Sorting and finding ----

TEST(TUniStringListSorted, DuplicatesIgnoreKeepsOneItem) {
  TUniStringList list;
  list.SetSorted(true);
  list.Add(u"b");
  EXPECT_EQ(list.Add(u"a"), 0);
  EXPECT_EQ(list.AddObject(u"b", &list), 1);  // the existing item's index
  EXPECT_EQ(Lines(list), (std::vector<WideString>{u"a", u"b"}));
  EXPECT_EQ(list.Objects(1), nullptr);
}

TEST(TUniStringListSorted, DuplicatesAcceptKeepsBothAndFindsTheFirst) {
  TUniStringList list;
  list.SetSorted(true);
  list.SetDuplicates(dupAccept);
  TObject first, second, third;
  for (const WideChar* s : {u"m", u"a", u"z", u"q", u"c"}) list.Add(s);
  list.AddObject(u"k", &first);
  list.AddObject(u"K", &second);  // equal without regard to case: goes before the first equal item
  list.AddObject(u"k", &third);
  int32_t index = -1;
  ASSERT_TRUE(list.Find(u"k", index));
  EXPECT_EQ(index, 2);
  EXPECT_EQ(list.Objects(2), &third);
  EXPECT_EQ(list.Objects(3), &second);
  EXPECT_EQ(list.Objects(4), &first);
  EXPECT_FALSE(list.Find(u"n", index));
  EXPECT_EQ(index, 6);  // where it would go: after m
}

TEST(TUniStringListSorted, DuplicatesErrorRaises) {
  TUniStringList list;
  list.SetSorted(true);
  list.SetDuplicates(dupError);
  list.Add(u"a");
  ExpectListError([&] { list.Add(u"A"); }, "String list does not allow duplicates");
  EXPECT_EQ(list.Count(), 1);
}

TEST(TUniStringListSorted, IndexOfIgnoresCaseUnlessCaseSensitive) {
  TUniStringList list;
  list.SetSorted(true);
  list.Add(u"\x0451\x043B\x043A\x0430");  // ёлка
  list.Add(u"quire");
  EXPECT_EQ(list.IndexOf(u"QUIRE"), 0);
  EXPECT_EQ(list.IndexOf(u"\x0401\x041B\x041A\x0410"), 1);  // ЁЛКА
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf(u"QUIRE"), -1);
  EXPECT_EQ(list.IndexOf(u"quire"), 0);
}

TEST(TUniStringListSorted, SortAgreesWithTheComparisonRule) {
  // Every permutation pattern the quicksort meets: runs, reversed runs, equal items.
  std::vector<WideString> words;
  for (int i = 0; i < 300; ++i) {
    const int k = (i * 7919) % 101;
    words.push_back(WideString(1, static_cast<WideChar>(k % 2 ? u'a' + k % 26 : u'A' + k % 26)) +
                    static_cast<WideChar>(u'0' + k % 10));
  }
  for (bool caseSensitive : {false, true}) {
    SCOPED_TRACE(caseSensitive);
    TUniStringList list;
    list.SetCaseSensitive(caseSensitive);
    for (const WideString& w : words) list.Add(w);
    list.Sort();
    for (int32_t i = 1; i < list.Count(); ++i)
      ASSERT_LE(CompareWideStrings(list.Strings(i - 1), list.Strings(i), !caseSensitive), 0) << i;
    EXPECT_EQ(list.Count(), 300);
  }
}

TEST(TUniStringListSorted, SwitchingSortedOnSortsAndCaseSensitivityResorts) {
  TUniStringList list;
  for (const WideChar* s : {u"b", u"C", u"a", u"B"}) list.Add(s);
  list.SetDuplicates(dupAccept);
  list.SetCaseSensitive(true);
  list.SetSorted(true);
  EXPECT_EQ(Lines(list), (std::vector<WideString>{u"B", u"C", u"a", u"b"}));
  list.SetCaseSensitive(false);
  EXPECT_TRUE(list.Sorted());
  EXPECT_EQ(CompareWideStrings(list.Strings(0), u"a", true), 0);
  EXPECT_EQ(CompareWideStrings(list.Strings(1), u"b", true), 0);
  EXPECT_EQ(CompareWideStrings(list.Strings(2), u"b", true), 0);
  EXPECT_EQ(list.Strings(3), u"C");
}

TEST(TUniStringListSorted, CustomSortOrdersByTheGivenComparison) {
  TUniStringList list;
  for (const WideChar* s : {u"ccc", u"a", u"bb"}) list.Add(s);
  list.CustomSort([](TUniStringList& l, int32_t i, int32_t j) {
    return static_cast<int32_t>(l.Strings(j).size()) - static_cast<int32_t>(l.Strings(i).size());
  });
  EXPECT_EQ(Lines(list), (std::vector<WideString>{u"ccc", u"bb", u"a"}));
}

// ---- Name=value lines ----

TEST(TWideStringsNameValue, ReadsSetsAndDeletesValues) {
  TUniStringList list;
  list.SetText(u"Width=10\r\nplain line\r\nName=first=second\r\n");
  EXPECT_EQ(list.Values(u"WIDTH"), u"10");
  EXPECT_EQ(list.Values(u"name"), u"first=second");
  EXPECT_EQ(list.Values(u"missing"), u"");
  EXPECT_EQ(list.Names(1), u"");
  EXPECT_EQ(list.Names(2), u"Name");
  EXPECT_EQ(list.IndexOfName(u"plain line"), -1);
  list.SetValues(u"width", u"20");
  EXPECT_EQ(list.Strings(0), u"width=20");
  list.SetValues(u"Height", u"5");
  EXPECT_EQ(list.Strings(3), u"Height=5");
  list.SetValues(u"Width", u"");  // an empty value deletes the line
  EXPECT_EQ(list.IndexOfName(u"width"), -1);
  EXPECT_EQ(list.Count(), 3);
}

TEST(TWideStringsNameValue, SortedListFindsNamesByBinarySearch) {
  TUniStringList list;
  list.SetSorted(true);
  for (const WideChar* s : {u"b=2", u"a=1", u"ab=3", u"c"}) list.Add(s);
  EXPECT_EQ(list.IndexOfName(u"A"), list.IndexOf(u"a=1"));
  EXPECT_EQ(list.Values(u"ab"), u"3");
  EXPECT_EQ(list.IndexOfName(u"c"), -1);
  EXPECT_EQ(list.IndexOfName(u"z"), -1);
}

TEST(TWideStringsNameValue, SeparatorIsSettable) {
  TUniStringList list;
  EXPECT_EQ(list.NameValueSeparator(), u'=');
  EXPECT_EQ(list.Delimiter(), u',');
  EXPECT_EQ(list.QuoteChar(), u'"');
  list.SetNameValueSeparator(u':');
  list.Add(u"key:value");
  EXPECT_EQ(list.Values(u"key"), u"value");
}

// ---- Errors, events and growth ----

TEST(TUniStringListErrors, ReportTheBadIndexAndSortedMisuse) {
  TUniStringList list;
  list.Add(u"a");
  ExpectListError([&] { list.Strings(1); }, "List index out of bounds (1)");
  ExpectListError([&] { list.Objects(-1); }, "List index out of bounds (-1)");
  ExpectListError([&] { list.Delete(5); }, "List index out of bounds (5)");
  ExpectListError([&] { list.Exchange(0, 3); }, "List index out of bounds (3)");
  ExpectListError([&] { list.Insert(2, u"x"); }, "List index out of bounds (2)");
  list.Insert(1, u"b");  // inserting at Count is allowed
  list.SetSorted(true);
  // The sorted check comes before the index check.
  ExpectListError([&] { list.Insert(9, u"x"); }, "Operation not allowed on sorted list");
  ExpectListError([&] { list.SetString(0, u"x"); }, "Operation not allowed on sorted list");
  ExpectListError([&] { list.SetCapacity(1); }, "List capacity out of bounds (1)");
}

// An update bracket sets the updating flag before it calls Changing, so only its
// closing OnChange fires.
TEST(TUniStringListEvents, FireAroundChangesAndOnceAfterAnUpdate) {
  TUniStringList list;
  EventLog log(list);
  list.Clear();  // an empty list fires nothing
  EXPECT_EQ(log.Events, "");
  list.Add(u"a");
  EXPECT_EQ(log.Events, "<>");
  log.Events.clear();
  list.BeginUpdate();
  list.Add(u"b");
  list.BeginUpdate();
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(log.Events, "");
  list.EndUpdate();
  EXPECT_EQ(log.Events, ">");
  log.Events.clear();
  list.SetText(u"x\ny\nz");
  EXPECT_EQ(log.Events, ">");
}

TEST(TUniStringListGrowth, CapacityGrowsByFourSixteenOrAQuarter) {
  TUniStringList list;
  std::vector<int32_t> capacities;
  for (int i = 0; i < 80; ++i) {
    list.Add(WideString(1, static_cast<WideChar>(u'a' + i % 26)));
    if (capacities.empty() || capacities.back() != list.GetCapacity()) capacities.push_back(list.GetCapacity());
  }
  EXPECT_EQ(capacities, (std::vector<int32_t>{4, 8, 12, 28, 44, 60, 76, 95}));
  list.Clear();
  EXPECT_EQ(list.GetCapacity(), 0);
}

TEST(TUniStringListItems, StringRefReadsAnItemInPlace) {
  TUniStringList list;
  list.Add(u"a");
  list.Add(u"bc");
  EXPECT_EQ(list.StringRef(1), u"bc");
  EXPECT_EQ(&list.StringRef(1), &list.StringRef(1));  // no copy
  ExpectListError([&] { (void)list.StringRef(2); }, "List index out of bounds (2)");
  ExpectListError([&] { (void)list.StringRef(-1); }, "List index out of bounds (-1)");
}

TEST(TUniStringListEdit, MoveExchangeAndObjectsTravelTogether) {
  TUniStringList list;
  TObject a, b, c;
  list.AddObject(u"a", &a);
  list.AddObject(u"b", &b);
  list.AddObject(u"c", &c);
  list.Move(0, 2);
  EXPECT_EQ(Lines(list), (std::vector<WideString>{u"b", u"c", u"a"}));
  EXPECT_EQ(list.Objects(2), &a);
  list.Exchange(0, 1);
  EXPECT_EQ(list.Objects(0), &c);
  EXPECT_EQ(list.IndexOfObject(&b), 1);
  list.SetString(1, u"B");
  EXPECT_EQ(list.Objects(1), &b);
}

// ---- Assigning ----

TEST(TWideStringsAssign, CopiesBetweenWideAndEightBitLists) {
  TUniStringList wide;
  wide.SetNameValueSeparator(u':');
  TObject object;
  wide.AddObject(u"\x0401\x043B\x043A\x0430", &object);  // Ёлка, in code page 1251
  wide.Add(u"k:v");

  TUniStringList copy;
  copy.Assign(wide);
  EXPECT_TRUE(copy.Equals(wide));
  EXPECT_EQ(copy.Values(u"k"), u"v");
  EXPECT_EQ(copy.Objects(0), &object);

  TStringList ansi;
  ansi.Assign(wide);
  EXPECT_EQ(ansi.Strings(0), "\xA8\xEB\xEA\xE0");
  EXPECT_EQ(ansi.NameValueSeparator(), ':');
  EXPECT_EQ(ansi.Objects(0), &object);

  TUniStringList back;
  back.Assign(ansi);
  EXPECT_TRUE(back.Equals(wide));
  EXPECT_EQ(back.NameValueSeparator(), u':');

  copy.Assign(copy);  // assigning a list to itself keeps it
  EXPECT_EQ(copy.Count(), 2);
}

TEST(TWideStringsAssign, OtherClassesRaise) {
  TUniStringList list;
  TPersistent other;
  try {
    list.Assign(other);
    ADD_FAILURE() << "no EConvertError";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TPersistent to a TUniStringList");
  }
}

TEST(TUniStringsAnsiView, ForwardsInTheUserCodePage) {
  TUniStringList list;
  list.Add(u"\x0416");  // Ж
  TStrings& ansi = list.AnsiStrings();
  EXPECT_EQ(ansi.Count(), 1);
  EXPECT_EQ(ansi.Strings(0), "\xC6");
  ansi.Add("\xE6");
  EXPECT_EQ(list.Strings(1), u"\x0436");
  TStringList source;
  source.Add("x");
  list.SetAnsiStrings(source);
  EXPECT_EQ(Lines(list), (std::vector<WideString>{u"x"}));

  TMemoryStream stream;
  list.AnsiStrings().SaveToStreamEx(stream, CP_UTF8);
  EXPECT_EQ(std::string(static_cast<const char*>(stream.Memory()), 3), "x\r\n");
  stream.Clear();
  stream.WriteBuffer("\xD0\x96\r\nz", 5);
  stream.SetPosition(0);
  list.AnsiStrings().LoadFromStreamEx(stream, CP_UTF8);
  EXPECT_EQ(Lines(list), (std::vector<WideString>{u"\x0416", u"z"}));
}

// ---- Streams and files ----

TEST(DetectStreamCharSet, ReadsTheMarkOrLeavesThePosition) {
  struct Case {
    std::string Bytes;
    TStreamTextEncoding Expected;
    int64_t Position;
  };
  const Case cases[] = {
      {"\xFF\xFE"
       "A",
       steUtf16LE, 2},
      {"\xFE\xFF", steUtf16BE, 2},
      {"\xEF\xBB\xBF", steUtf8, 3},
      {"\xEF\xBB", steAnsi, 0},
      {"A", steAnsi, 0},
      {"", steAnsi, 0},
      {"\xEF\xBB\xBE"
       "x",
       steAnsi, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    TStringStream stream(c.Bytes);
    EXPECT_EQ(DetectStreamCharSet(stream), c.Expected);
    EXPECT_EQ(stream.Position(), c.Position);
  }
}

class TUniStringsFiles : public testing::Test {
protected:
  std::string Path(const std::string& name) const { return FFolder / name; }
  // Loads a file of the given bytes.
  std::vector<WideString> Load(const std::string& bytes, TStreamTextEncoding* detected = nullptr) {
    WriteBytes(Path("load.txt"), bytes);
    TUniStringList list;
    list.Add(u"old");
    list.LoadFromFile(WideName(Path("load.txt")));
    if (detected != nullptr) *detected = list.DetectedFileCharSet();
    return Lines(list);
  }

  TempFolder FFolder;
};

TEST_F(TUniStringsFiles, LoadsByTheByteOrderMark) {
  struct Case {
    std::string Bytes;
    std::vector<WideString> Expected;
    TStreamTextEncoding Detected;
  };
  const Case cases[] = {
      {std::string("\xFF\xFE"
                   "A\0\r\0\n\0B\0",
                   10),
       {u"A", u"B"},
       steUtf16LE},
      // Without the mark it is 8-bit text whose zero bytes end it: only "A" is left.
      {std::string("A\0\r\0\n\0B\0", 8), {u"A"}, steAnsi},
      {std::string("\xFE\xFF\0A", 4), {u"A"}, steUtf16BE},
      {std::string("\0A\0\n\0B", 6), {}, steAnsi},  // UTF-16BE without the mark: a zero byte first
      {"\xEF\xBB\xBF"
       "A",
       {u"A"},
       steUtf8},
      {"A", {u"A"}, steAnsi},
      {"\xFF\xFE", {}, steUtf16LE},
      {std::string("\xFF\xFE"
                   "A\0B",
                   5),
       {u"A"},
       steUtf16LE},  // an odd last byte is lost
      {std::string("\xFE\xFF\0A\0", 5), {u"A"}, steUtf16BE},
      {"\xEF\xBB\xBF"
       "a\xC3(b\r\nc",
       {u"a\xFFFD(b", u"c"},
       steUtf8},                                                               // malformed UTF-8 gives U+FFFD
      {"\xD1\xEB\xEE\xE2\xEE", {u"\x0421\x043B\x043E\x0432\x043E"}, steAnsi},  // code page 1251
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    TStreamTextEncoding detected = steUtf16LE;
    EXPECT_EQ(Load(c.Bytes, &detected), c.Expected);
    EXPECT_EQ(detected, c.Detected);
  }
}

TEST_F(TUniStringsFiles, LoadsFixturesAsPythonDecodesThem) {
  struct Case {
    const char* Name;
    const char* Decoded;  // the peer's text of the file's bytes b, lines ended by CR LF
  };
  const Case cases[] = {
      {"lines-utf16be.txt", "b.decode('utf-16')"},
      {"lines-cp1251.txt", "b.decode('cp1251')"},
      {"lines-utf8-malformed.txt", "b.decode('utf-8-sig', 'replace')"},
      // Without a mark: 8-bit text, which ends at its first zero byte.
      {"lines-utf16le-nobom.txt", "b.decode('cp1251').split(chr(0))[0] + chr(13) + chr(10)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    std::string expected;
    ASSERT_TRUE(RunPeer("/usr/bin/python3 -c \"import sys; b = open('" + DataPath(c.Name) +
                            "', 'rb').read(); sys.stdout.buffer.write((" + c.Decoded + ").encode('utf-16-le'))\"",
                        "", expected));
    TUniStringList list;
    list.LoadFromFile(WideName(DataPath(c.Name)));
    EXPECT_EQ(list.Text(), FromUtf16LeBytes(expected));
  }
}

TEST_F(TUniStringsFiles, SavesUtf16LeWithMarkAndReloadsWithoutLoss) {
  TUniStringList list;
  list.SetText(u"a\r\nb");
  list.SaveToFile(WideName(Path("ab.txt")));
  EXPECT_EQ(ReadBytes(Path("ab.txt")), std::string("\xFF\xFE"
                                                   "a\0\r\0\n\0b\0\r\0\n\0",
                                                   14));

  // Every kind of unit survives: Cyrillic, a pair, a lone surrogate, U+FFFF, a control.
  const WideString text = u"\x0416\x00E9\r\n\xD83D\xDE00 \xDC80\xFFFF\x0001\r\n\r\nlast\r\n";
  list.SetText(text);
  list.SaveToFile(WideName(Path("all.txt")));
  TUniStringList reloaded;
  reloaded.LoadFromFile(WideName(Path("all.txt")));
  EXPECT_EQ(reloaded.Text(), text);
  EXPECT_EQ(reloaded.DetectedFileCharSet(), steUtf16LE);
}

TEST_F(TUniStringsFiles, PlainWideStreamsHaveNoMark) {
  TUniStringList list;
  list.SetText(u"x");
  TMemoryStream stream;
  list.TWideStrings::SaveToStream(stream);
  EXPECT_EQ(stream.Size(), 6);
  stream.SetPosition(0);
  TUniStringList raw;
  raw.TWideStrings::LoadFromStream(stream);
  EXPECT_EQ(Lines(raw), (std::vector<WideString>{u"x"}));
  stream.SetPosition(0);
  raw.LoadFromStreamWithBom(stream, false);
  EXPECT_EQ(Lines(raw), (std::vector<WideString>{u"x"}));
}

TEST_F(TUniStringsFiles, MissingFileRaisesOpenErrorWithTheFullPath) {
  TUniStringList list;
  list.Add(u"kept");
  const WideString name = WideName(Path("missing.txt"));
  try {
    list.LoadFromFile(name);
    ADD_FAILURE() << "no EWideFOpenError";
  } catch (const EWideFOpenError& e) {
    EXPECT_EQ(e.WideMessage(), u"Cannot open file \"" + name + u"\". " + WideSysErrorMessage(ERROR_FILE_NOT_FOUND));
  }
  EXPECT_EQ(Lines(list), (std::vector<WideString>{u"kept"}));
}

}  // namespace

namespace {

// A save that fails (here at the file-size limit, as on a full disk) keeps the old file
// whole and names the file and the cause; a name as long as a name may be is saved.
TEST(TUniStringListFiles, SavingReplacesTheFileOnlyOnceTheNewVersionIsComplete) {
  TempFolder folder;
  const std::string path = folder / "list.txt";
  WriteBytes(path, "old");
  const std::string shown = RunWithFileSizeLimit(16, [&] {
    TUniStringList list;
    list.Add(WideString(40, u'x'));
    try {
      list.SaveToFile(WideName(path));
      return std::string("saved");
    } catch (const EWideFCreateError& e) {
      return Utf16LeBytes(e.WideMessage());
    }
  });
  EXPECT_EQ(shown, Utf16LeBytes(u"Cannot create file \"" + WideName(path) + u"\". " +
                                WideSysErrorMessage(ERROR_FILE_TOO_LARGE)));
  EXPECT_EQ(ReadBytes(path), "old");

  const std::string longPath = folder / (std::string(246, 'n') + ".txt");
  WriteBytes(longPath, "old");
  TUniStringList list;
  list.Add(u"new");
  list.SaveToFile(WideName(longPath));
  EXPECT_EQ(ReadBytes(longPath), "\xFF\xFE" + Utf16LeBytes(u"new\r\n"));
}

TEST(TUniStringListFiles, AFailedLoadKeepsTheLinesAndTheDetectedEncoding) {
  TempFolder folder;
  ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
  WriteBytes(folder / "utf8.txt", "\xEF\xBB\xBFone\r\n");
  TUniStringList list;
  list.LoadFromFile(WideName(folder / "utf8.txt"));
  EXPECT_THROW(list.LoadFromFile(WideName(folder / "fifo")), EWideFOpenError);
  EXPECT_THROW(list.LoadFromFile(u"/dev/zero"), EWideFOpenError);
  EXPECT_EQ(Lines(list), (std::vector<WideString>{u"one"}));
  EXPECT_EQ(list.DetectedFileCharSet(), steUtf8);
}

}  // namespace
