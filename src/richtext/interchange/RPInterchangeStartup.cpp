#include "richtext/interchange/RPInterchangeStartup.h"

#include <mutex>

#include "richtext/interchange/RPFDocumentFormat.h"
#include "richtext/model/RPModelStartup.h"

void StartRichTextInterchange() {
  static std::once_flag started;
  std::call_once(started, [] {
    StartRichTextModel();  // the item and graphic classes the native format makes
    RegisterRPFDocumentFormat();
  });
}

// The symbol the library's users ask the linker for.
extern "C" {
extern const char QfRichTextInterchangeStartup;
const char QfRichTextInterchangeStartup = 1;
}

namespace {
[[maybe_unused]] const bool Started = (StartRichTextInterchange(), true);
}  // namespace
