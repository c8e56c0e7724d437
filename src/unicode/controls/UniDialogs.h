// The open-file, folder and message dialogs with UTF-16 texts.
//
// The message dialog is laid out in dialog units of the application's font: buttons in a
// fixed order with fixed names and modal results, the default button (Enter) OK, else
// Yes, else Retry, and the cancel button (Esc) Cancel, else No, else OK. Ctrl+C beeps and
// copies the dialog's text.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/gui/Dialogs.h"
#include "unicode/controls/UniControls.h"
#include "unicode/controls/UniForms.h"

class TUniOpenDialog : public TWideStreamed<TOpenDialog> {
public:
  using TWideStreamed::TWideStreamed;
};

// The open dialog whose own texts are properties, so that a language file translates
// them. The read-only and help texts are kept for window definitions; the dialog shows
// neither control.
class TUniOpenDialogEx : public TUniOpenDialog {
public:
  using TUniOpenDialog::TUniOpenDialog;

  WideString OKText() const { return Texts().OK; }
  void SetOKText(const WideString& v) { Texts().OK = v; }
  WideString CancelText() const { return Texts().Cancel; }
  void SetCancelText(const WideString& v) { Texts().Cancel = v; }
  WideString ReadOnlyText() const { return FReadOnlyText; }
  void SetReadOnlyText(const WideString& v) { FReadOnlyText = v; }
  WideString FileTypeText() const { return Texts().FileType; }
  void SetFileTypeText(const WideString& v) { Texts().FileType = v; }
  WideString FileNameText() const { return Texts().FileName; }
  void SetFileNameText(const WideString& v) { Texts().FileName = v; }
  WideString DriveText() const { return Texts().LookIn; }
  void SetDriveText(const WideString& v) { Texts().LookIn = v; }
  WideString HelpText() const { return FHelpText; }
  void SetHelpText(const WideString& v) { FHelpText = v; }

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

private:
  WideString FReadOnlyText = u"Open as &read-only";
  WideString FHelpText = u"&Help";
};

// The folder dialog: Directory is preselected when it exists (else emptied first) and
// receives the chosen folder; false when cancelled.
bool WideSelectDirectory(const WideString& caption, const WideString& root, WideString& directory);

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
// A set of buttons: bit (1 << button).
using TMsgDlgButtons = uint32_t;
constexpr TMsgDlgButtons MsgDlgButton(TMsgDlgBtn button) { return TMsgDlgButtons(1) << button; }

// Raise EUniInternalError "Unexpected MsgType in GetMessageCaption." /
// "Unexpected MsgDlgBtn in GetButtonCaption." outside the enumerations.
WideString GetMessageCaption(TMsgDlgType type);
WideString GetButtonCaption(TMsgDlgBtn button);

class TUniMessageForm : public TUniForm {
public:
  using TUniForm::TUniForm;
  int32_t HelpContext() const { return FHelpContext; }
  void SetHelpContext(int32_t value) { FHelpContext = value; }
  // Separator lines, the caption, the message and the buttons' captions without "&".
  WideString GetFormText() const;

private:
  int32_t FHelpContext = 0;
};

// The dialog, not shown yet.
std::unique_ptr<TUniMessageForm> WideCreateMessageDialog(const WideString& msg, TMsgDlgType type,
                                                         TMsgDlgButtons buttons);
// Shows the dialog modally at (x, y), centred when both are negative, frees it and
// returns its modal result.
int32_t WideMessageDlgPosHelp(const WideString& msg, TMsgDlgType type, TMsgDlgButtons buttons, int32_t helpCtx,
                              int32_t x, int32_t y);
inline int32_t WideMessageDlg(const WideString& msg, TMsgDlgType type, TMsgDlgButtons buttons, int32_t helpCtx) {
  return WideMessageDlgPosHelp(msg, type, buttons, helpCtx, -1, -1);
}
// Runs with each message dialog just before it is shown (tests answer it from here).
extern std::function<void(TUniMessageForm& form)> MessageDialogShowHook;
