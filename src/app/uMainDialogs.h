// The dialogs of the main window, behind one interface so that a test can answer them.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/Types.h"
#include "unicode/controls/UniDialogs.h"

class TMainDialogs {
public:
  virtual ~TMainDialogs() = default;
  // Shows the open dialog; true when confirmed, with the chosen files (full names, in
  // the dialog's order) in files.
  virtual bool OpenFiles(TUniOpenDialogEx& dialog, std::vector<WideString>& files) = 0;
  // The message dialog; returns the modal result of the button chosen.
  virtual int32_t MessageDlg(const WideString& msg, TMsgDlgType type, TMsgDlgButtons buttons) = 0;
  // The folder dialog starting at directory; true when confirmed, with the folder chosen.
  virtual bool SelectDirectory(const WideString& caption, WideString& directory) = 0;
};

// The program's own dialogs.
class TSystemDialogs : public TMainDialogs {
public:
  bool OpenFiles(TUniOpenDialogEx& dialog, std::vector<WideString>& files) override {
    if (!dialog.Execute()) return false;
    files = dialog.Files();
    return true;
  }
  int32_t MessageDlg(const WideString& msg, TMsgDlgType type, TMsgDlgButtons buttons) override {
    return WideMessageDlg(msg, type, buttons, 0);
  }
  bool SelectDirectory(const WideString& caption, WideString& directory) override {
    return WideSelectDirectory(caption, u"", directory);
  }
};
