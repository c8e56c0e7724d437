// The root of every exception the system raises.
//
// `Exception` carries an 8-bit message (in the process's ANSI code page, as the class
// library keeps it); subsystems derive their own families from it. Messages are the
// system's fixed texts, exactly.
#pragma once

#include <exception>

#include "platform/base/Types.h"

class Exception : public std::exception {
public:
  explicit Exception(AnsiString message) : FMessage(std::move(message)) {}

  const AnsiString& Message() const noexcept { return FMessage; }
  void SetMessage(AnsiString message) { FMessage = std::move(message); }
  const char* what() const noexcept override { return FMessage.c_str(); }

private:
  AnsiString FMessage;
};

// The class library's exception families. Each takes its finished message; the texts
// below are the library's own, to be filled in with `Format` where they hold a
// specifier (Format.h).
#define QF_DECLARE_EXCEPTION(Name, Base) \
  class Name : public Base {             \
  public:                                \
    using Base::Base;                    \
  }

QF_DECLARE_EXCEPTION(EAbort, Exception);
QF_DECLARE_EXCEPTION(EStreamError, Exception);
QF_DECLARE_EXCEPTION(EFileStreamError, EStreamError);
QF_DECLARE_EXCEPTION(EFCreateError, EFileStreamError);
QF_DECLARE_EXCEPTION(EFOpenError, EFileStreamError);
QF_DECLARE_EXCEPTION(EFilerError, EStreamError);
QF_DECLARE_EXCEPTION(EReadError, EFilerError);
QF_DECLARE_EXCEPTION(EWriteError, EFilerError);
QF_DECLARE_EXCEPTION(EClassNotFound, EFilerError);
QF_DECLARE_EXCEPTION(EListError, Exception);
QF_DECLARE_EXCEPTION(EStringListError, Exception);
QF_DECLARE_EXCEPTION(EConvertError, Exception);
QF_DECLARE_EXCEPTION(EOutOfMemory, Exception);
QF_DECLARE_EXCEPTION(EInvalidOperation, Exception);
QF_DECLARE_EXCEPTION(EInvalidPointer, Exception);
QF_DECLARE_EXCEPTION(EComponentError, Exception);
QF_DECLARE_EXCEPTION(EMaskException, Exception);
QF_DECLARE_EXCEPTION(EAccessViolation, Exception);
QF_DECLARE_EXCEPTION(EIntError, Exception);
QF_DECLARE_EXCEPTION(EDivByZero, EIntError);
QF_DECLARE_EXCEPTION(ERangeError, EIntError);
QF_DECLARE_EXCEPTION(EIntOverflow, EIntError);
QF_DECLARE_EXCEPTION(EMathError, Exception);
QF_DECLARE_EXCEPTION(EInvalidOp, EMathError);
QF_DECLARE_EXCEPTION(EZeroDivide, EMathError);
QF_DECLARE_EXCEPTION(EOverflow, EMathError);
QF_DECLARE_EXCEPTION(EUnderflow, EMathError);
QF_DECLARE_EXCEPTION(EInvalidCast, Exception);
QF_DECLARE_EXCEPTION(EIniFileException, Exception);
QF_DECLARE_EXCEPTION(EResNotFound, Exception);

#undef QF_DECLARE_EXCEPTION

// An input/output failure with its run-time error code.
class EInOutError : public Exception {
public:
  EInOutError(AnsiString message, int32_t errorCode) : Exception(std::move(message)), FErrorCode(errorCode) {}
  int32_t ErrorCode() const noexcept { return FErrorCode; }

private:
  int32_t FErrorCode;
};

// A failed operating-system call with its error code (a last-error code, LastError.h).
class EOSError : public Exception {
public:
  EOSError(AnsiString message, uint32_t errorCode) : Exception(std::move(message)), FErrorCode(errorCode) {}
  uint32_t ErrorCode() const noexcept { return FErrorCode; }

private:
  uint32_t FErrorCode;
};

// The class library's messages (8-bit, fixed English).
inline constexpr char SReadError[] = "Stream read error";
inline constexpr char SWriteError[] = "Stream write error";
inline constexpr char SFCreateErrorEx[] = "Cannot create file \"%s\". %s";
inline constexpr char SFOpenErrorEx[] = "Cannot open file \"%s\". %s";
inline constexpr char SMemoryStreamError[] = "Out of memory while expanding memory stream";
inline constexpr char SStreamSetSize[] = "Stream size cannot be changed";
inline constexpr char SListIndexError[] = "List index out of bounds (%d)";
inline constexpr char SListCapacityError[] = "List capacity out of bounds (%d)";
inline constexpr char SListCountError[] = "List count out of bounds (%d)";
inline constexpr char SDuplicateString[] = "String list does not allow duplicates";
inline constexpr char SSortedListError[] = "Operation not allowed on sorted list";
inline constexpr char SDuplicateName[] = "A component named %s already exists";
inline constexpr char SInvalidName[] = "'%s' is not a valid component name";
inline constexpr char SInvalidInteger[] = "'%s' is not a valid integer value";
inline constexpr char SInvalidFloat[] = "'%s' is not a valid floating point value";
inline constexpr char SInvalidFormat[] = "Format '%s' invalid or incompatible with argument";
inline constexpr char SArgumentMissing[] = "No argument for format '%s'";
inline constexpr char SOutOfMemory[] = "Out of memory";
inline constexpr char SAssignError[] = "Cannot assign a %s to a %s";
inline constexpr char SInvalidMask[] = "'%s' is an invalid mask at (%d)";
inline constexpr char SInOutError[] = "I/O error %d";
inline constexpr char SOSError[] = "System Error.  Code: %d.\r\n%s";
inline constexpr char SUnkOSError[] = "A call to an OS function failed";
inline constexpr char SOperationAborted[] = "Operation aborted";
inline constexpr char SDivByZero[] = "Division by zero";
inline constexpr char SIntOverflow[] = "Integer overflow";
inline constexpr char SResNotFound[] = "Resource %s not found";
inline constexpr char SCantWriteResourceStreamError[] = "Can't write to a read-only resource stream";
inline constexpr char SIniFileWriteError[] = "Unable to write to %s";
inline constexpr char SInvalidOp[] = "Invalid floating point operation";
inline constexpr char SInvalidCast[] = "Invalid class typecast";

// Raises EOSError for the last error of the kernel layer (LastError.h): "System Error.
// Code: %d.\r\n%s" with the system's text for the code, or "A call to an OS function
// failed" when no error is set. While RaiseLastOSErrorHook is set, that raises instead.
[[noreturn]] void RaiseLastOSError();

// A replacement that raises another exception for the last error (the Unicode runtime
// raises its UTF-16 one); it must throw. nullptr: the EOSError above.
using TRaiseLastOSErrorHook = void (*)();
extern TRaiseLastOSErrorHook RaiseLastOSErrorHook;
