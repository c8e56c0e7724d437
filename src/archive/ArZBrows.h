// The zip browser: a browser component that knows the zip archive's password and gives
// its items.
#pragma once

#include "archive/ArBrowse.h"
#include "archive/ArZipTyp.h"

class TArCustomZipBrowser : public TArBaseBrowser {
public:
  using TArBaseBrowser::TArBaseBrowser;

  // The item at an index of the open archive (the item list's range rules apply).
  TArArchiveItem* GetItem(int32_t index) const { return Archive()->Items(index); }
  // The open archive when it is a zip archive, else nullptr.
  TArZipArchive* ZipArchive() const { return dynamic_cast<TArZipArchive*>(Archive()); }

  const AnsiString& Password() const { return FPassword; }
  void SetPassword(const AnsiString& password);
  // The disk requests of a spanned set on a removable drive, handed to the open zip
  // archive; without them such a set cannot be read.
  const TArRequestDiskEvent& OnRequestLastDisk() const { return FOnRequestLastDisk; }
  void SetOnRequestLastDisk(TArRequestDiskEvent event);
  const TArRequestNthDiskEvent& OnRequestNthDisk() const { return FOnRequestNthDisk; }
  void SetOnRequestNthDisk(TArRequestNthDiskEvent event);

protected:
  void InitArchive(TArArchive& archive) override;

private:
  AnsiString FPassword;
  TArRequestDiskEvent FOnRequestLastDisk;
  TArRequestNthDiskEvent FOnRequestNthDisk;
};
