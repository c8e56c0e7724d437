#include "unicode/UniClasses.h"

#include "platform/base/Exception.h"
#include "platform/base/FileContents.h"
#include "platform/base/FileSystem.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/Format.h"
#include "platform/base/LastError.h"
#include "platform/base/ResString.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"

namespace {

// The class library's messages, loaded as resource strings so translations apply.
constexpr TResStringRec SFCreateErrorExRes{"SFCreateErrorEx", SFCreateErrorEx};
constexpr TResStringRec SFOpenErrorExRes{"SFOpenErrorEx", SFOpenErrorEx};

template <typename Error>
[[noreturn]] void RaiseFileError(const TResStringRec& message, const WideString& fileName) {
  const uint32_t error = GetLastError();
  // A name that cannot be expanded (one the code page cannot hold) is shown as given.
  const WideString expanded = WideExpandFileName(fileName);
  throw Error(LoadWideResString(&message), {expanded.empty() ? fileName : expanded, WideSysErrorMessage(error)});
}

// The file-system bytes of a name; false with ERROR_INVALID_NAME for a name no file can
// have, and on 8-bit platforms for one the user code page cannot hold (a "?" put in its
// place would name another file).
bool DiskName(const WideString& fileName, std::string& name) {
  AnsiString ansiName;
  if (PlatformIsUnicode() || TryDefaultWideToAnsi(fileName, ansiName)) return WideToFileSystemName(fileName, name);
  SetLastError(ERROR_INVALID_NAME);
  return false;
}

}  // namespace

TUniFileStream::TUniFileStream(const WideString& fileName, uint16_t mode) : THandleStream(INVALID_HANDLE_VALUE) {
  if (mode == fmCreate) {
    FHandle = WideFileCreate(fileName);
    if (FHandle < 0) RaiseFileError<EWideFCreateError>(SFCreateErrorExRes, fileName);
  } else {
    FHandle = WideFileOpen(fileName, mode);
    if (FHandle < 0) RaiseFileError<EWideFOpenError>(SFOpenErrorExRes, fileName);
  }
}

namespace {

// The file-system name of a replaced file; a name no file can have fails as creating it would.
std::string ReplacedFileName(const WideString& fileName) {
  std::string name;
  if (!DiskName(fileName, name)) RaiseFileError<EWideFCreateError>(SFCreateErrorExRes, fileName);
  return name;
}

}  // namespace

TUniFileReplaceStream::TUniFileReplaceStream(const WideString& fileName) try
    : TFileReplaceStream(ReplacedFileName(fileName)), FFileName(fileName) {
} catch (const EFCreateError&) {
  RaiseFileError<EWideFCreateError>(SFCreateErrorExRes, fileName);
}

void TUniFileReplaceStream::Commit() {
  if (!TFileReplaceStream::Commit()) RaiseFileError<EWideFCreateError>(SFCreateErrorExRes, FFileName);
}

bool WideReplacesFile(const WideString& target, const WideString& other) {
  std::string targetName, otherName;
  return DiskName(target, targetName) && DiskName(other, otherName) && ReplacesFile(targetName, otherName);
}

AnsiString WideLoadFileBytes(const WideString& fileName) {
  std::string name;
  AnsiString bytes;
  if (!DiskName(fileName, name) || !ReadRegularFile(name, bytes))
    RaiseFileError<EWideFOpenError>(SFOpenErrorExRes, fileName);
  return bytes;
}

void WideSaveFileReplacing(const WideString& fileName, const std::function<void(TStream&)>& write) {
  TUniFileReplaceStream stream(fileName);
  try {
    write(stream);
  } catch (const EWriteError&) {
    // The failed write (a full disk, the file-size limit) set the last error.
    RaiseFileError<EWideFCreateError>(SFCreateErrorExRes, fileName);
  }
  stream.Commit();
}

TUniFileStream::~TUniFileStream() {
  if (FHandle >= 0) FileClose(FHandle);
}

TUniResourceStream::TUniResourceStream(HINSTANCE instance, const WideString& resName, TResName resType)
    : TUniResourceStream(instance, TResName(WideStringView(resName)), DefaultWideToAnsi(resName), resType) {}

TUniResourceStream::TUniResourceStream(HINSTANCE instance, int32_t resId, TResName resType)
    : TUniResourceStream(instance, TResName(static_cast<uint16_t>(resId)),
                         Format("#%d", {static_cast<int32_t>(static_cast<uint16_t>(resId))}), resType) {}

TUniResourceStream::TUniResourceStream(HINSTANCE instance, TResName resName, const AnsiString& shownName,
                                       TResName resType)
    : FResInfo(FindResourceW(instance, resName, resType)), FGlobal(nullptr) {
  if (FResInfo == nullptr) throw EResNotFound(Format(SResNotFound, {shownName}));
  FGlobal = LoadResource(instance, FResInfo);
  // The bytes are never written: Write raises.
  SetPointer(const_cast<void*>(LockResource(FGlobal)), SizeofResource(instance, FResInfo));
}

int32_t TUniResourceStream::Write(const void*, int32_t) { throw EStreamError(SCantWriteResourceStreamError); }
