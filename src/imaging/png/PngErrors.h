// The exceptions of the PNG codec and their translatable messages.
//
// Every failure raises a class of the `EPngError` family; the class says what failed and
// the message is the resource string of that class (translations apply).
#pragma once

#include <array>

#include "platform/base/ResString.h"
#include "unicode/UniSysUtils.h"

inline constexpr TResStringRec EPNGInvalidFileHeaderText{
    "EPNGInvalidFileHeaderText",
    "The file being readed is not a valid \"Portable Network Graphics\" image because it contains an invalid "
    "header. This file may be corruped, try obtaining it again."};
inline constexpr TResStringRec EPNGIHDRNotFirstText{"EPNGIHDRNotFirstText",
                                                    "This \"Portable Network Graphics\" image is not supported or it "
                                                    "might be invalid.\r\n(IHDR chunk is not the first)"};
inline constexpr TResStringRec EPngUnexpectedEndText{
    "EPngUnexpectedEndText",
    "This \"Portable Network Graphics\" image is invalid because the decoder found an unexpected end of the file."};
inline constexpr TResStringRec EPNGUnknownCriticalChunkText{
    "EPNGUnknownCriticalChunkText",
    "This \"Portable Network Graphics\" image contains an unknown critical part which could not be decoded."};
inline constexpr TResStringRec EPNGNoImageDataText{"EPNGNoImageDataText",
                                                   "This \"Portable Network Graphics\" image contains no data."};
inline constexpr TResStringRec EPngInvalidCRCText{
    "EPngInvalidCRCText",
    "This \"Portable Network Graphics\" image is not valid because it contains invalid pieces of data (crc error)"};
inline constexpr TResStringRec EPngInvalidIHDRText{
    "EPngInvalidIHDRText",
    "The \"Portable Network Graphics\" image could not be loaded because one of its main piece of data (ihdr) might "
    "be corrupted"};
inline constexpr TResStringRec EPNGSizeExceedsText{
    "EPNGSizeExceedsText",
    "This \"Portable Network Graphics\" image is not supported because either it's width or height exceeds the "
    "maximum size, which is 65535 pixels length."};
inline constexpr TResStringRec EPNGUnknownCompressionText{
    "EPNGUnknownCompressionText",
    "This \"Portable Network Graphics\" image is encoded with an unknown compression scheme which could not be "
    "decoded."};
inline constexpr TResStringRec EPNGUnknownInterlaceText{
    "EPNGUnknownInterlaceText",
    "This \"Portable Network Graphics\" image uses an unknown interlace scheme which could not be decoded."};
inline constexpr TResStringRec EPNGInvalidPaletteText{
    "EPNGInvalidPaletteText", "The \"Portable Network Graphics\" image contains an invalid palette."};
inline constexpr TResStringRec EPNGMissingMultipleIDATText{
    "EPNGMissingMultipleIDATText",
    "This \"Portable Network Graphics\" image is invalid because it has missing image parts."};
inline constexpr TResStringRec EPNGZLIBErrorText{
    "EPNGZLIBErrorText",
    "Could not decompress the image because it contains invalid compressed data.\r\n Description: "};
inline constexpr TResStringRec EPNGHeaderNotPresentText{
    "EPNGHeaderNotPresentText", "This operation is not valid because the current image contains no valid header."};
inline constexpr TResStringRec EPNGInvalidNewSizeText{"EPNGInvalidNewSizeText",
                                                      "The new size provided for image resizing is invalid."};
inline constexpr TResStringRec EPNGOutMemoryText{
    "EPNGOutMemoryText",
    "Some operation could not be performed because the system is out of resources. Close some windows and try "
    "again."};
inline constexpr TResStringRec EPNGCannotAssignChunkText{"EPNGCannotAssignChunkText",
                                                         "The chunks must be compatible to be assigned."};
inline constexpr TResStringRec EPNGNotExistsText{"EPNGNotExistsText", "There is no such palette entry."};

inline constexpr std::array<PResStringRec, 18> PngResStrings{
    &EPNGInvalidFileHeaderText,  &EPNGIHDRNotFirstText,     &EPngUnexpectedEndText,  &EPNGUnknownCriticalChunkText,
    &EPNGNoImageDataText,        &EPngInvalidCRCText,       &EPngInvalidIHDRText,    &EPNGSizeExceedsText,
    &EPNGUnknownCompressionText, &EPNGUnknownInterlaceText, &EPNGInvalidPaletteText, &EPNGMissingMultipleIDATText,
    &EPNGZLIBErrorText,          &EPNGHeaderNotPresentText, &EPNGInvalidNewSizeText, &EPNGOutMemoryText,
    &EPNGCannotAssignChunkText,  &EPNGNotExistsText};

class EPngError : public WideException {
public:
  using WideException::WideException;
};

// Each class raises with its own message: `throw EPngInvalidCRC();`.
#define QF_PNG_EXCEPTION(Name)         \
  class Name : public EPngError {      \
  public:                              \
    Name() : EPngError(&Name##Text) {} \
  }
QF_PNG_EXCEPTION(EPNGInvalidFileHeader);
QF_PNG_EXCEPTION(EPNGIHDRNotFirst);
QF_PNG_EXCEPTION(EPngUnexpectedEnd);
QF_PNG_EXCEPTION(EPNGUnknownCriticalChunk);
QF_PNG_EXCEPTION(EPNGNoImageData);
QF_PNG_EXCEPTION(EPngInvalidCRC);
QF_PNG_EXCEPTION(EPngInvalidIHDR);
QF_PNG_EXCEPTION(EPNGSizeExceeds);
QF_PNG_EXCEPTION(EPNGUnknownCompression);
QF_PNG_EXCEPTION(EPNGUnknownInterlace);
QF_PNG_EXCEPTION(EPNGInvalidPalette);
QF_PNG_EXCEPTION(EPNGMissingMultipleIDAT);
QF_PNG_EXCEPTION(EPNGHeaderNotPresent);
QF_PNG_EXCEPTION(EPNGInvalidNewSize);
QF_PNG_EXCEPTION(EPNGOutMemory);
#undef QF_PNG_EXCEPTION

// The message, then zlib's description of the failure.
class EPNGZLIBError : public EPngError {
public:
  explicit EPNGZLIBError(const char* zlibMessage);
};
