#include "platform/base/Exception.h"

#include <gtest/gtest.h>

TEST(Exception, CarriesItsMessageAsWhat) {
  try {
    throw Exception("Stream read error");
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Stream read error");
  }
}
