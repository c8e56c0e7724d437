// The screen's table of mouse cursors by number (the cursors a window shows): the
// numbers 0 and below are the platform's own shapes (UserInput.h); a program registers
// its own under positive numbers, each a platform shape or an image read from a cursor
// file, usually a cursor resource of the program. The GUI layer shows them; the layers
// below it only register and name them.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/base/Types.h"
#include "platform/base/UserInput.h"

// A cursor picture of one bit per pixel and two planes, as cursor files hold it: where
// the AND plane is set the screen shows through (inverted where the XOR plane is set
// too); elsewhere the pixel is black (XOR clear) or white (XOR set). Rows run top-down.
struct TCursorImage {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t HotX = 0;
  int32_t HotY = 0;
  std::vector<uint8_t> AndPlane;  // ceil(Width / 8) bytes per row, leftmost pixel in the high bit
  std::vector<uint8_t> XorPlane;
  bool AndBit(int32_t x, int32_t y) const { return Bit(AndPlane, x, y); }
  bool XorBit(int32_t x, int32_t y) const { return Bit(XorPlane, x, y); }

private:
  bool Bit(const std::vector<uint8_t>& plane, int32_t x, int32_t y) const {
    const size_t index = static_cast<size_t>(y) * static_cast<size_t>((Width + 7) / 8) + static_cast<size_t>(x / 8);
    return (plane[index] >> (7 - x % 8)) & 1;
  }
};

// A cursor: a platform shape, or an image (Shape then unused).
struct TScreenCursor {
  TCursor Shape = crArrow;
  std::shared_ptr<const TCursorImage> Image;
};

// The platform's shapes by the numbers the cursor calls take.
inline constexpr int32_t IDC_ARROW = 32512, IDC_IBEAM = 32513, IDC_WAIT = 32514, IDC_CROSS = 32515, IDC_UPARROW = 32516,
                         IDC_SIZENWSE = 32642, IDC_SIZENESW = 32643, IDC_SIZEWE = 32644, IDC_SIZENS = 32645,
                         IDC_SIZEALL = 32646, IDC_NO = 32648, IDC_HAND = 32649, IDC_APPSTARTING = 32650,
                         IDC_HELP = 32651;

// A cursor file (".cur") whose first image has one bit per pixel; nullptr when the bytes
// are no such file or are cut short.
std::shared_ptr<const TCursorImage> ReadCursorFile(std::span<const uint8_t> bytes);
// The platform's shape of an IDC_ number; false for a number it has no shape for.
bool LoadSystemCursor(int32_t idc, TScreenCursor& cursor);
// The program's cursor resource of that name (a cursor file); false when it has none or
// the file cannot be read.
bool LoadCursorResource(const WideString& name, TScreenCursor& cursor);

// Registers a cursor under a positive number (replacing one registered before).
void SetScreenCursor(TCursor id, const TScreenCursor& cursor);
// The cursor registered under id; nullptr for none (numbers 0 and below are the
// platform's shapes themselves).
const TScreenCursor* FindScreenCursor(TCursor id);
