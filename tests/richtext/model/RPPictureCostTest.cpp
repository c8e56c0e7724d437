// Metafile pictures of a few bytes exported: one that states 15000 x 15000 pixels is
// saved as a bitmap as large as its data admits (a bullet's picture, the document's own
// picture file for HTML), and one whose blends a Windows metafile cannot hold goes into
// RTF as a Windows metafile of megabytes, not of hundreds of them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RPItemOutput.h"
#include "RPTestItems.h"
#include "platform/base/CodePages.h"
#include "platform/base/TempFolder.h"
#include "platform/graphics/JpegImage.h"
#include "platform/graphics/Metafile.h"
#include "platform/graphics/MetafileHostile.h"
#include "richtext/model/RPPictureHtml.h"
#include "richtext/model/RPPictureItems.h"

namespace {

std::unique_ptr<TMetafile> CostTestMetafile(const std::vector<uint8_t>& bytes) {
  auto metafile = std::make_unique<TMetafile>();
  metafile->LoadFromBytes(bytes);
  return metafile;
}

// A writer that keeps the size of each bitmap it is given to save.
class TSizeKeepingWriter : public TFakeHtmlWriter {
public:
  AnsiString SavePictureForExport(const TGraphic& graphic, TColor) override {
    Sizes.push_back(TSize{graphic.Width(), graphic.Height()});
    return "images\\img" + std::to_string(Sizes.size()) + ".bmp";
  }
  std::vector<TSize> Sizes;
};

}  // namespace

TEST(RPPictureCostTest, AStatedSizeIsExportedAsLargeAsTheDataAdmits) {
  const auto metafile = CostTestMetafile(hostile::StatedSizeOnly(15000, 15000));
  ASSERT_EQ(metafile->Width(), 15000);
  const TSize admitted = metafile->RasterSize();
  EXPECT_LE(int64_t{admitted.cx} * admitted.cy, metafile->Limits.RasterPixelAllowance + 108 * 1024);
  EXPECT_EQ(admitted.cx, admitted.cy);

  TSizeKeepingWriter writer;
  TRPHTMLBulletInfoList saved;
  SaveBulletImage(nullptr, 0, metafile.get(), saved, 0, clNone, writer);
  ASSERT_EQ(writer.Sizes.size(), 1u);
  EXPECT_EQ(writer.Sizes[0].cx, admitted.cx);
  EXPECT_EQ(writer.Sizes[0].cy, admitted.cy);

  TempFolder folder;
  TTestRPData data;
  int32_t number = 1;
  EXPECT_EQ(data.SavePictureFile(AnsiToWide(folder / "page.html"), u"p", *metafile, number, false, clNone), u"p1.jpg");
  TMemoryStream stream;
  stream.LoadFromFile(AnsiToWide(folder / "p1.jpg"));
  TJPEGImage jpeg;
  jpeg.LoadFromStream(stream);
  EXPECT_EQ(jpeg.Width(), admitted.cx);
  EXPECT_EQ(jpeg.Height(), admitted.cy);
}

TEST(RPPictureCostTest, RtfOfAConvertedMetafileTakesMegabytesNotHundreds) {
  // 1.6 KB: ten half-transparent blends over a picture of a square metre.
  const std::vector<uint8_t> bytes = hostile::BlendsOverPicture(10, 3780);
  ASSERT_LT(bytes.size(), 2048u);
  TRPGraphicItemInfo item(nullptr, CostTestMetafile(bytes), rpvaBaseline);
  const std::string rtf = RtfOf(item, rprtfSaveEMFAsWMF);
  EXPECT_EQ(rtf.rfind("{\\pict\\wmetafile8", 0), 0u);
  EXPECT_LE(rtf.size(), size_t{32} << 20);
}
