// Tar files: any bytes must either load or raise an archive exception, and extracting
// or testing every listed entry must report failures through the item-failure event,
// never crash, hang or read outside the input.
#include <cstdint>
#include <cstdlib>

#include "archive/ArTarTyp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream input;
  if (size) input.WriteBuffer(data, static_cast<int32_t>(size));
  input.SetPosition(0);
  CheckTarContent(input);
  TArTarArchive archive(input, "fuzz.tar");
  archive.Limits.MaxExpandedBytes = 16 << 20;
  archive.OnProcessItemFailure = [](TObject*, TArArchiveItem*, TArProcessType, TArErrorClass, int32_t) {};
  try {
    archive.LoadContents();
  } catch (const EArException&) {
    if (archive.Count() != 0) std::abort();
    return 0;
  }
  for (int32_t i = 0; i < archive.Count(); ++i) {
    TMemoryStream out;
    archive.ExtractItem(*archive.Items(i), out);
    // An entry's data lies inside the input.
    if (out.Size() > static_cast<int64_t>(size)) std::abort();
    try {
      archive.TestEntry(i);
    } catch (const EArException&) {
    }
  }
  return 0;
}
