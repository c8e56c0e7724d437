// The main window driven as a user drives it, on Qt's offscreen platform: files added
// through the open dialog, a batch with its coloured log, Break, the override question,
// the destination folder, closing and its settings file, and a switch of language.
#include "app/fMain.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QScrollBar>
#include <QTimer>
#include <array>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "AppTestFiles.h"
#include "AppTestLayout.h"
#include "MainWindowFixture.h"
#include "app/AppResStrings.h"
#include "app/fSelectLanguage.h"
#include "app/uGlobals.h"
#include "app/uLanguages.h"
#include "l10n/LangLimits.h"
#include "l10n/LangTestIds.h"
#include "l10n/Localizer.h"
#include "platform/base/CodePages.h"
#include "unicode/UniSysUtils.h"
#include "unicode/WideException.h"

namespace {

// A first run: designed size, "Source directory", the program's folder as destination,
// "(unnamed)" as the only scheme, "Ask", Start disabled while the list is empty.
TEST_F(MainWindow, AFirstRunShowsTheDefaults) {
  TfrmMain& w = Create();
  EXPECT_EQ(w.Caption(), u"Quirefold Batch v.0.3.05");
  EXPECT_EQ(w.Width(), 433);
  EXPECT_EQ(w.Height(), 500);
  EXPECT_TRUE(w.rdoUseSourceDir->Checked());
  EXPECT_FALSE(w.edtDestinationDir->Enabled());
  EXPECT_EQ(w.edtDestinationDir->Text(), Folder.Dir());
  ASSERT_EQ(w.cmbScheme->ItemCount(), 1);
  EXPECT_EQ(w.cmbScheme->Item(0).Text, u"(unnamed)");
  EXPECT_TRUE(Convertor->Schemes.empty());
  EXPECT_EQ(w.cmbOverrideMode->ItemIndex(), 0);
  EXPECT_EQ(w.btnStartStop->Caption(), u"Start");
  // Books come as FB2 files and in zip archives of either name.
  EXPECT_EQ(w.OpenDlg->Filter(), u"FictionBook Files (*.fb2;*.fbz;*.zip)|*.fb2;*.fbz;*.zip");
  Application->UpdateActions();
  EXPECT_FALSE(w.btnStartStop->Enabled());
  EXPECT_FALSE(w.btnRemoveFiles->Enabled());
  // The designed places: the English captions fit them.
  const std::pair<TControl*, std::array<int32_t, 4>> designed[] = {
      {w.lbxFiles, {10, 20, 304, 140}},        {w.btnAddFiles, {322, 20, 85, 25}},
      {w.btnBrowseDestDir, {322, 40, 85, 25}}, {w.gbxSettings, {8, 262, 320, 72}},
      {w.cmbScheme, {150, 18, 160, 22}},       {w.btnStartStop, {336, 268, 89, 66}},
      {w.lbxLog, {8, 358, 417, 134}},          {w.edtDestinationDir, {116, 42, 198, 22}},
  };
  for (const auto& [control, bounds] : designed) {
    SCOPED_TRACE(control->Name());
    EXPECT_EQ((std::array{control->Left(), control->Top(), control->Width(), control->Height()}), bounds);
  }
  ExpectControlsFit(w);
}

// Books added through the dialog are converted in order; a failing book is a red line and
// the batch goes on. Each stage is one line, rewritten with its percent; the stage a book
// failed in keeps the percent it reached.
TEST_F(MainWindow, ABatchConvertsEveryBookWithAColouredLog) {
  TfrmMain& w = Create();
  Add({Book("a.fb2"), Book("b.zip")});
  Add({Book("broken.fb2"), Book("missing.fb2")});
  EXPECT_EQ(Settings.LastSourceDir, Folder.Dir() + u"books");
  ASSERT_EQ(w.lbxFiles->ItemCount(), 4);
  Start();

  std::vector<TLine> expected = Converted(Book("a.fb2"));
  for (const TLine& line : Converted(Book("b.zip"))) expected.push_back(line);
  expected.insert(expected.end(), {{Begins(Book("broken.fb2")), lkInfo},
                                   {u"Loading... 100%", lkInfo},
                                   {u"Converting... 20%", lkInfo},
                                   {u"Bad book", lkError},
                                   {Begins(Book("missing.fb2")), lkInfo},
                                   {u"Loading... 50%", lkInfo},
                                   {u"Can't read FB2 file!", lkError}});
  EXPECT_EQ(w.LogLines(), expected);
  EXPECT_EQ(ReadBytes(Folder / "books/a.wol"), "wol of a.fb2");
  EXPECT_EQ(ReadBytes(Folder / "books/b.wol"), "wol of b.zip");
  EXPECT_FALSE(std::filesystem::exists(Folder / "books/broken.wol"));

  // The colours the log shows: black, pure red, dark green; the last line is selected.
  auto* list = static_cast<QListWidget*>(w.lbxLog->Widget());
  ASSERT_EQ(list->count(), static_cast<int>(expected.size()));
  const QColor colours[] = {QColor(0, 0, 0), QColor(255, 0, 0), QColor(0, 128, 0)};
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(list->item(static_cast<int>(i))->foreground().color(), colours[expected[i].Kind]) << i;
  EXPECT_EQ(w.lbxLog->ItemIndex(), static_cast<int32_t>(expected.size()) - 1);
  EXPECT_FALSE(w.Converting());
  EXPECT_EQ(w.btnStartStop->Caption(), u"Start");
  EXPECT_TRUE(w.btnAddFiles->Enabled());
}

// A stage's first report adds its line, later ones rewrite it with their percent; when
// the next stage begins, or the book is written, the stage has ended and its line shows
// 100 %, whatever it reported last.
TEST_F(MainWindow, EachStagesLastPercentIsItsRealProgress) {
  TfrmMain& w = Create();
  Add({Book("a.fb2")});
  std::vector<std::pair<WideString, WideString>> shown;
  Convertor->OnReport = [&](int32_t) {
    const std::vector<TLine> lines = w.LogLines();
    shown.emplace_back(lines[lines.size() - 2].Text, lines.back().Text);
  };
  Start();
  const std::pair<WideString, WideString> expected[] = {
      {Begins(Book("a.fb2")), u"Loading..."},      {Begins(Book("a.fb2")), u"Loading... 50%"},
      {Begins(Book("a.fb2")), u"Loading... 100%"}, {u"Loading... 100%", u"Converting..."},
      {u"Loading... 100%", u"Converting... 0%"},   {u"Loading... 100%", u"Converting... 10%"},
      {u"Loading... 100%", u"Converting... 10%"},  {u"Loading... 100%", u"Converting... 20%"},
      {u"Converting... 100%", u"Save WOL..."},     {u"Converting... 100%", u"Save WOL... 100%"},
  };
  EXPECT_EQ(shown, std::vector(std::begin(expected), std::end(expected)));
  EXPECT_EQ(w.LogLines(), Converted(Book("a.fb2")));
}

// An archive that cannot be opened raises the archive library's own exception, which
// names no file ("File not found"): that book fails alone, its red line naming it, and
// the books after it are converted.
TEST_F(MainWindow, ABookThatFailsWithoutAMessageForTheUserFailsAloneAndIsNamed) {
  TfrmMain& w = Create();
  WriteBytes(Folder / "books/unopened.zip", "not a zip");
  Add({Book("a.fb2"), Book("unopened.zip"), Book("b.zip")});
  Start();
  std::vector<TLine> expected = Converted(Book("a.fb2"));
  expected.insert(expected.end(), {{Begins(Book("unopened.zip")), lkInfo},
                                   {u"Loading... 50%", lkInfo},
                                   {u"File \"" + Book("unopened.zip") + u"\" not converted: File not found", lkError}});
  for (const TLine& line : Converted(Book("b.zip"))) expected.push_back(line);
  EXPECT_EQ(w.LogLines(), expected);
  EXPECT_EQ(ReadBytes(Wol("b")), "wol of b.zip");
  EXPECT_FALSE(w.Converting());
  EXPECT_TRUE(w.btnAddFiles->Enabled());
}

// A second press during the batch is Break: the book being converted and every later one
// end with "User break!"; while the batch runs, the controls are disabled and the button
// reads "Break".
TEST_F(MainWindow, BreakEndsTheRestOfTheBatch) {
  TfrmMain& w = Create();
  Add({Book("a.fb2"), Book("b.zip")});
  Convertor->OnReport = [&](int32_t report) {
    if (report != 2) return;
    EXPECT_TRUE(w.Converting());
    EXPECT_EQ(w.btnStartStop->Caption(), u"Break");
    EXPECT_FALSE(w.lbxFiles->Enabled());
    EXPECT_FALSE(w.btnAddFiles->Enabled());
    EXPECT_TRUE(w.btnLanguage->Enabled());
    // The click arrives through the events the progress report lets run.
    QTimer::singleShot(0, [&] { w.btnStartStop->Click(); });
  };
  Start();
  EXPECT_EQ(w.LogLines(), (std::vector<TLine>{{Begins(Book("a.fb2")), lkInfo},
                                              {u"Loading... 100%", lkInfo},
                                              {u"User break!", lkError},
                                              {Begins(Book("b.zip")), lkInfo},
                                              {u"Loading...", lkInfo},
                                              {u"User break!", lkError}}));
  EXPECT_FALSE(std::filesystem::exists(Wol("a")));
  EXPECT_TRUE(w.btnStartStop->Enabled());
  EXPECT_EQ(w.btnStartStop->Caption(), u"Start");

  // The next batch runs to its end.
  Convertor->OnReport = nullptr;
  Start();
  EXPECT_EQ(ReadBytes(Wol("b")), "wol of b.zip");
}

// The override question, answered per book; "Yes to all" and "No to all" hold for the
// rest of the batch only, Cancel ends that book with "User break!".
TEST_F(MainWindow, TheOverrideQuestionKeepsOrReplacesAsAnswered) {
  struct TCase {
    std::vector<int32_t> Answers;
    size_t Questions;
    // Per book (a, b, broken renamed c): replaced or kept.
    std::vector<bool> Replaced;
    const char16_t* FirstError;
  };
  const TCase cases[] = {
      {{mrNo, mrYesToAll}, 2, {false, true, true}, u"Skipped."},
      {{mrNoToAll}, 1, {false, false, false}, u"Skipped."},
      {{mrCancel, mrYes, mrNo}, 3, {false, true, false}, u"User break!"},
  };
  WriteBytes(Folder / "books/c.fb2", "<x/>");
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Questions);
    TfrmMain& w = Create();
    Add({Book("a.fb2"), Book("b.zip"), Book("c.fb2")});
    for (const char* name : {"a", "b", "c"}) WriteBytes(Wol(name), "old");
    Dialogs->MessageAnswers.assign(c.Answers.begin(), c.Answers.end());
    Start();
    ASSERT_EQ(Dialogs->Questions.size(), c.Questions);
    EXPECT_EQ(Dialogs->Questions[0], u"Wol file \"" + Folder.Dir() + u"books/a.wol\" already exist. Override?");
    const char* names[] = {"a", "b", "c"};
    for (size_t i = 0; i < 3; ++i)
      EXPECT_EQ(ReadBytes(Wol(names[i])),
                c.Replaced[i] ? "wol of " + std::string(names[i]) + (i == 1 ? ".zip" : ".fb2") : "old")
          << names[i];
    const TLine first = w.LogLines().at(1);
    EXPECT_EQ(first.Kind, lkError);
    EXPECT_TRUE(first.Text.ends_with(c.FirstError));
    // The next batch asks again.
    Dialogs->Questions.clear();
    Dialogs->MessageAnswers = {mrNoToAll};
    Start();
    EXPECT_EQ(Dialogs->Questions.size(), 1u);
  }
}

// "Override" replaces an existing ".wol" only with a complete new one: a book that fails
// keeps the old file. "Don't convert" skips without asking.
TEST_F(MainWindow, OverrideNeverLosesTheOldFile) {
  TfrmMain& w = Create();
  Add({Book("broken.fb2"), Book("a.fb2")});
  WriteBytes(Wol("broken"), "old broken");
  WriteBytes(Wol("a"), "old a");
  w.cmbOverrideMode->SetItemIndex(omOverride);
  w.cmbOverrideMode->OnChange(w.cmbOverrideMode);
  EXPECT_EQ(Settings.OverrideMode, 1);
  Start();
  EXPECT_EQ(ReadBytes(Wol("broken")), "old broken");
  EXPECT_EQ(ReadBytes(Wol("a")), "wol of a.fb2");
  EXPECT_TRUE(Dialogs->Questions.empty());

  w.cmbOverrideMode->SetItemIndex(omDontConvert);
  Start();
  EXPECT_EQ(w.LogLines()[1], (TLine{u"Wol file \"" + Wol16("broken") + u"\" already exist. Skipped.", lkError}));
  EXPECT_TRUE(Dialogs->Questions.empty());
}

// "Override" replaces a read-only ".wol" too, and still only with a complete new file.
TEST_F(MainWindow, OverrideReplacesAReadOnlyWolFile) {
  TfrmMain& w = Create();
  Add({Book("a.fb2"), Book("broken.fb2")});
  for (const char* name : {"a", "broken"}) {
    WriteBytes(Wol(name), "old");
    std::filesystem::permissions(Wol(name), std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  }
  w.cmbOverrideMode->SetItemIndex(omOverride);
  Start();
  EXPECT_EQ(w.LogLines().at(4), (TLine{Ends(Book("a.fb2")), lkSuccess}));
  EXPECT_EQ(ReadBytes(Wol("a")), "wol of a.fb2");
  EXPECT_EQ(w.LogLines().back(), (TLine{u"Bad book", lkError}));
  EXPECT_EQ(ReadBytes(Wol("broken")), "old");
}

// A book named ".wol" whose Wolf file would be the book itself (beside it, or in a
// folder that is its own under another spelling) is refused before it is loaded and
// before any question, whatever the override choice: no answer loses it.
TEST_F(MainWindow, ABookNamedAsItsWolFileIsNeverWrittenOver) {
  WriteBytes(Folder / "books/own.wol", "<x/>");
  for (const TOverrideMode mode : {omAsk, omOverride, omDontConvert})
    for (const bool thisDirectory : {false, true}) {
      SCOPED_TRACE(std::to_string(mode) + (thisDirectory ? " this directory" : " source directory"));
      TfrmMain& w = Create();
      w.cmbOverrideMode->SetItemIndex(mode);
      const WideString out = thisDirectory ? Folder.Dir() + u"books/./own.wol" : Book("own.wol");
      if (thisDirectory) {
        w.rdoUseSpecialDir->SetChecked(true);
        w.rdoUseSpecialDir->Click();
        w.edtDestinationDir->SetText(Folder.Dir() + u"books/.");
      }
      Add({Book("own.wol")});
      Dialogs->MessageAnswers = {mrYes};
      Start();
      EXPECT_TRUE(Dialogs->Questions.empty());
      std::vector<TLine> expected{{Begins(Book("own.wol")), lkInfo},
                                  {u"Wol file \"" + out + u"\" would be the book itself. Skipped.", lkError}};
      if (thisDirectory)
        expected.insert(expected.begin(), {u"Saving WOL files to \"" + Folder.Dir() + u"books\".", lkInfo});
      EXPECT_EQ(w.LogLines(), expected);
      EXPECT_EQ(ReadBytes(Folder / "books/own.wol"), "<x/>");
    }
}

// Removing one selected book asks nothing; removing two asks with the count, and Cancel
// keeps them.
TEST_F(MainWindow, RemovingSeveralBooksAsksFirst) {
  TfrmMain& w = Create();
  Add({Book("a.fb2"), Book("b.zip"), Book("a.fb2")});
  w.lbxFiles->SetSelected(0, true);
  w.lbxFiles->SetSelected(2, true);
  Application->UpdateActions();
  ASSERT_TRUE(w.btnRemoveFiles->Enabled());
  Dialogs->MessageAnswers = {mrCancel, mrOk};
  w.btnRemoveFiles->Click();
  EXPECT_EQ(w.lbxFiles->ItemCount(), 3);
  w.btnRemoveFiles->Click();
  EXPECT_EQ(Dialogs->Questions, (std::vector<WideString>(2, u"Remove selected 2 files from list?")));
  ASSERT_EQ(w.lbxFiles->ItemCount(), 1);
  EXPECT_EQ(w.lbxFiles->Item(0).Text, Book("b.zip"));
  w.lbxFiles->SetSelected(0, true);
  w.btnRemoveFiles->Click();
  EXPECT_EQ(w.lbxFiles->ItemCount(), 0);
  EXPECT_EQ(Dialogs->Questions.size(), 2u);
}

// "This directory:" with a folder that does not exist: Cancel stops the batch before the
// first book, OK creates it (with its parents) and the books go there; two books of one
// name meet the override question.
TEST_F(MainWindow, ThisDirectoryIsCreatedWhenTheUserAgrees) {
  TfrmMain& w = Create();
  std::filesystem::create_directory(Folder / "other");
  WriteBytes(Folder / "other/a.fb2", "<x/>");
  Add({Book("a.fb2"), Folder.Dir() + u"other/a.fb2"});
  w.rdoUseSpecialDir->SetChecked(true);
  w.rdoUseSpecialDir->Click();
  EXPECT_FALSE(w.rdoUseSourceDir->Checked());
  EXPECT_TRUE(w.edtDestinationDir->Enabled());
  Dialogs->ChosenDirectory = Folder.Dir() + u"out/deep";
  w.btnBrowseDestDir->Click();
  EXPECT_EQ(w.edtDestinationDir->Text(), Folder.Dir() + u"out/deep");

  Dialogs->MessageAnswers = {mrCancel};
  Start();
  EXPECT_EQ(w.LogLines(), (std::vector<TLine>{{u"Conversion stopped.", lkSuccess}}));
  EXPECT_EQ(Dialogs->Questions, (std::vector<WideString>{u"Destination directory doesn't exists.\r\nCreate?"}));

  Dialogs->MessageAnswers = {mrOk, mrNo};
  Start();
  EXPECT_EQ(ReadBytes(Folder / "out/deep/a.wol"), "wol of a.fb2");
  ASSERT_EQ(Dialogs->Questions.size(), 3u);
  EXPECT_EQ(Dialogs->Questions[2], u"Wol file \"" + Folder.Dir() + u"out/deep/a.wol\" already exist. Override?");
  EXPECT_FALSE(std::filesystem::exists(Wol("a")));
}

// A folder that takes no files is found before any book is converted: "This directory:"
// is asked once, before the batch, and a book beside its source before its conversion.
TEST_F(MainWindow, AnUnwritableFolderIsRefusedBeforeAnyBookIsConverted) {
  if (RerunUnprivileged()) return;
  namespace fs = std::filesystem;
  fs::create_directory(Folder / "locked");
  WriteBytes(Folder / "locked/c.fb2", "<x/>");
  fs::permissions(Folder / "locked", fs::perms::owner_write, fs::perm_options::remove);
  struct TUnlock {
    std::string Path;
    ~TUnlock() { fs::permissions(Path, fs::perms::owner_write, fs::perm_options::add); }
  } unlock{Folder / "locked"};
  const WideString locked = Folder.Dir() + u"locked";
  const WideString refused = u"Can't write to directory \"" + locked + u"\". Access is denied.";

  TfrmMain& w = Create();
  Add({Book("a.fb2"), Book("b.zip")});
  w.rdoUseSpecialDir->SetChecked(true);
  w.rdoUseSpecialDir->Click();
  w.edtDestinationDir->SetText(locked);
  Start();
  EXPECT_EQ(w.LogLines(), (std::vector<TLine>{{refused, lkError}, {u"Conversion stopped.", lkError}}));

  w.rdoUseSourceDir->SetChecked(true);
  w.rdoUseSourceDir->Click();
  w.lbxFiles->Items()->Insert(0, locked + u"/c.fb2");
  Start();
  std::vector<TLine> expected{{Begins(locked + u"/c.fb2"), lkInfo}, {refused, lkError}};
  for (const TLine& line : Converted(Book("a.fb2"))) expected.push_back(line);
  for (const TLine& line : Converted(Book("b.zip"))) expected.push_back(line);
  EXPECT_EQ(w.LogLines(), expected);
}

// "This directory:" as the log tells it: a folder that cannot be created says the
// system's reason and stops the batch; one typed relative is taken from the working folder
// and named in full.
TEST_F(MainWindow, TheDestinationFolderSaysWhereTheBooksGoOrWhyNot) {
  if (RerunUnprivileged()) return;
  namespace fs = std::filesystem;
  fs::create_directory(Folder / "locked");
  fs::permissions(Folder / "locked", fs::perms::owner_write, fs::perm_options::remove);
  struct TUnlock {
    std::string Path;
    ~TUnlock() { fs::permissions(Path, fs::perms::owner_write, fs::perm_options::add); }
  } unlock{Folder / "locked"};
  WriteBytes(Folder / "afile", "not a folder");
  const fs::path workingFolder = fs::current_path();
  fs::current_path(Folder.Path());
  struct TReturn {
    fs::path Path;
    ~TReturn() { fs::current_path(Path); }
  } back{workingFolder};

  const auto stopped = [](const WideString& dir, const char16_t* reason) {
    return std::vector<TLine>{{u"Can't write to directory \"" + dir + u"\". " + reason, lkError},
                              {u"Conversion stopped.", lkError}};
  };
  std::vector<TLine> relative{{u"Saving WOL files to \"" + Folder.Dir() + u"relout\".", lkInfo}};
  for (const TLine& line : Converted(Book("a.fb2"))) relative.push_back(line);
  struct TFolderCase {
    const char* Name;
    WideString Typed;
    std::vector<TLine> Log;
  };
  const TFolderCase cases[] = {
      {"parent without permission", Folder.Dir() + u"locked/new",
       stopped(Folder.Dir() + u"locked/new", u"Access is denied.")},
      {"a file in the way", Folder.Dir() + u"afile/sub",
       stopped(Folder.Dir() + u"afile/sub", u"The directory name is invalid.")},
      {"a file of the folder's name", Folder.Dir() + u"afile",
       stopped(Folder.Dir() + u"afile", u"The directory name is invalid.")},
      {"relative folder", u"relout", relative},
  };
  for (const TFolderCase& folder : cases) {
    SCOPED_TRACE(folder.Name);
    TfrmMain& w = Create();
    Add({Book("a.fb2")});
    w.rdoUseSpecialDir->SetChecked(true);
    w.rdoUseSpecialDir->Click();
    w.edtDestinationDir->SetText(folder.Typed);
    Dialogs->MessageAnswers = {mrOk};
    Start();
    EXPECT_EQ(Dialogs->Questions, (std::vector<WideString>{u"Destination directory doesn't exists.\r\nCreate?"}));
    EXPECT_EQ(w.LogLines(), folder.Log);
  }
  EXPECT_EQ(ReadBytes(Folder / "relout/a.wol"), "wol of a.fb2");
}

// The window is never smaller than 350 x 500, also when the settings hold a smaller size.
TEST_F(MainWindow, TheWindowKeepsItsSmallestSize) {
  Settings = DefaultSettings();
  Settings.FormXLen = 200;
  Settings.FormYLen = 300;
  SaveSettings();
  TfrmMain& w = Create();
  EXPECT_EQ(w.Width(), 350);
  EXPECT_EQ(w.Height(), 500);
  w.Widget()->resize(100, 100);
  EXPECT_EQ(w.Width(), 350);
  EXPECT_EQ(w.Height(), 500);
  w.SetBounds(w.Left(), w.Top(), 340, 200);
  EXPECT_EQ(w.Width(), 350);
  EXPECT_EQ(w.Height(), 500);
  // Start and the log are there, and every caption is whole.
  EXPECT_EQ(w.btnStartStop->Left() + w.btnStartStop->Width(), 350 - 8);
  EXPECT_EQ(w.lbxLog->Height(), 500 - 358 - 8);
  ExpectControlsFit(w);
  // A larger window is taken as it is.
  w.Widget()->resize(600, 700);
  EXPECT_EQ(w.Width(), 600);
  EXPECT_EQ(w.lbxLog->Height(), 700 - 358 - 8);
  ExpectControlsFit(w);
}

// A language whose texts are longer than the English ones: each control whose caption
// does not fit its designed width grows to it, its neighbours make room, and the window
// grows with them; the same at the window's smallest size and back in English.
TEST_F(MainWindow, TranslatedCaptionsFitTheirControls) {
  WriteBytes(Folder / "QuirefoldB_ru.lng", RussianMainWindowFile(*Create().dlcMain));
  Settings = DefaultSettings();
  Settings.LanguageId = RussianLangID;
  SaveSettings();
  TfrmMain& w = Create();
  ASSERT_EQ(LangManager().GetLanguageID(), RussianLangID);
  EXPECT_EQ(w.btnAddFiles->Caption(),
            u"\u0414\u043e\u0431\u0430\u0432\u0438\u0442\u044c \u0444\u0430\u0439\u043b(\u044b)");
  EXPECT_GT(w.btnAddFiles->Width(), 85);
  EXPECT_GT(w.UniLabel1->Width(), 136);
  ExpectControlsFit(w);
  EXPECT_GE(w.Width(), 433);
  const int32_t smallest = w.Constraints().MinWidth;
  EXPECT_GT(smallest, 350);
  w.Widget()->resize(smallest, 500);
  ExpectControlsFit(w);

  SwitchLanguage(TLanguageManager::DefaultLangID);
  EXPECT_EQ(w.btnAddFiles->Caption(), u"Add File(s)");
  EXPECT_EQ(w.Constraints().MinWidth, 350);
  ExpectControlsFit(w);
}

// A long line (a long path) can be scrolled sideways to its end, and a line rewritten by
// the progress leaves the log where the user scrolled it.
TEST_F(MainWindow, TheLogScrollsSideways) {
  const std::string longName = "a" + std::string(150, 'x') + ".fb2";
  WriteBytes(Folder / ("books/" + longName), "<x/>");
  TfrmMain& w = Create();
  Add({Book(longName.c_str())});
  auto* list = static_cast<QListWidget*>(w.lbxLog->Widget());
  QScrollBar* sideways = list->horizontalScrollBar();
  int scrolled = -1;
  Convertor->OnReport = [&](int32_t report) {
    QApplication::processEvents();
    if (report == 4) {  // "Converting..." 0
      sideways->setValue(sideways->maximum());
      scrolled = sideways->value();
    }
    if (report == 5) {  // "Converting... 0%"
      EXPECT_EQ(sideways->value(), scrolled);
    }
  };
  Start();
  EXPECT_GT(scrolled, 0);
  QApplication::processEvents();
  EXPECT_GE(sideways->maximum() + list->viewport()->width(), list->visualItemRect(list->item(0)).width());
}

// A language file that cannot be loaded: choosing it says why and stores nothing, and a
// stored choice of it (as an earlier version stored it) opens the window in the built-in
// language with the same message.
TEST_F(MainWindow, ABrokenLanguageFileNeverStopsTheProgram) {
  WriteBytes(Folder / "QuirefoldB_ru.lng",
             Utf16LEWithBom(u"LANGID=1049\r\n[MainWindow]\r\n1=\u041a\u043d\u0438\u0433\u0438\r\n"
                            u"1=\u0415\u0449\u0451\r\n"));
  const TLine failed{
      u"Language \"Russian (Russia)\" can't be loaded: Loading translations failed. Line 4: "
      u"Duplicate property value translation ID (1)",
      lkError};
  TfrmMain& w = Create();
  TfrmSelectLanguage dialog(nullptr);
  w.SetLanguageDialog(&dialog);
  QTimer::singleShot(0, [&] {
    dialog.cmbLanguage->SetItemIndex(LangManager().IndexOfLanguageID(1049));
    dialog.btnOK->Click();
  });
  // As a click arrives from the window system: what it raises reaches the application.
  Application->Guard([&] { w.btnLanguage->Click(); });
  EXPECT_EQ(w.LogLines(), std::vector<TLine>{failed});
  EXPECT_EQ(Settings.LanguageId, 0);
  EXPECT_EQ(LangManager().GetLanguageID(), TLanguageManager::DefaultLangID);
  w.Close();
  EXPECT_NE(FromUtf16LEWithBom(ReadBytes(WideToUtf8(SettingsFileName()))).find(u"LanguageId=0\r\n"), WideString::npos);

  Settings = DefaultSettings();
  Settings.LanguageId = 1049;
  SaveSettings();
  TfrmMain& next = Create();
  EXPECT_TRUE(next.Visible());
  EXPECT_EQ(next.gbxFiles->Caption(), u" FictionBook2 files to convert ");
  EXPECT_EQ(next.LogLines(), std::vector<TLine>{failed});
  EXPECT_EQ(Settings.LanguageId, 1049);  // kept until the user chooses again
}

// Closing writes every setting, in key order; closing during a batch acts as Break and
// closes once the batch has ended.
TEST_F(MainWindow, ClosingDuringABatchBreaksThenSavesTheSettings) {
  TfrmMain& w = Create();
  Add({Book("a.fb2"), Book("b.zip")});
  w.rdoUseSpecialDir->SetChecked(true);
  w.rdoUseSpecialDir->Click();
  w.edtDestinationDir->SetText(Folder.Dir() + u"books");
  w.cmbOverrideMode->SetItemIndex(omDontConvert);
  w.SetBounds(20, 30, 500, 600);
  Convertor->OnReport = [&](int32_t report) {
    if (report == 1) w.Close();
    EXPECT_TRUE(w.Visible());
  };
  Start();
  EXPECT_FALSE(w.Visible());
  EXPECT_EQ(w.LogLines().at(0), (TLine{u"Saving WOL files to \"" + Folder.Dir() + u"books\".", lkInfo}));
  EXPECT_EQ(w.LogLines().at(3), (TLine{u"User break!", lkError}));
  EXPECT_EQ(w.LogLines().back(), (TLine{u"User break!", lkError}));
  EXPECT_EQ(FromUtf16LEWithBom(ReadBytes(WideToUtf8(SettingsFileName()))),
            u"[QuirefoldBatch]\r\n"
            u"FormXPos=20\r\nFormYPos=30\r\nFormXLen=500\r\nFormYLen=600\r\n"
            u"LastSourceDir=" +
                Folder.Dir() +
                u"books\r\n"
                u"UseSourceDir=0\r\n"
                u"DestinationDir=" +
                Folder.Dir() +
                u"books\r\n"
                u"SchemeName=(unnamed)\r\nOverrideMode=2\r\nLanguageId=0\r\n");

  // The next window starts from them.
  TfrmMain& next = Create();
  EXPECT_EQ(next.Left(), 20);
  EXPECT_EQ(next.Width(), 500);
  EXPECT_TRUE(next.rdoUseSpecialDir->Checked());
  EXPECT_EQ(next.cmbOverrideMode->ItemIndex(), 2);
}

// A settings file that cannot be written is reported, and the window closes all the same.
TEST_F(MainWindow, ClosingIsAllowedWhenTheSettingsCannotBeWritten) {
  TfrmMain& w = Create();
  std::filesystem::create_directory(WideToUtf8(SettingsFileName()));
  w.Close();
  EXPECT_FALSE(w.Visible());
  ASSERT_EQ(Dialogs->Questions.size(), 1u);
  EXPECT_TRUE(Dialogs->Questions[0].starts_with(u"Unable to write to ")) << WideToUtf8(Dialogs->Questions[0]);
}

// A language chosen with the Language button translates the captions at once and the log
// lines written later; a broken language file beside it costs only its own language.
TEST_F(MainWindow, ALanguageFileTranslatesCaptionsAndLaterLogLines) {
  TfrmMain& first = Create();
  const uint32_t frame = LangIdOf(first.dlcMain->Root(), first.gbxFiles, "Caption");
  const uint32_t add = LangIdOf(first.dlcMain->Root(), first.actAddFiles, "Caption");
  ASSERT_NE(frame, 0u);
  ASSERT_NE(add, 0u);
  EXPECT_EQ(LangIdOf(first.dlcMain->Root(), first.actConvert, "Caption"), 0u);
  Window.reset();

  WriteBytes(Folder / "QuirefoldB_ru.lng",
             Utf16LEWithBom(u"LANGID=1049\r\n[MainWindow]\r\n" + WideFormat(u"%d=", {static_cast<int32_t>(frame)}) +
                            u"\u041a\u043d\u0438\u0433\u0438\r\n" + WideFormat(u"%d=", {static_cast<int32_t>(add)}) +
                            u"\u0414\u043e\u0431\u0430\u0432\u0438\u0442\u044c\r\n"
                            u"[$Constants]\r\nSBtnStart=\u0421\u0442\u0430\u0440\u0442\r\n"
                            u"SMsgEndConvert=\u0413\u043e\u0442\u043e\u0432\u043e: %s\r\n"));
  // Too large to load, with the limit lowered for the test: under a scan that stopped at
  // it, creating the window would fail, or the Russian file would not register.
  WriteBytes(Folder / "QuirefoldB_de.lng", "LANGID=1031\r\n" + std::string(2000, ';'));
  const int64_t savedLimit = LangLimits().MaxFileBytes;
  LangLimits().MaxFileBytes = 1000;
  TfrmMain& w = Create();
  LangLimits().MaxFileBytes = savedLimit;
  TfrmSelectLanguage dialog(nullptr);
  w.SetLanguageDialog(&dialog);
  Add({Book("a.fb2")});
  Start();
  EXPECT_EQ(w.LogLines().back().Text, Ends(Book("a.fb2")));

  QTimer::singleShot(0, [&] {
    dialog.cmbLanguage->SetItemIndex(LangManager().IndexOfLanguageID(1049));
    dialog.btnOK->Click();
  });
  w.btnLanguage->Click();
  EXPECT_EQ(Settings.LanguageId, 1049);
  EXPECT_EQ(w.gbxFiles->Caption(), u"\u041a\u043d\u0438\u0433\u0438");
  EXPECT_EQ(w.btnAddFiles->Caption(), u"\u0414\u043e\u0431\u0430\u0432\u0438\u0442\u044c");
  EXPECT_EQ(w.btnStartStop->Caption(), u"\u0421\u0442\u0430\u0440\u0442");
  EXPECT_EQ(w.cmbOverrideMode->ItemIndex(), 0);
  EXPECT_EQ(w.LogLines().back().Text, Ends(Book("a.fb2")));

  WriteBytes(Wol("a"), "old");
  w.cmbOverrideMode->SetItemIndex(omOverride);
  Start();
  EXPECT_EQ(w.LogLines().back(), (TLine{u"\u0413\u043e\u0442\u043e\u0432\u043e: " + Book("a.fb2"), lkSuccess}));
}

}  // namespace
