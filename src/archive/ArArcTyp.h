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
#include "platform/base/Components.h"
#include "platform/base/Streams.h"

enum TArArchiveType : uint8_t {
  atUnknown,
  atZip,
  atSpannedZip,
  atSelfExtZip,
  atTar,
  atGzip,
  atGzippedTar,
  atCab
};

// What saving does with an entry; a loaded entry is aaNone.
enum TArArchiveAction : uint8_t {
  aaFailed,
  aaNone,
  aaAdd,
  aaDelete,
  aaFreshen,
  aaMove,
  aaReplace,
  aaStreamAdd
};

enum TArProcessType : uint8_t { ptAdd, ptDelete, ptExtract, ptFreshen, ptMove, ptReplace, ptFoundUnhandled };

enum TArExtractOption : uint8_t { eoCreateDirs = 1, eoRestorePath = 2 };
using TArExtractOptions = uint8_t;  // a set of TArExtractOption bits

enum TArArchiveState : uint8_t { asInvalid, asIdle, asBusy };

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
  TArArchiveItem* Items(int32_t index) const { return FItems.at(static_cast<size_t>(index)).get(); }
  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }

private:
  TArArchiveItem* FindItem(const AnsiString& name) const;
  std::vector<std::unique_ptr<TArArchiveItem>> FItems;
  std::array<TArArchiveItem*, BucketCount> FBuckets{};
};

using TArArchiveItemFailureEvent = std::function<void(TObject* sender, TArArchiveItem* item,
                                                      TArProcessType processType, TArErrorClass errorClass,
                                                      int32_t errorCode)>;
using TArArchiveProgressEvent = std::function<void(TObject* sender, int32_t progress, bool& abort)>;
using TArArchiveItemProgressEvent =
    std::function<void(TObject* sender, TArArchiveItem* item, int32_t progress, bool& abort)>;
using TArArchiveItemConfirmEvent =
    std::function<void(TObject* sender, TArArchiveItem* item, TArProcessType processType, bool& confirm)>;
using TArArchiveEvent = std::function<void(TObject* sender)>;
using TArConfirmOverwriteEvent = std::function<void(AnsiString& name, bool& confirm)>;

class TArArchive : public TObject {
public:
  // Opens the file for reading with the file mode (a sharing mode of FileSystem.h) and
  // owns the stream; the base directory is the program's own.
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

  TArArchiveItemFailureEvent OnProcessItemFailure;
  TArArchiveProgressEvent OnArchiveProgress;
  TArArchiveItemProgressEvent OnArchiveItemProgress;
  TArArchiveItemConfirmEvent OnConfirmProcessItem;
  TArConfirmOverwriteEvent OnConfirmOverwrite;
  TArArchiveEvent OnLoad;

  virtual void FireItemFailure(TArArchiveItem* item, TArProcessType processType, TArErrorClass errorClass,
                               int32_t errorCode);
  virtual void FireArchiveProgress(int32_t progress, bool& abort);
  virtual void FireItemProgress(TArArchiveItem* item, int32_t progress, bool& abort);
  virtual void ConfirmProcessItem(TArArchiveItem* item, TArProcessType processType, bool& confirm);
  virtual void FireLoad();
  // The item progress of the current item.
  virtual void ReportProgress(int32_t progress, bool& abort);

protected:
  // For a format whose library reaches the archive file by name itself: no stream, so
  // Stream() is not to be called. The base directory is the program's own.
  explicit TArArchive(const AnsiString& archiveName);

  virtual void ExtractEntryToStream(int32_t index, TStream& stream) = 0;
  // Fills the item list; may raise, in which case LoadContents empties the list.
  virtual void ReadArchive() = 0;

  TArArchiveList FItemList;

private:
  void CheckValid() const;
  std::unique_ptr<TStream> FOwnedStream;
  TStream* FStream;
  TArArchiveState FStatus = asInvalid;
  AnsiString FArchiveName;
  AnsiString FBaseDirectory;
  TArArchiveItem* FCurrentItem = nullptr;
};

// The base of the library's components: publishes `Version`, always "1.0".
class TArBaseComponent : public TComponent {
public:
  using TComponent::TComponent;
  AnsiString Version() const { return "1.0"; }
};
