// A whole book through the per-book driver at the default scheme (600 x 800, four grays,
// header on every page but the first, cover): the 100,000-word book of mkbook.py with
// its cover, loaded, laid out, its cover prepared, and saved as a Wolf file, once with
// every page encoded on the calling thread and once with encoder threads.
//
// Until the FB2-to-rich-text builder joins the driver, the document is made from the
// book's paragraphs by the layout benchmark's reader (body text at the default scheme's
// 18-point Arial, titles bold), so the page count is close to what the builder gives.
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>

#include <benchmark/benchmark.h>

#include "../richtext_layout/BookText.h"
#include "convert/cFB2WolConvertor.h"
#include "platform/base/CodePages.h"

namespace {

const char* const BookFile = "/tmp/qf_bench_convert_book.fb2";
const char* const WolFile = "/tmp/qf_bench_convert_book.wol";

double PeakMemoryMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

bool MakeBook() {
  const std::string command =
      "/usr/bin/python3 '" QF_MKBOOK "' " + std::string(BookFile) + " --words 100000 --make-cover > /dev/null";
  return std::system(command.c_str()) == 0;
}

void ConvertBook(benchmark::State& state) {
  static const bool made = MakeBook();
  static const std::vector<TBookParagraph> paragraphs = BookParagraphs();
  if (!made || paragraphs.empty()) {
    state.SkipWithError("the book generator " QF_MKBOOK " did not run (python3-pil is needed for the cover)");
    return;
  }
  using Clock = std::chrono::steady_clock;
  double load = 0, build = 0, format = 0, cover = 0, save = 0;
  auto ms = [](Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); };
  int32_t pages = 0;
  for (auto _ : state) {
    TFB2WolConvertor driver;
    driver.EncoderThreads = static_cast<int32_t>(state.range(0));
    const auto t0 = Clock::now();
    driver.LoadBook(AnsiToWide(BookFile, CP_UTF8));
    const auto t1 = Clock::now();
    SetUpBookStyle(driver.Style);
    driver.Style.TextStyles()[0]->Size = driver.Scheme.Styles(vsSectionText).BaseFontSize;
    driver.Style.TextStyles()[driver.Style.TextStyles().Count() - 1]->Size = driver.Scheme.Styles(vsSectionTitle).BaseFontSize;
    AddBookParagraphs(driver.Report.RichPane().RPData(), paragraphs, driver.Style);
    const auto t2 = Clock::now();
    driver.FormatPages();
    const auto t3 = Clock::now();
    driver.PrepareCover();
    const auto t4 = Clock::now();
    driver.SaveWolf(AnsiToWide(WolFile, CP_UTF8));
    const auto t5 = Clock::now();
    load += ms(t0, t1), build += ms(t1, t2), format += ms(t2, t3), cover += ms(t3, t4), save += ms(t4, t5);
    pages = driver.PageCount;
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["pages"] = pages;
  state.counters["pages/s"] = benchmark::Counter(pages * n, benchmark::Counter::kIsRate);
  state.counters["ms/page"] = (load + build + format + cover + save) / n / pages;
  state.counters["load ms"] = load / n;
  state.counters["document ms"] = build / n;
  state.counters["format ms"] = format / n;
  state.counters["cover ms"] = cover / n;
  state.counters["save ms"] = save / n;
  state.counters["peak MiB"] = PeakMemoryMiB();
  std::remove(WolFile);
}

// Argument: encoder threads (0: every page encoded on the calling thread).
BENCHMARK(ConvertBook)->Arg(0)->Arg(3)->Arg(6)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace
