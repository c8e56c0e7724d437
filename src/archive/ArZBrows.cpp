#include "archive/ArZBrows.h"

void TArCustomZipBrowser::SetPassword(const AnsiString& password) {
  FPassword = password;
  if (TArZipArchive* zip = ZipArchive()) zip->Password = password;
}

void TArCustomZipBrowser::SetOnRequestLastDisk(TArRequestDiskEvent event) {
  FOnRequestLastDisk = std::move(event);
  if (TArZipArchive* zip = ZipArchive()) zip->OnRequestLastDisk = FOnRequestLastDisk;
}

void TArCustomZipBrowser::SetOnRequestNthDisk(TArRequestNthDiskEvent event) {
  FOnRequestNthDisk = std::move(event);
  if (TArZipArchive* zip = ZipArchive()) zip->OnRequestNthDisk = FOnRequestNthDisk;
}

void TArCustomZipBrowser::InitArchive(TArArchive& archive) {
  TArBaseBrowser::InitArchive(archive);
  auto* zip = dynamic_cast<TArZipArchive*>(&archive);
  if (!zip) return;
  zip->Password = FPassword;
  zip->OnRequestLastDisk = FOnRequestLastDisk;
  zip->OnRequestNthDisk = FOnRequestNthDisk;
}
