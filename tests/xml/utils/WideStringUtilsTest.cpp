#include <gtest/gtest.h>

#include "xml/XmlTestSupport.h"

#include "platform/base/Exception.h"
#include "xml/utils/WideStringUtils.h"

namespace {

std::vector<WideString> Strings(const TUtilsWideStringList& list) {
  std::vector<WideString> out;
  for (int32_t i = 0; i < list.Count(); ++i) out.push_back(list.Get(i));
  return out;
}

TEST(WideStringUtilsTest, OrdinalComparisonIsByUnsignedCodeUnit) {
  EXPECT_EQ(CompareWideStrOrdinal(u"abc", u"abd"), -1);
  EXPECT_EQ(CompareWideStrOrdinal(u"\xFFFF", u"a"), 0xFFFF - 'a');  // unsigned, not signed
  EXPECT_EQ(CompareWideStrOrdinal(u"ab", u"abcd"), -2);
  EXPECT_EQ(CompareWideStrOrdinal(u"B", u"a"), 'B' - 'a');  // case-sensitive: upper case first
  EXPECT_EQ(CompareWideStrOrdinal(u"", u""), 0);
}

TEST(WideStringUtilsTest, TranslateFollowsXPathTranslate) {
  EXPECT_EQ(TranslateWideStr(u"abc", u"abc", u"x"), u"x");
  EXPECT_EQ(TranslateWideStr(u"bar", u"abc", u"ABC"), u"BAr");
  EXPECT_EQ(TranslateWideStr(u"--aaa--", u"abc-", u"ABC"), u"AAA");
  EXPECT_EQ(TranslateWideStr(u"aa", u"aa", u"xy"), u"xx");  // the first occurrence decides
}

TEST(WideStringUtilsTest, SortedListAddHonoursDuplicates) {
  TUtilsWideStringList list;
  list.SetSorted(true);
  EXPECT_EQ(list.Add(u"b"), 0);
  EXPECT_EQ(list.Add(u"a"), 0);
  EXPECT_EQ(list.Add(u"c"), 2);
  EXPECT_EQ(list.Add(u"b"), 1);  // ignore: the existing index, nothing added
  EXPECT_EQ(list.Count(), 3);
  list.SetDuplicates(dupError);
  ExpectRaises<EStringListError>([&] { list.Add(u"b"); }, "String list does not allow duplicates");
  list.SetDuplicates(dupAccept);
  EXPECT_EQ(list.Add(u"b"), 1);
  EXPECT_EQ(Strings(list), (std::vector<WideString>{u"a", u"b", u"b", u"c"}));
  int32_t index = -1;
  EXPECT_TRUE(list.Find(u"b", index));
  EXPECT_EQ(index, 1);  // accepted duplicates: the first of the equal items
  EXPECT_FALSE(list.Find(u"bb", index));
  EXPECT_EQ(index, 3);
  EXPECT_EQ(list.IndexOf(u"Z"), -1);
}

TEST(WideStringUtilsTest, IndexAndSortedErrorsCarryTheirMessages) {
  TUtilsWideStringList list;
  list.Add(u"x");
  ExpectRaises<EStringListError>([&] { list.Get(1); }, "List Index out of bounds (1)");
  ExpectRaises<EStringListError>([&] { list.GetObject(-1); }, "List Index out of bounds (-1)");
  ExpectRaises<EStringListError>([&] { list.Insert(2, u"y"); }, "List Index out of bounds (2)");
  ExpectRaises<EStringListError>([&] { list.Exchange(0, 1); }, "List Index out of bounds (1)");
  ExpectRaises<EStringListError>([&] { list.Delete(1); }, "List Index out of bounds (1)");
  list.SetSorted(true);
  // The sorted-list check comes first, even at a valid index.
  ExpectRaises<EStringListError>([&] { list.Insert(0, u"y"); }, "Operation not allowed on Sorted string list");
  ExpectRaises<EStringListError>([&] { list.Put(0, u"y"); }, "Operation not allowed on Sorted string list");
  list.PutObject(0, &list);  // objects may change on a sorted list
  EXPECT_EQ(list.GetObject(0), &list);
  EXPECT_EQ(Strings(list), std::vector<WideString>{u"x"});
}

TEST(WideStringUtilsTest, CapacityGrowsByTheListRule) {
  const struct { int32_t From, To; } cases[] = {{0, 4}, {4, 8}, {8, 12}, {9, 25}, {64, 80}, {65, 81}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.From);
    TUtilsWideStringList list;
    list.SetCapacity(c.From);
    for (int32_t i = 0; i < c.From; ++i) list.Add(u"s");
    ASSERT_EQ(list.Capacity(), c.From);
    list.Add(u"one more");
    EXPECT_EQ(list.Capacity(), c.To);
  }
}

TEST(WideStringUtilsTest, SortingAndSearching) {
  TUtilsWideStringList list;
  for (const char16_t* s : {u"pear", u"Apple", u"fig", u"apple", u"pear"}) list.Add(s);
  EXPECT_EQ(list.IndexOf(u"pear"), 0);
  EXPECT_EQ(list.LastIndexOf(u"pear"), 4);
  EXPECT_EQ(list.LastIndexOf(u"kiwi"), -1);
  list.SetSorted(true);
  EXPECT_EQ(Strings(list), (std::vector<WideString>{u"Apple", u"apple", u"fig", u"pear", u"pear"}));
  EXPECT_EQ(list.IndexOf(u"fig"), 2);
  list.SetSorted(false);  // only clears the flag
  list.Insert(0, u"zz");
  EXPECT_EQ(list.Get(0), u"zz");
}

TEST(WideStringUtilsTest, EventsFireOutsideUpdateBracketsOnly) {
  TUtilsWideStringList list;
  int changing = 0, changed = 0;
  list.OnChanging = [&](TObject*) { ++changing; };
  list.OnChange = [&](TObject*) { ++changed; };
  list.Add(u"a");
  EXPECT_EQ(changing, 1);
  EXPECT_EQ(changed, 1);
  list.BeginUpdate();
  list.Add(u"b");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(changing, 2);  // the bracket itself: once on entry, once on exit
  EXPECT_EQ(changed, 2);
  TUtilsWideStringList empty;
  empty.OnChange = [&](TObject*) { ++changed; };
  empty.Clear();  // an empty list fires nothing
  EXPECT_EQ(changed, 2);
}

TEST(WideStringUtilsTest, AssignAndAddStringsCopyStringsAndObjects) {
  TUtilsWideStringList source, target;
  source.AddObject(u"a", &source);
  source.Add(u"b");
  target.Add(u"old");
  target.Assign(source);
  EXPECT_EQ(Strings(target), (std::vector<WideString>{u"a", u"b"}));
  EXPECT_EQ(target.GetObject(0), &source);
  target.AddStrings(target);
  EXPECT_EQ(Strings(target), (std::vector<WideString>{u"a", u"b", u"a", u"b"}));
}

TEST(WideStringUtilsTest, NameValueListKeepsValuesAcrossDeletion) {
  TUtilsNameValueList list;
  TObject marker;
  list.Add(u"a", u"1");
  list.AddObject(u"b", u"2", &marker);
  list.Add(u"c", u"3");
  list.Delete(0);
  list.Add(u"d", u"4");
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.GetName(0), u"b");
  EXPECT_EQ(list.GetValue(0), u"2");
  EXPECT_EQ(list.GetObject(0), &marker);
  EXPECT_EQ(list.GetValue(1), u"3");
  EXPECT_EQ(list.GetValue(2), u"4");
  list.Exchange(0, 2);
  EXPECT_EQ(list.GetName(0), u"d");
  EXPECT_EQ(list.GetValue(0), u"4");
  list.Insert(1, u"e", u"5");
  EXPECT_EQ(list.GetValue(1), u"5");
  EXPECT_EQ(list.GetValue(3), u"2");
}

TEST(WideStringUtilsTest, NameValueLookups) {
  TUtilsNameValueList list;
  list.Add(u"k", u"1");
  list.Add(u"k", u"2");
  list.Add(u"j", u"1");
  list.Add(u"k", u"1");
  EXPECT_EQ(list.IndexOfName(u"k"), 0);
  EXPECT_EQ(list.LastIndexOfName(u"k"), 3);
  EXPECT_EQ(list.IndexOfNameValue(u"k", u"2"), 1);
  EXPECT_EQ(list.LastIndexOfNameValue(u"k", u"1"), 3);
  EXPECT_EQ(list.IndexOfNameValue(u"j", u"2"), -1);

  TUtilsNameValueList sorted;
  sorted.SetSorted(true);
  sorted.Add(u"b", u"2");
  sorted.Add(u"a", u"1");
  sorted.Add(u"a", u"9");  // ignored: the names are sorted without duplicates
  int32_t index = 7;
  EXPECT_TRUE(sorted.FindOfNameAndValue(u"a", u"1", index));
  EXPECT_EQ(index, 0);
  EXPECT_FALSE(sorted.FindOfNameAndValue(u"b", u"1", index));
  EXPECT_EQ(index, -1);
  sorted.SetDuplicates(dupAccept);
  sorted.Add(u"b", u"1");
  EXPECT_TRUE(sorted.FindOfNameAndValue(u"b", u"1", index));
  EXPECT_EQ(sorted.GetValue(index), u"1");

  TUtilsNameValueList copy;
  copy.Add(u"stale", u"x");
  copy.Assign(list);
  ASSERT_EQ(copy.Count(), 4);
  EXPECT_EQ(copy.GetName(2), u"j");
  EXPECT_EQ(copy.GetValue(1), u"2");
}

TEST(WideStringUtilsTest, CustomWideStrBuildsAndGrows) {
  TUtilsCustomWideStr s;
  s.AddUCS4Char(0x1F600);
  EXPECT_EQ(s.GetValue(), u"\xD83D\xDE00");
  ExpectRaises<EConvertError>([&] { s.AddUCS4Char(0xDC00); }, "56320 is not a valid ISO-10646-UCS4 code point");
  s.AddUCS4Char(u'x');
  const WideString long100(100, u'y');
  s.AddWideString(long100);
  EXPECT_EQ(s.Length(), 103);
  EXPECT_EQ(s.GetValue(), u"\xD83D\xDE00x" + long100);
  EXPECT_TRUE(s.StartsWith(u"\xD83D\xDE00x"));
  EXPECT_TRUE(s.EndsWith(u"yy"));
  EXPECT_FALSE(s.EndsWith(u""));
  EXPECT_FALSE(s.StartsWith(u"x"));
  s.SetChar(3, u'z');
  EXPECT_EQ(s.GetChar(3), u'z');
  s.Clear();
  EXPECT_TRUE(s.IsEqual(u""));
  EXPECT_FALSE(s.StartsWith(u"a"));  // longer than the content
}

TEST(WideStringUtilsTest, WideStringStreamReadsWritesAndSeeks) {
  TUtilsWideStringStream stream(u"AB");
  EXPECT_EQ(stream.Size(), 4);
  uint8_t bytes[4] = {};
  EXPECT_EQ(stream.Read(bytes, 10), 4);
  EXPECT_EQ(bytes[0], 'A');
  EXPECT_EQ(bytes[1], 0);
  EXPECT_EQ(stream.Read(bytes, 10), 0);

  TUtilsWideStringStream out;
  const uint8_t three[] = {'a', 0, 'b'};
  EXPECT_EQ(out.Write(three, 3), 3);
  EXPECT_EQ(out.Size(), 4);  // rounded up to even
  EXPECT_EQ(out.DataString(), u"ab");

  // From the end the offset is added to the size.
  EXPECT_EQ(stream.Seek(-2, soEnd), 2);
  EXPECT_EQ(stream.Seek(5, soEnd), 4);       // clipped to the size
  EXPECT_EQ(stream.Seek(-9, soCurrent), 0);  // clipped to 0
  stream.Seek(2, soBeginning);
  const uint8_t c[] = {'C', 0, 'D', 0};
  stream.Write(c, 4);
  EXPECT_EQ(stream.DataString(), u"ACD");
}

TEST(WideStringUtilsTest, WideStringStreamSizeAndCapacityRules) {
  TUtilsWideStringStream stream(u"abcd");
  ExpectRaises<EStreamError>([&] { stream.SetSize(3); }, "Odd size not valid for WideString");
  ExpectRaises<EStreamError>([&] { stream.SetSize(-2); }, "Negative stream size invalid");
  ExpectRaises<EStreamError>([&] { stream.SetCapacity(6); }, "Capacity cannot be less than size");
  stream.Seek(0, soEnd);
  stream.SetSize(4);
  EXPECT_EQ(stream.Position(), 4);  // clipped to the new size
  stream.SetSize(40);
  EXPECT_EQ(stream.Capacity(), 48);  // 40 + 40 div 4, a multiple of 4
  stream.SetSize(42);
  EXPECT_EQ(stream.Capacity(), 48);
  TUtilsWideStringStream small;
  small.SetSize(2);
  EXPECT_EQ(small.Capacity(), 8);  // 2 + 8, down to a multiple of 4
}

}  // namespace
