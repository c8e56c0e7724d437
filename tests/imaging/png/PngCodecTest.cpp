// The image object: its registration, transparency, drawing onto a canvas, assigning
// to bitmaps and to other images, pixels and resizing.
#include <gtest/gtest.h>

#include "LibpngPeer.h"
#include "PngTestFiles.h"
#include "platform/graphics/Canvas.h"

namespace {

TColor Rgb(uint8_t r, uint8_t g, uint8_t b) { return static_cast<TColor>(RGB(r, g, b)); }

// A palette image of one row: the entries given, the pixels 0, 1, 2, ... and tRNS.
TBytes PalettePng(const std::vector<std::array<uint8_t, 3>>& entries, const TBytes& trns) {
  TBytes plte, raw{0};
  for (size_t i = 0; i < entries.size(); ++i) {
    plte.insert(plte.end(), entries[i].begin(), entries[i].end());
    raw.push_back(static_cast<uint8_t>(i));
  }
  const uint32_t width = static_cast<uint32_t>(entries.size());
  if (trns.empty())
    return PngFile({ChunkBytes("IHDR", IhdrData(width, 1, 8, 3)), ChunkBytes("PLTE", plte),
                    ChunkBytes("IDAT", Deflated(raw)), ChunkBytes("IEND", {})});
  return PngFile({ChunkBytes("IHDR", IhdrData(width, 1, 8, 3)), ChunkBytes("PLTE", plte), ChunkBytes("tRNS", trns),
                  ChunkBytes("IDAT", Deflated(raw)), ChunkBytes("IEND", {})});
}

std::unique_ptr<TBitmap> Canvas24(int32_t width, int32_t height, TColor fill) {
  auto made = std::make_unique<TBitmap>();
  TBitmap& bitmap = *made;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) bitmap.SetPixelColor(x, y, fill);
  return made;
}

}  // namespace

TEST(PngCodec, IsAGraphicClassByName) {
  RegisterGraphicClass(&TPNGObject::ClassInfo);
  const TGraphicClass found = FindGraphicClass("TPNGObject");
  ASSERT_EQ(found, &TPNGObject::ClassInfo);
  const auto made = found->Create();
  EXPECT_NE(dynamic_cast<TPNGObject*>(made.get()), nullptr);
  EXPECT_TRUE(made->Empty());
}

TEST(PngCodec, StartsWithItsDefaults) {
  TPNGObject image;
  EXPECT_EQ(image.RowFilterSet, pfSub);
  EXPECT_EQ(image.DeflateLevel, 7);
  EXPECT_EQ(image.InterlaceMode, 0);
  EXPECT_EQ(image.IdatLimit(), 65535u);
  EXPECT_EQ(image.Width(), 0);
  EXPECT_EQ(image.TransparencyKind(), ptmNone);
  try {
    image.HeaderChunk();
    ADD_FAILURE();
  } catch (const EPNGHeaderNotPresent& e) {
    EXPECT_STREQ(e.what(), "This operation is not valid because the current image contains no valid header.");
  }
}

TEST(PngCodec, TransparencyKindOfPaletteTables) {
  const std::vector<std::array<uint8_t, 3>> entries{{0, 0, 0}, {200, 10, 10}, {10, 200, 10}};
  const struct {
    TBytes Trns;
    int32_t Kind;
    TColor Key;
  } cases[] = {
      {{}, ptmNone, 0},
      {{0, 255, 255}, ptmBit, Rgb(0, 0, 0)},
      {{255, 0}, ptmBit, Rgb(200, 10, 10)},
      {{0, 128}, ptmPartial, Rgb(0, 0, 0)},
      {{255, 128}, ptmPartial, 0},  // one entry half clear: alpha, never a colour key
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Trns.size());
    TPNGObject image;
    LoadPng(image, PalettePng(entries, c.Trns));
    EXPECT_EQ(image.TransparencyKind(), c.Kind);
    EXPECT_EQ(image.TransparentKey(), c.Key);
    EXPECT_EQ(image.Transparent(), c.Kind != ptmNone);
  }
}

TEST(PngCodec, AGraphicAnswersTransparentFromItsColourTypeAndKey) {
  const TBytes grayRow{0, 10, 20}, rgbRow{0, 1, 2, 3, 4, 5, 6}, alphaRow{0, 1, 2, 3, 4, 5, 6, 7, 8};
  const struct {
    uint8_t ColorType;
    uint32_t Width;
    TBytes Row, Trns;
    bool Transparent;
  } cases[] = {
      {0, 2, grayRow, {}, false}, {0, 2, grayRow, {0, 10}, true},
      {2, 2, rgbRow, {}, false},  {2, 2, rgbRow, {0, 1, 0, 2, 0, 3}, true},
      {4, 4, alphaRow, {}, true}, {6, 2, alphaRow, {}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.ColorType) << " tRNS " << c.Trns.size());
    TBytes file = c.Trns.empty()
                      ? PngFile({ChunkBytes("IHDR", IhdrData(c.Width, 1, 8, c.ColorType)),
                                 ChunkBytes("IDAT", Deflated(c.Row)), ChunkBytes("IEND", {})})
                      : PngFile({ChunkBytes("IHDR", IhdrData(c.Width, 1, 8, c.ColorType)), ChunkBytes("tRNS", c.Trns),
                                 ChunkBytes("IDAT", Deflated(c.Row)), ChunkBytes("IEND", {})});
    TPNGObject image;
    LoadPng(image, file);
    const TGraphic& graphic = image;
    EXPECT_EQ(graphic.Transparent(), c.Transparent);
  }
}

TEST(PngCodec, ASemiTransparentPaletteEntryNeverMakesBlackTransparent) {
  // Entry 0 black and opaque, entry 1 red at half opacity.
  TPNGObject image;
  LoadPng(image, PalettePng({{0, 0, 0}, {255, 0, 0}}, {255, 128}));
  const auto targetBitmap = Canvas24(2, 1, clWhite);
  TBitmap& target = *targetBitmap;
  image.Draw(*target.Canvas(), Rect(0, 0, 2, 1));
  EXPECT_EQ(target.PixelColor(0, 0), clBlack);
  // (255 × 128 + 255 × 127 + 255) >> 8 and (0 × 128 + 255 × 127 + 255) >> 8.
  EXPECT_EQ(target.PixelColor(1, 0), Rgb(255, 127, 127));
  EXPECT_EQ(LibpngReadRgba(PalettePng({{0, 0, 0}, {255, 0, 0}}, {255, 128})).Pixels[3], 255);
}

TEST(PngCodec, SixteenBitKeysCompareWholeSamples) {
  // Gray 16-bit pixels 0x1234 (the key), 0x1256 (same high byte) and 0x9934 (same low byte).
  const TBytes raw{0, 0x12, 0x34, 0x12, 0x56, 0x99, 0x34};
  TPNGObject image;
  const TBytes file = PngFile({ChunkBytes("IHDR", IhdrData(3, 1, 16, 0)), ChunkBytes("tRNS", {0x12, 0x34}),
                               ChunkBytes("IDAT", Deflated(raw)), ChunkBytes("IEND", {})});
  LoadPng(image, file);
  EXPECT_EQ(image.PixelAlpha(0, 0), 0);
  EXPECT_EQ(image.PixelAlpha(1, 0), 255);
  EXPECT_EQ(image.PixelAlpha(2, 0), 255);
  const TPeerRgba peer = LibpngReadRgba(file);
  EXPECT_EQ(peer.Pixels[3], 0);
  EXPECT_EQ(peer.Pixels[7], 255);
  const auto targetBitmap = Canvas24(3, 1, clBlue);
  TBitmap& target = *targetBitmap;
  image.Draw(*target.Canvas(), Rect(0, 0, 3, 1));
  EXPECT_EQ(target.PixelColor(0, 0), clBlue);
  EXPECT_EQ(target.PixelColor(1, 0), Rgb(0x12, 0x12, 0x12));
  EXPECT_EQ(target.PixelColor(2, 0), Rgb(0x99, 0x99, 0x99));
}

TEST(PngCodec, LowGrayDepthsSpreadOverTheWholeRange) {
  for (uint8_t depth : {1, 2, 4}) {
    SCOPED_TRACE(int(depth));
    const int levels = 1 << depth;
    TBytes raw{0};
    // Samples 0, 1, ..., levels - 1 packed from the high bits.
    uint32_t bits = 0, count = 0;
    for (int v = 0; v < levels; ++v) {
      bits = bits << depth | static_cast<uint32_t>(v);
      count += depth;
      if (count == 8) {
        raw.push_back(static_cast<uint8_t>(bits));
        bits = count = 0;
      }
    }
    if (count) raw.push_back(static_cast<uint8_t>(bits << (8 - count)));
    TPNGObject image;
    LoadPng(image, PngFile({ChunkBytes("IHDR", IhdrData(static_cast<uint32_t>(levels), 1, depth, 0)),
                            ChunkBytes("IDAT", Deflated(raw)), ChunkBytes("IEND", {})}));
    for (int v = 0; v < levels; ++v) {
      const auto level = static_cast<uint8_t>(v * 255 / (levels - 1));
      EXPECT_EQ(image.GetPixel(v, 0), Rgb(level, level, level)) << v;
    }
  }
}

TEST(PngCodec, DrawsOpaqueStretchedAndBlendedImages) {
  // RGBA 2 x 1: red at alpha 255, green at alpha 64, over a blue canvas.
  const TBytes raw{0, 255, 0, 0, 255, 0, 255, 0, 64};
  TPNGObject image;
  LoadPng(image, PngFile({ChunkBytes("IHDR", IhdrData(2, 1, 8, 6)), ChunkBytes("IDAT", Deflated(raw)),
                          ChunkBytes("IEND", {})}));
  EXPECT_EQ(image.TransparencyKind(), ptmPartial);
  const auto targetBitmap = Canvas24(6, 3, clBlue);
  TBitmap& target = *targetBitmap;
  image.Draw(*target.Canvas(), Rect(1, 1, 5, 2));  // stretched to 4 x 1
  EXPECT_EQ(target.PixelColor(0, 1), clBlue);
  EXPECT_EQ(target.PixelColor(1, 1), clRed);
  EXPECT_EQ(target.PixelColor(2, 1), clRed);
  // (255 × 64 + 0 × 191 + 255) >> 8 = 64; (0 × 64 + 255 × 191 + 255) >> 8 = 191.
  EXPECT_EQ(target.PixelColor(3, 1), Rgb(0, 64, 191));
  EXPECT_EQ(target.PixelColor(4, 1), Rgb(0, 64, 191));
  EXPECT_EQ(target.PixelColor(5, 1), clBlue);
  EXPECT_EQ(target.PixelColor(2, 0), clBlue);

  TPNGObject opaque;
  LoadPng(opaque, SmallGrayPng(2, 2, 100));
  const auto grayBitmap = Canvas24(4, 4, clBlue);
  TBitmap& gray = *grayBitmap;
  opaque.Draw(*gray.Canvas(), Rect(0, 0, 4, 4));
  EXPECT_EQ(gray.PixelColor(3, 3), Rgb(117, 117, 117));  // pixel (1, 1): 100 + 16 + 1
}

TEST(PngCodec, ACanvasDrawsTheImageOverWhatItHolds) {
  // The canvas hands the image its own drawing, so transparency survives: a keyed palette
  // entry and a partly transparent pixel over a blue canvas, at the image's size and
  // stretched.
  TPNGObject keyed;  // entry 0 (black) fully transparent, entry 1 red opaque
  LoadPng(keyed, PalettePng({{0, 0, 0}, {255, 0, 0}}, {0}));
  TPNGObject blended;  // red at alpha 255, green at alpha 64
  LoadPng(blended,
          PngFile({ChunkBytes("IHDR", IhdrData(2, 1, 8, 6)),
                   ChunkBytes("IDAT", Deflated(TBytes{0, 255, 0, 0, 255, 0, 255, 0, 64})), ChunkBytes("IEND", {})}));
  const TColor mixed = Rgb(0, 64, 191);  // (255 × 64 + 255) >> 8, (255 × 191 + 255) >> 8
  struct Case {
    const char* name;
    const TPNGObject* image;
    bool stretched;
    TColor left, right;
  } cases[] = {
      {"keyed", &keyed, false, clBlue, clRed},
      {"keyed, stretched", &keyed, true, clBlue, clRed},
      {"alpha", &blended, false, clRed, mixed},
      {"alpha, stretched", &blended, true, clRed, mixed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto target = Canvas24(6, 3, clBlue);
    if (c.stretched)
      target->Canvas()->StretchDraw(Rect(1, 1, 5, 2), c.image);  // each pixel twice
    else
      target->Canvas()->Draw(1, 1, c.image);
    const int32_t width = c.stretched ? 2 : 1;
    for (int32_t x = 0; x < width; ++x) {
      EXPECT_EQ(target->PixelColor(1 + x, 1), c.left) << x;
      EXPECT_EQ(target->PixelColor(1 + width + x, 1), c.right) << x;
    }
    EXPECT_EQ(target->PixelColor(1 + 2 * width, 1), clBlue);
    EXPECT_EQ(target->PixelColor(1, 0), clBlue);
  }
}

TEST(PngCodec, AssignsToBitmapsOfTheFittingFormat) {
  TPNGObject rgba;
  LoadPng(rgba, PngFile({ChunkBytes("IHDR", IhdrData(1, 1, 8, 6)), ChunkBytes("IDAT", Deflated({0, 0, 0, 0, 128})),
                         ChunkBytes("IEND", {})}));
  TBitmap bitmap;
  bitmap.Assign(rgba);
  EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
  // Black at alpha 128 over the bitmap's white: (255 × 127 + 255) >> 8.
  EXPECT_EQ(bitmap.PixelColor(0, 0), Rgb(127, 127, 127));

  TPNGObject palette;
  LoadPng(palette, PalettePng({{9, 8, 7}, {1, 2, 3}, {200, 100, 50}}, {}));
  bitmap.Assign(palette);
  EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
  EXPECT_EQ(bitmap.PixelColor(2, 0), Rgb(200, 100, 50));
  EXPECT_FALSE(bitmap.Transparent());

  TPNGObject mono;
  LoadPng(mono, PngFile({ChunkBytes("IHDR", IhdrData(3, 1, 1, 0)), ChunkBytes("IDAT", Deflated({0, 0x40})),
                         ChunkBytes("IEND", {})}));
  bitmap.Assign(mono);
  EXPECT_EQ(bitmap.PixelFormat(), pf1bit);
  EXPECT_EQ(bitmap.PixelColor(0, 0), clBlack);
  EXPECT_EQ(bitmap.PixelColor(1, 0), clWhite);

  TPNGObject keyed;
  LoadPng(keyed, PalettePng({{9, 8, 7}, {1, 2, 3}}, {255, 0}));
  bitmap.Assign(keyed);
  EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
  EXPECT_TRUE(bitmap.Transparent());
  EXPECT_EQ(bitmap.TransparentColor(), Rgb(1, 2, 3));
}

TEST(PngCodec, AssigningAnImageOfNoKnownLayoutSaysWhatCouldNotBeAssigned) {
  TPNGObject image;
  LoadPng(image, SmallGrayPng(2, 2));
  image.HeaderChunk().BitDepth = 3;  // no bitmap format fits
  TBitmap bitmap;
  try {
    bitmap.Assign(image);
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TPNGObject to a TBitmap");
  }
  TPNGObject empty;
  EXPECT_THROW(bitmap.Assign(empty), EConvertError);
}

TEST(PngCodec, CopiesImagesChunkByChunk) {
  TPNGObject source;
  LoadPng(source, PalettePng({{9, 8, 7}, {1, 2, 3}}, {255, 0}));
  source.RowFilterSet = pfPaeth;
  source.DeflateLevel = 3;
  TPNGObject copy;
  copy.Assign(source);
  EXPECT_EQ(copy.RowFilterSet, pfPaeth);
  EXPECT_EQ(copy.DeflateLevel, 3);
  ASSERT_EQ(copy.ChunkList().size(), source.ChunkList().size());
  EXPECT_EQ(copy.GetPixel(1, 0), Rgb(1, 2, 3));
  EXPECT_EQ(copy.TransparencyKind(), ptmBit);
  copy.SetPixel(0, 0, Rgb(1, 2, 3));
  EXPECT_EQ(source.GetPixel(0, 0), Rgb(9, 8, 7));  // the raster was copied, not shared
  EXPECT_EQ(SavePng(source).size(), SavePng(copy).size());
  copy.Assign(static_cast<const TGraphic*>(nullptr));
  EXPECT_TRUE(copy.Empty());
  // Chunks of different classes do not assign.
  try {
    source.ItemFromClass<TChunkPLTE>()->Assign(*source.ItemFromClass<TChunktRNS>());
    ADD_FAILURE();
  } catch (const EPngError& e) {
    EXPECT_STREQ(e.what(), "The chunks must be compatible to be assigned.");
  }
}

TEST(PngCodec, ResizesKeepingTheTopLeftPixels) {
  TPNGObject image;
  LoadPng(image, SmallGrayPng(5, 3, 1));
  const TColor kept = image.GetPixel(1, 1);
  image.Resize(2, 6);
  EXPECT_EQ(image.Width(), 2);
  EXPECT_EQ(image.Height(), 6);
  EXPECT_EQ(image.GetPixel(1, 1), kept);
  EXPECT_EQ(image.GetPixel(1, 5), clBlack);
  EXPECT_EQ(LibpngReadRgba(SavePng(image)).Height, 6u);
  for (auto size : {std::pair{0, 10}, std::pair{10, 0}, std::pair{-1, 1}}) {
    try {
      image.Resize(size.first, size.second);
      ADD_FAILURE();
    } catch (const EPNGInvalidNewSize& e) {
      EXPECT_STREQ(e.what(), "The new size provided for image resizing is invalid.");
    }
  }
}

TEST(PngCodec, PixelsOutsideTheImage) {
  TPNGObject image;
  LoadPng(image, SmallGrayPng(2, 2, 50));
  EXPECT_EQ(image.GetPixel(-1, 0), 0);
  EXPECT_EQ(image.GetPixel(2, 0), 0);
  image.SetPixel(5, 5, clWhite);
  image.SetPixel(0, 1, clWhite);
  EXPECT_EQ(image.GetPixel(0, 1), clWhite);
}
