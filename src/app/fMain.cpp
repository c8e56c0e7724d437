#include "app/fMain.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <tuple>
#include <utility>

#include "app/AppResStrings.h"
#include "app/fSelectLanguage.h"
#include "app/uGlobals.h"
#include "app/uLanguages.h"
#include "app/uOutputFolder.h"
#include "app/uVersion.h"
#include "convert/ConvertResStrings.h"
#include "convert/cVoDaziScheme.h"
#include "l10n/Localizer.h"
#include "platform/base/CodePages.h"
#include "platform/base/FileSystem.h"
#include "platform/base/LastError.h"
#include "platform/base/Module.h"
#include "unicode/UniClasses.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"
#include "unicode/WideException.h"

namespace {

constexpr int32_t DesignedWidth = 433;
constexpr int32_t DesignedHeight = 500;
constexpr int32_t SmallestWidth = 350;
constexpr int32_t SmallestHeight = 500;
// What the file list and the destination edit keep at least when captions beside them
// grow.
constexpr int32_t SmallestListWidth = 100;
constexpr int32_t SmallestEditWidth = 80;

// The built-in entries of the override choice, one per mode in the order of the modes.
constexpr const char16_t* OverrideModeTexts[] = {u"Ask", u"Override", u"Don't convert"};
constexpr int32_t OverrideModeCount = static_cast<int32_t>(std::size(OverrideModeTexts));

// The open dialog's one filter: its name, then its masks after "|".
constexpr const char16_t* BookFilter = u"FictionBook Files (*.fb2;*.fbz;*.zip)|*.fb2;*.fbz;*.zip";

// The mode that a stored or shown index stands for: anything but one of the entries (a
// box left blank, a value written into the settings by hand) asks.
TOverrideMode OverrideModeOf(int32_t index) {
  return index >= 0 && index < OverrideModeCount ? static_cast<TOverrideMode>(index) : omAsk;
}

// TColor (0x00BBGGRR) of each log kind: black, pure red, dark green.
constexpr int32_t LogColors[] = {0x000000, 0x0000FF, 0x008000};

WideString Res(PResStringRec record) { return LoadWideResString(record); }

// A WideException's UTF-16 message, any other exception's message converted.
WideString ExceptionText(const std::exception& e) {
  if (const auto* wide = dynamic_cast<const WideException*>(&e)) return wide->WideMessage();
  return AnsiToWide(e.what());
}

// A message as one line of the log: its line breaks become blanks.
WideString OneLine(const WideString& text) {
  WideString line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n')
      line += text[i];
    else if (!(text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n'))
      line += u' ';
  }
  return line;
}

// The index of the item whose text is exactly text (case counts), or -1.
int32_t IndexOfExact(const TCustomListControl& list, const WideString& text) {
  for (int32_t i = 0; i < list.ItemCount(); ++i)
    if (list.Item(i).Text == text) return i;
  return -1;
}

}  // namespace

TfrmMain::TfrmMain(TComponent* owner, std::unique_ptr<TBookConvertor> convertor, std::unique_ptr<TMainDialogs> dialogs)
    : TUniForm(owner),
      gbxFiles(CreateOwned<TUniGroupBox>(*this)),
      lbxFiles(CreateOwned<TUniListBox>(*this)),
      btnAddFiles(CreateOwned<TUniButton>(*this)),
      btnRemoveFiles(CreateOwned<TUniButton>(*this)),
      btnLanguage(CreateOwned<TUniButton>(*this)),
      gbxDestination(CreateOwned<TUniGroupBox>(*this)),
      rdoUseSourceDir(CreateOwned<TUniRadioButton>(*this)),
      rdoUseSpecialDir(CreateOwned<TUniRadioButton>(*this)),
      edtDestinationDir(CreateOwned<TUniEdit>(*this)),
      btnBrowseDestDir(CreateOwned<TUniButton>(*this)),
      gbxSettings(CreateOwned<TUniGroupBox>(*this)),
      lblSchemeName(CreateOwned<TUniLabel>(*this)),
      cmbScheme(CreateOwned<TUniComboBox>(*this)),
      UniLabel1(CreateOwned<TUniLabel>(*this)),
      cmbOverrideMode(CreateOwned<TUniComboBox>(*this)),
      btnStartStop(CreateOwned<TUniButton>(*this)),
      lblLog(CreateOwned<TUniLabel>(*this)),
      lbxLog(CreateOwned<TUniListBox>(*this)),
      aclMain(CreateOwned<TUniActionList>(*this)),
      actAddFiles(CreateOwned<TUniAction>(*this)),
      actRemoveFile(CreateOwned<TUniAction>(*this)),
      actConvert(CreateOwned<TUniAction>(*this)),
      actLanguage(CreateOwned<TUniAction>(*this)),
      actBrowseDestDir(CreateOwned<TUniAction>(*this)),
      actOptions(CreateOwned<TUniAction>(*this)),
      actExit(CreateOwned<TUniAction>(*this)),
      dlcMain(CreateOwned<TLanguageController>(*this)),
      OpenDlg(CreateOwned<TUniOpenDialogEx>(*this)),
      FConvertor(std::move(convertor)),
      FDialogs(std::move(dialogs)) {
  CreateComponents();
  CreateActions();
  FormResize();
  CreateLanguageController();
  FormCreate();
}

// The texts are collected before the lists of schemes, files and log lines are filled, so
// that none of those is ever taken for a text to translate.
void TfrmMain::CreateLanguageController() {
  dlcMain->SetSectionName(u"MainWindow");
  for (const char* mask :
       {".Caption", "actConvert.Caption", "actExit.Caption", "actOptions.Caption", "cmbOverrideMode.Text",
        "edtDestinationDir.Text", "lbxFiles.Items", "lbxLog.Items", "OpenDlg.DefaultExt"})
    dlcMain->IgnoreList().Add(mask);
  dlcMain->OnLanguageChanged = [this](TObject*) { dlcMainLanguageChanged(); };
  dlcMain->UpdateComponents(true);
  LangManager().TranslateToCurrent(*dlcMain);
}

TfrmMain::~TfrmMain() {
  if (Application) Application->OnException = nullptr;
}

void TfrmMain::CreateComponents() {
  SetName("frmMain");
  SetWidth(DesignedWidth);
  SetHeight(DesignedHeight);
  SetConstraints({SmallestWidth, SmallestHeight});
  OnResize = [this](TObject*) { FormResize(); };
  OnCloseQuery = [this](TObject*, bool& canClose) { FormCloseQuery(canClose); };

  // Names the control, puts it on its parent and gives it its designed text, if any.
  const auto place = [](TControl* control, const char* name, TWinControl* parent, const char16_t* text = nullptr) {
    control->SetName(name);
    control->SetParent(parent);
    if (text) control->SetCaption(text);
  };
  place(gbxFiles, "gbxFiles", this, u" FictionBook2 files to convert ");
  place(lbxFiles, "lbxFiles", gbxFiles);
  place(btnAddFiles, "btnAddFiles", gbxFiles);
  place(btnRemoveFiles, "btnRemoveFiles", gbxFiles);
  place(btnLanguage, "btnLanguage", gbxFiles);
  place(gbxDestination, "gbxDestination", this, u" Save WOL files to ");
  place(rdoUseSourceDir, "rdoUseSourceDir", gbxDestination, u"Source directory");
  place(rdoUseSpecialDir, "rdoUseSpecialDir", gbxDestination, u"This directory:");
  place(edtDestinationDir, "edtDestinationDir", gbxDestination);
  place(btnBrowseDestDir, "btnBrowseDestDir", gbxDestination);
  place(gbxSettings, "gbxSettings", this, u" Conversion settings ");
  place(lblSchemeName, "lblSchemeName", gbxSettings, u"Scheme name:");
  place(cmbScheme, "cmbScheme", gbxSettings);
  place(UniLabel1, "UniLabel1", gbxSettings, u"Override existing files:");
  place(cmbOverrideMode, "cmbOverrideMode", gbxSettings);
  place(btnStartStop, "btnStartStop", this);
  place(lblLog, "lblLog", this, u"Log");
  place(lbxLog, "lbxLog", this);

  lbxFiles->SetMultiSelect(true);
  rdoUseSourceDir->SetChecked(true);
  for (TUniRadioButton* choice : {rdoUseSourceDir, rdoUseSpecialDir})
    choice->OnClick = [this](TObject*) { rdoSelectDestDirClick(); };
  cmbScheme->SetStyle(csDropDownList);
  cmbScheme->OnChange = [this](TObject*) { cmbSchemeChange(); };
  cmbOverrideMode->SetStyle(csDropDownList);
  for (const char16_t* entry : OverrideModeTexts) cmbOverrideMode->Items()->Add(entry);
  cmbOverrideMode->OnChange = [this](TObject*) { cmbOverrideModeChange(); };
  lbxLog->SetHighlightSelection(false);
  lbxLog->OnItemColor = [this](int32_t index) { return LogColors[FLogKinds.at(static_cast<size_t>(index))]; };

  aclMain->SetName("aclMain");
  dlcMain->SetName("dlcMain");
  OpenDlg->SetName("OpenDlg");
  OpenDlg->SetTitle(u"Select FB2 file(s) to add");
  OpenDlg->SetFilter(BookFilter);
  OpenDlg->SetDefaultExt(u"*.fb2;*.fbz;*.zip");
  OpenDlg->SetOptions(ofAllowMultiSelect | ofFileMustExist);
}

void TfrmMain::CreateActions() {
  struct TActionDef {
    TUniAction* Action;
    const char* Name;
    const char16_t* Caption;
    TButton* Button;
    void (TfrmMain::*Execute)();
  };
  const TActionDef defs[] = {
      {actAddFiles, "actAddFiles", u"Add File(s)", btnAddFiles, &TfrmMain::actAddFilesExecute},
      {actRemoveFile, "actRemoveFile", u"Remove", btnRemoveFiles, &TfrmMain::actRemoveFileExecute},
      {actConvert, "actConvert", u"Convert", btnStartStop, &TfrmMain::actConvertExecute},
      {actLanguage, "actLanguage", u"Language", btnLanguage, &TfrmMain::actLanguageExecute},
      {actBrowseDestDir, "actBrowseDestDir", u"Browse", btnBrowseDestDir, &TfrmMain::actBrowseDestDirExecute},
  };
  for (const TActionDef& def : defs) {
    def.Action->SetName(def.Name);
    def.Action->SetCaption(def.Caption);
    def.Action->SetActionList(aclMain);
    def.Action->OnExecute = [this, execute = def.Execute](TObject*) { (this->*execute)(); };
    def.Button->SetAction(def.Action);
  }
  for (const auto& [action, name, caption] :
       {std::tuple{actOptions, "actOptions", u"Options"}, std::tuple{actExit, "actExit", u"Exit"}}) {
    action->SetName(name);
    action->SetCaption(caption);
    action->SetActionList(aclMain);
  }
  actAddFiles->OnUpdate = [this](TObject*) { actAddFiles->SetEnabled(!FConverting); };
  actRemoveFile->OnUpdate = [this](TObject*) { actRemoveFile->SetEnabled(!FConverting && lbxFiles->SelCount() > 0); };
  // A requested break keeps the button disabled until the batch has ended.
  actConvert->OnUpdate = [this](TObject*) { actConvert->SetEnabled(lbxFiles->ItemCount() > 0 && !FBreakRequested); };
  actBrowseDestDir->OnUpdate = [this](TObject*) {
    actBrowseDestDir->SetEnabled(!FConverting && rdoUseSpecialDir->Checked());
  };
}

void TfrmMain::FormResize() {
  // What a control's caption needs (in the font and language shown; nothing before the
  // control has a widget), and the width it takes: the designed one, or more.
  const auto least = [](const TControl* control) { return control->FitSize().Width; };
  const auto fit = [&least](const TControl* control, int32_t designed) { return std::max(designed, least(control)); };
  // Places a control of a row; one that needs more height than designed for its text
  // grows about the row's middle.
  const auto place = [](TControl* control, int32_t left, int32_t top, int32_t width, int32_t height) {
    const int32_t needed = std::max(height, control->FitSize().Height);
    control->SetBounds(left, top - (needed - height) / 2, width, needed);
  };
  const int32_t buttonWidth =
      std::max({fit(btnAddFiles, 85), fit(btnRemoveFiles, 85), fit(btnLanguage, 85), fit(btnBrowseDestDir, 85)});
  const int32_t sourceWidth = fit(rdoUseSourceDir, 200);
  const int32_t specialWidth = fit(rdoUseSpecialDir, 104);
  int32_t labelWidth = std::max(fit(lblSchemeName, 136), fit(UniLabel1, 136));
  int32_t comboWidth = std::max(fit(cmbScheme, 160), fit(cmbOverrideMode, 160));
  int32_t startWidth = fit(btnStartStop, 89);
  const int32_t labelLeast = std::max(least(lblSchemeName), least(UniLabel1));
  const int32_t comboLeast = std::max(least(cmbScheme), least(cmbOverrideMode));
  const int32_t settingsLeast = std::max(10 + labelLeast + 4 + comboLeast + 10, least(gbxSettings));

  // The window takes at least what the widest row needs.
  const int32_t smallest = std::max({
      SmallestWidth,
      8 + least(gbxFiles) + 8,
      8 + 10 + SmallestListWidth + 8 + buttonWidth + 10 + 8,
      8 + least(gbxDestination) + 8,
      8 + 10 + sourceWidth + 10 + 8,
      8 + 10 + specialWidth + 2 + SmallestEditWidth + 8 + buttonWidth + 10 + 8,
      8 + settingsLeast + 8 + least(btnStartStop) + 8,
      8 + fit(lblLog, 100) + 8,
  });
  if (Constraints().MinWidth != smallest) SetConstraints({smallest, SmallestHeight});
  const int32_t width = Width();
  const int32_t height = Height();

  // A window narrower than designed takes the width from the settings row: from the
  // combo boxes first, then from the labels, then from the Start button, each down to
  // what its caption needs.
  int32_t excess = std::max(10 + labelWidth + 4 + comboWidth + 10, least(gbxSettings)) + startWidth + 24 - width;
  for (const auto& [taken, floor] :
       {std::pair<int32_t*, int32_t>{&comboWidth, comboLeast}, std::pair<int32_t*, int32_t>{&labelWidth, labelLeast},
        std::pair<int32_t*, int32_t>{&startWidth, least(btnStartStop)}}) {
    const int32_t given = std::clamp(excess, 0, std::max(*taken - floor, 0));
    *taken -= given;
    excess -= given;
  }

  // The frames stretch sideways, the buttons on the right move with the right edge, the
  // lists and the edit take what the buttons leave, and the log takes the extra height.
  const int32_t frameWidth = width - 16;
  const int32_t buttonLeft = frameWidth - 10 - buttonWidth;
  gbxFiles->SetBounds(8, 8, frameWidth, 170);
  lbxFiles->SetBounds(10, 20, buttonLeft - 8 - 10, 140);
  place(btnAddFiles, buttonLeft, 20, buttonWidth, 25);
  place(btnRemoveFiles, buttonLeft, 50, buttonWidth, 25);
  place(btnLanguage, buttonLeft, 135, buttonWidth, 25);

  gbxDestination->SetBounds(8, 184, frameWidth, 72);
  place(rdoUseSourceDir, 10, 20, sourceWidth, 17);
  place(rdoUseSpecialDir, 10, 44, specialWidth, 17);
  const int32_t editLeft = std::max(116, 10 + specialWidth + 2);
  place(edtDestinationDir, editLeft, 42, buttonLeft - 8 - editLeft, 21);
  place(btnBrowseDestDir, buttonLeft, 40, buttonWidth, 25);

  gbxSettings->SetBounds(8, 262, width - 8 - startWidth - 8 - 8, 72);
  const int32_t comboLeft = 10 + labelWidth + 4;
  place(lblSchemeName, 10, 22, labelWidth, 13);
  place(cmbScheme, comboLeft, 18, comboWidth, 21);
  place(UniLabel1, 10, 48, labelWidth, 13);
  place(cmbOverrideMode, comboLeft, 44, comboWidth, 21);
  place(btnStartStop, width - 8 - startWidth, 268, startWidth, 66);

  place(lblLog, 8, 342, fit(lblLog, 100), 13);
  lbxLog->SetBounds(8, 358, frameWidth, height - 358 - 8);
}

void TfrmMain::FormCreate() {
  SetCaption(VersionCaption(WideGetModuleFileName(HInstance)));
  Application->OnException = [this](const std::exception& e) { AppException(e); };
  FConverting = false;
  FOverrideAnswer = oaNone;
  FLastMessage.clear();
  FLastPercent = 0;

  LoadSettings();
  // A stored size below the smallest is raised to it.
  SetBounds(Settings.FormXPos >= 0 ? Settings.FormXPos : Left(), Settings.FormYPos >= 0 ? Settings.FormYPos : Top(),
            Settings.FormXLen > 0 ? Settings.FormXLen : Width(), Settings.FormYLen > 0 ? Settings.FormYLen : Height());
  FormResize();

  lbxFiles->Items()->Clear();
  OpenDlg->SetInitialDir(Settings.LastSourceDir);
  rdoUseSourceDir->SetChecked(Settings.UseSourceDir);
  rdoUseSpecialDir->SetChecked(!Settings.UseSourceDir);
  edtDestinationDir->SetText(Settings.DestinationDir);
  rdoSelectDestDirClick();

  MigrateOldSchemes();
  TUniStringList schemes;
  ListSchemes(schemes);
  cmbScheme->Items()->AddStrings(schemes);
  if (cmbScheme->ItemCount() == 0) {
    cmbScheme->Items()->Add(u"(unnamed)");
    cmbScheme->SetItemIndex(0);
  } else {
    const int32_t found = IndexOfExact(*cmbScheme, Settings.SchemeName);
    cmbScheme->SetItemIndex(found < 0 ? 0 : found);
    FConvertor->SelectScheme(cmbScheme->Item(cmbScheme->ItemIndex()).Text);
  }
  Settings.SchemeName = cmbScheme->Item(cmbScheme->ItemIndex()).Text;

  FConvertor->SetOnProgress(
      [this](const WideString& msg, int32_t percent, bool& cancel) { ConvertorProgress(msg, percent, cancel); });
  btnStartStop->SetCaption(Res(&SBtnStart));
  ShowOverrideMode();
  lbxLog->Items()->Clear();
  FLogKinds.clear();

  // A stored language whose file cannot be loaded leaves the built-in one, and says so.
  WideString languageFailure;
  RegisterLanguageFiles(languageFailure);
  if (!languageFailure.empty()) AddLog(languageFailure, lkError);
}

void TfrmMain::AddLog(const WideString& text, TLogKind kind) {
  FLogKinds.push_back(kind);
  lbxLog->Items()->Add(OneLine(text));
  lbxLog->SetItemIndex(lbxLog->ItemCount() - 1);
}

void TfrmMain::ReplaceLastLog(const WideString& text) {
  if (lbxLog->ItemCount() > 0) lbxLog->Items()->SetString(lbxLog->ItemCount() - 1, OneLine(text));
}

std::vector<TfrmMain::TLogLine> TfrmMain::LogLines() const {
  std::vector<TLogLine> lines;
  for (int32_t i = 0; i < lbxLog->ItemCount(); ++i)
    lines.push_back({lbxLog->Item(i).Text, FLogKinds[static_cast<size_t>(i)]});
  return lines;
}

WideString TfrmMain::GetOutputFileName(const WideString& source) const {
  if (rdoUseSourceDir->Checked()) return WideChangeFileExt(source, u".wol");
  return WideIncludeTrailingBackslash(edtDestinationDir->Text()) +
         WideChangeFileExt(WideExtractFileName(source), u".wol");
}

void TfrmMain::EnableControls(bool enable) {
  for (TControl* control :
       std::initializer_list<TControl*>{lbxFiles, rdoUseSourceDir, rdoUseSpecialDir, cmbScheme, cmbOverrideMode})
    control->SetEnabled(enable);
  btnAddFiles->SetEnabled(enable && actAddFiles->Enabled());
  btnRemoveFiles->SetEnabled(enable && actRemoveFile->Enabled());
  edtDestinationDir->SetEnabled(enable && rdoUseSpecialDir->Checked());
  btnBrowseDestDir->SetEnabled(enable && actBrowseDestDir->Enabled());
}

void TfrmMain::rdoSelectDestDirClick() {
  edtDestinationDir->SetEnabled(rdoUseSpecialDir->Checked());
  btnBrowseDestDir->SetEnabled(rdoUseSpecialDir->Checked());
}

void TfrmMain::cmbSchemeChange() {
  Settings.SchemeName = cmbScheme->Item(cmbScheme->ItemIndex()).Text;
  FConvertor->SelectScheme(Settings.SchemeName);
}

void TfrmMain::cmbOverrideModeChange() { Settings.OverrideMode = OverrideModeOf(cmbOverrideMode->ItemIndex()); }

// A translation may list the override entries short or long: the box keeps one entry per
// mode, with the built-in text for each that the translation leaves out, and shows the
// stored mode.
void TfrmMain::ShowOverrideMode() {
  TUniComboBoxStrings& entries = *cmbOverrideMode->Items();
  while (entries.Count() > OverrideModeCount) entries.Delete(entries.Count() - 1);
  for (int32_t i = entries.Count(); i < OverrideModeCount; ++i) entries.Add(OverrideModeTexts[i]);
  cmbOverrideMode->SetItemIndex(OverrideModeOf(Settings.OverrideMode));
}

void TfrmMain::dlcMainLanguageChanged() {
  btnStartStop->SetCaption(Res(FConverting ? &SBtnBreak : &SBtnStart));
  cmbScheme->SetItemIndex(IndexOfExact(*cmbScheme, Settings.SchemeName));
  ShowOverrideMode();
  // A translated filter without its masks would let the open dialog list no file.
  if (OpenDlg->Filter().find(u'|') == WideString::npos) OpenDlg->SetFilter(BookFilter);
  // The new captions may need more room.
  FormResize();
}

void TfrmMain::AppException(const std::exception& e) { AddLog(ExceptionText(e), lkError); }

void TfrmMain::actAddFilesExecute() {
  std::vector<WideString> files;
  if (!FDialogs->OpenFiles(*OpenDlg, files) || files.empty()) return;
  Settings.LastSourceDir = WideExcludeTrailingBackslash(WideExtractFilePath(files.front()));
  for (const WideString& file : files) lbxFiles->Items()->Add(file);
}

void TfrmMain::actRemoveFileExecute() {
  const int32_t count = lbxFiles->SelCount();
  if (count > 1 && FDialogs->MessageDlg(WideFormat(Res(&SMsgConfirmRemove), {count}), mtConfirmation,
                                        MsgDlgButton(mbOK) | MsgDlgButton(mbCancel)) != mrOk)
    return;
  for (int32_t i = lbxFiles->ItemCount() - 1; i >= 0; --i)
    if (lbxFiles->Selected(i)) lbxFiles->Items()->Delete(i);
}

void TfrmMain::actLanguageExecute() {
  if (FLanguageDialog) ChooseLanguage(*FLanguageDialog);
}

void TfrmMain::actBrowseDestDirExecute() {
  WideString directory = edtDestinationDir->Text();
  if (FDialogs->SelectDirectory(Res(&SLblDestinationDir), directory)) edtDestinationDir->SetText(directory);
}

void TfrmMain::actConvertExecute() {
  if (FConverting) {
    RequestBreak();
    Application->ProcessMessages();
    return;
  }
  FConverting = true;
  FBreakRequested = false;
  FOverrideAnswer = oaNone;
  EnableControls(false);
  btnStartStop->SetCaption(Res(&SBtnBreak));
  try {
    RunBatch();
  } catch (...) {
    EndBatch();
    throw;
  }
  EndBatch();
}

void TfrmMain::RequestBreak() {
  FBreakRequested = true;
  btnStartStop->SetEnabled(false);
}

void TfrmMain::EndBatch() {
  FConverting = false;
  FBreakRequested = false;
  btnStartStop->SetCaption(Res(&SBtnStart));
  btnStartStop->SetEnabled(true);
  EnableControls(true);
  UpdateActions();
  if (FCloseAfterBatch) {
    FCloseAfterBatch = false;
    Close();
  }
}

void TfrmMain::RunBatch() {
  lbxLog->Items()->Clear();
  FLogKinds.clear();
  if (rdoUseSpecialDir->Checked() && !PrepareDestination()) return;
  for (int32_t i = 0; i < lbxFiles->ItemCount(); ++i) {
    const WideString source = lbxFiles->Item(i).Text;
    try {
      AddLog(WideFormat(Res(&SMsgBegConvert), {source}), lkInfo);
      ConvertFile(source);
      AddLog(WideFormat(Res(&SMsgEndConvert), {source}), lkSuccess);
    } catch (const WideException& e) {
      AddLog(e.WideMessage(), lkError);
    } catch (const std::exception& e) {
      // Not a message meant for the user (an archive that cannot be opened says "File not
      // found"): it is said of this book, which fails alone.
      AddLog(WideFormat(Res(&SMsgFileFailed), {source, ExceptionText(e)}), lkError);
    }
  }
}

bool TfrmMain::PrepareDestination() {
  const WideString dir = WideExcludeTrailingBackslash(edtDestinationDir->Text());
  if (!WideDirectoryExists(dir)) {
    if (FDialogs->MessageDlg(Res(&SMsgConfirmCreateDir), mtConfirmation, MsgDlgButton(mbOK) | MsgDlgButton(mbCancel)) !=
        mrOk) {
      AddLog(Res(&SMsgStopConvert), lkSuccess);
      return false;
    }
    if (!WideForceDirectories(dir)) return RefuseDestination(dir, SystemErrorMessage(GetLastError()));
  }
  // One folder takes every book: one that takes no files stops the batch before any book
  // is converted.
  WideString reason;
  if (!CanWriteToFolder(dir, reason)) return RefuseDestination(dir, reason);
  // A relative folder is taken from the working folder: the log says where that is.
  AddLog(WideFormat(Res(&SMsgSaveToDir), {WideExpandFileName(dir)}), lkInfo);
  return true;
}

bool TfrmMain::RefuseDestination(const WideString& dir, const WideString& reason) {
  // Nothing was converted: the batch's end is no success.
  AddLog(WideFormat(Res(&SMsgDirNotWritable), {dir, reason}), lkError);
  AddLog(Res(&SMsgStopConvert), lkError);
  return false;
}

void TfrmMain::ConvertFile(const WideString& source) {
  FLastMessage.clear();
  FLastPercent = 0;
  FShownPercent = -1;
  const WideString out = GetOutputFileName(source);
  // A book named ".wol" converted into its own folder would be replaced by its Wolf file:
  // refused before any question, so that no answer can lose it.
  if (WideReplacesFile(out, source)) throw WideException(Res(&SMsgWolfIsBook), {out});
  // Beside its source, each book has a folder of its own, asked before it is converted.
  WideString reason;
  const WideString dir = WideExcludeTrailingBackslash(WideExtractFilePath(out));
  if (rdoUseSourceDir->Checked() && !CanWriteToFolder(dir, reason))
    throw WideException(Res(&SMsgDirNotWritable), {dir, reason});
  if (WideFileExists(out)) {
    if (!ShouldOverride(out)) throw WideException(Res(&SMsgWolfExists), {out});
    // An existing output is not deleted first: the converter moves the new file over it
    // only when complete, so a failure or Break keeps the old one. A read-only one is
    // made writable, so that it can be replaced at all.
    SetFileAttributesW(out.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  FConvertor->LoadBook(source);
  FConvertor->ConvertBook();
  FConvertor->SaveWolf(out);
  if (!FLastMessage.empty()) EndStage();
}

void TfrmMain::EndStage() {
  if (FShownPercent != 100) ReplaceLastLog(WideFormat(u"%s %d%%", {FLastMessage, 100}));
  FShownPercent = 100;
}

bool TfrmMain::ShouldOverride(const WideString& out) {
  const TOverrideMode mode = OverrideModeOf(cmbOverrideMode->ItemIndex());
  if (mode == omOverride) return true;
  if (mode == omDontConvert) return false;
  if (FOverrideAnswer == oaNone) {
    const int32_t answer = FDialogs->MessageDlg(WideFormat(Res(&SMsgOverrideAsk), {out}), mtConfirmation,
                                                MsgDlgButton(mbYes) | MsgDlgButton(mbNo) | MsgDlgButton(mbCancel) |
                                                    MsgDlgButton(mbNoToAll) | MsgDlgButton(mbYesToAll));
    if (answer == mrCancel) throw WideException(&SErrUserBreak);
    if (answer == mrYesToAll) FOverrideAnswer = oaOverrideAll;
    if (answer == mrNoToAll) FOverrideAnswer = oaSkipAll;
    if (answer == mrYes) return true;
  }
  return FOverrideAnswer == oaOverrideAll;
}

// A stage's line is rewritten with its percent while the stage runs; once the next stage
// begins (or the book is written) the stage has ended, and its line shows 100 %, whatever
// the stage reported last.
void TfrmMain::ConvertorProgress(const WideString& msg, int32_t percent, bool& cancel) {
  if (msg != FLastMessage) {
    if (!FLastMessage.empty()) EndStage();
    AddLog(msg, lkInfo);
    FLastMessage = msg;
    FShownPercent = -1;
  } else if (percent != FLastPercent) {
    ReplaceLastLog(WideFormat(u"%s %d%%", {msg, percent}));
    FLastPercent = percent;
    FShownPercent = percent;
  }
  Application->ProcessMessages();
  cancel = FBreakRequested;
}

void TfrmMain::FormCloseQuery(bool& canClose) {
  if (FConverting) {
    // The batch runs below this call: it is asked to stop, and the window closes when
    // it has.
    FCloseAfterBatch = true;
    RequestBreak();
    canClose = false;
    return;
  }
  Settings.OverrideMode = OverrideModeOf(cmbOverrideMode->ItemIndex());
  Settings.SchemeName = cmbScheme->ItemIndex() >= 0 ? cmbScheme->Item(cmbScheme->ItemIndex()).Text : u"";
  Settings.DestinationDir = edtDestinationDir->Text();
  Settings.UseSourceDir = rdoUseSourceDir->Checked();
  Settings.FormXPos = Left();
  Settings.FormYPos = Top();
  Settings.FormXLen = Width();
  Settings.FormYLen = Height();
  // Closing is always allowed: a settings file that cannot be written is reported, and
  // the window closes all the same.
  try {
    SaveSettings();
  } catch (const Exception& e) {
    FDialogs->MessageDlg(ExceptionText(e), mtError, MsgDlgButton(mbOK));
  }
}
