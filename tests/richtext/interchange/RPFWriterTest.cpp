// The writer of the native format: golden streams of small documents, each line checked
// by hand against the record layout (RPFRecords.h), and the writer's rules (folding,
// selections, the document records and their options).
#include <gtest/gtest.h>

#include "platform/graphics/Bitmap.h"
#include "richtext/interchange/RPFTestData.h"
#include "richtext/model/RPLayoutInfo.h"
#include "richtext/model/RPUnicode.h"

namespace {

TEST(RPFWriter, AnEmptyDocumentWritesNothing) {
  TRPFPane pane(rpfoSaveTextStyles | rpfoSaveParaStyles | rpfoSaveBack | rpfoSaveDocProperties);
  EXPECT_EQ(pane.Save(), "");
}

TEST(RPFWriter, TextRecordsFoldParagraphsOfOneStyleAndSplitWhereAnItemContinuesALine) {
  TRPFPane pane;
  TCustomRPData& data = pane.Data();
  data.AddAnsiText("Hello", 0, TRPTag(), 0);
  data.AddAnsiText("World", 0, TRPTag(), 0);
  data.AddAnsiText("!", 1, TRPTag(), -1);
  data.AddAnsiText("centred", 0, TRPTag::FromNumber(7), 1);
  const AnsiString expected =
      "-8 1 3\r\n"       // version 1, subversion 3
      "0 2 0 0 0 0\r\n"  // text style 0, 2 lines, paragraph 0, options 0, mode 0 (plain), tag 0
      "Hello\r\n"        // one item per line
      "World\r\n"        //
      "1 1 0 1 0 0\r\n"  // text style 1, 1 line, paragraph 0, options 1 (continues the line)
      "!\r\n"            //
      "0 1 1 0 0 7\r\n"  // paragraph style 1, tag 7: another record
      "centred\r\n";
  EXPECT_EQ(pane.Save(), expected);
}

TEST(RPFWriter, TenParagraphsOfOneKindAreOneRecordOfTenLines) {
  TRPFPane pane;
  for (int i = 0; i < 10; ++i) pane.Data().AddAnsiText(std::to_string(i), 2, TRPTag::FromNumber(3), 1);
  const AnsiString bytes = pane.Save();
  EXPECT_EQ(bytes.substr(0, 22), "-8 1 3\r\n2 10 1 0 0 3\r\n");
  EXPECT_EQ(bytes.size(), 22u + 10 * 3);
}

TEST(RPFWriter, UnicodeTextIsHexadecimalInTheTextFormAndEndsWithTheParagraphSeparatorInTheBinaryForm) {
  TRPFPane pane;
  pane.Style.TextStyles()[0]->Unicode = true;
  pane.Data().AddTextW(u"\u0416a", 0, TRPTag(), 0);
  // Text form: mode 3, options 8 (Unicode), the UTF-16 bytes 16 04 61 00 as digits.
  EXPECT_EQ(pane.Save(), "-8 1 3\r\n0 1 0 8 3 0\r\n16046100\r\n");
  // Binary form: mode 0, the raw code units, U+2029 ending the line instead of CR LF.
  pane.Pane.RPFOptions = rpfoSaveBinary;
  EXPECT_EQ(pane.Save(), AnsiString("-8 1 3\r\n0 1 0 8 0 0\r\n\x16\x04\x61\x00\x29\x20", 27));
}

TEST(RPFWriter, CheckpointsGoBeforeTheirItemsAndTheTrailingOneLast) {
  TRPFPane pane;
  TCustomRPData& data = pane.Data();
  data.AddCheckpoint("first", true, TRPTag::FromNumber(5));
  data.AddAnsiText("a", 0, TRPTag(), 0);
  data.AddAnsiText("b", 0, TRPTag(), 0);
  data.AddCheckpoint("end", false, TRPTag());
  const AnsiString expected =
      "-8 1 3\r\n"
      "-2 1 0 0 0 5 1 0\r\n"  // checkpoint: 1 line, tag 5, raise-event 1, persistent 0
      "first\r\n"             // its name
      "0 1 0 0 0 0\r\n"       // the item it marks, alone (a checkpoint stops folding)
      "a\r\n"
      "0 1 0 0 0 0\r\n"
      "b\r\n"
      "-2 1 0 0 0 0 0 0\r\n"  // the trailing checkpoint, after the last item
      "end\r\n";
  EXPECT_EQ(pane.Save(), expected);
}

TEST(RPFWriter, StyleNamesAndStringTagsAreQuoted) {
  TRPFPane pane(rpfoUseStyleNames);
  pane.Data().SetOptions(pane.Data().GetOptions() | rpoTagsArePChars);
  pane.Data().AddAnsiText("x", 1, TRPTag::FromText("t \"q\""), 1);
  EXPECT_EQ(pane.Save(), "-8 1 3\r\n\"Heading\" 1 \"Centered\" 0 0 \"t \"\"q\"\"\"\r\nx\r\n");
}

TEST(RPFWriter, TheLayoutRecordIsItsBlockAsOneHexadecimalLineOrABinaryBlock) {
  TRPFPane pane(rpfoSaveLayout);
  pane.Data().AddAnsiText("x", 0, TRPTag(), 0);
  TRPLayoutInfo layout;
  layout.LeftMargin = 5;
  layout.MaxTextWidth = 0x102;
  layout.BiDiMode = rpbdRightToLeft;
  TStringStream text;
  ASSERT_TRUE(pane.Data().SaveRPFToStream(text, rpfsmDocument, &layout, nullptr, clNone));
  const AnsiString expected =
      "-8 1 3\r\n"
      "-9 2 0 0 0 0 3\r\n"  // document data: 2 lines, mode 0 (hexadecimal), subkind 3 (layout)
      "\r\n"                // an empty name line
      // reserved 0, length 25, margins 5 0 0 0, widths 0 258, BiDi 2
      "00000000"
      "19000000"
      "05000000"
      "00000000"
      "00000000"
      "00000000"
      "00000000"
      "02010000"
      "02"
      "\r\n"
      "0 1 0 0 0 0\r\n"
      "x\r\n";
  EXPECT_EQ(text.DataString(), expected);

  pane.Pane.RPFOptions = rpfoSaveLayout | rpfoSaveBinary;
  TStringStream binary;
  ASSERT_TRUE(pane.Data().SaveRPFToStream(binary, rpfsmDocument, &layout, nullptr, clNone));
  const AnsiString block = binary.DataString().substr(8 + 16 + 2);
  // The block's total size (33) first, then the block of 33 bytes.
  EXPECT_EQ(HexBytes(block.substr(0, 12)), "210000000000000019000000");
  EXPECT_EQ(block.substr(4 + 33), "0 1 0 0 0 0\r\nx\r\n");
}

TEST(RPFWriter, DocumentPropertiesHaveTheirLineBreaksEncoded) {
  TRPFPane pane(rpfoSaveDocProperties);
  pane.Pane.DocProperties.Add("title=A\r\nB");
  pane.Pane.DocProperties.Add("x");
  pane.Data().AddAnsiText("t", 0, TRPTag(), 0);
  EXPECT_EQ(pane.Save(), AnsiString("-8 1 3\r\n-9 2 0 0 0 0 5\r\ntitle=A\x01\x02"
                                    "B\r\nx\r\n0 1 0 0 0 0\r\nt\r\n"));
}

TEST(RPFWriter, APartlySelectedTextIsWrittenAsItsSelectedCharactersContinuingTheLine) {
  TRPFPane pane;
  TCustomRPData& data = pane.Data();
  data.AddAnsiText("Hello world", 0, TRPTag(), 0);
  data.AddAnsiText("second", 0, TRPTag(), 0);
  data.AddAnsiText("third", 0, TRPTag(), 0);
  pane.Pane.Format();
  pane.Pane.SetSelectionBounds(0, 7, 2, 3);  // "world", "second", "th"
  const AnsiString expected =
      "-8 1 3\r\n"
      "0 1 -1 1 0 0\r\n"  // the cut first paragraph: paragraph -1, options 1
      "world\r\n"
      "0 1 0 0 0 0\r\n"
      "second\r\n"
      "0 1 0 0 0 0\r\n"  // the last item, partly selected: its own record
      "th\r\n";
  EXPECT_EQ(pane.Save(rpfsmClipboard), expected);
}

}  // namespace

namespace {

TEST(RPFWriter, ItemRecordsOfABreakATabAndAPictureWithoutItsBody) {
  TRPFPane pane;
  TCustomRPData& data = pane.Data();
  auto line = CreateItemByStyleNo(rpkindBreak, &data);
  line->ParaNo = 0;
  data.AddItem({}, std::move(line));
  auto tab = CreateItemByStyleNo(rpkindTab, &data);
  tab->ParaNo = 1;
  tab->SetAssociatedTextStyleNo(3);
  data.AddItem({}, std::move(tab));
  auto picture = std::make_unique<TBitmap>();
  picture->SetSize(1, 1);
  data.AddPicture("pic", std::move(picture), -1, rpvaMiddle);
  const AnsiString expected =
      "-8 1 3\r\n"
      "-1 0 0 0 0 0 536870911 0 1\r\n"  // break: no lines, colour clNone, style 0, width 1
      "-12 0 1 0 0 0 3\r\n"             // tab: no lines, paragraph 1, its text style 3
      "-3 1 1 1 1 0 1\r\n"              // picture: 1 line (the name), mode 1 (no body), options
      "pic\r\n";                        // 1 (continues the tab's line), VAlign 1 (middle)
  EXPECT_EQ(pane.Save(), expected);
}

}  // namespace

namespace {

TEST(RPFWriter, ADocumentOfOneEmptyTextIsWrittenButAnEmptySelectionIsNot) {
  TRPFPane pane;
  pane.Data().AddAnsiText("", 0, TRPTag(), 0);
  EXPECT_EQ(pane.Save(), "-8 1 3\r\n0 1 0 0 0 0\r\n\r\n");
  pane.Data().AddAnsiText("text", 0, TRPTag(), 0);
  pane.Pane.Format();
  pane.Pane.SetSelectionBounds(1, 2, 1, 2);
  EXPECT_EQ(pane.Save(rpfsmClipboard), "");
}

}  // namespace
