// Every item class written in the native format through the document's streaming and read
// back by the test-side reader (as the document reader takes records).
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "RPFTestReader.h"
#include "RPItemOutput.h"
#include "RPPictureTestData.h"
#include "platform/graphics/ImageList.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPFStreaming.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/model/RPUnicode.h"

namespace {

// A document with a style sheet whose host supplies pictures by name and an image list
// tagged 5.
class TRPFTestData : public TCustomRPData {
public:
  explicit TRPFTestData(TRPStyle& sheet) : FSheet(sheet) {}
  const IRPStyleSheet* GetRPStyle() const override { return &FSheet; }
  std::unique_ptr<TGraphic> RPFPictureNeeded(const AnsiString& name, const TRPTag& tag) override {
    Requests.push_back(name + "#" + (tag.IsText() ? tag.Text() : std::to_string(tag.Number())));
    const auto found = Pictures.find(name);
    return found == Pictures.end() ? nullptr : Picture(found->second);
  }
  TCustomImageList* RPFImageListNeeded(int32_t tag) override { return tag == 5 ? List : nullptr; }

  std::map<AnsiString, std::vector<std::string>> Pictures;
  std::vector<AnsiString> Requests;
  TCustomImageList* List = nullptr;

private:
  TRPStyle& FSheet;
};

class RPItemRpfTest : public ::testing::Test {
protected:
  RPItemRpfTest() {
    TBitmap strip;
    strip.SetPixelFormat(pf24bit);
    strip.SetSize(4, 2);
    List.AddMasked(strip, clFuchsia);
    List.SetTag(5);
    Data.List = &List;
    Sheet.TextStyles()[2]->StyleName = "Sub \"heading\"";
  }

  // The item's record as the document writes it.
  std::string Written(const TCustomRPItemInfo& item, const AnsiString& name, int32_t paraNo = 1) {
    TMemoryStream stream;
    item.SaveRPF(stream, Streaming, 0, paraNo, name, nullptr, false);
    return StreamText(stream);
  }

  // The records read back; fails the test when a record is refused.
  std::vector<TRPFReadItem> ReadBack(const std::string& bytes) {
    std::vector<TRPFReadItem> items;
    TRPFTestReader reader(Data, Streaming);
    EXPECT_TRUE(reader.ReadAll(bytes, items)) << bytes;
    return items;
  }

  TRPStyle Sheet{nullptr};
  TRPFTestData Data{Sheet};
  TRPFStreaming Streaming{Data};
  TCustomImageList List{nullptr, 2, 2};
};

// --- Round trips ----------------------------------------------------------------------------------

struct TRoundTripCase {
  const char* Name;
  uint32_t RPFOptions;
  bool TagsArePChars;
  // The item and its text (its stored text, or its name).
  std::function<std::unique_ptr<TCustomRPItemInfo>()> Make;
  AnsiString Text;
};

std::unique_ptr<TCustomRPItemInfo> TextItem(int32_t styleNo, TRPItemOptions options, AnsiString hint, TRPTag tag) {
  auto item = std::make_unique<TRPTextItemInfo>(nullptr);
  item->StyleNo = styleNo;
  item->ParaNo = 1;
  item->ItemOptions = options;
  item->Hint = std::move(hint);
  item->Tag = std::move(tag);
  return item;
}

template <typename T>
std::unique_ptr<T> WithPicture(std::unique_ptr<T> item) {
  item->Image = Picture({"RGB", "KYR"});
  item->ParaNo = 1;
  item->Alt = "a photo";
  item->ImageFileName = "pics/p1.bmp";
  item->ImageWidth = 30;
  item->ImageHeight = 20;
  item->MinHeightOnPage = 10;
  item->NoHTMLImageSize = true;
  item->Interval = 7;
  item->Resizable = false;
  item->Spacing = 3;
  item->VShift = -40;
  item->VShiftAbs = true;
  item->VAlign = rpvaAbsBottom;
  item->Unremovable = true;
  item->Hint = "tip";
  item->Tag = TRPTag::FromNumber(11);
  return item;
}

const std::vector<TRoundTripCase>& RoundTripCases() {
  static const std::vector<TRoundTripCase> cases = {
      {"8-bit text with a hint", 0, false,
       [] { return TextItem(3, rpioLineBreakBefore, "say \"hi\"", TRPTag::FromNumber(5)); }, "Hello, \"world\""},
      {"UTF-16 text in hex", 0, false, [] { return TextItem(1, rpioUnicode | rpioPageBreakBefore, "", TRPTag()); },
       WideToRawUnicode(u"Привет, ‡ мир")},
      // U+0D0A is the bytes of LF and CR: raw UTF-16 lines end at U+2029 only.
      {"UTF-16 text in the binary form", rpfoSaveBinary, false, [] { return TextItem(1, rpioUnicode, "", TRPTag()); },
       WideToRawUnicode(u"a\u0D0Ab\u2028c")},
      {"string tags", 0, true, [] { return TextItem(0, 0, "", TRPTag::FromText("tag \"q\" 0")); }, "x"},
      {"style names", rpfoUseStyleNames, false, [] { return TextItem(2, 0, "", TRPTag()); }, "named"},
      {"an empty text", 0, false, [] { return TextItem(0, rpioContinuesLine, "", TRPTag()); }, ""},
      // Text that would end its own line goes in hex digits.
      {"8-bit text with line ends", 0, false, [] { return TextItem(0, 0, "", TRPTag()); }, AnsiString("a\r\nb\0c", 6)},
      {"UTF-16 text with U+2029 and U+0000 in the binary form", rpfoSaveBinary, false,
       [] { return TextItem(1, rpioUnicode, "", TRPTag()); }, WideToRawUnicode(WideString(u"a\u2029b\0c", 5))},
      {"break", 0, false,
       [] {
         auto item = std::make_unique<TRPBreakItemInfo>(nullptr);
         item->ParaNo = 1;
         item->Color = clRed;
         item->Style = rpbrDotted;
         item->LineWidth = 3;
         item->Hint = "line";
         item->Unremovable = true;
         item->Tag = TRPTag::FromNumber(-2);
         item->SetPageBreakBefore(true);
         return std::unique_ptr<TCustomRPItemInfo>(std::move(item));
       },
       ""},
      {"tab", 0, false,
       [] {
         auto item = std::make_unique<TRPTabItemInfo>(nullptr);
         item->ParaNo = 1;
         item->TextStyleNo = 4;
         item->ItemOptions = rpioContinuesLine;
         item->Tag = TRPTag::FromNumber(3);
         return std::unique_ptr<TCustomRPItemInfo>(std::move(item));
       },
       ""},
      {"picture without its body", 0, false,
       [] { return std::unique_ptr<TCustomRPItemInfo>(WithPicture(std::make_unique<TRPGraphicItemInfo>(nullptr))); },
       "shown"},
      {"picture in hex", rpfoSavePicturesBody, false,
       [] { return std::unique_ptr<TCustomRPItemInfo>(WithPicture(std::make_unique<TRPGraphicItemInfo>(nullptr))); },
       "pic"},
      {"picture as a binary block", rpfoSavePicturesBody | rpfoSaveBinary, false,
       [] { return std::unique_ptr<TCustomRPItemInfo>(WithPicture(std::make_unique<TRPGraphicItemInfo>(nullptr))); },
       "pic"},
      {"hot picture", rpfoSavePicturesBody, true,
       [] {
         auto item = WithPicture(std::make_unique<TRPHotGraphicItemInfo>(nullptr));
         item->Tag = TRPTag::FromText("link");
         return std::unique_ptr<TCustomRPItemInfo>(std::move(item));
       },
       "hot"},
      {"bullet", 0, false,
       [] {
         auto item = std::make_unique<TRPBulletItemInfo>(nullptr);
         item->ParaNo = 1;
         item->ImageIndex = 1;
         item->Alt = "dot";
         item->NoHTMLImageSize = true;
         item->Spacing = 0;
         item->Tag = TRPTag::FromNumber(8);
         return std::unique_ptr<TCustomRPItemInfo>(std::move(item));
       },
       "dot"},
      {"hotspot", rpfoSaveBinary, false,
       [] {
         auto item = std::make_unique<TRPHotspotItemInfo>(nullptr);
         item->ParaNo = 1;
         item->ImageIndex = 0;
         item->HotImageIndex = 1;
         item->VShift = 50;
         item->Hint = "go";
         return std::unique_ptr<TCustomRPItemInfo>(std::move(item));
       },
       "spot"},
  };
  return cases;
}

TEST_F(RPItemRpfTest, EveryItemClassReadsBackAsItWasWritten) {
  for (const TRoundTripCase& c : RoundTripCases()) {
    SCOPED_TRACE(c.Name);
    Data.SetRPFOptions(c.RPFOptions);
    Data.SetOptions(c.TagsArePChars ? rpoTagsArePChars : 0);
    std::unique_ptr<TCustomRPItemInfo> item = c.Make();
    if (auto* bullet = dynamic_cast<TRPBulletItemInfo*>(item.get())) bullet->ImageList = &List;
    if (!dynamic_cast<TRPGraphicItemInfo*>(item.get()) || (c.RPFOptions & rpfoSavePicturesBody) == 0)
      Data.Pictures[c.Text] = {"RGB", "KYR"};  // the host supplies a picture written without its body
    const std::string bytes = Written(*item, c.Text);
    const std::vector<TRPFReadItem> items = ReadBack(bytes);
    ASSERT_EQ(items.size(), 1u) << bytes;
    const TCustomRPItemInfo& back = *items[0].Item;
    EXPECT_EQ(back.ItemClass(), item->ItemClass());
    EXPECT_EQ(back.StyleNo, item->StyleNo);
    EXPECT_EQ(back.ParaNo, item->ParaNo);
    EXPECT_EQ(back.ItemOptions, item->ItemOptions);
    EXPECT_EQ(back.Tag, item->Tag);
    if (item->ItemClass() != &TRPTabItemInfo::ClassInfo) {  // a tab's record keeps no name nor hint
      EXPECT_EQ(back.Hint, item->Hint);
      EXPECT_EQ(items[0].Text, c.Text);
    }
    // Everything the class keeps: written again, the record is the same.
    EXPECT_EQ(Written(back, items[0].Text), bytes);
    EXPECT_EQ(Data.GetRPFWarnings(), 0u);
  }
}

TEST_F(RPItemRpfTest, PictureAndBulletFieldsComeBack) {
  Data.SetRPFOptions(rpfoSavePicturesBody | rpfoSaveBinary);
  auto picture = WithPicture(std::make_unique<TRPGraphicItemInfo>(nullptr));
  std::vector<TRPFReadItem> items = ReadBack(Written(*picture, "pic"));
  ASSERT_EQ(items.size(), 1u);
  const auto& back = static_cast<const TRPGraphicItemInfo&>(*items[0].Item);
  ASSERT_NE(back.Image, nullptr);
  EXPECT_EQ(Letters(static_cast<const TBitmap&>(*back.Image)), (std::vector<std::string>{"RGB", "KYR"}));
  EXPECT_EQ(back.Alt, "a photo");
  EXPECT_EQ(back.ImageFileName, "pics/p1.bmp");
  EXPECT_EQ(back.ImageWidth, 30);
  EXPECT_EQ(back.ImageHeight, 20);
  EXPECT_EQ(back.MinHeightOnPage, 10);
  EXPECT_TRUE(back.NoHTMLImageSize);
  EXPECT_EQ(back.Interval, 7);
  EXPECT_FALSE(back.Resizable);
  EXPECT_EQ(back.Spacing, 3);
  EXPECT_EQ(back.VShift, -40);
  EXPECT_TRUE(back.VShiftAbs);
  EXPECT_EQ(back.VAlign, rpvaAbsBottom);
  EXPECT_TRUE(back.Unremovable);

  TRPHotspotItemInfo hotspot(nullptr);
  hotspot.ImageList = &List;
  hotspot.HotImageIndex = 1;
  items = ReadBack(Written(hotspot, "spot"));
  ASSERT_EQ(items.size(), 1u);
  const auto& spot = static_cast<const TRPHotspotItemInfo&>(*items[0].Item);
  EXPECT_EQ(spot.ImageList, &List);
  EXPECT_EQ(spot.ImageIndex, 0);
  EXPECT_EQ(spot.HotImageIndex, 1);
}

TEST_F(RPItemRpfTest, APictureWithoutItsBodyIsAskedOfTheHost) {
  TRPGraphicItemInfo picture(nullptr, Picture({"R"}), rpvaBaseline);
  picture.Tag = TRPTag::FromNumber(4);
  Data.Pictures["shown"] = {"GG"};
  const std::vector<TRPFReadItem> items = ReadBack(Written(picture, "shown"));
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(Data.Requests, std::vector<AnsiString>{"shown#4"});
  const auto& back = static_cast<const TRPGraphicItemInfo&>(*items[0].Item);
  ASSERT_NE(back.Image, nullptr);
  EXPECT_EQ(Letters(static_cast<const TBitmap&>(*back.Image)), std::vector<std::string>{"GG"});
}

TEST_F(RPItemRpfTest, UnreadablePictureDataBecomesTheStyleSheetsInvalidPicture) {
  // Hex digits of something that is no bitmap file: the item takes the bitmap resource
  // "RP_BAD_PICTURE" that the program embeds, and the reader is warned.
  Data.SetRPFOptions(rpfoSavePicturesBody);
  const std::vector<TRPFReadItem> items = ReadBack("-3 3 0 0 0 0 0\r\npic\r\nTBitmap\r\n00112233\r\n");
  ASSERT_EQ(items.size(), 1u);
  const auto& back = static_cast<const TRPGraphicItemInfo&>(*items[0].Item);
  ASSERT_NE(back.Image, nullptr);
  EXPECT_EQ(back.Image->Width(), 16);
  EXPECT_EQ(back.Image->Height(), 16);
  EXPECT_EQ(Data.GetRPFWarnings(), rpfwInvalidPicture);
  EXPECT_EQ(Sheet.GetInvalidPicture()->Width(), 16);
}

TEST_F(RPItemRpfTest, TabRecordsKeepNeitherLeaderNorHint) {
  // The format keeps a tab's text style only: its leader and hint are not written.
  TRPTabItemInfo tab(nullptr);
  tab.TextStyleNo = 2;
  tab.Leader = ".";
  tab.Hint = "gap";
  const std::vector<TRPFReadItem> items = ReadBack(Written(tab, ""));
  ASSERT_EQ(items.size(), 1u);
  const auto& back = static_cast<const TRPTabItemInfo&>(*items[0].Item);
  EXPECT_EQ(back.TextStyleNo, 2);
  EXPECT_EQ(back.Leader, "");
  EXPECT_EQ(back.Hint, "");
}

TEST_F(RPItemRpfTest, RecordsFollowEachOther) {
  TRPBreakItemInfo line(nullptr);
  auto text = TextItem(0, 0, "", TRPTag());
  const std::string bytes = Written(line, "") + Written(*text, "one") + Written(*text, "two");
  const std::vector<TRPFReadItem> items = ReadBack(bytes);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[1].Text, "one");
  EXPECT_EQ(items[2].Text, "two");
  // A text record of several lines gives an item per line.
  const std::vector<TRPFReadItem> folded = ReadBack("0 3 0 0 0 0\r\na\r\nb\r\nc\r\n");
  ASSERT_EQ(folded.size(), 3u);
  EXPECT_EQ(folded[2].Text, "c");
}

TEST_F(RPItemRpfTest, BadLinesAreRefused) {
  std::vector<TRPFReadItem> items;
  TRPFTestReader reader(Data, Streaming);
  EXPECT_FALSE(reader.ReadAll("1 1 0 8 3 0\r\n6100ZZ\r\n", items));                    // bad hex text
  EXPECT_FALSE(reader.ReadAll("1 1 0 8 3 0\r\n610062\r\n", items));                    // UTF-16 of an odd length
  EXPECT_FALSE(reader.ReadAll("-3 3 0 0 0 0 0\r\npic\r\nTBitmap\r\n001\r\n", items));  // odd hex picture
  EXPECT_FALSE(reader.ReadAll("-3 3 0 0 0 0 0\r\npic\r\nTNoSuchGraphic\r\n00\r\n", items));
  EXPECT_EQ(Data.GetRPFWarnings(), rpfwUnknownPicFmt);
  // With unknown formats ignored the item is read without a picture.
  Data.SetRPFWarnings(0);
  Data.SetRPFOptions(rpfoIgnoreUnknownPicFmt);
  items.clear();
  ASSERT_TRUE(reader.ReadAll("-3 3 0 0 0 0 0\r\npic\r\nTNoSuchGraphic\r\n00\r\n", items));
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(static_cast<const TRPGraphicItemInfo&>(*items[0].Item).Image, nullptr);
  // A block announcing more than the stream holds.
  const std::string hugeBlock = "\xFF\xFF\xFF\x7F\x01";
  EXPECT_FALSE(reader.ReadAll("-3 3 0 0 2 0 0\r\npic\r\nTBitmap\r\n" + hugeBlock, items));
}

// --- Golden records -------------------------------------------------------------------------------
// One item of each class, its record checked field by field against the layout: the
// header "StyleNo LineCount Para Options Mode Tag Extra", then the lines.

TEST_F(RPItemRpfTest, GoldenRecords) {
  Data.SetRPFOptions(rpfoSavePicturesBody);
  // Text: style 3, one line, paragraph 1, options 4 (line break before), mode 0 (plain),
  // tag 5, then a blank and the quoted hint; the line is the text.
  EXPECT_EQ(Written(*TextItem(3, rpioLineBreakBefore, "h", TRPTag::FromNumber(5)), "abc"),
            "3 1 1 4 0 5 \"h\"\r\nabc\r\n");
  // UTF-16 text: options 8 (Unicode), mode 3 (hex lines); "Ж" is the bytes 16 04.
  EXPECT_EQ(Written(*TextItem(0, rpioUnicode, "", TRPTag()), WideToRawUnicode(u"Ж")), "0 1 1 8 3 0\r\n1604\r\n");
  // 8-bit text holding a line end: mode 3, its bytes in hex.
  EXPECT_EQ(Written(*TextItem(0, 0, "", TRPTag()), "a\nb"), "0 1 1 0 3 0\r\n610A62\r\n");
  // Break: style -1, line count = properties (1: the hint), paragraph 1, options 2, mode
  // 0, tag 0, extra "Color Style LineWidth" = 255 (red) 3 (dotted) 2; the property line.
  TRPBreakItemInfo line(nullptr);
  line.Color = clRed;
  line.Style = rpbrDotted;
  line.LineWidth = 2;
  line.Hint = "h";
  line.SetPageBreakBefore(true);
  EXPECT_EQ(Written(line, ""), "-1 1 1 2 0 0 255 3 2\r\nhint=h\r\n");
  // Tab: style -12, no lines, extra = its text style 4.
  TRPTabItemInfo tab(nullptr);
  tab.TextStyleNo = 4;
  EXPECT_EQ(Written(tab, ""), "-12 0 1 0 0 0 4\r\n");
  // Picture with its body: style -3, lines = 3 + properties (1: "alt"), mode 0 (hex), tag
  // 0, extra VAlign 1 (middle); the name, the class, the property lines, the data.
  TRPGraphicItemInfo picture(nullptr, Picture({"R"}), rpvaMiddle);
  picture.Alt = "x";
  EXPECT_EQ(Written(picture, "p"),
            "-3 4 1 0 0 0 1\r\np\r\nTBitmap\r\nalt=x\r\n" + RPFSavePictureToHex(*picture.Image) + "\r\n");
  // Hot picture: style -10, the same lines.
  TRPHotGraphicItemInfo hot(nullptr, Picture({"R"}), rpvaBaseline);
  EXPECT_EQ(Written(hot, "h"), "-10 3 1 0 0 0 0\r\nh\r\nTBitmap\r\n" + RPFSavePictureToHex(*hot.Image) + "\r\n");
  // Bullet: style -6, lines = 1 + properties, mode 0, extra "ListTag ImageIndex" = 5 1.
  TRPBulletItemInfo bullet(nullptr);
  bullet.ImageList = &List;
  bullet.ImageIndex = 1;
  bullet.NoHTMLImageSize = true;
  EXPECT_EQ(Written(bullet, "b"), "-6 2 1 0 0 0 5 1\r\nb\r\nnohtmlsize=1\r\n");
  // Hotspot: style -4, extra "ListTag ImageIndex HotImageIndex" = 5 0 1.
  TRPHotspotItemInfo hotspot(nullptr);
  hotspot.ImageList = &List;
  hotspot.HotImageIndex = 1;
  EXPECT_EQ(Written(hotspot, "s"), "-4 1 1 0 0 0 5 0 1\r\ns\r\n");
}

TEST_F(RPItemRpfTest, BreakHeadersNeverContinueALine) {
  TRPBreakItemInfo line(nullptr);
  TMemoryStream stream;
  line.SaveRPF(stream, Streaming, 0, 2, "", nullptr, true);
  EXPECT_EQ(StreamText(stream), "-1 0 2 0 0 0 536870911 0 1\r\n");
  TRPTabItemInfo tab(nullptr);
  TMemoryStream tabStream;
  tab.SaveRPF(tabStream, Streaming, 0, 2, "", nullptr, true);  // a tab does: paragraph -1, options 1
  EXPECT_EQ(StreamText(tabStream), "-12 0 -1 1 0 0 0\r\n");
}

// --- The document's streaming ------------------------------------------------------------------

TEST_F(RPItemRpfTest, TheStreamingAnswersFromTheDocument) {
  Data.SetRPFOptions(rpfoUseStyleNames | rpfoSaveBinary);
  EXPECT_EQ(Streaming.Options(), rpfoUseStyleNames | rpfoSaveBinary);
  Streaming.AddWarning(rpfwBadImageIndex);
  Streaming.AddWarning(rpfwUnknownPicFmt);
  EXPECT_EQ(Data.GetRPFWarnings(), rpfwBadImageIndex | rpfwUnknownPicFmt);
  EXPECT_EQ(Streaming.ParaNoText(1, false), "\"Centered\"");
  EXPECT_EQ(Streaming.ParaNoText(1, true), "-1");
  EXPECT_EQ(Streaming.TextStyleNoText(1), "\"Heading\"");
  EXPECT_EQ(Streaming.TextStyleNoText(rpDefaultTextStyle), "2147483647");
  EXPECT_EQ(Streaming.TagText(TRPTag::FromNumber(3)), "3");
  Data.SetOptions(rpoTagsArePChars);
  EXPECT_EQ(Streaming.TagText(TRPTag::FromText("t")), "\"t\"");
  EXPECT_EQ(Streaming.InvalidPicture(), Sheet.GetInvalidPicture());
  EXPECT_EQ(Streaming.FindImageList(5), &List);
  EXPECT_EQ(Streaming.FindImageList(6), nullptr);
  Data.Pictures["p"] = {"R"};
  EXPECT_NE(Streaming.RequestPicture("p", TRPTag::FromText("t")), nullptr);
  EXPECT_EQ(Data.Requests, std::vector<AnsiString>{"p#t"});
  // A document without a style sheet has no invalid picture to give.
  TCustomRPData plain;
  TRPFStreaming plainStreaming(plain);
  EXPECT_EQ(plainStreaming.InvalidPicture(), nullptr);
  EXPECT_EQ(plainStreaming.RequestPicture("p", TRPTag()), nullptr);
  EXPECT_EQ(plainStreaming.ParaNoText(1, false), "1");
}

}  // namespace
