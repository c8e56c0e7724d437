// One Unicode application for the whole test program, on Qt's offscreen platform with the
// Fusion style unless the environment names another platform (the screenshots run on X).
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "unicode/controls/UniForms.h"

namespace {

class UniGuiEnvironment : public testing::Environment {
public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    FApp = std::make_unique<TUniApplication>(FArgc, FArgv);
    SetupUnicodeControls();
  }
  void TearDown() override { FApp.reset(); }

private:
  int FArgc = 1;
  char FName[16] = "test";
  char* FArgv[2] = {FName, nullptr};
  std::unique_ptr<TUniApplication> FApp;
};

[[maybe_unused]] testing::Environment* const Environment = testing::AddGlobalTestEnvironment(new UniGuiEnvironment);

}  // namespace
