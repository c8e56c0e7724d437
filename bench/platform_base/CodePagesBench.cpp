// Code-page conversion of a 1 MiB text: our conversions beside glibc iconv on the same
// bytes (the floor for the 8-bit code pages, which go through it).
#include <iconv.h>

#include <string>

#include <benchmark/benchmark.h>

#include "platform/base/CodePages.h"

namespace {

// Russian prose in Windows-1251 with ASCII spaces and punctuation, 1 MiB.
AnsiString Cyrillic1251() {
  const AnsiString line =
      "\xD1\xFA\xE5\xF8\xFC \xE5\xF9\xB8 \xFD\xF2\xE8\xF5 \xEC\xFF\xE3\xEA\xE8\xF5 "
      "\xF4\xF0\xE0\xED\xF6\xF3\xE7\xF1\xEA\xE8\xF5 \xE1\xF3\xEB\xEE\xEA, "
      "\xE4\xE0 \xE2\xFB\xEF\xE5\xE9 \xF7\xE0\xFE.\r\n";
  AnsiString text;
  while (text.size() < (1u << 20)) text += line;
  return text;
}

void AnsiToWide1251(benchmark::State& state) {
  const AnsiString text = Cyrillic1251();
  for (auto _ : state) benchmark::DoNotOptimize(AnsiToWide(text, 1251));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void WideToAnsi1251(benchmark::State& state) {
  const WideString wide = AnsiToWide(Cyrillic1251(), 1251);
  for (auto _ : state) benchmark::DoNotOptimize(WideToAnsi(wide, 1251));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * wide.size() * sizeof(WideChar)));
}

void Utf8ToWide(benchmark::State& state) {
  const AnsiString utf8 = WideToAnsi(AnsiToWide(Cyrillic1251(), 1251), CP_UTF8);
  for (auto _ : state) benchmark::DoNotOptimize(AnsiToWide(utf8, CP_UTF8));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * utf8.size()));
}

void IconvAlone1251(benchmark::State& state) {
  AnsiString text = Cyrillic1251();
  std::string out(text.size() * 2, '\0');
  iconv_t cd = iconv_open("UTF-16LE", "CP1251");
  for (auto _ : state) {
    char* in = text.data();
    char* to = out.data();
    size_t inLeft = text.size(), outLeft = out.size();
    iconv(cd, &in, &inLeft, &to, &outLeft);
    benchmark::DoNotOptimize(out.data());
  }
  iconv_close(cd);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

}  // namespace

BENCHMARK(AnsiToWide1251);
BENCHMARK(WideToAnsi1251);
BENCHMARK(Utf8ToWide);
BENCHMARK(IconvAlone1251);
