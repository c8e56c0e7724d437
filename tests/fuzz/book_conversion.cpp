// A whole conversion, as the batch runs it for each file: the book is loaded (a ".zip"
// when its bytes start with "PK", else an ".fb2"), built, laid out in pages, given its
// cover, and every page is painted with its header and footer, reduced and written into
// a Wolf file in memory. Whatever the book, the conversion either raises an exception of
// ours and keeps no pages, or writes a file that the independent Wolf reader accepts,
// with one image per page of the page's size and colour depth, and a cover exactly when
// one was prepared; progress stays within 0..100 %.
//
// The first two bytes choose the scheme's options, the rest is the book:
//   byte 0: bit 0 pages of 1 bit (else 2), bits 1-2 the turn (0 none, 1 clockwise, 2 and
//           3 counter-clockwise), bit 3 header, bit 4 footer, bit 5 hyphenation, bit 6
//           block spacing and indents, bit 7 pages converted to gray (ClearType quality)
//   byte 1: bits 0-2 emphasis, strong, strike-through not applied, bits 3-4 the table of
//           contents' levels, bits 5-6 the internal-link mode (3: mode 2 without the note
//           link's text), bit 7 a cover page
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "Fb2FuzzBook.h"
#include "FuzzScratchFolder.h"
#include "FuzzSkipChecksums.h"
#include "convert/cFB2WolConvertor.h"
#include "platform/base/Exception.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/Streams.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPTextItems.h"
#include "wolf/WolfFileReader.h"

namespace {

// Small pages and fonts keep an input's pages few and quick to paint.
constexpr int32_t PageWidthPx = 200;
constexpr int32_t PageHeightPx = 240;
// Pages beyond this are laid out but not painted: the writer's work per page is the same
// for every page, and long books would slow the fuzzer down for nothing.
constexpr int32_t MaxSavedPages = 300;

void ChooseScheme(TVoDaziScheme& scheme, uint8_t page, uint8_t text) {
  scheme.PageWidth = PageWidthPx;
  scheme.PageHeight = PageHeightPx;
  scheme.MarginLeft = scheme.MarginRight = scheme.MarginTop = scheme.MarginBottom = 4;
  scheme.CoverLeft = scheme.CoverTop = 3;
  scheme.BookColors = (page & 1) ? 1 : 2;
  scheme.PageRotate = static_cast<uint8_t>((page >> 1) & 3);
  scheme.ShowHeader = scheme.HeaderOnFirstPage = (page & 0x08) != 0;
  scheme.ShowFooter = scheme.FooterOnFirstPage = (page & 0x10) != 0;
  scheme.FooterLeftOddText = u"%A";
  scheme.FooterLineSize = 2;
  scheme.UseClearType = (page & 0x80) != 0;
  scheme.TOCLevels = (text >> 3) & 3;
  scheme.InternalLinksMode = std::min((text >> 5) & 3, 2);
  scheme.CopyHRefLink = ((text >> 5) & 3) != 3;
  scheme.CoverPage = (text & 0x80) ? static_cast<uint8_t>(scheme.BookColors) : 0;
  for (int32_t i = 0; i < VoDaziStyleCount; ++i) {
    TVoDaziStyle& style = scheme.Styles(i);
    style.BaseFontSize = style.CodeFontSize = 11;
    style.Hyphenation = (page & 0x20) != 0;
    if (page & 0x40) {
      style.SpaceBefBlock = 3;
      style.SpaceAftBlock = 2;
      style.LeftIndent = 5;
      style.RightIndent = 2;
      style.FirstIndent = 6;
    }
    style.ApplyEmphasis = (text & 1) == 0;
    style.ApplyStrong = (text & 2) == 0;
    style.ApplyStrike = (text & 4) == 0;
  }
}

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "book_conversion: %s\n", what);
  std::abort();
}

// The written file against what the driver laid out.
void CheckWritten(const TFB2WolConvertor& driver, TMemoryStream& written) {
  const auto* bytes = static_cast<const uint8_t*>(written.Memory());
  TReadWolfBook book;
  try {
    book = ReadWolfBook(std::span<const uint8_t>(bytes, static_cast<size_t>(written.Size())));
  } catch (const std::runtime_error& e) {
    Fail(e.what());
  }
  const TVoDaziScheme& scheme = driver.Scheme;
  const bool turned = scheme.PageRotate != 0;
  if (static_cast<int32_t>(book.Images.size()) != driver.PageCount) Fail("an image for every page");
  for (const TReadWolfImage& image : book.Images) {
    if (image.BitCount != scheme.BookColors) Fail("the page's colour depth");
    if (image.Width != (turned ? scheme.PageHeight : scheme.PageWidth) ||
        image.Height != (turned ? scheme.PageWidth : scheme.PageHeight))
      Fail("the page's size");
    try {
      (void)DecodeWolfImagePixels(image.Encoded, image.Width, image.Height, image.BitCount);
    } catch (const std::runtime_error& e) {
      Fail(e.what());
    }
  }
  if (book.HasCover != (driver.CoverBitmap != nullptr)) Fail("a cover exactly when one was prepared");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const std::string_view book(reinterpret_cast<const char*>(data) + 2, size - 2);
  const TFuzzScratchFolder folder;
  const std::string name = folder.Write(book.starts_with("PK") ? "book.zip" : "book.fb2", book);

  TFB2WolConvertor driver;
  CapFuzzBookImages(driver.Book);
  driver.Book.Limits.MaxColSpan = 50;
  driver.Builder.Limits.MaxNesting = 200;
  driver.MaxLinkPasses = 4;
  ChooseScheme(driver.Scheme, data[0], data[1]);
  driver.OnProgress = [](const WideString&, int32_t percent, bool&) {
    if (percent < 0 || percent > 100) Fail("progress within 0..100 %");
  };

  try {
    driver.LoadBook(FileSystemNameToWide(name));
  } catch (const Exception&) {
    if (driver.HasBook()) Fail("a failed load keeps no book");
    return 0;
  }
  try {
    driver.ConvertBook();
  } catch (const Exception&) {
    if (driver.PageCount != 0 || driver.CoverBitmap) Fail("a failed conversion keeps no pages");
    return 0;
  }
  TMemoryStream written;
  if (driver.PageCount == 0) {
    try {
      driver.SaveWolfToStream(written);
    } catch (const Exception&) {
      return 0;  // a book of no pages is refused
    }
    Fail("a book of no pages is refused");
  }
  if (driver.PageCount > MaxSavedPages) return 0;
  driver.SaveWolfToStream(written);
  CheckWritten(driver, written);
  return 0;
}
