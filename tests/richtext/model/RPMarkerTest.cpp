// List markers in a document: numbering tables, texts, plain text and item properties.
#include "richtext/model/RPMarker.h"

#include <gtest/gtest.h>

#include <functional>

#include "RPMarkerTestData.h"
#include "RPTestCanvas.h"
#include "platform/graphics/ImageList.h"
#include "richtext/model/RPFStreaming.h"
#include "richtext/model/RPUnicode.h"

namespace {

using RPMarkerTest = RPMarkerFixture;

TEST_F(RPMarkerTest, CreatedAsAParagraphStart) {
  auto marker = TRPMarkerItemInfo::CreateEx(&Data, 2, 1, 5, true);
  EXPECT_EQ(marker->StyleNo, rpkindListMarker);
  EXPECT_FALSE(marker->GetContinuesLine());
  EXPECT_EQ(marker->ListNo, 2);
  EXPECT_EQ(marker->Level, 1);
  EXPECT_EQ(marker->StartFrom, 5);
  EXPECT_TRUE(marker->Reset);
  EXPECT_EQ(marker->Counter, 1);
  EXPECT_EQ(marker->CachedListIndex, -1);
  TRPMarkerItemInfo plain(&Data);
  EXPECT_EQ(plain.ListNo, -1);
  auto made = CreateItemByStyleNo(rpkindListMarker, &Data);
  EXPECT_NE(dynamic_cast<TRPMarkerItemInfo*>(made.get()), nullptr);
}

struct TNumberingCase {
  const char* Name;
  bool LevelReset;
  std::vector<int32_t> Levels;
  std::vector<int32_t> Counters;
};

TEST_F(RPMarkerTest, CountersByLevel) {
  const TNumberingCase cases[] = {
      // Level 1 restarts after each level-0 marker.
      {"level reset", true, {0, 1, 1, 0, 1}, {1, 1, 2, 2, 1}},
      // Without the reset, level 1 goes on over level 0.
      {"no level reset", false, {0, 1, 1, 0, 1}, {1, 1, 2, 2, 3}},
      // A level-0 marker after only deeper markers of its list counts them as a skipped
      // level-0 marker: V + 1.
      {"skipped into", true, {1, 1, 0, 0}, {1, 2, 2, 3}},
      // Three levels, each restarting under its parent.
      {"three levels", true, {0, 1, 2, 2, 1, 2, 0, 1}, {1, 1, 1, 2, 2, 1, 2, 1}},
  };
  for (const TNumberingCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Data.Clear();
    Sheet.ListStyles().Clear();
    TRPListInfo& list = AddList({rplstDecimal, rplstDecimal, rplstDecimal});
    for (int32_t i = 0; i < 3; ++i) list.Levels()[i]->Options.Set(rploLevelReset, c.LevelReset);
    for (int32_t level : c.Levels) AddMarker(0, level);
    EXPECT_EQ(Counters(), c.Counters);
  }
}

TEST_F(RPMarkerTest, MultiLevelTexts) {
  TRPListInfo& list = AddList({rplstLowerRoman, rplstUpperAlpha});
  list.Levels()[1]->FormatString = "%0:s.%1:s";
  list.Levels()[0]->StartFrom = 4;
  list.Levels()[1]->StartFrom = 28;
  AddMarker(0, 0);
  AddMarker(0, 1);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"iv.", "iv.AB"}));
  list.Levels()[1]->Options.Include(rploLegalStyleNumbering);
  Data.UpdateMarkerCountersFrom(0);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"iv.", "4.AB"}));
}

TEST_F(RPMarkerTest, LegalStyleNumberingOfThreeLevels) {
  TRPListInfo& list = AddList({rplstUpperRoman, rplstUpperAlpha, rplstLowerRoman});
  for (int32_t i = 0; i < 3; ++i) list.Levels()[i]->Options.Include(rploLegalStyleNumbering);
  list.Levels()[1]->FormatString = "%0:s.%1:s";
  list.Levels()[2]->FormatString = "%0:s.%1:s.%2:s";
  for (int32_t level : {0, 1, 2, 2, 1, 0, 2}) AddMarker(0, level);
  // The levels above a marker's own show as decimals; its own keeps its type. The last
  // marker skips level 1, whose place shows that level's StartFrom.
  EXPECT_EQ(Texts(), (std::vector<std::string>{"I.", "1.A", "1.1.i", "1.1.ii", "1.B", "II.", "2.1.i"}));
}

TEST_F(RPMarkerTest, NumberingKindsAndBullets) {
  TRPListInfo& list = AddList({rplstDecimal, rplstLowerAlpha, rplstUpperAlpha, rplstLowerRoman, rplstUpperRoman,
                               rplstBullet, rplstUnicodeBullet, rplstPicture, rplstImageList, rplstImageListCounter});
  for (int32_t i = 0; i < 10; ++i) {
    list.Levels()[i]->FormatString = i == 5 ? "o" : "(%" + std::to_string(i) + ":s)";
    list.Levels()[i]->StartFrom = 27;
    list.Levels()[i]->Options.Exclude(rploLevelReset);
  }
  for (int32_t level = 0; level < 10; ++level) AddMarker(0, level);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"(27)", "(aa)", "(AA)", "(xxvii)", "(XXVII)", "o", "", "", "", ""}));
  EXPECT_EQ(Markers(Data)[9]->Counter, 27);  // the image counter counts though it shows no text
}

TEST_F(RPMarkerTest, RestartsAndContinuedLists) {
  AddList({rplstDecimal});
  AddList({rplstUpperAlpha});
  AddMarker(0, 0);
  AddMarker(1, 0);
  AddMarker(0, 0);                     // list 0 goes on over list 1's paragraph
  AddMarker(0, 0, "again", true, 10);  // restarts at 10
  AddMarker(1, 0);
  AddMarker(0, 0);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1.", "A.", "2.", "10.", "B.", "11."}));
  TRPMarkerItemInfo& restarted = *Markers(Data)[3];
  restarted.Reset = false;
  Data.UpdateMarkerCountersFrom(Data.IndexOfItem(&restarted));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1.", "A.", "2.", "3.", "B.", "4."}));
}

TEST_F(RPMarkerTest, AMarkerPastTheLevelsUsesTheLastLevel) {
  TRPListInfo& list = AddList({rplstDecimal, rplstLowerAlpha, rplstUpperRoman});
  list.Levels()[2]->FormatString = "%0:s/%1:s/%2:s/%5:s";
  AddMarker(0, 0);
  AddMarker(0, 5);
  // Levels 1 .. 4 between it and its parent show their StartFrom in their level's type
  // (levels past the last taken as the last); its own argument, 5, is its number.
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1.", "1/a/I/I"}));
  int32_t left = 0, first = 0, markerIndent = 0;
  list.Levels()[2]->LeftIndent = 33;
  ASSERT_TRUE(Markers(Data)[1]->GetLevelIndents(&Sheet, left, first, markerIndent));
  EXPECT_EQ(left, 33);
}

TEST_F(RPMarkerTest, MarkersWithoutAUsableLevel) {
  AddList({});  // no levels
  AddList({rplstDecimal});
  AddMarker(0, 0);
  AddMarker(1, -1);  // a negative level
  AddMarker(7, 0);   // past the list styles
  AddMarker(-1, 0);  // no list
  auto canvas = WhitePage(40, 20);
  for (TRPMarkerItemInfo* marker : Markers(Data)) {
    EXPECT_EQ(marker->DisplayString, "");
    EXPECT_EQ(marker->GetLevelInfo(&Sheet), nullptr);
    int32_t width = -1, height = -1, descent = -1, offset = -1;
    marker->UpdateSizeForWidth(*canvas->Canvas(), Data, nullptr, width, height, descent, offset);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
    EXPECT_EQ(marker->GetMinWidth(nullptr, canvas->Canvas(), &Data), 0);
    marker->Paint(0, 0, *canvas->Canvas(), &Sheet);
    bool unicode = true;
    EXPECT_EQ(marker->AsPlainText(0, &Data, unicode), "");
    int32_t l = 0, f = 0, m = 0;
    EXPECT_FALSE(marker->GetLevelIndents(&Sheet, l, f, m));
  }
  EXPECT_EQ(Art(*canvas, clBlack), std::vector<std::string>(20, std::string(40, '.')));
}

TEST_F(RPMarkerTest, AParentOfANegativeLevelEndsTheChain) {
  TRPListInfo& list = AddList({rplstDecimal, rplstLowerAlpha});
  list.Levels()[1]->FormatString = "%0:s.%1:s";
  AddMarker(0, -5);  // as a file may hold it: no level, yet lower than level 1
  AddMarker(0, 1);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"", "1.a"}));
}

TEST_F(RPMarkerTest, BadFormatStringsShowAsTheyAre) {
  TRPListInfo& list = AddList({rplstDecimal});
  list.Levels()[0]->FormatString = "%d)";  // a number pattern for a text argument
  AddMarker(0, 0);
  list.Levels()[0]->FormatString = "%300:s";  // no such argument
  AddMarker(0, 0);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"%d)", "%300:s"}));
}

TEST_F(RPMarkerTest, CountersNeverPassMaxInt) {
  AddList({rplstDecimal});
  AddMarker(0, 0, "a", true, 2147483647);
  AddMarker(0, 0);
  EXPECT_EQ(Counters(), (std::vector<int32_t>{2147483647, 2147483647}));
}

TEST_F(RPMarkerTest, PlainText) {
  TRPListInfo& list = AddList({rplstDecimal, rplstBullet, rplstUnicodeBullet, rplstPicture, rplstBullet});
  list.Levels()[1]->FormatString = "\xB7";
  list.Levels()[2]->FormatStringW = u"\u25BA?";
  list.Levels()[4]->FormatString = "\xAE\xB7";
  list.Levels()[4]->GetFont().SetName("symbol");
  for (int32_t level = 0; level < 5; ++level) AddMarker(0, level);
  const auto markers = Markers(Data);
  struct TCase {
    int32_t Marker;
    bool Unicode;
    AnsiString Text;
    bool TextIsUnicode;
  };
  const TCase cases[] = {
      {0, false, "1. ", false},
      {0, true, WideToRawUnicode(u"1. "), true},
      {1, false, "\xB7 ", false},
      {1, true, WideToRawUnicode(u"\u00B7 "), true},  // through the system code page
      {2, true, WideToRawUnicode(u"\u25BA? "), true},
      {2, false, "*? ", false},  // what the code page lacks becomes *, a real ? stays
      {3, false, "* ", false},
      {3, true, WideToRawUnicode(u"* "), true},
      {4, false, "->* ", false},  // the Symbol font's arrow and bullet made readable
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Marker) + (c.Unicode ? " unicode" : " ansi"));
    bool textIsUnicode = !c.TextIsUnicode;
    EXPECT_EQ(markers[static_cast<size_t>(c.Marker)]->GetPlainText(&Sheet, c.Unicode, textIsUnicode), c.Text);
    EXPECT_EQ(textIsUnicode, c.TextIsUnicode);
  }
}

TEST_F(RPMarkerTest, PlainTextOfTheDocument) {
  AddList({rplstDecimal});
  AddMarker(0, 0, "one");
  AddMarker(0, 0, "two");
  TMemoryStream stream;
  ASSERT_TRUE(Data.SaveTextToStream(u"", stream, 80, false, false, false, false));
  EXPECT_EQ(AnsiString(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size())),
            "1. one\r\n2. two");
}

// A list of four 2 x 2 images: red, green, blue, black.
std::unique_ptr<TCustomImageList> FourImages() {
  TBitmap strip;
  strip.SetPixelFormat(pf24bit);
  strip.SetSize(8, 2);
  const TColor colors[] = {clRed, clLime, clBlue, clBlack};
  for (int32_t x = 0; x < 8; ++x)
    for (int32_t y = 0; y < 2; ++y) strip.SetPixelColor(x, y, colors[x / 2]);
  auto list = std::make_unique<TCustomImageList>(nullptr, 2, 2);
  list->AddMasked(strip, clNone);
  return list;
}

TEST_F(RPMarkerTest, PicturesAndImagesAreDrawnAtTheBoxCorner) {
  auto images = FourImages();
  TRPListInfo& list = AddList({rplstPicture, rplstImageList, rplstImageListCounter});
  auto picture = WhitePage(3, 2);
  picture->SetPixelColor(0, 0, clRed);
  picture->SetPixelColor(2, 1, clBlue);
  list.Levels()[0]->SetPicture(picture.get());
  list.Levels()[1]->ImageList = images.get();
  list.Levels()[1]->ImageIndex = 1;
  list.Levels()[2]->ImageList = images.get();
  list.Levels()[2]->ImageIndex = 1;
  list.Levels()[2]->Options.Exclude(rploLevelReset);
  TRPMarkerItemInfo& pictureMarker = AddMarker(0, 0);
  TRPMarkerItemInfo& imageMarker = AddMarker(0, 1);
  TRPMarkerItemInfo& counter1 = AddMarker(0, 2);
  TRPMarkerItemInfo& counter2 = AddMarker(0, 2);
  TRPMarkerItemInfo& counter3 = AddMarker(0, 2);
  EXPECT_EQ(pictureMarker.GetImageWidth(&Sheet), 3);
  EXPECT_EQ(pictureMarker.GetImageHeight(&Sheet), 2);
  EXPECT_EQ(imageMarker.GetImageWidth(&Sheet), 2);
  for (TRPMarkerItemInfo* marker : {&pictureMarker, &imageMarker, &counter1})
    EXPECT_TRUE(marker->GetBoolValueEx(rpibqxPrintAsBitmap, &Sheet));
  auto page = WhitePage(12, 3);
  pictureMarker.Paint(0, 1, *page->Canvas(), &Sheet);
  imageMarker.Paint(4, 0, *page->Canvas(), &Sheet);                                 // image 1: green
  counter1.Paint(7, 0, *page->Canvas(), &Sheet);                                    // 1 + 1 - 1: green
  counter3.Paint(10, 0, *page->Canvas(), &Sheet);                                   // 1 + 3 - 1: black
  EXPECT_EQ(Art(*page, clLime, clBlack), (std::vector<std::string>{"....##.##.oo",  //
                                                                   "?...##.##.oo",  //
                                                                   "..?........."}));
  EXPECT_EQ(page->PixelColor(0, 1), clRed);
  EXPECT_EQ(page->PixelColor(2, 2), clBlue);
  // Past the list's images nothing is drawn; the page painter's bitmap gets the image
  // at its corner.
  counter2.Counter = 4;  // 1 + 4 - 1 = 4: no such image
  auto bitmap = WhitePage(2, 2);
  EXPECT_TRUE(counter2.PrintToBitmap(*bitmap, rpcmColor, &Sheet));
  EXPECT_EQ(Art(*bitmap, clBlack), (std::vector<std::string>{"..", ".."}));
  EXPECT_TRUE(counter1.PrintToBitmap(*bitmap, rpcmColor, &Sheet));
  EXPECT_EQ(Art(*bitmap, clLime), (std::vector<std::string>{"##", "##"}));
  // A counter far from 1 does not overflow the index.
  counter2.Counter = -2147483647 - 1;
  counter2.Paint(0, 0, *bitmap->Canvas(), &Sheet);
}

TEST_F(RPMarkerTest, TextMarkersInTheLevelFontThroughTheColourMode) {
  TRPListInfo& list = AddList({rplstDecimal});
  list.Levels()[0]->GetFont().SetColor(clRed);
  list.Levels()[0]->GetFont().SetSize(20);
  TRPMarkerItemInfo& marker = AddMarker(0, 0);
  auto colour = WhitePage(30, 30);
  marker.Paint(0, 0, *colour->Canvas(), &Sheet);
  auto blackOnWhite = WhitePage(30, 30);
  marker.Print(*blackOnWhite->Canvas(), 0, 0, rpcmBlackOnWhite, &Sheet);
  int32_t red = 0, black = 0;
  for (TColor c : Pixels(*colour)) red += c == clRed;
  for (TColor c : Pixels(*blackOnWhite)) black += c == clBlack;
  EXPECT_GT(red, 10);
  EXPECT_GT(black, 10);
  // The style sheet's resolution for text styles scales the marker's font.
  auto canvas = WhitePage(10, 10);
  int32_t width = 0, height = 0, descent = 0, offset = 0;
  marker.UpdateSizeForWidth(*canvas->Canvas(), Data, nullptr, width, height, descent, offset);
  const int32_t at96 = height;
  Sheet.TextStyles().PixelsPerInch = 192;
  marker.UpdateSizeForWidth(*canvas->Canvas(), Data, nullptr, width, height, descent, offset);
  EXPECT_GT(height, at96 * 3 / 2);
}

AnsiString Html(const std::function<void(TStream&)>& write) {
  TMemoryStream stream;
  write(stream);
  return AnsiString(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

TEST_F(RPMarkerTest, HtmlListStructure) {
  AddList({rplstBullet, rplstDecimal, rplstUpperRoman});
  AddList({rplstLowerAlpha});
  const TRPMarkerItemInfo& top = AddMarker(0, 0);
  const TRPMarkerItemInfo& deep = AddMarker(0, 2);
  const TRPMarkerItemInfo& middle = AddMarker(0, 1);
  const TRPMarkerItemInfo& other = AddMarker(1, 0);
  const TRPMarkerItemInfo& pastTheLevels = AddMarker(0, 2000000000);
  EXPECT_EQ(Html([&](TStream& s) { deep.WriteHtmlListTransition(s, nullptr, false, &Sheet); }),
            "<ul><ol><ol type=I>\r\n");
  EXPECT_EQ(Html([&](TStream& s) { deep.WriteHtmlListTransition(s, &top, false, &Sheet); }), "<ol><ol type=I>\r\n");
  EXPECT_EQ(Html([&](TStream& s) { middle.WriteHtmlListTransition(s, &deep, false, &Sheet); }), "</ol>\r\n");
  EXPECT_EQ(Html([&](TStream& s) { top.WriteHtmlListTransition(s, &top, false, &Sheet); }), "");
  EXPECT_EQ(Html([&](TStream& s) { other.WriteHtmlListTransition(s, &middle, false, &Sheet); }),
            "</ol></ul>\r\n<ol type=a>\r\n");
  // A stored level past the last opens no more tags than the list has levels.
  EXPECT_EQ(Html([&](TStream& s) { pastTheLevels.WriteHtmlListTransition(s, &other, false, &Sheet); }),
            "</ol>\r\n<ul><ol><ol type=I>\r\n");
  EXPECT_EQ(Html([&](TStream& s) { middle.WriteHtmlListTransition(s, &pastTheLevels, false, &Sheet); }), "</ol>\r\n");
  EXPECT_EQ(Html([&](TStream& s) { top.WriteHtmlLevelChange(s, -1, true, &Sheet, 0); }),
            "<ul style=\"text-indent: 0px; margin-left: 0px; list-style-position: inside;\">\r\n");
}

TEST_F(RPMarkerTest, ItemProperties) {
  TRPMarkerItemInfo& marker = AddMarker(0, 2, "x", true, 7);
  EXPECT_TRUE(marker.GetBoolValue(rpibqResetsFontCache));
  EXPECT_TRUE(marker.GetBoolValue(rpibqOwnCodePage));
  EXPECT_FALSE(marker.GetBoolValue(rpibqWholeLine));
  EXPECT_TRUE(marker.GetBoolValueEx(rpibqxSizeForWidth, &Sheet));
  EXPECT_EQ(marker.GetRPFPropertyCount(), 0);
  EXPECT_TRUE(marker.SetIntProperty(rpipNoHTMLImageSize, 5));
  EXPECT_TRUE(marker.NoHTMLImageSize);
  int32_t value = 0;
  EXPECT_TRUE(marker.GetIntProperty(rpipNoHTMLImageSize, value));
  EXPECT_EQ(value, 1);
  EXPECT_EQ(marker.GetRPFPropertyCount(), 1);
  TMemoryStream stream;
  marker.SaveRPFProperties(stream);
  EXPECT_EQ(AnsiString(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size())),
            "nohtmlsize=1\r\n");
  marker.ReadRPFPropertyLine("nohtmlsize=0");
  EXPECT_FALSE(marker.NoHTMLImageSize);
  AnsiString extra;
  marker.GetRPFHeaderExtra(&Data, extra);
  EXPECT_EQ(extra, "0 2 7 1");
  auto copy = CreateItemCopy(marker, &Data, false);
  const auto& copied = dynamic_cast<const TRPMarkerItemInfo&>(*copy);
  EXPECT_EQ(copied.ListNo, 0);
  EXPECT_EQ(copied.Level, 2);
  EXPECT_EQ(copied.StartFrom, 7);
  EXPECT_TRUE(copied.Reset);
}

TEST_F(RPMarkerTest, HeaderExtraNeedsFourNumbers) {
  TRPMarkerItemInfo marker(&Data);
  TRPFStreaming streaming(Data);
  AnsiStringView rest = "3 1 -4 0 tail";
  ASSERT_TRUE(marker.ReadRPFHeaderExtra(rest, streaming));
  EXPECT_EQ(marker.ListNo, 3);
  EXPECT_EQ(marker.Level, 1);
  EXPECT_EQ(marker.StartFrom, -4);
  EXPECT_FALSE(marker.Reset);
  EXPECT_EQ(rest, "tail");  // one blank after the last number is read with it
  AnsiStringView reset = "0 0 1 9";
  ASSERT_TRUE(marker.ReadRPFHeaderExtra(reset, streaming));
  EXPECT_TRUE(marker.Reset);
  for (AnsiStringView bad : {AnsiStringView("1 2 3"), AnsiStringView(""), AnsiStringView("1 x 3 4")}) {
    AnsiStringView cursor = bad;
    EXPECT_FALSE(marker.ReadRPFHeaderExtra(cursor, streaming)) << bad;
    EXPECT_EQ(marker.ListNo, 0);  // left as it was
  }
}

TEST_F(RPMarkerTest, ListStylesInUse) {
  AddList({rplstDecimal});
  AddList({rplstDecimal});
  AddList({rplstDecimal});
  for (int32_t i = 0; i < 3; ++i) Sheet.ListStyles()[i]->Standard = false;
  AddMarker(2, 0);
  TRPStyleUsage usage;
  usage.TrackListStyles = true;
  usage.ListStyles = TRPIntegerList::CreateFilled(3, 0);
  Data.MarkItemStylesInUse(usage);
  EXPECT_EQ(usage.ListStyles[0], 0);
  EXPECT_EQ(usage.ListStyles[2], 1);
  // Cumulative counts of removed styles: 0 and 1 went, so list 2 becomes 0.
  usage.ListStyles = TRPIntegerList::CreateFilled(3, 0);
  usage.ListStyles.SetItem(0, 1);
  usage.ListStyles.SetItem(1, 2);
  usage.ListStyles.SetItem(2, 3);
  usage.ParaStyles = TRPIntegerList::CreateFilled(1, 1);
  Data.RenumberItemStyles(usage);
  EXPECT_EQ(Markers(Data)[0]->ListNo, 0);
}

}  // namespace
