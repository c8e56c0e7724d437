#include "platform/base/Exception.h"

#include <gtest/gtest.h>

#include "platform/base/LastError.h"

TEST(Exception, CarriesItsMessageAsWhat) {
  try {
    throw Exception("Stream read error");
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Stream read error");
  }
}

TEST(Exception, RaiseLastOSErrorCarriesTheCodeAndTheSystemText) {
  SetLastError(ERROR_FILE_NOT_FOUND);
  try {
    RaiseLastOSError();
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode(), ERROR_FILE_NOT_FOUND);
    EXPECT_STREQ(e.what(), "System Error.  Code: 2.\r\nThe system cannot find the file specified.");
  }
  SetLastError(ERROR_SUCCESS);
  try {
    RaiseLastOSError();
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode(), 0u);
    EXPECT_STREQ(e.what(), "A call to an OS function failed");
  }
}

TEST(Exception, RaiseLastOSErrorHookRaisesInstead) {
  RaiseLastOSErrorHook = [] { throw EAbort("replaced"); };
  EXPECT_THROW(RaiseLastOSError(), EAbort);
  RaiseLastOSErrorHook = nullptr;
  EXPECT_THROW(RaiseLastOSError(), EOSError);
}
