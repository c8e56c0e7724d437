#include "archive/ArBrowse.h"

#include "archive/ArCabTyp.h"
#include "archive/ArGzTyp.h"
#include "archive/ArTarTyp.h"
#include "archive/ArZipTyp.h"
#include "platform/base/FileSystem.h"
#include "platform/base/TextUtils.h"

namespace {

AnsiString UpperExtension(const AnsiString& fileName) {
  size_t slash = fileName.rfind('/');
  size_t dot = fileName.rfind('.');
  if (dot == AnsiString::npos || (slash != AnsiString::npos && dot < slash)) return AnsiString();
  return UpperCase(fileName.substr(dot));
}

bool IsFile(const AnsiString& fileName) {
  uint32_t attributes = GetFileAttributesA(fileName.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TArArchiveType KindByExtension(const AnsiString& extension) {
  if (extension == ".ZIP" || extension == ".JAR") return atZip;
  if (extension == ".TAR") return atTar;
  if (extension == ".GZ") return atGzip;
  if (extension == ".TGZ") return atGzippedTar;
  if (extension == ".CAB") return atCab;
  return atUnknown;
}

}  // namespace

TArArchiveType DetectArchiveType(const AnsiString& fileName, TArArchiveType asserted) {
  bool exists = IsFile(fileName);
  if (asserted != atUnknown) {
    if (!exists) return asserted;
    TFileStream stream(fileName, fmOpenRead | fmShareDenyNone);
    switch (asserted) {
      case atZip:
        return CheckZip(stream);
      case atSelfExtZip:
        return CheckSelfExtractor(stream);
      case atTar:
        return CheckTarContent(stream);
      case atGzip:
      case atGzippedTar:
        return CheckGzipContent(stream);
      case atCab:
        return CheckCab(fileName);
      default:
        return atUnknown;
    }
  }
  AnsiString extension = UpperExtension(fileName);
  if (!exists) return KindByExtension(extension);
  TFileStream stream(fileName, fmOpenRead | fmShareDenyNone);
  if (stream.Size() == 0) return KindByExtension(extension);
  if (extension == ".EXE") return CheckSelfExtractor(stream);
  if (extension == ".ZIP" || extension == ".JAR") return CheckZip(stream);
  if (extension == ".TAR") return CheckTarContent(stream);
  if (extension == ".GZ" || extension == ".TGZ") return CheckGzipContent(stream);
  if (extension == ".CAB") return CheckCab(fileName);
  return atUnknown;
}

TArBaseBrowser::TArBaseBrowser(TComponent* owner) : TArBaseComponent(owner) {}

TArBaseBrowser::~TArBaseBrowser() {
  SetItemProgressMeter(nullptr);
  SetArchiveProgressMeter(nullptr);
}

void TArBaseBrowser::Notification(TComponent* component, TOperation operation) {
  TArBaseComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FItemProgressMeter) FItemProgressMeter = nullptr;
  if (component == FArchiveProgressMeter) FArchiveProgressMeter = nullptr;
}

void TArBaseBrowser::ResetMeters() {
  if (FItemProgressMeter) FItemProgressMeter->Reset();
  if (FArchiveProgressMeter) FArchiveProgressMeter->Reset();
}

void TArBaseBrowser::SetLogFile(const AnsiString& fileName) {
  FLogFile = fileName;
  if (FArchive) FArchive->SetLogFile(fileName);
  SetLogging(!fileName.empty());
}

void TArBaseBrowser::SetLogging(bool on) {
  FLogging = on;
  if (FArchive) FArchive->SetLogging(on);
}

void TArBaseBrowser::SetTempDirectory(const AnsiString& directory) {
  FTempDirectory = directory;
  if (FArchive) FArchive->TempDirectory = directory;
}

void TArBaseBrowser::SetBaseDirectory(const AnsiString& directory) {
  FBaseDirectory = directory;
  if (FArchive) {
    FArchive->SetBaseDirectory(directory);
    FBaseDirectory = FArchive->BaseDirectory();
  }
}

void TArBaseBrowser::SetOnRequestImage(TArRequestImageEvent event) {
  FOnRequestImage = std::move(event);
  if (FArchive) FArchive->OnRequestImage = FOnRequestImage;
}

void TArBaseBrowser::SetFileName(const AnsiString& fileName) {
  std::unique_ptr<TArArchive> opened;
  TArArchiveType kind = FArchiveType;
  if (!fileName.empty()) {
    if (!IsFile(fileName)) throw EArFileNotFound();
    {
      TFileStream probe(fileName, fmOpenRead | fmShareDenyNone);
      if (probe.Size() == 0) throw EArBadStream();
    }
    if (!(ComponentState() & csDesigning)) {
      if (!FForceType) kind = DetectArchiveType(fileName);
      opened = CreateArchive(kind, fileName);
      InitArchive(*opened);
      opened->LoadContents();
    }
  }
  ReplaceArchive(std::move(opened), kind, fileName);
}

void TArBaseBrowser::ReplaceArchive(std::unique_ptr<TArArchive> opened, TArArchiveType kind,
                                    const AnsiString& fileName) {
  // Changes made to the open archive are saved before it goes; an archive without any
  // stays as it is. A failed save keeps it open.
  if (FArchive && FArchive->IsDirty()) FArchive->SaveChanges();
  FArchive = std::move(opened);
  FFileName = fileName;
  if (FArchive) FArchiveType = kind;
  NotifyChange();
}

std::unique_ptr<TArArchive> TArBaseBrowser::CreateArchive(TArArchiveType kind, const AnsiString& fileName) {
  switch (kind) {
    case atZip:
    case atSpannedZip:
    case atSelfExtZip:
      return std::make_unique<TArZipArchive>(fileName, fmShareDenyNone);
    case atTar:
      return std::make_unique<TArTarArchive>(fileName, fmShareDenyNone);
    case atGzip:
    case atGzippedTar: {
      auto gzip = std::make_unique<TArGzipArchive>(fileName, fmShareDenyNone);
      gzip->TarAutoHandle = TarAutoHandle;
      gzip->HoldsTar = kind == atGzippedTar;
      return gzip;
    }
    case atCab:
      return std::make_unique<TArCabArchive>(fileName, fmShareDenyNone);
    default:
      throw EArUnhandledType();
  }
}

void TArBaseBrowser::InitArchive(TArArchive& archive) {
  ResetMeters();
  archive.Limits = Limits;
  archive.TempDirectory = FTempDirectory;
  archive.SpanningThreshold = SpanningThreshold;
  archive.SetLogFile(FLogFile);
  archive.SetLogging(FLogging);
  if (!FBaseDirectory.empty()) archive.SetBaseDirectory(FBaseDirectory);
  archive.OnArchiveProgress = [this](TObject*, int32_t progress, bool& abort) {
    NotifyArchiveProgress(progress, abort);
  };
  archive.OnArchiveItemProgress = [this](TObject*, TArArchiveItem* item, int32_t progress, bool& abort) {
    NotifyItemProgress(item, progress, abort);
  };
  archive.OnConfirmProcessItem = [this](TObject*, TArArchiveItem* item, TArProcessType type, bool& confirm) {
    ConfirmItemProcessing(item, type, confirm);
  };
  archive.OnLoad = [this](TObject*) { NotifyLoad(); };
  archive.OnRequestImage = FOnRequestImage;
  archive.OnProcessItemFailure = [this](TObject*, TArArchiveItem* item, TArProcessType type, TArErrorClass errorClass,
                                        int32_t errorCode) { NotifyItemFailure(item, type, errorClass, errorCode); };
}

void TArBaseBrowser::NotifyItemProgress(TArArchiveItem* item, int32_t progress, bool& abort) {
  abort = false;
  if (FItemProgressMeter) FItemProgressMeter->DoProgress(progress);
  if (OnArchiveItemProgress) OnArchiveItemProgress(this, item, progress, abort);
}

void TArBaseBrowser::NotifyArchiveProgress(int32_t progress, bool& abort) {
  abort = false;
  if (FArchiveProgressMeter) FArchiveProgressMeter->DoProgress(progress);
  if (OnArchiveProgress) OnArchiveProgress(this, progress, abort);
}

void TArBaseBrowser::NotifyChange() {
  if (OnChange) OnChange(this);
}

void TArBaseBrowser::ConfirmItemProcessing(TArArchiveItem* item, TArProcessType processType, bool& confirm) {
  confirm = true;
  if (FItemProgressMeter) FItemProgressMeter->Reset();
  if (OnConfirmProcessItem) OnConfirmProcessItem(this, item, processType, confirm);
}

void TArBaseBrowser::NotifyLoad() {
  if (OnLoad) OnLoad(this);
}

void TArBaseBrowser::NotifyItemFailure(TArArchiveItem* item, TArProcessType processType, TArErrorClass errorClass,
                                       int32_t errorCode) {
  if (OnProcessItemFailure) OnProcessItemFailure(this, item, processType, errorClass, errorCode);
}
