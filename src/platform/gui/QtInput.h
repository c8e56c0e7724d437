// Qt's keyboard and mouse state as the GUI layer reports it (UserInput.h).
#pragma once

#include <QKeyEvent>

#include "platform/base/UserInput.h"

// The virtual key of a key event; 0 for a key without one.
uint16_t VirtualKey(const QKeyEvent& event);
// The shift state of modifier keys and mouse buttons.
TShiftState ShiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton);
