#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"
#include "platform/base/Module.h"

TEST(Module, TheModuleFileNameIsTheRunningProgram) {
  char expected[4096];
  const ssize_t length = readlink("/proc/self/exe", expected, sizeof expected);
  ASSERT_GT(length, 0);
  const WideString program = FileSystemNameToWide(std::string_view(expected, static_cast<size_t>(length)));
  WideChar buffer[4096];
  EXPECT_EQ(GetModuleFileNameW(HInstance, buffer, 4096), program.size());
  EXPECT_EQ(WideString(buffer), program);
  EXPECT_EQ(ProgramDirectory(), program.substr(0, program.rfind(u'/') + 1));
  WideChar small[4];
  EXPECT_EQ(GetModuleFileNameW(HInstance, small, 4), 4u);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(WideString(small), program.substr(0, 3));
}
