// The system clipboard's text.
#pragma once

#include "platform/base/Types.h"

// Puts UTF-16 text on the clipboard (as plain text in every format that readers ask for).
void SetClipboardText(const WideString& text);
WideString GetClipboardText();
