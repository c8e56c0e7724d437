// The editor control in a form on Qt's offscreen platform, driven through its window's
// own mouse and key events: the tests that click, drag and type as a user does share it.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <string>

#include "platform/gui/Forms.h"
#include "richtext/edit/RichPaneEdit.h"
#include "richtext/model/RPStyle.h"

struct TEditorWindow {
  TEditorWindow() {
    Style.TextStyles()[0]->FontName = "Arial";
    Editor.SetStyle(&Style);
    Form.SetBounds(0, 0, 420, 300);
    Editor.Window().SetParent(&Form);
    Editor.Window().SetBounds(10, 10, 400, 280);
  }
  ~TEditorWindow() { Form.Hide(); }

  void Show() {
    Form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.Widget()));
    Editor.Window().SetFocus();
    QApplication::processEvents();
    Editor.Format();
  }
  TRPEditRPData& Data() { return Editor.EditData(); }
  QWidget& Viewport() {
    auto* area = qobject_cast<QAbstractScrollArea*>(Editor.Window().Widget());
    return area ? *area->viewport() : *Editor.Window().Widget();
  }
  // The client point of the caret stop before offset of item itemNo (one pixel to its
  // right, half way down its line). The caret goes back to the document's start.
  QPoint At(int32_t itemNo, int32_t offset) {
    TRPEditRPData& data = Data();
    data.SetSelectionBounds(itemNo, offset, itemNo, offset);
    data.AfterSelectionChange(false);
    const TRPDrawLineInfo& d = *data.DrawItems[data.CaretDrawItemNo];
    const QPoint point(data.CaretPos().X - data.GetHOffs() + 1, d.Top + d.Height / 2 - data.GetVOffs());
    Key(Qt::Key_Home, Qt::ControlModifier);
    return point;
  }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = QString()) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : Editor.Window().Widget();
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
    QApplication::processEvents();
  }
  void Click(QPoint point, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(&Viewport(), Qt::LeftButton, modifiers, point);
    QApplication::processEvents();
  }
  void Drag(QPoint from, QPoint to) {
    QTest::mousePress(&Viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(&Viewport(), (from + to) / 2);
    QTest::mouseMove(&Viewport(), to);
    QTest::mouseRelease(&Viewport(), Qt::LeftButton, {}, to);
    QApplication::processEvents();
  }
  // The items' texts, "|" between them.
  std::string Text() {
    std::string text;
    for (int32_t i = 0; i < Data().GetItemCount(); ++i) text += (i ? "|" : "") + std::string(Data().GetItemTextRaw(i));
    return text;
  }

  TRPStyle Style{nullptr};
  TRichPaneEdit Editor{nullptr};
  TForm Form{nullptr};
};
