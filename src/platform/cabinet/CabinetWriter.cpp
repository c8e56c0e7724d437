// The writing entry points over libgcab. A source file is taken in whole through the
// client's callbacks when it is added (libgcab compresses from memory); flushing has
// libgcab write the cabinet into memory and hands it to the client's Create, Write and
// Close. libgcab writes one cabinet of one folder: no cabinet sets, no reserve areas.
#include <algorithm>
#include <vector>

#include "platform/base/LittleEndian.h"
#include "platform/cabinet/Cabinet.h"
#include "platform/cabinet/CabinetBinding.h"
#include "platform/cabinet/CabinetHandleGuard.h"
#include "platform/cabinet/CabinetLayout.h"

namespace {

// One reference to a GLib object, dropped through the bound library.
template <typename TObjectType>
class TGRef {
public:
  TGRef(const TCabWriterBinding& binding, TObjectType* object) : FBinding(&binding), FObject(object) {}
  ~TGRef() { Reset(nullptr); }
  TGRef(const TGRef&) = delete;
  TGRef& operator=(const TGRef&) = delete;
  TObjectType* Get() const { return FObject; }
  void Reset(TObjectType* object) {
    if (FObject) FBinding->ObjectUnref(FObject);
    FObject = object;
  }

private:
  const TCabWriterBinding* FBinding;
  TObjectType* FObject;
};

constexpr int32_t ChunkBytes = 1 << 16;
// Offsets and sizes of a cabinet are 32-bit.
constexpr int64_t MaxCabinetBytes = 0xFFFFFFFFll;

}  // namespace

class TFciContext {
public:
  TFciContext(const TFciParameters& parameters, const TFciFileCallbacks& files, const TCabWriterBinding& binding)
      : Parameters(parameters), Files(files), Binding(binding), Cabinet(binding, binding.CabinetNew()) {}

  bool Fail(TCabErrorCode code) { return Error.Fail(code); }
  void FreeError(GError* error) const {
    if (error) Binding.ErrorFree(error);
  }

  TFciParameters Parameters;
  TFciFileCallbacks Files;
  const TCabWriterBinding& Binding;
  TCabError Error;
  TGRef<GCabCabinet> Cabinet;
  GCabFolder* Folder = nullptr;  // the cabinet's folder (the cabinet holds it)
  uint16_t FolderCompression = 0;
  int64_t TotalBytes = 0;
};

namespace {

// The cabinet's one folder, made by the first file with that file's compression.
bool SelectFolder(TFciContext& context, uint16_t compression) {
  if (context.Folder) return context.FolderCompression == compression || context.Fail(CabErrorUnsupported);
  const TCabWriterBinding& b = context.Binding;
  TGRef<GCabFolder> folder(b, b.FolderNew(compression));
  GError* error = nullptr;
  if (!folder.Get() || !b.CabinetAddFolder(context.Cabinet.Get(), folder.Get(), &error)) {
    context.FreeError(error);
    return context.Fail(CabErrorWrite);
  }
  context.Folder = folder.Get();
  context.FolderCompression = compression;
  return true;
}

// A cabinet of no files: the header alone (libgcab writes none without a folder).
std::vector<uint8_t> EmptyCabinet() {
  using namespace CabLayout;
  std::vector<uint8_t> header(HeaderBytes, 0);
  header[0] = 'M';
  header[1] = 'S';
  header[2] = 'C';
  header[3] = 'F';
  StoreLE32(header.data() + CabinetBytes.Offset, HeaderBytes);
  StoreLE32(header.data() + FilesOffset.Offset, HeaderBytes);
  header[VersionMinor.Offset] = 3;
  header[VersionMajor.Offset] = 1;
  return header;
}

// A DOS date and time as the date-time libgcab stores back as the same fields; nullptr
// for fields that name no date.
GDateTime* DosDateTime(const TCabWriterBinding& b, uint16_t date, uint16_t time) {
  return b.DateTimeNewUtc(1980 + (date >> 9), (date >> 5) & 0x0F, date & 0x1F, time >> 11, (time >> 5) & 0x3F,
                          (time & 0x1F) * 2);
}

}  // namespace

void TFciContextDeleter::operator()(TFciContext* context) const noexcept { delete context; }

TFciContextPtr FCICreate(const TFciParameters& parameters, const TFciFileCallbacks& files, TCabError& error) {
  error = TCabError();
  const TCabWriterBinding* binding = CabWriterBinding();
  if (!binding) {
    error.Fail(CabErrorLibraryMissing);
    return nullptr;
  }
  TFciContextPtr context(new TFciContext(parameters, files, *binding));
  if (!context->Cabinet.Get()) {
    error.Fail(CabErrorWrite);
    return nullptr;
  }
  return context;
}

bool FCIDestroy(TFciContextPtr context) { return context != nullptr; }

const TCabError& FCIError(const TFciContext& context) { return context.Error; }

bool FCIAddFile(TFciContext& context, const AnsiString& sourceFile, const AnsiString& nameInCabinet, bool execute,
                const TFciStatus& status, uint16_t compression) {
  context.Error = TCabError();
  if (compression != CabCompressNone && compression != CabCompressMSZip) return context.Fail(CabErrorUnsupported);
  uint16_t date = 0, time = 0, attributes = 0;
  TCabHandle source = context.Files.OpenInfo(sourceFile, date, time, attributes);
  if (source <= 0) return context.Fail(CabErrorCabinetNotFound);
  std::vector<uint8_t> bytes;
  {
    TCabHandleGuard<bool> closer(context.Files.Close, source);
    for (;;) {
      if (static_cast<int64_t>(bytes.size()) + ChunkBytes > MaxCabinetBytes) return context.Fail(CabErrorTooLarge);
      size_t at = bytes.size();
      bytes.resize(at + ChunkBytes);
      int32_t got = context.Files.Read(source, bytes.data() + at, ChunkBytes);
      bytes.resize(at + static_cast<size_t>(std::max(got, 0)));
      if (got < 0) return context.Fail(CabErrorCallback);
      if (got == 0) break;
      if (status && status(got) == -1) return context.Fail(CabErrorUserAbort);
    }
    closer.Release();
    if (!context.Files.Close(source)) return context.Fail(CabErrorCallback);
  }
  int64_t size = static_cast<int64_t>(bytes.size());
  if (context.TotalBytes + size > MaxCabinetBytes) return context.Fail(CabErrorTooLarge);
  if (!SelectFolder(context, compression)) return false;

  const TCabWriterBinding& b = context.Binding;
  GBytes* data = b.BytesNew(bytes.data(), bytes.size());
  TGRef<GCabFile> file(b, b.FileNewWithBytes(nameInCabinet.c_str(), data));
  b.BytesUnref(data);
  if (!file.Get()) return context.Fail(CabErrorWrite);
  b.FileSetAttributes(file.Get(), execute ? attributes | GCAB_FILE_ATTRIBUTE_EXEC : attributes);
  if (GDateTime* stamp = DosDateTime(b, date, time)) {
    b.FileSetDateTime(file.Get(), stamp);
    b.DateTimeUnref(stamp);
  }
  GError* error = nullptr;
  if (!b.FolderAddFile(context.Folder, file.Get(), false, nullptr, &error)) {
    context.FreeError(error);
    return context.Fail(CabErrorDuplicateName);
  }
  context.TotalBytes += size;
  return true;
}

bool FCIFlushCabinet(TFciContext& context) {
  context.Error = TCabError();
  const TCabWriterBinding& b = context.Binding;
  TGRef<GOutputStream> output(b, nullptr);
  std::vector<uint8_t> empty;
  const uint8_t* data;
  int64_t size;
  if (context.Folder) {
    output.Reset(b.MemoryOutputStreamNew());
    GError* error = nullptr;
    if (!output.Get() ||
        !b.CabinetWriteSimple(context.Cabinet.Get(), output.Get(), nullptr, nullptr, nullptr, &error)) {
      context.FreeError(error);
      return context.Fail(CabErrorWrite);
    }
    auto* memory = reinterpret_cast<GMemoryOutputStream*>(output.Get());
    data = static_cast<const uint8_t*>(b.MemoryOutputStreamData(memory));
    size = static_cast<int64_t>(b.MemoryOutputStreamDataSize(memory));
  } else {
    empty = EmptyCabinet();
    data = empty.data();
    size = static_cast<int64_t>(empty.size());
  }
  if (context.Parameters.SizeLimit > 0 && size > context.Parameters.SizeLimit) return context.Fail(CabErrorTooLarge);

  TCabHandle target = context.Files.Create(context.Parameters.CabinetPath + context.Parameters.CabinetName);
  if (target <= 0) return context.Fail(CabErrorWrite);
  TCabHandleGuard<void> discard(context.Files.Discard, target);
  for (int64_t at = 0; at < size; at += ChunkBytes) {
    auto count = static_cast<int32_t>(std::min<int64_t>(size - at, ChunkBytes));
    if (context.Files.Write(target, data + at, count) != count) return context.Fail(CabErrorWrite);
  }
  discard.Release();
  if (!context.Files.Close(target)) return context.Fail(CabErrorWrite);
  return true;
}
