#include "platform/base/StringLists.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/base/Exception.h"
#include "platform/base/Streams.h"
#include "platform/base/TempFolder.h"

namespace {

std::vector<AnsiString> Lines(const TStrings& list) {
  std::vector<AnsiString> lines;
  for (int32_t i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
  return lines;
}

void ExpectError(const std::function<void()>& action, const char* message) {
  try {
    action();
    ADD_FAILURE() << "no exception";
  } catch (const EStringListError& e) {
    EXPECT_STREQ(e.what(), message);
  }
}

}  // namespace

TEST(StringLists, SortedListsKeepOrderAndControlDuplicates) {
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"pear", "Apple", "fig", "apple"}) list.Add(s);
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"Apple", "fig", "pear"}));  // "apple" ignored
  EXPECT_EQ(list.Add("APPLE"), 0);
  EXPECT_EQ(list.IndexOf("PEAR"), 2);
  int32_t index;
  EXPECT_FALSE(list.Find("grape", index));
  EXPECT_EQ(index, 2);

  list.SetDuplicates(dupAccept);
  list.Add("fig");
  list.Add("FIG");
  EXPECT_TRUE(list.Find("Fig", index));
  EXPECT_EQ(index, 1);  // the first of the equal items
  EXPECT_EQ(list.Count(), 5);

  list.SetDuplicates(dupError);
  ExpectError([&] { list.Add("pear"); }, "String list does not allow duplicates");
  ExpectError([&] { list.Insert(0, "x"); }, "Operation not allowed on sorted list");
  ExpectError([&] { list.SetStrings(0, "x"); }, "Operation not allowed on sorted list");
  ExpectError([&] { list.Delete(9); }, "List index out of bounds (9)");

  list.SetCaseSensitive(true);  // re-sorted by byte order: upper case first
  EXPECT_EQ(list.Strings(0), "Apple");
  EXPECT_EQ(list.Strings(1), "FIG");
}

TEST(StringLists, SwitchingSortedOnSortsAndObjectsFollowTheirStrings) {
  TStringList list;
  TObject a, b, c;
  list.AddObject("c", &c);
  list.AddObject("a", &a);
  list.AddObject("b", &b);
  list.SetSorted(true);
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"a", "b", "c"}));
  EXPECT_EQ(list.Objects(0), &a);
  EXPECT_EQ(list.Objects(2), &c);
  EXPECT_EQ(list.IndexOfObject(&b), 1);
}

TEST(StringLists, NameValueLines) {
  TStringList list;
  list.SetText("Width=10\r\nplain\r\nName=a=b\r\n");
  EXPECT_EQ(list.Values("width"), "10");
  EXPECT_EQ(list.Values("Name"), "a=b");
  EXPECT_EQ(list.Values("plain"), "");
  EXPECT_EQ(list.Names(1), "");
  EXPECT_EQ(list.ValueFromIndex(1), "");
  EXPECT_EQ(list.IndexOfName("NAME"), 2);
  list.SetValues("Height", "5");
  list.SetValues("Width", "12");
  list.SetValues("Name", "");
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"Width=12", "plain", "Height=5"}));
}

TEST(StringLists, TextRoundTrips) {
  const struct {
    const char* Text;
    std::vector<AnsiString> Lines;
    const char* Joined;
  } cases[] = {
      {"a\r\nb\r\n", {"a", "b"}, "a\r\nb\r\n"},
      {"a\nb", {"a", "b"}, "a\r\nb\r\n"},
      {"a\n\rb", {"a", "", "b"}, "a\r\n\r\nb\r\n"},
      {"a\r\rb\r", {"a", "", "b"}, "a\r\n\r\nb\r\n"},
      {"", {}, ""},
      {"\r\n", {""}, "\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    TStringList list;
    list.SetText(c.Text);
    EXPECT_EQ(Lines(list), c.Lines);
    EXPECT_EQ(list.Text(), c.Joined);
  }
  TStringList list;
  list.SetText(AnsiStringView("x\0y", 3));  // the text ends at a zero character
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"x"}));
}

TEST(StringLists, CommaTextRoundTrips) {
  const struct {
    std::vector<AnsiString> Lines;
    const char* Comma;
  } cases[] = {
      {{"a", "b c", "", "say \"hi\"", "d,e"}, "a,\"b c\",,\"say \"\"hi\"\"\",\"d,e\""},
      {{""}, "\"\""},
      {{}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Comma);
    TStringList list;
    for (const AnsiString& s : c.Lines) list.Add(s);
    EXPECT_EQ(list.CommaText(), c.Comma);
    TStringList back;
    back.SetCommaText(c.Comma);
    EXPECT_EQ(Lines(back), c.Lines);
  }
  TStringList list;
  list.SetCommaText("  one two,  \"three\" , four,");
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"one", "two", "three", "four", ""}));
  list.SetDelimiter(';');
  list.SetDelimitedText("x;\"y;z\"");
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"x", "y;z"}));
  EXPECT_EQ(list.DelimitedText(), "x;\"y;z\"");
}

TEST(StringLists, AFailedBulkChangeClosesItsUpdateBracket) {
  TStringList source;
  source.Add("a");
  source.Add("a");
  TStringList list;
  list.SetSorted(true);
  list.SetDuplicates(dupError);
  int changes = 0;
  list.OnChange = [&](TObject*) { ++changes; };
  EXPECT_THROW(list.AddStrings(source), EStringListError);
  EXPECT_EQ(changes, 1);  // the bracket closed on the way out
  list.Add("b");
  EXPECT_EQ(changes, 2);
}

TEST(StringLists, ChangeEventsFireOutsideUpdateBrackets) {
  TStringList list;
  int changes = 0, changings = 0;
  list.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &list);
    ++changes;
  };
  list.OnChanging = [&](TObject*) { ++changings; };
  list.Add("a");
  EXPECT_EQ(changes, 1);
  list.BeginUpdate();
  list.Add("b");
  list.Add("c");
  list.BeginUpdate();
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(changes, 1);
  list.EndUpdate();
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(changings, 2);
  list.Clear();
  list.Clear();  // an empty list fires nothing
  EXPECT_EQ(changes, 3);
}

TEST(StringLists, StreamsAndAssign) {
  TStringList list;
  list.SetText("one\r\ntwo");
  TMemoryStream stream;
  list.SaveToStream(stream);
  EXPECT_EQ(stream.Size(), 10);
  stream.SetPosition(0);
  TStringList loaded;
  loaded.LoadFromStream(stream);
  EXPECT_TRUE(loaded.Equals(list));

  TempFolder folder;
  list.SaveToFile(folder / "list.txt");
  TStringList fromFile;
  fromFile.LoadFromFile(folder / "list.txt");
  EXPECT_EQ(fromFile.Text(), "one\r\ntwo\r\n");

  TStringList copy;
  copy.SetNameValueSeparator(':');
  copy.Add("old");
  copy.Assign(list);
  EXPECT_EQ(Lines(copy), (std::vector<AnsiString>{"one", "two"}));
  EXPECT_EQ(copy.NameValueSeparator(), '=');

  TPersistent other;
  try {
    copy.Assign(other);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TPersistent to a TStringList");
  }
}
