// UTF-7 over 1 MiB of mixed Cyrillic and ASCII text beside glibc iconv's UTF-7 decoder,
// and WideFormat (canonicaliser plus the platform's Format) beside Format alone.
#include <iconv.h>

#include <string>

#include <benchmark/benchmark.h>

#include "platform/base/Format.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"

namespace {

// Russian prose with ASCII spaces and punctuation, about 1 MiB as UTF-16.
WideString MixedText() {
  const WideString line =
      u"\u0421\u044a\u0435\u0448\u044c \u0435\u0449\u0451 \u044d\u0442\u0438\u0445 "
      u"\u043c\u044f\u0433\u043a\u0438\u0445 \u0431\u0443\u043b\u043e\u043a, "
      u"\u0434\u0430 \u0432\u044b\u043f\u0435\u0439 \u0447\u0430\u044e. (1 + 2)\r\n";
  WideString text;
  while (text.size() * sizeof(WideChar) < (1u << 20)) text += line;
  return text;
}

void WideToUtf7Mixed(benchmark::State& state) {
  const WideString text = MixedText();
  for (auto _ : state) benchmark::DoNotOptimize(WideToUtf7(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size() * sizeof(WideChar)));
}

void Utf7ToWideMixed(benchmark::State& state) {
  const AnsiString utf7 = WideToUtf7(MixedText());
  for (auto _ : state) benchmark::DoNotOptimize(Utf7ToWide(utf7));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * utf7.size()));
}

void IconvUtf7ToUtf16(benchmark::State& state) {
  AnsiString utf7 = WideToUtf7(MixedText());
  std::string out(utf7.size() * 2, '\0');
  iconv_t cd = iconv_open("UTF-16LE", "UTF-7");
  for (auto _ : state) {
    char* in = utf7.data();
    char* to = out.data();
    size_t inLeft = utf7.size(), outLeft = out.size();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    iconv(cd, &in, &inLeft, &to, &outLeft);
    benchmark::DoNotOptimize(out.data());
  }
  iconv_close(cd);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * utf7.size()));
}

const WideString kMessage = u"Start converting \"%s\"... page %d of %d, %.1f%% done";
const WideString kFileName =
    u"/home/\u0447\u0438\u0442\u0430\u0442\u0435\u043b\u044c/books/\u041a\u043d\u0438\u0433\u0430.fb2";

void WideFormatMessage(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(WideFormat(kMessage, {kFileName, 12, 345, 3.47}));
}

void PlatformFormatMessage(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Format(WideStringView(kMessage), {kFileName, 12, 345, 3.47}));
}

}  // namespace

BENCHMARK(WideToUtf7Mixed);
BENCHMARK(Utf7ToWideMixed);
BENCHMARK(IconvUtf7ToUtf16);
BENCHMARK(WideFormatMessage);
BENCHMARK(PlatformFormatMessage);
