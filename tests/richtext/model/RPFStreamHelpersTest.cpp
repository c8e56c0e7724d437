#include "richtext/model/RPFStreamHelpers.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RPItemOutput.h"
#include "RPPictureTestData.h"
#include "platform/base/Exception.h"
#include "platform/base/Filer.h"
#include "platform/base/LittleEndian.h"
#include "richtext/model/RPItemStreaming.h"
#include "richtext/model/RPStyle.h"

namespace {

std::string AllBytes() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes;
}

// --- Writing -------------------------------------------------------------------------------

TEST(RPFStreamHelpersTest, LinesEndAsTheirKindAsks) {
  TMemoryStream stream;
  RPFWrite(stream, "a");
  RPFWriteLine(stream, "b");
  RPFWriteTextLine(stream, "c", false, true);                    // 8-bit text: CR LF whatever hex says
  RPFWriteTextLine(stream, std::string("d\0", 2), true, true);   // UTF-16 in hex digits
  RPFWriteTextLine(stream, std::string("e\0", 2), true, false);  // raw UTF-16 and U+2029
  EXPECT_EQ(StreamText(stream), std::string("ab\r\nc\r\n6400\r\ne\0) ", 17));
}

// --- Hexadecimal -----------------------------------------------------------------------------

TEST(RPFStreamHelpersTest, HexRoundTripsEveryByteValue) {
  const std::string bytes = AllBytes();
  const AnsiString hex = RPFStrToHex(bytes);
  ASSERT_EQ(hex.size(), 512u);
  EXPECT_EQ(hex.substr(0, 8), "00010203");
  EXPECT_EQ(hex.substr(504), "FCFDFEFF");
  EXPECT_EQ(RPFHexToStr(hex), bytes);
  // Lower-case digits read the same.
  AnsiString lower = hex;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(RPFHexToStr(lower), bytes);
  TMemoryStream stream;
  ASSERT_TRUE(RPFHexToStream(lower, stream));
  EXPECT_EQ(StreamText(stream), bytes);
  EXPECT_EQ(stream.Position(), 0);
  EXPECT_EQ(RPFStreamToHex(stream), hex);
}

TEST(RPFStreamHelpersTest, WideHexRoundTripsEveryCodeUnitByte) {
  WideString units;
  for (uint32_t high = 0; high < 256; ++high) units += static_cast<WideChar>((high << 8) | (255 - high));
  const AnsiString hex = RPFWideStrToHex(units);
  ASSERT_EQ(hex.size(), 1024u);
  EXPECT_EQ(hex.substr(0, 8), "00FF01FE");  // most significant digits first
  EXPECT_EQ(RPFHexToWideStr(hex), units);
}

TEST(RPFStreamHelpersTest, HexReadingRefusesWhatIsNoHex) {
  EXPECT_EQ(RPFStrToHex(std::string("\x00\xAB", 2)), "00AB");
  EXPECT_EQ(RPFHexToStr("00ab"), std::string("\x00\xAB", 2));
  TMemoryStream stream;
  EXPECT_FALSE(RPFHexToStream("ABC", stream));  // odd length
  EXPECT_EQ(stream.Size(), 0);
  EXPECT_FALSE(RPFHexToStream("ZZ", stream));
  EXPECT_TRUE(RPFHexToStream("", stream));
  EXPECT_EQ(stream.Size(), 0);
  // The bytes before a bad pair are kept; the stream has the announced size.
  EXPECT_FALSE(RPFHexToStream("41G142", stream));
  EXPECT_EQ(stream.Size(), 3);
  EXPECT_EQ(StreamText(stream).substr(0, 1), "A");
  EXPECT_EQ(RPFHexToStr("ABC"), "");
  EXPECT_EQ(RPFHexToStr("41G1"), "A");
  EXPECT_EQ(RPFHexToWideStr("004"), u"");        // not a multiple of 4
  EXPECT_EQ(RPFHexToWideStr("0041x042"), u"A");  // up to the bad digit
}

// --- Pictures ----------------------------------------------------------------------------------

TEST(RPFStreamHelpersTest, PicturesAsHexAndAsLengthPrefixedBlocks) {
  const std::unique_ptr<TBitmap> picture = Picture({"RGB", "KYW"});
  const AnsiString hex = RPFSavePictureToHex(*picture);
  EXPECT_EQ(hex, RPFStrToHex(StreamOf(*picture)));
  TBitmap fromHex;
  ASSERT_TRUE(RPFLoadPictureFromHex(hex, fromHex));
  EXPECT_EQ(Letters(fromHex), (std::vector<std::string>{"RGB", "KY."}));
  TBitmap untouched;
  EXPECT_FALSE(RPFLoadPictureFromHex(hex.substr(1), untouched));  // odd: nothing loaded
  EXPECT_TRUE(untouched.Empty());

  TBitmap fromBytes;
  RPFLoadPictureFromBinaryStr(StreamOf(*picture), fromBytes);
  EXPECT_EQ(Letters(fromBytes), Letters(fromHex));
}

TEST(RPFStreamHelpersTest, ABinaryPictureCarriesItsLengthInFront) {
  TUndrawableGraphic graphic;  // its stream is the two bytes 01 AB
  TMemoryStream stream;
  stream.WriteBuffer(std::string(100, 'x').data(), 100);
  RPFSavePictureBinary(stream, graphic);
  EXPECT_EQ(stream.Position(), 106);
  const std::string text = StreamText(stream);
  EXPECT_EQ(text.substr(100), std::string("\x02\x00\x00\x00\x01\xAB", 6));
  stream.SetPosition(100);
  EXPECT_EQ(RPFReadBinaryBlock(stream), "\x01\xAB");
  EXPECT_EQ(stream.Position(), 106);
}

TEST(RPFStreamHelpersTest, ABlockLongerThanTheStreamIsRefusedBeforeAllocating) {
  // A length of 2 GiB - 1 in front of three bytes.
  TMemoryStream stream;
  const uint8_t block[] = {0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3};
  stream.WriteBuffer(block, sizeof block);
  stream.SetPosition(0);
  TBitmap bitmap;
  EXPECT_THROW(RPFLoadPictureBinary(stream, bitmap), EReadError);
  stream.SetPosition(0);
  EXPECT_THROW(RPFReadBinaryBlock(stream), EReadError);
  TMemoryStream cut;  // no room even for the length
  cut.WriteBuffer(block, 2);
  cut.SetPosition(0);
  EXPECT_THROW(RPFReadBinaryBlock(cut), EReadError);
}

// --- Components ----------------------------------------------------------------------------------

// A component with one published integer, registered by class name for the readers.
class TRPFTestComponent : public TComponent {
public:
  explicit TRPFTestComponent(TComponent* owner = nullptr) : TComponent(owner) {}
  int32_t Value() const { return FValue; }
  void SetValue(int32_t value) { FValue = value; }
  static const TClassProps& Props() {
    static const TClassProps props(
        "TRPFTestComponent", nullptr,
        {Published::Integer<TRPFTestComponent>("Value", &TRPFTestComponent::Value, &TRPFTestComponent::SetValue, 0)});
    return props;
  }
  const TClassProps* ClassProps() const override { return &Props(); }

private:
  int32_t FValue = 0;
};

class RPFComponentTest : public ::testing::Test {
protected:
  RPFComponentTest() {
    RegisterComponentClass("TRPFTestComponent", [] { return std::make_unique<TRPFTestComponent>(); });
  }
  ~RPFComponentTest() override { UnRegisterComponentClass("TRPFTestComponent"); }
};

TEST_F(RPFComponentTest, ComponentsRoundTripAsHexAndAsBlocks) {
  TRPFTestComponent source;
  source.SetValue(42);
  const AnsiString hex = RPFSaveControlToHex(source);
  EXPECT_EQ(hex.substr(0, 8), "54504630");  // "TPF0"

  int32_t parentCalls = 0;
  const TRPControlParentSetter parent = [&](TComponent&) { ++parentCalls; };
  // The stream creates the component of the class it names.
  std::unique_ptr<TComponent> created;
  ASSERT_TRUE(RPFLoadControlFromHex(hex, created, {}, parent));
  ASSERT_NE(dynamic_cast<TRPFTestComponent*>(created.get()), nullptr);
  EXPECT_EQ(static_cast<TRPFTestComponent&>(*created).Value(), 42);
  EXPECT_EQ(parentCalls, 1);  // after reading only: there was none before
  // With a class name the component is made first and parented before and after.
  std::unique_ptr<TComponent> named;
  ASSERT_TRUE(RPFLoadControlFromHex(hex, named, "TRPFTestComponent", parent));
  EXPECT_EQ(static_cast<TRPFTestComponent&>(*named).Value(), 42);
  EXPECT_EQ(parentCalls, 3);

  TMemoryStream stream;
  RPFSaveControlBinary(stream, source);
  stream.SetPosition(0);
  std::unique_ptr<TComponent> fromBlock;
  ASSERT_TRUE(RPFLoadControlFromBinaryStr(RPFReadBinaryBlock(stream), fromBlock, {}, nullptr));
  EXPECT_EQ(static_cast<TRPFTestComponent&>(*fromBlock).Value(), 42);
}

TEST_F(RPFComponentTest, AFailedReadLeavesNoComponent) {
  TRPFTestComponent source;
  const AnsiString hex = RPFSaveControlToHex(source);
  std::unique_ptr<TComponent> component = std::make_unique<TRPFTestComponent>();
  EXPECT_FALSE(RPFLoadControlFromHex(hex.substr(0, hex.size() - 2), component, {}, nullptr));  // cut short
  EXPECT_EQ(component, nullptr);
  EXPECT_FALSE(RPFLoadControlFromHex("5", component, {}, nullptr));                      // no hex
  EXPECT_FALSE(RPFLoadControlFromBinaryStr("TPF0\x07Unknown", component, {}, nullptr));  // a class nobody made
  EXPECT_EQ(component, nullptr);
  // A class name nobody registered: the stream's class makes the component.
  ASSERT_TRUE(RPFLoadControlFromHex(hex, component, "TNoSuchControl", nullptr));
  EXPECT_NE(dynamic_cast<TRPFTestComponent*>(component.get()), nullptr);
}

// --- Field readers ---------------------------------------------------------------------------------

TEST(RPFStreamHelpersTest, IntegersEndAtASpaceANulOrTheLine) {
  struct TCase {
    const char* Text;
    bool Ok;
    int32_t Value;
    const char* Rest;
  };
  const TCase cases[] = {
      {"-12 x", true, -12, "x"},  // one space skipped
      {"12  x", true, 12, " x"},  // only one
      {"12", true, 12, ""},
      {"7\r\n", true, 7, "\r\n"},
      {"12x", false, 0, "12x"},
      {"x", false, 0, "x"},
      {"-", false, 0, "-"},
      {"+5", false, 0, "+5"},
      {" 5", false, 0, " 5"},
      {"2147483647", true, 2147483647, ""},
      {"-2147483648", true, INT32_MIN, ""},
      {"2147483648", false, 0, "2147483648"},
      {"99999999999999999999", false, 0, "99999999999999999999"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    AnsiStringView cursor = c.Text;
    int32_t n = 0;
    EXPECT_EQ(RPFReadInteger(cursor, n), c.Ok);
    if (c.Ok) {
      EXPECT_EQ(n, c.Value);
    }
    EXPECT_EQ(cursor, c.Rest);
  }
}

TEST(RPFStreamHelpersTest, WordsAndQuotedStrings) {
  AnsiStringView cursor = "ab cd";
  AnsiString s;
  ASSERT_TRUE(RPFReadWord(cursor, s));
  EXPECT_EQ(s, "ab");
  EXPECT_EQ(cursor, "cd");
  AnsiStringView empty = " x";
  EXPECT_FALSE(RPFReadWord(empty, s));

  AnsiStringView quoted = "\"say \"\"hi\"\"\" rest";
  ASSERT_TRUE(RPFReadQuotedString(quoted, s));
  EXPECT_EQ(s, "say \"hi\"");
  EXPECT_EQ(quoted, "rest");
  AnsiStringView open = "\"no end";
  EXPECT_FALSE(RPFReadQuotedString(open, s));
  EXPECT_EQ(open, "\"no end");
  AnsiStringView bare = "bare";
  EXPECT_FALSE(RPFReadQuotedString(bare, s));
}

TEST(RPFStreamHelpersTest, StringFieldsAreTags) {
  TRPTag tag;
  AnsiStringView unquotedZero = "0 x";
  ASSERT_TRUE(RPFReadStringField(unquotedZero, true, true, tag));
  EXPECT_TRUE(tag.IsText());
  EXPECT_EQ(tag.Text(), "");  // none
  AnsiStringView quotedZero = "\"0\"";
  ASSERT_TRUE(RPFReadStringField(quotedZero, true, true, tag));
  EXPECT_EQ(tag.Text(), "0");
  AnsiStringView number = "-7 rest";
  ASSERT_TRUE(RPFReadStringField(number, false, true, tag));
  EXPECT_FALSE(tag.IsText());
  EXPECT_EQ(tag.Number(), -7);
  EXPECT_EQ(number, "rest");
  AnsiStringView noNumber = "abc";
  EXPECT_FALSE(RPFReadStringField(noNumber, false, true, tag));
  EXPECT_EQ(noNumber, "abc");
  AnsiStringView notAllowed = "\"q\"";  // without quoted fields the quotes are the word's
  ASSERT_TRUE(RPFReadStringField(notAllowed, true, false, tag));
  EXPECT_EQ(tag.Text(), "\"q\"");

  EXPECT_EQ(RPFTagToText(false, TRPTag::FromNumber(12)), "12");
  EXPECT_EQ(RPFTagToText(true, TRPTag::FromText("")), "0");
  EXPECT_EQ(RPFTagToText(true, TRPTag::FromText("a\"b")), "\"a\"\"b\"");
  AnsiStringView back = "\"a\"\"b\"";
  ASSERT_TRUE(RPFReadStringField(back, true, true, tag));
  EXPECT_EQ(tag.Text(), "a\"b");
}

TEST(RPFStreamHelpersTest, StyleNumbersByNumberOrName) {
  TRPStyle sheet(nullptr);
  sheet.TextStyles()[3]->StyleName = "Key \"words\"";
  TRPFHeaderRec rec;
  AnsiStringView byName = "\"Heading\" 1";
  ASSERT_TRUE(RPFReadStyleNumberRec(byName, &sheet, rec));
  EXPECT_EQ(rec.StyleNo, 1);
  EXPECT_EQ(byName, "1");
  AnsiStringView unknown = "\"Nothing\"";
  ASSERT_TRUE(RPFReadStyleNumberRec(unknown, &sheet, rec));
  EXPECT_EQ(rec.StyleNo, 0);  // no match: 0
  AnsiStringView number = "5";
  ASSERT_TRUE(RPFReadStyleNumberRec(number, &sheet, rec));
  EXPECT_EQ(rec.StyleNo, 5);
  AnsiStringView neither = "x";
  EXPECT_FALSE(RPFReadStyleNumberRec(neither, &sheet, rec));

  int32_t paraNo = -1;
  AnsiStringView centered = "\"Centered\"";
  ASSERT_TRUE(RPFReadStyleNumber(centered, &sheet, paraNo));
  EXPECT_EQ(paraNo, 1);

  // Names are written quoted, quotes doubled, so that they read back; numbers beyond the
  // style sheet (the paragraph's default text style among them) stay numbers.
  EXPECT_EQ(RPFTextStyleNoToText(&sheet, true, 3), "\"Key \"\"words\"\"\"");
  AnsiStringView again = "\"Key \"\"words\"\"\"";
  ASSERT_TRUE(RPFReadStyleNumberRec(again, &sheet, rec));
  EXPECT_EQ(rec.StyleNo, 3);
  EXPECT_EQ(RPFTextStyleNoToText(&sheet, true, rpDefaultTextStyle), "2147483647");
  EXPECT_EQ(RPFTextStyleNoToText(&sheet, false, 3), "3");
  EXPECT_EQ(RPFParaNoToText(&sheet, true, 1), "\"Centered\"");
  EXPECT_EQ(RPFParaNoToText(&sheet, true, -1), "-1");
  EXPECT_EQ(RPFParaNoToText(nullptr, true, 1), "1");

  TCustomRPData data;
  EXPECT_EQ(RPFItemParaNoToText(4, data, false), "4");
  EXPECT_EQ(RPFItemParaNoToText(4, data, true), "-1");
}

TEST(RPFStreamHelpersTest, LineBreaksAreEncodedAndDecoded) {
  EXPECT_EQ(RPFEncodeLineBreaks("a\r\nb\n"),
            "a\x01\x02"
            "b\x02");
  EXPECT_EQ(RPFDecodeLineBreaks("a\x01\x02"
                                "b\x02"),
            "a\r\nb\n");
  const std::string bytes = AllBytes();
  EXPECT_EQ(RPFDecodeLineBreaks(RPFEncodeLineBreaks(bytes.substr(3))), bytes.substr(3));
}

}  // namespace
