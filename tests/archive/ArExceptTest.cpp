#include <gtest/gtest.h>

#include "archive/ArExcept.h"

namespace {

TEST(ArchiveErrorMessage, GivesTheTextOfACodeAndNothingForAGap) {
  EXPECT_EQ(ArchiveErrorMessage(37), "Insert span number %d of the spanned file set");
  EXPECT_EQ(ArchiveErrorMessage(39), "");
  EXPECT_EQ(ArchiveErrorMessage(316), " logging ");
  EXPECT_EQ(ArchiveErrorMessage(513), "Unhandled Entity");
}

TEST(EArException, EachClassCarriesItsCodeAndText) {
  struct Case {
    EArException Error;
    int32_t Code;
    const char* Text;
  };
  const Case cases[] = {
      {EArZipBadCRC(), 23, "Failed CRC Check"},
      {EArZipInvalid(), 28, "Invalid file - not a PKZip file"},
      {EArNoArchive(), 27, "Archive does not exist - Filename is blank"},
      {EArUnhandledType(), 35, "Unhandled Archive Type"},
      {EArZipInvalidPassword(), 4, "Cannot extract file - invalid password"},
      {EArVMSReadFail(4096, "swap"), 204, "VMS: Failed to read 4096 bytes from swap file swap"},
      {EArVMSInvalidOrigin(7), 201, "VMS: invalid origin 7, should be 0, 1, 2"},
      {EArBBSReadTooManyBytes(9), 40, "BBS: request to read too many bytes [9]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(c.Error.ErrorCode(), c.Code);
    EXPECT_EQ(c.Error.Message(), c.Text);
  }
}

TEST(EArBadStream, AppendsTheInnerMessageAfterALineBreak) {
  EArBadStream plain;
  EXPECT_EQ(plain.Message(), "Invalid Stream");
  EArBadStream wrapped(std::make_exception_ptr(Exception("full")));
  EXPECT_EQ(wrapped.Message(), "Invalid Stream\r\nfull");
  EXPECT_EQ(wrapped.ErrorCode(), 21);
  EXPECT_TRUE(wrapped.InnerException());
}

TEST(EArInflateError, WrapsTheInternalCause) {
  EArInflateError e(EArInternalInflateError("cause", TArInflateFault::BlockType), 12);
  EXPECT_EQ(e.Message(), "Archiver inflate error, possibly a corrupted compressed stream. (Internal cause: cause)");
  EXPECT_EQ(e.Position(), 12);
  EXPECT_EQ(EArDeflateError("x").Message(), "Archiver deflate error. (Internal cause: x)");
}

TEST(ClassifyError, MapsEachFamilyToItsClassAndCode) {
  struct Case {
    std::exception_ptr Error;
    TArErrorClass Class;
    int32_t Code;
  };
  const Case cases[] = {
      {std::make_exception_ptr(EArZipBadCRC()), ecArchiver, 23},
      {std::make_exception_ptr(EInOutError("io", 5)), ecInOutError, 5},
      {std::make_exception_ptr(EFCreateError("c")), ecFileCreateError, 0},
      {std::make_exception_ptr(EFOpenError("o")), ecFileOpenError, 0},
      {std::make_exception_ptr(EReadError("r")), ecFilerError, 0},
      {std::make_exception_ptr(EArInflateError(EArInternalInflateError("x", TArInflateFault::BlockType), 0)), ecOther,
       0},
  };
  for (const Case& c : cases) {
    try {
      std::rethrow_exception(c.Error);
    } catch (const std::exception& e) {
      SCOPED_TRACE(e.what());
      TArErrorClass errorClass;
      int32_t code = -1;
      ClassifyError(e, errorClass, code);
      EXPECT_EQ(errorClass, c.Class);
      EXPECT_EQ(code, c.Code);
    }
  }
}

}  // namespace
