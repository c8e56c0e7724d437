#include "richtext/model/RPBulletItems.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RPPictureTestData.h"
#include "RPTestCanvas.h"
#include "platform/base/Streams.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPStyle.h"

namespace {

constexpr TColor Mask = clFuchsia;

// Two 2 x 2 images: 0 red with a masked bottom-right pixel, 1 black.
std::unique_ptr<TCustomImageList> TwoImages(int32_t tag = 5) {
  TBitmap strip;
  strip.SetPixelFormat(pf24bit);
  strip.SetSize(4, 2);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 4; ++x) strip.SetPixelColor(x, y, x < 2 ? clRed : clBlack);
  strip.SetPixelColor(1, 1, Mask);
  auto list = std::make_unique<TCustomImageList>(nullptr, 2, 2);
  list->AddMasked(strip, Mask);
  list->SetTag(tag);
  return list;
}

class RPBulletItemsTest : public ::testing::Test {
protected:
  RPBulletItemsTest() {
    Sheet.SelColor = clBlue;
    Sheet.InactiveSelColor = clNone;
    Sheet.CurrentItemColor = clBlue;
  }
  TRPStyle Sheet{nullptr};
  std::unique_ptr<TCustomImageList> List = TwoImages();
};

TEST_F(RPBulletItemsTest, RegistryCreatesAndCopiesBullets) {
  auto bullet = CreateItemByStyleNo(rpkindBullet, nullptr);
  ASSERT_EQ(bullet->ItemClass(), &TRPBulletItemInfo::ClassInfo);
  EXPECT_EQ(bullet->StyleNo, rpkindBullet);
  EXPECT_EQ(static_cast<TRPBulletItemInfo&>(*bullet).Spacing, 1);
  auto hotspot = CreateItemByStyleNo(rpkindHotspot, nullptr);
  ASSERT_EQ(hotspot->ItemClass(), &TRPHotspotItemInfo::ClassInfo);
  EXPECT_EQ(hotspot->StyleNo, rpkindHotspot);

  TRPHotspotItemInfo source(nullptr);
  source.ImageList = List.get();
  source.ImageIndex = 1;
  source.HotImageIndex = 0;
  source.NoHTMLImageSize = true;
  source.Spacing = 4;
  auto copy = CreateItemCopy(source, nullptr, false);
  auto* hotCopy = dynamic_cast<TRPHotspotItemInfo*>(copy.get());
  ASSERT_NE(hotCopy, nullptr);
  EXPECT_EQ(hotCopy->ImageList, List.get());
  EXPECT_EQ(hotCopy->ImageIndex, 1);
  EXPECT_EQ(hotCopy->HotImageIndex, 0);
  EXPECT_TRUE(hotCopy->NoHTMLImageSize);
  EXPECT_EQ(hotCopy->Spacing, 4);
}

TEST_F(RPBulletItemsTest, SizesAreTheListsWithSpacing) {
  TRPBulletItemInfo bullet(nullptr);
  EXPECT_EQ(bullet.GetWidth(), 2);  // no list: spacing only
  EXPECT_FALSE(bullet.GetBoolValue(rpibqHasContent));
  bullet.ImageList = List.get();
  bullet.Spacing = 3;
  EXPECT_EQ(bullet.GetImageWidth(nullptr), 2);
  EXPECT_EQ(bullet.GetImageHeight(nullptr), 2);
  EXPECT_EQ(bullet.GetWidth(), 8);
  EXPECT_EQ(bullet.GetHeight(), 8);
  TRPResolution printer;
  printer.DevicePpiX = 600;
  EXPECT_EQ(bullet.GetMinWidth(&printer, nullptr, nullptr), 50);  // MulDiv(8, 600, 96)
  EXPECT_TRUE(bullet.GetBoolValue(rpibqHasContent));
  EXPECT_TRUE(bullet.GetBoolValue(rpibqSelectAsObject));
  EXPECT_FALSE(bullet.GetBoolValue(rpibqResetsFontCache));
  EXPECT_FALSE(bullet.GetBoolValueEx(rpibqxJump, nullptr));
}

TEST_F(RPBulletItemsTest, HotspotIsALinkThatRepaintsWhenItsHotImageDiffers) {
  TRPHotspotItemInfo hotspot(nullptr);
  hotspot.ImageIndex = 1;
  hotspot.HotImageIndex = 1;
  for (TRPItemBoolQueryEx q : {rpibqxJump, rpibqxFocusable, rpibqxJumpCursor})
    EXPECT_TRUE(hotspot.GetBoolValueEx(q, nullptr));
  EXPECT_FALSE(hotspot.GetBoolValueEx(rpibqxHoverRepaint, nullptr));
  hotspot.HotImageIndex = 0;
  EXPECT_TRUE(hotspot.GetBoolValueEx(rpibqxHoverRepaint, nullptr));
  EXPECT_EQ(hotspot.GetImageIndex(false), 1);
  EXPECT_EQ(hotspot.GetImageIndex(true), 0);
  TJumpRecordingData data;
  hotspot.JumpID = 3;
  hotspot.ExecuteJump(&data);
  TRPBulletItemInfo bullet(nullptr);
  bullet.ExecuteJump(&data);
  EXPECT_EQ(data.Jumps, std::vector<int32_t>{3});
}

TEST_F(RPBulletItemsTest, PaintDrawsTheImageForTheState) {
  struct TCase {
    const char* Name;
    uint32_t State;
    TColor InactiveSel;
    std::vector<std::string> Want;
  };
  const TCase cases[] = {
      {"plain", 0, clNone, {"......", "......", "..RR..", "..R...", "......"}},
      {"hover shows the hot image", rpidsHover, clNone, {"......", "......", "..KK..", "..KK..", "......"}},
      {"selected, focused: blended",
       rpidsSelected | rpidsFocused,
       clNone,
       {"......", "......", "..bb..", "..b...", "......"}},
      {"selected, no inactive colour: plain",
       rpidsSelected,
       clNone,
       {"......", "......", "..RR..", "..R...", "......"}},
      {"selected, inactive colour", rpidsSelected, clBlue, {"......", "......", "..bb..", "..b...", "......"}},
      {"current", rpidsCurrent, clNone, {"......", ".BBBB.", ".BRRB.", ".BR.B.", ".BBBB."}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Sheet.InactiveSelColor = c.InactiveSel;
    TRPHotspotItemInfo hotspot(nullptr);
    hotspot.ImageList = List.get();
    hotspot.ImageIndex = 0;
    hotspot.HotImageIndex = 1;
    auto page = WhitePage(6, 5);
    hotspot.Paint(1, 1, *page->Canvas(), c.State, Sheet);
    EXPECT_EQ(Letters(*page), c.Want);
  }
}

TEST_F(RPBulletItemsTest, PaintAndPrintOfABadIndexOrNoListDrawNothing) {
  TRPBulletItemInfo bullet(nullptr);
  auto page = WhitePage(4, 4);
  bullet.Paint(0, 0, *page->Canvas(), 0, Sheet);
  EXPECT_TRUE(bullet.PrintToBitmap(*page));
  bullet.ImageList = List.get();
  bullet.ImageIndex = 9;
  bullet.Paint(0, 0, *page->Canvas(), 0, Sheet);
  EXPECT_TRUE(bullet.PrintToBitmap(*page));
  EXPECT_EQ(Letters(*page), std::vector<std::string>(4, "...."));
}

TEST_F(RPBulletItemsTest, PrintToBitmapDrawsTheImageAtOneAndTwentyFourBits) {
  for (TPixelFormat format : {pf24bit, pf1bit}) {
    SCOPED_TRACE(format == pf1bit ? "1 bit" : "24 bits");
    TRPHotspotItemInfo hotspot(nullptr);
    hotspot.ImageList = List.get();
    hotspot.ImageIndex = 1;
    hotspot.HotImageIndex = 0;  // printing never shows the hot image
    TBitmap bitmap;
    bitmap.SetPixelFormat(format);
    bitmap.SetSize(3, 3);
    bitmap.Canvas()->Brush().SetColor(clWhite);
    bitmap.Canvas()->FillRect(TRect{0, 0, 3, 3});
    EXPECT_TRUE(hotspot.PrintToBitmap(bitmap));
    EXPECT_EQ(Letters(bitmap), (std::vector<std::string>{"KK.", "KK.", "..."}));
  }
}

TEST_F(RPBulletItemsTest, PropertyLinesCountAltAndNoHTMLSize) {
  TRPBulletItemInfo bullet(nullptr);
  EXPECT_EQ(bullet.GetRPFPropertyCount(), 0);
  bullet.Alt = "dot";
  bullet.NoHTMLImageSize = true;
  bullet.Hint = "h";
  TMemoryStream stream;
  bullet.SaveRPFProperties(stream);
  const std::string text(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
  EXPECT_EQ(text, "hint=h\r\nnohtmlsize=1\r\nalt=dot\r\n");
  EXPECT_EQ(bullet.GetRPFPropertyCount(), 3);
  TRPBulletItemInfo back(nullptr);
  back.ReadRPFPropertyLine("nohtmlsize=1");
  back.ReadRPFPropertyLine("alt=dot");
  EXPECT_TRUE(back.NoHTMLImageSize);
  EXPECT_EQ(back.Alt, "dot");
  int32_t value = 0;
  EXPECT_FALSE(back.SetIntProperty(rpipWidth, 3));  // a picture's property
  EXPECT_FALSE(back.SetStrProperty(rpspFileName, "x"));
  EXPECT_TRUE(back.GetIntProperty(rpipSpacing, value));
  EXPECT_EQ(value, 1);
}

TEST_F(RPBulletItemsTest, HeaderExtraRoundTripsThroughTheListTag) {
  TRPHotspotItemInfo hotspot(nullptr);
  hotspot.ImageList = List.get();
  hotspot.ImageIndex = 1;
  hotspot.HotImageIndex = 0;
  AnsiString extra;
  hotspot.GetRPFHeaderExtra(nullptr, extra);
  EXPECT_EQ(extra, "5 1 0");
  TRPBulletItemInfo bullet(nullptr);
  bullet.ImageList = List.get();
  bullet.GetRPFHeaderExtra(nullptr, extra);
  EXPECT_EQ(extra, "5 0");

  TFakeRPFStreaming reader;
  reader.ImageLists[5] = List.get();
  TRPHotspotItemInfo back(nullptr);
  AnsiStringView rest = "5 1 0";
  ASSERT_TRUE(back.ReadRPFHeaderExtra(rest, reader));
  EXPECT_EQ(back.ImageList, List.get());
  EXPECT_EQ(back.ImageIndex, 1);
  EXPECT_EQ(back.HotImageIndex, 0);
}

TEST_F(RPBulletItemsTest, HeaderExtraReadingChecksTheIndex) {
  struct TCase {
    const char* Extra;
    bool ConvertToZero;
    bool WantOk;
    int32_t WantIndex, WantHot;
    bool WantWarning;
  };
  const TCase cases[] = {
      {"5 1", false, true, 1, 1, false},      // no third number: the hot image is the image
      {"5 1\r\n", false, true, 1, 1, false},  // nor before the line end
      {"5 2 0", false, false, 0, 0, true},    // index beyond the list: refused
      {"5 2 0", true, true, 0, 0, true},      // or read as 0
      {"5 0 7", true, true, 0, 0, true},      // the hot index is checked the same way
      {"5 0 7", false, false, 0, 0, true},
      {"9 7 8", false, true, 7, 8, false},  // no list with that tag: nothing to check
      {"5", false, false, 0, 0, false},     // a number missing
      {"5 x", false, false, 0, 0, false},
      {"5 0 x", false, false, 0, 0, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Extra);
    TFakeRPFStreaming reader;
    reader.ImageLists[5] = List.get();
    reader.RPFOptions = c.ConvertToZero ? rpfoConvLargeImageIdxToZero : 0;
    TRPHotspotItemInfo hotspot(nullptr);
    AnsiStringView rest = c.Extra;
    EXPECT_EQ(hotspot.ReadRPFHeaderExtra(rest, reader), c.WantOk);
    EXPECT_EQ(reader.Warnings, c.WantWarning ? rpfwBadImageIndex : 0u);
    if (c.WantOk) {
      EXPECT_EQ(hotspot.ImageIndex, c.WantIndex);
      EXPECT_EQ(hotspot.HotImageIndex, c.WantHot);
    }
  }
  // A reader that supplies no list leaves the bullet without one.
  TFakeRPFStreaming noLists;
  TRPBulletItemInfo bullet(nullptr);
  AnsiStringView rest = "5 9";
  EXPECT_TRUE(bullet.ReadRPFHeaderExtra(rest, noLists));
  EXPECT_EQ(bullet.ImageList, nullptr);
  EXPECT_EQ(bullet.ImageIndex, 9);
}

TEST_F(RPBulletItemsTest, RefusedHeaderExtraLeavesTheItemAsItWas) {
  TFakeRPFStreaming reader;
  reader.ImageLists[5] = List.get();
  TRPHotspotItemInfo hotspot(nullptr);
  hotspot.ImageIndex = 1;
  hotspot.HotImageIndex = 1;
  // Refused at the first index, at the hot index, and at a hot index that is no number.
  for (const char* extra : {"5 2 0", "5 0 7", "5 0 x"}) {
    SCOPED_TRACE(extra);
    AnsiStringView rest = extra;
    EXPECT_FALSE(hotspot.ReadRPFHeaderExtra(rest, reader));
    EXPECT_EQ(hotspot.ImageList, nullptr);
    EXPECT_EQ(hotspot.ImageIndex, 1);
    EXPECT_EQ(hotspot.HotImageIndex, 1);
  }
  AnsiStringView rest = "5 0 1";
  ASSERT_TRUE(hotspot.ReadRPFHeaderExtra(rest, reader));
  EXPECT_EQ(hotspot.ImageList, List.get());
  EXPECT_EQ(hotspot.ImageIndex, 0);
  EXPECT_EQ(hotspot.HotImageIndex, 1);
}

TEST_F(RPBulletItemsTest, NativeFormatLinesRoundTrip) {
  TRPHotspotItemInfo hotspot(nullptr);
  hotspot.ImageList = List.get();
  hotspot.ImageIndex = 1;
  hotspot.HotImageIndex = 0;
  hotspot.Alt = "dot";
  hotspot.Tag = TRPTag::FromNumber(9);
  hotspot.SetPageBreakBefore(true);
  TFakeRPFStreaming writer;
  TMemoryStream stream;
  hotspot.SaveRPF(stream, writer, 0, 3, "star", nullptr, false);
  hotspot.SaveRPF(stream, writer, 0, 3, "star", nullptr, true);  // as the continuation of a line
  const std::string text(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
  EXPECT_EQ(text, "-4 2 3 2 0 9 5 1 0\r\nstar\r\nalt=dot\r\n-4 2 -1 1 0 9 5 1 0\r\nstar\r\nalt=dot\r\n");

  TRPHotspotItemInfo back(nullptr);
  AnsiString name;
  TRPFReadState state = rpfrsReading;
  TRPFLineMode lineMode = rpflmText;
  EXPECT_TRUE(back.ReadRPFLine("star", writer, rpfbmHex, 0, 2, name, lineMode, state));
  EXPECT_EQ(state, rpfrsReading);
  EXPECT_TRUE(back.ReadRPFLine("alt=dot", writer, rpfbmHex, 1, 2, name, lineMode, state));
  EXPECT_EQ(state, rpfrsItemDone);
  EXPECT_EQ(name, "star");
  EXPECT_EQ(back.Alt, "dot");
}

}  // namespace
