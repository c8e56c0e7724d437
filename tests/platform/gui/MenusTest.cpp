// Menus over Qt's: items with their texts, shortcuts, checked and enabled states; a popup
// menu shown and chosen from, a menu bar on a form, shortcuts from the keyboard, actions
// linked to items, and the hint of the item under the mouse.
#include "platform/gui/Menus.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "platform/gui/QtText.h"

namespace {

TEST(ShortCuts, NameTheirModifiersAndKey) {
  struct TCase {
    uint16_t Key;
    TShiftState Shift;
    const char16_t* Text;
  };
  const TCase cases[] = {
      {'O', ssCtrl, u"Ctrl+O"},
      {VK_DELETE, ssShift, u"Shift+Del"},
      {VK_F1 + 4, ssCtrl | ssShift, u"Shift+Ctrl+F5"},
      {'X', ssAlt, u"Alt+X"},
      {VK_F1 + 11, 0, u"F12"},
      {VK_F24, 0, u"F24"},
      {VK_NUMPAD0 + 5, ssCtrl, u"Ctrl+Num 5"},
      {'7', ssCtrl | ssAlt, u"Ctrl+Alt+7"},
      {VK_RETURN, 0, u"Enter"},
      {VK_PRIOR, 0, u"PgUp"},
      {0x07, ssCtrl, u""},  // a key without a name
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Key);
    const TShortCut shortCut = ShortCut(c.Key, c.Shift);
    EXPECT_EQ(ShortCutToText(shortCut), c.Text);
    uint16_t key = 0;
    TShiftState shift = 0;
    ShortCutToKey(shortCut, key, shift);
    EXPECT_EQ(key, c.Key);
    EXPECT_EQ(shift, c.Shift);
  }
  EXPECT_EQ(ShortCutToText(scNone), u"");
  EXPECT_EQ(ShortCut('O', ssCtrl), scCtrl | 'O');
}

TEST(ShortCuts, CaptionsCompareWithoutAcceleratorsAndCase) {
  EXPECT_EQ(StripHotkey(u"&Open"), u"Open");
  EXPECT_EQ(StripHotkey(u"Save && E&xit"), u"Save & Exit");
  EXPECT_EQ(StripHotkey(u"\u041e&\u0442\u043a\u0440\u044b\u0442\u044c"), u"\u041e\u0442\u043a\u0440\u044b\u0442\u044c");
  EXPECT_TRUE(SameCaption(u"E&xit", u"&Exit"));
  EXPECT_TRUE(
      SameCaption(u"&\u041e\u0442\u043a\u0440\u044b\u0442\u044c", u"\u043e\u0442\u043a\u0440\u044b\u0442\u044c"));
  EXPECT_FALSE(SameCaption(u"Exit", u"Exits"));
  EXPECT_FALSE(SameCaption(u"A && B", u"A B"));
}

// The Qt menu's actions as texts, "" for a separator.
std::vector<WideString> Texts(QWidget* menu) {
  std::vector<WideString> texts;
  for (QAction* action : menu->actions()) texts.push_back(action->isSeparator() ? u"" : FromQString(action->text()));
  return texts;
}

// A popup menu with a few kinds of item, owned by a form as a window owns them.
class MenusTest : public testing::Test {
protected:
  MenusTest() {
    Open->SetCaption(u"&Open");
    Open->SetShortCut(ShortCut('O', ssCtrl));
    Open->SetHint(u"Open|Opens a book");
    Line->SetCaption(u"-");
    Recent->SetCaption(u"&Recent");
    First->SetCaption(u"first.fb2");
    First->SetShortCut(ShortCut('1', ssCtrl));
    Recent->Add(First);
    Bold->SetCaption(u"Bold");
    Bold->SetChecked(true);
    Popup->Items()->Add(Open);
    Popup->Items()->Add(Line);
    Popup->Items()->Add(Recent);
    Popup->Items()->Add(Bold);
    for (TMenuItem* item : {Open, First, Bold})
      item->OnClick = [this](TObject* sender) { Clicked.push_back(static_cast<TMenuItem*>(sender)); };
  }
  ~MenusTest() override { Application->SetHint(u""); }

  // Shows the popup menu and runs `inside` while it is open.
  void PopupAnd(const std::function<void(QMenu& menu)>& inside) {
    QTimer::singleShot(0, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_NE(menu, nullptr);
      inside(*menu);
      if (menu->isVisible()) menu->close();
    });
    Popup->Popup(20, 30);
  }

  TForm Form{nullptr};
  TPopupMenu* Popup = CreateOwned<TPopupMenu>(Form);
  TMenuItem* Open = CreateOwned<TMenuItem>(Form);
  TMenuItem* Line = CreateOwned<TMenuItem>(Form);
  TMenuItem* Recent = CreateOwned<TMenuItem>(Form);
  TMenuItem* First = CreateOwned<TMenuItem>(Form);
  TMenuItem* Bold = CreateOwned<TMenuItem>(Form);
  std::vector<TMenuItem*> Clicked;
};

TEST_F(MenusTest, ItemsFormATreeThatDoesNotOwnThem) {
  EXPECT_EQ(Popup->Items()->Count(), 4);
  EXPECT_EQ(Popup->Items()->IndexOf(Recent), 2);
  EXPECT_EQ(First->Parent(), Recent);
  EXPECT_EQ(First->GetParentMenu(), Popup);
  EXPECT_TRUE(Line->IsLine());
  try {
    Popup->Items()->Add(First);
    FAIL();
  } catch (const EMenuError& e) {
    EXPECT_STREQ(e.what(), "Menu inserted twice");
  }
  try {
    Popup->Items()->Items(4);
    FAIL();
  } catch (const EMenuError& e) {
    EXPECT_STREQ(e.what(), "Menu index out of range");
  }
  Recent->Remove(First);
  EXPECT_EQ(First->Parent(), nullptr);
  EXPECT_EQ(First->GetParentMenu(), nullptr);
  Popup->Items()->Insert(0, First);
  EXPECT_EQ(Popup->Items()->Items(0), First);
  EXPECT_EQ(Popup->Items()->Count(), 5);
  // An item that goes leaves its menu.
  auto gone = std::make_unique<TMenuItem>(nullptr);
  Popup->Items()->Insert(1, gone.get());
  EXPECT_EQ(Popup->Items()->IndexOf(Recent), 4);
  gone.reset();
  EXPECT_EQ(Popup->Items()->Count(), 5);
  EXPECT_EQ(Popup->Items()->IndexOf(Recent), 3);
}

// The menu shows each caption with its shortcut's name after a tab, except on an item
// with sub-items; a separator, a checked item; and every later change of an item.
TEST_F(MenusTest, APopupMenuShowsItsItemsAndFollowsTheirChanges) {
  PopupAnd([&](QMenu& menu) {
    EXPECT_EQ(Texts(&menu), (std::vector<WideString>{u"&Open\tCtrl+O", u"", u"&Recent", u"Bold"}));
    const QList<QAction*> actions = menu.actions();
    ASSERT_NE(actions[2]->menu(), nullptr);
    EXPECT_EQ(Texts(actions[2]->menu()), std::vector<WideString>{u"first.fb2\tCtrl+1"});
    EXPECT_TRUE(actions[3]->isCheckable());
    EXPECT_TRUE(actions[3]->isChecked());
    EXPECT_TRUE(actions[0]->isEnabled());

    Open->SetEnabled(false);
    Open->SetCaption(u"&\u041e\u0442\u043a\u0440\u044b\u0442\u044c");
    Open->SetShortCut(ShortCut(VK_F1 + 2, ssShift));
    Bold->SetChecked(false);
    Bold->SetDefault(true);
    Recent->SetVisible(false);
    EXPECT_FALSE(actions[0]->isEnabled());
    EXPECT_EQ(FromQString(actions[0]->text()), u"&\u041e\u0442\u043a\u0440\u044b\u0442\u044c\tShift+F3");
    EXPECT_FALSE(actions[3]->isChecked());
    EXPECT_TRUE(actions[3]->font().bold());
    EXPECT_FALSE(actions[2]->isVisible());
  });
  // A new item, and an item made a separator, build the menu again.
  auto* added = CreateOwned<TMenuItem>(Form);
  added->SetCaption(u"Close");
  Popup->Items()->Add(added);
  Bold->SetCaption(u"-");
  EXPECT_EQ(Texts(Popup->Widget()), (std::vector<WideString>{u"&\u041e\u0442\u043a\u0440\u044b\u0442\u044c\tShift+F3",
                                                             u"", u"&Recent", u"", u"Close"}));
}

// Choosing an item clicks it once the menu has closed; a disabled item does nothing.
TEST_F(MenusTest, ChoosingAnItemClicksIt) {
  int popups = 0;
  Popup->OnPopup = [&](TObject*) { ++popups; };
  PopupAnd([&](QMenu& menu) { menu.actions()[2]->menu()->actions()[0]->trigger(); });
  PopupAnd([&](QMenu& menu) { menu.actions()[0]->trigger(); });
  EXPECT_EQ(Clicked, (std::vector<TMenuItem*>{First, Open}));
  EXPECT_EQ(popups, 2);
  Open->SetEnabled(false);
  Open->Click();
  EXPECT_EQ(Clicked.size(), 2u);
}

// The mouse on an item makes the long part of its hint the application's hint; on no item
// or once the menu closes it is empty.
TEST_F(MenusTest, TheItemUnderTheMouseGivesTheApplicationsHint) {
  PopupAnd([&](QMenu& menu) {
    menu.actions()[0]->hover();
    EXPECT_EQ(Application->Hint(), u"Opens a book");
    menu.setActiveAction(nullptr);
    emit menu.hovered(nullptr);
    EXPECT_EQ(Application->Hint(), u"");
    menu.actions()[0]->hover();
  });
  EXPECT_EQ(Application->Hint(), u"");
}

TEST_F(MenusTest, CheckingARadioItemUnchecksTheOthersOfItsGroup) {
  TMenuItem* items[4];
  for (TMenuItem*& item : items) {
    item = CreateOwned<TMenuItem>(Form);
    item->SetRadioItem(true);
    Recent->Add(item);
  }
  items[3]->SetGroupIndex(1);
  items[3]->SetChecked(true);
  items[0]->SetChecked(true);
  items[1]->SetChecked(true);
  EXPECT_FALSE(items[0]->Checked());
  EXPECT_TRUE(items[1]->Checked());
  EXPECT_TRUE(items[3]->Checked());  // another group
}

// A shortcut runs the enabled, visible item that has it; items inside a disabled one do
// not count.
TEST_F(MenusTest, ShortCutsFindTheirItem) {
  EXPECT_EQ(Popup->FindItemByShortCut(ShortCut('1', ssCtrl)), First);
  EXPECT_TRUE(Popup->IsShortCut('O', ssCtrl));
  EXPECT_FALSE(Popup->IsShortCut('O', 0));
  Recent->SetEnabled(false);
  EXPECT_EQ(Popup->FindItemByShortCut(ShortCut('1', ssCtrl)), nullptr);
  Open->SetVisible(false);
  EXPECT_FALSE(Popup->IsShortCut('O', ssCtrl));
  EXPECT_EQ(Clicked, std::vector<TMenuItem*>{Open});
}

// A right click on a control shows its popup menu; the menu's shortcuts work while the
// control has the focus, before the control sees the key.
TEST_F(MenusTest, AControlsPopupMenuShowsOnARightClickAndTakesItsShortCuts) {
  auto* edit = CreateOwned<TEdit>(Form);
  edit->SetParent(&Form);
  edit->SetPopupMenu(Popup);
  Form.SetActiveControl(edit);
  Form.Show();

  QTimer::singleShot(0, [] {
    if (QWidget* menu = QApplication::activePopupWidget()) menu->close();
  });
  QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(2, 2), QPoint(40, 50));
  QApplication::sendEvent(edit->Widget(), &rightClick);
  EXPECT_EQ(Popup->PopupComponent(), edit);

  QKeyEvent ctrlO(QEvent::KeyPress, Qt::Key_O, Qt::ControlModifier, "\x0f");
  QApplication::sendEvent(edit->Widget(), &ctrlO);
  EXPECT_EQ(Clicked, std::vector<TMenuItem*>{Open});
  QKeyEvent letter(QEvent::KeyPress, Qt::Key_O, Qt::NoModifier, "o");
  QApplication::sendEvent(edit->Widget(), &letter);
  EXPECT_EQ(Clicked.size(), 1u);
  EXPECT_EQ(FromQString(static_cast<QLineEdit*>(edit->Widget())->text()), u"o");
  Form.Hide();
}

// A menu bar across the top of a form: its top-level items show no shortcut names, the
// controls stand below it, and its shortcuts work anywhere in the form.
TEST(MainMenu, AFormShowsItsMenuBarAboveItsControls) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* menu = CreateOwned<TMainMenu>(form);
  auto* file = CreateOwned<TMenuItem>(form);
  file->SetCaption(u"&File");
  file->SetShortCut(ShortCut('F', ssAlt));
  auto* exit = CreateOwned<TMenuItem>(form);
  exit->SetCaption(u"E&xit");
  exit->SetShortCut(ShortCut('X', ssAlt));
  int exits = 0;
  exit->OnClick = [&](TObject*) { ++exits; };
  file->Add(exit);
  auto* help = CreateOwned<TMenuItem>(form);
  help->SetCaption(u"&Help");
  help->SetShortCut(ShortCut(VK_F1, 0));
  menu->Items()->Add(file);
  menu->Items()->Add(help);
  auto* edit = CreateOwned<TEdit>(form);
  edit->SetParent(&form);
  edit->SetBounds(10, 10, 100, 22);
  form.SetMenu(menu);
  EXPECT_EQ(form.ClientHeight(), 200);  // no bar before the form is shown
  form.Show();

  auto* bar = qobject_cast<QMenuBar*>(menu->Widget());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(Texts(bar), (std::vector<WideString>{u"&File", u"&Help"}));
  EXPECT_EQ(FromQString(bar->actions()[0]->menu()->actions()[0]->text()), u"E&xit\tAlt+X");
  const int32_t barHeight = menu->BarHeight();
  EXPECT_GT(barHeight, 0);
  EXPECT_EQ(bar->geometry(), QRect(0, 0, 300, barHeight));
  EXPECT_EQ(form.ClientHeight(), 200 - barHeight);
  EXPECT_EQ(edit->Top(), 10);
  EXPECT_EQ(edit->Widget()->y(), 10 + barHeight);

  edit->SetFocus();
  QKeyEvent altX(QEvent::KeyPress, Qt::Key_X, Qt::AltModifier);
  QApplication::sendEvent(edit->Widget(), &altX);
  EXPECT_EQ(exits, 1);

  // Without the bar the controls move up again, also when its menu goes.
  form.SetMenu(nullptr);
  EXPECT_EQ(edit->Widget()->y(), 10);
  EXPECT_EQ(form.ClientHeight(), 200);
  auto other = std::make_unique<TMainMenu>(nullptr);
  menu->Items()->Remove(help);
  other->Items()->Add(help);
  form.SetMenu(other.get());
  EXPECT_GT(edit->Widget()->y(), 10);
  other.reset();
  EXPECT_EQ(form.Menu(), nullptr);
  EXPECT_EQ(edit->Widget()->y(), 10);
  form.Hide();
}

// An action drives its menu items: caption (also when only the accelerator moved), hint,
// shortcut, checked and enabled state; a caption set by hand stays; clicking runs the
// action; a freed action leaves its items.
TEST(MenuActions, AnActionDrivesItsItems) {
  TForm form(nullptr);
  auto owned = std::make_unique<TAction>(nullptr);
  TAction* action = owned.get();
  action->SetCaption(u"E&xit");
  action->SetHint(u"Exit|Ends the program");
  action->SetShortCut(ShortCut('Q', ssCtrl));
  int executed = 0;
  action->OnExecute = [&](TObject*) { ++executed; };
  auto* item = CreateOwned<TMenuItem>(form);
  auto* other = CreateOwned<TMenuItem>(form);
  item->SetAction(action);
  other->SetAction(action);
  EXPECT_EQ(item->Caption(), u"E&xit");
  EXPECT_EQ(item->Hint(), u"Exit|Ends the program");
  EXPECT_EQ(item->ShortCut(), ShortCut('Q', ssCtrl));
  ASSERT_NE(dynamic_cast<TMenuActionLink*>(item->ActionLink()), nullptr);

  item->SetCaption(u"&Exit");  // the accelerator moved: still the action's caption
  other->SetCaption(u"Quit");  // set by hand
  action->SetCaption(u"&Beenden");
  EXPECT_EQ(item->Caption(), u"&Beenden");
  EXPECT_EQ(other->Caption(), u"Quit");
  action->SetChecked(true);
  action->SetEnabled(false);
  action->SetShortCut(ShortCut(VK_F1 + 3, ssAlt));
  EXPECT_TRUE(item->Checked());
  EXPECT_FALSE(item->Enabled());
  EXPECT_EQ(item->ShortCut(), ShortCut(VK_F1 + 3, ssAlt));
  action->SetEnabled(true);
  item->Click();
  EXPECT_EQ(executed, 1);

  owned.reset();
  EXPECT_EQ(item->Action(), nullptr);
  EXPECT_EQ(other->ActionLink(), nullptr);
}

}  // namespace
