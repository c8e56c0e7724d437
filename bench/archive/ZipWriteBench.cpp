// Writing a zip of book-like text through the archive's save road (our deflate, the paged
// work stream, the temporary file moved into place) beside Debian's `zip -6` on the same
// files. Both run as wall-clock time, since zip is another process. The counter "ratio"
// is the archive's size as a share of the input.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "archive/ArZipInsert.h"
#include "archive/ArchiveTestSupport.h"

namespace {

constexpr int FileCount = 8;
constexpr size_t FileBytes = 2u << 20;

// The input files, written once: book0.fb2 to book7.fb2.
const TTempFolder& Books() {
  static const TTempFolder folder;
  static const bool written = [] {
    for (int i = 0; i < FileCount; ++i)
      WriteFileBytes(folder / ("book" + std::to_string(i) + ".fb2"),
                     BookLikeText(FileBytes, 100 + static_cast<uint32_t>(i)));
    return true;
  }();
  (void)written;
  return folder;
}

void SetCounters(benchmark::State& state, const std::string& archive) {
  state.SetBytesProcessed(state.iterations() * int64_t{FileCount} * static_cast<int64_t>(FileBytes));
  state.counters["ratio"] = static_cast<double>(ReadFileBytes(archive).size()) / (FileCount * double(FileBytes));
}

void OurZipWriting(benchmark::State& state) {
  const TTempFolder& books = Books();
  std::string archive = books / "ours.zip";
  for (auto _ : state) {
    std::remove(archive.c_str());
    TArZipArchive zip(archive, fmShareDenyNone);
    zip.InsertHelper = InsertZipItem;
    zip.StoreOptions = soStripPath;
    for (int i = 0; i < FileCount; ++i) zip.AddItem(zip.NewItem(books / ("book" + std::to_string(i) + ".fb2")));
    zip.SaveChanges();
  }
  SetCounters(state, archive);
}

void DebianZip6(benchmark::State& state) {
  const TTempFolder& books = Books();
  for (auto _ : state) RunIn(books, "rm -f theirs.zip && zip -q -6 theirs.zip book*.fb2");
  SetCounters(state, books / "theirs.zip");
}

BENCHMARK(OurZipWriting)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DebianZip6)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
