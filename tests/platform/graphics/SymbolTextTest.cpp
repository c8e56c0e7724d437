// Text in a font of the symbol character set shows the Symbol font's characters at its
// codes (Greek letters, arrows, operators) when the face has no symbol encoding of its
// own: drawn and measured alike, from 8-bit text, from the codes as characters and from
// the private-use codes symbol fonts number them by; inside metafiles, and recorded into
// them as the codes. A face with a symbol encoding is asked for its own codes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "MetafileBuilder.h"
#include "MetafileInspect.h"
#include "platform/base/BesideTestProgram.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/FontFace.h"
#include "platform/graphics/FontResolver.h"
#include "platform/graphics/Metafile.h"
#include "platform/graphics/TextDraw.h"
#include "platform/graphics/TextMetrics.h"

namespace {

constexpr int32_t kSymbolProbeWidth = 200;
constexpr int32_t kSymbolProbeHeight = 50;

HFONT SymbolProbeFont(const char16_t* face, uint8_t charset) {
  LOGFONTW lf;
  lf.lfHeight = -32;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = charset;
  for (size_t i = 0; face[i]; ++i) lf.lfFaceName[i] = face[i];
  return CreateFontIndirectW(&lf);
}

// A white bitmap with `font` selected into its context (which keeps it), drawn on by
// `draw`.
std::unique_ptr<TBitmap> SymbolProbeDrawing(HFONT font, const std::function<void(HDC)>& draw) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(kSymbolProbeWidth, kSymbolProbeHeight);
  HDC dc = bitmap->Canvas()->Handle();
  SelectObject(dc, font);
  DeleteObject(font);
  SetBkMode(dc, TRANSPARENT);
  draw(dc);
  return bitmap;
}

// Draws wide text at (4, 8) and gives its extent.
std::function<void(HDC)> WideOut(const std::u16string& text, TSize* extent) {
  return [text, extent](HDC dc) {
    ExtTextOutW(dc, 4, 8, 0, nullptr, text.data(), static_cast<uint32_t>(text.size()), nullptr);
    GetTextExtentPoint32W(dc, text.data(), static_cast<int32_t>(text.size()), extent);
  };
}

std::function<void(HDC)> AnsiOut(const std::string& text, TSize* extent) {
  return [text, extent](HDC dc) {
    ExtTextOutA(dc, 4, 8, 0, nullptr, text.data(), static_cast<uint32_t>(text.size()), nullptr);
    GetTextExtentPoint32A(dc, text.data(), static_cast<int32_t>(text.size()), extent);
  };
}

int64_t SymbolProbeInk(const TBitmap& bitmap) {
  int64_t ink = 0;
  for (int32_t y = 0; y < bitmap.Height(); ++y)
    for (int32_t x = 0; x < bitmap.Width(); ++x) ink += bitmap.PixelColor(x, y) != clWhite;
  return ink;
}

void ExpectSameDrawing(const TBitmap& got, const TBitmap& expected) {
  EXPECT_GT(SymbolProbeInk(expected), 100);
  EXPECT_EQ(DifferingPixels(got, expected).Differing, 0);
}

// A 32-pixel font of the face and charset, and text at (4, 8) on a clear background.
std::vector<uint8_t> SymbolProbeWmf(const std::string& face, uint8_t charset, const std::string& text) {
  TWmfBuilder wmf;
  wmf.Objects = 1;
  wmf.CreateFont(-32, charset, face);
  wmf.Rec(0x012D, {0});  // SELECTOBJECT
  wmf.Rec(0x0102, {1});  // SETBKMODE transparent
  wmf.ExtTextOut(4, 8, text);
  return wmf.Bytes(true, kSymbolProbeWidth, kSymbolProbeHeight, 96);
}

std::unique_ptr<TBitmap> PlayedSymbolProbe(const TMetafile& metafile) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(kSymbolProbeWidth, kSymbolProbeHeight);
  bitmap->Canvas()->StretchDraw(Rect(0, 0, kSymbolProbeWidth, kSymbolProbeHeight), &metafile);
  return bitmap;
}

}  // namespace

// Each row's text in its font draws and measures as the expected text in Liberation Serif
// (the face "Symbol" and "Times New Roman" resolve to) of the ANSI character set.
TEST(SymbolTextTest, SymbolCharsetTextShowsTheSymbolsOfItsCodes) {
  const struct {
    const char* Name;
    const char16_t* Face;
    uint8_t Charset;
    std::string Ansi;  // drawn with the "A" calls when not empty
    std::u16string Wide;
    std::u16string Expected;
  } cases[] = {
      {"8-bit codes", u"Symbol", SYMBOL_CHARSET, "pDa\xAE\xA5", u"", u"\u03C0\u0394\u03B1\u2192\u221E"},
      {"codes as characters", u"Symbol", SYMBOL_CHARSET, "", u"pDa\u00AE\u00A5", u"\u03C0\u0394\u03B1\u2192\u221E"},
      {"private-use codes", u"Symbol", SYMBOL_CHARSET, "", u"\uF070\uF044\uF061\uF0AE\uF0A5",
       u"\u03C0\u0394\u03B1\u2192\u221E"},
      {"digits and signs keep their shape", u"Symbol", SYMBOL_CHARSET, "(2+3)", u"", u"(2+3)"},
      {"any face of the set", u"Times New Roman", SYMBOL_CHARSET, "pD", u"", u"\u03C0\u0394"},
      {"characters past the codes stay", u"Symbol", SYMBOL_CHARSET, "", u"\u0416x\u03C0", u"\u0416\u03BE\u03C0"},
      {"the Symbol face in the ANSI set", u"Symbol", ANSI_CHARSET, "pD", u"", u"pD"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TSize gotExtent{}, expectedExtent{};
    const auto got = SymbolProbeDrawing(SymbolProbeFont(c.Face, c.Charset),
                                        c.Ansi.empty() ? WideOut(c.Wide, &gotExtent) : AnsiOut(c.Ansi, &gotExtent));
    const auto expected =
        SymbolProbeDrawing(SymbolProbeFont(u"Liberation Serif", ANSI_CHARSET), WideOut(c.Expected, &expectedExtent));
    ExpectSameDrawing(*got, *expected);
    EXPECT_EQ(gotExtent.cx, expectedExtent.cx);
    EXPECT_EQ(gotExtent.cy, expectedExtent.cy);
  }
}

// A Windows metafile of Symbol text, as formula editors write it, plays as the same
// letters written in the Greek character set; drawn onto a recording canvas, the text is
// kept as its codes, so that the Windows metafile made from the recording holds text
// records again (not the pixels of text it could not write) and shows the symbols.
TEST(SymbolTextTest, MetafilesPlayAndRecordSymbolText) {
  TMetafile symbol, greek;
  symbol.LoadFromBytes(SymbolProbeWmf("Symbol", SYMBOL_CHARSET, "pD"));
  greek.LoadFromBytes(SymbolProbeWmf("Liberation Serif", GREEK_CHARSET, "\xF0\xC4"));  // pi, Delta in 1253
  ExpectSameDrawing(*PlayedSymbolProbe(symbol), *PlayedSymbolProbe(greek));

  const auto arrow =
      SymbolProbeDrawing(SymbolProbeFont(u"Liberation Serif", ANSI_CHARSET), WideOut(u"\u03C0\u0394\u2192", nullptr));
  TMetafile recorded;
  {
    TMetafileCanvas canvas(recorded, kSymbolProbeWidth, kSymbolProbeHeight);
    canvas.Font().SetName("Symbol");
    canvas.Font().SetCharset(SYMBOL_CHARSET);
    canvas.Font().SetHeight(-32);
    canvas.Brush().SetStyle(bsClear);
    canvas.TextOut(4, 8, "pD\xAE");
    canvas.Close();
  }
  const auto windows = ConvertedMetafile(recorded);
  for (const TMetafile* m : {&recorded, windows.get()}) {
    SCOPED_TRACE(m->Enhanced() ? "enhanced" : "windows");
    EXPECT_EQ(RecordKinds(*m).count(m->Enhanced() ? 84u : 0x0A32u), 1u) << "a text record";
    EXPECT_EQ(BitmapRecords(*m), 0);
    ExpectSameDrawing(*PlayedSymbolProbe(*m), *arrow);
  }
}

// A face whose only characters are a symbol font's codes (a copy of Liberation Serif's
// ASCII glyphs at U+F020 - U+F07E, made by fontTools) draws its own glyphs at the codes:
// "pD" as the letters p and D, not as the Symbol font's Greek.
TEST(SymbolTextTest, AFaceWithASymbolEncodingShowsItsOwnGlyphs) {
  const TResolvedFontFace& serif = ResolveFontFace(u"Liberation Serif", false, false);
  const std::string file = BesideTestProgram("symbol-encoded-serif.ttf").string();
  const std::string command = "/usr/bin/python3 " QF_TEST_SOURCE_DIR "/platform/graphics/symbol_font_peer.py '" +
                              serif.FileName + "' '" + file + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << "fontTools could not make the font: install python3-fonttools";
  ASSERT_TRUE(TFontFace::Get(file, 0).SymbolEncoded);
  EXPECT_FALSE(TFontFace::Get(serif.FileName, 0).SymbolEncoded);

  TResolvedFontFace encoded = serif;
  encoded.FileName = file;
  LOGFONTW lf;
  lf.lfHeight = -32;
  lf.lfCharSet = SYMBOL_CHARSET;
  const HFONT font = static_cast<HFONT>(
      RegisterGdiObject(std::make_shared<TFontObject>(lf, TSizedFont::Get(encoded, lf.lfHeight, 0))));
  TSize gotExtent{}, expectedExtent{};
  const auto got = SymbolProbeDrawing(font, AnsiOut("pD", &gotExtent));
  const auto letters =
      SymbolProbeDrawing(SymbolProbeFont(u"Liberation Serif", ANSI_CHARSET), WideOut(u"pD", &expectedExtent));
  const auto greek =
      SymbolProbeDrawing(SymbolProbeFont(u"Liberation Serif", ANSI_CHARSET), WideOut(u"\u03C0\u0394", nullptr));
  // The same outlines, hinted without the letters' Unicode names: a few edge pixels differ.
  const int64_t ink = SymbolProbeInk(*letters);
  EXPECT_LE(DifferingPixels(*got, *letters).Differing * 20, ink);
  EXPECT_GT(DifferingPixels(*got, *greek).Differing * 4, ink);
  EXPECT_EQ(gotExtent.cx, expectedExtent.cx);
}
