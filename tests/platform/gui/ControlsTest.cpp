#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolTip>

#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtText.h"

namespace {

TEST(Hints, SplitAtTheFirstBar) {
  struct Case {
    const char16_t* Hint;
    const char16_t* Short;
    const char16_t* Long;
  };
  const Case cases[] = {
      {u"Open|Opens a book", u"Open", u"Opens a book"},
      {u"Plain", u"Plain", u"Plain"},
      {u"|only long", u"", u"only long"},
      {u"a|b|c", u"a", u"b|c"},
      {u"", u"", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(FromQString(QString::fromUtf16(c.Hint)).size());
    EXPECT_EQ(GetShortHint(c.Hint), c.Short);
    EXPECT_EQ(GetLongHint(c.Hint), c.Long);
  }
}

class ControlsTest : public testing::Test {
protected:
  TForm Form{nullptr};
};

TEST_F(ControlsTest, HintOfChainTakesTheFirstNonEmptyHintUpwards) {
  auto* box = CreateOwned<TGroupBox>(Form);
  box->SetParent(&Form);
  auto* label = CreateOwned<TLabel>(Form);
  label->SetParent(box);
  Form.SetHint(u"Form|the form");
  EXPECT_EQ(label->HintOfChain(), u"Form|the form");
  box->SetHint(u"Box|the box");
  EXPECT_EQ(label->HintOfChain(), u"Box|the box");
  label->SetHint(u"Label");
  EXPECT_EQ(label->HintOfChain(), u"Label");
}

TEST_F(ControlsTest, CaptionExistsBeforeTheWidgetAndSurvivesItsRecreation) {
  // Cyrillic, and a character beyond the BMP (U+1F4D6, a surrogate pair).
  const WideString caption = u"\u041a\u043d\u0438\u0433\u0430 \U0001F4D6";
  auto* button = CreateOwned<TButton>(Form);
  button->SetCaption(caption);
  button->SetParent(&Form);
  EXPECT_FALSE(button->HandleAllocated());
  EXPECT_EQ(button->Caption(), caption);

  Form.HandleNeeded();
  ASSERT_TRUE(button->HandleAllocated());
  EXPECT_EQ(FromQString(static_cast<QPushButton*>(button->Widget())->text()), caption);

  button->RecreateWnd();
  ASSERT_TRUE(button->HandleAllocated());
  EXPECT_EQ(FromQString(static_cast<QPushButton*>(button->Widget())->text()), caption);

  button->SetCaption(u"\u0414\u0430");
  EXPECT_EQ(FromQString(static_cast<QPushButton*>(button->Widget())->text()), u"\u0414\u0430");
}

TEST_F(ControlsTest, TooltipShowsTheShortHintAndTheApplicationTheLongOne) {
  auto* label = CreateOwned<TLabel>(Form);
  label->SetParent(&Form);
  label->SetBounds(0, 0, 80, 20);
  label->SetHint(u"\u0424\u0430\u0439\u043b|\u0412\u044b\u0431\u0440\u0430\u0442\u044c \U0001D11E");
  Form.SetBounds(0, 0, 200, 100);
  Form.Show();

  QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), label->Widget()->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(label->Widget(), &help);
  EXPECT_EQ(FromQString(QToolTip::text()), u"\u0424\u0430\u0439\u043b");

  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(label->Widget(), &enter);
  EXPECT_EQ(Application->Hint(), u"\u0412\u044b\u0431\u0440\u0430\u0442\u044c \U0001D11E");
  QToolTip::hideText();
  Form.Hide();
}

TEST_F(ControlsTest, CaptionIsStoredOnlyWhenNoActionSuppliesIt) {
  auto* action = CreateOwned<TAction>(Form);
  action->SetCaption(u"&Start");
  auto* button = CreateOwned<TButton>(Form);
  const TPropInfo* caption = FindPublishedProp(*button, "Caption");
  ASSERT_NE(caption, nullptr);
  button->SetCaption(u"Own");
  EXPECT_TRUE(caption->IsStored(*button));
  button->SetAction(action);
  EXPECT_EQ(button->Caption(), u"&Start");
  EXPECT_FALSE(caption->IsStored(*button));
  button->SetCaption(u"Changed by hand");
  EXPECT_TRUE(caption->IsStored(*button));
}

TEST_F(ControlsTest, PublishedPropertiesListTheRootClassFirst) {
  TButton button(nullptr);
  std::vector<AnsiString> names;
  for (const TPropInfo* info : PublishedPropList(button)) names.push_back(info->Name);
  const std::vector<AnsiString> expected{"Left",    "Top",     "Width",   "Height", "Enabled", "Hint",       "ShowHint",
                                         "Visible", "OnClick", "Caption", "Cancel", "Default", "ModalResult"};
  EXPECT_EQ(names, expected);
  EXPECT_EQ(FindPublishedProp(button, "modalresult")->Default, 0);
}

}  // namespace
