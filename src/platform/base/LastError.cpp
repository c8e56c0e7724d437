#include "platform/base/LastError.h"

#include <algorithm>
#include <cerrno>

namespace {

thread_local uint32_t LastErrorCode = ERROR_SUCCESS;

struct TErrorText {
  uint32_t Code;
  const char16_t* Text;
};

// The system's texts for the codes this layer sets.
constexpr TErrorText ErrorTexts[] = {
    {ERROR_SUCCESS, u"The operation completed successfully."},
    {ERROR_INVALID_FUNCTION, u"Incorrect function."},
    {ERROR_FILE_NOT_FOUND, u"The system cannot find the file specified."},
    {ERROR_PATH_NOT_FOUND, u"The system cannot find the path specified."},
    {ERROR_TOO_MANY_OPEN_FILES, u"The system cannot open the file."},
    {ERROR_ACCESS_DENIED, u"Access is denied."},
    {ERROR_INVALID_HANDLE, u"The handle is invalid."},
    {ERROR_NOT_ENOUGH_MEMORY, u"Not enough storage is available to process this command."},
    {ERROR_INVALID_DRIVE, u"The system cannot find the drive specified."},
    {ERROR_NOT_SAME_DEVICE, u"The system cannot move the file to a different disk drive."},
    {ERROR_NO_MORE_FILES, u"There are no more files."},
    {ERROR_WRITE_PROTECT, u"The media is write protected."},
    {ERROR_SEEK, u"The drive cannot locate a specific area or track on the disk."},
    {ERROR_WRITE_FAULT, u"The system cannot write to the specified device."},
    {ERROR_READ_FAULT, u"The system cannot read from the specified device."},
    {ERROR_SHARING_VIOLATION, u"The process cannot access the file because it is being used by another process."},
    {ERROR_LOCK_VIOLATION,
     u"The process cannot access the file because another process has locked a portion of the file."},
    {ERROR_HANDLE_EOF, u"Reached the end of the file."},
    {ERROR_NOT_SUPPORTED, u"The request is not supported."},
    {ERROR_FILE_EXISTS, u"The file exists."},
    {ERROR_CANNOT_MAKE, u"The directory or file cannot be created."},
    {ERROR_INVALID_PARAMETER, u"The parameter is incorrect."},
    {ERROR_BROKEN_PIPE, u"The pipe has been ended."},
    {ERROR_BUFFER_OVERFLOW, u"The file name is too long."},
    {ERROR_DISK_FULL, u"There is not enough space on the disk."},
    {ERROR_INSUFFICIENT_BUFFER, u"The data area passed to a system call is too small."},
    {ERROR_INVALID_NAME, u"The filename, directory name, or volume label syntax is incorrect."},
    {ERROR_MOD_NOT_FOUND, u"The specified module could not be found."},
    {ERROR_PROC_NOT_FOUND, u"The specified procedure could not be found."},
    {ERROR_NEGATIVE_SEEK, u"An attempt was made to move the file pointer before the beginning of the file."},
    {ERROR_DIR_NOT_EMPTY, u"The directory is not empty."},
    {ERROR_BUSY, u"The requested resource is in use."},
    {ERROR_ALREADY_EXISTS, u"Cannot create a file when that file already exists."},
    {ERROR_FILENAME_EXCED_RANGE, u"The filename or extension is too long."},
    {ERROR_BAD_FILE_TYPE, u"The file type being saved or retrieved has been blocked."},
    {ERROR_FILE_TOO_LARGE, u"The file size exceeds the limit allowed and cannot be saved."},
    {ERROR_DIRECTORY, u"The directory name is invalid."},
    {ERROR_MR_MID_NOT_FOUND,
     u"The system cannot find message text for message number 0x%1 in the message file for %2."},
    {ERROR_INVALID_FLAGS, u"Invalid flags."},
    {ERROR_NO_UNICODE_TRANSLATION, u"No mapping for the Unicode character exists in the target multi-byte code page."},
    {ERROR_RESOURCE_DATA_NOT_FOUND, u"The specified image file did not contain a resource section."},
    {ERROR_RESOURCE_TYPE_NOT_FOUND, u"The specified resource type cannot be found in the image file."},
    {ERROR_RESOURCE_NAME_NOT_FOUND, u"The specified resource name cannot be found in the image file."},
    {ERROR_RESOURCE_LANG_NOT_FOUND, u"The specified resource language ID cannot be found in the image file."},
    {ERROR_CANT_RESOLVE_FILENAME, u"The name of the file cannot be resolved by the system."},
};

}  // namespace

uint32_t GetLastError() noexcept { return LastErrorCode; }

void SetLastError(uint32_t code) noexcept { LastErrorCode = code; }

uint32_t ErrorFromErrno(int errnoValue) noexcept {
  switch (errnoValue) {
    case 0:
      return ERROR_SUCCESS;
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
      return ERROR_ACCESS_DENIED;
    case EROFS:
      return ERROR_WRITE_PROTECT;
    case EBADF:
      return ERROR_INVALID_HANDLE;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EMFILE:
    case ENFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    case EEXIST:
      return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY:
      return ERROR_DIR_NOT_EMPTY;
    case EXDEV:
      return ERROR_NOT_SAME_DEVICE;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case ENOSPC:
    case EDQUOT:
      return ERROR_DISK_FULL;
    case EFBIG:
      return ERROR_FILE_TOO_LARGE;
    case EBUSY:
    case ETXTBSY:
      return ERROR_BUSY;
    case EWOULDBLOCK:
      return ERROR_SHARING_VIOLATION;
    case EINVAL:
    case ELOOP:
      return ERROR_INVALID_PARAMETER;
    case EILSEQ:
      return ERROR_NO_UNICODE_TRANSLATION;
    case EPIPE:
      return ERROR_BROKEN_PIPE;
    case ESPIPE:
      return ERROR_SEEK;
    case EIO:
      return ERROR_READ_FAULT;
    case ENOSYS:
    case EOPNOTSUPP:
      return ERROR_NOT_SUPPORTED;
    default:
      return ERROR_INVALID_FUNCTION;
  }
}

uint32_t SetLastErrorFromErrno() noexcept {
  const uint32_t code = ErrorFromErrno(errno);
  SetLastError(code);
  return code;
}

WideString SystemErrorMessage(uint32_t code) {
  for (const TErrorText& entry : ErrorTexts)
    if (entry.Code == code) return entry.Text;
  return {};
}

uint32_t FormatMessageW(uint32_t flags, const void*, uint32_t messageId, uint32_t, WideChar* buffer, uint32_t size,
                        const void*) {
  constexpr uint32_t Known = FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM |
                             FORMAT_MESSAGE_ARGUMENT_ARRAY;
  if ((flags & ~Known) != 0 || (flags & FORMAT_MESSAGE_FROM_SYSTEM) == 0 || buffer == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const WideString text = SystemErrorMessage(messageId);
  if (text.empty()) {
    SetLastError(ERROR_MR_MID_NOT_FOUND);
    return 0;
  }
  const WideString line = text + u"\r\n";
  if (line.size() >= size) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::copy(line.begin(), line.end(), buffer);
  buffer[line.size()] = 0;
  return static_cast<uint32_t>(line.size());
}
