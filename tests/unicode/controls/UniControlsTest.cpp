#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolTip>

#include "platform/base/Exception.h"
#include "platform/gui/QtText.h"
#include "unicode/controls/UniActnList.h"
#include "unicode/controls/UniControls.h"
#include "unicode/controls/UniForms.h"

// A persistent class neither action nor control knows.
class TForeign : public TPersistent {};

namespace {

class UniControlsTest : public testing::Test {
protected:
  TUniForm Form{nullptr};
  TObject Info, Error;
};

TEST_F(UniControlsTest, ListBoxItemsAreAUnicodeStringListOverTheControl) {
  auto* list = CreateOwned<TUniListBox>(Form);
  list->SetParent(&Form);
  TWideStrings& items = *list->Items();
  items.AddObject(u"\u0417\u0430\u0433\u0440\u0443\u0437\u043a\u0430...", &Info);
  items.AddObject(u"\U0001F4D5 \u043e\u0448\u0438\u0431\u043a\u0430", &Error);
  list->SetItemIndex(1);
  Form.HandleNeeded();
  // Replacing the last line keeps its kind and the selection.
  items.SetString(1, u"\u0413\u043e\u0442\u043e\u0432\u043e");
  EXPECT_EQ(items.Objects(1), &Error);
  EXPECT_EQ(list->ItemIndex(), 1);
  auto* widget = static_cast<QListWidget*>(list->Widget());
  EXPECT_EQ(FromQString(widget->item(1)->text()), u"\u0413\u043e\u0442\u043e\u0432\u043e");
  EXPECT_EQ(widget->currentRow(), 1);
  EXPECT_EQ(items.Text(),
            u"\u0417\u0430\u0433\u0440\u0443\u0437\u043a\u0430...\r\n\u0413\u043e\u0442\u043e\u0432\u043e\r\n");
  items.Move(1, 0);
  EXPECT_EQ(items.Objects(0), &Error);
  EXPECT_EQ(items.IndexOf(u"\u0413\u043e\u0442\u043e\u0432\u043e"), 0);
  items.Delete(0);
  EXPECT_EQ(widget->count(), 1);
}

TEST_F(UniControlsTest, ComboBoxItemsAndTextSelectEachOther) {
  auto* combo = CreateOwned<TUniComboBox>(Form);
  combo->SetStyle(csDropDownList);
  combo->Items()->SetText(u"\u0420\u0443\u0441\u0441\u043a\u0438\u0439\r\nEnglish\r\n");
  combo->SetText(u"English");
  EXPECT_EQ(combo->ItemIndex(), 1);
  combo->SetItemIndex(0);
  EXPECT_EQ(combo->Text(), u"\u0420\u0443\u0441\u0441\u043a\u0438\u0439");
  EXPECT_EQ(FindPublishedProp(*combo, "Items")->Kind, tkClass);
  EXPECT_EQ(FindPublishedProp(*combo, "Text")->Kind, tkWString);
}

TEST_F(UniControlsTest, LabelShowsCyrillicAndNonBmpCaptions) {
  auto* label = CreateOwned<TUniLabel>(Form);
  label->SetParent(&Form);
  label->SetCaption(u"\u042f\u0437\u044b\u043a: \U00010348");
  Form.HandleNeeded();
  EXPECT_EQ(FromQString(static_cast<QLabel*>(label->Widget())->text()), u"\u042f\u0437\u044b\u043a: \U00010348");
  EXPECT_EQ(GetWideHintOfChain(*label), u"");
  Form.SetHint(u"\u041a|\u0414\u043b\u0438\u043d\u043d\u0430\u044f");
  EXPECT_EQ(WideShortHint(GetWideHintOfChain(*label)), u"\u041a");
  EXPECT_EQ(WideLongHint(GetWideHintOfChain(*label)), u"\u0414\u043b\u0438\u043d\u043d\u0430\u044f");
}

TEST_F(UniControlsTest, TranslatingAnActionsCaptionShowsItOnItsButton) {
  auto* action = CreateOwned<TUniAction>(Form);
  action->SetCaption(u"&Start");
  auto* button = CreateOwned<TUniButton>(Form);
  button->SetParent(&Form);
  button->SetAction(action);
  auto* mine = CreateOwned<TUniButton>(Form);
  mine->SetParent(&Form);
  mine->SetAction(action);
  mine->SetCaption(u"Own");
  Form.HandleNeeded();
  action->SetCaption(u"&\u0421\u0442\u0430\u0440\u0442 \u958b\u59cb");
  EXPECT_EQ(FromQString(static_cast<QPushButton*>(button->Widget())->text()),
            u"&\u0421\u0442\u0430\u0440\u0442 \u958b\u59cb");
  EXPECT_EQ(FromQString(static_cast<QPushButton*>(mine->Widget())->text()), u"Own");
}

TEST_F(UniControlsTest, ActionsAssignFromActionsAndControls) {
  TUniAction action(nullptr);
  TUniAction other(nullptr);
  other.SetCaption(u"\u0412\u044b\u0445\u043e\u0434");
  other.SetHint(u"\u0412|\u0412\u044b\u0439\u0442\u0438");
  action.Assign(other);
  EXPECT_EQ(action.Caption(), u"\u0412\u044b\u0445\u043e\u0434");
  EXPECT_EQ(action.Hint(), u"\u0412|\u0412\u044b\u0439\u0442\u0438");

  TUniButton button(nullptr);
  button.SetCaption(u"\U0001F600");
  button.SetHint(u"h");
  action.Assign(button);
  EXPECT_EQ(action.Caption(), u"\U0001F600");
  EXPECT_EQ(action.Hint(), u"h");

  TForeign foreign;
  try {
    action.Assign(foreign);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TForeign to a TUniAction");
  }
}

}  // namespace

namespace {

// What a control's widget shows as its text.
QString ShownText(QWidget* widget) {
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* box = qobject_cast<QGroupBox*>(widget)) return box->title();
  return widget->windowTitle();
}

TEST(UniControlFamily, EveryControlShowsItsCaptionAndShortHint) {
  TUniForm form(nullptr);
  std::vector<TControl*> controls{CreateOwned<TUniLabel>(form), CreateOwned<TUniEdit>(form),
                                  CreateOwned<TUniButton>(form), CreateOwned<TUniRadioButton>(form),
                                  CreateOwned<TUniGroupBox>(form)};
  const WideString caption = u"\u0417\u0430\u0433\u043e\u043b\u043e\u0432\u043e\u043a \U0001D11E\U0001F4D6";
  const WideString hint =
      u"\u041a\u0440\u0430\u0442\u043a\u043e \U00010348|\u041f\u043e\u0434\u0440\u043e\u0431\u043d\u043e";
  for (TControl* control : controls) {
    control->SetCaption(caption);
    control->SetHint(hint);
    control->SetBounds(0, 0, 100, 30);
    control->SetParent(&form);
  }
  form.SetBounds(0, 0, 300, 200);
  form.SetCaption(caption);
  form.Show();
  EXPECT_EQ(FromQString(form.Widget()->windowTitle()), caption);
  for (TControl* control : controls) {
    SCOPED_TRACE(control->ClassName());
    EXPECT_EQ(FromQString(ShownText(control->Widget())), caption);
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), control->Widget()->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(control->Widget(), &help);
    EXPECT_EQ(FromQString(QToolTip::text()), u"\u041a\u0440\u0430\u0442\u043a\u043e \U00010348");
    QToolTip::hideText();
  }
  form.Hide();
}

}  // namespace
