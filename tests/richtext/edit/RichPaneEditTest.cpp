// The editor control in its window on Qt's offscreen platform, driven by key events as
// the platform delivers them: typing in 8-bit and Unicode styles, Enter, Backspace,
// Delete, selecting with Shift and the arrows, undo and redo; read-only refusals; the
// commands and their events; native-format and RTF insertion.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../interchange/RPFDocumentDump.h"
#include "platform/base/Sound.h"
#include "platform/base/Streams.h"
#include "platform/gui/Forms.h"
#include "richtext/edit/RichPaneEdit.h"
#include "richtext/model/RPException.h"
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

// Style 0 keeps Western text (code page 1252): Cyrillic and CJK need the Unicode style.
TEST_F(TEditorScreen, CyrillicAndCjkSwitchToTheUnicodeStyle) {
  Style.TextStyles()[PlainStyle]->Charset = ANSI_CHARSET;
  Type(u"ab é");
  Type(u"Жук");
  Type(u" 中文");
  EXPECT_EQ(Items(), "N0:ab é|C1:Жук 中文|");
  EXPECT_EQ(Editor.GetCurTextStyleNo(), UnicodeStyle);
  // A surrogate pair comes as one key's text.
  Key(Qt::Key_unknown, Qt::NoModifier, QString::fromUtf16(u"\U0001F600"));
  EXPECT_EQ(Items(), "N0:ab é|C1:Жук 中文\xF0\x9F\x98\x80|");
  EXPECT_EQ(DocumentFault(Data()), "");
}

// With the Cyrillic code page in style 0, Cyrillic stays 8-bit.
TEST_F(TEditorScreen, CyrillicInACyrillicCodePageStaysEightBit) {
  Style.TextStyles()[PlainStyle]->Charset = RUSSIAN_CHARSET;
  Type(u"Жук");
  EXPECT_EQ(Items(), "N0:Жук|");
  EXPECT_EQ(Data().GetItemTextRaw(0), AnsiString("\xC6\xF3\xEA"));
  EXPECT_EQ(Editor.GetCurTextStyleNo(), PlainStyle);
}

TEST_F(TEditorScreen, BackspaceDeleteAndSelectionWithShift) {
  Type(u"abcdef");
  Key(Qt::Key_Backspace, Qt::NoModifier, "\b");
  EXPECT_EQ(Items(), "N0:abcde|");
  Key(Qt::Key_Home);
  Key(Qt::Key_Delete, Qt::NoModifier, "\x7f");
  EXPECT_EQ(Items(), "N0:bcde|");
  Key(Qt::Key_Right);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_TRUE(Data().SelectionExists(false));
  Type(u"X");
  EXPECT_EQ(Items(), "N0:bXe|");
  Key(Qt::Key_End);
  Key(Qt::Key_Left, Qt::ShiftModifier);
  Key(Qt::Key_Delete, Qt::NoModifier, "\x7f");
  EXPECT_EQ(Items(), "N0:bX|");
}

// Typing is taken back one character per undo (and restored one per redo).
TEST_F(TEditorScreen, CtrlZUndoesAndCtrlYRedoes) {
  Type(u"one");
  Key(Qt::Key_Return, Qt::NoModifier, "\r");
  Type(u"tw");
  const std::string typed = "N0:one|N0:tw|";
  ASSERT_EQ(Items(), typed);
  const char* const undone[] = {"N0:one|N0:t|", "N0:one|N0:|", "N0:one|", "N0:on|", "N0:o|", "N0:|"};
  for (const char* expected : undone) {
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Items(), expected);
  }
  EXPECT_FALSE(Editor.CanUndo());
  const int32_t beeps = Beeps;
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Beeps, beeps + 1);
  // Ctrl+Y, Ctrl+Shift+Z and Alt+Shift+Backspace redo.
  for (int i = 0; i < 3; ++i) Key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Items(), "N0:one|");
  Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Items(), "N0:one|N0:|");
  Key(Qt::Key_Backspace, Qt::AltModifier | Qt::ShiftModifier);
  Key(Qt::Key_Backspace, Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_EQ(Items(), typed);
  EXPECT_FALSE(Editor.CanRedo());
  // Undone and typed again: the redo list is gone.
  Key(Qt::Key_Backspace, Qt::AltModifier);
  EXPECT_EQ(Items(), "N0:one|N0:t|");
  EXPECT_TRUE(Editor.CanRedo());
  Type(u"x");
  EXPECT_FALSE(Editor.CanRedo());
  EXPECT_EQ(Items(), "N0:one|N0:tx|");
  EXPECT_EQ(DocumentFault(Data()), "");
}

TEST_F(TEditorScreen, ReadOnlyRefusesEveryChange) {
  Type(u"text");
  Editor.SetReadOnly(true);
  const std::string before = Items();
  const struct {
    const char* Name;
    std::function<void()> Action;
  } refusals[] = {
      {"typing", [&] { Type(u"x"); }},
      {"Enter", [&] { Key(Qt::Key_Return, Qt::NoModifier, "\r"); }},
      {"Backspace", [&] { Key(Qt::Key_Backspace, Qt::NoModifier, "\b"); }},
      {"Delete", [&] { Key(Qt::Key_Home), Key(Qt::Key_Delete, Qt::NoModifier, "\x7f"); }},
      {"Ctrl+Z", [&] { Key(Qt::Key_Z, Qt::ControlModifier); }},
      {"InsertText", [&] { Editor.InsertText("more"); }},
      {"InsertTab", [&] { Editor.InsertTab(); }},
      {"ApplyTextStyle", [&] { Editor.SelectAll(), Editor.ApplyTextStyle(BoldStyle); }},
      {"DeleteSelection", [&] { Editor.SelectAll(), Editor.DeleteSelection(); }},
  };
  for (const auto& refusal : refusals) {
    const int32_t beeps = Beeps;
    refusal.Action();
    EXPECT_EQ(Items(), before) << refusal.Name;
    EXPECT_GT(Beeps, beeps) << refusal.Name;
  }
  // Leaving read-only lets the keys work again.
  Editor.SetReadOnly(false);
  Key(Qt::Key_End);
  Type(u"s");
  EXPECT_EQ(Items(), "N0:texts|");
}

TEST_F(TEditorScreen, OnChangingRefusesAndSeesTheRootEditor) {
  TCustomRichPaneEdit* sender = nullptr;
  Editor.OnChanging = [&](TCustomRichPaneEdit* s, bool& canEdit) {
    sender = s;
    canEdit = false;
  };
  Type(u"a");
  EXPECT_EQ(Items(), "N0:|");
  EXPECT_EQ(sender, &Editor);
  Editor.OnChanging = nullptr;
  Type(u"a");
  EXPECT_EQ(Items(), "N0:a|");
}

TEST_F(TEditorScreen, ReturnsOptions) {
  Type(u"ab");
  Key(Qt::Key_Left);
  Key(Qt::Key_Return, Qt::ShiftModifier, "\r");
  EXPECT_EQ(Items(), "N0:a|L0:b|");
  Editor.EditorOptions |= rpoDoNotWantShiftReturns;
  Key(Qt::Key_Return, Qt::ShiftModifier, "\r");
  EXPECT_EQ(Items(), "N0:a|L0:b|");
  Editor.EditorOptions |= rpoDoNotWantReturns;
  const int32_t beeps = Beeps;
  Key(Qt::Key_Return, Qt::NoModifier, "\r");
  EXPECT_EQ(Items(), "N0:a|L0:b|");
  EXPECT_EQ(Beeps, beeps + 1);  // the dropped character
  EXPECT_EQ(Editor.GetDialogCode() & rpdcWantAllKeys, 0);
  Editor.EditorOptions = rpoEditorDefaults;
  EXPECT_EQ(Editor.GetDialogCode(), rpdcWantArrows | rpdcWantChars | rpdcWantAllKeys | rpdcWantTab);
}

TEST_F(TEditorScreen, TabTypesSpacesOrATabItem) {
  Key(Qt::Key_Tab, Qt::NoModifier, "\t");
  EXPECT_EQ(Items(), "N-12:<-12>|");
  Style.SpacesInTab = 3;
  Type(u"x");
  Key(Qt::Key_Tab, Qt::NoModifier, "\t");
  EXPECT_EQ(Items(), "N-12:<-12>|C0:x   |");
}

TEST_F(TEditorScreen, UndoLimitZeroTurnsUndoOff) {
  Editor.SetUndoLimit(0);
  Type(u"ab");
  EXPECT_FALSE(Editor.CanUndo());
  EXPECT_FALSE(Editor.EditCanUndo());
  const int32_t beeps = Beeps;
  EXPECT_FALSE(Editor.EditUndo());
  EXPECT_EQ(Beeps, beeps + 1);
  EXPECT_EQ(Items(), "N0:ab|");
  Editor.SetUndoLimit(1);
  Type(u"c");
  Key(Qt::Key_Return, Qt::NoModifier, "\r");
  Type(u"d");
  Editor.Undo();
  EXPECT_FALSE(Editor.CanUndo());
}

TEST_F(TEditorScreen, TabNavigationIsNotSupported) {
  EXPECT_THROW(Editor.SetTabNavigation(rptnTab), ERichPaneError);
  Editor.SetTabNavigation(rptnNone);
}
