// What a spanned zip set asks of the user when it needs another disk or volume file and
// the archive has no handler of its own for the request. The archive library declares
// the interface; a program with a user interface installs an implementation. With none
// installed (no display, tests, the conversion) every such request is refused.
#pragma once

#include "platform/base/Types.h"

class IArMediaPrompts {
public:
  virtual ~IArMediaPrompts() = default;
  // Shows text under caption with OK and Cancel, modal to the whole task; true for OK.
  virtual bool ConfirmMedia(const AnsiString& text, const AnsiString& caption) = 0;
};

// The installed prompts (nullptr: none); the caller keeps them alive while installed.
void SetArMediaPrompts(IArMediaPrompts* prompts);
IArMediaPrompts* ArMediaPrompts();

// The installed prompts' answer to text under caption; false (cancel) without prompts.
bool ConfirmArMedia(const AnsiString& text, const AnsiString& caption);
