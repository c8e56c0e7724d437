#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QPushButton>

#include "platform/base/Exception.h"
#include "platform/gui/QtText.h"
#include "unicode/UniRuntimeSetup.h"
#include "unicode/UniSysUtils.h"
#include "unicode/controls/UniControls.h"
#include "unicode/controls/UniForms.h"

namespace {

struct TShownBox {
  WideString Text, Caption;
  uint32_t Flags = 0;
  int Count = 0;
};

class UniApplicationTest : public testing::Test {
protected:
  UniApplicationTest() {
    Application->SetTitle(u"Quirefold \u0411\u0430\u0442\u0447");
    Application->MessageBoxHook = [this](const WideString& text, const WideString& caption, uint32_t flags) {
      Box = {text, caption, flags, Box.Count + 1};
      return mrOk;
    };
  }
  ~UniApplicationTest() override { Application->MessageBoxHook = nullptr; }
  TShownBox Box;
};

TEST_F(UniApplicationTest, ExceptionsAreShownWithExactlyOneFullStop) {
  struct Case {
    std::function<void()> Raise;
    const char16_t* Shown;
  };
  const Case cases[] = {
      {[] {
         throw WideException(u"\u0424\u0430\u0439\u043b \U0001F4D6 \u043d\u0435 \u043d\u0430\u0439\u0434\u0435\u043d");
       },
       u"\u0424\u0430\u0439\u043b \U0001F4D6 \u043d\u0435 \u043d\u0430\u0439\u0434\u0435\u043d."},
      {[] { throw EConvertError("Done."); }, u"Done."},
      {[] { throw EConvertError("Stream read error"); }, u"Stream read error."},
  };
  for (const Case& c : cases) {
    Application->Guard(c.Raise);
    EXPECT_EQ(Box.Text, c.Shown);
    EXPECT_EQ(Box.Caption, u"Quirefold \u0411\u0430\u0442\u0447");
    EXPECT_EQ(Box.Flags, MB_OK | MB_ICONSTOP);
  }
  EXPECT_EQ(Box.Count, 3);
}

TEST_F(UniApplicationTest, AnExceptionFromAClickDuringStartUpReachesTheDisplay) {
  TUniForm form(nullptr);
  auto* button = CreateOwned<TUniButton>(form);
  button->SetParent(&form);
  button->OnClick = [](TObject*) { throw WideException(u"\u0421\u0431\u043e\u0439"); };
  form.HandleNeeded();
  static_cast<QPushButton*>(button->Widget())->click();
  EXPECT_EQ(Box.Text, u"\u0421\u0431\u043e\u0439.");
}

TEST_F(UniApplicationTest, TheRuntimesExceptionDisplayUsesTheApplicationsBox) {
  ShowUnicodeException(WideException(u"\u041e\u0439"));
  EXPECT_EQ(Box.Text, u"\u041e\u0439.");
  EXPECT_EQ(Box.Flags, MB_OK | MB_ICONSTOP);
}

TEST(UnicodeEnvironment, TheDefaultDialogFontIsAnInstalledFace) {
  // "Tahoma" is not among the project's fonts; the classic dialog font resolves to the
  // default face, and nothing is written anywhere.
  EXPECT_EQ(SetupFontSubstitutes(), u"Liberation Sans");
  EXPECT_EQ(QFontInfo(QApplication::font()).family(), "Liberation Sans");
}

}  // namespace
