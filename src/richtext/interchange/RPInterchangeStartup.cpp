#include "richtext/interchange/RPInterchangeStartup.h"

#include <mutex>

#include "platform/base/LibraryStartup.h"
#include "richtext/interchange/RPFDocumentFormat.h"
#include "richtext/model/RPModelStartup.h"

void StartRichTextInterchange() {
  static std::once_flag started;
  std::call_once(started, [] {
    StartRichTextModel();  // the item and graphic classes the native format makes
    RegisterRPFDocumentFormat();
  });
}

QF_LIBRARY_STARTUP(QfRichTextInterchangeStartup, StartRichTextInterchange)
