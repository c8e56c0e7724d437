// RTF written by LibreOffice (headless, converted once and cached in the build folder)
// inserted into the editor at the caret: its text, its bold and italic runs and its
// Cyrillic and CJK text arrive, in one undo step.
#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <string>

#include "QtUtf8.h"
#include "platform/base/CodePages.h"
#include "platform/base/Sound.h"
#include "platform/gui/Forms.h"
#include "richtext/edit/RichPaneEdit.h"
#include "richtext/edit/RichPaneEditPeers.h"
#include "richtext/interchange/RPRTFProps.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"

namespace {

TEST(RichPaneEditPeerTest, LibreOfficeRtfGoesInAtTheCaret) {
  const TRtfPeerFiles& files = EditorRtfPeerFiles();
  ASSERT_EQ(files.Error, "");
  TRPStyle style(nullptr);
  style.TextStyles()[0]->FontName = "Arial";
  TRichPaneEdit editor(nullptr);
  editor.SetStyle(&style);
  editor.ClientResized(400, 300);
  TRPEditRPData& data = editor.EditData();
  data.Clear();
  data.AddRawText("AB", 0, 0);
  editor.Format();
  data.SetCaretAtItemPos(0, 2);
  auto& props = RichPaneRTFReadProperties(editor);
  props.TextStyleMode = rprsAddIfNeeded;
  props.UnicodeMode = rpruOnlyUnicode;
  const std::string rtfName = files.Rtf("styled").string();
  ASSERT_TRUE(editor.InsertRTFFromFile(AnsiToWide(AnsiString(rtfName))));
  // The base path was the file's folder meanwhile, and is back now.
  EXPECT_EQ(props.BasePath, AnsiString());

  std::string text;
  bool bold = false, italic = false;
  for (int32_t i = 0; i < data.GetItemCount(); ++i) {
    const std::string item = Utf8(data.GetItemTextW(i));
    text += (i > 0 && data.StartsParagraph(i) ? "/" : "") + item;
    const TFontInfo& font = *style.TextStyles()[data.GetItem(i)->StyleNo];
    if (item == "bold") bold = font.Style.Contains(fsBold) && !font.Style.Contains(fsItalic);
    if (item == "italic") italic = font.Style.Contains(fsItalic) && !font.Style.Contains(fsBold);
  }
  EXPECT_EQ(text, "APlain bold and italic/Кириллица 中文B");
  EXPECT_TRUE(bold);
  EXPECT_TRUE(italic);
  EXPECT_EQ(data.UndoList->Count(), 1);
  editor.Undo();
  ASSERT_EQ(data.GetItemCount(), 1);
  EXPECT_EQ(Utf8(data.GetItemTextW(0)), "AB");
  editor.Redo();
  EXPECT_EQ(data.GetItemCount() > 1, true);
}

}  // namespace
