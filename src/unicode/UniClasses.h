// Streams that open files and resources by UTF-16 names.
//
// `TUniFileStream` is a handle stream on a file created or opened by wide name (every
// book, scheme, ini, language and Wolf file goes through it); `TUniMemoryStream` is the
// platform's memory stream under this system's name; `TUniResourceStream` is a
// read-only view of an embedded resource.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/base/FileReplace.h"
#include "platform/base/Module.h"
#include "platform/base/Resources.h"
#include "platform/base/Streams.h"
#include "platform/base/Types.h"

// A file opened or created by UTF-16 name; the stream closes it.
class TUniFileStream : public THandleStream {
public:
  // Mode fmCreate (0xFFFF) creates the file, emptying an existing one; any other mode
  // opens an existing file with the access in the low two bits and the sharing in bits
  // 4 to 7 (FileSystem.h's fmOpen* and fmShare* values). Raises EWideFCreateError
  // "Cannot create file "%s". %s" / EWideFOpenError "Cannot open file "%s". %s" with the
  // full path and the system's message for the failure.
  TUniFileStream(const WideString& fileName, uint16_t mode);
  ~TUniFileStream() override;
  TUniFileStream(const TUniFileStream&) = delete;
  TUniFileStream& operator=(const TUniFileStream&) = delete;
};

// A new version of a file, written under a temporary name beside it and moved over it by
// Commit(), so that no failure leaves the file cut short; destroyed uncommitted, it leaves
// the file as it was. Raises EWideFCreateError as TUniFileStream does when the file cannot
// be made, written in place of the old one, or moved over it; on 8-bit platforms a name
// the user code page cannot hold fails with ERROR_INVALID_NAME.
class TUniFileReplaceStream : public TFileReplaceStream {
public:
  explicit TUniFileReplaceStream(const WideString& fileName);
  void Commit();

private:
  WideString FFileName;
};

// Whether a TUniFileReplaceStream on `target` would replace the file `other` names
// (ReplacesFile): false when either name reaches no file.
bool WideReplacesFile(const WideString& target, const WideString& other);

// The whole of the named regular file (FileContents.h says what is refused, and why).
// Raises EWideFOpenError "Cannot open file "%s". %s" with the full path and the cause;
// on 8-bit platforms a name the user code page cannot hold fails with ERROR_INVALID_NAME.
AnsiString WideLoadFileBytes(const WideString& fileName);

// Writes a new version of the named file through a TUniFileReplaceStream that `write`
// fills. Raises EWideFCreateError "Cannot create file "%s". %s" with the full path and
// the cause of what failed (making, writing, flushing or moving the new version); the
// file is then as it was.
void WideSaveFileReplacing(const WideString& fileName, const std::function<void(TStream&)>& write);

// The platform's growable memory stream, unchanged.
class TUniMemoryStream : public TMemoryStream {};

// A read-only stream over an embedded resource's bytes; reading past the end reads
// nothing.
class TUniResourceStream : public TCustomMemoryStream {
public:
  // The resource `resName` of type `resType` (a text, or an ordinal such as RT_RCDATA).
  // Raises EResNotFound "Resource %s not found" with the name.
  TUniResourceStream(HINSTANCE instance, const WideString& resName, TResName resType);
  // CreateFromId: the resource with the ordinal `resId` (its low 16 bits); a missing one
  // raises EResNotFound naming it "#<number>".
  TUniResourceStream(HINSTANCE instance, int32_t resId, TResName resType);

  // Always raises EStreamError "Can't write to a read-only resource stream".
  int32_t Write(const void* buffer, int32_t count) override;

private:
  TUniResourceStream(HINSTANCE instance, TResName resName, const AnsiString& shownName, TResName resType);

  HRSRC FResInfo;
  HGLOBAL FGlobal;
};
