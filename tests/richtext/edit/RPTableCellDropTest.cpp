// Drops into the cells of a table in an editor, driven by the drag events the platform
// delivers, and what the document shows of a cell while its editor is open: every save
// and export written then holds the cell's text as it is written once the editor has
// closed, and so does a copy of the whole document; a move into a cell is one undo step;
// the drop caret over an open cell shows on the cell's editor, and a scrolled cell
// editor takes the drop where the mouse points.
#include <gtest/gtest.h>

#include <QDragLeaveEvent>
#include <QImage>
#include <cstdlib>
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

// The document's selection dragged into a cell moves there as one undo step: one Ctrl+Z
// gives the document back as it was, one Ctrl+Y moves the text again.
TEST_F(TTableEditorScreen, AMoveIntoACellIsOneUndoStep) {
  ASSERT_NO_FATAL_FAILURE(Show());
  EXPECT_EQ(DragSelectionTo(0, 2, 0, 4, InCell(2, 2, 70)), Qt::MoveAction);
  ASSERT_TRUE(EditsCell(2, 2));
  EXPECT_EQ(CellText(2, 2), "r2c2ef");
  EXPECT_EQ(Editor.EditData().GetItemTextRaw(0), "bore");
  Table->DestroyInplaceEditor();
  const std::string moved = State();
  Editor.Window().SetFocus();
  Undo();
  Table->DestroyInplaceEditor();
  EXPECT_EQ(State(), Start);
  Editor.Window().SetFocus();
  Key(Qt::Key_Y, Qt::ControlModifier);
  Table->DestroyInplaceEditor();
  EXPECT_EQ(State(), moved);
}

// Text of the open cell dragged to another place of the same cell moves there, one step
// of the cell.
TEST_F(TTableEditorScreen, AMoveInsideAnEditedCellIsOneStepOfTheCell) {
  ASSERT_NO_FATAL_FAILURE(ShowAndOpenCellWith(1, 1, "one two words"));
  const QPoint end = CellPointAt(14) - EditorAt();
  TRPEditRPData& cell = CellEditor()->EditData();
  cell.SetSelectionBounds(0, 1, 0, 5);
  ASSERT_TRUE(cell.InitDragging());
  TRPDragDataSink sink;
  cell.PutDragFormats(sink, cell.GetColor(), nullptr);
  const std::unique_ptr<QMimeData> dragged(ToMimeData(sink.Data));
  EXPECT_EQ(DropOnHost(CellEditorWidget(), end, *dragged), Qt::MoveAction);
  cell.DeleteDraggedSelection();
  cell.DoneDragging();
  EXPECT_EQ(CellText(1, 1), "two wordsone ");
  Undo();
  EXPECT_EQ(CellText(1, 1), "one two words");
}

// While text is dragged over the cell being edited, the drop caret shows on the cell's
// editor (which lies over the host's pixels) and goes when the drag leaves.
TEST_F(TTableEditorScreen, TheDropCaretOverAnEditedCellShowsOnTheCellsEditor) {
  ASSERT_NO_FATAL_FAILURE(Show());
  Click(1, 1);
  ASSERT_TRUE(EditsCell(1, 1));
  QWidget& cell = CellEditorWidget();
  const QPoint at = CellPointAt(3) - EditorAt();
  // The focus goes to the host: the cell's own blinking caret does not show meanwhile.
  Editor.Window().SetFocus();
  QApplication::processEvents();
  ASSERT_TRUE(EditsCell(1, 1));
  const QImage before = cell.grab().toImage();
  QMimeData text;
  text.setText("x");
  QDragEnterEvent enter(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&cell, &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDragMoveEvent over(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&cell, &over);
  QApplication::processEvents();
  const QImage during = cell.grab().toImage();
  // The caret's dashes: pixels changed on the column of the drop point and its neighbour.
  int32_t changed = 0, elsewhere = 0;
  for (int y = 0; y < before.height(); ++y)
    for (int x = 0; x < before.width(); ++x)
      if (before.pixel(x, y) != during.pixel(x, y)) ++(std::abs(x - at.x()) <= 2 ? changed : elsewhere);
  EXPECT_GT(changed, 2);
  EXPECT_EQ(elsewhere, 0);
  QDragLeaveEvent leave;
  QApplication::sendEvent(&cell, &leave);
  QApplication::processEvents();
  EXPECT_EQ(cell.grab().toImage(), before);
}

// A cell taller than the tallest editor scrolls inside its editor: a drop where the mouse
// points goes into the line shown there, not the line at that place of the unscrolled
// content.
TEST_F(TTableEditorScreen, ADropIntoAScrolledCellEditorLandsAtTheLineShown) {
  TFontInfo& large = *Style.TextStyles().Add();
  large.FontName = "Arial";
  large.Size = 200;
  const int32_t largeStyle = Style.TextStyles().Count() - 1;
  TRPTableCellData& tall = *Table->GetCell(1, 1);
  tall.Clear();
  for (int32_t i = 0; i < 45; ++i) tall.AddRawText("L" + std::to_string(i), largeStyle, 0);
  ASSERT_NO_FATAL_FAILURE(Show());
  Click(1, 1);
  ASSERT_TRUE(EditsCell(1, 1));
  TRPTableInplaceEdit& editor = *CellEditor();
  ASSERT_TRUE(editor.VScrollAllowed) << "the cell is taller than an editor is made";
  editor.VScrollTo(2000, true);
  QApplication::processEvents();
  TRPEditRPData& data = editor.EditData();
  ASSERT_GE(data.GetVOffs(), 1000);
  const QPoint at(30, 40);
  // The paragraph the editor shows at that point.
  int32_t shown = -1;
  for (int32_t i = 0; i < data.DrawItems.Count(); ++i) {
    const TRPDrawLineInfo& d = *data.DrawItems[i];
    if (d.Top <= at.y() + data.GetVOffs() && at.y() + data.GetVOffs() < d.Top + d.Height) shown = d.ItemNo;
  }
  ASSERT_GT(shown, 0);
  const std::string before = std::string(data.GetItemTextRaw(shown));
  QMimeData text;
  text.setText("+");
  EXPECT_EQ(DropOnHost(CellEditorWidget(), at, text), Qt::CopyAction);
  ASSERT_TRUE(EditsCell(1, 1));
  EXPECT_NE(std::string(data.GetItemTextRaw(shown)).find('+'), std::string::npos) << before;
  EXPECT_EQ(std::string(data.GetItemTextRaw(0)), "L0");
}

}  // namespace
