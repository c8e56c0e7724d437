// Pens and brushes: the drawing objects (handles) and the class library's TPen and
// TBrush that own them.
//
// Pen styles: solid, dot (3 pixels on, 3 off, width 1 only; wider dotted pens draw
// solid), clear and inside-frame (a figure's whole outline stays inside its bounds).
// Brush styles: solid and clear. Lines take the raster operation of the pen mode.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/graphics/Colors.h"
#include "platform/graphics/GdiDefs.h"
#include "platform/graphics/GdiObject.h"

class TPenObject : public TGdiObject {
public:
  TPenObject(int32_t style, int32_t width, COLORREF color) : Style(style), Width(width < 1 ? 1 : width), Color(color) {}
  const int32_t Style;
  const int32_t Width;
  const COLORREF Color;
};
using HPEN = TPenObject*;

class TBrushObject : public TGdiObject {
public:
  TBrushObject(int32_t style, COLORREF color) : Style(style), Color(color) {}
  const int32_t Style;
  const COLORREF Color;
};
using HBRUSH = TBrushObject*;

// PS_SOLID, PS_DOT, PS_NULL or PS_INSIDEFRAME (any other style draws solid); a width
// below 1 is 1.
HPEN CreatePen(int32_t style, int32_t width, COLORREF color);
HBRUSH CreateSolidBrush(COLORREF color);

// WHITE_BRUSH, BLACK_BRUSH, NULL_BRUSH, WHITE_PEN, BLACK_PEN, NULL_PEN and DEFAULT_GUI_FONT
// (Arial, 8 points); null for the other stock objects.
HGDIOBJ GetStockObject(int32_t index);

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmXor };
enum TBrushStyle { bsSolid, bsClear };

// The colour a TColor draws in: plain colours as they are, system colours their scheme
// colour (GetSysColor), any other value (clNone, clDefault) black.
COLORREF ColorToRGB(TColor color) noexcept;

// A pen as the canvas offers it. Its handle is made on demand and remade after a change;
// OnChange tells the owning canvas.
class TPen {
public:
  TPen() = default;
  ~TPen();
  TPen(const TPen&) = delete;
  TPen& operator=(const TPen&) = delete;

  TColor Color() const noexcept { return FColor; }
  void SetColor(TColor value);
  int32_t Width() const noexcept { return FWidth; }
  void SetWidth(int32_t value);
  TPenStyle Style() const noexcept { return FStyle; }
  void SetStyle(TPenStyle value);
  TPenMode Mode() const noexcept { return FMode; }
  void SetMode(TPenMode value);
  void Assign(const TPen& source);

  HPEN Handle();
  // The raster operation of Mode (R2_...).
  int32_t Rop2() const noexcept;

  std::function<void()> OnChange;

private:
  void Changed();
  TColor FColor = clBlack;
  int32_t FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
  HPEN FHandle = nullptr;
};

class TBrush {
public:
  TBrush() = default;
  ~TBrush();
  TBrush(const TBrush&) = delete;
  TBrush& operator=(const TBrush&) = delete;

  TColor Color() const noexcept { return FColor; }
  // A colour sets the style to solid when it was clear; clNone makes it clear.
  void SetColor(TColor value);
  TBrushStyle Style() const noexcept { return FStyle; }
  void SetStyle(TBrushStyle value);
  void Assign(const TBrush& source);

  HBRUSH Handle();

  std::function<void()> OnChange;

private:
  void Changed();
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  HBRUSH FHandle = nullptr;
};
