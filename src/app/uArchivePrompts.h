// The questions of spanned zip sets (a disk or a volume file to bring) as the program's
// message boxes: OK and Cancel, modal to the whole program.
#pragma once

#include "archive/ArMediaPrompts.h"

class TArchiveMediaPrompts : public IArMediaPrompts {
public:
  bool ConfirmMedia(const AnsiString& text, const AnsiString& caption) override;
};

// Installs the program's prompts for the program's lifetime.
void InstallArchiveMediaPrompts();
