// One Unicode application for the whole test program, on Qt's offscreen platform, with
// the program's translatable messages registered as the program registers them (the
// document's item classes come with the rich-text model's start-up, as they do for the
// program).
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "app/ProgramResStrings.h"
#include "l10n/uLangRes.h"
#include "unicode/controls/UniForms.h"

namespace {

class AppEnvironment : public testing::Environment {
public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    InstallResStringTranslation();
    for (const auto& table : ProgramResStringTables) RegisterResStrings(table);
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
