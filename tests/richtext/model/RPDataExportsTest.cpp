// The document's pictures, item list sharing, palette state, the answers it forwards to
// its root, and what exports ask of it: plain text of a selection, the host's hooks and
// the default picture saving.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "RPItemOutput.h"
#include "RPPictureTestData.h"
#include "RPTestItems.h"
#include "platform/base/CodePages.h"
#include "platform/base/FileSystem.h"
#include "platform/base/Sound.h"
#include "platform/base/TempFolder.h"
#include "platform/graphics/JpegImage.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPHtmlHelpers.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPUnicode.h"

namespace {

// An item that records the palette state it is given and changes its text when inserted.
class TPaletteItem : public TRPRectItemInfo {
public:
  using TRPRectItemInfo::TRPRectItemInfo;
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }
  void UpdatePaletteInfo(TRPPaletteAction action, bool, HPALETTE, const TLogPalette* logPalette) override {
    Actions.push_back(action);
    LogPalettes.push_back(logPalette);
  }
  void Inserting(TCustomRPData* rpData, AnsiString& text, bool safe) override {
    TRPRectItemInfo::Inserting(rpData, text, safe);
    text += "!";
    InsertedInto = rpData;
  }
  std::vector<TRPPaletteAction> Actions;
  std::vector<const TLogPalette*> LogPalettes;
  TCustomRPData* InsertedInto = nullptr;
};
inline const TRPItemClassInfo TPaletteItem::ClassInfo{"TPaletteItem", &CreateRPItem<TPaletteItem>};

// A list marker stand-in: its plain text is its number.
class TMarkerItem : public TRPRectItemInfo {
public:
  explicit TMarkerItem(TCustomRPData* rpData) : TRPRectItemInfo(rpData) { StyleNo = rpkindListMarker; }
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }
  AnsiString AsPlainText(int32_t, TCustomRPData*, bool& textIsUnicode) const override {
    textIsUnicode = false;
    return "1. ";
  }
};
inline const TRPItemClassInfo TMarkerItem::ClassInfo{"TMarkerItem", &CreateRPItem<TMarkerItem>};

std::unique_ptr<TCustomRPItemInfo> MakeBreak(TCustomRPData& data) {
  auto item = std::make_unique<TFakeBreakItem>(&data);
  item->StyleNo = rpkindBreak;
  return item;
}

// A document that shares the item list of another.
class TSharingData : public TTestRPData {
public:
  bool ItemsShared() const override { return true; }
};

// A sub-document: its root is another document.
class TChildData : public TTestRPData {
public:
  explicit TChildData(TCustomRPData& root) : FRoot(root) {}
  TCustomRPData* GetRootData() override { return &FRoot; }
  TCustomRPData* GetAbsoluteRootData() override { return &FRoot; }

private:
  TCustomRPData& FRoot;
};

// A root whose host answers every export hook, and a selection of its own.
class THostData : public TTestRPData {
public:
  std::unique_ptr<TGraphic> RPFPictureNeeded(const AnsiString& name, const TRPTag&) override {
    Asked.push_back("picture " + name);
    return Picture({"R"});
  }
  TCustomImageList* RPFImageListNeeded(int32_t tag) override {
    Asked.push_back("list " + std::to_string(tag));
    return nullptr;
  }
  bool SaveItemToFile(const WideString& path, TCustomRPData&, int32_t itemNo, TRPSaveFormat format, bool unicode,
                      AnsiString& text) override {
    Asked.push_back("item " + std::to_string(itemNo) + " " + WideToAnsi(path) + " " + std::to_string(format));
    if (itemNo != HostItem) return false;
    text = unicode ? WideToRawUnicode(u"<host>") : AnsiString("<host>");
    return true;
  }
  AnsiString SaveComponentToFile(const WideString&, TComponent*, TRPSaveFormat format) override {
    return "component " + std::to_string(format);
  }
  void WriteHyperlink(int32_t jumpNo, TCustomRPData&, int32_t, TRPSaveFormat, AnsiString& target,
                      AnsiString& extra) override {
    target = "#" + std::to_string(jumpNo);
    extra = "title=x";
  }
  bool HostSavesPicture(TRPSaveFormat, const WideString&, const TGraphic&, TColor, WideString& fileName) override {
    fileName = u"host.png";
    return HostPictures;
  }
  void GetSelectionBounds(int32_t& startItemNo, int32_t& endItemNo, int32_t& startOffs, int32_t& endOffs,
                          bool) const override {
    startItemNo = Selection[0];
    startOffs = Selection[1];
    endItemNo = Selection[2];
    endOffs = Selection[3];
  }

  std::vector<AnsiString> Asked;
  int32_t HostItem = -1;
  bool HostPictures = false;
  int32_t Selection[4] = {-1, 0, -1, 0};
};

class RPDataExportsTest : public ::testing::Test {
protected:
  TFakeItemClasses Classes;
  TFakeStyleSheet Sheet;
  TTestRPData Data;

  RPDataExportsTest() {
    Sheet.TextStyles = {{false, 204, false}, {true, 204, false}};
    Data.Sheet = &Sheet;
  }

  static AnsiString Saved(TCustomRPData& data, bool selectionOnly, bool unicode = false) {
    TMemoryStream stream;
    EXPECT_TRUE(data.SaveTextToStream(u"/out/book.txt", stream, 4, selectionOnly, unicode, false, false));
    return StreamText(stream);
  }
};

// --- Pictures --------------------------------------------------------------------------------

TEST_F(RPDataExportsTest, APictureTakesThePendingCheckpoint) {
  Data.AddRawText("a", 0, 0);
  Data.AddCheckpoint("Chapter", true, TRPTag::FromNumber(2));
  Data.AddPicture("pic", Picture({"RG"}), -1, rpvaMiddle);
  Data.AddPictureTag("tagged", Picture({"B"}), 1, rpvaBaseline, TRPTag::FromNumber(7));
  ASSERT_EQ(Data.GetItemCount(), 3);
  const auto& picture = Data.CheckItemClass<TRPGraphicItemInfo>(1);
  EXPECT_EQ(Data.GetItemTextRaw(1), "pic");
  EXPECT_TRUE(picture.GetContinuesLine());  // paragraph -1 after text continues it
  EXPECT_EQ(picture.ParaNo, 0);
  EXPECT_EQ(picture.VAlign, rpvaMiddle);
  EXPECT_EQ(Letters(static_cast<const TBitmap&>(*picture.Image)), std::vector<std::string>{"RG"});
  ASSERT_NE(picture.Checkpoint, nullptr);
  EXPECT_EQ(picture.Checkpoint->Name, "Chapter");
  EXPECT_TRUE(picture.Checkpoint->RaiseEvent);
  EXPECT_EQ(Data.GetFirstCheckpoint(), picture.Checkpoint.get());
  EXPECT_EQ(Data.GetCheckpointCount(), 1);
  EXPECT_EQ(Data.GetPendingCheckpoint(), nullptr);
  const auto& tagged = Data.CheckItemClass<TRPGraphicItemInfo>(2);
  EXPECT_EQ(tagged.Tag, TRPTag::FromNumber(7));
  EXPECT_TRUE(tagged.StartsParagraph());
  EXPECT_EQ(tagged.ParaNo, 1);
}

// --- Taking items out and sharing lists ---------------------------------------------------------

TEST_F(RPDataExportsTest, ADetachedItemLivesOnWithItsCheckpoint) {
  Data.AddRawText("a", 0, 0);
  Data.AddCheckpoint("middle", false, TRPTag());
  Data.AddRawText("b", 0, 0);
  Data.AddCheckpoint("last", false, TRPTag());
  Data.AddRawText("c", 0, 0);
  AnsiString text;
  std::unique_ptr<TCustomRPItemInfo> item = Data.DetachItem(1, text);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(text, "b");
  EXPECT_EQ(Data.GetItemCount(), 2);
  EXPECT_EQ(Data.GetItemTextRaw(1), "c");
  ASSERT_NE(item->Checkpoint, nullptr);
  EXPECT_EQ(item->Checkpoint->ItemInfo, item.get());
  EXPECT_EQ(item->Checkpoint->Next, nullptr);
  EXPECT_EQ(Data.GetFirstCheckpoint()->Name, "last");
  EXPECT_EQ(Data.GetLastCheckpoint()->Name, "last");
  EXPECT_EQ(Data.GetCheckpointCount(), 1);
  EXPECT_TRUE(Data.Actions.empty() || Data.Actions.back() != rpiaDestroying);
  EXPECT_EQ(Data.DetachItem(2, text), nullptr);
  EXPECT_EQ(Data.DetachItem(-1, text), nullptr);
}

TEST_F(RPDataExportsTest, ASharingDocumentNeverFreesTheItems) {
  Data.AddRawText("a", 0, 0);
  Data.AddRawText("b", 0, 0);
  {
    TSharingData sharer;
    sharer.AddRawText("own", 0, 0);
    sharer.ShareItemsFrom(Data);  // its own items are cleared first
    ASSERT_EQ(sharer.GetItemCount(), 2);
    EXPECT_EQ(sharer.GetItem(1), Data.GetItem(1));
    sharer.DeleteItems(0, 2);
    sharer.Clear();
    EXPECT_EQ(Data.GetItemCount(), 2);
    EXPECT_EQ(sharer.GetItemCount(), 2);
  }
  EXPECT_EQ(Data.GetItemTextRaw(1), "b");  // the sharer is gone, the items are not

  TTestRPData plain;
  plain.ShareItemsFrom(Data);  // only a sharing document takes another's list
  EXPECT_EQ(plain.GetItemCount(), 0);
  plain.UseItemListOf(Data);
  EXPECT_EQ(plain.GetItemCount(), 2);
}

TEST_F(RPDataExportsTest, NotifyItemsAddingRunsEveryInsertingHook) {
  Data.AddItem("x", std::make_unique<TPaletteItem>(&Data));
  EXPECT_EQ(Data.GetItemTextRaw(0), "x!");
  TTestRPData other;
  Data.NotifyItemsAdding(&other, true);
  EXPECT_EQ(Data.GetItemTextRaw(0), "x!!");
  EXPECT_EQ(static_cast<TPaletteItem*>(Data.GetItem(0))->InsertedInto, &other);
}

// --- Palette and the root's answers ---------------------------------------------------------------

TEST_F(RPDataExportsTest, ItemsGetTheTrueColourPaletteState) {
  EXPECT_EQ(Data.GetRPPalette(), nullptr);
  EXPECT_EQ(Data.GetRPLogPalette(), nullptr);
  EXPECT_EQ(Data.GetDoInPaletteMode(), rppaDoNothing);
  Data.AddItem({}, std::make_unique<TPaletteItem>(&Data));
  auto& item = static_cast<TPaletteItem&>(*Data.GetItem(0));
  EXPECT_EQ(item.Actions, std::vector<TRPPaletteAction>{rppaDoNothing});
  Data.UpdateItemsPalette();
  EXPECT_EQ(item.Actions.size(), 2u);
  EXPECT_EQ(item.LogPalettes, (std::vector<const TLogPalette*>{nullptr, nullptr}));
  TSharingData sharer;
  sharer.ShareItemsFrom(Data);
  sharer.UpdateItemsPalette();  // nothing when items are shared
  EXPECT_EQ(item.Actions.size(), 2u);
}

TEST_F(RPDataExportsTest, OptionsWarningsAndReadModesAreTheRoots) {
  EXPECT_EQ(Data.GetRPFOptions(), 0u);
  EXPECT_EQ(Data.GetRPFTextStylesReadMode(), rpf_sInsertMerge);
  EXPECT_EQ(Data.GetRPFParaStylesReadMode(), rpf_sInsertMerge);
  TChildData child(Data);
  child.SetRPFOptions(rpfoSaveBinary);
  child.SetRTFOptions(rprtfSaveJpegAsJpeg);
  child.SetRPFWarnings(rpfwBadImageIndex);
  EXPECT_EQ(Data.GetRPFOptions(), rpfoSaveBinary);
  EXPECT_EQ(Data.GetRTFOptions(), rprtfSaveJpegAsJpeg);
  EXPECT_EQ(Data.GetRPFWarnings(), rpfwBadImageIndex);
  Data.SetRPFWarnings(0);
  EXPECT_EQ(child.GetRPFWarnings(), 0u);
}

TEST_F(RPDataExportsTest, BeepSoundsWhenTheStyleSheetAsks) {
  int32_t beeps = 0;
  const TMessageBeepHandler previous = SetMessageBeepHandler([&](uint32_t) { ++beeps; });
  Data.Beep();
  Sheet.UseSound = false;
  Data.Beep();
  TTestRPData unstyled;
  unstyled.Beep();
  SetMessageBeepHandler(previous);
  EXPECT_EQ(beeps, 1);
}

// --- Host hooks ------------------------------------------------------------------------------

TEST_F(RPDataExportsTest, HooksAreAskedOfTheAbsoluteRoot) {
  THostData host;
  TChildData child(host);
  EXPECT_NE(child.RPFPictureNeeded("p", TRPTag()), nullptr);
  EXPECT_EQ(child.RPFImageListNeeded(5), nullptr);
  EXPECT_EQ(host.Asked, (std::vector<AnsiString>{"picture p", "list 5"}));
  EXPECT_EQ(child.SaveComponentToFile({}, nullptr, rpsfRTF), "component 2");
  AnsiString target, extra;
  child.WriteHyperlink(4, child, 0, rpsfHTML, target, extra);
  EXPECT_EQ(target, "#4");
  EXPECT_EQ(extra, "title=x");
  // The root of this class answers no host.
  EXPECT_EQ(Data.RPFPictureNeeded("p", TRPTag()), nullptr);
  EXPECT_EQ(Data.SaveComponentToFile({}, nullptr, rpsfHTML), "");
  Data.WriteHyperlink(4, Data, 0, rpsfHTML, target, extra);
  EXPECT_EQ(target, "");
  EXPECT_EQ(extra, "");
  AnsiString text = "kept";
  EXPECT_FALSE(Data.SaveItemToFile({}, Data, 0, rpsfText, false, text));
}

// --- Plain text -----------------------------------------------------------------------------------

TEST_F(RPDataExportsTest, PlainTextOfASelectionAndTheHostsItems) {
  THostData host;
  host.Sheet = &Sheet;
  host.AddRawText("abcdef", 0, 0);
  host.AddItem({}, MakeBreak(host));
  host.AddRawText("ghij", 0, 0);
  // The whole document: the break as its plain text, unless the host writes it.
  EXPECT_EQ(Saved(host, false), "abcdef\r\n----\r\nghij");
  host.HostItem = 1;
  EXPECT_EQ(Saved(host, false), "abcdef\r\n<host>\r\nghij");
  EXPECT_EQ(host.Asked.back(), "item 1 /out/book.txt 0");
  // The selection from before "c" to before "i": the partial texts at its ends.
  host.Selection[0] = 0;
  host.Selection[1] = 3;
  host.Selection[2] = 2;
  host.Selection[3] = 3;
  EXPECT_EQ(Saved(host, true), "cdef\r\n<host>\r\ngh");
  EXPECT_EQ(Saved(host, true, true), WideToRawUnicode(u"cdef\r\n<host>\r\ngh"));
  // Within one item; an empty and an invalid selection write nothing.
  host.Selection[2] = 0;
  host.Selection[3] = 5;
  EXPECT_EQ(Saved(host, true), "cd");
  host.Selection[3] = 3;
  EXPECT_EQ(Saved(host, true), "");
  host.Selection[0] = -1;
  EXPECT_EQ(Saved(host, true), "");
}

TEST_F(RPDataExportsTest, ASelectionInAListParagraphStartsWithTheMarker) {
  THostData host;
  host.Sheet = &Sheet;
  host.AddItem({}, std::make_unique<TMarkerItem>(&host));
  host.AddRawText("item", 0, -1);
  host.Selection[0] = 1;
  host.Selection[1] = 2;
  host.Selection[2] = 1;
  host.Selection[3] = 5;
  EXPECT_EQ(Saved(host, true), "1. tem");
  EXPECT_EQ(Saved(host, false), "1. item");
}

// --- Pictures of exports --------------------------------------------------------------------------

TEST_F(RPDataExportsTest, PicturesAreSavedUnderTheFirstFreeNumber) {
  TempFolder folder;
  const WideString path = AnsiToWide(folder / "page.html");
  std::filesystem::create_directory(folder / "img");
  WriteBytes(folder / "img/p1.bmp", "taken");
  WriteBytes(folder / "img/p2.bmp", "read-only");
  std::filesystem::permissions(folder / "img/p2.bmp", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  int32_t number = 1;
  EXPECT_EQ(Data.MakePictureFileName(path, u"img/p", u".bmp", number, false), AnsiToWide(folder / "img/p3.bmp"));
  EXPECT_EQ(number, 3);
  number = 1;  // overwriting: only the read-only file is skipped
  EXPECT_EQ(Data.MakePictureFileName(path, u"img/p", u".bmp", number, true), AnsiToWide(folder / "img/p1.bmp"));
  // A full prefix is taken as it is.
  number = 1;
  EXPECT_EQ(Data.MakePictureFileName(path, AnsiToWide(folder / "img/p"), u".bmp", number, false),
            AnsiToWide(folder / "img/p3.bmp"));

  // A bitmap is drawn on the background colour and saved as JPEG, every pixel near its
  // colour; the answer is relative to the page.
  number = 1;
  const std::unique_ptr<TBitmap> picture = Picture({"RG"});
  EXPECT_EQ(Data.SavePictureFile(path, u"img/p", *picture, number, false, clBlue), u"img/p1.jpg");
  TJPEGImage saved;
  TMemoryStream stream;
  stream.LoadFromFile(AnsiToWide(folder / "img/p1.jpg"));
  saved.LoadFromStream(stream);
  ASSERT_EQ(saved.Width(), 2);
  ASSERT_EQ(saved.Height(), 1);
  for (const auto& [x, color] : {std::pair{0, clRed}, std::pair{1, clLime}})
    for (int shift : {0, 8, 16})
      EXPECT_NEAR((saved.Bitmap().PixelColor(x, 0) >> shift) & 255, (color >> shift) & 255, 16) << x << " " << shift;
  // A picture without pixels has no JPEG form: a bitmap file.
  TBitmap empty;
  EXPECT_EQ(Data.SavePictureFile(path, u"img/p", empty, number, false, clNone), u"img/p3.bmp");
  stream.LoadFromFile(AnsiToWide(folder / "img/p3.bmp"));
  ASSERT_GE(stream.Size(), 2);
  EXPECT_EQ(std::string(static_cast<const char*>(stream.Memory()), 2), "BM");

  // The host may save it instead.
  THostData host;
  host.HostPictures = true;
  number = 1;
  EXPECT_EQ(host.SavePictureForExport(rpsfHTML, path, u"img/p", *picture, number, false, clNone), u"host.png");
  host.HostPictures = false;
  EXPECT_EQ(host.SavePictureForExport(rpsfHTML, path, u"img/p", *picture, number, false, clNone), u"img/p2.jpg");
}

// A page with no file of its own (the clipboard's, one written to a stream) carries its
// pictures as "data:" URIs, the same bytes a file beside a page would hold: nothing is
// written into the working folder. A full prefix still names where the files go.
TEST_F(RPDataExportsTest, PicturesOfAPageWithoutAPathGoIntoThePage) {
  TempFolder folder, working;
  const TWorkingFolderScope inWorking(working.Path());
  const std::unique_ptr<TBitmap> picture = Picture({"RG"});
  int32_t number = 1;
  ASSERT_EQ(Data.SavePictureFile(AnsiToWide(folder / "page.html"), u"p", *picture, number, false, clBlue), u"p1.jpg");
  TMemoryStream file;
  file.LoadFromFile(AnsiToWide(folder / "p1.jpg"));
  const AnsiString fileUri =
      PictureDataUri("jpg", {static_cast<const uint8_t*>(file.Memory()), static_cast<size_t>(file.Size())});
  for (const WideString prefix : {u"", u"img/p"}) {
    number = 1;
    EXPECT_EQ(Data.SavePictureFile(u"", prefix, *picture, number, false, clBlue), AnsiToWide(fileUri));
  }
  EXPECT_EQ(EntryCount(working.Path()), 0u);
  EXPECT_EQ(Data.SavePictureFile(u"", AnsiToWide(folder / "q"), *picture, number, false, clBlue),
            AnsiToWide(folder / "q1.jpg"));
  EXPECT_TRUE(std::filesystem::exists(folder / "q1.jpg"));
}

}  // namespace
