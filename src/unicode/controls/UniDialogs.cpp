#include "unicode/controls/UniDialogs.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/base/Numbers.h"
#include "platform/gui/Consts.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"
#include "unicode/controls/UniWindowsShell.h"

std::function<void(TUniMessageForm& form)> MessageDialogShowHook;

const TClassProps& TUniOpenDialogEx::Props() {
  using D = TUniOpenDialogEx;
  static const TClassProps props("TUniOpenDialogEx", &TOpenDialog::Props(),
                                 {
                                     Published::WideText<D>("OKText", &D::OKText, &D::SetOKText),
                                     Published::WideText<D>("CancelText", &D::CancelText, &D::SetCancelText),
                                     Published::WideText<D>("ReadOnlyText", &D::ReadOnlyText, &D::SetReadOnlyText),
                                     Published::WideText<D>("FileTypeText", &D::FileTypeText, &D::SetFileTypeText),
                                     Published::WideText<D>("FileNameText", &D::FileNameText, &D::SetFileNameText),
                                     Published::WideText<D>("DriveText", &D::DriveText, &D::SetDriveText),
                                     Published::WideText<D>("HelpText", &D::HelpText, &D::SetHelpText),
                                 });
  return props;
}

namespace {

struct TButtonInfo {
  const char* Name;
  PResStringRec Caption;
  TModalResult Result;
};

// In the order the dialog shows them.
constexpr std::array<TButtonInfo, 11> Buttons{{
    {"Yes", &SMsgDlgYes, mrYes},
    {"No", &SMsgDlgNo, mrNo},
    {"OK", &SMsgDlgOK, mrOk},
    {"Cancel", &SMsgDlgCancel, mrCancel},
    {"Abort", &SMsgDlgAbort, mrAbort},
    {"Retry", &SMsgDlgRetry, mrRetry},
    {"Ignore", &SMsgDlgIgnore, mrIgnore},
    {"All", &SMsgDlgAll, mrAll},
    {"NoToAll", &SMsgDlgNoToAll, mrNoToAll},
    {"YesToAll", &SMsgDlgYesToAll, mrYesToAll},
    {"Help", &SMsgDlgHelp, mrNone},
}};

constexpr std::array<TSystemIcon, 5> Icons{siWarning, siError, siInformation, siQuestion, siNone};

// The dialog unit of the application's font: the average width of the 52 letters,
// rounded up and halved, and the font's height.
struct TDialogUnits {
  int32_t X;
  int32_t Y;
};

TDialogUnits GetAveCharSize() {
  WideString letters;
  for (WideChar c = u'A'; c <= u'Z'; ++c) letters += c;
  for (WideChar c = u'a'; c <= u'z'; ++c) letters += c;
  return {(MeasureText(letters).Width / 26 + 1) / 2, FontHeight()};
}

}  // namespace

WideString GetMessageCaption(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return LoadWideResString(&SMsgDlgWarning);
    case mtError:
      return LoadWideResString(&SMsgDlgError);
    case mtInformation:
      return LoadWideResString(&SMsgDlgInformation);
    case mtConfirmation:
      return LoadWideResString(&SMsgDlgConfirm);
    case mtCustom:
      return Application ? Application->Title() : WideString();
  }
  throw EUniInternalError("Unexpected MsgType in GetMessageCaption.");
}

WideString GetButtonCaption(TMsgDlgBtn button) {
  if (button < mbYes || button > mbHelp) throw EUniInternalError("Unexpected MsgDlgBtn in GetButtonCaption.");
  return LoadWideResString(Buttons[button].Caption);
}

WideString TUniMessageForm::GetFormText() const {
  const WideString line = WideString(27, u'-') + u"\r\n";
  WideString buttons;
  for (int32_t i = 0; i < ControlCount(); ++i)
    if (auto* button = dynamic_cast<TButton*>(Controls(i))) buttons += StripHotkey(button->Caption()) + u"   ";
  const auto* message = dynamic_cast<TControl*>(FindComponent("Message"));
  return line + Caption() + u"\r\n" + line + (message ? message->Caption() : WideString()) + u"\r\n" + line + buttons +
         u"\r\n" + line;
}

std::unique_ptr<TUniMessageForm> WideCreateMessageDialog(const WideString& msg, TMsgDlgType type,
                                                         TMsgDlgButtons buttons) {
  auto has = [buttons](TMsgDlgBtn b) { return (buttons & MsgDlgButton(b)) != 0; };
  const TMsgDlgBtn defaultButton = has(mbOK) ? mbOK : has(mbYes) ? mbYes : mbRetry;
  const TMsgDlgBtn cancelButton = has(mbCancel) ? mbCancel : has(mbNo) ? mbNo : mbOK;

  auto owned = std::make_unique<TUniMessageForm>(nullptr);
  TUniMessageForm* form = owned.get();
  form->SetBorderStyle(bsDialog);
  form->SetPosition(poScreenCenter);
  form->SetKeyPreview(true);
  form->OnKeyDown = [form](TObject*, uint16_t& key, TShiftState shift) {
    if ((shift & ssCtrl) && key == 'C') {
      Beep();
      UniClipboard().SetAsText(form->GetFormText());
      key = 0;
    }
  };

  const TDialogUnits units = GetAveCharSize();
  const int32_t hMargin = MulDiv(8, units.X, 4), vMargin = MulDiv(8, units.Y, 8);
  const int32_t hSpacing = MulDiv(10, units.X, 4), vSpacing = MulDiv(10, units.Y, 8);
  const int32_t buttonHeight = MulDiv(14, units.Y, 8), buttonSpacing = MulDiv(4, units.X, 4);
  int32_t buttonWidth = MulDiv(50, units.X, 4);
  int32_t buttonCount = 0;
  for (int b = mbYes; b <= mbHelp; ++b)
    if (has(TMsgDlgBtn(b))) {
      ++buttonCount;
      const WideString caption = StripHotkey(GetButtonCaption(TMsgDlgBtn(b)));
      buttonWidth = std::max(buttonWidth, MeasureText(caption).Width + 8);
    }

  const TTextSize text = MeasureText(msg, ScreenWidth() / 2);
  const TSystemIcon icon = Icons[type];
  const int32_t blockWidth = text.Width + (icon != siNone ? 32 + hSpacing : 0);
  const int32_t blockHeight = icon != siNone ? std::max(32, text.Height) : text.Height;
  const int32_t groupWidth = buttonCount * buttonWidth + std::max(buttonCount - 1, 0) * buttonSpacing;
  const int32_t clientWidth = std::max(blockWidth, groupWidth) + 2 * hMargin;
  form->SetClientWidth(clientWidth);
  form->SetClientHeight(blockHeight + buttonHeight + vSpacing + 2 * vMargin);
  form->SetCaption(GetMessageCaption(type));

  if (icon != siNone) {
    auto* image = CreateOwned<TUniImage>(*form);
    image->SetName("Image");
    image->SetBounds(hMargin, vMargin, 32, 32);
    image->SetIcon(icon);
    image->SetParent(form);
  }
  auto* label = CreateOwned<TUniLabel>(*form);
  label->SetName("Message");
  label->SetWordWrap(true);
  label->SetCaption(msg);
  label->SetBounds(blockWidth - text.Width + hMargin, vMargin, text.Width, text.Height);
  label->SetParent(form);

  int32_t left = (clientWidth - groupWidth) / 2;
  for (int b = mbYes; b <= mbHelp; ++b) {
    if (!has(TMsgDlgBtn(b))) continue;
    auto* button = CreateOwned<TUniButton>(*form);
    button->SetName(Buttons[b].Name);
    button->SetCaption(GetButtonCaption(TMsgDlgBtn(b)));
    button->SetModalResult(Buttons[b].Result);
    button->SetBounds(left, blockHeight + vMargin + vSpacing, buttonWidth, buttonHeight);
    button->SetParent(form);
    if (b == defaultButton) {
      button->SetDefault(true);
      form->SetActiveControl(button);
    }
    if (b == cancelButton) button->SetCancel(true);
    if (b == mbHelp)
      button->OnClick = [](TObject*) {
        Application->MessageBox(LoadWideResString(&SMsgDlgHelpNone), LoadWideResString(&SMsgDlgHelpHelp), MB_OK);
      };
    left += buttonWidth + buttonSpacing;
  }
  return owned;
}

int32_t WideMessageDlgPosHelp(const WideString& msg, TMsgDlgType type, TMsgDlgButtons buttons, int32_t helpCtx,
                              int32_t x, int32_t y) {
  const std::unique_ptr<TUniMessageForm> form = WideCreateMessageDialog(msg, type, buttons);
  form->SetHelpContext(helpCtx);
  if (x >= 0) form->SetLeft(x);
  if (y >= 0) form->SetTop(y);
  if (x >= 0 || y >= 0) form->SetPosition(poDesigned);
  if (MessageDialogShowHook) MessageDialogShowHook(*form);
  return form->ShowModal();
}

bool WideSelectDirectory(const WideString& caption, const WideString& root, WideString& directory) {
  // The browser preselects only a folder that exists; the path buffer holds any path the
  // file system allows (PATH_MAX), not just 260 characters, so no choice is cut short.
  constexpr uint32_t PathChars = 4096;
  if (!directory.empty() && !WideDirectoryExists(directory)) directory.clear();
  const PItemIdList chosen = WideSHBrowseForFolder({caption, root, directory});
  if (!chosen) return false;
  std::vector<WideChar> buffer(PathChars);
  if (!WideSHGetPathFromIDList(chosen.get(), buffer.data(), PathChars)) return false;
  directory = buffer.data();
  return true;
}
