#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>

#include "platform/base/Exception.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtText.h"

namespace {

class ActionsTest : public testing::Test {
protected:
  ActionsTest() {
    Action = CreateOwned<TAction>(Form);
    Action->SetCaption(u"&Convert");
    Action->SetHint(u"Convert|Converts the books");
    Button = CreateOwned<TButton>(Form);
    Button->SetParent(&Form);
    Button->SetAction(Action);
  }

  TForm Form{nullptr};
  TAction* Action;
  TButton* Button;
};

TEST_F(ActionsTest, ALinkedButtonTakesTheActionsNewCaptionOutsideTheCodePage) {
  EXPECT_EQ(Button->Caption(), u"&Convert");
  EXPECT_EQ(Button->Hint(), u"Convert|Converts the books");
  Form.HandleNeeded();
  Action->SetCaption(u"\u041a\u043e\u043d\u0432\u0435\u0440\u0442\u0438\u0440\u043e\u0432\u0430\u0442\u044c \u4e2d");
  EXPECT_EQ(FromQString(static_cast<QPushButton*>(Button->Widget())->text()),
            u"\u041a\u043e\u043d\u0432\u0435\u0440\u0442\u0438\u0440\u043e\u0432\u0430\u0442\u044c \u4e2d");
  Action->SetHint(u"\u0425|\u0425\u0425");
  EXPECT_EQ(Button->Hint(), u"\u0425|\u0425\u0425");
}

TEST_F(ActionsTest, ACaptionSetByHandIsNotOverwritten) {
  Button->SetCaption(u"Mine");
  Action->SetCaption(u"Theirs");
  EXPECT_EQ(Button->Caption(), u"Mine");
  Action->SetEnabled(false);
  EXPECT_FALSE(Button->Enabled());
}

TEST_F(ActionsTest, ClickRunsTheActionAndTheListMayHandleItFirst) {
  int executed = 0;
  Action->OnExecute = [&](TObject* sender) {
    EXPECT_EQ(sender, Action);
    ++executed;
  };
  Form.HandleNeeded();
  static_cast<QPushButton*>(Button->Widget())->click();
  EXPECT_EQ(executed, 1);

  auto* list = CreateOwned<TActionList>(Form);
  Action->SetActionList(list);
  list->OnExecute = [](TBasicAction*, bool& handled) { handled = true; };
  Button->Click();
  EXPECT_EQ(executed, 1);
}

TEST_F(ActionsTest, TheIdlePassAndAnExplicitPassUpdateVisibleFormsOnly) {
  int updates = 0;
  Action->OnUpdate = [&](TObject*) {
    ++updates;
    Action->SetEnabled(false);
  };
  Application->UpdateActions();
  EXPECT_EQ(updates, 0);  // the form is not shown

  Form.SetBounds(0, 0, 100, 50);
  Form.Show();
  updates = 0;
  Application->UpdateActions();
  EXPECT_EQ(updates, 1);
  EXPECT_FALSE(Button->Enabled());

  // Idle: the event loop runs the pass when it is about to wait.
  updates = 0;
  QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  EXPECT_GE(updates, 1);
  Form.Hide();
}

TEST_F(ActionsTest, AFreedActionLeavesItsControlsWithoutAction) {
  delete Action;  // NOLINT: a component freed by hand leaves its owner
  EXPECT_EQ(Button->Action(), nullptr);
  Button->Click();
}

TEST_F(ActionsTest, AnExceptionFromAHandlerReachesTheApplication) {
  Action->OnExecute = [](TObject*) { throw EConvertError("Bad value"); };
  AnsiString seen;
  Application->OnException = [&](const std::exception& e) { seen = e.what(); };
  Form.HandleNeeded();
  static_cast<QPushButton*>(Button->Widget())->click();
  Application->OnException = nullptr;
  EXPECT_EQ(seen, "Bad value");
}

}  // namespace

namespace {

TEST(ApplicationExceptions, WithoutAHandlerTheMessageIsShownInABox) {
  WideString text, caption;
  uint32_t flags = 0;
  Application->SetTitle(u"\u0422\u0435\u0441\u0442");
  Application->MessageBoxHook = [&](const WideString& t, const WideString& c, uint32_t f) {
    text = t;
    caption = c;
    flags = f;
    return mrOk;
  };
  Application->Guard([] { throw EConvertError("Bad value \xc6"); });  // 8-bit, code page 1251
  Application->MessageBoxHook = nullptr;
  EXPECT_EQ(text, u"Bad value \u0416");
  EXPECT_EQ(caption, u"\u0422\u0435\u0441\u0442");
  EXPECT_EQ(flags, MB_OK | MB_ICONSTOP);
}

}  // namespace
