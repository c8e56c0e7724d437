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

protected:
  void InitArchive(TArArchive& archive) override;

private:
  AnsiString FPassword;
};
