// The item base: option bits, properties and their native-format lines, live-spelling
// marks, and the registry that creates items by style number.
#include <gtest/gtest.h>

#include "RPPictureTestData.h"
#include "RPTestItems.h"
#include "platform/base/Streams.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPItemInfo.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPTextItems.h"

namespace {

AnsiString Written(const TCustomRPItemInfo& item) {
  TMemoryStream stream;
  item.SaveRPFProperties(stream);
  return AnsiString(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

TEST(RPItemOptionsTest, SettersKeepTheLineBitsExclusive) {
  TFakeTextItem item(nullptr);
  item.ItemOptions = rpioUnicode | rpioPageBreakBefore;
  item.SetContinuesLine(true);
  EXPECT_EQ(item.ItemOptions, rpioUnicode | rpioContinuesLine);
  item.SetLineBreakBefore(true);
  EXPECT_EQ(item.ItemOptions, rpioUnicode | rpioLineBreakBefore);
  EXPECT_FALSE(item.StartsParagraph());
  item.SetPageBreakBefore(true);
  EXPECT_EQ(item.ItemOptions, rpioUnicode | rpioPageBreakBefore);
  EXPECT_TRUE(item.StartsParagraph());
  item.SetPageBreakBefore(false);
  item.SetContinuesLine(false);
  EXPECT_EQ(item.ItemOptions, rpioUnicode);
  EXPECT_TRUE(item.IsUnicode());
}

TEST(RPItemOptionsTest, WholeLineItemNeverGetsALineBreak) {
  TFakeBreakItem item(nullptr);
  item.SetLineBreakBefore(true);
  EXPECT_EQ(item.ItemOptions, 0);
  EXPECT_TRUE(item.GetBoolValue(rpibqWholeLine));
}

TEST(RPItemOptionsTest, ContinuesLineInOptions) {
  EXPECT_EQ(SetContinuesLineInOptions(rpioPageBreakBefore | rpioUnicode, true), rpioContinuesLine | rpioUnicode);
  EXPECT_EQ(SetContinuesLineInOptions(rpioLineBreakBefore, false), rpioLineBreakBefore);
}

TEST(RPItemQueriesTest, BaseAnswers) {
  TFakeTextItem item(nullptr);
  const std::pair<TRPItemBoolQuery, bool> queries[] = {
      {rpibqWholeLine, false},       {rpibqHasContent, true},        {rpibqRPFBody, true},
      {rpibqSelectAsObject, false},  {rpibqResizable, false},        {rpibqLive, false},
      {TRPItemBoolQuery(12), false}, {rpibqSwitchesTextStyle, true}, {TRPItemBoolQuery(20), true}};
  for (auto [query, expected] : queries) EXPECT_EQ(item.GetBoolValue(query), expected) << query;
  EXPECT_TRUE(item.GetBoolValueEx(rpibqxPrintAsBitmap, nullptr));
  EXPECT_FALSE(item.GetBoolValueEx(rpibqxJump, nullptr));
  EXPECT_FALSE(item.GetBoolValueEx(rpibqxSizeForWidth, nullptr));
  EXPECT_EQ(item.GetAssociatedTextStyleNo(), -1);
  EXPECT_EQ(item.CachedIndex, -1);
  EXPECT_EQ(item.GetSplitPoint(17), 17);
  EXPECT_EQ(item.GetMinWidth(nullptr, nullptr, nullptr), 20);
  const TRPResolution printer{96, 96, 600, 600};
  EXPECT_EQ(item.GetMinWidth(&printer, nullptr, nullptr), 125);
}

TEST(RPItemQueriesTest, ResolveStyleNo) {
  TFakeStyleSheet sheet;
  sheet.ParaDefStyles = {-1, 3};
  TFakeTextItem item(nullptr);
  item.StyleNo = rpDefaultTextStyle;
  item.ParaNo = 1;
  EXPECT_EQ(item.ResolveStyleNo(&sheet), 3);
  item.ParaNo = 0;
  EXPECT_EQ(item.ResolveStyleNo(&sheet), 0);  // negative default
  EXPECT_EQ(item.ResolveStyleNo(nullptr), 0);
  item.StyleNo = 5;
  EXPECT_EQ(item.ResolveStyleNo(&sheet), 5);
}

TEST(RPItemPropertiesTest, RectItemProperties) {
  TFakeRectItem item(nullptr);
  EXPECT_EQ(item.Spacing, 1);
  EXPECT_EQ(item.GetBorderWidth(), 1);
  item.ReadRPFPropertyLine("spacing=-3");
  EXPECT_EQ(item.Spacing, 0);
  item.ReadRPFPropertyLine("vshift=12");
  item.ReadRPFPropertyLine("vshiftabs=1");
  item.ReadRPFPropertyLine("unremovable=x");  // no number: 0
  item.ReadRPFPropertyLine("hint=a=b");
  item.ReadRPFPropertyLine("spacing 5");  // no "=": ignored
  EXPECT_EQ(item.VShift, 12);
  EXPECT_TRUE(item.VShiftAbs);
  EXPECT_FALSE(item.Unremovable);
  EXPECT_EQ(item.Hint, "a=b");
  EXPECT_EQ(item.Spacing, 0);
  int32_t value = 0;
  EXPECT_TRUE(item.GetIntProperty(rpipVShift, value));
  EXPECT_EQ(value, 12);
  EXPECT_FALSE(item.GetIntProperty(rpipWidth, value));
  EXPECT_FALSE(item.SetIntProperty(rpipVisible, 1));
  EXPECT_EQ(item.GetRPFPropertyCount(), 4);
  EXPECT_EQ(Written(item), "hint=a=b\r\nvshift=12\r\nvshiftabs=1\r\nspacing=0\r\n");
  AnsiString extra;
  item.VAlign = rpvaAbsMiddle;
  item.GetRPFHeaderExtra(nullptr, extra);
  EXPECT_EQ(extra, "4");
}

TEST(RPItemPropertiesTest, RectHeaderExtra) {
  struct Case {
    AnsiStringView Rest;
    bool Ok;
    TRPVAlign VAlign;
    size_t Left;  // characters left in the rest
  };
  const Case cases[] = {{"", true, rpvaBaseline, 0},
                        {"\r\n", true, rpvaBaseline, 2},
                        {" 3\r\n", true, rpvaAbsBottom, 2},
                        {"1", true, rpvaMiddle, 0},
                        {"x", false, rpvaAbsMiddle, 1},
                        {" -", false, rpvaAbsMiddle, 2},
                        {"99999999999", false, rpvaAbsMiddle, 11}};
  TFakeRPFStreaming reader;
  for (const Case& c : cases) {
    TFakeRectItem item(nullptr);
    item.VAlign = rpvaAbsMiddle;
    AnsiStringView rest = c.Rest;
    EXPECT_EQ(item.ReadRPFHeaderExtra(rest, reader), c.Ok) << c.Rest;
    EXPECT_EQ(item.VAlign, c.VAlign) << c.Rest;
    EXPECT_EQ(rest.size(), c.Left) << c.Rest;
  }
  TFakeTextItem text(nullptr);
  AnsiStringView rest = "anything";
  EXPECT_TRUE(text.ReadRPFHeaderExtra(rest, reader));
}

TEST(RPItemPropertiesTest, HtmlAlignAndVShift) {
  EXPECT_EQ(GetHTMLAlign(rpvaBaseline, rphtmlQuotedAttributes), "");
  EXPECT_EQ(GetHTMLAlign(rpvaMiddle, 0), " align=middle");
  EXPECT_EQ(GetHTMLAlign(rpvaAbsTop, rphtmlQuotedAttributes), " align=\"abstop\"");
  EXPECT_EQ(GetHTMLAlign(rpvaAbsBottom, 0), " align=absbottom");
  EXPECT_EQ(GetHTMLAlign(rpvaAbsMiddle, 0), " align=absmiddle");
  EXPECT_EQ(GetHTMLAlign(static_cast<TRPVAlign>(9), 0), "");

  // An item 30 pixels high.
  class TTallItem : public TFakeRectItem {
  public:
    using TFakeRectItem::TFakeRectItem;
    int32_t GetImageHeight(const IRPStyleSheet*) const override { return 30; }
  };
  TTallItem item(nullptr);
  EXPECT_EQ(item.GetVShiftCSS(nullptr), "");
  item.VShift = 50;
  EXPECT_EQ(item.GetVShiftCSS(nullptr), "vertical-align : 15");
  item.VShift = -5;
  EXPECT_EQ(item.GetVShiftCSS(nullptr), "vertical-align : -2");  // -1.5 rounds away from zero
  item.VShiftAbs = true;
  EXPECT_EQ(item.GetVShiftCSS(nullptr), "vertical-align : -5");
  item.VAlign = rpvaMiddle;
  EXPECT_EQ(item.GetVShiftCSS(nullptr), "");
  TFakeRectItem flat(nullptr);
  flat.VShift = 10;
  EXPECT_EQ(flat.GetVShiftCSS(nullptr), "");  // no height
}

TEST(RPItemPropertiesTest, DefaultsWriteNothing) {
  TFakeRectItem item(nullptr);
  EXPECT_EQ(item.GetRPFPropertyCount(), 0);
  EXPECT_EQ(Written(item), "");
  item.Unremovable = true;
  EXPECT_EQ(Written(item), "unremovable=1\r\n");
}

// Records a property line that no name matched.
class TCustomPropertyItem : public TFakeTextItem {
public:
  using TFakeTextItem::TFakeTextItem;
  AnsiString Name, Value;
  bool SetCustomProperty(const AnsiString& name, const AnsiString& value) override {
    Name = name;
    Value = value;
    return true;
  }
};

TEST(RPItemPropertiesTest, UnknownNameReachesCustomProperty) {
  TCustomPropertyItem item(nullptr);
  item.ReadRPFPropertyLine("Spacing=4");  // names are case-sensitive
  EXPECT_EQ(item.Name, "Spacing");
  EXPECT_EQ(item.Value, "4");
}

TEST(RPItemPropertiesTest, NamesAndCodes) {
  EXPECT_EQ(RPIntPropertyName(8), "minheightonpage");
  EXPECT_EQ(RPIntPropertyName(14), "visible");
  EXPECT_EQ(RPIntPropertyName(15), "");
  EXPECT_EQ(RPIntPropertyCode("ainterval"), 13);
  EXPECT_EQ(RPIntPropertyCode("hint"), 0);
  EXPECT_EQ(RPStrPropertyCode("filename"), 3);
  EXPECT_EQ(RPStrPropertyName(2), "alt");
}

TEST(RPItemCopyTest, CopyKeepsClassPropertiesCheckpointAndTag) {
  TFakeRectItem source(nullptr);
  source.StyleNo = rpkindControl;
  source.ParaNo = 4;
  source.ItemOptions = rpioLineBreakBefore;
  source.Hint = "h";
  source.Spacing = 6;
  source.Unremovable = true;
  source.Tag = TRPTag::FromText("tag");
  source.Checkpoint = std::make_unique<TRPCPInfo>();
  source.Checkpoint->Name = "cp";
  source.Checkpoint->Persistent = true;
  std::unique_ptr<TCustomRPItemInfo> copy = CreateItemCopy(source, nullptr, true);
  auto* rect = dynamic_cast<TFakeRectItem*>(copy.get());
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->StyleNo, rpkindControl);
  EXPECT_EQ(rect->ParaNo, 4);
  EXPECT_EQ(rect->ItemOptions, rpioLineBreakBefore);
  EXPECT_EQ(rect->Spacing, 6);
  EXPECT_TRUE(rect->Unremovable);
  EXPECT_EQ(rect->Tag, TRPTag::FromText("tag"));
  ASSERT_NE(rect->Checkpoint, nullptr);
  EXPECT_NE(rect->Checkpoint.get(), source.Checkpoint.get());
  EXPECT_EQ(rect->Checkpoint->Name, "cp");
  EXPECT_TRUE(rect->Checkpoint->Persistent);
  EXPECT_EQ(rect->Checkpoint->ItemInfo, rect);
  EXPECT_EQ(CreateItemCopy(source, nullptr, false)->Checkpoint, nullptr);
}

TEST(RPItemRegistryTest, RegisterAndCreate) {
  RegisterItemClass(-60, &TFakeBreakItem::ClassInfo);
  RegisterItemClass(-60, &TFakeBreakItem::ClassInfo);  // the same class again: nothing
  for (int32_t styleNo : {-60, -9, -5, 0}) {
    try {
      RegisterItemClass(styleNo, &TFakeRectItem::ClassInfo);
      FAIL() << styleNo;
    } catch (const ERichPaneError& e) {
      EXPECT_STREQ(e.what(), "Can't register RichPane item type - this StyleNo is already registered");
    }
  }
  std::unique_ptr<TCustomRPItemInfo> table = CreateItemByStyleNo(-60, nullptr);
  ASSERT_NE(dynamic_cast<TFakeBreakItem*>(table.get()), nullptr);
  EXPECT_EQ(table->StyleNo, -60);
  EXPECT_EQ(CreateItemByStyleNo(-61, nullptr), nullptr);
  EXPECT_EQ(CreateItemByStyleNo(-2, nullptr), nullptr);
}

// The model's start-up installs the classes of the built-in kinds and of text; a
// program may put others in their places.
TEST(RPItemRegistryTest, BuiltInKindsAndTextComeFromTheStartUp) {
  EXPECT_EQ(GetTextItemClass(), &TRPTextItemInfo::ClassInfo);
  const std::pair<int32_t, TRPItemClass> builtIn[] = {
      {rpkindBreak, &TRPBreakItemInfo::ClassInfo},       {rpkindTab, &TRPTabItemInfo::ClassInfo},
      {rpkindPicture, &TRPGraphicItemInfo::ClassInfo},   {rpkindHotPicture, &TRPHotGraphicItemInfo::ClassInfo},
      {rpkindBullet, &TRPBulletItemInfo::ClassInfo},     {rpkindHotspot, &TRPHotspotItemInfo::ClassInfo},
      {rpkindListMarker, &TRPMarkerItemInfo::ClassInfo}, {rpkindControl, nullptr},  // the screen's
  };
  for (const auto& [styleNo, itemClass] : builtIn) {
    SCOPED_TRACE(styleNo);
    EXPECT_EQ(GetBuiltInItemClass(styleNo), itemClass);
  }
  EXPECT_EQ(GetBuiltInItemClass(-2), nullptr);  // no kind
  {
    TFakeItemClasses classes;
    std::unique_ptr<TCustomRPItemInfo> text = CreateItemByStyleNo(3, nullptr);
    ASSERT_NE(dynamic_cast<TFakeTextItem*>(text.get()), nullptr);
    EXPECT_EQ(text->StyleNo, 3);
    std::unique_ptr<TCustomRPItemInfo> tab = CreateItemByStyleNo(rpkindTab, nullptr);
    ASSERT_NE(dynamic_cast<TFakeTabItem*>(tab.get()), nullptr);
    EXPECT_EQ(tab->StyleNo, rpkindTab);
  }
  EXPECT_NE(dynamic_cast<TRPTextItemInfo*>(CreateItemByStyleNo(3, nullptr).get()), nullptr);
  EXPECT_NE(dynamic_cast<TRPTabItemInfo*>(CreateItemByStyleNo(rpkindTab, nullptr).get()), nullptr);
  EXPECT_THROW(SetBuiltInItemClass(-2, &TFakeRectItem::ClassInfo), ERichPaneError);
}

// --- Live-spelling marks ---------------------------------------------------------------

class TOtherPainter : public TRPWordPainter {
public:
  using TRPWordPainter::TRPWordPainter;
};

std::vector<std::pair<int32_t, int32_t>> Painters(const TCustomRPItemInfo& item) {
  std::vector<std::pair<int32_t, int32_t>> out;
  if (item.WordPainters)
    for (int32_t i = 0; i < item.WordPainters->Count(); ++i)
      out.emplace_back(item.WordPainters->Items(i)->StartOffs, item.WordPainters->Items(i)->Length);
  return out;
}

TEST(RPWordPaintersTest, RemoveAndReset) {
  TFakeTextItem item(nullptr);
  item.AddMisspelling(1, 3);
  item.WordPainters->Add(std::make_unique<TOtherPainter>(5, 2));
  item.AddMisspelling(9, 4);
  item.ItemState = rpisSpellChecked;
  item.RemoveMisspellings();
  EXPECT_EQ(item.ItemState, 0);
  EXPECT_EQ(Painters(item), (std::vector<std::pair<int32_t, int32_t>>{{5, 2}}));
  item.ResetSpellCheck(1);  // every painter, other kinds too
  EXPECT_EQ(item.WordPainters, nullptr);
  item.AddMisspelling(1, 3);
  item.AddMisspelling(6, 2);
  item.ResetSpellCheck(5);  // painters ending beyond 5 go
  EXPECT_EQ(Painters(item), (std::vector<std::pair<int32_t, int32_t>>{{1, 3}}));
  item.ResetSpellCheck(3);
  EXPECT_EQ(item.WordPainters, nullptr);
}

TEST(RPWordPaintersTest, AdjustForInsertAndDelete) {
  TTestRPData data;
  data.Delimiters = " ,";
  TFakeTextItem item(nullptr);
  item.AddMisspelling(3, 4);   // characters 3..6
  item.AddMisspelling(10, 2);  // 10..11
  // A letter typed at 8 moves the later word right.
  EXPECT_FALSE(item.AdjustWordPaintersForInsert(8, u'x', &data));
  EXPECT_EQ(Painters(item), (std::vector<std::pair<int32_t, int32_t>>{{3, 4}, {11, 2}}));
  // A letter typed at 7 (right after the first word) touches it.
  EXPECT_TRUE(item.AdjustWordPaintersForInsert(7, u'x', &data));
  EXPECT_EQ(Painters(item), (std::vector<std::pair<int32_t, int32_t>>{{12, 2}}));
  // A delimiter always reports a touch.
  EXPECT_TRUE(item.AdjustWordPaintersForInsert(1, u',', &data));
  EXPECT_EQ(Painters(item), (std::vector<std::pair<int32_t, int32_t>>{{13, 2}}));
  EXPECT_FALSE(item.AdjustWordPaintersForDelete(2, 3));
  EXPECT_EQ(Painters(item), (std::vector<std::pair<int32_t, int32_t>>{{10, 2}}));
  EXPECT_TRUE(item.AdjustWordPaintersForDelete(9, 1));
  EXPECT_EQ(item.WordPainters, nullptr);
}

TEST(RPWordPaintersTest, FindAndTest) {
  TFakeTextItem item(nullptr);
  int32_t start = 0, length = 0;
  EXPECT_FALSE(item.FindWordPainterAt(1, start, length));
  item.AddMisspelling(3, 4);
  EXPECT_TRUE(item.FindWordPainterAt(7, start, length));  // the end counts
  EXPECT_EQ(start, 3);
  EXPECT_EQ(length, 4);
  EXPECT_FALSE(item.FindWordPainterAt(8, start, length));
  EXPECT_TRUE(item.IsInPaintedWord(6));
  EXPECT_FALSE(item.IsInPaintedWord(7));
  EXPECT_FALSE(item.IsInPaintedWord(2));
}

}  // namespace
