// The editor's drop target: the effect a drag gets, and dropped data read back (the
// native format's length cut to the block, bitmaps read as their headers say).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/ClipboardFormats.h"
#include "platform/base/LittleEndian.h"
#include "platform/graphics/Bitmap.h"
#include "platform/gui/Clipbrd.h"
#include "richtext/edit/RPDropTarget.h"
#include "richtext/model/RPClipboardFormats.h"

namespace {

// An editor that takes some formats, records what the target asks and answers as told.
class TFakeDropControl : public IRPDropTargetControl {
public:
  std::vector<uint32_t> Accepted;
  bool FromHere = false;
  bool EnterAnswer = true, OverAnswer = true;
  int32_t DropAnswer = DROPEFFECT_COPY;
  std::vector<std::string> Calls;
  int32_t AskedFormats = 0;
  bool Released = false;

  bool OleCanAcceptFormat(uint32_t format) override {
    ++AskedFormats;
    return std::find(Accepted.begin(), Accepted.end(), format) != Accepted.end();
  }
  bool OleDragEnter(int32_t x, int32_t y) override {
    Calls.push_back("enter " + std::to_string(x) + "," + std::to_string(y));
    return EnterAnswer;
  }
  bool OleDragOver(int32_t, int32_t) override {
    Calls.push_back("over");
    return OverAnswer;
  }
  void OleDragLeave() override { Calls.push_back("leave"); }
  int32_t OleDrop(const IDataObject&, bool move, TShiftState, const TPoint&, int32_t) override {
    Calls.push_back(move ? "drop move" : "drop copy");
    return DropAnswer;
  }
  bool IsDragFromThisControl() const override { return FromHere; }
  void ReleaseDropTarget() override { Released = true; }
};

TDataObject TextData() {
  TDataObject data;
  data.SetUnicodeText(u"text");
  return data;
}

TEST(RPDropTargetTest, TheEffectOfADrag) {
  constexpr int32_t all = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  struct TCase {
    const char* Name;
    bool FromHere;
    TShiftState Keys;
    int32_t Allowed;
    int32_t Effect;
  } cases[] = {
      {"from elsewhere: a copy", false, 0, all, DROPEFFECT_COPY},
      {"from this editor: a move", true, 0, all, DROPEFFECT_MOVE},
      {"from this editor with Ctrl: a copy", true, ssCtrl, all, DROPEFFECT_COPY},
      {"moving not allowed: a copy", true, 0, DROPEFFECT_COPY | DROPEFFECT_LINK, DROPEFFECT_COPY},
      {"only a link allowed", false, 0, DROPEFFECT_LINK, DROPEFFECT_LINK},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TFakeDropControl control;
    control.Accepted = {CF_TEXT};
    control.FromHere = c.FromHere;
    TRPDropTarget target(control);
    const TDataObject data = TextData();
    EXPECT_EQ(target.DragEnter(data, c.Keys, TPoint{3, 4}, c.Allowed), c.Effect);
    EXPECT_EQ(target.DragOver(c.Keys, TPoint{5, 6}, c.Allowed), c.Effect);
    // The editor's drop answers a copy: a link where copying is not allowed.
    const int32_t dropped = target.Drop(data, c.Keys, TPoint{5, 6}, c.Allowed);
    EXPECT_EQ(dropped, (c.Allowed & DROPEFFECT_COPY) != 0 ? DROPEFFECT_COPY : DROPEFFECT_LINK);
    EXPECT_EQ(control.Calls,
              (std::vector<std::string>{"enter 3,4", "over", c.Effect == DROPEFFECT_MOVE ? "drop move" : "drop copy"}));
  }
}

TEST(RPDropTargetTest, DataWithoutAnAcceptedFormatNeverReachesTheEditor) {
  TFakeDropControl control;
  control.Accepted = {RPClipboardFormats().RTF};
  {
    TRPDropTarget target(control);
    const TDataObject data = TextData();
    EXPECT_EQ(target.DragEnter(data, 0, TPoint{1, 1}, DROPEFFECT_COPY), DROPEFFECT_NONE);
    // Both text formats were asked.
    EXPECT_EQ(control.AskedFormats, 2);
    EXPECT_EQ(target.DragOver(0, TPoint{1, 1}, DROPEFFECT_COPY), DROPEFFECT_NONE);
    EXPECT_TRUE(control.Calls.empty());
    // An editor that refuses the place refuses the drag.
    control.Accepted = {CF_UNICODETEXT};
    control.EnterAnswer = false;
    EXPECT_EQ(target.DragEnter(data, 0, TPoint{1, 1}, DROPEFFECT_COPY), DROPEFFECT_NONE);
    EXPECT_FALSE(target.Accepting());
    target.DragLeave();
    EXPECT_EQ(control.Calls, (std::vector<std::string>{"enter 1,1", "leave"}));
  }
  EXPECT_TRUE(control.Released);
}

// The native format's 32-bit length is cut to the bytes the block holds.
TEST(RPDropTargetTest, TheNativeLengthIsCutToTheBlock) {
  const uint32_t native = RPClipboardFormats().RichPane;
  const auto block = [](uint32_t length, const std::string& bytes) {
    uint8_t field[4];
    StoreLE32(field, length);
    return AnsiString(reinterpret_cast<const char*>(field), 4) + bytes;
  };
  struct TCase {
    const char* Name;
    AnsiString Block;
    std::string Expected;
  } cases[] = {
      {"exact", block(5, "hello"), "hello"},
      {"block longer than its length", block(3, "hello"), "hel"},
      {"length beyond the block", block(100000, "hello"), "hello"},
      {"length of 4 GiB - 1", block(0xFFFFFFFF, "ab"), "ab"},
      {"zero length", block(0, "hello"), ""},
      {"shorter than the length field", AnsiString("\x05\x00", 2), ""},
      {"empty block", AnsiString(), ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TDataObject data;
    data.SetBuffer(native, c.Block);
    const std::unique_ptr<TMemoryStream> stream = TRPDropTarget::GetDataStream(data, native);
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->Position(), 0);
    EXPECT_EQ(std::string(static_cast<const char*>(stream->Memory()), static_cast<size_t>(stream->Size())), c.Expected);
  }
  // Another format is copied whole; a format the data lacks gives none.
  TDataObject data;
  data.SetBuffer(RPClipboardFormats().RTF, block(1, "{\\rtf1}"));
  EXPECT_EQ(TRPDropTarget::GetDataStream(data, RPClipboardFormats().RTF)->Size(), 4 + 7);
  EXPECT_FALSE(TRPDropTarget::GetDataStream(data, native));
}

TEST(RPDropTargetTest, StringsEndAtTheirFirstZero) {
  TDataObject data;
  data.SetBuffer(RPClipboardFormats().URL, AnsiString("http://a/\0junk", 14));
  AnsiString text;
  ASSERT_TRUE(TRPDropTarget::GetDataString(data, RPClipboardFormats().URL, text));
  EXPECT_EQ(text, "http://a/");
  EXPECT_FALSE(TRPDropTarget::GetDataString(data, RPClipboardFormats().RTF, text));
  data.SetUnicodeText(WideString(u"ab\0cd", 5));
  WideString unicode;
  ASSERT_TRUE(TRPDropTarget::GetUnicodeText(data, unicode));
  EXPECT_EQ(unicode, u"ab");
}

// --- Bitmaps as their headers describe them ----------------------------------------------

// A 2 x 2 bitmap file: the top row red, blue; the bottom row blue, red. Indexed images
// use colour 0 for red and 1 for blue; their other table entries are green.
struct TBmpShape {
  uint32_t HeaderBytes;  // 12 (core), 40, 108, 124
  uint16_t Bits;
  bool BitFields;         // 32-bit pixels with masks
  uint32_t ColorsUsed;    // the header's count of table entries (0: all)
  uint32_t TableEntries;  // entries written
  uint32_t GapBytes;      // bytes between the table and the rows
  uint32_t CutBytes;      // bytes taken off the end
};

AnsiString BmpFile(const TBmpShape& s) {
  const bool core = s.HeaderBytes == 12;
  std::vector<uint8_t> info(s.HeaderBytes, 0);
  StoreLE32(info.data(), s.HeaderBytes);
  if (core) {
    StoreLE16(info.data() + 4, 2);
    StoreLE16(info.data() + 6, 2);
    StoreLE16(info.data() + 8, 1);
    StoreLE16(info.data() + 10, s.Bits);
  } else {
    StoreLE32(info.data() + 4, 2);                     // width
    StoreLE32(info.data() + 8, 2);                     // height, bottom row first
    StoreLE16(info.data() + 12, 1);                    // planes
    StoreLE16(info.data() + 14, s.Bits);               // bits per pixel
    StoreLE32(info.data() + 16, s.BitFields ? 3 : 0);  // compression
    StoreLE32(info.data() + 32, s.ColorsUsed);         // colours used
  }
  std::vector<uint8_t> masks;
  if (s.BitFields) {
    masks.resize(12);
    StoreLE32(masks.data(), 0x00FF0000);
    StoreLE32(masks.data() + 4, 0x0000FF00);
    StoreLE32(masks.data() + 8, 0x000000FF);
    // A longer header holds the masks itself.
    if (s.HeaderBytes > 40) {
      std::copy(masks.begin(), masks.end(), info.begin() + 40);
      masks.clear();
    }
  }
  std::vector<uint8_t> table;
  for (uint32_t i = 0; i < s.TableEntries; ++i) {
    const uint8_t bgr[3] = {static_cast<uint8_t>(i == 1 ? 255 : 0), static_cast<uint8_t>(i > 1 ? 255 : 0),
                            static_cast<uint8_t>(i == 0 ? 255 : 0)};
    table.insert(table.end(), bgr, bgr + 3);
    if (!core) table.push_back(0);
  }
  // Rows bottom-up, each padded to 4 bytes.
  std::vector<uint8_t> rows;
  const int red = 0, blue = 1;
  const int pixels[2][2] = {{blue, red}, {red, blue}};
  for (const auto& row : pixels) {
    std::vector<uint8_t> line;
    if (s.Bits <= 8) {
      line.assign((2 * s.Bits + 7) / 8, 0);
      for (int x = 0; x < 2; ++x) {
        const int bit = x * s.Bits;
        line[bit / 8] |= static_cast<uint8_t>(row[x] << (8 - s.Bits - bit % 8));
      }
    } else {
      for (int x = 0; x < 2; ++x) {
        const uint8_t bgr[3] = {static_cast<uint8_t>(row[x] == blue ? 255 : 0), 0,
                                static_cast<uint8_t>(row[x] == red ? 255 : 0)};
        line.insert(line.end(), bgr, bgr + 3);
        if (s.Bits == 32) line.push_back(0);
      }
    }
    line.resize((line.size() + 3) / 4 * 4, 0);
    rows.insert(rows.end(), line.begin(), line.end());
  }
  const uint32_t offset = static_cast<uint32_t>(14 + info.size() + masks.size() + table.size() + s.GapBytes);
  std::vector<uint8_t> file(14, 0);
  file[0] = 'B';
  file[1] = 'M';
  StoreLE32(file.data() + 2, static_cast<uint32_t>(offset + rows.size()));
  StoreLE32(file.data() + 10, offset);
  for (const auto* part : {&info, &masks, &table}) file.insert(file.end(), part->begin(), part->end());
  file.insert(file.end(), s.GapBytes, 0xEE);
  file.insert(file.end(), rows.begin(), rows.end());
  file.resize(file.size() - s.CutBytes);
  return AnsiString(file.begin(), file.end());
}

TEST(RPDropTargetTest, BitmapsAreReadAsTheirHeadersSay) {
  struct TCase {
    const char* Name;
    TBmpShape Shape;
    bool Read;
  } cases[] = {
      {"8 bits, 40-byte header, a table of 2 colours", {40, 8, false, 2, 2, 0, 0}, true},
      {"8 bits, a full table of 256", {40, 8, false, 0, 256, 0, 0}, true},
      {"4 bits, 124-byte header", {124, 4, false, 0, 16, 0, 0}, true},
      {"1 bit, 108-byte header", {108, 1, false, 0, 2, 0, 0}, true},
      {"4 bits, a table of 3 colours", {40, 4, false, 3, 3, 0, 0}, true},
      {"24 bits, rows after a gap", {40, 24, false, 0, 0, 6, 0}, true},
      {"32 bits, masks after a 40-byte header", {40, 32, true, 0, 0, 0, 0}, true},
      {"32 bits, masks inside a 124-byte header", {124, 32, true, 0, 0, 0, 0}, true},
      {"8 bits, core header with 3-byte entries", {12, 8, false, 0, 256, 0, 0}, true},
      {"rows cut short", {40, 24, false, 0, 0, 0, 5}, false},
      {"a table cut short", {40, 8, false, 2, 2, 0, 17}, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TDataObject data;
    data.SetBuffer(CF_DIB, BmpFile(c.Shape));
    const std::unique_ptr<TBitmap> bitmap = TRPDropTarget::GetBitmap(data, true);
    ASSERT_EQ(bitmap != nullptr, c.Read);
    if (!bitmap) continue;
    ASSERT_EQ(bitmap->Width(), 2);
    ASSERT_EQ(bitmap->Height(), 2);
    EXPECT_EQ(bitmap->PixelColor(0, 0), clRed);
    EXPECT_EQ(bitmap->PixelColor(1, 0), clBlue);
    EXPECT_EQ(bitmap->PixelColor(0, 1), clBlue);
    EXPECT_EQ(bitmap->PixelColor(1, 1), clRed);
  }
}

TEST(RPDropTargetTest, APlainPictureStandsInForARefusedFile) {
  TBitmap plain;
  plain.SetPixelFormat(pf24bit);
  plain.SetSize(3, 1);
  plain.SetPixelColor(2, 0, clLime);
  TDataObject data;
  data.Assign(plain);
  data.SetBuffer(CF_DIB, BmpFile({40, 24, false, 0, 0, 0, 5}));
  std::unique_ptr<TBitmap> bitmap = TRPDropTarget::GetBitmap(data, true);
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->Width(), 3);
  EXPECT_EQ(bitmap->PixelColor(2, 0), clLime);
  // Without the file form the plain picture is read; with neither, none.
  data.SetBuffer(CF_DIB, BmpFile({40, 24, false, 0, 0, 0, 0}));
  EXPECT_EQ(TRPDropTarget::GetBitmap(data, false)->Width(), 3);
  EXPECT_EQ(TRPDropTarget::GetBitmap(data, true)->Width(), 2);
  EXPECT_FALSE(TRPDropTarget::GetBitmap(TextData(), true));
}

}  // namespace
