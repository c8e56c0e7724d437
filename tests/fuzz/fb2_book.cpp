// FB2 books come from anywhere: any bytes must load or raise an exception, never crash,
// hang or read outside the input, and every question the conversion asks of a loaded
// book must be answerable. A failed load leaves the model empty.
#include <cstdint>
#include <cstdlib>

#include "Fb2FuzzBook.h"
#include "FuzzSkipChecksums.h"
#include "fb2/cFictionBook2.h"
#include "platform/base/Streams.h"
#include "xml/dom/DomDocument.h"

namespace {

void AskEverything(const TFictionBook2& book) {
  (void)book.GetBookTitle();
  (void)book.GetAuthors();
  (void)book.GetTranslators();
  (void)book.GetGenres();
  (void)book.GetPublisher();
  (void)book.GetYear();
  (void)book.GetISBN();
  (void)book.GetAnnotation();
  for (const TDomNode* node = book.Root(); node != nullptr;
       node = static_cast<const TDomNode*>(NextInSubtree(book.Root(), node))) {
    if (TXML::GetNodeKind(node) != 0) continue;
    if (TFictionBook2::GetSectionLevel(node) < 0) std::abort();
    (void)TFictionBook2::GetParagraphsText(node);
    (void)book.FindNoteElement(node);
    int32_t rows = 0, columns = 0;
    if (book.GetTableSize(node, rows, columns) && (rows <= 0 || columns <= 0)) std::abort();
    if (columns < 0 || rows < 0) std::abort();
    const WideString target = book.GetLocalHref(node);
    TBitmap bitmap;
    try {
      book.LoadBinaryImage(target, bitmap, 64, 64, true, 2);
    } catch (const Exception&) {
      // a damaged picture raises its decoder's exception
    }
  }
  TBitmap cover;
  try {
    book.LoadCoverImage(cover, 32, 48, false, 1);
  } catch (const Exception&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream input;
  LoadFuzzInput(input, data, size);
  TFictionBook2 book;
  CapFuzzBookImages(book);
  // Entities of an internal subset are expanded on the book's road: narrow budgets keep
  // each input quick.
  TXmlLimits limits = book.Parser().Limits();
  limits.MaxEntityExpansionChars = 100000;
  limits.MaxNodeCount = 100000;
  book.Parser().SetLimits(limits);
  try {
    book.LoadFromStream(input);
  } catch (const Exception&) {
    if (book.Root() != nullptr || book.Document() != nullptr || book.GetBodyCount() != 0) std::abort();
    return 0;
  }
  if (book.Root() == nullptr || book.SectionCount() != book.CountSections()) std::abort();
  AskEverything(book);
  return 0;
}
