// Pictures by kind, metafile bitmaps, shape-picture alternatives and picture fields.
// Bitmaps built here byte by byte are also decoded by PIL from the bitmap file the
// reader completes, and PNG and JPEG pictures are PIL's own files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <filesystem>

#include "imaging/png/PngCodec.h"
#include "platform/base/FormatSettings.h"
#include "platform/base/LittleEndian.h"
#include "platform/graphics/JpegImage.h"
#include "richtext/interchange/RPRTFPictureLoad.h"
#include "richtext/interchange/RPRTFPicturePeer.h"
#include "richtext/interchange/RPRTFTestProbe.h"
#include "richtext/model/RPGraphicHelpers.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Lines = std::vector<std::string>;

void Put16(Bytes& b, uint32_t v) { AppendLE16(b, static_cast<uint16_t>(v)); }
void Put32(Bytes& b, uint32_t v) { AppendLE32(b, v); }

// An information header of headerBytes (40, 52, 56, 108 or 124), the fields past the
// first 40 zero unless masks are given (they sit at 40, 44, 48).
Bytes InfoHeader(uint32_t headerBytes, int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                 uint32_t colorsUsed, std::vector<uint32_t> masksInside = {}) {
  Bytes b;
  Put32(b, headerBytes);                    // biSize
  Put32(b, static_cast<uint32_t>(width));   // biWidth
  Put32(b, static_cast<uint32_t>(height));  // biHeight (negative: top row first)
  Put16(b, 1);                              // biPlanes
  Put16(b, bits);                           // biBitCount
  Put32(b, compression);                    // biCompression
  Put32(b, 0);                              // biSizeImage
  Put32(b, 2835);                           // biXPelsPerMeter
  Put32(b, 2835);                           // biYPelsPerMeter
  Put32(b, colorsUsed);                     // biClrUsed
  Put32(b, 0);                              // biClrImportant
  for (uint32_t mask : masksInside) Put32(b, mask);
  b.resize(headerBytes, 0);
  return b;
}

void Append(Bytes& to, const Bytes& from) { to.insert(to.end(), from.begin(), from.end()); }

struct TRgb8 {
  uint8_t R, G, B;
};

TRgbImage Expected(int32_t width, int32_t height, std::vector<TRgb8> topDown) {
  TRgbImage image{width, height, {}};
  for (const auto& p : topDown) image.Rgb.insert(image.Rgb.end(), {p.R, p.G, p.B});
  return image;
}

constexpr TRgb8 kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kBlack{0, 0, 0}, kWhite{255, 255, 255};

// 8 bits per pixel, a 40-byte header and a colour table of only biClrUsed = 2 entries.
Bytes DibPalette8() {
  Bytes b = InfoHeader(40, 2, 2, 8, 0, 2);
  Append(b, {255, 0, 0, 0, 0, 0, 255, 0});  // entry 0 blue, entry 1 red (blue, green, red, 0)
  Append(b, {0, 1, 0, 0});                  // bottom row: blue, red, padding
  Append(b, {1, 0, 0, 0});                  // top row: red, blue, padding
  return b;
}

// 16 bits per pixel with 5-6-5 masks inside a 108-byte header.
Bytes DibV4Masks565() {
  Bytes b = InfoHeader(108, 2, 1, 16, 3, 0, {0xF800, 0x07E0, 0x001F});
  Append(b, {0x00, 0xF8, 0xE0, 0x07});  // red, green
  return b;
}

// 32 bits per pixel, masks after a 40-byte header that put red in the high byte; top row
// first.
Bytes DibBitfields32Rgbx() {
  Bytes b = InfoHeader(40, 1, -1, 32, 3, 0);
  Append(b, {0, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0});  // red, green, blue masks
  Append(b, {0, 30, 20, 10});                                // r 10, g 20, b 30
  return b;
}

// A 12-byte core header, 1 bit per pixel, three-byte colour entries.
Bytes DibCore1() {
  Bytes b;
  Put32(b, 12);                         // bcSize
  Put16(b, 3);                          // bcWidth
  Put16(b, 1);                          // bcHeight
  Put16(b, 1);                          // bcPlanes
  Put16(b, 1);                          // bcBitCount
  Append(b, {0, 0, 0, 255, 255, 255});  // black, white
  Append(b, {0xA0, 0, 0, 0});           // 1 0 1
  return b;
}

// Run-length encoded 8 bits per pixel.
Bytes DibRle8() {
  Bytes b = InfoHeader(40, 4, 2, 8, 1, 2);
  Append(b, {0, 255, 0, 0, 0, 0, 255, 0});  // entry 0 green, entry 1 red
  Append(b, {4, 1, 0, 0});                  // bottom row: four of 1, end of line
  Append(b, {0, 3, 0, 1, 0, 0});            // top row: three literal pixels 0 1 0, padded to a word
  Append(b, {1, 1, 0, 1});                  // one more 1, end of bitmap
  return b;
}

std::string PictRtf(const std::string& words, const Bytes& data) {
  return "{\\rtf1{\\pict" + words + " " + HexOf(data) + "}}";
}

std::string ScratchPath(const std::string& name) {
  return ::testing::TempDir() + "rtf_pictures_" + std::to_string(getpid()) + "_" + name;
}

TEST(RPRTFPictures, DeviceIndependentBitmapsHonourTheirHeaders) {
  const struct {
    const char* Name;
    Bytes Dib;
    TRgbImage Pixels;
  } cases[] = {
      {"palette of biClrUsed entries", DibPalette8(), Expected(2, 2, {kRed, kBlue, kBlue, kRed})},
      {"V4 header with 5-6-5 masks", DibV4Masks565(), Expected(2, 1, {kRed, kGreen})},
      {"bit-field masks after the header", DibBitfields32Rgbx(), Expected(1, 1, {{10, 20, 30}})},
      {"core header", DibCore1(), Expected(3, 1, {kWhite, kBlack, kWhite})},
      {"run-length encoded", DibRle8(), Expected(4, 2, {kGreen, kRed, kGreen, kRed, kRed, kRed, kRed, kRed})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TReaderProbe probe;
    ASSERT_EQ(probe.Parse(PictRtf("\\dibitmap0", c.Dib)), rtf_ec_OK);
    ASSERT_EQ(probe.Pictures.size(), 1u);
    const TProbePicture& picture = probe.Pictures[0];
    ASSERT_NE(picture.Graphic, nullptr);
    EXPECT_EQ(MaxChannelDifference(BitmapPixels(static_cast<const TBitmap&>(*picture.Graphic)), c.Pixels), 0);
    // The data became a whole bitmap file: "BM", its size, the offset of the rows.
    ASSERT_EQ(picture.Data.size(), c.Dib.size() + 14);
    EXPECT_EQ(picture.Data[0], 'B');
    EXPECT_EQ(picture.Data[1], 'M');
    EXPECT_EQ(LoadLE32(picture.Data.data() + 2), picture.Data.size());
    const std::string file = ScratchPath("dib.bmp");
    WriteBytesTo(file, picture.Data);
    EXPECT_EQ(MaxChannelDifference(PeerPixels(file, file), c.Pixels), 0) << "PIL reads the same bitmap file";
  }
}

TEST(RPRTFPictures, DamagedBitmapsEndTheParse) {
  Bytes shortRows = DibPalette8();
  shortRows.pop_back();
  Bytes hugeColors = InfoHeader(40, 1, 1, 8, 0, 100000);
  Bytes badHeader = DibPalette8();
  badHeader[0] = 41;
  Bytes jpegInside = InfoHeader(40, 1, 1, 24, 4, 0);
  for (const Bytes& dib : {shortRows, hugeColors, badHeader, jpegInside}) {
    TReaderProbe probe;
    EXPECT_EQ(probe.Parse(PictRtf("\\dibitmap0", dib)), rtf_ec_InvalidPicture);
  }
}

TEST(RPRTFPictures, DeviceDependentBitmaps) {
  TReaderProbe probe;
  // Rows top first, two bytes each: 101 and 010; a monochrome device bitmap shows 1 as white.
  ASSERT_EQ(probe.Parse(PictRtf("\\wbitmap0\\picw3\\pich2\\wbmbitspixel1\\wbmplanes1\\wbmwidthbytes2",
                                {0xA0, 0x00, 0x40, 0x00})),
            rtf_ec_OK);
  ASSERT_EQ(probe.Pictures.size(), 1u);
  ASSERT_NE(probe.Pictures[0].Graphic, nullptr);
  EXPECT_EQ(MaxChannelDifference(BitmapPixels(static_cast<const TBitmap&>(*probe.Pictures[0].Graphic)),
                                 Expected(3, 2, {kWhite, kBlack, kWhite, kBlack, kWhite, kBlack})),
            0);
  TReaderProbe rgb;
  ASSERT_EQ(rgb.Parse(PictRtf("\\wbitmap0\\picw1\\pich1\\wbmbitspixel24", {30, 20, 10, 0})), rtf_ec_OK);
  ASSERT_NE(rgb.Pictures.at(0).Graphic, nullptr);
  EXPECT_EQ(static_cast<const TBitmap&>(*rgb.Pictures[0].Graphic).PixelColor(0, 0), 0x1E140A);
  TReaderProbe planes;
  EXPECT_EQ(planes.Parse(PictRtf("\\wbitmap0\\picw1\\pich1\\wbmplanes4", {0, 0})), rtf_ec_InvalidPicture);
}

// A STRETCHDIB record drawing dib.
Bytes StretchDibRecord(const Bytes& dib) {
  Bytes stretch;
  Put32(stretch, 0);                              // size in words, set below
  Put16(stretch, 0x0F43);                         // STRETCHDIB
  Put32(stretch, 0x00CC0020);                     // SRCCOPY
  Put16(stretch, 0);                              // colour usage: RGB
  for (int i = 0; i < 8; ++i) Put16(stretch, 2);  // source and destination rectangles
  Append(stretch, dib);
  if (stretch.size() % 2) stretch.push_back(0);
  StoreLE32(stretch.data(), static_cast<uint32_t>(stretch.size() / 2));
  return stretch;
}

// A Windows metafile: header, a map-mode record, a STRETCHDIB record holding dib, more
// records, and the end record.
Bytes Metafile(const Bytes& dib, const std::vector<Bytes>& extraRecords) {
  Bytes records;
  Append(records, {4, 0, 0, 0, 0x03, 0x01, 8, 0});  // SETMAPMODE (4 words) MM_ANISOTROPIC
  const Bytes stretch = StretchDibRecord(dib);
  Append(records, stretch);
  for (const Bytes& r : extraRecords) Append(records, r);
  Append(records, {3, 0, 0, 0, 0, 0});  // end record
  Bytes wmf;
  Put16(wmf, 1);                                                 // in memory
  Put16(wmf, 9);                                                 // header words
  Put16(wmf, 0x0300);                                            // version
  Put32(wmf, static_cast<uint32_t>((18 + records.size()) / 2));  // size in words
  Put16(wmf, 0);                                                 // objects
  Put32(wmf, static_cast<uint32_t>(stretch.size() / 2));         // largest record
  Put16(wmf, 0);                                                 // unused
  Append(wmf, records);
  return wmf;
}

// The header record of an enhanced metafile that draws nothing, framed 25.4 x 12.7 mm.
Bytes EnhancedMetafile() {
  Bytes emf(88, 0);
  StoreLE32(emf.data(), 1);                // EMR_HEADER
  StoreLE32(emf.data() + 4, 88);           // its size
  StoreLE32(emf.data() + 32, 2540);        // frame right (0.01 mm)
  StoreLE32(emf.data() + 36, 1270);        // frame bottom
  StoreLE32(emf.data() + 40, 0x464D4520);  // " EMF"
  return emf;
}

const Bytes kLineTo = {5, 0, 0, 0, 0x13, 0x02, 1, 0, 1, 0};  // LINETO: a drawing of its own

// Anisotropic metafiles give their size in 0.01 mm: 25.4 x 12.7 mm are 96 x 48 pixels.
TEST(RPRTFPictures, MetafilesGiveTheirOneBitmapOrThemselves) {
  const std::string wmf8 = "\\wmetafile8\\picw2540\\pich1270";
  const Bytes emf = EnhancedMetafile();
  const Bytes emfCut(emf.begin(), emf.begin() + 60);
  const struct {
    const char* Name;
    std::string Rtf;
    bool Extract;
    TRPRTFErrorCode Code;
    Lines Trace;
  } cases[] = {
      {"one bitmap", PictRtf("\\wmetafile8", Metafile(DibPalette8(), {})), true, rtf_ec_OK, {"pict N 5 2x2"}},
      {"extraction off", PictRtf(wmf8, Metafile(DibPalette8(), {})), false, rtf_ec_OK, {"pict N 5 96x48"}},
      {"another drawing", PictRtf(wmf8, Metafile(DibPalette8(), {kLineTo})), true, rtf_ec_OK, {"pict N 5 96x48"}},
      {"two bitmaps",
       PictRtf(wmf8, Metafile(DibPalette8(), {StretchDibRecord(DibCore1())})),
       true,
       rtf_ec_OK,
       {"pict N 5 96x48"}},
      {"no metafile", PictRtf("\\wmetafile8", {1, 2, 3, 4}), true, rtf_ec_InvalidPicture, {}},
      {"enhanced metafile", PictRtf("\\emfblip", EnhancedMetafile()), true, rtf_ec_OK, {"pict N 0 96x48"}},
      {"enhanced metafile cut short", PictRtf("\\emfblip", emfCut), true, rtf_ec_InvalidPicture, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TReaderProbe probe;
    probe.Reader.ExtractMetafileBitmaps = c.Extract;
    EXPECT_EQ(probe.Parse(c.Rtf), c.Code);
    EXPECT_EQ(probe.Trace, c.Trace);
  }
}

TEST(RPRTFPictures, ShapePicturesAndTheirAlternatives) {
  const std::string wmf = "{\\nonshppict{\\pict\\wmetafile8 " + HexOf(Metafile(DibPalette8(), {})) + "}}";
  const struct {
    const char* Name;
    std::string Rtf;
    Lines Trace;
  } cases[] = {
      {"an inserted shape picture hides the alternative",
       "{\\rtf1{\\*\\shppict{\\pict\\dibitmap0 " + HexOf(DibCore1()) + "}}" + wmf + "}",
       {"pict N 6 3x1"}},
      {"a shape picture without a graphic leaves it to the alternative",
       "{\\rtf1{\\*\\shppict{\\pict\\macpict 0102}}" + wmf + "}",
       {"pict N 3 none", "pict N 5 2x2"}},
      {"an alternative alone", "{\\rtf1 " + wmf + "}", {"pict N 5 2x2"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TReaderProbe probe;
    EXPECT_EQ(probe.Parse(c.Rtf), rtf_ec_OK);
    EXPECT_EQ(probe.Trace, c.Trace);
  }
}

TEST(RPRTFPictures, TheImportedGraphicHookSeesEveryLoadedGraphicBeforeItIsReported) {
  Lines seen;
  TReaderProbe probe;
  const TRPImportedGraphicHook saved = std::exchange(ImportedGraphicHook, [&](TGraphic& graphic) {
    seen.push_back(std::to_string(graphic.Width()) + " wide after " + std::to_string(probe.Trace.size()));
  });
  const TRPRTFErrorCode code = probe.Parse("{\\rtf1 a{\\pict\\dibitmap0 " + HexOf(DibCore1()) +
                                           "}{\\pict\\wmetafile8 " + HexOf(Metafile(DibPalette8(), {})) + "}b\\par}");
  ImportedGraphicHook = saved;
  EXPECT_EQ(code, rtf_ec_OK);
  EXPECT_EQ(seen, Lines({"3 wide after 1", "2 wide after 2"}));
}

TEST(RPRTFPictures, GoalSizesAndPositions) {
  TReaderProbe probe;
  probe.Reader.PixelsPerInch = 96;
  ASSERT_EQ(probe.Parse("{\\rtf1 a{\\pict\\dibitmap0\\picwgoal1440\\pichgoal725 " + HexOf(DibCore1()) + "}b\\par}"),
            rtf_ec_OK);
  EXPECT_EQ(probe.Trace, Lines({"text N 'a'", "pict C 6 3x1", "text C 'b'"}));
  ASSERT_EQ(probe.Pictures.size(), 1u);
  EXPECT_EQ(probe.Pictures[0].SuggestedWidth, 96);
  EXPECT_EQ(probe.Pictures[0].SuggestedHeight, 48);  // 48.33
}

TEST(RPRTFPictures, PngAndJpegMatchWhatPilDecodes) {
  const std::string png = ScratchPath("gradient.png");
  const std::string jpeg = ScratchPath("gradient.jpg");
  ASSERT_TRUE(RunPicturePeer({"make", png, jpeg}));
  const Bytes jpegBytes = ReadBytesOf(jpeg);
  TReaderProbe probe;
  ASSERT_EQ(
      probe.Parse("{\\rtf1{\\pict\\pngblip " + HexOf(ReadBytesOf(png)) + "}{\\pict\\jpegblip\\bin" +
                  std::to_string(jpegBytes.size()) + " " + std::string(jpegBytes.begin(), jpegBytes.end()) + "}}"),
      rtf_ec_OK);
  ASSERT_EQ(probe.Pictures.size(), 2u);
  ASSERT_NE(probe.Pictures[0].Graphic, nullptr);
  ASSERT_NE(probe.Pictures[1].Graphic, nullptr);
  EXPECT_NE(dynamic_cast<TPNGObject*>(probe.Pictures[0].Graphic.get()), nullptr);
  EXPECT_NE(dynamic_cast<TJPEGImage*>(probe.Pictures[1].Graphic.get()), nullptr);
  EXPECT_EQ(probe.Pictures[1].Data, ReadBytesOf(jpeg));  // \bin data arrives unchanged
  TBitmap pngPixels;
  pngPixels.Assign(*probe.Pictures[0].Graphic);
  EXPECT_EQ(MaxChannelDifference(BitmapPixels(pngPixels), PeerPixels(png, png)), 0);
  TBitmap jpegPixels;
  jpegPixels.Assign(*probe.Pictures[1].Graphic);
  EXPECT_LE(MaxChannelDifference(BitmapPixels(jpegPixels), PeerPixels(jpeg, jpeg)), 2);
}

// --- Fields ----------------------------------------------------------------------------

class RPRTFPictureFields : public ::testing::Test {
protected:
  void SetUp() override {
    Root = std::filesystem::path(ScratchPath("fields"));
    std::filesystem::remove_all(Root);
    std::filesystem::create_directories(Root / "base" / "sub dir");
    const std::string png = (Root / "base" / "pic.png").string();
    ASSERT_TRUE(RunPicturePeer({"make", png, (Root / "photo.jpg").string()}));
    std::filesystem::copy_file(png, Root / "base" / "sub dir" / "pic.png");
    std::filesystem::copy_file(png, Root / "outside.png");
    std::filesystem::create_symlink(Root / "outside.png", Root / "base" / "link.png");
  }
  void TearDown() override { std::filesystem::remove_all(Root); }

  // A field whose result holds a 3x1 bitmap of its own.
  static std::string Field(const std::string& instruction) {
    return "{\\rtf1{\\field{\\*\\fldinst " + instruction + "}{\\fldrslt{\\pict\\dibitmap0 " + HexOf(DibCore1()) +
           "}}}}";
  }

  std::filesystem::path Root;
};

TEST_F(RPRTFPictureFields, FilesAreReadOnlyWhenAllowedAndOnlyInsideTheBaseFolder) {
  const struct {
    const char* Instruction;
    bool Allow;
    Lines Trace;
  } cases[] = {
      {"INCLUDEPICTURE \"pic.png\"", true, {"pict N field 23x17"}},
      {"INCLUDEPICTURE \"pic.png\"", false, {"pict N 6 3x1"}},
      {"includepicture pic.png \\\\* MERGEFORMAT", true, {"pict N field 23x17"}},
      {"IMPORT pic.png", true, {"pict N field 23x17"}},
      {"INCLUDEPICTURE \"sub%20dir/pic.png\"", true, {"pict N field 23x17"}},
      {"INCLUDEPICTURE \"sub dir\\\\\\\\pic.png\"", true, {"pict N field 23x17"}},
      {"INCLUDEPICTURE \"../outside.png\"", true, {"pict N 6 3x1"}},
      {"INCLUDEPICTURE \"link.png\"", true, {"pict N 6 3x1"}},
      {"INCLUDEPICTURE \"/pic.png\"", true, {"pict N field 23x17"}},  // a leading delimiter is dropped
      {"INCLUDEPICTURE \"C:\\\\\\\\pic.png\"", true, {"pict N 6 3x1"}},
      {"INCLUDEPICTURE \"missing.png\"", true, {"pict N 6 3x1"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Instruction);
    TReaderProbe probe;
    probe.Reader.BasePath = (Root / "base").string() + "/";
    probe.Reader.AllowFieldPictureFiles = c.Allow;
    EXPECT_EQ(probe.Parse(Field(c.Instruction)), rtf_ec_OK);
    EXPECT_EQ(probe.Trace, c.Trace);
    if (!probe.Pictures.empty() && probe.Pictures[0].FromField) {
      EXPECT_EQ(probe.Pictures[0].FileName.rfind(probe.Reader.BasePath, 0), 0u) << probe.Pictures[0].FileName;
    }
  }
}

TEST_F(RPRTFPictureFields, TheOwnerMaySupplyOrRejectThePicture) {
  for (bool invalid : {false, true}) {
    SCOPED_TRACE(invalid);
    TReaderProbe probe;
    probe.Reader.BasePath = "/nowhere/";
    std::vector<std::string> asked;
    probe.Reader.OnImportPicture = [&](TRPRTFReader*, const AnsiString& location, std::unique_ptr<TGraphic>& graphic,
                                       bool& isInvalid) {
      asked.push_back(location);
      auto bitmap = std::make_unique<TBitmap>();
      bitmap->SetSize(5, 4);
      graphic = std::move(bitmap);
      isInvalid = invalid;
    };
    ASSERT_EQ(probe.Parse("{\\rtf1{\\field{\\*\\fldinst INCLUDEPICTURE \"a%20b.png\"}{\\fldrslt text}}}"), rtf_ec_OK);
    if (invalid) {
      // Both spellings were asked; the rejected picture comes at the field's end, after
      // the result, which inserted none.
      EXPECT_EQ(asked, Lines({"/nowhere/a%20b.png", "/nowhere/a b.png"}));
      EXPECT_EQ(probe.Trace, Lines({"text N 'text'", "pict C field 5x4"}));
    } else {
      EXPECT_EQ(asked, Lines({"/nowhere/a%20b.png"}));
      EXPECT_EQ(probe.Trace, Lines({"pict N field 5x4", "text C 'text'"}));
    }
  }
}

TEST(RPRTFSymbolFields, SizesReadWithAPointWhateverTheLocale) {
  const char oldSeparator = DefaultFormatSettings().DecimalSeparator;
  DefaultFormatSettings().DecimalSeparator = ',';
  const char* oldLocale = std::setlocale(LC_NUMERIC, nullptr);
  const std::string savedLocale = oldLocale ? oldLocale : "C";
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  TReaderProbe probe;
  probe.Reader.DefCodePage = 1252;
  const auto parsed = probe.Parse(
      "{\\rtf1{\\fonttbl{\\f0 Times;}}\\fs24 a{\\field{\\*\\fldinst SYMBOL 183 \\\\f \"Symbol\" \\\\s 10.5}"
      "{\\fldrslt\\f0\\fs20 \\'b7}}b{\\field{\\*\\fldinst SYMBOL 183 \\\\f \"Symbol\"}{\\fldrslt c}}}");
  std::setlocale(LC_NUMERIC, savedLocale.c_str());
  DefaultFormatSettings().DecimalSeparator = oldSeparator;
  ASSERT_EQ(parsed, rtf_ec_OK);
  ASSERT_EQ(probe.Runs.size(), 4u);
  EXPECT_EQ(probe.Runs[0].Text, "a");
  EXPECT_EQ(probe.Runs[1].Text, "\xC2\xB7");
  EXPECT_EQ(probe.Runs[1].FontName, "Symbol");
  EXPECT_EQ(probe.Runs[1].Char.Size, 10);  // 10.5 rounds to even
  EXPECT_EQ(probe.Runs[2].Text, "b");      // the result, the same character, is not read again
  EXPECT_EQ(probe.Runs[2].FontName, "Times");
  EXPECT_EQ(probe.Runs[2].Char.Size, 12);
  EXPECT_EQ(probe.Runs[3].Text, "c");  // without \s the field adds nothing and shows its result
}

}  // namespace
