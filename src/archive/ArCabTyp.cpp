#include "archive/ArCabTyp.h"

#include <algorithm>

#include "archive/ArUtils.h"
#include "platform/base/CodePages.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/FileTimes.h"

namespace {

// The cabinet separates folders of a stored name with "\", this library with "/".
AnsiString WithSlashes(AnsiString name) {
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

AnsiString FilePart(const AnsiString& name) {
  size_t slash = name.rfind('/');
  return slash == AnsiString::npos ? name : name.substr(slash + 1);
}

// The local DOS date and time of an open file's last write.
void FileDosDateTime(THandle handle, uint16_t& date, uint16_t& time) {
  FILETIME written{}, local{};
  date = time = 0;
  if (GetFileTime(handle, nullptr, nullptr, &written) && FileTimeToLocalFileTime(&written, &local))
    FileTimeToDosDateTime(&local, &date, &time);
}

// The sharing part of a mode, for the framework's own opening of the file (fmCreate,
// all bits set, has none).
uint16_t SharingOf(uint16_t mode) { return mode == fmCreate ? fmShareDenyNone : static_cast<uint16_t>(mode & 0xF0); }

constexpr uint32_t KeptAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

}  // namespace

uint16_t CabCompressionCode(TArCabCompressionType kind) {
  switch (kind) {
    case ctMSZip:
      return CabCompressMSZip;
    case ctLzx:
      return CabCompressLzx18;
    default:
      return CabCompressNone;
  }
}

TArCabArchive::TArCabArchive(const AnsiString& fileName, uint16_t mode)
    : TArArchive(fileName, SharingOf(mode)), FWriting(mode & fmOpenWrite) {
  size_t slash = fileName.rfind('/');
  FCabPath = slash == AnsiString::npos ? AnsiString() : fileName.substr(0, slash + 1);
  FCabName = slash == AnsiString::npos ? fileName : fileName.substr(slash + 1);
}

TArCabArchive::~TArCabArchive() = default;

TArCabItem& TArCabArchive::Item(int32_t index) const {
  if (index < 0 || index >= Count()) throw Exception("Index out of range");
  return static_cast<TArCabItem&>(*Items(index));
}

void TArCabArchive::CloseContexts() {
  FDIDestroy(std::move(FReader));
  FCIDestroy(std::move(FWriter));
  bool abort = false;
  FireArchiveProgress(0, abort);
}

TFdiFileCallbacks TArCabArchive::ReaderCallbacks() {
  TFdiFileCallbacks files;
  files.Open = [this](const AnsiString& name) { return FFiles.OpenRead(name); };
  files.Read = [this](TCabHandle h, void* buffer, int32_t count) { return FFiles.Read(h, buffer, count); };
  files.Write = [this](TCabHandle h, const void* buffer, int32_t count) { return FFiles.Write(h, buffer, count); };
  files.Close = [this](TCabHandle h) { return FFiles.Close(h); };
  files.Seek = [this](TCabHandle h, int64_t offset, int32_t origin) { return FFiles.Seek(h, offset, origin); };
  return files;
}

TFciFileCallbacks TArCabArchive::WriterCallbacks() {
  TFciFileCallbacks files;
  files.OpenInfo = [this](const AnsiString& name, uint16_t& date, uint16_t& time, uint16_t& attributes) {
    TCabHandle handle = FFiles.OpenRead(name);
    if (handle <= 0) throw EArFCIFileOpenError();
    FileDosDateTime(static_cast<THandleStream*>(FFiles.Stream(handle))->Handle(), date, time);
    uint32_t found = GetFileAttributesA(name.c_str());
    attributes = static_cast<uint16_t>(found == INVALID_FILE_ATTRIBUTES ? 0 : found & KeptAttributes);
    return handle;
  };
  files.Read = [this](TCabHandle h, void* buffer, int32_t count) {
    int32_t got = FFiles.Read(h, buffer, count);
    if (got < 0) throw EArFCIFileReadError();
    return got;
  };
  // The cabinet goes to the save's work stream, which the framework puts in place.
  files.Create = [this](const AnsiString&) { return FFiles.Borrow(*FWork); };
  files.Write = [this](TCabHandle h, const void* buffer, int32_t count) {
    int32_t written = FFiles.Write(h, buffer, count);
    if (written != count) throw EArFCIFileWriteError();
    return written;
  };
  files.Close = [this](TCabHandle h) {
    if (!FFiles.Close(h)) throw EArFCIFileCloseError();
    return true;
  };
  files.Discard = [this](TCabHandle h) { FFiles.Close(h); };
  return files;
}

void TArCabArchive::ReadArchive() {
  if (!LoadCabinetLibrary()) throw EArNoCabinetDll();
  if (FWriting)
    FWriter = CreateWriter();
  else
    ReadCabinet();
}

TFciContextPtr TArCabArchive::CreateWriter() {
  TFciParameters parameters;
  // The framework's spanning threshold is the size limit of the one cabinet written (sets
  // are not written); 0 or less is none.
  parameters.SizeLimit = std::max<int64_t>(SpanningThreshold, 0);
  parameters.CabinetName = FCabName;
  parameters.CabinetPath = FCabPath;
  TFciContextPtr writer = FCICreate(parameters, WriterCallbacks(), FError);
  if (!writer) {
    CloseContexts();
    throw EArFCICreateError();
  }
  return writer;
}

void TArCabArchive::ReadCabinet() {
  // Loading again lists the cabinet anew.
  FItemList.Clear();
  FReader = FDICreate(ReaderCallbacks(), FError);
  if (!FReader) {
    CloseContexts();
    throw EArFDICreateError();
  }
  TCabHandle handle = FFiles.OpenRead(ArchiveName());
  if (handle <= 0) {
    CloseContexts();
    throw EArReadError();
  }
  TFdiCabinetInfo info;
  bool isCabinet = FDIIsCabinet(*FReader, handle, info);
  FFiles.Close(handle);
  if (!isCabinet) {
    CloseContexts();
    throw EArInvalidCabFile();
  }
  if (info.FileCount > Limits.MaxEntries) {
    CloseContexts();
    EArInvalidCabFile e;
    e.SetLimitFault(TArLimitFault::EntryCount);
    throw e;
  }
  FCabInfo = info;
  // The listing walk: every entry is skipped once listed.
  bool listed = FDICopy(*FReader, FCabName, FCabPath, [this](TFdiNotification kind, const TFdiNotice& notice) {
    switch (kind) {
      case TFdiNotification::CabinetInfo:
        FCabInfo.SetId = notice.SetId;
        FCabInfo.CabinetNumber = notice.CabinetNumber;
        FNextCabinet = notice.NextCabinet;
        FNextDisk = notice.NextDisk;
        break;
      case TFdiNotification::PartialFile:
      case TFdiNotification::CopyFile: {
        auto item = std::make_unique<TArCabItem>();
        item->SetFileName(WithSlashes(notice.File.FileName));
        item->SetUncompressedSize(notice.File.Size);
        item->SetLastModFileDate(notice.File.Date);
        item->SetLastModFileTime(notice.File.Time);
        item->SetExternalFileAttributes(notice.File.Attributes);
        item->PartialFile = kind == TFdiNotification::PartialFile;
        FItemList.Add(std::move(item));
        break;
      }
      case TFdiNotification::CloseFileInfo:
        break;
    }
    return TCabHandle{0};
  });
  if (!listed) {
    CloseContexts();
    throw EArFDICopyError();
  }
  bool abort = false;
  FireArchiveProgress(100, abort);
}

TCabHandle TArCabArchive::OpenTarget(TTarget target, const AnsiString& outputName, TStream* stream, AnsiString& path) {
  switch (target) {
    case TTarget::Stream:
      return FFiles.Borrow(*stream);
    case TTarget::Sink:
      return FFiles.OpenSink();
    case TTarget::File:
      break;
  }
  path = outputName;
  return PrepareExtractPath(BaseDirectory(), path) ? FFiles.CreateReplacing(path) : 0;
}

bool TArCabArchive::CopyEntry(int32_t index, TTarget target, const AnsiString& outputName, TStream* stream) {
  TArCabItem& entry = Item(index);
  if (!FReader) return false;
  // Entries are met in the order they were listed: the index-th one is the entry.
  int32_t position = -1;
  bool reached = false;
  bool skipped = false;
  AnsiString path;
  TFdiNotify notify = [&](TFdiNotification kind, const TFdiNotice& notice) {
    switch (kind) {
      case TFdiNotification::CabinetInfo:
        break;
      case TFdiNotification::PartialFile:
        ++position;
        break;
      case TFdiNotification::CopyFile: {
        if (++position != index) break;
        TCabHandle handle = OpenTarget(target, outputName, stream, path);
        skipped = handle == 0;
        return handle;
      }
      case TFdiNotification::CloseFileInfo:
        reached = true;
        if (!FFiles.Complete(notice.Handle)) break;
        if (target == TTarget::File) SetOutputFileInfo(path, notice);
        return TCabHandle{1};
    }
    return TCabHandle{0};
  };
  FEntryInProgress = &entry;
  bool copied = false;
  try {
    copied = FDICopy(*FReader, FCabName, FCabPath, notify);
  } catch (...) {
    FEntryInProgress = nullptr;
    throw;
  }
  FEntryInProgress = nullptr;
  return copied && (reached || skipped);
}

void TArCabArchive::SetOutputFileInfo(const AnsiString& path, const TFdiNotice& notice) {
  std::string fileSystemName;
  if (!AnsiToFileSystemName(path, fileSystemName)) return;
  SetFileDate(fileSystemName, notice.File.Date, notice.File.Time);
  // Of the attributes only read-only means something for a file here.
  if (notice.File.Attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
}

void TArCabArchive::ExtractEntryToStream(int32_t index, TStream& stream) {
  if (Item(index).UncompressedSize() > Limits.MaxExpandedBytes) {
    EArFDICopyError e;
    e.SetLimitFault(TArLimitFault::ExpandedSize);
    throw e;
  }
  if (!CopyEntry(index, TTarget::Stream, AnsiString(), &stream)) throw EArFDICopyError();
}

void TArCabArchive::TestEntry(int32_t index) {
  if (!CopyEntry(index, TTarget::Sink, AnsiString(), nullptr)) throw EArFDICopyError();
}

void TArCabArchive::ExtractEntry(int32_t index, const AnsiString& newName) {
  TArCabItem& entry = Item(index);
  AnsiString outputName = newName.empty() ? entry.FileName() : newName;
  bool copied = false;
  try {
    copied = CopyEntry(index, TTarget::File, outputName, nullptr);
  } catch (const std::exception& e) {
    // The output's failures (a folder or file that cannot be made) are the entry's too.
    TArErrorClass errorClass;
    int32_t errorCode;
    ClassifyError(e, errorClass, errorCode);
    FireItemFailure(&entry, ptExtract, errorClass, errorCode);
    return;
  }
  if (!copied) FireItemFailure(&entry, ptExtract, ecCabError, 0);
}

std::unique_ptr<TArArchiveItem> TArCabArchive::NewItem(const AnsiString& filePath) {
  auto item = std::make_unique<TArCabItem>();
  item->DiskFileName = ExpandPath(filePath);
  item->SetFileName(WideToAnsi(AnsiToWide(NormalizeName(filePath)), CP_OEMCP));
  return item;
}

void TArCabArchive::AddItem(std::unique_ptr<TArArchiveItem> item) {
  if (!FWriting) {
    FireItemFailure(item.get(), ptAdd, ecCabError, 0);
    return;
  }
  TArArchive::AddItem(std::move(item));
}

void TArCabArchive::AddToWriter(TArArchiveItem& item) {
  {
    TCabHandle source = FFiles.OpenRead(item.DiskFileName);
    if (source <= 0) throw EArFileNotFound();
    item.SetUncompressedSize(FFiles.Stream(source)->Size());
    FFiles.Close(source);
  }
  FEntryInProgress = &item;
  FItemProgressTotal = 0;
  bool aborted = false;
  TFciStatus status = [&](int64_t bytes) {
    FItemProgressTotal += bytes;
    if (!OnArchiveItemProgress) return 0;
    FireItemProgress(&item, Percentage(FItemProgressTotal, item.UncompressedSize()), aborted);
    return aborted ? -1 : 0;
  };
  bool added = false;
  try {
    added = FCIAddFile(*FWriter, item.DiskFileName, FilePart(item.FileName()), false, status,
                       CabCompressionCode(CompressionType));
  } catch (...) {
    FEntryInProgress = nullptr;
    throw;
  }
  FEntryInProgress = nullptr;
  if (aborted) throw EArUserAbort();
  if (!added) throw EArFCIAddFileError();
}

void TArCabArchive::WriteCabinet() {
  if (!LoadCabinetLibrary()) throw EArNoCabinetDll();
  std::unique_ptr<TStream> work = NewWorkStream();
  FWork = work.get();
  FWriter = CreateWriter();
  for (int32_t i = 0; i < Count(); ++i) {
    TArArchiveItem& item = *Items(i);
    if (item.Action == aaDelete || item.Action == aaFailed) continue;
    SetCurrentItem(&item);
    try {
      AddToWriter(item);
    } catch (const EArUserAbort&) {
      throw;
    } catch (const std::exception& e) {
      // The cabinet is made anew from the disk files: an entry whose file fails is left out.
      DropFailedItem(item, e);
      item.Action = aaDelete;
    }
    SaveStepProgress(i, Count());
  }
  if (!FCIFlushCabinet(*FWriter)) throw EArCabException(59);
  FWork = nullptr;
  ReplaceContent(*work);
}

void TArCabArchive::WriteArchive() {
  if (!FWriting) {
    // A cabinet opened for reading is never written; additions were refused when made.
    for (int32_t i = 0; i < Count(); ++i)
      if (Items(i)->Action != aaNone) throw EArCabException(59);
    return;
  }
  std::vector<TArArchiveAction> actions;
  for (int32_t i = 0; i < Count(); ++i) actions.push_back(Items(i)->Action);
  try {
    WriteCabinet();
  } catch (...) {
    FWork = nullptr;
    for (int32_t i = 0; i < Count(); ++i) Items(i)->Action = actions[static_cast<size_t>(i)];
    SetCurrentItem(nullptr);
    throw;
  }
  FinishSave();
}

TArArchiveType CheckCab(const AnsiString& fileName) {
  TArCabArchive archive(fileName, fmShareDenyNone);
  try {
    archive.LoadContents();
  } catch (const EArFDICreateError&) {
    return atUnknown;
  }
  return atCab;
}
