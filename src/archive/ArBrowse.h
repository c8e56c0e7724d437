// The browser components: given a file name, a component decides what kind of archive
// the file is, opens the matching archive object, lists its items and relays the
// archive's events.
#pragma once

#include <memory>

#include "archive/ArArcTyp.h"
#include "archive/ArMeter.h"

// The kind of an archive file: with an asserted kind, the content check of that kind
// decides (spanned zip gives unknown); without one the upper-cased extension picks the
// check: ".EXE" self-extracting zip, ".ZIP" and ".JAR" zip, ".TAR" tar, ".GZ" and ".TGZ"
// gzip or gzipped tar, ".CAB" cabinet. A missing or empty file is judged by its
// extension alone (".EXE" then gives unknown). The cabinet check loads the file: one
// that is not a cabinet raises EArInvalidCabFile, a missing cabinet library
// EArNoCabinetDll.
TArArchiveType DetectArchiveType(const AnsiString& fileName, TArArchiveType asserted = atUnknown);

class TArBaseBrowser : public TArBaseComponent {
public:
  explicit TArBaseBrowser(TComponent* owner);
  ~TArBaseBrowser() override;

  const AnsiString& FileName() const { return FFileName; }
  // Opens the archive the file holds (an empty name closes). The archive open before
  // saves its changes first, when it has any. A missing file raises EArFileNotFound, an
  // empty one EArBadStream, a kind without a reader EArUnhandledType, reading its
  // directory the format's errors, and a failed save EArBadStream; on any failure the
  // component keeps the name and archive it had. OnChange fires after every successful call.
  virtual void SetFileName(const AnsiString& fileName);
  int32_t GetItemCount() const { return FArchive ? FArchive->Count() : 0; }
  TArArchive* Archive() const { return FArchive.get(); }
  TArArchiveType ArchiveType() const { return FArchiveType; }
  // Uses the stored kind instead of detecting it.
  void SetArchiveType(TArArchiveType kind, bool force) {
    FArchiveType = kind;
    FForceType = force;
  }

  const AnsiString& BaseDirectory() const { return FBaseDirectory; }
  void SetBaseDirectory(const AnsiString& directory);
  // Passed on to the open archive, and to every archive opened later. Setting a log file
  // also switches logging on (off for an empty name).
  const AnsiString& LogFile() const { return FLogFile; }
  void SetLogFile(const AnsiString& fileName);
  bool Logging() const { return FLogging; }
  void SetLogging(bool on);
  const AnsiString& TempDirectory() const { return FTempDirectory; }
  void SetTempDirectory(const AnsiString& directory);
  // Given to every archive opened: bytes per volume of a save that spans (0: one file).
  int32_t SpanningThreshold = 0;

  // Progress displays, not owned: the item meter shows an entry's progress and is reset
  // before each entry, the archive meter shows the whole operation's. A meter that is
  // destroyed is forgotten.
  TArMeterLink* ItemProgressMeter() const { return FItemProgressMeter; }
  void SetItemProgressMeter(TArMeterLink* meter) { SetWatchedReference(*this, FItemProgressMeter, meter); }
  TArMeterLink* ArchiveProgressMeter() const { return FArchiveProgressMeter; }
  void SetArchiveProgressMeter(TArMeterLink* meter) { SetWatchedReference(*this, FArchiveProgressMeter, meter); }
  // Resets both meters.
  virtual void ResetMeters();
  // The reading limits given to every archive the component opens.
  TArLimits Limits;
  // A gzipped tar shows the tar's items (else the one gzip item).
  bool TarAutoHandle = false;

  TArArchiveProgressEvent OnArchiveProgress;
  TArArchiveItemProgressEvent OnArchiveItemProgress;
  TNotifyEvent OnChange;
  TArArchiveItemConfirmEvent OnConfirmProcessItem;
  TArArchiveEvent OnLoad;
  TArArchiveItemFailureEvent OnProcessItemFailure;
  // Names the files of a spanned set's volumes; handed to the open archive unchanged.
  const TArRequestImageEvent& OnRequestImage() const { return FOnRequestImage; }
  virtual void SetOnRequestImage(TArRequestImageEvent event);

protected:
  void Notification(TComponent* component, TOperation operation) override;
  virtual void NotifyItemProgress(TArArchiveItem* item, int32_t progress, bool& abort);
  virtual void NotifyArchiveProgress(int32_t progress, bool& abort);
  virtual void NotifyChange();
  virtual void ConfirmItemProcessing(TArArchiveItem* item, TArProcessType processType, bool& confirm);
  virtual void NotifyLoad();
  virtual void NotifyItemFailure(TArArchiveItem* item, TArProcessType processType, TArErrorClass errorClass,
                                 int32_t errorCode);
  // Passes the component's settings to a newly opened archive and hooks its events.
  virtual void InitArchive(TArArchive& archive);
  // Makes opened (nullptr: none) the open archive of that kind and name, as
  // SetFileName's last step: the archive open before saves its changes first (a failed
  // save raises and keeps it), then OnChange fires.
  void ReplaceArchive(std::unique_ptr<TArArchive> opened, TArArchiveType kind, const AnsiString& fileName);

private:
  // The archive object for a kind: zip kinds, tar, gzip, gzipped tar and cabinet (a
  // reader); any other kind raises EArUnhandledType.
  std::unique_ptr<TArArchive> CreateArchive(TArArchiveType kind, const AnsiString& fileName);
  std::unique_ptr<TArArchive> FArchive;
  AnsiString FFileName;
  AnsiString FBaseDirectory;
  AnsiString FLogFile;
  bool FLogging = false;
  AnsiString FTempDirectory;
  TArMeterLink* FItemProgressMeter = nullptr;
  TArMeterLink* FArchiveProgressMeter = nullptr;
  TArArchiveType FArchiveType = atUnknown;
  bool FForceType = false;
  TArRequestImageEvent FOnRequestImage;
};
