// A window built in code, its definition written and read back through the property
// registry, and a language file applied to it by its language controller.
#include <gtest/gtest.h>

#include <QPushButton>

#include "UniTestLang.h"
#include "l10n/LangController.h"
#include "platform/base/Filer.h"
#include "platform/base/FilerTestSupport.h"
#include "platform/gui/QtText.h"
#include "unicode/controls/UniActnList.h"
#include "unicode/controls/UniDialogs.h"

namespace {

struct TMainWindow {
  TMainWindow() {
    Form.SetName("MainWindow");
    Form.SetCaption(u"Quirefold Batch");
    Action->SetName("actStart");
    Action->SetCaption(u"&Start");
    Action->SetHint(u"Start|Converts the books");
    Title->SetName("lblTitle");
    Title->SetCaption(u"Books:");
    Title->SetParent(&Form);
    Start->SetName("btnStart");
    Start->SetParent(&Form);
    Start->SetAction(Action);
    Directory->SetName("edtDir");
    Directory->SetParent(&Form);
    Files->SetName("lbxFiles");
    Files->SetParent(&Form);
    Open->SetName("OpenDlg");
    Controller->SetName("dlcMain");
  }
  TUniForm Form{nullptr};
  TUniAction* Action = CreateOwned<TUniAction>(Form);
  TUniLabel* Title = CreateOwned<TUniLabel>(Form);
  TUniButton* Start = CreateOwned<TUniButton>(Form);
  TUniEdit* Directory = CreateOwned<TUniEdit>(Form);
  TUniListBox* Files = CreateOwned<TUniListBox>(Form);
  TUniOpenDialogEx* Open = CreateOwned<TUniOpenDialogEx>(Form);
  TLanguageController* Controller = CreateOwned<TLanguageController>(Form);
};

TEST(FormStreaming, AFormsDefinitionReadsBackByteForByte) {
  TMainWindow source;
  source.Form.SetBounds(10, 20, 400, 300);
  source.Title->SetCaption(u"\u041a\u043d\u0438\u0433\u0438 \U0001F4D6:");
  source.Title->SetHint(u"\u0421\u043f\u0438\u0441\u043e\u043a|\u0412\u0441\u0435 \u043a\u043d\u0438\u0433\u0438");
  source.Directory->SetPasswordChar(u'\u25CF');
  source.Files->Items()->SetText(u"\u0416.fb2\r\n\u4e2d.zip\r\n");
  source.Open->SetOKText(u"&\u041e\u0442\u043a\u0440\u044b\u0442\u044c");
  const std::vector<uint8_t> bytes = WriteDefinition(source.Form);

  TMainWindow target;
  ReadDefinition(target.Form, bytes);
  EXPECT_EQ(target.Form.Left(), 10);
  EXPECT_EQ(target.Form.Width(), 400);
  EXPECT_EQ(target.Title->Caption(), u"\u041a\u043d\u0438\u0433\u0438 \U0001F4D6:");
  EXPECT_EQ(target.Title->Hint(), source.Title->Hint());
  EXPECT_EQ(target.Directory->PasswordChar(), u'\u25CF');
  EXPECT_EQ(target.Files->Items()->Text(), u"\u0416.fb2\r\n\u4e2d.zip\r\n");
  EXPECT_EQ(target.Open->OKText(), u"&\u041e\u0442\u043a\u0440\u044b\u0442\u044c");
  EXPECT_EQ(target.Start->Caption(), u"&Start");
  EXPECT_EQ(WriteDefinition(target.Form), bytes);
  // Captions of the form, the label and the action; the button's comes from its action,
  // so its definition does not hold it.
  const std::string text(bytes.begin(), bytes.end());
  int captions = 0;
  for (size_t at = text.find("\x07"
                             "Caption");
       at != std::string::npos; at = text.find("\x07"
                                               "Caption",
                                               at + 1))
    ++captions;
  EXPECT_EQ(captions, 3);
}

TEST(FormStreaming, ALanguageFileTranslatesTheFormAndTheDefaultRestoresIt) {
  TMainWindow window;
  window.Controller->IgnoreList().Add(".Caption");
  window.Controller->UpdateComponents(true);
  auto idOf = [&](const TComponent* component, const char* path) {
    return ListedLangId(*window.Controller, component, path);
  };
  const QString text = QString(
                           "LANGID=1049\r\n[MainWindow]\r\n%1=&\u0421\u0442\u0430\u0440\u0442\r\n"
                           "%2=\u041a\u043d\u0438\u0433\u0438:\r\n%3=\u041e\u0442\u043a\u0440\u044b\u0442\u044c\r\n")
                           .arg(idOf(window.Action, "Caption"))
                           .arg(idOf(window.Title, "Caption"))
                           .arg(idOf(window.Open, "OKText"));
  const auto folder = RegisterTestLangFile(text);

  window.Form.HandleNeeded();
  LangManager().SetLanguageID(1049);
  EXPECT_EQ(window.Title->Caption(), u"\u041a\u043d\u0438\u0433\u0438:");
  EXPECT_EQ(window.Action->Caption(), u"&\u0421\u0442\u0430\u0440\u0442");
  // The button follows its action, on the screen too.
  EXPECT_EQ(FromQString(static_cast<QPushButton*>(window.Start->Widget())->text()), u"&\u0421\u0442\u0430\u0440\u0442");
  EXPECT_EQ(window.Open->OKText(), u"\u041e\u0442\u043a\u0440\u044b\u0442\u044c");
  EXPECT_EQ(window.Form.Caption(), u"Quirefold Batch");  // ignored

  LangManager().SetLanguageID(1033);
  EXPECT_EQ(window.Title->Caption(), u"Books:");
  EXPECT_EQ(window.Start->Caption(), u"&Start");
  EXPECT_EQ(window.Open->OKText(), u"&Open");
}

}  // namespace
