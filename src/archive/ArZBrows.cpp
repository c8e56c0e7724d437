#include "archive/ArZBrows.h"

#include <memory>

#include "archive/ArExcept.h"

void TArCustomZipBrowser::OpenStream(TStream& stream, const AnsiString& archiveName) {
  if (stream.Size() == 0) throw EArBadStream();
  TArArchiveType kind = CheckZip(stream);
  if (kind == atUnknown) kind = CheckSelfExtractor(stream);
  if (kind == atUnknown) throw EArUnhandledType();
  std::unique_ptr<TArArchive> opened = std::make_unique<TArZipArchive>(stream, archiveName);
  InitArchive(*opened);
  opened->LoadContents();
  ReplaceArchive(std::move(opened), kind, archiveName);
}

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
