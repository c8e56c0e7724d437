#include "platform/base/Sound.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(SoundTest, BeepsGoToTheInstalledHandler) {
  EXPECT_TRUE(MessageBeep(0));  // no handler: silent
  std::vector<uint32_t> beeps;
  const TMessageBeepHandler previous = SetMessageBeepHandler([&](uint32_t type) { beeps.push_back(type); });
  EXPECT_TRUE(MessageBeep(0));
  EXPECT_TRUE(MessageBeep(0x30));
  EXPECT_EQ(beeps, (std::vector<uint32_t>{0, 0x30}));
  SetMessageBeepHandler(previous);
  MessageBeep(0);
  EXPECT_EQ(beeps.size(), 2u);
}

}  // namespace
