// The pictures of every graphic class in an editor started as a program starts it: this
// test program registers nothing of its own, so the item classes, the graphic classes by
// name and the native format come from the libraries' start-up alone. Each picture saved
// in the native format (text and binary forms) reads back of its class and with its
// pixels; a PNG picture leaves RTF as \pngblip and HTML as a .png file; RTF bitmaps of
// both kinds go in at the caret.
#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "../interchange/RPPictureSamples.h"
#include "imaging/png/PngCodec.h"
#include "platform/base/Streams.h"
#include "platform/base/TempFolder.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/JpegImage.h"
#include "platform/graphics/Metafile.h"
#include "richtext/edit/RichPaneEdit.h"
#include "richtext/interchange/RPHTMLExport.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "unicode/UniSystem.h"

namespace {

// A 5 x 4 bitmap of four colours in bands, with one odd pixel.
std::unique_ptr<TBitmap> BandedBitmap() {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(5, 4);
  const TColor bands[] = {clRed, clLime, clBlue, TColor(0x336699)};
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 5; ++x) bitmap->SetPixelColor(x, y, bands[y]);
  bitmap->SetPixelColor(4, 0, clBlack);
  return bitmap;
}

struct TStartupPicture {
  const char* ClassName;
  std::function<std::unique_ptr<TGraphic>()> Make;
};

const TStartupPicture StartupPictures[] = {
    {"TBitmap", [] { return std::unique_ptr<TGraphic>(BandedBitmap()); }},
    {"TPNGObject",
     [] {
       auto png = std::make_unique<TPNGObject>();
       png->Assign(*BandedBitmap());
       return std::unique_ptr<TGraphic>(std::move(png));
     }},
    {"TJPEGImage",
     [] {
       auto jpeg = std::make_unique<TJPEGImage>();
       jpeg->Compress(*BandedBitmap(), 90);
       return std::unique_ptr<TGraphic>(std::move(jpeg));
     }},
    {"TMetafile",
     [] {
       auto metafile = std::make_unique<TMetafile>();
       metafile->LoadFromBytes(SampleEmf());
       return std::unique_ptr<TGraphic>(std::move(metafile));
     }},
    {"TIcon",
     [] {
       auto icon = std::make_unique<TIcon>();
       icon->LoadFromBytes(SampleIcon());
       return std::unique_ptr<TGraphic>(std::move(icon));
     }},
};

// The colours of a graphic drawn at its size on white, row by row.
std::vector<TColor> DrawnPixels(const TGraphic& graphic) {
  const std::unique_ptr<TBitmap> drawn = OnWhite(graphic, graphic.Width(), graphic.Height());
  std::vector<TColor> pixels;
  for (int32_t y = 0; y < drawn->Height(); ++y)
    for (int32_t x = 0; x < drawn->Width(); ++x) pixels.push_back(drawn->PixelColor(x, y));
  return pixels;
}

struct TPicturesEditor {
  TPicturesEditor() {
    Style.TextStyles()[0]->FontName = "Arial";
    Editor.SetStyle(&Style);
    Editor.ClientResized(400, 300);
  }
  TRPEditRPData& Data() { return Editor.EditData(); }
  // The only picture of the document.
  const TGraphic* Picture() {
    for (int32_t i = 0; i < Data().GetItemCount(); ++i)
      if (const auto* item = dynamic_cast<const TRPGraphicItemInfo*>(Data().GetItem(i))) return item->Image.get();
    return nullptr;
  }
  // A document of one paragraph: text, the picture, text.
  void Hold(std::unique_ptr<TGraphic> graphic) {
    Data().Clear();
    Data().AddRawText("before ", 0, 0);
    Data().AddPicture("picture", std::move(graphic), -1, rpvaBaseline);
    Data().AddRawText(" after", 0, -1);
    Editor.Format();
  }

  TRPStyle Style{nullptr};
  TRichPaneEdit Editor{nullptr};
};

TEST(RichPaneEditPicturesTest, EveryPictureClassReadsBackFromTheNativeFormat) {
  for (const TStartupPicture& p : StartupPictures) {
    for (const bool binary : {false, true}) {
      SCOPED_TRACE(std::string(p.ClassName) + (binary ? ", binary form" : ", text form"));
      const std::unique_ptr<TGraphic> original = p.Make();
      ASSERT_EQ(std::string(original->ClassType()->ClassName), p.ClassName);
      TPicturesEditor source;
      source.Hold(p.Make());
      source.Editor.RPFOptions = rpfoSavePicturesBody | (binary ? rpfoSaveBinary : 0u);
      TMemoryStream stream;
      ASSERT_TRUE(source.Editor.SaveRPFToStream(stream, rpfsmDocument));
      stream.SetPosition(0);
      TPicturesEditor target;
      ASSERT_TRUE(target.Editor.LoadRPFFromStream(stream));
      const TGraphic* loaded = target.Picture();
      ASSERT_NE(loaded, nullptr);
      EXPECT_EQ(std::string(loaded->ClassType()->ClassName), p.ClassName);
      EXPECT_EQ(loaded->Width(), original->Width());
      EXPECT_EQ(loaded->Height(), original->Height());
      EXPECT_EQ(DrawnPixels(*loaded), DrawnPixels(*original));
      EXPECT_EQ(target.Data().GetRPFWarnings(), 0u);
    }
  }
}

TEST(RichPaneEditPicturesTest, APngPictureLeavesRtfAndHtmlAsPng) {
  TPicturesEditor editor;
  editor.Hold(StartupPictures[1].Make());
  TMemoryStream rtf;
  ASSERT_TRUE(editor.Editor.SaveRTFToStream(rtf, false));
  const std::string rtfText(static_cast<const char*>(rtf.Memory()), static_cast<size_t>(rtf.Size()));
  EXPECT_NE(rtfText.find("{\\pict\\pngblip\\picw5\\pich4 89504E47"), std::string::npos) << rtfText;

  const TempFolder folder;
  TRPHTMLExportParams params;
  params.Path = Utf8ToWide((std::filesystem::path(folder.Path()) / "page.html").string());
  TMemoryStream html;
  ASSERT_TRUE(editor.Editor.SaveHTMLToStream(html, params));
  const std::string htmlText(static_cast<const char*>(html.Memory()), static_cast<size_t>(html.Size()));
  EXPECT_NE(htmlText.find("src=\"0.png\""), std::string::npos) << htmlText;
  ASSERT_TRUE(std::filesystem::exists(std::filesystem::path(folder.Path()) / "0.png"));
  TPNGObject saved;
  TFileStream file(Utf8ToWide((std::filesystem::path(folder.Path()) / "0.png").string()), fmOpenRead);
  saved.LoadFromStream(file);
  EXPECT_EQ(DrawnPixels(saved), DrawnPixels(*StartupPictures[1].Make()));
}

// RTF bitmaps go in through the native format (the editor's way with RTF): a
// device-independent one (\dibitmap, the bitmap file without its file header) and a
// device-dependent one (\wbitmap, its rows top first).
TEST(RichPaneEditPicturesTest, RtfBitmapsGoInAtTheCaret) {
  const std::unique_ptr<TBitmap> banded = BandedBitmap();
  TMemoryStream bitmapFile;
  banded->SaveToStream(bitmapFile);
  std::string dib;
  const auto* bytes = static_cast<const uint8_t*>(bitmapFile.Memory());
  for (int64_t i = 14; i < bitmapFile.Size(); ++i) {
    static const char digits[] = "0123456789abcdef";
    dib += digits[bytes[i] >> 4];
    dib += digits[bytes[i] & 15];
  }
  const struct {
    const char* Name;
    std::string Rtf;
    int32_t Width, Height;
    std::vector<TColor> Pixels;
  } cases[] = {
      {"\\dibitmap", "{\\rtf1 a{\\pict\\dibitmap0 " + dib + "}b}", 5, 4, DrawnPixels(*banded)},
      // Blue-green-red bytes: 0x0A141E, then white; two pad bytes to the row's 8.
      {"\\wbitmap",
       "{\\rtf1 a{\\pict\\wbitmap0\\picw2\\pich1\\wbmbitspixel24\\wbmwidthbytes8 0a141effffff0000}b}",
       2,
       1,
       {TColor(0x0A141E), clWhite}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TPicturesEditor editor;
    editor.Data().Clear();
    editor.Data().AddRawText("xy", 0, 0);
    editor.Editor.Format();
    editor.Data().SetCaretAtItemPos(0, 2);
    TStringStream rtf(c.Rtf);
    ASSERT_TRUE(editor.Editor.InsertRTFFromStream(rtf));
    const TGraphic* picture = editor.Picture();
    ASSERT_NE(picture, nullptr);
    EXPECT_NE(dynamic_cast<const TBitmap*>(picture), nullptr);
    EXPECT_EQ(picture->Width(), c.Width);
    EXPECT_EQ(picture->Height(), c.Height);
    EXPECT_EQ(DrawnPixels(*picture), c.Pixels);
    std::string texts;
    for (int32_t i = 0; i < editor.Data().GetItemCount(); ++i) texts += editor.Data().GetItemTextRaw(i) + "|";
    EXPECT_EQ(texts, "xa||by|");
  }
}

}  // namespace
