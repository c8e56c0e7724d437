// A picture that holds a PNG image decoded by the PNG codec.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RPItemOutput.h"
#include "RPTestCanvas.h"
#include "imaging/png/PngCodec.h"
#include "platform/base/FileSystem.h"
#include "platform/base/Streams.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"

namespace {

std::vector<uint8_t> FileBytes(const char* name) {
  TFileStream file(AnsiString(QF_TEST_DATA_DIR "/fuzz/png_image/") + name, fmOpenRead);
  std::vector<uint8_t> bytes(static_cast<size_t>(file.Size()));
  file.ReadBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  return bytes;
}

std::unique_ptr<TPNGObject> LoadPng(const std::vector<uint8_t>& bytes) {
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  stream.SetPosition(0);
  auto png = std::make_unique<TPNGObject>();
  png->LoadFromStream(stream);
  return png;
}

std::unique_ptr<TBitmap> YellowPage(int32_t width, int32_t height) {
  auto page = WhitePage(width, height);
  page->Canvas()->Brush().SetColor(clYellow);
  page->Canvas()->FillRect(TRect{0, 0, width, height});
  return page;
}

TEST(RPPicturePngTest, PaintsAndPrintsAnOpaquePngAsTheCodecDrawsIt) {
  const std::vector<uint8_t> bytes = FileBytes("rgb8_paeth.png");
  auto reference = LoadPng(bytes);
  const int32_t w = reference->Width(), h = reference->Height();
  ASSERT_GT(w, 0);
  // The codec's own drawing at (1, 1) of a yellow page is what the item must show.
  auto want = YellowPage(w + 2, h + 2);
  reference->Draw(*want->Canvas(), Bounds(1, 1, w, h));

  TRPStyle sheet(nullptr);
  TRPGraphicItemInfo item(nullptr, LoadPng(bytes), rpvaBaseline);
  EXPECT_EQ(item.GetWidth(), w + 2);
  auto page = YellowPage(w + 2, h + 2);
  item.Paint(0, 0, *page->Canvas(), 0, sheet);
  EXPECT_EQ(Pixels(*page), Pixels(*want));

  // Printing draws it at (0, 0) of the painter's bitmap over what the bitmap showed.
  auto bitmap = YellowPage(w, h);
  auto wantPrinted = YellowPage(w, h);
  reference->Draw(*wantPrinted->Canvas(), Bounds(0, 0, w, h));
  EXPECT_TRUE(item.PrintToBitmap(*bitmap, false, -1, 0));
  EXPECT_EQ(Pixels(*bitmap), Pixels(*wantPrinted));
}

TEST(RPPicturePngTest, RtfWritesThePngStream) {
  const std::vector<uint8_t> bytes = FileBytes("rgb8_paeth.png");
  TRPGraphicItemInfo item(nullptr, LoadPng(bytes), rpvaBaseline);
  ASSERT_EQ(GetRPPngGraphicClass(), &TPNGObject::ClassInfo);  // the model's start-up
  TMemoryStream saved;
  item.Image->SaveToStream(saved);
  std::string hex;
  const auto* data = static_cast<const uint8_t*>(saved.Memory());
  for (int64_t i = 0; i < saved.Size(); ++i) {
    char two[3];
    std::snprintf(two, sizeof two, "%02X", data[i]);
    hex += two;
  }
  EXPECT_EQ(RtfOf(item, 0), "{\\pict\\pngblip\\picw" + std::to_string(item.Image->Width()) + "\\pich" +
                                std::to_string(item.Image->Height()) + " " + hex + "}");
}

}  // namespace
