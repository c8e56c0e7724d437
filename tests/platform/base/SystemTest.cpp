#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"
#include "platform/base/System.h"

TEST(System, TheSystemIsOfTheNtFamily) {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionExW(&info));
  EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
  EXPECT_GT(info.dwMajorVersion, 5u);
  OSVERSIONINFOA narrow{};
  narrow.dwOSVersionInfoSize = 12;
  EXPECT_FALSE(GetVersionExA(&narrow));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(System, TheCommandLineStartsWithTheProgram) {
  std::ifstream file("/proc/self/cmdline", std::ios::binary);
  const std::string all{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const WideString program = FileSystemNameToWide(all.substr(0, all.find('\0')));
  const WideString line = GetCommandLineW();
  EXPECT_EQ(line.substr(0, program.size()), program);
  EXPECT_EQ(GetCommandLineW(), GetCommandLineW()) << "one text for the whole run";
}
