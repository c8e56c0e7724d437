// The archive library's message table and exception family.
//
// Every message comes from one table of (code, fixed English text); every failure of
// the library is an `EArException` (with its code) or one of the compression engines'
// own exceptions (no code). `ClassifyError` turns any exception into the error class and
// code that the item-failure event reports.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>

#include "platform/base/Exception.h"

// The text of a code, or an empty text for a code the table does not hold.
AnsiString ArchiveErrorMessage(int32_t code);

// How an entry operation failed, as the item-failure event reports it.
enum TArErrorClass : uint8_t {
  ecArchiver,
  ecInOutError,
  ecFilerError,
  ecFileCreateError,
  ecFileOpenError,
  ecCabError,
  ecOther
};

// Which of the reader's limits (ArLimits.h) refused the input; tests assert on it.
enum class TArLimitFault : uint8_t { None, EntryCount, NameLength, ExpandedSize, Ratio };

class EArException : public Exception {
public:
  // The code's text and the code.
  explicit EArException(int32_t code) : Exception(ArchiveErrorMessage(code)), FErrorCode(code) {}
  EArException(AnsiString message, int32_t code) : Exception(std::move(message)), FErrorCode(code) {}
  int32_t ErrorCode() const noexcept { return FErrorCode; }
  // Set when a reading limit, not the format, refused the input.
  TArLimitFault LimitFault() const noexcept { return FLimitFault; }
  void SetLimitFault(TArLimitFault fault) noexcept { FLimitFault = fault; }

private:
  int32_t FErrorCode;
  TArLimitFault FLimitFault = TArLimitFault::None;
};

#define QF_AR_EXCEPTION(Name, Base, Code) \
  class Name : public Base {              \
  public:                                 \
    Name() : Base(Code) {}                \
  }
#define QF_AR_FAMILY(Name, Base) \
  class Name : public Base {     \
  public:                        \
    using Base::Base;            \
  }

QF_AR_EXCEPTION(EArDuplicateName, EArException, 7);
QF_AR_EXCEPTION(EArFileNotFound, EArException, 25);
QF_AR_EXCEPTION(EArNoArchive, EArException, 27);
QF_AR_EXCEPTION(EArUserAbort, EArException, 9);
QF_AR_EXCEPTION(EArNoSuchDirectory, EArException, 19);
QF_AR_EXCEPTION(EArUnhandledType, EArException, 35);
QF_AR_EXCEPTION(EArSpanningNotSupported, EArException, 36);
QF_AR_FAMILY(EArZipException, EArException);
QF_AR_FAMILY(EArCabException, EArException);
QF_AR_FAMILY(EArGzipException, EArException);
QF_AR_EXCEPTION(EArZipBadSpanStream, EArZipException, 13);
QF_AR_EXCEPTION(EArZipBadCRC, EArZipException, 23);
QF_AR_EXCEPTION(EArZipInvalid, EArZipException, 28);
QF_AR_EXCEPTION(EArZipInvalidFactor, EArZipException, 6);
QF_AR_EXCEPTION(EArZipInvalidLFH, EArZipException, 26);
QF_AR_EXCEPTION(EArZipInvalidMethod, EArZipException, 2);
QF_AR_EXCEPTION(EArZipInvalidPassword, EArZipException, 4);
QF_AR_EXCEPTION(EArZipNoExtraction, EArZipException, 3);
QF_AR_EXCEPTION(EArZipNoInsertion, EArZipException, 5);
QF_AR_EXCEPTION(EArZipSpanOverwrite, EArZipException, 15);
QF_AR_EXCEPTION(EArZipStreamFull, EArZipException, 18);
QF_AR_EXCEPTION(EArZipVersion, EArZipException, 1);
QF_AR_EXCEPTION(EArReadError, EArZipException, 29);
QF_AR_EXCEPTION(EArBBSSeekOutsideBuffer, EArZipException, 41);
QF_AR_EXCEPTION(EArBBSInvalidOrigin, EArZipException, 42);
QF_AR_EXCEPTION(EArGzipBadCRC, EArGzipException, 401);
QF_AR_EXCEPTION(EArGzipBadFileSize, EArGzipException, 402);
QF_AR_EXCEPTION(EArGzipInvalid, EArGzipException, 400);
QF_AR_EXCEPTION(EArNoCabinetDll, EArCabException, 50);
QF_AR_EXCEPTION(EArFCIFileOpenError, EArCabException, 51);
QF_AR_EXCEPTION(EArFCIFileReadError, EArCabException, 52);
QF_AR_EXCEPTION(EArFCIFileWriteError, EArCabException, 53);
QF_AR_EXCEPTION(EArFCIFileCloseError, EArCabException, 54);
QF_AR_EXCEPTION(EArFCIFileSeekError, EArCabException, 55);
QF_AR_EXCEPTION(EArFCIFileDeleteError, EArCabException, 56);
QF_AR_EXCEPTION(EArFCIAddFileError, EArCabException, 57);
QF_AR_EXCEPTION(EArFCICreateError, EArCabException, 58);
QF_AR_EXCEPTION(EArFDICopyError, EArCabException, 61);
QF_AR_EXCEPTION(EArFDICreateError, EArCabException, 62);
QF_AR_EXCEPTION(EArInvalidCabFile, EArCabException, 64);

#undef QF_AR_EXCEPTION

// "Invalid Stream", optionally followed by CR LF and an inner exception's message; the
// inner exception is kept.
class EArBadStream : public EArException {
public:
  EArBadStream() : EArException(21) {}
  explicit EArBadStream(std::exception_ptr inner);
  const std::exception_ptr& InnerException() const noexcept { return FInner; }

private:
  std::exception_ptr FInner;
};

// Codes whose text takes values.
class EArVMSInvalidOrigin : public EArZipException {
public:
  explicit EArVMSInvalidOrigin(int32_t origin);
};
class EArVMSErrorOpenSwap : public EArZipException {
public:
  explicit EArVMSErrorOpenSwap(const AnsiString& fileName);
};
class EArVMSSeekFail : public EArZipException {
public:
  explicit EArVMSSeekFail(const AnsiString& fileName);
};
class EArVMSReadFail : public EArZipException {
public:
  EArVMSReadFail(int32_t count, const AnsiString& fileName);
};
class EArVMSWriteFail : public EArZipException {
public:
  EArVMSWriteFail(int32_t count, const AnsiString& fileName);
};
class EArBBSReadTooManyBytes : public EArZipException {
public:
  explicit EArBBSReadTooManyBytes(int32_t count);
};
class EArBBSWriteTooManyBytes : public EArZipException {
public:
  explicit EArBBSWriteTooManyBytes(int32_t count);
};

// The compression engines' exceptions: no code, the raiser's message.
QF_AR_FAMILY(EArAbortProgress, Exception);
QF_AR_FAMILY(EArPartSizedInflate, Exception);
QF_AR_FAMILY(EArInflatePasswordError, Exception);
QF_AR_FAMILY(EArInternalDeflateError, Exception);

#undef QF_AR_FAMILY

// What went wrong inside the inflate engine, for tests and the fuzz target.
enum class TArInflateFault : uint8_t {
  BlockType,
  StoredLength,
  LiteralCount,
  DistanceCount,
  CodeLength,
  RepeatWithoutLength,
  CodeLengthOverflow,
  LengthSymbol,
  DistanceSymbol,
  OversubscribedCode,
  IncompleteCode,
  DistanceTooFar,
  OutputTooLong,
  InputEndDiscard,
  InputEndBits,
  InputEndBuffer
};

// A fault of the compressed data found by the inflate engine.
class EArInternalInflateError : public Exception {
public:
  EArInternalInflateError(AnsiString message, TArInflateFault fault) : Exception(std::move(message)), FFault(fault) {}
  TArInflateFault Fault() const noexcept { return FFault; }

private:
  TArInflateFault FFault;
};

// "Archiver inflate error, possibly a corrupted compressed stream. (Internal cause: "
// cause ")", keeping the internal fault and the count of bytes decoded before it.
class EArInflateError : public Exception {
public:
  EArInflateError(const EArInternalInflateError& cause, int64_t position);
  TArInflateFault Fault() const noexcept { return FFault; }
  int64_t Position() const noexcept { return FPosition; }

private:
  TArInflateFault FFault;
  int64_t FPosition;
};

class EArDeflateError : public Exception {
public:
  explicit EArDeflateError(const AnsiString& cause)
      : Exception("Archiver deflate error. (Internal cause: " + cause + ")") {}
};

// The error class and code of any exception: an EArException gives ecArchiver and its
// code; EInOutError ecInOutError and its code; EFCreateError, EFOpenError and other
// EFilerError ecFileCreateError, ecFileOpenError and ecFilerError with 0; anything else
// ecOther with 0.
void ClassifyError(const std::exception& e, TArErrorClass& errorClass, int32_t& errorCode);
