#include "archive/ArArcTyp.h"

#include "archive/ArUtils.h"
#include "archive/ArVolumes.h"
#include "platform/base/CodePages.h"
#include "platform/base/FileSystem.h"
#include "platform/base/Module.h"
#include "platform/base/TextUtils.h"

// --- TArArchiveList ----------------------------------------------------------------

uint32_t TArArchiveList::Bucket(const AnsiString& name) {
  uint32_t h = 0;
  for (char c : AnsiUpperCase(name)) {
    h = (h << 4) + static_cast<uint8_t>(c);
    uint32_t g = h & 0xF0000000u;
    if (g) h ^= g >> 24;
    h &= ~g;
  }
  return h % BucketCount;
}

int32_t TArArchiveList::Add(std::unique_ptr<TArArchiveItem> item) {
  TArArchiveItem*& head = FBuckets[Bucket(item->FileName())];
  item->FNextInBucket = head;
  head = item.get();
  FItems.push_back(std::move(item));
  return Count() - 1;
}

void TArArchiveList::Clear() {
  FItems.clear();
  FBuckets.fill(nullptr);
}

void TArArchiveList::Delete(int32_t index) {
  TArArchiveItem* item = Items(index);
  for (TArArchiveItem** link = &FBuckets[Bucket(item->FileName())]; *link; link = &(*link)->FNextInBucket)
    if (*link == item) {
      *link = item->FNextInBucket;
      break;
    }
  FItems.erase(FItems.begin() + index);
}

TArArchiveItem* TArArchiveList::FindItem(const AnsiString& name) const {
  for (TArArchiveItem* item = FBuckets[Bucket(name)]; item; item = item->FNextInBucket)
    if (SameText(item->FileName(), name)) return item;
  return nullptr;
}

int32_t TArArchiveList::Find(const AnsiString& name) const {
  TArArchiveItem* found = FindItem(name);
  if (!found) return -1;
  for (int32_t i = 0; i < Count(); ++i)
    if (FItems[static_cast<size_t>(i)].get() == found) return i;
  return -1;
}

void TArArchiveList::Rename(TArArchiveItem& item, const AnsiString& name) {
  for (TArArchiveItem** link = &FBuckets[Bucket(item.FileName())]; *link; link = &(*link)->FNextInBucket)
    if (*link == &item) {
      *link = item.FNextInBucket;
      break;
    }
  item.SetFileName(name);
  TArArchiveItem*& head = FBuckets[Bucket(item.FileName())];
  item.FNextInBucket = head;
  head = &item;
}

bool TArArchiveList::IsActiveName(const AnsiString& name) const {
  TArArchiveItem* found = FindItem(name);
  return found && found->Action != aaDelete;
}

// --- TArArchive --------------------------------------------------------------------

namespace {

AnsiString WithoutTrailingSlash(AnsiString directory) {
  if (directory.size() > 1 && directory.back() == '/') directory.pop_back();
  return directory;
}

}  // namespace

TArArchive::TArArchive(const AnsiString& fileName, uint16_t mode)
    : FArchiveName(fileName),
      FBaseDirectory(WithoutTrailingSlash(WideToAnsi(ProgramDirectory()))),
      FFileMode(static_cast<uint16_t>(fmOpenRead | (mode & 0xF0))) {
  if (GetFileAttributesA(fileName.c_str()) == INVALID_FILE_ATTRIBUTES) {
    FOwnedStream = std::make_unique<TMemoryStream>();
    FStream = FOwnedStream.get();
  } else {
    OpenArchiveFile();
  }
  FStatus = asIdle;
}

void TArArchive::OpenArchiveFile() {
  AnsiString fullName = ExpandPath(FArchiveName);
  auto span =
      std::make_unique<TArSpanStream>(fullName, 0, IsRemovableDrive(fullName) ? mtRemoveable : mtLocal, FFileMode);
  span->IgnoreSpanning = true;
  span->OnRequestMedia = [this](TArSpanStream& stream, int32_t imageNumber, bool& abort, AnsiString& imageName) {
    RequestSpanMedia(stream, imageNumber, abort, imageName);
  };
  FStream = span.get();
  FOwnedStream = std::move(span);
}

TArArchive::TArArchive(TStream& stream, const AnsiString& archiveName) : FStream(&stream), FArchiveName(archiveName) {
  FStatus = asIdle;
}

TArArchive::~TArArchive() = default;

void TArArchive::CheckValid() const {
  if (FStatus == asInvalid) throw EArNoArchive();
}

void TArArchive::SetBaseDirectory(const AnsiString& directory) {
  AnsiString value = WithoutTrailingSlash(directory);
  if (!value.empty() && !DirectoryExists(value)) throw EArNoSuchDirectory();
  FBaseDirectory = value;
}

void TArArchive::LoadContents() {
  CheckValid();
  FStatus = asBusy;
  try {
    ReadArchive();
  } catch (...) {
    FItemList.Clear();
    // A format may have marked the archive invalid (an aborted load).
    if (FStatus == asBusy) FStatus = asIdle;
    FireLoad();
    throw;
  }
  if (FStatus == asBusy) FStatus = asIdle;
  FireLoad();
}

void TArArchive::ExtractByName(const AnsiString& name, TStream& stream) {
  CheckValid();
  int32_t index = FindName(name);
  if (index >= 0) ExtractItem(*Items(index), stream);
}

void TArArchive::ExtractItem(TArArchiveItem& item, TStream& stream) {
  CheckValid();
  // Pending entries have no data in the archive yet.
  TArArchiveItem* entry = &item;
  SaveIfChanged();
  int32_t index = IndexOfItem(entry);
  if (index < 0) return;
  FStatus = asBusy;
  bool confirm = true;
  ConfirmProcessItem(&item, ptExtract, confirm);
  if (confirm) {
    FCurrentItem = &item;
    try {
      ExtractEntryToStream(index, stream);
    } catch (const std::exception& e) {
      TArErrorClass errorClass;
      int32_t errorCode;
      ClassifyError(e, errorClass, errorCode);
      FireItemFailure(&item, ptExtract, errorClass, errorCode);
    }
    FCurrentItem = nullptr;
  }
  if (FStatus == asBusy) FStatus = asIdle;
}

bool TArArchive::PrepareExtractPath(const AnsiString& targetDirectory, AnsiString& name) {
  // The entry's own path, without the components that could lead out of the target.
  AnsiString relative;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('/', start);
    if (end == AnsiString::npos) end = name.size();
    AnsiString part = name.substr(start, end - start);
    if (!part.empty() && part != "." && part != "..") relative += (relative.empty() ? "" : "/") + part;
    start = end + 1;
  }
  if (!(ExtractOptions & eoRestorePath)) {
    size_t slash = relative.rfind('/');
    if (slash != AnsiString::npos) relative.erase(0, slash + 1);
  }
  AnsiString path = AddBackslash(targetDirectory) + relative;
  size_t lastSlash = path.rfind('/');
  AnsiString directory = lastSlash == AnsiString::npos ? AnsiString() : path.substr(0, lastSlash);
  if (!directory.empty() && !DirectoryExists(directory)) {
    if (!(ExtractOptions & eoCreateDirs) || !CreateDirectoryPath(directory)) throw EArNoSuchDirectory();
  }
  bool confirm = true;
  if (OnConfirmOverwrite && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
    OnConfirmOverwrite(path, confirm);
  if (confirm) name = path;
  return confirm;
}

void TArArchive::ExtractProgressStep(int32_t percent) {
  bool abort = false;
  ReportProgress(percent, abort);
  if (abort) throw EArAbortProgress(ArchiveErrorMessage(9));
}

void TArArchive::FireItemFailure(TArArchiveItem* item, TArProcessType processType, TArErrorClass errorClass,
                                 int32_t errorCode) {
  if (OnProcessItemFailure) OnProcessItemFailure(this, item, processType, errorClass, errorCode);
}

void TArArchive::FireArchiveProgress(int32_t progress, bool& abort) {
  abort = false;
  if (OnArchiveProgress) OnArchiveProgress(this, progress, abort);
}

void TArArchive::FireItemProgress(TArArchiveItem* item, int32_t progress, bool& abort) {
  abort = false;
  if (OnArchiveItemProgress) OnArchiveItemProgress(this, item, progress, abort);
}

void TArArchive::ConfirmProcessItem(TArArchiveItem* item, TArProcessType processType, bool& confirm) {
  confirm = true;
  if (OnConfirmProcessItem) OnConfirmProcessItem(this, item, processType, confirm);
  if (confirm && FLogStream && item) LogProcess(item->FileName(), processType);
}

void TArArchive::FireLoad() {
  if (OnLoad) OnLoad(this);
}

void TArArchive::RequestSpanMedia(TArSpanStream&, int32_t, bool&, AnsiString&) { throw EArSpanningNotSupported(); }

void TArArchive::ReportProgress(int32_t progress, bool& abort) {
  abort = false;
  FireItemProgress(FCurrentItem, progress, abort);
}
