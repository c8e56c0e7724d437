// The cabinet library: reading (the FDI entry points) and writing (the FCI entry points)
// of cabinet files through file and notification callbacks that the client supplies.
//
// Behind it stand libmspack (reading: stored, MSZIP, Quantum and LZX folders) and libgcab
// (writing: stored and MSZIP folders), both loaded at run time on first use and kept
// loaded for the life of the process. `LoadCabinetLibrary` tells whether either loaded;
// the entry points of a backend that did not load answer failure with the error record's
// `CabErrorLibraryMissing`.
//
// Errors thrown by a client callback stop the library's work and pass on out of the entry
// point that called the callback, after the library has let go of everything it opened.
// Names are 8-bit text passed through unchanged; paths use "/" as separator.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/base/Types.h"

// A client's file handle: whatever the client's open callbacks answer (above 0); the
// library only hands it back to the client's other callbacks.
using TCabHandle = intptr_t;

// Folder compression codes as cabinets store them.
inline constexpr uint16_t CabCompressNone = 0;
inline constexpr uint16_t CabCompressMSZip = 1;
inline constexpr uint16_t CabCompressLzx18 = 0x1203;  // LZX with a 2^18-byte window

// What the last failed call of a context met.
enum TCabErrorCode : int32_t {
  CabErrorNone,
  CabErrorLibraryMissing,   // the backend of this entry point did not load
  CabErrorCabinetNotFound,  // the open callback refused the cabinet
  CabErrorNotACabinet,      // no cabinet signature
  CabErrorCorruptCabinet,   // the directory or the data is damaged
  CabErrorUnsupported,      // a compression or a cabinet set this library does not handle
  CabErrorUserAbort,        // a callback answered -1
  CabErrorTargetFile,       // writing the extracted data failed
  CabErrorCallback,         // a callback raised (the exception passes on)
  CabErrorDuplicateName,    // FCIAddFile: the name is already in the cabinet
  CabErrorTooLarge,         // beyond the size limit, or beyond what a cabinet can hold
  CabErrorWrite             // FCIFlushCabinet: the cabinet could not be produced
};

struct TCabError {
  TCabErrorCode Code = CabErrorNone;
  bool Present = false;
  // Records the failure; false, for the failing call to answer.
  bool Fail(TCabErrorCode code) {
    Code = code;
    Present = true;
    return false;
  }
};

// Binds the backends (once per process unless called again): true when either loaded.
bool LoadCabinetLibrary();
// Binds the backends from these library files instead of the usual ones (an empty name
// leaves that backend unbound); the libraries bound before stay loaded.
bool BindCabinetLibrary(const char* readerFile, const char* writerFile);

// --- Reading ---------------------------------------------------------------------

// The cabinet header, as FDIIsCabinet finds it.
struct TFdiCabinetInfo {
  int64_t CabinetSize = 0;
  uint16_t FolderCount = 0;
  uint16_t FileCount = 0;
  uint16_t SetId = 0;
  uint16_t CabinetNumber = 0;  // from 0
  bool HasReserve = false;
  bool HasPrevious = false;
  bool HasNext = false;
};

// File access of the reader: the cabinet is opened by name for reading; extracted data is
// written to the handles that the notifications answer. Read answers the bytes read (0 at
// the end, -1 on failure), Write the bytes written (-1 on failure), Seek (origin 0 start,
// 1 current, 2 end) the new position (-1 on failure), Open a handle (0 or less: failure).
// Close of an extraction handle means the data is to be discarded.
struct TFdiFileCallbacks {
  std::function<TCabHandle(const AnsiString& name)> Open;
  std::function<int32_t(TCabHandle handle, void* buffer, int32_t count)> Read;
  std::function<int32_t(TCabHandle handle, const void* buffer, int32_t count)> Write;
  std::function<bool(TCabHandle handle)> Close;
  std::function<int64_t(TCabHandle handle, int64_t offset, int32_t origin)> Seek;
};

enum class TFdiNotification : uint8_t {
  CabinetInfo,   // first, once: SetId, CabinetNumber, NextCabinet, NextDisk, CabinetPath
  PartialFile,   // an entry that starts in a previous cabinet: File
  CopyFile,      // any other entry: File
  CloseFileInfo  // the entry's data is complete in Handle: File
};

// An entry as its file record describes it: stored name, size, DOS date and time, DOS
// attributes.
struct TFdiFileInfo {
  AnsiString FileName;
  int64_t Size = 0;
  uint16_t Date = 0;
  uint16_t Time = 0;
  uint16_t Attributes = 0;
};

struct TFdiNotice {
  TFdiFileInfo File;
  TCabHandle Handle = 0;
  AnsiString CabinetPath;
  AnsiString NextCabinet;
  AnsiString NextDisk;
  uint16_t SetId = 0;
  uint16_t CabinetNumber = 0;
};

// Answers: -1 stops the walk (a failure, CabErrorUserAbort). CopyFile: 0 skips the entry,
// a handle above 0 receives its data. CloseFileInfo: 0 is a failure of the target. The
// others: 0 goes on.
using TFdiNotify = std::function<TCabHandle(TFdiNotification kind, const TFdiNotice& notice)>;

class TFdiContext;
struct TFdiContextDeleter {
  void operator()(TFdiContext* context) const noexcept;
};
using TFdiContextPtr = std::unique_ptr<TFdiContext, TFdiContextDeleter>;

// A reader over the callbacks; nullptr (error set) when the reading backend is missing.
TFdiContextPtr FDICreate(const TFdiFileCallbacks& files, TCabError& error);
// Whether the open file holds a cabinet header at its start (the header then fills info).
// The position of the handle is undefined afterwards.
bool FDIIsCabinet(TFdiContext& context, TCabHandle handle, TFdiCabinetInfo& info);
// Opens path + name, reads its directory and walks its entries in order with the
// notifications, extracting the entries whose copy notification answers a handle.
// An entry that continues into a next cabinet cannot be extracted (CabErrorUnsupported).
bool FDICopy(TFdiContext& context, const AnsiString& cabinetName, const AnsiString& cabinetPath,
             const TFdiNotify& notify);
// Frees the reader; false when there was none.
bool FDIDestroy(TFdiContextPtr context);
// The error record of the context's last failed call.
const TCabError& FDIError(const TFdiContext& context);

// --- Writing ---------------------------------------------------------------------

struct TFciParameters {
  int64_t SizeLimit = 0;  // the largest cabinet to write; 0 for no limit
  AnsiString CabinetName;
  AnsiString CabinetPath;  // with its trailing "/", or empty
};

// File access of the writer. OpenInfo opens a source file for reading and answers its
// DOS date, time and attributes; Create makes the cabinet file; Close of the cabinet's
// handle completes it, Discard gives it up. Answers as for the reader.
struct TFciFileCallbacks {
  std::function<TCabHandle(const AnsiString& name, uint16_t& date, uint16_t& time, uint16_t& attributes)> OpenInfo;
  std::function<int32_t(TCabHandle handle, void* buffer, int32_t count)> Read;
  std::function<TCabHandle(const AnsiString& name)> Create;
  std::function<int32_t(TCabHandle handle, const void* buffer, int32_t count)> Write;
  std::function<bool(TCabHandle handle)> Close;
  std::function<void(TCabHandle handle)> Discard;
};

// Progress of taking in a source file: the bytes of one step. -1 stops the writer.
using TFciStatus = std::function<int32_t(int64_t bytes)>;

class TFciContext;
struct TFciContextDeleter {
  void operator()(TFciContext* context) const noexcept;
};
using TFciContextPtr = std::unique_ptr<TFciContext, TFciContextDeleter>;

TFciContextPtr FCICreate(const TFciParameters& parameters, const TFciFileCallbacks& files, TCabError& error);
// Takes in the source file under nameInCabinet (the run-after-extraction bit with
// execute). The cabinet has one folder, whose compression the first file sets: stored or
// MSZIP; LZX, or another compression than the folder's, is CabErrorUnsupported.
bool FCIAddFile(TFciContext& context, const AnsiString& sourceFile, const AnsiString& nameInCabinet, bool execute,
                const TFciStatus& status, uint16_t compression);
// Writes the cabinet of every file added so far to path + name through the callbacks.
// One cabinet only: a cabinet beyond the size limit fails (CabErrorTooLarge).
bool FCIFlushCabinet(TFciContext& context);
bool FCIDestroy(TFciContextPtr context);
const TCabError& FCIError(const TFciContext& context);
