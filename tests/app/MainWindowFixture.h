// The main window's test fixture: the window driven as a user drives it, on Qt's
// offscreen platform, with a converter double and dialogs answered from scripts.
//
// The converter double reports its stages as the real one does and writes a small file
// through the same replace-on-success path.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "AppTestFiles.h"
#include "app/fMain.h"
#include "app/uGlobals.h"
#include "archive/ArExcept.h"
#include "convert/ConvertResStrings.h"
#include "l10n/Localizer.h"
#include "platform/base/CodePages.h"
#include "unicode/UniClasses.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"
#include "unicode/WideException.h"

// Reports "Loading..." 0, 50, 100; "Converting..." 0, 0, 10, 10, 20; "Save WOL..." 0, 100,
// and ends a book with "User break!" when a report answers cancel. A book named
// "unopened..." fails as an archive that cannot be opened does: with the archive
// library's own exception, which is no message for the user.
class TFakeConvertor : public TBookConvertor {
public:
  // Runs at every report, with the count of reports so far (from 1).
  std::function<void(int32_t report)> OnReport;
  // Books whose names contain this fail in ConvertBook.
  WideString FailingName = u"broken";
  std::vector<WideString> Schemes;

  void SetOnProgress(TBookProgressEvent event) override { FOnProgress = std::move(event); }
  void SelectScheme(const WideString& name) override { Schemes.push_back(name); }
  void LoadBook(const WideString& fileName) override {
    Report(u"Loading...", {0, 50});
    if (WideExtractFileName(fileName).starts_with(u"unopened")) throw EArFileNotFound();
    if (!WideFileExists(fileName)) throw WideException(u"Can't read FB2 file!");
    FBook = fileName;
    Report(u"Loading...", {100});
  }
  void ConvertBook() override {
    Report(u"Converting...", {0, 0, 10, 10, 20});
    if (FBook.find(FailingName) != WideString::npos) throw WideException(u"Bad book");
  }
  void SaveWolf(const WideString& fileName) override {
    Report(u"Save WOL...", {0});
    WideSaveFileReplacing(fileName, [this](TStream& stream) {
      const std::string text = "wol of " + WideToUtf8(WideExtractFileName(FBook));
      stream.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
      Report(u"Save WOL...", {100});
    });
  }

private:
  void Report(const WideString& message, std::initializer_list<int32_t> percents) {
    for (int32_t percent : percents) {
      bool cancel = false;
      FOnProgress(message, percent, cancel);
      if (OnReport) OnReport(++FReports);
      if (cancel) throw WideException(&SErrUserBreak);
    }
  }

  TBookProgressEvent FOnProgress;
  WideString FBook;
  int32_t FReports = 0;
};

// Answers from scripts, and records what was asked.
class TScriptedDialogs : public TMainDialogs {
public:
  std::deque<std::vector<WideString>> OpenAnswers;
  std::deque<int32_t> MessageAnswers;
  std::vector<WideString> Questions;
  WideString ChosenDirectory;

  bool OpenFiles(TUniOpenDialogEx&, std::vector<WideString>& files) override {
    if (OpenAnswers.empty()) return false;
    files = OpenAnswers.front();
    OpenAnswers.pop_front();
    return true;
  }
  int32_t MessageDlg(const WideString& msg, TMsgDlgType, TMsgDlgButtons) override {
    Questions.push_back(msg);
    if (MessageAnswers.empty()) return mrCancel;
    const int32_t answer = MessageAnswers.front();
    MessageAnswers.pop_front();
    return answer;
  }
  bool SelectDirectory(const WideString&, WideString& directory) override {
    if (ChosenDirectory.empty()) return false;
    directory = ChosenDirectory;
    return true;
  }
};

using TLine = TfrmMain::TLogLine;

inline void PrintTo(const TfrmMain::TLogLine& line, std::ostream* os) {
  *os << "{\"" << WideToUtf8(line.Text) << "\", " << line.Kind << "}";
}

class MainWindow : public testing::Test {
protected:
  MainWindow() {
    Settings = TSettings{};
    std::filesystem::create_directory(Folder / "books");
    for (const char* name : {"a.fb2", "b.zip", "broken.fb2"})
      WriteBytes(Folder / ("books/" + std::string(name)), "<x/>");
  }
  ~MainWindow() override {
    LangManager().SetLanguageID(TLanguageManager::DefaultLangID);
    Settings = TSettings{};
  }

  // Creates the window and shows it, as the program does.
  TfrmMain& Create() {
    Window.reset();  // one main window at a time, as in the program
    auto convertor = std::make_unique<TFakeConvertor>();
    auto dialogs = std::make_unique<TScriptedDialogs>();
    Convertor = convertor.get();
    Dialogs = dialogs.get();
    Window = std::make_unique<TfrmMain>(nullptr, std::move(convertor), std::move(dialogs));
    Window->Show();
    return *Window;
  }

  WideString Book(const char* name) const { return Folder.Dir() + u"books/" + AnsiToWideWithCodePage(name, CP_UTF8); }
  std::string Wol(const char* name) const { return Folder / ("books/" + std::string(name) + ".wol"); }
  WideString Wol16(const char* name) const { return AnsiToWideWithCodePage(Wol(name), CP_UTF8); }

  // Adds the books through the open dialog, as the Add button does.
  void Add(std::vector<WideString> files) {
    Dialogs->OpenAnswers.push_back(std::move(files));
    Window->btnAddFiles->Click();
  }
  void Start() {
    Application->UpdateActions();
    ASSERT_TRUE(Window->btnStartStop->Enabled());
    Window->btnStartStop->Click();
  }

  static WideString Text(const TResStringRec& record) { return LoadWideResString(&record); }
  static WideString Begins(const WideString& book) { return u"Start converting \"" + book + u"\"..."; }
  static WideString Ends(const WideString& book) { return u"File \"" + book + u"\" converted."; }
  // The lines of one book converted without a question: each stage that ended shows
  // 100 %, whatever it reported last.
  static std::vector<TLine> Converted(const WideString& book) {
    return {{Begins(book), lkInfo},
            {u"Loading... 100%", lkInfo},
            {u"Converting... 100%", lkInfo},
            {u"Save WOL... 100%", lkInfo},
            {Ends(book), lkSuccess}};
  }

  TProgramFolder Folder;
  TFakeConvertor* Convertor = nullptr;
  TScriptedDialogs* Dialogs = nullptr;
  std::unique_ptr<TfrmMain> Window;
};
