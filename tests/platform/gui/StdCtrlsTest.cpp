#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>

#include "platform/base/Exception.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtText.h"

namespace {

class StdCtrlsTest : public testing::Test {
protected:
  TForm Form{nullptr};
  TObject Kind1, Kind2;
};

TEST_F(StdCtrlsTest, ListBoxFilledWithoutWidgetShowsItsItemsOnceItHasOne) {
  auto* list = CreateOwned<TListBox>(Form);
  list->SetParent(&Form);
  list->InsertItem(0, u"\u0410\u0431\u0432", &Kind1);
  list->InsertItem(1, u"\U0001F600 two", &Kind2);
  list->SetItemIndex(1);
  Form.HandleNeeded();
  auto* widget = static_cast<QListWidget*>(list->Widget());
  ASSERT_EQ(widget->count(), 2);
  EXPECT_EQ(FromQString(widget->item(0)->text()), u"\u0410\u0431\u0432");
  EXPECT_EQ(FromQString(widget->item(1)->text()), u"\U0001F600 two");
  EXPECT_EQ(widget->currentRow(), 1);

  list->RecreateWnd();
  EXPECT_EQ(static_cast<QListWidget*>(list->Widget())->count(), 2);
  EXPECT_EQ(static_cast<QListWidget*>(list->Widget())->currentRow(), 1);
}

TEST_F(StdCtrlsTest, ReplacingTheLastLineKeepsItsObjectAndTheSelection) {
  TListBox list(nullptr);
  list.InsertItem(0, u"first", &Kind1);
  list.InsertItem(1, u"last", &Kind2);
  list.SetItemIndex(1);
  list.SetItemText(1, u"last, done");
  EXPECT_EQ(list.Item(1).Text, u"last, done");
  EXPECT_EQ(list.Item(1).Object, &Kind2);
  EXPECT_EQ(list.ItemIndex(), 1);

  list.MoveItem(1, 0);
  EXPECT_EQ(list.Item(0).Object, &Kind2);
  EXPECT_EQ(list.ItemIndex(), 0);
}

// A multi-select list keeps its selection in the control, before and after its widget,
// and takes the user's selection back.
TEST_F(StdCtrlsTest, AMultiSelectListKeepsItsSelection) {
  auto* list = CreateOwned<TListBox>(Form);
  list->SetParent(&Form);
  list->SetMultiSelect(true);
  for (int32_t i = 0; i < 4; ++i) list->InsertItem(i, u"item", nullptr);
  list->SetSelected(1, true);
  list->SetSelected(3, true);
  EXPECT_EQ(list->SelCount(), 2);
  Form.HandleNeeded();
  auto* widget = static_cast<QListWidget*>(list->Widget());
  EXPECT_EQ(widget->selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_TRUE(widget->item(1)->isSelected());
  EXPECT_TRUE(widget->item(3)->isSelected());
  widget->item(0)->setSelected(true);
  widget->item(3)->setSelected(false);
  EXPECT_TRUE(list->Selected(0));
  EXPECT_TRUE(list->Selected(1));
  EXPECT_FALSE(list->Selected(3));
  list->DeleteItem(2);
  EXPECT_EQ(list->SelCount(), 2);
  EXPECT_TRUE(static_cast<QListWidget*>(list->Widget())->item(1)->isSelected());

  // Without MultiSelect the selected item is the one at ItemIndex.
  TListBox single(nullptr);
  single.InsertItem(0, u"a", nullptr);
  single.InsertItem(1, u"b", nullptr);
  single.SetSelected(1, true);
  EXPECT_EQ(single.ItemIndex(), 1);
  EXPECT_EQ(single.SelCount(), 1);
}

// Item colours come from OnItemColor (TColor: 0x00BBGGRR) each time the items are shown.
TEST_F(StdCtrlsTest, ItemColoursComeFromTheHandler) {
  auto* list = CreateOwned<TListBox>(Form);
  list->SetParent(&Form);
  list->OnItemColor = [](int32_t index) { return index == 0 ? 0x0000FF : 0x008000; };
  list->SetHighlightSelection(false);
  list->InsertItem(0, u"red", nullptr);
  Form.HandleNeeded();
  list->InsertItem(1, u"green", nullptr);
  auto* widget = static_cast<QListWidget*>(list->Widget());
  EXPECT_EQ(widget->item(0)->foreground().color(), QColor(255, 0, 0));
  EXPECT_EQ(widget->item(1)->foreground().color(), QColor(0, 128, 0));

  // The selected line is drawn on the list's background, unless highlighting is wanted.
  list->SetBounds(0, 0, 200, 60);
  Form.SetBounds(0, 0, 200, 60);
  list->SetItemIndex(0);
  const auto selectedBackground = [&] {
    const QRect row = widget->visualItemRect(widget->item(0));
    return widget->viewport()->grab().toImage().pixelColor(row.right() - 2, row.center().y());
  };
  const QColor base = widget->palette().color(QPalette::Base);
  EXPECT_EQ(selectedBackground(), base);
  list->SetHighlightSelection(true);
  EXPECT_NE(selectedBackground(), base);
}

// Inserting, deleting or rewriting one line touches only that line of the widget, so a
// list the user has scrolled sideways (to read a long line) stays where it was.
TEST_F(StdCtrlsTest, ChangingOneLineKeepsTheOthersAndTheSidewaysScroll) {
  auto* list = CreateOwned<TListBox>(Form);
  list->SetParent(&Form);
  list->SetBounds(0, 0, 120, 80);
  Form.SetBounds(0, 0, 120, 80);
  list->InsertItem(0, u"first", &Kind1);
  list->InsertItem(1, u"a long line " + WideString(200, u'x') + u" end", nullptr);
  Form.Show();
  auto* widget = static_cast<QListWidget*>(list->Widget());
  QApplication::processEvents();
  QScrollBar* sideways = widget->horizontalScrollBar();
  // The whole of the long line can be scrolled into view.
  ASSERT_GT(sideways->maximum(), 0);
  EXPECT_GE(sideways->maximum() + widget->viewport()->width(), widget->visualItemRect(widget->item(1)).width());
  sideways->setValue(sideways->maximum());
  const int scrolled = sideways->value();
  QListWidgetItem* first = widget->item(0);
  QListWidgetItem* second = widget->item(1);

  list->InsertItem(2, u"third", nullptr);
  list->SetItemText(2, u"third, rewritten");
  EXPECT_EQ(FromQString(widget->item(2)->text()), u"third, rewritten");
  list->InsertItem(3, u"fourth", nullptr);
  list->DeleteItem(2);
  QApplication::processEvents();
  ASSERT_EQ(widget->count(), 3);
  EXPECT_EQ(widget->item(0), first);
  EXPECT_EQ(widget->item(1), second);
  EXPECT_EQ(FromQString(widget->item(2)->text()), u"fourth");
  EXPECT_EQ(list->Item(0).Object, &Kind1);
  EXPECT_EQ(sideways->value(), scrolled);
  Form.Hide();
}

TEST_F(StdCtrlsTest, ComboBoxItemsChangeInPlace) {
  auto* combo = CreateOwned<TComboBox>(Form);
  combo->SetParent(&Form);
  combo->SetStyle(csDropDownList);
  Form.HandleNeeded();
  combo->InsertItem(0, u"one", nullptr);
  combo->InsertItem(1, u"two", nullptr);
  combo->SetItemIndex(1);
  combo->InsertItem(0, u"zero", nullptr);
  combo->SetItemText(2, u"\u0434\u0432\u0430");
  auto* widget = static_cast<QComboBox*>(combo->Widget());
  ASSERT_EQ(widget->count(), 3);
  EXPECT_EQ(FromQString(widget->itemText(2)), u"\u0434\u0432\u0430");
  EXPECT_EQ(widget->currentIndex(), 2);
  combo->DeleteItem(0);
  EXPECT_EQ(widget->count(), 2);
  EXPECT_EQ(widget->currentIndex(), 1);
  EXPECT_EQ(combo->ItemIndex(), 1);
}

// The size that shows a control's whole caption is what its widget asks for: a longer
// caption asks for more; a combo box asks for its widest item, a group box for its title.
TEST_F(StdCtrlsTest, FitSizeGrowsWithTheCaption) {
  auto* button = CreateOwned<TButton>(Form);
  auto* label = CreateOwned<TLabel>(Form);
  auto* box = CreateOwned<TGroupBox>(Form);
  auto* combo = CreateOwned<TComboBox>(Form);
  for (TControl* control : std::initializer_list<TControl*>{button, label, box, combo}) {
    control->SetParent(&Form);
    control->SetCaption(u"Add");
    EXPECT_EQ(control->FitSize().Width, 0);  // no widget yet
  }
  combo->SetStyle(csDropDownList);
  combo->InsertItem(0, u"Ask", nullptr);
  Form.HandleNeeded();
  EXPECT_EQ(button->FitSize().Width, button->Widget()->sizeHint().width());
  for (TControl* control : std::initializer_list<TControl*>{button, label, box, combo}) {
    SCOPED_TRACE(control->ClassName());
    const int32_t shortWidth = control->FitSize().Width;
    EXPECT_GT(shortWidth, 0);
    if (control == combo)
      combo->InsertItem(
          1, u"\u041d\u0435 \u043f\u0440\u0435\u043e\u0431\u0440\u0430\u0437\u043e\u0432\u044b\u0432\u0430\u0442\u044c",
          nullptr);
    else
      control->SetCaption(
          u"\u0414\u043e\u0431\u0430\u0432\u0438\u0442\u044c \u0444\u0430\u0439\u043b\u044b \u0432 "
          u"\u0441\u043f\u0438\u0441\u043e\u043a");
    EXPECT_GT(control->FitSize().Width, shortWidth + 40);
    EXPECT_GT(control->FitSize().Height, 0);
  }
}

TEST_F(StdCtrlsTest, AnIndexOutsideTheListRaisesTheListError) {
  TListBox list(nullptr);
  list.InsertItem(0, u"only", nullptr);
  try {
    list.Item(5);
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (5)");
  }
  EXPECT_THROW(list.DeleteItem(-1), EStringListError);
  EXPECT_THROW(list.InsertItem(3, u"x", nullptr), EStringListError);
}

TEST_F(StdCtrlsTest, DropDownListSearchesByPrefixWithinThePause) {
  TComboBox combo(nullptr);
  combo.SetStyle(csDropDownList);
  for (const char16_t* item : {u"apple", u"Abacus", u"banana", u"\u0416\u0443\u043a", u"ab"})
    combo.InsertItem(combo.ItemCount(), item, nullptr);
  EXPECT_TRUE(combo.SearchKey(u'a', 10'000));
  EXPECT_EQ(combo.ItemIndex(), 0);
  EXPECT_TRUE(combo.SearchKey(u'b', 10'000 + 1250));
  EXPECT_EQ(combo.ItemIndex(), 1);  // "Abacus": case is ignored
  EXPECT_EQ(combo.Text(), u"Abacus");
  EXPECT_TRUE(combo.SearchKey(u'b', 10'000 + 1250 + 1251));  // a new search
  EXPECT_EQ(combo.ItemIndex(), 2);
  EXPECT_TRUE(combo.SearchKey(u'\u0436', 20'000));  // Cyrillic, case ignored
  EXPECT_EQ(combo.ItemIndex(), 3);
  EXPECT_FALSE(combo.SearchKey(u'q', 20'001));
  EXPECT_EQ(combo.ItemIndex(), 3);
}

TEST_F(StdCtrlsTest, TypingIntoADropDownListSearchesToo) {
  auto* combo = CreateOwned<TComboBox>(Form);
  combo->SetStyle(csDropDownList);
  combo->SetParent(&Form);
  for (const char16_t* item : {u"one", u"two", u"three"}) combo->InsertItem(combo->ItemCount(), item, nullptr);
  Form.HandleNeeded();
  QKeyEvent t(QEvent::KeyPress, Qt::Key_T, Qt::NoModifier, "t");
  QApplication::sendEvent(combo->Widget(), &t);
  QKeyEvent h(QEvent::KeyPress, Qt::Key_H, Qt::NoModifier, "h");
  QApplication::sendEvent(combo->Widget(), &h);
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(static_cast<QComboBox*>(combo->Widget())->currentIndex(), 2);
}

TEST_F(StdCtrlsTest, TypingACharacterOutsideTheCodePageReachesTheEdit) {
  auto* edit = CreateOwned<TEdit>(Form);
  edit->SetParent(&Form);
  edit->SetText(u"\u0416");
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  Form.HandleNeeded();
  static_cast<QLineEdit*>(edit->Widget())->end(false);
  QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(0x4E2D)));
  QApplication::sendEvent(edit->Widget(), &key);
  EXPECT_EQ(edit->Text(), u"\u0416\u4e2d");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(edit->SelStart(), 2);
}

TEST_F(StdCtrlsTest, PasswordCharacterHidesTheText) {
  auto* edit = CreateOwned<TEdit>(Form);
  edit->SetParent(&Form);
  edit->SetPasswordChar(u'\u25CF');
  Form.HandleNeeded();
  EXPECT_EQ(static_cast<QLineEdit*>(edit->Widget())->echoMode(), QLineEdit::Password);
}

}  // namespace

namespace {

TEST(EditableComboBox, TypingCompletesTheFirstMatchingItemAndSelectsTheRest) {
  TForm form(nullptr);
  auto* combo = CreateOwned<TComboBox>(form);
  combo->SetParent(&form);
  for (const char16_t* item : {u"\u041a\u043d\u0438\u0433\u0430", u"Abacus", u"apple"})
    combo->InsertItem(combo->ItemCount(), item, nullptr);
  form.SetBounds(0, 0, 200, 60);
  combo->SetBounds(0, 0, 150, 24);
  form.Show();
  QLineEdit* edit = static_cast<QComboBox*>(combo->Widget())->lineEdit();
  edit->setFocus();
  for (const char* key : {"a", "B"}) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8(key));
    QApplication::sendEvent(edit, &press);
  }
  EXPECT_EQ(FromQString(edit->text()), u"aBacus");  // case is ignored, the typed case stays
  EXPECT_EQ(FromQString(edit->selectedText()), u"acus");
  EXPECT_EQ(combo->Text(), u"aBacus");
  // Backspace deletes the completed rest and completes nothing.
  QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
  QApplication::sendEvent(edit, &back);
  EXPECT_EQ(FromQString(edit->text()), u"aB");
  // Cyrillic, case ignored.
  edit->clear();
  QKeyEvent ka(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(0x043a)));
  QApplication::sendEvent(edit, &ka);
  EXPECT_EQ(FromQString(edit->text()), u"\u043a\u043d\u0438\u0433\u0430");
  form.Hide();
}

}  // namespace
