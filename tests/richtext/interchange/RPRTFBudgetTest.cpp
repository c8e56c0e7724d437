// The budget of one RTF parse: an allowance plus a share of the input, under a ceiling,
// and the imports that would build far more than their size says refused within it: the
// tables fail the import, the pictures are left out.
#include <gtest/gtest.h>

#include <string>

#include "imaging/png/PngTestFiles.h"
#include "platform/base/LittleEndian.h"
#include "richtext/interchange/RPRTFBudget.h"
#include "richtext/interchange/RPRTFImportFixture.h"
#include "xml/XmlAllocationMeter.h"

namespace {

constexpr int64_t kMiB = int64_t{1} << 20;

TEST(RPRTFBudget, AllowancePlusAShareOfTheInputUnderTheCeiling) {
  const TRPRTFLimits limits{.TableCellAllowance = 100,
                            .InputBytesPerTableCell = 4,
                            .MaxImportTableCells = 1000,
                            .PicturePixelAllowance = 50,
                            .PicturePixelsPerInputByte = 3,
                            .MaxImportPicturePixels = 500,
                            .AddedTextStyleAllowance = 2,
                            .InputBytesPerAddedTextStyle = 50,
                            .MaxAddedTextStyles = 9};
  struct TCase {
    int64_t InputBytes, Cells, Pixels, TextStyles;
  } cases[] = {
      {-1, 100, 50, 2},                  // a stream that cannot tell its size: the allowances
      {0, 100, 50, 2},                   //
      {400, 200, 500, 9},                // 100 + 400/4 cells; 50 + 1200 pixels, 2 + 8 styles at the ceilings
      {100, 125, 350, 4},                //
      {int64_t{1} << 62, 1000, 500, 9},  // the ceilings, without overflow
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.InputBytes);
    TRPRTFBudget budget;
    budget.Start(limits, c.InputBytes);
    EXPECT_EQ(budget.TableCellsLeft(), c.Cells);
    EXPECT_EQ(budget.PicturePixelsLeft(), c.Pixels);
    EXPECT_EQ(budget.AddedTextStylesLeft(), c.TextStyles);
    for (int64_t i = 0; i < c.TextStyles; ++i) EXPECT_TRUE(budget.SpendAddedTextStyle());
    EXPECT_FALSE(budget.SpendAddedTextStyle());
    EXPECT_EQ(budget.AddedTextStylesLeft(), 0);
    EXPECT_TRUE(budget.SpendTableCells(c.Cells));
    EXPECT_FALSE(budget.SpendTableCells(1));
    // Once over, the budget stays spent.
    EXPECT_FALSE(budget.SpendTableCells(0));
    // A picture that does not fit takes nothing; one left out gives back what it took.
    EXPECT_FALSE(budget.SpendPicturePixels(c.Pixels + 1));
    EXPECT_TRUE(budget.SpendPicturePixels(c.Pixels));
    EXPECT_FALSE(budget.SpendPicturePixels(1));
    budget.ReturnPicturePixels(c.Pixels);
    EXPECT_EQ(budget.PicturePixelsLeft(), c.Pixels);
  }
}

std::string HexOf(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char b : bytes) {
    hex += digits[b >> 4];
    hex += digits[b & 15];
  }
  return hex;
}

void PutBE32(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(value >> shift);
}

// A PNG that declares 20000 x 20000 RGB pixels and carries 64 bytes of image data: no
// zlib stream of 64 bytes inflates to the 1.2 GB its rows take. CRCs are left 0; the
// import refuses the picture before any chunk is checked.
std::string HugePngWithLittleData() {
  std::string png("\x89PNG\r\n\x1a\n", 8);
  PutBE32(png, 13);
  png += "IHDR";
  PutBE32(png, 20000);          // width
  PutBE32(png, 20000);          // height
  png += '\x08';                // bit depth
  png += '\x02';                // colour type: RGB
  png += std::string(3, '\0');  // compression, filter, interlace
  PutBE32(png, 0);              // CRC
  PutBE32(png, 64);
  png += "IDAT";
  png += std::string("\x78\x01", 2) + std::string(62, '\0');
  PutBE32(png, 0);
  PutBE32(png, 0);
  png += "IEND";
  PutBE32(png, 0);
  return png;
}

// An 8-bit run-length bitmap of 20000 x 20000 pixels whose data codes one run of 4.
std::string HugeRle8Dib() {
  std::string dib(40, '\0');
  auto put32 = [&](size_t at, uint32_t v) { StoreLE32(reinterpret_cast<uint8_t*>(dib.data()) + at, v); };
  put32(0, 40);     // header bytes
  put32(4, 20000);  // width
  put32(8, 20000);  // height, bottom-up
  dib[12] = 1;      // planes
  dib[14] = 8;      // bits per pixel
  put32(16, 1);     // BI_RLE8
  put32(32, 2);     // two colours
  dib += std::string("\0\0\0\0\xff\xff\xff\0", 8);
  dib += std::string("\x04\x01\0\x01", 4);  // a run of 4 of colour 1, end of bitmap
  return dib;
}

// An enhanced metafile of a 1000-pixel reference device on 264 mm (about 96 per inch)
// whose frame is frame x frame in 0.01 mm, holding a stretched-bitmap record of the
// run-length bitmap above when given one.
std::string EnhancedMetafile(int32_t frame, bool withBitmap) {
  std::string records;
  auto put = [](std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>(v >> (8 * i));
  };
  if (withBitmap) {
    const std::string dib = HugeRle8Dib();  // 40 header bytes, 8 of colours, 4 of runs
    put(records, 81);                       // STRETCHDIBITS
    put(records, 80 + static_cast<uint32_t>(dib.size()));
    // bounds, destination, source, header offset and bytes, rows offset and bytes,
    // usage, operation, destination size
    for (uint32_t v :
         {0u, 0u, 99u, 99u, 0u, 0u, 0u, 0u, 20000u, 20000u, 80u, 48u, 128u, 4u, 0u, 0x00CC0020u, 100u, 100u})
      put(records, v);
    records += dib;
  }
  for (uint32_t v : {14u, 20u, 0u, 16u, 20u}) put(records, v);  // EOF
  std::string emf;
  put(emf, 1);
  put(emf, 88);
  for (uint32_t v : {0u,
                     0u,
                     99u,
                     99u,
                     0u,
                     0u,
                     uint32_t(frame),
                     uint32_t(frame),
                     0x464D4520u,
                     0x10000u,
                     88u + uint32_t(records.size()),
                     withBitmap ? 3u : 2u,
                     1u,
                     0u,
                     0u,
                     0u,
                     1000u,
                     1000u,
                     264u,
                     264u})
    put(emf, v);
  return emf + records;
}

// Imports rtf into an empty document under an allocation meter: the result, what the
// document holds then, and the peak of the bytes alive.
struct TMeteredImport {
  TRPRTFErrorCode Code;
  std::string Content;
  int64_t PeakBytes;
};

TMeteredImport ImportMetered(const std::string& rtf) {
  TImportFixture fixture;
  TAllocationMeter meter;
  const TRPRTFErrorCode code = fixture.Import(rtf);
  return {code, fixture.Dump(fixture.Data()), meter.PeakLiveBytes()};
}

// The dump line of the invalid picture that stands for a picture left out, starting a
// paragraph or continuing it.
std::string LeftOutPicture(bool startsParagraph) {
  TImportFixture fixture;
  const TGraphic& invalid = *fixture.Style.GetInvalidPicture();
  return "pict " + std::to_string(invalid.Width()) + "x" + std::to_string(invalid.Height()) + " p=0 " +
         (startsParagraph ? "N" : "C") + "\n";
}

TEST(RPRTFBudget, BlowUpsFromSmallInputsAreRefusedWithinTheBudget) {
  // One row definition of 1000 cells, then rows that reuse it: 1000 cells per 10 bytes.
  std::string sameRows = "{\\rtf1\\trowd";
  for (int k = 1; k <= 1000; ++k) sameRows += "\\cellx" + std::to_string(k * 10);
  while (sameRows.size() < 20000) sameRows += "\\intbl\\row";
  sameRows += "}";
  // Rows of three cells whose boundaries move by a twip each, almost a megabyte of them:
  // the grid grows by columns every other row, and its positions are what the budget
  // refuses, long before their cells would fill memory.
  std::string shiftedRows = "{\\rtf1";
  for (int r = 0; shiftedRows.size() < 985000; ++r) {
    shiftedRows += "\\trowd";
    for (int k = 1; k <= 3; ++k) shiftedRows += "\\cellx" + std::to_string(k * 1000 + r);
    shiftedRows += "\\intbl x\\cell x\\cell x\\cell\\row";
  }
  shiftedRows += "}";
  std::string pngs = "{\\rtf1";
  for (int i = 0; i < 4; ++i) pngs += "{\\pict\\pngblip " + HexOf(HugePngWithLittleData()) + "}";
  pngs += "}";
  const std::string rle = "{\\rtf1{\\pict\\dibitmap0 " + HexOf(HugeRle8Dib()) + "}}";
  // Metafiles kept as metafiles: a bitmap record of the run-length bitmap, and a frame
  // of 20 x 20 metres (a bitmap of 75590 x 75590 pixels when played).
  const std::string metafileRle = "{\\rtf1{\\pict\\emfblip " + HexOf(EnhancedMetafile(2540, true)) + "}}";
  const std::string metafileFrame = "{\\rtf1{\\pict\\emfblip " + HexOf(EnhancedMetafile(2'000'000, false)) + "}}";

  // A table over the budget fails the import, which takes back what it added; a picture
  // over it is left out, and the invalid picture stands in its place.
  const std::string leftOut = LeftOutPicture(true);
  const std::string leftOutAfter = LeftOutPicture(false);
  const struct {
    const char* Name;
    const std::string& Rtf;
    TRPRTFErrorCode Code;
    std::string Content;
  } cases[] = {
      {"same rows", sameRows, rtf_ec_BadTable, ""},
      {"shifted rows", shiftedRows, rtf_ec_BadTable, ""},
      {"PNGs", pngs, rtf_ec_OK, leftOut + leftOutAfter + leftOutAfter + leftOutAfter},
      {"RLE", rle, rtf_ec_OK, leftOut},
      {"RLE in a metafile", metafileRle, rtf_ec_OK, leftOut},
      {"metafile frame", metafileFrame, rtf_ec_OK, leftOut},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TMeteredImport result = ImportMetered(c.Rtf);
    EXPECT_EQ(result.Code, c.Code);
    EXPECT_EQ(result.Content, c.Content);
    EXPECT_LT(result.PeakBytes, 64 * kMiB);
  }
}

// Two flat pictures of 4000 x 4000 pixels between lines of text, and a small one after
// them: the first fits in what the document's size allows, the second does not and is
// left out, the small one fits still. The text is all there.
TEST(RPRTFBudget, APictureOverTheBudgetIsLeftOutAndTheRestStays) {
  const TBytes flatRows(static_cast<size_t>(4000) * (1 + 4000), 0);  // each row: filter None, then black
  const TBytes flat = PngFile(
      {ChunkBytes("IHDR", IhdrData(4000, 4000, 8, 0)), ChunkBytes("IDAT", Deflated(flatRows)), ChunkBytes("IEND", {})});
  const std::string flatHex = HexOf(std::string(flat.begin(), flat.end()));
  const std::string rtf = "{\\rtf1 first\\par{\\pict\\pngblip " + flatHex + "}\\par second\\par{\\pict\\pngblip " +
                          flatHex + "}\\par third\\par{\\pict\\dibitmap0 " + DibHex(2, 3) + "}\\par}";
  TImportFixture fixture;
  ASSERT_EQ(fixture.Import(rtf), rtf_ec_OK);
  EXPECT_EQ(fixture.Dump(fixture.Data()),
            "text s=0 p=0 N 'first'\n"
            "pict 4000x4000 p=0 N\n"
            "text s=0 p=0 N 'second'\n" +
                LeftOutPicture(true) +
                "text s=0 p=0 N 'third'\n"
                "pict 2x3 p=0 N\n");
}

TEST(RPRTFBudget, TablesWithinTheBudgetImport) {
  // 300 rows of 10 cells, each cell with its own text: far inside.
  std::string rtf = "{\\rtf1";
  for (int r = 0; r < 300; ++r) {
    rtf += "\\trowd";
    for (int k = 1; k <= 10; ++k) rtf += "\\cellx" + std::to_string(k * 500);
    for (int k = 1; k <= 10; ++k) rtf += "\\intbl c\\cell";
    rtf += "\\row";
  }
  rtf += "}";
  TImportFixture fixture;
  ASSERT_EQ(fixture.Import(rtf), rtf_ec_OK);
  EXPECT_NE(fixture.Dump(fixture.Data()).find("table 300x10"), std::string::npos);
}

}  // namespace
