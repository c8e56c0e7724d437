// A formatted document for the tests: a style sheet, a measuring canvas (or a page), a
// width and margins of its own, and the document flags of the report control unless a
// test sets others.
#pragma once

#include <memory>
#include <sstream>
#include <string>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/model/RPUnicode.h"

class TTestFormattedData : public TCustomRPFormattedData {
public:
  TTestFormattedData() : Style(nullptr) { Style.TextStyles()[0]->FontName = "Arial"; }
  TRPStyle Style;
  TCanvas Canvas;
  int32_t Width = 200;
  int32_t Height = 100;
  int32_t LeftMargin = 0, RightMargin = 0, TopMargin = 0, BottomMargin = 0;
  int32_t MaxTextWidth = 0;
  TRPDocumentFlags Flags = rpdfReportDefaults;
  TRPOptions Options = 0;
  AnsiString Delimiters = " .,;";
  TColor Color = clNone;
  TRPBackground* Background = nullptr;
  int32_t HOffs = 0, VOffs = 0;

  const IRPStyleSheet* GetRPStyle() const override { return &Style; }
  TRPStyle* GetStyleSheet() const override { return const_cast<TRPStyle*>(&Style); }
  TRPDocumentFlags GetDocumentFlags() const override { return Flags; }
  TRPOptions GetOptions() const override { return Options; }
  int32_t GetLeftMargin() const override { return LeftMargin; }
  int32_t GetRightMargin() const override { return RightMargin; }
  int32_t GetTopMargin() const override { return TopMargin; }
  int32_t GetBottomMargin() const override { return BottomMargin; }
  int32_t GetMaxTextWidth() const override { return MaxTextWidth; }
  int32_t GetWidth() const override { return Width; }
  int32_t GetHeight() const override { return Height; }
  TCanvas* GetCanvas() override { return &Canvas; }
  AnsiString GetDelimiters() const override { return Delimiters; }
  TColor GetColor() const override { return Color; }
  TRPBackground* GetBackground() const override { return Background; }
  int32_t GetHOffs() const override { return HOffs; }
  int32_t GetVOffs() const override { return VOffs; }

  // A new paragraph or text style (after the standard ones) and its index.
  int32_t AddParaStyle() {
    Style.ParaStyles().Add();
    return Style.ParaStyles().Count() - 1;
  }
  int32_t AddTextStyle() {
    Style.TextStyles().Add();
    return Style.TextStyles().Count() - 1;
  }
  TParaInfo& Para(int32_t i) { return *Style.ParaStyles()[i]; }
  TFontInfo& Font(int32_t i) { return *Style.TextStyles()[i]; }

  void FormatAll() { FormatDocument(); }
  // A paragraph (or, with continues, a run on the current line) of UTF-16 text.
  void AddW(const std::u16string& text, int32_t styleNo, int32_t paraNo) {
    Style.TextStyles()[styleNo]->Unicode = true;
    AddTextW(text, styleNo, TRPTag(), paraNo);
  }
};

// A 4 x 4 picture, blue with a red top-left pixel, that shows where it is drawn.
inline std::unique_ptr<TBitmap> MarkedPicture() {
  auto picture = std::make_unique<TBitmap>();
  picture->SetPixelFormat(pf24bit);
  picture->SetSize(4, 4);
  picture->Canvas()->Brush().SetColor(clBlue);
  picture->Canvas()->FillRect(TRect{0, 0, 4, 4});
  picture->SetPixelColor(0, 0, clRed);
  return picture;
}

// The draw items one per line (item, offset, length, left, top, width, height, "line"
// where a line starts), then the document's width, text width and height.
inline std::string DumpDrawLines(const TCustomRPFormattedData& data) {
  std::ostringstream out;
  for (int32_t i = 0; i < data.DrawItems.Count(); ++i) {
    const TRPDrawLineInfo& d = *data.DrawItems[i];
    out << "item " << d.ItemNo << " offs " << d.Offs << " len " << d.Length << " left " << d.Left << " top " << d.Top
        << " width " << d.Width << " height " << d.Height << (d.StartsLine() ? " line" : "") << "\n";
  }
  out << "document width " << data.DocumentWidth << " text width " << data.TextWidth << " height "
      << data.DocumentHeight << "\n";
  return out.str();
}
