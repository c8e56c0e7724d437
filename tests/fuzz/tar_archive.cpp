// Tar files: any bytes must either load or raise an archive exception, and extracting
// or testing every listed entry must report failures through the item-failure event,
// never crash, hang or read outside the input.
#include <cstdint>

#include "ArchiveFuzz.h"
#include "archive/ArTarTyp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream input;
  if (size) input.WriteBuffer(data, static_cast<int32_t>(size));
  input.SetPosition(0);
  CheckTarContent(input);
  TArTarArchive archive(input, "fuzz.tar");
  archive.Limits.MaxExpandedBytes = 16 << 20;
  // An entry's data lies inside the input.
  FuzzArchive(archive, static_cast<int64_t>(size), [&](int32_t i) { archive.TestEntry(i); });
  FuzzSave(archive, input, [](TStream& saved) { return std::make_unique<TArTarArchive>(saved, "saved.tar"); });
  return 0;
}
