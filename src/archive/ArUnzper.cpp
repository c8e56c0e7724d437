#include "archive/ArUnzper.h"

#include "archive/ArZipExtract.h"

TArCustomUnZipper::TArCustomUnZipper(TComponent* owner) : TArCustomZipBrowser(owner) {
  SetExtractOptions(eoCreateDirs);
  SetPasswordRetries(3);
}

void TArCustomUnZipper::CloseArchive() {
  if (!FileName().empty() || Archive()) SetFileName(AnsiString());
}

void TArCustomUnZipper::ExtractItemToStream(const AnsiString& name, TStream& stream) {
  if (!Archive()) throw EArNoArchive();
  Archive()->ExtractByName(name, stream);
}

void TArCustomUnZipper::ExtractItemToStream(TArArchiveItem& item, TStream& stream) {
  if (!Archive()) throw EArNoArchive();
  Archive()->ExtractItem(item, stream);
}

void TArCustomUnZipper::SetExtractOptions(TArExtractOptions options) {
  FExtractOptions = options;
  if (Archive()) Archive()->ExtractOptions = options;
}

void TArCustomUnZipper::SetPasswordRetries(uint8_t retries) {
  FPasswordRetries = retries;
  if (TArZipArchive* zip = ZipArchive()) zip->PasswordRetries = retries;
}

void TArCustomUnZipper::InitArchive(TArArchive& archive) {
  TArCustomZipBrowser::InitArchive(archive);
  archive.ExtractOptions = FExtractOptions;
  archive.OnConfirmOverwrite = [this](AnsiString& name, bool& confirm) { ConfirmOverwrite(name, confirm); };
  auto* zip = dynamic_cast<TArZipArchive*>(&archive);
  if (!zip) return;
  zip->PasswordRetries = FPasswordRetries;
  zip->OnNeedPassword = [this](TObject* sender, AnsiString& password) { RequestPassword(sender, password); };
  zip->ExtractHelper = ExtractZipItemToFile;
  zip->ExtractToStreamHelper = [](TArZipArchive& a, TArZipItem& item, TStream& stream) {
    ExtractZipItemToStream(a, item, &stream);
  };
  zip->TestHelper = TestZipItem;
}

void TArCustomUnZipper::ConfirmOverwrite(AnsiString& name, bool& confirm) {
  confirm = true;
  if (OnConfirmOverwrite) OnConfirmOverwrite(name, confirm);
}

void TArCustomUnZipper::RequestPassword(TObject* sender, AnsiString& newPassword) {
  if (!OnNeedPassword) return;
  OnNeedPassword(sender, newPassword);
  SetPassword(newPassword);
}
