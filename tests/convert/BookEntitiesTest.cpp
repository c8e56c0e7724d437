// Books whose document type declaration declares entities, on the conversion's road:
// the entities' characters reach the built text and the book's description, a malformed
// subset and an undeclared entity refuse the book with the driver's message.
#include <gtest/gtest.h>

#include "BuilderTestData.h"
#include "convert/SchemeTestFolder.h"
#include "convert/cFB2WolConvertor.h"
#include "unicode/WideException.h"

namespace {

const std::string FixtureDir = QF_TEST_DATA_DIR "/fb2/";

TEST(BookEntitiesTest, DeclaredCharactersReachTheBuiltText) {
  TBuilderFixture f;
  f.Build(ReadBytes(FixtureDir + "book-entities.fb2"));
  EXPECT_EQ(TBuilderFixture::Text(f.Main()), "One\u00A0two\nSigned: Anna\u00A0Carr \u2014 2021.\nKept [] and []");
}

TEST(BookEntitiesTest, TheDriverLoadsOrRefusesEachBook) {
  const struct {
    const char* File;
    const char16_t* Error;  // none: loads
  } cases[] = {
      {"book-entities.fb2", nullptr},
      {"book-bad-subset.fb2", u"Can't read FB2 file!\r\nMake sure that file is correct."},
      {"book-undeclared-entity.fb2", u"Can't read FB2 file!\r\nMake sure that file is correct."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.File);
    TSchemeTestFolder folder;
    folder.Write(c.File, ReadBytes(FixtureDir + c.File));
    TFB2WolConvertor driver;
    if (!c.Error) {
      driver.LoadBook(folder.Wide(c.File));
      EXPECT_TRUE(driver.HasBook());
      EXPECT_EQ(driver.Description.Title, u"Stars\u00A0&\u00A0Lines");
      continue;
    }
    try {
      driver.LoadBook(folder.Wide(c.File));
      ADD_FAILURE() << "loaded";
    } catch (const WideException& e) {
      EXPECT_EQ(e.WideMessage(), c.Error);
    }
    EXPECT_FALSE(driver.HasBook());
  }
}

}  // namespace
