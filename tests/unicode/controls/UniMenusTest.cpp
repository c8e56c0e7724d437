// UTF-16 menus: items a language controller translates while their menu is shown, the
// popup list that shows the hint of the item under the mouse, the UTF-16 action links of
// each kind of client, and a menu item in a window definition.
#include "unicode/controls/UniMenus.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>

#include "UniTestLang.h"
#include "l10n/LangController.h"
#include "platform/base/FilerTestSupport.h"
#include "platform/gui/QtText.h"
#include "unicode/controls/UniForms.h"

namespace {

struct TMenuWindow {
  TMenuWindow() {
    Form.SetName("MenuWindow");
    Menu->SetName("pmnBook");
    Open->SetName("mniOpen");
    Open->SetCaption(u"&Open");
    Open->SetHint(u"Open|Opens a book");
    Open->SetShortCut(ShortCut('O', ssCtrl));
    Recent->SetName("mniRecent");
    Recent->SetCaption(u"&Recent books");
    First->SetName("mniFirst");
    First->SetCaption(u"\u0416.fb2");
    First->SetShortCut(ShortCut('1', ssCtrl));
    Recent->Add(First);
    Menu->Items()->Add(Open);
    Menu->Items()->Add(Recent);
    Controller->SetName("dlcMenu");
  }
  TUniForm Form{nullptr};
  TPopupMenu* Menu = CreateOwned<TPopupMenu>(Form);
  TUniMenuItem* Open = CreateOwned<TUniMenuItem>(Form);
  TUniMenuItem* Recent = CreateOwned<TUniMenuItem>(Form);
  TUniMenuItem* First = CreateOwned<TUniMenuItem>(Form);
  TLanguageController* Controller = CreateOwned<TLanguageController>(Form);
};

// The texts a language file gives the items appear in the open menu at once, with their
// shortcut names; the built-in language brings the English texts back.
TEST(UniMenus, ALanguageFileTranslatesTheItemsOfAShownMenu) {
  TMenuWindow window;
  window.Controller->UpdateComponents(true);
  const auto idOf = [&](const TComponent* component, const char* path) {
    return ListedLangId(*window.Controller, component, path);
  };
  const QString text =
      QString(
          "LANGID=1049\r\n[MenuWindow]\r\n%1=&\u041e\u0442\u043a\u0440\u044b\u0442\u044c\r\n"
          "%2=\u041e\u0442\u043a\u0440\u044b\u0442\u044c|\u041e\u0442\u043a\u0440\u044b\u0432\u0430\u0435\u0442 "
          "\u043a\u043d\u0438\u0433\u0443\r\n%3=&\u041d\u0435\u0434\u0430\u0432\u043d\u0438\u0435\r\n")
          .arg(idOf(window.Open, "Caption"))
          .arg(idOf(window.Open, "Hint"))
          .arg(idOf(window.Recent, "Caption"));
  const auto folder = RegisterTestLangFile(text);

  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    LangManager().SetLanguageID(1049);
    const QList<QAction*> actions = menu->actions();
    EXPECT_EQ(FromQString(actions[0]->text()), u"&\u041e\u0442\u043a\u0440\u044b\u0442\u044c\tCtrl+O");
    EXPECT_EQ(FromQString(actions[1]->text()), u"&\u041d\u0435\u0434\u0430\u0432\u043d\u0438\u0435");
    EXPECT_EQ(FromQString(actions[1]->menu()->actions()[0]->text()), u"\u0416.fb2\tCtrl+1");
    // The popup list shows the translated long hint of the item under the mouse.
    actions[0]->hover();
    EXPECT_EQ(Application->Hint(),
              u"\u041e\u0442\u043a\u0440\u044b\u0432\u0430\u0435\u0442 \u043a\u043d\u0438\u0433\u0443");
    LangManager().SetLanguageID(1033);
    EXPECT_EQ(FromQString(actions[0]->text()), u"&Open\tCtrl+O");
    menu->close();
  });
  window.Menu->Popup(10, 10);
  EXPECT_EQ(window.Open->Hint(), u"Open|Opens a book");
  EXPECT_EQ(Application->Hint(), u"");
}

TEST(UniMenus, SetupInstallsTheUnicodePopupList) { EXPECT_EQ(&PopupList(), &UniPopupList()); }

// Each UTF-16 client gets the UTF-16 link of its kind; a checkable button follows the
// action's checked state, a menu item its caption, shortcut and checked state.
TEST(UniMenus, EachClientTakesTheUnicodeLinkOfItsKind) {
  TUniForm form(nullptr);
  auto* action = CreateOwned<TUniAction>(form);
  action->SetCaption(u"&\u0421\u0442\u0430\u0440\u0442");
  auto* button = CreateOwned<TUniButton>(form);
  auto* radio = CreateOwned<TUniRadioButton>(form);
  auto* edit = CreateOwned<TUniEdit>(form);
  auto* label = CreateOwned<TUniLabel>(form);
  auto* item = CreateOwned<TUniMenuItem>(form);
  for (TControl* control : std::initializer_list<TControl*>{button, radio, edit, label, &form})
    control->SetAction(action);
  item->SetAction(action);
  EXPECT_NE(dynamic_cast<TUniButtonActionLink*>(button->ActionLink()), nullptr);
  EXPECT_NE(dynamic_cast<TUniButtonActionLink*>(radio->ActionLink()), nullptr);
  EXPECT_NE(dynamic_cast<TUniWinControlActionLink*>(edit->ActionLink()), nullptr);
  EXPECT_NE(dynamic_cast<TUniWinControlActionLink*>(form.ActionLink()), nullptr);
  EXPECT_EQ(dynamic_cast<TUniWinControlActionLink*>(label->ActionLink()), nullptr);
  EXPECT_NE(dynamic_cast<TUniControlActionLink*>(label->ActionLink()), nullptr);
  EXPECT_NE(dynamic_cast<TUniMenuActionLink*>(item->ActionLink()), nullptr);

  action->SetChecked(true);
  action->SetShortCut(ShortCut('S', ssCtrl));
  action->SetCaption(u"&\u0421\u0442\u043e\u043f");
  EXPECT_TRUE(radio->Checked());
  EXPECT_TRUE(item->Checked());
  EXPECT_EQ(item->ShortCut(), ShortCut('S', ssCtrl));
  EXPECT_EQ(item->MenuText(), u"&\u0421\u0442\u043e\u043f\tCtrl+S");
  EXPECT_EQ(button->Caption(), u"&\u0421\u0442\u043e\u043f");
  EXPECT_EQ(label->Caption(), u"&\u0421\u0442\u043e\u043f");
  for (TControl* control : std::initializer_list<TControl*>{button, radio, edit, label, &form})
    control->SetAction(nullptr);
}

// A menu item's UTF-16 caption, hint and shortcut go into the window definition and come
// back; a caption its action supplies is left out.
TEST(UniMenus, AnItemReadsBackFromTheWindowDefinition) {
  TMenuWindow source;
  source.Open->SetCaption(u"&\u041e\u0442\u043a\u0440\u044b\u0442\u044c \U0001F4D6");
  source.First->SetChecked(true);
  const std::vector<uint8_t> bytes = WriteDefinition(source.Form);
  TMenuWindow target;
  ReadDefinition(target.Form, bytes);
  EXPECT_EQ(target.Open->Caption(), u"&\u041e\u0442\u043a\u0440\u044b\u0442\u044c \U0001F4D6");
  EXPECT_EQ(target.Open->Hint(), u"Open|Opens a book");
  EXPECT_EQ(target.Open->ShortCut(), ShortCut('O', ssCtrl));
  EXPECT_TRUE(target.First->Checked());
  EXPECT_EQ(WriteDefinition(target.Form), bytes);
}

}  // namespace
