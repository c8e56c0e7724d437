// Pictures and pages for the picture and bullet tests, drawn and read as rows of letters.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/base/Streams.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Graphic.h"
#include "richtext/model/RPData.h"

// A bitmap whose pixels are given as rows of letters: R red, G lime, B blue, K black,
// Y yellow, anything else white.
inline std::unique_ptr<TBitmap> Picture(const std::vector<std::string>& rows, TPixelFormat format = pf24bit) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(format);
  bitmap->SetSize(static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()));
  for (int32_t y = 0; y < bitmap->Height(); ++y)
    for (int32_t x = 0; x < bitmap->Width(); ++x) {
      const char c = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
      bitmap->SetPixelColor(x, y, c == 'R' ? clRed : c == 'G' ? clLime : c == 'B' ? clBlue : c == 'K' ? clBlack
                                             : c == 'Y' ? clYellow : clWhite);
    }
  return bitmap;
}

// The page as rows of letters (as Picture takes them, '.' for white), F fuchsia, b red
// blended a quarter with blue (191, 0, 64), '?' for other colours.
inline std::vector<std::string> Letters(const TBitmap& page) {
  std::vector<std::string> rows;
  for (int32_t y = 0; y < page.Height(); ++y) {
    std::string row;
    for (int32_t x = 0; x < page.Width(); ++x) {
      const TColor c = page.PixelColor(x, y);
      row += c == clRed ? 'R' : c == clLime ? 'G' : c == clBlue ? 'B' : c == clBlack ? 'K' : c == clWhite ? '.'
             : c == clYellow ? 'Y' : c == clFuchsia ? 'F' : c == RGB(191, 0, 64) ? 'b' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

// A 3 x 2 graphic whose stream is the two bytes 01 AB and that cannot become a bitmap,
// so drawing it raises.
class TUndrawableGraphic : public TGraphic {
public:
  static const TGraphicClassInfo ClassInfo;
  TGraphicClass ClassType() const override { return &ClassInfo; }
  bool Empty() const override { return false; }
  int32_t Width() const override { return 3; }
  int32_t Height() const override { return 2; }
  void SetWidth(int32_t) override {}
  void SetHeight(int32_t) override {}
  void Clear() override {}
  void LoadFromStream(TStream&) override {}
  void SaveToStream(TStream& stream) const override {
    const uint8_t bytes[] = {0x01, 0xAB};
    stream.WriteBuffer(bytes, 2);
  }
};
inline const TGraphicClassInfo TUndrawableGraphic::ClassInfo{
    "TUndrawableGraphic", []() -> std::unique_ptr<TGraphic> { return std::make_unique<TUndrawableGraphic>(); }};

// A document that records the hyperlinks its items ask it to follow.
class TJumpRecordingData : public TCustomRPData {
public:
  void ExecuteItemJump(int32_t jumpId) override { Jumps.push_back(jumpId); }
  std::vector<int32_t> Jumps;
};
