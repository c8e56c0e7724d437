// Exports read back by this engine's own RTF import: the document it builds holds the
// exported text, and exporting that document again gives the same bytes.
#include <gtest/gtest.h>

#include <string>

#include "platform/base/Random.h"
#include "platform/base/Streams.h"
#include "richtext/interchange/RPExportTestData.h"
#include "richtext/interchange/RPRTFProps.h"

namespace {

std::string RtfOf(TExportView& view) {
  SetRandSeed(5);
  return view.Rtf();
}

std::string TextOf(TExportView& view) {
  TMemoryStream stream;
  EXPECT_TRUE(view.Pane.SaveTextToStreamW(stream, 80));
  return TExportView::Bytes(stream);
}

// The first trip keeps the text; what RTF cannot tell apart comes back in the form the
// import gives it (a line as an empty paragraph with a bottom border, raised table borders
// as plain ones, the fonts of the text's charset as fonts of their own), so the second
// export may differ from the first. From then on export and import are each other's
// inverse: the third export is the second's bytes.
TEST(RPExportRoundTripTest, TheSmallDocumentReachesAFixedPoint) {
  TExportView source;
  BuildSmallExportDocument(source);
  const std::string exported = RtfOf(source);
  // Imported with the styles the formatting needs added, every text as Unicode text.
  TImportedView once(exported, rpruOnlyUnicode);
  ASSERT_EQ(once.Result, rtf_ec_OK);
  std::string text = TextOf(source);
  std::string line;
  for (int i = 0; i < 80; ++i) line += std::string("-\0", 2);
  ASSERT_NE(text.find(line), std::string::npos);
  text.erase(text.find(line), line.size());
  EXPECT_EQ(TextOf(once), text);
  const std::string again = RtfOf(once);
  TImportedView twice(again, rpruOnlyUnicode);
  ASSERT_EQ(twice.Result, rtf_ec_OK);
  EXPECT_EQ(TextOf(twice), text);
  EXPECT_EQ(RtfOf(twice), again);
  EXPECT_EQ(twice.Data().GetItemCount(), once.Data().GetItemCount());
}

}  // namespace
