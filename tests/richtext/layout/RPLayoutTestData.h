// A formatted document for the tests: a style sheet, a measuring canvas (or a page), a
// width and margins of its own, and the document flags of the report control unless a
// test sets others.
#pragma once

#include <memory>
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
  TTestFormattedData() : Style(nullptr) {
    RegisterTextItemClasses();
    RegisterPictureItemClasses();
    RegisterBulletItemClasses();
    Style.TextStyles()[0]->FontName = "Arial";
  }
  TRPStyle Style;
  TCanvas Canvas;
  int32_t Width = 200;
  int32_t Height = 100;
  int32_t LeftMargin = 0, RightMargin = 0, TopMargin = 0, BottomMargin = 0;
  int32_t MaxTextWidth = 0;
  TRPDocumentFlags Flags = rpdfReportDefaults;
  TRPOptions Options = 0;

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

  void FormatAll() { Format(false, true, false, 0, nullptr, false, false, false); }
  // A paragraph (or, with continues, a run on the current line) of UTF-16 text.
  void AddW(const std::u16string& text, int32_t styleNo, int32_t paraNo) {
    Style.TextStyles()[styleNo]->Unicode = true;
    AddTextW(text, styleNo, TRPTag(), paraNo);
  }
};
