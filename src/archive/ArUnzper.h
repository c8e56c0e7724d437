// The unzipper: the component that opens a zip file and extracts its entries, through
// which the converter takes a book out of a ".zip".
#pragma once

#include "archive/ArZBrows.h"

class TArCustomUnZipper : public TArCustomZipBrowser {
public:
  explicit TArCustomUnZipper(TComponent* owner);

  void OpenArchive(const AnsiString& fileName) { SetFileName(fileName); }
  // Closes the open archive (one opened from a file or a stream); it is never written.
  void CloseArchive();

  // Extracts the entry of that name into stream, from its position. No archive open:
  // EArNoArchive. An unknown name extracts nothing; a veto of OnConfirmProcessItem
  // extracts nothing; every failure goes to OnProcessItemFailure as (ptExtract, class,
  // code) and is not raised, the stream keeping what was decoded before it.
  void ExtractItemToStream(const AnsiString& name, TStream& stream);
  // The same for an item of the open archive, found by the caller.
  void ExtractItemToStream(TArArchiveItem& item, TStream& stream);

  TArExtractOptions ExtractOptions() const { return FExtractOptions; }
  void SetExtractOptions(TArExtractOptions options);
  uint8_t PasswordRetries() const { return FPasswordRetries; }
  void SetPasswordRetries(uint8_t retries);

  TArConfirmOverwriteEvent OnConfirmOverwrite;
  TArNeedPasswordEvent OnNeedPassword;

protected:
  void InitArchive(TArArchive& archive) override;
  virtual void ConfirmOverwrite(AnsiString& name, bool& confirm);
  // Asks OnNeedPassword (only when it is set) and keeps its answer as the password.
  virtual void RequestPassword(TObject* sender, AnsiString& newPassword);

private:
  TArExtractOptions FExtractOptions = eoCreateDirs;
  uint8_t FPasswordRetries = 3;
};

class TArUnZipper : public TArCustomUnZipper {
public:
  using TArCustomUnZipper::TArCustomUnZipper;
};
