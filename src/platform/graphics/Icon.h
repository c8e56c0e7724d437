// `TIcon`: a graphic class for icon files (".ico"): a directory of images of several
// sizes and colour depths, each a device-independent bitmap followed by its AND mask
// (1, 4, 8, 24 or 32 bits per pixel) or a PNG image.
//
// Loading decodes every entry at once, so a damaged file fails while loading; the bytes
// are kept and saved back as they were. Each entry becomes a colour image and an alpha
// plane: a 32-bit image's own alpha when it has any, else the AND mask (a set bit is a
// transparent pixel). PNG entries are decoded by the registered PNG graphic class.
//
// The icon shows one entry, chosen for the size asked for (`SetSize`; 32 x 32 until one
// is asked, the size icons are shown at): the entry of exactly that size with the most
// colours, else the smallest larger one, else the largest.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/graphics/Bitmap.h"

inline constexpr char SInvalidIcon[] = "Icon image is not valid";

// What one entry holds.
struct TIconEntry {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t BitCount = 0;  // bits per pixel of the image (32 for PNG images)
  bool Png = false;
  std::shared_ptr<TBitmap> Image;  // 24 bits per pixel
  std::vector<uint8_t> Alpha;      // Width * Height, rows top-down; 0 transparent
};

class TIcon : public TGraphic {
public:
  static const TGraphicClassInfo ClassInfo;

  TIcon();
  ~TIcon() override;

  TGraphicClass ClassType() const override { return &ClassInfo; }

  bool Empty() const override { return FEntries.empty(); }
  // The chosen entry's size.
  int32_t Width() const override;
  int32_t Height() const override;
  // Ask for a size: the entry shown becomes the one chosen for it.
  void SetWidth(int32_t value) override { SetSize(value, FAskedHeight); }
  void SetHeight(int32_t value) override { SetSize(FAskedWidth, value); }
  void SetSize(int32_t width, int32_t height);

  std::span<const TIconEntry> Entries() const noexcept { return FEntries; }
  // The index of the chosen entry (-1 when empty).
  int32_t CurrentEntry() const noexcept { return FCurrent; }

  void Clear() override;

  // Reads an icon file from the stream's position to its end. Raises EInvalidGraphic
  // "Icon image is not valid" for data that is no icon file or a damaged entry; the
  // icon then stays as it was.
  void LoadFromStream(TStream& stream) override;
  void LoadFromBytes(std::span<const uint8_t> bytes);
  // The bytes as loaded.
  void SaveToStream(TStream& stream) const override;

  // The chosen entry, stretched into rect (nearest pixel), blended over the canvas by
  // its alpha.
  void Draw(TCanvas& canvas, const TRect& rect) const override;

  // An icon is copied; a bitmap made from an icon is the chosen entry over white.
  void Assign(const TPersistent& source) override;
  void AssignTo(TPersistent& dest) const override;
  using TGraphic::Assign;

private:
  void Choose();

  std::vector<uint8_t> FData;
  std::vector<TIconEntry> FEntries;
  int32_t FAskedWidth = 32;
  int32_t FAskedHeight = 32;
  int32_t FCurrent = -1;
};

// The largest side of an icon entry: the format's directory counts up to 256, and PNG
// entries of twice that are still met.
inline constexpr int32_t MaxIconSidePx = 1024;
