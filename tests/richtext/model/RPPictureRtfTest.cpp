#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "RPItemOutput.h"
#include "RPPictureTestData.h"
#include "platform/base/FileSystem.h"
#include "platform/base/Streams.h"
#include "platform/graphics/JpegImage.h"
#include "platform/graphics/Metafile.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPPictureItems.h"

namespace {

// The 40-byte information header of a 24-bit bitmap file, in hex: its size, width,
// height, one plane, 24 bits, no compression, image bytes, then four zero fields.
std::string InfoHeaderHex(int32_t width, int32_t height, int32_t imageBytes) {
  auto le32 = [](int32_t v) {
    char out[9];
    std::snprintf(out, sizeof out, "%02X%02X%02X%02X", v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF, (v >> 24) & 0xFF);
    return std::string(out);
  };
  return le32(40) + le32(width) + le32(height) + "0100" + "1800" + le32(0) + le32(imageBytes) + le32(0) + le32(0) +
         le32(0) + le32(0);
}

// The bytes of an RTF picture's hex digits from position from up to its closing brace.
std::string HexBytes(const std::string& rtf, size_t from) {
  std::string bytes;
  for (size_t i = from; i + 1 < rtf.size() && rtf[i] != '}'; i += 2)
    bytes += static_cast<char>(std::stoi(rtf.substr(i, 2), nullptr, 16));
  return bytes;
}

// The metafile of these bytes played onto a 24-bit bitmap of width x height filled with
// background.
std::unique_ptr<TBitmap> PlayedMetafile(const std::string& bytes, int32_t width, int32_t height, TColor background,
                                        bool enhanced) {
  TMetafile metafile;
  metafile.LoadFromBytes({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
  EXPECT_EQ(metafile.Enhanced(), enhanced);
  auto played = std::make_unique<TBitmap>();
  played->SetPixelFormat(pf24bit);
  played->SetSize(width, height);
  played->Canvas()->Brush().SetColor(background);
  played->Canvas()->FillRect(Rect(0, 0, width, height));
  metafile.Draw(*played->Canvas(), Rect(0, 0, width, height));
  return played;
}

class RPPictureRtfTest : public ::testing::Test {
protected:
  ~RPPictureRtfTest() override { SetRPPngGraphicClass(FStartupPng); }

private:
  const TGraphicClass FStartupPng = GetRPPngGraphicClass();
};

TEST_F(RPPictureRtfTest, BitmapIsWrittenAsDeviceIndependentBitmapWithoutFileHeader) {
  TRPGraphicItemInfo item(nullptr, Picture({"RB"}), rpvaBaseline);
  // One row of 2 pixels: 6 bytes padded to 8; blue-green-red order.
  const std::string pixels = InfoHeaderHex(2, 1, 8) + "0000FF" + "FF0000" + "0000";
  EXPECT_EQ(RtfOf(item, 0), "{\\pict\\dibitmap0\\wbmwidthbytes8\\picw2\\pich1\\picwgoal30\\pichgoal15 " + pixels + "}");
  item.ImageWidth = 3;   // 150 percent
  item.ImageHeight = 5;  // 500 percent
  EXPECT_EQ(RtfOf(item, 0),
            "{\\pict\\picscalex150\\picscaley500\\dibitmap0\\wbmwidthbytes8\\picw2\\pich1"
            "\\picwgoal30\\pichgoal15 " +
                pixels + "}");
  TRPGraphicItemInfo empty(nullptr);
  EXPECT_EQ(RtfOf(empty, 0), "");
}

TEST_F(RPPictureRtfTest, ScaleRoundsHalvesToEven) {
  // 2 pixels shown as 1: 50; 8 shown as 1: 12.5 -> 12; 8 shown as 3: 37.5 -> 38.
  struct TCase {
    int32_t Natural, Stretched;
    const char* Want;
  };
  for (const TCase& c : {TCase{2, 1, "\\picscalex50"}, TCase{8, 1, "\\picscalex12\\"}, TCase{8, 3, "\\picscalex38"}}) {
    SCOPED_TRACE(c.Want);
    TRPGraphicItemInfo item(nullptr, Picture({std::string(static_cast<size_t>(c.Natural), 'K')}), rpvaBaseline);
    item.ImageWidth = c.Stretched;
    EXPECT_NE(RtfOf(item, 0).find(c.Want), std::string::npos);
  }
}

TEST_F(RPPictureRtfTest, JpegKeepsItsOwnFormatOnlyWhenAsked) {
  TFileStream file(QF_TEST_DATA_DIR "/fuzz/jpeg_image/gray.jpg", fmOpenRead);
  std::vector<uint8_t> bytes(static_cast<size_t>(file.Size()));
  file.ReadBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  file.SetPosition(0);
  auto jpeg = std::make_unique<TJPEGImage>();
  jpeg->LoadFromStream(file);
  const int32_t width = jpeg->Width(), height = jpeg->Height();
  TRPGraphicItemInfo item(nullptr, std::move(jpeg), rpvaBaseline);
  std::string hex;
  for (uint8_t b : bytes) {
    char two[3];
    std::snprintf(two, sizeof two, "%02X", b);
    hex += two;
  }
  EXPECT_EQ(RtfOf(item, rprtfSaveJpegAsJpeg),
            "{\\pict\\jpegblip\\picw" + std::to_string(width) + "\\pich" + std::to_string(height) + " " + hex + "}");
  // Otherwise, with bitmaps the default, as the bitmap it decodes to.
  const AnsiString asBitmap = RtfOf(item, rprtfSaveBitmapDefault);
  EXPECT_EQ(asBitmap.rfind("{\\pict\\dibitmap0\\wbmwidthbytes", 0), 0u);
  EXPECT_NE(asBitmap.find("\\picw" + std::to_string(width) + "\\pich" + std::to_string(height)), std::string::npos);
  // Else drawn into a new metafile: a Windows one with the sizes in pixels, or an
  // enhanced one with them in 0.01 mm.
  EXPECT_EQ(RtfOf(item, 0).rfind(
                "{\\pict\\wmetafile1\\picw" + std::to_string(width) + "\\pich" + std::to_string(height) + " ", 0),
            0u);
  EXPECT_EQ(RtfOf(item, rprtfSaveEMFDefault).rfind("{\\pict\\emfblip\\picw", 0), 0u);
}

TEST_F(RPPictureRtfTest, PngClassIsWrittenInItsOwnFormat) {
  TRPGraphicItemInfo item(nullptr, std::make_unique<TUndrawableGraphic>(), rpvaBaseline);
  // Not the PNG class: it cannot become a bitmap, so it is drawn (here: not at all) on
  // white, 3 x 2 pixels.
  const std::string whiteRow = "FFFFFFFFFFFFFFFFFF000000";
  EXPECT_EQ(RtfOf(item, rprtfSaveBitmapDefault),
            "{\\pict\\dibitmap0\\wbmwidthbytes12\\picw3\\pich2\\picwgoal45\\pichgoal30 " + InfoHeaderHex(3, 2, 24) +
                whiteRow + whiteRow + "}");
  SetRPPngGraphicClass(&TUndrawableGraphic::ClassInfo);
  EXPECT_EQ(RtfOf(item, 0), "{\\pict\\pngblip\\picw3\\pich2 01AB}");
}

TEST_F(RPPictureRtfTest, BytesPerLineAreTheStrideEvenForOneRow) {
  // The scan-line width in bytes, not the width in pixels, also for a single row.
  TRPGraphicItemInfo item(nullptr, Picture({"KKK"}), rpvaBaseline);
  EXPECT_NE(RtfOf(item, 0).find("\\wbmwidthbytes12\\"), std::string::npos);
}

// A strip of a red pixel and a masked one (white below it).
void AddRedStrip(TCustomImageList& list) {
  TBitmap strip;
  strip.SetPixelFormat(pf24bit);
  strip.SetSize(2, 1);
  strip.SetPixelColor(0, 0, clRed);
  strip.SetPixelColor(1, 0, clFuchsia);
  list.AddMasked(strip, clFuchsia);
}

TEST_F(RPPictureRtfTest, BulletWritesItsImageOnWhiteWhenBitmapsAreTheDefault) {
  TCustomImageList list(nullptr, 2, 1);
  AddRedStrip(list);
  TRPBulletItemInfo bullet(nullptr);
  EXPECT_EQ(RtfOf(bullet, rprtfSaveBitmapDefault), "");
  bullet.ImageList = &list;
  EXPECT_EQ(RtfOf(bullet, rprtfSaveBitmapDefault),
            "{\\pict\\dibitmap0\\wbmwidthbytes8\\picw2\\pich1\\picwgoal30\\pichgoal15 " + InfoHeaderHex(2, 1, 8) +
                "0000FFFFFFFF0000}");
  bullet.ImageIndex = 1;
  EXPECT_EQ(RtfOf(bullet, rprtfSaveBitmapDefault), "");
}

// Otherwise (whatever the other picture options say) a bullet or hotspot is its image
// drawn into a Windows metafile of the list's image size, its sizes in pixels and its
// records without the placeable header; played back, it shows the image on white.
TEST_F(RPPictureRtfTest, BulletIsOtherwiseItsImageDrawnIntoAWindowsMetafile) {
  TCustomImageList list(nullptr, 2, 1);
  AddRedStrip(list);
  TRPBulletItemInfo bullet(nullptr);
  TRPHotspotItemInfo hotspot(nullptr);
  const char head[] = "{\\pict\\wmetafile1\\picw2\\pich1 ";
  for (TRPBulletItemInfo* item : std::initializer_list<TRPBulletItemInfo*>{&bullet, &hotspot}) {
    item->ImageList = &list;
    for (uint32_t options : {0u, rprtfSaveEMFDefault, rprtfSaveEMFAsWMF | rprtfSaveJpegAsJpeg}) {
      SCOPED_TRACE(::testing::Message() << item->ItemClass()->ClassName << " options " << options);
      const std::string rtf = RtfOf(*item, options);
      ASSERT_EQ(rtf.rfind(head, 0), 0u) << rtf.substr(0, 60);
      ASSERT_EQ(rtf.back(), '}');
      // A metafile header comes first: in memory, 9 words, version 3.
      EXPECT_EQ(rtf.substr(sizeof head - 1, 12), "010009000003");
      const std::unique_ptr<TBitmap> played = PlayedMetafile(HexBytes(rtf, sizeof head - 1), 2, 1, clBlack, false);
      EXPECT_EQ(played->PixelColor(0, 0), clRed);
      EXPECT_EQ(played->PixelColor(1, 0), clWhite);
    }
  }
}

}  // namespace

namespace {

// A graphic of no class the writer knows, drawn as a frame, a disc and a word.
class TSketchGraphic : public TUndrawableGraphic {
public:
  int32_t Width() const override { return 60; }
  int32_t Height() const override { return 30; }
  void Draw(TCanvas& canvas, const TRect& rect) const override {
    canvas.Brush().SetColor(clYellow);
    canvas.Rectangle(rect.Left, rect.Top, rect.Left + 30, rect.Top + 20);
    canvas.Brush().SetColor(clBlue);
    canvas.Ellipse(rect.Left + 35, rect.Top + 5, rect.Left + 55, rect.Top + 25);
    canvas.Brush().SetStyle(bsClear);
    canvas.TextOut(rect.Left + 4, rect.Top + 2, "Hi");
  }
};

}  // namespace

// Drawn into a new metafile, its calls are the metafile's records: the word is text in
// it (8-bit in a Windows metafile, UTF-16 in an enhanced one), and played back the
// metafile shows what the graphic draws.
TEST_F(RPPictureRtfTest, OtherGraphicsAreDrawnIntoAMetafileOfTheirCalls) {
  const TSketchGraphic sketch;
  TRPGraphicItemInfo item(nullptr, std::make_unique<TSketchGraphic>(), rpvaBaseline);
  TBitmap expected;
  expected.SetPixelFormat(pf24bit);
  expected.SetSize(60, 30);
  expected.Canvas()->Brush().SetColor(clWhite);
  expected.Canvas()->FillRect(Rect(0, 0, 60, 30));
  expected.Canvas()->Draw(0, 0, &sketch);
  for (const auto& [options, head, word] :
       {std::tuple{0u, "{\\pict\\wmetafile1\\picw60\\pich30 ", std::string("Hi")},
        std::tuple{rprtfSaveEMFDefault, "{\\pict\\emfblip\\picw1588\\pich794 ", std::string("H\0i\0", 4)}}) {
    SCOPED_TRACE(head);
    const std::string rtf = RtfOf(item, options);
    ASSERT_EQ(rtf.rfind(head, 0), 0u) << rtf.substr(0, 60);
    const std::string bytes = HexBytes(rtf, std::string(head).size());
    EXPECT_NE(bytes.find(word), std::string::npos);
    const std::unique_ptr<TBitmap> played = PlayedMetafile(bytes, 60, 30, clWhite, options == rprtfSaveEMFDefault);
    int differing = 0;
    for (int32_t y = 0; y < 30; ++y)
      for (int32_t x = 0; x < 60; ++x) differing += played->PixelColor(x, y) != expected.PixelColor(x, y);
    EXPECT_LE(differing, 30) << "of 1800 pixels";
  }
}
