// Pages for the drawing tests and ways to compare them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

// A white 24-bit page; its canvas brush is left clear.
inline std::unique_ptr<TBitmap> WhitePage(int32_t width, int32_t height) {
  auto page = std::make_unique<TBitmap>();
  page->SetPixelFormat(pf24bit);
  page->SetSize(width, height);
  page->Canvas()->Brush().SetColor(clWhite);
  page->Canvas()->FillRect(TRect{0, 0, width, height});
  page->Canvas()->Brush().SetStyle(bsClear);
  return page;
}

// Every pixel, row by row.
inline std::vector<TColor> Pixels(const TBitmap& bitmap) {
  std::vector<TColor> out;
  for (int32_t y = 0; y < bitmap.Height(); ++y)
    for (int32_t x = 0; x < bitmap.Width(); ++x) out.push_back(bitmap.PixelColor(x, y));
  return out;
}

// The page as rows of '#' (ink), 'o' (other), '.' (white) and '?' (anything else).
inline std::vector<std::string> Art(const TBitmap& page, TColor ink, TColor other = clWhite) {
  std::vector<std::string> rows;
  for (int32_t y = 0; y < page.Height(); ++y) {
    std::string row;
    for (int32_t x = 0; x < page.Width(); ++x) {
      const TColor c = page.PixelColor(x, y);
      row += c == ink ? '#' : c == clWhite ? '.' : c == other ? 'o' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}
