// The platform's message beep. Sound belongs to the GUI layer, which installs the handler
// that plays it when the application starts; until then (and in programs without a GUI)
// a beep is silent.
#pragma once

#include <cstdint>
#include <functional>

using TMessageBeepHandler = std::function<void(uint32_t type)>;

// Plays the beep of the kind (0: the default beep) through the installed handler; true.
bool MessageBeep(uint32_t type);
// Installs the handler (an empty one silences the beep again); returns the one it
// replaces.
TMessageBeepHandler SetMessageBeepHandler(TMessageBeepHandler handler);
