// Documents of a few kilobytes of RTF holding costly metafile pictures (the tests'
// platform/graphics/MetafileHostile.h), exported: saved as RTF with the rich pane's
// default options (an enhanced metafile goes out as a Windows one), and as HTML (each
// picture drawn into a bitmap of its size). Counters: the RTF read and the bytes written.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/base/Streams.h"
#include "platform/graphics/MetafileHostile.h"
#include "richtext/interchange/RPHTMLExport.h"
#include "richtext/interchange/RPRTFExport.h"
#include "richtext/interchange/RPRTFProps.h"
#include "richtext/layout/view/RichPane.h"
#include "richtext/model/RPStyle.h"

namespace {

std::string HexOf(const std::vector<uint8_t>& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (uint8_t b : bytes) hex += {digits[b >> 4], digits[b & 15]};
  return hex;
}

// The RTF of paragraphs each holding a picture of the metafile.
std::string RtfOfPictures(const std::vector<uint8_t>& metafile, int pictures) {
  std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 ";
  for (int i = 0; i < pictures; ++i) rtf += "{\\pict\\emfblip " + HexOf(metafile) + "}\\par ";
  return rtf + "}";
}

struct TPictureDocument {
  explicit TPictureDocument(const std::string& rtf) : RtfBytes(static_cast<int64_t>(rtf.size())) {
    Pane.SetStyle(&Style);
    TRPRTFReaderProperties props;
    TStringStream stream(rtf);
    int32_t position = 0;
    Read = props.ReadRTFFromStream(stream, Pane.RPData(), position) == rtf_ec_OK;
  }
  TRPStyle Style{nullptr};
  TCustomRichPane Pane{nullptr};
  int64_t RtfBytes;
  bool Read = false;
};

// 3.3 KB of RTF: a picture of ten blends over a square metre (1.6 KB).
void BM_SaveRtfOfBlendsOverASquareMetre(benchmark::State& state) {
  TPictureDocument document(RtfOfPictures(hostile::BlendsOverPicture(10, 3780), 1));
  if (!document.Read) return state.SkipWithError("the import failed");
  int64_t written = 0;
  for (auto _ : state) {
    TMemoryStream stream;
    if (!SaveRTFToStream(document.Pane, stream, false)) state.SkipWithError("the export failed");
    written = stream.Size();
  }
  state.counters["rtf"] = static_cast<double>(document.RtfBytes);
  state.counters["written"] = static_cast<double>(written);
}
BENCHMARK(BM_SaveRtfOfBlendsOverASquareMetre)->Unit(benchmark::kMillisecond)->Iterations(1);

// 24 KB of RTF: three pictures of 500 gradient ramps over 800 x 800 pixels (4 KB each).
void BM_HtmlOfGradientPictures(benchmark::State& state) {
  TPictureDocument document(RtfOfPictures(hostile::GradientRamps(500, 800), 3));
  if (!document.Read) return state.SkipWithError("the import failed");
  std::string folder = (std::filesystem::temp_directory_path() / "qf-bench-XXXXXX").string();
  if (!mkdtemp(folder.data())) return state.SkipWithError("no scratch folder");
  int64_t written = 0;
  for (auto _ : state) {
    TMemoryStream stream;
    TRPHTMLExportParams params;
    params.Path = AnsiToWide(folder + "/page.html");
    if (!SaveHTMLToStream(document.Pane.RPData(), stream, params)) state.SkipWithError("the export failed");
    written = stream.Size();
  }
  std::filesystem::remove_all(folder);
  state.counters["rtf"] = static_cast<double>(document.RtfBytes);
  state.counters["written"] = static_cast<double>(written);
}
BENCHMARK(BM_HtmlOfGradientPictures)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
