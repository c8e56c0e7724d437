// Documents reach the native format through the installed format, which a program that
// shows documents installs at start-up: every test of this program runs with it, as the
// program does. (The item classes and the graphic classes by name come with the
// rich-text model's start-up.)
#include <gtest/gtest.h>

#include "richtext/interchange/RPFDocumentFormat.h"

namespace {

class RPFEnvironment : public testing::Environment {
public:
  void SetUp() override { RegisterRPFDocumentFormat(); }
};

[[maybe_unused]] testing::Environment* const Environment = testing::AddGlobalTestEnvironment(new RPFEnvironment);

}  // namespace
