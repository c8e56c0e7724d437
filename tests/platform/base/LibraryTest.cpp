#include "platform/base/Library.h"

#include <gtest/gtest.h>

#include "platform/base/LastError.h"

TEST(Library, BindsAFunctionOfALoadedLibrary) {
  const HMODULE math = LoadLibraryW(u"libm.so.6");
  ASSERT_NE(math, 0u);
  using TCos = double (*)(double);
  const auto cosine = reinterpret_cast<TCos>(GetProcAddress(math, "cos"));
  ASSERT_NE(cosine, nullptr);
  EXPECT_EQ(cosine(0.0), 1.0);
  EXPECT_EQ(GetProcAddress(math, "no_such_function"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  EXPECT_TRUE(FreeLibrary(math));
}

TEST(Library, AMissingLibraryIsAnErrorNotACrash) {
  EXPECT_EQ(LoadLibraryA("libno-such-library.so"), 0u);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  EXPECT_EQ(LoadLibraryW(nullptr), 0u);
  EXPECT_FALSE(FreeLibrary(0));
  EXPECT_EQ(GetProcAddress(0, "cos"), nullptr);
}
