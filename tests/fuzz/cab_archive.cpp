// Cabinet files, read through the cabinet library: any bytes must either load or raise
// an archive exception and leave no entries; extracting and testing every entry report
// failures through the item-failure event or the cabinet exceptions, and extracting to
// files creates nothing outside the target folder.
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "ArchiveFuzz.h"
#include "FuzzScratchFolder.h"
#include "archive/ArCabTyp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TFuzzScratchFolder scratch;
  std::string path = scratch.Write("in.cab", std::string_view(reinterpret_cast<const char*>(data), size));
  std::string target = scratch.Path() + "/target/deep";
  std::filesystem::create_directories(target);
  TArCabArchive archive(path, fmShareDenyNone);
  archive.Limits.MaxExpandedBytes = 16 << 20;
  FuzzArchive(archive, archive.Limits.MaxExpandedBytes, [&](int32_t i) { archive.TestEntry(i); });
  archive.SetBaseDirectory(target);
  archive.ExtractOptions = eoCreateDirs | eoRestorePath;
  for (int32_t i = 0; i < archive.Count(); ++i) archive.ExtractEntry(i, "");
  // The input and the target's folders hold everything there is.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(scratch.Path())) {
    std::string found = entry.path().string();
    if (found != path && found.rfind(scratch.Path() + "/target", 0) != 0) std::abort();
  }
  return 0;
}
