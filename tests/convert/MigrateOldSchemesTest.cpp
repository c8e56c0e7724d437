#include <gtest/gtest.h>

#include <sys/stat.h>

#include "SchemeTestFolder.h"
#include "convert/cVoDaziScheme.h"
#include "unicode/UniSystem.h"
#include "unicode/UniWideStrings.h"
#include "unicode/ini/UniIniFiles.h"

namespace {

// An old scheme: its scheme keys under "BookParams", only some keys present.
const std::string OldScheme =
    "[BookParams]\r\nPageWidth=480\r\nInternalLinksText= [%P]\r\n[Verse]\r\nBaseFontSize=14\r\n";

TEST(MigrateOldSchemes, OldSchemeBecomesAFullGwsAndTheIniIsKeptAsBak) {
  const TSchemeTestFolder folder;
  folder.Write("Old.ini", Utf16File(OldScheme));
  folder.Write("QuirefoldBatch.ini", Utf16File("[QuirefoldBatch]\r\nScheme=Old\r\n"));
  MigrateOldSchemes();

  EXPECT_FALSE(folder.Exists("Old.ini"));
  EXPECT_EQ(folder.Read("Old.ini.bak"), Utf16File(OldScheme));
  EXPECT_EQ(folder.Read("QuirefoldBatch.ini"), Utf16File("[QuirefoldBatch]\r\nScheme=Old\r\n"));
  EXPECT_FALSE(folder.Exists("QuirefoldBatch.gws"));

  TVoDaziScheme scheme;
  scheme.LoadSchemeFile(u"Old");
  EXPECT_EQ(scheme.PageWidth, 480);
  EXPECT_EQ(scheme.PageHeight, 800);
  EXPECT_EQ(WideToUtf8(scheme.InternalLinksText), " [%P]");
  EXPECT_EQ(scheme.Styles(vsVerse).BaseFontSize, 14);
  EXPECT_EQ(scheme.Styles(vsPoem).BaseFontSize, 18);

  // Every key of every section, in the file's order: 37 scheme keys, 19 styles of 28.
  TUniMemIniFile ini(folder.Wide("Old.gws"));
  TUniStringList sections, keys;
  ini.ReadSections(sections);
  ASSERT_EQ(sections.GetCount(), 20);
  EXPECT_EQ(WideToUtf8(sections.GetString(0)), "VoDaziScheme");
  EXPECT_EQ(WideToUtf8(sections.GetString(19)), "Footer");
  ini.ReadSection(u"VoDaziScheme", keys);
  EXPECT_EQ(keys.GetCount(), 37);
  for (int32_t i = 1; i < 20; ++i) {
    ini.ReadSection(sections.GetString(i), keys);
    EXPECT_EQ(keys.GetCount(), 28);
  }
  TUniStringList listed;
  ListSchemes(listed);
  EXPECT_EQ(WideToUtf8(listed.Text()), "Old\r\n");
}

// A ".gws" of the same name is replaced by the migrated scheme.
TEST(MigrateOldSchemes, ExistingGwsIsReplaced) {
  const TSchemeTestFolder folder;
  folder.Write("Old.ini", Utf16File(OldScheme));
  folder.Write("Old.gws", Utf16File("[VoDaziScheme]\r\nPageWidth=1\r\nPageHeight=2\r\n"));
  MigrateOldSchemes();
  TVoDaziScheme scheme;
  scheme.LoadSchemeFile(u"Old");
  EXPECT_EQ(scheme.PageWidth, 480);
  EXPECT_EQ(scheme.PageHeight, 800);
}

// A rename that fails (the ".ini.bak" is there already) leaves the ".ini", which is
// converted again next time.
TEST(MigrateOldSchemes, FailedRenameKeepsTheIni) {
  const TSchemeTestFolder folder;
  folder.Write("Keep.ini", Utf16File(OldScheme));
  folder.Write("Keep.ini.bak", "earlier");
  MigrateOldSchemes();
  EXPECT_TRUE(folder.Exists("Keep.ini"));
  EXPECT_EQ(folder.Read("Keep.ini.bak"), "earlier");
  TVoDaziScheme scheme;
  scheme.LoadSchemeFile(u"Keep");
  EXPECT_EQ(scheme.PageWidth, 480);
}

// The mask matches in any case; the new names keep the old stem.
TEST(MigrateOldSchemes, UpperCaseExtensionAndAnsiText) {
  const TSchemeTestFolder folder;
  folder.Write("Caps.INI", "[BookParams]\r\nHeaderLeftEvenText=\xD7\xB8\xF2\xED\xE0\xFF\r\n");
  MigrateOldSchemes();
  EXPECT_TRUE(folder.Exists("Caps.gws"));
  EXPECT_TRUE(folder.Exists("Caps.ini.bak"));
  TVoDaziScheme scheme;
  scheme.LoadSchemeFile(u"Caps");
  EXPECT_EQ(WideToUtf8(scheme.HeaderLeftEvenText), "Чётная");
}

// Folders, unreadable files and files without "BookParams" are left alone.
TEST(MigrateOldSchemes, LeavesOtherEntriesAlone) {
  const TSchemeTestFolder folder;
  ASSERT_EQ(mkdir((folder / "dir.ini").c_str(), 0700), 0);
  ASSERT_EQ(mkfifo((folder / "fifo.ini").c_str(), 0600), 0);
  folder.Write("plain.ini", "[Other]\r\nPageWidth=1\r\n");
  MigrateOldSchemes();
  EXPECT_TRUE(folder.Exists("plain.ini"));
  EXPECT_FALSE(folder.Exists("plain.gws"));
  EXPECT_FALSE(folder.Exists("dir.gws"));
  EXPECT_FALSE(folder.Exists("fifo.gws"));
}

}  // namespace
