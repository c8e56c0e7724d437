// Screenshots of the dialogs on a real (virtual) X display: each is saved as a PNG beside
// the test and checked for its size and for drawn text. Skipped on other platforms.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cstdlib>

#include "unicode/controls/ScreenGrab.h"
#include "unicode/controls/UniDialogs.h"

namespace {

class Screenshot : public testing::Test {
protected:
  void SetUp() override {
    if (QGuiApplication::platformName() != "xcb")
      GTEST_FAIL() << "screenshots need an X display: run the Screenshots test entry, which starts one";
  }
  ~Screenshot() override { MessageDialogShowHook = nullptr; }

  static QImage Grab(QWidget& window, const char* name) { return GrabScreenshot(window, name); }

  // Pixels in the rectangle clearly darker than the dialog's background: drawn text.
  static int DarkPixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        if (qGray(image.pixel(x, y)) < 100) ++count;
    return count;
  }
};

TEST_F(Screenshot, MessageDialog) {
  QImage image;
  QRect message, button;
  int32_t width = 0, height = 0;
  QRgb background = 0;
  MessageDialogShowHook = [&](TUniMessageForm& form) {
    QTimer::singleShot(0, [&] {
      auto* label = dynamic_cast<TControl*>(form.FindComponent("Message"));
      auto* ok = dynamic_cast<TControl*>(form.FindComponent("OK"));
      message = QRect(label->Left(), label->Top(), label->Width(), label->Height());
      button = QRect(ok->Left(), ok->Top(), ok->Width(), ok->Height());
      width = form.ClientWidth();
      height = form.ClientHeight();
      background = form.Widget()->palette().color(QPalette::Window).rgb();
      image = Grab(*form.Widget(), "message-dialog");
      form.HandleKey(VK_ESCAPE, 0);
    });
  };
  WideMessageDlg(
      u"\u0424\u0430\u0439\u043b \u00ab\u041a\u043d\u0438\u0433\u0430.wol\u00bb \u0443\u0436\u0435 "
      u"\u0435\u0441\u0442\u044c. \u0417\u0430\u043c\u0435\u043d\u0438\u0442\u044c?",
      mtConfirmation, MsgDlgButton(mbOK) | MsgDlgButton(mbCancel), 0);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), width);
  EXPECT_EQ(image.height(), height);
  EXPECT_GT(DarkPixels(image, message), 100);
  EXPECT_GT(DarkPixels(image, button.adjusted(4, 4, -4, -4)), 20);
  // The margin above the text is background.
  EXPECT_EQ(image.pixel(width / 2, 1), background);
}

TEST_F(Screenshot, OpenDialog) {
  TUniOpenDialogEx dialog(nullptr);
  dialog.SetTitle(u"\u0414\u043e\u0431\u0430\u0432\u0438\u0442\u044c \u043a\u043d\u0438\u0433\u0438");
  dialog.SetFilter(u"FB2 (*.fb2;*.zip)|*.fb2;*.zip");
  dialog.SetOKText(u"&\u041e\u0442\u043a\u0440\u044b\u0442\u044c");
  dialog.SetCancelText(u"\u041e\u0442\u043c\u0435\u043d\u0430");
  QImage image;
  QSize size;
  dialog.OnShow = [&](TOpenDialog&, void* qt) {
    auto* fileDialog = static_cast<QFileDialog*>(qt);
    fileDialog->resize(640, 420);
    size = fileDialog->size();
    image = Grab(*fileDialog, "open-dialog");
    fileDialog->reject();
  };
  EXPECT_FALSE(dialog.Execute());
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), size);
  EXPECT_GT(DarkPixels(image, image.rect()), 500);
}

TEST_F(Screenshot, FolderDialog) {
  QImage image;
  WideString directory = u"/tmp";
  EXPECT_FALSE(SelectDirectory(u"\u041f\u0430\u043f\u043a\u0430", u"", directory, [&](void* qt) {
    auto* fileDialog = static_cast<QFileDialog*>(qt);
    fileDialog->resize(560, 380);
    image = Grab(*fileDialog, "folder-dialog");
    fileDialog->reject();
  }));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(560, 380));
  EXPECT_GT(DarkPixels(image, image.rect()), 500);
}

}  // namespace
