// Gzip files, in the one-item view and the gzipped-tar view: any bytes must either load
// or raise an archive or inflate exception; extracting and testing report failures
// through the item-failure event or the gzip and inflate exceptions.
#include <cstdint>
#include <cstdlib>

#include "archive/ArGzTyp.h"

namespace {

void Exercise(TMemoryStream& input, bool tarView) {
  input.SetPosition(0);
  TArGzipArchive archive(input, "fuzz.gz");
  archive.HoldsTar = archive.TarAutoHandle = tarView;
  archive.Limits.MaxExpandedBytes = 16 << 20;
  archive.OnProcessItemFailure = [](TObject*, TArArchiveItem*, TArProcessType, TArErrorClass, int32_t) {};
  try {
    archive.LoadContents();
  } catch (const EArException&) {
    if (archive.Count() != 0) std::abort();
    return;
  } catch (const EArInflateError&) {
    if (archive.Count() != 0) std::abort();
    return;
  }
  for (int32_t i = 0; i < archive.Count(); ++i) {
    TMemoryStream out;
    archive.ExtractItem(*archive.Items(i), out);
    if (out.Size() > archive.Limits.MaxExpandedBytes) std::abort();
    try {
      archive.TestEntry(i);
    } catch (const EArException&) {
    } catch (const EArInflateError&) {
    }
  }
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
