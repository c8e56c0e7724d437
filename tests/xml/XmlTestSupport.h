// Helpers shared by the XML library's tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/base/Types.h"

// Expects `f` to raise an exception of class E with exactly `message`.
template <typename E, typename F>
void ExpectRaises(F f, const char* message) {
  try {
    f();
    ADD_FAILURE() << "nothing raised, expected: " << message;
  } catch (const E& e) {
    EXPECT_STREQ(e.what(), message);
  }
}

// ASCII text of a UTF-16 string, for messages and comparisons in tests.
inline std::string Narrow(WideStringView s) { return std::string(s.begin(), s.end()); }
