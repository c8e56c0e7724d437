// The editor control in its window on Qt's offscreen platform, driven by key events as
// the platform delivers them: typing in 8-bit and Unicode styles, Enter, Backspace,
// Delete, selecting with Shift and the arrows, undo and redo; read-only refusals; the
// commands and their events; native-format and RTF insertion.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "../interchange/RPFDocumentDump.h"
#include "QtUtf8.h"
#include "platform/base/CodePages.h"
#include "platform/base/Sound.h"
#include "platform/base/Streams.h"
#include "platform/base/Threads.h"
#include "platform/graphics/Bitmap.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "richtext/edit/RichPaneEdit.h"
#include "richtext/interchange/RPRTFProps.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/model/RPWordPainters.h"
#include "richtext/table/RPTableCell.h"
#include "richtext/table/RPTableItem.h"

namespace {

// Text styles: 0 plain 8-bit, 1 Unicode (the default Unicode style), 2 Unicode bold.
constexpr int32_t PlainStyle = 0, UnicodeStyle = 1, BoldStyle = 2;

struct RichPaneEditTest : testing::Test {
  RichPaneEditTest() {
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
  ~RichPaneEditTest() override {
    SetMessageBeepHandler(PreviousBeep);
    Form.Hide();
  }

  QWidget& Widget() { return *Editor.Window().Widget(); }
  // One key pressed and released, with the text it types: to the editor's window, or (when
  // KeysToTheFocus) to the widget of the form that has the focus, as the window system
  // gives keys (a cell's editor while it edits the cell).
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = QString()) {
    QWidget* focus = QApplication::focusWidget();
    QWidget& target = KeysToTheFocus && focus && Form.Widget()->isAncestorOf(focus) ? *focus : Widget();
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(&target, &release);
    QApplication::processEvents();
  }
  bool KeysToTheFocus = false;
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
  void SetCurrentStyle(int32_t styleNo) { Editor.SetCurTextStyleNo(styleNo); }
  // The draw items: item, offset, length and place (of the editor's document or another's).
  std::string Layout() { return Layout(Data()); }
  static std::string Layout(TRPEditRPData& data) {
    std::ostringstream out;
    for (int32_t d = 0; d < data.DrawItems.Count(); ++d) {
      const TRPDrawLineInfo& item = *data.DrawItems[d];
      out << item.ItemNo << ":" << item.Offs << ":" << item.Length << "@" << item.Left << "," << item.Top << " ";
    }
    return out.str();
  }
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

  QWidget& Viewport() {
    auto* area = qobject_cast<QAbstractScrollArea*>(Editor.Window().Widget());
    return area ? *area->viewport() : Widget();
  }
  // A random mouse action over the document's visible part (or over area, in the editor's
  // client area): a click (with Shift or without), a double click or a drag; what it was,
  // for the script. The events go where the window system sends them: to the widget under
  // the point where the button goes down (a cell's editor over its cell), which keeps the
  // mouse until the release.
  std::string MouseAction(const std::function<int32_t(int32_t)>& rand, const QRect& area = QRect()) {
    const int32_t height = std::clamp(Data().DocumentHeight - Data().GetVOffs(), 1, 270);
    const QRect within = area.isEmpty() ? QRect(0, 0, 390, height) : area;
    const auto pick = [&] { return within.topLeft() + QPoint(rand(within.width()), rand(within.height())); };
    const QPoint at = pick(), to = pick();
    QWidget* top = Viewport().window();
    QWidget* target = top->childAt(Viewport().mapTo(top, at));
    if (!target) target = &Viewport();
    const auto local = [&](QPoint p) { return target->mapFromGlobal(Viewport().mapToGlobal(p)); };
    const auto where = [](QPoint p) { return std::to_string(p.x()) + "," + std::to_string(p.y()); };
    std::string action;
    switch (rand(4)) {
      case 0:
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, local(at));
        action = "click " + where(at);
        break;
      case 1:
        QTest::mouseClick(target, Qt::LeftButton, Qt::ShiftModifier, local(at));
        action = "shift+click " + where(at);
        break;
      case 2:
        // As the platform gives it: a click, then the second press as a double click, and
        // its release.
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, local(at));
        QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, local(at));
        QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, local(at));
        action = "double click " + where(at);
        break;
      default:
        QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, local(at));
        QTest::mouseMove(target, local((at + to) / 2));
        QTest::mouseMove(target, local(to));
        QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, local(to));
        action = "drag " + where(at) + " to " + where(to);
        break;
    }
    QApplication::processEvents();
    return action;
  }
  // A random event of the random scripts: a mouse action (one in four; with a table, half
  // of them over the table), a character typed, or one of the editing and moving keys.
  std::string RandomEvent(const std::function<int32_t(int32_t)>& rand, const QRect& table = QRect()) {
    static const std::u16string characters = u"ab c\u0436\u0443\u03A9\u65E5 .";
    static const struct {
      int Key;
      Qt::KeyboardModifiers Modifiers;
      const char* Text;
    } keys[] = {
        {Qt::Key_Backspace, Qt::NoModifier, "\b"}, {Qt::Key_Delete, Qt::NoModifier, "\x7f"},
        {Qt::Key_Return, Qt::NoModifier, "\r"},    {Qt::Key_Return, Qt::ShiftModifier, "\r"},
        {Qt::Key_Tab, Qt::NoModifier, "\t"},       {Qt::Key_Left, Qt::NoModifier, ""},
        {Qt::Key_Right, Qt::NoModifier, ""},       {Qt::Key_Up, Qt::NoModifier, ""},
        {Qt::Key_Down, Qt::NoModifier, ""},        {Qt::Key_Left, Qt::ShiftModifier, ""},
        {Qt::Key_Right, Qt::ShiftModifier, ""},    {Qt::Key_Home, Qt::ShiftModifier, ""},
        {Qt::Key_End, Qt::NoModifier, ""},         {Qt::Key_Z, Qt::ControlModifier, ""},
        {Qt::Key_Y, Qt::ControlModifier, ""},
    };
    if (rand(4) == 0) return MouseAction(rand, !table.isEmpty() && rand(2) == 0 ? table : QRect());
    if (rand(2) == 0) {
      const char16_t ch = characters[static_cast<size_t>(rand(static_cast<int32_t>(characters.size())))];
      Type(std::u16string(1, ch));
      return "type " + Utf8(std::u16string(1, ch));
    }
    const auto& key = keys[rand(static_cast<int32_t>(std::size(keys)))];
    Key(key.Key, key.Modifiers, key.Text);
    return std::to_string(key.Key) + "/" + std::to_string(key.Modifiers);
  }

  TRPStyle Style{nullptr};
  TForm Form{nullptr};
  TRichPaneEdit Editor{nullptr};
  int32_t Beeps = 0;
  int32_t Changes = 0;
  TMessageBeepHandler PreviousBeep;
};

TEST_F(RichPaneEditTest, TypesLatinTextAndEnter) {
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
TEST_F(RichPaneEditTest, CyrillicAndCjkSwitchToTheUnicodeStyle) {
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
TEST_F(RichPaneEditTest, CyrillicInACyrillicCodePageStaysEightBit) {
  Style.TextStyles()[PlainStyle]->Charset = RUSSIAN_CHARSET;
  Type(u"Жук");
  EXPECT_EQ(Items(), "N0:Жук|");
  EXPECT_EQ(Data().GetItemTextRaw(0), AnsiString("\xC6\xF3\xEA"));
  EXPECT_EQ(Editor.GetCurTextStyleNo(), PlainStyle);
}

TEST_F(RichPaneEditTest, BackspaceDeleteAndSelectionWithShift) {
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
TEST_F(RichPaneEditTest, CtrlZUndoesAndCtrlYRedoes) {
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

TEST_F(RichPaneEditTest, ReadOnlyRefusesEveryChange) {
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

TEST_F(RichPaneEditTest, OnChangingRefusesAndSeesTheRootEditor) {
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

TEST_F(RichPaneEditTest, ReturnsOptions) {
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

TEST_F(RichPaneEditTest, TabTypesSpacesOrATabItem) {
  Key(Qt::Key_Tab, Qt::NoModifier, "\t");
  EXPECT_EQ(Items(), "N-12:<-12>|");
  // Ctrl+Tab types its tab once the key's event is done.
  Key(Qt::Key_Tab, Qt::ControlModifier, "\t");
  QApplication::processEvents();
  EXPECT_EQ(Items(), "N-12:<-12>|C-12:<-12>|");
  Key(Qt::Key_Z, Qt::ControlModifier);
  // With another control on the form, Tab still types (rpoWantTabs); without the option
  // it moves the focus on.
  TButton next(nullptr);
  next.SetParent(&Form);
  next.SetBounds(0, 0, 10, 10);
  Key(Qt::Key_Tab, Qt::NoModifier, "\t");
  EXPECT_EQ(Items(), "N-12:<-12>|C-12:<-12>|");
  EXPECT_TRUE(Editor.Window().Focused());
  Key(Qt::Key_Z, Qt::ControlModifier);
  Editor.EditorOptions &= static_cast<TRPEditorOptions>(~rpoWantTabs);
  Key(Qt::Key_Tab, Qt::NoModifier, "\t");
  EXPECT_EQ(Items(), "N-12:<-12>|");
  EXPECT_FALSE(Editor.Window().Focused());
  Editor.EditorOptions = rpoEditorDefaults;
  next.SetParent(nullptr);
  Editor.Window().SetFocus();
  QApplication::processEvents();
  Style.SpacesInTab = 3;
  Type(u"x");
  Key(Qt::Key_Tab, Qt::NoModifier, "\t");
  EXPECT_EQ(Items(), "N-12:<-12>|C0:x   |");
}

TEST_F(RichPaneEditTest, UndoLimitZeroTurnsUndoOff) {
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

TEST_F(RichPaneEditTest, TabNavigationIsNotSupported) {
  EXPECT_THROW(Editor.SetTabNavigation(rptnTab), ERichPaneError);
  Editor.SetTabNavigation(rptnNone);
}

// Each insertion command goes in at the caret as one undo group, fires OnChange and
// leaves a sound document; undoing it gives the document back.
TEST_F(RichPaneEditTest, InsertionCommandsAreOneUndoStepEach) {
  const std::string dir = ::testing::TempDir();
  const WideString textFile = AnsiToWide(AnsiString(dir + "editor-insert.txt"));
  {
    TFileStream file(textFile, fmCreate);
    const std::string text = "first\r\nsecond";
    file.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
  }
  const struct {
    const char* Name;
    std::function<void()> Command;
    const char* Expected;
  } commands[] = {
      {"InsertText", [&] { Editor.InsertText("x\r\ny"); }, "N0:Ax|N0:yB|"},
      {"InsertText caret before", [&] { Editor.InsertText("xy", true); }, "N0:AxyB|"},
      {"InsertTextW", [&] { Editor.InsertTextW(WideString(u"Жж")); }, "N0:A|C1:Жж|C0:B|"},
      {"InsertTextFromFile", [&] { EXPECT_TRUE(Editor.InsertTextFromFile(textFile)); }, "N0:Afirst|N0:secondB|"},
      {"InsertStringTag", [&] { EXPECT_TRUE(Editor.InsertStringTag("t\tg", TRPTag::FromNumber(7))); },
       "N0:A|C0:t  g|C0:B|"},
      {"InsertTab", [&] { EXPECT_TRUE(Editor.InsertTab()); }, "N0:A|C-12:<-12>|C0:B|"},
      {"InsertPicture",
       [&] {
         auto bitmap = std::make_unique<TBitmap>();
         bitmap->SetSize(4, 4);
         EXPECT_TRUE(Editor.InsertPicture("pic", std::move(bitmap), rpvaBaseline));
       },
       "N0:A|C-3:<-3>|C0:B|"},
  };
  for (const auto& command : commands) {
    Data().Clear();
    Data().AddRawText("AB", 0, 0);
    Editor.Format();
    Style.SpacesInTab = 2;
    Data().SetCaretAtItemPos(0, 2);
    Editor.ClearUndo();
    const int32_t changes = Changes;
    command.Command();
    EXPECT_EQ(Items(), command.Expected) << command.Name;
    EXPECT_EQ(DocumentFault(Data()), "") << command.Name;
    EXPECT_GT(Changes, changes) << command.Name;
    EXPECT_EQ(Data().UndoList->Count(), 1) << command.Name;
    Editor.Undo();
    EXPECT_EQ(Items(), "N0:AB|") << command.Name;
    Editor.Redo();
    EXPECT_EQ(Items(), command.Expected) << command.Name;
    SetCurrentStyle(PlainStyle);
  }
  EXPECT_EQ(Data().GetItem(1)->StyleNo, rpkindPicture);
  std::remove((dir + "editor-insert.txt").c_str());
}

TEST_F(RichPaneEditTest, InsertStringTagKeepsTheTag) {
  Editor.InsertStringTag("tagged", TRPTag::FromNumber(42));
  EXPECT_EQ(Items(), "N0:tagged|");
  EXPECT_EQ(Data().GetItem(0)->Tag.Number(), 42);
  SetCurrentStyle(UnicodeStyle);
  Editor.InsertStringTag("\xC6", TRPTag::FromNumber(5));  // the default code page's character
  EXPECT_EQ(Data().GetItem(1)->StyleNo, UnicodeStyle);
  EXPECT_TRUE(Data().GetItem(1)->IsUnicode());
  EXPECT_EQ(Data().GetItem(1)->Tag.Number(), 5);
}

TEST_F(RichPaneEditTest, DeleteSelectionAndItsRefusals) {
  Type(u"abc");
  Editor.DeleteSelection();  // nothing selected: nothing happens
  EXPECT_EQ(Items(), "N0:abc|");
  Editor.SetSelectionBounds(0, 1, 0, 3);
  Editor.DeleteSelection();
  EXPECT_EQ(Items(), "N0:c|");
  Editor.Undo();
  EXPECT_EQ(Items(), "N0:abc|");
}

// A native document from a viewer of the same style sheet.
std::unique_ptr<TMemoryStream> NativeDocument(TRPStyle& style, const std::function<void(TCustomRPData&)>& fill) {
  TCustomRichPane source(nullptr);
  source.SetStyle(&style);
  fill(source.RPData());
  auto stream = std::make_unique<TMemoryStream>();
  EXPECT_TRUE(source.SaveRPFToStream(*stream, rpfsmDocument));
  stream->SetPosition(0);
  return stream;
}

TEST_F(RichPaneEditTest, NativeDocumentGoesInAtTheCaretAndJoinsItsEdges) {
  const auto nativeHolder = NativeDocument(Style, [](TCustomRPData& data) {
    data.AddRawText("Hello ", PlainStyle, 0);
    data.AddTextW(u"bold", BoldStyle, TRPTag(), -1);
    data.AddRawText("second", PlainStyle, 1);
  });
  TMemoryStream& native = *nativeHolder;
  Data().Clear();
  Data().AddRawText("AB", PlainStyle, 0);
  Editor.Format();
  Data().SetCaretAtItemPos(0, 2);
  Editor.ClearUndo();
  ASSERT_TRUE(Editor.InsertRPFFromStream(native));
  EXPECT_EQ(Items(), "N0:AHello |C2:bold|N0:secondB|");
  EXPECT_EQ(Data().GetItem(2)->ParaNo, 1);
  EXPECT_EQ(DocumentFault(Data()), "");
  // The caret stands after what was inserted.
  EXPECT_EQ(Editor.GetCaretItemNo(), 2);
  EXPECT_EQ(Editor.GetCaretItemOffset(), 7);
  EXPECT_EQ(Data().UndoList->Count(), 1);
  const std::string inserted = Dump(Data());
  Editor.Undo();
  EXPECT_EQ(Items(), "N0:AB|");
  Editor.Redo();
  EXPECT_EQ(Dump(Data()), inserted);
}

TEST_F(RichPaneEditTest, NativeDocumentAtTheEndsOfTheDocument) {
  const auto nativeHolder = NativeDocument(Style, [](TCustomRPData& data) { data.AddRawText("x", PlainStyle, 0); });
  TMemoryStream& native = *nativeHolder;
  Data().Clear();
  Data().AddRawText("mid", PlainStyle, 0);
  Editor.Format();
  Data().SetCaretAtItemPos(0, 1);
  ASSERT_TRUE(Editor.InsertRPFFromStream(native));
  native.SetPosition(0);
  Data().SetCaretAtItemPos(0, 5);
  ASSERT_TRUE(Editor.InsertRPFFromStream(native));
  EXPECT_EQ(Items(), "N0:xmidx|");
  // An empty document takes it whole.
  Data().Clear();
  Editor.Format();
  native.SetPosition(0);
  ASSERT_TRUE(Editor.InsertRPFFromStream(native));
  EXPECT_EQ(Items(), "N0:x|");
}

// A list paragraph pasted inside a line of text: its marker cannot stand there and goes,
// its text joins the line.
TEST_F(RichPaneEditTest, ANativeListParagraphPastedInsideALineLosesOnlyItsMarker) {
  TRPListInfo& list = *Style.ListStyles().Add();
  list.Levels().Add()->ListType = rplstDecimal;
  const auto nativeHolder = NativeDocument(Style, [](TCustomRPData& data) {
    auto marker = TRPMarkerItemInfo::CreateEx(&data, 0, 0, 1, false);
    marker->ParaNo = 0;
    data.AddItem({}, std::move(marker));
    data.AddRawText("item", PlainStyle, -1);
  });
  for (int32_t offset : {2, 4}) {
    SCOPED_TRACE(offset);
    Data().Clear();
    Data().AddRawText("abc", PlainStyle, 0);
    Editor.Format();
    Data().SetCaretAtItemPos(0, offset);
    nativeHolder->SetPosition(0);
    ASSERT_TRUE(Editor.InsertRPFFromStream(*nativeHolder));
    EXPECT_EQ(Items(), offset == 2 ? "N0:aitembc|" : "N0:abcitem|");
    EXPECT_EQ(Data().GetMarkers(false), nullptr);
    EXPECT_EQ(DocumentFault(Data()), "");
  }
}

// A stream whose items are good but whose end is broken: nothing goes in.
TEST_F(RichPaneEditTest, DamagedNativeDocumentChangesNothing) {
  const auto nativeHolder =
      NativeDocument(Style, [](TCustomRPData& data) { data.AddRawText("damaged", PlainStyle, 0); });
  TMemoryStream& native = *nativeHolder;
  AnsiString bytes(static_cast<size_t>(native.Size()), '\0');
  native.ReadBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  bytes += "not a record header\r\n";
  TMemoryStream damaged;
  damaged.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  damaged.SetPosition(0);
  Type(u"keep");
  const std::string before = Dump(Data());
  const int32_t beeps = Beeps;
  EXPECT_FALSE(Editor.InsertRPFFromStream(damaged));
  EXPECT_EQ(Dump(Data()), before);
  EXPECT_GT(Beeps, beeps);
  // The undo list holds the typing alone.
  Editor.Undo();
  EXPECT_EQ(Items(), "N0:kee|");
  // The file variants refuse a missing file.
  EXPECT_FALSE(Editor.InsertRPFFromFile(u"/nonexistent/file.rpf"));
  EXPECT_FALSE(Editor.InsertRTFFromFile(u"/nonexistent/file.rtf"));
}

TEST_F(RichPaneEditTest, RtfGoesInAtTheCaretAsOneUndoStep) {
  const std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 plain {\\b bold}\\par second\\par}";
  TMemoryStream stream;
  stream.WriteBuffer(rtf.data(), static_cast<int32_t>(rtf.size()));
  stream.SetPosition(0);
  Data().Clear();
  Data().AddRawText("AB", PlainStyle, 0);
  Editor.Format();
  Data().SetCaretAtItemPos(0, 2);
  Editor.ClearUndo();
  ASSERT_TRUE(Editor.InsertRTFFromStream(stream));
  EXPECT_EQ(DocumentFault(Data()), "");
  std::string text;
  for (int32_t i = 0; i < Data().GetItemCount(); ++i)
    text += (i > 0 && Data().StartsParagraph(i) ? "/" : "") + Utf8(Data().GetItemTextW(i));
  EXPECT_EQ(text, "Aplain bold/secondB");
  EXPECT_EQ(Data().UndoList->Count(), 1);
  Editor.Undo();
  EXPECT_EQ(Items(), "N0:AB|");
  // An empty stream inserts nothing and succeeds; damaged RTF changes nothing.
  TMemoryStream empty;
  EXPECT_TRUE(Editor.InsertRTFFromStream(empty));
  const std::string damaged = "{\\rtf1 text {\\b unbalanced";
  TMemoryStream bad;
  bad.WriteBuffer(damaged.data(), static_cast<int32_t>(damaged.size()));
  bad.SetPosition(0);
  const std::string before = Dump(Data());
  EXPECT_FALSE(Editor.InsertRTFFromStream(bad));
  EXPECT_EQ(Dump(Data()), before);
}

TEST_F(RichPaneEditTest, CaretEventsAndGettingOut) {
  Type(u"ab");
  Key(Qt::Key_Return, Qt::NoModifier, "\r");
  Type(u"cd");
  std::vector<TRPGetOutDirection> outs;
  int32_t moves = 0;
  Editor.OnCaretGetOut = [&](TCustomRichPaneEdit* sender, TRPGetOutDirection direction) {
    EXPECT_EQ(sender, &Editor);
    outs.push_back(direction);
  };
  Editor.OnCaretMove = [&](TObject* sender) {
    EXPECT_EQ(sender, &Editor);
    ++moves;
  };
  Key(Qt::Key_Right);  // at the end
  Key(Qt::Key_Down);   // on the last line
  Key(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_GT(moves, 0);
  EXPECT_EQ(Editor.GetCaretItemNo(), 0);
  EXPECT_EQ(Editor.GetCaretItemOffset(), 1);
  Key(Qt::Key_Left);
  Key(Qt::Key_Up);
  Key(Qt::Key_Home);
  EXPECT_EQ((std::vector<TRPGetOutDirection>{rpdRight, rpdDown, rpdLeft, rpdUp, rpdTop}), outs);
  Key(Qt::Key_End);  // moves: nothing
  Key(Qt::Key_End);
  EXPECT_EQ(outs.back(), rpdBottom);
  EXPECT_EQ(outs.size(), 6u);
  Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(Editor.GetCaretItemNo(), 1);
  EXPECT_EQ(Editor.GetCaretItemOffset(), 3);
  // Shift+Home selects back to the line's start; an arrow without Shift drops it.
  Key(Qt::Key_Home, Qt::ShiftModifier);
  int32_t start = 0, end = 0;
  ASSERT_TRUE(Data().SelectionExists(false));
  Editor.GetLinearSelection(start, end);
  EXPECT_EQ(Utf8(Editor.GetLinearText(start + end, -end)), "cd");
  Key(Qt::Key_Right);
  EXPECT_FALSE(Data().SelectionExists(false));
}

TEST_F(RichPaneEditTest, CurrentStyleEventsAndTheUnicodeSwitch) {
  Style.TextStyles()[PlainStyle]->Charset = ANSI_CHARSET;
  std::vector<int32_t> textStyles;
  int32_t paraEvents = 0;
  Editor.OnCurTextStyleChanged = [&](TObject*) { textStyles.push_back(Editor.GetCurTextStyleNo()); };
  Editor.OnCurParaStyleChanged = [&](TObject*) { ++paraEvents; };
  Editor.SetCurTextStyleNo(PlainStyle);  // unchanged: no event
  EXPECT_TRUE(textStyles.empty());
  Type(u"Ω");
  EXPECT_EQ(textStyles, std::vector<int32_t>{UnicodeStyle});
  EXPECT_EQ(Editor.GetActualCurTextStyleNo(), UnicodeStyle);
  Editor.SetCurParaStyleNo(1);
  EXPECT_EQ(paraEvents, 1);
  EXPECT_EQ(Editor.GetCurParaStyleNo(), 1);
  // Without a valid default Unicode style a character outside the code page is refused.
  Data().Clear();
  Editor.Format();
  Editor.SetCurTextStyleNo(PlainStyle);
  Style.DefUnicodeStyle = -1;
  const int32_t beeps = Beeps;
  Type(u"Ω");
  EXPECT_EQ(Items(), "N0:|");
  EXPECT_EQ(Beeps, beeps + 1);
}

TEST_F(RichPaneEditTest, StyleCommands) {
  Type(u"abcd");
  Editor.SetSelectionBounds(0, 2, 0, 4);
  Editor.ApplyTextStyle(BoldStyle);
  EXPECT_EQ(Items(), "N0:a|C2:bc|C0:d|");
  Editor.Undo();
  EXPECT_EQ(Items(), "N0:abcd|");
  // A protected style keeps itself under ApplyTextStyle.
  Style.TextStyles()[PlainStyle]->Protection.Include(rpprStyleProtect);
  Editor.SetSelectionBounds(0, 1, 0, 5);
  Editor.ApplyTextStyle(BoldStyle);
  EXPECT_EQ(Items(), "N0:abcd|");
  Style.TextStyles()[PlainStyle]->Protection.Exclude(rpprStyleProtect);
  Editor.ApplyParaStyle(1);
  EXPECT_EQ(Data().GetItem(0)->ParaNo, 1);
  Editor.Undo();
  EXPECT_EQ(Data().GetItem(0)->ParaNo, 0);
  // Conversions need their handlers.
  Editor.ApplyStyleConversion(1);
  EXPECT_EQ(Items(), "N0:abcd|");
  Editor.OnStyleConversion = [](TCustomRichPaneEdit*, int32_t styleNo, int32_t userData, bool, int32_t& newStyleNo) {
    newStyleNo = styleNo == PlainStyle && userData == 1 ? BoldStyle : styleNo;
  };
  Editor.OnParaStyleConversion = [](TCustomRichPaneEdit*, int32_t paraNo, int32_t userData, bool, int32_t& newParaNo) {
    newParaNo = paraNo + userData;
  };
  Editor.SelectAll();
  Editor.ApplyStyleConversion(1);
  EXPECT_EQ(Items(), "N2:abcd|");
  Editor.ApplyParaStyleConversion(1);
  EXPECT_EQ(Data().GetItem(0)->ParaNo, 1);
  EXPECT_EQ(DocumentFault(Data()), "");
}

TEST_F(RichPaneEditTest, ExtraIntPropertyOfAnItem) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(10, 10);
  ASSERT_TRUE(Editor.InsertPicture("pic", std::move(bitmap), rpvaBaseline));
  Editor.ClearUndo();
  const int32_t changes = Changes;
  Editor.SetItemExtraIntPropertyEd(0, rpipWidth, 40, true);
  int32_t width = 0;
  ASSERT_TRUE(Data().GetItem(0)->GetIntProperty(rpipWidth, width));
  EXPECT_EQ(width, 40);
  EXPECT_EQ(Changes, changes + 1);
  EXPECT_GE(Data().DrawItems[0]->Width, 40);
  // The same value: nothing, no undo step.
  Editor.SetItemExtraIntPropertyEd(0, rpipWidth, 40, true);
  EXPECT_EQ(Data().UndoList->Count(), 1);
  Editor.Undo();
  ASSERT_TRUE(Data().GetItem(0)->GetIntProperty(rpipWidth, width));
  EXPECT_EQ(width, 0);
}

TEST_F(RichPaneEditTest, CtrlKeysJumpsAndScrolling) {
  Data().Clear();
  for (int i = 0; i < 60; ++i) Data().AddRawText("line", PlainStyle, 0);
  Editor.Format();
  EXPECT_EQ(Data().GetDocumentFlags() & rpdfUseJumps, 0);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
  QApplication::sendEvent(&Widget(), &press);
  EXPECT_NE(Data().GetDocumentFlags() & rpdfUseJumps, 0);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
  QApplication::sendEvent(&Widget(), &release);
  EXPECT_EQ(Data().GetDocumentFlags() & rpdfUseJumps, 0);
  const int32_t top = Editor.VScrollPos();
  Key(Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(Editor.VScrollPos(), top + 1);
  Key(Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(Editor.VScrollPos(), top);
  // Read-only: hyperlinks work without Ctrl.
  Editor.SetReadOnly(true);
  EXPECT_NE(Data().GetDocumentFlags() & rpdfUseJumps, 0);
  Editor.SetReadOnly(false);
  EXPECT_EQ(Data().GetDocumentFlags() & rpdfUseJumps, 0);
}

TEST_F(RichPaneEditTest, AssignEventsCopiesTheEditorsHandlers) {
  TCustomRichPaneEdit other(nullptr);
  int32_t calls = 0;
  other.OnCaretMove = [&](TObject*) { ++calls; };
  other.OnPaste = [&](TCustomRichPaneEdit*, bool&) { ++calls; };
  other.OnStyleConversion = [&](TCustomRichPaneEdit*, int32_t, int32_t, bool, int32_t&) { ++calls; };
  other.OnJump = [&](TCustomRichPane*, int32_t) { ++calls; };
  TCustomRichPaneEdit copy(nullptr);
  copy.AssignEvents(other);
  EXPECT_TRUE(copy.OnCaretMove && copy.OnPaste && copy.OnStyleConversion && copy.OnJump);
  EXPECT_FALSE(copy.OnChange);
}

TEST_F(RichPaneEditTest, StyleTemplatesMakeOrFindTheirStyles) {
  TRPStyleTemplate& heading = *Style.StyleTemplates().Add();
  heading.SetName("Heading");
  heading.TextStyle().Size = 20;
  heading.ValidTextProperties.Include(rpfiSize);
  heading.ParaStyle().Alignment = rpaCenter;
  heading.ValidParaProperties1.Include(rppiAlignment);
  Type(u"abc");
  Key(Qt::Key_Return, Qt::NoModifier, "\r");
  Type(u"def");
  const int32_t textStyles = Style.TextStyles().Count();
  const int32_t paraStyles = Style.ParaStyles().Count();
  Editor.SetSelectionBounds(0, 1, 0, 4);
  Editor.ApplyTextStyleTemplate(0, false);
  const int32_t made = Data().GetItem(0)->StyleNo;
  EXPECT_EQ(made, textStyles);
  EXPECT_EQ(Style.TextStyles()[made]->Size, 20);
  EXPECT_EQ(Style.TextStyles()[made]->StyleTemplateId, heading.GetId());
  EXPECT_FALSE(Style.TextStyles()[made]->Standard);
  // The second paragraph finds the style made for the first.
  Editor.SetSelectionBounds(1, 1, 1, 4);
  Editor.ApplyTextStyleTemplate(0, false);
  EXPECT_EQ(Data().GetItem(1)->StyleNo, made);
  EXPECT_EQ(Style.TextStyles().Count(), textStyles + 1);
  // A negative number takes the template away: the style without it is style 0 again.
  Editor.SetSelectionBounds(1, 1, 1, 4);
  Editor.ApplyTextStyleTemplate(-1, false);
  EXPECT_EQ(Style.TextStyles()[Data().GetItem(1)->StyleNo]->StyleTemplateId, -1);
  // Paragraph templates.
  Editor.SelectAll();
  Editor.ApplyParaStyleTemplate(0);
  const int32_t para = Data().GetItem(0)->ParaNo;
  EXPECT_EQ(para, paraStyles);
  EXPECT_EQ(Data().GetItem(1)->ParaNo, para);
  EXPECT_EQ(Style.ParaStyles()[para]->Alignment, rpaCenter);
  Editor.Undo();
  EXPECT_EQ(Data().GetItem(0)->ParaNo, 0);
  EXPECT_EQ(DocumentFault(Data()), "");
}

// The writers see the hyperlinks that a flag asks for, although the editor shows none.
TEST_F(RichPaneEditTest, SavingBuildsHyperlinksWhenAsked) {
  const int32_t link = Style.TextStyles().Count();
  TFontInfo& linkStyle = *Style.TextStyles().Add();
  linkStyle.FontName = "Arial";
  linkStyle.Jump = true;
  Data().Clear();
  Data().AddRawText("see ", PlainStyle, 0);
  Data().AddRawText("here", link, -1);
  Data().AddRawText(" and ", PlainStyle, -1);
  Data().AddRawText("there", link, -1);
  Editor.Format();
  std::vector<int32_t> jumps;
  Editor.OnWriteHyperlink = [&](TCustomRichPane*, int32_t jumpNo, TCustomRPData&, int32_t, TRPSaveFormat,
                                AnsiString& target, AnsiString&) {
    jumps.push_back(jumpNo);
    target = "http://example.org/" + std::to_string(jumpNo);
  };
  const auto rtf = [&] {
    TMemoryStream stream;
    EXPECT_TRUE(Editor.SaveRTFToStream(stream, false));
    return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
  };
  const std::string without = rtf();
  Editor.DocumentFlags |= rpdfSaveJumps;
  const std::string with = rtf();
  // Each hyperlink has its own number only while the hyperlinks are built.
  EXPECT_NE(with.find("HYPERLINK \"http://example.org/1\""), std::string::npos) << with;
  EXPECT_EQ(without.find("HYPERLINK \"http://example.org/1\""), std::string::npos) << without;
  EXPECT_EQ(Data().GetDocumentFlags() & rpdfUseJumps, 0);
  TMemoryStream html;
  TRPHTMLExportParams params;
  EXPECT_TRUE(Editor.SaveHTMLToStream(html, params));
  const std::string htmlText(static_cast<const char*>(html.Memory()), static_cast<size_t>(html.Size()));
  EXPECT_NE(htmlText.find("http://example.org/1"), std::string::npos);
  EXPECT_EQ(Data().GetDocumentFlags() & rpdfUseJumps, 0);
}

// Live spelling starts with the first change; the recheck hook takes an item's marks
// away and has it checked again.
TEST_F(RichPaneEditTest, LiveSpellingFollowsTheEditor) {
  std::atomic<bool> wrongIsWrong{true};
  Editor.OnSpellingCheck = [&](TCustomRichPane*, const AnsiString& word, int32_t, bool& misspelled) {
    misspelled = wrongIsWrong && word == "wrng";
  };
  EXPECT_EQ(Editor.LiveSpellingThread(), nullptr);
  Type(u"a wrng word");
  TRPWordEnumThread* thread = Editor.LiveSpellingThread();
  ASSERT_NE(thread, nullptr);
  const auto marks = [&] {
    const TCustomRPItemInfo& item = *Data().GetItem(0);
    return item.WordPainters ? item.WordPainters->Count() : 0;
  };
  SynchronizeUntil([&] { return thread->WaitsForWork() && marks() == 1; });
  EXPECT_EQ(marks(), 1);
  wrongIsWrong = false;
  Data().ResetSpellCheckFrom(0, 1, true);
  EXPECT_EQ(marks(), 0);
  SynchronizeUntil([&] { return thread->WaitsForWork(); });
  EXPECT_EQ(marks(), 0);
  EXPECT_NE(Data().GetItem(0)->ItemState & rpisSpellChecked, 0);
}

// Typed Greek words, held in the Unicode style, cannot reach a checker that takes 8-bit
// text in that style's code page (Cyrillic): they are not asked and keep no mark, while
// the Latin words typed beside them are asked (and here all found wrong).
TEST_F(RichPaneEditTest, TypedGreekIsNotAskedThroughAnotherCodePage) {
  Style.TextStyles()[UnicodeStyle]->Charset = 204;  // RUSSIAN_CHARSET: code page 1251
  std::mutex lock;
  std::vector<AnsiString> asked;
  Editor.OnSpellingCheck = [&](TCustomRichPane*, const AnsiString& word, int32_t, bool& misspelled) {
    const std::lock_guard guard(lock);
    asked.push_back(word);
    misspelled = true;
  };
  SetCurrentStyle(UnicodeStyle);
  Type(u"cat γάτα dog ");
  TRPWordEnumThread* thread = Editor.LiveSpellingThread();
  ASSERT_NE(thread, nullptr);
  SynchronizeUntil([&] { return thread->WaitsForWork(); });
  const TCustomRPItemInfo& item = *Data().GetItem(0);
  ASSERT_NE(item.WordPainters, nullptr);
  std::vector<std::pair<int32_t, int32_t>> marks;
  for (int32_t i = 0; i < item.WordPainters->Count(); ++i)
    marks.emplace_back(item.WordPainters->Items(i)->StartOffs, item.WordPainters->Items(i)->Length);
  EXPECT_EQ(marks, (std::vector<std::pair<int32_t, int32_t>>{{1, 3}, {10, 3}}));
  // Words are asked while they are typed: only Latin letters ever are.
  const std::lock_guard guard(lock);
  for (const AnsiString& word : asked)
    EXPECT_TRUE(std::all_of(word.begin(), word.end(), [](char ch) { return ch >= 'a' && ch <= 'z'; })) << word;
  EXPECT_NE(std::find(asked.begin(), asked.end(), "dog"), asked.end());
}

// With a cell editor over the editor, undo goes to the cell editor while it can, and
// otherwise (the cell editor closed first) to the editor once the event is done.
TEST_F(RichPaneEditTest, UndoGoesToTheCellEditorFirst) {
  Type(u"outer");
  TCustomRichPaneEdit cell(nullptr);
  cell.SetStyle(&Style);
  cell.ClientResized(100, 40);
  cell.Format();
  Editor.SetInplaceEditor(&cell);
  EXPECT_EQ(&Editor.InnermostEditor(), &cell);
  Editor.InsertText("in");
  EXPECT_EQ(Utf8(cell.EditData().GetItemTextW(0)), "in");
  EXPECT_EQ(Items(), "N0:outer|");
  Editor.Undo();
  EXPECT_EQ(Utf8(cell.EditData().GetItemTextW(0)), "");
  Editor.Undo();
  EXPECT_EQ(Items(), "N0:outer|");  // posted
  QApplication::processEvents();
  EXPECT_EQ(Items(), "N0:oute|");
  Editor.SetInplaceEditor(nullptr);
}

// A Kazakh letter is outside the Cyrillic code page: it switches to the Unicode style;
// with Unicode keyboard input on, every typed character does.
TEST_F(RichPaneEditTest, UnicodeKeyboardInput) {
  Style.TextStyles()[PlainStyle]->Charset = RUSSIAN_CHARSET;
  Type(u"да");
  Type(u"ә");
  EXPECT_EQ(Items(), "N0:да|C1:ә|");
  Data().Clear();
  Editor.Format();
  Editor.SetCurTextStyleNo(PlainStyle);
  RPUnicodeKeyboardInput = true;
  Type(u"ab");
  RPUnicodeKeyboardInput = false;
  EXPECT_EQ(Items(), "N1:ab|");
}

TEST_F(RichPaneEditTest, TheVerticalBarStaysDisabledAndTheFocusShowsTheCaret) {
  EXPECT_TRUE(Editor.Window().ScrollBarShown(sbVertical));
  EXPECT_TRUE(Editor.Window().CaretShown());
  Data().Clear();
  TButton other(nullptr);
  other.SetParent(&Form);
  other.SetBounds(0, 0, 10, 10);
  other.SetFocus();
  QApplication::processEvents();
  EXPECT_FALSE(Editor.Window().CaretShown());
  Editor.Window().SetFocus();
  QApplication::processEvents();
  // The focus gives an empty document its empty item and shows the caret.
  EXPECT_EQ(Items(), "N0:|");
  EXPECT_TRUE(Editor.Window().CaretShown());
  other.SetParent(nullptr);
}

TEST_F(RichPaneEditTest, TheSmartPopupFollowsTheCaret) {
  Type(u"one");
  Key(Qt::Key_Return, Qt::NoModifier, "\r");
  Type(u"two");
  Editor.ShowSmartPopup(Data(), 0);
  ASSERT_NE(Data().SmartPopupButton(), nullptr);
  Key(Qt::Key_Up);
  EXPECT_EQ(Data().SmartPopupItem(), Data().GetItem(0));
  Key(Qt::Key_Down);
  EXPECT_EQ(Data().SmartPopupItem(), Data().GetItem(1));
  // A change frees it.
  Type(u"x");
  EXPECT_EQ(Data().SmartPopupButton(), nullptr);
}

// Keys with Ctrl or Alt alone type nothing; with both (AltGr) they type their character.
TEST_F(RichPaneEditTest, ShortcutKeysTypeNothing) {
  Key(Qt::Key_Q, Qt::ControlModifier, "\x11");
  Key(Qt::Key_F, Qt::AltModifier, "f");
  Key(Qt::Key_E, Qt::ControlModifier | Qt::AltModifier, QString::fromUtf16(u"€"));
  EXPECT_EQ(Items(), "N0:€|");
}

// A picture field naming a file beside an inserted RTF file is not read, even when the
// control's import options would allow it for loading.
TEST_F(RichPaneEditTest, InsertedRtfReadsNoLocalFiles) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(::testing::TempDir()) / "editor-rtf-fields";
  fs::create_directories(dir);
  {
    TBitmap picture;
    picture.SetSize(6, 5);
    TFileStream file(AnsiToWide(AnsiString((dir / "pic.bmp").string())), fmCreate);
    picture.SaveToStream(file);
    const std::string rtf = "{\\rtf1 before{\\field{\\*\\fldinst INCLUDEPICTURE \"pic.bmp\"}{\\fldrslt }}after\\par}";
    TFileStream rtfFile(AnsiToWide(AnsiString((dir / "fields.rtf").string())), fmCreate);
    rtfFile.WriteBuffer(rtf.data(), static_cast<int32_t>(rtf.size()));
  }
  auto& props = RichPaneRTFReadProperties(Editor);
  props.AllowFieldPictureFiles = true;
  const auto pictures = [](TCustomRPData& data) {
    int32_t count = 0;
    for (int32_t i = 0; i < data.GetItemCount(); ++i) count += data.GetItem(i)->StyleNo == rpkindPicture;
    return count;
  };
  // Loading the file with the same options reads the picture: the file is good.
  {
    TCustomRichPane viewer(nullptr);
    viewer.SetStyle(&Style);
    props.BasePath = AnsiString(dir.string() + "/");
    TFileStream file(AnsiToWide(AnsiString((dir / "fields.rtf").string())), fmOpenRead);
    int32_t position = 0;
    ASSERT_EQ(props.ReadRTFFromStream(file, viewer.RPData(), position), rtf_ec_OK);
    EXPECT_EQ(pictures(viewer.RPData()), 1);
    props.BasePath = AnsiString();
  }
  ASSERT_TRUE(Editor.InsertRTFFromFile(AnsiToWide(AnsiString((dir / "fields.rtf").string()))));
  EXPECT_EQ(pictures(Data()), 0);
  EXPECT_NE(Items().find("beforeafter"), std::string::npos) << Items();
  EXPECT_TRUE(props.AllowFieldPictureFiles);
  fs::remove_all(dir);
}

// An editor being destroyed (with the focus, in hyperlink mode) fires no events.
TEST_F(RichPaneEditTest, DestructionFiresNoEvents) {
  int32_t events = 0;
  {
    TRichPaneEdit editor(nullptr);
    editor.SetStyle(&Style);
    editor.Window().SetParent(&Form);
    editor.Window().SetBounds(10, 10, 200, 100);
    editor.EditData().AddRawText("text", PlainStyle, 0);
    editor.Format();
    editor.Window().SetFocus();
    QApplication::processEvents();
    editor.EditData().SetCaretAtItemPos(0, 3);
    editor.EditData().BuildJumps(true);
    editor.OnCaretMove = [&](TObject*) { ++events; };
    editor.OnCurTextStyleChanged = [&](TObject*) { ++events; };
    editor.OnCurParaStyleChanged = [&](TObject*) { ++events; };
    editor.OnChange = [&](TObject*) { ++events; };
  }
  EXPECT_EQ(events, 0);
}

// Native and RTF documents inserted at random caret positions of random documents: each
// insertion is one undo step; undoing them all gives the original dump, redoing them all
// the edited one, and the layout each leaves is that of a whole new pass.
TEST_F(RichPaneEditTest, RandomInsertionsUndoAndRedo) {
  std::mt19937 rng;
  const auto rand = [&](int32_t n) { return std::uniform_int_distribution<int32_t>(0, n - 1)(rng); };
  const char* const words[] = {"alpha", "beta ", " gamma", "delta epsilon", "x"};
  const std::u16string unicodeWords[] = {u"\u0436\u0443\u043A", u"\u65E5\u672C", u"\u03A9 ok"};
  const auto fill = [&](TCustomRPData& data, int32_t paragraphs) {
    for (int32_t p = 0; p < paragraphs; ++p)
      for (int32_t n = 1 + rand(3), first = 1; n > 0; --n, first = 0) {
        const int32_t paraNo = first ? rand(2) : -1;
        const int32_t kind = rand(12);
        if (kind == 0) {
          auto picture = std::make_unique<TBitmap>();
          picture->SetSize(4 + rand(8), 4 + rand(8));
          data.AddPicture("p", std::move(picture), paraNo, rpvaBaseline);
        } else if (kind == 1 && first) {
          auto table = std::make_unique<TRPTableItemInfo>(2, 2, &data);
          for (int32_t r = 0; r < 2; ++r)
            for (int32_t c = 0; c < 2; ++c) {
              table->GetCell(r, c)->Clear();
              table->GetCell(r, c)->AddRawText(words[rand(5)], PlainStyle, 0);
            }
          data.AddItem("", std::move(table));
        } else if (kind == 2 && !first && data.GetItemCount() > 0 &&
                   !data.GetItem(data.GetItemCount() - 1)->GetBoolValue(rpibqWholeLine)) {
          // A line of its own inside the paragraph.
          data.AddRawText(words[rand(5)], PlainStyle, -1);
          data.GetItem(data.GetItemCount() - 1)->SetLineBreakBefore(true);
        } else if (kind < 5)
          data.AddTextW(unicodeWords[rand(3)], rand(2) ? UnicodeStyle : BoldStyle, TRPTag(), paraNo);
        else
          data.AddRawText(words[rand(5)], PlainStyle, paraNo);
      }
  };
  const std::string rtfs[] = {
      "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 one {\\b two}\\par three}",
      "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 single}",
      "{\\rtf1\\ansi\\uc1{\\fonttbl{\\f0 Arial;}}\\f0\\par \\u1078?\\u1091?\\par end\\par}",
  };
  // The documents are built while no live spelling runs (a table made for a document
  // whose walk runs is reached half built).
  Editor.LiveSpellingMode = rplspManualStart;
  int32_t inserted = 0;
  for (uint32_t seed = 1; seed <= 60; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    rng.seed(seed);
    Data().Clear();
    fill(Data(), 1 + rand(4));
    Editor.Format();
    Editor.ClearUndo();
    std::vector<std::string> states{Dump(Data())};
    for (int32_t n = 0; n < 5; ++n) {
      const int32_t itemNo = rand(Data().GetItemCount());
      Data().SetCaretAtItemPos(itemNo, Data().GetItemStartOffset(itemNo) + rand(Data().GetItemLength(itemNo) + 1));
      bool done = false;
      if (rand(2) == 0) {
        const auto native = NativeDocument(Style, [&](TCustomRPData& data) { fill(data, 1 + rand(3)); });
        done = Editor.InsertRPFFromStream(*native);
      } else {
        const std::string& rtf = rtfs[rand(3)];
        TMemoryStream stream;
        stream.WriteBuffer(rtf.data(), static_cast<int32_t>(rtf.size()));
        stream.SetPosition(0);
        done = Editor.InsertRTFFromStream(stream);
      }
      ASSERT_TRUE(done);
      ASSERT_EQ(DocumentFault(Data()), "") << "before:\n" << states.back() << "after:\n" << Dump(Data());
      ASSERT_EQ(Data().UndoList->Count(), static_cast<int32_t>(states.size()));
      states.push_back(Dump(Data()));
      const std::string partial = Layout();
      Editor.Format();
      ASSERT_EQ(Layout(), partial) << "after insertion " << n;
      ++inserted;
    }
    for (size_t k = states.size() - 1; k > 0; --k) {
      Editor.Undo();
      ASSERT_EQ(Dump(Data()), states[k - 1]) << "undone to " << k - 1;
    }
    for (size_t k = 1; k < states.size(); ++k) {
      Editor.Redo();
      ASSERT_EQ(Dump(Data()), states[k]) << "redone to " << k;
    }
  }
  EXPECT_EQ(inserted, 300);
}

// Random key scripts (characters of several scripts, Backspace, Delete, Enter,
// Shift+Enter, Tab, the arrows with and without Shift, Home and End, Ctrl+Z and Ctrl+Y,
// and the mouse: clicks, Shift+clicks, double clicks and drags) on random documents: after
// every event the document keeps its rules and its layout is that of a whole new pass;
// undoing everything gives the original document back.
TEST_F(RichPaneEditTest, RandomKeyScripts) {
  Style.TextStyles()[PlainStyle]->Charset = ANSI_CHARSET;
  Editor.LiveSpellingMode = rplspManualStart;
  // A drag that starts in the selection would take the selection out through the
  // platform's drag loop, which waits for a real pointer: a drag here always selects.
  Editor.Options |= rpoDisallowDrag;
  std::mt19937 rng;
  const auto rand = [&](int32_t n) { return std::uniform_int_distribution<int32_t>(0, n - 1)(rng); };
  for (uint32_t seed = 1; seed <= 8; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    rng.seed(seed);
    Data().Clear();
    for (int32_t p = 1 + rand(3); p > 0; --p) {
      Data().AddRawText("plain text", PlainStyle, 0);
      if (rand(2)) Data().AddTextW(u"\u0436\u0443\u043A", UnicodeStyle, TRPTag(), -1);
    }
    Editor.Format();
    Editor.ClearUndo();
    const std::string original = Dump(Data());
    std::string script;
    for (int32_t n = 0; n < 40; ++n) {
      script += RandomEvent(rand) + "; ";
      ASSERT_EQ(DocumentFault(Data()), "") << script;
      const std::string partial = Layout();
      Editor.Reformat();
      ASSERT_EQ(Layout(), partial) << script;
    }
    for (int32_t guard = 0; Editor.CanUndo() && guard < 1000; ++guard) Editor.Undo();
    ASSERT_EQ(Dump(Data()), original) << script;
  }
}

// Shift+Enter beside a table starts a paragraph: nothing shares a line with a table.
TEST_F(RichPaneEditTest, ShiftEnterBesideATableStartsAParagraph) {
  const struct {
    const char* Where;
    int32_t Offset;
    const char* Expected;
  } cases[] = {{"after the table", 1, "N0:before|N-60:<-60>|N0:|N0:after|"},
               {"before the table", 0, "N0:before|N0:|N-60:<-60>|N0:after|"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Where);
    Data().Clear();
    Data().AddRawText("before", PlainStyle, 0);
    Data().AddItem("", std::make_unique<TRPTableItemInfo>(1, 2, &Data()));
    Data().AddRawText("after", PlainStyle, 0);
    Editor.Format();
    Editor.ClearUndo();
    const std::string original = Dump(Data());
    Data().SetSelectionBounds(1, c.Offset, 1, c.Offset);
    Data().SetCaretAtItemPos(1, c.Offset);
    Key(Qt::Key_Return, Qt::ShiftModifier, "\r");
    EXPECT_EQ(DocumentFault(Data()), "");
    EXPECT_EQ(Items(), c.Expected);
    Editor.Undo();
    EXPECT_EQ(Dump(Data()), original);
  }
}

// The random scripts over a document with a table, half of the mouse actions inside the
// table: clicks open cells' editors there, keys go to the widget with the focus, drags
// select cells. After every event the document and the open cell's document keep their
// rules and their layouts are those of a whole new pass; once the cell is left, undoing
// everything gives the original document back.
TEST_F(RichPaneEditTest, RandomKeyAndMouseScriptsInATable) {
  Style.TextStyles()[PlainStyle]->Charset = ANSI_CHARSET;
  Editor.LiveSpellingMode = rplspManualStart;
  Editor.Options |= rpoDisallowDrag;
  KeysToTheFocus = true;
  std::mt19937 rng;
  const auto rand = [&](int32_t n) { return std::uniform_int_distribution<int32_t>(0, n - 1)(rng); };
  const auto tableOf = [this]() -> TRPTableItemInfo* {
    for (int32_t i = 0; i < Data().GetItemCount(); ++i)
      if (auto* table = dynamic_cast<TRPTableItemInfo*>(Data().GetItem(i))) return table;
    return nullptr;
  };
  // The table's box in the editor's client area (empty when the table went).
  const auto tableBox = [&] {
    TRPTableItemInfo* table = tableOf();
    if (!table) return QRect();
    table->UpdatePosition();
    const TPoint at = table->GetPosition();
    return QRect(at.X - Data().GetHOffs(), at.Y - Data().GetVOffs(), table->GetWidth(), table->GetHeight())
        .intersected(QRect(0, 0, 390, 270));
  };
  int32_t cellEvents = 0;
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    rng.seed(seed);
    Data().Clear();
    Data().AddRawText("plain text before", PlainStyle, 0);
    auto table = std::make_unique<TRPTableItemInfo>(2 + rand(2), 2 + rand(2), &Data());
    for (int32_t r = 0; r < table->Rows().GetRowCount(); ++r)
      for (int32_t c = 0; c < table->Rows().GetColCount(); ++c) {
        TRPTableCellData& cell = *table->GetCell(r, c);
        cell.Clear();
        cell.AddRawText("cell " + std::to_string(r) + std::to_string(c), PlainStyle, 0);
        if (rand(2)) cell.AddTextW(u"\u0436\u0443\u043A", UnicodeStyle, TRPTag(), -1);
      }
    table->SetCellPadding(2);
    Data().AddItem("", std::move(table));
    Data().AddRawText("plain text after", PlainStyle, 0);
    Editor.Format();
    Editor.ClearUndo();
    const std::string original = Dump(Data());
    std::string script;
    for (int32_t n = 0; n < 50; ++n) {
      script += RandomEvent(rand, tableBox()) + "; ";
      ASSERT_EQ(DocumentFault(Data()), "") << script;
      TCustomRichPaneEdit& inner = Editor.InnermostEditor();
      if (&inner != &Editor) {
        ++cellEvents;
        TRPEditRPData& cell = inner.EditData();
        ASSERT_EQ(DocumentFault(cell), "") << script;
        const std::string partial = Layout(cell);
        inner.Reformat();
        ASSERT_EQ(Layout(cell), partial) << script;
        continue;
      }
      const std::string partial = Layout();
      Editor.Reformat();
      ASSERT_EQ(Layout(), partial) << script;
    }
    if (TRPTableItemInfo* table = tableOf()) table->DestroyInplaceEditor();
    QApplication::processEvents();
    for (int32_t guard = 0; Editor.CanUndo() && guard < 1000; ++guard) {
      Editor.Undo();
      QApplication::processEvents();
    }
    ASSERT_EQ(Dump(Data()), original) << script;
  }
  EXPECT_GT(cellEvents, 40) << "events with a cell open";
}
