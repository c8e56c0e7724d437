// A table of three rows and three columns between two paragraphs, in an editor in a
// window on Qt's offscreen platform, driven by the events the platform delivers: clicks
// into cells, keys to the focused widget, drags and drops; the points of cells in the
// host's client area, and the document's state (its native dump and the table's grid).
#pragma once

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTest>
#include <memory>
#include <string>

#include "../interchange/RPFDocumentDump.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtClipboard.h"
#include "richtext/edit/RPTInplace.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/table/RPTableTestData.h"

// Enter, move and drop at a point of the host; the action the drop was answered with.
inline Qt::DropAction DropOnHost(QWidget& host, const QPoint& at, const QMimeData& mime) {
  const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
  QDragEnterEvent enter(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&host, &enter);
  if (!enter.isAccepted()) return Qt::IgnoreAction;
  QDragMoveEvent moveOver(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&host, &moveOver);
  QDropEvent drop(QPointF(at), actions, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&host, &drop);
  QApplication::processEvents();
  return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

struct TTableEditorScreen : testing::Test {
  TTableEditorScreen() {
    Style.TextStyles()[0]->FontName = "Arial";
    Editor.SetStyle(&Style);
    TRPEditRPData& data = Editor.EditData();
    data.Clear();
    data.AddRawText("before", 0, 0);
    auto table = std::make_unique<TRPTableItemInfo>(3, 3, &data);
    Table = table.get();
    for (int32_t r = 0; r < 3; ++r)
      for (int32_t c = 0; c < 3; ++c) {
        TRPTableCellData& cell = *Table->GetCell(r, c);
        cell.Clear();
        cell.AddRawText("r" + std::to_string(r) + "c" + std::to_string(c), 0, 0);
      }
    Table->SetCellPadding(4);
    data.AddItem("", std::move(table));
    data.AddRawText("after", 0, 0);
    Form.SetBounds(0, 0, 420, 300);
    Editor.Window().SetParent(&Form);
    Editor.Window().SetBounds(10, 10, 400, 280);
  }
  ~TTableEditorScreen() override { Form.Hide(); }

  void Show() {
    Form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.Widget()));
    Editor.Format();
    Editor.Window().SetFocus();
    QApplication::processEvents();
    Table->UpdatePosition();
    Start = State();
  }
  // The cell (row, col) holding text alone; the window shown, a click opens that cell.
  void ShowAndOpenCellWith(int32_t row, int32_t col, const AnsiString& text) {
    Table->GetCell(row, col)->Clear();
    Table->GetCell(row, col)->AddRawText(text, 0, 0);
    ASSERT_NO_FATAL_FAILURE(Show());
    Click(row, col);
    ASSERT_TRUE(EditsCell(row, col));
  }
  // The document's native dump and the table's grid.
  std::string State() { return DumpDrawLines(Editor.EditData()) + DumpGrid(Table->Rows()); }

  static QWidget& ViewportOf(TRPWindow& window) {
    auto* area = qobject_cast<QAbstractScrollArea*>(window.Widget());
    return area ? *area->viewport() : *window.Widget();
  }
  QWidget& Host() { return ViewportOf(Editor.Window()); }
  TRPTableInplaceEdit* CellEditor() { return dynamic_cast<TRPTableInplaceEdit*>(Editor.GetInplaceEditor()); }
  QWidget& CellEditorWidget() { return ViewportOf(CellEditor()->Window()); }
  // A point inside the cell (row, col), in the host's client area.
  QPoint InCell(int32_t row, int32_t col, int32_t dx = 6, int32_t dy = 6) {
    Table->UpdatePosition();
    const TRPTableCellData& cell = *Table->GetCell(row, col);
    return QPoint(Table->GetPosition().X + cell.Left + dx, Table->GetPosition().Y + cell.Top + dy);
  }
  // The middle of the inner border before column col (row) in the host's client area.
  QPoint ColumnBorder(int32_t col) {
    Table->UpdatePosition();
    const TRPTableItemFormattingInfo& info = Table->FormattingInfo();
    return QPoint(Table->GetPosition().X + info.ColStarts[col] - 1, Table->GetPosition().Y + info.RowStarts[0] + 5);
  }
  QPoint RowBorder(int32_t row) {
    Table->UpdatePosition();
    const TRPTableItemFormattingInfo& info = Table->FormattingInfo();
    return QPoint(Table->GetPosition().X + info.ColStarts[0] + 5, Table->GetPosition().Y + info.RowStarts[row] - 1);
  }
  // A press in one cell opens its editor, which then holds the mouse: the drag to
  // another cell and the release come to it.
  void DragFromCell(int32_t row, int32_t col, int32_t toRow, int32_t toCol) {
    QTest::mousePress(&Host(), Qt::LeftButton, {}, InCell(row, col));
    ASSERT_TRUE(EditsCell(row, col));
    QTest::mouseMove(&CellEditorWidget(), InCell(toRow, toCol) - EditorAt());
  }
  void ReleaseInCell(int32_t row, int32_t col) {
    QTest::mouseRelease(&CellEditorWidget(), Qt::LeftButton, {}, InCell(row, col) - EditorAt());
    QApplication::processEvents();
  }
  QPoint EditorAt() { return QPoint(CellEditor()->Window().Left(), CellEditor()->Window().Top()); }
  // The point in the host's client area of the caret stop before offset of the first item
  // of the cell being edited (one pixel to its right, half way down its line).
  QPoint CellPointAt(int32_t offset) {
    TRPEditRPData& data = CellEditor()->EditData();
    data.SetSelectionBounds(0, offset, 0, offset);
    data.AfterSelectionChange(false);
    const TRPDrawLineInfo& d = *data.DrawItems[data.CaretDrawItemNo];
    return QPoint(data.CaretPos().X - data.GetHOffs() + 1, d.Top + d.Height / 2 - data.GetVOffs()) + EditorAt();
  }
  void Click(int32_t row, int32_t col) {
    QTest::mouseClick(&Host(), Qt::LeftButton, {}, InCell(row, col));
    QApplication::processEvents();
  }
  // A key to the widget that has the focus.
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = QString()) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &Host();
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
    QApplication::processEvents();
  }
  void Undo() { Key(Qt::Key_Z, Qt::ControlModifier); }
  // The text of the cell's content (the editor's while it edits the cell).
  std::string CellText(int32_t row, int32_t col) {
    TRPTableCellData& cell = *Table->GetCell(row, col);
    TCustomRPData& content = *cell.GetRPData();
    std::string text;
    for (int32_t i = 0; i < content.GetItemCount(); ++i) text += content.GetItemTextRaw(i);
    return text;
  }
  // Text from elsewhere dropped after the text of cell (row, col) of the window shown: a
  // copy, which the cell's editor, open then, took.
  void ShowAndDropIntoCell(int32_t row, int32_t col, const char* text) {
    ASSERT_NO_FATAL_FAILURE(Show());
    QMimeData mime;
    mime.setText(text);
    ASSERT_EQ(DropOnHost(Host(), InCell(row, col, 70), mime), Qt::CopyAction);
    ASSERT_TRUE(EditsCell(row, col));
  }
  // The document's selection, from (startItem, startOffs) to (endItem, endOffs), dragged
  // and dropped at a point of the host's client area, the drag ending as the window's
  // does (a move deletes the selection unless the drop took it itself); the action the
  // drop was answered with.
  Qt::DropAction DragSelectionTo(int32_t startItem, int32_t startOffs, int32_t endItem, int32_t endOffs,
                                 const QPoint& at) {
    TRPEditRPData& data = Editor.EditData();
    data.SetSelectionBounds(startItem, startOffs, endItem, endOffs);
    if (!data.InitDragging()) {
      ADD_FAILURE() << "no drag of the selection may start";
      return Qt::IgnoreAction;
    }
    TRPDragDataSink sink;
    data.PutDragFormats(sink, data.GetColor(), nullptr);
    const std::unique_ptr<QMimeData> dragged(ToMimeData(sink.Data));
    const Qt::DropAction action = DropOnHost(Host(), at, *dragged);
    if (action == Qt::MoveAction) data.DeleteDraggedSelection();
    data.DoneDragging();
    return action;
  }
  bool EditsCell(int32_t row, int32_t col) {
    return CellEditor() && Table->GetEditedRow() == row && Table->GetEditedCol() == col;
  }

  TRPStyle Style{nullptr};
  TRichPaneEdit Editor{nullptr};
  TForm Form{nullptr};
  TRPTableItemInfo* Table = nullptr;
  std::string Start;
};
