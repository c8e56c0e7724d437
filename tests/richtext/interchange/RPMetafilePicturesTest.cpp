// Metafile and icon pictures in documents: RTF in the shapes word processors write
// (\wmetafile8 with goal sizes, \emfblip inside \shppict) imported at their size and
// exported and imported again with the same metafile bytes; the native format and the
// HTML export of a document holding a Windows metafile, an enhanced one and an icon; text
// in the Symbol font drawn as its symbols in the HTML export's pictures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/base/BesideTestProgram.h"
#include "platform/base/LittleEndian.h"
#include "platform/base/Streams.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/ImageList.h"
#include "platform/graphics/JpegImage.h"
#include "platform/graphics/Metafile.h"
#include "platform/graphics/MetafileBuilder.h"
#include "richtext/interchange/RPExportTestData.h"
#include "richtext/interchange/RPFTestData.h"
#include "richtext/interchange/RPPictureSamples.h"
#include "richtext/interchange/RPRTFPeers.h"
#include "richtext/interchange/RPRTFProps.h"
#include "richtext/model/RPBulletItems.h"
#include "unicode/UniSystem.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string Hex(const Bytes& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (uint8_t b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

// The document's HTML body exported into a new folder of the build folder, its pictures
// saved beside it as img0, img1, ...; the folder.
std::filesystem::path HtmlWithPicturesIn(TExportView& view, const std::string& folderName) {
  const std::filesystem::path folder = BesideTestProgram(folderName);
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  TRPHTMLExportParams params;
  params.Path = Utf8ToWide((folder / "page.html").string());
  params.ImagesPrefix = u"img";
  view.Html(rphtmlOnlyBody, false, params);
  return folder;
}

Bytes SavedBytesOf(const TGraphic& graphic) {
  TMemoryStream stream;
  graphic.SaveToStream(stream);
  const auto* p = static_cast<const uint8_t*>(stream.Memory());
  return Bytes(p, p + stream.Size());
}

}  // namespace

TEST(RPMetafilePictures, WordProcessorShapesImportAtTheirSizeAndTripBackWithTheSameBytes) {
  const Bytes wmf = SampleWmf(), emf = SampleEmf();
  const struct {
    const char* Name;
    std::string Rtf;
    bool Enhanced;
    const Bytes* Records;
    int32_t Width, Height;  // the goal sizes in pixels
  } cases[] = {
      {"a Windows metafile with goal sizes",
       "{\\rtf1 {\\pict\\wmetafile8\\picw5080\\pich2540\\picwgoal2880\\pichgoal1440 " + Hex(wmf) + "}\\par}", false,
       &wmf, 192, 96},
      {"an enhanced metafile inside a shape picture",
       "{\\rtf1 {\\*\\shppict{\\pict\\emfblip\\picw2540\\pich1270\\picwgoal1440\\pichgoal720 " + Hex(emf) +
           "}}{\\nonshppict{\\pict\\wmetafile8\\picw2540\\pich1270 " + Hex(wmf) + "}}\\par}",
       true, &emf, 96, 48},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TImportedView view(c.Rtf);
    ASSERT_EQ(view.Result, rtf_ec_OK);
    const TRPGraphicItemInfo* picture = view.Picture();
    ASSERT_NE(picture, nullptr);
    const auto* metafile = dynamic_cast<const TMetafile*>(picture->Image.get());
    ASSERT_NE(metafile, nullptr);
    EXPECT_EQ(metafile->Enhanced(), c.Enhanced);
    EXPECT_EQ(Bytes(metafile->Records().begin(), metafile->Records().end()), *c.Records);
    EXPECT_EQ(picture->GetImageWidth(nullptr), c.Width);
    EXPECT_EQ(picture->GetImageHeight(nullptr), c.Height);
    EXPECT_FALSE(picture->GetBoolValueEx(rpibqxPrintAsBitmap, nullptr));

    view.Pane.RTFOptions = rprtfDuplicateUnicode;  // enhanced metafiles stay enhanced
    const std::string exported = view.Rtf();
    EXPECT_NE(exported.find(c.Enhanced ? "\\emfblip\\picw2540\\pich1270 " : "\\wmetafile8\\picw5080\\pich2540 "),
              std::string::npos);
    TImportedView again(exported);
    ASSERT_EQ(again.Result, rtf_ec_OK);
    ASSERT_NE(again.Picture(), nullptr);
    const auto* back = dynamic_cast<const TMetafile*>(again.Picture()->Image.get());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(Bytes(back->Records().begin(), back->Records().end()), *c.Records);
    EXPECT_EQ(again.Picture()->GetImageWidth(nullptr), c.Width);
  }
}

TEST(RPMetafilePictures, EnhancedMetafilesGoOutAsWindowsMetafilesWhenAsked) {
  TImportedView view("{\\rtf1 {\\pict\\emfblip\\picw2540\\pich1270 " + Hex(SampleEmf()) + "}\\par}");
  ASSERT_EQ(view.Result, rtf_ec_OK);
  view.Pane.RTFOptions = rprtfSaveEMFAsWMF;
  const std::string exported = view.Rtf();
  EXPECT_NE(exported.find("\\wmetafile8\\picw2540\\pich1270 "), std::string::npos);
  // The copy holds the picture as drawing records (the rectangle stays a rectangle, no
  // bitmap record), so the import keeps it a metafile, drawing the same.
  TImportedView again(exported);
  ASSERT_NE(again.Picture(), nullptr);
  const auto* back = dynamic_cast<const TMetafile*>(again.Picture()->Image.get());
  ASSERT_NE(back, nullptr);
  EXPECT_FALSE(back->Enhanced());
  TBitmap drawn;
  drawn.Assign(back);
  EXPECT_EQ(drawn.Width(), 96);
  EXPECT_EQ(drawn.Height(), 48);
  EXPECT_EQ(drawn.PixelColor(20, 20), clBlue);
  EXPECT_EQ(drawn.PixelColor(70, 20), clWhite);
}

namespace {

// A 4 x 3 image list image: rows of red, green and blue with a masked fuchsia corner.
void AddStripedImage(TCustomImageList& images) {
  TBitmap image;
  image.SetPixelFormat(pf24bit);
  image.SetSize(4, 3);
  const TColor rows[] = {clRed, clLime, clBlue};
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 4; ++x) image.SetPixelColor(x, y, rows[y]);
  image.SetPixelColor(3, 0, clFuchsia);
  images.AddMasked(image, clFuchsia);
}

}  // namespace

// A bullet in a document goes out as a bitmap when bitmaps are the default, else as its
// image drawn into a Windows metafile of the list's image size (sizes in pixels, no
// placeable header), which reads back as a picture of the image's size and pixels.
TEST(RPMetafilePictures, BulletsGoOutAsBitmapsOrAsMetafilesThatReadBackToTheirImage) {
  TCustomImageList images(nullptr, 4, 3);
  AddStripedImage(images);
  TBitmap expected;
  expected.SetPixelFormat(pf24bit);
  expected.SetSize(4, 3);
  expected.Canvas()->Brush().SetColor(clWhite);
  expected.Canvas()->FillRect(Rect(0, 0, 4, 3));
  images.Draw(*expected.Canvas(), 0, 0, 0);
  ASSERT_EQ(expected.PixelColor(3, 0), clWhite);

  TExportView view;
  view.Pane.AddTextNL("a", 0, 0, 0);
  auto bullet = std::make_unique<TRPBulletItemInfo>(&view.Data());
  bullet->ImageList = &images;
  bullet->ParaNo = -1;
  view.Data().AddItem("bullet", std::move(bullet));

  view.Pane.RTFOptions = rprtfSaveBitmapDefault;
  // The information header follows the control words: 40 bytes, 4 x 3 pixels.
  EXPECT_NE(view.Rtf().find("a{\\pict\\dibitmap0\\wbmwidthbytes12\\picw4\\pich3\\picwgoal60\\pichgoal45 "
                            "280000000400000003000000"),
            std::string::npos);
  view.Pane.RTFOptions = 0;
  const std::string exported = view.Rtf();
  // The metafile header follows the control words: in memory, 9 words, version 3.
  EXPECT_NE(exported.find("a{\\pict\\wmetafile1\\picw4\\pich3 010009000003"), std::string::npos);

  // The recorded metafile sets the raster operation, the background mode and a brush
  // before its one bitmap record: records the reader does not take for state around a
  // bitmap, so it keeps the metafile whether it takes bitmaps out or not.
  for (const bool extract : {true, false}) {
    SCOPED_TRACE(extract ? "extracting bitmaps" : "keeping metafiles");
    TImportedView back(exported, rpruNoUnicode,
                       [&](TRPRTFReaderProperties& props) { props.ExtractMetafileBitmaps = extract; });
    ASSERT_EQ(back.Result, rtf_ec_OK);
    const TRPGraphicItemInfo* picture = back.Picture();
    ASSERT_NE(picture, nullptr);
    const auto* metafile = dynamic_cast<const TMetafile*>(picture->Image.get());
    ASSERT_NE(metafile, nullptr);
    EXPECT_FALSE(metafile->Enhanced());
    EXPECT_EQ(picture->Image->Width(), 4);
    EXPECT_EQ(picture->Image->Height(), 3);
    const std::unique_ptr<TBitmap> drawn = OnWhite(*picture->Image, 4, 3);
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(drawn->PixelColor(x, y), expected.PixelColor(x, y)) << x << "," << y;
  }
}

TEST(RPMetafilePictures, NativeFormatAndHtmlKeepMetafilesAndIcons) {
  TExportView view;
  auto wmf = std::make_unique<TMetafile>();
  wmf->LoadFromBytes(SampleWmf());
  auto emf = std::make_unique<TMetafile>();
  emf->LoadFromBytes(SampleEmf());
  auto icon = std::make_unique<TIcon>();
  icon->LoadFromBytes(SampleIcon());
  const std::vector<Bytes> saved = {SavedBytesOf(*wmf), SavedBytesOf(*emf), SavedBytesOf(*icon)};
  const std::vector<std::string> classes = {"TMetafile", "TMetafile", "TIcon"};
  view.Data().AddPicture("wmf", std::move(wmf), 0, rpvaBaseline);
  view.Data().AddPicture("emf", std::move(emf), 0, rpvaBaseline);
  view.Data().AddPicture("icon", std::move(icon), 0, rpvaBaseline);

  // Native: the same class and bytes.
  view.Data().SetRPFOptions(rpfoSavePicturesBody);
  TStringStream written;
  ASSERT_TRUE(view.Data().SaveRPFToStream(written, rpfsmDocument, nullptr, nullptr, clNone));
  TRPFPane loaded(rpfoSavePicturesBody);
  ASSERT_TRUE(loaded.Load(written.DataString()));
  ASSERT_EQ(loaded.Data().GetItemCount(), 3);
  for (int32_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(classes[static_cast<size_t>(i)]);
    const auto& item = dynamic_cast<const TRPGraphicItemInfo&>(*loaded.Data().GetItem(i));
    ASSERT_NE(item.Image, nullptr);
    EXPECT_EQ(std::string(item.Image->ClassType()->ClassName), classes[static_cast<size_t>(i)]);
    EXPECT_EQ(SavedBytesOf(*item.Image), saved[static_cast<size_t>(i)]);
  }

  // HTML: each drawn into a bitmap of its size and written as a JPEG file (the colours
  // within JPEG's loss).
  const std::filesystem::path folder = HtmlWithPicturesIn(view, "html-metafiles");
  const struct {
    const char* File;
    int32_t Width, Height;
    int32_t X, Y;
    TColor Color;
  } files[] = {{"img0.jpg", 200, 100, 20, 50, clRed},
               {"img1.jpg", 96, 48, 20, 20, clBlue},
               {"img2.jpg", 2, 2, 1, 1, TColor(0x00C800)}};
  for (const auto& f : files) {
    SCOPED_TRACE(f.File);
    ASSERT_TRUE(std::filesystem::exists(folder / f.File));
    TJPEGImage jpeg;
    TFileStream file(Utf8ToWide((folder / f.File).string()), fmOpenRead);
    jpeg.LoadFromStream(file);
    EXPECT_EQ(jpeg.Width(), f.Width);
    EXPECT_EQ(jpeg.Height(), f.Height);
    const TColor got = jpeg.Bitmap().PixelColor(f.X, f.Y);
    for (int32_t shift : {0, 8, 16})
      EXPECT_NEAR((got >> shift) & 0xFF, (f.Color >> shift) & 0xFF, 24) << "channel at bit " << shift;
  }
}

// Text in the Symbol font inside a Windows metafile shows its symbols in the HTML export's
// pictures too: the picture of "pD" in a font of the symbol character set comes out as the
// picture of pi and Delta written in the Greek character set, not as the Latin letters.
TEST(RPMetafilePictures, HtmlPicturesShowSymbolTextAsItsSymbols) {
  const struct {
    const char* Face;
    uint8_t Charset;
    const char* Text;
  } pictures[] = {{"Symbol", SYMBOL_CHARSET, "pD"},
                  {"Liberation Serif", GREEK_CHARSET, "\xF0\xC4"},
                  {"Symbol", ANSI_CHARSET, "pD"}};
  std::vector<Bytes> jpegs;
  for (const auto& picture : pictures) {
    SCOPED_TRACE(picture.Face);
    TWmfBuilder wmf;
    wmf.Objects = 1;
    wmf.CreateFont(-32, picture.Charset, picture.Face);
    wmf.Rec(0x012D, {0});  // SELECTOBJECT
    wmf.ExtTextOut(4, 8, picture.Text);
    auto metafile = std::make_unique<TMetafile>();
    metafile->LoadFromBytes(wmf.Bytes(true, 100, 50, 96));
    TExportView view;
    view.Data().AddPicture("formula", std::move(metafile), 0, rpvaBaseline);
    const std::filesystem::path folder = HtmlWithPicturesIn(view, "html-symbol-text-" + std::to_string(jpegs.size()));
    std::ifstream in((folder / "img0.jpg").string(), std::ios::binary);
    jpegs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    ASSERT_FALSE(jpegs.back().empty());
  }
  EXPECT_EQ(jpegs[0], jpegs[1]);
  EXPECT_NE(jpegs[0], jpegs[2]);
}

namespace {

using RtfPeerDetail::Base64;

// A text document with one picture of 2.54 x 1.27 cm between two letters.
std::string PictureDocument(const Bytes& picture) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
         " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
         " xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\""
         " xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" office:version=\"1.2\""
         " office:mimetype=\"application/vnd.oasis.opendocument.text\"><office:body><office:text><text:p>A"
         "<draw:frame svg:width=\"2.54cm\" svg:height=\"1.27cm\" text:anchor-type=\"as-char\"><draw:image>"
         "<office:binary-data>" +
         Base64(picture) +
         "</office:binary-data></draw:image></draw:frame>B</text:p></office:text></office:body>"
         "</office:document>\n";
}

}  // namespace

// LibreOffice writes a Windows metafile as \wmetafile8 and an enhanced one as \emfblip in
// \shppict (with a \wmetafile8 alternative); both come in as metafiles at the goal size
// and draw their picture.
TEST(RPMetafilePictures, RtfWrittenByLibreOfficeImportsItsMetafiles) {
  if (std::system("command -v soffice >/dev/null 2>&1") != 0)
    GTEST_FAIL() << "soffice is missing: install libreoffice-writer-nogui (scripts/setup.sh)";
  const std::filesystem::path dir = BesideTestProgram("rtf-metafiles");
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  // The sample's records behind a placeable header of 200 units per inch: 1 x 0.5 inch.
  const Bytes plain = SampleWmf();
  TWmfBuilder placeable;
  placeable.Records = Bytes(plain.begin() + 18, plain.end() - 6);
  placeable.Objects = 1;
  const struct {
    const char* Name;
    Bytes Picture;
    bool Enhanced;
    TColor Drawn;
  } cases[] = {{"wmf", placeable.Bytes(true, 200, 100, 200), false, clRed}, {"emf", SampleEmf(), true, clBlue}};
  std::string sources;
  for (const auto& c : cases) {
    std::ofstream((dir / (std::string(c.Name) + ".fodt")).string()) << PictureDocument(c.Picture);
    sources += " '" + (dir / (std::string(c.Name) + ".fodt")).string() + "'";
  }
  const std::string command = "soffice --headless -env:UserInstallation=file://" + (dir / "profile").string() +
                              " --convert-to rtf --outdir '" + dir.string() + "'" + sources + " >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::ifstream in((dir / (std::string(c.Name) + ".rtf")).string(), std::ios::binary);
    const std::string rtf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(rtf.empty());
    TImportedView view(rtf);
    ASSERT_EQ(view.Result, rtf_ec_OK);
    const TRPGraphicItemInfo* picture = view.Picture();
    ASSERT_NE(picture, nullptr);
    const auto* metafile = dynamic_cast<const TMetafile*>(picture->Image.get());
    ASSERT_NE(metafile, nullptr);
    EXPECT_EQ(metafile->Enhanced(), c.Enhanced);
    EXPECT_NEAR(picture->GetImageWidth(nullptr), 96, 1);
    EXPECT_NEAR(picture->GetImageHeight(nullptr), 48, 1);
    TBitmap shown;
    shown.SetPixelFormat(pf24bit);
    shown.SetSize(96, 48);
    shown.Canvas()->StretchDraw(Rect(0, 0, 96, 48), metafile);
    EXPECT_EQ(shown.PixelColor(20, 24), c.Drawn);
    EXPECT_EQ(shown.PixelColor(75, 24), clWhite);
  }
}
