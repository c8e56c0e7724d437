// Small pictures of the graphic classes documents hold, built byte by byte, and a
// graphic drawn on white: the picture tests of the interchange formats and of the editor
// share them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/LittleEndian.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/MetafileBuilder.h"

// Windows metafile records (no placeable header, as RTF holds them): a window of
// 200 x 100 units with a red rectangle over its left half.
inline std::vector<uint8_t> SampleWmf() {
  TWmfBuilder wmf;
  wmf.Objects = 1;
  wmf.Rec(0x0103, {8});                     // SETMAPMODE anisotropic
  wmf.Rec(0x020C, {100, 200});              // SETWINDOWEXT y, x
  wmf.Rec(0x02FC, {0, 0x00FF, 0x0000, 0});  // CREATEBRUSHINDIRECT solid red
  wmf.Rec(0x012D, {0});                     // SELECTOBJECT
  wmf.Rec(0x041B, {100, 100, 0, 0});        // RECTANGLE bottom, right, top, left
  return wmf.Bytes(false);
}

// An enhanced metafile framed 25.4 x 12.7 mm (96 x 48 pixels) with a blue rectangle.
inline std::vector<uint8_t> SampleEmf() {
  TEmfBuilder emf;
  emf.Handles = 2;
  emf.Rec(39, {1, 0, 0xFF0000, 0});  // CREATEBRUSHINDIRECT slot 1, solid blue
  emf.Rec(37, {1});                  // SELECTOBJECT
  emf.Rec(43, {0, 0, 48, 48});       // RECTANGLE
  return emf.Bytes(2540, 1270);
}

// An icon of one 2 x 2 entry at 24 bits per pixel: green, its AND mask all opaque.
inline std::vector<uint8_t> SampleIcon() {
  std::vector<uint8_t> ico;
  for (uint16_t w : {0, 1, 1}) AppendLE16(ico, w);      // reserved, icon, one entry
  ico.insert(ico.end(), {2, 2, 0, 0});                  // width, height, colours, reserved
  AppendLE16(ico, 1);                                   // planes
  AppendLE16(ico, 24);                                  // bits per pixel
  AppendLE32(ico, 40 + 2 * 8 + 2 * 4);                  // bytes: header, colour rows, mask rows
  AppendLE32(ico, 22);                                  // offset
  for (uint32_t v : {40u, 2u, 4u}) AppendLE32(ico, v);  // header size, width, doubled height
  AppendLE16(ico, 1);
  AppendLE16(ico, 24);
  for (int i = 0; i < 6; ++i) AppendLE32(ico, 0);
  for (int row = 0; row < 2; ++row) ico.insert(ico.end(), {0, 200, 0, 0, 200, 0, 0, 0});  // two green pixels, pad
  for (int row = 0; row < 2; ++row) ico.insert(ico.end(), {0, 0, 0, 0});                  // mask: opaque
  return ico;
}

// The graphic stretched onto a white 24-bit bitmap of width x height.
inline std::unique_ptr<TBitmap> OnWhite(const TGraphic& graphic, int32_t width, int32_t height) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(width, height);
  bitmap->Canvas()->Brush().SetColor(clWhite);
  bitmap->Canvas()->FillRect(Rect(0, 0, width, height));
  bitmap->Canvas()->StretchDraw(Rect(0, 0, width, height), &graphic);
  return bitmap;
}
