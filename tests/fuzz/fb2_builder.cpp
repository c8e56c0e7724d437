// Any book that loads must build into a document or raise an exception of ours, never
// crash or hang: deep nesting, odd spans, links and notes that point anywhere (notes
// that link to each other too). The built document is then laid out into small pages.
#include <cstdint>
#include <cstdlib>

#include "Fb2FuzzBook.h"
#include "FuzzSkipChecksums.h"
#include "convert/cFB2RPConvertor.h"
#include "convert/cInternalLinks.h"
#include "convert/cVoDaziScheme.h"
#include "fb2/cFictionBook2.h"
#include "platform/base/Streams.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/layout/print/RPPrintableRP.h"
#include "richtext/layout/print/RPReportHelper.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream input;
  LoadFuzzInput(input, data, size);
  TFictionBook2 book;
  CapFuzzBookImages(book);
  book.Limits.MaxColSpan = 50;
  try {
    book.LoadFromStream(input);
  } catch (const Exception&) {
    return 0;
  }
  TRPStyle style(nullptr);
  TRPReportHelper helper(nullptr);
  helper.RichPane().SetStyle(&style);
  TVoDaziScheme scheme;
  scheme.PageWidth = 120;
  scheme.PageHeight = 160;
  TInternalLinks links;
  TFB2RPConvertor builder;
  builder.Limits.MaxNesting = 200;
  try {
    builder.Convert(book, helper.RichPane(), nullptr, links, scheme);
  } catch (const Exception&) {
    return 0;
  }
  TBitmap page;
  page.SetPixelFormat(pf24bit);
  page.SetSize(8, 8);
  try {
    helper.BeginLayout(*page.Canvas(), 120);
    for (int32_t pages = 0; helper.LayoutNextPage(160); ++pages)
      if (pages > 100000) std::abort();
  } catch (const Exception&) {
    // the layout's own bound
  }
  return 0;
}
