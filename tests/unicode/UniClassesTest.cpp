#include "unicode/UniClasses.h"

#include <gtest/gtest.h>
#include <filesystem>

#include "PlatformFamily.h"
#include "TestFiles.h"
#include "platform/base/Exception.h"
#include "platform/base/FileSystem.h"
#include "platform/base/LastError.h"
#include "unicode/UniSysUtils.h"

namespace {

class TUniFileStreamTest : public testing::Test {
protected:
  std::string Path(const std::string& name) const { return FFolder / name; }
  TempFolder FFolder;
};

TEST_F(TUniFileStreamTest, CreatingOverAFileEmptiesIt) {
  WriteBytes(Path("old.bin"), "old contents");
  {
    TUniFileStream stream(WideName(Path("old.bin")), fmCreate);
    EXPECT_EQ(stream.Size(), 0);
    stream.WriteBuffer("new", 3);
    stream.SetPosition(0);
    char read[3];
    stream.ReadBuffer(read, 3);  // created for reading and writing
  }
  EXPECT_EQ(ReadBytes(Path("old.bin")), "new");
}

TEST_F(TUniFileStreamTest, OpensByModeAndNameOutsideTheCodePage) {
  const std::string name = Path("\xE2\x82\xAC-\xE4\xB8\xAD.txt");  // "€-中": not in code page 1251
  WriteBytes(name, "abc");
  TUniFileStream reader(WideName(name), fmOpenRead | fmShareDenyWrite);
  char bytes[4] = {};
  EXPECT_EQ(reader.Read(bytes, 4), 3);
  EXPECT_STREQ(bytes, "abc");
  EXPECT_EQ(reader.Write("x", 1), 0);  // opened for reading only

  TUniFileStream writer(WideName(name), fmOpenReadWrite | fmShareDenyNone);
  writer.Seek(0, soEnd);
  writer.WriteBuffer("d", 1);
  EXPECT_EQ(ReadBytes(name), "abcd");
}

TEST_F(TUniFileStreamTest, OpeningAMissingFileNamesItsFullPath) {
  // The working folder goes back to what it was however the test ends: later tests in the
  // same process resolve relative names against it.
  struct TWorkingFolderScope {
    std::filesystem::path Saved = std::filesystem::current_path();
    ~TWorkingFolderScope() { std::filesystem::current_path(Saved); }
  } workingFolder;
  std::filesystem::current_path(FFolder.Path());
  try {
    TUniFileStream stream(u"missing.txt", fmOpenRead | fmShareDenyWrite);
    ADD_FAILURE() << "no EWideFOpenError";
  } catch (const EWideFOpenError& e) {
    EXPECT_EQ(e.WideMessage(), u"Cannot open file \"" + WideName(Path("missing.txt")) + u"\". " +
                                   WideSysErrorMessage(ERROR_FILE_NOT_FOUND));
  }
}

TEST_F(TUniFileStreamTest, CreatingInAMissingFolderRaisesCreateError) {
  const WideString name = WideName(Path("no-such-folder/new.txt"));
  try {
    TUniFileStream stream(name, fmCreate);
    ADD_FAILURE() << "no EWideFCreateError";
  } catch (const EWideFCreateError& e) {
    EXPECT_EQ(e.WideMessage(), u"Cannot create file \"" + name + u"\". " + WideSysErrorMessage(ERROR_PATH_NOT_FOUND));
  }
}

// Which names a replace of `target` reaches: the file itself however the name spells it,
// through symbolic links to it or to its folder; never another hard link, another file or
// a name that reaches no file.
TEST_F(TUniFileStreamTest, AReplaceReachesTheFileItsNameLeadsTo) {
  WriteBytes(Path("book.fb2"), "book");
  WriteBytes(Path("other.fb2"), "other");
  std::filesystem::create_directory(Path("sub"));
  std::filesystem::create_symlink(Path("book.fb2"), Path("link.fb2"));
  std::filesystem::create_hard_link(Path("book.fb2"), Path("hard.fb2"));
  std::filesystem::create_directory_symlink(FFolder.Path(), Path("folder-link"));
  struct TCase {
    const char* Target;
    const char* Other;
    bool Replaces;
  };
  for (const TCase& row : {TCase{"book.fb2", "book.fb2", true}, TCase{"sub/../book.fb2", "book.fb2", true},
                           TCase{"link.fb2", "book.fb2", true}, TCase{"book.fb2", "link.fb2", true},
                           TCase{"folder-link/book.fb2", "book.fb2", true}, TCase{"hard.fb2", "book.fb2", false},
                           TCase{"other.fb2", "book.fb2", false}, TCase{"missing.fb2", "book.fb2", false},
                           TCase{"book.fb2", "missing.fb2", false}, TCase{"sub", "book.fb2", false}}) {
    SCOPED_TRACE(std::string(row.Target) + " over " + row.Other);
    EXPECT_EQ(WideReplacesFile(WideName(Path(row.Target)), WideName(Path(row.Other))), row.Replaces);
  }
}

// On an 8-bit platform a name the code page cannot hold reaches no file.
TEST_F(TUniFileStreamTest, AReplaceOfANameOutsideTheCodePageReachesNothingOnEightBitPlatforms) {
  const WideString name = WideName(Path("\xE2\x82\xAC-\xE4\xB8\xAD.fb2"));  // "€-中": not in code page 1251
  WriteBytes(Path("\xE2\x82\xAC-\xE4\xB8\xAD.fb2"), "book");
  EXPECT_TRUE(WideReplacesFile(name, name));
  const TEightBitPlatformScope eightBit;
  EXPECT_FALSE(WideReplacesFile(name, name));
}

TEST(TUniMemoryStreamTest, BehavesAsTheMemoryStream) {
  TUniMemoryStream stream;
  stream.WriteBuffer("abc", 3);
  stream.SetPosition(1);
  char byte = 0;
  stream.ReadBuffer(&byte, 1);
  EXPECT_EQ(byte, 'b');
  EXPECT_EQ(stream.Size(), 3);
}

// Two resources of this test program.
constexpr uint8_t kTableBytes[] = {1, 2, 3, 4, 5};
constexpr TResourceEntry kTestResources[] = {
    {RT_RCDATA, nullptr, 0, u"UNI_CLASSES_TEST", kTableBytes, sizeof kTableBytes},
    {RT_RCDATA, nullptr, 4711, nullptr, kTableBytes + 3, 2},
};

class TUniResourceStreamTest : public testing::Test {
protected:
  static void SetUpTestSuite() { RegisterResourceTable(kTestResources); }
};

TEST_F(TUniResourceStreamTest, ReadsTheResourceByNameOrOrdinal) {
  TUniResourceStream byName(HInstance, u"Uni_Classes_Test", RT_RCDATA);
  EXPECT_EQ(byName.Size(), 5);
  uint8_t bytes[8] = {};
  EXPECT_EQ(byName.Read(bytes, 8), 5);
  EXPECT_EQ(bytes[4], 5);
  EXPECT_EQ(byName.Read(bytes, 8), 0);  // past the end: nothing

  TUniResourceStream byId(HInstance, 4711, RT_RCDATA);
  EXPECT_EQ(byId.Size(), 2);
  byId.ReadBuffer(bytes, 2);
  EXPECT_EQ(bytes[0], 4);
}

TEST_F(TUniResourceStreamTest, WritingAlwaysRaises) {
  TUniResourceStream stream(HInstance, u"UNI_CLASSES_TEST", RT_RCDATA);
  for (int32_t count : {1, 0}) {
    try {
      stream.Write("x", count);
      ADD_FAILURE() << "no EStreamError";
    } catch (const EStreamError& e) {
      EXPECT_EQ(e.Message(), "Can't write to a read-only resource stream");
    }
  }
}

TEST_F(TUniResourceStreamTest, MissingResourceRaisesWithItsName) {
  const auto expectNotFound = [](auto create, const std::string& message) {
    try {
      create();
      ADD_FAILURE() << "no EResNotFound";
    } catch (const EResNotFound& e) {
      EXPECT_EQ(e.Message(), message);
    }
  };
  expectNotFound([] { TUniResourceStream(HInstance, u"NO_SUCH", RT_RCDATA); }, "Resource NO_SUCH not found");
  expectNotFound([] { TUniResourceStream(HInstance, 4712, RT_RCDATA); }, "Resource #4712 not found");
  expectNotFound([] { TUniResourceStream(HInstance, u"UNI_CLASSES_TEST", RT_STRING); },
                 "Resource UNI_CLASSES_TEST not found");
}

}  // namespace
