#include "richtext/screen/RPScreenStartup.h"

#include <mutex>

#include "platform/base/LibraryStartup.h"
#include "richtext/model/RPModelStartup.h"
#include "richtext/screen/RPControlWidgets.h"

void StartRichTextScreen() {
  static std::once_flag started;
  std::call_once(started, [] {
    StartRichTextModel();  // the item classes the control item joins
    RegisterRPControlClasses();
  });
}

QF_LIBRARY_STARTUP(QfRichTextScreenStartup, StartRichTextScreen)
