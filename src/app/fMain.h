// The main window: the books of the batch, where their ".wol" files go, the scheme, what
// to do with an existing ".wol", the Start/Break button and a coloured log.
//
// The batch runs inside the Start button's handler, on the GUI thread; the converter's
// progress reports keep the window alive by letting pending events run, and so a second
// press of the button (now "Break") arrives there and cancels the rest of the batch.
// Closing the window during a batch acts as Break, and the window closes once the batch
// has ended. A book that fails, for whatever reason, is a red line of its own and the
// batch goes on with the next one; Break ends every remaining book with "User break!".
//
// The window is never smaller than 350 x 500 pixels, nor than its captions need: a
// control whose caption (in the font shown, in the language shown) is wider than its
// designed width grows to it, its neighbours make room, and the window grows with them.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <vector>

#include "app/uBookConvertor.h"
#include "app/uMainDialogs.h"
#include "l10n/LangController.h"
#include "unicode/controls/UniActnList.h"
#include "unicode/controls/UniDialogs.h"
#include "unicode/controls/UniForms.h"

class TfrmSelectLanguage;

// What a log line reports; its colour follows.
enum TLogKind : int32_t { lkInfo = 0, lkError = 1, lkSuccess = 2 };

// What an existing ".wol" gets: the entries of the override choice.
enum TOverrideMode : int32_t { omAsk = 0, omOverride = 1, omDontConvert = 2 };

// The answer to the override question that holds for the rest of a batch.
enum TOverrideAnswer : int32_t { oaNone = 0, oaOverrideAll = 1, oaSkipAll = 2 };

class TfrmMain : public TUniForm {
public:
  // Loads the settings and applies them, lists the schemes and selects the stored one,
  // then registers the language files and switches to the stored language.
  TfrmMain(TComponent* owner, std::unique_ptr<TBookConvertor> convertor, std::unique_ptr<TMainDialogs> dialogs);
  ~TfrmMain() override;

  // The language dialog that the Language button shows; created after this window.
  void SetLanguageDialog(TfrmSelectLanguage* dialog) { FLanguageDialog = dialog; }

  // One line of the log.
  struct TLogLine {
    WideString Text;
    TLogKind Kind;
    bool operator==(const TLogLine&) const = default;
  };
  std::vector<TLogLine> LogLines() const;
  bool Converting() const { return FConverting; }

  // The ".wol" that a source gets: beside it with "Source directory", else in the
  // destination folder; the extension replaced by (or, without one, ".wol" added).
  WideString GetOutputFileName(const WideString& source) const;

  TUniGroupBox* gbxFiles;
  TUniListBox* lbxFiles;
  TUniButton* btnAddFiles;
  TUniButton* btnRemoveFiles;
  TUniButton* btnLanguage;
  TUniGroupBox* gbxDestination;
  TUniRadioButton* rdoUseSourceDir;
  TUniRadioButton* rdoUseSpecialDir;
  TUniEdit* edtDestinationDir;
  TUniButton* btnBrowseDestDir;
  TUniGroupBox* gbxSettings;
  TUniLabel* lblSchemeName;
  TUniComboBox* cmbScheme;
  TUniLabel* UniLabel1;
  TUniComboBox* cmbOverrideMode;
  TUniButton* btnStartStop;
  TUniLabel* lblLog;
  TUniListBox* lbxLog;
  TUniActionList* aclMain;
  TUniAction* actAddFiles;
  TUniAction* actRemoveFile;
  TUniAction* actConvert;
  TUniAction* actLanguage;
  TUniAction* actBrowseDestDir;
  // Always enabled, bound to no control, with no handler.
  TUniAction* actOptions;
  TUniAction* actExit;
  TLanguageController* dlcMain;
  TUniOpenDialogEx* OpenDlg;

private:
  void CreateComponents();
  void CreateActions();
  void CreateLanguageController();
  void FormCreate();
  // Places the controls for the window's size and the widths their captions need.
  void FormResize();
  void FormCloseQuery(bool& canClose);

  void AddLog(const WideString& text, TLogKind kind);
  void ReplaceLastLog(const WideString& text);
  void EnableControls(bool enable);
  void rdoSelectDestDirClick();
  void cmbSchemeChange();
  void cmbOverrideModeChange();
  void ShowOverrideMode();
  void dlcMainLanguageChanged();
  void AppException(const std::exception& e);

  void actAddFilesExecute();
  void actRemoveFileExecute();
  void actConvertExecute();
  void actLanguageExecute();
  void actBrowseDestDirExecute();

  // The batch over every listed file.
  void RunBatch();
  // Break: the button is disabled and every later progress report answers cancel.
  void RequestBreak();
  // Idle again: "Start", controls enabled; a close asked for during the batch happens now.
  void EndBatch();
  // Makes "This directory:" ready before any book: asks for a missing folder and creates
  // it, checks that it takes files and logs where the books go. False, with the log saying
  // why, stops the batch.
  bool PrepareDestination();
  // Logs a folder that takes no files with the system's reason; always false.
  bool RefuseDestination(const WideString& dir, const WideString& reason);
  void ConvertFile(const WideString& source);
  // The stage whose line the log shows last has ended: its line shows 100 %.
  void EndStage();
  // Whether an existing output is converted over; raises for a skipped or cancelled one.
  bool ShouldOverride(const WideString& out);
  void ConvertorProgress(const WideString& msg, int32_t percent, bool& cancel);

  std::unique_ptr<TBookConvertor> FConvertor;
  std::unique_ptr<TMainDialogs> FDialogs;
  TfrmSelectLanguage* FLanguageDialog = nullptr;
  // The kind of each log line, in the order of the lines.
  std::vector<TLogKind> FLogKinds;
  bool FConverting = false;
  bool FBreakRequested = false;
  // A close was asked for during the batch: the window closes when it has ended.
  bool FCloseAfterBatch = false;
  TOverrideAnswer FOverrideAnswer = oaNone;
  // The stage message and percent last written by the progress handler.
  WideString FLastMessage;
  int32_t FLastPercent = 0;
  // The percent that the current stage's line shows; -1 while it shows none.
  int32_t FShownPercent = -1;
};
