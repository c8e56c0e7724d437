// List markers in the native format, RTF and HTML, and the marker list's hexadecimal form.
#include <gtest/gtest.h>

#include <map>

#include "RPFTestReader.h"
#include "RPItemOutput.h"
#include "RPMarkerTestData.h"
#include "platform/graphics/ImageList.h"
#include "richtext/model/RPFStreaming.h"
#include "richtext/model/RPRtfHelpers.h"
#include "richtext/model/RPUnicode.h"

namespace {

class RPMarkerExportTest : public RPMarkerFixture {
protected:
  RPMarkerExportTest() {
    TBitmap strip;
    strip.SetPixelFormat(pf24bit);
    strip.SetSize(4, 2);
    strip.Canvas()->Brush().SetColor(clRed);
    strip.Canvas()->FillRect(TRect{0, 0, 2, 2});
    strip.Canvas()->Brush().SetColor(clBlue);
    strip.Canvas()->FillRect(TRect{2, 0, 4, 2});
    Images.AddMasked(strip, clNone);
  }
  std::string Rtf(const TRPMarkerItemInfo& marker, uint32_t options = 0) {
    TRPRTFSaveContext context(Colors);
    context.RPData = &Data;
    context.Options = options;
    context.ListOverrideBases = &Bases;
    context.ListOverrideCounters = &Counters;
    context.FontTable = &Fonts;
    TMemoryStream stream;
    marker.SaveRTF(stream, context, {}, 0);
    return StreamText(stream);
  }
  std::string Html(const TRPMarkerItemInfo& marker, uint32_t options, bool css = false) {
    return HtmlOf(marker, Writer, options, css, clWhite, &Sheet, &Saved);
  }

  // A font table of two fonts.
  class TFonts : public IRPRTFFontTable {
  public:
    int32_t Find(const AnsiString& name, uint8_t) const override {
      return name == "Arial" ? 0 : name == "Courier New" ? 1 : -1;
    }
  } Fonts;
  TRPColorList Colors;
  TRPIntegerList Bases, Counters;
  TCustomImageList Images{nullptr, 2, 2};
  TFakeHtmlWriter Writer;
  TRPHTMLBulletInfoList Saved;
};

// --- Native format ----------------------------------------------------------------------

TEST_F(RPMarkerExportTest, RecordsReadBackIntoEqualMarkers) {
  AddList({rplstDecimal});
  TRPMarkerItemInfo& plain = AddMarker(0, 0);
  TRPMarkerItemInfo& restart = AddMarker(0, 2, "x", true, -7);
  restart.NoHTMLImageSize = true;
  restart.Hint = "a hint";
  TRPFStreaming streaming(Data);
  TMemoryStream stream;
  plain.SaveRPF(stream, streaming, 0, 0, {}, nullptr, false);
  // "StyleNo Lines Para Options Mode Tag" then ListNo, Level, StartFrom and Reset.
  EXPECT_EQ(StreamText(stream), "-11 0 0 0 0 0 0 0 1 0\r\n");
  TMemoryStream both;
  plain.SaveRPF(both, streaming, 0, 0, {}, nullptr, false);
  restart.SaveRPF(both, streaming, 2, 0, {}, nullptr, false);
  EXPECT_EQ(StreamText(both), "-11 0 0 0 0 0 0 0 1 0\r\n-11 2 0 0 0 0 0 2 -7 1\r\nhint=a hint\r\nnohtmlsize=1\r\n");
  std::vector<TRPFReadItem> read;
  TRPFTestReader reader(Data, streaming);
  ASSERT_TRUE(reader.ReadAll(StreamText(both), read));
  ASSERT_EQ(read.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    const auto& original = i == 0 ? plain : restart;
    const auto* back = dynamic_cast<const TRPMarkerItemInfo*>(read[i].Item.get());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->ListNo, original.ListNo);
    EXPECT_EQ(back->Level, original.Level);
    EXPECT_EQ(back->StartFrom, original.StartFrom);
    EXPECT_EQ(back->Reset, original.Reset);
    EXPECT_EQ(back->NoHTMLImageSize, original.NoHTMLImageSize);
    EXPECT_EQ(back->Hint, original.Hint);
  }
}

TEST_F(RPMarkerExportTest, HexLinesReadBackIntoEqualLists) {
  AddList({rplstDecimal, rplstLowerAlpha});
  AddMarker(0, 0);
  AddMarker(0, 1, "x", true, 5);
  TMemoryStream line;
  List().WriteMarkersHexLine(line, 2);
  // The block without its size: 0, count 2, then per marker ListNo, Level, Reset,
  // StartFrom, Counter.
  EXPECT_EQ(StreamText(line),
            "00000000"
            "02000000"
            "00000000"
            "00000000"
            "00"
            "01000000"
            "01000000"
            "00000000"
            "01000000"
            "01"
            "05000000"
            "05000000"
            "\r\n");
  TRPMarkerList read;
  const std::string text = StreamText(line);
  ASSERT_TRUE(read.LoadMarkersFromHexString(text.substr(0, text.size() - 2), &Data));
  ASSERT_EQ(read.Count(), 2);
  EXPECT_EQ(read[1]->Level, 1);
  EXPECT_TRUE(read[1]->Reset);
  EXPECT_EQ(read[1]->StartFrom, 5);
  EXPECT_EQ(read[1]->Counter, 5);
  // Lower-case digits read too; an odd count or a character that is no digit leaves the
  // list empty.
  EXPECT_TRUE(read.LoadMarkersFromHexString("0000000000000000", &Data));
  EXPECT_EQ(read.Count(), 0);
  read.LoadMarkersFromHexString(text.substr(0, text.size() - 2), &Data);
  EXPECT_FALSE(read.LoadMarkersFromHexString("000", &Data));
  EXPECT_EQ(read.Count(), 0);
  read.LoadMarkersFromHexString(text.substr(0, text.size() - 2), &Data);
  EXPECT_FALSE(read.LoadMarkersFromHexString("00000000ZZ000000", &Data));
  EXPECT_EQ(read.Count(), 0);
  EXPECT_THROW(read.LoadMarkersFromHexString("0000000001000000", &Data), EReadError);  // a record missing
}

// --- RTF --------------------------------------------------------------------------------

TEST_F(RPMarkerExportTest, FontFormattingOfAMarkerFont) {
  Colors.Add(static_cast<int32_t>(clWindowText));
  Colors.Add(static_cast<int32_t>(clRed));
  TRPMarkerFont font;
  TMemoryStream plain;
  WriteRTFFontFormatting(plain, font, Colors, &Sheet, &Fonts);
  EXPECT_EQ(StreamText(plain), "\\f0\\fs16");
  font.SetName("Courier New");
  font.SetStyle(TFontStyles{fsBold, fsItalic, fsUnderline, fsStrikeOut});
  font.SetSize(11);
  font.SetColor(clRed);
  font.SetCharset(204);
  TMemoryStream styled;
  WriteRTFFontFormatting(styled, font, Colors, &Sheet, &Fonts);
  EXPECT_EQ(StreamText(styled), "\\f1\\b\\i\\ul\\strike\\fs22\\lang1049\\cf1");
  Sheet.TextStyles()[0]->Charset = 204;  // text style 0's charset: no language
  font.SetName("Unknown");
  TMemoryStream same;
  WriteRTFFontFormatting(same, font, Colors, &Sheet, nullptr);
  EXPECT_EQ(StreamText(same), "\\b\\i\\ul\\strike\\fs22\\cf1");
}

TEST_F(RPMarkerExportTest, RtfOfTextMarkers) {
  TRPListInfo& list = AddList({rplstDecimal, rplstUnicodeBullet, rplstBullet});
  list.Levels()[0]->FormatString = "%0:s{.}";
  list.Levels()[1]->FormatStringW = u"\u25BA";
  list.Levels()[2]->FormatString = "\x95";
  for (int32_t count : {3, 5}) Bases.Add(count);
  for (int32_t count : {3, 5}) Counters.Add(count);
  TRPMarkerItemInfo& first = AddMarker(0, 0);
  TRPMarkerItemInfo& restart = AddMarker(0, 0, "x", true, 9);
  TRPMarkerItemInfo& unicode = AddMarker(0, 1);
  TRPMarkerItemInfo& bullet = AddMarker(0, 2);
  EXPECT_EQ(Rtf(first), "{\\listtext\\pard\\plain\\f0\\fs16 1\\{.\\}\\tab}\\ls3\\ilvl0 ");
  // A restarting counted marker takes its list's next override.
  EXPECT_EQ(Rtf(restart), "{\\listtext\\pard\\plain\\f0\\fs16 9\\{.\\}\\tab}\\ls4\\ilvl0 ");
  EXPECT_EQ(Counters[0], 4);
  EXPECT_EQ(Rtf(unicode), "{\\listtext\\pard\\plain\\f0\\fs16 \\u9658 \\tab}\\ls3\\ilvl1 ");
  EXPECT_EQ(Rtf(unicode, rprtfDuplicateUnicode), "{\\listtext\\pard\\plain\\f0\\fs16 \\u9658 ?\\tab}\\ls3\\ilvl1 ");
  EXPECT_EQ(Rtf(bullet), "{\\listtext\\pard\\plain\\f0\\fs16 \\bullet \\tab}\\ls3\\ilvl2 ");
  // Without the writer's lists there is no override to name.
  Bases.Clear();
  EXPECT_EQ(Rtf(first), "{\\listtext\\pard\\plain\\f0\\fs16 1\\{.\\}\\tab}");
}

TEST_F(RPMarkerExportTest, RtfOfPicturesAndImages) {
  TRPListInfo& list = AddList({rplstPicture, rplstImageListCounter});
  list.Levels()[1]->ImageList = &Images;
  list.Levels()[1]->Options.Exclude(rploLevelReset);
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetSize(2, 1);
  list.Levels()[0]->SetPicture(&picture);
  TRPMarkerItemInfo& pictureMarker = AddMarker(0, 0);
  TRPMarkerItemInfo& first = AddMarker(0, 1);
  TRPMarkerItemInfo& second = AddMarker(0, 1);
  TRPMarkerItemInfo& third = AddMarker(0, 1);
  EXPECT_EQ(Rtf(pictureMarker).substr(0, 39), "{\\pict\\dibitmap0\\wbmwidthbytes8\\picw2\\p");
  // The counter picks the image: the first and second, none for the third.
  // Each is written as a bullet is: drawn into a Windows metafile of the list's image
  // size, or a bitmap when bitmaps are the default.
  const std::string red = Rtf(first), blue = Rtf(second);
  EXPECT_EQ(red.rfind("{\\pict\\wmetafile1\\picw2\\pich2 ", 0), 0u) << red.substr(0, 40);
  EXPECT_NE(red, blue);
  EXPECT_EQ(Rtf(first, rprtfSaveBitmapDefault).rfind("{\\pict\\dibitmap0\\wbmwidthbytes8\\picw2\\pich2\\", 0), 0u);
  EXPECT_EQ(Rtf(third), "");
  // Only restarting markers of text-counted levels add overrides.
  TRPIntegerList counts;
  for (int i = 0; i < 2; ++i) counts.Add(1);
  AddList({rplstDecimal});
  TRPMarkerItemInfo& restarting = AddMarker(1, 0, "x", true, 4);
  TRPMarkerItemInfo& plain = AddMarker(1, 0);
  TRPMarkerItemInfo& restartingImage = AddMarker(0, 1, "x", true, 1);
  for (const TRPMarkerItemInfo* marker : {&restarting, &plain, &restartingImage, &pictureMarker})
    marker->FillRTFTables(Colors, counts, &Data);
  EXPECT_EQ(counts[0], 1);
  EXPECT_EQ(counts[1], 2);
}

// --- HTML -------------------------------------------------------------------------------

TEST_F(RPMarkerExportTest, HtmlTextMarkers) {
  TRPListInfo& list = AddList({rplstDecimal, rplstUnicodeBullet, rplstBullet, rplstBullet});
  list.Levels()[0]->LeftIndent = 20;
  list.Levels()[0]->MarkerIndent = 20;
  list.Levels()[0]->FirstIndent = 12;
  list.Levels()[1]->FormatStringW = u"\u25BA\U0001F600";
  list.Levels()[2]->FormatString = "\x6C\xF0";
  list.Levels()[2]->GetFont().SetName("Wingdings");
  list.Levels()[3]->FormatString = "\xB7\x61";
  list.Levels()[3]->GetFont().SetName("Symbol");
  TRPMarkerItemInfo& number = AddMarker(0, 0);
  TRPMarkerItemInfo& unicode = AddMarker(0, 1);
  TRPMarkerItemInfo& wingdings = AddMarker(0, 2);
  TRPMarkerItemInfo& symbol = AddMarker(0, 3);
  EXPECT_EQ(Html(number, 0), "");  // markers make HTML lists unless written inline
  EXPECT_EQ(Html(number, rphtmlListMarkersInline), "<font size=1>1.</font>\r\n");
  EXPECT_EQ(Html(number, rphtmlListMarkersInline, true),
            "<span style=\"font-size: 8pt; font-family: 'Arial'; color: #000000; width: 12px;\">1.</span>\r\n");
  EXPECT_EQ(Html(unicode, rphtmlListMarkersInline), "<font size=1>&#9658;&#128512;</font>\r\n");
  EXPECT_EQ(Html(wingdings, rphtmlListMarkersInline), "<font size=1>&#9679;&#9658;</font>\r\n");
  EXPECT_EQ(Html(symbol, rphtmlListMarkersInline, true),
            "<span style=\"font-size: 8pt; font-family: 'Arial Unicode MS', 'Lucida Sans Unicode', 'Arial'; color: "
            "#000000; width: 10px;\">&#8226;&alpha;</span>\r\n");
  // A face that differs from text style 0's is named.
  list.Levels()[0]->GetFont().SetName("Courier New");
  EXPECT_EQ(Html(number, rphtmlListMarkersInline), "<font size=1 face=\"Courier New\">1.</font>\r\n");
  // Text that looks like markup stays text.
  list.Levels()[0]->FormatString = "<b>%0:s</b>&";
  Data.UpdateMarkerCountersFrom(0);
  EXPECT_EQ(Html(number, rphtmlListMarkersInline),
            "<font size=1 face=\"Courier New\">&lt;b&gt;1&lt;/b&gt;&amp;</font>\r\n");
}

TEST_F(RPMarkerExportTest, HtmlPicturesImagesAndListItemStyles) {
  TRPListInfo& list = AddList({rplstPicture, rplstImageList, rplstDecimal});
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetSize(3, 2);
  list.Levels()[0]->SetPicture(&picture);
  list.Levels()[1]->ImageList = &Images;
  list.Levels()[1]->ImageIndex = 1;
  list.Levels()[1]->MarkerIndent = 10;
  list.Levels()[1]->LeftIndent = 10;
  TRPMarkerItemInfo& pictureMarker = AddMarker(0, 0);
  TRPMarkerItemInfo& image = AddMarker(0, 1);
  TRPMarkerItemInfo& number = AddMarker(0, 2);
  EXPECT_EQ(Html(pictureMarker, rphtmlListMarkersInline | rphtmlImageSize | rphtmlImageBorder0),
            "<img border=0 width=3 height=2 src=\"images/img1.bmp\">\r\n");
  // Saved once: the second time the same file.
  EXPECT_EQ(Html(pictureMarker, rphtmlListMarkersInline | rphtmlQuotedAttributes),
            "<img src=\"images/img1.bmp\" />\r\n");
  pictureMarker.NoHTMLImageSize = true;
  EXPECT_EQ(Html(pictureMarker, rphtmlListMarkersInline | rphtmlImageSize), "<img src=\"images/img1.bmp\">\r\n");
  EXPECT_EQ(Html(image, rphtmlListMarkersInline, true),
            "<span style=\"width:10px\"><img src=\"images/img2.bmp\"></span>\r\n");
  ASSERT_EQ(Writer.SavedPixels.size(), 2u);
  // The list item's style: the image, and no margin in an indented paragraph.
  TRPHTMLSaveContext context(Writer, Saved);
  context.RPStyle = &Sheet;
  context.Background = clWhite;  // the image saved on white above
  EXPECT_EQ(image.GetHtmlLiStyle(context), " style=\"{ list-style-image: url('images/img2.bmp') }\"");
  EXPECT_EQ(number.GetHtmlLiStyle(context), "");
  Sheet.ParaStyles()[0]->LeftIndent = 5;
  EXPECT_EQ(number.GetHtmlLiStyle(context), " style=\"{ margin-left: 0 }\"");
  EXPECT_EQ(image.GetHtmlLiStyle(context), " style=\"{ list-style-image: url('images/img2.bmp'); margin-left: 0 }\"");
  // The document's hook may give the location and keep the default saving away.
  Writer.HookLocation = "mine.png";
  Writer.HookDefault = false;
  EXPECT_EQ(Html(image, rphtmlListMarkersInline), "<img src=\"mine.png\">\r\n");
}

}  // namespace
