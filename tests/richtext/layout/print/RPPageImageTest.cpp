// Painted pages compared pixel for pixel with expected images (PNG files under
// tests/data/richtext/pages, written only by scripts/regenerate-page-goldens.sh), at 24
// bits per pixel and at 1 bit as a 1-bit book's pages are painted.
#include <gtest/gtest.h>

#include <functional>

#include "RPGolden.h"
#include "RPListPageData.h"
#include "RPPrintTestData.h"

namespace {

struct TImageCase {
  const char* Name;
  int32_t Width;
  int32_t PageHeight;
  int32_t PageNo;
  std::function<void(TReportFixture&)> Build;
};

void BuildTextPage(TReportFixture& f) {
  const int32_t framed = f.AddParaStyle();
  f.Para(framed).Background.Color = clSilver;
  f.Para(framed).Border.Style = rpbSingle;
  f.Para(framed).SpaceAfter = 4;
  f.Para(framed).LeftIndent = 6;
  f.Style.TextStyles()[0]->Unicode = true;
  f.Data().AddTextW(u"Страница книги, page text", 0, TRPTag(), framed);
  f.Data().AddItemAsIs("", std::make_unique<TBlockItem>(&f.Data(), 16, 10, clBlack));
  f.Data().AddAnsiText("line after the block, wrapped to the width", 0, TRPTag(), 0);
}

void BuildSplitPage(TReportFixture& f) {
  f.Data().AddAnsiText("Before", 0, TRPTag(), 0);
  TSplitBlockItem& split = f.AddSplitBlock(0, 70, 10);
  split.BlockWidth = 30;
  f.Data().AddAnsiText("After the picture", 0, TRPTag(), 0);
}

const TImageCase ImageCases[] = {
    {"text", 100, 90, 1, BuildTextPage},
    {"split_first_part", 100, 50, 1, BuildSplitPage},
    {"split_last_part", 100, 50, 2, BuildSplitPage},
    // The pages of RPListPagesTest's dumps.
    {"list_left", 200, 280, 1, [](TReportFixture& f) { BuildListPage(f, rpmaLeft); }},
    {"list_centre", 200, 280, 1, [](TReportFixture& f) { BuildListPage(f, rpmaCenter); }},
    {"list_right", 200, 280, 1, [](TReportFixture& f) { BuildListPage(f, rpmaRight); }},
};

void PrintTo(const TImageCase& c, std::ostream* os) { *os << c.Name; }

std::unique_ptr<TBitmap> PaintCase(const TImageCase& c, TPixelFormat format) {
  TReportFixture f(c.Width);
  c.Build(f);
  if (format == pf1bit) f.Helper.SetColorMode(rpcmBlackOnWhite);
  f.Paginate({c.PageHeight});
  auto page = std::make_unique<TBitmap>();
  page->SetPixelFormat(format);
  page->SetSize(c.Width, c.PageHeight);
  f.Helper.PaintPage(c.PageNo, *page->Canvas(), false, c.PageHeight);
  return page;
}

class RPPageImageTest : public testing::TestWithParam<std::tuple<TImageCase, TPixelFormat>> {};

TEST_P(RPPageImageTest, PaintedPageMatchesTheExpectedImage) {
  const auto& [c, format] = GetParam();
  const auto page = PaintCase(c, format);
  ExpectMatchesGoldenImage(*page, std::string(c.Name) + (format == pf1bit ? "_1bit.png" : "_24bit.png"));
}

INSTANTIATE_TEST_SUITE_P(Pages, RPPageImageTest,
                         testing::Combine(testing::ValuesIn(ImageCases), testing::Values(pf24bit, pf1bit)),
                         [](const testing::TestParamInfo<std::tuple<TImageCase, TPixelFormat>>& param) {
                           return std::string(std::get<0>(param.param).Name) +
                                  (std::get<1>(param.param) == pf1bit ? "_1bit" : "_24bit");
                         });

}  // namespace
