// Parsing a 10 MB FB2-like book into a DOM the way the book model does (8192-byte
// buffer, comments dropped, CDATA and predefined entities as text, a DTD validation
// agent for the internal subset), beside libxml2's xmlReadMemory on the same bytes: the
// time of both in one run and their ratio, the peak of memory per megabyte of input,
// and the same book in windows-1251 read from a file against read from memory. Then
// the inputs that once grew faster than linearly: text of many references, an element
// of many attributes, a file of empty elements, and entities that refer to each other
// ten times a level ("billion laughs") on the book's road and on the validating path.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <malloc.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/base/FileSystem.h"
#include "platform/base/Streams.h"
#include "xml/XmlAllocationMeter.h"
#include "xml/codecs/SingleByteCodecs.h"
#include "xml/codecs/Utf8Codec.h"
#include "xml/dom/DomImplementation.h"
#include "xml/dtd/DtdValidationAgent.h"
#include "xml/parser/XmlHandlers.h"
#include "xml/parser/XmlToDomParser.h"

namespace {

constexpr size_t BookBytes = 10 * 1024 * 1024;
constexpr double Megabyte = 1024.0 * 1024.0;

// The book's text with `encoding` in its declaration.
std::string MakeBook(const std::string& encoding) {
  std::string text = "<?xml version=\"1.0\" encoding=\"" + encoding +
                     "\"?>\n"
                     "<FictionBook xmlns=\"http://www.gribuser.ru/xml/fictionbook/2.0\" "
                     "xmlns:l=\"http://www.w3.org/1999/xlink\">\n<description><title-info><genre>prose_classic</genre>"
                     "<author><first-name>Лев</first-name><last-name>Толстой</last-name></author>"
                     "<book-title>Война и мир</book-title><lang>ru</lang></title-info></description>\n<body>\n";
  const std::string section =
      "<section id=\"s%\"><title><p>Глава %</p></title>\n"
      "<p>Съешь же ещё этих мягких французских булок, да выпей чаю. The quick brown fox jumps over the "
      "lazy dog — «Война и мир», 1869.</p>\n"
      "<p>Князь Андрей <emphasis>Болконский</emphasis> смотрел на небо над Аустерлицем &amp; "
      "думал<a l:href=\"#n%\" type=\"note\">[%]</a>.</p>\n<empty-line/>\n"
      "<p><strong>— Да!</strong> сказал он, &#8212; и замолчал.</p>\n</section>\n";
  for (int i = 0; text.size() < BookBytes - 200; ++i) {
    std::string s = section;
    for (size_t at; (at = s.find('%')) != std::string::npos;) s.replace(at, 1, std::to_string(i));
    text += s;
  }
  return text + "</body>\n</FictionBook>\n";
}

const std::string& Book() {
  static const std::string book = MakeBook("UTF-8");
  return book;
}

// The same book in windows-1251, in memory and in a file.
const std::string& Book1251() {
  static const std::string book = [] {
    const std::string utf8 = MakeBook("windows-1251");
    TUTF8Codec decoder;
    const WideString text =
        decoder.DecodeToWideString(reinterpret_cast<const uint8_t*>(utf8.data()), static_cast<int32_t>(utf8.size()));
    TWindows1251Codec encoder;
    return encoder.EncodeFromWideString(text);
  }();
  return book;
}

const std::string& Book1251File() {
  static const std::string path = [] {
    const std::string name = (std::filesystem::temp_directory_path() / "qf-bench-book-1251.fb2").string();
    std::ofstream(name, std::ios::binary) << Book1251();
    return name;
  }();
  return path;
}

// A parser set up as the book model sets up its own.
struct TBookParser {
  TDomImplementation Implementation{nullptr};
  TXmlToDomParser Parser{nullptr};
  TBookParser() {
    InstallDtdValidation(Implementation);
    Parser.SetDOMImpl(&Implementation);
    Parser.SetBufferSize(8192);
    Parser.SetKeepCDATASections(false);
    Parser.SetKeepComments(false);
    Parser.SetKeepEntityRefs(false);
  }
  // Parses and frees; false when the parse failed.
  bool Parse(TStream& stream) {
    bool parsed = true;
    try {
      benchmark::DoNotOptimize(Parser.ParseStream(&stream, u"FB2", nullptr, true));
    } catch (const EParserException&) {
      parsed = false;
    }
    Implementation.FreeAllDocuments();
    return parsed;
  }
  bool Parse(const std::string& text) {
    TStringStream stream(text);
    return Parse(stream);
  }
};

void ParseWithLibxml2(const std::string& text) {
  xmlDoc* doc = xmlReadMemory(text.data(), int(text.size()), "FB2", nullptr, XML_PARSE_NONET);
  benchmark::DoNotOptimize(doc);
  xmlFreeDoc(doc);
}

// The processor time of this thread for `work`: other processes on the machine do not
// count.
double MillisecondsOf(auto&& work) {
  const auto now = [] {
    timespec time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return double(time.tv_sec) * 1e3 + double(time.tv_nsec) / 1e6;
  };
  const double start = now();
  work();
  return now() - start;
}

// libxml2's own allocations, counted through its memory hooks.
struct TLibxml2Memory {
  static inline size_t Live = 0, Peak = 0;
  static void Count(void* block, bool added) {
    if (!block) return;
    const size_t bytes = malloc_usable_size(block);
    if (added) {
      Live += bytes;
      if (Live > Peak) Peak = Live;
    } else {
      Live -= bytes;
    }
  }
  static void* Malloc(size_t size) {
    void* block = malloc(size);
    Count(block, true);
    return block;
  }
  static void* Realloc(void* block, size_t size) {
    Count(block, false);
    void* moved = realloc(block, size);
    Count(moved ? moved : block, true);
    return moved;
  }
  static void Free(void* block) {
    Count(block, false);
    free(block);
  }
  static char* Strdup(const char* text) {
    char* copy = strdup(text);
    Count(copy, true);
    return copy;
  }
  static void Install() {
    static const bool installed = [] {
      xmlMemSetup(Free, Malloc, Realloc, Strdup);
      xmlInitParser();
      return true;
    }();
    (void)installed;
  }
};

void BM_ParseBookIntoDom(benchmark::State& state) {
  Book();  // made before the clock runs
  TBookParser parser;
  for (auto _ : state) parser.Parse(Book());
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Book().size()));
}

void BM_Libxml2ReadMemoryPeer(benchmark::State& state) {
  Book();
  for (auto _ : state) ParseWithLibxml2(Book());
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Book().size()));
}

// Both parsers on the book in one benchmark: "ratio" is our time over libxml2's. Each
// runs a series of its own, the first parse of a series unmeasured, so that neither
// pays for the heap the other left behind.
void BM_BookAgainstLibxml2(benchmark::State& state) {
  Book();
  TBookParser parser;
  constexpr int Series = 3;
  double ours = 0, theirs = 0;
  for (auto _ : state) {
    parser.Parse(Book());
    for (int i = 0; i < Series; ++i) ours += MillisecondsOf([&] { parser.Parse(Book()); });
    ParseWithLibxml2(Book());
    for (int i = 0; i < Series; ++i) theirs += MillisecondsOf([&] { ParseWithLibxml2(Book()); });
  }
  const double parses = double(state.iterations() * Series);
  state.counters["ours_ms"] = ours / parses;
  state.counters["libxml2_ms"] = theirs / parses;
  state.counters["ratio"] = ours / theirs;
}

// The highest memory alive while the book is parsed, per megabyte of input.
void BM_PeakMemoryPerMegabyte(benchmark::State& state) {
  Book();
  TBookParser parser;
  TLibxml2Memory::Install();
  double ours = 0, theirs = 0;
  for (auto _ : state) {
    {
      TAllocationMeter meter;
      parser.Parse(Book());
      ours = double(meter.PeakLiveBytes());
    }
    TLibxml2Memory::Peak = TLibxml2Memory::Live;
    const size_t before = TLibxml2Memory::Live;
    ParseWithLibxml2(Book());
    theirs = double(TLibxml2Memory::Peak - before);
  }
  const double megabytes = double(Book().size()) / Megabyte;
  state.counters["ours_bytes_per_MB"] = ours / megabytes;
  state.counters["libxml2_bytes_per_MB"] = theirs / megabytes;
}

void BM_Windows1251BookFromMemory(benchmark::State& state) {
  Book1251File();
  TBookParser parser;
  for (auto _ : state)
    if (!parser.Parse(Book1251())) state.SkipWithError("the book did not parse");
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Book1251().size()));
}

void BM_Windows1251BookFromDisk(benchmark::State& state) {
  Book1251File();
  TBookParser parser;
  for (auto _ : state) {
    TFileStream stream(Book1251File(), fmOpenRead);
    if (!parser.Parse(stream)) state.SkipWithError("the book did not parse");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Book1251().size()));
}

// ---- inputs that once grew faster than linearly ----

std::string Repeated(const std::string& piece, int count, const std::string& open, const std::string& close) {
  std::string text = open;
  for (int i = 0; i < count; ++i) text += piece;
  return text + close;
}

const std::string& CharacterReferences() {
  static const std::string text = Repeated("&#65;", 300000, "<a>", "</a>");
  return text;
}
const std::string& PredefinedEntities() {
  static const std::string text = Repeated("x&amp;", 300000, "<a>", "</a>");
  return text;
}
const std::string& ManyAttributes() {
  static const std::string text = [] {
    std::string tag = "<a";
    char attribute[40];
    for (int i = 0; i < 100000; ++i) {
      std::snprintf(attribute, sizeof attribute, " attribute-%06d='v'", i);
      tag += attribute;
    }
    return tag + "/>";
  }();
  return text;
}
const std::string& EmptyElements() {
  static const std::string text = Repeated("<e/>", int(BookBytes / 4), "<r>", "</r>");
  return text;
}
// Twelve levels of ten references each: 3 * 10^12 characters if expanded.
const std::string& Laughs() {
  static const std::string text = [] {
    std::string subset = "<!ENTITY l0 \"lol\">";
    for (int level = 1; level <= 12; ++level) {
      subset += "<!ENTITY l" + std::to_string(level) + " \"";
      for (int i = 0; i < 10; ++i) subset += "&l" + std::to_string(level - 1) + ";";
      subset += "\">";
    }
    return "<!DOCTYPE r [" + subset + "]><r>&l12;</r>";
  }();
  return text;
}

void ParseGrowthCase(benchmark::State& state, const std::string& text, bool withPeer) {
  TBookParser parser;
  double peak = 0, theirs = 0;
  for (auto _ : state) {
    TAllocationMeter meter;
    parser.Parse(text);
    peak = double(meter.PeakLiveBytes());
  }
  if (withPeer) {
    theirs = MillisecondsOf([&] { ParseWithLibxml2(text); });
    state.counters["libxml2_ms"] = theirs;
  }
  state.counters["peak_MB"] = peak / Megabyte;
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

void BM_TextOf300000CharacterReferences(benchmark::State& state) {
  ParseGrowthCase(state, CharacterReferences(), true);
}
void BM_TextOf300000PredefinedEntities(benchmark::State& state) { ParseGrowthCase(state, PredefinedEntities(), true); }
// libxml2 needs minutes here: its own check of repeated names is quadratic.
void BM_ElementOf100000Attributes(benchmark::State& state) { ParseGrowthCase(state, ManyAttributes(), false); }
void BM_TenMegabytesOfEmptyElements(benchmark::State& state) { ParseGrowthCase(state, EmptyElements(), true); }
// The book's road: the expansion ends with the budget (LimitExceeded).
void BM_BillionLaughsOnTheBooksRoad(benchmark::State& state) { ParseGrowthCase(state, Laughs(), false); }

// The validating path: parsed with its references kept, then validated with every
// reference replaced; the expansion ends with the budget.
void BM_BillionLaughsValidated(benchmark::State& state) {
  Laughs();
  TDomImplementation implementation(nullptr);
  InstallDtdValidation(implementation);
  TXmlToDomParser parser(nullptr);
  parser.SetDOMImpl(&implementation);
  parser.DomBuilder().DocTypeDeclTreatment = dtCheckValidity;
  parser.SetKeepEntityRefs(false);
  double peak = 0;
  for (auto _ : state) {
    TAllocationMeter meter;
    TStringStream stream(Laughs());
    TDomDocument* document = parser.ParseStream(&stream, u"laughs", nullptr, true);
    if (static_cast<TDtdValidationAgent*>(document->ValidationAgent())->ValidateDocument(etExpand))
      state.SkipWithError("the laughs validated");
    implementation.FreeAllDocuments();
    peak = double(meter.PeakLiveBytes());
  }
  state.counters["peak_MB"] = peak / Megabyte;
}

}  // namespace

BENCHMARK(BM_ParseBookIntoDom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libxml2ReadMemoryPeer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BookAgainstLibxml2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakMemoryPerMegabyte)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Windows1251BookFromMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Windows1251BookFromDisk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextOf300000CharacterReferences)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextOf300000PredefinedEntities)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ElementOf100000Attributes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TenMegabytesOfEmptyElements)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_BillionLaughsOnTheBooksRoad)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_BillionLaughsValidated)->Unit(benchmark::kMillisecond)->Iterations(2);
