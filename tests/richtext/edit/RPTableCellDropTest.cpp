// Drops into the cells of a table in an editor, driven by the drag events the platform
// delivers, and what the document shows of a cell while its editor is open: every save
// and export written then holds the cell's text as it is written once the editor has
// closed, and so does a copy of the whole document.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "RPTableEditorScreen.h"
#include "platform/base/CodePages.h"
#include "platform/base/Streams.h"
#include "platform/gui/Clipbrd.h"
#include "richtext/model/RPClipboardFormats.h"

namespace {

std::string CellDropBytes(TMemoryStream& stream) {
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

// The outputs of the whole document, each as its bytes.
struct TCellDropOutput {
  const char* Name;
  std::function<std::string(TRichPaneEdit&)> Write;
};

const TCellDropOutput CellDropOutputs[] = {
    {"native format",
     [](TRichPaneEdit& editor) {
       TMemoryStream stream;
       EXPECT_TRUE(editor.SaveRPFToStream(stream, rpfsmDocument));
       return CellDropBytes(stream);
     }},
    {"RTF",
     [](TRichPaneEdit& editor) {
       TMemoryStream stream;
       EXPECT_TRUE(editor.SaveRTFToStream(stream, false));
       return CellDropBytes(stream);
     }},
    {"HTML",
     [](TRichPaneEdit& editor) {
       TMemoryStream stream;
       EXPECT_TRUE(editor.SaveHTMLToStream(stream, TRPHTMLExportParams{}));
       return CellDropBytes(stream);
     }},
    {"HTML with CSS",
     [](TRichPaneEdit& editor) {
       TMemoryStream stream;
       EXPECT_TRUE(editor.SaveHTMLCSSToStream(stream, TRPHTMLExportParams{}));
       return CellDropBytes(stream);
     }},
    {"plain text",
     [](TRichPaneEdit& editor) {
       TMemoryStream stream;
       EXPECT_TRUE(editor.SaveTextToStream(stream, 80));
       return CellDropBytes(stream);
     }},
    {"the text as edit-control messages read it",
     [](TRichPaneEdit& editor) { return WideToAnsi(editor.GetLinearText(0, -1), 1252); }},
};

// The whole document selected and copied: the native format and RTF on the clipboard.
std::string CopyOfTheWholeDocument(TRichPaneEdit& editor) {
  editor.SelectAll();
  EXPECT_TRUE(editor.CopySelection());
  editor.Deselect();
  const TRPClipboardFormats& formats = RPClipboardFormats();
  return std::string(Clipboard().GetBuffer(formats.RichPane)) + std::string(Clipboard().GetBuffer(formats.RTF));
}

// Text dropped into a cell opens the cell's editor, which holds the cell's items until it
// closes: what is written meanwhile is what is written after it closed.
TEST_F(TTableEditorScreen, WhatIsSavedWhileACellIsEditedHoldsItsText) {
  ASSERT_NO_FATAL_FAILURE(ShowAndDropIntoCell(1, 1, "+dropped"));
  std::vector<std::string> whileEdited;
  for (const TCellDropOutput& output : CellDropOutputs) whileEdited.push_back(output.Write(Editor));
  ASSERT_TRUE(EditsCell(1, 1)) << "writing leaves the cell's editor open";
  Table->DestroyInplaceEditor();
  ASSERT_EQ(CellText(1, 1), "r1c1+dropped");
  for (size_t i = 0; i < whileEdited.size(); ++i) {
    SCOPED_TRACE(CellDropOutputs[i].Name);
    EXPECT_NE(whileEdited[i].find("dropped"), std::string::npos);
    EXPECT_EQ(whileEdited[i], CellDropOutputs[i].Write(Editor));
  }
  // The native format written while the cell was edited reads back with the cell's text.
  TMemoryStream saved;
  saved.WriteBuffer(whileEdited[0].data(), static_cast<int32_t>(whileEdited[0].size()));
  saved.SetPosition(0);
  TRichPaneEdit reader(nullptr);
  reader.SetStyle(&Style);
  ASSERT_TRUE(reader.LoadRPFFromStream(saved));
  auto* table = dynamic_cast<TRPTableItemInfo*>(reader.EditData().GetItem(1));
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->GetCell(1, 1)->GetItemTextRaw(0), "r1c1+dropped");
}

// Selecting the whole document while a cell is edited closes the cell's editor (its
// content back in the cell): the copy of the selection holds the cell's text, as a copy
// made with the cell closed does.
TEST_F(TTableEditorScreen, ACopyOfTheWholeDocumentHoldsAnEditedCellsText) {
  Editor.Options |= rpoAutoCopyRPF | rpoAutoCopyRTF;
  ASSERT_NO_FATAL_FAILURE(Show());
  Click(1, 1);
  ASSERT_TRUE(EditsCell(1, 1));
  Key(Qt::Key_End);
  Key(Qt::Key_X, Qt::NoModifier, "x");
  const std::string copied = CopyOfTheWholeDocument(Editor);
  EXPECT_EQ(CellEditor(), nullptr);
  EXPECT_NE(copied.find("r1c1x"), std::string::npos);
  EXPECT_EQ(copied, CopyOfTheWholeDocument(Editor));
}

}  // namespace
