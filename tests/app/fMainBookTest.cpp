// The main window with the program's own converter: books added through the open
// dialog become ".wol" files that the tests' independent Wolf reader accepts. On a
// virtual X display the window is also photographed after its batch.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "AppTestFiles.h"
#include "AppTestLayout.h"
#include "app/fMain.h"
#include "app/fSelectLanguage.h"
#include "app/uFB2WolBookConvertor.h"
#include "app/uGlobals.h"
#include "convert/ConvertTestBooks.h"
#include "l10n/LangTestIds.h"
#include "l10n/Localizer.h"
#include "platform/base/CodePages.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"
#include "unicode/controls/ScreenGrab.h"
#include "unicode/controls/UniDialogs.h"
#include "wolf/WolfFileReader.h"

namespace {

// Adds the given files whenever asked; every question is cancelled.
class TAddFiles : public TMainDialogs {
public:
  explicit TAddFiles(std::vector<WideString> files) : FFiles(std::move(files)) {}
  bool OpenFiles(TUniOpenDialogEx&, std::vector<WideString>& files) override {
    files = FFiles;
    return true;
  }
  int32_t MessageDlg(const WideString&, TMsgDlgType, TMsgDlgButtons) override { return mrCancel; }
  bool SelectDirectory(const WideString&, WideString&) override { return false; }

private:
  std::vector<WideString> FFiles;
};

class MainWindowBooks : public testing::Test {
protected:
  MainWindowBooks() {
    Settings = TSettings{};
    const std::string body =
        "<section><title><p>Chapter one</p></title><p>It was a quiet morning when the first book reached "
        "the reader.</p><p>The second paragraph follows the first.</p></section>";
    WriteBytes(Books / "story.fb2", TestFB2("A Small Book", body));
    Zipped = WriteTestZip(Books / "packed.zip", {{"inside.fb2", TestFB2("Packed", body), true}});
  }
  ~MainWindowBooks() override { Settings = TSettings{}; }

  // Creates the window with the program's converter, adds the books, runs beforeStart
  // and starts.
  TfrmMain& Convert(const std::vector<const char*>& names, const std::function<void()>& beforeStart = nullptr) {
    std::vector<WideString> files;
    for (const char* name : names) files.push_back(BooksDir() + AnsiToWideWithCodePage(name, CP_UTF8));
    Window = std::make_unique<TfrmMain>(nullptr, std::make_unique<TFB2WolBookConvertor>(),
                                        std::make_unique<TAddFiles>(files));
    Window->Show();
    Window->btnAddFiles->Click();
    if (beforeStart) beforeStart();
    Application->UpdateActions();
    Window->btnStartStop->Click();
    return *Window;
  }

  TReadWolfBook Read(const char* name) const {
    const std::string bytes = ReadBytes(Books / name);
    return ReadWolfBook(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
  }

  WideString BooksDir() const { return AnsiToWideWithCodePage(Books.Path(), CP_UTF8) + u"/"; }

  // The program's folder has a name in several scripts; the books lie in a folder with
  // an ASCII name, since the driver opens archives by 8-bit names.
  TProgramFolder Folder;
  TempFolder Books;
  bool Zipped = false;
  std::unique_ptr<TfrmMain> Window;
};

// Each book's stages end at 100 %: a stage line that ends lower says so.
TEST_F(MainWindowBooks, BooksBecomeWolfFilesTheReaderAccepts) {
  ASSERT_TRUE(Zipped);
  TfrmMain& w = Convert({"story.fb2", "packed.zip"});
  int32_t converted = 0;
  int32_t stages = 0;
  for (const TfrmMain::TLogLine& line : w.LogLines()) {
    EXPECT_NE(line.Kind, lkError) << WideToUtf8(line.Text);
    if (line.Kind == lkSuccess) ++converted;
    if (line.Kind != lkInfo || line.Text.starts_with(u"Start converting")) continue;
    ++stages;
    EXPECT_TRUE(line.Text.ends_with(u"... 100%")) << WideToUtf8(line.Text);
  }
  EXPECT_EQ(converted, 2);
  EXPECT_EQ(stages, 8);
  EXPECT_EQ(w.LogLines().back(), (TfrmMain::TLogLine{u"File \"" + BooksDir() + u"packed.zip\" converted.", lkSuccess}));
  for (const char* name : {"story.wol", "packed.wol"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(Read(name).Images.empty());
  }
}

// Damaged archives are named as damaged, each failing alone in the stage it failed in
// (loading, which never reads as complete); an archive gone since it was added is named
// with the reason. The books around them are converted.
TEST_F(MainWindowBooks, DamagedArchivesAreNamedAsDamaged) {
  ASSERT_TRUE(Zipped);
  const std::string packed = ReadBytes(Books / "packed.zip");
  WriteBytes(Books / "cut.zip", packed.substr(0, packed.size() / 2));
  // Stored, one byte of the text changed: the XML stays well formed, only the CRC tells.
  ASSERT_TRUE(WriteTestZip(Books / "crc.zip", {{"inside.fb2", TestFB2("Checked", "<section><p>Text</p></section>")}}));
  std::string crc = ReadBytes(Books / "crc.zip");
  crc[crc.find("Text")] = 'N';
  WriteBytes(Books / "crc.zip", crc);
  WriteBytes(Books / "notzip.zip", "This is a letter, not an archive.");
  WriteBytes(Books / "empty.zip", "");
  WriteBytes(Books / "gone.zip", "");
  const std::pair<const char*, WideString> cases[] = {
      {"cut.zip", u"The ZIP archive is damaged: it is cut short."},
      {"crc.zip", u"The ZIP archive is damaged: \"inside.fb2\" fails its checksum (CRC)."},
      {"notzip.zip", u"This file is not a ZIP archive."},
      {"empty.zip", u"The ZIP file is empty."},
      {"gone.zip", u"File \"" + BooksDir() + u"gone.zip\" not converted: File not found"},
  };
  std::vector<const char*> names{"story.fb2"};
  for (const auto& [name, message] : cases) names.push_back(name);
  names.push_back("packed.zip");
  TfrmMain& w = Convert(names, [this] { std::filesystem::remove(Books / "gone.zip"); });

  const std::vector<TfrmMain::TLogLine> lines = w.LogLines();
  for (const auto& [name, message] : cases) {
    SCOPED_TRACE(name);
    const WideString begins = u"Start converting \"" + BooksDir() + AnsiToWideWithCodePage(name, CP_UTF8) + u"\"...";
    const auto at = std::find(lines.begin(), lines.end(), TfrmMain::TLogLine{begins, lkInfo});
    ASSERT_GE(std::distance(at, lines.end()), 3);
    EXPECT_EQ(std::vector(at + 1, at + 3),
              (std::vector<TfrmMain::TLogLine>{{u"Loading...", lkInfo}, {message, lkError}}));
  }
  EXPECT_EQ(lines.back(), (TfrmMain::TLogLine{u"File \"" + BooksDir() + u"packed.zip\" converted.", lkSuccess}));
  EXPECT_FALSE(Read("story.wol").Images.empty());
  EXPECT_FALSE(Read("packed.wol").Images.empty());
}

// The buttons that a window's frame offers: a frame whose flags name no buttons of their
// own gets every one from the window manager.
WideString FrameButtons(const QWidget& window) {
  const Qt::WindowFlags flags = window.windowFlags();
  if (!flags.testFlag(Qt::CustomizeWindowHint)) return u"minimize maximize close";
  WideString buttons;
  for (const auto& [flag, name] :
       {std::pair{Qt::WindowMinimizeButtonHint, u"minimize "}, std::pair{Qt::WindowMaximizeButtonHint, u"maximize "},
        std::pair{Qt::WindowCloseButtonHint, u"close"}})
    if (flags.testFlag(flag)) buttons += name;
  return buttons;
}

// The log from its line first on, a line each, with its kind.
WideString LogFrom(const TfrmMain& window, size_t first) {
  const char16_t* kinds[] = {u" [info]", u" [error]", u" [success]"};
  WideString text;
  const std::vector<TfrmMain::TLogLine> lines = window.LogLines();
  for (size_t i = first; i < lines.size(); ++i)
    text += (i > first ? u"\n" : u"") + lines[i].Text + kinds[lines[i].Kind];
  return text;
}

// What the window says and how its windows look, as a user meets them: the read error
// without a stray letter, a failed load that never reads as complete, a batch refused
// before its first book drawn as a failure, dialogs that cannot be minimized or
// maximized, and a translated file filter that must keep its masks.
TEST_F(MainWindowBooks, MessagesAndLooks) {
  if (RerunUnprivileged()) return;
  namespace fs = std::filesystem;
  WriteBytes(Books / "unreadable.fb2", "<FictionBook><body>");
  fs::create_directory(Books / "locked");
  fs::permissions(Books / "locked", fs::perms::owner_write, fs::perm_options::remove);
  const WideString locked = BooksDir() + u"locked";

  // The open dialog's filter after a switch to a language that translates it.
  const auto translatedFilter = [this](const WideString& filter) {
    Window.reset();
    TfrmMain& english = Convert({});
    const uint32_t id = LangIdOf(english.dlcMain->Root(), english.OpenDlg, "Filter");
    WriteBytes(Folder / "QuirefoldB_de.lng",
               Utf16LEWithBom(u"LANGID=1031\r\n[MainWindow]\r\n" + WideFormat(u"%d=", {static_cast<int32_t>(id)}) +
                              filter + u"\r\n"));
    Convert({});
    LangManager().SetLanguageID(1031);
    const WideString shown = LangManager().GetLanguageID() == 1031 ? Window->OpenDlg->Filter() : u"(not switched)";
    LangManager().SetLanguageID(TLanguageManager::DefaultLangID);
    return shown;
  };
  struct TLook {
    const char* What;
    std::function<WideString()> Shown;
    WideString Expected;
  };
  const TLook looks[] = {
      {"read error", [&] { return LogFrom(Convert({"unreadable.fb2"}), 1); },
       u"Loading... [info]\nCan't read FB2 file! Make sure that file is correct. [error]"},
      {"refused destination",
       [&] {
         return LogFrom(Convert({"story.fb2"},
                                [&] {
                                  Window->rdoUseSpecialDir->SetChecked(true);
                                  Window->rdoUseSpecialDir->Click();
                                  Window->edtDestinationDir->SetText(locked);
                                }),
                        0);
       },
       u"Can't write to directory \"" + locked + u"\". Access is denied. [error]\nConversion stopped. [error]"},
      {"language dialog",
       [] {
         TfrmSelectLanguage dialog(nullptr);
         dialog.HandleNeeded();
         return FrameButtons(*dialog.Widget());
       },
       u"close"},
      {"message dialog",
       [] {
         const std::unique_ptr<TUniMessageForm> dialog =
             WideCreateMessageDialog(u"Remove?", mtConfirmation, MsgDlgButton(mbOK) | MsgDlgButton(mbCancel));
         dialog->HandleNeeded();
         return FrameButtons(*dialog->Widget());
       },
       u"close"},
      {"translated filter without masks", [&] { return translatedFilter(u"FictionBook-Dateien"); },
       u"FictionBook Files (*.fb2;*.zip)|*.fb2;*.zip"},
      {"translated filter", [&] { return translatedFilter(u"FictionBook-Dateien|*.fb2;*.zip"); },
       u"FictionBook-Dateien|*.fb2;*.zip"},
  };
  for (const TLook& look : looks) {
    SCOPED_TRACE(look.What);
    EXPECT_EQ(WideToUtf8(look.Shown()), WideToUtf8(look.Expected));
  }
  fs::permissions(Books / "locked", fs::perms::owner_write, fs::perm_options::add);
}

// Under xvfb-run: the window after converting a small book, saved to QF_SCREENSHOT_DIR.
TEST_F(MainWindowBooks, Screenshot) {
  if (QGuiApplication::platformName() != "xcb")
    GTEST_FAIL() << "screenshots need an X display: run the Screenshots test entry, which starts one";
  TfrmMain& w = Convert({"story.fb2"});
  const QImage image = GrabScreenshot(*w.Widget(), "main-window");
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), w.Width());
  // The log's last line, "File ... converted.", is drawn in dark green (its edges
  // blended with the white background).
  int green = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      if (qGreen(pixel) > qRed(pixel) + 40 && qGreen(pixel) > qBlue(pixel) + 40) ++green;
    }
  EXPECT_GT(green, 100);
  ExpectControlsFit(w);
}

// Under xvfb-run: the same in Russian, whose texts are longer than the English ones; every
// caption is whole. Saved as main-window-ru.png.
TEST_F(MainWindowBooks, ScreenshotInRussian) {
  if (QGuiApplication::platformName() != "xcb")
    GTEST_FAIL() << "screenshots need an X display: run the Screenshots test entry, which starts one";
  {
    TfrmMain english(nullptr, std::make_unique<TFB2WolBookConvertor>(),
                     std::make_unique<TAddFiles>(std::vector<WideString>{}));
    WriteBytes(Folder / "QuirefoldB_ru.lng", RussianMainWindowFile(*english.dlcMain));
  }
  Settings = DefaultSettings();
  Settings.LanguageId = RussianLangID;
  SaveSettings();
  TfrmMain& w = Convert({"story.fb2"});
  ASSERT_EQ(LangManager().GetLanguageID(), RussianLangID);
  EXPECT_EQ(w.LogLines().back().Kind, lkSuccess);
  const QImage image = GrabScreenshot(*w.Widget(), "main-window-ru");
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), w.Width());
  ExpectControlsFit(w);
  LangManager().SetLanguageID(TLanguageManager::DefaultLangID);
}

}  // namespace
