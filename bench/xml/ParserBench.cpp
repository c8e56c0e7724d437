// Parsing a 10 MB FB2-like book into a DOM the way the book model does (8192-byte
// buffer, comments dropped, CDATA and predefined entities as text), beside libxml2's
// xmlReadMemory on the same bytes.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <string>

#include "platform/base/Streams.h"
#include "xml/dom/DomImplementation.h"
#include "xml/parser/XmlToDomParser.h"

namespace {

constexpr size_t BookBytes = 10 * 1024 * 1024;

const std::string& Book() {
  static const std::string book = [] {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
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
  }();
  return book;
}

void BM_ParseBookIntoDom(benchmark::State& state) {
  TDomImplementation implementation(nullptr);
  TXmlToDomParser parser(nullptr);
  parser.SetDOMImpl(&implementation);
  parser.SetBufferSize(8192);
  parser.SetKeepCDATASections(false);
  parser.SetKeepComments(false);
  parser.SetKeepEntityRefs(false);
  for (auto _ : state) {
    TStringStream stream(Book());
    TDomDocument* document = parser.ParseStream(&stream, u"FB2", nullptr, true);
    benchmark::DoNotOptimize(document);
    implementation.FreeAllDocuments();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Book().size()));
}

void BM_Libxml2ReadMemoryPeer(benchmark::State& state) {
  for (auto _ : state) {
    xmlDoc* doc = xmlReadMemory(Book().data(), int(Book().size()), "FB2", nullptr, XML_PARSE_NONET);
    benchmark::DoNotOptimize(doc);
    xmlFreeDoc(doc);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Book().size()));
}

}  // namespace

BENCHMARK(BM_ParseBookIntoDom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libxml2ReadMemoryPeer)->Unit(benchmark::kMillisecond);
