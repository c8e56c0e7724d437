// A book mixing scripts converts into pages that show every character: the style's face
// lacks the CJK and Arabic letters, and the faces that have them draw them, with no
// missing-glyph boxes left on the page.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "convert/ConvertTestBooks.h"
#include "convert/PageConservation.h"
#include "convert/cFB2WolConvertor.h"
#include "wolf/WolfFileReader.h"

namespace {

// A page as the reader decodes it: one level per pixel.
struct TPageLevels {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint8_t> Levels;
  uint8_t At(int32_t x, int32_t y) const { return Levels[static_cast<size_t>(y * Width + x)]; }
};

// The pages of a book whose body is one paragraph (UTF-8), converted at the default scheme.
std::vector<TPageLevels> ConvertParagraph(const std::string& paragraph) {
  TSchemeTestFolder folder;
  folder.Write("p.fb2", TestFB2("Scripts", "<section><p>" + paragraph + "</p></section>"));
  TFB2WolConvertor driver;
  driver.LoadBook(folder.Wide("p.fb2"));
  driver.ConvertBook();
  driver.SaveWolf(folder.Wide("p.wol"));
  ExpectEveryCharacterOnSomePage(driver);
  const TReadWolfBook book = ReadWolfFile(folder, "p.wol");
  std::vector<TPageLevels> pages;
  for (int32_t i = 0; i < driver.PageCount; ++i) {
    const TReadWolfImage& image = book.PageImage(static_cast<size_t>(i));
    pages.push_back(
        {image.Width, image.Height, DecodeWolfImagePixels(image.Encoded, image.Width, image.Height, image.BitCount)});
  }
  return pages;
}

// The missing-glyph box as the page shows it: where a page with "." and a character no
// face has differs from the page with "." alone.
TPageLevels MissingGlyphBox() {
  const std::vector<TPageLevels> dot = ConvertParagraph(".");
  const std::vector<TPageLevels> boxed = ConvertParagraph(".\xCD\xB8");  // U+0378, unassigned
  TPageLevels box;
  if (dot.empty() || boxed.empty()) return box;
  const TPageLevels& a = dot[0];
  const TPageLevels& b = boxed[0];
  int32_t left = a.Width, top = a.Height, right = -1, bottom = -1;
  for (int32_t y = 0; y < a.Height; ++y)
    for (int32_t x = 0; x < a.Width; ++x)
      if (a.At(x, y) != b.At(x, y)) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  if (right < 0) return box;
  box.Width = right - left + 1;
  box.Height = bottom - top + 1;
  for (int32_t y = top; y <= bottom; ++y)
    for (int32_t x = left; x <= right; ++x) box.Levels.push_back(b.At(x, y));
  return box;
}

// Places on the pages where the box stands, pixel for pixel.
int32_t CountBoxes(const std::vector<TPageLevels>& pages, const TPageLevels& box) {
  int32_t found = 0;
  for (const TPageLevels& page : pages)
    for (int32_t y = 0; y + box.Height <= page.Height; ++y)
      for (int32_t x = 0; x + box.Width <= page.Width; ++x) {
        bool same = true;
        for (int32_t by = 0; by < box.Height && same; ++by)
          for (int32_t bx = 0; bx < box.Width && same; ++bx) same = page.At(x + bx, y + by) == box.At(bx, by);
        found += same;
      }
  return found;
}

}  // namespace

TEST(FB2WolConvertorScripts, MixedScriptsConvertWithoutMissingGlyphBoxes) {
  const TPageLevels box = MissingGlyphBox();
  ASSERT_GT(box.Width, 0) << "a character no face has draws no box";
  // The same line with each CJK and Arabic letter replaced by U+0378 shows twelve boxes.
  std::string boxes = "Latin ";
  for (const int32_t count : {3, 2, 7}) {
    for (int32_t i = 0; i < count; ++i) boxes += "\xCD\xB8";
    boxes += " ";
  }
  boxes += "Latin";
  EXPECT_EQ(CountBoxes(ConvertParagraph(boxes), box), 12);
  const std::vector<TPageLevels> pages = ConvertParagraph("Latin 日本語 中文 العربية Latin");
  ASSERT_FALSE(pages.empty());
  EXPECT_EQ(CountBoxes(pages, box), 0);
}
