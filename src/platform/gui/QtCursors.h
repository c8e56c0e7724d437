// The screen's cursors (Cursors.h) as Qt shows them.
#pragma once

#include <QCursor>

#include "platform/base/UserInput.h"

// A platform shape, or the cursor registered under a positive number (the arrow for a
// number none is registered under).
QCursor ScreenCursorToQt(TCursor cursor);
