// The editor control in its window on Qt's offscreen platform, driven by key events as
// the platform delivers them: typing in 8-bit and Unicode styles, Enter, Backspace,
// Delete, selecting with Shift and the arrows, undo and redo; read-only refusals; the
// commands and their events; native-format and RTF insertion.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "../interchange/RPFDocumentDump.h"
#include "platform/base/Sound.h"
#include "platform/base/Streams.h"
#include "platform/gui/Forms.h"
#include "richtext/edit/RichPaneEdit.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/table/RPTableItem.h"

namespace {

// Text styles: 0 plain 8-bit, 1 Unicode (the default Unicode style), 2 Unicode bold.
constexpr int32_t PlainStyle = 0, UnicodeStyle = 1, BoldStyle = 2;

std::string Utf8(const std::u16string& text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())).toStdString();
}

struct TEditorScreen : testing::Test {
  TEditorScreen() {
    RegisterTextItemClasses();
    RegisterPictureItemClasses();
    RegisterMarkerItemClasses();
    Style.TextStyles()[0]->FontName = "Arial";
    while (Style.TextStyles().Count() <= BoldStyle) Style.TextStyles().Add();
    Style.TextStyles()[UnicodeStyle]->FontName = "Arial";
    Style.TextStyles()[UnicodeStyle]->Unicode = true;
    Style.TextStyles()[BoldStyle]->FontName = "Arial";
    Style.TextStyles()[BoldStyle]->Unicode = true;
    Style.TextStyles()[BoldStyle]->Style = TFontStyles{fsBold};
    while (Style.ParaStyles().Count() <= 1) Style.ParaStyles().Add();
    Style.DefUnicodeStyle = UnicodeStyle;
    Style.UseSound = true;
    PreviousBeep = SetMessageBeepHandler([this](uint32_t) { ++Beeps; });
    Editor.SetStyle(&Style);
    Editor.OnChange = [this](TObject*) { ++Changes; };
    Form.SetBounds(0, 0, 420, 300);
    Editor.Window().SetParent(&Form);
    Editor.Window().SetBounds(10, 10, 400, 280);
    Form.Show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(Form.Widget()));
    Editor.Window().SetFocus();
    QApplication::processEvents();
    Editor.Format();
  }
  ~TEditorScreen() override {
    SetMessageBeepHandler(PreviousBeep);
    Form.Hide();
  }

  QWidget& Widget() { return *Editor.Window().Widget(); }
  // One key pressed and released, with the text it types.
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&Widget(), &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(&Widget(), &release);
    QApplication::processEvents();
  }
  // Each character typed as the keyboard gives it: a Latin letter with its key, any
  // other character without one.
  void Type(const std::u16string& text) {
    for (char16_t ch : text) {
      const QString s(QChar(static_cast<ushort>(ch)));
      int key = Qt::Key_unknown;
      if (ch >= u'a' && ch <= u'z') key = Qt::Key_A + (ch - u'a');
      if (ch >= u'A' && ch <= u'Z') key = Qt::Key_A + (ch - u'A');
      if (ch >= u'0' && ch <= u'9') key = Qt::Key_0 + (ch - u'0');
      if (ch == u' ') key = Qt::Key_Space;
      Key(key, ch >= u'A' && ch <= u'Z' ? Qt::ShiftModifier : Qt::NoModifier, s);
    }
  }

  TRPEditRPData& Data() { return Editor.EditData(); }
  // The document: one line per item, "N" (starts a paragraph), "L" (starts a line) or
  // "C" (continues), the text style and the text as UTF-8 ("<tab>", "<picture>" for
  // others).
  std::string Items() {
    std::string out;
    for (int32_t i = 0; i < Data().GetItemCount(); ++i) {
      const TCustomRPItemInfo& item = *Data().GetItem(i);
      out += item.GetContinuesLine() ? "C" : item.GetLineBreakBefore() ? "L" : "N";
      out += std::to_string(item.StyleNo) + ":";
      if (item.StyleNo >= 0)
        out += Utf8(Data().GetItemTextW(i));
      else
        out += "<" + std::to_string(item.StyleNo) + ">";
      out += "|";
    }
    return out;
  }

  TRPStyle Style{nullptr};
  TForm Form{nullptr};
  TRichPaneEdit Editor{nullptr};
  int32_t Beeps = 0;
  int32_t Changes = 0;
  TMessageBeepHandler PreviousBeep;
};

TEST_F(TEditorScreen, TypesLatinTextAndEnter) {
  Type(u"Hello");
  Key(Qt::Key_Return, Qt::NoModifier, "\r");
  Type(u"World");
  EXPECT_EQ(Items(), "N0:Hello|N0:World|");
  EXPECT_EQ(DocumentFault(Data()), "");
  EXPECT_TRUE(Editor.Modified);
  EXPECT_GT(Changes, 0);
}

}  // namespace
