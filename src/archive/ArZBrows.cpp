#include "archive/ArZBrows.h"

void TArCustomZipBrowser::SetPassword(const AnsiString& password) {
  FPassword = password;
  if (TArZipArchive* zip = ZipArchive()) zip->Password = password;
}

void TArCustomZipBrowser::InitArchive(TArArchive& archive) {
  TArBaseBrowser::InitArchive(archive);
  if (auto* zip = dynamic_cast<TArZipArchive*>(&archive)) zip->Password = FPassword;
}
