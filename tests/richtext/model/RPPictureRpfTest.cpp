#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RPPictureTestData.h"
#include "RPTestCanvas.h"
#include "platform/base/Streams.h"
#include "richtext/model/RPPictureItems.h"

namespace {

std::string Text(TMemoryStream& stream) {
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

std::unique_ptr<TRPGraphicItemInfo> AltPicture() {
  auto item = std::make_unique<TRPGraphicItemInfo>(nullptr, Picture({"RB"}), rpvaAbsTop);
  item->Alt = "x";
  item->Tag = TRPTag::FromNumber(7);
  return item;
}

// Hands the lines after the header to a fresh picture, as the document reader would;
// answers whether every line was taken.
bool ReadLines(TRPGraphicItemInfo& item, TFakeRPFStreaming& reader, TRPFBodyMode mode,
               const std::vector<AnsiString>& lines, AnsiString& name, std::vector<TRPFLineMode>* modes = nullptr) {
  TRPFReadState state = rpfrsReading;
  for (size_t i = 0; i < lines.size(); ++i) {
    TRPFLineMode lineMode = rpflmText;
    if (!item.ReadRPFLine(lines[i], reader, mode, static_cast<int32_t>(i), static_cast<int32_t>(lines.size()), name,
                          lineMode, state))
      return false;
    if (modes) modes->push_back(lineMode);
    EXPECT_EQ(state, i + 1 == lines.size() ? rpfrsItemDone : rpfrsReading);
  }
  return true;
}

// Readers create pictures by class name: the bitmap class is registered as start-up
// does.
class RPPictureRpfTest : public ::testing::Test {
protected:
};

TEST_F(RPPictureRpfTest, WithoutBodyTheNameAndPropertiesAreWritten) {
  auto item = AltPicture();
  TFakeRPFStreaming writer;
  TMemoryStream stream;
  item->SaveRPF(stream, writer, 0, 4, "pic", nullptr, false);
  item->SetPageBreakBefore(true);
  item->SaveRPF(stream, writer, 0, 4, "pic", nullptr, true);
  EXPECT_EQ(Text(stream), "-3 2 4 0 1 7 2\r\npic\r\nalt=x\r\n-3 2 -1 1 1 7 2\r\npic\r\nalt=x\r\n");
}

TEST_F(RPPictureRpfTest, HexBodyRoundTrips) {
  auto item = AltPicture();
  TFakeRPFStreaming writer;
  writer.RPFOptions = rpfoSavePicturesBody;
  TMemoryStream stream;
  item->SaveRPF(stream, writer, 0, 4, "pic", nullptr, false);
  const std::string hex = writer.PictureToHex(*item->Image);
  EXPECT_EQ(Text(stream), "-3 4 4 0 0 7 2\r\npic\r\nTBitmap\r\nalt=x\r\n" + hex + "\r\n");

  TRPGraphicItemInfo back(nullptr);
  TFakeRPFStreaming reader;
  AnsiString name;
  ASSERT_TRUE(ReadLines(back, reader, rpfbmHex, {"pic", "TBitmap", "alt=x", hex}, name));
  EXPECT_EQ(name, "pic");
  EXPECT_EQ(back.Alt, "x");
  ASSERT_NE(back.Image, nullptr);
  EXPECT_EQ(Letters(static_cast<const TBitmap&>(*back.Image)), (std::vector<std::string>{"RB"}));
  EXPECT_EQ(reader.Warnings, 0u);
}

TEST_F(RPPictureRpfTest, BinaryBodyAsksForTheDataLineAsABlock) {
  auto item = AltPicture();
  TFakeRPFStreaming writer;
  writer.RPFOptions = rpfoSavePicturesBody | rpfoSaveBinary;
  TMemoryStream stream;
  item->SaveRPF(stream, writer, 0, 4, "pic", nullptr, false);
  const std::string bytes = StreamOf(*item->Image);
  const std::string length{static_cast<char>(bytes.size()), 0, 0, 0};
  EXPECT_EQ(Text(stream), "-3 4 4 0 2 7 2\r\npic\r\nTBitmap\r\nalt=x\r\n" + length + bytes);

  TRPGraphicItemInfo back(nullptr);
  TFakeRPFStreaming reader;
  AnsiString name;
  std::vector<TRPFLineMode> modes;
  ASSERT_TRUE(ReadLines(back, reader, rpfbmBinary, {"pic", "TBitmap", "alt=x", bytes}, name, &modes));
  // After the line before the data the reader is told to read a binary block.
  EXPECT_EQ(modes, (std::vector<TRPFLineMode>{rpflmText, rpflmText, rpflmBinaryBlock, rpflmText}));
  ASSERT_NE(back.Image, nullptr);
  EXPECT_EQ(Letters(static_cast<const TBitmap&>(*back.Image)), (std::vector<std::string>{"RB"}));
}

TEST_F(RPPictureRpfTest, BodyIsLeftOutWithoutAnImage) {
  TRPGraphicItemInfo item(nullptr);
  TFakeRPFStreaming writer;
  writer.RPFOptions = rpfoSavePicturesBody;
  TMemoryStream stream;
  item.SaveRPF(stream, writer, 0, 0, "none", nullptr, false);
  EXPECT_EQ(Text(stream), "-3 1 0 0 1 0 0\r\nnone\r\n");
}

TEST_F(RPPictureRpfTest, WithoutBodyThePictureIsAskedOfTheDocument) {
  TFakeRPFStreaming reader;
  reader.Pictures["pic"] = {"KK"};
  TRPGraphicItemInfo item(nullptr);
  item.Tag = TRPTag::FromNumber(3);
  AnsiString name;
  ASSERT_TRUE(ReadLines(item, reader, rpfbmNone, {"pic", "alt=x"}, name));
  ASSERT_NE(item.Image, nullptr);
  EXPECT_EQ(reader.Requests, std::vector<AnsiString>{"pic#3"});
  // Not found by name: a file name read later is asked for while there is no image.
  reader.Pictures["a.png"] = {"G"};
  TRPGraphicItemInfo byFile(nullptr);
  ASSERT_TRUE(ReadLines(byFile, reader, rpfbmNone, {"missing", "filename=a.png", "filename=b.png"}, name));
  EXPECT_EQ(reader.Requests, (std::vector<AnsiString>{"pic#3", "missing#0", "a.png#0"}));
  ASSERT_NE(byFile.Image, nullptr);
  EXPECT_EQ(byFile.ImageFileName, "b.png");
}

TEST_F(RPPictureRpfTest, ReadingFailures) {
  const std::string goodHex = TFakeRPFStreaming().PictureToHex(*Picture({"R"}));
  struct TCase {
    const char* Name;
    uint32_t Options;
    std::vector<AnsiString> Lines;
    bool WantOk;
    uint32_t WantWarnings;
    std::vector<std::string> WantImage;  // empty: no image
  };
  const TCase cases[] = {
      {"good", 0, {"p", "TBitmap", goodHex}, true, 0, {"R"}},
      {"unknown class", 0, {"p", "TNoSuchGraphic", goodHex}, false, rpfwUnknownPicFmt, {}},
      {"unknown class ignored",
       rpfoIgnoreUnknownPicFmt,
       {"p", "TNoSuchGraphic", "alt=y", goodHex},
       true,
       rpfwUnknownPicFmt,
       {}},
      {"odd hex", 0, {"p", "TBitmap", "ABC"}, false, 0, {}},
      {"bad digit", 0, {"p", "TBitmap", "ZZ"}, false, 0, {}},
      {"data that does not load", 0, {"p", "TBitmap", "0102"}, true, rpfwInvalidPicture, {"YY"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TFakeRPFStreaming reader;
    reader.RPFOptions = c.Options;
    TRPGraphicItemInfo item(nullptr);
    AnsiString name;
    EXPECT_EQ(ReadLines(item, reader, rpfbmHex, c.Lines, name), c.WantOk);
    EXPECT_EQ(reader.Warnings, c.WantWarnings);
    if (c.WantOk) {
      if (c.WantImage.empty()) {
        EXPECT_EQ(item.Image, nullptr);
      } else {
        ASSERT_NE(item.Image, nullptr);
        EXPECT_EQ(Letters(static_cast<const TBitmap&>(*item.Image)), c.WantImage);
      }
    }
  }
}

}  // namespace
