// A rich view with a style sheet for the export tests, and the exports as strings.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/base/Streams.h"
#include "richtext/interchange/RPHTMLExport.h"
#include "richtext/interchange/RPRTFExport.h"
#include "richtext/interchange/RPRTFProps.h"
#include "richtext/layout/view/RPViewTestData.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/table/RPTableItem.h"

struct TExportView : TTestRichPane {
  TExportView() { Style.DefCodePage = 1251; }
  ~TExportView() { Pane.Clear(); }
  TRichPaneRPData& Data() { return Pane.RPData(); }

  // A text style added after the standard ones; its index.
  int32_t AddTextStyle(const std::function<void(TFontInfo&)>& setup) {
    TFontInfo& style = *Style.TextStyles().Add();
    style.Assign(*Style.TextStyles()[0]);
    style.StyleName = "Added";
    setup(style);
    return Style.TextStyles().Count() - 1;
  }
  int32_t AddParaStyle(const std::function<void(TParaInfo&)>& setup) {
    TParaInfo& style = *Style.ParaStyles().Add();
    style.StyleName = "Added";
    setup(style);
    return Style.ParaStyles().Count() - 1;
  }
  // A table of rows x cols added as its own paragraph; cell texts with SetCell.
  TRPTableItemInfo& AddTable(int32_t rows, int32_t cols) {
    auto item = std::make_unique<TRPTableItemInfo>(rows, cols, &Data());
    TRPTableItemInfo& table = *item;
    Pane.AddItem("", std::move(item));
    return table;
  }
  // A list style of the given level types, the numbered levels with the format
  // "%<level>:s." and each level 20 pixels further in.
  TRPListInfo& AddList(std::initializer_list<TRPListType> types) {
    TRPListInfo& list = *Style.ListStyles().Add();
    for (TRPListType type : types) {
      TRPListLevel& level = *list.Levels().Add();
      level.ListType = type;
      level.LeftIndent = 20 * list.Levels().Count();
      level.MarkerIndent = level.LeftIndent - 15;
      level.FirstIndent = 0;
      if (level.HasTextNumbering()) level.FormatString = "%" + std::to_string(list.Levels().Count() - 1) + ":s.";
    }
    return list;
  }
  // A paragraph of a marker and its text.
  TRPMarkerItemInfo& AddMarker(int32_t listNo, int32_t level, const std::u16string& text, bool reset = false,
                               int32_t startFrom = 1, int32_t paraNo = 0) {
    auto marker = TRPMarkerItemInfo::CreateEx(&Data(), listNo, level, startFrom, reset);
    TRPMarkerItemInfo& ref = *marker;
    marker->ParaNo = paraNo;
    Data().AddItem({}, std::move(marker));
    Data().AddTextW(text, 0, TRPTag(), -1);
    return ref;
  }
  // A table of rows x cols with cell borders of one pixel, added at the end of cell.
  static TRPTableItemInfo& AddNestedTable(TRPTableCellData& cell, int32_t rows, int32_t cols) {
    auto item = std::make_unique<TRPTableItemInfo>(rows, cols, &cell);
    TRPTableItemInfo& table = *item;
    table.SetCellBorderWidth(1);
    cell.AddItem("", std::move(item));
    return table;
  }
  static void SetCell(TRPTableItemInfo& table, int32_t row, int32_t col, const std::string& text, int32_t style = 0) {
    TRPTableCellData& cell = *table.GetCell(row, col);
    cell.Clear();
    cell.AddRawText(text, style, 0);
  }

  std::string Rtf(bool selectionOnly = false) {
    TMemoryStream stream;
    EXPECT_TRUE(SaveRTFToStream(Pane, stream, selectionOnly));
    return Bytes(stream);
  }
  std::string Html(uint32_t options, bool css, TRPHTMLExportParams params = {}) {
    params.Options = options;
    TMemoryStream stream;
    EXPECT_TRUE(css ? SaveHTMLCSSToStream(Data(), stream, params) : SaveHTMLToStream(Data(), stream, params));
    return Bytes(stream);
  }
  // The body alone (no head, no end).
  std::string HtmlBody(uint32_t options, bool css) { return Html(options | rphtmlOnlyBody, css); }

  static std::string Bytes(TMemoryStream& stream) {
    return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
  }
};

// A view holding what RTF imports (styles added as needed), in a Unicode mode.
struct TImportedView : TExportView {
  // setup changes the reader's properties further.
  explicit TImportedView(const std::string& rtf, TRPReaderUnicode unicodeMode = rpruNoUnicode,
                         const std::function<void(TRPRTFReaderProperties&)>& setup = {}) {
    TRPRTFReaderProperties props;
    props.TextStyleMode = rprsAddIfNeeded;
    props.ParaStyleMode = rprsAddIfNeeded;
    props.UnicodeMode = unicodeMode;
    if (setup) setup(props);
    TMemoryStream stream;
    stream.WriteBuffer(rtf.data(), static_cast<int32_t>(rtf.size()));
    stream.SetPosition(0);
    int32_t position = 0;
    Result = props.ReadRTFFromStream(stream, Data(), position);
  }
  TRPRTFErrorCode Result;
  // The first picture item, or null.
  const TRPGraphicItemInfo* Picture() {
    for (int32_t i = 0; i < Data().GetItemCount(); ++i)
      if (const auto* p = dynamic_cast<const TRPGraphicItemInfo*>(Data().GetItem(i))) return p;
    return nullptr;
  }
};

// A heading, formatted runs, a hyperlink with a hint, a checkpoint, a numbered list of
// two levels, a table with a merged cell, a line and an empty paragraph.
inline void BuildSmallExportDocument(TExportView& v) {
  TRichPaneRPData& data = v.Data();
  v.AddList({rplstDecimal, rplstLowerAlpha});
  v.Pane.AddNamedCheckpoint("Top", false, TRPTag());
  data.AddTextW(u"A small document", 1, TRPTag(), 1);
  data.AddTextW(u"Plain, ", 0, TRPTag(), 0);
  data.AddTextW(u"italic", 3, TRPTag(), -1);
  data.AddTextW(u" & a ", 0, TRPTag(), -1);
  data.AddTextW(u"link", 4, TRPTag(), -1);
  data.GetItem(data.GetItemCount() - 1)->Hint = "Go";
  data.AddTextW(u".", 0, TRPTag(), -1);
  v.AddMarker(0, 0, u"First");
  v.AddMarker(0, 1, u"Inner");
  v.AddMarker(0, 0, u"Second");
  TRPTableItemInfo& table = v.AddTable(2, 2);
  table.SetBorderWidth(1);
  table.SetCellBorderWidth(1);
  ASSERT_TRUE(table.MergeCells(0, 0, 2, 1, true));
  TExportView::SetCell(table, 0, 0, "Wide cell");
  TExportView::SetCell(table, 1, 0, "A2");
  TExportView::SetCell(table, 1, 1, "B2");
  auto line = std::make_unique<TRPBreakItemInfo>(&data);
  data.AddItem("", std::move(line));
  data.AddTextW(u"", 0, TRPTag(), 0);
  data.AddTextW(u"The end.", 0, TRPTag(), 0);
  v.Pane.OnWriteHyperlink = [](TCustomRichPane*, int32_t, TCustomRPData&, int32_t, TRPSaveFormat, AnsiString& target,
                               AnsiString&) { target = "https://example.org/"; };
}

// The part of rtf after the header (from the first paragraph on).
inline std::string RtfBody(const std::string& rtf) {
  const size_t at = rtf.find("\\uc1\r\n");
  const size_t at0 = rtf.find("\\uc0\r\n");
  const size_t start = at != std::string::npos ? at + 6 : at0 != std::string::npos ? at0 + 6 : 0;
  return rtf.substr(start);
}

inline int CountOf(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
  return n;
}
