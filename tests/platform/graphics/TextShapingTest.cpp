// Text in every script: faces found by fallback, runs shaped as hb-shape shapes them
// (libharfbuzz-bin, the oracle), whole-pixel clusters, carets on cluster edges.
#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/FontFace.h"
#include "platform/graphics/TextDraw.h"
#include "platform/graphics/TextLayout.h"
#include "platform/graphics/TextMetrics.h"
#include "platform/graphics/TextShaping.h"

namespace {

constexpr char kHbShape[] = "/usr/bin/hb-shape";
constexpr int32_t kPixels = 40;

// A glyph as hb-shape prints it, positions in font units.
struct THbGlyph {
  uint32_t Glyph = 0;
  uint32_t Cluster = 0;
  int64_t X = 0;  // pen position plus offset
  int64_t Y = 0;
  int64_t Advance = 0;
};

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// hb-shape's glyphs for the text in that face, in its output (visual) order.
std::vector<THbGlyph> HbShape(const TResolvedFontFace& face, const std::string& text, const std::string& options) {
  const std::string command = std::string(kHbShape) +
                              " --no-glyph-names --font-funcs=ot --face-index=" + std::to_string(face.FaceIndex) + " " +
                              options + " " + Quoted(face.FileName) + " " + Quoted(text) + " 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string output;
  char chunk[4096];
  while (pipe && fgets(chunk, sizeof chunk, pipe.get())) output += chunk;
  std::vector<THbGlyph> glyphs;
  const std::regex entry(R"((\d+)=(\d+)(?:@(-?\d+),(-?\d+))?\+(-?\d+))");
  int64_t pen = 0;
  for (auto it = std::sregex_iterator(output.begin(), output.end(), entry); it != std::sregex_iterator(); ++it) {
    const std::smatch& m = *it;
    THbGlyph g;
    g.Glyph = static_cast<uint32_t>(std::stoul(m[1]));
    g.Cluster = static_cast<uint32_t>(std::stoul(m[2]));
    g.X = pen + (m[3].matched ? std::stoll(m[3]) : 0);
    g.Y = m[4].matched ? std::stoll(m[4]) : 0;
    g.Advance = std::stoll(m[5]);
    pen += g.Advance;
    glyphs.push_back(g);
  }
  EXPECT_FALSE(glyphs.empty()) << command << "\n" << output;
  return glyphs;
}

struct TScriptCase {
  const char* Name;
  const char16_t* Text;
  const char* HbOptions;  // script and direction for hb-shape
  // Arabic only: the presentation forms (U+FE70-U+FEFF) of the letters, in logical order.
  const char16_t* PresentationForms = nullptr;
};

void PrintTo(const TScriptCase& c, std::ostream* os) { *os << c.Name; }

const TScriptCase ScriptCases[] = {
    {"Cjk", u"日本語の本と中文", "--direction=ltr"},
    {"Arabic", u"مرحبا بالعالم", "--direction=rtl --script=arab",
     u"\uFEE3\uFEAE\uFEA3\uFE92\uFE8E \uFE91\uFE8E\uFEDF\uFECC\uFE8E\uFEDF\uFEE2"},
    {"HebrewWithPoints", u"שָׁלוֹם עוֹלָם", "--direction=rtl --script=hebr"},
    {"Devanagari", u"नमस्ते दुनिया", "--direction=ltr --script=deva"},
    {"Thai", u"สวัสดีชาวโลก", "--direction=ltr --script=thai"},
    {"Khmer", u"សួស្តីពិភពលោក", "--direction=ltr --script=khmr"},
    {"Georgian", u"გამარჯობა მსოფლიო", "--direction=ltr --script=geor"},
};

// A bitmap whose canvas has Arial (Liberation Sans), which lacks every script below.
class TArialCanvas {
protected:
  TArialCanvas() {
    Bitmap.SetPixelFormat(pf24bit);
    Bitmap.SetSize(600, 80);
    TCanvas& canvas = *Bitmap.Canvas();
    canvas.Font().SetName("Arial");
    canvas.Font().SetHeight(-kPixels);
    Dc = canvas.Handle();
  }
  TBitmap Bitmap;
  HDC Dc = nullptr;
};

class TextShaping : public testing::TestWithParam<TScriptCase>, protected TArialCanvas {};
class TextShapingCarets : public testing::Test, protected TArialCanvas {};
class TextShapingFallback : public testing::Test, protected TArialCanvas {};

TEST_P(TextShaping, DrawsTheGlyphsOfHbShapeInItsClusterOrderWithoutDrift) {
  if (access(kHbShape, X_OK) != 0)
    GTEST_FAIL() << kHbShape << " is missing: install libharfbuzz-bin (scripts/setup.sh installs it)";
  const TScriptCase& c = GetParam();
  const WideStringView text(c.Text);
  const bool rightToLeft = std::string(c.HbOptions).find("rtl") != std::string::npos;
  const TShapedText shaped = ShapeText(Dc, text);
  std::vector<int32_t> order;
  std::vector<uint8_t> levels;
  VisualOrder(text, rightToLeft, order, levels);
  const std::vector<TPlacedGlyph> placed = PlaceGlyphs(shaped, text, order, shaped.Advances.data());
  ASSERT_FALSE(placed.empty());
  TSizedFont* face = placed.front().Font;
  for (const TPlacedGlyph& g : placed) ASSERT_EQ(g.Font, face) << "the line uses more than one face";
  const auto glyphOf = [](const TPlacedGlyph& g) { return g.Char ? g.Font->GlyphIndex(g.Char) : g.Glyph; };

  const std::vector<THbGlyph> expected = HbShape(face->Resolved(), WideToAnsi(text, CP_UTF8), c.HbOptions);
  ASSERT_EQ(placed.size(), expected.size()) << "face " << face->Resolved().FileName;
  const double scale = static_cast<double>(face->Metrics().Ppem) / face->Face().UnitsPerEm;
  for (size_t i = 0; i < placed.size(); ++i) {
    SCOPED_TRACE("glyph " + std::to_string(i));
    EXPECT_NE(glyphOf(placed[i]), 0u);
    EXPECT_EQ(glyphOf(placed[i]), expected[i].Glyph);
    EXPECT_EQ(placed[i].Unit, expected[i].Cluster);
    // Positions are the shaper's, rounded once: nothing gathers along the line.
    EXPECT_LE(std::abs(placed[i].X - static_cast<double>(expected[i].X) * scale), 0.5);
    EXPECT_LE(std::abs(placed[i].Y - static_cast<double>(expected[i].Y) * scale), 0.5);
  }
  // Drawn, the glyphs leave ink.
  SetBkMode(Dc, TRANSPARENT);
  ASSERT_TRUE(ExtTextOutW(Dc, 10, 10, rightToLeft ? ETO_RTLREADING : 0, nullptr, text.data(),
                          static_cast<uint32_t>(text.size()), nullptr));
  int32_t ink = 0;
  for (int32_t y = 0; y < Bitmap.Height(); ++y)
    for (int32_t x = 0; x < Bitmap.Width(); ++x) ink += Bitmap.PixelColor(x, y) != clWhite;
  EXPECT_GT(ink, kPixels * 4);
  // Measuring agrees with drawing: the line is as wide as its clusters, and as the
  // shaper's run, rounded once (a letter that the quick road measured before it met a
  // point is not counted twice).
  TSize size{};
  ASSERT_TRUE(GetTextExtentPoint32W(Dc, text.data(), static_cast<int32_t>(text.size()), &size));
  EXPECT_EQ(size.cx, shaped.Width);
  int64_t runAdvance = 0;
  for (const THbGlyph& g : expected) runAdvance += g.Advance;
  EXPECT_LE(std::abs(size.cx - static_cast<double>(runAdvance) * scale), 0.5);
  EXPECT_GE(size.cy, face->Metrics().Height);
  if (!shaped.GlyphStart.empty()) {
    // One shaped run is as wide as the shaper's advances, rounded once.
    int64_t advance = 0;
    for (const THbGlyph& g : expected) advance += g.Advance;
    EXPECT_EQ(shaped.Width, face->ScaleX(advance));
  }

  if (c.PresentationForms) {
    // The joined forms are the glyphs the face maps for the presentation forms.
    const WideStringView forms(c.PresentationForms);
    ASSERT_EQ(forms.size(), text.size());
    for (const TPlacedGlyph& g : placed) EXPECT_EQ(glyphOf(g), face->GlyphIndex(forms[g.Unit])) << "unit " << g.Unit;
  }
}

INSTANTIATE_TEST_SUITE_P(Scripts, TextShaping, testing::ValuesIn(ScriptCases),
                         [](const testing::TestParamInfo<TScriptCase>& param) { return param.param.Name; });

struct TNeighbourFaceCase {
  const char* Name;
  const char16_t* Text;
  size_t Mark;  // the unit of the punctuation
  size_t Han;   // the unit of a Han character beside it
};

// The CJK comma and full stop are in faces that fallback ranks before the Han
// characters' face (a Mongolian one here); beside Han characters they come from those
// characters' face, whatever stands between: Latin letters, digits, a space.
TEST_F(TextShapingFallback, PunctuationTakesTheFaceOfTheCharactersBesideIt) {
  const TNeighbourFaceCase cases[] = {
      {"comma after Latin letters", u"中文abc、中文", 5, 1},
      {"full stop after digits", u"中文123。中文", 5, 1},
      {"comma before Han characters only", u"abc、中文", 3, 4},
      {"full stop after a space", u"中文 。", 3, 1},
  };
  for (const TNeighbourFaceCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const WideStringView text(c.Text);
    const TShapedText shaped = ShapeText(Dc, text);
    std::vector<int32_t> order(text.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int32_t>(i);
    TSizedFont* markFace = nullptr;
    TSizedFont* hanFace = nullptr;
    for (const TPlacedGlyph& g : PlaceGlyphs(shaped, text, order, shaped.Advances.data())) {
      if (g.Unit == c.Mark) markFace = g.Font;
      if (g.Unit == c.Han) hanFace = g.Font;
    }
    ASSERT_NE(hanFace, nullptr);
    EXPECT_EQ(markFace, hanFace) << (markFace ? markFace->Resolved().FamilyName : "no glyph") << " beside "
                                 << hanFace->Resolved().FamilyName;
    // The line is no taller than the faces of its letters make it.
    TSizedFont& selected = Dc->SelectedFont().Sized();
    EXPECT_EQ(shaped.Ascent, std::max(selected.Metrics().Ascent, hanFace->Metrics().Ascent));
    EXPECT_EQ(shaped.Descent, std::max(selected.Metrics().Descent, hanFace->Metrics().Descent));
  }
}

TEST_F(TextShapingCarets, RightToLeftCaretsWalkClusterByCluster) {
  // Two lam-alef ligatures: clusters of two characters each.
  const WideStringView text(u"لا سلام");
  const int32_t n = static_cast<int32_t>(text.size());
  SetTextAlign(Dc, TA_RTLREADING);
  std::vector<uint32_t> order(text.size());
  std::vector<int32_t> dx(text.size()), carets(text.size());
  GCP_RESULTSW results;
  results.lpOrder = order.data();
  results.lpDx = dx.data();
  results.lpCaretPos = carets.data();
  const uint32_t size =
      GetCharacterPlacementW(Dc, text.data(), n, 0, &results, GCP_REORDER | GCP_GLYPHSHAPE | GCP_LIGATE);
  ASSERT_NE(size, 0u);
  TSize extent{};
  ASSERT_TRUE(GetTextExtentPoint32W(Dc, text.data(), n, &extent));
  EXPECT_EQ(static_cast<int32_t>(size & 0xFFFF), extent.cx);
  // The cluster edges, from the left: where each visual position starts, and the end.
  std::set<int32_t> edges{0};
  int32_t x = 0;
  for (int32_t advance : dx) edges.insert(x += advance);
  EXPECT_EQ(x, extent.cx);
  for (int32_t i = 0; i < n; ++i) {
    SCOPED_TRACE("unit " + std::to_string(i));
    EXPECT_TRUE(edges.count(carets[static_cast<size_t>(i)]));
    if (i > 0) {
      EXPECT_LE(carets[static_cast<size_t>(i)], carets[static_cast<size_t>(i - 1)]);
    }
  }
  // Each ligature advances on its lam; its alef takes no room of its own.
  for (const size_t alef : {size_t{1}, size_t{5}}) {
    EXPECT_EQ(dx[order[alef]], 0);
    EXPECT_GT(dx[order[alef - 1]], 0);
  }
  // Leading edges: the first character's is the line's right end, the last one's (the
  // leftmost cluster on screen) that cluster's right edge, which the alef before it shares.
  EXPECT_EQ(carets[0], extent.cx);
  EXPECT_EQ(carets[static_cast<size_t>(n - 1)], *std::next(edges.begin()));
  EXPECT_EQ(carets[static_cast<size_t>(n - 2)], carets[static_cast<size_t>(n - 1)]);
}

}  // namespace
