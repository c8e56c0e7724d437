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
#include "richtext/interchange/RPRTFPeers.h"
#include "richtext/interchange/RPRTFProps.h"
#include "richtext/model/RPClipboardFormats.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"

namespace {

const TRtfPeerFiles& PasteRtfFiles() {
  static const TRtfPeerFiles files =
      MakeRtfPeerFiles("editor-paste-rtf-peer-cache",
                       [](const std::string&, const std::string&) {
                         const std::string body = std::string(kFlatOdtStart) + R"(<office:automatic-styles>
<style:style style:name="B" style:family="text"><style:text-properties fo:font-weight="bold"/></style:style>
<style:style style:name="I" style:family="text"><style:text-properties fo:font-style="italic"/></style:style>
<style:style style:name="U" style:family="text"><style:text-properties style:text-underline-style="solid" style:text-underline-width="auto" style:text-underline-color="font-color"/></style:style>
<style:style style:name="L" style:family="text"><style:text-properties fo:font-size="20pt"/></style:style>
</office:automatic-styles>
<office:body><office:text>
<text:p>Pasted <text:span text:style-name="B">strong</text:span> and <text:span text:style-name="I">slanted</text:span></text:p>
<text:p><text:span text:style-name="U">lined</text:span> <text:span text:style-name="L">large</text:span> Жёлтый 黄色</text:p>
</office:text></office:body></office:document>
)";
                         return std::vector<std::pair<std::string, std::string>>{{"pasted.fodt", body}};
                       },
                       {});
  return files;
}

std::string Utf8(const WideString& text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())).toStdString();
}

TEST(RichPaneEditPastePeerTest, LibreOfficeRtfFromTheClipboard) {
  const TRtfPeerFiles& files = PasteRtfFiles();
  ASSERT_EQ(files.Error, "");
  std::ifstream in(files.Rtf("pasted"), std::ios::binary);
  const AnsiString rtf{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_FALSE(rtf.empty());

  RegisterTextItemClasses();
  RegisterPictureItemClasses();
  TRPStyle style(nullptr);
  style.TextStyles()[0]->FontName = "Arial";
  TRichPaneEdit editor(nullptr);
  editor.SetStyle(&style);
  editor.ClientResized(400, 300);
  TRPEditRPData& data = editor.EditData();
  data.Clear();
  data.AddRawText("[]", 0, 0);
  editor.Format();
  data.SetCaretAtItemPos(0, 2);
  auto& props = RichPaneRTFReadProperties(editor);
  props.TextStyleMode = rprsAddIfNeeded;
  props.UnicodeMode = rpruOnlyUnicode;

  Clipboard().Open();
  Clipboard().Clear();
  Clipboard().SetBuffer(RPClipboardFormats().RTF, rtf);
  Clipboard().SetTextBuf("plain text beside");
  Clipboard().Close();
  ASSERT_TRUE(editor.CanPaste());
  editor.Paste();

  std::string text;
  std::map<std::string, const TFontInfo*> fonts;
  for (int32_t i = 0; i < data.GetItemCount(); ++i) {
    const std::string item = Utf8(data.GetItemTextW(i));
    text += (i > 0 && data.StartsParagraph(i) ? "/" : "") + item;
    fonts[item] = style.TextStyles()[data.GetItem(i)->StyleNo];
  }
  EXPECT_EQ(text, "[Pasted strong and slanted/lined large Жёлтый 黄色]");
  ASSERT_TRUE(fonts.count("strong") && fonts.count("slanted") && fonts.count("lined") && fonts.count("large"));
  EXPECT_TRUE(fonts["strong"]->Style.Contains(fsBold));
  EXPECT_FALSE(fonts["strong"]->Style.Contains(fsItalic));
  EXPECT_TRUE(fonts["slanted"]->Style.Contains(fsItalic));
  EXPECT_TRUE(fonts["lined"]->Style.Contains(fsUnderline));
  EXPECT_EQ(fonts["large"]->Size, 20);
  EXPECT_EQ(data.UndoList->Count(), 1);
  editor.Undo();
  EXPECT_EQ(Utf8(data.GetItemTextW(0)), "[]");
}

}  // namespace
