// The reading entry points. The directory is read here (CabinetDirectory.cpp); the data
// of an entry is decompressed by libmspack, whose file access is bridged to the client's
// callbacks: the cabinet is opened by name through the client's Open, and the one output
// libmspack opens for writing is the handle the client's copy notification answered.
//
// libmspack is C: an exception of a client callback is caught at the bridge, kept, turned
// into a failure for libmspack, and thrown again once libmspack has returned.
#include <cstdlib>
#include <cstring>
#include <exception>

#include "platform/cabinet/Cabinet.h"
#include "platform/cabinet/CabinetBinding.h"
#include "platform/cabinet/CabinetDirectory.h"
#include "platform/cabinet/CabinetHandleGuard.h"
#include "platform/cabinet/CabinetLayout.h"

class TFdiContext;

namespace {

// libmspack's view of the client: the system structure first, so that libmspack's
// pointer to it is a pointer to this.
struct TMspackBridge {
  mspack_system System;
  TFdiContext* Owner;
};

struct TMspackFile {
  TFdiContext* Owner;
  TCabHandle Handle;
  bool OwnsHandle;  // the cabinet, opened by the bridge; the output belongs to the client
};

}  // namespace

class TFdiContext {
public:
  TFdiContext(const TFdiFileCallbacks& files, const TCabReaderBinding& binding);

  bool Fail(TCabErrorCode code) { return Error.Fail(code); }
  // Runs a client callback for libmspack: its exception is kept, the answer is then
  // onFailure. After one exception only closing goes on (the first exception is kept).
  template <typename TCall, typename TResult>
  TResult Guard(TCall call, TResult onFailure, bool closing = false) {
    if (Pending && !closing) return onFailure;
    try {
      return call();
    } catch (...) {
      if (!Pending) Pending = std::current_exception();
      return onFailure;
    }
  }
  void RethrowPending() {
    if (Pending) {
      std::exception_ptr pending = Pending;
      Pending = nullptr;
      Error.Fail(CabErrorCallback);
      std::rethrow_exception(pending);
    }
  }

  TFdiFileCallbacks Files;
  const TCabReaderBinding& Binding;
  TCabError Error;
  std::exception_ptr Pending;
  TCabHandle OutputHandle = 0;
  TMspackBridge Bridge{};
};

namespace {

TFdiContext& OwnerOf(mspack_file* file) { return *reinterpret_cast<TMspackFile*>(file)->Owner; }
TCabHandle HandleOf(mspack_file* file) { return reinterpret_cast<TMspackFile*>(file)->Handle; }

mspack_file* BridgeOpen(mspack_system* self, const char* fileName, int mode) {
  TFdiContext& owner = *reinterpret_cast<TMspackBridge*>(self)->Owner;
  if (mode == MSPACK_SYS_OPEN_WRITE)
    return reinterpret_cast<mspack_file*>(new TMspackFile{&owner, owner.OutputHandle, false});
  if (mode != MSPACK_SYS_OPEN_READ) return nullptr;
  TCabHandle handle = owner.Guard([&] { return owner.Files.Open(fileName); }, TCabHandle{0});
  if (handle <= 0) return nullptr;
  return reinterpret_cast<mspack_file*>(new TMspackFile{&owner, handle, true});
}

void BridgeClose(mspack_file* file) {
  auto* bridged = reinterpret_cast<TMspackFile*>(file);
  if (bridged->OwnsHandle)
    bridged->Owner->Guard([&] { return bridged->Owner->Files.Close(bridged->Handle); }, false, true);
  delete bridged;
}

int BridgeRead(mspack_file* file, void* buffer, int bytes) {
  TFdiContext& owner = OwnerOf(file);
  return owner.Guard([&] { return owner.Files.Read(HandleOf(file), buffer, bytes); }, -1);
}

int BridgeWrite(mspack_file* file, void* buffer, int bytes) {
  TFdiContext& owner = OwnerOf(file);
  return owner.Guard([&] { return owner.Files.Write(HandleOf(file), buffer, bytes); }, -1);
}

int BridgeSeek(mspack_file* file, off_t offset, int mode) {
  TFdiContext& owner = OwnerOf(file);
  int64_t position = owner.Guard([&] { return owner.Files.Seek(HandleOf(file), offset, mode); }, int64_t{-1});
  return position < 0 ? 1 : 0;
}

off_t BridgeTell(mspack_file* file) {
  TFdiContext& owner = OwnerOf(file);
  return owner.Guard([&] { return owner.Files.Seek(HandleOf(file), 0, 1); }, int64_t{-1});
}

// libmspack's diagnostics for a terminal; failures reach the client as error codes.
void BridgeMessage(mspack_file*, const char*, ...) {}

void* BridgeAlloc(mspack_system*, size_t bytes) { return std::malloc(bytes); }
void BridgeFree(void* pointer) { std::free(pointer); }
void BridgeCopy(void* source, void* target, size_t bytes) { std::memmove(target, source, bytes); }

// libmspack's decompressor and the cabinet it opened, let go of in reverse.
class TMspackCabinet {
public:
  explicit TMspackCabinet(TFdiContext& context) : FContext(context) {}
  ~TMspackCabinet() {
    if (FCabinet) FDecompressor->close(FDecompressor, FCabinet);
    if (FDecompressor) FContext.Binding.DestroyDecompressor(FDecompressor);
  }
  TMspackCabinet(const TMspackCabinet&) = delete;
  TMspackCabinet& operator=(const TMspackCabinet&) = delete;

  // Opens the cabinet on first use; the error code of a failure.
  TCabErrorCode Open(const AnsiString& fileName) {
    if (FCabinet) return CabErrorNone;
    if (!FDecompressor) FDecompressor = FContext.Binding.CreateDecompressor(&FContext.Bridge.System);
    if (!FDecompressor) return CabErrorCorruptCabinet;
    FCabinet = FDecompressor->open(FDecompressor, fileName.c_str());
    FContext.RethrowPending();
    if (FCabinet) return CabErrorNone;
    switch (FDecompressor->last_error(FDecompressor)) {
      case MSPACK_ERR_OPEN:
        return CabErrorCabinetNotFound;
      case MSPACK_ERR_SIGNATURE:
        return CabErrorNotACabinet;
      default:
        return CabErrorCorruptCabinet;
    }
  }

  // The entry at index of the directory, when libmspack lists the same entry there.
  mscabd_file* Entry(size_t index, const AnsiString& name) const {
    mscabd_file* file = FCabinet->files;
    for (size_t i = 0; file && i < index; ++i) file = file->next;
    return file && name == file->filename ? file : nullptr;
  }

  // Decompresses the entry into the client's handle.
  TCabErrorCode Extract(mscabd_file* file, TCabHandle handle) {
    FContext.OutputHandle = handle;
    int result = FDecompressor->extract(FDecompressor, file, file->filename);
    FContext.OutputHandle = 0;
    FContext.RethrowPending();
    if (result == MSPACK_ERR_OK) return CabErrorNone;
    return result == MSPACK_ERR_WRITE ? CabErrorTargetFile : CabErrorCorruptCabinet;
  }

private:
  TFdiContext& FContext;
  mscab_decompressor* FDecompressor = nullptr;
  mscabd_cabinet* FCabinet = nullptr;
};

bool IsPartial(uint16_t folder) {
  return folder == CabLayout::ContinuedFromPrevious || folder == CabLayout::ContinuedBoth;
}

}  // namespace

TFdiContext::TFdiContext(const TFdiFileCallbacks& files, const TCabReaderBinding& binding)
    : Files(files), Binding(binding) {
  Bridge.Owner = this;
  mspack_system& system = Bridge.System;
  system.open = BridgeOpen;
  system.close = BridgeClose;
  system.read = BridgeRead;
  system.write = BridgeWrite;
  system.seek = BridgeSeek;
  system.tell = BridgeTell;
  system.message = BridgeMessage;
  system.alloc = BridgeAlloc;
  system.free = BridgeFree;
  system.copy = BridgeCopy;
  system.null_ptr = nullptr;
}

void TFdiContextDeleter::operator()(TFdiContext* context) const noexcept { delete context; }

TFdiContextPtr FDICreate(const TFdiFileCallbacks& files, TCabError& error) {
  error = TCabError();
  const TCabReaderBinding* binding = CabReaderBinding();
  if (!binding) {
    error.Fail(CabErrorLibraryMissing);
    return nullptr;
  }
  return TFdiContextPtr(new TFdiContext(files, *binding));
}

bool FDIDestroy(TFdiContextPtr context) { return context != nullptr; }

const TCabError& FDIError(const TFdiContext& context) { return context.Error; }

bool FDIIsCabinet(TFdiContext& context, TCabHandle handle, TFdiCabinetInfo& info) {
  context.Error = TCabError();
  TCabDirectory directory;
  if (TCabErrorCode code = ReadCabinetHeader(context.Files, handle, directory); code != CabErrorNone)
    return context.Fail(code);
  info = directory.Info;
  return true;
}

bool FDICopy(TFdiContext& context, const AnsiString& cabinetName, const AnsiString& cabinetPath,
             const TFdiNotify& notify) {
  context.Error = TCabError();
  AnsiString fileName = cabinetPath + cabinetName;
  TCabDirectory directory;
  {
    TCabHandle handle = context.Files.Open(fileName);
    if (handle <= 0) return context.Fail(CabErrorCabinetNotFound);
    TCabHandleGuard<bool> closer(context.Files.Close, handle);
    if (TCabErrorCode code = ReadCabinetDirectory(context.Files, handle, directory); code != CabErrorNone)
      return context.Fail(code);
    closer.Release();
    if (!context.Files.Close(handle)) return context.Fail(CabErrorCorruptCabinet);
  }
  TFdiNotice info;
  info.CabinetPath = cabinetPath;
  info.NextCabinet = directory.NextCabinet;
  info.NextDisk = directory.NextDisk;
  info.SetId = directory.Info.SetId;
  info.CabinetNumber = directory.Info.CabinetNumber;
  if (notify(TFdiNotification::CabinetInfo, info) == -1) return context.Fail(CabErrorUserAbort);

  TMspackCabinet cabinet(context);
  for (size_t i = 0; i < directory.Files.size(); ++i) {
    const TCabFileRecord& record = directory.Files[i];
    TFdiNotice notice;
    notice.File = record.File;
    if (IsPartial(record.Folder)) {
      if (notify(TFdiNotification::PartialFile, notice) == -1) return context.Fail(CabErrorUserAbort);
      continue;
    }
    TCabHandle target = notify(TFdiNotification::CopyFile, notice);
    if (target == -1) return context.Fail(CabErrorUserAbort);
    if (target <= 0) continue;
    // Until its data is complete the target is given up on any failure.
    TCabHandleGuard<bool> discard(context.Files.Close, target);
    if (record.Folder == CabLayout::ContinuedToNext) return context.Fail(CabErrorUnsupported);
    if (TCabErrorCode code = cabinet.Open(fileName); code != CabErrorNone) return context.Fail(code);
    mscabd_file* entry = cabinet.Entry(i, record.File.FileName);
    if (!entry) return context.Fail(CabErrorCorruptCabinet);
    if (TCabErrorCode code = cabinet.Extract(entry, target); code != CabErrorNone) return context.Fail(code);
    discard.Release();
    notice.Handle = target;
    if (notify(TFdiNotification::CloseFileInfo, notice) == 0) return context.Fail(CabErrorTargetFile);
  }
  return true;
}
