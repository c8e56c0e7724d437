// List markers in the native format: their list numbers through the map and the range
// check, the marker that ends a stream, the marker heading a copied paragraph, and the
// markers before a dragged selection with the continued list they give a fragment.
#include <gtest/gtest.h>

#include "richtext/interchange/RPFTestData.h"
#include "richtext/layout/print/RPPrintableRP.h"
#include "richtext/model/RPLayoutInfo.h"
#include "richtext/model/RPMarker.h"

namespace {

void AddDecimalList(TRPStyle& style) {
  TRPListInfo& list = *style.ListStyles().Add();
  list.StyleName = "Numbers";
  TRPListLevel& level = *list.Levels().Add();
  level.ListType = rplstDecimal;
  level.FormatString = "%0:s.";
  list.Levels().Add()->ListType = rplstLowerAlpha;
}

void AddMarker(TCustomRPData& data, int32_t listNo, int32_t level, const AnsiString& text) {
  auto marker = TRPMarkerItemInfo::CreateEx(&data, listNo, level, 1, false);
  marker->ParaNo = 0;
  data.AddItem({}, std::move(marker));
  data.AddAnsiText(text, 0, TRPTag(), -1);
}

TEST(RPFLists, AStreamEndingWithAMarkerGetsAnEmptyTextAfterIt) {
  TRPFPane pane;
  AddDecimalList(pane.Style);
  // A marker record: no lines, paragraph 1, the extra "list level start reset".
  ASSERT_TRUE(pane.Load("-8 1 3\r\n-11 0 1 0 0 0 0 0 1 0\r\n"));
  EXPECT_EQ(Dump(pane.Data()),
            "0 style -11 para 1 options 0 tag 0 text \n"
            "1 style 0 para 1 options 1 tag 0 text \n");
  EXPECT_EQ(DocumentFault(pane.Data()), "");
  // Inserted before a new paragraph alike; before a continued line not.
  pane.Data().Clear();
  pane.Data().AddAnsiText("a", 0, TRPTag(), 0);
  pane.Data().AddAnsiText("b", 0, TRPTag(), -1);
  ASSERT_TRUE(pane.Insert("-8 1 3\r\n-11 0 0 0 0 0 0 0 1 0\r\n", 0));
  EXPECT_EQ(pane.Data().GetItemCount(), 4);
}

TEST(RPFLists, AListNumberBeyondTheListStylesBecomesTheFirstListWithAWarning) {
  TRPFPane pane;
  AddDecimalList(pane.Style);
  ASSERT_TRUE(pane.Load("-8 1 3\r\n-11 0 0 0 0 0 7 0 1 0\r\n0 1 -1 1 0 0\r\nx\r\n"));
  EXPECT_EQ(pane.Data().GetRPFWarnings(), rpfwConvUnknownStyles);
  EXPECT_EQ(dynamic_cast<TRPMarkerItemInfo&>(*pane.Data().GetItem(0)).ListNo, 0);
  // Without list styles it has none.
  TRPFPane bare;
  ASSERT_TRUE(bare.Load("-8 1 3\r\n-11 0 0 0 0 0 7 0 1 0\r\n0 1 -1 1 0 0\r\nx\r\n"));
  EXPECT_EQ(dynamic_cast<TRPMarkerItemInfo&>(*bare.Data().GetItem(0)).ListNo, -1);
}

TEST(RPFLists, ACopyStartingInsideAListParagraphTakesItsMarkerFirst) {
  TRPFPane pane;
  AddDecimalList(pane.Style);
  AddMarker(pane.Data(), 0, 1, "item text");
  pane.Pane.Format();
  pane.Pane.SetSelectionBounds(1, 6, 1, 10);  // "text"
  EXPECT_EQ(pane.Save(rpfsmClipboard),
            "-8 1 3\r\n"
            "-11 0 0 0 0 0 0 1 1 0\r\n"  // the marker: list 0, level 1, start 1, no reset
            "0 1 -1 1 0 0\r\n"           // the text continues its paragraph
            "text\r\n");
}

TEST(RPFLists, ADraggedSelectionCarriesTheMarkersBeforeItAndItsCutParagraphsList) {
  TRPFPane pane(rpfoSaveLayout);
  AddDecimalList(pane.Style);
  AddMarker(pane.Data(), 0, 0, "first");
  AddMarker(pane.Data(), 0, 1, "second");
  AddMarker(pane.Data(), 0, 0, "third");
  pane.Pane.Format();
  pane.Pane.SetSelectionBounds(3, 3, 5, 4);  // "ond", the third paragraph
  TRPLayoutInfo layout;
  TStringStream stream;
  ASSERT_TRUE(pane.Data().SaveRPFToStream(stream, rpfsmDragDrop, &layout, nullptr, clNone));
  EXPECT_TRUE(layout.FirstParaCut);
  EXPECT_EQ(layout.FirstMarkerListNo, 0);
  EXPECT_EQ(layout.FirstMarkerLevel, 1);
  // The two markers before the selection: the block without its size, 8 + 2 x 17 bytes.
  const AnsiString bytes = stream.DataString();
  const size_t record = bytes.find("-9 2 0 0 0 0 6\r\n\r\n");
  ASSERT_NE(record, AnsiString::npos);
  EXPECT_EQ(bytes.find("\r\n", record + 18) - (record + 18), 2u * (8 + 2 * 17));

  // A report of the fragment keeps them and continues the cut paragraph's list.
  TRPStyle style(nullptr);
  AddDecimalList(style);
  TReportRichPane report(nullptr);
  report.SetStyle(&style);
  report.RPFOptions = rpfoLoadLayout;
  stream.SetPosition(0);
  ASSERT_TRUE(report.LoadRPFFromStream(stream));
  auto& data = dynamic_cast<TCustomMainPtblRPData&>(report.RPData());
  EXPECT_EQ(data.GetPrevMarkers().Count(), 2);
  int32_t listNo = -1, level = -1;
  EXPECT_TRUE(data.GetContinuedListMarker(listNo, level));
  EXPECT_EQ(listNo, 0);
  EXPECT_EQ(level, 1);
  EXPECT_EQ(data.GetPrevMarkers()[1]->Level, 1);
}

}  // namespace

namespace {

TEST(RPFLists, LoadingReplacesTheListStylesWithTheirIdentifiers) {
  TRPFPane source(SaveStyles);
  AddDecimalList(source.Style);
  AddMarker(source.Data(), 0, 0, "one");
  AddMarker(source.Data(), 0, 1, "one a");
  const AnsiString bytes = source.Save();
  EXPECT_NE(bytes.find("-9 2 0 0 0 0 4\r\n"), AnsiString::npos);
  TRPFPane target(SaveStyles);
  ASSERT_TRUE(target.Load(bytes));
  ASSERT_EQ(target.Style.ListStyles().Count(), 1);
  EXPECT_EQ(target.Style.ListStyles()[0]->GetListID(), source.Style.ListStyles()[0]->GetListID());
  EXPECT_EQ(target.Style.ListStyles()[0]->Levels().Count(), 2);
  EXPECT_EQ(target.Style.ListStyles()[0]->Levels()[0]->FormatString, "%0:s.");
  EXPECT_EQ(Dump(target.Data()), Dump(source.Data()));
  EXPECT_EQ(target.Save(), bytes);
  // Numbered with the styles read: "1." as the first level's pattern says.
  EXPECT_EQ(dynamic_cast<TRPMarkerItemInfo&>(*target.Data().GetItem(0)).DisplayString, "1.");
}

TEST(RPFLists, InsertingMergesTheListStylesAndMapsTheMarkersListNumbers) {
  TRPFPane source(SaveStyles);
  AddDecimalList(source.Style);
  AddMarker(source.Data(), 0, 0, "merged list");
  const AnsiString bytes = source.Save();
  TRPFPane target;
  TRPListInfo& bullets = *target.Style.ListStyles().Add();  // the document's own list 0
  bullets.StyleName = "Bullets";
  bullets.Levels().Add()->ListType = rplstBullet;
  target.Data().AddAnsiText("before", 0, TRPTag(), 0);
  ASSERT_TRUE(target.Insert(bytes, 1));
  ASSERT_EQ(target.Style.ListStyles().Count(), 2);
  EXPECT_EQ(target.Style.ListStyles()[1]->StyleName, "Numbers");
  EXPECT_EQ(dynamic_cast<TRPMarkerItemInfo&>(*target.Data().GetItem(1)).ListNo, 1);
  EXPECT_EQ(DocumentFault(target.Data()), "");
}

TEST(RPFLists, ALevelsImageListGoesByItsTagThroughTheHost) {
  TCustomImageList images(nullptr, 4, 4);
  images.SetTag(33);
  TRPFPane source(SaveStyles);
  TRPListInfo& list = *source.Style.ListStyles().Add();
  TRPListLevel& level = *list.Levels().Add();
  level.ListType = rplstImageList;
  level.ImageList = &images;
  const auto host = [&images](TCustomRichPane*, int32_t tag) { return tag == images.Tag() ? &images : nullptr; };
  source.Pane.OnRPFImageListNeeded = host;
  AddMarker(source.Data(), 0, 0, "pictured");
  const AnsiString bytes = source.Save();
  TRPFPane target(SaveStyles);
  target.Pane.OnRPFImageListNeeded = host;
  ASSERT_TRUE(target.Load(bytes));
  EXPECT_EQ(target.Style.ListStyles()[0]->Levels()[0]->ImageList, &images);
  EXPECT_EQ(source.Style.ListStyles().ImageLists, nullptr);  // only while writing
}

}  // namespace
