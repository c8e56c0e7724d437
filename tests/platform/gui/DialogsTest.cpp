#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>

#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtText.h"

namespace {

TEST(ConvertFilter, PairsBecomeQtNameFilters) {
  struct Case {
    const char16_t* Filter;
    std::vector<WideString> Expected;
  };
  const Case cases[] = {
      // A description that shows its masks shows them once, blank-separated.
      {u"FB2 books (*.fb2;*.zip)|*.fb2;*.zip", {u"FB2 books (*.fb2 *.zip)"}},
      {u"\u041a\u043d\u0438\u0433\u0438|*.fb2|All|*", {u"\u041a\u043d\u0438\u0433\u0438 (*.fb2)", u"All (*)"}},
      {u"", {}},
      {u"Lonely", {u"Lonely"}},
  };
  for (const Case& c : cases) EXPECT_EQ(ConvertFilter(c.Filter), c.Expected);
}

TEST(OpenDialog, InitialDirLosesATrailingSlashExceptAtTheRoot) {
  TOpenDialog dialog(nullptr);
  dialog.SetInitialDir(u"/home/books/");
  EXPECT_EQ(dialog.InitialDir(), u"/home/books");
  dialog.SetInitialDir(u"/");
  EXPECT_EQ(dialog.InitialDir(), u"/");
}

class OpenDialogTest : public testing::Test {
protected:
  OpenDialogTest() {
    for (const char* name : {"b.fb2", "\xd0\x96.FB2", "c.zip", "notes.txt"}) {
      QFile file(Dir.filePath(QString::fromUtf8(name)));
      EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    }
  }
  WideString Path(const char* name) const { return FromQString(Dir.filePath(QString::fromUtf8(name))); }

  QTemporaryDir Dir;
};

TEST_F(OpenDialogTest, ThreeChosenFilesComeBackAsFullNamesInTheDialogsOrder) {
  TOpenDialog dialog(nullptr);
  dialog.SetFilter(u"Books (*.fb2;*.zip)|*.fb2;*.zip|All|*");
  dialog.SetOptions(ofAllowMultiSelect | ofFileMustExist);
  dialog.SetInitialDir(FromQString(Dir.path()));
  dialog.Texts().OK = u"&\u041e\u0442\u043a\u0440\u044b\u0442\u044c";
  dialog.Texts().FileName = u"\u0418\u043c\u044f \U0001F4D6";
  QStringList filters;
  QString acceptText, fileNameText, lookInText;
  bool caseSensitive = true;
  dialog.OnShow = [&](TOpenDialog&, void* qt) {
    auto* fileDialog = static_cast<QFileDialog*>(qt);
    filters = fileDialog->nameFilters();
    acceptText = fileDialog->labelText(QFileDialog::Accept);
    fileNameText = fileDialog->labelText(QFileDialog::FileName);
    lookInText = fileDialog->labelText(QFileDialog::LookIn);
    caseSensitive = (fileDialog->filter() & QDir::CaseSensitive) != 0;
    fileDialog->findChild<QLineEdit*>("fileNameEdit")->setText("\"c.zip\" \"b.fb2\" \"\xd0\x96.FB2\"");
    static_cast<QDialog*>(fileDialog)->accept();
  };
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(filters, (QStringList{"Books (*.fb2 *.zip)", "All (*)"}));
  EXPECT_EQ(FromQString(acceptText), u"&\u041e\u0442\u043a\u0440\u044b\u0442\u044c");
  EXPECT_EQ(FromQString(fileNameText), u"\u0418\u043c\u044f \U0001F4D6");
  EXPECT_EQ(FromQString(lookInText), u"Look &in");
  EXPECT_FALSE(caseSensitive);
  EXPECT_EQ(dialog.Files(), (std::vector<WideString>{Path("c.zip"), Path("b.fb2"), Path("\xd0\x96.FB2")}));
  EXPECT_EQ(dialog.FileName(), Path("c.zip"));
  EXPECT_EQ(dialog.FilterIndex(), 1);
}

TEST_F(OpenDialogTest, ARefusalOfCanCloseKeepsTheDialogOpen) {
  TOpenDialog dialog(nullptr);
  dialog.SetInitialDir(FromQString(Dir.path()));
  int asked = 0;
  dialog.OnCanClose = [&](TOpenDialog& d) {
    EXPECT_EQ(d.Files().size(), 1u);
    return ++asked > 1;
  };
  dialog.OnShow = [&](TOpenDialog&, void* qt) {
    auto* fileDialog = static_cast<QFileDialog*>(qt);
    fileDialog->selectFile("notes.txt");
    static_cast<QDialog*>(fileDialog)->accept();
    EXPECT_TRUE(fileDialog->isVisible());
    static_cast<QDialog*>(fileDialog)->accept();
  };
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(dialog.FileName(), Path("notes.txt"));
}

TEST_F(OpenDialogTest, CancelledDialogReturnsFalse) {
  TOpenDialog dialog(nullptr);
  dialog.OnShow = [](TOpenDialog&, void* qt) { static_cast<QFileDialog*>(qt)->reject(); };
  EXPECT_FALSE(dialog.Execute());
  EXPECT_TRUE(dialog.Files().empty());
}

TEST_F(OpenDialogTest, FolderDialogStartedWithAVanishedFolderPreselectsNothing) {
  WideString directory = Path("gone");
  QString shown;
  EXPECT_FALSE(SelectDirectory(u"Destination", FromQString(Dir.path()), directory, [&](void* qt) {
    auto* fileDialog = static_cast<QFileDialog*>(qt);
    shown = fileDialog->directory().absolutePath();
    fileDialog->reject();
  }));
  EXPECT_TRUE(directory.empty());
  EXPECT_EQ(shown, QDir(Dir.path()).absolutePath());  // the root, nothing below it

  ASSERT_TRUE(QDir(Dir.path()).mkdir("out"));
  directory = Path("out");
  EXPECT_TRUE(SelectDirectory(u"Destination", u"", directory,
                              [&](void* qt) { static_cast<QDialog*>(static_cast<QFileDialog*>(qt))->accept(); }));
  EXPECT_EQ(directory, Path("out"));
}

}  // namespace
