// The native format reads and writes items through the item-class registry and reaches
// documents through the installed format, both of which the program sets up at start-up:
// every test of this program runs with them, as the program does.
#include <gtest/gtest.h>

#include "richtext/interchange/RPFDocumentFormat.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPTextItems.h"

namespace {

class RPFEnvironment : public testing::Environment {
public:
  void SetUp() override {
    RegisterTextItemClasses();
    RegisterPictureItemClasses();
    RegisterBulletItemClasses();
    RegisterRPFDocumentFormat();
  }
};

[[maybe_unused]] testing::Environment* const Environment = testing::AddGlobalTestEnvironment(new RPFEnvironment);

}  // namespace
