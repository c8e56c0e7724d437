// RTF as word processors, mail programs and generators of many makers write it, read as
// RTF means it: groups left open thousands deep, Mac and Far-East character sets, \uc
// scoped to its group, the symbol words, floating and shape-only pictures, list tables in
// more than one part.
#include <gtest/gtest.h>

#include "richtext/interchange/RPRTFImportFixture.h"
#include "richtext/interchange/RPRTFReaderState.h"
#include "richtext/model/RPMarker.h"

namespace {

std::string Doc(const std::string& header, const std::string& body) {
  return "{\\rtf1" + header +
         "\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman\\fcharset77 Times;}"
         "{\\f2\\fnil\\fcharset78 Osaka;}}" +
         body + "}";
}

std::string Repeat(const std::string& text, int32_t times) {
  std::string out;
  for (int32_t i = 0; i < times; ++i) out += text;
  return out;
}

// One list (the given id) and its override numbered ls.
std::string ListTable(int32_t id, int32_t ls, const char* bullet) {
  const std::string n = std::to_string(id);
  return "{\\*\\listtable{\\list\\listtemplateid" + n + "{\\listlevel\\levelnfc23\\levelstartat1{\\leveltext\\'01" +
         bullet + ";}{\\levelnumbers;}}\\listid" + n + "}}{\\*\\listoverridetable{\\listoverride\\listid" + n +
         "\\listoverridecount0\\ls" + std::to_string(ls) + "}}";
}

// A picture frame (shape type 75) of the picture property pib, with more of the shape's
// instance (a text box) and its result for readers without shapes.
std::string PictureFrame(const std::string& pib, const std::string& more, const std::string& resultPicture) {
  return "{\\shp{\\*\\shpinst\\shpleft0\\shpright100{\\sp{\\sn shapeType}{\\sv 75}}{\\sp{\\sn pib}{\\sv " + pib +
         "}}{\\sp{\\sn fLine}{\\sv 0}}" + more + "}{\\shprslt\\par\\pard{\\pict" + resultPicture + "}\\par}}";
}

// The document as text: paragraphs on lines, pictures as "[pict WxH]", markers as their
// text in brackets.
std::string Content(const TCustomRPData& data, const TRPStyle& style) {
  std::string text;
  for (int32_t i = 0; i < data.GetItemCount(); ++i) {
    const TCustomRPItemInfo& item = *data.GetItem(i);
    if (i > 0 && !item.GetContinuesLine()) text += "\n";
    if (const auto* picture = dynamic_cast<const TRPGraphicItemInfo*>(&item)) {
      text += "[pict " + std::to_string(picture->GetImageWidth(nullptr)) + "x" +
              std::to_string(picture->GetImageHeight(nullptr)) + "]";
    } else if (const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(&item)) {
      const TRPListLevel* level = marker->GetLevelInfo(&style);
      text += "[" + (level ? marker->DisplayString : std::string("?")) + "]";
    } else if (item.StyleNo >= 0) {
      text += TImportFixture::ItemText(data, i);
    }
  }
  return text;
}

TEST(RPRTFImportWriters, DocumentsReadAsTheirWritersMeantThem) {
  const std::string small = "\\dibitmap0 " + DibHex(3, 1);
  const std::string large = "\\dibitmap0 " + DibHex(5, 2);
  TImportFixture placeholder;
  const TGraphic* invalid = placeholder.Style.GetInvalidPicture();
  ASSERT_NE(invalid, nullptr);
  const std::string invalidSize = std::to_string(invalid->Width()) + "x" + std::to_string(invalid->Height());
  const struct {
    const char* Name;
    std::string Rtf;
    std::string Content;
    // Text in Unicode styles, or in 8-bit styles of the fonts' character sets.
    TRPReaderUnicode Mode = rpruOnlyUnicode;
  } cases[] = {
      // Mail programs open a group per HTML tag and close them all at the end.
      {"2001 groups deep", Doc("\\ansi", Repeat("{\\*\\htmltag0 <p>}\\htmlrtf {", 2001) + "deep" + Repeat("}", 2001)),
       "deep"},
      {"Mac Roman font", Doc("\\ansi\\ansicpg1252", "\\f1 caf\\'8e l\\'d5ami \\'a5\\par"), "café l’ami •"},
      {"Mac Roman font in 8 bits", Doc("\\ansi\\ansicpg1252", "\\f1 caf\\'8e l\\'d5ami \\'a5\\par"), "café l’ami •",
       rpruMixed},
      {"Mac Japanese font", Doc("\\ansi\\ansicpg1252", "\\f2 \\'83\\'4a\\'83\\'69\\par"), "カナ"},
      {"Mac Japanese font in 8 bits", Doc("\\ansi\\ansicpg1252", "\\f2 \\'83\\'4a\\'83\\'69\\par"), "カナ", rpruMixed},
      {"Mac document", Doc("\\mac", "caf\\'8e\\par"), "café"},
      {"PC document", Doc("\\pc", "\\'82t\\'82\\par"), "été"},
      // \uc ends with its group: the second \u has one fallback character again.
      {"\\uc in a group", Doc("\\ansi", "{\\uc0 \\u915}\\u915G\\par"), "ΓΓ"},
      {"symbol words", Doc("\\ansi", "49A\\_12 a\\zwj b\\zwnj c\\ltrmark d\\rtlmark e\\par"),
       "49A\u201112 a\u200Db\u200Cc\u200Ed\u200Fe"},
      // A floating picture: the shape's own picture, not its result too.
      {"floating picture", Doc("\\ansi", "a" + PictureFrame("{\\pict" + small + "}", "", large) + "b\\par"),
       "a[pict 3x1]b"},
      // A picture frame whose text box holds its picture again shows it once; another
      // picture in the text box stays.
      {"picture frame repeating its picture",
       Doc("\\ansi",
           "a" + PictureFrame("{\\pict" + small + "}", "{\\shptxt\\pard{\\pict" + small + "}\\par}", large) + "b\\par"),
       "a[pict 3x1]b"},
      {"picture frame with another picture in its text box",
       Doc("\\ansi",
           "a" + PictureFrame("{\\pict" + small + "}", "{\\shptxt\\pard{\\pict" + large + "}\\par}", large) + "b\\par"),
       "a[pict 3x1][pict 5x2]b"},
      // A shape picture with no alternative stands as the invalid picture.
      {"shape picture alone", Doc("\\ansi", "a{\\*\\shppict{\\pict\\macpict 0102}}b\\par"),
       "a[pict " + invalidSize + "]b"},
      // A second list table adds its lists; \ls1 still means the first one's.
      {"two list tables",
       Doc("\\ansi", ListTable(7, 1, "a") + ListTable(8, 2, "b") + "\\pard\\ls1 one\\par\\pard\\ls2 two\\par"),
       "[a]one\n[b]two"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TImportFixture f;
    f.Props.UnicodeMode = c.Mode;
    f.Props.TextStyleMode = rprsAddIfNeeded;
    ASSERT_EQ(f.Import(c.Rtf), rtf_ec_OK);
    EXPECT_EQ(Content(f.Data(), f.Style), c.Content);
  }
}

// Group states cost memory only, bounded by the input and a ceiling: a hundred thousand
// open groups end the parse with the no-state result once the ceiling is reached, and
// no sooner than the proportional bound allows.
TEST(RPRTFImportWriters, DeepGroupsStopAtTheStateCeiling) {
  const std::string rtf = "{\\rtf1 " + Repeat("{", 100000) + "x" + Repeat("}", 100001);
  TImportFixture f;
  const int64_t state = TRPRTFReaderState().SavedBytes();
  f.Props.Limits.MaxGroupStateBytes = 1000 * state;
  EXPECT_EQ(f.Import(rtf), rtf_ec_StackOverflow);
  TImportFixture g;
  g.Props.Limits.MaxGroupStateBytes = 200000 * state;
  EXPECT_EQ(g.Import(rtf), rtf_ec_OK);
  EXPECT_EQ(TImportFixture::PlainText(g.Data()), "x");
}

}  // namespace
