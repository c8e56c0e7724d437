// The native format reads and writes items through the item-class registry, pictures by
// the names of their graphic classes, and reaches documents through the installed format,
// all of which the program sets up at start-up: every test of this program runs with
// them, as the program does.
#include <gtest/gtest.h>

#include "imaging/png/PngCodec.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/interchange/RPFDocumentFormat.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPTextItems.h"

namespace {

class RPFEnvironment : public testing::Environment {
public:
  void SetUp() override {
    RegisterTextItemClasses();
    RegisterPictureItemClasses();
    RegisterBulletItemClasses();
    RegisterMarkerItemClasses();
    RegisterGraphicClass(&TBitmap::ClassInfo);
    RegisterPngGraphicClass();
    RegisterRPFDocumentFormat();
  }
};

[[maybe_unused]] testing::Environment* const Environment = testing::AddGlobalTestEnvironment(new RPFEnvironment);

}  // namespace
