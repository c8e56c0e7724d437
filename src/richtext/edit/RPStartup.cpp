#include "richtext/edit/RPStartup.h"

#include <mutex>
#include <span>

#include "platform/base/Resources.h"
#include "richtext/interchange/RPExportClipboard.h"
#include "richtext/interchange/RPInterchangeStartup.h"

// The style sheet's bitmap and cursors, compiled into this library (CMakeLists.txt).
std::span<const TResourceEntry> RichTextResources();

void StartRichTextLibraries() {
  static std::once_flag started;
  std::call_once(started, [] {
    StartRichTextInterchange();  // the graphic and item classes, the native format
    RegisterExportCopyFormats();
    RegisterResourceTable(RichTextResources());
  });
}

// The symbol the library's users ask the linker for.
extern "C" {
extern const char QfRichTextStartup;
const char QfRichTextStartup = 1;
}

namespace {
[[maybe_unused]] const bool Started = (StartRichTextLibraries(), true);
}  // namespace
