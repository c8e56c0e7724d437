// Soft hyphenation of a whole book's text: the 100,000-word Russian and English book of
// mkbook.py, its paragraphs' text taken out of the FB2 markup, hyphenated paragraph by
// paragraph as the builder does for styles with hyphenation on. Bytes processed are the
// UTF-16 text's bytes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BenchBook.h"
#include "convert/uHyphenateGU.h"
#include "unicode/UniSystem.h"

namespace {

// The text of every <p> and <v>, tags dropped and the five entities resolved.
std::vector<WideString> Paragraphs(const std::string& book) {
  std::vector<WideString> paragraphs;
  std::string text;
  bool inTag = false;
  for (size_t i = 0; i < book.size(); ++i) {
    const char c = book[i];
    if (c == '<') {
      inTag = true;
      if (book.compare(i, 4, "</p>") == 0 || book.compare(i, 4, "</v>") == 0) {
        paragraphs.push_back(Utf8ToWide(text));
        text.clear();
      }
    } else if (c == '>') {
      inTag = false;
    } else if (!inTag) {
      if (c == '&') {
        static const std::pair<const char*, char> entities[] = {
            {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
        for (const auto& [entity, value] : entities)
          if (book.compare(i, std::char_traits<char>::length(entity), entity) == 0) {
            text += value;
            i += std::char_traits<char>::length(entity) - 1;
            break;
          }
      } else {
        text += c;
      }
    }
  }
  return paragraphs;
}

void BM_HyphenateBook(benchmark::State& state) {
  static const std::vector<WideString> paragraphs = Paragraphs(MakeBenchBook(""));
  if (paragraphs.empty()) {
    state.SkipWithError("mkbook.py could not make the book");
    return;
  }
  int64_t bytes = 0;
  for (const WideString& p : paragraphs) bytes += static_cast<int64_t>(p.size() * sizeof(WideChar));
  for (auto _ : state)
    for (const WideString& p : paragraphs) benchmark::DoNotOptimize(Hyphenate(p));
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["paragraphs"] = static_cast<double>(paragraphs.size());
}
BENCHMARK(BM_HyphenateBook)->Unit(benchmark::kMillisecond);

}  // namespace
