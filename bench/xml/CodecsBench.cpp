// Decoding 10 MB of book text to UTF-16: UTF-8 and Windows-1251 through the string
// operation and through the character reader the parser uses, beside glibc iconv on the
// same bytes.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <vector>

#include "platform/base/Streams.h"
#include "xml/codecs/SingleByteCodecs.h"
#include "xml/codecs/UCS4Reader.h"
#include "xml/codecs/Utf8Codec.h"

namespace {

constexpr size_t TextBytes = 10 * 1024 * 1024;

// Russian prose with Latin words, punctuation and line ends, as a book's text runs.
const WideString Paragraph =
    u"Съешь же ещё этих мягких французских булок, да выпей чаю. The quick brown fox jumps over the lazy dog — "
    u"«Война и мир», 1869. Князь Андрей Болконский смотрел на небо над Аустерлицем.\r\n";

// The paragraph encoded by codec, repeated up to TextBytes.
AnsiString BookText(TCustomUnicodeCodec& codec) {
  const AnsiString paragraph = codec.EncodeFromWideString(Paragraph);
  AnsiString text;
  text.reserve(TextBytes + paragraph.size());
  while (text.size() < TextBytes) text += paragraph;
  text.resize(TextBytes);
  return text;
}

const AnsiString& Utf8Text() {
  static const AnsiString text = [] {
    TUTF8Codec codec;
    AnsiString t = BookText(codec);
    while ((static_cast<unsigned char>(t.back()) & 0xC0) == 0x80 || static_cast<unsigned char>(t.back()) >= 0xC0)
      t.pop_back();  // end on a whole character
    return t;
  }();
  return text;
}

const AnsiString& Windows1251Text() {
  static const AnsiString text = [] {
    TWindows1251Codec codec;
    return BookText(codec);
  }();
  return text;
}

template <class TCodec>
void DecodeToWideString(benchmark::State& state, const AnsiString& text) {
  TCodec codec;
  for (auto _ : state) {
    WideString result =
        codec.DecodeToWideString(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int32_t>(text.size()));
    benchmark::DoNotOptimize(result.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_Utf8DecodeToWideString(benchmark::State& state) { DecodeToWideString<TUTF8Codec>(state, Utf8Text()); }
void BM_Windows1251DecodeToWideString(benchmark::State& state) {
  DecodeToWideString<TWindows1251Codec>(state, Windows1251Text());
}

void ReadAllCharacters(benchmark::State& state, const AnsiString& text, TUnicodeCodecClass codecClass) {
  for (auto _ : state) {
    TStringStream stream(text);
    TUtilsUCS4Reader reader(&stream, codecClass, 65536, 0, 0, 0, 0, 1);
    int64_t lines = 0;
    for (reader.Next(); !reader.AtEnd(); reader.Next()) lines += reader.CurrentPos().Char == 10;
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_Utf8CharacterReader(benchmark::State& state) {
  ReadAllCharacters(state, Utf8Text(), CodecClassOf<TUTF8Codec>());
}
void BM_Windows1251CharacterReader(benchmark::State& state) {
  ReadAllCharacters(state, Windows1251Text(), CodecClassOf<TWindows1251Codec>());
}

void IconvToUtf16(benchmark::State& state, const AnsiString& text, const char* from) {
  std::vector<char> out(text.size() * 2 + 16);
  for (auto _ : state) {
    iconv_t cd = iconv_open("UTF-16LE", from);
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_Utf8IconvPeer(benchmark::State& state) { IconvToUtf16(state, Utf8Text(), "UTF-8"); }
void BM_Windows1251IconvPeer(benchmark::State& state) { IconvToUtf16(state, Windows1251Text(), "CP1251"); }

}  // namespace

BENCHMARK(BM_Utf8DecodeToWideString)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Windows1251DecodeToWideString)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Utf8CharacterReader)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Windows1251CharacterReader)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Utf8IconvPeer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Windows1251IconvPeer)->Unit(benchmark::kMillisecond);
