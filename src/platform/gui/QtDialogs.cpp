// The open-file and folder dialogs over Qt's own QFileDialog.
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtText.h"

namespace {

// Asks the dialog's OnCanClose before it closes on a confirmation.
class TOpenFileDialog : public QFileDialog {
public:
  TOpenFileDialog(TOpenDialog& owner, std::vector<WideString>& files)
      : QFileDialog(QApplication::activeWindow()), FOwner(owner), FFiles(files) {}

  void accept() override {
    FFiles.clear();
    for (const QString& name : selectedFiles()) FFiles.push_back(FromQString(name));
    bool canClose = true;
    if (FOwner.OnCanClose && Application) Application->Guard([&] { canClose = FOwner.OnCanClose(FOwner); });
    if (!canClose) {
      FFiles.clear();
      return;
    }
    QFileDialog::accept();
  }

private:
  TOpenDialog& FOwner;
  std::vector<WideString>& FFiles;
};

}  // namespace

bool TOpenDialog::Execute() {
  FFiles.clear();
  TOpenFileDialog dialog(*this, FFiles);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode((FOptions & ofAllowMultiSelect) ? QFileDialog::ExistingFiles
                     : (FOptions & ofFileMustExist)  ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setWindowTitle(ToQString(FTitle));
  if (!FInitialDir.empty()) dialog.setDirectory(ToQString(FInitialDir));
  QStringList filters;
  for (const WideString& f : ConvertFilter(FFilter)) filters << ToQString(f);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    if (FFilterIndex >= 1 && FFilterIndex <= filters.size()) dialog.selectNameFilter(filters[FFilterIndex - 1]);
  }
  dialog.setDefaultSuffix(ToQString(FDefaultExt));
  if (!FFileName.empty()) dialog.selectFile(ToQString(FFileName));
  dialog.setLabelText(QFileDialog::Accept, ToQString(FTexts.OK));
  dialog.setLabelText(QFileDialog::Reject, ToQString(FTexts.Cancel));
  dialog.setLabelText(QFileDialog::FileName, ToQString(FTexts.FileName));
  dialog.setLabelText(QFileDialog::FileType, ToQString(FTexts.FileType));
  dialog.setLabelText(QFileDialog::LookIn, ToQString(FTexts.LookIn));
  // Qt gives only the file-name label a buddy; with one, every label shows its "&" as
  // the accelerator of its field.
  for (const auto& [label, field] :
       {std::pair{"lookInLabel", "lookInCombo"}, std::pair{"fileTypeLabel", "fileTypeCombo"}})
    if (auto* text = dialog.findChild<QLabel*>(label)) text->setBuddy(dialog.findChild<QWidget*>(field));
  if (OnShow) QTimer::singleShot(0, &dialog, [this, &dialog] { OnShow(*this, &dialog); });
  if (dialog.exec() != QDialog::Accepted) return false;
  FFileName = FFiles.empty() ? WideString() : FFiles.front();
  FFilterIndex = static_cast<int32_t>(filters.indexOf(dialog.selectedNameFilter())) + 1;
  return true;
}

bool SelectDirectory(const WideString& caption, const WideString& root, WideString& directory,
                     const std::function<void(void* qtDialog)>& onShow) {
  if (!directory.empty() && !QFileInfo(ToQString(directory)).isDir()) directory.clear();
  QFileDialog dialog(QApplication::activeWindow(), ToQString(caption));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  dialog.setFileMode(QFileDialog::Directory);
  if (!directory.empty())
    dialog.setDirectory(ToQString(directory));
  else if (!root.empty())
    dialog.setDirectory(ToQString(root));
  if (onShow) QTimer::singleShot(0, &dialog, [&] { onShow(&dialog); });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  directory = FromQString(dialog.selectedFiles().front());
  return true;
}
