#include <cstring>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "platform/base/CodePages.h"
#include "platform/base/LastError.h"
#include "platform/base/Module.h"
#include "platform/base/Resources.h"

// The test program embeds tests/data/platform/base/sample.bin as RCDATA "SAMPLE" and
// ordinal 7, the string table tests/data/platform/base/strings.txt and version 1.2.3.4.

namespace {

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

WideString LoadString(uint32_t id) {
  WideChar buffer[64];
  const int32_t length = LoadStringW(HInstance, id, buffer, 64);
  return WideString(buffer, static_cast<size_t>(length));
}

WideString ProgramName() {
  WideChar name[4096];
  GetModuleFileNameW(HInstance, name, 4096);
  return name;
}

}  // namespace

TEST(Resources, RcdataHoldsTheEmbeddedFileByNameOrOrdinal) {
  const std::vector<uint8_t> expected = FileBytes(QF_TEST_DATA_DIR "/platform/base/sample.bin");
  for (const TResName& name :
       {TResName(u"SAMPLE"), TResName(u"sample"), TResName(7), TResName(u"#7"), TResName(MAKEINTRESOURCEW(7))}) {
    SCOPED_TRACE(testing::PrintToString(name.Name()) + " " + std::to_string(name.Ordinal()));
    const HRSRC resource = FindResourceW(HInstance, name, RT_RCDATA);
    ASSERT_NE(resource, nullptr);
    ASSERT_EQ(SizeofResource(HInstance, resource), expected.size());
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(HInstance, resource)));
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + expected.size()), expected);
  }
}

TEST(Resources, MissingResourcesSayWhatIsMissing) {
  EXPECT_EQ(FindResourceW(HInstance, u"LANG_CONSTS", RT_RCDATA), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
  EXPECT_EQ(FindResourceW(HInstance, u"SAMPLE", u"CURSORS"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
  EXPECT_EQ(FindResourceW(HInstance, u"", RT_RCDATA), nullptr);
  EXPECT_TRUE(ResourceBytes(8, RT_RCDATA).empty());
}

TEST(Resources, StringTablesAreReadByBlockAndEntry) {
  EXPECT_EQ(LoadString(1), u"First");
  EXPECT_EQ(LoadString(17), u"Seventeen");  // entry 1 of block 2
  EXPECT_EQ(LoadString(18), u"\x041A\x043D\x0438\x0433\x0430 \xD83D\xDCD6");
  EXPECT_EQ(LoadString(31), u"Two\\tlines\nand a tab\t.");
  EXPECT_EQ(LoadString(4096), u"Far away");
  EXPECT_EQ(LoadString(2), u"");  // a missing entry of a present block
  WideChar buffer[4];
  EXPECT_EQ(LoadStringW(HInstance, 40, buffer, 4), 0);  // a missing block
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
  EXPECT_EQ(LoadStringW(HInstance, 17, buffer, 4), 3);
  EXPECT_EQ(WideString(buffer), u"Sev");
  EXPECT_EQ(LoadStringW(HInstance, 17, nullptr, 0), 9);
}

TEST(Resources, TheStringBlockHasTheWindowsLayout) {
  // Block 2 holds ids 16..31: 16 entries of a 16-bit length and UTF-16LE units.
  const std::span<const uint8_t> block = ResourceBytes(2, RT_STRING);
  ASSERT_GE(block.size(), 2u + 2u + 18u);
  EXPECT_EQ(block[0], 0);  // id 16: empty
  EXPECT_EQ(block[1], 0);
  EXPECT_EQ(block[2], 9);  // id 17: "Seventeen"
  EXPECT_EQ(block[3], 0);
  EXPECT_EQ(block[4], 'S');
  EXPECT_EQ(block[5], 0);
}

TEST(Resources, TheProgramFileHasTheVersionItWasBuiltWith) {
  const WideString program = ProgramName();
  uint32_t handle = 99;
  const uint32_t size = GetFileVersionInfoSizeW(program.c_str(), &handle);
  ASSERT_GT(size, 0u);
  EXPECT_EQ(handle, 0u);
  std::vector<uint8_t> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), handle, size, block.data()));
  void* value = nullptr;
  uint32_t length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), u"\\", &value, &length));
  ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  VS_FIXEDFILEINFO info;
  std::memcpy(&info, value, sizeof info);
  EXPECT_EQ(info.dwSignature, VS_FFI_SIGNATURE);
  EXPECT_EQ(info.dwFileVersionMS, (1u << 16) | 2u);
  EXPECT_EQ(info.dwFileVersionLS, (3u << 16) | 4u);
  EXPECT_FALSE(VerQueryValueW(block.data(), u"\\StringFileInfo\\040904E4\\FileVersion", &value, &length));
}

TEST(Resources, The8BitVersionCallsReadTheSameBlock) {
  const AnsiString program = WideToAnsi(ProgramName());
  const uint32_t size = GetFileVersionInfoSizeA(program.c_str(), nullptr);
  ASSERT_EQ(size, GetFileVersionInfoSizeW(ProgramName().c_str(), nullptr));
  std::vector<uint8_t> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, size, block.data()));
  void* value = nullptr;
  uint32_t length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", &value, &length));
  EXPECT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_FALSE(VerQueryValueA(block.data(), "\\StringFileInfo", &value, &length));
}

TEST(Resources, OtherFilesHaveNoVersion) {
  EXPECT_EQ(GetFileVersionInfoSizeW(u"/proc/self/status", nullptr), 0u);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_DATA_NOT_FOUND);
  EXPECT_EQ(GetFileVersionInfoSizeW(u"/no/such/file", nullptr), 0u);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}
