// The rich view control and the native format: its layout object, its background and
// colour in the background record, the selection forms for the clipboard and dragging.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/ClipboardFormats.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/interchange/RPFTestData.h"
#include "richtext/model/RPLayoutInfo.h"

namespace {

std::unique_ptr<TBitmap> Tile() {
  auto tile = std::make_unique<TBitmap>();
  tile->SetPixelFormat(pf24bit);
  tile->SetSize(2, 1);
  return tile;
}

TEST(RPFControl, TheLayoutObjectTakesTheControlsMarginsWidthsAndDirection) {
  TRPFPane pane;
  pane.Pane.LeftMargin = 1;
  pane.Pane.RightMargin = 2;
  pane.Pane.TopMargin = 3;
  pane.Pane.BottomMargin = 4;
  pane.Pane.MinTextWidth = 50;
  pane.Pane.MaxTextWidth = 600;
  pane.Pane.SetBiDiMode(rpbdRightToLeft);
  const std::unique_ptr<TRPLayoutInfo> layout = pane.Pane.CreateLayoutInfo();
  EXPECT_EQ(layout->LeftMargin, 1);
  EXPECT_EQ(layout->RightMargin, 2);
  EXPECT_EQ(layout->TopMargin, 3);
  EXPECT_EQ(layout->BottomMargin, 4);
  EXPECT_EQ(layout->MinTextWidth, 50);
  EXPECT_EQ(layout->MaxTextWidth, 600);
  EXPECT_EQ(layout->BiDiMode, rpbdRightToLeft);
  EXPECT_FALSE(layout->Loaded);
  EXPECT_EQ(layout->FirstMarkerListNo, -1);
}

TEST(RPFControl, LoadingGivesTheControlTheLayoutBackgroundAndColourOfTheStream) {
  TRPFPane source(rpfoSaveLayout | rpfoSaveBack);
  source.Pane.LeftMargin = 21;
  source.Pane.MaxTextWidth = 400;
  source.Pane.Color = clAqua;
  source.Pane.Background().SetImageCopy(*Tile(), rppaDoNothing, nullptr);
  source.Pane.SetBackgroundStyle(bsCentered);
  source.Data().AddAnsiText("x", 0, TRPTag(), 0);
  TStringStream stream;
  ASSERT_TRUE(source.Pane.SaveRPFToStream(stream, rpfsmDocument));
  // The background record: -7, 2 lines, mode 0, style 4 (centred), the colour; then the
  // picture's class and the picture as hexadecimal text.
  EXPECT_EQ(stream.DataString().substr(8, 34), "-7 2 0 0 0 0 4 16776960\r\nTBitmap\r\n");

  for (const uint32_t options : {0u, rpfoLoadBack | rpfoLoadLayout}) {
    SCOPED_TRACE(options);
    TRPFPane target(options);
    target.Pane.Color = clRed;
    stream.SetPosition(0);
    ASSERT_TRUE(target.Pane.LoadRPFFromStream(stream));
    const bool loads = options != 0;
    EXPECT_EQ(target.Pane.LeftMargin, loads ? 21 : 5);
    EXPECT_EQ(target.Pane.MaxTextWidth, loads ? 400 : 0);
    EXPECT_EQ(target.Pane.Color, loads ? clAqua : clRed);
    EXPECT_EQ(target.Pane.BackgroundStyle(), loads ? bsCentered : bsNoBitmap);
    EXPECT_EQ(target.Pane.Background().GetImage() != nullptr, loads);
    EXPECT_EQ(Dump(target.Data()), Dump(source.Data()));
  }
}

TEST(RPFControl, ABackgroundWithoutAPictureWritesItsStyleAndColourOnly) {
  TRPFPane pane(rpfoSaveBack);
  pane.Data().AddAnsiText("x", 0, TRPTag(), 0);
  pane.Pane.Color = clNone;
  TStringStream stream;
  ASSERT_TRUE(pane.Pane.SaveRPFToStream(stream, rpfsmDocument));
  // -7, no lines, paragraph -1, then style 0 and clNone (0x1FFFFFFF).
  EXPECT_EQ(stream.DataString(), "-8 1 3\r\n-7 0 -1 0 0 0 0 536870911\r\n0 1 0 0 0 0\r\nx\r\n");
}

TEST(RPFControl, ABackgroundPictureThatDoesNotLoadFailsTheReadOnlyWhenItIsApplied) {
  const AnsiString bytes = "-8 1 3\r\n-7 2 0 0 0 0 2 255\r\nTBitmap\r\n0102\r\n0 1 0 0 0 0\r\nx\r\n";
  TRPFPane ignoring;
  EXPECT_TRUE(ignoring.Pane.LoadRPFFromStream(*std::make_unique<TStringStream>(bytes)));
  TRPFPane applying(rpfoLoadBack);
  applying.Data().AddAnsiText("kept", 0, TRPTag(), 0);
  EXPECT_FALSE(applying.Pane.LoadRPFFromStream(*std::make_unique<TStringStream>(bytes)));
  EXPECT_EQ(applying.Data().GetItemCount(), 1);
  EXPECT_EQ(applying.Pane.BackgroundStyle(), bsNoBitmap);
}

// A selection made of parts of three paragraphs, the first of which the selection cuts.
struct TSelectionPane : TRPFPane {
  explicit TSelectionPane(uint32_t options) : TRPFPane(options) {
    Pane.DocProperties.Add("p");
    TCustomRPData& data = Data();
    data.AddAnsiText("one two", 0, TRPTag(), 0);
    data.AddAnsiText("three", 0, TRPTag(), 0);
    data.AddAnsiText("four", 0, TRPTag(), 0);
    data.AddAnsiText(" five", 1, TRPTag(), -1);
    Pane.Format();
  }
};

// Without rpfoSavePicturesBody a picture is its name: on reading, the control's event
// gives the picture for the name and tag; without an answer the item has no picture.
TEST(RPFControl, APictureWithoutItsBodyIsAskedOfTheControlByNameAndTag) {
  TRPFPane source;
  source.Data().AddPictureTag("logo", Tile(), 0, rpvaBaseline, TRPTag::FromNumber(4));
  const AnsiString bytes = source.Save();
  EXPECT_EQ(bytes.find("TBitmap"), AnsiString::npos);
  TRPFPane target;
  ASSERT_TRUE(target.Load(bytes));
  EXPECT_EQ(dynamic_cast<TRPGraphicItemInfo&>(*target.Data().GetItem(0)).Image, nullptr);
  std::vector<std::string> asked;
  target.Pane.OnRPFPictureNeeded = [&](TCustomRichPane* sender, const AnsiString& name, const TRPTag& tag) {
    EXPECT_EQ(sender, &target.Pane);
    asked.push_back(name + "/" + std::to_string(tag.Number()));
    auto picture = std::make_unique<TBitmap>();
    picture->SetSize(7, 3);
    return std::unique_ptr<TGraphic>(std::move(picture));
  };
  ASSERT_TRUE(target.Load(bytes));
  EXPECT_EQ(asked, std::vector<std::string>{"logo/4"});
  const auto& read = dynamic_cast<TRPGraphicItemInfo&>(*target.Data().GetItem(0));
  ASSERT_NE(read.Image, nullptr);
  EXPECT_EQ(read.Image->Width(), 7);
  EXPECT_EQ(read.Tag.Number(), 4);
}

TEST(RPFControl, TheDragFormRecordsTheCutParagraphsInTheLayoutAndLeavesOutTheProperties) {
  TSelectionPane pane(rpfoSaveDocProperties | rpfoSaveLayout);
  pane.Pane.SetSelectionBounds(0, 5, 2, 3);  // "two", "three", "fo"
  TRPLayoutInfo layout;
  TStringStream stream;
  ASSERT_TRUE(pane.Data().SaveRPFToStream(stream, rpfsmDragDrop, &layout, nullptr, clNone));
  EXPECT_TRUE(layout.FirstParaCut);
  EXPECT_TRUE(layout.LastParaCut);
  EXPECT_EQ(stream.DataString().find("-9 1 0 0 0 0 5"), AnsiString::npos);  // no properties
  EXPECT_NE(stream.DataString().find("-9 2 0 0 0 0 3"), AnsiString::npos);  // the layout
  // Whole paragraphs: nothing is cut.
  pane.Pane.SetSelectionBounds(1, 1, 2, 5);
  ASSERT_TRUE(pane.Data().SaveRPFToStream(stream, rpfsmDragDrop, &layout, nullptr, clNone));
  EXPECT_FALSE(layout.FirstParaCut);
  EXPECT_TRUE(layout.LastParaCut);  // " five" follows in the last paragraph
  pane.Pane.SetSelectionBounds(1, 1, 3, 6);
  ASSERT_TRUE(pane.Data().SaveRPFToStream(stream, rpfsmDragDrop, &layout, nullptr, clNone));
  EXPECT_FALSE(layout.LastParaCut);
}

TEST(RPFControl, TheClipboardFormHasNoBackgroundNorLayoutButItsProperties) {
  TSelectionPane pane(rpfoSaveDocProperties | rpfoSaveLayout | rpfoSaveBack);
  pane.Pane.SetSelectionBounds(1, 1, 1, 4);
  TRPLayoutInfo layout;
  TStringStream stream;
  ASSERT_TRUE(pane.Data().SaveRPFToStream(stream, rpfsmClipboard, &layout, nullptr, clNone));
  EXPECT_EQ(stream.DataString(), "-8 1 3\r\n-9 1 0 0 0 0 5\r\np\r\n0 1 0 0 0 0\r\nthr\r\n");
}

TEST(RPFControl, APastedCutParagraphJoinsTheParagraphAtTheInsertionPoint) {
  TSelectionPane source(0);
  source.Pane.SetSelectionBounds(2, 3, 3, 6);  // "ur", " five"
  const AnsiString bytes = source.Save(rpfsmClipboard);
  TRPFPane target;
  target.Data().AddAnsiText("abc", 0, TRPTag(), 1);
  ASSERT_TRUE(target.Insert(bytes, 1));
  EXPECT_EQ(Dump(target.Data()),
            "0 style 0 para 1 options 0 tag 0 text 616263\n"
            "1 style 0 para 1 options 1 tag 0 text 7572\n"
            "2 style 1 para 1 options 1 tag 0 text 2066697665\n");
}

}  // namespace

namespace {

// A clipboard that keeps what it is given.
class TRecordingClipboard : public IRPClipboard {
public:
  void SetText(const AnsiString& text) override { Text = text; }
  void SetUnicodeText(const WideString&) override {}
  void SetGraphic(const TGraphic&) override {}
  void SetData(uint32_t format, const AnsiString& bytes) override {
    Format = format;
    Bytes = bytes;
  }
  AnsiString Text;
  uint32_t Format = 0;
  AnsiString Bytes;
};

TEST(RPFControl, CopyingPutsTheSelectionWithItsLengthInFrontUnderTheNativeFormatsName) {
  TSelectionPane pane(0);
  pane.Pane.SetSelectionBounds(1, 1, 1, 4);
  TRecordingClipboard clipboard;
  ASSERT_TRUE(pane.Pane.RPData().CopyRPF(clipboard, clNone, nullptr));
  EXPECT_EQ(clipboard.Format, RegisterClipboardFormatA("RichPane Format"));
  const AnsiString stream = "-8 1 3\r\n0 1 0 0 0 0\r\nthr\r\n";
  EXPECT_EQ(clipboard.Bytes, AnsiString("\x1A\x00\x00\x00", 4) + stream);  // 26 bytes follow
  // The copy of the view puts it first, as its options ask.
  pane.Pane.Options |= rpoAutoCopyRPF;
  TRecordingClipboard viaCopy;
  pane.Pane.RPData().PutSelectionFormats(viaCopy, clNone, nullptr, false);
  EXPECT_EQ(viaCopy.Bytes, clipboard.Bytes);
  // Read back as the editor's paste reads it: the length, then that many bytes.
  TRPFPane target;
  ASSERT_TRUE(target.Insert(clipboard.Bytes.substr(4), 0));
  EXPECT_EQ(Dump(target.Data()), "0 style 0 para 0 options 0 tag 0 text 746872\n");
}

}  // namespace
