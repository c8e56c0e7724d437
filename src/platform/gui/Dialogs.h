// The open-file and folder dialogs: Qt's own (non-native) dialogs, so that every text on
// them can be set by the program and translated.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/base/Components.h"
#include "platform/base/PublishedProperties.h"
#include "platform/base/Types.h"

// Options of the open dialog.
using TOpenOptions = uint32_t;
inline constexpr TOpenOptions ofReadOnly = 1, ofAllowMultiSelect = 0x200, ofFileMustExist = 0x1000,
                              ofExtensionDifferent = 0x400;

// The texts of the dialog's own controls.
struct TOpenDialogTexts {
  WideString OK = u"&Open";
  WideString Cancel = u"Cancel";
  WideString FileType = u"File&type";
  WideString FileName = u"File&name";
  WideString LookIn = u"Look &in";
};

// "Books (*.fb2;*.zip)|*.fb2;*.zip|All|*" as Qt name filters: each description followed
// by its masks in parentheses, blank-separated ("Books (*.fb2 *.zip)", "All (*)"); a
// description that already ends in its masks keeps them once. An unpaired last
// description gets no masks of its own.
std::vector<WideString> ConvertFilter(const WideString& filter);

class TOpenDialog : public TComponent {
public:
  explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}

  WideString FileName() const { return FFileName; }
  void SetFileName(const WideString& value) { FFileName = value; }
  WideString Filter() const { return FFilter; }
  void SetFilter(const WideString& value) { FFilter = value; }
  // 1-based, as the filter's pairs are counted.
  int32_t FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(int32_t value) { FFilterIndex = value; }
  WideString DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const WideString& value) { FDefaultExt = value; }
  WideString InitialDir() const { return FInitialDir; }
  // A trailing "/" is dropped, except from the root "/".
  void SetInitialDir(const WideString& value);
  WideString Title() const { return FTitle; }
  void SetTitle(const WideString& value) { FTitle = value; }
  TOpenOptions Options() const { return FOptions; }
  void SetOptions(TOpenOptions value) { FOptions = value; }
  TOpenDialogTexts& Texts() { return FTexts; }
  const TOpenDialogTexts& Texts() const { return FTexts; }
  // The chosen files, full names, in the dialog's order.
  const std::vector<WideString>& Files() const { return FFiles; }
  // Asked when the user confirms; false keeps the dialog open.
  std::function<bool(TOpenDialog& dialog)> OnCanClose;
  // Runs with the shown dialog's window (tests drive it from here).
  std::function<void(TOpenDialog& dialog, void* qtDialog)> OnShow;

  // Shows the dialog modally; true when the user confirmed (FileName and Files set).
  bool Execute();

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

private:
  WideString FFileName, FFilter, FDefaultExt, FInitialDir, FTitle;
  int32_t FFilterIndex = 1;
  TOpenOptions FOptions = 0;
  TOpenDialogTexts FTexts;
  std::vector<WideString> FFiles;
};

// The folder dialog: Directory is preselected when it exists (else emptied first) and
// receives the chosen folder; false when cancelled. Root, when not empty, is the top of
// what can be browsed. onShow runs with the shown Qt dialog.
bool SelectDirectory(const WideString& caption, const WideString& root, WideString& directory,
                     const std::function<void(void* qtDialog)>& onShow = {});
