#include "fb2/uFB2Genres.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "l10n/Localizer.h"
#include "l10n/uLangRes.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/TempFolder.h"
#include "unicode/UniSystem.h"

TEST(FB2Genres, EveryRowIsAConstantNamedAfterItsCode) {
  ASSERT_EQ(std::size(FB2GenreRecords), 109u);
  std::set<std::string> names;
  for (size_t i = 0; i < std::size(FB2GenreRecords); ++i) {
    const TResStringRec& record = FB2GenreRecords[i];
    EXPECT_EQ(FB2GenreResStrings[i], &record);
    EXPECT_EQ(std::string(record.Name), "FB2G_" + std::string(GenreCode(record)));
    EXPECT_NE(std::string(record.Text), "");
    EXPECT_TRUE(names.insert(record.Name).second) << record.Name;
  }
  // The first and last row of each family run, with their exact texts.
  const struct {
    size_t Row;
    const char* Name;
    const char* Text;
  } rows[] = {
      {0, "FB2G_sf_history", "Alternative history"},
      {11, "FB2G_sf", "Science Fiction"},
      {12, "FB2G_det_classic", "Classical detectives"},
      {23, "FB2G_detective", "Detectives"},
      {28, "FB2G_prose_rus_classic", "Russial classics prose"},
      {42, "FB2G_child_tale", "Children's Fairy Tales"},
      {56, "FB2G_antique_myths", "Myths. Legends. Epos"},
      {73, "FB2G_science", "Scientific-educational"},
      {79, "FB2G_comp_osnet", "OS & Networking"},
      {95, "FB2G_humor_anecdote", "Anecdote (funny stories)"},
      {108, "FB2G_home", "Home & Family"},
  };
  for (const auto& r : rows) {
    EXPECT_STREQ(FB2GenreRecords[r.Row].Name, r.Name);
    EXPECT_STREQ(FB2GenreRecords[r.Row].Text, r.Text);
  }
}

TEST(FB2Genres, NamesAreFoundIgnoringCase) {
  const struct {
    const char16_t* Code;
    const char16_t* Name;
  } cases[] = {
      {u"sf_fantasy", u"Fantasy SF"},
      {u"SF_FANTASY", u"Fantasy SF"},
      {u"Home_Sex", u"Erotica & sex"},
      {u"home", u"Home & Family"},
      {u"sf_unknown", u""},
      {u"", u""},
      {u" sf", u""},  // codes are not trimmed
      {u"sf\u0131", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.Code));
    EXPECT_EQ(GetGenreName(c.Code), c.Name);
  }
}

TEST(FB2Genres, ALanguageFileTranslatesAGenreByItsConstant) {
  TempFolder folder;
  // UTF-8 with its mark: "Поэзия" for the genre "poetry".
  WriteBytes(
      folder / "QuirefoldB_ru.lng",
      "\xEF\xBB\xBFLANGID=1049\r\n[$CONSTANTS]\r\nFB2G_poetry=\xD0\x9F\xD0\xBE\xD1\x8D\xD0\xB7\xD0\xB8\xD1\x8F\r\n");
  InstallResStringTranslation();
  RegisterResStrings(FB2GenreResStrings);
  TLanguageManager& manager = LangManager();
  // The default texts, as the program's embedded constants hold them.
  for (PResStringRec record : FB2GenreResStrings)
    manager.Constants().AddConstant(record->Name, LoadWideResString(record), 0);
  ASSERT_TRUE(manager.RegisterLangFile(FileSystemNameToWide(folder / "QuirefoldB_ru.lng")));
  manager.SetLanguageID(1049);
  EXPECT_EQ(GetGenreName(u"POETRY"), u"\u041f\u043e\u044d\u0437\u0438\u044f");
  EXPECT_EQ(GetGenreName(u"dramaturgy"), u"Dramaturgy");  // not translated: the built-in text
  manager.SetLanguageID(1033);
  EXPECT_EQ(GetGenreName(u"poetry"), u"Poetry");
  UninstallResStringTranslation();
}
