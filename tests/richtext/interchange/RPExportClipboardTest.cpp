// Copying a selection as RTF and HTML through the copy slots of the layout's clipboard
// hook, into a sink that records what it is given.
#include <gtest/gtest.h>

#include <map>

#include "platform/base/ClipboardFormats.h"

#include "richtext/interchange/RPExportClipboard.h"
#include "richtext/interchange/RPExportTestData.h"
#include "richtext/layout/RPClipboard.h"
#include "richtext/model/RPClipboardFormats.h"

namespace {

class TRecordingSink : public IRPClipboard {
public:
  std::vector<std::string> Order;
  std::map<uint32_t, std::string> Data;
  void SetText(const AnsiString&) override { Order.push_back("text"); }
  void SetUnicodeText(const WideString&) override { Order.push_back("unicode"); }
  void SetGraphic(const TGraphic&) override { Order.push_back("picture"); }
  void SetData(uint32_t format, const AnsiString& bytes) override {
    Order.push_back(GetClipboardFormatName(format));
    Data[format] = bytes;
  }
};

class RPExportClipboardTest : public testing::Test {
protected:
  RPExportClipboardTest() { RegisterExportCopyFormats(); }
  ~RPExportClipboardTest() override {
    RPCopyFormatWriters().RTF = nullptr;
    RPCopyFormatWriters().HTML = nullptr;
  }
};

TEST_F(RPExportClipboardTest, TheSelectionGoesAsRtfAndHtml) {
  TExportView view;
  view.Pane.AddTextNL("first line", 0, 0, 0);
  view.Data().AddTextW(u" bold", 1, TRPTag(), -1);
  view.Pane.AddTextNL("second line", 0, 0, 0);
  view.Pane.Format();
  view.Pane.SetSelectionBounds(0, 7, 2, 7);  // "line", " bold", "second"
  TRecordingSink sink;
  view.Data().PutSelectionFormats(sink, 0x123456, nullptr, false);
  // The native format first, then the text (always as UTF-16, which loses nothing), then
  // the formatted forms.
  EXPECT_EQ(sink.Order, (std::vector<std::string>{"RichPane Format", "unicode", "Rich Text Format", "HTML Format"}));
  const std::string rtf = sink.Data[RPClipboardFormats().RTF];
  EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
  EXPECT_NE(rtf.find("\\plain \\f0\\fs20 line\\plain \\f0\\b\\fs20\\cf2  bold\r\n\\par "), std::string::npos) << rtf;
  EXPECT_TRUE(rtf.ends_with(" second}"));
  EXPECT_EQ(rtf.find("first"), std::string::npos);
  // The view's colour joins the colour table.
  EXPECT_NE(rtf.find("\\red86\\green52\\blue18;}"), std::string::npos);
  const std::string html = sink.Data[RPClipboardFormats().HTML];
  EXPECT_NE(html.find("charset=UTF-8"), std::string::npos);
  EXPECT_NE(html.find("<body bgcolor=\"#563412\""), std::string::npos);
  EXPECT_NE(html.find(">line<font color=\"#0000ff\"><b> bold</b></font></font></p>\r\n<p>"), std::string::npos) << html;
  EXPECT_NE(html.find(">second</font></p>"), std::string::npos);
  EXPECT_EQ(html.find("first"), std::string::npos);
  // Without the RTF option neither goes; a drag takes both.
  view.Pane.Options &= ~rpoAutoCopyRTF;
  TRecordingSink plain;
  view.Data().PutSelectionFormats(plain, clNone, nullptr, false);
  EXPECT_EQ(plain.Order, (std::vector<std::string>{"RichPane Format", "unicode"}));
  TRecordingSink drag;
  view.Data().PutSelectionFormats(drag, clNone, nullptr, true);
  EXPECT_EQ(drag.Order,
            (std::vector<std::string>{"RichPane Format", "Rich Text Format", "HTML Format", "text", "unicode"}));
}

TEST_F(RPExportClipboardTest, SelectedCellsAreTheTablesToCopy) {
  // A selection of cells is held by the table: the document around it writes no RTF body.
  TExportView view;
  view.Pane.AddTextNL("x", 0, 0, 0);
  TRPTableItemInfo& table = view.AddTable(1, 1);
  view.Pane.Format();
  view.Pane.SetSelectionBounds(0, 1, 1, 1);
  view.Data().SetInnerSelectionItem(&table);
  TRecordingSink sink;
  ASSERT_TRUE(CopyRTF(view.Data(), clNone, sink));
  EXPECT_EQ(sink.Data[RPClipboardFormats().RTF], "");
}

}  // namespace
