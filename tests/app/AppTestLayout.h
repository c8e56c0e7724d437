// What every window of the program must show, whatever its language: controls whose
// captions are whole, inside their parents, clear of each other.
#pragma once

#include "platform/gui/Controls.h"

// Checks every control below window that has a widget: a captioned one is at least as
// large as its widget asks for its caption (lists and edits, which scroll, are not), it
// lies inside its parent, and it overlaps none of its siblings.
void ExpectControlsFit(const TWinControl& window);
