// TMetafile: header sizes, saving back, rejecting damaged files, and playing hand-made
// records (mapping modes, world transforms, clipping) onto a bitmap.
#include <gtest/gtest.h>

#include "MetafileBuilder.h"
#include "MetafileInspect.h"
#include "MetafilePlay.h"
#include "platform/graphics/Metafile.h"
#include "platform/graphics/TextDraw.h"

namespace {

// A red brush and the default pen.
TEmfBuilder RedBrushEmf() {
  TEmfBuilder emf;
  emf.Handles = 2;
  emf.Rec(39, {1, 0, kRed, 0});  // CREATEBRUSHINDIRECT: slot 1, solid, red
  emf.Rec(37, {1});              // SELECTOBJECT 1
  return emf;
}

// A red brush and no pen, so fills show exactly.
TEmfBuilder RedFillEmf() { return RedBrushEmf().Rec(37, {0x80000000 | 8}); }  // stock NULL_PEN

TWmfBuilder RedFillWmf() {
  TWmfBuilder wmf;
  wmf.Objects = 1;
  wmf.Rec(0x02FC, {0, kRed & 0xFFFF, kRed >> 16, 0});  // CREATEBRUSHINDIRECT: solid, red
  wmf.Rec(0x012D, {0});                                // SELECTOBJECT 0
  return wmf;
}

// A 20-unit Arial font of an escapement (tenths of a degree) and "Wolf" drawn at (x, y) on
// its baseline, transparently.
TEmfBuilder WithTurnedText(TEmfBuilder emf, int32_t escapement, int32_t x, int32_t y) {
  std::vector<uint8_t> face(64, 0);
  const char16_t arial[] = u"Arial";
  for (size_t i = 0; arial[i]; ++i) face[2 * i] = static_cast<uint8_t>(arial[i]);
  // EXTCREATEFONTINDIRECTW: slot, height, width, escapement, orientation, weight,
  // italic..charset, precisions, quality and pitch; the face name
  emf.Rec(82, {1, -20, 0, escapement, escapement, 400, 0, 0}, face);
  emf.Rec(37, {1});   // SELECTOBJECT
  emf.Rec(22, {24});  // SETTEXTALIGN baseline
  emf.Rec(18, {1});   // SETBKMODE transparent
  const std::vector<uint8_t> text = {'W', 0, 'o', 0, 'l', 0, 'f', 0};
  // EXTTEXTOUTW: bounds, graphics mode, scales, reference, count, string offset,
  // options, rectangle, dx offset; the string
  emf.Rec(84, {0, 0, -1, -1, 1, 0, 0, x, y, 4, 76, 0, 0, 0, -1, -1, 0}, text);
  emf.Handles = 2;
  return emf;
}

// The box of the pixels that are not white.
TRect InkBoxOf(const TBitmap& bitmap) {
  TRect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (int32_t y = 0; y < bitmap.Height(); ++y)
    for (int32_t x = 0; x < bitmap.Width(); ++x)
      if (static_cast<COLORREF>(bitmap.PixelColor(x, y)) != kWhite)
        box =
            TRect{std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1), std::max(box.Bottom, y + 1)};
  return box;
}

}  // namespace

TEST(MetafileTest, HeaderSizesOfEachKind) {
  TWmfBuilder plain;
  plain.Rec(0x020C, {100, 200});  // SETWINDOWEXT y, x
  const struct {
    const char* Name;
    std::vector<uint8_t> Bytes;
    bool Enhanced;
    int32_t MMWidth, MMHeight, Width, Height;
    uint16_t Inch;
  } cases[] = {
      {"placeable", TWmfBuilder().Bytes(true, 1440, 720, 1440), false, 2540, 1270, 96, 48, 1440},
      {"plain: the first window extent in pixels", plain.Bytes(false), false, 5292, 2646, 200, 100, 0},
      {"enhanced: the frame", TEmfBuilder().Bytes(2540, 1270), true, 2540, 1270, 96, 48, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto m = Loaded(c.Bytes);
    EXPECT_EQ(m->Enhanced(), c.Enhanced);
    EXPECT_EQ(m->MMWidth(), c.MMWidth);
    EXPECT_EQ(m->MMHeight(), c.MMHeight);
    EXPECT_EQ(m->Width(), c.Width);
    EXPECT_EQ(m->Height(), c.Height);
    EXPECT_EQ(m->Inch(), c.Inch);
  }
}

TEST(MetafileTest, SavesTheLoadedBytes) {
  const std::vector<uint8_t> placeable = RedFillWmf().Rec(0x041B, {50, 50, 10, 10}).Bytes();
  const std::vector<uint8_t> enhanced = RedFillEmf().Rec(43, {10, 10, 50, 50}).Bytes();
  EXPECT_EQ(Loaded(placeable)->SavedBytes(), placeable);
  EXPECT_EQ(Loaded(enhanced)->SavedBytes(), enhanced);
  // Without a placeable header one is made from the size, at 1440 units per inch.
  const std::vector<uint8_t> plain = TWmfBuilder().Rec(0x020C, {96, 192}).Bytes(false);
  const std::vector<uint8_t> saved = Loaded(plain)->SavedBytes();
  ASSERT_EQ(saved.size(), plain.size() + 22);
  EXPECT_EQ(std::vector<uint8_t>(saved.begin() + 22, saved.end()), plain);
  const auto again = Loaded(saved);
  EXPECT_EQ(again->Width(), 192);
  EXPECT_EQ(again->Height(), 96);
  EXPECT_EQ(again->Inch(), 1440);
}

TEST(MetafileTest, DamagedFilesAreInvalidAndLeaveTheMetafileAsItWas) {
  const std::vector<uint8_t> emf = RedFillEmf().Rec(43, {10, 10, 50, 50}).Bytes();
  const std::vector<uint8_t> wmf = RedFillWmf().Rec(0x041B, {50, 50, 10, 10}).Bytes();
  auto patched = [](std::vector<uint8_t> bytes, size_t at, std::initializer_list<uint8_t> with) {
    std::copy(with.begin(), with.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    return bytes;
  };
  auto cut = [](std::vector<uint8_t> bytes, size_t drop) {
    bytes.resize(bytes.size() - drop);
    return bytes;
  };
  const size_t emfFirstRecord = 88, wmfFirstRecord = 22 + 18;
  const struct {
    const char* Name;
    std::vector<uint8_t> Bytes;
  } cases[] = {
      {"no metafile", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!'}},
      {"enhanced: cut inside a record", cut(emf, 7)},
      {"enhanced: a record of size 0", patched(emf, emfFirstRecord + 4, {0, 0, 0, 0})},
      {"enhanced: a record past the end", patched(emf, emfFirstRecord + 4, {0, 0, 0, 0x40})},
      {"enhanced: a size not a multiple of 4", patched(emf, emfFirstRecord + 4, {0x19, 0, 0, 0})},
      {"enhanced: a header longer than the file", patched(emf, 4, {0, 0, 0, 1})},
      {"enhanced: more handles than the limit", patched(emf, 56, {0xFF, 0xFF})},
      {"windows: header size not 9 words", patched(wmf, 22 + 2, {8, 0})},
      {"windows: a record past the end", patched(wmf, wmfFirstRecord, {0xFF, 0xFF, 0, 0})},
      {"windows: a record of 2 words", patched(wmf, wmfFirstRecord, {2, 0, 0, 0})},
      {"windows: cut inside a record", cut(wmf, 9)},
      {"windows: a placeable header alone", std::vector<uint8_t>(wmf.begin(), wmf.begin() + 22)},
      {"windows: placeable header with 0 units per inch", patched(wmf, 14, {0, 0})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto m = Loaded(emf);
    m->Limits.MaxObjects = 1000;
    try {
      m->LoadFromBytes(c.Bytes);
      ADD_FAILURE() << "loaded";
    } catch (const EInvalidGraphic& e) {
      EXPECT_STREQ(e.what(), "Invalid metafile");
    }
    EXPECT_EQ(m->SavedBytes(), emf);
  }
}

TEST(MetafileTest, PlaysFiguresThroughMappingWorldTransformAndClip) {
  const struct {
    const char* Name;
    std::vector<uint8_t> Bytes;
    std::vector<TPixelCheck> Checks;
  } cases[] = {
      {"rectangle with the default black pen: the outline inside the far edges",
       RedBrushEmf().Rec(43, {10, 10, 50, 50}).Bytes(),
       {{10, 30, 0}, {49, 30, 0}, {30, 10, 0}, {30, 49, 0}, {30, 30, kRed}, {50, 30, kWhite}, {9, 9, kWhite}}},
      {"world transform: scale 2 and move by 5",
       RedFillEmf()
           .Rec(35, {TEmfBuilder::Float(2), 0, 0, TEmfBuilder::Float(2), TEmfBuilder::Float(5), TEmfBuilder::Float(5)})
           .Rec(43, {0, 0, 10, 10})
           .Bytes(),
       {{5, 5, kRed}, {24, 24, kRed}, {25, 25, kWhite}, {4, 4, kWhite}}},
      {"anisotropic: window 1000 on viewport 96",
       RedFillEmf().Rec(17, {8}).Rec(9, {1000, 1000}).Rec(11, {96, 96}).Rec(43, {0, 0, 500, 500}).Bytes(),
       {{47, 47, kRed}, {49, 49, kWhite}}},
      {"isotropic: the smaller scale on both axes",
       RedFillEmf().Rec(17, {7}).Rec(9, {100, 50}).Rec(11, {96, 96}).Rec(43, {0, 0, 100, 50}).Bytes(),
       {{90, 40, kRed}, {90, 50, kWhite}}},
      {"low metric: 0.1 mm, y upwards",
       RedFillEmf().Rec(17, {2}).Rec(12, {0, 96}).Rec(43, {0, 0, 100, 100}).Bytes(),
       {{30, 60, kRed}, {30, 94, kRed}, {30, 56, kWhite}, {40, 80, kWhite}}},
      {"clip rectangle",
       RedFillEmf().Rec(30, {0, 0, 20, 96}).Rec(43, {0, 0, 96, 96}).Bytes(),
       {{19, 50, kRed}, {21, 50, kWhite}}},
      {"clip undone by restoring the saved state",
       RedFillEmf().Rec(33, {}).Rec(30, {0, 0, 20, 96}).Rec(34, {-1}).Rec(43, {0, 0, 96, 96}).Bytes(),
       {{19, 50, kRed}, {60, 50, kRed}}},
      {"polygon with a hole (poly-polygon, alternate rule)",
       RedFillEmf()
           .Rec(8, {0, 0, 0, 0, 2, 8, 4, 4, 0, 0, 90, 0, 90, 90, 0, 90, 30, 30, 60, 30, 60, 60, 30, 60})
           .Bytes(),
       {{10, 10, kRed}, {80, 80, kRed}, {45, 45, kWhite}}},
      {"windows: anisotropic window onto the picture box",
       RedFillWmf().Rec(0x0103, {8}).Rec(0x020C, {200, 200}).Rec(0x041B, {100, 100, 0, 0}).Bytes(true, 200, 200, 192),
       {{20, 20, kRed}, {46, 46, kRed}, {49, 49, kWhite}}},
      {"windows: ellipse inside its box",
       RedFillWmf().Rec(0x0418, {96, 96, 0, 0}).Bytes(true, 96, 96, 96),
       {{48, 48, kRed}, {2, 2, kWhite}, {93, 93, kWhite}}},
      {"windows: clip undone by restoring",
       RedFillWmf()
           .Rec(0x001E, {})
           .Rec(0x0416, {50, 50, 0, 0})
           .Rec(0x0127, {-1})
           .Rec(0x041B, {96, 96, 0, 0})
           .Bytes(true, 96, 96, 96),
       {{70, 70, kRed}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto m = Loaded(c.Bytes);
    const auto bitmap = Played(*m);
    for (const TPixelCheck& check : c.Checks)
      EXPECT_EQ(static_cast<COLORREF>(bitmap->PixelColor(check.X, check.Y)), check.Color)
          << "at " << check.X << "," << check.Y;
    EXPECT_EQ(m->SkippedRecords(), 0);
  }
}

// A Windows polygon whose points run past its record's end is skipped, not drawn with
// the missing coordinates taken as 0.
TEST(MetafileTest, PolygonsCutShortAreSkippedNotDrawn) {
  const struct {
    const char* Name;
    std::vector<uint8_t> Bytes;
  } cases[] = {
      // POLYGON: count, then x, y of each point; the last y is missing
      {"polygon", RedFillWmf().Rec(0x0324, {3, 10, 10, 90, 10, 90}).Bytes(true, 96, 96, 96)},
      // POLYPOLYGON: polygon count, the points of each, then x, y of each point; the last y is missing
      {"poly-polygon", RedFillWmf().Rec(0x0538, {1, 3, 10, 10, 90, 10, 90}).Bytes(true, 96, 96, 96)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto m = Loaded(c.Bytes);
    ExpectPixels(*Played(*m), {{80, 8, kWhite}, {80, 10, kWhite}});
    EXPECT_EQ(m->SkippedRecords(), 1);
  }
}

namespace {

// A null pen and a null brush selected (slots 0 and 1), so that only an object made
// later shows; slot 2 is free.
TWmfBuilder NullPenAndBrushWmf() {
  TWmfBuilder wmf;
  wmf.Objects = 3;
  wmf.Rec(0x02FA, {5, 0, 0, 0, 0});  // CREATEPENINDIRECT: null
  wmf.Rec(0x02FC, {1, 0, 0, 0});     // CREATEBRUSHINDIRECT: null
  wmf.Rec(0x012D, {0});              // SELECTOBJECT 0
  wmf.Rec(0x012D, {1});              // SELECTOBJECT 1
  return wmf;
}
TEmfBuilder NullPenAndBrushEmf() {
  TEmfBuilder emf;
  emf.Handles = 2;
  emf.Rec(37, {0x80000000 | 5});  // SELECTOBJECT stock NULL_BRUSH
  emf.Rec(37, {0x80000000 | 8});  // SELECTOBJECT stock NULL_PEN
  return emf;
}

}  // namespace

// A record that ends before its fields do draws nothing, its missing fields are not
// taken as 0, and it counts once as skipped. An object made by such a record changes
// nothing when selected.
TEST(MetafileTest, RecordsCutShortDrawNothingAndAreSkipped) {
  const std::vector<uint8_t> wideText = {'W', 0, 'W', 0};
  const struct {
    const char* Name;
    std::vector<uint8_t> Bytes;
  } cases[] = {
      // RECTANGLE, ELLIPSE: bottom, right; top and left are missing
      {"wmf rectangle", RedFillWmf().Rec(0x041B, {96, 96}).Bytes(true, 96, 96, 96)},
      {"wmf ellipse", RedFillWmf().Rec(0x0418, {96, 96}).Bytes(true, 96, 96, 96)},
      // LINETO: y; x is missing (the default pen is black)
      {"wmf line", RedFillWmf().Rec(0x0213, {90}).Bytes(true, 96, 96, 96)},
      // TEXTOUT: length, the string; y and x are missing
      {"wmf text out", RedFillWmf().Rec(0x0521, {2}, {'W', 'W'}).Bytes(true, 96, 96, 96)},
      // PATBLT: PATCOPY (two words), height, width; y and x are missing
      {"wmf pattern blit", RedFillWmf().Rec(0x061D, {0x0021, 0x00F0, 96, 96}).Bytes(true, 96, 96, 96)},
      // STRETCHDIB: SRCCOPY (two words), colour usage; the rest is missing
      {"wmf stretched bitmap", RedFillWmf().Rec(0x0F43, {0x0020, 0x00CC, 0}).Bytes(true, 96, 96, 96)},
      // CREATEPENINDIRECT: solid, 30 wide; the colour is missing. Selected, then a line.
      {"wmf pen creation", NullPenAndBrushWmf()
                               .Rec(0x02FA, {0, 30})
                               .Rec(0x012D, {2})
                               .Rec(0x0214, {10, 10})
                               .Rec(0x0213, {90, 90})
                               .Bytes(true, 96, 96, 96)},
      // CREATEBRUSHINDIRECT: solid, the colour's low word; its high word and the hatch are
      // missing. Selected, then a rectangle.
      {"wmf brush creation", NullPenAndBrushWmf()
                                 .Rec(0x02FC, {0, 0x00FF})
                                 .Rec(0x012D, {2})
                                 .Rec(0x041B, {90, 90, 10, 10})
                                 .Bytes(true, 96, 96, 96)},
      // RECTANGLE, ELLIPSE: left, top; right and bottom are missing
      {"emf rectangle", RedFillEmf().Rec(43, {96, 96}).Bytes()},
      {"emf ellipse", RedFillEmf().Rec(42, {96, 96}).Bytes()},
      // LINETO: x; y is missing (the default pen is black)
      {"emf line", RedBrushEmf().Rec(54, {90}).Bytes()},
      // POLYGON: bounds, three points; the last y is missing
      {"emf polygon", RedFillEmf().Rec(3, {0, 0, 96, 96, 3, 10, 10, 90, 10, 90}).Bytes()},
      // EXTTEXTOUTW: bounds, graphics mode, scales, reference, count; the rest is missing
      {"emf text out", RedFillEmf().Rec(84, {0, 0, -1, -1, 1, 0, 0, 10, 10, 2}, wideText).Bytes()},
      // STRETCHBLT: bounds, destination, PATCOPY; the rest is missing
      {"emf stretch blit", RedFillEmf().Rec(77, {0, 0, -1, -1, 0, 0, 96, 96, 0x00F00021}).Bytes()},
      // CREATEPEN: slot 1, solid, 30 wide; the width's y and the colour are missing.
      // Selected, then a line.
      {"emf pen creation",
       NullPenAndBrushEmf().Rec(38, {1, 0, 30}).Rec(37, {1}).Rec(27, {10, 10}).Rec(54, {90, 90}).Bytes()},
      // CREATEBRUSHINDIRECT: slot 1, solid; the colour and hatch are missing. Selected,
      // then a rectangle.
      {"emf brush creation", NullPenAndBrushEmf().Rec(39, {1, 0}).Rec(37, {1}).Rec(43, {10, 10, 90, 90}).Bytes()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto m = Loaded(c.Bytes);
    const TRect ink = InkBoxOf(*Played(*m));
    EXPECT_EQ(ink.Left, INT32_MAX) << "drawn at " << ink.Left << "," << ink.Top << " to " << ink.Right << ","
                                   << ink.Bottom;
    EXPECT_EQ(m->SkippedRecords(), 1);
  }
}

// A record cut short is skipped by the size its header gives: the play goes on with the
// next record as if the short one were not there.
TEST(MetafileTest, ARecordCutShortLeavesTheRecordsAfterItDrawn) {
  const auto wmf = Loaded(RedFillWmf().Rec(0x041B, {96, 96}).Rec(0x041B, {40, 40, 10, 10}).Bytes(true, 96, 96, 96));
  const auto emf = Loaded(RedFillEmf().Rec(43, {96, 96}).Rec(43, {10, 10, 40, 40}).Bytes());
  for (const TMetafile* m : {wmf.get(), emf.get()}) {
    SCOPED_TRACE(m->Enhanced() ? "emf" : "wmf");
    const auto played = Played(*m);
    ExpectPixels(*played, {{20, 20, kRed}});
    EXPECT_LT(InkBoxOf(*played).Right, 50);
    EXPECT_EQ(m->SkippedRecords(), 1);
  }
}

TEST(MetafileTest, UnknownRecordsAreSkippedAndCounted) {
  const auto emf = Loaded(RedFillEmf().Rec(200, {1, 2, 3}).Rec(43, {0, 0, 96, 96}).Bytes());
  ExpectPixels(*Played(*emf), {{50, 50, kRed}});
  EXPECT_EQ(emf->SkippedRecords(), 1);
  const auto wmf = Loaded(RedFillWmf().Rec(0x0999, {1}).Rec(0x041B, {96, 96, 0, 0}).Bytes(true, 96, 96, 96));
  ExpectPixels(*Played(*wmf), {{50, 50, kRed}});
  EXPECT_EQ(wmf->SkippedRecords(), 1);
}

TEST(MetafileTest, ConvertsBetweenFormatsKeepingThePicture) {
  const auto emf = Loaded(RedFillEmf().Rec(43, {10, 10, 50, 50}).Bytes());
  const auto wmf = ConvertedMetafile(*emf);
  EXPECT_FALSE(wmf->Enhanced());
  EXPECT_EQ(wmf->MMWidth(), 2540);
  EXPECT_EQ(wmf->MMHeight(), 2540);
  const auto reloaded = Loaded(wmf->SavedBytes());
  const auto emfAgain = ConvertedMetafile(*reloaded);
  EXPECT_TRUE(emfAgain->Enhanced());
  TMetafile switched;
  switched.Assign(emf.get());
  switched.SetEnhanced(false);
  EXPECT_FALSE(switched.Enhanced());
  for (const TMetafile* m : {wmf.get(), reloaded.get(), emfAgain.get(), &switched}) {
    SCOPED_TRACE(m->Enhanced() ? "enhanced" : "windows");
    ExpectPixels(*Played(*m), {{10, 10, kRed}, {49, 49, kRed}, {50, 50, kWhite}, {60, 20, kWhite}});
  }
}

TEST(MetafileTest, CanvasRecordsTheDrawing) {
  TMetafile m;
  {
    TMetafileCanvas canvas(m, 40, 30);
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(Rect(0, 0, 20, 30));
    canvas.Close();
  }
  EXPECT_TRUE(m.Enhanced());
  EXPECT_EQ(m.Width(), 40);
  EXPECT_EQ(m.Height(), 30);
  ExpectPixels(*Played(m, 40, 30), {{5, 5, kRed}, {19, 29, kRed}, {20, 5, kWhite}, {39, 29, kWhite}});
  // Saved and loaded again, the same picture.
  ExpectPixels(*Played(*Loaded(m.SavedBytes()), 40, 30), {{5, 5, kRed}, {30, 5, kWhite}});
}

namespace {

// A 2 x 2 blue bitmap as a DIB: information header, then the bottom-up rows (padded).
std::vector<uint8_t> BlueDib() {
  std::vector<uint8_t> dib;
  for (uint32_t v : {40u, 2u, 2u, 0x00180001u, 0u, 16u, 0u, 0u, 0u, 0u}) TEmfBuilder::Dword(dib, v);
  for (int row = 0; row < 2; ++row)
    for (uint8_t b : {0xFF, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00}) dib.push_back(b);
  return dib;
}

}  // namespace

// Figures go over as figure records; a blend (no Windows-metafile record holds one) and
// an inverting pattern blit (a raster operation of the destination alone) go over as
// the pixels they draw, one bitmap record each, and the figures after them stay figures.
TEST(MetafileTest, ConversionPaintsOnlyTheRecordsTheOtherFormatCannotHold) {
  const float one = 1.0f;
  const auto emf = Loaded(
      RedBrushEmf()
          .Rec(43, {10, 10, 50, 50})
          // ALPHABLEND: bounds, destination, blend (constant alpha 128), source origin,
          // transform, background, usage, the bitmap's offsets and sizes, source size
          .Rec(114,
               {0, 0, 0, 0, 40,  40, 40,  40, 128 << 16, 0, 0, TEmfBuilder::Float(one), 0, 0, TEmfBuilder::Float(one),
                0, 0, 0, 0, 108, 40, 148, 16, 2,         2},
               BlueDib())
          .Rec(42, {60, 10, 90, 40})
          .Bytes());
  TWmfBuilder wmfSource = RedFillWmf();
  wmfSource
      .Rec(0x041B, {50, 50, 10, 10})                  // RECTANGLE
      .Rec(0x061D, {0x0009, 0x0055, 40, 40, 30, 30})  // PATBLT destination-invert
      .Rec(0x0418, {40, 90, 10, 60});                 // ELLIPSE
  const auto wmf = Loaded(wmfSource.Bytes(true, 96, 96, 96));
  for (const TMetafile* source : {emf.get(), wmf.get()}) {
    SCOPED_TRACE(source->Enhanced() ? "from enhanced" : "from windows");
    const auto converted = Loaded(ConvertedMetafile(*source)->SavedBytes());
    EXPECT_NE(converted->Enhanced(), source->Enhanced());
    EXPECT_EQ(BitmapRecords(*converted), 1);
    EXPECT_EQ(FigureRecords(*converted), 2);
    ExpectSamePicture(*source, *converted);
    EXPECT_EQ(converted->SkippedRecords(), 0);
  }
}

// The same drawing onto a metafile canvas of each format and onto a bitmap: saved,
// loaded and played, the metafile draws as the bitmap shows, with a record for each call
// (text as text; Greek text, which a Windows metafile's Western code page cannot hold,
// as its pixels).
TEST(MetafileTest, CanvasRecordsEachDrawingCall) {
  TBitmap small;
  small.SetPixelFormat(pf24bit);
  small.SetSize(6, 4);
  small.Canvas()->Brush().SetColor(clBlue);
  small.Canvas()->FillRect(Rect(0, 0, 6, 4));
  auto draw = [&](TCanvas& canvas) {
    canvas.Brush().SetColor(clYellow);
    canvas.Pen().SetColor(clBlue);
    canvas.Pen().SetWidth(3);
    canvas.Rectangle(5, 5, 60, 40);
    canvas.Brush().SetColor(clLime);
    canvas.Pen().SetWidth(1);
    canvas.Ellipse(70, 5, 115, 40);
    const TPoint triangle[] = {{10, 75}, {40, 45}, {60, 75}};
    canvas.Polygon(triangle);
    canvas.MoveTo(65, 45);
    canvas.LineTo(115, 75);
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(Rect(100, 60, 118, 78));
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetName("DejaVu Sans");
    canvas.Font().SetSize(10);
    canvas.TextOut(12, 12, "Meta");
    TextOutW(canvas.Handle(), 70, 48, u"\u03A9\u03BC\u03B5", 3);
    canvas.Draw(80, 20, &small);
  };
  TBitmap expected;
  expected.SetPixelFormat(pf24bit);
  expected.SetSize(120, 80);
  expected.Canvas()->Brush().SetColor(clWhite);
  expected.Canvas()->FillRect(Rect(0, 0, 120, 80));
  draw(*expected.Canvas());
  for (bool enhanced : {true, false}) {
    SCOPED_TRACE(enhanced ? "enhanced" : "windows");
    TMetafile m;
    if (!enhanced) m.LoadFromBytes(TWmfBuilder().Bytes());
    {
      TMetafileCanvas canvas(m, 120, 80);
      draw(canvas);
      canvas.Close();
    }
    const auto loaded = Loaded(m.SavedBytes());
    EXPECT_EQ(loaded->Enhanced(), enhanced);
    EXPECT_EQ(loaded->Width(), 120);
    EXPECT_EQ(loaded->Height(), 80);
    const auto kinds = RecordKinds(*loaded);
    EXPECT_EQ(kinds.count(enhanced ? 84 : 0x0A32), 1u) << "text records";
    EXPECT_EQ(kinds.at(enhanced ? 84 : 0x0A32), enhanced ? 2 : 1);
    EXPECT_EQ(BitmapRecords(*loaded), enhanced ? 1 : 2);
    EXPECT_GE(FigureRecords(*loaded), 5);
    const TPixelDifference d = DifferingPixels(expected, *Played(*loaded, 120, 80));
    EXPECT_LE(d.Differing * 50, d.Inked) << d.Differing << " of " << d.Inked << " pixels differ";
    EXPECT_EQ(loaded->SkippedRecords(), 0);
  }
}

// A clip's side that falls on pixel centres divides the pixels as a figure's edge there
// does: a pixel belongs to the clip when its centre lies inside. Drawn at half size, a
// side at 5 units lies on the centre of pixel 2, which a figure ending there leaves out.
TEST(MetafileTest, ClipSidesDividePixelsAsFigureEdgesDo) {
  const struct {
    const char* Name;
    std::vector<uint8_t> Bytes;
  } cases[] = {
      {"intersected clip rectangle", RedFillEmf().Rec(30, {0, 0, 5, 96}).Rec(43, {0, 0, 10, 96}).Bytes()},
      {"excluded clip rectangle", RedFillEmf().Rec(29, {5, 0, 10, 96}).Rec(43, {0, 0, 10, 96}).Bytes()},
      // EXTSELECTCLIPRGN: data bytes, copy; header: size, type, count, bytes, bounds; the rectangle
      {"clip region",
       RedFillEmf().Rec(75, {48, 5, 32, 1, 1, 16, 0, 0, 5, 96, 0, 0, 5, 96}).Rec(43, {0, 0, 10, 96}).Bytes()},
      {"figure alone", RedFillEmf().Rec(43, {0, 0, 5, 96}).Bytes()},
      {"windows: intersected clip rectangle",
       RedFillWmf().Rec(0x0416, {96, 5, 0, 0}).Rec(0x041B, {96, 10, 0, 0}).Bytes(true, 96, 96, 96)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto m = Loaded(c.Bytes);
    ExpectPixels(*Played(*m, 48, 48), {{1, 20, kRed}, {2, 20, kWhite}, {4, 20, kWhite}});
    EXPECT_EQ(m->SkippedRecords(), 0);
  }
}

// Regions clip by their rectangles, and an excluded rectangle leaves a hole; converted
// to the other format, the clip goes with the figures. (LibreOffice's rendering leaves
// these regions out, so the pixels are the test's own.)
TEST(MetafileTest, ClipRegionsClipByTheirRectangles) {
  const auto emf = Loaded(RegionClipEmf());
  ExpectPixels(*Played(*emf), {{12, 12, kRed},
                               {35, 35, kRed},
                               {25, 25, kWhite},
                               {45, 45, kWhite},
                               {60, 60, kRed},
                               {20, 60, kWhite},
                               {60, 20, kWhite}});
  EXPECT_EQ(emf->SkippedRecords(), 0);
  const auto wmf = Loaded(RegionClipWmf());
  ExpectPixels(*Played(*wmf, 100, 100), {{15, 15, kRed},
                                         {45, 15, kWhite},
                                         {70, 35, kRed},
                                         {50, 50, kWhite},
                                         {50, 70, kRed},
                                         {10, 70, kWhite},
                                         {85, 85, kWhite}});
  EXPECT_EQ(wmf->SkippedRecords(), 0);
  for (const TMetafile* source : {emf.get(), wmf.get()}) {
    const auto converted = Loaded(ConvertedMetafile(*source)->SavedBytes());
    EXPECT_EQ(BitmapRecords(*converted), 0);
    ExpectSamePicture(*source, *converted);
  }
}

// A font's escapement turns its text counter-clockwise as seen, whichever way the mapping
// runs the logical y axis, and a world transform that turns the axes turns the text too.
TEST(MetafileTest, TextTurnsWithTheEscapementAndTheWorldTransform) {
  const float one = 1.0f, zero = 0.0f;
  struct TCase {
    const char* Name;
    TEmfBuilder Emf;
    bool Up;        // the text runs up the picture from its reference point, else down
    TPoint Origin;  // where its reference point lands
  } cases[] = {
      {"escapement", WithTurnedText(TEmfBuilder(), 900, 30, 80), true, {30, 80}},
      {"logical y up",
       WithTurnedText(TEmfBuilder()
                          .Rec(17, {8})         // SETMAPMODE anisotropic
                          .Rec(9, {100, -100})  // SETWINDOWEXTEX
                          .Rec(11, {96, 96})    // SETVIEWPORTEXTEX
                          .Rec(10, {0, 100}),   // SETWINDOWORGEX
                      900, 30, 20),
       true,
       {29, 77}},
      {"world turned",
       WithTurnedText(TEmfBuilder().Rec(35, {TEmfBuilder::Float(zero), TEmfBuilder::Float(one),
                                             TEmfBuilder::Float(-one), TEmfBuilder::Float(zero), TEmfBuilder::Float(60),
                                             TEmfBuilder::Float(10)}),  // SETWORLDTRANSFORM
                      0, 0, 0),
       false,
       {60, 10}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto m = Loaded(c.Emf.Bytes());
    const TRect ink = InkBoxOf(*Played(*m));
    EXPECT_EQ(m->SkippedRecords(), 0);
    ASSERT_LT(ink.Left, ink.Right) << "nothing drawn";
    // "Wolf" is far longer than high: a turned line is taller than wide.
    EXPECT_GT(ink.Height(), 2 * ink.Width());
    // It starts at the reference point and runs away from it.
    if (c.Up) {
      EXPECT_NEAR(ink.Bottom, c.Origin.Y, 2);
    } else {
      EXPECT_NEAR(ink.Top, c.Origin.Y, 2);
    }
    // Its glyphs stand on the baseline: ascent to the left of a line running up, to the
    // right of one running down.
    EXPECT_TRUE(c.Up ? ink.Right - c.Origin.X < c.Origin.X - ink.Left : c.Origin.X - ink.Left < ink.Right - c.Origin.X);
  }
}
