// Loading: the chunk sequence, the checks of each chunk, the exceptions with their exact
// messages, the limits, and a failed load that leaves the image as it was. The broken
// files are built by hand; libpng is shown to refuse the same bytes.
#include <gtest/gtest.h>

#include <functional>

#include "LibpngPeer.h"
#include "PngTestFiles.h"

namespace {

const TBytes kIhdr = ChunkBytes("IHDR", IhdrData(4, 2, 8, 0));
const TBytes kIend = ChunkBytes("IEND", {});
// Two rows of four gray pixels, filter None.
const TBytes kRaw{0, 10, 20, 30, 40, 0, 50, 60, 70, 80};

template <typename TError>
void ExpectLoadFails(const TBytes& file, const std::string& message, bool libpngRefuses = true) {
  TPNGObject image;
  try {
    LoadPng(image, file);
    ADD_FAILURE() << "loaded";
  } catch (const TError& e) {
    EXPECT_EQ(std::string(e.what()), message);
  }
  if (libpngRefuses) {
    EXPECT_NE(LibpngReadRgba(file).Error, "");
  }
}

constexpr char kUnexpectedEnd[] =
    "This \"Portable Network Graphics\" image is invalid because the decoder found an unexpected end of the file.";
constexpr char kCrc[] =
    "This \"Portable Network Graphics\" image is not valid because it contains invalid pieces of data (crc error)";
constexpr char kIhdrBad[] =
    "The \"Portable Network Graphics\" image could not be loaded because one of its main piece of data (ihdr) might "
    "be corrupted";
constexpr char kSize[] =
    "This \"Portable Network Graphics\" image is not supported because either it's width or height exceeds the "
    "maximum size, which is 65535 pixels length.";

}  // namespace

TEST(PngLoad, ReadsAHandBuiltImage) {
  TPNGObject image;
  LoadPng(image, PngFile({kIhdr, ChunkBytes("IDAT", Deflated(kRaw)), kIend}));
  ASSERT_EQ(image.Width(), 4);
  EXPECT_EQ(image.Height(), 2);
  EXPECT_EQ(image.GetPixel(1, 0), static_cast<TColor>(RGB(20, 20, 20)));
  EXPECT_EQ(image.GetPixel(3, 1), static_cast<TColor>(RGB(80, 80, 80)));
  EXPECT_EQ(image.ChunkList().size(), 3u);
}

TEST(PngLoad, RejectsBrokenFilesWithTheirExceptions) {
  const TBytes idat = ChunkBytes("IDAT", Deflated(kRaw));
  TBytes truncated = PngFile({kIhdr, idat});
  truncated.resize(truncated.size() - 7);
  TBytes badZlib = Deflated(kRaw);
  badZlib[0] = 0x78;
  badZlib[1] = 0x9D;  // header check bits wrong
  ExpectLoadFails<EPNGInvalidFileHeader>(
      TBytes{137, 80, 78, 71, 13, 10, 26, 11},
      "The file being readed is not a valid \"Portable Network Graphics\" image because it contains an invalid "
      "header. This file may be corruped, try obtaining it again.");
  ExpectLoadFails<EPNGIHDRNotFirst>(
      PngFile({ChunkBytes("gAMA", {0, 0, 177, 143}), kIhdr, idat, kIend}),
      "This \"Portable Network Graphics\" image is not supported or it might be invalid.\r\n(IHDR chunk is not the "
      "first)");
  ExpectLoadFails<EPngInvalidCRC>(PngFile({ChunkBytes("IHDR", IhdrData(4, 2, 8, 0), true), idat, kIend}), kCrc);
  ExpectLoadFails<EPngInvalidCRC>(PngFile({kIhdr, ChunkBytes("IDAT", Deflated(kRaw), true), kIend}), kCrc);
  ExpectLoadFails<EPngUnexpectedEnd>(truncated, kUnexpectedEnd);
  ExpectLoadFails<EPngUnexpectedEnd>(PngFile({kIhdr, idat}), kUnexpectedEnd, false);  // no IEND
  ExpectLoadFails<EPNGZLIBError>(
      PngFile({kIhdr, ChunkBytes("IDAT", badZlib), kIend}),
      "Could not decompress the image because it contains invalid compressed data.\r\n Description: incorrect header "
      "check");
  ExpectLoadFails<EPNGUnknownCriticalChunk>(
      PngFile({kIhdr, ChunkBytes("ABCD", {1, 2}), idat, kIend}),
      "This \"Portable Network Graphics\" image contains an unknown critical part which could not be decoded.");
  ExpectLoadFails<EPNGNoImageData>(PngFile({kIhdr, kIend}),
                                   "This \"Portable Network Graphics\" image contains no data.");
  TBytes split = Deflated(kRaw);
  const TBytes firstHalf(split.begin(), split.begin() + 5);
  ExpectLoadFails<EPNGMissingMultipleIDAT>(
      PngFile({kIhdr, ChunkBytes("IDAT", firstHalf), kIend}),
      "This \"Portable Network Graphics\" image is invalid because it has missing image parts.");
  ExpectLoadFails<EPNGInvalidPalette>(
      PngFile({ChunkBytes("IHDR", IhdrData(4, 2, 8, 3)), ChunkBytes("PLTE", TBytes(769)), idat, kIend}),
      "The \"Portable Network Graphics\" image contains an invalid palette.");
  ExpectLoadFails<EPNGInvalidPalette>(
      PngFile({ChunkBytes("IHDR", IhdrData(4, 2, 8, 3)), ChunkBytes("PLTE", TBytes(770)), idat, kIend}),
      "The \"Portable Network Graphics\" image contains an invalid palette.");
  ExpectLoadFails<EPNGUnknownCompression>(
      PngFile({ChunkBytes("IHDR", {0, 0, 0, 4, 0, 0, 0, 2, 8, 0, 1, 0, 0}), idat, kIend}),
      "This \"Portable Network Graphics\" image is encoded with an unknown compression scheme which could not be "
      "decoded.");
  ExpectLoadFails<EPNGUnknownInterlace>(
      PngFile({ChunkBytes("IHDR", IhdrData(4, 2, 8, 0, 2)), idat, kIend}),
      "This \"Portable Network Graphics\" image uses an unknown interlace scheme which could not be decoded.");
}

TEST(PngLoad, ValidatesTheHeader) {
  const TBytes idat = ChunkBytes("IDAT", Deflated(kRaw));
  const struct {
    const char* What;
    TBytes Header;
  } cases[] = {
      {"short", TBytes(kIhdr.begin() + 8, kIhdr.begin() + 20)},  // 12 of the 13 bytes
      {"zero width", IhdrData(0, 2, 8, 0)},
      {"zero height", IhdrData(4, 0, 8, 0)},
      {"RGB at 4 bits", IhdrData(4, 2, 4, 2)},
      {"palette at 16 bits", IhdrData(4, 2, 16, 3)},
      {"gray at 3 bits", IhdrData(4, 2, 3, 0)},
      {"colour type 5", IhdrData(4, 2, 8, 5)},
      {"colour type 1", IhdrData(4, 2, 8, 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    ExpectLoadFails<EPngInvalidIHDR>(PngFile({ChunkBytes("IHDR", c.Header), idat, kIend}), kIhdrBad);
  }
  ExpectLoadFails<EPngInvalidIHDR>(PngFile({kIhdr, kIhdr, idat, kIend}), kIhdrBad);  // a second header
  ExpectLoadFails<EPNGSizeExceeds>(PngFile({ChunkBytes("IHDR", IhdrData(65536, 1, 8, 0)), idat, kIend}), kSize);
  // Within the side limit, but the raster would pass the byte limit.
  ExpectLoadFails<EPNGSizeExceeds>(PngFile({ChunkBytes("IHDR", IhdrData(65535, 65535, 16, 6)), idat, kIend}), kSize,
                                   false);
}

TEST(PngLoad, RejectsChunkLengthsBeyondTheStreamOrTheFormat) {
  TBytes huge = PngFile({kIhdr});
  AppendBE32(huge, 0x80000000u);  // above 2^31 - 1
  huge.insert(huge.end(), {'t', 'E', 'X', 't', 0, 0, 0, 0});
  ExpectLoadFails<EPngUnexpectedEnd>(huge, kUnexpectedEnd);
  TBytes beyond = PngFile({kIhdr});
  AppendBE32(beyond, 1000);  // only 8 bytes follow
  beyond.insert(beyond.end(), {'I', 'D', 'A', 'T', 1, 2, 3, 4, 5, 6, 7, 8});
  ExpectLoadFails<EPngUnexpectedEnd>(beyond, kUnexpectedEnd);
}

TEST(PngLoad, LimitsAreSettablePerObject) {
  const TBytes file = PngFile({kIhdr, ChunkBytes("tEXt", TBytes(100, 'a')), ChunkBytes("IDAT", Deflated(kRaw)), kIend});
  const std::function<void(TPngLimits&)> narrowings[] = {
      [](TPngLimits& l) { l.MaxWidthPx = 3; },    [](TPngLimits& l) { l.MaxHeightPx = 1; },
      [](TPngLimits& l) { l.MaxImageBytes = 7; }, [](TPngLimits& l) { l.MaxChunkBytes = 99; },
      [](TPngLimits& l) { l.MaxChunkCount = 3; },
  };
  for (size_t i = 0; i < std::size(narrowings); ++i) {
    SCOPED_TRACE(i);
    TPNGObject image;
    narrowings[i](image.Limits);
    EXPECT_THROW(LoadPng(image, file), EPngError);
    TPNGObject fresh;
    LoadPng(fresh, file);
    EXPECT_EQ(fresh.Width(), 4);
  }
}

TEST(PngLoad, AFailedLoadLeavesTheImageAsItWas) {
  TPNGObject image;
  LoadPng(image, SmallGrayPng(3, 2, 7));
  const TColor before = image.GetPixel(2, 1);
  TBytes broken = SmallGrayPng(5, 5, 1);
  broken[broken.size() - 20] ^= 0xFF;  // inside the image data: its CRC fails
  EXPECT_THROW(LoadPng(image, broken), EPngError);
  EXPECT_THROW(LoadPng(image, PngFile({ChunkBytes("IHDR", IhdrData(9, 9, 8, 0))})), EPngUnexpectedEnd);
  EXPECT_EQ(image.Width(), 3);
  EXPECT_EQ(image.GetPixel(2, 1), before);
  EXPECT_EQ(image.ChunkList().size(), 3u);
  LoadPng(image, SmallGrayPng(6, 4, 3));
  EXPECT_EQ(image.Width(), 6);
  EXPECT_EQ(image.GetPixel(1, 2), static_cast<TColor>(RGB(3 + 16 + 2, 3 + 16 + 2, 3 + 16 + 2)));
}

TEST(PngLoad, ImageDataOverManyChunksDecodesAsOne) {
  const TBytes packed = Deflated(kRaw);
  for (size_t piece : {size_t{1}, size_t{2}, size_t{5}, packed.size()}) {
    SCOPED_TRACE(piece);
    TBytes file = PngFile({kIhdr});
    for (size_t at = 0; at < packed.size(); at += piece) {
      const TBytes part(packed.begin() + static_cast<ptrdiff_t>(at),
                        packed.begin() + static_cast<ptrdiff_t>(std::min(at + piece, packed.size())));
      const TBytes chunk = ChunkBytes("IDAT", part);
      file.insert(file.end(), chunk.begin(), chunk.end());
    }
    file.insert(file.end(), kIend.begin(), kIend.end());
    TPNGObject image;
    LoadPng(image, file);
    EXPECT_EQ(image.GetPixel(2, 1), static_cast<TColor>(RGB(70, 70, 70)));
    EXPECT_EQ(LibpngReadRgba(file).Error, "");
  }
  // A wrong CRC in the middle chunk of three.
  const size_t third = packed.size() / 3;
  const TBytes a(packed.begin(), packed.begin() + static_cast<ptrdiff_t>(third)),
      b(packed.begin() + static_cast<ptrdiff_t>(third), packed.begin() + static_cast<ptrdiff_t>(2 * third)),
      c(packed.begin() + static_cast<ptrdiff_t>(2 * third), packed.end());
  ExpectLoadFails<EPngInvalidCRC>(
      PngFile({kIhdr, ChunkBytes("IDAT", a), ChunkBytes("IDAT", b, true), ChunkBytes("IDAT", c), kIend}), kCrc);
}

TEST(PngLoad, IdatAfterOtherChunksIsIgnored) {
  // IHDR, IDAT, IDAT, tEXt, IDAT, IEND: the third IDAT (rows of 255) plays no part.
  const TBytes packed = Deflated(kRaw);
  const TBytes a(packed.begin(), packed.begin() + 4), b(packed.begin() + 4, packed.end());
  TPNGObject image;
  LoadPng(image, PngFile({kIhdr, ChunkBytes("IDAT", a), ChunkBytes("IDAT", b), ChunkBytes("tEXt", {'k', 0, 'v'}),
                          ChunkBytes("IDAT", Deflated(TBytes(10, 255))), kIend}));
  EXPECT_EQ(image.GetPixel(0, 0), static_cast<TColor>(RGB(10, 10, 10)));
  EXPECT_EQ(image.ChunkList().size(), 4u);  // IHDR, IDAT, tEXt, IEND
}

TEST(PngLoad, TheRestOfTheLastImageChunkIsSkippedAndChecked) {
  TBytes data = Deflated(kRaw);
  data.insert(data.end(), {1, 2, 3, 4, 5});  // after the zlib stream, inside the chunk
  TPNGObject image;
  LoadPng(image, PngFile({kIhdr, ChunkBytes("IDAT", data), ChunkBytes("tEXt", {'k', 0, 'v'}), kIend}));
  EXPECT_EQ(image.GetPixel(3, 1), static_cast<TColor>(RGB(80, 80, 80)));
  ASSERT_NE(image.ItemFromClass<TChunktEXt>(), nullptr);
  EXPECT_EQ(image.ItemFromClass<TChunktEXt>()->Text, "v");
  ExpectLoadFails<EPngInvalidCRC>(PngFile({kIhdr, ChunkBytes("IDAT", data, true), kIend}), kCrc);
}

TEST(PngLoad, UnknownFilterTypesLeaveTheRowAsStored) {
  const TBytes raw{5, 1, 2, 3, 4, 2, 1, 1, 1, 1};  // type 5, then Up
  TPNGObject image;
  LoadPng(image, PngFile({kIhdr, ChunkBytes("IDAT", Deflated(raw)), kIend}));
  EXPECT_EQ(image.RowPointer(0)[3], 4);
  EXPECT_EQ(image.RowPointer(1)[3], 5);
}

TEST(PngLoad, ShortImageDataKeepsTheRowsDecoded) {
  // The zlib stream ends after the first row: the second row stays zero.
  const TBytes raw(kRaw.begin(), kRaw.begin() + 5);
  TPNGObject image;
  LoadPng(image, PngFile({kIhdr, ChunkBytes("IDAT", Deflated(raw)), kIend}));
  EXPECT_EQ(image.RowPointer(0)[3], 40);
  EXPECT_EQ(image.RowPointer(1)[0], 0);
}

TEST(PngLoad, AncillaryChunksAreKeptAndRead) {
  const TBytes zText = [] {
    TBytes d{'T', 'i', 't', 'l', 'e', 0, 0};
    const TBytes packed = Deflated(TBytes{'h', 'e', 'l', 'l', 'o'});
    d.insert(d.end(), packed.begin(), packed.end());
    return d;
  }();
  TPNGObject image;
  LoadPng(image, PngFile({kIhdr, ChunkBytes("vpAg", {1, 2, 3}), ChunkBytes("pHYs", {0, 0, 11, 19, 0, 0, 11, 18, 1}),
                          ChunkBytes("tIME", {7, 230, 12, 10, 1, 2, 3}), ChunkBytes("zTXt", zText),
                          ChunkBytes("cHRM", TBytes(32)), ChunkBytes("IDAT", Deflated(kRaw)), kIend}));
  const auto* phys = image.ItemFromClass<TChunkpHYs>();
  ASSERT_NE(phys, nullptr);
  EXPECT_EQ(phys->PPUnitX, 2835u);
  EXPECT_EQ(phys->PPUnitY, 2834u);
  EXPECT_EQ(phys->UnitType, 1);
  const auto* time = image.ItemFromClass<TChunktIME>();
  ASSERT_NE(time, nullptr);
  EXPECT_EQ(time->Year, 2022);
  EXPECT_EQ(time->Second, 3);
  const auto* text = image.ItemFromClass<TChunkzTXt>();
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->Keyword, "Title");
  EXPECT_EQ(text->Text, "hello");
  // vpAg is kept as it was read; cHRM is skipped.
  ASSERT_EQ(image.ChunkList().size(), 7u);
  EXPECT_EQ(image.ChunkList()[1]->ChunkType, ChunkTypeOf("vpAg"));
  EXPECT_EQ(image.ChunkList()[1]->Data, (TBytes{1, 2, 3}));
  // A tIME of 8 bytes is kept but not read.
  TPNGObject other;
  LoadPng(other, PngFile({kIhdr, ChunkBytes("tIME", {7, 230, 12, 10, 1, 2, 3, 4}), ChunkBytes("IDAT", Deflated(kRaw)),
                          kIend}));
  EXPECT_EQ(other.ItemFromClass<TChunktIME>()->Year, 0);
  EXPECT_EQ(other.ItemFromClass<TChunktIME>()->DataSize(), 8u);
}

TEST(PngLoad, CompressedTextIsInflatedWithinItsLimit) {
  TBytes bomb{'k', 0, 0};
  const TBytes packed = Deflated(TBytes(1 << 20, 'x'));
  bomb.insert(bomb.end(), packed.begin(), packed.end());
  const TBytes file = PngFile({kIhdr, ChunkBytes("zTXt", bomb), ChunkBytes("IDAT", Deflated(kRaw)), kIend});
  TPNGObject image;
  image.Limits.MaxTextBytes = 1000;
  LoadPng(image, file);
  EXPECT_EQ(image.ItemFromClass<TChunkzTXt>()->Text, "");
  TPNGObject roomy;
  LoadPng(roomy, file);
  EXPECT_EQ(roomy.ItemFromClass<TChunkzTXt>()->Text.size(), size_t{1} << 20);
}

TEST(PngLoad, GammaFillsTheCurvesAndNonPositiveValuesAreIgnored) {
  auto load = [](uint32_t gamma) {
    TBytes value;
    AppendBE32(value, gamma);
    auto image = std::make_unique<TPNGObject>();
    LoadPng(*image, PngFile({kIhdr, ChunkBytes("gAMA", value), ChunkBytes("IDAT", Deflated(kRaw)), kIend}));
    return image;
  };
  // round(255 × (i / 255) ^ (1 / 2.2)) for gamma 1.0.
  const auto linear = load(100000);
  EXPECT_EQ(linear->GammaCurve[1], 21);
  EXPECT_EQ(linear->GammaCurve[64], 136);
  EXPECT_EQ(linear->GammaCurve[128], 186);
  EXPECT_EQ(linear->GammaCurve[200], 228);
  EXPECT_EQ(linear->InverseGammaCurve[186], 128);
  EXPECT_EQ(linear->GetPixel(0, 0),
            static_cast<TColor>(RGB(linear->GammaCurve[10], linear->GammaCurve[10], linear->GammaCurve[10])));
  for (uint32_t identity : {45455u, 0u, 0x80000000u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(identity);
    const auto image = load(identity);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(image->GammaCurve[static_cast<size_t>(i)], i);
  }
}

TEST(PngLoad, PaletteEntriesAndTheirLimits) {
  TBytes palette;
  for (int i = 0; i < 256; ++i)
    palette.insert(palette.end(), {static_cast<uint8_t>(i), 0, static_cast<uint8_t>(255 - i)});
  TPNGObject image;
  LoadPng(image, PngFile({ChunkBytes("IHDR", IhdrData(4, 2, 8, 3)), ChunkBytes("PLTE", palette),
                          ChunkBytes("IDAT", Deflated(kRaw)), kIend}));
  const auto* plte = image.ItemFromClass<TChunkPLTE>();
  ASSERT_NE(plte, nullptr);
  EXPECT_EQ(plte->EntryCount, 256u);
  EXPECT_EQ(plte->GetPaletteEntry(30).peBlue, 225);
  EXPECT_EQ(image.GetPixel(2, 0), static_cast<TColor>(RGB(30, 0, 225)));
  try {
    TPNGObject small;
    LoadPng(small, PngFile({ChunkBytes("IHDR", IhdrData(4, 2, 8, 3)), ChunkBytes("PLTE", {1, 2, 3}),
                            ChunkBytes("IDAT", Deflated(kRaw)), kIend}));
    small.ItemFromClass<TChunkPLTE>()->GetPaletteEntry(1);
    ADD_FAILURE() << "no exception";
  } catch (const EPngError& e) {
    EXPECT_STREQ(e.what(), "There is no such palette entry.");
  }
}
