// Gzip files, in the one-item view and the gzipped-tar view: any bytes must either load
// or raise an archive or inflate exception; extracting and testing report failures
// through the item-failure event or the gzip and inflate exceptions.
#include <cstdint>

#include "ArchiveFuzz.h"
#include "archive/ArGzTyp.h"

namespace {

void Exercise(TMemoryStream& original, bool tarView) {
  // Saving rewrites the stream: each view works on its own copy.
  TMemoryStream input;
  input.LoadFromStream(original);
  input.SetPosition(0);
  TArGzipArchive archive(input, "fuzz.gz");
  archive.HoldsTar = archive.TarAutoHandle = tarView;
  archive.Limits.MaxExpandedBytes = 16 << 20;
  FuzzArchive(archive, archive.Limits.MaxExpandedBytes, [&](int32_t i) { archive.TestEntry(i); });
  FuzzSave(archive, input, [tarView](TStream& saved) {
    auto again = std::make_unique<TArGzipArchive>(saved, "saved.gz");
    again->HoldsTar = again->TarAutoHandle = tarView;
    again->Limits.MaxExpandedBytes = 16 << 20;
    return again;
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream input;
  if (size) input.WriteBuffer(data, static_cast<int32_t>(size));
  input.SetPosition(0);
  CheckGzipContent(input);
  Exercise(input, false);
  Exercise(input, true);
  return 0;
}
