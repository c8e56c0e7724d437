// Cursor files and the screen's table of cursors.
#include "platform/base/Cursors.h"

#include <map>

#include "platform/base/LittleEndian.h"
#include "platform/base/Resources.h"

namespace {

// A cursor file: a 6-byte directory header (reserved 0, type 2, image count), 16-byte
// entries (width, height, colour count, reserved, hot spot x and y, image bytes, image
// offset), then each image: a 40-byte bitmap header whose height counts both planes, a
// colour table of two 4-byte entries (blue, green, red, reserved), the XOR plane, the
// AND plane; planes bottom-up, rows padded to 4 bytes.
constexpr size_t DirectoryBytes = 6;
constexpr size_t EntryBytes = 16;
constexpr size_t BitmapHeaderBytes = 40;
constexpr size_t ColorTableBytes = 2 * 4;
constexpr uint16_t CursorType = 2;
// No cursor is larger than this many pixels a side.
constexpr int32_t MaxCursorSide = 256;

struct TShape {
  int32_t Idc;
  TCursor Shape;
};
constexpr TShape Shapes[] = {
    {IDC_ARROW, crArrow},          {IDC_IBEAM, crIBeam},     {IDC_WAIT, crHourGlass},
    {IDC_CROSS, crCross},          {IDC_UPARROW, crUpArrow}, {IDC_SIZENWSE, crSizeNWSE},
    {IDC_SIZENESW, crSizeNESW},    {IDC_SIZEWE, crSizeWE},   {IDC_SIZENS, crSizeNS},
    {IDC_SIZEALL, crSizeAll},      {IDC_NO, crNo},           {IDC_HAND, crHandPoint},
    {IDC_APPSTARTING, crAppStart}, {IDC_HELP, crHelp},
};

std::map<TCursor, TScreenCursor>& Table() {
  static std::map<TCursor, TScreenCursor> table;
  return table;
}

}  // namespace

std::shared_ptr<const TCursorImage> ReadCursorFile(std::span<const uint8_t> bytes) {
  if (bytes.size() < DirectoryBytes + EntryBytes) return nullptr;
  if (LoadLE16(bytes.data()) != 0 || LoadLE16(bytes.data() + 2) != CursorType || LoadLE16(bytes.data() + 4) == 0)
    return nullptr;
  const uint8_t* entry = bytes.data() + DirectoryBytes;
  auto image = std::make_shared<TCursorImage>();
  image->Width = entry[0] == 0 ? 256 : entry[0];
  image->Height = entry[1] == 0 ? 256 : entry[1];
  image->HotX = LoadLE16(entry + 4);
  image->HotY = LoadLE16(entry + 6);
  const uint32_t offset = LoadLE32(entry + 12);
  if (offset > bytes.size() || bytes.size() - offset < BitmapHeaderBytes + ColorTableBytes) return nullptr;
  const uint8_t* header = bytes.data() + offset;
  const int32_t width = static_cast<int32_t>(LoadLE32(header + 4));
  const int32_t height = static_cast<int32_t>(LoadLE32(header + 8)) / 2;
  if (LoadLE32(header) != BitmapHeaderBytes || LoadLE16(header + 14) != 1 || LoadLE32(header + 16) != 0 ||
      width != image->Width || height != image->Height || width <= 0 || width > MaxCursorSide || height <= 0 ||
      height > MaxCursorSide || image->HotX >= width || image->HotY >= height)
    return nullptr;
  const uint8_t* colors = header + BitmapHeaderBytes;
  const bool oneIsWhite = colors[4] + colors[5] + colors[6] > 3 * 127;
  const size_t fileRowBytes = static_cast<size_t>((width + 31) / 32 * 4);
  const size_t rowBytes = static_cast<size_t>((width + 7) / 8);
  const size_t planeBytes = fileRowBytes * static_cast<size_t>(height);
  if (bytes.size() - offset - BitmapHeaderBytes - ColorTableBytes < 2 * planeBytes) return nullptr;
  const uint8_t* xorPlane = colors + ColorTableBytes;
  const uint8_t* andPlane = xorPlane + planeBytes;
  image->XorPlane.resize(rowBytes * static_cast<size_t>(height));
  image->AndPlane.resize(rowBytes * static_cast<size_t>(height));
  for (int32_t y = 0; y < height; ++y) {
    const size_t from = static_cast<size_t>(height - 1 - y) * fileRowBytes, to = static_cast<size_t>(y) * rowBytes;
    for (size_t i = 0; i < rowBytes; ++i) {
      image->XorPlane[to + i] = static_cast<uint8_t>(oneIsWhite ? xorPlane[from + i] : ~xorPlane[from + i]);
      image->AndPlane[to + i] = andPlane[from + i];
    }
  }
  return image;
}

bool LoadSystemCursor(int32_t idc, TScreenCursor& cursor) {
  for (const TShape& shape : Shapes)
    if (shape.Idc == idc) {
      cursor = TScreenCursor{shape.Shape, nullptr};
      return true;
    }
  return false;
}

bool LoadCursorResource(const WideString& name, TScreenCursor& cursor) {
  std::shared_ptr<const TCursorImage> image = ReadCursorFile(ResourceBytes(TResName(name), RT_CURSOR));
  if (!image) return false;
  cursor = TScreenCursor{crArrow, std::move(image)};
  return true;
}

void SetScreenCursor(TCursor id, const TScreenCursor& cursor) {
  if (id > 0) Table()[id] = cursor;
}

const TScreenCursor* FindScreenCursor(TCursor id) {
  const auto found = Table().find(id);
  return found == Table().end() ? nullptr : &found->second;
}
