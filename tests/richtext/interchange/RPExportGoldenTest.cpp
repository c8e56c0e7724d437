// One small document written in each HTML flavour (and as RTF), compared with files that
// were checked by hand (QF_REGENERATE_GOLDEN=1 rewrites the files, to be checked again by
// hand), and written again after a trip through the native format.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/base/Random.h"
#include "platform/base/Streams.h"
#include "richtext/interchange/RPExportTestData.h"

namespace {

std::string GoldenPath(const std::string& name) {
  return std::string(QF_TEST_DATA_DIR) + "/richtext/interchange/" + name;
}

TEST(RPExportGoldenTest, TheSmallDocumentInEachFormat) {
  const bool update = std::getenv("QF_REGENERATE_GOLDEN") != nullptr;
  TExportView view;
  BuildSmallExportDocument(view);
  TRPHTMLExportParams params;
  params.Title = "A small document";
  params.Color = clWhite;
  params.LeftMargin = params.TopMargin = params.RightMargin = params.BottomMargin = 8;
  SetRandSeed(5);
  const struct {
    const char* Name;
    std::string Text;
  } outputs[] = {
      {"small_classic.html", view.Html(0, false, params)},
      {"small_css.xhtml", view.Html(rphtmlQuotedAttributes | rphtmlUtf8, true, params)},
      {"small.rtf", view.Rtf()},
  };
  for (const auto& output : outputs) {
    SCOPED_TRACE(output.Name);
    if (update) {
      std::ofstream(GoldenPath(output.Name), std::ios::binary) << output.Text;
      continue;
    }
    std::ifstream in(GoldenPath(output.Name), std::ios::binary);
    ASSERT_TRUE(in) << GoldenPath(output.Name);
    EXPECT_EQ(output.Text, std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  }
}

// The document read back from the native format exports the same bytes: the exports see
// nothing that the native format loses, and draw their list ids alike from one seed.
TEST(RPExportGoldenTest, TheSmallDocumentReadBackFromTheNativeFormatExportsTheSameBytes) {
  TExportView source;
  BuildSmallExportDocument(source);
  source.Pane.RPFOptions = rpfoSaveTextStyles | rpfoSaveParaStyles;
  TStringStream stream;
  ASSERT_TRUE(source.Pane.SaveRPFToStream(stream, rpfsmDocument));
  TExportView copy;
  copy.Pane.OnWriteHyperlink = source.Pane.OnWriteHyperlink;
  stream.SetPosition(0);
  ASSERT_TRUE(copy.Pane.LoadRPFFromStream(stream));
  ASSERT_EQ(copy.Data().GetItemCount(), source.Data().GetItemCount());
  const auto exports = [](TExportView& view) {
    SetRandSeed(5);
    std::vector<std::string> texts{view.Rtf(), view.Html(0, false), view.Html(rphtmlQuotedAttributes, true),
                                   view.Html(rphtmlInlineCss | rphtmlUtf8, true)};
    // The clipboard's form: the selection of the whole document.
    view.Pane.Format();
    view.Pane.SelectAll();
    texts.push_back(view.Rtf(true));
    return texts;
  };
  const std::vector<std::string> expected = exports(source);
  const std::vector<std::string> actual = exports(copy);
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(actual[i], expected[i]) << i;
}

}  // namespace
