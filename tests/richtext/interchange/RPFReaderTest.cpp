// The reader of the native format: its edge cases, its warnings and repairs, and that a
// damaged stream changes nothing.
#include <gtest/gtest.h>

#include "richtext/interchange/RPFLimits.h"
#include "richtext/interchange/RPFTestData.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPLayoutInfo.h"

namespace {

TEST(RPFReader, ZeroBytesLoadIntoAnEmptyDocument) {
  TRPFPane pane;
  pane.Data().AddAnsiText("old", 0, TRPTag(), 0);
  EXPECT_TRUE(pane.Load(""));
  EXPECT_EQ(pane.Data().GetItemCount(), 0);
}

TEST(RPFReader, AParagraphOfMinusOneAtTheStartOfAnEmptyDocumentStartsParagraphZero) {
  TRPFPane pane;
  ASSERT_TRUE(pane.Load("-8 1 3\r\n1 1 -1 1 0 0\r\nabc\r\n"));
  ASSERT_EQ(pane.Data().GetItemCount(), 1);
  EXPECT_EQ(Dump(pane.Data()), "0 style 1 para 0 options 0 tag 0 text 616263\n");
}

TEST(RPFReader, TextRecordsBecomeOneItemPerLine) {
  TRPFPane pane;
  ASSERT_TRUE(pane.Load("-8 1 3\r\n0 3 1 0 0 4 \"a \"\"hint\"\"\"\r\none\r\n\r\nthree\r\n"));
  EXPECT_EQ(Dump(pane.Data()),
            "0 style 0 para 1 options 0 tag 4 hint \"a \"hint\"\" text 6F6E65\n"
            "1 style 0 para 1 options 0 tag 4 hint \"a \"hint\"\" text \n"
            "2 style 0 para 1 options 0 tag 4 hint \"a \"hint\"\" text 7468726565\n");
}

TEST(RPFReader, StreamsWithoutAVersionRecordHaveNoOptionsField) {
  TRPFPane pane;
  // Before 1.2 the header is style, lines, paragraph, mode, tag.
  ASSERT_TRUE(pane.Load("0 1 0 0 9\r\nold\r\n"));
  EXPECT_EQ(Dump(pane.Data()), "0 style 0 para 0 options 0 tag 9 text 6F6C64\n");
  // A quoted tag needs version 1.3.
  EXPECT_FALSE(pane.Load("-8 1 2\r\n0 1 0 0 0 \"t\"\r\nx\r\n"));
}

TEST(RPFReader, ACheckpointAtTheEndOfAStreamBecomesTheTrailingCheckpoint) {
  TRPFPane pane;
  ASSERT_TRUE(pane.Load("-8 1 3\r\n0 1 0 0 0 0\r\nx\r\n-2 1 0 0 0 3 1 1\r\nthe end\r\n"));
  const TRPCPInfo* trailing = pane.Data().GetPendingCheckpoint();
  ASSERT_NE(trailing, nullptr);
  EXPECT_EQ(trailing->Name, "the end");
  EXPECT_EQ(trailing->Tag.Number(), 3);
  EXPECT_TRUE(trailing->RaiseEvent);
  EXPECT_TRUE(trailing->Persistent);
  EXPECT_EQ(pane.Data().GetCheckpointCount(), 1);
}

TEST(RPFReader, StyleNumbersBeyondTheStyleSheetFailOrBecomeZero) {
  TRPFPane pane;
  pane.Data().AddAnsiText("kept", 0, TRPTag(), 0);
  const AnsiString stream = "-8 1 3\r\n9 1 0 0 0 0\r\nx\r\n";
  EXPECT_FALSE(pane.Insert(stream, 1));
  EXPECT_EQ(pane.Data().GetRPFWarnings(), rpfwConvUnknownStyles);
  EXPECT_EQ(Dump(pane.Data()), "0 style 0 para 0 options 0 tag 0 text 6B657074\n");

  pane.Pane.RPFOptions = rpfoConvUnknownStylesToZero;
  ASSERT_TRUE(pane.Insert(stream, 1));
  EXPECT_EQ(pane.Data().GetRPFWarnings(), rpfwConvUnknownStyles);
  EXPECT_EQ(pane.Data().GetItemCount(), 2);
  EXPECT_EQ(pane.Data().GetItem(1)->StyleNo, 0);
  // Paragraph numbers alike.
  EXPECT_TRUE(pane.Insert("-8 1 3\r\n0 1 7 0 0 0\r\ny\r\n", 2));
  EXPECT_EQ(pane.Data().GetItem(2)->ParaNo, 0);
}

TEST(RPFReader, TextMeetingAStyleOfTheOtherFormIsConvertedWithAWarning) {
  TRPFPane pane;
  pane.Style.TextStyles()[1]->Unicode = true;
  // 8-bit text in the Unicode style 1; UTF-16 text (hexadecimal) in the 8-bit style 0.
  ASSERT_TRUE(pane.Load("-8 1 3\r\n1 1 0 0 0 0\r\n\xC0\r\n0 1 0 8 3 0\r\n1004\r\n"));
  EXPECT_EQ(pane.Data().GetRPFWarnings(), rpfwConvToUnicode | rpfwConvFromUnicode);
  EXPECT_EQ(Dump(pane.Data()),
            "0 style 1 para 0 options 8 tag 0 text 1004\n"  // U+0410 from 0xC0 of code page 1251
            "1 style 0 para 0 options 0 tag 0 text C0\n");
}

TEST(RPFReader, ALayoutBlockOf41BytesRestoresTheCutsAndOneOf30SkipsWhatItDoesNotKnow) {
  const auto block = [](int32_t length, const AnsiString& fields) {
    AnsiString bytes = AnsiString(4, '\0') + AnsiString(1, static_cast<char>(length)) + AnsiString(3, '\0') + fields;
    return bytes;
  };
  AnsiString base(25, '\0');
  base[0] = 7;   // left margin
  base[24] = 1;  // BiDi left to right
  AnsiString extension(16, '\0');
  extension[0] = 1;   // first paragraph cut
  extension[4] = 1;   // last paragraph cut
  extension[8] = 2;   // the marker's list
  extension[12] = 3;  // its level
  {
    TRPLayoutInfo layout;
    layout.LoadFromBinaryString(block(41, base + extension));
    EXPECT_TRUE(layout.Loaded);
    EXPECT_EQ(layout.LeftMargin, 7);
    EXPECT_EQ(layout.BiDiMode, rpbdLeftToRight);
    EXPECT_TRUE(layout.FirstParaCut);
    EXPECT_TRUE(layout.LastParaCut);
    EXPECT_EQ(layout.FirstMarkerListNo, 2);
    EXPECT_EQ(layout.FirstMarkerLevel, 3);
  }
  {
    TStringStream stream(block(30, base + "\x09\x09\x09\x09\x09") + "after");
    TRPLayoutInfo layout;
    layout.LoadFromStream(stream, false);
    EXPECT_EQ(layout.LeftMargin, 7);
    EXPECT_FALSE(layout.FirstParaCut);
    EXPECT_EQ(layout.FirstMarkerListNo, -1);
    EXPECT_EQ(stream.ReadString(5), "after");
  }
  TRPLayoutInfo layout;
  try {
    layout.LoadFromBinaryString(block(24, base.substr(0, 24)));
    FAIL();
  } catch (const ERichPaneError& e) {
    EXPECT_STREQ(e.what(), "Invalid RPF format");
  }
  // A length beyond the block is refused before anything is read for it.
  EXPECT_THROW(layout.LoadFromBinaryString(block(100, base)), EReadError);
  EXPECT_FALSE(layout.Loaded);
}

TEST(RPFReader, TheLayoutRecordFillsTheLayoutObjectOnlyWhenLoadingWithItsOption) {
  TRPFPane pane(rpfoSaveLayout | rpfoLoadLayout);
  pane.Data().AddAnsiText("x", 0, TRPTag(), 0);
  TRPLayoutInfo written;
  written.TopMargin = 12;
  written.FirstParaCut = true;
  TStringStream stream;
  ASSERT_TRUE(pane.Data().SaveRPFToStream(stream, rpfsmDocument, &written, nullptr, clNone));
  TRPFPane target(rpfoLoadLayout);
  TRPLayoutInfo read;
  TColor color = clNone;
  stream.SetPosition(0);
  ASSERT_TRUE(target.Data().LoadRPFFromStream(stream, nullptr, color, &read));
  EXPECT_TRUE(read.Loaded);
  EXPECT_EQ(read.TopMargin, 12);
  EXPECT_TRUE(read.FirstParaCut);
  // A short block names the fault, and the document stays as it was.
  TRPFPane other(rpfoLoadLayout);
  other.Data().AddAnsiText("kept", 0, TRPTag(), 0);
  TStringStream bad("-8 1 3\r\n-9 2 0 0 0 0 3\r\n\r\n0000000018000000\r\n0 1 0 0 0 0\r\ny\r\n");
  EXPECT_THROW(other.Data().LoadRPFFromStream(bad, nullptr, color, &read), ERichPaneError);
  EXPECT_EQ(Dump(other.Data()), "0 style 0 para 0 options 0 tag 0 text 6B657074\n");
}

TEST(RPFReader, DocumentPropertiesReplaceTheListWhenLoadingWithTheirOption) {
  TRPFPane pane(rpfoSaveDocProperties | rpfoLoadDocProperties);
  pane.Pane.DocProperties.Add("a\r\nb");
  pane.Data().AddAnsiText("x", 0, TRPTag(), 0);
  const AnsiString bytes = pane.Save();
  TRPFPane target(rpfoLoadDocProperties);
  target.Pane.DocProperties.Add("old");
  ASSERT_TRUE(target.Load(bytes));
  ASSERT_EQ(target.Pane.DocProperties.Count(), 1);
  EXPECT_EQ(target.Pane.DocProperties.Strings(0), "a\r\nb");
  // Without the option the list stays.
  TRPFPane keeping(0);
  keeping.Pane.DocProperties.Add("old");
  ASSERT_TRUE(keeping.Load(bytes));
  EXPECT_EQ(keeping.Pane.DocProperties.Strings(0), "old");
}

// Damaged streams, each after a good record: the read fails and the document keeps what
// it held.
TEST(RPFReader, ADamagedStreamChangesNothing) {
  const AnsiString good = "-8 1 3\r\n0 1 0 0 0 0\r\ngood\r\n";
  struct Case {
    const char* Trace;
    AnsiString Tail;
  };
  const Case cases[] = {
      {"no number", "x 1 0 0 0 0\r\ny\r\n"},
      {"too many lines", "0 99 0 0 0 0\r\ny\r\n"},
      {"negative lines", "0 -1 0 0 0 0\r\n"},
      {"unknown kind", "-77 0 0 0 0 0\r\n"},
      {"bad mode", "0 1 0 0 9 0\r\ny\r\n"},
      {"odd hexadecimal", "0 1 0 0 3 0\r\nABC\r\n"},
      {"odd UTF-16", "0 1 0 8 3 0\r\nAB\r\n"},
      {"block past the end", "-9 2 0 0 2 0 1\r\nname\r\n\xFF\xFF\xFF\x7F"},
      {"block without CR LF", "-9 2 0 0 2 0 1\r\nname\n\x01\x00\x00\x00\x0E"},
      {"collection of another value", "-9 2 0 0 0 0 1\r\nname\r\n0A\r\n"},
      {"break with a bad extra", "-1 0 0 0 0 0 x\r\n"},
      {"header cut short", "0 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Trace);
    TRPFPane pane;
    pane.Data().AddAnsiText("kept", 0, TRPTag(), 0);
    pane.Data().AddCheckpoint("end", false, TRPTag());
    const std::string before = Dump(pane.Data());
    EXPECT_FALSE(pane.Insert(good + c.Tail, 1));
    EXPECT_EQ(Dump(pane.Data()), before);
    EXPECT_FALSE(pane.Load(good + c.Tail));
    EXPECT_EQ(Dump(pane.Data()), before);
    EXPECT_EQ(pane.Data().GetCheckpointCount(), 1);
  }
}

TEST(RPFReader, TextProtectedAgainstInsertionIsLeftOutOfAnEditorsInsertion) {
  TRPFPane pane;
  pane.Style.TextStyles()[2]->Protection.Include(rpprRPFInsertProtect);
  const AnsiString stream = "-8 1 3\r\n0 1 0 0 0 0\r\na\r\n2 1 0 0 0 0\r\nb\r\n";
  TStringStream bytes(stream);
  TRPFReadRequest request;
  request.Insert = true;
  int32_t index = 0;
  TColor color = clNone;
  ASSERT_TRUE(pane.Data().ReadRPFFromStream(bytes, index, request, color));
  EXPECT_EQ(Dump(pane.Data()), "0 style 0 para 0 options 0 tag 0 text 61\n");
  EXPECT_EQ(index, 1);
  // Loading takes it.
  ASSERT_TRUE(pane.Load(stream));
  EXPECT_EQ(pane.Data().GetItemCount(), 2);
}

TEST(RPFReader, InsertingJoinsTheParagraphAtTheInsertionPoint) {
  TRPFPane pane;
  pane.Data().AddAnsiText("left", 0, TRPTag(), 1);
  pane.Data().AddAnsiText("right", 0, TRPTag(), -1);
  // "mid" continues (paragraph -1, options 1); "new" starts a paragraph of style 0.
  ASSERT_TRUE(pane.Insert("-8 1 3\r\n3 1 -1 1 0 0\r\nmid\r\n0 1 0 0 0 0\r\nnew\r\n", 1));
  EXPECT_EQ(Dump(pane.Data()),
            "0 style 0 para 1 options 0 tag 0 text 6C656674\n"
            "1 style 3 para 1 options 1 tag 0 text 6D6964\n"
            "2 style 0 para 0 options 0 tag 0 text 6E6577\n"
            "3 style 0 para 0 options 1 tag 0 text 7269676874\n");  // continues "new" now
}

}  // namespace

namespace {

TEST(RPFReader, ATabsTextStyleGoesThroughTheMapAndTheRangeCheck) {
  TRPFPane source(rpfoSaveTextStyles);
  source.Style.TextStyles().Add()->StyleName = "Tab text";  // 6 in the stream
  source.Style.TextStyles()[6]->Size = 20;
  auto tab = CreateItemByStyleNo(rpkindTab, &source.Data());
  tab->SetAssociatedTextStyleNo(6);
  tab->ParaNo = 0;
  source.Data().AddItem({}, std::move(tab));
  TRPFPane target;
  target.Style.TextStyles().Delete(4);
  ASSERT_TRUE(target.Insert(source.Save(), 0));
  EXPECT_EQ(target.Data().GetItem(0)->GetAssociatedTextStyleNo(), 5);
  // Without the collection the number is checked: 6 is beyond 5 styles.
  EXPECT_FALSE(target.Insert("-8 1 3\r\n-12 0 0 0 0 0 6\r\n", 0));
  EXPECT_EQ(target.Data().GetItemCount(), 1);
}

TEST(RPFReader, CheckpointNamesKeepTheirLineBreaks) {
  TRPFPane source;
  source.Data().AddCheckpoint("two\r\nlines", false, TRPTag());
  source.Data().AddAnsiText("x", 0, TRPTag(), 0);
  TRPFPane target;
  ASSERT_TRUE(target.Load(source.Save()));
  EXPECT_EQ(target.Data().GetItem(0)->Checkpoint->Name, "two\r\nlines");
}

}  // namespace

namespace {

// A document that refuses the first item a read offers, as an editor refuses text where
// the caret may not take it.
class TRefusingData : public TCustomRPData {
public:
  const IRPStyleSheet* GetRPStyle() const override { return &Style; }
  TRPFFirstItemFate InsertFirstRPFItem(int32_t&, AnsiString, std::unique_ptr<TCustomRPItemInfo>) override {
    return rpffRefused;
  }
  TRPStyle Style{nullptr};
};

// A document that drops (frees) the first items a read offers, as an editor drops a list
// marker amid a line: the next item offered is then the first.
class TDroppingData : public TCustomRPData {
public:
  explicit TDroppingData(int32_t drops) : FDrops(drops) {}
  const IRPStyleSheet* GetRPStyle() const override { return &Style; }
  TRPFFirstItemFate InsertFirstRPFItem(int32_t& index, AnsiString text,
                                       std::unique_ptr<TCustomRPItemInfo> item) override {
    if (FDrops-- > 0) return rpffDropped;  // item freed here
    return TCustomRPData::InsertFirstRPFItem(index, std::move(text), std::move(item));
  }
  TRPStyle Style{nullptr};

private:
  int32_t FDrops;
};

// The items after dropped ones go in where the first would have; no dropped item is
// reached again (the sanitizer build sees a freed one).
TEST(RPFReader, ItemsAfterDroppedFirstOnesGoInAtTheIndex) {
  TRPFPane source;
  source.Data().AddAnsiText("a", 0, TRPTag(), 0);
  source.Data().AddItem("", std::make_unique<TRPTableItemInfo>(1, 1, &source.Data()));
  source.Data().AddAnsiText("b", 0, TRPTag(), 0);
  const AnsiString stream = source.Save();
  const struct {
    int32_t Drops;
    const char* Items;  // styles of the target's items after the read
  } cases[] = {{0, "0 0 -60 0 0"}, {1, "0 -60 0 0"}, {2, "0 0 0"}, {3, "0 0"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Drops);
    TDroppingData target(c.Drops);
    target.AddAnsiText("kept", 0, TRPTag(), 0);
    target.AddAnsiText("end", 0, TRPTag(), 0);
    TStringStream in(stream);
    TColor color = clNone;
    ASSERT_TRUE(target.InsertRPFFromStream(in, 1, false, nullptr, color, nullptr));
    std::string styles;
    for (int32_t i = 0; i < target.GetItemCount(); ++i)
      styles += (i ? " " : "") + std::to_string(target.GetItem(i)->StyleNo);
    EXPECT_EQ(styles, c.Items);
    EXPECT_EQ(target.GetItemTextRaw(0), "kept");
    EXPECT_EQ(target.GetItemTextRaw(target.GetItemCount() - 1), "end");
  }
}

TEST(RPFReader, AFirstItemTheDocumentRefusesFailsTheReadAndPutsTheStylesBack) {
  TRPFPane source(rpfoSaveTextStyles);
  source.Style.TextStyles().Add()->StyleName = "New";
  source.Data().AddAnsiText("x", 6, TRPTag(), 0);
  TRefusingData target;
  target.AddAnsiText("kept", 0, TRPTag(), 0);
  TStringStream stream(source.Save());
  TColor color = clNone;
  EXPECT_FALSE(target.InsertRPFFromStream(stream, 1, false, nullptr, color, nullptr));
  EXPECT_EQ(target.Style.TextStyles().Count(), 6);
  EXPECT_EQ(Dump(target), "0 style 0 para 0 options 0 tag 0 text 6B657074\n");
}

TEST(RPFReader, ANewParagraphReadDoesNotJoinTheParagraphAtTheInsertionPoint) {
  TRPFPane pane;
  pane.Data().AddAnsiText("left", 0, TRPTag(), 1);
  TStringStream stream("-8 1 3\r\n0 1 -1 1 0 0\r\nmid\r\n");
  TRPFReadRequest request;
  request.NewParagraph = true;
  int32_t index = 1;
  TColor color = clNone;
  ASSERT_TRUE(pane.Data().ReadRPFFromStream(stream, index, request, color));
  EXPECT_EQ(Dump(pane.Data()),
            "0 style 0 para 1 options 0 tag 0 text 6C656674\n"
            "1 style 0 para 0 options 0 tag 0 text 6D6964\n");
  EXPECT_EQ(index, 2);
}

TEST(RPFReader, WithoutAnInstalledFormatNothingIsReadOrWritten) {
  IRPFDocumentFormat* installed = GetRPFDocumentFormat();
  SetRPFDocumentFormat(nullptr);
  TRPFPane pane;
  pane.Data().AddAnsiText("x", 0, TRPTag(), 0);
  TStringStream stream;
  EXPECT_FALSE(pane.Data().SaveRPFToStream(stream, rpfsmDocument, nullptr, nullptr, clNone));
  EXPECT_FALSE(pane.Load("-8 1 3\r\n"));
  try {
    pane.Data().WriteRPFDataProperty(stream);
    ADD_FAILURE();
  } catch (const ERichPaneError& e) {
    EXPECT_STREQ(e.what(), "Can't read or write RichPane format - it is not registered");
  }
  SetRPFDocumentFormat(installed);
}

}  // namespace

namespace {

TEST(RPFReader, ALineBrokenInsideAParagraphTakesTheParagraphsNumber) {
  TRPFPane pane;
  // The second item starts a new line (options 4) but gives paragraph 1: it is a line of
  // paragraph 0.
  ASSERT_TRUE(pane.Load("-8 1 3\r\n0 1 0 0 0 0\r\na\r\n0 1 1 4 0 0\r\nb\r\n"));
  EXPECT_EQ(Dump(pane.Data()),
            "0 style 0 para 0 options 0 tag 0 text 61\n"
            "1 style 0 para 0 options 4 tag 0 text 62\n");
  EXPECT_EQ(DocumentFault(pane.Data()), "");
}

}  // namespace
