// Playing metafiles in the tests: onto a white bitmap, and checks of what it shows.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <vector>

#include "MetafileInspect.h"
#include "platform/graphics/Metafile.h"

inline constexpr COLORREF kRed = 0x0000FF;
inline constexpr COLORREF kWhite = 0xFFFFFF;

// A white 24-bit bitmap with the metafile played into (0, 0, width, height).
inline std::unique_ptr<TBitmap> Played(const TMetafile& metafile, int32_t width = 96, int32_t height = 96) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(width, height);
  metafile.Draw(*bitmap->Canvas(), Rect(0, 0, width, height));
  return bitmap;
}

inline std::unique_ptr<TMetafile> Loaded(const std::vector<uint8_t>& bytes) {
  auto metafile = std::make_unique<TMetafile>();
  metafile->LoadFromBytes(bytes);
  return metafile;
}

struct TPixelCheck {
  int32_t X, Y;
  COLORREF Color;
};

inline void ExpectPixels(const TBitmap& bitmap, std::initializer_list<TPixelCheck> checks) {
  for (const TPixelCheck& c : checks)
    EXPECT_EQ(static_cast<COLORREF>(bitmap.PixelColor(c.X, c.Y)), c.Color) << "at " << c.X << "," << c.Y;
}

// Played at the picture's size and twice it, the copy draws as the original.
inline void ExpectSamePicture(const TMetafile& original, const TMetafile& copy) {
  for (int32_t scale : {1, 2}) {
    const auto a = Played(original, original.Width() * scale, original.Height() * scale);
    const auto b = Played(copy, original.Width() * scale, original.Height() * scale);
    const TPixelDifference d = DifferingPixels(*a, *b);
    EXPECT_GT(d.Inked, 0);
    EXPECT_LE(d.Differing * 50, d.Inked) << d.Differing << " of " << d.Inked << " pixels differ at x" << scale;
  }
}
