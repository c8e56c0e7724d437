// The format-independent core of the archive library: the entry `TArArchiveItem`, the
// hashed entry list `TArArchiveList`, and the abstract archive `TArArchive` with its
// state machine, events and the extract-by-name road that every format inherits.
//
// Names are 8-bit text in the ANSI code page; paths use "/" as separator.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "archive/ArExcept.h"
#include "archive/ArLimits.h"
#include "archive/ArSpanStrm.h"
#include "platform/base/Components.h"
#include "platform/base/Streams.h"

enum TArArchiveType : uint8_t { atUnknown, atZip, atSpannedZip, atSelfExtZip, atTar, atGzip, atGzippedTar, atCab };

// What saving does with an entry; a loaded entry is aaNone.
enum TArArchiveAction : uint8_t { aaFailed, aaNone, aaAdd, aaDelete, aaFreshen, aaMove, aaReplace, aaStreamAdd };

enum TArProcessType : uint8_t { ptAdd, ptDelete, ptExtract, ptFreshen, ptMove, ptReplace, ptFoundUnhandled };

enum TArExtractOption : uint8_t { eoCreateDirs = 1, eoRestorePath = 2 };
using TArExtractOptions = uint8_t;  // a set of TArExtractOption bits

enum TArArchiveState : uint8_t { asInvalid, asIdle, asBusy };

// How a file path becomes a stored name, and what adding does with a name already held.
enum TArStoreOption : uint8_t {
  soStripDrive = 1,
  soStripPath = 2,
  soRemoveDots = 4,
  soRecurse = 8,
  soFreshenExisting = 16,
  soReplaceExisting = 32
};
using TArStoreOptions = uint8_t;  // a set of TArStoreOption bits

class TArArchiveItem : public TObject {
public:
  TArArchiveItem() = default;

  virtual int64_t CompressedSize() const { return FCompressedSize; }
  virtual uint32_t Crc32() const { return FCrc32; }
  virtual uint32_t ExternalFileAttributes() const { return FExternalFileAttributes; }
  virtual AnsiString FileName() const { return FFileName; }
  virtual bool IsEncrypted() const { return FIsEncrypted; }
  virtual uint16_t LastModFileDate() const { return FLastModFileDate; }
  virtual uint16_t LastModFileTime() const { return FLastModFileTime; }
  virtual int64_t UncompressedSize() const { return FUncompressedSize; }
  virtual void SetCompressedSize(int64_t value) { FCompressedSize = value; }
  virtual void SetCrc32(uint32_t value) { FCrc32 = value; }
  virtual void SetExternalFileAttributes(uint32_t value) { FExternalFileAttributes = value; }
  virtual void SetFileName(const AnsiString& value) { FFileName = value; }
  virtual void SetIsEncrypted(bool value) { FIsEncrypted = value; }
  virtual void SetLastModFileDate(uint16_t value) { FLastModFileDate = value; }
  virtual void SetLastModFileTime(uint16_t value) { FLastModFileTime = value; }
  virtual void SetUncompressedSize(int64_t value) { FUncompressedSize = value; }

  TArArchiveAction Action = aaNone;
  // Where the entry's file lies on disk (the entry's name as a path).
  AnsiString DiskFileName;
  bool Tagged = false;

private:
  friend class TArArchiveList;
  TArArchiveItem* FNextInBucket = nullptr;  // the list's hash chain, not an owner
  int64_t FCompressedSize = 0;
  uint32_t FCrc32 = 0;
  uint32_t FExternalFileAttributes = 0;
  AnsiString FFileName;
  bool FIsEncrypted = false;
  uint16_t FLastModFileDate = 0;
  uint16_t FLastModFileTime = 0;
  int64_t FUncompressedSize = 0;
};

// The entries in archive order, owned, with 1021 hash buckets over their names
// (upper-cased, ELF hash). Lookups ignore ASCII case; of several entries with one name
// the last added is found.
class TArArchiveList : public TObject {
public:
  static constexpr uint32_t BucketCount = 1021;
  static uint32_t Bucket(const AnsiString& name);

  TArArchiveList() = default;
  TArArchiveList(const TArArchiveList&) = delete;
  TArArchiveList& operator=(const TArArchiveList&) = delete;

  int32_t Add(std::unique_ptr<TArArchiveItem> item);
  void Clear();
  // Unhooks the entry from its bucket, frees it and removes it from the list.
  void Delete(int32_t index);
  // The index of the entry of that name, -1 when none.
  int32_t Find(const AnsiString& name) const;
  bool IsActiveName(const AnsiString& name) const;
  // Gives an entry of the list a new name and moves it to that name's bucket.
  void Rename(TArArchiveItem& item, const AnsiString& name);
  TArArchiveItem* Items(int32_t index) const { return FItems.at(static_cast<size_t>(index)).get(); }
  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }

private:
  TArArchiveItem* FindItem(const AnsiString& name) const;
  std::vector<std::unique_ptr<TArArchiveItem>> FItems;
  std::array<TArArchiveItem*, BucketCount> FBuckets{};
};

using TArArchiveItemFailureEvent = std::function<void(TObject* sender, TArArchiveItem* item, TArProcessType processType,
                                                      TArErrorClass errorClass, int32_t errorCode)>;
using TArArchiveProgressEvent = std::function<void(TObject* sender, int32_t progress, bool& abort)>;
using TArArchiveItemProgressEvent =
    std::function<void(TObject* sender, TArArchiveItem* item, int32_t progress, bool& abort)>;
using TArArchiveItemConfirmEvent =
    std::function<void(TObject* sender, TArArchiveItem* item, TArProcessType processType, bool& confirm)>;
using TArArchiveEvent = std::function<void(TObject* sender)>;
using TArConfirmOverwriteEvent = std::function<void(AnsiString& name, bool& confirm)>;
// Names the file of a volume of a spanned set: imageNumber is the volume's number from 0,
// or -1 for the last volume.
using TArRequestImageEvent =
    std::function<void(TObject* sender, int32_t imageNumber, AnsiString& imageName, bool& abort)>;
using TArConfirmSavingEvent = std::function<void(TObject* sender, bool& confirm)>;

class TArArchive : public TObject {
public:
  // Opens the file for reading with the file mode (a sharing mode of FileSystem.h)
  // through a spanning stream it owns, which reads as one plain file until a format finds
  // a multi-volume set; the stream asks RequestSpanMedia for volumes. A file that does
  // not exist is an empty archive, made on the first save. The base directory is the
  // program's own.
  TArArchive(const AnsiString& fileName, uint16_t mode);
  // Reads stream without owning it.
  TArArchive(TStream& stream, const AnsiString& archiveName);
  ~TArArchive() override;
  TArArchive(const TArArchive&) = delete;
  TArArchive& operator=(const TArArchive&) = delete;

  // Fills the item list from the stream (busy while reading); OnLoad fires also when
  // reading raises. A failed read leaves no entries.
  void LoadContents();
  // Extracts the entry of that name into stream; no such entry does nothing. Every
  // exception of the extraction is classified and reported once through the
  // item-failure event (ptExtract), never passed on.
  void ExtractByName(const AnsiString& name, TStream& stream);
  // The same for an entry found by the caller (as the converter does: by item, never by
  // a name decoded and encoded again).
  void ExtractItem(TArArchiveItem& item, TStream& stream);

  int32_t Count() const { return FItemList.Count(); }
  TArArchiveItem* Items(int32_t index) const { return FItemList.Items(index); }
  int32_t FindName(const AnsiString& name) const { return FItemList.Find(name); }
  const AnsiString& ArchiveName() const { return FArchiveName; }
  TStream& Stream() { return *FStream; }
  // The stream as a spanning stream, nullptr for an archive read from a caller's stream.
  TArSpanStream* SpanStream() const { return dynamic_cast<TArSpanStream*>(FStream); }
  TArArchiveState Status() const { return FStatus; }
  void SetStatus(TArArchiveState status) { FStatus = status; }
  TArArchiveItem* CurrentItem() const { return FCurrentItem; }

  const AnsiString& BaseDirectory() const { return FBaseDirectory; }
  // A trailing "/" goes (not the root's); a non-empty directory that does not exist
  // raises EArNoSuchDirectory.
  void SetBaseDirectory(const AnsiString& directory);
  TArExtractOptions ExtractOptions = eoCreateDirs;
  TArLimits Limits;

  // The output path of an entry name below targetDirectory (its path kept with
  // eoRestorePath, else its file name alone). Root, "." and ".." components are dropped,
  // so the path never leaves targetDirectory. A missing directory is created with
  // eoCreateDirs, else EArNoSuchDirectory. An existing file asks OnConfirmOverwrite.
  // Returns whether to go on; name becomes the output path.
  bool PrepareExtractPath(const AnsiString& targetDirectory, AnsiString& name);

  // Calls ReportProgress and raises EArAbortProgress when it answers abort (the inflate
  // engine's progress step).
  void ExtractProgressStep(int32_t percent);

  // --- The writing road (ArArcSave.cpp) ---
  // A new entry for the file at filePath, named NormalizeName(filePath); the file is read
  // only when saving.
  virtual std::unique_ptr<TArArchiveItem> NewItem(const AnsiString& filePath) = 0;
  // The stored name of a file path: in DOS mode a name that is not a full path is put
  // under the base directory and checked by ShortPath; then a leading "/" goes (the name
  // is not only "/"), with soStripPath only the file name stays, with soRemoveDots every
  // leading "../" goes.
  virtual AnsiString NormalizeName(const AnsiString& filePath);
  // Adds item to be written on saving. A name held by an active entry freshens it
  // (soFreshenExisting) or replaces it (soReplaceExisting); otherwise the item-failure
  // event gets (ptAdd, ecArchiver, 7) and the item is dropped. A refused confirmation
  // drops it silently. Formats whose archives cannot take an entry say so instead.
  virtual void AddItem(std::unique_ptr<TArArchiveItem> item);
  // Gives the entry the stored name NormalizeName(newPath). A name already held by an
  // active entry goes to the item-failure event (ptMove, ecArchiver, 7).
  void MoveItem(TArArchiveItem& item, const AnsiString& newPath);
  // Marks the entry with item's name to be written again from its disk file (item's own
  // when that is a full path, else ResolveDiskFileName's) when that file's date, time or
  // size differs from the entry's. Errors reading the file go to the item-failure event
  // (ptFreshen).
  void FreshenItem(const TArArchiveItem& item);
  void FreshenAt(int32_t index);
  // The same without the test.
  void ReplaceItem(const TArArchiveItem& item);
  void ReplaceAt(int32_t index);
  // Marks the entry at index to be left out on saving.
  void DeleteAt(int32_t index);
  // Writes the archive anew when it changed (or holds no entries yet), after
  // OnConfirmSaving agrees. The new archive goes to a temporary file beside the old one,
  // which it replaces only once complete: any failure leaves the file and the entries as
  // they were (entries whose own data failed are reported and marked deleted).
  void SaveChanges();
  bool IsDirty() const { return FIsDirty; }
  // Save after every operation that changes the archive.
  bool AutoSave = false;
  bool DOSMode = false;
  TArStoreOptions StoreOptions = 0;
  // Where the work stream of a save swaps to (the system's temporary folder when empty).
  AnsiString TempDirectory;
  // Bytes per volume when a save makes a spanned set of an archive file (a cabinet's size
  // limit); 0 for one file.
  int32_t SpanningThreshold = 0;
  // The source of entries added with the action aaStreamAdd.
  TStream* InputStream = nullptr;

  // The log: with logging on and a log file named, every confirmed operation on an entry
  // appends "<name><process text><date and time>" CR LF. Switching logging on creates the
  // file anew with the line of the archive's name and " logging "; a file that cannot be
  // made raises EArException "Error creating Log File".
  const AnsiString& LogFile() const { return FLogFile; }
  void SetLogFile(const AnsiString& fileName) { FLogFile = fileName; }
  bool Logging() const { return FLogging; }
  void SetLogging(bool on);

  TArArchiveProgressEvent OnSaveProgress;
  TArConfirmSavingEvent OnConfirmSaving;
  TArArchiveEvent OnSaved;
  virtual void FireSaveProgress(int32_t progress, bool& abort);
  virtual void FireSaved();

  TArArchiveItemFailureEvent OnProcessItemFailure;
  TArArchiveProgressEvent OnArchiveProgress;
  TArArchiveItemProgressEvent OnArchiveItemProgress;
  TArArchiveItemConfirmEvent OnConfirmProcessItem;
  TArConfirmOverwriteEvent OnConfirmOverwrite;
  TArArchiveEvent OnLoad;
  TArRequestImageEvent OnRequestImage;

  virtual void FireItemFailure(TArArchiveItem* item, TArProcessType processType, TArErrorClass errorClass,
                               int32_t errorCode);
  virtual void FireArchiveProgress(int32_t progress, bool& abort);
  virtual void FireItemProgress(TArArchiveItem* item, int32_t progress, bool& abort);
  virtual void ConfirmProcessItem(TArArchiveItem* item, TArProcessType processType, bool& confirm);
  virtual void FireLoad();
  // The item progress of the current item.
  virtual void ReportProgress(int32_t progress, bool& abort);
  // The spanning stream's media request (TArSpanMediaRequest); raises
  // EArSpanningNotSupported here, for formats without spanned sets.
  virtual void RequestSpanMedia(TArSpanStream& stream, int32_t imageNumber, bool& abort, AnsiString& imageName);

protected:
  virtual void ExtractEntryToStream(int32_t index, TStream& stream) = 0;
  // Fills the item list; may raise, in which case LoadContents empties the list.
  virtual void ReadArchive() = 0;
  // Writes the archive anew from the entries and their actions, giving the result to
  // ReplaceContent; entries keep what they described until it succeeds.
  virtual void WriteArchive() = 0;

  // Makes work (from its start) the archive's content: a file archive is written to a
  // temporary file beside it that then replaces it, a stream archive is emptied and
  // refilled. Failures raise EArBadStream with the cause inside; EArUserAbort passes.
  void ReplaceContent(TStream& work);
  // Whether the archive's storage is its own (a file by name), not a caller's stream.
  bool OwnsStream() const { return FOwnedStream != nullptr; }
  // Reads the archive's file through a spanning stream, spanning off.
  void OpenArchiveFile();
  // Gives up the pending changes: entries being added leave the list, the others return
  // to aaNone, and the archive is clean.
  void DiscardChanges();
  // The work stream of a save: paged, swapping to TempDirectory.
  std::unique_ptr<TStream> NewWorkStream() const;
  // After a complete save: entries marked deleted leave the list, the others return to
  // aaNone, and save and archive progress report 100.
  void FinishSave();
  // Reports a failed entry of a save through the item-failure event (its action's
  // process type). An entry being added is then marked deleted (true); one being
  // freshened or replaced keeps its old data (aaNone, false), which the format writes.
  bool DropFailedItem(TArArchiveItem& item, const std::exception& error);
  // Archive progress of entry index (from 0) of count during a save; an abort raises
  // EArUserAbort.
  void SaveStepProgress(int32_t index, int32_t count);
  void SetCurrentItem(TArArchiveItem* item) { FCurrentItem = item; }
  // The file that holds an entry's data on disk (the base directory and the stored name).
  AnsiString ResolveDiskFileName(const TArArchiveItem& item) const;

  TArArchiveList FItemList;

private:
  void CheckValid() const;
  // Busy until destroyed, then idle again (unless a format marked the archive invalid).
  class TBusyScope;
  // Saves first when an entry has an action pending.
  void SaveIfChanged();
  int32_t IndexOfItem(const TArArchiveItem* item) const;
  // Entries with either action leave the list; the others return to aaNone.
  void SettleItems(TArArchiveAction leaving, TArArchiveAction alsoLeaving);
  void Changed();
  bool NeedsFreshening(const TArArchiveItem& item) const;
  // Marks the entry for saving from diskFileName (empty: ResolveDiskFileName), after
  // NeedsFreshening when test is set.
  void MarkForUpdate(int32_t index, TArArchiveAction action, TArProcessType processType, bool test,
                     const AnsiString& diskFileName);
  void LogProcess(const AnsiString& name, TArProcessType processType);
  // name, the text of code, the local date and time, CR LF.
  void WriteLogLine(const AnsiString& name, int32_t code);
  std::unique_ptr<TStream> FOwnedStream;
  TStream* FStream = nullptr;
  TArArchiveState FStatus = asInvalid;
  AnsiString FArchiveName;
  AnsiString FBaseDirectory;
  TArArchiveItem* FCurrentItem = nullptr;
  uint16_t FFileMode = 0;
  bool FIsDirty = false;
  AnsiString FLogFile;
  bool FLogging = false;
  std::unique_ptr<TStream> FLogStream;
};

// The base of the library's components: publishes `Version`, always "1.0".
class TArBaseComponent : public TComponent {
public:
  using TComponent::TComponent;
  AnsiString Version() const { return "1.0"; }
};
