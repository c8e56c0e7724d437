// The driver and the builder make rich-text items through the item-class registry, which
// the program fills at start-up: every test of this program runs with the text, picture
// and bullet item classes registered, as the program does.
#include <gtest/gtest.h>

#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPTextItems.h"

namespace {

class ItemClassesEnvironment : public testing::Environment {
public:
  void SetUp() override {
    RegisterTextItemClasses();
    RegisterPictureItemClasses();
    RegisterBulletItemClasses();
  }
};

[[maybe_unused]] testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new ItemClassesEnvironment);

}  // namespace
