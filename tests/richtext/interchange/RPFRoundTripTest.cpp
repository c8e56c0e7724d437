// Documents written in the native format and read back, in the text and the binary
// forms: books of the converter's builder (note tables, title tables, pictures, links,
// checkpoints) and a generated document with every item kind, option and place; each
// read document is the one written and writes the same bytes again.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "convert/BuilderTestData.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/ImageList.h"
#include "richtext/interchange/RPFTestData.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPMarker.h"

namespace {

constexpr uint32_t Everything =
    rpfoSavePicturesBody | rpfoSaveTextStyles | rpfoSaveParaStyles | rpfoSaveDocProperties | rpfoLoadDocProperties;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Writes data, reads the bytes into a new control with its own style sheet, and checks
// the document read and its bytes. The document read is returned for more checks.
AnsiString CheckRoundTrip(TCustomRPData& data, uint32_t options, TRPFPane& target) {
  data.SetRPFOptions(options);
  TStringStream written;
  EXPECT_TRUE(data.SaveRPFToStream(written, rpfsmDocument, nullptr, nullptr, clNone));
  target.Pane.RPFOptions = options;
  EXPECT_TRUE(target.Load(written.DataString()));
  EXPECT_EQ(Dump(target.Data()), Dump(data));
  EXPECT_EQ(DocumentFault(target.Data()), "");
  EXPECT_EQ(target.Save(), written.DataString());
  return written.DataString();
}

class RPFRoundTrip : public testing::TestWithParam<uint32_t> {};

TEST_P(RPFRoundTrip, BooksOfTheBuilder) {
  for (const std::string path :
       {QF_TEST_DATA_DIR "/convert/book.fb2", QF_TEST_DATA_DIR "/convert/builder/small_book.fb2"}) {
    SCOPED_TRACE(path);
    TBuilderFixture book;
    book.Build(ReadFile(path));
    TCustomRPData& data = book.Main();
    ASSERT_GT(data.GetItemCount(), 10);
    int32_t tables = 0, pictures = 0;
    for (int32_t i = 0; i < data.GetItemCount(); ++i) {
      tables += dynamic_cast<TRPTableItemInfo*>(data.GetItem(i)) ? 1 : 0;
      pictures += dynamic_cast<TRPGraphicItemInfo*>(data.GetItem(i)) ? 1 : 0;
    }
    EXPECT_GT(tables, 0);
    EXPECT_GT(pictures, 0);
    TRPFPane target;
    const AnsiString bytes = CheckRoundTrip(data, Everything | GetParam(), target);
    // The style sheet came with the document.
    EXPECT_EQ(target.Style.TextStyles().Count(), book.Style.TextStyles().Count());
    EXPECT_EQ(target.Style.ParaStyles().Count(), book.Style.ParaStyles().Count());
    for (int32_t i = 0; i < book.Style.TextStyles().Count(); ++i)
      EXPECT_TRUE(target.Style.TextStyles()[i]->IsEqual(*book.Style.TextStyles()[i], {}));
    // Pictures read are pictures of the same size.
    for (int32_t i = 0; i < data.GetItemCount(); ++i)
      if (const auto* picture = dynamic_cast<TRPGraphicItemInfo*>(data.GetItem(i))) {
        const auto& read = dynamic_cast<TRPGraphicItemInfo&>(*target.Data().GetItem(i));
        EXPECT_EQ(read.GetImageWidth(nullptr), picture->GetImageWidth(nullptr));
        EXPECT_EQ(read.GetImageHeight(nullptr), picture->GetImageHeight(nullptr));
      }
  }
}

std::unique_ptr<TBitmap> Tile(int32_t width, int32_t height) {
  auto tile = std::make_unique<TBitmap>();
  tile->SetPixelFormat(pf24bit);
  tile->SetSize(width, height);
  return tile;
}

// Every item kind in every place: text of both forms with tags and hints, continued lines,
// line and page breaks, breaks, tabs, pictures (plain and hot), bullets and hotspots of an
// image list, list markers of a list style with text, image-list and Unicode levels,
// checkpoints before items and after the last, a table with a nested table.
void FillEveryKind(TRPFPane& pane, TCustomImageList& images) {
  TRPStyle& style = pane.Style;
  style.TextStyles()[2]->Unicode = true;
  TFontInfo& extra = *style.TextStyles().Add();
  extra.StyleName = "Extra";
  extra.Charset = 204;
  extra.Size = 13;
  extra.StyleTemplateId = 5;
  extra.ModifiedProperties = TRPFontInfoProperties{rpfiSize};
  TParaInfo& para = *style.ParaStyles().Add();
  para.StyleName = "Tabbed";
  para.Tabs.AddTab(100, rptaCenter, "-");
  para.StyleTemplateId = 6;
  pane.Pane.OnRPFImageListNeeded = [&images](TCustomRichPane*, int32_t tag) {
    return tag == images.Tag() ? &images : nullptr;
  };
  pane.Pane.DocProperties.Add("title=Every kind");
  TCustomRPData& data = pane.Data();
  data.AddCheckpoint("start", true, TRPTag::FromNumber(11));
  data.AddAnsiText("plain text", 0, TRPTag::FromNumber(1), 0);
  data.AddTextW(u"\u041f\u0440\u0438\u0432\u0435\u0442", 2, TRPTag(), -1);
  data.AddAnsiText("line\r\nbreak inside", 6, TRPTag(), 2);
  data.GetItem(data.GetItemCount() - 1)->Hint = "a \"hint\"";
  data.AddAnsiText("next line", 0, TRPTag(), 2);
  data.GetItem(data.GetItemCount() - 1)->SetLineBreakBefore(true);
  data.AddAnsiText("new page", 1, TRPTag(), 0);
  data.SetPageBreakBefore(data.GetItemCount() - 1, true);
  auto line = CreateItemByStyleNo(rpkindBreak, &data);
  line->ParaNo = 0;
  data.AddItem({}, std::move(line));
  auto tab = CreateItemByStyleNo(rpkindTab, &data);
  tab->ParaNo = 2;
  tab->SetAssociatedTextStyleNo(6);
  data.AddItem({}, std::move(tab));
  data.AddAnsiText("after the tab", 6, TRPTag(), -1);
  data.AddCheckpoint("at the picture", false, TRPTag());
  data.AddPicture("picture", Tile(5, 3), 0, rpvaAbsMiddle);
  data.GetItem(data.GetItemCount() - 1)->Hint = "picture hint";
  auto hot = std::make_unique<TRPHotGraphicItemInfo>(&data);
  hot->Image = Tile(2, 2);
  hot->ParaNo = -1;
  data.AddItem("hot", std::move(hot));
  auto bullet = std::make_unique<TRPBulletItemInfo>(&data);
  bullet->ImageList = &images;
  bullet->ImageIndex = 1;
  bullet->ParaNo = 1;
  data.AddItem("bullet", std::move(bullet));
  auto hotspot = std::make_unique<TRPHotspotItemInfo>(&data);
  hotspot->ImageList = &images;
  hotspot->HotImageIndex = 1;
  hotspot->ParaNo = -1;
  data.AddItem("hotspot", std::move(hotspot));
  auto table = std::make_unique<TRPTableItemInfo>(2, 2, &data);
  table->MergeCells(0, 0, 1, 2, false);
  table->GetCell(0, 0)->Clear();
  table->GetCell(0, 0)->AddTextW(u"\u0416", 2, TRPTag(), 0);
  TRPTableCellData& host = *table->GetCell(1, 1);
  host.Clear();
  host.AddCheckpoint("in a cell", false, TRPTag());
  host.AddAnsiText("nested:", 0, TRPTag(), 0);
  host.AddItem({}, std::make_unique<TRPTableItemInfo>(1, 2, &host));
  table->ParaNo = 1;
  data.AddItem({}, std::move(table));
  TRPListInfo& list = *style.ListStyles().Add();
  list.StyleName = "Outline";
  TRPListLevel& decimal = *list.Levels().Add();
  decimal.ListType = rplstDecimal;
  decimal.FormatString = "%0:s)";
  decimal.GetFont().SetName("Times New Roman");
  TRPListLevel& pictured = *list.Levels().Add();
  pictured.ListType = rplstImageListCounter;
  pictured.ImageList = &images;
  TRPListLevel& unicode = *list.Levels().Add();
  unicode.ListType = rplstUnicodeBullet;
  unicode.FormatStringW = u"\u2022";
  for (int32_t level = 0; level < 3; ++level) {
    auto marker = TRPMarkerItemInfo::CreateEx(&data, 0, level, 5, level == 1);
    marker->ParaNo = 0;
    data.AddItem({}, std::move(marker));
    data.AddAnsiText("list item " + std::to_string(level), 0, TRPTag(), -1);
  }
  for (int32_t i = 0; i < 3; ++i) data.AddAnsiText("folded " + std::to_string(i), 0, TRPTag(), 0);
  data.AddAnsiText("", 0, TRPTag(), 0);
  data.AddCheckpoint("end", true, TRPTag::FromNumber(2));
}

// A document of every kind with the image list its bullets, hotspots and list levels use.
struct TEveryKind {
  TEveryKind() {
    Images.AddMasked(*Tile(8, 4), clFuchsia);
    Images.SetTag(9);
    FillEveryKind(Source, Images);
  }
  TCustomImageList Images{nullptr, 4, 4};
  TRPFPane Source;
};

TEST_P(RPFRoundTrip, EveryItemKindAndPlace) {
  TEveryKind every;
  TRPFPane& source = every.Source;
  TRPFPane target;
  target.Pane.OnRPFImageListNeeded = source.Pane.OnRPFImageListNeeded;
  CheckRoundTrip(source.Data(), Everything | GetParam(), target);
  EXPECT_EQ(target.Pane.DocProperties.Strings(0), "title=Every kind");
  EXPECT_EQ(target.Data().GetCheckpointCount(), 3);
  // The styles' templates and list levels came with the style sheet.
  EXPECT_EQ(target.Style.TextStyles()[6]->StyleTemplateId, 5);
  EXPECT_TRUE((target.Style.TextStyles()[6]->ModifiedProperties == TRPFontInfoProperties{rpfiSize}));
  EXPECT_EQ(target.Style.ParaStyles()[2]->StyleTemplateId, 6);
  ASSERT_EQ(target.Style.ListStyles().Count(), 1);
  EXPECT_EQ(target.Style.ListStyles()[0]->Levels().Count(), 3);
  EXPECT_EQ(target.Style.ListStyles()[0]->Levels()[2]->FormatStringW, u"\u2022");
}

TEST_P(RPFRoundTrip, StringTagsAndStyleNames) {
  TRPFPane source;
  source.Data().SetOptions(source.Data().GetOptions() | rpoTagsArePChars);
  source.Data().AddAnsiText("tagged", 0, TRPTag::FromText("a \"t\""), 0);
  source.Data().AddAnsiText("empty tag", 1, TRPTag::FromText(""), 1);
  source.Data().AddCheckpoint("cp", false, TRPTag::FromText("cp tag"));
  source.Data().AddAnsiText("x", 0, TRPTag::FromText("0"), 0);
  TRPFPane target;
  target.Data().SetOptions(target.Data().GetOptions() | rpoTagsArePChars);
  CheckRoundTrip(source.Data(), Everything | rpfoUseStyleNames | GetParam(), target);
  EXPECT_EQ(target.Data().GetItem(0)->Tag.Text(), "a \"t\"");
  EXPECT_EQ(target.Data().GetItem(2)->Tag.Text(), "0");
}

// Every length of a stream of every item kind (each record cut in its header, its lines,
// its blocks and their lengths) is read or refused, by loading and by inserting into the
// middle of a document; a refused one leaves the document and its style sheet as they
// were, one read leaves a document that keeps the rules of documents.
TEST_P(RPFRoundTrip, EveryCutOfAStreamIsReadOrRefusedWithoutChangingTheDocument) {
  TEveryKind every;
  TRPFPane& source = every.Source;
  source.Data().SetRPFOptions(Everything | GetParam());
  TStringStream written;
  ASSERT_TRUE(source.Data().SaveRPFToStream(written, rpfsmDocument, nullptr, nullptr, clNone));
  const AnsiString bytes = written.DataString();
  int32_t refused = 0;
  for (size_t length = 0; length < bytes.size(); ++length) {
    SCOPED_TRACE(length);
    const AnsiString cut = bytes.substr(0, length);
    for (const bool load : {false, true}) {
      TRPFPane target(Everything | GetParam());
      target.Pane.OnRPFImageListNeeded = source.Pane.OnRPFImageListNeeded;
      target.Data().AddAnsiText("first", 0, TRPTag(), 0);
      target.Data().AddAnsiText("second", 1, TRPTag(), 1);
      const std::string before = Dump(target.Data());
      const int32_t textStyles = target.Style.TextStyles().Count();
      const int32_t paraStyles = target.Style.ParaStyles().Count();
      const int32_t listStyles = target.Style.ListStyles().Count();
      if (load ? target.Load(cut) : target.Insert(cut, 1)) {
        EXPECT_EQ(DocumentFault(target.Data()), "");
        continue;
      }
      ++refused;
      EXPECT_EQ(Dump(target.Data()), before);
      EXPECT_EQ(target.Style.TextStyles().Count(), textStyles);
      EXPECT_EQ(target.Style.ParaStyles().Count(), paraStyles);
      EXPECT_EQ(target.Style.ListStyles().Count(), listStyles);
    }
  }
  // Most cuts fall inside a record and are refused (two reads of each length).
  EXPECT_GT(refused, static_cast<int32_t>(bytes.size()));
}

INSTANTIATE_TEST_SUITE_P(Forms, RPFRoundTrip, testing::Values(0u, rpfoSaveBinary));

}  // namespace
