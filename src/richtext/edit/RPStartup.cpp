#include "richtext/edit/RPStartup.h"

#include <mutex>
#include <span>

#include "platform/base/LibraryStartup.h"
#include "platform/base/Resources.h"
#include "richtext/interchange/RPExportClipboard.h"
#include "richtext/interchange/RPInterchangeStartup.h"
#include "richtext/screen/RPScreenStartup.h"

// The style sheet's bitmap and cursors, compiled into this library (CMakeLists.txt).
std::span<const TResourceEntry> RichTextResources();

void StartRichTextLibraries() {
  static std::once_flag started;
  std::call_once(started, [] {
    StartRichTextInterchange();  // the graphic and item classes, the native format
    StartRichTextScreen();       // the control classes
    RegisterExportCopyFormats();
    RegisterResourceTable(RichTextResources());
  });
}

QF_LIBRARY_STARTUP(QfRichTextStartup, StartRichTextLibraries)
