// Pictures and pages for the picture and bullet tests, drawn and read as rows of letters.
#pragma once

#include <cctype>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Streams.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Graphic.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPItemStreaming.h"

// A bitmap whose pixels are given as rows of letters: R red, G lime, B blue, K black,
// Y yellow, anything else white.
inline std::unique_ptr<TBitmap> Picture(const std::vector<std::string>& rows, TPixelFormat format = pf24bit) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(format);
  bitmap->SetSize(static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()));
  for (int32_t y = 0; y < bitmap->Height(); ++y)
    for (int32_t x = 0; x < bitmap->Width(); ++x) {
      const char c = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
      bitmap->SetPixelColor(x, y,
                            c == 'R'   ? clRed
                            : c == 'G' ? clLime
                            : c == 'B' ? clBlue
                            : c == 'K' ? clBlack
                            : c == 'Y' ? clYellow
                                       : clWhite);
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
      row += c == clRed             ? 'R'
             : c == clLime          ? 'G'
             : c == clBlue          ? 'B'
             : c == clBlack         ? 'K'
             : c == clWhite         ? '.'
             : c == clYellow        ? 'Y'
             : c == clFuchsia       ? 'F'
             : c == RGB(191, 0, 64) ? 'b'
                                    : '?';
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

// Upper-case hex digits of bytes.
inline std::string HexOf(const uint8_t* bytes, size_t count) {
  std::string hex;
  for (size_t i = 0; i < count; ++i) {
    char two[3];
    std::snprintf(two, sizeof two, "%02X", bytes[i]);
    hex += two;
  }
  return hex;
}

// The graphic's stream as bytes.
inline std::string StreamOf(const TGraphic& graphic) {
  TMemoryStream stream;
  graphic.SaveToStream(stream);
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

// The native-format writer and reader as items see them: pictures in hex (upper case)
// or as a 4-byte length and the stream, numbers as decimal text, requests answered from
// maps and recorded.
class TFakeRPFStreaming : public IRPFStreaming {
public:
  uint32_t Options() const override { return RPFOptions; }
  void AddWarning(uint32_t warning) override { Warnings |= warning; }
  AnsiString ParaNoText(int32_t paraNo, bool forceMinusOne) const override {
    return std::to_string(forceMinusOne ? -1 : paraNo);
  }
  AnsiString TextStyleNoText(int32_t styleNo) const override { return std::to_string(styleNo); }
  AnsiString TagText(const TRPTag& tag) const override { return std::to_string(tag.Number()); }
  AnsiString PictureToHex(const TGraphic& graphic) const override {
    const std::string bytes = StreamOf(graphic);
    return HexOf(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  void SavePictureBinary(TStream& stream, const TGraphic& graphic) const override {
    const std::string bytes = StreamOf(graphic);
    const auto size = static_cast<uint32_t>(bytes.size());
    const uint8_t length[] = {uint8_t(size), uint8_t(size >> 8), uint8_t(size >> 16), uint8_t(size >> 24)};
    stream.WriteBuffer(length, 4);
    stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  }
  bool LoadPictureFromHex(const AnsiString& hex, TGraphic& graphic) const override {
    if (hex.size() % 2 != 0) return false;
    AnsiString bytes;
    for (size_t i = 0; i < hex.size(); i += 2) {
      unsigned value = 0;
      if (std::sscanf(hex.substr(i, 2).c_str(), "%2x", &value) != 1 ||
          !std::isxdigit(static_cast<unsigned char>(hex[i + 1])))
        return false;
      bytes += static_cast<char>(value);
    }
    LoadPictureFromBinary(bytes, graphic);
    return true;
  }
  void LoadPictureFromBinary(const AnsiString& bytes, TGraphic& graphic) const override {
    TMemoryStream stream;
    if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.SetPosition(0);
    graphic.LoadFromStream(stream);
  }
  std::unique_ptr<TGraphic> RequestPicture(const AnsiString& name, const TRPTag& tag) override {
    Requests.push_back(name + "#" + std::to_string(tag.Number()));
    const auto found = Pictures.find(name);
    return found == Pictures.end() ? nullptr : Picture(found->second);
  }
  TCustomImageList* FindImageList(int32_t tag) override {
    const auto found = ImageLists.find(tag);
    return found == ImageLists.end() ? nullptr : found->second;
  }
  const TGraphic* InvalidPicture() const override { return Invalid.get(); }

  uint32_t RPFOptions = 0;
  uint32_t Warnings = 0;
  std::map<AnsiString, std::vector<std::string>> Pictures;
  std::map<int32_t, TCustomImageList*> ImageLists;
  std::vector<AnsiString> Requests;
  std::unique_ptr<TBitmap> Invalid = Picture({"YY"});
};
