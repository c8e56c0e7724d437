// A zipped book as the converter's driver reads it, in the middle of a batch: after a
// good book, any bytes in a file named ".zip" either load a book or raise an exception of
// ours, and a failed load leaves the driver empty (no earlier book stays behind). The good
// book loaded again must then load whole, so a failure cannot spoil the next book.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "FuzzScratchFolder.h"
#include "FuzzSkipChecksums.h"
#include "convert/cFB2WolConvertor.h"
#include "platform/base/Exception.h"
#include "platform/base/FileSystemNames.h"

namespace {

constexpr std::string_view GoodBook =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><FictionBook><description><title-info><book-title>Good"
    "</book-title></title-info></description><body><section><p>text</p></section></body></FictionBook>";

bool IsEmpty(const TFB2WolConvertor& driver) {
  return driver.FileName.empty() && !driver.HasBook() && driver.Description.Title.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TFuzzScratchFolder folder;
  const std::string zip = folder.Write("book.zip", std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string good = folder.Write("good.fb2", GoodBook);
  TFB2WolConvertor driver;
  driver.LoadBook(FileSystemNameToWide(good));
  try {
    driver.LoadBook(FileSystemNameToWide(zip));
    if (driver.FileName.empty()) std::abort();
  } catch (const Exception&) {
    if (!IsEmpty(driver)) std::abort();
  }
  driver.LoadBook(FileSystemNameToWide(good));
  if (!driver.HasBook() || driver.Description.Title != u"Good") std::abort();
  return 0;
}
