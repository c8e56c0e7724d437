#include <gtest/gtest.h>

#include "wolf/cWolfWriter.h"

namespace {

// The nine always-written tags in table order, each with "\r\n".
const AnsiString EmptyText =
    "<title>\r\n<subject>\r\n<author>\r\n<adpter>\r\n<translator>\r\n<publisher>\r\n<time_publish>\r\n"
    "<introduction>\r\n<ISBN>\r\n";

TEST(TWolfDescription, EmptyDescriptionIsTheNineAlwaysTagsIn107Bytes) {
  TWolfDescription description;
  EXPECT_EQ(description.DescriptionText(), EmptyText);
  EXPECT_EQ(description.TextLength(), 107);
}

TEST(TWolfDescription, WritesOptionalFieldsOnlyWhenSetInTableOrder) {
  TWolfDescription description;
  description.SetField(8, "");  // rights: empty, so no line
  description.SetField(12, "");
  description.SetField(17, "all");
  description.SetField(5, "2024");
  description.SetField(0, "T");
  EXPECT_EQ(description.DescriptionText(),
            "<title>T\r\n<subject>\r\n<author>\r\n<adpter>\r\n<translator>\r\n<time_write>2024\r\n<publisher>\r\n"
            "<time_publish>\r\n<introduction>\r\n<ISBN>\r\n<allinfo>all\r\n");
  EXPECT_EQ(description.TextLength(), static_cast<int32_t>(description.DescriptionText().size()));
}

TEST(TWolfDescription, EscapesFiveCharactersWithTheDevicesEntities) {
  const struct {
    AnsiString Value, Escaped;
  } cases[] = {
      {"A&B", "A&apos;B"},  // not &amp;
      {"l'a", "l&squot;a"},
      {"\"q\"", "&quot;q&quot;"},
      {"<b>", "&lt;b&gt;"},
      {"&quot;", "&apos;quot;"},  // an ampersand already in the text is escaped too
      {"\xC0\xE1\xE2", "\xC0\xE1\xE2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Value);
    EXPECT_EQ(EscapeWolfText(c.Value), c.Escaped);
    TWolfDescription description;
    description.SetField(1, c.Value);
    EXPECT_EQ(description.GetField(1), c.Value);  // stored unescaped
    EXPECT_NE(description.DescriptionText().find("<subject>" + c.Escaped + "\r\n"), AnsiString::npos);
  }
}

TEST(TWolfDescription, CutsToTheMaximumLengthThenTrims) {
  TWolfDescription description;
  description.SetField(0, AnsiString(200, 'x'));
  EXPECT_EQ(description.GetField(0), AnsiString(128, 'x'));
  // The cut comes first: 126 letters and blanks from byte 127 on leave 126 letters.
  description.SetField(0, AnsiString(126, 'y') + AnsiString(10, ' ') + "tail");
  EXPECT_EQ(description.GetField(0), AnsiString(126, 'y'));
  description.SetField(7, "  2024-01-01-extra ");  // time_publish keeps 16 bytes
  EXPECT_EQ(description.GetField(7), "2024-01-01-ext");
  // Bytes above 0x7F are letters, not blanks; control bytes are blanks.
  description.SetField(2, "\t\xC0\xE1\x0D");
  EXPECT_EQ(description.GetField(2), "\xC0\xE1");
  EXPECT_EQ(description.TextLength(), static_cast<int32_t>(description.DescriptionText().size()));
}

TEST(TWolfDescription, IgnoresIndicesOutsideTheTable) {
  TWolfDescription description;
  description.SetField(-1, "x");
  description.SetField(18, "x");
  EXPECT_EQ(description.GetField(18), "");
  EXPECT_EQ(description.GetField(-1), "");
  EXPECT_EQ(description.DescriptionText(), EmptyText);
}

TEST(TWolfDescription, AssignCopiesAllValuesAndTheirLength) {
  TWolfDescription source, target;
  source.SetField(0, "Title");
  source.SetField(9, "cp1251");
  target.SetField(4, "gone");
  target.Assign(source);
  EXPECT_EQ(target.GetField(4), "");
  EXPECT_EQ(target.DescriptionText(), source.DescriptionText());
  EXPECT_EQ(target.TextLength(), source.TextLength());
  target.Clear();
  EXPECT_EQ(target.TextLength(), 107);
}

}  // namespace
