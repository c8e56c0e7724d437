// One Unicode application for the whole test program, on Qt's offscreen platform, with
// the program's translatable messages and the document's item classes registered as the
// program registers them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "app/ProgramResStrings.h"
#include "l10n/uLangRes.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPTextItems.h"
#include "unicode/controls/UniForms.h"

namespace {

class AppEnvironment : public testing::Environment {
public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    InstallResStringTranslation();
    for (const auto& table : ProgramResStringTables) RegisterResStrings(table);
    RegisterTextItemClasses();
    RegisterPictureItemClasses();
    RegisterBulletItemClasses();
    RegisterMarkerItemClasses();
    FApp = std::make_unique<TUniApplication>(FArgc, FArgv);
    SetupUnicodeControls();
  }
  void TearDown() override {
    FApp.reset();
    UninstallResStringTranslation();
  }

private:
  int FArgc = 1;
  char FName[16] = "test_app";
  char* FArgv[2] = {FName, nullptr};
  std::unique_ptr<TUniApplication> FApp;
};

[[maybe_unused]] testing::Environment* const Environment = testing::AddGlobalTestEnvironment(new AppEnvironment);

}  // namespace
