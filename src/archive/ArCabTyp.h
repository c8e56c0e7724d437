// Cabinet archives, read and written through the platform's cabinet library
// (platform/cabinet/Cabinet.h), which opens the cabinet file by name and reaches every
// other file through this archive's callbacks.
//
// An archive is either a reader (opened without the write bit in its mode) or a writer.
// A writer's entries are added through the framework (NewItem, AddItem) and its cabinet
// is written anew from their disk files by SaveChanges. Stored names use "\" as the
// separator in the cabinet and "/" here.
#pragma once

#include <cstdint>

#include "archive/ArArcTyp.h"
#include "archive/ArCabFiles.h"
#include "platform/cabinet/Cabinet.h"

// How a writer compresses the files it adds; the texts of the first two are codes 290
// ("None") and 291 ("MSZip") of the message table.
enum TArCabCompressionType : uint8_t { ctNone, ctMSZip, ctLzx };

// The cabinet's compression code of a kind: 0, 1, or LZX with a 2^18-byte window.
uint16_t CabCompressionCode(TArCabCompressionType kind);

class TArCabItem : public TArArchiveItem {
public:
  // The entry starts in a previous cabinet of a set: it is listed, never extracted here.
  bool PartialFile = false;
};

class TArCabArchive : public TArArchive {
public:
  // A writer when the mode has its write bit (1; fmCreate too), else a reader. The
  // cabinet library opens the file by name itself, when loading and extracting.
  TArCabArchive(const AnsiString& fileName, uint16_t mode);
  ~TArCabArchive() override;

  // Extracts entry index to a file below the base directory: its stored name (its file
  // name alone without eoRestorePath), or newName when given, with the cabinet's date and
  // read-only bit. The file appears only complete; an existing one is replaced only when
  // OnConfirmOverwrite agrees (else nothing happens). A failure of the library goes to
  // the item-failure event as (ptExtract, ecCabError, 0), a partial entry too; a failure
  // of the output (a folder that cannot be made: EArNoSuchDirectory) as ClassifyError
  // gives it. Only an index out of range raises.
  void ExtractEntry(int32_t index, const AnsiString& newName);
  // Decompresses entry index, keeping nothing: EArFDICopyError when its data is damaged
  // or cannot be reached (a partial entry).
  void TestEntry(int32_t index);

  // A new entry for the file: stored name NormalizeName(filePath) in the OEM code page,
  // disk file the expanded path.
  std::unique_ptr<TArArchiveItem> NewItem(const AnsiString& filePath) override;
  // A reader reports (ptAdd, ecCabError, 0) and drops the entry; a writer adds it as the
  // framework does.
  void AddItem(std::unique_ptr<TArArchiveItem> item) override;

  // The compression of the cabinet a writer writes (one folder); LZX is never written:
  // every entry then fails.
  TArCabCompressionType CompressionType = ctNone;

  // The cabinet header, once loaded.
  int64_t CabSize() const { return FCabInfo.CabinetSize; }
  uint16_t FolderCount() const { return FCabInfo.FolderCount; }
  uint16_t FileCount() const { return FCabInfo.FileCount; }
  uint16_t CurrentCab() const { return FCabInfo.CabinetNumber; }
  uint16_t SetID() const { return FCabInfo.SetId; }
  bool HasPrev() const { return FCabInfo.HasPrevious; }
  bool HasNext() const { return FCabInfo.HasNext; }
  const AnsiString& NextCabinet() const { return FNextCabinet; }
  const AnsiString& NextDisk() const { return FNextDisk; }
  bool IsWriter() const { return FWriting; }

protected:
  // Raises EArNoCabinetDll when the library does not load. A reader checks the file
  // (EArFDICreateError, EArReadError, EArInvalidCabFile) and lists it (EArFDICopyError);
  // a writer is created (EArFCICreateError).
  void ReadArchive() override;
  // Decompresses entry index into stream, at most Limits.MaxExpandedBytes; raises
  // EArFDICopyError when it fails.
  void ExtractEntryToStream(int32_t index, TStream& stream) override;
  // A writer writes the cabinet of its entries, each taken from its disk file under its
  // stored name's file part; an entry whose file fails is reported (its action's process
  // type, ClassifyError's class and code; EArFCIAddFileError when the library refuses it)
  // and left out. The library's failure to write raises EArCabException "FCI cannot
  // flush cabinet" (a cabinet beyond the spanning threshold, for one); an abort of the
  // item progress raises EArUserAbort; either leaves the file and the entries as they
  // were. A reader writes nothing: changes other than additions raise that error.
  void WriteArchive() override;

private:
  enum class TTarget : uint8_t { File, Stream, Sink };
  void ReadCabinet();
  TFciContextPtr CreateWriter();
  // Takes in the entry's disk file; raises as WriteArchive reports.
  void AddToWriter(TArArchiveItem& item);
  void WriteCabinet();
  // Walks the cabinet giving entry index's data to the target; false when the library
  // fails or the entry was not reached.
  bool CopyEntry(int32_t index, TTarget target, const AnsiString& outputName, TStream* stream);
  // The handle that receives the entry's data (0: an existing file is not to be
  // replaced); path becomes the output file's.
  TCabHandle OpenTarget(TTarget target, const AnsiString& outputName, TStream* stream, AnsiString& path);
  // The cabinet's date and read-only bit on an extracted file.
  static void SetOutputFileInfo(const AnsiString& path, const TFdiNotice& notice);
  // Destroys the library's reader and writer after a failure.
  void CloseContexts();
  TFdiFileCallbacks ReaderCallbacks();
  TFciFileCallbacks WriterCallbacks();
  TArCabItem& Item(int32_t index) const;

  bool FWriting;
  AnsiString FCabName;
  AnsiString FCabPath;
  TArCabFiles FFiles;
  TFdiContextPtr FReader;
  TFciContextPtr FWriter;
  TStream* FWork = nullptr;  // where the writer's cabinet goes during a save
  TCabError FError;
  TFdiCabinetInfo FCabInfo;
  AnsiString FNextCabinet;
  AnsiString FNextDisk;
  TArArchiveItem* FEntryInProgress = nullptr;
  int64_t FItemProgressTotal = 0;
};

// atCab after a successful load of the file as a cabinet; atUnknown when the library's
// reader cannot be created. A file that is not a cabinet raises EArInvalidCabFile, and
// the other errors of loading pass on.
TArArchiveType CheckCab(const AnsiString& fileName);
