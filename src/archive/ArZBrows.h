// The zip browser: a browser component that knows the zip archive's password and gives
// its items.
#pragma once

#include "archive/ArBrowse.h"
#include "archive/ArZipTyp.h"

class TArCustomZipBrowser : public TArBaseBrowser {
public:
  using TArBaseBrowser::TArBaseBrowser;

  // Opens the zip archive (plain, self-extracting or one volume of a spanned set) that
  // stream holds, from its start, as SetFileName opens a file; archiveName only names it
  // (FileName), so a file whose name the 8-bit code page cannot hold opens through a
  // stream on its wide name. The stream stays the caller's and must outlive the archive.
  // An empty stream raises EArBadStream, content that is no zip EArUnhandledType, reading
  // the directory the format's errors (EArZipBadSpanStream for a set of several volumes);
  // on any failure the component keeps the archive it had.
  void OpenStream(TStream& stream, const AnsiString& archiveName);
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
