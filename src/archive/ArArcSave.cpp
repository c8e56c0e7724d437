// The writing road of the archive framework: entries marked for adding, moving,
// freshening, replacing and deleting, the save that writes them, and the log.
#include "archive/ArArcTyp.h"
#include "archive/ArUtils.h"
#include "archive/ArVMStrm.h"
#include "platform/base/DateTimeText.h"
#include "platform/base/FileReplace.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"

class TArArchive::TBusyScope {
public:
  explicit TBusyScope(TArArchive& archive) : FArchive(archive) { FArchive.FStatus = asBusy; }
  ~TBusyScope() {
    if (FArchive.FStatus == asBusy) FArchive.FStatus = asIdle;
  }
  TBusyScope(const TBusyScope&) = delete;
  TBusyScope& operator=(const TBusyScope&) = delete;

private:
  TArArchive& FArchive;
};

namespace {

constexpr int32_t DuplicateNameCode = 7;
constexpr int32_t LogFileErrorCode = 38;
constexpr int32_t FirstProcessTextCode = 310;  // " added " and on, by process type
constexpr int32_t LoggingTextCode = 316;       // " logging "
constexpr int32_t UnhandledEntityCode = 513;

TArProcessType ProcessOf(TArArchiveAction action) {
  switch (action) {
    case aaFreshen:
      return ptFreshen;
    case aaReplace:
      return ptReplace;
    case aaMove:
      return ptMove;
    default:
      return ptAdd;
  }
}

}  // namespace

AnsiString TArArchive::NormalizeName(const AnsiString& filePath) {
  AnsiString name = filePath;
  if (DOSMode) {
    if (PathKind(name) != 2) name = AddBackslash(FBaseDirectory) + name;
    name = ShortPath(name);
  }
  if (name.size() > 1 && name.front() == '/') name.erase(0, 1);
  if (StoreOptions & soStripPath) {
    AnsiString directory;
    SplitPath(AnsiString(name), directory, name);
  }
  if (StoreOptions & soRemoveDots) RemoveLeadingDotDots(name);
  return name;
}

void TArArchive::Changed() {
  FIsDirty = true;
  if (AutoSave) SaveChanges();
}

void TArArchive::SaveIfChanged() {
  for (int32_t i = 0; i < Count(); ++i)
    if (Items(i)->Action != aaNone) {
      SaveChanges();
      return;
    }
}

int32_t TArArchive::IndexOfItem(const TArArchiveItem* item) const {
  for (int32_t i = 0; i < Count(); ++i)
    if (Items(i) == item) return i;
  return -1;
}

void TArArchive::AddItem(std::unique_ptr<TArArchiveItem> item) {
  CheckValid();
  if (FItemList.IsActiveName(item->FileName())) {
    if (StoreOptions & soFreshenExisting)
      FreshenItem(*item);
    else if (StoreOptions & soReplaceExisting)
      ReplaceItem(*item);
    else
      FireItemFailure(item.get(), ptAdd, ecArchiver, DuplicateNameCode);
    return;
  }
  bool confirm = true;
  ConfirmProcessItem(item.get(), ptAdd, confirm);
  if (!confirm) return;
  TBusyScope busy(*this);
  item->Action = aaAdd;
  FItemList.Add(std::move(item));
  Changed();
}

void TArArchive::MoveItem(TArArchiveItem& item, const AnsiString& newPath) {
  CheckValid();
  AnsiString name = NormalizeName(newPath);
  if (FItemList.IsActiveName(name)) {
    FireItemFailure(&item, ptMove, ecArchiver, DuplicateNameCode);
    return;
  }
  TArArchiveItem* entry = &item;
  SaveIfChanged();
  // Saving drops entries marked deleted.
  if (IndexOfItem(entry) < 0) return;
  TBusyScope busy(*this);
  bool confirm = true;
  ConfirmProcessItem(entry, ptMove, confirm);
  if (!confirm) return;
  FItemList.Rename(*entry, name);
  entry->Action = aaMove;
  Changed();
}

// The file the caller names (a full path) is the one to take, whatever the base
// directory would give.
void TArArchive::FreshenItem(const TArArchiveItem& item) {
  int32_t index = FindName(item.FileName());
  if (index < 0) return;
  MarkForUpdate(index, aaFreshen, ptFreshen, true, PathKind(item.DiskFileName) == 2 ? item.DiskFileName : "");
}

void TArArchive::ReplaceItem(const TArArchiveItem& item) {
  int32_t index = FindName(item.FileName());
  if (index < 0) return;
  MarkForUpdate(index, aaReplace, ptReplace, false, PathKind(item.DiskFileName) == 2 ? item.DiskFileName : "");
}

void TArArchive::FreshenAt(int32_t index) { MarkForUpdate(index, aaFreshen, ptFreshen, true, ""); }

void TArArchive::ReplaceAt(int32_t index) { MarkForUpdate(index, aaReplace, ptReplace, false, ""); }

void TArArchive::MarkForUpdate(int32_t index, TArArchiveAction action, TArProcessType processType, bool test,
                               const AnsiString& diskFileName) {
  CheckValid();
  TArArchiveItem* entry = Items(index);
  SaveIfChanged();
  if (IndexOfItem(entry) < 0) return;
  TBusyScope busy(*this);
  entry->DiskFileName = diskFileName.empty() ? ResolveDiskFileName(*entry) : diskFileName;
  if (test) {
    bool needed;
    try {
      needed = NeedsFreshening(*entry);
    } catch (const std::exception& e) {
      TArErrorClass errorClass;
      int32_t errorCode;
      ClassifyError(e, errorClass, errorCode);
      FireItemFailure(entry, processType, errorClass, errorCode);
      return;
    }
    if (!needed) return;
  }
  bool confirm = true;
  ConfirmProcessItem(entry, processType, confirm);
  if (!confirm) return;
  entry->Action = action;
  Changed();
}

void TArArchive::DeleteAt(int32_t index) {
  CheckValid();
  TArArchiveItem* entry = Items(index);
  TBusyScope busy(*this);
  bool confirm = true;
  ConfirmProcessItem(entry, ptDelete, confirm);
  if (!confirm) return;
  entry->Action = aaDelete;
  Changed();
}

AnsiString TArArchive::ResolveDiskFileName(const TArArchiveItem& item) const {
  AnsiString name = item.FileName();
  if ((StoreOptions & soRecurse) && PathKind(name) == 0) {
    std::vector<AnsiString> found;
    FindFiles(AddBackslash(FBaseDirectory) + name, found, true);
    return found.empty() ? AnsiString() : found.front();
  }
  if (!FBaseDirectory.empty()) return AddBackslash(FBaseDirectory) + name;
  return PathKind(item.DiskFileName) == 2 ? item.DiskFileName : name;
}

bool TArArchive::NeedsFreshening(const TArArchiveItem& item) const {
  TFileStream file(item.DiskFileName, static_cast<uint16_t>(fmOpenRead | fmShareDenyNone));
  uint32_t dateTime = FileLocalDosDateTime(file.Handle());
  if (dateTime >> 16 != item.LastModFileDate() || (dateTime & 0xFFFF) != item.LastModFileTime()) return true;
  return file.Size() != item.UncompressedSize();
}

void TArArchive::SaveChanges() {
  if (FStatus == asInvalid) return;
  if (!FIsDirty && Count() > 0) return;
  TBusyScope busy(*this);
  bool confirm = true;
  if (OnConfirmSaving) OnConfirmSaving(this, confirm);
  if (!confirm) return;
  WriteArchive();
  FIsDirty = false;
  FireSaved();
}

std::unique_ptr<TStream> TArArchive::NewWorkStream() const {
  auto work = std::make_unique<TArVirtualMemoryStream>();
  work->SwapFileDirectory = TempDirectory;
  work->SetMemoryLimit(TArVirtualMemoryStream::MaxPages * TArVirtualMemoryStream::PageBytes);
  return work;
}

void TArArchive::ReplaceContent(TStream& work) {
  try {
    work.SetPosition(0);
    if (!FOwnedStream) {
      FStream->SetSize(0);
      FStream->SetPosition(0);
      FStream->CopyFrom(work, 0);
      return;
    }
    std::string fileSystemName;
    if (!AnsiToFileSystemName(FArchiveName, fileSystemName)) throw EArFileNotFound();
    {
      TFileReplaceStream target(fileSystemName);
      target.CopyFrom(work, 0);
      if (!target.Commit()) RaiseLastOSError();
    }
    OpenArchiveFile();
  } catch (const EArUserAbort&) {
    throw;
  } catch (...) {
    throw EArBadStream(std::current_exception());
  }
}

void TArArchive::SettleItems(TArArchiveAction leaving, TArArchiveAction alsoLeaving) {
  for (int32_t i = Count() - 1; i >= 0; --i) {
    TArArchiveItem* item = Items(i);
    if (item->Action == leaving || item->Action == alsoLeaving)
      FItemList.Delete(i);
    else
      item->Action = aaNone;
  }
}

void TArArchive::DiscardChanges() {
  SettleItems(aaAdd, aaStreamAdd);
  FIsDirty = false;
}

void TArArchive::SaveStepProgress(int32_t index, int32_t count) {
  bool abort = false;
  FireArchiveProgress(Percentage(int64_t{index + 1} * 9, int64_t{count} * 10), abort);
  if (abort) throw EArUserAbort();
}

bool TArArchive::DropFailedItem(TArArchiveItem& item, const std::exception& error) {
  TArErrorClass errorClass;
  int32_t errorCode;
  ClassifyError(error, errorClass, errorCode);
  FireItemFailure(&item, ProcessOf(item.Action), errorClass, errorCode);
  bool dropped = item.Action == aaAdd || item.Action == aaStreamAdd;
  item.Action = dropped ? aaDelete : aaNone;
  return dropped;
}

void TArArchive::FinishSave() {
  SettleItems(aaDelete, aaFailed);
  FCurrentItem = nullptr;
  bool abort = false;
  FireSaveProgress(100, abort);
  FireArchiveProgress(100, abort);
}

void TArArchive::FireSaveProgress(int32_t progress, bool& abort) {
  abort = false;
  if (OnSaveProgress) OnSaveProgress(this, progress, abort);
}

void TArArchive::FireSaved() {
  if (OnSaved) OnSaved(this);
}

void TArArchive::SetLogging(bool on) {
  FLogStream.reset();
  FLogging = on;
  if (!on || FLogFile.empty()) return;
  try {
    FLogStream = std::make_unique<TFileStream>(FLogFile, fmCreate);
  } catch (const std::exception&) {
    throw EArException(LogFileErrorCode);
  }
  WriteLogLine(FArchiveName, LoggingTextCode);
}

void TArArchive::LogProcess(const AnsiString& name, TArProcessType processType) {
  // An entry the format cannot handle is no " logging " (the text that shares its number).
  WriteLogLine(name, processType == ptFoundUnhandled ? UnhandledEntityCode : FirstProcessTextCode + processType);
}

void TArArchive::WriteLogLine(const AnsiString& name, int32_t code) {
  AnsiString line = name + ArchiveErrorMessage(code) + DateTimeToStr(UnixTimeToDateTime(LocalUnixTimeNow())) + "\r\n";
  FLogStream->WriteBuffer(line.data(), static_cast<int32_t>(line.size()));
}
