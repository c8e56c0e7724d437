// Formatting the text of a 100,000-word book (mkbook.py: Russian and English prose) for
// a 600-pixel width: its paragraphs as UTF-16 text items, body text in 10-point Arial and
// titles in 14-point bold, with the report control's document flags (the conversion's).
// The rate is given in pages' worth of text (1,200 characters) per second.
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/base/CodePages.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"

namespace {

constexpr int32_t PageWidthPx = 600;
constexpr int32_t CharsPerPage = 1200;

struct TBookParagraph {
  WideString Text;
  bool Title = false;
};

// The paragraphs of the generated book: the text of each <p>, tags dropped, entities of
// the generator (&amp; &lt; &gt;) decoded; those inside <title> are titles.
std::vector<TBookParagraph> BookParagraphs() {
  const std::string file = "/tmp/qf_bench_layout_book.fb2";
  const std::string command = "/usr/bin/python3 '" QF_MKBOOK "' " + file + " --words 100000 > /dev/null";
  if (std::system(command.c_str()) != 0) return {};
  std::ifstream in(file, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  const std::string xml = ss.str();
  std::vector<TBookParagraph> out;
  bool inTitle = false;
  for (size_t at = 0; (at = xml.find('<', at)) != std::string::npos;) {
    const size_t end = xml.find('>', at);
    const std::string tag = xml.substr(at + 1, end - at - 1);
    at = end + 1;
    if (tag == "title") inTitle = true;
    if (tag == "/title") inTitle = false;
    if (tag != "p") continue;
    const size_t close = xml.find("</p>", at);
    std::string text;
    for (size_t i = at; i < close; ++i) {
      if (xml[i] == '<') {
        i = xml.find('>', i);
        continue;
      }
      if (xml.compare(i, 5, "&amp;") == 0) text += '&', i += 4;
      else if (xml.compare(i, 4, "&lt;") == 0) text += '<', i += 3;
      else if (xml.compare(i, 4, "&gt;") == 0) text += '>', i += 3;
      else text += xml[i];
    }
    out.push_back({AnsiToWide(text, CP_UTF8), inTitle});
    at = close;
  }
  return out;
}

class TBookData : public TCustomRPFormattedData {
public:
  TBookData() : Style(nullptr) {
    RegisterTextItemClasses();
    Style.TextStyles()[0]->Unicode = true;
    TFontInfo& title = *Style.TextStyles().Add();
    title.Unicode = true;
    title.Size = 14;
    title.Style = TFontStyles{fsBold};
    Style.ParaStyles()[0]->SpaceAfter = 2;
    Style.ParaStyles()[0]->FirstIndent = 20;
    Style.ParaStyles()[0]->Alignment = rpaJustify;
  }
  TRPStyle Style;
  TBitmap Page;
  const IRPStyleSheet* GetRPStyle() const override { return &Style; }
  TRPStyle* GetStyleSheet() const override { return const_cast<TRPStyle*>(&Style); }
  TRPDocumentFlags GetDocumentFlags() const override { return rpdfReportDefaults; }
  int32_t GetWidth() const override { return PageWidthPx; }
  TCanvas* GetCanvas() override { return Page.Canvas(); }
};

void FormatBook(benchmark::State& state) {
  static const std::vector<TBookParagraph> paragraphs = BookParagraphs();
  if (paragraphs.empty()) {
    state.SkipWithError("the book generator " QF_MKBOOK " did not run");
    return;
  }
  TBookData data;
  data.Page.SetPixelFormat(pf24bit);
  data.Page.SetSize(8, 8);
  const int32_t title = data.Style.TextStyles().Count() - 1;
  int64_t chars = 0;
  for (const TBookParagraph& p : paragraphs) {
    data.AddTextW(p.Text, p.Title ? title : 0, TRPTag(), p.Title ? 1 : 0);
    chars += static_cast<int64_t>(p.Text.size());
  }
  for (auto _ : state) {
    data.Format(false, true, false, 0, nullptr, false, false, false);
    benchmark::DoNotOptimize(data.DocumentHeight);
  }
  state.counters["pages"] = static_cast<double>(chars) / CharsPerPage;
  state.counters["pages/s"] = benchmark::Counter(static_cast<double>(chars) / CharsPerPage * static_cast<double>(state.iterations()),
                                                 benchmark::Counter::kIsRate);
  state.counters["draw items"] = data.DrawItems.Count();
  state.counters["height px"] = data.DocumentHeight;
}
BENCHMARK(FormatBook)->Unit(benchmark::kMillisecond);

}  // namespace
