#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

#include "platform/gui/QtText.h"
#include "unicode/UniSysUtils.h"
#include "unicode/controls/UniDialogs.h"
#include "unicode/controls/UniWindowsShell.h"

namespace {

TMsgDlgButtons Set(std::initializer_list<TMsgDlgBtn> buttons) {
  TMsgDlgButtons set = 0;
  for (TMsgDlgBtn b : buttons) set |= MsgDlgButton(b);
  return set;
}

TButton* ButtonNamed(const TUniMessageForm& form, const char* name) {
  return dynamic_cast<TButton*>(form.FindComponent(name));
}

TEST(MessageDialog, DefaultAndCancelButtonsFollowTheirPreferenceOrder) {
  struct Case {
    std::initializer_list<TMsgDlgBtn> Buttons;
    const char* Default;
    const char* Cancel;
  };
  const Case cases[] = {
      {{mbYes, mbNo, mbCancel, mbNoToAll, mbYesToAll}, "Yes", "Cancel"},
      {{mbOK, mbCancel}, "OK", "Cancel"},
      {{mbYes, mbNo}, "Yes", "No"},
      {{mbAbort, mbRetry, mbIgnore}, "Retry", nullptr},  // the cancel button would be OK
      {{mbOK}, "OK", "OK"},
  };
  for (const Case& c : cases) {
    const auto form = WideCreateMessageDialog(u"?", mtConfirmation, Set(c.Buttons));
    std::vector<AnsiString> defaults, cancels;
    for (int32_t i = 0; i < form->ControlCount(); ++i)
      if (auto* button = dynamic_cast<TButton*>(form->Controls(i))) {
        if (button->Default()) defaults.push_back(button->Name());
        if (button->Cancel()) cancels.push_back(button->Name());
      }
    SCOPED_TRACE(c.Default);
    EXPECT_EQ(defaults, std::vector<AnsiString>{c.Default});
    EXPECT_EQ(cancels, c.Cancel ? std::vector<AnsiString>{c.Cancel} : std::vector<AnsiString>{});
    EXPECT_EQ(form->ActiveControl(), ButtonNamed(*form, c.Default));
  }
}

TEST(MessageDialog, ButtonsStandInTheirFixedOrderWithNamesCaptionsAndResults) {
  const TMsgDlgButtons all =
      Set({mbHelp, mbYesToAll, mbNoToAll, mbAll, mbIgnore, mbRetry, mbAbort, mbCancel, mbOK, mbNo, mbYes});
  const auto form = WideCreateMessageDialog(u"All of them", mtCustom, all);
  struct Expected {
    const char* Name;
    const char16_t* Caption;
    TModalResult Result;
  };
  const Expected expected[] = {
      {"Yes", u"&Yes", mrYes},
      {"No", u"&No", mrNo},
      {"OK", u"OK", mrOk},
      {"Cancel", u"Cancel", mrCancel},
      {"Abort", u"&Abort", mrAbort},
      {"Retry", u"&Retry", mrRetry},
      {"Ignore", u"&Ignore", mrIgnore},
      {"All", u"&All", mrAll},
      {"NoToAll", u"N&o to All", mrNoToAll},
      {"YesToAll", u"Yes to &All", mrYesToAll},
      {"Help", u"&Help", mrNone},
  };
  std::vector<TButton*> buttons;
  for (int32_t i = 0; i < form->ControlCount(); ++i)
    if (auto* button = dynamic_cast<TButton*>(form->Controls(i))) buttons.push_back(button);
  ASSERT_EQ(buttons.size(), std::size(expected));
  for (size_t i = 0; i < buttons.size(); ++i) {
    SCOPED_TRACE(expected[i].Name);
    EXPECT_EQ(buttons[i]->Name(), expected[i].Name);
    EXPECT_EQ(buttons[i]->Caption(), expected[i].Caption);
    EXPECT_EQ(buttons[i]->ModalResult(), expected[i].Result);
    // One row of equal buttons, evenly spaced from left to right.
    EXPECT_EQ(buttons[i]->Top(), buttons[0]->Top());
    EXPECT_EQ(buttons[i]->Width(), buttons[0]->Width());
    if (i > 1) {
      EXPECT_EQ(buttons[i]->Left() - buttons[i - 1]->Left(), buttons[1]->Left() - buttons[0]->Left());
    }
  }
  // The custom type has no icon and the application's title as caption.
  EXPECT_EQ(form->FindComponent("Image"), nullptr);
  EXPECT_EQ(form->Caption(), Application->Title());
  // The row is centred.
  const int32_t leftGap = buttons.front()->Left();
  const int32_t rightGap = form->ClientWidth() - buttons.back()->Left() - buttons.back()->Width();
  EXPECT_LE(std::abs(leftGap - rightGap), 1);
}

TEST(MessageDialog, IconAndMessageStandSideBySideAboveTheButtons) {
  const auto form = WideCreateMessageDialog(
      u"\u0424\u0430\u0439\u043b \u00ab\U0001F4D6\u00bb \u0443\u0436\u0435 \u0435\u0441\u0442\u044c", mtWarning,
      Set({mbOK}));
  EXPECT_EQ(form->Caption(), u"Warning");
  auto* image = dynamic_cast<TImage*>(form->FindComponent("Image"));
  auto* message = dynamic_cast<TLabel*>(form->FindComponent("Message"));
  ASSERT_NE(image, nullptr);
  ASSERT_NE(message, nullptr);
  EXPECT_EQ(image->Icon(), siWarning);
  EXPECT_EQ(image->Width(), 32);
  EXPECT_EQ(image->Height(), 32);
  EXPECT_EQ(message->Caption(),
            u"\u0424\u0430\u0439\u043b \u00ab\U0001F4D6\u00bb \u0443\u0436\u0435 \u0435\u0441\u0442\u044c");
  EXPECT_GT(message->Left(), image->Left() + 32);  // the horizontal spacing lies between
  EXPECT_EQ(message->Top(), image->Top());         // both at the vertical margin
  EXPECT_EQ(image->Left(), form->ClientWidth() - message->Left() - message->Width());  // margins match
  auto* ok = ButtonNamed(*form, "OK");
  EXPECT_GT(ok->Top(), message->Top() + std::max(32, message->Height()));
  EXPECT_GT(form->ClientHeight(), ok->Top() + ok->Height());
}

TEST(MessageDialog, CaptionsOfTheTypesAndInternalErrors) {
  EXPECT_EQ(GetMessageCaption(mtError), u"Error");
  EXPECT_EQ(GetMessageCaption(mtInformation), u"Information");
  EXPECT_EQ(GetMessageCaption(mtConfirmation), u"Confirm");
  try {
    GetMessageCaption(static_cast<TMsgDlgType>(9));
    FAIL();
  } catch (const EUniInternalError& e) {
    EXPECT_STREQ(e.what(), "Unexpected MsgType in GetMessageCaption.");
  }
  try {
    GetButtonCaption(static_cast<TMsgDlgBtn>(11));
    FAIL();
  } catch (const EUniInternalError& e) {
    EXPECT_STREQ(e.what(), "Unexpected MsgDlgBtn in GetButtonCaption.");
  }
}

class MessageDialogResults : public testing::Test {
protected:
  ~MessageDialogResults() override { MessageDialogShowHook = nullptr; }
  // Shows the dialog and does `answer` on it once it runs modally.
  int32_t Answer(TMsgDlgButtons buttons, const std::function<void(TUniMessageForm&)>& answer) {
    MessageDialogShowHook = [&](TUniMessageForm& form) { QTimer::singleShot(0, [&] { answer(form); }); };
    return WideMessageDlg(u"Override \u00ab\u0416.wol\u00bb?", mtConfirmation, buttons, 0);
  }
};

TEST_F(MessageDialogResults, ClicksEnterAndEscGiveTheButtonsResults) {
  const TMsgDlgButtons buttons = Set({mbYes, mbNo, mbCancel, mbNoToAll, mbYesToAll});
  EXPECT_EQ(Answer(buttons, [](TUniMessageForm& f) { ButtonNamed(f, "NoToAll")->Click(); }), mrNoToAll);
  EXPECT_EQ(Answer(buttons, [](TUniMessageForm& f) { f.HandleKey(VK_RETURN, 0); }), mrYes);
  EXPECT_EQ(Answer(buttons, [](TUniMessageForm& f) { f.HandleKey(VK_ESCAPE, 0); }), mrCancel);
  EXPECT_EQ(Answer(Set({mbYes, mbNo}), [](TUniMessageForm& f) { f.HandleKey(VK_ESCAPE, 0); }), mrNo);
}

TEST_F(MessageDialogResults, CtrlCCopiesTheCaptionMessageAndButtonsWithoutAccelerators) {
  const TMsgDlgButtons buttons = Set({mbYes, mbNo, mbCancel, mbNoToAll, mbYesToAll});
  WideString formText;
  EXPECT_EQ(Answer(buttons,
                   [&](TUniMessageForm& f) {
                     EXPECT_TRUE(f.HandleKey('C', ssCtrl));
                     formText = f.GetFormText();
                     f.HandleKey(VK_ESCAPE, 0);
                   }),
            mrCancel);
  const WideString line = u"---------------------------\r\n";
  const WideString expected = line + u"Confirm\r\n" + line + u"Override \u00ab\u0416.wol\u00bb?\r\n" + line +
                              u"Yes   No   Cancel   No to All   Yes to All   \r\n" + line;
  EXPECT_EQ(formText, expected);
  EXPECT_EQ(UniClipboard().AsText(), expected);
}

}  // namespace

namespace {

// Answers the next modal file dialog once it runs.
void AnswerFileDialog(bool accept, QString* shownDirectory = nullptr) {
  QTimer::singleShot(0, [=] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    if (shownDirectory) *shownDirectory = dialog->directory().absolutePath();
    if (accept)
      static_cast<QDialog*>(dialog)->accept();
    else
      dialog->reject();
  });
}

TEST(FolderDialog, AVanishedDirectoryIsEmptiedAndAnExistingOneComesBack) {
  QTemporaryDir root;
  ASSERT_TRUE(QDir(root.path()).mkdir("\u041a\u043d\u0438\u0433\u0438"));
  const WideString books = FromQString(QDir(root.path()).filePath("\u041a\u043d\u0438\u0433\u0438"));

  WideString directory = books + u"/gone";
  AnswerFileDialog(false);
  EXPECT_FALSE(WideSelectDirectory(u"\u041f\u0430\u043f\u043a\u0430", u"", directory));
  EXPECT_TRUE(directory.empty());

  directory = books;
  QString shown;
  AnswerFileDialog(true, &shown);
  EXPECT_TRUE(WideSelectDirectory(u"\u041f\u0430\u043f\u043a\u0430", u"", directory));
  EXPECT_EQ(FromQString(shown), books);  // preselected
  EXPECT_EQ(directory, books);
}

TEST(ShellWrappers, PathsCopyOnlyWhenTheyFitAndWindowTextsAreUtf16) {
  const TItemIdList list{u"/tmp/\u041a"};
  WideChar buffer[8] = {u'x'};
  EXPECT_TRUE(WideSHGetPathFromIDList(&list, buffer, 8));
  EXPECT_EQ(WideString(buffer), u"/tmp/\u041a");
  EXPECT_FALSE(WideSHGetPathFromIDList(&list, buffer, 6));  // 6 characters need 7
  EXPECT_EQ(buffer[0], 0);
  EXPECT_FALSE(WideSHGetPathFromIDList(nullptr, buffer, 8));

  TUniLabel label(nullptr);
  EXPECT_TRUE(WideSetWindowText(&label, u"\U0001F4D6"));
  EXPECT_EQ(label.Caption(), u"\U0001F4D6");
  EXPECT_FALSE(WideSetWindowText(nullptr, u"x"));
}

}  // namespace
