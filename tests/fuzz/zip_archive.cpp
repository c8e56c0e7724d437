// Zip files are the converter's untrusted input: any bytes must either load or raise an
// archive exception, and extracting or testing every entry of a loaded archive must
// report failures through the item-failure event, never crash, hang or read outside
// the input.
//
// An input holding the separator "QFVOLUME" is also a multi-volume set: its parts are
// written as set.z01, set.z02, ... and, last, set.zip, which is opened by name, so that
// the directory and the entries are read across volumes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ArchiveFuzz.h"
#include "FuzzScratchFolder.h"
#include "archive/ArZipExtract.h"

namespace {

constexpr std::string_view VolumeSeparator = "QFVOLUME";
// A set has at most 99 volumes; inputs with more parts are cut there.
constexpr int MaxVolumes = 99;

void Exercise(TArZipArchive& archive) {
  archive.Limits.MaxExpandedBytes = 16 << 20;
  archive.Password = "pass";
  archive.ExtractToStreamHelper = [](TArZipArchive& a, TArZipItem& item, TStream& stream) {
    ExtractZipItemToStream(a, item, &stream);
  };
  archive.TestHelper = TestZipItem;
  archive.OnProcessItemFailure = [](TObject*, TArArchiveItem*, TArProcessType, TArErrorClass, int32_t) {};
  try {
    archive.LoadContents();
  } catch (const EArException&) {
    if (archive.Count() != 0) std::abort();
    return;
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
}

void ExerciseVolumes(std::string_view input) {
  TFuzzScratchFolder folder;
  std::string last;
  for (int volume = 1;; ++volume) {
    size_t cut = input.find(VolumeSeparator);
    if (cut == std::string_view::npos || volume == MaxVolumes) {
      last = folder.Write("set.zip", input);
      break;
    }
    std::string name = volume < 10 ? "set.z0" + std::to_string(volume) : "set.z" + std::to_string(volume);
    folder.Write(name, input.substr(0, cut));
    input.remove_prefix(cut + VolumeSeparator.size());
  }
  try {
    TArZipArchive archive(last, fmShareDenyNone);
    Exercise(archive);
  } catch (const EArException&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TMemoryStream input;
  if (size) input.WriteBuffer(data, static_cast<int32_t>(size));
  input.SetPosition(0);
  TArZipArchive archive(input, "fuzz.zip");
  Exercise(archive);
  FuzzSave(archive, input, [](TStream& saved) { return std::make_unique<TArZipArchive>(saved, "saved.zip"); });
  if (bytes.find(VolumeSeparator) != std::string_view::npos) ExerciseVolumes(bytes);
  return 0;
}
