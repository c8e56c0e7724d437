// What the user's keyboard and mouse report, as the GUI layer hands it on and the layers
// below it take it (a rich view's document handles the mouse without knowing the GUI):
// the shift state of a key or mouse event, the mouse buttons, virtual key codes, the
// effects of a drag and drop, and the numbers of the mouse cursors.
#pragma once

#include <cstdint>

// Shift state bits: the modifier keys held, the mouse buttons held, and a double click.
using TShiftState = uint32_t;
inline constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64;

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

// Virtual key codes: letters and digits are their upper-case ASCII codes.
inline constexpr uint16_t VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12,
                          VK_ESCAPE = 27, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23,
                          VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
                          VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_NUMPAD0 = 0x60, VK_F1 = 0x70, VK_F24 = 0x87;

// What a drag and drop did or may do (a set of them for the effects a drag allows).
inline constexpr int32_t DROPEFFECT_NONE = 0, DROPEFFECT_COPY = 1, DROPEFFECT_MOVE = 2, DROPEFFECT_LINK = 4;

// Mouse cursors: the platform's own (negative and 0) and those a program registers
// under positive numbers (the GUI layer's screen keeps them).
using TCursor = int16_t;
inline constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                         crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                         crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16,
                         crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21,
                         crSizeAll = -22;
