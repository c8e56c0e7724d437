#include "richtext/model/RPPictureItems.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RPPictureTestData.h"
#include "RPTestCanvas.h"
#include "platform/base/FileSystem.h"
#include "platform/base/Streams.h"
#include "platform/graphics/JpegImage.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPStyle.h"

namespace {

// An animation that marks where it drew its frame.
class TFakeAnimator : public IRPPictureAnimator {
public:
  explicit TFakeAnimator(int32_t* rebinds = nullptr) : Rebinds(rebinds) {}
  void Draw(TCanvas& canvas, int32_t x, int32_t y) override {
    canvas.Brush().SetColor(clFuchsia);
    canvas.FillRect(Bounds(x, y, 1, 1));
  }
  void Rebind(TRPGraphicItemInfo&) override {
    if (Rebinds) ++*Rebinds;
  }
  int32_t* Rebinds;
};

class RPPictureItemsTest : public ::testing::Test {
protected:
  RPPictureItemsTest() {
    Sheet.SelColor = clBlue;
    Sheet.InactiveSelColor = clLime;
    Sheet.CurrentItemColor = clRed;
  }
  ~RPPictureItemsTest() override { SetRPAnimatorUpdater(nullptr); }
  TRPStyle Sheet{nullptr};
};

TEST_F(RPPictureItemsTest, RegistryCreatesAndCopiesPictures) {
  auto picture = CreateItemByStyleNo(rpkindPicture, nullptr);
  ASSERT_EQ(picture->ItemClass(), &TRPGraphicItemInfo::ClassInfo);
  EXPECT_EQ(picture->StyleNo, rpkindPicture);
  auto hot = CreateItemByStyleNo(rpkindHotPicture, nullptr);
  ASSERT_EQ(hot->ItemClass(), &TRPHotGraphicItemInfo::ClassInfo);
  EXPECT_EQ(hot->StyleNo, rpkindHotPicture);

  TRPHotGraphicItemInfo source(nullptr, Picture({"RG", "BK"}), rpvaAbsMiddle);
  source.ImageCopy = Picture({"KK", "KK"});
  source.Alt = "alt";
  source.ImageFileName = "a.bmp";
  source.ImageWidth = 4;
  source.ImageHeight = 6;
  source.NoHTMLImageSize = true;
  source.Resizable = false;
  source.Interval = 50;  // not copied
  source.Spacing = 3;
  source.MinHeightOnPage = 10;
  auto copy = CreateItemCopy(source, nullptr, false);
  auto* picCopy = dynamic_cast<TRPHotGraphicItemInfo*>(copy.get());
  ASSERT_NE(picCopy, nullptr);
  EXPECT_EQ(picCopy->StyleNo, rpkindHotPicture);
  EXPECT_EQ(picCopy->VAlign, rpvaAbsMiddle);
  EXPECT_EQ(picCopy->Alt, "alt");
  EXPECT_EQ(picCopy->ImageFileName, "a.bmp");
  EXPECT_EQ(picCopy->ImageWidth, 4);
  EXPECT_EQ(picCopy->ImageHeight, 6);
  EXPECT_TRUE(picCopy->NoHTMLImageSize);
  EXPECT_FALSE(picCopy->Resizable);
  EXPECT_EQ(picCopy->Interval, 0);
  EXPECT_EQ(picCopy->Spacing, 3);
  EXPECT_EQ(picCopy->MinHeightOnPage, 10);
  ASSERT_NE(picCopy->Image, nullptr);
  ASSERT_NE(picCopy->Image.get(), source.Image.get());  // an own copy
  EXPECT_EQ(picCopy->Image->ClassType(), &TBitmap::ClassInfo);
  EXPECT_EQ(Pixels(static_cast<const TBitmap&>(*picCopy->Image)), Pixels(static_cast<const TBitmap&>(*source.Image)));
  ASSERT_NE(picCopy->ImageCopy, nullptr);
  EXPECT_EQ(static_cast<const TBitmap&>(*picCopy->ImageCopy).PixelColor(0, 0), clBlack);

  // Copying from itself keeps the images.
  picCopy->CopyPropertiesFrom(*picCopy);
  ASSERT_NE(picCopy->Image, nullptr);
  EXPECT_EQ(picCopy->Image->Width(), 2);
}

struct TSizeCase {
  const char* Name;
  int32_t ImageWidth, ImageHeight, Spacing;
  int32_t WantImageWidth, WantImageHeight, WantWidth, WantHeight, WantMinWidth300Dpi;
};

TEST_F(RPPictureItemsTest, SizesFollowStretchingAndSpacing) {
  // The image is 30 x 20; the minimal width at 300 device pixels per inch is
  // MulDiv(width, 300, 96).
  const TSizeCase cases[] = {
      {"own size", 0, 0, 1, 30, 20, 32, 22, 100},
      {"negative means own", -5, -1, 0, 30, 20, 30, 20, 94},
      {"stretched", 60, 10, 2, 60, 10, 64, 14, 200},
      {"stretched in width only", 48, 0, 0, 48, 20, 48, 20, 150},
  };
  TRPResolution printer;
  printer.DevicePpiX = printer.DevicePpiY = 300;
  for (const TSizeCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TRPGraphicItemInfo item(nullptr, Picture(std::vector<std::string>(20, std::string(30, 'R'))), rpvaBaseline);
    item.ImageWidth = c.ImageWidth;
    item.ImageHeight = c.ImageHeight;
    item.Spacing = c.Spacing;
    EXPECT_EQ(item.GetImageWidth(nullptr), c.WantImageWidth);
    EXPECT_EQ(item.GetImageHeight(nullptr), c.WantImageHeight);
    EXPECT_EQ(item.GetWidth(), c.WantWidth);
    EXPECT_EQ(item.GetHeight(), c.WantHeight);
    EXPECT_EQ(item.GetMinWidth(nullptr, nullptr, nullptr), c.WantWidth);
    EXPECT_EQ(item.GetMinWidth(&printer, nullptr, nullptr), c.WantMinWidth300Dpi);
    EXPECT_EQ(item.GetDescent(), c.Spacing);
  }
}

TEST_F(RPPictureItemsTest, PictureWithoutOrWithEmptyImageMeasuresItsSpacing) {
  TRPGraphicItemInfo none(nullptr);
  EXPECT_EQ(none.GetWidth(), 2);
  EXPECT_EQ(none.GetHeight(), 2);
  EXPECT_FALSE(none.GetBoolValue(rpibqHasContent));
  EXPECT_FALSE(none.GetBoolValue(rpibqResizable));
  TRPGraphicItemInfo empty(nullptr, std::make_unique<TBitmap>(), rpvaBaseline);
  EXPECT_EQ(empty.GetImageWidth(nullptr), 0);
  EXPECT_EQ(empty.GetImageHeight(nullptr), 0);
  // Nothing drawn, printing answers true and leaves the bitmap alone.
  auto page = WhitePage(4, 4);
  empty.Spacing = 0;
  empty.Paint(0, 0, *page->Canvas(), 0, Sheet);
  none.Paint(0, 0, *page->Canvas(), 0, Sheet);
  EXPECT_TRUE(empty.PrintToBitmap(*page, false, -1, 0));
  EXPECT_TRUE(none.PrintToBitmap(*page, false, -1, 0));
  EXPECT_EQ(Letters(*page), std::vector<std::string>(4, "...."));
}

TEST_F(RPPictureItemsTest, BooleanQueries) {
  TRPGraphicItemInfo item(nullptr, Picture({"R"}), rpvaBaseline);
  EXPECT_TRUE(item.GetBoolValue(rpibqHasContent));
  EXPECT_TRUE(item.GetBoolValue(rpibqSelectAsObject));
  EXPECT_TRUE(item.GetBoolValue(rpibqResetsFontCache));
  EXPECT_TRUE(item.GetBoolValue(rpibqResizable));
  EXPECT_FALSE(item.GetBoolValue(rpibqLive));
  EXPECT_FALSE(item.GetBoolValue(rpibqWholeLine));
  EXPECT_TRUE(item.GetBoolValueEx(rpibqxPrintAsBitmap, nullptr));
  EXPECT_FALSE(item.GetBoolValueEx(rpibqxJump, nullptr));
  item.Resizable = false;
  EXPECT_FALSE(item.GetBoolValue(rpibqResizable));
  item.Animator = std::make_unique<TFakeAnimator>();
  EXPECT_TRUE(item.GetBoolValue(rpibqLive));

  TRPHotGraphicItemInfo hot(nullptr, Picture({"R"}), rpvaBaseline);
  for (TRPItemBoolQueryEx q : {rpibqxJump, rpibqxFocusable, rpibqxJumpCursor})
    EXPECT_TRUE(hot.GetBoolValueEx(q, nullptr));
  EXPECT_FALSE(hot.GetBoolValueEx(rpibqxHoverRepaint, nullptr));
  TJumpRecordingData data;
  hot.JumpID = 7;
  hot.ExecuteJump(&data);
  item.ExecuteJump(&data);  // a plain picture is no link
  EXPECT_EQ(data.Jumps, std::vector<int32_t>{7});
}

TEST_F(RPPictureItemsTest, PropertiesRoundTripThroughPropertyLines) {
  auto bitmap = Picture({"RG"});
  bitmap->SetTransparent(true);
  bitmap->SetTransparentMode(tmFixed);
  bitmap->SetTransparentColor(clLime);
  TRPGraphicItemInfo item(nullptr, std::move(bitmap), rpvaBaseline);
  item.Hint = "tip";
  item.Resizable = false;
  item.ImageWidth = 40;
  item.ImageHeight = 30;
  item.MinHeightOnPage = 12;
  item.NoHTMLImageSize = true;
  item.Interval = 100;
  item.ImageFileName = "pics/a.png";
  item.Alt = "a picture";
  item.Spacing = 0;
  TMemoryStream stream;
  item.SaveRPFProperties(stream);
  const std::string text(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
  EXPECT_EQ(text,
            "hint=tip\r\nspacing=0\r\nresizable=0\r\nwidth=40\r\nheight=30\r\nminheightonpage=12\r\nnohtmlsize=1\r\n"
            "ainterval=100\r\ntransparent=1\r\ntmode=1\r\ntcolor=65280\r\nfilename=pics/a.png\r\nalt=a picture\r\n");
  EXPECT_EQ(item.GetRPFPropertyCount(), 13);

  TRPGraphicItemInfo back(nullptr, Picture({"RG"}), rpvaBaseline);
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    back.ReadRPFPropertyLine(AnsiStringView(text).substr(start, end - start));
  EXPECT_EQ(back.Hint, "tip");
  EXPECT_EQ(back.Spacing, 0);
  EXPECT_FALSE(back.Resizable);
  EXPECT_EQ(back.ImageWidth, 40);
  EXPECT_EQ(back.ImageHeight, 30);
  EXPECT_EQ(back.MinHeightOnPage, 12);
  EXPECT_TRUE(back.NoHTMLImageSize);
  EXPECT_EQ(back.Interval, 100);
  EXPECT_EQ(back.ImageFileName, "pics/a.png");
  EXPECT_EQ(back.Alt, "a picture");
  const auto& backBitmap = static_cast<const TBitmap&>(*back.Image);
  EXPECT_TRUE(backBitmap.Transparent());
  EXPECT_EQ(backBitmap.TransparentMode(), tmFixed);
  EXPECT_EQ(backBitmap.TransparentColor(), clLime);

  // A plain picture writes only "resizable" when it is not; the count follows.
  TRPGraphicItemInfo plain(nullptr, Picture({"R"}), rpvaBaseline);
  EXPECT_EQ(plain.GetRPFPropertyCount(), 0);
}

TEST_F(RPPictureItemsTest, TransparencyPropertiesNeedABitmap) {
  TRPGraphicItemInfo item(nullptr, std::make_unique<TUndrawableGraphic>(), rpvaBaseline);
  int32_t value = -1;
  for (int32_t code : {rpipTransparent, rpipTransparentMode, rpipTransparentColor}) {
    EXPECT_FALSE(item.SetIntProperty(code, 1));
    EXPECT_FALSE(item.GetIntProperty(code, value));
  }
  EXPECT_FALSE(item.SetIntProperty(rpipVisible, 1));  // a control's property
  EXPECT_TRUE(item.SetIntProperty(rpipVShift, 5));    // inherited
  EXPECT_EQ(item.VShift, 5);
  EXPECT_TRUE(item.SetStrProperty(rpspHint, "h"));
  EXPECT_EQ(item.Hint, "h");
}

// Screen drawing: image pixels inside Spacing, then the current-item frame (red) and the
// selection frame (blue focused, lime not focused).
TEST_F(RPPictureItemsTest, PaintDrawsTheImageAndItsFrames) {
  struct TCase {
    const char* Name;
    uint32_t State;
    std::vector<std::string> Want;
  };
  const TCase cases[] = {
      {"plain", 0, {"........", "........", "..RG....", "..BK....", "........", "........"}},
      {"selected, focused",
       rpidsSelected | rpidsFocused,
       {"........", ".BBBB...", ".BRGB...", ".BBKB...", ".BBBB...", "........"}},
      {"selected", rpidsSelected, {"........", ".GGGG...", ".GRGG...", ".GBKG...", ".GGGG...", "........"}},
      {"current", rpidsCurrent, {"RRRRRR..", "R....R..", "R.RG.R..", "R.BK.R..", "R....R..", "RRRRRR.."}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TRPGraphicItemInfo item(nullptr, Picture({"RG", "BK"}), rpvaBaseline);
    auto page = WhitePage(8, 6);
    item.Paint(1, 1, *page->Canvas(), c.State, Sheet);
    EXPECT_EQ(Letters(*page), c.Want);
  }
}

TEST_F(RPPictureItemsTest, PaintStretchesAndHonoursTransparency) {
  auto bitmap = Picture({"RW", "WB"});
  bitmap->SetTransparent(true);
  bitmap->SetTransparentMode(tmFixed);
  bitmap->SetTransparentColor(clWhite);
  TRPGraphicItemInfo item(nullptr, std::move(bitmap), rpvaBaseline);
  item.Spacing = 0;
  item.ImageWidth = 4;
  item.ImageHeight = 2;
  auto page = WhitePage(5, 3);
  page->Canvas()->Brush().SetColor(clYellow);
  page->Canvas()->FillRect(TRect{0, 0, 5, 3});
  item.Paint(0, 0, *page->Canvas(), 0, Sheet);
  EXPECT_EQ(Letters(*page), (std::vector<std::string>{"RRYYY", "YYBBY", "YYYYY"}));
}

TEST_F(RPPictureItemsTest, PaintBlitsABitmapCopyWithoutTransparency) {
  auto bitmap = Picture({"RW"});
  bitmap->SetTransparent(true);
  TRPGraphicItemInfo item(nullptr, std::move(bitmap), rpvaBaseline);
  item.Spacing = 0;
  auto copy = Picture({"KW"});
  copy->SetTransparent(true);  // ignored: the copy is blitted
  item.ImageCopy = std::move(copy);
  auto page = WhitePage(4, 2);
  page->Canvas()->Brush().SetColor(clYellow);
  page->Canvas()->FillRect(TRect{0, 0, 4, 2});
  item.Paint(0, 0, *page->Canvas(), 0, Sheet);
  item.ImageWidth = 4;  // stretched: the copy fills 4 x 1
  item.Paint(0, 1, *page->Canvas(), 0, Sheet);
  EXPECT_EQ(Letters(*page), (std::vector<std::string>{"K.YY", "KK.."}));
}

TEST_F(RPPictureItemsTest, PaintSkipsAGraphicThatRaisesAndDrawsTheAnimatorFrame) {
  TRPGraphicItemInfo item(nullptr, std::make_unique<TUndrawableGraphic>(), rpvaBaseline);
  auto page = WhitePage(6, 4);
  EXPECT_NO_THROW(item.Paint(0, 0, *page->Canvas(), rpidsSelected | rpidsFocused, Sheet));
  // The frame still marks the selection around the empty place (3 x 2 + spacing).
  EXPECT_EQ(Letters(*page), (std::vector<std::string>{"BBBBB.", "B...B.", "B...B.", "BBBBB."}));

  TRPGraphicItemInfo animated(nullptr, Picture({"RR"}), rpvaBaseline);
  animated.Animator = std::make_unique<TFakeAnimator>();
  auto animatedPage = WhitePage(4, 3);
  animated.Paint(0, 0, *animatedPage->Canvas(), 0, Sheet);
  EXPECT_EQ(Letters(*animatedPage), (std::vector<std::string>{"....", ".F..", "...."}));
}

TEST_F(RPPictureItemsTest, AnimatorFollowsTheUpdaterAndMovesToACopy) {
  TJumpRecordingData data;
  TRPGraphicItemInfo item(nullptr, Picture({"R"}), rpvaBaseline);
  item.Animator = std::make_unique<TFakeAnimator>();
  item.UpdateAnimator(nullptr);  // no document: kept
  EXPECT_NE(item.Animator, nullptr);
  item.UpdateAnimator(&data);  // nothing animates documents: freed
  EXPECT_EQ(item.Animator, nullptr);

  int32_t updates = 0;
  SetRPAnimatorUpdater([&](TRPGraphicItemInfo& picture, TCustomRPData&) {
    ++updates;
    if (!picture.Animator) picture.Animator = std::make_unique<TFakeAnimator>();
  });
  item.Inserted(&data, 0);  // inserting updates the animator
  EXPECT_EQ(updates, 1);
  ASSERT_NE(item.Animator, nullptr);

  int32_t rebinds = 0;
  item.Animator = std::make_unique<TFakeAnimator>(&rebinds);
  TRPGraphicItemInfo copy(nullptr, Picture({"R"}), rpvaBaseline);
  copy.TakeOverAnimator(item, &data);
  EXPECT_EQ(item.Animator, nullptr);
  EXPECT_NE(copy.Animator, nullptr);
  EXPECT_EQ(rebinds, 1);
  EXPECT_EQ(updates, 2);
  copy.ImageCopy = Picture({"K"});
  copy.MovingToUndoList(0, nullptr);
  EXPECT_EQ(copy.Animator, nullptr);
  EXPECT_EQ(copy.ImageCopy, nullptr);
}

TEST_F(RPPictureItemsTest, PaletteCopiesAreMadeOfTheImageClass) {
  TLogPalette gray;
  gray.palPalEntry = {{0, 0, 0, 0}, {128, 128, 128, 0}, {255, 255, 255, 0}};
  TRPGraphicItemInfo item(nullptr, Picture({"RW"}), rpvaBaseline);
  item.UpdatePaletteInfo(rppaCreateCopies, false, nullptr, &gray);
  ASSERT_NE(item.ImageCopy, nullptr);
  EXPECT_EQ(item.ImageCopy->ClassType(), &TBitmap::ClassInfo);
  EXPECT_NE(item.ImageCopy->Palette(), nullptr);
  const TGraphic* first = item.ImageCopy.get();
  item.UpdatePaletteInfo(rppaCreateCopies, false, nullptr, &gray);  // kept
  EXPECT_EQ(item.ImageCopy.get(), first);
  item.UpdatePaletteInfo(rppaCreateCopies, true, nullptr, &gray);  // renewed
  EXPECT_NE(item.ImageCopy, nullptr);
  item.UpdatePaletteInfo(rppaCreateCopies, false, nullptr, nullptr);  // no palette: no copy
  EXPECT_EQ(item.ImageCopy, nullptr);
  item.UpdatePaletteInfo(rppaAssignPalette, false, nullptr, &gray);
  EXPECT_EQ(item.ImageCopy, nullptr);
  EXPECT_NE(item.Image->Palette(), nullptr);

  auto jpeg = std::make_unique<TJPEGImage>();
  TFileStream file(QF_TEST_DATA_DIR "/fuzz/jpeg_image/gray.jpg", fmOpenRead);
  jpeg->LoadFromStream(file);
  TRPGraphicItemInfo photo(nullptr, std::move(jpeg), rpvaBaseline);
  photo.UpdatePaletteInfo(rppaCreateCopiesEx, false, nullptr, &gray);
  ASSERT_NE(photo.ImageCopy, nullptr);
  EXPECT_EQ(photo.ImageCopy->ClassType(), &TBitmap::ClassInfo);
  EXPECT_EQ(photo.ImageCopy->Width(), photo.Image->Width());
  photo.UpdatePaletteInfo(rppaCreateCopies, true, nullptr, &gray);
  ASSERT_NE(photo.ImageCopy, nullptr);
  EXPECT_EQ(photo.ImageCopy->ClassType(), &TJPEGImage::ClassInfo);
}

// Printing through the page painter's bitmap, at 24 and at 1 bit per pixel.
TEST_F(RPPictureItemsTest, PrintToBitmapDrawsTheWholePictureOrOnePart) {
  for (TPixelFormat format : {pf24bit, pf1bit}) {
    SCOPED_TRACE(format == pf1bit ? "1 bit" : "24 bits");
    TRPGraphicItemInfo item(nullptr, Picture({"KW", "WK", "KK", "WW", "KW", "WK"}), rpvaBaseline);
    TBitmap whole;
    whole.SetPixelFormat(format);
    whole.SetSize(2, 6);
    EXPECT_TRUE(item.PrintToBitmap(whole, false, -1, 0));
    EXPECT_EQ(Letters(whole), (std::vector<std::string>{"K.", ".K", "KK", "..", "K.", ".K"}));
    TBitmap part;
    part.SetPixelFormat(format);
    part.SetSize(2, 2);
    EXPECT_TRUE(item.PrintToBitmap(part, false, 1, 3));  // rows 3 and 4
    EXPECT_EQ(Letters(part), (std::vector<std::string>{"..", "K."}));
  }
}

TEST_F(RPPictureItemsTest, PrintToBitmapOfAPartShowsItsOwnRowsUnsqueezed) {
  // A picture "stretched" to its own size may print in parts: each part shows its own
  // rows at full height, never the whole picture squeezed into the part's bitmap.
  TRPGraphicItemInfo item(nullptr, Picture({"KW", "WK", "KK", "WW"}), rpvaBaseline);
  item.ImageHeight = 4;
  ASSERT_TRUE(item.IsStretched());
  TBitmap first;
  first.SetPixelFormat(pf24bit);
  first.SetSize(2, 2);
  EXPECT_TRUE(item.PrintToBitmap(first, false, 0, 0));
  EXPECT_EQ(Letters(first), (std::vector<std::string>{"K.", ".K"}));
  // Stretched in width only: drawn at its own width (the painter stretches the bitmap),
  // the part's rows from its top.
  item.ImageHeight = 0;
  item.ImageWidth = 4;
  TBitmap second;
  second.SetPixelFormat(pf24bit);
  second.SetSize(4, 2);
  EXPECT_TRUE(item.PrintToBitmap(second, false, 1, 2));
  EXPECT_EQ(Letters(second), (std::vector<std::string>{"KK", ".."}));
}

TEST_F(RPPictureItemsTest, PrintToBitmapOfAStretchedPictureDrawsItAtItsOwnSize) {
  auto bitmap = Picture({"KW", "WK"});
  bitmap->SetTransparent(true);
  bitmap->SetTransparentMode(tmFixed);
  bitmap->SetTransparentColor(clWhite);
  TRPGraphicItemInfo item(nullptr, std::move(bitmap), rpvaBaseline);
  item.ImageWidth = 6;
  item.ImageHeight = 4;
  // The painter's bitmap has the stretched size and shows what lies below the picture.
  auto page = Picture({"YYYGGG", "YYYGGG", "BBBRRR", "BBBRRR"});
  EXPECT_TRUE(item.PrintToBitmap(*page, false, -1, 0));
  // Resized to the picture's own size, the background squeezed with it.
  EXPECT_EQ(Letters(*page), (std::vector<std::string>{"KG", "BK"}));

  TRPGraphicItemInfo opaque(nullptr, Picture({"KW", "WK"}), rpvaBaseline);
  opaque.ImageWidth = 6;
  opaque.ImageHeight = 4;
  auto other = Picture({"YYYGGG", "YYYGGG", "BBBRRR", "BBBRRR"});
  EXPECT_TRUE(opaque.PrintToBitmap(*other, false, -1, 0));
  EXPECT_EQ(Letters(*other), (std::vector<std::string>{"K.", ".K"}));

  // A preview with a palette copy stretches the copy into the bitmap instead.
  opaque.ImageCopy = Picture({"RB"});
  auto preview = Picture({"YYYYYY", "YYYYYY", "YYYYYY", "YYYYYY"});
  EXPECT_TRUE(opaque.PrintToBitmap(*preview, true, -1, 0));
  EXPECT_EQ(Letters(*preview), (std::vector<std::string>(4, "RRRBBB")));
}

TEST_F(RPPictureItemsTest, PrintsInPartsOnlyWithMinHeightAndNoVerticalStretch) {
  struct TCase {
    const char* Name;
    int32_t MinHeightOnPage, ImageHeight;
    bool Want;
  };
  const TCase cases[] = {
      {"no minimum height", 0, 0, false},
      {"minimum height", 100, 0, true},
      {"stretched to its own height", 100, 400, true},
      {"stretched vertically", 100, 300, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TRPGraphicItemInfo item(nullptr, Picture(std::vector<std::string>(400, "K")), rpvaBaseline);
    item.MinHeightOnPage = c.MinHeightOnPage;
    item.ImageHeight = c.ImageHeight;
    EXPECT_EQ(item.PrintsInParts(), c.Want);
  }
}

}  // namespace
