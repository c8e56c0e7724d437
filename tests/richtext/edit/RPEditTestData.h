// An editor for the tests: a rich view control whose document is editable data, that
// answers as the editor control does and records what the data tells it, on a window
// host that records the caret it is asked to show.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "richtext/edit/RPERPData.h"
#include "richtext/layout/view/RPViewTestData.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPUnicode.h"

class TTestEditPane : public TCustomRichPane, public IRPEditorControl {
public:
  TTestEditPane() : TCustomRichPane(nullptr, &TRPEditRPData::Create) {}
  TRPEditRPData& Edit() const { return static_cast<TRPEditRPData&>(RPData()); }

  bool ReadOnly = false;
  TRPEditorOptions EditorOptions = rpoEditorDefaults;
  int32_t CaretMoves = 0;
  bool Modified = true;
  std::vector<int32_t> TextStyleSets, ParaStyleSets;

  bool GetReadOnly() const override { return ReadOnly; }
  TRPEditorOptions GetEditorOptions() const override { return EditorOptions; }
  void DoCaretMove() override { ++CaretMoves; }
  void SetModified(bool value) override { Modified = value; }
  void SetCurTextStyleNo(int32_t styleNo) override {
    TextStyleSets.push_back(styleNo);
    Edit().CurTextStyleNo = styleNo;
  }
  void SetCurParaStyleNo(int32_t paraNo) override {
    ParaStyleSets.push_back(paraNo);
    Edit().CurParaStyleNo = paraNo;
  }

  // Style conversions: none unless set; changes counted.
  std::function<int32_t(int32_t styleNo, int32_t userData)> TextConversion;
  std::function<int32_t(int32_t paraNo, int32_t userData)> ParaConversion;
  int32_t Changes = 0;
  bool ConvertTextStyle(int32_t styleNo, bool, int32_t& newStyleNo, int32_t userData, int32_t) override {
    if (!TextConversion) return false;
    newStyleNo = TextConversion(styleNo, userData);
    return true;
  }
  bool ConvertParaStyle(int32_t paraNo, int32_t userData, int32_t& newParaNo) override {
    if (!ParaConversion) return false;
    newParaNo = ParaConversion(paraNo, userData);
    return true;
  }
  void Change() override { ++Changes; }
};

// A host that also keeps the caret as the window would show it.
class TCaretHost : public TRecordingHost {
public:
  bool CaretExists = false;
  int32_t HideCount = 0;
  int32_t CaretX = 0, CaretY = 0, CaretWidth = 0, CaretHeight = 0;
  int32_t Created = 0, Destroyed = 0;
  bool CaretShown() const { return CaretExists && HideCount == 0; }

  void CreateCaret(int32_t width, int32_t height) override {
    CaretExists = true;
    HideCount = 1;
    CaretWidth = width;
    CaretHeight = height;
    ++Created;
  }
  void DestroyCaret() override {
    CaretExists = false;
    ++Destroyed;
  }
  void SetCaretPos(int32_t x, int32_t y) override {
    CaretX = x;
    CaretY = y;
  }
  void ShowCaret() override {
    if (CaretExists && HideCount > 0) --HideCount;
  }
  void HideCaret() override {
    if (CaretExists) ++HideCount;
  }
};

// Text styles of the sheet: 0 plain (8-bit), 6 Unicode, 7 Unicode serif, 8 Unicode
// bold; paragraph styles 0 and 1 (centred) as a new sheet has them, 2 protected.
inline constexpr int32_t UnicodeStyle = 6, SerifStyle = 7, BoldStyle = 8;
inline constexpr int32_t ProtectedPara = 2;

// The draw items of a document, one a line, and its height: two layouts compare by it.
inline std::string DumpDrawItems(const TRPEditRPData& data) {
  std::ostringstream out;
  for (int32_t i = 0; i < data.DrawItems.Count(); ++i) {
    const TRPDrawLineInfo& d = *data.DrawItems[i];
    out << d.ItemNo << "/" << d.Offs << "+" << d.Length << "@" << d.Left << "," << d.Top << " " << d.Width << "x"
        << d.Height << (d.StartsLine() ? " new" : "") << "\n";
  }
  out << "height " << data.DocumentHeight;
  return out.str();
}

struct TEditFixture : testing::Test {
  TEditFixture() {
    Style.TextStyles()[0]->FontName = "Arial";
    while (Style.TextStyles().Count() <= BoldStyle) Style.TextStyles().Add();
    Style.TextStyles()[UnicodeStyle]->FontName = "Arial";
    Style.TextStyles()[UnicodeStyle]->Unicode = true;
    Style.TextStyles()[SerifStyle]->FontName = "Times New Roman";
    Style.TextStyles()[SerifStyle]->Unicode = true;
    Style.TextStyles()[BoldStyle]->FontName = "Arial";
    Style.TextStyles()[BoldStyle]->Unicode = true;
    Style.TextStyles()[BoldStyle]->Style = TFontStyles{fsBold};
    while (Style.ParaStyles().Count() <= ProtectedPara) Style.ParaStyles().Add();
    Style.ParaStyles()[ProtectedPara]->Options.Include(rppaoStyleProtect);
    Pane.SetStyle(&Style);
    Pane.SetHost(&Host);
    Pane.ClientResized(300, 200);
    // The pass gave the empty document its empty item; the tests start with none.
    Data().Clear();
    Host.HasFocus = true;
  }
  ~TEditFixture() override {
    Pane.SetHost(nullptr);
    Data().Clear();
  }

  TRPEditRPData& Data() { return Pane.Edit(); }
  // A paragraph (or, with paraNo -1, a run on the line) of UTF-16 text.
  void AddW(const std::u16string& text, int32_t styleNo = UnicodeStyle, int32_t paraNo = 0) {
    Data().AddTextW(text, styleNo, TRPTag(), paraNo);
  }
  void AddA(const AnsiString& text, int32_t paraNo = 0) { Data().AddRawText(text, 0, paraNo); }
  void Format() { Data().FormatDocument(); }
  std::u16string TextOf(int32_t itemNo) { return Data().GetItemTextW(itemNo); }

  TRPStyle Style{nullptr};
  TCaretHost Host;
  TTestEditPane Pane;
};
