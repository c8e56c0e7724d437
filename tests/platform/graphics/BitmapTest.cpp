#include "platform/graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A 24-bit bitmap one row high holding the given colours.
std::unique_ptr<TBitmap> RowOf(const std::vector<TColor>& colors) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(static_cast<int32_t>(colors.size()), 1);
  for (size_t x = 0; x < colors.size(); ++x) bitmap->SetPixelColor(static_cast<int32_t>(x), 0, colors[x]);
  return bitmap;
}

std::vector<uint32_t> IndicesOfRow(const TBitmap& bitmap) {
  std::vector<uint32_t> indices;
  const uint8_t* row = bitmap.ScanLine(0);
  for (int32_t x = 0; x < bitmap.Width(); ++x) {
    switch (bitmap.BitsPerPixel()) {
      case 1:
        indices.push_back((row[x / 8] >> (7 - x % 8)) & 1);
        break;
      case 4:
        indices.push_back(x % 2 ? row[x / 2] & 0x0F : row[x / 2] >> 4);
        break;
      default:
        indices.push_back(row[x]);
        break;
    }
  }
  return indices;
}

}  // namespace

// A graphic that knows no bitmaps (at global scope, so its class name is plain).
class TOtherGraphic : public TGraphic {
public:
  static const TGraphicClassInfo ClassInfo;
  TGraphicClass ClassType() const override { return &ClassInfo; }
  bool Empty() const override { return true; }
  int32_t Width() const override { return 0; }
  int32_t Height() const override { return 0; }
  void SetWidth(int32_t) override {}
  void SetHeight(int32_t) override {}
  void LoadFromStream(TStream&) override {}
  void SaveToStream(TStream&) const override {}
  void Clear() override {}
};
const TGraphicClassInfo TOtherGraphic::ClassInfo{
    "TOtherGraphic", []() -> std::unique_ptr<TGraphic> { return std::make_unique<TOtherGraphic>(); }};

TEST(Bitmap, StartsEmptyInTheDeviceFormat) {
  TBitmap bitmap;
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_EQ(bitmap.Height(), 0);
  EXPECT_EQ(bitmap.PixelFormat(), pfDevice);
  EXPECT_EQ(bitmap.ClassName(), TBitmap::ClassInfo.ClassName);
  bitmap.SetWidth(3);
  EXPECT_TRUE(bitmap.Empty());
  bitmap.SetHeight(2);
  EXPECT_FALSE(bitmap.Empty());
  EXPECT_EQ(bitmap.BytesPerScanLine(), 12);  // the device format has 32 bits per pixel
}

TEST(Bitmap, RowsArePaddedToFourBytesAndStoredTopDown) {
  const struct {
    TPixelFormat Format;
    int32_t Width;
    int32_t Bytes;
  } cases[] = {{pf1bit, 10, 4},   {pf1bit, 33, 8},  {pf4bit, 10, 8}, {pf8bit, 10, 12},
               {pf24bit, 10, 32}, {pf24bit, 3, 12}, {pf32bit, 3, 12}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Width);
    TBitmap bitmap;
    bitmap.SetPixelFormat(c.Format);
    bitmap.SetSize(c.Width, 3);
    EXPECT_EQ(bitmap.BytesPerScanLine(), c.Bytes);
    EXPECT_EQ(bitmap.ScanLine(1) - bitmap.ScanLine(0), c.Bytes);
    EXPECT_EQ(bitmap.ScanLine(2) - bitmap.ScanLine(1), c.Bytes);
  }
}

TEST(Bitmap, PixelsLieInThePlatformsByteOrder) {
  TBitmap mono;
  mono.SetPixelFormat(pf1bit);
  mono.SetSize(10, 1);  // white: index 1 everywhere, padding bits 0
  EXPECT_EQ(mono.ScanLine(0)[0], 0xFF);
  EXPECT_EQ(mono.ScanLine(0)[1], 0xC0);
  mono.SetPixelColor(0, 0, clBlack);
  mono.SetPixelColor(9, 0, clBlack);
  EXPECT_EQ(mono.ScanLine(0)[0], 0x7F);  // leftmost pixel in the high bit
  EXPECT_EQ(mono.ScanLine(0)[1], 0x80);

  TBitmap nibbles;
  nibbles.SetPixelFormat(pf4bit);
  nibbles.SetSize(3, 1);
  nibbles.SetPixelColor(0, 0, clGray);    // index 7
  nibbles.SetPixelColor(1, 0, clSilver);  // index 8
  nibbles.SetPixelColor(2, 0, clBlack);
  EXPECT_EQ(nibbles.ScanLine(0)[0], 0x78);  // leftmost pixel in the high nibble
  EXPECT_EQ(nibbles.ScanLine(0)[1], 0x00);

  TBitmap rgb;
  rgb.SetPixelFormat(pf24bit);
  rgb.SetSize(2, 1);
  rgb.SetPixelColor(1, 0, static_cast<TColor>(RGB(0x11, 0x22, 0x33)));
  const uint8_t* row = rgb.ScanLine(0);
  EXPECT_EQ(row[3], 0x33);  // blue, green, red
  EXPECT_EQ(row[4], 0x22);
  EXPECT_EQ(row[5], 0x11);
  EXPECT_EQ(rgb.PixelColor(1, 0), static_cast<TColor>(RGB(0x11, 0x22, 0x33)));
  EXPECT_EQ(rgb.PixelColor(2, 0), -1);
}

TEST(Bitmap, ScanLineOutsideTheRowsRaises) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  for (int32_t row : {0, -1}) {
    SCOPED_TRACE(row);
    try {
      bitmap.ScanLine(row);  // an empty bitmap has no rows
      FAIL() << "no exception";
    } catch (const EInvalidGraphicOperation& e) {
      EXPECT_STREQ(e.what(), "Scan line index out of range");
    }
  }
  bitmap.SetSize(2, 2);
  EXPECT_NO_THROW(bitmap.ScanLine(1));
  EXPECT_THROW(bitmap.ScanLine(2), EInvalidGraphicOperation);
  const TBitmap& constant = bitmap;
  EXPECT_THROW(constant.ScanLine(-1), EInvalidGraphicOperation);
}

TEST(Bitmap, UnsupportedPixelFormatsRaise) {
  for (TPixelFormat format : {pf15bit, pf16bit, pfCustom}) {
    SCOPED_TRACE(format);
    TBitmap bitmap;
    bitmap.SetSize(2, 2);
    try {
      bitmap.SetPixelFormat(format);
      FAIL() << "no exception";
    } catch (const EInvalidGraphic& e) {
      EXPECT_STREQ(e.what(), "Invalid pixel format");
    }
    EXPECT_EQ(bitmap.PixelFormat(), pfDevice);
    EXPECT_EQ(bitmap.Width(), 2);
  }
}

TEST(Bitmap, GraysOfAPageKeepTheirStandardIndices) {
  const auto pageOwner = RowOf({clBlack, clGray, clSilver, clWhite});
  TBitmap& page = *pageOwner;
  page.SetPixelFormat(pf4bit);
  EXPECT_EQ(IndicesOfRow(page), (std::vector<uint32_t>{0, 7, 8, 15}));
  page.SetPixelFormat(pf24bit);
  EXPECT_EQ(page.PixelColor(2, 0), clSilver);
}

TEST(Bitmap, ConversionTakesTheNearestEntryAndTheLowestIndexOnTies) {
  // (0x40, 0, 0) lies as far from black (0) as from maroon (1); 127 gray is nearer to
  // black, 128 gray nearer to white.
  auto row = RowOf({static_cast<TColor>(RGB(0x40, 0, 0)), static_cast<TColor>(RGB(0x41, 0, 0)),
                    static_cast<TColor>(RGB(127, 127, 127)), static_cast<TColor>(RGB(128, 128, 128))});
  TBitmap sixteen;
  sixteen.Assign(row.get());
  sixteen.SetPixelFormat(pf4bit);
  EXPECT_EQ(IndicesOfRow(sixteen), (std::vector<uint32_t>{0, 1, 7, 7}));
  row->SetPixelFormat(pf1bit);
  EXPECT_EQ(IndicesOfRow(*row), (std::vector<uint32_t>{0, 0, 0, 1}));
  EXPECT_EQ(row->ColorTable().size(), 2u);
}

TEST(Bitmap, EightBitsTakeTheSystemColoursWithoutAPalette) {
  auto row = RowOf({static_cast<TColor>(RGB(0xA6, 0xCA, 0xF0)), clWhite});
  row->SetPixelFormat(pf8bit);
  EXPECT_EQ(row->ColorTable().size(), 20u);
  EXPECT_EQ(IndicesOfRow(*row), (std::vector<uint32_t>{9, 19}));
}

TEST(Bitmap, ATwentyFourBitDetourKeepsTheOwnPalette) {
  const std::vector<TPaletteEntry> grays{
      {0, 0, 0, 0}, {0x80, 0x80, 0x80, 0}, {0xC0, 0xC0, 0xC0, 0}, {0xFF, 0xFF, 0xFF, 0}};
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf8bit);
  bitmap.SetColorTable(grays);
  bitmap.SetSize(4, 1);
  for (int32_t x = 0; x < 4; ++x) bitmap.ScanLine(0)[x] = static_cast<uint8_t>(3 - x);
  bitmap.SetPixelFormat(pf24bit);
  EXPECT_EQ(bitmap.PixelColor(1, 0), clSilver);
  EXPECT_EQ(bitmap.Palette()->palPalEntry, grays);
  bitmap.SetPixelFormat(pf8bit);
  EXPECT_EQ(IndicesOfRow(bitmap), (std::vector<uint32_t>{3, 2, 1, 0}));
  // A table larger than the format gives way to the format's standard table.
  bitmap.SetPixelFormat(pf1bit);
  EXPECT_EQ(IndicesOfRow(bitmap), (std::vector<uint32_t>{1, 1, 1, 0}));  // 0x80 is nearer to white
}

TEST(Bitmap, IndicesBeyondTheColourTableReadAsBlack) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf8bit);
  bitmap.SetColorTable(std::vector<TPaletteEntry>{{0xFF, 0xFF, 0xFF, 0}});
  bitmap.SetSize(2, 1);
  bitmap.ScanLine(0)[1] = 200;
  EXPECT_EQ(bitmap.PixelColor(0, 0), clWhite);
  EXPECT_EQ(bitmap.PixelColor(1, 0), clBlack);
  bitmap.SetPixelFormat(pf24bit);
  EXPECT_EQ(bitmap.PixelColor(1, 0), clBlack);
}

TEST(Bitmap, ResizingKeepsTheTopLeftAndPaintsNewPixelsWhite) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf1bit);
  bitmap.SetSize(10, 2);
  for (int32_t x = 0; x < 10; ++x) bitmap.SetPixelColor(x, 0, clBlack);
  bitmap.SetSize(12, 3);
  EXPECT_EQ(bitmap.ScanLine(0)[0], 0x00);
  EXPECT_EQ(bitmap.ScanLine(0)[1], 0x30);  // pixels 10 and 11 new and white, padding 0
  EXPECT_EQ(bitmap.ScanLine(2)[0], 0xFF);
  bitmap.SetSize(5, 1);
  EXPECT_EQ(bitmap.ScanLine(0)[0], 0x00);
  bitmap.SetSize(-4, 1);
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_TRUE(bitmap.Empty());
}

TEST(Bitmap, AHugeSizeRaisesOutOfMemoryAndKeepsTheImage) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(2, 2);
  EXPECT_THROW(bitmap.SetSize(100000, 100000), EOutOfMemory);
  EXPECT_EQ(bitmap.Width(), 2);
  EXPECT_EQ(bitmap.PixelColor(1, 1), clWhite);
}

TEST(Bitmap, AssignCopiesABitmapAndNilEmptiesIt) {
  auto source = RowOf({clRed, clBlue});
  source->SetTransparentColor(clRed);
  TBitmap copy;
  copy.Assign(source.get());
  EXPECT_EQ(copy.PixelFormat(), pf24bit);
  EXPECT_EQ(copy.Width(), 2);
  EXPECT_EQ(copy.PixelColor(1, 0), clBlue);
  EXPECT_EQ(copy.TransparentMode(), tmFixed);
  EXPECT_EQ(copy.TransparentColor(), clRed);
  source->SetPixelColor(1, 0, clLime);
  EXPECT_EQ(copy.PixelColor(1, 0), clBlue);  // a copy, not shared pixels
  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());
  EXPECT_EQ(copy.PixelFormat(), pf24bit);
  const TPersistent& persistent = *source;
  copy.Assign(persistent);
  EXPECT_EQ(copy.PixelColor(1, 0), clLime);
}

TEST(Bitmap, AssigningAnotherGraphicWithoutSupportRaises) {
  TBitmap bitmap;
  TOtherGraphic other;
  try {
    bitmap.Assign(other);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TOtherGraphic to a TBitmap");
  }
}

TEST(Bitmap, TransparentColourFollowsTheBottomLeftPixelInAutoMode) {
  auto bitmap = RowOf({clLime, clRed});
  EXPECT_EQ(bitmap->TransparentMode(), tmAuto);
  EXPECT_EQ(bitmap->TransparentColor(), clLime);
  bitmap->SetTransparentMode(tmFixed);
  EXPECT_EQ(bitmap->TransparentColor(), clDefault);
}

TEST(Bitmap, MonochromeIsTheOneBitFormat) {
  TBitmap bitmap;
  bitmap.SetSize(1, 1);
  bitmap.SetMonochrome(true);
  EXPECT_EQ(bitmap.PixelFormat(), pf1bit);
  EXPECT_TRUE(bitmap.Monochrome());
  bitmap.SetMonochrome(false);
  EXPECT_EQ(bitmap.PixelFormat(), pfDevice);
  EXPECT_EQ(bitmap.PixelColor(0, 0), clWhite);
}

TEST(GraphicClasses, AreFoundByNameIgnoringCase) {
  EXPECT_EQ(FindGraphicClass("TBitmap"), nullptr);
  RegisterGraphicClass(&TBitmap::ClassInfo);
  RegisterGraphicClass(&TBitmap::ClassInfo);
  ASSERT_EQ(FindGraphicClass("tbitmap"), &TBitmap::ClassInfo);
  auto made = FindGraphicClass("TBITMAP")->Create();
  EXPECT_EQ(made->ClassName(), "TBitmap");
  EXPECT_NE(dynamic_cast<TBitmap*>(made.get()), nullptr);
  UnRegisterGraphicClass(&TBitmap::ClassInfo);
  EXPECT_EQ(FindGraphicClass("TBitmap"), nullptr);
}

TEST(Bitmap, KeepsOnePaletteHandleUntilTheColoursChange) {
  TBitmap bitmap;
  EXPECT_EQ(bitmap.Palette(), nullptr);  // the device format has no palette
  bitmap.SetPixelFormat(pf4bit);
  const HPALETTE first = bitmap.Palette();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->palPalEntry.size(), 16u);
  EXPECT_EQ(bitmap.Palette(), first);
  const HPALETTE given = CreatePalette(TLogPalette{0x300, {{1, 2, 3, 0}, {4, 5, 6, 0}}});
  bitmap.SetPalette(given);
  EXPECT_EQ(bitmap.Palette(), given);
  EXPECT_EQ(bitmap.ColorTable().size(), 2u);
  bitmap.SetColorTable(StandardColorTable16());
  EXPECT_NE(bitmap.Palette(), given);
  bitmap.SetPalette(HPALETTE{});  // a palette format keeps its colours
  EXPECT_EQ(bitmap.ColorTable().size(), 16u);
}
