#include "richtext/model/RPImagePrintParts.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "richtext/model/RPException.h"
#include "richtext/model/RPPictureItems.h"

namespace {

// The parts list of a printing draw item, as page breaking would keep it.
class TFakeParts : public IRPImagePrintParts {
public:
  struct TPart {
    int32_t ImgTop, ImgHeight, Height;
    friend bool operator==(const TPart&, const TPart&) = default;
  };
  int32_t PartCount() const override { return static_cast<int32_t>(Parts.size()); }
  int32_t PartImgTop(int32_t index) const override { return Parts[static_cast<size_t>(index)].ImgTop; }
  int32_t PartImgHeight(int32_t index) const override { return Parts[static_cast<size_t>(index)].ImgHeight; }
  void SetLastPart(int32_t imgHeight, int32_t height) override {
    Parts.back().ImgHeight = imgHeight;
    Parts.back().Height = height;
  }
  void AddPart(int32_t imgTop, int32_t imgHeight, int32_t height) override {
    Parts.push_back({imgTop, imgHeight, height});
  }
  std::vector<TPart> Parts;
};

// A 100 x 400 picture (a 1 x 1 bitmap stretched) with MinHeightOnPage 100.
std::unique_ptr<TRPGraphicItemInfo> TallPicture() {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(100, 400);
  auto item = std::make_unique<TRPGraphicItemInfo>(nullptr, std::move(bitmap), rpvaBaseline);
  item->MinHeightOnPage = 100;
  return item;
}

TEST(RPImagePrintPartsTest, StartAddsOneWholePartWithAMinimumHeight) {
  auto item = TallPicture();
  TRPResolution printer;
  printer.DevicePpiY = 192;
  TFakeParts parts;
  EXPECT_TRUE(StartImagePrintParts(*item, printer, parts));
  EXPECT_EQ(parts.Parts, (std::vector<TFakeParts::TPart>{{0, 400, 800}}));
  item->MinHeightOnPage = 0;
  TFakeParts none;
  EXPECT_FALSE(StartImagePrintParts(*item, printer, none));
  EXPECT_TRUE(none.Parts.empty());
}

TEST(RPImagePrintPartsTest, CanStartOnPageWhenBothPiecesKeepTheMinimum) {
  struct TCase {
    int32_t Room;  // device pixels at 192 per inch: twice the screen pixels
    bool Want;
  };
  const TCase cases[] = {
      {0, false},    // no room
      {-20, false},  // less than none
      {180, false},  // 90 < MinHeightOnPage
      {200, true},   // 100 here, 300 on
      {600, true},   // 300 here, 100 on
      {620, false},  // 310 here would leave 90
      {798, false},  // 399 here, 1 on
      {800, false},  // 400 fits exactly, but only more room than the height counts as fitting
      {802, true},   // fits whole
  };
  auto item = TallPicture();
  TRPResolution printer;
  printer.DevicePpiY = 192;
  for (const TCase& c : cases) {
    SCOPED_TRACE("room " + std::to_string(c.Room));
    EXPECT_EQ(CanImageStartOnPage(*item, printer, c.Room), c.Want);
  }
  item->MinHeightOnPage = 0;
  EXPECT_FALSE(CanImageStartOnPage(*item, printer, 802));
}

TEST(RPImagePrintPartsTest, SplitCutsTheLastPartAtTheRoom) {
  auto item = TallPicture();
  const TRPResolution screen;
  TFakeParts parts;
  ASSERT_TRUE(StartImagePrintParts(*item, screen, parts));
  EXPECT_FALSE(SplitLastImagePrintPart(*item, screen, parts, 320));  // the rest, 80, is too low
  EXPECT_FALSE(SplitLastImagePrintPart(*item, screen, parts, 90));   // this piece is too low
  EXPECT_EQ(parts.PartCount(), 1);
  EXPECT_TRUE(SplitLastImagePrintPart(*item, screen, parts, 250));
  EXPECT_EQ(parts.Parts, (std::vector<TFakeParts::TPart>{{0, 250, 250}, {250, 150, 150}}));
  EXPECT_FALSE(SplitLastImagePrintPart(*item, screen, parts, 250));  // the rest fits
  EXPECT_FALSE(SplitLastImagePrintPart(*item, screen, parts, 60));
  EXPECT_EQ(parts.PartCount(), 2);
}

TEST(RPImagePrintPartsTest, SplitOverThreePagesAtPrinterResolution) {
  auto item = TallPicture();
  TRPResolution printer;
  printer.DevicePpiY = 300;  // screen y = MulDiv(room, 96, 300)
  TFakeParts parts;
  ASSERT_TRUE(StartImagePrintParts(*item, printer, parts));
  EXPECT_TRUE(SplitLastImagePrintPart(*item, printer, parts, 500));   // 160 screen pixels
  EXPECT_TRUE(SplitLastImagePrintPart(*item, printer, parts, 400));   // 128
  EXPECT_FALSE(SplitLastImagePrintPart(*item, printer, parts, 400));  // 112 left fits
  EXPECT_EQ(parts.Parts, (std::vector<TFakeParts::TPart>{{0, 160, 500}, {160, 128, 400}, {288, 112, 350}}));
}

TEST(RPImagePrintPartsTest, SplitWithoutPartsIsAnInternalError) {
  auto item = TallPicture();
  TFakeParts parts;
  try {
    SplitLastImagePrintPart(*item, TRPResolution{}, parts, 250);
    FAIL() << "no exception";
  } catch (const ERichPaneError& e) {
    EXPECT_STREQ(e.what(), "Internal printing error");
  }
  item->MinHeightOnPage = 0;  // never split: no parts needed
  EXPECT_FALSE(SplitLastImagePrintPart(*item, TRPResolution{}, parts, 250));
}

}  // namespace
