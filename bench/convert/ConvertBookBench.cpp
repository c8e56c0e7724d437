// A whole book through the per-book driver at the default scheme (600 x 800, four grays,
// header on every page but the first, cover): the 100,000-word book of mkbook.py with
// its cover, loaded, built, laid out with its cover prepared, and saved as a Wolf file;
// once with every page encoded on the calling thread and once with encoder threads; and
// the same book with its letters replaced by CJK ideographs, which the style's face lacks.
// The time of each stage is taken from the driver's own stage reports.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>

#include <benchmark/benchmark.h>

#include "BenchBook.h"
#include "convert/cFB2WolConvertor.h"
#include "platform/base/CodePages.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPTextItems.h"

namespace {

const char* const BookFile = "/tmp/qf_bench_convert_book.fb2";
const char* const CjkBookFile = "/tmp/qf_bench_convert_cjk_book.fb2";
const char* const WolFile = "/tmp/qf_bench_convert_book.wol";

double PeakMemoryMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

bool WriteBooks() {
  const std::string book = MakeBenchBook("--make-cover");
  if (book.empty()) return false;
  std::ofstream(BookFile, std::ios::binary) << book;
  std::ofstream(CjkBookFile, std::ios::binary) << ToCjkBook(book);
  return true;
}

void Convert(benchmark::State& state, const char* bookFile) {
  static const bool written = WriteBooks();
  if (!written) {
    state.SkipWithError("the book generator " QF_MKBOOK " did not run (python3-pil is needed for the cover)");
    return;
  }
  using Clock = std::chrono::steady_clock;
  std::map<WideString, double> stageMs;  // by stage text
  int32_t pages = 0;
  for (auto _ : state) {
    TFB2WolConvertor driver;
    driver.EncoderThreads = static_cast<int32_t>(state.range(0));
    WideString stage;
    Clock::time_point since = Clock::now();
    driver.OnProgress = [&](const WideString& message, int32_t, bool&) {
      if (message == stage) return;
      const Clock::time_point now = Clock::now();
      if (!stage.empty()) stageMs[stage] += std::chrono::duration<double, std::milli>(now - since).count();
      stage = message;
      since = now;
    };
    driver.LoadBook(AnsiToWide(bookFile, CP_UTF8));
    driver.ConvertBook();
    driver.SaveWolf(AnsiToWide(WolFile, CP_UTF8));
    stageMs[stage] += std::chrono::duration<double, std::milli>(Clock::now() - since).count();
    pages = driver.PageCount;
  }
  const auto n = static_cast<double>(state.iterations());
  double total = 0;
  for (const auto& [name, ms] : stageMs) total += ms;
  state.counters["pages"] = pages;
  state.counters["pages/s"] = benchmark::Counter(pages * n, benchmark::Counter::kIsRate);
  state.counters["ms/page"] = total / n / pages;
  state.counters["load ms"] = stageMs[u"Loading..."] / n;
  state.counters["build ms"] = stageMs[u"Converting..."] / n;
  state.counters["format+cover ms"] = stageMs[u"Format pages..."] / n;
  state.counters["save ms"] = stageMs[u"Save WOL..."] / n;
  state.counters["peak MiB"] = PeakMemoryMiB();
  std::remove(WolFile);
}

void ConvertBook(benchmark::State& state) { Convert(state, BookFile); }
// The same book in CJK ideographs, which the style's face lacks: fallback and shaping.
void ConvertCjkBook(benchmark::State& state) { Convert(state, CjkBookFile); }

// Argument: encoder threads (0: every page encoded on the calling thread).
BENCHMARK(ConvertCjkBook)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(ConvertBook)->Arg(0)->Arg(3)->Arg(6)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace
