// Zip files are the converter's untrusted input: any bytes must either load or raise an
// archive exception, and extracting or testing every entry of a loaded archive must
// report failures through the item-failure event, never crash, hang or read outside
// the input.
#include <cstdint>
#include <cstdlib>

#include "archive/ArZipExtract.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream input;
  if (size) input.WriteBuffer(data, static_cast<int32_t>(size));
  input.SetPosition(0);
  TArZipArchive archive(input, "fuzz.zip");
  archive.Limits.MaxExpandedBytes = 16 << 20;
  archive.Password = "pass";
  archive.ExtractToStreamHelper = [](TArZipArchive& a, TArZipItem& item, TStream& stream) {
    ExtractZipItemToStream(a, item, &stream);
  };
  archive.TestHelper = TestZipItem;
  int failures = 0;
  archive.OnProcessItemFailure = [&](TObject*, TArArchiveItem*, TArProcessType, TArErrorClass, int32_t) {
    ++failures;
  };
  try {
    archive.LoadContents();
  } catch (const EArException&) {
    if (archive.Count() != 0) std::abort();
    return 0;
  }
  for (int32_t i = 0; i < archive.Count(); ++i) {
    TMemoryStream out;
    archive.ExtractItem(*archive.Items(i), out);
    if (out.Size() > archive.Items(i)->UncompressedSize()) std::abort();
    try {
      archive.TestEntry(i);
    } catch (const EArException&) {
    } catch (const EArInflateError&) {
    }
  }
  return 0;
}
