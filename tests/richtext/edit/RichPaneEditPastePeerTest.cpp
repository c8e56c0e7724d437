// RTF written by LibreOffice (headless, converted once and cached in the build folder)
// put on the clipboard as "Rich Text Format" and pasted into the editor: its text and
// its bold, italic, underlined and larger runs arrive, in one undo step.
#include <gtest/gtest.h>

#include <QString>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "platform/gui/Clipbrd.h"
#include "richtext/edit/RichPaneEdit.h"
#include "richtext/edit/RichPaneEditPeers.h"
#include "richtext/interchange/RPRTFProps.h"
#include "richtext/model/RPClipboardFormats.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"

namespace {

// An editor holding "[]" with the caret between the brackets, reading RTF into Unicode
// styles it adds as needed.
struct TPasteTarget {
  TPasteTarget() {
    Sheet.TextStyles()[0]->FontName = "Arial";
    Editor.SetStyle(&Sheet);
    Editor.ClientResized(400, 300);
    Data.Clear();
    Data.AddRawText("[]", 0, 0);
    Editor.Format();
    Data.SetCaretAtItemPos(0, 2);
    TRPRTFReaderProperties& props = RichPaneRTFReadProperties(Editor);
    props.TextStyleMode = rprsAddIfNeeded;
    props.UnicodeMode = rpruOnlyUnicode;
  }
  // Each item's text (UTF-8) with its text style; "/" before a paragraph.
  std::vector<std::pair<std::string, const TFontInfo*>> Runs() {
    std::vector<std::pair<std::string, const TFontInfo*>> runs;
    for (int32_t i = 0; i < Data.GetItemCount(); ++i) {
      const WideString text = Data.GetItemTextW(i);
      std::string run = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())).toStdString();
      if (i > 0 && Data.StartsParagraph(i)) run.insert(0, "/");
      runs.emplace_back(run, Sheet.TextStyles()[Data.GetItem(i)->StyleNo]);
    }
    return runs;
  }
  TRPStyle Sheet{nullptr};
  TRichPaneEdit Editor{nullptr};
  TRPEditRPData& Data = Editor.EditData();
};

TEST(RichPaneEditPastePeerTest, LibreOfficeRtfFromTheClipboard) {
  const TRtfPeerFiles& files = EditorRtfPeerFiles();
  ASSERT_EQ(files.Error, "");
  std::ifstream in(files.Rtf("pasted"), std::ios::binary);
  const AnsiString rtf{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_FALSE(rtf.empty());
  TPasteTarget target;
  Clipboard().Open();
  Clipboard().Clear();
  Clipboard().SetBuffer(RPClipboardFormats().RTF, rtf);
  Clipboard().SetTextBuf("plain text beside");
  Clipboard().Close();
  ASSERT_TRUE(target.Editor.CanPaste());
  target.Editor.Paste();

  std::string text;
  std::map<std::string, const TFontInfo*> fonts;
  for (const auto& [run, font] : target.Runs()) {
    text += run;
    fonts[run.starts_with("/") ? run.substr(1) : run] = font;
  }
  EXPECT_EQ(text, "[Pasted strong and slanted/lined large Жёлтый 黄色]");
  ASSERT_TRUE(fonts.count("strong") && fonts.count("slanted") && fonts.count("lined") && fonts.count("large"));
  EXPECT_TRUE(fonts["strong"]->Style.Contains(fsBold));
  EXPECT_FALSE(fonts["strong"]->Style.Contains(fsItalic));
  EXPECT_TRUE(fonts["slanted"]->Style.Contains(fsItalic));
  EXPECT_TRUE(fonts["lined"]->Style.Contains(fsUnderline));
  EXPECT_EQ(fonts["large"]->Size, 20);
  EXPECT_EQ(target.Data.UndoList->Count(), 1);
  target.Editor.Undo();
  EXPECT_EQ(target.Runs().size(), 1u);
  EXPECT_EQ(target.Runs()[0].first, "[]");
}

}  // namespace
